// dll_uequa: the host's arrays of term flags and factors are given no size; they hold 16
// flags and one factor for every term of the equation, as the header asks. An equation
// has at most one term per node of the model, so nothing beyond that is ever written.
#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"
#include "runtime/modcnt.h"

// An equation that could not be read is answered as a missing one.
extern "C" KVR_EXPORT void dll_uequa(int32_t* number, int32_t* list, int32_t* size, int32_t* node,
                                     int32_t* flags, float* value6, int32_t* terms,
                                     int32_t* termflags, float* factors, float* value4,
                                     int32_t* status) {
  kvr::forwardCall(
      [&] {
        const auto most = static_cast<size_t>(std::max(kvr::MODCNT.word(kvr::kCntHighestNode), 0));
        kvr::UEQUA(*number, std::span<int32_t>(list, static_cast<size_t>(std::max(*size, 0))),
                   *size, *node, std::span<int32_t, 16>(flags, 16), *value6, *terms,
                   std::span<int32_t>(termflags, 16 * most), std::span<float>(factors, most),
                   *value4, *status);
      },
      [&] { *status = 2; });
}
