// 4 x 4 matrices of the geometry kernel (FRAME4): 16 values stored column by column,
// element (i, j) at position 4(j - 1) + i, i and j from 1 to 4.
//
// A local frame (Frame4D, Frame4R) holds its unit axes in columns 1 to 3, its origin in
// column 4 and (0, 0, 0, w) in row 4, w the homogeneous scale (1 for a rigid frame); a
// point p maps to (M(1:3,1:3) p + M(1:3,4)) / (M(4,1:3) p + M(4,4)), from local to
// global coordinates. The global-to-local kind (InvFrame4D, InvFrame4R) is the inverse of
// such a frame: the axes as rows and -(axes . origin) in column 4. The two kinds, and the
// double and single precision forms, are distinct types so that one cannot be passed for
// the other; a general matrix (Matrix4R) is neither, such as a quadric or a transpose.
// Every routine forms its result in work storage before writing it, so a result may be
// an operand wherever the types allow it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int kMatrix4Values = 16;

struct LocalToGlobal {};
struct GlobalToLocal {};
struct AnyMatrix {};

template <typename T, typename Kind>
struct Matrix4x4 {
  std::array<T, kMatrix4Values> values{};

  T& operator()(int32_t i, int32_t j) { return values[at(i, j)]; }
  const T& operator()(int32_t i, int32_t j) const { return values[at(i, j)]; }

  static constexpr std::size_t at(int32_t i, int32_t j) {
    return static_cast<std::size_t>(4 * (j - 1) + i - 1);
  }
};

using Frame4D = Matrix4x4<double, LocalToGlobal>;
using InvFrame4D = Matrix4x4<double, GlobalToLocal>;
using Frame4R = Matrix4x4<float, LocalToGlobal>;
using InvFrame4R = Matrix4x4<float, GlobalToLocal>;
using Matrix4R = Matrix4x4<float, AnyMatrix>;

// Sets M to the identity (any kind: pass its values).
void IDNT4D(std::span<double, kMatrix4Values> m);
void IDNT4R(std::span<float, kMatrix4Values> m);

// Q = P mapped by M: (M(1:3,1:4) (p, 1)) / (M(4,1:4) (p, 1)). The divisor is not tested;
// callers pass matrices whose row 4 is (0, 0, 0, w) with w not 0. Q may be P.
void TRFPNT(const Frame4D& m, std::span<const double, 3> p, std::span<double, 3> q);
void TRFPNT(const InvFrame4D& m, std::span<const double, 3> p, std::span<double, 3> q);

// R = the inverse of the rigid matrix M: R(i,j) = M(j,i) for i, j = 1..3, R(i,4) =
// -(M(1:3,i) . M(1:3,4)) / w, row 4 copied and R(4,4) = 1/w, w = M(4,4). The inverse of a
// frame is of the global-to-local kind and the inverse of that a frame again. When |w| is
// below the smallest real of MACHCN (or is 0, or not finite) R is not written.
void TRFINV(const Frame4D& m, InvFrame4D& r);
void TRFINV(const InvFrame4D& m, Frame4D& r);
void TRFIVR(const Frame4R& m, InvFrame4R& r);
void TRFIVR(const InvFrame4R& m, Frame4R& r);

// The product A B, stored into B when K is 2 and into A for any other K. A product of two
// frames is a frame, of two inverses an inverse; A and B may be the same matrix.
void MATM4R(std::array<float, kMatrix4Values>& a, std::array<float, kMatrix4Values>& b,
            int32_t k);
template <typename Kind>
void MATM4R(Matrix4x4<float, Kind>& a, Matrix4x4<float, Kind>& b, int32_t k) {
  MATM4R(a.values, b.values, k);
}

// M transposed in place.
void TRNS4R(Matrix4R& m);

// The rotation into the frame of three points (the origin P0 enters only through the
// directions): X = unit(P1 - P0), Z = unit(X x (P2 - P0)), Y = unit(Z x X) as rows 1 to 3,
// column 4 and row 4 zero, M(4,4) = 1; TRFPNT with M gives the components of a point
// along X, Y and Z about the global origin. A degenerate direction (P1 = P0, collinear
// points) leaves the rows it affects zero; no status is reported.
void FRM3PT(std::span<const double, 3> p0, std::span<const double, 3> p1,
            std::span<const double, 3> p2, InvFrame4D& m);

// The axes of the frame of three points with chosen axis numbers B and C (1 to 3; T = 6 -
// B - C the third), computed in double: axis B points from P0 to PB, axis C is normal to
// the plane of the three points and axis T lies in that plane on the side of PC, a
// right-handed set in every order. Column j of R (rows 1 to 3) starts at element
// (j - 1) LD + 1. STAT 0; 1 when B = C, an axis number is outside 1 to 3, PB or PC equals
// P0 or the points are collinear, and the 3 x 3 part of R is then the identity. An LD
// below 3 or an R too small for three columns gives STAT 1 and leaves R alone.
void FRM2AX(std::span<const float, 3> p0, int32_t b, std::span<const float, 3> pb, int32_t c,
            std::span<const float, 3> pc, int32_t ld, std::span<float> r, int32_t& stat);

}  // namespace kvr
