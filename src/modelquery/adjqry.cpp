// The adjacency search ADJSRC and the host's query UADJGE.
#include "modelquery/adjqry.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/setrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/setlst.h"
#include "modelquery/setqry.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kNothingAdjacent = 2;
constexpr int32_t kKindPoint = 1;
constexpr int32_t kKindLine = 2;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;
constexpr int32_t kKindSet = 7;
constexpr int32_t kModeNormal = 0;
constexpr int32_t kModeSurfacesOnly = 1;

// Surface record words.
constexpr int32_t kSrfBoundaryFirst = 2;
constexpr int32_t kSrfBoundaryLast = 5;
constexpr int32_t kSrfLineSet = 2;
constexpr int32_t kSrfListCount = 3;
constexpr int32_t kSrfListStart = 4;
constexpr int32_t kSrfCode = 6;
constexpr int32_t kSrfFirstElement = 7;
// Body record words.
constexpr int32_t kBodType = 1;
constexpr int32_t kBodSurfaceFirst = 2;
constexpr int32_t kBodSurfaceSet = 4;
constexpr int32_t kBodListCount = 5;
constexpr int32_t kBodListStart4 = 6;
constexpr int32_t kBodListStart5 = 7;
constexpr int32_t kBodFirstElement = 9;

int32_t magnitude(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                  : std::abs(v);
}

int32_t countOf(int32_t kind) {
  switch (kind) {
    case kKindPoint:
      return MODCNT.word(kCntPoints);
    case kKindLine:
      return MODCNT.word(kCntLines);
    case kKindSurface:
      return MODCNT.word(kCntSurfaces);
    case kKindBody:
      return MODCNT.word(kCntBodies);
    default:
      return 0;
  }
}

bool lineHeld(int32_t l) { return entityHeld(kArrLines, kLineWords, l, MODCNT.word(kCntLines)); }

struct SurfaceRecord {
  std::array<int32_t, kSurfaceWords> words{};
  int32_t word(int32_t k) const { return words[static_cast<size_t>(k - 1)]; }
  int32_t type() const { return word(kSrfCode) / 100 % 100; }
};

struct BodyRecord {
  std::array<int32_t, kBodyWords> words{};
  int32_t word(int32_t k) const { return words[static_cast<size_t>(k - 1)]; }
};

// Records read into the shared buffers of ENTBUF, as the element ranges read them; false
// for a number whose record the store does not hold.
bool readSurface(int32_t s, SurfaceRecord& r) {
  if (!entityHeld(kArrSurfaces, kSurfaceWords, s, MODCNT.word(kCntSurfaces))) return false;
  RECIO(kRead, kArrSurfaces, s, ENTBUF.surface);
  r.words = ENTBUF.surface;
  return true;
}

bool readBody(int32_t b, BodyRecord& r) {
  if (!entityHeld(kArrBodies, kBodyWords, b, MODCNT.word(kCntBodies))) return false;
  RECIO(kRead, kArrBodies, b, ENTBUF.body);
  r.words = ENTBUF.body;
  return true;
}

// Whether entity NUMBER of KIND has elements of its own.
bool meshed(int32_t kind, int32_t number) {
  int32_t first = 0, last = 0, word = 0;
  switch (kind) {
    case kKindPoint:
      PNTELM(number, first, last, word);
      break;
    case kKindLine:
      if (!lineHeld(number)) return false;
      ELRNGL(number, first, last, word);
      break;
    case kKindSurface:
      if (!entityHeld(kArrSurfaces, kSurfaceWords, number, MODCNT.word(kCntSurfaces))) return false;
      ELRNGS(number, first, last, word);
      break;
    case kKindBody:
      if (!entityHeld(kArrBodies, kBodyWords, number, MODCNT.word(kCntBodies))) return false;
      ELRNGB(number, first, last, word);
      break;
    default:
      return false;
  }
  return first > 0;
}

