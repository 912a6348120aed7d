// The line records: the accessor table, composite lines, the whole-record routines and the
// line names, on small fixtures in the full model registry.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/shpdef.h"
#include "modelfixture.h"
#include "runtime/idpack.h"

namespace kvr {
namespace {

class Lines : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    IDPACK.modulus = 1000;
    MODCNT.word(kCntLines) = 12;
    MODCNT.word(kCntPoints) = 3;
    for (int32_t id = 1; id <= 12; ++id) line(id, {});
  }
  void TearDown() override {
    IDPACK = {};
    ModelFixture::TearDown();
  }
  // Line ID with the given words (1-based positions, the rest 0).
  static void line(int32_t id, std::initializer_list<std::pair<int32_t, int32_t>> words) {
    Words w(kLineWords, 0);
    for (auto [k, v] : words) w[static_cast<size_t>(k - 1)] = v;
    put(kArrLines, (id - 1) * kLineWords + 1, w);
  }
  static int32_t word(int32_t id, int32_t k) { return get(kArrLines, (id - 1) * kLineWords + k, 1)[0]; }
  static void shape(int32_t id, int32_t type) {
    MODCNT.word(kCntShapes) = std::max(MODCNT.word(kCntShapes), id);
    Words w(20, 0);
    w[1] = std::bit_cast<int32_t>(shapeInteger(type));
    put(kArrShapes, (id - 1) * 20 + 1, w);
  }
};

TEST_F(Lines, GetAccessorsFollowTheTable) {
  using Get = int32_t (*)(int32_t);
  struct Case {
    const char* name;
    Get get;
    int32_t type, word, value, want;
  } cases[] = {
      {"LNG07B", LNG07B, 305, 7, 305, 3},   {"LNG07", LNG07, 305, 7, 305, 5},
      {"LNG07B", LNG07B, 750, 7, 750, 0},   {"LNG08", LNG08, 750, 8, 4, -2},
      {"LNG08", LNG08, 900, 8, 4, -2},      {"LNG08", LNG08, 100, 8, 4, 4},
      {"LNG04", LNG04, 100, 4, -212, 12},   {"LNG04B", LNG04B, 100, 4, -212, -2},
      {"LNG04", LNG04, 900, 4, 212, 0},     {"LNG04", LNG04, 0, 4, 212, -1},
      {"LNG04B", LNG04B, 900, 4, 212, 0},   {"LNG05C", LNG05C, 400, 5, 17, 17},
      {"LNG05C", LNG05C, 300, 5, 17, 0},    {"LNG06", LNG06, 200, 6, 2, 2},
      {"LNG06D", LNG06D, 300, 5, 8, 8},     {"LNG06D", LNG06D, 200, 6, 9, 9},
      {"LNG06E", LNG06E, 100, 6, 3, -2},    {"LNG06E", LNG06E, 900, 6, 3, 3},
      {"LNG10", LNG10, 100, 10, 43, 3},     {"LNG10B", LNG10B, 100, 10, 43, 4},
      {"LNG11", LNG11, 100, 11, 7005, 7},   {"LNG11B", LNG11B, 100, 11, 7005, 5},
      {"LNG12", LNG12, 100, 12, 1234, 34},  {"LNG12B", LNG12B, 100, 12, 1234, 12},
      {"LNG13B", LNG13B, 100, 13, -5, -5},  {"LNG15B", LNG15B, 600, 15, 3, 3},
  };
  for (const Case& c : cases) {
    line(1, {{7, c.type}, {c.word, c.value}});
    EXPECT_EQ(c.get(1), c.want) << c.name << " type word " << c.type;
  }
  line(1, {{13, -5}});
  EXPECT_TRUE(LNG13(1));
  EXPECT_TRUE(LNG13C(1));
  // A missing line.
  for (Get g : {LNG02, LNG04, LNG07, LNG07B, LNG08, LNG10, LNG15B}) EXPECT_EQ(g(13), -1);
  for (Get g : {LNG01, LNG04B, LNG13B, LNG14}) EXPECT_EQ(g(0), 0);
  EXPECT_FALSE(LNG13(13));
}

