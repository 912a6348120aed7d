// What the surface intersections share inside the kernel: small REAL vector helpers, the
// rows of a surface frame, the result frame of ISXTYP and the carrying of a quadric into
// the local coordinates of a result frame.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/isxtyp.h"
#include "geometry/matrix4.h"

namespace kvr::srf {

using V3 = std::array<float, 3>;

inline V3 sub(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline V3 add(const V3& a, const V3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline V3 scale(const V3& a, float s) { return {a[0] * s, a[1] * s, a[2] * s}; }
inline V3 neg(const V3& a) { return {-a[0], -a[1], -a[2]}; }
inline float dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline V3 cross(const V3& a, const V3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float length(const V3& a);

// U = V / |V| through the kernel's unit vector (DVUNIT); false, U zero, when V has no
// length.
bool unit(const V3& v, V3& u);

// Row K (1..3) of the 3 x 3 part of a surface frame, and its setting.
V3 row(const InvFrame4R& m, int32_t k);
void setRow(InvFrame4R& m, int32_t k, const V3& v);
void setIdentity(InvFrame4R& m);

// The in-plane axes of the normal N (unit): when 1 - |n_x| <= 0.1, U = unit(n_z, 0, -n_x)
// and V = unit(N x U); otherwise V = unit(0, n_z, -n_y) and U = unit(V x N). False when a
// vector has no length.
bool inPlaneAxes(const V3& n, V3& u, V3& v);

// The result frame of ISXTYP: rows E1, E2, E3 and the origin in row 4.
void setResultFrame(IsxTyp& r, const V3& e1, const V3& e2, const V3& e3, const V3& origin);
V3 resultRow(const IsxTyp& r, int32_t k);

// The quadric Q (symmetric, h . Q h = 0 for h = (x, y, z, 1) in the coordinates of the
// surface frame OWN) written in the local coordinates of R's frame into P(1..10): the
// diagonal terms, then the sums of the mixed terms xy, xz, yz, the sums of the linear
// terms and the constant.
void quadricInResult(const Matrix4R& q, const InvFrame4R& own, IsxTyp& r);

}  // namespace kvr::srf
