#include "dbinterface/ldframe.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "dbinterface/direcs.h"

namespace kvr {
namespace {

TEST(Islcpy, CopiesARunAndTellsWhereItEnded) {
  const std::vector<int32_t> source = {11, 12, 13, 14, 15, 16, 17, 18, 19};
  struct Case {
    int32_t first, last, position, capacity;
    int32_t lastOut;
    std::vector<int32_t> target;
  };
  const std::vector<Case> cases = {
      {1, 8, 3, 12, 10, {0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0}},
      {9, 8, 3, 4, 2, {0, 0, 0, 0}},
      {0, 8, 3, 4, -5, {0, 0, 0, 0}},     // nothing copied, the output untouched
      {-1, 8, 3, 4, -5, {0, 0, 0, 0}},
      {1, 8, 3, 6, 6, {0, 0, 11, 12, 13, 14}},  // cut at the target's capacity
      {7, 12, 1, 6, 3, {17, 18, 19, 0, 0, 0}},  // and at the end of the source
  };
  for (const Case& c : cases) {
    std::vector<int32_t> target(static_cast<std::size_t>(c.capacity), 0);
    int32_t lastOut = -5;
    ISLCPY(source, c.first, c.last, c.position, target, lastOut);
    EXPECT_EQ(lastOut, c.lastOut) << c.first << ".." << c.last;
    EXPECT_EQ(target, c.target) << c.first << ".." << c.last;
  }
}

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
