// Element faces on an entity (UEFAC2 and its face numbering FACTYP) and the face search
// over entities and sets (UFACG2), on the query model's shared line between two QU4
// surfaces, its QU8, BE3 line, cube and turned cube on the flat floor.
#include <array>
#include <vector>

#include "kvr7dbio.h"
#include "modeldb/entrec.h"
#include "modelquery/elfaces.h"
#include "modelquery/facsrch.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

using M = QueryModel;
constexpr int32_t kE = M::kElementOffset;

TEST(FaceType, SumsAndSmallestPositionsNameTheFace) {
  struct Case {
    int32_t shape, sum, m, face, status;
  } cases[] = {
      {5, 3, 1, 1, 0},    {5, 5, 1, 4, 0},   {5, 5, 2, 2, 0},   {5, 7, 3, 3, 0},
      {13, 18, 1, 6, 0},  {13, 18, 2, 4, 0}, {13, 26, 5, 2, 0}, {13, 10, 1, 1, 0},
      {3, 6, 1, 0, 3},    {42, 5, 1, 0, 1},  {42, 7, 3, 2, 0},  {49, 42, 9, 2, 0},
      {49, 29, 1, 0, 1},  {19, 3, 1, 0, 2},  {0, 3, 1, 0, 2},   {9, 8, 1, 4, 0},
      {24, 11, 2, 2, 0},  {60, 9, 1, 1, 0},  {60, 9, 4, 2, 0},  {60, 9, 2, 0, 3},
      {12, 8, 1, 4, 0},   {29, 16, 2, 4, 0}, {27, 14, 5, 2, 0}, {51, 40, 1, 0, 1},
  };
  for (const Case& c : cases) {
    int32_t face = -1, status = -1;
    FACTYP(c.shape, c.sum, c.m, face, status);
    EXPECT_EQ(face, c.face) << c.shape << " " << c.sum << " " << c.m;
    EXPECT_EQ(status, c.status) << c.shape << " " << c.sum << " " << c.m;
  }
}

TEST(FaceType, TheCubicSolidsAreRenumbered) {
  const std::vector<std::pair<int32_t, std::vector<int32_t>>> cases = {
      {28, {4, 3, 1, 2}}, {29, {1, 2, 5, 3, 4}}, {30, {5, 6, 3, 2, 4, 1}}, {13, {1, 2, 3, 4, 5, 6}}};
  for (const auto& [shape, want] : cases) {
    for (size_t f = 0; f < want.size(); ++f) {
      EXPECT_EQ(renumberedFace(shape, static_cast<int32_t>(f + 1)), want[f]) << shape << " " << f;
    }
  }
}

