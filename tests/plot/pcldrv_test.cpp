#include "plot/pcl/pcldrv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "pclfixture.h"
#include "plot/pcl/pclsta.h"
#include "plot/pcl/raspag.h"
#include "plot/plxfrm.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

using test::kDeskjet;
using test::kLaserjet;
using test::kPaintjet;
using test::PclJob;
using test::readPcl;

const std::string kEsc = "\x1b";

using PclDriver = test::PclFixture;

TEST_F(PclDriver, ALaserjetWithoutSettingsSendsOneBlankLandscapePage) {
  test::writeFile("picture.pcl", "earlier content of the plot file\n");
  open(kLaserjet);
  EXPECT_TRUE(PCLSTA.landscape);
  EXPECT_EQ(PCLSTA.dpi, 300);
  EXPECT_EQ(PCLSTA.wpix, 3000);
  EXPECT_EQ(PCLSTA.hpix, 2248);
  EXPECT_EQ(PCLSTA.outputRows, 2400);
  EXPECT_EQ(PCLSTA.wdev, 3000.0f);
  EXPECT_EQ(PCLSTA.hdev, 2250.0f);
  EXPECT_EQ(PCLSTA.engine.sx, 2999.0f / 3000.0f);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Laserjet");
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{2, 0, 1, 0, 1, 2, 6, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTDEV.colourCount, 15);
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);

  const std::string b = close();
  ASSERT_EQ(b.size(), 921036u);
  EXPECT_EQ(b.substr(0, 30), kEsc + "E" + kEsc + "&a0128H" + kEsc + "&a0192V" + kEsc + "*t300R" + kEsc + "*r1A");
  const std::string row = kEsc + "*b300W" + std::string(300, '\0');
  size_t wrongRows = 0;
  for (size_t k = 0; k < 3000; ++k) wrongRows += b.compare(30 + k * 307, 307, row) != 0;
  EXPECT_EQ(wrongRows, 0u);
  EXPECT_EQ(b.substr(30 + 3000 * 307), kEsc + "*rB" + kEsc + "E");
  EXPECT_TRUE(unit6Lines().empty());
}

TEST_F(PclDriver, ThePageComesFromTheOrientationTheGeometryAndThePageSettings) {
  struct Case {
    std::string settings;
    std::string geometry;  // TL_RASGEOM
    int32_t wpix, hpix, outputRows;
    std::string x, y;  // the cursor commands
    size_t rows, rowBytes;
  };
  const std::string ignoredSize = "Quorin.*.Laserjet.PageSize: 5x5\n";
  const Case cases[] = {
      {"", "", 3000, 2248, 2400, "&a0128H", "&a0192V", 3000, 300},
      {"Quorin.*.Laserjet.Orientation: PORTRAIT\n", "", 2248, 2248, 2248, "&a0128H", "&a0192V", 2248, 281},
      {"Quorin.*.Laserjet.Orientation: upright\n", "", 3000, 2248, 2400, "&a0128H", "&a0192V", 3000, 300},
      {ignoredSize, "8x10+0.5+0.5", 2400, 2400, 2400, "&a0360H", "&a0360V", 2400, 300},
      {"", "8x10", 2400, 2400, 2400, "&a0128H", "&a0192V", 2400, 300},
      {"", "8+10", 3000, 2248, 2400, "&a0128H", "&a0192V", 3000, 300},
      {"", " 8x10", 3000, 2248, 2400, "&a0128H", "&a0192V", 3000, 300},  // begins with a blank
      {"Quorin.*.Laserjet.PageSizeUnits: mm\nQuorin.*.Laserjet.PageSize: 210x297\n", "",
       2480, 2400, 2400, "&a0128H", "&a0192V", 2480, 300},
      // A portrait page 10 inches wide: rows of 375 bytes, the whole row buffer.
      {"Quorin.*.Laserjet.Orientation: portrait\n", "10x7.5", 3000, 2248, 2248, "&a0128H", "&a0192V", 2248, 375},
      // A width or offset not above 0 is not taken.
      {"Quorin.*.Laserjet.PageSize: -8x10\nQuorin.*.Laserjet.PageMargins: -0.5+0.5\n", "",
       3000, 2400, 2400, "&a0128H", "&a0360V", 3000, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings + " / " + c.geometry);
    settings(c.settings);
    if (c.geometry.empty()) {
      unsetenv("TL_RASGEOM");
    } else {
      setenv("TL_RASGEOM", c.geometry.c_str(), 1);
    }
    open(kLaserjet);
    EXPECT_EQ(PCLSTA.wpix, c.wpix);
    EXPECT_EQ(PCLSTA.hpix, c.hpix);
    EXPECT_EQ(PCLSTA.outputRows, c.outputRows);
    const PclJob job = readPcl(close());
    ASSERT_TRUE(job.wellFormed) << job.fault;
    EXPECT_EQ(job.count(c.x), 1u);
    EXPECT_EQ(job.count(c.y), 1u);
    ASSERT_EQ(job.pages.size(), 1u);
    const test::PclPage& page = job.pages[0];
    EXPECT_EQ(page.rows.size(), c.rows);
    EXPECT_EQ(std::count(page.recordCounts.begin(), page.recordCounts.end(), static_cast<int32_t>(c.rowBytes)),
              static_cast<std::ptrdiff_t>(c.rows));
  }
}

