// The surface intersection on shape records in the full model registry: planes, spheres,
// cylinders, cones and the faces of solids against closed forms, the refusals and their
// messages, and the result curves checked point by point on both surfaces.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "geometry/conic.h"
#include "geometry/geodsp.h"
#include "geometry/isxtyp.h"
#include "geometry/sixcyl.h"
#include "geometry/srfint.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "modeldb/entrec.h"
#include "modelquery/coordsys.h"
#include "placement.h"
#include "querymodel.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"

namespace kvr::test {
namespace {

using V3 = std::array<float, 3>;

constexpr int32_t kArrShapeNames = 9;
constexpr int32_t kArrPointXYZ = 2;
constexpr int32_t kFirstPoint = 41;   // the points of these shapes
constexpr int32_t kLastPoint = 60;
constexpr int32_t kShapeUnusable = 2165;
constexpr int32_t kNoCoordSystem = 2020;

// Shape codes: a shape number with surface type 0 (the surface itself).
constexpr int32_t code(int32_t shape, int32_t t = 0) { return shape * 100 + t; }

class SurfaceIntersection : public ::testing::Test {
 protected:
  void SetUp() override {
    savedMachine_ = MACHCN;
    savedGeometry_ = GEOCON;
    savedModel_ = MODCON;
    SYSINI();
    CHRSET();
    MDLCON();
    buildQueryModel();
    MODCNT.word(kCntPoints) = kLastPoint;
    MODCNT.word(kCntShapes) = 0;
    installEntityLabels();
    installCoordinateQueries();
    MSGARG = {};
    lines.clear();
    setLineWriterObserver([](LineWriter, int32_t, FText text) { lines.push_back(text.trimmed()); });
  }
  void TearDown() override {
    setLineWriterObserver(nullptr);
    setEntityLabelReader(nullptr);
    GEODSP = {};
    MSGARG = {};
    CoreFreeFile(-1);
    REGHED = {};
    MODCNT = {};
    MACHCN = savedMachine_;
    GEOCON = savedGeometry_;
    MODCON = savedModel_;
  }

  // Point P (41..60) at XYZ.
  static int32_t point(int32_t p, V3 xyz) {
    int32_t stat = 0;
    std::vector<float> r(xyz.begin(), xyz.end());
    ARRIO(-1, kArrPointXYZ, p, 1, 1, {}, r, stat);
    return p;
  }

  // Shape N named NAME with type word TYPE and the WORDS (number, value) set.
  static int32_t shape(int32_t n, const char* name, int32_t type,
                       std::initializer_list<std::pair<int32_t, float>> words) {
    std::vector<float> r(20, 0.0f);
    r[1] = static_cast<float>(type) + 0.001f;
    for (auto [k, v] : words) r[static_cast<size_t>(k - 1)] = v;
    int32_t stat = 0;
    ARRIO(-1, kArrShapes, (n - 1) * 20 + 1, 20, 1, {}, r, stat);
    const std::string s(name);
    std::vector<int32_t> label = {a4Word(s.substr(0, std::min<size_t>(4, s.size()))),
                                  a4Word(s.size() > 4 ? s.substr(4) : std::string())};
    ARRIO(-1, kArrShapeNames, n, 1, -1, label, {}, stat);
    MODCNT.word(kCntShapes) = std::max(MODCNT.word(kCntShapes), n);
    return n;
  }

  // A plane by its normal and offset (n . x = d), in coordinate system SYSTEM.
  static int32_t plane(int32_t n, V3 normal, float d, int32_t system = 0) {
    return shape(n, "PLANE", 11, {{1, d}, {3, normal[0]}, {4, normal[1]}, {5, normal[2]},
                                  {16, static_cast<float>(system)}});
  }
  // A sphere about point P.
  static int32_t sphere(int32_t n, int32_t p, float radius) {
    return shape(n, "BALL", 2, {{3, static_cast<float>(p)}, {4, radius}});
  }
  // A cylinder (CLASS x 100 + 3) or cone (+ 4) from point A to point B.
  static int32_t axial(int32_t n, int32_t type, int32_t a, int32_t b, float ra, float rb = 0) {
    return shape(n, "AXIAL", type, {{1, rb}, {3, static_cast<float>(a)}, {4, static_cast<float>(b)}, {5, ra}});
  }

  static IsxTyp intersect(int32_t c1, int32_t c2) {
    IsxTyp r;
    r.status = -9;
    SRFINT(c1, c2, r);
    return r;
  }

  static void expectNear(const V3& got, const V3& want, const char* what) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 1e-5f) << what << " " << i;
  }
  static V3 param(const IsxTyp& r, int32_t k) { return {r.P(k), r.P(k + 1), r.P(k + 2)}; }

  static inline std::vector<std::string> lines;

 private:
  MachCn savedMachine_;
  ConstantWords<10> savedGeometry_;
  ConstantWords<57> savedModel_;
};

TEST_F(SurfaceIntersection, TwoPlanesMeetInALine) {
  plane(1, {0, 0, 1}, 0);
  plane(2, {1, 0, 0}, 3);
  plane(3, {0, 0, 2}, 4);  // z = 2, the normal of any length
  IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 11);
  EXPECT_EQ(r.form, 1);
  expectNear(param(r, 1), {3, 0, 0}, "base");
  expectNear(param(r, 4), {0, 1, 0}, "direction");

  r = intersect(code(1), code(3));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.x, 0);
}

