#include "command/prpseq.h"

#include <algorithm>

namespace kvr {

namespace {
constexpr int32_t kScratchCharacters = 80;
}

void FMTVAL(std::span<const int32_t> codes, int32_t first, int32_t last, int32_t position,
            std::span<int32_t> words, int32_t& end) {
  end = position - 1;
  if (first < 1 || position < 1) return;
  const int32_t available = static_cast<int32_t>(codes.size());
  const int32_t stop = std::min({last, available, first + kScratchCharacters - 1});
  const int32_t characters = stop - first + 1;
  if (characters < 1) return;
  const int32_t room = static_cast<int32_t>(words.size()) - position + 1;
  const int32_t count = std::min((characters + 3) / 4, room);
  for (int32_t w = 0; w < count; ++w) {
    uint32_t word = 0;
    for (int32_t b = 3; b >= 0; --b) {
      const int32_t k = 4 * w + b;  // character index from 0
      const char c = k < characters ? charOf(codes[static_cast<size_t>(first - 1 + k)]) : ' ';
      word = (word << 8) | static_cast<unsigned char>(c);
    }
    words[static_cast<size_t>(position - 1 + w)] = static_cast<int32_t>(word);
    end = position + w;
  }
}

}  // namespace kvr