TEST_F(PclDriver, TheResolutionSwitchesWinInTheirOrder) {
  struct Case {
    std::string ras180;
    std::string settings;
    std::string command;
    int32_t wpix;
  };
  const Case cases[] = {
      {"", "", "*t300R", 3000},
      {"F", "", "*t150R", 1496},
      {"f", "Quorin.*.Laserjet.HighRes: T\n", "*t300R", 3000},
      {"F", "Quorin.*.Laserjet.HighRes: T\nQuorin.*.Laserjet.LowRes: T\n", "*t150R", 1496},
      {"", "Quorin.*.Laserjet.LowRes: true\n", "*t150R", 1496},
      {"", "Quorin.*.Laserjet.LowRes: no\n", "*t300R", 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ras180 + " / " + c.settings);
    settings(c.settings);
    if (c.ras180.empty()) {
      unsetenv("TL_RAS180");
    } else {
      setenv("TL_RAS180", c.ras180.c_str(), 1);
    }
    open(kLaserjet);
    EXPECT_EQ(PCLSTA.wpix, c.wpix);
    const PclJob job = readPcl(close());
    EXPECT_EQ(job.count(c.command), 1u);
  }
}

TEST_F(PclDriver, DebugLinesTellTheSettingsOfTheJob) {
  setenv("TL_DEBUG", "true", 1);
  settings("Quorin.*.Deskjet.Model: DJ 550C colour\nQuorin.*.Deskjet.SymbolScale: 2.5\n");
  open(kDeskjet);
  close();
  const std::vector<std::string> lines = unit6Lines();
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has(" KAVRO PCL Driver:  Driver Version 29"));
  EXPECT_TRUE(has(" Deskjet  Model DJ "));  // the Model text up to its first blank
  EXPECT_TRUE(has(" Orientation : Landscape"));
  EXPECT_TRUE(has(" High resolution mode : 150 DPI"));  // the Deskjet has one resolution
  EXPECT_TRUE(has(" Dithering will be used"));
  EXPECT_TRUE(has(" Using Run Length Encoding"));
  EXPECT_TRUE(has(" Will terminate plot with FF"));
  EXPECT_TRUE(has(" SymbolScale is 2.500000"));
  EXPECT_TRUE(has(" Graphics Depletion is 2"));
  EXPECT_TRUE(has(" Transparency Mode is OFF"));

  // The setting Debug wins over TL_DEBUG.
  settings("Quorin.*.Laserjet.Debug: FALSE\n");
  const size_t before = unit6Lines().size();
  open(kLaserjet);
  close();
  EXPECT_EQ(unit6Lines().size(), before);
}

