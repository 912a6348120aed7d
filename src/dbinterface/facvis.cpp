// ELMSEL and FACVIS: the face test of an edge shared by several elements.

#include "dbinterface/facvis.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <unordered_set>
#include <vector>

#include "dbinterface/elnord.h"
#include "dbinterface/eltacc.h"
#include "dbinterface/toparr.h"
#include "geometry/elshap.h"
#include "geometry/vector3.h"
#include "modeldb/elttab.h"
#include "runtime/dspsta.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kBitsPerMapWord = 31;
constexpr int32_t kFirstNormalFound = 3;  // FACNRM mode
constexpr float kFoldLow = 35.0f;
constexpr float kFoldHigh = 145.0f;

bool selected(int32_t key) {
  return ELMSEL(DSPSTA.elementSelection, key, DSPSTA.selectionRecord) != 0;
}

// The keys of an edge record met so far. An edge is shared by a few elements: they are
// looked up in a short list, and only a long record (a fan of many elements) builds a set.
class Keys {
 public:
  // Adds KEY; false when it was there already.
  bool insert(int32_t key) {
    if (many_.empty()) {
      if (std::find(few_.begin(), few_.begin() + count_, key) != few_.begin() + count_) {
        return false;
      }
      if (count_ < few_.size()) {
        few_[count_++] = key;
        return true;
      }
      many_.insert(few_.begin(), few_.end());
    }
    return many_.insert(key).second;
  }

 private:
  std::array<int32_t, 16> few_{};
  std::size_t count_ = 0;
  std::unordered_set<int32_t> many_;
};

}  // namespace

int32_t ELMSEL(std::span<const int32_t> buffer, int32_t k, int32_t selection) {
  const int32_t bits = MACHCN.word(kMachBitsLessOne);
  // Before start-up has set the machine constants the word still holds 0; a shift past
  // the word would be undefined.
  const int32_t m = bits > 0 && bits <= kBitsPerMapWord ? bits : kBitsPerMapWord;
  if (k < 1) return 0;
  const int64_t word = int64_t{selection} + (k - 1) / m;
  if (word < 1 || word > static_cast<int64_t>(buffer.size())) return 0;
  const auto bitsOfWord = static_cast<uint32_t>(buffer[static_cast<std::size_t>(word - 1)]);
  return static_cast<int32_t>(bitsOfWord >> ((k - 1) % m) & 1u);
}

bool foldShown(float angle) {
  const float a = std::fmod(angle, 180.0f);
  return a > kFoldLow && a < kFoldHigh;
}

void FACVIS(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q, int32_t& drawn) {
  FaceTest test;
  drawn = test.drawn(edges, work, q);
}

int32_t FaceTest::drawn(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q) {
  const int32_t displacements = DSPSTA.displacementSwitch;
  DSPSTA.displacementSwitch = 0;
  const bool drawn = folds(edges, work, q);
  DSPSTA.displacementSwitch = displacements;
  return drawn ? 1 : 0;
}

// The first edge of the element's type (tables T) whose end nodes have the sequence
// numbers A and B, either way; 0 for none.
int32_t FaceTest::edgeBetween(const TypeTables& t, const Element& e, int32_t a, int32_t b) {
  for (int32_t j = 1; j <= t.edges; ++j) {
    const std::array<int32_t, 2>& ends = t.ends[static_cast<std::size_t>(j - 1)];
    const int32_t p = e.sequence(ends[0]);
    const int32_t q = e.sequence(ends[1]);
    if ((p == a && q == b) || (p == b && q == a)) return j;
  }
  return 0;
}

const FaceTest::TypeTables& FaceTest::tablesFor(int32_t type) {
  TypeTables& t = typeTables_;
  if (t.type == type) return t;
  t.type = type;
  // A type without shape tables would be read against those of another type.
  t.tables = shapeFaceCount(type) != 0;
  t.solid = ELTDIM(type) == 3;
  t.edges = 0;
  if (!t.tables) return t;
  if (type != tablesOf_) {
    ELFAM(type);
    tablesOf_ = type;
  }
  const ElShap& s = elshap();
  t.edges = std::clamp(std::min(ELTEDG(type), s.edgeCount), 0, ElShap::kMaxEdges);
  for (int32_t j = 1; j <= t.edges; ++j) {
    t.ends[static_cast<std::size_t>(j - 1)] = {s.edgeNode(j, 1), s.edgeNode(j, 2)};
  }
  return t;
}

FaceTest::Element& FaceTest::heldElement(int32_t key) {
  Element& e = scratch_;
  e.key = key;
  e.facesRead = false;
  e.ok = key >= 1 && static_cast<std::size_t>(key) <= held_->elements();
  if (!e.ok) return e;
  const auto k = static_cast<std::size_t>(key - 1);
  e.type = held_->type[k];
  const std::span<const int32_t> nodes = held_->nodesOf(k);
  e.nodes = static_cast<int32_t>(
      std::min<int64_t>(std::max(ELNCNT(e.type), 0), static_cast<int64_t>(nodes.size())));
  std::copy_n(nodes.begin(), e.nodes, e.sequences.begin());
  return e;
}

