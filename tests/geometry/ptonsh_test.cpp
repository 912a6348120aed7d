// Projection onto shapes: the dispatch by surface type and shape kind, the quadric steps
// against closed forms, and the parametric search on Bezier and B-spline shapes written
// into the store.
#include "geometry/ptonsh.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <string>
#include <vector>

#include "linemodel_fixture.h"
#include "modeldb/shpdef.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;
constexpr int32_t kArrSurfaceRecords = 6;

// The unit square of points 121-124 and lines 121-124; shapes 121 the sphere of radius 2
// about the origin, 122 a shape of kind 150, 123 the Bezier plane of degree (1, 1) on the
// control points 121-124 (0,0,0), (1,0,0), (0,1,0), (1,1,0).
class Shapes : public LineModel {
 protected:
  void SetUp() override {
    LineModel::SetUp();
    unitSquare(121);
    straight(125, 124, 121);
    shape(121, 1, {{6, 1}, {7, 1}, {8, 1}, {15, -4}});
    shape(122, 150, {});
    putPoints(121, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
    shape(123, 201, {{1, shapeInteger(121)}, {3, shapeInteger(1)}, {4, shapeInteger(1)},
                     {18, shapeInteger(1)}, {19, shapeInteger(1)}});
  }

  static void putPoints(int32_t first, const std::vector<V>& points) {
    std::vector<float> r;
    for (const V& p : points) r.insert(r.end(), p.begin(), p.end());
    putReals(kArrGeoControlPoints, first, r);
  }
  // Surface ID of TYPE on LINES with SHAPE (word 1 = 100 x SHAPE).
  static void shapedSurface(int32_t id, int32_t type, std::array<int32_t, 4> lines, int32_t shape) {
    surface(id, type, lines);
    putInts(kArrSurfaceRecords, (id - 1) * kSurfaceWords + 1, {shape * 100});
  }
  static V onShape(int32_t surface, V p, int32_t& status) {
    V moved = {kSentinel, kSentinel, kSentinel};
    status = -1;
    PTONSH(surface, p, moved, status);
    return moved;
  }
  struct Parametric {
    V moved = {kSentinel, kSentinel, kSentinel};
    float u = kSentinel, v = kSentinel;
    int32_t status = -1;
  };
  static Parametric onParametric(int32_t shape, V p) {
    Parametric r;
    PRJPAR(shape, p, r.u, r.v, r.moved, r.status);
    return r;
  }
  static void expectNear(const V& got, const V& want, float within, const std::string& what) {
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], within) << what << " coordinate " << k;
  }
};

TEST_F(Shapes, SurfacesThatCannotBeProjected) {
  for (int32_t type : {3, 4, 5, 6, 7, 8}) surface(120 + type, type, {121, 122, 123, 124});
  surface(129, 9, {121, 122, 123, 124});
  shapedSurface(130, 9, {121, 122, 123, 124}, 121);
  shapedSurface(131, 1, {121, 122, 123, 124}, 122);    // kind 150
  shapedSurface(132, 6, {121, 122, 123, 124}, 122);
  shapedSurface(133, 1, {121, 122, 123, 124}, 100000);  // a shape the store does not hold
  const V p = {3, 0, 0};
  for (int32_t s : {123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 139, 0, -1}) {
    int32_t status = -1;
    EXPECT_EQ(onShape(s, p, status), p) << s;
    EXPECT_EQ(status, 1) << s;
  }
}

