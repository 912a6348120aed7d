// Surface patch classification on surfaces, lines and points written into the model
// store: the nine classes, the warp and cylinder refusals, composite boundary lines
// reduced to one line or arc, the edge table chain and the warp of four corners.
#include "geometry/srfcls.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "linemodel_fixture.h"

namespace kvr::test {
namespace {

using D = std::array<double, 3>;
constexpr double kSentinel = -77.0;

class PatchClasses : public LineModel {
 protected:
  static std::pair<int32_t, PatchGeometry> classify(int32_t s) {
    PatchGeometry g;
    for (D* p : {&g.p1, &g.p2, &g.p3, &g.p4, &g.a, &g.b}) p->fill(kSentinel);
    g.patchClass = -1;
    int32_t status = -1;
    SRFCLS(s, g, status);
    return {status, g};
  }
  static void expectNear(const D& got, const D& want, const std::string& what) {
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 1.0e-5) << what << " " << k + 1;
  }
  static void expectUntouched(const PatchGeometry& g, const std::string& what) {
    EXPECT_EQ(g.patchClass, -1) << what;
    EXPECT_EQ(g.p1[0], kSentinel) << what;
    EXPECT_EQ(g.b[2], kSentinel) << what;
  }
  struct Bnd {
    int32_t status = -1, kind = -1, first = -1, second = -1, centre = -1;
  };
  static Bnd bndlin(int32_t l) {
    Bnd b;
    BNDLIN(l, b.kind, b.first, b.second, b.centre, b.status);
    return b;
  }

  // The unit square on points 81-84 bounded by lines 81-84, surface 81 of TYPE.
  static void unitSquare(int32_t type = 1) {
    point(81, {0, 0, 0});
    point(82, {1, 0, 0});
    point(83, {1, 1, 0});
    point(84, {0, 1, 0});
    straight(81, 81, 82);
    straight(82, 82, 83);
    straight(83, 83, 84);
    straight(84, 84, 81);
    surface(81, type, {81, 82, 83, 84});
  }
};

TEST_F(PatchClasses, FlatQuadrilateral) {
  unitSquare();
  auto [status, g] = classify(81);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 1);
  expectNear(g.p1, {0, 0, 0}, "P1");
  expectNear(g.p2, {1, 0, 0}, "P2");
  expectNear(g.p3, {1, 1, 0}, "P3");
  expectNear(g.p4, {0, 1, 0}, "P4");
  EXPECT_EQ(g.a, (D{0, 0, 0}));
  EXPECT_EQ(g.b, (D{0, 0, 0}));

  // Sides stored against the loop are turned round; type 3 is four-sided too.
  straight(81, 82, 81);
  straight(83, 84, 83);
  surface(82, 3, {81, 82, 83, 84});
  std::tie(status, g) = classify(82);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 1);
  expectNear(g.p1, {0, 0, 0}, "P1 turned");
  expectNear(g.p3, {1, 1, 0}, "P3 turned");
}

TEST_F(PatchClasses, WarpAgainstTheTolerance) {
  unitSquare();
  // Lifting P3 by h warps the corners by h / 2; the tolerance is the shortest side / 1000.
  struct Case {
    float lift;
    int32_t status;
  } cases[] = {{0.003f, 1}, {0.001f, 0}, {-0.0025f, 1}};
  for (const Case& c : cases) {
    point(83, {1, 1, c.lift});
    const auto [status, g] = classify(81);
    EXPECT_EQ(status, c.status) << c.lift;
    if (c.status == 0) {
      EXPECT_EQ(g.patchClass, 1);
    } else {
      expectUntouched(g, "warped");
    }
  }
}

