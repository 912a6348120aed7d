#include "modeldb/recwords.h"

#include <gtest/gtest.h>

#include <vector>

#include "modeldb/dblevl.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

class RecWords : public ::testing::Test {
 protected:
  void SetUp() override { DBLEVL = {}; }
  void TearDown() override { DBLEVL = {}; }

  // 1-based word K of the buffer.
  int32_t& word(int32_t k) { return buffer[static_cast<size_t>(k - 1)]; }

  std::vector<int32_t> buffer = std::vector<int32_t>(40, 0);
};

TEST_F(RecWords, Pk5StoresItsWordsInItsOwnOrder) {
  RECPK5(buffer, 10, 1, 2, 3, 4, 5);
  EXPECT_EQ(word(9), 0);
  EXPECT_EQ(word(10), 5);
  EXPECT_EQ(word(11), 1);
  EXPECT_EQ(word(12), 2);
  EXPECT_EQ(word(13), 4);
  EXPECT_EQ(word(14), 3);
  EXPECT_EQ(word(15), 0);
}

TEST_F(RecWords, WordsFromTheCursor) {
  for (int32_t k = 1; k <= 40; ++k) word(k) = 100 + k;
  EXPECT_EQ(RECW0(buffer, 6), 106);
  EXPECT_EQ(RECW1(buffer, 6), 107);
  EXPECT_EQ(RECW2(buffer, 6), 108);
  EXPECT_EQ(RECW3(buffer, 6), 109);
  EXPECT_EQ(RECW4(buffer, 6), 110);
  // Words outside the buffer read as 0.
  EXPECT_EQ(RECW4(buffer, 37), 0);
  EXPECT_EQ(RECW0(buffer, 0), 0);
}

TEST_F(RecWords, SequenceNumbersAddTheOffsetsUnlessStoredNumbersAreUsed) {
  const int32_t q = 20;
  word(q + 1) = 7;  // element entry: sequence number
  word(q + 2) = 9;  // node entry: sequence number
  DBLEVL.elementOffset = 100;
  DBLEVL.nodeOffset = 1000;
  EXPECT_EQ(RECELM(buffer, q), 107);
  EXPECT_EQ(RECNOD(buffer, q), 1009);
  DBLEVL.numberingMode = 1;
  EXPECT_EQ(RECELM(buffer, q), 7);
  EXPECT_EQ(RECNOD(buffer, q), 9);
}

TEST_F(RecWords, TextAfterTwoWords) {
  std::vector<int32_t> text;
  for (char c : std::string("ABCDEFGH")) text.push_back(codeOf(c));
  RECTXT(buffer, 5, 3, 4, text);
  EXPECT_EQ(word(5), 3);
  EXPECT_EQ(word(6), 4);
  for (int32_t k = 0; k < 8; ++k) EXPECT_EQ(word(7 + k), 0x20202041 + k);
  EXPECT_EQ(word(15), 0);

  // A short text is completed with blanks; nothing is written past the buffer.
  RECTXT(buffer, 35, 1, 2, std::vector<int32_t>{codeOf('Z')});
  EXPECT_EQ(word(37), codeOf('Z'));
  EXPECT_EQ(word(38), kBlankCode);
  EXPECT_EQ(word(40), kBlankCode);
}

}  // namespace
}  // namespace kvr
