#include "geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(Idnt4d, SetsEveryElement) {
  std::array<double, 16> m;
  m.fill(7.5);
  kvr::IDNT4D(m);
  for (int c = 1; c <= 4; ++c) {
    for (int r = 1; r <= 4; ++r) {
      EXPECT_EQ(m[static_cast<size_t>(4 * (c - 1) + r - 1)], r == c ? 1.0 : 0.0) << r << c;
    }
  }
}

}  // namespace