TEST_F(SurfaceIntersection, PlaneByNormalOfAnyLengthHoldsItsOffset) {
  // n . x = d through the placed point (0.3, -0.2, 0.4), for normals of several lengths;
  // the circle cut from a sphere about the placed (1, 2, 3) lies about the foot of its
  // centre, at the radius the distance leaves.
  const D3 through = {0.3, -0.2, 0.4}, centre = {1, 2, 3};
  const D3 normals[] = {{0, 0, 1}, {1, 1, 1}, {0.2, -0.1, 0.05}, {-3, 4, 12}};
  for (const Placement& place : placementTable()) {
    for (const D3& given : normals) {
      const D3 n = place.direction(given);
      const D3 at = place.point(through), c = place.point(centre);
      const double d = dot3(n, at);
      const D3 unit = unit3(n);
      const double height = dot3(unit, c) - d / norm3(n);
      const D3 foot = sub(c, scaled(unit, height));
      plane(1, {static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2])},
            static_cast<float>(d));
      sphere(2, point(41, place.pointF(centre)), 5);
      const IsxTyp r = intersect(code(1), code(2));
      ASSERT_EQ(r.status, 0) << place.name;
      const V3 o = r.origin();
      for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(o[i], foot[i], 2e-5) << place.name << " " << given[0];
      EXPECT_NEAR(r.P(11), std::sqrt(25.0 - height * height), 2e-5) << place.name << " " << given[0];
    }
  }
}

TEST_F(SurfaceIntersection, PlaneAndSphereGiveTheCircleAboutTheFoot) {
  plane(1, {0, 0, 1}, 0);
  sphere(2, point(41, {1, 2, 3}), 5);
  for (auto [c1, c2] : {std::pair{code(1), code(2)}, {code(2), code(1)}}) {
    const IsxTyp r = intersect(c1, c2);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.x, 12);
    EXPECT_EQ(r.form, 3);
    EXPECT_EQ(r.P(9), 1.0f);
    EXPECT_NEAR(r.P(11), 4.0f, 1e-5f);
    expectNear(r.origin(), {1, 2, 0}, "origin");
  }
  // A sphere the plane misses.
  sphere(3, point(42, {0, 0, 7}), 5);
  EXPECT_EQ(intersect(code(1), code(3)).status, 2);
}

TEST_F(SurfaceIntersection, TwoSpheresSmallerFirst) {
  sphere(1, point(41, {5, 0, 0}), 4);
  sphere(2, point(42, {0, 0, 0}), 3);
  const IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 22);
  EXPECT_EQ(r.form, 3);
  EXPECT_NEAR(r.P(11), 2.4f, 1e-5f);
  expectNear(r.origin(), {1.8f, 0, 0}, "origin");
  // Apart, and one within the other.
  sphere(3, point(43, {10, 0, 0}), 1);
  EXPECT_EQ(intersect(code(1), code(3)).status, 2);
  sphere(4, point(44, {5, 0, 0}), 1);
  EXPECT_EQ(intersect(code(1), code(4)).status, 2);
}

TEST_F(SurfaceIntersection, RefusedShapeNamesItself) {
  plane(1, {0, 0, 1}, 0);
  shape(2, "ROD", 101, {});
  const IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(MSGARG.number(), kShapeUnusable);
  EXPECT_EQ(MSGARG.value(1), a4Word("ROD "));
  EXPECT_EQ(MSGARG.value(2), kBlankCode);
}

TEST_F(SurfaceIntersection, CollinearPlanePointsCannotFrame) {
  plane(1, {0, 0, 1}, 0);
  shape(2, "FLAT", 1, {{3, static_cast<float>(point(41, {0, 0, 0}))},
                       {4, static_cast<float>(point(42, {1, 0, 0}))},
                       {5, static_cast<float>(point(43, {2, 0, 0}))}});
  const IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(MSGARG.number(), kNoCoordSystem);
}

TEST_F(SurfaceIntersection, ShapeBeyondTheStoreIsSilentlyUnusable) {
  plane(1, {0, 0, 1}, 0);
  for (int32_t n : {0, -3, 2, 1000000}) {
    MSGARG = {};
    EXPECT_EQ(intersect(code(1), code(n)).status, 1) << n;
    EXPECT_EQ(intersect(code(n), code(1)).status, 1) << n;
    EXPECT_EQ(MSGARG.number(), 0) << n;
    EXPECT_EQ(MSGARG.errorFlag(), 0) << n;
  }
}

// ---- Cylinders and cones -------------------------------------------------------------

TEST_F(SurfaceIntersection, CylinderAlongAPlaneGivesTwoGenerators) {
  plane(1, {0, 0, 1}, 0);
  axial(2, 3, point(41, {0, 0, 1}), point(42, {5, 0, 1}), 2);
  const IsxTyp r = intersect(code(2), code(1));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 13);
  EXPECT_EQ(r.form, 2);
  const float h = std::sqrt(3.0f);
  expectNear(param(r, 1), {0, -h, 0}, "base 1");
  expectNear(param(r, 7), {0, h, 0}, "base 2");
  expectNear(param(r, 4), {1, 0, 0}, "direction 1");
  expectNear(param(r, 10), {1, 0, 0}, "direction 2");
  // Lifted out of reach of the plane.
  axial(3, 3, point(43, {0, 0, 3}), point(44, {5, 0, 3}), 2);
  EXPECT_EQ(intersect(code(1), code(3)).status, 2);
}

