// The attribute definition records: store, fetch and find, the definition assembly, the
// reference scan and the small helpers, one implementation over the two tables.
#include "command/atrrec.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/elttab.h"
#include "modeldb/entqry.h"
#include "platform/fmtedit.h"
#include "runtime/reghed.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kStateMode = 2;
constexpr int32_t kDirectoryRead = 2;  // REC7A / REC7B: any mode but 1 reads

// Texts in the records.
constexpr int32_t kNameChars = 32;
constexpr int32_t kNameShown = 30;  // characters a fetch gives back
constexpr int32_t kCodeChars = 8;
constexpr int32_t kCharsPerWord = 4;

// Header record.
constexpr int32_t kHeaderWords = 36;
constexpr int32_t kHeaderName = 1;
constexpr int32_t kHeaderCode = 9;
constexpr int32_t kHeaderCount = 11;
constexpr int32_t kHeaderChild = 12;

// Text and value records: the words both share.
constexpr int32_t kKeyWord = 1;
constexpr int32_t kRecordName = 2;
constexpr int32_t kRecordCode = 10;
constexpr int32_t kKindWord = 12;

// Value record.
constexpr int32_t kValueWords = 76;
constexpr int32_t kFlagsWord = 13;
constexpr int32_t kNumbersWord = 14;
constexpr int32_t kTextWord = 14;
constexpr int32_t kTextWordsMax = 63;

// Definition block.
constexpr int32_t kBlockCounts = 4;
constexpr int32_t kGroupValues = 4;  // attribute reals per header
constexpr int32_t kAssemblyWork = 10000;  // the reference scan's work buffer
constexpr int32_t kSeqWordsWhole = 63;
constexpr int32_t kSeqTailChars = 3;

// The differences between the two tables.
struct Layout {
  int32_t array;
  void (*directory)(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                    int32_t&);
  void (*state)(int32_t, int32_t, int32_t&);
  int32_t textWords;
  int32_t extraWord;   // option flags; 0 none
  int32_t countWord;   // the child count of a text record
  int32_t childWord;   // child 1 of a text record
  int32_t blockPrefix; // words before the path in a definition block
  int32_t attributeType;
  bool textCountChars;  // a text store reads the count's characters and answers words x 4
};

constexpr Layout kMaterialLayout = {kArrMaterialTable, REC7A, ITMNAM, 54, 0, 13, 14, 4, 4, true};
constexpr Layout kPropertyLayout = {kArrPropertyTable, REC7B, ITMNA2, 55, 13, 14, 15, 24, 3, false};

const Layout& layoutOf(DefinitionTable table) {
  return table == DefinitionTable::Material ? kMaterialLayout : kPropertyLayout;
}

struct Directory {
  int32_t state = 0;
  int32_t headers = 0, texts = 0, values = 0;
  int32_t headerStart = 0, textStart = 0, valueStart = 0;
};

Directory readDirectory(const Layout& t) {
  Directory d;
  t.directory(kDirectoryRead, d.state, d.headers, d.texts, d.values, d.headerStart, d.textStart,
              d.valueStart);
  return d;
}

