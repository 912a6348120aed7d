#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A record that could not be read is answered as one that is no target record.
extern "C" KVR_EXPORT void dll_uloade(int32_t* record, int32_t* kind, int32_t* entity,
                                      int32_t* meshed, int32_t* status) {
  kvr::forwardCall([&] { kvr::ULOADE(*record, *kind, *entity, *meshed, *status); },
                   [&] {
                     *kind = 0;
                     *entity = 0;
                     *meshed = 0;
                     *status = 1;
                   });
}
