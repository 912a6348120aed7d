#include "dbinterface/dipmat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbinterface/dipnc.h"
#include "loaderfixture.h"
#include "modeldb/ctlrec.h"

namespace kvr {
namespace {

// N words FROM, FROM + 1, ...
std::vector<int32_t> run(int32_t from, int32_t n) {
  std::vector<int32_t> v;
  for (int32_t k = 0; k < n; ++k) v.push_back(from + k);
  return v;
}

std::vector<int32_t> joined(std::initializer_list<std::vector<int32_t>> parts) {
  std::vector<int32_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class Loaders : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  // The values of a material, in records of at most 6.
  static void values(const std::vector<int32_t>& v) {
    for (size_t k = 0; k < v.size(); k += 6) {
      raw(std::vector<int32_t>(v.begin() + static_cast<long>(k),
                               v.begin() + static_cast<long>(std::min(k + 6, v.size()))));
    }
  }

  // Elements 1, 2, 3 of type 9 loaded; the load case LOAD1 registered.
  static void topologyAndLoadCase() {
    beginDataset(3);
    for (int32_t id = 1; id <= 3; ++id) element(id, 9, {1, 2, 3, 4});
    endDataset();
    ASSERT_EQ(load(DIPET), 0);
    ASSERT_EQ(loadCase("LOAD1"), 0);
  }
  static int32_t beamLoadPage() { return CTLREC.word(kLoadCaseClass, 10); }
  static int32_t dataPagesHandedOut() { return DBPARM.fileSlot(kDataFileSlot).nextPage; }
};

constexpr int32_t kR1 = 0x3F800000, kR2 = 0x40000000, kR3 = 0x40400000, kR4 = 0x40800000;

TEST_F(Loaders, MaterialsOfTheThreeKinds) {
  beginDataset(20);
  raw({-1, 1, 0, 0, 11, kR1, kR2, kR3, kR4});
  raw({-1, 2, 5, 3, 12, kR1, kR2, kR3, kR4});
  values(run(201, 8));
  raw({-1, 3, 1, 1, 13, kR1, kR2, kR3, kR4});
  values(run(301, 4));
  // The largest entry that an empty page holds: L = P - 38; it starts a new page.
  raw({-1, 2, 1000, 996, 14, kR1, kR2, kR3, kR4});
  values(run(1, 1996));
  endDataset();
  ASSERT_EQ(load(DIPMAT), 0);

  const int32_t first = recorded(40);
  ASSERT_GT(first, 0);
  const DbPage p = page(first);
  const std::vector<int32_t> expected = joined({
      {11, 7, 1, kR4, kR1, kR2, kR3},
      {12, 14, 2, 5, 3, kR4},
      run(201, 8),
      {13, 13, 3, 1, 1, kR4, kR1, kR2, kR3},
      run(301, 4),
  });
  EXPECT_EQ(words(p, 39, 34), expected);
  EXPECT_EQ(p.word(5), 72);
  const DbPage full = page(p.word(4));
  EXPECT_EQ(words(full, 39, 6), (std::vector<int32_t>{14, 2002, 2, 1000, 996, kR4}));
  EXPECT_EQ(full.word(2040), 1996);
  EXPECT_EQ(full.word(5), 2040);
  EXPECT_EQ(full.word(4), -1);

  createDatabase("empty");
  beginDataset(20);
  endDataset();
  ASSERT_EQ(load(DIPMAT), 0);
  EXPECT_EQ(page(recorded(40)).word(5), 38) << "recorded without entries";
}

TEST_F(Loaders, MaterialRefusalsRecordNothing) {
  struct Case {
    const char* what;
    std::vector<int32_t> header;
    int32_t valueCount;
    int32_t code;
    std::string line;
  };
  const std::string unreadable = errorLine(225, "DILIM", unit(kA));
  const std::string refused = errorLine(299, "DIPMAT", 9200);
  const std::vector<Case> cases = {
      {"id 0", {-1, 2, 1, 1, 0, kR1, kR2, kR3, kR4}, 2, 225, unreadable},
      {"kind 4", {-1, 4, 1, 1, 5, kR1, kR2, kR3, kR4}, 2, 225, unreadable},
      {"tag -2", {-2, 1, 0, 0, 5, kR1, kR2, kR3, kR4}, 0, 225, unreadable},
      {"NA + NB = 2000", {-1, 2, 1000, 1000, 5, kR1, kR2, kR3, kR4}, 2000, 299, refused},
      {"NA = -10", {-1, 2, -10, 12, 5, kR1, kR2, kR3, kR4}, 2, 299, refused},
      {"NB = -1 of kind 3", {-1, 3, 2, -1, 5, kR1, kR2, kR3, kR4}, 2, 299, refused},
      {"values cut short", {-1, 2, 5, 3, 5, kR1, kR2, kR3, kR4}, 6, 225, unreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    beginDataset(20);
    raw({-1, 1, 0, 0, 1, kR1, kR2, kR3, kR4});  // a valid one before
    raw(c.header);
    values(run(1, c.valueCount));
    if (c.valueCount == 6) {
      cutDataset();
    } else {
      endDataset();
    }
    EXPECT_EQ(load(DIPMAT), c.code);
    EXPECT_EQ(messages().back(), c.line);
    EXPECT_EQ(recorded(40), 0);
  }
}

TEST_F(Loaders, TransformationsCountedOnPageOne) {
  beginDataset(50);
  for (int32_t id = 1; id <= 3; ++id) {
    raw({-1, id, id == 2 ? 0 : -7});
    raw(run(100 * id, 16));
  }
  endDataset();
  ASSERT_EQ(load(DIPTRF), 0);
  const DbPage p = page(recorded(50));
  EXPECT_EQ(p.word(39), 3);
  EXPECT_EQ(words(p, 40, 54),
            joined({{1, -7}, run(100, 16), {2, 1}, run(200, 16), {3, -7}, run(300, 16)}));
  EXPECT_EQ(p.word(5), 94);

  // 111 entries fill page 1 up to word 2037; the 112th, which would end at 2055, starts
  // page 2 at word 40.
  createDatabase("many");
  beginDataset(50);
  for (int32_t id = 1; id <= 112; ++id) {
    raw({-1, id, 1});
    raw(run(id, 16));
  }
  endDataset();
  ASSERT_EQ(load(DIPTRF), 0);
  const DbPage one = page(recorded(50));
  EXPECT_EQ(one.word(39), 112);
  EXPECT_EQ(one.word(5), 2038);
  const DbPage two = page(one.word(4));
  EXPECT_EQ(words(two, 39, 3), (std::vector<int32_t>{0, 112, 1}));
  EXPECT_EQ(two.word(5), 58);

  createDatabase("none");
  beginDataset(50);
  endDataset();
  ASSERT_EQ(load(DIPTRF), 0);
  const DbPage empty = page(recorded(50));
  EXPECT_EQ(empty.word(39), 0);
  EXPECT_EQ(empty.word(5), 40);
}

TEST_F(Loaders, BeamLoadsMatchTheTopology) {
  topologyAndLoadCase();
  const std::vector<int32_t> reals = {kR1, kR2, kR3, kR4, kR1, kR2};
  beginDataset(28);
  raw({-1, 2, 0, 1, 0, 0, 0, 5, 6});
  raw({-2});
  raw(reals);
  // The same element again, by its type; a distributed load has two parts.
  raw({-1, 2, 9, 0, 1, 0, 0, 7, 8});
  for (int32_t k = 0; k < 2; ++k) {
    raw({-2});
    raw(run(10 * k, 6));
  }
  raw({-1, 3, 0, 0, 0, 0, 0, 0, 0});
  endDataset();
  int32_t tag = 0;
  ASSERT_EQ(load(DIPBL, tag), 0);
  EXPECT_EQ(tag, -3);
  const int32_t first = beamLoadPage();
  ASSERT_GT(first, 0);
  const DbPage p = page(first);
  EXPECT_EQ(words(p, 39, 45), joined({{2, 2, 15, 1, 0, 0, 0, 5, 6}, reals,
                                      {2, 2, 21, 0, 1, 0, 0, 7, 8}, run(0, 6), run(10, 6),
                                      {3, 3, 9, 0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(p.word(5), 83);

  // A load case without beam loads records its empty dataset too.
  ASSERT_EQ(loadCase("LOAD2"), 0);
  beginDataset(28);
  endDataset();
  ASSERT_EQ(load(DIPBL, tag), 0);
  EXPECT_GT(beamLoadPage(), first);
  EXPECT_EQ(page(beamLoadPage()).word(5), 38);
}

TEST_F(Loaders, BeamLoadRefusals) {
  topologyAndLoadCase();
  struct Case {
    const char* what;
    std::vector<std::vector<int32_t>> records;
    int32_t code;
    std::string line;
    bool cut = false;  // the stream ends without its end record
  };
  const std::string refused = errorLine(299, "DIPBL", 9200);
  const std::vector<Case> cases = {
      {"a point load, then a header", {{-1, 2, 0, 1, 0, 0, 0, 0, 0}, {-1}}, 247,
       errorLine(247, "DILIM")},
      {"a part without its values", {{-1, 2, 0, 0, 0, 1, 0, 0, 0}, {-2}}, 247,
       errorLine(247, "DILIM"), true},
      {"a header cut short", {{-1, 2, 0}}, 246, errorLine(246, "DILIM"), true},
      {"element 9", {{-1, 9, 0, 0, 0, 0, 0, 0, 0}}, 239, errorLine(239, "DILIM", 9)},
      {"element 2 of type 5", {{-1, 2, 5, 0, 0, 0, 0, 0, 0}}, 239, errorLine(239, "DILIM", 2)},
      {"element 1 after 2", {{-1, 2, 0, 0, 0, 0, 0, 0, 0}, {-1, 1, 0, 0, 0, 0, 0, 0, 0}}, 239,
       errorLine(239, "DILIM", 1)},
      {"header of tag -2", {{-2, 2, 0, 0, 0, 0, 0, 0, 0}}, 246, errorLine(246, "DILIM")},
      {"E = 333", {{-1, 2, 0, 333, 0, 0, 0, 0, 0}}, 299, refused},
      {"E = -2", {{-1, 2, 0, -2, 0, 0, 0, 0, 0}}, 299, refused},
      {"I = -1", {{-1, 2, 0, 2, 0, 0, -1, 0, 0}}, 299, refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dataset(28, c.records, c.cut);
    int32_t tag = 0;
    EXPECT_EQ(load(DIPBL, tag), c.code);
    EXPECT_EQ(messages().back(), c.line);
    EXPECT_EQ(beamLoadPage(), 0);
  }

  // The largest entry an empty page holds (K = 2001, below P - 38) is taken.
  beginDataset(28);
  raw({-1, 3, 0, 332, 0, 0, 0, 0, 0});
  for (int32_t k = 0; k < 332; ++k) {
    raw({-2});
    raw(run(k, 6));
  }
  endDataset();
  int32_t tag = 0;
  ASSERT_EQ(load(DIPBL, tag), 0);
  EXPECT_EQ(page(beamLoadPage()).word(5), 38 + 2001);

  // Without a topology nothing is loaded and no page is taken.
  createDatabase("bare");
  ASSERT_EQ(loadCase("LOAD1"), 0);
  const int32_t pages = dataPagesHandedOut();
  beginDataset(28);
  endDataset();
  EXPECT_EQ(load(DIPBL, tag), 299);
  EXPECT_EQ(messages().back(), errorLine(299, "DIPBL", 9100));
  EXPECT_EQ(dataPagesHandedOut(), pages);
  EXPECT_EQ(beamLoadPage(), 0);
}

}  // namespace
}  // namespace kvr
