// The plot call protocol as the floors below the plot output use it: every picture
// element and every console request is one opcode record (one word, the opcode; the
// operands in PLTPAR) sent to the device dispatcher of the plot output.
//
// The dispatcher stands above every floor that sends records to it, so they reach it
// through DSPHOOKS, which the plot output fills where it defines it (plot/pltdsp.cpp).
#pragma once

#include <cstdint>

namespace kvr {

// Opcodes that the dispatcher, the console, the shared driver step and the drivers send
// or treat specially.
inline constexpr int32_t kOpOpen = 1;
inline constexpr int32_t kOpClose = 2;
inline constexpr int32_t kOpNewPage = 8;
inline constexpr int32_t kOpColour = 10;
inline constexpr int32_t kOpLineAttribute = 11;
inline constexpr int32_t kOpCharacterSize = 12;
inline constexpr int32_t kOpMove = 14;
inline constexpr int32_t kOpDraw = 15;
inline constexpr int32_t kOpFill = 16;
inline constexpr int32_t kOpText = 18;
inline constexpr int32_t kOpMarker = 19;
inline constexpr int32_t kOpTextOutput = 22;
inline constexpr int32_t kOpObjectKind = 25;
inline constexpr int32_t kOpDeviceMatrix = 27;
inline constexpr int32_t kOpPolyline = 29;
inline constexpr int32_t kOpSelectTransform = 31;
inline constexpr int32_t kOpDefineTransform = 33;
inline constexpr int32_t kOpColourTable = 35;
inline constexpr int32_t kOpTextOutput2 = 48;

// DSPHOOKS: the entries of the device dispatcher. A slot left empty (nullptr) stands for
// a library without plot output: the call does nothing.
struct DispatcherHooks {
  // PLTDSP: sends one opcode record to the output device. Empty: the record is dropped,
  // as the dispatcher drops one for a device without a driver; a message box then answers
  // the answer word of PLTPAR as it stands.
  void (*record)(int32_t opcode) = nullptr;
  // PLTALP: enters the console output mode. Empty: the mode words stay as they are.
  void (*console)() = nullptr;
  // PLTGRA: enters the graphics output mode. Empty: the mode words stay as they are.
  void (*graphics)() = nullptr;
};

extern DispatcherHooks DSPHOOKS;

// Sends opcode record OPCODE through DSPHOOKS (PLTDSP).
void sendPlotRecord(int32_t opcode);

// Records object kind KIND (opcode 25) and colour index INDEX (opcode 10).
void PLTOBJ(int32_t kind);
void PLTCOL(int32_t index);

// GFXCLS(X) is GFXRQ2(X): sends the plot close request (opcode 2) to the dispatcher,
// except when the output mode is the console and X is 2.
void GFXCLS(int32_t x);
void GFXRQ2(int32_t x);

}  // namespace kvr
