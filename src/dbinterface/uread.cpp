#include "dbinterface/uread.h"

namespace kvr {

void UREAD() {}

}  // namespace kvr
