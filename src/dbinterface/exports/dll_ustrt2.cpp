#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A session start that could not be carried through reports that no store could be set up.
extern "C" KVR_EXPORT void dll_ustrt2(char* name, int32_t* work, int32_t* size, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::USTRT2(kvr::FText(name, kvr::kUSTRT2NameLength),
                    std::span<int32_t>(work, static_cast<size_t>(std::max(*size, 0))), *size,
                    *status);
      },
      [&] { *status = 5; });
}
