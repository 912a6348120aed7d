#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <utility>
#include <vector>

#include "dbinterface/symlst.h"
#include "dbinterface/symtab.h"
#include "loaderfixture.h"

namespace kvr {
namespace {

int32_t word(float v) { return std::bit_cast<int32_t>(v); }

// TEXT as N codes, blank-padded.
void put(std::vector<int32_t>& r, const std::string& text, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) r.push_back(k < text.size() ? codeOf(text[k]) : kBlankCode);
}

struct Definition {
  std::string shape = "TRIANGLE", state = "ON", first = ">=";
  float value1 = 1.5f;
  std::string conjunction = "AND", second = "ABS<";
  float value2 = 3.0f;
  std::string colour = "RED", size = "SCALED", description = "";
  int32_t tag = -2;

  std::vector<int32_t> words() const {
    std::vector<int32_t> r{tag};
    put(r, shape, 8);
    put(r, state, 3);
    put(r, first, 7);
    r.push_back(word(value1));
    put(r, conjunction, 3);
    put(r, second, 7);
    r.push_back(word(value2));
    put(r, colour, 8);
    put(r, size, 6);
    put(r, description, 20);
    return r;
  }
};

class SymbolSetLoader : public test::LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
  }
  void TearDown() override {
    SYMTAB = {};
    LoaderFixture::TearDown();
  }

  // A set header and its definitions on unit A.
  static void set(const std::string& name, const std::vector<Definition>& definitions,
                  int32_t count = -1, int32_t tag = -1) {
    std::vector<int32_t> r{tag};
    put(r, name, 8);
    put(r, "STRS", 8);
    r.push_back(count < 0 ? static_cast<int32_t>(definitions.size()) : count);
    r.push_back(0);
    raw(r);
    for (const Definition& d : definitions) raw(d.words());
  }

  int32_t loadSymbols() {
    lastTag = 0;
    int32_t ierr = -1;
    DIPSY(LDPAGE, LDSCR, lastTag, ierr);
    return ierr;
  }

  // Every set stored in dataset 53, unpacked in turn: the table of each, in order.
  std::vector<SymTab> storedSets() {
    std::vector<SymTab> sets;
    int32_t p = recorded(kSymbolSetDataset);
    for (int32_t pages = 0; p > 0 && pages < 100; ++pages) {
      DbPage pg = page(p);
      std::vector<int32_t> words(pg.words().begin(), pg.words().end());
      int32_t link = 39;
      while (words[static_cast<std::size_t>(link - 1)] > 0) {
        int32_t position = link + 1;
        SYMLST(kSymbolUnpack, {}, words, position);
        EXPECT_EQ(position, words[static_cast<std::size_t>(link - 1)]);
        sets.push_back(SYMTAB);
        link = position;
      }
      if (words[static_cast<std::size_t>(link - 1)] != -39) break;
      p = pg.word(4);
    }
    return sets;
  }

  int32_t lastTag = 0;
};

