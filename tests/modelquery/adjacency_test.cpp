// The adjacency search through the host's query and the search itself: an entity that
// has elements answers for itself, else the meshed lines of a point, surfaces of a line
// (then bodies) and bodies of a surface are searched, all or among a set's members.
#include <array>
#include <vector>

#include "kvr7dbio.h"
#include "modelquery/adjqry.h"
#include "modelquery/setlst.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

struct Neighbour {
  int32_t kind = -9;
  int32_t number = -9;
  int32_t status = -9;
  std::vector<int32_t> work;
};

class Adjacency : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  static Neighbour uadjge(int32_t kind, int32_t number, int32_t rkind = 0, int32_t rnumber = 0,
                          int32_t mode = 0) {
    Neighbour n;
    n.work.assign(8, -1);
    int32_t spare = 0;
    dll_uadjge(&kind, &number, &rkind, &rnumber, &n.kind, &n.number, n.work.data(), &spare, &mode,
               &n.status);
    return n;
  }

  // ADJSRC of entity NUMBER of KIND, the neighbour given as NKIND, NNUMBER.
  struct Search {
    int32_t kind, number, count;
  };
  static Search adjsrc(int32_t kind, int32_t number, int32_t nkind, int32_t nnumber, int32_t mode) {
    int32_t count = -1;
    ADJSRC(kind, number, nkind, nnumber, count, {}, mode);
    return {nkind, nnumber, count};
  }
};

TEST_F(Adjacency, TheFirstMeshedNeighbour) {
  struct Case {
    int32_t kind, number;
    int32_t nkind, nnumber, status;
  };
  const Case cases[] = {
      {2, 6, 2, 6, 0},   // M1 has elements: itself
      {2, 7, 3, 4, 0},   // U1 on the meshed surface SM
      {2, 11, 3, 4, 0},  // UA, a member of SM's composite boundary CX
      {2, 14, 3, 6, 0},  // UC in SD's line set
      {2, 15, 3, 6, 0},  // UD in a set of SD's list
      {2, 10, 4, 2, 0},  // U4 on SU, which has no elements but lies on body B2
      {1, 5, 2, 6, 0},   // P5 ends the meshed line M1
      {1, 8, 1, 8, 0},   // P8 carries an element
      {3, 5, 4, 2, 0},   // SU is a surface of B2
      {3, 4, 3, 4, 0},   // SM has elements
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.kind << "," << c.number);
    const Neighbour n = uadjge(c.kind, c.number);
    EXPECT_EQ(n.status, c.status);
    EXPECT_EQ(n.kind, c.nkind);
    EXPECT_EQ(n.number, c.nnumber);
  }
}

TEST_F(Adjacency, NothingAdjacentAndOutOfRange) {
  struct Case {
    int32_t kind, number, rkind, rnumber, status;
  };
  const Case cases[] = {
      {2, 8, 0, 0, 2},  // U2 lies on no surface
      {1, 1, 0, 0, 2},  // P1 ends only L1, which has no elements
      {3, 1, 0, 0, 2},  // S1 is on no meshed body
      {4, 1, 0, 0, 1},  // a body is not searched from
      {2, 0, 0, 0, 1},
      {2, QueryModel::kAllLines + 1, 0, 0, 1},
      {2, 7, 3, QueryModel::kAllSurfaces + 1, 1},
      {2, 7, 5, 1, 1},                           // no restriction of kind 5
      {2, 7, 7, QueryModel::kAllStoredSets, 1},  // stored one higher: past the sets
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.kind << "," << c.number << " " << c.rkind << "," << c.rnumber);
    EXPECT_EQ(uadjge(c.kind, c.number, c.rkind, c.rnumber).status, c.status);
  }
}

TEST_F(Adjacency, ASingleRestrictionIsTheAnswerWithoutATest) {
  // SU does not hold U1, and S1 has no elements: the restriction is answered all the same.
  for (const auto& [rkind, rnumber] : {std::pair{3, 5}, {3, 1}, {4, 1}, {1, 1}}) {
    const Neighbour n = uadjge(2, 7, rkind, rnumber);
    EXPECT_EQ(n.status, 0);
    EXPECT_EQ(n.kind, rkind);
    EXPECT_EQ(n.number, rnumber);
    EXPECT_EQ(n.work, std::vector<int32_t>(8, -1));
  }
}

