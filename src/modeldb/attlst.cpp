// The attribute list, its index by key, and the seven-word records.
#include "modeldb/attlst.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/entqry.h"
#include "platform/fmtedit.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using Entry = std::array<int32_t, kEntryWords>;
using Label = std::array<int32_t, 2>;

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kReals = 1;
constexpr int32_t kByName = 2;
constexpr int32_t kDelete = -2;
constexpr int32_t kCountTooLarge = 13;  // the internal error of a write beyond the count
constexpr int32_t kHandleRecord7A = 13;
constexpr int32_t kHandleRecord7B = 14;
constexpr int32_t kRecord7Words = 7;
constexpr size_t kChunk = 512;  // entries read at a time while the index grows

// The index: per key the chain of its entries in list order.
struct Index {
  uint64_t generation = std::numeric_limits<uint64_t>::max();
  int32_t file = -1;
  int32_t array = -1;
  int32_t indexed = 0;
  std::unordered_map<uint64_t, std::pair<int32_t, int32_t>> chains;  // first, last entry
  std::vector<int32_t> next;  // next[r - 1]: the next entry of r's key, 0 none
};

Index gIndex;

uint64_t keyOf(int32_t type, int32_t id) {
  return (uint64_t{static_cast<uint32_t>(type)} << 32) | static_cast<uint32_t>(id);
}

bool held(int32_t k) { return REGHED.top >= k && REGHED.top <= RegHed::kArrays; }
int32_t entries() { return held(kArrEntries) ? REGHED.ARRLEN(kArrEntries) : 0; }

void readEntry(int32_t r, Entry& e) {
  int32_t stat = 0;
  ARRIO(kRead, kArrEntries, r, 1, kIntegers, e, {}, stat);
}

void writeEntry(int32_t r, Entry& e) {
  int32_t stat = 0;
  ARRIO(kWrite, kArrEntries, r, 1, kIntegers, e, {}, stat);
}

// The label of entry R; blank where the label array holds no such record.
void readLabel(int32_t r, Label& lab) {
  lab = {MODCON.word(kModFirstCode), MODCON.word(kModFirstCode)};
  if (r > REGHED.ARRLEN(kArrLabels)) return;
  int32_t stat = 0;
  ARRIO(kRead, kArrLabels, r, 1, kIntegers, lab, {}, stat);
}

void writeLabel(int32_t r, Label lab) {
  int32_t stat = 0;
  ARRIO(kWrite, kArrLabels, r, 1, kIntegers, lab, {}, stat);
}

bool deleted(const Label& lab) { return lab[0] == MODCON.word(kModDeletedMarker); }

void forget() {
  gIndex.chains.clear();
  gIndex.next.clear();
  gIndex.indexed = 0;
}

// Brings the index up to the list in force: afresh after a new set-up, a change of store
// array or a shorter list; then the entries appended since are added.
void refresh() {
  const int32_t n = entries();
  const uint64_t generation = registryGeneration();
  const int32_t array = held(kArrEntries) ? REGHED.ARRCOR(kArrEntries) : -1;
  if (gIndex.generation != generation || gIndex.file != REGHED.file || gIndex.array != array ||
      n < gIndex.indexed) {
    forget();
    gIndex.generation = generation;
    gIndex.file = REGHED.file;
    gIndex.array = array;
  }
  static std::vector<int32_t> chunk;
  while (gIndex.indexed < n) {
    const int32_t from = gIndex.indexed + 1;
    const auto count = static_cast<int32_t>(std::min<int64_t>(kChunk, int64_t{n} - from + 1));
    chunk.resize(static_cast<size_t>(count) * kEntryWords);
    int32_t stat = 0;
    ARRIO(kRead, kArrEntries, from, count, kIntegers, chunk, {}, stat);
    for (int32_t j = 0; j < count; ++j) {
      const int32_t r = from + j;
      const size_t at = static_cast<size_t>(j) * kEntryWords;
      auto [it, fresh] = gIndex.chains.try_emplace(keyOf(chunk[at], chunk[at + 1]), r, r);
      gIndex.next.push_back(0);
      if (!fresh) {
        gIndex.next[static_cast<size_t>(it->second.second - 1)] = r;
        it->second.second = r;
      }
    }
    gIndex.indexed = from + count - 1;
  }
}

