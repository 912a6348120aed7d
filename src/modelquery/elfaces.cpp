// UEFAC2 and the face extraction behind it: FACEXT, EDGFND, FACFND, FAC4EQ.
#include "modelquery/elfaces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "geometry/elcent.h"
#include "geometry/ptonsh.h"
#include "modeldb/entrec.h"
#include "modeldb/loctop.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kDone = 0;
constexpr int32_t kUnreadable = 1;
constexpr int32_t kCornersOff = 2;
constexpr int32_t kNoFaceFound = 3;
constexpr int32_t kConnectivityFails = 4;
constexpr int32_t kFull = 9;
constexpr int32_t kCornersFirst = 2;  // the local topology's numbering of the stored order
constexpr int32_t kNoPosition = 100;
constexpr int32_t kKindSurface = 3;
constexpr int32_t kKindBody = 4;
constexpr int32_t kQU9 = 10;
constexpr int32_t kTR15 = 27;
constexpr int32_t kHE16 = 15;
constexpr int32_t kHE27 = 18;
constexpr int32_t kIS84 = 49;
constexpr int32_t kPE6 = 11;
constexpr int32_t kTE4 = 12;
constexpr int32_t kSurfaceFlagWord = 6;   // its quotient by 10000: build the edge list
constexpr int32_t kBodyFlagWord = 8;      // its quotient by 100: build the neighbour list
constexpr int32_t kEdgeWords = 3;
constexpr int32_t kFaceWords = 5;

int32_t savedListFlag = 0;

// A key of a neighbour list entry: its nodes in increasing order, so that an edge or a
// face matches whichever way round an element lists it.
using EdgeKey = uint64_t;
using FaceKey = std::array<int32_t, 4>;

EdgeKey edgeKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

FaceKey faceKey(FaceKey p) {
  std::sort(p.begin(), p.end());
  return p;
}

struct FaceKeyHash {
  size_t operator()(const FaceKey& p) const {
    uint64_t h = 1469598103934665603ULL;
    for (const int32_t v : p) h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ULL;
    return static_cast<size_t>(h);
  }
};

// The entries of a neighbour list by their keys, so that a look-up costs O(1) amortised
// however long the list. An index belongs to the list it was made from, known by the
// address of its count word and its entry count. A look-up over another list, or one
// that finds an entry no longer holding its nodes, indexes that list's entries again
// first; between its build and its look-ups the list is the library's own, so a key the
// index lacks stands in no entry.
template <class Key, class Hash = std::hash<Key>>
struct ListIndex {
  const int32_t* owner = nullptr;
  int64_t entries = -1;
  std::unordered_map<Key, int32_t, Hash> position;

  void clear() {
    owner = nullptr;
    entries = -1;
    position.clear();
  }
  bool belongsTo(const int32_t* countWord, int64_t count) const {
    return owner == countWord && entries == count;
  }
  // Indexes the COUNT entries of the list whose count word is at COUNTWORD, the key of
  // entry j given by KEYOF(j); the first of equal entries is the one found, as a walk
  // from the list's start finds it.
  template <class KeyOf>
  void rebuild(const int32_t* countWord, int64_t count, KeyOf keyOf) {
    position.clear();
    for (int64_t j = 1; j <= count; ++j) position.emplace(keyOf(j), static_cast<int32_t>(j));
    owner = countWord;
    entries = count;
  }
  // Takes the keys a build gathered as the index of the list it wrote.
  void adopt(const int32_t* countWord, int64_t count, std::unordered_map<Key, int32_t, Hash> keys) {
    position = std::move(keys);
    owner = countWord;
    entries = count;
  }
};

ListIndex<EdgeKey> edgeIndex;
ListIndex<FaceKey, FaceKeyHash> faceIndex;

// A 1-based view of the words from the node list on.
struct Words {
  std::span<int32_t> w;
  int32_t& at(int32_t k) { return w[static_cast<size_t>(k - 1)]; }
  bool holds(int64_t k) const { return k >= 1 && k <= static_cast<int64_t>(w.size()); }
};

