// The text items that the material and property text queries (UMATE, UPHYSE) turn into
// lines: a REAL array whose value 1 (truncated) is the item count m; item 1 starts at
// value 2 with its word count w (truncated; a count above 20 is taken as 20, also for
// finding the next item, and one below 0 as 0), followed by w words of four characters
// each (the bits of the REAL); the next item's word count follows those words.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvr {

// The longest item, in words (80 characters).
inline constexpr int32_t kTextItemWords = 20;

// The number of values that the m items of VALUES take, value 1 included: what a host
// array of text items holds. Reads value 1 and each item's word count.
std::size_t textItemsExtent(const float* values);

}  // namespace kvr
