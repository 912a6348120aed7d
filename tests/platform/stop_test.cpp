#include "platform/stop.h"

#include <gtest/gtest.h>

#include <csignal>

#include "platform/unitio.h"
#include "testsupport.h"

namespace kvr {
namespace {

using kvr::test::readFile;
using kvr::test::TempDir;

void markAction() { io::writeRecord(60, "action ran"); }

// Opens unit 60 on FILE, writes a line, registers the action and stops.
[[noreturn]] void stopWithLine(const std::string& file, int32_t status, bool abort) {
  io::OpenSpec s;
  s.file = file;
  io::unitOpen(60, s);
  io::writeRecord(60, "written before the stop");
  registerPreStop(markAction);
  processStop(status, abort);
}

TEST(ProcessStop, RunsActionsThenClosesUnitsAndExitsWithTheStatus) {
  TempDir dir;
  std::string file = dir.file("units.txt");
  EXPECT_EXIT(stopWithLine(file, 3, false), ::testing::ExitedWithCode(3), "");
  EXPECT_EQ(readFile(file), "written before the stop\naction ran\n");
}

TEST(ProcessStop, AbortEndsBySigabrtAfterClosingUnits) {
  TempDir dir;
  std::string file = dir.file("units.txt");
  EXPECT_EXIT(stopWithLine(file, 1, true), ::testing::KilledBySignal(SIGABRT), "");
  EXPECT_EQ(readFile(file), "written before the stop\naction ran\n");
}

TEST(ProcessStop, TestHookReceivesStatusAndAbortFlag) {
  kvr::test::StopTrap trap;
  try {
    processStop(7, true);
  } catch (const kvr::test::StopCalled& s) {
    EXPECT_EQ(s.status, 7);
    EXPECT_TRUE(s.abort);
    return;
  }
  FAIL() << "the stop hook did not run";
}

}  // namespace
}  // namespace kvr
