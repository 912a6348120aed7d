// The display selection list in its modes, the drawing-item flags and the object mark
// bits, on entries kept in the attribute list of the full model registry.
#include "command/dslupd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "dsllist.h"
#include "modeldb/entrec.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

using test::Entries;
using test::Entry;
using test::gWriterLines;
using test::Lines;

class DisplayList : public test::DisplayListFixture {};

TEST_F(DisplayList, AddsAnEntryThenChangesOnlyItsValue) {
  EXPECT_EQ(call(1, 2, 5, 1, 7), 0);
  std::array<int32_t, 2> label{};
  int32_t id = 1;
  int32_t count = 0;
  ATTFND(1, label, -4, id, count);
  EXPECT_EQ(label, (std::array<int32_t, 2>{a4Word("*DSL"), test::kBlankWord}));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(list(), (Entries{{2, 1, 5, 7}}));
  EXPECT_EQ(DSLSTA.count, 1);
  EXPECT_EQ(DSLSTA.current, 1);
  EXPECT_EQ(DSLSTA.changed, 0);

  presetFlags();
  EXPECT_EQ(call(1, 2, 5, 1, 9), 0);
  EXPECT_EQ(list(), (Entries{{2, 1, 5, 9}}));
  EXPECT_EQ(DSLSTA.changed, -1);
  EXPECT_EQ(item(32), 2);
  EXPECT_EQ(DSLSTA.count, 1);

  // The same value again: the entry's item is marked, nothing else changes.
  DSLSTA.changed = 0;
  presetFlags();
  call(1, 2, 5, 1, 9);
  EXPECT_EQ(item(32), 2);
  EXPECT_EQ(DSLSTA.changed, 0);
}

TEST_F(DisplayList, AnEntryForEveryIdWithTheValueDecides) {
  setList({{2, 1, -1, 9}});
  call(1, 2, 5, 1, 9);
  EXPECT_EQ(list(), (Entries{{2, 1, -1, 9}}));
  EXPECT_EQ(DSLSTA.changed, 0);
  EXPECT_EQ(item(32), 1);

  // An id of -1 with the value of an entry of the code takes that entry's place.
  setList({{2, 3, 4, 9}, {5, 1, 1, 0}});
  DSLSTA.count = 2;
  call(1, 2, -1, 1, 9);
  EXPECT_EQ(list(), (Entries{{2, 1, -1, 9}, {5, 1, 1, 0}}));
  EXPECT_EQ(DSLSTA.current, 1);
  EXPECT_EQ(DSLSTA.changed, 1);
  EXPECT_EQ(item(33), 2);
}

TEST_F(DisplayList, EveryCallMarksItemTwoAndAllButCompactionVoidThePicture) {
  for (int32_t p = -11; p <= 7; ++p) {
    DSLSTA = {};
    presetFlags();
    DSPSTA.validitySelectors = {1, 2, 8, 10};
    DSPSTA.validity.fill(5);
    DSPSTA.picture = 5;
    call(p, 0, 1, 1, 0);
    EXPECT_EQ(item(2), 2) << p;
    const int32_t voided = p == 4 ? 5 : 0;
    EXPECT_EQ(item(25), p == 4 ? 1 : 0) << p;
    EXPECT_EQ(DSPSTA.validity, (std::array<int32_t, 10>{voided, voided, 5, 5, 5, 5, 5, voided, 5, voided})) << p;
    EXPECT_EQ(DSPSTA.picture, voided) << p;
  }
  // A mode outside -10..4 does nothing more.
  setList({{5, 1, 1, 0}, {-99, 1, 2, 0}});
  presetFlags();
  call(7, 0, 1, 1, 0);
  EXPECT_EQ(list(), (Entries{{5, 1, 1, 0}, {-99, 1, 2, 0}}));
  EXPECT_EQ(DSLSTA.changed, 0);
  EXPECT_EQ(item(32), 1);
  EXPECT_EQ(item(33), 1);
}

