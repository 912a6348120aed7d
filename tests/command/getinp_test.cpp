// The answer-line reader: the pending rest of a line, the keyboard prompt with its
// suffix, list, echo and journals, comments and cancels, continued replies, and the answer
// taken from the echo line.
#include "command/getinp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "messages/synsta.h"
#include "parsefixture.h"

namespace kvr {
namespace {

using test::Lines;

struct Asked {
  int32_t result;
  std::string answer;  // the answer codes up to the maximum
};

class AnswerLine : public test::ParseFixture {
 protected:
  struct Options {
    int32_t echo = 0;
    int32_t journal2 = 0;
    int32_t journal1 = 0;
    int32_t listMode = 1;
    int32_t upcase = 1;
    int32_t maximum = 60;
  };

  Asked ask(int32_t menu, const std::string& prompt, Options o) {
    const std::vector<int32_t> line = codes(prompt);
    FixedText title(14, "Input required");
    std::vector<int32_t> answer(static_cast<size_t>(o.maximum) + 4, 0);
    int32_t result = 99;
    GETINP(o.echo, o.journal2, o.journal1, o.listMode, menu, title, line,
           static_cast<int32_t>(line.size()), o.upcase, answer, o.maximum, result);
    EXPECT_EQ(answer[static_cast<size_t>(o.maximum)], 0) << "written past the maximum";
    return {result, chars(answer, 1, o.maximum)};
  }
  Asked ask(int32_t menu, const std::string& prompt = "Name =>") { return ask(menu, prompt, Options{}); }

  // What the console output unit (the message unit) shows, prompts included.
  std::string shown() {
    io::unitFlush(kMessageUnit);
    return test::readFile(dir.file("messages.txt"));
  }

