#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A set that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uset2(int32_t* set, int32_t* kind, char* name, int32_t* members,
                                     int32_t* size, int32_t* count, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::USET2(*set, *kind, kvr::FText(name, kvr::kUSET2NameLength),
                   std::span<int32_t>(members, static_cast<size_t>(std::max(*size, 0))), *size,
                   *count, *status);
      },
      [&] {
        *count = 0;
        *status = 2;
      });
}