TEST_F(DisplayList, RemovalByMatchFollowsTheCodeFilter) {
  setList({{3, 1, 1, 0}, {103, 1, 2, 0}, {203, 1, 3, 0}, {4, 1, 4, 0}, {-9, 1, 5, 0},
           {-109, 1, 6, 0}, {91, 1, 7, 0}});
  EXPECT_EQ(call(2, 3, -1, 19, 0), 0);
  EXPECT_EQ(list(), (Entries{{4, 1, 4, 0}, {-9, 1, 5, 0}, {-109, 1, 6, 0}, {91, 1, 7, 0}}));
  EXPECT_EQ(call(2, -9, -1, 19, 0), 0);
  EXPECT_EQ(list(), (Entries{{4, 1, 4, 0}, {91, 1, 7, 0}}));
  EXPECT_EQ(DSLSTA.changed, 1);
  EXPECT_EQ(DSLSTA.current, 1);
  // Items of the removed places were marked: 38 for the seventh entry on down.
  EXPECT_EQ(item(38), 2);
}

TEST_F(DisplayList, RemovalByMatchWithCodeAndIdStopsAtTheFirstMatch) {
  setList({{5, 1, 4, 0}, {5, 2, 4, 0}, {5, 1, 4, 1}, {5, 42, 4, 0}});
  // Kind 42 is matched only by 42; the scan ends at the first match from the top.
  call(2, 5, 4, 19, 0);
  EXPECT_EQ(list(), (Entries{{5, 1, 4, 0}, {5, 2, 4, 0}, {5, 42, 4, 0}}));
  call(2, 5, 4, 42, 0);
  EXPECT_EQ(list(), (Entries{{5, 1, 4, 0}, {5, 2, 4, 0}}));
  // Code 0 goes on downward.
  call(2, 0, 4, 19, 0);
  EXPECT_EQ(list(), Entries{});
}

TEST_F(DisplayList, RemovingNothingNamesAnExistingEntity) {
  installEntityLabels();
  MODCNT.word(kCntPoints) = 5;
  std::array<int32_t, 2> name = {a4Word("P5"), test::kBlankWord};
  int32_t stat = 0;
  ARRIO(-1, 1, 5, 1, -1, name, {}, stat);
  setList({{2, 1, 4, 0}});
  EXPECT_EQ(call(2, 2, 5, 1, 0), 100);
  EXPECT_EQ(hostLines(), (Lines{"W0323:  P5       is not an independent part of the display",
                                "so it cannot be removed from it."}));
  gWriterLines.clear();
  EXPECT_EQ(call(2, 4, 5, 1, 0), 100);
  EXPECT_EQ(call(2, 2, 6, 1, 0), 0);  // point 6 does not exist
  EXPECT_EQ(hostLines(), Lines{});
  EXPECT_EQ(list(), (Entries{{2, 1, 4, 0}}));
  setEntityLabelReader(nullptr);
}

TEST_F(DisplayList, TheCode22FlagWaitsForItem24) {
  call(1, -22, 3, 1, 0);
  call(1, -22, 4, 1, 0);
  EXPECT_EQ(DSLSTA.code22, 1);
  presetFlags();
  call(3, -22, -1, 19, 0);
  EXPECT_EQ(item(24), 2);
  EXPECT_EQ(DSLSTA.code22, 1);
  presetFlags();
  call(2, -22, 3, 19, 0);
  EXPECT_EQ(item(24), 2);
  EXPECT_EQ(DSLSTA.code22, 0);
  presetFlags();
  call(2, -22, 4, 19, 0);  // the flag is gone: item 24 is marked once
  EXPECT_EQ(item(24), 1);
  EXPECT_EQ(DSLSTA.count, 0);
}

TEST_F(DisplayList, MarkingWithCodeAndIdStopsAtTheLastMatch) {
  setList({{-22, 1, 3, 0}, {-122, 1, 3, 0}});
  call(3, -22, 3, 19, 0);
  EXPECT_EQ(item(24), 1);
  EXPECT_EQ(DSLSTA.changed, 1);
  EXPECT_EQ(item(32), 2);
  EXPECT_EQ(item(33), 2);
  presetFlags();
  call(3, -22, -1, 19, 0);
  EXPECT_EQ(item(24), 2);

  // No match with the changed flag at 0 marks nothing but item 2.
  DSLSTA.changed = 0;
  presetFlags();
  call(3, 7, -1, 19, 0);
  EXPECT_EQ(item(2), 2);
  EXPECT_EQ(item(32), 1);
  EXPECT_EQ(DSLSTA.changed, 0);
}

