// The sets (entity kind 7): named lists of points, lines, surfaces and bodies kept as
// (kind, number) pairs in chains of member blocks, with a free chain of blocks that
// shrinking sets give back and growing sets take again.
//
// SETREC: record ID of named array 19, four words: 1 the first member block, 2 the type
// (1, 2, 3, 4, 6 or their negatives; the sign is ignored where the type is tested), 3 not
// used here, 4 the member kind of a type-3 or type-4 set. Set 1 is never a live set: word
// 1 of its record heads the free chain (0 when empty).
// MBRBLK: record B of named array 20, 63 words: 31 pairs (words 2i-1, 2i), then the next
// block of the chain (0 for the last). A pair whose number is 0 ends the block's list, one
// with a negative number is skipped. A member's kind is its pair's first word in sets of
// type 0, 1, 2 or 6 (SETMXD), and word 4 of the set record in sets of any other type, 3
// and 4 among them (the lines of a type-4 set carry first word 1). MODCNT word 54 is the
// highest block number in use; every walk of a chain stops after that many blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeldb/namrec.h"
#include "runtime/ftext.h"

namespace kvr {

struct SetRec {
  static constexpr int32_t kWords = 4;
  std::array<int32_t, kWords> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

struct MbrBlk {
  static constexpr int32_t kPairs = 31;
  static constexpr int32_t kWords = 2 * kPairs + 1;
  std::array<int32_t, kWords> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
  int32_t& next() { return word(kWords); }
};

inline constexpr int32_t kSetFirstBlock = 1;
inline constexpr int32_t kSetType = 2;
inline constexpr int32_t kSetKind = 4;
inline constexpr int32_t kArrSetNames = 18;
inline constexpr int32_t kArrSets = 19;
inline constexpr int32_t kArrMemberBlocks = 20;

// True when each member of a set of TYPE carries its own kind in its pair: types 0, 1, 2
// and 6, the sign ignored. A set of any other type gives every member the kind in word 4
// of its record.
bool SETMXD(int32_t type);

// The highest member block in use (MODCNT word 54, at most the blocks the store holds),
// and member block B (1..that) into K.
int32_t memberBlockTop();
// The set records the store holds: a set numbered above it has no record to read.
int32_t setsHeld();
void readMemberBlock(int32_t b, MbrBlk& k);

// The pair walk: calls TAKE(first, number) with both words of every live member pair of
// set record R in block order (a number of 0 ends a block's list, a negative one is
// skipped); TAKE answers false to stop. The walk ends at a block number outside
// 1..MODCNT word 54 and after word 54 blocks, so a damaged chain cannot make it run
// longer than the blocks in use.
template <typename Take>
void walkSetPairs(SetRec& r, Take take) {
  const int32_t top = memberBlockTop();
  int32_t b = r.word(kSetFirstBlock);
  for (int32_t seen = 0; b >= 1 && b <= top && seen < top; ++seen) {
    MbrBlk k;
    readMemberBlock(b, k);
    for (int32_t i = 1; i <= MbrBlk::kPairs; ++i) {
      const int32_t number = k.word(2 * i);
      if (number == 0) break;
      if (number < 0) continue;
      if (!take(k.word(2 * i - 1), number)) return;
    }
    b = k.next();
  }
}

// The set walk: as the pair walk, with TAKE(kind, number): the kind is the pair's first
// word in a set whose members carry their kinds (SETMXD), else word 4 of R.
template <typename Take>
void walkSetMembers(SetRec& r, Take take) {
  const bool pairKinds = SETMXD(r.word(kSetType));
  const int32_t setKind = r.word(kSetKind);
  walkSetPairs(r, [&](int32_t first, int32_t number) {
    return take(pairKinds ? first : setKind, number);
  });
}

// Type, kind and counts.
bool SETTOK(int32_t type);
int32_t SETTYG(int32_t id);  // word 2; -1 no such set
int32_t SETKDG(int32_t id);  // word 4 of a type-3 or type-4 set, else 0; -1 no such set
void SETSTY(int32_t id, int32_t type, int32_t& stat);  // -1 no set, -2 not a valid type
void SETSKD(int32_t id, int32_t kind, int32_t& stat);  // -1 no set, -2 KIND outside 1..3
// The numbers of members of kinds 1..4 (0 when the set does not exist).
void SETKCN(int32_t id, int32_t& n1, int32_t& n2, int32_t& n3, int32_t& n4);
int32_t SETNK1(int32_t id);  // -1 no such set
int32_t SETNK2(int32_t id);
int32_t SETNK3(int32_t id);
int32_t SETNK4(int32_t id);
int32_t SETNMB(int32_t id);  // all four; -1 no such set

// LIST(1..N) = the members of KIND in block order, at most CAP (and LIST's size). STAT 0;
// 1 no set |ID|; 2 LIST full with more left; 3 KIND outside 0..4.
void SETKLS(int32_t id, int32_t kind, std::span<int32_t> list, int32_t cap, int32_t& n,
            int32_t& stat);
// N = the count of kind 1..4 and LIST its members; -1 no set, -2 the list failed.
void SETLK1(int32_t id, std::span<int32_t> list, int32_t& n);
void SETLK2(int32_t id, std::span<int32_t> list, int32_t& n);
void SETLK3(int32_t id, std::span<int32_t> list, int32_t& n);
void SETLK4(int32_t id, std::span<int32_t> list, int32_t& n);
// PAIRS (2 words each) = every member as (kind, number), kinds 1..4 in turn; N their
// count; -1 no set, -2 a list failed or PAIRS holds too few.
void SETALL(int32_t id, std::span<int32_t> pairs, int32_t& n);

// Replaces the members of set ID by the N pairs of PAIRS, reusing its blocks, then free
// blocks, then new numbers, and giving left-over blocks to the front of the free chain in
// their old order. TYPE and KIND, when not 0, become words 2 and 4. A set record without
// a block gets one. An entry of the set in the displayed-sets list DSPSL2 gets the type
// word -|type|, the last block and the member count. ID below 2 changes nothing.
void SETWRT(int32_t id, int32_t type, int32_t kind, std::span<const int32_t> pairs, int32_t n);

// Add the points, lines, surfaces or bodies LIST(1..N), or the pairs PAIRS(1..N), that
// exist and are not members yet (a number given twice is added twice); remove them. STAT
// 0; -1 no such set; -6 no work space; -7 the set's type does not take the kind; -8 a pair
// of a kind outside 1..4 (nothing written). Numbers outside 1..the count of their kind
// are neither added nor removed.
void SETAPT(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETALN(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETASF(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETABD(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETAMX(int32_t id, std::span<const int32_t> pairs, int32_t n, int32_t& stat);
void SETRPT(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETRLN(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETRSF(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETRBD(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
void SETRMX(int32_t id, std::span<const int32_t> pairs, int32_t n, int32_t& stat);

// Names, as the shape names (namrec.h) over named array 18 and MODCNT word 53.
void SETLAB(int32_t id, NameWords& label, int32_t& stat);
void SETNMT(int32_t id, FText text, int32_t& stat);
int32_t SETFNM(const FText* text, const NameWords* label);
void SETRNM(int32_t id, int32_t& stat, const FText* text, const NameWords* label,
            const bool* check);

}  // namespace kvr