// The first array word of record N of a kind that starts at START with records of LENGTH
// words; 0 when it lies below word 1 or beyond the 32-bit word numbers.
int32_t recordWord(int32_t start, int32_t length, int32_t n) {
  const int64_t w = int64_t{start} + (int64_t{n} - 1) * length;
  if (w < 1 || w + length - 1 > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(w);
}

// Whether LENGTH words from FIRST of named array K have been written, so that a read stays
// inside the array (a read beyond it would end the run).
bool readable(int32_t k, int32_t first, int32_t length) {
  if (first < 1 || length < 1 || k < 1 || k > REGHED.top) return false;
  return int64_t{first} + length - 1 <= REGHED.ARRLEN(k);
}

bool readWords(int32_t k, int32_t first, std::span<int32_t> words) {
  const auto n = static_cast<int32_t>(words.size());
  if (!readable(k, first, n)) return false;
  int32_t stat = 0;
  ARRIO(kRead, k, first, n, kIntegers, words, {}, stat);
  return true;
}

void writeWords(int32_t k, int32_t first, std::span<int32_t> words) {
  int32_t stat = 0;
  ARRIO(kWrite, k, first, static_cast<int32_t>(words.size()), kIntegers, words, {}, stat);
}

// Word W (1..) of a record buffer.
int32_t& at(std::span<int32_t> record, int32_t w) { return record[static_cast<size_t>(w - 1)]; }

// Packs CHARS characters of TEXT (blanks beyond its length) into A4 words from word W.
void pack(FText text, int32_t chars, std::span<int32_t> record, int32_t w) {
  const int32_t words = (chars + kCharsPerWord - 1) / kCharsPerWord;
  for (int32_t j = 0; j < words; ++j) {
    char four[kCharsPerWord];
    for (int32_t c = 0; c < kCharsPerWord; ++c) {
      const int32_t pos = j * kCharsPerWord + c + 1;
      four[c] = pos <= chars && pos <= text.length() ? text.at(pos) : ' ';
    }
    at(record, w + j) = a4Word(std::string_view(four, kCharsPerWord));
  }
}

// Writes CHARS characters of the A4 words from word W of RECORD into TEXT from position
// 1 on, cut at its length.
void unpack(std::span<const int32_t> record, int32_t w, int32_t chars, FText text) {
  const int32_t n = std::min(chars, text.length());
  for (int32_t pos = 1; pos <= n; ++pos) {
    const auto word = static_cast<uint32_t>(record[static_cast<size_t>(w - 1 + (pos - 1) / kCharsPerWord)]);
    text.at(pos) = static_cast<char>((word >> (8 * ((pos - 1) % kCharsPerWord))) & 0xFFu);
  }
}

void fetchName(std::span<const int32_t> record, int32_t w, FText name) {
  name.fill(' ');
  unpack(record, w, kNameShown, name);
}

void fetchCode(std::span<const int32_t> record, int32_t w, FText code) {
  code.fill(' ');
  unpack(record, w, kCodeChars, code);
}

void storeNameCode(FText name, FText code, std::span<int32_t> record, int32_t nameWord,
                   int32_t codeWord) {
  pack(name, kNameChars, record, nameWord);
  pack(code, kCodeChars, record, codeWord);
}

// The A4 words of a text field whose count word is FLAGS: the count without 256, rounded
// up to whole words, at most 63.
int32_t textWords(int32_t flags, int32_t& chars) {
  chars = (flags & kTextCountExtra) != 0 ? flags - kTextCountExtra : flags;
  if (chars <= 0) {
    chars = 0;
    return 0;
  }
  return std::min((chars + kCharsPerWord - 1) / kCharsPerWord, kTextWordsMax);
}

// The record of a kind that a find or fetch reads: where it starts and how long it is.
struct Kind {
  int32_t start;
  int32_t count;
  int32_t length;
};

// Reads record INDEX of KIND into RECORD: false when INDEX lies outside 1..count or the
// record outside what the array holds.
bool fetchRecord(const Layout& t, const Kind& kind, int32_t index, std::span<int32_t> record) {
  if (index < 1 || index > kind.count) return false;
  const int32_t w = recordWord(kind.start, kind.length, index);
  return w != 0 && readWords(t.array, w, record.first(static_cast<size_t>(kind.length)));
}

// The number of the first record of KIND whose key word is KEY; 0 when there is none.
int32_t findRecord(const Layout& t, const Kind& kind, int32_t key) {
  for (int32_t n = 1; n <= kind.count; ++n) {
    const int32_t w = recordWord(kind.start, kind.length, n);
    std::array<int32_t, 1> word{};
    // A directory that names records the array does not hold ends the search there.
    if (w == 0 || !readWords(t.array, w, word)) return 0;
    if (word[0] == key) return n;
  }
  return 0;
}

// The common frame of the text and value routines: store, fetch or find record INDEX of
// KIND, with FILL (record -> arguments) and MAKE (arguments -> record, false when nothing
// may be stored).
template <class Fill, class Make>
void keyedRecord(const Layout& t, const Kind& kind, int32_t mode, int32_t& index,
                 int32_t key, std::span<int32_t> record, Fill fill, Make make,
                 int32_t& status) {
  status = kRecordDone;
  if (mode == kRecordStore) {
    // A store below record 1 would write over the directory or the records before.
    const int32_t w = index < 1 ? 0 : recordWord(kind.start, kind.length, index);
    if (w == 0) {
      status = kRecordBadIndex;
      return;
    }
    std::fill(record.begin(), record.end(), 0);
    if (!make(record, status)) return;
    writeWords(t.array, w, record);
    return;
  }
  if (mode == kRecordFetch) {
    if (!fetchRecord(t, kind, index, record)) {
      status = kRecordBadIndex;
      return;
    }
    fill(record);
    return;
  }
  if (mode == kRecordFind) {
    const int32_t n = findRecord(t, kind, key);
    if (n == 0 || !fetchRecord(t, kind, n, record)) {
      status = kRecordNoKey;
      if (kind.count > 0) index = kind.count + 1;
      return;
    }
    index = n;
    fill(record);
    return;
  }
  status = kRecordBadMode;
}

}  // namespace

