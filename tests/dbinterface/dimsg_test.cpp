#include "dbinterface/dimsg.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "difixture.h"

namespace kvr {
namespace {

using kvr::test::WritingRoadFixture;

// The line as written: up to its last non-blank character.
std::string trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

TEST(Ditext, RowsOfTheTableAndBlankCodes) {
  struct Case {
    int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {11, "DATABASE INTERFACE ROUTINES ALREADY INITIALISED"},
      {129, "ERROR IN WRITING TO TEMPORARY FILE ON UNIT (IUNT)"},
      {256, "LESS THAN ZERO ZORLAK ELEMENT VARIANT (IELVAR)"},
      {299, "*** PREVIOUS ERROR NOT SUCCESSFULLY DETECTED ***"},
      {0, ""}, {10, ""}, {20, ""}, {120, ""}, {300, ""}, {-5, ""}, {INT_MAX, ""},
  };
  for (const Case& c : cases) {
    FixedText text(50, "stale");
    DITEXT(c.code, text);
    EXPECT_EQ(std::string(text.view()), FixedText(50, c.text).view()) << c.code;
  }
  int filled = 0;
  for (int32_t code = 1; code <= 299; ++code) {
    if (!dietabText(code).empty()) ++filled;
  }
  EXPECT_EQ(filled, 166);

  FixedText shortText(8);
  DITEXT(12, shortText);
  EXPECT_EQ(shortText.view(), "INVALID ");
}

class DiMessages : public WritingRoadFixture {
 protected:
  static constexpr int32_t kUnit1 = 30;
  static constexpr int32_t kUnit2 = 31;

  void SetUp() override {
    WritingRoadFixture::SetUp();
    openUnit(kUnit1, "msg1.txt", io::Form::Formatted);
    DICTL.lumsg1 = kUnit1;
    DICTL.lumsg2 = kNoMessageUnit;
  }

  std::vector<std::string> lines() { return linesOf(kUnit1, "msg1.txt"); }

  static void error(int32_t code, const char* routine = "DIHED2", int32_t kind = 0,
                    const std::string& name = "", int32_t number = 0) {
    FixedText n(static_cast<int32_t>(name.size()), name);
    DIMSG(code, FixedText(6, routine), kind, n, number);
  }

  static void info(const char* text, int32_t kind = 0, const std::string& name = "",
                   int32_t number = 0, const char* routine = "DIHED2") {
    FixedText n(static_cast<int32_t>(name.size()), name);
    DIINF(FixedText(6, routine), FixedText(50, text), kind, n, number);
  }
};

TEST_F(DiMessages, ErrorLines) {
  struct Case {
    int32_t code;
    const char* routine;
    int32_t kind;
    std::string name;
    int32_t number;
    std::string line;
  };
  const std::string blank68 = " DI    : DIHED2:" + std::string(52, ' ') + ":";
  const Case cases[] = {
      {12, "DIINI", 2, "", 7,
       " DI012 : DIINI : INVALID INITIALISATION OPTION (LUOPT)              : (       7"
       "            )"},
      {7, "DIHED2", 0, "", 0, " DI007 : DIHED2:" + std::string(52, ' ') + ":"},
      {0, "DIHED2", 0, "", 0, " DI000 : DIHED2:" + std::string(52, ' ') + ":"},
      {300, "DIHED2", 0, "", 0, " DI300 : DIHED2:" + std::string(52, ' ') + ":"},
      {1500, "DIHED2", 0, "", 0, " DI999 : DIHED2:" + std::string(52, ' ') + ":"},
      {112, "DIHED2", 2, "", 99999999,
       " DI112 : DIHED2: INVALID DATASET HEADER KEY                         : (99999999"
       "            )"},
      {112, "DIHED2", 2, "", 123456789,
       " DI112 : DIHED2: INVALID DATASET HEADER KEY                         : (>8 FIGS "
       "            )"},
      {112, "DIHED2", 2, "", -9999999,
       " DI112 : DIHED2: INVALID DATASET HEADER KEY                         : (-9999999"
       "            )"},
      {112, "DIHED2", 2, "", -10000000,
       " DI112 : DIHED2: INVALID DATASET HEADER KEY                         : (>8 FIGS "
       "            )"},
      {37, "DIHED2", 1, "ABCDEFGHIJKLMNOPQRSTUVWXY", 0,
       " DI037 : DIHED2: MODEL DOES NOT ALREADY EXIST, CANNOT APPEND        : (ABCDEFGHIJ"
       "KLMNOPQRST)"},
      {37, "DIHED2", 1, "BEAM      ", 0,
       " DI037 : DIHED2: MODEL DOES NOT ALREADY EXIST, CANNOT APPEND        : (BEAM      "
       "          )"},
  };
  for (const Case& c : cases) error(c.code, c.routine, c.kind, c.name, c.number);
  std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), std::size(cases));
  for (std::size_t k = 0; k < got.size(); ++k) {
    EXPECT_EQ(got[k], trimmed(cases[k].line)) << "case " << k;
  }
  EXPECT_EQ(got[9].rfind(')'), 91u);  // position 92 however long the name

