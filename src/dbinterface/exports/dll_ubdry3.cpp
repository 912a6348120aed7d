#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A condition that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_ubdry3(int32_t* number, char* name, int32_t* type, int32_t* code1,
                                      int32_t* flags1, int32_t* code2, int32_t* flags2,
                                      float* value, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UBDRY3(*number, kvr::FText(name, kvr::kUBDRY3NameLength), *type, *code1,
                    std::span<int32_t, 16>(flags1, 16), *code2, std::span<int32_t, 16>(flags2, 16),
                    *value, *status);
      },
      [&] { *status = 2; });
}
