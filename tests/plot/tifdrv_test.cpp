#include "plot/tiff/tifdrv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "command/cmdlin.h"
#include "platform/fmtedit.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/tiff/tifsta.h"
#include "plot/tiff/tifwrite.h"
#include "rasterfixture.h"
#include "runtime/codtxt.h"
#include "runtime/iomode.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "testsupport.h"

namespace kvr {
namespace {

using test::be16;
using test::be32;
using test::byteAt;
using test::Directory;
using test::directoryOf;

constexpr int32_t kTiff = 12;

// The TIFF driver as the dispatcher reaches it (device 12), the plot file "picture.tif"
// opened in the directory, the console's page extents (1..679 by 1..480) and the picture
// window 0..100 by 0..80 of the plot fixture; no transformation (1) and no debug.
class TiffDriver : public test::RasterFixture {
 protected:
  void SetUp() override {
    RasterFixture::SetUp();
    env_ = std::make_unique<test::SavedEnv>(std::vector<std::string>{"TL_DEBUG"});
    unsetenv("TL_DEBUG");
    TIFSTA = TifSta{};
    CMDLIN = CmdLin{};
    useDriver(kTiff, TIFDRV);
    PLTDEV.window2 = {1.0f, 679.0f, 1.0f, 480.0f};
    PLTDEV.selectedTransform = 1;
  }
  void TearDown() override {
    TifClose();
    TIFSTA = TifSta{};
    CMDLIN = CmdLin{};
    IOMODE = IoMode{};
    env_.reset();
    RasterFixture::TearDown();
  }

  static void settings(const std::string& lines) { test::writeFile("quorin.ini", lines); }

  static void commandLine(const std::string& s) {
    for (size_t k = 0; k < s.size(); ++k) CMDLIN.lineCodes[k] = codeOf(s[k]);
  }

  void open() {
    ASSERT_TRUE(openPlotFile("picture.tif"));
    PLTDSP(kOpOpen);
  }

  // Closes the picture and answers the file's bytes.
  std::string close() {
    PLTDSP(kOpClose);
    return test::readFile(dir.file("picture.tif"));
  }

