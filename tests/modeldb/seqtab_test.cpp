// The name sequences, the code conversion and the display-switch save.
#include <gtest/gtest.h>

#include <string>

#include "messages/synsta.h"
#include "modeldb/inpsrc.h"
#include "modeldb/seqtab.h"
#include "runtime/dspsta.h"
#include "runtime/gridmd.h"
#include "runtime/iomode.h"
#include "runtime/journal.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

class Sequences : public ::testing::Test {
 protected:
  void SetUp() override {
    MDLCON();
    VWDFLT = {};
    gApplicationMode = 0;
  }
  void TearDown() override {
    VWDFLT = {};
    gApplicationMode = 0;
    DSPSAV(0);
  }
  static std::string letters(int32_t k) {
    std::string s(4, '?');
    SEQALF(FText(s.data(), 4), k);
    return s;
  }
};

TEST_F(Sequences, DefaultTableInBothForms) {
  // Slot, 4-digit code, 8-digit code, letters.
  struct Row {
    int32_t four, eight;
    const char* letters;
  } rows[] = {{3600, 36000000, "P   "}, {3200, 32000000, "L   "}, {3900, 39000000, "S   "},
              {2200, 22000000, "B   "}, {3925, 39250000, "SE  "}, {3928, 39280000, "SH  "},
              {4038, 40380000, "TR  "}, {3321, 33210000, "MA  "}, {3628, 36280000, "PH  "},
              {2339, 23390000, "CS  "}, {3235, 32350000, "LO  "}, {2335, 23350000, "CO  "},
              {3325, 33250000, "ME  "}, {3621, 36210000, "PA  "}, {4400, 44000000, "X   "},
              {3324, 33240000, "MD  "}, {3624, 36240000, "PD  "}, {3224, 32240000, "LD  "},
              {4023, 40230000, "TC  "}, {3923, 39230000, "SC  "}, {3233, 32330000, "LM  "},
              {3825, 38250000, "RE  "}, {3335, 33350000, "MO  "}, {3839, 38390000, "RS  "},
              {2623, 26230000, "FC  "}};
  for (int32_t mode : {1, 2}) {
    VWDFLT.word(63) = 9;
    DEFCOD(mode);
    EXPECT_EQ(VWDFLT.word(kSeqForm), mode == 2 ? 1 : 0);
    EXPECT_EQ(VWDFLT.word(63), 0);
    for (int32_t k = 1; k <= kSequences; ++k) {
      const Row& r = rows[k - 1];
      EXPECT_EQ(VWDFLT.word(11 + k), mode == 2 ? r.eight : r.four) << k;
      EXPECT_EQ(letters(k), r.letters) << k;
      EXPECT_EQ(SEQNUM(k), mode == 2 ? 1 : (k == 5 || k == 24 ? 2 : 1)) << k;
    }
  }
  DEFCOD(1);
  EXPECT_EQ(VWDFLT.word(36 + 5), -2);
  EXPECT_EQ(SQN05(), 2);

  gApplicationMode = kGridVocabularyMode;
  DEFCOD(1);
  EXPECT_EQ(VWDFLT.word(11 + 11), 2238);
  EXPECT_EQ(VWDFLT.word(11 + 21), 2233);
  std::string s(4, ' ');
  SQA11(FText(s.data(), 4));
  EXPECT_EQ(s, "BR  ");
}

TEST_F(Sequences, LettersOfPackedCodes) {
  struct Case {
    int32_t form, code;
    const char* want;
  } cases[] = {
      {0, 3925, "SE  "}, {0, 4825, "BE  "},  // 48 stands for 22
      {0, 3600, "P   "}, {1, 39250000, "SE  "},
      {1, 36002100, "P   "},  // an empty second position ends the text
      {1, 21222324, "ABCD"}, {0, 4873, "B'  "},  // 73 stands for 47
      {0, 99, "    "},    // letter index 0: a blank
      {0, 9900, "    "},  // 99 stands for 73, beyond the 47 characters: a blank
  };
  for (const Case& c : cases) {
    VWDFLT.word(kSeqForm) = c.form;
    VWDFLT.word(12) = c.code;
    EXPECT_EQ(letters(1), c.want) << c.code;
  }
  EXPECT_EQ(letters(0), "    ");
  EXPECT_EQ(letters(26), "    ");
  EXPECT_EQ(SEQNUM(0), 0);
  EXPECT_EQ(SEQNUM(26), 0);
}

