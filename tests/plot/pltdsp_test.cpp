#include "plot/pltdsp.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "plot/defcol.h"
#include "plotfixture.h"
#include "runtime/codtxt.h"
#include "runtime/gridmd.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
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

  PLTDEV.outputMode = kOutputGraphics;  // no console and no driver: nothing recorded
  PLTDEV.device = kDeviceHardCopy;
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

// A driver that records what reaches it: the opcode with the point and text counts it
// saw, and answers opcode 27 with the matrix of gMatrix.
struct Received {
  int32_t opcode, points, text;
};
std::vector<Received> gReceived;
std::array<float, 16> gMatrix{};

void recordingDriver(int32_t opcode) {
  gReceived.push_back({opcode, PLTPAR.pointCount, PLTPAR.textCount});
  if (opcode == kOpDeviceMatrix) {
    for (size_t k = 0; k < 16; ++k) PLTPAR.deviceMatrix[k] = gMatrix[k];
  }
}

std::vector<int32_t> receivedOpcodes() {
  std::vector<int32_t> ops;
  for (const Received& r : gReceived) ops.push_back(r.opcode);
  return ops;
}

class Routing : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    gReceived.clear();
    saved_ = MACHCN;
    MACHCN.setReal(kMachTolerance, 1.0e-32f);
  }
  void TearDown() override {
    MACHCN = saved_;
    PlotFixture::TearDown();
  }

 private:
  MachCn saved_;
};

TEST_F(Routing, OutputModesOtherThanConsoleReachTheDriverOnce) {
  useDriver(1, recordingDriver);
  for (int32_t mode : {kOutputNone, kOutputGraphics, 7}) {
    gReceived.clear();
    PLTDEV.outputMode = mode;
    PLTDSP(kOpColour);
    PLTDSP(kOpOpen);
    EXPECT_EQ(receivedOpcodes(), (std::vector<int32_t>{kOpColour, kOpOpen})) << mode;
  }
}

TEST_F(Routing, DevicesWithoutADriverDropTheRecord) {
  // Every device that can hold an entry has one; none of these numbers reaches any.
  for (int32_t device : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}) useDriver(device, recordingDriver);
  PLTCAP.word(1) = 1;
  PLTCAP.word(10) = 3;
  const auto words = PLTCAP.words;
  for (int32_t mode : {kOutputNone, kOutputGraphics}) {
    for (int32_t device : {0, 11, 14, -1}) {
      PLTDEV.outputMode = mode;
      PLTDEV.device = device;
      PLTDSP(kOpOpen);
      PLTDSP(kOpText);
      EXPECT_TRUE(gReceived.empty()) << device;
      EXPECT_EQ(PLTCAP.words, words) << device;
    }
  }
  EXPECT_EQ(driverOf(11), nullptr);
  EXPECT_EQ(installDriver(11, recordingDriver), nullptr);
  EXPECT_EQ(installDriver(13, recordingDriver), nullptr);
  EXPECT_EQ(installDriver(0, recordingDriver), nullptr);
  EXPECT_EQ(driverOf(13), nullptr);
}

TEST_F(Routing, DeviceThirteenStopsInEveryModeButTheConsole) {
  test::StopTrap trap;
  useDriver(13, recordingDriver);  // refused: 13 never has an entry
  for (int32_t mode : {kOutputNone, kOutputGraphics}) {
    PLTDEV.outputMode = mode;
    EXPECT_THROW(PLTDSP(kOpColour), test::StopCalled) << mode;
  }
  EXPECT_TRUE(gReceived.empty());
}

