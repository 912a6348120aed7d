// The parametric position of a point in a surface patch: the coordinates (u, v) of a point
// Q in one of the nine simple patches of SRFCLS (geometry/srfcls.h), by geometric
// constructions rather than iteration: lines through vanishing points, circles about arc
// centres, arc-length fractions. u runs from side 4 (u = 0) to side 2 (u = 1) along sides
// 1 and 3, v from side 1 to side 3 along sides 2 and 4; class 3 measures u from side 2.
//
// Everything is computed in double, with the single-precision angles of ANGL3P. The line
// and circle intersections (LLINTS, LCINTS) test coplanarity and equal radii against the
// model tolerance (GEOSTA word 8), which the caller sets. Lengths, radii and divisors
// below the real epsilon of MACHCN are failures.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/srfcls.h"

namespace kvr {

using PatchPoint = std::array<double, 3>;

// F = the signed fraction of Z along the side from S to E: the projection of Z - S on
// E - S over |E - S|^2 (a point beyond S gives a negative fraction). False when |E - S| is
// below the real epsilon.
bool straightFraction(const PatchPoint& z, const PatchPoint& s, const PatchPoint& e, double& f);

// G = the fraction of the arc about K from S to E (radius R) at which X lies: the arc
// lengths of the angles S-K-X and S-K-E, with 3.14159, the divisor in single precision.
// False when R is below the real epsilon or the arc's angle lies outside 0.1 to 179.9
// degrees.
bool arcFraction(const PatchPoint& x, const PatchPoint& k, const PatchPoint& s,
                 const PatchPoint& e, double r, double& g);

// W = the crossing of lines A1A2 and B1B2 (LLINTS), or Q + D when they do not cross, so
// that the line Q-W runs through the pencil of the two sides.
void pencilPoint(const PatchPoint& a1, const PatchPoint& a2, const PatchPoint& b1,
                 const PatchPoint& b2, const PatchPoint& q, const PatchPoint& d, PatchPoint& w);

// R = a second point of the circle about K through Q: K + |K - Q| unit(MID - K), or, when
// that lies within 1 degree of Q as seen from K, K2 + |K - Q| unit(MID2 - K2). False when a
// direction cannot be normalised.
bool sweepCircle(const PatchPoint& k, const PatchPoint& mid, const PatchPoint& k2,
                 const PatchPoint& mid2, const PatchPoint& q, PatchPoint& r);

// The straight-sided construction (class 1) of the corners P1 to P4 of PATCH: U the
// fraction measured from P1 towards P2 (the mean over sides 1 and 3), V from P1 towards P4
// (over sides 4 and 2), through the pencil points of opposite sides. False when a side
// cannot be intersected or is shorter than the real epsilon. The body faces share it.
bool straightSidedPatch(const PatchGeometry& patch, const PatchPoint& q, double& u, double& v);

// (U, V) of Q in PATCH by its class, each limited to 0..1 (the apex of a sector, classes 6
// to 9, answers its own values unlimited). False when a construction fails or the class is
// not 1 to 9; U and V are then unwritten.
bool patchParameters(const PatchGeometry& patch, const PatchPoint& q, double& u, double& v);

}  // namespace kvr
