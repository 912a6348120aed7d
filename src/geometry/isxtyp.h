// ISXTYP: the result of the intersection of two analytic surfaces, as SRFINT and its case
// routines write it and the line evaluators read it.
//
// status: 0 an intersection curve was found, 1 a surface cannot be used, 2 no
// intersection. x: the case code by kind pair (11 plane-plane, 12 plane-sphere, 13
// plane-cylinder, 14 plane-cone, 22 sphere-sphere, 23 sphere-cylinder, 24 sphere-cone, 33
// cylinder-cylinder, 34 cylinder-cone, 44 cone-cone). form: 1 one straight line, 2 two
// straight lines, 3 one closed curve over the whole turn, 4 a curve on a cone over an
// angle range, 5 two separate closed branches, 6 two branches over an angle range, 7 and 8
// the touching cases of 6 (angle ranges 270..270 and 90..270 degrees).
//
// P(1..14): forms 1 and 2, base point P(1..3) and unit direction P(4..6) of line 1, P(7..9)
// and P(10..12) of line 2; forms 3 to 8, P(1..10) the quadric P1 x^2 + P2 y^2 + P3 z^2 +
// P4 xy + P5 xz + P6 yz + P7 x + P8 y + P9 z + P10 = 0 in the local frame of the curve,
// P(11) the radius a at the local origin and P(12) the slope b of the cylinder or cone
// radius a + b z about the local z axis, P(13) and P(14) the start and end angle in degrees
// of the generator range.
//
// F(k, i), a REAL 4 x 4 stored column by column: for k = 1..3 component i of local axis k
// (the axes are rows), F(4, i) for i = 1..3 the local origin.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

struct IsxTyp {
  static constexpr int32_t kParams = 14;
  static constexpr int32_t kConicParams = 12;  // what the conic point routine reads
  static constexpr int32_t kFrameLd = 4;       // leading dimension of F

  int32_t status = 0;
  int32_t x = 0;
  int32_t form = 0;
  std::array<float, kParams> params{};
  std::array<float, 16> frame{};

  float& P(int32_t k) { return params[static_cast<std::size_t>(k - 1)]; }
  float P(int32_t k) const { return params[static_cast<std::size_t>(k - 1)]; }
  float& F(int32_t k, int32_t i) { return frame[at(k, i)]; }
  float F(int32_t k, int32_t i) const { return frame[at(k, i)]; }

  // P(1..12), the quadric and the cylinder or cone of the curve.
  std::span<const float, kConicParams> conic() const {
    return std::span<const float, kConicParams>(params.data(), kConicParams);
  }
  // The local origin F(4, 1..3).
  std::array<float, 3> origin() const { return {F(4, 1), F(4, 2), F(4, 3)}; }

  static constexpr std::size_t at(int32_t k, int32_t i) {
    return static_cast<std::size_t>(kFrameLd * (i - 1) + k - 1);
  }
};

}  // namespace kvr
