#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

extern "C" KVR_EXPORT void dll_usize(int32_t* sizes) {
  kvr::forwardCall([&] { kvr::USIZE(std::span<int32_t, 20>(sizes, 20)); });
}
