#include "command/elttxt.h"

#include <array>
#include <cstddef>

#include "modeldb/codcmp.h"
#include "modeldb/elttab.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kNameCodes = 4;
constexpr int32_t kNameMode = 1;

// The names of element types 1 to 61.
constexpr std::array<std::string_view, kElementTypes> kTypeNames{{
    "HE8 ", "PE6 ", "TE4 ", "HE20", "PE15", "TE10", "TR3 ", "TR6 ", "QU4 ", "QU8 ",  // 10
    "BE2 ", "BE3 ", "TN5 ", "TN7 ", "TN12", "TN18", "QU7 ", "HE16", "HE27", "P-EL",  // 20
    "BE4 ", "BE5 ", "TR9 ", "QU12", "----", "----", "TR15", "TE16", "PE24", "HE32",  // 30
    "QU9 ", "----", "----", "----", "----", "----", "----", "----", "----", "----",  // 40
    "IP11", "IL22", "IL32", "IL33", "IL44", "IL55", "IS33", "IS44", "IS84", "IS66",  // 50
    "IS88", "----", "----", "----", "----", "----", "----", "----", "----", "SP8 ",  // 60
    "SP10",
}};

}  // namespace

std::string_view elementTypeName(int32_t t) {
  if (t < 1 || t > kElementTypes) return {};
  return kTypeNames[static_cast<std::size_t>(t - 1)];
}

void ELTTXT(int32_t type, int32_t start, std::span<int32_t> line, int32_t& last) {
  last = 0;
  const std::string_view name = elementTypeName(type < 0 ? SHPMAP(-type) : type);
  for (int32_t k = 0; k < static_cast<int32_t>(name.size()); ++k) {
    const int32_t position = start + k;
    if (position < 1 || position > static_cast<int32_t>(line.size())) break;
    line[static_cast<std::size_t>(position - 1)] = codeOf(name[static_cast<std::size_t>(k)]);
    last = position;
  }
}

void ELTNMS(int32_t mode, int32_t& type, std::span<int32_t> name) {
  if (mode == kNameMode) {
    int32_t last = 0;
    ELTTXT(type, 1, name, last);
    return;
  }
  int32_t n = static_cast<int32_t>(name.size());
  while (n > 0 && name[static_cast<std::size_t>(n - 1)] == kBlankCode) --n;
  type = 0;
  std::array<int32_t, kNameCodes> stored{};
  for (int32_t t = 1; t <= kElementTypes; ++t) {
    int32_t last = 0;
    ELTTXT(t, 1, stored, last);
    int32_t result = -1;
    CODCMP(stored, 1, kNameCodes, name, 1, n, result);
    if (result == 0) {
      type = t;
      return;
    }
  }
}

}  // namespace kvr
