#include "runtime/envirn.h"

#include "runtime/svutil/svenv.h"

namespace kvr {

void ENVIRN(FText name, FText value) { SvTextGetenv(name, value); }

}  // namespace kvr
