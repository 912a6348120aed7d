// dll_uphyse: the host's value array holds the text items it names (value 1 their count);
// the lines and their lengths hold MAX entries.
#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/matqry.h"
#include "modelquery/queries.h"

// Items that could not be read give no line.
extern "C" KVR_EXPORT void dll_uphyse(float* values, int32_t* spare, int32_t* max, int32_t* count,
                                      int32_t* lengths, char* lines, int32_t* status) {
  kvr::forwardCall(
      [&] {
        const int32_t room = std::max(*max, 0);
        kvr::UPHYSE(std::span<const float>(values, kvr::textItemsExtent(values)), *spare, *max,
                    *count, std::span<int32_t>(lengths, static_cast<size_t>(room)),
                    kvr::FTextArray(lines, kvr::kUPHYSELineLength, room), *status);
      },
      [&] { *count = 0; });
}
