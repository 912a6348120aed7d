// Connections: the host's query UCONCT over the chain way (CONLST) and the pairing way
// (CONNOD), which also answers the rigid beams. The mesh along a line that the chain
// builder asks for, CONMSH, is in connmesh.cpp.
//
// Every entry is written only when it fits within the list with the 0 that closes it;
// the list is never written past SIZE.
#include "modelquery/connect.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "geometry/edgmat.h"
#include "modeldb/nodcol.h"
#include "modelquery/condition.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/ftext.h"
#include "runtime/geosta.h"
#include "runtime/modcnt.h"
#include "runtime/msglin.h"

namespace kvr {
namespace {

constexpr int32_t kDone = 0;
constexpr int32_t kMismatch = 1;     // CONLST: no fine and coarse pair
constexpr int32_t kNoRoom = 2;       // CONLST: the list is too short
constexpr int32_t kNoNodes = 3;
constexpr int32_t kSidesDiffer = 4;  // CONNOD: counts differ, a side empty or degenerate
constexpr int32_t kNotALineSide = 4; // CONLST: a side that is no line nor set of lines
constexpr int32_t kWrongType = 5;
constexpr int32_t kFull = 9;
// UCONCT's own names for the pairing way's failures.
constexpr int32_t kNotAConnection = 3;
constexpr int32_t kSideWithoutNodes = 4;
constexpr int32_t kCountsDiffer = 5;
constexpr int32_t kCentroidMode = 1;
constexpr int32_t kLinear = 1;
constexpr int32_t kQuadratic = 2;
constexpr int32_t kLineTableWords = 7;   // per line: the chain builder's line table
constexpr int32_t kPointTableWords = 12; // per line: its point table (two points of 6)
constexpr double kFarAway = 9.9999998e22;

constexpr std::string_view kSlowPairing =
    "PROCESSING MPC RCONNECT WITH NUMEROUS NODES, THIS MAY BE SLOW";

// The matching mode the caller left in position 1 of the list.
int32_t modeOf(std::span<const int32_t> list, int32_t room) {
  return room >= 1 && list[0] == kCentroidMode ? kCentroidMode : 0;
}

// The room of LIST: SIZE, never more than the list holds.
int32_t roomOf(std::span<const int32_t> list, int32_t size) {
  return static_cast<int32_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(list.size())));
}

// Writes entries from position 1 within ROOM words; an entry or group goes in only when
// it fits with the 0 that closes the list after it, and that 0 is written with it. So the
// list is closed whatever is refused: a list of ROOM 1 or more holds the entries that fit.
class EntryWriter {
 public:
  EntryWriter(std::span<int32_t> list, int32_t room) : list_(list), room_(room) {}

  // Appends the words of a group of entries and the closing 0; false when they do not fit.
  bool append(std::span<const int32_t> words) {
    if (int64_t{next_} + static_cast<int64_t>(words.size()) > room_) {
      close();
      return false;
    }
    for (const int32_t w : words) list_[static_cast<size_t>(next_++ - 1)] = w;
    list_[static_cast<size_t>(next_ - 1)] = 0;
    return true;
  }
  bool append(std::initializer_list<int32_t> words) {
    return append(std::span<const int32_t>(words.begin(), words.size()));
  }
  // The closing 0 after the entries written; false when there is no room for it.
  bool close() {
    if (next_ > room_) return false;
    list_[static_cast<size_t>(next_ - 1)] = 0;
    return true;
  }

 private:
  std::span<int32_t> list_;
  int32_t room_;
  int32_t next_ = 1;
};