// A thick line of width 10^6 to a far end draws the copies the page shows, not one a unit
// of its width; to a point that is not a number it draws none.
TEST_F(PclDriver, AThickLineToAFarEndDrawsThePageItsCopiesReach) {
  open(kLaserjet);
  PLTPAR.lineAttribute = -1000000;
  PLTDSP(kOpLineAttribute);
  RasterEngine& e = pclEngine();
  const int64_t page = int64_t{e.columns} + (e.highest - e.lowest + 1);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float x, y;
    bool drawn;
  };
  for (const Case far : {Case{1.0e30f, 100.0f, true}, Case{-1.0e8f, 1.0e8f, true},
                         Case{nan, 100.0f, false}, Case{100.0f, nan, false}}) {
    SCOPED_TRACE(far.x);
    e.thickCopies = 0;
    move(10.0f, 10.0f);
    draw(far.x, far.y);
    EXPECT_EQ(e.thickCopies > 0, far.drawn);
    EXPECT_LE(e.thickCopies, page);
  }
  const PclJob job = readPcl(close());
  EXPECT_TRUE(job.wellFormed) << job.fault;
}

TEST_F(PclDriver, CloseGivesTheDeviceWordsAndColourTablesBack) {
  PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  PLTDEV.colourCount = 5;
  PLTDEV.currentColour = 4;
  PCLCTB.T(1) = 11;
  PCLCTB.count = 3;
  open(kDeskjet);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Deskjet");
  EXPECT_EQ(PLTCAP.word(2), 9);
  EXPECT_EQ(PLTDEV.colourCount, 19);
  EXPECT_EQ(PCLCTB.T(1), 50);
  colour(3);
  close();
  EXPECT_EQ(PLTCAP.words[0], 1);
  EXPECT_EQ(PLTCAP.word(2), 9);
  EXPECT_EQ(PLTDEV.colourCount, 5);
  EXPECT_EQ(PLTDEV.currentColour, 0);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
  EXPECT_EQ(PCLCTB.T(1), 11);
  EXPECT_EQ(PCLCTB.count, 3);

  settings("Quorin.*.Paintjet.LowRes: TRUE\n");
  open(kPaintjet);
  EXPECT_EQ(PLTCAP.word(2), -9);  // the palette model
  EXPECT_EQ(PLTDEV.colourCount, 14);
  close();
}

TEST_F(PclDriver, ColoursOutsideTheTablesLeaveLinesAndTextsAlone) {
  open(kDeskjet);
  const RasterEngine& e = PCLSTA.engine;
  EXPECT_EQ(e.textColour, 1);
  colour(3);
  EXPECT_EQ(e.lineColour, 160);
  EXPECT_EQ(e.textColour, 160);
  for (int32_t c : {8, 0, 9, -33, 1000}) {
    SCOPED_TRACE(c);
    colour(c);
    EXPECT_EQ(PLTDEV.currentColour, c);
    EXPECT_EQ(e.lineColour, 160);
    EXPECT_EQ(e.textColour, 160);
  }
  colour(-2);
  EXPECT_EQ(e.lineColour, 79);

  // A marker: colour 8 is the paper, an index outside the tables changes nothing.
  PLTPAR.marker = 1;
  PLTPAR.colour = 8;
  PLTDSP(kOpMarker);
  EXPECT_EQ(e.lineColour, 7);
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  PLTPAR.colour = 9;
  PLTDSP(kOpMarker);
  EXPECT_EQ(e.lineColour, 7);
  EXPECT_EQ(PLTDEV.currentColour, 9);
  PLTPAR.colour = 4;
  PLTDSP(kOpMarker);
  EXPECT_EQ(e.lineColour, 170);
  EXPECT_EQ(e.textColour, 79);
  close();
}

// The dither code each pixel of a filled square holds, read back through its cells.
int32_t filledCode(const std::array<int32_t, 2>& pixel) {
  for (int32_t code : {50, 54, 59, 64, 69, 70, 74, 79, 99, 104, 124, 150, 160, 170, 174}) {
    bool all = true;
    for (int32_t dr = 0; dr < 2; ++dr) {
      for (int32_t dx = 0; dx < 2; ++dx) {
        const int32_t x = pixel[0] + dx;
        const int32_t r = pixel[1] + dr;
        int32_t mask = 0;
        RASDIT(code, 1 + (x % 2 != 0 ? 1 : 0) + (r % 2 != 0 ? 2 : 0), mask);
        all = all && RASPAG.pixel(x, r) == mask;
      }
    }
    if (all) return code;
  }
  return -1;
}

