// Line evaluation at a relative position on lines of every type written into the model
// store: the end snap, arcs and ellipses against their closed forms, graded divisions over
// stored points, definition lines (straight, intersection curves, splines at equal arc
// length) and what LINEVL writes back into its caller's variables.
#include "geometry/linevl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/linegeo.h"
#include "linemodel_fixture.h"
#include "placement.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;
const float kHalf = std::sqrt(0.5f);

class LineEvaluation : public LineModel {
 protected:
  struct Answer {
    bool written = false;
    V point = {kSentinel, kSentinel, kSentinel};
    float t = 0.0f;
    int32_t code = 0;
  };
  static Answer evaluate(int32_t line, int32_t start, int32_t end, float t, int32_t n = 1,
                         int32_t code = 0) {
    Answer a;
    a.t = t;
    a.code = code;
    a.written = LINEVL(start, end, a.t, line, a.point, n, a.code);
    return a;
  }
  static void expectNear(const V& got, const V& want, const std::string& what,
                         float within = 1.0e-5f) {
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(got[k], want[k], within * 10.0f) << what << " coordinate " << k + 1;
    }
  }
  static float length(const V& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
};

TEST_F(LineEvaluation, EndsSnapExactly) {
  point(81, {1.1f, 2.3f, 3.7f});
  point(82, {4.9f, 6.1f, 3.3f});
  straight(81, 81, 82);
  // 1/15000 is about 0.0000667: within it an end point is answered bit for bit.
  struct Case {
    float t;
    V point;
  } cases[] = {{0.00005f, {1.1f, 2.3f, 3.7f}}, {0.99995f, {4.9f, 6.1f, 3.3f}},
               {-0.99995f, {4.9f, 6.1f, 3.3f}}, {0.0f, {1.1f, 2.3f, 3.7f}}};
  for (const Case& c : cases) {
    const Answer a = evaluate(81, 81, 82, c.t);
    EXPECT_TRUE(a.written) << c.t;
    EXPECT_EQ(a.point, c.point) << c.t;
  }
  // A straight line, a line of a type not listed, and a line that does not exist: straight.
  line(82, {{2, 81}, {3, 82}, {7, 9900}});
  for (int32_t l : {81, 82, 0, 99}) {
    const Answer a = evaluate(l, 81, 82, 0.25f);
    EXPECT_TRUE(a.written) << l;
    expectNear(a.point, {1.1f + 0.25f * 3.8f, 2.3f + 0.25f * 3.8f, 3.7f - 0.25f * 0.4f}, "t 0.25");
  }
}

TEST_F(LineEvaluation, CircularArcs) {
  point(81, {1, 0, 0});
  point(82, {0, 1, 0});
  point(83, {0, 0, 0});
  point(84, {0, 2, 0});
  point(85, {5, 5, 5});
  arc(81, 81, 82, 83);
  arc(82, 81, 84, 83);  // radius 1 to radius 2
  arc(83, 83, 82, 83);  // starts at its centre: taken as straight
  arc(84, 81, 82, 999);  // a centre the store does not hold: straight
  Answer a = evaluate(81, 81, 82, 0.5f);
  EXPECT_TRUE(a.written);
  expectNear(a.point, {kHalf, kHalf, 0}, "quarter circle");
  a = evaluate(81, 81, 82, 1.0f / 3.0f);
  expectNear(a.point, {std::cos(0.5235988f), std::sin(0.5235988f), 0}, "30 degrees");
  a = evaluate(82, 81, 84, 0.5f);
  EXPECT_NEAR(length(a.point), 1.5f, 1.0e-5f);
  EXPECT_NEAR(a.point[0], a.point[1], 1.0e-5f);
  a = evaluate(83, 83, 82, 0.25f);
  expectNear(a.point, {0, 0.25f, 0}, "degenerate");
  a = evaluate(84, 81, 82, 0.5f);
  expectNear(a.point, {0.5f, 0.5f, 0}, "no centre");
}

