// Point-in-shape predicates of the geometry kernel, in single precision: a point near a
// segment, in an axis-aligned box, in a 2-D polygon, in a prism built on a planar 3-D
// polygon; with the mean of a point set, the translation of a polygon along its normal
// and the intersection of a line with a plane. A polygon is given as separate coordinate
// arrays of N vertices, its edges joining vertex i to i + 1 and vertex N back to 1; a
// count beyond the arrays is cut to them. None of them allocates, posts a message or
// reads the model. The element attribute regions of the element query are their callers.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The most vertices the prism test works on.
inline constexpr int32_t kPrismVertices = 32;

// RESULT 1 when P lies within DIST of the segment A-B: its projection falls on the
// segment and its distance from the line is at most DIST; else 0. A segment of no length
// holds the points within DIST of A.
void PONSEG(float px, float py, float pz, float ax, float ay, float az, float bx, float by,
            float bz, float dist, int32_t& result);

// RESULT 1 when P lies in the axis-aligned box with corners (X1, Y1, Z1) and (X2, Y2, Z2),
// given in either order, bounds included; else 0.
void PINBOX(float px, float py, float pz, float x1, float y1, float z1, float x2, float y2,
            float z2, int32_t& result);

// RESULT -1 when (PX, PY) lies outside the polygon (U, V) of N vertices, 1 inside, 0 on an
// edge or vertex. A crossing count along +v with exact comparisons, no tolerance; N < 1
// answers -1.
void PINP2D(float px, float py, int32_t n, std::span<const float> u, std::span<const float> v,
            int32_t& result);

// (CX, CY, CZ) = the mean of the N points. N < 1 leaves them as they were.
void PTMEAN(std::span<const float> x, std::span<const float> y, std::span<const float> z,
            int32_t n, float& cx, float& cy, float& cz);

// RESULT 1 when P lies in the prism between the planar polygon (X, Y, Z) of N vertices and
// its translate along its normal through Q, by a vertical ray: the faces whose projection
// on x-y holds P are cut by the vertical line through P, and P is inside when the cuts
// lie on both sides of it with an odd number at or below it. A point on the projection of
// a face's edge counts as inside. 0 for a polygon without a normal (its first three
// vertices collinear), for fewer than 3 or more than kPrismVertices vertices.
void PINPOL(float px, float py, float pz, int32_t n, std::span<const float> x,
            std::span<const float> y, std::span<const float> z, float qx, float qy, float qz,
            int32_t& result);

// (XO, YO, ZO) = the polygon (X, Y, Z) of N vertices moved along its unit normal (FACNRM
// of its first three vertices, as computed) so that its plane passes through Q. STATUS 0;
// the normal's status when it cannot be formed (fewer than 3 vertices: 1), and then
// nothing is written.
void PLYPRJ(std::span<const float> x, std::span<const float> y, std::span<const float> z,
            float qx, float qy, float qz, int32_t n, std::span<float> xo, std::span<float> yo,
            std::span<float> zo, int32_t& status);

// (IX, IY, IZ) = the point where the line through (LX(1), LY(1), LZ(1)) and (LX(2), LY(2),
// LZ(2)) meets the plane through the three points (X(k), Y(k), Z(k)), at line parameter T
// (0 at the first point, 1 at the second). A line parallel to the plane (a denominator
// below the smallest real of MACHCN) gives T = 1, one beyond the largest real T = 0.
void LPLINT(std::span<const float, 2> lx, std::span<const float, 2> ly,
            std::span<const float, 2> lz, std::span<const float, 3> x,
            std::span<const float, 3> y, std::span<const float, 3> z, float& ix, float& iy,
            float& iz, float& t);

}  // namespace kvr
