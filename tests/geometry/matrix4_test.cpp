#include "geometry/matrix4.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "machine_fixture.h"
#include "runtime/machcn.h"

namespace {

using kvr::Frame4D;
using kvr::Frame4R;
using kvr::InvFrame4D;
using kvr::InvFrame4R;
using kvr::Matrix4R;

template <typename M>
M product(const M& a, const M& b) {
  M p{};
  for (int r = 1; r <= 4; ++r) {
    for (int c = 1; c <= 4; ++c) {
      for (int k = 1; k <= 4; ++k) p(r, c) += a(r, k) * b(k, c);
    }
  }
  return p;
}

// A frame rotated by 30 degrees about z and 45 about x, with origin T and scale W.
Frame4R frame(float tx, float ty, float tz, float w) {
  const float cz = std::cos(0.5235988f), sz = std::sin(0.5235988f);
  const float cx = std::cos(0.7853982f), sx = std::sin(0.7853982f);
  const float rz[3][3] = {{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}};
  const float rx[3][3] = {{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}};
  Frame4R m{};
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) {
      for (int k = 0; k < 3; ++k) m(r, c) += rz[r - 1][k] * rx[k][c - 1];
    }
  }
  m(1, 4) = tx;
  m(2, 4) = ty;
  m(3, 4) = tz;
  m(4, 4) = w;
  return m;
}

// The frame turned by 90 degrees about z (x axis along global y) with origin (1, 2, 3).
template <typename F>
F quarterTurn() {
  F m{};
  m(2, 1) = 1;   // x axis (0, 1, 0)
  m(1, 2) = -1;  // y axis (-1, 0, 0)
  m(3, 3) = 1;   // z axis
  m(1, 4) = 1;
  m(2, 4) = 2;
  m(3, 4) = 3;
  m(4, 4) = 1;
  return m;
}

class Trfivr : public kvr::test::MachineConstants {};
class Trfinv : public kvr::test::MachineConstants {};

TEST(Matrix4, ElementsCountFromOneColumnByColumn) {
  Frame4D m{};
  m(1, 4) = 7.0;
  m(4, 1) = 9.0;
  EXPECT_EQ(m.values[12], 7.0);
  EXPECT_EQ(m.values[3], 9.0);
}

TEST(Idnt4d, SetsEveryElement) {
  std::array<double, 16> m;
  m.fill(7.5);
  kvr::IDNT4D(m);
  Frame4R r;
  r.values.fill(7.5f);
  kvr::IDNT4R(r.values);
  for (int c = 1; c <= 4; ++c) {
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(m[static_cast<size_t>(4 * (c - 1) + i - 1)], i == c ? 1.0 : 0.0) << i << c;
      EXPECT_EQ(r(i, c), i == c ? 1.0f : 0.0f) << i << c;
    }
  }
}

TEST_F(Trfinv, QuarterTurnGivesTransposeAndMovedOrigin) {
  const Frame4D m = quarterTurn<Frame4D>();
  InvFrame4D r{};
  kvr::TRFINV(m, r);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(r(i, j), m(j, i)) << i << j;
  }
  EXPECT_EQ(r(1, 4), -2.0);
  EXPECT_EQ(r(2, 4), 1.0);
  EXPECT_EQ(r(3, 4), -3.0);
  EXPECT_EQ(r(4, 4), 1.0);
  // Through the frame and back.
  std::array<double, 3> p{4, 5, 6};
  kvr::TRFPNT(m, p, p);
  EXPECT_EQ(p, (std::array<double, 3>{-4, 6, 9}));
  kvr::TRFPNT(r, p, p);
  EXPECT_EQ(p, (std::array<double, 3>{4, 5, 6}));
  // The inverse of the inverse is the frame.
  Frame4D back{};
  kvr::TRFINV(r, back);
  EXPECT_EQ(back.values, m.values);
}

TEST_F(Trfinv, LeavesTheResultForAZeroScale) {
  Frame4D m = quarterTurn<Frame4D>();
  m(4, 4) = 0.0;
  InvFrame4D r;
  r.values.fill(7.0);
  kvr::TRFINV(m, r);
  for (double v : r.values) EXPECT_EQ(v, 7.0);
}

