#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A load that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uloadp(int32_t* number, int32_t* kind, int32_t* entity,
                                      int32_t* status) {
  kvr::forwardCall([&] { kvr::ULOADP(*number, *kind, *entity, *status); }, [&] { *status = 2; });
}
