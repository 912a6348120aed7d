// File and path utilities: joining paths, status texts, the current directory, the
// directory listing into a scratch file, and the abnormal end.
#include "runtime/fileutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/unitio.h"
#include "testsupport.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;

// TLMKNM into a path of LENGTH characters inside a larger buffer whose guard bytes must
// stay untouched.
std::string joined(std::string_view dir, std::string_view file, int32_t length) {
  FixedText d(static_cast<int32_t>(dir.size()), dir);
  FixedText f(10, file);
  std::string buf(static_cast<size_t>(length) + 8, '#');
  TLMKNM(d, f, FText(buf.data(), length));
  EXPECT_EQ(buf.substr(static_cast<size_t>(length)), std::string(8, '#')) << dir;
  return buf.substr(0, static_cast<size_t>(length));
}

std::string padded(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

TEST(TLMKNM, JoinsCollapsesAndPads) {
  struct Case {
    std::string dir;
    const char* file;
    std::string path;
  };
  const Case cases[] = {
      {"/a/b/", "x.dat", "/a/b//x.dat"},
      {"/a/b/..", "x.dat", "/a/x.dat"},
      {"/a/b", "x.dat", "/a/b/x.dat"},
      {"  /a/b  ", "x.dat", "/a/b/x.dat"},
      {"", "x.dat", "/x.dat"},
      {"     ", "x.dat", "/x.dat"},
      {"/a/b/../..", "x.dat", "/x.dat"},
      {"../b", "x.dat", "../b/x.dat"},
      {"/a", "../y.dat", "/y.dat"},
      {std::string("/a/b\0zz", 7), "x.dat", "/a/b"},
  };
  for (const Case& c : cases) EXPECT_EQ(joined(c.dir, c.file, 150), padded(c.path, 150)) << c.dir;
}

TEST(TLMKNM, LongResultIsCutAtTheDeclaredLength) {
  std::string dir = "/" + std::string(153, 'd');  // with "/x.dat": 160 characters
  EXPECT_EQ(joined(dir, "x.dat", 150), dir.substr(0, 150));
  EXPECT_EQ(joined("/a/b/..", "x.dat", 5), "/a/x.");
}

TEST(IOSMSG, TextsOfTheKnownCodesAndOfAnyOther) {
  const std::pair<int32_t, const char*> cases[] = {
      {9, "Permission to access file denied"},
      {38, "Error during write"},
      {39, "Error during read"},
      {47, "Write to READONLY file"},
      {608, "No space left on device"},
      {29, "Unspecified error#IOSTAT    :      29"},
      {-1, "Unspecified error#IOSTAT    :      -1"},
  };
  for (auto [code, text] : cases) {
    FixedText t(80, "old text");
    IOSMSG(code, t);
    EXPECT_EQ(t.view(), padded(text, 80)) << code;
  }
  FixedText shortText(10);
  IOSMSG(29, shortText);
  EXPECT_EQ(shortText.view(), "Unspecifie");
}

TEST(CHGDIR, KeepsTheDirectoryOnFailureAndCURDIRFollowsIt) {
  test::TempDir tmp;
  fs::create_directory("fixture");
  int32_t result = 7;
  FixedText missing(40, "no-such-dir");
  EXPECT_EQ(CHGDIR(missing, result), -1);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(fs::current_path(), tmp.path());

  FixedText target(40, "fixture");
  EXPECT_EQ(CHGDIR(target, result), 0);
  EXPECT_EQ(result, 0);
  FixedText dir(255, "old");
  CURDIR(dir);
  EXPECT_EQ(dir.view(), padded(fs::canonical(tmp.path() / "fixture").string(), 255));
}

TEST(CURDIR, BlankWhenTheDirectoryCannotBeRead) {
  test::TempDir tmp;
  fs::path deep = tmp.path();
  while (deep.string().size() <= 255) deep /= std::string(100, 'd');
  fs::create_directories(deep);
  fs::current_path(deep);
  FixedText dir(300, "old");
  CURDIR(dir);
  EXPECT_TRUE(dir.text().isBlank());
}

// ---- The listing --------------------------------------------------------------------

// The records of a listing unit: each name with the length it was written with.
std::vector<std::pair<int32_t, std::string>> listed(int32_t unit) {
  std::vector<std::pair<int32_t, std::string>> records;
  std::vector<int32_t> words(80);
  int32_t count = 0;
  while (io::readUnformatted(unit, words, count) == io::kIosOk) {
    EXPECT_GE(count, 1);
    EXPECT_EQ(count, 1 + (words[0] + 3) / 4);
    std::string name(reinterpret_cast<const char*>(words.data() + 1), static_cast<size_t>(words[0]));
    records.emplace_back(words[0], name);
  }
  return records;
}

std::set<std::string> directoryNames() {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(".")) names.insert(e.path().filename().string());
  return names;
}

