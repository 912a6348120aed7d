// Connections: the chain way along meshed edges, the pairing way with its two modes and
// its bounds, the status the query makes of both, the warning of a slow pairing, and the
// mesh along a line that the chain builder asks for.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "modeldb/entrec.h"
#include "modelquery/connect.h"
#include "platform/unitio.h"
#include "queryfixture.h"
#include "runtime/iounit.h"
#include "runtime/journal.h"

namespace kvr::test {
namespace {

using Flags = std::array<int32_t, 16>;

constexpr int32_t kSentinel = -7;
constexpr int32_t kRoomy = 100000;  // the chain way's scratch and the mesh collection
constexpr int32_t kConnect = 35, kReversed = 36, kFiveFour = 37, kCentred = 38, kPoints = 39,
                  kCentredPlain = 40;

// The pairs of the fine edge 21-25 and the coarse edge 26-28.
const std::vector<int32_t> kEdgePairs = {1021, 1, 1026, 1022, 2, 1026, 1027, 1023, 1, 1027,
                                         1024, 2, 1027, 1028, 1025, 1, 1028, 0};

class Connections : public QuerySession {
 protected:
  struct Answer {
    std::vector<int32_t> list;
    Flags flags{};
    int32_t status = kSentinel;
  };
  static Answer uconct(int32_t number, int32_t size = kRoomy) {
    Answer a;
    a.list.assign(static_cast<size_t>(size) + 3, kSentinel);
    a.flags.fill(kSentinel);
    dll_uconct(&number, a.list.data(), &size, a.flags.data(), &a.status);
    return a;
  }
  static std::vector<int32_t> first(const std::vector<int32_t>& list, size_t n) {
    return {list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n)};
  }
  static bool untouchedFrom(const std::vector<int32_t>& list, size_t from) {
    return std::all_of(list.begin() + static_cast<std::ptrdiff_t>(from), list.end(),
                       [](int32_t v) { return v == kSentinel; });
  }
  // The pairing way on stored sets (queries' numbers) in MODE.
  static std::vector<int32_t> pairSets(int32_t set1, int32_t set2, int32_t mode, int32_t size,
                                       int32_t& status) {
    std::vector<int32_t> list(static_cast<size_t>(size) + 3, kSentinel);
    list[0] = mode;
    CONNOD(7, 7, set1, 7, set2, list, size, status);
    return list;
  }
};

TEST_F(Connections, FineAndCoarseEdgesPairAlongTheirMeshes) {
  start();
  Answer a = uconct(kConnect);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(first(a.list, kEdgePairs.size()), kEdgePairs);
  EXPECT_EQ(a.flags, (Flags{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // The coarse edge numbered the other way: its nodes are taken from its other end.
  a = uconct(kReversed);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(first(a.list, kEdgePairs.size()), kEdgePairs);
  EXPECT_TRUE(untouchedFrom(a.list, kRoomy));
}

TEST_F(Connections, WhenNeitherWayPairsTheSidesTheQuerySaysWhy) {
  start();
  // Chains of 5 and 4 nodes are no fine and coarse pair, nor can 5 nodes pair with 4.
  Answer a = uconct(kFiveFour);
  EXPECT_EQ(a.status, 5);
  EXPECT_EQ(a.flags[0], 1);  // the flags are written whatever the answer
  // CENTRED (no mesh) against COARSE: by plain distances each node takes the nearest;
  // in mode 1 its first node lies at its centroid, which gives no direction.
  a = uconct(kCentredPlain);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(first(a.list, 10), (std::vector<int32_t>{1034, 1, 1028, 1035, 1, 1027, 1036, 1, 1026, 0}));
  EXPECT_EQ(uconct(kCentred).status, 5);
  // Not a connection, missing, out of range: the flags untouched.
  for (const auto& [number, status] : {std::pair{29, 3}, {5, 2}, {0, 1}, {41, 1}}) {
    a = uconct(number);
    EXPECT_EQ(a.status, status) << number;
    EXPECT_EQ(a.flags[0], kSentinel) << number;
  }
}

TEST_F(Connections, PairingStaysWithinTheListAndKeepsItClosed) {
  start();
  // TRIO1 (nodes 1-3) with TRIO2 (4-6): three entries and the 0 take ten words.
  const std::vector<int32_t> pairs = {1001, 1, 1004, 1002, 1, 1006, 1003, 1, 1005, 0};
  Answer a = uconct(kPoints);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(first(a.list, 10), pairs);
  a = uconct(kPoints, 9);
  EXPECT_EQ(a.status, 9);
  EXPECT_EQ(first(a.list, 9), (std::vector<int32_t>{1001, 1, 1004, 1002, 1, 1006, 0, kSentinel, kSentinel}));
  EXPECT_TRUE(untouchedFrom(a.list, 7));
  // Ten words: the chain way has no room for its scratch, the pairing way has.
  a = uconct(kPoints, 10);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(first(a.list, 10), pairs);

  int32_t status = -1;
  std::vector<int32_t> list = pairSets(QueryModel::kSetTrio1, QueryModel::kSetTrio2, 0, 9, status);
  EXPECT_EQ(status, 9);
  EXPECT_TRUE(untouchedFrom(list, 9));
  // A set paired with itself: every node takes itself, no entry.
  list = pairSets(QueryModel::kSetTrio1, QueryModel::kSetTrio1, 0, 4, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(list[0], 0);
  // Sides of different counts, and a kind without nodes.
  pairSets(QueryModel::kSetTrio1, QueryModel::kSetMixed, 0, 40, status);
  EXPECT_EQ(status, 4);
  list.assign(8, 0);
  CONNOD(7, 5, 1, 7, QueryModel::kSetTrio1, list, 8, status);
  EXPECT_EQ(status, 1);
  CONNOD(6, 7, QueryModel::kSetTrio1, 7, QueryModel::kSetTrio2, list, 8, status);
  EXPECT_EQ(status, 5);
}

TEST_F(Connections, ModeOnePairsByPositionAboutTheCentroids) {
  start();
  // About the centroids, node 2 lies where node 5 lies (node 6 by plain distance).
  int32_t status = -1;
  std::vector<int32_t> list = pairSets(QueryModel::kSetTrio1, QueryModel::kSetTrio2, 1, 20, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(first(list, 10), (std::vector<int32_t>{1001, 1, 1004, 1002, 1, 1005, 1003, 1, 1006, 0}));
  // A first node within the model tolerance of its side's centroid gives no direction.
  GEOSTA.setReal(kGeoModelTolerance, 0.001f);
  list = pairSets(QueryModel::kSetTrio1, QueryModel::kSetTrio2, 1, 20, status);
  EXPECT_EQ(status, 0);
  GEOSTA.setReal(kGeoModelTolerance, 1.0f);  // |r1|^2 = 5/9, |r2|^2 = 1
  pairSets(QueryModel::kSetTrio1, QueryModel::kSetTrio2, 1, 20, status);
  EXPECT_EQ(status, 4);
}

// The mesh collection's outputs, each filled with -7 first.
struct Mesh {
  int32_t okind = kSentinel, onum = kSentinel, count = kSentinel, face = kSentinel,
          word = kSentinel, elements = kSentinel, status = kSentinel;
  std::array<int32_t, 9> positions{};
  std::vector<int32_t> list;
};
Mesh conmsh(int32_t kind, int32_t line, int32_t capacity = kMeshCapacity) {
  Mesh m;
  m.positions.fill(kSentinel);
  m.list.assign(static_cast<size_t>(std::max(capacity, 0)), kSentinel);
  CONMSH(kind, line, m.okind, m.onum, m.count, m.positions, m.face, m.word, m.elements, m.list,
         capacity, m.status);
  return m;
}

TEST_F(Connections, TheMeshAlongALine) {
  start();
  // FINE's own four elements, their first element's ends.
  Mesh m = conmsh(2, 21);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.okind, 2);
  EXPECT_EQ(m.onum, 21);
  EXPECT_EQ(m.count, 2);
  EXPECT_EQ(m.positions, (std::array<int32_t, 9>{1, 2, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(m.face, 0);
  EXPECT_EQ(m.word, 1);
  EXPECT_EQ(m.elements, 4);
  EXPECT_EQ(first(m.list, 5), (std::vector<int32_t>{5011, 5012, 5013, 5014, kSentinel}));
  // A capacity below 80000 is refused before anything is written.
  m = conmsh(2, 21, kMeshCapacity - 1);
  EXPECT_EQ(m.status, 9);
  EXPECT_EQ(m.okind, kSentinel);
  EXPECT_EQ(m.count, kSentinel);
  EXPECT_EQ(m.word, kSentinel);
  EXPECT_EQ(m.positions[0], kSentinel);
  EXPECT_TRUE(untouchedFrom(m.list, 0));
  // No line, another kind, a line neither meshed nor bounding a surface.
  EXPECT_EQ(conmsh(2, 0).status, 1);
  EXPECT_EQ(conmsh(2, QueryModel::kAllLines + 1).status, 1);
  EXPECT_EQ(conmsh(3, 4).status, 1);
  m = conmsh(2, 26);
  EXPECT_EQ(m.status, 3);
  EXPECT_EQ(m.okind, 2);
  EXPECT_EQ(m.elements, 0);
}

// A QU8 (element 20, numbered round its edge: corners 13, 14, 15, 16 at positions 1, 3, 5,
// 7) meshes SM, whose boundary holds lines 27 (13, 21, 14: edge 1) and 28 (16, 24, 13:
// edge 4); line 29 runs between two points on node 33, meshed by element 11, and
// condition 40 connects it with itself in mode 1.
class MeshVariant : public Connections {
 protected:
  void SetUp() override {
    Connections::SetUp();
    const std::string file = variant("meshes", [] {
      MODCNT.word(kCntHighestElement) = 20;
      std::vector<int32_t> qu8 = {13, 21, 14, 22, 15, 23, 16, 24};
      qu8.resize(kElementNodes, 0);
      int32_t nnod = 8, shape = 9, stat = 0;
      ELCONN(-20, qu8, nnod, shape, stat);
      std::vector<int32_t> lists = {13, 21, 14, 0, 16, 24, 13, 0, 33, 0};
      lists.resize(32, 0);
      ARRIO(-1, 23, 22, 1, -1, lists, {}, stat);
      MODCNT.word(kCntPackedListEnd) = std::max(MODCNT.word(kCntPackedListEnd), 21 * 32 + 11);
      MODCNT.word(kCntLines) = 29;
      MODCNT.word(kCntPoints) = 35;
      const std::array<std::array<int32_t, 5>, 3> lines = {
          {{27, 100, 673, 0, 0}, {28, 100, 677, 0, 0}, {29, 103, 681, 34, 35}}};
      for (const auto& l : lines) {
        std::array<int32_t, kLineWords> w{};
        w[1] = l[3];
        w[2] = l[4];
        w[6] = l[1];
        w[12] = l[2];
        if (l[0] == 29) w[7] = w[8] = 11;
        RECIO(-1, kArrLines, l[0], w);
      }
      for (const int32_t p : {34, 35}) {
        std::array<int32_t, kPointWords> w{};
        w[5] = 33;
        RECIO(-1, kArrPoints, p, w);
      }
      std::array<int32_t, kSurfaceWords> sm{};
      RECIO(1, kArrSurfaces, 4, sm);
      sm[1] = 27;
      sm[2] = 28;
      sm[6] = sm[7] = 20;
      RECIO(-1, kArrSurfaces, 4, sm);
      std::array<float, 6> v = {107, 3, 292, 0, 292, 0};
      int32_t count = 6;
      ATTVLR(-1, 5, 40, 1, count, v);
    });
    ASSERT_EQ(open(file, 2 * kN), 0);
  }
};

TEST_F(MeshVariant, ASurfaceGivesItsElementsAlongTheLineEndsFirst) {
  // Edge 1 of the QU8: its middle node is moved behind the ends.
  Mesh m = conmsh(2, 27);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.okind, 3);
  EXPECT_EQ(m.onum, 4);
  EXPECT_EQ(m.count, 3);
  EXPECT_EQ(m.positions, (std::array<int32_t, 9>{1, 3, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(m.face, 1);
  EXPECT_EQ(m.word, 0);  // a plane element has no orientation
  EXPECT_EQ(m.elements, 1);
  EXPECT_EQ(m.list[0], 5020);
  // Edge 4 ends at the element's last position: its order stays.
  m = conmsh(2, 28);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(m.positions, (std::array<int32_t, 9>{1, 7, 8, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(m.face, 4);
}

TEST_F(MeshVariant, ACoarseChainOfOneNodeGivesAnEmptyList) {
  // Both chains of line 29 hold node 33 alone: nothing to pair, position 1 (the mode, 1)
  // becomes the list's end.
  std::vector<int32_t> list(kRoomy, kSentinel);
  list[0] = 1;
  int32_t status = -1;
  CONLST(2, 29, 2, 29, list, kRoomy, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(list[0], 0);
  Answer a = uconct(40);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.list[0], 0);
}

TEST_F(Connections, PairingFiveHundredNodesWarnsOnce) {
  // 500 nodes (41-500 at the origin); condition 40 connects every node with every node
  // (target code 0), condition 39 every node with the fine edge.
  const std::string file = variant("many", [] {
    for (int32_t n = QueryModel::kAllNodes + 1; n <= 500; ++n) {
      std::vector<float> xyz = {0, 0, 0};
      int32_t stat = 0;
      ARRIO(-1, kArrNodeCoordinates, n, 1, 1, {}, xyz, stat);
      std::vector<int32_t> words = {0, 0};
      ARRIO(-1, 11, n, 1, -1, words, {}, stat);
    }
    MODCNT.word(kCntHighestNode) = 500;
    for (const auto& [id, second] : {std::pair{40, 0.0f}, {39, 212.0f}}) {
      std::array<float, 6> v = {7, 3, 0, 0, second, 0};
      int32_t count = 6;
      ATTVLR(-1, 5, id, 1, count, v);
    }
  });
  ASSERT_EQ(open(file, 1000), 0);
  // The journals, on units of their own.
  constexpr int32_t kJournal1 = 61, kJournal2 = 62;
  for (const auto& [unit, name] : {std::pair{kJournal1, "journal1.txt"}, {kJournal2, "journal2.txt"}}) {
    io::OpenSpec want;
    want.file = dir.file(name);
    want.status = io::Status::Unknown;
    ASSERT_EQ(io::unitOpen(unit, want), io::kIosOk);
  }
  IOUNIT.slot(kSlotJournalFile) = kJournal1;
  IOUNIT.slot(kSlotLogFile) = kJournal2;
  JRNFLG.channel1.enable = 1;
  JRNFLG.channel2.enable = 1;
  IOUNIT.journal1Enable = 1;
  gLines.clear();

  const std::string warning = "WARNING: PROCESSING MPC RCONNECT WITH NUMEROUS NODES, THIS MAY BE SLOW";
  Answer a = uconct(40, 4000);
  EXPECT_EQ(a.status, 0);  // every node takes itself
  EXPECT_EQ(a.list[0], 0);
  EXPECT_EQ(std::count(gLines.begin(), gLines.end(), warning), 1);
  EXPECT_EQ(gLines.size(), 1u);
  // 500 nodes against 5: no warning (and no pairing).
  EXPECT_EQ(uconct(39, 4000).status, 5);
  EXPECT_EQ(gLines.size(), 1u);
  for (const int32_t unit : {kJournal1, kJournal2}) io::unitFlush(unit);
  for (const char* name : {"journal1.txt", "journal2.txt"}) {
    const std::vector<std::string> lines = readLines(dir.file(name));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  ! " + warning), 1) << name;
  }
}

}  // namespace
}  // namespace kvr::test
