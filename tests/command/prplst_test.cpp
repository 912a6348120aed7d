// The property words: the lists and checks of kinds 301 to 400 over the expected-answer
// sequence, the type record of a physical property, the degree-of-freedom names, the
// translators and the element shapes.
#include "command/prplst.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "command/atrrec.h"
#include "spcfixture.h"

namespace kvr {
namespace {

using test::Lines;

class PropertyWords : public test::SpecialFixture {
 protected:
  static Listed list(int32_t kind, int32_t maximum = 100) { return listWith(PRPLST, kind, maximum); }
  static Checked check(int32_t kind, const std::string& token, size_t room = 255) {
    return checkWith(
        [kind](std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& c) {
          PRPCHK(kind, line, f, l, c);
        },
        token, room);
  }

  // Physical property 1 whose first real names type record 2, with the ORIENTATE and
  // OFFSET flags given.
  static void propertyType(int32_t orientate, int32_t offset) {
    attribute(3, 1, "PH1", {}, {2.0f, 0, 0, 0, 0});
    attribute(-2, 2, "PD2", {0, orientate, offset, 0});
  }
};

TEST_F(PropertyWords, NothingIsExpectedAtLoad) {
  for (int32_t kind : {301, 302, 303, 304, 305, 306, 308, 400}) {
    EXPECT_EQ(list(kind).entries, Entries{}) << kind;
    EXPECT_EQ(list(kind).status, 0) << kind;
  }
  for (int32_t kind : {301, 303, 308, 400}) {
    const Checked c = check(kind, "1.5");
    EXPECT_EQ(c.check.status, -1) << kind;
    EXPECT_EQ(c.check.oper, 1) << kind;
  }
  EXPECT_EQ(PRPSEQ.position, 0);
  // Past entry 100 nothing is expected either.
  setSequence(101, {3});
  EXPECT_EQ(list(303).entries, Entries{});
  EXPECT_EQ(check(303, "1.5").check.status, -1);
}

TEST_F(PropertyWords, ValueAdvancesTheSequenceAndItsNextEntrySetsTheSign) {
  setSequence(1, {3, -3, 3, 0});
  EXPECT_EQ(list(303).entries, (Entries{{2, 9, "'VALUE'"}}));
  struct Case {
    int32_t position;
    int32_t sign, nextMenu;
  } cases[] = {{1, -1, 64}, {2, 1, 64}, {3, 1, 0}};
  for (const Case& k : cases) {
    PRPSEQ.position = k.position;
    const Checked c = check(303, "1.5");
    EXPECT_EQ(c.check.status, 0) << k.position;
    EXPECT_EQ(c.check.valueCode, 3) << k.position;
    EXPECT_EQ(c.check.real, 1.5f) << k.position;
    EXPECT_EQ(PRPSEQ.position, k.position + 1);
    EXPECT_EQ(c.check.sign, k.sign) << k.position;
    EXPECT_EQ(c.check.nextMenu, k.nextMenu) << k.position;
  }
  // A word where a value is expected is refused and p stays.
  PRPSEQ.position = 1;
  EXPECT_EQ(check(303, "ABC").check.status, -1);
  EXPECT_EQ(PRPSEQ.position, 1);
  // The last entry cannot advance: refused, p stays at 100.
  setSequence(100, {});
  PRPSEQ.entry(100) = 3;
  EXPECT_EQ(check(303, "2").check.status, -1);
  EXPECT_EQ(PRPSEQ.position, 100);
}

TEST_F(PropertyWords, DirectionIsNormalADegreeOfFreedomNameOrItsNumber) {
  setSequence(1, {2, 0});
  // Blank names are listed as they stand.
  Entries blank = {{-303, 6, "NORMAL"}};
  for (int k = 0; k < 6; ++k) blank.push_back({-303, 12, ""});
  blank.push_back({1, 7, "'DOF'"});
  EXPECT_EQ(list(303).entries, blank);
  const Listed one = list(303, 1);
  EXPECT_EQ(one.status, 2);
  EXPECT_EQ(one.entries, (Entries{{-303, 6, "NORMAL"}}));

  dofName(1, "UX");
  dofName(2, "UY");
  struct Case {
    const char* token;
    int32_t status, listValue;
  } cases[] = {{"NORMAL", 0, 0}, {"NOR", 0, 0}, {"4", 0, 4},   {"XYZ", -1, 0},
               {"U", -2, 0},     {"UY", 0, 2},  {"UX", 0, 1}, {"N", 0, 0}};
  for (const Case& k : cases) {
    PRPSEQ.position = 1;
    const Checked c = check(303, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 2) << k.token;
      EXPECT_EQ(PRPSEQ.position, 2) << k.token;
      EXPECT_EQ(c.check.nextMenu, 0) << k.token;
    } else {
      EXPECT_EQ(PRPSEQ.position, 1) << k.token;
    }
  }
}

TEST_F(PropertyWords, PointNamesAndNamesOfKind303) {
  points({"P1", "P7", "LONGNAME"});
  setSequence(1, {1, -4, 0});
  EXPECT_EQ(list(303).entries, (Entries{{5, 10, "'PNAM-O'"}}));
  struct Case {
    const char* token;
    int32_t status, listValue;
  } cases[] = {{"P7", 0, 2}, {"P9", -1, 0}, {"LONGNAME", 0, 3}, {"LONGNAMEX", 0, 3}};
  for (const Case& k : cases) {
    PRPSEQ.position = 1;
    const Checked c = check(303, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 1) << k.token;
    }
  }

