// The special kinds: the value lists and checks of kinds 1 to 100 over names in the full
// model registry, the name sequences, the synonyms and the root menu, the "#" answers of a
// command file with and without name translation, and the expected-answer sequences that
// materials, properties, loads and their definitions set up.
#include "command/spclst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "atrfixture.h"
#include "modeldb/seqtab.h"
#include "spcfixture.h"

namespace kvr {
namespace {

struct Outcome {
  int32_t status, valueCode, listValue;
  std::string text;
};

class SpecialKinds : public test::SpecialFixture {
 protected:
  void SetUp() override {
    SpecialFixture::SetUp();
    DEFCOD(2);
  }

  static Listed list(int32_t kind, int32_t maximum = 100) { return listWith(SPCLST, kind, maximum); }
  static Checked check(int32_t kind, const std::string& token, int32_t inputMode = 1,
                       size_t room = 255) {
    return checkWith(
        [kind, inputMode](std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& c) {
          SPCCHK(kind, line, f, l, inputMode, c);
        },
        token, room);
  }
  static void translation(int32_t on) { gCommandFile.state = on; }
  static std::string translated() {
    std::string s;
    for (int32_t c : XLTSTA.text) s.push_back(charOf(c));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  static std::string mapped(const std::string& typed) {
    std::string key = typed, value(8, '?');
    key.resize(8, ' ');
    int32_t entry = 0;
    NameMapLookup(FText(key), FText(value), entry);
    if (entry == 0) return "-";
    while (!value.empty() && value.back() == ' ') value.pop_back();
    return value;
  }
  static void expectOutcome(const Checked& c, const Outcome& want, const std::string& what) {
    EXPECT_EQ(c.check.status, want.status) << what;
    if (want.status != 0) return;
    EXPECT_EQ(c.check.valueCode, want.valueCode) << what;
    EXPECT_EQ(c.check.listValue, want.listValue) << what;
    if (want.valueCode == 0) {
      EXPECT_EQ(c.text(), want.text) << what;
    }
  }
  static void synonym(const std::string& word, int32_t level) {
    SYNSTA.active = 1;
    SYNSTA.count = 1;
    std::fill(SYNSTA.name(1).begin(), SYNSTA.name(1).end(), kBlankCode);
    for (size_t k = 0; k < word.size(); ++k) SYNSTA.name(1)[k] = codeOf(word[k]);
    SYNSTA.searchNumber(1) = level;
  }
};

TEST_F(SpecialKinds, NewNamesAreFreeTakenByTheirOwnClassOrRefused) {
  seqHighest(1) = 7;
  struct Case {
    std::vector<std::string_view> points, lines;
    const char* token;
    Outcome want;
  } cases[] = {
      {{}, {}, "P7", {0, 0, 2, "P7"}},
      {{"", "", "", "", "", "", "P7"}, {}, "P7", {0, 1, 7, ""}},
      {{}, {"P7"}, "P7", {-1, 0, 0, ""}},
      {{}, {}, "P8", {0, 0, 2, "P8"}},  // above the highest: free without a lookup
      {{}, {"P8"}, "P8", {0, 0, 2, "P8"}},
      {{}, {}, "LONGNAME", {0, 0, 8, "LONGNAME"}},
      {{}, {}, "LONGNAMES", {-1, 0, 0, ""}},
      {{}, {}, "7UP", {-1, 0, 0, ""}},
  };
  for (const Case& k : cases) {
    points(k.points);
    names(3, kCntLines, k.lines);
    seqHighest(1) = 7;
    expectOutcome(check(21, k.token), k.want, k.token);
  }
  // The copy stops at the room left in the text store.
  points({});
  names(3, kCntLines, {});
  const Checked c = check(21, "P7", 1, 1);
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.listValue, 1);
  EXPECT_EQ(c.text(), "P");
  // A typed name at the next number moves the sequence on.
  seqNext(1) = 8;
  check(21, "P8");
  EXPECT_EQ(seqNext(1), 9);
  EXPECT_EQ(seqHighest(1), 8);
}

// Only the first eight characters of a new definition's name count, for its sequence as
// for its answer: "MD12345678" of kind 37 (sequence slot 16, MD) is noted as MD123456,
// as the "#" name is.
TEST_F(SpecialKinds, ANewDefinitionNameNotesItsFirstEightCharacters) {
  for (const char* token : {"MD12345678", "#MD12345678"}) {
    seqHighest(16) = 7;
    seqNext(16) = 8;
    const Checked c = check(37, token);
    EXPECT_EQ(c.check.status, 0) << token;
    EXPECT_EQ(c.text(), "MD123456") << token;
    EXPECT_EQ(seqHighest(16), 123456) << token;
  }
}

TEST_F(SpecialKinds, NamesMustNotBeCommandWordsOrSynonyms) {
  points({"P3", "UTI", "FIL", "STEPS"});
  seqHighest(1) = 3;
  struct Case {
    int32_t kind;
    const char* token;
    Outcome want;
    int32_t oper;
  } cases[] = {
      {1, "FILE", {-1, 0, 0, ""}, 1},      {1, "UTIL", {-1, 0, 0, ""}, 1},
      {1, "UTILITY", {-1, 0, 0, ""}, 1},   {1, "UTI", {0, 1, 2, ""}, 1},
      {1, "FIL", {0, 1, 3, ""}, 1},        {1, "ABCDEFGHI", {-1, 0, 0, ""}, 1},
      {1, "+P3", {0, 1, 1, ""}, 2},        {1, "-P3", {0, 1, 1, ""}, 3},
      {1, "*P3", {0, 1, 1, ""}, 1},        {1, "P2", {-1, 0, 0, ""}, 1},
      {21, "STOP", {-1, 0, 0, ""}, 1},     {21, "STO", {0, 0, 3, "STO"}, 1},
  };
  for (const Case& k : cases) {
    const Checked c = check(k.kind, k.token);
    expectOutcome(c, k.want, k.token);
    EXPECT_EQ(c.check.oper, k.oper) << k.token;
  }
  // A definition kind is not tested against the command words.
  attribute(-3, 1, "FILE", {1, 1});
  MODCNT.word(kCntKind36) = 1;
  expectOutcome(check(17, "FILE"), {0, 1, 1, ""}, "definition FILE");

  synonym("STEP", 2);
  struct Synonym {
    const char* token;
    int32_t status;
  } synonyms[] = {{"ST", -1}, {"STEP", -1}, {"S", 0}, {"STEPS", 0}};
  for (const Synonym& s : synonyms) EXPECT_EQ(check(21, s.token).check.status, s.status) << s.token;
  SYNSTA.active = 0;
  EXPECT_EQ(check(21, "STEP").check.status, 0);
}

TEST_F(SpecialKinds, PlaceholderAnswersInTheirInputModes) {
  Checked c = check(22, "'LINE-NEW'", 2);
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.text(), "DUMMYLIN");
  c = check(2, "'LINE-OLD'", 3);
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.valueCode, 1);
  EXPECT_EQ(c.check.listValue, 1);
  // Typed at a prompt the keyword is no name.
  EXPECT_EQ(check(22, "'LINE-NEW'", 4).check.status, -1);
}

