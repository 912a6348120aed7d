// Surface boundary and body topology: LINDIV, LOPREV, CYCREN, SRFTOP, BODTOP and LOPFND.
#include "geometry/srftop.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

#include "geometry/geodsp.h"
#include "geometry/georec.h"
#include "geometry/setcnt.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/setrec.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kKindPoint = 1;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;
constexpr int32_t kKindSet = 7;

constexpr int32_t kSurfaceNotDefined = 2019;
constexpr int32_t kBodyNotDefined = 2030;
constexpr int32_t kDivisionsTooLarge = 2082;

// Header words of a chain (column 1) and segment words (columns 2 on).
constexpr int32_t kOwnerType = 1;
constexpr int32_t kPoint = 2;
constexpr int32_t kDivisions = 3;
constexpr int32_t kSegmentCount = 4;
constexpr int32_t kSideLine = 5;
constexpr int32_t kSegmentLine = 4;
constexpr int32_t kGrading = 5;

// Words of the set-defined layout of a side table.
constexpr int32_t kListType = 1;
constexpr int32_t kListSet = 2;
constexpr int32_t kListCount = 3;

constexpr int32_t kNoBoundary = 99;
constexpr int32_t kMaxBoundary = 4;  // boundary words 2 to 5 of a surface record

// The list store operations of FACSRC.
constexpr int32_t kListStart = 0;
constexpr int32_t kListRead = 1;

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : std::abs(v);
}

