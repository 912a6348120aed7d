#include "platform/environment.h"

#include <cerrno>
#include <cstdlib>

namespace kvr::env {
namespace {

bool validName(std::string_view name) {
  if (name.empty() || name.find('=') != std::string_view::npos) {
    errno = EINVAL;
    return false;
  }
  return true;
}

}  // namespace

const char* get(const std::string& name) { return std::getenv(name.c_str()); }

int32_t set(std::string_view name, std::string_view value) {
  if (value.empty()) return unset(name);
  if (!validName(name)) return -1;
  // A value holding a NUL could not be stored whole; refuse it rather than cut it.
  if (value.find('\0') != std::string_view::npos) {
    errno = EINVAL;
    return -1;
  }
  return ::setenv(std::string(name).c_str(), std::string(value).c_str(), 1) == 0 ? 0 : -1;
}

int32_t unset(std::string_view name) {
  if (!validName(name)) return -1;
  return ::unsetenv(std::string(name).c_str()) == 0 ? 0 : -1;
}

int32_t put(std::string_view assignment) {
  std::size_t eq = assignment.find('=');
  if (eq == std::string_view::npos) {
    errno = EINVAL;
    return -1;
  }
  return set(assignment.substr(0, eq), assignment.substr(eq + 1));
}

}  // namespace kvr::env
