#include "command/fltlst.h"

namespace kvr {

void FLTLST(int32_t, ValueList&, int32_t& status) { status = 0; }

void K403LS(int32_t, ValueList&, int32_t& status) { status = 0; }

void FLTCHK(int32_t, std::span<const int32_t>, int32_t, int32_t, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
}

void K403CK(std::span<const int32_t>, int32_t, int32_t, ArgumentCheck& check) {
  check.status = kCheckNoMatch;
}

}  // namespace kvr
