// The conic points of a cylinder or cone generator on a quadric, local coordinates into
// global points, and the scan of the generator angles on which a curve exists.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/conic.h"
#include "geometry/sixcyl.h"
#include "machine_fixture.h"
#include "runtime/modcon.h"

namespace kvr::test {
namespace {

using P12 = std::array<float, 12>;

class Conic : public MachineConstants {
 protected:
  void SetUp() override {
    MachineConstants::SetUp();
    saved_ = GEOCON;
    GEOCON.setReal(2, 0.01745329f);  // degrees to radians
    GEOCON.setReal(5, 1.0e-5f);      // a slope below it is none
  }
  void TearDown() override {
    GEOCON = saved_;
    MachineConstants::TearDown();
  }

  struct Result {
    int32_t roots = -9;
    int32_t status = -9;
    std::array<float, 6> l{};
  };
  static Result conrad(const P12& p, float angle, float a, float b) {
    Result r;
    r.l.fill(-7.0f);
    CONRAD(p, angle, a, b, r.roots, r.l, r.status);
    return r;
  }

 private:
  ConstantWords<10> saved_;
};

// P(k) set from K = 1..10.
P12 quadric(std::initializer_list<std::pair<int, float>> terms) {
  P12 p{};
  for (auto [k, v] : terms) p[static_cast<size_t>(k - 1)] = v;
  return p;
}

TEST_F(Conic, NoEquationAndNoRealRoot) {
  // Only the constant: neither a quadratic nor a linear term.
  Result r = conrad(quadric({{10, 1}}), 30, 1, 0);
  EXPECT_EQ(r.roots, 0);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.l[0], -7.0f);  // nothing written
  // z^2 + 1 = 0 on the unit cylinder: the discriminant -4 is far beyond the tolerances.
  r = conrad(quadric({{3, 1}, {10, 1}}), 0, 1, 0);
  EXPECT_EQ(r.roots, -2);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.l[0], -7.0f);
}

TEST_F(Conic, SphereOnACylinderAtEveryAngle) {
  // x^2 + y^2 + z^2 - 25 on the cylinder of radius 3: z = -4 and 4 whatever the angle.
  const P12 sphere = quadric({{1, 1}, {2, 1}, {3, 1}, {10, -25}});
  for (float angle : {0.0f, 37.0f, 90.0f, 211.5f, 359.0f}) {
    const Result r = conrad(sphere, angle, 3, 0);
    ASSERT_EQ(r.status, 0) << angle;
    EXPECT_EQ(r.roots, 2);
    EXPECT_NEAR(r.l[2], -4.0f, 1e-5f) << angle;
    EXPECT_NEAR(r.l[5], 4.0f, 1e-5f) << angle;
    EXPECT_FLOAT_EQ(r.l[0], 3.0f);
    EXPECT_FLOAT_EQ(r.l[1], angle);
    EXPECT_FLOAT_EQ(r.l[3], 3.0f);
  }
}

TEST_F(Conic, LinearEquationGivesOnePoint) {
  // x - z = 0 on the cylinder of radius 2 at 0 degrees: z = 2.
  const Result r = conrad(quadric({{7, 1}, {9, -1}}), 0, 2, 0);
  EXPECT_EQ(r.roots, 1);
  EXPECT_EQ(r.status, 0);
  EXPECT_FLOAT_EQ(r.l[0], 2.0f);
  EXPECT_FLOAT_EQ(r.l[1], 0.0f);
  EXPECT_FLOAT_EQ(r.l[2], 2.0f);
}

