#include "command/spclst.h"

namespace kvr {

void SPCLST(int32_t, ValueList&, int32_t& status) { status = 0; }

void SPCCHK(int32_t, std::span<const int32_t>, int32_t, int32_t, int32_t, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
}

}  // namespace kvr
