// Surface boundary and body topology on lines, surfaces, bodies, sets and chained lists
// written into the model store: the side chains of lines and composite lines with their
// division limit, the side tables of surfaces joined into loops, the reversal and cyclic
// renumbering of chains, the topology of hexahedra, swept and listed bodies, and the
// start-side words of surface sets.
#include "geometry/srftop.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "linemodel_fixture.h"
#include "modeldb/linrec.h"
#include "modelquery/setlst.h"
#include "modelquery/setqry.h"
#include "runtime/modcnt.h"

namespace kvr::test {
namespace {

constexpr int32_t kArrBodyNames = 7;
constexpr int32_t kArrSetNames = 18;
constexpr int32_t kArrSetHeaders = 19;
constexpr int32_t kArrMemberBlocks = 20;
constexpr int32_t kBlockWords = 63;
constexpr int32_t kSentinel = -77;

class Topology : public LineModel {
 protected:
  // Line ID from A to B of N divisions graded by D (word 4 = sign(D) (100 |D| + N)).
  static int32_t graded(int32_t id, int32_t a, int32_t b, int32_t n, int32_t d = 0) {
    const int32_t w4 = d < 0 ? -(100 * -d + n) : 100 * d + n;
    return line(id, {{2, a}, {3, b}, {4, w4}, {7, 100}});
  }
  // Composite line ID of the MEMBERS (2 to 20), stored as the line records keep them.
  static int32_t members(int32_t id, const std::vector<int32_t>& list) {
    line(id, {{2, 0}, {3, 0}, {7, 900}});
    int32_t stat = -9;
    LNP08B(id, list, static_cast<int32_t>(list.size()), stat);
    EXPECT_EQ(stat, 0);
    return id;
  }
  // Surface ID of the set-defined TYPE: line set SET, COUNT entries stored at LIST.
  static int32_t setSurface(int32_t id, int32_t type, int32_t set, int32_t count, int32_t list) {
    putInts(kArrSurfaces, (id - 1) * kSurfaceWords + 1,
            record(kSurfaceWords, {{2, set}, {3, count}, {4, list}, {6, type * 100}}));
    putName(kArrSurfaceNames, id, "S" + std::to_string(id));
    MODCNT.word(kCntSurfaces) = std::max(MODCNT.word(kCntSurfaces), id);
    return id;
  }
  // Body ID "B<ID>" with record words 1 to 7 (further words 0).
  static int32_t body(int32_t id, std::array<int32_t, 7> w) {
    putInts(kArrBodies, (id - 1) * kBodyWords + 1,
            record(kBodyWords, {{1, w[0]}, {2, w[1]}, {3, w[2]}, {4, w[3]}, {5, w[4]},
                                {6, w[5]}, {7, w[6]}}));
    putName(kArrBodyNames, id, "B" + std::to_string(id));
    MODCNT.word(kCntBodies) = std::max(MODCNT.word(kCntBodies), id);
    return id;
  }
  // Stored set S of TYPE (member KIND) with its PAIRS (first word, member) in block S.
  static int32_t set(int32_t s, int32_t type, int32_t kind, std::vector<int32_t> pairs) {
    putName(kArrSetNames, s, "SET" + std::to_string(s));
    putInts(kArrSetHeaders, s, {s, type, 0, kind});
    pairs.resize(kBlockWords, 0);
    putInts(kArrMemberBlocks, s, pairs);
    MODCNT.word(kCntSets) = std::max(MODCNT.word(kCntSets), s);
    MODCNT.word(kCntSetBlockTop) = std::max(MODCNT.word(kCntSetBlockTop), s);
    return s;
  }
  // A new chained list of VALUES; its position.
  static int32_t list(std::vector<int32_t> values) {
    int32_t position = 0;
    int32_t count = 0;
    int32_t stat = -9;
    FACSRC(kListWrite, position, static_cast<int32_t>(values.size()), values, count, stat);
    EXPECT_EQ(stat, 0);
    return position;
  }
  static int32_t startOf(const SidChn& c) { return c.at(2, 1); }
  static int32_t endOf(const SidChn& c) { return c.at(2, c.at(4, 1) + 1); }
  static void expectName(int32_t slot, const std::string& name) {
    const std::string padded = (name + "        ").substr(0, 8);
    EXPECT_EQ(MSGARG.value(slot), a4Word(padded.substr(0, 4))) << name;
    EXPECT_EQ(MSGARG.value(slot + 1), a4Word(padded.substr(4))) << name;
  }

