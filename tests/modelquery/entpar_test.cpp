// The parametric position of a point in an entity, on lines, surfaces and bodies written
// into the model store: the line's samples and interpolation, the patch constructions of
// the nine classes with their limits and apexes, the hexahedron's face projections, the
// cache flag and what a cached call may use, and the model tolerance given back after
// every call.
#include "modelquery/entpar.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "../geometry/linemodel_fixture.h"
#include "modelquery/patchpar.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -9.0f;
constexpr float kCallerTolerance = 0.01f;
constexpr double kClose = 1.0e-5;
constexpr int32_t kArrBodyNames = 7;

struct Answer {
  int32_t status = -7;
  int32_t count = -7;
  std::array<float, 3> p = {kSentinel, kSentinel, kSentinel};
};

class Parametric : public LineModel {
 protected:
  void SetUp() override {
    LineModel::SetUp();
    resetEntityCache();
    GEOSTA.setReal(kGeoModelTolerance, kCallerTolerance);
  }
  void TearDown() override {
    resetEntityCache();
    LineModel::TearDown();
  }

  // ENTPAR of POINT; the caller's tolerance must come back bit for bit.
  static Answer entpar(int32_t& flag, int32_t kind, int32_t entity, std::array<float, 3> point) {
    Answer a;
    ENTPAR(flag, kind, entity, point, a.p, a.count, a.status);
    EXPECT_EQ(GEOSTA.word(kGeoModelTolerance), std::bit_cast<int32_t>(kCallerTolerance));
    return a;
  }
  static Answer fresh(int32_t kind, int32_t entity, std::array<float, 3> point) {
    int32_t flag = 0;
    return entpar(flag, kind, entity, point);
  }
  static void expectUnwritten(const Answer& a, const std::string& what) {
    EXPECT_EQ(a.status, 1) << what;
    EXPECT_EQ(a.count, -7) << what;
    EXPECT_EQ(a.p[0], kSentinel) << what;
    EXPECT_EQ(a.p[2], kSentinel) << what;
  }
  static void expectAt(const Answer& a, std::array<double, 3> want, int32_t count,
                       const std::string& what) {
    EXPECT_EQ(a.status, 0) << what;
    EXPECT_EQ(a.count, count) << what;
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(a.p[k], want[k], kClose) << what << " " << k + 1;
  }

  static int32_t graded(int32_t id, int32_t a, int32_t b, int32_t n, int32_t d = 0) {
    const int32_t w4 = d < 0 ? -(100 * -d + n) : 100 * d + n;
    return line(id, {{2, a}, {3, b}, {4, w4}, {7, 100}});
  }
  static int32_t body(int32_t id, int32_t type, std::array<int32_t, 6> surfaces) {
    std::vector<int32_t> r(kBodyWords, 0);
    r[0] = type;
    for (size_t k = 0; k < 6; ++k) r[k + 1] = surfaces[k];
    putInts(kArrBodies, (id - 1) * kBodyWords + 1, r);
    putName(kArrBodyNames, id, "B" + std::to_string(id));
    MODCNT.word(kCntBodies) = std::max(MODCNT.word(kCntBodies), id);
    return id;
  }

  // The unit square on points 101-104 as surface 101.
  static void unitSquare() {
    point(101, {0, 0, 0});
    point(102, {1, 0, 0});
    point(103, {1, 1, 0});
    point(104, {0, 1, 0});
    straight(101, 101, 102);
    straight(102, 102, 103);
    straight(103, 103, 104);
    straight(104, 104, 101);
    surface(101, 1, {101, 102, 103, 104});
  }

  // The quarter-circle sector about the origin O (point 101) from X (102) to Y (103):
  // lines 101 O-O, 102 O-X, 103 the arc X-Y about O, 104 Y-O. Surfaces 101-104 take the
  // lines from 101, 104, 103, 102 on: classes 6, 7, 8 and 9.
  static void sector() {
    point(101, {0, 0, 0});
    point(102, {1, 0, 0});
    point(103, {0, 1, 0});
    straight(101, 101, 101);
    straight(102, 101, 102);
    arc(103, 102, 103, 101);
    straight(104, 103, 101);
    surface(101, 1, {101, 102, 103, 104});
    surface(102, 1, {104, 101, 102, 103});
    surface(103, 1, {103, 104, 101, 102});
    surface(104, 1, {102, 103, 104, 101});
  }