TEST_F(PatchClasses, RefusedSurfacesLeaveTheOutputs) {
  unitSquare(2);
  point(85, {0.5f, -0.5f, 0});
  line(85, {{2, 81}, {3, 82}, {7, 400}});  // a polyline side
  surface(82, 1, {85, 82, 83, 84});
  point(86, {0.5f, 0.5f, 0});
  arc(86, 81, 82, 86);                     // four arcs
  arc(87, 82, 83, 86);
  arc(88, 83, 84, 86);
  arc(89, 84, 81, 86);
  surface(83, 1, {86, 87, 88, 89});
  straight(90, 81, 99);                    // a point that does not exist
  surface(84, 1, {90, 82, 83, 84});
  surface(85, 1, {81, 82, 83, 0});         // a side missing
  for (int32_t s : {81, 82, 83, 84, 85, 99}) {
    const auto [status, g] = classify(s);
    EXPECT_EQ(status, 1) << s;
    expectUntouched(g, "surface " + std::to_string(s));
  }
}

TEST_F(PatchClasses, CylindersAndArcsInThePlane) {
  // A quarter cylinder about the x axis, its arcs on sides 2 and 4.
  point(81, {0, 0, 0});
  point(84, {0, 1, 0});
  point(85, {2, 1, 0});
  point(86, {2, 0, 1});
  point(87, {0, 0, 1});
  point(88, {2, 0, 0});
  straight(81, 84, 85);
  arc(82, 85, 86, 88);
  straight(83, 86, 87);
  arc(84, 87, 84, 81);
  surface(81, 1, {81, 82, 83, 84});
  auto [status, g] = classify(81);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 5);
  expectNear(g.a, {2, 0, 0}, "A");
  expectNear(g.b, {0, 0, 0}, "B");
  expectNear(g.p3, {2, 0, 1}, "P3");

  // The same patch from side 2: arcs on sides 1 and 3.
  surface(82, 1, {82, 83, 84, 81});
  std::tie(status, g) = classify(82);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 4);
  expectNear(g.a, {2, 0, 0}, "A of class 4");
  expectNear(g.b, {0, 0, 0}, "B of class 4");

  // One arc's centre moved by 0.01: its radii differ by more than the tolerance.
  point(89, {2, 0, 0.01f});
  arc(85, 85, 86, 89);
  surface(83, 1, {81, 85, 83, 84});
  std::tie(status, g) = classify(83);
  EXPECT_EQ(status, 1);
  expectUntouched(g, "radius changed");

  // A half cylinder: its centres lie in the plane of its corners.
  point(90, {0, -1, 0});
  point(91, {2, -1, 0});
  point(92, {2, 1, 0});
  straight(86, 90, 91);
  arc(87, 91, 92, 88);
  straight(88, 92, 84);
  arc(89, 84, 90, 81);
  surface(84, 1, {86, 87, 88, 89});
  std::tie(status, g) = classify(84);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 3);
  expectNear(g.a, {2, 0, 0}, "A of class 3");
  surface(85, 1, {87, 88, 89, 86});
  std::tie(status, g) = classify(85);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 2);
  expectNear(g.b, {0, 0, 0}, "B of class 2");
}

TEST_F(PatchClasses, SectorsByTheirShortSide) {
  // O, X = (1, 0, 0), Y = (0, 1, 0): D from O to O, S1 O-X, the arc X-Y about O, S2 Y-O.
  point(81, {0, 0, 0});
  point(82, {1, 0, 0});
  point(83, {0, 1, 0});
  straight(81, 81, 81);
  straight(82, 81, 82);
  arc(83, 82, 83, 81);
  straight(84, 83, 81);
  struct Case {
    std::array<int32_t, 4> lines;
    int32_t patchClass;
    bool inA;
  } cases[] = {
      {{81, 82, 83, 84}, 6, false},
      {{84, 81, 82, 83}, 7, false},
      {{83, 84, 81, 82}, 8, true},
      {{82, 83, 84, 81}, 9, true},
  };
  int32_t s = 81;
  for (const Case& c : cases) {
    surface(s, 1, c.lines);
    const auto [status, g] = classify(s);
    EXPECT_EQ(status, 0) << c.patchClass;
    EXPECT_EQ(g.patchClass, c.patchClass);
    expectNear(c.inA ? g.a : g.b, {0, 0, 0}, "centre");
    EXPECT_EQ(c.inA ? g.b : g.a, (D{0, 0, 0})) << c.patchClass;
    ++s;
  }
  // The side opposite the point straight, or two short sides: no class.
  straight(85, 82, 83);
  surface(90, 1, {81, 82, 85, 84});
  surface(91, 1, {81, 82, 83, 81});
  for (int32_t r : {90, 91}) {
    const auto [status, g] = classify(r);
    EXPECT_EQ(status, 1) << r;
    expectUntouched(g, "sector");
  }
}

