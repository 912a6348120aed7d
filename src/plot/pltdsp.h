// The plot dispatcher: every picture element and every console request is one opcode
// record (one word, the opcode; operands in PLTPAR) sent to the output device of the
// current output mode. The console mode hands it to the console device; the graphics
// mode to the driver of the device number.
#pragma once

#include <cstdint>

namespace kvr {

// Opcodes that the routines here send or treat specially.
inline constexpr int32_t kOpOpen = 1;
inline constexpr int32_t kOpClose = 2;
inline constexpr int32_t kOpColour = 10;
inline constexpr int32_t kOpText = 18;
inline constexpr int32_t kOpTextOutput = 22;
inline constexpr int32_t kOpObjectKind = 25;
inline constexpr int32_t kOpTextOutput2 = 48;

// Sends one opcode record to the output device. The texts of opcodes 18, 22 and 48
// first pass the terminology switch, keeping the sign of their count.
void PLTDSP(int32_t opcode);

// Enters the console output mode: the console output and input units into PLTPAR words
// 1 and 2, and opcode 1 unless the console is already open.
void PLTALP();

// Enters the graphics output mode: the plot unit into PLTPAR word 1, then opcode 1.
void PLTGRA();

// Records object kind KIND (opcode 25) and colour index INDEX (opcode 10).
void PLTOBJ(int32_t kind);
void PLTCOL(int32_t index);

// Sets up the default colour tables.
void DEFCOL();

}  // namespace kvr