TEST_F(Shapes, DispatchByTypeAndShape) {
  surface(121, 1, {121, 122, 123, 124});
  surface(122, 2, {125, 121, 0, 0});  // not closed: its patch fails
  straight(126, 122, 124);
  surface(123, 2, {125, 121, 126, 0});
  shapedSurface(124, 3, {121, 122, 123, 124}, 121);  // the patch, not the sphere
  shapedSurface(125, 1, {121, 122, 123, 124}, 121);  // the sphere
  shapedSurface(126, 7, {0, 0, 0, 0}, 121);          // the sphere
  shapedSurface(127, 5, {0, 0, 0, 0}, 123);          // the Bezier plane
  shapedSurface(128, 4, {125, 121, 126, 0}, 123);    // the triangle
  struct Case {
    int32_t surface;
    V point;
    V want;
    int32_t status;
  } cases[] = {
      {121, {0.3f, 0.7f, 2.0f}, {0.3f, 0.7f, 0.0f}, 0},
      {122, {0.3f, 0.6f, 2.0f}, {0.3f, 0.6f, 2.0f}, 1},
      {123, {0.3f, 0.6f, 0.0f}, {0.3f, 0.6f, 0.0f}, 0},
      {124, {0.3f, 0.7f, 2.0f}, {0.3f, 0.7f, 0.0f}, 0},
      {125, {3.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, 0},
      {126, {0.0f, 0.0f, -3.0f}, {0.0f, 0.0f, -2.0f}, 0},
      {127, {0.25f, 0.75f, 3.0f}, {0.25f, 0.75f, 0.0f}, 0},
      {128, {0.2f, 0.3f, 1.0f}, {0.2f, 0.3f, 0.0f}, 0},
  };
  for (const Case& c : cases) {
    int32_t status = -1;
    const V moved = onShape(c.surface, c.point, status);
    EXPECT_EQ(status, c.status) << c.surface;
    expectNear(moved, c.want, 1.0e-3f, "surface " + std::to_string(c.surface));
  }
  // The same array in and out.
  V p = {3.0f, 0.0f, 0.0f};
  int32_t status = -1;
  PTONSH(125, p, p, status);
  EXPECT_EQ(status, 0);
  expectNear(p, {2.0f, 0.0f, 0.0f}, 1.0e-5f, "in place");
}

TEST_F(Shapes, QuadricSteps) {
  using Coefficients = std::array<float, kQuadricCoefficients>;
  const Coefficients sphere = {1, 1, 1, 0, 0, 0, 0, 0, 0, -4};
  const Coefficients plane = {0, 0, 0, 0, 0, 0, 0, 0, 1, -1};
  const Coefficients empty = {1, 1, 1, 0, 0, 0, 0, 0, 0, 1};      // x^2 + y^2 + z^2 + 1
  struct Case {
    const Coefficients* q;
    V from;
    V to;
  } cases[] = {
      {&sphere, {3, 0, 0}, {2, 0, 0}},
      {&sphere, {0, 0.5f, 0}, {0, 2, 0}},
      {&sphere, {2, 0, 0}, {2, 0, 0}},             // on it: a step below the tolerance
      {&plane, {0.3f, 0.4f, 5}, {0.3f, 0.4f, 1}},  // the linear step (a = 0)
      {&empty, {1, 0, 0}, {1, 0, 0}},              // no real root: the smaller step, 0
  };
  for (const Case& c : cases) {
    V p = c.from;
    PRJQUA(0, p, *c.q, 10.0f);
    expectNear(p, c.to, 1.0e-5f, "quadric from " + std::to_string(c.from[0]));
  }
  // The saddle z = x^2 - y^2 curves away along the gradient at (0, 1, -0.9) (a = -4): the
  // linear step s = -F / b = 0.1 / 5, after which the next step (3.4e-4 along a gradient of
  // length 2.2) would be shorter than the model tolerance 0.001.
  const Coefficients saddle = {1, -1, 0, 0, 0, 0, 0, 0, -1, 0};
  V p = {0.0f, 1.0f, -0.9f};
  PRJQUA(0, p, saddle, 10.0f);
  expectNear(p, {0.0f, 0.96f, -0.92f}, 1.0e-5f, "saddle");
}

TEST_F(Shapes, QuadricWarnsOnlyForANode) {
  const std::array<float, kQuadricCoefficients> empty = {1, 1, 1, 0, 0, 0, 0, 0, 0, 1};
  const std::array<float, kQuadricCoefficients> sphere = {1, 1, 1, 0, 0, 0, 0, 0, 0, -4};
  V p = {1, 0, 0};
  MSGARG.number() = -1;
  PRJQUA(0, p, empty, 10.0f);
  EXPECT_EQ(MSGARG.number(), -1);
  PRJQUA(7, p, empty, 10.0f);
  EXPECT_EQ(p, (V{1, 0, 0}));
  EXPECT_EQ(MSGARG.number(), 1036);
  EXPECT_EQ(MSGARG.type(1), MsgArg::kReal);
  EXPECT_EQ(std::bit_cast<float>(MSGARG.value(1)), 7.0f);
  // A node on the quadric is left as it is; one that reaches it posts nothing.
  MSGARG.number() = -1;
  p = {2.0f, 0.0f, 0.0f};
  PRJQUA(7, p, sphere, 10.0f);
  p = {3.0f, 0.0f, 0.0f};
  PRJQUA(7, p, sphere, 10.0f);
  EXPECT_NEAR(p[0], 2.0f, 1.0e-5f);
  EXPECT_EQ(MSGARG.number(), -1);
}

TEST_F(Shapes, BezierShape) {
  Parametric r = onParametric(123, {0.25f, 0.75f, 3.0f});
  EXPECT_EQ(r.status, 0);
  expectNear(r.moved, {0.25f, 0.75f, 0.0f}, 1.0e-5f, "inside");
  EXPECT_NEAR(r.u, 0.25f, 1.0e-5f);
  EXPECT_NEAR(r.v, 0.75f, 1.0e-5f);
  // The shape record is left in the geometry buffer.
  EXPECT_EQ(ENTBUF.shape[1], 201.001f);

  // Beyond the range: clamped to u = 1.
  r = onParametric(123, {1.5f, 0.5f, 0.0f});
  EXPECT_EQ(r.status, 0);
  expectNear(r.moved, {1.0f, 0.5f, 0.0f}, 1.0e-5f, "clamped");
  EXPECT_EQ(r.u, 1.0f);
  EXPECT_NEAR(r.v, 0.5f, 1.0e-5f);
}

TEST_F(Shapes, SplineShapes) {
  // A rational shape on the filled knots (0, 0, 2, 2) and (0, 0, 1, 1), unit weights: the
  // plane x = u, y = v over u 0..2.
  putPoints(125, {{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {2, 1, 0}});
  putReals(kArrGeoValues, 121, {1, 1, 1, 1});
  shape(124, 202, {{1, shapeInteger(125)}, {3, shapeInteger(1)}, {4, shapeInteger(1)},
                   {6, 0}, {7, 2}, {8, 0}, {9, 1}, {16, shapeInteger(121)},
                   {18, shapeInteger(1)}, {19, shapeInteger(1)}});
  // Three points along u at u = 0, 0.5, 1 on the stored knots (0, 0, 0.5, 1, 1): x = 2u.
  putPoints(129, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}});
  putReals(kArrGeoValues, 125, {0, 0, 0.5f, 1, 1, 0, 0, 1, 1});
  shape(125, 203, {{1, shapeInteger(129)}, {3, shapeInteger(1)}, {4, shapeInteger(2)},
                   {5, shapeInteger(125)}, {6, 0}, {7, 1}, {8, 0}, {9, 1},
                   {18, shapeInteger(1)}, {19, shapeInteger(1)}, {20, shapeInteger(130)}});
  struct Case {
    int32_t shape;
    V point;
    V want;
    float u, v;
  } cases[] = {
      {124, {1.5f, 0.25f, 1.0f}, {1.5f, 0.25f, 0.0f}, 1.5f, 0.25f},
      {125, {1.2f, 0.5f, 2.0f}, {1.2f, 0.5f, 0.0f}, 0.6f, 0.5f},
      {125, {0.3f, -1.0f, 0.0f}, {0.3f, 0.0f, 0.0f}, 0.15f, 0.0f},
  };
  for (const Case& c : cases) {
    const Parametric r = onParametric(c.shape, c.point);
    EXPECT_EQ(r.status, 0) << c.shape;
    expectNear(r.moved, c.want, 1.0e-5f, "shape " + std::to_string(c.shape));
    EXPECT_NEAR(r.u, c.u, 1.0e-5f) << c.shape;
    EXPECT_NEAR(r.v, c.v, 1.0e-5f) << c.shape;
  }
}

