#include "dbinterface/dipnc.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "dbinterface/elnord.h"
#include "dbinterface/ldframe.h"
#include "loaderfixture.h"
#include "modeldb/recwords.h"
#include "runtime/setget.h"

namespace kvr {
namespace {

class NodeLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  // Nodes IDS at (id, 2 id, 3 id) through DICOR, loaded; IERR is answered.
  int32_t loadNodes(const std::vector<int32_t>& ids) {
    beginDataset(2);
    for (int32_t id : ids) node(id, float(id), float(2 * id), float(3 * id));
    endDataset();
    return load(DIPNC);
  }

  // The numbered setting of the neutral number format, read with the setting "LOW".
  int32_t numberFormatSetting() {
    test::writeFile(dir.file("quorin.ini"), "Quorin.Telvora.Neutral_file.Format: LOW\n");
    int32_t integer = -1;
    float real = 0;
    FixedText text(255);
    SETGET(2, integer, real, text);
    return integer;
  }
};

TEST_F(NodeLoader, NodesGoIntoDatasetFiveWithTheirCounters) {
  beginDataset(2);
  node(1, 1.5f, -0.0f, 1e-40f, 0);
  node(2, -2.25f, 3e38f, 1e-45f, 7);
  node(3, 0, 0, 0);
  endDataset();
  ASSERT_EQ(load(DIPNC), 0);

  EXPECT_EQ(recorded(5), 2);
  const DbPage p = page(2);
  EXPECT_EQ((std::vector<int32_t>{p.word(1), p.word(2), p.word(3), p.word(4), p.word(5)}),
            (std::vector<int32_t>{0, 2, 5, -1, 59}));
  for (int32_t k = 6; k <= 38; ++k) EXPECT_EQ(p.word(k), 0) << "word " << k;
  EXPECT_EQ((std::vector<int32_t>{p.word(46), p.word(47), p.word(48), p.word(49), p.word(50),
                                  p.word(51), p.word(52)}),
            (std::vector<int32_t>{0, 2, 2, 7, std::bit_cast<int32_t>(-2.25f),
                                  std::bit_cast<int32_t>(3e38f), std::bit_cast<int32_t>(1e-45f)}));
  EXPECT_EQ(p.word(40), 1);
  EXPECT_EQ(p.word(43), std::bit_cast<int32_t>(1.5f));
  EXPECT_EQ(p.word(44), std::bit_cast<int32_t>(-0.0f)) << "REALs move bit for bit";
  EXPECT_EQ(p.word(60), 0) << "nothing past the last word used";
  const DbPage first = page(1);
  EXPECT_EQ(first.word(6), 3) << "the data file's next-page word";
  EXPECT_EQ(first.word(7), 0) << "its free-page head";

  EXPECT_EQ(DICNT.nodeCount, 3);
  EXPECT_EQ(DICNT.nodeCountCopy, 3);
  EXPECT_EQ(DICNT.lastNodeId, 3);
  EXPECT_EQ(DICNT.firstNodeId, 1);
  EXPECT_EQ(DICNT.coordinatesLoaded, 1);
  EXPECT_EQ(numberFormatSetting(), 0);
}

TEST_F(NodeLoader, IdsThatSkipANumberMakeTheFirstNodeIdMinusOne) {
  ASSERT_EQ(loadNodes({1, 2, 4}), 0);
  EXPECT_EQ(DICNT.firstNodeId, -1);
  EXPECT_EQ(DICNT.lastNodeId, 4);
}

TEST_F(NodeLoader, HighestNodeAboveTheLowFormatAsksForTheWideOne) {
  ASSERT_EQ(loadNodes({1, 12000}), 0);
  EXPECT_EQ(numberFormatSetting(), 1);
}

// A coordinate below the minimum lowers it, one above the maximum raises it; one equal to
// an extent, or inside, changes nothing.
TEST_F(NodeLoader, ExtentsFollowEachCoordinate) {
  beginDataset(2);
  node(1, 1, 1, 1);
  node(2, 0, 2, 1);
  node(3, 0, 2, 1);
  endDataset();
  ASSERT_EQ(load(DIPNC), 0);
  EXPECT_EQ(DICNT.minimum, (std::array<float, 3>{0, 1, 1}));
  EXPECT_EQ(DICNT.maximum, (std::array<float, 3>{1, 2, 1}));
}

// 286 entries of 7 words fill a page of 2040 from word 39 exactly; the next one starts a
// new page, and the walk finds it there.
TEST_F(NodeLoader, PagesChainWhenTheNextEntryDoesNotFit) {
  std::vector<int32_t> ids(286);
  for (int32_t k = 0; k < 286; ++k) ids[static_cast<std::size_t>(k)] = k + 1;
  ASSERT_EQ(loadNodes(ids), 0);
  EXPECT_EQ(page(2).word(5), 2040);
  EXPECT_EQ(page(2).word(4), -1);

  createDatabase("beam2");
  ids.push_back(287);
  ASSERT_EQ(loadNodes(ids), 0);
  const DbPage second = page(2);
  const DbPage third = page(3);
  EXPECT_EQ(second.word(4), 3);
  EXPECT_EQ(second.word(5), 2040);
  EXPECT_EQ(third.word(4), -1);
  EXPECT_EQ(third.word(5), 45);
  EXPECT_EQ(third.word(1), 0);

  EntryCursor cursor(LDPAGE, kNodeDataset);
  while (cursor.atEntry() && cursor.nodeId() != 287) cursor.next();
  ASSERT_TRUE(cursor.atEntry());
  EXPECT_EQ(cursor.nodeSequence(), 287);
  EXPECT_EQ(DBLEVL.heldPage(2), 3);
  EXPECT_FALSE(cursor.next());
}

// Each refusal answers its code, writes its line and leaves dataset 5 unrecorded.
TEST_F(NodeLoader, Refusals) {
  struct Case {
    const char* what;
    std::function<void()> send;
    bool cut;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"descending ids", [] { rawNode(2); rawNode(1); }, false, 299,
       " DI299 : DIPNC : *** PREVIOUS ERROR NOT SUCCESSFULLY DETECTED ***   : (      60"
       "            )"},
      {"node 0", [] { rawNode(0); }, false, 299, errorLine(299, "DIPNC", 54)},
      {"an id equal to the one before", [] { rawNode(5); rawNode(5); }, false, 299,
       errorLine(299, "DIPNC", 60)},
      {"only the end record", [] {}, false, 299, errorLine(299, "DIPNC", 500)},
      {"a stream cut before its end", [] { rawNode(1); rawNode(2); }, true, 225,
       errorLine(225, "DILIM", unit(kA))},
  };
  for (const Case& c : cases) {
    beginDataset(2);
    c.send();
    if (c.cut) {
      cutDataset();
    } else {
      endDataset();
    }
    EXPECT_EQ(load(DIPNC), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(5), 0) << c.what;
    EXPECT_EQ(DICNT.coordinatesLoaded, 0) << c.what;
  }
}

class ElementLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }
};

// Type 21 (a four-node line) stores its record nodes 11 12 13 14 as 11 14 12 13, at every
// second word in the short entries and at every fifth in the long ones of layout 5000;
// TOPNOD reads them back in both.
TEST_F(ElementLoader, NodesStandInTheStoredOrderForEitherLayout) {
  struct Case {
    int32_t layout;
    int32_t length;
    std::vector<int32_t> nodeWords;
  };
  for (const Case& c : {Case{5006, 15, {8, 10, 12, 14}}, Case{5000, 30, {11, 16, 21, 26}}}) {
    createDatabase("layout" + std::to_string(c.layout));
    DBLEVL.recordLayout = c.layout;
    ELTBLD(c.layout);
    beginDataset(3);
    element(7, 21, {11, 12, 13, 14}, 1, 2, 0);
    element(8, 21, {1, 2, 3, 4});
    endDataset();
    ASSERT_EQ(load(DIPET), 0) << c.layout;
    const DbPage p = page(2);
    const int32_t q = 39;
    EXPECT_EQ((std::vector<int32_t>{p.word(q), p.word(q + 1), p.word(q + 2), p.word(q + 3),
                                    p.word(q + 4), p.word(q + 5), p.word(q + 6)}),
              (std::vector<int32_t>{7, 1, 21, 1, 2, 0, 3}))
        << c.layout;
    std::vector<int32_t> stored;
    for (int32_t w : c.nodeWords) stored.push_back(p.word(q + w - 1));
    EXPECT_EQ(stored, (std::vector<int32_t>{11, 14, 12, 13})) << c.layout;
    for (int32_t w : c.nodeWords) EXPECT_EQ(p.word(q + w), 0) << c.layout << " after " << w;
    std::vector<int32_t> read;
    for (int32_t k = 1; k <= 4; ++k) read.push_back(TOPNOD(p.words(), q, k));
    EXPECT_EQ(read, (std::vector<int32_t>{11, 14, 12, 13})) << c.layout;
    EXPECT_EQ(ENTW3(p.words(), q), 1);
    EXPECT_EQ(p.word(q + c.length), 8) << "the next entry starts " << c.length << " words on";
    EXPECT_EQ(p.word(5), 38 + 2 * c.length);
  }
}