struct Point {
  double x = 0, y = 0, z = 0;
};
Point operator-(const Point& a, const Point& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const Point& a, const Point& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point scaled(const Point& a, double f) { return {a.x * f, a.y * f, a.z * f}; }

// The coordinates of external node NODE ((0, 0, 0) for a node without coordinates).
Point coordinates(int32_t node) {
  std::array<float, 3> xyz{};
  int32_t status = 0;
  UNODE(node, xyz, status);
  return {xyz[0], xyz[1], xyz[2]};
}

Point centroid(const std::vector<Point>& points) {
  Point c;
  for (const Point& p : points) c = {c.x + p.x, c.y + p.y, c.z + p.z};
  return scaled(c, 1.0 / static_cast<double>(points.size()));
}

// LNCHAN's statuses as the chain way reports them.
int32_t chainStatus(int32_t lnchan) {
  switch (lnchan) {
    case 0: return kDone;
    case 1: return kNotALineSide;
    case 3: return kNoNodes;
    default: return kNoRoom;
  }
}

}  // namespace

void CONLST(int32_t kind1, int32_t entity1, int32_t kind2, int32_t entity2,
            std::span<int32_t> list, int32_t size, int32_t& status) {
  const int32_t room = roomOf(list, size);
  const int32_t mode = modeOf(list, room);

  // 1. The scratch of the chain builder at the list's tail.
  const int32_t h = highestNode();
  if (h <= 0) {
    status = kNoNodes;
    return;
  }
  const int32_t lines = std::max(MODCNT.word(kCntLines), 1);
  const int64_t avail = int64_t{room} - h - int64_t{kLineTableWords + kPointTableWords} * lines;
  if (avail <= 0) {
    status = kNoRoom;
    return;
  }
  const auto at = [&](int64_t first, int64_t n) {
    return list.subspan(static_cast<size_t>(first), static_cast<size_t>(n));
  };
  std::span<int32_t> nodes = at(room - h, h);
  std::span<int32_t> points = at(room - h - int64_t{kPointTableWords} * lines, int64_t{kPointTableWords} * lines);
  std::span<int32_t> table = at(avail, int64_t{kLineTableWords} * lines);

  // 2, 3. The chains of both sides, one behind the other.
  int32_t n1 = 0, o1 = 0, n2 = 0, o2 = 0, s = 0;
  LNCHAN(kind1, entity1, at(0, avail), static_cast<int32_t>(avail), n1, o1, lines, h, table,
         points, nodes, s);
  if ((status = chainStatus(s)) != kDone) return;
  if (avail - n1 <= 0) {
    status = kNoRoom;
    return;
  }
  LNCHAN(kind2, entity2, at(n1, avail - n1), static_cast<int32_t>(avail - n1), n2, o2, lines, h,
         table, points, nodes, s);
  if ((status = chainStatus(s)) != kDone) return;

  // 4. The fine side has 2c - 1 nodes when the coarse one has c.
  const bool oneFine = 2 * int64_t{n2} == int64_t{n1} + 1;
  const bool twoFine = 2 * int64_t{n1} == int64_t{n2} + 1;
  int32_t fine = 0;
  if (o1 == o2) {
    fine = oneFine ? 1 : (twoFine ? 2 : 0);
  } else if (o1 == kLinear) {
    fine = twoFine ? 2 : 0;
  } else {
    fine = oneFine ? 1 : 0;
  }
  if (fine == 0) {
    status = kMismatch;
    return;
  }

  // 5. Chain 2 runs the other way when its last node is the nearer to chain 1's first;
  // in mode 1 the shapes of the chains decide when the edge matcher can tell.
  const Point start = coordinates(list[0]);
  const Point toFirst = coordinates(list[static_cast<size_t>(n1)]) - start;
  const Point toLast = coordinates(list[static_cast<size_t>(n1 + n2 - 1)]) - start;
  int32_t reversed = dot(toLast, toLast) < dot(toFirst, toFirst) ? 1 : 0;
  if (mode == kCentroidMode) {
    int32_t shaped = 0, agreement = 0, es = 0;
    EDGMAT(n1, n2, shaped, agreement, list.first(static_cast<size_t>(n1 + n2)), es);
    if (es == 0) reversed = shaped;
  }

  // 6. The fine chain in order, the coarse one in the order that pairs it.
  const std::span<const int32_t> chain1 = list.first(static_cast<size_t>(n1));
  const std::span<const int32_t> chain2 = list.subspan(static_cast<size_t>(n1), static_cast<size_t>(n2));
  const std::span<const int32_t> f = fine == 1 ? chain1 : chain2;
  const std::span<const int32_t> c = fine == 1 ? chain2 : chain1;
  const std::vector<int32_t> fineNodes(f.begin(), f.end());
  std::vector<int32_t> coarse(c.begin(), c.end());
  if (reversed == 1) std::reverse(coarse.begin(), coarse.end());
  const auto fn = [&](int64_t i) { return fineNodes[static_cast<size_t>(i - 1)]; };
  const auto cn = [&](int64_t j) { return coarse[static_cast<size_t>(j - 1)]; };
  const auto nc = static_cast<int64_t>(coarse.size());

  // 7. The entries, group by group, each closed by a 0.
  EntryWriter out(list, room);
  bool fits = true;
  if (o1 == kQuadratic && o2 == kQuadratic) {
    for (int64_t w = 1; fits && w <= (nc - 1) / 2; ++w) {
      const int32_t a = cn(2 * w - 1), b = cn(2 * w), e = cn(2 * w + 1);
      std::vector<int32_t> group;
      if (w == 1) group = {fn(1), 1, a};
      group.insert(group.end(), {fn(4 * w - 2), 3, a, b, e, fn(4 * w - 1), 1, b,
                                 fn(4 * w), 3, a, b, e, fn(4 * w + 1), 1, e});
      fits = out.append(group);
    }
  } else {
    for (int64_t v = 1; fits && v <= nc - 1; ++v) {
      std::vector<int32_t> group;
      if (v == 1) group = {fn(1), 1, cn(1)};
      group.insert(group.end(), {fn(2 * v), 2, cn(v), cn(v + 1), fn(2 * v + 1), 1, cn(v + 1)});
      fits = out.append(group);
    }
  }
  // A coarse chain of one node pairs nothing: the list is empty, not the chains left in
  // it (whose first word would read as an entry).
  if (nc <= 1) fits = out.close();
  status = fits ? kDone : kNoRoom;
}

