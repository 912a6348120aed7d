// The text-code utilities of the host: codes to text (UA1CHA), text to codes (USLCHA),
// upper case (UCCONV) and the next token of a code line (UDECOD).
#include <algorithm>

#include "modelquery/queries.h"
#include "runtime/codtxt.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kTextCodes = 80;  // the text of UA1CHA

}  // namespace

void UA1CHA(std::span<const int32_t> codes, const int32_t& n, FText text) {
  // The text holds 80 characters: more codes would be written past it.
  const int32_t count = std::min({n, kTextCodes, static_cast<int32_t>(codes.size())});
  CODTXT(codes, count, text);
}

void USLCHA(FText text, const int32_t& start, std::span<int32_t> codes, int32_t& last) {
  // A start below 1 would write before the host's array.
  if (start < 1) {
    last = start - 1;
    return;
  }
  TXTCOD(text, start, codes, last);
}

void UCCONV(std::span<int32_t> codes, const int32_t& first, const int32_t& last) {
  // Only the positions of a code line (1..255) are changed.
  const int32_t a = std::max(first, 1);
  const int32_t b = std::min({last, kMaxTextCodes, static_cast<int32_t>(codes.size())});
  UPCCOD(codes, a, b);
}

void UDECOD(std::span<const int32_t> codes, const int32_t& start, const int32_t& last,
            const int32_t& mode, int32_t& kind, int32_t& first, int32_t& end, int32_t& ivalue,
            float& rvalue) {
  NXTTKN(codes, start, last, mode, kind, first, end, ivalue, rvalue);
}

}  // namespace kvr
