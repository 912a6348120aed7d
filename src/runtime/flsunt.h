// The flush of a unit that a journal channel has written to, as the ForceFileFlush
// switches ask.
#pragma once

#include <cstdint>

namespace kvr {

// Flushes the buffered output of UNIT when the switch that applies is on: the
// command-file switch while commands come from a command file (or while the flush-forcing
// flag is set), else the other-input switch.
void FLSUNT(int32_t unit);

}  // namespace kvr