// ----- Records ---------------------------------------------------------------------------

void headerRecord(DefinitionTable table, int32_t mode, int32_t index, FText name, FText code,
                  std::span<int32_t, kHeaderChildren> children, int32_t& status) {
  const Layout& t = layoutOf(table);
  const Directory d = readDirectory(t);
  const Kind kind = {d.headerStart, d.headers, kHeaderWords};
  std::array<int32_t, kHeaderWords> record{};
  status = kRecordDone;
  if (mode == kRecordStore) {
    // The store does not test INDEX against the header count; below 1 it would write
    // over the directory.
    const int32_t w = index < 1 ? 0 : recordWord(kind.start, kind.length, index);
    if (w == 0) {
      status = kRecordBadIndex;
      return;
    }
    storeNameCode(name, code, record, kHeaderName, kHeaderCode);
    at(record, kHeaderCount) = LOCINT(children, kHeaderChildren, 0);
    std::copy(children.begin(), children.end(), record.begin() + (kHeaderChild - 1));
    writeWords(t.array, w, record);
  } else if (mode == kRecordFetch) {
    if (!fetchRecord(t, kind, index, record)) {
      status = kRecordBadIndex;
      return;
    }
    fetchName(record, kHeaderName, name);
    fetchCode(record, kHeaderCode, code);
    std::copy_n(record.begin() + (kHeaderChild - 1), kHeaderChildren, children.begin());
  } else {
    status = kRecordBadMode;
  }
}

void textRecord(DefinitionTable table, int32_t mode, int32_t& index, int32_t& key,
                int32_t& kind, FText name, FText code, int32_t& extra,
                std::span<int32_t, kTextChildren> children, int32_t& status) {
  const Layout& t = layoutOf(table);
  const Directory d = readDirectory(t);
  std::array<int32_t, 55> buffer{};
  const std::span<int32_t> record = std::span(buffer).first(static_cast<size_t>(t.textWords));
  auto fill = [&](std::span<int32_t> r) {
    key = at(r, kKeyWord);
    fetchName(r, kRecordName, name);
    fetchCode(r, kRecordCode, code);
    kind = at(r, kKindWord);
    if (t.extraWord != 0) extra = at(r, t.extraWord);
    std::copy_n(r.begin() + (t.childWord - 1), kTextChildren, children.begin());
  };
  auto make = [&](std::span<int32_t> r, int32_t&) {
    at(r, kKeyWord) = key;
    storeNameCode(name, code, r, kRecordName, kRecordCode);
    at(r, kKindWord) = kind;
    if (t.extraWord != 0) at(r, t.extraWord) = extra;
    at(r, t.countWord) = LOCINT(children, kCountedChildren, 0);
    std::copy(children.begin(), children.end(), r.begin() + (t.childWord - 1));
    return true;
  };
  keyedRecord(t, {d.textStart, d.texts, t.textWords}, mode, index, key, record, fill, make,
              status);
}

