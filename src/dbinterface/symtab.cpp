// SYMINI and DIPSY: the symbol-set table and the loader of key 53.

#include "dbinterface/symtab.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "dbinterface/direcs.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/symlst.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "runtime/codtxt.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

constexpr std::string_view kLoaderName = "DIPSY";
constexpr std::string_view kProcessingName = "DILIM";
constexpr int32_t kWrongTag = 9200;
constexpr int32_t kAlreadyDefined = 267;
constexpr int32_t kTooLong = 268;
constexpr int32_t kContinued = -39;
constexpr int32_t kUsedDefinitions = SymTab::kEntries;

// Stream records (a REAL is one word).
constexpr int32_t kHeaderWords = 19;
constexpr int32_t kDefinitionWords = 65;

// Word offsets (0-based) of a definition record.
constexpr int32_t kShape = 1;
constexpr int32_t kState = 9;
constexpr int32_t kFirstComparison = 12;
constexpr int32_t kValue1 = 19;
constexpr int32_t kConjunction = 20;
constexpr int32_t kSecondComparison = 23;
constexpr int32_t kValue2 = 30;
constexpr int32_t kColour = 31;
constexpr int32_t kSize = 39;
constexpr int32_t kDescription = 45;

using Record = std::array<int32_t, kDefinitionWords>;

// The codes of RECORD from word AT (0-based) equal TEXT over its length.
bool startsWith(const Record& record, int32_t at, std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (record[static_cast<std::size_t>(at) + k] != codeOf(text[k])) return false;
  }
  return true;
}

constexpr std::array<std::string_view, 8> kShapes = {
    "PLUS", "ASTERISK", "CROSS", "SQUARE", "DIAMOND", "FLAG", "TRIANGLE", "MINUS"};
constexpr std::array<std::string_view, 7> kColours = {
    "WHITE", "RED", "ORANGE", "YELLOW", "GREEN", "BLUE", "VIOLET"};
// Comparisons over five characters: the greater-than kinds give the units digit 1..4,
// the less-than kinds the hundreds digit 1..4.
constexpr std::array<std::string_view, 4> kGreater = {">    ", ">=   ", "ABS> ", "ABS>="};
constexpr std::array<std::string_view, 4> kLess = {"<    ", "<=   ", "ABS< ", "ABS<="};

// The number (1..) of the first of TABLE that RECORD holds at AT, 0 for none.
template <std::size_t N>
int32_t lookup(const Record& record, int32_t at, const std::array<std::string_view, N>& table) {
  for (std::size_t k = 0; k < N; ++k) {
    if (startsWith(record, at, table[k])) return static_cast<int32_t>(k + 1);
  }
  return 0;
}

// The operator code and values of a definition into entry E.
void setOperator(const Record& r, SymbolEntry& e) {
  const int32_t value1 = r[kValue1];
  const int32_t value2 = r[kValue2];
  e.valueA = 0;
  e.valueB = 0;
  if (startsWith(r, kFirstComparison, "ALL")) {
    e.code = 909;
    return;
  }
  if (startsWith(r, kFirstComparison, "DEF")) {
    e.code = 908;
    return;
  }
  if (startsWith(r, kFirstComparison, "=") || startsWith(r, kFirstComparison, "#")) {
    e.code = startsWith(r, kFirstComparison, "=") ? 901 : 902;
    e.valueA = value1;
    return;
  }
  const int32_t greater = lookup(r, kFirstComparison, kGreater);
  const int32_t less = greater == 0 ? lookup(r, kFirstComparison, kLess) : 0;
  if (greater == 0 && less == 0) {
    e.code = 0;
    e.state = 0;
    return;
  }
  // The second part: a conjunction and a comparison of the other direction.
  const int32_t conjunction = startsWith(r, kConjunction, "AND") ? 1
                              : startsWith(r, kConjunction, "OR") ? 2
                                                                   : 0;
  const int32_t second =
      conjunction == 0 ? 0 : lookup(r, kSecondComparison, greater != 0 ? kLess : kGreater);
  if (greater != 0) {
    e.code = greater;
    e.valueA = value1;
    if (second != 0) {
      e.code += 10 * conjunction + 100 * second;
      e.valueB = value2;
    }
  } else {
    e.code = 100 * less;
    e.valueB = value1;
    if (second != 0) {
      e.code += 10 * conjunction + second;
      e.valueA = value2;
    }
  }
}

