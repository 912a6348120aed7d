#include "dbinterface/dimodel.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dicon(int32_t* node, int32_t* idof, int32_t* isys, int32_t* iedof,
                                     int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall([&] { kvr::DICON(*node, *idof, *isys, *iedof, *ierr, *iunt); },
                   [&] { *ierr = 129; });
}