TEST(FaceType, PlaneShapesListTheirCornersFirst) {
  struct Case {
    int32_t shape, n;
    std::vector<int32_t> order;
  } cases[] = {
      {5, 4, {1, 2, 3, 4}},
      {9, 8, {1, 3, 5, 7, 2, 4, 6, 8}},
      {10, 9, {1, 3, 5, 7, 2, 4, 6, 8, 9}},
      {23, 9, {1, 4, 7, 2, 3, 5, 6, 8, 9}},
      {27, 15, {1, 5, 9, 2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 15}},
      {43, 5, {1, 3, 5, 4, 2}},
      {45, 8, {1, 4, 8, 5, 2, 3, 6, 7}},
      {26, 16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
  };
  for (const Case& c : cases) {
    std::array<int32_t, 32> order{};
    const int32_t got = planeFaceOrder(c.shape, c.n, order);
    EXPECT_EQ(std::vector<int32_t>(order.begin(), order.begin() + got), c.order) << c.shape;
  }
}

struct Faces {
  std::array<int32_t, 6> list{};
  int32_t count = -1;
  int32_t status = -1;
  std::vector<int32_t> work;
};

class FaceSearch : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  // dll_uefac2 with the entity's NODES given in the work array from word START + 1.
  static Faces uefac2(int32_t mode, int32_t element, int32_t shape, int32_t kind, int32_t number,
                      int32_t target, std::vector<int32_t> nodes, int32_t rkind = 0,
                      int32_t rnumber = 0, int32_t size = 200, int32_t start = 10) {
    Faces f;
    f.list.fill(-7);
    f.work.assign(static_cast<size_t>(std::max(size, 0)), -5);
    for (size_t k = 0; k < nodes.size() && start + k < f.work.size(); ++k) {
      f.work[static_cast<size_t>(start) + k] = nodes[k];
    }
    auto count = static_cast<int32_t>(nodes.size());
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &count,
               f.work.data(), &size, &start, f.list.data(), &f.count, &f.status);
    return f;
  }

  static std::vector<int32_t> faces(const Faces& f) {
    return {f.list.begin(), f.list.begin() + std::clamp(f.count, 0, 6)};
  }

  struct Search {
    int32_t carrierKind = -1, carrierNumber = -1, faceNodeCount = -1, face = -1,
            orientation = -9, elementCount = -1, status = -1;
    std::array<int32_t, 16> faceNodes{};
    std::vector<int32_t> work;
    std::vector<int32_t> elements() const {
      return {work.begin(), work.begin() + std::max(elementCount, 0)};
    }
    std::vector<int32_t> nodes() const {
      return {faceNodes.begin(), faceNodes.begin() + std::clamp(faceNodeCount, 0, 16)};
    }
  };

  static Search ufacg2(int32_t kind, int32_t number, int32_t rkind = 0, int32_t rnumber = 0,
                       int32_t size = kFaceSearchWork) {
    Search s;
    s.work.assign(static_cast<size_t>(size), -3);
    s.faceNodes.fill(-4);
    dll_ufacg2(&kind, &number, &rkind, &rnumber, &s.carrierKind, &s.carrierNumber,
               &s.faceNodeCount, s.faceNodes.data(), &s.face, &s.orientation, &s.elementCount,
               s.work.data(), &size, &s.status);
    return s;
  }
};

TEST_F(FaceSearch, EdgesOfAPlaneElementOnALine) {
  // Element 6 is QU4 on nodes 1-4; the shared line is unmeshed, so mode 0 finds QA.
  const int32_t line = M::kSharedLine;
  struct Case {
    std::vector<int32_t> nodes;
    int32_t status;
    std::vector<int32_t> faces;
  } cases[] = {
      {{1, 2}, 0, {1}},
      {{2, 3}, 0, {2}},
      {{1, 4}, 0, {4}},
      {{1, 2, 3, 4}, 0, {1, 2, 3, 4}},
      {{1, 2, 3}, 0, {2, 1}},  // positions 1 and 3 make no edge
      {{2}, 5, {}},
      {{1, 3}, 6, {}},  // a diagonal is no edge
  };
  for (const Case& c : cases) {
    const Faces f = uefac2(0, kE + 6, 5, 2, line, 2, c.nodes);
    EXPECT_EQ(f.status, c.status) << c.nodes.size();
    EXPECT_EQ(faces(f), c.faces) << c.nodes.size();
  }
  // The QU8: corners 1 and 3 make edge 1 only with the mid position 2 between them.
  Faces f = uefac2(0, kE + M::kQuad8, 9, 2, line, 2, {1, 5, 2});
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(faces(f), std::vector<int32_t>{1});
  f = uefac2(0, kE + M::kQuad8, 9, 2, line, 2, {1, 2});
  EXPECT_EQ(f.status, 6);
  // The closing edge 4 through position 1 takes its mid node after corner 7.
  f = uefac2(0, kE + M::kQuad8, 9, 2, line, 2, {1, 4, 8});
  EXPECT_EQ(faces(f), std::vector<int32_t>{4});
}

