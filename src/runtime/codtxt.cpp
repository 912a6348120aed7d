#include "runtime/codtxt.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include "platform/fmtedit.h"
#include "runtime/iomode.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kMaxA4Words = 64;

int32_t capacity(std::span<const int32_t> codes) { return static_cast<int32_t>(codes.size()); }

// Appends the characters of S from position FIRST on, stopping at the end of CODES.
void appendChars(std::string_view s, int32_t first, std::span<int32_t> codes, int32_t& last) {
  last = first - 1;
  if (first < 1) return;
  for (char c : s) {
    if (last + 1 > capacity(codes)) break;  // a longer text would overrun the caller's line
    ++last;
    codes[static_cast<size_t>(last - 1)] = codeOf(c);
  }
}

// Appends a literal piece given with its terminator.
void appendPiece(const char* piece, int32_t first, std::span<int32_t> codes, int32_t& last) {
  std::string s(piece);
  TXTCOD(FText(s.data(), static_cast<int32_t>(s.size())), first, codes, last);
}

char a4Char(std::span<const int32_t> words, int32_t k) {
  auto word = static_cast<uint32_t>(words[static_cast<size_t>((k - 1) / 4)]);
  return static_cast<char>((word >> (8 * ((k - 1) % 4))) & 0xFFu);
}

void appendStars(int32_t first, std::span<int32_t> codes, int32_t& last) {
  appendChars("***", first, codes, last);
}

// The post-edit of REALTX on a G-edited field: the digits that carry the value, without
// the blanks, leading zero, plus sign and trailing zeros of the field. Answers false when
// an exponent stands without a decimal point before it.
bool compactReal(std::string field, std::string& out) {
  size_t b = field.find_first_not_of(' ');
  size_t e = field.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  std::string s = field.substr(b, e - b + 1);
  if (!s.empty() && s[0] == '0') {
    s.erase(0, 1);
  } else if (!s.empty() && s[0] == '+') {
    s.erase(0, 1);
    if (!s.empty() && s[0] == '0') s.erase(0, 1);
  } else if (s.size() >= 2 && s[0] == '-' && s[1] == '0') {
    s.erase(1, 1);
  }
  size_t ePos = s.find('E');
  size_t point = s.find('.');
  if (ePos != std::string::npos) {
    if (point == std::string::npos || point > ePos) return false;
    while (ePos > 0 && s[ePos - 1] == '0') {
      s.erase(ePos - 1, 1);
      --ePos;
    }
    if (ePos + 1 < s.size() && s[ePos + 1] == '+') {
      s.erase(ePos + 1, 1);
      if (ePos + 1 < s.size() && s[ePos + 1] == '0') s.erase(ePos + 1, 1);
    } else if (ePos + 2 < s.size() && s[ePos + 1] == '-' && s[ePos + 2] == '0') {
      s.erase(ePos + 2, 1);
    }
  } else if (point != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  out = s;
  return true;
}

// The release part of a version text: at least two digits of the release number, then
// "." and the release letter when there is one.
void appendRelease(int32_t first, std::span<int32_t> codes, int32_t& last) {
  int32_t at = first;
  last = first - 1;
  if (IOMODE.release < 10) {
    appendChars("0", at, codes, last);
    at = last + 1;
  }
  INTCOD(IOMODE.release, at, codes, last);
  int32_t k = IOMODE.releaseLetter;
  if (k >= 1 && k <= 26) {
    appendChars(".", last + 1, codes, last);
    appendChars(std::string(1, static_cast<char>('A' + k - 1)), last + 1, codes, last);
  }
}

// The version number v/1000 "." (v mod 1000)/100, with "." and a third digit when the
// last two digits are not 0.
void appendVersionNumber(int32_t first, std::span<int32_t> codes, int32_t& last) {
  int32_t v = IOMODE.version;
  INTCOD(v / 1000, first, codes, last);
  appendChars(".", last + 1, codes, last);
  INTCOD((v % 1000) / 100, last + 1, codes, last);
  if ((v % 1000) % 100 != 0) {
    appendChars(".", last + 1, codes, last);
    INTCOD(((v % 1000) % 100) / 10, last + 1, codes, last);
  }
}

}  // namespace

int32_t textExtent(FText text) {
  std::string_view s = text.view();
  size_t stop = s.find("*.");
  if (stop != std::string_view::npos) return static_cast<int32_t>(stop);
  stop = s.find('\0');
  if (stop != std::string_view::npos) return static_cast<int32_t>(stop);
  return text.trimmedLength();
}

void TXTCOD(FText text, int32_t first, std::span<int32_t> codes, int32_t& last) {
  appendChars(text.view().substr(0, static_cast<size_t>(textExtent(text))), first, codes,
              last);
}

void CODTXT(std::span<const int32_t> codes, int32_t n, FText text) {
  text.fill(' ');
  int32_t count = std::min({n, kMaxTextCodes, text.length(), capacity(codes)});
  for (int32_t k = 1; k <= count; ++k) text.at(k) = charOf(codes[static_cast<size_t>(k - 1)]);
}

void TXTA4(FText text, int32_t first, std::span<int32_t> words, int32_t& last) {
  last = first - 1;
  int32_t n = textExtent(text);
  if (first < 1 || n == 0) return;
  int32_t count = (n + 3) / 4;
  for (int32_t w = 0; w < count && w < kMaxTextCodes; ++w) {
    int32_t at = first + w;
    if (at > capacity(words)) break;
    uint32_t word = 0;
    for (int32_t b = 0; b < 4; ++b) {
      int32_t k = 4 * w + b + 1;
      auto c = static_cast<unsigned char>(k <= n ? text.at(k) : ' ');
      word |= static_cast<uint32_t>(c) << (8 * b);
    }
    words[static_cast<size_t>(at - 1)] = static_cast<int32_t>(word);
    last = at;
  }
}