  // Expecting a name: an integer is a list value, anything else a text, cut to the room.
  PRPSEQ.position = 2;
  EXPECT_EQ(list(303).entries, (Entries{{-3, 8, "'NAME'"}}));
  Checked c = check(303, "17");
  EXPECT_EQ(c.check.valueCode, 2);
  EXPECT_EQ(c.check.listValue, 17);
  PRPSEQ.position = 2;
  c = check(303, "AB", 1);
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.valueCode, 0);
  EXPECT_EQ(c.text(), "A");
  EXPECT_EQ(c.store.size(), 1u);
}

TEST_F(PropertyWords, OptionsOfAPropertyTypeThenItsValues) {
  propertyType(1, 1);
  answers({{116}, {265}, {-9, 1}}, false);
  setSequence(1, {5, 0});
  EXPECT_EQ(list(302).entries, (Entries{{-302, 9, "ORIENTATE"},
                                        {-302, 6, "OFFSET"},
                                        {2, 9, "'VALUE'"},
                                        {5, 10, "'PNAM-O'"}}));
  // Answer 3 may name the type record itself.
  attribute(-2, 5, "PD5", {0, 0, 1, 0});
  answers({{116}, {265}, {-9, 5, 1}}, false);
  EXPECT_EQ(list(302).entries, (Entries{{-302, 6, "OFFSET"}, {2, 9, "'VALUE'"}, {5, 10, "'PNAM-O'"}}));
  // With a fourth answer that is an option, or the options past, none is offered.
  answers({{116}, {265}, {-9, 1}, {-302, 1}}, false);
  EXPECT_EQ(list(302).entries.size(), 2u);
  answers({{116}, {265}, {-9, 1}, {77, 0, 3}}, false);
  EXPECT_EQ(list(302).entries.size(), 2u);
  answers({{116}, {265}, {-9, 1}, {77, 0, 2}}, false);
  EXPECT_EQ(list(302).entries.size(), 4u);

  struct Case {
    const char* token;
    int32_t status, listValue;
    std::vector<int32_t> entries;
  } cases[] = {
      {"ORI", 3, 1, {5, -3, -3, 0}},
      {"ORIENTATE", 0, 1, {5, -3, -3, 0}},
      {"O", -2, 0, {9, 9, 9, 9, 9, 9, 9}},
      {"OFF", 3, 2, {5, -5, -3, -5, -3, -3, 0}},
      {"OFFSET", 0, 2, {5, -5, -3, -5, -3, -3, 0}},
  };
  answers({{116}, {265}, {-9, 1}}, true);
  for (const Case& k : cases) {
    setSequence(4, {9, 9, 9, 9, 9, 9, 9});
    const Checked c = check(302, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(PRPSEQ.position, 4) << k.token;
    EXPECT_EQ(sequence(static_cast<int32_t>(k.entries.size())), k.entries) << k.token;
    if (k.status >= 0) {
      EXPECT_EQ(c.check.valueCode, 1) << k.token;
      EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
      EXPECT_EQ(c.check.sign, 1) << k.token;
    }
  }
  // Without the ORIENTATE flag "O" abbreviates OFFSET alone.
  propertyType(0, 1);
  setSequence(4, {});
  EXPECT_EQ(check(302, "O").check.status, 1);
}

TEST_F(PropertyWords, PropertyValuesAfterTheOptions) {
  propertyType(1, 1);
  points({"P1", "ORI"});
  // The options are past (answer 4 in menu position 3): the expected answer decides.
  answers({{116}, {265}, {-9, 1}, {-302, 1, 3}}, true);
  struct Case {
    std::vector<int32_t> sequence;
    const char* token;
    int32_t status, valueCode, listValue;
    float real;
  } cases[] = {
      {{3, 0}, "2.5", 0, 3, 0, 2.5f},
      {{3, 0}, "ORI", -1, 0, 0, 0.0f},
      {{5, 0}, "2.5", 0, 3, 0, 2.5f},
      {{5, 0}, "ORI", 0, 1, 2, 0.0f},  // a point of that name
      {{5, 0}, "P2", -1, 0, 0, 0.0f},
      {{6, 0}, "\"ANY DEF\"", 0, 5, 0, 0.0f},
      {{6, 0}, "DEF", -1, 0, 0, 0.0f},
      {{4, 0}, "NAME", -1, 0, 0, 0.0f},
  };
  for (const Case& k : cases) {
    setSequence(1, k.sequence);
    const Checked c = check(302, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    if (k.status != 0) {
      EXPECT_EQ(PRPSEQ.position, 1) << k.token;
      continue;
    }
    EXPECT_EQ(c.check.valueCode, k.valueCode) << k.token;
    EXPECT_EQ(c.check.real, k.real) << k.token;
    if (k.valueCode == 1) {
      EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    }
    if (k.valueCode == 5) {
      EXPECT_FALSE(c.text().empty()) << k.token;
    }
    EXPECT_EQ(PRPSEQ.position, 2) << k.token;
    EXPECT_EQ(c.check.nextMenu, 0) << k.token;
  }
}

TEST_F(PropertyWords, MaterialWordReadsTheTokenInTheModeOfItsExpectedAnswer) {
  setSequence(1, {-3, 6, 0});
  EXPECT_EQ(list(301).entries, (Entries{{2, 9, "'VALUE'"}}));
  Checked c = check(301, "7.5");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.valueCode, 3);
  EXPECT_EQ(c.check.real, 7.5f);
  EXPECT_EQ(c.check.sign, 1);
  EXPECT_EQ(list(301).entries, (Entries{{-1, 8, "'DEFN'"}}));
  EXPECT_EQ(check(301, "DEF").check.status, -1);  // no quoted text
  EXPECT_EQ(PRPSEQ.position, 2);
  c = check(301, "\"A DEF\"");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.valueCode, 5);
  EXPECT_EQ(c.text(), "\"A DEF\"");
  EXPECT_EQ(c.check.nextMenu, 0);
  setSequence(1, {4, 0});
  EXPECT_EQ(list(301).entries, (Entries{{-1, 8, "'NAME'"}}));
}

