#include "dbinterface/ressel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../modeldb/dbopenfixture.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dbpage.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

using test::DbOpenFixture;

AttributeName name8(const std::string& text) {
  AttributeName n = blankAttributeName();
  for (size_t k = 0; k < text.size() && k < n.size(); ++k) n[k] = codeOf(text[k]);
  return n;
}

TEST(Resops, TableByNameAndNumber) {
  // NAME: looked up with number 0, else the entry's name expected.
  struct Case {
    std::string name;
    int32_t number;
    int32_t found, needs, result, count, pairs;
    std::vector<int32_t> first, second;
  };
  const std::vector<Case> cases = {
      {"Q2-STRES", 0, 7, 4, 1, 6, 1, {2, 0}, {0}},
      {"Q2", 0, 0, 0, 0, 0, 0, {0}, {0}},
      {"XYZ", 0, 0, 0, 0, 0, 0, {0}, {0}},
      {"ALL-PRNC", 16, 16, 3, 3, 12, 12, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 0},
       {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0}},
      {"P2-ESTRA", 21, 21, 4, 3, 6, 4, {1, 2, 3, 4, 0}, {2, 2, 2, 2, 0}},
      {"Q3-PRINC", 13, 13, 3, 1, 12, 1, {3, 0}, {0}},
      {"ALL", 1, 1, 2, 2, 3, 3, {1, 2, 3, 0}, {0}},
      {"", 24, 0, 0, 0, 0, 0, {0}, {0}},
      {"", -1, 0, 0, 0, 0, 0, {0}, {0}},
  };
  for (const Case& c : cases) {
    AttributeName name = name8(c.number == 0 ? c.name : "");
    int32_t number = c.number, needs = -9, result = -9, count = -9, pairs = -9;
    IndexList first, second;
    first.fill(-9);
    second.fill(-9);
    RESOPS(name, number, needs, result, count, pairs, first, second);
    SCOPED_TRACE(c.name + std::to_string(c.number));
    EXPECT_EQ(number, c.found);
    EXPECT_EQ((std::array<int32_t, 4>{needs, result, count, pairs}),
              (std::array<int32_t, 4>{c.needs, c.result, c.count, c.pairs}));
    EXPECT_TRUE(std::equal(c.first.begin(), c.first.end(), first.begin()));
    EXPECT_TRUE(std::equal(c.second.begin(), c.second.end(), second.begin()));
    EXPECT_TRUE(std::all_of(first.begin() + static_cast<long>(c.first.size()), first.end(),
                            [](int32_t v) { return v == 0; }));
    EXPECT_EQ(name, name8(c.name));
  }
}

// One component of an attribute's header page.
struct Comp {
  int32_t menu, typeCode, index1, index2, indicator;
  std::string name, calculation = "", source = "";
};

class Selection : public DbOpenFixture {
 protected:
  void SetUp() override {
    DbOpenFixture::SetUp();
    ASSERT_EQ(create("M1"), 0);
    pageSize = DBPARM.fileSlot(kDataFileSlot).pageSize;
    RESSEL = {};
    RESCMP = {};
    RESSE2 = {};
  }
  void TearDown() override {
    RESSEL = {};
    RESCMP = {};
    RESSE2 = {};
    DbOpenFixture::TearDown();
  }

