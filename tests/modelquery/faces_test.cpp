// Element faces from marked nodes: FACSEL's two tables row by row, the host's query of
// the face of an element on an entity (marking, reordering corners first, the statuses),
// and the local node list of a face.
#include <array>
#include <vector>

#include "kvr7dbio.h"
#include "modeldb/elnord.h"
#include "modeldb/entrec.h"
#include "modelquery/facsel.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

struct Selected {
  int32_t face = -1;
  int32_t orientation = -7;
  int32_t status = -1;
};

Selected facsel(int32_t shape, int32_t n, int32_t a, const std::vector<int32_t>& marked,
                const std::vector<int32_t>& nodes = {}) {
  Selected s;
  FACSEL(nodes, n, shape, a, marked, s.face, s.orientation, s.status);
  return s;
}

// C positions with sum S whose smallest is M: M, then the rest shared out (each >= M).
std::vector<int32_t> positions(int32_t s, int32_t m, int32_t c) {
  std::vector<int32_t> p = {m};
  for (int32_t k = 1; k < c; ++k) p.push_back((s - m) / (c - 1));
  p.back() += (s - m) % (c - 1 > 0 ? c - 1 : 1);
  return p;
}

// The rows of the tables as they read: shapes, the face node count A (it chooses between
// faces and edges of solids), the count C of summed positions, then sum, smallest and the
// face or edge it names.
struct Rows {
  std::vector<int32_t> shapes;
  int32_t a;
  int32_t c;
  std::vector<std::array<int32_t, 3>> rows;
};

