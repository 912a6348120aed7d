#include "plot/pltdrv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/unitio.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plotfixture.h"
#include "runtime/pltctb.h"

namespace kvr {
namespace {

using Words = std::array<int32_t, PltCap::kIntegerWords>;

constexpr Words kConsoleWords = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};

// The device words as the console leaves them, with a colour, table and line attribute
// set since.
void consoleState() {
  PLTCAP.words = kConsoleWords;
  PLTDEV.colourCount = 12;
  PLTDEV.colourCount2 = 12;
  PLTDEV.currentColour = 5;
  PLTDEV.colourTableCount = 3;
  PLTDEV.lineAttribute = 2;
  PLTDEV.cellHeight = 9.0f;
  PLTDEV.cellWidth = 7.0f;
  PLTPAR.textOffsetX = 0.5f;
  PLTPAR.textOffsetY = 0.5f;
  PLTDEV.selectedTransform = 1;
}

// Test drivers keeping the contract: a PostScript-like colour device that does not give
// colour back, and a neutral-plot-file-like one that does. Both draw a line (opcode 15)
// as a record "L x y" of device coordinates, and count what they draw.
int gDrawn = 0;

void drawTo() {
  float x = PLTPAR.pointX;
  float y = PLTPAR.pointY;
  transformPoint(x, y);
  io::writeRecord(PLTPAR.outUnit,
                  "L " + std::to_string(deviceX(x)) + " " + std::to_string(deviceY(y)));
  ++gDrawn;
}

void colourDriver(int32_t opcode) {
  if (sharedStep(opcode, true)) return;
  switch (opcode) {
    case kOpOpen:
      openDriver({"Postscript", DeviceRow::PostScript, 31});
      PLTDEV.cellHeight = 1.5f;
      PLTDEV.cellWidth = 1.0f;
      mapPage(PLTDEV.window, 2.0f * PLXFRM.cellHeight, 1000.0f, 500.0f, 500.0f, 250.0f);
      io::writeRecord(PLTPAR.outUnit, "open");
      break;
    case kOpClose:
      io::writeRecord(PLTPAR.outUnit, "close");
      closeDriver(false);
      break;
    case kOpText: ++gDrawn; break;
    case 15: drawTo(); break;
    default: break;
  }
}

void givingBackDriver(int32_t opcode) {
  if (sharedStep(opcode, false)) return;
  if (opcode == kOpOpen) openDriver({"Plotter", DeviceRow::NeutralPlotFile, 7, 0, true});
  if (opcode == kOpClose) closeDriver(true);
}

class Contract : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    gDrawn = 0;
    consoleState();
  }
};