// The first live entry (TYPE, ID) with its record and label; 0 when there is none.
int32_t findLive(int32_t type, int32_t id, Entry& e, Label& lab) {
  for (int32_t attempt = 0; attempt < 2; ++attempt) {
    refresh();
    auto it = gIndex.chains.find(keyOf(type, id));
    if (it == gIndex.chains.end()) return 0;
    bool stale = false;
    for (int32_t r = it->second.first; r != 0; r = gIndex.next[static_cast<size_t>(r - 1)]) {
      readEntry(r, e);
      if (e[0] != type || e[1] != id) {
        stale = true;  // the list was rewritten in place: read it again
        break;
      }
      readLabel(r, lab);
      // A deleted entry never ends the search: a key deleted and made again is found.
      if (!deleted(lab)) return r;
    }
    if (!stale) return 0;
    gIndex.generation = std::numeric_limits<uint64_t>::max();
  }
  return 0;
}

// Appends entry (TYPE, ID) with COUNT fresh values and label RVAL.
void create(std::span<int32_t, 2> rval, int32_t type, int32_t id, int32_t count) {
  const int32_t perValue = std::max(1, MODCON.word(kModWordsPerValue));
  const int64_t words = type > 0 ? int64_t{count} * perValue : count;
  int32_t first = 0;
  int32_t stat = 0;
  ARRALC(type > 0 ? kArrRealValues : kArrIntegerValues,
         static_cast<int32_t>(std::min<int64_t>(words, std::numeric_limits<int32_t>::max())),
         first, stat);
  Entry e = {type, id, first, static_cast<int32_t>(words), 0};
  const int32_t r = entries() + 1;
  writeEntry(r, e);
  writeLabel(r, {rval[0], rval[1]});
}

void record7(int32_t handle, int32_t mode, int32_t& a1, int32_t& a2, int32_t& a3, int32_t& a4,
             int32_t& b1, int32_t& b2, int32_t& b3) {
  const int32_t k = APPSTA.ARRHND(handle);
  std::array<int32_t, kRecord7Words> r{};
  int32_t stat = 0;
  if (mode == 1) {
    r = {a1, b1, a2, b2, a3, b3, a4};
    ARRIO(kWrite, k, 1, kRecord7Words, kIntegers, r, {}, stat);
    return;
  }
  // A record never stored reads as unused rather than as a read beyond the array.
  if (k >= 1 && k <= REGHED.top && REGHED.ARRLEN(k) >= kRecord7Words) {
    ARRIO(kRead, k, 1, kRecord7Words, kIntegers, r, {}, stat);
  }
  a1 = r[0];
  b1 = r[1];
  a2 = r[2];
  b2 = r[3];
  a3 = r[4];
  b3 = r[5];
  a4 = r[6];
}

void itemName(int32_t handle, DescriptorDispatch dispatch, int32_t mode, int32_t code,
              int32_t& out) {
  if (mode == 1) {
    static char work[kMATDSCRecordLength];
    const int32_t level = 0;
    const int32_t capacity = 1;
    int32_t count = 0;
    dispatch(code, level, {}, FTextArray(work, kMATDSCRecordLength, 1), capacity, count, out);
    return;
  }
  const int32_t k = APPSTA.ARRHND(handle);
  out = 0;
  if (k < 1 || k > REGHED.top || REGHED.ARRLEN(k) < 1) return;
  std::array<int32_t, 1> word{};
  int32_t stat = 0;
  ARRIO(kRead, k, 1, 1, kIntegers, word, {}, stat);
  out = word[0];
}

}  // namespace

void noDescriptors(const int32_t&, const int32_t&, std::span<const int32_t>, FTextArray,
                   const int32_t&, int32_t&, int32_t& answer) {
  answer = 0;
}

void noNodes(const int32_t&, int32_t& count, std::span<int32_t>, const int32_t&,
             int32_t& status) {
  count = 0;
  status = 1;
}

void noSetMembers(const int32_t&, const int32_t&, FText, std::span<int32_t>, const int32_t&,
                  int32_t& count, int32_t& status) {
  count = 0;
  status = 1;
}

void noMesh(const int32_t&, const int32_t&, int32_t&, int32_t&, int32_t& count,
            std::span<int32_t, 9>, int32_t&, int32_t&, int32_t&, std::span<int32_t>,
            const int32_t&, int32_t& status) {
  count = 0;
  status = 1;
}

void noElementRange(const int32_t&, const int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                    int32_t&, int32_t&, int32_t&, int32_t& status) {
  status = 1;
}

