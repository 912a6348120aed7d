// Line and arc constructions: the angle at a vertex, offsets of lines and arcs, the
// intersections of lines and arcs against closed forms, the point at a fraction of an arc,
// and the messages CRVINT and OFFTRF post (in the line and in the reinforcement wording).
#include "geometry/arccon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "geometry/curent.h"
#include "geometry/vector3.h"
#include "machine_fixture.h"
#include "placement.h"
#include "runtime/geosta.h"
#include "runtime/msgarg.h"

namespace kvr::test {
namespace {

using V = std::array<float, 3>;
using D = std::array<double, 3>;
constexpr float kSentinel = -77.0f;
constexpr V kUnset = {kSentinel, kSentinel, kSentinel};

void expectNear(const V& got, const V& want, const std::string& what) {
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(got[k], want[k], 1.0e-5f * std::max(1.0f, std::fabs(want[k])))
        << what << " coordinate " << k + 1;
  }
}
void expectNear(const D& got, const D& want, const std::string& what) {
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(got[k], want[k], 1.0e-9 * std::max(1.0, std::fabs(want[k])))
        << what << " coordinate " << k + 1;
  }
}

class Constructions : public MachineConstants {
 protected:
  void SetUp() override {
    MachineConstants::SetUp();
    saved_ = GEOSTA;
    GEOSTA.setReal(kGeoModelSize, 10.0f);
    GEOSTA.setReal(kGeoModelTolerance, 0.001f);
    MSGARG = {};
    CURTAB = {};
  }
  void TearDown() override {
    GEOSTA = saved_;
    MSGARG = {};
    CURTAB = {};
    MachineConstants::TearDown();
  }
  // The current entity a reinforcement: entry 1 of the context table, class 801.
  static void reinforcementContext() {
    CURTAB.word(1) = 1;
    CURTAB.word(4) = kReinforcementClass;
  }

  struct Offset {
    int32_t status = -1;
    V q1 = kUnset, q2 = kUnset, qguide = kUnset;
    Frame4D matrix{};
  };
  static Offset offset(V p1, V p2, V centre, int32_t kind, V guide, float distance) {
    Offset o;
    o.matrix.values.fill(-7.0);
    MSGARG.number() = -1;
    OFFTRF(p1, p2, centre, kind, guide, distance, o.q1, o.q2, o.qguide, o.matrix, o.status);
    return o;
  }
  static std::pair<int32_t, V> crvint(V a1, V a2, V ac, int32_t ka, V b1, V b2, V bc, int32_t kb,
                                      V guide) {
    V p = kUnset;
    int32_t status = -1;
    MSGARG.number() = -1;
    CRVINT(a1, a2, ac, ka, b1, b2, bc, kb, guide, p, status);
    return {status, p};
  }

 private:
  GeoSta saved_;
};

TEST_F(Constructions, AngleAtAVertex) {
  const V vertex = {1, 1, 1};
  struct Case {
    V p1, p2;
    float angle;
  } cases[] = {
      {{1, 1, 1}, {2, 3, 4}, 0.0f},    // p1 at the vertex
      {{2, 1, 1}, {0, 1, 1}, 180.0f},  // opposite
      {{2, 1, 1}, {1, 3, 1}, 90.0f},   // right angle
      {{2, 1, 1}, {3, 3, 1}, 45.0f},
      {{2, 1, 1}, {5, 1, 1}, 0.0f},    // same direction
  };
  for (const Case& c : cases) {
    float angle = -1.0f;
    ANGL3P(vertex, c.p1, c.p2, angle);
    EXPECT_NEAR(angle, c.angle, 1.0e-3f) << c.p1[0] << " " << c.p2[0] << " " << c.p2[1];
  }
}

