// Projection onto patch surfaces: patches built from boundary lines stored in any order and
// orientation, the blends against their closed forms on flat patches, and the parameter
// search with its single, two- and three-tie endings.
#include "geometry/prjpch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "geometry/chnlin.h"
#include "linemodel_fixture.h"
#include "placement.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;

// The unit square (points 121-124 counter-clockwise from the origin) bounded by lines 121
// to 124 in loop order, line 125 its third side stored reversed, and the triangle (0,1,0),
// (0,0,0), (1,0,0) bounded by lines 126, 121 and 127. Surfaces: 121 the square, 122 the
// square with its sides stored 1, 3, 2, 4 and side 3 reversed, 123 the square of type 5,
// 124 the triangle (type 2).
class Patches : public LineModel {
 protected:
  void SetUp() override {
    LineModel::SetUp();
    unitSquare(121);
    straight(125, 124, 123);
    straight(126, 124, 121);
    straight(127, 122, 124);
    surface(121, 1, {121, 122, 123, 124});
    surface(122, 1, {121, 125, 122, 124});
    surface(123, 5, {121, 122, 123, 124});
    surface(124, 2, {126, 121, 127, 0});
  }

  static Patch patchOf(int32_t surface, int32_t& status) {
    Patch p;
    status = -1;
    PCHCRN(surface, p, status);
    return p;
  }
  static V at(const Patch& patch, float u, float v, int32_t& status, float& distance) {
    BoundaryWork work;
    V p = {kSentinel, kSentinel, kSentinel};
    const V target = {0, 0, 5};
    PCHPNT(patch.sides, target, u, v, patch, work, p, distance, status);
    return p;
  }
  static V project(int32_t surface, V point, int32_t& status, bool four = true) {
    V moved = {kSentinel, kSentinel, kSentinel};
    status = -1;
    if (four) {
      PRJQAD(surface, point, moved, status);
    } else {
      PRJTRI(surface, point, moved, status);
    }
    return moved;
  }
  static void expectNear(const V& got, const V& want, float within, const std::string& what) {
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], within) << what << " coordinate " << k;
  }
};

