#include "dbinterface/ldframe.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "dbinterface/direcs.h"

namespace kvr {
namespace {

// A factor of 0 or below counts as 1; the product is held at the largest integer.
TEST(RepeatCount, FactorsBelowOneCountAsOne) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(repeatCount(3, 4), 12);
  EXPECT_EQ(repeatCount(0, 4), 4);
  EXPECT_EQ(repeatCount(-5, 0), 1);
  EXPECT_EQ(repeatCount(kMax, 2), kMax);
  EXPECT_EQ(repeatCount(std::numeric_limits<int32_t>::min(), 7), 7);
}

}  // namespace
}  // namespace kvr
