#include "dbinterface/distp.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dierr(int32_t* ilevel, int32_t* ierr, int32_t* iunt) {
  // A clean-up that could not be finished is no success.
  kvr::forwardCall([&] { kvr::DIERR(*ilevel, *ierr, *iunt); }, [&] { *ierr = 299; });
}
