#include "dbinterface/dilim.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dilim(int32_t* ierr, int32_t* iunt) {
  try {
    kvr::DILIM(*ierr, *iunt);
  } catch (...) {
    // Nothing may cross into the host: a dataset that could not be finished is no success.
    *ierr = 299;
  }
}