  // Stores an attribute at the end of the load case's chain: its header page (VARIANTS
  // variants of one position word per component; COUNT in record word 14 unless given;
  // a last used word cut by SHORTBY) and its record 106. Answers the record's page.
  int32_t attribute(int32_t type, const std::string& name, int32_t results,
                    const std::vector<Comp>& comps, int32_t variants = 1, int32_t count = -1,
                    int32_t shortBy = 0) {
    std::vector<int32_t> page(static_cast<size_t>(pageSize), 0);
    int32_t header = 0, freeHead = 0;
    PGNEW(buffer, kLastDataClass, header, freeHead);
    int32_t w = 39;
    const auto put = [&](int32_t v) { page[static_cast<size_t>(w++ - 1)] = v; };
    for (const Comp& c : comps) {
      for (int32_t v : {c.menu, c.typeCode, c.index1, c.index2, c.indicator}) put(v);
      for (const std::string& text : {c.name, c.calculation, c.source}) {
        for (int32_t code : name8(text)) put(code);
      }
    }
    put(variants);
    for (int32_t v = 1; v <= variants; ++v) {
      put(10 * v);
      put(static_cast<int32_t>(comps.size()));
      for (size_t k = 1; k <= comps.size(); ++k) put(static_cast<int32_t>(k) + v);
    }
    page[4] = w - 1 - shortBy;
    PAGWR(kLastDataClass, header, page);

    int32_t record = 0;
    PGNEW(buffer, kResultsClass, record, freeHead);
    PGINIT(kResultsClass, record, PGCUR.page());
    const auto word = [](int32_t k) -> int32_t& { return PGCUR.word(4 + k); };
    word(1) = -1;
    word(2) = type;
    const AttributeName codes = name8(name);
    for (int32_t k = 0; k < 8; ++k) word(3 + k) = codes[static_cast<size_t>(k)];
    word(11) = header;
    word(12) = results;
    word(14) = count < 0 ? static_cast<int32_t>(comps.size()) : count;
    PAGWR(kResultsClass, record, PGCUR.page());
    if (last == 0) {
      CTLREC.word(kLoadCaseClass, 8) = record;
    } else {
      link(last, record);
    }
    last = record;
    return record;
  }

  // Sets the link word of the record on PAGE.
  void link(int32_t page, int32_t to) {
    PAGRD(kResultsClass, page, PGCUR.page());
    PGCUR.word(5) = to;
    PAGWR(kResultsClass, page, PGCUR.page());
  }

  // The attribute "STRESS" (type 3, results word 7) with a stress component and a
  // calculated one.
  int32_t stress() {
    return attribute(3, "STRESS", 7,
                     {{1, 4, 1, 1, 0, "SIG"}, {1, 1, 0, 0, 1, "VM", "VONMISES", ""}});
  }

  struct Choice {
    int32_t status = -9;
    int32_t selector = 0;
    ResultsSelection selection;
    ComponentChoice choice;
  };
  Choice choose(int32_t selector, int32_t op, const std::string& component = "",
                const std::string& attr = "STRESS", int32_t type = 3) {
    Choice c;
    c.selector = selector;
    c.choice.name = name8(component);
    RESPRS(0, resultsPage, 0, c.selector, type, op, name8(attr), c.selection, c.choice, c.status);
    return c;
  }

  bool posted(const std::string& tag) {
    const auto lines = messageLines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(tag) != std::string::npos; });
  }

  int32_t pageSize = 0;
  int32_t last = 0;
  std::vector<int32_t> resultsPage = std::vector<int32_t>(32640, 0);
};

TEST_F(Selection, OperatorsAndNamesChooseTheComponent) {
  const int32_t record = stress();

  Choice c = choose(0, 207);
  ASSERT_EQ(c.status, 0);
  EXPECT_EQ(c.choice.type, 1);
  EXPECT_EQ(c.choice.neededType, 4);
  EXPECT_EQ(c.choice.valueCount, 6);
  EXPECT_EQ(c.choice.pairs, 1);
  EXPECT_EQ(c.choice.number, 1);
  EXPECT_EQ(c.choice.firstIndices[0], 2);
  EXPECT_EQ(c.choice.secondIndices[0], 20);
  EXPECT_EQ(c.choice.operatorWord, 207);
  EXPECT_EQ(c.choice.name, blankAttributeName());

  c = choose(0, 103);
  ASSERT_EQ(c.status, 0);
  EXPECT_EQ(c.choice.type, 3);
  EXPECT_EQ(c.choice.pairs, 4);
  EXPECT_EQ((std::vector<int32_t>(c.choice.firstIndices.begin(), c.choice.firstIndices.begin() + 5)),
            (std::vector<int32_t>{1, 2, 3, 4, 0}));
  EXPECT_EQ((std::vector<int32_t>(c.choice.secondIndices.begin(), c.choice.secondIndices.begin() + 5)),
            (std::vector<int32_t>{11, 11, 11, 11, 0}));

  c = choose(-1, 0, "VM");
  ASSERT_EQ(c.status, 0);
  EXPECT_EQ(c.choice.number, 1);
  EXPECT_EQ(c.choice.valueCount, 6);
  EXPECT_EQ(c.choice.neededType, 4);
  EXPECT_EQ(c.choice.operatorWord, 2);  // the operator it is calculated by
  EXPECT_EQ(c.choice.name, name8("VM"));
  const ResultsSelection& s = c.selection;
  EXPECT_EQ((std::array<int32_t, 3>{s.types[0], s.firstIndices[0], s.secondIndices[0]}),
            (std::array<int32_t, 3>{4, 1, 1}));
  EXPECT_EQ((std::array<int32_t, 3>{s.types[1], s.firstIndices[1], s.secondIndices[1]}),
            (std::array<int32_t, 3>{-1, -1, -1}));
  EXPECT_EQ(s.resultsWord, 7);
  EXPECT_EQ(s.recordPage, record);
  EXPECT_EQ(s.componentCount, 2);
  EXPECT_EQ(s.variantCount, 1);
  EXPECT_EQ((std::vector<int32_t>(s.variants[0].begin(), s.variants[0].begin() + 5)),
            (std::vector<int32_t>{10, 2, 2, 3, 0}));

  // A menu position beyond the menu, or a blank name, asks for the default: the first
  // component with a type code above 0, its name left blank.
  for (int32_t selector : {5, -1}) {
    c = choose(selector, 0, "");
    ASSERT_EQ(c.status, 0);
    EXPECT_EQ(c.selector, 0);
    EXPECT_EQ(c.choice.type, 4);
    EXPECT_EQ(c.choice.name, blankAttributeName());
  }
  c = choose(2, 0);
  EXPECT_EQ(c.choice.name, name8("VM"));
}

