// TOPARR: the copy of the element topology into the element geometry work arrays, whose
// layout and readers are the model database's (modeldb/elmarr.h).
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/elmarr.h"

namespace kvr {

// Copies the entries of dataset TYPE (the display build passes 6, the element topology)
// into the work arrays. The dataset's pages are read into page-buffer slot 2 of BUFFER
// (words P + 1 to 2P); an assembly (numbering mode not 1) is walked leaf by leaf with
// RESLVL, its numbering offsets applied through the accessors, and then returned to with
// RESLVL level -1. STATUS 0, or 1 when the dataset is missing (from a component), the
// walk fails or the assembly cannot be reopened; the end markers are then not written.
void TOPARR(int32_t type, std::span<int32_t> buffer, int32_t& status);

}  // namespace kvr
