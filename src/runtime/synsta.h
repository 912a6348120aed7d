// SYNSTA: the command-line state. The word held here is the command echo switch
// (1 = echo the command line), which also lets the M messages of the meshing catalogue
// be printed.
#pragma once

#include <cstdint>

namespace kvr {

struct SynSta {
  int32_t echo = 0;
};

inline SynSta SYNSTA;

}  // namespace kvr
