#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// DESC holds 16 positions and one more for each member of a composite line (at most 20);
// only those are written. A line that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uline3(int32_t* number, char* name, int32_t* desc, float* length,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::ULINE3(*number, kvr::FText(name, kvr::kULINE3NameLength),
                    std::span<int32_t>(desc, KVR_ULINE3_DESC_WORDS), *length, *status);
      },
      [&] { *status = 2; });
}
