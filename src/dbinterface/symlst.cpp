// SYMLST, SYMMRU, RNGTXT and LSTLIN: the packed symbol-set block and its listing.

#include "dbinterface/symlst.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <string>
#include <string_view>

#include "dbinterface/symtab.h"
#include "messages/catalog.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/filtyp.h"
#include "runtime/iounit.h"
#include "runtime/msglin.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kRealWords = 1;  // a REAL of this library is one word
constexpr int32_t kVersion = 2;
constexpr int32_t kIncompatible = 2170;  // E5170
constexpr int32_t kListFileType = 4;
constexpr int32_t kListingLineCodes = 132;

constexpr int32_t kEntries = SymTab::kEntries;
constexpr int32_t kNames = SymTab::kUserShapes;
constexpr int32_t kNameCodes = SymTab::kNameCodes;
constexpr int32_t kDescription = SymbolEntry::kDescriptionCodes;

// Where the parts of a block lie, relative to S, for its version.
struct Layout {
  bool descriptions;
  int32_t counts;      // the three counts
  int32_t order;
  int32_t entries;
  int32_t entryWords;
  int32_t names;
  int32_t nameCount;
  int32_t length;
};

constexpr Layout layoutOf(bool version2) {
  const int32_t flag = version2 ? 1 : 0;
  const int32_t counts = 17 + flag;
  const int32_t order = counts + 3;
  const int32_t entries = order + kEntries;
  const int32_t entryWords = 4 + 2 * kRealWords + (version2 ? kDescription : 0);
  const int32_t names = entries + kEntries * entryWords;
  return {version2, counts, order, entries, entryWords, names, names + kNames * kNameCodes,
          names + kNames * kNameCodes + 1};
}

static_assert(layoutOf(true).length == kSymbolBlockWords);
static_assert(layoutOf(false).length == kSymbolBlockWordsVersion1);

// The words of a page array seen from S: word K is S + K; outside the array a word reads
// as 0 and a write is dropped.
class Block {
 public:
  Block(std::span<int32_t> page, int32_t s) : page_(page), s_(s) {}

  int32_t get(int32_t k) const {
    const int64_t i = int64_t{s_} + k;
    return inside(i) ? page_[static_cast<std::size_t>(i - 1)] : 0;
  }
  void set(int32_t k, int32_t value) {
    const int64_t i = int64_t{s_} + k;
    if (inside(i)) page_[static_cast<std::size_t>(i - 1)] = value;
  }
  // Words 0..N-1 lie within the array.
  bool holds(int32_t n) const { return inside(s_) && inside(int64_t{s_} + n - 1); }
  // The position of word K, never beyond the end of the array + 1.
  int32_t positionAt(int64_t k) const {
    return static_cast<int32_t>(
        std::min<int64_t>(int64_t{s_} + k, static_cast<int64_t>(page_.size()) + 1));
  }

 private:
  bool inside(int64_t i) const { return i >= 1 && i <= static_cast<int64_t>(page_.size()); }

  std::span<int32_t> page_;
  int32_t s_;
};

// The counts, order and user shape count of a block are those SYMLST writes, and the
// block lies wholly within the array.
bool compatible(const Block& b, const Layout& l) {
  if (!b.holds(l.length) || b.get(l.counts) != kEntries || b.get(l.counts + 1) != kNameCodes ||
      b.get(l.counts + 2) != kNames) {
    return false;
  }
  for (int32_t k = 0; k < kEntries; ++k) {
    const int32_t e = b.get(l.order + k);
    if (e < 1 || e > kEntries) return false;
  }
  const int32_t count = b.get(l.nameCount);
  return count >= 0 && count <= kNames;
}

// Posts E5170 and answers the position after an incompatible block: its counts give the
// length, which is never taken as less than nothing.
int32_t skipIncompatible(const Block& b, const Layout& l) {
  MSGE3(kIncompatible);
  const int64_t perEntry = 1 + l.entryWords;
  const int64_t skip = perEntry * b.get(l.counts) + int64_t{kNameCodes} * b.get(l.counts + 2) + 1;
  return b.positionAt(l.order + std::max<int64_t>(skip, 0));
}

