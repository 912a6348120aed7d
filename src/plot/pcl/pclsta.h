// PCLSTA: the state of the PCL printer driver, kept from its opcode 1 to its opcode 2:
// the printer model and its switches, the resolution and pixel multiplier, the page
// geometry (print offsets, the page in device units and in pixels, the output rows),
// the raster engine's context (scales, kept pixels, glyph cell, text and line colours),
// the line width, the current point, the title and the colour tables saved at opcode 1.
//
// PCLCTB: the colour tables of the printer models. T(1..7) gives the colour value of a
// colour index c > 0, N(0) that of colours 0 and 8 in fills and N(k) that of colour
// index -k, R(1..32) the fill values of colour tables 2 and above. The values are
// monochrome grey values, dither codes (the dithered colour models) or palette entry
// numbers (the colour model without dithering), whose red, green and blue and printer
// levels the palette part holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "plot/raster/raseng.h"

namespace kvr {

struct PclCtb {
  static constexpr int32_t kPositive = 7;
  static constexpr int32_t kShades = 32;
  static constexpr int32_t kPalette = 256;
  static constexpr int32_t kLevels = 16;

  int32_t count = 0;  // colours of the current table
  std::array<int32_t, kPositive> positive{};
  std::array<int32_t, kShades + 1> negative{};  // N(0..32)
  std::array<int32_t, kShades> range{};
  std::array<std::array<int32_t, kPalette>, 3> rgb{};     // red, green, blue of entries 0..255
  std::array<std::array<int32_t, kLevels>, 3> levels{};  // printer levels of entries 0..15

  int32_t& T(int32_t c) { return positive[static_cast<size_t>(c - 1)]; }
  int32_t& N(int32_t k) { return negative[static_cast<size_t>(k)]; }
  int32_t& R(int32_t k) { return range[static_cast<size_t>(k - 1)]; }
  // Component COMPONENT (1 red, 2 green, 3 blue) of palette entry I (0..255), and its
  // printer level for entries 0..15.
  int32_t& colour(int32_t component, int32_t i) {
    return rgb[static_cast<size_t>(component - 1)][static_cast<size_t>(i)];
  }
  int32_t& level(int32_t component, int32_t i) {
    return levels[static_cast<size_t>(component - 1)][static_cast<size_t>(i)];
  }
};

inline PclCtb PCLCTB;

// Printer models (the model word).
inline constexpr int32_t kModelLaser = 2;
inline constexpr int32_t kModelPaint = 3;
inline constexpr int32_t kModelDesk = 4;

struct PclSta {
  static constexpr int32_t kModelTextLength = 20;
  static constexpr int32_t kTitleLength = 80;

  bool open = false;  // between opcodes 1 and 2
  int32_t model = 0;
  bool monochrome = false;
  bool debug = false;
  bool highRes = false;
  bool landscape = false;
  bool runLength = false;
  bool dithering = false;
  bool formFeed = false;
  int32_t dpi = 0;
  int32_t m = 0;  // pixel multiplier of text
  int32_t backgroundByte = 0;  // value the page is cleared with
  int32_t backgroundWord = 0;  // colour value of colours 0 and 8 where the driver uses it
  float symbolScale = 1.0f;
  int32_t lineWidth = 0;  // thick copies of draws and polylines; 0 one pixel
  float currentX = 0.0f;  // device units
  float currentY = 0.0f;
  std::array<char, kModelTextLength> modelText{};

  // Page geometry: print offsets in decipoints, the page in device units (300 an inch)
  // and in pixels, and the bitmap rows the page output sends (the rows below Hpix, up to
  // 8 inches, hold the title of a landscape page).
  int32_t xOffset = 0;
  int32_t yOffset = 0;
  float wdev = 0.0f;
  float hdev = 0.0f;
  int32_t wpix = 0;
  int32_t hpix = 0;
  int32_t outputRows = 0;

  RasterEngine engine;
  std::array<char, kTitleLength> title{};
  int32_t titleLength = 0;

  PclCtb savedColours;  // PCLCTB as it was at opcode 1
};

inline PclSta PCLSTA;

}  // namespace kvr