TEST_F(PatchClasses, CompositeSidesOfStraightMembers) {
  // A square of side 3 whose side 1 is three collinear members, stored out of order and
  // partly turned round.
  point(81, {0, 0, 0});
  point(82, {1, 0, 0});
  point(83, {2, 0, 0});
  point(84, {3, 0, 0});
  point(85, {3, 3, 0});
  point(86, {0, 3, 0});
  straight(81, 83, 82);
  straight(82, 83, 84);
  straight(83, 81, 82);
  composite(84, {81, 82, 83}, 81, 84);
  straight(85, 84, 85);
  straight(86, 85, 86);
  straight(87, 86, 81);
  surface(81, 1, {84, 85, 86, 87});
  const auto [status, g] = classify(81);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(g.patchClass, 1);
  expectNear(g.p2, {3, 0, 0}, "P2");
  const Bnd b = bndlin(84);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.kind, 1);
  EXPECT_EQ(b.first, 81);
  EXPECT_EQ(b.second, 84);
  EXPECT_EQ(b.centre, 0);

  // Bent by 0.2 degree at a joint: no straight side, and no class.
  point(83, {2, std::tan(0.2f * 0.017453292f), 0});
  EXPECT_EQ(bndlin(84).status, 1);
  EXPECT_EQ(classify(81).first, 1);
  // Bent by 0.05 degree: straight.
  point(83, {2, std::tan(0.05f * 0.017453292f), 0});
  EXPECT_EQ(bndlin(84).status, 0);
  EXPECT_EQ(classify(81).first, 0);

  // A side of 21 members: more than the edge table holds.
  line(88, {{2, 81}, {3, 84}, {6, 21}, {7, 900}, {8, 83}, {9, 81}, {10, 82}, {11, 1}});
  surface(82, 1, {88, 85, 86, 87});
  const auto [many, untouched] = classify(82);
  EXPECT_EQ(many, 1);
  expectUntouched(untouched, "21 members");
}

TEST_F(PatchClasses, CompositeArcs) {
  const float h = std::sqrt(0.5f);
  point(81, {0, 0, 0});
  point(82, {1, 0, 0});
  point(83, {h, h, 0});
  point(84, {0, 1, 0});
  point(85, {0, 0, 0});  // a second centre at the same place
  arc(81, 82, 83, 81);
  arc(82, 84, 83, 85);   // stored turned round
  composite(83, {82, 81}, 82, 84);
  Bnd b = bndlin(83);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.kind, 2);
  EXPECT_EQ(b.first, 82);
  EXPECT_EQ(b.second, 84);
  EXPECT_EQ(b.centre, 85);  // the centre of the last member in the chain

  struct Case {
    const char* what;
    V centre;
    V end;
  } cases[] = {
      {"centre off by 0.01", {0.01f, 0, 0}, {0, 1, 0}},
      {"radius 1.01", {0, 0, 0}, {0, 1.01f, 0}},
      {"out of the plane", {0, 0, 0}, {0, h, h}},
  };
  for (const Case& c : cases) {
    point(85, c.centre);
    point(84, c.end);
    EXPECT_EQ(bndlin(83).status, 1) << c.what;
  }
}

