#include "dbinterface/dipnx.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "dbinterface/dipnc.h"
#include "dbinterface/diresult.h"
#include "loaderfixture.h"

namespace kvr {
namespace {

using Matrix = std::array<float, 9>;

int32_t bits(float v) { return std::bit_cast<int32_t>(v); }

// A matrix whose values all tell K apart.
Matrix matrix(int32_t k) {
  Matrix m{};
  for (int32_t j = 0; j < 9; ++j) m[static_cast<std::size_t>(j)] = float(k) + 0.125f * float(j);
  return m;
}

// A value group: the value word and the REALs.
std::vector<int32_t> group(int32_t value, std::span<const float> reals) {
  std::vector<int32_t> g = {value};
  for (float v : reals) g.push_back(bits(v));
  return g;
}

class AxisLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }

  void loadNodes(const std::vector<int32_t>& ids) {
    beginDataset(2);
    for (int32_t id : ids) node(id, 0, 0, 0);
    endDataset();
    ASSERT_EQ(load(DIPNC), 0);
  }

  // Elements 7 and 8 of type 21 (a four-node line; nodes 11 12 13 14 stored 11 14 12 13).
  void loadElements() {
    beginDataset(3);
    element(7, 21, {11, 12, 13, 14});
    element(8, 21, {1, 2, 3, 4});
    endDataset();
    ASSERT_EQ(load(DIPET), 0);
  }

  static void axisHeader(bool gauss, int32_t ielem, int32_t itype, int32_t npoint,
                         int32_t nlayer) {
    int32_t ierr = -1;
    (gauss ? DIGXH : DIEXH)(ielem, itype, 0, npoint, nlayer, ierr, unit(kA));
    ASSERT_EQ(ierr, 0);
  }
  static void axes(bool gauss, int32_t id, const Matrix& m) {
    int32_t ierr = -1;
    (gauss ? DIGXD : DIEXD)(id, m, ierr, unit(kA));
    ASSERT_EQ(ierr, 0);
  }
  // A nodal sub-record as raw words: -2, the value word, the nine REALs.
  static void nodalAxes(int32_t value, const Matrix& m) {
    std::vector<int32_t> r = {-2};
    const std::vector<int32_t> g = group(value, m);
    r.insert(r.end(), g.begin(), g.end());
    raw(r);
  }
};

// Node k of the stored order takes the matrix the stream gave for its record node.
TEST_F(AxisLoader, ElementAxesFollowTheStoredNodeOrder) {
  loadElements();
  beginDataset(33);
  axisHeader(false, 7, 21, 4, 1);
  for (int32_t k = 1; k <= 4; ++k) axes(false, 10 + k, matrix(k));
  endDataset();
  ASSERT_EQ(load(DIPEX), 0);
  std::vector<int32_t> want = {7, 1, 1, 4};
  for (auto [node, k] : {std::pair{11, 1}, {14, 4}, {12, 2}, {13, 3}}) {
    const std::vector<int32_t> g = group(node, matrix(k));
    want.insert(want.end(), g.begin(), g.end());
  }
  want.push_back(0);
  EXPECT_EQ(entries(33, 45), want);
  EXPECT_EQ(page(recorded(33)).word(5), 38 + 44);

  // Three points for four nodes would not fit the room reserved.
  beginDataset(33);
  axisHeader(false, 7, 21, 3, 1);
  for (int32_t k = 1; k <= 3; ++k) axes(false, 10 + k, matrix(k));
  endDataset();
  EXPECT_EQ(load(DIPEX), 299);
  EXPECT_EQ(messages().back(),
            " DI299 : DIPEX : *** PREVIOUS ERROR NOT SUCCESSFULLY DETECTED ***   : (    9200"
            "            )");
}

// A factor of 0 counts as 1 for the groups read, and the header keeps it; the next
// element's header is read in step.
TEST_F(AxisLoader, GaussPointGroupsFollowTheRepeatCount) {
  loadElements();
  beginDataset(34);
  axisHeader(true, 7, 21, 4, 0);
  for (int32_t g = 1; g <= 4; ++g) axes(true, g, matrix(g));
  axisHeader(true, 8, 0, 1, 1);
  axes(true, 5, matrix(5));
  endDataset();
  ASSERT_EQ(load(DIPGX), 0);
  std::vector<int32_t> want = {7, 1, 0, 4};
  for (int32_t g = 1; g <= 4; ++g) {
    const std::vector<int32_t> v = group(g, matrix(g));
    want.insert(want.end(), v.begin(), v.end());
  }
  want.insert(want.end(), {8, 2, 1, 1});
  const std::vector<int32_t> v = group(5, matrix(5));
  want.insert(want.end(), v.begin(), v.end());
  EXPECT_EQ(entries(34, 44 + 14), want);

  beginDataset(30);
  raw({-1, 7, 0, 0, 3, 0});
  for (int32_t g = 1; g <= 3; ++g) raw({-2, g, bits(float(g)), bits(-1.0f), bits(0.5f)});
  endDataset();
  ASSERT_EQ(load(DIPGP), 0);
  want = {7, 1, 0, 3};
  for (int32_t g = 1; g <= 3; ++g) want.insert(want.end(), {g, bits(float(g)), bits(-1.0f), bits(0.5f)});
  want.push_back(0);
  EXPECT_EQ(entries(30, 17), want);
}

