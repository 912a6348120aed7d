#include "platform/cmdline.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace kvr {
namespace {

std::vector<std::string> readProcessArguments() {
  std::vector<std::string> args;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  if (!in) return args;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Every argument, the last included, ends with a NUL; an empty argument is kept.
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    args.emplace_back(bytes, start, end - start);
    start = end + 1;
  }
  return args;
}

std::optional<std::vector<std::string>>& overrideArgs() {
  static std::optional<std::vector<std::string>> args;
  return args;
}

}  // namespace

const std::vector<std::string>& commandLine() {
  if (overrideArgs()) return *overrideArgs();
  static const std::vector<std::string> args = readProcessArguments();
  return args;
}

void setCommandLineOverride(std::vector<std::string> args) { overrideArgs() = std::move(args); }

void clearCommandLineOverride() { overrideArgs().reset(); }

}  // namespace kvr
