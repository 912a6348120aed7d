#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// An evaluation that could not be carried out is answered as a failure.
extern "C" KVR_EXPORT void dll_uleval(int32_t* mode, int32_t* variation, int32_t* distribution,
                                      int32_t* system, float* position, int32_t* kind,
                                      int32_t* entity, int32_t* applies, float* value,
                                      float* axes, int32_t* record, int32_t* size,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::ULEVAL(*mode, *variation, *distribution, *system,
                    std::span<const float, 3>(position, 3), *kind, *entity, *applies, *value,
                    std::span<float, 9>(axes, 9),
                    std::span<int32_t>(record, static_cast<size_t>(std::max(*size, 0))), *size,
                    *status);
      },
      [&] { *status = 1; });
}
