// 3-vector primitives of the geometry kernel: a vector or point is three consecutive
// numbers x, y, z. Each routine reads all its inputs before it writes its result, so a
// result may be the same array as an operand.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// U = V / |V|, STAT 0; when |V|^2 is below 1.0e-10, U = (0, 0, 0) and STAT 1.
void DVUNIT(std::span<const double, 3> v, std::span<double, 3> u, int32_t& stat);

// C = A x B.
void DVCRS(std::span<const double, 3> a, std::span<const double, 3> b, std::span<double, 3> c);

// The angle in degrees (0 to 180) at VERTEX between the directions to P1 and P2, in single
// precision; 0 when either direction has no length.
void ANGL3P(std::span<const float, 3> vertex, std::span<const float, 3> p1,
            std::span<const float, 3> p2, float& angle);

}  // namespace kvr