TEST_F(SpecialKinds, NodeAndElementNumbers) {
  MODCNT.word(kCntHighestNode) = 20;
  MODCNT.word(kCntHighestElement) = 5;
  MODCNT.word(kCntElementOffset) = 100;
  struct Case {
    int32_t kind;
    const char* token;
    Outcome want;
  } cases[] = {
      {14, "N12", {0, 1, 12, ""}}, {14, "12", {0, 1, 12, ""}},  {14, "N21", {-1, 0, 0, ""}},
      {14, "N0", {-1, 0, 0, ""}},  {14, "N", {-1, 0, 0, ""}},   {14, "N1X", {-1, 0, 0, ""}},
      {14, "E3", {-1, 0, 0, ""}},  {34, "0", {0, 1, 0, ""}},    {34, "N99999", {0, 1, 99999, ""}},
      {15, "E103", {0, 1, 103, ""}}, {15, "E100", {-1, 0, 0, ""}}, {15, "E106", {-1, 0, 0, ""}},
      {35, "E7", {0, 1, 7, ""}},
  };
  for (const Case& k : cases) expectOutcome(check(k.kind, k.token), k.want, k.token);
}

TEST_F(SpecialKinds, HashReferencesAndHashNames) {
  struct Case {
    int32_t kind;
    const char* token;
    Outcome want;
  } cases[] = {
      {1, "#1201", {0, 1, 12, ""}},   {2, "#1201", {-1, 0, 0, ""}},   {2, "#1202", {0, 1, 12, ""}},
      {60, "#1260", {0, 1, 12, ""}},  {1, "#01", {-1, 0, 0, ""}},     {1, "#0001", {-1, 0, 0, ""}},
      {22, "#NEW", {0, 0, 3, "NEW"}}, {2, "#NEW", {-1, 0, 0, ""}},    {41, "#ANY", {0, 0, 3, "ANY"}},
      {37, "#DEFINITION", {0, 0, 8, "DEFINITI"}}, {22, "#", {-1, 0, 0, ""}},
  };
  for (const Case& k : cases) expectOutcome(check(k.kind, k.token), k.want, k.token);
  // A "#" name is noted against the sequences.
  check(22, "#L5");
  EXPECT_EQ(seqHighest(2), 5);
}

