// The colour tables of the PCL printer models (PCLCTB): dither codes for the dithered
// colour models, palette entries with printer levels for the colour model without
// dithering.
#pragma once

#include <cstdint>

namespace kvr {

// Dither-code table N of the dithered colour models; COUNT receives the table's colour
// count. N = 3..9 changes only the count and R (grey and colour ranges); any other N sets
// the default table: count 19, T(1..7), N(0..19) and R(1..19).
void RASGRY(int32_t n, int32_t& count);

// Palette table N of the colour model without dithering: 0 fills the red, green and blue
// of palette entries 0..15; 1 sets the count 14, the printer levels of entries 0..15
// (PCLLEV), T(1..7), N(0..14) and R(1..14). COUNT receives the count of the tables; any
// other N changes nothing.
void RASCTB(int32_t n, int32_t& count);

// The printer levels of a colour RED, GREEN, BLUE (0..255): trunc(r/255 x 86 + 4.5),
// trunc(g/255 x 84 + 4.5), trunc(b/255 x 79 + 6.5).
void PCLLEV(int32_t red, int32_t green, int32_t blue, int32_t& redLevel, int32_t& greenLevel,
            int32_t& blueLevel);

}  // namespace kvr
