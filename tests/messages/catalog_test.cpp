#include "messages/catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catfixture.h"
#include "messages/catline.h"
#include "runtime/codtxt.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

using test::Call;
using test::Catalogue;
using test::gCalls;
using test::Lines;

TEST_F(Catalogue, ErrorBlockE1WritesTagAndText) {
  IOMODE.inputMode = 1;  // WRTLN1 gets flag 1 whatever the input
  MSGE1(150);
  MSGE1(159);  // the units digit plays no part
  MSGE1(210);  // a number without a text: its tag alone
  MSGE1(100);
  MSGE1(1490);
  MSGE1(1500);
  MSGE1(99);
  MSGE1(-10);
  const std::string e1100 = "E1100: Database is not useable by this version";
  const std::string e1100b = "       Was created by later incompatible version";
  const std::string e2490 = "E2490: Invalid reinforcement: number of offsets  ";
  const std::string e2490b = "       is inconsistent with surface type";
  EXPECT_EQ(messages(), (Lines{" E1150: Cannot load database", " E1150: Cannot load database", " E1210:",
                               " " + e1100, " Was created by later incompatible version",
                               " E2490: Invalid reinforcement: number of offsets",
                               " is inconsistent with surface type"}));
  Lines journal{journalled("E1150: Cannot load database"), journalled("E1150: Cannot load database"),
                journalled("E1210:"), journalled(e1100), journalled(e1100b), journalled(e2490),
                journalled(e2490b)};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  ASSERT_EQ(gCalls.size(), 7u);
  for (const Call& c : gCalls) {
    EXPECT_EQ(c.writer, LineWriter::WRTLN1);
    EXPECT_EQ(c.flag, 1);
  }
}

