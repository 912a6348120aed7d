#include "plot/pltdsp.h"

#include <cstdint>

#include "plot/pltdev.h"
#include "plot/pltpar.h"
#include "runtime/console.h"
#include "runtime/iounit.h"
#include "runtime/vocswp.h"

namespace kvr {
namespace {

constexpr int32_t kDeviceStopped = 13;
constexpr int32_t kOpenState = 2;

bool carriesText(int32_t opcode) {
  return opcode == kOpText || opcode == kOpTextOutput || opcode == kOpTextOutput2;
}

}  // namespace

void PLTDSP(int32_t opcode) {
  if (carriesText(opcode)) {
    int32_t count = PLTPAR.textCount;
    int32_t n = count < 0 ? (count == INT32_MIN ? PltPar::kMaxText : -count) : count;
    if (n > PltPar::kMaxText) n = PltPar::kMaxText;
    if (n >= 1) {
      VOCSWP(PLTPAR.text, n);
      PLTPAR.textCount = count < 0 ? -n : n;
    }
  }
  switch (PLTDEV.outputMode) {
    case kOutputConsole:
      if (PLTDEV.recordCount >= 1) STPN45();
      ALPDRV(opcode);
      break;
    case kOutputGraphics:
      // Device 13 cannot run; the other devices have no driver here and get nothing.
      if (PLTDEV.device == kDeviceStopped) STPN13();
      break;
    default:
      break;
  }
}

void PLTALP() {
  PLTDEV.outputMode = kOutputConsole;
  PLTPAR.outUnit = IOUNIT.slot(kSlotTerminalOutput);
  PLTPAR.inUnit = IOUNIT.slot(kSlotTerminalInput);
  if (PLTDEV.openState1 != kOpenState || PLTDEV.openState2 != kOpenState) PLTDSP(kOpOpen);
  PLTDEV.openState1 = kOpenState;
  PLTDEV.openState2 = kOutputConsole;
}

void PLTGRA() {
  PLTDEV.outputMode = kOutputGraphics;
  PLTPAR.outUnit = IOUNIT.slot(kSlotPlotFile);
  PLTDSP(kOpOpen);
  PLTDEV.openState2 = kOutputGraphics;
}

void PLTOBJ(int32_t kind) {
  PLTPAR.objectKind = kind;
  PLTDSP(kOpObjectKind);
}

void PLTCOL(int32_t index) {
  PLTPAR.colour = index;
  PLTDSP(kOpColour);
}

}  // namespace kvr
