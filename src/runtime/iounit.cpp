#include "runtime/iounit.h"

#include "runtime/filtyp.h"

namespace kvr {

void setDefaultUnitSlots() {
  for (int32_t k = 1; k <= IoUnit::kSlots; ++k) IOUNIT.slot(k) = defaultSlotUnit(k);
}

}  // namespace kvr
