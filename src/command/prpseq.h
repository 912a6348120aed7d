// The state that the property words share with the special kinds, and the packing of a
// token into name words.
//
//  - PRPSEQ: the expected-answer sequence of a property definition. A position word p and
//    100 entries; entry p is the answer expected next (1 an existing point name, 2 NORMAL
//    or a degree of freedom, 3 a real value, 4 a name, 5 a real value or an existing point
//    name, 6 a definition). A positive entry is required, a negative one optional, 0 ends
//    the sequence; p outside 1..100 expects nothing. It is 0 at load.
//  - DOFNAM: the degree-of-freedom names, 31 names of 12 characters in two sets (names
//    1-16 and 17-31), and the further lists A (for the first set) and B (for the second)
//    of at most 10 names each, with their counts. Each name is three A4 words. Nothing in
//    the library fills it; it starts blank so that its names show as blanks, never NULs.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/codtxt.h"

namespace kvr {

struct PrpSeq {
  static constexpr int32_t kEntries = 100;

  int32_t position = 0;
  std::array<int32_t, kEntries> entries{};

  // Entry K, 1..100.
  int32_t& entry(int32_t k) { return entries[static_cast<size_t>(k - 1)]; }
  // Entry p, or 0 when p lies outside 1..100 (nothing expected).
  int32_t expected() const {
    return position >= 1 && position <= kEntries ? entries[static_cast<size_t>(position - 1)] : 0;
  }
};

inline PrpSeq PRPSEQ;

// Sets PRPSEQ up afresh: the position goes to 1 and the codes added fill entries 1, 2, ...
// in order, ended by a 0. The codes come from definitions in the model, whose counts are
// not bounded: what does not fit into the 100 entries is dropped, the ending 0 included,
// and the entries written stay.
class SequenceWriter {
 public:
  SequenceWriter() { PRPSEQ.position = 1; }

  // Appends CODE TIMES times.
  void add(int32_t code, int32_t times = 1) {
    for (int32_t t = 0; t < times && next_ <= PrpSeq::kEntries; ++t) PRPSEQ.entry(next_++) = code;
  }
  // Appends the ending 0.
  void end() { add(0); }

 private:
  int32_t next_ = 1;
};

struct DofNam {
  static constexpr int32_t kNames = 31;
  static constexpr int32_t kListNames = 10;
  static constexpr int32_t kNameWords = 3;  // 12 characters
  using Name = std::array<int32_t, kNameWords>;

  DofNam() {
    for (Name& n : names) n.fill(kBlankCode);
    for (Name& n : listA) n.fill(kBlankCode);
    for (Name& n : listB) n.fill(kBlankCode);
  }

  std::array<Name, kNames> names;
  std::array<Name, kListNames> listA;
  std::array<Name, kListNames> listB;
  int32_t countA = 0;
  int32_t countB = 0;

  // Name K, 1..31; list names K, 1..10.
  std::span<int32_t, kNameWords> name(int32_t k) { return names[static_cast<size_t>(k - 1)]; }
  std::span<int32_t, kNameWords> nameA(int32_t k) { return listA[static_cast<size_t>(k - 1)]; }
  std::span<int32_t, kNameWords> nameB(int32_t k) { return listB[static_cast<size_t>(k - 1)]; }
};

inline DofNam DOFNAM;

// Packs the character codes FIRST..LAST of CODES (at most 80 characters) four to a word
// into WORDS from word POSITION on, the last word blank-padded, and answers in END the
// last word written (POSITION - 1 when nothing was). The packing stops at the end of
// WORDS, so a caller's two name words receive at most 8 characters, and at the end of
// CODES.
void FMTVAL(std::span<const int32_t> codes, int32_t first, int32_t last, int32_t position,
            std::span<int32_t> words, int32_t& end);

}  // namespace kvr
