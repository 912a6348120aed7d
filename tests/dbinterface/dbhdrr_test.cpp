#include "dbinterface/dbhdrr.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "loaderfixture.h"
#include "modeldb/cmptrf.h"

namespace kvr {
namespace {

class Summary : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  // A summary whose every counter differs from the others.
  static Dicnt distinct() {
    Dicnt d;
    d.minimum = {-1.5f, -2.5f, -3.5f};
    d.maximum = {1.5f, 2.5f, 3.5f};
    d.nodeCount = 45;
    d.elementCount = 46;
    d.loadCaseCount = 47;
    d.oneDimensional = 48;
    d.twoDimensional = 49;
    d.threeDimensional = 50;
    d.coordinatesLoaded = 51;
    d.nodeCountCopy = 52;
    d.topologyLoaded = 53;
    d.elementCountCopy = 54;
    d.firstConnectivityCount = 55;
    d.largestNodeCount = 56;
    d.secondConnectivityCount = 57;
    d.lastNodeId = 59;
    d.highestElementId = 60;
    d.firstNodeId = 61;
    d.firstElementId = 62;
    return d;
  }

  static void expectSame(const Dicnt& a, const Dicnt& b) {
    EXPECT_EQ(a.minimum, b.minimum);
    EXPECT_EQ(a.maximum, b.maximum);
    EXPECT_EQ(a.nodeCount, b.nodeCount);
    EXPECT_EQ(a.elementCount, b.elementCount);
    EXPECT_EQ(a.loadCaseCount, b.loadCaseCount);
    EXPECT_EQ(a.oneDimensional, b.oneDimensional);
    EXPECT_EQ(a.twoDimensional, b.twoDimensional);
    EXPECT_EQ(a.threeDimensional, b.threeDimensional);
    EXPECT_EQ(a.coordinatesLoaded, b.coordinatesLoaded);
    EXPECT_EQ(a.nodeCountCopy, b.nodeCountCopy);
    EXPECT_EQ(a.topologyLoaded, b.topologyLoaded);
    EXPECT_EQ(a.elementCountCopy, b.elementCountCopy);
    EXPECT_EQ(a.firstConnectivityCount, b.firstConnectivityCount);
    EXPECT_EQ(a.largestNodeCount, b.largestNodeCount);
    EXPECT_EQ(a.secondConnectivityCount, b.secondConnectivityCount);
    EXPECT_EQ(a.lastNodeId, b.lastNodeId);
    EXPECT_EQ(a.highestElementId, b.highestElementId);
    EXPECT_EQ(a.firstNodeId, b.firstNodeId);
    EXPECT_EQ(a.firstElementId, b.firstElementId);
  }
};

TEST_F(Summary, WrittenAtItsWordsAndReadBack) {
  const Dicnt d = distinct();
  int32_t status = -1;
  writeModelSummary(LDPAGE, LDSCR, d, status);
  ASSERT_EQ(status, 0);
  const int32_t first = recorded(kSummaryDataset);
  ASSERT_GT(first, 0);
  const DbPage p = page(first);
  EXPECT_EQ(p.word(10), 5001);
  EXPECT_EQ(p.word(4), -1);
  EXPECT_EQ(p.word(5), 62);
  const std::vector<float> extents = {-1.5f, -2.5f, -3.5f, 1.5f, 2.5f, 3.5f};
  for (int32_t k = 0; k < 6; ++k) {
    EXPECT_EQ(std::bit_cast<float>(p.word(39 + k)), extents[static_cast<size_t>(k)]) << k;
  }
  // Every counter stands at the word of its own number; word 58 is 0.
  for (int32_t k = 45; k <= 62; ++k) EXPECT_EQ(p.word(k), k == 58 ? 0 : k) << k;
  for (int32_t k = 11; k <= 38; ++k) EXPECT_EQ(p.word(k), 0) << k;

  // A second writer leaves the first record alone.
  Dicnt other;
  writeModelSummary(LDPAGE, LDSCR, other, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(recorded(kSummaryDataset), first);
  EXPECT_EQ(page(first).word(45), 45);

  // The node count, the element count and the load-case counter are the ones record 103
  // gave before: an append's counter must not fall back to the display build's.
  DICNT = {};
  DICNT.nodeCount = 3;
  DICNT.elementCount = 4;
  DICNT.loadCaseCount = 5;
  DBLEVL.nodeOffset = 7;
  DBLEVL.elementOffset = 8;
  CMPTRF.flag = 1;
  DBHDRR(LDPAGE, status);
  EXPECT_EQ(status, 0);
  Dicnt expected = d;
  expected.nodeCount = 3;
  expected.elementCount = 4;
  expected.loadCaseCount = 5;
  expectSame(DICNT, expected);
  EXPECT_EQ(DBLEVL.nodeOffset, 0);
  EXPECT_EQ(DBLEVL.elementOffset, 0);
  EXPECT_EQ(CMPTRF.flag, 0);
}

TEST_F(Summary, OlderRecordHasNoIds) {
  int32_t status = -1;
  writeModelSummary(LDPAGE, LDSCR, distinct(), status);
  ASSERT_EQ(status, 0);
  const int32_t first = recorded(kSummaryDataset);
  DbPage p = page(first);
  p.word(10) = 5000;
  PAGWR(kSummaryDataset, first, p.words());
  DICNT = {};
  DBHDRR(LDPAGE, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(DICNT.oneDimensional, 48);
  EXPECT_EQ(DICNT.secondConnectivityCount, 57);
  EXPECT_EQ(DICNT.lastNodeId, 0);
  EXPECT_EQ(DICNT.highestElementId, 0);
  EXPECT_EQ(DICNT.firstNodeId, -1);
  EXPECT_EQ(DICNT.firstElementId, -1);
}

TEST_F(Summary, MissingRecordAnswersOne) {
  DICNT = distinct();
  DBLEVL.nodeOffset = 7;
  int32_t status = -1;
  DBHDRR(LDPAGE, status);
  EXPECT_EQ(status, 1);
  expectSame(DICNT, distinct());
  EXPECT_EQ(DBLEVL.nodeOffset, 7);
  DBLEVL.nodeOffset = 0;
}

}  // namespace
}  // namespace kvr
