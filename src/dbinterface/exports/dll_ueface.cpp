#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// An element whose face could not be found is answered as one out of range.
extern "C" KVR_EXPORT void dll_ueface(int32_t* element, int32_t* shape, int32_t* kind,
                                      int32_t* number, int32_t* target, int32_t* faceNodes,
                                      int32_t* work, int32_t* size, int32_t* start, int32_t* face,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UEFACE(*element, *shape, *kind, *number, *target, *faceNodes,
                    std::span<int32_t>(work, static_cast<size_t>(std::max(*size, 0))), *size,
                    *start, *face, *status);
      },
      [&] { *status = 4; });
}
