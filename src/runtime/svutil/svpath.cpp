#include "runtime/svutil/svpath.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "runtime/svutil/svenv.h"

namespace kvr {
namespace {

// Characters that end a plain $NAME reference.
constexpr const char* kNameEnd = ":/. \t\n;";

// The search result, valid until the next search.
std::string& searchResult() {
  static std::string s;
  return s;
}

const char* answer(const std::string& path) {
  searchResult() = path;
  return searchResult().c_str();
}

int plainStat(const char* path, struct stat* record) { return ::stat(path, record); }

bool succeeds(SvStatFunc status, const std::string& path) {
  struct stat record;
  return status(path.c_str(), &record) >= 0;
}

}  // namespace

const char* SvExpandPath(const char* text) {
  static std::string result;
  if (text == nullptr) return nullptr;
  std::string out;
  const char* p = text;
  while (*p != '\0') {
    if (*p != '$') {
      out += *p++;
      continue;
    }
    if (p[1] == '\0') {
      out += '$';
      break;
    }
    if (p[1] == '$') {
      out += '$';
      p += 2;
      continue;
    }
    std::string name;
    if (p[1] == '(' || p[1] == '{') {
      const char* close = std::strchr(p + 2, p[1] == '(' ? ')' : '}');
      if (close == nullptr) return nullptr;
      name.assign(p + 2, static_cast<std::size_t>(close - (p + 2)));
      p = close + 1;
    } else {
      const char* end = p + 1;
      while (*end != '\0' && std::strchr(kNameEnd, *end) == nullptr) ++end;
      name.assign(p + 1, static_cast<std::size_t>(end - (p + 1)));
      p = end;
    }
    if (name.size() > static_cast<std::size_t>(kSvNameMax)) return nullptr;
    if (!name.empty()) {
      if (const char* value = SvGetenv(name.c_str())) out += value;
    }
    if (out.size() > static_cast<std::size_t>(kSvPathMax)) return nullptr;
  }
  if (out.size() > static_cast<std::size_t>(kSvPathMax)) return nullptr;
  result = std::move(out);
  return result.c_str();
}

const char* SvSearchPath(const char* path, const char* name, int32_t length, int separator, SvStatFunc status) {
  if (path == nullptr || name == nullptr || status == nullptr) return nullptr;
  std::string file(name, strnlen(name, length > 0 ? static_cast<std::size_t>(length) : 0));
  const char* p = path;
  for (;;) {
    while (*p == separator || *p == ' ' || *p == '\t') ++p;
    if (*p == '\0') return nullptr;
    const char* end = p;
    while (*end != '\0' && *end != separator) ++end;
    std::string element(p, static_cast<std::size_t>(end - p));
    p = end;
    const char* expanded = SvExpandPath(element.c_str());
    if (expanded == nullptr) continue;
    std::string candidate = std::strcmp(expanded, ".") == 0 ? file : std::string(expanded) + "/" + file;
    if (candidate.size() > static_cast<std::size_t>(kSvPathMax)) continue;
    if (succeeds(status, candidate)) return answer(candidate);
  }
}

const char* SvFindFileF(const char* name, const char* path, SvStatFunc status) {
  if (status == nullptr) return nullptr;
  const char* expanded = SvExpandPath(name);
  if (expanded == nullptr) return nullptr;
  // Searching expands each element into the same buffer: keep the name apart.
  std::string file = expanded;
  if (SvIsAbsPath(file.c_str())) return succeeds(status, file) ? answer(file) : nullptr;
  return SvSearchPath(path, file.c_str(), static_cast<int32_t>(file.size()), ':', status);
}

const char* SvFindFile(const char* name, const char* path) { return SvFindFileF(name, path, plainStat); }

const char* SvFindFileRcs(const char* name, const char* path) { return SvFindFileF(name, path, SvRcsStat); }

int32_t SvIsAbsPath(const char* path) { return path != nullptr && path[0] == '/' ? 1 : 0; }

char* SvToSlash(char* s) {
  for (char* p = s; p && *p; ++p) {
    if (*p == '\\') *p = '/';
  }
  return s;
}

char* SvToBackslash(char* s) {
  for (char* p = s; p && *p; ++p) {
    if (*p == '/') *p = '\\';
  }
  return s;
}

char* SvToBackslash2(char* s) { return SvToBackslash(s); }

}  // namespace kvr