TEST(Facsel, EveryRowOfTheSumTableNamesItsFaceOrEdge) {
  const Rows table[] = {
      {{3}, 2, 2, {{3, 1, 1}, {5, 1, 2}, {4, 1, 3}}},                                // TR3
      {{5}, 2, 2, {{3, 1, 1}, {5, 1, 4}, {5, 2, 2}, {7, 3, 3}}},                     // QU4
      {{7}, 3, 2, {{4, 1, 1}, {8, 1, 2}, {6, 1, 3}}},                                // TR6
      {{8}, 3, 2, {{4, 1, 1}, {8, 1, 2}, {7, 1, 3}, {11, 1, 3}}},
      {{9, 10}, 3, 2, {{4, 1, 1}, {8, 1, 4}, {8, 2, 2}, {12, 3, 3}}},               // QU8, QU9
      {{11}, 3, 3, {{6, 1, 1}, {15, 4, 2}}},                                         // PE6
      {{11}, 4, 4, {{12, 1, 3}, {16, 2, 4}, {14, 1, 5}}},
      {{14}, 6, 3, {{6, 1, 1}, {15, 4, 2}}},                                         // PE15
      {{14}, 8, 4, {{12, 1, 3}, {16, 2, 4}, {14, 1, 5}}},
      {{11}, 2, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -7}, {4, 1, -3}, {9, 4, -4}, {9, 3, -9},
                    {11, 5, -5}, {10, 4, -6}, {7, 1, -8}}},
      {{14}, 3, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -7}, {9, 4, -4}, {9, 3, -9}, {7, 1, -8}}},
      {{12}, 3, 3, {{6, 1, 1}, {7, 1, 2}, {9, 2, 3}, {8, 1, 4}}},                    // TE4
      {{16}, 6, 3, {{6, 1, 1}, {7, 1, 2}, {9, 2, 3}, {8, 1, 4}}},                    // TE10
      {{12}, 2, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -4}, {4, 1, -3}, {6, 2, -5}, {7, 3, -6}}},
      {{16}, 3, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -4}, {4, 1, -3}, {6, 2, -5}, {7, 3, -6}}},
      {{13, 15, 17, 18}, 4, 4, {{10, 1, 1}, {26, 5, 2}, {14, 1, 3}, {18, 1, 6}, {18, 2, 4},
                                {22, 2, 5}}},
      {{13}, 2, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -4}, {7, 3, -3}, {11, 5, -5}, {13, 6, -6},
                    {13, 5, -8}, {15, 7, -7}, {6, 2, -9}, {8, 3, -10}, {10, 4, -11}, {12, 5, -12}}},
      {{15, 17, 18}, 3, 2, {{3, 1, -1}, {5, 1, -4}, {13, 5, -8}, {12, 5, -12}}},
      {{23}, 4, 2, {{5, 1, 1}, {11, 2, 2}, {8, 1, 3}}},                              // TR9
      {{24}, 4, 2, {{5, 1, 1}, {11, 1, 4}, {11, 2, 2}, {17, 3, 3}}},                 // QU12
      {{25, 27}, 4, 2, {{6, 1, 1}, {14, 2, 2}, {10, 1, 3}}},                         // TR12, TR15
      {{28}, 9, 3, {{27, 1, 1}, {24, 1, 2}, {21, 1, 3}, {12, 1, 4}}},                // TE16
      {{28}, 4, 2, {{5, 1, -1}, {11, 1, -2}, {8, 1, -3}, {17, 1, -4}, {20, 1, -5}, {23, 1, -6}}},
      {{29}, 9, 3, {{12, 1, 1}, {57, 1, 2}}},                                        // PE24
      {{29}, 12, 4, {{52, 1, 3}, {46, 1, 4}, {40, 1, 5}}},
      {{29}, 4, 2, {{5, 1, -1}, {11, 1, -2}, {8, 1, -3}, {35, 1, -4}, {41, 1, -5}, {38, 1, -6},
                    {17, 1, -7}, {23, 1, -8}, {29, 1, -9}}},
      {{30}, 12, 4, {{62, 1, 1}, {62, 2, 2}, {50, 1, 3}, {74, 1, 4}, {22, 1, 5}, {102, 1, 6}}},
      {{30}, 4, 2, {{5, 1, -1}, {11, 4, -2}, {11, 1, -4}, {17, 1, -3}, {45, 1, -5}, {51, 24, -6},
                    {51, 21, -8}, {57, 1, -7}, {22, 1, -9}, {28, 1, -10}, {34, 1, -11},
                    {40, 1, -12}}},
      {{41}, 1, 1, {{2, 2, 2}, {1, 1, 1}}},                                          // IP11
      {{42}, 2, 2, {{3, 1, 1}, {7, 3, 2}, {4, 1, 0}, {6, 2, 0}}},                    // IL22
      {{43}, 2, 2, {{4, 1, 1}, {9, 4, 2}, {5, 1, 0}, {8, 3, 0}}},
      {{44}, 2, 2, {{4, 1, 1}, {10, 4, 2}, {5, 1, 0}, {9, 3, 0}}},
      {{45}, 2, 2, {{5, 1, 1}, {13, 6, 2}, {6, 1, 0}, {12, 4, 0}}},
      {{46}, 2, 2, {{6, 1, 1}, {16, 7, 2}, {7, 1, 0}, {15, 5, 0}}},
      {{47}, 3, 3, {{6, 1, 1}, {15, 4, 2}}},                                         // IS33
      {{47}, 4, 4, {{12, 1, 0}, {14, 1, 0}, {16, 1, 0}}},
      {{47}, 2, 2, {{3, 1, -1}, {5, 1, -2}, {4, 1, -3}, {9, 4, -4}, {11, 5, -5}, {10, 4, -6}}},
      {{48}, 4, 4, {{10, 1, 1}, {26, 5, 2}, {14, 1, 0}, {18, 1, 0}, {22, 1, 0}}},    // IS44
      {{48}, 2, 2, {{3, 1, -1}, {5, 2, -2}, {5, 1, -4}, {7, 3, -3}, {11, 5, -5}, {13, 6, -6},
                    {13, 5, -8}, {15, 7, -7}}},
      {{49}, 4, 4, {{16, 1, 1}, {42, 1, 2}, {23, 1, 0}, {29, 1, 0}, {35, 1, 0}}},    // IS84
      {{49}, 3, 2, {{4, 1, -1}, {8, 3, -2}, {8, 1, -4}, {12, 1, -3}, {19, 1, -5}, {21, 10, -6},
                    {21, 9, -8}, {23, 1, -7}}},
      {{50}, 3, 2, {{4, 1, -1}, {8, 1, -2}, {6, 1, -3}, {16, 1, -4}, {20, 1, -5}, {18, 1, -6}}},
      {{51}, 4, 4, {{16, 1, 1}, {48, 1, 2}, {24, 1, 0}, {32, 1, 0}, {40, 1, 0}}},    // IS88
      {{51}, 3, 2, {{4, 1, -1}, {8, 3, -2}, {8, 1, -4}, {12, 1, -3}, {20, 1, -5}, {24, 11, -6},
                    {24, 9, -8}, {28, 1, -7}}},
      {{60}, 2, 2, {{6, 1, 1}, {12, 1, 2}, {18, 1, 0}}},                             // SP8
      {{60}, 4, 4, {{18, 1, 0}}},
      {{61}, 2, 2, {{7, 1, 1}, {15, 1, 2}, {22, 1, 0}}},                             // SP10
      {{61}, 4, 4, {{22, 1, 0}}},
  };
  for (const Rows& t : table) {
    for (const int32_t shape : t.shapes) {
      for (const auto& [s, m, face] : t.rows) {
        const Selected got = facsel(shape, 32, t.a, positions(s, m, t.c));
        EXPECT_EQ(got.face, face) << "shape " << shape << " a " << t.a << " sum " << s << " m " << m;
        EXPECT_EQ(got.status, 0) << "shape " << shape << " sum " << s;
      }
    }
  }
}

