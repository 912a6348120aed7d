// The flush of a unit that a journal channel has written to.
#pragma once

#include <cstdint>

namespace kvr {

// Flushes the buffered output of UNIT.
void FLSUNT(int32_t unit);

}  // namespace kvr