  static int64_t occurrences(const std::string& text, const std::string& what) {
    int64_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  // The lines of a journal without the blank each record begins with.
  static Lines records(const Lines& journal) {
    Lines lines;
    for (const std::string& l : journal) lines.push_back(l.substr(1));
    return lines;
  }

  static std::string padded(const std::string& s, size_t n = 60) {
    std::string p = s;
    p.resize(n, ' ');
    return p;
  }
};

TEST_F(AnswerLine, ASemicolonLeavesTheRestForTheNextCall) {
  replies("A; B\n");
  const Asked first = ask(50);
  EXPECT_EQ(first.result, kInputGiven);
  EXPECT_EQ(first.answer, padded("A;"));
  EXPECT_EQ(CMDLIN.pending, 4);

  const Asked second = ask(50);
  EXPECT_EQ(second.result, kInputGiven);
  EXPECT_EQ(second.answer, padded("B"));
  EXPECT_EQ(CMDLIN.pending, 0);
  EXPECT_EQ(occurrences(shown(), "Name =>"), 1);  // the rest is parsed without a prompt
}

TEST_F(AnswerLine, ARejectedReplyIsReportedAndAskedAgain) {
  replies("=\nx\n");
  const Asked a = ask(50);
  EXPECT_EQ(a.result, kInputGiven);
  EXPECT_EQ(a.answer, padded("X"));
  EXPECT_EQ(shown(), "Name => E3200: Incorrect command\nName =>");
}

TEST_F(AnswerLine, PromptEchoJournalsCommentAndCancel) {
  enableJournals();
  replies("# note\n/\n");
  Options o;
  o.echo = 1;
  o.journal2 = 2;
  o.journal1 = 4;
  const Asked a = ask(50, "Name =>", o);
  EXPECT_EQ(a.result, kInputCancelled);
  EXPECT_EQ(a.answer, padded(""));
  EXPECT_EQ(shown(), " Name =>\nName => Name =>\nName =>");
  EXPECT_EQ(records(journal2()), (Lines{"Name =>", " /"}));
  EXPECT_EQ(records(journal1()), (Lines{" ! Name =>", " /"}));
}

TEST_F(AnswerLine, TheAnswerIsJournalledByTheModes) {
  enableJournals();
  replies("dump1\n");
  Options o;
  o.journal2 = 3;
  o.journal1 = 4;
  EXPECT_EQ(ask(55, "Name =>", o).result, kInputGiven);
  EXPECT_EQ(records(journal2()), (Lines{" ! Name =>", "DUMP1"}));
  EXPECT_EQ(records(journal1()), (Lines{" ! Name =>", " ! DUMP1"}));
}

TEST_F(AnswerLine, AnOptionalAnswerSaysSoWhereItFits) {
  replies("\n");
  const Asked a = ask(-50, "  Name =>  ");
  EXPECT_EQ(a.result, kInputEmpty);
  EXPECT_EQ(shown(), "Name => (optional)");

  const std::string longPrompt(250, 'P');
  replies("\n");
  ask(-50, longPrompt);
  EXPECT_EQ(shown(), "Name => (optional)" + longPrompt);
}

TEST_F(AnswerLine, RepliesAndTheirAnswers) {
  struct Case {
    std::string typed;
    int32_t upcase;
    int32_t result;
    const char* answer;
  };
  const Case cases[] = {
      {std::string("ab\0cd\n", 6), 1, kInputGiven, "AB"},  // cut at a NUL
      {std::string("ab\0cd\n", 6), 0, kInputGiven, "ab"},  // free text kept as typed
      {"  dump1  \n", 0, kInputGiven, "dump1"},
      {" / \n", 1, kInputCancelled, ""},
      {"/X\n", 1, kInputGiven, "/X"},    // a "/" that begins a word is no cancel
      {"", 1, kInputCancelled, ""},       // end of input
      {"\n", 1, kInputCancelled, ""},     // an empty reply asks again, then the input ends
  };
  for (const Case& c : cases) {
    replies(c.typed);
    Options o;
    o.upcase = c.upcase;
    const Asked a = ask(50, "Name =>", o);
    EXPECT_EQ(a.result, c.result) << c.typed;
    EXPECT_EQ(a.answer, padded(c.answer)) << c.typed;
  }
}

// The dump-file prompt (menu 50, the reply kept as typed) takes a path whole, from the
// keyboard and from a command file; a "/" standing alone cancels.
TEST_F(AnswerLine, APathIsTakenWholeAtTheDumpFilePrompt) {
  struct Case {
    std::string typed;
    int32_t result;
    const char* answer;
  };
  const Case cases[] = {
      {"/home/user/runs/model.dmp\n", kInputGiven, "/home/user/runs/model.dmp"},
      {"runs/model.dmp\n", kInputGiven, "runs/model.dmp"},
      {"  ../Runs/m.dmp  \n", kInputGiven, "../Runs/m.dmp"},
      {",x/y\n", kInputGiven, ",x/y"},
      {"/\n", kInputCancelled, ""},
      {"/ runs/model.dmp\n", kInputCancelled, ""},
  };
  Options o;
  o.upcase = 0;
  for (const Case& c : cases) {
    replies(c.typed);
    Asked a = ask(50, "Name =>", o);
    EXPECT_EQ(a.result, c.result) << "keyboard: " << c.typed;
    EXPECT_EQ(a.answer, padded(c.answer)) << "keyboard: " << c.typed;

    MNUCTL.inputState = kStateComplete;
    commandFile("dump.cmd", c.typed);
    a = ask(50, "Name =>", o);
    EXPECT_EQ(a.result, c.result) << "command file: " << c.typed;
    EXPECT_EQ(a.answer, padded(c.answer)) << "command file: " << c.typed;
    if (c.result == kInputGiven) {
      EXPECT_TRUE(callsOf(HostCommand::HCCMD3).empty()) << c.typed;
    }
    test::gHostCalls.clear();
    INPSRC({}, -1);
  }
}

// A file or text argument takes any token whole, "/" included, and a first "," or "$".
TEST_F(AnswerLine, FileAndTextArgumentsTakeTheirTokenWhole) {
  struct Case {
    int32_t menu;  // 140: a file; 55: a text
    std::string typed;
    const char* answer;
  };
  const Case cases[] = {
      {140, "runs/Model.dmp\n", "runs/Model.dmp"},
      {140, "/tmp/a.b\n", "/tmp/a.b"},
      {140, ",abc\n", ",abc"},
      {140, "$HOME/x\n", "$HOME/x"},
      {55, "a/b c/d\n", "a/b c/d"},
      {55, ", two\n", ", two"},
      {55, "$1 x\n", "$1 x"},
  };
  Options o;
  o.upcase = 0;
  for (const Case& c : cases) {
    replies(c.typed);
    const Asked a = ask(c.menu, "Name =>", o);
    EXPECT_EQ(a.result, kInputGiven) << c.typed;
    EXPECT_EQ(a.answer, padded(c.answer)) << c.typed;
  }
}

TEST_F(AnswerLine, ALongAnswerIsCutAtTheMaximum) {
  replies("a longer reply\n");
  Options o;
  o.maximum = 8;
  EXPECT_EQ(ask(55, "Name =>", o).answer, "A LONGER");
}

TEST_F(AnswerLine, AReplyEndingInAColonIsContinuedByTheNext) {
  replies("UT SE:\nSY LI\n");
  const Asked a = ask(100);
  EXPECT_EQ(a.result, kInputGiven);
  EXPECT_EQ(a.answer, padded("UTILITY SETUP SYNONYMS LIST"));
  EXPECT_EQ(MNUCTL.answerCount, 4);
  EXPECT_EQ(chars(CMDLIN.lineCodes, 1, 12), "UT SE  SY LI");
}

TEST_F(AnswerLine, AReplyThatNeedsMoreIsFollowedByTheNextOne) {
  replies("UT\nSE SY\nLIST\n");
  const Asked a = ask(100);
  EXPECT_EQ(a.result, kInputGiven);
  EXPECT_EQ(a.answer, padded("UTILITY SETUP SYNONYMS LIST"));
  // Each further prompt shows the list of the menu reached.
  EXPECT_EQ(occurrences(shown(), "Name =>"), 3);
}

TEST_F(AnswerLine, AnEqualsSignIsBlankedAndTheNextReplyFollowsIt) {
  struct Case {
    const char* first;
    const char* line;  // the answer line parsed last
  };
  const Case cases[] = {{"UT SE SY =", "UT SE SY  LI"}, {"UT SE SY=", "UT SE SY LI"}};
  for (const Case& c : cases) {
    replies(std::string(c.first) + "\nLI\n");
    const Asked a = ask(100);
    EXPECT_EQ(a.result, kInputGiven) << c.first;
    EXPECT_EQ(a.answer, padded("UTILITY SETUP SYNONYMS LIST")) << c.first;
    EXPECT_EQ(chars(CMDLIN.lineCodes, 1, 12), padded(c.line, 12)) << c.first;
  }
}

TEST_F(AnswerLine, ContinuedRepliesAreCutAtTheEndOfTheLine) {
  const std::string first = "U" + std::string(245, ' ') + "SE";
  replies(first + "\nSYNONYMS\n");
  EXPECT_EQ(ask(100).result, kInputCancelled);  // the line is full when the input ends
  EXPECT_EQ(chars(CMDLIN.lineCodes, 247, 255), "SE SYNONY");
  EXPECT_EQ(echo(), "UTILITY SETUP SYNONYMS ");
}

TEST_F(AnswerLine, ListModeZeroShowsTheMenuAboveThePrompt) {
  replies("OFF\n");
  Options o;
  o.listMode = 0;
  EXPECT_EQ(ask(57, "Switch =>", o).answer, padded("OFF"));
  EXPECT_EQ(shown(), " ON\n OFF\nSwitch =>");
}

TEST_F(AnswerLine, TheSynonymsFlagAndTheCaseSwitchArePutBack) {
  replies("x\n");
  SYNSTA.active = 1;
  ask(50);
  EXPECT_EQ(SYNSTA.active, 1);
  EXPECT_EQ(gParseSwitches.freeTextAsTyped, 0);
}

}  // namespace
}  // namespace kvr
