// The sets and their member blocks.
#include "modeldb/setrec.h"

#include <algorithm>
#include <cstdlib>

#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "platform/memory.h"
#include "runtime/dspsta.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kFreeChain = 1;  // the set record whose word 1 heads the free chain
constexpr int32_t kKinds = 4;

constexpr NameKind kSetNames = {kArrSetNames, kCntSets, 1, 2, SETEXS};

SetRec readSet(int32_t id) {
  SetRec r;
  RECIO(kRead, kArrSets, id, r.words);
  return r;
}
void writeSet(int32_t id, SetRec& r) { RECIO(kWrite, kArrSets, id, r.words); }
MbrBlk readBlock(int32_t b) {
  MbrBlk k;
  RECIO(kRead, kArrMemberBlocks, b, k.words);
  return k;
}
void writeBlock(int32_t b, MbrBlk& k) { RECIO(kWrite, kArrMemberBlocks, b, k.words); }

int32_t blockTop() { return MODCNT.word(kCntSetBlockTop); }
bool blockNumber(int32_t b) { return b >= 1 && b <= blockTop(); }

bool kindFromSet(int32_t type) { return !SETMXD(type); }

std::array<int32_t, kKinds> kindCounts(int32_t id) {
  std::array<int32_t, kKinds> n{};
  SetRec r = readSet(id);
  walkSetMembers(r, [&n](int32_t kind, int32_t) {
    if (kind >= 1 && kind <= kKinds) ++n[static_cast<std::size_t>(kind - 1)];
    return true;
  });
  return n;
}

int32_t kindCount(int32_t id, int32_t kind) {
  if (SETEXS(id) == 0) return -1;
  return kindCounts(id)[static_cast<std::size_t>(kind - 1)];
}

void kindList(int32_t id, int32_t kind, std::span<int32_t> list, int32_t& n) {
  n = kindCount(id, kind);
  if (n < 0) return;
  int32_t got = 0;
  int32_t stat = 0;
  SETKLS(id, kind, list, n, got, stat);
  if (stat != 0) n = -2;
}

// The count word of each kind's entities and their existence tests.
constexpr std::array<int32_t, kKinds> kCountWords = {kCntPoints, kCntLines, kCntSurfaces, kCntBodies};
constexpr std::array<int32_t (*)(int32_t), kKinds> kExists = {PNTEXS, LINEXS, SRFEXS, BODEXS};

int32_t countOf(int32_t kind) {
  return std::max(MODCNT.word(kCountWords[static_cast<std::size_t>(kind - 1)]), 0);
}

// A work array of the platform heap, released with its owner.
template <typename T>
class Work {
 public:
  explicit Work(std::size_t count)
      : p_(count == 0 ? nullptr : static_cast<T*>(mem::allocateZeroed(count, sizeof(T)))),
        n_(count) {}
  ~Work() { mem::release(p_); }
  Work(const Work&) = delete;
  Work& operator=(const Work&) = delete;
  bool failed() const { return n_ != 0 && p_ == nullptr; }
  std::span<T> span() { return {p_, n_}; }

 private:
  T* p_;
  std::size_t n_;
};

// Flags of members (kind, number) for the kinds of KINDS side by side; a number outside
// 1..the count of its kind has no flag.
class Flags {
 public:
  explicit Flags(std::span<const int32_t> kinds) : work_(total(kinds)) {
    int64_t at = 0;
    for (int32_t k = 1; k <= kKinds; ++k) {
      const bool used = std::find(kinds.begin(), kinds.end(), k) != kinds.end();
      offset_[static_cast<std::size_t>(k - 1)] = used ? at : -1;
      if (used) at += countOf(k);
    }
  }
  bool failed() const { return work_.failed(); }
  // The flag of (KIND, NUMBER); nullptr when it has none.
  uint8_t* at(int32_t kind, int32_t number) {
    if (kind < 1 || kind > kKinds) return nullptr;
    const int64_t o = offset_[static_cast<std::size_t>(kind - 1)];
    if (o < 0 || number < 1 || number > countOf(kind)) return nullptr;
    return &work_.span()[static_cast<std::size_t>(o + number - 1)];
  }

