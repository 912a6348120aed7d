// Entity node selection over a small model in the full model registry, with fake node
// collectors installed in the query table, and the flag merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "modeldb/attlst.h"
#include "modeldb/entrsl.h"
#include "nodemodelfixture.h"
#include "platform/unitio.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

std::map<int32_t, Words> gLineNodes;
std::map<int32_t, Words> gSurfaceNodes;
int32_t gCollectorCalls = 0;

// As the model queries' own: reads the point's record and writes LIST(1) without looking
// at the room.
void fakeNDPNT(const int32_t& point, int32_t& count, std::span<int32_t> list, const int32_t&,
               int32_t& status) {
  ++gCollectorCalls;
  std::array<int32_t, kPointWords> rec{};
  RECIO(1, kArrPoints, point, rec);
  const int32_t n = std::abs(rec[5]);
  count = 0;
  status = 0;
  if (n == 0 || n > MODCNT.word(kCntHighestNode)) return;
  list.data()[0] = n;
  count = 1;
}

void listed(const std::map<int32_t, Words>& nodes, int32_t id, int32_t& count,
            std::span<int32_t> list, int32_t size, int32_t& status) {
  ++gCollectorCalls;
  count = 0;
  const Words& w = nodes.at(id);
  if (static_cast<int32_t>(w.size()) > size) {
    status = 9;
    return;
  }
  std::copy(w.begin(), w.end(), list.begin());
  count = static_cast<int32_t>(w.size());
  status = 0;
}
void fakeNDLIN(const int32_t& id, int32_t& count, std::span<int32_t> list, const int32_t& size,
               int32_t& status) {
  listed(gLineNodes, id, count, list, size, status);
}
void fakeNDSRF(const int32_t& id, int32_t& count, std::span<int32_t> list, const int32_t& size,
               int32_t& status) {
  listed(gSurfaceNodes, id, count, list, size, status);
}

class NodeSelection : public NodeModel {
 protected:
  static constexpr int32_t kSentinel = -9;
  static constexpr int32_t kMessageUnit = 31;

  void SetUp() override {
    NodeModel::SetUp();
    gLineNodes = {{1, {1, 2, 3}}, {2, {7, 8}}};
    gSurfaceNodes = {{1, {3, 4, 1, 5}}, {2, Words(30, 6)}};
    gCollectorCalls = 0;
    DSCDSP.pointNodes = fakeNDPNT;
    DSCDSP.lineNodes = fakeNDLIN;
    DSCDSP.surfaceNodes = fakeNDSRF;
    MODCNT.word(kCntNodeOffset) = 1000;
    MODCNT.word(kCntPackedListEnd) = 40;
    for (int32_t p = 1; p <= 60; ++p) point(p, p <= 50 ? p : 0);
  }
  void TearDown() override {
    io::closeAllUnits();
    setEntityLabelReader(nullptr);
    PLTPAR = {};
    NodeModel::TearDown();
  }

  struct Result {
    int32_t count = -1;
    int32_t none = -1;
    Words list;  // LIST(1..COUNT)
    Words rest;  // LIST past CAPACITY
  };
  static Result select(int32_t kind, int32_t number, int32_t capacity = 100) {
    Words list(static_cast<size_t>(capacity) + 10, kSentinel);
    Result r;
    ENTRSL(kind, number, list, capacity, r.count, r.none);
    r.list.assign(list.begin(), list.begin() + std::clamp(r.count, 0, capacity));
    r.rest.assign(list.begin() + capacity, list.end());
    return r;
  }
  // Pairs (kind, number) of the given members.
  static Words pairs(int32_t kind, Words numbers) {
    Words p;
    for (int32_t n : numbers) p.insert(p.end(), {kind, n});
    return p;
  }

  test::TempDir dir;
};

TEST_F(NodeSelection, SingleNodesByExternalNumber) {
  struct Case {
    int32_t number;
    int32_t count, none, first;
  };
  const Case cases[] = {
      {1000, 0, 1, 0},   // the offset itself is no node
      {1001, 1, 0, 1},
      {1050, 1, 0, 50},  // offset + highest node
      {1051, 0, 1, 51},
      {-5, 0, 1, -1005},
  };
  for (const Case& c : cases) {
    Words list(2, kSentinel);
    int32_t count = -1, none = -1;
    ENTRSL(8, c.number, list, 2, count, none);
    EXPECT_EQ(count, c.count) << c.number;
    EXPECT_EQ(none, c.none) << c.number;
    EXPECT_EQ(list[0], c.first) << c.number;
  }
}

