// Projection onto shapes: a point moved onto the geometric surface a model surface lies on,
// its patch of boundary lines (prjpch.h), a quadric shape or a parametric shape.
//
// The shape of a surface is the SHPDEF record (shpdef.h, named array 10) numbered by
// surface word 1 div 100. Word 2, truncated, is its definition kind: below 100 a quadric
// c6 x^2 + c7 y^2 + c8 z^2 + c9 xy + c10 xz + c11 yz + c12 x + c13 y + c14 z + c15 = 0 (cN
// word N); 200 to 299 a parametric surface:
//   word 1  first record of the control-point grid (named array 26), point (i, j) at
//           word 1 + i + (nu + 1) j, i = 0..nu along u, j = 0..nv along v
//   word 3  degree along u          word 18  degree along v
//   word 4  nu (points along u - 1) word 19  nv
//   word 5  first u knot (array 16) word 20  first v knot; 0 or less: none
//   words 6, 7  lowest and highest u; words 8, 9  lowest and highest v
//   word 16 first weight record (array 16); 0 or less: not rational
// Without knots in both directions and without weights the shape is a Bezier surface over
// 0..1 in both directions.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Words 6 to 15 of a quadric shape: the ten coefficients in their order.
inline constexpr int32_t kQuadricCoefficients = 10;

// MOVED = POINT moved onto the surface of SURFACE, chosen by the surface type (word 6 div
// 100 mod 100) and its shape's kind:
//   type 1 (2) without a shape: the four- (three-) sided patch;
//   types 3 and 4: the patch, when the surface has a shape (else status 1);
//   types 1, 2 and 5 to 8 with a shape: a quadric (PRJQUA, status 0), a parametric shape
//   (PRJPAR, its status); a shape of another kind gives status 1.
// STATUS 0 moved; 1 not moved (any other type, types 5 to 8 without a shape, a surface or
// shape the store does not hold). MOVED is POINT unless a projection supplied a point;
// the caller uses it only on status 0. POINT and MOVED may be the same array.
void PTONSH(int32_t surface, std::span<const float, 3> point, std::span<float, 3> moved,
            int32_t& status);

// Moves XYZ onto the quadric of COEFFICIENTS by at most three steps along the gradient,
// each to the nearer root of the quadric along it (the linear root when its quadratic
// part along the gradient is below 1.0e-7), stopping when the value is within (0.001 x
// SIZE)^2 or a step would be shorter than the smaller of the model tolerance and 0.001 x
// SIZE. A NODE of 1 or more that already lies on the quadric is left alone; when the
// point does not reach the quadric, warning 1036 names NODE unless it is 0.
void PRJQUA(int32_t node, std::span<float, 3> xyz,
            std::span<const float, kQuadricCoefficients> coefficients, float size);

// MOVED = POINT moved onto the parametric SHAPE, and (U, V) its parameters: from the
// centre of the control cell nearest to POINT, at most six steps along the parameter
// tangents (by differences of 1/100 of a cell), each parameter clamped to its range.
// STATUS 0; 1 when SHAPE is not held or has no control grid, fewer than one cell along u
// or v, degrees, knots or weights the store does not hold, an evaluation failed, or a
// tangent difference vanished. The shape record is read into ENTBUF's geometry buffer.
void PRJPAR(int32_t shape, std::span<const float, 3> point, float& u, float& v,
            std::span<float, 3> moved, int32_t& status);

}  // namespace kvr
