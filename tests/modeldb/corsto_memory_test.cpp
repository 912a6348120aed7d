// The store under memory shortage: every failed heap request becomes a status, and the
// store stays consistent and usable afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "modeldb/corsto.h"
#include "platform/memory.h"

namespace kvr {
namespace {

constexpr std::size_t kPointer = sizeof(int32_t*);

class StoreMemory : public ::testing::Test {
 protected:
  void SetUp() override { CoreFreeFile(-1); }
  void TearDown() override { CoreFreeFile(-1); }
  mem::ScopedHook heap;
};

TEST_F(StoreMemory, CreationWithoutMemory) {
  int32_t a = 0;
  int32_t stat = 0;
  CoreCreate(4, 3, 10, a, stat);
  ASSERT_EQ(a, 1);
  heap.failNth(1);
  CoreCreate(4, 3, 10, a, stat);
  EXPECT_EQ(a, -2);
  EXPECT_EQ(stat, 2);
  EXPECT_EQ(CORSTO.count(4), 1);
  EXPECT_NE(CORSTO.registered(4, 2), 1);
  CoreCreate(4, 3, 10, a, stat);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(stat, 0);
}

TEST_F(StoreMemory, HeapRequestsOfAnExtension) {
  // A new table block, then one table resize and one zeroed page of W x R words; an
  // extension within the pages asks for nothing; the next page asks for the page only.
  int32_t a = 0;
  int32_t stat = 0;
  CoreCreate(2, 3, 2000, a, stat);
  CoreExtend(2, a, 1, 1, stat);
  ASSERT_EQ(stat, 0);
  CoreExtend(2, a, 1, 2000, stat);
  CoreExtend(2, a, 2001, 1, stat);
  ASSERT_EQ(stat, 0);
  EXPECT_EQ(heap.sizesAsked(),
            (std::vector<std::size_t>{500 * kPointer, 100 * kPointer, 3 * 2000 * 4, 3 * 2000 * 4}));
}

TEST_F(StoreMemory, TableGrowthFailureLeavesTheArrayUnchanged) {
  int32_t a = 0;
  int32_t stat = 0;
  CoreCreate(3, 1, 5, a, stat);
  CoreExtend(3, a, 1, 5, stat);
  ASSERT_EQ(stat, 0);
  const CoreHeader& h = CORSTO.header(3, a);
  int32_t** table = h.pageTable;
  heap.failNth(1);
  CoreExtend(3, a, 1, 501, stat);  // page 100: the table must grow
  EXPECT_EQ(stat, 2);
  EXPECT_EQ(h.pageTable, table);
  EXPECT_EQ(h.capacity, 100);
  EXPECT_EQ(h.lastPage, 0);
  CoreExtend(3, a, 1, 501, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(h.capacity, 200);
  EXPECT_EQ(h.lastPage, 100);
}

TEST_F(StoreMemory, PageFailureKeepsThePagesBeforeIt) {
  int32_t a = 0;
  int32_t stat = 0;
  CoreCreate(3, 2, 4, a, stat);
  heap.failNth(4);  // table resize, pages 0 and 1, then page 2 fails
  CoreExtend(3, a, 1, 16, stat);
  EXPECT_EQ(stat, 3);
  const CoreHeader& h = CORSTO.header(3, a);
  EXPECT_EQ(h.lastPage, 1);
  EXPECT_EQ(h.pageTable[2], nullptr);
  std::vector<int32_t> words(2, 7);
  CorePut(3, a, 8, 1, -1, words, {}, stat);
  EXPECT_EQ(stat, 0);
  CorePut(3, a, 9, 1, -1, words, {}, stat);
  EXPECT_EQ(stat, 2);
  CoreExtend(3, a, 1, 16, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(h.lastPage, 3);
  CoreGet(3, a, 8, 1, -1, words, {}, stat);
  EXPECT_EQ(words, (std::vector<int32_t>{7, 7}));
}

}  // namespace
}  // namespace kvr