TEST_F(FaceSearch, TheWholeElementABeamEndAndOtherTargets) {
  for (const int32_t target : {1, 3, 5, 6}) {
    const Faces f = uefac2(0, kE + 6, 5, 2, M::kSharedLine, target, {});
    EXPECT_EQ(f.status, 0) << target;
    EXPECT_EQ(f.count, 1) << target;
    EXPECT_EQ(f.list[0], 0) << target;
  }
  Faces f = uefac2(0, kE + 6, 5, 2, M::kSharedLine, 9, {});
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.count, 0);
  // Point PF1 at node 21: the first node of element 11; PF2 at node 25 the last of 14.
  f = uefac2(0, kE + 11, 1, 1, 21, 7, {});
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(faces(f), std::vector<int32_t>{1});
  f = uefac2(1, kE + 14, 1, 1, 22, 7, {});
  EXPECT_EQ(faces(f), std::vector<int32_t>{2});
  f = uefac2(1, kE + 11, 1, 1, 22, 7, {});
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.count, 0);
  f = uefac2(1, kE + 99, 1, 1, 22, 7, {});
  EXPECT_EQ(f.status, 4);
}

TEST_F(FaceSearch, RefusesNodeListsBeyondTheWorkArray) {
  // Nothing read or written: the work array keeps its words and no face is given.
  Faces f = uefac2(0, kE + 6, 5, 2, M::kSharedLine, 2, std::vector<int32_t>(20, 1), 0, 0, 100, 90);
  EXPECT_EQ(f.status, 9);
  EXPECT_EQ(f.count, 0);
  EXPECT_EQ(f.work[0], -5);
  f = uefac2(0, kE + 6, 5, 2, M::kSharedLine, 2, {1, 2}, 0, 0, 100, -1);
  EXPECT_EQ(f.status, 9);
  // The neighbour search refuses a body as the entity.
  f = uefac2(0, kE + 1, 13, 4, 1, 4, {1, 2, 3, 4});
  EXPECT_EQ(f.status, 1);
}

TEST_F(FaceSearch, FacesOfSolidsOnASurface) {
  const std::vector<int32_t> cube = {1, 2, 3, 4, 5, 6, 7, 8};
  // Without a neighbour list (body B2's word 8 asks for none) all distances are 0.
  Faces f = uefac2(0, kE + 1, 13, 3, M::kFloor, 4, cube, 4, 2);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(faces(f), (std::vector<int32_t>{1, 2, 3}));
  // With it (CUBE), the faces nearest the floor stay: face 1 lies in it, face 2 a unit off.
  f = uefac2(0, kE + 1, 13, 3, M::kFloor, 4, cube);
  EXPECT_EQ(f.status, 0);
  ASSERT_EQ(f.count, 3);
  const std::vector<int32_t> kept = faces(f);
  EXPECT_NE(std::find(kept.begin(), kept.end(), 1), kept.end());
  EXPECT_EQ(std::find(kept.begin(), kept.end(), 2), kept.end());
  // The floor's own nodes: face 1 alone; the list says the face is the boundary's.
  f = uefac2(0, kE + 1, 13, 3, M::kFloor, 4, {1, 2, 3, 4});
  EXPECT_EQ(faces(f), std::vector<int32_t>{1});
  f = uefac2(1, kE + M::kTurnedHexa, 13, 3, M::kFloor, 4, {1, 2, 3, 4});
  EXPECT_EQ(f.status, 6);  // the turned cube is not in the list built over CUBE
  // Two corners: too few.
  f = uefac2(0, kE + 1, 13, 3, M::kFloor, 4, {1, 2}, 4, 2);
  EXPECT_EQ(f.status, 5);
  // Edges of a solid on a line: corners 1, 2 and 3.
  f = uefac2(0, kE + 1, 13, 2, M::kSharedLine, 8, {1, 2, 3}, 4, 2);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(faces(f), (std::vector<int32_t>{1, 2}));
}

