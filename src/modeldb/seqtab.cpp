// The name sequences, the code conversion and the display-switch save.
#include "modeldb/seqtab.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "messages/synsta.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/gridmd.h"
#include "runtime/journal.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

constexpr int32_t kEightDigit = 2;
constexpr int32_t kAlphaChars = 4;
constexpr int32_t kLetterShift = 26;
constexpr int32_t kLastLetter = 46;
constexpr std::size_t kNumberField = 10;

// The default letters of slots 1..25 in the 4-digit form; the 8-digit form is the same
// code times 10000.
constexpr std::array<int32_t, kSequences> kDefaultCodes = {
    3600, 3200, 3900, 2200, 3925, 3928, 4038, 3321, 3628, 2339,  // 1-10
    3235, 2335, 3325, 3621, 4400, 3324, 3624, 3224, 4023, 3923,  // 11-20
    3233, 3825, 3335, 3839, 2623};                               // 21-25
constexpr int32_t kEightDigitFactor = 10000;
constexpr int32_t kGridLoadSlot = 11;
constexpr int32_t kGridLoadCode = 2238;  // BR
constexpr int32_t kGridLastSlot = 21;
constexpr int32_t kGridLastCode = 2233;  // BM
constexpr int32_t kShortNumber = -1;
constexpr int32_t kLongNumberSlots[] = {5, 24};
constexpr int32_t kLongNumber = -2;

int32_t& alpha(int32_t k) { return VWDFLT.word(kSeqAlphaBefore + k); }
int32_t& number(int32_t k) { return VWDFLT.word(kSeqNumberBefore + k); }

// The character of letter index I (1..47) of MODCON; a blank for any other index.
char letter(int32_t i) {
  if (i < 1 || i > kModCharacters) return ' ';
  return charOf(MODCON.word(kModFirstCode + i - 1));
}

// A conversion column: ROWS values for rows 1..ROWS, built from (row, value) pairs and
// runs of rows whose value is the row plus an offset.
template <int32_t Rows>
struct Column {
  std::array<int32_t, Rows> v{};
  constexpr Column& at(int32_t q, int32_t value) {
    v[static_cast<std::size_t>(q - 1)] = value;
    return *this;
  }
  constexpr Column& run(int32_t from, int32_t to, int32_t offset) {
    for (int32_t q = from; q <= to; ++q) at(q, q + offset);
    return *this;
  }
  constexpr Column& same(std::initializer_list<int32_t> rows, int32_t value) {
    for (int32_t q : rows) at(q, value);
    return *this;
  }
  int32_t row(int32_t q) const { return q >= 1 && q <= Rows ? v[static_cast<std::size_t>(q - 1)] : 0; }
};

constexpr int32_t kShortRows = 47;
constexpr int32_t kLongRows = 80;

// Argument kind code to sequence slot.
constexpr auto kToSlot = Column<kShortRows>{}
                             .at(9, 15)
                             .run(11, 28, -10)
                             .at(37, 19).at(38, 20).at(39, 21).at(42, 22)
                             .at(44, 23).at(46, 24).at(47, 25);
// Second code back to argument kind code.
constexpr auto kFromSecond = Column<kLongRows>{}
                                 .run(1, 12, 10)
                                 .at(13, 24).at(16, 23).at(17, 26).at(18, 27).at(19, 28)
                                 .at(20, 46)
                                 .run(21, 32, -10)
                                 .at(33, 24).at(36, 23).at(37, 26).at(38, 27).at(39, 28)
                                 .same({51, 52}, 9)
                                 .at(60, 37).at(61, 38).at(62, 39).at(63, 21).at(64, 28)
                                 .at(65, 42).at(66, 44)
                                 .at(70, 37).at(71, 38).at(72, 39).at(73, 21).at(74, 28)
                                 .at(75, 42).at(76, 44).at(77, 46).same({78, 79}, 47);
// Argument kind code to second code.
constexpr auto kToSecond = Column<kShortRows>{}
                               .at(9, 51)
                               .run(11, 22, -10)
                               .at(23, 16).at(24, 13).at(26, 17).at(27, 18).at(28, 19)
                               .at(37, 60).at(38, 61).at(39, 62).at(42, 65).at(44, 66)
                               .at(46, 20).at(47, 78);
