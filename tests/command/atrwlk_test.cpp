// The definition walks: lists and checks of headers, options and value fields, and the
// kinds 67 to 69, over one small table written into PHYDF or MATDF.
#include "command/atrwlk.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "atrfixture.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

using test::DefinitionFixture;

// Headers "SHELL" and "BEAM"; header 2's options "OPT0" (key 21, kind 0) and "OPT4" (key
// 22, kind 4, fields 101 integer "INT", 102 real "REAL", 103 text "TEXT"). Entity 1 uses
// header 2 with the path 21; entity 2 uses header 2 with the path 22 and the values 5 and
// 2.5.
class DefinitionWalk : public DefinitionFixture {
 protected:
  void build(Table t) {
    table = t;
    directory(t, {3, 2, 8, 2, 80, 3, 190});
    header(t, 1, "SHELL", "SHELL", {});
    header(t, 2, "BEAM", "BEAM", {21, 22});
    option(t, 1, 21, 0, "OPT0", {});
    option(t, 2, 22, 4, "OPT4", {101, 102, 103});
    field(t, 1, 101, 1, "INT");
    field(t, 2, 102, 2, "REAL");
    field(t, 3, 103, 4, "TEXT");
    const int32_t prefix = t == kPhy ? 24 : 4;
    Words first(static_cast<size_t>(prefix), 0);
    first[0] = 1;
    first.push_back(21);
    Words second(static_cast<size_t>(prefix), 0);
    second[0] = second[1] = second[2] = 1;
    second.insert(second.end(), {22, 5, std::bit_cast<int32_t>(2.5f)});
    put(kArrIntegerValues, 1, first);
    put(kArrIntegerValues, 41, second);
    const int32_t type = t == kPhy ? 3 : 4;
    attribute(type, 1, {0, 0, 0, 0, 1, static_cast<float>(first.size()), 0, 0});
    attribute(type, 2, {0, 0, 0, 0, 41, static_cast<float>(second.size()), 0, 0});
    MODCNT.word(t == kPhy ? kCntProperties : kCntMaterials) = 2;
  }

  // The answers of the command so far, each (ITEM, ULST); the answer count is their number
  // (a list) or one more (a check, whose token takes the next answer).
  void answers(std::vector<std::array<int32_t, 2>> all, bool checking) {
    for (size_t i = 0; i < all.size(); ++i) {
      answer(static_cast<int32_t>(i) + 1, all[i][0], all[i][1]);
    }
    MNUCTL.answerCount = static_cast<int32_t>(all.size()) + (checking ? 1 : 0);
  }

  struct Entry {
    int32_t kind, value;
    std::string text;
    bool operator==(const Entry&) const = default;
  };
  struct Listed {
    int32_t status;
    std::vector<Entry> entries;
  };
  Listed list(int32_t kind, std::vector<std::array<int32_t, 2>> all, int32_t maximum = 100) {
    answers(std::move(all), false);
    ValueList l(maximum, 25);
    Listed r{-9, {}};
    (table == kPhy ? ATVLST : ATVLS2)(kind, l, r.status);
    for (int32_t k = 1; k <= l.count; ++k) {
      r.entries.push_back({l.kind(k), l.value(k), l.text(k).trimmed()});
    }
    return r;
  }

  struct Checked {
    int32_t status, valueCode, listValue;
    float real;
    int32_t nextMenu, sign;
    std::string text;
  };
  // Checks TOKEN with the menu 777 and sign -1 given; ROOM positions of answer text store.
  Checked check(int32_t kind, std::vector<std::array<int32_t, 2>> all, std::string_view token,
                size_t room = 255) {
    answers(std::move(all), true);
    const std::vector<int32_t> line = codeLine(token);
    std::vector<int32_t> store(room, kBlankCode);
    ArgumentCheck c;
    c.text = store;
    c.nextMenu = 777;
    c.sign = -1;
    c.listValue = 99;
    (table == kPhy ? ATRWLK : ATRWL2)(kind, line, 1, static_cast<int32_t>(line.size()), c);
    std::string copied;
    for (int32_t code : store) {
      if (code != kBlankCode) copied.push_back(charOf(code));
    }
    return {c.status, c.valueCode, c.listValue, c.real, c.nextMenu, c.sign, copied};
  }

