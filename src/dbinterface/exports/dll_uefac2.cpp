#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A call that could not be answered finds no face and reports the element unreadable.
extern "C" KVR_EXPORT void dll_uefac2(int32_t* mode, int32_t* element, int32_t* shape,
                                      int32_t* kind, int32_t* number, int32_t* rkind,
                                      int32_t* rnumber, int32_t* target, int32_t* nodeCount,
                                      int32_t* work, int32_t* size, int32_t* start, int32_t* faces,
                                      int32_t* faceCount, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UEFAC2(*mode, *element, *shape, *kind, *number, *rkind, *rnumber, *target,
                    *nodeCount, std::span<int32_t>(work, static_cast<size_t>(std::max(*size, 0))),
                    *size, *start, std::span<int32_t, 6>(faces, 6), *faceCount, *status);
      },
      [&] {
        *faceCount = 0;
        *status = 4;
      });
}