TEST_F(Selection, TensorInSeveralComponents) {
  // Three type-2 value components, the last two off the menu.
  attribute(2, "DISP3", 7, {{1, 2, 1, 1, 0, "UX"}, {0, 2, 2, 2, 0, "UY"}, {0, 2, 3, 3, 0, "UZ"}});
  attribute(2, "DISP2", 7, {{1, 2, 1, 1, 0, "UX"}, {0, 2, 2, 2, 0, "UY"}, {1, 1, 0, 0, 0, "T"}});
  struct Case {
    std::string attr;
    int32_t pairs;
    std::vector<int32_t> first, second;
  };
  for (const Case& k : {Case{"DISP3", 3, {1, 2, 3, 0}, {1, 2, 3, 0}},
                        Case{"DISP2", 2, {1, 2, 0}, {1, 2, 0}}}) {
    const Choice c = choose(0, 0, "", k.attr, 2);
    ASSERT_EQ(c.status, 0) << k.attr;
    EXPECT_EQ(c.choice.pairs, k.pairs) << k.attr;
    EXPECT_TRUE(std::equal(k.first.begin(), k.first.end(), c.choice.firstIndices.begin()));
    EXPECT_TRUE(std::equal(k.second.begin(), k.second.end(), c.choice.secondIndices.begin()));
  }
}

TEST_F(Selection, Refusals) {
  stress();
  attribute(3, "CALC", 7, {{1, 4, 1, 1, 0, "SIG"}, {1, 1, 0, 0, 1, "X", "FOO", ""}});
  attribute(3, "SOURCED", 7, {{1, 1, 0, 0, 1, "VM", "VONMISES", "NOWHERE"}});

  Choice c = choose(-1, 0, "V");  // an abbreviation names nothing
  EXPECT_EQ(c.status, 1);
  EXPECT_TRUE(posted("E3490"));
  c = choose(-1, 0, "X", "CALC");
  EXPECT_EQ(c.status, 1);
  EXPECT_TRUE(posted("E3480"));
  EXPECT_EQ(choose(0, 0, "", "STRAIN").status, 2);
  EXPECT_EQ(choose(0, 0, "", "STRESS", 4).status, 2);
  EXPECT_EQ(choose(-1, 0, "VM", "SOURCED").status, 2);
}

