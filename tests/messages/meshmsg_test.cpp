#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "catfixture.h"
#include "messages/catalog.h"
#include "messages/meshtext.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "runtime/codtxt.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using test::Catalogue;
using test::gCalls;
using test::Lines;

int32_t bitsOf(float x) { return std::bit_cast<int32_t>(x); }

// The word of four packed characters.
int32_t packed(const char (&text)[5]) {
  uint32_t w = 0;
  for (int c = 3; c >= 0; --c) w = (w << 8) | static_cast<unsigned char>(text[c]);
  return static_cast<int32_t>(w);
}

MeshSlots slotsOf(std::initializer_list<int32_t> words) {
  MeshSlots slots{};
  slots.words.fill(kBlankCode);
  size_t k = 0;
  for (int32_t w : words) slots.words[k++] = w;
  return slots;
}

TEST_F(Catalogue, MeshMessageSeverityChoosesLetterWriterAndJournal) {
  const std::string text = "0013:Next number for new node must be 25";
  MSGQRL(2013, 25);
  EXPECT_EQ(MSGARG.count(), 0);
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].writer, LineWriter::WRTLN1);
  EXPECT_EQ(gCalls[0].flag, 1);
  SYNSTA.echo = 1;
  MSGQRL(13, 25);
  EXPECT_EQ(MSGARG.count(), 0);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_EQ(gCalls[1].writer, LineWriter::WRTLIN);
  SYNSTA.echo = 0;
  MSGQRL(13, 25);  // dropped, the queue emptied all the same
  EXPECT_EQ(MSGARG.count(), 0);
  MSGQRL(4013, 25);
  MSGQRL(1013, 25);
  for (int32_t code : {1350, 2999, 4350, 2260, 2268, 2269, 2339}) {
    MSGQIN(-code, 7);
    MSGQ0(code);
    EXPECT_EQ(MSGARG.count(), 0) << code;
  }
  EXPECT_EQ(messages(), (Lines{" E" + text, " M" + text}));
  const Lines journal{"  * E" + text, "  *  " + text, "  * W" + text};
  EXPECT_EQ(journal1(), journal);
  EXPECT_EQ(journal2(), journal);
  EXPECT_EQ(gCalls.size(), 3u);  // the warning went to the host's hook
}

TEST_F(Catalogue, MeshCountsAreRoundedBackOrCut) {
  struct Case {
    float value;
    std::string counted, cut;
  };
  const Case cases[] = {{2.95f, "3", "2"}, {2.5f, "2", "2"}, {-2.95f, "-3", "-2"}, {0.93f, "1", "0"},
                        {-0.05f, "0", "0"}};
  const MeshText texts[] = {{1, R"("0001:" {I1} & "/" & {T1})"}};
  for (const Case& c : cases) {
    gCalls.clear();
    MSGQIN(-2013, bitsOf(c.value));  // the bits of the real, as posted
    MSGQ0(2013);
    writeMeshMessage(2001, texts, slotsOf({bitsOf(c.value)}));
    EXPECT_EQ(handed(), (Lines{"E0013:Next number for new node must be " + c.counted,
                               "E0001: " + c.counted + "/" + c.cut}))
        << c.value;
  }
}

TEST_F(Catalogue, MeshNotationPlacesPiecesAndValues) {
  const int32_t abc = packed("ABC ");
  const int32_t blank = kBlankCode;
  struct Case {
    MeshText text;
    MeshSlots slots;
    Lines lines;  // as the journals hold them, without the mark
  };
  const Case cases[] = {
      {{1, R"("0001:Name" {N1} "end")"}, slotsOf({abc, blank}), {"E0001:Name ABC      end"}},
      {{1, R"("0001:Name" {S1} "end")"}, slotsOf({abc, packed("D   ")}), {"E0001:Name ABC D end"}},
      {{1, R"("0001:Name" & {S1} & "end")"}, slotsOf({blank, blank}), {"E0001:Nameend"}},
      {{1, R"("0001:Trailing " {C1} "|" & {c2})"}, slotsOf({abc, packed("XYZW")}), {"E0001:Trailing  ABC  |X"}},
      {{1, R"("0001:" {R1,4} "and" {R2,5})"}, slotsOf({bitsOf(1.5f), bitsOf(-0.25f)}), {"E0001: 1.5 and -.25"}},
      {{1, R"("0001:Two lines")", R"((col 7) {I1} "more")", R"("third" & {T1})"},
       slotsOf({bitsOf(3.0f)}),
       {"E0001:Two lines", "      3 more", "third3"}},
      {{1, R"((col 4) "0001:")"}, slotsOf({}), {"E  0001:"}},
      {{1, R"()"}, slotsOf({}), {"E"}},
      // A name in slot 10 reads its second word as blanks.
      {{1, R"("0001:" {N10} "|")"}, slotsOf({1, 2, 3, 4, 5, 6, 7, 8, 9, abc}), {"E0001: ABC      |"}},
  };
  Lines want;
  for (const Case& c : cases) {
    const MeshText texts[] = {c.text};
    writeMeshMessage(2001, texts, c.slots);
    for (const std::string& line : c.lines) want.push_back(journalled(line));
  }
  EXPECT_EQ(journal2(), want);
}