void valueRecord(DefinitionTable table, int32_t mode, int32_t& index, int32_t& key,
                 int32_t& kind, FText name, FText code, int32_t& flags,
                 std::span<int32_t, kValueNumbers> integers,
                 std::span<float, kValueNumbers> reals, FText text, int32_t& status) {
  const Layout& t = layoutOf(table);
  const Directory d = readDirectory(t);
  std::array<int32_t, kValueWords> record{};
  auto fill = [&](std::span<int32_t> r) {
    key = at(r, kKeyWord);
    fetchName(r, kRecordName, name);
    fetchCode(r, kRecordCode, code);
    kind = at(r, kKindWord);
    flags = at(r, kFlagsWord);
    if (kind == kFieldInteger) {
      std::copy_n(r.begin() + (kNumbersWord - 1), kValueNumbers, integers.begin());
    } else if (kind == kFieldReal) {
      for (int32_t j = 0; j < kValueNumbers; ++j) {
        reals[static_cast<size_t>(j)] = WRDREA(at(r, kNumbersWord + j));
      }
    } else if (kind == kFieldText) {
      int32_t chars = 0;
      const int32_t words = textWords(flags, chars);
      text.fill(' ');
      unpack(r, kTextWord, words * kCharsPerWord, text);
    }
  };
  auto make = [&](std::span<int32_t> r, int32_t& stat) {
    if (kind != kFieldInteger && kind != kFieldReal && kind != kFieldText) {
      stat = kRecordBadKind;
      return false;
    }
    at(r, kKeyWord) = key;
    storeNameCode(name, code, r, kRecordName, kRecordCode);
    at(r, kKindWord) = kind;
    at(r, kFlagsWord) = flags;
    if (kind == kFieldInteger) {
      std::copy(integers.begin(), integers.end(), r.begin() + (kNumbersWord - 1));
    } else if (kind == kFieldReal) {
      for (int32_t j = 0; j < kValueNumbers; ++j) {
        WRDCPY(at(r, kNumbersWord + j), reals[static_cast<size_t>(j)]);
      }
    } else {
      int32_t chars = 0;
      const int32_t words = textWords(flags, chars);
      // MATDF takes the count's characters and blank-pads the last word; PHYDF whole words.
      pack(text, t.textCountChars ? std::min(chars, words * kCharsPerWord) : words * kCharsPerWord,
           r, kTextWord);
      if (t.textCountChars) flags = words * kCharsPerWord;
    }
    return true;
  };
  keyedRecord(t, {d.valueStart, d.values, kValueWords}, mode, index, key, record, fill, make,
              status);
}

int32_t tableState(DefinitionTable table) {
  int32_t state = 0;
  layoutOf(table).state(kStateMode, 0, state);
  return state;
}

int32_t tableHeaders(DefinitionTable table) {
  const Layout& t = layoutOf(table);
  const Directory d = readDirectory(t);
  // A damaged count cannot make a walk over the headers run beyond the records held.
  const int64_t held = REGHED.top >= t.array && d.headerStart >= 1
                           ? (int64_t{REGHED.ARRLEN(t.array)} - d.headerStart + 1) / kHeaderWords
                           : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(d.headers, 0, std::max<int64_t>(held, 0)));
}

void ATRHDA(int32_t mode, int32_t index, FText name, FText code,
            std::span<int32_t, kHeaderChildren> children, int32_t& status) {
  headerRecord(DefinitionTable::Property, mode, index, name, code, children, status);
}

void ATRHDB(int32_t mode, int32_t index, FText name, FText code,
            std::span<int32_t, kHeaderChildren> children, int32_t& status) {
  headerRecord(DefinitionTable::Material, mode, index, name, code, children, status);
}

void ATRTXA(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& extra, std::span<int32_t, kTextChildren> children, int32_t& status) {
  textRecord(DefinitionTable::Property, mode, index, key, kind, name, code, extra, children,
             status);
}

void ATRTXB(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            std::span<int32_t, kTextChildren> children, int32_t& status) {
  int32_t extra = 0;
  textRecord(DefinitionTable::Material, mode, index, key, kind, name, code, extra, children,
             status);
}