TEST_F(LineEvaluation, EllipticArcsStayOnTheirEllipse) {
  point(81, {2, 0, 0});
  point(82, {0, 1, 0});
  point(83, {0, 0, 0});
  point(84, {3, 0, 0});  // the further point, on the x axis
  line(81, {{2, 81}, {3, 82}, {5, 84}, {6, 83}, {7, 200}});
  float previous = 2.0f;
  for (float t : {0.1f, 0.25f, 0.5f, 0.75f, 0.9f}) {
    const Answer a = evaluate(81, 81, 82, t);
    EXPECT_TRUE(a.written) << t;
    EXPECT_NEAR(a.point[0] * a.point[0] / 4.0f + a.point[1] * a.point[1], 1.0f, 1.0e-4f) << t;
    EXPECT_EQ(a.point[2], 0.0f) << t;
    EXPECT_LT(a.point[0], previous) << t;
    previous = a.point[0];
  }
  // Half the arc length: the quarter of the ellipse is 2.4221 long, and its first half
  // ends where the arc length from (2, 0) reaches 1.2110.
  const Answer half = evaluate(81, 81, 82, 0.5f);
  const float theta = std::atan2(half.point[1], half.point[0] / 2.0f);
  float arc = 0.0f;
  ELLLEN(2.0f, 1.0f, 10000, 0.0f, theta, arc);
  EXPECT_NEAR(arc, 1.2110f, 2.0e-3f);

  // Ends that fix no ellipse (both on the first axis): the straight form.
  point(85, {-2, 0, 0});
  line(82, {{2, 81}, {3, 85}, {5, 84}, {6, 83}, {7, 200}});
  expectNear(evaluate(82, 81, 85, 0.25f).point, {1, 0, 0}, "no ellipse");
}

// The arc length of the ellipse (a cos t, b sin t) from t0 to t1, by Simpson's rule on
// 2000 steps in double precision.
double ellipseLength(double a, double b, double t0, double t1) {
  constexpr int kSteps = 2000;
  auto speed = [&](double t) { return std::hypot(a * std::sin(t), b * std::cos(t)); };
  const double h = (t1 - t0) / kSteps;
  double sum = speed(t0) + speed(t1);
  for (int i = 1; i < kSteps; ++i) sum += (i % 2 == 1 ? 4.0 : 2.0) * speed(t0 + i * h);
  return sum * h / 3.0;
}

TEST_F(LineEvaluation, EllipticArcsAcrossTheNegativeFirstAxis) {
  // The ellipse of semi-axes 2 and 1, arcs given by the eccentric angles of their ends in
  // degrees, in placed copies: the point at t lies where the arc length from the start
  // reaches t times the whole, and LINLEN gives the whole.
  constexpr double kDeg = M_PI / 180.0;
  const double a = 2.0, b = 1.0;
  // Arcs that cross the negative first axis are held to 1e-4; the single-precision sums of
  // up to 100,000 steps along the others leave up to about 1.3e-4 on an arc 2.4 long.
  struct Arc {
    double from, to, within;
  } arcs[] = {{150, 240, 1.0e-4}, {100, 200, 1.0e-4}, {170, 200, 1.0e-4},
              {200, 300, 1.5e-4}, {-60, 30, 1.5e-4},  {20, 110, 1.5e-4}};
  for (const Placement& place : placementTable()) {
    for (const Arc& arc : arcs) {
      auto onEllipse = [&](double t) { return D3{a * std::cos(t), b * std::sin(t), 0.0}; };
      const double t0 = arc.from * kDeg, t1 = arc.to * kDeg;
      point(81, place.pointF(onEllipse(t0)));
      point(82, place.pointF(onEllipse(t1)));
      point(83, place.pointF({0, 0, 0}));
      point(84, place.pointF({2.5, 0, 0}));
      line(81, {{2, 81}, {3, 82}, {5, 84}, {6, 83}, {7, 200}});
      const std::string what = place.name + " " + std::to_string(arc.from) + ".." + std::to_string(arc.to);
      const double whole = ellipseLength(a, b, t0, t1);
      float measured = 0.0f;
      int32_t status = -1;
      GEODSP.lineLength(81, measured, status);
      EXPECT_EQ(status, 0) << what;
      EXPECT_NEAR(measured, whole, 1.0e-4) << what;
      for (double t : {0.25, 0.5, 0.75}) {
        double lo = t0, hi = t1;
        for (int i = 0; i < 45; ++i) {
          const double mid = 0.5 * (lo + hi);
          (ellipseLength(a, b, t0, mid) < t * whole ? lo : hi) = mid;
        }
        const D3 want = place.point(onEllipse(0.5 * (lo + hi)));
        const Answer got = evaluate(81, 81, 82, static_cast<float>(t));
        EXPECT_TRUE(got.written) << what;
        const D3 off = sub(D3{got.point[0], got.point[1], got.point[2]}, want);
        EXPECT_LT(norm3(off), arc.within) << what << " at " << t;
      }
    }
  }
}

