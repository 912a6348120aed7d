#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A material that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_umat3(int32_t* number, char* name, char* name2, int32_t* word,
                                     int32_t* count, float* values, int32_t* size,
                                     int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UMAT3(*number, kvr::FText(name, kvr::kUMAT3NameLength),
                   kvr::FText(name2, kvr::kUMAT3Name2Length), *word, *count,
                   std::span<float>(values, static_cast<size_t>(std::max(*size, 0))), *size,
                   *status);
      },
      [&] { *status = 2; });
}
