#include "dbinterface/dipnnm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbinterface/dipnc.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "loaderfixture.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

using test::codes;

class NameLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  void loadNodes(int32_t last) {
    beginDataset(2);
    for (int32_t id = 1; id <= last; ++id) node(id, 0, 0, 0);
    endDataset();
    ASSERT_EQ(load(DIPNC), 0);
  }
  void loadElements(const std::vector<int32_t>& ids) {
    beginDataset(3);
    for (int32_t id : ids) element(id, 9, {1, 2, 3, 4});
    endDataset();
    ASSERT_EQ(load(DIPET), 0);
  }

  // A names dataset of KEY with a name "N<id>" for each of IDS, loaded; IERR answered.
  int32_t loadNames(int32_t key, const std::vector<int32_t>& ids) {
    beginDataset(key);
    for (int32_t id : ids) {
      std::vector<int32_t> r = {kTagRecord, id};
      for (int32_t c : codes("N" + std::to_string(id))) r.push_back(c);
      raw(r);
    }
    endDataset();
    return load(key == 54 ? DIPNNM : DIPENM);
  }

  // The 10 words of the entry at word Q of page P.
  static std::vector<int32_t> entry(const DbPage& p, int32_t q) {
    std::vector<int32_t> e;
    for (int32_t k = q; k < q + 10; ++k) e.push_back(p.word(k));
    return e;
  }
  static std::vector<int32_t> expected(int32_t id, int32_t sequence) {
    std::vector<int32_t> e = {id, sequence};
    for (int32_t c : codes("N" + std::to_string(id))) e.push_back(c);
    return e;
  }
};

// Node 2 lies behind the walk once node 3 is named: it is skipped with a line, and node
// 5 is still found.
TEST_F(NameLoader, NodeNamesFollowTheWalk) {
  loadNodes(5);
  ASSERT_EQ(loadNames(54, {3, 2, 5}), 0);
  const int32_t first = recorded(54);
  ASSERT_GT(first, 0);
  const DbPage p = page(first);
  EXPECT_EQ(entry(p, 39), expected(3, 3));
  EXPECT_EQ(entry(p, 49), expected(5, 5));
  EXPECT_EQ(p.word(3), 54);
  EXPECT_EQ(p.word(4), -1);
  EXPECT_EQ(p.word(5), 58);
  EXPECT_EQ(p.word(6), 1);
  EXPECT_EQ(p.word(59), 0);
  EXPECT_EQ(messages().back(),
            " DI    : DILIM : INVALID NODE NUMBER FOR NODE NAMES                 : (         2)");
}

// 200 entries of 10 words leave 2 words of a page of 2040: the 201st starts page 2, and
// word 6 is 1 on both pages.
TEST_F(NameLoader, EveryPageOfNamesKeepsItsMark) {
  loadNodes(201);
  std::vector<int32_t> ids;
  for (int32_t id = 1; id <= 201; ++id) ids.push_back(id);
  ASSERT_EQ(loadNames(54, ids), 0);
  const DbPage one = page(recorded(54));
  ASSERT_GT(one.word(4), 0);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(one.word(5), 2038);
  EXPECT_EQ(one.word(6), 1);
  EXPECT_EQ(two.word(6), 1);
  EXPECT_EQ(two.word(4), -1);
  EXPECT_EQ(entry(two, 39), expected(201, 201));
}

TEST_F(NameLoader, ElementNamesKeepTheTopologyOrder) {
  loadElements({1, 2, 3});
  ASSERT_EQ(loadNames(55, {1, 3}), 0);
  const DbPage p = page(recorded(55));
  EXPECT_EQ(entry(p, 39), expected(1, 1));
  EXPECT_EQ(entry(p, 49), expected(3, 3));
  EXPECT_EQ(p.word(6), 1);
}

// Each refusal answers its code, writes its line and records nothing.
TEST_F(NameLoader, Refusals) {
  struct Case {
    const char* what;
    bool nodes;            // the model has nodes 1..5 (else elements 1, 2, 3)
    int32_t key;
    std::vector<int32_t> ids;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"two names for the last node", true, 54, {5, 5}, 238, errorLine(238, "DILIM", 5)},
      {"a node after the last", true, 54, {6}, 238, errorLine(238, "DILIM", 6)},
      {"only the end record", true, 54, {}, 252, errorLine(252, "DILIM")},
      {"elements against the topology order", false, 55, {2, 1}, 233,
       " DI233 : DIPENM: ELEMENTS IN SET NOT IN SAME ORDER AS IN TOPOLOGY   : (       1"
       "            )"},
      {"an element after the last", false, 55, {9}, 299,
       " DI299 : DILIM : *** PREVIOUS ERROR NOT SUCCESSFULLY DETECTED ***   :"},
      {"only the end record of element names", false, 55, {}, 257, errorLine(257, "DILIM")},
  };
  int32_t n = 0;
  for (const Case& c : cases) {
    createDatabase("refuse" + std::to_string(++n));
    if (c.nodes) {
      loadNodes(5);
    } else {
      loadElements({1, 2, 3});
    }
    EXPECT_EQ(loadNames(c.key, c.ids), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(c.key), 0) << c.what;
  }
}

// Names already loaded, or no nodes or topology to name, are refused before a page is
// taken from the data file.
TEST_F(NameLoader, RefusedDatasetsTakeNoPage) {
  struct Case {
    const char* what;
    int32_t key;
    bool entities;
    bool namesLoaded;
    int32_t code;
    std::string routine;
  };
  const std::vector<Case> cases = {
      {"no nodes", 54, false, false, 299, "DIPNNM"},
      {"node names loaded", 54, true, true, 299, "DIPNNM"},
      {"no topology", 55, false, false, 127, "DIPENM"},
      {"element names loaded", 55, true, true, 127, "DIPENM"},
  };
  int32_t n = 0;
  for (const Case& c : cases) {
    createDatabase("again" + std::to_string(++n));
    if (c.entities) {
      if (c.key == 54) loadNodes(5);
      if (c.key == 55) loadElements({1, 2, 3});
    }
    if (c.namesLoaded) {
      ASSERT_EQ(loadNames(c.key, {1}), 0) << c.what;
    }
    const int32_t names = recorded(c.key);
    const int32_t nextPage = DBPARM.fileSlot(kDataFileSlot).nextPage;
    EXPECT_EQ(loadNames(c.key, {2}), c.code) << c.what;
    EXPECT_EQ(messages().back(), errorLine(c.code, c.routine, 9100)) << c.what;
    EXPECT_EQ(DBPARM.fileSlot(kDataFileSlot).nextPage, nextPage) << c.what;
    EXPECT_EQ(recorded(c.key), names) << c.what;
  }
}

}  // namespace
}  // namespace kvr