TEST_F(SurfaceIntersection, CylinderAcrossAPlaneGivesACircle) {
  plane(1, {0, 0, 1}, 0);
  axial(2, 3, point(41, {0, 0, -1}), point(42, {0, 0, 1}), 2);
  const IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 13);
  EXPECT_EQ(r.form, 3);
  EXPECT_NEAR(r.P(11), 2.0f, 1e-6f);
  for (float angle = 0; angle < 360; angle += 45) {
    int32_t roots = 0, status = -1;
    std::array<float, 6> l{};
    CONRAD(r.conic(), angle, r.P(11), r.P(12), roots, l, status);
    ASSERT_EQ(status, 0) << angle;
    EXPECT_NEAR(l[2], 0.0f, 1e-6f) << angle;
  }
}

TEST_F(SurfaceIntersection, SphereAboutACylinderGivesTwoCircles) {
  sphere(1, point(41, {0, 0, 0}), 5);
  axial(2, 3, point(42, {0, 0, -1}), point(43, {0, 0, 1}), 3);
  const IsxTyp r = intersect(code(2), code(1));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 23);
  EXPECT_EQ(r.form, 5);
  for (float angle : {0.0f, 100.0f, 250.0f}) {
    int32_t roots = 0, status = -1;
    std::array<float, 6> l{};
    CONRAD(r.conic(), angle, r.P(11), r.P(12), roots, l, status);
    ASSERT_EQ(roots, 2) << angle;
    EXPECT_NEAR(l[2], -4.0f, 1e-5f) << angle;
    EXPECT_NEAR(l[5], 4.0f, 1e-5f) << angle;
  }
}

TEST_F(SurfaceIntersection, ParallelCylindersMeetInTwoLines) {
  // Radii 2 and 2 on the z axis and on the line x = 2: the lines x = 1, y = -+sqrt 3. A
  // cone record with equal radii in place of the second cylinder has slope 0 and gives
  // the same lines.
  axial(1, 3, point(41, {0, 0, 0}), point(42, {0, 0, 1}), 2);
  axial(2, 3, point(43, {2, 0, 0}), point(44, {2, 0, 1}), 2);
  axial(3, 4, 43, 44, 2, 2);
  const float h = std::sqrt(3.0f);
  for (int32_t second : {2, 3}) {
    const IsxTyp r = intersect(code(1), code(second));
    EXPECT_EQ(r.status, 0) << second;
    EXPECT_EQ(r.x, 33) << second;
    EXPECT_EQ(r.form, 2) << second;
    expectNear(param(r, 1), {1, -h, 0}, "base 1");
    expectNear(param(r, 7), {1, h, 0}, "base 2");
    expectNear(param(r, 4), {0, 0, 1}, "direction");
  }
  // Coaxial cylinders never meet; parallel ones too far apart neither.
  axial(4, 3, point(45, {0, 0, 5}), point(46, {0, 0, 9}), 1);
  EXPECT_EQ(intersect(code(1), code(4)).status, 2);
  axial(5, 3, point(47, {5, 0, 0}), point(48, {5, 0, 1}), 2);
  EXPECT_EQ(intersect(code(1), code(5)).status, 2);
}

TEST_F(SurfaceIntersection, CylinderWithAFlatConeDividesByNoSlope) {
  // The cone case proper: the second surface a cone of slope 0 goes on as two cylinders.
  AxialSurface cylinder{{0, 0, 0}, {0, 0, 1}, 2, 0, {}};
  AxialSurface cone{{2, 0, 0}, {0, 0, 1}, 2, 0, {}};
  for (AxialSurface* a : {&cylinder, &cone}) {
    const std::array<float, 3>& b = a->base;
    a->frame = {};
    for (int i = 1; i <= 4; ++i) a->frame(i, i) = 1;
    for (int i = 1; i <= 3; ++i) a->frame(i, 4) = -b[static_cast<size_t>(i - 1)];
  }
  IsxTyp r;
  int32_t found = -1;
  SIXCS2(cylinder, cone, r, found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(r.x, 33);
  EXPECT_EQ(r.form, 2);
  EXPECT_TRUE(std::isfinite(r.P(1)) && std::isfinite(r.P(8)));
  EXPECT_NEAR(r.P(1), 1.0f, 1e-5f);
}

TEST_F(SurfaceIntersection, PlaneInACoordinateSystem) {
  // System 42 on nodes 13 (3, 0, 0), 14 (4, 0, 0) and 16 (3, 1, 0): its third axis is
  // global x, so its plane z = 2 is the global plane x = 5.
  std::array<int32_t, 2> label = {kBlankCode, kBlankCode};
  int32_t key = 42, count = 4, stat = 0;
  ATTFND(-1, label, 8, key, count);
  std::vector<float> values = {1, 13, 14, 16};
  count = 4;
  ATTVAL(-1, 8, 42, 1, count, {}, values, stat);
  plane(1, {0, 0, 1}, 0);
  plane(2, {0, 0, 1}, 2, 42);
  IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 0);
  expectNear(param(r, 1), {5, 0, 0}, "base");
  expectNear(param(r, 4), {0, 1, 0}, "direction");
  // A system without entry cannot frame the plane.
  plane(3, {0, 0, 1}, 2, 43);
  MSGARG = {};
  r = intersect(code(1), code(3));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(MSGARG.number(), kNoCoordSystem);
}

