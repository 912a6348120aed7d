#include "plot/pltctb.h"
#include "plot/pltdsp.h"

namespace kvr {
namespace {

// Colour tables 1 to 10: shades and the palette index of shade 1.
struct TableDef {
  int32_t shades;
  int32_t firstIndex;
};

constexpr TableDef kTables[PltCtb::kTables] = {
    {31, 13},  {21, 149}, {21, 44},  {21, 65}, {21, 86},
    {21, 107}, {21, 128}, {21, 149}, {21, 170}, {12, 1},
};

}  // namespace

void DEFCOL() {
  for (int32_t t = 1; t <= PltCtb::kTables; ++t) {
    const TableDef& def = kTables[t - 1];
    PLTCTB.count(t) = def.shades;
    for (int32_t row = 1; row <= 3; ++row) {
      for (int32_t j = 1; j <= def.shades; ++j) PLTCTB.shade(t, row, j) = def.firstIndex + j - 1;
    }
  }
}

}  // namespace kvr
