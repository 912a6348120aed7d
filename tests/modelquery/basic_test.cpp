// The basic queries of the reading road through the exported routines: the model size
// vector, points, nodes, elements, names, and the text-code utilities.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "kvr7dbio.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "queryfixture.h"

namespace kvr::test {
namespace {

class Basic : public QuerySession {
 protected:
  void SetUp() override {
    QuerySession::SetUp();
    start();
  }
};

using Codes = std::vector<int32_t>;

Codes codesOf(const std::string& s) {
  Codes c;
  for (char ch : s) c.push_back(codeOf(ch));
  return c;
}

TEST_F(Basic, SizeVectorCopiesTheCountsAndTheSessionCounts) {
  std::array<int32_t, 20> sizes{};
  dll_usize(sizes.data());
  // Points, lines, surfaces, bodies, shapes, highest node, nodes an element, highest
  // element, sets (stored less one), materials, properties, conditions, loads, curves,
  // node limit, coordinate systems, the two offsets, groups, largest load value 3.
  using M = QueryModel;
  EXPECT_EQ(sizes, (std::array<int32_t, 20>{M::kAllPoints, M::kAllLines, M::kAllSurfaces,
                                            M::kAllBodies, 0, M::kAllNodes, 20, M::kAllElements,
                                            M::kAllStoredSets - 1, M::kAllMaterials,
                                            M::kProperties, M::kAllConditions, M::kAllLoads, M::kCurves,
                                            20, M::kAllCoordSystems, 1000, 5000, 6, 7}));

  std::array<int32_t, 50> wide{};
  wide.fill(-1);
  dll_usiz2(wide.data());
  EXPECT_TRUE(std::equal(sizes.begin(), sizes.end(), wide.begin()));
  // No kind-42 entities, no descriptor records, four element attribute regions (position
  // 30); kind 46 holds only its reserved entity; and every position after 32 is cleared.
  for (int32_t k = 21; k <= 50; ++k) {
    EXPECT_EQ(wide[static_cast<size_t>(k - 1)], k == 30 ? QueryModel::kRegions : 0) << k;
  }
}

TEST_F(Basic, PointsAnswerOnlyWhenTheyExist) {
  char name[8];
  std::array<float, 3> xyz{};
  int32_t status = -1;
  int32_t number = 3;
  dll_upnt2(&number, name, xyz.data(), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::string(name, 8), "P3      ");
  EXPECT_EQ(xyz, (std::array<float, 3>{3, 0, 0}));

  // A deleted point and numbers out of range leave the outputs as they were.
  for (const auto& [n, want] : {std::pair{2, 2}, {0, 1}, {QueryModel::kAllPoints + 1, 1}}) {
    std::fill(name, name + 8, '#');
    xyz.fill(-9);
    number = n;
    dll_upnt2(&number, name, xyz.data(), &status);
    EXPECT_EQ(status, want) << n;
    EXPECT_EQ(std::string(name, 8), "########") << n;
    EXPECT_EQ(xyz, (std::array<float, 3>{-9, -9, -9})) << n;
  }
}

TEST_F(Basic, NodesCountFromTheOffset) {
  std::array<float, 3> xyz{-9, -9, -9};
  int32_t status = -1;
  int32_t node = 1000;  // internal node 0
  dll_unode(&node, xyz.data(), &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(xyz, (std::array<float, 3>{-9, -9, -9}));
  node = 1000 + kN;
  dll_unode(&node, xyz.data(), &status);
  EXPECT_EQ(status, 0);
  std::array<float, 3> last{};
  QueryModel::node(kN, last[0], last[1], last[2]);
  EXPECT_EQ(xyz, last);
  node = 1001 + kN;
  dll_unode(&node, xyz.data(), &status);
  EXPECT_EQ(status, 1);
}

TEST_F(Basic, ElementsAnswerTheirNodesInTheInterfaceOrder) {
  std::array<int32_t, QueryModel::kElementNodes> nodes{};
  int32_t count = -1, status = -1;
  int32_t element = 5003;  // the IL22 stored as 5 6 7 8: its second side reversed
  dll_uelem(&element, nodes.data(), &count, &status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(std::vector<int32_t>(nodes.begin(), nodes.begin() + 4), (Codes{1005, 1006, 1008, 1007}));

  element = 5002;
  dll_uelem(&element, nodes.data(), &count, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::vector<int32_t>(nodes.begin(), nodes.begin() + 8),
            (Codes{1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012}));

  for (const int32_t e : {5000, 5001 + QueryModel::kAllElements, -7}) {
    element = e;
    count = -1;
    dll_uelem(&element, nodes.data(), &count, &status);
    EXPECT_EQ(count, 0) << e;
    EXPECT_EQ(status, 1) << e;
  }
}

TEST_F(Basic, NamesByKind) {
  struct Case {
    int32_t kind, number;
    const char* name;
    int32_t status;
  };
  const Case cases[] = {
      {7, 1, "MIXED   ", 0},      // stored set 2
      {1, 1, "P1      ", 0},      {2, 4, "C1      ", 0},
      {3, 3, "S3      ", 0},      {4, 1, "BLOCK001", 0},
      {10, 1, "STEEL   ", 0},     {30, 2, "LSET    ", 0},
      {33, 3, "TIE     ", 0},      {0, 1, "        ", 0},  // the model: a blank name line
      {8, 1, "????????", 1},      // a node has no name
      {-1, 1, "????????", 1},     {44, 5, "########", 2},
      {44, 1, "????????", 1},     // a region exists but has no name of its own
      {1, 2, "########", 2},      // deleted: the name is left
      {7, 0, "########", 2},      // stored set 1 heads the free chain
      {7, QueryModel::kAllStoredSets, "########", 2},      {46, 0, "########", 2},
  };
  for (const Case& c : cases) {
    char name[8];
    std::fill(name, name + 8, '#');
    int32_t kind = c.kind, number = c.number, status = -1;
    dll_unamg2(&kind, &number, name, &status);
    EXPECT_EQ(std::string(name, 8), c.name) << c.kind << "," << c.number;
    EXPECT_EQ(status, c.status) << c.kind << "," << c.number;
  }
}

TEST_F(Basic, CodesToTextHoldAtMostEightyCharacters) {
  Codes codes;
  for (int32_t k = 0; k < 100; ++k) codes.push_back(codeOf(static_cast<char>('A' + k % 26)));
  std::string text(80, '#');
  for (const int32_t n : {0, -3}) {
    int32_t count = n;
    dll_ua1cha(codes.data(), &count, text.data());
    EXPECT_EQ(text, std::string(80, ' ')) << n;
  }
  int32_t n = 5;
  dll_ua1cha(codes.data(), &n, text.data());
  EXPECT_EQ(text, "ABCDE" + std::string(75, ' '));
  // More than 80 codes: the first 80, and nothing past the text.
  std::string guarded(90, '#');
  n = 100;
  dll_ua1cha(codes.data(), &n, guarded.data());
  std::string want;
  for (int32_t k = 0; k < 80; ++k) want.push_back(static_cast<char>('A' + k % 26));
  EXPECT_EQ(guarded.substr(0, 80), want);
  EXPECT_EQ(guarded.substr(80), std::string(10, '#'));
}

TEST_F(Basic, TextToCodesStopsAtTheTerminatorAndNeverBeforeTheArray) {
  constexpr int32_t kSentinel = -5;
  struct Case {
    std::string text;
    int32_t length, start;
    Codes stored;  // positions 1..4 after the call
    int32_t last;
  };
  const int32_t a = codeOf('A'), b = codeOf('B');
  const Case cases[] = {
      {"AB*.CD", 6, 1, {a, b, kSentinel, kSentinel}, 2},
      {"AB*.CD", 6, 3, {kSentinel, kSentinel, a, b}, 4},
      {"      ", 6, 3, {kSentinel, kSentinel, kSentinel, kSentinel}, 2},  // all blank
      {"AB", -4, 2, {kSentinel, kSentinel, kSentinel, kSentinel}, 1},     // negative length
      {"AB", 2, 0, {kSentinel, kSentinel, kSentinel, kSentinel}, -1},     // start below 1
  };
  for (const Case& c : cases) {
    Codes codes(4, kSentinel);
    std::string text = c.text;
    int32_t length = c.length, start = c.start, last = 99;
    dll_uslcha(text.data(), &length, &start, codes.data(), &last);
    EXPECT_EQ(codes, c.stored) << c.text << " from " << c.start;
    EXPECT_EQ(last, c.last) << c.text << " from " << c.start;
  }
}

TEST_F(Basic, UpperCaseChangesOnlyCodeLinePositions) {
  Codes codes(260, codeOf('a'));
  int32_t first = 250, last = 260;
  dll_ucconv(codes.data(), &first, &last);
  for (int32_t k = 1; k <= 260; ++k) {
    const char want = k >= 250 && k <= 255 ? 'A' : 'a';
    EXPECT_EQ(codes[static_cast<size_t>(k - 1)], codeOf(want)) << k;
  }
  first = -3;
  last = 2;
  dll_ucconv(codes.data(), &first, &last);
  EXPECT_EQ(codes[0], codeOf('A'));
  EXPECT_EQ(codes[2], codeOf('a'));
}

TEST_F(Basic, NextTokenOfACodeLine) {
  Codes line = codesOf("  12  ");
  int32_t start = 1, last = 6, mode = 0, kind = -9, first = 0, end = 0, ivalue = 0;
  float rvalue = 0;
  dll_udecod(line.data(), &start, &last, &mode, &kind, &first, &end, &ivalue, &rvalue);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(end, 4);
  EXPECT_EQ(ivalue, 12);
  EXPECT_EQ(rvalue, 12.0f);
}

}  // namespace
}  // namespace kvr::test