TEST(Facsel, TheSummedCountFollowsTheFaceNodeCount) {
  // IS66 sums three positions when the first two add up to 6 or 16, else four.
  EXPECT_EQ(facsel(50, 12, 6, {1, 5, 3, 9}).face, 1);
  EXPECT_EQ(facsel(50, 12, 6, {7, 9, 11, 1}).face, 2);
  EXPECT_EQ(facsel(50, 12, 8, {1, 2, 8, 9}).face, 0);
  EXPECT_EQ(facsel(50, 12, 8, {1, 2, 10, 11}).face, 0);
  EXPECT_EQ(facsel(50, 12, 8, {1, 2, 12, 13}).face, 0);
  // A wedge's triangle (three, six or nine nodes) against its quadrilaterals.
  EXPECT_EQ(facsel(11, 6, 3, {1, 2, 3, 7}).face, 1);
  EXPECT_EQ(facsel(11, 6, 4, {1, 2, 3, 6}).face, 3);
  EXPECT_EQ(facsel(29, 24, 9, {1, 2, 9, 30}).face, 1);
  EXPECT_EQ(facsel(47, 6, 3, {1, 2, 3, 9}).face, 1);
  EXPECT_EQ(facsel(47, 6, 4, {1, 2, 3, 6}).face, 0);
  // A spring: two positions, or four for a face of four nodes.
  EXPECT_EQ(facsel(60, 8, 2, {1, 5, 6, 6}).face, 1);
}

TEST(Facsel, TheWholeElementAndAnswersWithoutEntry) {
  // Every position marked: the whole element, whatever the shape.
  for (const int32_t shape : {5, 13, 30, 19, 99}) {
    const Selected s = facsel(shape, 4, 4, {1, 2, 3, 4});
    EXPECT_EQ(s.face, 0) << shape;
    EXPECT_EQ(s.orientation, 0) << shape;
    EXPECT_EQ(s.status, 0) << shape;
  }
  // QU4 edges 4 and 2 share the sum 5 and differ by the smallest position.
  EXPECT_EQ(facsel(5, 4, 2, {1, 4}).face, 4);
  EXPECT_EQ(facsel(5, 4, 2, {2, 3}).face, 2);
  // IL22's sides are no face.
  for (const std::vector<int32_t>& side : {std::vector<int32_t>{1, 3}, {2, 4}}) {
    const Selected s = facsel(42, 4, 2, side);
    EXPECT_EQ(s.face, 0);
    EXPECT_EQ(s.status, 0);
  }
  // TE10 edges through node 4 are -4, -5 and -6, never past its six edges.
  EXPECT_EQ(facsel(16, 10, 3, {1, 4, 8}).face, -4);
  EXPECT_EQ(facsel(16, 10, 3, {2, 4, 9}).face, -5);
  EXPECT_EQ(facsel(16, 10, 3, {3, 4, 10}).face, -6);
  // A sum, or a shape, without entry.
  for (const auto& [shape, marked] : std::vector<std::pair<int32_t, std::vector<int32_t>>>{
           {5, {1, 3}}, {13, {4, 5}}, {1, {1, 2, 3, 4}}, {2, {1, 3, 4, 5}}, {19, {1, 2}},
           {35, {1, 2}}, {55, {1, 2}}, {62, {1, 2}}, {0, {1, 2}}}) {
    const Selected s = facsel(shape, 32, 2, marked);
    EXPECT_EQ(s.face, kNoFace) << shape;
    EXPECT_EQ(s.status, 2) << shape;
  }
}