std::unordered_set<int32_t> nodeSet(std::span<const int32_t> list, int32_t count) {
  const auto n = std::clamp<int64_t>(count, 0, static_cast<int64_t>(list.size()));
  return {list.begin(), list.begin() + n};
}

// The node set of the entity of the current calls: the nodes of its list, each with its
// position there. It is built when a call names another entity, target or list, or when
// the calls of an entity begin (forget), and kept while the entity stays the same, so
// that each call costs the element's nodes, not the entity's. Each call compares a few
// words spread over the list with those the set was built from, and a node found is
// checked against the list at its position: a list written anew under the set is taken
// afresh.
class EntityNodes {
 public:
  void forget() { data_ = nullptr; }
  // The set of LIST(1..COUNT), the node list of entity NUMBER for TARGET.
  void use(std::span<const int32_t> list, int32_t count, int32_t target, int32_t number) {
    list_ = list.first(static_cast<size_t>(std::clamp<int64_t>(count, 0, static_cast<int64_t>(list.size()))));
    if (data_ == list.data() && count_ == count && target_ == target && number_ == number &&
        samplesHold()) {
      return;
    }
    data_ = list.data();
    count_ = count;
    target_ = target;
    number_ = number;
    rebuild();
  }
  bool contains(int32_t node) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      const auto it = position_.find(node);
      if (it == position_.end()) return false;
      if (list_[it->second] == node) return true;
      rebuild();
    }
    return false;
  }

 private:
  void rebuild() {
    position_.clear();
    position_.reserve(list_.size());
    for (size_t i = 0; i < list_.size(); ++i) position_.emplace(list_[i], i);
    for (size_t j = 0; j < kSamples; ++j) samples_[j] = list_.empty() ? 0 : list_[sampleAt(j)];
  }
  size_t sampleAt(size_t j) const { return (list_.size() - 1) * j / (kSamples - 1); }
  bool samplesHold() const {
    for (size_t j = 0; j < kSamples && !list_.empty(); ++j) {
      if (list_[sampleAt(j)] != samples_[j]) return false;
    }
    return true;
  }

  static constexpr size_t kSamples = 16;
  std::array<int32_t, kSamples> samples_{};

  const int32_t* data_ = nullptr;
  int32_t count_ = 0;
  int32_t target_ = 0;
  int32_t number_ = 0;
  std::span<const int32_t> list_;
  std::unordered_map<int32_t, size_t> position_;
};

EntityNodes entityNodes;

struct Element {
  std::array<int32_t, kElementNodes> nodes{};
  int32_t count = 0;
  int32_t shape = 0;
  int32_t node(int32_t position) const { return nodes[static_cast<size_t>(position - 1)]; }
};

bool readElement(int32_t e, Element& el) {
  int32_t stat = 0;
  ELCONN(e, el.nodes, el.count, el.shape, stat);
  return stat == 0 && el.count >= 0 && el.count <= kElementNodes;
}

// The positions of an element on the entity: the corners in increasing order with their
// sum and smallest, and the mid positions.
struct OnEntity {
  std::vector<int32_t> corners;
  std::vector<int32_t> mids;
  int32_t sum = 0;
  int32_t smallest = kNoPosition;
  bool corner(int32_t p) const { return std::find(corners.begin(), corners.end(), p) != corners.end(); }
  bool mid(int32_t p) const { return std::find(mids.begin(), mids.end(), p) != mids.end(); }
  void add(int32_t p, bool isCorner) {
    if (!isCorner) {
      mids.push_back(p);
      return;
    }
    corners.push_back(p);
    sum += p;
    smallest = std::min(smallest, p);
  }
};

// A candidate edge of a plane element.
struct EdgeCandidate {
  int32_t a;  // the two corner positions
  int32_t b;
  int32_t sum;
  int32_t smallest;
};

void append(FaceList& faces, int32_t& count, int32_t face) {
  if (count < kFaceListWords) faces[static_cast<size_t>(count++)] = face;
}

