#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A record that could not be read is answered as record 0.
extern "C" KVR_EXPORT void dll_ulode2(int32_t* record, int32_t* kind, int32_t* entity,
                                      int32_t* kind2, int32_t* entity2, int32_t* relation,
                                      int32_t* apart) {
  kvr::forwardCall(
      [&] { kvr::ULODE2(*record, *kind, *entity, *kind2, *entity2, *relation, *apart); },
      [&] {
        *kind = 0;
        *entity = 0;
        *kind2 = 0;
        *entity2 = 0;
        *relation = 0;
        *apart = 0;
      });
}
