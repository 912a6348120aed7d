#include "runtime/envpath.h"

#include <cstring>

#include "platform/exedir.h"
#include "runtime/platrtn.h"
#include "runtime/svutil/svenv.h"

namespace kvr {

std::string environmentValue(const char* name) {
  const char* v = SvGetenv(name);
  if (v == nullptr) return {};
  std::string value(v);
  value.erase(value.find_last_not_of(' ') + 1);
  return value;
}

std::string customDirectory() {
  std::string dir = os::executableDirectory();
  if (dir.empty()) return {};
  return dir + "../Custom/";
}

std::string collapsePath(std::string path) {
  PathCollapse(path.data());
  path.resize(std::strlen(path.c_str()));
  return path;
}

}  // namespace kvr