TEST_F(Catalogue, MeshVariantsAreChosenBySelector) {
  const MeshText texts[] = {
      {5, R"("0005:none")", {}, {}, [](const MeshSlots& s) { return s.count(1) > 0 ? 1 : 0; }},
      {5, R"("0005:" {I1} "found")", R"("second line")"},
      {7, R"("0007:")", {}, {}, [](const MeshSlots&) { return 9; }},  // out of range: the first
  };
  writeMeshMessage(2005, texts, slotsOf({bitsOf(0.0f)}));
  writeMeshMessage(2005, texts, slotsOf({bitsOf(4.0f)}));
  writeMeshMessage(2007, texts, slotsOf({}));
  writeMeshMessage(2006, texts, slotsOf({}));  // no description: the tag alone
  EXPECT_EQ(handed(), (Lines{"E0005:none", "E0005: 4 found", "second line", "E0007:", "E0006:"}));
}

TEST_F(Catalogue, LongMeshContinuationLinesAreKeptWhole) {
  const std::string longPiece(100, 'x');
  const std::string line2 = "\"" + longPiece + "\"";
  const MeshText own[] = {{69, R"("0069:Short")", line2}};
  writeMeshMessage(2069, own, slotsOf({}));
  EXPECT_EQ(messages(), (Lines{" E0069:Short", " " + longPiece}));
  EXPECT_EQ(journal1(), (Lines{journalled("E0069:Short"), journalled(longPiece.substr(0, 77))}));
}

// The full model registry with named array 27, whose record 5 names section "ABC".
class Reinforcement : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    int32_t stat = -1;
    ARRNUM(1);
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
    std::vector<int32_t> name{packed("ABC "), kBlankCode};
    ARRIO(-1, 27, 5, 1, -1, name, {}, stat);
    ASSERT_EQ(stat, 0);
  }
  void TearDown() override { reset(); }
  static void reset() {
    CoreFreeFile(-1);
    REGHED = {};
  }
};

TEST_F(Reinforcement, TextsAreAppendedAfterTheSection) {
  struct Case {
    int32_t code, section, position;
    std::string text;  // from position 1
    int32_t last;
  };
  const Case cases[] = {
      {12, 5, 1, "Reinforcement section ABC      is not a bar section", 51},
      {12, 0, 1, "One reinforcement section is not a bar section", 46},
      {11, -3, 1, "One reinforcement section could not be recovered", 48},
      {13, 5, 1, "Reinforcement section ABC      is not a grid section", 52},
      {99, 0, 1, "Cannot recover reinforcement definition", 39},
      {4, 0, 3, "  Cannot project point onto surface", 35},
      {7, 0, 1, "", 77},
      {0, 0, 1, "", 77},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> line(80, kBlankCode);
    int32_t last = 77;
    REITXT(c.code, c.section, c.position, line, last);
    EXPECT_EQ(last, c.last) << c.code;
    std::string got;
    for (int32_t k = 0; k < last && k < 80; ++k) got.push_back(charOf(line[static_cast<size_t>(k)]));
    EXPECT_EQ(got, c.last == 77 ? std::string(77, ' ') : c.text) << c.code;
  }
  // The line's end cuts the text.
  std::vector<int32_t> short30(30, kBlankCode);
  int32_t last = 0;
  REITXT(12, 5, 1, short30, last);
  EXPECT_EQ(last, 30);
}

}  // namespace
}  // namespace kvr
