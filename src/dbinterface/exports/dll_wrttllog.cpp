#include "dbinterface/hostcall.h"
#include "dbinterface/tlfiles.h"
#include "kvr7dbio.h"

namespace {

constexpr int32_t kTypeLength = 20;

}  // namespace

extern "C" KVR_EXPORT void dll_wrttllog(int32_t* iunit, int32_t* imode, int32_t* istep,
                                        int32_t* isub, char* typtxt) {
  // A progress line that cannot be written is lost.
  kvr::forwardCall(
      [&] { kvr::WRTTLLOG(*iunit, *imode, *istep, *isub, kvr::FText(typtxt, kTypeLength)); });
}
