#include "platform/fmtedit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace kvr::fmt {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Records = std::vector<std::string>;

// ---------------------------------------------------------------------------------------
// Output editing

TEST(EditI, RightJustifiesOrFillsWithAsterisks) {
  struct Case {
    int64_t value;
    int w;
    const char* expected;
  };
  const Case cases[] = {
      {29, 8, "      29"},
      {-13, 2, "**"},
      {-13, 3, "-13"},
      {123456, 5, "*****"},
      {0, 1, "0"},
      {-7, 0, "-7"},  // width 0: minimal width
      {std::numeric_limits<int64_t>::min(), 20, "-9223372036854775808"},
      {std::numeric_limits<int64_t>::min(), 19, "*******************"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(editI(c.value, c.w), c.expected) << c.value << " I" << c.w;
  }
}

struct RealCase {
  double value;
  int w;
  int d;
  const char* expected;
};

TEST(EditE, FortranFormWithTiesToEven) {
  const RealCase cases[] = {
      {12345.0, 12, 5, " 0.12345E+05"},
      {0.25, 12, 5, " 0.25000E+00"},
      {0.25, 12, 1, "     0.2E+00"},  // tie to even
      {0.75, 12, 1, "     0.8E+00"},
      {-1.5, 14, 7, "-0.1500000E+01"},
      {-12.345, 12, 5, "-0.12345E+02"},
      {0.0, 12, 5, " 0.00000E+00"},
      {-0.0, 12, 5, "-0.00000E+00"},
      {9.999996, 12, 5, " 0.10000E+02"},  // rounding carries into the exponent
      {1.0e-100, 12, 5, " 0.10000E-99"},
      {1.0e99, 12, 5, " 0.10000+100"},  // three-digit exponents lose the letter
      {-1.0e-200, 12, 5, "-0.10000-199"},
      {5.0e-324, 12, 5, " 0.49407-323"},
      {12345.0, 11, 5, "0.12345E+05"},
      {12345.0, 10, 5, ".12345E+05"},  // one short: the leading zero goes
      {-12345.0, 11, 5, "-.12345E+05"},
      {-12345.0, 10, 5, "**********"},
      {1.5, 12, 0, "************"},  // no significant digit to show
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editE(c.value, c.w, c.d), c.expected) << c.value << " E" << c.w << "." << c.d;
  }
}

// Ew.d built independently from the C library's exact digits ("%.*e" rounds the exact
// binary value to nearest, ties to even), for finite values whose exponent has two
// digits.
std::string referenceE(double value, int w, int d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(value));
  std::string digits(1, buf[0]);
  const char* e = std::strchr(buf, 'e');
  if (d > 1) digits.append(buf + 2, static_cast<size_t>(d - 1));
  int exponent = std::atoi(e + 1) + (value != 0.0 ? 1 : 0);
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  std::string text = std::string(std::signbit(value) ? "-" : "") + "0." + digits + tail;
  if (text.size() == static_cast<size_t>(w) + 1) text.erase(text.find("0."), 1);
  if (text.size() > static_cast<size_t>(w)) return std::string(static_cast<size_t>(w), '*');
  return std::string(static_cast<size_t>(w) - text.size(), ' ') + text;
}

