#include "command/fltlst.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cmdfixture.h"
#include "command/ansrec.h"
#include "command/vallst.h"
#include "modeldb/entqry.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

using test::Lines;

class ProgramArguments : public test::CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    enableJournals();
    NAPBLK = {};
    MODCNT = {};
  }
  void TearDown() override {
    NAPBLK = {};
    MODCNT = {};
    CommandFixture::TearDown();
  }

  // The program count and the four flag words.
  static void programs(int32_t count, int32_t flags) {
    NAPBLK.NAPRG() = count;
    for (int32_t k = 1; k <= 4; ++k) NAPBLK.APRFLG(k) = flags;
  }

  struct Entry {
    int32_t kind;
    int32_t value;
    std::string text;
    bool operator==(const Entry&) const = default;
  };
  struct Listed {
    int32_t status = -9;
    std::vector<Entry> entries;
  };
  static Listed list(int32_t kind, int32_t maximum = 100) {
    ValueList values(maximum, 80);
    Listed l;
    VALLST({}, kind, values, l.status);
    for (int32_t k = 1; k <= values.count; ++k) {
      l.entries.push_back({values.kind(k), values.value(k), values.text(k).trimmed()});
    }
    return l;
  }

  // VALCHK of TOKEN (the whole line) for KIND, next menu 64 and sign -1 coming in.
  static ArgumentCheck check(int32_t kind, const std::string& token) {
    const std::vector<int32_t> line = codes(token);
    std::vector<int32_t> text(255, kBlankCode);
    ArgumentCheck c;
    c.text = text;
    c.nextMenu = 64;
    c.sign = -1;
    c.listValue = -9;
    c.oper = -9;
    c.real = -9.0f;
    VALCHK({}, kind, line, 1, static_cast<int32_t>(line.size()), 1, c);
    c.text = {};
    return c;
  }
};

TEST_F(ProgramArguments, NothingIsOfferedOrTakenWhileNoProgramIsCounted) {
  for (int32_t flags : {0, 8191}) {
    programs(0, flags);
    for (int32_t kind : {401, 402, 404, 405}) {
      const Listed l = list(kind);
      EXPECT_EQ(l.status, 0) << kind;
      EXPECT_TRUE(l.entries.empty()) << kind;
      const ArgumentCheck c = check(kind, kind == 405 ? "FILTER-SELVO" : "SELVO");
      EXPECT_EQ(c.status, -1) << kind;
      EXPECT_EQ(c.listValue, 0) << kind;
      EXPECT_EQ(c.oper, 1) << kind;
      EXPECT_EQ(c.real, 0.0f) << kind;
      EXPECT_EQ(c.nextMenu, 64) << kind;
      EXPECT_EQ(c.sign, -1) << kind;
    }
  }
  programs(52, 0);
  EXPECT_TRUE(list(401).entries.empty());
  EXPECT_EQ(check(401, "SELVO").status, -1);
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(ProgramArguments, EveryProgramSwitchedOnIsListed) {
  programs(52, 8191);
  EXPECT_EQ(list(402).entries, (std::vector<Entry>{{-402, 8, "SELVO"}}));

  std::vector<Entry> names;
  std::vector<Entry> filters;
  for (int32_t code = 1; code <= 52; ++code) {
    if (code == 29 || (code >= 36 && code <= 38)) continue;
    const std::string n = code == 21   ? "KAVRO+"
                          : code == 27 ? "SELVO"
                                       : "PROG" + std::string(code < 10 ? "0" : "") +
                                             std::to_string(code);
    names.push_back({-401, 8, n});
    filters.push_back({-405, 15, "FILTER-" + n});
  }
  ASSERT_EQ(names.size(), 48u);
  Listed l = list(401);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, names);
  l = list(405);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries, filters);
  l = list(404);
  ASSERT_EQ(l.entries.size(), 48u);
  EXPECT_EQ(l.entries.front(), (Entry{-404, 8, "PROG01"}));

  // Other kinds above 400 offer nothing.
  for (int32_t kind : {406, 500}) EXPECT_TRUE(list(kind).entries.empty()) << kind;
}

TEST_F(ProgramArguments, AFullListStopsWithStatusTwo) {
  programs(52, 8191);
  Listed l = list(401, 10);
  EXPECT_EQ(l.status, 2);
  ASSERT_EQ(l.entries.size(), 10u);
  EXPECT_EQ(l.entries.back().text, "PROG10");
  EXPECT_EQ(list(402, 0).status, 2);
  // A list that takes exactly the programs is done, not full.
  programs(3, 8191);
  l = list(405, 3);
  EXPECT_EQ(l.status, 0);
  EXPECT_EQ(l.entries.size(), 3u);
}

TEST_F(ProgramArguments, TheCountAndTheFlagFieldsChooseThePrograms) {
  struct Case {
    int32_t count;
    std::array<int32_t, 4> flags;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {30, {8191, 8191, 8191, 8191}, {}},  // 29 names, checked by size below
      {2, {8191, 0, 0, 0}, {"PROG01", "PROG02"}},
      {52, {512, 0, 0, 0}, {"PROG10"}},                       // bit 9: code 10
      {52, {-4096, 0, 0, 0}, {"PROG13"}},                     // field 13: the magnitude >> 12
      {52, {0, 1 << 7, 0, 0}, {"KAVRO+"}},                    // code 21: word 2, bit 7
      {52, {0, 0, 0, 1 << 12}, {"PROG52"}},                   // code 52: word 4, field 13
      {52, {0, 0, 1 << 2, 0}, {}},                            // code 29 is never offered
      {1000, {0, 0, 0, 4096}, {"PROG52"}},                    // no code beyond 52 is read
      {-5, {8191, 8191, 8191, 8191}, {}},
  };
  for (const Case& c : cases) {
    NAPBLK.NAPRG() = c.count;
    for (int32_t k = 1; k <= 4; ++k) NAPBLK.APRFLG(k) = c.flags[static_cast<size_t>(k - 1)];
    std::vector<std::string> listed;
    for (const Entry& e : list(401).entries) listed.push_back(e.text);
    if (c.count == 30) {
      EXPECT_EQ(listed.size(), 29u);
      EXPECT_EQ(listed.back(), "PROG30");
    } else {
      EXPECT_EQ(listed, c.listed) << c.count << " " << c.flags[0];
    }
  }
}