TEST_F(Trfivr, QuarterTurnInSinglePrecision) {
  const Frame4R m = quarterTurn<Frame4R>();
  InvFrame4R r{};
  kvr::TRFIVR(m, r);
  EXPECT_EQ(r(1, 4), -2.0f);
  EXPECT_EQ(r(2, 4), 1.0f);
  EXPECT_EQ(r(3, 4), -3.0f);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(r(i, j), m(j, i)) << i << j;
  }
}

TEST_F(Trfivr, InvertsARigidFrame) {
  const Frame4R m = frame(3.0f, -2.0f, 5.0f, 1.0f);
  InvFrame4R r;
  r.values.fill(9.0f);
  kvr::TRFIVR(m, r);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(r(i, j), m(j, i)) << i << j;
    // -Q^T t: the origin seen from the frame.
    const float expected = -(m(1, i) * 3.0f + m(2, i) * -2.0f + m(3, i) * 5.0f);
    EXPECT_FLOAT_EQ(r(i, 4), expected) << i;
    EXPECT_EQ(r(4, i), 0.0f) << i;
  }
  EXPECT_EQ(r(4, 4), 1.0f);
  Matrix4R a{m.values}, b{r.values};
  const Matrix4R p = product(a, b);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_NEAR(p(i, j), i == j ? 1.0f : 0.0f, 1e-5f) << i << j;
  }
}

TEST_F(Trfivr, ScaledFrameMapsPointsBack) {
  // M maps p to (Q p + t) / w; its inverse maps that point back to p.
  const Frame4R m = frame(1.0f, 2.0f, 3.0f, 2.0f);
  InvFrame4R r{};
  kvr::TRFIVR(m, r);
  EXPECT_FLOAT_EQ(r(4, 4), 0.5f);
  auto apply = [](const auto& a, const float p[3], float q[3]) {
    float h[4];
    for (int i = 1; i <= 4; ++i) h[i - 1] = a(i, 1) * p[0] + a(i, 2) * p[1] + a(i, 3) * p[2] + a(i, 4);
    for (int i = 0; i < 3; ++i) q[i] = h[i] / h[3];
  };
  const float p[3] = {0.5f, -4.0f, 7.0f};
  float q[3], back[3];
  apply(m, p, q);
  apply(r, q, back);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], p[i], 1e-5) << i;
}

TEST_F(Trfivr, RowFourIsCopied) {
  Frame4R m = frame(0.0f, 0.0f, 0.0f, 1.0f);
  m(4, 1) = 0.25f;
  m(4, 3) = -0.5f;
  InvFrame4R r{};
  kvr::TRFIVR(m, r);
  EXPECT_EQ(r(4, 1), 0.25f);
  EXPECT_EQ(r(4, 2), 0.0f);
  EXPECT_EQ(r(4, 3), -0.5f);
}

TEST_F(Trfivr, InvertingTheInverseGivesTheFrameBack) {
  const Frame4R m = frame(3.0f, -2.0f, 5.0f, 1.0f);
  InvFrame4R r{};
  kvr::TRFIVR(m, r);
  Frame4R back{};
  kvr::TRFIVR(r, back);
  for (int k = 0; k < 16; ++k) EXPECT_NEAR(back.values[k], m.values[k], 1e-6f) << k;
}

TEST_F(Trfivr, LeavesTheResultForAScaleTooSmall) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float w : {0.0f, 1.0e-33f, -1.0e-33f, nan, inf}) {
    const Frame4R m = frame(1.0f, 1.0f, 1.0f, w);
    InvFrame4R r;
    r.values.fill(7.0f);
    kvr::TRFIVR(m, r);
    for (float v : r.values) EXPECT_EQ(v, 7.0f) << w;
  }
  // Before the machine constants are set a zero scale is still refused.
  kvr::MACHCN.setReal(kvr::kMachTolerance, 0.0f);
  Frame4R m = frame(1.0f, 1.0f, 1.0f, 0.0f);
  InvFrame4R r;
  r.values.fill(7.0f);
  kvr::TRFIVR(m, r);
  for (float v : r.values) EXPECT_EQ(v, 7.0f);
  // A small scale above the smallest real is inverted.
  kvr::MACHCN.setReal(kvr::kMachTolerance, 1.0e-32f);
  m = frame(0.0f, 0.0f, 0.0f, 1.0e-30f);
  kvr::TRFIVR(m, r);
  EXPECT_FLOAT_EQ(r(4, 4), 1.0e30f);
}