TEST_F(Shapes, ParametricShapesThatFail) {
  putPoints(135, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
  const float one = shapeInteger(1);
  const float none = shapeInteger(0);
  shape(126, 201, {{1, shapeInteger(121)}, {3, one}, {4, none}, {18, one}, {19, one}});
  shape(127, 201, {{1, shapeInteger(121)}, {3, one}, {4, one}, {18, one}, {19, none}});
  shape(128, 201, {{1, none}, {3, one}, {4, one}, {18, one}, {19, one}});
  shape(129, 201, {{1, shapeInteger(100000)}, {3, one}, {4, one}, {18, one}, {19, one}});
  shape(130, 201, {{1, shapeInteger(135)}, {3, one}, {4, one}, {18, one}, {19, one}});
  shape(131, 201, {{1, shapeInteger(121)}, {3, shapeInteger(8)}, {4, one}, {18, one}, {19, one}});
  // Knots beyond the store, a B-spline degree above its points.
  shape(132, 202, {{1, shapeInteger(121)}, {3, one}, {4, one}, {5, shapeInteger(100000)},
                   {18, one}, {19, one}});
  shape(133, 202, {{1, shapeInteger(121)}, {3, shapeInteger(2)}, {4, one}, {16, one},
                   {18, one}, {19, one}});
  for (int32_t s : {126, 127, 128, 129, 130, 131, 132, 133, 100000, 0}) {
    const Parametric r = onParametric(s, {0.25f, 0.75f, 3.0f});
    EXPECT_EQ(r.status, 1) << s;
    EXPECT_EQ(r.moved, (V{kSentinel, kSentinel, kSentinel})) << s;
  }
}

}  // namespace
}  // namespace kvr::test
