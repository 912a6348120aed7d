#include "command/trndsp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "../runtime/msgfixture.h"
#include "command/aprgnm.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

using test::Lines;

class Translators : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    enableJournals();
    TRNLST = {};
  }

  // TRNDSP of CODE with an 8-character name text "KEEPNAME": status and the name after.
  struct Answer {
    int32_t status = -9;
    std::string name;
  };
  static Answer dispatch(int32_t code) {
    Answer a;
    FixedText name(8, "KEEPNAME");
    TRNDSP(code, 11, 1, name, a.status);
    a.name = name.trimmed();
    return a;
  }
};

TEST_F(Translators, EachEntryShowsItsProgramsMessageOnTheUnitAndBothJournals) {
  struct Case {
    int32_t code;
    std::string message;
  };
  const Case cases[] = {
      {27, "Error: SELVO Translator not loaded"},  {21, "Error: SELVO Translator not loaded"},
      {4, "Error: PROG04 Translator not loaded"},  {32, "Error: PROG04 Translator not loaded"},
      {40, "Error: PROG04 Translator not loaded"}, {1, "Error: PROG01 Translator not loaded"},
      {28, "Error: PROG28 Translator not loaded"}, {39, "Error: PROG39 Translator not loaded"},
      {52, "Error: PROG52 Translator not loaded"},
  };
  Lines unit;
  Lines journal;
  for (const Case& c : cases) {
    const Answer a = dispatch(c.code);
    EXPECT_EQ(a.status, 99) << c.code;
    EXPECT_EQ(a.name, "KEEPNAME") << c.code;
    unit.push_back(" " + c.message);
    journal.push_back("  ! " + c.message);
  }
  EXPECT_EQ(messages(), unit);
  EXPECT_EQ(journal2(), journal);
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal1().front().size(), 1u + 37u);
}

TEST_F(Translators, CodesWithoutAnEntryAnswerWithoutAMessage) {
  struct Case {
    int32_t code;
    int32_t status;
  };
  const Case cases[] = {{36, 0}, {37, 0}, {38, 0}, {0, 1}, {53, 1}, {-27, 1}, {INT32_MIN, 1}};
  for (const Case& c : cases) {
    const Answer a = dispatch(c.code);
    EXPECT_EQ(a.status, c.status) << c.code;
    EXPECT_EQ(a.name, "KEEPNAME") << c.code;
  }
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(journal1(), Lines{});
  EXPECT_EQ(journal2(), Lines{});
}

TEST_F(Translators, EveryCallShowsTheMessageAgain) {
  dispatch(27);
  dispatch(27);
  EXPECT_EQ(messages(), (Lines{" Error: SELVO Translator not loaded",
                               " Error: SELVO Translator not loaded"}));
}

TEST_F(Translators, TheDispatchTableHasFortySixEntriesEachNamingItsFirstProgram) {
  std::vector<int32_t> usedBy(kTranslatorEntries + 1, 0);
  for (int32_t code = -1; code <= 54; ++code) {
    const int32_t e = translatorEntry(code);
    const bool none = code < 1 || code > 52 || (code >= 36 && code <= 38);
    EXPECT_EQ(e == 0, none) << code;
    if (e == 0) continue;
    ASSERT_LE(e, kTranslatorEntries);
    ++usedBy[static_cast<size_t>(e)];
    // Every code reaches an entry whose message names it, or the program it shares with.
    const int32_t named = translatorMessageProgram(e);
    const int32_t expected = code == 32 || code == 40 ? 4 : code == 21 ? 27 : code;
    EXPECT_EQ(named, expected) << code;
  }
  for (int32_t e = 1; e <= kTranslatorEntries; ++e) {
    const int32_t shared = e == translatorEntry(4) ? 3 : e == translatorEntry(27) ? 2 : 1;
    EXPECT_EQ(usedBy[static_cast<size_t>(e)], shared) << e;
  }
  EXPECT_EQ(translatorMessageProgram(0), 0);
  EXPECT_EQ(translatorMessageProgram(47), 0);
}

TEST_F(Translators, OptionListsAreEmptyAndBlanked) {
  struct Case {
    int32_t code;
    int32_t j;
  };
  const Case cases[] = {{1, 1}, {27, 1}, {37, 1}, {53, 1}, {27, 0}, {4, 50}, {0, -1}};
  for (const Case& c : cases) {
    FixedText text(50, "OLD TEXT");
    FixedText option(10, "OLD");
    int32_t status = -9;
    TRNOPT(c.code, c.j, text, option, status);
    EXPECT_EQ(status, 1) << c.code << " " << c.j;
    EXPECT_EQ(text.view(), std::string(50, ' '));
    EXPECT_EQ(option.view(), std::string(10, ' '));
  }
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(Translators, TheMessageJournalHoldsTheMarkAndEightyCharacters) {
  // 90 characters: all reach the unit; the journals take " ! " and the first 80.
  std::string text;
  for (int32_t k = 0; k < 90; ++k) text.push_back(static_cast<char>('A' + k % 26));
  std::string withEnd = text + "*.";
  TRNMSG(FText(withEnd));
  EXPECT_EQ(messages(), Lines{" " + text});
  const std::string journal = "  ! " + text.substr(0, 80);
  EXPECT_EQ(journal2(), Lines{journal});
  EXPECT_EQ(journal1(), Lines{journal});
  EXPECT_EQ(journal.size(), 1u + 83u);
}

}  // namespace
}  // namespace kvr