TEST_F(SurfaceIntersection, PointNumbersOutsideTheModelFailTheFrame) {
  plane(1, {0, 0, 1}, 0);
  for (float p : {0.0f, -1.0f, 61.0f, 1.0e9f}) {
    sphere(2, 41, 5);
    shape(2, "BALL", 2, {{3, p}, {4, 5}});
    MSGARG = {};
    const IsxTyp r = intersect(code(1), code(2));
    EXPECT_EQ(r.status, 1) << p;
    EXPECT_EQ(MSGARG.number(), kNoCoordSystem) << p;
  }
}

TEST_F(SurfaceIntersection, FrameFailuresOfSpheresAndCylindersNameTheShape) {
  // A cylinder whose two axis points coincide: no axis frame (2020), and in the
  // sphere-cylinder family the shape is named (2165) as well.
  sphere(1, point(41, {0, 0, 0}), 5);
  axial(2, 3, point(42, {1, 1, 1}), 42, 1);
  IsxTyp r = intersect(code(1), code(2));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(MSGARG.number(), kShapeUnusable);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find("AXIAL"), std::string::npos) << lines.back();
  // With a plane only the frame's own message.
  plane(3, {0, 0, 1}, 0);
  MSGARG = {};
  lines.clear();
  r = intersect(code(3), code(2));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(MSGARG.number(), kNoCoordSystem);
  EXPECT_EQ(lines.size(), 1u);
}

