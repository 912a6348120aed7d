#include "runtime/pltops.h"

#include "runtime/pltdev.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

constexpr int32_t kKeepConsole = 2;

}  // namespace

void sendPlotRecord(int32_t opcode) {
  if (DSPHOOKS.record != nullptr) DSPHOOKS.record(opcode);
}

void PLTOBJ(int32_t kind) {
  PLTPAR.objectKind = kind;
  sendPlotRecord(kOpObjectKind);
}

void PLTCOL(int32_t index) {
  PLTPAR.colour = index;
  sendPlotRecord(kOpColour);
}

void GFXCLS(int32_t x) { GFXRQ2(x); }

void GFXRQ2(int32_t x) {
  if (PLTDEV.outputMode == kOutputConsole && x == kKeepConsole) return;
  sendPlotRecord(kOpClose);
}

}  // namespace kvr
