// The name loaders: DIPNNM turns a node-names dataset (key 54) into dataset type 54 and
// DIPENM an element-names dataset (key 55) into dataset type 55. Each name record (tag,
// id, the name as 8 character codes) is matched to its node or element by a walk over
// the nodal coordinates or the element topology (EntryCursor), in the stored order.
//
// Name entry (10 words, RECTXT): the id, the entity's sequence number (RECNOD, RECELM),
// the 8 name codes. Word 6 of every page of both datasets is 1.
//
// After a stored name the next search starts at the entity after it; the first search
// starts at the first entity. Node names: a node passed over is a skipped record (the
// information line "INVALID NODE NUMBER FOR NODE NAMES" under "DILIM " with the id; IERR
// stays 0); running past the last node is 238 under "DILIM " with the id; no name stored
// is 252 under "DILIM ". Element names: an element passed over stops the loader with
// 233 under "DIPENM" with the id; running past the last element is 299 under "DILIM ";
// no name stored is 257 under "DILIM ". Names already loaded, or no nodes (no topology),
// are 299 under "DIPNNM" (127 under "DIPENM") with 9100, found before a page is taken.
// A failed stream read is 225 under "DILIM ". After a refusal nothing is recorded.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

void DIPNNM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPENM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);

}  // namespace kvr