TEST_F(Routing, CountsOutsideTheBlockAreHeldToIt) {
  useDriver(1, recordingDriver);
  PLTDEV.outputMode = kOutputGraphics;
  struct Case {
    int32_t opcode, points, text, wantPoints, wantText;
  };
  const Case cases[] = {
      {16, 25, 0, 20, 0},          {16, -3, 0, 0, 0},        {16, 20, 0, 20, 0},
      {kOpText, 0, 300, 0, 255},   {kOpText, 0, -300, 0, -255},
      {kOpText, 0, -5, 0, -5},     {kOpTextOutput, 0, INT32_MIN, 0, -255},
      {kOpColour, 99, 1000, 20, 255},
  };
  for (const Case& c : cases) {
    gReceived.clear();
    PLTPAR.pointCount = c.points;
    PLTPAR.textCount = c.text;
    PLTDSP(c.opcode);
    ASSERT_EQ(gReceived.size(), 1u);
    EXPECT_EQ(gReceived[0].points, c.wantPoints) << c.points;
    EXPECT_EQ(gReceived[0].text, c.wantText) << c.text;
  }
}

// A rotation of 30 degrees about z, stored column by column.
std::array<float, 16> rotation() {
  const float c = std::cos(0.5235988f);
  const float s = std::sin(0.5235988f);
  return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

std::array<float, 16> flat(const Matrix4& m) {
  std::array<float, 16> f{};
  for (size_t k = 0; k < 16; ++k) f[k] = m[k / 4][k % 4];
  return f;
}

TEST_F(Routing, GraphicsModeFetchesTheDeviceMatrixFirst) {
  IOUNIT.slot(kSlotPlotFile) = 33;
  useDriver(1, recordingDriver);
  gMatrix = rotation();
  PLTCAP.word(kCapDisplaySwitch) = 1;
  PLTGRA();
  EXPECT_EQ(receivedOpcodes(), (std::vector<int32_t>{kOpDeviceMatrix, kOpOpen}));
  EXPECT_EQ(flat(VIEWMT.view), gMatrix);
  // The inverse of a rotation is its transpose: the product is the identity.
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int32_t k = 0; k < 4; ++k) sum += VIEWMT.view[k][i] * VIEWMT.view2[j][k];
      EXPECT_NEAR(sum, i == j ? 1.0f : 0.0f, 1e-6f) << i << j;
    }
  }
  EXPECT_EQ(PLTDEV.outputMode, kOutputGraphics);
  EXPECT_EQ(PLTDEV.openState2, 2);
  EXPECT_EQ(PLTPAR.outUnit, 33);
}

TEST_F(Routing, TheDisplaySwitchDecidesWhetherTheMatrixIsAskedFor) {
  useDriver(1, recordingDriver);
  gMatrix = rotation();
  VIEWMT.view[0][1] = 4.0f;
  VIEWMT.view2[2][3] = 5.0f;
  const ViewMt before = VIEWMT;
  for (int32_t word10 : {0, 2}) {
    gReceived.clear();
    PLTCAP.word(kCapDisplaySwitch) = word10;
    PLTGRA();
    EXPECT_EQ(receivedOpcodes(), (std::vector<int32_t>{kOpOpen})) << word10;
    EXPECT_EQ(flat(VIEWMT.view), flat(before.view));
    EXPECT_EQ(flat(VIEWMT.view2), flat(before.view2));
  }

  // PLTMAT asks whenever the word is not 0.
  Matrix4 m{};
  Matrix4 inverse{};
  PLTCAP.word(kCapDisplaySwitch) = 0;
  gReceived.clear();
  PLTMAT(m, inverse);
  EXPECT_TRUE(gReceived.empty());
  EXPECT_EQ(flat(m), (std::array<float, 16>{}));
  PLTCAP.word(kCapDisplaySwitch) = 2;
  PLTMAT(m, inverse);
  EXPECT_EQ(receivedOpcodes(), (std::vector<int32_t>{kOpDeviceMatrix}));
  EXPECT_EQ(flat(m), gMatrix);
  EXPECT_EQ(inverse[1][0], gMatrix[1]);  // transposed
  EXPECT_EQ(inverse[0][1], gMatrix[4]);

  // A matrix without a usable scale leaves the inverse as it was.
  gMatrix[15] = 0.0f;
  inverse[3][3] = 42.0f;
  PLTMAT(m, inverse);
  EXPECT_EQ(m[3][3], 0.0f);
  EXPECT_EQ(inverse[3][3], 42.0f);
}

}  // namespace
}  // namespace kvr
