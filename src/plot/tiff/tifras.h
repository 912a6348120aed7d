// The TIFF driver's members of the raster engine: the engine's routines on the TIFF
// driver's context (TIFSTA), whose pixel sink TIFPIX hands pixels to the TIFF writer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

// The sink: column X, pixel height Y go to raster cell (X, H - Y + 1) with the value and
// the second-channel value; pixels outside 1..W by 1..H are dropped.
void TIFPIX(int32_t x, int32_t y, int32_t value);

void TIFLIN(float x1, float y1, float x2, float y2);
void TIFTHK(float x1, float y1, float x2, float y2, int32_t n);
void TIFPLN(int32_t n, std::span<const float> x, std::span<const float> y, int32_t width);
void TIFFIL(int32_t n, std::span<const float> x, std::span<const float> y, int32_t value);
void TIFTXT(float x, float y, std::string_view text, int32_t m, int32_t length);
std::string_view TIFGLY(int32_t code);
// Draws the marker only when its whole box lies inside the clip window.
void TIFSYM(float x, float y, int32_t k, float d, int32_t width);
// The glyph cell of size class S into the engine, the size code and the character size
// number, and the character width and height of PLTDEV.
void TIFCSZ(int32_t s, int32_t m);

}  // namespace kvr
