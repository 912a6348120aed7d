// The writing road's display, plot and input defaults, the output mode switch, and the
// display options.
#include "modeldb/dbopen_interim.h"
#include "plot/pltdsp.h"
#include "runtime/dspsta.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kGraphicsMode = 2;
constexpr int32_t kEndGraphics = 2;

int32_t gPlotFormatWord = 0;

}  // namespace

void LOGOPN(int32_t mode, int32_t end) {
  if (end == kEndGraphics) GFXCLS(kEndGraphics);
  if (mode == kGraphicsMode) {
    PLTGRA();
  } else {
    PLTALP();
  }
}

void VIEWID() {
  for (Matrix4* m : {&VIEWMT.view, &VIEWMT.view2}) {
    for (int32_t i = 0; i < 4; ++i) {
      for (int32_t j = 0; j < 4; ++j) (*m)[i][j] = i == j ? 1.0f : 0.0f;
    }
  }
}

void OPTRST() {
  DSPOPT.records = {};
  DSPOPT.words = {};
  DSPOPT.records11 = {};
  DSPOPT.switches.fill(1);
  DSPOPT.list.fill(1);
}

void PFWCLR() { gPlotFormatWord = 0; }
void PFWSET(int32_t value) { gPlotFormatWord = value; }
int32_t PFWGET() { return gPlotFormatWord; }

}  // namespace kvr