TEST_F(Lines, PutAccessorsPackAndRefuse) {
  using Put = void (*)(int32_t, int32_t, int32_t&);
  struct Case {
    const char* name;
    Put put;
    int32_t type, word, before, value, stat, after;
  } cases[] = {
      {"LNP04", LNP04, 100, 4, -312, 7, 0, -307},    {"LNP04", LNP04, 100, 4, 312, 100, -2, 312},
      {"LNP04", LNP04, 900, 4, 312, 7, -3, 312},     {"LNP04B", LNP04B, 100, 4, 312, -2, 0, -212},
      {"LNP04B", LNP04B, 100, 4, 312, 10, -2, 312},  {"LNP10B", LNP10B, 100, 10, 43, 5, -2, 43},
      {"LNP10B", LNP10B, 100, 10, 43, 7, 0, 47},     {"LNP10", LNP10, 100, 10, 43, 0, 0, 3},
      {"LNP10", LNP10, 100, 10, 43, 2, -2, 43},      {"LNP11", LNP11, 100, 11, 7005, 0, 0, 5},
      {"LNP11B", LNP11B, 100, 11, 7005, 3, -2, 7005}, {"LNP12", LNP12, 100, 12, 1234, 5, 0, 534},
      {"LNP12B", LNP12B, 100, 12, 1234, 5, 0, 1205}, {"LNP07B", LNP07B, 305, 7, 305, 21, 0, 321},
      {"LNP07B", LNP07B, 305, 7, 305, 3, -2, 305},   {"LNP07B", LNP07B, 905, 7, 905, 1, -3, 905},
      {"LNP02", LNP02, 100, 2, 0, 3, 0, 3},          {"LNP02", LNP02, 100, 2, 0, 4, -2, 0},
      {"LNP06C", LNP06C, 100, 6, 0, 3, -3, 0},       {"LNP06C", LNP06C, 200, 6, 0, 4, -2, 0},
      {"LNP06B", LNP06B, 300, 5, 0, 8, 0, 8},        {"LNP05D", LNP05D, 100, 5, 0, 8, -2, 0},
      {"LNP08", LNP08, 900, 8, 0, 8, -2, 0},         {"LNP08", LNP08, 0, 8, 0, 8, 0, 8},
  };
  for (const Case& c : cases) {
    line(1, {{7, c.type}, {c.word, c.before}});
    int32_t stat = 99;
    c.put(1, c.value, stat);
    EXPECT_EQ(stat, c.stat) << c.name << " " << c.value;
    EXPECT_EQ(word(1, c.word), c.after) << c.name << " " << c.value;
  }
  int32_t stat = 0;
  LNP04(13, 7, stat);
  EXPECT_EQ(stat, -1);
  line(1, {{7, 305}, {5, 9}, {6, 9}, {15, 9}});
  LNP07(1, 1, stat);
  EXPECT_EQ(word(1, 7), 105);
  EXPECT_EQ(word(1, 5) + word(1, 6) + word(1, 15), 0);
}