  // The unit square on points 101-104 (counter-clockwise from the origin) at height Z.
  static void square(int32_t first, float z) {
    point(first, {0, 0, z});
    point(first + 1, {1, 0, z});
    point(first + 2, {1, 1, z});
    point(first + 3, {0, 1, z});
  }

  // The unit cube: bottom corners 101-104, top corners 105-108 above them. Bottom lines
  // 101-104 in loop order, top lines 105 (105-108), 106 (108-107), 107 (107-106), 108
  // (106-105) running against the bottom, vertical lines 109 (101-105), 110 (102-106), 111
  // (103-107) and 112 stored downwards (108-104). Surfaces: 101 the bottom, 102 the top,
  // 103-106 the side faces on bottom sides 1 to 4. Body 101 of type 1 lists its side faces
  // as 105, 103, 106, 104.
  static void cube() {
    square(101, 0);
    square(105, 1);
    graded(101, 101, 102, 4);
    graded(102, 102, 103, 4);
    graded(103, 103, 104, 4);
    graded(104, 104, 101, 4);
    graded(105, 105, 108, 4);
    graded(106, 108, 107, 4);
    graded(107, 107, 106, 4);
    graded(108, 106, 105, 4);
    graded(109, 101, 105, 3, 2);
    graded(110, 102, 106, 3, 2);
    graded(111, 103, 107, 3, 2);
    graded(112, 108, 104, 3, 2);
    surface(101, 1, {101, 102, 103, 104});
    surface(102, 1, {105, 106, 107, 108});
    surface(103, 1, {101, 110, 108, 109});
    surface(104, 1, {102, 111, 107, 110});
    surface(105, 1, {103, 112, 106, 111});
    surface(106, 1, {104, 109, 105, 112});
    body(101, {1, 101, 102, 105, 103, 106, 104});
  }