TEST_F(Conic, ConeRadiusFollowsTheRoot) {
  // The cone of radius 1 + z cut by z = 2 (P9 = 1, P10 = -2): one point at radius 3.
  const Result r = conrad(quadric({{9, 1}, {10, -2}}), 45, 1, 1);
  EXPECT_EQ(r.roots, 1);
  EXPECT_NEAR(r.l[2], 2.0f, 1e-6f);
  EXPECT_NEAR(r.l[0], 3.0f, 1e-6f);
  // The same cone cut by the sphere of radius 5 about the origin: on the generator at 0
  // degrees x = 1 + z, so (1 + z)^2 + z^2 = 25 gives z = 3 and z = -4.
  const Result s = conrad(quadric({{1, 1}, {2, 1}, {3, 1}, {10, -25}}), 0, 1, 1);
  ASSERT_EQ(s.roots, 2);
  EXPECT_NEAR(s.l[2], -4.0f, 1e-5f);
  EXPECT_NEAR(s.l[0], -3.0f, 1e-5f);
  EXPECT_NEAR(s.l[5], 3.0f, 1e-5f);
  EXPECT_NEAR(s.l[3], 4.0f, 1e-5f);
}

TEST_F(Conic, NearTouchingIsADoubleRootAtAnyScale) {
  // (z - c)^2 + e = 0 and (z - c)^2 - e = 0 with e a hundred-thousandth of c^2: within
  // rounding of touching, so one double root at c, the same at every scale. Two roots
  // farther apart than that stay two however small the coefficients are.
  for (float c : {1000.0f, 1.0f, 0.001f}) {
    const float e = 1.0e-5f * c * c;
    for (float sign : {1.0f, -1.0f}) {
      const Result r = conrad(quadric({{3, 1}, {9, -2 * c}, {10, c * c + sign * e}}), 0, 1, 0);
      EXPECT_EQ(r.roots, 2) << c;
      EXPECT_EQ(r.status, 0) << c;
      EXPECT_FLOAT_EQ(r.l[2], r.l[5]) << c;
      EXPECT_NEAR(r.l[2], c, 1.0e-6f * c) << c;
    }
    const Result apart = conrad(quadric({{3, 1}, {9, -2 * c}, {10, 0.99f * c * c}}), 0, 1, 0);
    ASSERT_EQ(apart.status, 0) << c;
    EXPECT_NEAR(apart.l[2], 0.9f * c, 1.0e-5f * c) << c;
    EXPECT_NEAR(apart.l[5], 1.1f * c, 1.0e-5f * c) << c;
  }
  // z^2 + 1e-6 = 0 has no real root, and z^2 - 1e-6 = 0 its two at -0.001 and 0.001: an
  // absolute limit on the discriminant took both for the double root 0.
  EXPECT_EQ(conrad(quadric({{3, 1}, {10, 1.0e-6f}}), 0, 1, 0).status, 2);
  const Result two = conrad(quadric({{3, 1}, {10, -1.0e-6f}}), 0, 1, 0);
  ASSERT_EQ(two.status, 0);
  EXPECT_NEAR(two.l[2], -0.001f, 1.0e-9f);
  EXPECT_NEAR(two.l[5], 0.001f, 1.0e-9f);
}

TEST_F(Conic, SmallSphereOnACylinderScalesWithIt) {
  // A sphere of radius R about (cx, cy, cz) on the cylinder of radius r: at the angle t,
  // z = cz -+ sqrt(R^2 - (r cos t - cx)^2 - (r sin t - cy)^2). Radii 0.0033 and 0.003 and
  // the same shapes a thousand times larger, the sphere on the axis and moved off it.
  struct Case {
    float R, r, cx, cy, cz;
  } cases[] = {
      {0.0033f, 0.003f, 0, 0, 0},      {3.3f, 3.0f, 0, 0, 0},
      {0.0033f, 0.003f, 0, 0, 0.002f}, {0.0036f, 0.003f, 0.0002f, -0.0001f, -0.005f},
      {3.6f, 3.0f, 0.2f, -0.1f, -5.0f},
  };
  for (const Case& c : cases) {
    const P12 sphere = quadric({{1, 1}, {2, 1}, {3, 1}, {7, -2 * c.cx}, {8, -2 * c.cy},
                                {9, -2 * c.cz},
                                {10, c.cx * c.cx + c.cy * c.cy + c.cz * c.cz - c.R * c.R}});
    for (float angle : {0.0f, 45.0f, 130.0f, 270.0f}) {
      const double t = angle * M_PI / 180.0;
      const double dx = c.r * std::cos(t) - c.cx, dy = c.r * std::sin(t) - c.cy;
      const double h = std::sqrt(double{c.R} * c.R - dx * dx - dy * dy);
      const Result got = conrad(sphere, angle, c.r, 0);
      ASSERT_EQ(got.status, 0) << c.R << " at " << angle;
      EXPECT_NEAR(got.l[2], c.cz - h, 1.0e-3 * c.R) << c.R << " at " << angle;
      EXPECT_NEAR(got.l[5], c.cz + h, 1.0e-3 * c.R) << c.R << " at " << angle;
    }
  }
}

