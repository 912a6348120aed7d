// Line geometry by line type: the points of a geometric-model line from its geometry
// definition record (GEOREC, georec.h), and the closed forms and sums behind the lengths
// of elliptic and parabolic arcs.
//
// The GEOREC words a line definition uses:
//   1      spline: the first control point (record of array 26)
//   2      definition code: hundreds digit 1; the code mod 100 is the type: 1 straight,
//          2 nothing to evaluate, 3 intersection of two surfaces, 4 not evaluated,
//          5 spline
//   3-5    straight: the start point; spline: degree p, index n of the last control
//          point, first knot record of array 16 (0 or less: none stored)
//   6-8    straight: the direction; spline: words 6 and 7 the parameters at the start and
//          at the end
//   15     straight: positive means no points are computed
//   16     spline: first weight record of array 16 (0 or less: not rational)
//   19-20  intersection: the packed codes of the two surfaces
#pragma once

#include <cstdint>
#include <numbers>
#include <span>

#include "modeldb/shpdef.h"

namespace kvr {

inline constexpr int32_t kGeoWordControl = 1;
inline constexpr int32_t kGeoWordCode = 2;
inline constexpr int32_t kGeoWordDegree = 3;
inline constexpr int32_t kGeoWordLastIndex = 4;
inline constexpr int32_t kGeoWordKnots = 5;
inline constexpr int32_t kGeoWordStart = 6;
inline constexpr int32_t kGeoWordEnd = 7;
inline constexpr int32_t kGeoWordNoPoints = 15;
inline constexpr int32_t kGeoWordWeights = 16;
inline constexpr int32_t kGeoWordSurface1 = 19;
inline constexpr int32_t kGeoWordSurface2 = 20;

// The points of the line of GEOREC record REC at the N parameters T into POINTS (x, y, z
// of point i at 3i - 2 .. 3i), branch Q choosing between the two lines or branches of an
// intersection; a parameter above 1 on a two-branch curve takes branch 2 at t - 1. STATUS
// 0, also for a definition of type 2 and a straight line whose word 15 is positive (no
// point written); 1 a wrong class, an unknown type or form, a failed intersection, a
// record, control point, knot or weight the store does not hold, or a spline whose degree
// cannot be evaluated (the points written before a failure stay). N is cut to what T and
// POINTS hold.
void LINPTS(int32_t n, std::span<const float> t, int32_t q, int32_t rec, std::span<float> points,
            int32_t& status);

// LINPTS for one parameter; on a two-branch curve the branch is always Q.
void LINDEF(float t, int32_t q, int32_t rec, std::span<float, 3> point, int32_t& status);

// How a line evaluation ended, for the callers that tell the store's refusal apart:
// evaluated, failed (as LINPTS status 1), or refused because a record number from the
// stored data lies outside the store.
enum class LineEval { kDone, kFailed, kOutOfStore };
LineEval linePoints(int32_t n, std::span<const float> t, int32_t q, int32_t rec,
                    std::span<float> points);

// The knot vector of the stored spline DEF, rational or not (knots or weights stored):
// its n + p + 2 knots read from word 5 on, or, none stored, h copies of the start
// parameter followed by the end parameter (an odd count leaves one more copy of the end,
// which no span reads). The degree is tested against the last index (kFailed) and every
// record range against the store (kOutOfStore) before anything is read. KNOTS views a
// buffer the line routines share, grown to the largest spline met: it holds until the
// next call.
LineEval splineKnots(ShpDef& def, std::span<float>& knots);

// The speed sqrt(a^2 sin^2 t + b^2 cos^2 t) of the ellipse (a cos t, b sin t); t in
// radians.
float ELLRAD(float a, float b, float t);

// LENGTH = the arc length of that ellipse from t0 to t1 (radians), by the left sum of N
// steps; 0 for N <= 0.
void ELLLEN(float a, float b, int32_t n, float t0, float t1, float& length);

// The eccentric angle of an elliptic arc's end T1, moved by a whole turn where needed so
// that the arc from T0 runs the short way round, as the arc's normal (the cross product of
// its two end directions) turns it: T1 - T0 lies between 0 and half a turn up to rounding.
// Angles from atan2 jump by a whole turn on the negative first axis; an arc across it
// would otherwise be run the long way, through the positive axis.
template <typename Real>
Real ellipticArcEnd(Real t0, Real t1) {
  constexpr Real kTurn = Real(2) * std::numbers::pi_v<Real>;
  const Real sweep = t1 - t0;
  if (sweep < -kTurn / Real(4)) return t1 + kTurn;
  if (sweep > Real(3) * kTurn / Real(4)) return t1 - kTurn;
  return t1;
}

// LENGTH = the arc length of the parabola y = x^2 / (2d), d = (x1 - x0) / k, from x0 to
// x1 (signed by d). STATUS 0; 1 |k| below 1.0e-6; 2 |d| below 1.0e-6 (LENGTH 0 for both).
void PARLEN(float x0, float x1, float k, float& length, int32_t& status);

}  // namespace kvr
