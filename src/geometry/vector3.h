// 3-vector primitives of the geometry kernel: a vector or point is three consecutive
// numbers x, y, z. The routines named with D work in double, the others in single
// precision (float arithmetic throughout, so that results agree under every compiler).
// Each routine reads all its inputs before it writes its result, so a result may be the
// same array as an operand.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// LENGTH = |V|.
void VLEN3(std::span<const float, 3> v, float& length);
float RVLEN(std::span<const float, 3> v);

// LENGTH = the length of V(1..N), summed so that components near the smallest normal
// real keep their true length: when the plain sum of squares is not above
// 1 / big^2 (big the square root of the largest real of MACHCN), the components are
// scaled by big first. N <= 0 leaves LENGTH as it was. STAT is always 0. Components
// beyond the span are not read.
void VLENN(std::span<const float> v, int32_t n, float& length, int32_t& stat);

// PRODUCT = A . B.
void VDOT3(std::span<const float, 3> a, std::span<const float, 3> b, float& product);
float RVDOT(std::span<const float, 3> a, std::span<const float, 3> b);

// C = A x B (the two routines compute alike).
void VCRS3(std::span<const float, 3> a, std::span<const float, 3> b, std::span<float, 3> c);
void RVCRS(std::span<const float, 3> a, std::span<const float, 3> b, std::span<float, 3> c);

// |P - Q|.
double DDIST(std::span<const double, 3> p, std::span<const double, 3> q);
float RDIST(std::span<const float, 3> p, std::span<const float, 3> q);
float PDIST(float x1, float y1, float z1, float x2, float y2, float z2);

// U . (V x W): the determinant of the matrix with rows U, V, W.
float DET3R(std::span<const float, 3> u, std::span<const float, 3> v,
            std::span<const float, 3> w);

// The plane A x + B y + C z + D = 0 through the three points (X(k), Y(k), Z(k)): the
// cofactors of the first row of the determinant |(x, y, z, 1); (X(k), Y(k), Z(k), 1)|.
// Three collinear points give A = B = C = 0.
void PLNCOF(std::span<const float, 3> x, std::span<const float, 3> y,
            std::span<const float, 3> z, float& a, float& b, float& c, float& d);

// U = V / |V|, STAT 0; when |V|^2 is below 1.0e-10, U = (0, 0, 0) and STAT 1.
void DVUNIT(std::span<const double, 3> v, std::span<double, 3> u, int32_t& stat);

// C = A x B.
void DVCRS(std::span<const double, 3> a, std::span<const double, 3> b, std::span<double, 3> c);

// The angle in degrees (0 to 180) at VERTEX between the directions to P1 and P2, in single
// precision; 0 when either direction has no length.
void ANGL3P(std::span<const float, 3> vertex, std::span<const float, 3> p1,
            std::span<const float, 3> p2, float& angle);

}  // namespace kvr