// The entries of the chained list of N entries at START (none when the ring holds fewer).
std::vector<int32_t> listEntries(int32_t n, int32_t start) {
  std::vector<int32_t> entries;
  if (n <= 0) return entries;
  // A list cannot hold more entries than the store has words.
  entries.resize(static_cast<size_t>(std::min(n, std::max(REGHED.ARRLEN(kArrListStore), 0))));
  int32_t position = start;
  int32_t got = 0;
  int32_t status = 0;
  FACSRC(kListStart, position, 0, {}, got, status);
  if (status == 0) FACSRC(kListRead, position, n, entries, got, status);
  entries.resize(status == 0 && got > 0 ? static_cast<size_t>(got) : 0);
  return entries;
}

// The members that WRITE (SETLIN or SETSRF) gives for SET and for each entry above 0 of
// the list of N entries at START, in absolute value, through the search work array.
std::vector<int32_t> expandSets(void (*write)(int32_t, int32_t&), int32_t set, int32_t n,
                                int32_t start) {
  const std::vector<int32_t> more = listEntries(n, start);
  int32_t last = 1;
  write(set, last);
  for (const int32_t entry : more) {
    if (entry <= 0) continue;
    int32_t at = last + 1;
    write(entry, at);
    last = at;
  }
  std::vector<int32_t> members;
  members.reserve(static_cast<size_t>(std::max(last, 0)));
  for (int32_t k = 1; k <= last; ++k) {
    int32_t v = 0;
    NAWORD(kRead, kArrSearchWork, k, v);
    members.push_back(magnitude(v));
  }
  return members;
}

// The number of ways in which LINE is on the surface R: as a boundary word, as a member
// of a composite boundary line, or among the line members of its sets.
int32_t waysOnSurface(int32_t line, const SurfaceRecord& r) {
  const int32_t t = r.type();
  int32_t ways = 0;
  if (t >= 1 && t <= 4) {
    for (int32_t k = kSrfBoundaryFirst; k <= kSrfBoundaryLast; ++k) {
      const int32_t w = r.word(k);
      if (w == line) {
        ++ways;
      } else if (lineHeld(w) && LNG07B(w) == kCompositeLine) {
        std::array<int32_t, kMaxMembers> members{};
        int32_t n = 0;
        LNG08B(w, members, n);
        for (int32_t m = 0; m < n; ++m) ways += members[static_cast<size_t>(m)] == line ? 1 : 0;
      }
    }
  } else if (t >= 5 && t <= 8) {
    for (const int32_t m :
         expandSets(SETLIN, r.word(kSrfLineSet), r.word(kSrfListCount), r.word(kSrfListStart))) {
      ways += m == line ? 1 : 0;
    }
  }
  return ways;
}

// The surfaces of body R as the line search collects them.
std::vector<int32_t> bodySurfaces(const BodyRecord& r) {
  std::vector<int32_t> surfaces;
  auto words = [&](int32_t last) {
    for (int32_t k = kBodSurfaceFirst; k <= last; ++k) surfaces.push_back(magnitude(r.word(k)));
  };
  auto sets = [&](int32_t startWord) {
    const std::vector<int32_t> m =
        expandSets(SETSRF, r.word(kBodSurfaceSet), r.word(kBodListCount), r.word(startWord));
    surfaces.insert(surfaces.end(), m.begin(), m.end());
  };
  switch (r.word(kBodType)) {
    case 1:
      words(7);
      break;
    case 2:
      words(6);
      break;
    case 3:
      words(5);
      break;
    case 4:
      words(3);
      sets(kBodListStart4);
      break;
    case 5:
      sets(kBodListStart5);
      break;
    default:
      break;
  }
  return surfaces;
}

// Whether SURFACE is on body R, as the surface search looks for it.
bool surfaceOnBody(int32_t surface, const BodyRecord& r) {
  auto inSets = [&](int32_t startWord) {
    const std::vector<int32_t> m =
        expandSets(SETSRF, r.word(kBodSurfaceSet), r.word(kBodListCount), r.word(startWord));
    return std::find(m.begin(), m.end(), surface) != m.end();
  };
  switch (r.word(kBodType)) {
    case 4:
      return surface == r.word(2) || surface == r.word(3) || inSets(kBodListStart4);
    case 5:
      return inSets(kBodListStart5);
    default:
      for (int32_t k = kBodSurfaceFirst; k <= 7; ++k) {
        if (r.word(k) == surface) return true;
      }
      return false;
  }
}

