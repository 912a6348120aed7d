// The display selection list, the drawing-item flags and the object mark bits.
#include "command/dslupd.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <cstddef>
#include <span>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modeldb/setdir.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/ftext.h"
#include "runtime/machcn.h"
#include "runtime/msgarg.h"
#include "runtime/pltcap.h"
#include "runtime/pltops.h"
#include "runtime/pltpar.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kFindOrCreate = -1;
constexpr int32_t kIntegers = -1;

constexpr int32_t kBlankWord = 0x20202020;
constexpr int32_t kListType = -4;  // the attribute type of the entries
constexpr int32_t kEntryValues = 4;
constexpr int32_t kFirstEntryItem = 31;  // entry i is drawing item i + 31
constexpr int32_t kItemRedraw = 2;       // the drawing item marked on every call
constexpr int32_t kItemCode22 = 24;      // the item of the entries of code -22
constexpr int32_t kItemPicture = 25;     // the item cleared on every call but compaction
constexpr int32_t kAllGroups = -1;
constexpr int32_t kRedraw = 2;  // a drawing flag asking for a redraw
constexpr int32_t kOpStatus = 7;  // the plot opcode that carries a drawing status code
constexpr int32_t kCapStatusOpcode = 8;  // PLTCAP word that lets opcode 7 be sent

constexpr int32_t kW1640ListFull = 640;
constexpr int32_t kW0323NotIndependent = 1323;

constexpr int32_t kAnyId = -1;
constexpr int32_t kAnyKind = 19;
constexpr int32_t kRetype = -2;
constexpr int32_t kCode22 = -22;
constexpr int32_t kCodeDeleted = -99;
constexpr int32_t kMarkState = 2;

constexpr int32_t kBitsPerObject = 6;
constexpr int32_t kMaxBitsPerWord = 31;
constexpr int32_t kZeroChunk = 1024;  // zero words written at a time to extend array 34

struct Entry {
  int32_t code = 0;
  int32_t kind = 0;
  int32_t id = 0;
  int32_t value = 0;
};

bool oneOf(int32_t x, std::initializer_list<int32_t> set) {
  return std::find(set.begin(), set.end(), x) != set.end();
}
bool groupCode(int32_t code) { return oneOf(code, {12, 13, 15, 32, 41, 43}); }
bool kind42or46(int32_t kind) { return kind == 42 || kind == 46; }
// The code filter D: 0 any code, else the code's remainder modulo 100 (with its sign).
bool codeMatches(int32_t d, int32_t code) { return d == 0 || code % 100 == d; }

// ----- Drawing items --------------------------------------------------------------------

// The flag of item K in group G as the window rule places it, and that window; nullptr
// outside the table.
int32_t* drawingItem(int32_t k, int32_t g, int32_t& window) {
  const bool inWindow0 = oneOf(k, {1, 3, 13, 20, 25, 26});
  window = inWindow0 ? 0 : DSPSTA.currentWindow;
  return DSPOPT.DRWFLG(k == 1 ? 0 : g, window, k);
}

int32_t group() { return DSPSTA.currentGroup; }

// Marks the items of entries 1..count.
void markEntries() {
  for (int32_t i = 1; i <= DSLSTA.count; ++i) DRWMRK(i + kFirstEntryItem, group());
}

// ----- Entries --------------------------------------------------------------------------

// The label of the entries' attribute records, "*DSL    " packed.
std::array<int32_t, 2> listLabel() {
  static const std::array<int32_t, 2> label = [] {
    FixedText text(8, "*DSL");
    // The packing stops at the last non-blank: the second word stays four blanks.
    std::array<int32_t, 2> w = {kBlankWord, kBlankWord};
    int32_t last = 0;
    TXTA4(text, 1, w, last);
    return w;
  }();
  return label;
}

Entry readEntry(int32_t i) {
  std::array<int32_t, kEntryValues> v{};
  int32_t count = kEntryValues;
  ATTVLI(kRead, kListType, i, 1, count, v);
  return {v[0], v[1], v[2], v[3]};
}

void writeEntry(int32_t i, const Entry& e) {
  std::array<int32_t, 2> label = listLabel();
  int32_t id = i;
  int32_t count = kEntryValues;
  ATTFND(kFindOrCreate, label, kListType, id, count);
  std::array<int32_t, kEntryValues> v = {e.code, e.kind, e.id, e.value};
  count = kEntryValues;
  ATTVLI(kWrite, kListType, i, 1, count, v);
}

// Appends E (the count below 68); an entry of code -22 sets the flag that waits for
// item 24.
void append(const Entry& e) {
  ++DSLSTA.count;
  writeEntry(DSLSTA.count, e);
  if (e.code == kCode22) DSLSTA.code22 = 1;
}