FaceTest::Element& FaceTest::element(std::span<int32_t> work, int32_t key) {
  if (held_ != nullptr) return heldElement(key);
  if (remember_ && remembered_.empty()) {
    // Fewer slots than a small model has elements, as many as remembering is worth for a
    // large one: an element is wanted again only by the edges of the next layer of
    // elements, and its slot is taken by a key further on.
    const auto elements = static_cast<std::size_t>(std::max(arrays_.starts.records(), 1));
    remembered_.resize(std::bit_floor(std::min(elements, kRememberedElements)));
  }
  Element& e = key >= 1 && remember_
                   ? remembered_[static_cast<std::size_t>(key) & (remembered_.size() - 1)]
                   : scratch_;
  if (e.key == key && key >= 1) return e;
  e.key = key;
  e.facesRead = false;
  int32_t id = 0, ieatt1 = 0, ieatt2 = 0;
  std::array<int32_t, kMaxElementNodes> ids{};
  e.ok = readElementRecord(arrays_, work, key, id, e.type, ieatt1, ieatt2, ids, e.sequences,
                           e.nodes);
  return e;
}

// The face-neighbour keys of the solid E, read once (0 for all when they cannot be).
const std::array<int32_t, 6>& FaceTest::neighbours(std::span<int32_t> work, Element& e) {
  if (!e.facesRead) {
    e.neighbours = {};
    if (held_ != nullptr) {
      const std::span<const int32_t> keys = held_->facesOf(static_cast<std::size_t>(e.key - 1));
      std::copy_n(keys.begin(), std::min(keys.size(), e.neighbours.size()), e.neighbours.begin());
    } else {
      int32_t count = 0;
      if (!readFaceKeys(arrays_, work, e.key, e.neighbours, count)) e.neighbours = {};
    }
    e.facesRead = true;
  }
  return e.neighbours;
}

// The coordinates of the nodes of E into x_, y_, z_ (of the held model, or of the node
// coordinate array, moved as ELMXYZ moves them); false when a node has none.
bool FaceTest::coordinates(const Element& e) {
  const std::size_t nodes = e.count();
  const auto xs = std::span(x_).first(nodes);
  const auto ys = std::span(y_).first(nodes);
  const auto zs = std::span(z_).first(nodes);
  if (held_ == nullptr) {
    return readElementCoordinates(arrays_, std::span(e.sequences).first(nodes), xs, ys, zs);
  }
  const std::vector<float>& xyz = held_->coordinates;
  for (std::size_t j = 0; j < nodes; ++j) {
    const int64_t s = e.sequences[j];
    if (s < 1 || 3 * s > static_cast<int64_t>(xyz.size())) return false;
    const auto at = static_cast<std::size_t>(3 * (s - 1));
    xs[j] = xyz[at];
    ys[j] = xyz[at + 1];
    zs[j] = xyz[at + 2];
  }
  return true;
}

// The face test with the displacement switch off.
bool FaceTest::folds(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q) {
  const int32_t a = EDGNOD(edges, q, 1);
  const int32_t b = EDGNOD(edges, q, 2);
  // A damaged count cannot make the walk over the keys longer than the buffer.
  const int32_t k = std::clamp<int64_t>(ENTW2(edges, q), 0, static_cast<int64_t>(edges.size()));
  const bool filter = DSPSTA.elementFilter != 0;
  Keys seen;
  normals_.clear();
  const Normal origin{};
  for (int32_t i = 1; i <= k; ++i) {
    const int32_t key = NODOFF(edges, q, i);
    if (key < 0 || (filter && !selected(key))) continue;
    // A held solid with an element across every face has no face to show, whichever of
    // its edges this is.
    if (held_ != nullptr && !filter && key >= 1 &&
        held_->isEnclosed(static_cast<std::size_t>(key - 1))) {
      continue;
    }
    if (!seen.insert(key)) continue;
    int32_t status = 0;
    Element& e = element(work, key);
    if (!e.ok) continue;
    const TypeTables& tables = tablesFor(e.type);
    if (!tables.tables) continue;
    const int32_t j = edgeBetween(tables, e, a, b);
    if (j == 0) continue;
    const bool solid = tables.solid;
    static constexpr std::array<int32_t, ElShap::kMaxFaces> kNone{};
    const std::array<int32_t, ElShap::kMaxFaces>& across = solid ? neighbours(work, e) : kNone;
    // The coordinates are read for the first face that needs them: between solids most
    // faces have a neighbour across and need none. An element whose nodes lack them
    // takes no part, as if it had not been read.
    bool placed = false;
    for (const int32_t f : elshap().edgeFaces[static_cast<std::size_t>(j - 1)]) {
      if (f < 1 || f > ElShap::kMaxFaces) continue;
      if (solid) {
        const int32_t other = across[static_cast<std::size_t>(f - 1)];
        if (other > 0 && (!filter || selected(other))) continue;
      }
      const std::size_t nodes = e.count();
      const auto xs = std::span(x_).first(nodes);
      const auto ys = std::span(y_).first(nodes);
      const auto zs = std::span(z_).first(nodes);
      if (!placed) {
        if (!coordinates(e)) break;
        placed = true;
      }
      std::array<float, 3> px{}, py{}, pz{};
      FACEDG(f, j, xs, ys, zs, px, py, pz, status);
      if (status != 0) continue;
      Normal n{};
      FACNRM(3, px, py, pz, kFirstNormalFound, 0, 0, 0, 0, 0, 0, 0, n[0], n[1], n[2], status);
      if (status != 0) continue;
      for (const Normal& m : normals_) {
        float angle = 0.0f;
        ANGL3P(origin, m, n, angle);
        if (foldShown(angle)) return true;
      }
      normals_.push_back(n);
    }
  }
  return false;
}

}  // namespace kvr