TEST_F(Constructions, OffsetOfALine) {
  const Offset o = offset({0, 0, 0}, {10, 0, 0}, {}, kCurveLine, {5, 5, 0}, 2.0f);
  EXPECT_EQ(o.status, 0);
  expectNear(o.q1, {0, 2, 0}, "q1");
  expectNear(o.q2, {10, 2, 0}, "q2");
  EXPECT_EQ(o.qguide, kUnset);
  EXPECT_DOUBLE_EQ(o.matrix(2, 4), 2.0);
  EXPECT_DOUBLE_EQ(o.matrix(4, 4), 1.0);
  EXPECT_EQ(MSGARG.number(), -1);

  // Out of the xy plane: the perpendicular lies in the plane of the guide.
  const Offset tilted = offset({1, 1, 1}, {1, 1, 5}, {}, kCurveLine, {4, 1, 3}, 0.5f);
  EXPECT_EQ(tilted.status, 0);
  expectNear(tilted.q1, {1.5f, 1, 1}, "tilted q1");
  expectNear(tilted.q2, {1.5f, 1, 5}, "tilted q2");
}

TEST_F(Constructions, OffsetOfALineNeedsAGuideOffTheLine) {
  struct Case {
    const char* what;
    V p2, guide;
  } cases[] = {
      {"guide on the line", {10, 0, 0}, {5, 0, 0}},
      {"guide behind the start", {10, 0, 0}, {-3, 0, 0}},
      // An angle of about 0.057 degree: the perpendicular has a squared length of 1.0e-12,
      // too short to normalise, and the line would stay where it was.
      {"guide nearly on the line", {0.1f, 0, 0}, {0.1f, 0.0001f, 0}},
  };
  for (const Case& c : cases) {
    const Offset o = offset({0, 0, 0}, c.p2, {}, kCurveLine, c.guide, 2.0f);
    EXPECT_EQ(o.status, 1) << c.what;
    EXPECT_EQ(MSGARG.number(), 2142) << c.what;
    EXPECT_EQ(o.q1, kUnset) << c.what;
  }
}

TEST_F(Constructions, OffsetOfAnArcScalesAboutItsCentre) {
  struct Case {
    V centre, guide;
    float distance, factor;
  } cases[] = {
      {{0, 0, 0}, {15, 0, 0}, 2.0f, 1.2f},  // guide outside
      {{0, 0, 0}, {0, 5, 0}, 2.0f, 0.8f},   // guide inside
      {{1, 2, 3}, {1, -13, 3}, 2.0f, 1.2f},
      {{1, 2, 3}, {4, 2, 3}, 5.0f, 0.5f},
  };
  for (const Case& c : cases) {
    const V p1 = {c.centre[0] + 10, c.centre[1], c.centre[2]};
    const V p2 = {c.centre[0], c.centre[1] + 10, c.centre[2]};
    const Offset o = offset(p1, p2, c.centre, kCurveArc, c.guide, c.distance);
    ASSERT_EQ(o.status, 0) << c.factor;
    const auto scaled = [&](const V& p) {
      return V{c.centre[0] + c.factor * (p[0] - c.centre[0]),
               c.centre[1] + c.factor * (p[1] - c.centre[1]),
               c.centre[2] + c.factor * (p[2] - c.centre[2])};
    };
    expectNear(o.q1, scaled(p1), "q1");
    expectNear(o.q2, scaled(p2), "q2");
    expectNear(o.qguide, scaled(c.guide), "guide");
    EXPECT_NEAR(o.matrix(4, 4), 1.0 / c.factor, 1.0e-6);
  }
}

