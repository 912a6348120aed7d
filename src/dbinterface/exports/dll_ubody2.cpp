#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A body that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_ubody2(int32_t* number, char* name, int32_t* desc,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UBODY2(*number, kvr::FText(name, kvr::kUBODY2NameLength),
                    std::span<int32_t, 16>(desc, 16), *status);
      },
      [&] { *status = 2; });
}
