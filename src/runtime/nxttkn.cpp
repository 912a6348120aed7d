#include "runtime/nxttkn.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>

#include "runtime/chrset.h"

namespace kvr {
namespace {

// The largest integer and the decimal exponent of the largest real. MACHCN holds them
// only once start-up has run, and the lexer serves before that.
constexpr int32_t kLargestInteger = 2147483647;
constexpr int32_t kLargestExponent = 38;

// LEXCOD words: the digits are words 1 to 10.
constexpr int32_t kLexDigits = 10;
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

// The head of a pick token, whose sixth or seventh character may be followed by a "*"
// in mode 9.
constexpr char kPickHead[] = "/PICK-";
constexpr int32_t kPickHeadLength = 6;

bool isLex(int32_t code, int32_t word) { return code == LEXCOD.word(word); }
bool isSpc(int32_t code, int32_t word) { return code == LEXSPC.word(word); }
bool isBlank(int32_t code) { return isLex(code, kLexBlank); }

// The code of character C of "()*+,-./0-9:;<=>?@A-Z" (values 40 to 90), from CHRTAB.
int32_t tableCode(char c) { return CHRTAB.word(static_cast<int32_t>(c) - 39); }

// The value 0-9 of a digit code, or -1.
int32_t digitOf(int32_t code) {
  for (int32_t k = 1; k <= kLexDigits; ++k) {
    if (code == LEXCOD.word(k)) return k - 1;
  }
  return -1;
}

// The kind of a one-character token other than "/" in MODE, or 0.
int32_t singleKind(int32_t code, int32_t mode) {
  if (isSpc(code, kSpcSemicolon)) return kTokenSemicolon;
  if (isSpc(code, kSpcColon) && mode != kLexClock) return kTokenColon;
  if (isSpc(code, kSpcComma)) return kTokenComma;
  if (isSpc(code, kSpcEquals)) return kTokenEquals;
  if (isSpc(code, kSpcStar) && mode != kLexWord) return kTokenStar;
  if (isSpc(code, kSpcBang)) return kTokenStar;
  if (isSpc(code, kSpcDollar)) return kTokenDollar;
  return 0;
}

// Whether CODE ends an ordinary token in MODE; a "/" does not end a token that begins
// with one.
bool endsToken(int32_t code, int32_t mode, bool slashToken) {
  if (isBlank(code)) return true;
  if (isSpc(code, kSpcSemicolon) || isSpc(code, kSpcComma) || isSpc(code, kSpcEquals) ||
      isSpc(code, kSpcBang) || isSpc(code, kSpcQuote) || isSpc(code, kSpcStar)) {
    return true;
  }
  if (isSpc(code, kSpcColon)) return mode != kLexClock;
  return isSpc(code, kSpcSlash) && !slashToken;
}

// Whether TOKEN (the token so far) lets a "*" join it in mode 9: six or seven characters,
// the first six "/PICK-".
bool pickTakesStar(std::span<const int32_t> token) {
  if (token.size() != 6 && token.size() != 7) return false;
  for (int32_t k = 0; k < kPickHeadLength; ++k) {
    if (token[static_cast<size_t>(k)] != tableCode(kPickHead[k])) return false;
  }
  return true;
}

// Runs the number conversion over TOKEN in mode 0, 2, 3, 8 or 9 and answers the kind.
int32_t convertNumber(std::span<const int32_t> token, int32_t mode, int32_t& ivalue,
                      float& rvalue) {
  const bool textOnFailure = mode == kLexToken || mode == kLexPick;
  const int32_t failure = textOnFailure ? kTokenText : kTokenBadNumber;
  int32_t tooLarge = kTokenText;
  if (mode == kLexInteger) tooLarge = kTokenNotInteger;
  if (mode == kLexNumber) tooLarge = kTokenBadNumber;

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
        // Digits past the precision of a real add nothing; the count stops there.
        fractionDigits = std::min(fractionDigits + 1, 2 * kLargestExponent);
        fraction += static_cast<float>(digit / std::pow(10.0, fractionDigits));
      } else {
        // The exponent saturates as it is read: a long one would overflow the word.
        exponent = std::min(10 * exponent + digit, kLargestExponent);
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
  const float mantissa =
      static_cast<float>(static_cast<double>(integerPart) + static_cast<double>(fraction));
  double value = static_cast<double>(mantissa) * std::pow(10.0, exponentSign * exponent);
  // A mantissa above 1 with the largest exponent would overflow to an infinity.
  value = std::min(value, static_cast<double>(std::numeric_limits<float>::max()));
  const auto magnitude = static_cast<float>(value);
  rvalue = sign < 0 ? -magnitude : magnitude;  // "-" alone gives -0.0
  return kTokenReal;
}

}  // namespace

void NXTTKN(std::span<const int32_t> line, int32_t start, int32_t end, int32_t mode,
            int32_t& kind, int32_t& first, int32_t& last, int32_t& ivalue, float& rvalue) {
  kind = kTokenNone;
  if (mode < kLexToken || mode > kLexPick) return;
  // Positions outside the line are never read: a start below 1 would read position 0,
  // an end beyond the line's words past its last word.
  start = std::max(start, 1);
  end = static_cast<int32_t>(std::min<std::ptrdiff_t>(end, std::ssize(line)));
  auto at = [&line](int32_t k) { return line[static_cast<size_t>(k - 1)]; };

  if (end < start) {
    last = end;
    return;
  }
  int32_t p = start;
  while (p <= end && isBlank(at(p))) ++p;
  if (p > end) {
    first = end;
    last = end;
    return;
  }
  first = p;
  last = p;
  const int32_t c = at(p);

  // One-character tokens.
  const bool slash = isSpc(c, kSpcSlash);
  if (slash) {
    if (p == end || isBlank(at(p + 1))) {
      kind = kTokenSlash;
      return;
    }
    if (isSpc(at(p + 1), kSpcSlash) && (p + 1 == end || isBlank(at(p + 2)))) {
      kind = kTokenDoubleSlash;
      return;
    }
  } else if (const int32_t single = singleKind(c, mode); single != 0) {
    kind = single;
    return;
  }
  if (mode == kLexSeparator) {
    kind = kTokenNotSeparator;
    return;
  }

  // The extent of the token.
  if (mode == kLexRest) {
    int32_t q = end;
    while (q > p && isBlank(at(q))) --q;
    last = q;
    kind = kTokenText;
    return;
  }
  const bool quoting =
      mode == kLexToken || mode == kLexQuoted || mode == kLexWord || mode == kLexPick;
  if (quoting && isSpc(c, kSpcQuote)) {
    int32_t q = p + 1;
    while (q <= end && !isSpc(at(q), kSpcQuote)) ++q;
    if (p == end || (q > end && mode != kLexWord)) {
      kind = kTokenBadQuote;
    } else if (q > end) {
      kind = kTokenText;  // mode 7: the opening quote alone
    } else {
      // Quoted text is no number: its first character fails the conversion.
      last = q;
      kind = kTokenText;
    }
    return;
  }
  if (mode == kLexQuoted) {
    kind = kTokenBadQuote;
    return;
  }
  int32_t q = p;
  if (mode == kLexWord) {
    while (q < end && !isBlank(at(q + 1))) ++q;
    last = q;
    kind = kTokenText;
    return;
  }
  while (q < end) {
    const int32_t next = at(q + 1);
    const bool joins =
        !endsToken(next, mode, slash) ||
        (mode == kLexPick && isSpc(next, kSpcStar) &&
         pickTakesStar(line.subspan(static_cast<size_t>(p - 1), static_cast<size_t>(q - p + 1))));
    if (!joins) break;
    ++q;
  }
  last = q;
  if (mode == kLexName) {
    kind = kTokenText;
    return;
  }
  kind = convertNumber(line.subspan(static_cast<size_t>(p - 1), static_cast<size_t>(q - p + 1)),
                       mode, ivalue, rvalue);
}

}  // namespace kvr