void planeEdges(const Element& el, EntityNodes& on, int32_t listFlag,
                std::span<int32_t> list, int32_t space, int32_t nodeCount, FaceList& faces,
                int32_t& count, int32_t& status) {
  const int32_t shape = el.shape;
  const int32_t mids = midNodesPerEdge(shape);
  const bool iface = interfaceShape(shape);
  const bool triangle = shape == 3 || shape == 7 || shape == 23 || shape == kTR15;
  const int32_t boundary = el.count - (shape == kQU9 ? 1 : shape == kTR15 ? 3 : 0);
  OnEntity at;
  for (int32_t p = 1; p <= boundary; ++p) {
    bool isCorner = true;
    if (iface) {
      isCorner = p == 1 || p == mids + 2 || p == mids + 3 || p == boundary;
    } else if (mids == 1) {
      isCorner = p % 2 != 0;
    } else if (mids == 2) {
      isCorner = !(p % 3 == 0 || (p + 1) % 3 == 0);
    } else if (mids == 3) {
      isCorner = p % 4 == 1;
    }
    if (on.contains(el.node(p))) at.add(p, isCorner);
  }
  const auto c = static_cast<int32_t>(at.corners.size());
  if (c < 2 || c > 4 || (c == 4 && triangle)) {
    status = kCornersOff;
    return;
  }
  std::vector<EdgeCandidate> candidates;
  const auto& k = at.corners;
  if (c == 2) {
    candidates.push_back({k[0], k[1], at.sum, at.smallest});
  } else if (c == 3) {
    for (size_t i = 0; i < 3; ++i) {
      const int32_t a = k[(i + 1) % 3], b = k[(i + 2) % 3];
      candidates.push_back({a, b, at.sum - k[i], std::min(a, b)});
    }
  } else {
    for (size_t i = 0; i < 4; ++i) {
      const int32_t a = k[i], b = k[(i + 1) % 4];
      candidates.push_back({a, b, a + b, std::min(a, b)});
    }
  }
  for (const EdgeCandidate& e : candidates) {
    int32_t edge = 0, st = 0;
    FACTYP(shape, e.sum, e.smallest, edge, st);
    if (st != 0) continue;
    bool accept = true;
    if (listFlag == 1) {
      int32_t n = 0;
      EDGFND(kListLookUp, list, space, nodeCount, el.node(e.a), el.node(e.b), n);
      accept = n == 1;
    } else if (mids > 0 && !iface) {
      // The mid positions follow the smaller corner, those of the closing edge through
      // position 1 the other corner.
      const int32_t from = e.smallest == 1 && edge != 1 ? e.sum - 1 : e.smallest;
      int32_t found = 0;
      for (int32_t p = from + 1; p <= from + mids; ++p) found += at.mid(p) ? 1 : 0;
      accept = found == mids;
    }
    if (accept) append(faces, count, edge);
  }
}

// The positions of a solid classified into corners and mid positions.
OnEntity solidPositions(const Element& el, EntityNodes& on, bool faces) {
  const SolidClass c = solidClassOf(el.shape);
  const bool iface = interfaceShape(el.shape);
  OnEntity at;
  for (int32_t p = 1; p <= el.count; ++p) {
    bool isCorner = p <= c.corners;
    if (iface && c.order == 1) {
      isCorner = p % 2 != 0 || (el.shape == kIS84 && p > 8);
    } else if (faces && el.shape == kHE27 && p > 20) {
      continue;  // the face and body centres of HE27 are neither
    }
    if (on.contains(el.node(p))) at.add(p, isCorner);
  }
  return at;
}