// Removes entry I: its last item is marked, item 24 when it was the entry of code -22
// that the flag waits for, and the entries above move down.
void removeEntry(int32_t i, const Entry& e) {
  DRWMRK(DSLSTA.count + kFirstEntryItem, group());
  if (e.code == kCode22 && DSLSTA.code22 != 0) {
    DRWMRK(kItemCode22, group());
    DSLSTA.code22 = 0;
  }
  DSLSTA.changed = 1;
  DSLSTA.current = 1;
  for (int32_t k = i + 1; k <= DSLSTA.count; ++k) writeEntry(k - 1, readEntry(k));
  --DSLSTA.count;
}

void listFull() { MSGW1(kW1640ListFull); }

// ----- Modes ----------------------------------------------------------------------------

// The rule of removal mode P (-10..-1) for entry E.
bool removedBy(int32_t p, int32_t d, const Entry& e) {
  switch (p) {
    case -10: return e.code == 45;
    case -9: return e.code == 44;
    case -8:
      return oneOf(e.kind, {42, 65, 46, 20}) && (d != 0 ? e.code == d : groupCode(e.code));
    case -7: return e.code == 42;
    case -6: return e.code == 29;
    case -5: return e.code == 8;
    case -4: return e.code == 3;
    case -3: return e.code == 2;
    case -2: return e.code < 0;
    default:
      return e.code > 0 && !oneOf(e.code, {2, 3, 8, 29, 42}) && !kind42or46(e.kind);
  }
}

void removeByRule(int32_t p, int32_t d) {
  DSLSTA.markState = 0;
  for (int32_t i = DSLSTA.count; i >= 1; --i) {
    const Entry e = readEntry(i);
    if (!removedBy(p, d, e)) continue;
    if (p == -4 || p == -3) {
      DSLSTA.markState = kMarkState;
      MRKCLR(p == -4 ? 2 : 1);
    }
    removeEntry(i, e);
    markEntries();
  }
}

void newList(int32_t d, int32_t q, int32_t r, int32_t v) {
  DSLSTA.markState = 0;
  MRKCLR(0);
  if (DSLSTA.count > 0) {
    DSLSTA.changed = 1;
    markEntries();
    if (DSLSTA.code22 == 1) {
      DRWMRK(kItemCode22, group());
      DSLSTA.code22 = 0;
    }
  }
  if (q != kRetype) {
    writeEntry(1, {d, r, q, v});
    DSLSTA.current = 1;
    DSLSTA.count = 1;
    return;
  }
  // Re-type the old entries into a new list; every copy lands at or below the entry it
  // was read from.
  DSLSTA.current = 0;
  const int32_t n = DSLSTA.count;
  DSLSTA.count = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const Entry e = readEntry(k);
    const bool codeKept = e.code == 29 ? d == 8 : e.code == 8 ? d == 29 : true;
    const bool kindKept = e.kind <= 4 || e.kind == 7 || e.kind == kAnyKind;
    if (!codeKept || !kindKept) continue;
    ++DSLSTA.count;
    writeEntry(DSLSTA.count, {d, e.kind, e.id, v});
    if (DSLSTA.current == 0) DSLSTA.current = DSLSTA.count;
    if (e.id == kAnyId) return;
  }
}

// Whether re-typing under code D, kind R and value V passes entry E over before the
// duplicate test (the rules in order; the pair and group rules can make E a candidate at
// once).
bool passedOver(int32_t d, int32_t r, int32_t v, const Entry& e) {
  if (e.kind == 8 || e.kind == 9) return true;
  if (e.code == d && e.value == v) {
    if (!(kind42or46(e.kind) || kind42or46(r)) || e.kind == r) return true;
  }
  if (d == 8 || d == 29) return e.code != (d == 8 ? 29 : 8);
  if (d == 42) return !(groupCode(e.code) && kind42or46(e.kind));
  if (groupCode(d) && kind42or46(r) && e.code != 42) return true;
  if (d == 44 && e.code != 45) return true;
  if (d == 45 && e.code != 44) return true;
  return false;
}

