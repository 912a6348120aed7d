#include "runtime/nxttkn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "runtime/chrset.h"
#include "runtime/codtxt.h"

namespace {

using kvr::NXTTKN;

// A code line holding TEXT, one character per word.
std::vector<int32_t> codes(const std::string& text) {
  std::vector<int32_t> line;
  for (char c : text) line.push_back(kvr::codeOf(c));
  return line;
}

struct Token {
  int32_t kind = -99;
  int32_t first = -99;
  int32_t last = -99;
  int32_t ivalue = -99;
  float rvalue = -99.0f;
};

// The token of TEXT from START to the end of the text in MODE; out-arguments start at
// -99 so that those the lexer leaves alone show.
Token lex(const std::string& text, int32_t mode, int32_t start = 1) {
  std::vector<int32_t> line = codes(text);
  Token t;
  NXTTKN(line, start, static_cast<int32_t>(line.size()), mode, t.kind, t.first, t.last,
         t.ivalue, t.rvalue);
  return t;
}

class Nxttkn : public ::testing::Test {
 protected:
  void SetUp() override { kvr::CHRSET(); }
};

TEST_F(Nxttkn, IntegersInEachMode) {
  Token t = lex("12", kvr::kLexNumber);
  EXPECT_EQ(t.kind, kvr::kTokenReal);
  EXPECT_EQ(t.ivalue, 12);
  EXPECT_EQ(t.rvalue, 12.0f);

  t = lex("12", kvr::kLexName);
  EXPECT_EQ(t.kind, kvr::kTokenText);
  EXPECT_EQ(t.first, 1);
  EXPECT_EQ(t.last, 2);
  EXPECT_EQ(t.ivalue, -99);

  t = lex("  12  ", kvr::kLexInteger);
  EXPECT_EQ(t.kind, kvr::kTokenInteger);
  EXPECT_EQ(t.first, 3);
  EXPECT_EQ(t.last, 4);
  EXPECT_EQ(t.ivalue, 12);
  EXPECT_EQ(t.rvalue, 12.0f);

  t = lex("-7", kvr::kLexInteger);
  EXPECT_EQ(t.kind, kvr::kTokenInteger);
  EXPECT_EQ(t.ivalue, -7);
}

TEST_F(Nxttkn, KindsOfTokensThatAreNoNumberOfTheMode) {
  struct Case {
    const char* text;
    int32_t mode;
    int32_t kind;
  };
  const Case cases[] = {
      {"1.5", kvr::kLexInteger, kvr::kTokenNotInteger},
      {"1-", kvr::kLexInteger, kvr::kTokenBadNumber},
      {"1x", kvr::kLexInteger, kvr::kTokenNotInteger},
      {"E5", kvr::kLexNumber, kvr::kTokenBadNumber},
      {"1.5.", kvr::kLexNumber, kvr::kTokenBadNumber},
      {"2147483640", kvr::kLexInteger, kvr::kTokenNotInteger},
      {"2147483640", kvr::kLexNumber, kvr::kTokenBadNumber},
      {"99999999999", kvr::kLexInteger, kvr::kTokenNotInteger},
      {".", kvr::kLexInteger, kvr::kTokenNotInteger},
  };
  for (const Case& c : cases) {
    Token t = lex(c.text, c.mode);
    EXPECT_EQ(t.kind, c.kind) << c.text << " mode " << c.mode;
    EXPECT_EQ(t.first, 1) << c.text;
    EXPECT_EQ(t.last, static_cast<int32_t>(std::string(c.text).size())) << c.text;
    EXPECT_EQ(t.ivalue, -99) << c.text;
  }
}

TEST_F(Nxttkn, LargestIntegerThatConverts) {
  Token t = lex("2147483639", kvr::kLexInteger);
  EXPECT_EQ(t.kind, kvr::kTokenInteger);
  EXPECT_EQ(t.ivalue, 2147483639);
}

TEST_F(Nxttkn, RealsInMode3) {
  struct Case {
    const char* text;
    float value;
  };
  const float largest = std::numeric_limits<float>::max();
  const Case cases[] = {
      {"1.5E-3", 0.0015f}, {"5.", 5.0f},         {".5", 0.5f},   {"1E5", 100000.0f},
      {"1e400", 1.0e38f},  {"1e-400", 1.0e-38f}, {"1E", 1.0f},   {"-2.25", -2.25f},
      {"+.125e+1", 1.25f}, {"5E38", largest},    {"-9e99999999999", -largest},
  };
  for (const Case& c : cases) {
    Token t = lex(c.text, kvr::kLexNumber);
    EXPECT_EQ(t.kind, kvr::kTokenReal) << c.text;
    EXPECT_FLOAT_EQ(t.rvalue, c.value) << c.text;
    EXPECT_EQ(t.ivalue, -99) << c.text;  // a real sets no integer
  }
  Token minus = lex("-", kvr::kLexNumber);
  EXPECT_EQ(minus.kind, kvr::kTokenReal);
  EXPECT_TRUE(std::signbit(minus.rvalue));
  EXPECT_EQ(lex("+", kvr::kLexInteger).kind, kvr::kTokenReal);
}

TEST_F(Nxttkn, WalksALineTokenByToken) {
  std::vector<int32_t> line = codes("NODE;5 /X/Y A/B");
  const int32_t end = static_cast<int32_t>(line.size());
  int32_t kind = 0, first = 0, last = 0, ivalue = 0;
  float rvalue = 0.0f;
  struct Step {
    int32_t kind;
    int32_t first;
    int32_t last;
  };
  const Step steps[] = {{1, 1, 4}, {4, 5, 5}, {1, 6, 6}, {1, 8, 11}, {1, 13, 13}, {1, 14, 15}};
  int32_t start = 1;
  for (const Step& s : steps) {
    NXTTKN(line, start, end, kvr::kLexName, kind, first, last, ivalue, rvalue);
    EXPECT_EQ(kind, s.kind) << "from " << start;
    EXPECT_EQ(first, s.first) << "from " << start;
    EXPECT_EQ(last, s.last) << "from " << start;
    start = last + 1;
  }
  NXTTKN(line, start, end, kvr::kLexName, kind, first, last, ivalue, rvalue);
  EXPECT_EQ(kind, kvr::kTokenNone);
}

TEST_F(Nxttkn, SingleCharacterTokens) {
  struct Case {
    const char* text;
    int32_t kind;
  };
  const Case cases[] = {{";", 4}, {":", 5}, {",", 6}, {"=", 7}, {"*", 8}, {"!", 8}, {"$", 9},
                        {"/ X", -1}, {"/", -1}, {"// X", -11}, {"//", -11}};
  for (const Case& c : cases) {
    Token t = lex(c.text, kvr::kLexInteger);
    EXPECT_EQ(t.kind, c.kind) << c.text;
    EXPECT_EQ(t.first, 1) << c.text;
    EXPECT_EQ(t.last, 1) << c.text;
  }
  Token t = lex("//X", kvr::kLexName);
  EXPECT_EQ(t.kind, kvr::kTokenText);
  EXPECT_EQ(t.last, 3);
  // A double quote is an ordinary first character in mode 1 and ends the token later.
  t = lex("\"ab c\"", kvr::kLexName);
  EXPECT_EQ(t.kind, kvr::kTokenText);
  EXPECT_EQ(t.last, 3);
}

TEST_F(Nxttkn, NothingLeftOnTheLine) {
  Token t = lex("          ", kvr::kLexInteger);
  EXPECT_EQ(t.kind, kvr::kTokenNone);
  EXPECT_EQ(t.first, 10);
  EXPECT_EQ(t.last, 10);
  EXPECT_EQ(t.ivalue, -99);

  // A start beyond the end leaves the token start untouched.
  t = lex("AB", kvr::kLexName, 3);
  EXPECT_EQ(t.kind, kvr::kTokenNone);
  EXPECT_EQ(t.first, -99);
  EXPECT_EQ(t.last, 2);
}

TEST_F(Nxttkn, NeverReadsOutsideTheLine) {
  std::vector<int32_t> line = codes(" 42");
  Token t;
  // An end beyond the line's words and a start below 1 stay inside the line.
  NXTTKN(line, 0, 255, kvr::kLexInteger, t.kind, t.first, t.last, t.ivalue, t.rvalue);
  EXPECT_EQ(t.kind, kvr::kTokenInteger);
  EXPECT_EQ(t.first, 2);
  EXPECT_EQ(t.last, 3);
  EXPECT_EQ(t.ivalue, 42);
}

// One token from a start position in one mode, with what each out-argument must hold
// afterwards (-99: left as the caller had it).
struct TokenCase {
  const char* text;
  int32_t mode;
  int32_t start;
  int32_t kind;
  int32_t first;
  int32_t last;
  int32_t ivalue;
  float rvalue;
};

constexpr int32_t U = -99;         // an out-argument the kind does not name
constexpr float R = -99.0f;        // the same for the real value
constexpr float kMax = std::numeric_limits<float>::max();

TEST_F(Nxttkn, TokensOfEveryMode) {
  const TokenCase cases[] = {
      // Integers and reals.
      {"  12  ", 0, 1, 2, 3, 4, 12, 12.0f},
      {"  12  ", 1, 1, 1, 3, 4, U, R},
      {"12", 3, 1, 3, 1, 2, 12, 12.0f},
      {"12", 8, 1, 2, 1, 2, 12, 12.0f},
      {"-7", 2, 1, 2, 1, 2, -7, -7.0f},
      {"1.5", 2, 1, -2, 1, 3, U, R},
      {".", 2, 1, -2, 1, 1, U, R},
      {"1-", 2, 1, -3, 1, 2, U, R},
      {"1.5E-3", 0, 1, 3, 1, 6, U, 0.0015f},
      {"1.5E-3", 3, 1, 3, 1, 6, U, 0.0015f},
      {".5", 0, 1, 3, 1, 2, U, 0.5f},
      {"1E", 0, 1, 3, 1, 2, U, 1.0f},
      {"1e400", 0, 1, 3, 1, 5, U, 1.0e38f},
      {"1e-400", 9, 1, 3, 1, 6, U, 1.0e-38f},
      {"1e400", 8, 1, 3, 1, 5, U, 1.0e38f},
      {"E5", 0, 1, 1, 1, 2, U, R},
      {"E5", 3, 1, -3, 1, 2, U, R},
      {"E5", 8, 1, -3, 1, 2, U, R},
      {"2147483639", 0, 1, 2, 1, 10, 2147483639, 2147483639.0f},
      {"2147483640", 0, 1, 1, 1, 10, U, R},
      {"2147483640", 8, 1, 1, 1, 10, U, R},
      {"2147483640", 9, 1, 1, 1, 10, U, R},
      {"2147483640", 2, 1, -2, 1, 10, U, R},
      {"2147483640", 3, 1, -3, 1, 10, U, R},
      {"12:30", 8, 1, -3, 1, 5, U, R},
      {"12:30", 0, 1, 2, 1, 2, 12, 12.0f},
      {"12:30", 0, 3, 5, 3, 3, U, R},
      {"12:30", 0, 4, 2, 4, 5, 30, 30.0f},
      {":", 8, 1, -3, 1, 1, U, R},
      // The exponent saturates, a real beyond the range is held at the largest.
      {"1E99999999999", 0, 1, 3, 1, 13, U, 1.0e38f},
      {"5E38", 3, 1, 3, 1, 4, U, kMax},
      {"-99999E35", 0, 1, 3, 1, 9, U, -kMax},
      // A start below 1 reads from position 1.
      {"7", 0, 0, 2, 1, 1, 7, 7.0f},
      {" 7", 2, -5, 2, 2, 2, 7, 7.0f},
      // Slashes.
      {"A/B", 0, 1, 1, 1, 1, U, R},
      {"A/B", 0, 2, 1, 2, 3, U, R},
      {"/X/Y", 0, 1, 1, 1, 4, U, R},
      {"/ ", 0, 1, -1, 1, 1, U, R},
      {"// ", 0, 1, -11, 1, 1, U, R},
      {"//X", 0, 1, 1, 1, 3, U, R},
      {"/X", 4, 1, -4, 1, 1, U, R},
      // One-character tokens and what ends a token.
      {"NODE;5", 0, 1, 1, 1, 4, U, R},
      {"NODE;5", 0, 5, 4, 5, 5, U, R},
      {"NODE;5", 0, 6, 2, 6, 6, 5, 5.0f},
      {"A$B", 0, 1, 1, 1, 3, U, R},
      {"*X", 0, 1, 8, 1, 1, U, R},
      {"*X", 7, 1, 1, 1, 2, U, R},
      {"!", 7, 1, 8, 1, 1, U, R},
      {"X", 4, 1, -4, 1, 1, U, R},
      {" ;", 4, 1, 4, 2, 2, U, R},
      // Pick tokens.
      {"/PICK-*", 9, 1, 1, 1, 7, U, R},
      {"/PICK-*", 0, 1, 1, 1, 6, U, R},
      {"/PICK-A*", 9, 1, 1, 1, 8, U, R},
      {"/PICK-A**", 9, 1, 1, 1, 8, U, R},
      {"/PICKX*", 9, 1, 1, 1, 6, U, R},
      // Quoted text.
      {"\"ab c\"", 0, 1, 1, 1, 6, U, R},
      {"\"ab c\"", 9, 1, 1, 1, 6, U, R},
      {"\"ab c\"", 6, 1, 1, 1, 6, U, R},
      {"\"ab c\"", 7, 1, 1, 1, 6, U, R},
      {"\"ab c\"", 1, 1, 1, 1, 3, U, R},
      {"\"12\"", 0, 1, 1, 1, 4, U, R},
      {"\"12\"", 3, 1, -3, 1, 3, U, R},
      {"\"ab", 0, 1, -6, 1, 1, U, R},
      {"\"ab", 6, 1, -6, 1, 1, U, R},
      {"\"ab", 9, 1, -6, 1, 1, U, R},
      {"\"ab", 7, 1, 1, 1, 1, U, R},
      {"  \"", 7, 1, -6, 3, 3, U, R},
      {"ABC", 6, 1, -6, 1, 1, U, R},
      // Words and the rest of the line.
      {"A,B C", 7, 1, 1, 1, 3, U, R},
      {"  ONE TWO  ", 5, 1, 1, 3, 9, U, R},
      // Nothing left.
      {"   ", 0, 1, 0, 3, 3, U, R},
      {"", 0, 1, 0, U, 0, U, R},
  };
  for (const TokenCase& c : cases) {
    Token t = lex(c.text, c.mode, c.start);
    const std::string where = std::string("'") + c.text + "' mode " + std::to_string(c.mode) +
                              " from " + std::to_string(c.start);
    EXPECT_EQ(t.kind, c.kind) << where;
    EXPECT_EQ(t.first, c.first) << where;
    EXPECT_EQ(t.last, c.last) << where;
    EXPECT_EQ(t.ivalue, c.ivalue) << where;
    EXPECT_FLOAT_EQ(t.rvalue, c.rvalue) << where;
  }
}

TEST_F(Nxttkn, ALoneSignOrPointIsZero) {
  for (int32_t mode : {0, 2, 3, 8, 9}) {
    Token t = lex("-", mode);
    EXPECT_EQ(t.kind, kvr::kTokenReal) << mode;
    EXPECT_EQ(t.rvalue, 0.0f) << mode;
    EXPECT_TRUE(std::signbit(t.rvalue)) << mode;
    EXPECT_EQ(t.ivalue, -99) << mode;
    t = lex("+", mode);
    EXPECT_EQ(t.kind, kvr::kTokenReal) << mode;
    EXPECT_FALSE(std::signbit(t.rvalue)) << mode;
  }
  for (int32_t mode : {0, 3, 8, 9}) {
    Token t = lex(".", mode);
    EXPECT_EQ(t.kind, kvr::kTokenReal) << mode;
    EXPECT_EQ(t.rvalue, 0.0f) << mode;
  }
}

// An END beyond the line's words: a caller holding a short line passes 255.
TEST_F(Nxttkn, EveryModeStaysInsideTheLine) {
  const char* texts[] = {"\"", "/", "//", "/PICK-", "1E", "ab\"", "  ", "/PICK-A"};
  for (const char* text : texts) {
    for (int32_t mode = 0; mode <= 9; ++mode) {
      std::vector<int32_t> line = codes(text);
      Token t;
      NXTTKN(line, 1, 255, mode, t.kind, t.first, t.last, t.ivalue, t.rvalue);
      EXPECT_LE(t.last, static_cast<int32_t>(line.size())) << text << " mode " << mode;
    }
  }
}

TEST_F(Nxttkn, ModesOutsideTheTenAnswerKindZeroAlone) {
  for (int32_t mode : {-1, 10, 99}) {
    Token t = lex("12", mode);
    EXPECT_EQ(t.kind, kvr::kTokenNone) << mode;
    EXPECT_EQ(t.first, -99) << mode;
    EXPECT_EQ(t.last, -99) << mode;
    EXPECT_EQ(t.ivalue, -99) << mode;
    EXPECT_EQ(t.rvalue, -99.0f) << mode;
  }
}

TEST_F(Nxttkn, RestOfTheLineInMode5) {
  Token t = lex("  ONE TWO  ", kvr::kLexRest);
  EXPECT_EQ(t.kind, kvr::kTokenText);
  EXPECT_EQ(t.first, 3);
  EXPECT_EQ(t.last, 9);
  EXPECT_EQ(t.ivalue, -99);
  // A number and separators inside are part of the name; a one-character token first is
  // still that token.
  t = lex("A,B 12", kvr::kLexRest);
  EXPECT_EQ(t.kind, kvr::kTokenText);
  EXPECT_EQ(t.last, 6);
  t = lex("  X", kvr::kLexRest);
  EXPECT_EQ(t.first, 3);
  EXPECT_EQ(t.last, 3);
  EXPECT_EQ(lex("/", kvr::kLexRest).kind, kvr::kTokenSlash);
  EXPECT_EQ(lex("        ", kvr::kLexRest).kind, kvr::kTokenNone);
}

}  // namespace