TEST_F(PropertyWords, MaterialAndPropertyWordsHandOverToTheDefinitionWalks) {
  // A material table with one header, STEEL, which answers 118 and 281 list.
  int32_t state = 3, headers = 1, texts = 0, values = 0, headerStart = 8, textStart = 44,
          valueStart = 44;
  REC7A(1, state, headers, texts, values, headerStart, textStart, valueStart);
  FixedText name(80, "STEEL"), code(8, "STEEL");
  std::array<int32_t, kHeaderChildren> children{};
  int32_t status = -1;
  headerRecord(DefinitionTable::Material, kRecordStore, 1, name, code, children, status);
  ASSERT_EQ(status, 0);
  setSequence(1, {3, 0});
  answers({{118}, {281}}, false);
  EXPECT_EQ(list(301).entries, (Entries{{-301, 8, "STEEL"}}));
  answers({{118}, {281}}, true);
  const Checked c = check(301, "STE");
  EXPECT_EQ(c.check.status, 3);
  EXPECT_EQ(c.check.listValue, 11);
  EXPECT_EQ(c.check.nextMenu, 8160);
  EXPECT_EQ(PRPSEQ.position, 1);
  // The property word still reads the sequence: no property table.
  answers({{1}, {2}, {-9, 1}, {-302, 1, 3}}, true);
  EXPECT_EQ(check(302, "4.0").check.status, 0);
}

