#include "geometry/matrix4.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "runtime/machcn.h"

namespace kvr {
namespace {

// Position of element (row r, column c), both 1..4.
constexpr size_t at(int r, int c) { return static_cast<size_t>(4 * (c - 1) + r - 1); }

}  // namespace

void IDNT4D(std::span<double, kMatrix4Values> m) {
  std::fill(m.begin(), m.end(), 0.0);
  for (int k = 0; k < 4; ++k) m[static_cast<size_t>(5 * k)] = 1.0;
}

void TRFIVR(std::span<const float, kMatrix4Values> m, std::span<float, kMatrix4Values> r) {
  const float w = m[at(4, 4)];
  // Before start-up the smallest real is 0; a zero or non-finite scale would divide by
  // zero or spread NaN through the whole inverse, so it is refused as well.
  if (!std::isfinite(w) || w == 0.0f || std::fabs(w) < MACHCN.real(kMachTolerance)) return;
  std::array<float, kMatrix4Values> out{};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) out[at(i, j)] = m[at(j, i)];
    out[at(i, 4)] =
        -(m[at(1, i)] * m[at(1, 4)] + m[at(2, i)] * m[at(2, 4)] + m[at(3, i)] * m[at(3, 4)]) / w;
    out[at(4, i)] = m[at(4, i)];
  }
  out[at(4, 4)] = 1.0f / w;
  std::copy(out.begin(), out.end(), r.begin());
}

}  // namespace kvr