// The digits come from scaled doubles unless the value lies so near a tie that only its
// exact binary value decides: ties, near-ties, powers of ten and their neighbours, floats
// across the whole range and arbitrary doubles all edit as the exact digits say.
TEST(EditE, DigitsAreThoseOfTheExactValue) {
  EXPECT_EQ(editE(1.03125, 12, 5), " 0.10312E+01") << "an exact tie goes to even";
  EXPECT_EQ(editE(1.09375, 12, 5), " 0.10938E+01");
  EXPECT_EQ(editE(-0.0625, 9, 2), "-0.62E-01");
  std::vector<double> values;
  for (int e = -40; e <= 40; ++e) {
    const double p = std::pow(10.0, e);
    for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300),
                           static_cast<double>(static_cast<float>(p))}) {
      values.push_back(v);
    }
  }
  for (int64_t m = 0; m < 4000; ++m) {
    const double tie = (static_cast<double>(m * 37 % 100000) + 0.5) * std::pow(2.0, -static_cast<int>(m % 9));
    values.push_back(tie);
    values.push_back(std::nextafter(tie, 0.0));
    values.push_back(static_cast<float>(tie * 1e-3));
  }
  for (uint64_t bits = 0x00800000u; bits < 0x7f800000u; bits += 0x7ff7u) {
    values.push_back(std::bit_cast<float>(static_cast<uint32_t>(bits)));
  }
  uint64_t state = 0x9e3779b97f4a7c15ull;
  for (int k = 0; k < 8000; ++k) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    values.push_back(std::bit_cast<double>(state >> 1));
  }
  for (const double v : values) {
    if (!std::isfinite(v) || (v != 0.0 && (std::fabs(v) < 1e-98 || std::fabs(v) > 1e98))) continue;
    for (const auto& [w, d] : {std::pair{12, 5}, std::pair{14, 7}, std::pair{15, 9}, std::pair{9, 2}}) {
      ASSERT_EQ(editE(v, w, d), referenceE(v, w, d)) << std::hexfloat << v << " E" << w << "." << d;
      ASSERT_EQ(editE(-v, w, d), referenceE(-v, w, d)) << std::hexfloat << -v;
    }
  }
}

// The appending forms add exactly what the single edits give.
TEST(EditAppend, AppendsTheSameFields) {
  std::string line = " ";
  appendI(line, -42, 5);
  appendE(line, 0.5, 12, 5);
  appendI(line, 123456, 5);
  appendE(line, kNaN, 5, 1);
  appendI(line, 7, 0);
  EXPECT_EQ(line, " " + editI(-42, 5) + editE(0.5, 12, 5) + editI(123456, 5) + editE(kNaN, 5, 1) +
                      editI(7, 0));
  EXPECT_EQ(line, "   -42 0.50000E+00*****  NaN7");
}

TEST(EditF, RoundsTiesToEvenAndDropsTheZeroOnlyToFit) {
  const RealCase cases[] = {
      {0.125, 5, 2, " 0.12"},
      {0.375, 5, 2, " 0.38"},
      {2.5, 5, 0, "   2."},
      {0.4, 2, 0, "0."},
      {0.0, 1, 0, "*"},  // with no decimals the zero is the only digit and stays
      {-0.0, 5, 2, "-0.00"},
      {-0.001, 5, 2, "-0.00"},
      {-0.04, 4, 2, "-.04"},
      {-0.04, 3, 1, "-.0"},
      {123.456, 8, 2, "  123.46"},
      {123.0, 3, 1, "***"},
      {1.0e300, 10, 2, "**********"},
      {1.5, 6, 3, " 1.500"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editF(c.value, c.w, c.d), c.expected) << c.value << " F" << c.w << "." << c.d;
  }
}

TEST(EditF, WideFieldHoldsEveryDigitOfAHugeValue) {
  const std::string out = editF(-1.0e300, 400, 1);
  ASSERT_EQ(out.size(), 400u);
  EXPECT_EQ(out.substr(400 - 304, 3), "-10");
  EXPECT_EQ(out.substr(400 - 2), ".0");
  EXPECT_EQ(out.find_first_not_of(' '), 400u - 304);
}

