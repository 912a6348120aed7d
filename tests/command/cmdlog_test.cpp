#include "command/cmdlog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cmdfixture.h"
#include "command/pckprm.h"
#include "messages/synsta.h"
#include "platform/memory.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

using test::Lines;

class EchoAndLog : public test::CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    enableJournals();
    gEchoLine = {};
    gCommandLog = {};
    gPickCounters = {};
    SYNSTA.echo = 1;
    MNUCTL.answerCount = 1;
    MNUCTL.integerCount = 1;
    MNUCTL.realCount = 1;
    // Answer record 1 cleared, as the parse loop clears the records of a new command.
    int32_t status = -1;
    P4ULS2(1, 0, status);
    ASSERT_EQ(status, 0);
  }
  void TearDown() override {
    gEchoLine = {};
    gCommandLog = {};
    gPickCounters = {};
    CommandFixture::TearDown();
  }

  // The echo line holding N codes "E".
  static void echoOf(int32_t n) {
    for (int32_t k = 0; k < n; ++k) gEchoLine.codes[static_cast<size_t>(k)] = codeOf('E');
    gEchoLine.length = n;
  }
  static std::string echo() { return chars(gEchoLine.codes, 1, gEchoLine.length); }
  static void answerSet(int32_t matchKind, int32_t first = 0, int32_t last = 0) {
    ANSSET(matchKind, first, last, gEchoLine.length, gEchoLine.codes);
  }
  static std::string log() { return chars(gCommandLog.codes, 1, gCommandLog.length); }

  static int32_t logtkn(int32_t mode, const std::string& text) {
    const std::vector<int32_t> line = codes(text);
    int32_t status = -1;
    LOGTKN(mode, 1, static_cast<int32_t>(line.size()), line, status);
    return status;
  }
  static void logOf(const std::vector<std::string>& tokens) {
    gCommandLog = {};
    for (const std::string& t : tokens) ASSERT_EQ(logtkn(kLogAppend, t), 0);
  }
  // The lines of a journal without the blank each record begins with.
  static Lines records(const Lines& journal) {
    Lines lines;
    for (const std::string& l : journal) lines.push_back(l.substr(1));
    return lines;
  }

  static void put(void (*field)(int32_t, int32_t, int32_t&), int32_t value) {
    int32_t status = -1;
    field(1, value, status);
    ASSERT_EQ(status, 0);
  }
};

TEST_F(EchoAndLog, AKeywordIsEchoedInFullWithItsSign) {
  CMDLIN.currentMenu = record(100);
  put(P4ITEM, 51);
  put(P4MNOF, 4);  // FILE, the fourth item of the root menu
  const std::pair<int32_t, const char*> cases[] = {{1, "+FILE"}, {2, "-FILE"}, {0, "FILE"}};
  for (const auto& [oper, shown] : cases) {
    gEchoLine = {};
    put(P4OPER, oper);
    answerSet(kMatchKeyword);
    EXPECT_EQ(echo(), shown);
  }
  EXPECT_EQ(gPickCounters.pickCount, 0);

  // The keywords that ask for picks set the pick count.
  for (const auto& [number, picks] : {std::pair{334, 4}, {335, 3}, {337, 4}, {338, 3}}) {
    CMDLIN.currentMenu = addMenu(1, {{addKeyword(number, "PICKS"), 0}});
    put(P4MNOF, 1);
    answerSet(kMatchKeyword);
    EXPECT_EQ(gPickCounters.pickCount, picks) << number;
  }
}

TEST_F(EchoAndLog, ANumberThatDoesNotFitFlushesTheLine) {
  put(P4INT, 12);
  echoOf(248);
  answerSet(kMatchInteger);
  EXPECT_EQ(echo(), "12");
  EXPECT_EQ(gEchoLine.codes[2], kBlankCode);
  EXPECT_EQ(gEchoLine.codes[254], kBlankCode);
  EXPECT_EQ(messages(), Lines{" " + std::string(248, 'E')});
  EXPECT_EQ(PLTPAR.objectKind, 4);
  EXPECT_EQ(PLTPAR.colour, 1);
  EXPECT_EQ(log(), " " + std::string(248, 'E'));

  // With room for nine codes the number is appended.
  echoOf(245);
  answerSet(kMatchInteger);
  EXPECT_EQ(gEchoLine.length, 247);
  EXPECT_EQ(echo().substr(245), "12");

  // Without the echo flag the line still goes to the log, but is not shown.
  SYNSTA.echo = 0;
  echoOf(246);
  answerSet(kMatchInteger);
  EXPECT_EQ(echo(), "12");
  EXPECT_EQ(gCommandLog.length, 249 + 247);
  EXPECT_EQ(messages().size(), 1u);
}

