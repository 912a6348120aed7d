#include "plot/defcol.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "plot/plrgb.h"
#include "plotfixture.h"
#include "runtime/chrset.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"

namespace kvr {
namespace {

struct Entry {
  int32_t index, r, g, b;
};

void expectEntry(const Entry& e) {
  EXPECT_EQ(PLRGB.red(e.index), e.r) << e.index;
  EXPECT_EQ(PLRGB.green(e.index), e.g) << e.index;
  EXPECT_EQ(PLRGB.blue(e.index), e.b) << e.index;
}

// The colour set-up of a device named "Alpha", in a directory without settings files or
// colour maps but those a test writes.
class ColourSetUp : public test::PlotFixture {
 protected:
  void SetUp() override {
    PlotFixture::SetUp();
    CHRSET();
    PLTCAP.deviceName().assign("Alpha");
    setenv("KVRSTR", dir.file("str").c_str(), 1);
    std::filesystem::create_directory(dir.file("str"));
  }

  // The setting "Colourmap" of section "Alpha" names FILE, which holds LINES.
  void colourMap(const std::string& lines, const std::string& file = "map.txt") {
    test::writeFile(dir.file("quorin.ini"), "Quorin.*.Alpha.Colourmap: " + file + "\n");
    test::writeFile(dir.file(file), lines);
  }
};

TEST_F(ColourSetUp, BuiltInPalette) {
  DEFCOL();
  const Entry entries[] = {
      {1, 255, 255, 255}, {2, 210, 0, 0},    {8, 0, 0, 0},        {12, 210, 210, 210},
      {13, 73, 109, 255}, {22, 37, 235, 255}, {26, 36, 255, 109}, {29, 109, 255, 36},
      {33, 241, 255, 36}, {43, 255, 117, 72}, {64, 220, 220, 220}, {190, 255, 110, 255},
  };
  for (const Entry& e : entries) expectEntry(e);
  for (int32_t i = 191; i <= 256; ++i) expectEntry({i, -1, -1, -1});
  EXPECT_EQ(PLRGB.highest, 190);
  for (int32_t i = 1; i <= 190; ++i) EXPECT_EQ(PLRGB.deviceColour(i), 64 + i) << i;
  EXPECT_EQ(PLRGB.deviceColour(191), 0);
}

TEST_F(ColourSetUp, RampsStepByTruncatedDifferences) {
  CRAMP(165, 0, 0, 255, 0, 0, 10, 65, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  for (int32_t k = 0; k < 10; ++k) expectEntry({65 + k, 165 + 10 * k, 0, 0});
  // 73 to 36 over ten entries steps by -4 and ends on 37, not 36.
  CRAMP(73, 0, 0, 36, 0, 0, 10, 1, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  EXPECT_EQ(PLRGB.red(2), 69);
  EXPECT_EQ(PLRGB.red(10), 37);
  // The first colour is taken by magnitude, the steps from the colours as given.
  CRAMP(-73, 0, 0, 36, 0, 0, 10, 1, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  EXPECT_EQ(PLRGB.red(1), 73);
  EXPECT_EQ(PLRGB.red(10), 73 + 9 * 12);
}

TEST_F(ColourSetUp, RampsStayInsideThePalette) {
  PLRGB.reds.fill(7);
  // One entry: no steps to divide by.
  CRAMP(10, 20, 30, 40, 50, 60, 1, 5, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  expectEntry({5, 10, 20, 30});
  EXPECT_EQ(PLRGB.red(6), 7);
  // A ramp running past entry 256, or starting before entry 1, is cut there.
  CRAMP(0, 0, 0, 90, 0, 0, 10, 250, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  EXPECT_EQ(PLRGB.red(256), 60);
  CRAMP(0, 0, 0, 90, 0, 0, 10, -2, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  EXPECT_EQ(PLRGB.red(1), 30);
  EXPECT_EQ(PLRGB.red(7), 90);
  EXPECT_EQ(PLRGB.red(8), 7);
  CRAMP(0, 0, 0, 90, 0, 0, 0, 20, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  CRAMP(0, 0, 0, 90, 0, 0, INT32_MAX, 300, PLRGB.reds, PLRGB.greens, PLRGB.blues);
  EXPECT_EQ(PLRGB.red(20), 7);
}

TEST_F(ColourSetUp, PenColours) {
  DEFCOL();
  struct Case {
    int32_t table, colour, row, device;
  };
  const Case cases[] = {
      {1, -1, 2, 76},   {1, 0, 2, 71},    {1, 3, 2, 66},    {0, 3, 2, 66},
      {4, -21, 3, 148}, {10, 12, 1, 75},  {7, 1, 2, 64},
      // Outside the tables: nothing read, 0.
      {0, -1, 2, 0},    {11, -1, 2, 0},   {1, -33, 2, 0},   {10, 33, 2, 0},
      {1, -1, 4, 0},    {1, -1, 0, 0},    {-5, -1, 2, 0},   {1, INT32_MIN, 2, 0},
      // Shade 13 of table 10 is not set.
      {10, 13, 2, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PENCOL(c.table, c.colour, c.row), c.device)
        << c.table << " " << c.colour << " " << c.row;
  }
  // A palette index of 0 or below is answered as it stands.
  PLTCTB.shade(10, 2, 13) = -4;
  EXPECT_EQ(PENCOL(1, 13, 2), -4);
}

TEST_F(ColourSetUp, ColourMapReplacesThePalette) {
  DEFCOL();
  colourMap("U S C P  1 1.0 0.0 0.0\n");
  DEFCOL();
  expectEntry({1, 255, 0, 0});
  EXPECT_EQ(PLRGB.highest, 1);
  EXPECT_EQ(PLRGB.deviceColour(1), 65);
  expectEntry({2, 210, 0, 0});  // not named: kept

  colourMap("U S COL W 21 0.5 0.5 0.5\n");
  DEFCOL();
  expectEntry({64, 128, 128, 128});
}

TEST_F(ColourSetUp, DefaultColourMapWithoutTheSetting) {
  test::writeFile(dir.file("str/kvrcmap.str"), "U S C R  2 0.0 1.0 0.0\nU S C C 31 0 0 1\n");
  DEFCOL();
  expectEntry({66, 0, 255, 0});
  expectEntry({43, 0, 0, 255});
  EXPECT_EQ(PLRGB.highest, 2);
  EXPECT_EQ(PLRGB.deviceColour(2), 66);
}

TEST_F(ColourSetUp, AWrongLineMakesTheMapUnread) {
  const char* wrong[] = {
      "U S C p  1 1.0 0.0 0.0\n",                          // lower-case letter
      "U S C P\n",                                         // no shade
      "USC P  1 1.0 0.0 0.0\n",                            // no blanks in the prefix
      "U S C P 13 1.0 0.0 0.0\n",                          // table 10 has 12 shades
      "U S C W 22 1.0 0.0 0.0\n",                          // table 3 has 21
      "U S C P  0 1.0 0.0 0.0\n",                          // no shade 0
      "U S C X  1 1.0 0.0 0.0\n",                          // no such table
      "U S C P  1 1.0 0.0 0.0\nU S CUL P 1 0 0 0\n",       // a later line wrong
      "U S C P  1 1.0 0.0 0.0\n\n",                        // an empty line
  };
  for (const char* lines : wrong) {
    PLRGB = {};
    colourMap(lines);
    DEFCOL();
    expectEntry({1, 255, 255, 255});
    EXPECT_EQ(PLRGB.highest, 190) << lines;
  }
}

TEST_F(ColourSetUp, AWrongLineKeepsWhatEarlierLinesWrote) {
  colourMap("U S C R  1 0.0 1.0 0.0\nU S C R 99 1 1 1\n");
  int32_t count = 7;
  CMAPRD(PLRGB.reds, PLRGB.greens, PLRGB.blues, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(PLRGB.green(65), 0);  // the tables are set up by DEFCOL only
  DEFCOL();
  // With the tables set up the first line writes its entry before the second fails.
  PLRGB.greens.fill(0);
  CMAPRD(PLRGB.reds, PLRGB.greens, PLRGB.blues, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(PLRGB.green(65), 255);
}

TEST_F(ColourSetUp, CountStopsAtTheLastEntry) {
  std::string lines;
  for (int32_t k = 0; k < 300; ++k) {
    lines += "U S C C" + std::string(k % 31 + 1 < 10 ? "  " : " ") + std::to_string(k % 31 + 1) +
             " 0.2 0.4 0.6\n";
  }
  colourMap(lines);
  DEFCOL();
  EXPECT_EQ(PLRGB.highest, 256);
  for (int32_t i = 1; i <= 256; ++i) EXPECT_EQ(PLRGB.deviceColour(i), 64 + i) << i;
  expectEntry({13, 51, 102, 153});
}

TEST_F(ColourSetUp, NoDeviceNameNoSetting) {
  colourMap("U S C P  1 1.0 0.0 0.0\n");
  PLTCAP.deviceName().assign("");
  DEFCOL();
  EXPECT_EQ(PLRGB.highest, 190);
  // The section is the device name up to its first blank.
  test::writeFile(dir.file("quorin.ini"), "Quorin.*.Other.Colourmap: map.txt\n");
  PLTCAP.deviceName().assign("Other Device");
  DEFCOL();
  EXPECT_EQ(PLRGB.highest, 1);
}

}  // namespace
}  // namespace kvr
