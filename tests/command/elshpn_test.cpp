#include "command/elshpn.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "../runtime/msgfixture.h"
#include "modeldb/elttab.h"

namespace kvr {
namespace {

using test::Lines;

class ShapeLists : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    enableJournals();
  }

  struct Shapes {
    int32_t count = -9;
    std::vector<std::string> names;
    std::vector<int32_t> codes;
    std::array<int32_t, 80> words{};
  };
  static Shapes shapes(int32_t selector, int32_t program) {
    Shapes s;
    std::array<int32_t, 40> codes{};
    s.words.fill(-1);
    ELSHPN(selector, program, codes, s.words, s.count);
    for (int32_t k = 1; k <= s.count; ++k) {
      std::string name;
      for (int32_t w : {s.words[static_cast<size_t>(k - 1)], s.words[static_cast<size_t>(k + 39)]}) {
        for (int b = 0; b < 4; ++b) name.push_back(static_cast<char>((static_cast<uint32_t>(w) >> (8 * b)) & 0xFF));
      }
      while (!name.empty() && name.back() == ' ') name.pop_back();
      s.names.push_back(name);
      s.codes.push_back(codes[static_cast<size_t>(k - 1)]);
    }
    return s;
  }
  using Names = std::vector<std::string>;
};

TEST_F(ShapeLists, GroupsComeOutByFamilyAndNodeCount) {
  Shapes s = shapes(342, 36);
  EXPECT_EQ(s.names, (Names{"PE6", "PE15", "PE24", "HE8", "HE16", "HE20", "HE27", "HE32", "IS33",
                            "IS44", "IS66", "IS84", "IS88"}));
  EXPECT_EQ(s.codes, (std::vector<int32_t>{11, 14, 29, 13, 15, 17, 18, 30, 47, 48, 50, 49, 51}));
  EXPECT_EQ(s.words[0], 0x20364550);   // "PE6 "
  EXPECT_EQ(s.words[40], 0x20202020);  // its second word
  EXPECT_EQ(s.words[13], -1);          // nothing past the count

  s = shapes(474, 37);
  EXPECT_EQ(s.names,
            (Names{"P-EL", "BE2",  "BE3",  "BE4",  "BE5",  "TR3",  "TR6",  "TR9",  "TR15", "QU4",
                   "QU8",  "QU9",  "QU12", "PE6",  "PE15", "PE24", "HE8",  "HE16", "HE20", "HE27",
                   "HE32", "TE4",  "TE10", "TE16", "IP11", "IL22", "IL32", "IL33", "IL44", "IL55",
                   "IS33", "IS44", "IS66", "IS84", "IS88", "SP8",  "SP10"}));

  EXPECT_EQ(shapes(-2, 38).names, (Names{"BE2", "BE3", "BE4", "BE5", "IP11"}));
  s = shapes(654, 36);
  EXPECT_EQ(s.names, (Names{"TR3", "TR6", "TR9", "TR15", "QU4", "QU8", "QU9", "QU12"}));
  EXPECT_EQ(s.codes, (std::vector<int32_t>{3, 7, 23, 27, 5, 9, 10, 24}));
  EXPECT_EQ(shapes(-4, 37).names,
            (Names{"PE6", "PE15", "PE24", "HE8", "HE16", "HE20", "HE27", "HE32", "TE4", "TE10",
                   "TE16", "IS33", "IS44", "IS66", "IS84", "IS88"}));
  EXPECT_EQ(shapes(19, 37).names, (Names{"TR3", "TR6", "TR9", "TR15", "QU4", "QU8", "QU9", "QU12",
                                         "IL22", "IL32", "IL33", "IL44", "IL55", "SP8", "SP10"}));
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(ShapeLists, EverySelectorNamesItsGroup) {
  struct Case {
    std::vector<int32_t> selectors;
    int32_t count;
    std::string first;
  };
  const Case cases[] = {
      {{-5, 474}, 37, "P-EL"},         {{-1, 17, 423}, 1, "P-EL"},
      {{-2, 18, 328, 329, 332}, 5, "BE2"}, {{-3, 19, 337}, 15, "TR3"},
      {{654, 338}, 8, "TR3"},          {{-4, 20, 667}, 16, "PE6"},
      {{339, 824}, 3, "TE4"},          {{342, 343}, 13, "PE6"},
      {{0, 1, -6, 16, 21, 330, 475, 825}, 0, ""},
  };
  for (const Case& c : cases) {
    for (int32_t selector : c.selectors) {
      const Shapes s = shapes(selector, 38);
      EXPECT_EQ(s.count, c.count) << selector;
      if (s.count > 0) {
        EXPECT_EQ(s.names.front(), c.first) << selector;
      }
    }
  }
}

TEST_F(ShapeLists, TheTableAgreesWithTheShapeCodes) {
  const int32_t rows[] = {8, 7, 8, 3, 5, 1, 5};
  int32_t total = 0;
  for (int32_t c = 1; c <= kShapeColumns; ++c) {
    const ShapeColumn& column = shapeColumn(c);
    EXPECT_EQ(column.rows, rows[c - 1]) << c;
    for (int32_t r = 0; r < column.rows; ++r) {
      const ShapeRow& row = column.row[static_cast<size_t>(r)];
      EXPECT_EQ(a4Word(row.name), shapeNameWord(row.code)) << row.name;
      EXPECT_LE(row.name.size(), 4u) << row.name;
      ++total;
    }
  }
  EXPECT_EQ(total, 37);
}

TEST_F(ShapeLists, AMissingTranslatorEndsTheList) {
  // P-EL ends its own family, BE2 the list: two messages.
  Shapes s = shapes(474, 27);
  EXPECT_EQ(s.count, 0);
  const Lines selvo(2, " Error: SELVO Translator not loaded");
  EXPECT_EQ(messages(), selvo);
  EXPECT_EQ(journal2(), Lines(2, "  ! Error: SELVO Translator not loaded"));
  EXPECT_EQ(journal1(), Lines(2, "  ! Error: SELVO Translator not loaded"));

  s = shapes(342, 5);
  EXPECT_EQ(s.count, 0);
  Lines expected = selvo;
  expected.push_back(" Error: PROG05 Translator not loaded");
  EXPECT_EQ(messages(), expected);

  // Only P-EL: its family ends, and the list with it.
  s = shapes(17, 21);
  EXPECT_EQ(s.count, 0);
  expected.push_back(" Error: SELVO Translator not loaded");
  EXPECT_EQ(messages(), expected);
}

TEST_F(ShapeLists, AProgramWithoutARowTakesNoShape) {
  // Every variant answers 1: each shape is dropped, without a message.
  for (int32_t program : {0, 53, -27}) {
    EXPECT_EQ(shapes(474, program).count, 0) << program;
  }
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(journal1(), Lines{});
}

TEST_F(ShapeLists, TheListEndsWhereTheCallersCodesEnd) {
  std::array<int32_t, 3> codes{};
  std::array<int32_t, 80> names{};
  names.fill(-1);
  int32_t count = 0;
  ELSHPN(474, 37, codes, names, count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(codes, (std::array<int32_t, 3>{20, 1, 2}));
  EXPECT_EQ(names[3], -1);
  EXPECT_EQ(names[43], -1);

  // Names too short for the second words: the first words only.
  std::array<int32_t, 40> full{};
  std::array<int32_t, 40> firstWords{};
  ELSHPN(-2, 36, full, firstWords, count);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(firstWords[4], a4Word("IP11"));
}

}  // namespace
}  // namespace kvr