// The distance from the centre of a face to its position moved onto SURFACE; 0 when the
// centre or the move fails.
float surfaceDistance(const Element& el, std::span<const int32_t> local, int32_t target,
                      int32_t surface) {
  std::array<float, 3> centre{}, moved{};
  int32_t st = 0;
  ELCENT(el.shape, std::span<const int32_t>(el.nodes).first(static_cast<size_t>(el.count)), local,
         static_cast<int32_t>(local.size()), target, centre, st);
  if (st != 0) return 0.0f;
  PTONSH(surface, centre, moved, st);
  if (st != 0) return 0.0f;
  const float dx = moved[0] - centre[0], dy = moved[1] - centre[1], dz = moved[2] - centre[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void solidFaces(const Element& el, EntityNodes& on, int32_t surface,
                int32_t target, int32_t listFlag, std::span<int32_t> list, int32_t space,
                int32_t nodeCount, FaceList& faces, int32_t& count, int32_t& status) {
  const SolidClass c = solidClassOf(el.shape);
  const OnEntity at = solidPositions(el, on, true);
  const auto f = static_cast<int32_t>(at.corners.size());
  if (f < 3 || (f == 3 && c.corners == 8)) {
    status = kCornersOff;
    return;
  }
  const bool nearest = !(c.order > 0 || (f == 4 && (c.corners == 8 || c.corners == 6)) ||
                         (f == 3 && c.corners == 6));
  const bool measure = nearest && f == c.corners;
  std::array<float, kFaceListWords> distance{};
  const std::span<const CornerRow> rows = cornerTable(el.shape, false);
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto face = static_cast<int32_t>(i + 1);
    const CornerRow& row = rows[i];
    const int32_t corners = row[3] == 0 ? 3 : 4;
    bool all = true;
    for (int32_t j = 0; j < corners; ++j) all = all && at.corner(row[static_cast<size_t>(j)]);
    if (!all) continue;
    std::array<int32_t, kMaxLocalList> local{};
    int32_t n = 0, st = 0;
    LOCTOP(el.shape, face, kCornersFirst, local, n, st);
    if (st != 0) continue;
    const std::span<const int32_t> positions(local.data(), static_cast<size_t>(n));
    const bool byMids = (el.shape == kHE16 && face <= 2) || (el.shape == kIS84 && face == 1) ||
                        (c.order > 0 && el.shape != kHE16 && el.shape != kIS84);
    float d = 0.0f;
    if (byMids) {
      const auto found = std::count_if(positions.begin(), positions.end(),
                                       [&](int32_t p) { return at.mid(p); });
      if (found != c.order * corners) continue;
    } else if (listFlag == 1) {
      int32_t shared = 0;
      const int32_t p4 = corners == 4 ? el.node(row[3]) : 0;
      FACFND(kListLookUp, list, space, nodeCount, el.node(row[0]), el.node(row[1]),
             el.node(row[2]), p4, shared);
      if (shared != 1) continue;
      if (measure) d = surfaceDistance(el, positions, target, surface);
    }
    if (count < kFaceListWords) distance[static_cast<size_t>(count)] = d;
    append(faces, count, face);
  }
  if (!measure) return;
  // Keep the faces nearest the surface: three of a hexahedron, two of a prism, one of a
  // tetrahedron (two when both lie equally near).
  const int32_t keep = c.corners == 8 ? 3 : c.corners == 4 ? 1 : 2;
  const float eps = MACHCN.real(kMachEpsilon);
  while (count > keep) {
    if (c.corners == 4 && count == 2 && std::fabs(distance[0] - distance[1]) < eps) break;
    int32_t drop = 0;
    float largest = distance[0];
    for (int32_t k = 1; k < count; ++k) {
      const float dk = distance[static_cast<size_t>(k)];
      if (dk > largest || std::fabs(dk - largest) <= eps) {
        drop = k;
        largest = std::max(largest, dk);
      }
    }
    for (int32_t k = drop; k + 1 < count; ++k) {
      faces[static_cast<size_t>(k)] = faces[static_cast<size_t>(k + 1)];
      distance[static_cast<size_t>(k)] = distance[static_cast<size_t>(k + 1)];
    }
    faces[static_cast<size_t>(--count)] = 0;
  }
}

void solidEdges(const Element& el, EntityNodes& on, int32_t listFlag,
                std::span<int32_t> list, int32_t space, int32_t nodeCount, FaceList& faces,
                int32_t& count, int32_t& status) {
  const SolidClass c = solidClassOf(el.shape);
  const OnEntity at = solidPositions(el, on, false);
  if (at.corners.size() < 2) {
    status = kCornersOff;
    return;
  }
  const std::span<const CornerRow> rows = cornerTable(el.shape, true);
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto edge = static_cast<int32_t>(i + 1);
    const CornerRow& row = rows[i];
    if (!at.corner(row[0]) || !at.corner(row[1])) continue;
    std::array<int32_t, kMaxLocalList> local{};
    int32_t n = 0, st = 0;
    LOCTOP(el.shape, -edge, kCornersFirst, local, n, st);
    if (st != 0) continue;
    const bool byMids = (el.shape == kHE16 && edge <= 8) || (el.shape == kIS84 && edge <= 4) ||
                        (c.order > 0 && el.shape != kHE16 && el.shape != kIS84);
    bool accept = true;
    if (byMids) {
      const auto found = std::count_if(local.begin(), local.begin() + n,
                                       [&](int32_t p) { return p > 0 && at.mid(p); });
      accept = found == c.order;
    } else if (listFlag == 1) {
      int32_t shared = 0;
      EDGFND(kListLookUp, list, space, nodeCount, el.node(row[0]), el.node(row[1]), shared);
      if (el.shape == kPE6 && edge >= 7) {
        accept = shared <= 2;
      } else if (el.shape == kTE4) {
        accept = shared < 4;
      } else {
        accept = shared < 2;
      }
    }
    if (accept) append(faces, count, edge);
  }
}