TEST_F(Lines, ShapesOfAFittedLine) {
  shape(1, 103);
  shape(2, 105);
  shape(3, 2);
  struct Case {
    int32_t p, q, stat, w15, w16;
  } cases[] = {{1, 0, 0, 1, 1}, {1, -2, 0, 1, -2}, {1, 3, -5, 0, 0}, {2, 3, 0, 2, 3},
               {3, 1, -4, 0, 0}, {4, 1, -3, 0, 0}};
  for (const Case& c : cases) {
    line(1, {{7, 600}});
    int32_t stat = 99;
    LNP15(1, c.p, c.q, stat);
    EXPECT_EQ(stat, c.stat) << c.p << "," << c.q;
    EXPECT_EQ(word(1, 15), c.w15);
    EXPECT_EQ(word(1, 16), c.w16);
  }
  line(1, {{7, 300}});
  int32_t stat = 0;
  LNP05B(1, std::array<int32_t, 2>{3, 1}, stat);
  EXPECT_EQ(stat, -4);
  LNP05B(1, std::array<int32_t, 2>{3, 3}, stat);
  EXPECT_EQ(stat, 0);
  std::array<int32_t, 2> v{};
  LNG05(1, v, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(v, (std::array<int32_t, 2>{3, 3}));
  line(1, {{7, 600}});
  LNP05(1, 2.5f, stat);
  float r = 0.0f;
  LNG05B(1, r, stat);
  EXPECT_EQ(r, 2.5f);
  EXPECT_EQ(stat, 0);
}

TEST_F(Lines, CompositeMembers) {
  line(1, {{7, 900}});
  const std::array<int32_t, 6> members = {2, 3, 4, 5, 6, 7};
  int32_t stat = 99;
  LNP08B(1, members, 6, stat);
  ASSERT_EQ(stat, 0);
  EXPECT_EQ(word(1, 6), 6);
  EXPECT_EQ(word(1, 8), 2);
  EXPECT_EQ(word(1, 10), 4);
  const int32_t at = word(1, 11);
  EXPECT_EQ(get(17, at, 3), (Words{5, 6, 7}));
  std::array<int32_t, 20> list{};
  int32_t n = 0;
  LNG08B(1, list, n);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(Words(list.begin(), list.begin() + 6), Words(members.begin(), members.end()));

  // A damaged count reads no more than 20 members.
  Words many(17, 8);
  put(17, at, many);
  line(1, {{7, 900}, {6, 25}, {8, 2}, {9, 3}, {10, 4}, {11, at}});
  LNG08B(1, list, n);
  EXPECT_EQ(n, 20);

  // Members 4.. at a position the store does not hold: a line without members.
  for (const int32_t position : {0, -1, 0x7FFFFFF0}) {
    line(1, {{7, 900}, {6, 6}, {8, 2}, {9, 3}, {10, 4}, {11, position}});
    n = -9;
    LNG08B(1, list, n);
    EXPECT_EQ(n, 0) << position;
  }

  line(2, {{7, 900}});
  struct Case {
    std::vector<int32_t> list;
    int32_t n, stat;
  } cases[] = {{{3}, 1, -5}, {std::vector<int32_t>(21, 3), 21, -5}, {{3, 13}, 2, -3}, {{3, 1}, 2, -4}};
  for (const Case& c : cases) {
    LNP08B(2, c.list, c.n, stat);
    EXPECT_EQ(stat, c.stat) << c.n;
  }
  LNP08B(2, std::vector<int32_t>{3, 4}, 2, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(word(2, 11), 0);
  LNG08B(2, list, n);
  EXPECT_EQ(n, 2);
  LNG08B(3, list, n);
  EXPECT_EQ(n, 0);
  LNG08B(13, list, n);
  EXPECT_EQ(n, -1);
}

TEST_F(Lines, WholeRecords) {
  line(1, {{7, 305}, {10, 43}, {4, -212}, {12, 1234}, {11, 7005}});
  int32_t flag = 0, system = 0, type = 0, code = 0, digit = 0, material = 0, property = 0;
  LineFields f;
  f.flag = &flag;
  f.system = &system;
  f.type = &type;
  f.code = &code;
  f.digit = &digit;
  f.material = &material;
  f.property = &property;
  LNGALL(1, f);
  EXPECT_EQ(flag, 3);
  EXPECT_EQ(system, 4);
  EXPECT_EQ(type, 3);
  EXPECT_EQ(code, 12);
  EXPECT_EQ(digit, -2);
  EXPECT_EQ(material, 7);
  EXPECT_EQ(property, 5);

  int32_t newFlag = 7, newSystem = 6, high = 2;
  LineFields p;
  p.flag = &newFlag;
  p.system = &newSystem;
  p.high12 = &high;
  LNPALL(1, p);
  EXPECT_EQ(word(1, 10), 67);
  EXPECT_EQ(word(1, 12), 1434);
  EXPECT_EQ(word(1, 7), 305);

  LNCPY(1, 2);
  EXPECT_EQ(get(kArrLines, 17, 16), get(kArrLines, 1, 16));
  int32_t stat = 0;
  LNCLR(1, stat);
  Words empty(16, 0);
  empty[0] = -1;
  EXPECT_EQ(get(kArrLines, 1, 16), empty);
  LNCLR(13, stat);
  EXPECT_EQ(stat, -1);
  LNCLR2(0, stat);
  EXPECT_EQ(stat, -1);
  LNCLR2(2, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_TRUE(LNTYOK(99));
  EXPECT_FALSE(LNTYOK(7));
}

TEST_F(Lines, NamesCompareAsPaddedTexts) {
  put(3, 1, {a4Word("L10 "), kBlank});
  FixedText l1(2, "l1");
  FText t = l1.text();
  EXPECT_EQ(LNFIND(&t, nullptr), 0);
  put(3, 3, {a4Word("L1  "), kBlank});
  EXPECT_EQ(LNFIND(&t, nullptr), 3);
  FixedText longer(12, "L1        X");
  t = longer.text();
  EXPECT_EQ(LNFIND(&t, nullptr), 0);
  const NameWords label = nameOf("L10");
  EXPECT_EQ(LNFIND(nullptr, &label), 1);
  EXPECT_EQ(LNFIND(nullptr, nullptr), -1);

  int32_t stat = 0;
  FixedText name(10, "abc");
  t = name.text();
  LNNAMP(4, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, 0);
  std::string out(8, '?');
  LNNAMT(4, FText(out.data(), 8), stat);
  EXPECT_EQ(out, "ABC     ");
  FixedText taken(3, "l10");
  t = taken.text();
  LNNAMP(5, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, -3);
  LNNAMP(0, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, -1);
  MODCNT.word(kCntDelLines) = 1;
  put(3, 6, {kMarker, kBlank});
  FixedText fresh(3, "NEW");
  t = fresh.text();
  LNNAMP(6, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, -1);
  EXPECT_EQ(get(3, 6, 1)[0], kMarker);
  LNNAMP(5, stat, nullptr, nullptr, nullptr);
  EXPECT_EQ(stat, -2);
}

}  // namespace
}  // namespace kvr