void ATRVLA(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& flags, std::span<int32_t, kValueNumbers> integers,
            std::span<float, kValueNumbers> reals, FText text, int32_t& status) {
  valueRecord(DefinitionTable::Property, mode, index, key, kind, name, code, flags, integers,
              reals, text, status);
}

void ATRVLB(int32_t mode, int32_t& index, int32_t& key, int32_t& kind, FText name, FText code,
            int32_t& flags, std::span<int32_t, kValueNumbers> integers,
            std::span<float, kValueNumbers> reals, FText text, int32_t& status) {
  valueRecord(DefinitionTable::Material, mode, index, key, kind, name, code, flags, integers,
              reals, text, status);
}

// ----- Definition assembly ----------------------------------------------------------------

namespace {

// The out-arrays of one assembly, each with its capacity.
struct AssemblyOut {
  std::span<int32_t, 2> label;
  int32_t& pathLength;
  std::span<int32_t> path;
  int32_t& k;
  std::span<int32_t> keys;
  std::span<int32_t> kinds;
  std::span<int32_t> integers;
  std::span<float> reals;
  FTextArray texts;
  std::span<int32_t> textLengths;
};

int32_t capacity(std::span<const int32_t> s) { return static_cast<int32_t>(s.size()); }

// Reads the block of ENTITY for header H into WORK; answers its length L, or 0 with STATUS
// set.
int32_t readBlock(const Layout& t, int32_t entity, int32_t h, std::span<int32_t> work,
                  int32_t w, std::span<int32_t, 2> label, int32_t& status) {
  // Entity 0 would make the attribute search look for a label instead of a key.
  int32_t count = 0;
  if (entity >= 1) {
    int32_t id = entity;
    ATTFND(1, label, t.attributeType, id, count);
  }
  if (count == 0) {
    status = kDefinitionNoAttribute;
    return 0;
  }
  std::array<float, 2> group{};
  const int64_t position = int64_t{kGroupValues} * h - (kGroupValues - 1);
  if (position <= std::numeric_limits<int32_t>::max()) {
    int32_t n = 2;
    ATTVLR(1, t.attributeType, entity, static_cast<int32_t>(position), n, group);
  }
  const int32_t s = intOf(group[0]);
  const int32_t length = intOf(group[1]);
  if (s < 1) {
    status = kDefinitionNoBlock;
    return 0;
  }
  // A block too short for its four counts, longer than the work buffer, or beyond the
  // integer values the model holds cannot be read whole.
  if (length < kBlockCounts || length > w || !readable(kArrIntegerValues, s, length)) {
    status = kDefinitionDoesNotFit;
    return 0;
  }
  int32_t stat = 0;
  ARRIO(kRead, kArrIntegerValues, s, length, kIntegers, work, {}, stat);
  return length;
}

void assemble(const Layout& t, DefinitionTable table, int32_t entity, int32_t h, int32_t m,
              std::span<int32_t> work, int32_t w, AssemblyOut& out, int32_t& status) {
  status = kDefinitionDone;
  out.pathLength = 0;
  out.k = 0;
  const auto clear = [m](auto s, auto zero) {
    std::fill_n(s.begin(), std::min(static_cast<std::size_t>(std::max(m, 0)), s.size()), zero);
  };
  clear(out.integers, 0);
  clear(out.reals, 0.0f);
  clear(out.textLengths, 0);

  int32_t state = 0;
  t.state(kStateMode, 0, state);
  if (state == 0) {
    status = kDefinitionEmpty;
    return;
  }
  if (state < 0) {
    status = kDefinitionUnusable;
    return;
  }
  const Directory d = readDirectory(t);
  // A header below 1 would read the groups before the attribute's first.
  if (h < 1 || h > d.headers) {
    status = kDefinitionNoHeader;
    return;
  }
  w = std::min(w, capacity(work));
  const int32_t length = readBlock(t, entity, h, work, w, out.label, status);
  if (length == 0) return;
  const std::span<const int32_t> block = work.first(static_cast<size_t>(length));
  auto word = [&](int32_t p) { return block[static_cast<size_t>(p - 1)]; };

  // Every count must be at least 0, every list must lie inside the block and fit the
  // out-array it goes to; else the walk would read or write beyond them.
  const int32_t c1 = word(1), c2 = word(2), c3 = word(3), c4 = word(4);
  const int32_t texts = std::min(out.texts.count(), capacity(out.textLengths));
  if (c1 < 0 || c2 < 0 || c3 < 0 || c4 < 0 || c1 > capacity(out.path) ||
      c2 > capacity(out.integers) || c3 > static_cast<int32_t>(out.reals.size()) || c4 > texts ||
      int64_t{t.blockPrefix} + c1 + c2 + c3 + c4 > length) {
    status = kDefinitionDoesNotFit;
    return;
  }
  int32_t p = t.blockPrefix + 1;
  for (int32_t j = 1; j <= c1; ++j) out.path[static_cast<size_t>(j - 1)] = word(p++);
  out.pathLength = c1;
  for (int32_t j = 1; j <= c2; ++j) out.integers[static_cast<size_t>(j - 1)] = word(p++);
  for (int32_t j = 1; j <= c3; ++j) out.reals[static_cast<size_t>(j - 1)] = WRDREA(word(p++));
  for (int32_t j = 1; j <= c4; ++j) {
    const int32_t c = p <= length ? word(p) : -1;
    // The word count is taken wide: a count near the INTEGER limit must be refused, not
    // wrapped.
    const int64_t words =
        c < 0 ? 0 : std::max<int64_t>(1, (int64_t{c} + kCharsPerWord - 1) / kCharsPerWord);
    if (c < 0 || int64_t{p} + words > length) {
      status = kDefinitionDoesNotFit;
      return;
    }
    SEQTXT(c, block.subspan(static_cast<size_t>(p), static_cast<size_t>(words)), out.texts.at(j));
    // The slot holds 255 characters: a longer count would send readers past it.
    out.textLengths[static_cast<size_t>(j - 1)] = std::min(c, out.texts.at(j).length());
    p += (c - 1) / kCharsPerWord + 2;
  }

  // The chosen option: the last path entry. An empty path chooses none.
  std::array<int32_t, kTextChildren> children{};
  int32_t index = 0, key = c1 > 0 ? out.path[static_cast<size_t>(c1 - 1)] : 0, kind = 0,
          extra = 0, stat = 0;
  FixedText name(kNameShown), code(kCodeChars);
  if (c1 > 0) textRecord(table, kRecordFind, index, key, kind, name, code, extra, children, stat);
  if (c1 == 0 || stat != kRecordDone || (kind != kOptionPlain && kind != kOptionFields)) {
    status = kDefinitionNoOption;
    return;
  }
  if (kind == kOptionPlain) return;
  const int32_t k = LOCINT(children, kCountedChildren, 0);
  if (k > capacity(out.keys) || k > capacity(out.kinds)) {
    status = kDefinitionDoesNotFit;
    return;
  }
  out.k = k;

  int32_t ci = 0, cr = 0, ct = 0;
  for (int32_t i = 1; i <= k; ++i) {
    int32_t vkey = children[static_cast<size_t>(i - 1)], vkind = 0, flags = 0, vindex = 0;
    std::array<int32_t, kValueNumbers> ints{};
    std::array<float, kValueNumbers> reals{};
    FixedText text(kFieldTextLength);
    valueRecord(table, kRecordFind, vindex, vkey, vkind, name, code, flags, ints, reals, text,
                stat);
    // A key without a value record stays in the lists with kind 0 and no value.
    if (stat != kRecordDone) vkind = kFieldMissing;
    out.keys[static_cast<size_t>(i - 1)] = children[static_cast<size_t>(i - 1)];
    out.kinds[static_cast<size_t>(i - 1)] = vkind;
    const bool hasDefault = PKBIT2(std::span<const int32_t>(&flags, 1), kFlagDefault) == 1;
    if (vkind == kFieldInteger && ++ci > c2) {
      if (ci > capacity(out.integers)) {
        status = kDefinitionDoesNotFit;
        return;
      }
      out.integers[static_cast<size_t>(ci - 1)] = hasDefault ? ints[2] : 0;
    } else if (vkind == kFieldReal && ++cr > c3) {
      if (cr > static_cast<int32_t>(out.reals.size())) {
        status = kDefinitionDoesNotFit;
        return;
      }
      out.reals[static_cast<size_t>(cr - 1)] = hasDefault ? reals[2] : 0.0f;
    } else if (vkind == kFieldText && ++ct > c4) {
      if (ct > texts) {
        status = kDefinitionDoesNotFit;
        return;
      }
      int32_t n = kFieldTextLength;
      STRIPB(text, n);
      const bool empty = n <= 1 && (text.text().at(1) == ' ' || text.text().at(1) == '\t' ||
                                    text.text().at(1) == '\0');
      const FText slot = out.texts.at(ct);
      slot.fill(' ');
      if (!empty) slot.assign(text.view().substr(0, static_cast<size_t>(n)));
      out.textLengths[static_cast<size_t>(ct - 1)] = empty ? 0 : std::min(n, slot.length());
    }
  }
}

void assembleIn(DefinitionTable table, int32_t entity, int32_t h, int32_t m,
                std::span<int32_t> work, int32_t w, std::span<int32_t, 2> label,
                int32_t& pathLength, std::span<int32_t> path, int32_t& k,
                std::span<int32_t> keys, std::span<int32_t> kinds, std::span<int32_t> integers,
                std::span<float> reals, FTextArray texts, std::span<int32_t> textLengths,
                int32_t& status) {
  AssemblyOut out{label, pathLength, path, k, keys, kinds, integers, reals, texts, textLengths};
  assemble(layoutOf(table), table, entity, h, m, work, w, out, status);
}

}  // namespace