// Elements need not ascend: 5, 3, 4 load, with the counters of a two-dimensional model.
TEST_F(ElementLoader, CountersOfUnorderedElements) {
  EXPECT_TRUE(EntryCursor(LDPAGE, kElementDataset).missing());
  DICNT.highestElementId = 99;
  DICNT.threeDimensional = 1;
  DICNT.largestNodeCount = 20;
  beginDataset(3);
  element(5, 9, {1, 2, 3, 4});
  element(3, 9, {2, 3, 4, 5});
  element(4, 9, {3, 4, 5, 6});
  endDataset();
  ASSERT_EQ(load(DIPET), 0);
  EXPECT_EQ(recorded(6), 2);
  EXPECT_EQ(DICNT.elementCount, 3);
  EXPECT_EQ(DICNT.elementCountCopy, 3);
  EXPECT_EQ(DICNT.highestElementId, 5);
  EXPECT_EQ(DICNT.firstElementId, -1);
  EXPECT_EQ(DICNT.twoDimensional, 1);
  EXPECT_EQ(DICNT.threeDimensional, 0) << "cleared at the start";
  EXPECT_EQ(DICNT.oneDimensional, 0);
  EXPECT_EQ(DICNT.largestNodeCount, 4) << "cleared at the start";
  EXPECT_EQ(DICNT.topologyLoaded, 1);

  // The walk over them, with the element numbering offset of an assembly component.
  DBLEVL.numberingMode = 2;
  DBLEVL.elementOffset = 100;
  EntryCursor cursor(LDPAGE, kElementDataset);
  std::vector<int32_t> ids, sequence;
  for (; cursor.atEntry(); cursor.next()) {
    ids.push_back(cursor.elementId());
    sequence.push_back(cursor.elementSequence());
    EXPECT_EQ(cursor.elementType(), 9);
  }
  EXPECT_EQ(ids, (std::vector<int32_t>{5, 3, 4}));
  EXPECT_EQ(sequence, (std::vector<int32_t>{101, 102, 103}));
  EXPECT_FALSE(cursor.next()) << "past the last entry it stays at \"not found\"";
  EXPECT_EQ(stdoutLines(), std::vector<std::string>{}) << "no page 0 was read";
}

TEST_F(ElementLoader, Refusals) {
  struct Case {
    const char* what;
    std::function<void()> send;
    int32_t location;
  };
  const std::vector<Case> cases = {
      {"a point element", [] { rawElement(1, 20, {1}); }, 320},
      {"a type that is no element", [] { rawElement(1, 17, {}); }, 320},
      {"a node 0", [] { rawElement(1, 9, {1, 2, 0, 4}); }, 360},
      {"after a good element, a node below 0",
       [] { rawElement(1, 9, {1, 2, 3, 4}); rawElement(2, 11, {-1, 2}); }, 360},
      {"no element", [] {}, 550},
  };
  for (const Case& c : cases) {
    beginDataset(3);
    c.send();
    endDataset();
    EXPECT_EQ(load(DIPET), 299) << c.what;
    EXPECT_EQ(messages().back(), errorLine(299, "DIPET", c.location)) << c.what;
    EXPECT_EQ(recorded(6), 0) << c.what;
    EXPECT_EQ(DICNT.topologyLoaded, 0) << c.what;
  }
}

