#include "command/prmtyp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"
#include "runtime/iomode.h"

namespace kvr {
namespace {

using test::Lines;

class Prompts : public test::CommandFixture {
 protected:
  struct Shown {
    int32_t code;
    std::string text;
    bool operator==(const Shown&) const = default;
  };
  friend std::ostream& operator<<(std::ostream& os, const Shown& s) {
    return os << "{" << s.code << ", \"" << s.text << "\"}";
  }
  // PRMLST as (code, trimmed text) pairs.
  static std::vector<Shown> displayed() {
    std::vector<Shown> all;
    for (int32_t k = 1; k <= PRMLST.count; ++k) all.push_back({PRMLST.code(k), shown(k)});
    return all;
  }
  static int32_t prompt(int32_t index) {
    int32_t stop = -1;
    PRMTYP(index, {}, stop);
    return stop;
  }

  // A graph file of COLUMNS columns C1, C2, ..., named by answer 4.
  void graphColumns(int32_t columns) {
    std::string bytes = "KAVRO GRAPH FORMAT #2\n";
    for (int32_t k = 1; k <= columns; ++k) bytes += "COL, C" + std::to_string(k) + "\n";
    test::writeFile(dir.file("g.grf"), bytes);
    int32_t status = -1;
    P4ITEM(4, storeText(dir.file("g.grf"), 1), status);
    ASSERT_EQ(status, 0);
  }
};

TEST_F(Prompts, MenusOfTheBuiltTable) {
  struct Case {
    int32_t id;
    std::vector<Shown> list;
  };
  const Case cases[] = {
      {6001, {{2, "ALL"}, {2, "NONE"}, {-5, "'integer'"}}},
      {4080, {{2, "ADD"}, {-2, "LIST"}, {2, "DELETE"}, {2, "SAVE"}, {2, "ON"}, {2, "OFF"}}},
      {58, {{2, "OFF"}, {5, "'file'"}}},
      {50, {{5, "'string'"}}},
      // The name kinds list their empty slots.
      {100,
       {{2, ""}, {2, ""}, {2, "AUXILIARY"}, {2, "FILE"}, {2, "ASSEMBLE"}, {2, "ANALYSE"},
        {2, "UTILITY"}, {2, "STOP"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(prompt(record(c.id)), 0) << c.id;
    EXPECT_EQ(displayed(), c.list) << c.id;
  }
  EXPECT_EQ(messages(), Lines{});
  prompt(kNoMenuRecord);
  EXPECT_EQ(PRMLST.count, 0);
}

TEST_F(Prompts, PlaceholderWordsOfTheTokenClasses) {
  const int32_t menu = addMenu(1, {{keywordEntry(1), 0}, {keywordEntry(2), 0}, {keywordEntry(3), 0},
                                   {keywordEntry(4), 0}, {keywordEntry(5), 0}, {keywordEntry(6), -5},
                                   {keywordEntry(7), 0}, {keywordEntry(8), 0}, {keywordEntry(9), 0},
                                   {0, -5}});
  prompt(menu);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{5, "'integer'"}, {5, "'real'"}, {5, "'ndc'"},
                                             {5, "'ndc'"}, {5, "'text'"}, {-5, "'file'"},
                                             {5, "'x-coord'"}, {5, "'y-coord'"}, {5, "'z-coord'"},
                                             {-5, "'string'"}}));
}

TEST_F(Prompts, TheTerminatorEndsTheListAtMenuLevelTwo) {
  const int32_t menu =
      addMenu(1, {{keywordEntry(51), 0}, {keywordEntry(52), 0}, {keywordEntry(26), 0},
                  {keywordEntry(97), 0}});
  prompt(menu);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, "FILE"}, {2, "CLOSE"}}));
  MNUCTL.menuLevel = kExpertMenuLevel;
  prompt(menu);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, "FILE"}, {2, "CLOSE"}, {1, ""}, {2, "OFF"}}));
}

