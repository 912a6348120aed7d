#include "messages/catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../runtime/msgfixture.h"
#include "messages/catline.h"
#include "runtime/codtxt.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

using test::Lines;

struct Call {
  LineWriter writer;
  int32_t flag;
  std::string text;
};
std::vector<Call> gCalls;

class Catalogue : public test::MessageFixture {
 protected:
  void SetUp() override {
    MessageFixture::SetUp();
    enableJournals();
    gCalls.clear();
    setLineWriterObserver([](LineWriter w, int32_t flag, FText text) {
      gCalls.push_back({w, flag, text.trimmed()});
    });
  }
  // The journal copy of LINE, as both channels hold it.
  static std::string journalled(const std::string& line) { return "  * " + line; }
};

TEST_F(Catalogue, ErrorBlockE1WritesTagAndText) {
  MSGE1(150);
  MSGE1(159);  // the units digit plays no part
  MSGE1(210);  // a number without a text: its tag alone
  MSGE1(1500);
  MSGE1(99);
  MSGE1(-10);
  EXPECT_EQ(messages(), (Lines{" E1150: Cannot load database", " E1150: Cannot load database", " E1210:"}));
  Lines journal{journalled("E1150: Cannot load database"), journalled("E1150: Cannot load database"),
                journalled("E1210:")};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  ASSERT_EQ(gCalls.size(), 3u);
  EXPECT_EQ(gCalls[0].writer, LineWriter::WRTLN1);
  EXPECT_EQ(gCalls[0].flag, 1);
}

TEST_F(Catalogue, TextsOfTheErrorBlocks) {
  struct Case {
    void (*routine)(int32_t);
    int32_t n;
    std::string line;
  };
  const Case cases[] = {
      {MSGE1, 100, "E1100: Database is not useable by this version"},
      {MSGE1, 1210, "E2210: Cannot register array for UNDO"},
      {MSGE1, 1499, "E2490:"},
      {MSGE3, 370, "E3370: Failed to open batch file"},
      {MSGE3, 1340, "E4340: Cannot re-open database after setting write lock"},
      {MSGE3, 1430, "E4430: Cannot write to archive file"},
      {MSGE3, 1480, "E4480:"},
      {MSGE3, 2899, "E5890:"},
  };
  Lines expected;
  for (const Case& c : cases) {
    c.routine(c.n);
    expected.push_back(" " + c.line);
  }
  MSGE3(99);
  MSGE3(2900);
  EXPECT_EQ(messages(), expected);
}

TEST_F(Catalogue, CommandErrorsAreNotJournalled) {
  MSGE3(200);
  MSGE3(229);
  MSGE3(190);
  MSGE3(230);
  EXPECT_EQ(messages(), (Lines{" E3200:", " E3220:", " E3190:", " E3230:"}));
  EXPECT_EQ(journal2(), (Lines{journalled("E3190:"), journalled("E3230:")}));
}

TEST_F(Catalogue, WarningsReachOnlyTheJournals) {
  MSGW1(1100);
  MSGW1(1190);
  MSGW1(1600);
  EXPECT_TRUE(messages().empty());
  Lines journal{journalled("W2100: Database is wrong type for required action"),
                journalled("W2190: UNDO facility is now switched off")};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_EQ(gCalls[0].writer, LineWriter::HCMSG);
  EXPECT_EQ(gCalls[0].flag, 1);
  IOMODE.inputMode = 1;
  MSGW1(100);
  EXPECT_EQ(gCalls.at(2).flag, 0);
}

