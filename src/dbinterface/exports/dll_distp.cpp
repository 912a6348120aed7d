#include "dbinterface/distp.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_distp(int32_t* ierr) {
  // A stop that could not be finished is no success.
  kvr::forwardCall([&] { kvr::DISTP(*ierr); }, [&] { *ierr = 299; });
}
