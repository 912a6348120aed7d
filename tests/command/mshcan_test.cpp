// The mesh cancel and the set deletion on a small model: three lines, two surfaces, two
// bodies, sets 2 and 3 with their names, chain heads and member blocks, and a display
// selection list.
#include "command/mshcan.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/seqnxt.h"
#include "dsllist.h"
#include "modeldb/dbhead.h"
#include "modeldb/entrec.h"
#include "modeldb/seqtab.h"
#include "modeldb/setrec.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/geosta.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

using test::Entries;
using test::gWriterLines;
using test::kBlankWord;
using test::kMarkerWord;
using test::Lines;
using test::WriterLine;
using Words = std::vector<int32_t>;

class MeshCancel : public test::DisplayListFixture {
 protected:
  void SetUp() override {
    DisplayListFixture::SetUp();
    PLTDEV.outputMode = kOutputConsole;  // the object kind chooses the unit's writer
    SYNSTA.echo = 1;
    DBFMT = kFormatCurrent;

    MODCNT.word(kCntLines) = 3;
    line(1, 3, 6);
    line(2, 9, 6);
    line(3, 3, 5);
    MODCNT.word(kCntSurfaces) = 2;
    put(6, 1, {0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 0, 0, 1, 0});
    put(6, 2, {0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0});
    MODCNT.word(kCntBodies) = 2;
    put(8, 1, {0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 0, 0, 0, 0, 0});
    put(8, 2, {0, 0, 0, 0, 0, 0, 0, 0, 4, 4, -1, 0, 0, 0, 0});

    // Sets 2 and 3; set 3 ("BIN1") chains blocks 7 and 9; the free chain starts at 4.
    MODCNT.word(kCntSets) = 3;
    MODCNT.word(kCntSetBlockTop) = 9;
    name(1, "", kBlankWord);
    name(2, "SET2", kBlankWord);
    name(3, "BIN1", kBlankWord);
    set(1, 4);
    set(2, 1);
    set(3, 7);
    for (int32_t b = 1; b <= 9; ++b) block(b, 0);
    block(7, 9);
    GEOSTA.word(kGeoBinset) = a4Word("BIN1");
    GEOSTA.word(kGeoBinset + 1) = kBlankWord;

    setList({{3, 1, 1, 0}, {-9, 1, 2, 0}, {-5, 1, 3, 0}, {4, 1, 4, 0}});
    MODCNT.word(kCntMeshOpen) = 1;
    MODCNT.word(kCntHighestNode) = 40;
    MODCNT.word(kCntHighestElement) = 35;
    MODCNT.word(kCntSavedNodes) = 10;
    MODCNT.word(kCntSavedElements) = 20;
    MODCNT.word(kCntMeshStamp) = 7;
    MODCNT.word(kCntSavedMeshStamp) = 5;
    MODCNT.word(kCntMeshState) = 9;
  }
  void TearDown() override {
    GEOSTA = {};
    VWDFLT = {};
    DisplayListFixture::TearDown();
  }

  static void put(int32_t array, int32_t id, Words w) { RECIO(-1, array, id, w); }
  static Words get(int32_t array, int32_t id, size_t n) {
    Words w(n);
    RECIO(1, array, id, w);
    return w;
  }
  // Line ID of TYPE, its division stamped STAMP (word 13), words 8 and 9 set.
  static void line(int32_t id, int32_t type, int32_t stamp) {
    Words w(16, 0);
    w[7 - 1] = type * 100;
    w[8 - 1] = 11;
    w[9 - 1] = 12;
    w[13 - 1] = stamp;
    put(4, id, w);
  }
  static void name(int32_t id, std::string_view first, int32_t second) {
    put(kArrSetNames, id, {first.empty() ? kBlankWord : a4Word(first), second});
  }
  static void set(int32_t id, int32_t head) { put(kArrSets, id, {head, 1, 0, 0}); }
  static void block(int32_t b, int32_t next) {
    Words w(63, 0);
    w[0] = 1;
    w[1] = b;
    w[63 - 1] = next;
    put(kArrMemberBlocks, b, w);
  }
  static int32_t link(int32_t b) { return get(kArrMemberBlocks, b, 63)[63 - 1]; }
  static int32_t head(int32_t id) { return get(kArrSets, id, 4)[0]; }
  static Words setName(int32_t id) { return get(kArrSetNames, id, 2); }
};

