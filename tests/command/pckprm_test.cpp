#include "command/pckprm.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"

namespace kvr {
namespace {

using test::Lines;

// A call of HCDLG as a host would read it: the texts up to their NUL.
struct Dialogue {
  int32_t position;
  int32_t code;
  std::string command;
  std::string rest;
  std::string pick;
  bool operator==(const Dialogue&) const = default;
};
std::vector<Dialogue> gDialogues;

std::string upToNul(FText text) {
  const std::string_view v = text.view();
  return std::string(v.substr(0, v.find('\0')));
}

class Picks : public test::CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    gPickMemory = {};
    gPickCounters = {};
    gPickLabel = {};
    gDialogues.clear();
    setHostCommandObserver([](HostCommand callback, int32_t position, int32_t code, FText first,
                              FText second, FText third) {
      if (callback == HostCommand::HCDLG) {
        gDialogues.push_back({position, code, upToNul(first), upToNul(second), upToNul(third)});
      }
    });
  }
  void TearDown() override {
    gPickMemory = {};
    gPickCounters = {};
    gPickLabel = {};
    CommandFixture::TearDown();
  }

  static void answer(int32_t i, int32_t item, int32_t oper = 0) {
    int32_t status = -1;
    P4ITEM(i, item, status);
    P4OPER(i, oper, status);
    ASSERT_EQ(status, 0);
  }
  static int32_t ask() {
    int32_t found = -1;
    int32_t value = -1;
    PCKRST(kPickAsk, 0, 0, found, value);
    return found * 1000 + value;
  }
};

TEST_F(Picks, PicktxtGivesCodeAndText) {
  struct Case {
    int32_t keyword;
    int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {10, 20, "cursor hit"},   {16, 26, "cursor hit"},     {17, 1, "pick point"},
      {18, 2, "pick line"},     {19, 3, "pick surface"},    {20, 4, "pick body"},
      {21, 5, "pick geometry"}, {22, 8, "pick node"},       {23, 9, "pick element"},
      {24, 10, "pick node or element"}, {25, 11, "pick element"}, {26, 0, ""},
      {27, 12, "pick geometry"}, {28, 13, "pick node"},     {29, 14, "pick element"},
      {30, 20, "pick entity"},  {31, 15, "pick point"},     {32, 16, "pick line"},
      {9, 0, ""},               {33, 0, ""},                {244, 0, ""},
  };
  for (const Case& c : cases) {
    int32_t code = -1;
    FixedText text(30, "junk");
    PCKTXT(c.keyword, code, text);
    EXPECT_EQ(code, c.code) << c.keyword;
    EXPECT_EQ(text.trimmed(), c.text) << c.keyword;
  }
  PCKLBL(24);
  EXPECT_EQ(gPickLabel.code, 10);
  EXPECT_EQ(gPickLabel.text().trimmed(), "pick node or element");
}