TEST(EditG, ChoosesFOrEAfterRounding) {
  const RealCase cases[] = {
      {1.5, 10, 3, "  1.50    "},
      {12345.0, 10, 3, " 0.123E+05"},
      {999.96, 10, 3, " 0.100E+04"},  // rounds to 1000: E editing
      {999.4, 10, 3, "  999.    "},
      {0.0, 10, 3, "  0.00    "},
      {-0.0, 10, 3, " -0.00    "},
      {0.0, 12, 1, "      0.    "},
      {0.5, 10, 3, " 0.500    "},
      {0.09996, 10, 3, " 0.100    "},  // rounds up to 0.1: F editing
      {0.05, 10, 3, " 0.500E-01"},
      {1.0e100, 10, 3, " 0.100+101"},
      {9.6, 5, 1, "*****"},
      {0.5, 4, 1, "****"},
      {1.5, 12, 0, "************"},
      {double(std::numeric_limits<float>::max()), 15, 7, "  0.3402823E+39"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(editG(c.value, c.w, c.d), c.expected) << c.value << " G" << c.w << "." << c.d;
  }
}

TEST(EditSpecial, NaNAndInfinityRightJustifiedOrShortened) {
  EXPECT_EQ(editF(kInf, 8, 3), "Infinity");
  EXPECT_EQ(editF(kInf, 3, 1), "Inf");
  EXPECT_EQ(editF(kInf, 2, 1), "**");
  EXPECT_EQ(editF(-kInf, 9, 3), "-Infinity");
  EXPECT_EQ(editF(-kInf, 8, 3), "    -Inf");
  EXPECT_EQ(editF(-kInf, 3, 1), "***");
  EXPECT_EQ(editF(kNaN, 3, 1), "NaN");
  EXPECT_EQ(editF(-kNaN, 5, 1), "  NaN");
  EXPECT_EQ(editF(kNaN, 2, 1), "**");
  EXPECT_EQ(editE(kNaN, 12, 5), "         NaN");
  EXPECT_EQ(editE(-kInf, 12, 5), "   -Infinity");
  EXPECT_EQ(editG(kInf, 12, 3), "    Infinity");
}

TEST(EditWidth, NonPositiveWidthGivesNothing) {
  EXPECT_EQ(editI(5, -1), "");
  EXPECT_EQ(editF(1.0, 0, 1), "");
  EXPECT_EQ(editE(1.0, 0, 1), "");
  EXPECT_EQ(editG(1.0, -3, 1), "");
}

// ---------------------------------------------------------------------------------------
// Input editing

TEST(ReadI, BlanksIgnoredSignsAndRange) {
  struct Case {
    const char* field;
    bool ok;
    int32_t value;
  };
  const Case cases[] = {
      {"  1 2", true, 12},
      {"     ", true, 0},
      {"", true, 0},
      {"  -13", true, -13},
      {"+ 7  ", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, std::numeric_limits<int32_t>::min()},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"1x", false, 0},
      {"-", false, 0},
      {"1-2", false, 0},
      {"1.0", false, 0},
      {"1\t", false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(readI(c.field, value), c.ok) << '"' << c.field << '"';
    EXPECT_EQ(value, c.ok ? c.value : -99) << '"' << c.field << '"';
  }
}

TEST(ReadF, FortranFieldsAndBadOnes) {
  struct Case {
    const char* field;
    int d;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1.5D2", 0, true, 150.0},
      {"1.5d2", 0, true, 150.0},
      {"  125", 2, true, 1.25},  // implied decimals
      {"  12E1", 2, true, 1.2},  // implied decimals under an exponent
      {"1.5+2", 0, true, 150.0},
      {"1.5-2", 0, true, 0.015},
      {" 1.5 E 2", 2, true, 150.0},
      {"-1.5e-1", 0, true, -0.15},
      {"  0.12345E+05", 5, true, 12345.0},
      {"-0.1500000E+01", 7, true, -1.5},
      {".5", 0, true, 0.5},
      {"+.5", 3, true, 0.5},
      {"0.1", 0, true, 0.1},
      {"007", 1, true, 0.7},
      {"0.005", 0, true, 0.005},
      {"          ", 3, true, 0.0},
      {"1e-400", 0, true, 0.0},
      {"1x", 0, false, 0.0},
      {".", 0, false, 0.0},
      {"-", 0, false, 0.0},
      {"E1", 0, false, 0.0},
      {"1.5E", 0, false, 0.0},
      {"1.5E+", 0, false, 0.0},
      {"1.5+", 0, false, 0.0},
      {"1.5E2.0", 0, false, 0.0},
      {"1.5E+-2", 0, false, 0.0},
      {"1.2.3", 0, false, 0.0},
      {".-5", 0, false, 0.0},
      {"1e400", 0, false, 0.0},
      {"NaN", 0, false, 0.0},
  };
  for (const Case& c : cases) {
    double value = -99.0;
    EXPECT_EQ(readF(c.field, c.d, value), c.ok) << '"' << c.field << '"';
    EXPECT_EQ(value, c.ok ? c.value : -99.0) << '"' << c.field << '"';
  }
  double value = 1.0;
  ASSERT_TRUE(readF(" -0.0", 0, value));
  EXPECT_TRUE(value == 0.0 && std::signbit(value));
}

TEST(ReadF, LongFieldsAndExtremeExponentsStayExact) {
  double value = 0.0;
  const std::string digits = "1" + std::string(79, '0') + ".0E-79";  // 1e79 * 1e-79
  ASSERT_TRUE(readF(digits, 0, value));
  EXPECT_EQ(value, 1.0);
  ASSERT_TRUE(readF("0.1E99999999999999999999", 0, value) == false);
  ASSERT_TRUE(readF("0.1E-99999999999999999999", 0, value));
  EXPECT_EQ(value, 0.0);
}

TEST(ReadF, ReadsBackWhatEditEWrote) {
  const double values[] = {0.1, -1.0 / 3.0, 6.02214076e23, 4.9e-324, 1.7976931348623157e308,
                           double(std::numeric_limits<float>::min())};
  for (double x : values) {
    double back = 0.0;
    ASSERT_TRUE(readF(editE(x, 25, 17), 0, back)) << x;
    EXPECT_EQ(back, x);
  }
}

TEST(IntOf, TruncatesRoundsAndClamps) {
  struct Case {
    double value;
    int32_t truncated;
    int32_t nearest;
  };
  const Case cases[] = {
      {2.5, 2, 3},
      {-2.5, -2, -3},
      {2.49, 2, 2},
      {-0.7, 0, -1},
      {3.0e9, 2147483647, 2147483647},
      {-3.0e9, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()},
      {2147483647.6, 2147483647, 2147483647},
      {-2147483648.9, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()},
      {kInf, 2147483647, 2147483647},
      {-kInf, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()},
      {kNaN, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(intOf(c.value), c.truncated) << c.value;
    EXPECT_EQ(nintOf(c.value), c.nearest) << c.value;
  }
}

// ---------------------------------------------------------------------------------------
// The format interpreter

TEST(Format, NeutralFileLine) {
  EXPECT_EQ(format("(1X,I2,I5,3E12.5,I5)", {2, 17, 1.0, -12.345, 0.0, 0}),
            Records{"  2   17 0.10000E+01-0.12345E+02 0.00000E+00    0"});
  EXPECT_EQ(format("(I8,2E12.5)", {29, 12345.0, float(-1.5)}),
            Records{"      29 0.12345E+05-0.15000E+01"});
}

TEST(Format, ConsoleTextContinuesEveryEightyCharacters) {
  std::string text;
  for (int k = 0; k < 100; ++k) text += char('a' + k % 26);
  std::vector<Item> items;
  for (int k = 0; k < 100; ++k) items.emplace_back(std::string_view(text).substr(size_t(k), 1));
  const Records records = format("(1X,80A1)", items);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], " " + text.substr(0, 80));
  EXPECT_EQ(records[1], " " + text.substr(80));
}

