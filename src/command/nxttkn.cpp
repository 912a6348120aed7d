#include "command/nxttkn.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "runtime/chrset.h"

namespace kvr {
namespace {

// The largest integer and the decimal exponent of the largest real. MACHCN holds them
// only once start-up has run, and the lexer serves before that.
constexpr int32_t kLargestInteger = 2147483647;
constexpr int32_t kLargestExponent = 38;

// LEXCOD words.
constexpr int32_t kLexBlank = 11;
constexpr int32_t kLexMinus = 12;
constexpr int32_t kLexDot = 13;
constexpr int32_t kLexUpperE = 14;
constexpr int32_t kLexLowerE = 15;
// LEXSPC words.
constexpr int32_t kSpcSlash = 1;
constexpr int32_t kSpcPlus = 2;
constexpr int32_t kSpcSemicolon = 3;
constexpr int32_t kSpcColon = 4;
constexpr int32_t kSpcComma = 5;
constexpr int32_t kSpcEquals = 6;
constexpr int32_t kSpcStar = 7;
constexpr int32_t kSpcBang = 8;
constexpr int32_t kSpcDollar = 9;
constexpr int32_t kSpcQuote = 13;

bool isLex(int32_t code, int32_t word) { return code == LEXCOD.word(word); }
bool isSpc(int32_t code, int32_t word) { return code == LEXSPC.word(word); }

// The value 0-9 of a digit code, or -1.
int32_t digitOf(int32_t code) {
  for (int32_t k = 1; k <= 10; ++k) {
    if (code == LEXCOD.word(k)) return k - 1;
  }
  return -1;
}

// The kind of a one-character token other than "/", or 0.
int32_t singleKind(int32_t code) {
  if (isSpc(code, kSpcSemicolon)) return kTokenSemicolon;
  if (isSpc(code, kSpcColon)) return kTokenColon;
  if (isSpc(code, kSpcComma)) return kTokenComma;
  if (isSpc(code, kSpcEquals)) return kTokenEquals;
  if (isSpc(code, kSpcStar) || isSpc(code, kSpcBang)) return kTokenStar;
  if (isSpc(code, kSpcDollar)) return kTokenDollar;
  return 0;
}

// Whether CODE ends an ordinary token; a "/" does not end a token that begins with one.
bool endsToken(int32_t code, bool slashToken) {
  if (isLex(code, kLexBlank)) return true;
  if (isSpc(code, kSpcSemicolon) || isSpc(code, kSpcColon) || isSpc(code, kSpcComma) ||
      isSpc(code, kSpcEquals) || isSpc(code, kSpcBang) || isSpc(code, kSpcQuote) ||
      isSpc(code, kSpcStar)) {
    return true;
  }
  return isSpc(code, kSpcSlash) && !slashToken;
}

// Runs the number conversion over TOKEN in mode 2 or 3 and answers the kind.
int32_t convertNumber(std::span<const int32_t> token, int32_t mode, int32_t& ivalue,
                      float& rvalue) {
  const int32_t failure = kTokenBadNumber;
  const int32_t tooLarge = mode == kLexInteger ? kTokenNotInteger : kTokenBadNumber;
  int32_t state = 0;  // 0 start, 1 integer digits, 2 fraction, 3 exponent letter, 4 exponent
  int32_t integerPart = 0;
  float fraction = 0.0f;
  int32_t fractionDigits = 0;
  int32_t exponent = 0;
  int32_t sign = 1;
  int32_t exponentSign = 1;

  for (int32_t code : token) {
    const int32_t digit = digitOf(code);
    if (digit >= 0) {
      if (state <= 1) {
        // An integer part that would not fit stops the conversion instead of wrapping.
        if (integerPart >= kLargestInteger / 10) return tooLarge;
        integerPart = 10 * integerPart + digit;
        state = 1;
      } else if (state == 2) {
        ++fractionDigits;
        fraction += static_cast<float>(digit / std::pow(10.0, fractionDigits));
      } else {
        // Anything from 38 on reads as 38; held there so that a long exponent cannot
        // overflow the word.
        exponent = std::min(10 * exponent + digit, 10 * kLargestExponent);
        state = 4;
      }
    } else if (isLex(code, kLexMinus) || isSpc(code, kSpcPlus)) {
      const int32_t s = isLex(code, kLexMinus) ? -1 : 1;
      if (state == 0) {
        sign = s;
      } else if (state == 3) {
        exponentSign = s;
      } else {
        return failure;
      }
    } else if (mode == kLexInteger) {
      return kTokenNotInteger;
    } else if (isLex(code, kLexDot)) {
      if (state > 1) return failure;
      state = 2;
    } else if (isLex(code, kLexUpperE) || isLex(code, kLexLowerE)) {
      if (state != 1 && state != 2) return failure;
      state = 3;
    } else {
      return failure;
    }
  }

  if (state == 1) {
    ivalue = sign * integerPart;
    rvalue = static_cast<float>(ivalue);
    return mode == kLexNumber ? kTokenReal : kTokenInteger;
  }
  const int32_t power = exponentSign * std::min(exponent, kLargestExponent);
  const float base = static_cast<float>(integerPart) + fraction;
  float value = base * static_cast<float>(std::pow(10.0, power)) * static_cast<float>(sign);
  // A mantissa above 1 with the largest exponent would give an infinity.
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<float>::max(), value);
  rvalue = value;
  return kTokenReal;
}

}  // namespace

void NXTTKN(std::span<const int32_t> line, int32_t start, int32_t end, int32_t mode,
            int32_t& kind, int32_t& first, int32_t& last, int32_t& ivalue, float& rvalue) {
  if ((mode < kLexName || mode > kLexNumber) && mode != kLexRest) {
    assert(!"NXTTKN: only modes 1, 2, 3 and 5 are served");
    kind = kTokenNone;
    return;
  }
  // Positions outside the line are never read: a start below 1 reads from 1, an end
  // beyond the line's words stops at its last word.
  start = std::max(start, 1);
  end = std::min(end, static_cast<int32_t>(line.size()));
  auto at = [&line](int32_t k) { return line[static_cast<size_t>(k - 1)]; };

  if (end < start) {
    kind = kTokenNone;
    last = end;
    return;
  }
  int32_t p = start;
  while (p <= end && isLex(at(p), kLexBlank)) ++p;
  if (p > end) {
    kind = kTokenNone;
    first = end;
    last = end;
    return;
  }
  first = p;
  const int32_t c = at(p);
  const bool slash = isSpc(c, kSpcSlash);
  if (slash) {
    if (p == end || isLex(at(p + 1), kLexBlank)) {
      kind = kTokenSlash;
      last = p;
      return;
    }
    if (isSpc(at(p + 1), kSpcSlash) && (p + 1 == end || isLex(at(p + 2), kLexBlank))) {
      kind = kTokenDoubleSlash;
      last = p;
      return;
    }
  } else if (const int32_t single = singleKind(c); single != 0) {
    kind = single;
    last = p;
    return;
  }

  int32_t q = p;
  if (mode == kLexRest) {
    q = end;
    while (q > p && isLex(at(q), kLexBlank)) --q;
    last = q;
    kind = kTokenText;
    return;
  }
  while (q < end && !endsToken(at(q + 1), slash)) ++q;
  last = q;
  if (mode == kLexName) {
    kind = kTokenText;
    return;
  }
  kind = convertNumber(line.subspan(static_cast<size_t>(p - 1), static_cast<size_t>(q - p + 1)),
                       mode, ivalue, rvalue);
}

}  // namespace kvr
