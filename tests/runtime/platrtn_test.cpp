// The platform routines: paths, the directory search, the system queries, commands, bits
// and C-string conversions.
#include "runtime/platrtn.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/exedir.h"
#include "runtime/svutil/svmemory.h"
#include "runtime/txtutil.h"
#include "testsupport.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;

std::string collapsed(std::string path) {
  PathCollapse(path.data());
  return path.c_str();
}

// True when this process has no child at all, running or zombie.
bool noChildren() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

void writeScript(const std::string& name, const std::string& body) {
  test::writeFile(name, "#!/bin/sh\n" + body);
  ASSERT_EQ(chmod(name.c_str(), 0755), 0);
}

// ---- Paths ------------------------------------------------------------------------

TEST(PathCollapse, RemovesEachNameThatADotDotFollows) {
  struct Case {
    const char* path;
    const char* result;
  };
  const Case cases[] = {
      {"/a/b/../c", "/a/c"},
      {"/a/../../b", "/../b"},
      {"/a/b/../../c", "/c"},
      {"/a/b/..//x.dat", "/a//x.dat"},
      {"/a/b/../x.dat", "/a/x.dat"},
      {"../x", "../x"},
      {"/../x", "/../x"},
      {"/../../x", "/../../x"},
      {"..", ".."},
      {"", ""},
      {"/a/..", "/"},
      {"/a//../x", "/x"},   // an empty name is no directory: "a" is the one stepped out of
      {"/a/./../x", "/x"},  // neither is "."
      {"/a/..b/c", "/a/..b/c"},
      {"/a/b../c", "/a/b../c"},
      {"a/../b", "a/../b"},  // no "/" before the name: left as it is
      {"/a/b/c/../../../d", "/d"},
  };
  for (const Case& c : cases) EXPECT_EQ(collapsed(c.path), c.result) << c.path;
}

TEST(PathCollapse, FixedTextStopsAtItsNulAndEndsTheResultWithOne) {
  FixedText t(16, std::string_view("/a/b/../c\0XYZ  ", 15));
  PathCollapseF(t);
  EXPECT_EQ(t.view().substr(0, 5), std::string_view("/a/c\0", 5));
  // As a fixed text is made ready for it: its NUL after the last non-blank character.
  FixedText padded(20, "/a/b/../c");
  TXTNUL(padded, 0);
  PathCollapseF(padded);
  EXPECT_EQ(padded.view().substr(0, 5), std::string_view("/a/c\0", 5));
  // A text without a NUL is taken whole and gets one after the shorter result.
  char raw[9] = {'/', 'a', '/', 'b', '/', '.', '.', '/', 'c'};
  PathCollapseF(FText(raw, 9));
  EXPECT_STREQ(raw, "/a/c");
}

TEST(PathPrevSep, FindsTheSlashBeforeTheNameOrAnswersZero) {
  int32_t pos = 5;
  int32_t result = 0;
  EXPECT_EQ(PathPrevSep("/a/b/../c", pos, result), 1);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(result, 4);
  for (auto [path, at] : {std::pair{"../x", 0}, {"/../x", 1}, {"/../../x", 4}, {"/a/b", 3}}) {
    pos = at;
    result = 0;
    EXPECT_EQ(PathPrevSep(path, pos, result), 0) << path;
    EXPECT_EQ(pos, at) << path;
    EXPECT_EQ(result, 0) << path;
  }
}

TEST(PathPieces, DirFileAndStemIntoATarget) {
  struct Case {
    const char* path;
    int32_t size;
    const char* dir;
    const char* file;
    const char* stem;
  };
  const Case cases[] = {
      {"/a/b/c.txt", 20, "/a/b", "c.txt", "c"},
      {"c.txt", 20, "c.txt", "c.txt", "c"},
      {"/a/b/c.d.txt", 20, "/a/b", "c.d.txt", "c.d"},
      {"/a/b/", 20, "/a/b", "", ""},
      {"/a/b/c.txt", 6, "/a/b", "c.txt", "c"},
      {"/a/b/c.txt", 3, "/a", "c.t", "c"},
  };
  for (const Case& c : cases) {
    char target[32];
    EXPECT_STREQ(PathDir(target, c.path, c.size), c.dir) << c.path;
    EXPECT_STREQ(PathFile(target, c.path, c.size), c.file) << c.path;
    EXPECT_STREQ(PathStem(target, c.path, c.size), c.stem) << c.path;
  }
  char target[8] = "keep";
  EXPECT_EQ(PathDir(target, nullptr, 5), nullptr);
  EXPECT_EQ(PathFile(target, "/a/b", 0), nullptr);
  EXPECT_EQ(PathStem(target, "/a/b", -1), nullptr);
  EXPECT_STREQ(target, "keep");
}