TEST_F(PropertyWords, PositionWordMakesTheRestOptional) {
  struct Case {
    const char* token;
    int32_t status, position;
    std::vector<int32_t> entries;
  } cases[] = {
      {"P3", 0, 3, {3, 3, 3, -3, 0}},
      {"P1", 0, 1, {3, -3, -3, -3, 0}},
      {"P0", -1, 7, {3, 3, 3, 3, 0}},
      {"PX", -1, 7, {3, 3, 3, 3, 0}},
      {"P", -1, 7, {3, 3, 3, 3, 0}},
  };
  for (const Case& k : cases) {
    setSequence(7, {3, 3, 3, 3, 0});
    const Checked c = check(304, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(PRPSEQ.position, k.position) << k.token;
    EXPECT_EQ(sequence(5), k.entries) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 0) << k.token;
      EXPECT_EQ(c.text(), k.token) << k.token;
    }
  }
  // Without an ending 0 after entry n the token is refused, the changes kept.
  setSequence(1, {});
  for (int32_t k = 1; k <= 100; ++k) PRPSEQ.entry(k) = 3;
  EXPECT_EQ(check(304, "P98").check.status, -1);
  EXPECT_EQ(PRPSEQ.position, 98);
  EXPECT_EQ(sequence(100)[97], 3);
  EXPECT_EQ(sequence(100)[98], -3);
  EXPECT_EQ(sequence(100)[99], -3);
  EXPECT_EQ(check(304, "P250").check.status, -1);
  EXPECT_EQ(PRPSEQ.position, 250);
  EXPECT_EQ(list(303).entries, Entries{});  // used up
}

TEST_F(PropertyWords, TranslatorNamesAskEveryVariantOfAMissingTranslator) {
  enableJournals();
  answers({{1}, {2}, {3}, {-404, 11}}, false);
  MODCNT.word(kCntAnalysisProgram) = 27;
  const Listed l = list(305);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, Entries{});
  EXPECT_EQ(messages(), Lines(100, " Error: SELVO Translator not loaded"));
  answers({{1}, {2}, {3}, {-404, 11}}, true);
  EXPECT_EQ(check(305, "BEAM").check.status, -1);
  EXPECT_EQ(messages().size(), 200u);

  // Programs without a translator are not asked.
  MODCNT.word(kCntAnalysisProgram) = 37;
  EXPECT_EQ(list(305).entries, Entries{});
  EXPECT_EQ(check(305, "BEAM").check.status, -1);
  EXPECT_EQ(messages().size(), 200u);
}

