#include "platform/exedir.h"

#include <unistd.h>

#include <vector>

namespace kvr::os {
namespace {

std::optional<std::string>& exedirOverride() {
  static std::optional<std::string> dir;
  return dir;
}

// The full name of the executable from the link the kernel keeps for the process; the
// link's length is not known in advance, so the buffer grows until it holds it whole.
std::string executablePath() {
  std::vector<char> buf(256);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

std::string executableDirectory() {
  if (exedirOverride()) return *exedirOverride();
  std::string path = executablePath();
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

void setExecutableDirectoryOverride(std::optional<std::string> dir) { exedirOverride() = std::move(dir); }

}  // namespace kvr::os
