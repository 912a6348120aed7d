#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// The property (argument 7) is taken by value: UGELEM writes it into this routine's own
// copy, so the host never receives it. A call that could not be completed is answered as
// an element out of range.
extern "C" KVR_EXPORT void dll_ugelem(int32_t* element, int32_t* kind, int32_t* number,
                                      int32_t* eltype, int32_t* units, int32_t* material,
                                      int32_t property, int32_t* group, int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UGELEM(*element, *kind, *number, *eltype, *units, *material, property, *group,
                    *status);
      },
      [&] { *status = 1; });
}
