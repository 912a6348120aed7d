// PLXFRM: the drivers' save area. At its opcode 1 a graphics driver saves here what the
// device open before had (the eighteen device description words of PLTCAP, the colour
// count, the second colour count, the current colour, the colour table number, the
// current line attribute, the character width and height) and gives it back at its
// opcode 2; between the two it keeps its page mapping here: device = (picture - page
// origin) x page scale + page offset, per axis. One save area serves all drivers, so one
// graphics device is open at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/pltcap.h"

namespace kvr {

struct PlXfrm {
  std::array<int32_t, PltCap::kIntegerWords> words{};
  int32_t colourCount = 0;
  int32_t colourCount2 = 0;
  int32_t currentColour = 0;
  int32_t colourTable = 0;
  int32_t lineAttribute = 0;
  float pageScale = 0.0f;
  float pageOriginX = 0.0f;
  float pageOriginY = 0.0f;
  float pageOffsetX = 0.0f;
  float pageOffsetY = 0.0f;
  float cellWidth = 0.0f;
  float cellHeight = 0.0f;

  // Saved device description word K (1..18).
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline PlXfrm PLXFRM;

}  // namespace kvr
