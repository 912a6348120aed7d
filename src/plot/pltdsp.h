// The plot dispatcher: every picture element and every console request is one opcode
// record (one word, the opcode; operands in PLTPAR) sent to the output device of the
// current output mode. The console mode hands it to the console device; every other mode
// (none, graphics) to the driver of the device number (pltdrv.h). The opcodes, PLTOBJ
// and PLTCOL are declared with the protocol (runtime/pltops.h); the floors below reach
// the routines here through its DSPHOOKS, which pltdsp.cpp fills.
#pragma once

#include <cstdint>

#include "runtime/dspsta.h"
#include "runtime/pltops.h"

namespace kvr {

// The opcodes a full page driver acts on: open and close, new page, the colour, line and
// character attributes, the drawing primitives, the object kind, the transformations and
// the colour table.
constexpr bool pageDriverOpcode(int32_t opcode) {
  switch (opcode) {
    case kOpOpen: case kOpClose: case kOpNewPage: case kOpColour: case kOpLineAttribute:
    case kOpCharacterSize: case kOpMove: case kOpDraw: case kOpFill: case kOpText:
    case kOpMarker: case kOpObjectKind: case kOpPolyline: case kOpSelectTransform:
    case kOpDefineTransform: case kOpColourTable:
      return true;
    default: return false;
  }
}

// Sends one opcode record to the output device. The point count of PLTPAR is first held
// to 0..20 and the magnitude of the text count to 0..255 (keeping its sign); the texts of
// opcodes 18, 22 and 48 then pass the terminology switch. In console mode a set graphics
// record count stops the process; otherwise device 13 stops it, and device 11 and numbers
// outside 1..13 drop the record.
void PLTDSP(int32_t opcode);

// Enters the console output mode: the console output and input units into PLTPAR words
// 1 and 2, and opcode 1 unless the console is already open.
void PLTALP();

// Enters the graphics output mode: when device description word 10 is 1, the device
// matrix into the view matrices of VIEWMT first (PLTMAT); then the plot unit into PLTPAR
// word 1 and opcode 1.
void PLTGRA();

// When device description word 10 is not 0: sends opcode 27, copies the 16 device matrix
// words of PLTPAR into MATRIX in storage order and sets INVERSE to its inverse (TRFIVR,
// which leaves it alone for a matrix without a usable scale). With word 10 at 0 nothing
// is sent and both are left untouched.
void PLTMAT(Matrix4& matrix, Matrix4& inverse);

}  // namespace kvr
