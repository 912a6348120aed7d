// Node markers, the packed list reader, the duplicate remover and the connection chains,
// on a small model in the full model registry; the chains ask fakes of the model queries
// installed in the query table.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "modeldb/attlst.h"
#include "modeldb/nodcol.h"
#include "nodemodelfixture.h"

namespace kvr {
namespace {

class NodeCollection : public NodeModel {
 protected:
  static constexpr int32_t kFlags = 60;

  // The nodes marked so far, in order.
  Words marked() const {
    Words m;
    for (int32_t n = 1; n <= kFlags; ++n) {
      if (flags[static_cast<size_t>(n - 1)] == 1) m.push_back(n);
    }
    return m;
  }
  void clear() {
    flags.assign(kFlags, 0);
    nmax = 0;
    stat = -1;
  }
  static Words range(int32_t a, int32_t b) {
    Words w;
    for (int32_t n = a; n <= b; ++n) w.push_back(n);
    return w;
  }
  static Words join(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  Words flags = Words(kFlags, 0);
  int32_t nmax = 0;
  int32_t stat = -1;
};

TEST_F(NodeCollection, ListReaderReadsARecordOnlyAtItsFirstSlot) {
  packed(1, {1});
  packed(33, {-7, 100000001, 100000000});
  std::array<int32_t, kListBlockWords> block{};
  int32_t pos = 33;
  int32_t val = 0;
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 7);  // without its sign
  EXPECT_EQ(pos, 34);
  // The store changes behind the buffer: positions 34 and 35 still answer from it.
  packed(33, {-7, 9, 11});
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 0);  // above the id limit
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 100000000);
  EXPECT_EQ(pos, 36);
  pos = 34;
  val = -1;  // forces the read
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 9);

  pos = -17;
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 17);
  EXPECT_EQ(pos, -17);

  // A position far beyond the stored lists ends the list instead of stopping the run.
  pos = kListBlockWords * 100000 + 1;
  val = 5;
  LSTNXT(pos, block, val);
  EXPECT_EQ(val, 0);
}

TEST_F(NodeCollection, DuplicateRemoverKeepsFirstOfEachInOrder) {
  struct Case {
    Words list;
    int32_t n;
    Words kept;
    int32_t nout;
  };
  const Case cases[] = {
      {{5, 3, 5, 7, 3}, 5, {5, 3, 7}, 3},
      {{4, 4, 4, 9}, 3, {4}, 1},  // entries past N stay out
      {{8, 2}, 1, {8}, 1},
      {{8, 2}, 0, {}, 0},
      {{8, 2}, -2, {8}, 1},
  };
  for (const Case& c : cases) {
    Words list = c.list;
    int32_t nout = -1;
    LSTUNQ(list, c.n, nout);
    EXPECT_EQ(nout, c.nout) << c.n;
    EXPECT_EQ(Words(list.begin(), list.begin() + std::min<size_t>(c.kept.size(), list.size())),
              c.kept);
  }
}

