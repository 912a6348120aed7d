// The sets and their member blocks, on small fixtures in the full model registry.
#include <gtest/gtest.h>

#include <string>

#include "modeldb/setrec.h"
#include "modelfixture.h"
#include "platform/memory.h"

namespace kvr {
namespace {

class Sets : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    MODCNT.word(kCntSets) = 6;
    for (int32_t k : {kCntPoints, kCntLines, kCntSurfaces, kCntBodies}) MODCNT.word(k) = 9;
    setRec(1, 0, 0, 0);  // an empty free chain
    for (int32_t id = 2; id <= 6; ++id) setRec(id, id - 1, 1, 0);
    MODCNT.word(kCntSetBlockTop) = 5;
    for (int32_t b = 1; b <= 5; ++b) block(b, {}, 0);
  }
  void TearDown() override {
    DSPSL2 = {};
    ModelFixture::TearDown();
  }
  static void setRec(int32_t id, int32_t first, int32_t type, int32_t kind) {
    put(kArrSets, id, {first, type, 0, kind});
  }
  static void block(int32_t b, Words pairs, int32_t next) {
    pairs.resize(62, 0);
    pairs.push_back(next);
    put(kArrMemberBlocks, b, pairs);
  }
  static Words blk(int32_t b) { return get(kArrMemberBlocks, b, 1); }
  static int32_t next(int32_t b) { return blk(b)[62]; }
  static Words firstPairs(int32_t b) {
    const Words w = blk(b);
    return Words(w.begin(), w.begin() + 6);
  }
  static int32_t freeHead() { return get(kArrSets, 1, 1)[0]; }
  static Words pairsOf(int32_t kind, int32_t from, int32_t n) {
    Words w;
    for (int32_t i = 0; i < n; ++i) w.insert(w.end(), {kind, from + i});
    return w;
  }
  static Words all(int32_t id) {
    Words p(2 * 80, 0);
    int32_t n = 0;
    SETALL(id, p, n);
    p.resize(static_cast<size_t>(std::max(n, 0) * 2));
    return p;
  }
};

TEST_F(Sets, WriteReusesTakesAndFreesBlocks) {
  SETWRT(2, 0, 0, pairsOf(1, 1, 31), 31);
  EXPECT_EQ(next(1), 6);  // a new number: the free chain is empty
  EXPECT_EQ(MODCNT.word(kCntSetBlockTop), 6);
  EXPECT_EQ(next(6), 0);
  EXPECT_EQ(blk(6), Words(63, 0));  // empty and last
  EXPECT_EQ(SETNMB(2), 31);

  SETWRT(2, 0, 0, pairsOf(1, 1, 62), 62);
  EXPECT_EQ(next(1), 6);
  EXPECT_EQ(next(6), 7);
  EXPECT_EQ(next(7), 0);
  EXPECT_EQ(MODCNT.word(kCntSetBlockTop), 7);

  // Shrinking to 5 members frees blocks 6 and 7, in that order, at the free chain's head.
  block(5, {}, 0);
  setRec(1, 5, 0, 0);
  SETWRT(2, 0, 0, pairsOf(1, 1, 5), 5);
  EXPECT_EQ(next(1), 0);
  EXPECT_EQ(freeHead(), 6);
  EXPECT_EQ(next(6), 7);
  EXPECT_EQ(next(7), 5);
  EXPECT_EQ(all(2), pairsOf(1, 1, 5));

  // The next growing set takes the first of them before a new number.
  setRec(3, 2, 1, 0);
  SETWRT(3, 0, 0, pairsOf(2, 1, 31), 31);
  EXPECT_EQ(next(2), 6);
  EXPECT_EQ(freeHead(), 7);
  EXPECT_EQ(MODCNT.word(kCntSetBlockTop), 7);
}

TEST_F(Sets, WriteKeepsTheDisplayEntryAndGivesABlock) {
  DSPSL2.count = 4;
  DSPSL2.setNumber(4) = 3;
  DSPSL2.typeWord(4) = 6;
  DSPSL2.setNumber(5) = 4;  // beyond the count: not an entry
  SETWRT(3, 0, 0, pairsOf(1, 1, 40), 40);
  EXPECT_EQ(DSPSL2.typeWord(4), -6);
  EXPECT_EQ(DSPSL2.blockWord(4), 6);
  EXPECT_EQ(DSPSL2.memberCount(4), 40);
  SETWRT(3, -3, 2, pairsOf(1, 1, 2), 2);
  EXPECT_EQ(DSPSL2.typeWord(4), -3);
  EXPECT_EQ(DSPSL2.blockWord(4), 2);
  EXPECT_EQ(get(kArrSets, 3, 1), (Words{2, -3, 0, 2}));

  setRec(4, 0, 1, 0);  // no block: one is taken
  SETWRT(4, 0, 0, pairsOf(1, 3, 2), 2);
  EXPECT_EQ(get(kArrSets, 4, 1)[0], 6);  // freed by set 3's shrink
  EXPECT_EQ(all(4), pairsOf(1, 3, 2));
  EXPECT_EQ(DSPSL2.memberCount(5), 0);
  EXPECT_EQ(DSPSL2.blockWord(5), 0);
}

TEST_F(Sets, ChainWalksEndOnADamagedChain) {
  block(1, {1, 1, 1, 2}, 2);
  block(2, {1, 3}, 1);  // points back
  EXPECT_EQ(SETNK1(2), 8);  // the walk ends after the five blocks in use: 1, 2, 1, 2, 1
  SETWRT(2, 0, 0, pairsOf(1, 1, 2), 2);
  EXPECT_EQ(SETNK1(2), 2);
}

