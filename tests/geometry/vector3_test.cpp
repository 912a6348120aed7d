#include "geometry/vector3.h"

#include <gtest/gtest.h>

#include <array>

namespace {

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
