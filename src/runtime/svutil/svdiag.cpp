#include "runtime/svutil/svdiag.h"

#include <cstdio>

#include "platform/fmtedit.h"

namespace kvr::sv {

std::string number(int64_t value) {
  std::string s = fmt::editI(value, 24);
  std::size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? s : s.substr(first);
}

void errorLine(std::string_view text) {
  std::string line(text);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace kvr::sv
