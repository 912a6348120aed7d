#include "plot/pcl/pclgeo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kvr {
namespace {

constexpr float kUntouched = -7.0f;

struct GeometryCase {
  std::string word;
  int32_t status;
  float width, height, x, y;
};

TEST(Pclgst, ReadsSizeAndOffsets) {
  const GeometryCase cases[] = {
      {"8x10+0.5+0.5", 0, 8.0f, 10.0f, 0.5f, 0.5f},
      {"8X10", 0, 8.0f, 10.0f, 0.0f, 0.0f},
      {"7.5x7.5+1", 0, 7.5f, 7.5f, 1.0f, 0.0f},
      {"+1+2", 0, 0.0f, 0.0f, 1.0f, 2.0f},  // only offsets
      {"8x10+1+2+3", 0, 8.0f, 10.0f, 1.0f, 2.0f},
      // Only digits count in the size, and every character after "." is a decimal place.
      {"8a.5x10", 0, 8.5f, 10.0f, 0.0f, 0.0f},
      {"8.5ix10", 0, 0.85f, 10.0f, 0.0f, 0.0f},
      // Every character of an offset counts as a digit: "-" is "0" - 3.
      {"8x10+-1", 0, 8.0f, 10.0f, -29.0f, 0.0f},
      // A run of digits is held at the integer range.
      {"99999999999999999999x1", 0, 2147483647.0f, 1.0f, 0.0f, 0.0f},
      {"8+10", 1, kUntouched, kUntouched, kUntouched, kUntouched},  // no "X" before "+"
      {"8x", 1, kUntouched, kUntouched, kUntouched, kUntouched},    // under 3 characters
      {"", 1, kUntouched, kUntouched, kUntouched, kUntouched},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.word);
    float w = kUntouched, h = kUntouched, x = kUntouched, y = kUntouched;
    int32_t status = -1;
    PCLGST(c.word, w, h, x, y, status);
    EXPECT_EQ(status, c.status);
    EXPECT_FLOAT_EQ(w, c.width);
    EXPECT_FLOAT_EQ(h, c.height);
    EXPECT_FLOAT_EQ(x, c.x);
    EXPECT_FLOAT_EQ(y, c.y);
  }
}

TEST(Pclsiz, ReadsWidthAndHeight) {
  const GeometryCase cases[] = {
      {"210X297", 0, 210.0f, 297.0f, 0, 0},
      {"8.5X11", 0, 8.5f, 11.0f, 0, 0},
      {"-8X10", 0, -22.0f, 10.0f, 0, 0},  // "-" counts as the digit -3
      {"8X1X0", 0, 8.0f, 10.0f, 0, 0},    // a second "X" is no digit
      {"8+10", 1, kUntouched, kUntouched, 0, 0},
      {"8X", 1, kUntouched, kUntouched, 0, 0},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.word);
    float w = kUntouched, h = kUntouched;
    int32_t status = -1;
    PCLSIZ(c.word, w, h, status);
    EXPECT_EQ(status, c.status);
    EXPECT_FLOAT_EQ(w, c.width);
    EXPECT_FLOAT_EQ(h, c.height);
  }
}

TEST(Pclmrg, ReadsTwoRealsInTheUnit) {
  struct Case {
    std::string word;
    float unit;
    int32_t status;
    float x, y;
  };
  const Case cases[] = {
      {"0.5+0.5", 1.0f, 0, 0.5f, 0.5f},
      {"-0.5+0.5", 1.0f, 0, -0.5f, 0.5f},
      {"12.7+25.4", 25.4f, 0, 0.5f, 1.0f},
      {"1+x", 1.0f, 0, 1.0f, 0.0f},   // an unreadable real is 0.0
      {"1+", 1.0f, 1, kUntouched, kUntouched},   // under 3 characters
      {"+1.5", 1.0f, 1, kUntouched, kUntouched},  // "+" at position 1
      {"1-2", 1.0f, 1, kUntouched, kUntouched},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    float x = kUntouched, y = kUntouched;
    int32_t status = -1;
    PCLMRG(c.word, c.unit, x, y, status);
    EXPECT_EQ(status, c.status);
    EXPECT_FLOAT_EQ(x, c.x);
    EXPECT_FLOAT_EQ(y, c.y);
  }
}

}  // namespace
}  // namespace kvr
