// The component transformation in force while a component of an assembly is current, and
// the routines that read node coordinates through it.
//
// An assembly places each component model by a 4 x 4 matrix (column by column, element
// (r, c) at 4(c - 1) + r, the homogeneous row in row 4). The walk over the components
// (reslvl.h) and the assembly build set CMPTRF; the coordinate readers of the loaders and
// of the display build apply it while its flag is above 0. The walk composes matrices in
// double precision (MAT44M) and keeps the single-precision copy here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kMatrixValues = 16;

// CMPTRF: the flag (0 none; above 0 a transformation applies) and the matrix.
struct CmpTrf {
  int32_t flag = 0;
  std::array<float, kMatrixValues> m{};

  // Element K (1..16), column by column.
  float& element(int32_t k) { return m[static_cast<size_t>(k - 1)]; }
  // Element (row R, column C).
  float at(int32_t r, int32_t c) const { return m[static_cast<size_t>(4 * (c - 1) + r - 1)]; }
};

inline CmpTrf CMPTRF;

// R = A x B for double-precision 4 x 4 matrices stored column by column. R may be A or B.
void MAT44M(std::span<const double, kMatrixValues> a, std::span<const double, kMatrixValues> b,
            std::span<double, kMatrixValues> r);

// Transforms the point (X, Y, Z) in place by the matrix of CMPTRF:
// w = m41 x + m42 y + m43 z + m44, then x' = (m11 x + m12 y + m13 z + m14) / w, and y' and
// z' likewise with rows 2 and 3. A w of 0 (no projective meaning) leaves the point as it
// is. The flag is not looked at.
void XFMPNT(float& x, float& y, float& z);

// At the node entry Q of PAGE: the coordinates held bit for bit in words Q + 4, Q + 5 and
// Q + 6, transformed with XFMPNT when the flag of CMPTRF is above 0. Words outside the
// page read as 0.
void NODXYZ(std::span<const int32_t> page, int32_t q, float& x, float& y, float& z);

// Word Q + 3 of PAGE (0 outside it), and the setting of that word (nothing outside it).
int32_t PAGW3(std::span<const int32_t> page, int32_t q);
void PAGS3(std::span<int32_t> page, int32_t q, int32_t value);

}  // namespace kvr