TEST_F(DisplayList, CompactionRemovesDeletedEntriesInOrder) {
  setList({{5, 1, 1, 0}, {-99, 1, 2, 0}, {-99, 1, 3, 0}, {7, 1, 4, 0}, {-99, 1, 5, 0}});
  DSLSTA.code22 = 1;
  DSLSTA.current = 4;
  call(4, 0, 0, 0, 0);
  EXPECT_EQ(list(), (Entries{{5, 1, 1, 0}, {7, 1, 4, 0}}));
  EXPECT_EQ(DSLSTA.changed, 1);
  EXPECT_EQ(DSLSTA.current, 4);
  EXPECT_EQ(DSLSTA.code22, 1);
  EXPECT_EQ(item(25), 1);
  EXPECT_EQ(item(24), 2);
  for (int32_t k = 32; k <= 36; ++k) EXPECT_EQ(item(k), 2) << k;
  EXPECT_EQ(item(37), 1);
}

TEST_F(DisplayList, RemovalModesTakeTheirRule) {
  const Entries all = {{45, 1, 1, 0},  {44, 1, 2, 0}, {13, 42, 3, 0}, {42, 1, 4, 0},
                       {29, 1, 5, 0},  {8, 1, 6, 0},  {3, 1, 7, 0},   {2, 1, 8, 0},
                       {-5, 1, 9, 0},  {7, 1, 10, 0}, {7, 46, 11, 0}, {13, 1, 12, 0},
                       {41, 20, 13, 0}};
  struct Case {
    int32_t p;
    int32_t d;
    std::vector<int32_t> removedIds;
  };
  const Case cases[] = {
      {-10, 0, {1}}, {-9, 0, {2}},  {-8, 0, {3, 13}}, {-8, 7, {11}}, {-7, 0, {4}},
      {-6, 0, {5}},  {-5, 0, {6}},  {-4, 0, {7}},     {-3, 0, {8}},  {-2, 0, {9}},
      {-1, 0, {1, 2, 10, 12, 13}},
  };
  for (const Case& c : cases) {
    setList(all);
    DSLSTA.markState = 7;
    call(c.p, c.d, 0, 0, 0);
    Entries kept;
    for (const Entry& e : all) {
      if (std::find(c.removedIds.begin(), c.removedIds.end(), e[2]) == c.removedIds.end()) {
        kept.push_back(e);
      }
    }
    EXPECT_EQ(list(), kept) << c.p << " " << c.d;
    EXPECT_EQ(DSLSTA.markState, c.p == -4 || c.p == -3 ? 2 : 0) << c.p;
  }
}

TEST_F(DisplayList, RemovingMarkedEntriesClearsTheirMarkBits) {
  int32_t status = 0;
  for (int32_t s : {1, 4, 8, 9}) MRKPUT(1, s, 1, status);
  setList({{2, 1, 1, 0}, {3, 1, 2, 0}});
  call(-3, 0, 0, 0, 0);
  int32_t stat = 0;
  std::array<int32_t, 1> word{};
  ARRIO(1, kArrObjectMarks, 1, 1, -1, word, {}, stat);
  EXPECT_EQ(word[0], 16 + 32);
  call(-4, 0, 0, 0, 0);
  ARRIO(1, kArrObjectMarks, 1, 1, -1, word, {}, stat);
  EXPECT_EQ(word[0], 0);
  EXPECT_EQ(list(), Entries{});
}