// The candidates of one kind: the members of a restricting set, or every entity of the
// kind whose record the store holds.
class Candidates {
 public:
  Candidates(bool fromSet, int32_t set, std::span<int32_t> work) : fromSet_(fromSet) {
    if (!fromSet_) return;
    int32_t mkind = 0, first = 0, last = 0;
    members_.resize(static_cast<size_t>(std::max(SETNMB(set), 0)));
    SETMBR(set, members_, static_cast<int32_t>(members_.size()), mkind, first, last);
    const int32_t points = SETCNT.word(kSetCntPoints);
    const int32_t lines = SETCNT.word(kSetCntLines);
    const int32_t composites = SETCNT.word(kSetCntComposites);
    const int32_t surfaces = SETCNT.word(kSetCntSurfaces);
    const int32_t bodies = SETCNT.word(kSetCntBodies);
    const int32_t written = std::min(points + lines + composites + surfaces + bodies,
                                     static_cast<int32_t>(members_.size()));
    members_.resize(static_cast<size_t>(std::max(written, 0)));
    // The host's work array receives the members it has room for.
    std::copy_n(members_.begin(), std::min(members_.size(), work.size()), work.begin());
    lines_ = slice(points, lines);
    surfaces_ = slice(points + lines + composites, surfaces);
    bodies_ = slice(points + lines + composites + surfaces, bodies);
  }

  // The candidate numbers of KIND (2 lines, 3 surfaces, 4 bodies).
  std::vector<int32_t> of(int32_t kind) const {
    if (fromSet_) {
      const std::span<const int32_t> s =
          kind == kKindLine ? lines_ : (kind == kKindSurface ? surfaces_ : bodies_);
      return {s.begin(), s.end()};
    }
    std::vector<int32_t> all;
    const int32_t n = countOf(kind);
    for (int32_t id = 1; id <= n && held(kind, id); ++id) all.push_back(id);
    return all;
  }

  bool lines() const { return !fromSet_ || !lines_.empty(); }

 private:
  std::span<const int32_t> slice(int32_t skip, int32_t n) const {
    const auto size = static_cast<int64_t>(members_.size());
    const int64_t a = std::clamp<int64_t>(skip, 0, size);
    const int64_t b = std::clamp<int64_t>(int64_t{skip} + n, a, size);
    return std::span<const int32_t>(members_).subspan(static_cast<size_t>(a),
                                                      static_cast<size_t>(b - a));
  }
  static bool held(int32_t kind, int32_t id) {
    switch (kind) {
      case kKindLine:
        return lineHeld(id);
      case kKindSurface:
        return entityHeld(kArrSurfaces, kSurfaceWords, id, MODCNT.word(kCntSurfaces));
      default:
        return entityHeld(kArrBodies, kBodyWords, id, MODCNT.word(kCntBodies));
    }
  }

  bool fromSet_;
  std::vector<int32_t> members_;
  std::span<const int32_t> lines_;
  std::span<const int32_t> surfaces_;
  std::span<const int32_t> bodies_;
};

// A hit of the search: the first one names the neighbour.
void hit(int32_t& count, int32_t& nnumber, int32_t number, int32_t times = 1) {
  if (times <= 0) return;
  if (count == 0) nnumber = number;
  count += times;
}

void searchPoint(int32_t point, const Candidates& c, int32_t& nkind, int32_t& nnumber,
                 int32_t& count) {
  if (!c.lines()) return;
  for (const int32_t l : c.of(kKindLine)) {
    if (!lineHeld(l) || LNG07B(l) == kCompositeLine || LNG08(l) <= 0) continue;
    if (magnitude(LNG02(l)) == point) hit(count, nnumber, l);
    if (LNG03(l) == point) hit(count, nnumber, l);
  }
  nkind = kKindLine;
}

