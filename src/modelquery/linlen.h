// LINLEN: the length of a line by its type, shared by the line queries and the placing of
// points in entities. It also keeps the line's length code in word 1 of the line record:
// trunc(L / S x 32767.0), S the model size (GEOSTA word 7), in the loaded model only.
#pragma once

#include <cstdint>

namespace kvr {

// LENGTH of internal line LINE. STATUS 0 done (the length code stored); 1 the length is
// below the model tolerance (GEOSTA word 8; the length is still answered); 2 an arc or
// curve could not be evaluated, or a record it names lies outside the store, and the
// chord is answered; 3 the line type (word 7 div 100) is not 1-8, or the line or one of
// its end points lies outside the store (LENGTH 0). No code is stored on status 1 to 3,
// nor while S is below the smallest real.
void LINLEN(const int32_t& line, float& length, int32_t& status);

}  // namespace kvr
