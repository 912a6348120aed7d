// The name map of the command reader: 8-character keys with 8-character values in hash
// chains, entry numbers, and the statuses of a map that cannot grow.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

constexpr int32_t kFirstEntry = kNameMapBlock;  // block 1, index 0

struct NameMapTest : ::testing::Test {
  void SetUp() override { NameMapFree(); }
  void TearDown() override { NameMapFree(); }

  static int32_t insert(std::string_view key, std::string_view value) {
    FixedText k(8, key);
    FixedText v(8, value);
    int32_t status = -9;
    NameMapInsert(k, v, status);
    return status;
  }
  // The entry number of KEY, and its value in an 8-character text that started as "????????".
  static int32_t lookup(std::string_view key, std::string& value) {
    FixedText k(8, key);
    FixedText v(8, "????????");
    int32_t entry = -9;
    NameMapLookup(k, v, entry);
    value = std::string(v.view());
    return entry;
  }
};

TEST_F(NameMapTest, FirstOfTwoEntriesWithOneKeyIsFound) {
  ASSERT_EQ(insert("ALPHA", "one"), 0);
  ASSERT_EQ(insert("BETA", "two"), 0);
  ASSERT_EQ(insert("ALPHA", "three"), 0);
  std::string value;
  EXPECT_EQ(lookup("ALPHA", value), kFirstEntry);
  EXPECT_EQ(value, "one     ");
  EXPECT_EQ(lookup("BETA", value), kFirstEntry + 1);
  EXPECT_EQ(value, "two     ");
}

TEST_F(NameMapTest, UnknownKeyLeavesEntryZeroAndValueUntouched) {
  std::string value;
  EXPECT_EQ(lookup("NONE", value), 0);  // no map yet
  EXPECT_EQ(value, "????????");
  ASSERT_EQ(insert("KNOWN", "v"), 0);
  EXPECT_EQ(lookup("NONE", value), 0);
  EXPECT_EQ(value, "????????");
  EXPECT_EQ(lookup("KNOWN  x", value), 0);
}

TEST_F(NameMapTest, KeysAndValuesAreEightBytesOfAnyValue) {
  const std::string high = "\xff\xfe\x80\x81\xc3\xa9zz";
  ASSERT_EQ(insert(high, "accent"), 0);
  ASSERT_EQ(insert(std::string_view("ab\0cdefg", 8), std::string_view("xy\0zzzzz", 8)), 0);
  std::string value;
  EXPECT_EQ(lookup(high, value), kFirstEntry);
  EXPECT_EQ(value, "accent  ");
  // The value is copied up to its NUL; a key longer than 8 characters is its first 8.
  EXPECT_EQ(lookup(std::string_view("ab\0cdefg", 8), value), kFirstEntry + 1);
  EXPECT_EQ(value, "xy      ");
  EXPECT_EQ(lookup(high + "tail", value), kFirstEntry);
}

TEST_F(NameMapTest, LongChainsAndManyBlocksStayFindable) {
  // Every permutation of one set of letters falls into one bucket: 40 of them fill five
  // chain nodes. 10000 further keys use ten entry blocks and more than one node block.
  std::string letters = "ABCDEFGH";
  std::vector<std::string> keys;
  for (int i = 0; i < 40; ++i, std::next_permutation(letters.begin(), letters.end())) keys.push_back(letters);
  for (int i = 0; i < 10000; ++i) keys.push_back("K" + std::to_string(1000000 + i));
  for (size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(insert(keys[i], std::to_string(i)), 0) << keys[i];
  for (size_t i = 0; i < keys.size(); ++i) {
    std::string value;
    int32_t n = static_cast<int32_t>(i);
    EXPECT_EQ(lookup(keys[i], value), (n / kNameMapBlock + 1) * kNameMapBlock + n % kNameMapBlock) << keys[i];
    EXPECT_EQ(value, std::string(FixedText(8, std::to_string(i)).view())) << keys[i];
  }
}

TEST_F(NameMapTest, FreedMapIsEmptyAndTakesInsertsAgain) {
  ASSERT_EQ(insert("OLD", "1"), 0);
  NameMapFree();
  std::string value;
  EXPECT_EQ(lookup("OLD", value), 0);
  ASSERT_EQ(insert("NEW", "2"), 0);
  EXPECT_EQ(lookup("NEW", value), kFirstEntry);
  EXPECT_EQ(value, "2       ");
  int32_t status = -9;
  NameMapInit(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(lookup("NEW", value), 0);
}

TEST_F(NameMapTest, NodesAreHandedOutInOrder) {
  int32_t status = -9;
  int32_t block = 0;
  int32_t index = -1;
  NameMapInit(status);
  for (int32_t expected = 0; expected < 3; ++expected) {
    NameMapNode(status, block, index);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(block, 1);
    EXPECT_EQ(index, expected);
  }
}

TEST_F(NameMapTest, FailedAllocationsAnswerTheirStatusAndAddNothing) {
  int32_t status = -9;
  NameMapInit(status);
  ASSERT_EQ(status, 0);
  std::string value;
  {
    // The first request is the entry block.
    mem::ScopedHook hook;
    hook.failNth(1);
    EXPECT_EQ(insert("KEY", "v"), 2);
  }
  EXPECT_EQ(lookup("KEY", value), 0);
  {
    // The entry block is had; the chain node's block (the second request) is not.
    mem::ScopedHook hook;
    hook.failNth(2);
    EXPECT_EQ(insert("KEY", "v"), 4);
  }
  EXPECT_EQ(lookup("KEY", value), 0);
  ASSERT_EQ(insert("KEY", "v"), 0);
  EXPECT_EQ(lookup("KEY", value), kFirstEntry);
  {
    mem::ScopedHook hook;
    hook.failAll();
    NameMapInit(status);
    EXPECT_EQ(status, 1);
  }
  EXPECT_EQ(lookup("KEY", value), 0);
  {
    // A map that cannot be made takes nothing.
    mem::ScopedHook hook;
    hook.failAll();
    EXPECT_EQ(insert("KEY", "v"), 1);
  }
  EXPECT_EQ(lookup("KEY", value), 0);
}

TEST_F(NameMapTest, FullEntryTableAnswersOne) {
  const int32_t capacity = kNameMapBlock * kNameMapBlocks;
  int32_t status = 0;
  FixedText k(8);
  FixedText v(8, "v");
  for (int32_t i = 0; i < capacity && status == 0; ++i) {
    k.text().assign(std::to_string(10000000 + i));
    NameMapInsert(k, v, status);
  }
  ASSERT_EQ(status, 0);
  EXPECT_EQ(insert("LAST", "v"), 1);
  std::string value;
  EXPECT_EQ(lookup("LAST", value), 0);
  EXPECT_EQ(lookup("10000000", value), kFirstEntry);
}

}  // namespace
}  // namespace kvr