TEST_F(Patches, CornersFromSidesInAnyOrderAndOrientation) {
  int32_t status = -1;
  const Patch square = patchOf(121, status);
  ASSERT_EQ(status, 0);
  const Patch shuffled = patchOf(122, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(square.sides, 4);
  EXPECT_EQ(shuffled.sides, 4);
  EXPECT_EQ(square.corners, shuffled.corners);
  EXPECT_EQ(square.corners, (std::array<V, 5>{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}}}));
  EXPECT_EQ(square.directions, (std::array<int32_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(shuffled.directions, (std::array<int32_t, 4>{1, 1, -1, 1}));
  EXPECT_EQ(shuffled.lines, (std::array<int32_t, 4>{121, 122, 125, 124}));

  const Patch triangle = patchOf(124, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(triangle.sides, 3);
  EXPECT_EQ(triangle.corner(1), (V{0, 1, 0}));
  EXPECT_EQ(triangle.corner(2), (V{0, 0, 0}));
  EXPECT_EQ(triangle.corner(3), (V{1, 0, 0}));
}

TEST_F(Patches, SideClosedOnItselfIsTriedLast) {
  // Side 128 runs from the origin to a point 1.0e-8 away: closed on itself, though stored
  // first, it becomes side 4 and side 1 is the first line that has two ends.
  point(125, {1.0e-8f, 0, 0});
  straight(128, 121, 125);
  straight(129, 123, 121);
  surface(125, 3, {128, 121, 122, 129});
  int32_t status = -1;
  const Patch p = patchOf(125, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(p.lines, (std::array<int32_t, 4>{121, 122, 129, 128}));
  EXPECT_EQ(p.directions, (std::array<int32_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(p.corner(5), (V{1.0e-8f, 0, 0}));
}

TEST_F(Patches, BoundariesThatDoNotMakeAPatch) {
  point(126, {0.5f, 0, 0});
  straight(130, 124, 126);  // from the square's fourth corner to the middle of side 1
  surface(126, 1, {121, 122, 123, 130});  // does not close
  surface(127, 1, {121, 122, 121, 124});  // side 3 does not join
  surface(128, 1, {121, 122, 139, 124});  // a side that does not exist
  surface(129, 0, {121, 122, 123, 124});  // no patch type
  for (int32_t s : {123, 126, 127, 128, 129, 139, 0}) {
    int32_t status = -1;
    patchOf(s, status);
    EXPECT_EQ(status, 1) << s;
    const V moved = project(s, {0.3f, 0.7f, 0.0f}, status);
    EXPECT_EQ(status, 1) << s;
    EXPECT_EQ(moved, (V{kSentinel, kSentinel, kSentinel})) << s;
  }
  // A patch of the other number of sides.
  int32_t status = -1;
  project(124, {0.1f, 0.1f, 0}, status, true);
  EXPECT_EQ(status, 1);
  project(121, {0.1f, 0.1f, 0}, status, false);
  EXPECT_EQ(status, 1);
}

TEST_F(Patches, FlatPatchesBlendToTheirParameters) {
  int32_t status = -1;
  const Patch square = patchOf(121, status);
  const Patch shuffled = patchOf(122, status);
  const Patch triangle = patchOf(124, status);
  struct Case {
    float u, v;
  } cases[] = {{0.3f, 0.7f}, {0.5f, 0.5f}, {0.1f, 0.2f}, {0.25f, 0.0f}, {0.0f, 0.4f}};
  for (const Case& c : cases) {
    for (const Patch* p : {&square, &shuffled, &triangle}) {
      float d = 0.0f;
      const V got = at(*p, c.u, c.v, status, d);
      EXPECT_EQ(status, 0) << c.u << ", " << c.v;
      expectNear(got, {c.u, c.v, 0}, 1.0e-6f, "blend");
      EXPECT_NEAR(d, std::sqrt(c.u * c.u + c.v * c.v + 25.0f), 1.0e-5f);
    }
  }
  // The three-sided blend divides by 1 - u, 1 - v and 1 - w: at the corners it answers
  // the corners.
  struct Corner {
    float u, v;
    V point;
  } corners[] = {{1, 0, {1, 0, 0}}, {0, 1, {0, 1, 0}}, {0, 0, {0, 0, 0}}};
  for (const Corner& c : corners) {
    float d = 0.0f;
    EXPECT_EQ(at(triangle, c.u, c.v, status, d), c.point) << c.u << ", " << c.v;
    EXPECT_EQ(status, 0);
  }
  // Outside the square a side cannot be evaluated: the blend is no point of the patch.
  float d = 0.0f;
  at(square, 1.25f, 0.5f, status, d);
  EXPECT_EQ(status, 1);
  BoundaryWork work;
  V p = {kSentinel, kSentinel, kSentinel};
  PCHPNT(5, V{0, 0, 0}, 0.5f, 0.5f, square, work, p, d, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(p, (V{kSentinel, kSentinel, kSentinel}));
}

TEST_F(Patches, FourSidedSearch) {
  int32_t status = -1;
  for (int32_t s : {121, 122}) {
    expectNear(project(s, {0.3f, 0.7f, 0.0f}, status), {0.3f, 0.7f, 0.0f}, 1.0e-5f, "on");
    EXPECT_EQ(status, 0);
    const V above = project(s, {0.3f, 0.7f, 1.0f}, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(above[2], 0.0f);
    expectNear(above, {0.3f, 0.7f, 0.0f}, 1.0e-3f, "above");
    // Four first-level probes tie at (0.5, 0.5): the meeting of their bisectors.
    EXPECT_EQ(project(s, {0.5f, 0.5f, 0.0f}, status), (V{0.5f, 0.5f, 0.0f}));
    EXPECT_EQ(status, 0);
    // Beyond the patch: its nearest edge, as closely as probes half a unit away still
    // differ in distance by more than the real epsilon.
    expectNear(project(s, {1.5f, 0.3f, 0.0f}, status), {1.0f, 0.3f, 0.0f}, 1.0e-3f, "beyond");
  }
  // The same array in and out.
  V p = {0.3f, 0.7f, 2.0f};
  PRJQAD(121, p, p, status);
  EXPECT_EQ(status, 0);
  expectNear(p, {0.3f, 0.7f, 0.0f}, 1.0e-3f, "in place");
}

TEST_F(Patches, ChainSideWithNegativeFirstEndProjectsAsWithPositive) {
  // A square of side 2 whose second side is a chain of two members through its midpoint;
  // the first member's word 2 is stored with either sign.
  const D3 corners[] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {2, 1, 0}};
  for (const Placement& place : placementTable()) {
    for (int32_t k = 0; k < 5; ++k) point(141 + k, place.pointF(corners[k]));
    straight(141, 141, 142);
    straight(143, 145, 143);
    composite(144, {142, 143}, 142, 143);
    straight(145, 143, 144);
    straight(146, 144, 141);
    surface(141, 1, {141, 144, 145, 146});
    const V onPatch = place.pointF({0.6, 1.4, 0});
    const V above = place.pointF({0.6, 1.4, 0.5});
    V got[2][2];
    for (int32_t sign : {1, -1}) {
      line(142, {{2, sign * 142}, {3, 145}, {7, 100}});
      int32_t first = 0, second = 0, status = -1;
      CHNGET(142, first, second, status);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(first, 142) << place.name;
      EXPECT_EQ(second, 145) << place.name;
      const int32_t k = sign > 0 ? 0 : 1;
      got[k][0] = project(141, onPatch, status);
      EXPECT_EQ(status, 0) << place.name << " sign " << sign;
      got[k][1] = project(141, above, status);
      EXPECT_EQ(status, 0) << place.name << " sign " << sign;
    }
    EXPECT_EQ(got[0][0], got[1][0]) << place.name;
    EXPECT_EQ(got[0][1], got[1][1]) << place.name;
    expectNear(got[1][0], onPatch, 1.0e-4f, place.name);
    expectNear(got[1][1], onPatch, 2.0e-3f, place.name);
  }
}

TEST_F(Patches, PatchWhoseSideFailsBetweenItsEnds) {
  // Side 1 lies on a definition record of another class: its ends are placed, no point
  // between them. No probe is a point of the patch, and the given point must not pass for
  // one.
  geoRecord(121, {{2, 205.001f}});
  line(131, {{2, 121}, {3, 122}, {7, 600}, {15, 121}});
  surface(130, 1, {131, 122, 123, 124});
  int32_t status = -1;
  const Patch p = patchOf(130, status);
  EXPECT_EQ(status, 0);
  float d = 0.0f;
  at(p, 0.5f, 0.5f, status, d);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(project(130, {0.3f, 0.7f, 0.0f}, status), (V{kSentinel, kSentinel, kSentinel}));
  EXPECT_EQ(status, 1);
}

TEST_F(Patches, LevelsEndOnTies) {
  int32_t status = -1;
  const Patch square = patchOf(121, status);
  const Patch triangle = patchOf(124, status);
  BoundaryWork work;
  PatchTies ties;
  V result = {kSentinel, kSentinel, kSentinel};
  patchLevels(4, square, V{0.5f, 0.5f, 0.0f}, work, ties, result);
  EXPECT_EQ(ties.count, 4);
  EXPECT_EQ(ties.u, (std::array<float, 3>{0.375f, 0.375f, 0.625f}));
  EXPECT_EQ(ties.v, (std::array<float, 3>{0.375f, 0.625f, 0.375f}));
  EXPECT_EQ(result, (V{0.625f, 0.375f, 0.0f}));  // the third tie's point

  // (0.2, 0.3) is as far from the probes (1, 4) / 12 and (2, 5) / 12 as from each other.
  patchLevels(3, triangle, V{0.2f, 0.3f, 0.0f}, work, ties, result);
  EXPECT_EQ(ties.count, 2);
  EXPECT_NEAR(ties.u[0], 1.0f / 12.0f, 1.0e-7f);
  EXPECT_NEAR(ties.v[0], 4.0f / 12.0f, 1.0e-7f);
  EXPECT_NEAR(ties.u[1], 2.0f / 12.0f, 1.0e-7f);
  EXPECT_NEAR(ties.v[1], 5.0f / 12.0f, 1.0e-7f);
  EXPECT_TRUE(ties.found);
}

TEST_F(Patches, ThreeSidedSearch) {
  int32_t status = -1;
  struct Case {
    V point;
    V want;
  } cases[] = {
      {{0.1f, 0.1f, 0.0f}, {0.1f, 0.1f, 0.0f}},
      {{0.2f, 0.3f, 0.0f}, {0.2f, 0.3f, 0.0f}},    // through the two-tie search
      {{0.2f, 0.3f, -4.0f}, {0.2f, 0.3f, 0.0f}},
      {{0.6f, 0.1f, 0.0f}, {0.6f, 0.1f, 0.0f}},
      {{0.05f, 0.9f, 0.0f}, {0.05f, 0.9f, 0.0f}},  // in a small inverted triangle
  };
  for (const Case& c : cases) {
    expectNear(project(124, c.point, status, false), c.want, c.point[2] == 0.0f ? 1.0e-5f : 1.0e-3f,
               "triangle");
    EXPECT_EQ(status, 0);
  }
}

TEST_F(Patches, FlatTriangleReachesItsPoints) {
  // The triangle (0, 2, 0), (0, 0, 0), (2, 0, 0) in placed copies: points on it, on a grid
  // of thirteenths, come back as themselves, as closely as the square reaches.
  for (const Placement& place : placementTable()) {
    point(151, place.pointF({0, 2, 0}));
    point(152, place.pointF({0, 0, 0}));
    point(153, place.pointF({2, 0, 0}));
    straight(151, 151, 152);
    straight(152, 152, 153);
    straight(153, 153, 151);
    surface(151, 2, {151, 152, 153, 0});
    double worst = 0.0;
    for (int32_t i = 1; i <= 11; ++i) {
      for (int32_t j = 1; i + j <= 12; ++j) {
        const D3 on = {2.0 * i / 13.0, 2.0 * j / 13.0, 0.0};
        int32_t status = -1;
        const V got = project(151, place.pointF(on), status, false);
        EXPECT_EQ(status, 0) << place.name << " " << i << ", " << j;
        worst = std::max(worst, norm3(sub(D3{got[0], got[1], got[2]}, place.point(on))));
      }
    }
    EXPECT_LT(worst, 1.0e-4) << place.name;
  }
}

TEST_F(Patches, BisectorThatMissesThePatchKeepsTheBestProbe) {
  int32_t status = -1;
  const Patch square = patchOf(121, status);
  const Patch triangle = patchOf(124, status);
  BoundaryWork work;
  const V target = {0.3f, 0.3f, 0.0f};
  struct Case {
    const Patch* patch;
    float u1, v1, u2, v2;
  } cases[] = {
      {&square, 1.4f, 0.5f, 1.6f, 0.5f},    // u = 1.5
      {&square, 0.5f, 1.5f, 0.7f, 1.7f},    // v = 2.2 - u
      {&triangle, 0.6f, 0.6f, 0.8f, 0.8f},  // v = 1.4 - u, beyond the hypotenuse
      {&triangle, 0.5f, 0.995f, 0.5f, 1.005f},  // v = 1: touches the corner only
  };
  for (const Case& c : cases) {
    V result = {kSentinel, kSentinel, kSentinel};
    status = -1;
    bisectorSearch(c.patch->sides, *c.patch, target, work, c.u1, c.v1, c.u2, c.v2, result, status);
    EXPECT_EQ(status, 0) << c.u1 << ", " << c.v1;
    EXPECT_EQ(result, (V{kSentinel, kSentinel, kSentinel})) << c.u1 << ", " << c.v1;
  }
  // A bisector through the patch: the nearest point along it.
  V result = {kSentinel, kSentinel, kSentinel};
  bisectorSearch(4, square, target, work, 0.2f, 0.2f, 0.4f, 0.4f, result, status);
  EXPECT_EQ(status, 0);
  expectNear(result, {0.3f, 0.3f, 0.0f}, 1.0e-5f, "through");
}

TEST_F(Patches, ThreeTiesMeetAtTheirBisectors) {
  struct Case {
    int32_t n;
    std::array<float, 3> u, v;
    float wantU, wantV;
  } cases[] = {
      {4, {0.375f, 0.375f, 0.625f}, {0.375f, 0.625f, 0.375f}, 0.5f, 0.5f},
      // One bisector of constant u: it meets the other at its own u.
      {4, {0.2f, 0.4f, 0.3f}, {0.5f, 0.5f, 0.8f}, 0.3f, 0.8f - 0.5f / 3.0f},
      {4, {0.3f, 0.2f, 0.4f}, {0.8f, 0.5f, 0.5f}, 0.3f, 0.8f - 0.5f / 3.0f},
      // Parallel bisectors (ties in a line): the mean.
      {4, {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}, 0.2f, 0.2f},
      // Both of constant u: the mean u at the first tie's v, 1 kept below the top on three
      // sides.
      {4, {0.1f, 0.2f, 0.6f}, {1.0f, 1.0f, 1.0f}, 0.3f, 1.0f},
      {3, {0.1f, 0.2f, 0.6f}, {1.0f, 1.0f, 1.0f}, 0.3f, 0.99999f},
  };
  for (const Case& c : cases) {
    float u = 0.0f, v = 0.0f;
    threeTieParameters(c.n, c.u, c.v, u, v);
    EXPECT_NEAR(u, c.wantU, 1.0e-6f) << c.u[0] << ", " << c.v[0];
    EXPECT_NEAR(v, c.wantV, 1.0e-6f) << c.u[0] << ", " << c.v[0];
  }
}

}  // namespace
}  // namespace kvr::test