// Unit lines of single calls, among them every number the command interpreter passes.
TEST_F(Catalogue, TextsOfTheBlocks) {
  struct Case {
    void (*routine)(int32_t);
    int32_t n;
    Lines lines;  // as HCMSG or the message unit receives them
  };
  const Case cases[] = {
      {MSGE1, 200, {"E1200: Too many component lines specified"}},
      {MSGE1, 400, {"E1400: Illegal letter in name"}},
      {MSGE1, 410, {"E1410: Max 2 characters allowed in alpha part"}},
      {MSGE1, 420, {"E1420: Max 4 characters allowed in alpha part"}},
      {MSGE1, 430, {"E1430: Too many digits in numeric part"}},
      {MSGE1, 440, {"E1440: Alpha part of name already in use"}},
      {MSGE1, 1100, {"E2100: Error with dynamic memory allocation"}},
      {MSGE1, 1130, {"E2130: Insufficient memory currently available"}},
      {MSGE1, 1210, {"E2210: Cannot register array for UNDO"}},
      {MSGE1, 1420, {"E2420:"}},
      {MSGE3, 100, {"E3100: Cannot find specified file"}},
      {MSGE3, 110, {"E3110: Incompatible file format"}},
      {MSGE3, 140, {"E3140: No header lines found in file"}},
      {MSGE3, 210, {"E3210: Ambiguous command"}},
      {MSGE3, 320, {"E3320: Shape index corrupt"}},
      {MSGE3, 370, {"E3370: Failed to open batch file"}},
      {MSGE3, 379, {"E3370: Failed to open batch file"}},
      {MSGE3, 380, {"E3380: Failed to open input file"}},
      {MSGE3, 400, {"E3400: No attributes"}},
      {MSGE3, 430, {"E3430: Loadcase not selected"}},
      {MSGE3, 1070, {"E4070: Insufficient array space"}},
      {MSGE3, 1380, {"E4380: Cannot interrogate directory"}},
      {MSGE3, 1090,
       {"E4090: Model too large for", "Ask your support centre for advice",
        "on increasing the size limits"}},
      {MSGE3, 1450, {"E4450: No  data for this model"}},
      {MSGE3, 2280, {"E5280: Either no results found or values", "outside current results range settings"}},
      {MSGE3, 1810, {"E4810:"}},
      {MSGE3, 2400, {"E5400: IR code is an additional facility not supplied with this library"}},
      {MSGE3, 2899, {"E5890: STRESS operator cannot be used on complex results."}},
      {MSGW1, 100, {"W1100: Next name is the last in this sequence"}},
      {MSGW1, 640, {"W1640: Display list full"}},
      {MSGW1, 1300, {"W2300: Cannot process encoded archive entity",
                     "A standard archive entity has already been processed"}},
      {MSGW1, 1310, {"W2310: Illegal entity for model append"}},
      {MSGW1, 1320, {"W2320: Manual node not processed as start node >1"}},
      {MSGW1, 300, {"W1300: Node is outside work-box"}},
      {MSGW1, 310, {"W1310:"}},
      {MSGW1, 850, {"W1850: Not all points are in or above the surface."}},
      {MSGW1, 910,
       {"W1930: Changes have been made to the current model.",
        "It should be saved prior to this multi-viewport operation"}},
      {MSGW1, 930, {"W1930:"}},
      {MSGW3, 140, {"W3140: No match for this synonym"}},
      {MSGW3, 150, {"W3150: Synonym match exists already", "New synonym will replace old"}},
      {MSGW3, 170, {"W3170: Maximum number of synonyms exceeded"}},
      {MSGW3, 180, {"W3180: This is a priority synonym"}},
      {MSGW3, 900,
       {"W3900: No valid results for presentation:", "Either no results found or values",
        "outside current RESULTS RANGE settings"}},
      {MSGW3, 500, {"W3500 : Frames will be mapped"}},
      {MSGW3, 670, {"W3670  Internal buffer is full", "Line will be truncated"}},
      {MSGW3, 110, {"W3110:"}},
      {MSGW3, 120, {"W3120:"}},
      {MSGW3, 280, {"W3280:"}},
      {MSGW3, 680, {"W3680:"}},
      {MSGW3, 2290, {"W5290: Current picture is not valid in a Montage"}},
  };
  for (const Case& c : cases) {
    gCalls.clear();
    c.routine(c.n);
    Lines got;
    for (const Call& call : gCalls) got.push_back(call.text);
    EXPECT_EQ(got, c.lines) << c.n;
  }
  // Outside the blocks nothing is written.
  gCalls.clear();
  for (int32_t n : {99, 1500, -10, -150}) MSGE1(n);
  for (int32_t n : {99, 2900}) MSGE3(n);
  for (int32_t n : {99, 1600}) MSGW1(n);
  for (int32_t n : {99, 2300}) MSGW3(n);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(Catalogue, JournalCopiesKeepTheLinesBlanks) {
  MSGE3(1090);
  MSGE3(1810);
  MSGW1(850);
  MSGW1(1100);
  MSGW3(1770);
  MSGW3(520);
  Lines journal{
      journalled("E4090: Model too large for "),
      journalled("       Ask your support centre for advice"),
      journalled("       on increasing the size limits"),
      journalled("E4810: "),
      "  *  W1850: Not all points are in or above the surface.",
      journalled("W2100: Database is wrong type for required action"),
      journalled("       Possible problem with file extensions"),
      journalled("W4770: Weights do not add to unity for TE4  "),
      journalled("W3520 : Minimum number of digits is 1"),
      journalled("        Significant digits set to 1"),
  };
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  EXPECT_EQ(journal1()[0].size(), 31u);  // the record's blank and 30 characters
}

TEST_F(Catalogue, CommandErrorsAreNotJournalled) {
  MSGE3(200);
  MSGE3(229);
  MSGE3(190);
  MSGE3(230);
  EXPECT_EQ(messages(), (Lines{" E3200: Incorrect command", " E3220: Too many command items",
                               " E3190: Not on a cutaway", " E3230: Negative argument"}));
  EXPECT_EQ(journal2(), (Lines{journalled("E3190: Not on a cutaway"), journalled("E3230: Negative argument")}));
}

TEST_F(Catalogue, WarningsReachOnlyTheJournals) {
  MSGW1(1100);
  MSGW1(1109);
  MSGW3(170);
  EXPECT_TRUE(messages().empty());
  const std::string w2100 = "W2100: Database is wrong type for required action";
  const std::string w2100b = "       Possible problem with file extensions";
  const std::string w3170 = "W3170: Maximum number of synonyms exceeded";
  Lines journal{journalled(w2100), journalled(w2100b), journalled(w2100), journalled(w2100b),
                journalled(w3170)};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  ASSERT_EQ(gCalls.size(), 5u);
  for (const Call& c : gCalls) {
    EXPECT_EQ(c.writer, LineWriter::HCMSG);
    EXPECT_EQ(c.flag, 1);
  }
  EXPECT_EQ(gCalls[1].text, "Possible problem with file extensions");
  IOMODE.inputMode = 1;  // command-file input
  MSGW1(1100);
  MSGW3(150);
  ASSERT_EQ(gCalls.size(), 9u);
  for (size_t k = 5; k < gCalls.size(); ++k) EXPECT_EQ(gCalls[k].flag, 0);
}

// Every number of each block whose units digit is 0: lines on the unit, in the journals
// and handed to HCMSG.
TEST_F(Catalogue, EveryNumberOfTheBlocksIsWritten) {
  struct Block {
    void (*routine)(int32_t);
    int32_t last;
    size_t unit, journal, hook;
  };
  const Block blocks[] = {{MSGE1, 1490, 154, 154, 0}, {MSGE3, 2890, 307, 304, 0},
                          {MSGW1, 1590, 0, 162, 162}, {MSGW3, 2290, 0, 263, 263}};
  size_t unit = 0, journal = 0;
  for (const Block& b : blocks) {
    gCalls.clear();
    for (int32_t n = 100; n <= b.last; n += 10) b.routine(n);
    size_t hook = 0;
    for (const Call& c : gCalls) hook += c.writer == LineWriter::HCMSG;
    unit += b.unit;
    journal += b.journal;
    EXPECT_EQ(messages().size(), unit) << b.last;
    EXPECT_EQ(journal1().size(), journal) << b.last;
    EXPECT_EQ(journal2().size(), journal) << b.last;
    EXPECT_EQ(hook, b.hook) << b.last;
  }
}

// A name inserted into a line: cut to the codes of its slot and to the room left in the
// 80-position line; a count of 0 or less inserts nothing.
TEST_F(Catalogue, NameInsertIsCutToItsSlotAndTheLine) {
  const CatText texts[] = {{4450, "E4450: No ^ data for this model"},
                           {4460, "E4460: Model too large for ^"}};
  std::vector<int32_t> slot(41, kBlankCode);
  int32_t last = 0;
  TXTCOD(FixedText(5, "KVX*."), 1, slot, last);
  std::vector<int32_t> wide(80, codeOf('w'));
  struct Case {
    int32_t number;
    NameInsert name;
    std::string line;
  };
  const Case cases[] = {
      {4450, {}, "E4450: No  data for this model"},
      {4450, {slot, 3}, "E4450: No KVX data for this model"},
      {4460, {slot, 3}, "E4460: Model too large for KVX"},
      {4460, {std::span(slot).first(3), 999}, "E4460: Model too large for KVX"},
      {4460, {slot, 0}, "E4460: Model too large for"},
      {4460, {slot, -4}, "E4460: Model too large for"},
      {4460, {wide, 80}, "E4460: Model too large for " + std::string(53, 'w')},
      {4450, {wide, 80}, "E4450: No " + std::string(70, 'w')},
  };
  for (const Case& c : cases) {
    gCalls.clear();
    writeBlockMessage('E', c.number, texts, UnitWriter::WRTLN1, false, c.name);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].text, c.line) << c.name.count;
  }
}

