#include "dbinterface/distp.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dierr(int32_t* ilevel, int32_t* ierr, int32_t* iunt) {
  // A clean-up that could not be finished is no success. Level 2 abandons the model and
  // reads no unit: a host may pass no unit at all.
  kvr::forwardCall(
      [&] {
        const int32_t level = *ilevel;
        kvr::DIERR(level, *ierr, level == 2 ? 0 : *iunt);
      },
      [&] { *ierr = 299; });
}
