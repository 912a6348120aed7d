// Entity node selection and flag merge, for the set-up of a loaded model: the nodes of a
// point, line, surface, body, set or single node as one list (ENTRSL, with SETNDL for
// sets), and the merge of a signed bit mask into a node's flag word (FLGMRG).
//
// The nodes of a point, line, surface or body come from the node collectors of the model
// queries (the table DSCDSP), each called with the list position and the room left.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The nodes of entity NUMBER of KIND (1 point, 2 line, 3 surface, 4 body, 7 set, 8 the
// single node of external number NUMBER) into LIST(1..COUNT), at most CAPACITY of them.
// NONE 0 when nodes were found, else 1 (also for other kinds, and for any kind while
// MODCNT word 57 is 1: no mesh).
void ENTRSL(int32_t kind, int32_t number, std::span<int32_t> list, int32_t capacity,
            int32_t& count, int32_t& none);

// The nodes of the points, lines, surfaces and bodies of set |NUMBER| into LIST(1..COUNT),
// each node once. Each collector gets the room CAPACITY - COUNT - 1; when that is gone,
// or the list has more than 4 x MODCNT word 16 distinct nodes, message 0025 ("Too many
// nodes on" the set, the limit 4 x word 16) is posted and the routine ends with the
// COUNT reached. STAT is left as the last collector answered it.
void SETNDL(int32_t number, int32_t& count, std::span<int32_t> list, int32_t capacity,
            int32_t& stat);

// WORD with the bits of a positive MASK set, or those of |MASK| for a negative MASK
// cleared; bits 0 to 30 only.
void FLGMRG(int32_t& word, int32_t mask);

}  // namespace kvr
