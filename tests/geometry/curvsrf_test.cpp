// The curve and surface evaluators on control points and weights written into the model
// store, checked against closed forms.
#include "geometry/curvsrf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "geostore_fixture.h"

namespace kvr::test {
namespace {

using Knots = std::vector<float>;

void expectPoint(const Point& got, const Point& want, const char* what) {
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(got[k], want[k], 1.0e-5f * std::max(1.0f, std::fabs(want[k]))) << what << " " << k;
  }
}

TEST(Kntspn, ClampsAndFindsTheSpan) {
  // Degree 2 on five points: spans 3..5 over the domain 0..3 (knots 3..6).
  const Knots u = {0, 0, 0, 1, 2, 3, 3, 3};
  struct Case {
    float u;
    int32_t span;
    float clamped;
  };
  const Case cases[] = {
      {-1.0f, 3, 0.0f}, {0.0f, 3, 0.0f},  {0.5f, 3, 0.5f}, {1.0f, 4, 1.0f},
      {1.5f, 4, 1.5f},  {2.5f, 5, 2.5f}, {3.0f, 5, 3.0f}, {7.0f, 5, 3.0f},
  };
  for (const Case& c : cases) {
    float t = c.u;
    EXPECT_EQ(KNTSPN(5, 3, t, u), c.span) << c.u;
    EXPECT_EQ(t, c.clamped) << c.u;
  }
  // Repeated inner knots are passed over.
  const Knots repeated = {0, 0, 1, 1, 2, 2};
  float t = 1.0f;
  EXPECT_EQ(KNTSPN(4, 2, t, repeated), 4);
}

TEST(Kntspn, StopsOnAKnotVectorThatFallsBack) {
  // Not non-decreasing: the bisection would cycle; it stops within F..L.
  const Knots u = {0, 0, 5, -5, 5, -5, 5, 10, 10};
  for (float v : {0.5f, 4.0f, 6.0f, 9.0f}) {
    float t = v;
    const int32_t s = KNTSPN(7, 2, t, u);
    EXPECT_GE(s, 2) << v;
    EXPECT_LE(s, 7) << v;
    EXPECT_EQ(t, v);
  }
  // A vector shorter than the spans asked for is not read.
  float t = 0.5f;
  EXPECT_EQ(KNTSPN(9, 2, t, u), 2);
  EXPECT_EQ(t, 0.5f);
}

TEST(Bernst, EveryDegreeIsTheBernsteinForm) {
  const std::vector<float> c = {1, 2, 4, 8, 16, 32, 64, 128, 256};
  struct Case {
    int32_t n;
    float t;
    float value;
  };
  // Sum of c(k+1) B(n,k)(t) with c(k+1) = 2^k is (1 + t)^n.
  const Case cases[] = {
      {0, 0.3f, 1.0f},           // the one coefficient
      {1, 0.25f, 1.25f},
      {3, 0.5f, 3.375f},
      {6, 0.5f, 11.390625f},
      {7, 0.5f, 17.0859375f},    // degree 7 too, not the linear form
      {7, 1.0f, 128.0f},
      {-1, 0.5f, 0.0f},
      {9, 0.5f, 0.0f},           // more coefficients than C holds
  };
  for (const Case& k : cases) {
    float value = -1;
    BERNST(k.n, c, k.t, value);
    EXPECT_NEAR(value, k.value, 1.0e-5f * std::max(1.0f, k.value)) << k.n << " " << k.t;
  }
}

class Evaluators : public GeoStore {};

TEST_F(Evaluators, ClampedCubicInterpolatesItsEnds) {
  const std::vector<Point> p = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 2}};
  putPoints(kArrGeoControlPoints, 11, p);
  const Knots u = {0, 0, 0, 0, 1, 1, 1, 1};
  Point mid{};
  for (size_t k = 0; k < 3; ++k) mid[k] = (p[0][k] + 3 * p[1][k] + 3 * p[2][k] + p[3][k]) / 8;
  struct Case {
    float u;
    Point want;
  };
  const Case cases[] = {{0, p[0]}, {1, p[3]}, {0.5f, mid}, {-0.5f, p[0]}, {1.5f, p[3]}};
  for (const Case& c : cases) {
    float t = c.u;
    Point got{9, 9, 9};
    int32_t status = -1;
    BSPCRV(t, 3, 3, 11, u, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 0) << c.u;
    EXPECT_EQ(t, c.u);
    expectPoint(got, c.want, "cubic");
    // The same curve as a rational one with unit weights, and as a Bezier curve.
    putReals(kArrGeoValues, 5, {1, 1, 1, 1});
    NRBCRV(t, 3, 3, 11, 5, u, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 0) << c.u;
    expectPoint(got, c.want, "rational cubic");
    BEZCRV(std::clamp(c.u, 0.0f, 1.0f), 3, 11, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 0) << c.u;
    expectPoint(got, c.want, "Bezier cubic");
  }
}