TEST_F(LineEvaluation, CompositeAndUnusableDefinitionsWriteNothing) {
  point(81, {0, 0, 0});
  point(82, {1, 0, 0});
  straight(81, 81, 82);
  straight(82, 82, 81);
  composite(83, {81, 82}, 81, 81);
  geoRecord(81, {{2, 101.001f}, {6, 1}, {15, 1.001f}});  // straight, word 15 positive
  geoRecord(82, {{2, 102.001f}});                         // type 2
  geoRecord(83, {{2, 104.001f}});                         // type 4
  geoRecord(84, {{2, 201.001f}, {6, 1}});                 // class 2
  geoRecord(85, {{2, 105.001f}, {3, 9}, {4, 3}, {5, 1}}); // spline of degree 9 on 4 points
  const int32_t zero = bits(0.0f), one = bits(1.0f);
  for (int32_t g = 81; g <= 85; ++g) line(83 + g - 80, {{2, 81}, {3, 82}, {5, zero}, {6, one}, {7, 600}, {15, g}, {16, 1}});
  line(89, {{2, 81}, {3, 82}, {5, zero}, {6, one}, {7, 600}, {15, 5000}, {16, 1}});  // no record
  for (int32_t l : {83, 84, 85, 86, 87, 88, 89}) {
    const Answer a = evaluate(l, 81, 82, 0.5f);
    EXPECT_FALSE(a.written) << l;
    EXPECT_EQ(a.point, (V{kSentinel, kSentinel, kSentinel})) << l;
  }
  // A point the store does not hold.
  EXPECT_FALSE(evaluate(81, 81, 5000, 0.5f).written);
  EXPECT_FALSE(evaluate(81, 5000, 82, 0.00001f).written);
}

TEST_F(LineEvaluation, GradedDivisions) {
  struct Case {
    int32_t n, code;
    float s, graded;
  } cases[] = {
      {2, 3, 0.5f, 0.25f},      // divisions 1:3
      {2, -3, 0.5f, 0.75f},     // divisions 3:1
      {3, 2, 1.0f / 3, 1.0f / (1 + std::sqrt(2.0f) + 2)},
      {2, 13, 0.5f, 0.25f},     // the units digit counts
      {4, 1, 0.3f, 0.3f},       // equal divisions
      {4, -1, 0.3f, 0.3f},
      {1, 5, 0.3f, 0.3f},       // one division
      {0, 5, 0.3f, 0.3f},       // none
      {-2, 5, 0.3f, 0.3f},
  };
  for (const Case& c : cases) {
    float s = c.s;
    GRDPOS(c.n, c.code, s);
    EXPECT_NEAR(s, c.graded, 1.0e-6f) << c.n << " " << c.code;
  }
  int32_t i = -1;
  float f = -1.0f;
  GRDINV(2, 3, 0.25f, i, f);
  EXPECT_EQ(i, 1);
  EXPECT_NEAR(f, 0.0f, 1.0e-6f);
  GRDINV(3, 0, 0.5f, i, f);
  EXPECT_EQ(i, 1);
  EXPECT_NEAR(f, 0.5f, 1.0e-6f);
  GRDINV(3, 0, 1.0f, i, f);  // the end lies in the last division
  EXPECT_EQ(i, 2);
  EXPECT_NEAR(f, 1.0f, 1.0e-6f);
  // GRDINV undoes GRDPOS: node k of a graded line lies at the start of division k.
  for (int32_t code : {4, -4, 7}) {
    for (int32_t k = 0; k < 5; ++k) {
      float s = static_cast<float>(k) / 5.0f;
      GRDPOS(5, code, s);
      GRDINV(5, code, s, i, f);
      EXPECT_NEAR(static_cast<float>(i) + f, static_cast<float>(k), 1.0e-4f) << code << " " << k;
    }
  }
  // A position before the start.
  GRDINV(3, 4, -2.0f, i, f);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(f, 0.0f);
}

