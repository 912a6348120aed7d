#include "plot/pltdsp.h"

#include <gtest/gtest.h>

#include <string>

#include "command/gridmd.h"
#include "plot/pltctb.h"
#include "plot/pltdev.h"
#include "plot/pltpar.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"
#include "testsupport.h"

namespace kvr {
namespace {

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    PLTPAR = {};
    PLTDEV = {};
    IOUNIT = {};
    gApplicationMode = 0;
  }
  static void setText(const std::string& s, int32_t count) {
    for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
    PLTPAR.textCount = count;
  }
  static std::string text() {
    std::string s;
    int32_t n = PLTPAR.textCount < 0 ? -PLTPAR.textCount : PLTPAR.textCount;
    for (int32_t k = 0; k < n; ++k) s.push_back(charOf(PLTPAR.text[static_cast<size_t>(k)]));
    return s;
  }
};

TEST_F(Dispatcher, ConsoleModeTakesTheTerminalUnits) {
  IOUNIT.slot(kSlotTerminalOutput) = 6;
  IOUNIT.slot(kSlotTerminalInput) = 5;
  PLTALP();
  EXPECT_EQ(PLTDEV.outputMode, kOutputConsole);
  EXPECT_EQ(PLTPAR.outUnit, 6);
  EXPECT_EQ(PLTPAR.inUnit, 5);
  EXPECT_EQ(PLTDEV.openState1, 2);
  EXPECT_EQ(PLTDEV.openState2, 1);

  IOUNIT.slot(kSlotPlotFile) = 3;
  PLTGRA();
  EXPECT_EQ(PLTDEV.outputMode, kOutputGraphics);
  EXPECT_EQ(PLTPAR.outUnit, 3);
  EXPECT_EQ(PLTPAR.inUnit, 5);
  EXPECT_EQ(PLTDEV.openState1, 2);
  EXPECT_EQ(PLTDEV.openState2, 2);
}

TEST_F(Dispatcher, TheConsoleRecordsTheObjectKind) {
  PLTALP();
  PLTOBJ(8);
  EXPECT_EQ(PLTPAR.objectKind, 8);
  EXPECT_EQ(PLTDEV.objectKind, 8);
  PLTCOL(4);
  EXPECT_EQ(PLTPAR.colour, 4);

  PLTDEV.outputMode = kOutputGraphics;  // no console: nothing recorded
  PLTDEV.device = 5;
  PLTOBJ(1);
  EXPECT_EQ(PLTDEV.objectKind, 8);
  PLTDEV.outputMode = kOutputNone;
  PLTOBJ(1);
  EXPECT_EQ(PLTDEV.objectKind, 8);
}

TEST_F(Dispatcher, TextOpcodesPassTheTerminologySwitch) {
  gApplicationMode = kGridVocabularyMode;
  setText("NODES", -5);
  PLTDSP(kOpText);
  EXPECT_EQ(PLTPAR.textCount, -8);
  EXPECT_EQ(text(), "VERTICES");
  setText("elem 3", 6);
  PLTDSP(kOpTextOutput);
  EXPECT_EQ(text(), "cell 3");
  setText("MESH", 4);
  PLTDSP(kOpTextOutput2);
  EXPECT_EQ(text(), "GRID");
  setText("NODE", 4);
  PLTDSP(kOpColour);  // no text opcode
  EXPECT_EQ(text(), "NODE");

  // A text that grows past the 255 codes of the block is cut there.
  std::string many;
  while (many.size() < 250) many += "NODE ";
  setText(many, static_cast<int32_t>(many.size()) - 1);
  PLTDSP(kOpTextOutput);
  EXPECT_EQ(PLTPAR.textCount, 255);
  EXPECT_EQ(text().substr(0, 14), "VERTEX VERTEX ");
}

TEST_F(Dispatcher, DriversThatCannotRunStopTheProcess) {
  test::StopTrap trap;
  PLTDEV.outputMode = kOutputConsole;
  PLTDEV.recordCount = 1;
  try {
    PLTDSP(kOpObjectKind);
    FAIL() << "no stop";
  } catch (const test::StopCalled& stop) {
    EXPECT_NE(stop.status, 0);
  }
  PLTDEV.outputMode = kOutputGraphics;
  PLTDEV.device = 13;
  EXPECT_THROW(PLTDSP(kOpOpen), test::StopCalled);
  PLTDEV.device = 11;
  EXPECT_NO_THROW(PLTDSP(kOpOpen));
}

TEST(Defcol, SetsUpTheColourTables) {
  PLTCTB = {};
  DEFCOL();
  EXPECT_EQ(PLTCTB.count(kBasicColourTable), 12);
  EXPECT_EQ(PLTCTB.count(0), 0);
  struct Case {
    int32_t table, shades, first;
  };
  const Case cases[] = {{1, 31, 13}, {2, 21, 149}, {3, 21, 44}, {9, 21, 170}, {10, 12, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(PLTCTB.count(c.table), c.shades);
    for (int32_t row = 1; row <= 3; ++row) {
      EXPECT_EQ(PLTCTB.shade(c.table, row, 1), c.first);
      EXPECT_EQ(PLTCTB.shade(c.table, row, c.shades), c.first + c.shades - 1);
    }
  }
}

}  // namespace
}  // namespace kvr
