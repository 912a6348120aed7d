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
#include "modeldb/modcnt.h"
#include "modeldb/reghed.h"
#include "modelquery/coordsys.h"
#include "querymodel.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/machcn.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
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

}  // namespace
}  // namespace kvr::test
