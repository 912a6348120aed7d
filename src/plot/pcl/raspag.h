// RASPAG: the page bitmap of the PCL printer driver, and its pixel store. The page is
// drawn whole into one static array by the raster engine, through the sink RASPIX, and
// sent row by row by the page output. Two layouts share the array:
//  - byte layout (every model without dithering, and the colour models with dithering):
//    one byte a pixel, 1800 bytes a bitmap row; pixel (X, r) is byte (r - 1) 1800 + X - 1;
//  - band layout (the monochrome model, which dithers): one bit a pixel in bands of 8
//    bitmap rows, 3000 bytes a band, one a column; pixel (X, r) is bit 8 - (r - 1) mod 8
//    (from 1 at the least significant) of byte ((r - 1) div 8) 3000 + X - 1. The top row
//    of a band is the most significant bit, so a band byte holds 8 vertically adjacent
//    pixels of one column. A set bit is ink.
// Bitmap rows count from the top: pixel height Y is row r = Hpix - Y + 1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct RasPag {
  static constexpr int32_t kBytes = 2592000;
  static constexpr int32_t kRowBytes = 1800;   // byte layout
  static constexpr int32_t kRows = kBytes / kRowBytes;
  static constexpr int32_t kBandBytes = 3000;  // band layout
  static constexpr int32_t kBands = kBytes / kBandBytes;

  std::array<uint8_t, kBytes> bytes{};

  // Pixel (X, r) of the byte layout, and the byte of band B at column X.
  uint8_t& pixel(int32_t x, int32_t r) {
    return bytes[static_cast<size_t>(r - 1) * kRowBytes + static_cast<size_t>(x - 1)];
  }
  uint8_t& band(int32_t b, int32_t x) {
    return bytes[static_cast<size_t>(b - 1) * kBandBytes + static_cast<size_t>(x - 1)];
  }
};

extern RasPag RASPAG;

// The monochrome dither table: 17 grey levels (0 solid ink .. 16 no ink) of 4 rows, each
// a 4-bit pattern, bit 0 the least significant.
extern const std::array<std::array<uint8_t, 4>, 17> RASDTB;

// Stores the pixel at column X, pixel height Y with colour value C, by the model's
// layout: without dithering the low 8 bits of C; with dithering on a colour model the
// plane mask RASDIT(C, k) of the pixel's cell k = 1 + (1 if X is odd) + (2 if r is odd);
// on the monochrome model ink for 0, none for 255, and otherwise the bit of the dither
// pattern of level trunc(C x 16/255) (held to 0..16), row (-r) mod 4, bit (-X) mod 4.
// Pixels outside columns 1..Wpix and bitmap rows 1..output rows are dropped.
void RASPIX(int32_t x, int32_t y, int32_t c);

// The plane mask (bit 1 plane 1, bit 2 plane 2, bit 4 plane 3) of cell K (1..4) of a 2 x 2
// cell for the dither code V = 50 + 25a + 5b + c: plane 1 covers a cells of the four,
// plane 2 b and plane 3 c, each cover continuing where the previous one stopped. Codes
// below 50 give 0.
void RASDIT(int32_t v, int32_t k, int32_t& value);

// The raster engine's context of the PCL driver (in PCLSTA), its sink RASPIX.
struct RasterEngine;
RasterEngine& pclEngine();

}  // namespace kvr
