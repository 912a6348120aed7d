#include "modeldb/recwords.h"

#include "modeldb/dblevl.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kTextCodes = 8;
// Numbering mode in which stored node and element numbers are used as they are.
constexpr int32_t kStoredNumbers = 1;

bool inside(std::span<const int32_t> buffer, int64_t k) {
  return k >= 1 && k <= static_cast<int64_t>(buffer.size());
}

int32_t wordAt(std::span<const int32_t> buffer, int64_t k) {
  return inside(buffer, k) ? buffer[static_cast<size_t>(k - 1)] : 0;
}

void setWord(std::span<int32_t> buffer, int64_t k, int32_t value) {
  if (inside(buffer, k)) buffer[static_cast<size_t>(k - 1)] = value;
}

// The stored number plus OFFSET, wrapping as the 32-bit words of the system do.
int32_t offsetNumber(int32_t stored, int32_t offset) {
  if (DBLEVL.numberingMode == kStoredNumbers) return stored;
  return static_cast<int32_t>(static_cast<uint32_t>(stored) + static_cast<uint32_t>(offset));
}

}  // namespace

int32_t RECW0(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, q); }
int32_t RECW1(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 1); }
int32_t RECW2(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 2); }
int32_t RECW3(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 3); }
int32_t RECW4(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 4); }

int32_t RECELM(std::span<const int32_t> buffer, int32_t q) {
  return offsetNumber(RECW1(buffer, q), DBLEVL.elementOffset);
}

int32_t RECNOD(std::span<const int32_t> buffer, int32_t q) {
  return offsetNumber(RECW2(buffer, q), DBLEVL.nodeOffset);
}

void RECTXT(std::span<int32_t> buffer, int32_t q, int32_t a, int32_t b,
            std::span<const int32_t> text) {
  setWord(buffer, q, a);
  setWord(buffer, int64_t{q} + 1, b);
  for (int32_t k = 1; k <= kTextCodes; ++k) {
    const int32_t code =
        k <= static_cast<int32_t>(text.size()) ? text[static_cast<size_t>(k - 1)] : kBlankCode;
    setWord(buffer, int64_t{q} + 1 + k, code);
  }
}

void RECPK5(std::span<int32_t> buffer, int32_t q, int32_t a, int32_t b, int32_t c, int32_t d,
            int32_t e) {
  const int32_t order[] = {e, a, b, d, c};
  for (int32_t k = 0; k < 5; ++k) setWord(buffer, int64_t{q} + k, order[k]);
}

}  // namespace kvr
