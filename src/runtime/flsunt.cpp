#include "runtime/flsunt.h"

#include "platform/unitio.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"

namespace kvr {

void FLSUNT(int32_t unit) {
  const bool commandFile = IOMODE.inputMode == kInputCommandFile || IOUNIT.forceFlush != 0;
  const int32_t flush = commandFile ? IOUNIT.flushCommandFile : IOUNIT.flushOtherInput;
  if (flush != 0) io::unitFlush(unit);
}

}  // namespace kvr
