#include "modeldb/cmptrf.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <vector>

#include "geometry/matrix4.h"

namespace kvr {
namespace {

class Transform : public ::testing::Test {
 protected:
  void SetUp() override { identity(); }
  void TearDown() override { CMPTRF = {}; }

  static void identity() {
    std::array<double, 16> m{};
    IDNT4D(m);
    CMPTRF = {};
    for (int32_t k = 1; k <= 16; ++k) CMPTRF.element(k) = static_cast<float>(m[static_cast<size_t>(k - 1)]);
  }

  static std::array<float, 3> moved(float x, float y, float z) {
    XFMPNT(x, y, z);
    return {x, y, z};
  }
};

TEST_F(Transform, XfmpntIdentityTranslationAndWeight) {
  const auto same = moved(1.5f, -2.0f, 3.0f);
  EXPECT_EQ(std::bit_cast<uint32_t>(same[0]), std::bit_cast<uint32_t>(1.5f));
  EXPECT_EQ(std::bit_cast<uint32_t>(same[1]), std::bit_cast<uint32_t>(-2.0f));
  EXPECT_EQ(std::bit_cast<uint32_t>(same[2]), std::bit_cast<uint32_t>(3.0f));

  CMPTRF.element(13) = 1.0f;
  CMPTRF.element(14) = 2.0f;
  CMPTRF.element(15) = 3.0f;
  EXPECT_EQ(moved(0, 0, 0), (std::array<float, 3>{1, 2, 3}));

  identity();
  CMPTRF.element(16) = 2.0f;
  EXPECT_EQ(moved(2, 4, 6), (std::array<float, 3>{1, 2, 3}));
  // A weight of 0 has no point to move to: the point stays.
  CMPTRF.element(16) = 0.0f;
  EXPECT_EQ(moved(2, 4, 6), (std::array<float, 3>{2, 4, 6}));
}

TEST_F(Transform, Mat44mComposesAndMayOverwriteAnArgument) {
  std::array<double, 16> t{}, s{}, r{};
  IDNT4D(t);
  t[12] = 1.0;  // translation by (1, 0, 0)
  IDNT4D(s);
  for (size_t k : {0u, 5u, 10u}) s[k] = 2.0;  // scaling by 2
  MAT44M(t, s, r);
  // T x S scales first, then translates: (1, 0, 0) goes to (3, 0, 0).
  for (int32_t k = 1; k <= 16; ++k) CMPTRF.element(k) = static_cast<float>(r[static_cast<size_t>(k - 1)]);
  EXPECT_EQ(moved(1, 0, 0), (std::array<float, 3>{3, 0, 0}));

  MAT44M(t, s, t);
  EXPECT_EQ(t, r);
  IDNT4D(t);
  t[12] = 1.0;
  MAT44M(t, s, s);
  EXPECT_EQ(s, r);
}

TEST_F(Transform, NodxyzReadsTheEntryAndTransformsOnlyWithTheFlag) {
  std::vector<int32_t> page(20, 0);
  const int32_t q = 7;
  page[q + 4 - 1] = std::bit_cast<int32_t>(0.5f);
  page[q + 5 - 1] = std::bit_cast<int32_t>(-1.0f);
  page[q + 6 - 1] = std::bit_cast<int32_t>(2.0f);
  CMPTRF.element(13) = 10.0f;
  float x = 0, y = 0, z = 0;
  CMPTRF.flag = 0;
  NODXYZ(page, q, x, y, z);
  EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{0.5f, -1.0f, 2.0f}));
  CMPTRF.flag = 1;
  NODXYZ(page, q, x, y, z);
  EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{10.5f, -1.0f, 2.0f}));
  // Past the page the words read as 0, and PAGS3 writes nothing.
  CMPTRF.flag = 0;
  NODXYZ(page, 15, x, y, z);
  EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
  PAGS3(page, q, 44);
  EXPECT_EQ(PAGW3(page, q), 44);
  PAGS3(page, 18, 45);
  EXPECT_EQ(PAGW3(page, 18), 0);
}

}  // namespace
}  // namespace kvr
