#include "runtime/svutil/svenv.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/environment.h"
#include "platform/registry.h"
#include "runtime/svutil/svdiag.h"
#include "runtime/svutil/svoptions.h"

namespace kvr {
namespace {

struct RegistryState {
  registry::Hive hives[2];  // the current user's, then the machine's
  bool opened = false;
  std::string value;        // the last value answered
};

RegistryState& reg() {
  static RegistryState r;
  return r;
}

std::string formatted(const char* format, va_list args) {
  if (format == nullptr) return {};
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  std::string s;
  if (n > 0) {
    s.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(s.data(), s.size(), format, again);
    s.resize(static_cast<std::size_t>(n));
  }
  va_end(again);
  return s;
}

int32_t putFormatted(const std::string& assignment) {
  std::size_t eq = assignment.find('=');
  if (eq != std::string::npos) {
    const char* now = env::get(assignment.substr(0, eq));
    if (now != nullptr && assignment.compare(eq + 1, std::string::npos, now) == 0) return 0;
  }
  return env::put(assignment);
}

}  // namespace

const char* SvGetenv(const char* name) {
  if (name == nullptr) return nullptr;
  if (SvOption* table = SvInstalledTable()) {
    if (const char* v = SvFindSymbol(table, name)) return v;
  }
  if (const char* v = env::get(name)) return v;
  return SvGetRegistry(name);
}

void SvRegOpen() {
  RegistryState& r = reg();
  r.hives[0].open(registry::userFile());
  r.hives[1].open(registry::machineFile());
  r.opened = true;
}

void SvRegClose() {
  RegistryState& r = reg();
  if (!r.opened) return;
  r.hives[0].close();
  r.hives[1].close();
  r.opened = false;
}

const char* SvGetRegistry(const char* name) {
  if (name == nullptr) return nullptr;
  RegistryState& r = reg();
  if (!r.opened) SvRegOpen();
  for (const registry::Hive& hive : r.hives) {
    if (!hive.isOpen()) continue;
    const registry::Value* v = hive.find(name);
    if (v == nullptr) continue;
    auto tooLong = [name](std::size_t needed) {
      sv::errorLine(std::string("SvGetRegistry: Symbol ") + name + " to long " +
                    sv::number(static_cast<int64_t>(needed)));
    };
    // A value needs its length and a NUL in the buffer.
    if (v->data.size() + 1 > static_cast<std::size_t>(kSvRegistryBuffer)) {
      tooLong(v->data.size() + 1);
      continue;
    }
    if (v->type == registry::kTypeString) {
      r.value = v->data;
      return r.value.c_str();
    }
    if (v->type == registry::kTypeExpandable) {
      std::string expanded = registry::expandEnvironment(v->data);
      if (expanded.size() + 1 > static_cast<std::size_t>(kSvRegistryBuffer)) {
        tooLong(expanded.size() + 1);
        continue;
      }
      r.value = std::move(expanded);
      return r.value.c_str();
    }
    sv::errorLine("SvGetRegistry: Unexpected symbol type(" + sv::number(v->type) + ") for symbol " + name);
  }
  return nullptr;
}

const char* SvTextToStr(const char* text, int32_t n) {
  static std::string buffer;
  if (n < 0) return nullptr;
  if (n > kSvTextToStrMax) n = kSvTextToStrMax;
  if (text == nullptr) n = 0;
  while (n > 0 && text[n - 1] == ' ') --n;
  buffer.assign(text ? text : "", static_cast<std::size_t>(n));
  return buffer.c_str();
}

void SvTextGetenv(FText name, FText value) {
  value.fill(' ');
  std::string key = SvTextToStr(name.data(), name.length());
  if (key.empty()) return;
  if (const char* v = SvGetenv(key.c_str())) value.assign(v);
}

int32_t SvTextSetenv(FText name, FText value) {
  std::string key = SvTextToStr(name.data(), name.length());
  std::string text = SvTextToStr(value.data(), value.length());
  return SvPutenv(key.c_str(), text.c_str());
}

int32_t SvStrToText(const char* s, FText text) {
  text.assign(s ? s : "");
  auto length = static_cast<int64_t>(s ? std::strlen(s) : 0);
  if (length > text.length()) return static_cast<int32_t>(text.length() - length);
  return text.length();
}

int32_t SvPutenv(const char* name, const char* value) {
  if (name == nullptr || value == nullptr) return -1;
  std::string assignment = std::string(name) + "=" + value;
  int32_t result = env::put(assignment);
  if (result != 0) std::perror("putenv");
  return result;
}

int32_t vputenv(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string assignment = formatted(format, args);
  va_end(args);
  if (assignment.size() > static_cast<std::size_t>(kSvPutenvMax)) {
    sv::errorLine("vputenv: Internal buffer to small to update environment");
    return -1;
  }
  return putFormatted(assignment);
}

int32_t vSvSetenv(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string assignment = formatted(format, args);
  va_end(args);
  if (assignment.size() > static_cast<std::size_t>(kSvSetenvMax)) {
    sv::errorLine("vSvSetenv: Internal buffer to small to update environment");
    return -1;
  }
  std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) return -1;
  if (SvOption* table = SvInstalledTable()) {
    SvSetSymbol(table, assignment.c_str() + eq + 1, assignment.substr(0, eq).c_str(), 1);
  }
  return vputenv("%s", assignment.c_str());
}

}  // namespace kvr
