// PLTDEV: the device description of the plot dispatcher and its devices. The words held
// here are those the dispatcher and the message writers read: the graphics record count,
// the two open-state words, the output mode, the device number, the object kind last
// recorded by the console device, and the raster format of hard copies.
#pragma once

#include <cstdint>

namespace kvr {

// Output modes.
inline constexpr int32_t kOutputNone = 0;
inline constexpr int32_t kOutputConsole = 1;
inline constexpr int32_t kOutputGraphics = 2;

struct PltDev {
  int32_t recordCount = 0;  // graphics record count; 1 or more stops the console branch
  int32_t openState1 = 0;   // 2 once the console device has been opened
  int32_t openState2 = 0;   // the output mode entered last
  int32_t outputMode = kOutputNone;
  int32_t device = 0;       // device number 1 to 13
  int32_t objectKind = 0;   // object kind of the last opcode 25
  int32_t rasterFormat = 0; // hard-copy raster format: 1 bitmaps (".bmp"), else PNG
};

inline PltDev PLTDEV;

}  // namespace kvr