TEST_F(Sequences, LoadSequenceText) {
  DEFCOD(2);
  std::string s(12, '?');
  LODSEQ(FText(s.data(), 12));
  EXPECT_EQ(s, "LO1         ");
  VWDFLT.word(36 + 11) = 1234;
  LODSEQ(FText(s.data(), 12));
  EXPECT_EQ(s, "LO1234      ");
}

TEST_F(Sequences, CodmapColumns) {
  struct Case {
    int32_t t, q, want;
  } cases[] = {{5, 25, 5},   {5, 45, 0},  {5, 80, 0},  {5, 10, -10}, {5, 70, 20}, {5, 78, 28},
               {5, 0, 0},    {6, 10, 4},  {6, 47, -11}, {6, 5, 2},   {4, 46, 35}, {4, 17, 14},
               {4, 15, 18},  {2, 79, 47}, {2, 20, 46}, {2, 21, 11},  {2, 14, 0},  {2, 81, 0},
               {1, 48, 0},   {1, 9, 15},  {1, 28, 18}, {1, 47, 25},  {3, 47, 78}, {3, 22, 12},
               {3, 25, 0},   {3, -1, 0}};
  for (const Case& c : cases) {
    int32_t out = 99;
    CODMAP(c.t, c.q, out);
    EXPECT_EQ(out, c.want) << c.t << "," << c.q;
  }
  // Column 3 and column 2 are inverse where column 3 is defined.
  for (int32_t q = 1; q <= 47; ++q) {
    int32_t second = 0, back = 0;
    CODMAP(3, q, second);
    if (second == 0) continue;
    CODMAP(2, second, back);
    EXPECT_EQ(back, q) << q;
  }
  int32_t out = 7;
  CODMAP(7, 1, out);
  EXPECT_EQ(out, 7);
}

class Switches : public Sequences {
 protected:
  static void setAll(int32_t v) {
    for (int32_t k = 1; k <= 4; ++k) DSPTAB.switchWord(k) = v + k;
    SYNSTA.echo = v + 5;
    JRNFLG.channel2.enable = v + 6;
    JRNFLG.channel1.enable = v + 7;
    DSPSTA.state.windowDefaults = {v + 8, v + 9, v + 11};
    WINSTA.undoOn = v + 10;
  }
  static std::vector<int32_t> all() {
    return {DSPTAB.switchWord(1), DSPTAB.switchWord(2), DSPTAB.switchWord(3),
            DSPTAB.switchWord(4), SYNSTA.echo, JRNFLG.channel2.enable,
            JRNFLG.channel1.enable, DSPSTA.state.windowDefaults[0],
            DSPSTA.state.windowDefaults[1], WINSTA.undoOn, DSPSTA.state.windowDefaults[2]};
  }
  void TearDown() override {
    setAll(-11);
    Sequences::TearDown();
    setAll(-11);
    IOMODE = {};
  }
};

TEST_F(Switches, SaveClearsAndRestoreBringsBack) {
  setAll(100);
  const std::vector<int32_t> before = all();
  DSPSAV(1);
  EXPECT_EQ(VWDFLT.word(1), 1);
  EXPECT_EQ(all(), std::vector<int32_t>(11, 0));
  SYNSTA.echo = 1;  // changed while saved
  DSPSAV(1);        // a second save keeps the first values
  EXPECT_EQ(all(), std::vector<int32_t>(11, 0));
  DSPSAV(0);
  EXPECT_EQ(VWDFLT.word(1), 0);
  EXPECT_EQ(all(), before);
}

TEST_F(Switches, ReturnToTerminalRestores) {
  setAll(100);
  const std::vector<int32_t> before = all();
  DSPSAV(1);
  IOMODE.inputMode = 2;
  INPSRC({}, 0);
  EXPECT_EQ(VWDFLT.word(1), 0);
  EXPECT_EQ(all(), before);
}

}  // namespace
}  // namespace kvr