void pack(std::span<const int32_t> setName, Block& b) {
  const Layout l = layoutOf(true);
  b.set(0, kVersion);
  for (int32_t k = 0; k < kNameCodes; ++k) {
    b.set(1 + k, k < static_cast<int32_t>(setName.size()) ? setName[static_cast<std::size_t>(k)]
                                                          : kBlankCode);
    b.set(9 + k, SYMTAB.attribute[static_cast<std::size_t>(k)]);
  }
  b.set(17, SYMTAB.headerWord);
  b.set(l.counts, kEntries);
  b.set(l.counts + 1, kNameCodes);
  b.set(l.counts + 2, kNames);
  for (int32_t k = 1; k <= kEntries; ++k) b.set(l.order + k - 1, SYMTAB.orderAt(k));
  for (int32_t f = 1; f <= kEntries; ++f) {
    const SymbolEntry& e = SYMTAB.entry(f);
    const int32_t q = l.entries + (f - 1) * l.entryWords;
    b.set(q, e.state);
    b.set(q + 1, e.code);
    b.set(q + 2, e.valueA);
    b.set(q + 3, e.valueB);
    for (int32_t c = 0; c < kDescription; ++c) b.set(q + 4 + c, e.description[static_cast<std::size_t>(c)]);
    b.set(q + 24, e.colour);
    b.set(q + 25, e.sizeMode);
  }
  for (int32_t j = 1; j <= kNames * kNameCodes; ++j) b.set(l.names + j - 1, SYMTAB.nameCode(j));
  b.set(l.nameCount, SYMTAB.userShapeCount);
}

void unpack(const Block& b, const Layout& l) {
  for (int32_t k = 0; k < kNameCodes; ++k) SYMTAB.attribute[static_cast<std::size_t>(k)] = b.get(9 + k);
  if (l.descriptions) SYMTAB.headerWord = b.get(17);
  for (int32_t k = 1; k <= kEntries; ++k) SYMTAB.orderAt(k) = b.get(l.order + k - 1);
  for (int32_t f = 1; f <= kEntries; ++f) {
    SymbolEntry& e = SYMTAB.entry(f);
    const int32_t q = l.entries + (f - 1) * l.entryWords;
    e.state = b.get(q);
    e.code = b.get(q + 1);
    e.valueA = b.get(q + 2);
    e.valueB = b.get(q + 3);
    const int32_t tail = l.descriptions ? q + 4 + kDescription : q + 4;
    if (l.descriptions) {
      for (int32_t c = 0; c < kDescription; ++c) e.description[static_cast<std::size_t>(c)] = b.get(q + 4 + c);
    }
    e.colour = b.get(tail);
    e.sizeMode = b.get(tail + 1);
  }
  for (int32_t j = 1; j <= kNames * kNameCodes; ++j) SYMTAB.nameCode(j) = b.get(l.names + j - 1);
  SYMTAB.userShapeCount = b.get(l.nameCount);
}

// ---- The listing ----------------------------------------------------------------------

constexpr std::array<std::string_view, 8> kShapeTexts = {
    "Plus", "Asterisk", "Cross", "Square", "Diamond", "Flag", "Triangle", "Minus"};
constexpr std::array<std::string_view, 8> kColourTexts = {
    "Modulate", "White", "Red", "Orange", "Yellow", "Green", "Blue", "Violet"};

constexpr int32_t kStateColumn = 11;
constexpr int32_t kColourColumn = 18;
constexpr int32_t kSizeColumn = 28;
constexpr int32_t kRangeColumn = 38;

// Appends TEXT to CODES from FIRST on, within the line; LAST as the code-text routines.
void appendText(std::string_view text, int32_t first, std::span<int32_t> codes, int32_t& last) {
  last = first - 1;
  for (char c : text) {
    if (last < 0 || last >= static_cast<int32_t>(codes.size())) return;
    codes[static_cast<std::size_t>(last)] = codeOf(c);
    ++last;
  }
}

// One listing line: a code line blank to start with, filled at columns.
class ListingLine {
 public:
  ListingLine() { line_.fill(kBlankCode); }