TEST_F(SpecialKinds, AllAndTheNextMenuOfADefinition) {
  struct Case {
    const char* token;
    int32_t status;
  } cases[] = {{"ALL", 0}, {"AL", 0}, {"A", 0}, {"AX", -1}, {"ALLX", -1}};
  for (const Case& k : cases) {
    const Checked c = check(40, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    if (k.status == 0) {
      EXPECT_EQ(c.check.valueCode, 1);
      EXPECT_EQ(c.check.listValue, 1);
      EXPECT_EQ(c.check.nextMenu, 64);
    }
  }
  // Five answers name a material's definition: without a header answer it cannot go on.
  answers({{118}, {283}, {-8, 1}, {7}}, true);
  EXPECT_EQ(check(40, "ALL").check.status, -1010);
  answers({{1}, {2}, {-9, 1}, {7}}, true);
  EXPECT_EQ(check(40, "ALL").check.status, -1010);
  // With a header answer the reference scan decides; a definition that refers to nothing
  // leaves the menu.
  answers({{1}, {2}, {-9, 1}, {-69, 21}}, true);
  const Checked c = check(40, "ALL");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.nextMenu, 64);
  // Fewer answers, or others, ask for nothing.
  answers({{118}, {283}, {-8, 1}}, true);
  EXPECT_EQ(check(40, "ALL").check.status, 0);
  answers({{118}, {284}, {-8, 1}, {7}}, true);
  EXPECT_EQ(check(40, "ALL").check.status, 0);
}

TEST_F(SpecialKinds, AnyExistingAndAnyFreeName) {
  names(3, kCntLines, {"L1", "EDGE"});
  attribute(4, 2, "STEEL", {}, {1.0f});
  MODCNT.word(kCntMaterials) = 2;
  attribute(7, 3, "ODD", {});
  struct Case {
    int32_t kind;
    const char* token;
    Outcome want;
  } cases[] = {
      {51, "EDGE", {0, -2, 2, ""}}, {51, "STEEL", {0, -8, 2, ""}}, {51, "NONE", {-1, 0, 0, ""}},
      {51, "ALL", {-1, 0, 0, ""}},  {51, "ODD", {-1, 0, 0, ""}},   {52, "EDGE", {-1, 0, 0, ""}},
      {52, "ALL", {-1, 0, 0, ""}},  {52, "NEW", {0, 0, 3, "NEW"}},
  };
  for (const Case& k : cases) expectOutcome(check(k.kind, k.token), k.want, k.token);
}

TEST_F(SpecialKinds, ExistingObjectsOfEveryLookup) {
  points({"P1"});
  names(3, kCntLines, {"L1", "L2", "L3"});
  names(18, kCntSets, {"", "SE1"});
  names(35, kCntKind46, {"", "RS1"});
  attribute(2, 4, "TR4", {}, {1.0f});
  attribute(-7, 2, "TC2", {0});
  MODCNT.word(kCntKind5) = 4;
  MODCNT.word(kCntCurves) = 2;
  seqHighest(1) = 1;
  seqHighest(2) = 2;
  seqHighest(5) = 1;
  seqHighest(24) = 1;
  seqHighest(7) = 4;
  seqHighest(19) = 2;
  struct Case {
    int32_t kind;
    const char* token;
    Outcome want;
  } cases[] = {
      {2, "L2", {0, 1, 2, ""}},  {2, "L3", {-1, 0, 0, ""}},  // above the highest: not looked up
      {5, "SE1", {0, 1, 2, ""}}, {20, "RS1", {0, 1, 2, ""}}, {7, "TR4", {0, 1, 4, ""}},
      {60, "TC2", {0, 1, 2, ""}}, {61, "TC2", {-1, 0, 0, ""}}, {85, "P1", {0, 1, 1, ""}},
      {2, "EDGE", {-1, 0, 0, ""}},
  };
  for (const Case& k : cases) expectOutcome(check(k.kind, k.token), k.want, k.token);
  // The search starts at the name's number and wraps round.
  names(3, kCntLines, {"L2", "X"});
  expectOutcome(check(2, "L2"), {0, 1, 1, ""}, "wrapped");
}