// Argument kind code to name array.
constexpr auto kToNameArray = Column<kShortRows>{}
                                  .at(11, 1).at(12, 3).at(13, 5).at(14, 7).at(15, 18)
                                  .at(16, 9)
                                  .same({17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28}, 14)
                                  .same({37, 38, 39, 44, 47}, 14)
                                  .at(42, 27).at(46, 35);
// Entity kind to attribute type.
constexpr auto kToAttribute = Column<kShortRows>{}
                                  .at(5, 2).at(10, 4).at(11, 3).at(25, 8).at(30, 9)
                                  .at(33, 5).at(34, 6).at(35, -6).at(36, -3).at(37, -2)
                                  .at(38, -5).at(39, -7).at(40, -8).at(41, -9).at(44, -10)
                                  .at(47, -11);

int32_t computedColumn(int32_t q) {
  if (q < 1 || q > kLongRows) return 0;
  int32_t v = 0;
  if (q >= 70) {
    v = q - 50;
  } else if (q <= 39) {
    v = q - 20;
  }
  return v > 28 ? 0 : v;
}

// The eleven switches of DSPSAV, in their order, and the values a save holds.
constexpr int32_t kSwitches = 11;
std::array<int32_t, kSwitches> gSaved{};

std::array<int32_t*, kSwitches> switches() {
  DisplayCopy& d = DSPSTA.state;
  return {&DSPTAB.switchWord(1),        &DSPTAB.switchWord(2),
          &DSPTAB.switchWord(3),        &DSPTAB.switchWord(4),
          &SYNSTA.echo,                 &JRNFLG.channel2.enable,
          &JRNFLG.channel1.enable,      &d.windowDefaults[0],
          &d.windowDefaults[1],         &WINSTA.undoOn,
          &d.windowDefaults[2]};
}

}  // namespace

void DEFCOD(int32_t mode) {
  const bool eight = mode == kEightDigit;
  const int32_t factor = eight ? kEightDigitFactor : 1;
  VWDFLT.word(kSeqForm) = eight ? 1 : 0;
  for (int32_t k = 1; k <= kSequences; ++k) alpha(k) = kDefaultCodes[static_cast<std::size_t>(k - 1)] * factor;
  if (GRIDMD() == 1) alpha(kGridLoadSlot) = kGridLoadCode * factor;
  if (GRIDMD() == 1) alpha(kGridLastSlot) = kGridLastCode * factor;
  for (int32_t k = 1; k <= kSequences; ++k) number(k) = eight ? 1 : kShortNumber;
  if (!eight) {
    for (int32_t k : kLongNumberSlots) number(k) = kLongNumber;
  }
  for (int32_t k = 1; k <= kSequences; ++k) VWDFLT.word(kSeqFurtherBefore + k) = 0;
}

void SEQALF(FText text, int32_t k) {
  text.fill(' ');
  if (k < 1 || k > kSequences) return;
  const int32_t code = alpha(k);
  std::array<char, kAlphaChars> chars = {' ', ' ', ' ', ' '};
  if (VWDFLT.word(kSeqForm) == 0) {
    int32_t i = code / 100;
    int32_t j = code % 100;
    if (i > kLastLetter) i -= kLetterShift;
    chars[0] = letter(i);
    if (j != 0) {
      if (j > kLastLetter) j -= kLetterShift;
      chars[1] = letter(j);
    }
  } else {
    const int32_t parts[kAlphaChars] = {code / 1000000, code % 1000000 / 10000,
                                        code % 10000 / 100, code % 100};
    chars[0] = letter(parts[0]);
    // A position without a letter ends the text, whatever follows it.
    for (int32_t p = 1; p < kAlphaChars && parts[p] != 0; ++p) chars[static_cast<std::size_t>(p)] = letter(parts[p]);
  }
  text.assign(std::string_view(chars.data(), chars.size()));
}

