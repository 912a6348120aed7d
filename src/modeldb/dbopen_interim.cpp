// INTERIM: see dbopen_interim.h.
#include "modeldb/dbopen_interim.h"

#include <unistd.h>

#include "plot/pltdev.h"
#include "plot/pltdsp.h"
#include "runtime/filcls.h"

namespace kvr {
namespace {

constexpr int32_t kHeld = 1;
constexpr int32_t kKeepConsole = 2;

int32_t gLockHolder = 0;

}  // namespace

void DBLOCK(int32_t mode, int32_t& result) {
  if (mode == 1) {
    result = gLockHolder == static_cast<int32_t>(::getpid()) ? kHeld : -gLockHolder;
    return;
  }
  gLockHolder = 0;
}

void rememberLockHolder(int32_t pid) { gLockHolder = pid; }

void GFXCLS(int32_t x) { GFXRQ2(x); }

void GFXRQ2(int32_t x) {
  if (PLTDEV.outputMode == kOutputConsole && x == kKeepConsole) return;
  PLTDSP(kOpClose);
}

void DBENDS() { FILCLS(-1); }

}  // namespace kvr