class Faces : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }

  struct Found {
    int32_t face = -1;
    int32_t status = -1;
    std::vector<int32_t> work;
  };
  static Found ueface(int32_t element, int32_t shape, int32_t kind, int32_t number,
                      int32_t target, int32_t faceNodes, int32_t size = 100, int32_t start = 4) {
    Found f;
    f.work.assign(static_cast<size_t>(size) + 4, -1);
    dll_ueface(&element, &shape, &kind, &number, &target, &faceNodes, f.work.data(), &size, &start,
               &f.face, &f.status);
    return f;
  }
};

TEST_F(Faces, TheNodesOfAnEntityNameTheFaceOfTheElement) {
  // Element 4 (QU4 on 13-16) and L2 (13, 16): positions 1 and 4, edge 4.
  Found f = ueface(5004, 5, 2, 2, 2, 2);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.face, 4);
  // The entity's nodes went behind the first START words.
  EXPECT_EQ(std::vector<int32_t>(f.work.begin(), f.work.begin() + 6),
            (std::vector<int32_t>{-1, -1, -1, -1, 1013, 1016}));
  // The statuses, the face not written.
  const struct {
    int32_t element, kind, number, faceNodes, status;
  } cases[] = {
      {5004, 2, 2, 3, 5},   // two nodes on L2, not three
      {5004, 2, 1, 2, 5},   // L1 (1, 13): one node of the element
      {5000, 2, 2, 2, 4},   // no element 0
      {5008, 2, 2, 2, 4},   // an unused element number
      {5004, 2, 25, 2, 6},  // DIAG (13, 15): positions 1 and 3 make no edge
      {5004, 5, 1, 2, 1},   // a kind without nodes
      {5004, 2, 999, 2, 1},  // no line 999
  };
  for (const auto& c : cases) {
    f = ueface(c.element, 5, c.kind, c.number, 2, c.faceNodes);
    EXPECT_EQ(f.status, c.status) << c.element << " " << c.number;
    EXPECT_EQ(f.face, -1) << c.element << " " << c.number;
  }
  // The work array's room, behind START.
  EXPECT_EQ(ueface(5004, 5, 2, 2, 2, 2, 5, 4).status, 9);
  EXPECT_EQ(ueface(5004, 5, 2, 2, 2, 2, 6, 4).status, 0);
  EXPECT_EQ(ueface(5004, 5, 2, 2, 2, 2, 6, 7).status, 9);
  EXPECT_EQ(ueface(5004, 5, 2, 2, 2, 2, 6, -1).status, 9);
}

TEST_F(Faces, TheCornersComeFirstBeforeTheSumsAreRead) {
  // Element 1 (HE8 on 1-8), asked as other shapes: the set TRIO1 marks positions 1, 2, 3.
  // An edge of three nodes swaps the second and third: (1, 3) is edge 1 of QU8 and TR6.
  EXPECT_EQ(ueface(5001, 9, 7, QueryModel::kSetTrio1, 2, 3).face, 1);
  EXPECT_EQ(ueface(5001, 7, 7, QueryModel::kSetTrio1, 2, 3).face, 1);
  // Without the reordering (a face target) (1, 2) sums to 3: no edge of QU8.
  EXPECT_EQ(ueface(5001, 9, 7, QueryModel::kSetTrio1, 4, 3).status, 6);
  // S4 marks positions 1-4; an edge of four nodes moves the last to the second place:
  // (1, 4) is edge 1 of QU12, and (1, 2) would be none.
  EXPECT_EQ(ueface(5001, 24, 3, QueryModel::kOwnedSurface, 2, 4).face, 1);
  EXPECT_EQ(ueface(5001, 24, 3, QueryModel::kOwnedSurface, 0, 4).status, 6);
}

