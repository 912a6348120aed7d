#include "command/aprgnm.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

// APRGNM of CODE from position 5 of a 20-position line of "."; the line's positions 5..12
// as characters.
struct Named {
  std::string written;
  int32_t last = -9;
  int32_t codeA = -9;
  int32_t codeB = -9;
  bool fourUntouched = false;
};
Named named(int32_t code) {
  std::array<int32_t, 20> line;
  line.fill(codeOf('.'));
  Named n;
  APRGNM(code, 5, line, n.last, n.codeA, n.codeB);
  for (int32_t k = 5; k <= 12; ++k) n.written.push_back(charOf(line[static_cast<size_t>(k - 1)]));
  n.fourUntouched = line[3] == codeOf('.');
  return n;
}

TEST(Aprgnm, WritesTheRowsNameAndCodes) {
  struct Case {
    int32_t code;
    std::string written;
    int32_t last, codeA, codeB;
  };
  const Case cases[] = {
      {-27, "SELVO...", 9, 27, 27},  {27, "SELVO...", 9, 27, 27},  {21, "KAVRO+..", 10, 21, 21},
      {4, "PROG04..", 10, 4, 4},     {-1, "PROG01..", 10, 1, 1},   {52, "PROG52..", 10, 52, 52},
      {29, "PROG29..", 10, 29, 29},  {37, " .......", 5, 0, 0},    {36, " .......", 5, 0, 0},
      {38, " .......", 5, 0, 0},     {53, "........", 5, 0, 0},    {0, "........", 5, 0, 0},
      {-53, "........", 5, 0, 0},    {INT32_MIN, "........", 5, 0, 0},
  };
  for (const Case& c : cases) {
    const Named n = named(c.code);
    EXPECT_EQ(n.written, c.written) << c.code;
    EXPECT_EQ(n.last, c.last) << c.code;
    EXPECT_EQ(n.codeA, c.codeA) << c.code;
    EXPECT_EQ(n.codeB, c.codeB) << c.code;
    EXPECT_TRUE(n.fourUntouched) << c.code;
  }
}

TEST(Aprgnm, EveryOtherRowIsANeutralNameOfAtMostEightCharacters) {
  for (int32_t code = 1; code <= kProgramCodes; ++code) {
    const std::string name(programName(code));
    if (code == 21 || code == 27 || (code >= 36 && code <= 38)) continue;
    EXPECT_EQ(name, "PROG" + std::string(code < 10 ? "0" : "") + std::to_string(code));
  }
  EXPECT_EQ(programName(0), "");
  EXPECT_EQ(programName(53), "");
}

TEST(Aprgnm, TheNameIsCutWhereTheLineEnds) {
  std::array<int32_t, 3> line;
  line.fill(kBlankCode);
  int32_t last = 0, a = 0, b = 0;
  APRGNM(27, 2, line, last, a, b);
  EXPECT_EQ(charOf(line[1]), 'S');
  EXPECT_EQ(charOf(line[2]), 'E');
  EXPECT_EQ(last, 3);
  EXPECT_EQ(a, 27);
}

TEST(Pkbits, ReadsBitsAndTheLastFieldOfThirteen) {
  struct Case {
    std::array<int32_t, 4> words;
    int32_t field;
    int32_t value;
  };
  const Case cases[] = {
      {{12289, 0, 0, 0}, 1, 1},          {{12289, 0, 0, 0}, 2, 0},
      {{12289, 0, 0, 0}, 13, 3},         {{-12289, 0, 0, 0}, 1, 1},
      {{-12289, 0, 0, 0}, 2, 0},         {{-12289, 0, 0, 0}, 13, 3},
      {{0, 1, 0, 0}, 14, 1},             {{0, 1, 0, 0}, 15, 0},
      {{0, 0, 0, 8191}, 52, 1},          {{0, 0, 0, 8191}, 47, 1},
      {{INT32_MIN, 0, 0, 0}, 13, 524288}, {{8191, 8191, 8191, 8191}, 53, 0},
      {{8191, 0, 0, 0}, 0, 0},           {{8191, 0, 0, 0}, -1, 0},
  };
  for (const Case& c : cases) {
    int32_t value = -9;
    PKBITS(c.words, c.field, value, 13);
    EXPECT_EQ(value, c.value) << c.words[0] << " field " << c.field;
  }
  for (int32_t field = 1; field <= 12; ++field) {
    int32_t value = -9;
    PKBITS(std::array<int32_t, 4>{INT32_MIN, 0, 0, 0}, field, value, 13);
    EXPECT_EQ(value, 0) << field;
  }
}

TEST(Pkbits, OtherFieldCountsPerWord) {
  struct Case {
    int32_t word;
    int32_t field;
    int32_t fields;
    int32_t value;
  };
  const Case cases[] = {
      {5, 1, 3, 1},          {5, 2, 3, 0},          {5, 3, 3, 1},  // 5 >> 2
      {-7, 1, 1, 7},         {INT32_MIN, 1, 1, INT32_MAX},         // held at the largest word
      {INT32_MIN, 32, 32, 1}, {INT32_MAX, 31, 32, 1},
      {5, 1, 0, 0},          {5, 1, 33, 0},         {5, 1, -1, 0},
  };
  for (const Case& c : cases) {
    int32_t value = -9;
    PKBITS(std::array<int32_t, 1>{c.word}, c.field, value, c.fields);
    EXPECT_EQ(value, c.value) << c.word << " field " << c.field << " of " << c.fields;
  }
}

}  // namespace
}  // namespace kvr
