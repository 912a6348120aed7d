// Entity node collection: node markers, packed id lists and connection chains.
#include "modeldb/nodcol.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kNodeTooHigh = 9;
constexpr int32_t kNoList = 99;  // the line type, and the surface code, without a packed list
constexpr int32_t kRangeLine = 4;  // a line type whose nodes may be a range of numbers
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

// |V|, with the one value whose magnitude has no int32 read as the largest.
int32_t magnitude(int32_t v) { return v == kInt32Min ? kInt32Max : std::abs(v); }

int32_t highestNode() { return MODCNT.word(kCntHighestNode); }

// The running collection of one marker call.
struct Marker {
  int32_t& nmax;
  std::span<int32_t> flags;
  int32_t limit;
  int32_t& stat;

  Marker(int32_t& nm, std::span<int32_t> f, int32_t lim, int32_t& st)
      : nmax(nm),
        flags(f),
        limit(static_cast<int32_t>(std::min<int64_t>(lim, static_cast<int64_t>(f.size())))),
        stat(st) {
    stat = 0;
  }

  // Marks node N (numbers below 1 are passed over); false when N lies above LIMIT, which
  // ends the collection with STAT 9 and NMAX 0.
  bool mark(int32_t n) {
    if (n < 1) return true;
    nmax = std::max(nmax, n);
    if (n > limit) {
      stat = kNodeTooHigh;
      nmax = 0;
      return false;
    }
    flags[static_cast<size_t>(n - 1)] = 1;
    return true;
  }
};

// Marks the entries of the packed list at POS. True when MODCNT word 16 entries were
// marked, false when the list ended before (or a node above LIMIT ended the collection).
bool markList(int32_t pos, Marker& m) {
  std::array<int32_t, kListBlockWords> block{};
  int32_t val = -1;  // the first entry reads its block
  const int32_t highest = highestNode();
  const int32_t bound = MODCNT.word(kCntNodeListBound);
  for (int32_t k = 1; k <= bound; ++k) {
    LSTNXT(pos, block, val);
    if (val == 0 || val > highest) return false;
    if (!m.mark(val)) return false;
  }
  return true;
}

// Marks the nodes of elements FIRST..LAST; nothing when FIRST is below 1 or above LAST. A
// non-zero status of the last connectivity read sets NMAX to 0 and stays in STAT.
void markElements(int32_t first, int32_t last, Marker& m) {
  if (first < 1 || first > last) return;
  // Elements beyond the highest have no connectivity: the walk stops there with the
  // status their reads would answer, so a damaged range cannot make it run longer.
  const int32_t top = std::min(last, MODCNT.word(kCntHighestElement));
  std::array<int32_t, kElementNodes> nodes{};
  int32_t cstat = 0;
  for (int32_t e = first; e <= top; ++e) {
    int32_t nnod = 0;
    int32_t shape = 0;
    ELCONN(e, nodes, nnod, shape, cstat);
    if (cstat != 0) continue;
    for (int32_t i = 0; i < nnod; ++i) {
      if (!m.mark(nodes[static_cast<size_t>(i)])) return;
    }
  }
  if (last > top) cstat = 1;
  if (cstat != 0) {
    m.stat = cstat;
    m.nmax = 0;
  }
}

// Marks the nodes A..B of a line given by a range, without the test against the highest
// node; the first node above LIMIT ends it.
void markRange(int32_t a, int32_t b, Marker& m) {
  for (int64_t n = std::max(a, 1); n <= b; ++n) {
    if (!m.mark(static_cast<int32_t>(n))) return;
  }
}

// Record R of array 23 into BLOCK; a record beyond those stored reads as zeros, which
// ends any list, instead of stopping the run.
void readListBlock(int32_t r, std::span<int32_t, kListBlockWords> block) {
  if (REGHED.top < kArrPackedLists || r > REGHED.ARRLEN(kArrPackedLists)) {
    std::fill(block.begin(), block.end(), 0);
    return;
  }
  int32_t stat = 0;
  ARRIO(kRead, kArrPackedLists, r, 1, kIntegers, block, {}, stat);
}

// ---- Connection chains ----------------------------------------------------------------

constexpr int32_t kMembersMax = 20;  // members of a composite line; line entries a set line

// A table of fixed-width entries in the caller's work space, numbered from 1; its
// capacity is the entries asked for, held to what the space can hold.
template <int32_t Width>
class WorkTable {
 public:
  static constexpr int32_t kWords = Width;