TEST_F(SurfaceIntersection, FacesOfABox) {
  // Box of sub-code 2 at the origin with edges 2, 3 and 4 along the axes.
  shape(1, "BOX", 321, {{3, static_cast<float>(point(41, {0, 0, 0}))}, {10, 2}, {11, 3}, {12, 4}});
  plane(2, {0, 0, 1}, 0);
  struct Case {
    int32_t face;
    float x;
  };
  for (const Case c : {Case{1, 0}, Case{4, 2}}) {
    const IsxTyp r = intersect(code(1, c.face), code(2));
    EXPECT_EQ(r.status, 0) << c.face;
    EXPECT_EQ(r.x, 11) << c.face;
    EXPECT_NEAR(r.P(1), c.x, 1e-5f) << c.face;
    EXPECT_NEAR(r.P(3), 0.0f, 1e-5f) << c.face;
    EXPECT_NEAR(std::fabs(r.P(5)), 1.0f, 1e-6f) << c.face;
  }
  // Face 6 (z = 4) is parallel to the plane; faces 0 and 7 do not exist.
  EXPECT_EQ(intersect(code(1, 6), code(2)).status, 2);
  for (int32_t face : {0, 7}) {
    MSGARG = {};
    EXPECT_EQ(intersect(code(1, face), code(2)).status, 1) << face;
    EXPECT_EQ(MSGARG.number(), kShapeUnusable) << face;
  }
  // The face frame and its quadric: face 5 (y = 3, normal -y) as the plane -y + 3 = 0.
  InvFrame4R f;
  std::array<float, 10> q{};
  int32_t status = -1;
  SRFFRX(code(1, 5), f, q, 2, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(q, (std::array<float, 10>{0, 0, 0, 0, 0, 0, 0, -1, 0, 3}));
}

TEST_F(SurfaceIntersection, BoxInASystemWithoutEntryHasNoFrame) {
  // Sub-code 1: origin and opposite corner, axes of system 43, which has no entry.
  shape(1, "BOX", 311, {{3, static_cast<float>(point(41, {0, 0, 0}))},
                        {4, static_cast<float>(point(42, {1, 2, 3}))},
                        {16, 43}});
  std::array<float, 3> o{};
  RowAxes axes;
  float l1 = -7, l2 = -7, l3 = -7;
  int32_t status = -1;
  std::array<float, 20> record{};
  int32_t stat = 0;
  ARRIO(1, kArrShapes, 1, 20, 1, {}, record, stat);
  SRFFRR(record, o, axes, l1, l2, l3, status);
  EXPECT_EQ(status, 1);
  plane(2, {0, 0, 1}, 0.5f);
  EXPECT_EQ(intersect(code(1, 1), code(2)).status, 1);
  // Without a system (word 16 of 0) the global axes, the corner's coordinates the edges.
  shape(1, "BOX", 311, {{3, 41.0f}, {4, 42.0f}});
  ARRIO(1, kArrShapes, 1, 20, 1, {}, record, stat);
  SRFFRR(record, o, axes, l1, l2, l3, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ((std::array<float, 3>{l1, l2, l3}), (std::array<float, 3>{1, 2, 3}));
  // Its face 3 (z = 0) and the plane z = 0.5 are parallel; face 1 (x = 0) meets it.
  EXPECT_EQ(intersect(code(1, 3), code(2)).status, 2);
  EXPECT_EQ(intersect(code(1, 1), code(2)).status, 0);
}

TEST_F(SurfaceIntersection, CaseRoutinesWriteTheRadiusAtTheirOrigin) {
  // A cone of radius 1 at (0, 0, 1) and slope 1 with a sphere about (0, 0, 3): the local
  // origin is the foot of the centre, where the radius is 3.
  InvFrame4R cone{};
  for (int i = 1; i <= 4; ++i) cone(i, i) = 1;
  cone(3, 4) = -1;
  const std::array<float, 3> centre = {0, 0, 3}, base = {0, 0, 1}, axis = {0, 0, 1};
  float radius = 1;
  IsxTyp r;
  int32_t found = -1;
  SIXCS3(centre, 4, cone, base, axis, radius, 1, cone, r, found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(r.x, 24);
  EXPECT_NEAR(radius, 3.0f, 1e-6f);
  EXPECT_NEAR(r.P(11), 3.0f, 1e-6f);
  expectNear(r.origin(), {0, 0, 3}, "foot");
}

TEST_F(SurfaceIntersection, EndFacesOfASolidCylinder) {
  // A solid cylinder on the z axis whose end faces lie at z = 1 and z = 1 + 2.
  shape(1, "DRUM", 303, {{3, static_cast<float>(point(41, {0, 0, 0}))},
                         {4, static_cast<float>(point(42, {0, 0, 10}))},
                         {5, 1},
                         {16, 1},
                         {20, 2}});
  sphere(2, point(43, {0, 0, 0}), 5);
  IsxTyp r = intersect(code(1, 1), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 12);
  EXPECT_NEAR(r.P(11), std::sqrt(24.0f), 1e-5f);
  expectNear(r.origin(), {0, 0, 1}, "near face");
  r = intersect(code(1, 2), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(r.P(11), 4.0f, 1e-5f);
  expectNear(r.origin(), {0, 0, 3}, "far face");
  EXPECT_NEAR(r.F(3, 3), -1.0f, 1e-6f);  // its normal points back
  // The lateral surface.
  r = intersect(code(1, 3), code(2));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.x, 23);
}

// ---- Curves on both surfaces ---------------------------------------------------------

// A surface as a residual: 0 on it.
struct Residual {
  int32_t kind;  // 1 plane, 2 sphere, 3 cylinder or cone
  V3 a;          // plane normal (unit), sphere centre, axis point
  V3 b;          // axis direction (unit)
  float r;       // plane offset, sphere radius, radius at the axis point
  float k;       // slope

  float at(const V3& p) const {
    const V3 d = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
    const float along = d[0] * b[0] + d[1] * b[1] + d[2] * b[2];
    switch (kind) {
      case 1: return p[0] * a[0] + p[1] * a[1] + p[2] * a[2] - r;
      case 2: return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) - r;
      default: {
        const V3 across = {d[0] - along * b[0], d[1] - along * b[1], d[2] - along * b[2]};
        return std::sqrt(across[0] * across[0] + across[1] * across[1] + across[2] * across[2]) -
               std::fabs(r + k * along);
      }
    }
  }
};

// The points of the result R: along both lines of forms 1 and 2, and on 41 generators of
// its range (the whole turn but for forms 4 and 6) kept off the ends of the range.
std::vector<D3> curvePoints(const IsxTyp& r) {
  std::vector<D3> points;
  if (r.form == 1 || r.form == 2) {
    for (int32_t line = 0; line < r.form; ++line) {
      for (double t : {-3.0, -1.0, 0.0, 0.5, 2.0}) {
        const int32_t k = 1 + 6 * line;
        points.push_back({r.P(k) + t * r.P(k + 3), r.P(k + 1) + t * r.P(k + 4), r.P(k + 2) + t * r.P(k + 5)});
      }
    }
    return points;
  }
  float start = 0, span = 360;
  if (r.form == 4 || r.form == 6) {
    start = r.P(13);
    span = r.P(14) - r.P(13);
    if (span <= 0) span += 360;
  }
  const std::array<float, 3> origin = r.origin();
  for (int i = 0; i <= 40; ++i) {
    const float angle = start + span * (0.02f + 0.96f * static_cast<float>(i) / 40.0f);
    int32_t roots = 0, status = -1;
    std::array<float, 6> l{};
    CONRAD(r.conic(), angle, r.P(11), r.P(12), roots, l, status);
    if (status != 0) continue;
    for (int c = 0; c < (roots == 2 ? 2 : 1); ++c) {
      std::array<float, 3> local = {l[3 * c], l[3 * c + 1], l[3 * c + 2]};
      std::array<float, 3> p{};
      LOCGLB(3, origin, 4, r.frame, local, p, status);
      EXPECT_EQ(status, 0);
      points.push_back({p[0], p[1], p[2]});
    }
  }
  return points;
}

// The points of the curve R lie on both surfaces; answers how many were checked.
int checkCurve(const IsxTyp& r, const Residual& s1, const Residual& s2) {
  int checked = 0;
  for (const D3& q : curvePoints(r)) {
    const V3 p = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
    EXPECT_NEAR(s1.at(p), 0.0f, 2e-4f) << "first surface at " << q[0] << ", " << q[1] << ", " << q[2];
    EXPECT_NEAR(s2.at(p), 0.0f, 2e-4f) << "second surface at " << q[0] << ", " << q[1] << ", " << q[2];
    ++checked;
  }
  return checked;
}

TEST_F(SurfaceIntersection, CurvesLieOnBothSurfaces) {
  const float h = std::sqrt(0.5f);
  struct Case {
    const char* what;
    int32_t x, form;
    Residual s1, s2;
  };
  // Shapes 1 and 2 of each case are rebuilt from these records.
  const Case cases[] = {
      {"plane, tilted cylinder", 13, 3, {1, {0, 0, 1}, {}, 0, 0}, {3, {0, 0, 0}, {h, 0, h}, 1, 0}},
      {"plane along a cone", 14, 4, {1, {1, 0, 0}, {}, 0.5f, 0}, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}},
      {"plane across a cone", 14, 3, {1, {0, 0, 1}, {}, 3, 0}, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}},
      {"sphere beside a cylinder", 23, 6, {2, {1.5f, 0, 0}, {}, 1.5f, 0}, {3, {0, 0, -1}, {0, 0, 1}, 1, 0}},
      {"sphere about a cone", 24, 5, {2, {0, 0, 0}, {}, 3, 0}, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}},
      {"crossing cylinders", 33, 5, {3, {0, 0, 0}, {0, 0, 1}, 1, 0}, {3, {0, 0, 0}, {1, 0, 0}, 2, 0}},
      {"cylinders half met", 33, 6, {3, {0, 0, 0}, {0, 0, 1}, 1, 0}, {3, {0, 0.5f, 0}, {1, 0, 0}, 1, 0}},
      {"cylinder through a cone", 34, 5, {3, {-5, 0, 3}, {1, 0, 0}, 1, 0}, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}},
      {"cylinder into a cone", 34, 6, {3, {-5, 1.5f, 3}, {1, 0, 0}, 1, 0}, {3, {0, 0, 1}, {0, 0, 1}, 0.5f, 0.5f}},
      {"crossing cones", 44, 5, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}, {3, {-4, 0, 2}, {1, 0, 0}, 1, 0.2f}},
      {"cones aside", 44, 6, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}, {3, {-4, 4, 5}, {1, 0, 0}, 1, 0.2f}},
      {"cones about one axis", 44, 5, {3, {0, 0, 1}, {0, 0, 1}, 1, 1}, {3, {0, 0, 5}, {0, 0, 1}, 6, -0.5f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t p = kFirstPoint;
    auto make = [&](int32_t n, const Residual& s) {
      if (s.kind == 1) return plane(n, s.a, s.r);
      if (s.kind == 2) return sphere(n, point(p++, s.a), s.r);
      const int32_t a = point(p++, s.a);
      const int32_t b = point(p++, {s.a[0] + s.b[0], s.a[1] + s.b[1], s.a[2] + s.b[2]});
      return axial(n, s.k == 0 ? 3 : 4, a, b, s.r, s.r + s.k);
    };
    make(1, c.s1);
    make(2, c.s2);
    const IsxTyp r = intersect(code(1), code(2));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.x, c.x);
    EXPECT_EQ(r.form, c.form);
    EXPECT_GT(checkCurve(r, c.s1, c.s2), 10);
  }
}

