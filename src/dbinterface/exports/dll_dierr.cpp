#include "dbinterface/distp.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dierr(int32_t* ilevel, int32_t* ierr, int32_t* iunt) {
  try {
    kvr::DIERR(*ilevel, *ierr, *iunt);
  } catch (...) {
    // Nothing may cross into the host: a clean-up that could not be finished is no success.
    *ierr = 299;
  }
}
