// The loaders of a model's first two datasets: DIPNC turns the nodal coordinates (key 2)
// into dataset type 5 and DIPET the element topology (key 3) into dataset type 6. Both
// fill the model summary counters DICNT. Every later loader that refers to nodes or
// elements walks these two datasets (EntryCursor).
//
// Node entry (DBLEVL.nodeEntryWords = 3w + 4 words): 0, node id, sequence number (1, 2,
// ...), ISYS, then x, y, z of w words each, moved bit for bit.
//
// Element entry (RECCLS(type) words): element id, sequence number, type, IEATT1, IEATT2,
// ISYS, corner count + 1, then node k of the ELNORD order at topologyNodeWord(k).
//
// Both report 299 under their own name with a location: DIPNC 54 (a node id below 1), 60
// (an id not above the one before), 500 (no node); DIPET 320 (a type of dimension 0 or
// 4), 360 (a node id below 1), 550 (no element). A failed stream read is 225 under
// "DILIM ". After a refusal the dataset is not recorded.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

void DIPNC(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPET(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);

}  // namespace kvr
