#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A connection that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uconct(int32_t* number, int32_t* list, int32_t* size,
                                      int32_t* flags, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UCONCT(*number, std::span<int32_t>(list, static_cast<size_t>(std::max(*size, 0))),
                    *size, std::span<int32_t, 16>(flags, 16), *status);
      },
      [&] { *status = 2; });
}
