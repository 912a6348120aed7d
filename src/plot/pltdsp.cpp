#include "plot/pltdsp.h"

#include <array>
#include <cstdint>

#include "geometry/matrix4.h"
#include "plot/defcol.h"
#include "plot/pltdrv.h"
#include "runtime/console.h"
#include "runtime/iounit.h"
#include "runtime/pltcap.h"
#include "runtime/pltdev.h"
#include "runtime/pltpar.h"
#include "runtime/vocswp.h"

namespace kvr {
namespace {

constexpr int32_t kOpenState = 2;

bool carriesText(int32_t opcode) {
  return opcode == kOpText || opcode == kOpTextOutput || opcode == kOpTextOutput2;
}

// Keeps the counts of the record within the arrays of PLTPAR, which every device indexes
// by them: 20 points, 255 text codes (the sign of the text count marks an inquiry).
void clampCounts() {
  int32_t& points = PLTPAR.pointCount;
  if (points < 0) points = 0;
  if (points > PltPar::kMaxPoints) points = PltPar::kMaxPoints;
  int32_t& count = PLTPAR.textCount;
  if (count > PltPar::kMaxText) count = PltPar::kMaxText;
  if (count < -PltPar::kMaxText) count = -PltPar::kMaxText;
}

}  // namespace

void PLTDSP(int32_t opcode) {
  clampCounts();
  if (carriesText(opcode)) {
    const int32_t count = PLTPAR.textCount;
    int32_t n = count < 0 ? -count : count;
    if (n >= 1) {
      VOCSWP(PLTPAR.text, n);
      PLTPAR.textCount = count < 0 ? -n : n;
    }
  }
  if (PLTDEV.outputMode == kOutputConsole) {
    if (PLTDEV.recordCount >= 1) STPN45();
    ALPDRV(opcode);
    return;
  }
  if (PLTDEV.device == kDeviceStopped) STPN13();
  if (PlotDriver driver = driverOf(PLTDEV.device)) driver(opcode);
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
  // The device description is still the previous device's: the new one is not open yet.
  if (PLTCAP.word(kCapDisplaySwitch) == 1) PLTMAT(VIEWMT.view, VIEWMT.view2);
  PLTPAR.outUnit = IOUNIT.slot(kSlotPlotFile);
  PLTDSP(kOpOpen);
  PLTDEV.openState2 = kOutputGraphics;
}

void PLTMAT(Matrix4& matrix, Matrix4& inverse) {
  if (PLTCAP.word(kCapDisplaySwitch) == 0) return;
  PLTDSP(kOpDeviceMatrix);
  Frame4R m{};
  InvFrame4R r{};
  for (size_t k = 0; k < m.values.size(); ++k) {
    m.values[k] = PLTPAR.deviceMatrix[k];
    matrix[k / 4][k % 4] = m.values[k];
    r.values[k] = inverse[k / 4][k % 4];
  }
  TRFIVR(m, r);
  for (size_t k = 0; k < r.values.size(); ++k) inverse[k / 4][k % 4] = r.values[k];
}

DispatcherHooks DSPHOOKS{PLTDSP, PLTALP, PLTGRA};

ConsoleDeviceHooks CONHOOKS{
    sharedStep, []() -> const DeviceWords& { return deviceDescription(DeviceRow::Console); },
    DEFCOL};

}  // namespace kvr
