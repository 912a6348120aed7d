// dll_uslcha: the text is as long as the host's second argument says (a negative length
// counts as 0); that length is not passed on. The codes go to the host's array from the
// start position on, one a character of the text at most.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "dbinterface/hostcall.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"

// A text that could not be converted stores nothing.
extern "C" KVR_EXPORT void dll_uslcha(char* text, int32_t* length, int32_t* start, int32_t* codes,
                                      int32_t* last) {
  kvr::forwardCall(
      [&] {
        const int32_t n = std::max(*length, 0);
        const int64_t room = *start < 1 ? 0 : int64_t{*start} - 1 + n;
        const auto words = static_cast<size_t>(
            std::min<int64_t>(room, std::numeric_limits<int32_t>::max()));
        kvr::USLCHA(kvr::FText(text, n), *start, std::span<int32_t>(codes, words), *last);
      },
      [&] { *last = *start - 1; });
}
