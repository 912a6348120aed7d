// The ends of a run: the stop of the whole run and the device-driver stops.
#include <string>

#include "platform/fmtedit.h"
#include "platform/stop.h"
#include "platform/unitio.h"
#include "runtime/console.h"
#include "runtime/fileutil.h"
#include "runtime/iounit.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

// A driver that cannot run ends the process with this status, never with success.
constexpr int32_t kDriverStopStatus = 1;
constexpr int32_t kDeviceStopped = -13;
constexpr int32_t kRecordModeStop = 45;

}  // namespace

void STOPRN(int32_t abortFlag) {
  if (RUNHOOKS.endDatabase != nullptr) RUNHOOKS.endDatabase();
  STPEMP();
  if (abortFlag != 0) ABTRUN();
}

void STPEMP() {}

void DRVSTP(int32_t code) {
  const std::string line = fmt::format1(
      R"((1X, " **** FATAL ERROR :  DEVICE DRIVER <", I2, "> NOT LOADE", "D ****"))", {code});
  io::writeRecord(IOUNIT.slot(kSlotTerminalOutput), line);
  processStop(kDriverStopStatus);
}

void STPN13() { DRVSTP(kDeviceStopped); }

void STPN45() { DRVSTP(kRecordModeStop); }

void TXTBLK(FText text) { text.fill(' '); }

}  // namespace kvr
