#include "dbinterface/dimodel.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dilxc(int32_t* isys, int32_t* idum, float* axes, int32_t* ierr,
                                     int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DILXC(*isys, *idum, std::span<const float, kvr::kAxesReals>(axes, kvr::kAxesReals),
                   *ierr, *iunt);
      },
      [&] { *ierr = 129; });
}