TEST_F(SpecialKinds, ValueListsByKind) {
  EXPECT_EQ(list(21).entries, (Entries{{5, 11, "'point-new'"}}));
  EXPECT_EQ(list(40).entries, (Entries{{-40, 3, "ALL"}}));
  EXPECT_EQ(list(14).entries, (Entries{{5, 10, "'node-old'"}}));
  EXPECT_EQ(list(45).entries, (Entries{{5, 0, ""}}));
  EXPECT_EQ(list(17).entries, (Entries{{5, 11, "'matdf-old'"}}));
  EXPECT_EQ(list(19).entries, (Entries{{5, 11, "'lodef-old'"}}));
  // No live material lists nothing.
  EXPECT_EQ(list(8).entries, Entries{});

  attribute(4, 1, "STEEL", {}, {1.0f});
  attribute(4, 3, "IRON", {}, {1.0f});
  MODCNT.word(kCntMaterials) = 3;
  EXPECT_EQ(list(8).entries, (Entries{{-8, 8, "STEEL"}, {-8, 8, "IRON"}}));
  const Listed one = list(8, 1);
  EXPECT_EQ(one.status, 2);
  EXPECT_EQ(one.entries, (Entries{{-8, 8, "STEEL"}}));
  MODCNT.word(kCntDelMaterials) = 3;
  EXPECT_EQ(list(8).entries, Entries{});
  MODCNT.word(kCntDelMaterials) = 0;
  // Answers 118 and 283 ask for the materials that refer to a live object: none here.
  answers({{118}, {283}}, false);
  EXPECT_EQ(list(8).entries, Entries{});
  answers({{118}, {284}}, false);
  EXPECT_EQ(list(8).entries.size(), 2u);

  // The definitions by name; loads by their sixth value.
  attribute(-3, 1, "MD1", {1, 1});
  MODCNT.word(kCntKind36) = 1;
  EXPECT_EQ(list(17).entries, (Entries{{-17, 8, "MD1"}}));
  attribute(-5, 1, "LD1", {1, 1, 0, 0, 0, 0});
  attribute(-5, 2, "LD2", {1, 1, 0, 0, 0, 1});
  attribute(-5, 3, "LD3", {1, 1, 0, 0, 0, 2});
  MODCNT.word(kCntKind38) = 3;
  EXPECT_EQ(list(19).entries, (Entries{{-19, 8, "LD2"}, {-19, 8, "LD3"}}));
  EXPECT_EQ(list(64).entries, (Entries{{-64, 8, "LD1"}, {-64, 8, "LD3"}}));
  attribute(-7, 2, "TC2", {0});
  MODCNT.word(kCntCurves) = 2;
  EXPECT_EQ(list(60).entries, (Entries{{-60, 8, "TC2"}}));
  EXPECT_EQ(list(61).entries, Entries{});

  // The steps of a definition need its table.
  answers({{1}, {2}, {3}}, false);
  EXPECT_EQ(list(67).status, 1);
  EXPECT_EQ(list(67).entries, Entries{});
  answers({{1}, {2}, {-8, 1}}, false);
  EXPECT_EQ(list(68).status, 1);
}

