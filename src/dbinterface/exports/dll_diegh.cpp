#include "dbinterface/diresult.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_diegh(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* ivar,
                                     int32_t* npoint, int32_t* nlayer, int32_t* ilocal,
                                     int32_t* igflag, int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DIEGH(*ielem, *itype, *ieatt1, *ivar, *npoint, *nlayer, *ilocal, *igflag, *ierr,
                   *iunt);
      },
      [&] { *ierr = 129; });
}