  Table table = kPhy;
};

using Walk = std::vector<std::array<int32_t, 2>>;

TEST_F(DefinitionWalk, ListsHeadersInUseThenAll) {
  build(kPhy);
  EXPECT_EQ(list(302, {}).entries, (std::vector<Entry>{{-302, 8, "BEAM"}}));
  EXPECT_EQ(list(302, {{118, 0}, {282, 0}}).entries,
            (std::vector<Entry>{{-302, 8, "SHELL"}, {-302, 8, "BEAM"}}));
  EXPECT_EQ(list(67, {{-302, 21}}).entries, (std::vector<Entry>{{-67, 8, "BEAM"}}))
      << "kind 67 lists headers whatever the walk";
  EXPECT_EQ(list(302, {{-302, 1}}).entries, (std::vector<Entry>{{-302, 8, "BEAM"}}))
      << "a list value of 1 is no header answer to a list";
  MODCNT.word(kCntProperties) = 0;
  EXPECT_EQ(list(302, {}).entries, std::vector<Entry>{}) << "no property exists";

  const Listed full = list(302, {{118, 0}, {282, 0}}, 1);
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.entries, (std::vector<Entry>{{-302, 8, "SHELL"}}));
}

TEST_F(DefinitionWalk, ListsOptionsThenFieldTypes) {
  build(kPhy);
  const Listed options = list(302, {{-302, 21}});
  EXPECT_EQ(options.status, 0);
  EXPECT_EQ(options.entries, (std::vector<Entry>{{-302, 8, "OPT0"}, {-302, -8, "OPT4"}}));
  struct Case {
    Walk walk;
    std::vector<Entry> want;
  } cases[] = {
      {{{-302, 21}, {-302, 222}}, {{5, 11, "'integer'"}}},
      {{{-18, 21}, {-302, 222}, {-302, 1013}}, {{5, 8, "'real'"}}},
      {{{-302, 21}, {-302, 222}, {-302, 1013}, {-302, 1023}}, {{5, 8, "'file'"}}},
      {{{-302, 21}, {-302, 222}, {-302, 1013}, {-302, 1023}, {-302, 1034}}, {}},  // beyond
      {{{-302, 21}, {-302, 212}}, {}},  // an option without fields has no children
  };
  for (const Case& c : cases) EXPECT_EQ(list(302, c.walk).entries, c.want) << c.walk.size();
}

TEST_F(DefinitionWalk, FieldWithoutValueRecordListsNothingAndRefuses) {
  build(kPhy);
  option(kPhy, 2, 22, 4, "OPT4", {101, 999, 103});
  const Walk walk = {{-302, 21}, {-302, 222}, {-302, 1013}};
  EXPECT_EQ(list(302, walk).entries, std::vector<Entry>{});
  EXPECT_EQ(check(302, walk, "2.5").status, -1);
  EXPECT_EQ(check(302, walk, "\"X\"").status, -1);
}

TEST_F(DefinitionWalk, ChecksHeadersAndOptions) {
  build(kPhy);
  Checked c = check(302, {}, "BE");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
            (std::array{2, 1, 21, 8260, 1}));
  c = check(302, {}, "BEAMS");
  EXPECT_EQ((std::array{c.status, c.listValue, c.nextMenu, c.sign}), (std::array{-1, 0, 777, -1}));

  c = check(302, {{-302, 21}}, "OPT");
  EXPECT_EQ((std::array{c.status, c.nextMenu, c.sign}), (std::array{-1, 777, -1}))
      << "two abbreviations";
  c = check(302, {{-302, 21}}, "OPT4");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
            (std::array{0, 1, 222, 8270, -1}));
  c = check(302, {{-302, 21}}, "OPT0");
  EXPECT_EQ((std::array{c.status, c.listValue, c.nextMenu, c.sign}), (std::array{0, 212, 0, 1}));

  c = check(67, {{-302, 21}}, "SHELL");
  EXPECT_EQ((std::array{c.status, c.listValue, c.nextMenu, c.sign}), (std::array{0, 11, 777, -1}))
      << "kind 67 keeps the link";
}

