#include "runtime/gridmd.h"

namespace kvr {

int32_t GRIDMD() { return gApplicationMode == kGridVocabularyMode ? 1 : 0; }

}  // namespace kvr
