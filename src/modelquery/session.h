// The query session: what USTRT2 derives from a loaded model for the queries beside what
// the file holds. Every later query reads it; nothing of it is written to the file, and
// the next USTRT2 builds it anew.
//
// SESCNT: word 1 the number of element groups, word 2 the largest value 3 (truncated) of
// the load entries (0 without loads).
//
// The node-condition array, named array 22 of 3-word records. Records 1..N (N the highest
// node) are NODCND, one per node: word 1 its flag word (the masks of the conditions of
// types 1 and 4 that reach it), word 2 the coordinate system of the entity that owns it
// (0 none), word 3 the number of the last condition that reached it (0 none). Behind them
// TGTREC, one record per target entity, first of the loads, then of the conditions, then
// of the type -6 entries: word 1 the owner's number, word 2 the target code (number x 10
// + kind), word 3 the code again, for a type -6 entry its value 2. The three runs are
// counted in MODCNT words 44 to 46 (word 47 cleared beside them). A load's values 5 and 6
// hold its first and last target record + 0.1 (an empty range, value 6 = value 5 - 1,
// when it has none).
//
// The group words of the entities: UGRPNO numbers the element groups in the hundreds of
// point word 8, line word 12, surface word 10 and body word 13.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct SesCnt {
  static constexpr int32_t kWords = 2;
  std::array<int32_t, kWords> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline SesCnt SESCNT;

inline constexpr int32_t kArrNodeConditions = 22;
inline constexpr int32_t kNodeConditionWords = 3;
inline constexpr int32_t kCntLoadTargets = 44;
inline constexpr int32_t kCntConditionTargets = 45;
inline constexpr int32_t kCntEntryTargets = 46;
inline constexpr int32_t kCntTargetsSpare = 47;

// The node condition records: flags and last condition from the conditions' targets,
// coordinate systems from the owning bodies, surfaces, lines and points.
void UNDATR();

// The target records of loads, conditions and type -6 entries, and the loads' values 5
// and 6.
void ULDATR();

// The element groups of the points, lines, surfaces and bodies, and SESCNT.
void UGRPNO();

// Makes the node collectors NDPNT..NDBOD, USET2, UNODEG, the element range UELEMG and the
// mesh along a line CONMSH the model database's entries of its query table (DSCDSP), and
// UNODE, UPNT2, USURF2, the coordinate-system routines, the set writers SETSRF and SETLIN,
// the list store FACSRC and NAWORD the geometry kernel's (GEODSP). USTRT2 calls it at each
// session start.
void installNodeQueries();

}  // namespace kvr