TEST(Matm4r, StoresTheProductIntoTheOperandChosenByK) {
  // A: a translation by (1, 2, 3); B: a scaling by 2 of the axes.
  Matrix4R a{}, b{};
  kvr::IDNT4R(a.values);
  kvr::IDNT4R(b.values);
  a(1, 4) = 1;
  a(2, 4) = 2;
  a(3, 4) = 3;
  for (int k = 1; k <= 3; ++k) b(k, k) = 2;
  const Matrix4R expected = product(a, b);
  for (int32_t k : {1, 7, 0, -2}) {
    Matrix4R x = a, y = b;
    kvr::MATM4R(x, y, k);
    EXPECT_EQ(x.values, expected.values) << k;
    EXPECT_EQ(y.values, b.values) << k;
  }
  Matrix4R x = a, y = b;
  kvr::MATM4R(x, y, 2);
  EXPECT_EQ(x.values, a.values);
  EXPECT_EQ(y.values, expected.values);
  // One array as both operands: its square, whichever way it is stored.
  for (int32_t k : {1, 2}) {
    Matrix4R s = a;
    kvr::MATM4R(s, s, k);
    EXPECT_EQ(s(1, 4), 2.0f) << k;
    EXPECT_EQ(s(2, 4), 4.0f) << k;
    EXPECT_EQ(s(3, 4), 6.0f) << k;
    EXPECT_EQ(s(4, 4), 1.0f) << k;
  }
}

TEST(Trns4r, TransposesInPlace) {
  Matrix4R m{};
  for (int k = 0; k < 16; ++k) m.values[static_cast<size_t>(k)] = static_cast<float>(k);
  const Matrix4R original = m;
  kvr::TRNS4R(m);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(m(i, j), original(j, i)) << i << j;
  }
}

TEST(Frm3pt, RowsAreTheAxesOfTheThreePoints) {
  // X along global y, the second point towards -x: Z = +z, Y = -x.
  const std::array<double, 3> p0{1, 1, 1}, p1{1, 3, 1}, p2{-4, 1, 1};
  InvFrame4D m;
  m.values.fill(5.0);
  kvr::FRM3PT(p0, p1, p2, m);
  const double rows[3][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(m(i, j), rows[i - 1][j - 1]) << i << j;
    EXPECT_EQ(m(i, 4), 0.0) << i;
    EXPECT_EQ(m(4, i), 0.0) << i;
  }
  EXPECT_EQ(m(4, 4), 1.0);
  // Components along X, Y and Z about the global origin.
  std::array<double, 3> q{};
  kvr::TRFPNT(m, std::array<double, 3>{1, 0, 0}, q);
  EXPECT_EQ(q, (std::array<double, 3>{0, -1, 0}));
}

TEST(Frm3pt, CoincidentFirstPointsGiveZeroRows) {
  const std::array<double, 3> p0{1, 2, 3}, p2{4, 4, 4};
  InvFrame4D m;
  m.values.fill(5.0);
  kvr::FRM3PT(p0, p0, p2, m);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(m(i, j), i == 4 && j == 4 ? 1.0 : 0.0) << i << j;
  }
  // Collinear points: X stands, Y and Z are zero.
  kvr::FRM3PT(p0, std::array<double, 3>{2, 2, 3}, std::array<double, 3>{5, 2, 3}, m);
  EXPECT_EQ(m(1, 1), 1.0);
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(m(2, j), 0.0) << j;
    EXPECT_EQ(m(3, j), 0.0) << j;
  }
}

// Column J (1..3) of a 3 x 3 result stored with leading dimension LD.
std::array<float, 3> column(const std::array<float, 12>& r, int j, int ld) {
  const size_t s = static_cast<size_t>((j - 1) * ld);
  return {r[s], r[s + 1], r[s + 2]};
}