TEST_F(DefinitionWalk, ExactCodeWinsOverAbbreviations) {
  build(kPhy);
  option(kPhy, 1, 21, 0, "OPT", {});
  const Checked c = check(302, {{-302, 21}}, "OPT");
  EXPECT_EQ((std::array{c.status, c.listValue}), (std::array{0, 212}));
}

TEST_F(DefinitionWalk, ChecksValues) {
  build(kPhy);
  const Walk opt4 = {{-302, 21}, {-302, 222}};
  Checked c = check(302, opt4, "12");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
            (std::array{0, 6, 1013, 8270, -1}));
  EXPECT_EQ(c.real, 12.0f);
  EXPECT_EQ(check(302, opt4, "1.5").status, -1);

  Walk one = opt4;
  one.push_back({-302, 1013});
  c = check(302, one, "2.5");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
            (std::array{0, 7, 1023, 8270, -1}));
  EXPECT_EQ(c.real, 2.5f);

  Walk two = one;
  two.push_back({-302, 1023});
  c = check(302, two, "\"AB\"");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
            (std::array{0, 8, 1034, 0, 1}));
  EXPECT_EQ(c.real, 4.0f);
  EXPECT_EQ(c.text, "\"AB\"");
  EXPECT_EQ(check(302, two, "AB").status, -1) << "a text field takes quoted text only";
  c = check(302, two, "\"AB\"", 2);
  EXPECT_EQ((std::array{c.status, c.listValue}), (std::array{0, 1034}));
  EXPECT_EQ(c.real, 2.0f) << "cut at the room of the answer text store";
  EXPECT_EQ(c.text, "\"A");

  Walk three = two;
  three.push_back({-302, 1034});
  EXPECT_EQ(check(302, three, "2.5").status, -1) << "no fourth field";
}

TEST_F(DefinitionWalk, KeywordsRefuseValuesOfPropertiesOnly) {
  build(kPhy);
  const Walk walk = {{369, 0}, {-302, 21}, {-302, 222}};
  Checked c = check(302, walk, "5");
  EXPECT_EQ((std::array{c.status, c.nextMenu, c.sign}), (std::array{-1, 777, -1}));
  EXPECT_EQ(check(302, {{370, 0}, {-302, 21}, {-302, 222}}, "5").status, -1);

  build(kMat);
  c = check(301, {{369, 0}, {-301, 21}, {-17, 222}}, "5");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.nextMenu}), (std::array{0, 6, 8170}));
  c = check(301, {}, "BEAM");
  EXPECT_EQ((std::array{c.status, c.nextMenu, c.sign}), (std::array{0, 8160, 1}));
  c = check(301, {{-301, 21}}, "OPT4");
  EXPECT_EQ((std::array{c.status, c.nextMenu, c.sign}), (std::array{0, 8170, -1}));
  EXPECT_EQ(list(301, {}).entries, (std::vector<Entry>{{-301, 8, "BEAM"}}));
  EXPECT_EQ(list(301, {{118, 0}, {281, 0}}).entries.size(), 2u);
  EXPECT_EQ(list(301, {{118, 0}, {282, 0}}).entries.size(), 1u);
}

TEST_F(DefinitionWalk, HeaderAfterAPropertyChoosesItsMenuByOptionFlags) {
  build(kPhy);
  const Walk walk = {{500, 0}, {501, 0}, {-9, 1}};
  struct Case {
    int32_t extra, menu;
  } cases[] = {{5, 8263}, {1, 8261}, {4, 8262}, {0, 8260}};
  for (const Case& c : cases) {
    option(kPhy, 1, 21, 0, "OPT0", {}, c.extra);
    const Checked r = check(302, walk, "BEAM");
    EXPECT_EQ((std::array{r.status, r.nextMenu, r.sign}), (std::array{0, c.menu, 1})) << c.extra;
  }
  const Checked none = check(302, {{500, 0}, {501, 0}, {-9, 3}}, "BEAM");
  EXPECT_EQ((std::array{none.status, none.nextMenu, none.sign}), (std::array{0, 777, 1}))
      << "no definition of property 3 assembles";
}

