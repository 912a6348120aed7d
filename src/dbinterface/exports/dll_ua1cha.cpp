#include <algorithm>
#include <cstdint>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// Codes 1..N of the host's array, at most the 80 the text holds.
extern "C" KVR_EXPORT void dll_ua1cha(int32_t* codes, int32_t* n, char* text) {
  kvr::forwardCall([&] {
    const int32_t count = std::clamp(*n, 0, kvr::kUA1CHATextLength);
    kvr::UA1CHA(std::span<const int32_t>(codes, static_cast<size_t>(count)), *n,
                kvr::FText(text, kvr::kUA1CHATextLength));
  });
}