void ATRRDA(int32_t entity, int32_t h, int32_t m, std::span<int32_t> work, int32_t w,
            std::span<int32_t, 2> label, int32_t& pathLength, std::span<int32_t> path,
            int32_t& k, std::span<int32_t> keys, std::span<int32_t> kinds,
            std::span<int32_t> integers, std::span<float> reals, FTextArray texts,
            std::span<int32_t> textLengths, int32_t& status) {
  assembleIn(DefinitionTable::Property, entity, h, m, work, w, label, pathLength, path, k, keys,
             kinds, integers, reals, texts, textLengths, status);
}

void ATRRDB(int32_t entity, int32_t h, int32_t m, std::span<int32_t> work, int32_t w,
            std::span<int32_t, 2> label, int32_t& pathLength, std::span<int32_t> path,
            int32_t& k, std::span<int32_t> keys, std::span<int32_t> kinds,
            std::span<int32_t> integers, std::span<float> reals, FTextArray texts,
            std::span<int32_t> textLengths, int32_t& status) {
  assembleIn(DefinitionTable::Material, entity, h, m, work, w, label, pathLength, path, k, keys,
             kinds, integers, reals, texts, textLengths, status);
}

void assembleDefinition(DefinitionTable table, int32_t entity, int32_t h, int32_t workCapacity,
                        Definition& d) {
  std::vector<int32_t> work(static_cast<size_t>(std::max(workCapacity, 0)));
  assembleIn(table, entity, h, kDefinitionSlots, work, workCapacity, d.label, d.pathLength,
             d.path, d.count, d.keys, d.kinds, d.integers, d.reals,
             FTextArray(d.texts.data(), kFieldTextLength, kDefinitionSlots), d.textLengths,
             d.status);
}

