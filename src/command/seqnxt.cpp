// The name sequences and the lookups by name.
#include "command/seqnxt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "command/getinp.h"
#include "messages/catalog.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "platform/fmtedit.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/nxttkn.h"
#include "runtime/platrtn.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

// The character table of MODCON: entry e is MODCON word e + 2.
constexpr int32_t kFirstLetter = 21;  // "A"
constexpr int32_t kLastLetter = 46;   // "Z"
constexpr int32_t kLettersInAlphabet = 26;
constexpr int32_t kFirstDigit = 2;    // "0"; the digit d is entry d + 2

// The letters "A" to "Z" of the command character codes: CHRTAB words 26 to 51.
constexpr int32_t kChrtabBeforeA = 25;

// Packing of an alpha part.
constexpr int32_t kEightLetterFactors[] = {1000000, 10000, 100, 1};
constexpr int32_t kFourLetterFactor = 100;
constexpr int32_t kMaxLettersEight = 4;
constexpr int32_t kMaxLettersFour = 2;
constexpr int32_t kFourCarryOne = 1000;  // one letter: three digits
constexpr int32_t kFourCarryTwo = 100;   // two letters: two digits

constexpr int32_t kNameChars = 8;
constexpr int32_t kWordChars = 4;
constexpr int32_t kSlotTable = 1;   // CODMAP column: object code to slot
constexpr int32_t kKindTable = 2;   // CODMAP column: argument kind to object code

// The last number of a sequence by its count of letters (1..4).
constexpr int32_t kLimits[] = {9999999, 999999, 99999, 9999};
// The largest numeric part of a new 4-character sequence by its count of letters.
constexpr int32_t kFourLimits[] = {999, 99};

// The prompt for a new sequence.
constexpr std::string_view kPrompt = "Enter alpha and numeric part of new sequence =>";
constexpr std::string_view kTitle = "Input required";
constexpr int32_t kReplyCodes = 80;
constexpr int32_t kPromptEcho = 2;
constexpr int32_t kPromptJournal = 3;
constexpr int32_t kPromptListMode = -5;
constexpr int32_t kPromptMenu = 55;
constexpr int32_t kUpperCase = 1;

// Messages (MSGE1 and MSGW1 numbers, less 1000).
constexpr int32_t kE1400IllegalLetter = 400;
constexpr int32_t kE1410TwoLetters = 410;
constexpr int32_t kE1420FourLetters = 420;
constexpr int32_t kE1430TooManyDigits = 430;
constexpr int32_t kE1440AlphaInUse = 440;
constexpr int32_t kW1100LastName = 100;

// Object codes that ENTARR answers besides the classes.
constexpr int32_t kCodeNumber = 5;
constexpr int32_t kCodeOtherAttribute = 99;
constexpr int32_t kAllWord = 0x204C4C41;  // "ALL "

// Name translation: kinds of existing objects, and the kinds that cannot be translated.
constexpr int32_t kNoTranslation = 10;
constexpr int32_t kNotMapped = -1;

// The nine name lists in search order, with the object code of each (array 14: by the
// attribute entry's type).
struct NameList {
  int32_t array;
  int32_t code;
};
constexpr NameList kNameLists[] = {{1, 11},  {3, 12},  {5, 13},  {7, 14},  {9, 16},
                                   {kArrLabels, 0}, {18, 15}, {27, 42}, {35, 46}};

// Attribute type to object code.
struct TypeCode {
  int32_t type;
  int32_t code;
};
constexpr TypeCode kTypeCodes[] = {{2, 17},  {3, 19},  {4, 18},  {5, 22},   {6, 24},   {8, 20},
                                   {9, 21},  {-2, 27}, {-3, 26}, {-5, 28},  {-6, 23},  {-7, 37},
                                   {-8, 38}, {-9, 39}, {-10, 44}, {-11, 47}};

// Records read at a time by the scan of the name lists.
constexpr int32_t kScanChunk = 256;