  int32_t code = 1500;
  DIMSG(code, FixedText(6, "DILIM"), 0, FText(), 0);
  EXPECT_EQ(code, 999);
  code = 998;
  DIMSG(code, FixedText(6, "DILIM"), 0, FText(), 0);
  EXPECT_EQ(code, 998);
}

TEST_F(DiMessages, InformationLines) {
  info("MODEL OPENED TO CREATE", 1, "BEAM                ");
  info("MODEL OPENED TO CREATE", 1, "A NAME OF TWENTY-FIVE CHS");
  info("LOAD CASES", 2, "", 123456789);
  info("LOAD CASES", 2, "", -123456789);
  info("LOAD CASES", 2, "", INT_MIN);
  info("I10, E14.7 FORMAT NEUTRAL FILE OPTION CHOSEN", 0, "", 0, "      ");
  info("NOT SHOWN", 3, "  a free line of text");
  std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 7u);
  EXPECT_EQ(got[0],
            " DI    : DIHED2: MODEL OPENED TO CREATE                             : (BEAM    "
            "            )");
  EXPECT_EQ(got[1].substr(70), "(A NAME OF TWENTY-FIV)");
  EXPECT_EQ(got[2].substr(68), ": ( 123456789)");
  EXPECT_EQ(got[3].substr(68), ": (-123456789)");
  EXPECT_EQ(got[4].substr(68), ": ( >10 CHARS)");
  EXPECT_EQ(got[5], " DI    :       : I10, E14.7 FORMAT NEUTRAL FILE OPTION CHOSEN       :");
  EXPECT_EQ(got[6], "   a free line of text");
}

TEST_F(DiMessages, FiftyLinesPerUnitThenTheSuppressionLine) {
  DICTL.itfnum = 2;
  DISTAT.currentUnit = 1;
  for (int k = 0; k < 25; ++k) error(112);
  for (int k = 0; k < 25; ++k) info("SHARED COUNT");  // error and information lines share it
  DISTAT.currentUnit = 2;
  info("OTHER UNIT");
  DISTAT.currentUnit = 1;
  error(113);  // the 51st against unit 1
  error(113);
  info("DROPPED");
  std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 52u);
  EXPECT_EQ(got[50], " DI    : DIHED2: OTHER UNIT                                         :");
  EXPECT_EQ(got[51],
            " DI    : DIMSG : *** FURTHER ERROR MESSAGES WILL BE SUPPRESSED ***  :");
  EXPECT_EQ(DISTAT.messageCount(1), 52);
  EXPECT_EQ(DISTAT.messageCount(2), 1);

  // A new dataset header on the unit resets its count: its lines appear again.
  DISTAT.messageCount(1) = 0;
  error(113);
  got = lines();
  ASSERT_EQ(got.size(), 53u);
  EXPECT_EQ(got[52].substr(0, 6), " DI113");

  DISTAT.messageCount(1) = 50;
  info("ONE TOO MANY", 1, "NAME");
  got = lines();
  EXPECT_EQ(got.back(), " DI    : DIINF : *** FURTHER INFO MESSAGES WILL BE SUPPRESSED ***   :");
}

TEST_F(DiMessages, LinesGoToBothUnitsAndNowhereFor99) {
  openUnit(kUnit2, "msg2.txt", io::Form::Formatted);
  DICTL.lumsg2 = kUnit2;
  error(112);
  EXPECT_EQ(lines().size(), 1u);
  EXPECT_EQ(linesOf(kUnit2, "msg2.txt"), lines());

  DICTL.lumsg1 = kNoMessageUnit;
  DICTL.lumsg2 = kNoMessageUnit;
  error(112);
  info("NOTHING");
  EXPECT_EQ(lines().size(), 1u);
  EXPECT_EQ(linesOf(kUnit2, "msg2.txt").size(), 1u);
  EXPECT_EQ(DISTAT.messageCount(1), 3);  // the counts advance all the same
  EXPECT_TRUE(stdoutLines().empty());
}

TEST_F(DiMessages, UnconnectedMessageUnitFallsBackToStandardOutput) {
  DICTL.lumsg1 = 41;
  error(112);
  EXPECT_EQ(stdoutLines(), std::vector<std::string>{"  *** DI MESSAGE CHANNEL NOT CONNECTED *** "});
  EXPECT_FALSE(io::unitIsOpen(41));
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "msg1.txt" || name == "stdout.txt") << name;
  }
}

}  // namespace
}  // namespace kvr