TEST_F(PclDriver, FillColoursFollowTheColourTable) {
  open(kDeskjet);
  struct Case {
    int32_t table;
    int32_t colour;
    int32_t code;
  };
  const Case cases[] = {
      {0, 3, 174},   // table 0: the paper
      {1, -2, 79},   // N(2)
      {1, 3, 160},   // T(3)
      {1, 9, 174},   // outside T: N(0)
      {1, -33, 174},  // outside N: N(0)
      {1, 8, 174},
      {2, -1, 54},   // R(1)
      {2, 19, 124},  // R(19)
      {2, 40, 174},  // outside R: N(0)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.table) + " " + std::to_string(c.colour));
    colourTable(c.table);
    square(c.colour, 20.0f, 20.0f, 30.0f);
    EXPECT_EQ(filledCode(pixelOf(35.0f, 35.0f)), c.code);
  }
  // Two points fill nothing.
  colourTable(1);
  square(-2, 60.0f, 20.0f, 10.0f);
  const std::array<int32_t, 2> at = pixelOf(65.0f, 25.0f);
  square(3, 60.0f, 20.0f, 10.0f);
  EXPECT_EQ(filledCode(at), 160);
  fillWith(-2, {{55.0f, 15.0f}, {75.0f, 35.0f}});
  EXPECT_EQ(filledCode(at), 160);
  close();
}

TEST_F(PclDriver, ColourTablesChangeOnlyWhereTheModelDithers) {
  settings("Quorin.*.Paintjet.LowRes: TRUE\n");
  open(kPaintjet);
  const PclCtb before = PCLCTB;
  const int32_t count = PLTDEV.colourCount;
  colourTable(3);
  EXPECT_EQ(PLTDEV.colourTableCount, 3);
  EXPECT_EQ(PLTDEV.colourCount, count);
  EXPECT_EQ(PCLCTB.R(1), before.range[0]);
  EXPECT_EQ(PCLCTB.count, before.count);
  close();

  open(kDeskjet);
  colourTable(3);
  EXPECT_EQ(PLTDEV.colourCount, 5);
  EXPECT_EQ(PCLCTB.R(5), 174);
  EXPECT_EQ(PCLCTB.T(1), 50);  // only the count and R change
  colourTable(10);
  EXPECT_EQ(PLTDEV.colourCount, 19);
  // A new page starts again with table 0 and the default tables.
  colourTable(4);
  PLTDSP(kOpNewPage);
  EXPECT_EQ(PLTDEV.colourTableCount, 0);
  EXPECT_EQ(PLTDEV.colourCount, 19);
  EXPECT_EQ(PCLCTB.R(1), 54);
  close();

  open(kLaserjet);
  colourTable(3);
  EXPECT_EQ(PLTDEV.colourCount, 15);
  close();
}

TEST_F(PclDriver, MonochromeFillsAreGreysOfTheColourIndex) {
  open(kLaserjet);
  // Colour -3 is grey 45, level 2: rows F, F, F, 6 from table row 0.
  square(-3, 20.0f, 20.0f, 30.0f);
  const auto [x0, r0] = pixelOf(35.0f, 35.0f);
  for (int32_t r = r0; r < r0 + 4; ++r) {
    for (int32_t x = x0; x < x0 + 4; ++x) {
      const bool blankInPattern = (((-r) % 4 + 4) % 4) == 3 && (((-x) % 4 + 4) % 4 == 0 || ((-x) % 4 + 4) % 4 == 3);
      EXPECT_EQ(ink(x, r), !blankInPattern) << x << " " << r;
    }
  }
  // Colour -20 is grey 300: no ink; colour 8 the paper; colour 0 too.
  for (int32_t c : {-20, 8, 0}) {
    square(-3, 20.0f, 20.0f, 30.0f);
    square(c, 20.0f, 20.0f, 30.0f);
    EXPECT_FALSE(ink(x0, r0)) << c;
    EXPECT_FALSE(ink(x0 + 1, r0 + 1)) << c;
  }
  close();
}