TEST_F(SymbolSetLoader, DefinitionsGiveEntriesByTheOperatorAndNameTables) {
  struct Case {
    Definition d;
    int32_t entry, state, code;
    float a, b;
    int32_t colour, size;
  };
  const auto with = [](auto change) {
    Definition d;
    change(d);
    return d;
  };
  const std::vector<Case> cases = {
      {Definition{}, 7, 1, 312, 1.5f, 3.0f, 2, 1},
      {with([](Definition& d) { d.first = "<"; d.value1 = 2; d.conjunction = "OR"; d.second = ">"; d.value2 = 5; }),
       7, 1, 121, 5.0f, 2.0f, 2, 1},
      {with([](Definition& d) { d.first = ">"; d.second = ">="; }), 7, 1, 1, 1.5f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "ABS<="; d.conjunction = "ORX"; d.second = "ABS>="; }),
       7, 1, 424, 3.0f, 1.5f, 2, 1},
      {with([](Definition& d) { d.first = "ABS>"; d.conjunction = "XOR"; }), 7, 1, 3, 1.5f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "ALL"; }), 7, 1, 909, 0.0f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "DEFAULT"; }), 7, 1, 908, 0.0f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "="; d.value1 = 4; }), 7, 1, 901, 4.0f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "#"; }), 7, 1, 902, 1.5f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "XYZ"; }), 7, 0, 0, 0.0f, 0.0f, 2, 1},
      {with([](Definition& d) { d.first = "ABS"; }), 7, 0, 0, 0.0f, 0.0f, 2, 1},
      {with([](Definition& d) { d.shape = "PLUSSIGN"; d.state = "OFF"; d.colour = "BLACK"; }),
       1, 0, 312, 1.5f, 3.0f, 0, 1},
      {with([](Definition& d) { d.shape = "CROSS"; d.colour = "VIOLET"; d.size = "ABSMAX"; }),
       3, 1, 312, 1.5f, 3.0f, 7, 2},
      {with([](Definition& d) { d.shape = "MINUS"; d.size = "FIXED"; }), 8, 1, 312, 1.5f, 3.0f, 2, 0},
  };
  beginDataset(53);
  for (const Case& c : cases) set("SET", {c.d});
  endDataset();
  ASSERT_EQ(loadSymbols(), 0);
  EXPECT_EQ(lastTag, -3);

  const std::vector<SymTab> sets = storedSets();
  ASSERT_EQ(sets.size(), cases.size());
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SymTab t = sets[k];
    const SymbolEntry& e = t.entry(c.entry);
    EXPECT_EQ((std::vector<int32_t>{e.state, e.code, e.valueA, e.valueB, e.colour, e.sizeMode}),
              (std::vector<int32_t>{c.state, c.code, word(c.a), word(c.b), c.colour, c.size}))
        << "case " << k;
    EXPECT_EQ(t.orderAt(1), c.d.state == "ON" ? c.entry : 1) << "case " << k;
  }
  EXPECT_EQ(sets[0].order, (std::array<int32_t, 18>{7, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13,
                                                    14, 15, 16, 17, 18}));
}

TEST_F(SymbolSetLoader, UserShapesAndTheFirstEighteenDefinitions) {
  Definition star;
  star.shape = "STAR";
  star.description = "peak";
  std::vector<Definition> twenty;
  for (int32_t k = 1; k <= 20; ++k) {
    Definition d;
    d.shape = k <= 18 ? "U" + std::to_string(k) : "PLUS";
    d.colour = k <= 18 ? "GREEN" : "BLUE";
    d.state = k <= 18 ? "OFF" : "ON";
    twenty.push_back(d);
  }
  std::vector<Definition> eleven;
  for (int32_t k = 1; k <= 11; ++k) {
    Definition d;
    d.shape = "N" + std::to_string(k);
    d.colour = k == 11 ? "WHITE" : "YELLOW";
    eleven.push_back(d);
  }
  Definition plus;
  plus.shape = "PLUS";
  for (int32_t k = 12; k <= 18; ++k) eleven.push_back(plus);
  Definition late = plus;
  late.colour = "ORANGE";
  eleven.push_back(late);

  beginDataset(53);
  set("ONE", {star});
  set("TWENTY", twenty);
  set("ELEVEN", eleven);
  endDataset();
  ASSERT_EQ(loadSymbols(), 0);
  const std::vector<SymTab> sets = storedSets();
  ASSERT_EQ(sets.size(), 3u);

  SymTab one = sets[0];
  EXPECT_EQ(one.userShapeCount, 1);
  EXPECT_EQ(one.nameCode(1), codeOf('S'));
  EXPECT_EQ(one.nameCode(5), kBlankCode);
  EXPECT_EQ(one.entry(9).sizeMode, 0) << "a user shape's size is fixed";
  EXPECT_EQ(one.entry(9).code, 312);
  EXPECT_EQ(one.entry(9).description[0], codeOf('p'));
  EXPECT_EQ(one.orderAt(1), 9);

  SymTab twentyTable = sets[1];
  EXPECT_EQ(twentyTable.userShapeCount, 10);
  EXPECT_EQ(twentyTable.entry(1).colour, 0) << "definitions 19 and 20 are read, not used";
  EXPECT_EQ(twentyTable.orderAt(1), 1);
  EXPECT_EQ(twentyTable.entry(18).colour, 5);
  EXPECT_EQ(twentyTable.nameCode(73), codeOf('U'));
  EXPECT_EQ(twentyTable.nameCode(74), codeOf('1'));
  EXPECT_EQ(twentyTable.nameCode(75), codeOf('0'));

  SymTab elevenTable = sets[2];
  EXPECT_EQ(elevenTable.userShapeCount, 10);
  EXPECT_EQ(elevenTable.nameCode(73), codeOf('N'));
  EXPECT_EQ(elevenTable.nameCode(75), codeOf('0'));
  EXPECT_EQ(elevenTable.entry(18).colour, 4) << "the eleventh user shape changes nothing";
  EXPECT_EQ(elevenTable.entry(1).colour, 2) << "the definitions after it are used";
  EXPECT_EQ(elevenTable.orderAt(1), 1);
  EXPECT_EQ(elevenTable.orderAt(2), 18);
}