TEST_F(Evaluators, RationalQuadraticIsAQuarterCircle) {
  putPoints(kArrGeoControlPoints, 1, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  putReals(kArrGeoValues, 1, {1, 0.70710678f, 1});
  const Knots u = {0, 0, 0, 1, 1, 1};
  for (float t : {0.0f, 0.1f, 0.25f, 0.5f, 0.8f, 1.0f}) {
    Point got{};
    int32_t status = -1;
    NRBCRV(t, 2, 2, 1, 1, u, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 0);
    EXPECT_NEAR(std::hypot(got[0], got[1]), 1.0f, 1.0e-5f) << t;
    EXPECT_EQ(got[2], 0.0f);
    if (t == 0.5f) expectPoint(got, {0.70710678f, 0.70710678f, 0}, "middle");
  }
  // All weights 0: no point.
  putReals(kArrGeoValues, 1, {0, 0, 0});
  Point got{9, 9, 9};
  int32_t status = -1;
  NRBCRV(0.3f, 2, 2, 1, 1, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(got, (Point{0, 0, 0}));
}

TEST_F(Evaluators, ReadsOnlyTheTermsThatCount) {
  // At u = 0 only P0 has a basis value; a NaN weight or point elsewhere is never read.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  putPoints(kArrGeoControlPoints, 1, {{2, 3, 4}, {nan, nan, nan}, {nan, 0, 0}});
  putReals(kArrGeoValues, 1, {2, nan, nan});
  const Knots u = {0, 0, 0, 1, 1, 1};
  Point got{};
  int32_t status = -1;
  NRBCRV(0.0f, 2, 2, 1, 1, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(got, (Point{2, 3, 4}));
  BSPCRV(-3.0f, 2, 2, 1, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(got, (Point{2, 3, 4}));
}

TEST_F(Evaluators, BezierDegreesUpToSeven) {
  std::vector<Point> p;
  for (int i = 0; i <= 8; ++i) p.push_back({static_cast<float>(i), 0, 0});
  putPoints(kArrGeoControlPoints, 1, p);
  Point got{9, 9, 9};
  int32_t status = -1;
  BEZCRV(0.5f, 7, 1, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, {3.5f, 0, 0}, "degree 7");
  BEZCRV(0.5f, 0, 2, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, {1, 0, 0}, "degree 0");
  for (int32_t n : {8, -1}) {
    got = {9, 9, 9};
    BEZCRV(0.5f, n, 1, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 1) << n;
    EXPECT_EQ(got, (Point{0, 0, 0})) << n;
  }
}

TEST_F(Evaluators, BilinearSurfacesGiveTheCornerMean) {
  putPoints(kArrGeoControlPoints, 1, {{0, 0, 0}, {2, 0, 1}, {0, 4, 2}, {2, 4, 7}});
  putReals(kArrGeoValues, 1, {1, 1, 1, 1});
  const Knots u = {0, 0, 1, 1};
  const Point mean = {1, 2, 2.5f};
  Point got{};
  int32_t status = -1;
  BEZSRF(0.5f, 0.5f, 1, 1, 1, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, mean, "Bezier");
  BSPSRF(0.5f, 0.5f, 1, 1, 1, 1, 1, u, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, mean, "B-spline");
  NRBSRF(0.5f, 0.5f, 1, 1, 1, 1, 1, 1, u, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, mean, "rational");
  // Off the middle: u runs along the rows (points 1-2), v across them.
  BSPSRF(0.25f, 1.5f, 1, 1, 1, 1, 1, u, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 0);
  expectPoint(got, {0.5f, 4, 3.25f}, "clamped v");
  BEZSRF(0.25f, 1.0f, 1, 1, 1, got[0], got[1], got[2], status);
  expectPoint(got, {0.5f, 4, 3.25f}, "Bezier edge");
  // Zero weights.
  putReals(kArrGeoValues, 1, {0, 0, 0, 0});
  got = {9, 9, 9};
  NRBSRF(0.5f, 0.5f, 1, 1, 1, 1, 1, 1, u, u, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(got, (Point{0, 0, 0}));
}

TEST_F(Evaluators, RefusesWhatItCannotEvaluate) {
  putPoints(kArrGeoControlPoints, 1, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  putReals(kArrGeoValues, 1, {1, 1, 1});
  const Knots u = {0, 0, 0, 1, 1, 1};
  const Knots shortKnots = {0, 0, 0, 1, 1};
  const int32_t held = REGHED.ARRLEN(kArrGeoControlPoints);
  struct Case {
    const char* what;
    int32_t p, n, c0, w0;
    const Knots& knots;
  };
  const Case cases[] = {
      {"negative degree", -1, 2, 1, 1, u},
      {"degree above n", 3, 2, 1, 1, u},
      {"knots missing", 2, 2, 1, 1, shortKnots},
      {"points beyond the store", 2, 2, held - 1, 1, u},
      {"points before the store", 2, 2, 0, 1, u},
      {"weights beyond the store", 2, 2, 1, REGHED.ARRLEN(kArrGeoValues), u},
  };
  for (const Case& c : cases) {
    Point got{9, 9, 9};
    int32_t status = -1;
    NRBCRV(0.5f, c.p, c.n, c.c0, c.w0, c.knots, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 1) << c.what;
    EXPECT_EQ(got, (Point{0, 0, 0})) << c.what;
    if (std::string(c.what).starts_with("weights")) continue;
    got = {9, 9, 9};
    BSPCRV(0.5f, c.p, c.n, c.c0, c.knots, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 1) << c.what;
    EXPECT_EQ(got, (Point{0, 0, 0})) << c.what;
    got = {9, 9, 9};
    BSPSRF(0.5f, 0.5f, c.p, c.n, 0, 0, c.c0, c.knots, Knots{0, 1}, got[0], got[1], got[2], status);
    EXPECT_EQ(status, 1) << c.what;
    EXPECT_EQ(got, (Point{0, 0, 0})) << c.what;
  }
  Point got{9, 9, 9};
  int32_t status = -1;
  BEZSRF(0.5f, 0.5f, 1, 8, 1, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(got, (Point{0, 0, 0}));
  BEZSRF(0.5f, 0.5f, 1, 1, held - 2, got[0], got[1], got[2], status);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace kvr::test