  struct Body {
    int32_t status = -9;
    SidTab bottom, top, edges;
    BodFac faces;
  };
  static Body bodtop(int32_t b) {
    Body r;
    BODTOP(b, r.bottom, r.top, r.edges, r.faces, r.status);
    return r;
  }
  static std::pair<int32_t, SidTab> srftop(int32_t s) {
    SidTab t;
    t.chain(1).words.fill(kSentinel);
    int32_t status = -9;
    SRFTOP(s, t, status);
    return {status, t};
  }
};

// ---- Side chains ---------------------------------------------------------------------

TEST_F(Topology, StraightLineIsOneSegment) {
  point(101, {0, 0, 0});
  point(102, {1, 0, 0});
  graded(101, 102, 101, 12, -3);
  SidChn c;
  c.words.fill(kSentinel);
  int32_t status = -9;
  LINDIV(101, c, status);
  EXPECT_EQ(status, 0);
  const std::array<int32_t, 10> expected = {0, 102, 12, 1, 101, 0, 101, 12, 101, -3};
  for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(c.words[k], expected[k]) << k + 1;
  for (size_t k = expected.size(); k < c.words.size(); ++k) EXPECT_EQ(c.words[k], 0) << k + 1;
}

TEST_F(Topology, CompositeWalksItsMembersEndToEnd) {
  // Member 101 is stored from 102 to 101 and its first point is an end of member 102, so
  // the walk starts at 101; 102 runs against the walk as well, 103 with it.
  for (int32_t p = 101; p <= 104; ++p) point(p, {static_cast<float>(p - 101), 0, 0});
  graded(101, 102, 101, 5, 2);
  graded(102, 103, 102, 6, -3);
  graded(103, 103, 104, 7, 4);
  members(110, {101, 102, 103});
  SidChn c;
  int32_t status = -9;
  LINDIV(110, c, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(c.at(2, 1), 101);
  EXPECT_EQ(c.at(3, 1), 18);
  EXPECT_EQ(c.at(4, 1), 3);
  EXPECT_EQ(c.at(5, 1), 110);
  struct Segment {
    int32_t end, divisions, line, grading;
  };
  const Segment segments[] = {{102, 5, 101, -2}, {103, 6, 102, 3}, {104, 7, 103, 4}};
  for (int32_t k = 1; k <= 3; ++k) {
    const Segment& s = segments[k - 1];
    EXPECT_EQ(c.at(1, k + 1), 0) << k;
    EXPECT_EQ(c.at(2, k + 1), s.end) << k;
    EXPECT_EQ(c.at(3, k + 1), s.divisions) << k;
    EXPECT_EQ(c.at(4, k + 1), s.line) << k;
    EXPECT_EQ(c.at(5, k + 1), s.grading) << k;
  }
}

TEST_F(Topology, DivisionLimitOfASide) {
  // Sixteen members: fifteen of 99 divisions and the last of 16 (1501), or of 15 (1500).
  for (int32_t p = 101; p <= 117; ++p) point(p, {static_cast<float>(p - 101), 0, 0});
  std::vector<int32_t> list;
  for (int32_t k = 0; k < 15; ++k) list.push_back(graded(101 + k, 101 + k, 102 + k, 99));
  list.push_back(graded(116, 116, 117, 16));
  members(117, list);
  SidChn c;
  int32_t status = -9;
  LINDIV(117, c, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(MSGARG.number(), 2082);
  expectName(1, "L117");
  EXPECT_EQ(MSGARG.type(3), MsgArg::kReal);
  EXPECT_EQ(std::bit_cast<float>(MSGARG.value(3)), 1500.0f);

  graded(116, 116, 117, 15);
  MSGARG = {};
  LINDIV(117, c, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(c.at(3, 1), 1500);
  EXPECT_EQ(c.at(4, 1), 16);
  EXPECT_EQ(c.at(2, 17), 117);
  EXPECT_EQ(MSGARG.number(), 0);
}

TEST_F(Topology, MoreMembersThanAChainHolds) {
  // Word 6 of a composite claims 21 members: the chain ends at segment 20 and the next
  // chain of the table keeps what it held; the surface names the line.
  square(101, 0);
  graded(101, 101, 102, 2);
  graded(103, 103, 104, 2);
  graded(104, 104, 101, 2);
  line(102, {{2, 102}, {3, 103}, {6, 21}, {7, 900}});
  SidTab t;
  t.chain(3).words.fill(kSentinel);
  int32_t status = -9;
  LINDIV(102, t.chain(2), status);
  EXPECT_EQ(status, 1);
  for (int32_t w : t.chain(3).words) EXPECT_EQ(w, kSentinel);

  surface(101, 1, {101, 102, 103, 104});
  auto [s, table] = srftop(101);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(MSGARG.number(), 2019);
  expectName(1, "S101");
  expectName(3, "L102");
  for (int32_t w : table.chain(3).words) EXPECT_EQ(w, 0);
}

TEST_F(Topology, ReversingAChain) {
  // One segment: the points exchanged and the grading negated.
  SidChn one;
  one.at(2, 1) = 5;
  one.at(3, 1) = 8;
  one.at(4, 1) = 1;
  one.at(5, 1) = 40;
  one.at(2, 2) = 6;
  one.at(3, 2) = 8;
  one.at(4, 2) = 40;
  one.at(5, 2) = 3;
  LOPREV(one);
  EXPECT_EQ(one.at(2, 1), 6);
  EXPECT_EQ(one.at(2, 2), 5);
  EXPECT_EQ(one.at(5, 2), -3);
  EXPECT_EQ(one.at(3, 2), 8);
  EXPECT_EQ(one.at(5, 1), 40);

  // Three segments 1-2 (line 11), 2-3 (12), 3-4 (13): 4-3, 3-2, 2-1 with the lines in
  // reverse and every grading negated; header and word 1 of each column in place.
  SidChn three;
  three.at(1, 1) = 9;
  three.at(2, 1) = 1;
  three.at(3, 1) = 60;
  three.at(4, 1) = 3;
  three.at(5, 1) = 99;
  for (int32_t k = 1; k <= 3; ++k) {
    three.at(1, k + 1) = 100 + k;
    three.at(2, k + 1) = k + 1;
    three.at(3, k + 1) = 10 * k;
    three.at(4, k + 1) = 10 + k;
    three.at(5, k + 1) = k;
  }
  LOPREV(three);
  EXPECT_EQ(three.at(1, 1), 9);
  EXPECT_EQ(three.at(3, 1), 60);
  EXPECT_EQ(three.at(5, 1), 99);
  for (int32_t k = 1; k <= 4; ++k) EXPECT_EQ(three.at(2, k), 5 - k) << k;
  for (int32_t k = 1; k <= 3; ++k) {
    EXPECT_EQ(three.at(1, k + 1), 100 + k) << k;
    EXPECT_EQ(three.at(3, k + 1), 10 * (4 - k)) << k;
    EXPECT_EQ(three.at(4, k + 1), 14 - k) << k;
    EXPECT_EQ(three.at(5, k + 1), -(4 - k)) << k;
  }
}

TEST_F(Topology, CyclicRenumbering) {
  // Chain j runs from corner 10 j to the next corner with line 100 + j and grading j.
  auto table = [] {
    SidTab t;
    for (int32_t j = 1; j <= 4; ++j) {
      SidChn& c = t.chain(j);
      c.at(2, 1) = 10 * j;
      c.at(4, 1) = 1;
      c.at(5, 1) = 100 + j;
      c.at(2, 2) = 10 * (j % 4 + 1);
      c.at(4, 2) = 100 + j;
      c.at(5, 2) = j;
    }
    t.chain(1).at(1, 1) = 7;
    return t;
  };
  struct Case {
    int32_t orientation, start;
    std::array<int32_t, 4> order;
    bool reversed;
  } cases[] = {
      {1, 1, {1, 2, 3, 4}, false},
      {1, 2, {4, 1, 2, 3}, false},
      {1, 4, {2, 3, 4, 1}, false},
      {-1, 1, {1, 4, 3, 2}, true},
      {-1, 3, {3, 2, 1, 4}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.orientation << ", " << c.start);
    SidTab t = table();
    CYCREN(c.orientation, c.start, t);
    EXPECT_EQ(t.chain(1).at(1, 1), 7);
    for (int32_t j = 1; j <= 4; ++j) {
      const int32_t old = c.order[static_cast<size_t>(j - 1)];
      const SidChn& got = t.chain(j);
      EXPECT_EQ(got.at(5, 1), 100 + old) << j;
      const int32_t from = 10 * old;
      const int32_t to = 10 * (old % 4 + 1);
      EXPECT_EQ(got.at(2, 1), c.reversed ? to : from) << j;
      EXPECT_EQ(got.at(2, 2), c.reversed ? from : to) << j;
      EXPECT_EQ(got.at(5, 2), c.reversed ? -old : old) << j;
    }
  }
}

// ---- Surfaces ------------------------------------------------------------------------

TEST_F(Topology, SurfaceLoopWithABackwardFirstSide) {
  square(101, 0);
  graded(101, 102, 101, 3, 2);
  graded(102, 102, 103, 4);
  graded(103, 104, 103, 5);
  graded(104, 104, 101, 6);
  surface(101, 3, {101, 102, 103, 104});
  auto [status, t] = srftop(101);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.chain(1).at(1, 1), 3);
  for (int32_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(startOf(t.chain(i)), 100 + i) << i;
    EXPECT_EQ(endOf(t.chain(i)), 100 + i % 4 + 1) << i;
    EXPECT_EQ(t.chain(i).at(5, 1), 100 + i) << i;
  }
  EXPECT_EQ(t.chain(1).at(5, 2), -2);  // side 1 turned round
  EXPECT_EQ(t.chain(3).at(5, 2), 0);
  EXPECT_EQ(MSGARG.number(), 0);

  // A three-sided surface leaves chain 4 empty.
  graded(105, 103, 101, 2);
  surface(102, 2, {101, 102, 105, 0});
  std::tie(status, t) = srftop(102);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.chain(1).at(1, 1), 2);
  EXPECT_EQ(endOf(t.chain(3)), 101);
  for (int32_t w : t.chain(4).words) EXPECT_EQ(w, 0);
}

TEST_F(Topology, SurfaceLoopsThatBreak) {
  square(101, 0);
  point(105, {2, 2, 0});
  graded(101, 101, 102, 2);
  graded(102, 102, 103, 2);
  graded(103, 103, 104, 2);
  graded(104, 104, 105, 2);  // ends away from the first corner
  graded(105, 105, 106, 2);  // touches neither end of side 2
  point(106, {3, 3, 0});
  graded(106, 102, 104, 2);  // starts where side 2 starts
  struct Case {
    std::array<int32_t, 4> lines;
    std::string point;
  } cases[] = {
      {{101, 102, 103, 104}, "P105"},  // the loop does not close: the last side's end
      {{101, 102, 105, 104}, "P103"},  // no case fits at side 2: its end point
      {{101, 102, 106, 104}, "P102"},  // side 3 leaves from the start of side 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.point);
    MSGARG = {};
    surface(101, 1, c.lines);
    const auto [status, t] = srftop(101);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(MSGARG.number(), 2019);
    expectName(1, "S101");
    expectName(3, c.point);
  }
}

TEST_F(Topology, SetDefinedSurfacesAndMissingOnes) {
  const int32_t three = list({7, -8, 9});
  setSurface(101, 5, 103, 3, three);
  auto [status, t] = srftop(101);
  EXPECT_EQ(status, 0);
  const std::array<int32_t, 6> expected = {5, 103, 3, 7, -8, 9};
  for (int32_t k = 1; k <= 6; ++k) EXPECT_EQ(t.word(k), expected[static_cast<size_t>(k - 1)]) << k;
  EXPECT_EQ(t.word(7), 0);

  // A stored count of 418 keeps the 417 entries the table holds.
  std::vector<int32_t> long418(418);
  for (int32_t k = 0; k < 418; ++k) long418[static_cast<size_t>(k)] = 1000 + k;
  setSurface(102, 7, 104, 418, list(long418));
  std::tie(status, t) = srftop(102);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(t.word(1), 7);
  EXPECT_EQ(t.word(3), 417);
  EXPECT_EQ(t.word(4), 1000);
  EXPECT_EQ(t.word(420), 1416);

  // A list shorter than its count reads as empty.
  setSurface(103, 6, 104, 4, three);
  std::tie(status, t) = srftop(103);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(t.word(3), 0);

  // Type 99 and a number of 0 answer an empty table; a number beyond the surfaces (or a
  // negative one past the count) is missing, without a message.
  setSurface(104, 99, 0, 0, 0);
  MSGARG = {};
  for (int32_t s : {104, 0, -3, QueryModel::kAllSurfaces + 1, 5000}) {
    std::tie(status, t) = srftop(s);
    EXPECT_EQ(status, s > 104 ? 1 : 0) << s;
    for (int32_t k = 1; k <= SidTab::kWords; ++k) ASSERT_EQ(t.word(k), 0) << s << " " << k;
  }
  EXPECT_EQ(MSGARG.number(), 0);
}

// ---- Bodies --------------------------------------------------------------------------

TEST_F(Topology, HexahedronWithTheTopLoopTurned) {
  cube();
  const Body b = bodtop(101);
  EXPECT_EQ(b.status, 0);
  const std::array<int32_t, 6> faces = {101, 102, 103, 104, 105, 106};
  for (int32_t e = 1; e <= 6; ++e) EXPECT_EQ(b.faces.at(1, e), faces[static_cast<size_t>(e - 1)]) << e;
  EXPECT_EQ(b.edges.word(1), 1);
  EXPECT_EQ(b.bottom.word(1), 1);
  for (int32_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(startOf(b.bottom.chain(i)), 100 + i) << i;
    EXPECT_EQ(startOf(b.edges.chain(i)), 100 + i) << i;
    EXPECT_EQ(endOf(b.edges.chain(i)), 104 + i) << i;
    // Top corner i is the end of vertical edge i, the top's sides run as the bottom's.
    EXPECT_EQ(startOf(b.top.chain(i)), endOf(b.edges.chain(i))) << i;
    EXPECT_EQ(endOf(b.top.chain(i)), 104 + i % 4 + 1) << i;
  }
  EXPECT_EQ(b.edges.chain(1).at(5, 1), 109);
  EXPECT_EQ(b.edges.chain(4).at(5, 1), 112);
  EXPECT_EQ(b.edges.chain(1).at(5, 2), 2);
  EXPECT_EQ(b.edges.chain(4).at(5, 2), -2);  // line 112 runs down: reversed
  EXPECT_EQ(b.edges.chain(2).at(3, 1), 3);
  EXPECT_EQ(b.top.chain(1).at(5, 1), 108);   // top side 1 (105-106) is line 108
  EXPECT_EQ(b.top.word(1), 1);
}

TEST_F(Topology, HexahedronFaults) {
  cube();
  // Bottom side 2 on a line of its own that no side face carries.
  graded(113, 102, 103, 4);
  surface(107, 1, {101, 113, 103, 104});
  body(102, {1, 107, 102, 105, 103, 106, 104});
  Body b = bodtop(102);
  EXPECT_EQ(b.status, 1);
  EXPECT_EQ(MSGARG.number(), 2030);
  expectName(1, "B102");
  expectName(3, "S104");  // the last face searched

  MSGARG = {};
  MSGARG.number() = -1;
  b = bodtop(-102);
  EXPECT_EQ(b.status, 1);
  EXPECT_EQ(MSGARG.number(), -1);

  // A top whose corner 2 is no neighbour of its corner 1 above the bottom.
  graded(114, 105, 107, 4);
  graded(115, 107, 106, 4);
  graded(116, 106, 108, 4);
  graded(117, 108, 105, 4);
  surface(108, 1, {114, 115, 116, 117});
  body(103, {1, 101, 108, 105, 103, 106, 104});
  MSGARG = {};
  b = bodtop(103);
  EXPECT_EQ(b.status, 1);
  EXPECT_EQ(MSGARG.number(), 2030);
  expectName(3, "S108");

  // Checks that fail without a message: a three-sided bottom for type 1, a missing side
  // face, a body number beyond the bodies, another body type.
  graded(118, 103, 101, 4);
  surface(109, 2, {101, 102, 118, 0});
  body(104, {1, 109, 102, 105, 103, 106, 104});
  body(105, {1, 101, 102, 105, 0, 106, 104});
  body(106, {7, 101, 102, 105, 103, 106, 104});
  MSGARG = {};
  for (int32_t n : {104, 105, 106, 107, 0}) {
    b = bodtop(n);
    EXPECT_EQ(b.status, 1) << n;
  }
  EXPECT_EQ(MSGARG.number(), 0);
}

TEST_F(Topology, ApexBody) {
  // A pyramid on a triangle: bottom 101-103, apex 104 above; type 3 with three faces.
  point(101, {0, 0, 0});
  point(102, {1, 0, 0});
  point(103, {0, 1, 0});
  point(104, {0, 0, 1});
  graded(101, 101, 102, 2);
  graded(102, 102, 103, 2);
  graded(103, 103, 101, 2);
  graded(104, 104, 101, 2);
  graded(105, 102, 104, 2);
  graded(106, 103, 104, 2);
  surface(101, 2, {101, 102, 103, 0});
  surface(102, 2, {101, 105, 104, 0});
  surface(103, 2, {102, 106, 105, 0});
  surface(104, 2, {103, 104, 106, 0});
  body(101, {3, 101, 104, 103, 102, 0, 0});
  const Body b = bodtop(101);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.faces.at(1, 2), 0);
  EXPECT_EQ(b.faces.at(1, 3), 102);
  EXPECT_EQ(b.faces.at(1, 4), 103);
  EXPECT_EQ(b.faces.at(1, 5), 104);
  EXPECT_EQ(b.top.word(2), 104);
  EXPECT_EQ(b.top.word(1), 0);
  for (int32_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(startOf(b.edges.chain(i)), 100 + i) << i;
    EXPECT_EQ(endOf(b.edges.chain(i)), 104) << i;
  }
  EXPECT_EQ(b.edges.word(1), 3);
}

TEST_F(Topology, ListedBody) {
  const int32_t at = list({4, 5, 6});
  body(101, {5, 0, 0, 112, 3, 0, at});
  Body b = bodtop(101);
  EXPECT_EQ(b.status, 0);
  const std::array<int32_t, 6> expected = {5, 112, 3, 4, 5, 6};
  for (int32_t k = 1; k <= 6; ++k) EXPECT_EQ(b.edges.word(k), expected[static_cast<size_t>(k - 1)]) << k;
  EXPECT_EQ(b.faces.at(1, 1), 0);
}

TEST_F(Topology, SweptBodyLoopByLoop) {
  // The cube's faces as a swept body: bottom and top set-defined by their line sets, the
  // side faces a set of surfaces whose first words (the start sides, 4: the side before
  // the bottom line) are their start-side words.
  cube();
  set(101, 4, 2, {1, 101, 1, 102, 1, 103, 1, 104});
  set(102, 4, 2, {1, 105, 1, 106, 1, 107, 1, 108});  // 105-108 upwards: the walk steps back
  set(103, 3, 3, {4, 103, 4, 104, 4, 105, 4, 106});
  setSurface(111, 5, 101, 0, 0);
  setSurface(112, 5, 102, 0, 0);
  body(110, {4, 111, 112, 103, 0, 0, 0});
  Body b = bodtop(110);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.edges.word(1), 4);
  EXPECT_EQ(b.edges.word(2), 103);
  EXPECT_EQ(b.faces.at(1, 1), 111);
  EXPECT_EQ(b.faces.at(1, 2), 112);
  EXPECT_EQ(MSGARG.number(), 0);

