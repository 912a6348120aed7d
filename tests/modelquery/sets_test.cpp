// Sets and entity node lists: the member lists of USET2 and SETMBR, the node lists of
// UNODEG through the exported routines, and the node collectors' appending rule, limit
// and range guards.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modeldb/arrreg.h"
#include "modeldb/entrsl.h"
#include "modeldb/nodcol.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

class Sets : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  struct Members {
    std::string name;
    Words list;
    int32_t count;
    int32_t status;
  };
  static Members uset2(int32_t set, int32_t kind, int32_t size) {
    Members m{std::string(8, '#'), Words(10, -1), -1, -1};
    dll_uset2(&set, &kind, m.name.data(), m.list.data(), &size, &m.count, &m.status);
    return m;
  }

  struct Nodes {
    Words list;
    int32_t count;
    int32_t status;
  };
  static Nodes unodeg(int32_t kind, int32_t number, int32_t size = 30) {
    Nodes r{Words(static_cast<size_t>(std::max(size, 0)) + 2, -1), -1, -1};
    dll_unodeg(&kind, &number, &r.count, r.list.data(), &size, &r.status);
    return r;
  }
  // The first COUNT entries.
  static Words head(const Nodes& r) {
    return Words(r.list.begin(), r.list.begin() + std::max(r.count, 0));
  }
};

TEST_F(Sets, MembersOfOneKind) {
  Members m = uset2(QueryModel::kSetMixed, 2, 10);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.name, "MIXED   ");
  EXPECT_EQ(Words(m.list.begin(), m.list.begin() + m.count), (Words{1, 3}));

  // A single-kind set answers for its own kind only.
  EXPECT_EQ(uset2(QueryModel::kSetSurfaces, 2, 10).status, 3);
  m = uset2(QueryModel::kSetSurfaces, 3, 10);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(Words(m.list.begin(), m.list.begin() + m.count), (Words{1, 2}));

  EXPECT_EQ(uset2(QueryModel::kSetEmpty, 1, 10).status, 3);
  EXPECT_EQ(uset2(0, 2, 10).status, 2);  // stored set 1 is no set
  EXPECT_EQ(uset2(QueryModel::kAllStoredSets, 2, 10).status, 2);
}

TEST_F(Sets, AFullMemberListAnswersNine) {
  Members m = uset2(QueryModel::kSetMixed, 2, 0);
  EXPECT_EQ(m.status, 9);
  EXPECT_EQ(m.count, 0);
  EXPECT_EQ(m.list[0], -1);
  m = uset2(QueryModel::kSetMixed, 2, 1);
  EXPECT_EQ(m.status, 9);
  EXPECT_EQ(m.count, 1);
  EXPECT_EQ(m.list[0], 1);
  EXPECT_EQ(m.list[1], -1);
}

TEST_F(Sets, AModelWithoutSetsAnswersThree) {
  MODCNT.word(kCntSets) = 1;
  EXPECT_EQ(uset2(QueryModel::kSetMixed, 2, 10).status, 3);
}

TEST_F(Sets, NodeListsOfEntities) {
  struct Case {
    int32_t kind, number;
    Words nodes;
    int32_t status;
  };
  const Case cases[] = {
      {1, 1, {1001}, 0},
      {1, 2, {}, 3},                         // the deleted point has no node
      {2, 3, {1010, 1011, 1012}, 0},         // type 4 from node 10 to node 12
      {2, 4, {1001, 1013, 1016}, 0},         // composite: L1 and L2, 13 once
      {3, 1, {1013, 1014, 1015, 1016}, 0},
      {3, 2, {}, 3},                         // the list starts with 0
      {3, 3, {1013, 1014, 1015, 1016}, 0},   // type 99: from its element
      {7, QueryModel::kSetNodeLine, {1010, 1011, 1012}, 0},  // node and element members add nothing
      {7, QueryModel::kSetMixed, {1001, 1010, 1011, 1012, 1013, 1014, 1015, 1016}, 0},
      {7, QueryModel::kSetEmpty, {}, 3},
      {2, 0, {}, 1},                         // numbers out of range
      {2, QueryModel::kAllLines + 1, {}, 1},
      {4, QueryModel::kAllBodies + 1, {}, 1},
      {7, QueryModel::kAllStoredSets, {}, 1},
      {5, 1, {}, 1},                         // no such kind
  };
  for (const Case& c : cases) {
    const Nodes r = unodeg(c.kind, c.number);
    EXPECT_EQ(r.status, c.status) << c.kind << "," << c.number;
    EXPECT_EQ(head(r), c.nodes) << c.kind << "," << c.number;
  }
}

