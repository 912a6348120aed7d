#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A line that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uline2(int32_t* number, char* name, int32_t* desc, float* length,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::ULINE2(*number, kvr::FText(name, kvr::kULINE2NameLength),
                    std::span<int32_t, 16>(desc, 16), *length, *status);
      },
      [&] { *status = 2; });
}
