// INTERIM: see dspsav_interim.h.
#include "modeldb/dspsav_interim.h"

namespace kvr {

void DSPSAV(int32_t) {}

}  // namespace kvr