class Lstdir : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"b.M71", "A.m71", "c.txt"}) test::writeFile(f, "x");
  }
  void TearDown() override {
    if (unit_ > 0) io::unitClose(unit_);
  }
  test::TempDir tmp_;
  int32_t unit_ = 0;
  int32_t count_ = -9;
};

TEST_F(Lstdir, MatchingNamesAreListedRewoundWithNoFileLeftHere) {
  std::set<std::string> before = directoryNames();
  FixedText pattern(20, "*.M71");
  LSTDIR(pattern, unit_, count_);
  EXPECT_EQ(count_, 2);
  ASSERT_GE(unit_, 40);
  EXPECT_EQ(listed(unit_), (std::vector<std::pair<int32_t, std::string>>{{5, "A.m71"}, {5, "b.M71"}}));
  io::unitClose(unit_);
  unit_ = 0;
  EXPECT_EQ(directoryNames(), before);
  EXPECT_FALSE(fs::exists("SCR00000"));
}

TEST_F(Lstdir, StarListsOnlyTheFixtureAndTheListFileLiesElsewhere) {
  FixedText pattern(20, "*");
  LSTDIR(pattern, unit_, count_);
  EXPECT_EQ(count_, 5);
  std::vector<std::string> names;
  for (const auto& r : listed(unit_)) names.push_back(r.second);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "A.m71", "b.M71", "c.txt"}));

  // Named in the temporary directory, and already gone from it while the unit holds it.
  fs::path listFile = io::unitFileName(unit_);
  ASSERT_FALSE(listFile.empty());
  EXPECT_EQ(listFile.parent_path(), fs::path(io::tempDirectory()));
  EXPECT_FALSE(fs::exists(listFile));
  io::unitClose(unit_);
  unit_ = 0;
  EXPECT_FALSE(fs::exists(listFile));
}

TEST_F(Lstdir, PatternEndsAtItsFirstBlankOrNul) {
  for (std::string_view p : {std::string_view("c.*  junk"), std::string_view("c.*\0junk", 8)}) {
    FixedText pattern(static_cast<int32_t>(p.size()), p);
    LSTDIR(pattern, unit_, count_);
    EXPECT_EQ(count_, 1);
    EXPECT_EQ(listed(unit_), (std::vector<std::pair<int32_t, std::string>>{{5, "c.txt"}}));
    io::unitClose(unit_);
    unit_ = 0;
  }
}

TEST_F(Lstdir, NoMatchGivesCountZeroAndAnEmptyFile) {
  FixedText pattern(20, "*.none");
  LSTDIR(pattern, unit_, count_);
  EXPECT_EQ(count_, 0);
  ASSERT_GE(unit_, 40);
  std::vector<int32_t> words(1);
  int32_t n = -1;
  EXPECT_EQ(io::readUnformatted(unit_, words, n), io::kIosEnd);  // an empty file
}

TEST_F(Lstdir, NoFreeUnitGivesCountMinusOne) {
  io::OpenSpec scratch;
  scratch.status = io::Status::Scratch;
  scratch.form = io::Form::Unformatted;
  for (int32_t u = 40; u <= 99; ++u) ASSERT_EQ(io::unitOpen(u, scratch), io::kIosOk);
  FixedText pattern(20, "*");
  int32_t unit = 12345;
  LSTDIR(pattern, unit, count_);
  EXPECT_EQ(count_, -1);
  EXPECT_EQ(unit, 12345);
  for (int32_t u = 40; u <= 99; ++u) io::unitClose(u);
}

// ---- The abnormal end ---------------------------------------------------------------

TEST(ABTRUN, WritesItsLineAndStopsByAbort) {
  test::StopTrap trap;
  testing::internal::CaptureStderr();
  try {
    ABTRUN();
    ADD_FAILURE() << "ABTRUN returned";
  } catch (const test::StopCalled& stop) {
    EXPECT_TRUE(stop.abort);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "That's it- I'm outta here\n");
}

TEST(ABTRUN, AbortsWithTheLinesOfTheUnitsInTheirFiles) {
  test::TempDir tmp;
  std::string file = tmp.file("log.txt");
  EXPECT_EXIT(
      {
        io::OpenSpec want;
        want.file = file;
        io::unitOpen(41, want);
        io::writeRecord(41, "last words");
        ABTRUN();
      },
      testing::KilledBySignal(SIGABRT), "That's it- I'm outta here");
  EXPECT_EQ(test::readFile(file), "last words\n");
}

TEST(IVAL16, SetsSixteen) {
  int32_t n = 0;
  IVAL16(n);
  EXPECT_EQ(n, 16);
}

}  // namespace
}  // namespace kvr
