// The terminology switch: while the grid vocabulary is on, finite-element words of a
// code line are replaced by grid words ("NODE" by "VERTEX", "elements" by "cells").
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Replaces the words of codes 1..N by their grid words and sets N to the new length. The
// line keeps the blanks between words and never grows past the end of CODES or 255.
void VOCSWP(std::span<int32_t> codes, int32_t& n);

}  // namespace kvr
