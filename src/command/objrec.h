// Record readers of the object lists: the component slots of the results attribute record
// in memory, the kind of a load case, and the window slots of the display state.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// Words of the results attribute record (control record 106) that the component lists
// read: the number of components, the first of ten component slots of 8 codes each, and
// the page of the record that holds the next ten.
inline constexpr int32_t kComponentCountWord = 15;
inline constexpr int32_t kFirstComponentWord = 16;
inline constexpr int32_t kComponentLinkWord = 96;
inline constexpr int32_t kComponentCodes = 8;
inline constexpr int32_t kComponentSlots = 10;

// Word 15 of the record 106 in memory: the number of components.
void CMPCNT(int32_t& count);

// Word 96 of the record 106 in memory: the page of the record with the next ten.
void CMPLNK(int32_t& link);

// NAME receives the 8 codes of component slot SLOT (1..10) of the record 106 in memory
// (cut at its capacity); a slot outside 1..10 gives blank codes.
void CMPENT(int32_t slot, std::span<int32_t> name);

// The load-case kind of entry ENTRY of index page PAGE (class 104), read into BUFFER
// (one index page): from the entry's type word w (word 11), 1 when w >= 1, 2 when w = -2,
// 3 when w < -40, 4 when w = -4, -1 otherwise. KIND 0 when PAGE is 0 or below (no
// load-case page) or the entry lies outside the page.
void LCKIND(int32_t entry, std::span<int32_t> buffer, int32_t page, int32_t& kind);

// The window slots are read as the display state keeps them in SLTTAB (a slot is in use
// while its key is not 0); nothing is cleared before they are read.
//
// COUNT receives the number of window slots in use.
void WINCNT(int32_t& count);

// The window slot SLOT: -k the k-th slot in use among the 20, k > 0 the slot whose key is
// k (SLTFND). NOTFOUND 1 when there is none (nothing else set), else 0 with the slot's
// in-use word (its key), name, type word, two flags and directory text.
void WINSLT(int32_t slot, int32_t& inUse, FText name, int32_t& typeWord, int32_t& flag1,
            int32_t& flag2, FText directory, int32_t& notFound);

}  // namespace kvr