void A4TXT(std::span<const int32_t> words, int32_t n, FText text) {
  text.fill(' ');
  if (n <= 0) return;
  int32_t count = std::min({(n + 3) / 4, kMaxA4Words, capacity(words)});
  int32_t chars = std::min(4 * count, text.length());
  for (int32_t k = 1; k <= chars; ++k) text.at(k) = a4Char(words, k);
}

void A4COD(std::span<const int32_t> words, int32_t f, int32_t l, int32_t first,
           std::span<int32_t> codes, int32_t& last) {
  // Only the characters the words hold are read; a range beyond them is cut there.
  last = first - 1;
  if (f < 1 || first < 1) return;
  int32_t end = std::min(l, 4 * capacity(words));
  std::string s;
  for (int32_t k = f; k <= end; ++k) s.push_back(a4Char(words, k));
  appendChars(s, first, codes, last);
}

void REALCD(std::span<const int32_t> words, int32_t f, int32_t l, int32_t first,
            std::span<int32_t> codes, int32_t& last) {
  A4COD(words, f, l, first, codes, last);
}

void INTCOD(int32_t value, int32_t first, std::span<int32_t> codes, int32_t& last) {
  if (value == 0) {
    appendChars("0", first, codes, last);
    return;
  }
  std::string field = fmt::editI(value, 12);
  size_t b = field.find_first_not_of(' ');
  size_t e = field.find_last_not_of(' ');
  if (b == std::string::npos || field[b] == '*') {
    appendStars(first, codes, last);
    return;
  }
  if (field[b] == '+') ++b;
  appendChars(std::string_view(field).substr(b, e - b + 1), first, codes, last);
}

void REALTX(float value, int32_t d, int32_t first, std::span<int32_t> codes, int32_t& last) {
  if (value == 0.0f) {
    appendChars("0", first, codes, last);
    return;
  }
  int32_t digits = std::clamp(d, 1, 8);
  std::string field = fmt::editG(value, digits + 7, digits);
  std::string compact;
  if (field.find('*') != std::string::npos || !compactReal(field, compact)) {
    appendStars(first, codes, last);
    return;
  }
  appendChars(compact, first, codes, last);
}

void VERTXT(std::span<int32_t> codes, int32_t layout, int32_t first, int32_t& last) {
  // A piece after a skip starts two positions after the last one filled; the skipped
  // position keeps what the caller put there.
  switch (layout) {
    case 1:
    case 3: {
      // A start before the line appends nothing, as every other append does.
      if (first < 1) {
        last = first - 1;
        break;
      }
      int32_t nameLength = std::clamp(IOMODE.programNameLength, 0,
                                      static_cast<int32_t>(IOMODE.programName.size()));
      last = first - 1;
      for (int32_t k = 1; k <= nameLength && last + 1 <= capacity(codes); ++k) {
        codes[static_cast<size_t>(last)] = IOMODE.programName[static_cast<size_t>(k - 1)];
        ++last;
      }
      if (layout == 1) appendPiece("Version*.", last + 2, codes, last);
      appendVersionNumber(last + 2, codes, last);
      break;
    }
    case 2:
      appendPiece("Release *.", first, codes, last);
      appendRelease(last + 1, codes, last);
      break;
    case 4:
      appendPiece("-*.", first, codes, last);
      appendRelease(last + 1, codes, last);
      break;
    case 5:
      appendVersionNumber(first, codes, last);
      appendPiece("-*.", last + 1, codes, last);
      appendRelease(last + 1, codes, last);
      break;
    default:
      break;
  }
}

void BLKCOD(std::span<int32_t> codes, int32_t a, int32_t b) {
  if (a < 1 || a > b) return;
  for (int32_t k = a; k <= b && k <= capacity(codes); ++k) {
    codes[static_cast<size_t>(k - 1)] = kBlankCode;
  }
}

void UPCCOD(std::span<int32_t> codes, int32_t a, int32_t b) {
  if (a < 1 || a > b || a > capacity(codes)) return;
  int32_t n = std::min({b - a + 1, kMaxTextCodes, capacity(codes) - a + 1});
  FixedText work(kMaxTextCodes);
  CODTXT(codes.subspan(static_cast<size_t>(a - 1)), n, work);
  CASCNV(work, 1);
  int32_t last = 0;
  TXTCOD(work, a, codes.first(static_cast<size_t>(a - 1 + n)), last);
}

void IFILL(int32_t n, int32_t value, std::span<int32_t> words) {
  for (int32_t k = 1; k <= n && k <= capacity(words); ++k) {
    words[static_cast<size_t>(k - 1)] = value;
  }
}

void ISLCPY(std::span<const int32_t> source, int32_t first, int32_t last, int32_t position,
            std::span<int32_t> target, int32_t& lastOut) {
  if (first <= 0) return;
  const int64_t count = std::max<int64_t>(int64_t{last} - first + 1, 0);
  int64_t copied = 0;
  for (; copied < count; ++copied) {
    const int64_t s = first + copied;
    const int64_t t = position + copied;
    if (s > static_cast<int64_t>(source.size()) || t < 1 ||
        t > static_cast<int64_t>(target.size())) {
      break;
    }
    target[static_cast<std::size_t>(t - 1)] = source[static_cast<std::size_t>(s - 1)];
  }
  lastOut = static_cast<int32_t>(std::max<int64_t>(int64_t{position} - 1 + copied,
                                                   std::numeric_limits<int32_t>::min()));
}

}  // namespace kvr