// The mode-1 order of every type of the table; every other mode gives its inverse. Types
// whose nodes keep their order give the identity over their node count, and types above
// 20 without a row fill nothing.
TEST(Elnord, OrdersAndTheirInverses) {
  ELTBLD(0);
  const std::vector<std::pair<int32_t, std::vector<int32_t>>> rows = {
      {21, {1, 4, 2, 3}},
      {22, {1, 5, 2, 3, 4}},
      {23, {1, 4, 7, 2, 3, 5, 6, 8, 9}},
      {24, {1, 4, 7, 10, 2, 3, 5, 6, 8, 9, 11, 12}},
      {27, {1, 5, 9, 2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 15}},
      {28, {1, 4, 7, 16, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15}},
      {29, {1, 4, 7, 16, 19, 22, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 20, 21, 23, 24}},
      {30, {1, 4, 7, 10, 21, 24, 27, 30, 2, 3, 5, 6, 8, 9, 11, 12,
            13, 14, 15, 16, 17, 18, 19, 20, 22, 23, 25, 26, 28, 29, 31, 32}},
      {42, {1, 2, 4, 3}},
      {43, {1, 3, 5, 4, 2}},
      {44, {1, 3, 6, 4, 2, 5}},
      {45, {1, 4, 8, 5, 2, 3, 7, 6}},
      {60, {1, 4, 8, 5, 2, 3, 7, 6}},
      {46, {1, 5, 10, 6, 2, 3, 4, 9, 8, 7}},
      {61, {1, 5, 10, 6, 2, 3, 4, 9, 8, 7}},
      {49, {1, 3, 5, 7, 9, 10, 11, 12, 2, 4, 6, 8}},
      {50, {1, 3, 5, 7, 9, 11, 2, 4, 6, 8, 10, 12}},
      {51, {1, 3, 5, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10, 12, 14, 16}},
  };
  for (const auto& [type, row] : rows) {
    ASSERT_EQ(static_cast<int32_t>(row.size()), ELNCNT(type)) << type;
    std::vector<int32_t> order(row.size(), 0);
    ELNORD(1, type, order);
    EXPECT_EQ(order, row) << type;
    std::vector<int32_t> inverse(row.size());
    for (std::size_t k = 0; k < row.size(); ++k) {
      inverse[static_cast<std::size_t>(row[k] - 1)] = static_cast<int32_t>(k + 1);
    }
    for (int32_t mode : {2, 0, -1}) {
      ELNORD(mode, type, order);
      EXPECT_EQ(order, inverse) << type << " mode " << mode;
    }
  }
  for (int32_t type : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 20, 31, 41, 47, 48}) {
    const int32_t n = ELNCNT(type);
    ASSERT_GT(n, 0) << type;
    std::vector<int32_t> order(static_cast<std::size_t>(n) + 1, -7);
    ELNORD(2, type, order);
    for (int32_t k = 1; k <= n; ++k) EXPECT_EQ(order[static_cast<std::size_t>(k - 1)], k) << type;
    EXPECT_EQ(order.back(), -7) << type << ": nothing past the node count";
  }
  for (int32_t type : {25, 62}) {
    std::vector<int32_t> order(4, -7);
    ELNORD(1, type, order);
    EXPECT_EQ(order, std::vector<int32_t>(4, -7)) << type;
  }
  for (int32_t type = 1; type <= kElementTypes; ++type) {
    EXPECT_LE(ELNCNT(type), kMaxElementNodes) << type;
  }
}

}  // namespace
}  // namespace kvr
