// The load of a format-9033 model file, DBLOLD: the records come through index pages,
// then the attribute list is rewritten to the later layout and the flag attributes
// converted, and every upgrade step runs.
//
// Page 1 of such a file: word 3 the number B of index pages, word 6 the number of array
// descriptors (25), word 7 the offset K of the descriptor table, word 8 the spacing V of an
// array's index words, word 11 the offset D of the index-page table (words D + 1 .. D + B
// the page numbers of the index pages, which form one run of B x PS index words). The
// descriptor of array i is words K + 8 (i - 1) + 1 .. K + 8 i: word 1 the position S of its
// first index word, word 3 the record stride R, word 5 the first record's word in a data
// page, word 6 the records G of a data page, word 7 the record count. Record j lies on the
// page named by index word S + q V, q = (j - 1) div G, from word (word 5) + r R, r = (j - 1)
// mod G; an index word below 1 means no page was written for that group.
#include "modeldb/dbhead.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/dbpage.h"
#include "modeldb/dbupgr.h"
#include "modeldb/mdlload.h"
#include "modeldb/mdlstore.h"
#include "platform/fmtedit.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kE1160Empty = 160;
constexpr int32_t kE2160StoreIo = 1160;

constexpr int32_t kArrays = 25;
constexpr int32_t kDescriptorWords = 8;
// Words of page 1.
constexpr int32_t kIndexPagesWord = 3;
constexpr int32_t kDescriptorsWord = 6;
constexpr int32_t kDescriptorTableWord = 7;
constexpr int32_t kSpacingWord = 8;
constexpr int32_t kIndexTableWord = 11;
// Words of a descriptor.
constexpr int32_t kFirstIndexWord = 1;
constexpr int32_t kStrideWord = 3;
constexpr int32_t kFirstRecordWord = 5;
constexpr int32_t kPerPageWord = 6;
constexpr int32_t kCountWord = 7;

constexpr int32_t kRealArray = 16;
constexpr int32_t kIntegerArray = 17;

struct Descriptor {
  int64_t first = 0;   // S
  int64_t stride = 0;  // R
  int64_t start = 0;   // the word of a data page at which the first record begins
  int64_t perPage = 0; // G
  int64_t count = 0;
};

// The counts of the old layout in records of the current widths; arrays 21 and 22 are
// not taken over.
int64_t correctedCount(int32_t i, int64_t c) {
  switch (i) {
    case 13: return c * 42;
    case 4: return c * 16;
    case 6: return c * 14;
    case 8: return c * 15;
    case 10: return c * 20;
    case 24: return c * 12;
    case 21:
    case 22: return 0;
    default: return c;
  }
}

// Whether every record of descriptor D, W words wide, lies within a data page of PS
// words, and every index word it needs within the run of RUN words (SPACING apart).
bool fits(const Descriptor& d, int64_t w, int64_t ps, int64_t run, int64_t spacing) {
  if (d.count < 0 || d.count > std::numeric_limits<int32_t>::max()) return false;
  if (d.first < 1 || d.perPage < 1 || d.stride < 0 || d.start < 1) return false;
  const int64_t slots = std::min(d.perPage, d.count);
  if (d.start + (slots - 1) * d.stride + w - 1 > ps) return false;
  // The positions lie on a line from S: both of its ends inside the run hold them all.
  const int64_t last = d.first + (d.count - 1) / d.perPage * spacing;
  return d.first <= run && last >= 1 && last <= run;
}

int32_t failed(int32_t cause) {
  releasedFailure(cause);
  return kLoadFailed;
}

// ----- The attribute list of the old layout -------------------------------------------

constexpr int32_t kEntries = kArrEntries;

// Appends VALUES to value array K and points ENTRY at them; answers the load's status.
int32_t appendValues(int32_t k, std::vector<int32_t>& values, std::array<int32_t, kEntryWords>& entry) {
  const auto n = static_cast<int32_t>(values.size());
  int32_t first = 0;
  const int32_t stat = storeAppend(k, n, first);
  if (stat != 0) {
    ALCMSG(stat, REGHED.ARRLEN(k) + n, k);
    ARRREL();
    return kLoadNoMemory;
  }
  if (storePut(k, first, n, values) != 0) return failed(kE2160StoreIo);
  entry[2] = first;
  entry[3] = n;
  entry[4] = 0;
  return kLoadDone;
}

// The values of ENTRY in its value array K; false when they lie outside the array.
bool entryValues(int32_t k, const std::array<int32_t, kEntryWords>& entry, std::vector<int32_t>& values) {
  const int64_t first = entry[2];
  const int64_t n = entry[3];
  if (n < 0 || (n > 0 && (first < 1 || first + n - 1 > REGHED.ARRLEN(k)))) return false;
  values.assign(static_cast<size_t>(n), 0);
  return n == 0 || storeGet(k, static_cast<int32_t>(first), static_cast<int32_t>(n), values) == 0;
}