TEST_F(PatchClasses, CompositeRefusals) {
  point(81, {0, 0, 0});
  point(82, {1, 0, 0});
  point(83, {2, 0, 0});
  point(84, {3, 0, 0});
  point(85, {1, 1, 0});
  straight(81, 81, 82);
  straight(82, 82, 83);
  straight(83, 83, 84);
  arc(84, 82, 85, 81);
  composite(85, {81, 83}, 81, 84);        // a gap between the members
  composite(86, {81, 84}, 81, 85);        // a straight member and an arc
  composite(87, {82, 83}, 81, 84);        // no member at the first end point
  composite(88, {81, 82, 83}, 81, 84);    // a good one
  line(89, {{2, 81}, {3, 84}, {6, 21}, {7, 900}, {8, 81}, {9, 82}, {10, 83}, {11, 1}});
  for (int32_t l : {85, 86, 87, 89, 81, 99}) {
    Bnd b = bndlin(88);
    EXPECT_EQ(b.status, 0);
    b = bndlin(l);
    EXPECT_EQ(b.status, 1) << l;
    EXPECT_EQ(b.kind, -1) << l;
  }
}

TEST_F(PatchClasses, EdgeTableChain) {
  EdgeTable t;
  const std::vector<std::array<int32_t, 3>> rows = {
      {5, 6, 0}, {1, 2, 7}, {3, 2, 8}, {3, 4, 0}, {9, 9, 9}};
  for (size_t r = 0; r < rows.size(); ++r) t.rows[r] = rows[r];
  EXPECT_EQ(EDGORD(t, 4, 1), 3);
  EXPECT_EQ(t.rows[0], (std::array<int32_t, 3>{1, 2, 7}));
  EXPECT_EQ(t.rows[1], (std::array<int32_t, 3>{3, 2, 8}));
  EXPECT_EQ(t.rows[2], (std::array<int32_t, 3>{3, 4, 0}));
  EXPECT_EQ(t.rows[3], (std::array<int32_t, 3>{0, 0, 0}));  // the row not placed
  EXPECT_EQ(t.rows[4], (std::array<int32_t, 3>{9, 9, 9}));  // beyond N
  // Chained from the end of a row.
  for (size_t r = 0; r < rows.size(); ++r) t.rows[r] = rows[r];
  EXPECT_EQ(EDGORD(t, 4, 4), 3);
  EXPECT_EQ(t.rows[0], (std::array<int32_t, 3>{3, 4, 0}));
  EXPECT_EQ(t.rows[2], (std::array<int32_t, 3>{1, 2, 7}));
  // No row at P0, and no rows.
  for (size_t r = 0; r < rows.size(); ++r) t.rows[r] = rows[r];
  EXPECT_EQ(EDGORD(t, 4, 77), 0);
  EXPECT_EQ(t.rows[0], (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(EDGORD(t, 0, 1), 0);
  EXPECT_EQ(t.rows[4], (std::array<int32_t, 3>{9, 9, 9}));
}

TEST(PatchHelpers, ExtremeIndex) {
  const std::vector<float> v = {2, 5, 5, 1};
  int32_t index = -1;
  IXMXMN(1, v, 4, index);
  EXPECT_EQ(index, 2);
  IXMXMN(0, v, 4, index);
  EXPECT_EQ(index, 4);
  IXMXMN(7, v, 4, index);
  EXPECT_EQ(index, 4);
  IXMXMN(1, v, 1, index);
  EXPECT_EQ(index, 1);
  IXMXMN(0, v, 0, index);
  EXPECT_EQ(index, 1);
  IXMXMN(0, v, 3, index);  // the 1 lies beyond N
  EXPECT_EQ(index, 1);
  IXMXMN(1, v, 40, index);  // N cut to the values
  EXPECT_EQ(index, 2);
}

TEST(PatchHelpers, Warp) {
  using V = std::array<float, 3>;
  struct Case {
    V p1, p2, p3, p4;
    float warp;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0.003f}, {0, 1, 0}, 0.0015f},
      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, 0.0f},
      {{0, 0, 5}, {1, 0, 5}, {1, 1, 4}, {0, 1, 6}, 0.70710678f},
      {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, 0.0f},  // parallel diagonals
      {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}, {3, 0, 1}, 0.0f},
  };
  for (const Case& c : cases) {
    float warp = -1.0f;
    WARP4(c.p1, c.p2, c.p3, c.p4, warp);
    EXPECT_NEAR(warp, c.warp, 1.0e-6f) << c.p3[2];
  }
}

}  // namespace
}  // namespace kvr::test