TEST_F(Conic, LocalCoordinatesByKind) {
  const std::array<float, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const std::array<float, 3> zero{};
  struct Case {
    int32_t kind;
    std::array<float, 3> local;
    std::array<float, 3> want;
  };
  const Case cases[] = {
      {1, {1, 2, 3}, {1, 2, 3}},
      {2, {2, 90, 0}, {2, 0, 0}},
      {2, {2, 0, 45}, {0, 0, 2}},
      {3, {1, 90, 2}, {0, 1, 2}},
      {4, {2, 180, -1}, {-2, 0, -1}},
  };
  for (const Case& c : cases) {
    std::array<float, 3> point{};
    int32_t status = -1;
    LOCGLB(c.kind, zero, 4, identity, c.local, point, status);
    EXPECT_EQ(status, 0) << c.kind;
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(point[i], c.want[i], 1e-6f) << c.kind << " " << i;
  }
  std::array<float, 3> point = {-7, -7, -7};
  int32_t status = -1;
  LOCGLB(5, zero, 4, identity, std::array<float, 3>{1, 2, 3}, point, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(point[0], -7.0f);
  // A leading dimension that would reach past the frame.
  LOCGLB(1, zero, 7, identity, std::array<float, 3>{1, 2, 3}, point, status);
  EXPECT_EQ(status, 1);
}

TEST_F(Conic, LocalCoordinatesThroughRowsAndOrigin) {
  // Axes as rows: local x along global y, local y along -x, local z along z; the origin
  // at (1, 2, 3). F(k, i) is element (i - 1) 3 + k with a leading dimension of 3.
  const std::array<float, 9> f = {0, -1, 0, 1, 0, 0, 0, 0, 1};
  const std::array<float, 3> origin = {1, 2, 3};
  std::array<float, 3> point{};
  int32_t status = -1;
  LOCGLB(1, origin, 3, f, std::array<float, 3>{2, 1, 5}, point, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(point, (std::array<float, 3>{0, 4, 8}));
}

TEST_F(Conic, AngleScanFindsTheRangeAcrossZero) {
  // z^2 = x - 0.5 on the unit cylinder: points where cos(angle) >= 0.5, from 300 to 60.
  std::array<float, 14> p{};
  p[2] = 1;      // P3
  p[6] = -1;     // P7
  p[9] = 0.5f;   // P10
  p[10] = 1;     // P11
  float start = -1, end = -1;
  int32_t flag = -1;
  ANGSCN(p, start, end, flag);
  EXPECT_NEAR(start, 300.0f, 0.001f);
  EXPECT_NEAR(end, 60.0f, 0.001f);
  EXPECT_EQ(flag, 0);
}

TEST_F(Conic, AngleScanFlagsTwoRanges) {
  // z^2 = x^2 - 0.25 on the unit cylinder: |cos| >= 0.5, around 0 and around 180.
  std::array<float, 14> p{};
  p[0] = -1;      // P1
  p[2] = 1;       // P3
  p[9] = 0.25f;   // P10
  p[10] = 1;
  float start = -1, end = -1;
  int32_t flag = -1;
  ANGSCN(p, start, end, flag);
  EXPECT_EQ(flag, 4);
  // Points everywhere: no change, both angles 0.
  std::array<float, 14> q{};
  q[2] = 1;
  q[9] = -1;
  q[10] = 1;
  ANGSCN(q, start, end, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(start, 0.0f);
  EXPECT_EQ(end, 0.0f);
}

}  // namespace
}  // namespace kvr::test
