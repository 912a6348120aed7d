#include "modeldb/loctop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "modeldb/elttab.h"

namespace kvr {
namespace {

using Nodes = std::vector<int32_t>;
using Lists = std::map<int32_t, Nodes>;  // list index -> local nodes

// The lists of every shape as the system lists them: the whole element, the positive
// indexes and the negative indexes ("-" where there are none), "index: nodes; ...".
struct ListedShape {
  int32_t shape;
  bool edgeWalk;
  const char* whole;
  const char* positive;
  const char* negative;
};

constexpr ListedShape kListed[] = {
    {1, false, "1 2",  // BE2
     "1: 1; 2: 2",
     "-"},
    {2, false, "1 3 2",  // BE3
     "1: 1; 2: 3",
     "-"},
    {3, false, "1 2 3",  // TR3
     "1: 1 2; 2: 2 3; 3: 1 3",
     "-"},
    {5, false, "1 2 3 4",  // QU4
     "1: 1 2; 2: 2 3; 3: 3 4; 4: 1 4",
     "-"},
    {7, false, "1 2 3 4 5 6",  // TR6
     "1: 1 3 2; 2: 3 5 4; 3: 1 5 6",
     "-"},
    {9, false, "1 2 3 4 5 6 7 8",  // QU8
     "1: 1 3 2; 2: 3 5 4; 3: 5 7 6; 4: 1 7 8",
     "-"},
    {10, false, "1 2 3 4 5 6 7 8 9",  // QU9
     "1: 1 3 2; 2: 3 5 4; 3: 5 7 6; 4: 1 7 8",
     "-"},
    {11, false, "-",  // PE6
     "1: 1 3 2; 2: 4 5 6; 3: 1 2 5 4; 4: 2 3 6 5; 5: 1 4 6 3",
     "-1: 1 2; -2: 2 3; -3: 3 1; -4: 4 5; -5: 5 6; -6: 6 4; -7: 1 4; -8: 2 5; -9: 3 6"},
    {12, false, "-",  // TE4
     "1: 1 3 2; 2: 1 2 4; 3: 2 3 4; 4: 1 4 3",
     "-1: 1 2; -2: 2 3; -3: 3 1; -4: 1 4; -5: 2 4; -6: 3 4"},
    {13, false, "-",  // HE8
     "1: 1 4 3 2; 2: 5 6 7 8; 3: 1 2 6 5; 4: 2 3 7 6; 5: 3 4 8 7; 6: 1 5 8 4",
     "-1: 1 2; -2: 2 3; -3: 3 4; -4: 4 1; -5: 5 6; -6: 6 7; -7: 7 8; -8: 8 5; -9: 1 5; "
     "-10: 2 6; -11: 3 7; -12: 4 8"},
    {14, false, "-",  // PE15
     "1: 1 3 2 7 8 9; 2: 4 5 6 10 11 12; 3: 1 2 5 4 7 10 13 14; 4: 2 3 6 5 8 11 14 15; "
     "5: 1 4 6 3 9 12 13 15",
     "-1: 1 2 7; -2: 2 3 8; -3: 3 1 9; -4: 4 5 10; -5: 5 6 11; -6: 6 4 12; -7: 1 4 13; "
     "-8: 2 5 14; -9: 3 6 15"},
    {15, false, "-",  // HE16
     "1: 1 4 3 2 9 10 11 12; 2: 5 6 7 8 13 14 15 16; 3: 1 2 6 5 9 13; 4: 2 3 7 6 10 14; "
     "5: 3 4 8 7 11 15; 6: 1 5 8 4 12 16",
     "-1: 1 2 9; -2: 2 3 10; -3: 3 4 11; -4: 4 1 12; -5: 5 6 13; -6: 6 7 14; -7: 7 8 15; "
     "-8: 8 5 16; -9: 1 5; -10: 2 6; -11: 3 7; -12: 4 8"},
    {16, false, "-",  // TE10
     "1: 1 3 2 5 6 7; 2: 1 2 4 5 8 9; 3: 2 3 4 6 9 10; 4: 1 4 3 7 8 10",
     "-1: 1 2 5; -2: 2 3 6; -3: 3 1 7; -4: 1 4 8; -5: 2 4 9; -6: 3 4 10"},
    {17, false, "-",  // HE20
     "1: 1 4 3 2 9 10 11 12; 2: 5 6 7 8 13 14 15 16; 3: 1 2 6 5 9 13 17 18; "
     "4: 2 3 7 6 10 14 18 19; 5: 3 4 8 7 11 15 19 20; 6: 1 5 8 4 12 16 17 20",
     "-1: 1 2 9; -2: 2 3 10; -3: 3 4 11; -4: 4 1 12; -5: 5 6 13; -6: 6 7 14; -7: 7 8 15; "
     "-8: 8 5 16; -9: 1 5 17; -10: 2 6 18; -11: 3 7 19; -12: 4 8 20"},
    {18, false, "-",  // HE27
     "1: 1 4 3 2 9 10 11 12 21; 2: 5 6 7 8 13 14 15 16 22; 3: 1 2 6 5 9 13 17 18 23; "
     "4: 2 3 7 6 10 14 18 19 24; 5: 3 4 8 7 11 15 19 20 25; 6: 1 5 8 4 12 16 17 20 26",
     "-1: 1 2 9; -2: 2 3 10; -3: 3 4 11; -4: 4 1 12; -5: 5 6 13; -6: 6 7 14; -7: 7 8 15; "
     "-8: 8 5 16; -9: 1 5 17; -10: 2 6 18; -11: 3 7 19; -12: 4 8 20"},
    {21, false, "1 4 2 3",  // BE4
     "1: 1; 2: 4",
     "-"},
    {22, false, "1 5 2 3 4",  // BE5
     "1: 1; 2: 5",
     "-"},
    {23, false, "1 2 3 4 5 6 7 8 9",  // TR9
     "1: 1 4 2 3; 2: 4 7 5 6; 3: 1 7 8 9",
     "-"},
    {24, false, "1 2 3 4 5 6 7 8 9 10 11 12",  // QU12
     "1: 1 4 2 3; 2: 4 7 5 6; 3: 7 10 8 9; 4: 1 10 11 12",
     "-"},
    {27, false, "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15",  // TR15
     "1: 1 5 2 3 4; 2: 5 9 6 7 8; 3: 1 9 10 11 12",
     "-"},
    {28, false, "-",  // TE16
     "1: 1 3 2 5 6 7 8 9 10; 2: 1 2 4 5 6 11 12 13 14; 3: 2 3 4 7 8 13 14 15 16; "
     "4: 1 4 3 9 10 11 12 15 16",
     "-1: 1 2 5 6; -2: 2 3 7 8; -3: 3 1 9 10; -4: 1 4 11 12; -5: 2 4 13 14; -6: 3 4 15 16"},
    {28, true, "-",  // TE16
     "1: 4 7 16 5 6 11 12 14 15; 2: 1 16 7 8 9 10 12 13 15; 3: 1 4 16 2 3 10 11 13 14; "
     "4: 1 7 4 2 3 5 6 8 9",
     "-1: 1 4 2 3; -2: 4 7 5 6; -3: 7 1 8 9; -4: 1 16 10 13; -5: 4 16 11 14; -6: 7 16 12 15"},
    {29, false, "-",  // PE24
     "1: 1 3 2 7 8 9 10 11 12; 2: 4 5 6 13 14 15 16 17 18; 3: 1 2 5 4 7 8 13 14 19 20 21 22; "
     "4: 2 3 6 5 9 10 15 16 21 22 23 24; 5: 1 4 6 3 11 12 17 18 19 20 23 24",
     "-1: 1 2 7 8; -2: 2 3 9 10; -3: 3 1 11 12; -4: 4 5 13 14; -5: 5 6 15 16; -6: 6 4 17 18; "
     "-7: 1 4 19 20; -8: 2 5 21 22; -9: 3 6 23 24"},
    {29, true, "-",  // PE24
     "1: 1 7 4 2 3 5 6 8 9; 2: 16 19 22 17 18 20 21 23 24; 3: 4 7 22 19 5 6 11 12 14 15 20 21; "
     "4: 1 16 22 7 8 9 10 12 13 15 23 24; 5: 1 4 19 16 2 3 10 11 13 14 17 18",
     "-1: 1 4 2 3; -2: 4 7 5 6; -3: 7 1 8 9; -4: 16 19 17 18; -5: 19 22 20 21; "
     "-6: 22 16 23 24; -7: 1 16 10 13; -8: 4 19 11 14; -9: 7 22 12 15"},
    {30, false, "-",  // HE32
     "1: 1 4 3 2 9 10 11 12 13 14 15 16; 2: 5 6 7 8 17 18 19 20 21 22 23 24; "
     "3: 1 2 6 5 9 10 17 18 25 26 27 28; 4: 2 3 7 6 11 12 19 20 27 28 29 30; "
     "5: 3 4 8 7 13 14 21 22 29 30 31 32; 6: 1 5 8 4 15 16 23 24 25 26 31 32",
     "-1: 1 2 9 10; -2: 2 3 11 12; -3: 3 4 13 14; -4: 4 1 15 16; -5: 5 6 17 18; -6: 6 7 19 20; "
     "-7: 7 8 21 22; -8: 8 5 23 24; -9: 1 5 25 26; -10: 2 6 27 28; -11: 3 7 29 30; "
     "-12: 4 8 31 32"},
    {30, true, "-",  // HE32
     "1: 1 21 30 10 11 12 13 16 17 20 31 32; 2: 4 7 27 24 5 6 14 15 18 19 25 26; "
     "3: 1 4 24 21 2 3 13 14 17 18 22 23; 4: 7 10 30 27 8 9 15 16 19 20 28 29; "
     "5: 1 10 7 4 2 3 5 6 8 9 11 12; 6: 21 24 27 30 22 23 25 26 28 29 31 32",
     "-1: 1 4 2 3; -2: 4 7 5 6; -3: 7 10 8 9; -4: 10 1 11 12; -5: 21 24 22 23; "
     "-6: 24 27 25 26; -7: 27 30 28 29; -8: 30 21 31 32; -9: 1 21 13 17; -10: 4 24 14 18; "
     "-11: 7 27 15 19; -12: 10 30 16 20"},
    {41, false, "1 2",  // IP11
     "1: 1; 2: 2",
     "-"},
    {42, false, "-",  // IL22
     "1: 1 2; 2: 3 4",
     "-"},
    {43, false, "-",  // IL32
     "1: 1 3 2; 2: 4 5",
     "-"},
    {44, false, "-",  // IL33
     "1: 1 3 2; 2: 4 6 5",
     "-"},
    {45, false, "-",  // IL44
     "1: 1 4 2 3; 2: 5 8 6 7",
     "-"},
    {46, false, "-",  // IL55
     "1: 1 5 2 3 4; 2: 6 10 7 8 9",
     "-"},
    {47, false, "-",  // IS33
     "1: 1 3 2; 2: 4 5 6",
     "-1: 1 2; -2: 2 3; -3: 3 1; -4: 4 5; -5: 5 6; -6: 6 4"},
    {48, false, "-",  // IS44
     "1: 1 4 3 2; 2: 5 6 7 8",
     "-1: 1 2; -2: 2 3; -3: 3 4; -4: 4 1; -5: 5 6; -6: 6 7; -7: 7 8; -8: 8 5"},
    {49, false, "-",  // IS84
     "1: 1 3 5 7 2 4 6 8; 2: 9 10 11 12",
     "-1: 1 3 2; -2: 3 5 4; -3: 5 7 6; -4: 7 1 8; -5: 9 10; -6: 10 11; -7: 11 12; -8: 12 9"},
    {50, false, "-",  // IS66
     "1: 1 3 5 2 4 6; 2: 7 9 11 8 10 12",
     "-1: 1 3 2; -2: 3 5 4; -3: 5 1 6; -4: 7 9 8; -5: 9 11 10; -6: 11 7 12"},
    {51, false, "-",  // IS88
     "1: 1 3 5 7 2 4 6 8; 2: 9 11 13 15 10 12 14 16",
     "-1: 1 3 2; -2: 3 5 4; -3: 5 7 6; -4: 7 1 8; -5: 9 11 10; -6: 11 13 12; -7: 13 15 14; "
     "-8: 15 9 16"},
    {60, false, "1 4 8 5 2 3 6 7",  // SP8
     "1: 1 5; 2: 4 8",
     "-"},
    {61, false, "1 5 10 6 2 3 4 7 8 9",  // SP10
     "1: 1 6; 2: 5 10",
     "-"},
};

Nodes parseNodes(const std::string& text) {
  Nodes nodes;
  std::istringstream in(text);
  for (int32_t n; in >> n;) nodes.push_back(n);
  return nodes;
}

Lists parseListed(const ListedShape& row) {
  Lists lists;
  if (std::string(row.whole) != "-") lists[0] = parseNodes(row.whole);
  for (std::string part : {row.positive, row.negative}) {
    if (part == "-") continue;
    std::istringstream in(part);
    for (std::string item; std::getline(in, item, ';');) {
      const size_t colon = item.find(':');
      lists[std::stoi(item.substr(0, colon))] = parseNodes(item.substr(colon + 1));
    }
  }
  return lists;
}

struct Answer {
  Nodes list;
  int32_t count = -99;
  int32_t status = -99;
};

// LOCTOP into a list of CAPACITY words that holds 99s beforehand.
Answer ask(int32_t shape, int32_t index, int32_t mode = 0, int32_t capacity = 15) {
  Answer a;
  a.list.assign(static_cast<size_t>(std::max(capacity, 0)), 99);
  LOCTOP(shape, index, mode, a.list, a.count, a.status);
  return a;
}

// Every list of SHAPE that LOCTOP gives in MODE, asked index by index from 0 outwards.
Lists listsOf(int32_t shape, int32_t mode) {
  Lists lists;
  for (int32_t step : {1, -1}) {
    for (int32_t index = step == 1 ? 0 : -1;; index += step) {
      const Answer a = ask(shape, index, mode);
      if (a.status != kLocalListGiven) {
        if (index != 0) break;
        continue;
      }
      lists[index] = Nodes(a.list.begin(), a.list.begin() + a.count);
    }
  }
  return lists;
}

bool allZero(const Nodes& list) {
  return std::all_of(list.begin(), list.end(), [](int32_t n) { return n == 0; });
}

TEST(Loctop, EveryListAsListed) {
  for (const ListedShape& row : kListed) {
    const int32_t mode = row.edgeWalk ? kEdgeWalkMode : 0;
    SCOPED_TRACE("shape " + std::to_string(row.shape) + " mode " + std::to_string(mode));
    const Lists listed = parseListed(row);
    for (const auto& [index, nodes] : listed) {
      const Answer a = ask(row.shape, index, mode);
      ASSERT_EQ(a.status, kLocalListGiven) << "index " << index;
      EXPECT_EQ(a.count, static_cast<int32_t>(nodes.size())) << "index " << index;
      Nodes expected = nodes;
      expected.resize(15, 0);
      EXPECT_EQ(a.list, expected) << "index " << index;
    }
    // Nothing beyond the listed indexes, on either side.
    EXPECT_EQ(listsOf(row.shape, mode), listed);
  }
}

TEST(Loctop, ShapesWithoutLists) {
  std::set<int32_t> withLists;
  for (const ListedShape& row : kListed) withLists.insert(row.shape);
  EXPECT_EQ(withLists.size(), 36u);
  for (int32_t s : {INT_MIN, -1, 0, 62, 63, INT_MAX}) withLists.erase(s);
  for (int32_t s = -1; s <= 63; ++s) {
    if (withLists.count(s)) continue;
    for (int32_t index : {-1, 0, 1, 2}) {
      for (int32_t mode : {0, 1}) {
        const Answer a = ask(s, index, mode);
        EXPECT_EQ(a.status, kShapeWithoutLists) << s;
        EXPECT_EQ(a.count, 0) << s;
        EXPECT_TRUE(allZero(a.list)) << s;
      }
    }
  }
  EXPECT_EQ(ask(20, 1).status, kShapeWithoutLists);  // the point element
}

TEST(Loctop, RefusalsClearTheListAndCountTheRoomNeeded) {
  struct Case {
    int32_t shape, index, mode, capacity, status, count;
    Nodes list;
  };
  const Case cases[] = {
      {13, 1, 0, 15, kLocalListGiven, 4, {1, 4, 3, 2}},
      {13, -9, 0, 15, kLocalListGiven, 2, {1, 5}},
      {13, 1, 0, 4, kLocalListGiven, 4, {1, 4, 3, 2}},
      {13, 1, 0, 3, kListTooLong, 4, {}},
      {13, 0, 0, 15, kIndexWithoutList, 8, {}},   // a solid has no whole-element list
      {13, 7, 0, 15, kIndexWithoutList, 4, {}},   // a face of HE8 has 4 nodes
      {13, -13, 0, 15, kIndexWithoutList, 2, {}},
      // The room is tested before the index.
      {13, 7, 0, 2, kListTooLong, 4, {}},
      {13, 7, 0, 3, kListTooLong, 4, {}},
      {13, 0, 0, 3, kListTooLong, 8, {}},
      {13, 0, 0, 7, kListTooLong, 8, {}},
      {13, 0, 0, 8, kIndexWithoutList, 8, {}},
      {13, -13, 0, 1, kListTooLong, 2, {}},
      {3, -1, 0, 15, kIndexWithoutList, 2, {}},   // TR3 keeps its edges as positive lists
      {14, 6, 0, 15, kIndexWithoutList, 8, {}},   // the longest face of PE15
      {15, -13, 0, 15, kIndexWithoutList, 3, {}},
      {2, 0, 0, 15, kLocalListGiven, 3, {1, 3, 2}},
      {2, 2, 0, 15, kLocalListGiven, 1, {3}},
      {30, 5, 0, 15, kLocalListGiven, 12, {3, 4, 8, 7, 13, 14, 21, 22, 29, 30, 31, 32}},
      {30, 5, 1, 15, kLocalListGiven, 12, {1, 10, 7, 4, 2, 3, 5, 6, 8, 9, 11, 12}},
      {30, 5, 1, 11, kListTooLong, 12, {}},
      {61, 0, 0, 10, kLocalListGiven, 10, {1, 5, 10, 6, 2, 3, 4, 7, 8, 9}},
      {61, 0, 0, 9, kListTooLong, 10, {}},
      {27, 0, 0, 15, kLocalListGiven, 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {1, 1, 0, 0, kListTooLong, 1, {}},
      {1, 1, 0, -5, kListTooLong, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("shape " + std::to_string(c.shape) + " index " + std::to_string(c.index) +
                 " mode " + std::to_string(c.mode) + " capacity " + std::to_string(c.capacity));
    const Answer a = ask(c.shape, c.index, c.mode, c.capacity);
    EXPECT_EQ(a.status, c.status);
    EXPECT_EQ(a.count, c.count);
    Nodes expected = c.list;
    expected.resize(static_cast<size_t>(std::max(c.capacity, 0)), 0);
    EXPECT_EQ(a.list, expected);
  }
}

TEST(Loctop, OnlyModeOneRenumbersAndOnlyTheCubicSolids) {
  for (int32_t s = 1; s <= 61; ++s) {
    const Lists plain = listsOf(s, 0);
    for (int32_t mode : {2, -1, INT_MIN, INT_MAX}) EXPECT_EQ(listsOf(s, mode), plain) << s;
    const bool renumbered = s >= 28 && s <= 30;
    EXPECT_EQ(listsOf(s, kEdgeWalkMode) != plain, renumbered) << s;
  }
}

// --- Consistency of the table: these catch a mistyped node in any list. ---

std::set<int32_t> asSet(const Nodes& nodes) { return {nodes.begin(), nodes.end()}; }

const int32_t kLines[] = {1, 2, 21, 22, 41};
const int32_t kSurfaces[] = {3, 5, 7, 9, 10, 23, 24, 27};
const int32_t kSolids[] = {11, 12, 13, 14, 15, 16, 17, 18, 28, 29, 30};

class LocalTopology : public ::testing::Test {
 protected:
  void SetUp() override { ELTBLD(5006); }
  void TearDown() override { ELTTAB.clear(); }
};

TEST_F(LocalTopology, ListsHoldDistinctNodesOfTheShape) {
  for (const ListedShape& row : kListed) {
    const int32_t n = SHPNOD(row.shape);
    for (const auto& [index, nodes] : listsOf(row.shape, row.edgeWalk ? kEdgeWalkMode : 0)) {
      SCOPED_TRACE("shape " + std::to_string(row.shape) + " index " + std::to_string(index));
      EXPECT_EQ(asSet(nodes).size(), nodes.size()) << "a node twice";
      for (int32_t node : nodes) EXPECT_TRUE(node >= 1 && node <= n) << node;
      if (index == 0) {
        EXPECT_EQ(static_cast<int32_t>(nodes.size()), n) << "whole element";
      }
    }
  }
}

TEST_F(LocalTopology, LineShapesEndAtTheirWholeListsEnds) {
  for (int32_t s : kLines) {
    const Lists l = listsOf(s, 0);
    ASSERT_EQ(l.size(), 3u) << s;
    EXPECT_EQ(l.at(1), Nodes{l.at(0)[0]}) << s;
    EXPECT_EQ(l.at(2), Nodes{l.at(0)[1]}) << s;
  }
}

TEST_F(LocalTopology, SurfaceEdgesRunRoundTheCorners) {
  for (int32_t s : kSurfaces) {
    SCOPED_TRACE("shape " + std::to_string(s));
    const int32_t t = SHPMAP(s);
    const Lists l = listsOf(s, 0);
    const int32_t edges = static_cast<int32_t>(l.size()) - 1;
    ASSERT_EQ(edges, ELTEDG(t));
    ASSERT_EQ(ELTCOR(t), edges);
    Nodes whole(static_cast<size_t>(SHPNOD(s)));
    for (size_t k = 0; k < whole.size(); ++k) whole[k] = static_cast<int32_t>(k + 1);
    EXPECT_EQ(l.at(0), whole);
    // Edge i runs from corner i to corner i+1; the last one is given from corner 1.
    Nodes corners;
    for (int32_t e = 1; e < edges; ++e) corners.push_back(l.at(e)[0]);
    corners.push_back(l.at(edges - 1)[1]);
    for (int32_t e = 1; e < edges; ++e) EXPECT_EQ(l.at(e)[1], corners[static_cast<size_t>(e)]);
    EXPECT_EQ(l.at(edges)[0], corners.front());
    EXPECT_EQ(l.at(edges)[1], corners.back());
    // Edge nodes are shared only at corners; the nodes on no edge are the interior ones.
    std::set<int32_t> onEdges;
    size_t edgeNodes = 0;
    for (int32_t e = 1; e <= edges; ++e) {
      edgeNodes += l.at(e).size() - 2;
      for (int32_t node : l.at(e)) onEdges.insert(node);
    }
    EXPECT_EQ(onEdges.size(), corners.size() + edgeNodes);
    EXPECT_EQ(static_cast<int32_t>(whole.size() - onEdges.size()), ELTPRP(t).interior);
  }
}

// Checks the faces and edges of a solid (or the sides and edges of an interface solid):
// each edge's interior nodes ascend; each face starts with the corners of a cycle whose
// sides are edges of the element, and holds beside them exactly the interior nodes of
// those edges and, at most, nodes that lie on no edge. Each edge is used by FACESPEREDGE
// faces; when by two, in opposite directions, so that all faces turn the same way.
// Answers the nodes of 1..NODECOUNT on no face and no edge.
std::set<int32_t> checkSolid(const Lists& lists, int32_t nodeCount, int32_t facesPerEdge) {
  std::map<std::pair<int32_t, int32_t>, int32_t> edgeOf;  // corner pair -> edge index
  std::set<int32_t> corners, onEdges;
  for (const auto& [index, nodes] : lists) {
    if (index >= 0) continue;
    EXPECT_GE(nodes.size(), 2u);
    // An edge's interior nodes are numbered in order from its first corner.
    EXPECT_TRUE(std::is_sorted(nodes.begin() + 2, nodes.end())) << "edge " << index;
    edgeOf[{nodes[0], nodes[1]}] = index;
    corners.insert(nodes[0]);
    corners.insert(nodes[1]);
    onEdges.insert(nodes.begin(), nodes.end());
  }
  std::map<int32_t, std::vector<int32_t>> uses;  // edge index -> +1/-1 per face
  std::set<int32_t> inFaces;
  size_t extrasPerFace = SIZE_MAX;
  for (const auto& [index, nodes] : lists) {
    if (index <= 0) continue;
    SCOPED_TRACE("face " + std::to_string(index));
    inFaces.insert(nodes.begin(), nodes.end());
    size_t k = 0;
    while (k < nodes.size() && corners.count(nodes[k])) ++k;
    EXPECT_TRUE(k == 3 || k == 4) << k << " corners";
    std::set<int32_t> others(nodes.begin() + static_cast<long>(k), nodes.end());
    for (size_t i = 0; i < k; ++i) {
      const int32_t a = nodes[i], b = nodes[(i + 1) % k];
      int32_t edge = 0;
      int32_t sense = 0;
      if (edgeOf.count({a, b})) {
        edge = edgeOf[{a, b}];
        sense = 1;
      } else if (edgeOf.count({b, a})) {
        edge = edgeOf[{b, a}];
        sense = -1;
      }
      if (edge == 0) {
        ADD_FAILURE() << a << "-" << b << " is no edge";
        continue;
      }
      uses[edge].push_back(sense);
      const Nodes& e = lists.at(edge);
      for (size_t j = 2; j < e.size(); ++j) EXPECT_EQ(others.erase(e[j]), 1u) << e[j];
    }
    for (int32_t node : others) EXPECT_EQ(onEdges.count(node), 0u) << node << " off its edges";
    if (extrasPerFace == SIZE_MAX) extrasPerFace = others.size();
    EXPECT_EQ(others.size(), extrasPerFace);
  }
  for (const auto& [index, nodes] : lists) {
    if (index >= 0) continue;
    const std::vector<int32_t>& u = uses[index];
    EXPECT_EQ(static_cast<int32_t>(u.size()), facesPerEdge) << "edge " << index;
    if (u.size() == 2) {
      EXPECT_EQ(u[0] + u[1], 0) << "edge " << index << " turns one way twice";
    }
  }
  std::set<int32_t> missing;
  for (int32_t node : onEdges) inFaces.insert(node);
  for (int32_t node = 1; node <= nodeCount; ++node) {
    if (!inFaces.count(node)) missing.insert(node);
  }
  return missing;
}

TEST_F(LocalTopology, SolidFacesCloseRoundTheElement) {
  for (int32_t s : kSolids) {
    for (int32_t mode : {0, kEdgeWalkMode}) {
      SCOPED_TRACE("shape " + std::to_string(s) + " mode " + std::to_string(mode));
      const Lists l = listsOf(s, mode);
      const std::set<int32_t> notOnFaces = checkSolid(l, SHPNOD(s), 2);
      // Only the centre node of HE27 lies on no face.
      EXPECT_EQ(notOnFaces, s == 18 ? std::set<int32_t>{27} : std::set<int32_t>{});
      const int32_t t = SHPMAP(s);
      if (ELNCNT(t) == 0) continue;
      EXPECT_EQ(std::count_if(l.begin(), l.end(), [](auto& e) { return e.first > 0; }), ELTFAC(t));
      EXPECT_EQ(std::count_if(l.begin(), l.end(), [](auto& e) { return e.first < 0; }), ELTEDG(t));
    }
  }
}

TEST_F(LocalTopology, InterfaceSidesSplitTheNodes) {
  for (int32_t s = 42; s <= 51; ++s) {
    SCOPED_TRACE("shape " + std::to_string(s));
    const Lists l = listsOf(s, 0);
    std::set<int32_t> all = asSet(l.at(1));
    for (int32_t node : l.at(2)) EXPECT_TRUE(all.insert(node).second) << node << " on both sides";
    EXPECT_EQ(static_cast<int32_t>(all.size()), SHPNOD(s));
    // Interface solids: every edge lies on one side only.
    if (s >= 47) {
      EXPECT_EQ(checkSolid(l, SHPNOD(s), 1), std::set<int32_t>{});
    }
  }
}

TEST_F(LocalTopology, EdgeWalkListsRenumberTheSameElement) {
  // The edges of both numberings are the same edges in the same order, so they give the
  // renumbering; every face must then come out as a face of the other numbering, its
  // corners turning the same way.
  for (int32_t s = 28; s <= 30; ++s) {
    SCOPED_TRACE("shape " + std::to_string(s));
    const Lists plain = listsOf(s, 0);
    const Lists walked = listsOf(s, kEdgeWalkMode);
    std::map<int32_t, int32_t> to;
    for (const auto& [index, nodes] : plain) {
      if (index >= 0) continue;
      const Nodes& other = walked.at(index);
      ASSERT_EQ(other.size(), nodes.size());
      for (size_t k = 0; k < nodes.size(); ++k) {
        auto [it, fresh] = to.emplace(nodes[k], other[k]);
        EXPECT_EQ(it->second, other[k]) << "node " << nodes[k] << " renumbered two ways";
      }
    }
    std::set<int32_t> images;
    for (auto [from, image] : to) images.insert(image);
    EXPECT_EQ(static_cast<int32_t>(to.size()), SHPNOD(s));
    EXPECT_EQ(images.size(), to.size());
    std::set<int32_t> matched;
    for (const auto& [index, nodes] : plain) {
      if (index <= 0) continue;
      Nodes image;
      for (int32_t node : nodes) image.push_back(to[node]);
      const int32_t corners = nodes.size() == 9 ? 3 : 4;  // a triangle face has 9 nodes
      bool found = false;
      for (const auto& [windex, wnodes] : walked) {
        if (windex <= 0 || asSet(wnodes) != asSet(image)) continue;
        found = true;
        matched.insert(windex);
        // Same corner cycle up to where it starts.
        Nodes a(image.begin(), image.begin() + corners);
        Nodes b(wnodes.begin(), wnodes.begin() + corners);
        std::rotate(b.begin(), std::find(b.begin(), b.end(), a[0]), b.end());
        EXPECT_EQ(a, b) << "face " << index << " turns the other way as face " << windex;
        // The edge-walk faces give their other nodes in ascending order.
        EXPECT_TRUE(std::is_sorted(wnodes.begin() + corners, wnodes.end())) << windex;
      }
      EXPECT_TRUE(found) << "face " << index;
    }
    const auto faces =
        std::count_if(walked.begin(), walked.end(), [](auto& e) { return e.first > 0; });
    EXPECT_EQ(matched.size(), static_cast<size_t>(faces));
  }
}

}  // namespace
}  // namespace kvr
