// The colour set-up of the colour devices: the ten colour tables of PLTCTB, which name
// palette entries by shade, and the palette of PLRGB, either from the colour map file of
// the open device or built in (twelve basic colours and linear ramps). PENCOL turns a
// colour index of the plot protocol into a device colour.
#pragma once

#include <cstdint>
#include <span>

#include "plot/plrgb.h"

namespace kvr {

using PaletteArray = std::span<int32_t, PlRgb::kEntries>;

// Builds the colour tables (tables 1 to 10 in all three rows), then the palette: from the
// colour map when CMAPRD takes one or more lines (the highest colour index becomes that
// count, device colour number i = 64 + i up to it; entries the map does not name keep
// what they held), else the built-in palette of 190 entries, 191 to 256 empty.
void DEFCOL();

// True when the last DEFCOL took its palette from the colour map file, false when it
// built the palette in.
bool colourMapTaken();

// Reads the colour map file of the open device into RED, GREEN, BLUE (by palette index).
// The file is the one the setting "Colourmap" of the device's section names, else the
// default colour map (file type 28). Each line "U S C <letter><shade> r g b" or
// "U S COL <letter><shade> r g b" (letter one of CWROYGBVP, the colour tables 1 and 3 to
// 10; shade in the three positions after it; reals 0.0 to 1.0) sets the palette entry of
// that shade in row 1 of the table. COUNT: the lines taken, at most 256; 0 without a
// file, or when a line is wrong (the entries of earlier lines stay written).
void CMAPRD(PaletteArray red, PaletteArray green, PaletteArray blue, int32_t& count);

// Writes N palette entries from index START on, a linear ramp from (R1, G1, B1) to
// (R2, G2, B2): the first entry the magnitudes of the first colour, each next one the
// previous plus the steps (second - first) / (N - 1), truncated toward zero. Entries
// outside 1..256 are not written; N of 1 writes the first colour alone.
void CRAMP(int32_t r1, int32_t g1, int32_t b1, int32_t r2, int32_t g2, int32_t b2, int32_t n,
           int32_t start, PaletteArray red, PaletteArray green, PaletteArray blue);

// The device colour of colour index COLOUR in colour table TABLE, row ROW (1..3): a
// positive index names basic colour COLOUR (table 10), 0 basic colour 8, a negative one
// shade |COLOUR| of TABLE. Answers the device colour number of the palette entry minus 1
// (63 + entry after DEFCOL), or the palette index itself when it is 0 or below. A table,
// shade or row outside the colour tables answers 0.
int32_t PENCOL(int32_t table, int32_t colour, int32_t row);

}  // namespace kvr