TEST_F(Faces, AWholeThirtyTwoNodeSolidAndTheFaceOfItsTwelveNodes) {
  // Element 20, HE32 on nodes 1-16 and 21-36 (the element records widened to 32 nodes);
  // line 27 lists the nodes at its positions 1 to 12, as the queries number them.
  const std::string file = variant("hexa32", [] {
    std::vector<std::array<int32_t, kElementNodes + 2>> kept;
    for (int32_t e = 1; e <= QueryModel::kAllElements; ++e) {
      std::array<int32_t, kElementNodes + 2> r{};
      int32_t stat = 0;
      ELCONN(e, std::span<int32_t>(r).subspan(2, kElementNodes), r[0], r[1], stat);
      r[0] = stat == 0 ? r[0] : -1;
      kept.push_back(r);
    }
    MODCNT.word(kCntElementNodes) = 32;
    MODCNT.word(kCntHighestElement) = 20;
    std::vector<int32_t> zeros(20 * 33, 0);
    int32_t stat = 0;
    ARRIO(-1, kArrConnectivity, 1, 20 * 33, -1, zeros, {}, stat);
    for (size_t k = 0; k < kept.size(); ++k) {
      auto& r = kept[k];
      if (r[0] < 0) continue;
      ELCONN(-static_cast<int32_t>(k + 1), std::span<int32_t>(r).subspan(2, kElementNodes), r[0], r[1], stat);
    }
    std::array<int32_t, 32> hexa{};
    for (int32_t i = 0; i < 32; ++i) hexa[static_cast<size_t>(i)] = i < 16 ? i + 1 : i + 5;
    int32_t nnod = 32, shape = 30;
    ELCONN(-20, hexa, nnod, shape, stat);
    std::array<int32_t, 32> ordered{};
    ELRORD(hexa, 30, ordered, stat);
    std::vector<int32_t> list(ordered.begin(), ordered.begin() + 12);
    list.resize(32, 0);
    ARRIO(-1, 23, 22, 1, -1, list, {}, stat);
    MODCNT.word(kCntPackedListEnd) = std::max(MODCNT.word(kCntPackedListEnd), 21 * 32 + 13);
    MODCNT.word(kCntLines) = 27;
    std::array<int32_t, kLineWords> line{};
    line[6] = 100;
    line[12] = 21 * 32 + 1;
    RECIO(-1, kArrLines, 27, line);
  });
  ASSERT_EQ(open(file, 2 * kN), 0);
  // Every node on the entity: 32 marks, the whole element.
  Found f = ueface(5020, 30, 0, 0, 0, 32);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.face, 0);
  // The twelve nodes of a face: sum 78 orders them corners first, whose sum 22 is face 5.
  f = ueface(5020, 30, 2, 27, 4, 12);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.face, 5);
  EXPECT_EQ(ueface(5020, 30, 2, 27, 0, 12).status, 6);  // unordered: no face
  EXPECT_EQ(ueface(5020, 30, 2, 27, 4, 13).status, 5);
}

TEST_F(Faces, TheOrientationReadsTheStoresNodes) {
  // Element 1's nodes (a right-handed unit cube) against its two layers swapped.
  const std::vector<int32_t> cube = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<int32_t> turned = {5, 6, 7, 8, 1, 2, 3, 4};
  EXPECT_EQ(facsel(13, 8, 4, {1, 2, 3, 4}, cube).orientation, 1);
  EXPECT_EQ(facsel(13, 8, 4, {1, 2, 3, 4}, turned).orientation, -1);
  // The host's numbers are no node of the store: no orientation.
  EXPECT_EQ(facsel(13, 8, 4, {1, 2, 3, 4}, {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}).orientation, 0);
  EXPECT_EQ(facsel(5, 4, 2, {1, 4}, {13, 14, 15, 16}).orientation, 0);  // not a solid
}

TEST(Upfn, TheLocalNodesOfAFaceInTheEdgeWalkNumbering) {
  struct Case {
    int32_t shape, face, capacity;
    std::vector<int32_t> list;
    int32_t count, status;
  };
  const Case cases[] = {
      {30, 5, 15, {1, 10, 7, 4, 2, 3, 5, 6, 8, 9, 11, 12, 0, 0, 0}, 12, 0},
      {13, 1, 3, {0, 0, 0}, 4, 9},
      {20, 0, 4, {0, 0, 0, 0}, 0, 1},
      {13, 7, 8, {0, 0, 0, 0, 0, 0, 0, 0}, 4, 2},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> list(static_cast<size_t>(c.capacity) + 2, -1);
    int32_t shape = c.shape, face = c.face, spare = 99, capacity = c.capacity;
    int32_t count = -1, status = -1;
    dll_upfn(&shape, &face, &spare, &capacity, list.data(), &count, &status);
    EXPECT_EQ(status, c.status) << c.shape << " " << c.face;
    if (c.status != 1) {
      EXPECT_EQ(count, c.count) << c.shape << " " << c.face;
    }
    // Cleared to the capacity, nothing past it.
    EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + c.capacity), c.list);
    EXPECT_EQ(list[static_cast<size_t>(c.capacity)], -1);
  }
}

}  // namespace
}  // namespace kvr::test