TEST_F(PclDriver, LinesTextsAndMarkersReachThePrintedPage) {
  settings("Quorin.*.Laserjet.Orientation: portrait\n");
  open(kLaserjet);
  // Thick lines are kept inside the window of the defined transformation.
  PLTPAR.defineTransform = 1;
  PLTPAR.x[0] = 0.0f;
  PLTPAR.x[1] = 100.0f;
  PLTPAR.y[0] = 0.0f;
  PLTPAR.y[1] = 80.0f;
  PLTDSP(33);
  move(10.0f, 10.0f);
  draw(90.0f, 70.0f);
  PLTPAR.lineAttribute = -2;
  PLTDSP(kOpLineAttribute);
  move(10.0f, 60.0f);
  draw(90.0f, 60.0f);
  move(20.0f, 40.0f);
  text("Hello");
  PLTPAR.marker = 9;
  PLTPAR.colour = 1;
  PLTDSP(kOpMarker);
  PLTPAR.pointCount = 3;
  PLTPAR.x[0] = 10.0f;
  PLTPAR.y[0] = 5.0f;
  PLTPAR.x[1] = 50.0f;
  PLTPAR.y[1] = 30.0f;
  PLTPAR.x[2] = 90.0f;
  PLTPAR.y[2] = 5.0f;
  PLTDSP(kOpPolyline);
  // Every stored pixel is printed where it lies, and nothing else.
  std::vector<std::array<int32_t, 2>> inked;
  for (int32_t r = 1; r <= PCLSTA.outputRows; ++r) {
    for (int32_t x = 1; x <= PCLSTA.wpix; ++x) {
      if (ink(x, r)) inked.push_back({x, r});
    }
  }
  // The thick line has two copies on each side, a device unit apart.
  const auto [lx, lr] = pixelOf(50.0f, 60.0f);
  EXPECT_TRUE(ink(lx, lr - 1) && ink(lx, lr) && ink(lx, lr + 1));
  EXPECT_FALSE(ink(lx, lr - 4) || ink(lx, lr + 4));
  const PclJob job = readPcl(close());
  ASSERT_TRUE(job.wellFormed) << job.fault;
  ASSERT_EQ(job.pages.size(), 1u);
  EXPECT_GT(inked.size(), 1000u);
  EXPECT_EQ(job.pages[0].inked(), inked.size());
  size_t missing = 0;
  for (const auto& [x, r] : inked) missing += printed(job.pages[0], x, r) == 0;
  EXPECT_EQ(missing, 0u);
}

TEST_F(PclDriver, ColourPagesPrintTheirPlanes) {
  open(kDeskjet);
  colour(3);  // orange: 160
  move(10.0f, 10.0f);
  draw(90.0f, 70.0f);
  square(-2, 60.0f, 10.0f, 20.0f);
  const PclJob job = readPcl(close());
  ASSERT_TRUE(job.wellFormed) << job.fault;
  ASSERT_EQ(job.pages.size(), 1u);
  const test::PclPage& page = job.pages[0];
  EXPECT_EQ(page.rows.size(), 1496u);
  size_t differ = 0;
  size_t coloured = 0;
  for (int32_t r = 1; r <= PCLSTA.outputRows; ++r) {
    for (int32_t x = 1; x <= PCLSTA.wpix; ++x) {
      differ += printed(page, x, r) != RASPAG.pixel(x, r);
      coloured += RASPAG.pixel(x, r) != 7;
    }
  }
  EXPECT_EQ(differ, 0u);
  EXPECT_GT(coloured, 500u);
  EXPECT_TRUE(std::all_of(page.planesPerRow.begin(), page.planesPerRow.end(), [](int32_t n) { return n == 3; }));
}

