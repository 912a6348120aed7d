#include "dbinterface/dipcn.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "dbinterface/bldnix.h"
#include "dbinterface/dipnc.h"
#include "loaderfixture.h"
#include "modeldb/arrreg.h"

namespace kvr {
namespace {

int32_t bits(float v) { return std::bit_cast<int32_t>(v); }

class BoundaryLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  // Nodes IDS at (id, 2 id, 3 id), loaded.
  void loadNodes(const std::vector<int32_t>& ids) {
    beginDataset(2);
    for (int32_t id : ids) node(id, float(id), float(2 * id), float(3 * id));
    endDataset();
    ASSERT_EQ(load(DIPNC), 0);
  }

  static int32_t nextPageWord() { return page(1).word(6); }

  // Record S of named array handle H: W INTEGER words.
  static std::vector<int32_t> arrayRecord(int32_t h, int32_t s, int32_t w) {
    std::vector<int32_t> words(static_cast<std::size_t>(w));
    std::array<float, 1> noReals{};
    int32_t stat = -1;
    ARRIO(0, APPSTA.ARRHND(h), s, 1, -1, words, noReals, stat);
    return words;
  }

  // An MPC of TYPE: its header and node records of ids IDS with integers 10, 20, ... and
  // coefficients 0.5, 1.5, ...; type 11 and below sends the ids after the first as a list.
  static void mpc(int32_t id, int32_t type, int32_t a, int32_t b, const std::vector<int32_t>& ids) {
    raw({-1, id, type, a, b});
    if (type <= 11) {
      raw({-2, ids[0], 10, static_cast<int32_t>(ids.size()) - 1, bits(0.5f)});
      raw(std::vector<int32_t>(ids.begin() + 1, ids.end()));
      return;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
      raw({-2, ids[i], 10 * int32_t(i + 1), 0, bits(0.5f + float(i))});
    }
  }
};

const std::string kInvalidConstraint =
    " DI    : DILIM : INVALID NODE NUMBER FOR NODAL CONSTRAINTS          : (         3)";

// Records for nodes 1, 3, 3: the second for node 3 is searched from node 4 on and skipped
// with an information line. DICON sends the same entries.
TEST_F(BoundaryLoader, ConstraintsMatchTheNodesInOrder) {
  for (bool direct : {true, false}) {
    createDatabase(direct ? "direct" : "dicon");
    loadNodes({1, 2, 3, 4, 5});
    beginDataset(41);
    if (direct) {
      for (int32_t id : {1, 3, 3}) raw({-1, id, 9, 2, 0});
    } else {
      for (int32_t id : {1, 3}) {
        int32_t ierr = -1;
        DICON(id, 9, 2, 0, ierr, unit(kA));
        ASSERT_EQ(ierr, 0);
      }
    }
    endDataset();
    const std::size_t before = messages().size();
    ASSERT_EQ(load(DIPCN), 0) << direct;
    EXPECT_EQ(entries(41, 11), (std::vector<int32_t>{1, 1, 9, 2, 0, 3, 3, 9, 2, 0, 0})) << direct;
    EXPECT_EQ(page(recorded(41)).word(5), 48) << direct;
    const std::vector<std::string> lines = messages();
    EXPECT_EQ(lines.size(), before + (direct ? 1 : 0));
    if (direct) {
      EXPECT_EQ(lines.back(), kInvalidConstraint);
    }
  }
}

TEST_F(BoundaryLoader, ConstraintRefusals) {
  struct Case {
    const char* what;
    bool nodes;
    std::vector<int32_t> ids;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"node beyond the last", true, {2, 6}, 238, errorLine(238, "DILIM", 6)},
      {"only the end record", true, {}, 252, errorLine(252, "DILIM")},
      {"no node dataset", false, {1}, 299, errorLine(299, "DIPCN", 9100)},
  };
  int32_t model = 0;
  for (const Case& c : cases) {
    createDatabase("refuse" + std::to_string(++model));
    if (c.nodes) loadNodes({1, 2, 3, 4, 5});
    const int32_t next = nextPageWord();
    beginDataset(41);
    for (int32_t id : c.ids) raw({-1, id, 9, 0, 0});
    endDataset();
    EXPECT_EQ(load(DIPCN), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(41), 0) << c.what;
    // A dataset refused before its first page takes none.
    if (!c.nodes) {
      EXPECT_EQ(nextPageWord(), next) << c.what;
    }
  }
}

TEST_F(BoundaryLoader, LocalSystemsKeepTheirRealsBitForBit) {
  const std::array<float, 9> m5 = {1.5f, -0.0f, 1e-45f, 3e38f, 0, 0, 0, 0, -1};
  const std::array<float, 9> m7 = {0, 1, 0, -1, 0, 0, 0, 0, 1};
  beginDataset(43);
  for (const auto& [isys, m] : {std::pair{5, m5}, std::pair{7, m7}}) {
    int32_t idum = -1;
    int32_t ierr = -1;
    DILXC(isys, idum, m, ierr, unit(kA));
    ASSERT_EQ(ierr, 0);
  }
  endDataset();
  ASSERT_EQ(load(DIPLX), 0);
  std::vector<int32_t> want = {5, 0};
  for (float v : m5) want.push_back(bits(v));
  want.insert(want.end(), {7, 0});
  for (float v : m7) want.push_back(bits(v));
  want.push_back(0);
  EXPECT_EQ(entries(43, 23), want);

  beginDataset(43);
  endDataset();
  EXPECT_EQ(load(DIPLX), 257);
  EXPECT_EQ(messages().back(),
            " DI257 : DIPLX : NO VALID LOCAL SYSTEMS FOUND FOR THIS DATASET      :");
}

