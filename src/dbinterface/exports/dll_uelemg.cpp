#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A call that could not be completed is answered as a number out of range.
extern "C" KVR_EXPORT void dll_uelemg(int32_t* kind, int32_t* number, int32_t* first,
                                      int32_t* last, int32_t* eltype, int32_t* units,
                                      int32_t* material, int32_t* property, int32_t* group,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UELEMG(*kind, *number, *first, *last, *eltype, *units, *material, *property,
                    *group, *status);
      },
      [&] { *status = 1; });
}
