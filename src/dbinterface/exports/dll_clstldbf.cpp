#include "dbinterface/tlfiles.h"
#include "kvr7dbio.h"
#include "platform/unitio.h"

extern "C" KVR_EXPORT void dll_clstldbf(int32_t* iunit, int32_t* iostat) {
  try {
    kvr::CLSTLDBF(*iunit, *iostat);
  } catch (...) {
    // Nothing may cross into the host.
    *iostat = kvr::io::kIosWriteError;
  }
}