TEST_F(Prompts, LongKeywordsAreCutAndPickKeywordsMarked) {
  const std::string longWord = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234";  // 30 characters
  const int32_t menu = addMenu(1, {{addKeyword(600, longWord), 0}, {addKeyword(22, "NODE-PICK"), -5},
                                   {addKeyword(244, "CURSOR"), 0}, {addKeyword(26 + 1000, "X"), 0}});
  prompt(menu);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, longWord.substr(0, 25)}, {-4, "NODE-PICK"},
                                             {4, "CURSOR"}, {2, "X"}}));
}

TEST_F(Prompts, AGraphFileOfManyColumnsIsTruncatedAtOneHundred) {
  graphColumns(120);
  const int32_t menu = addMenu(1, {{-203, 0}, {keywordEntry(51), 0}});
  EXPECT_EQ(prompt(menu), 0);
  ASSERT_EQ(PRMLST.count, 100);
  EXPECT_EQ(displayed()[0], (Shown{2, "C1"}));
  EXPECT_EQ(displayed()[98], (Shown{2, "C99"}));
  EXPECT_EQ(displayed()[99], (Shown{5, "'header'"}));
  EXPECT_EQ(messages(), Lines{" M804: Menu limited to < 100 > items.  Menu truncated"});
}

TEST_F(Prompts, AKeywordBeyondOneHundredEntriesIsReportedOnce) {
  graphColumns(99);
  const int32_t menu =
      addMenu(1, {{-203, -5}, {keywordEntry(51), 0}, {keywordEntry(52), 0}, {keywordEntry(97), 0}});
  prompt(menu);
  ASSERT_EQ(PRMLST.count, 100);
  EXPECT_EQ(displayed()[0], (Shown{-2, "C1"}));
  EXPECT_EQ(displayed()[99], (Shown{2, "FILE"}));
  EXPECT_EQ(messages(), Lines{" M804: Menu limited to < 100 > items.  Menu truncated"});
}

TEST_F(Prompts, AGraphFileWithoutColumnsStopsThePrompt) {
  prompt(record(6001));
  test::writeFile(dir.file("empty.grf"), "KAVRO GRAPH FORMAT #2\n1 2 3\n");
  int32_t status = -1;
  P4ITEM(4, storeText(dir.file("empty.grf"), 1), status);
  const int32_t menu = addMenu(1, {{keywordEntry(51), 0}, {-203, 0}});
  EXPECT_EQ(prompt(menu), 1);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, "ALL"}, {2, "NONE"}, {-5, "'integer'"}}));
  EXPECT_EQ(messages(), Lines{" E3140: No header lines found in file"});
  // A file that fails otherwise leaves the list to the other items.
  P4ITEM(4, storeText(dir.file("absent.grf"), 1), status);
  EXPECT_EQ(prompt(menu), 0);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, "FILE"}}));
}

TEST_F(Prompts, ValuesThatComeBackNegativeTurnTheCode) {
  // A name slot whose length word is negative gives a negative entry value.
  IOMODE.nameSlot(2).count = -3;
  const int32_t menu = addMenu(1, {{-201, 0}, {-201, -5}});
  prompt(menu);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{-2, ""}, {2, ""}}));
}

TEST_F(Prompts, DisplayShowsAtMostTheValueOrTwentyFiveCharacters) {
  ValueList list(100, 80);
  list.append(2, 3, "ABCDEF");
  list.append(-5, 0, "GHI");
  list.append(4, 40, std::string(40, 'Z'));
  PRMDSP(list);
  EXPECT_EQ(displayed(), (std::vector<Shown>{{2, "ABC"}, {-5, ""}, {4, std::string(25, 'Z')}}));
}

TEST_F(Prompts, CodappAppendsWithinTheTarget) {
  const std::vector<int32_t> source{1, 2, 3, 4};
  std::vector<int32_t> target(5, 0);
  int32_t position = 2;
  CODAPP(source, 4, target, position);
  EXPECT_EQ(target, (std::vector<int32_t>{0, 0, 1, 2, 3}));
  EXPECT_EQ(position, 5);
  CODAPP(source, 2, target, position);
  EXPECT_EQ(position, 5);
  position = 0;
  CODAPP(source, -1, target, position);
  EXPECT_EQ(position, 0);
}

}  // namespace
}  // namespace kvr
