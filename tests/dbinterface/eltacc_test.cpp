#include "dbinterface/eltacc.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "runtime/machcn.h"

namespace {

using kvr::DBLEVL;

class EltAcc : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = DBLEVL;
    savedW_ = kvr::MACHCN.word(kvr::kMachWordsPerReal);
    kvr::MACHCN.word(kvr::kMachWordsPerReal) = 1;
    // Word k holds 1000 + k, so every accessor shows the word it read.
    std::iota(words_.begin(), words_.end(), 1001);
  }
  void TearDown() override {
    DBLEVL = saved_;
    kvr::MACHCN.word(kvr::kMachWordsPerReal) = savedW_;
  }
  void layout(bool longEntries, int32_t mode, int32_t nodeOffset, int32_t elementOffset) {
    DBLEVL.recordLayout = longEntries ? kvr::kLongEntryLayout : 5006;
    DBLEVL.numberingMode = mode;
    DBLEVL.nodeOffset = nodeOffset;
    DBLEVL.elementOffset = elementOffset;
  }
  std::array<int32_t, 200> words_{};
  kvr::DbLevl saved_;
  int32_t savedW_ = 0;
};

// Each accessor reads the word its layout names (w = 1, so 3w + 2 = 5 and 3w + 1 = 4),
// with the node offset 100 and the element offset 1000 where they apply.
TEST_F(EltAcc, WordsOfBothLayouts) {
  const int32_t q = 10;
  // Edge record: node count 3 at word Q.
  words_[q - 1] = 3;
  struct Case {
    const char* name;
    int32_t shortWord, longWord, added;
    int32_t (*read)(std::span<const int32_t>);
  };
  static const Case cases[] = {
      {"NODSEQ k=2", q + 2 * 2 + 6, q + 2 * 5 + 6, 100,
       [](std::span<const int32_t> b) { return kvr::NODSEQ(b, 10, 2); }},
      {"EDGNOD j=2", q + 2 + 2, q + 2 * 4 - 3 + 2, 100,
       [](std::span<const int32_t> b) { return kvr::EDGNOD(b, 10, 2); }},
      {"NODOFF i=2", q + 3 + 2 + 2, q + 3 * 4 + 2 + 2, 1000,
       [](std::span<const int32_t> b) { return kvr::NODOFF(b, 10, 2); }},
      {"ENTW4", q + 4, q + 4, 0, [](std::span<const int32_t> b) { return kvr::ENTW4(b, 10); }},
      {"ENTW2", q + 2, q + 2, 0, [](std::span<const int32_t> b) { return kvr::ENTW2(b, 10); }},
      {"EDGRLN", q + 1, q + 1, 0, [](std::span<const int32_t> b) { return kvr::EDGRLN(b, 10); }},
      {"EDGW1", q + 1, q + 1, 0, [](std::span<const int32_t> b) { return kvr::EDGW1(b, 10); }},
      {"TRIPG1 j=2", q + 5, q + 5, 1000,
       [](std::span<const int32_t> b) { return kvr::TRIPG1(b, 10, 2); }},
      {"TRIPGT j=2", q + 6, q + 6, 0,
       [](std::span<const int32_t> b) { return kvr::TRIPGT(b, 10, 2); }},
      {"TRIPG3 j=2", q + 7, q + 7, 0,
       [](std::span<const int32_t> b) { return kvr::TRIPG3(b, 10, 2); }},
  };
  for (bool longEntries : {false, true}) {
    for (int32_t mode : {0, 1}) {
      layout(longEntries, mode, 100, 1000);
      for (const Case& c : cases) {
        const int32_t word = longEntries ? c.longWord : c.shortWord;
        const int32_t stored = word == q ? 3 : 1000 + word;
        EXPECT_EQ(c.read(words_), stored + (mode == 1 ? 0 : c.added))
            << c.name << " long " << longEntries << " mode " << mode;
      }
      EXPECT_EQ(kvr::EDGNN(words_, q), 3);
      EXPECT_EQ(kvr::EDGLEN(3), longEntries ? 15 : 6);
      std::array<int32_t, 3> ids{}, seqs{};
      kvr::ELNODS(words_, q, 3, ids);
      kvr::ENNODS(words_, q, 3, seqs);
      for (int32_t k = 1; k <= 3; ++k) {
        const int32_t w = longEntries ? q + 5 * k + 5 : q + 2 * k + 5;
        EXPECT_EQ(ids[static_cast<size_t>(k - 1)], 1000 + w) << k;
        EXPECT_EQ(seqs[static_cast<size_t>(k - 1)], 1000 + w + 1 + (mode == 1 ? 0 : 100)) << k;
      }
    }
  }
}

TEST_F(EltAcc, KeysAndPerFaceWords) {
  layout(false, 0, 100, 1000);
  std::array<int32_t, 8> faces{};
  for (int32_t v : {7, -3, 0}) {
    kvr::FACPUT(faces, 3, 2, v);
    EXPECT_EQ(faces[3], 2 * v);
    // A positive key takes the element offset; a negative key and 0 come back unchanged.
    EXPECT_EQ(kvr::FACNGB(faces, 3, 2), v > 0 ? v + 1000 : v) << v;
  }
  std::array<int32_t, 6> list{0, 0, 0, 0, -4, 0};  // triple 1 from word 5
  EXPECT_EQ(kvr::TRIPG1(list, 3, 1), -4);
  list[4] = 0;
  EXPECT_EQ(kvr::TRIPG1(list, 3, 1), 0);
  // SEQPUT writes the word after node k; outside the buffer nothing is written or read.
  kvr::SEQPUT(words_, 10, 2, -9);
  EXPECT_EQ(words_[10 + 2 * 2 + 6 - 1], -9);
  kvr::SEQPUT(words_, 200, 1, -9);
  EXPECT_EQ(kvr::NODSEQ(words_, 200, 1), 100);
  kvr::FACPUT(faces, 0, 0, 5);
  EXPECT_EQ(kvr::FACNGB(faces, -1, 1), 0);
}

}  // namespace
