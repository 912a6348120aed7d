// Point evaluation of the free-form curves and surfaces of the geometric model: B-spline
// (rational and not) and Bezier curves and surfaces, in single precision.
//
// Control points are records of named array 26 (x, y, z a record): point i of a curve is
// record c0 + i; point (j, i) of a surface with n + 1 points along u (j) and m + 1 along v
// (i) is record c0 + i (n + 1) + j, u fastest. Weights are records of named array 16 (one
// REAL each), numbered like the control points from w0. A knot vector U(1..n + p + 2) for
// n + 1 points of degree p is handed in by the caller; the parameter domain is U(p + 1) to
// U(n + 2). Only the control points and weights whose basis value is above the smallest
// real of MACHCN are read.
//
// The evaluators answer STATUS 1 and the point (0, 0, 0) when they cannot evaluate: a
// degree outside 0..n (B-splines) or 0..7 (Bezier), a knot vector shorter than n + p + 2,
// control points or weights the store does not hold, or (rational forms and the B-spline
// surfaces) a sum of term factors not above the smallest real. The caller's parameters
// are never changed.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The highest Bezier degree of a row or column.
inline constexpr int32_t kMaxBezierDegree = 7;

// The knot span S, F <= S <= L, with U(S) <= u < U(S + 1); a u at or below U(F) is
// clamped to U(F) (span F), at or above U(L + 1) to U(L + 1) (span L). On a knot vector
// that is not non-decreasing the bisection stops after as many halvings as U has knots
// and answers the span it reached. U must hold L + 1 knots and 1 <= F <= L; otherwise the
// answer is F and u is left alone.
int32_t KNTSPN(int32_t last, int32_t first, float& u, std::span<const float> knots);

// The P + 1 basis functions of degree P that are not zero at u in span S: N(k) belongs
// to control point S - P - 2 + k (from 0). N(1) = 1 for P <= 0. N is zeroed instead when
// it holds fewer than P + 1 values or U lacks knots S - P + 1 .. S + P.
void BSPBAS(int32_t span, float u, int32_t p, std::span<const float> knots,
            std::span<float> basis);

// VALUE = sum of C(k + 1) B(n, k)(t), k = 0..n: the Bernstein form of degree N (0 gives
// C(1)). VALUE is 0 for N < 0 or when C holds fewer than N + 1 coefficients.
void BERNST(int32_t n, std::span<const float> c, float t, float& value);

// The point at u of the B-spline curve of degree P on control points c0 .. c0 + N: the
// plain sum of the basis values times the points (not divided by their sum).
void BSPCRV(float u, int32_t p, int32_t n, int32_t c0, std::span<const float> knots, float& x,
            float& y, float& z, int32_t& status);

// The point at u of the rational B-spline curve: weights from w0.
void NRBCRV(float u, int32_t p, int32_t n, int32_t c0, int32_t w0, std::span<const float> knots,
            float& x, float& y, float& z, int32_t& status);

// The point at t (0..1) of the Bezier curve of degree N on control points c0 .. c0 + N.
void BEZCRV(float t, int32_t n, int32_t c0, float& x, float& y, float& z, int32_t& status);

// The point at (u, v) of the B-spline surface of degree P with N + 1 points along u and
// degree Q with M + 1 points along v, divided by the sum of its basis products.
void BSPSRF(float u, float v, int32_t p, int32_t n, int32_t q, int32_t m, int32_t c0,
            std::span<const float> uknots, std::span<const float> vknots, float& x, float& y,
            float& z, int32_t& status);

// As BSPSRF, rational: weights from w0.
void NRBSRF(float u, float v, int32_t p, int32_t n, int32_t q, int32_t m, int32_t c0,
            int32_t w0, std::span<const float> uknots, std::span<const float> vknots, float& x,
            float& y, float& z, int32_t& status);

// The point at (u, v) of the Bezier surface of degree N along u and M along v.
void BEZSRF(float u, float v, int32_t n, int32_t m, int32_t c0, float& x, float& y, float& z,
            int32_t& status);

}  // namespace kvr
