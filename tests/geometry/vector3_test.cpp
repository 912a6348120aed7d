#include "geometry/vector3.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "machine_fixture.h"
#include "runtime/machcn.h"

namespace {

class Vlenn : public kvr::test::MachineConstants {};

TEST_F(Vlenn, NoComponentsLeaveTheLength) {
  const std::array<float, 3> v{3, 4, 12};
  float length = 42.0f;
  int32_t stat = 9;
  kvr::VLENN(v, 0, length, stat);
  EXPECT_EQ(length, 42.0f);
  EXPECT_EQ(stat, 0);
  stat = 9;
  kvr::VLENN(v, -3, length, stat);
  EXPECT_EQ(length, 42.0f);
  EXPECT_EQ(stat, 0);
}

TEST_F(Vlenn, TrueLengthFromTinyToOrdinaryComponents) {
  struct Case {
    std::array<float, 4> v;
    int32_t n;
    float length;
  };
  const Case cases[] = {
      {{3, 4, 12, 99}, 3, 13.0f},  // the fourth component is not counted
      {{1.0e-20f, 1.0e-20f, 1.0e-20f, 0}, 3, 1.7320508e-20f},  // squares below the normal range
      {{-2.0e-25f, 0, 0, 0}, 1, 2.0e-25f},
      {{1.0e18f, 1.0e18f, 0, 0}, 2, 1.4142135e18f},
      {{0, 0, 0, 0}, 4, 0.0f},
  };
  for (const Case& c : cases) {
    float length = -1.0f;
    int32_t stat = 9;
    kvr::VLENN(c.v, c.n, length, stat);
    EXPECT_FLOAT_EQ(length, c.length) << c.v[0];
    EXPECT_EQ(stat, 0);
  }
}

TEST(Vlen3, LengthsAndDistances) {
  const std::array<float, 3> v{3, 4, 12};
  float length = 0.0f;
  kvr::VLEN3(v, length);
  EXPECT_EQ(length, 13.0f);
  EXPECT_EQ(kvr::RVLEN(v), 13.0f);
  const std::array<float, 3> p{1, 1, 1}, q{4, 5, 13};
  EXPECT_EQ(kvr::RDIST(p, q), 13.0f);
  EXPECT_EQ(kvr::PDIST(1, 1, 1, 4, 5, 13), 13.0f);
  const std::array<double, 3> dp{1, 1, 1}, dq{4, 5, 13};
  EXPECT_EQ(kvr::DDIST(dp, dq), 13.0);
  // A unit cube's space diagonal.
  EXPECT_FLOAT_EQ(kvr::PDIST(0, 0, 0, 1, 1, 1), std::sqrt(3.0f));
}

TEST(Vdot3, DotAndCrossProducts) {
  const std::array<float, 3> a{1, 2, 3}, b{4, 5, 6};
  float dot = 0.0f;
  kvr::VDOT3(a, b, dot);
  EXPECT_EQ(dot, 32.0f);
  EXPECT_EQ(kvr::RVDOT(a, b), 32.0f);
  std::array<float, 3> c{};
  kvr::VCRS3(a, b, c);
  EXPECT_EQ(c, (std::array<float, 3>{-3, 6, -3}));
  std::array<float, 3> x{1, 0, 0}, y{0, 1, 0};
  kvr::RVCRS(x, y, c);
  EXPECT_EQ(c, (std::array<float, 3>{0, 0, 1}));
  // The result may be either operand.
  std::array<float, 3> p{1, 2, 3}, q{4, 5, 6};
  kvr::VCRS3(p, q, p);
  EXPECT_EQ(p, (std::array<float, 3>{-3, 6, -3}));
  p = {1, 2, 3};
  kvr::RVCRS(p, q, q);
  EXPECT_EQ(q, (std::array<float, 3>{-3, 6, -3}));
}

TEST(Det3r, DeterminantOfTheRows) {
  const std::array<float, 3> ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
  EXPECT_EQ(kvr::DET3R(ex, ey, ez), 1.0f);   // the unit cube
  EXPECT_EQ(kvr::DET3R(ey, ex, ez), -1.0f);  // two rows exchanged
  EXPECT_EQ(kvr::DET3R(ex, ex, ez), 0.0f);
  const std::array<float, 3> a{2, 0, 0}, b{1, 3, 0}, c{5, 7, 4};
  EXPECT_EQ(kvr::DET3R(a, b, c), 24.0f);  // triangular: the diagonal's product
}

TEST(Plncof, PlaneThroughThreePoints) {
  struct Case {
    std::array<float, 3> x, y, z;
    std::array<float, 3> probe;  // a further point of the plane
  };
  const Case cases[] = {
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.5f, 0.5f, 0}},  // x + y + z = 1
      {{0, 4, 0}, {0, 0, 4}, {2, 2, 2}, {7, -3, 2}},       // z = 2
      {{1, 1, 1}, {0, 5, 0}, {0, 0, 5}, {1, 9, 9}},        // x = 1
  };
  for (const Case& c : cases) {
    float a = 0, b = 0, cc = 0, d = 0;
    kvr::PLNCOF(c.x, c.y, c.z, a, b, cc, d);
    const float norm = std::sqrt(a * a + b * b + cc * cc);
    ASSERT_GT(norm, 0.0f);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(a * c.x[k] + b * c.y[k] + cc * c.z[k] + d, 0.0f, 1e-5f);
    EXPECT_NEAR((a * c.probe[0] + b * c.probe[1] + cc * c.probe[2] + d) / norm, 0.0f, 1e-5f);
  }
  float a = 0, b = 0, c = 0, d = 0;
  kvr::PLNCOF(std::array<float, 3>{0, 1, 2}, std::array<float, 3>{0, 2, 4},
              std::array<float, 3>{0, 3, 6}, a, b, c, d);
  EXPECT_EQ(a, 0.0f);
  EXPECT_EQ(b, 0.0f);
  EXPECT_EQ(c, 0.0f);
}