TEST_F(SurfaceIntersection, SphereBesideACylinderOverItsAngles) {
  // Radius 1.5 about (1.5, 0, 0) and the unit cylinder on the z axis: generators whose
  // sine towards the centre is at least 1/3.
  sphere(1, point(41, {1.5f, 0, 0}), 1.5f);
  axial(2, 3, point(42, {0, 0, -1}), point(43, {0, 0, 1}), 1);
  const IsxTyp r = intersect(code(1), code(2));
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.form, 6);
  const float theta = std::asin(1.0f / 3.0f) / 0.01745329f;
  EXPECT_NEAR(r.P(13), theta, 1e-4f);
  EXPECT_NEAR(r.P(14), 180.0f - theta, 1e-4f);
}

// ---- Cones against brute force ------------------------------------------------------

// A surface in double precision, as the shape records hold it: plane n . x = d (n unit),
// sphere, and the cylinder or the double cone x^2 + y^2 = (r + k z)^2 about an axis.
struct Exact {
  int32_t kind;  // 1 plane, 2 sphere, 3 cylinder or cone
  D3 a;          // plane normal, sphere centre, axis point
  D3 b;          // axis direction (unit)
  double r, k;   // plane offset, sphere radius, radius at the axis point; slope

  // The signed distance from the surface, exact near it; its sign tells the sides apart.
  double gap(const D3& p) const {
    const D3 d = sub(p, a);
    switch (kind) {
      case 1: return dot3(a, p) - r;
      case 2: return norm3(d) - r;
      default: {
        const double along = dot3(d, b);
        const double across = norm3(sub(d, scaled(b, along)));
        return (across - std::fabs(r + k * along)) / std::sqrt(1.0 + k * k);
      }
    }
  }
  // A point of the surface at (u, v): the sphere by polar angles, a cylinder or cone by
  // generator angle u and axial distance v.
  D3 at(double u, double v) const {
    if (kind == 2) {
      return add(a, {r * std::sin(v) * std::cos(u), r * std::sin(v) * std::sin(u), r * std::cos(v)});
    }
    const D3 e1 = unit3(cross3(b, std::fabs(b[0]) < 0.9 ? D3{1, 0, 0} : D3{0, 1, 0}));
    const D3 e2 = cross3(b, e1);
    const double radius = r + k * v;
    return add(add(a, scaled(b, v)), add(scaled(e1, radius * std::cos(u)), scaled(e2, radius * std::sin(u))));
  }
};

