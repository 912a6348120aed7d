// Line evaluation at a relative position: the point at t between one end of a model line
// (t = 0) and the other (t = 1), placed as nodes are placed along lines, with the graded
// divisions, the spline arc lengths and the elliptic arc angle it rests on.
//
// Points are records of named array 2; the stored intermediate points of a polyline
// (type 4) are records word 5, word 5 + 1, ... of named array 12, those of lines of types 3
// and 5 records w15 + 1, w15 + 2, ... of named array 25 (w15 the line's word 15, the
// record before them a header whose second value holds their count + 1). Lines of type 6
// lie on a geometry definition record (GEOREC, linegeo.h), their parameter range in words
// 5 and 6 (REAL bits), the record in word 15 and the branch in word 16, its sign the
// direction.
//
// A division code c grades the divisions of a line: r = c mod 10 (with c's sign); r = 0,
// 1 or -1 equal divisions, r >= 2 the last division r times the first, r <= -2 1/|r| times
// the first, the lengths growing geometrically over the n divisions. The code 1000 on a
// spline asks for equal arc length instead of equal parameter steps.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Places the point at relative position T of LINE, from point START (t = 0) to point END
// (t = 1), over N divisions graded by CODE, into POINT. Positions within 1/15000 (MACHCN
// word 14) of an end give that end point exactly. Answers whether POINT was written: not
// for a composite line, a definition record that cannot be evaluated (another class, type
// 2, 4 or unknown, a straight definition whose word 15 is positive, a spline the store or
// its degree refuses), or a point the store does not hold. Degenerate arcs and ellipses,
// stored-point indices beyond the line's stored points, open curves run against their
// direction and failed intersection curves take the straight form START..END.
// Written back into the caller's variables: a stored-point line evaluated from its last
// end point takes T := 1 - T and CODE := -CODE; a type-6 line evaluated from its last end
// point takes T := 1 - T; a B-spline line with N = -1 takes T := the relative parameter it
// placed the point at (0 when its parameter range is empty). A failed equal-arc-length
// search posts message 46 naming the line and goes on with the uniform parameter.
bool LINEVL(int32_t start, int32_t end, float& t, int32_t line, std::span<float, 3> point,
            int32_t n, int32_t& code);

// S, a uniform position 0..1, becomes the position graded by CODE over N divisions:
// (q^(N s) - 1) / (q^N - 1), q = ratio^(1 / (N - 1)). Unchanged for N <= 1 and for equal
// divisions.
void GRDPOS(int32_t n, int32_t code, float& s);

// For the graded relative position B over N divisions: the division I (0..N - 1) it lies
// in and the fraction F within it.
void GRDINV(int32_t n, int32_t code, float b, int32_t& i, float& f);

// A spline curve as the arc-length routines see it: control points c0 .. c0 + n (named
// array 26), order k (degree + 1), the knot vector, and the first weight record (array 16;
// 0 for the non-rational form).
struct SplineCurve {
  int32_t n = 0;
  int32_t k = 0;
  std::span<const float> knots;
  int32_t c0 = 0;
  int32_t w0 = 0;
};

// The chord-sum length of CURVE from T0 to T1 over M equal parameter steps (the chord for M
// <= 1).
float SPLLEN(float t0, float t1, const SplineCurve& curve, int32_t m);

// The speed of CURVE at T, by a central difference of step 0.05 min(d, T1 - T0), d the
// distance of T to the nearer of T0 and T1 (at least 0.0001).
float CRVDRV(float t, float t0, float t1, const SplineCurve& curve);

// The parameter at which the length of CURVE from T0 reaches TARGET within TOLERANCE:
// at most 16 Newton steps from GUESS, kept within LOWER..UPPER, then bisection over T0..UPPER.
// SUCCESS -1; 0 when neither converged, the parameter of the smallest residual answered.
float SPLNEW(float t0, float upper, float lower, float target, float tolerance,
             int32_t& success, const SplineCurve& curve, float guess);

// Bisection over LOW..HIGH (FL the residual at LOW) for the parameter T at which the
// length of CURVE from T0 reaches TARGET within TOLERANCE, at most 100 halvings. SUCCESS
// -1 with T; 0 with T unchanged. RESIDUAL is the last residual computed.
void CRVBIS(float low, float high, float fl, float t0, float tolerance, float target,
            int32_t& success, const SplineCurve& curve, float& t, float& residual);

// THETA = the angle at which the arc length of the ellipse (a cos, b sin) from THETA0
// towards THETA1, summed over STEPS steps, reaches LENGTH; THETA1 when it never does.
void ELLANG(float a, float b, int32_t steps, float theta0, float theta1, float length,
            float& theta);

// Test seam: the equal-arc-length search LINEVL calls (SPLNEW unless replaced); nullptr
// restores SPLNEW.
using ArcLengthSearch = float (*)(float t0, float upper, float lower, float target,
                                  float tolerance, int32_t& success, const SplineCurve& curve,
                                  float guess);
void setArcLengthSearch(ArcLengthSearch search);

}  // namespace kvr
