#include "dbinterface/distp.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_distp(int32_t* ierr) {
  try {
    kvr::DISTP(*ierr);
  } catch (...) {
    // Nothing may cross into the host: a stop that could not be finished is no success.
    *ierr = 299;
  }
}