TEST_F(SpecialKinds, MaterialsAndPropertiesSetUpTheirSequences) {
  attribute(4, 1, "STEEL", {}, {3.0f});
  attribute(3, 1, "SHELL", {}, {2.0f});
  MODCNT.word(kCntMaterials) = 1;
  MODCNT.word(kCntProperties) = 1;
  struct Case {
    std::vector<int32_t> values;
    std::vector<int32_t> entries;
  } materials[] = {
      {{4, 1}, {3, -3, -3, -3, 0}},
      {{4, 2}, {6, -6, -6, -6, 0}},
      {{4, 7}, {3, 0}},
      {{1, 1}, {3, 0}},
  };
  for (const Case& k : materials) {
    attribute(-3, 3, "MD3", k.values);
    setSequence(9, {});
    const Checked c = check(8, "STEEL");
    EXPECT_EQ(c.check.status, 0);
    EXPECT_EQ(c.check.listValue, 1);
    EXPECT_EQ(PRPSEQ.position, 1);
    EXPECT_EQ(sequence(static_cast<int32_t>(k.entries.size())), k.entries) << k.values[0];
  }
  // A definition that asks for more than 100 entries fills them and ends without a 0.
  attribute(-3, 3, "MD3", {500, 1});
  check(8, "STEEL");
  std::vector<int32_t> full(100, -3);
  full[0] = 3;
  EXPECT_EQ(sequence(100), full);

  Case properties[] = {
      {{1, 1, 0, 1}, {3, -3, -3, -3, 0}},  // 1 x 3 + 1 = 4 values
      {{0, 0, 1, 1}, {3, -3, -3, -3, -3, -3, 0}},
      {{0, 0, 0, 2}, {6, -6, -6, -6, 0}},
      {{5, 5, 5, 0}, {3, 0}},
  };
  for (const Case& k : properties) {
    attribute(-2, 2, "PD2", k.values);
    setSequence(9, {});
    EXPECT_EQ(check(9, "SHELL").check.status, 0);
    EXPECT_EQ(sequence(static_cast<int32_t>(k.entries.size())), k.entries) << k.values[0];
  }
}

TEST_F(SpecialKinds, LoadsAndInitialConditionsSetUpTheirSequences) {
  attribute(9, 4, "LO4", {}, {6.0f});
  MODCNT.word(kCntLoads) = 4;
  seqHighest(11) = 4;
  struct Case {
    std::vector<int32_t> values;
    int32_t kind;
    int32_t status;
    std::vector<int32_t> entries;
  } cases[] = {
      {{2, 1, 0, 3, 0, 1}, 11, 0, {3, -3, -3, -3, -3, -3, -3, -3, 0}},
      {{2, 1, 0, 3, 0, 1}, 63, -1, {9}},
      {{2, 1, 0, 0, 0, 0}, 11, -1, {9}},
      {{2, 1, 0, 0, 0, 0}, 63, 0, {3, -3, 0}},
      {{2, 5, 0, -3, -2, 2}, 11, 0, {3, -2, -1, 1, -1, 1, -3, 0}},
      {{2, 2, 0, 0, 2, 2}, 11, 0, {3, -3, -3, -3, -3, -3, -3, -3, -3, -3, 0}},
      {{3, 0, 0, 0, 0, 1}, 11, 0, {0}},
      {{2, 1, 3, 3, 0, 1}, 63, -1, {9}},
  };
  for (const Case& k : cases) {
    attribute(-5, 6, "LD6", k.values);
    setSequence(9, {9});
    const Checked c = check(k.kind, "LO4");
    EXPECT_EQ(c.check.status, k.status) << k.kind << " " << k.values[1];
    if (k.status == 0) {
      EXPECT_EQ(c.check.listValue, 4);
      EXPECT_EQ(PRPSEQ.position, 1);
    }
    EXPECT_EQ(sequence(static_cast<int32_t>(k.entries.size())), k.entries) << k.kind << " " << k.values[1];
  }
  // Values given already: the next menu 8528 in place of a sequence.
  attribute(-5, 6, "LD6", {2, 1, 3, 3, 0, 1});
  setSequence(9, {9});
  const auto valuesGiven = [](int32_t menu) {
    return checkWith(
        [menu](std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& c) {
          c.nextMenu = menu;
          c.sign = -1;
          SPCCHK(11, line, f, l, 1, c);
        },
        "LO4", 255);
  };
  for (int32_t menu : {8520, 8523}) {
    const Checked c = valuesGiven(menu);
    EXPECT_EQ(c.check.status, 0);
    EXPECT_EQ(c.check.nextMenu, 8528);
    EXPECT_EQ(c.check.sign, 1);
    EXPECT_EQ(PRPSEQ.position, 9);
    EXPECT_EQ(sequence(1), std::vector<int32_t>{9});
  }
  EXPECT_EQ(valuesGiven(8521).check.nextMenu, 8521);
  EXPECT_EQ(PRPSEQ.position, 1);
}

