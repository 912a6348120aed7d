// The fixture of the node collection and selection tests: the full model registry with a
// small model written into it record by record (points, lines, surfaces, bodies, element
// connectivity, packed node lists and sets), the id limit of start-up, and the model
// query table restored after each test.
#pragma once

#include <initializer_list>

#include "modeldb/entrec.h"
#include "modeldb/nodcol.h"
#include "modeldb/setrec.h"
#include "modelfixture.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"

namespace kvr {

class NodeModel : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    IDPACK.idLimit = 100000000;
    MODCNT.word(kCntPoints) = 60;
    MODCNT.word(kCntLines) = 9;
    MODCNT.word(kCntSurfaces) = 5;
    MODCNT.word(kCntBodies) = 5;
    MODCNT.word(kCntHighestNode) = 50;
    MODCNT.word(kCntElementNodes) = 8;
    MODCNT.word(kCntHighestElement) = 0;
    MODCNT.word(kCntNodeListBound) = 10;
  }
  void TearDown() override {
    IDPACK = {};
    ModelFixture::TearDown();
  }

  // A record of W words with the given words (word number, value) set, the rest 0.
  static Words record(int32_t w, std::initializer_list<std::pair<int32_t, int32_t>> set) {
    Words r(static_cast<size_t>(w), 0);
    for (auto [k, v] : set) r[static_cast<size_t>(k - 1)] = v;
    return r;
  }
  static void point(int32_t id, int32_t node) {
    put(kArrPoints, (id - 1) * kPointWords + 1, record(kPointWords, {{6, node}}));
  }
  static void line(int32_t id, std::initializer_list<std::pair<int32_t, int32_t>> set) {
    put(kArrLines, (id - 1) * kLineWords + 1, record(kLineWords, set));
  }
  static void surface(int32_t id, std::initializer_list<std::pair<int32_t, int32_t>> set) {
    put(kArrSurfaces, (id - 1) * kSurfaceWords + 1, record(kSurfaceWords, set));
  }
  static void body(int32_t id, std::initializer_list<std::pair<int32_t, int32_t>> set) {
    put(kArrBodies, (id - 1) * kBodyWords + 1, record(kBodyWords, set));
  }
  // Element E as a QU4 with NODES; the highest element number follows.
  static void quad(int32_t e, std::array<int32_t, 4> nodes) {
    MODCNT.word(kCntHighestElement) = std::max(MODCNT.word(kCntHighestElement), e);
    std::array<int32_t, kElementNodes> n{};
    std::copy(nodes.begin(), nodes.end(), n.begin());
    int32_t nnod = 4, shape = 5, stat = -1;
    ELCONN(-e, n, nnod, shape, stat);
    ASSERT_EQ(stat, 0);
  }
  // ENTRIES at list position POS of array 23 (which must start a record or continue one
  // already written).
  static void packed(int32_t pos, Words entries) {
    const int32_t first = (pos - 1) / kListBlockWords + 1;
    const int32_t last = (pos - 1 + static_cast<int32_t>(entries.size()) - 1) / kListBlockWords + 1;
    Words w = REGHED.ARRLEN(kArrPackedLists) >= last
                  ? get(kArrPackedLists, first, last - first + 1)
                  : Words(static_cast<size_t>((last - first + 1) * kListBlockWords), 0);
    const int32_t at = pos - 1 - (first - 1) * kListBlockWords;
    std::copy(entries.begin(), entries.end(), w.begin() + at);
    put(kArrPackedLists, first, w);
  }
  // Set ID of TYPE (member KIND for types 3 and 4) named NAME, its PAIRS in consecutive
  // member blocks from block FIRST on.
  static void set(int32_t id, int32_t type, int32_t kind, const char* name, Words pairs,
                  int32_t first) {
    MODCNT.word(kCntSets) = std::max(MODCNT.word(kCntSets), id);
    const Label label = nameOf(name);
    put(kArrSetNames, id, Words(label.begin(), label.end()));
    put(kArrSets, id, {first, type, 0, kind});
    int32_t b = first;
    for (size_t at = 0;; at += 2 * MbrBlk::kPairs, ++b) {
      Words blk(pairs.begin() + static_cast<std::ptrdiff_t>(std::min(at, pairs.size())),
                pairs.begin() + static_cast<std::ptrdiff_t>(std::min(at + 2 * MbrBlk::kPairs, pairs.size())));
      blk.resize(2 * MbrBlk::kPairs, 0);
      const bool more = at + 2 * MbrBlk::kPairs < pairs.size();
      blk.push_back(more ? b + 1 : 0);
      put(kArrMemberBlocks, b, blk);
      MODCNT.word(kCntSetBlockTop) = std::max(MODCNT.word(kCntSetBlockTop), b);
      if (!more) break;
    }
  }
};

}  // namespace kvr