int32_t clampToWord(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// X mod N in 1..N, also for X of 0 or below (the renumbering counts backwards past 1).
int32_t cyclic(int32_t x, int32_t n) { return ((x - 1) % n + n) % n + 1; }

// The segments of CHAIN, within what a chain holds.
int32_t segmentsOf(const SidChn& chain) {
  return std::clamp(chain.at(kSegmentCount, 1), 0, SidChn::kSegments);
}
int32_t startOf(const SidChn& chain) { return chain.at(kPoint, 1); }
int32_t endOf(const SidChn& chain) { return chain.at(kPoint, segmentsOf(chain) + 1); }

// The division limit of a side: MACHCN word 14 over (word 15 + 1), 15000 / 10.
int32_t divisionLimit() {
  const int32_t scale = MACHCN.word(kMachLineScale);
  const int32_t step = MACHCN.word(kMachLineLimit) + 1;
  return step != 0 ? scale / step : scale;
}

// The sides of a surface by its table's type word: 4 for types 1 and 3, 3 for 2 and 4.
int32_t sideCount(const SidTab& table) {
  switch (table.chain(1).at(kOwnerType, 1)) {
    case 1: case 3: return 4;
    case 2: case 4: return 3;
    default: return 0;
  }
}

bool setDefined(SidTab& table) {
  const int32_t t = table.word(kListType);
  return t >= 5 && t <= 8;
}

void postSurfaceFault(int32_t surface, int32_t entity, int32_t kind) {
  MSGENT(-kSurfaceNotDefined, surface, kKindSurface);
  MSGENT(kSurfaceNotDefined, entity, kind);
}

// The stored list of a set-defined surface or swept body: TYPE, SET and the COUNT entries
// that the list store walks from POSITION, into the set-defined layout of TABLE. Answers 1
// when COUNT is more than the table holds: the first 417 entries are kept.
int32_t readStoredList(int32_t type, int32_t set, int32_t count, int32_t position,
                       SidTab& table) {
  table.word(kListType) = type;
  table.word(kListSet) = set;
  table.word(kListCount) = count;
  if (count <= 0) return 0;
  const int32_t wanted = std::min(count, SidTab::kListEntries);
  std::vector<int32_t> values(static_cast<size_t>(wanted), 0);
  int32_t at = position;
  int32_t got = 0;
  int32_t stat = 1;
  GEODSP.listStore(kListStart, at, 0, {}, got, stat);
  if (stat == 0) GEODSP.listStore(kListRead, at, wanted, values, got, stat);
  for (int32_t k = 0; k < wanted; ++k) {
    table.word(SidTab::kListFirst + k) = values[static_cast<size_t>(k)];
  }
  table.word(kListCount) = stat == 0 && got > 0 ? got : 0;
  // A stored count beyond the table would have the entries run past its 420 words.
  return count > SidTab::kListEntries ? 1 : 0;
}

// The boundary words 2 to 5 of SURFACE (read through the surface buffer of ENTBUF); false
// when the surface does not exist.
bool boundaryOf(int32_t surface, std::array<int32_t, kMaxBoundary>& lines) {
  if (ENTEXS(surface, kKindSurface) == 0) return false;
  RECIO(kRead, kArrSurfaces, surface, ENTBUF.surface);
  std::copy_n(ENTBUF.surface.begin() + 1, kMaxBoundary, lines.begin());
  return true;
}

// The start-side words of LOPFND, answering how many were written.
int32_t appendStartSides(int32_t set, int32_t position) {
  if (position < 1) return 0;
  const int32_t s = set < 0 ? -1 : 1;
  const int32_t stored = magnitude(set);
  if (ENTEXS(stored, kKindSet) == 0 || !geoRecordsHeld(kArrSets, stored, stored)) return 0;
  SetRec r;
  RECIO(kRead, kArrSets, stored, r.words);
  const bool pairKinds = SETMXD(r.word(kSetType));
  if (!pairKinds && r.word(kSetKind) != kKindSurface) return 0;
  int32_t at = position - 1;
  walkSetPairs(r, [&](int32_t first, int32_t) {
    if (pairKinds && first != kKindSurface) return true;
    if (at == std::numeric_limits<int32_t>::max()) return false;
    int32_t value = pairKinds ? s : clampToWord(int64_t{s} * first);
    GEODSP.workWord(kWrite, kArrSearchWork, ++at, value);
    return true;
  });
  if (s < 0) {
    for (int32_t a = position, b = at; a < b; ++a, --b) {
      int32_t x = 0;
      int32_t y = 0;
      GEODSP.workWord(kRead, kArrSearchWork, a, x);
      GEODSP.workWord(kRead, kArrSearchWork, b, y);
      GEODSP.workWord(kWrite, kArrSearchWork, a, y);
      GEODSP.workWord(kWrite, kArrSearchWork, b, x);
    }
  }
  return at - position + 1;
}

// ---- Bodies of types 1 to 3 --------------------------------------------------------------

struct BodyWalk {
  int32_t body = 0;
  bool silent = false;
  std::array<int32_t, 16> rec{};  // words 1 to 15 of the body record

  int32_t word(int32_t k) const { return rec[static_cast<size_t>(k - 1)]; }
  void fault(int32_t surface) const {
    if (silent) return;
    MSGENT(-kBodyNotDefined, body, kKindBody);
    MSGENT(kBodyNotDefined, surface, kKindSurface);
  }
};

// The scratch of BODTOP: a chain for the vertical edges and a table for the faces checked.
SidChn gScratchChain;
SidTab gScratchTable;

bool solidBody(const BodyWalk& walk, int32_t type, SidTab& bottom, SidTab& top, SidTab& edges,
               BodFac& faces) {
  int32_t stat = 0;
  // 2, 3. The bottom and the top.
  faces.at(1, 1) = walk.word(2);
  SRFTOP(walk.word(2), bottom, stat);
  if (stat != 0) return false;
  const int32_t n = sideCount(bottom);
  if ((type == 1 && n != 4) || (type == 2 && n != 3)) return false;
  if (type != 3) {
    faces.at(1, 2) = walk.word(3);
    SRFTOP(walk.word(3), top, stat);
    if (stat != 0) return false;
  } else {
    faces.at(1, 2) = 0;
    top = {};
  }

  // 4. The side faces, each checked for its sides.
  const int32_t firstSide = type == 3 ? 3 : 4;
  for (int32_t e = 3; e <= BodFac::kEntries; ++e) faces.at(1, e) = walk.word(firstSide + e - 3);
  for (int32_t e = 3; e <= BodFac::kEntries; ++e) {
    const int32_t face = faces.at(1, e);
    if (e == BodFac::kEntries && face <= 0) continue;
    SRFTOP(face, edges, stat);
    if (stat != 0) return false;
    const int32_t need = type == 3 && e < BodFac::kEntries ? 3 : 4;
    if (sideCount(edges) != need) return false;
  }
  // The edges table was only scratch so far; each bottom corner gets its chain below.
  edges = {};

  // 5. The side faces in the order of the bottom's sides.
  std::array<int32_t, BodFac::kEntries> ordered{};
  for (int32_t e = 1; e <= BodFac::kEntries; ++e) ordered[static_cast<size_t>(e - 1)] = faces.at(1, e);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t line = bottom.chain(i).at(kSideLine, 1);
    int32_t found = 0;
    int32_t searched = 0;
    for (int32_t e = 3; e <= BodFac::kEntries && found == 0; ++e) {
      const int32_t face = faces.at(1, e);
      if (face <= 0) continue;
      searched = face;
      std::array<int32_t, kMaxBoundary> lines{};
      if (!boundaryOf(face, lines)) continue;
      if (std::any_of(lines.begin(), lines.end(), [line](int32_t l) { return l != 0 && l == line; })) {
        found = face;
      }
    }
    if (found == 0) {
      walk.fault(searched);
      return false;
    }
    ordered[static_cast<size_t>(i + 1)] = found;
  }
  for (int32_t e = 3; e <= n + 2; ++e) faces.at(1, e) = ordered[static_cast<size_t>(e - 1)];

  // 6. The vertical edge at each bottom corner: the line its side face shares with another
  // side face, running up from the corner.
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t corner = startOf(bottom.chain(i));
    std::array<int32_t, kMaxBoundary> own{};
    boundaryOf(faces.at(1, i + 2), own);
    int32_t searched = 0;
    bool placed = false;
    for (int32_t e = 3; e <= BodFac::kEntries && !placed; ++e) {
      const int32_t face = faces.at(1, e);
      if (e == i + 2 || face <= 0) continue;
      searched = face;
      std::array<int32_t, kMaxBoundary> other{};
      if (!boundaryOf(face, other)) continue;
      int32_t shared = 0;
      for (int32_t a : own) {
        if (a == 0) continue;
        if (std::find(other.begin(), other.end(), a) != other.end()) {
          shared = a;
          break;
        }
      }
      if (shared == 0) continue;
      LINDIV(shared, gScratchChain, stat);
      if (stat != 0) return false;
      if (startOf(gScratchChain) != corner) {
        if (endOf(gScratchChain) != corner) {
          gScratchChain = {};
          continue;
        }
        LOPREV(gScratchChain);
      }
      edges.chain(i) = gScratchChain;
      gScratchChain = {};
      placed = true;
    }
    if (!placed) {
      walk.fault(searched);
      return false;
    }
  }

  if (faces.at(1, 2) <= 0) {
    // 7. An apex body: every vertical edge ends in the apex.
    const int32_t apex = endOf(edges.chain(1));
    for (int32_t i = 2; i <= n; ++i) {
      if (endOf(edges.chain(i)) != apex) {
        walk.fault(faces.at(1, i + 1));
        return false;
      }
    }
    top.chain(1).at(kPoint, 1) = apex;
  } else {
    // 8. The top renumbered so that its corner i is the end of vertical edge i.
    std::array<int32_t, SidTab::kChains + 1> ends{};
    for (int32_t i = 1; i <= n; ++i) ends[static_cast<size_t>(i)] = endOf(edges.chain(i));
    const int32_t first = startOf(top.chain(1));
    const int32_t second = startOf(top.chain(2));
    bool renumbered = false;
    for (int32_t i = 1; i <= n && !renumbered; ++i) {
      if (ends[static_cast<size_t>(i)] != first) continue;
      const int32_t before = i == 1 ? n : i - 1;
      if (second == ends[static_cast<size_t>(i % n + 1)]) {
        CYCREN(1, i, top);
      } else if (second == ends[static_cast<size_t>(before)]) {
        CYCREN(-1, before, top);
      } else {
        break;
      }
      renumbered = true;
    }
    if (!renumbered) {
      walk.fault(faces.at(1, 2));
      return false;
    }
  }

  // 9.
  edges.word(kListType) = type;
  return true;
}