// 1 when SURFACE, sampled densely (a sphere whole, a cylinder or cone over |z| <= REACH
// from its axis point), has points clearly on both sides of OTHER; -1 when all of them lie
// clearly on one side; 0 when the sampling cannot tell.
int32_t sampledMeeting(const Exact& surface, const Exact& other, double reach, double margin) {
  bool below = false, above = false, near = false;
  const int32_t nu = 120, nv = surface.kind == 2 ? 60 : 160;
  for (int32_t i = 0; i < nu; ++i) {
    const double u = 2.0 * M_PI * i / nu;
    for (int32_t j = 0; j <= nv; ++j) {
      const double v = surface.kind == 2 ? M_PI * j / nv : -reach + 2.0 * reach * j / nv;
      const double g = other.gap(surface.at(u, v));
      below = below || g < -margin;
      above = above || g > margin;
      near = near || std::fabs(g) <= margin;
    }
  }
  if (below && above) return 1;
  return near ? 0 : -1;
}

// The number of separate generator ranges of the cone SURFACE on which its generator
// line crosses OTHER, by sampling 360 generators over |z| <= REACH.
int32_t generatorRanges(const Exact& surface, const Exact& other, double reach) {
  std::array<bool, 360> crossing{};
  for (int32_t i = 0; i < 360; ++i) {
    const double u = 2.0 * M_PI * i / 360.0;
    double last = other.gap(surface.at(u, -reach));
    for (int32_t j = 1; j <= 4000 && !crossing[static_cast<size_t>(i)]; ++j) {
      const double g = other.gap(surface.at(u, -reach + 2.0 * reach * j / 4000.0));
      crossing[static_cast<size_t>(i)] = (g < 0.0) != (last < 0.0);
      last = g;
    }
  }
  int32_t changes = 0;
  for (size_t i = 0; i < 360; ++i) changes += crossing[i] != crossing[(i + 1) % 360] ? 1 : 0;
  return changes / 2;
}

class ConeMeetings : public SurfaceIntersection {
 protected:
  struct Tally {
    int32_t pairs = 0, met = 0, found = 0, missed = 0, stray = 0, offCurve = 0, empty = 0;
    int32_t twoRanges = 0;  // cones met on two separate generator ranges either way round
    double worst = 0.0;
  };

  static V3 f3(const D3& p) { return {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])}; }
  static D3 d3(const V3& p) { return {p[0], p[1], p[2]}; }

  // Shape N as the record of S; S is rewritten as the record reads back in single precision.
  static void store(int32_t n, Exact& s, int32_t& nextPoint) {
    if (s.kind == 1) {
      const V3 nf = f3(s.a);
      plane(n, nf, static_cast<float>(s.r));
      s.a = unit3(d3(nf));
      s.r = static_cast<float>(s.r) / norm3(d3(nf));
    } else if (s.kind == 2) {
      const V3 c = f3(s.a);
      sphere(n, point(nextPoint++, c), static_cast<float>(s.r));
      s.a = d3(c);
      s.r = static_cast<float>(s.r);
    } else {
      const V3 a = f3(s.a), b = f3(add(s.a, s.b));
      const float ra = static_cast<float>(s.r), rb = static_cast<float>(s.r + s.k);
      const int32_t pa = point(nextPoint++, a);
      const int32_t pb = point(nextPoint++, b);
      axial(n, std::fabs(s.k) > 0.0 ? 4 : 3, pa, pb, ra, rb);
      const D3 axis = sub(d3(b), d3(a));
      s.a = d3(a);
      s.b = unit3(axis);
      s.r = ra;
      s.k = (double{rb} - ra) / norm3(axis);
    }
  }

  // Stores the pair, intersects it and checks it against sampling and its curve against
  // both surfaces; MEETS 1, -1 or 0 as sampledMeeting answers (sampling the first surface,
  // or none for a plane: every plane meets a double cone).
  static void check(Exact s1, Exact s2, double reach, Tally& t, const std::string& what) {
    int32_t p = kFirstPoint;
    store(1, s1, p);
    store(2, s2, p);
    const int32_t meets = s1.kind == 1 ? 1 : sampledMeeting(s1, s2, reach, 0.02);
    const IsxTyp r = intersect(code(1), code(2));
    ++t.pairs;
    if (meets == 1) ++t.met;
    if (r.status != 0) {
      // The result holds one generator range: cones that meet on two separate ranges
      // whichever is walked have no form, and answer none.
      if (meets == 1 && s1.kind == 3 && s2.kind == 3 && std::fabs(s1.k) > 0.0 && std::fabs(s2.k) > 0.0 &&
          generatorRanges(s1, s2, 200.0) >= 2 && generatorRanges(s2, s1, 200.0) >= 2) {
        ++t.twoRanges;
        return;
      }
      if (meets == 1) {
        ++t.missed;
        ADD_FAILURE() << what << ": they meet, status " << r.status << " x " << r.x;
      }
      return;
    }
    ++t.found;
    const std::vector<D3> points = curvePoints(r);
    if (points.empty()) {
      ++t.empty;
      ADD_FAILURE() << what << ": found without a point, form " << r.form;
    }
    if (meets == -1) ++t.stray;
    for (const D3& q : points) {
      // Relative to the model's size, 10, or to the point's own distance far beyond it.
      const double off = std::max(std::fabs(s1.gap(q)), std::fabs(s2.gap(q))) / std::max(10.0, norm3(q));
      t.worst = std::max(t.worst, off);
      if (off > 1.0e-4) {
        ++t.offCurve;
        ADD_FAILURE() << what << ": form " << r.form << " x " << r.x << " point off by " << off << " at " << norm3(q);
        break;
      }
    }
  }
};

