#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A node whose record could not be read is answered as one out of range.
extern "C" KVR_EXPORT void dll_ucons3(int32_t* node, int32_t* flags, int32_t* system,
                                      int32_t* spare, int32_t* status) {
  kvr::forwardCall(
      [&] { kvr::UCONS3(*node, std::span<int32_t, 16>(flags, 16), *system, *spare, *status); },
      [&] { *status = 1; });
}
