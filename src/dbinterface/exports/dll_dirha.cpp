#include "dbinterface/diresult.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kAttributeNameLength = 8;

}  // namespace

extern "C" KVR_EXPORT void dll_dirha(char* attnam, int32_t* ncomps, int32_t* irtype,
                                     int32_t* numvar, int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DIRHA(kvr::FText(attnam, kAttributeNameLength), *ncomps, *irtype, *numvar, *ierr,
                   *iunt);
      },
      [&] { *ierr = 129; });
}