int32_t clampToInt(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The sequence slot of object code CODE (the magnitude's row of CODMAP column 1), 0 none.
int32_t slotOf(int32_t code) {
  if (code == std::numeric_limits<int32_t>::min()) return 0;
  int32_t slot = 0;
  CODMAP(kSlotTable, std::abs(code), slot);
  return slot >= 1 && slot <= kSequences ? slot : 0;
}

// The code-line word of entry E of the character table; the blank for an entry outside
// the 47, so that no index reads outside the table.
int32_t tableWord(int64_t e) {
  if (e < 1 || e > kModCharacters) return kBlankCode;
  return MODCON.word(kModFirstCode + static_cast<int32_t>(e) - 1);
}

// A letter index carried past "Z" starts again at "A", as often as needed.
int64_t wrapLetter(int64_t e) {
  if (e <= kLastLetter) return e;
  return kFirstLetter + (e - kFirstLetter) % kLettersInAlphabet;
}

// The letter index 21..46 of the code-line word CODE, 0 when it is no capital letter.
int32_t letterIndex(int32_t code) {
  for (int32_t e = kFirstLetter; e <= kLastLetter; ++e) {
    if (code == tableWord(e)) return e;
  }
  return 0;
}

bool eightCharacterMode() { return seqNameMode() == kEightCharacterNames; }

// The letters of SLOT in 8-character mode: the first letter's word, then each further
// non-zero letter; answers the count.
int32_t slotLetters(int32_t slot, std::array<int32_t, kMaxLettersEight>& words) {
  const int32_t alpha = seqAlpha(slot);
  int32_t n = 0;
  for (int32_t p = 0; p < kMaxLettersEight; ++p) {
    const int32_t factor = kEightLetterFactors[p];
    const int32_t index = p == 0 ? alpha / factor : alpha % (factor * 100) / factor;
    if (p > 0 && index == 0) continue;
    words[static_cast<std::size_t>(n++)] = tableWord(index);
  }
  return n;
}

int32_t limitOf(int32_t letters) {
  return letters >= 1 && letters <= kMaxLettersEight ? kLimits[letters - 1] : 0;
}

// The eight character codes of the name NAME.
std::array<int32_t, kNameChars> codesOfName(std::span<const int32_t, 2> name) {
  std::array<int32_t, kNameChars> codes{};
  for (int32_t k = 0; k < kNameChars; ++k) {
    const auto word = static_cast<uint32_t>(name[static_cast<std::size_t>(k / kWordChars)]);
    codes[static_cast<std::size_t>(k)] = codeOf(static_cast<char>(word >> (8 * (k % kWordChars))));
  }
  return codes;
}

// The whole number that positions FROM..TO of CODES read as (lexer mode 2); false when
// they hold none.
bool integerAt(std::span<const int32_t> codes, int32_t from, int32_t to, int32_t& value) {
  int32_t kind = 0;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(codes, from, to, kLexInteger, kind, first, last, ivalue, rvalue);
  if (kind != kTokenInteger) return false;
  value = ivalue;
  return true;
}

// True when an object answers to NAME, or it is "ALL".
bool taken(const NameWords& name) {
  int32_t code = 0;
  int32_t number = 0;
  ENTARR(1, name, code, number);
  return code != 0 || number != 0;
}

// Puts the digits of N (1 or more) from character POSITION on, leading zeros left out,
// over at most WIDTH positions of the two words of NAME.
void putDigits(NameWords& name, int32_t position, int64_t n, int32_t width) {
  std::array<int32_t, kNameChars> digits{};
  int32_t count = 0;
  for (; n > 0 && count < width; n /= 10) digits[static_cast<std::size_t>(count++)] = static_cast<int32_t>(n % 10);
  for (int32_t d = count - 1; d >= 0; --d, ++position) {
    const int32_t digit = std::min(digits[static_cast<std::size_t>(d)], 9);
    const int32_t w = position <= kWordChars ? 0 : 1;
    SEQCOD(position - kWordChars * w, name[static_cast<std::size_t>(w)], tableWord(digit + kFirstDigit));
  }
}

// The 4-character name of number M (0 or more) in SLOT: the first letter plus the
// thousands (one letter) or the second letter plus the hundreds, then the remainder's
// digits; a remainder of 0 is written in full.
void buildFour(NameWords& name, int32_t slot, int64_t m) {
  const int32_t alpha = seqAlpha(slot);
  const int32_t first = alpha / kFourLetterFactor;
  const int32_t second = alpha % kFourLetterFactor;
  name = {kBlankCode, kBlankCode};
  int32_t position = 2;
  int64_t remainder = 0;
  int32_t width = 0;
  if (second == 0) {
    name[0] = tableWord(wrapLetter(first + m / kFourCarryOne));
    remainder = m % kFourCarryOne;
    width = 3;
  } else {
    name[0] = tableWord(wrapLetter(first));
    SEQCOD(2, name[0], tableWord(wrapLetter(second + m / kFourCarryTwo)));
    position = 3;
    remainder = m % kFourCarryTwo;
    width = 2;
  }
  if (remainder == 0) {
    for (int32_t k = 0; k < width; ++k) SEQCOD(position + k, name[0], tableWord(kFirstDigit));
  } else {
    putDigits(name, position, remainder, width);
  }
}

// The numbers after which the 4-character names of SLOT repeat: every letter carried once
// round the alphabet. A search for a free name stops there, so that a model holding every
// name of the round cannot keep it looking for ever.
int64_t fourRound(int32_t slot) {
  const int32_t carry = seqAlpha(slot) % kFourLetterFactor == 0 ? kFourCarryOne : kFourCarryTwo;
  return int64_t{kLettersInAlphabet} * carry;
}

// The magnitude of a 4-character next number.
int64_t magnitude(int32_t v) { return std::abs(int64_t{v}); }

// The count of records of name list ARRAY that are searched and scanned: the model's count
// of its class (array 14: the records the registry holds), never beyond what the registry
// has allocated to the array.
int32_t listCount(int32_t array) {
  // Only the model registry holds the lists, as records of two words.
  if (array > REGHED.top || REGHED.ARRWID(array) != 2) return 0;
  int32_t count = 0;
  switch (array) {
    case 1: count = MODCNT.word(kCntPoints); break;
    case 3: count = MODCNT.word(kCntLines); break;
    case 5: count = MODCNT.word(kCntSurfaces); break;
    case 7: count = MODCNT.word(kCntBodies); break;
    case 9: count = MODCNT.word(kCntShapes); break;
    case kArrLabels: count = REGHED.ARRLEN(kArrLabels); break;
    case 18: count = MODCNT.word(kCntSets); break;
    case 27: count = MODCNT.word(kCntKind42); break;
    case 35: count = MODCNT.word(kCntKind46); break;
    default: break;
  }
  // A count that a damaged model sets beyond the array would end the run in the read.
  return std::clamp(count, 0, REGHED.ARRLEN(array));
}

// Asks for one reply line at the sequence prompt; answers the GETINP result.
int32_t askSequence(std::array<int32_t, kReplyCodes>& reply) {
  static const std::vector<int32_t> prompt = [] {
    std::vector<int32_t> codes;
    for (char c : kPrompt) codes.push_back(codeOf(c));
    return codes;
  }();
  std::string title(kTitle);
  int32_t result = 0;
  GETINP(kPromptEcho, kPromptJournal, kPromptJournal, kPromptListMode, kPromptMenu,
         FText(title), prompt, static_cast<int32_t>(prompt.size()), kUpperCase, reply,
         kReplyCodes, result);
  return result;
}

}  // namespace

void SEQCOD(int32_t position, int32_t& word, int32_t character) {
  if (position < 1 || position > kWordChars) return;
  const int32_t shift = 8 * (position - 1);
  const uint32_t mask = 0xFFu << shift;
  const uint32_t byte = (static_cast<uint32_t>(character) & 0xFFu) << shift;
  word = static_cast<int32_t>((static_cast<uint32_t>(word) & ~mask) | byte);
}

void SEQNM8(NameWords& name, int32_t code, int32_t number, int32_t& letters) {
  name = {kBlankCode, kBlankCode};
  const int32_t slot = slotOf(code);
  if (slot == 0) {
    letters = 0;
    return;
  }
  std::array<int32_t, kMaxLettersEight> words{};
  letters = slotLetters(slot, words);
  name[0] = words[0];
  for (int32_t p = 2; p <= letters; ++p) SEQCOD(p, name[0], words[static_cast<std::size_t>(p - 1)]);
  // A number beyond the limit of the letters would need a ninth character.
  if (number < 0 || number > limitOf(letters)) return;
  putDigits(name, letters + 1, number, kNameChars - letters);
}

bool SEQLIM(int32_t slot, int32_t letters) {
  const int32_t limit = limitOf(letters);
  return limit != 0 && seqNext(slot) < limit;
}

void SEQNXT(NameWords& name, int32_t code) {
  const int32_t slot = slotOf(code);
  if (slot == 0) {
    name = {kBlankCode, kBlankCode};
    return;
  }
  if (!eightCharacterMode()) {
    SEQNX4(name, code);
    return;
  }
  // Every number below 0 names the bare letters, as 0 does: the search starts at 0 rather
  // than walking up from far below.
  seqNext(slot) = std::max(seqNext(slot), 0);
  int32_t letters = 0;
  SEQNM8(name, code, 0, letters);
  // A sequence already past its last number asks for the next before any name is built;
  // cancelled, the last name itself is the answer.
  while (seqNext(slot) > limitOf(letters)) {
    if (SEQPRM(slot) == kSequenceCancelled) {
      SEQNM8(name, code, limitOf(letters), letters);
      return;
    }
    SEQNM8(name, code, 0, letters);
  }
  SEQNM8(name, code, seqNext(slot), letters);
  // Names up to the highest number may be taken; 0 (the bare alpha part) always may.
  while (seqNext(slot) <= seqHighest(slot) || seqNext(slot) < 1) {
    if (!taken(name)) break;
    if (SEQLIM(slot, letters)) {
      ++seqNext(slot);
    } else if (SEQPRM(slot) == kSequenceCancelled) {
      return;
    }
    SEQNM8(name, code, seqNext(slot), letters);
  }
  seqHighest(slot) = std::max(seqNext(slot), seqHighest(slot));
  if (SEQLIM(slot, letters)) {
    ++seqNext(slot);
  } else {
    SEQPRM(slot);
  }
}

void SEQNX4(NameWords& name, int32_t code) {
  name = {kBlankCode, kBlankCode};
  const int32_t slot = slotOf(code);
  if (slot == 0) return;
  int64_t m = magnitude(seqNext(slot));
  const int64_t round = fourRound(slot);
  for (int64_t tried = 1;; ++tried, ++m) {
    seqNext(slot) = clampToInt(m + 1);
    buildFour(name, slot, m);
    if (!taken(name) || tried >= round) return;
  }
}

void SEQUPD(int32_t code) {
  if (eightCharacterMode()) return;
  const int32_t slot = slotOf(code);
  if (slot == 0) return;
  int64_t m = magnitude(seqNext(slot));
  seqNext(slot) = clampToInt(m);
  const int64_t round = fourRound(slot);
  NameWords name{};
  for (int64_t tried = 0; tried < round; ++tried) {
    buildFour(name, slot, m);
    if (!taken(name)) return;
    seqNext(slot) = clampToInt(++m);
  }
}

int32_t SEQPRM(int32_t slot) {
  if (slot < 1 || slot > kSequences) return kSequenceCancelled;
  for (;;) {
    MSGW1(kW1100LastName);
    for (;;) {
      std::array<int32_t, kReplyCodes> reply{};
      const int32_t result = askSequence(reply);
      // The end of input or a lone "/" cancels, so the prompt never waits for ever.
      if (result == kInputCancelled) return kSequenceCancelled;
      if (result == kInputEmpty) continue;
      int32_t kind = 0;
      int32_t first = 0;
      int32_t last = 0;
      int32_t ivalue = 0;
      float rvalue = 0.0f;
      NXTTKN(reply, 1, kReplyCodes, kLexName, kind, first, last, ivalue, rvalue);
      if (kind != kTokenText) break;  // warn and ask again
      const int32_t alphaFirst = first;
      const int32_t letters = last - first + 1;
      int32_t number = 1;
      NXTTKN(reply, last + 1, kReplyCodes, kLexInteger, kind, first, last, ivalue, rvalue);
      if (kind == kTokenInteger) {
        number = ivalue;
      } else if (kind != kTokenNone) {
        continue;
      }
      // A negative number would leave the sequence at names without digits.
      if (number < 0) continue;
      int32_t status = 1;
      SEQCHK(slot, std::span<const int32_t>(reply).subspan(static_cast<std::size_t>(alphaFirst - 1)),
             letters, number, status);
      if (status == 0) return kSequenceAccepted;
    }
  }
}

void SEQCHK(int32_t slot, std::span<const int32_t> alpha, int32_t letters, int32_t number,
            int32_t& status) {
  status = 1;
  if (slot < 1 || slot > kSequences) return;
  const bool eight = eightCharacterMode();
  if (letters > (eight ? kMaxLettersEight : kMaxLettersFour)) {
    MSGE1(eight ? kE1420FourLetters : kE1410TwoLetters);
    return;
  }
  std::array<int32_t, kMaxLettersEight> index{};
  const bool fits = letters >= 1 && static_cast<std::size_t>(letters) <= alpha.size();
  for (int32_t k = 0; k < letters && fits; ++k) {
    for (int32_t l = 1; l <= kLettersInAlphabet; ++l) {
      if (alpha[static_cast<std::size_t>(k)] == CHRTAB.word(kChrtabBeforeA + l)) {
        index[static_cast<std::size_t>(k)] = kFirstLetter + l - 1;
      }
    }
  }
  if (!fits || std::any_of(index.begin(), index.begin() + letters, [](int32_t e) { return e == 0; })) {
    MSGE1(kE1400IllegalLetter);
    return;
  }

  bool changed = false;
  int32_t limit = 0;
  if (eight) {
    int32_t packed = 0;
    for (int32_t k = 0; k < letters; ++k) packed += index[static_cast<std::size_t>(k)] * kEightLetterFactors[k];
    changed = packed != seqAlpha(slot);
    if (changed) {
      for (int32_t s = 1; s <= kSequences; ++s) {
        if (s != slot && seqAlpha(s) == packed) {
          MSGE1(kE1440AlphaInUse);
          return;
        }
      }
      seqAlpha(slot) = packed;
    }
    limit = limitOf(letters);
  } else {
    seqAlpha(slot) = index[0] * kFourLetterFactor + index[1];
    limit = kFourLimits[letters - 1];
  }
  if (number > limit) {
    MSGE1(kE1430TooManyDigits);
    return;
  }
  seqNext(slot) = number;
  if (changed) {
    int32_t scanned = 0;
    SEQSCN(slot, scanned);
  }
  status = 0;
}

void SEQSCN(int32_t slot, int32_t& status) {
  status = 0;
  if (slot < 1 || slot > kSequences) return;
  std::array<int32_t, 2 * kScanChunk> chunk{};
  for (const NameList& list : kNameLists) {
    const int32_t count = listCount(list.array);
    for (int32_t first = 1; first <= count; first += kScanChunk) {
      const int32_t n = std::min(kScanChunk, count - first + 1);
      int32_t stat = 0;
      ARRIO(1, list.array, first, n, -1, chunk, {}, stat);
      for (int32_t r = 0; r < n; ++r) {
        SEQHIT(std::span<const int32_t, 2>(chunk.data() + 2 * r, 2), slot);
      }
    }
  }
}

void SEQHIT(std::span<const int32_t, 2> name, int32_t slot) {
  if (slot < 1 || slot > kSequences) return;
  std::array<int32_t, kMaxLettersEight> words{};
  const int32_t letters = slotLetters(slot, words);
  const std::array<int32_t, kNameChars> codes = codesOfName(name);
  for (int32_t k = 0; k < letters; ++k) {
    if (codes[static_cast<std::size_t>(k)] != words[static_cast<std::size_t>(k)]) return;
  }
  int32_t n = 0;
  if (!integerAt(codes, letters + 1, kNameChars, n)) return;
  seqHighest(slot) = std::max(seqHighest(slot), n);
}

void SEQNOT(std::span<const int32_t> typed, int32_t length, int32_t code, int32_t commit,
            int32_t& result) {
  length = std::clamp(length, 0, static_cast<int32_t>(std::min<std::size_t>(typed.size(), kMaxTextCodes)));
  auto at = [&typed](int32_t k) { return typed[static_cast<std::size_t>(k - 1)]; };

  if (!eightCharacterMode()) {
    const int32_t slot = slotOf(code);
    if (slot == 0) return;
    if (seqNext(slot) < 0) SEQUPD(code);
    const int64_t m = magnitude(seqNext(slot));
    const int32_t alpha = seqAlpha(slot);
    const int32_t firstLetter = alpha / kFourLetterFactor;
    const int32_t secondLetter = alpha % kFourLetterFactor;
    int32_t letters = 0;
    int64_t remainder = 0;
    std::array<int32_t, kMaxLettersFour> want{};
    if (secondLetter == 0) {
      want[0] = tableWord(wrapLetter(firstLetter + m / kFourCarryOne));
      letters = 1;
      remainder = m % kFourCarryOne;
    } else {
      want[0] = tableWord(wrapLetter(firstLetter));
      want[1] = tableWord(wrapLetter(secondLetter + m / kFourCarryTwo));
      letters = 2;
      remainder = m % kFourCarryTwo;
    }
    if (length <= letters) return;
    for (int32_t k = 1; k <= letters; ++k) {
      if (at(k) != want[static_cast<std::size_t>(k - 1)]) return;
    }
    int32_t n = 0;
    if (integerAt(typed.first(static_cast<std::size_t>(length)), letters + 1, length, n) && n == remainder) {
      seqNext(slot) = clampToInt(m + 1);
    }
    return;
  }

  result = 1;
  for (int32_t slot = 1; slot <= kSequences; ++slot) {
    std::array<int32_t, kMaxLettersEight> words{};
    const int32_t letters = slotLetters(slot, words);
    if (length < letters) continue;
    bool match = true;
    for (int32_t k = 1; k <= letters && match; ++k) match = at(k) == words[static_cast<std::size_t>(k - 1)];
    int32_t n = 0;
    if (!match || !integerAt(typed.first(static_cast<std::size_t>(length)), letters + 1, length, n)) continue;
    if (n == seqNext(slot) && commit == 1) seqNext(slot) = clampToInt(int64_t{n} + 1);
    if (n > seqHighest(slot)) {
      if (commit == 1) seqHighest(slot) = n;
      result = 0;
    } else {
      result = n == 0 ? 1 : n;
    }
    return;
  }
}

void SEQRET(std::span<const int32_t, 2> name, int32_t code) {
  if (eightCharacterMode()) return;
  const int32_t slot = slotOf(code);
  if (slot == 0) return;
  if (seqNext(slot) < 0) SEQUPD(code);
  const std::array<int32_t, kNameChars> codes = codesOfName(name);
  const int32_t nameFirst = letterIndex(codes[0]);
  const int32_t nameSecond = letterIndex(codes[1]);
  if (nameFirst == 0) return;
  const int32_t nameLetters = nameSecond != 0 ? 2 : 1;
  int32_t k = 0;
  if (!integerAt(codes, nameLetters + 1, kNameChars, k)) return;

  const int32_t alpha = seqAlpha(slot);
  const int64_t first = wrapLetter(alpha / kFourLetterFactor);
  const int32_t second = alpha % kFourLetterFactor;
  int64_t number = 0;
  if (second == 0 && nameLetters == 1 && nameFirst >= first) {
    number = (nameFirst - first) * kFourCarryOne + k;
  } else if (second != 0 && nameLetters == 2 && nameFirst == first &&
             nameSecond >= wrapLetter(second)) {
    number = (nameSecond - wrapLetter(second)) * kFourCarryTwo + k;
  } else {
    return;
  }
  if (number < seqNext(slot)) seqNext(slot) = clampToInt(number);
}

void NAMXLT(std::span<int32_t> line, int32_t start, int32_t& length, int32_t kind,
            int32_t& status) {
  status = 0;
  const auto size = static_cast<int32_t>(line.size());
  auto inLine = [size](int32_t p) { return p >= 1 && p <= size; };
  std::string key(kNameChars, ' ');
  for (int32_t k = 0; k < kNameChars && k < length; ++k) {
    if (inLine(start + k)) key[static_cast<std::size_t>(k)] = charOf(line[static_cast<std::size_t>(start + k - 1)]);
  }
  std::string value(kNameChars, ' ');
  int32_t entry = 0;
  NameMapLookup(FText(key), FText(value), entry);

  const bool existing = (kind >= 1 && kind <= 20) || (kind >= 60 && kind <= 66) || kind == 78;
  if (existing && entry == 0) {
    status = kNotMapped;
    return;
  }
  if (kind == 34 || kind == 35 || kind == 73 || kind == 74) {
    status = kNoTranslation;
    return;
  }
  if (entry == 0) {
    int32_t code = 0;
    CODMAP(kKindTable, kind, code);
    NameWords name{};
    SEQNXT(name, code);
    const std::array<int32_t, kNameChars> codes = codesOfName(name);
    for (int32_t k = 0; k < kNameChars; ++k) value[static_cast<std::size_t>(k)] = charOf(codes[static_cast<std::size_t>(k)]);
    NameMapInsert(FText(key), FText(value), status);
  }
  // The name is written from the token on, never past the end of the line.
  int32_t written = 0;
  for (int32_t k = 0; k < kNameChars && inLine(start + k); ++k, ++written) {
    line[static_cast<std::size_t>(start + k - 1)] = codeOf(value[static_cast<std::size_t>(k)]);
  }
  length = written;
}

void ENTARR(int32_t mode, std::span<const int32_t, 2> name, int32_t& code, int32_t& number) {
  if (name[0] == kAllWord) {
    number = -1;
    code = 0;
    return;
  }
  if (mode == 2) {
    number = intOf(static_cast<double>(std::bit_cast<float>(name[0])) + 0.1);
    code = kCodeNumber;
    return;
  }
  number = 0;
  code = 0;
  int32_t record = 0;
  int32_t array = 0;
  int32_t fourth = 0;
  seq::NAMFND(name, record, array, fourth);
  if (record < 1) return;
  if (array == kArrLabels) {
    if (record > REGHED.ARRLEN(kArrEntries)) return;
    std::array<int32_t, kEntryWords> entry{};
    RECIO(1, kArrEntries, record, entry);
    code = kCodeOtherAttribute;
    for (const TypeCode& t : kTypeCodes) {
      if (t.type == entry[0]) code = t.code;
    }
    number = entry[1];
    return;
  }
  for (const NameList& list : kNameLists) {
    if (list.array == array && record <= listCount(array)) {
      code = list.code;
      number = record;
    }
  }
}

namespace seq {

void NAMFND(std::span<const int32_t, 2> name, int32_t& record, int32_t& array,
            int32_t& fourth) {
  record = 0;
  array = 0;
  fourth = 0;
  for (const NameList& list : kNameLists) {
    if (listCount(list.array) < 1) continue;
    int32_t r = 0;
    kvr::NAMFND(name, list.array, r);
    if (r > 0) {
      record = r;
      array = list.array;
      return;
    }
  }
}

}  // namespace seq

}  // namespace kvr