TEST_F(SymbolSetLoader, SetsAreChainedOverPages) {
  beginDataset(53);
  for (const char* name : {"A", "B", "C", "D"}) set(name, {Definition{}});
  endDataset();
  ASSERT_EQ(loadSymbols(), 0);

  EXPECT_EQ(recorded(kSymbolSetDataset), 2);
  const DbPage first = page(2);
  EXPECT_EQ((std::vector<int32_t>{first.word(39), first.word(628), first.word(1217),
                                  first.word(1806), first.word(5), first.word(4), first.word(3)}),
            (std::vector<int32_t>{628, 1217, 1806, -39, 1806, 3, 53}));
  EXPECT_EQ(first.word(40), 2);
  EXPECT_EQ(first.word(41), codeOf('A'));
  const DbPage second = page(3);
  EXPECT_EQ((std::vector<int32_t>{second.word(39), second.word(41), second.word(628),
                                  second.word(4), second.word(5)}),
            (std::vector<int32_t>{628, codeOf('D'), 0, -1, 628}));
  EXPECT_EQ(storedSets().size(), 4u);
}

TEST_F(SymbolSetLoader, AnEmptyDatasetIsRecordedAndASecondOneRefused) {
  beginDataset(53);
  endDataset();
  ASSERT_EQ(loadSymbols(), 0);
  EXPECT_EQ(recorded(kSymbolSetDataset), 2);
  const DbPage p = page(2);
  EXPECT_EQ((std::vector<int32_t>{p.word(39), p.word(5), p.word(4)}),
            (std::vector<int32_t>{0, 39, -1}));

  beginDataset(53);
  set("A", {Definition{}});
  endDataset();
  EXPECT_EQ(loadSymbols(), 267);
  EXPECT_EQ(messages().back(),
            " DI267 : DILIM : SYMBOL SETS ALREADY DEFINED                        :");
  EXPECT_EQ(recorded(kSymbolSetDataset), 2);
}

TEST_F(SymbolSetLoader, WrongTagsAndAShortStreamAreReported) {
  Definition wrong;
  wrong.tag = -1;
  const std::vector<std::pair<std::string, int32_t>> expected = {
      {errorLine(299, "DIPSY", 9200), -1}, {errorLine(299, "DIPSY", 9200), -2},
      {errorLine(299, "DIPSY", 9200), -3}, {errorLine(225, "DILIM", unit(kA)), -2}};
  for (std::size_t k = 0; k < expected.size(); ++k) {
    createDatabase("m" + std::to_string(k));
    beginDataset(53);
    if (k == 0) set("A", {Definition{}, wrong});
    if (k == 1) set("A", {}, 0, -2);
    if (k == 2) set("A", {Definition{}}, 2);  // the end record stands for the second
    if (k == 3) set("A", {Definition{}}, 2);
    k == 3 ? cutDataset() : endDataset();
    EXPECT_EQ(loadSymbols(), expected[k].first.substr(3, 3) == "225" ? 225 : 299) << k;
    EXPECT_EQ(messages().back(), expected[k].first) << k;
    EXPECT_EQ(lastTag, expected[k].second) << k;
    EXPECT_EQ(recorded(kSymbolSetDataset), 0) << k;
  }
}

}  // namespace
}  // namespace kvr
