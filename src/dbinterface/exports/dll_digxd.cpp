#include "dbinterface/diresult.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_digxd(int32_t* id, float* axes, int32_t* ierr, int32_t* iunt) {
  try {
    kvr::DIGXD(*id, std::span<const float, kvr::kAxesReals>(axes, kvr::kAxesReals), *ierr, *iunt);
  } catch (...) {
    // Nothing may cross into the host: a record that could not be finished is refused.
    *ierr = 129;
  }
}