TEST_F(Adjacency, ASetRestrictionSearchesOnlyItsMembers) {
  // ADJSET holds P5, M1, SU and SM: U1 is found on SM; the members go to the work array,
  // points, lines, surfaces in turn, and nothing beyond them.
  Neighbour n = uadjge(2, 7, 7, QueryModel::kSetAdjacent);
  EXPECT_EQ(n.status, 0);
  EXPECT_EQ(n.kind, 3);
  EXPECT_EQ(n.number, 4);
  EXPECT_EQ(n.work, (std::vector<int32_t>{5, 6, 5, 4, -1, -1, -1, -1}));
  // SURFS (S1, S2): no meshed surface among them.
  n = uadjge(2, 7, 7, QueryModel::kSetSurfaces);
  EXPECT_EQ(n.status, 2);
  // A point: the set's lines. P5 ends M1; P6 too, P7 ends no member line.
  EXPECT_EQ(uadjge(1, 6, 7, QueryModel::kSetAdjacent).number, 6);
  EXPECT_EQ(uadjge(1, 7, 7, QueryModel::kSetAdjacent).status, 2);
  // A set without lines ends a point's search.
  EXPECT_EQ(uadjge(1, 5, 7, QueryModel::kSetSurfaces).status, 2);
  // The host's array must hold every member of the set: so much is asked of it.
  EXPECT_EQ(restrictingSetSize(7, QueryModel::kSetAdjacent), 4);
  EXPECT_EQ(restrictingSetSize(3, QueryModel::kSetAdjacent), 0);
  EXPECT_EQ(restrictingSetSize(7, QueryModel::kAllStoredSets), 0);
}

TEST_F(Adjacency, CountsEveryWayOfLyingOnASurface) {
  // U3 is two boundary words of SM.
  Search s = adjsrc(2, 9, 0, 0, 0);
  EXPECT_EQ(s.count, 2);
  EXPECT_EQ(s.kind, 3);
  EXPECT_EQ(s.number, 4);
  // M1 answers for itself in mode 0; mode 1 searches its surfaces: none holds it.
  s = adjsrc(2, 6, 0, 0, 0);
  EXPECT_EQ(s.count, 1);
  s = adjsrc(2, 6, 0, 0, 1);
  EXPECT_EQ(s.count, 0);
  EXPECT_EQ(s.kind, 3);
  // Mode 1 leaves the bodies out: U4 finds nothing, with kind 3.
  s = adjsrc(2, 10, 0, 0, 1);
  EXPECT_EQ(s.count, 0);
  EXPECT_EQ(s.kind, 3);
  // A given neighbour of kind 2 to 4 is only tested for elements.
  EXPECT_EQ(adjsrc(2, 8, 3, 4, 0).count, 1);
  EXPECT_EQ(adjsrc(2, 8, 3, 5, 0).count, 0);
  EXPECT_EQ(adjsrc(2, 8, 4, QueryModel::kAllBodies + 1, 0).count, 0);
  // A given point is searched from as without one.
  s = adjsrc(1, 5, 1, 1, 0);
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(s.kind, 2);
  EXPECT_EQ(s.number, 6);
}

TEST_F(Adjacency, BodiesOfSetsAndLists) {
  // Body 1 made of type 5, its surfaces the set SURFS named in a chained list; B2 of type
  // 4 without surface words, its surfaces those of the set ADJSET (SU, SM).
  const std::string file = variant("bodies", [] {
    int32_t list = 0, count = 0, status = 0;
    std::array<int32_t, 1> entry = {QueryModel::kSetSurfaces + 1};
    FACSRC(kListWrite, list, 1, entry, count, status);
    std::array<int32_t, kBodyWords> b{};
    RECIO(1, kArrBodies, 1, b);
    b[0] = 5;
    b[4] = 1;
    b[6] = list;
    RECIO(-1, kArrBodies, 1, b);
    RECIO(1, kArrBodies, 2, b);
    b[0] = 4;
    b[1] = 0;
    b[3] = QueryModel::kSetAdjacent + 1;
    RECIO(-1, kArrBodies, 2, b);
  });
  ASSERT_EQ(open(file, 2 * kN), 0);
  struct Case {
    int32_t kind, number, nnumber;
  };
  const Case cases[] = {
      {3, 1, 1},   // S1 through the list of body 1
      {3, 5, 2},   // SU through the set of B2
      {2, 10, 2},  // U4 lies on SU, a surface of B2's set
  };
  for (const Case& c : cases) {
    const Neighbour n = uadjge(c.kind, c.number);
    EXPECT_EQ(n.status, 0) << c.number;
    EXPECT_EQ(n.kind, 4) << c.number;
    EXPECT_EQ(n.number, c.nnumber) << c.number;
  }
  EXPECT_EQ(uadjge(3, 3, 0, 0, 1).status, 2);  // S3, not answering for itself, is on neither
}

}  // namespace
}  // namespace kvr::test
