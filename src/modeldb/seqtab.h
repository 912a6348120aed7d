// The name sequences, the code conversion and the display-switch save.
//
// VWDFLT, 91 INTEGER words: word 1 is 1 while DSPSAV holds the display switches; SEQTAB,
// the 25 name sequences, is words 12-36 (the packed alpha part of slot k in word 11 + k),
// 37-61 (its numeric part in word 36 + k), 62 (the form: 1 the 8-digit form of up to four
// letters, 0 the 4-digit form of up to two) and 63-87 (a further word per slot). Words 12
// to 91 are the display record that the model keeps in its attribute list.
//
// A packed alpha part names letters by their index in the 47 characters of MODCON (1 the
// blank, 21 "A" .. 46 "Z", 47 the apostrophe): i x 1000000 + j x 10000 + k x 100 + l in
// the 8-digit form, i x 100 + j in the 4-digit form, where an index above 46 stands for
// the index less 26. A new entity of a sequence is named by its letters and number (LO12).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct VwDflt {
  static constexpr int32_t kWords = 91;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline VwDflt VWDFLT;

inline constexpr int32_t kVwSwitchesSaved = 1;
inline constexpr int32_t kSequences = 25;
inline constexpr int32_t kSeqAlphaBefore = 11;    // slot k's alpha part: word 11 + k
inline constexpr int32_t kSeqNumberBefore = 36;   // slot k's numeric part: word 36 + k
inline constexpr int32_t kSeqForm = 62;           // 1 the 8-digit form
inline constexpr int32_t kSeqFurtherBefore = 62;  // slot k's further word: word 62 + k
inline constexpr int32_t kLoadSequence = 11;

// Fills SEQTAB with the default sequences: MODE 2 in the 8-digit form with every number
// 1, any other MODE in the 4-digit form with every number -1 but -2 for slots 5 and 24.
// In the grid vocabulary slots 11 and 21 are BR and BM instead of LO and LM.
void DEFCOD(int32_t mode);

// TEXT (four characters, cut at its length) = the letters of slot K; a blank text for K
// outside 1..25, a blank for a letter index outside 1..47.
void SEQALF(FText text, int32_t k);
void SQA01(FText text);
void SQA02(FText text);
void SQA03(FText text);
void SQA04(FText text);
void SQA05(FText text);
void SQA06(FText text);
void SQA07(FText text);
void SQA08(FText text);
void SQA09(FText text);
void SQA10(FText text);
void SQA11(FText text);
void SQA12(FText text);
void SQA13(FText text);
void SQA14(FText text);
void SQA15(FText text);
void SQA16(FText text);
void SQA17(FText text);
void SQA18(FText text);
void SQA19(FText text);
void SQA20(FText text);
void SQA21(FText text);
void SQA22(FText text);
void SQA23(FText text);
void SQA25(FText text);

// The number of slot K: its magnitude in the 4-digit form, as stored in the 8-digit form;
// 0 for K outside 1..25.
int32_t SEQNUM(int32_t k);
int32_t SQN01();
int32_t SQN02();
int32_t SQN03();
int32_t SQN04();
int32_t SQN05();
int32_t SQN06();
int32_t SQN07();
int32_t SQN08();
int32_t SQN09();
int32_t SQN10();
int32_t SQN11();
int32_t SQN12();
int32_t SQN13();
int32_t SQN14();
int32_t SQN15();
int32_t SQN16();
int32_t SQN17();
int32_t SQN18();
int32_t SQN19();
int32_t SQN20();
int32_t SQN21();
int32_t SQN22();
int32_t SQN23();
int32_t SQN25();

// TEXT = the load sequence's letters followed by its number ("LO1"), blank-padded.
void LODSEQ(FText text);

// OUT = row Q of conversion column T (1..6): 1 argument kind code to sequence slot, 2 a
// second code back to argument kind code, 3 argument kind code to second code, 4 argument
// kind code to name array, 5 computed from Q, 6 entity kind to attribute type. A row
// outside its column gives 0; any other T leaves OUT.
void CODMAP(int32_t t, int32_t q, int32_t& out);

// FLAG not 0 saves the eleven display and message switches and sets them to 0 (word 1 of
// VWDFLT becomes 1); a save while saved keeps the first values and clears again. FLAG 0
// puts the saved values back (word 1 becomes 0).
void DSPSAV(int32_t flag);

}  // namespace kvr