// Three nodes: 3 x 3 + 3 + 5 = 17 words where entries carry no coordinates, 3 x 3 + 12 + 5
// = 26 where each group also has the node's x, y, z from the coordinate array.
TEST_F(BoundaryLoader, MpcEntriesFollowTheRecordLayout) {
  for (int32_t layout : {5006, 5001}) {
    createDatabase("mpc" + std::to_string(layout));
    DBLEVL.recordLayout = layout;
    loadNodes({1, 2, 3, 4, 5});
    beginDataset(42);
    mpc(77, 12, 2, 1, {2, 4, 5});
    endDataset();
    ASSERT_EQ(load(DIPMC), 0) << layout;
    std::vector<int32_t> want = {layout == 5001 ? 26 : 17, 77, 12, 2, 1};
    for (int32_t i = 0; i < 3; ++i) {
      const int32_t id = std::array{2, 4, 5}[static_cast<std::size_t>(i)];
      want.insert(want.end(), {id, id, 10 * (i + 1), bits(0.5f + float(i))});
      if (layout == 5001) want.insert(want.end(), {bits(float(id)), bits(float(2 * id)), bits(float(3 * id))});
    }
    want.push_back(0);
    EXPECT_EQ(entries(42, static_cast<int32_t>(want.size())), want) << layout;
  }
}

// Type 11 sends node 1 with its integer and coefficient and the k further ids as a list;
// those nodes get integer 0 and coefficient 0.0.
TEST_F(BoundaryLoader, MpcOfTypeElevenListsItsFurtherNodes) {
  loadNodes({1, 2, 3, 4, 5});
  beginDataset(42);
  mpc(4, 11, 1, 2, {1, 3, 5});
  endDataset();
  ASSERT_EQ(load(DIPMC), 0);
  EXPECT_EQ(entries(42, 18), (std::vector<int32_t>{17, 4, 11, 1, 2, 1, 1, 10, bits(0.5f), 3, 3, 0,
                                                   bits(0.0f), 5, 5, 0, bits(0.0f), 0}));
}

// Ids that are not consecutive are indexed through the node table and the list index.
TEST_F(BoundaryLoader, MpcNodesOfScatteredIdsAreFoundByBisection) {
  loadNodes({10, 20, 30});
  ASSERT_EQ(DICNT.firstNodeId, -1);
  beginDataset(42);
  mpc(1, 12, 1, 0, {20});
  endDataset();
  ASSERT_EQ(load(DIPMC), 0);
  EXPECT_EQ(entries(42, 9), (std::vector<int32_t>{9, 1, 12, 1, 0, 20, 2, 10, bits(0.5f)}));
  for (int32_t s = 1; s <= 3; ++s) {
    EXPECT_EQ(arrayRecord(kNodeTableHandle, s, 3), (std::vector<int32_t>{0, 10 * s, s}));
    EXPECT_EQ(arrayRecord(kListIndexHandle, s, 1), (std::vector<int32_t>{10 * s}));
  }

  beginDataset(42);
  mpc(2, 12, 1, 0, {25});
  endDataset();
  EXPECT_EQ(load(DIPMC), 238);
  EXPECT_EQ(messages().back(),
            " DI238 : DILIM : NODE DOES NOT EXIST                                : (      25"
            "            )");
}

TEST_F(BoundaryLoader, MpcRefusals) {
  struct Case {
    const char* what;
    std::function<void()> send;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"31 nodes in the counts", [] { mpc(1, 12, 30, 1, {}); }, 168, errorLine(168, "DIPMC", 31)},
      {"31 nodes in a type-11 list",
       [] {
         std::vector<int32_t> ids(31);
         for (int32_t i = 0; i < 31; ++i) ids[static_cast<std::size_t>(i)] = i + 1;
         mpc(1, 11, 1, 1, ids);
       },
       168, errorLine(168, "DIPMC", 31)},
      {"a negative count", [] { mpc(1, 12, -1, 2, {1}); }, 299, errorLine(299, "DIPMC", 910)},
      {"no nodes", [] { mpc(1, 12, 0, 0, {}); }, 299, errorLine(299, "DIPMC", 910)},
      {"a negative list length", [] { raw({-1, 1, 11, 1, 1}); raw({-2, 1, 0, -1, 0}); }, 299,
       errorLine(299, "DIPMC", 910)},
      {"a node record tagged -1", [] { raw({-1, 1, 12, 1, 0}); raw({-1, 1, 0, 0, 0}); }, 299,
       errorLine(299, "DIPMC", 910)},
      {"a header tagged -2", [] { raw({-2, 1, 12, 1, 0}); }, 299, errorLine(299, "DIPMC", 910)},
      {"node 6", [] { mpc(1, 12, 1, 0, {6}); }, 238, errorLine(238, "DILIM", 6)},
      {"node 0", [] { mpc(1, 12, 1, 0, {0}); }, 238, errorLine(238, "DILIM", 0)},
      {"only the end record", [] {}, 258, errorLine(258, "DILIM")},
  };
  DBLEVL.recordLayout = 5001;
  loadNodes({1, 2, 3, 4, 5});
  for (const Case& c : cases) {
    beginDataset(42);
    c.send();
    endDataset();
    EXPECT_EQ(load(DIPMC), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(42), 0) << c.what;
  }

  createDatabase("bare");
  beginDataset(42);
  mpc(1, 12, 1, 0, {1});
  endDataset();
  EXPECT_EQ(load(DIPMC), 273);
  EXPECT_EQ(messages().back(), errorLine(273, "DIPMC", 930));
}

}  // namespace
}  // namespace kvr
