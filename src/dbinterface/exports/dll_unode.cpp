#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A node that could not be read is answered as one out of range.
extern "C" KVR_EXPORT void dll_unode(int32_t* node, float* xyz, int32_t* status) {
  kvr::forwardCall([&] { kvr::UNODE(*node, std::span<float, 3>(xyz, 3), *status); },
                   [&] { *status = 1; });
}