TEST_F(LineEvaluation, PolylinesThroughStoredPoints) {
  point(81, {0, 0, 0});
  point(82, {3, 0, 0});
  putReals(kArrNodeCoordinates, 81, {1, 1, 0, 2, 1, 0});  // nodes 81 and 82
  line(81, {{2, 81}, {3, 82}, {5, 81}, {6, 82}, {7, 400}});
  Answer a = evaluate(81, 81, 82, 0.5f, 3);
  EXPECT_TRUE(a.written);
  expectNear(a.point, {1.5f, 1, 0}, "halfway between the stored points");
  EXPECT_EQ(a.t, 0.5f);
  EXPECT_EQ(a.code, 0);
  expectNear(evaluate(81, 81, 82, 1.0f / 6.0f, 3).point, {0.5f, 0.5f, 0}, "first division");

  // From the last end: t and the code are turned round in the caller's variables.
  a = evaluate(81, 82, 81, 0.25f, 3, 3);
  EXPECT_EQ(a.t, 0.75f);
  EXPECT_EQ(a.code, -3);
  // Graded 3:1 from the first end, the first node of the reversed grading is stored point 2.
  float s = 1.0f / 3.0f;
  GRDPOS(3, 3, s);
  a = evaluate(81, 82, 81, s, 3, 3);
  expectNear(a.point, {2, 1, 0}, "graded, reversed");

  // Stored points the line does not have (one stored point for three divisions), or the
  // store does not hold: the straight form.
  line(82, {{2, 81}, {3, 82}, {5, 81}, {6, 81}, {7, 400}});
  line(83, {{2, 81}, {3, 82}, {5, 99999}, {6, 100000}, {7, 400}});
  for (int32_t l : {82, 83}) {
    a = evaluate(l, 81, 82, 0.5f, 3);
    EXPECT_TRUE(a.written) << l;
    expectNear(a.point, {1.5f, 0, 0}, "straight");
  }
  // No divisions at all: straight.
  expectNear(evaluate(81, 81, 82, 0.5f, 0).point, {1.5f, 0, 0}, "n 0");
}

TEST_F(LineEvaluation, LinesWithStoredIntermediatePoints) {
  point(81, {0, 0, 0});
  point(82, {3, 0, 0});
  // Header record 81 of array 25 (its second value: two stored points + 1), then the points.
  putReals(kArrGeoLinePoints, 81, {0, 3, 0, 1, 0, 2, 2, 0, 2});
  line(81, {{2, 81}, {3, 82}, {7, 300}, {15, 81}});
  line(82, {{2, 81}, {3, 82}, {7, 500}, {15, 81}});
  line(83, {{2, 81}, {3, 82}, {7, 300}});  // word 15 of 0: straight
  for (int32_t l : {81, 82}) {
    const Answer a = evaluate(l, 81, 82, 0.5f, 3);
    EXPECT_TRUE(a.written) << l;
    expectNear(a.point, {1.5f, 0, 2}, "halfway");
  }
  expectNear(evaluate(83, 81, 82, 0.5f, 3).point, {1.5f, 0, 0}, "word 15 of 0");
  // Four divisions want three stored points: straight.
  expectNear(evaluate(81, 81, 82, 0.5f, 4).point, {1.5f, 0, 0}, "too few stored points");
}

TEST_F(LineEvaluation, StraightDefinitionLines) {
  point(81, {9, 9, 9});
  point(82, {8, 8, 8});
  geoRecord(81, {{2, 101.001f}, {3, 1}, {4, 2}, {5, 3}, {6, 10}, {7, 0}, {8, -4}});
  line(81, {{2, 81}, {3, 82}, {5, bits(0.2f)}, {6, bits(0.6f)}, {7, 600}, {15, 81}, {16, 1}});
  Answer a = evaluate(81, 81, 82, 0.5f);
  EXPECT_TRUE(a.written);
  expectNear(a.point, {1 + 4.0f, 2, 3 - 1.6f}, "T 0.4");
  // From the last end t is turned round.
  a = evaluate(81, 82, 81, 0.25f);
  EXPECT_EQ(a.t, 0.75f);
  expectNear(a.point, {1 + 5.0f, 2, 3 - 2.0f}, "T 0.5");
}