TEST_F(PropertyWords, ElementShapesOfAPropertyType) {
  answers({{116}, {265}, {342}}, false);
  MODCNT.word(kCntAnalysisProgram) = 36;
  Entries want;
  for (const char* n : {"PE6", "PE15", "PE24", "HE8", "HE16", "HE20", "HE27", "HE32", "IS33",
                        "IS44", "IS66", "IS84", "IS88"}) {
    want.push_back({-7, 8, n});
  }
  EXPECT_EQ(list(307).entries, want);
  // The entry text is the eight-character name and four blanks.
  {
    ValueList values(100, 14);
    int32_t status = -1;
    PRPLST(307, values, status);
    EXPECT_EQ(values.text(1).view(), "PE6           ");
  }
  answers({{116}, {265}, {342}}, true);
  struct Case {
    const char* token;
    int32_t status, listValue, nextMenu;
  } cases[] = {{"HE20", 0, 17, 6550}, {"IS33", 0, 47, 6551}, {"HE2", -1, 0, 64}, {"TR3", -1, 0, 64}};
  for (const Case& k : cases) {
    const Checked c = check(307, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    EXPECT_EQ(c.check.nextMenu, k.nextMenu) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 1) << k.token;
      EXPECT_EQ(c.check.sign, 1) << k.token;
    }
  }
  // Program 38 makes the next input optional; the list shows -8.
  MODCNT.word(kCntAnalysisProgram) = 38;
  answers({{116}, {265}, {19}}, true);
  Checked c = check(307, "QU8");
  EXPECT_EQ(c.check.sign, -1);
  EXPECT_EQ(c.check.nextMenu, 6550);
  c = check(307, "IL44");
  EXPECT_EQ(c.check.nextMenu, 6554);
  answers({{116}, {265}, {19}}, false);
  EXPECT_EQ(list(307).entries.front(), (Entry{-7, -8, "TR3"}));
  // Outside that command the selector is 474 and nothing decides the menu; a program of
  // answer 4 (kind 404) chooses the list's shapes only.
  answers({{1}, {2}, {3}, {-404, 36}}, false);
  MODCNT.word(kCntAnalysisProgram) = 27;
  EXPECT_EQ(list(307).entries.size(), 37u);
  answers({{1}, {2}, {3}, {-404, 36}}, true);
  MODCNT.word(kCntAnalysisProgram) = 37;
  c = check(307, "SP10");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.nextMenu, 64);
  EXPECT_EQ(c.check.sign, 1);
}

TEST_F(PropertyWords, DegreeOfFreedomNamesByTheirSet) {
  const char* first[] = {"UX", "UY", "UZ", "RX", "RY", "RZ", "TEMP", "PRESSURE"};
  for (int32_t k = 1; k <= 8; ++k) dofName(k, first[k - 1]);
  dofName(17, " VOLT  ");
  DOFNAM.countA = 2;
  std::string a = "WARP";
  a.resize(12, ' ');
  for (int32_t w = 0; w < 3; ++w) DOFNAM.nameA(1)[static_cast<size_t>(w)] = a4Word(a.substr(static_cast<size_t>(4 * w), 4));

  answers({{1}, {2}, {3}}, false);
  Entries want;
  for (int32_t k = 0; k < 7; ++k) want.push_back({-6, static_cast<int32_t>(std::string(first[k]).size()), first[k]});
  want.push_back({-6, 12, "WARP"});
  EXPECT_EQ(list(306).entries, want);
  answers({{1}, {2}, {743}}, false);
  EXPECT_EQ(list(306).entries.size(), 8u);  // the whole set, no list
  answers({{1}, {2}, {446}}, false);
  EXPECT_EQ(list(306).entries, (Entries{{-6, 4, " VOLT"}}));  // as it stands

  answers({{1}, {2}, {743}}, true);
  struct Case {
    const char* token;
    int32_t status;
    std::string text;
  } cases[] = {{"UX", 0, "UX"}, {"PRESSURE", 0, "PRESSURE"}, {"WARP", 0, "WARP"},
               {"U", -1, ""},   {"VOLT", -1, ""}};
  for (const Case& k : cases) {
    const Checked c = check(306, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.text(), k.text) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 0) << k.token;
    }
  }
  answers({{1}, {2}, {446}}, true);
  EXPECT_EQ(check(306, "VOLT").check.status, 0);
}

}  // namespace
}  // namespace kvr