// ----- Reference scan ---------------------------------------------------------------------

void ATRDSP(int32_t entity, int32_t selector, int32_t h, int32_t v, int32_t& curve,
            int32_t& kind47, int32_t& variation) {
  curve = kind47 = variation = 0;
  const bool liveCurves = LIVCRV() > 0;
  const bool liveVariations = LIVK40() > 0;
  const bool liveKind47 = LIVK47() > 0;
  if (!liveCurves && !liveVariations && !liveKind47) return;

  const DefinitionTable table = selector == 1 ? DefinitionTable::Property : DefinitionTable::Material;
  const int32_t state = tableState(table);
  if (state <= 0) return;
  const int32_t headers = tableHeaders(table);
  const int32_t firstHeader = h == -1 ? 1 : h;
  const int32_t lastHeader = h == -1 ? headers : h;

  std::vector<int32_t> work(kAssemblyWork);
  Definition d;
  for (int32_t hh = firstHeader; hh <= lastHeader; ++hh) {
    assembleIn(table, entity, hh, kDefinitionSlots, work, kAssemblyWork, d.label, d.pathLength,
               d.path, d.count, d.keys, d.kinds, d.integers, d.reals,
               FTextArray(d.texts.data(), kFieldTextLength, kDefinitionSlots), d.textLengths,
               d.status);
    if (d.status != kDefinitionDone) continue;
    const int32_t first = v == -1 ? 1 : v;
    const int32_t last = v == -1 ? d.count : v;
    for (int32_t i = std::max(first, 1); i <= std::min(last, d.count); ++i) {
      int32_t index = 0, key = d.keys[static_cast<size_t>(i - 1)], kind = 0, f = 0, stat = 0;
      std::array<int32_t, kValueNumbers> ints{};
      std::array<float, kValueNumbers> reals{};
      FixedText name(kNameShown), code(kCodeChars), text(kFieldTextLength);
      valueRecord(table, kRecordFind, index, key, kind, name, code, f, ints, reals, text, stat);
      // Text fields refer to nothing; a key without a value record is passed over.
      if (stat != kRecordDone || kind == kFieldText) continue;
      const bool has32 = (f & kFlagCurve) != 0;
      const bool has64 = (f & kFlagVariation) != 0;
      const bool has128 = (f & kFlagKind47) != 0;
      if (state >= 3) {
        if (has32 && liveCurves) curve = -1;
        if (has128 && liveKind47) kind47 = -1;
        if (has64 && liveVariations) variation = -1;
      } else {
        const bool older = f < kFlagCurve;
        if ((has32 || older) && !has128 && liveCurves) curve = -1;
        if ((has64 || older) && !has128 && liveVariations) variation = -1;
      }
    }
  }
}

