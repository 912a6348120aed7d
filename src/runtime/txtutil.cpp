#include "runtime/txtutil.h"

#include <algorithm>
#include <string>

#include "platform/fmtedit.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

bool isFiller(char c) { return c == ' ' || c == '\t' || c == '\0'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The field of an internal read of N characters; empty when N is not a width that a
// two-digit format can name.
bool readField(FText text, int32_t n, std::string& field) {
  if (n < 1 || n > 99) return false;
  // A field wider than the text reads the text padded with blanks.
  field.assign(text.view().substr(0, static_cast<size_t>(std::min(n, text.length()))));
  field.resize(static_cast<size_t>(n), ' ');
  return true;
}

}  // namespace

int32_t LENTRM(FText text) { return text.trimmedLength(); }

void STRIPB(FText text, int32_t& n) {
  if (n < 1 || n > kMaxTextCodes) return;
  int32_t count = std::min(n, text.length());  // never beyond the declared length
  if (count < 1) return;
  int32_t a = 1;
  while (a <= count && isFiller(text.at(a))) ++a;
  if (a > count) {
    char lastChar = text.at(count);
    text.fill(' ');
    text.at(1) = lastChar;
    n = 1;
    return;
  }
  int32_t b = count;
  while (isFiller(text.at(b))) --b;
  std::string kept(text.view().substr(static_cast<size_t>(a - 1), static_cast<size_t>(b - a + 1)));
  text.assign(kept);
  n = b - a + 1;
}

void TXTNUL(FText text, int32_t mode) {
  if (text.length() < 1) return;
  if (mode == 1) {
    int32_t n = text.trimmedLength();
    STRIPB(text, n);
  }
  int32_t n = text.trimmedLength();
  if (n < text.length()) {
    text.at(n + 1) = '\0';
  } else {
    text.at(n) = '\0';
  }
}

void CASCNV(FText text, int32_t mode) {
  int32_t n = text.trimmedLength();
  for (int32_t k = 1; k <= n; ++k) text.at(k) = mode == 1 ? upper(text.at(k)) : lower(text.at(k));
}

void CPYCAS(FText text, FText mode, FText result) {
  result.fill(' ');
  char m = mode.length() > 0 ? mode.at(1) : ' ';
  int32_t n = std::min(text.length(), result.length());
  for (int32_t k = 1; k <= n; ++k) {
    char c = text.at(k);
    result.at(k) = m == 'U' ? upper(c) : m == 'L' ? lower(c) : c;
  }
}

int32_t TXTCMP(FText a, FText b, int32_t mode) {
  FixedText wa(kMaxTextCodes, a.view().substr(0, std::min<size_t>(a.view().size(), kMaxTextCodes)));
  FixedText wb(kMaxTextCodes, b.view().substr(0, std::min<size_t>(b.view().size(), kMaxTextCodes)));
  if (mode == 1) {
    CASCNV(wa, 1);
    CASCNV(wb, 1);
  }
  return wa.view() == wb.view() ? -1 : 0;
}

int32_t CHRCOD(FText text) {
  // An empty text reads as blank, as a blank-padded text would.
  return text.length() > 0 ? static_cast<unsigned char>(text.at(1)) : ' ';
}

int32_t NXTWRD(FText text, int32_t& pos, FText word, int32_t& start, int32_t& end,
               int32_t& length) {
  int32_t len = text.length();
  int32_t s = std::max(pos, 1);
  while (s <= len && text.at(s) == ' ') ++s;
  if (s > len) return 0;
  int32_t e = s;
  while (e < len && text.at(e + 1) != ' ' && text.at(e) != '"') ++e;
  if (text.at(e) == '"') {
    // A quote before any blank: the word runs to the closing quote, or is the quote alone.
    int32_t close = e + 1;
    while (close <= len && text.at(close) != '"') ++close;
    if (close <= len) e = close;
  }
  start = s;
  end = e;
  length = e - s + 1;
  pos = e + 1;
  if (length > word.length()) return -1;
  word.assign(text.view().substr(static_cast<size_t>(s - 1), static_cast<size_t>(length)));
  return 1;
}

int32_t INTTXT(int32_t value, FText text) {
  FixedText work(10, fmt::editI(value, 10));
  int32_t n = 10;
  STRIPB(work, n);
  // A text shorter than the number keeps what fits.
  n = std::min(n, text.length());
  text.assign(work.view().substr(0, static_cast<size_t>(n)));
  return n;
}

float TXTREL(FText text, int32_t n) {
  std::string field;
  float value = 0.0f;
  // Read as a REAL field: rounded once, and only what rounds beyond the range refused.
  if (!readField(text, n, field) || !fmt::readG(field, 0, value)) return 0.0f;
  return value;
}

int32_t TXTINT(FText text, int32_t n) {
  std::string field;
  int32_t value = 0;
  if (!readField(text, n, field) || !fmt::readI(field, value)) return 0;
  return value;
}

}  // namespace kvr