// One used definition into SYMTAB. A user shape when ten are held changes nothing.
void define(const Record& r) {
  int32_t f = lookup(r, kShape, kShapes);
  if (f == 0) {
    if (SYMTAB.userShapeCount >= SymTab::kUserShapes) return;
    const int32_t u = ++SYMTAB.userShapeCount;
    for (int32_t c = 0; c < SymTab::kNameCodes; ++c) {
      SYMTAB.nameCode((u - 1) * SymTab::kNameCodes + c + 1) = r[static_cast<std::size_t>(kShape + c)];
    }
    f = u + SymTab::kBuiltInShapes;
  }
  SymbolEntry& e = SYMTAB.entry(f);
  e.state = 0;
  if (startsWith(r, kState, "ON")) {
    e.state = 1;
    SYMMRU(f);
  }
  setOperator(r, e);
  std::copy_n(r.begin() + kDescription, SymbolEntry::kDescriptionCodes, e.description.begin());
  e.colour = lookup(r, kColour, kColours);
  e.sizeMode = 0;
  if (f <= SymTab::kBuiltInShapes) {
    if (startsWith(r, kSize, "SCALED")) e.sizeMode = 1;
    if (startsWith(r, kSize, "ABSMAX")) e.sizeMode = 2;
  }
}

void reportLoader(int32_t& ierr, int32_t code) {
  ierr = code;
  FixedText routnm(6, kProcessingName);
  FText noName;
  DIMSG(ierr, routnm, kDiNoValue, noName, 0);
}

}  // namespace

void SYMINI(int32_t mode) {
  SYMTAB = {};
  for (int32_t f = 1; f <= SymTab::kEntries; ++f) {
    SymbolEntry& e = SYMTAB.entry(f);
    e.description.fill(kBlankCode);
    e.sizeMode = f <= SymTab::kBuiltInShapes ? 2 : 0;
    SYMTAB.orderAt(f) = f;
  }
  SYMTAB.userShapeNames.fill(kBlankCode);
  SYMTAB.attribute.fill(kBlankCode);
  if (mode == 1) {
    SYMTAB.entry(7).state = 1;
    SYMTAB.entry(7).code = 909;
  }
}

void DIPSY(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr) {
  ierr = 0;
  int32_t recorded = 0;
  DSDIRF(kSymbolSetDataset, recorded);
  if (recorded > 0) return reportLoader(ierr, kAlreadyDefined);

  // The page is built in area 3; a set that runs past the page's end stays within the
  // room after it until it is packed again on the next page.
  const int32_t p = std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords);
  const std::span<int32_t> area =
      ldpage.subspan(std::min<std::size_t>(2 * static_cast<std::size_t>(p), ldpage.size()));
  LoaderPages pages(area, ldscr, kSymbolSetDataset);
  int32_t link = pages.store(1);
  pages.word(link) = 0;

  Record r{};
  const std::span<int32_t> header(r.data(), kHeaderWords);
  std::array<int32_t, SymTab::kNameCodes> setName{};
  for (;;) {
    SYMINI(0);
    if (!readLoaderRecord(header, ierr)) return;
    lastTag = r[0];
    if (r[0] == kTagEnd) break;
    if (r[0] != kTagRecord) return reportNotDetected(ierr, kLoaderName, kWrongTag);
    std::copy_n(r.begin() + 1, SymTab::kNameCodes, setName.begin());
    std::copy_n(r.begin() + 9, SymTab::kNameCodes, SYMTAB.attribute.begin());
    const int32_t definitions = r[17];
    SYMTAB.headerWord = r[18];

    for (int32_t d = 1; d <= definitions; ++d) {
      if (!readLoaderRecord(r, ierr)) return;
      lastTag = r[0];
      if (r[0] != kTagRepeat) return reportNotDetected(ierr, kLoaderName, kWrongTag);
      if (d <= kUsedDefinitions) define(r);
    }

    int32_t after = link + 1;
    SYMLST(kSymbolPack, setName, area, after);
    if (after - link + 1 > p - DBLEVL.pageHeaderWords) return reportLoader(ierr, kTooLong);
    if (after > p) {
      pages.word(link) = kContinued;
      pages.startNewPage();
      link = pages.store(1);
      after = link + 1;
      SYMLST(kSymbolPack, setName, area, after);
    }
    pages.word(link) = after;
    pages.word(after) = 0;
    pages.store(after - link);
    link = after;
  }

  pages.finish();
  pages.record();
}

}  // namespace kvr
