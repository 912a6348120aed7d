// Entity node collection: the nodes of a point, line, surface or body marked in a caller's
// flag array, the reader of the packed node lists of named array 23, a duplicate remover,
// and the connection chain that orders the lines of a line or of a set of lines and
// returns their nodes from one end to the other.
//
// Packed id lists: named array 23 holds records of 32 words; list position P is word
// (P-1) mod 32 + 1 of record (P-1) div 32 + 1. An entry's sign is ignored and an entry above
// the id limit of IDPACK reads as 0. A list ends at an entry 0, at an entry above the
// highest node number (MODCNT word 10), or after MODCNT word 16 entries. A line's and a
// surface's list start at the position in word 13 (sign ignored; 0 none); lines of type 99
// and surfaces whose word 6 has (word 6 div 100) mod 100 = 99 have none.
//
// Node flags: FLAGS(n) = 1 for each node n found, NMAX raised to the largest n seen; flags
// are never cleared nor NMAX lowered, so several entities can be collected into one array.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kArrPackedLists = 23;
inline constexpr int32_t kListBlockWords = 32;

// Mark the nodes of point, line, surface or body ID in FLAGS(1..LIMIT) (never beyond what
// FLAGS holds). STAT 0 done; 9 a node above LIMIT (NMAX 0, the routine ends there); for
// lines, surfaces and bodies also the non-zero status of the last element connectivity
// read of the mesh range (NMAX 0). An entity that does not exist marks nothing.
void NODPNT(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat);
void NODLIN(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat);
void NODSRF(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat);
void NODBDY(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat);

// The entry at list position POS into VAL, POS advanced by one. BLOCK keeps the record of
// array 23 between calls: it is read when POS is the first slot of its record, or when VAL
// is negative on input. A negative POS is a list of one entry: VAL = -POS, POS unchanged.
// A position beyond the stored lists reads as 0.
void LSTNXT(int32_t& pos, std::span<int32_t, kListBlockWords> block, int32_t& val);

// Removes later duplicates from LIST(1..N) in place, keeping the first of each value in
// order; NOUT the number kept (1 for N below 0, as for N = 1).
void LSTUNQ(std::span<int32_t> list, int32_t n, int32_t& nout);

// The nodes of the chain of line ID (KIND 2) or of the lines of set ID (KIND 7) into
// LIST(1..NNOD) in order from one chain end to the other, each node once; CLASS the element
// class of the mesh (1 for element types 3 and 5, 2 for 7, 9 and 10). LSIZE is the room of
// LIST (which also takes the set's line numbers and the mesh collection's work area), LCAP
// the room for the set's lines, MAXN that of the work array NODES. LTAB holds the line
// table, 7 words an entry (line, 0, its two end points, 0, the point-table entries of its
// ends), at most 20 entries a set line; PTAB the point table, 6 words an entry (point,
// line ends there, first and second line, their line-table entries), at most twice as
// many. STAT 0 done; 1 bad KIND, no lines, a line of type 4, 6 or 99, a mesh, element
// type or class refused, three line ends at a point, or not exactly two chain ends; 2 the
// set has more lines than LCAP, or the chain more line or point entries than the tables
// hold or more nodes than MAXN or LSIZE (NNOD the count reached); 3 the mesh collection
// lacks work space; 9 a node query failed.
void LNCHAN(int32_t kind, int32_t id, std::span<int32_t> list, int32_t lsize, int32_t& nnod,
            int32_t& cls, int32_t lcap, int32_t maxn, std::span<int32_t> ltab,
            std::span<int32_t> ptab, std::span<int32_t> nodes, int32_t& stat);

}  // namespace kvr