// ---- Bodies of type 4 ----------------------------------------------------------------

// The words FIRST .. FIRST + N - 1 of the search work array.
std::vector<int32_t> workWords(int32_t first, int32_t n) {
  std::vector<int32_t> out(static_cast<size_t>(std::max(n, 0)), 0);
  for (int32_t k = 0; k < n; ++k) {
    GEODSP.workWord(kRead, kArrSearchWork, first + k, out[static_cast<size_t>(k)]);
  }
  return out;
}

// One loop of a swept body: its bottom lines, top lines, side faces and their start-side
// words, as the set writers put them into the search work array.
struct SweptLoop {
  std::vector<int32_t> bottom, top, faces, sides;
  std::vector<int8_t> checked;  // 1 a face already validated
};

enum class Walk { kPass, kMismatch, kBroken };

// The line at boundary position P (taken cyclically in 1..4) of FACE, in absolute value;
// false when the face does not exist.
bool lineAt(int32_t face, int32_t p, int32_t& line) {
  std::array<int32_t, kMaxBoundary> lines{};
  if (!boundaryOf(magnitude(face), lines)) return false;
  line = magnitude(lines[static_cast<size_t>(cyclic(p, kMaxBoundary) - 1)]);
  return true;
}

// Whether the side faces 2.. of LOOP follow the lines of LOOPLINES (bottom: BELOW +1, top
// -1) in sense W from position J0, stepping by +1 and, on a mismatch, by -1.
Walk followFaces(const BodyWalk& walk, SweptLoop& loop, const std::vector<int32_t>& loopLines,
                 int32_t j0, int32_t below, int32_t w) {
  const auto n = static_cast<int32_t>(loopLines.size());
  const auto faces = static_cast<int32_t>(loop.faces.size());
  for (int32_t step : {1, -1}) {
    bool fits = true;
    for (int32_t i = 2; i <= faces && fits; ++i) {
      const size_t k = static_cast<size_t>(i - 1);
      const int32_t face = loop.faces[k];
      if (loop.checked[k] == 0) {
        int32_t stat = 0;
        SRFTOP(magnitude(face), gScratchTable, stat);
        if (stat != 0) {
          walk.fault(magnitude(face));
          return Walk::kBroken;
        }
        loop.checked[k] = 1;
      }
      const int32_t v = loop.sides[k];
      const int32_t a = magnitude(v);
      int32_t line = 0;
      if (a < 1 || a > kMaxBoundary || !lineAt(face, a + below * (v < 0 ? -w : w), line)) {
        fits = false;
        break;
      }
      const int32_t expected = loopLines[static_cast<size_t>(cyclic(j0 + step * (i - 1), n) - 1)];
      fits = line == magnitude(expected);
    }
    if (fits) return Walk::kPass;
  }
  return Walk::kMismatch;
}