void noEntityNodes(const int32_t&, const int32_t&, int32_t& count, std::span<int32_t>,
                   const int32_t&, int32_t& status) {
  count = 0;
  status = 1;
}

int32_t attributeEntry(int32_t type, int32_t id) {
  Entry e{};
  Label lab{};
  return findLive(type, id, e, lab);
}

void attributeListChanged() {
  forget();
  gIndex.generation = std::numeric_limits<uint64_t>::max();
}

void ATTFND(int32_t mode, std::span<int32_t, 2> rval, int32_t type, int32_t& id,
            int32_t& count) {
  ATTCUR = {};
  Entry e{};
  Label lab{};
  int32_t r = 0;
  if (mode == kByName || id == 0) {
    int32_t rec = 0;
    NAMFND(rval, kArrLabels, rec);
    if (rec >= 1 && rec <= entries()) {
      readEntry(rec, e);
      if (e[0] == type) {
        r = rec;
        readLabel(r, lab);
      }
    }
  } else {
    r = findLive(type, id, e, lab);
  }

  if (r == 0) {
    // An entry without values would own no value space; nothing is made.
    if (mode == kWrite && count > 0) {
      create(rval, type, id, count);
    } else {
      count = 0;
    }
    return;
  }

  if (mode == kDelete) {
    writeLabel(r, {MODCON.word(kModDeletedMarker), MODCON.word(kModFirstCode)});
  } else if (mode == kWrite) {
    if (count > e[3]) {
      MSGQV4(kCountTooLarge, type, count, e[3]);
    } else {
      if (count > 0) {
        e[3] = count;
        writeEntry(r, e);
      }
      if (lab[0] != MODCON.word(kModFirstCode)) writeLabel(r, {rval[0], rval[1]});
    }
  } else {
    rval[0] = lab[0];
    rval[1] = lab[1];
    count = e[3];
    if (mode == kByName) id = e[1];
  }
  ATTCUR.words = e;
}

void ATTVAL(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<int32_t> ibuf, std::span<float> rbuf, int32_t& stat) {
  stat = 0;
  Entry e{};
  Label lab{};
  if (findLive(type, id, e, lab) == 0) {
    count = 0;
    return;
  }
  const int32_t c = e[3];
  if (mode == kByName) {
    count = c;
    return;
  }
  if (c <= 0) return;
  const int64_t end = int64_t{start} + count - 1;
  int64_t first = 0;
  int64_t last = 0;
  int64_t from = 1;  // buffer position of the first value moved
  if (mode == kWrite) {
    // Only the requested positions that are stored: a start beyond the values would
    // otherwise overwrite the last one.
    first = std::max<int64_t>(start, 1);
    last = std::min<int64_t>(end, c);
    from = first - start + 1;
  } else {
    first = std::clamp<int64_t>(start, 1, c);
    last = std::clamp<int64_t>(end, 1, c);
  }
  const int64_t room = static_cast<int64_t>(type < 0 ? ibuf.size() : rbuf.size()) - from + 1;
  const int64_t n = std::min(last - first + 1, room);
  if (n <= 0) return;
  const auto at = static_cast<size_t>(from - 1);
  const auto len = static_cast<size_t>(n);
  const int32_t array = type > 0 ? kArrRealValues : kArrIntegerValues;
  // Values outside the value store (a damaged entry) would end the run on a read and grow
  // the store to the damaged position on a write: the entry is taken as missing.
  const int32_t stored = held(array) ? REGHED.ARRLEN(array) : 0;
  if (e[2] < 1 || int64_t{e[2]} + last - 1 > stored) {
    count = 0;
    return;
  }
  ARRIO(mode == kWrite ? kWrite : kRead, array, static_cast<int32_t>(e[2] + first - 1),
        static_cast<int32_t>(n), type < 0 ? kIntegers : kReals,
        type < 0 ? ibuf.subspan(at, len) : std::span<int32_t>{},
        type < 0 ? std::span<float>{} : rbuf.subspan(at, len), stat);
}

void ATTVLR(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<float> rbuf) {
  int32_t stat = 0;
  ATTVAL(mode, type, id, start, count, {}, rbuf, stat);
}

void ATTVLI(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<int32_t> ibuf) {
  int32_t stat = 0;
  ATTVAL(mode, type, id, start, count, ibuf, {}, stat);
}

