#include "dbinterface/hostcall.h"
#include "dbinterface/tlfiles.h"
#include "kvr7dbio.h"
#include "platform/unitio.h"

namespace {

constexpr int32_t kNameLength = 80;

}  // namespace

extern "C" KVR_EXPORT void dll_opntldbf(int32_t* iunit, int32_t* imode, char* fname, int32_t* istat,
                                        int32_t* iform, int32_t* iacces, int32_t* irecl,
                                        int32_t* iostat) {
  // An open that could not be made is a refused open.
  kvr::forwardCall(
      [&] {
        kvr::OPNTLDBF(*iunit, *imode, kvr::FText(fname, kNameLength), *istat, *iform, *iacces,
                      *irecl, *iostat);
      },
      [&] { *iostat = kvr::io::kIosOpenError; });
}
