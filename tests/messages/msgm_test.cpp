#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "catfixture.h"
#include "messages/catalog.h"

namespace kvr {
namespace {

using test::Catalogue;
using test::gCalls;
using test::Lines;

// The two words of a name packed four characters per word, as reals.
std::vector<float> packed(const char (&text)[9]) {
  std::vector<float> words;
  for (int k = 0; k < 2; ++k) {
    uint32_t w = 0;
    for (int c = 3; c >= 0; --c) w = (w << 8) | static_cast<unsigned char>(text[4 * k + c]);
    words.push_back(std::bit_cast<float>(w));
  }
  return words;
}

struct Case {
  int32_t n;
  std::vector<int32_t> ints;
  std::vector<float> real;
  std::string name;
  std::vector<int32_t> lengths;  // empty: the name's length
  Lines lines;                   // as the writer receives them
};

class MessagesM : public Catalogue {
 protected:
  static void call(const Case& c) {
    const std::vector<int32_t> name = codes(c.name);
    std::vector<int32_t> lengths = c.lengths;
    if (lengths.empty()) lengths = {static_cast<int32_t>(name.size()), 0};
    MSGM(c.n, c.ints, c.real, name, lengths);
  }
};

TEST_F(MessagesM, ValuesAreInsertedAsEachMessageShowsThem) {
  const Case cases[] = {
      {18, {}, {}, "ABC", {}, {"M018: Loadcase < ABC > selected"}},
      {1, {}, {}, "M1", {}, {"M001: No  index file for model < M1 >"}},
      {401, {}, {}, "M1", {}, {"M401: No  database file for model < M1 >"}},
      {19, {4}, {}, "LC", {}, {"M019: Loadcase < LC >  step < 4 > selected"}},
      {20, {1}, {}, "S1", {}, {"M020: The results stack S1 contains < 1 > item"}},
      {20, {2}, {}, "S1", {}, {"M020: The results stack S1 contains < 2 > items"}},
      {35, {1}, {}, "", {}, {"M035: < 1 > symbol turned on"}},
      {35, {0}, {}, "", {}, {"M035: < 0 > symbols turned on"}},
      {39, {}, {}, "ABCDE", {2, 3}, {"M039: Cannot graph < AB > against < CDE >"}},
      {25, {0}, {}, "LC1", {},
       {"M025: Error: To add to this surface scan loadcase", "the source loadcase must be < LC1 >"}},
      {25, {3}, {}, "LC1", {},
       {"M025: Error: To add to this surface scan loadcase",
        "the source loadcase must be < LC1 > step < 3 >"}},
      {436, {7, 1}, {}, "", {}, {"M436: Error in Interface Program", "Format error with physical aspect < 7 >"}},
      {436, {7, 0}, {}, "", {}, {"M436: Error in Interface Program", "Format error with material aspect < 7 >"}},
      {434, {0, 1}, {}, "", {}, {"M434: Error in Interface Program.", "With physical aspect definitions"}},
      {438, {9, 1}, {}, "", {},
       {"M438: Error in Interface Program", "Format error with physical parameter ID < 9 >"}},
      {817, {1}, {}, "NOTE", {}, {"M817:NOTE"}},
      {817, {2}, {}, "NOTE", {}, {"NOTE"}},
      {830, {6, 101}, {}, "ITEM", {},
       {"M830: Error with command processor memory", "Error < 6 >  Function < ITEM >  Menu offset < 101 >"}},
      {818, {5, 1, 20}, packed("NODES   "), "", {},
       {"M818: Problem searching dynamic memory for name NODES",
        "in Array 5 between limits 1 and 20.  Array is not registered."}},
      {819, {5, 1, 20}, packed("AB  CD  "), "", {},
       {"M819: Problem searching dynamic memory for name AB  CD", "in Array 5 between limits 1 and 20",
        "Attempting to search unallocated space."}},
      {23, {}, {2.5f}, "", {}, {"M023: Error : Reading co-ordinates : line number = 2.5", "Data set is empty"}},
      {21, {-4}, {3.25f}, "", {},
       {"M021: Error : Reading co-ordinates : line number = 3.25", "Node number < -4 > is invalid data",
        "Node numbers must be greater than zero"}},
      {805, {3, 5, 7}, {}, "", {}, {"M805: Error : Writing < 3 > records to array < 5 >. Start record < 7 >"}},
      {801, {}, {}, "XYZ", {},
       {"M801: Incorrect command", "< XYZ > does not exist, is inappropriate or too long"}},
      {803, {}, {}, "P1", {}, {"< P1 > invalid part or set name"}},
      {53, {}, {}, "TEXT", {}, {"E053: TEXT"}},
      {822, {}, {}, "/tmp/work", {}, {"M822: Working directory set to:", "/tmp/work"}},
      {441, {}, {}, "", {}, {"M451: A Frequency Curve is attached to this load"}},
      {442, {}, {}, "", {}, {"M452: A Time Curve is attached to this load"}},
      {60, {}, {}, "", {}, {"M060:"}},
      // A value the arrays do not hold reads as 0; a length beyond the name takes its size,
      // one of 0 or less inserts nothing.
      {12, {}, {}, "", {0}, {"M012: Database index error < 0 >  parameter < 0 >", "Database index probably corrupt"}},
      {16, {}, {}, "AB", {99}, {"M016: Shape < AB > does not exist"}},
      {16, {}, {}, "AB", {-3}, {"M016: Shape <  > does not exist"}},
      {39, {}, {}, "ABC", {2, 9}, {"M039: Cannot graph < AB > against < C >"}},
      {39, {}, {}, "ABC", {-1, 2}, {"M039: Cannot graph <  > against < AB >"}},
  };
  for (const Case& c : cases) {
    gCalls.clear();
    call(c);
    EXPECT_EQ(handed(), c.lines) << c.n;
  }
}

TEST_F(MessagesM, CommandErrorMarksTheWrongPart) {
  const std::string command = "UTILITY SETUP XY";
  const Case cases[] = {
      {824, {15, 16}, {}, command, {}, {"E3200: Incorrect command: UTILITY SETUP < XY >"}},
      {824, {1, 7}, {}, command, {}, {"E3200: Incorrect command: < UTILITY > SETUP XY"}},
      {824, {9, 13}, {}, command, {}, {"E3200: Incorrect command: UTILITY < SETUP > XY"}},
      // Positions beyond the line are cut to it: j to 1..n, then i to 1..j.
      {824, {20, 30}, {}, command, {}, {"E3200: Incorrect command: UTILITY SETUP X< Y >"}},
      {824, {9, 3}, {}, command, {}, {"E3200: Incorrect command: UT< I >LITY SETUP XY"}},
      {824, {-5, -5}, {}, command, {}, {"E3200: Incorrect command: < U >TILITY SETUP XY"}},
      {824, {1, 7}, {}, command, {0}, {"E3200: Incorrect command"}},
      {824, {1, 7}, {}, command, {99}, {"E3200: Incorrect command: < UTILITY > SETUP XY"}},
      // The line would reach position 255: the command is not shown.
      {824, {1, 2}, {}, std::string(225, 'c'), {}, {"E3200: Incorrect command"}},
  };
  for (const Case& c : cases) {
    gCalls.clear();
    call(c);
    EXPECT_EQ(handed(), c.lines) << c.ints[0] << " " << c.ints[1];
  }
  gCalls.clear();
  call({824, {1, 1}, {}, std::string(224, 'c'), {}, {}});
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].text.size(), 24u + 4 + 1 + 2 + 223);
}