  void put(int32_t column, std::string_view text) {
    int32_t last = 0;
    appendText(text, column, line_, last);
    end_ = std::max(end_, last);
  }
  void putCodes(int32_t column, const Block& b, int32_t k, int32_t n) {
    for (int32_t c = 0; c < n && column + c <= kListingLineCodes; ++c) {
      line_[static_cast<std::size_t>(column + c - 1)] = b.get(k + c);
      end_ = std::max(end_, column + c);
    }
  }
  void putRange(int32_t column, int32_t code, int32_t valueA, int32_t valueB) {
    int32_t last = 0;
    RNGTXT(code, std::bit_cast<float>(valueA), std::bit_cast<float>(valueB), column, line_, last);
    end_ = std::max(end_, last);
  }
  void print(int32_t mode) const { LSTLIN(line_, end_, mode, 0, 1, kListingLineCodes); }

 private:
  std::array<int32_t, kListingLineCodes> line_;
  int32_t end_ = 0;
};

void printText(std::string_view text, int32_t mode) {
  ListingLine line;
  line.put(1, text);
  line.print(mode);
}

// "Associated results attribute: " and the first word of the attribute name.
void printAttribute(const Block& b, int32_t mode) {
  std::array<int32_t, kNameCodes> name{};
  for (int32_t k = 0; k < kNameCodes; ++k) name[static_cast<std::size_t>(k)] = b.get(9 + k);
  int32_t kind = 0;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(name, 1, kNameCodes, kLexName, kind, first, last, ivalue, rvalue);
  ListingLine line;
  constexpr std::string_view kHead = "Associated results attribute: ";
  line.put(1, kHead);
  const int32_t column = static_cast<int32_t>(kHead.size()) + 1;
  if (kind == kTokenText && first >= 1 && last <= kNameCodes && first <= last) {
    line.putCodes(column, b, 9 + first - 1, last - first + 1);
  } else {
    line.put(column, "None given");
  }
  line.print(mode);
}

void printEntry(const Block& b, const Layout& l, int32_t e, int32_t mode) {
  const int32_t q = l.entries + (e - 1) * l.entryWords;
  const int32_t tail = l.descriptions ? q + 4 + kDescription : q + 4;
  ListingLine line;
  if (e <= SymTab::kBuiltInShapes) {
    line.put(1, kShapeTexts[static_cast<std::size_t>(e - 1)]);
  } else {
    line.putCodes(1, b, l.names + (e - SymTab::kBuiltInShapes - 1) * kNameCodes, kNameCodes);
  }
  line.put(kStateColumn, b.get(q) == 0 ? "Off" : "On");
  const int32_t colour = b.get(tail);
  line.put(kColourColumn, kColourTexts[static_cast<std::size_t>(colour >= 1 && colour <= 7 ? colour : 0)]);
  const int32_t size = b.get(tail + 1);
  line.put(kSizeColumn, size == 2 ? "Absmax" : size == 1 ? "Scaled" : "Fixed");
  if (!l.descriptions || b.get(17) == 0) {
    line.putRange(kRangeColumn, b.get(q + 1), b.get(q + 2), b.get(q + 3));
  } else {
    line.putCodes(kRangeColumn, b, q + 4, kDescription);
  }
  line.print(mode);
}

int32_t list(const Block& b, const Layout& l) {
  const int32_t mode = DSPSTA.resultsListingFile == 1 ? 2 : 0;
  printText("", mode);
  ListingLine name;
  name.put(1, "Symbol set: ");
  name.putCodes(13, b, 1, kNameCodes);
  name.print(mode);
  printAttribute(b, mode);
  printText("", mode);
  ListingLine heading;
  ListingLine underline;
  constexpr std::array<int32_t, 5> kColumns = {1, kStateColumn, kColourColumn, kSizeColumn,
                                               kRangeColumn};
  constexpr std::array<std::string_view, 5> kHeadings = {"Symbol", "State", "Colour", "Size",
                                                         "Range"};
  for (std::size_t k = 0; k < kColumns.size(); ++k) {
    heading.put(kColumns[k], kHeadings[k]);
    underline.put(kColumns[k], std::string(kHeadings[k].size(), '-'));
  }
  heading.print(mode);
  underline.print(mode);
  printText("", mode);

  int32_t next = 0;
  if (!compatible(b, l)) {
    next = skipIncompatible(b, l);
    printText("    Symbol set definition is incompatible", mode);
  } else {
    const int32_t shown = SymTab::kBuiltInShapes + b.get(l.nameCount);
    for (int32_t k = 0; k < kEntries; ++k) {
      const int32_t e = b.get(l.order + k);
      if (e > shown) continue;
      printEntry(b, l, e, mode);
      printText("", mode);
    }
    next = b.positionAt(l.length);
  }
  printText("", mode);
  return next;
}