// Re-types a copy of the list's entries under code D and value V (mode 1, id -2).
void copyList(int32_t d, int32_t r, int32_t v) {
  DSLSTA.current = 0;
  const int32_t n = DSLSTA.count;
  for (int32_t k = 1; k <= n; ++k) {
    const Entry e = readEntry(k);
    if (passedOver(d, r, v, e)) continue;
    bool duplicate = false;
    for (int32_t i = 1; i <= DSLSTA.count && !duplicate; ++i) {
      if (i == k) continue;
      const Entry o = readEntry(i);
      duplicate = o.code == d && o.value == v && o.kind == e.kind && o.id == e.id;
    }
    if (duplicate) continue;
    if (e.id == kAnyId) {
      // Written at n + 1: with 68 entries that is a 69th, whose item 100 does not exist.
      if (n >= DslSta::kMaxEntries) {
        listFull();
        return;
      }
      writeEntry(n + 1, {d, r == 42 ? 42 : e.kind, kAnyId, v});
      DSLSTA.count = n + 1;
      DSLSTA.current = n + 1;
      if (d == kCode22) DSLSTA.code22 = 1;
      return;
    }
    if (d >= 4 && d <= 7 && !oneOf(e.kind, {1, 2, 3, 4, 7, kAnyKind})) continue;
    if (DSLSTA.count >= DslSta::kMaxEntries) {
      listFull();
      return;
    }
    const int32_t kind = e.kind == 65 ? 42 : e.kind == 20 ? 46 : e.kind;
    append({d, kind, e.id, v});
    if (DSLSTA.current == 0) DSLSTA.current = DSLSTA.count;
  }
}

void addEntry(int32_t d, int32_t q, int32_t r, int32_t v) {
  DSLSTA.markState = 0;
  for (int32_t i = 1; i <= DSLSTA.count; ++i) {
    Entry e = readEntry(i);
    if (e.code != d) continue;
    if (e.kind == r && e.id == q) {
      if (e.value != v) {
        e.value = v;
        writeEntry(i, e);
        DSLSTA.changed = -1;
      }
      DRWMRK(i + kFirstEntryItem, group());
      return;
    }
    if (oneOf(d, {13, 15, 12, 32}) && (kind42or46(e.kind) || kind42or46(r)) && e.kind != r) {
      continue;
    }
    if (e.id == kAnyId && e.value == v) return;
    if (q == kAnyId && e.value == v) {
      writeEntry(i, {d, r, kAnyId, v});
      DSLSTA.current = i;
      DSLSTA.changed = 1;
      if (d == kCode22) DSLSTA.code22 = 1;
      markEntries();
      return;
    }
  }
  if (q == kRetype) {
    copyList(d, r, v);
    return;
  }
  if (DSLSTA.count >= DslSta::kMaxEntries) {
    listFull();
    return;
  }
  append({d, r, q, v});
  DSLSTA.current = DSLSTA.count;
}

void removeMatching(int32_t d, int32_t q, int32_t r, int32_t& status) {
  bool removed = false;
  for (int32_t i = DSLSTA.count; i >= 1; --i) {
    const Entry e = readEntry(i);
    const bool kindMatches = e.kind == 42   ? r == 42
                             : e.kind == 46 ? r == 46
                                            : r == kAnyKind || r == e.kind;
    if (!codeMatches(d, e.code) || !kindMatches || (q != kAnyId && q != e.id)) continue;
    removeEntry(i, e);
    removed = true;
    if (DSLSTA.count == 0) break;
    if (q != kAnyId && d != 0) break;
  }
  if (!removed && ENTEXS(q, r) != 0) {
    if ((d == 2 || d == 3) && r > 0) MSGENT(kW0323NotIndependent, q, r);
    status = 100;
    return;
  }
  if (DSLSTA.changed == 1) markEntries();
  if (d == 2 || d == 3) {
    DSLSTA.markState = 0;
    MRKCLR(0);
  }
}

void markMatching(int32_t d, int32_t q, int32_t r) {
  for (int32_t i = DSLSTA.count; i >= 1; --i) {
    const Entry e = readEntry(i);
    if (!codeMatches(d, e.code) || (r != kAnyKind && r != e.kind) || (q != kAnyId && q != e.id)) {
      continue;
    }
    DSLSTA.changed = 1;
    if (e.code == kCode22) DRWMRK(kItemCode22, group());
    if (q != kAnyId && d != 0) break;
  }
  if (DSLSTA.changed == 1) markEntries();
}

// Removes the entries of code -99, keeping the order of the rest; no item is marked for
// the removals.
void compact() {
  if (DSLSTA.count > 0) {
    DSLSTA.changed = 1;
    markEntries();
    if (DSLSTA.code22 != 0) DRWMRK(kItemCode22, group());
  }
  int32_t kept = 0;
  for (int32_t i = 1; i <= DSLSTA.count; ++i) {
    const Entry e = readEntry(i);
    if (e.code == kCodeDeleted) continue;
    ++kept;
    if (kept != i) writeEntry(kept, e);
  }
  DSLSTA.count = kept;
}

// ----- Mark bits ------------------------------------------------------------------------

int32_t bitsPerWord() { return std::clamp(MACHCN.word(kMachBitsLessOne), 1, kMaxBitsPerWord); }
int32_t markRecords() { return REGHED.ARRLEN(kArrObjectMarks); }

