#include "modeldb/corsto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <numeric>
#include <span>
#include <vector>

#include "runtime/incftb.h"
#include "runtime/slttab.h"

namespace kvr {
namespace {

// Every test starts and ends with an empty store and an empty window-slot table.
class Store : public ::testing::Test {
 protected:
  void SetUp() override { clear(); }
  void TearDown() override { clear(); }
  static void clear() {
    CoreFreeFile(-1);
    SLTTAB = SlotTable{};
    INCFTB = SlotRegistryTable{};
  }

  // Creates the next array of file F and answers its number.
  static int32_t create(int32_t f, int32_t w, int32_t r) {
    int32_t a = 0;
    int32_t stat = -1;
    CoreCreate(f, w, r, a, stat);
    EXPECT_EQ(stat, 0);
    return a;
  }
  static int32_t extend(int32_t f, int32_t a, int32_t first, int32_t n) {
    int32_t stat = -1;
    CoreExtend(f, a, first, n, stat);
    return stat;
  }
  static int32_t put(int32_t f, int32_t a, int32_t first, int32_t n,
                     const std::vector<int32_t>& words) {
    int32_t stat = -1;
    CorePut(f, a, first, n, -1, words, {}, stat);
    return stat;
  }
  static int32_t get(int32_t f, int32_t a, int32_t first, int32_t n, std::vector<int32_t>& words) {
    int32_t stat = -1;
    CoreGet(f, a, first, n, -1, words, {}, stat);
    return stat;
  }
  // Makes records 1..N of a width-W array addressable and gives record k the first word
  // KEYS[k-1], the other words 0.
  static void fillFirstWords(int32_t f, int32_t a, int32_t w, const std::vector<int32_t>& keys) {
    const auto n = static_cast<int32_t>(keys.size());
    ASSERT_EQ(extend(f, a, 1, n), 0);
    std::vector<int32_t> words(static_cast<size_t>(n * w), 0);
    for (size_t k = 0; k < keys.size(); ++k) words[k * static_cast<size_t>(w)] = keys[k];
    ASSERT_EQ(put(f, a, 1, n, words), 0);
  }
};

TEST_F(Store, ExtensionAllocatesPagesAndGrowsTheTableByAtLeastOneHundred) {
  const int32_t a = create(3, 1, 2000);
  CoreHeader& h = CORSTO.header(3, a);
  EXPECT_EQ(h.lastPage, -1);
  EXPECT_EQ(h.capacity, 0);

  EXPECT_EQ(extend(3, a, 1, 1), 0);
  EXPECT_EQ(h.lastPage, 0);
  EXPECT_EQ(h.capacity, 100);
  EXPECT_NE(h.pageTable[0], nullptr);
  EXPECT_EQ(h.pageTable[1], nullptr);

  int32_t** table = h.pageTable;
  EXPECT_EQ(extend(3, a, 1, 2000), 0);
  EXPECT_EQ(h.lastPage, 0);
  EXPECT_EQ(h.pageTable, table);

  EXPECT_EQ(extend(3, a, 2001, 1), 0);
  EXPECT_EQ(h.lastPage, 1);
  EXPECT_EQ(h.capacity, 100);
  EXPECT_NE(h.pageTable[1], nullptr);

  // Page 250 at capacity 100: 151 more entries, every page up to it allocated and zeroed.
  EXPECT_EQ(extend(3, a, 250 * 2000 + 1, 1), 0);
  EXPECT_EQ(h.capacity, 251);
  EXPECT_EQ(h.lastPage, 250);
  for (int32_t p = 0; p <= 250; ++p) ASSERT_NE(h.pageTable[p], nullptr) << p;
  std::vector<int32_t> words(2000, -1);
  EXPECT_EQ(get(3, a, 249 * 2000 + 1, 2000, words), 0);
  EXPECT_EQ(std::count(words.begin(), words.end(), 0), 2000);
}

TEST_F(Store, ExtensionFromRecordZero) {
  // The extension never addresses record 0: FIRST 0, N 1 needs nothing; N 2 needs record 1.
  const int32_t a = create(2, 2, 50);
  CoreHeader& h = CORSTO.header(2, a);
  EXPECT_EQ(extend(2, a, 0, 1), 0);
  EXPECT_EQ(h.lastPage, -1);
  EXPECT_EQ(h.capacity, 0);
  EXPECT_EQ(extend(2, a, 0, 2), 0);
  EXPECT_EQ(h.lastPage, 0);
  EXPECT_EQ(h.capacity, 100);
}

TEST_F(Store, ExtensionRefusals) {
  const int32_t a = create(2, 2, 50);
  EXPECT_EQ(extend(2, a + 1, 1, 1), 1);
  EXPECT_EQ(extend(0, a, 1, 1), 1);
  EXPECT_EQ(extend(51, a, 1, 1), 1);
  // A last record beyond the word range: refused, nothing allocated.
  EXPECT_EQ(extend(2, a, INT32_MAX, 2), 2);
  EXPECT_EQ(CORSTO.header(2, a).lastPage, -1);
  // An array whose records or pages are empty can hold no page.
  const int32_t b = create(2, 0, 50);
  const int32_t c = create(2, 3, 0);
  EXPECT_EQ(extend(2, b, 1, 1), 3);
  EXPECT_EQ(extend(2, c, 1, 1), 3);
  std::vector<int32_t> words(3);
  EXPECT_EQ(put(2, c, 1, 1, words), 2);
}

TEST_F(Store, PutAcrossAPageBoundaryAndGetBack) {
  constexpr int32_t kR = 10;
  constexpr int32_t kW = 3;
  const int32_t a = create(4, kW, kR);
  std::vector<int32_t> words(15);
  std::iota(words.begin(), words.end(), 1);
  EXPECT_EQ(put(4, a, 1, 1, words), 2) << "a new array has no addressable record";

  ASSERT_EQ(extend(4, a, 1, 2 * kR), 0);
  ASSERT_EQ(put(4, a, kR - 1, 5, words), 0);
  const CoreHeader& h = CORSTO.header(4, a);
  const int32_t* page0 = h.pageTable[0];
  const int32_t* page1 = h.pageTable[1];
  EXPECT_EQ(std::vector<int32_t>(page0 + kR * kW - 6, page0 + kR * kW),
            std::vector<int32_t>(words.begin(), words.begin() + 6));
  EXPECT_EQ(std::vector<int32_t>(page1, page1 + 9),
            std::vector<int32_t>(words.begin() + 6, words.end()));
  EXPECT_EQ(page0[kR * kW - 7], 0);
  EXPECT_EQ(page1[9], 0);

  // MODE -1 fills IBUF only; MODE 0 and 1 fill RBUF only.
  std::vector<int32_t> ibuf(15, 77);
  std::vector<float> rbuf(15, 7.5f);
  int32_t stat = -1;
  CoreGet(4, a, kR - 1, 5, -1, ibuf, rbuf, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(ibuf, words);
  EXPECT_EQ(std::count(rbuf.begin(), rbuf.end(), 7.5f), 15);
  for (int32_t mode : {0, 1}) {
    std::vector<int32_t> ib(15, 77);
    std::vector<float> rb(15, 7.5f);
    CoreGet(4, a, kR - 1, 5, mode, ib, rb, stat);
    EXPECT_EQ(stat, 0);
    EXPECT_EQ(std::count(ib.begin(), ib.end(), 77), 15);
    for (size_t k = 0; k < 15; ++k) EXPECT_EQ(std::bit_cast<int32_t>(rb[k]), words[k]);
  }
}

TEST_F(Store, LoadFillsPagesFromTheSourceInRunsOfWholeRecords) {
  constexpr int32_t kR = 4;
  constexpr int32_t kW = 3;
  // Records 1..9 of an empty array: two whole pages and one record of a third, the words
  // numbered in order; the source sees one run a page.
  const int32_t a = create(2, kW, kR);
  std::vector<size_t> runs;
  int32_t next = 1;
  int32_t stat = -1;
  CoreLoad(2, a, 9, [&](std::span<int32_t> words) {
    runs.push_back(words.size());
    for (int32_t& w : words) w = next++;
    return true;
  }, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(runs, (std::vector<size_t>{12, 12, 3}));
  const CoreHeader& h = CORSTO.header(2, a);
  EXPECT_EQ(h.lastPage, 2);
  std::vector<int32_t> all(3 * kR * kW, -1);
  ASSERT_EQ(get(2, a, 1, 3 * kR, all), 0);
  std::vector<int32_t> want(3 * kR * kW, 0);
  std::iota(want.begin(), want.begin() + 27, 1);
  EXPECT_EQ(all, want) << "the words past record 9 of the last page are cleared";

  // A page the array holds keeps its words past record N; a second load writes over it.
  ASSERT_EQ(put(2, a, 1, 2, std::vector<int32_t>(6, 5)), 0);
  CoreLoad(2, a, 1, [](std::span<int32_t> words) {
    std::fill(words.begin(), words.end(), 8);
    return true;
  }, stat);
  EXPECT_EQ(stat, 0);
  std::vector<int32_t> two(6, -1);
  ASSERT_EQ(get(2, a, 1, 2, two), 0);
  EXPECT_EQ(two, (std::vector<int32_t>{8, 8, 8, 5, 5, 5}));
  EXPECT_EQ(h.lastPage, 2);
}

TEST_F(Store, LoadFailuresLeaveZerosInThePagesTheyAllocated) {
  constexpr int32_t kR = 4;
  const int32_t a = create(3, 2, kR);
  // The source fails in the second page after writing part of it.
  int32_t calls = 0;
  int32_t stat = -1;
  CoreLoad(3, a, 10, [&](std::span<int32_t> words) {
    std::fill(words.begin(), words.end(), 9);
    return ++calls < 2;
  }, stat);
  EXPECT_EQ(stat, 4);
  const CoreHeader& h = CORSTO.header(3, a);
  ASSERT_EQ(h.lastPage, 1);
  std::vector<int32_t> words(2 * kR * 2, -1);
  ASSERT_EQ(get(3, a, 1, 2 * kR, words), 0);
  std::vector<int32_t> want(2 * kR * 2, 0);
  std::fill(want.begin(), want.begin() + kR * 2, 9);
  EXPECT_EQ(words, want);

  // Statuses before any page: an array that is not registered, a width that holds no page.
  const auto never = [](std::span<int32_t>) { return true; };
  CoreLoad(3, 50, 1, never, stat);
  EXPECT_EQ(stat, 1);
  CoreLoad(3, create(3, 0, kR), 1, never, stat);
  EXPECT_EQ(stat, 3);
}

TEST_F(Store, RealWordsMoveBitForBit) {
  const int32_t a = create(1, 2, 4);
  ASSERT_EQ(extend(1, a, 1, 4), 0);
  const std::vector<int32_t> bits = {0x7FC01234, static_cast<int32_t>(0x80000000), 0x00000001,
                                     0x3F800000, static_cast<int32_t>(0xFF800000), 0x7F7FFFFF};
  std::vector<float> reals(bits.size());
  for (size_t k = 0; k < bits.size(); ++k) reals[k] = std::bit_cast<float>(bits[k]);
  int32_t stat = -1;
  CorePut(1, a, 2, 3, 0, {}, reals, stat);
  ASSERT_EQ(stat, 0);
  std::vector<int32_t> back(6);
  EXPECT_EQ(get(1, a, 2, 3, back), 0);
  EXPECT_EQ(back, bits);
}

TEST_F(Store, CopiesRefusedWithoutWritingAnything) {
  const int32_t a = create(5, 3, 10);
  ASSERT_EQ(extend(5, a, 1, 20), 0);
  std::vector<int32_t> words(30, 9);
  struct Case {
    int32_t array, first, n;
    size_t bufferWords;
    int32_t stat;
  };
  const Case cases[] = {
      {a, 0, 1, 30, 2},          // FIRST 0 would write before the page
      {a, -5, 3, 30, 2},         // so would any FIRST below 1
      {a, INT32_MAX, 2, 30, 2},  // FIRST + N - 1 beyond the word range
      {a, 20, 2, 30, 2},         // past the addressable records
      {a, 1, 10, 29, 2},         // buffer shorter than N x W words
      {a + 1, 1, 1, 30, 1},      // not registered
  };
  for (const Case& c : cases) {
    std::vector<int32_t> buf(words.begin(), words.begin() + static_cast<long>(c.bufferWords));
    int32_t stat = -1;
    CorePut(5, c.array, c.first, c.n, -1, buf, {}, stat);
    EXPECT_EQ(stat, c.stat) << c.first << " " << c.n;
    CoreGet(5, c.array, c.first, c.n, -1, buf, {}, stat);
    EXPECT_EQ(stat, c.stat) << c.first << " " << c.n;
    EXPECT_EQ(std::count(buf.begin(), buf.end(), 9), static_cast<long>(c.bufferWords));
  }
  std::vector<int32_t> all(60, -1);
  ASSERT_EQ(get(5, a, 1, 20, all), 0);
  EXPECT_EQ(std::count(all.begin(), all.end(), 0), 60);
  // N 0 copies nothing, with or without a buffer.
  int32_t stat = -1;
  CorePut(5, a, 21, 0, -1, {}, {}, stat);
  EXPECT_EQ(stat, 0);
  CoreGet(5, a, 22, 0, -1, {}, {}, stat);
  EXPECT_EQ(stat, 2);
}

// A direct view copies as CorePut and CoreGet do and refuses what they refuse; it follows
// its array as it grows, across pages, and an array released under it has no records.
TEST_F(Store, DirectCopiesFollowTheArray) {
  const int32_t a = create(5, 3, 10);
  const CoreRecords view(5, a);
  EXPECT_EQ(view.width(), 3);
  std::vector<int32_t> words(12, 9);
  EXPECT_FALSE(view.get(1, 1, words)) << "no page yet";
  ASSERT_EQ(extend(5, a, 1, 20), 0);
  EXPECT_EQ(view.addressable(), 20);

  // Records 9 to 12 run over the end of the first page.
  std::iota(words.begin(), words.end(), 100);
  ASSERT_TRUE(view.put(9, 4, words));
  std::vector<int32_t> back(12, -1);
  ASSERT_EQ(get(5, a, 9, 4, back), 0);
  EXPECT_EQ(back, words);
  std::vector<int32_t> direct(12, -1);
  ASSERT_TRUE(view.get(9, 4, direct));
  EXPECT_EQ(direct, words);
  std::array<float, 3> reals{};
  ASSERT_TRUE(view.get(10, 1, reals));
  EXPECT_EQ(std::bit_cast<int32_t>(reals[2]), 105);

  struct Case {
    int32_t first, n;
    size_t bufferWords;
  };
  const Case refused[] = {
      {0, 1, 30}, {-5, 3, 30}, {INT32_MAX, 2, 30}, {20, 2, 30}, {1, 10, 29}, {1, -1, 30}};
  for (const Case& c : refused) {
    std::vector<int32_t> buf(c.bufferWords, 7);
    EXPECT_FALSE(view.put(c.first, c.n, buf)) << c.first << " " << c.n;
    EXPECT_FALSE(view.get(c.first, c.n, buf)) << c.first << " " << c.n;
    EXPECT_EQ(std::count(buf.begin(), buf.end(), 7), static_cast<long>(c.bufferWords));
  }
  std::vector<int32_t> all(60, -1);
  ASSERT_EQ(get(5, a, 1, 20, all), 0);
  EXPECT_EQ(std::count(all.begin(), all.end(), 0), 48) << "only records 9 to 12 written";

  EXPECT_FALSE(CoreRecords(5, a + 1).get(1, 1, words)) << "not registered";
  EXPECT_FALSE(CoreRecords().get(1, 1, words));
  CoreFreeFile(5);
  EXPECT_EQ(view.addressable(), 0);
  EXPECT_FALSE(view.get(1, 1, words));
}

TEST_F(Store, CreationLimitsAndNumbering) {
  int32_t a = 0;
  int32_t stat = -1;
  for (int32_t k = 1; k <= kCoreArrays; ++k) ASSERT_EQ(create(7, 1, 10), k);
  CoreCreate(7, 1, 10, a, stat);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(stat, 91);
  EXPECT_EQ(CORSTO.count(7), 91);
  for (int32_t f : {0, 51, -1}) {
    CoreCreate(f, 1, 10, a, stat);
    EXPECT_EQ(a, -3);
    EXPECT_EQ(stat, 50);
  }

  // Cutting off from 60 keeps 1..59 and their records; the next array is 60 again.
  ASSERT_EQ(extend(7, 59, 1, 3), 0);
  ASSERT_EQ(put(7, 59, 1, 3, {4, 5, 6}), 0);
  ASSERT_EQ(extend(7, 60, 1, 3), 0);
  CoreFreeFrom(7, 60);
  for (int32_t k = 1; k <= 91; ++k) EXPECT_EQ(CORSTO.registered(7, k), k < 60 ? 1 : 0) << k;
  EXPECT_EQ(CORSTO.header(7, 60).pageTable, nullptr);
  std::vector<int32_t> back(3);
  EXPECT_EQ(get(7, 59, 1, 3, back), 0);
  EXPECT_EQ(back, (std::vector<int32_t>{4, 5, 6}));
  EXPECT_EQ(extend(7, 60, 1, 1), 1);
  EXPECT_EQ(create(7, 2, 5), 60);
  EXPECT_EQ(CORSTO.header(7, 60).lastPage, -1);

  // Outside 1..91 (or outside the files) nothing is cut.
  for (auto [f, from] : {std::pair{7, 0}, std::pair{7, 92}, std::pair{0, 1}, std::pair{51, 1}}) {
    CoreFreeFrom(f, from);
    EXPECT_EQ(CORSTO.count(7), 60);
  }
}

TEST_F(Store, FileRelease) {
  create(1, 1, 10);
  create(2, 1, 10);
  ASSERT_EQ(extend(2, 1, 1, 25), 0);
  CoreFreeFile(0);
  CoreFreeFile(51);
  EXPECT_EQ(CORSTO.count(1), 1);
  EXPECT_EQ(CORSTO.count(2), 1);
  CoreFreeFile(2);
  EXPECT_EQ(CORSTO.count(1), 1);
  EXPECT_EQ(CORSTO.count(2), 0);
  EXPECT_NE(CORSTO.registered(2, 1), 1);
  EXPECT_EQ(extend(2, 1, 1, 1), 1);
  EXPECT_EQ(create(2, 4, 4), 1);
  CoreFreeFile(-3);
  EXPECT_EQ(CORSTO.count(1), 0);
  EXPECT_EQ(CORSTO.count(2), 0);
}

TEST_F(Store, BisectionOverSortedFirstWords) {
  const int32_t a = create(6, 2, 3);  // records 1..4 span two pages
  fillFirstWords(6, a, 2, {10, 20, 30, 40});
  struct Case {
    int32_t key, first, last, result;
  };
  const Case cases[] = {
      {30, 1, 4, 3}, {25, 1, 4, 0}, {5, 1, 4, 0}, {45, 1, 4, 0}, {20, 1, 4, 2},
      {10, 1, 4, 1}, {40, 1, 4, 4}, {20, 2, 2, 2}, {20, 3, 2, 0}, {30, 3, 4, 3},
      {10, 0, 4, -2}, {10, 1, 7, -2},  // FIRST below 1; a page not allocated
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoreBisect(6, a, c.key, c.first, c.last), c.result) << c.key << " " << c.first;
  }
  EXPECT_EQ(CoreBisect(6, a + 1, 10, 1, 4), -1);
}

TEST_F(Store, BisectionAnswersTheEndsAtOnce) {
  // With unsorted middle records the bisection could not find 10 or 40; the end tests do.
  const int32_t a = create(6, 1, 100);
  fillFirstWords(6, a, 1, {10, 99, -7, 40});
  EXPECT_EQ(CoreBisect(6, a, 10, 1, 4), 1);
  EXPECT_EQ(CoreBisect(6, a, 40, 1, 4), 4);
  // Signed comparison at the extremes of the word range.
  const int32_t b = create(6, 1, 100);
  fillFirstWords(6, b, 1, {INT32_MIN, -1, 0, 5, INT32_MAX});
  EXPECT_EQ(CoreBisect(6, b, 0, 1, 5), 3);
  EXPECT_EQ(CoreBisect(6, b, -1, 1, 5), 2);
  EXPECT_EQ(CoreBisect(6, b, 6, 1, 5), 0);
}

TEST_F(Store, PairSearch) {
  const int32_t a = create(8, 3, 4);
  ASSERT_EQ(extend(8, a, 1, 12), 0);
  std::vector<int32_t> words(36, 0);
  auto name = [&](int32_t rec, int32_t w1, int32_t w2) {
    words[static_cast<size_t>((rec - 1) * 3)] = w1;
    words[static_cast<size_t>((rec - 1) * 3 + 1)] = w2;
  };
  name(3, 0x41414141, 0x20202020);
  name(6, 0x41414141, 0x20202031);
  name(9, 0x41414141, 0x20202020);
  ASSERT_EQ(put(8, a, 1, 12, words), 0);
  const std::array<int32_t, 2> key{0x41414141, 0x20202020};
  struct Case {
    int32_t first, last, result;
  };
  const Case cases[] = {
      {1, 12, 3}, {4, 12, 9}, {4, 8, 0}, {9, 9, 9}, {10, 12, 0}, {5, 4, 0},
      {1, 0, 0},                   // an empty range: nothing visited
      {0, 12, -2}, {-4, 12, -2},   // FIRST below 1
      {1, 13, -2},                 // page 3 not allocated
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoreFindPair(8, a, key, c.first, c.last), c.result) << c.first << " " << c.last;
  }
  EXPECT_EQ(CoreFindPair(8, a + 1, key, 1, 12), -1);
  EXPECT_EQ(CoreFindPair(0, a, key, 1, 12), -1);

  // A record of one word holds no two-word key.
  const int32_t b = create(8, 1, 4);
  fillFirstWords(8, b, 1, {0x41414141, 0x20202020, 0, 0});
  EXPECT_EQ(CoreFindPair(8, b, key, 1, 4), 0);
}

TEST_F(Store, ValueSearchWithinColumns) {
  const int32_t a = create(9, 4, 2);
  ASSERT_EQ(extend(9, a, 1, 4), 0);
  std::vector<int32_t> words(16, 0);
  words[1 * 4 + 2] = 55;  // record 2, word 3
  words[3 * 4 + 0] = 55;  // record 4, word 1
  ASSERT_EQ(put(9, a, 1, 4, words), 0);
  struct Case {
    int32_t first, last, c1, c2, result;
  };
  const Case cases[] = {
      {1, 4, 1, 4, 2}, {1, 4, 1, 2, 4}, {1, 4, 4, 4, 0}, {3, 4, 3, 3, 0}, {3, 4, 1, 3, 4},
      {1, 4, 0, 2, -2}, {1, 4, 3, 2, -2}, {1, 4, 2, 5, -2},  // columns outside 1 <= C1 <= C2 <= W
      {0, 4, 1, 4, -2}, {1, 5, 1, 4, -2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoreFindValue(9, a, 55, c.first, c.last, c.c1, c.c2), c.result)
        << c.first << " " << c.last << " " << c.c1 << " " << c.c2;
  }
}

TEST_F(Store, ArrayCopy) {
  const int32_t src = create(10, 2, 3);
  const int32_t dst = create(10, 2, 3);
  const int32_t narrow = create(10, 1, 3);
  const int32_t smallPages = create(10, 2, 2);
  ASSERT_EQ(extend(10, src, 1, 9), 0);
  ASSERT_EQ(extend(10, dst, 1, 6), 0);
  std::vector<int32_t> words(18);
  std::iota(words.begin(), words.end(), 100);
  ASSERT_EQ(put(10, src, 1, 9, words), 0);

  int32_t stat = -1;
  CoreCopy(10, src, dst, 5, stat);  // one whole page and two records of the next
  EXPECT_EQ(stat, 0);
  std::vector<int32_t> back(12, -1);
  ASSERT_EQ(get(10, dst, 1, 6, back), 0);
  EXPECT_EQ(std::vector<int32_t>(back.begin(), back.begin() + 10),
            std::vector<int32_t>(words.begin(), words.begin() + 10));
  EXPECT_EQ(back[10], 0);
  EXPECT_EQ(back[11], 0);

  struct Case {
    int32_t from, to, n, stat;
  };
  const Case cases[] = {
      {src, dst, 7, 2},          // DST has pages for 6 records only
      {dst, src, 7, 2},          // neither has SRC
      {src, narrow, 1, 2},       // widths differ
      {src, smallPages, 1, 2},   // page sizes differ
      {src, dst + 10, 1, 1},     // not registered
      {src + 10, dst, 1, 1},
  };
  for (const Case& c : cases) {
    CoreCopy(10, c.from, c.to, c.n, stat);
    EXPECT_EQ(stat, c.stat) << c.from << " " << c.to << " " << c.n;
  }
  ASSERT_EQ(get(10, dst, 1, 6, back), 0);
  EXPECT_EQ(back[10], 0);
}

TEST_F(Store, WindowSlotLookups) {
  int32_t slot = -1;
  SLTFND(0, slot);
  EXPECT_EQ(slot, 1);
  int32_t f = 0;
  MEMFNO(f);
  EXPECT_EQ(f, 2);

  // Slots keeping files 2 and 3 (slot 2 unused).
  SLTTAB.key(1) = 101;
  INCFTB.storeFile(1) = 2;
  SLTTAB.key(3) = 103;
  INCFTB.storeFile(3) = 3;
  INCFTB.storeFile(2) = 4;  // a free slot keeps nothing
  MEMFNO(f);
  EXPECT_EQ(f, 4);
  SLTFND(0, slot);
  EXPECT_EQ(slot, 2);
  SLTFND(103, slot);
  EXPECT_EQ(slot, 3);
  SLTFND(7, slot);
  EXPECT_EQ(slot, 0);

  // Store files outside 1..50 mark nothing; with every slot in use SLTFND(0) finds none.
  for (int32_t s = 1; s <= 20; ++s) {
    SLTTAB.key(s) = 200 + s;
    INCFTB.storeFile(s) = s == 20 ? 99 : s == 19 ? -5 : s + 1;
  }
  MEMFNO(f);
  EXPECT_EQ(f, 20);
  SLTFND(0, slot);
  EXPECT_EQ(slot, 0);
}

TEST_F(Store, MemfnoNeverAnswersFileOne) {
  SLTTAB.key(1) = 1;
  INCFTB.storeFile(1) = 1;
  int32_t f = 0;
  MEMFNO(f);
  EXPECT_EQ(f, 2);
  EXPECT_EQ(CORFRE[0], 1);
}

}  // namespace
}  // namespace kvr