 private:
  static std::size_t total(std::span<const int32_t> kinds) {
    std::size_t n = 0;
    for (int32_t k : kinds) n += static_cast<std::size_t>(countOf(k));
    return n;
  }
  Work<uint8_t> work_;
  std::array<int64_t, kKinds> offset_{};
};

constexpr std::array<int32_t, kKinds> kAllKinds = {1, 2, 3, 4};

// Adds the members of PAIRS (KIND 0: each pair's own kind) or LIST (KIND 1..4) to set ID.
void add(int32_t id, int32_t kind, std::span<const int32_t> given, int32_t n, int32_t& stat) {
  stat = 0;
  n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(given.size() / (kind == 0 ? 2 : 1)));
  const std::array<int32_t, 1> one = {kind};
  Flags flags(kind == 0 ? std::span<const int32_t>(kAllKinds) : std::span<const int32_t>(one));
  if (flags.failed()) {
    stat = -6;
    return;
  }
  if (SETEXS(id) == 0) {
    stat = -1;
    return;
  }
  const int32_t t = SETTYG(id);
  const int32_t k = SETKDG(id);
  const int32_t at = std::abs(t);
  int32_t firstWord = kind;
  bool takes = at == 1;
  if (kind == 1) takes = takes || (at == 3 && k == 1);
  if (kind == 2) takes = takes || ((at == 3 || at == 4) && k == 2);
  if (kind == 2 && at == 4) firstWord = 1;
  if (kind == 3) takes = takes || at == 6 || (at == 4 && k == 3);
  if (!takes) {
    stat = -7;
    return;
  }
  const int32_t m = SETNMB(id);
  Work<int32_t> pairs(2 * (static_cast<std::size_t>(m) + static_cast<std::size_t>(n)));
  if (pairs.failed()) {
    stat = -6;
    return;
  }
  int32_t got = 0;
  SETALL(id, pairs.span(), got);
  for (int32_t i = 0; i < m; ++i) {
    const auto p = static_cast<std::size_t>(2 * i);
    if (uint8_t* f = flags.at(pairs.span()[p], pairs.span()[p + 1])) *f = 1;
  }
  int32_t total = m;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t pk = kind == 0 ? given[static_cast<std::size_t>(2 * i)] : kind;
    const int32_t number = given[static_cast<std::size_t>(kind == 0 ? 2 * i + 1 : i)];
    if (pk < 1 || pk > kKinds) {
      stat = -8;
      return;
    }
    // A number outside its kind's count has no flag to test: it is not added.
    uint8_t* f = flags.at(pk, number);
    if (f == nullptr || *f != 0 || kExists[static_cast<std::size_t>(pk - 1)](number) == 0) continue;
    const auto p = static_cast<std::size_t>(2 * total);
    pairs.span()[p] = kind == 0 ? pk : firstWord;
    pairs.span()[p + 1] = number;
    ++total;
  }
  SETWRT(id, t, k, pairs.span(), total);
}

void removeKind(int32_t id, int32_t kind, std::span<const int32_t> list, int32_t n, int32_t& stat) {
  stat = -1;
  if (SETEXS(id) == 0) return;
  n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(list.size()));
  Work<int32_t> pairs(2 * static_cast<std::size_t>(n));
  if (pairs.failed()) {
    stat = -6;
    return;
  }
  for (int32_t i = 0; i < n; ++i) {
    pairs.span()[static_cast<std::size_t>(2 * i)] = kind;
    pairs.span()[static_cast<std::size_t>(2 * i + 1)] = list[static_cast<std::size_t>(i)];
  }
  SETRMX(id, pairs.span(), n, stat);
}