// The bit of its six that selector I picks; 0 for any other selector.
int32_t selectorBit(int32_t i) {
  switch (i) {
    case 1: case 2: case 3: case 4: return i;
    case 8: return 5;
    case 9: return 6;
    default: return 0;
  }
}

}  // namespace

void DSLUPD(int32_t p, int32_t d, int32_t q, int32_t r, int32_t v, int32_t& status) {
  status = 0;
  if (p != 4) {
    for (int32_t s : DSPSTA.validitySelectors) {
      if (int32_t* w = DSPSTA.validityWord(s)) *w = 0;
    }
    DSPSTA.picture = 0;
    DRWCLR(kItemPicture, group());
  }
  DRWMRK(kItemRedraw, group());
  if (p >= -10 && p <= -1) {
    removeByRule(p, d);
  } else if (p == 0) {
    newList(d, q, r, v);
  } else if (p == 1) {
    addEntry(d, q, r, v);
  } else if (p == 2) {
    removeMatching(d, q, r, status);
  } else if (p == 3) {
    markMatching(d, q, r);
  } else if (p == 4) {
    compact();
  }
}

void DRWCLR(int32_t k, int32_t g) {
  int32_t window = 0;
  int32_t* flag = drawingItem(k, g, window);
  if (flag == nullptr) return;
  const int32_t was = *flag;
  *flag = 0;
  if (was == 0 || PLTCAP.word(kCapStatusOpcode) == 0) return;
  PLTPAR.status = k + 100 * window + 10000 * g;
  sendPlotRecord(kOpStatus);
}

void DRWMRK(int32_t k, int32_t g) {
  if (g != kAllGroups) {
    int32_t window = 0;
    int32_t* flag = drawingItem(k, g, window);
    if (flag != nullptr && *flag != 0) *flag = kRedraw;
    return;
  }
  for (int32_t gg = 0; gg < DspOpt::kGroups; ++gg) {
    for (int32_t w = 0; w < DspOpt::kWindows; ++w) {
      int32_t* flag = DSPOPT.DRWFLG(gg, w, k);
      if (flag != nullptr && *flag != 0) *flag = kRedraw;
    }
  }
}

void MRKCLR(int32_t m) {
  if (m == 0) {
    REGHED.ARRLEN(kArrObjectMarks) = 0;
    return;
  }
  const int32_t n = markRecords();
  if ((m != 1 && m != 2) || n < 1) return;
  const int32_t w = bitsPerWord();
  std::vector<int32_t> words(static_cast<std::size_t>(n));
  int32_t stat = 0;
  ARRIO(kRead, kArrObjectMarks, 1, n, kIntegers, words, {}, stat);
  const int64_t objects = int64_t{n} * w / kBitsPerObject;
  const int32_t first = m == 1 ? 1 : 5;
  const int32_t last = m == 1 ? 4 : 6;
  for (int64_t j = 1; j <= objects; ++j) {
    for (int32_t b = first; b <= last; ++b) {
      FLGPUT(words, static_cast<int32_t>(kBitsPerObject * (j - 1) + b), 0);
    }
  }
  ARRIO(kWrite, kArrObjectMarks, 1, n, kIntegers, words, {}, stat);
}

void MRKPUT(int32_t j, int32_t i, int32_t v, int32_t& status) {
  status = 0;
  const int32_t bit = selectorBit(i);
  // Below object 1, or with a selector that picks none of the six, the position would
  // lie before the array.
  if (j < 1 || bit == 0) {
    status = 1;
    return;
  }
  const int32_t w = bitsPerWord();
  const int64_t lastBit = int64_t{kBitsPerObject} * j;
  const int64_t c = (lastBit - 1) / w + 1;
  // A record number beyond the integer range cannot be addressed.
  if (c > INT32_MAX) {
    status = 1;
    return;
  }
  int32_t stat = 0;
  std::array<int32_t, kZeroChunk> zeros{};
  for (int32_t n = std::max(markRecords(), 0); n < c;) {
    const auto count = static_cast<int32_t>(std::min<int64_t>(c - n, kZeroChunk));
    ARRIO(kWrite, kArrObjectMarks, n + 1, count, kIntegers, zeros, {}, stat);
    if (stat != 0) {
      status = 1;
      return;
    }
    n += count;
  }
  const int64_t a = bit + lastBit - kBitsPerObject;
  const auto record = static_cast<int32_t>((a - 1) / w + 1);
  std::array<int32_t, 1> word{};
  ARRIO(kRead, kArrObjectMarks, record, 1, kIntegers, word, {}, stat);
  if (stat == 0) {
    FLGPUT(word, static_cast<int32_t>(a - int64_t{record - 1} * w), v);
    ARRIO(kWrite, kArrObjectMarks, record, 1, kIntegers, word, {}, stat);
  }
  if (stat != 0) status = 1;
}

}  // namespace kvr
