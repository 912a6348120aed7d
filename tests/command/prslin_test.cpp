// The parse loop: menu matching with abbreviations, operators, token classes and typed
// arguments; how a line ends; the echo, the log and the host callbacks; the reports of a
// rejected line.
#include "command/prslin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "parsefixture.h"
#include "runtime/iomode.h"
#include "runtime/nxttkn.h"
#include "runtime/pltdev.h"
#include "runtime/prmlst.h"

namespace kvr {
namespace {

using test::HostCall;
using test::Lines;

class ParseLoop : public test::ParseFixture {};

TEST_F(ParseLoop, MenuRecordsAreFoundById) {
  struct Case {
    int32_t id;
    int32_t record;
  };
  const Case cases[] = {{4080, 1603}, {-4080, 1603}, {9999, 1263}, {0, 1263}};
  for (const Case& c : cases) {
    int32_t record = -1;
    MNUFND(c.id, record);
    EXPECT_EQ(record, c.record) << c.id;
  }
}

TEST_F(ParseLoop, MnuchkFindsOnlyAKeywordOrItsOnlyAbbreviation) {
  struct Case {
    const char* word;
    int32_t found;
  };
  const Case cases[] = {{"LI", 1}, {"li", 1}, {"LIST", 1}, {"O", 0}, {"OFF", 1}, {"LISTS", 0}, {"X", 0}};
  for (const Case& c : cases) {
    const std::vector<int32_t> line = codes(std::string("  ") + c.word + " ");
    int32_t found = -1;
    MNUCHK(4080, line, 3, 2 + static_cast<int32_t>(std::string(c.word).size()), found);
    EXPECT_EQ(found, c.found) << c.word;
  }
  // The search stops at the first token class: menu 96 has nothing before it.
  const std::vector<int32_t> line = codes("X");
  int32_t found = -1;
  MNUCHK(96, line, 1, 1, found);
  EXPECT_EQ(found, 0);
}

TEST_F(ParseLoop, KeywordsAbbreviatedOrAmbiguous) {
  struct Case {
    int32_t menu;
    const char* line;
    int32_t state;
    int32_t item;     // ITEM of answer 1 when the line was taken
    int32_t answers;  // answer records in use: an ambiguous token gives its record back
    const char* message;
  };
  const Case cases[] = {
      {57, "O", kStateRejected, 0, 0, " E3210: Ambiguous command"},
      {57, "OF", kStateComplete, 97, 1, nullptr},
      {57, "ON", kStateComplete, 93, 1, nullptr},
      {57, "off", kStateComplete, 97, 1, nullptr},
      {57, "ONX", kStateRejected, 0, 1, " E3200: Incorrect command"},
      {100, "A", kStateRejected, 0, 0, " E3210: Ambiguous command"},
  };
  for (const Case& c : cases) {
    const size_t before = messages().size();
    parse(c.menu, c.line);
    EXPECT_EQ(MNUCTL.inputState, c.state) << c.line;
    EXPECT_EQ(CMDLIN.pending, 0) << c.line;
    EXPECT_EQ(MNUCTL.answerCount, c.answers) << c.line;
    const Lines now = messages();
    if (c.message == nullptr) {
      EXPECT_EQ(now.size(), before) << c.line;
      EXPECT_EQ(ITEM(1), c.item) << c.line;
    } else {
      ASSERT_EQ(now.size(), before + 1) << c.line;
      EXPECT_EQ(now.back(), c.message) << c.line;
    }
  }
}

TEST_F(ParseLoop, AnOperatorSignLeadsAKeyword) {
  EXPECT_EQ(parse(100, "+FIL"), 1411);
  EXPECT_EQ(MNUCTL.inputState, kStateNeedsMore);
  EXPECT_EQ(ITEM(1), 51);
  EXPECT_EQ(MMOPER(1), 1);
  EXPECT_EQ(CMDLIN.currentMenu, record(222));
  EXPECT_EQ(echo(), "+FILE ");

  parse(57, "-OFF");
  EXPECT_EQ(MMOPER(1), 2);
  EXPECT_EQ(echo(), "-OFF");
}

TEST_F(ParseLoop, AnIntegerItemTakesIntegersAndTheLastOne) {
  parse(51, "1.5");
  EXPECT_EQ(MNUCTL.inputState, kStateRejected);
  EXPECT_EQ(messages().back(), " E3200: Incorrect command");

  parse(51, ",");
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(ITEM(1), 1);
  EXPECT_EQ(INTS(1), 0);
  parse(51, "7");
  EXPECT_EQ(INTS(1), 7);
  EXPECT_EQ(echo(), "7");
  parse(51, ",");
  EXPECT_EQ(INTS(1), 7);
  EXPECT_EQ(gLastValues.integer, 7);
}

TEST_F(ParseLoop, RealAndNdcItemsRememberTheirOwnLastValues) {
  parse(52, "2");
  EXPECT_FLOAT_EQ(REALS(1), 2.0f);
  parse(53, "0.25 0.75");
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(MNUCTL.realCount, 2);
  EXPECT_FLOAT_EQ(REALS(1), 0.25f);
  EXPECT_FLOAT_EQ(REALS(2), 0.75f);
  parse(53, ", ,");
  EXPECT_FLOAT_EQ(REALS(1), 0.25f);
  EXPECT_FLOAT_EQ(REALS(2), 0.75f);
  parse(52, ",");
  EXPECT_FLOAT_EQ(REALS(1), 2.0f);
}

TEST_F(ParseLoop, AWholeCommandWithTextsIntegerAndEcho) {
  EXPECT_EQ(parse(100, "ut se sy ad st 2 utility  setup"), 0);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(MNUCTL.answerCount, 7);
  const int32_t keywords[] = {225, 61, 78, 121};
  for (int32_t i = 1; i <= 4; ++i) EXPECT_EQ(ITEM(i), keywords[i - 1]) << i;
  EXPECT_EQ(answerText(5), "ST");  // free text, upper-cased
  EXPECT_EQ(ITEM(6), 1);
  EXPECT_EQ(INTS(1), 2);
  EXPECT_EQ(answerText(7), "utility  setup");  // a text item keeps its case and blanks
  const std::string command = "UTILITY SETUP SYNONYMS ADD ST 2 utility  setup";
  EXPECT_EQ(echo(), command);
  EXPECT_EQ(log(), " " + command);
  EXPECT_EQ(callsOf(HostCommand::HCCMD1), (std::vector<HostCall>{{HostCommand::HCCMD1, command, 0, ""}}));

  SYNSTA.echo = 0;
  test::gHostCalls.clear();
  parse(100, "ut se sy ad st 2 x");
  EXPECT_TRUE(test::gHostCalls.empty());
}

TEST_F(ParseLoop, AFileItemTakesOneWordAndTheParseGoesOn) {
  // OFF, or a file name up to the next blank; then the command is complete and a further
  // word is rejected.
  parse(58, "my.file");
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(answerText(1), "my.file");
  parse(58, "my.file extra");
  EXPECT_EQ(MNUCTL.inputState, kStateRejected);
  EXPECT_EQ(messages().back(), " E3200: Incorrect command");
}

TEST_F(ParseLoop, ASemicolonLeavesTheRestPending) {
  parse(50, "A; B");
  EXPECT_EQ(MNUCTL.inputState, kStateMorePending);
  EXPECT_EQ(CMDLIN.pending, 4);
  EXPECT_EQ(echo(), "A;");
  EXPECT_EQ(answerText(1), "A");

  // The rest is parsed from the pending position, whatever text is given.
  parse(50, "ignored", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(CMDLIN.parseStart, 4);
  EXPECT_EQ(CMDLIN.pending, 0);
  EXPECT_EQ(answerText(1), "B");
  EXPECT_EQ(log(), " B");
}

TEST_F(ParseLoop, HowALineEnds) {
  struct Case {
    int32_t menu;
    const char* line;
    int32_t state;
    const char* echo;
  };
  const Case cases[] = {
      {100, "=", kStateRejected, ""},
      {100, ":", kStateRejected, ""},
      {100, "", kStateRejected, ""},     // a required answer
      {-50, "", kStateComplete, ""},     // an optional one is empty
      {-50, ";", kStateMorePending, ";"},
      {100, "UT SE =", kStateEquals, "UTILITY SETUP "},
      {100, "UT SE :", kStateColon, "UTILITY SETUP :"},
      {100, "UT SE", kStateNeedsMore, "UTILITY SETUP "},
      {57, "OFF =", kStateComplete, "OFF"},      // "=" after a complete command ends it
      {57, "OFF !", kStateComplete, "OFF"},
  };
  for (const Case& c : cases) {
    parse(c.menu, c.line);
    EXPECT_EQ(MNUCTL.inputState, c.state) << c.line;
    EXPECT_EQ(echo(), c.echo) << c.line;
  }
}

TEST_F(ParseLoop, AKeyboardLinePreparesThePromptOfTheNextMenu) {
  parse(100, "UT");
  EXPECT_EQ(MNUCTL.inputState, kStateNeedsMore);
  ASSERT_GE(PRMLST.count, 1);
  EXPECT_EQ(shown(1), "SETUP");
}

TEST_F(ParseLoop, ARejectedPendingLineIsMarkedAndShownToTheHost) {
  parse(100, "UTILITY SETUP XY", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateRejected);
  EXPECT_EQ(CMDLIN.pending, 0);
  EXPECT_EQ(messages().back(), " E3200: Incorrect command: UTILITY SETUP < XY >");
  const std::vector<HostCall> rejected = callsOf(HostCommand::HCCMD3);
  ASSERT_EQ(rejected.size(), 1u);
  EXPECT_EQ(rejected[0].first, "UTILITY SETUP XY");
  EXPECT_EQ(rejected[0].position, 15);

  // The mark counts from where the parse started.
  parse(50, "A;  UT XY");
  parse(100, "", kParsePending);
  EXPECT_EQ(messages().back(), " E3200: Incorrect command: UT < XY >");
}

TEST_F(ParseLoop, AnAmbiguousPendingLineGoesToTheHost) {
  parse(100, "A", kParsePending);
  EXPECT_EQ(messages().back(), " E3210: Ambiguous command");
  ASSERT_EQ(callsOf(HostCommand::HCCMD3).size(), 1u);
  EXPECT_EQ(callsOf(HostCommand::HCCMD3)[0].position, 1);
}

TEST_F(ParseLoop, TextTokensAtTheEdgesOfTheLineReadNothingOutsideIt) {
  // A token at position 1, and one ending at position 255: the quote test around a text
  // token looks only inside the line.
  parse(50, "X");
  EXPECT_EQ(answerText(1), "X");
  std::string full(254, ' ');
  full += 'Y';
  parse(50, full);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(answerText(1), "Y");
  std::string quoted = "\"" + std::string(253, 'Q') + "\"";
  parse(50, quoted);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(MNUCTL.answerCount, 1);
}

TEST_F(ParseLoop, TheAnswerTextStoreCutsTheLastText) {
  // ADD and a free text of 200 codes, continued by ":" in a second line with an integer and
  // a text of 100: the text is cut at position 255 of the store.
  const std::string word(200, 'W');
  const std::string text(100, 't');
  parse(4080, "ADD " + word + " :", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateColon);
  parse(4080, "1 " + text, kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(answerText(2), word);
  EXPECT_EQ(answerText(4), std::string(55, 't'));
  EXPECT_EQ(CMDLIN.textFill, 255);
}

TEST_F(ParseLoop, ANewCommandClearsTheAnswersOfTheLastOne) {
  parse(100, "ut se sy ad st 2 x");
  parse(57, "OFF");
  EXPECT_EQ(MNUCTL.answerCount, 1);
  EXPECT_EQ(MNUCTL.integerCount, 0);
  for (int32_t i = 2; i <= 7; ++i) EXPECT_EQ(ITEM(i), 0) << i;
  EXPECT_EQ(CMDLIN.textFill, 0);
}

TEST_F(ParseLoop, CommandFileContinuationKeepsTheCommand) {
  // A command-file line ending in ":" continues in the next line, in the same command.
  commandFile("cmds.txt", "");
  parse(100, "UT SE :", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateColon);
  EXPECT_EQ(CMDLIN.continuations, 1);
  parse(100, "SY LI", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(MNUCTL.answerCount, 4);
  EXPECT_EQ(ITEM(3), 78);
  EXPECT_EQ(log(), " UTILITY SETUP : SYNONYMS LIST ");
}

TEST_F(ParseLoop, AFileLineThatNeedsMoreReturnsToTheKeyboard) {
  commandFile("cmds.txt", "");
  parse(100, "UT SE", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateNeedsMore);
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);
}

TEST_F(ParseLoop, TypedArgumentsAreCheckedAndStored) {
  // The first two items of menu 100 are the names of slots 2 and 3.
  auto name = [](int32_t slot, const std::string& text) {
    auto& entry = IOMODE.nameSlot(slot);
    for (size_t k = 0; k < text.size(); ++k) entry.codes[k] = codeOf(text[k]);
    entry.count = static_cast<int32_t>(text.size());
  };
  name(2, "BEAM");
  name(3, "BEND");
  EXPECT_EQ(parse(100, "beam"), record(210));
  EXPECT_EQ(MNUCTL.inputState, kStateNeedsMore);
  EXPECT_EQ(ITEM(1), -201);
  EXPECT_EQ(MMUTYP(1), -1);
  EXPECT_EQ(MMULST(1), 3);
  EXPECT_EQ(MMOPER(1), 0);
  EXPECT_EQ(echo(), "BEAM ");

  parse(100, "BEN");
  EXPECT_EQ(ITEM(1), -202);
  EXPECT_EQ(MMULST(1), 4);

  parse(100, "BE");
  EXPECT_EQ(MNUCTL.inputState, kStateRejected);
  EXPECT_EQ(messages().back(), " E3210: Ambiguous command");
}

TEST_F(ParseLoop, APendingLineThatNeedsMoreGoesToTheHost) {
  parse(100, "UT SE", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateNeedsMore);
  EXPECT_EQ(callsOf(HostCommand::HCCMD2),
            (std::vector<HostCall>{{HostCommand::HCCMD2, "UTILITY SETUP", 0, ""}}));
}

TEST_F(ParseLoop, AFileLineEndingInEqualsIsLoggedAndContinued) {
  commandFile("cmds.txt", "");
  parse(100, "UT SE SY =", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateEquals);
  EXPECT_EQ(callsOf(HostCommand::HCCMD1),
            (std::vector<HostCall>{{HostCommand::HCCMD1, "UTILITY SETUP SYNONYMS  =", 0, ""}}));
  parse(100, "LI", kParsePending);
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(MNUCTL.answerCount, 4);
  EXPECT_EQ(ITEM(4), 122);
  EXPECT_EQ(log(), " UTILITY SETUP SYNONYMS  LIST ");
}

TEST_F(ParseLoop, APickKeywordNeedsAGraphicsDevice) {
  // A menu of its own holding the pick keyword 11.
  const int32_t pick = addKeyword(11, "POINT");
  const int32_t menu = addMenu(7001, {{pick, 0}});
  auto match = [&](int32_t mode, int32_t& kind) {
    CMDLIN.currentMenu = menu;
    MNUCTL.answerCount = 0;
    setCommandLine("POINT");
    int32_t last = 5;
    int32_t next = -1;
    int32_t result = -1;
    MNUMAT(mode, context_, kTokenText, 1, last, 0, 0.0f, kind, next, result);
    return result;
  };
  int32_t kind = -1;
  EXPECT_EQ(match(kParseKeyboard, kind), 1);  // the keyboard has no device to pick on
  EXPECT_EQ(MNUCTL.answerCount, 0);

  PLTDEV.recordCount = 1;
  EXPECT_EQ(match(kParseKeyboard, kind), 0);
  EXPECT_EQ(kind, kMatchPick);
  int32_t code = 0;
  FixedText text(30);
  PCKTXT(11, code, text);
  EXPECT_EQ(gPickLabel.code, code);
  EXPECT_EQ(gPickLabel.text().trimmed(), text.trimmed());
}

TEST_F(ParseLoop, FreeTextAsTypedOrUpperCased) {
  parse(50, "\"Beam 1\"");
  EXPECT_EQ(MNUCTL.inputState, kStateComplete);
  EXPECT_EQ(answerText(1), "\"BEAM 1\"");
  gParseSwitches.freeTextAsTyped = 1;
  parse(50, "\"Beam 1\"");
  EXPECT_EQ(answerText(1), "\"Beam 1\"");
  EXPECT_EQ(echo(), "\"Beam 1\"");
}

TEST_F(ParseLoop, TheStoreFailingDropsTheLine) {
  CoreFreeFile(-1);
  ARRDSC = {};
  parse(57, "OFF");
  EXPECT_EQ(MNUCTL.inputState, kStateRejected);
  const Lines m = messages();
  ASSERT_FALSE(m.empty());
  EXPECT_EQ(m.front().substr(0, 5), " M830");
}

}  // namespace
}  // namespace kvr
