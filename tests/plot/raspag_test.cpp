#include "plot/pcl/raspag.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "pclfixture.h"
#include "plot/pcl/pclsta.h"

namespace kvr {
namespace {

using test::kLaserjet;
using test::kPaintjet;

// The pixel store on a blank page of the model: RASPIX takes a pixel height Y, the tests
// name bitmap rows r = Hpix - Y + 1.
class PixelStore : public test::PclFixture {
 protected:
  static void store(int32_t x, int32_t r, int32_t c) { RASPIX(x, PCLSTA.hpix - r + 1, c); }
};

TEST_F(PixelStore, MonochromeGreysFollowTheDitherTable) {
  open(kLaserjet);
  ASSERT_TRUE(PCLSTA.monochrome && PCLSTA.dithering);
  // 128 is level 8 (rows 6, E, E, 0): bitmap row 1 reads table row 3, column 4 bit 0.
  for (int32_t r = 1; r <= 4; ++r) {
    for (int32_t x = 1; x <= 4; ++x) store(x, r, 128);
  }
  EXPECT_EQ(RASPAG.band(1, 1), 0x60);
  EXPECT_EQ(RASPAG.band(1, 2), 0x70);
  EXPECT_EQ(RASPAG.band(1, 3), 0x70);
  EXPECT_EQ(RASPAG.band(1, 4), 0x00);
  // 45 is level 2 (rows F, F, F, 6); the bits of the other rows of the band stay.
  for (int32_t r = 1; r <= 4; ++r) {
    for (int32_t x = 1; x <= 4; ++x) store(x, r, 45);
  }
  EXPECT_EQ(RASPAG.band(1, 1), 0x70);
  EXPECT_EQ(RASPAG.band(1, 2), 0xF0);
  EXPECT_EQ(RASPAG.band(1, 3), 0xF0);
  EXPECT_EQ(RASPAG.band(1, 4), 0x70);
  // 0 is ink, 255 none, whatever the pattern; a grey past 255 is held at level 16.
  store(1, 1, 0);
  EXPECT_EQ(RASPAG.band(1, 1), 0xF0);
  store(2, 2, 255);
  EXPECT_EQ(RASPAG.band(1, 2), 0xB0);
  store(3, 8, 300);
  store(3, 7, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RASPAG.band(1, 3), 0xF0);
  store(3, 8, 0);
  EXPECT_EQ(RASPAG.band(1, 3), 0xF1);
  EXPECT_EQ(RASPAG.band(2, 3), 0x00);
  close();
}

TEST_F(PixelStore, PixelsOffThePageChangeNoByte) {
  open(kLaserjet);
  const std::vector<uint8_t> before(RASPAG.bytes.begin(), RASPAG.bytes.end());
  const int32_t w = PCLSTA.wpix;
  const int32_t rows = PCLSTA.outputRows;
  for (const auto& [x, r] : std::vector<std::array<int32_t, 2>>{
           {0, 1}, {w + 1, 1}, {1, 0}, {1, rows + 1}, {0, 0}, {w + 1, rows + 1}}) {
    store(x, r, 0);
  }
  RASPIX(std::numeric_limits<int32_t>::min(), 5, 0);
  RASPIX(5, std::numeric_limits<int32_t>::min(), 0);
  RASPIX(5, std::numeric_limits<int32_t>::max(), 0);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), RASPAG.bytes.begin()));
  // The rows below Hpix are the page's (the landscape title lies there).
  store(w, rows, 0);
  EXPECT_TRUE(ink(w, rows));
  close();
}

TEST(Rasdit, GivesEachPlaneItsShareOfTheCell) {
  struct Case {
    int32_t code;
    std::array<int32_t, 4> cells;
  };
  const Case cases[] = {
      {174, {7, 7, 7, 7}},  // white: every plane in every cell
      {50, {0, 0, 0, 0}},   // black
      {100, {1, 1, 0, 0}},  // plane 1 in two cells
      {81, {1, 2, 4, 0}},   // one cell each, one after the other
      {160, {3, 3, 1, 1}},  // orange: plane 1 whole, plane 2 half
      {49, {0, 0, 0, 0}},   // below 50
      {std::numeric_limits<int32_t>::min(), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    for (int32_t k = 1; k <= 4; ++k) {
      int32_t value = -1;
      RASDIT(c.code, k, value);
      EXPECT_EQ(value, c.cells[static_cast<size_t>(k - 1)]) << "cell " << k;
    }
  }
  // A code far beyond the table is answered at once, each cell a quarter of the runs.
  int32_t value = 0;
  RASDIT(std::numeric_limits<int32_t>::max(), 1, value);
  EXPECT_GT(value, 20000000);
}

TEST_F(PixelStore, ColourModelsStoreBytes) {
  settings("Quorin.*.Paintjet.LowRes: TRUE\n");
  open(kPaintjet);
  ASSERT_FALSE(PCLSTA.dithering);
  store(1, 1, 300);  // the low 8 bits
  EXPECT_EQ(RASPAG.pixel(1, 1), 44);
  store(PCLSTA.wpix + 1, 1, 5);
  EXPECT_EQ(RASPAG.pixel(PCLSTA.wpix + 1, 1), 0);
  close();

  settings("");
  open(kPaintjet);
  ASSERT_TRUE(PCLSTA.dithering);
  // Dithered: the cell of (X, r) is 1 + (1 for odd X) + (2 for odd r).
  store(1, 1, 100);
  store(2, 1, 100);
  store(1, 2, 100);
  store(2, 2, 100);
  EXPECT_EQ(RASPAG.pixel(1, 1), 0);  // cell 4
  EXPECT_EQ(RASPAG.pixel(2, 1), 0);  // cell 3
  EXPECT_EQ(RASPAG.pixel(1, 2), 1);  // cell 2
  EXPECT_EQ(RASPAG.pixel(2, 2), 1);  // cell 1
  close();
}

TEST_F(PixelStore, TheLandscapeTitleLiesBelowThePicture) {
  commandLine("AB");
  open(kLaserjet);
  int32_t first = 0;
  int32_t last = 0;
  for (int32_t r = 1; r <= PCLSTA.outputRows; ++r) {
    for (int32_t x = 1; x <= PCLSTA.wpix; ++x) {
      if (!ink(x, r)) continue;
      if (first == 0) first = r;
      last = r;
    }
  }
  EXPECT_GE(first, 2272);
  EXPECT_LE(last, 2307);
  EXPECT_GT(first, PCLSTA.hpix);  // in the rows only a landscape page sends
  const test::PclJob job = test::readPcl(close());
  ASSERT_EQ(job.pages.size(), 1u);
  size_t printedInk = 0;
  for (int32_t r = 2272; r <= 2307; ++r) {
    for (int32_t x = 1; x <= 3000; ++x) printedInk += printed(job.pages[0], x, r) != 0;
  }
  EXPECT_EQ(printedInk, job.pages[0].inked());
  EXPECT_GT(printedInk, 0u);
}

}  // namespace
}  // namespace kvr
