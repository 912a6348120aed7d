#include "runtime/genopen.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "platform/unitio.h"
#include "testsupport.h"

namespace kvr {
namespace {

using kvr::test::TempDir;
using kvr::test::writeFile;

constexpr int32_t kFormatted = 1;
constexpr int32_t kUnformatted = 2;
constexpr int32_t kDirect = 3;

int32_t open(const std::string& name, int32_t unit, int32_t form, int32_t mode, int32_t recl = 0) {
  FixedText text(128, name);
  int32_t status = 12345;
  TLFOPN(text, 128, 0, 0, unit, form, mode, recl, status);
  return status;
}

std::vector<std::string> splitLines(const std::string& s) {
  std::vector<std::string> lines;
  std::istringstream in(s);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class GenericOpen : public ::testing::Test {
 protected:
  void TearDown() override {
    io::closeAllUnits();
    ioDebugWord().assign("OFF");
    setAccessCheck(nullptr);
  }
  TempDir dir;
};

TEST_F(GenericOpen, StatusesOfTheModes) {
  writeFile("old.txt", "x\n");
  EXPECT_EQ(open("missing.txt", 20, kFormatted, 2), 1);
  EXPECT_FALSE(io::unitIsOpen(20));
  EXPECT_FALSE(std::filesystem::exists("missing.txt"));
  EXPECT_EQ(open("missing.txt", 20, kFormatted, 3), 1);
  EXPECT_EQ(open("missing.txt", 20, kFormatted, -4), 1);
  EXPECT_EQ(open("", 20, kFormatted, 1), -999);
  EXPECT_EQ(open("old.txt", 20, kFormatted, 1), io::kIosFileExists);
  EXPECT_EQ(open("old.txt", 20, kFormatted, 2), 0);
  EXPECT_EQ(open("new.txt", 21, kFormatted, 6), 0);
  EXPECT_TRUE(std::filesystem::exists("new.txt"));
}

TEST_F(GenericOpen, ScratchOpenWithBlankNameLiesUnderTmpdirAndIsRemoved) {
  setenv("TMPDIR", dir.path().c_str(), 1);
  EXPECT_EQ(open("", 22, kUnformatted, 5), 0);
  unsetenv("TMPDIR");
  std::string name = io::unitFileName(22);
  EXPECT_EQ(std::filesystem::path(name).parent_path(), dir.path());
  io::unitClose(22);
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(GenericOpen, DeniedAccessLeavesTheUnitOpen) {
  writeFile("old.txt", "x\n");
  setAccessCheck([](std::string_view, int32_t) { return -1; });
  EXPECT_EQ(open("old.txt", 23, kFormatted, 2), -1);
  EXPECT_TRUE(io::unitIsOpen(23));
  EXPECT_EQ(open("", 24, kFormatted, 5), 0);  // no access check for scratch
}

TEST_F(GenericOpen, ReadAccessIsCheckedForReadModeAndWriteAccessOtherwise) {
  writeFile("old.txt", "x\n");
  static int32_t asked = 0;
  setAccessCheck([](std::string_view, int32_t want) {
    asked = want;
    return 0;
  });
  EXPECT_EQ(open("old.txt", 23, kFormatted, 4), 0);
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(open("old.txt", 23, kFormatted, 0), 0);
  EXPECT_EQ(asked, 2);
}

TEST_F(GenericOpen, OpenOfAWriteProtectedFileAnswersNine) {
  if (geteuid() == 0) GTEST_SKIP() << "root is never denied";
  writeFile("ro.txt", "x\n");
  chmod("ro.txt", 0444);
  EXPECT_EQ(open("ro.txt", 20, kFormatted, 2), io::kIosPermission);
}

TEST_F(GenericOpen, DirectAccessWithoutRecordLengthUses64Words) {
  EXPECT_EQ(open("d.dat", 25, kDirect, 0, 0), 0);
  EXPECT_EQ(io::unitRecl(25), 64);
  // Form 5 opens unformatted sequential.
  EXPECT_EQ(open("s.dat", 26, 5, 0), 0);
  EXPECT_EQ(io::writeUnformatted(26, std::vector<int32_t>{1}), io::kIosOk);
}

TEST_F(GenericOpen, FullDescriptionOfASharedDirectOpen) {
  writeFile("a.dat", "");
  ioDebugWord().assign("TFM");
  testing::internal::CaptureStdout();
  EXPECT_EQ(open("a.dat", 41, kDirect, -2, 0), 0);
  const std::vector<std::string> expected = {
      " Record length 0 detected",
      std::string(26, ' '),
      " TLFOPN:BINARY RANDOM ACCESS",
      " TLFOPN:CHANNEL  -       41",
      " TLFOPN:FILENAME - a.dat",
      " TLFOPN:ACCESS   - DIRECT",
      " TLFOPN:ACTION   - READWRITE",
      " TLFOPN:FORM     - UNFORMATTED",
      " TLFOPN:POSITION - REWIND",
      " TLFOPN:RECL     -       64",
      " TLFOPN:STATUS   - OLD",
      "Shared OPEN requested",
  };
  EXPECT_EQ(splitLines(testing::internal::GetCapturedStdout()), expected);
  EXPECT_TRUE(io::unitIsShared(41));
}

TEST_F(GenericOpen, AnnouncementAndFormLinesOfTheDescription) {
  ioDebugWord().assign("ON ");
  testing::internal::CaptureStdout();
  open("b.txt", 20, kFormatted, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "    Trying to open file: b.txt\n");

  ioDebugWord().assign("TFM");
  const struct {
    int32_t form;
    const char* line;
  } cases[] = {{1, " TLFOPN:TEXT SEQUENTIAL   "},
               {2, " TLFOPN:BINARY SEQUENTIAL "},
               {5, " TLFOPN:BINARY RANDOM ACCESS"}};
  for (const auto& c : cases) {
    testing::internal::CaptureStdout();
    open("c.bin", 21, c.form, 0, 10);
    auto lines = splitLines(testing::internal::GetCapturedStdout());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], c.line) << "form " << c.form;
    EXPECT_EQ(lines.back(), " TLFOPN:STATUS   - UNKNOWN");
    io::unitClose(21);
  }
}

TEST_F(GenericOpen, FreeUnitSearchStartsAt40) {
  FixedText name(20, "f1.txt");
  int32_t status = 0;
  EXPECT_EQ(OPNFRE(name, kFormatted, 0, 0, status, 6), 40);
  EXPECT_EQ(OPNFRE(name, kFormatted, 0, 0, status, 6), 41);
  io::unitClose(40);
  EXPECT_EQ(OPNFRE(name, kFormatted, 0, 0, status, 6), 40);
  EXPECT_EQ(OPNFRE(name, kFormatted, 2, 0, status, 2), -2);  // "f1" does not exist
  EXPECT_EQ(status, 1);

  for (int32_t unit = 42; unit <= 99; ++unit) ASSERT_EQ(open("", unit, kUnformatted, 5), 0);
  status = 77;
  EXPECT_EQ(OPNFRE(name, kFormatted, 0, 0, status, 6), -1);
  EXPECT_EQ(status, 77);
}

TEST_F(GenericOpen, ExistenceAndDeletion) {
  writeFile("here.dat", "x");
  FixedText here(40, "here.dat");
  int32_t result = -5;
  FEXIST(here, 8, 0, 0, result);
  EXPECT_EQ(result, 1);
  FEXIST(here, 4, 0, 0, result);  // "here"
  EXPECT_EQ(result, 0);

  int32_t status = -5;
  FDELET(here, 40, 0, 0, 30, kFormatted, 0, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(std::filesystem::exists("here.dat"));
  EXPECT_FALSE(io::unitIsOpen(30));

  FDELET(here, 40, 0, 0, 30, kFormatted, 2, 0, status);
  EXPECT_EQ(status, 1);
}

TEST_F(GenericOpen, DeletionUsesTheWholeName) {
  // A name longer than 128 characters whose first 128 name an existing file: that file
  // must survive, and the long name itself is deleted.
  std::string head(128, 'a');
  std::string full = head + "b";
  writeFile(head, "keep");
  writeFile(full, "drop");
  FixedText name(200, full);
  int32_t status = -5;
  FDELET(name, 200, 0, 0, 31, kFormatted, 2, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(std::filesystem::exists(head));
  EXPECT_FALSE(std::filesystem::exists(full));

  // A name the platform cannot take deletes nothing and answers 1.
  FixedText tooLong(5000, std::string(5000, 'x'));
  FDELET(tooLong, 5000, 0, 0, 31, kFormatted, 0, 0, status);
  EXPECT_EQ(status, 1);
  EXPECT_FALSE(io::unitIsOpen(31));
}

}  // namespace
}  // namespace kvr
