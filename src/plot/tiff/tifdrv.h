// The TIFF driver, device 12: draws the picture into a raster of one pixel per device
// unit of the page extents (679 x 480 for the console's default page) with the raster
// engine, and writes it at the close as a TIFF file under the plot file's name. The
// normal mode writes a palette image (pixel value 63 + palette entry); the two-channel
// grey mode (setting "Aviris" of section "TIFF") a grey image whose channel 1 holds the
// fill values and channel 2 marks object kinds 2 and 9, with the private tags. One
// picture per file: the driver has no new page.
//
// Settings of section "TIFF": Debug (else TL_DEBUG), Aviris, SymbolScale, Background
// ("black" in any case for a black background) and BitmapSize (read only by TIFBMS).
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// The driver entry: the shared step, then opcodes 1, 2, 10, 11, 12, 14, 15, 16, 18, 19,
// 25, 29 and 35 (31 and 33 are the shared step's). Drawing needs a raster: before the
// first opcode 1, after opcode 2 and when the raster could not be made it does nothing.
void TIFDRV(int32_t opcode);

// The setting KEY of section "TIFF" (RESGET with application "Quorin", program "*").
void TIFSET(FText key, bool isSwitch, FText value, int32_t& status);

// The colour set-up of the grey mode: DEFCOL, then table 10 names palette entry 0 for
// every shade of row 1 and 255 for shade 8 of every row; the built-in palette has a grey
// ramp (96 + 5k) in entries 13 to 43 and white in 191 to 256; every entry gets its device
// colour number 64 + i; table 1 names the red levels of entries 13 to 43.
void TIFAVR();

// Colour-map entry INDEX (and COUNT - 1 after it) := RED, GREEN, BLUE.
void TIFCMP(int32_t red, int32_t green, int32_t blue, int32_t index, int32_t count);

// The raster (from the page extents: W = trunc(x max - x min) + 1, H likewise, the pixel
// scales trunc(extent) / size) and the file: the plot file is closed and deleted, and
// the TIFF writer creates its name, palette or two-channel grey by GREY.
void TIFOPN(bool grey);

// Writes the file with the fill range SMALLEST, LARGEST, closes it and frees the raster.
void TIFEND(int32_t largest, int32_t smallest);

// The setting BitmapSize, "<width>X<height>" (at least 3 characters up to its first
// blank, any case): each character before the "X" a digit of the width, each after it of
// the height, held to the integer range. Only a width or height other than 0 replaces
// WIDTH or HEIGHT.
void TIFBMS(int32_t& width, int32_t& height);

}  // namespace kvr
