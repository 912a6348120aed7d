#include "geometry/curent.h"

namespace kvr {

void CURENT(int32_t& word2, int32_t& word1) {
  const int64_t i = CURTAB.word(1);
  // An index the table cannot hold would read beyond it.
  if (i < 0 || 3 * i + 2 > CurEntTable::kWords) {
    word2 = 0;
    word1 = 0;
    return;
  }
  word2 = CURTAB.word(static_cast<int32_t>(3 * i + 2));
  word1 = CURTAB.word(static_cast<int32_t>(3 * i + 1));
}

}  // namespace kvr
