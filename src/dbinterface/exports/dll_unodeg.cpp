#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// Nodes that could not be collected are answered as none found.
extern "C" KVR_EXPORT void dll_unodeg(int32_t* kind, int32_t* number, int32_t* count,
                                      int32_t* nodes, int32_t* size, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UNODEG(*kind, *number, *count,
                    std::span<int32_t>(nodes, static_cast<size_t>(std::max(*size, 0))), *size,
                    *status);
      },
      [&] {
        *count = 0;
        *status = 3;
      });
}
