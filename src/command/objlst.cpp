#include "command/objlst.h"

namespace kvr {

void OBJLST(std::span<int32_t>, int32_t, int32_t, int32_t, int32_t, ValueList&,
            int32_t& status) {
  status = 0;
}

void OBJCHK(std::span<int32_t>, int32_t, std::span<const int32_t>, int32_t, int32_t, int32_t,
            ArgumentCheck& check) {
  check.status = kCheckNoMatch;
}

}  // namespace kvr