TEST_F(Constructions, OffsetRefusalsAndTheirWording) {
  struct Case {
    const char* what;
    V p2, guide;
    int32_t kind;
    float distance;
    int32_t line, reinforcement;
  } cases[] = {
      {"shrunk to nothing", {0, 10, 0}, {5, 0, 0}, kCurveArc, 10.0f, 2144, 2144},
      {"beyond the centre", {0, 10, 0}, {5, 0, 0}, kCurveArc, 12.0f, 2144, 2144},
      {"radii 10 and 11", {0, 11, 0}, {15, 0, 0}, kCurveArc, 2.0f, 2141, 2141},
      {"guide on the radius", {0, 10, 0}, {6, 8, 0}, kCurveArc, 2.0f, 2143, 2332},
      {"kind 3", {0, 10, 0}, {15, 0, 0}, 3, 2.0f, 2140, 2331},
      {"kind 0", {0, 10, 0}, {15, 0, 0}, 0, 2.0f, 2140, 2331},
  };
  for (bool reinforced : {false, true}) {
    CURTAB = {};
    if (reinforced) reinforcementContext();
    for (const Case& c : cases) {
      const Offset o = offset({10, 0, 0}, c.p2, {0, 0, 0}, c.kind, c.guide, c.distance);
      EXPECT_EQ(o.status, 1) << c.what;
      EXPECT_EQ(MSGARG.number(), reinforced ? c.reinforcement : c.line) << c.what;
      EXPECT_EQ(MSGARG.errorFlag(), 1) << c.what;
      EXPECT_EQ(o.q1, kUnset) << c.what;
      EXPECT_EQ(o.matrix(1, 1), -7.0) << c.what;
    }
  }
  // An arc whose ends lie at its centre has no radius to scale.
  const Offset none = offset({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, kCurveArc, {5, 0, 0}, 1.0f);
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(MSGARG.number(), 2141);
}

TEST_F(Constructions, LineIntersections) {
  struct Case {
    const char* what;
    D a1, a2, b1, b2;
    int32_t status;
    D point;
  } cases[] = {
      // Unbounded: the crossing lies outside both segments.
      {"crossing", {0, 0, 0}, {1, 0, 0}, {2, -1, 0}, {2, 1, 0}, 0, {2, 0, 0}},
      {"oblique in space", {1, 1, 1}, {2, 2, 2}, {0, 4, 4}, {4, 0, 0}, 0, {2, 2, 2}},
      // B1 on the first line spans no plane with it: B2 is taken.
      {"first end on the line", {0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {3, 1, 0}, 0, {3, 0, 0}},
      {"both ends on the line", {0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {-3, 0, 0}, 1, {}},
      {"parallel", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, 6, {}},
      {"one apart in z", {0, 0, 0}, {1, 0, 0}, {2, -1, 1}, {2, 1, 1}, 2, {}},
  };
  for (const Case& c : cases) {
    D p = {-7, -7, -7};
    int32_t status = -1;
    LLINTS(c.a1, c.a2, c.b1, c.b2, p, status);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.status == 0) {
      expectNear(p, c.point, c.what);
    } else {
      EXPECT_EQ(p, (D{-7, -7, -7})) << c.what;
    }
  }
}

TEST_F(Constructions, ArcAndLineIntersections) {
  const D s = {5, 0, 0}, e = {0, 5, 0}, q = {0, 0, 0};
  struct Case {
    const char* what;
    D p1, p2, l1, l2, guide;
    int32_t status;
    D point;
  } cases[] = {
      {"tangent y = 5", s, e, {0, 5, 0}, {1, 5, 0}, {9, 9, 9}, 0, {0, 5, 0}},
      {"misses y = 6", s, e, {0, 6, 0}, {1, 6, 0}, {0, 0, 0}, 5, {}},
      {"through the centre, guide right", s, e, {-10, 0, 0}, {10, 0, 0}, {4, 1, 0}, 0, {5, 0, 0}},
      {"through the centre, guide left", s, e, {-10, 0, 0}, {10, 0, 0}, {-4, 1, 0}, 0, {-5, 0, 0}},
      {"chord x = 3", s, e, {3, -9, 0}, {3, 9, 0}, {3, 3, 0}, 0, {3, 4, 0}},
      {"a line of one point", s, e, {3, 3, 0}, {3, 3, 0}, {0, 0, 0}, 5, {}},
      {"off the plane", s, e, {0, 5, 1}, {1, 5, 1}, {0, 0, 0}, 2, {}},
      {"radii 5 and 6", s, {0, 6, 0}, {0, 5, 0}, {1, 5, 0}, {0, 0, 0}, 3, {}},
      {"half circle", s, {-5, 0, 0}, {0, 5, 0}, {1, 5, 0}, {0, 0, 0}, 1, {}},
  };
  for (const Case& c : cases) {
    D p = {-7, -7, -7};
    int32_t status = -1;
    LCINTS(c.p1, c.p2, q, c.l1, c.l2, c.guide, p, status);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.status == 0) expectNear(p, c.point, c.what);
  }
}

TEST_F(Constructions, ArcAndArcIntersections) {
  struct Case {
    const char* what;
    D bc;
    D guide;
    int32_t status;
    D point;
  } cases[] = {
      {"8 apart, guide above", {8, 0, 0}, {4, 10, 0}, 0, {4, 3, 0}},
      {"8 apart, guide below", {8, 0, 0}, {4, -10, 0}, 0, {4, -3, 0}},
      {"8 apart, tie", {8, 0, 0}, {4, 0, 0}, 0, {4, 3, 0}},
      {"10 apart, touching", {10, 0, 0}, {0, 0, 0}, 0, {5, 0, 0}},
      {"11 apart", {11, 0, 0}, {0, 0, 0}, 5, {}},
      {"coincident", {0, 0, 0}, {0, 0, 0}, 4, {}},
      {"0.0005 apart", {0.0005, 0, 0}, {0, 0, 0}, 4, {}},
  };
  for (const Case& c : cases) {
    // Circles of radius 5, the second arc a quarter about its centre.
    const D b1 = {c.bc[0] - 5, c.bc[1], 0}, b2 = {c.bc[0], c.bc[1] + 5, 0};
    D p = {-7, -7, -7};
    int32_t status = -1;
    CCINTS(D{5, 0, 0}, D{0, 5, 0}, D{0, 0, 0}, b1, b2, c.bc, c.guide, p, status);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.status == 0) expectNear(p, c.point, c.what);
  }

  // Tilted into the plane x = z: the crossing follows the frame back.
  const double r = std::sqrt(0.5);
  D p{};
  int32_t status = -1;
  CCINTS(D{5 * r, 0, 5 * r}, D{0, 5, 0}, D{0, 0, 0}, D{3 * r, 0, 3 * r}, D{8 * r, 5, 8 * r},
         D{8 * r, 0, 8 * r}, D{0, 10, 0}, p, status);
  EXPECT_EQ(status, 0);
  expectNear(p, {4 * r, 3, 4 * r}, "tilted");

  struct Refusal {
    const char* what;
    D a2, b2;
    int32_t status;
  } refusals[] = {
      {"radii 5 and 6", {0, 6, 0}, {8, 5, 0}, 3},
      {"an arc point off the plane", {0, 3, 4}, {8, 5, 0}, 2},
  };
  for (const Refusal& c : refusals) {
    status = -1;
    CCINTS(D{5, 0, 0}, c.a2, D{0, 0, 0}, D{3, 0, 0}, c.b2, D{8, 0, 0}, D{0, 0, 0}, p, status);
    EXPECT_EQ(status, c.status) << c.what;
  }
}

