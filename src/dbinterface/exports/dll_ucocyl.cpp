#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// No status to report: directions that could not be computed are left as they were.
extern "C" KVR_EXPORT void dll_ucocyl(int32_t* type, float* axes, float* origin, float* point,
                                      float* directions) {
  kvr::forwardCall([&] {
    kvr::UCOCYL(*type, std::span<const float, 6>(axes, 6), std::span<const float, 3>(origin, 3),
                std::span<const float, 3>(point, 3), std::span<float, 6>(directions, 6));
  });
}