  WorkTable(std::span<int32_t> words, int64_t entries)
      : words_(words),
        capacity_(static_cast<int32_t>(
            std::clamp<int64_t>(entries, 0, static_cast<int64_t>(words.size() / kWords)))) {}
  int32_t capacity() const { return capacity_; }
  int32_t& word(int32_t entry, int32_t k) {
    return words_[static_cast<size_t>(entry - 1) * kWords + static_cast<size_t>(k - 1)];
  }

 private:
  std::span<int32_t> words_;
  int32_t capacity_;
};

// The line table: 7 words an entry.
class LineTable : public WorkTable<7> {
 public:
  using WorkTable::WorkTable;
  static constexpr int32_t kLine = 1;
  static constexpr int32_t kEnd1 = 3;
  static constexpr int32_t kEnd2 = 4;
  static constexpr int32_t kPoint1 = 6;  // point-table entry of the first end
  static constexpr int32_t kPoint2 = 7;
};

// The point table: 6 words an entry.
class PointTable : public WorkTable<6> {
 public:
  using WorkTable::WorkTable;
  static constexpr int32_t kPoint = 1;
  static constexpr int32_t kEnds = 2;   // line ends at the point, 1 or 2
  static constexpr int32_t kLine1 = 3;
  static constexpr int32_t kLine2 = 4;
  static constexpr int32_t kEntry1 = 5;  // line-table entry of the first line
  static constexpr int32_t kEntry2 = 6;
};

// The element class of a mesh by the element type the element-range query answers: 1 for
// 3 and 5, 2 for 7, 9 and 10, 0 for any other.
int32_t elementClass(int32_t eltype) {
  switch (eltype) {
    case 3:
    case 5:
      return 1;
    case 7:
    case 9:
    case 10:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

void NODPNT(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat) {
  Marker m(nmax, flags, limit, stat);
  // A number that is no point would stop the run in the record read.
  if (PNTEXS(id) == 0) return;
  RECIO(kRead, kArrPoints, id, ENTBUF.point);
  const int32_t n = magnitude(ENTBUF.point[5]);
  if (n == 0 || n > highestNode()) return;
  m.mark(n);
}

void NODLIN(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat) {
  Marker m(nmax, flags, limit, stat);
  const int32_t type = LNG07B(id);
  if (type == kCompositeLine) return;
  if (type != kNoList) {
    const int32_t pos = magnitude(LNG13B(id));
    if (pos == 0) {
      if (type == kRangeLine) markRange(LNG05C(id), LNG06C(id), m);
      return;
    }
    if (!markList(pos, m)) return;
  }
  markElements(LNG08(id), LNG09(id), m);
}

void NODSRF(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat) {
  Marker m(nmax, flags, limit, stat);
  // A number that is no surface would stop the run in the record read.
  if (SRFEXS(id) == 0) return;
  RECIO(kRead, kArrSurfaces, id, ENTBUF.surface);
  const std::array<int32_t, kSurfaceWords> s = ENTBUF.surface;
  if ((s[5] / 100) % 100 != kNoList) {
    const int32_t pos = magnitude(s[12]);
    if (pos == 0) return;
    if (!markList(pos, m)) return;
  }
  markElements(s[6], s[7], m);
}

void NODBDY(int32_t id, int32_t& nmax, std::span<int32_t> flags, int32_t limit, int32_t& stat) {
  Marker m(nmax, flags, limit, stat);
  // A number that is no body would stop the run in the record read.
  if (BODEXS(id) == 0) return;
  RECIO(kRead, kArrBodies, id, ENTBUF.body);
  const int32_t first = ENTBUF.body[8];
  const int32_t last = ENTBUF.body[9];
  if (first > MODCNT.word(kCntHighestElement) || last < first) return;
  markElements(first, last, m);
}

void LSTNXT(int32_t& pos, std::span<int32_t, kListBlockWords> block, int32_t& val) {
  if (pos < 0) {
    val = magnitude(pos);
    return;
  }
  if (pos == 0) {
    val = 0;
    return;
  }
  const int32_t slot = (pos - 1) % kListBlockWords + 1;
  if (slot == 1 || val < 0) readListBlock((pos - 1) / kListBlockWords + 1, block);
  const int32_t v = magnitude(block[static_cast<size_t>(slot - 1)]);
  val = v > IDPACK.idLimit ? 0 : v;
  if (pos < kInt32Max) ++pos;
}

void LSTUNQ(std::span<int32_t> list, int32_t n, int32_t& nout) {
  if (n == 0) {
    nout = 0;
    return;
  }
  if (n <= 1) {
    nout = 1;
    return;
  }
  const auto count = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(list.size())));
  std::unordered_set<int32_t> seen;
  seen.reserve(count);
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    if (seen.insert(list[i]).second) list[kept++] = list[i];
  }
  nout = static_cast<int32_t>(kept);
}