class IntersectionCurveLines : public LineEvaluation {
 protected:
  void SetUp() override {
    LineEvaluation::SetUp();
    // The circle of radius 3 in z = 0 cut from a sphere of radius 5 about (1, 2, 4).
    point(90, {1, 2, 4});
    shape(91, 11, {{1, 0}, {3, 0}, {4, 0}, {5, 1}});
    shape(92, 2, {{3, 90}, {4, 5}});
    point(81, {10, 10, 10});
    point(82, {20, 10, 10});
  }
  // The definition record 93 of the curve, its word 18 WORD18.
  static void curve(float word18) {
    geoRecord(93, {{2, 103.001f}, {18, word18}, {19, 9100.001f}, {20, 9200.001f}});
  }
  static V at(float T) {
    V p{};
    int32_t status = -1;
    LINDEF(T, 1, 93, p, status);
    EXPECT_EQ(status, 0);
    return p;
  }
};

TEST_F(IntersectionCurveLines, ClosedCurvesWrap) {
  curve(0.0f);
  struct Case {
    const char* what;
    int32_t branch;
    float ls, le, t, T;
  } cases[] = {
      {"forward", 1, 0.25f, 0.75f, 0.5f, 0.5f},
      {"forward over 1", 1, 0.75f, 0.25f, 0.75f, 0.125f},
      {"backward", -1, 0.75f, 0.25f, 0.5f, 0.5f},
      {"backward under 0", -1, 0.25f, 0.75f, 0.75f, 0.875f},
  };
  for (const Case& c : cases) {
    line(83, {{2, 81}, {3, 82}, {5, bits(c.ls)}, {6, bits(c.le)}, {7, 600}, {15, 93}, {16, c.branch}});
    const Answer a = evaluate(83, 81, 82, c.t);
    EXPECT_TRUE(a.written) << c.what;
    expectNear(a.point, at(c.T), c.what);
  }
  // The wrapped parameter, not the plain one.
  line(83, {{2, 81}, {3, 82}, {5, bits(0.75f)}, {6, bits(0.25f)}, {7, 600}, {15, 93}, {16, 1}});
  const V p = evaluate(83, 81, 82, 0.75f).point;
  const V plain = at(0.375f);
  EXPECT_GT(std::fabs(p[0] - plain[0]) + std::fabs(p[1] - plain[1]), 1.0f);
}

TEST_F(IntersectionCurveLines, OpenCurvesAgainstTheirDirectionAreStraight) {
  for (float word18 : {100.0f, 200.0f, 1100.0f}) {
    curve(word18);
    line(83, {{2, 81}, {3, 82}, {5, bits(0.75f)}, {6, bits(0.25f)}, {7, 600}, {15, 93}, {16, 1}});
    Answer a = evaluate(83, 81, 82, 0.25f);
    EXPECT_TRUE(a.written) << word18;
    expectNear(a.point, {12.5f, 10, 10}, "open");
    // Along their direction they are evaluated.
    line(83, {{2, 81}, {3, 82}, {5, bits(0.25f)}, {6, bits(0.75f)}, {7, 600}, {15, 93}, {16, 1}});
    expectNear(evaluate(83, 81, 82, 0.5f).point, at(0.5f), "open, forward");
  }
  // A hundreds digit of 3 is closed.
  curve(300.0f);
  line(83, {{2, 81}, {3, 82}, {5, bits(0.75f)}, {6, bits(0.25f)}, {7, 600}, {15, 93}, {16, 1}});
  expectNear(evaluate(83, 81, 82, 0.75f).point, at(0.125f), "closed");
  // A curve the surfaces do not give: straight.
  geoRecord(93, {{2, 103.001f}, {19, 9100.001f}, {20, 9100.001f}});
  expectNear(evaluate(83, 81, 82, 0.25f).point, {12.5f, 10, 10}, "no curve");
}

