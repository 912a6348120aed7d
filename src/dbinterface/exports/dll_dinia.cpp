#include <algorithm>
#include <cstddef>

#include "dbinterface/diresult.h"
#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"

extern "C" KVR_EXPORT void dll_dinia(int32_t* node, float* values, int32_t* numres, int32_t* ierr,
                                     int32_t* iunt) {
  // A record that could not be finished is refused.
  kvr::forwardCall(
      [&] {
        const std::span<const float> list(values, static_cast<std::size_t>(std::max(*numres, 0)));
        kvr::DINIA(*node, list, *numres, *ierr, *iunt);
      },
      [&] { *ierr = 129; });
}