TEST_F(DefinitionWalk, HeadersInUseAndReferringFields) {
  build(kPhy);
  MODCNT.word(kCntCurves) = 1;
  EXPECT_EQ(list(69, {}).status, 1) << "no answer names a property";
  EXPECT_EQ(list(69, {{-9, 4}}).status, 1) << "property 4 has no attribute";
  EXPECT_EQ(list(69, {{-9, 2}}).entries, std::vector<Entry>{}) << "no field refers";
  EXPECT_EQ(list(69, {{119, 0}, {295, 0}, {-9, 1}}).entries,
            (std::vector<Entry>{{-69, 8, "BEAM"}}));
  field(kPhy, 1, 101, 1, "INT", 32);
  EXPECT_EQ(list(69, {{-9, 2}}).entries, (std::vector<Entry>{{-69, 8, "BEAM"}}));
  EXPECT_EQ(list(68, {{-9, 2}, {-69, 21}}).entries, (std::vector<Entry>{{-68, 8, "INT"}}));
  EXPECT_EQ(list(68, {{-9, 2}}).status, 1) << "no header answer";

  Checked c = check(69, {{-9, 2}}, "BE");
  EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu}),
            (std::array{2, 1, 21, 777}));
  EXPECT_EQ(check(69, {}, "BEAM").status, -1);
  EXPECT_EQ(check(69, {{-9, 2}}, "SHELL").status, -1) << "header 1 is not in use";

  struct Case {
    int32_t flags, scdef, menu;
  } cases[] = {{32, 0, 8187}, {96, 1, 8193}, {0, 1, 777}, {64, 1, 8189}};
  for (const Case& k : cases) {
    field(kPhy, 1, 101, 1, "INT", k.flags);
    MODCNT.word(kCntKind40) = k.scdef;
    c = check(68, {{-9, 2}, {-69, 21}}, "INT");
    EXPECT_EQ((std::array{c.status, c.valueCode, c.listValue, c.nextMenu, c.sign}),
              (std::array{0, 1, 1013, k.menu, -1}))
        << k.flags;
  }
  EXPECT_EQ(check(68, {{-9, 2}}, "INT").status, -1);
}

// A property whose attribute holds the group of header 1 alone: header 2 lies beyond its
// stored values and is not in use, although a read there answers the last stored value.
TEST_F(DefinitionWalk, HeadersBeyondTheStoredGroupsAreNotInUse) {
  build(kPhy);
  attribute(3, 3, {1, 6, 0, 1});
  MODCNT.word(kCntProperties) = 3;
  EXPECT_EQ(list(69, {{119, 0}, {295, 0}, {-9, 3}}).entries,
            (std::vector<Entry>{{-69, 8, "SHELL"}}));
  EXPECT_EQ(check(69, {{-9, 3}}, "BEAM").status, -1);
  const Checked c = check(69, {{-9, 3}}, "SHELL");
  EXPECT_EQ((std::array{c.status, c.listValue}), (std::array{0, 11}));
}

// Keys of a stored table too large for the walk value key x 10 + level are not offered:
// the value is computed wide, never wrapped.
TEST_F(DefinitionWalk, KeysTooLargeForAWalkValueAreNotOffered) {
  constexpr int32_t kHuge = 2147483600;
  build(kPhy);
  header(kPhy, 2, "BEAM", "BEAM", {21, kHuge});
  option(kPhy, 2, kHuge, 4, "OPT4", {101, 102, 103});
  EXPECT_EQ(check(302, {{-302, 21}}, "OPT4").status, -1) << "an option";

  build(kPhy);
  option(kPhy, 2, 22, 4, "OPT4", {kHuge, 102, 103});
  field(kPhy, 1, kHuge, 1, "INT", 32);
  EXPECT_EQ(check(302, {{-302, 21}, {-302, 222}}, "12").status, -1) << "a value";
  MODCNT.word(kCntCurves) = 1;
  EXPECT_EQ(check(68, {{-9, 2}, {-69, 21}}, "INT").status, -1) << "a referring field";
  field(kPhy, 1, 101, 1, "INT", 32);
  option(kPhy, 2, 22, 4, "OPT4", {101, 102, 103});
  EXPECT_EQ(check(68, {{-9, 2}, {-69, 21}}, "INT").status, 0) << "the same with key 101";
}

}  // namespace
}  // namespace kvr
