// The grid vocabulary: while the application mode word is 7, the terminology switch of
// the journals (and the other callers of GRIDMD) speak of vertices and cells instead of
// nodes and elements. No routine of the library sets the word.
#pragma once

#include <cstdint>

namespace kvr {

inline constexpr int32_t kGridVocabularyMode = 7;

inline int32_t gApplicationMode = 0;

// 1 when the application mode word is 7, else 0.
int32_t GRIDMD();

}  // namespace kvr