// The position (from 1) of LINE in LOOPLINES by absolute value, 0 when absent.
int32_t positionIn(const std::vector<int32_t>& loopLines, int32_t line) {
  for (size_t k = 0; k < loopLines.size(); ++k) {
    if (magnitude(loopLines[k]) == line) return static_cast<int32_t>(k) + 1;
  }
  return 0;
}

// One pass of the check of a swept body: the bottom entry BOTTOMSET, the top entry TOPSET
// and the side-face entry FACESET.
bool sweptPass(const BodyWalk& walk, int32_t bottomSet, int32_t topSet, int32_t faceSet) {
  int64_t counted = 0;
  for (int32_t k = kSetCntPoints; k <= kSetCntCleared; ++k) counted += SETCNT.word(k);
  const int64_t p0 = std::max<int64_t>(2 * int64_t{MODCNT.word(kCntLines)}, counted);
  // Positions beyond the INTEGER range cannot be written.
  if (p0 < 0 || p0 > std::numeric_limits<int32_t>::max() / 2) return false;

  SweptLoop loop;
  int32_t first = static_cast<int32_t>(p0) + 1;
  int32_t at = first;
  GEODSP.setLines(bottomSet, at);
  loop.bottom = workWords(first, at - first + 1);
  first = at + 1;
  at = first;
  GEODSP.setLines(topSet, at);
  loop.top = workWords(first, at - first + 1);
  first = at + 1;
  at = first;
  GEODSP.setSurfaces(faceSet, at);
  loop.faces = workWords(first, at - first + 1);
  first = at + 1;
  const int32_t sides = appendStartSides(faceSet, first);
  loop.sides = workWords(first, sides);
  loop.checked.assign(loop.faces.size(), 0);

  const size_t n = loop.bottom.size();
  // A start-side word for every face: else the walk would read words no writer put there.
  if (n == 0 || loop.top.size() != n || loop.faces.size() != n || loop.sides.size() != n) {
    walk.fault(walk.word(2));
    return false;
  }

  for (int32_t w : {1, -1}) {
    const int32_t v = loop.sides[0];
    const int32_t a = magnitude(v);
    if (a < 1 || a > kMaxBoundary) continue;
    const int32_t sw = v < 0 ? -w : w;
    int32_t below = 0;
    int32_t above = 0;
    if (!lineAt(loop.faces[0], a + sw, below) || !lineAt(loop.faces[0], a - sw, above)) continue;
    const int32_t jb = positionIn(loop.bottom, below);
    const int32_t jt = positionIn(loop.top, above);
    if (jb == 0 || jt == 0) continue;
    Walk r = followFaces(walk, loop, loop.bottom, jb, 1, w);
    if (r == Walk::kBroken) return false;
    if (r != Walk::kPass) continue;
    r = followFaces(walk, loop, loop.top, jt, -1, w);
    if (r == Walk::kBroken) return false;
    if (r == Walk::kPass) return true;
  }
  walk.fault(walk.word(2));
  return false;
}