// Runs the neighbour-list build of TARGET over the element range of the neighbour
// (NKIND, NNUMBER) when its record asks for it; the flag is 1 when a list was built.
// STATUS 9 when the list does not fit.
void buildNeighbours(int32_t target, int32_t nkind, int32_t nnumber, std::span<int32_t> list,
                     int32_t size, int32_t start, int32_t nodeCount, int32_t& flag,
                     int32_t& status) {
  flag = 0;
  int32_t first = 0, last = 0, word = 0;
  bool wanted = false;
  if (target == kTargetPlaneEdges) {
    if (nkind != kKindSurface ||
        !entityHeld(kArrSurfaces, kSurfaceWords, nnumber, MODCNT.word(kCntSurfaces))) {
      return;
    }
    ELRNGS(nnumber, first, last, word);
    wanted = ENTBUF.surface[kSurfaceFlagWord - 1] / 10000 != 0;
  } else {
    if (nkind != kKindBody ||
        !entityHeld(kArrBodies, kBodyWords, nnumber, MODCNT.word(kCntBodies))) {
      return;
    }
    ELRNGB(nnumber, first, last, word);
    wanted = ENTBUF.body[kBodyFlagWord - 1] / 100 != 0;
  }
  if (!wanted) return;
  int32_t result = 0;
  if (target == kTargetSolidFaces) {
    FACFND(kListBuild, list, size - start, nodeCount, first, last, 0, 0, result);
  } else {
    EDGFND(kListBuild, list, size - start - nodeCount, nodeCount, first, last, result);
  }
  if (result != 0) {
    status = kFull;
    return;
  }
  flag = 1;
}

}  // namespace

void resetFaceListFlag() {
  savedListFlag = 0;
  entityNodes.forget();
  edgeIndex.clear();
  faceIndex.clear();
}

void FAC4EQ(std::span<const int32_t, 4> nodes, std::span<const int32_t> entry, int32_t& result) {
  result = 0;
  for (const int32_t n : nodes) {
    if (std::find(entry.begin(), entry.begin() + std::min<size_t>(4, entry.size()), n) ==
        entry.begin() + std::min<size_t>(4, entry.size())) {
      result = 1;
      return;
    }
  }
}

