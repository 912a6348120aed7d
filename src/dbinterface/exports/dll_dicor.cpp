#include "dbinterface/dimodel.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dicor(int32_t* node, float* x, float* y, float* z, int32_t* isys,
                                     int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall([&] { kvr::DICOR(*node, *x, *y, *z, *isys, *ierr, *iunt); },
                   [&] { *ierr = 216; });
}