TEST(Format, ReversionGoesToTheLastTopLevelGroup) {
  EXPECT_EQ(format("(I3,2(I2,1X))", {1, 2, 3, 4, 5, 6, 7}),
            (Records{"  1 2  3", " 4  5", " 6  7"}));
  EXPECT_EQ(format("(1X,3I3)", {1, 2, 3, 4, 5, 6, 7}),
            (Records{"   1  2  3", "   4  5  6", "   7"}));
  // The group's repeat count is reused and the format runs on to its end.
  EXPECT_EQ(format("('a',2('b',I1),'c',I1)", {1, 2, 3, 4, 5, 6}),
            (Records{"ab1b2c3", "b4b5c6"}));
  EXPECT_EQ(format("(I2,(I2,(I1)),I3)", {1, 2, 3, 4, 5, 6, 7}),
            (Records{" 1 23  4", " 56  7"}));
}

// nX only moves the position: its blanks are written when a literal or an item follows
// in the same record, even an empty one. What a compiled Fortran program writes.
TEST(Format, PositionEditingWritesBlanksOnlyBeforeWhatFollows) {
  struct Case {
    const char* format;
    std::vector<Item> items;
    Records records;
  };
  const Case cases[] = {
      {"(2(I2,1X),A)", {1, 2, std::string_view("z"), 3}, {" 1  2 z", " 3"}},
      {"(A,3X)", {std::string_view("ab")}, {"ab"}},
      {"(A,3X,A)", {std::string_view("ab"), std::string_view("")}, {"ab   "}},
      {"(1X,A)", {std::string_view("")}, {" "}},
      {"(A,2X,'')", {std::string_view("ab")}, {"ab  "}},
      {"(A,2X,/,A)", {std::string_view("ab"), std::string_view("cd")}, {"ab", "cd"}},
      {"(3X,I3.0)", {0}, {"      "}},
      {"(I0.0)", {0}, {" "}},
      {"(A,I0.0,A)", {std::string_view("["), 0, std::string_view("]")}, {"[ ]"}},
  };
  for (const Case& c : cases) EXPECT_EQ(format(c.format, c.items), c.records) << c.format;
}

