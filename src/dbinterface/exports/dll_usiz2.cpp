#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

extern "C" KVR_EXPORT void dll_usiz2(int32_t* sizes) {
  kvr::forwardCall([&] { kvr::USIZ2(std::span<int32_t, 50>(sizes, 50)); });
}