TEST_F(ConeMeetings, SpheresOnACone) {
  // The cone of radius 1 at its axis point and slope 0.5 (apex 2 below it) in placed
  // copies, spheres about a grid of centres; then random cones and spheres.
  Tally t;
  for (const Placement& place : placementTable()) {
    for (double x : {0.0, 0.4, 0.8, 1.6, 2.4, 3.2}) {
      for (double z : {-6.0, -3.0, -2.0, -1.0, 0.0, 1.0, 2.0, 4.0}) {
        for (double R : {0.3, 0.8, 1.5, 3.0}) {
          const Exact cone{3, place.point({0, 0, 0}), place.direction({0, 0, 1}), 1.0, 0.5};
          const Exact ball{2, place.point({x, 0, z}), {}, R, 0};
          check(ball, cone, 0, t, place.name + " sphere at " + std::to_string(x) + ", " +
                                      std::to_string(z) + " radius " + std::to_string(R));
        }
      }
    }
  }
  RandomPlacements random(7403);
  for (int32_t k = 0; k < 400; ++k) {
    const Placement place = random.next();
    const Exact cone{3, place.point({0, 0, 0}), place.direction({0, 0, 1}), random.uniform(0.2, 2.0),
                     random.uniform(-1.5, 1.5)};
    const Exact ball{2, place.point({random.uniform(-3, 3), 0, random.uniform(-4, 4)}), {},
                     random.uniform(0.2, 3.0), 0};
    check(ball, cone, 0, t, "random sphere " + std::to_string(k));
  }
  EXPECT_GT(t.met, 500);
  EXPECT_EQ(t.missed, 0);
  EXPECT_EQ(t.stray, 0);
  EXPECT_LT(t.worst, 1.0e-4);
}

TEST_F(ConeMeetings, PlanesAcrossACone) {
  // Every plane meets a double cone: planes tilted 0 to 80 degrees from square to the axis
  // at heights on both sides of the apex (at -2), in placed copies and at random.
  Tally t;
  for (const Placement& place : placementTable()) {
    for (double tilt : {0.0, 20.0, 45.0, 60.0, 80.0}) {
      for (double h : {-5.0, -3.0, -2.5, -1.0, 0.0, 2.0}) {
        const double a = tilt * M_PI / 180.0;
        const D3 n = place.direction({std::sin(a), 0.0, std::cos(a)});
        const Exact flat{1, n, {}, dot3(n, place.point({0, 0, h})), 0};
        const Exact cone{3, place.point({0, 0, 0}), place.direction({0, 0, 1}), 1.0, 0.5};
        check(flat, cone, 0, t, place.name + " tilt " + std::to_string(tilt) + " at " + std::to_string(h));
      }
    }
  }
  EXPECT_EQ(t.missed, 0);
  EXPECT_LT(t.worst, 1.0e-4);
}

TEST_F(ConeMeetings, CylindersAcrossACone) {
  // The cone with its apex at the origin, slope 0.3 or 0.6, and cylinders whose axes cross
  // its axis at 40, 60 and 90 degrees, passing aside of it at several distances; the
  // radii 1.25 and 1.3 of a cylinder 1.1547 from the cone among them.
  Tally t;
  for (const Placement& place : placementTable()) {
    for (double k : {0.3, 0.6}) {
      for (double beta : {40.0, 60.0, 90.0}) {
        for (double y0 : {0.5, 1.5, 3.0}) {
          for (double z0 : {-2.0, 0.0, 2.0}) {
            for (double r1 : {0.4, 1.25, 1.3, 2.5}) {
              const double b = beta * M_PI / 180.0;
              const Exact cone{3, place.point({0, 0, 1}), place.direction({0, 0, 1}), k, k};
              const Exact drum{3, place.point({0, y0, z0}), place.direction({std::sin(b), 0, std::cos(b)}), r1, 0};
              check(drum, cone, 30.0, t,
                    place.name + " k " + std::to_string(k) + " beta " + std::to_string(beta) + " at " +
                        std::to_string(y0) + ", " + std::to_string(z0) + " radius " + std::to_string(r1));
            }
          }
        }
      }
    }
  }
  EXPECT_GT(t.met, 300);
  EXPECT_EQ(t.missed, 0);
  EXPECT_LT(t.worst, 1.0e-4);
}

TEST_F(ConeMeetings, ConesAcrossACone) {
  // Pairs of cones at random, placed at random: whatever is found lies on both, and no
  // pair whose sampled surfaces cross is reported as none.
  Tally t;
  RandomPlacements random(7407);
  for (int32_t k = 0; k < 300; ++k) {
    const Placement place = random.next();
    const Exact first{3, place.point({0, 0, 0}), place.direction({0, 0, 1}), random.uniform(0.2, 2.0),
                      random.uniform(0.1, 1.0)};
    const D3 axis = unit3({random.uniform(-1, 1), random.uniform(-1, 1), random.uniform(-1, 1)});
    const Exact second{3, place.point({random.uniform(-3, 3), random.uniform(-3, 3), random.uniform(-3, 3)}),
                       place.direction(axis), random.uniform(0.2, 2.0), random.uniform(0.1, 1.0)};
    check(first, second, 20.0, t, "random cones " + std::to_string(k));
  }
  EXPECT_EQ(t.missed, 0);
  EXPECT_LT(t.worst, 1.0e-4);
}

}  // namespace
}  // namespace kvr::test