  // The unit cube: bottom 101-104 (a1 at the origin, a2 on x, a4 on y), top 105-108 above,
  // its top loop running against the bottom; body 101 of type 1 on surfaces 101-106.
  static void unitCube(int32_t type = 1) {
    const std::array<std::array<float, 2>, 4> xy = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    for (int32_t i = 0; i < 4; ++i) {
      point(101 + i, {xy[static_cast<size_t>(i)][0], xy[static_cast<size_t>(i)][1], 0});
      point(105 + i, {xy[static_cast<size_t>(i)][0], xy[static_cast<size_t>(i)][1], 1});
    }
    straight(101, 101, 102);
    straight(102, 102, 103);
    straight(103, 103, 104);
    straight(104, 104, 101);
    straight(105, 105, 108);
    straight(106, 108, 107);
    straight(107, 107, 106);
    straight(108, 106, 105);
    straight(109, 101, 105);
    straight(110, 102, 106);
    straight(111, 103, 107);
    straight(112, 108, 104);
    surface(101, 1, {101, 102, 103, 104});
    surface(102, 1, {105, 106, 107, 108});
    surface(103, 1, {101, 110, 108, 109});
    surface(104, 1, {102, 111, 107, 110});
    surface(105, 1, {103, 112, 106, 111});
    surface(106, 1, {104, 109, 105, 112});
    body(101, type, {101, 102, 105, 103, 106, 104});
  }
};

// ---- Dispatch and the flag -------------------------------------------------------------

TEST_F(Parametric, KindsWithoutParameters) {
  graded(101, 101, 102, 10);
  for (int32_t kind : {1, 5, 0, -2}) {
    int32_t flag = 7;
    const Answer a = entpar(flag, kind, 101, {0, 0, 0});
    expectUnwritten(a, "kind " + std::to_string(kind));
    EXPECT_EQ(flag, 0) << kind;
  }
}

// ---- Lines ---------------------------------------------------------------------------

TEST_F(Parametric, LineSamplesAndInterpolation) {
  point(101, {0, 0, 0});
  point(102, {10, 0, 0});
  graded(101, 101, 102, 10);
  graded(102, 101, 102, 10, 3);  // graded: other samples, the same straight line
  struct Case {
    int32_t line;
    float x;
    double t;
  } cases[] = {
      {101, 3.7f, 0.37}, {101, 12.0f, 1.2}, {101, 0.0f, 0.0}, {101, 10.0f, 1.0},
      {102, 3.7f, 0.37}, {102, 6.25f, 0.625},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.line << " at " << c.x);
    int32_t flag = 7;
    const Answer a = entpar(flag, kEntityLine, c.line, {c.x, 0, 0});
    expectAt(a, {c.t, 0, 0}, 1, "line");
    EXPECT_EQ(flag, 1);
  }
}

TEST_F(Parametric, LinesWithoutAnAnswer) {
  point(101, {0, 0, 0});
  point(102, {10, 0, 0});
  graded(101, 101, 102, 0);    // no divisions
  graded(102, 101, 101, 4);    // no length
  graded(103, 101, 102, 10);
  graded(104, 102, 101, 10);
  line(105, {{2, 101}, {3, 102}, {6, 2}, {7, 900}, {8, 103}, {9, 104}});
  for (int32_t l : {101, 102, 105, 150, 0}) {
    const Answer a = fresh(kEntityLine, l, {1, 0, 0});
    expectUnwritten(a, "line " + std::to_string(l));
  }
  // The line 101 was cached before its divisions failed it: a cached call fails alike.
  int32_t flag = 0;
  EXPECT_EQ(entpar(flag, kEntityLine, 101, {1, 0, 0}).status, 1);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(entpar(flag, kEntityLine, 101, {1, 0, 0}).status, 1);

  // A cached straight line evaluated as the composite 105: its inner samples are not
  // placed, so there is no answer rather than one from points never written.
  flag = 0;
  EXPECT_EQ(entpar(flag, kEntityLine, 103, {3, 0, 0}).status, 0);
  expectUnwritten(entpar(flag, kEntityLine, 105, {3, 0, 0}), "composite samples");
}

