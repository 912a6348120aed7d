// The command file: comment and cancel lines, blank lines for optional and required
// answers, the end of the file, a rejected line, an interrupt, and the silent read.
#include "command/cmdfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/getinp.h"
#include "command/mnuctl.h"
#include "parsefixture.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

using test::HostCall;
using test::Lines;

class CommandFile : public test::ParseFixture {
 protected:
  // Makes a command file of TEXT the input; remembers its unit.
  void open(const std::string& text) {
    commandFile("commands.txt", text);
    unit_ = IOMODE.inputUnit;
    ASSERT_NE(unit_, 0);
  }
  bool fileOpen() const { return !io::unitFileName(unit_).empty(); }

  // GETINP in MENU; answers the result and leaves the answer trimmed in ANSWER_.
  int32_t ask(int32_t menu) {
    const std::vector<int32_t> prompt = codes("Name =>");
    FixedText title(14, "Input required");
    std::vector<int32_t> answer(40, 0);
    int32_t result = 99;
    GETINP(0, 0, 0, 1, menu, title, prompt, static_cast<int32_t>(prompt.size()), 1, answer, 40,
           result);
    answer_ = chars(answer, 1, 40);
    answer_.erase(answer_.find_last_not_of(' ') + 1);
    return result;
  }

  int32_t unit_ = 0;
  std::string answer_;
};

TEST_F(CommandFile, CmtlinStripsAndClassifies) {
  struct Case {
    const char* line;
    int32_t cls;
    const char* stripped;
  };
  const Case cases[] = {
      {"  # x", kLineComment, "# x"},   {"\t* x", kLineComment, "* x"},
      {"!", kLineComment, "!"},         {"@file", kLineComment, "@file"},
      {"/", kLineCancel, "/"},          {"  /  ", kLineCancel, "/"},
      {"/X", kLineCommand, "/X"},       {"UT SE", kLineCommand, "UT SE"},
      {"", kLineCommand, ""},
  };
  for (const Case& c : cases) {
    std::string line(c.line);
    line.resize(255, ' ');
    int32_t cls = -1;
    CMTLIN(FText(line), cls);
    EXPECT_EQ(cls, c.cls) << c.line;
    EXPECT_EQ(FText(line).trimmed(), c.stripped) << c.line;
  }
}

TEST_F(CommandFile, CommentsAndBlankLinesAreSkippedForARequiredAnswer) {
  open("   ! note\n\nX1\n");
  EXPECT_EQ(ask(50), kInputGiven);
  EXPECT_EQ(answer_, "X1");
  EXPECT_EQ(gCommandFile.lineCounter, 3);
  EXPECT_EQ(IOMODE.inputMode, kInputCommandFile);
}

TEST_F(CommandFile, ABlankLineAnswersAnOptionalPrompt) {
  open("   ! note\n\nX1\n");
  EXPECT_EQ(ask(-50), kInputEmpty);
  EXPECT_EQ(ask(-50), kInputGiven);
  EXPECT_EQ(answer_, "X1");
}

TEST_F(CommandFile, ASlashCancelsAndTheEndClosesTheFile) {
  open("/\n");
  EXPECT_EQ(ask(50), kInputCancelled);
  EXPECT_EQ(IOMODE.inputMode, kInputCommandFile);
  EXPECT_EQ(ask(50), kInputCancelled);
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);
  EXPECT_FALSE(fileOpen());
}

TEST_F(CommandFile, ARejectedLineReturnsToTheKeyboardWithTheFileOpen) {
  open("UTILITY SETUP XY\nUT\n");
  EXPECT_EQ(ask(100), kInputCancelled);
  EXPECT_EQ(messages().back(), " E3200: Incorrect command: UTILITY SETUP < XY >");
  ASSERT_EQ(callsOf(HostCommand::HCCMD3).size(), 1u);
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);
  EXPECT_TRUE(fileOpen());
}

TEST_F(CommandFile, AFileLineIsEchoedAndLogged) {
  open("UT SE SY LI\n");
  EXPECT_EQ(ask(100), kInputGiven);
  EXPECT_EQ(answer_, "UTILITY SETUP SYNONYMS LIST");
  EXPECT_EQ(log(), " UTILITY SETUP SYNONYMS LIST ");
  EXPECT_EQ(callsOf(HostCommand::HCCMD1).size(), 1u);
}

TEST_F(CommandFile, LongLinesAreCutAt255) {
  open("X" + std::string(300, 'y') + "\n");
  std::string line(255, ' ');
  int32_t status = 0;
  CMFRD(0, FText(line), status);
  EXPECT_EQ(status, kLineRead);
  EXPECT_EQ(line, "X" + std::string(254, 'y'));
}

TEST_F(CommandFile, AnInterruptEndsTheInput) {
  open("X1\n");
  PLTOPT.interruptFlag = 1;
  std::string line(255, ' ');
  int32_t status = 0;
  CMFRD(0, FText(line), status);
  EXPECT_EQ(status, kFileEnded);
  EXPECT_EQ(PLTOPT.interruptFlag, 0);
  EXPECT_EQ(PLTOPT.interruptEndedInput, 1);
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);

  int32_t interrupted = -1;
  INTCHK(0, interrupted);
  EXPECT_EQ(interrupted, 0);
}

TEST_F(CommandFile, CmfendAtTheKeyboardOpensNothing) {
  CMFEND(0);
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);
  EXPECT_TRUE(messages().empty());
}

TEST_F(CommandFile, SilentReadReportsAndEndsWithTheClosingCommand) {
  std::string blank;
  for (int k = 0; k < 2500; ++k) blank += "\n";
  open(blank);
  VWDFLT.word(kVwSwitchesSaved) = 1;
  std::string line(80, ' ');
  int32_t status = 0;
  CMFRD(0, FText(line), status);
  EXPECT_EQ(status, kLineRead);
  EXPECT_EQ(FText(line).trimmed(), "FILE CLOSE; YES;From archive file");
  EXPECT_EQ(messages(), (Lines{" *** Starting silent read ***", " *** < 1000 > lines processed ***",
                               " *** < 2000 > lines processed ***", " *** Input complete ***"}));
  EXPECT_EQ(IOMODE.inputMode, kInputTerminal);
  EXPECT_FALSE(fileOpen());
  EXPECT_EQ(VWDFLT.word(kVwSwitchesSaved), 0);
}

}  // namespace
}  // namespace kvr