void CONNOD(int32_t type, int32_t kind1, int32_t entity1, int32_t kind2, int32_t entity2,
            std::span<int32_t> list, int32_t size, int32_t& status) {
  const int32_t room = roomOf(list, size);
  const int32_t mode = modeOf(list, room);
  if (highestNode() <= 0) {
    status = kNoNodes;
    return;
  }
  if (type != kRigidBeamType && type != kConnectionType) {
    status = kWrongType;
    return;
  }
  EntryWriter out(list, room);
  std::vector<int32_t> side1, side2;

  if (type == kRigidBeamType) {
    // The master is the first node of side 2; side 1's nodes follow it.
    if ((status = entityNodes(kind2, entity2, side2)) != 0) return;
    const int32_t master = side2.front();
    if ((status = entityNodes(kind1, entity1, side1)) != 0) return;
    for (const int32_t node : side1) {
      if (node != master && !out.append({node, 1, master})) {
        status = kFull;
        return;
      }
    }
    status = out.close() ? kDone : kFull;
    return;
  }

  // 1. The two sides, of one node count.
  if ((status = entityNodes(kind1, entity1, side1)) != 0) return;
  if ((status = entityNodes(kind2, entity2, side2)) != 0) return;
  if (side1.size() != side2.size() || side1.empty()) {
    status = kSidesDiffer;
    return;
  }
  std::vector<Point> p1, p2;
  for (const int32_t n : side1) p1.push_back(coordinates(n));
  for (const int32_t n : side2) p2.push_back(coordinates(n));

  // 2. Mode 1: positions about each side's centroid, scaled by its first node's offset.
  const Point c1 = centroid(p1), c2 = centroid(p2);
  const Point r1 = p1.front() - c1, r2 = p2.front() - c2;
  const double q1 = dot(r1, r1), q2 = dot(r2, r2);
  if (mode == kCentroidMode) {
    // A zero offset is degenerate too: the positions would divide by it.
    const double tolerance = GEOSTA.real(kGeoModelTolerance);
    if (q1 < tolerance || q2 < tolerance || q1 <= 0.0 || q2 <= 0.0) {
      status = kSidesDiffer;
      return;
    }
  }
  auto distance = [&](const Point& p, const Point& q) {
    if (mode != kCentroidMode) {
      const Point d = q - p;
      return std::sqrt(dot(d, d));
    }
    const Point d = p - c1, e = q - c2;
    const double a = dot(d, r1) / q1, b = dot(e, r2) / q2;
    const Point t = scaled(cross(r1, d), 1.0 / q1), u = scaled(cross(r2, e), 1.0 / q2);
    const Point dt = u - t;
    return std::sqrt(dot(dt, dt) + (b - a) * (b - a));
  };

  // 3. Each node of side 1 takes the nearest node of side 2 not yet taken (the first of
  // equals); a node that takes itself needs no entry.
  std::vector<bool> taken(side2.size(), false);
  for (size_t j = 0; j < side1.size(); ++j) {
    double best = kFarAway;
    size_t chosen = side2.size();
    for (size_t k = 0; k < side2.size(); ++k) {
      if (taken[k]) continue;
      const double d = distance(p1[j], p2[k]);
      if (d < best) {
        best = d;
        chosen = k;
      }
    }
    if (chosen == side2.size()) continue;
    taken[chosen] = true;
    if (side2[chosen] != side1[j] && !out.append({side1[j], 1, side2[chosen]})) {
      status = kFull;
      return;
    }
  }
  // 4. The closing 0.
  status = out.close() ? kDone : kFull;
}

