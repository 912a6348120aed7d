#include "runtime/svutil/svwords.h"

#include <cstring>
#include <string>

#include "runtime/svutil/svdiag.h"
#include "runtime/svutil/svmemory.h"
#include "runtime/svutil/svstrings.h"

namespace kvr {
namespace {

constexpr const char* kDefaultDelimiters = " \t\n,";
constexpr const char* kWordDelimiters = " \t\n";
constexpr int32_t kWordBuffer = 256;

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isDelimiter(char c, const char* delimiters) { return c != '\0' && std::strchr(delimiters, c) != nullptr; }

}  // namespace

const char* SvNextToken(const char* s, char* word, int32_t n, const char* delimiters, SvCaseFunc caseFn,
                        SvWordInfo* info) {
  if (info) *info = SvWordInfo{};
  if (word && n > 0) word[0] = '\0';
  if (s == nullptr) return nullptr;
  const char* delims = delimiters ? delimiters : kDefaultDelimiters;
  const char* p = s;
  while (isWhite(*p)) ++p;
  if (*p == '\0') return nullptr;

  int32_t stored = 0;
  const char* stop = nullptr;
  auto put = [&](int c, const char* at) {
    if (word && stored < n - 1) {
      word[stored++] = static_cast<char>(c);
    } else if (stop == nullptr) {
      stop = at;
    }
  };

  char quote = 0;
  if (*p == '"' || *p == '\'') {
    quote = *p++;
    for (;;) {
      if (*p == '\0') {
        sv::errorLine(std::string("No end quote seen in string <") + s + ">");
        if (word && n > 0) word[0] = '\0';
        return nullptr;
      }
      if (*p == quote) {
        if (p[1] != quote) {
          ++p;
          break;
        }
        put(quote, p);
        p += 2;
        continue;
      }
      put(*p, p);
      ++p;
    }
  }
  // The unquoted word, or what follows a closing quote.
  while (*p != '\0' && !isDelimiter(*p, delims)) {
    if (*p == '\\' && p[1] != '\0') {
      put(p[1], p);
      p += 2;
      continue;
    }
    int c = static_cast<unsigned char>(*p);
    put(caseFn ? caseFn(c) : c, p);
    ++p;
  }
  if (word && n > 0) word[stored] = '\0';

  const char* after = p;
  if (isDelimiter(*p, delims)) ++p;
  while (isWhite(*p)) ++p;
  if (info) {
    info->end = *after != '\0' ? after : nullptr;
    info->stop = stop;
    info->quote = quote;
  }
  return p;
}

const char* SvNextWord(const char* s, char* word, int32_t n, const char* delimiters, SvCaseFunc caseFn) {
  return SvNextToken(s, word, n, delimiters, caseFn, nullptr);
}

int32_t SvWords(const char* line, char*** vector) {
  if (vector == nullptr) return -1;
  *vector = nullptr;
  int32_t capacity = 8;
  int32_t failed = 0;
  auto** words = static_cast<char**>(
      SvMallocStat(static_cast<std::size_t>(capacity) * sizeof(char*), SV_TAG("charp"), &failed));
  if (words == nullptr) return -1;
  int32_t count = 0;
  words[0] = nullptr;
  char word[kWordBuffer];
  const char* p = line;
  while ((p = SvNextToken(p, word, kWordBuffer, kWordDelimiters, nullptr, nullptr)) != nullptr) {
    if (count + 1 >= capacity) {
      auto** grown = static_cast<char**>(SvRealloc(
          words, static_cast<std::size_t>(capacity) * 2 * sizeof(char*), SV_TAG("charp"), &failed));
      if (grown == nullptr) {
        SvFreeWords(words);
        return -1;
      }
      words = grown;
      capacity *= 2;
    }
    words[count++] = SvStrdup(word);
    words[count] = nullptr;
  }
  *vector = words;
  return count;
}

char* SvJoinWords(char* const* vector) {
  if (vector == nullptr) return nullptr;
  std::string joined;
  for (int32_t i = 0; vector[i] != nullptr; ++i) {
    if (i > 0) joined += ' ';
    if (SvNeedQuote(vector[i])) {
      joined.append("\"").append(vector[i]).append("\"");
    } else {
      joined += vector[i];
    }
  }
  return SvStrdup(joined.c_str());
}

int32_t SvNeedQuote(const char* s) { return s != nullptr && std::strpbrk(s, " \t\n;") != nullptr ? 1 : 0; }

void SvFreeWords(char** vector) {
  if (vector == nullptr) return;
  for (char** w = vector; *w != nullptr; ++w) SvFree(*w, SV_TAG("charp"));
  SvFree(vector, SV_TAG("charp"));
}

}  // namespace kvr