void EDGFND(int32_t mode, std::span<int32_t> list, int32_t space, int32_t nodeCount,
            int32_t first, int32_t second, int32_t& result) {
  Words w{list};
  const int32_t countWord = nodeCount + 1;
  if (mode == kListLookUp) {
    result = -1;
    if (!w.holds(countWord)) return;
    // Entries are read only as far as the words hold them.
    const int64_t held = (static_cast<int64_t>(list.size()) - countWord) / kEdgeWords;
    const int64_t entries = std::clamp<int64_t>(w.at(countWord), 0, held);
    auto matches = [&](int64_t j) {
      const int32_t at = static_cast<int32_t>(countWord + 1 + (j - 1) * kEdgeWords);
      return (w.at(at) == first && w.at(at + 1) == second) ||
             (w.at(at) == second && w.at(at + 1) == first);
    };
    auto countOf = [&](int64_t j) { return w.at(static_cast<int32_t>(countWord + j * kEdgeWords)); };
    auto keyOf = [&](int64_t j) {
      const int32_t at = static_cast<int32_t>(countWord + 1 + (j - 1) * kEdgeWords);
      return edgeKey(w.at(at), w.at(at + 1));
    };
    const int32_t* owner = &w.at(countWord);
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (!edgeIndex.belongsTo(owner, entries)) edgeIndex.rebuild(owner, entries, keyOf);
      const auto it = edgeIndex.position.find(edgeKey(first, second));
      if (it == edgeIndex.position.end()) return;
      if (matches(it->second)) {
        result = countOf(it->second);
        return;
      }
      edgeIndex.clear();  // the list changed under the index
    }
    return;
  }
  if (mode != kListBuild) return;
  edgeIndex.clear();
  std::unordered_map<EdgeKey, int32_t> built;  // the entries written, by their keys
  const std::unordered_set<int32_t> on = nodeSet(list, nodeCount);
  const auto room = static_cast<int32_t>(std::min<int64_t>(space, static_cast<int64_t>(list.size())));
  int32_t entries = 0;
  result = 0;
  const int32_t held = elementsHeld();
  for (int32_t e = std::max(first, 1); e <= second && e <= held; ++e) {
    Element el;
    if (!readElement(e, el)) continue;
    int32_t edges = 0;
    bool solid = true;
    switch (el.shape) {
      case 3: edges = 3; solid = false; break;
      case 5: case 42: edges = 4; solid = false; break;
      case 11: edges = 9; break;
      case 12: edges = 6; break;
      case 13: edges = 12; break;
      default: continue;
    }
    for (int32_t j = 1; j <= edges; ++j) {
      std::array<int32_t, kMaxLocalList> local{};
      int32_t n = 0, st = 0;
      LOCTOP(el.shape, solid ? -j : j, kEdgeWalkMode, local, n, st);
      if (st != 0 || n < 2) continue;
      const int32_t a = el.node(local[0]), b = el.node(local[1]);
      if (!on.contains(a) || !on.contains(b)) continue;
      if (const auto it = built.find(edgeKey(a, b)); it != built.end()) {
        ++w.at(countWord + it->second * kEdgeWords);
        continue;
      }
      if (room - nodeCount < kEdgeWords * entries + 4 || !w.holds(countWord + kEdgeWords * (entries + 1))) {
        if (w.holds(countWord)) w.at(countWord) = entries;
        result = 1;
        return;
      }
      const int32_t at = countWord + 1 + entries * kEdgeWords;
      w.at(at) = a;
      w.at(at + 1) = b;
      w.at(at + 2) = 1;
      built.emplace(edgeKey(a, b), ++entries);
    }
  }
  if (w.holds(countWord)) {
    w.at(countWord) = entries;
    edgeIndex.adopt(&w.at(countWord), entries, std::move(built));
  }
}