TEST_F(Picks, TheBuiltTableOffersNoPick) {
  for (int32_t r = MNUCTL.menuStart; r < MNUCTL.menuEnd; r += 2 + 2 * MNUTAB.word(r + 1)) {
    for (int32_t type : {1, 2, 3, 4, 5, 6, -1, -2}) {
      int32_t found = -1;
      PCKPRM(r, type, found);
      EXPECT_EQ(found, 0) << MNUTAB.word(r) << " " << type;
      PCKPRM(-r, type, found);
      EXPECT_EQ(found, 0) << MNUTAB.word(r) << " " << type;
    }
  }
  EXPECT_TRUE(gDialogues.empty());
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(Picks, AMenuWithANodePickOffersIt) {
  const int32_t menu = addMenu(1, {{0, 0}, {addKeyword(22, "NODE"), 0}, {addKeyword(23, "ELEM"), 0}});
  setCommandLine("SHOW NUMBERS PICK ME NOW");
  CMDLIN.parseStart = 1;
  CMDLIN.pending = 14;
  MNUCTL.answerCount = 2;
  int32_t found = -1;
  PCKPRM(-menu, 5, found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(CMDLIN.currentMenu, menu);
  EXPECT_EQ(gDialogues,
            (std::vector<Dialogue>{{2, 8, "SHOW NUMBERS", "ME NOW", "pick node"}}));
  EXPECT_EQ(gPickMemory.pendingValue(2), 22);

  // Element picks are served by the second keyword; line picks by none.
  PCKPRM(menu, 6, found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(gDialogues.back().code, 9);
  PCKPRM(menu, 2, found);
  EXPECT_EQ(found, 0);
  // The terminator ends the search before a keyword behind it.
  const int32_t ended = addMenu(2, {{keywordEntry(26), 0}, {addKeyword(24, "ANY"), 0}});
  PCKPRM(ended, 1, found);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(gDialogues.size(), 2u);
}

TEST_F(Picks, TheNegativeTypesAskThePickMemory) {
  const int32_t menu = addMenu(1, {{addKeyword(22, "NODE"), 0}});
  setCommandLine("A B C");
  CMDLIN.parseStart = 1;
  CMDLIN.pending = 3;
  // The last command: answers 225 and 61, with the value 17 noted for position 2.
  answer(1, 225);
  answer(2, 61);
  MNUCTL.answerCount = 2;
  int32_t found = -1;
  int32_t value = -1;
  PCKRST(kPickPending, 2, 17, found, value);
  PCKRST(kPickRemember, 0, 0, found, value);
  MNUCTL.answerCount = 1;

  PCKPRM(menu, kPickAny, found);
  EXPECT_EQ(found, 1);
  // The remembered value 17 stands for the keyword, its code negated (answer 3).
  EXPECT_EQ(gDialogues, (std::vector<Dialogue>{{2, -1, "A", "", "pick point"}}));
  EXPECT_EQ(gPickMemory.pendingValue(2), 17);

  // Another first answer: the memory has nothing, the keyword itself is offered.
  answer(1, 61);
  PCKPRM(menu, kPickAny, found);
  EXPECT_EQ(gDialogues.back(), (Dialogue{2, 8, "A", "", "pick node"}));
  PCKPRM(menu, kPickGeometry, found);
  EXPECT_EQ(found, 0);
}

TEST_F(Picks, PckdlgOffersTheKeywordJustMatched) {
  setCommandLine("FIRST SECOND THIRD FOURTH");
  CMDLIN.parseStart = 7;
  CMDLIN.pending = 14;
  PCKDLG(17, 3);
  EXPECT_EQ(gDialogues, (std::vector<Dialogue>{{3, 1, "SECOND T", "FOURTH", "pick point"}}));
  EXPECT_EQ(gPickMemory.pendingValue(3), 17);
  // The word after the pending position reaches the end of the line: no rest.
  setCommandLine(std::string(250, 'X') + " ABCD");
  CMDLIN.parseStart = 250;
  CMDLIN.pending = 252;
  PCKDLG(30, 1);
  EXPECT_EQ(gDialogues.back(), (Dialogue{1, 20, "X A", "", "pick entity"}));
}

TEST_F(Picks, ThePickMemory) {
  answer(1, 225);
  answer(2, 61);
  int32_t found = -1;
  int32_t value = -1;
  PCKRST(kPickPending, 2, 17, found, value);
  EXPECT_EQ(found * 1000 + value, 0);
  MNUCTL.answerCount = 2;
  PCKRST(kPickRemember, 0, 0, found, value);
  EXPECT_EQ(gPickMemory.remembered, 2);
  EXPECT_EQ(gPickMemory.pendingValue(2), 0);

  MNUCTL.answerCount = 1;
  EXPECT_EQ(ask(), 3 * 1000 + 17);
  answer(1, 61);
  EXPECT_EQ(ask(), 0);
  answer(1, 225);
  MNUCTL.answerCount = 2;  // no position after the remembered ones
  EXPECT_EQ(ask(), 0);
  MNUCTL.answerCount = 0;  // position 1: value 0, no flag
  EXPECT_EQ(ask(), 2 * 1000);

  // A flagged position answers 1 with its value.
  PCKRST(5, 2, 0, found, value);
  PCKRST(kPickPending, 2, 30, found, value);
  MNUCTL.answerCount = 2;
  PCKRST(kPickRemember, 0, 0, found, value);
  MNUCTL.answerCount = 1;
  EXPECT_EQ(ask(), 1 * 1000 + 30);

  // Positions outside 1..10 are ignored; mode 1 forgets everything.
  PCKRST(kPickPending, 11, 5, found, value);
  PCKRST(kPickPending, 0, 5, found, value);
  PCKRST(7, -3, 0, found, value);
  PCKRST(kPickForget, 0, 0, found, value);
  EXPECT_EQ(gPickMemory.remembered, 0);
  EXPECT_EQ(ask(), 0);
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(Picks, RepeatedListAnswersAreCounted) {
  gPickCounters.pickCount = 3;
  MNUCTL.answerCount = 1;
  answer(1, -1, 1);
  gPickCounters.repeats = 18;
  int32_t link = -1400;
  int32_t verdict = -9;
  RPTCNT(link, verdict);
  EXPECT_EQ(verdict, 1);
  EXPECT_EQ(gPickCounters.repeats, 19);
  EXPECT_EQ(link, 1400);  // no pick made yet: the rest is needed

  link = -1400;
  RPTCNT(link, verdict);
  EXPECT_EQ(verdict, -1);
  EXPECT_EQ(link, -1400);
  EXPECT_EQ(messages(), Lines{" E1200: Too many component lines specified"});

  // Another operator counts a pick and resets the repeats.
  answer(1, -2, 0);
  for (int32_t picks = 1; picks <= 3; ++picks) {
    link = -1400;
    RPTCNT(link, verdict);
    EXPECT_EQ(verdict, 1);
    EXPECT_EQ(gPickCounters.picksMade, picks);
    EXPECT_EQ(gPickCounters.repeats, 0);
    EXPECT_EQ(link, picks < 3 ? 1400 : -1400);
  }

  // Nothing to count: no pick count, or an answer that is no list answer.
  answer(1, 51);
  RPTCNT(link, verdict);
  EXPECT_EQ(verdict, 0);
  gPickCounters.pickCount = 0;
  answer(1, -1, 1);
  RPTCNT(link, verdict);
  EXPECT_EQ(verdict, 0);
}

}  // namespace
}  // namespace kvr
