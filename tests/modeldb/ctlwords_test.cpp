#include "modeldb/ctlwords.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "modeldb/ctlrec.h"
#include "runtime/idxlay.h"
#include "runtime/iounit.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

class CtlWords : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    SETDEF();
  }
  void TearDown() override { reset(); }
  static void reset() {
    CTLREC = {};
    IDXLAY = {};
    IOUNIT = {};
  }
  static std::vector<int32_t> run(int32_t first, int32_t n) {
    std::vector<int32_t> v;
    for (int32_t k = 0; k < n; ++k) v.push_back(first + k);
    return v;
  }
};

TEST_F(CtlWords, RealsOfTheLoadCaseAreKeptBitForBit) {
  S104WB(3, 12, 1.5f, -0.0f);
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 11), 3);
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 12), 12);
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 13), 0x3FC00000);
  EXPECT_EQ(CTLREC.word(kLoadCaseClass, 14), static_cast<int32_t>(0x80000000u));
  int32_t type = 0, number = 0;
  float a = 0.0f, b = 0.0f;
  G104WB(type, number, a, b);
  EXPECT_EQ(type, 3);
  EXPECT_EQ(number, 12);
  EXPECT_EQ(a, 1.5f);
  EXPECT_TRUE(std::signbit(b));
}

TEST_F(CtlWords, ListsAndNamesLandInTheirWords) {
  S104L1(run(100, 20));
  S104L2(run(200, 10));
  for (int32_t k = 0; k < 20; ++k) EXPECT_EQ(CTLREC.word(kLoadCaseClass, 15 + k), 100 + k);
  for (int32_t k = 0; k < 10; ++k) EXPECT_EQ(CTLREC.word(kLoadCaseClass, 35 + k), 200 + k);

  S103LS(run(1, 20));
  S103WS(5, 3, 2024, 14, 30);
  EXPECT_EQ(CTLREC.word(kModelClass, 19), 1);
  EXPECT_EQ(CTLREC.word(kModelClass, 38), 20);
  EXPECT_EQ(CTLREC.word(kModelClass, 39), 0);
  EXPECT_EQ(CTLREC.word(kModelClass, 44), 5);
  EXPECT_EQ(CTLREC.word(kModelClass, 48), 30);

  // Name copies move six words, and never more than the caller's array holds.
  S102W2(run(11, 8));
  EXPECT_EQ(CTLREC.word(kProjectLevelClass, 7), 16);
  EXPECT_EQ(CTLREC.word(kProjectLevelClass, 8), 0);
  std::array<int32_t, 4> shortName{};
  G102W2(shortName);
  EXPECT_EQ(shortName, (std::array<int32_t, 4>{11, 12, 13, 14}));

  for (int32_t k = 1; k <= 12; ++k) CTLREC.word(kResultsClass, k) = k;
  std::vector<int32_t> attribute(10, -1);
  R6GW3N(attribute);
  EXPECT_EQ(attribute, (std::vector<int32_t>{3, 4, 5, 6, 7, 8, 9, 10, -1, -1}));
  int32_t type = 0;
  R6GW2(type);
  EXPECT_EQ(type, 2);
  R6PW1(99);
  EXPECT_EQ(CTLREC.word(kResultsClass, 1), 99);

  S102W9(1, 2, 3);
  EXPECT_EQ(CTLREC.word(kProjectLevelClass, 11), 3);
}

}  // namespace
}  // namespace kvr