// ----- Helpers ----------------------------------------------------------------------------

int32_t LOCINT(std::span<const int32_t> list, int32_t count, int32_t value) {
  if (count <= 0) return count;
  const int32_t n = std::min(count, static_cast<int32_t>(list.size()));
  for (int32_t j = 1; j <= n; ++j) {
    if (list[static_cast<size_t>(j - 1)] == value) return j - 1;
  }
  return n;
}

void SEQTXT(int32_t c, std::span<const int32_t> words, FText text) {
  text.fill(' ');
  if (c <= 0) return;
  const int32_t w = (c - 1) / kCharsPerWord + 1;
  const int32_t held = static_cast<int32_t>(words.size());
  const int32_t whole = std::min({w, kSeqWordsWhole, held});
  unpack(words, 1, whole * kCharsPerWord, text);
  if (w > kSeqWordsWhole && held > kSeqWordsWhole) {
    const int32_t tail = std::min(c - kSeqWordsWhole * kCharsPerWord, kSeqTailChars);
    for (int32_t j = 1; j <= tail; ++j) {
      const int32_t pos = kSeqWordsWhole * kCharsPerWord + j;
      if (pos > text.length()) break;
      const auto word = static_cast<uint32_t>(words[kSeqWordsWhole]);
      text.at(pos) = static_cast<char>((word >> (8 * (j - 1))) & 0xFFu);
    }
  }
}

int32_t PKBIT2(std::span<const int32_t> flags, int32_t n) {
  constexpr int32_t kFlagsPerWord = 31;
  // A flag number below 1 would select a word before the array and a negative bit.
  if (n < 1) return 0;
  const int32_t w = (n - 1) / kFlagsPerWord;
  if (w >= static_cast<int32_t>(flags.size())) return 0;
  const int64_t magnitude = std::llabs(int64_t{flags[static_cast<size_t>(w)]});
  return static_cast<int32_t>((magnitude >> ((n - 1) % kFlagsPerWord)) & 1);
}

}  // namespace kvr
