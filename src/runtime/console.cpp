#include "runtime/console.h"

#include "platform/stop.h"
#include "plot/pltdev.h"
#include "plot/pltdsp.h"
#include "plot/pltpar.h"

namespace kvr {
namespace {

// A driver that cannot run ends the process with this status, never with success.
constexpr int32_t kDriverStopStatus = 1;

}  // namespace

void ALPDRV(int32_t opcode) {
  if (opcode == kOpObjectKind) PLTDEV.objectKind = PLTPAR.objectKind;
}

void STPN13() { processStop(kDriverStopStatus); }

void STPN45() { processStop(kDriverStopStatus); }

}  // namespace kvr