// Rewrites every entry of the attribute list to the layout of the later formats.
int32_t rewriteAttributes() {
  const int32_t zero = std::bit_cast<int32_t>(0.0f);
  const int32_t entries = REGHED.ARRLEN(kEntries);
  std::vector<int32_t> values;
  for (int32_t e = 1; e <= entries; ++e) {
    std::array<int32_t, kEntryWords> entry{};
    storeGet(kEntries, e, 1, entry);
    const int32_t type = entry[0];
    const int32_t n = entry[3];
    int32_t status = kLoadDone;
    if (type == 3 || type == 4 || type == 9) {
      // Without value 1 (types 3, 4) or the six leading values (type 9) the new list has
      // no defined form; the entry stays as it is.
      const int32_t lead = type == 9 ? 6 : 1;
      if (n < lead) continue;
      if (!entryValues(kRealArray, entry, values)) return failed(kE2180PageRange);
      values.insert(values.begin() + lead, type == 9 ? 4 : 9, zero);
      status = appendValues(kRealArray, values, entry);
    } else if (type == -5 || type == -3 || type == -2) {
      if (!entryValues(kIntegerArray, entry, values)) return failed(kE2180PageRange);
      values.push_back(1);
      status = appendValues(kIntegerArray, values, entry);
    } else if (type == -1 && entry[1] == 1) {
      // The rewrite moves values up to 80; a shorter list would spill into the next
      // entry's values.
      if (n < 80) continue;
      if (!entryValues(kIntegerArray, entry, values)) return failed(kE2180PageRange);
      const std::vector<int32_t> old = values;
      std::copy(old.begin() + 34, old.begin() + 77, values.begin() + 37);
      std::fill(values.begin() + 34, values.begin() + 37, 0);
      storePut(kIntegerArray, entry[2], 80, values);
      continue;
    } else {
      continue;
    }
    if (status != kLoadDone) return status;
    storePut(kEntries, e, 1, entry);
  }
  attributeListChanged();
  return kLoadDone;
}

// The flag attributes (type 5): values 2 and 4 turn from digit lists into bit masks.
void convertFlags() {
  constexpr int32_t kFlagType = 5;
  const int32_t entries = REGHED.ARRLEN(kEntries);
  // The entity numbers that carry a type-5 entry, each once; MODCNT is not loaded yet.
  std::vector<int32_t> ids;
  for (int32_t e = 1; e <= entries; ++e) {
    std::array<int32_t, kEntryWords> entry{};
    storeGet(kEntries, e, 1, entry);
    if (entry[0] == kFlagType && entry[1] >= 1) ids.push_back(entry[1]);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  for (int32_t l : ids) {
    if (attributeEntry(kFlagType, l) == 0) continue;
    std::array<float, 4> v{};
    int32_t count = static_cast<int32_t>(v.size());
    ATTVLR(1, kFlagType, l, 1, count, v);
    const int32_t t = intOf(v[0]);
    const int32_t mode = t == 4 ? 1 : 0;
    v[1] = static_cast<float>(DIGMSK(intOf(v[1]), mode));
    v[3] = static_cast<float>(t < 8 ? DIGMSK(intOf(v[3]), mode) : intOf(v[3]));
    count = static_cast<int32_t>(v.size());
    ATTVLR(-1, kFlagType, l, 1, count, v);
  }
}

}  // namespace

