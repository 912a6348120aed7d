#include "command/prpseq.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "modeldb/elttab.h"

namespace kvr {
namespace {

std::vector<int32_t> codesOf(const std::string& s) {
  std::vector<int32_t> codes;
  for (char c : s) codes.push_back(codeOf(c));
  return codes;
}

TEST(FormatValue, PacksFourCharactersToAWordBlankPadded) {
  const auto codes = codesOf("xxP7Q");  // pack positions 3..5
  std::array<int32_t, 4> words{};
  words.fill(-1);
  int32_t end = -9;
  FMTVAL(codes, 3, 5, 2, words, end);
  EXPECT_EQ(end, 2);
  EXPECT_EQ(words[0], -1);
  EXPECT_EQ(words[1], a4Word("P7Q"));
  EXPECT_EQ(words[2], -1);

  FMTVAL(codes, 1, 5, 1, words, end);
  EXPECT_EQ(end, 2);
  EXPECT_EQ(words[0], a4Word("xxP7"));
  EXPECT_EQ(words[1], a4Word("Q"));
}

// A token longer than the caller's name words fills them and stops there.
TEST(FormatValue, StopsAtTheCapacityOfItsWords) {
  const auto codes = codesOf("ABCDEFGHIJKL");
  std::array<int32_t, 2> name = {kBlankCode, kBlankCode};
  std::array<int32_t, 3> guard{};
  guard.fill(-7);
  int32_t end = -9;
  FMTVAL(codes, 1, 12, 1, name, end);
  EXPECT_EQ(end, 2);
  EXPECT_EQ(name[0], a4Word("ABCD"));
  EXPECT_EQ(name[1], a4Word("EFGH"));
  for (int32_t g : guard) EXPECT_EQ(g, -7);
}

TEST(FormatValue, WritesNothingForAnEmptyOrOutsideRange) {
  const auto codes = codesOf("ABCD");
  std::array<int32_t, 2> words = {-1, -1};
  struct Case {
    int32_t first, last, position;
  };
  for (const Case& c : {Case{3, 2, 1}, Case{0, 2, 1}, Case{5, 8, 1}, Case{1, 4, 3}, Case{1, 4, 0}}) {
    int32_t end = -9;
    FMTVAL(codes, c.first, c.last, c.position, words, end);
    EXPECT_EQ(end, c.position - 1) << c.first << ".." << c.last << " at " << c.position;
    EXPECT_EQ(words[0], -1);
    EXPECT_EQ(words[1], -1);
  }
}

TEST(FormatValue, TakesAtMostEightyCharacters) {
  const auto codes = codesOf(std::string(100, 'Z'));
  std::array<int32_t, 30> words{};
  words.fill(-1);
  int32_t end = -9;
  FMTVAL(codes, 1, 100, 1, words, end);
  EXPECT_EQ(end, 20);
  EXPECT_EQ(words[19], a4Word("ZZZZ"));
  EXPECT_EQ(words[20], -1);
}

TEST(PropertyState, StartsEmptyAndBlank) {
  const PrpSeq seq;
  EXPECT_EQ(seq.position, 0);
  EXPECT_EQ(seq.expected(), 0);
  const DofNam dof;
  EXPECT_EQ(dof.countA, 0);
  EXPECT_EQ(dof.countB, 0);
  for (const auto& n : dof.names)
    for (int32_t w : n) EXPECT_EQ(w, kBlankCode);
  for (const auto& n : dof.listB)
    for (int32_t w : n) EXPECT_EQ(w, kBlankCode);
}

TEST(PropertyState, ExpectedAnswerOnlyInsideTheSequence) {
  PrpSeq seq;
  seq.entry(1) = 5;
  seq.entry(100) = -3;
  for (auto [p, want] : std::array<std::array<int32_t, 2>, 5>{{{0, 0}, {1, 5}, {100, -3}, {101, 0}, {-4, 0}}}) {
    seq.position = p;
    EXPECT_EQ(seq.expected(), want) << p;
  }
}

}  // namespace
}  // namespace kvr