TEST_F(SpecialKinds, DefinitionsByNameOrAbbreviation) {
  attribute(-3, 1, "MDSTEEL", {2, 1});
  attribute(-3, 2, "MDSTONE", {1, 2});
  attribute(-3, 3, "IRONDEFINITION", {1, 1});
  MODCNT.word(kCntKind36) = 3;
  struct Case {
    int32_t kind;
    const char* token;
    int32_t status, listValue;
    std::vector<int32_t> entries;
  } cases[] = {
      {17, "MDSTEEL", 0, 1, {3, -3, 0}},
      {17, "MDSTO", 5, 2, {6, -6, -6, -6, 0}},
      {17, "MDST", -1, 0, {9}},
      {17, "IRONDEFINITIONS", 0, 3, {3, 0}},  // its first eight characters count
      {17, "IRON", 4, 3, {3, 0}},
      {17, "9IRON", -1, 0, {9}},
  };
  answers({{1}, {2}, {3}}, true);
  for (const Case& k : cases) {
    setSequence(9, {9});
    const Checked c = check(k.kind, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    EXPECT_EQ(sequence(static_cast<int32_t>(k.entries.size())), k.entries) << k.token;
  }
  // A step of a definition goes by answer 3: a material, or else a point.
  answers({{1}, {2}, {432}}, true);
  EXPECT_EQ(check(67, "MDSTEEL").check.listValue, 1);
  answers({{1}, {2}, {-9, 1}}, true);
  EXPECT_EQ(check(67, "MDSTEEL").check.status, -1);
  points({"MDSTEEL"});
  answers({{1}, {2}, {3}}, true);
  EXPECT_EQ(check(68, "MDSTEEL").check.listValue, 1);

  // Load definitions: the load's tests, with 8525 for values given.
  attribute(-5, 1, "LDA", {2, 1, 0, 0, 0, 1});
  attribute(-5, 2, "LDB", {2, 1, 3, 0, 0, 0});
  MODCNT.word(kCntKind38) = 2;
  setSequence(9, {9});
  Checked c = check(19, "LDA");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(sequence(3), (std::vector<int32_t>{3, -3, 0}));
  EXPECT_EQ(check(19, "LDB").check.status, -1);
  EXPECT_EQ(check(64, "LDA").check.status, -1);
  EXPECT_EQ(check(64, "LDB").check.status, -1);  // value 3 is 3
  attribute(-5, 2, "LDB", {2, 1, 3, 0, 0, 1});
  c = checkWith(
      [](std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& k) {
        k.nextMenu = 8523;
        SPCCHK(19, line, f, l, 1, k);
      },
      "LD", 255);
  EXPECT_EQ(c.check.status, -1);  // two abbreviations
  c = checkWith(
      [](std::span<const int32_t> line, int32_t f, int32_t l, ArgumentCheck& k) {
        k.nextMenu = 8523;
        SPCCHK(19, line, f, l, 1, k);
      },
      "LDB", 255);
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.nextMenu, 8525);
}

// ----- Name translation ----------------------------------------------------------------------

TEST_F(SpecialKinds, TranslatedNodeNumbersCancelAPendingMesh) {
  translation(1);
  MODCNT.word(kCntHighestNode) = 200;
  MODCNT.word(kCntSavedNodes) = 200;
  MODCNT.word(kCntMeshOpen) = 1;
  XLTSTA.nodeBase = 100;
  Checked c = check(14, "N5");
  EXPECT_EQ(MODCNT.word(kCntMeshOpen), 0);  // cancelled
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.listValue, 105);
  EXPECT_EQ(translated(), "105");
  EXPECT_EQ(check(14, "N101").check.status, -1);
  XLTSTA.elementBase = -3;
  c = check(35, "E5");
  EXPECT_EQ(c.check.listValue, 2);
  EXPECT_EQ(translated(), "2");

  XLTSTA.meshLock = 1;
  EXPECT_EQ(check(14, "N5").check.status, -1030);
  EXPECT_EQ(check(34, "N5").check.status, -1030);
  translation(0);
  EXPECT_EQ(check(14, "N5").check.listValue, 5);
}

