#include "runtime/svutil/svstrings.h"

#include <cctype>
#include <cstring>

#include "runtime/svutil/svmemory.h"

namespace kvr {
namespace {

int lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

bool sameChar(char a, char b, bool ignoreCase) { return ignoreCase ? lower(a) == lower(b) : a == b; }

// The one search behind the family: PATTERN (PLEN characters) in TEXT (TLEN characters),
// trying positions 0 to TLEN - PLEN, from the front or from the back.
const char* search(const char* text, std::size_t tlen, const char* pattern, std::size_t plen,
                   bool ignoreCase, bool last) {
  if (text == nullptr || pattern == nullptr || tlen < plen) return nullptr;
  std::size_t positions = tlen - plen + 1;
  for (std::size_t k = 0; k < positions; ++k) {
    std::size_t pos = last ? positions - 1 - k : k;
    std::size_t i = 0;
    while (i < plen && sameChar(text[pos + i], pattern[i], ignoreCase)) ++i;
    if (i == plen) return text + pos;
  }
  return nullptr;
}

std::size_t len(const char* s) { return s ? std::strlen(s) : 0; }
std::size_t lenN(const char* s, std::size_t n) { return s ? strnlen(s, n) : 0; }

char* concat(std::initializer_list<const char*> parts, bool check) {
  if (parts.size() == 0 || *parts.begin() == nullptr) return nullptr;
  std::size_t total = 0;
  for (const char* p : parts) {
    if (p == nullptr) break;
    total += std::strlen(p);
  }
  int32_t failed = 0;
  char* out = static_cast<char*>(check ? SvMallocStat(total + 1, SV_TAG("strings"), &failed)
                                       : SvMalloc(total + 1, SV_TAG("strings")));
  if (out == nullptr) return nullptr;
  char* at = out;
  for (const char* p : parts) {
    if (p == nullptr) break;
    std::size_t n = std::strlen(p);
    std::memcpy(at, p, n);
    at += n;
  }
  *at = '\0';
  return out;
}

char* copyN(const char* s, std::size_t n, bool check) {
  if (s == nullptr) return nullptr;
  // Never reads past S: only the characters before its NUL, at most N, are copied.
  std::size_t count = strnlen(s, n);
  int32_t failed = 0;
  char* out = static_cast<char*>(check ? SvMallocStat(count + 1, SV_TAG("strings"), &failed)
                                       : SvMalloc(count + 1, SV_TAG("strings")));
  if (out == nullptr) return nullptr;
  std::memcpy(out, s, count);
  out[count] = '\0';
  return out;
}

int32_t tableIndex(const char* s, std::span<const char* const> table, int32_t prefix, bool ignoreCase) {
  if (s == nullptr) return -1;
  std::size_t n = std::strlen(s);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const char* entry = table[i];
    if (entry == nullptr || strnlen(entry, n + 1) < n) continue;
    bool begins = ignoreCase ? SvStrnicmp(entry, s, n) == 0 : std::strncmp(entry, s, n) == 0;
    if (begins && (prefix != 0 || entry[n] == '\0')) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace

char* SvStrcat(std::initializer_list<const char*> parts) { return concat(parts, false); }
char* SvStrcatChk(std::initializer_list<const char*> parts) { return concat(parts, true); }
char* SvStrdup(const char* s) { return copyN(s, len(s), false); }
char* SvStrdupChk(const char* s) { return copyN(s, len(s), true); }
char* SvStrndup(const char* s, std::size_t n) { return copyN(s, n, false); }
char* SvStrndupChk(const char* s, std::size_t n) { return copyN(s, n, true); }
std::size_t SvStrnlen(const char* s, std::size_t n) { return lenN(s, n); }

int32_t SvStricmp(const char* a, const char* b) {
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  for (; *x != 0 && *y != 0; ++x, ++y) {
    int d = std::tolower(*x) - std::tolower(*y);
    if (d != 0) return d;
  }
  return static_cast<int32_t>(*x) - static_cast<int32_t>(*y);
}

int32_t SvStrnicmp(const char* a, const char* b, std::size_t n) {
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  for (std::size_t i = 0; i < n; ++i) {
    int d = std::tolower(x[i]) - std::tolower(y[i]);
    if (d != 0) return d;
    // Both strings end here; going on would read past them.
    if (x[i] == 0) return 0;
  }
  return 0;
}

int32_t SvTextEq(const char* a, int32_t la, const char* b, int32_t lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  int32_t common = la < lb ? la : lb;
  if (common > 0 && std::strncmp(a, b, static_cast<std::size_t>(common)) != 0) return 0;
  const char* rest = la > lb ? a : b;
  int32_t longer = la > lb ? la : lb;
  for (int32_t i = common; i < longer; ++i) {
    if (rest[i] != ' ') return 0;
  }
  return 1;
}

int32_t SvStrIndex(const char* s, std::span<const char* const> table, int32_t prefix) {
  return tableIndex(s, table, prefix, false);
}

int32_t SvStriIndex(const char* s, std::span<const char* const> table, int32_t prefix) {
  return tableIndex(s, table, prefix, true);
}

const char* SvStrstrn(const char* text, const char* pattern, std::size_t n) {
  return search(text, len(text), pattern, lenN(pattern, n), false, false);
}
const char* SvMemstrn(const char* text, std::size_t t, const char* pattern, std::size_t n) {
  return search(text, t, pattern, lenN(pattern, n), false, false);
}
const char* SvMemstr(const char* text, std::size_t t, const char* pattern) {
  return search(text, t, pattern, len(pattern), false, false);
}
const char* SvStrrstr(const char* text, const char* pattern) {
  return search(text, len(text), pattern, len(pattern), false, true);
}
const char* SvStrrstrn(const char* text, const char* pattern, std::size_t n) {
  return search(text, len(text), pattern, lenN(pattern, n), false, true);
}
const char* SvMemrstrn(const char* text, std::size_t t, const char* pattern, std::size_t n) {
  return search(text, t, pattern, lenN(pattern, n), false, true);
}
const char* SvMemrstr(const char* text, std::size_t t, const char* pattern) {
  return search(text, t, pattern, len(pattern), false, true);
}

const char* SvStrichr(const char* text, int c) { return SvStrnichr(text, len(text), c); }

const char* SvStrnichr(const char* text, std::size_t n, int c) {
  if (text == nullptr) return nullptr;
  char ch = static_cast<char>(c);
  for (std::size_t i = 0; i < n && text[i] != '\0'; ++i) {
    if (sameChar(text[i], ch, true)) return text + i;
  }
  return nullptr;
}

const char* SvStrirchr(const char* text, int c) {
  char ch = static_cast<char>(c);
  return search(text, len(text), &ch, text ? 1 : 0, true, true);
}

const char* SvStristr(const char* text, const char* pattern) {
  return search(text, len(text), pattern, len(pattern), true, false);
}
const char* SvStristrn(const char* text, const char* pattern, std::size_t n) {
  return search(text, len(text), pattern, lenN(pattern, n), true, false);
}
const char* SvMemistrn(const char* text, std::size_t t, const char* pattern, std::size_t n) {
  return search(text, t, pattern, lenN(pattern, n), true, false);
}
const char* SvMemistr(const char* text, std::size_t t, const char* pattern) {
  return search(text, t, pattern, len(pattern), true, false);
}
const char* SvStrirstr(const char* text, const char* pattern) {
  return search(text, len(text), pattern, len(pattern), true, true);
}
const char* SvStrirstrn(const char* text, const char* pattern, std::size_t n) {
  return search(text, len(text), pattern, lenN(pattern, n), true, true);
}
const char* SvMemirstrn(const char* text, std::size_t t, const char* pattern, std::size_t n) {
  return search(text, t, pattern, lenN(pattern, n), true, true);
}
const char* SvMemirstr(const char* text, std::size_t t, const char* pattern) {
  return search(text, t, pattern, len(pattern), true, true);
}

}  // namespace kvr