TEST(PathPieces, WithoutATargetTheWholeResultFits) {
  // Longer than the 260 and 60 bytes such targets once had.
  std::string dir = "/" + std::string(300, 'd');
  std::string path = dir + "/" + std::string(100, 'n') + ".ext";
  char* d = PathDir(nullptr, path.c_str(), 1000);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d, dir);
  SvFree(d, "test");
  char* s = PathStem(nullptr, path.c_str(), 1000);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s, std::string(100, 'n'));
  SvFree(s, "test");
  EXPECT_EQ(PathFile(nullptr, path.c_str(), 10), path.c_str() + dir.size() + 1);
}

TEST(PathShort, KeepsHeadAndTailAroundAnEllipsis) {
  struct Case {
    const char* path;
    int32_t size;
    const char* result;
  };
  const std::string longName = "/a/" + std::string(40, 'x');
  const Case cases[] = {
      {"/usr/local/share/kvr/lib/x.so", 30, "/usr/local/share/kvr/lib/x.so"},
      {"/usr/local/share/kvr/lib/x.so", 20, "/usr/.../x.so"},
      {"/usr/local/share/kvr/lib/x.so", 29, "/usr/.../kvr/lib/x.so"},
      {"/usr/local/share/kvr/lib/x.so", 26, "/usr/.../lib/x.so"},
      {"/usr/local/share/kvr/lib/x.so", 12, ".../x.so"},
      {"/usr/local/share/kvr/lib/x.so", 8, "x.so"},
      {"/verylongfirstdirectory/b/c/d/e.txt", 24, ".../b/c/d/e.txt"},
      {longName.c_str(), 20, "/a/xxxxxxxxxxxxx..."},
      {"ab", 3, "ab"},
  };
  for (const Case& c : cases) {
    std::vector<char> target(static_cast<size_t>(c.size), '#');
    ASSERT_EQ(PathShort(c.path, target.data(), c.size), target.data()) << c.path;
    EXPECT_STREQ(target.data(), c.result) << c.path << " in " << c.size;
  }
  char target[8] = "keep";
  EXPECT_EQ(PathShort("/usr/local/lib", target, 5), nullptr);
  EXPECT_EQ(PathShort(nullptr, target, 8), nullptr);
  EXPECT_STREQ(target, "keep");
}

// ---- The system -------------------------------------------------------------------

TEST(SystemQueries, FixedAnswers) {
  EXPECT_EQ(IsWinNT(), 0);
  EXPECT_EQ(NBITS(), 32);
  int32_t ib = 0;
  int32_t rb = 0;
  WordSizes(ib, rb);
  EXPECT_EQ(ib, 4);
  EXPECT_EQ(rb, 4);
}

TEST(ModuleDir, EndsWithSlashAndAnswersZeroWhenItCannotBeHad) {
  char dir[4096];
  int32_t length = -1;
  ModuleDir(dir, length);
  ASSERT_GT(length, 0);
  EXPECT_EQ(std::strlen(dir), static_cast<size_t>(length));
  EXPECT_EQ(dir[length - 1], '/');
  EXPECT_EQ(fs::path(dir), fs::read_symlink("/proc/self/exe").parent_path() / "");

  os::setExecutableDirectoryOverride("/opt/kvr/bin/");
  ModuleDir(dir, length);
  EXPECT_STREQ(dir, "/opt/kvr/bin/");
  EXPECT_EQ(length, 13);
  char small[13];
  ModuleDir(small, length);
  EXPECT_EQ(length, 0);
  EXPECT_STREQ(small, "");
  os::setExecutableDirectoryOverride("");
  ModuleDir(dir, length);
  EXPECT_EQ(length, 0);
  os::setExecutableDirectoryOverride(std::nullopt);
}

TEST(WarnBeep, RingsUnlessTheBellsAreOff) {
  testing::internal::CaptureStderr();
  WarnBeep();
  bellsOffSwitch() = 1;
  WarnBeep();
  bellsOffSwitch() = 0;
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\a");
}

TEST(FileAccess, AllowsExistingFilesAndRefusesMissingOnes) {
  test::TempDir tmp;
  test::writeFile("f.dat", "x");
  EXPECT_EQ(FileAccess("f.dat", 0), 0);
  EXPECT_EQ(FileAccess("f.dat", 1), 0);
  EXPECT_EQ(FileAccess("missing.dat", 0), -1);
  EXPECT_EQ(FileAccess("missing.dat", 1), -1);
  EXPECT_EQ(FileAccess(nullptr, 0), -1);
}

