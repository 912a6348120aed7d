#include "runtime/codtxt.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "runtime/chrset.h"
#include "runtime/iomode.h"

namespace kvr {
namespace {

// The characters of codes FIRST..LAST.
std::string charsOf(std::span<const int32_t> codes, int32_t first, int32_t last) {
  std::string s;
  for (int32_t k = first; k <= last; ++k) s.push_back(charOf(codes[static_cast<size_t>(k - 1)]));
  return s;
}

int32_t txtcod(std::string text, int32_t first, std::span<int32_t> codes) {
  int32_t last = -99;
  TXTCOD(FText(text), first, codes, last);
  return last;
}

TEST(Txtcod, EndsAtTerminatorNulOrLastNonBlank) {
  struct Case {
    std::string text;
    int32_t first;
    int32_t last;
    std::string chars;
  };
  const Case cases[] = {
      {"ABC*.XYZ", 1, 3, "ABC"},
      {std::string("AB\0C", 4), 1, 2, "AB"},
      {"        ", 5, 4, ""},
      {"E2420: *.", 1, 7, "E2420: "},        // blanks before the terminator belong to it
      {std::string("A \0", 3), 1, 2, "A "},  // and so do blanks before a NUL
      {"AB  ", 3, 4, "AB"},
  };
  for (const Case& c : cases) {
    std::array<int32_t, 20> codes;
    codes.fill(0);
    EXPECT_EQ(txtcod(c.text, c.first, codes), c.last) << c.text;
    EXPECT_EQ(charsOf(codes, c.first, c.last), c.chars) << c.text;
    EXPECT_EQ(codes[static_cast<size_t>(c.last)], 0) << "nothing after the last code";
  }
}

TEST(Txtcod, CodeWordsHoldTheCharacterInTheLowByte) {
  std::array<int32_t, 2> codes{};
  txtcod("A *.", 1, codes);
  EXPECT_EQ(codes[0], 0x20202041);
  EXPECT_EQ(codes[1], 0x20202020);
  EXPECT_EQ(codes[1], kBlankCode);
}

TEST(Txtcod, StopsAtTheEndOfTheLine) {
  std::vector<int32_t> codes(3, 0);
  EXPECT_EQ(txtcod("ABCDEF", 2, codes), 3);
  EXPECT_EQ(charsOf(codes, 2, 3), "AB");
}

TEST(Codtxt, ConvertsCodesAndBlankPads) {
  std::array<int32_t, 3> codes{codeOf('x'), codeOf('y'), codeOf('z')};
  FixedText text(5, "12345");
  CODTXT(codes, 2, text);
  EXPECT_EQ(text.view(), "xy   ");
  CODTXT(codes, 0, text);
  EXPECT_EQ(text.view(), "     ");
  CODTXT(codes, 9, text);  // no more codes than the line holds
  EXPECT_EQ(text.view(), "xyz  ");
}

TEST(Txta4, PacksFourCharactersPerWordAndUnpacksThemAgain) {
  std::array<int32_t, 4> words{};
  int32_t last = 0;
  FixedText text(8, "BE2 BE3 ");
  TXTA4(text, 1, words, last);
  EXPECT_EQ(last, 2);
  EXPECT_EQ(words[0], 0x20324542);
  FixedText back(8);
  A4TXT(words, 8, back);
  EXPECT_EQ(back.view(), "BE2 BE3 ");

  FixedText empty(4);
  TXTA4(empty, 3, words, last);
  EXPECT_EQ(last, 2);

  std::array<int32_t, 1> one{};
  FixedText longer(12, "ABCDEFGHIJKL");
  TXTA4(longer, 1, one, last);  // cut at the one word there is room for
  EXPECT_EQ(last, 1);
}

TEST(A4cod, AppendsTheCharacterRangeWithoutAFixedWorkText) {
  std::string name(100, 'N');
  name[99] = 'Z';
  std::vector<int32_t> words(25);
  int32_t last = 0;
  FixedText text(100, name);
  TXTA4(text, 1, words, last);
  std::vector<int32_t> codes(120, 0);
  A4COD(words, 1, 100, 3, codes, last);
  EXPECT_EQ(last, 102);
  EXPECT_EQ(charsOf(codes, 102, 102), "Z");
  A4COD(words, 1, 400, 1, codes, last);  // only the characters the words hold
  EXPECT_EQ(last, 100);
  std::array<int32_t, 4> small{};
  A4COD(words, 1, 100, 1, small, last);  // and only as many as the line takes
  EXPECT_EQ(last, 4);
}

TEST(Realcd, InsertsPackedCharactersAsStored) {
  std::array<int32_t, 2> words{};
  int32_t last = 0;
  FixedText text(10, "SET     *.");
  TXTA4(text, 1, words, last);
  ASSERT_EQ(last, 2);
  std::array<int32_t, 10> codes{};
  REALCD(words, 1, 8, 2, codes, last);
  EXPECT_EQ(last, 9);
  EXPECT_EQ(charsOf(codes, 2, 9), "SET     ");
}

TEST(Intcod, WritesLeftJustifiedDecimals) {
  const std::pair<int32_t, std::string> cases[] = {
      {-42, "-42"}, {0, "0"}, {7, "7"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
  for (const auto& [value, text] : cases) {
    std::array<int32_t, 20> codes{};
    int32_t last = 0;
    INTCOD(value, 3, codes, last);
    EXPECT_EQ(last, 3 + static_cast<int32_t>(text.size()) - 1) << value;
    EXPECT_EQ(charsOf(codes, 3, last), text);
  }
}

TEST(Realtx, WritesTheShortestFormWithDSignificantDigits) {
  struct Case {
    float value;
    int32_t digits;
    std::string text;
  };
  const Case cases[] = {
      {1.5f, 3, "1.5"},      {0.25f, 2, ".25"},   {-0.25f, 2, "-.25"},
      {12345.0f, 3, ".123E5"}, {0.012f, 3, ".12E-1"}, {-0.5f, 1, "-.5"},
      {0.0f, 3, "0"},        {0.25f, 1, ".2"},    {100.0f, 3, "100"},
      {1000.0f, 3, ".1E4"},  {-12345.0f, 8, "-12345"}, {2.0f, 0, "2"},
  };
  for (const Case& c : cases) {
    std::array<int32_t, 30> codes{};
    int32_t last = 0;
    REALTX(c.value, c.digits, 1, codes, last);
    EXPECT_EQ(charsOf(codes, 1, last), c.text) << c.value << " d=" << c.digits;
  }
}

TEST(Vertxt, BuildsTheReleaseAndVersionTexts) {
  IOMODE = {};
  IOMODE.release = 3;
  IOMODE.releaseLetter = 2;
  IOMODE.version = 9310;
  std::array<int32_t, 40> codes;
  codes.fill(kBlankCode);
  int32_t last = 0;
  VERTXT(codes, 2, 1, last);
  EXPECT_EQ(charsOf(codes, 1, last), "Release 03.B");
  VERTXT(codes, 4, 1, last);
  EXPECT_EQ(charsOf(codes, 1, last), "-03.B");
  VERTXT(codes, 5, 1, last);
  EXPECT_EQ(charsOf(codes, 1, last), "9.3.1-03.B");

  codes.fill(kBlankCode);
  IOMODE.programName[0] = codeOf('K');
  IOMODE.programName[1] = codeOf('V');
  IOMODE.programNameLength = 2;
  IOMODE.version = 9300;
  VERTXT(codes, 1, 1, last);
  EXPECT_EQ(charsOf(codes, 1, last), "KV Version 9.3");
  VERTXT(codes, 3, 1, last);
  EXPECT_EQ(charsOf(codes, 1, last), "KV 9.3");

  last = 77;
  VERTXT(codes, 6, 1, last);
  EXPECT_EQ(last, 77);

  // A start before the line appends nothing, as every other append does; the word in
  // front of the caller's line stays as it was.
  std::array<int32_t, 41> guarded;
  guarded.fill(kBlankCode);
  for (int32_t layout : {1, 2, 3, 4, 5}) {
    VERTXT(std::span<int32_t>(guarded).subspan(1), layout, 0, last);
    EXPECT_EQ(last, -1) << layout;
    EXPECT_EQ(guarded[0], kBlankCode) << layout;
  }
  IOMODE = {};
}

TEST(Blkcod, BlanksARangeWithinTheLine) {
  std::array<int32_t, 4> codes{1, 2, 3, 4};
  BLKCOD(codes, 3, 2);
  BLKCOD(codes, 0, 2);
  EXPECT_EQ(codes, (std::array<int32_t, 4>{1, 2, 3, 4}));
  BLKCOD(codes, 2, 9);
  EXPECT_EQ(codes, (std::array<int32_t, 4>{1, kBlankCode, kBlankCode, kBlankCode}));
}

TEST(Upccod, UpperCasesARangeOfCodes) {
  std::array<int32_t, 8> codes{};
  txtcod("abc def*.", 1, codes);
  UPCCOD(codes, 2, 5);
  EXPECT_EQ(charsOf(codes, 1, 7), "aBC Def");
}

TEST(Ifill, FillsUpToTheCapacity) {
  std::array<int32_t, 3> words{};
  IFILL(0, 5, words);
  EXPECT_EQ(words, (std::array<int32_t, 3>{0, 0, 0}));
  IFILL(10, 5, words);
  EXPECT_EQ(words, (std::array<int32_t, 3>{5, 5, 5}));
}

TEST(Chrset, FillsTheCharacterTables) {
  CHRSET();
  EXPECT_EQ(CHRTAB.word(9), codeOf('0'));
  EXPECT_EQ(CHRTAB.word(26), codeOf('A'));
  EXPECT_EQ(CHRTAB.word(51), codeOf('Z'));
  EXPECT_EQ(CHRTAB.word(3), codeOf('*'));
  EXPECT_EQ(LEXSPC.word(13), codeOf('"'));
  const std::string special = "/+;:,=*!$?@#\"'";
  for (int32_t k = 1; k <= 14; ++k) EXPECT_EQ(LEXSPC.word(k), codeOf(special[static_cast<size_t>(k - 1)])) << k;
  const std::string lex = "0123456789 -.Ee";
  for (int32_t k = 1; k <= 15; ++k) EXPECT_EQ(LEXCOD.word(k), codeOf(lex[static_cast<size_t>(k - 1)])) << k;
  EXPECT_EQ(LEXCOD.word(11), kBlankCode);
  EXPECT_EQ(LEXCOD.word(16), 0);
}

TEST(Islcpy, CopiesARunAndTellsWhereItEnded) {
  const std::vector<int32_t> source = {11, 12, 13, 14, 15, 16, 17, 18, 19};
  struct Case {
    int32_t first, last, position, capacity;
    int32_t lastOut;
    std::vector<int32_t> target;
  };
  const std::vector<Case> cases = {
      {1, 8, 3, 12, 10, {0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0}},
      {9, 8, 3, 4, 2, {0, 0, 0, 0}},
      {0, 8, 3, 4, -5, {0, 0, 0, 0}},     // nothing copied, the output untouched
      {-1, 8, 3, 4, -5, {0, 0, 0, 0}},
      {1, 8, 3, 6, 6, {0, 0, 11, 12, 13, 14}},  // cut at the target's capacity
      {7, 12, 1, 6, 3, {17, 18, 19, 0, 0, 0}},  // and at the end of the source
  };
  for (const Case& c : cases) {
    std::vector<int32_t> target(static_cast<std::size_t>(c.capacity), 0);
    int32_t lastOut = -5;
    ISLCPY(source, c.first, c.last, c.position, target, lastOut);
    EXPECT_EQ(lastOut, c.lastOut) << c.first << ".." << c.last;
    EXPECT_EQ(target, c.target) << c.first << ".." << c.last;
  }
}

}  // namespace
}  // namespace kvr