TEST_F(Constructions, TangentLinesAndTouchingArcsInAnyPlacement) {
  // In 2,000 random rigid placements of REAL points: a line tangent to an arc, and arcs
  // touching from outside and from inside, give their one common point; a line or an arc
  // a hundredth of the radius clear of the first arc gives none.
  RandomPlacements random(74);
  const double kDeg = M_PI / 180.0;
  int32_t misses = 0, clearFound = 0;
  double worst = 0.0;
  for (int32_t trial = 0; trial < 2000; ++trial) {
    const Placement place = random.next();
    const double r = random.uniform(0.5, 5.0);
    const double phi = random.uniform(-M_PI, M_PI);
    const D3 toward = {std::cos(phi), std::sin(phi), 0.0};
    const D3 along = {-std::sin(phi), std::cos(phi), 0.0};
    const D3 touch = scaled(toward, r);
    auto on = [&](const D3& centre, double radius, double angle) {
      return place.pointF(add(centre, {radius * std::cos(angle), radius * std::sin(angle), 0.0}));
    };
    // The arc about the origin from phi + 30 to phi + 30 + sweep degrees.
    const double start = phi + 30.0 * kDeg, sweep = random.uniform(20.0, 150.0) * kDeg;
    const V a1 = on({0, 0, 0}, r, start), a2 = on({0, 0, 0}, r, start + sweep);
    const V ac = place.pointF({0, 0, 0});
    const V guide = place.pointF(scaled(toward, 2.0 * r));
    auto check = [&](const std::pair<int32_t, V>& got) {
      if (got.first != 0) {
        ++misses;
        return;
      }
      const D3 want = place.point(touch);
      worst = std::max(worst, norm3(sub(D3{got.second[0], got.second[1], got.second[2]}, want)));
    };
    for (double clear : {0.0, 0.01}) {
      const D3 at = scaled(toward, r * (1.0 + clear));
      const V l1 = place.pointF(add(at, scaled(along, -random.uniform(0.5, 3.0))));
      const V l2 = place.pointF(add(at, scaled(along, random.uniform(0.5, 3.0))));
      const double r2 = r * random.uniform(0.2, 0.8);
      const double gap = clear * r;
      // Outside: the centre beyond the touching point; inside: short of it.
      for (const D3 bc : {scaled(toward, r + r2 + gap), scaled(toward, r - r2 - gap)}) {
        const double b0 = phi + 40.0 * kDeg;
        const auto arcs =
            crvint(a1, a2, ac, 2, on(bc, r2, b0), on(bc, r2, b0 + 1.5), place.pointF(bc), 2, guide);
        if (clear == 0.0) {
          check(arcs);
        } else if (arcs.first == 0) {
          ++clearFound;
        }
      }
      const auto tangent = crvint(a1, a2, ac, 2, l1, l2, {}, 1, guide);
      if (clear == 0.0) {
        check(tangent);
      } else if (tangent.first == 0) {
        ++clearFound;
      }
    }
  }
  EXPECT_EQ(misses, 0);
  EXPECT_EQ(clearFound, 0);
  EXPECT_LT(worst, 1.0e-5);
}

