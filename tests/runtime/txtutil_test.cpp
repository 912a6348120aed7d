#include "runtime/txtutil.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

namespace kvr {
namespace {

TEST(Stripb, RemovesBlanksTabsAndNulsAroundTheText) {
  struct Case {
    std::string text;
    int32_t n;
    std::string after;
    int32_t nAfter;
  };
  const Case cases[] = {
      {"  AB  ", 6, "AB    ", 2},
      {std::string("\t\0 A B\t", 7), 7, "A B    ", 3},
      {"  AB  ", 0, "  AB  ", 0},      // n outside 1..255: unchanged
      {"  AB  ", 256, "  AB  ", 256},
      {std::string(" \t\0", 3), 3, std::string("\0  ", 3), 1},  // nothing left: the last character stays
      {"   ", 3, "   ", 1},
      {" AB", 200, "AB ", 2},  // n beyond the declared length counts as the length
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    int32_t n = c.n;
    STRIPB(FText(text), n);
    EXPECT_EQ(text, c.after);
    EXPECT_EQ(n, c.nAfter);
  }
}

TEST(Txtnul, PlacesTheNulAfterTheTrimmedText) {
  struct Case {
    std::string text;
    int32_t mode;
    std::string after;
  };
  const Case cases[] = {
      {"ABCD", 0, std::string("ABC\0", 4)},
      {"AB  ", 0, std::string("AB\0 ", 4)},
      {"    ", 0, std::string("\0   ", 4)},
      {"  AB  ", 1, std::string("AB\0   ", 6)},
      {"  AB  ", 0, std::string("  AB\0 ", 6)},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    TXTNUL(FText(text), c.mode);
    EXPECT_EQ(text, c.after) << c.text;
  }
}

TEST(Txtcmp, ComparesIgnoringPaddingAndWithModeOneCase) {
  FixedText a(3, "abc");
  FixedText b(5, "ABC");
  EXPECT_EQ(TXTCMP(a, b, 1), -1);
  EXPECT_EQ(TXTCMP(a, b, 0), 0);
  FixedText c(5, "abc");
  EXPECT_EQ(TXTCMP(a, c, 0), -1);
  FixedText d(4, "abcd");
  EXPECT_EQ(TXTCMP(a, d, 1), 0);
}

TEST(Cascnv, ChangesTheCaseOfLettersOnly) {
  FixedText text(8, "Ab-9z");
  CASCNV(text, 1);
  EXPECT_EQ(text.view(), "AB-9Z   ");
  CASCNV(text, 0);
  EXPECT_EQ(text.view(), "ab-9z   ");
}

TEST(Cpycas, CopiesIntoTheResultLengthWithCase) {
  FixedText text(5, "aBc");
  FixedText result(4, "xxxx");
  CPYCAS(text, FixedText(1, "U"), result);
  EXPECT_EQ(result.view(), "ABC ");
  CPYCAS(text, FixedText(1, "L"), result);
  EXPECT_EQ(result.view(), "abc ");
  FixedText shorter(2);
  CPYCAS(text, FixedText(1, "X"), shorter);
  EXPECT_EQ(shorter.view(), "aB");
}

TEST(Chrcod, AnswersTheCodeOfTheFirstCharacter) {
  EXPECT_EQ(CHRCOD(FixedText(2, "A")), 65);
  std::string high = "\xE9";
  EXPECT_EQ(CHRCOD(FText(high)), 233);
}

TEST(Nxtwrd, FindsWordsAndQuotedStrings) {
  std::string line = "  \"A B\" C";
  FText text(line);
  FixedText word(10);
  int32_t pos = 1, start = 0, end = 0, length = 0;
  EXPECT_EQ(NXTWRD(text, pos, word, start, end, length), 1);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 7);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(word.view(), "\"A B\"     ");
  EXPECT_EQ(NXTWRD(text, pos, word, start, end, length), 1);
  EXPECT_EQ(start, 9);
  EXPECT_EQ(word.trimmed(), "C");
  EXPECT_EQ(NXTWRD(text, pos, word, start, end, length), 0);

