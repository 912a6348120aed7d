#include "geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "runtime/machcn.h"

namespace {

using Float16 = std::array<float, 16>;

// Element (r, c) of a matrix stored column by column.
float& el(Float16& m, int r, int c) { return m[static_cast<size_t>(4 * (c - 1) + r - 1)]; }

Float16 product(Float16 a, Float16 b) {
  Float16 p{};
  for (int r = 1; r <= 4; ++r) {
    for (int c = 1; c <= 4; ++c) {
      for (int k = 1; k <= 4; ++k) el(p, r, c) += el(a, r, k) * el(b, k, c);
    }
  }
  return p;
}

// A frame rotated by 30 degrees about z and 45 about x, with origin T and scale W.
Float16 frame(float tx, float ty, float tz, float w) {
  const float cz = std::cos(0.5235988f), sz = std::sin(0.5235988f);
  const float cx = std::cos(0.7853982f), sx = std::sin(0.7853982f);
  const float rz[3][3] = {{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}};
  const float rx[3][3] = {{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}};
  Float16 m{};
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) {
      for (int k = 0; k < 3; ++k) el(m, r, c) += rz[r - 1][k] * rx[k][c - 1];
    }
  }
  el(m, 1, 4) = tx;
  el(m, 2, 4) = ty;
  el(m, 3, 4) = tz;
  el(m, 4, 4) = w;
  return m;
}

class Trfivr : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = kvr::MACHCN;
    kvr::MACHCN.setReal(kvr::kMachTolerance, 1.0e-32f);
  }
  void TearDown() override { kvr::MACHCN = saved_; }

 private:
  kvr::MachCn saved_;
};

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

TEST_F(Trfivr, InvertsARigidFrame) {
  Float16 m = frame(3.0f, -2.0f, 5.0f, 1.0f);
  Float16 r;
  r.fill(9.0f);
  kvr::TRFIVR(m, r);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(el(r, i, j), el(m, j, i)) << i << j;
    // -Q^T t: the origin seen from the frame.
    const float expected = -(el(m, 1, i) * 3.0f + el(m, 2, i) * -2.0f + el(m, 3, i) * 5.0f);
    EXPECT_FLOAT_EQ(el(r, i, 4), expected) << i;
    EXPECT_EQ(el(r, 4, i), 0.0f) << i;
  }
  EXPECT_EQ(el(r, 4, 4), 1.0f);
  const Float16 p = product(m, r);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_NEAR(p[static_cast<size_t>(4 * (j - 1) + i - 1)], i == j ? 1.0f : 0.0f, 1e-5f) << i << j;
  }
}

TEST_F(Trfivr, ScaledFrameMapsPointsBack) {
  // M maps p to (Q p + t) / w; its inverse maps that point back to p.
  Float16 m = frame(1.0f, 2.0f, 3.0f, 2.0f);
  Float16 r{};
  kvr::TRFIVR(m, r);
  EXPECT_FLOAT_EQ(el(r, 4, 4), 0.5f);
  auto apply = [](Float16& a, const float p[3], float q[3]) {
    float h[4];
    for (int i = 1; i <= 4; ++i) {
      h[i - 1] = el(a, i, 1) * p[0] + el(a, i, 2) * p[1] + el(a, i, 3) * p[2] + el(a, i, 4);
    }
    for (int i = 0; i < 3; ++i) q[i] = h[i] / h[3];
  };
  const float p[3] = {0.5f, -4.0f, 7.0f};
  float q[3], back[3];
  apply(m, p, q);
  apply(r, q, back);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], p[i], 1e-5) << i;
}

TEST_F(Trfivr, RowFourIsCopied) {
  Float16 m = frame(0.0f, 0.0f, 0.0f, 1.0f);
  el(m, 4, 1) = 0.25f;
  el(m, 4, 3) = -0.5f;
  Float16 r{};
  kvr::TRFIVR(m, r);
  EXPECT_EQ(el(r, 4, 1), 0.25f);
  EXPECT_EQ(el(r, 4, 2), 0.0f);
  EXPECT_EQ(el(r, 4, 3), -0.5f);
}

TEST_F(Trfivr, MayInvertInPlace) {
  Float16 m = frame(3.0f, -2.0f, 5.0f, 1.0f);
  Float16 separate{};
  kvr::TRFIVR(m, separate);
  kvr::TRFIVR(m, m);
  EXPECT_EQ(m, separate);
}

TEST_F(Trfivr, LeavesTheResultForAScaleTooSmall) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float w : {0.0f, 1.0e-33f, -1.0e-33f, nan, inf}) {
    Float16 m = frame(1.0f, 1.0f, 1.0f, w);
    Float16 r;
    r.fill(7.0f);
    kvr::TRFIVR(m, r);
    for (float v : r) EXPECT_EQ(v, 7.0f) << w;
  }
  // Before the machine constants are set a zero scale is still refused.
  kvr::MACHCN.setReal(kvr::kMachTolerance, 0.0f);
  Float16 m = frame(1.0f, 1.0f, 1.0f, 0.0f);
  Float16 r;
  r.fill(7.0f);
  kvr::TRFIVR(m, r);
  for (float v : r) EXPECT_EQ(v, 7.0f);
  // A small scale above the smallest real is inverted.
  kvr::MACHCN.setReal(kvr::kMachTolerance, 1.0e-32f);
  m = frame(0.0f, 0.0f, 0.0f, 1.0e-30f);
  kvr::TRFIVR(m, r);
  EXPECT_FLOAT_EQ(el(r, 4, 4), 1.0e30f);
}

}  // namespace