TEST_F(Catalogue, MessagesOfBlockMUseTheirOwnWriters) {
  const int32_t none[1] = {0};
  const float real[1] = {0.0f};
  struct Case {
    int32_t n;
    LineWriter writer;
  };
  const Case cases[] = {{12, LineWriter::WRTLN1}, {18, LineWriter::WRTLIN}, {45, LineWriter::HCMSG},
                        {801, LineWriter::WRTLN1}};
  for (const Case& c : cases) MSGM(c.n, none, real, none, none);
  const int32_t nothing[] = {0, 61, 400, 443, 831, -5};
  for (int32_t n : nothing) MSGM(n, none, real, none, none);
  ASSERT_EQ(gCalls.size(), 5u);
  EXPECT_EQ(gCalls[0].writer, LineWriter::WRTLN1);
  EXPECT_EQ(gCalls[0].text, "M012: Database index error");
  EXPECT_EQ(gCalls[1].text, "Database index probably corrupt");
  EXPECT_EQ(gCalls[2].writer, LineWriter::WRTLIN);
  EXPECT_EQ(gCalls[3].writer, LineWriter::HCMSG);
  EXPECT_EQ(gCalls[4].text, "M801:");
  EXPECT_EQ(messages(), (Lines{" M012: Database index error", " Database index probably corrupt", " M018:",
                               " M801:"}));
  // Both unit lines of M012 come before its journal lines; M801 is not journalled.
  EXPECT_EQ(journal2(), (Lines{journalled("M012: Database index error"),
                               journalled("Database index probably corrupt"), journalled("M018:"),
                               journalled("M045:")}));
}

TEST_F(Catalogue, UnitLinesComeBeforeTheJournalLines) {
  // Both channels write to the message unit, so the order of all lines shows in one file.
  IOUNIT.slot(kSlotJournalFile) = kMessageUnit;
  IOUNIT.slot(kSlotLogFile) = kMessageUnit;
  const int32_t none[1] = {0};
  const float real[1] = {0.0f};
  MSGM(12, none, real, none, none);
  const std::string first = "M012: Database index error";
  const std::string second = "Database index probably corrupt";
  EXPECT_EQ(messages(), (Lines{" " + first, " " + second, journalled(first), journalled(first),
                               journalled(second), journalled(second)}));
}

TEST_F(Catalogue, MeshMessage0025NamesTheSetAndTheLimit) {
  std::vector<int32_t> words(2);
  int32_t last = 0;
  TXTA4(FixedText(10, "SET     *."), 1, words, last);  // "SET " and "    "
  ASSERT_EQ(last, 2);
  MSGQIN(-2025, words[0]);
  MSGQIN(-2025, words[1]);
  MSGQRL(2025, 20);
  const std::string line = "E0025:Too many nodes on SET      . Max is 20";
  EXPECT_EQ(messages(), (Lines{" " + line}));
  EXPECT_EQ(journal1(), (Lines{journalled(line)}));
  EXPECT_EQ(journal2(), (Lines{journalled(line)}));
  EXPECT_EQ(MSGARG.count(), 0);
}

TEST_F(Catalogue, MeshMessagesAreRoutedBySeverity) {
  struct Case {
    int32_t code;
    bool echo;
    std::string unit;     // empty: no unit line
    std::string journal;  // empty: no journal line
  };
  const Case cases[] = {
      {13, false, "", ""},
      {13, true, "M0013:", ""},
      {1036, false, "", "W0036:"},
      {2019, false, "E0019:", "E0019:"},
      {3000, false, "F0000:", "F0000:"},
      {4013, false, "", " 0013:"},
      {2260, false, "", ""},
      {2350, false, "", ""},
      {1999, false, "", ""},
  };
  Lines unit, journal;
  for (const Case& c : cases) {
    SYNSTA.echo = c.echo ? 1 : 0;
    MSGQIN(-1, 0);
    MSGQ0(c.code);
    EXPECT_EQ(MSGARG.count(), 0) << c.code;
    if (!c.unit.empty()) unit.push_back(" " + c.unit);
    if (!c.journal.empty()) journal.push_back(journalled(c.journal));
  }
  EXPECT_EQ(messages(), unit);
  EXPECT_EQ(journal2(), journal);
}

TEST_F(Catalogue, JournalCopiesStopAfter77CharactersAndKeepIndentation) {
  std::vector<CatLine> lines{CatLine(255), CatLine(80)};
  const std::string longText(100, 'q');
  lines[0].putTag('E', 1999, 4, 1);
  lines[0].put(longText, lines[0].length() + 2);
  lines[1].put("Second", 8);
  writeCatalogue(lines, UnitWriter::WRTLN1, true);
  EXPECT_EQ(messages(), (Lines{" E1999: " + longText, " Second"}));
  EXPECT_EQ(journal2(), (Lines{journalled("E1999: " + longText.substr(0, 70)), journalled("       Second")}));
}

}  // namespace
}  // namespace kvr