TEST_F(SpecialKinds, TranslatedHashNamesComeFromTheSequences) {
  translation(1);
  Checked c = check(22, "#NEW");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.valueCode, 0);
  EXPECT_EQ(c.text(), "L1");
  EXPECT_EQ(mapped("NEW"), "L1");
  EXPECT_EQ(translated(), "L1");
  c = check(22, "#NEXT");
  EXPECT_EQ(c.text(), "L2");
  // A kind that translation forbids; a flag of -1 is cleared.
  XLTSTA.kindFlag(2) = 1;
  EXPECT_EQ(check(22, "#OTHER").check.status, -1020);
  EXPECT_EQ(mapped("OTHER"), "-");
  XLTSTA.kindFlag(2) = -1;
  EXPECT_EQ(check(22, "#OTHER").check.status, 0);
  EXPECT_EQ(XLTSTA.kindFlag(2), 0);
  // A kind of no class keeps the typed name.
  c = check(45, "#FREE");
  EXPECT_EQ(c.text(), "FREE");
  EXPECT_EQ(translated(), "FREE");
  EXPECT_EQ(mapped("FREE"), "-");
}

TEST_F(SpecialKinds, TranslatedNamesGoThroughTheNameMap) {
  translation(1);
  points({"P1"});
  seqHighest(1) = 1;
  // An existing-object name must be mapped.
  EXPECT_EQ(check(1, "QQ").check.status, -1);
  // A new name is mapped to the next of its sequence and marks the kind's flag.
  seqNext(1) = 2;
  Checked c = check(21, "CORNER");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.text(), "P2");
  EXPECT_EQ(translated(), "P2");
  EXPECT_EQ(XLTSTA.kindFlag(1), -1);
  // Mapped, an existing name is the model's.
  std::string key = "QQ      ", value = "P1      ";
  int32_t status = -1;
  NameMapInsert(FText(key), FText(value), status);
  c = check(1, "QQ");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.check.listValue, 1);
  EXPECT_EQ(translated(), "P1");
  // The number kinds of the map give their failure; definitions are not translated.
  EXPECT_EQ(check(73, "IC").check.status, -1010);
  attribute(-3, 1, "MDLONGER", {1, 1});
  MODCNT.word(kCntKind36) = 1;
  c = check(17, "MDLONGERNAME");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(translated(), "MDLONGER");
}

TEST_F(SpecialKinds, TranslatedReferencesMoveByTheFileOffset) {
  translation(1);
  points({"P1", "P2", "P3", "P4", "P5"});
  names(18, kCntSets, {"", "SE1", "SE2", "SE3"});
  REGHED.word(6, 1) = 2;
  REGHED.word(6, 18) = 1;
  struct Case {
    int32_t kind;
    const char* token;
    int32_t status, listValue;
    std::string text;
  } cases[] = {
      {1, "#101", 0, 3, "P3"},  {21, "#321", 0, 5, "P5"}, {5, "#305", 0, 3, "SE2"},
      {60, "#1260", 0, 12, "-"},  // not moved, not named
  };
  for (const Case& k : cases) {
    XLTSTA.text.fill(codeOf('-'));
    const Checked c = check(k.kind, k.token);
    EXPECT_EQ(c.check.status, k.status) << k.token;
    EXPECT_EQ(c.check.listValue, k.listValue) << k.token;
    if (k.text != "-") {
      EXPECT_EQ(translated(), k.text) << k.token;
    }
  }
  // A record the array does not hold names nothing.
  REGHED.word(6, 1) = 1000000;
  EXPECT_EQ(check(1, "#101").check.status, -1);
}

TEST_F(SpecialKinds, TheLastNameOfASequenceAsksForTheNext) {
  translation(1);
  seqNext(2) = 9999999;
  replies("LN 5\n");
  Checked c = check(22, "#NEW");
  EXPECT_EQ(c.check.status, 0);
  EXPECT_EQ(c.text(), "L9999999");
  EXPECT_EQ(mapped("NEW"), "L9999999");
  c = check(22, "#NEWER");
  EXPECT_EQ(c.text(), "LN5");
  // Cancelled: the sequence stays and its last name is given again.
  seqAlpha(2) = 32000000;
  seqNext(2) = 9999999;
  replies("/\n");
  EXPECT_EQ(check(22, "#THIRD").text(), "L9999999");
  EXPECT_EQ(seqAlpha(2), 32000000);
}

// ----- Over a definition table -------------------------------------------------------------