TEST_F(IntersectionCurveLines, EvaluatedFromEitherEnd) {
  // From its last end the line is the same line run the other way: the position at t from
  // the call's start is the one at 1 - t from its first end, on the curve and on the
  // straight form alike (an open curve against its direction, and a curve the surfaces do
  // not give).
  const D3 first = {10, 10, 10}, last = {20, 10, 10};
  struct Case {
    const char* what;
    float word18, ls, le;
    bool curve;
  } cases[] = {
      {"closed curve", 0.0f, 0.25f, 0.75f, true},
      {"open, against its direction", 100.0f, 0.75f, 0.25f, false},
      {"no curve", -1.0f, 0.25f, 0.75f, false},
  };
  for (const Placement& place : placementTable()) {
    const V s = place.pointF(first), e = place.pointF(last);
    point(81, s);
    point(82, e);
    for (const Case& c : cases) {
      if (c.word18 < 0.0f) {
        geoRecord(93, {{2, 103.001f}, {19, 9100.001f}, {20, 9100.001f}});
      } else {
        curve(c.word18);
      }
      line(83, {{2, 81}, {3, 82}, {5, bits(c.ls)}, {6, bits(c.le)}, {7, 600}, {15, 93}, {16, 1}});
      for (float t : {0.1f, 0.25f, 0.5f, 0.75f}) {
        const std::string what = place.name + ", " + c.what + " at " + std::to_string(t);
        const Answer forward = evaluate(83, 81, 82, t);
        const Answer backward = evaluate(83, 82, 81, t);
        EXPECT_TRUE(forward.written && backward.written) << what;
        EXPECT_FLOAT_EQ(backward.t, 1.0f - t) << what;
        const V want = c.curve ? at(c.ls + (c.le - c.ls) * (1.0f - t))
                               : V{e[0] + t * (s[0] - e[0]), e[1] + t * (s[1] - e[1]),
                                   e[2] + t * (s[2] - e[2])};
        expectNear(backward.point, want, what, 1.0e-5f);
        const Answer mirror = evaluate(83, 81, 82, 1.0f - t);
        expectNear(backward.point, mirror.point, what, 1.0e-5f);
      }
    }
  }
}

class SplineLines : public LineEvaluation {
 protected:
  void SetUp() override {
    LineEvaluation::SetUp();
    point(81, {0, 0, 0});
    point(82, {10, 0, 0});
    // A cubic on the x axis: control points at x = 0, 1, 2, 10, knots stored.
    putReals(kArrGeoControlPoints, 81, {0, 0, 0, 1, 0, 0, 2, 0, 0, 10, 0, 0});
    putReals(kArrGeoValues, 81, {0, 0, 0, 0, 1, 1, 1, 1});
    geoRecord(93, {{1, 81.001f}, {2, 105.001f}, {3, 3.001f}, {4, 3.001f}, {5, 81.001f},
                   {6, 0}, {7, 1}});
    line(83, {{2, 81}, {3, 82}, {5, bits(0.0f)}, {6, bits(1.0f)}, {7, 600}, {15, 93}, {16, 1}},
         "SPLINE");
  }
  // The x of the cubic at u.
  static float x(float u) {
    const float v = 1.0f - u;
    return 3 * u * v * v + 6 * u * u * v + 10 * u * u * u;
  }
};

TEST_F(SplineLines, EqualArcLength) {
  Answer a = evaluate(83, 81, 82, 0.5f, 4, 1000);
  EXPECT_TRUE(a.written);
  EXPECT_NEAR(a.point[0], 5.0f, 0.025f);
  EXPECT_EQ(a.t, 0.5f);
  // Equal parameter steps without the code.
  a = evaluate(83, 81, 82, 0.5f, 4, 0);
  EXPECT_NEAR(a.point[0], x(0.5f), 1.0e-5f);
  // With n = -1 the caller learns the parameter.
  a = evaluate(83, 81, 82, 0.5f, -1, 1000);
  EXPECT_NEAR(x(a.t), a.point[0], 1.0e-4f);
  EXPECT_NEAR(a.point[0], 5.0f, 0.025f);
  EXPECT_EQ(MSGARG.number(), 0);
}