TEST_F(FaceSearch, TheNodeSetFollowsTheEntityAndItsList) {
  // The calls of the session go on without a mode 0 (no neighbour list), the nodes handed
  // in the same words of one work array each time: the floor (nodes 1-4) holds face 1 of
  // the cube, S1 (nodes 13-16) none of it; the top of the cube (5-8), written over the
  // floor's nodes under the floor's number, its face 2.
  std::vector<int32_t> work(200, 0);
  auto ask = [&](int32_t number, std::array<int32_t, 4> nodes) {
    std::copy(nodes.begin(), nodes.end(), work.begin() + 10);
    int32_t mode = 1, element = kE + 1, shape = 13, kind = 3, rkind = 0, rnumber = 0;
    int32_t target = 4, count = 4, size = 200, start = 10, faceCount = -1, status = -1;
    std::array<int32_t, 6> list{};
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &count,
               work.data(), &size, &start, list.data(), &faceCount, &status);
    return std::pair{status, std::vector<int32_t>(list.begin(), list.begin() + std::clamp(faceCount, 0, 6))};
  };
  using Answer = std::pair<int32_t, std::vector<int32_t>>;
  EXPECT_EQ(ask(M::kFloor, {1, 2, 3, 4}), (Answer{0, {1}}));
  EXPECT_EQ(ask(1, {13, 14, 15, 16}), (Answer{5, {}})) << "another entity";
  EXPECT_EQ(ask(M::kFloor, {1, 2, 3, 4}), (Answer{0, {1}})) << "the first again";
  EXPECT_EQ(ask(M::kFloor, {5, 6, 7, 8}), (Answer{0, {2}})) << "its list written anew";
  EXPECT_EQ(ask(M::kFloor, {1, 2, 3, 4}), (Answer{0, {1}}));
}

TEST_F(FaceSearch, TheNeighbourListIsReadBackFromTheWorkArray) {
  // Over elements 6 and 7 the edge 2-3 is shared, 1-2 is not.
  std::vector<int32_t> work(40, -1);
  work[0] = 1;
  work[1] = 2;
  work[2] = 3;
  int32_t result = -1;
  EDGFND(kListBuild, work, 37, 3, 6, 7, result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::vector<int32_t>(work.begin() + 3, work.begin() + 10),
            (std::vector<int32_t>{2, 1, 2, 1, 2, 3, 2}));
  EDGFND(kListLookUp, work, 37, 3, 3, 2, result);
  EXPECT_EQ(result, 2);
  EDGFND(kListLookUp, work, 37, 3, 1, 3, result);
  EXPECT_EQ(result, -1);
  // A space short of the second entry: result 1 with the count of those stored.
  std::fill(work.begin() + 3, work.end(), -1);
  EDGFND(kListBuild, work, 9, 3, 6, 7, result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(work[3], 1);
  // Faces over element 1: the floor face once.
  std::vector<int32_t> fw(30, -1);
  std::copy_n(std::array{1, 2, 3, 4}.begin(), 4, fw.begin());
  FACFND(kListBuild, fw, 30, 4, 1, 1, 0, 0, result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::vector<int32_t>(fw.begin() + 4, fw.begin() + 10),
            (std::vector<int32_t>{1, 1, 4, 3, 2, 1}));
  FACFND(kListLookUp, fw, 30, 4, 3, 2, 1, 4, result);
  EXPECT_EQ(result, 1);
  FACFND(kListBuild, fw, 9, 4, 1, 1, 0, 0, result);
  EXPECT_EQ(result, 1);
}

TEST_F(FaceSearch, ALookUpAnswersWhatTheListItReadsHolds) {
  // Edges 2-1 (once) and 2-3 (twice) after nodes 1, 2, 3, as built over elements 6 and 7.
  std::vector<int32_t> work = {1, 2, 3, 2, 2, 1, 1, 2, 3, 2};
  int32_t result = 0;
  EDGFND(kListLookUp, work, 10, 3, 3, 2, result);
  EXPECT_EQ(result, 2);
  // Another list of the same length is read as it stands.
  std::vector<int32_t> other = {1, 2, 3, 2, 2, 1, 1, 3, 4, 5};
  EDGFND(kListLookUp, other, 10, 3, 4, 3, result);
  EXPECT_EQ(result, 5);
  EDGFND(kListLookUp, other, 10, 3, 2, 3, result);
  EXPECT_EQ(result, -1);
  // An entry rewritten in place: its old edge is gone, its new one found.
  work[4] = 5;
  work[5] = 6;
  EDGFND(kListLookUp, work, 10, 3, 1, 2, result);
  EXPECT_EQ(result, -1);
  EDGFND(kListLookUp, work, 10, 3, 6, 5, result);
  EXPECT_EQ(result, 1);

  // Faces after nodes 1 to 7: a triangle once and a quadrilateral twice.
  std::vector<int32_t> fw = {1, 2, 3, 4, 5, 6, 7, 2, 1, 2, 3, 0, 1, 4, 5, 6, 7, 2};
  const struct {
    std::array<int32_t, 4> nodes;
    int32_t expected;
  } cases[] = {
      {{3, 1, 2, 0}, 1},
      {{7, 6, 5, 4}, 2},
      {{1, 2, 3, 7}, -1},
      {{1, 2, 0, 0}, 1},  // a face naming a node twice matches an entry holding its nodes
      {{4, 4, 5, 6}, 2},
      {{1, 1, 2, 9}, -1},
  };
  for (const auto& c : cases) {
    FACFND(kListLookUp, fw, 18, 7, c.nodes[0], c.nodes[1], c.nodes[2], c.nodes[3], result);
    EXPECT_EQ(result, c.expected)
        << c.nodes[0] << " " << c.nodes[1] << " " << c.nodes[2] << " " << c.nodes[3];
  }
}

TEST_F(FaceSearch, SharedLineIsCarriedByTheFirstSurface) {
  Search s = ufacg2(2, M::kSharedLine);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.carrierKind, 3);
  EXPECT_EQ(s.carrierNumber, M::kSharedSurface);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + 6});
  EXPECT_EQ(s.face, 2);
  EXPECT_EQ(s.nodes(), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(s.orientation, 0);
  s = ufacg2(2, M::kSharedLine, 3, M::kSharedSurface + 1);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.carrierNumber, M::kSharedSurface + 1);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + 7});
  EXPECT_EQ(s.face, 4);
  s = ufacg2(2, M::kSharedLine, 7, M::kSetOtherSurface);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.carrierKind, 3);
  EXPECT_EQ(s.carrierNumber, M::kSharedSurface + 1);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + 7});
}