  // Picture points of the window 0..100 by 0..80.
  static void fillWith(int32_t colour, std::vector<std::array<float, 2>> points) {
    PLTPAR.colour = colour;
    PLTPAR.pointCount = static_cast<int32_t>(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
      PLTPAR.x[k] = points[k][0];
      PLTPAR.y[k] = points[k][1];
    }
    PLTDSP(kOpFill);
  }
  static void square(int32_t colour, float x, float y, float side) {
    fillWith(colour, {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
  }
  static void moveDraw(float x1, float y1, float x2, float y2) {
    PLTPAR.pointX = x1;
    PLTPAR.pointY = y1;
    PLTDSP(kOpMove);
    PLTPAR.pointX = x2;
    PLTPAR.pointY = y2;
    PLTDSP(kOpDraw);
  }
  static void text(const std::string& s) {
    for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
    PLTPAR.textCount = static_cast<int32_t>(s.size());
    PLTDSP(kOpText);
  }

  // The raster cell of picture point (X, Y) as the driver maps it.
  static std::pair<int32_t, int32_t> cellOf(float x, float y) {
    const float dx = (x - PLXFRM.pageOriginX) * PLXFRM.pageScale + PLXFRM.pageOffsetX;
    const float dy = (y - PLXFRM.pageOriginY) * PLXFRM.pageScale + PLXFRM.pageOffsetY;
    const int32_t column = intOf(dx * TIFSTA.engine.sx) + 1;
    const int32_t height = intOf(dy * TIFSTA.engine.sy) + 1;
    return {column, TIFSTA.height - height + 1};
  }

  // Channel CHANNEL (1 or 2) of cell (X, ROW) of the image in B.
  static uint32_t pixel(const std::string& b, int32_t x, int32_t row, int32_t channel = 1) {
    const Directory d = directoryOf(b);
    const uint32_t width = be16(b, d.entries.at(256).field);
    const uint32_t samples = be16(b, d.entries.at(277).field);
    const size_t cell = static_cast<size_t>(row - 1) * width + static_cast<size_t>(x - 1);
    return byteAt(b, 8 + cell * samples + static_cast<size_t>(channel - 1));
  }
  static uint32_t pixelAt(const std::string& b, float x, float y, int32_t channel = 1) {
    const auto [column, row] = cellOf(x, y);
    return pixel(b, column, row, channel);
  }

 private:
  std::unique_ptr<test::SavedEnv> env_;
};

TEST_F(TiffDriver, TheRasterHasOnePixelPerDeviceUnitOfThePageExtents) {
  open();
  EXPECT_EQ(TIFSTA.width, 679);
  EXPECT_EQ(TIFSTA.height, 480);
  EXPECT_EQ(TIFSTA.engine.sx, 678.0f / 679.0f);
  EXPECT_EQ(TIFSTA.engine.sy, 479.0f / 480.0f);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "TIFF");
  EXPECT_EQ(PLTCAP.words, (std::array<int32_t, 18>{2, 9, 1, 0, 1, 2, 6, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(PLTPAR.markerScale, 1.0f);
  // The band above the picture is 50 device units: the previous cell is 9 high.
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 480.0f / 130.0f);
  EXPECT_FLOAT_EQ(PLXFRM.pageOriginY, 65.0f);
  EXPECT_EQ(PLXFRM.pageOffsetX, 339.5f);
  const std::string b = close();
  const Directory d = directoryOf(b);
  EXPECT_EQ(be16(b, d.entries.at(256).field), 679u);
  EXPECT_EQ(be16(b, d.entries.at(257).field), 480u);
  test::expectTiffinfoReads(dir.file("picture.tif"));

  PLTDEV.window2 = {1.0f, 800.0f, 1.0f, 600.0f};
  PLTDEV.cellHeight = 40.0f;
  open();
  EXPECT_EQ(TIFSTA.width, 800);
  EXPECT_EQ(TIFSTA.height, 600);
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 600.0f / 160.0f);  // the band is twice the cell
  close();
}

// A thick line of width 10^6 to a far end costs what its copies on the page cost, not a
// copy a unit of its width: fewer copies than the page has columns and rows together; to
// a point that is not a number nothing at all.
TEST_F(TiffDriver, AThickLineToAFarEndDrawsThePageItsCopiesReach) {
  open();
  const RasterEngine& e = TIFSTA.engine;
  const int64_t page = int64_t{e.columns} + (e.highest - e.lowest + 1);
  struct Case {
    float x, y;
  };
  for (int32_t width : {1000000, std::numeric_limits<int32_t>::max()}) {
    PLTPAR.lineAttribute = -width;
    PLTDSP(kOpLineAttribute);
    for (const Case far : {Case{1.0e30f, 100.0f}, Case{1.0e8f, 100.0f}, Case{100.0f, -1.0e30f},
                           Case{std::numeric_limits<float>::infinity(), 50.0f}}) {
      SCOPED_TRACE(std::to_string(width) + " " + std::to_string(far.x));
      TIFSTA.engine.thickCopies = 0;
      moveDraw(10.0f, 10.0f, far.x, far.y);
      EXPECT_GT(e.thickCopies, 0);
      EXPECT_LE(e.thickCopies, page);
    }
    for (const Case nan : {Case{std::numeric_limits<float>::quiet_NaN(), 100.0f},
                           Case{100.0f, std::numeric_limits<float>::quiet_NaN()}}) {
      TIFSTA.engine.thickCopies = 0;
      moveDraw(10.0f, 10.0f, nan.x, nan.y);
      EXPECT_EQ(e.thickCopies, 0);
    }
  }
  close();
}

TEST_F(TiffDriver, CloseGivesTheDeviceWordsAndColourTablesBack) {
  PLTCAP.words = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  PLTDEV.colourCount = 5;
  PLTCTB.count(10) = 3;
  PLTCTB.shade(10, 3, 8) = 77;
  PLRGB.red(1) = 12;
  open();
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTCTB.shade(10, 3, 8), 1);  // white background: shades 1 and 8 exchanged
  PLTPAR.textCount = -3;
  PLTDSP(kOpText);
  close();
  EXPECT_EQ(PLTCAP.words[0], 1);
  EXPECT_EQ(PLTDEV.colourCount, 5);
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
  EXPECT_EQ(PLTCTB.count(10), 3);
  EXPECT_EQ(PLTCTB.shade(10, 3, 8), 77);
  EXPECT_EQ(PLRGB.red(1), 12);
  EXPECT_EQ(PLTCTB.textAnswer, -99);
}

TEST_F(TiffDriver, ABlankCommandLineGivesABlankDescriptionAndTheVersionTheSoftware) {
  IOMODE.programName = {};
  for (size_t k = 0; k < 3; ++k) IOMODE.programName[k] = codeOf("KAV"[k]);
  IOMODE.programNameLength = 3;
  IOMODE.version = 9310;
  IOMODE.release = 7;
  IOMODE.releaseLetter = 2;
  open();
  const std::string b = close();
  const Directory d = directoryOf(b);
  EXPECT_EQ(d.entries.at(270).count, 2u);
  EXPECT_EQ(b.substr(d.entries.at(270).field, 4), std::string(" \0\0\0", 4));
  const test::Entry software = d.entries.at(305);
  EXPECT_EQ(software.count, 16u);
  EXPECT_EQ(b.substr(be32(b, software.field), 16), std::string("KAV 9.3.1-07.B \0", 16));
}

TEST_F(TiffDriver, TheDescriptionIsTheCommandLineStripped) {
  commandLine("   draw the  beam " + std::string(100, 'x'));
  open();
  const std::string b = close();
  const test::Entry e = directoryOf(b).entries.at(270);
  const std::string want = "draw the  beam " + std::string(79 - 18, 'x');
  EXPECT_EQ(e.count, 78u);  // 76 characters, the NUL and a pad byte
  EXPECT_EQ(b.substr(be32(b, e.field), 78), want + std::string(2, '\0'));
}

TEST_F(TiffDriver, ColourEightIsTheBackgroundOfTheChosenColour) {
  struct Case {
    std::string setting;
    uint32_t background;
  };
  for (const Case& c : {Case{"", 64}, Case{"Quorin.*.TIFF.Background: black\n", 71},
                        Case{"Quorin.*.TIFF.Background: BLACK grey\n", 71},
                        Case{"Quorin.*.TIFF.Background: Black\n", 71},
                        Case{"Quorin.*.TIFF.Background: blackish\n", 64},
                        Case{"Quorin.*.TIFF.Background: white\n", 64}}) {
    SCOPED_TRACE(c.setting);
    settings(c.setting);
    open();
    square(8, 10.0f, 10.0f, 20.0f);
    square(2, 50.0f, 10.0f, 20.0f);
    fillWith(3, {{80.0f, 10.0f}, {95.0f, 30.0f}});  // two points: nothing
    PLTDSP(kOpNewPage);                             // no second page
    const std::string b = close();
    EXPECT_EQ(pixelAt(b, 90.0f, 70.0f), c.background);
    EXPECT_EQ(pixelAt(b, 20.0f, 20.0f), c.background);  // colour 8
    EXPECT_EQ(pixelAt(b, 60.0f, 20.0f), 65u);           // colour 2: palette entry 2
    EXPECT_EQ(pixelAt(b, 88.0f, 20.0f), c.background);
    const uint32_t map = be32(b, directoryOf(b).entries.at(320).field);
    for (uint32_t component = 0; component < 3; ++component) {
      EXPECT_EQ(be16(b, map + 512 * component + 2 * 64), 65535u);  // entry 1, white
      EXPECT_EQ(be16(b, map + 512 * component + 2 * 71), 0u);      // entry 8, black
    }
  }
}

TEST_F(TiffDriver, LinesMarkersAndTextsTakeTheColourSet) {
  open();
  PLTPAR.colour = 2;
  PLTDSP(kOpColour);
  moveDraw(10.0f, 40.0f, 90.0f, 40.0f);
  const auto [x1, row] = cellOf(10.0f, 40.0f);
  // The marker is drawn only inside the window of the defined transformation.
  PLTPAR.defineTransform = 1;
  PLTPAR.x[0] = 0.0f;
  PLTPAR.x[1] = 100.0f;
  PLTPAR.y[0] = 0.0f;
  PLTPAR.y[1] = 80.0f;
  PLTDSP(kOpDefineTransform);
  PLTPAR.colour = 6;
  PLTPAR.marker = 4;
  PLTPAR.pointX = 50.0f;
  PLTPAR.pointY = 60.0f;
  PLTDSP(kOpMove);
  PLTDSP(kOpMarker);
  EXPECT_EQ(PLTDEV.lineAttribute, 1);
  EXPECT_EQ(PLTDEV.currentColour, 6);
  // The marker's half-size: a quarter of the character height in picture units, taken
  // as device units.
  const float d = 0.25f * PLTDEV.cellHeight;
  const float left = TIFSTA.currentX - d;
  const float bottom = TIFSTA.currentY - d;
  const std::string b = close();
  EXPECT_EQ(pixel(b, x1, row), 65u);
  EXPECT_EQ(pixel(b, x1 + 100, row), 65u);
  EXPECT_EQ(pixel(b, intOf(left * TIFSTA.engine.sx) + 1, TIFSTA.height - intOf(bottom * TIFSTA.engine.sy)),
            69u);
}

TEST_F(TiffDriver, ATextDrawsItsFirst80Characters) {
  open();
  PLTPAR.colour = 2;
  PLTDSP(kOpColour);
  PLTPAR.pointX = -36.0f;  // near the left edge of the raster
  PLTPAR.pointY = 40.0f;
  PLTDSP(kOpMove);
  text(std::string(80, 'H') + std::string(20, 'M'));
  const std::string b = close();
  const auto [x0, row] = cellOf(-36.0f, 40.0f);
  ASSERT_LT(x0 + 7 * 81, TIFSTA.width);
  // Size 1 cells are 7 pixels wide: the 80th character ends before column x0 + 560.
  int32_t rightmost = 0;
  for (int32_t x = x0; x <= TIFSTA.width; ++x) {
    for (int32_t r = row - 14; r <= row; ++r) {
      if (pixel(b, x, r) == 65) rightmost = x;
    }
  }
  EXPECT_EQ(rightmost, x0 + 7 * 79 + 4);  // the right column of the last "H"
}

TEST_F(TiffDriver, OpcodesWithoutARasterDrawNothing) {
  auto drawEverything = [&] {
    PLTPAR.colour = 2;
    PLTDSP(kOpColour);
    moveDraw(10.0f, 10.0f, 90.0f, 70.0f);
    square(2, 10.0f, 10.0f, 50.0f);
    text("HELLO");
    PLTPAR.pointCount = 2;
    PLTPAR.x[0] = 0.0f;
    PLTPAR.x[1] = 100.0f;
    PLTDSP(kOpPolyline);
    PLTDSP(kOpMarker);
  };
  drawEverything();
  open();
  const std::string b = close();
  drawEverything();
  EXPECT_EQ(test::readFile(dir.file("picture.tif")), b);
  for (int32_t x = 1; x <= 679; x += 7) EXPECT_EQ(pixel(b, x, 240), 64u);
  PLTDSP(kOpClose);  // a second close gives nothing back
  EXPECT_EQ(PLTDEV.cellHeight, 9.0f);
}

TEST_F(TiffDriver, TwoOpensInARowWriteOnePicture) {
  PLTCAP.words[0] = 1;
  open();
  square(2, 10.0f, 10.0f, 20.0f);
  PLTDSP(kOpOpen);
  const std::string b = close();
  EXPECT_EQ(pixelAt(b, 20.0f, 20.0f), 64u);  // the first picture was abandoned
  EXPECT_EQ(PLTCAP.words[0], 1);
  test::expectTiffinfoReads(dir.file("picture.tif"));
}

TEST_F(TiffDriver, ARasterTheWriterRefusesIsReportedAndIgnored) {
  PLTDEV.window2 = {1.0f, 70000.0f, 1.0f, 480.0f};
  open();
  EXPECT_EQ(TIFSTA.engine.sx, 0.0f);
  square(2, 10.0f, 10.0f, 20.0f);
  moveDraw(0.0f, 0.0f, 100.0f, 80.0f);
  close();
  EXPECT_EQ(unit6Lines(), std::vector<std::string>{"TIFF Driver: Could not create picture.tif"});
  EXPECT_FALSE(io::fileExists(dir.file("picture.tif")));
}

TEST_F(TiffDriver, APlotFileThatCannotBeCreatedIsReportedOnce) {
  open();
  PLTDSP(kOpClose);
  IOUNIT.plotFileName = dir.file("missing/picture.tif");
  PLTDSP(kOpOpen);
  EXPECT_TRUE(TifImageOpen());  // drawing goes on in memory
  square(2, 10.0f, 10.0f, 20.0f);
  PLTDSP(kOpClose);
  EXPECT_EQ(unit6Lines(), std::vector<std::string>{"TIFF Driver: Could not create " + dir.file("missing/picture.tif")});
}

TEST_F(TiffDriver, DebugLinesFollowTheSettingOrTheVariable) {
  setenv("TL_DEBUG", "true", 1);
  settings("Quorin.*.TIFF.SymbolScale: 2.5\n");
  open();
  close();
  std::vector<std::string> lines = unit6Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "TIFDRV: Using WHITE background");
  EXPECT_EQ(lines[1].rfind(" SymbolScale is", 0), 0u);
  EXPECT_NE(lines[1].find("2.5"), std::string::npos);
  EXPECT_EQ(TIFSTA.symbolScale, 2.5f);

