#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A point that could not be read is answered as one out of range.
extern "C" KVR_EXPORT void dll_upnt2(int32_t* number, char* name, float* xyz, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UPNT2(*number, kvr::FText(name, kvr::kUPNT2NameLength), std::span<float, 3>(xyz, 3),
                   *status);
      },
      [&] { *status = 1; });
}
