// The neutral plot file driver (device 1, and every plotter format that is not
// recognised): the picture as short formatted records in a device grid of 0 to 9999 on
// both axes, centred on 5000. Each drawing action is one group: a header record of the
// record code and the number of records that follow (I2, I2), then those records.
//
// The driver writes to the plot unit of PLTPAR, which its caller opened; it neither opens
// nor closes a file and reads no settings. Before its first opcode 1 it runs on its load
// state (a page scale of 1.0, a move always written), and every record goes through the
// unit layer, which refuses a unit that is not connected.
#pragma once

#include <cstdint>

namespace kvr {

// The driver state, kept between calls and reset at opcode 1.
struct PlfSta {
  float currentX = 0.0f;  // the current point, in picture units before the transformation
  float currentY = 0.0f;
  int32_t moveState = -1;  // 0 the pen stands there; 1 a move is pending; -1 always move
  int32_t lastX = 0;       // the last device point written
  int32_t lastY = 0;
  int64_t lastPen = 0;     // the last pen record: pen number and colour table
  int64_t lastTable = 0;
  int32_t lastLine = 0;    // the last line attribute written
  int32_t lastSize = 0;    // the last character size number written
  float scale = 1.0f;      // the page scale, for the character cell
};

inline PlfSta PLFSTA;

// The driver entry. Acts on opcodes 1, 2, 10, 11, 12, 14, 15, 16, 18, 19, 25, 31, 33 and
// 35; every other opcode (polylines among them) is ignored.
void PLFDRV(int32_t opcode);

}  // namespace kvr
