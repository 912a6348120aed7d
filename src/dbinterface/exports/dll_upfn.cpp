#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A list that could not be given is answered as one of a shape without lists.
extern "C" KVR_EXPORT void dll_upfn(int32_t* shape, int32_t* face, int32_t* spare,
                                    int32_t* capacity, int32_t* list, int32_t* count,
                                    int32_t* status) {
  kvr::forwardCall(
      [&] {
        kvr::UPFN(*shape, *face, *spare, *capacity,
                  std::span<int32_t>(list, static_cast<size_t>(std::max(*capacity, 0))), *count,
                  *status);
      },
      [&] {
        *count = 0;
        *status = 1;
      });
}
