#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A condition that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_upresc(int32_t* number, char* name, int32_t* kind,
                                      int32_t* entity, int32_t* dof, float* value,
                                      int32_t* ivalue, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UPRESC(*number, kvr::FText(name, kvr::kUPRESCNameLength), *kind, *entity, *dof,
                    *value, *ivalue, *status);
      },
      [&] { *status = 1; });
}