bool sweptBody(const BodyWalk& walk, SidTab& bottom, SidTab& top, SidTab& edges, BodFac& faces) {
  int32_t stat = 0;
  faces.at(1, 1) = walk.word(2);
  SRFTOP(walk.word(2), bottom, stat);
  if (stat != 0) return false;
  faces.at(1, 2) = walk.word(3);
  SRFTOP(walk.word(3), top, stat);
  if (stat != 0) return false;
  // A bottom or top with sides has no list to walk.
  if (!setDefined(bottom) || !setDefined(top)) return false;
  if (readStoredList(4, walk.word(4), walk.word(5), walk.word(6), edges) != 0) return false;
  const int32_t n = bottom.word(kListCount);
  if (top.word(kListCount) != n || edges.word(kListCount) != n) return false;
  // Pass 0 takes the sets of the three tables, pass k their list entry k, all read in the
  // order the list store wrote them.
  for (int32_t k = 0; k <= n; ++k) {
    const int32_t w = k == 0 ? kListSet : SidTab::kListFirst + k - 1;
    if (!sweptPass(walk, bottom.word(w), top.word(w), edges.word(w))) return false;
  }
  return true;
}

}  // namespace

void LINDIV(int32_t line, SidChn& chain, int32_t& status) {
  chain = {};
  status = 1;
  if (ENTEXS(line, kKindLine) == 0) return;
  const int32_t divisions = std::abs(LNG04(line));
  chain.at(kPoint, 1) = magnitude(LNG02(line));
  chain.at(kDivisions, 1) = divisions;
  chain.at(kSegmentCount, 1) = 1;
  chain.at(kSideLine, 1) = line;
  chain.at(kPoint, 2) = LNG03(line);
  chain.at(kDivisions, 2) = divisions;
  chain.at(kSegmentLine, 2) = line;
  chain.at(kGrading, 2) = LNG04B(line);

  if (LNG07B(line) == kCompositeLine) {
    const int32_t m = LNG06E(line);
    // More members than a chain holds would run into the next chain of a table.
    if (m < 1 || m > SidChn::kSegments) return;
    std::array<int32_t, SidChn::kSegments> members{};
    int32_t got = 0;
    LNG08B(line, members, got);
    if (got != m) return;
    for (int32_t k = 0; k < m; ++k) {
      if (ENTEXS(members[static_cast<size_t>(k)], kKindLine) == 0) return;
    }
    chain.at(kSegmentCount, 1) = m;
    int32_t total = 0;
    for (int32_t k = 1; k <= m; ++k) {
      const int32_t member = members[static_cast<size_t>(k - 1)];
      const int32_t d = std::abs(LNG04(member));
      chain.at(kDivisions, k + 1) = d;
      chain.at(kSegmentLine, k + 1) = member;
      chain.at(kGrading, k + 1) = LNG04B(member);
      total += d;
    }
    // The walk starts at the first member's first point, unless the second member ends
    // there: then the first member runs backwards.
    int32_t current = magnitude(LNG02(members[0]));
    if (m >= 2 && (current == magnitude(LNG02(members[1])) || current == LNG03(members[1]))) {
      current = LNG03(members[0]);
    }
    for (int32_t k = 1; k <= m; ++k) {
      const int32_t member = members[static_cast<size_t>(k - 1)];
      const int32_t a = magnitude(LNG02(member));
      const int32_t b = LNG03(member);
      if (a == current) {
        chain.at(kPoint, k) = a;
        chain.at(kPoint, k + 1) = b;
        current = b;
      } else {
        chain.at(kPoint, k) = b;
        chain.at(kPoint, k + 1) = a;
        chain.at(kGrading, k + 1) = -chain.at(kGrading, k + 1);
        current = a;
      }
    }
    chain.at(kDivisions, 1) = total;
  }

  const int32_t limit = divisionLimit();
  if (chain.at(kDivisions, 1) > limit) {
    MSGENT(-kDivisionsTooLarge, line, kKindLine);
    MSGQRL(kDivisionsTooLarge, limit);
    return;
  }
  status = 0;
}