  settings("Quorin.*.TIFF.Debug: FALSE\n");
  open();
  close();
  EXPECT_EQ(unit6Lines().size(), 2u);
}

TEST_F(TiffDriver, AnOpcode35OutsideTheTablesLeavesTheCounts) {
  open();
  PLTPAR.colourTable = 3;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);
  PLTPAR.colourTable = 11;
  PLTDSP(kOpColourTable);
  EXPECT_EQ(PLTDEV.colourTableCount, 11);
  EXPECT_EQ(PLTDEV.colourCount, 21);
  EXPECT_EQ(PLTDEV.colourCount2, 21);
  close();
}

TEST_F(TiffDriver, ADegenerateWindowMapsWithAnExtentOfOne) {
  PLTDEV.window = {5.0f, 5.0f, 3.0f, 3.0f};
  open();
  EXPECT_FLOAT_EQ(PLXFRM.pageScale, 480.0f / 50.0f);
  square(2, 5.0f, 3.0f, 1.0f);
  close();
}

TEST_F(TiffDriver, TIFBMSReadsWidthAndHeight) {
  struct Case {
    std::string value;
    int32_t width, height;
  };
  for (const Case& c : {Case{"800X600", 800, 600}, Case{"1024x768 ignored", 1024, 768},
                        Case{"0x300", 1, 300}, Case{"12", 1, 2}, Case{"X5", 1, 2}, Case{"X55", 1, 55},
                        Case{"99999999999X7", 2147483647, 7}}) {
    SCOPED_TRACE(c.value);
    settings("Quorin.*.TIFF.BitmapSize: " + c.value + "\n");
    int32_t w = 1;
    int32_t h = 2;
    TIFBMS(w, h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
  }
}

// The two-channel grey mode.
class GreyTiffDriver : public TiffDriver {
 protected:
  void SetUp() override {
    TiffDriver::SetUp();
    settings("Quorin.*.TIFF.Aviris: TRUE\nQuorin.*.TIFF.Background: white\n");
  }
};

TEST_F(GreyTiffDriver, FillsWriteTheirGreyLevelsAndLinesZero) {
  open();
  EXPECT_EQ(PLTDEV.colourCount2, 0);
  square(8, 10.0f, 10.0f, 40.0f);
  PLTPAR.colourTable = 1;
  square(-1, 60.0f, 10.0f, 20.0f);
  square(-31, 60.0f, 40.0f, 20.0f);
  PLTPAR.colour = 2;
  PLTDSP(kOpColour);
  moveDraw(10.0f, 30.0f, 50.0f, 30.0f);
  PLTPAR.pointX = 15.0f;
  PLTPAR.pointY = 15.0f;
  PLTDSP(kOpMove);
  text("H");  // its left stroke rises from the cell's first column
  const auto [hx, hy] = cellOf(15.0f, 15.0f);
  const std::string b = close();
  const Directory d = directoryOf(b);
  EXPECT_EQ(d.entries.size(), 17u);
  EXPECT_EQ(pixel(b, hx, hy - 5), 0u);
  EXPECT_EQ(pixel(b, hx + 2, hy - 5), 255u);  // between the strokes
  EXPECT_EQ(d.entries.count(320), 0u);
  EXPECT_EQ(pixelAt(b, 90.0f, 75.0f), 0u);  // the background
  EXPECT_EQ(pixelAt(b, 20.0f, 20.0f), 255u);
  EXPECT_EQ(pixelAt(b, 70.0f, 20.0f), 96u);
  EXPECT_EQ(pixelAt(b, 70.0f, 50.0f), 246u);
  EXPECT_EQ(pixelAt(b, 30.0f, 30.0f), 0u);  // the line through the white square
  EXPECT_EQ(b.substr(d.entries.at(65000).field, 4), std::string("\x02\x00\xFE\x00", 4));
  test::expectTiffinfoReads(dir.file("picture.tif"));
}

TEST_F(GreyTiffDriver, ObjectKindsTwoAndNineMarkChannelTwoAndTheFillRange) {
  open();
  PLTPAR.objectKind = 2;
  PLTDSP(kOpObjectKind);
  PLTPAR.colourTable = 1;
  square(-1, 10.0f, 10.0f, 20.0f);
  PLTPAR.objectKind = 3;
  PLTDSP(kOpObjectKind);
  square(-5, 50.0f, 10.0f, 20.0f);  // not of a marked kind: no range
  const std::string b = close();
  EXPECT_EQ(pixelAt(b, 20.0f, 20.0f, 1), 96u);
  EXPECT_EQ(pixelAt(b, 20.0f, 20.0f, 2), 255u);
  EXPECT_EQ(pixelAt(b, 60.0f, 20.0f, 1), 116u);
  EXPECT_EQ(pixelAt(b, 60.0f, 20.0f, 2), 0u);
  const Directory d = directoryOf(b);
  EXPECT_EQ(b.substr(d.entries.at(65000).field, 4), std::string("\x00\x60\x00\x60", 4));
}

TEST_F(GreyTiffDriver, TheCommandLineGoesToThePrivateBlockWithNulsForUnderscores) {
  commandLine("A_B");
  open();
  const std::string b = close();
  const test::Entry e = directoryOf(b).entries.at(65003);
  EXPECT_EQ(e.count, 4u);
  EXPECT_EQ(b.substr(e.field, 4), std::string("A\0B\0", 4));
  test::expectTiffinfoReads(dir.file("picture.tif"));
}

}  // namespace
}  // namespace kvr
