#include "dbinterface/dihed2.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kNameLength = 20;
constexpr int32_t kTitleLength = 20;
constexpr int32_t kTextLength = 10;

}  // namespace

extern "C" KVR_EXPORT void dll_dihed2(int32_t* ikey, int32_t* iopcod, char* name, float* hvalue,
                                      int32_t* hnumbr, char* htitle, int32_t* hflag, char* htext,
                                      int32_t* ierr, int32_t* iunt) {
  // A header that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        kvr::DIHED2(*ikey, *iopcod, kvr::FText(name, kNameLength), *hvalue, *hnumbr,
                    kvr::FText(htitle, kTitleLength), *hflag, kvr::FText(htext, kTextLength), *ierr,
                    *iunt);
      },
      [&] { *ierr = 129; });
}
