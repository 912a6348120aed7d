// The 3 x 3 REAL frames of a coordinate system, stored column by column, element (i, j)
// at position 3(j - 1) + i, i and j from 1 to 3. Two conventions exist and are kept apart
// as two types: ColumnAxes holds the local axes as columns (column j is axis j: the frame
// of a coordinate system for the local directions at a point), RowAxes holds them as rows
// (row k is axis k: the frame from points, which multiplies a global difference into
// local coordinates).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct AxesInColumns {};
struct AxesInRows {};

template <typename Kind>
struct Axes3 {
  std::array<float, 9> values{1, 0, 0, 0, 1, 0, 0, 0, 1};

  float& operator()(int32_t i, int32_t j) { return values[at(i, j)]; }
  float operator()(int32_t i, int32_t j) const { return values[at(i, j)]; }

  void setIdentity() { values = {1, 0, 0, 0, 1, 0, 0, 0, 1}; }

  static constexpr std::size_t at(int32_t i, int32_t j) {
    return static_cast<std::size_t>(3 * (j - 1) + i - 1);
  }
};

using ColumnAxes = Axes3<AxesInColumns>;
using RowAxes = Axes3<AxesInRows>;

}  // namespace kvr