// E4090 and E4450 insert program-name text 2, name slot 3 of the catalogue texts.
TEST_F(Catalogue, ProgramNameComesFromNameSlotThree) {
  auto& slot = IOMODE.nameSlot(3);
  const auto saved = slot;
  slot.codes.fill(kBlankCode);
  int32_t last = 0;
  TXTCOD(FixedText(5, "KVX*."), 1, slot.codes, last);
  slot.count = 3;
  MSGE3(1090);
  MSGE3(1450);
  slot.count = 999;  // a count beyond the slot inserts the slot's codes and no more
  MSGE3(1090);
  slot = saved;
  ASSERT_GE(messages().size(), 5u);
  EXPECT_EQ(messages()[0], " E4090: Model too large for KVX");
  EXPECT_EQ(messages()[3], " E4450: No KVX data for this model");
  EXPECT_EQ(messages()[4], " E4090: Model too large for KVX");
}

TEST_F(Catalogue, UnitLinesComeBeforeTheJournalLines) {
  // Both channels write to the message unit, so the order of all lines shows in one file.
  IOUNIT.slot(kSlotJournalFile) = kMessageUnit;
  IOUNIT.slot(kSlotLogFile) = kMessageUnit;
  const int32_t ints[] = {13, 4001};
  MSGM(12, ints, {}, {}, {});
  const std::string first = "M012: Database index error < 13 >  parameter < 4001 >";
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
      {13, true, "M0013:Next number for new node must be 0", ""},
      {1036, false, "", "W0036:Failed to move node 0 to given shape"},
      {2020, false, "E0020:The points can not define a coord system", "E0020:The points can not define a coord system"},
      {3000, false, "F0000: 0 0 0 0 . Please report error.", "F0000: 0 0 0 0 . Please report error."},
      {4013, false, "", " 0013:Next number for new node must be 0"},
      {4018, false, "", " 0018:Copy to existing part is not allowed"},
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