void LNCHAN(int32_t kind, int32_t id, std::span<int32_t> list, int32_t lsize, int32_t& nnod,
            int32_t& cls, int32_t lcap, int32_t maxn, std::span<int32_t> ltab,
            std::span<int32_t> ptab, std::span<int32_t> nodes, int32_t& stat) {
  nnod = 0;
  cls = 0;
  // Nothing is ever written past LSIZE nor past what LIST holds.
  const auto room = static_cast<int32_t>(
      std::clamp<int64_t>(lsize, 0, static_cast<int64_t>(list.size())));
  std::span<int32_t> area = list.first(static_cast<size_t>(room));

  // 1. The lines: ID alone, or the line members of set ID at the front of LIST.
  std::array<int32_t, 1> single{id};
  std::span<const int32_t> lines;
  int32_t used = 0;  // words of LIST the line numbers take
  int64_t lineEntries = kMembersMax;
  if (kind == 2) {
    lines = single;
    used = std::min(room, 1);
  } else if (kind == 7) {
    const int32_t cap = std::clamp(lcap, 0, room);
    std::array<char, kUSET2NameLength> name{};
    int32_t count = 0;
    int32_t ustat = 0;
    DSCDSP.setMembers(id, 2, FText(name.data(), kUSET2NameLength),
                      area.first(static_cast<size_t>(cap)), cap, count, ustat);
    if (ustat != 0) {
      stat = ustat == 9 ? 2 : 1;
      return;
    }
    used = std::clamp(count, 0, cap);
    lines = area.first(static_cast<size_t>(used));
    lineEntries = int64_t{std::max(lcap, 0)} * kMembersMax;
  } else {
    stat = 1;
    return;
  }
  if (lines.empty()) {
    stat = 1;
    return;
  }

  // 3. Each line's members become line entries, with their mesh checked for one class.
  // The tables never take more entries than the caller's work space holds.
  LineTable lt(ltab, lineEntries);
  PointTable pt(ptab, 2 * lineEntries);
  std::span<int32_t> meshArea = area.subspan(static_cast<size_t>(used));
  const int32_t meshRoom = room - used;
  int32_t entries = 0;
  for (const int32_t line : lines) {
    if (LINEXS(line) == 0) continue;
    const int32_t type = LNG07B(line);
    std::array<int32_t, kMembersMax> members{};
    int32_t nm = 0;
    if (type == kCompositeLine) {
      LNG08B(line, members, nm);
      if (nm <= 0) continue;
    } else if (type == 5 || type < 4) {
      members[0] = line;
      nm = 1;
    } else {
      stat = 1;
      return;
    }
    for (int32_t k = 0; k < nm; ++k) {
      const int32_t member = members[static_cast<size_t>(k)];
      if (LINEXS(member) == 0) continue;
      int32_t okind = 0, onum = 0, count = 0, face = 0, word = 0, elements = 0, mstat = 0;
      std::array<int32_t, 9> positions{};
      DSCDSP.lineMesh(2, member, okind, onum, count, positions, face, word, elements, meshArea,
                      meshRoom, mstat);
      if (mstat != 0) {
        stat = mstat == 9 ? 3 : 1;
        return;
      }
      int32_t first = 0, last = 0, eltype = 0, units = 0, material = 0, property = 0,
              group = 0, estat = 0;
      DSCDSP.elementRange(okind, onum, first, last, eltype, units, material, property, group,
                          estat);
      const int32_t c = elementClass(eltype);
      if (estat != 0 || c == 0 || (cls != 0 && c != cls)) {
        stat = 1;
        return;
      }
      cls = c;
      if (entries == lt.capacity()) {
        stat = 2;
        return;
      }
      ++entries;
      for (int32_t w = 1; w <= LineTable::kWords; ++w) lt.word(entries, w) = 0;
      lt.word(entries, LineTable::kLine) = member;
      lt.word(entries, LineTable::kEnd1) = LNG02(member);
      lt.word(entries, LineTable::kEnd2) = LNG03(member);
    }
  }
  if (entries == 0) {
    stat = 1;
    return;
  }

  // 4. The point table: each end point once, with the lines that end there.
  int32_t points = 0;
  std::unordered_map<int32_t, int32_t> entryOf;
  entryOf.reserve(static_cast<size_t>(2 * entries));
  for (int32_t j = 1; j <= entries; ++j) {
    for (const int32_t end : {LineTable::kEnd1, LineTable::kEnd2}) {
      const int32_t point = lt.word(j, end);
      const int32_t line = lt.word(j, LineTable::kLine);
      auto [at, fresh] = entryOf.try_emplace(point, points + 1);
      const int32_t e = at->second;
      if (fresh) {
        if (points == pt.capacity()) {
          stat = 2;
          return;
        }
        ++points;
        pt.word(e, PointTable::kPoint) = point;
        pt.word(e, PointTable::kEnds) = 1;
        pt.word(e, PointTable::kLine1) = line;
        pt.word(e, PointTable::kLine2) = 0;
        pt.word(e, PointTable::kEntry1) = j;
        pt.word(e, PointTable::kEntry2) = 0;
      } else {
        if (pt.word(e, PointTable::kEnds) == 2) {
          stat = 1;  // a third line end at one point: no chain
          return;
        }
        pt.word(e, PointTable::kEnds) = 2;
        pt.word(e, PointTable::kLine2) = line;
        pt.word(e, PointTable::kEntry2) = j;
      }
      lt.word(j, end == LineTable::kEnd1 ? LineTable::kPoint1 : LineTable::kPoint2) = e;
    }
  }

  // 5. The chain ends: exactly two points with one line end.
  std::array<int32_t, 2> ends{};
  int32_t nends = 0;
  for (int32_t e = 1; e <= points; ++e) {
    if (pt.word(e, PointTable::kEnds) != 1) continue;
    if (nends == 2) {
      stat = 1;
      return;
    }
    ends[static_cast<size_t>(nends++)] = e;
  }
  if (nends != 2) {
    stat = 1;
    return;
  }

  // 6. The walk from the first end, each line's nodes turned to run on from the node
  // reached. The node queries answer into LIST.
  const auto cap = static_cast<int32_t>(
      std::clamp<int64_t>(maxn, 0, static_cast<int64_t>(nodes.size())));
  auto query = [&](int32_t qkind, int32_t number, int32_t& n) {
    int32_t qstat = 0;
    n = 0;
    DSCDSP.entityNodes(qkind, number, n, area, room, qstat);
    n = std::clamp(n, 0, room);
    return qstat == 0;
  };
  auto pointNode = [&](int32_t e, int32_t& node) {
    int32_t n = 0;
    if (!query(1, pt.word(e, PointTable::kPoint), n) || n < 1) return false;
    node = area[0];
    return true;
  };
  int32_t e = ends[0];
  int32_t current = 0;
  if (!pointNode(e, current)) {
    stat = 9;
    return;
  }
  int32_t j = pt.word(e, PointTable::kEntry1);
  int64_t reached = 0;
  for (int32_t steps = 0;; ++steps) {
    // A chain visits each line once; more steps would only go round a ring.
    if (steps == entries) {
      stat = 1;
      return;
    }
    int32_t n = 0;
    if (!query(2, lt.word(j, LineTable::kLine), n)) {
      stat = 9;
      return;
    }
    if (reached + n > cap) {
      nnod = static_cast<int32_t>(std::min<int64_t>(reached + n, kInt32Max));
      stat = 2;
      return;
    }
    const bool forward = n > 0 && area[0] == current;
    for (int32_t k = 0; k < n; ++k) {
      nodes[static_cast<size_t>(reached + k)] = area[static_cast<size_t>(forward ? k : n - 1 - k)];
    }
    reached += n;
    nnod = static_cast<int32_t>(reached);
    const int32_t p1 = lt.word(j, LineTable::kPoint1);
    const int32_t next = p1 == e ? lt.word(j, LineTable::kPoint2) : p1;
    if (!pointNode(next, current)) {
      stat = 9;
      return;
    }
    if (next == ends[1]) break;
    const int32_t first = pt.word(next, PointTable::kEntry1);
    j = first == j ? pt.word(next, PointTable::kEntry2) : first;
    if (j < 1) {
      stat = 1;
      return;
    }
    e = next;
  }

  // 7. The nodes into LIST, the node two lines share kept once.
  int32_t out = 0;
  for (int32_t k = 0; k < nnod; ++k) {
    const int32_t node = nodes[static_cast<size_t>(k)];
    if (k > 0 && node == nodes[static_cast<size_t>(k - 1)]) continue;
    if (out < room) area[static_cast<size_t>(out)] = node;
    ++out;
  }
  nnod = out;
  stat = out > room ? 2 : 0;
}

}  // namespace kvr