TEST_F(Contract, OpenPutsTheDeviceAndCloseGivesThePreviousBack) {
  useDriver(4, colourDriver);
  PLTDSP(kOpOpen);
  EXPECT_EQ(PLTCAP.words, (Words{2, 2, 1, 3, 1, 2, 6, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Postscript");
  EXPECT_EQ(PLTDEV.colourCount, 31);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
  EXPECT_EQ(PLTPAR.textOffsetX, 0.0f);
  EXPECT_EQ(PLTPAR.textOffsetY, 0.0f);
  EXPECT_EQ(PLTPAR.colourTable, 0);

  PLTPAR.colour = 6;
  PLTDSP(kOpColour);
  PLTDSP(kOpClose);
  EXPECT_EQ(PLTCAP.words, kConsoleWords);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
  EXPECT_EQ(PLTDEV.cellWidth, 7.0f);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.lineAttribute, 0);
}

TEST_F(Contract, ADriverThatGivesColourBackRestoresIt) {
  PLTOPT.word(kOptSecond) = 1;
  PLTCAP.word(12) = 77;  // the word every driver keeps
  useDriver(1, givingBackDriver);
  PLTDSP(kOpOpen);
  EXPECT_EQ(PLTCAP.words, (Words{2, 9, 1, 0, 0, 2, 1, 0, 0, 0, 0, 77, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTPAR.colourTable, 1);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  PLTPAR.colour = -3;
  PLTDSP(kOpColour);
  PLTDSP(kOpClose);
  EXPECT_EQ(PLTDEV.currentColour, 5);
  EXPECT_EQ(PLTDEV.colourTableCount, 3);
  EXPECT_EQ(PLTDEV.lineAttribute, 2);
  EXPECT_EQ(PLTCAP.word(12), 77);
}

TEST_F(Contract, RowsTakeTheOptionWordAndThePrinterModel) {
  PLTOPT.word(kOptSecond) = 4;
  openDriver({"Interleaf", DeviceRow::Interleaf, 6});
  EXPECT_EQ(PLTCAP.word(2), -9);
  EXPECT_EQ(PLTCAP.word(3), 4);
  openDriver({"Laserjet", DeviceRow::Pcl, 15, -9});
  EXPECT_EQ(PLTCAP.word(2), -9);
  EXPECT_EQ(PLTCAP.word(3), 1);
  // The console row is the console's own description.
  EXPECT_EQ(deviceDescription(DeviceRow::Console), kConsoleWords);
}

TEST_F(Contract, SharedStepKeepsTheDeviceWords) {
  PLTCTB.count(0) = 0;
  PLTCTB.count(4) = 21;
  PLTCTB.count(10) = 12;
  useDriver(4, colourDriver);
  PLTDSP(kOpOpen);

  PLTPAR.colourTable = 4;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourTableCount, 4);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);
  // Tables outside 0..10 have no count: the number is taken, the counts stay.
  for (int32_t table : {11, -1, 1000}) {
    PLTPAR.colourTable = table;
    PLTDSP(kOpColourTable);
    EXPECT_EQ(PLTDEV.colourTableCount, table);
    EXPECT_EQ(PLTDEV.colourCount, 21) << table;
  }
  PLTPAR.colourTable = 0;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 0);

  PLTPAR.lineAttribute = 3;
  PLTDSP(kOpLineAttribute);
  EXPECT_EQ(PLTDEV.lineAttribute, 3);
  for (int32_t width : {0, -2}) {
    PLTPAR.lineAttribute = width;
    PLTDSP(kOpLineAttribute);
    EXPECT_EQ(PLTDEV.lineAttribute, 3);
  }

  PLTPAR.characterSize = 2;
  PLTDSP(kOpCharacterSize);
  PLTPAR.objectKind = 9;
  PLTDSP(kOpObjectKind);
  PLTPAR.selectTransform = 2;
  PLTDSP(kOpSelectTransform);
  PLTPAR.defineTransform = 4;
  PLTPAR.x[0] = 1.0f;
  PLTPAR.x[1] = 2.0f;
  PLTPAR.y[0] = 3.0f;
  PLTPAR.y[1] = 4.0f;
  PLTDSP(kOpDefineTransform);
  EXPECT_EQ(PLTDEV.characterSizeBase, 2);
  EXPECT_EQ(PLTDEV.objectKind, 9);
  EXPECT_EQ(PLTDEV.selectedTransform, 2);
  EXPECT_EQ(PLTDEV.transformNumber, 4);
  EXPECT_EQ(PLTDEV.transformWindow.xMax, 2.0f);
  EXPECT_EQ(PLTDEV.transformWindow.yMin, 3.0f);

  // A text inquiry: the answer word, no drawing, the length as it came.
  PLTPAR.textCount = -5;
  PLTDSP(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, -99);
  EXPECT_EQ(gDrawn, 0);
  EXPECT_EQ(PLTPAR.textCount, -5);
  PLTCTB.textAnswer = 0;
  PLTPAR.textCount = 5;
  PLTDSP(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, 0);
  EXPECT_EQ(gDrawn, 1);
}

TEST_F(Contract, PointsGoThroughTheSelectedTransformation) {
  PLTDEV.mapScale = 2.0f;
  PLTDEV.mapOriginX = 1.0f;
  PLTDEV.mapOriginY = 1.0f;
  PLTDEV.mapOffsetX = 10.0f;
  PLTDEV.mapOffsetY = 20.0f;
  struct Case {
    int32_t transform;
    bool onlyAboveOne;
    float x, y;
  };
  const Case cases[] = {
      {2, false, 14.0f, 26.0f}, {1, false, 3.0f, 4.0f}, {0, false, 14.0f, 26.0f},
      {2, true, 14.0f, 26.0f},  {1, true, 3.0f, 4.0f},  {0, true, 3.0f, 4.0f},
  };
  for (const Case& c : cases) {
    PLTDEV.selectedTransform = c.transform;
    float x = 3.0f;
    float y = 4.0f;
    transformPoint(x, y, c.onlyAboveOne);
    EXPECT_EQ(x, c.x) << c.transform << c.onlyAboveOne;
    EXPECT_EQ(y, c.y) << c.transform << c.onlyAboveOne;
  }
}

TEST_F(Contract, DeviceCoordinatesAreTruncatedTowardZero) {
  PLXFRM.pageScale = 1.5f;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float x;
    int32_t device;
  };
  const Case cases[] = {{-2.5f, -3}, {2.5f, 3}, {0.5f, 0}, {-0.5f, 0}, {nan, 0},
                        {1.0e30f, INT32_MAX}, {-1.0e30f, INT32_MIN}};
  for (const Case& c : cases) {
    EXPECT_EQ(deviceX(c.x), c.device) << c.x;
    EXPECT_EQ(deviceY(c.x), c.device) << c.x;
  }
  EXPECT_EQ(pageX(-2.5f), -3.75f);
}