  FixedText small(3);
  pos = 1;
  EXPECT_EQ(NXTWRD(text, pos, small, start, end, length), -1);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 7);
  EXPECT_EQ(length, 5);

  std::string unclosed = "x \"AB";
  pos = 3;
  EXPECT_EQ(NXTWRD(FText(unclosed), pos, word, start, end, length), 1);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 3);  // the quote alone
}

TEST(Inttxt, WritesTheStrippedNumber) {
  FixedText text(12, "xxxxxxxxxxxx");
  EXPECT_EQ(INTTXT(-42, text), 3);
  EXPECT_EQ(text.view(), "-42         ");
  FixedText shorter(4);
  EXPECT_EQ(INTTXT(1234567, shorter), 4);  // cut at the text's length
  EXPECT_EQ(shorter.view(), "1234");
}

TEST(Txtint, ReadsAnIntegerField) {
  EXPECT_EQ(TXTINT(FixedText(5, "  1 2"), 5), 12);
  EXPECT_EQ(TXTINT(FixedText(2, "7x"), 2), 0);
  EXPECT_EQ(TXTINT(FixedText(4, "-17"), 3), -17);
  EXPECT_EQ(TXTINT(FixedText(4, "    "), 4), 0);
  EXPECT_EQ(TXTINT(FixedText(4, "12"), 100), 0);  // no two-digit width
}

TEST(Txtrel, ReadsARealField) {
  EXPECT_FLOAT_EQ(TXTREL(FixedText(5, "1.5D2"), 5), 150.0f);
  EXPECT_FLOAT_EQ(TXTREL(FixedText(6, " -2.25"), 6), -2.25f);
  EXPECT_FLOAT_EQ(TXTREL(FixedText(3, "abc"), 3), 0.0f);
  EXPECT_FLOAT_EQ(TXTREL(FixedText(5, "1E99"), 5), 0.0f);  // beyond the real range
}

// Rounded once from the digits to a REAL, as a Gn.0 read gives it: only what rounds to
// infinity is refused.
TEST(Txtrel, RoundsOnceToTheNearestReal) {
  struct Case {
    const char* text;
    uint32_t bits;
  };
  const Case cases[] = {
      {"3.4028235E+38", 0x7F7FFFFF},                 // the largest REAL
      {"-3.4028235e38", 0xFF7FFFFF},
      {"3.4028234E+38", 0x7F7FFFFF},
      {"1.00000005960464477539062501", 0x3F800001},  // just past the half-way point
      {"1.00000005960464477539062500", 0x3F800000},  // the half-way point: to even
      {"3.40282357E+38", 0},                         // rounds to infinity
      {"3.5E+38", 0},
      {"1E-46", 0},                                  // below the smallest: zero
  };
  for (const Case& c : cases) {
    const int32_t n = static_cast<int32_t>(std::strlen(c.text));
    EXPECT_EQ(std::bit_cast<uint32_t>(TXTREL(FixedText(n, c.text), n)), c.bits) << c.text;
  }
}

TEST(Wrdcpy, CopiesTheWordBitForBit) {
  float real = 0.0f;
  WRDCPY(real, int32_t{0x40E00000});
  EXPECT_EQ(real, 7.0f);
  int32_t word = 0;
  WRDCPY(word, 1.5f);
  EXPECT_EQ(word, 0x3FC00000);
  EXPECT_EQ(WRDREA(0x40E00000), 7.0f);
}

TEST(Lentrm, CountsOnlyTrailingBlanks) {
  EXPECT_EQ(LENTRM(FixedText(6, "AB")), 2);
  EXPECT_EQ(LENTRM(FixedText(6, std::string("AB\t", 3))), 3);
  EXPECT_EQ(LENTRM(FixedText(6)), 0);
}

}  // namespace
}  // namespace kvr
