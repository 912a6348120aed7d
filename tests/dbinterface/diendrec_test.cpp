#include "dbinterface/diendrec.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

std::vector<int32_t> wordsOf(int32_t key, int32_t irtype, int32_t mode) {
  EndRecords records;
  endRecords(key, irtype, mode, records);
  auto w = records.words();
  return {w.begin(), w.end()};
}

// -3 followed by N words of VALUE.
std::vector<int32_t> end(int n, int32_t value = 0) {
  std::vector<int32_t> w(static_cast<size_t>(n) + 1, value);
  w[0] = -3;
  return w;
}

std::vector<int32_t> operator+(std::vector<int32_t> a, const std::vector<int32_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<int32_t> nameEnd() {
  std::vector<int32_t> w = end(1) + std::vector<int32_t>(8, kBlankCode);
  return w;
}

TEST(EndRecords, LengthAndLayoutOfEachKey) {
  struct Case {
    int32_t key;
    std::vector<int32_t> words;
  };
  const Case cases[] = {
      {2, end(5)},   {3, end(6)},   {18, {-3, 1, 0}}, {19, {-3, 1, 0}}, {20, end(8)},
      {28, end(8)},  {29, end(8)},  {30, end(5)},     {31, end(7)},     {32, end(3)},
      {33, end(5)},  {34, end(5)},  {41, end(4)},     {42, end(4)},     {43, end(2)},
      {50, end(2)},  {53, end(64)}, {54, nameEnd()},  {55, nameEnd()},  {1, {}},
      {111, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wordsOf(c.key, 0, 1), c.words) << "key " << c.key;
    EXPECT_EQ(wordsOf(c.key, 0, 2), c.words) << "key " << c.key << " append";
  }
}

TEST(EndRecords, ResultsFollowTheUnitsResultsType) {
  for (int32_t key : {100, 300}) {
    EXPECT_EQ(wordsOf(key, 1, 1), end(2));
    EXPECT_EQ(wordsOf(key, 2, 1), end(5));
    EXPECT_EQ(wordsOf(key, 3, 1), end(9));
    EXPECT_EQ(wordsOf(key, 5, 1), end(9));
    EXPECT_EQ(wordsOf(key, 0, 1), std::vector<int32_t>{});
  }
}

TEST(EndRecords, BuildRecordComesAfterTheKeysOwnAndBeforeTheNameKeys) {
  EXPECT_EQ(wordsOf(1, 0, 3), end(21));
  EXPECT_EQ(wordsOf(111, 0, 3), end(21));
  EXPECT_EQ(wordsOf(2, 0, 3), end(5) + end(21));
  EXPECT_EQ(wordsOf(100, 3, 3), end(9) + end(21));
  EXPECT_EQ(wordsOf(54, 0, 3), end(21) + nameEnd());
  // The longest combination fits.
  EXPECT_EQ(wordsOf(53, 0, 3), end(21) + end(64));
  EXPECT_EQ(static_cast<int32_t>(wordsOf(53, 0, 3).size()), EndRecords::kCapacity);
}

}  // namespace
}  // namespace kvr