TEST(Frm2ax, AxisNumbersChooseTheColumns) {
  const std::array<float, 3> p0{0, 0, 0}, pb{1, 0, 0}, pc{0, 1, 0};
  std::array<float, 12> r{};
  int32_t stat = 9;
  kvr::FRM2AX(p0, 3, pb, 2, pc, 3, r, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(column(r, 1, 3), (std::array<float, 3>{0, 1, 0}));
  EXPECT_EQ(column(r, 2, 3), (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(column(r, 3, 3), (std::array<float, 3>{1, 0, 0}));
}

TEST(Frm2ax, EveryOrderIsRightHandedWithAxisTTowardsPc) {
  // An oblique triangle; every ordered pair of axis numbers, leading dimension 4.
  const std::array<float, 3> p0{1, -1, 2}, pb{3, 0, 2}, pc{0, 2, 5};
  for (int32_t b = 1; b <= 3; ++b) {
    for (int32_t c = 1; c <= 3; ++c) {
      if (b == c) continue;
      const int32_t t = 6 - b - c;
      std::array<float, 12> r{};
      int32_t stat = 9;
      kvr::FRM2AX(p0, b, pb, c, pc, 4, r, stat);
      ASSERT_EQ(stat, 0) << b << c;
      const auto x = column(r, 1, 4), y = column(r, 2, 4), z = column(r, 3, 4);
      const std::array<float, 3> xy{x[1] * y[2] - x[2] * y[1], x[2] * y[0] - x[0] * y[2],
                                    x[0] * y[1] - x[1] * y[0]};
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(xy[k], z[k], 1e-6f) << b << c << k;
      // Axis B towards PB, axis C normal to the plane, axis T on the side of PC.
      const auto ab = column(r, b, 4), ac = column(r, c, 4), at = column(r, t, 4);
      const float lb = std::sqrt(4.0f + 1.0f);
      EXPECT_NEAR(ab[0], 2.0f / lb, 1e-6f);
      EXPECT_NEAR(ab[1], 1.0f / lb, 1e-6f);
      const float dc = ac[0] * -1.0f + ac[1] * 3.0f + ac[2] * 3.0f;
      EXPECT_NEAR(dc, 0.0f, 1e-6f) << b << c;
      EXPECT_GT(at[0] * -1.0f + at[1] * 3.0f + at[2] * 3.0f, 0.0f) << b << c;
    }
  }
}

TEST(Frm2ax, DegenerateInputGivesTheIdentity) {
  struct Case {
    int32_t b, c;
    std::array<float, 3> pb, pc;
  };
  const Case cases[] = {
      {2, 2, {1, 0, 0}, {0, 1, 0}},  // the same axis twice
      {3, 2, {0, 0, 0}, {0, 1, 0}},  // PB on P0
      {3, 2, {1, 0, 0}, {0, 0, 0}},  // PC on P0
      {3, 2, {1, 0, 0}, {3, 0, 0}},  // PC on the line P0-PB
      {0, 2, {1, 0, 0}, {0, 1, 0}},  // no such axis
      {3, 4, {1, 0, 0}, {0, 1, 0}},
  };
  const std::array<float, 3> p0{0, 0, 0};
  for (const Case& c : cases) {
    std::array<float, 12> r;
    r.fill(5.0f);
    int32_t stat = 9;
    kvr::FRM2AX(p0, c.b, c.pb, c.c, c.pc, 3, r, stat);
    EXPECT_EQ(stat, 1) << c.b << c.c;
    for (int j = 1; j <= 3; ++j) {
      for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(column(r, j, 3)[static_cast<size_t>(i - 1)], i == j ? 1.0f : 0.0f) << c.b << c.c;
      }
    }
  }
  // No room for three columns: nothing is written.
  std::array<float, 12> r;
  r.fill(5.0f);
  int32_t stat = 9;
  kvr::FRM2AX(p0, 3, std::array<float, 3>{1, 0, 0}, 2, std::array<float, 3>{0, 1, 0}, 2, r,
              stat);
  EXPECT_EQ(stat, 1);
  for (float v : r) EXPECT_EQ(v, 5.0f);
  kvr::FRM2AX(p0, 3, std::array<float, 3>{1, 0, 0}, 2, std::array<float, 3>{0, 1, 0}, 5, r,
              stat);
  EXPECT_EQ(stat, 1);
  for (float v : r) EXPECT_EQ(v, 5.0f);
}

}  // namespace
