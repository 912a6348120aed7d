// Line geometry by line type: LINPTS and LINDEF over geometry records written into the
// model store, and the elliptic and parabolic arc lengths against their closed forms.
#include "geometry/linegeo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "geostore_fixture.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;

void expectPoints(const std::vector<float>& got, const std::vector<Point>& want,
                  const char* what) {
  ASSERT_GE(got.size(), 3 * want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(got[3 * i + k], want[i][k], 1.0e-5f * std::max(1.0f, std::fabs(want[i][k])))
          << what << " point " << i + 1 << " coordinate " << k + 1;
    }
  }
}

class LineGeometry : public GeoStore {
 protected:
  // LINPTS at T on record REC, branch Q: the status and the points (unwritten ones hold
  // the sentinel).
  static std::pair<int32_t, std::vector<float>> points(int32_t rec, const std::vector<float>& t,
                                                       int32_t q = 1) {
    std::vector<float> out(3 * t.size(), kSentinel);
    int32_t status = -1;
    LINPTS(static_cast<int32_t>(t.size()), t, q, rec, out, status);
    return {status, out};
  }
};

TEST_F(LineGeometry, StraightDefinitions) {
  putGeoRecord(1, {{2, 101.001f}, {3, 0}, {4, 0}, {5, 0}, {6, 2}, {7, 0}, {8, 0}});
  putGeoRecord(2, {{2, 101.001f}, {3, 1}, {4, 2}, {5, 3}, {6, 0}, {7, -1}, {8, 4}});
  auto [status, p] = points(1, {0.5f, 0, 1});
  EXPECT_EQ(status, 0);
  expectPoints(p, {{1, 0, 0}, {0, 0, 0}, {2, 0, 0}}, "along x");
  std::tie(status, p) = points(2, {0.25f});
  EXPECT_EQ(status, 0);
  expectPoints(p, {{1, 1.75f, 4}}, "skew");

  std::array<float, 3> one{kSentinel, kSentinel, kSentinel};
  LINDEF(0.5f, 1, 1, one, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(one, (Point{1, 0, 0}));
}

TEST_F(LineGeometry, DefinitionsWithoutPoints) {
  // Status 0 and nothing written: a straight line whose word 15 is positive, and type 2.
  putGeoRecord(1, {{2, 101.001f}, {6, 2}, {15, 1.001f}});
  putGeoRecord(2, {{2, 102.001f}});
  for (int32_t rec : {1, 2}) {
    auto [status, p] = points(rec, {0.5f, 0.7f});
    EXPECT_EQ(status, 0) << rec;
    EXPECT_TRUE(std::all_of(p.begin(), p.end(), [](float v) { return v == kSentinel; })) << rec;
    std::array<float, 3> one{kSentinel, kSentinel, kSentinel};
    LINDEF(0.5f, 1, rec, one, status);
    EXPECT_EQ(status, 0) << rec;
    EXPECT_EQ(one, (Point{kSentinel, kSentinel, kSentinel})) << rec;
  }
}

TEST_F(LineGeometry, RefusedDefinitions) {
  // A class other than 1, type 4, an unknown type, a negative code.
  const float codes[] = {205.001f, 104.001f, 199.001f, 6.001f, -101.001f};
  int32_t rec = 0;
  for (float code : codes) {
    putGeoRecord(++rec, {{2, code}, {6, 2}});
    auto [status, p] = points(rec, {0.5f});
    EXPECT_EQ(status, 1) << code;
    EXPECT_EQ(linePoints(1, std::vector<float>{0.5f}, 1, rec, p), LineEval::kFailed) << code;
  }
  // Records the store does not hold.
  const int32_t beyond = REGHED.ARRLEN(kArrGeoRecords) / kGeoRecordWords + 1;
  for (int32_t r : {0, -3, beyond}) {
    auto [status, p] = points(r, {0.5f});
    EXPECT_EQ(status, 1) << r;
    EXPECT_EQ(linePoints(1, std::vector<float>{0.5f}, 1, r, p), LineEval::kOutOfStore) << r;
  }
}

TEST_F(LineGeometry, SplineForms) {
  const std::vector<Point> cubic = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 2}};
  putPoints(kArrGeoControlPoints, 1, cubic);
  putPoints(kArrGeoControlPoints, 5, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  putReals(kArrGeoValues, 1, {0, 0, 0, 0, 1, 1, 1, 1});  // clamped cubic knots
  putReals(kArrGeoValues, 9, {1, 0.70710678f, 1});        // weights of the quarter circle
  Point mid{};
  for (size_t k = 0; k < 3; ++k) {
    mid[k] = (cubic[0][k] + 3 * cubic[1][k] + 3 * cubic[2][k] + cubic[3][k]) / 8;
  }

  // Stored knots, not rational.
  putGeoRecord(1, {{1, 1.001f}, {2, 105.001f}, {3, 3.001f}, {4, 3.001f}, {5, 1.001f}, {6, 0}, {7, 1}});
  auto [status, p] = points(1, {0, 0.5f, 1, 2});
  EXPECT_EQ(status, 0);
  expectPoints(p, {cubic[0], mid, cubic[3], cubic[3]}, "stored knots");

  // No knots but weights: the rational curve on the knots 0 0 0 1 1 1.
  putGeoRecord(2, {{1, 5.001f}, {2, 105.001f}, {3, 2.001f}, {4, 2.001f}, {6, 0}, {7, 1}, {16, 9.001f}});
  std::tie(status, p) = points(2, {0, 0.3f, 0.5f, 1});
  EXPECT_EQ(status, 0);
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(std::hypot(p[3 * i], p[3 * i + 1]), 1.0f, 1.0e-5f) << i;
  expectPoints(std::vector<float>(p.begin() + 6, p.end()), {{0.70710678f, 0.70710678f, 0}}, "arc");

  // Neither: the Bezier curve of degree 3 on the parameter range 2..4.
  putGeoRecord(3, {{1, 1.001f}, {2, 105.001f}, {3, 3.001f}, {4, 3.001f}, {6, 2}, {7, 4}});
  std::tie(status, p) = points(3, {2, 3, 4});
  EXPECT_EQ(status, 0);
  expectPoints(p, {cubic[0], mid, cubic[3]}, "Bezier");

  // A Bezier curve whose range is empty gives its first control point at every t.
  putGeoRecord(4, {{1, 1.001f}, {2, 105.001f}, {3, 3.001f}, {4, 3.001f}, {6, 2}, {7, 2}});
  std::tie(status, p) = points(4, {0, 0.5f, 7});
  EXPECT_EQ(status, 0);
  expectPoints(p, {cubic[0], cubic[0], cubic[0]}, "empty range");

  std::array<float, 3> one{};
  LINDEF(0.5f, 1, 1, one, status);
  EXPECT_EQ(status, 0);
  expectPoints(std::vector<float>(one.begin(), one.end()), {mid}, "LINDEF");
}

