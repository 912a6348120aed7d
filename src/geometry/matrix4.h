// 4 x 4 transformation matrices of the geometry kernel: 16 double-precision values stored
// column by column, element (row r, column c) at position 4(c - 1) + r, the homogeneous
// row in row 4.
#pragma once

#include <span>

namespace kvr {

inline constexpr int kMatrix4Values = 16;

// Sets M to the identity.
void IDNT4D(std::span<double, kMatrix4Values> m);

}  // namespace kvr