TEST_F(Parametric, ClosedLineAnswersTheLowerSample) {
  // A polyline from the origin round the nodes 2, 3, 4 (the corners of the unit square)
  // back to the origin: its first and last samples are one point.
  point(101, {0, 0, 0});
  line(101, {{2, 101}, {3, 101}, {4, 4}, {5, 2}, {6, 4}, {7, 400}});
  const Answer a = fresh(kEntityLine, 101, {0, 0, 0});
  expectAt(a, {0, 0, 0}, 1, "closed");
  EXPECT_FALSE(std::isnan(a.p[0]));
  expectAt(fresh(kEntityLine, 101, {1, 0.5f, 0}), {0.375, 0, 0}, 1, "second side");
}

// ---- Surfaces ------------------------------------------------------------------------

TEST_F(Parametric, UnitSquareLimitsFromBothSides) {
  unitSquare();
  struct Case {
    std::array<float, 3> q;
    std::array<double, 3> uv;
  } cases[] = {
      {{0.5f, 0.5f, 0}, {0.5, 0.5, 0}},
      {{1, 1, 0}, {1, 1, 0}},
      {{0.25f, 0.75f, 0}, {0.25, 0.75, 0}},
      {{1.5f, 0.5f, 0}, {1, 0.5, 0}},
      {{-0.5f, 0.5f, 0}, {0, 0.5, 0}},  // not mirrored to 0.5
      {{0.3f, -2, 0}, {0.3, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.q[0] << ", " << c.q[1]);
    int32_t flag = 0;
    expectAt(entpar(flag, kEntitySurface, 101, c.q), c.uv, 2, "square");
    EXPECT_EQ(flag, 1);
  }
}

TEST_F(Parametric, TrapezoidIsoLinesMeetInThePencilPoint) {
  // Sides 4 and 2 meet at (1, 2, 0): u is the fraction along sides 1 and 3 of the line
  // from that point through Q.
  point(101, {0, 0, 0});
  point(102, {2, 0, 0});
  point(103, {1.5f, 1, 0});
  point(104, {0.5f, 1, 0});
  straight(101, 101, 102);
  straight(102, 102, 103);
  straight(103, 103, 104);
  straight(104, 104, 101);
  surface(101, 1, {101, 102, 103, 104});
  // Q = (1.25, 0.5): the line from (1, 2) meets side 1 at x = 4/3 and side 3 at x = 7/6.
  expectAt(fresh(kEntitySurface, 101, {1.25f, 0.5f, 0}), {(2.0 / 3 + 2.0 / 3) / 2, 0.5, 0}, 2,
           "trapezoid");
}

TEST_F(Parametric, SectorsAndTheirApexes) {
  sector();
  const double r = 0.4 * std::sqrt(2.0);
  struct Case {
    int32_t surface;
    std::array<double, 3> apex, inside;
  } cases[] = {
      {101, {0.5, 0, 0}, {0.5, r, 0}},
      {102, {1, 0.5, 0}, {1 - r, 0.5, 0}},
      {103, {0.5, 1, 0}, {0.5, 1 - r, 0}},
      {104, {0, 0.5, 0}, {r, 0.5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.surface);
    expectAt(fresh(kEntitySurface, c.surface, {0, 0, 0}), c.apex, 2, "apex");
    expectAt(fresh(kEntitySurface, c.surface, {0.4f, 0.4f, 0}), c.inside, 2, "bisector");
  }
  expectAt(fresh(kEntitySurface, 101, {0.4f, 0.4f, 0}), {0.5, 0.56568542, 0}, 2, "class 6");
}

TEST_F(Parametric, FlatArcsOfAnAnnulus) {
  // The quarter annulus between radii 1 and 2 about the origin: straight radial sides, arcs
  // about the origin. Sides from the inner x end: radial out, outer arc, radial in, inner
  // arc (class 3); started at the outer arc (class 2).
  point(101, {0, 0, 0});
  point(102, {1, 0, 0});
  point(103, {2, 0, 0});
  point(104, {0, 2, 0});
  point(105, {0, 1, 0});
  straight(101, 102, 103);
  arc(102, 103, 104, 101);
  straight(103, 104, 105);
  arc(104, 105, 102, 101);
  surface(101, 1, {101, 102, 103, 104});
  surface(102, 1, {102, 103, 104, 101});
  const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
  const std::array<float, 3> onSide2 = {static_cast<float>(2 * c30), static_cast<float>(2 * s30), 0};
  const std::array<float, 3> onSide4 = {static_cast<float>(s30), static_cast<float>(c30), 0};
  const std::array<float, 3> between = {static_cast<float>(1.5 * c30), static_cast<float>(1.5 * s30), 0};
  // Class 3: u from side 2 (the outer arc, 0) to side 4 (1), v the angle from side 1.
  expectAt(fresh(kEntitySurface, 101, onSide2), {0, 1.0 / 3, 0}, 2, "class 3 side 2");
  expectAt(fresh(kEntitySurface, 101, onSide4), {1, 2.0 / 3, 0}, 2, "class 3 side 4");
  expectAt(fresh(kEntitySurface, 101, between), {0.5, 1.0 / 3, 0}, 2, "class 3 between");
  // Class 2: u the angle from the outer arc's start, v from side 1 (the outer arc) inwards.
  expectAt(fresh(kEntitySurface, 102, between), {1.0 / 3, 0.5, 0}, 2, "class 2");
  expectAt(fresh(kEntitySurface, 102, onSide4), {2.0 / 3, 1, 0}, 2, "class 2 side 3");
}

TEST_F(Parametric, CylinderAngleAtAnyDistance) {
  // The quarter cylinder of radius 1 about the x axis from x = 0 to 2, its arcs about A =
  // (2, 0, 0) on side 2 and B = the origin on side 4 (class 5); from side 2 on, class 4.
  point(101, {0, 0, 0});
  point(104, {0, 1, 0});
  point(105, {2, 1, 0});
  point(106, {2, 0, 1});
  point(107, {0, 0, 1});
  point(108, {2, 0, 0});
  straight(101, 104, 105);
  arc(102, 105, 106, 108);
  straight(103, 106, 107);
  arc(104, 107, 104, 101);
  surface(101, 1, {101, 102, 103, 104});
  surface(102, 1, {102, 103, 104, 101});
  const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
  for (float radius : {1.0f, 0.5f}) {
    SCOPED_TRACE(radius);
    const std::array<float, 3> q = {0.5f, static_cast<float>(radius * c30), static_cast<float>(radius * s30)};
    expectAt(fresh(kEntitySurface, 101, q), {0.25, 1.0 / 3, 0}, 2, "class 5");
    expectAt(fresh(kEntitySurface, 102, q), {1.0 / 3, 0.75, 0}, 2, "class 4");
  }
}

TEST_F(Parametric, CachedSurfaceAnswersForTheFirst) {
  // The sectors, and the unit square O, X, (1, 1, 0), Y as surface 105.
  sector();
  point(104, {1, 1, 0});
  straight(105, 101, 102);
  straight(106, 102, 104);
  straight(107, 104, 103);
  straight(108, 103, 101);
  surface(105, 1, {105, 106, 107, 108});
  int32_t flag = 0;
  expectAt(entpar(flag, kEntitySurface, 105, {0.25f, 0.5f, 0}), {0.25, 0.5, 0}, 2, "square");
  expectAt(entpar(flag, kEntitySurface, 101, {0.75f, 0.5f, 0}), {0.75, 0.5, 0}, 2, "cached");
  flag = 0;
  expectAt(entpar(flag, kEntitySurface, 101, {0, 0, 0}), {0.5, 0, 0}, 2, "sector");

  // A surface that is no simple patch leaves no cache behind it.
  surface(106, 2, {105, 106, 107, 0});
  flag = 0;
  expectUnwritten(entpar(flag, kEntitySurface, 106, {0.5f, 0.5f, 0}), "refused");
  EXPECT_EQ(flag, 0);
  flag = 1;
  expectUnwritten(entpar(flag, kEntitySurface, 105, {0.5f, 0.5f, 0}), "nothing cached");
}

TEST_F(Parametric, PatchStepsOnTheirOwn) {
  double f = -1.0;
  EXPECT_TRUE(straightFraction({-1, 5, 0}, {0, 0, 0}, {2, 0, 0}, f));
  EXPECT_DOUBLE_EQ(f, -0.5);
  EXPECT_FALSE(straightFraction({1, 0, 0}, {1, 1, 1}, {1, 1, 1}, f));
  double g = -1.0;
  EXPECT_TRUE(arcFraction({0.5, std::sqrt(0.75), 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1.0, g));
  EXPECT_NEAR(g, 2.0 / 3, kClose);
  EXPECT_FALSE(arcFraction({0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {-1, 0, 0}, 1.0, g));
  EXPECT_FALSE(arcFraction({0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0.0001, 0}, 1.0, g));
  EXPECT_FALSE(arcFraction({0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.0, g));
  // The sweep point near Q turns to the fallback about the second centre.
  PatchPoint r{};
  EXPECT_TRUE(sweepCircle({0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {2, 0.01, 0}, r));
  EXPECT_NEAR(r[0], 0.0, 1.0e-9);
  EXPECT_NEAR(r[1], std::hypot(2.0, 0.01), 1.0e-9);
  EXPECT_FALSE(sweepCircle({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {2, 0, 0}, r));
  PatchPoint w{};
  pencilPoint({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {5, 5, 0}, {1, 0, 0}, w);
  EXPECT_EQ(w, (PatchPoint{6, 5, 0}));
  pencilPoint({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 2, 0}, {5, 5, 0}, {1, 0, 0}, w);
  EXPECT_NEAR(w[0], -1.0, 1.0e-9);
  EXPECT_NEAR(w[1], 0.0, 1.0e-9);
}

// ---- Bodies --------------------------------------------------------------------------

TEST_F(Parametric, UnitCubeInsideAndBeyond) {
  unitCube();
  struct Case {
    std::array<float, 3> q;
    std::array<double, 3> uvw;
  } cases[] = {
      {{0.2f, 0.3f, 0.7f}, {0.2, 0.3, 0.7}},
      {{1.5f, 0.5f, 0.5f}, {1, 0.5, 0.5}},
      {{-0.5f, 0.5f, 0.5f}, {0, 0.5, 0.5}},
      {{0.5f, 0.25f, -3}, {0.5, 0.25, 0}},
  };
  int32_t flag = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.q[0] << ", " << c.q[1] << ", " << c.q[2]);
    expectAt(entpar(flag, kEntityBody, 101, c.q), c.uvw, 3, "cube");
    EXPECT_EQ(flag, 1);
  }
}

TEST_F(Parametric, BodyFailuresLeaveNothingToReuse) {
  unitCube(2);
  int32_t flag = 0;
  expectUnwritten(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}), "type 2");
  EXPECT_EQ(flag, 1);
  expectUnwritten(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}), "cached after type 2");

  // A curved face: the arc's centre outside.
  unitCube();
  point(120, {0.5f, -1, 0});
  arc(101, 101, 102, 120);
  flag = 0;
  expectUnwritten(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}), "curved face");
  EXPECT_EQ(flag, 1);

  // Flat faces whose topology fails: no side face carries bottom side 4.
  straight(101, 101, 102);
  body(102, 1, {101, 102, 105, 103, 104, 103});
  flag = 0;
  MSGARG = {};
  expectUnwritten(entpar(flag, kEntityBody, 102, {0.5f, 0.5f, 0.5f}), "topology");
  EXPECT_EQ(MSGARG.number(), 2030);

  // A cached call of another kind than the one computed.
  graded(113, 101, 105, 4);
  flag = 0;
  EXPECT_EQ(entpar(flag, kEntityLine, 113, {0, 0, 0.5f}).status, 0);
  expectUnwritten(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}), "after a line");
  flag = 0;
  EXPECT_EQ(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}).status, 0);
  expectUnwritten(entpar(flag, kEntitySurface, 101, {0.5f, 0.5f, 0}), "surface after a body");
  expectUnwritten(entpar(flag, kEntityLine, 113, {0, 0, 0.5f}), "line after a body");
  expectAt(entpar(flag, kEntityBody, 101, {0.5f, 0.5f, 0.5f}), {0.5, 0.5, 0.5}, 3, "body kept");
}

// ---- The session ---------------------------------------------------------------------

class ParametricSession : public QuerySession {};

TEST_F(ParametricSession, ANewSessionEmptiesTheCache) {
  start();
  int32_t flag = 0;
  Answer a;
  const std::array<float, 3> q = {0.5f, 0, 0};
  ENTPAR(flag, kEntityLine, QueryModel::kStraight, q, a.p, a.count, a.status);
  EXPECT_EQ(a.status, 0);
  EXPECT_NEAR(a.p[0], 0.5, kClose);
  ENTPAR(flag, kEntityLine, QueryModel::kStraight, q, a.p, a.count, a.status);
  EXPECT_EQ(a.status, 0);
  start();
  ENTPAR(flag, kEntityLine, QueryModel::kStraight, q, a.p, a.count, a.status);
  EXPECT_EQ(a.status, 1);
}

}  // namespace
}  // namespace kvr::test