void UCONCT(const int32_t& number, std::span<int32_t> list, const int32_t& size,
            std::span<int32_t, 16> flags, int32_t& status) {
  // 1. The connection record.
  ConditionRecord r;
  if (const int32_t s = readCondition(number, r); s != kConditionRead) {
    status = s;
    return;
  }
  if (r.word(1) % 100 != kConnectionType) {
    status = kNotAConnection;
    return;
  }
  const int32_t mode = r.word(1) / 100 % 10;
  const EntityTarget side1 = splitTarget(r.word(3));
  const EntityTarget side2 = splitTarget(r.word(5));
  const int32_t room = roomOf(list, size);
  auto storeMode = [&] {
    if (room >= 1) list[0] = mode;
  };

  // 3. The chain way first.
  int32_t chain = 0;
  storeMode();
  CONLST(side1.kind, side1.number, side2.kind, side2.number, list, size, chain);
  if (chain == kDone) {
    status = kDone;
  } else {
    // 4. Pairing many nodes takes long: the user is told before it starts.
    std::vector<int32_t> a, b;
    entityNodes(side1.kind, side1.number, a);
    entityNodes(side2.kind, side2.number, b);
    if (a.size() == b.size() && a.size() >= static_cast<size_t>(kSlowPairingNodes)) {
      std::string text(kSlowPairing);
      std::string none;
      MSGOUT(1, FText(text), 0, FText(none), 0);
    }
    // 5. The pairing way.
    int32_t pairing = 0;
    storeMode();
    CONNOD(kConnectionType, side1.kind, side1.number, side2.kind, side2.number, list, size,
           pairing);
    if (pairing == kDone) {
      status = kDone;
    } else {
      status = chain;
      if (chain == kNoRoom || pairing == kFull) status = kFull;
      if (pairing == kNoNodes) status = kSideWithoutNodes;
      if (pairing == kSidesDiffer) status = kCountsDiffer;
      if (pairing == kWrongType) status = kNotAConnection;
    }
  }
  // 6. The flags.
  flagHalf(r.word(2), FlagSign::kSigned, FlagHalf::kLower, flags);
}

}  // namespace kvr