void SQA01(FText t) { SEQALF(t, 1); }
void SQA02(FText t) { SEQALF(t, 2); }
void SQA03(FText t) { SEQALF(t, 3); }
void SQA04(FText t) { SEQALF(t, 4); }
void SQA05(FText t) { SEQALF(t, 5); }
void SQA06(FText t) { SEQALF(t, 6); }
void SQA07(FText t) { SEQALF(t, 7); }
void SQA08(FText t) { SEQALF(t, 8); }
void SQA09(FText t) { SEQALF(t, 9); }
void SQA10(FText t) { SEQALF(t, 10); }
void SQA11(FText t) { SEQALF(t, 11); }
void SQA12(FText t) { SEQALF(t, 12); }
void SQA13(FText t) { SEQALF(t, 13); }
void SQA14(FText t) { SEQALF(t, 14); }
void SQA15(FText t) { SEQALF(t, 15); }
void SQA16(FText t) { SEQALF(t, 16); }
void SQA17(FText t) { SEQALF(t, 17); }
void SQA18(FText t) { SEQALF(t, 18); }
void SQA19(FText t) { SEQALF(t, 19); }
void SQA20(FText t) { SEQALF(t, 20); }
void SQA21(FText t) { SEQALF(t, 21); }
void SQA22(FText t) { SEQALF(t, 22); }
void SQA23(FText t) { SEQALF(t, 23); }
void SQA25(FText t) { SEQALF(t, 25); }

int32_t SEQNUM(int32_t k) {
  if (k < 1 || k > kSequences) return 0;
  const int32_t v = number(k);
  if (VWDFLT.word(kSeqForm) != 0) return v;
  // The magnitude of the most negative word is not a word.
  return v == INT32_MIN ? INT32_MAX : std::abs(v);
}

int32_t SQN01() { return SEQNUM(1); }
int32_t SQN02() { return SEQNUM(2); }
int32_t SQN03() { return SEQNUM(3); }
int32_t SQN04() { return SEQNUM(4); }
int32_t SQN05() { return SEQNUM(5); }
int32_t SQN06() { return SEQNUM(6); }
int32_t SQN07() { return SEQNUM(7); }
int32_t SQN08() { return SEQNUM(8); }
int32_t SQN09() { return SEQNUM(9); }
int32_t SQN10() { return SEQNUM(10); }
int32_t SQN11() { return SEQNUM(11); }
int32_t SQN12() { return SEQNUM(12); }
int32_t SQN13() { return SEQNUM(13); }
int32_t SQN14() { return SEQNUM(14); }
int32_t SQN15() { return SEQNUM(15); }
int32_t SQN16() { return SEQNUM(16); }
int32_t SQN17() { return SEQNUM(17); }
int32_t SQN18() { return SEQNUM(18); }
int32_t SQN19() { return SEQNUM(19); }
int32_t SQN20() { return SEQNUM(20); }
int32_t SQN21() { return SEQNUM(21); }
int32_t SQN22() { return SEQNUM(22); }
int32_t SQN23() { return SEQNUM(23); }
int32_t SQN25() { return SEQNUM(25); }

void LODSEQ(FText text) {
  std::array<char, kAlphaChars> letters{};
  SQA11(FText(letters.data(), kAlphaChars));
  std::string s(letters.data(), letters.size());
  s.erase(s.find_last_not_of(' ') + 1);
  std::string n = std::to_string(SQN11());
  // The number's field holds ten characters.
  if (n.size() > kNumberField) n.assign(kNumberField, '*');
  s += n;
  text.assign(s);
}

void CODMAP(int32_t t, int32_t q, int32_t& out) {
  switch (t) {
    case 1: out = kToSlot.row(q); break;
    case 2: out = kFromSecond.row(q); break;
    case 3: out = kToSecond.row(q); break;
    case 4: out = kToNameArray.row(q); break;
    case 5: out = computedColumn(q); break;
    case 6: out = kToAttribute.row(q); break;
    default: break;
  }
}

void DSPSAV(int32_t flag) {
  const std::array<int32_t*, kSwitches> s = switches();
  if (flag != 0) {
    // A second save would hold the zeros of the first, and the restore would lose the
    // journal enables, the echo switch and the UNDO switch.
    const bool saved = VWDFLT.word(kVwSwitchesSaved) == 1;
    VWDFLT.word(kVwSwitchesSaved) = 1;
    for (int32_t i = 0; i < kSwitches; ++i) {
      if (!saved) gSaved[static_cast<std::size_t>(i)] = *s[static_cast<std::size_t>(i)];
      *s[static_cast<std::size_t>(i)] = 0;
    }
    return;
  }
  VWDFLT.word(kVwSwitchesSaved) = 0;
  for (int32_t i = 0; i < kSwitches; ++i) *s[static_cast<std::size_t>(i)] = gSaved[static_cast<std::size_t>(i)];
}

}  // namespace kvr