// The unit of the listing file.
int32_t listFileUnit() { return IOUNIT.slot(fileTypeRow(kListFileType)->openSlot); }

}  // namespace

void SYMLST(int32_t mode, std::span<const int32_t> setName, std::span<int32_t> page,
            int32_t& position) {
  Block b(page, position);
  if (mode == kSymbolPack) {
    pack(setName, b);
    position = b.positionAt(kSymbolBlockWords);
    return;
  }
  const Layout l = layoutOf(b.get(0) == kVersion);
  if (mode != kSymbolUnpack) {
    position = list(b, l);
    return;
  }
  SYMINI(0);
  if (!compatible(b, l)) {
    position = skipIncompatible(b, l);
    return;
  }
  unpack(b, l);
  position = b.positionAt(l.length);
}

void SYMMRU(int32_t entry) {
  for (int32_t k = 2; k <= kEntries; ++k) {
    if (SYMTAB.orderAt(k) != entry) continue;
    for (int32_t j = k; j > 1; --j) SYMTAB.orderAt(j) = SYMTAB.orderAt(j - 1);
    SYMTAB.orderAt(1) = entry;
    return;
  }
}

void RNGTXT(int32_t code, float valueA, float valueB, int32_t first, std::span<int32_t> codes,
            int32_t& last) {
  last = first - 1;
  const int32_t digits = DSPSTA.rangeDigits;
  const auto text = [&](std::string_view piece) { appendText(piece, last + 1, codes, last); };
  const auto value = [&](float v) { REALTX(v, digits, last + 1, codes, last); };
  switch (code) {
    case 0: return text("None");
    case 901: text("= "); return value(valueA);
    case 902: text("# "); return value(valueA);
    case 908: return text("Default");
    case 909: return text("All values");
    default: break;
  }
  constexpr std::array<std::string_view, 4> kLower = {"> ", ">= ", "Abs> ", "Abs>= "};
  constexpr std::array<std::string_view, 2> kConjunction = {" and ", " or "};
  constexpr std::array<std::string_view, 4> kUpper = {"< ", "<= ", "Abs< ", "Abs<= "};
  constexpr std::array<std::string_view, 4> kUpperAfterLower = {"< ", "<= ", "abs< ", "abs<= "};
  const int32_t lower = code % 10;
  const int32_t conjunction = code / 10 % 10;
  const int32_t upper = code / 100 % 10;
  const bool hasLower = lower >= 1 && lower <= 4;
  if (hasLower) {
    text(kLower[static_cast<std::size_t>(lower - 1)]);
    value(valueA);
  }
  if (conjunction >= 1 && conjunction <= 2) text(kConjunction[static_cast<std::size_t>(conjunction - 1)]);
  if (upper >= 1 && upper <= 4) {
    text((hasLower ? kUpperAfterLower : kUpper)[static_cast<std::size_t>(upper - 1)]);
    value(valueB);
  }
}

void LSTLIN(std::span<const int32_t> text, int32_t length, int32_t mode, int32_t separator,
            int32_t listing, int32_t maxLength) {
  if (listing == 1 && DSPSTA.listingSwitch == 0) return;
  int32_t n = std::clamp(std::min(length, maxLength), 0, static_cast<int32_t>(text.size()));
  while (n > 0 && text[static_cast<std::size_t>(n - 1)] == kBlankCode) --n;
  const std::span<const int32_t> used = text.first(static_cast<std::size_t>(n));

  std::string line(separator != 1 && listing == 1 ? "; " : "  ");
  if (mode >= 1) {
    line.reserve(static_cast<std::size_t>(n) + 2);
    for (int32_t k = 0; k < n; ++k) {
      char c = charOf(used[static_cast<std::size_t>(k)]);
      if (separator == 1 && c == ' ' && k > 0 && charOf(used[static_cast<std::size_t>(k - 1)]) != ' ') c = ',';
      line.push_back(c);
    }
  }
  if (mode != 1) CODPRT(used, n);
  if (mode >= 1) io::writeRecord(listFileUnit(), line);
}

}  // namespace kvr
