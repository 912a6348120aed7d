#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// The face node list holds 16 words. A search that could not be made lists no element.
extern "C" KVR_EXPORT void dll_ufacg2(int32_t* kind, int32_t* number, int32_t* rkind,
                                      int32_t* rnumber, int32_t* carrierKind,
                                      int32_t* carrierNumber, int32_t* faceNodeCount,
                                      int32_t* faceNodes, int32_t* face, int32_t* orientation,
                                      int32_t* elementCount, int32_t* work, int32_t* size,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UFACG2(*kind, *number, *rkind, *rnumber, *carrierKind, *carrierNumber,
                    *faceNodeCount, std::span<int32_t>(faceNodes, 16), *face, *orientation,
                    *elementCount, std::span<int32_t>(work, static_cast<size_t>(std::max(*size, 0))),
                    *size, *status);
      },
      [&] {
        *elementCount = 0;
        *status = 3;
      });
}
