// The HP-GL pen-plotter driver, device 7 (plotter format "HPGL"): the older twin of the
// HP-GL/2 driver, writing to the same command buffer (HG2BUF) through the same writers.
// Device points run from 0 to 9999 across and 0 to 7200 up ("SC 0,9999,0,7200"), the
// centre of the picture at 5000, 3600; the pen is the colour index, limited by the
// number of pens; character sizes are absolute ("SI"); there is no palette and no fill.
// Its three options come from the environment alone: TL_NUMPENS (the number of pens, 1
// to 9), TL_YCABLE (the plotter sits on a Y-cable, switched on with ESC ".Y" and off
// with ESC ".Z") and TL_TRANSP (transparency mode).
//
// HPGSTA keeps the driver's state from call to call.
#pragma once

#include <cstdint>
#include <string>

#include "plot/hpgl/hg2buf.h"

namespace kvr {

struct HpgSta {
  bool yCable = false;  // ESC ".Y" at the job start, ESC ".Z" at the close
  bool open = false;    // between opcode 1 and opcode 2
  float x = 0.0f;       // current position, device units
  float y = 0.0f;
  float titleX = 0.0f;  // the device point of the title, for every new page
  float titleY = 0.0f;
  std::string title;    // the pending command line at the job start, trimmed; may be empty
};

inline HpgSta HPGSTA;

// The driver entry: acts on opcodes 1, 2, 8, 10, 11, 12, 14, 15, 18, 19, 25, 29, 31, 33
// and 35 (operands in PLTPAR), after the shared step of every device; 16 (fill) and any
// other value return at once.
void HPGDRV(int32_t opcode);

// Empties the buffer (no last pair, no pen); with YCABLE appends ESC ".Y"; then the
// handshake and "IN;SP1;SC 0,9999,0,7200;PA;".
void HPGINI(bool yCable);

// The job end: "SP0", and the buffer is written; with YCABLE then ESC ".Z" as a record
// of its own.
void HPGEND(bool yCable);

// Selects PEN ("PUSPp;", one digit) unless it is the current pen.
void HPGPEN(int32_t pen);

// Character size class SIZECLASS: 1 and 3 normal (75 by 108 device units), every other
// class small (50 by 71): "SIw.wwww,h.hhhh;" in centimetres; WIDTH and HEIGHT receive
// the character cell in picture units and the class becomes the character size number.
void HPGCSZ(int32_t sizeClass, float& width, float& height);

// Line type TYPE: "LT2,3,1;", "LT3,3,1;", solid "LT,;" for any other type.
void HPGLTY(int32_t type);

// The writers of the HP-GL/2 driver on the shared buffer, under this driver's names:
// the same routines, marker shapes and repeat suppression included.
inline constexpr auto& HPGPUT = HG2PUT;
inline constexpr auto& HPGWRT = HG2WRT;
inline constexpr auto& HPGXY = HG2XY;
inline constexpr auto& HPGPTS = HG2PTS;
inline constexpr auto& HPGSYM = HG2SYM;
inline constexpr auto& HPGLBL = HG2LBL;

}  // namespace kvr