TEST_F(FaceSearch, OwnElementsAndLineEnds) {
  Search s = ufacg2(2, M::kBeamLine);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ((std::array{s.carrierKind, s.carrierNumber}), (std::array{2, M::kBeamLine}));
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + M::kBeam3});
  EXPECT_EQ(s.nodes(), (std::vector<int32_t>{1, 3, 2}));
  EXPECT_EQ(s.face, 0);
  EXPECT_EQ(s.orientation, 1);
  // Its end point has no node: no elements, status 0.
  s = ufacg2(1, M::kNodelessEnd);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.elementCount, 0);
  // The QU8 surface: its own element, corners first.
  s = ufacg2(3, M::kQuad8Surface);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + M::kQuad8});
  EXPECT_EQ(s.nodes(), (std::vector<int32_t>{1, 3, 5, 7, 2, 4, 6, 8}));
  // PF2 ends line FINE at the last node of element 14.
  s = ufacg2(1, 22);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + 14});
  EXPECT_EQ(s.face, 2);
  EXPECT_EQ(s.nodes(), std::vector<int32_t>{2});
}

TEST_F(FaceSearch, FacesOfBodiesOnTheFloor) {
  Search s = ufacg2(3, M::kFloor);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ((std::array{s.carrierKind, s.carrierNumber}), (std::array{4, M::kCube}));
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + 1});
  EXPECT_EQ(s.face, 1);
  EXPECT_EQ(s.nodes(), (std::vector<int32_t>{1, 4, 3, 2}));
  EXPECT_EQ(s.orientation, 1);
  s = ufacg2(3, M::kFloor, 4, M::kTurnedBody);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.elements(), std::vector<int32_t>{kE + M::kTurnedHexa});
  EXPECT_EQ(s.face, 2);
  EXPECT_EQ(s.nodes(), (std::vector<int32_t>{5, 8, 7, 6}));
  EXPECT_EQ(s.orientation, -1);
}