TEST_F(NodeSelection, KindsWithoutNodesAndModelsWithoutMesh) {
  for (int32_t kind : {0, 5, 6, 9, -1}) {
    const Result r = select(kind, 1);
    EXPECT_EQ(r.count, 0) << kind;
    EXPECT_EQ(r.none, 1) << kind;
  }
  EXPECT_EQ(select(1, 7).list, Words{7});
  EXPECT_EQ(select(1, 7).none, 0);
  EXPECT_EQ(select(1, 55).none, 1);  // a point without node
  EXPECT_EQ(select(2, 1).list, (Words{1, 2, 3}));

  MODCNT.word(kCntPackedListEnd) = 1;
  for (const auto& e : {std::pair{8, 1001}, {1, 7}, {2, 1}}) {
    const Result r = select(e.first, e.second);
    EXPECT_EQ(r.count, 0) << e.first;
    EXPECT_EQ(r.none, 1) << e.first;
  }
  EXPECT_EQ(gCollectorCalls, 4);

  // Until the model queries install their collectors, nothing is found.
  MODCNT.word(kCntPackedListEnd) = 40;
  DSCDSP = {};
  for (int32_t kind : {1, 2, 3, 4}) EXPECT_EQ(select(kind, 1).none, 1) << kind;
  set(2, 1, 0, "S", pairs(1, {1, 2}), 1);
  EXPECT_EQ(select(7, 2).none, 1);

  // A list without room calls no collector, which would write its first node past it.
  DSCDSP.pointNodes = fakeNDPNT;
  gCollectorCalls = 0;
  const Result r = select(1, 7, 0);
  EXPECT_EQ(r.none, 1);
  EXPECT_EQ(r.rest, Words(10, kSentinel));
  EXPECT_EQ(gCollectorCalls, 0);
}

TEST_F(NodeSelection, SetMembersGiveEachNodeOnce) {
  // A line and a surface sharing nodes 1 and 3; passed-over pairs around them.
  Words members = {2, 1, 3, -4, 3, 1, -2, 2, 6, 1, 1, 52};
  set(2, 1, 0, "MIXED", members, 1);
  Result r = select(7, 2);
  EXPECT_EQ(r.list, (Words{1, 2, 3, 4, 5}));
  EXPECT_EQ(r.none, 0);
  EXPECT_EQ(select(7, -2).list, (Words{1, 2, 3, 4, 5}));  // the sign is ignored

  // A type-3 set takes the kind from its record; a zero number ends a block, the chain
  // goes on to the next.
  Words many = pairs(0, {5, 6, 5});
  many.insert(many.end(), {0, 0});
  many.resize(62, 0);
  const Words more = pairs(0, {9, 6});
  many.insert(many.end(), more.begin(), more.end());
  set(3, 3, 1, "POINTS", many, 4);
  EXPECT_EQ(select(7, 3).list, (Words{5, 6, 9}));

  EXPECT_EQ(select(7, 9).none, 1);  // no such set
}

TEST_F(NodeSelection, DuplicatesGoOnceTheListPassesThreeBoundsAndFourEndIt) {
  MODCNT.word(kCntNodeListBound) = 2;
  // Ten points whose nodes repeat: never more than 3 distinct, whatever the list held.
  set(2, 3, 1, "REPEAT", pairs(0, {1, 2, 1, 2, 1, 2, 1, 2, 3, 1}), 1);
  Result r = select(7, 2);
  EXPECT_EQ(r.list, (Words{1, 2, 3}));

  // Nine distinct nodes pass the limit 4 x 2: the routine ends with the count reached.
  set(3, 3, 1, "DISTINCT", pairs(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 2);
  r = select(7, 3);
  EXPECT_EQ(r.count, 9);
  EXPECT_EQ(r.list, (Words{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(NodeSelection, FullListPostsTooManyNodesAndWritesNothingPastIt) {
  installEntityLabels();
  MSGARG.suppress() = 0;
  io::OpenSpec want;
  want.file = dir.file("messages.txt");
  want.status = io::Status::Unknown;
  ASSERT_EQ(io::unitOpen(kMessageUnit, want), io::kIosOk);
  PLTPAR.outUnit = kMessageUnit;

  MODCNT.word(kCntNodeListBound) = 100;
  Words forty;
  for (int32_t p = 1; p <= 40; ++p) forty.push_back(p);
  set(2, 3, 1, "BIGSET", pairs(1, forty), 1);
  const Result r = select(7, 2, 10);
  EXPECT_EQ(r.count, 9);
  EXPECT_EQ(r.list, (Words{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(r.rest, Words(10, kSentinel));
  io::unitFlush(kMessageUnit);
  EXPECT_EQ(test::readLines(dir.file("messages.txt")),
            std::vector<std::string>{" E0025:Too many nodes on BIGSET   . Max is 400"});
  EXPECT_EQ(MSGARG.errorFlag(), 1);
}

TEST(FlagMerge, SetsOrClearsBitsZeroToThirty) {
  struct Case {
    int32_t word, mask, result;
  };
  const Case cases[] = {
      {10, 5, 15},
      {15, -5, 10},
      {5, -1, 4},
      {7, 0, 7},
      {2147483647, 1, 2147483647},
      {7, -2147483647 - 1, 7},
      {-1, 0, 2147483647},  // bit 31 never stays
      {0, -2147483647 - 1, 0},
  };
  for (const Case& c : cases) {
    int32_t word = c.word;
    FLGMRG(word, c.mask);
    EXPECT_EQ(word, c.result) << c.word << " " << c.mask;
  }
}

}  // namespace
}  // namespace kvr
