#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A property that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uphys4(int32_t* number, char* name, char* name2, int32_t* w4,
                                      int32_t* w2, int32_t* w3, int32_t* count, float* values,
                                      int32_t* size, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UPHYS4(*number, kvr::FText(name, kvr::kUPHYS4NameLength),
                    kvr::FText(name2, kvr::kUPHYS4Name2Length), *w4, *w2, *w3, *count,
                    std::span<float>(values, static_cast<size_t>(std::max(*size, 0))), *size,
                    *status);
      },
      [&] { *status = 2; });
}