// A material table with the header MATL, whose option FIELDS has an integer field that may
// refer to a tcdef object (flag 32) and one that may refer to an scdef object (flag 64);
// material 1 uses it.
class SpecialKindsOverATable : public test::DefinitionFixture {
 protected:
  void SetUp() override {
    DefinitionFixture::SetUp();
    directory(kMat, {3, 1, 8, 2, 44, 2, 152});
    header(kMat, 1, "MATL", "MATL", {10});
    option(kMat, 1, 10, 0, "PLAIN", {20});
    option(kMat, 2, 20, 4, "FIELDS", {101, 102});
    field(kMat, 1, 101, 1, "I1", 33, {0, 0, 9});
    field(kMat, 2, 102, 1, "I2", 64, {0, 0, 5});
    attribute(4, 1, {1.0f, 8.0f, 0.0f, 0.0f});
    put(kArrIntegerValues, 1, {2, 2, 0, 0, 10, 20, 7, 5});
    MODCNT.word(kCntMaterials) = 1;
    // Material 1 is named STEEL.
    Label label = nameOf("STEEL");
    int32_t key = 1, count = 0;
    ATTFND(-1, label, 4, key, count);
  }
  static void live(int32_t curves, int32_t variations) {
    MODCNT.word(kCntCurves) = curves;
    MODCNT.word(kCntKind40) = variations;
  }
  static ArgumentCheck check(int32_t kind, std::string_view token, int32_t nextMenu = 64) {
    const std::vector<int32_t> line = codeLine(token);
    std::vector<int32_t> store(255, kBlank);
    ArgumentCheck c;
    c.text = store;
    c.nextMenu = nextMenu;
    c.sign = -1;
    SPCCHK(kind, line, 1, static_cast<int32_t>(line.size()), 1, c);
    c.text = {};
    return c;
  }
  static std::vector<std::string> list(int32_t kind, int32_t& status) {
    ValueList values(100, 80);
    SPCLST(kind, values, status);
    std::vector<std::string> texts;
    for (int32_t k = 1; k <= values.count; ++k) texts.push_back(values.text(k).trimmed());
    return texts;
  }
};

TEST_F(SpecialKindsOverATable, AllTakesItsNextMenuFromTheReferencesOfTheHeader) {
  answer(1, 118);
  answer(2, 283);
  answer(3, -8, 1);
  answer(4, -69, 11);
  MNUCTL.answerCount = 5;
  struct Case {
    int32_t curves, variations, menu;
  } cases[] = {{1, 0, 8187}, {0, 1, 8189}, {1, 1, 8193}, {0, 0, 64}};
  for (const Case& k : cases) {
    live(k.curves, k.variations);
    const ArgumentCheck c = check(40, "ALL");
    EXPECT_EQ(c.status, 0) << k.menu;
    EXPECT_EQ(c.nextMenu, k.menu);
    EXPECT_EQ(c.sign, -1) << "the sign is the one given";
  }
}

TEST_F(SpecialKindsOverATable, MaterialsThatReferToLiveObjects) {
  answer(1, 118);
  answer(2, 283);
  MNUCTL.answerCount = 2;
  int32_t status = -1;
  live(0, 0);
  EXPECT_EQ(list(8, status), std::vector<std::string>{});
  live(1, 0);
  EXPECT_EQ(list(8, status), std::vector<std::string>{"STEEL"});
  EXPECT_EQ(status, 0);
}

TEST_F(SpecialKindsOverATable, DefinitionKindsWalkTheTable) {
  int32_t status = -1;
  EXPECT_EQ(list(17, status), std::vector<std::string>{"MATL"});
  ArgumentCheck c = check(17, "MATL");
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.listValue, 11);
  EXPECT_EQ(c.nextMenu, 8160);
  answer(1, 1);
  answer(2, 2);
  answer(3, 432);
  MNUCTL.answerCount = 3;
  EXPECT_EQ(list(67, status), std::vector<std::string>{"MATL"});
  EXPECT_EQ(status, 0);
  MNUCTL.answerCount = 4;
  c = check(67, "MA");
  EXPECT_EQ(c.status, 2);
  EXPECT_EQ(c.listValue, 11);
  // A material named with the table present sets no sequence.
  PRPSEQ = {};
  VWDFLT.word(kSeqForm) = 0;
  EXPECT_EQ(check(8, "STEEL").status, 0);
  EXPECT_EQ(PRPSEQ.position, 0);
}

}  // namespace
}  // namespace kvr
