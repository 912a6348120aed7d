// 4 x 4 transformation matrices of the geometry kernel: 16 values stored column by
// column, element (row r, column c) at position 4(c - 1) + r, the homogeneous row in
// row 4. As a frame, columns 1 to 3 are its unit axes, column 4 its origin and element
// (4, 4) the homogeneous scale w; a point p maps to (R p + t) / w.
#pragma once

#include <span>

namespace kvr {

inline constexpr int kMatrix4Values = 16;

// Sets M to the identity.
void IDNT4D(std::span<double, kMatrix4Values> m);

// Sets R to the inverse of the rigid frame M (single precision): the transposed rotation,
// the translation -(R^T t) / w, row 4 copied and 1/w in element (4, 4). When |w| is below
// the smallest real of MACHCN (or is 0, or not finite), R is not written. M and R may be
// the same matrix.
void TRFIVR(std::span<const float, kMatrix4Values> m, std::span<float, kMatrix4Values> r);

}  // namespace kvr