TEST_F(EchoAndLog, NumbersAndTypedTokensAsText) {
  put(P4INT, -2147483647 - 1);
  answerSet(kMatchInteger);
  int32_t status = -1;
  P4REAL(1, 2.5f, status);
  gEchoLine.codes[static_cast<size_t>(gEchoLine.length++)] = kBlankCode;
  answerSet(kMatchReal);
  EXPECT_EQ(echo(), "-2147483648 2.5");

  gEchoLine = {};
  setCommandLine("go abc now");
  answerSet(kMatchTyped, 4, 6);
  EXPECT_EQ(echo(), "ABC");
  EXPECT_EQ(chars(CMDLIN.lineCodes, 1, 10), "go ABC now");  // upper-cased in place
  gEchoLine = {};
  setCommandLine("go abc now");
  put(P4UTYP, 5);
  answerSet(kMatchTyped, 4, 6);
  EXPECT_EQ(echo(), "abc");
  EXPECT_EQ(chars(CMDLIN.lineCodes, 1, 10), "go abc now");

  // Other match kinds add nothing.
  for (int32_t kind : {0, 4, 5, 8, 9}) answerSet(kind, 1, 2);
  EXPECT_EQ(echo(), "abc");
  EXPECT_EQ(messages(), Lines{});
}

TEST_F(EchoAndLog, ATextIsCutAtTheEndOfTheLine) {
  put(P4ITEM, storeText("TENLETTERS", 12));
  echoOf(250);
  answerSet(kMatchText);
  EXPECT_EQ(gEchoLine.length, 255);
  EXPECT_EQ(echo().substr(250), "TENLE");
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(gCommandLog.length, 0);
}

TEST_F(EchoAndLog, ATypedTokenFlushesByItsLength) {
  setCommandLine("abc");
  echoOf(250);  // 250 + 2 + 2 stays below 255
  answerSet(kMatchTyped, 1, 3);
  EXPECT_EQ(gEchoLine.length, 253);
  echoOf(251);
  answerSet(kMatchTyped, 1, 3);
  EXPECT_EQ(echo(), "ABC");
  EXPECT_EQ(messages(), Lines{" " + std::string(251, 'E')});

  // A token that fills the whole line on its own: no blank line is flushed before it.
  setCommandLine(std::string(255, 'T'));
  gEchoLine = {};
  answerSet(kMatchTyped, 1, 255);
  EXPECT_EQ(echo(), std::string(255, 'T'));
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_EQ(gCommandLog.length, 252);
}

TEST_F(EchoAndLog, ALongLogIsWrittenInLinesEndingInEquals) {
  logOf(std::vector<std::string>(60, "ABCD"));
  ASSERT_EQ(gCommandLog.length, 300);
  int32_t status = -1;
  LOGTKN(kLogWriteBoth, 0, 0, {}, status);
  EXPECT_EQ(status, 0);
  std::string full;
  for (int k = 0; k < 14; ++k) full += "ABCD ";
  const Lines expected = {full + "ABCD=", full + "ABCD=", full + "ABCD=", full + "ABCD"};
  EXPECT_EQ(records(journal1()), expected);
  EXPECT_EQ(records(journal2()), expected);
  EXPECT_EQ(expected[0].size(), 75u);
  EXPECT_EQ(expected[3].size(), 74u);
}

TEST_F(EchoAndLog, EachWriteModeHasItsChannels) {
  logOf({"A", "B"});
  int32_t status = -1;
  LOGTKN(kLogWriteLogFile, 0, 0, {}, status);
  EXPECT_EQ(journal2(), Lines{"  A B"});
  EXPECT_EQ(journal1(), Lines{});
  LOGTKN(kLogWriteJournal, 0, 0, {}, status);
  EXPECT_EQ(journal1(), Lines{"  A B"});
  EXPECT_EQ(journal2().size(), 1u);

  // A log of 255 codes is one line as it stands.
  logOf({std::string(254, 'Z')});
  LOGTKN(kLogWriteJournal, 0, 0, {}, status);
  EXPECT_EQ(journal1().back(), "  " + std::string(254, 'Z'));
}

TEST_F(EchoAndLog, TokensTooLongForAnyLineTakeALineOfTheirOwn) {
  // " A", a token of SIZE codes, " B", and as many tokens " F" as make the log longer than
  // one line: the lines up to the one that begins with B.
  struct Case {
    size_t size;
    Lines lines;
  };
  const Case cases[] = {
      {255, {"A=", std::string(254, 'T') + "="}},
      {100, {"A=", std::string(100, 'T') + "="}},
      {78, {"A=", std::string(78, 'T') + "="}},
      {76, {"A=", std::string(76, 'T') + "="}},  // the blank before it counts too
      {75, {"A " + std::string(75, 'T') + "="}},
  };
  for (const Case& c : cases) {
    io::unitClose(kJournal1Unit);
    openUnit(kJournal1Unit, "journal1.txt");
    std::vector<std::string> tokens{"A", std::string(c.size, 'T'), "B"};
    tokens.insert(tokens.end(), 100, "F");
    logOf(tokens);
    ASSERT_GT(gCommandLog.length, 255);
    int32_t status = -1;
    LOGTKN(kLogWriteJournal, 0, 0, {}, status);
    const Lines written = records(journal1());
    ASSERT_GT(written.size(), c.lines.size()) << c.size;
    EXPECT_EQ(Lines(written.begin(), written.begin() + static_cast<long>(c.lines.size())), c.lines)
        << c.size;
    EXPECT_EQ(written[c.lines.size()].substr(0, 4), "B F ") << c.size;
  }
  // The last token is written even when it alone is too long.
  io::unitClose(kJournal1Unit);
  openUnit(kJournal1Unit, "journal1.txt");
  logOf({"A", "B", std::string(255, 'T')});
  int32_t status = -1;
  LOGTKN(kLogWriteJournal, 0, 0, {}, status);
  EXPECT_EQ(records(journal1()), (Lines{"A B=", std::string(255, 'T')}));
  // " A", a 255-code token and " B": "A=", the token's first 254 codes and "=", then "B".
  io::unitClose(kJournal1Unit);
  openUnit(kJournal1Unit, "journal1.txt");
  logOf({"A", std::string(255, 'T'), "B"});
  ASSERT_EQ(gCommandLog.length, 260);
  LOGTKN(kLogWriteJournal, 0, 0, {}, status);
  EXPECT_EQ(records(journal1()), (Lines{"A=", std::string(254, 'T') + "=", "B"}));
}