void FACFND(int32_t mode, std::span<int32_t> list, int32_t space, int32_t nodeCount, int32_t p1,
            int32_t p2, int32_t p3, int32_t p4, int32_t& result) {
  Words w{list};
  const int32_t countWord = nodeCount + 1;
  if (mode == kListLookUp) {
    result = -1;
    if (!w.holds(countWord)) return;
    const int64_t held = (static_cast<int64_t>(list.size()) - countWord) / kFaceWords;
    const int64_t entries = std::clamp<int64_t>(w.at(countWord), 0, held);
    const std::array<int32_t, 4> nodes = {p1, p2, p3, p4};
    auto entry = [&](int64_t j) {
      return std::span<const int32_t>(list).subspan(static_cast<size_t>(countWord + (j - 1) * kFaceWords),
                                                    kFaceWords);
    };
    auto matches = [&](int64_t j) {
      int32_t r = 1;
      FAC4EQ(nodes, entry(j), r);
      return r == 0;
    };
    auto keyOf = [&](int64_t j) {
      const std::span<const int32_t> e = entry(j);
      return faceKey({e[0], e[1], e[2], e[3]});
    };
    const FaceKey key = faceKey(nodes);
    const int32_t* owner = &w.at(countWord);
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (!faceIndex.belongsTo(owner, entries)) faceIndex.rebuild(owner, entries, keyOf);
      const auto it = faceIndex.position.find(key);
      if (it == faceIndex.position.end()) break;
      if (matches(it->second)) {
        result = entry(it->second)[4];
        return;
      }
      faceIndex.clear();  // the list changed under the index
    }
    // Only a face that names a node twice can match an entry of other nodes (its nodes
    // need only stand among the entry's): that face alone walks the list.
    if (std::adjacent_find(key.begin(), key.end()) == key.end()) return;
    for (int64_t j = 1; j <= entries; ++j) {
      if (matches(j)) {
        result = entry(j)[4];
        return;
      }
    }
    return;
  }
  if (mode != kListBuild) return;
  faceIndex.clear();
  std::unordered_map<FaceKey, int32_t, FaceKeyHash> built;  // the entries written, by their keys
  const std::unordered_set<int32_t> on = nodeSet(list, nodeCount);
  const auto room = static_cast<int32_t>(std::min<int64_t>(space, static_cast<int64_t>(list.size())));
  int32_t entries = 0;
  result = 0;
  const int32_t held = elementsHeld();
  for (int32_t e = std::max(p1, 1); e <= p2 && e <= held; ++e) {
    Element el;
    if (!readElement(e, el)) continue;
    int32_t faces = 0;
    switch (el.count) {
      case 8: faces = 6; break;
      case 6: faces = 5; break;
      case 4: faces = 4; break;
      default:
        result = 1;
        return;
    }
    for (int32_t j = 1; j <= faces; ++j) {
      std::array<int32_t, kMaxLocalList> local{};
      int32_t n = 0, st = 0;
      LOCTOP(el.shape, j, kCornersFirst, local, n, st);
      if (st != 0 || n < 3 || n > 4) continue;
      std::array<int32_t, 4> nodes{};
      int32_t matched = 0;
      for (int32_t k = 0; k < n; ++k) {
        nodes[static_cast<size_t>(k)] = el.node(local[static_cast<size_t>(k)]);
        matched += on.contains(nodes[static_cast<size_t>(k)]) ? 1 : 0;
      }
      if (matched < n) continue;
      if (const auto it = built.find(faceKey(nodes)); it != built.end()) {
        ++w.at(countWord + it->second * kFaceWords);
        continue;
      }
      if (room - nodeCount < kFaceWords * entries + 6 || !w.holds(countWord + kFaceWords * (entries + 1))) {
        if (w.holds(countWord)) w.at(countWord) = entries;
        result = 1;
        return;
      }
      const int32_t at = countWord + 1 + entries * kFaceWords;
      for (int32_t k = 0; k < 4; ++k) w.at(at + k) = nodes[static_cast<size_t>(k)];
      w.at(at + 4) = 1;
      built.emplace(faceKey(nodes), ++entries);
    }
  }
  if (w.holds(countWord)) {
    w.at(countWord) = entries;
    faceIndex.adopt(&w.at(countWord), entries, std::move(built));
  }
}

