#include "dbinterface/diresult.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_digxh(int32_t* ielem, int32_t* itype, int32_t* ieatt1,
                                     int32_t* npoint, int32_t* nlayer, int32_t* ierr,
                                     int32_t* iunt) {
  try {
    kvr::DIGXH(*ielem, *itype, *ieatt1, *npoint, *nlayer, *ierr, *iunt);
  } catch (...) {
    // Nothing may cross into the host: a record that could not be finished is refused.
    *ierr = 129;
  }
}