TEST(FileAccess, ReadOnlyFileRefusesWriting) {
  if (geteuid() == 0) GTEST_SKIP() << "access is never denied to root";
  test::TempDir tmp;
  test::writeFile("ro.dat", "x");
  ASSERT_EQ(chmod("ro.dat", 0444), 0);
  EXPECT_EQ(FileAccess("ro.dat", 0), 0);
  EXPECT_EQ(FileAccess("ro.dat", 1), -1);
}

TEST(CwdSetGet, SetThenGetAndFailures) {
  test::TempDir tmp;
  fs::create_directory("sub");
  EXPECT_EQ(CwdSet("sub"), 0);
  char dir[256];
  int32_t n = CwdGet(dir);
  std::string expected = fs::canonical(tmp.path() / "sub").string();
  EXPECT_EQ(n, static_cast<int32_t>(expected.size()));
  EXPECT_EQ(dir, expected);
  EXPECT_EQ(CwdSet("no-such-dir"), -1);
  EXPECT_EQ(CwdSet(nullptr), -1);
  EXPECT_EQ(CwdGet(dir), n);
  std::vector<char> small(expected.size());
  EXPECT_EQ(CwdGet(small), -1);
}

TEST(DirList, WalksTheMatchesThenEnds) {
  test::TempDir tmp;
  for (const char* f : {"b.M71", "A.m71", "c.txt"}) test::writeFile(f, "x");
  char name[260];
  EXPECT_EQ(DirList(1, "*.m71", name), 0);
  EXPECT_STREQ(name, "A.m71");
  EXPECT_EQ(DirList(2, nullptr, name), 0);
  EXPECT_STREQ(name, "b.M71");
  EXPECT_EQ(DirList(2, nullptr, name), 1);
  EXPECT_EQ(DirList(3, nullptr, name), 0);
  EXPECT_EQ(DirList(2, nullptr, name), 1);
  EXPECT_EQ(DirList(1, "none*", name), 1);
  EXPECT_EQ(DirList(4, "*", name), 1);
  EXPECT_EQ(DirList(0, "*", name), 1);
  char small[3];
  EXPECT_EQ(DirList(1, "c.*", small), 0);
  EXPECT_STREQ(small, "c.");
  EXPECT_EQ(DirList(3, nullptr, name), 0);
}

// ---- Commands ---------------------------------------------------------------------