TEST_F(DisplayList, ANewListReplacesOrRetypesTheOldOne) {
  int32_t status = 0;
  MRKPUT(3, 1, 1, status);
  setList({{5, 1, 1, 0}, {6, 1, 2, 0}});
  DSLSTA.code22 = 1;
  call(0, 9, 4, 2, 3);
  EXPECT_EQ(list(), (Entries{{9, 2, 4, 3}}));
  EXPECT_EQ(DSLSTA.changed, 1);
  EXPECT_EQ(DSLSTA.code22, 0);
  EXPECT_EQ(item(24), 2);
  EXPECT_EQ(item(33), 2);
  EXPECT_EQ(REGHED.ARRLEN(kArrObjectMarks), 0);

  // Re-typed: code 29 kept for 8, code 8 dropped, kind 5 dropped; the rebuild stops after
  // the first entry for every id.
  setList({{29, 1, 1, 0}, {8, 1, 2, 0}, {3, 5, 3, 0}, {3, 7, -1, 0}, {3, 1, 9, 0}});
  call(0, 8, -2, 0, 6);
  EXPECT_EQ(list(), (Entries{{8, 1, 1, 6}, {8, 7, -1, 6}}));
  EXPECT_EQ(DSLSTA.current, 1);
}

TEST_F(DisplayList, ARetypeCopiesTheEntriesUnderTheNewCode) {
  setList({{3, 1, 5, 0}, {2, 8, 7, 0}, {3, 65, 1, 0}, {3, 2, 6, 0}, {50, 2, 6, 9}});
  call(1, 50, -2, 1, 9);
  // Kind 8 is passed over, kind 65 is stored as 42, and (50, 2, 6, 9) is there already.
  EXPECT_EQ(list(), (Entries{{3, 1, 5, 0}, {2, 8, 7, 0}, {3, 65, 1, 0}, {3, 2, 6, 0},
                             {50, 2, 6, 9}, {50, 1, 5, 9}, {50, 42, 1, 9}}));
  EXPECT_EQ(DSLSTA.current, 6);

  // An entry for every id replaces the copies made before it.
  setList({{3, 1, 5, 0}, {3, 2, -1, 0}, {3, 3, 4, 0}});
  call(1, 4, -2, 1, 9);
  EXPECT_EQ(list(), (Entries{{3, 1, 5, 0}, {3, 2, -1, 0}, {3, 3, 4, 0}, {4, 2, -1, 9}}));
  EXPECT_EQ(DSLSTA.current, 4);
}

TEST_F(DisplayList, ASixtyNinthEntryIsRefused) {
  Entries full;
  for (int32_t i = 1; i <= 68; ++i) full.push_back({5, 1, i, 0});
  setList(full);
  call(1, 5, 69, 1, 0);
  EXPECT_EQ(DSLSTA.count, 68);
  EXPECT_EQ(hostLines(), Lines{"W1640: Display list full"});
  EXPECT_EQ(journal1(), Lines{"  * W1640: Display list full"});
  EXPECT_EQ(journal2(), Lines{"  * W1640: Display list full"});

  // A re-type whose first entry is for every id: its copy would be entry 69.
  full[0] = {5, 1, -1, 0};
  setList(full);
  gWriterLines.clear();
  presetFlags();
  call(1, 6, -2, 1, 0);
  EXPECT_EQ(DSLSTA.count, 68);
  EXPECT_EQ(hostLines(), Lines{"W1640: Display list full"});
  int32_t id = 69;
  int32_t count = -1;
  std::array<int32_t, 2> label{};
  ATTFND(1, label, -4, id, count);
  EXPECT_EQ(count, 0) << "no entry 69 was written";
  EXPECT_EQ(list(), full);
}

