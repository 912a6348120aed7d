// TIFSTA: the state of the TIFF driver, kept from its opcode 1 to its opcode 2: the
// raster size, the raster engine's context (pixel scales, kept pixels, glyph cell, size
// code, line and text colours, the whole-box marker rule), the character multiplier, the
// second-channel value, the background, the line width, the fill range of the two-channel
// grey mode, the symbol scale, the switches, the current point, and the colour tables and
// palette as they were before the job.
#pragma once

#include <array>
#include <cstdint>

#include "plot/plrgb.h"
#include "plot/raster/raseng.h"
#include "runtime/pltctb.h"

namespace kvr {

struct TifSta {
  bool open = false;  // between opcodes 1 and 2
  int32_t width = 0;  // raster size in pixels
  int32_t height = 0;
  RasterEngine engine;
  int32_t m = 1;            // character multiplier
  int32_t secondValue = 0;  // channel 2: 255 while object kind 2 or 9 is current
  int32_t background = 0;   // value of every pixel of a fresh raster
  int32_t lineWidth = 0;    // thick copies of draws and polylines; 0 one pixel
  int32_t fillSmallest = 0;  // fill range of object kinds 2 and 9 (grey mode)
  int32_t fillLargest = 0;
  float symbolScale = 1.0f;
  bool grey = false;  // the two-channel grey mode (setting "Aviris")
  bool debug = false;
  float currentX = 0.0f;  // device units
  float currentY = 0.0f;

  // The colour tables and palette before the job.
  std::array<int32_t, PltCtb::kTables + 1> savedCounts{};
  decltype(PltCtb::shades) savedShades{};
  PlRgb savedPalette;
};

inline TifSta TIFSTA;

}  // namespace kvr
