// The set queries: the members of a set sorted by kind (SETMBR, with their counts in
// SETCNT), the nodes of a set's members marked in a flag array (NDSET), and the one-word
// access to a named array through which the searches fill their work array (NAWORD).
// USET2, the host's member list of one kind, is declared with the queries (queries.h).
//
// Sets are numbered in the store from 2: stored set 1 heads the chain of free member
// blocks and is never a set. The queries number sets one lower than the store. Members
// are read through the set walk of the model database (setrec.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "geometry/setcnt.h"

namespace kvr {

// Sorts the existing points, plain lines, composite lines, surfaces and bodies of stored
// set |SET|, in that order and each in block order, into LIST (at most CAPACITY of them
// and never past LIST's end), or, for a negative SET, into positions 1.. of the search
// work array. KIND, FIRST and LAST tell the highest-dimension group present: its kind and
// its positions (lines count the composite lines with them); all 0 when the set does not
// exist or holds nothing. SETCNT words 2-8 get the counts. When the members reach 5 x L
// (L the node limit of MODCNT word 16) message F0000 is posted once, with 9, that
// position, L and the member.
void SETMBR(int32_t set, std::span<int32_t> list, int32_t capacity, int32_t& kind,
            int32_t& first, int32_t& last);

// Marks the nodes of the points, lines, surfaces and bodies of stored set |SET| in MARKS
// (MARKS(n) > 0 for node n, at most SIZE of them): COUNT the highest node marked. STATUS
// 0, or the first non-zero status of a marker (9 a node above SIZE, COUNT 0). A missing
// set marks nothing.
void NDSET(int32_t set, int32_t& count, std::span<int32_t> marks, int32_t size, int32_t& status);

// One INTEGER word of named array K: OPERATION 1 reads word INDEX into VALUE, -1 writes
// VALUE there (growing the array); any other operation does nothing. A bad index ends the
// run as the store's transfer ends it.
void NAWORD(int32_t operation, int32_t k, int32_t index, int32_t& value);

}  // namespace kvr