void ATTELM(int32_t id, int32_t maxn, std::span<int32_t, 2> rval, int32_t& v1, int32_t& v2,
            int32_t& ref4, int32_t& ref3, int32_t& n, std::span<float> values,
            int32_t& stat) {
  stat = 0;
  int32_t key = id;
  int32_t c = 0;
  ATTFND(1, rval, -10, key, c);
  if (c == 0) {
    stat = 1;
    return;
  }
  std::array<int32_t, 10> b{};
  int32_t want = static_cast<int32_t>(b.size());
  ATTVLI(1, -10, id, 1, want, b);
  v1 = b[0];
  v2 = b[1];
  n = b[3];
  ref4 = b[4];
  ref3 = b[6];
  std::array<int32_t, 2> scratch{};
  for (auto [ref, type] : {std::pair<int32_t*, int32_t>{&ref4, 4}, {&ref3, 3}}) {
    if (*ref == 0) continue;
    int32_t refId = *ref;
    int32_t refCount = 0;
    ATTFND(1, scratch, type, refId, refCount);
    if (refCount == 0) *ref = 0;
  }
  if (n < 1) {
    stat = 2;
    return;
  }
  if (n > maxn || n > static_cast<int64_t>(values.size())) {
    stat = 4;
    return;
  }
  // Values outside the value store (a damaged entry) would end the run: they are none.
  const int32_t stored = held(kArrRealValues) ? REGHED.ARRLEN(kArrRealValues) : 0;
  if (b[2] < 1 || int64_t{b[2]} + n - 1 > stored) {
    stat = 2;
    return;
  }
  int32_t io = 0;
  ARRIO(kRead, kArrRealValues, b[2], n, kReals, {}, values, io);
}

void EQTERM(int32_t id, std::span<int32_t> list, int32_t maxl, int32_t& nlist, int32_t& stat) {
  stat = 0;
  nlist = 0;
  constexpr int32_t kCondition = 5;
  // The first six values of a condition record, as integers.
  auto form = [](int32_t entity, std::array<int32_t, 6>& v) {
    std::array<float, 6> r{};
    int32_t want = static_cast<int32_t>(r.size());
    ATTVLR(1, kCondition, entity, 1, want, r);
    for (size_t k = 0; k < r.size(); ++k) v[k] = intOf(r[k]);
  };
  std::array<int32_t, 2> head{};
  int32_t key = id;
  int32_t c = 0;
  ATTFND(1, head, kCondition, key, c);
  if (c == 0) {
    stat = 1;
    return;
  }
  std::array<int32_t, 6> v{};
  form(id, v);
  if (v[0] != 8 || v[4] != 2) {
    stat = 1;
    return;
  }
  const int64_t room = std::min<int64_t>(maxl, static_cast<int64_t>(list.size()));
  const int32_t records = MODCNT.word(kCntConditions);
  for (int32_t i = 1; i <= records; ++i) {
    std::array<int32_t, 2> lab{};
    int32_t ki = i;
    ATTFND(1, lab, kCondition, ki, c);
    if (c == 0) continue;
    form(i, v);
    if (v[0] != 8 || v[4] != 1) continue;
    int32_t named = v[5];
    // An ID of 0 would search by the label left from the last record.
    if (named < 1) continue;
    ATTFND(1, lab, kCondition, named, c);
    if (c == 0 || lab != head) continue;
    ++nlist;
    if (nlist > room) {
      stat = 9;
      return;
    }
    list[static_cast<size_t>(nlist - 1)] = i;
  }
  if (nlist == 0) stat = 3;
}

void REC7A(int32_t mode, int32_t& a1, int32_t& a2, int32_t& a3, int32_t& a4, int32_t& b1,
           int32_t& b2, int32_t& b3) {
  record7(kHandleRecord7A, mode, a1, a2, a3, a4, b1, b2, b3);
}

void REC7B(int32_t mode, int32_t& a1, int32_t& a2, int32_t& a3, int32_t& a4, int32_t& b1,
           int32_t& b2, int32_t& b3) {
  record7(kHandleRecord7B, mode, a1, a2, a3, a4, b1, b2, b3);
}

void ITMNAM(int32_t mode, int32_t code, int32_t& out) {
  itemName(kHandleRecord7A, DSCDSP.material, mode, code, out);
}

void ITMNA2(int32_t mode, int32_t code, int32_t& out) {
  itemName(kHandleRecord7B, DSCDSP.property, mode, code, out);
}

}  // namespace kvr