TEST_F(LineGeometry, SplineRecordsOutsideTheStore) {
  putPoints(kArrGeoControlPoints, 1, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  putReals(kArrGeoValues, 1, {0, 0, 0, 1, 1, 1});
  const float points26 = static_cast<float>(REGHED.ARRLEN(kArrGeoControlPoints)) + 0.001f;
  const float values16 = static_cast<float>(REGHED.ARRLEN(kArrGeoValues)) + 0.001f;
  struct Case {
    const char* what;
    float c0, p, n, knots, weights;
    LineEval result;
  };
  const Case cases[] = {
      {"control points", points26 - 1, 2, 2, 1, 0, LineEval::kOutOfStore},
      {"knots", 1, 2, 2, values16 - 3, 0, LineEval::kOutOfStore},
      {"weights", 1, 2, 2, 0, values16 - 1, LineEval::kOutOfStore},
      {"Bezier points", points26 - 1, 2, 2, 0, 0, LineEval::kOutOfStore},
      {"degree above n", 1, 3, 2, 1, 0, LineEval::kFailed},
      {"negative degree", 1, -1, 2, 1, 0, LineEval::kFailed},
      {"Bezier degree 8", 1, 8, 8, 0, 0, LineEval::kFailed},
  };
  for (const Case& c : cases) {
    putGeoRecord(1, {{1, c.c0}, {2, 105.001f}, {3, c.p}, {4, c.n}, {5, c.knots}, {6, 0}, {7, 1},
                     {16, c.weights}});
    auto [status, p] = points(1, {0.5f});
    EXPECT_EQ(status, 1) << c.what;
    EXPECT_EQ(linePoints(1, std::vector<float>{0.5f}, 1, 1, p), c.result) << c.what;
  }
}

TEST_F(LineGeometry, CountIsCutToTheArrays) {
  putGeoRecord(1, {{2, 101.001f}, {6, 1}});
  const std::vector<float> t = {1, 2, 3};
  std::vector<float> out(7, kSentinel);  // room for two points
  int32_t status = -1;
  LINPTS(5, t, 1, 1, out, status);
  EXPECT_EQ(status, 0);
  expectPoints(out, {{1, 0, 0}, {2, 0, 0}}, "cut");
  EXPECT_EQ(out[6], kSentinel);
}

// Lines on the intersection of two surfaces: the shapes are records of the same array as
// the line definitions, their points records of the point array.
class IntersectionLines : public LineGeometry {
 protected:
  void SetUp() override {
    LineGeometry::SetUp();
    savedGeometry_ = GEOCON;
    savedCounts_ = MODCNT;
    GEOCON.setReal(1, 3.1415927f);
    GEOCON.setReal(2, 0.017453292f);
    GEOCON.setReal(3, 0.001f);
    GEOCON.setReal(4, 0.001f);
    GEOCON.setReal(5, 1.0e-5f);
    GEOCON.setReal(6, 1.0e-7f);
    MODCNT.word(kCntPoints) = 9;
  }
  void TearDown() override {
    GEOCON = savedGeometry_;
    MODCNT = savedCounts_;
    LineGeometry::TearDown();
  }
  // The line definition REC on shapes S1 and S2 (surface type 0).
  static void onShapes(int32_t rec, int32_t s1, int32_t s2) {
    putGeoRecord(rec, {{2, 103.001f},
                       {kGeoWordSurface1, static_cast<float>(100 * s1) + 0.001f},
                       {kGeoWordSurface2, static_cast<float>(100 * s2) + 0.001f}});
  }
  static void plane(int32_t n, Point normal, float d) {
    putGeoRecord(n, {{1, d}, {2, 11.001f}, {3, normal[0]}, {4, normal[1]}, {5, normal[2]}});
  }
  static void sphere(int32_t n, int32_t centre, float radius) {
    putGeoRecord(n, {{2, 2.001f}, {3, static_cast<float>(centre) + 0.001f}, {4, radius}});
  }
  static void cylinder(int32_t n, int32_t a, int32_t b, float radius) {
    putGeoRecord(n, {{1, radius}, {2, 3.001f}, {3, static_cast<float>(a) + 0.001f},
                     {4, static_cast<float>(b) + 0.001f}, {5, radius}});
  }

 private:
  ConstantWords<10> savedGeometry_;
  ModCnt savedCounts_;
};

TEST_F(IntersectionLines, StraightLinesOfTwoPlanes) {
  plane(2, {0, 0, 1}, 0);
  plane(3, {1, 0, 0}, 3);
  plane(4, {0, 0, 2}, 4);  // parallel to the first
  onShapes(1, 2, 3);
  onShapes(5, 2, 4);
  auto [status, p] = points(1, {0, 2});
  EXPECT_EQ(status, 0);
  expectPoints(p, {{3, 0, 0}, {3, 2, 0}}, "line 1");
  // One line only: branch 2 has none.
  std::tie(status, p) = points(1, {0.5f}, 2);
  EXPECT_EQ(status, 1);
  std::tie(status, p) = points(1, {0.5f}, 3);
  EXPECT_EQ(status, 1);
  // No intersection.
  std::tie(status, p) = points(5, {0.5f});
  EXPECT_EQ(status, 1);
  EXPECT_EQ(linePoints(1, std::vector<float>{0.5f}, 1, 5, p), LineEval::kFailed);
}

TEST_F(IntersectionLines, CircleOfAPlaneAndASphere) {
  putPoints(kArrGeoPoints, 1, {{0, 0, 3}});
  plane(2, {0, 0, 1}, 0);
  sphere(3, 1, 5);
  onShapes(1, 2, 3);
  const std::vector<float> t = {0, 0.25f, 0.6f};
  auto [status, p] = points(1, t);
  EXPECT_EQ(status, 0);
  for (size_t i = 0; i < t.size(); ++i) {
    EXPECT_NEAR(p[3 * i + 2], 0.0f, 1.0e-5f) << t[i];
    EXPECT_NEAR(std::hypot(p[3 * i], p[3 * i + 1]), 4.0f, 4.0e-5f) << t[i];
  }
  // A quarter turn apart.
  EXPECT_NEAR(p[0] * p[3] + p[1] * p[4], 0.0f, 1.0e-4f);
  // A sphere beyond the shapes' points: no circle.
  sphere(4, 12, 5);
  onShapes(5, 2, 4);
  std::tie(status, p) = points(5, t);
  EXPECT_EQ(status, 1);
}

TEST_F(IntersectionLines, TwoBranchesOfASphereAndACylinder) {
  putPoints(kArrGeoPoints, 1, {{0, 0, 0}, {0, 0, -1}, {0, 0, 1}});
  sphere(2, 1, 5);
  cylinder(3, 2, 3, 3);
  onShapes(1, 2, 3);
  struct Case {
    float t;
    int32_t q;
    float z;
  };
  // Branch 1 below, branch 2 above; a t above 1 takes branch 2 at t - 1.
  const Case cases[] = {{0.25f, 1, -4}, {1.25f, 1, 4}, {0.25f, 2, 4}, {0.0f, 1, -4}};
  for (const Case& c : cases) {
    auto [status, p] = points(1, {c.t}, c.q);
    EXPECT_EQ(status, 0) << c.t << " " << c.q;
    EXPECT_NEAR(p[2], c.z, 1.0e-4f) << c.t << " " << c.q;
    EXPECT_NEAR(std::hypot(p[0], p[1]), 3.0f, 1.0e-4f) << c.t << " " << c.q;
  }
  // At 90 degrees from the point at 0.
  auto [status, p] = points(1, {0.0f, 1.25f});
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(p[0] * p[3] + p[1] * p[4], 0.0f, 1.0e-3f);
  // LINDEF keeps branch Q and takes the angle of t itself.
  std::array<float, 3> one{};
  LINDEF(1.25f, 1, 1, one, status);
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(one[2], -4.0f, 1.0e-4f);
  EXPECT_NEAR(one[0], p[3], 1.0e-4f);
  EXPECT_NEAR(one[1], p[4], 1.0e-4f);
  // A branch that is neither 1 nor 2.
  std::tie(status, p) = points(1, {0.5f}, 3);
  EXPECT_EQ(status, 1);
}

TEST(Ellipse, SpeedAndLength) {
  EXPECT_FLOAT_EQ(ELLRAD(2, 1, 0), 1.0f);
  EXPECT_FLOAT_EQ(ELLRAD(2, 1, std::numbers::pi_v<float> / 2), 2.0f);
  float length = -1;
  ELLLEN(3, 3, 10, 0, 2 * std::numbers::pi_v<float>, length);
  EXPECT_NEAR(length, 18.849556f, 18.849556f * 1.0e-5f);
  // A quarter of the perimeter of the ellipse with semi-axes 2 and 1.
  ELLLEN(2, 1, 10000, 0, std::numbers::pi_v<float> / 2, length);
  EXPECT_NEAR(length, 2.4221121f, 2.0e-4f);
  // Backwards the length is negative.
  ELLLEN(2, 1, 10000, std::numbers::pi_v<float> / 2, 0, length);
  EXPECT_NEAR(length, -2.4221121f, 2.0e-4f);
  for (int32_t n : {0, -5}) {
    length = -1;
    ELLLEN(2, 1, n, 0, 1, length);
    EXPECT_EQ(length, 0.0f) << n;
  }
}

TEST(Parabola, ArcLength) {
  struct Case {
    float x0, x1, k;
    float length;
    int32_t status;
  };
  const Case cases[] = {
      {0, 1, 1, 1.1477936f, 0},  // y = x^2 / 2 from 0 to 1
      {0, 1, 0, 0, 1},           // k too small
      {0, 1, 5.0e-7f, 0, 1},
      {2, 2, 1, 0, 2},           // no span
      // The Archimedean spiral from radius 1 to radius 2 over a quarter turn.
      {1, 2, std::numbers::pi_v<float> / 2, 2.566043f, 0},
  };
  for (const Case& c : cases) {
    float length = -1;
    int32_t status = -1;
    PARLEN(c.x0, c.x1, c.k, length, status);
    EXPECT_EQ(status, c.status) << c.x0 << " " << c.x1 << " " << c.k;
    EXPECT_NEAR(length, c.length, 1.0e-5f * std::max(1.0f, c.length)) << c.x0 << " " << c.k;
  }
}

}  // namespace
}  // namespace kvr::test
