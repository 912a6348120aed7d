// The executable directory, the current directory, access checks and file status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/exedir.h"
#include "platform/fsys.h"
#include "testsupport.h"

namespace kvr::os {
namespace {

namespace fs = std::filesystem;

TEST(ExecutableDirectory, IsTheDirectoryOfThisProgramWithItsSlash) {
  std::string dir = executableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(fs::path(dir), fs::read_symlink("/proc/self/exe").parent_path() / "");
}

TEST(ExecutableDirectory, OverrideIsAnsweredAsGivenUntilCleared) {
  std::string real = executableDirectory();
  setExecutableDirectoryOverride("/opt/kvr/bin/");
  EXPECT_EQ(executableDirectory(), "/opt/kvr/bin/");
  setExecutableDirectoryOverride("");
  EXPECT_EQ(executableDirectory(), "");
  setExecutableDirectoryOverride(std::nullopt);
  EXPECT_EQ(executableDirectory(), real);
}

TEST(CurrentDirectory, FollowsChangeAndRefusesMissingDirectory) {
  test::TempDir tmp;
  fs::create_directory("sub");
  ASSERT_TRUE(changeDirectory("sub"));
  std::string dir;
  ASSERT_TRUE(currentDirectory(dir));
  EXPECT_EQ(fs::path(dir), fs::canonical(tmp.path() / "sub"));
  EXPECT_FALSE(changeDirectory("no-such-dir"));
  std::string after;
  ASSERT_TRUE(currentDirectory(after));
  EXPECT_EQ(after, dir);
}

TEST(CurrentDirectory, LongerThan255CharactersCannotBeRead) {
  test::TempDir tmp;
  std::string name(100, 'd');
  fs::path deep = tmp.path();
  while (deep.string().size() <= kMaxCwd) deep /= name;
  fs::create_directories(deep);
  ASSERT_TRUE(changeDirectory(deep.string()));
  std::string dir = "unchanged";
  EXPECT_FALSE(currentDirectory(dir));
  EXPECT_EQ(dir, "unchanged");
}

TEST(CanAccess, ExistingReadableWritableAndMissing) {
  test::TempDir tmp;
  test::writeFile("f.dat", "x");
  EXPECT_TRUE(canAccess("f.dat", AccessWant::Exists));
  EXPECT_TRUE(canAccess("f.dat", AccessWant::Read));
  EXPECT_TRUE(canAccess("f.dat", AccessWant::Write));
  EXPECT_FALSE(canAccess("missing.dat", AccessWant::Exists));
  EXPECT_FALSE(canAccess("missing.dat", AccessWant::Read));
  EXPECT_FALSE(canAccess("missing.dat", AccessWant::Write));
}

TEST(CanAccess, ReadOnlyFileRefusesWriting) {
  if (geteuid() == 0) GTEST_SKIP() << "access is never denied to root";
  test::TempDir tmp;
  test::writeFile("ro.dat", "x");
  ASSERT_EQ(chmod("ro.dat", 0444), 0);
  EXPECT_TRUE(canAccess("ro.dat", AccessWant::Read));
  EXPECT_FALSE(canAccess("ro.dat", AccessWant::Write));
}

TEST(FileStatus, SizeKindAndMissing) {
  test::TempDir tmp;
  test::writeFile("f.dat", "12345");
  fs::create_directory("d");
  FileStatus st;
  ASSERT_TRUE(fileStatus("f.dat", st));
  EXPECT_EQ(st.size, 5);
  EXPECT_TRUE(st.isRegular);
  EXPECT_FALSE(st.isDirectory);
  EXPECT_GT(st.modified, 0);
  ASSERT_TRUE(fileStatus("d", st));
  EXPECT_TRUE(st.isDirectory);
  EXPECT_FALSE(fileStatus("missing", st));
}

}  // namespace
}  // namespace kvr::os
