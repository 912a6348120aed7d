// dll_uadjge: the work array is given no size; it holds every member of a restricting set,
// as the header asks, and nothing else is written into it.
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/adjqry.h"
#include "modelquery/queries.h"

// A search that could not be made finds nothing.
extern "C" KVR_EXPORT void dll_uadjge(int32_t* kind, int32_t* number, int32_t* rkind,
                                      int32_t* rnumber, int32_t* nkind, int32_t* nnumber,
                                      int32_t* work, int32_t* spare, int32_t* mode,
                                      int32_t* status) {
  kvr::forwardCall(
      [&] {
        const auto room = static_cast<size_t>(kvr::restrictingSetSize(*rkind, *rnumber));
        kvr::UADJGE(*kind, *number, *rkind, *rnumber, *nkind, *nnumber,
                    std::span<int32_t>(work, room), *spare, *mode, *status);
      },
      [&] { *status = 2; });
}