TEST_F(MessagesM, TetMeshingListsItsIntegersOnTwoLines) {
  const std::vector<int32_t> ints(40, 1000);
  std::string line1 = "M820: Tet Meshing ABC";
  for (int k = 0; k < 16; ++k) line1 += " 1000";
  std::string line2 = " 1000";
  for (int k = 1; k < 15; ++k) line2 += " 1000";
  ASSERT_EQ(line1.size(), 101u);
  call({820, ints, {}, "ABC", {3, 40}, {}});
  EXPECT_EQ(handed(), (Lines{line1, line2.substr(1)}));
  EXPECT_EQ(journal1(), (Lines{journalled(line1.substr(0, 77)), journalled(line2)}));
  gCalls.clear();
  call({820, ints, {}, "ABC", {3, 0}, {}});
  call({820, std::vector<int32_t>(3, 7), {}, "ABC", {3, 40}, {}});  // the count cut to the integers given
  EXPECT_EQ(handed(), (Lines{"M820: Tet Meshing ABC", "M820: Tet Meshing ABC 7 7 7"}));
}

TEST_F(MessagesM, EachMessageHasItsWriterAndJournal) {
  IOMODE.inputMode = 1;  // command-file input: WRTLIN and HCMSG get flag 0
  call({18, {}, {}, "ABC", {}, {}});
  call({1, {}, {}, "M1", {}, {}});
  call({801, {}, {}, "XYZ", {}, {}});
  call({803, {}, {}, "P1", {}, {}});
  call({441, {}, {}, "", {}, {}});
  for (int32_t n : {0, 61, 400, 443, 451, 452, 800, 831, -12}) call({n, {}, {}, "", {}, {}});
  ASSERT_EQ(gCalls.size(), 6u);
  const LineWriter writers[] = {LineWriter::WRTLIN, LineWriter::WRTLN1, LineWriter::WRTLN1,
                                LineWriter::WRTLN1, LineWriter::WRTLN1, LineWriter::HCMSG};
  const int32_t flags[] = {0, 1, 1, 1, 1, 0};
  for (size_t k = 0; k < gCalls.size(); ++k) {
    EXPECT_EQ(gCalls[k].writer, writers[k]) << k;
    EXPECT_EQ(gCalls[k].flag, flags[k]) << k;
  }
  EXPECT_EQ(messages(), (Lines{" M018: Loadcase < ABC > selected", " M001: No  index file for model < M1 >",
                               " M801: Incorrect command",
                               " < XYZ > does not exist, is inappropriate or too long",
                               " < P1 > invalid part or set name"}));
  const Lines journal{journalled("M018: Loadcase < ABC > selected"),
                      journalled("M001: No  index file for model < M1 > "),
                      journalled("M451: A Frequency Curve is attached to this load")};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
}

