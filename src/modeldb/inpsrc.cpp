#include "modeldb/inpsrc.h"

#include <algorithm>

#include "messages/catalog.h"
#include "modeldb/seqtab.h"
#include "runtime/codtxt.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

constexpr int32_t kCommandFileType = 14;
constexpr int32_t kFormatted = 1;
constexpr int32_t kReadOnly = 4;
constexpr int32_t kFailedToOpen = 370;  // E3370
constexpr int32_t kBackToTerminal = 2;
constexpr int32_t kRestoreSwitches = 0;

void toTerminal() {
  IOMODE.inputUnit = IOUNIT.slot(kSlotTerminalInput);
  IOMODE.inputMode = kInputTerminal;
  if (gCommandFile.nameMapInUse == 1) {
    NameMapFree();
    gCommandFile.nameMapInUse = 0;
  }
  if (VWDFLT.word(kVwSwitchesSaved) == 1) DSPSAV(kRestoreSwitches);
  gCommandFile.state = 0;
}

void failed() {
  MSGE3(kFailedToOpen);
  toTerminal();
}

}  // namespace

void INPSRC(std::span<const int32_t> name, int32_t n) {
  const int32_t mode = IOMODE.inputMode;
  if (mode == kBackToTerminal) {
    toTerminal();
    return;
  }
  if (mode == kInputCommandFile) {
    if (n <= 0) {
      IOMODE.commandFileLength = 0;
      toTerminal();
      return;
    }
    FILCLS(kCommandFileType);
  } else if (n < 0) {
    // No name to open, not even the default one.
    toTerminal();
    return;
  }
  // The stored name has 80 positions; a longer name cannot be kept, so it is not opened.
  if (n > IoMode::kCommandFileCodes) {
    failed();
    return;
  }
  IOMODE.commandFileLength = n;
  if (n > 0) {
    IOMODE.commandFile.fill(kBlankCode);
    const int32_t given = std::min(n, static_cast<int32_t>(name.size()));
    std::copy_n(name.begin(), given, IOMODE.commandFile.begin());
  }
  int32_t status = 0;
  FOUVRE(kCommandFileType, IOMODE.commandFile, n, kFormatted, kReadOnly, status);
  if (status != 0) {
    failed();
    return;
  }
  gCommandFile.lineCounter = 0;
  IOMODE.inputMode = kInputCommandFile;
  IOMODE.inputUnit = IOUNIT.slot(fileTypeRow(kCommandFileType)->openSlot);
}

}  // namespace kvr