TEST_F(Sets, AllNodesNeedRoomForEveryNode) {
  Nodes r = unodeg(0, 0, kN);
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.count, kN);
  for (int32_t i = 1; i <= kN; ++i) EXPECT_EQ(r.list[static_cast<size_t>(i - 1)], 1000 + i);
  r = unodeg(0, 0, kN - 1);
  EXPECT_EQ(r.status, 9);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.list[kN - 1], -1);  // nothing past the host's array
}

TEST_F(Sets, ASetWhoseNodesExceedTheArrayAnswersNine) {
  const Nodes r = unodeg(7, QueryModel::kSetMixed, 12);
  EXPECT_EQ(r.status, 9);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.list[12], -1);
}

TEST_F(Sets, ABodyOverTheNodeLimitIsReportedWithItsNodes) {
  // Two HE8 sharing a face: 12 distinct nodes, more than half the limit of 20.
  const Nodes r = unodeg(4, 1);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(head(r), (Words{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012}));
  EXPECT_NE(std::find(gLines.begin(), gLines.end(), "E0025:Too many nodes on BLOCK001 . Max is 20"),
            gLines.end());
  // The error flag is cleared: the next query is not reported as failed.
  EXPECT_EQ(MSGARG.errorFlag(), 0);
  EXPECT_EQ(unodeg(2, 3).status, 0);
  // Nor is a message posted before the call.
  MSGARG.errorFlag() = 1;
  EXPECT_EQ(unodeg(2, 3).status, 0);
}

TEST_F(Sets, CollectorsKeepTheDistinctNodesWhenTheListFills) {
  // C1 appends 1, 13, 13, 16: three places hold its distinct nodes, two do not.
  Words list(4, -1);
  int32_t count = -1, status = -1;
  NDLIN(4, count, list, 3, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Words(list.begin(), list.begin() + count), (Words{1, 13, 16}));
  NDLIN(4, count, list, 2, status);
  EXPECT_EQ(status, 9);
  EXPECT_EQ(count, 0);
  NDPNT(1, count, list, 0, status);
  EXPECT_EQ(status, 9);
  // Numbers that are no entity collect nothing.
  for (const int32_t n : {0, -1, 99}) {
    NDPNT(n, count, list, 3, status);
    EXPECT_EQ(count + status, 0) << n;
    NDLIN(n, count, list, 3, status);
    EXPECT_EQ(count + status, 0) << n;
    NDSRF(n, count, list, 3, status);
    EXPECT_EQ(count + status, 0) << n;
    NDBOD(n, count, list, 3, status);
    EXPECT_EQ(count + status, 0) << n;
  }
}

TEST_F(Sets, ASurfaceListEndingEarlyIsTakenAsRead) {
  // S1's list becomes 13, 13, 14, 0: it ends before L entries, without the final cut.
  Words block(32, 0);
  int32_t stat = 0;
  ARRIO(1, kArrPackedLists, 1, 1, -1, block, {}, stat);
  block[6] = 13;
  block[7] = 13;
  block[8] = 14;
  block[9] = 0;
  ARRIO(-1, kArrPackedLists, 1, 1, -1, block, {}, stat);
  Words list(5, -1);
  int32_t count = -1, status = -1;
  NDSRF(1, count, list, 5, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Words(list.begin(), list.begin() + count), (Words{13, 13, 14}));
}

