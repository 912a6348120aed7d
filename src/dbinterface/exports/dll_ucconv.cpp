#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"
#include "runtime/codtxt.h"

// Positions FIRST..LAST of the host's array, never beyond position 255 of a code line.
extern "C" KVR_EXPORT void dll_ucconv(int32_t* codes, int32_t* first, int32_t* last) {
  kvr::forwardCall([&] {
    const int32_t words = std::clamp(*last, 0, kvr::kMaxTextCodes);
    kvr::UCCONV(std::span<int32_t>(codes, static_cast<size_t>(words)), *first, *last);
  });
}