TEST_F(FaceSearch, RefusedSearches) {
  EXPECT_EQ(ufacg2(2, M::kSharedLine, 0, 0, kFaceSearchWork - 1).status, 9);
  EXPECT_EQ(ufacg2(4, 1).status, 1);
  EXPECT_EQ(ufacg2(2, 0).status, 1);
  EXPECT_EQ(ufacg2(2, M::kSharedLine, 5, 1).status, 1);
  EXPECT_EQ(ufacg2(2, M::kSharedLine, 7, M::kAllStoredSets).status, 1);
  // A carrier named without elements, and a pair that has no case.
  EXPECT_EQ(ufacg2(2, M::kSharedLine, 3, M::kFloor).status, 3);
  EXPECT_EQ(ufacg2(3, M::kFloor, 2, M::kBeamLine).status, 3);
}

TEST_F(FaceSearch, DamagedCountsDoNotLengthenTheCarrierSearch) {
  // Line U2 lies on no surface and in no body: the search walks every surface and body.
  // Counts far beyond the records the store holds answer as the true ones do, at once.
  constexpr int32_t kLonelyLine = 8;
  const Search want = ufacg2(2, kLonelyLine);
  for (const int32_t word : {kCntSurfaces, kCntBodies}) MODCNT.word(word) = 0x7FFFFFFF;
  const Search got = ufacg2(2, kLonelyLine);
  EXPECT_EQ(got.status, want.status);
  EXPECT_EQ(got.elementCount, want.elementCount);
  EXPECT_EQ(got.carrierKind, want.carrierKind);
}

TEST_F(FaceSearch, ADamagedHighestElementDoesNotLengthenTheListBuilds) {
  // The neighbour lists over elements up to the largest number, the highest element
  // raised as far: built at once, as over the elements the store holds.
  constexpr int32_t kFar = 0x7FFFFFFE;
  std::vector<int32_t> want(40, -1), got(40, -1);
  for (auto* w : {&want, &got}) std::copy_n(std::array{1, 2, 3}.begin(), 3, w->begin());
  int32_t result = -1;
  EDGFND(kListBuild, want, 37, 3, 6, M::kAllElements, result);
  MODCNT.word(kCntHighestElement) = kFar + 1;
  int32_t farResult = -1;
  EDGFND(kListBuild, got, 37, 3, 6, kFar, farResult);
  EXPECT_EQ(farResult, result);
  EXPECT_EQ(got, want);

  std::vector<int32_t> fwant(30, -1), fgot(30, -1);
  for (auto* w : {&fwant, &fgot}) std::copy_n(std::array{1, 2, 3, 4}.begin(), 4, w->begin());
  MODCNT.word(kCntHighestElement) = M::kAllElements;
  FACFND(kListBuild, fwant, 30, 4, 1, M::kAllElements, 0, 0, result);
  MODCNT.word(kCntHighestElement) = kFar + 1;
  FACFND(kListBuild, fgot, 30, 4, 1, kFar, 0, 0, farResult);
  EXPECT_EQ(farResult, result);
  EXPECT_EQ(fgot, fwant);
  MODCNT.word(kCntHighestElement) = M::kAllElements;
}

TEST_F(FaceSearch, AnElementListBeyondFortyThousandAnswersNine) {
  // The BE3 line's range widened to 40001 elements.
  std::array<int32_t, kLineWords> line{};
  RECIO(1, kArrLines, M::kBeamLine, line);
  line[7] = 1;
  line[8] = 40001;
  RECIO(-1, kArrLines, M::kBeamLine, line);
  MODCNT.word(kCntHighestElement) = 40001;
  EXPECT_EQ(ufacg2(2, M::kBeamLine).status, 9);
  MODCNT.word(kCntHighestElement) = M::kAllElements;
}

}  // namespace
}  // namespace kvr::test