TEST_F(Sets, AMeshWhoseLastElementIsMissingGivesNoNodes) {
  MODCNT.word(kCntNodeListBound) = 100;  // no limit reached before the last element
  std::array<int32_t, kBodyWords> body{};
  RECIO(1, kArrBodies, 1, body);
  body[9] = QueryModel::kAllElements + 1;  // one element more than the model has
  RECIO(-1, kArrBodies, 1, body);
  Words list(30, -1);
  int32_t count = -1, status = -1;
  NDBOD(1, count, list, 30, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(count, 0);
  // A range that begins past the highest element is no mesh.
  body[8] = QueryModel::kAllElements + 1;
  body[9] = QueryModel::kAllElements + 2;
  RECIO(-1, kArrBodies, 1, body);
  NDBOD(1, count, list, 30, status);
  EXPECT_EQ(count + status, 0);
}

TEST_F(Sets, MembersSortedByKind) {
  std::array<int32_t, 8> list{};
  list.fill(-1);
  int32_t kind = -1, first = -1, last = -1;
  // PNTSRF (stored set 7): three points, then two surfaces.
  SETMBR(7, list, 8, kind, first, last);
  EXPECT_EQ(kind, 3);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 5);
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 6), (Words{1, 3, 4, 1, 2, -1}));
  EXPECT_EQ(SETCNT.word(2), 3);
  EXPECT_EQ(SETCNT.word(5), 2);
  EXPECT_EQ(SETCNT.word(3) + SETCNT.word(4) + SETCNT.word(7), 0);

  // With room for three, three are written; the counts and positions still tell all.
  list.fill(-1);
  SETMBR(7, list, 3, kind, first, last);
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 4), (Words{1, 3, 4, -1}));
  EXPECT_EQ(last, 5);

  // Composite lines are lines: COMPOS (stored 6) gives kind 2 over both.
  SETMBR(6, list, 8, kind, first, last);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 2);
  EXPECT_EQ(SETCNT.word(4), 2);

  // A missing set, and the empty one.
  for (const int32_t s : {1, 4, QueryModel::kAllStoredSets + 1}) {
    SETMBR(s, list, 8, kind, first, last);
    EXPECT_EQ(kind + first + last, 0) << s;
  }
}

TEST_F(Sets, ANegativeSetFillsTheSearchWorkArray) {
  std::array<int32_t, 1> none{};
  int32_t kind = 0, first = 0, last = 0;
  SETMBR(-7, none, 0, kind, first, last);
  EXPECT_EQ(last, 5);
  Words got;
  for (int32_t j = 1; j <= 5; ++j) {
    int32_t v = 0;
    NAWORD(1, kArrSearchWork, j, v);
    got.push_back(v);
  }
  EXPECT_EQ(got, (Words{1, 3, 4, 1, 2}));
}

TEST_F(Sets, TheSetGuardIsReportedOnce) {
  int dumps = 0;
  static int* counter = nullptr;
  counter = &dumps;
  setDatabaseDumper([] { ++*counter; });
  MODCNT.word(kCntNodeListBound) = 0;  // every member reaches 5 x L
  std::array<int32_t, 8> list{};
  int32_t kind = 0, first = 0, last = 0;
  SETMBR(7, list, 8, kind, first, last);
  EXPECT_EQ(dumps, 1);
  EXPECT_EQ(std::count_if(gLines.begin(), gLines.end(),
                          [](const std::string& l) { return l.rfind("F0000:", 0) == 0; }),
            1);
  EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 5), (Words{1, 3, 4, 1, 2}));
}

TEST_F(Sets, EntitySelectionUsesTheQueries) {
  Words list(10, -1);
  int32_t count = 0, none = -1;
  ENTRSL(2, 3, list, 10, count, none);
  EXPECT_EQ(none, 0);
  EXPECT_EQ(Words(list.begin(), list.begin() + count), (Words{10, 11, 12}));
}

}  // namespace
}  // namespace kvr::test