TEST_F(MeshCancel, CancelsTheRunAndEmptiesTheBinset) {
  MSHCAN();
  EXPECT_EQ(hostLines(), Lines{"W0133:Mesh cancelled above NN= 10 and NE= 20"});
  EXPECT_EQ(messages(), (Lines{"  *** MESH CANCELLED ***",
                               " M0084: BIN1     (the current BINSET) has been emptied"}));
  ASSERT_GE(gWriterLines.size(), 2u);
  EXPECT_EQ(gWriterLines[1], (WriterLine{LineWriter::WRTLN1, " *** MESH CANCELLED ***"}));
  EXPECT_EQ(journal1(), Lines{"  * W0133:Mesh cancelled above NN= 10 and NE= 20"});
  EXPECT_EQ(journal2(), Lines{"  * W0133:Mesh cancelled above NN= 10 and NE= 20"});

  EXPECT_EQ(list(), (Entries{{3, 1, 1, 0}, {4, 1, 4, 0}}));
  EXPECT_EQ(setName(3), (Words{kMarkerWord, kBlankWord}));
  EXPECT_EQ(setName(2), (Words{a4Word("SET2"), kBlankWord}));
  EXPECT_EQ(MODCNT.word(kCntDelSets), 1);
  EXPECT_EQ(head(1), 7);

  EXPECT_EQ(MODCNT.word(kCntHighestNode), 10);
  EXPECT_EQ(MODCNT.word(kCntHighestElement), 20);
  EXPECT_EQ(MODCNT.word(kCntMeshStamp), 5);
  EXPECT_EQ(MODCNT.word(kCntMeshOpen), 0);
  EXPECT_EQ(MODCNT.word(kCntMeshState), 0);
  EXPECT_EQ(GFXDFS.state(kWindow), 1);

  EXPECT_EQ(get(4, 1, 16)[7], 0);  // type 3 divided after the stamp: words 8 and 9 cleared
  EXPECT_EQ(get(4, 1, 16)[8], 0);
  EXPECT_EQ(get(4, 2, 16)[7], 11);  // type 9 kept
  EXPECT_EQ(get(4, 2, 16)[8], 12);
  EXPECT_EQ(get(4, 3, 16)[7], 11);  // stamp 5 kept
  EXPECT_EQ(get(4, 3, 16)[8], 12);
  EXPECT_EQ(get(6, 1, 14), (Words{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(get(6, 2, 14), (Words{0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(get(8, 1, 15), (Words{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(get(8, 2, 15), (Words{0, 0, 0, 0, 0, 0, 0, 0, 4, 4, -1, 0, 0, 0, 0}));
}

TEST_F(MeshCancel, AClosedRunChangesNothing) {
  MODCNT.word(kCntMeshOpen) = 0;
  const ModCnt before = MODCNT;
  MSHCAN();
  EXPECT_EQ(MODCNT.words, before.words);
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(gWriterLines, std::vector<WriterLine>{});
  EXPECT_EQ(DSLSTA.count, 4);
  EXPECT_EQ(get(4, 1, 16)[7], 11);
  EXPECT_EQ(GFXDFS.state(kWindow), 0);
}

TEST_F(MeshCancel, NoElementsAboveTheSavedCountResetsTheWordsOnly) {
  MODCNT.word(kCntSavedElements) = 35;
  MSHCAN();
  EXPECT_EQ(messages(), Lines{});
  EXPECT_EQ(gWriterLines, std::vector<WriterLine>{});
  EXPECT_EQ(DSLSTA.count, 4);
  EXPECT_EQ(setName(3), (Words{a4Word("BIN1"), kBlankWord}));
  EXPECT_EQ(MODCNT.word(kCntDelSets), 0);
  EXPECT_EQ(MODCNT.word(kCntHighestNode), 10);
  EXPECT_EQ(MODCNT.word(kCntHighestElement), 35);
  EXPECT_EQ(MODCNT.word(kCntMeshStamp), 5);
  EXPECT_EQ(MODCNT.word(kCntMeshOpen), 0);
  EXPECT_EQ(MODCNT.word(kCntMeshState), 0);
  EXPECT_EQ(GFXDFS.state(kWindow), 1);
  EXPECT_EQ(get(4, 1, 16)[7], 0);
  EXPECT_EQ(get(6, 1, 14)[6], 0);
}

TEST_F(MeshCancel, ABinsetThatNoSetBearsEmptiesNothing) {
  struct Case {
    int32_t first, second;
  };
  const Case cases[] = {{kBlankWord, a4Word("BIN1")},  // blank: the second word is not read
                        {a4Word("BIN2"), kBlankWord},
                        {kMarkerWord, kBlankWord}};  // the name of a deleted set
  put(kArrSetNames, 2, {kMarkerWord, kBlankWord});
  for (const Case& c : cases) {
    MODCNT.word(kCntMeshOpen) = 1;
    MODCNT.word(kCntHighestElement) = 35;
    GEOSTA.word(kGeoBinset) = c.first;
    GEOSTA.word(kGeoBinset + 1) = c.second;
    MSHCAN();
    EXPECT_EQ(setName(3), (Words{a4Word("BIN1"), kBlankWord}));
    EXPECT_EQ(MODCNT.word(kCntDelSets), 0);
    EXPECT_EQ(head(1), 4);
  }
  EXPECT_EQ(messages(), (Lines{"  *** MESH CANCELLED ***", "  *** MESH CANCELLED ***",
                               "  *** MESH CANCELLED ***"}));
}

TEST_F(MeshCancel, NonblkLooksAtTheFirstWordOnly) {
  EXPECT_FALSE(NONBLK(std::array<int32_t, 2>{kBlankWord, a4Word("X")}));
  EXPECT_TRUE(NONBLK(std::array<int32_t, 2>{a4Word("X"), kBlankWord}));
  EXPECT_TRUE(NONBLK(std::array<int32_t, 2>{0, kBlankWord}));
}

class SetDeletion : public MeshCancel {};

TEST_F(SetDeletion, RemovesTheDisplayEntryAndFreesTheChain) {
  DSPSL2.count = 3;
  for (int32_t j = 1; j <= 3; ++j) {
    DSPSL2.setNumber(j) = j == 2 ? 3 : 10 + j;
    DSPSL2.memberCount(j) = 20 + j;
    DSPSL2.typeWord(j) = 30 + j;
    DSPSL2.blockWord(j) = 40 + j;
  }
  SETDEL(3);
  EXPECT_EQ(DSPSL2.count, 2);
  EXPECT_EQ(DSPSL2.setNumber(2), 13);
  EXPECT_EQ(DSPSL2.memberCount(2), 23);
  EXPECT_EQ(DSPSL2.typeWord(2), 33);
  EXPECT_EQ(DSPSL2.blockWord(2), 43);
  EXPECT_EQ(DSPSL2.setNumber(1), 11);
  EXPECT_EQ(link(7), 9);
  EXPECT_EQ(link(9), 4);
  EXPECT_EQ(head(1), 7);
  EXPECT_EQ(head(3), 7);  // the set's own head word stays
  EXPECT_EQ(setName(3), (Words{kMarkerWord, kBlankWord}));
  EXPECT_EQ(MODCNT.word(kCntSets), 3);
  EXPECT_EQ(MODCNT.word(kCntDelSets), 0);

  // A second deletion changes nothing.
  DSPSL2.setNumber(1) = 3;
  SETDEL(3);
  EXPECT_EQ(DSPSL2.count, 2);
  EXPECT_EQ(link(9), 4);
  EXPECT_EQ(head(1), 7);
}

TEST_F(SetDeletion, ADamagedChainOrNoChainFreesNoBlock) {
  struct Case {
    std::vector<std::pair<int32_t, int32_t>> links;
    int32_t setHead;
  };
  const Case cases[] = {
      {{{7, 9}, {9, 7}}, 7},  // a cycle
      {{{7, 12}}, 7},         // leaves the blocks in use
      {{}, 0},                // no chain
      {{}, -3},
      {{}, 10},  // a head beyond the blocks in use
  };
  for (const Case& c : cases) {
    for (int32_t b = 1; b <= 9; ++b) block(b, 0);
    for (auto [b, next] : c.links) block(b, next);
    set(3, c.setHead);
    name(3, "BIN1", kBlankWord);
    SETDEL(3);
    EXPECT_EQ(setName(3), (Words{kMarkerWord, kBlankWord})) << c.setHead;
    EXPECT_EQ(head(1), 4) << c.setHead;
    for (int32_t b = 1; b <= 9; ++b) EXPECT_NE(link(b), 4) << c.setHead << " block " << b;
  }
}

TEST_F(SetDeletion, AnOldFormatHeadHoldsTheBlockInItsLowBits) {
  DBFMT = 9031;
  set(3, -4103);  // 4103 = 0x1007
  SETDEL(3);
  EXPECT_EQ(head(1), 7);
  EXPECT_EQ(link(9), 4);
  DBFMT = 9033;  // a later format holds the number itself: -4103 is no block
  set(2, -4103);
  SETDEL(2);
  EXPECT_EQ(head(1), 7);
  EXPECT_EQ(setName(2), (Words{kMarkerWord, kBlankWord}));
}

TEST_F(SetDeletion, SetsOutsideTheListChangeNothing) {
  for (int32_t s : {1, 0, -2, 4}) SETDEL(s);
  EXPECT_EQ(head(1), 4);
  EXPECT_EQ(setName(1), (Words{kBlankWord, kBlankWord}));
  EXPECT_EQ(setName(3), (Words{a4Word("BIN1"), kBlankWord}));
}

TEST_F(SetDeletion, GivesTheNumberBackToTheSetSequence) {
  CHRSET();  // the number of the name is read by the lexer
  const std::string_view table = " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'";
  for (int32_t e = 1; e <= kModCharacters; ++e) {
    MODCON.word(kModFirstCode + e - 1) = codeOf(table[static_cast<size_t>(e - 1)]);
  }
  ASSERT_EQ(MODCON.word(kModDeletedMarker), kMarkerWord);
  int32_t slot = 0;
  CODMAP(1, 15, slot);
  ASSERT_GT(slot, 0);
  seqNameMode() = 0;
  seqAlpha(slot) = 3925;  // "SE"
  seqNext(slot) = 300;
  name(3, "SE5", kBlankWord);
  SETDEL(3);
  EXPECT_EQ(seqNext(slot), 5);
}

}  // namespace
}  // namespace kvr
