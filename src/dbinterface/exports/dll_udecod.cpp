#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// The code line is read from position START to LAST, never further. A line that could not
// be read holds no token.
extern "C" KVR_EXPORT void dll_udecod(int32_t* codes, int32_t* start, int32_t* last, int32_t* mode,
                                      int32_t* kind, int32_t* first, int32_t* end,
                                      int32_t* ivalue, float* rvalue) {
  kvr::forwardCall(
      [&] {
        const auto words = static_cast<size_t>(std::max(*last, 0));
        kvr::UDECOD(std::span<const int32_t>(codes, words), *start, *last, *mode, *kind, *first,
                    *end, *ivalue, *rvalue);
      },
      [&] { *kind = 0; });
}