void DBLOLD(int32_t unit, int32_t& status) {
  status = kLoadFailed;
  DBFMT = kFormatIndexed;
  const int32_t ps = DBPARM.modelPageSize();
  const int64_t pages = filePages(unit);
  std::vector<int32_t> index(static_cast<size_t>(std::max(ps, kIndexTableWord)), 0);
  if (ps < kIndexTableWord || RANDIO(index, kHeaderPage, ps, 0, unit) == -1) {
    return loadFailure(kE2180PageRange);
  }
  auto word = [&index](int64_t k) { return index[static_cast<size_t>(k - 1)]; };
  if (word(kDescriptorsWord) != kArrays) return loadFailure(kE2190ArrayCount);

  // Every position read from page 1 is checked before it is used.
  const int64_t table = word(kDescriptorTableWord);
  const int64_t b = word(kIndexPagesWord);
  const int64_t spacing = word(kSpacingWord);
  const int64_t d = word(kIndexTableWord);
  if (table < 0 || table + int64_t{kDescriptorWords} * kArrays > ps) {
    return releasedFailure(kE2180PageRange);
  }
  std::array<Descriptor, kArrays> desc{};
  bool any = false;
  for (int32_t i = 1; i <= kArrays; ++i) {
    const int64_t at = table + int64_t{kDescriptorWords} * (i - 1);
    Descriptor& x = desc[static_cast<size_t>(i - 1)];
    x.first = word(at + kFirstIndexWord);
    x.stride = word(at + kStrideWord);
    x.start = word(at + kFirstRecordWord);
    x.perPage = word(at + kPerPageWord);
    x.count = word(at + kCountWord);
    any = any || x.count != 0;
  }
  if (!any) return loadFailure(kE1160Empty);
  for (int32_t i = 1; i <= kArrays; ++i) {
    Descriptor& x = desc[static_cast<size_t>(i - 1)];
    x.count = correctedCount(i, x.count);
  }

  if (b < 1 || d < 0 || d + b > ps) return releasedFailure(kE2180PageRange);
  std::vector<int32_t> indexPages(static_cast<size_t>(b));
  for (int64_t j = 1; j <= b; ++j) {
    const int32_t p = word(d + j);
    if (p < 1 || p > pages) return releasedFailure(kE2180PageRange);
    indexPages[static_cast<size_t>(j - 1)] = p;
  }
  const int64_t run = b * ps;
  int64_t words = 0;
  for (int32_t i = 1; i <= kArrays; ++i) {
    const Descriptor& x = desc[static_cast<size_t>(i - 1)];
    if (x.count == 0) continue;
    if (!storeArrayHeld(i)) return releasedFailure(kE2180PageRange);
    const int64_t w = REGHED.ARRWID(i);
    if (w < 1 || w > kMaxRecordWidth || !fits(x, w, ps, run, spacing)) {
      return releasedFailure(kE2180PageRange);
    }
    words += x.count * w;
  }
  // Counts beyond what the file could hold would allocate for records it never had.
  if (words > pages * ps) return releasedFailure(kE2180PageRange);

  std::array<int32_t, kArrays> counts{};
  for (int32_t i = 1; i <= kArrays; ++i) {
    counts[static_cast<size_t>(i - 1)] = static_cast<int32_t>(desc[static_cast<size_t>(i - 1)].count);
    REGHED.ARRLEN(i) = counts[static_cast<size_t>(i - 1)];
  }
  status = extendToCounts(counts);
  if (status != kLoadDone) return;
  status = kLoadFailed;

  std::vector<int32_t> data(static_cast<size_t>(ps), 0);
  int64_t heldIndex = kHeaderPage;
  int64_t heldData = 0;
  std::array<int32_t, kMaxRecordWidth> record{};
  for (int32_t i = 1; i <= kArrays; ++i) {
    const Descriptor& x = desc[static_cast<size_t>(i - 1)];
    const auto w = static_cast<size_t>(REGHED.ARRWID(i));
    for (int64_t j = 1; j <= x.count; ++j) {
      const int64_t q = (j - 1) / x.perPage;
      const int64_t r = (j - 1) % x.perPage;
      const int64_t position = x.first + q * spacing;
      const int32_t indexPage = indexPages[static_cast<size_t>((position - 1) / ps)];
      if (indexPage != heldIndex) {
        if (RANDIO(index, indexPage, ps, 0, unit) == -1) return releasedFailure(kE2180PageRange);
        heldIndex = indexPage;
      }
      const int32_t p = index[static_cast<size_t>((position - 1) % ps)];
      if (p < 1) {
        // Groups never written: the value arrays read as zeros, any other array is lost.
        if (i != kRealArray && i != kIntegerArray) return releasedFailure(kE2180PageRange);
        std::fill(record.begin(), record.end(), 0);
      } else {
        if (p > pages) return releasedFailure(kE2180PageRange);
        if (p != heldData) {
          if (RANDIO(data, p, ps, 0, unit) == -1) return releasedFailure(kE2180PageRange);
          heldData = p;
        }
        const auto from = static_cast<size_t>(x.start - 1 + r * x.stride);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(from), w, record.begin());
      }
      if (storePut(i, static_cast<int32_t>(j), 1, record) != 0) {
        return releasedFailure(kE2160StoreIo);
      }
    }
  }

  status = rewriteAttributes();
  if (status != kLoadDone) return;
  convertFlags();

  DBUPAL();
  DBUP36();
  int32_t upgraded = 0;
  DBUP60(upgraded);
  if (upgraded != 0) {
    ARRREL();
    status = upgraded;
    return;
  }
  DBUP61();
  DBUP63();
  DBUP66();
  DBUP70();
  status = kLoadDone;
}

}  // namespace kvr