void FACEXT(int32_t element, int32_t surface, int32_t target, int32_t nodeCount, int32_t listFlag,
            std::span<int32_t> work, int32_t start, int32_t size, FaceList& faces,
            int32_t& count, int32_t& status) {
  faces.fill(0);
  count = 0;
  status = kDone;
  Element el;
  if (!readElement(element, el)) {
    status = kUnreadable;
    return;
  }
  const auto held = static_cast<int32_t>(std::min<int64_t>(size, static_cast<int64_t>(work.size())));
  const std::span<int32_t> list = work.subspan(static_cast<size_t>(std::clamp(start, 0, held)));
  EntityNodes& on = entityNodes;
  on.use(list, nodeCount, target, surface);
  const int32_t space = size - start - nodeCount;
  switch (target) {
    case kTargetPlaneEdges:
      planeEdges(el, on, listFlag, list, space, nodeCount, faces, count, status);
      break;
    case kTargetSolidFaces:
      solidFaces(el, on, surface, target, listFlag, list, size - start, nodeCount, faces, count,
                 status);
      break;
    case kTargetSolidEdges:
      solidEdges(el, on, listFlag, list, space, nodeCount, faces, count, status);
      break;
    default:
      break;
  }
  if (status == kDone && count == 0) status = kNoFaceFound;
}

void UEFAC2(const int32_t& mode, const int32_t& element, const int32_t& shape,
            const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, const int32_t& target, const int32_t& nodeCount,
            std::span<int32_t> work, const int32_t& size, const int32_t& start,
            std::span<int32_t, 6> faces, int32_t& faceCount, int32_t& status) {
  std::fill(faces.begin(), faces.end(), 0);
  faceCount = 0;
  status = kDone;
  // The node list and everything after it stay within SIZE words.
  const auto held = static_cast<int32_t>(std::min<int64_t>(size, static_cast<int64_t>(work.size())));
  if (start < 0 || nodeCount < 0 || int64_t{start} + nodeCount > held) {
    status = kFull;
    return;
  }
  int32_t count = nodeCount;
  int32_t nkind = 0, nnumber = 0;
  if (mode == 0) {
    // The neighbour search gets only the words after the node list.
    UADJGE(kind, number, rkind, rnumber, nkind, nnumber,
           work.subspan(static_cast<size_t>(start + count), static_cast<size_t>(held - start - count)),
           0, 0, status);
    if (status != kDone) return;
  }
  const std::span<int32_t> list = work.subspan(static_cast<size_t>(start), static_cast<size_t>(held - start));
  const int32_t internal = static_cast<int32_t>(std::clamp<int64_t>(int64_t{element} - elementOffset(), 0, highestElement() + int64_t{1}));
  switch (target) {
    case 1: case 3: case 5: case 6:
      faceCount = 1;
      return;
    case kTargetBeamEnd: {
      int32_t n = 0;
      NDPNT(number, n, list, held - start, status);
      if (status != kDone) return;
      Element el;
      if (!readElement(internal, el)) {
        status = kConnectivityFails;
        return;
      }
      if (n < 1) return;
      for (int32_t p = 1; p <= el.count; ++p) {
        if (el.node(p) != list[0]) continue;
        faceCount = 1;
        faces[0] = p == el.count ? 2 : 1;
        return;
      }
      return;
    }
    case kTargetPlaneEdges:
    case kTargetSolidFaces:
    case kTargetSolidEdges: {
      // The calls of an entity begin, or its list is collected anew: its node set is
      // built again.
      if (mode == 0 || count == 0) entityNodes.forget();
      if (count == 0) {
        if (target == kTargetSolidFaces) {
          NDSRF(number, count, list, held - start, status);
        } else {
          NDLIN(number, count, list, held - start, status);
        }
        if (status != kDone) return;
      }
      int32_t flag = savedListFlag;
      if (mode == 0) {
        flag = 0;
        const bool listed = target == kTargetPlaneEdges ? (shape == 3 || shape == 5 || shape == 42)
                                                         : (shape == 11 || shape == 12 || shape == 13);
        if (listed) {
          buildNeighbours(target, nkind, nnumber, list, held, start, count, flag, status);
          if (status != kDone) return;
        }
      }
      FaceList found{};
      int32_t st = 0;
      FACEXT(internal, number, target, count, flag, work, start, held, found, faceCount, st);
      savedListFlag = flag;
      if (st != 0) {
        faceCount = 0;
        status = st + 3;
        return;
      }
      for (int32_t k = 0; k < faceCount; ++k) {
        const int32_t f = found[static_cast<size_t>(k)];
        faces[static_cast<size_t>(k)] = target == kTargetSolidFaces ? renumberedFace(shape, f) : f;
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace kvr
