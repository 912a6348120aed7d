#include "dbinterface/diresult.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kNameLength = 8;  // COMPNM, NCALC and COMPN2

}  // namespace

extern "C" KVR_EXPORT void dll_dirhb(char* compnm, int32_t* inmenu, int32_t* ctype, int32_t* index1,
                                     int32_t* index2, int32_t* iexist, char* ncalc, char* compn2,
                                     int32_t* ierr, int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DIRHB(kvr::FText(compnm, kNameLength), *inmenu, *ctype, *index1, *index2, *iexist,
                   kvr::FText(ncalc, kNameLength), kvr::FText(compn2, kNameLength), *ierr, *iunt);
      },
      [&] { *ierr = 129; });
}