TEST_F(ProgramArguments, ATokenNamesOneProgramExactlyOrByAbbreviation) {
  programs(52, 8191);
  struct Case {
    int32_t kind;
    std::string token;
    int32_t status;
    int32_t listValue;
  };
  const Case cases[] = {
      {401, "SELVO", 0, 27},       {401, "selvo", 0, 27},       {401, "KAV", 3, 21},
      {401, "KAVRO+", 0, 21},      {401, "S", 1, 27},           {401, "PROG01", 0, 1},
      {401, "PROG39", 0, 39},      {402, "SEL", 3, 27},         {405, "FILTER-SEL", 10, 27},
      {405, "FILTER-PROG52", 0, 52}, {404, "KAV", 3, 21},
  };
  for (const Case& c : cases) {
    const ArgumentCheck r = check(c.kind, c.token);
    EXPECT_EQ(r.status, c.status) << c.kind << " " << c.token;
    EXPECT_EQ(r.valueCode, 1) << c.token;
    EXPECT_EQ(r.listValue, c.listValue) << c.token;
    EXPECT_EQ(r.oper, 1) << c.token;
    EXPECT_EQ(r.real, 0.0f) << c.token;
  }

  // Refused: two names abbreviated, a name the kind does not offer, a longer token.
  const Case refused[] = {
      {401, "PROG0", -1, 0},  {401, "PROG", -1, 0},   {401, "PROG29", -1, 0},
      {401, "PROG37", -1, 0}, {401, "SELVOX", -1, 0}, {401, "FILTER-SELVO", -1, 0},
      {402, "PROG01", -1, 0}, {402, "KAVRO+", -1, 0}, {405, "SELVO", -1, 0},
      {405, "FILTER-", -1, 0}, {406, "SELVO", -1, 0},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(check(c.kind, c.token).status, -1) << c.kind << " " << c.token;
  }

  // One abbreviation is taken when only one program it abbreviates is switched on.
  programs(52, 0);
  NAPBLK.APRFLG(1) = 512;  // code 10
  const ArgumentCheck r = check(401, "PROG1");
  EXPECT_EQ(r.status, 5);
  EXPECT_EQ(r.listValue, 10);
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(ProgramArguments, AProgramWithoutOptionsEndsTheCommand) {
  programs(52, 8191);
  ArgumentCheck r = check(404, "SELVO");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.listValue, 27);
  EXPECT_EQ(r.nextMenu, 0);
  EXPECT_EQ(r.sign, 0);

  r = check(404, "KAV");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.nextMenu, 0);

  // Refused or of another kind: the links stay as they came.
  const std::pair<int32_t, std::string> others[] = {{404, "PROG0"}, {401, "SELVO"}};
  for (const auto& [kind, token] : others) {
    r = check(kind, token);
    EXPECT_EQ(r.nextMenu, 64) << kind << " " << token;
    EXPECT_EQ(r.sign, -1) << kind << " " << token;
  }
  // Asking for options shows no translator message.
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(journal1(), Lines{});
}

TEST_F(ProgramArguments, KindFourHundredThreeOffersAndTakesNoOption) {
  programs(52, 8191);
  struct Case {
    int32_t answers;      // answers in use
    int32_t item1, list1; // answer 1
    int32_t item3, list3; // answer 3
    int32_t model;        // the model's analysis program
  };
  const Case cases[] = {
      {3, -404, 1, -404, 27, 38}, {3, -404, 21, -401, 4, 38}, {1, -404, 4, 0, 0, 27},
      {0, 0, 0, 0, 0, 38},        {0, 0, 0, 0, 0, 27},        {0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, -5},        {0, 0, 0, 0, 0, 99},
  };
  for (const Case& c : cases) {
    int32_t status = -1;
    P4ITEM(1, c.item1, status);
    P4ULST(1, c.list1, status);
    P4ITEM(3, c.item3, status);
    P4ULST(3, c.list3, status);
    ASSERT_EQ(status, 0);
    MNUCTL.answerCount = c.answers;
    MODCNT.word(kCntAnalysisProgram) = c.model;

    const Listed l = list(403);
    EXPECT_EQ(l.status, 0);
    EXPECT_TRUE(l.entries.empty());
    for (const char* token : {"SELVO", "A", "OPTION"}) {
      const ArgumentCheck r = check(403, token);
      EXPECT_EQ(r.status, -1) << token;
      EXPECT_EQ(r.listValue, 0) << token;
      EXPECT_EQ(r.oper, 1) << token;
      EXPECT_EQ(r.real, 0.0f) << token;
      EXPECT_EQ(r.nextMenu, 64) << token;
      EXPECT_EQ(r.sign, -1) << token;
    }
  }
  // Only the fields of kind 403 are read: no message, no store failure.
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(journal2(), Lines{});

  // K403LS answers for kind 403 only.
  ValueList values(100, 80);
  int32_t status = -9;
  K403LS(401, values, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(values.count, 0);
}

}  // namespace
}  // namespace kvr