TEST_F(PclDriver, EveryPageIsAJobOfItsOwn) {
  open(kLaserjet);
  move(10.0f, 40.0f);
  draw(90.0f, 40.0f);
  const auto [x, r] = pixelOf(50.0f, 40.0f);
  PLTDSP(kOpNewPage);
  move(10.0f, 20.0f);
  draw(90.0f, 20.0f);
  const auto [x2, r2] = pixelOf(50.0f, 20.0f);
  const std::string b = close();
  EXPECT_EQ(b.compare(0, 2, kEsc + "E"), 0);
  const PclJob job = readPcl(b);
  ASSERT_TRUE(job.wellFormed) << job.fault;
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_NE(printed(job.pages[0], x, r), 0);
  EXPECT_EQ(printed(job.pages[1], x, r), 0);
  EXPECT_EQ(printed(job.pages[0], x2, r2), 0);
  EXPECT_NE(printed(job.pages[1], x2, r2), 0);
  // Reset, page, form feed; reset, page, form feed.
  const std::vector<std::string> controls = job.controls();
  const std::vector<std::string> one = {"E", "&a0128H", "&a0192V", "*t300R", "*r1A", "*rB", "E"};
  std::vector<std::string> two = one;
  two.insert(two.end(), one.begin(), one.end());
  EXPECT_EQ(controls, two);

  setenv("TL_RASFF", "False", 1);
  open(kLaserjet);
  EXPECT_EQ(readPcl(close()).controls().back(), "*rB");
}

TEST_F(PclDriver, ADegenerateWindowAndALongTextDrawSafely) {
  PLTDEV.window = {5.0f, 5.0f, 0.0f, 80.0f};
  open(kLaserjet);
  EXPECT_TRUE(std::isfinite(PLXFRM.pageScale));
  EXPECT_GT(PLXFRM.pageScale, 0.0f);
  move(5.0f, 10.0f);
  draw(5.0f, 70.0f);
  close();

  PLTDEV.window = {0.0f, 100.0f, 0.0f, 80.0f};
  open(kLaserjet);
  move(0.0f, 40.0f);
  text(std::string(100, 'H'));
  // Cells advance by 21 pixels at 300 dpi; only the first 80 characters are drawn.
  const std::array<int32_t, 2> start = pixelOf(0.0f, 40.0f);
  const int32_t x0 = start[0];
  const int32_t r0 = start[1];
  auto cellInked = [&](int32_t k) {
    for (int32_t x = x0 + 21 * k; x < x0 + 21 * k + 15; ++x) {
      for (int32_t r = r0 - 40; r <= r0; ++r) {
        if (ink(x, r)) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(cellInked(0));
  EXPECT_TRUE(cellInked(79));
  EXPECT_FALSE(cellInked(80));
  EXPECT_FALSE(cellInked(99));
  close();
}

TEST_F(PclDriver, NothingHappensBeforeTheFirstOpen) {
  commandLine("AB");
  useDriver(kLaserjet, PCLLAS);
  const std::vector<uint8_t> before(RASPAG.bytes.begin(), RASPAG.bytes.end());
  PLTDSP(kOpNewPage);
  colour(3);
  draw(50.0f, 50.0f);
  square(-3, 10.0f, 10.0f, 50.0f);
  text("AB");
  PLTPAR.characterSize = 2;
  PLTDSP(12);
  PLTPAR.marker = 1;
  PLTDSP(kOpMarker);
  PLTDSP(kOpClose);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), RASPAG.bytes.begin()));
  EXPECT_FALSE(PCLSTA.open);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"home", "unit6.out"}));
  // Opcodes beyond the driver's return at once.
  PLTDSP(22);
  PLTDSP(36);
  PLTDSP(0);
}

TEST_F(PclDriver, ATextInquiryDrawsNothing) {
  open(kLaserjet);
  PLTPAR.textCount = -5;
  PLTDSP(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, -99);
  EXPECT_EQ(readPcl(close()).pages.at(0).inked(), 0u);
}

}  // namespace
}  // namespace kvr