TEST_F(Contract, PageMappingFitsTheRaisedWindow) {
  // 0..100 by 0..80 raised by 20: 100 by 100 onto 1000 x 500, the height deciding.
  mapPage({0.0f, 100.0f, 0.0f, 80.0f}, 20.0f, 1000.0f, 500.0f, 500.0f, 250.0f);
  EXPECT_EQ(PLXFRM.pageScale, 5.0f);
  EXPECT_EQ(PLXFRM.pageOriginX, 50.0f);
  EXPECT_EQ(PLXFRM.pageOriginY, 50.0f);
  EXPECT_EQ(deviceX(0.0f), 250);
  EXPECT_EQ(deviceY(100.0f), 500);

  // An empty, reversed or non-finite extent counts as 1.0: no division by zero.
  const float inf = std::numeric_limits<float>::infinity();
  const PlotWindow degenerate[] = {
      {5.0f, 5.0f, 0.0f, 80.0f}, {10.0f, 5.0f, 0.0f, 80.0f}, {0.0f, inf, 0.0f, 80.0f},
      {0.0f, 100.0f, 80.0f, 80.0f}, {0.0f, 100.0f, 90.0f, 80.0f}};
  for (const PlotWindow& w : degenerate) {
    mapPage(w, 0.0f, 1000.0f, 500.0f, 0.0f, 0.0f);
    EXPECT_TRUE(std::isfinite(PLXFRM.pageScale)) << w.xMin << " " << w.xMax;
  }
  mapPage({5.0f, 5.0f, 0.0f, 1000.0f}, 0.0f, 700.0f, 5000.0f, 0.0f, 0.0f);
  EXPECT_EQ(PLXFRM.pageScale, 5.0f);  // the y axis: 5000 / 1000, x gives 700 / 1.0
  mapPage({5.0f, 5.0f, 0.0f, 100.0f}, 0.0f, 700.0f, 5000.0f, 0.0f, 0.0f);
  EXPECT_EQ(PLXFRM.pageScale, 50.0f);
  mapPage({5.0f, 5.0f, 0.0f, 0.0f}, 0.0f, 700.0f, 500.0f, 0.0f, 0.0f);
  EXPECT_EQ(PLXFRM.pageScale, 500.0f);
}

TEST_F(Contract, ADriverWritesThePlotFile) {
  ASSERT_TRUE(openPlotFile());
  useDriver(4, colourDriver);
  PLTGRA();
  // The page mapping of the raised window (top 80 + 2 x 9.0): scale min(10, 5.102).
  PLTPAR.pointX = 50.0f;
  PLTPAR.pointY = 49.0f;
  PLTDSP(15);
  PLTPAR.pointX = 0.0f;
  PLTPAR.pointY = 1.0f;
  PLTDSP(15);
  // Through transformation 2, which halves the picture about the origin.
  PLTDEV.mapScale = 0.5f;
  PLTPAR.selectTransform = 2;
  PLTDSP(kOpSelectTransform);
  PLTPAR.pointX = 100.0f;
  PLTPAR.pointY = 98.0f;
  PLTDSP(15);
  PLTDSP(kOpClose);
  EXPECT_EQ(plotLines(),
            (std::vector<std::string>{"open", "L 500 250", "L 244 5", "L 500 250", "close"}));
  EXPECT_EQ(PLTCAP.words, kConsoleWords);
}

}  // namespace
}  // namespace kvr
