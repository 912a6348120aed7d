#include "dbinterface/hostcall.h"
#include "dbinterface/tlfiles.h"
#include "kvr7dbio.h"
#include "platform/unitio.h"

extern "C" KVR_EXPORT void dll_clstldbf(int32_t* iunit, int32_t* iostat) {
  kvr::forwardCall([&] { kvr::CLSTLDBF(*iunit, *iostat); },
                   [&] { *iostat = kvr::io::kIosWriteError; });
}
