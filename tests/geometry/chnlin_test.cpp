// Chain lines as patch sides: the end-to-end order of composite lines stored in any order
// and orientation, the point at a relative position shared among the members by length,
// and the lines whose point cannot be placed.
#include "geometry/chnlin.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "linemodel_fixture.h"

namespace kvr::test {
namespace {

constexpr float kSentinel = -77.0f;

// Points 121-124 at x = 0, 1, 3 and 4 on the x axis; lines 122 (121-122), 123 (122-123),
// 124 (123-124) and 129, line 123 run backwards (123-122).
class ChainLines : public LineModel {
 protected:
  void SetUp() override {
    LineModel::SetUp();
    point(121, {0, 0, 0});
    point(122, {1, 0, 0});
    point(123, {3, 0, 0});
    point(124, {4, 0, 0});
    straight(122, 121, 122);
    straight(123, 122, 123);
    straight(124, 123, 124);
    straight(129, 123, 122);
  }

  struct Members {
    std::vector<int32_t> list;
    int32_t status = -1;
  };
  static Members members(int32_t line) {
    std::array<int32_t, kMaxChainMembers> list{};
    int32_t n = -1;
    Members m;
    CHNMEM(line, list, n, m.status);
    m.list.assign(list.begin(), list.begin() + std::max(n, 0));
    return m;
  }
  static V pointAt(int32_t line, float t, int32_t& status) {
    V p = {kSentinel, kSentinel, kSentinel};
    status = -1;
    CHNPNT(line, t, p, status);
    return p;
  }
};

TEST_F(ChainLines, MembersComeInChainOrderFromTheStart) {
  composite(125, {123, 122, 124}, 121, 124);
  composite(126, {124, 123, 122}, 124, 121);
  composite(130, {122, 129, 124}, 121, 124);
  struct Case {
    int32_t line;
    std::vector<int32_t> list;
  } cases[] = {
      {125, {122, 123, 124}},     // attached after member 1, then before it
      {126, {-124, -123, -122}},  // nothing after member 1: the chain is turned round
      {130, {122, -129, 124}},    // a member run against its line
  };
  for (const Case& c : cases) {
    const Members m = members(c.line);
    EXPECT_EQ(m.status, 0) << c.line;
    EXPECT_EQ(m.list, c.list) << c.line;
  }
}

TEST_F(ChainLines, MembersThatDoNotChain) {
  straight(127, 121, 121);  // closed on itself
  straight(128, 123, 124);
  composite(131, {127, 122}, 121, 122);
  composite(132, {122, 127}, 121, 122);  // attaches at 121 but is closed on itself
  composite(133, {122, 124}, 121, 124);  // a gap between 122 and 123
  composite(134, {122, 999}, 121, 124);  // a member that does not exist
  struct Case {
    int32_t line;
    int32_t status;
  } cases[] = {{131, 1}, {132, 1}, {133, 1}, {134, 1}, {122, 2}, {999, 3}, {0, 3}, {-125, 3}};
  for (const Case& c : cases) {
    const Members m = members(c.line);
    EXPECT_EQ(m.status, c.status) << c.line;
    EXPECT_TRUE(m.list.empty()) << c.line;
  }
}

TEST_F(ChainLines, OrderOfAMemberTable) {
  // A closed triangle stored from its last side: the chain runs on from member 1's end.
  const std::array<ChainMember, 3> table = {{{7, 3, 1}, {5, 1, 2}, {6, 3, 2}}};
  std::array<int32_t, 3> order = {1, 2, 3};
  std::array<int32_t, 3> list{};
  int32_t status = -1;
  CHNORD(table, order, 3, list, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(list, (std::array<int32_t, 3>{7, 5, -6}));
  // A count the spans cannot hold.
  order = {1, 2, 3};
  CHNORD(table, order, 4, list, status);
  EXPECT_EQ(status, 1);
  int32_t first = 0, second = 0;
  CHNGET(-123, first, second, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(first, 122);
  EXPECT_EQ(second, 123);
  CHNGET(999, first, second, status);
  EXPECT_EQ(status, 1);
}

TEST_F(ChainLines, PointsShareTheChainByLength) {
  composite(125, {123, 122, 124}, 121, 124);
  composite(130, {122, 129, 124}, 121, 124);
  struct Case {
    int32_t line;
    float t;
    V point;
  } cases[] = {
      {125, 0.375f, {1.5f, 0, 0}}, {130, 0.375f, {1.5f, 0, 0}}, {125, 0.0f, {0, 0, 0}},
      {125, 1.0f, {4, 0, 0}},      {130, 0.25f, {1, 0, 0}},     {130, 0.9f, {3.6f, 0, 0}},
      {123, 0.5f, {2, 0, 0}},      {129, 0.25f, {2.5f, 0, 0}},
  };
  for (const Case& c : cases) {
    int32_t status = -1;
    const V p = pointAt(c.line, c.t, status);
    EXPECT_EQ(status, 0) << c.line << " at " << c.t;
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(p[k], c.point[k], 1.0e-5f) << c.line << " at " << c.t;
  }
}

TEST_F(ChainLines, PointsThatCannotBePlaced) {
  composite(125, {123, 122, 124}, 121, 124);
  composite(133, {122, 124}, 121, 124);
  // A type-6 line on a definition record of another class: LINEVL writes nothing.
  geoRecord(121, {{2, 205.001f}});
  line(135, {{2, 121}, {3, 122}, {7, 600}, {15, 121}});
  line(136, {{2, 121}, {3, 122}, {7, 9900}});  // type 99
  line(137, {{2, 121}, {3, 122}, {7, 0}});     // no type
  struct Case {
    int32_t line;
    float t;
  } cases[] = {{125, 1.5f}, {125, -0.1f}, {133, 0.5f}, {135, 0.5f},
               {136, 0.5f}, {137, 0.5f}, {999, 0.5f}, {0, 0.5f}};
  for (const Case& c : cases) {
    int32_t status = -1;
    const V p = pointAt(c.line, c.t, status);
    EXPECT_EQ(status, 1) << c.line << " at " << c.t;
    EXPECT_EQ(p, (V{kSentinel, kSentinel, kSentinel})) << c.line << " at " << c.t;
  }
}

}  // namespace
}  // namespace kvr::test
