#include "runtime/msglin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "msgfixture.h"
#include "plot/pltdsp.h"
#include "runtime/codtxt.h"
#include "runtime/vocswp.h"

namespace kvr {
namespace {

using test::Lines;

std::vector<int32_t> codesOf(const std::string& s) {
  std::vector<int32_t> codes;
  for (char c : s) codes.push_back(codeOf(c));
  return codes;
}

std::string textOf(const std::vector<int32_t>& codes, int32_t n) {
  std::string s;
  for (int32_t k = 0; k < n; ++k) s.push_back(charOf(codes[static_cast<size_t>(k)]));
  return s;
}

using MessageLines = test::MessageFixture;

TEST_F(MessageLines, MsgwrtTakesTheTextByItsCount) {
  struct Case {
    std::string text;
    int32_t n;
    std::string record;
  };
  const std::string full(300, 'x');
  const Case cases[] = {
      {"ABC*.DEF", -1, " ABC"},
      {"*.ABC", -1, " "},
      {"  ", -1, " "},
      {"ABC", 0, " "},
      {"ABCDEF", 2, " AB"},
      {full, 300, " " + std::string(255, 'x')},      // no line is longer than 255
      {"0123456789", 300, " 0123456789"},            // nor longer than its text
      {full.substr(0, 270), -1, " " + std::string(255, 'x')},
  };
  for (const Case& c : cases) MSGWRT(FixedText(static_cast<int32_t>(c.text.size()), c.text), c.n);
  Lines expected;
  for (const Case& c : cases) expected.push_back(c.record);
  EXPECT_EQ(messages(), expected);
  std::string bytes = test::readFile(dir.file("messages.txt"));
  EXPECT_EQ(bytes.find('\0'), std::string::npos) << "no record holds a NUL";
}

struct Seen {
  LineWriter writer;
  int32_t flag;
};
std::vector<Seen> gSeen;

TEST_F(MessageLines, TheLastObjectKindChoosesTheWriter) {
  gSeen.clear();
  setLineWriterObserver([](LineWriter w, int32_t flag, FText) { gSeen.push_back({w, flag}); });
  IOUNIT.slot(kSlotTerminalOutput) = kMessageUnit;
  IOUNIT.slot(kSlotTerminalInput) = 5;
  PLTALP();
  struct Case {
    int32_t kind;
    LineWriter writer;
  };
  const Case cases[] = {{8, LineWriter::WRTLN8}, {1, LineWriter::WRTLN1}, {3, LineWriter::WRTLIN},
                        {0, LineWriter::WRTLIN}};
  for (const Case& c : cases) {
    gSeen.clear();
    PLTOBJ(c.kind);
    MSGWRT(FixedText(3, "abc"), 3);
    ASSERT_EQ(gSeen.size(), 1u) << c.kind;
    EXPECT_EQ(gSeen[0].writer, c.writer) << c.kind;
  }
  EXPECT_EQ(messages(), (Lines(4, " abc")));

  // Commands from a command file: WRTLIN and WRTLN8 get the flag 0, WRTLN1 always 1.
  IOMODE.inputMode = 1;
  const std::pair<int32_t, int32_t> flags[] = {{8, 0}, {1, 1}, {2, 0}};
  for (const auto& [kind, flag] : flags) {
    gSeen.clear();
    PLTOBJ(kind);
    MSGWRT(FixedText(1, "x"), 1);
    EXPECT_EQ(gSeen.at(0).flag, flag) << kind;
  }
}

TEST_F(MessageLines, CodprtWritesTheCodesAsOneLine) {
  std::vector<int32_t> codes = codesOf("  hello  ");
  CODPRT(codes, 9);
  CODPRT(codes, 400);  // never more than the line holds
  EXPECT_EQ(messages(), (Lines{"   hello", "   hello"}));
}

TEST_F(MessageLines, RepeatedDrawingLinesAreJournalledOnce) {
  enableJournals();
  const std::string lines[] = {" DRAWING DISPLAY 3", " DRAWING DISPLAY 3", " DRAWING DISPLAY 33",
                               " EYE FRAME", " EYE FRAME", "x", "x"};
  for (const std::string& line : lines) {
    std::vector<int32_t> codes = codesOf(line);
    int32_t failed = -1;
    JRNBTH(codes, 1, static_cast<int32_t>(codes.size()), failed);
    EXPECT_EQ(failed, 0);
  }
  Lines expected{"  DRAWING DISPLAY 3", "  DRAWING DISPLAY 33", "  EYE FRAME", " x", " x"};
  EXPECT_EQ(journal1(), expected);
  EXPECT_EQ(journal2(), expected);
}

TEST_F(MessageLines, JournalChannelsWriteOnlyWhileEnabled) {
  std::vector<int32_t> codes = codesOf("abc");
  int32_t failed = -1;
  JRNFLG.channel1.enable = 1;  // without the IOUNIT word channel 1 stays silent
  JRNBTH(codes, 1, 3, failed);
  EXPECT_EQ(failed, 0);
  IOUNIT.journal1Enable = 1;
  JRNFLG.channel1.enable = 0;
  JRNBTH(codes, 1, 3, failed);
  EXPECT_TRUE(journal1().empty());
  EXPECT_TRUE(journal2().empty());
  JRNFLG.channel2.enable = 1;
  JRNWR2(codes, 2, 3, failed);
  EXPECT_EQ(journal2(), (Lines{" bc"}));
}

TEST_F(MessageLines, JournalLinesKeepTrailingBlanksAndStopAt255) {
  enableJournals();
  std::vector<int32_t> codes = codesOf(std::string(300, 'j'));
  codes[1] = kBlankCode;
  int32_t failed = 0;
  JRNWR1(codes, 1, 300, failed);
  JRNWR1(codes, 1, 2, failed);
  JRNWR1(codes, 299, 400, failed);  // only the codes the line holds
  EXPECT_EQ(journal1(), (Lines{" j " + std::string(253, 'j'), " j ", " jj"}));
}

TEST_F(MessageLines, AFailedJournalWriteKeepsThePreviousLine) {
  enableJournals();
  std::vector<int32_t> codes = codesOf(" DRAWING DISPLAY 3");
  int32_t failed = 0;
  JRNWR2(codes, 1, 18, failed);
  IOUNIT.slot(kSlotLogFile) = 0;  // no unit: the write fails
  JRNWR2(codesOf(" DRAWING DISPLAY 4"), 1, 18, failed);
  EXPECT_EQ(failed, 1);
  IOUNIT.slot(kSlotLogFile) = kLogUnit;
  JRNWR2(codes, 1, 18, failed);  // still the previous line: dropped
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(journal2(), (Lines{"  DRAWING DISPLAY 3"}));
}

TEST_F(MessageLines, MsgoutPrefixesCountsCopiesAndJournals) {
  enableJournals();
  MSGOUT(1, FixedText(5, "Check"), 2, FixedText(8), 15);
  EXPECT_EQ(messages(), (Lines{" WARNING: Check 15"}));
  EXPECT_EQ(MSGCNT.count(1), 1);
  EXPECT_EQ(MSGCNT.count(2), 0);
  EXPECT_EQ(journal1(), (Lines{"  ! WARNING: Check 15"}));
  EXPECT_EQ(journal2(), (Lines{"  ! WARNING: Check 15"}));

  MSGOUT(2, FixedText(10, "Bad*.junk"), 1, FixedText(8, "VAL"), 0);
  MSGOUT(0, FixedText(4, "Info"), 3, FixedText(8, "VAL"), 9);
  EXPECT_EQ(messages(), (Lines{" WARNING: Check 15", " ERROR: Bad VAL", " Info"}));
  EXPECT_EQ(MSGCNT.count(2), 1);
  EXPECT_EQ(MSGCNT.count(0), 1);
}

TEST_F(MessageLines, MsgoutCopiesToTheLogUnitWithItsPrefix) {
  constexpr int32_t kCopyUnit = 31;
  openUnit(kCopyUnit, "copy.txt");
  MSGCNT.logCopy = 1;
  MSGCNT.logUnit = kCopyUnit;
  std::vector<int32_t> prefix = codesOf("LOG");
  std::copy(prefix.begin(), prefix.end(), MSGCNT.prefix.begin());
  MSGCNT.prefixLength = 3;
  MSGOUT(1, FixedText(5, "Check"), 2, FixedText(8), 15);
  MSGOUT(0, FixedText(200, std::string(200, 'c')), 0, FixedText(8), 0);
  EXPECT_EQ(linesOf(kCopyUnit, "copy.txt"), (Lines{"LOG WARNING: Check 15", "LOG " + std::string(124, 'c')}));

  // A log unit that cannot be written ends the message before the journals.
  enableJournals();
  MSGCNT.logUnit = 0;
  MSGOUT(1, FixedText(1, "x"), 0, FixedText(8), 0);
  EXPECT_TRUE(journal1().empty());
}

// A text that fills the line leaves no room for the value: the line, its log copy and
// its journal lines read nothing beyond the 255 positions.
TEST_F(MessageLines, MsgoutValueAfterAFullLineIsDropped) {
  constexpr int32_t kCopyUnit = 31;
  openUnit(kCopyUnit, "copy.txt");
  MSGCNT.logCopy = 1;
  MSGCNT.logUnit = kCopyUnit;
  std::vector<int32_t> prefix = codesOf("LOG");
  std::copy(prefix.begin(), prefix.end(), MSGCNT.prefix.begin());
  MSGCNT.prefixLength = 3;
  enableJournals();
  const std::string full(255, 'm');
  MSGOUT(0, FixedText(255, full), 2, FixedText(8), 15);
  MSGOUT(1, FixedText(246, std::string(246, 'w')), 1, FixedText(8, "VAL"), 0);
  EXPECT_EQ(messages(), (Lines{" " + full, " WARNING: " + std::string(246, 'w')}));
  EXPECT_EQ(linesOf(kCopyUnit, "copy.txt"),
            (Lines{"LOG " + std::string(124, 'm'), "LOG WARNING: " + std::string(115, 'w')}));
  EXPECT_EQ(journal2().front(), "  ! " + std::string(252, 'm'));
}

TEST_F(MessageLines, MsgoutJournalLineStopsAt255) {
  enableJournals();
  MSGOUT(0, FixedText(255, std::string(255, 'm')), 0, FixedText(8), 0);
  EXPECT_EQ(journal2(), (Lines{"  ! " + std::string(252, 'm')}));
}

TEST_F(MessageLines, GridVocabularyRewordsJournalLines) {
  enableJournals();
  const std::string lines[] = {"NODE 5 OF ELEMENT 7", "Node", "nodes", "  two  Loads:  \"node\" x"};
  int32_t failed = 0;
  gApplicationMode = kGridVocabularyMode;
  for (const std::string& line : lines) JRNWR2(codesOf(line), 1, static_cast<int32_t>(line.size()), failed);
  gApplicationMode = 0;
  JRNWR2(codesOf(lines[0]), 1, static_cast<int32_t>(lines[0].size()), failed);
  EXPECT_EQ(journal2(), (Lines{" VERTEX 5 OF CELL 7", " Vertex", " vertices", "   two  BOUNDARY:  \"node\" x",
                               " NODE 5 OF ELEMENT 7"}));
}

TEST(Vocswp, ReplacementsThatGrowAreCutAtTheLine) {
  gApplicationMode = kGridVocabularyMode;
  std::vector<int32_t> codes = codesOf("ELSIZE");
  int32_t n = 6;
  VOCSWP(codes, n);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(textOf(codes, n), "CELLSI");

  std::string many;
  for (int k = 0; k < 36; ++k) many += "elsize ";
  std::vector<int32_t> line = codesOf(many + std::string(300 - many.size(), ' '));
  n = static_cast<int32_t>(many.size()) - 1;
  VOCSWP(line, n);
  EXPECT_EQ(n, 255);
  EXPECT_EQ(textOf(line, 18), "cellsize cellsize ");
  EXPECT_EQ(line[255], kBlankCode);

  std::vector<int32_t> untouched = codesOf("NODE");
  n = 0;
  VOCSWP(untouched, n);
  EXPECT_EQ(textOf(untouched, 4), "NODE");
  gApplicationMode = 0;
  n = 4;
  VOCSWP(untouched, n);
  EXPECT_EQ(textOf(untouched, 4), "NODE");
}

}  // namespace
}  // namespace kvr
