#include "modeldb/arrdef.h"

#include <gtest/gtest.h>

#include <map>

#include "modeldb/corsto.h"

namespace kvr {
namespace {

TEST(Arrdef, SampledRows) {
  struct Row {
    int32_t k, width, sign, perPage, handle;
    bool undo;
  };
  const Row rows[] = {
      {1, 2, 1, 2000, 0, true},     {4, 1, -1, 48000, 0, true},  {10, 1, 1, 40000, 0, true},
      {20, 63, -1, 400, 0, true},   {21, 1, -1, 10000, 0, false}, {23, 32, -1, 1000, 0, true},
      {29, 23, -1, 600, 0, true},   {31, 1, -1, 100000, 7, false}, {35, 2, 1, 200, 21, true},
      {45, 1, -1, 250000, 5, false}, {52, 2, -1, 10000, 8, false}, {57, 1, -1, 10000, 20, false},
  };
  for (const Row& r : rows) {
    const ArrayDef& d = arrayDef(r.k);
    EXPECT_EQ(d.shape, (ArrayShape{r.width, r.sign, r.perPage})) << r.k;
    EXPECT_EQ(d.handleWord, r.handle) << r.k;
    EXPECT_EQ(d.undoCopy, r.undo) << r.k;
  }
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const ArrayShape& s = arrayDef(k).shape;
    EXPECT_TRUE(s.sign == 1 || s.sign == -1) << k;
    EXPECT_GE(s.width, 1) << k;
    EXPECT_GE(s.perPage, 200) << k;
    EXPECT_EQ(arrayDef(k).mode3Only, k == 47) << k;
  }
}

TEST(Arrdef, UndoCopiesFillTheStoreFile) {
  // Copies of 1..37 except 21, 22 and 31: with the 57 arrays exactly the 91 of one file.
  int32_t copies = 0;
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const bool expected = k <= 37 && k != 21 && k != 22 && k != 31;
    EXPECT_EQ(arrayDef(k).undoCopy, expected) << k;
    copies += arrayDef(k).undoCopy ? 1 : 0;
  }
  EXPECT_EQ(copies, 34);
  EXPECT_EQ(kModelArrays + copies, kCoreArrays);
}

TEST(Arrdef, HandleWordsAgreeWithTheHandleModes) {
  // Handle mode 1: word -> named array; mode 3 differs in word 7 only (47).
  const std::map<int32_t, int32_t> mode1 = {
      {1, 41},  {2, 42},  {3, 43},  {4, 44},  {5, 45},  {6, 46},  {7, 31},  {8, 52},  {9, 48},
      {10, 49}, {11, 50}, {12, 51}, {13, 32}, {14, 33}, {15, 53}, {16, 54}, {17, 55}, {18, 56},
      {19, 34}, {20, 57}, {21, 35}, {22, 36}, {23, 37}, {24, 38}, {29, 39}, {30, 40}};
  std::map<int32_t, int32_t> fromTable;
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const ArrayDef& d = arrayDef(k);
    if (d.handleWord == 0 || d.mode3Only) continue;
    EXPECT_TRUE(fromTable.emplace(d.handleWord, k).second) << "word " << d.handleWord;
  }
  EXPECT_EQ(fromTable, mode1);
  EXPECT_EQ(arrayDef(47).handleWord, 7);
}

TEST(Arrdef, SmallerLayouts) {
  const std::array<ArrayShape, 8> writing = {{{3, -1, 10000}, {1, -1, 250000}, {1, -1, 10000},
                                              {3, 1, 10000}, {1, -1, 250000}, {1, -1, 10000},
                                              {1, -1, 100000}, {1, -1, 10000}}};
  EXPECT_EQ(kWritingRoadLayout, writing);
  EXPECT_EQ(kTwoArrayLayout, (std::array<ArrayShape, 2>{{{1, -1, 100000}, {1, -1, 10000}}}));
  for (const ArrayShape& s : kAnswerStoreLayout) EXPECT_EQ(s, (ArrayShape{1, -1, 800}));
}

}  // namespace
}  // namespace kvr
