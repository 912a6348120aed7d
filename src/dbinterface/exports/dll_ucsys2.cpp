#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A system that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_ucsys2(int32_t* number, int32_t* type, float* axes,
                                      int32_t* node1, int32_t* node2, int32_t* node3,
                                      int32_t* count, int32_t* nodes, int32_t* size,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UCSYS2(*number, *type, std::span<float, 6>(axes, 6), *node1, *node2, *node3,
                    *count, std::span<int32_t>(nodes, static_cast<size_t>(std::max(*size, 0))),
                    *size, *status);
      },
      [&] { *status = 2; });
}