// The DSPSL2 entry of set ID; 0 none.
int32_t displayEntry(int32_t id) {
  for (int32_t j = 1; j <= DSPSL2.entries(); ++j) {
    if (DSPSL2.setNumber(j) == id) return j;
  }
  return 0;
}

// A block for a chain: the head of the free chain, else a new number.
int32_t takeBlock() {
  SetRec head = readSet(kFreeChain);
  const int32_t f = head.word(kSetFirstBlock);
  if (blockNumber(f)) {
    MbrBlk k = readBlock(f);
    head.word(kSetFirstBlock) = k.next();
    writeSet(kFreeChain, head);
    return f;
  }
  return ++MODCNT.word(kCntSetBlockTop);
}

}  // namespace

bool SETMXD(int32_t type) {
  const int64_t t = std::abs(int64_t{type});
  return t == 0 || t == 1 || t == 2 || t == 6;
}

int32_t memberBlockTop() {
  // Word 54 of a damaged file may name blocks the store does not hold: reading one would
  // end the run, so the walks end at the last block held.
  const int32_t held = REGHED.top >= kArrMemberBlocks ? REGHED.ARRLEN(kArrMemberBlocks) : 0;
  return std::min(blockTop(), held);
}

int32_t setsHeld() { return REGHED.top >= kArrSets ? REGHED.ARRLEN(kArrSets) : 0; }

void readMemberBlock(int32_t b, MbrBlk& k) { k = readBlock(b); }

bool SETTOK(int32_t type) {
  return type == 1 || type == 2 || type == 3 || type == 4 || type == 6 || type == -1 ||
         type == -3 || type == -4 || type == -6;
}

int32_t SETTYG(int32_t id) { return SETEXS(id) == 0 ? -1 : readSet(id).word(kSetType); }

int32_t SETKDG(int32_t id) {
  if (SETEXS(id) == 0) return -1;
  SetRec r = readSet(id);
  return kindFromSet(r.word(kSetType)) ? r.word(kSetKind) : 0;
}

void SETSTY(int32_t id, int32_t type, int32_t& stat) {
  stat = -1;
  if (SETEXS(id) == 0) return;
  stat = -2;
  if (!SETTOK(type)) return;
  stat = 0;
  SetRec r = readSet(id);
  r.word(kSetType) = type;
  writeSet(id, r);
}

void SETSKD(int32_t id, int32_t kind, int32_t& stat) {
  stat = -1;
  if (SETEXS(id) == 0) return;
  stat = -2;
  if (kind < 1 || kind > 3) return;
  stat = 0;
  SetRec r = readSet(id);
  r.word(kSetKind) = kind;
  writeSet(id, r);
}

void SETKCN(int32_t id, int32_t& n1, int32_t& n2, int32_t& n3, int32_t& n4) {
  n1 = n2 = n3 = n4 = 0;
  if (SETEXS(id) == 0) return;
  const std::array<int32_t, kKinds> n = kindCounts(id);
  n1 = n[0];
  n2 = n[1];
  n3 = n[2];
  n4 = n[3];
}

int32_t SETNK1(int32_t id) { return kindCount(id, 1); }
int32_t SETNK2(int32_t id) { return kindCount(id, 2); }
int32_t SETNK3(int32_t id) { return kindCount(id, 3); }
int32_t SETNK4(int32_t id) { return kindCount(id, 4); }

int32_t SETNMB(int32_t id) {
  if (SETEXS(id) == 0) return -1;
  const std::array<int32_t, kKinds> n = kindCounts(id);
  return n[0] + n[1] + n[2] + n[3];
}

