// The document-frame driver, device 3 (plotter format "Interleaf"): the picture becomes
// one square frame of 6.6 by 6.6 inches in a text document, anchored in the text, that
// holds one group of numbered graphic objects: line segments "(v4,", groups "(g9,",
// filled polygons "(p6,", texts and markers "(t8,". Frame points are inches from the top
// left corner, x to the right and y downward; the centre of the picture lands on the
// centre of the frame.
//
// The driver writes formatted records to the plot unit of PLTPAR (word 1), which the
// caller has opened; it neither opens nor closes a file and reads no settings. ILFSTA
// keeps its state from call to call.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "runtime/pltpar.h"

namespace kvr {

struct IlfSta {
  int32_t object = 1;       // number of the next object; 1 after opcode 1
  float x = 0.0f;           // current point: the frame point of the last move or draw
  float y = 0.0f;
  int32_t lineStyle = 0;    // 1 solid, any other value dashed; 0 after opcode 1
  int32_t cellWidth = 0;    // text cell in points, set by opcode 12 alone: it persists
  int32_t cellHeight = 0;   // across frames
  std::string textFont = "typw10";    // six characters
  std::string markerFont = "symb10";  // six characters, chosen by each marker
  char glyph = 'g';
  bool open = false;        // between opcode 1 and opcode 2
  std::array<float, PltPar::kMaxPoints> frameX{};  // the points of a fill or polyline
  std::array<float, PltPar::kMaxPoints> frameY{};
};

inline IlfSta ILFSTA;

// The driver entry: acts on opcodes 1, 2, 10, 11, 12, 14, 15, 16, 18, 19, 25, 29, 31, 33
// and 35 (operands in PLTPAR), after the shared step of every device; any other value
// returns at once.
void ILFDRV(int32_t opcode);

// Writes the line from frame point X1, Y1 to X2, Y2 on UNIT as dashes of DASH inches
// with gaps of the same length, every segment under object number OBJECT: a line
// shorter than one dash is one segment, and the last dash is cut at the end point.
void ILFDSH(int32_t unit, float x1, float y1, float x2, float y2, int32_t object, float dash);

}  // namespace kvr
