#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A name that could not be read is answered as one of a kind without names.
extern "C" KVR_EXPORT void dll_unamg2(int32_t* kind, int32_t* number, char* name,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] { kvr::UNAMG2(*kind, *number, kvr::FText(name, kvr::kUNAMG2NameLength), *status); },
      [&] { *status = 1; });
}