  // The start sides walked with the loops in the other sense.
  set(104, 3, 3, {-2, 103, -2, 104, -2, 105, -2, 106});
  body(111, {4, 111, 112, 104, 0, 0, 0});
  EXPECT_EQ(bodtop(111).status, 0);

  // Face 3 starting at its top side fits neither sense: named at the bottom.
  set(105, 3, 3, {4, 103, 4, 104, 2, 105, 4, 106});
  body(112, {4, 111, 112, 105, 0, 0, 0});
  b = bodtop(112);
  EXPECT_EQ(b.status, 1);
  EXPECT_EQ(MSGARG.number(), 2030);
  expectName(1, "B112");
  expectName(3, "S111");

  // A side face missing from the set, and a list count that differs from the bottom's.
  MSGARG = {};
  set(106, 3, 3, {4, 103, 4, 104, 4, 105});
  body(113, {4, 111, 112, 106, 0, 0, 0});
  EXPECT_EQ(bodtop(113).status, 1);
  EXPECT_EQ(MSGARG.number(), 2030);
  MSGARG = {};
  body(114, {4, 111, 112, 103, 1, list({103}), 0});
  EXPECT_EQ(bodtop(114).status, 1);
  EXPECT_EQ(MSGARG.number(), 0);
}

// ---- Start-side words ----------------------------------------------------------------

TEST_F(Topology, StartSideWordsOfSets) {
  set(101, 3, 3, {2, 103, -3, 104, 4, 105});
  set(102, 1, 0, {3, 103, 2, 101, 3, 104, 1, 101});
  auto read = [](int32_t first, int32_t n) {
    std::vector<int32_t> out;
    for (int32_t k = first; k < first + n; ++k) {
      int32_t v = 0;
      NAWORD(1, kArrSearchWork, k, v);
      out.push_back(v);
    }
    return out;
  };
  struct Case {
    int32_t set;
    std::vector<int32_t> words;
  } cases[] = {
      {101, {2, -3, 4}},
      {-101, {-4, 3, -2}},
      {102, {1, 1}},
      {-102, {-1, -1}},
  };
  for (const Case& c : cases) {
    int32_t position = 11;
    LOPFND(c.set, position);
    EXPECT_EQ(position, 10 + static_cast<int32_t>(c.words.size())) << c.set;
    EXPECT_EQ(read(11, static_cast<int32_t>(c.words.size())), c.words) << c.set;
  }
  // A missing set, and a set of lines: nothing written, the position unchanged.
  set(103, 4, 2, {1, 101});
  for (int32_t s : {120, -120, 103}) {
    int32_t position = 30;
    LOPFND(s, position);
    EXPECT_EQ(position, 30) << s;
  }
}

}  // namespace
}  // namespace kvr::test