TEST(RunCommand, AmpersandReturnsWhileTheProgramRunsAndLeavesNoZombie) {
  test::TempDir tmp;
  writeScript("waiter",
              "i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
              "if [ -e go ]; then touch done; else touch timeout; fi\n");
  const char cmd[] = "./waiter &";
  RunCommand(cmd, static_cast<int32_t>(std::strlen(cmd)));
  EXPECT_TRUE(noChildren());
  test::writeFile("go", "");
  while (!fs::exists("done") && !fs::exists("timeout")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(fs::exists("done"));
}

TEST(RunCommand, SleepInTheBackgroundLeavesNoZombie) {
  const char cmd[] = "sleep 1 &";
  RunCommand(cmd, static_cast<int32_t>(std::strlen(cmd)));
  EXPECT_TRUE(noChildren());
}

TEST(RunCommand, DollarWaitsForTheProgram) {
  test::TempDir tmp;
  writeScript("late", "sleep 0.3; touch done\n");
  const char cmd[] = "./late $";
  RunCommand(cmd, static_cast<int32_t>(std::strlen(cmd)));
  EXPECT_TRUE(fs::exists("done"));
  EXPECT_TRUE(noChildren());
}

TEST(RunCommand, OtherCommandsGoToTheShellAndOnlyNCharactersCount) {
  test::TempDir tmp;
  const char cmd[] = "echo hi | tr a-z A-Z > out.txt; touch extra";
  RunCommand(cmd, 31);
  EXPECT_EQ(test::readFile("out.txt"), "HI\n");
  EXPECT_FALSE(fs::exists("extra"));
  FixedText line(60, "echo one > one.txt");
  OSCMD(line);
  EXPECT_EQ(test::readFile("one.txt"), "one\n");
}

TEST(SpawnCommand, SplitsTheRestIntoArgumentsWithoutAShell) {
  test::TempDir tmp;
  writeScript("prog", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
  writeScript("my prog", "printf '%s\\n' \"$@\" > quoted.txt\n");
  SpawnCommand("\t ./prog a \"b c\"  $HOME;x  ", 1);
  EXPECT_EQ(test::readLines("args.txt"), (std::vector<std::string>{"a", "b c", "$HOME;x"}));
  SpawnCommand("\"./my prog\" one", 1);
  EXPECT_EQ(test::readLines("quoted.txt"), std::vector<std::string>{"one"});
}

TEST(SpawnCommand, MissingProgramPrintsTheFourSpawnErrorLines) {
  for (int32_t wait : {1, 0}) {
    testing::internal::CaptureStderr();
    SpawnCommand("no-such-program-kvr a \"b c\"", wait);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Spawn Error\n"
              "Command  : no-such-program-kvr\n"
              "Arguments: a \"b c\"\n" +
                  std::string(std::strerror(ENOENT)) + "\n")
        << "wait " << wait;
  }
  EXPECT_TRUE(noChildren());
}

// ---- Bits and strings -------------------------------------------------------------

TEST(Bits, SetTestAndOutOfRangeBitNumbers) {
  struct Case {
    int32_t word, n, flag, set, tst, ts1;
  };
  const Case cases[] = {
      {0, 32, 1, -2147483647 - 1, 0, 0},
      {-1, 1, 0, -2, -1, 1},
      {5, 3, 1, 5, -1, 1},
      {5, 2, 1, 7, 0, 0},
      {5, 1, 0, 4, -1, 1},
      {-1, 32, 0, 2147483647, -1, 1},
      {5, 0, 1, 5, 0, 0},
      {5, 33, 1, 5, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BITSET(c.word, c.n, c.flag), c.set) << c.word << " bit " << c.n;
    EXPECT_EQ(BITTST(c.word, c.n), c.tst) << c.word << " bit " << c.n;
    EXPECT_EQ(BITTS1(c.word, c.n), c.ts1) << c.word << " bit " << c.n;
  }
}

TEST(StrToReal, AnswersWhetherOnlyWhiteSpaceFollows) {
  struct Case {
    const char* s;
    int32_t answer;
    double real;
  };
  const Case cases[] = {
      {"1.5 ", 1, 1.5}, {"1.5x", 0, 1.5},   {"  -2.5e2\t\n", 1, -250.0}, {".5", 1, 0.5},
      {"7.", 1, 7.0},   {"1e", 0, 1.0},     {"1 5", 0, 1.0},            {"", 0, 0.0},
      {"   ", 0, 0.0},  {"abc", 0, 0.0},    {"+3", 1, 3.0},             {"-.", 0, 0.0},
      {"1e400", 1, HUGE_VAL}, {"-1e400 ", 1, -HUGE_VAL}, {"1e400x", 0, HUGE_VAL},
      {"1e-400", 1, 0.0},
  };
  for (const Case& c : cases) {
    double real = -99.0;
    EXPECT_EQ(StrToReal(c.s, real), c.answer) << '"' << c.s << '"';
    EXPECT_DOUBLE_EQ(real, c.real) << '"' << c.s << '"';
  }
}

TEST(StrToInt, RoundsAndClampsAtTheIntegerRange) {
  struct Case {
    const char* s;
    int32_t answer;
    int32_t value;
  };
  const Case cases[] = {
      {"12.5", 0, 13},
      {"-12.5", 0, -13},
      {" 7 ", 1, 7},
      {"7x", 0, 7},
      {"2147483647", 1, 2147483647},
      {"2147483647.4", 0, 2147483647},
      {"2147483647.5", 1, 2147483647},
      {"2147483648", 1, 2147483647},
      {"-2147483648", 1, -2147483647 - 1},
      {"-2147483648.5", 1, -2147483647 - 1},
      {"-2147483649", 1, -2147483647 - 1},
      {"1e300", 1, 2147483647},
      {"1e400", 1, 2147483647},
      {"-1e400", 1, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(StrToInt(c.s, value), c.answer) << c.s;
    EXPECT_EQ(value, c.value) << c.s;
  }
}

TEST(Strings, TrimAndUpper) {
  char s[] = " \t a\tb \t\n";
  EXPECT_STREQ(StrTrim(s), "a b");
  char blank[] = " \t ";
  EXPECT_STREQ(StrTrim(blank), "");
  char u[] = "abc-xyz\xe9";
  StrUpper(u);
  EXPECT_STREQ(u, "ABC-XYZ\xe9");
}

}  // namespace
}  // namespace kvr
