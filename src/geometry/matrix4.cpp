#include "geometry/matrix4.h"

#include <algorithm>

namespace kvr {

void IDNT4D(std::span<double, kMatrix4Values> m) {
  std::fill(m.begin(), m.end(), 0.0);
  for (int k = 0; k < 4; ++k) m[static_cast<size_t>(5 * k)] = 1.0;
}

}  // namespace kvr
