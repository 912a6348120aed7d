#include "runtime/console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "consolefixture.h"
#include "plot/pltdsp.h"
#include "runtime/codtxt.h"
#include "runtime/fouvre.h"
#include "runtime/prmlst.h"

namespace kvr {
namespace {

using Console = test::ConsoleFixture;
using Lines = std::vector<std::string>;

void setText(const std::string& s) {
  for (size_t k = 0; k < s.size(); ++k) PLTPAR.text[k] = codeOf(s[k]);
  PLTPAR.textCount = static_cast<int32_t>(s.size());
}

TEST(Alpgeo, AcceptsOnlyDigitsAroundOneX) {
  struct Case {
    std::string text;
    int32_t width;
    int32_t height;
    int32_t failed;
  };
  const Case cases[] = {
      {"800x600", 800, 600, 0},
      {"1024X768", 1024, 768, 0},
      {"  640x480", 640, 480, 0},
      {"1x1", 1, 1, 0},
      {"32767x32767", 32767, 32767, 0},
      {"1024", 0, 0, 1},       // no "x"
      {"1,024x768", 0, 0, 1},  // a separator is no digit
      {"-5x3", 0, 0, 1},       // nor a sign
      {"40000x10", 0, 0, 1},   // beyond 32767
      {"99999999999x1", 0, 0, 1},
      {"0x480", 0, 0, 1},
      {"800x", 0, 0, 1},
      {"x600", 0, 0, 1},
      {"8x6x4", 0, 0, 1},
      {"1x", 0, 0, 1},  // two characters or fewer
  };
  for (const Case& c : cases) {
    FixedText text(80, c.text);
    int32_t w = -1;
    int32_t h = -1;
    int32_t failed = -1;
    ALPGEO(text, w, h, failed, static_cast<int32_t>(c.text.size()));
    EXPECT_EQ(w, c.width) << c.text;
    EXPECT_EQ(h, c.height) << c.text;
    EXPECT_EQ(failed, c.failed) << c.text;
  }
}

TEST_F(Console, OpenSetsTheDeviceWordsOfTheDefaultPage) {
  PLTALP();
  EXPECT_EQ(PLTDEV.outputMode, kOutputConsole);
  EXPECT_EQ(PLTPAR.outUnit, 6);
  EXPECT_EQ(PLTPAR.inUnit, 5);
  EXPECT_EQ(PLTCAP.deviceName().trimmed(), "Alpha");
  EXPECT_EQ(PLTCAP.xMax, 679.0f);
  EXPECT_EQ(PLTCAP.yMax, 480.0f);
  EXPECT_EQ(PLTCAP.inverseWidth, 1.0f / 679.0f);
  EXPECT_EQ(PLTDEV.cellsAcross, 96);
  EXPECT_EQ(PLTDEV.cellsDown, 53);
  EXPECT_EQ(PLTDEV.window.xMax, 679.0f);
  EXPECT_EQ(PLTDEV.window.yMax, 480.0f);
  EXPECT_EQ(PLTDEV.colourCount, 12);
  EXPECT_EQ(PLTDEV.colourCount2, 12);
  const int32_t words[] = {1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0};
  for (int32_t k = 1; k <= 18; ++k) EXPECT_EQ(PLTCAP.word(k), words[k - 1]) << k;
  // A second open of an open console changes nothing.
  PLTDEV.cellsAcross = 5;
  ALPDRV(kOpOpen);
  EXPECT_EQ(PLTDEV.cellsAcross, 5);
}

TEST_F(Console, TheGeometrySettingSetsThePage) {
  struct Case {
    std::string value;
    int32_t width, height, across, down;
  };
  const Case cases[] = {
      {"1024x768", 1024, 768, 146, 85},
      {"1024X768 ! large", 1024, 768, 146, 85},
      {"1024", 679, 480, 96, 53},
      {"1,024x768", 679, 480, 96, 53},
      {"-5x3", 679, 480, 96, 53},
      {"40000x10", 679, 480, 96, 53},
  };
  for (const Case& c : cases) {
    freshConsole();
    settings("Quorin.*.Alpha.Geometry: " + c.value + "\n");
    PLTALP();
    EXPECT_EQ(PLTCAP.xMax, static_cast<float>(c.width)) << c.value;
    EXPECT_EQ(PLTCAP.yMax, static_cast<float>(c.height)) << c.value;
    EXPECT_EQ(PLTDEV.window.xMax, static_cast<float>(c.width)) << c.value;
    EXPECT_EQ(PLTDEV.cellsAcross, c.across) << c.value;
    EXPECT_EQ(PLTDEV.cellsDown, c.down) << c.value;
  }
}

TEST_F(Console, TextOutputWritesLinesOfEightyBehindOneBlank) {
  PLTALP();
  const std::string text(100, 'a');
  setText(text);
  PLTDSP(kOpTextOutput);
  PLTPAR.textCount = 0;
  PLTDSP(kOpTextOutput2);
  EXPECT_EQ(lines(), (Lines{" " + std::string(80, 'a'), " " + std::string(20, 'a'), ""}));
  // A host that runs its own dialogues silences text output.
  PLTCAP.hostDialogue = 1001;
  setText("quiet");
  PLTDSP(kOpTextOutput);
  EXPECT_EQ(lines().size(), 3u);
}

TEST_F(Console, ATextInquiryIsAnsweredNotPrinted) {
  PLTALP();
  setText("abc");
  PLTPAR.textCount = -3;
  PLTDSP(kOpText);
  EXPECT_EQ(PLTCTB.textAnswer, -99);
  EXPECT_EQ(output(), "");
}

TEST_F(Console, ReadLinePromptsWithTheTextAfterTheReplyBuffer) {
  replies("typed answer\n");
  PLTALP();
  FText prompt = REPLYB.promptText();
  prompt.assign("Name?");
  PLTCAP.promptLength = 5;
  ALPDRV(21);
  EXPECT_EQ(REPLYB.replyText().trimmed(), "typed answer");
  EXPECT_EQ(output(), " Name?");
  EXPECT_EQ(IOMODE.endOfInput, 0);
}

TEST_F(Console, PrmrdlShowsNoMoreThanThePromptHolds) {
  replies("x\n");
  FixedText prompt(4, "Ask:");
  FixedText reply(10, "old");
  PRMRDL(prompt, 300, 5, 6, reply);
  EXPECT_EQ(output(), " Ask:");
  EXPECT_EQ(std::string(reply.view()), "x" + std::string(9, ' '));
}

TEST_F(Console, EndOfInputLeavesTheReplyBlankAndIsRemembered) {
  replies("first\n");
  FixedText prompt(1, ">");
  FixedText reply(10);
  PRMRDL(prompt, 1, 5, 6, reply);
  EXPECT_EQ(IOMODE.endOfInput, 0);
  PRMRDL(prompt, 1, 5, 6, reply);
  EXPECT_TRUE(reply.text().isBlank());
  EXPECT_EQ(IOMODE.endOfInput, 1);
  replies("again\n");
  PRMRDL(prompt, 1, 5, 6, reply);
  EXPECT_EQ(reply.trimmed(), "again");
  EXPECT_EQ(IOMODE.endOfInput, 0);
}

TEST_F(Console, MsgboxRefusesABadRequestSilently) {
  struct Case {
    int32_t icon, buttons, defaultButton, answer;
  };
  const Case cases[] = {
      {1, 1, 2, -3}, {1, 3, 4, -3}, {1, 3, -1, -3}, {1, 6, 0, -2},
      {1, 0, 0, -2}, {7, 3, 0, -1}, {0, 3, 0, -1}, {7, 6, 4, -3},
  };
  PLTALP();
  for (const Case& c : cases) {
    EXPECT_EQ(MSGBOX(FixedText(5, "Title"), FixedText(4, "Text"), c.icon, c.buttons,
                     c.defaultButton),
              c.answer)
        << c.icon << " " << c.buttons << " " << c.defaultButton;
  }
  EXPECT_EQ(output(), "");
}

TEST_F(Console, MsgboxCutsTheTitleAtTwoHundredCodes) {
  replies("n\n");
  PLTALP();
  const std::string title(300, 'T');
  EXPECT_EQ(MSGBOX(FixedText(300, title), FixedText(4, "Text"), 3, 3, 1), 2);
  EXPECT_EQ(PLTPAR.textCount, 200);
  EXPECT_EQ(PLTPAR.text[199], codeOf('T'));
  EXPECT_EQ(PLTPAR.text[200], 3);  // icon style
  EXPECT_EQ(PLTPAR.text[201], 3);  // button set
  EXPECT_EQ(PLTPAR.text[202], 1);  // default button
  EXPECT_EQ(PLTPAR.text2Count, 4);
}

TEST_F(Console, MsgboxWithoutADeviceAnswersNoButton) {
  PLTPAR.answer = 2;  // left by an earlier box
  EXPECT_EQ(MSGBOX(FixedText(5, "Title"), FixedText(4, "Text"), 4, 4, 2), 0);
}

TEST_F(Console, AlpboxFramesTheTextAndPromptsForTheDefault) {
  replies("\n");
  PLTALP();
  EXPECT_EQ(MSGBOX(FixedText(10, "Test"), FixedText(30, "Line one#Line two"), 1, 3, 2), 2);
  const std::string expected = " \n"
                               " === ERROR : Test ===\n"
                               " =                  =\n"
                               " =   Line one       =\n"
                               " =   Line two       =\n"
                               " =                  =\n"
                               " ====================\n"
                               " \n"
                               " > Yes/No ? [No] : ";
  EXPECT_EQ(output(), expected);
}

TEST_F(Console, AlpboxWidensTheFrameForALongTitleAndLine) {
  replies("\n");
  EXPECT_EQ(ALPBOX(FixedText(20, "Insufficient Memory"), FixedText(40, "ABORT to stop.#"), 6,
                   1, 0),
            1);
  const Lines got = lines();
  ASSERT_EQ(got.size(), 9u);
  // " WARNING :" and the title make 29 columns, so the frame is 37 wide.
  EXPECT_EQ(got[1], " === WARNING : Insufficient Memory ===");
  EXPECT_EQ(got[3], " =   ABORT to stop." + std::string(18, ' ') + "=");
  EXPECT_EQ(got[4], " =" + std::string(35, ' ') + "=");  // the empty last line
  EXPECT_EQ(got[6], " " + std::string(37, '='));
  EXPECT_EQ(got[8], " > OK ? ");
}

TEST_F(Console, AlpboxAnswersTheButtonTheReplyNames) {
  struct Case {
    std::string replies;
    int32_t buttons;
    int32_t defaultButton;
    int32_t answer;
    int32_t prompts;  // how often the prompt was shown
  };
  const Case cases[] = {
      {"\n", 3, 2, 2, 1},
      {" no\n", 3, 2, 2, 1},
      {"YES\n", 3, 2, 1, 1},
      {"yes\n", 3, 0, 1, 1},
      {"maybe\n n\n", 3, 1, 2, 2},
      {"maybe\n", 3, 1, 1, 2},       // then end of input: the default
      {"anything\n", 1, 0, 1, 1},    // OK answers 1 whatever is typed
      {"", 1, 1, 1, 1},
      {"c\n", 5, 1, 3, 1},
      {"r\n", 4, 1, 2, 1},
      {"\tA\n", 4, 2, 1, 1},
      {"", 3, 2, 2, 1},               // end of input takes the default
      {"", 4, 2, 1, 1},               // but never a Retry: that would retry for ever
      {"", 4, 1, 1, 1},
      {"", 2, 2, 2, 1},
  };
  for (const Case& c : cases) {
    freshConsole();
    replies(c.replies);
    EXPECT_EQ(ALPBOX(FixedText(4, "Box"), FixedText(4, "Text"), 3, c.buttons, c.defaultButton),
              c.answer)
        << "\"" << c.replies << "\" set " << c.buttons << " default " << c.defaultButton;
    const std::string out = output();
    int32_t prompts = 0;
    for (size_t at = out.find(" > "); at != std::string::npos; at = out.find(" > ", at + 1)) {
      ++prompts;
    }
    EXPECT_EQ(prompts, c.prompts) << "\"" << c.replies << "\"";
  }
}

TEST_F(Console, AlpboxChecksTheDefaultFirst) {
  EXPECT_EQ(ALPBOX(FixedText(1, "t"), FixedText(1, "x"), 9, 9, 9), -3);
  EXPECT_EQ(ALPBOX(FixedText(1, "t"), FixedText(1, "x"), 9, 9, 0), -2);
  EXPECT_EQ(ALPBOX(FixedText(1, "t"), FixedText(1, "x"), 9, 2, 0), -1);
  EXPECT_EQ(output(), "");
}

TEST_F(Console, MenprmListsTheValuesAndReadsTheReply) {
  PRMLST = {};
  PRMLST.count = 3;
  PRMLST.text(1).assign("  LINE");
  PRMLST.text(2).assign("");
  PRMLST.text(3).assign("SURFACE   x");
  replies("abc\n");
  EXPECT_EQ(MENPRM(0, FixedText(5, "title"), FixedText(10, "Choose:")), 1);
  EXPECT_EQ(REPLYB.replyText().trimmed(), "abc");
  EXPECT_EQ(output(), "   LINE\n  \n SURFACE   x\nChoose:");
  PRMLST = {};
}

TEST_F(Console, MenprmAnswersNoForALoneSlashOrTheEndOfInput) {
  struct Case {
    std::string replies;
    int32_t noList;
    int32_t answer;
  };
  // A "/" that begins a path is a reply; standing alone it cancels, as "//" does.
  const Case cases[] = {{"/\n", 1, 0},          {"/ x\n", 1, 0},  {"//\n", 1, 0}, {"", 1, 0},
                        {"/x\n", 1, 1},         {" /\n", 1, 1},   {"abc\n", 1, 1},
                        {"/home/u/m.dmp\n", 1, 1}, {"//x\n", 1, 1}};
  for (const Case& c : cases) {
    freshConsole();
    PRMLST.count = 1;
    replies(c.replies);
    REPLYB.replyText().assign("stale");
    EXPECT_EQ(MENPRM(c.noList, FixedText(1), FixedText(3, "?")), c.answer) << c.replies;
    EXPECT_EQ(IOMODE.endOfInput, c.replies.empty() ? 1 : 0);
    EXPECT_EQ(output(), "?") << "no list with the no-list flag";
    if (c.replies.empty()) {
      EXPECT_TRUE(REPLYB.replyText().isBlank()) << "no earlier reply survives the end of input";
    }
  }
  PRMLST = {};
}

TEST_F(Console, DriverStopsWriteTheirLineAndFail) {
  struct Case {
    void (*stop)();
    std::string line;
  };
  const Case cases[] = {
      {STPN13, "  **** FATAL ERROR :  DEVICE DRIVER <**> NOT LOADED ****"},
      {STPN45, "  **** FATAL ERROR :  DEVICE DRIVER <45> NOT LOADED ****"},
  };
  test::StopTrap trap;
  for (const Case& c : cases) {
    freshConsole();
    try {
      c.stop();
      ADD_FAILURE() << "no stop";
    } catch (const test::StopCalled& stop) {
      EXPECT_EQ(stop.status, 1);
      EXPECT_FALSE(stop.abort);
    }
    EXPECT_EQ(lines(), Lines{c.line});
  }
}

TEST_F(Console, StoprnClosesEveryFileAndAbortsOnRequest) {
  test::StopTrap trap;
  int32_t status = -1;
  FOUVRE(4, {}, 0, 1, 1, status);  // the listing file, "kvrlst.lst"
  ASSERT_EQ(status, 0);
  const int32_t unit = IOUNIT.slot(4);
  ASSERT_TRUE(io::unitIsOpen(unit));
  STOPRN(0);
  EXPECT_FALSE(io::unitIsOpen(unit));
  EXPECT_EQ(IOUNIT.openFlag(4), 0);

  FOUVRE(4, {}, 0, 1, 1, status);
  ::testing::internal::CaptureStderr();
  try {
    STOPRN(1);
    ADD_FAILURE() << "no stop";
  } catch (const test::StopCalled& stop) {
    EXPECT_TRUE(stop.abort);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "That's it- I'm outta here\n");
  EXPECT_FALSE(io::unitIsOpen(unit));
}

TEST_F(Console, ARecordWhileTheGraphicsRecordCountIsSetStops) {
  test::StopTrap trap;
  PLTALP();
  PLTDEV.recordCount = 1;
  EXPECT_THROW(PLTDSP(kOpColour), test::StopCalled);
  EXPECT_EQ(lines(), Lines{"  **** FATAL ERROR :  DEVICE DRIVER <45> NOT LOADED ****"});
}

}  // namespace
}  // namespace kvr
