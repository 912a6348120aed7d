#include "runtime/flsunt.h"

#include "platform/unitio.h"

namespace kvr {

void FLSUNT(int32_t unit) { io::unitFlush(unit); }

}  // namespace kvr
