#include "command/ansrec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>
#include <string_view>

#include "command/cmdlin.h"
#include "messages/catalog.h"
#include "modeldb/corsto.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kPut = -1;
constexpr int32_t kIntegerMode = -1;  // every field moves through the integer buffer
constexpr int32_t kAnswerArray = 1;   // the answer store's named array in ARRDSC
constexpr int32_t kM830 = 830;
constexpr int32_t kReferenceBase = 256;  // reference = -(256 x start + length)
constexpr int32_t kQuoteWord = 13;       // the double quote in LEXSPC

// Field places within a record.
constexpr int32_t kItem = 1;
constexpr int32_t kMnof = 2;
constexpr int32_t kInt = 3;
constexpr int32_t kReal = 4;
constexpr int32_t kUlst = kAnswerRealWords + 4;
constexpr int32_t kOper = kAnswerRealWords + 5;
constexpr int32_t kUtyp = kAnswerRealWords + 6;
constexpr int32_t kUls2 = kAnswerRealWords + 7;

// The store's statuses.
constexpr int32_t kStoreNotRegistered = 1;
constexpr int32_t kStoreBeyondPages = 2;
constexpr int32_t kStoreNoPage = 3;

// The store word of FIELD of record I. Record numbers far out of range give a word that
// the checks refuse (below 1, or beyond any size) instead of an overflowed one.
int32_t fieldWord(int32_t i, int32_t field) {
  const int64_t w = (static_cast<int64_t>(i) - 1) * kAnswerRecordWords + field;
  return static_cast<int32_t>(std::clamp<int64_t>(w, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Moves the words of FIELD of record I in DIRECTION through WORDS; reports a failure under
// NAME. Answers the status of ANSACC.
int32_t access(int32_t direction, int32_t i, int32_t field, std::span<int32_t> words,
               std::string_view name) {
  int32_t status = 0;
  ANSACC(direction, ARRDSC.file, ARRDSC.top, ARRDSC.ARRCOR(kAnswerArray), fieldWord(i, field),
         static_cast<int32_t>(words.size()), kIntegerMode, ARRDSC.ARRLEN(kAnswerArray), words, {},
         status);
  if (status != kAnswerDone) reportStoreFailure(status, i, name);
  return status;
}

int32_t get(int32_t i, int32_t field, std::string_view name, int32_t failure) {
  std::array<int32_t, 1> word{};
  return access(0, i, field, word, name) == kAnswerDone ? word[0] : failure;
}

void put(int32_t i, int32_t field, int32_t value, std::string_view name, int32_t& status) {
  std::array<int32_t, 1> word{value};
  status = access(kPut, i, field, word, name) == kAnswerDone ? 0 : 1;
}

// The status of ANSACC for a failed store copy.
int32_t copyFailure(int32_t store) {
  if (store == kStoreBeyondPages) return kAnswerBeyondPages;
  if (store == kStoreNoPage) return kAnswerNoMemory;
  return kAnswerNotRegistered;
}

bool isQuote(int32_t code) { return code == LEXSPC.word(kQuoteWord); }
bool inTextStore(int32_t position) { return position >= 1 && position <= CmdLin::kTextCodes; }

// TXTREF, with or without DROPQUOTES.
void resolve(int32_t reference, bool dropQuotes, int32_t maximum, std::span<int32_t> line,
             int32_t& count, int32_t& length) {
  const int32_t width = static_cast<int32_t>(
      std::clamp<int64_t>(maximum, 0, static_cast<int64_t>(line.size())));
  std::fill_n(line.begin(), width, kBlankCode);
  count = 0;
  length = 0;
  if (reference >= 0) return;
  const int64_t r = -static_cast<int64_t>(reference);
  int32_t start = static_cast<int32_t>(r / kReferenceBase);
  length = static_cast<int32_t>(r % kReferenceBase);
  // A lone quote "begins and ends" with one; dropping two would leave a length of -1.
  if (dropQuotes && length >= 2 && inTextStore(start) && inTextStore(start + length - 1) &&
      isQuote(CMDLIN.text(start)) && isQuote(CMDLIN.text(start + length - 1))) {
    ++start;
    length -= 2;
  }
  // Only positions 1 to 255 of the store are read: a reference bounds its start and its
  // length, but not their sum.
  if (!inTextStore(start)) return;
  count = std::min({length, CmdLin::kTextCodes - start + 1, width});
  for (int32_t k = 0; k < count; ++k) line[static_cast<std::size_t>(k)] = CMDLIN.text(start + k);
}

}  // namespace

void reportStoreFailure(int32_t status, int32_t position, std::string_view name) {
  std::array<int32_t, 8> codes{};
  for (std::size_t k = 0; k < name.size() && k < codes.size(); ++k) codes[k] = codeOf(name[k]);
  const std::array<int32_t, 2> values{status, position};
  const std::array<int32_t, 2> lengths{static_cast<int32_t>(std::min(name.size(), codes.size())),
                                       0};
  MSGM(kM830, values, {}, codes, lengths);
}

void ANSACC(int32_t direction, int32_t file, int32_t top, int32_t array, int32_t first,
            int32_t count, int32_t mode, int32_t& size, std::span<int32_t> ibuf,
            std::span<float> rbuf, int32_t& status) {
  if (array < 1 || array > top) {
    status = kAnswerBadArray;
    return;
  }
  if (first < 1) {
    status = kAnswerBadWord;
    return;
  }
  const int64_t last = static_cast<int64_t>(first) + count - 1;
  int32_t store = 0;
  if (direction != kPut) {
    if (last > size) {
      status = kAnswerBeyondSize;
      return;
    }
    status = kAnswerDone;
    CoreGet(file, array, first, count, mode, ibuf, rbuf, store);
  } else {
    status = kAnswerDone;
    if (last > size) {
      const int64_t missing = last - size;
      if (missing > std::numeric_limits<int32_t>::max()) {
        status = kAnswerNoMemory;
        return;
      }
      int32_t firstNew = 0;
      int32_t grown = 0;
      ANSGRW(file, array, static_cast<int32_t>(missing), size, firstNew, grown);
      if (grown != 0) {
        status = grown == 3 ? kAnswerNoMemory : kAnswerNotRegistered;
        return;
      }
    }
    CorePut(file, array, first, count, mode, ibuf, rbuf, store);
  }
  if (store != 0) status = copyFailure(store);
}

void ANSGRW(int32_t file, int32_t array, int32_t count, int32_t& size, int32_t& firstNew,
            int32_t& status) {
  firstNew = size + 1;
  int32_t store = 0;
  CoreExtend(file, array, size + 1, count, store);
  if (store == kStoreNotRegistered) {
    status = 1;
  } else if (store != 0) {
    status = 3;  // the page table or a page could not be had
  } else {
    status = 0;
    size += count;
  }
}

int32_t ITEM(int32_t i) { return get(i, kItem, "ITEM", 0); }
int32_t MENOFF(int32_t i) { return get(i, kMnof, "MENOFF", 0); }
int32_t INTS(int32_t i) { return get(i, kInt, "INTS", 0); }
float REALS(int32_t i) {
  std::array<int32_t, kAnswerRealWords> words{};
  if (access(0, i, kReal, words, "REALS") != kAnswerDone) return 0.0f;
  return std::bit_cast<float>(words[0]);
}
int32_t MMULST(int32_t i) { return get(i, kUlst, "MMULST", 0); }
int32_t MMOPER(int32_t i) { return get(i, kOper, "MMOPER", 0); }
int32_t MMUTYP(int32_t i) { return get(i, kUtyp, "MMUTYP", 2); }

void P4ITEM(int32_t i, int32_t value, int32_t& status) { put(i, kItem, value, "P4ITEM", status); }
void P4MNOF(int32_t i, int32_t value, int32_t& status) { put(i, kMnof, value, "P4MNOF", status); }
void P4INT(int32_t i, int32_t value, int32_t& status) { put(i, kInt, value, "P4INT", status); }
void P4REAL(int32_t i, float value, int32_t& status) {
  put(i, kReal, std::bit_cast<int32_t>(value), "P4REAL", status);
}
void P4ULST(int32_t i, int32_t value, int32_t& status) { put(i, kUlst, value, "P4ULST", status); }
void P4OPER(int32_t i, int32_t value, int32_t& status) { put(i, kOper, value, "P4OPER", status); }
void P4UTYP(int32_t i, int32_t value, int32_t& status) { put(i, kUtyp, value, "P4UTYP", status); }
void P4ULS2(int32_t i, int32_t value, int32_t& status) { put(i, kUls2, value, "P4ULS2", status); }

void TXTREF(int32_t reference, int32_t maximum, std::span<int32_t> line, int32_t& count,
            int32_t& length) {
  resolve(reference, true, maximum, line, count, length);
}

void ANSTXT(int32_t i, int32_t maximum, std::span<int32_t> line, int32_t& count,
            int32_t& length) {
  resolve(ITEM(i), false, maximum, line, count, length);
}

}  // namespace kvr
