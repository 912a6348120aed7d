#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modeldb/entrec.h"
#include "modelquery/queries.h"
#include "runtime/modcnt.h"

// The host's array holds the longest element of the model (model size position 7). An
// element that could not be read is answered as one out of range.
extern "C" KVR_EXPORT void dll_uelem(int32_t* element, int32_t* nodes, int32_t* count,
                                     int32_t* status) {
  kvr::forwardCall(
      [&] {
        const int32_t room =
            std::clamp(kvr::MODCNT.word(kvr::kCntElementNodes), 0, kvr::kElementNodes);
        kvr::UELEM(*element, std::span<int32_t>(nodes, static_cast<size_t>(room)), *count, *status);
      },
      [&] {
        *count = 0;
        *status = 1;
      });
}