TEST_F(Selection, EntryPointsKeepTheirWordsOnFailure) {
  const int32_t record = stress();
  RESSEL.type = 3;
  RESSEL.name = name8("STRESS");
  RESCMP.name = name8("V");
  int32_t status = -9;
  RESSEL.valid = 1;
  RESSL1(resultsPage, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(RESSEL.valid, 0);
  RESCMP.name = name8("SIG");
  RESSL1(resultsPage, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RESSEL.valid, 1);
  EXPECT_EQ(RESSEL.type, 3);
  EXPECT_EQ(RESSEL.name, name8("STRESS"));
  EXPECT_GT(RESSEL.componentPage, 0);
  EXPECT_EQ(RESSEL.recordPage, record);
  EXPECT_EQ(RESSEL.resultsWord, 7);

  RESSE2.selection.type = 3;
  RESSE2.selection.name = name8("STRESS");
  RESSE2.choice.name = name8("V");
  RESSE2.choice.operatorWord = 207;
  RESSL2(resultsPage, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(RESSE2.choice.operatorWord, 207);
  RESSE2.choice.name = name8("SIG");
  RESSL2(resultsPage, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RESSE2.choice.operatorWord, 207);
  EXPECT_EQ(RESSE2.choice.secondIndices[0], 20);
  EXPECT_EQ(RESSE2.selection.resultsWord, 7);
  EXPECT_EQ(RESSEL.valid, 1);  // the first selection is not touched
}

TEST_F(Selection, StoredCountsNeverRunPastTheTablesOrThePage) {
  std::vector<Comp> many;
  for (int32_t k = 1; k <= 25; ++k) many.push_back({1, 1, k, 0, 0, "C" + std::to_string(k)});
  attribute(1, "MANY", 7, many, 7);
  attribute(1, "SHORT", 7, {{1, 1, 0, 0, 0, "A"}}, 1, -1, 1);  // the variant runs past
  attribute(1, "COUNT", 7, {{1, 1, 0, 0, 0, "A"}}, 1, 3);      // the components run past
  attribute(1, "NOVALS", 0, {{1, 1, 0, 0, 0, "A"}});

  const Choice c = choose(0, 0, "", "MANY", 1);
  ASSERT_EQ(c.status, 0);
  EXPECT_EQ(c.selection.componentCount, 20);
  EXPECT_EQ(c.selection.firstIndices[19], 20);
  EXPECT_EQ(c.selection.types[19], 1);
  EXPECT_EQ(c.selection.variantCount, 5);
  // Variant 5: id 50, its word count, then its first 20 position words.
  EXPECT_EQ(c.selection.variants[4][0], 50);
  EXPECT_EQ(c.selection.variants[4][1], 25);
  EXPECT_EQ(c.selection.variants[4][21], 25);
  EXPECT_EQ(choose(0, 0, "", "SHORT", 1).status, 1);
  EXPECT_EQ(choose(0, 0, "", "COUNT", 1).status, 1);
  // A results word below 1 fails unless the mode accepts it.
  EXPECT_EQ(choose(0, 0, "", "NOVALS", 1).status, 1);
  Choice m;
  m.selector = 0;
  RESPRS(1, resultsPage, 0, m.selector, 1, 0, name8("NOVALS"), m.selection, m.choice, m.status);
  EXPECT_EQ(m.status, 0);
}

TEST_F(Selection, RafindByPositionAndTypeAndAroundACircle) {
  const int32_t disp = attribute(1, "DISP", 7, {{1, 1, 0, 0, 0, "U"}});
  const int32_t stressPage = stress();
  struct Case {
    int32_t k, type;
    int32_t status, page, foundType;
    std::string name;
  };
  for (const Case& c : {Case{1, 2, 0, disp, 1, "DISP"}, Case{-2, 0, 0, stressPage, 3, "STRESS"},
                        Case{1, 3, 0, stressPage, 3, "STRESS"}, Case{2, 3, 1, 0, 3, ""},
                        Case{0, 1, 0, disp, 1, "DISP"}}) {
    AttributeName name = c.k == 0 ? name8("DISP") : blankAttributeName();
    int32_t type = c.type, page = 0, status = -9;
    RAFIND(c.k, name, type, page, status);
    SCOPED_TRACE(c.k);
    EXPECT_EQ(status, c.status);
    if (c.status != 0) continue;
    EXPECT_EQ(page, c.page);
    EXPECT_EQ(type, c.foundType);
    EXPECT_EQ(name, name8(c.name));
    EXPECT_EQ(CTLREC.page(kResultsClass), c.page);
  }
  // A chain that comes back to its start ends.
  link(stressPage, disp);
  AttributeName name = name8("NONE");
  int32_t type = 1, page = 0, status = -9;
  RAFIND(0, name, type, page, status);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace kvr
