// The small services of the set and neighbour walks: the writers of a set's surface or
// line members into the search work array (SETSRF, SETLIN), the chained list store that
// keeps variable-length lists of sets (FACSRC), and the element of a point (PNTELM).
//
// The chained list store lives in named array 17 beside the INTEGER attribute values. A
// list is a ring of blocks addressed by the position of its first block. A block's first
// word is +/- the position of the next block (the last block points back to the first):
// positive, the block holds one entry in its second word; negative, its second word is
// the entry count k and the entries follow in words 3..k+2. An entry of 0 is a removed
// entry, passed over when read. Every walk of a ring stops after as many words as array 17
// holds, so a ring whose pointers never come back ends with status 1.
//
// FACSRC keeps one reading cursor from call to call (the list it started, the current
// block, its entry count and how many of them were read); it is session data, emptied by
// resetListCursor when a query session starts.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The chained list store of named array 17.
inline constexpr int32_t kArrListStore = 17;

// FACSRC operations.
inline constexpr int32_t kListStart = 0;
inline constexpr int32_t kListRead = 1;
inline constexpr int32_t kListWrite = 2;
inline constexpr int32_t kListRemove = 3;
inline constexpr int32_t kListReread = 4;

// Writes the surface (SETSRF) or line (SETLIN) members of stored set |SET| into the
// search work array from POSITION on; POSITION returns as the last position written, or
// the given position less 1 when nothing was. A set whose members carry their kinds
// (types 0, 1, 2, 6) gives each member of the kind, times the sign of SET; a set of
// another type gives its members only when its member kind is the writer's, each times
// the sign of SET and the sign of its first word (SETSRF) or the whole first word
// (SETLIN). SETLIN passes over composite lines and takes a SET of 0 as negative. For a
// negative SET the words written are then reversed in place. A set that does not exist
// writes nothing; a POSITION below 1 writes nothing and is left as it was.
void SETSRF(int32_t set, int32_t& position);
void SETLIN(int32_t set, int32_t& position);

// The chained list store. OPERATION:
//  0 start: the cursor is set to the list at POSITION; COUNTOUT 0.
//  1 read: the next COUNT entries (at most what VALUES holds) are read into VALUES,
//    crossing blocks; when the ring comes back to its start first, COUNTOUT is -1 and
//    VALUES holds the entries read so far; otherwise the entries read are compacted by
//    removing zeros and COUNTOUT is the number left.
//  2 write: POSITION 0 or less makes a new list of the COUNT entries of VALUES at the end
//    of array 17 (one entry: a 2-word block whose header is its own position; more: a
//    block of COUNT + 2 words) and answers its position in POSITION; a POSITION above 0
//    appends them as a new block at the end of that ring.
//  3 remove: every entry of the list at POSITION that equals one of the COUNT values is
//    set to 0.
//  4 reread: the last COUNT entries read in the current block are read again into
//    VALUES; COUNTOUT the number read.
// STATUS 0 done; 1 an unknown operation, a position, count or block the store does not
// hold, a ring that does not come back within the words of array 17, a read without a
// started list. On status 1 the cursor stays where it was.
void FACSRC(int32_t operation, int32_t& position, int32_t count, std::span<int32_t> values,
            int32_t& countOut, int32_t& status);

// Empties the cursor of FACSRC (the session resets of USTRT2 call it).
void resetListCursor();

// The element of point POINT (its record word 5, in absolute value): FIRST = LAST = that
// element and TYPE 20 (the point element shape) when it is at most the highest element
// number, 0 included; else all three 0, as for a number that is no point.
void PNTELM(int32_t point, int32_t& first, int32_t& last, int32_t& type);

}  // namespace kvr
