#include "dbinterface/dilim.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dilim(int32_t* ierr, int32_t* iunt) {
  // A dataset that could not be finished is no success.
  kvr::forwardCall([&] { kvr::DILIM(*ierr, *iunt); }, [&] { *ierr = 299; });
}
