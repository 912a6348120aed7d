#include "dbinterface/diresult.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_diexd(int32_t* id, float* axes, int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DIEXD(*id, std::span<const float, kvr::kAxesReals>(axes, kvr::kAxesReals), *ierr,
                   *iunt);
      },
      [&] { *ierr = 129; });
}