void searchLine(int32_t line, const Candidates& c, int32_t mode, int32_t& nkind, int32_t& nnumber,
                int32_t& count) {
  for (const int32_t s : c.of(kKindSurface)) {
    SurfaceRecord r;
    if (!readSurface(s, r) || r.word(kSrfFirstElement) == 0) continue;
    if (r.type() < 1 || r.type() > 8) continue;
    hit(count, nnumber, s, waysOnSurface(line, r));
  }
  if (count > 0 || mode == kModeSurfacesOnly) nkind = kKindSurface;
  if (count > 0 || mode != kModeNormal) return;
  for (const int32_t b : c.of(kKindBody)) {
    BodyRecord r;
    if (!readBody(b, r) || r.word(kBodFirstElement) == 0) continue;
    for (const int32_t s : bodySurfaces(r)) {
      SurfaceRecord sr;
      if (readSurface(s, sr) && waysOnSurface(line, sr) > 0) hit(count, nnumber, b);
    }
  }
  nkind = kKindBody;
}

void searchSurface(int32_t surface, const Candidates& c, int32_t& nkind, int32_t& nnumber,
                   int32_t& count) {
  for (const int32_t b : c.of(kKindBody)) {
    BodyRecord r;
    if (!readBody(b, r) || r.word(kBodFirstElement) == 0) continue;
    if (surfaceOnBody(surface, r)) hit(count, nnumber, b);
  }
  nkind = kKindBody;
}

}  // namespace

void ADJSRC(int32_t kind, int32_t number, int32_t& nkind, int32_t& nnumber, int32_t& count,
            std::span<int32_t> work, int32_t mode) {
  count = 0;
  const int32_t given = nkind;
  if (given <= 0) {
    if (mode == kModeNormal) {
      nkind = kind;
      nnumber = number;
      if (meshed(kind, number)) {
        count = 1;
        return;
      }
    }
  } else if (given == kKindLine || given == kKindSurface || given == kKindBody) {
    count = meshed(given, nnumber) ? 1 : 0;
    return;
  }
  const Candidates candidates(given == kKindSet, nnumber, work);
  switch (kind) {
    case kKindPoint:
      searchPoint(number, candidates, nkind, nnumber, count);
      break;
    case kKindLine:
      searchLine(number, candidates, mode, nkind, nnumber, count);
      break;
    case kKindSurface:
      searchSurface(number, candidates, nkind, nnumber, count);
      break;
    default:
      break;
  }
}

int32_t lineWaysOnSurface(int32_t line, int32_t surface) {
  SurfaceRecord r;
  return readSurface(surface, r) ? waysOnSurface(line, r) : 0;
}

std::vector<int32_t> surfacesOfBody(int32_t body) {
  BodyRecord r;
  return readBody(body, r) ? bodySurfaces(r) : std::vector<int32_t>{};
}

int32_t restrictingSetSize(int32_t rkind, int32_t rnumber) {
  if (rkind != kKindSet || rnumber < 1 || rnumber >= MODCNT.word(kCntSets)) return 0;
  return std::max(SETNMB(rnumber + 1), 0);
}

void UADJGE(const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, int32_t& nkind, int32_t& nnumber, std::span<int32_t> work,
            const int32_t& /*spare*/, const int32_t& mode, int32_t& status) {
  if (kind < kKindPoint || kind > kKindSurface || number < 1 || number > countOf(kind)) {
    status = kOutOfRange;
    return;
  }
  int32_t count = 0;
  if (rnumber > 0) {
    if (rkind >= kKindPoint && rkind <= kKindBody) {
      if (rnumber > countOf(rkind)) {
        status = kOutOfRange;
        return;
      }
      nkind = rkind;
      nnumber = rnumber;
      status = 0;
      return;
    }
    if (rkind != kKindSet) {
      nnumber = rnumber;
      status = kOutOfRange;
      return;
    }
    const int64_t stored = int64_t{rnumber} + 1;
    if (stored > MODCNT.word(kCntSets)) {
      status = kOutOfRange;
      return;
    }
    nkind = kKindSet;
    nnumber = static_cast<int32_t>(stored);
  } else {
    nkind = 0;
    nnumber = 0;
  }
  ADJSRC(kind, number, nkind, nnumber, count, work, mode);
  status = count > 0 ? 0 : kNothingAdjacent;
}

}  // namespace kvr
