// Conic points and local coordinates: the two routines that turn the result of an
// analytic surface intersection (ISXTYP) into points. Neither posts a message.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The points of the generator at ANGLE (degrees) of the cylinder or cone of radius
// A + B z about the local z axis that lie on the quadric P(1..10) (the layout of ISXTYP's
// parameters; P(11) and P(12) are not read, A and B are given). The generator
// x = (A + B z) cos(angle), y = (A + B z) sin(angle) gives alpha z^2 + beta z + gamma = 0:
//  - alpha below the smallest real of MACHCN: beta below it too, ROOTS 0 and STATUS 1;
//    else one point, ROOTS 1, STATUS 0, in L(1..3);
//  - a negative discriminant beyond the tolerances: ROOTS -2, STATUS 2;
//  - otherwise ROOTS 2, STATUS 0, the two candidates in L(1..3) and L(4..6) (a double root
//    in both).
// A candidate is (A + B z, ANGLE, z), cylindrical coordinates about the local z axis. L is
// written only for STATUS 0.
void CONRAD(std::span<const float, 12> p, float angle, float a, float b, int32_t& roots,
            std::span<float, 6> l, int32_t& status);

// The global POINT of LOCAL coordinates of KIND (1 Cartesian; 2 spherical r, polar angle,
// azimuth in degrees; 3 and 4 cylindrical r, angle in degrees, z) about ORIGIN in the
// frame F whose rows are the local axes: F(k, i), component i of axis k (k = 1..3), is
// element (i - 1) LD + k of F. STATUS 0; 1 for any other KIND, or an LD below 3 or an F
// too short for three columns, with POINT unwritten.
void LOCGLB(int32_t kind, std::span<const float, 3> origin, int32_t ld, std::span<const float> f,
            std::span<const float, 3> local, std::span<float, 3> point, int32_t& status);

}  // namespace kvr
