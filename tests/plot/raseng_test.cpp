#include "plot/raster/raseng.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "plot/plxfrm.h"
#include "plot/raster/rasfnt.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

using Pixel = std::pair<int32_t, int32_t>;
using Pixels = std::set<Pixel>;

// The recording sink: every pixel stored, with its colour, in order.
struct Stored {
  int32_t x, y, colour;
};
std::vector<Stored> gStored;

void record(const RasterEngine&, int32_t x, int32_t y, int32_t colour) {
  gStored.push_back({x, y, colour});
}

Pixels stored() {
  Pixels p;
  for (const Stored& s : gStored) p.insert({s.x, s.y});
  return p;
}

// Bresenham's walk as the engine states it, without any saving: the reference the
// engine's shortened walk must match.
Pixels plainWalk(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  Pixels p;
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (x1 == x2 && y1 == y2) return p;
  const int64_t dx = x2 - x1;
  const int64_t dy = std::abs(y2 - y1);
  const int64_t step = y2 >= y1 ? 1 : -1;
  int64_t x = x1;
  int64_t y = y1;
  p.insert({static_cast<int32_t>(x), static_cast<int32_t>(y)});
  if (dx >= dy) {
    int64_t e = 2 * dy - dx;
    for (x = x1 + 1; x <= x2; ++x) {
      if (e < 0) {
        e += 2 * dy;
      } else {
        y += step;
        e += 2 * dy - 2 * dx;
      }
      p.insert({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    }
  } else {
    int64_t e = 2 * dx - dy;
    for (int64_t k = 0; k < dy; ++k) {
      if (e < 0) {
        e += 2 * dx;
      } else {
        x += 1;
        e += 2 * dx - 2 * dy;
      }
      y += step;
      p.insert({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    }
  }
  return p;
}

// The engine on the recording sink with scales 1.0 (device unit x lies in column x + 1),
// keeping columns 1..100 and heights 1..100; the page mapping is the identity and the
// clip window 0..99 by 0..99.
class Engine : public ::testing::Test {
 protected:
  void SetUp() override {
    gStored.clear();
    PLTDEV = {};
    PLXFRM = {};
    PLXFRM.pageScale = 1.0f;
    PLTDEV.transformWindow = {0.0f, 99.0f, 0.0f, 99.0f};
    e.sx = 1.0f;
    e.sy = 1.0f;
    e.columns = 100;
    e.lowest = 1;
    e.highest = 100;
    e.lineColour = 7;
    e.textColour = 9;
    e.sink = record;
  }
  void TearDown() override {
    PLTDEV = {};
    PLXFRM = {};
  }

  Pixels line(float x1, float y1, float x2, float y2) {
    gStored.clear();
    RASLIN(e, x1, y1, x2, y2);
    return stored();
  }

  RasterEngine e;
};

TEST_F(Engine, LinesFollowBresenhamWithBothEndsIncluded) {
  struct Case {
    float x1, y1, x2, y2;
    Pixels want;
  };
  const std::vector<Case> cases = {
      {0, 0, 0.5f, 0.5f, {}},                        // both ends on one pixel
      {0, 0, 1, 0, {{1, 1}, {2, 1}}},                // two pixels
      {0, 0, 2, 1, {{1, 1}, {2, 2}, {3, 2}}},        // an error of 0 steps in y
      {2, 1, 0, 0, {{1, 1}, {2, 2}, {3, 2}}},        // the ends ordered by x
      {0, 0, 1, 3, {{1, 1}, {1, 2}, {2, 3}, {2, 4}}},  // y-major
      {0, 3, 1, 0, {{1, 4}, {1, 3}, {2, 2}, {2, 1}}},  // y-major, falling
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
    EXPECT_EQ(line(c.x1, c.y1, c.x2, c.y2), c.want);
  }
  line(0, 0, 3, 0);
  for (const Stored& s : gStored) EXPECT_EQ(s.colour, 7);
}

TEST_F(Engine, AWalkStartedAtTheKeptPixelsMatchesTheWholeWalk) {
  e.columns = 40;
  e.lowest = 11;
  e.highest = 50;
  std::mt19937 random(62);
  std::uniform_int_distribution<int32_t> coordinate(-300, 300);
  for (int k = 0; k < 2000; ++k) {
    const int32_t x1 = coordinate(random), y1 = coordinate(random);
    const int32_t x2 = coordinate(random), y2 = coordinate(random);
    Pixels want;
    for (const Pixel& p : plainWalk(x1 + 1, y1 + 1, x2 + 1, y2 + 1)) {
      if (p.first >= 1 && p.first <= 40 && p.second >= 11 && p.second <= 50) want.insert(p);
    }
    ASSERT_EQ(line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                   static_cast<float>(y2)),
              want)
        << x1 << "," << y1 << " - " << x2 << "," << y2;
  }
}

TEST_F(Engine, PixelsBeyondTheKeptOnesNeverReachTheSink) {
  line(-2.0e9f, 5.0f, 2.0e9f, 7.0f);
  line(50.0f, -3.0e9f, 51.0f, 3.0e9f);
  line(-1.0e30f, -1.0e30f, 1.0e30f, 1.0e30f);
  gStored.clear();
  RASLIN(e, -2.0e9f, 5.0f, 2.0e9f, 7.0f);
  RASLIN(e, 50.0f, -3.0e9f, 51.0f, 3.0e9f);
  const std::array<float, 3> x{-500.0f, 700.0f, 50.0f};
  const std::array<float, 3> y{-500.0f, 20.0f, 900.0f};
  RASFIL(e, 3, x, y, 4);
  ASSERT_FALSE(gStored.empty());
  for (const Stored& s : gStored) {
    EXPECT_TRUE(s.x >= 1 && s.x <= 100 && s.y >= 1 && s.y <= 100) << s.x << "," << s.y;
  }
}

TEST_F(Engine, ThickCopiesArePressedOntoTheWindowEdge) {
  PLTDEV.transformWindow = {0.0f, 99.0f, 0.0f, 10.0f};
  gStored.clear();
  RASTHK(e, 2.0f, 9.0f, 8.0f, 9.0f, 3);  // the window's top is y 10
  Pixels heights;
  for (const Stored& s : gStored) heights.insert({0, s.y});
  EXPECT_EQ(heights, (Pixels{{0, 7}, {0, 8}, {0, 9}, {0, 11}}));  // 9 - i + 1 and min(9 + i, 10) + 1

  gStored.clear();
  PLTDEV.transformWindow = {0.0f, 99.0f, 0.0f, 99.0f};
  RASTHK(e, 10.0f, 10.0f, 20.0f, 20.0f, 1);  // rising: moved up-left, then down-right
  EXPECT_EQ(stored(), [] {
    Pixels p = plainWalk(10, 12, 20, 22);
    for (const Pixel& q : plainWalk(12, 10, 22, 20)) p.insert(q);
    return p;
  }());
  gStored.clear();
  RASTHK(e, 10.0f, 20.0f, 10.0f, 30.0f, 0);
  EXPECT_TRUE(gStored.empty());
}

TEST_F(Engine, AWidthFarBeyondThePageDrawsWhatAPageWideOneDoes) {
  PLTDEV.transformWindow = {0.0f, 40.0f, 0.0f, 60.0f};
  for (auto [x1, y1, x2, y2] : {std::array<float, 4>{5, 30, 35, 30}, std::array<float, 4>{20, 5, 20, 50},
                               std::array<float, 4>{5, 5, 30, 40}, std::array<float, 4>{5, 40, 30, 5}}) {
    gStored.clear();
    RASTHK(e, x1, y1, x2, y2, 200);
    const Pixels wide = stored();
    gStored.clear();
    RASTHK(e, x1, y1, x2, y2, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(stored(), wide);
  }
  e.columns = 30;  // a window beyond the kept pixels
  PLTDEV.transformWindow = {-1.0e9f, 1.0e9f, -1.0e9f, 1.0e9f};
  gStored.clear();
  RASTHK(e, 5.0f, 5.0f, 25.0f, 40.0f, std::numeric_limits<int32_t>::max());
  EXPECT_FALSE(gStored.empty());
}

// The segment is cut to the window widened by the width first: what lies further out
// cannot reach the window, and is not pressed onto its edge.
TEST_F(Engine, ThickCopiesComeFromTheSegmentWithinTheWidenedWindow) {
  PLTDEV.transformWindow = {0.0f, 99.0f, 0.0f, 99.0f};
  gStored.clear();
  RASTHK(e, 10.0f, -50.0f, 60.0f, -50.0f, 3);  // 50 units below a window 3 wide
  EXPECT_TRUE(gStored.empty());
  gStored.clear();
  RASTHK(e, 10.0f, -2.0f, 60.0f, -2.0f, 3);  // its upper copies reach the window
  EXPECT_EQ(stored(), [] {
    Pixels p;
    for (int32_t y : {1, 2}) {
      for (const Pixel& q : plainWalk(11, y, 61, y)) p.insert(q);
    }
    return p;
  }());
}

TEST_F(Engine, PolylinesDrawTheirSegmentsThenTheirCopies) {
  const std::array<float, 3> x{0, 4, 4};
  const std::array<float, 3> y{0, 0, 4};
  RASPLN(e, 1, x, y, 0);
  EXPECT_TRUE(gStored.empty());
  RASPLN(e, 3, x, y, 0);
  Pixels want = plainWalk(1, 1, 5, 1);
  for (const Pixel& p : plainWalk(5, 1, 5, 5)) want.insert(p);
  EXPECT_EQ(stored(), want);
  gStored.clear();
  RASPLN(e, 3, x, y, 1);
  EXPECT_EQ(gStored.size(), 10u + 2 * 5 + 2 * 5);
}

TEST_F(Engine, FillsPaintEveryRowBetweenTheirEdges) {
  // A square with two horizontal edges: 5 columns by 4 rows, no division by zero.
  const std::array<float, 4> x{0, 4, 4, 0};
  const std::array<float, 4> y{0, 0, 3, 3};
  RASFIL(e, 4, x, y, 3);
  Pixels square;
  for (int32_t r = 1; r <= 4; ++r) {
    for (int32_t c = 1; c <= 5; ++c) square.insert({c, r});
  }
  EXPECT_EQ(stored(), square);
  for (const Stored& s : gStored) EXPECT_EQ(s.colour, 3);

  // A notch: rows below the inner vertex are split in two.
  gStored.clear();
  const std::array<float, 5> nx{0, 10, 10, 5, 0};
  const std::array<float, 5> ny{0, 0, 10, 5, 10};
  RASFIL(e, 5, nx, ny, 3);
  const Pixels notch = stored();
  EXPECT_TRUE(notch.count({6, 6}));   // the inner vertex
  EXPECT_FALSE(notch.count({6, 9}));  // above it, inside the notch
  EXPECT_TRUE(notch.count({2, 9}) && notch.count({10, 9}));

  gStored.clear();
  RASFIL(e, 2, nx, ny, 3);
  EXPECT_TRUE(gStored.empty());
}

TEST_F(Engine, ARowOfThreeCrossingsIsPaintedFromTheFirstToTheThird) {
  e.fill.crossing[0] = 9;
  e.fill.crossing[1] = 2;
  e.fill.crossing[2] = 5;
  paintFillRow(e, 3, 4, 6);
  Pixels want;
  for (int32_t c = 2; c <= 9; ++c) want.insert({c, 4});
  EXPECT_EQ(stored(), want);

  gStored.clear();
  e.fill.crossing = {};
  const std::array<int64_t, 5> five{1, 2, 4, 5, 8};
  std::copy(five.begin(), five.end(), e.fill.crossing.begin());
  paintFillRow(e, 5, 4, 6);  // pairs; the odd last is dropped
  EXPECT_EQ(stored(), (Pixels{{1, 4}, {2, 4}, {4, 4}, {5, 4}}));
}

// The dots of glyph G: (column, row) from the top left, 1-based.
Pixels dotsOf(std::string_view g, int32_t rows) {
  Pixels p;
  for (int32_t i = 1; i <= rows; ++i) {
    for (int32_t j = 1; j <= 5; ++j) {
      if (g[static_cast<size_t>((i - 1) * 5 + j - 1)] == '1') p.insert({j, i});
    }
  }
  return p;
}

TEST_F(Engine, TextASetsTheSmallA) {
  float w = 0.0f;
  float h = 0.0f;
  RASCSZ(e, 2, 1, w, h);
  RASTXT(e, 0.0f, 0.0f, "A", 1, 1);
  const std::array<const char*, 7> a{"00100", "01010", "10001", "11111", "10001", "10001", "10001"};
  Pixels want;
  for (int32_t i = 1; i <= 7; ++i) {
    for (int32_t j = 1; j <= 5; ++j) {
      if (a[static_cast<size_t>(i - 1)][j - 1] == '1') want.insert({j, 8 - i});
    }
  }
  EXPECT_EQ(stored(), want);
  for (const Stored& s : gStored) EXPECT_EQ(s.colour, 9);
}

TEST_F(Engine, AtMultiplierThreeEveryDotIsADiagonalAndBlanksOnlyAdvance) {
  float w = 0.0f;
  float h = 0.0f;
  RASCSZ(e, 2, 3, w, h);
  RASTXT(e, 0.0f, 0.0f, std::string("\x7F \x01" "A"), 3, 4);
  // Three cells of 7 x 3 columns go by without a pixel; "A" starts at column 64.
  Pixels want;
  for (const Pixel& d : dotsOf(RASFNT.small[static_cast<size_t>('A' - 32)], 7)) {
    const int32_t column = 64 + (d.first - 1) * 3;
    const int32_t top = 21 - (d.second - 1) * 3;
    for (int32_t p = 1; p <= 3; ++p) want.insert({column + p - 1, top - p + 1});
  }
  EXPECT_EQ(stored(), want);
  EXPECT_EQ(gStored.size(), want.size());

  gStored.clear();
  RASTXT(e, 0.0f, 0.0f, "AAAA", 3, 0);
  EXPECT_TRUE(gStored.empty());
}

TEST_F(Engine, GlyphsComeFromTheFontOfTheSizeCode) {
  e.sizeCode = 1;
  EXPECT_EQ(RASGLY(e, 'a'), "000000000001110100010000101111100011000101111000000000000000");
  EXPECT_EQ(RASGLY(e, 'a').size(), 60u);
  EXPECT_EQ(RASGLY(e, ' '), RASFNT.large[0]);
  EXPECT_EQ(RASGLY(e, 200), RASFNT.large[0]);
  EXPECT_EQ(RASGLY(e, 127), RASFNT.large[95]);
  e.sizeCode = 3;
  EXPECT_EQ(RASGLY(e, 'a'), RASGLY(e, 'A'));  // small lower case has the capitals' shapes
  EXPECT_EQ(RASGLY(e, 'A').substr(35), std::string(25, ' '));
  for (size_t g : {size_t{0}, size_t{95}}) {
    EXPECT_EQ(RASFNT.small[g].find('1'), std::string_view::npos);
    EXPECT_EQ(RASFNT.large[g].find('1'), std::string_view::npos);
  }
  for (size_t g = 1; g < 95; ++g) {
    EXPECT_EQ(RASFNT.small[g].size(), 60u);
    EXPECT_EQ(RASFNT.large[g].size(), 60u);
    EXPECT_NE(RASFNT.large[g].find('1'), std::string_view::npos) << g;
  }
}

TEST_F(Engine, MarkerNineDrawsPlusCrossAndSquare) {
  auto marker = [&](int32_t k) {
    gStored.clear();
    RASSYM(e, 50.0f, 50.0f, k, 4.0f, 0);
    return stored();
  };
  Pixels together = marker(1);
  for (int32_t k : {3, 4}) {
    for (const Pixel& p : marker(k)) together.insert(p);
  }
  EXPECT_EQ(marker(9), together);
  EXPECT_EQ(marker(-1), together);
  EXPECT_EQ(marker(8), line(46.0f, 50.0f, 54.0f, 50.0f));
  EXPECT_TRUE(marker(5).count({47, 51}));  // the diamond's left corner
}

TEST_F(Engine, WithTheWholeBoxRuleAMarkerLeavingTheWindowIsNotDrawn) {
  e.wholeBoxMarkers = true;
  PLTDEV.transformWindow = {10.0f, 60.0f, 10.0f, 60.0f};
  RASSYM(e, 57.0f, 30.0f, 4, 4.0f, 0);  // its right edge at 61
  EXPECT_TRUE(gStored.empty());
  RASSYM(e, 56.0f, 30.0f, 4, 4.0f, 0);
  EXPECT_FALSE(gStored.empty());
  gStored.clear();
  e.wholeBoxMarkers = false;
  RASSYM(e, 57.0f, 30.0f, 4, 4.0f, 0);
  EXPECT_FALSE(gStored.empty());
}

TEST_F(Engine, TheCellFollowsTheSizeCode) {
  e.sx = 0.5f;
  e.sy = 0.25f;
  PLXFRM.pageScale = 2.0f;
  struct Case {
    int32_t s, m, ch;
    float width, height;
  };
  for (const Case& c : {Case{1, 1, 12, 7.0f, 28.0f}, Case{3, 2, 24, 14.0f, 56.0f}, Case{2, 1, 7, 7.0f, 18.0f},
                        Case{4, 3, 21, 21.0f, 54.0f}}) {
    float w = 0.0f;
    float h = 0.0f;
    RASCSZ(e, c.s, c.m, w, h);
    EXPECT_EQ(e.cw, 5 * c.m);
    EXPECT_EQ(e.ch, c.ch);
    EXPECT_EQ(e.gx, 2 * c.m);
    EXPECT_EQ(e.gy, 2 * c.m);
    EXPECT_EQ(e.sizeCode, c.s);
    EXPECT_EQ(PLTDEV.characterSizeBase, c.s);
    EXPECT_FLOAT_EQ(w, c.width);
    EXPECT_FLOAT_EQ(h, c.height);
  }
  e.sx = 0.0f;
  float w = 1.0f;
  float h = 1.0f;
  RASCSZ(e, 1, 1, w, h);
  EXPECT_EQ(w, 0.0f);
  EXPECT_EQ(h, 0.0f);
}

}  // namespace
}  // namespace kvr