TEST_F(DisplayList, DrawingItemsAreClearedAndMarkedWhereTheyAreHeld) {
  PLTCAP.word(8) = 1;
  DRWCLR(25, 1);
  EXPECT_EQ(*DSPOPT.DRWFLG(1, 0, 25), 0);
  EXPECT_EQ(*DSPOPT.DRWFLG(1, kWindow, 25), 1);
  EXPECT_EQ(PLTPAR.status, 10025);
  DRWCLR(40, 1);
  EXPECT_EQ(*DSPOPT.DRWFLG(1, kWindow, 40), 0);
  EXPECT_EQ(PLTPAR.status, 10340);
  PLTPAR.status = 77;
  DRWCLR(40, 1);  // already clear: nothing is sent
  EXPECT_EQ(PLTPAR.status, 77);
  PLTCAP.word(8) = 0;
  DRWCLR(26, 2);
  EXPECT_EQ(*DSPOPT.DRWFLG(2, 0, 26), 0);
  EXPECT_EQ(PLTPAR.status, 77);
  DRWCLR(1, 3);  // item 1 lives in group 0
  EXPECT_EQ(*DSPOPT.DRWFLG(0, 0, 1), 0);
  EXPECT_EQ(*DSPOPT.DRWFLG(3, 0, 1), 1);

  *DSPOPT.DRWFLG(4, 49, 40) = 0;
  DRWMRK(40, -1);
  int32_t marked = 0;
  for (int32_t g = 0; g <= 4; ++g) {
    for (int32_t w = 0; w <= 49; ++w) marked += *DSPOPT.DRWFLG(g, w, 40) == 2;
  }
  EXPECT_EQ(marked, 5 * 50 - 2);  // not where it was 0
  EXPECT_EQ(*DSPOPT.DRWFLG(4, 49, 40), 0);

  presetFlags();
  DRWMRK(3, 2);
  EXPECT_EQ(*DSPOPT.DRWFLG(2, 0, 3), 2);
  EXPECT_EQ(*DSPOPT.DRWFLG(2, kWindow, 3), 1);

  // Outside the table nothing changes.
  presetFlags();
  const auto before = DSPOPT.records;
  for (int32_t k : {0, 100}) {
    DRWMRK(k, 1);
    DRWMRK(k, -1);
    DRWCLR(k, 1);
  }
  DRWMRK(40, 5);
  DRWCLR(40, -2);
  DSPSTA.currentWindow = 50;
  DRWMRK(40, 1);
  EXPECT_TRUE(DSPOPT.records == before);
}

TEST_F(DisplayList, MarkBitsExtendTheArrayAndClearBySelector) {
  int32_t status = -1;
  MRKPUT(6, 9, 1, status);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(REGHED.ARRLEN(kArrObjectMarks), 2);
  std::array<int32_t, 4> words{};
  int32_t stat = 0;
  ARRIO(1, kArrObjectMarks, 1, 2, -1, words, {}, stat);
  EXPECT_EQ(words[0], 0);
  EXPECT_EQ(words[1], 16);
  MRKCLR(2);
  ARRIO(1, kArrObjectMarks, 1, 2, -1, words, {}, stat);
  EXPECT_EQ(words[1], 0);
  MRKCLR(0);
  EXPECT_EQ(REGHED.ARRLEN(kArrObjectMarks), 0);

  // Bad objects and selectors write nothing.
  for (auto [j, i] : {std::pair{0, 1}, {1, 5}, {-3, 1}, {1, 0}, {1, 7}, {1, 10}}) {
    MRKPUT(j, i, 1, status);
    EXPECT_EQ(status, 1) << j << " " << i;
  }
  EXPECT_EQ(REGHED.ARRLEN(kArrObjectMarks), 0);

  // Object 20 reaches record 4; the records between read 0. MRKCLR 1 keeps bits 5 and 6.
  MRKPUT(20, 1, 1, status);
  MRKPUT(1, 2, 1, status);
  MRKPUT(1, 8, 1, status);
  MRKPUT(6, 2, 1, status);  // bit 32: record 2, bit 1
  ASSERT_EQ(REGHED.ARRLEN(kArrObjectMarks), 4);
  ARRIO(1, kArrObjectMarks, 1, 4, -1, words, {}, stat);
  EXPECT_EQ(words, (std::array<int32_t, 4>{2 + 16, 1, 0, 1 << 21}));
  MRKPUT(1, 2, 0, status);
  MRKCLR(1);
  ARRIO(1, kArrObjectMarks, 1, 4, -1, words, {}, stat);
  EXPECT_EQ(words, (std::array<int32_t, 4>{16, 0, 0, 0}));
  MRKCLR(3);
  ARRIO(1, kArrObjectMarks, 1, 4, -1, words, {}, stat);
  EXPECT_EQ(words[0], 16);
}

}  // namespace
}  // namespace kvr