TEST_F(Sets, ChainWalksEndAtTheLastBlockTheStoreHolds) {
  // A damaged block top (word 54) beyond the stored blocks, and a chain leading there:
  // the walk ends at the last block held instead of reading past the store.
  const int32_t held = REGHED.ARRLEN(kArrMemberBlocks);
  MODCNT.word(kCntSetBlockTop) = held + 10;
  block(1, {1, 1, 1, 2}, held + 1);
  EXPECT_EQ(SETNK1(2), 2);
  EXPECT_EQ(REGHED.ARRLEN(kArrMemberBlocks), held);
}

TEST_F(Sets, TypesKindsCountsAndLists) {
  block(1, {1, 1, 1, -2, 2, 3, 1, 4, 1, 5, 1, 6, 1, 7, 0, 8}, 0);  // -2 skipped, 0 ends
  EXPECT_EQ(SETNK1(2), 5);
  EXPECT_EQ(SETNK2(2), 1);
  EXPECT_EQ(SETNMB(2), 6);
  EXPECT_EQ(SETNK1(1), -1);
  std::array<int32_t, 8> list{};
  int32_t n = 0, stat = 0;
  SETKLS(-2, 1, list, 3, n, stat);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(stat, 2);
  EXPECT_EQ((Words{list[0], list[1], list[2]}), (Words{1, 4, 5}));
  SETKLS(2, 5, list, 3, n, stat);
  EXPECT_EQ(stat, 3);
  SETKLS(7, 1, list, 3, n, stat);
  EXPECT_EQ(stat, 1);
  SETLK2(2, list, n);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(list[0], 3);
  EXPECT_EQ(all(2), (Words{1, 1, 1, 4, 1, 5, 1, 6, 1, 7, 2, 3}));

  setRec(3, 2, -4, 2);  // a type-4 set of lines: the kind is the set's
  block(2, {1, 8, 1, 9}, 0);
  EXPECT_EQ(SETKDG(3), 2);
  EXPECT_EQ(SETNK2(3), 2);
  EXPECT_EQ(SETNK1(3), 0);
  SETSTY(3, 5, stat);
  EXPECT_EQ(stat, -2);
  SETSTY(3, -6, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(SETTYG(3), -6);
  EXPECT_EQ(SETKDG(3), 0);
  SETSKD(3, 4, stat);
  EXPECT_EQ(stat, -2);
}

TEST_F(Sets, AddingAndRemoving) {
  int32_t stat = 0;
  setRec(3, 2, 2, 0);
  SETAPT(3, Words{1}, 1, stat);
  EXPECT_EQ(stat, -7);
  setRec(3, 2, 3, 2);
  SETAPT(3, Words{1}, 1, stat);
  EXPECT_EQ(stat, -7);
  SETAPT(7, Words{1}, 1, stat);
  EXPECT_EQ(stat, -1);

  // Lines of a type-4 set carry first word 1; after a removal the kept ones carry 2.
  setRec(4, 3, 4, 2);
  SETALN(4, Words{1, 2, 3}, 3, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(firstPairs(3), (Words{1, 1, 1, 2, 1, 3}));
  SETRLN(4, Words{2}, 1, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(firstPairs(3), (Words{2, 1, 2, 3, 0, 0}));

  // A number given twice is entered twice; a present one not again; a missing point not
  // at all, nor one above the count, while a stored one above it stays.
  block(1, {1, 2, 1, 12}, 0);
  SETAPT(2, Words{5, 5, 2, 10, 0}, 5, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(all(2), (Words{1, 2, 1, 12, 1, 5, 1, 5}));
  SETRPT(2, Words{5, 12, 0}, 3, stat);
  EXPECT_EQ(all(2), (Words{1, 2, 1, 12}));

  SETAMX(2, Words{2, 4, 7, 1}, 2, stat);
  EXPECT_EQ(stat, -8);
  EXPECT_EQ(all(2), (Words{1, 2, 1, 12}));
  SETAMX(2, Words{4, 4, 2, 4}, 2, stat);
  EXPECT_EQ(all(2), (Words{1, 2, 1, 12, 2, 4, 4, 4}));
  SETRMX(2, Words{4, 4, 9, 1}, 2, stat);
  EXPECT_EQ(stat, -8);
  SETRMX(2, Words{4, 4, 1, 2}, 2, stat);
  EXPECT_EQ(all(2), (Words{1, 12, 2, 4}));

  for (int32_t nth : {1, 2}) {
    mem::ScopedHook hook;
    hook.failNth(nth);
    SETAPT(2, Words{3}, 1, stat);
    EXPECT_EQ(stat, -6) << nth;
    EXPECT_EQ(all(2), (Words{1, 12, 2, 4}));
  }
}

TEST_F(Sets, Names) {
  put(kArrSetNames, 1, {a4Word("FREE"), kBlank, a4Word("S1  "), kBlank});
  FixedText s1(2, "s1");
  FText t = s1.text();
  EXPECT_EQ(SETFNM(&t, nullptr), 2);
  FixedText free(4, "free");
  t = free.text();
  EXPECT_EQ(SETFNM(&t, nullptr), 0);  // set 1 is no set
  int32_t stat = 0;
  t = s1.text();
  SETRNM(3, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, -3);
  SETRNM(1, stat, &t, nullptr, nullptr);
  EXPECT_EQ(stat, -1);
  const NameWords label = nameOf("S1");
  SETRNM(2, stat, nullptr, &label, nullptr);
  EXPECT_EQ(stat, 0);
  NameWords got{};
  SETLAB(2, got, stat);
  EXPECT_EQ(got, label);
}

}  // namespace
}  // namespace kvr
