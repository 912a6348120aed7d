// A fixture for the message output: every block the message routines read starts in
// its load state, the message unit and both journal channels write to files in a
// temporary directory, and the lines written are read back from those files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/synsta.h"
#include "platform/cmdline.h"
#include "platform/unitio.h"
#include "runtime/gridmd.h"
#include "runtime/hostcb.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/journal.h"
#include "runtime/msgarg.h"
#include "runtime/msglin.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "testsupport.h"

namespace kvr::test {

class MessageFixture : public ::testing::Test {
 protected:
  static constexpr int32_t kMessageUnit = 30;
  static constexpr int32_t kJournal1Unit = 23;
  static constexpr int32_t kLogUnit = 7;

  void SetUp() override {
    resetBlocks();
    openUnit(kMessageUnit, "messages.txt");
    openUnit(kJournal1Unit, "journal1.txt");
    openUnit(kLogUnit, "journal2.txt");
    PLTPAR.outUnit = kMessageUnit;
    IOUNIT.slot(kSlotJournalFile) = kJournal1Unit;
    IOUNIT.slot(kSlotLogFile) = kLogUnit;
  }

  void TearDown() override {
    io::closeAllUnits();
    setLineWriterObserver(nullptr);
    setHostCommandObserver(nullptr);
    setEntityLabelReader(nullptr);
    setDatabaseDumper(nullptr);
    clearCommandLineOverride();
    resetBlocks();
  }

  static void resetBlocks() {
    MSGARG = {};
    MSGCNT = {};
    JRNFLG = {};
    IOUNIT = {};
    IOMODE = {};
    SYNSTA = {};
    PLTPAR = {};
    PLTDEV = {};
    gApplicationMode = 0;
  }

  static void openUnit(int32_t unit, const std::string& name) {
    io::OpenSpec want;
    want.file = name;
    want.status = io::Status::Unknown;
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk) << name;
  }

  // Both channels enabled, channel 1 also by its IOUNIT word.
  static void enableJournals() {
    JRNFLG.channel1.enable = 1;
    JRNFLG.channel2.enable = 1;
    IOUNIT.journal1Enable = 1;
  }

  std::vector<std::string> linesOf(int32_t unit, const std::string& name) {
    io::unitFlush(unit);
    return readLines(dir.file(name));
  }
  std::vector<std::string> messages() { return linesOf(kMessageUnit, "messages.txt"); }
  std::vector<std::string> journal1() { return linesOf(kJournal1Unit, "journal1.txt"); }
  std::vector<std::string> journal2() { return linesOf(kLogUnit, "journal2.txt"); }

  TempDir dir;
};

using Lines = std::vector<std::string>;

}  // namespace kvr::test