TEST_F(Constructions, CurveIntersectionPostsWhyItFailed) {
  const V o = {0, 0, 0};
  struct Case {
    const char* what;
    V a1, a2, ac;
    int32_t ka;
    V b1, b2, bc;
    int32_t kb;
    int32_t line, reinforcement;
  } cases[] = {
      {"parallel", o, {1, 0, 0}, o, kCurveLine, {0, 1, 0}, {1, 1, 0}, o, kCurveLine, 2151, 2337},
      {"skew", o, {1, 0, 0}, o, kCurveLine, {2, -1, 1}, {2, 1, 1}, o, kCurveLine, 2148, 2335},
      {"collinear", o, {1, 0, 0}, o, kCurveLine, {3, 0, 0}, {-3, 0, 0}, o, kCurveLine, 2142, 2142},
      {"no crossing", {5, 0, 0}, {0, 5, 0}, o, kCurveArc, {0, 6, 0}, {1, 6, 0}, o, kCurveLine, 2150,
       2336},
      {"unequal radii", {5, 0, 0}, {0, 6, 0}, o, kCurveArc, {0, 5, 0}, {1, 5, 0}, o, kCurveLine,
       2141, 2141},
      {"coincident centres", {5, 0, 0}, {0, 5, 0}, o, kCurveArc, {3, 0, 0}, {0, 3, 0}, o,
       kCurveArc, 2149, 2149},
      {"kind 3", o, {1, 0, 0}, o, 3, {2, -1, 0}, {2, 1, 0}, o, kCurveLine, 2140, 2331},
      {"kind 0", o, {1, 0, 0}, o, kCurveLine, {2, -1, 0}, {2, 1, 0}, o, 0, 2140, 2331},
  };
  for (bool reinforced : {false, true}) {
    CURTAB = {};
    if (reinforced) reinforcementContext();
    for (const Case& c : cases) {
      const auto [status, p] = crvint(c.a1, c.a2, c.ac, c.ka, c.b1, c.b2, c.bc, c.kb, {0, 0, 0});
      EXPECT_EQ(status, 1) << c.what;
      EXPECT_EQ(MSGARG.number(), reinforced ? c.reinforcement : c.line) << c.what;
      EXPECT_EQ(p, kUnset) << c.what;
    }
  }
}

