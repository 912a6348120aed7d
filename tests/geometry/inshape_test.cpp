#include "geometry/inshape.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "machine_fixture.h"

namespace {

class Lplint : public kvr::test::MachineConstants {};
class Pinpol : public kvr::test::MachineConstants {};

TEST(Ponseg, ProjectionOnTheSegmentAndDistanceFromTheLine) {
  struct Case {
    float px, py, pz;
    int32_t result;
  };
  // Segment (0, 0, 0) - (2, 0, 0), distance 0.1.
  const Case cases[] = {
      {0, 0, 0, 1},          // at A
      {2, 0, 0, 1},          // at B
      {1, 0.05f, 0, 1},      // near the middle
      {1, 0, -0.09f, 1},
      {1, 0.15f, 0, 0},      // too far from the line
      {2.05f, 0, 0, 0},      // beyond B, however close
      {-0.01f, 0, 0, 0},     // before A
      {0.5f, 0.07f, 0.07f, 1},
      {0.5f, 0.08f, 0.08f, 0},
  };
  for (const Case& c : cases) {
    int32_t result = 9;
    kvr::PONSEG(c.px, c.py, c.pz, 0, 0, 0, 2, 0, 0, 0.1f, result);
    EXPECT_EQ(result, c.result) << c.px << " " << c.py << " " << c.pz;
  }
}

TEST(Ponseg, EndsOfAnySegmentAreOnIt) {
  // The ends of every segment lie on it at distance 0, whatever rounding the length took:
  // (0, 0, 0) - (1, 1, 0) among fixed ones, then random segments of all sizes and places.
  const std::array<std::array<float, 6>, 4> fixed = {{
      {0, 0, 0, 1, 1, 0}, {0, 0, 0, 0.1f, 0.2f, 0.3f}, {-3, 7, 2, 5, -1, 0.7f}, {1, 1, 1, 1, 1, 1.5f}}};
  std::mt19937 engine(74);
  std::uniform_real_distribution<float> coordinate(-100.0f, 100.0f);
  std::uniform_real_distribution<float> exponent(-3.0f, 2.0f);
  int32_t missed = 0;
  for (int32_t k = 0; k < 100000 + static_cast<int32_t>(fixed.size()); ++k) {
    std::array<float, 6> s{};
    if (k < static_cast<int32_t>(fixed.size())) {
      s = fixed[static_cast<size_t>(k)];
    } else {
      const float size = std::pow(10.0f, exponent(engine));
      for (size_t i = 0; i < 3; ++i) s[i] = coordinate(engine);
      for (size_t i = 3; i < 6; ++i) s[i] = s[i - 3] + size * coordinate(engine) / 100.0f;
    }
    for (size_t end : {size_t{0}, size_t{3}}) {
      int32_t result = 9;
      kvr::PONSEG(s[end], s[end + 1], s[end + 2], s[0], s[1], s[2], s[3], s[4], s[5], 0.0f, result);
      if (result != 1) ++missed;
      if (k < static_cast<int32_t>(fixed.size())) {
        EXPECT_EQ(result, 1) << "segment " << k << " end " << end;
      }
    }
  }
  EXPECT_EQ(missed, 0);
}

TEST(Ponseg, SegmentOfNoLengthHoldsOnlyThePointsNearIt) {
  struct Case {
    float px, py, pz;
    int32_t result;
  };
  const Case cases[] = {
      {1, 1, 1, 1},
      {1, 1, 1.5f, 1},
      {1.3f, 1.4f, 1, 1},
      {1, 1, 1.6f, 0},
      {10, -4, 3, 0},
  };
  for (const Case& c : cases) {
    int32_t result = 9;
    kvr::PONSEG(c.px, c.py, c.pz, 1, 1, 1, 1, 1, 1, 0.5f, result);
    EXPECT_EQ(result, c.result) << c.px << " " << c.py << " " << c.pz;
  }
}

TEST(Pinbox, BoundsIncludedCornersInEitherOrder) {
  struct Case {
    float px, py, pz;
    int32_t result;
  };
  const Case cases[] = {
      {0.5f, 0.5f, 0.5f, 1}, {1, 0.5f, 0.5f, 1}, {0, 0, 0, 1}, {1, 1, 1, 1},
      {1.001f, 0.5f, 0.5f, 0}, {0.5f, -0.1f, 0.5f, 0}, {0.5f, 0.5f, 2, 0},
  };
  for (const Case& c : cases) {
    int32_t forward = 9, backward = 9, mixed = 9;
    kvr::PINBOX(c.px, c.py, c.pz, 0, 0, 0, 1, 1, 1, forward);
    kvr::PINBOX(c.px, c.py, c.pz, 1, 1, 1, 0, 0, 0, backward);
    kvr::PINBOX(c.px, c.py, c.pz, 1, 0, 1, 0, 1, 0, mixed);
    EXPECT_EQ(forward, c.result) << c.px << " " << c.py << " " << c.pz;
    EXPECT_EQ(backward, c.result);
    EXPECT_EQ(mixed, c.result);
  }
}

TEST(Pinp2d, InsideOutsideAndOnTheBoundaryOfTheUnitSquare) {
  const std::array<float, 4> u{0, 1, 1, 0}, v{0, 0, 1, 1};
  struct Case {
    float px, py;
    int32_t result;
  };
  const Case cases[] = {
      {0.5f, 0.5f, 1},   // centre
      {1, 1, 0},         // vertex
      {0, 0, 0},         // first vertex
      {0.5f, 0, 0},      // on an edge
      {0, 0.25f, 0},     // on the closing edge
      {2, 0.5f, -1},     // beside it
      {0.5f, 1.5f, -1},  // above it
      {0.5f, -0.5f, -1},
      {0.999f, 0.001f, 1},
  };
  for (const Case& c : cases) {
    int32_t result = 9;
    kvr::PINP2D(c.px, c.py, 4, u, v, result);
    EXPECT_EQ(result, c.result) << c.px << " " << c.py;
  }
  int32_t result = 9;
  kvr::PINP2D(0.5f, 0.5f, 0, u, v, result);
  EXPECT_EQ(result, -1);
  // A count beyond the arrays is cut to them.
  kvr::PINP2D(0.5f, 0.5f, 40, u, v, result);
  EXPECT_EQ(result, 1);
}

TEST(Pinp2d, ConcavePolygon) {
  // An L: the unit square with its upper right quarter cut away.
  const std::array<float, 6> u{0, 1, 1, 0.5f, 0.5f, 0}, v{0, 0, 0.5f, 0.5f, 1, 1};
  int32_t result = 9;
  kvr::PINP2D(0.25f, 0.75f, 6, u, v, result);
  EXPECT_EQ(result, 1);
  kvr::PINP2D(0.75f, 0.75f, 6, u, v, result);
  EXPECT_EQ(result, -1);
  kvr::PINP2D(0.75f, 0.25f, 6, u, v, result);
  EXPECT_EQ(result, 1);
  kvr::PINP2D(0.5f, 0.75f, 6, u, v, result);
  EXPECT_EQ(result, 0);
}

TEST(Ptmean, MeanOfTheUnitCubeCorners) {
  const std::array<float, 8> x{0, 1, 1, 0, 0, 1, 1, 0}, y{0, 0, 1, 1, 0, 0, 1, 1},
      z{0, 0, 0, 0, 1, 1, 1, 1};
  float cx = 9, cy = 9, cz = 9;
  kvr::PTMEAN(x, y, z, 8, cx, cy, cz);
  EXPECT_EQ(cx, 0.5f);
  EXPECT_EQ(cy, 0.5f);
  EXPECT_EQ(cz, 0.5f);
  kvr::PTMEAN(x, y, z, 1, cx, cy, cz);
  EXPECT_EQ(cx, 0.0f);
  // No points: no mean.
  cx = cy = cz = 9;
  kvr::PTMEAN(x, y, z, 0, cx, cy, cz);
  EXPECT_EQ(cx, 9.0f);
  EXPECT_EQ(cy, 9.0f);
  EXPECT_EQ(cz, 9.0f);
}

TEST_F(Lplint, LineMeetsThePlane) {
  // The plane z = 2 and the line (1, 1, 0) - (1, 1, 4).
  const std::array<float, 3> x{0, 1, 0}, y{0, 0, 1}, z{2, 2, 2};
  const std::array<float, 2> lx{1, 1}, ly{1, 1}, lz{0, 4};
  float ix = 0, iy = 0, iz = 0, t = 0;
  kvr::LPLINT(lx, ly, lz, x, y, z, ix, iy, iz, t);
  EXPECT_EQ(t, 0.5f);
  EXPECT_EQ(ix, 1.0f);
  EXPECT_EQ(iy, 1.0f);
  EXPECT_EQ(iz, 2.0f);
  // The oblique plane x + y + z = 1 and the line along the diagonal.
  const std::array<float, 3> ox{1, 0, 0}, oy{0, 1, 0}, oz{0, 0, 1};
  const std::array<float, 2> d{0, 1};
  kvr::LPLINT(d, d, d, ox, oy, oz, ix, iy, iz, t);
  EXPECT_FLOAT_EQ(t, 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(ix, 1.0f / 3.0f);
}

TEST_F(Lplint, ParallelLineGivesItsSecondPoint) {
  const std::array<float, 3> x{0, 1, 0}, y{0, 0, 1}, z{2, 2, 2};
  const std::array<float, 2> lx{0, 5}, ly{1, 3}, lz{7, 7};
  float ix = 0, iy = 0, iz = 0, t = 0;
  kvr::LPLINT(lx, ly, lz, x, y, z, ix, iy, iz, t);
  EXPECT_EQ(t, 1.0f);
  EXPECT_EQ(ix, 5.0f);
  EXPECT_EQ(iy, 3.0f);
  EXPECT_EQ(iz, 7.0f);
}

TEST_F(Lplint, PolygonMovedAlongItsNormalThroughQ) {
  // A triangle in the plane x + y + z = 1 moved to pass through (1, 1, 1).
  const std::array<float, 3> x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  std::array<float, 3> xo{}, yo{}, zo{};
  int32_t status = 9;
  kvr::PLYPRJ(x, y, z, 1, 1, 1, 3, xo, yo, zo, status);
  EXPECT_EQ(status, 0);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(xo[k] + yo[k] + zo[k], 3.0f, 1e-5f) << k;
    // Moved along (1, 1, 1): the differences of the coordinates stay.
    EXPECT_NEAR(xo[k] - x[k], 2.0f / 3.0f, 1e-5f) << k;
    EXPECT_NEAR(yo[k] - y[k], 2.0f / 3.0f, 1e-5f) << k;
  }
  // Collinear vertices: no normal, nothing written.
  const std::array<float, 3> cx{0, 1, 2}, cy{0, 1, 2}, cz{0, 0, 0};
  xo.fill(9.0f);
  kvr::PLYPRJ(cx, cy, cz, 1, 1, 1, 3, xo, yo, zo, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(xo, (std::array<float, 3>{9, 9, 9}));
}

struct PrismCase {
  float px, py, pz;
  int32_t result;
};

void expectPrism(const std::vector<float>& x, const std::vector<float>& y,
                 const std::vector<float>& z, float qx, float qy, float qz,
                 std::initializer_list<PrismCase> cases) {
  for (const PrismCase& c : cases) {
    int32_t result = 9;
    kvr::PINPOL(c.px, c.py, c.pz, static_cast<int32_t>(x.size()), x, y, z, qx, qy, qz, result);
    EXPECT_EQ(result, c.result) << c.px << " " << c.py << " " << c.pz;
  }
}

TEST_F(Pinpol, UprightPrismOnAHorizontalSquare) {
  // The unit square at z = 0 moved to z = 1: the unit cube.
  expectPrism({0, 1, 1, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}, 0, 0, 1,
              {{0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 1.5f, 0}, {0.5f, 0.5f, -0.5f, 0},
               {0.1f, 0.9f, 0.99f, 1}, {1.5f, 0.5f, 0.5f, 0}});
  // The same, Q below the square.
  expectPrism({0, 1, 1, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}, 3, 3, -1,
              {{0.5f, 0.5f, -0.5f, 1}, {0.5f, 0.5f, 0.5f, 0}});
}

TEST_F(Pinpol, PrismOnAnUprightSquare) {
  // The square in the x-z plane swept along y: its bottom and top are side faces.
  expectPrism({0, 1, 1, 0}, {0, 0, 0, 0}, {0, 0, 1, 1}, 0, 1, 0,
              {{0.2f, 0.5f, 0.5f, 1}, {0.8f, 0.3f, 0.9f, 1}, {0.5f, 0.5f, 1.5f, 0}});
}

TEST_F(Pinpol, TiltedSideFacesAreWholeFaces) {
  // The triangle (0,0,0), (2,0,0), (0,0,2) swept along y: a slanted side face x + z = 2.
  expectPrism({0, 2, 0}, {0, 0, 0}, {0, 0, 2}, 0, 1, 0,
              {{0.5f, 0.5f, 0.5f, 1}, {1.2f, 0.3f, 0.6f, 1}, {1.5f, 0.5f, 1.5f, 0},
               {0.5f, 0.5f, 1.6f, 0}});
  // A triangle in the oblique plane x + y + z = 1, swept through (1, 1, 1).
  expectPrism({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 1, 1, 1,
              {{0.5f, 0.4f, 0.6f, 1}, {0.35f, 0.33f, 0.34f, 1}, {0.3f, 0.2f, 0.3f, 0},
               {1.2f, 1.1f, 1.1f, 0}, {0.9f, 0.3f, 0.9f, 0}});
}

TEST_F(Pinpol, PolygonsItCannotTestHoldNothing) {
  // Collinear first vertices: no normal.
  expectPrism({0, 1, 2}, {0, 0, 0}, {0, 0, 0}, 0, 0, 1, {{0.5f, 0, 0.5f, 0}, {1, 0, 0, 0}});
  // Fewer than three vertices.
  expectPrism({0, 1}, {0, 1}, {0, 0}, 0, 0, 1, {{0.5f, 0.5f, 0.5f, 0}});
  // Around a circle: 32 vertices are tested, 33 are too many for the work arrays.
  for (int n : {32, 33}) {
    std::vector<float> x, y, z;
    for (int k = 0; k < n; ++k) {
      const float a = 6.2831853f * static_cast<float>(k) / static_cast<float>(n);
      x.push_back(std::cos(a));
      y.push_back(std::sin(a));
      z.push_back(0.0f);
    }
    expectPrism(x, y, z, 0, 0, 1, {{0.1f, 0.2f, 0.5f, n == 32 ? 1 : 0}});
  }
}

}  // namespace