TEST_F(AxisLoader, ElementAxisRefusals) {
  struct Case {
    const char* what;
    int32_t key;
    test::Loader loader;
    std::function<void()> send;
    int32_t code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"a type filter of another type", 34, DIPGX,
       [] {
         axisHeader(true, 7, 22, 1, 1);
         axes(true, 1, matrix(1));
       },
       239, errorLine(239, "DILIM")},
      {"an element passed", 33, DIPEX,
       [] {
         raw({-1, 8, 0, 0, 4, 1});
         raw({-1, 7, 0, 0, 4, 1});
       },
       239, errorLine(239, "DILIM")},
      {"key 34, only the end record", 34, DIPGX, [] {}, 257, errorLine(257, "DILIM")},
      {"key 30, only the end record", 30, DIPGP, [] {}, 259, errorLine(259, "DILIM")},
      {"key 33, only the end record", 33, DIPEX, [] {}, 257, errorLine(257, "DILIM")},
      {"larger than a page", 30, DIPGP, [] { raw({-1, 7, 0, 0, 600, 1}); }, 266,
       errorLine(266, "DIPGP")},
  };
  loadElements();
  for (const Case& c : cases) {
    beginDataset(c.key);
    c.send();
    if (c.key == 33 && c.code == 239) {
      // Element 8's groups, so that the stream reaches element 7's header.
      for (int32_t k = 1; k <= 4; ++k) nodalAxes(k, matrix(k));
    }
    endDataset();
    EXPECT_EQ(load(c.loader), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(c.key), 0) << c.what;
  }
}

// Without their node or topology dataset the loaders refuse before taking a page.
TEST_F(AxisLoader, NoEntitiesTakesNoPage) {
  using Case = std::tuple<int32_t, test::Loader, const char*>;
  for (auto [key, loader, name] : {Case{32, DIPNX, "DIPNX"}, Case{33, DIPEX, "DIPEX"},
                                   Case{34, DIPGX, "DIPGX"}, Case{30, DIPGP, "DIPGP"}}) {
    const int32_t next = page(1).word(6);
    beginDataset(key);
    raw({-1, 1, 0, 0, 1, 1});
    endDataset();
    EXPECT_EQ(load(loader), 299) << name;
    EXPECT_EQ(messages().back(), errorLine(299, name, 9100));
    EXPECT_EQ(page(1).word(6), next) << name;
  }
}

// Nodes 1, 2, 4, 5: every sub-record of node 3 gives the information line; words 3 and 4
// are r2 and r1.
TEST_F(AxisLoader, NodalAxesMatchTheNodesInOrder) {
  loadNodes({1, 2, 4, 5});
  beginDataset(32);
  raw({-1, 3, 2, 1});
  nodalAxes(31, matrix(1));
  nodalAxes(32, matrix(2));
  raw({-1, 4, 1, 1});
  nodalAxes(41, matrix(3));
  raw({-1, 5, 2, 1});
  nodalAxes(51, matrix(4));
  nodalAxes(52, matrix(5));
  endDataset();
  const std::size_t before = messages().size();
  ASSERT_EQ(load(DIPNX), 0);
  const std::string skipped =
      " DI    : DILIM : INVALID AXIS ID FOUND, AXIS DATA WILL BE IGNORED   : (         3)";
  EXPECT_EQ(messages(), [&] {
    std::vector<std::string> lines = messages();
    lines.resize(before);
    lines.insert(lines.end(), {skipped, skipped});
    return lines;
  }());
  std::vector<int32_t> want = {4, 3, 1, 1};
  std::vector<int32_t> g = group(41, matrix(3));
  want.insert(want.end(), g.begin(), g.end());
  want.insert(want.end(), {5, 4, 1, 2});
  for (auto [value, k] : {std::pair{51, 4}, {52, 5}}) {
    g = group(value, matrix(k));
    want.insert(want.end(), g.begin(), g.end());
  }
  want.push_back(0);
  EXPECT_EQ(entries(32, 14 + 24 + 1), want);
}

TEST_F(AxisLoader, NodalAxisRefusals) {
  loadNodes({1, 2, 4, 5});
  struct Case {
    const char* what;
    std::vector<int32_t> header;
    int32_t code;
    std::string line;
  };
  // (9 + 1) x 200 + 4 = 2004 words and the 38 of the head do not fit a page of 2040.
  const std::vector<Case> cases = {
      {"node beyond the last", {-1, 9, 1, 1}, 238, errorLine(238, "DILIM", 9)},
      {"larger than a page", {-1, 4, 200, 1}, 265, errorLine(265, "DIPNX")},
      {"only a cut entry", {-1, 4, 2, 1}, 257, errorLine(257, "DILIM")},
  };
  for (const Case& c : cases) {
    beginDataset(32);
    raw(c.header);
    nodalAxes(1, matrix(1));
    endDataset();
    EXPECT_EQ(load(DIPNX), c.code) << c.what;
    EXPECT_EQ(messages().back(), c.line) << c.what;
    EXPECT_EQ(recorded(32), 0) << c.what;
  }
}

}  // namespace
}  // namespace kvr