void LOPREV(SidChn& chain) {
  const int32_t m = segmentsOf(chain);
  if (m < 1) return;
  const SidChn old = chain;
  for (int32_t k = 1; k <= m + 1; ++k) chain.at(kPoint, k) = old.at(kPoint, m + 2 - k);
  for (int32_t k = 1; k <= m; ++k) {
    chain.at(kDivisions, k + 1) = old.at(kDivisions, m + 2 - k);
    chain.at(kSegmentLine, k + 1) = old.at(kSegmentLine, m + 2 - k);
    chain.at(kGrading, k + 1) = -old.at(kGrading, m + 2 - k);
  }
}

void CYCREN(int32_t orientation, int32_t start, SidTab& table) {
  const int32_t n = table.chain(4).at(kSegmentCount, 1) != 0 ? 4 : 3;
  const bool forwards = orientation >= 0;
  if (forwards && start == 1) return;
  const SidTab old = table;
  for (int32_t j = 1; j <= n; ++j) {
    const int32_t from = forwards ? cyclic(j - start + 1, n) : cyclic(start - j + 1, n);
    for (int32_t c = 1; c <= SidChn::kColumns; ++c) {
      for (int32_t w = 2; w <= SidChn::kWords; ++w) table.chain(j).at(w, c) = old.chain(from).at(w, c);
    }
  }
  if (!forwards) {
    for (int32_t j = 1; j <= n; ++j) LOPREV(table.chain(j));
  }
}