TEST(Format, StopsAtTheFirstDataDescriptorWithoutAnItem) {
  EXPECT_EQ(format("(1X,'A=',I3,' B=',I3,' C')", {5}), Records{" A=  5 B="});
  EXPECT_EQ(format("(I5,' units',2X)", {5}), Records{"    5 units"});
  EXPECT_EQ(format("(1X)", {}), Records{""});
  EXPECT_EQ(format("('Hello')", {}), Records{"Hello"});
  EXPECT_EQ(format("(I5)", {}), Records{""});
}

TEST(Format, LiteralsSlashesAndTexts) {
  EXPECT_EQ(format("('it''s ',\"say \"\"hi\"\"\")", {}), Records{"it's say \"hi\""});
  EXPECT_EQ(format("(I2/I2)", {1, 2}), (Records{" 1", " 2"}));
  EXPECT_EQ(format("(I2,2/)", {1}), (Records{" 1", "", ""}));
  EXPECT_EQ(format("(A3,'|',A8,'|',A)", {"abcdef", "abc", "xyz"}), Records{"abc|     abc|xyz"});
  EXPECT_EQ(format("(1X, \" **** FATAL ERROR :  DEVICE DRIVER <\", I2, \"> NOT LOADE\", \"D ****\")",
                   {-13}),
            Records{"  **** FATAL ERROR :  DEVICE DRIVER <**> NOT LOADED ****"});
}

TEST(Format, SpellingsWithoutParenthesesBlanksAndLowerCase) {
  EXPECT_EQ(format("I3,A", {7, "x"}), Records{"  7x"});
  EXPECT_EQ(format(" ( i 3 , f6.2 , 1 x, e 10.3 ) ", {7, 1.5, 2.0}),
            Records{"  7  1.50  0.200E+01"});
  EXPECT_EQ(format("(2I3)(I1)", {1, 2, 3, 4}), (Records{"  1  23", "4"}));
  EXPECT_EQ(format("(I5.3,I5.0,I3.0)", {-7, 0, 4}), Records{" -007       4"});
}

TEST(Format, ItemsOfTheWrongTypeGiveAsterisks) {
  EXPECT_EQ(format("(I5,F6.1,E8.1,A3,A)", {"x", 3, int64_t(4), 2.5, 1.0f}),
            Records{std::string(5 + 6 + 8 + 3 + 1, '*')});
  // G edits an integer as I and a text as A.
  EXPECT_EQ(format("(G5.1,G4.1)", {7, "ab"}), Records{"    7  ab"});
}