void SETKLS(int32_t id, int32_t kind, std::span<int32_t> list, int32_t cap, int32_t& n,
            int32_t& stat) {
  n = 0;
  stat = 0;
  if (kind < 0 || kind > kKinds) {
    stat = 3;
    return;
  }
  const int32_t set = id == INT32_MIN ? 0 : std::abs(id);
  if (SETEXS(set) == 0) {
    stat = 1;
    return;
  }
  SetRec r = readSet(set);
  const bool fromSet = kindFromSet(r.word(kSetType));
  if (fromSet && r.word(kSetKind) != kind) return;
  const int32_t room = std::min<int64_t>(std::max(cap, 0), static_cast<int64_t>(list.size()));
  walkSetMembers(r, [&](int32_t k, int32_t number) {
    if (!fromSet && k != kind) return true;
    if (n == room) {
      stat = 2;
      return false;
    }
    list[static_cast<std::size_t>(n++)] = number;
    return true;
  });
}

void SETLK1(int32_t id, std::span<int32_t> list, int32_t& n) { kindList(id, 1, list, n); }
void SETLK2(int32_t id, std::span<int32_t> list, int32_t& n) { kindList(id, 2, list, n); }
void SETLK3(int32_t id, std::span<int32_t> list, int32_t& n) { kindList(id, 3, list, n); }
void SETLK4(int32_t id, std::span<int32_t> list, int32_t& n) { kindList(id, 4, list, n); }

void SETALL(int32_t id, std::span<int32_t> pairs, int32_t& n) {
  n = -1;
  if (SETEXS(id) == 0) return;
  const std::array<int32_t, kKinds> counts = kindCounts(id);
  const int64_t total = int64_t{counts[0]} + counts[1] + counts[2] + counts[3];
  n = -2;
  if (2 * total > static_cast<int64_t>(pairs.size())) return;
  std::size_t at = 0;  // the first free word
  for (int32_t k = 1; k <= kKinds; ++k) {
    const int32_t c = counts[static_cast<std::size_t>(k - 1)];
    // The numbers go to the back half of the free room and are spread forward into
    // pairs; a pair never overwrites a number not yet spread.
    std::span<int32_t> numbers = pairs.subspan(at + static_cast<std::size_t>(c), static_cast<std::size_t>(c));
    int32_t got = 0;
    int32_t stat = 0;
    SETKLS(id, k, numbers, c, got, stat);
    if (stat != 0) return;
    for (int32_t i = 0; i < got; ++i) {
      const int32_t number = numbers[static_cast<std::size_t>(i)];
      pairs[at++] = k;
      pairs[at++] = number;
    }
  }
  n = static_cast<int32_t>(total);
}

void SETWRT(int32_t id, int32_t type, int32_t kind, std::span<const int32_t> pairs, int32_t n) {
  // Record 1 heads the free chain and no record lies below it.
  if (id < 2) return;
  n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(pairs.size() / 2));
  SetRec rec = readSet(id);
  // A record without a block would have its members written to block 0.
  if (rec.word(kSetFirstBlock) == 0) rec.word(kSetFirstBlock) = takeBlock();
  int32_t cb = rec.word(kSetFirstBlock);
  if (type != 0) rec.word(kSetType) = type;
  if (kind != 0) rec.word(kSetKind) = kind;
  writeSet(id, rec);

  const int32_t j = displayEntry(id);
  if (j != 0) {
    const int64_t tw = type != 0 ? type : DSPSL2.typeWord(j);
    DSPSL2.typeWord(j) = static_cast<int32_t>(-std::min<int64_t>(std::llabs(tw), INT32_MAX));
    DSPSL2.blockWord(j) = cb;
  }

  MbrBlk blk = readBlock(cb);
  int32_t rest = blk.next();
  int32_t followed = 0;  // old blocks taken over, bounded by the blocks in use
  std::fill(blk.words.begin(), blk.words.end() - 1, 0);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t p = i % MbrBlk::kPairs == 0 ? MbrBlk::kPairs : i % MbrBlk::kPairs;
    blk.word(2 * p - 1) = pairs[static_cast<std::size_t>(2 * i - 2)];
    blk.word(2 * p) = pairs[static_cast<std::size_t>(2 * i - 1)];
    if (p != MbrBlk::kPairs) continue;
    if (blockNumber(rest) && ++followed < blockTop()) {
      blk.next() = rest;
      writeBlock(cb, blk);
      cb = rest;
      blk = readBlock(cb);
      rest = blk.next();
    } else {
      rest = 0;
      const int32_t b = takeBlock();
      blk.next() = b;
      writeBlock(cb, blk);
      cb = b;
    }
    std::fill(blk.words.begin(), blk.words.end() - 1, 0);
    writeBlock(cb, blk);
    if (j != 0) DSPSL2.blockWord(j) = cb;
  }
  if (j != 0) DSPSL2.memberCount(j) = n;
  blk.next() = 0;
  writeBlock(cb, blk);

  if (!blockNumber(rest)) return;
  // The left-over blocks go to the front of the free chain in their old order.
  int32_t last = rest;
  MbrBlk k = readBlock(last);
  for (int32_t seen = 1; blockNumber(k.next()) && seen < blockTop(); ++seen) {
    last = k.next();
    k = readBlock(last);
  }
  SetRec head = readSet(kFreeChain);
  k.next() = head.word(kSetFirstBlock);
  writeBlock(last, k);
  head.word(kSetFirstBlock) = rest;
  writeSet(kFreeChain, head);
}

