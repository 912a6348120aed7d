// RASFNT: the two dot-matrix fonts of the raster engine (rasfnt.cpp holds the glyphs).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kvr {

inline constexpr int32_t kGlyphs = 96;
inline constexpr int32_t kGlyphLength = 60;  // 12 rows of 5 dots, the top row first

struct RasFnt {
  // Glyph g (1..96) is entry g - 1: the small font of 5 x 7 dots, the large of 5 x 12.
  std::array<std::string_view, kGlyphs> small;
  std::array<std::string_view, kGlyphs> large;
};

extern const RasFnt RASFNT;

}  // namespace kvr