// Program-name text 1 is name slot 2, text 2 name slot 3.
TEST_F(MessagesM, ProgramNameTextsComeFromTheirSlots) {
  for (int32_t k : {2, 3}) {
    auto& slot = IOMODE.nameSlot(k);
    const std::vector<int32_t> name = codes(k == 2 ? "ONE" : "TWO");
    std::copy(name.begin(), name.end(), slot.codes.begin());
    slot.count = 3;
  }
  call({429, {4}, {}, "", {}, {}});
  call({1, {}, {}, "M1", {}, {}});
  EXPECT_EQ(handed(), (Lines{"M429: No ONE sets exist for this model", "but < 4 > parts can be transfered as TWO sets",
                             "M001: No TWO index file for model < M1 >"}));
}

TEST_F(MessagesM, LongLinesReachTheUnitWholeAndTheJournalsCut) {
  const std::string name(120, 'n');
  call({16, {}, {}, name, {}, {}});
  const std::string line = "M016: Shape < " + name + " > does not exist";
  ASSERT_EQ(line.size(), 151u);
  EXPECT_EQ(messages(), (Lines{" " + line}));
  EXPECT_EQ(journal2(), (Lines{journalled(line.substr(0, 77))}));
  // A name longer than the room left is cut at position 255.
  gCalls.clear();
  call({16, {}, {}, std::string(300, 'n'), {}, {}});
  EXPECT_EQ(handed(), (Lines{"M016: Shape < " + std::string(241, 'n')}));
}

}  // namespace
}  // namespace kvr