TEST_F(NodeCollection, PointMarksItsNodeWithinLimitAndHighestNode) {
  point(1, 40);
  MODCNT.word(kCntHighestNode) = 50;
  NODPNT(1, nmax, flags, 30, stat);
  EXPECT_EQ(stat, 9);
  EXPECT_EQ(nmax, 0);
  EXPECT_EQ(marked(), Words{});

  clear();
  nmax = 5;
  MODCNT.word(kCntHighestNode) = 39;
  NODPNT(1, nmax, flags, 30, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(nmax, 5);
  EXPECT_EQ(marked(), Words{});

  // Several points collect into one array; NMAX is never lowered.
  point(2, -12);
  point(3, 7);
  NODPNT(2, nmax, flags, 30, stat);
  NODPNT(3, nmax, flags, 30, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(nmax, 12);
  EXPECT_EQ(marked(), (Words{7, 12}));

  // Numbers that are no point mark nothing and do not stop the run.
  for (int32_t id : {0, -3, 61}) {
    NODPNT(id, nmax, flags, 30, stat);
    EXPECT_EQ(stat, 0) << id;
  }
  EXPECT_EQ(marked(), (Words{7, 12}));
}

TEST_F(NodeCollection, LineOfTypeFourWithoutListMarksItsNodeRange) {
  line(1, {{7, 400}, {5, 3}, {6, 6}});
  NODLIN(1, nmax, flags, kFlags, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(nmax, 6);
  EXPECT_EQ(marked(), range(3, 6));

  // Not tested against the highest node; the first node above LIMIT ends it.
  clear();
  line(2, {{7, 400}, {5, 48}, {6, 2000000000}});
  NODLIN(2, nmax, flags, 52, stat);
  EXPECT_EQ(stat, 9);
  EXPECT_EQ(nmax, 0);
  EXPECT_EQ(marked(), range(48, 52));

  // Another type without a list marks nothing.
  clear();
  line(3, {{7, 100}, {5, 3}, {6, 6}, {8, 1}, {9, 1}});
  quad(1, {21, 22, 23, 24});
  NODLIN(3, nmax, flags, kFlags, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(marked(), Words{});
}

TEST_F(NodeCollection, LineListEndsTheRoutineOrLeadsOnToTheMesh) {
  quad(1, {21, 22, 23, 24});
  quad(2, {24, 25, 26, 27});
  MODCNT.word(kCntNodeListBound) = 3;
  line(1, {{7, 100}, {13, -33}, {8, 1}, {9, 2}});
  struct Case {
    Words list;
    Words marked;
  };
  const Case cases[] = {
      {{11, -12, 0, 13}, {11, 12}},  // an entry 0 ends it, the mesh unmarked
      {{11, 51, 13}, {11}},          // so does one above the highest node
      {{11, 12, 13, 14}, join({11, 12, 13}, range(21, 27))},  // after word 16 entries
  };
  for (const Case& c : cases) {
    clear();
    packed(33, c.list);
    NODLIN(1, nmax, flags, kFlags, stat);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(marked(), c.marked);
    EXPECT_EQ(nmax, c.marked.back());
  }

  // Type 99 has no list: only its mesh; a composite line marks nothing.
  clear();
  line(2, {{7, 9900}, {13, 33}, {8, 2}, {9, 2}});
  NODLIN(2, nmax, flags, kFlags, stat);
  EXPECT_EQ(marked(), range(24, 27));
  clear();
  line(3, {{7, 900}, {6, 2}, {8, 1}, {9, 2}, {13, 33}});
  NODLIN(3, nmax, flags, kFlags, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(marked(), Words{});
}

TEST_F(NodeCollection, MeshStatusIsThatOfTheLastConnectivityRead) {
  quad(1, {21, 22, 23, 24});
  quad(3, {31, 32, 33, 34});  // element 2 has no connectivity
  struct Case {
    int32_t first, last;
    int32_t stat;
    Words marked;
  };
  const Case cases[] = {
      {1, 2, 1, range(21, 24)},
      {2, 3, 0, range(31, 34)},
      {1, 1000000000, 1, join(range(21, 24), range(31, 34))},  // beyond the highest element
      {0, 3, 0, {}},  // no range
      {3, 1, 0, {}},
  };
  for (const Case& c : cases) {
    clear();
    line(1, {{7, 9900}, {8, c.first}, {9, c.last}});
    NODLIN(1, nmax, flags, kFlags, stat);
    EXPECT_EQ(stat, c.stat) << c.first << " " << c.last;
    EXPECT_EQ(nmax, c.stat != 0 || c.marked.empty() ? 0 : c.marked.back());
    EXPECT_EQ(marked(), c.marked);
  }
  clear();
  line(1, {{7, 9900}, {8, 1}, {9, 3}});
  NODLIN(1, nmax, flags, 32, stat);
  EXPECT_EQ(stat, 9);
  EXPECT_EQ(nmax, 0);
}

TEST_F(NodeCollection, SurfacesAndBodies) {
  quad(1, {21, 22, 23, 24});
  quad(2, {24, 25, 26, 27});
  MODCNT.word(kCntNodeListBound) = 2;
  packed(33, {11, 12, 13});
  struct Case {
    Words words;  // words 6, 13, 7, 8
    Words marked;
  };
  const Case cases[] = {
      {{100, 33, 1, 1}, join({11, 12}, range(21, 24))},
      {{9900, 33, 2, 2}, range(24, 27)},  // code 99: the mesh alone
      {{100, 0, 1, 2}, {}},               // no list position: nothing at all
      {{-9900, -33, 2, 1}, {11, 12}},
  };
  for (const Case& c : cases) {
    clear();
    surface(1, {{6, c.words[0]}, {13, c.words[1]}, {7, c.words[2]}, {8, c.words[3]}});
    NODSRF(1, nmax, flags, kFlags, stat);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(marked(), c.marked) << c.words[0];
  }

  clear();
  body(1, {{9, 1}, {10, 2}});
  NODBDY(1, nmax, flags, kFlags, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(nmax, 27);
  EXPECT_EQ(marked(), range(21, 27));
  for (const auto& r : {std::pair{3, 9}, {2, 1}, {-1, 2}}) {
    clear();
    body(2, {{9, r.first}, {10, r.second}});
    NODBDY(2, nmax, flags, kFlags, stat);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(marked(), Words{});
  }
  clear();
  NODBDY(6, nmax, flags, kFlags, stat);  // no such body
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(marked(), Words{});
}

// ---- Connection chains ------------------------------------------------------------------

struct ChainModel {
  std::map<int32_t, Words> lineNodes;
  std::map<int32_t, int32_t> eltype;  // by line; 3 when absent
  Words setLines;
  int32_t setStatus = 0;
  int32_t meshStatus = 0;
  bool nodesFail = false;
};
ChainModel gModel;

void fakeUSET2(const int32_t&, const int32_t& kind, FText name, std::span<int32_t> members,
               const int32_t& size, int32_t& count, int32_t& status) {
  count = 0;
  name.assign("CHAIN");
  status = kind != 2 ? 3 : gModel.setStatus;
  if (status != 0) return;
  if (static_cast<int32_t>(gModel.setLines.size()) > size) {
    status = 9;
    return;
  }
  std::copy(gModel.setLines.begin(), gModel.setLines.end(), members.begin());
  count = static_cast<int32_t>(gModel.setLines.size());
}

void fakeCONMSH(const int32_t&, const int32_t& id, int32_t& okind, int32_t& onum, int32_t& count,
                std::span<int32_t, 9>, int32_t&, int32_t&, int32_t&, std::span<int32_t> list,
                const int32_t& capacity, int32_t& status) {
  count = 0;
  if (capacity < 80000 || static_cast<int32_t>(list.size()) < capacity) {
    status = 9;
    return;
  }
  okind = 2;
  onum = id;
  status = gModel.meshStatus;
}

void fakeUELEMG(const int32_t& kind, const int32_t& number, int32_t&, int32_t&, int32_t& eltype,
                int32_t&, int32_t&, int32_t&, int32_t&, int32_t& status) {
  const auto at = gModel.eltype.find(number);
  eltype = at == gModel.eltype.end() ? 3 : at->second;
  status = kind == 2 ? 0 : 1;
}

void fakeUNODEG(const int32_t& kind, const int32_t& number, int32_t& count,
                std::span<int32_t> nodes, const int32_t& size, int32_t& status) {
  count = 0;
  status = 2;
  if (gModel.nodesFail) return;
  const Words w = kind == 1 ? Words{100 + number} : gModel.lineNodes.at(number);
  if (static_cast<int32_t>(w.size()) > size || w.size() > nodes.size()) {
    status = 9;
    return;
  }
  std::copy(w.begin(), w.end(), nodes.begin());
  count = static_cast<int32_t>(w.size());
  status = 0;
}

constexpr int32_t kSize = 80010;

// The room of a chain's work space.
struct Room {
  int32_t lsize = kSize;
  int32_t lcap = 10;
  int32_t maxn = 100;
  int32_t lines = 200;   // line-table entries the work space holds
  int32_t points = 400;  // point-table entries
};

class Chains : public NodeModel {
 protected:
  static constexpr int32_t kSentinel = -9;

  void SetUp() override {
    NodeModel::SetUp();
    gModel = {};
    DSCDSP.setMembers = fakeUSET2;
    DSCDSP.lineMesh = fakeCONMSH;
    DSCDSP.elementRange = fakeUELEMG;
    DSCDSP.entityNodes = fakeUNODEG;
    // A (1-2), B (2-3), C (4-3), D (2-5), a closing line 3-1, a type-4 line 3-6, and a
    // composite line of A and B.
    const std::array<std::array<int32_t, 3>, 6> ends = {
        {{1, 1, 2}, {2, 2, 3}, {3, 4, 3}, {4, 2, 5}, {5, 3, 1}, {6, 3, 6}}};
    for (const auto& e : ends) {
      line(e[0], {{2, e[1]}, {3, e[2]}, {7, e[0] == 6 ? 400 : 100}});
      gModel.lineNodes[e[0]] = {100 + e[1], 10 + e[0], 100 + e[2]};
    }
    line(7, {{7, 900}, {6, 2}, {8, 1}, {9, 2}});
    MODCNT.word(kCntLines) = 7;
  }
  void TearDown() override {
    gModel = {};
    NodeModel::TearDown();
  }

  struct Result {
    int32_t stat = -1;
    int32_t cls = -1;
    int32_t nnod = -1;
    Words list;  // LIST(1..NNOD)
    bool untouched = false;  // nothing written past LSIZE
  };
  static Result run(int32_t kind, int32_t id, Room room = {}) {
    Words list(static_cast<size_t>(room.lsize) + 10, kSentinel);
    Words ltab(static_cast<size_t>(room.lines) * 7);
    Words ptab(static_cast<size_t>(room.points) * 6);
    Words nodes(static_cast<size_t>(room.maxn));
    Result r;
    LNCHAN(kind, id, list, room.lsize, r.nnod, r.cls, room.lcap, room.maxn, ltab, ptab, nodes,
           r.stat);
    r.untouched = std::all_of(list.begin() + room.lsize, list.end(),
                              [](int32_t v) { return v == kSentinel; });
    if (r.stat == 0) r.list.assign(list.begin(), list.begin() + r.nnod);
    return r;
  }
  static Result runSet(Words lines, Room room = {}) {
    gModel.setLines = std::move(lines);
    return run(7, 2, room);
  }
};

TEST_F(Chains, LinesOfASetRunFromOneEndToTheOtherEachNodeOnce) {
  const Words chain = {101, 11, 102, 12, 103, 13, 104};
  Result r = runSet({1, 2, 3});
  EXPECT_EQ(r.stat, 0);
  EXPECT_EQ(r.cls, 1);
  EXPECT_EQ(r.nnod, 7);
  EXPECT_EQ(r.list, chain);  // C's nodes reversed, the shared nodes once
  EXPECT_TRUE(r.untouched);

  // A composite line stands for its members; the first end in table order starts.
  EXPECT_EQ(runSet({7, 3}).list, chain);
  EXPECT_EQ(runSet({3, 2, 1}).list, Words(chain.rbegin(), chain.rend()));

  r = run(2, 1);
  EXPECT_EQ(r.stat, 0);
  EXPECT_EQ(r.list, (Words{101, 11, 102}));

  gModel.eltype = {{1, 9}, {2, 10}, {3, 7}};
  r = runSet({1, 2, 3});
  EXPECT_EQ(r.stat, 0);
  EXPECT_EQ(r.cls, 2);
}

TEST_F(Chains, RefusedChainsAnswerOne) {
  struct Case {
    const char* what;
    Words lines;
    std::map<int32_t, int32_t> eltype;
    int32_t setStatus = 0;
    int32_t meshStatus = 0;
  };
  const Case cases[] = {
      {"three ends at a point", {1, 2, 3, 4}, {}},
      {"a closed ring", {1, 2, 5}, {}},
      {"a line of type 4", {1, 2, 6}, {}},
      {"classes mixed", {1, 2, 3}, {{2, 7}}},
      {"an element type without class", {1, 2}, {{1, 4}}},
      {"no such lines", {8, 9}, {}},
      {"an empty set", {}, {}},
      {"a missing set", {1}, {}, 2},
      {"a mesh refused", {1, 2}, {}, 0, 5},
  };
  for (const Case& c : cases) {
    gModel.eltype = c.eltype;
    gModel.setStatus = c.setStatus;
    gModel.meshStatus = c.meshStatus;
    EXPECT_EQ(runSet(c.lines).stat, 1) << c.what;
  }
  gModel = {};
  EXPECT_EQ(run(3, 1).stat, 1);
  // Until the model queries install theirs, the query table answers failure.
  DSCDSP = {};
  EXPECT_EQ(run(2, 1).stat, 1);
  EXPECT_EQ(runSet({1, 2}).stat, 1);
}

TEST_F(Chains, WorkSpaceBoundsAnswerTwoAndWriteNothingPastThem) {
  Room room;
  room.lcap = 2;  // the set query finds no room for three lines
  EXPECT_EQ(runSet({1, 2, 3}, room).stat, 2);
  gModel.setStatus = 9;
  EXPECT_EQ(runSet({1}).stat, 2);
  gModel.setStatus = 0;

  room = {};
  room.maxn = 6;
  Result r = runSet({1, 2, 3}, room);
  EXPECT_EQ(r.stat, 2);
  EXPECT_EQ(r.nnod, 9);  // the count reached with the third line

  room = {};
  room.lines = 2;
  EXPECT_EQ(runSet({1, 2, 3}, room).stat, 2);
  room = {};
  room.points = 3;
  EXPECT_EQ(runSet({1, 2, 3}, room).stat, 2);
  room = {};
  room.lcap = 1;
  room.lines = 200;  // a line of the set takes at most 20 entries
  gModel.setLines = {7};
  EXPECT_EQ(run(7, 2, room).stat, 0);

  // Three lines of 50000 nodes each: more than LIST holds once the chain is made.
  for (int32_t l = 1; l <= 3; ++l) {
    Words& w = gModel.lineNodes[l];
    const int32_t a = w.front();
    const int32_t b = w.back();
    w.clear();
    w.push_back(a);
    for (int32_t k = 1; k <= 49998; ++k) w.push_back(l * 100000 + k);
    w.push_back(b);
  }
  room = {};
  room.maxn = 150000;
  r = runSet({1, 2, 3}, room);
  EXPECT_EQ(r.stat, 2);
  EXPECT_EQ(r.nnod, 3 * 50000 - 2);
  EXPECT_TRUE(r.untouched);
}

TEST_F(Chains, MeshRoomAndNodeQueryFailures) {
  gModel.meshStatus = 9;
  EXPECT_EQ(runSet({1, 2, 3}).stat, 3);
  gModel.meshStatus = 0;
  Room room;
  room.lsize = 80002;  // less than 80000 words after the three line numbers
  EXPECT_EQ(runSet({1, 2, 3}, room).stat, 3);
  room.lsize = 80000;
  EXPECT_EQ(run(2, 1, room).stat, 3);

  gModel.nodesFail = true;
  EXPECT_EQ(runSet({1, 2, 3}).stat, 9);
}

}  // namespace
}  // namespace kvr
