#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A surface that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_usurf2(int32_t* number, char* name, int32_t* desc,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::USURF2(*number, kvr::FText(name, kvr::kUSURF2NameLength),
                    std::span<int32_t, 16>(desc, 16), *status);
      },
      [&] { *status = 2; });
}
