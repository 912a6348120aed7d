#include "modeldb/codcmp.h"

#include <algorithm>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kDifferent = -1;
constexpr int32_t kExact = 0;

// The last position of LINE that the range FIRST..LAST may read: LAST cut at the line's
// end, so a range that runs past the line only reads what is there.
int32_t lastWithin(std::span<const int32_t> line, int32_t last) {
  return std::min(last, static_cast<int32_t>(line.size()));
}

int32_t code(std::span<const int32_t> line, int32_t k) { return line[static_cast<size_t>(k - 1)]; }

}  // namespace

void CODCMP(std::span<const int32_t> a, int32_t firstA, int32_t lastA, std::span<const int32_t> b,
            int32_t firstB, int32_t lastB, int32_t& result) {
  firstA = std::max(firstA, 1);
  firstB = std::max(firstB, 1);
  lastA = lastWithin(a, lastA);
  lastB = lastWithin(b, lastB);
  const bool emptyA = lastA < firstA;
  const bool emptyB = lastB < firstB;

  if (emptyA) {
    result = emptyB || code(b, firstB) == kBlankCode ? kExact : kDifferent;
    return;
  }
  if (emptyB) {
    result = kDifferent;
    return;
  }

  int32_t i = firstA;
  int32_t j = firstB;
  int32_t matched = 0;
  while (i <= lastA && j <= lastB) {
    if (code(a, i) != code(b, j)) {
      result = kDifferent;
      return;
    }
    ++i;
    ++j;
    ++matched;
  }
  if (i > lastA) {
    result = j > lastB || code(b, j) == kBlankCode ? kExact : kDifferent;
    return;
  }
  result = code(a, i) == kBlankCode ? kExact : matched;
}

}  // namespace kvr