TEST_F(SplineLines, AFailedSearchPostsAndGoesOnUniformly) {
  setArcLengthSearch([](float, float, float, float, float, int32_t& success, const SplineCurve&,
                        float) {
    success = 0;
    return 0.9f;
  });
  const Answer a = evaluate(83, 81, 82, 0.5f, 4, 1000);
  EXPECT_TRUE(a.written);
  EXPECT_NEAR(a.point[0], x(0.5f), 1.0e-5f);
  EXPECT_EQ(MSGARG.number(), 46);
  EXPECT_EQ(MSGARG.value(1), a4Word("SPLI"));
  EXPECT_EQ(MSGARG.value(2), a4Word("NE  "));
}

TEST_F(SplineLines, AnEmptyRangeGivesTheCallerTZero) {
  line(84, {{2, 81}, {3, 82}, {5, bits(0.5f)}, {6, bits(0.5f)}, {7, 600}, {15, 93}, {16, 1}});
  const Answer a = evaluate(84, 81, 82, 0.5f, -1, 0);
  EXPECT_TRUE(a.written);
  EXPECT_EQ(a.t, 0.0f);
  EXPECT_NEAR(a.point[0], x(0.5f), 1.0e-5f);
}

TEST_F(SplineLines, TheRangeIsClippedToTheDefinition) {
  line(84, {{2, 81}, {3, 82}, {5, bits(-1.0f)}, {6, bits(3.0f)}, {7, 600}, {15, 93}, {16, 1}});
  EXPECT_NEAR(evaluate(84, 81, 82, 0.5f).point[0], x(0.5f), 1.0e-5f);
}

TEST_F(SplineLines, SearchRoutines) {
  const std::vector<float> knots = {0, 0, 0, 0, 1, 1, 1, 1};
  const SplineCurve c{3, 4, knots, 81, 0};
  EXPECT_NEAR(SPLLEN(0.0f, 1.0f, c, 1), 10.0f, 1.0e-5f);
  EXPECT_NEAR(SPLLEN(0.0f, 0.5f, c, 50), x(0.5f), 1.0e-4f);
  // x(u) = 3u + 7u^3, its speed 3 + 21u^2.
  EXPECT_NEAR(CRVDRV(0.5f, 0.0f, 1.0f, c), 3 + 21 * 0.25f, 0.01f);
  int32_t success = 7;
  float t = SPLNEW(0.0f, 1.0f, 0.0f, 5.0f, 0.001f, success, c, 0.5f);
  EXPECT_EQ(success, -1);
  EXPECT_NEAR(x(t), 5.0f, 0.001f);
  // A Newton step that leaves the range hands over to bisection over t0..upper.
  t = SPLNEW(0.0f, 1.0f, 0.99f, 5.0f, 0.001f, success, c, 0.999f);
  EXPECT_EQ(success, -1);
  EXPECT_NEAR(x(t), 5.0f, 0.001f);
  // A length the curve never reaches.
  t = SPLNEW(0.0f, 1.0f, 0.0f, 50.0f, 0.001f, success, c, 0.5f);
  EXPECT_EQ(success, 0);
  float bis = -3.0f, residual = 0.0f;
  CRVBIS(0.0f, 1.0f, -50.0f, 0.0f, 0.001f, 50.0f, success, c, bis, residual);
  EXPECT_EQ(success, 0);
  EXPECT_EQ(bis, -3.0f);
  EXPECT_NEAR(residual, -40.0f, 0.01f);
}

TEST(EllipseAngle, ReachesTheLength) {
  float theta = -1.0f;
  // On a circle of radius 2 the angle is the length / 2.
  ELLANG(2.0f, 2.0f, 100000, 0.0f, 3.0f, 2.0f, theta);
  EXPECT_NEAR(theta, 1.0f, 1.0e-4f);
  ELLANG(2.0f, 2.0f, 100000, 0.0f, 3.0f, 100.0f, theta);
  EXPECT_EQ(theta, 3.0f);
  ELLANG(2.0f, 2.0f, 0, 0.0f, 3.0f, 1.0f, theta);
  EXPECT_EQ(theta, 3.0f);
}

}  // namespace
}  // namespace kvr::test
