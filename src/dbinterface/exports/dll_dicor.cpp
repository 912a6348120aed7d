#include "dbinterface/dimodel.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dicor(int32_t* node, float* x, float* y, float* z, int32_t* isys,
                                     int32_t* ierr, int32_t* iunt) {
  try {
    kvr::DICOR(*node, *x, *y, *z, *isys, *ierr, *iunt);
  } catch (...) {
    // Nothing may cross into the host: a record that could not be finished is refused.
    *ierr = 216;
  }
}