TEST_F(EchoAndLog, CutAndInsert) {
  logOf({"A", "B", "C"});
  int32_t status = -1;
  const std::vector<int32_t> none;
  LOGTKN(kLogCut, -2, 0, none, status);
  EXPECT_EQ(log(), " A B");
  LOGTKN(kLogCut, 3, 0, none, status);
  EXPECT_EQ(log(), " A B");  // fewer tokens: unchanged

  logOf({"A", "B", "C"});
  EXPECT_EQ(logtkn(-2, "  X  Y"), 0);
  EXPECT_EQ(log(), " A X B C");
  EXPECT_EQ(logtkn(-1, "Q"), 0);
  EXPECT_EQ(log(), " Q A X B C");
  EXPECT_EQ(logtkn(-6, "Z"), 1);  // no sixth token
  EXPECT_EQ(logtkn(-2, "   "), 1);  // no token to insert
  EXPECT_EQ(logtkn(-2147483647 - 1, "Z"), 1);
  EXPECT_EQ(log(), " Q A X B C");
}

TEST_F(EchoAndLog, TheLogHoldsTwoThousandCodes) {
  logOf({std::string(1994, 'L')});
  EXPECT_EQ(logtkn(kLogAppend, "12345"), 1);
  EXPECT_EQ(gCommandLog.length, 1995);
  EXPECT_EQ(logtkn(-1, "12345"), 1);  // 1995 + 4 + 2 passes 2000
  EXPECT_EQ(logtkn(-1, "1234"), 0);
  EXPECT_EQ(gCommandLog.length, 2000);
  EXPECT_EQ(logtkn(kLogAppend, ""), 1);
  EXPECT_EQ(gCommandLog.length, 2000);
  EXPECT_EQ(logtkn(kLogSpill, "S"), 0);
  EXPECT_EQ(logtkn(kLogReset, ""), 0);
  EXPECT_EQ(gCommandLog.length, 0);
  EXPECT_EQ(gCommandLog.spillWords, 0);
}

TEST_F(EchoAndLog, SpilledLinesFollowTheLog) {
  logOf({"LOG"});
  EXPECT_EQ(logtkn(kLogSpill, "P"), 0);
  EXPECT_EQ(logtkn(kLogSpill, "Q R"), 0);
  EXPECT_EQ(gCommandLog.spillWords, 6);
  int32_t status = -1;
  LOGTKN(kLogWriteBoth, 0, 0, {}, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(records(journal1()), (Lines{" LOG", "P", "Q R"}));
  EXPECT_EQ(records(journal2()), (Lines{" LOG", "P", "Q R"}));

  // An empty log writes nothing, its spill area included.
  gCommandLog.length = 0;
  LOGTKN(kLogWriteBoth, 0, 0, {}, status);
  EXPECT_EQ(journal1().size(), 3u);
}

TEST_F(EchoAndLog, ALongSpillEntryIsReadBackNoFurtherThanTheLine) {
  logOf({"LOG"});
  EXPECT_EQ(logtkn(kLogSpill, std::string(300, 'S')), 0);
  EXPECT_EQ(logtkn(kLogSpill, "NEXT"), 0);
  int32_t status = -1;
  LOGTKN(kLogWriteJournal, 0, 0, {}, status);
  EXPECT_EQ(records(journal1()), (Lines{" LOG", std::string(255, 'S'), "NEXT"}));
}

TEST_F(EchoAndLog, ASpillWithoutMemoryFails) {
  int32_t status = -1;
  {
    mem::ScopedHook hook;
    hook.failAll();
    status = logtkn(kLogSpill, "P");
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(gCommandLog.spillWords, 0);
  EXPECT_EQ(messages(), (Lines{" M830: Error with command processor memory",
                               " Error < 4 >  Function < LOGTKN >  Menu offset < 1 >"}));
}

}  // namespace
}  // namespace kvr