TEST_F(Constructions, CurveIntersectionByKinds) {
  const V o = {0, 0, 0};
  auto [status, p] = crvint(o, {1, 0, 0}, o, kCurveLine, {2, -1, 0}, {2, 1, 0}, o, kCurveLine, o);
  EXPECT_EQ(status, 0);
  expectNear(p, {2, 0, 0}, "lines");
  // The arc is handed first whichever curve it is.
  for (bool arcFirst : {true, false}) {
    const V s = {5, 0, 0}, e = {0, 5, 0}, l1 = {-10, 0, 0}, l2 = {10, 0, 0}, g = {-4, 1, 0};
    std::tie(status, p) = arcFirst ? crvint(s, e, o, kCurveArc, l1, l2, o, kCurveLine, g)
                                   : crvint(l1, l2, o, kCurveLine, s, e, o, kCurveArc, g);
    EXPECT_EQ(status, 0) << arcFirst;
    expectNear(p, {-5, 0, 0}, arcFirst ? "arc and line" : "line and arc");
  }
  std::tie(status, p) =
      crvint({5, 0, 0}, {0, 5, 0}, o, kCurveArc, {3, 0, 0}, {8, 5, 0}, {8, 0, 0}, kCurveArc, {4, -9, 0});
  EXPECT_EQ(status, 0);
  expectNear(p, {4, -3, 0}, "arcs");
  EXPECT_EQ(MSGARG.number(), -1);
}

TEST_F(Constructions, PointsOnArcs) {
  const float h = std::sqrt(0.5f);
  struct Case {
    const char* what;
    V centre, start, end;
    float t;
    V point;
  } cases[] = {
      {"start", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.0f, {1, 0, 0}},
      {"end", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1.0f, {0, 1, 0}},
      {"45 degrees", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0.5f, {h, h, 0}},
      {"the shorter way", {1, 1, 1}, {1, 2, 1}, {2, 1, 1}, 0.5f, {1 + h, 1 + h, 1}},
      {"radius 1 to 2", {0, 0, 0}, {1, 0, 0}, {0, 2, 0}, 0.5f, {1.5f * h, 1.5f * h, 0}},
      // Opposite ends: counter-clockwise about z, or about x for ends on the z axis.
      {"opposite", {0, 0, 0}, {1, 0, 0}, {-1, 0, 0}, 0.5f, {0, 1, 0}},
      {"opposite about a centre", {2, 3, 4}, {2, 5, 4}, {2, 1, 4}, 0.5f, {0, 3, 4}},
      {"opposite on z", {0, 0, 0}, {0, 0, 1}, {0, 0, -1}, 0.5f, {0, -1, 0}},
  };
  for (const Case& c : cases) {
    V p = kUnset;
    int32_t status = -1;
    ARCPNT(c.centre, c.start, c.end, c.t, p, status);
    EXPECT_EQ(status, 0) << c.what;
    expectNear(p, c.point, c.what);
  }
  for (float t : {1.5f, -0.1f, std::nanf("")}) {
    V p = kUnset;
    int32_t status = -1;
    ARCPNT(V{0, 0, 0}, V{1, 0, 0}, V{0, 1, 0}, t, p, status);
    EXPECT_EQ(status, 1) << t;
    EXPECT_EQ(p, kUnset) << t;
  }
  V p = kUnset;
  int32_t status = -1;
  ARCPNT(V{0, 0, 0}, V{0, 0, 0}, V{0, 1, 0}, 0.5f, p, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(p, kUnset);
}

TEST_F(Constructions, ContextTable) {
  int32_t word2 = -1, word1 = -1;
  CURENT(word2, word1);
  EXPECT_EQ(word2, 0);
  EXPECT_EQ(word1, 0);
  CURTAB.word(1) = 2;
  CURTAB.word(7) = kReinforcementClass;
  CURTAB.word(8) = 5;
  CURENT(word2, word1);
  EXPECT_EQ(word2, 5);
  EXPECT_EQ(word1, kReinforcementClass);
  // An index beyond the table, or below 0, reads nothing of it.
  for (int32_t index : {CurEntTable::kEntries + 1, 1000000, -1}) {
    CURTAB.word(1) = index;
    CURENT(word2, word1);
    EXPECT_EQ(word2, 0) << index;
    EXPECT_EQ(word1, 0) << index;
  }
}

}  // namespace
}  // namespace kvr::test
