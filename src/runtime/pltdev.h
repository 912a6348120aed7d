// PLTDEV: the device description of the plot dispatcher and its devices: the graphics
// record count, the two open-state words, the output mode, the device number, the raster
// format of hard copies, and the device words that every device keeps (the console sets
// them when it is opened, each graphics driver saves them at its opcode 1 and gives them
// back at its opcode 2).
//
// The device words, in block order: the colour table number (opcode 35), the colour
// count, the current colour (opcode 10), a further word, the current object kind (opcode
// 25, which also chooses the line writer of a message) and the current line attribute
// (opcode 11); a word 1 and the selected transformation (opcode 31, 1 meaning no
// mapping); the character cells across and down the page; the character height and
// width as reals; the picture window, which each driver maps onto its page at opcode 1;
// the coordinate limits; the defined transformation, its number and window (opcode 33);
// the mapping of a transformation other than 1 (scale, x and y origin, x and y offset:
// set by no routine of the library, 0 at load); the cell height and width as integers;
// the page extents (the screen, set when the console opens); the second colour count;
// the character size number (opcode 12); three words 7.0 and three words 9.0.
#pragma once

#include <array>
#include <cstdint>

namespace kvr {

// Output modes.
inline constexpr int32_t kOutputNone = 0;
inline constexpr int32_t kOutputConsole = 1;
inline constexpr int32_t kOutputGraphics = 2;

// A window: x from xMin to xMax, y from yMin to yMax.
struct PlotWindow {
  float xMin = 0.0f;
  float xMax = 0.0f;
  float yMin = 0.0f;
  float yMax = 0.0f;
};

struct PltDev {
  int32_t recordCount = 0;  // graphics record count; 1 or more stops the console branch
  int32_t openState1 = 0;   // 2 once the console device has been opened
  int32_t openState2 = 0;   // the output mode entered last
  int32_t outputMode = kOutputNone;
  int32_t device = 0;       // device number 1 to 13
  int32_t plotFileDevice = 0;  // 1 after start-up
  int32_t rasterFormat = 0;    // hard-copy raster format: 1 bitmaps (".bmp"), else PNG

  int32_t colourTableCount = 0;  // the colour table number
  int32_t colourCount = 0;
  int32_t currentColour = 0;
  int32_t further = 0;
  int32_t objectKind = 0;   // object kind of the last opcode 25
  int32_t lineAttribute = 0;
  int32_t one = 0;
  int32_t selectedTransform = 0;
  int32_t cellsAcross = 0;
  int32_t cellsDown = 0;
  float cellHeight = 0.0f;
  float cellWidth = 0.0f;
  PlotWindow window;  // the picture window
  float coordMin = 0.0f;
  float coordMax = 0.0f;
  int32_t transformNumber = 0;
  PlotWindow transformWindow;
  float mapScale = 0.0f;
  float mapOriginX = 0.0f;
  float mapOriginY = 0.0f;
  float mapOffsetX = 0.0f;
  float mapOffsetY = 0.0f;
  int32_t cellHeightWord = 0;
  int32_t cellWidthWord = 0;
  PlotWindow window2;  // the page extents
  int32_t colourCount2 = 0;
  int32_t characterSizeBase = 0;  // the character size number
  std::array<float, 3> sevens{};
  std::array<float, 3> nines{};
};

inline PltDev PLTDEV;

}  // namespace kvr