TEST(Dvunit, UnitVectorOrZeroBelowTheThreshold) {
  struct Case {
    std::array<double, 3> v;
    std::array<double, 3> u;
    int32_t stat;
  };
  const Case cases[] = {
      {{1.0e-6, 0, 0}, {0, 0, 0}, 1},  // squared length 1e-12
      {{1.0e-4, 0, 0}, {1, 0, 0}, 0},  // squared length 1e-8
      {{0, 3, 4}, {0, 0.6, 0.8}, 0},
      {{0, 0, 0}, {0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    std::array<double, 3> u{9, 9, 9};
    int32_t stat = 9;
    kvr::DVUNIT(c.v, u, stat);
    EXPECT_EQ(stat, c.stat) << c.v[0];
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(u[k], c.u[k], 1e-15) << c.v[0] << " " << k;
  }
  // The result may be the operand itself.
  std::array<double, 3> v{0, 0, -2};
  int32_t stat = 9;
  kvr::DVUNIT(v, v, stat);
  EXPECT_EQ(v, (std::array<double, 3>{0, 0, -1}));
}

TEST(Dvcrs, CrossProductAlsoInPlace) {
  std::array<double, 3> a{1, 0, 0}, b{0, 1, 0}, c{};
  kvr::DVCRS(a, b, c);
  EXPECT_EQ(c, (std::array<double, 3>{0, 0, 1}));
  kvr::DVCRS(b, a, c);
  EXPECT_EQ(c, (std::array<double, 3>{0, 0, -1}));
  std::array<double, 3> p{1, 2, 3}, q{4, 5, 6};
  kvr::DVCRS(p, q, p);
  EXPECT_EQ(p, (std::array<double, 3>{-3, 6, -3}));
}

TEST(Angl3p, DegreesAtTheVertex) {
  struct Case {
    std::array<float, 3> p1, p2;
    float angle;
  };
  const std::array<float, 3> vertex{1, 1, 1};
  const Case cases[] = {
      {{1, 1, 1}, {2, 1, 1}, 0.0f},    // point 1 at the vertex
      {{2, 1, 1}, {1, 3, 1}, 90.0f},   // right angle
      {{3, 1, 1}, {0, 1, 1}, 180.0f},  // opposite points
      {{2, 1, 1}, {5, 1, 1}, 0.0f},    // same direction
      {{2, 1, 1}, {2, 2, 1}, 45.0f},
  };
  for (const Case& c : cases) {
    float angle = -1.0f;
    kvr::ANGL3P(vertex, c.p1, c.p2, angle);
    EXPECT_NEAR(angle, c.angle, 1e-3f) << c.p1[0] << " " << c.p2[0];
  }
}

}  // namespace