void SETAPT(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { add(id, 1, list, n, stat); }
void SETALN(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { add(id, 2, list, n, stat); }
void SETASF(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { add(id, 3, list, n, stat); }
void SETABD(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { add(id, 4, list, n, stat); }
void SETAMX(int32_t id, std::span<const int32_t> pairs, int32_t n, int32_t& stat) { add(id, 0, pairs, n, stat); }

void SETRMX(int32_t id, std::span<const int32_t> pairs, int32_t n, int32_t& stat) {
  stat = -1;
  if (SETEXS(id) == 0) return;
  stat = 0;
  n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(pairs.size() / 2));
  Flags flags(kAllKinds);
  if (flags.failed()) {
    stat = -6;
    return;
  }
  for (int32_t i = 0; i < n; ++i) {
    const int32_t kind = pairs[static_cast<std::size_t>(2 * i)];
    if (kind < 1 || kind > kKinds) {
      stat = -8;
      return;
    }
    // A number outside its kind's count removes nothing.
    if (uint8_t* f = flags.at(kind, pairs[static_cast<std::size_t>(2 * i + 1)])) *f = 1;
  }
  const int32_t m = SETNMB(id);
  Work<int32_t> present(2 * static_cast<std::size_t>(m));
  if (present.failed()) {
    stat = -6;
    return;
  }
  int32_t got = 0;
  SETALL(id, present.span(), got);
  std::span<int32_t> p = present.span();
  int32_t kept = 0;
  for (int32_t i = 0; i < got; ++i) {
    const auto at = static_cast<std::size_t>(2 * i);
    const uint8_t* f = flags.at(p[at], p[at + 1]);
    if (f != nullptr && *f != 0) continue;
    p[static_cast<std::size_t>(2 * kept)] = p[at];
    p[static_cast<std::size_t>(2 * kept + 1)] = p[at + 1];
    ++kept;
  }
  SETWRT(id, SETTYG(id), SETKDG(id), p, kept);
}

void SETRPT(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { removeKind(id, 1, list, n, stat); }
void SETRLN(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { removeKind(id, 2, list, n, stat); }
void SETRSF(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { removeKind(id, 3, list, n, stat); }
void SETRBD(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat) { removeKind(id, 4, list, n, stat); }

void SETLAB(int32_t id, NameWords& label, int32_t& stat) { nameLabel(kSetNames, id, label, stat); }
void SETNMT(int32_t id, FText text, int32_t& stat) { nameText(kSetNames, id, text, stat); }
int32_t SETFNM(const FText* text, const NameWords* label) { return nameFind(kSetNames, text, label); }
void SETRNM(int32_t id, int32_t& stat, const FText* text, const NameWords* label, const bool* check) {
  nameSet(kSetNames, id, stat, text, label, check);
}

}  // namespace kvr