TEST(Format, FloatItemsAreEditedFromTheirOwnValue) {
  EXPECT_EQ(format("(E12.5,F12.9)", {0.1f, 0.1f}), Records{" 0.10000E+00 0.100000001"});
}

TEST(Format, UnreadableFormatsGiveOneMarkerRecord) {
  const char* bad[] = {"(I5",   "I5)",       "(Q5)",       "(F5)",     "(E12)",  "(E12.0)",
                       "(I)",   "('abc)",    "(0I5)",      "(X)",      "(I3.4)", "(A5.2)",
                       "(3'x')", "(99999X)", "(E12.5E2)", "(I5,,)x"};
  for (const char* f : bad) {
    EXPECT_EQ(format(f, {1, 2.0}), Records{"?FORMAT?"}) << f;
  }
  // Outer parentheses and 17 nested groups: deeper than the interpreter goes.
  const std::string deep = std::string(18, '(') + "I1" + std::string(18, ')');
  EXPECT_EQ(format(deep, {1}), Records{"?FORMAT?"});
  EXPECT_EQ(format("((((I1))))", {1}), Records{"1"});
  // A broken tail shows even when the items run out before it.
  EXPECT_EQ(format("(I2,Q3)", {}), Records{"?FORMAT?"});
  // Items that the format can never consume.
  EXPECT_EQ(format("('x')", {1}), Records{"?FORMAT?"});
  EXPECT_EQ(format("(I5,(1X))", {1, 2}), Records{"?FORMAT?"});
  EXPECT_EQ(format("(I5,(1X))", {1}), Records{"    1"});
}

TEST(Format, NestedRepeatsThatMultiplyPastTheBoundAreUnreadable) {
  // Each would make about a million columns, records or empty repetitions.
  for (const char* f : {"(99(99(99(1X))))", "(99(99(99/)))", "(2(99(99(99(1X,/)))))",
                        "(32767(32767(32767())))", "(9(9(9(9(9(9(9(9(9(9('ab'))))))))))"}) {
    EXPECT_EQ(format(f, {}), Records{"?FORMAT?"}) << f;
    EXPECT_EQ(format(f, {1}), Records{"?FORMAT?"}) << f;
  }
  // Up to the bound a nested format works as before.
  EXPECT_EQ(format("(1000(99X))", {}), Records{""});
  EXPECT_EQ(format("(1000(100X))", {}), Records{"?FORMAT?"});
  EXPECT_EQ(format("(2(2(1X,I1)))", {1, 2, 3, 4}), Records{" 1 2 3 4"});
  EXPECT_EQ(format("(3(/))", {}).size(), 4u);
}

TEST(Format1, AnswersTheFirstRecord) {
  EXPECT_EQ(format1("(I2/I2)", {1, 2}), " 1");
  EXPECT_EQ(format1("(I8)", {2147483647}), "********");
}

TEST(ListDirected, LeadingBlankTextsAsTheyStandNumbersSeparated) {
  EXPECT_EQ(listDirected({"   Trying to open file: ", "data/model.M71"}),
            "    Trying to open file: data/model.M71");
  EXPECT_EQ(listDirected({"N =", 5}), " N = 5");
  EXPECT_EQ(listDirected({5, "x", 2.5f, -3.0e-5}), " 5x 2.500000 -0.300000000000000E-04");
  EXPECT_EQ(listDirected({2.5}), " 2.50000000000000");
  EXPECT_EQ(listDirected({int64_t(-12)}), " -12");
  EXPECT_EQ(listDirected({}), " ");
}

TEST(ListDirected, ExponentOfTheExtremeFloatsCanBeReadBack) {
  const std::string big = listDirected({std::numeric_limits<float>::max()});
  EXPECT_EQ(big, " 0.3402823E+39");
  const std::string small = listDirected({std::numeric_limits<float>::min()});
  EXPECT_EQ(small, " 0.1175494E-37");
  int32_t exponent = 0;
  ASSERT_TRUE(readI(std::string_view(small).substr(small.find('E') + 1), exponent));
  EXPECT_EQ(exponent, -37);
}

}  // namespace
}  // namespace kvr::fmt
