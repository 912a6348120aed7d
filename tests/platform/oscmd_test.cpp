// Operating-system commands: the shell, argument splitting, and programs started directly
// with and without waiting.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/oscmd.h"
#include "testsupport.h"

namespace kvr::os {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// True when this process has no child at all, running or zombie.
bool noChildren() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

void writeScript(const std::string& name, const std::string& body) {
  test::writeFile(name, "#!/bin/sh\n" + body);
  ASSERT_EQ(chmod(name.c_str(), 0755), 0);
}

// Waits (without a time limit of its own: the script gives up first) until NAME exists.
void waitForFile(const std::string& name) {
  while (!fs::exists(name)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(SplitArguments, BlanksSeparateAndDoubleQuotesGroup) {
  struct Case {
    const char* text;
    Words words;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"a", {"a"}},
      {"a \"b c\"", {"a", "b c"}},
      {"  a\t b  ", {"a", "b"}},
      {"x\"y z\"w", {"xy zw"}},
      {"\"\" a", {"", "a"}},
      {"'a b' $HOME;x", {"'a", "b'", "$HOME;x"}},
      {"\"open", {"open"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitArguments(c.text), c.words) << c.text;
}

TEST(RunShell, RunsThroughTheShellAndAnswersTheExitStatus) {
  test::TempDir tmp;
  EXPECT_EQ(runShell("echo hi | tr a-z A-Z > out.txt"), 0);
  EXPECT_EQ(test::readFile("out.txt"), "HI\n");
  EXPECT_EQ(runShell("exit 3"), 3);
  EXPECT_TRUE(noChildren());
}

TEST(SpawnProgram, PassesEachArgumentUnchangedAndWaits) {
  test::TempDir tmp;
  writeScript("show", "sleep 0.2; for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
  ASSERT_EQ(spawnProgram("./show", {"a", "b c", "$HOME", "x;y"}, true), 0);
  EXPECT_EQ(test::readLines("args.txt"), (Words{"./show", "a", "b c", "$HOME", "x;y"}));
  EXPECT_TRUE(noChildren());
}

TEST(SpawnProgram, WithoutWaitingReturnsWhileTheProgramRunsAndLeavesNoChild) {
  test::TempDir tmp;
  // The program waits for a file that only the test makes after the spawn returned; it
  // gives up (leaving "timeout") if the spawn kept the test waiting.
  writeScript("waiter",
              "i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
              "if [ -e go ]; then touch done; else touch timeout; fi\n");
  ASSERT_EQ(spawnProgram("./waiter", {}, false), 0);
  EXPECT_TRUE(noChildren());
  test::writeFile("go", "");
  waitForFile("done");
  EXPECT_FALSE(fs::exists("timeout"));
}

TEST(SpawnProgram, FailedStartAnswersTheErrorInBothModes) {
  test::TempDir tmp;
  test::writeFile("plain", "not a program");
  EXPECT_EQ(spawnProgram("no-such-program-kvr", {"a"}, true), ENOENT);
  EXPECT_EQ(spawnProgram("no-such-program-kvr", {"a"}, false), ENOENT);
  EXPECT_EQ(spawnProgram("./plain", {}, true), EACCES);
  EXPECT_TRUE(noChildren());
}

}  // namespace
}  // namespace kvr::os
