// INTERIM: see dibld_interim.h.
#include "dbinterface/dibld_interim.h"

namespace kvr {

void DIERR(int32_t /*ilevel*/, int32_t& ierr, int32_t /*iunt*/) { ierr = 0; }

}  // namespace kvr
