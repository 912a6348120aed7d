#include "command/nxttkn.h"

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

TEST_F(Nxttkn, OtherModesAnswerNothingAndAssertInDebugBuilds) {
  EXPECT_DEBUG_DEATH(
      {
        Token t = lex("12", 0);
        EXPECT_EQ(t.kind, kvr::kTokenNone);
        EXPECT_EQ(t.first, -99);
        EXPECT_EQ(t.ivalue, -99);
      },
      "modes 1, 2, 3 and 5");
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