void SRFTOP(int32_t surface, SidTab& table, int32_t& status) {
  table = {};
  status = 0;
  if (surface <= 0) return;
  // A number the surfaces do not reach would end the run at the record read.
  if (ENTEXS(surface, kKindSurface) == 0) {
    status = 1;
    return;
  }
  RECIO(kRead, kArrSurfaces, surface, ENTBUF.surface);
  const auto rec = ENTBUF.surface;
  auto word = [&rec](int32_t k) { return rec[static_cast<size_t>(k - 1)]; };
  const int32_t type = (word(6) / 100) % 100;
  if (type >= kNoBoundary) return;
  if (type >= 5 && type <= 8) {
    status = readStoredList(type, word(2), word(3), word(4), table);
    return;
  }

  const int32_t sides = word(5) != 0 ? 4 : 3;
  for (int32_t i = 1; i <= sides; ++i) {
    int32_t stat = 0;
    LINDIV(word(i + 1), table.chain(i), stat);
    if (stat != 0) {
      postSurfaceFault(surface, word(i + 1), kKindLine);
      status = 1;
      return;
    }
  }

  // The sides joined into one loop, each following side turned to start where the one
  // before it ends; side 1 may be turned only while joining side 2.
  for (int32_t a = 1; a < sides; ++a) {
    SidChn& ca = table.chain(a);
    SidChn& cc = table.chain(a + 1);
    if (endOf(ca) == startOf(cc)) continue;
    if (endOf(ca) == endOf(cc)) {
      LOPREV(cc);
    } else if (a == 1 && startOf(ca) == startOf(cc)) {
      LOPREV(ca);
    } else if (a == 1 && startOf(ca) == endOf(cc)) {
      LOPREV(ca);
      LOPREV(cc);
    } else if (startOf(ca) == startOf(cc) || startOf(ca) == endOf(cc)) {
      postSurfaceFault(surface, startOf(ca), kKindPoint);
      status = 1;
      return;
    } else {
      postSurfaceFault(surface, endOf(ca), kKindPoint);
      status = 1;
      return;
    }
  }
  if (endOf(table.chain(sides)) != startOf(table.chain(1))) {
    postSurfaceFault(surface, endOf(table.chain(sides)), kKindPoint);
    status = 1;
    return;
  }
  table.chain(1).at(kOwnerType, 1) = type;
}

void BODTOP(int32_t body, SidTab& bottom, SidTab& top, SidTab& edges, BodFac& faces,
            int32_t& status) {
  bottom = {};
  top = {};
  edges = {};
  faces = {};
  status = 1;
  BodyWalk walk;
  walk.body = magnitude(body);
  walk.silent = body < 0;
  // A number the bodies do not reach would end the run at the record read.
  if (ENTEXS(walk.body, kKindBody) == 0) return;
  RECIO(kRead, kArrBodies, walk.body, ENTBUF.body);
  std::copy(ENTBUF.body.begin(), ENTBUF.body.end(), walk.rec.begin());
  const int32_t type = walk.word(1) % 100;
  bool done = false;
  switch (type) {
    case 1: case 2: case 3:
      done = solidBody(walk, type, bottom, top, edges, faces);
      break;
    case 4:
      done = sweptBody(walk, bottom, top, edges, faces);
      break;
    case 5:
      done = readStoredList(5, walk.word(4), walk.word(5), walk.word(7), edges) == 0;
      break;
    default:
      break;
  }
  if (done) status = 0;
}

void LOPFND(int32_t set, int32_t& position) {
  const int32_t written = appendStartSides(set, position);
  if (written > 0) position += written - 1;
}

}  // namespace kvr
