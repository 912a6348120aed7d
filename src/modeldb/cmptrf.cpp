#include "modeldb/cmptrf.h"

#include <algorithm>
#include <bit>

#include "modeldb/recwords.h"

namespace kvr {
namespace {

constexpr int32_t kXWord = 4;
constexpr int32_t kStateWord3 = 3;

// The position in the buffer of word Q + K, or -1 outside it.
int64_t position(size_t size, int32_t q, int32_t k) {
  const int64_t at = int64_t{q} + k;
  return at >= 1 && at <= static_cast<int64_t>(size) ? at - 1 : -1;
}

}  // namespace

void MAT44M(std::span<const double, kMatrixValues> a, std::span<const double, kMatrixValues> b,
            std::span<double, kMatrixValues> r) {
  // Built in a copy: R may be A or B, and each element needs a whole row and column.
  std::array<double, kMatrixValues> product{};
  for (size_t c = 0; c < 4; ++c) {
    for (size_t row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (size_t k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * c + k];
      product[4 * c + row] = sum;
    }
  }
  std::copy(product.begin(), product.end(), r.begin());
}

void XFMPNT(float& x, float& y, float& z) {
  const CmpTrf& t = CMPTRF;
  const double px = x, py = y, pz = z;
  const auto row = [&](int32_t r) {
    return t.at(r, 1) * px + t.at(r, 2) * py + t.at(r, 3) * pz + t.at(r, 4);
  };
  double w = row(4);
  // A homogeneous weight of 0 would make every coordinate infinite.
  if (w == 0.0) return;
  x = static_cast<float>(row(1) / w);
  y = static_cast<float>(row(2) / w);
  z = static_cast<float>(row(3) / w);
}

void NODXYZ(std::span<const int32_t> page, int32_t q, float& x, float& y, float& z) {
  const auto real = [&](int32_t k) {
    const int64_t at = position(page.size(), q, k);
    return std::bit_cast<float>(at < 0 ? 0 : page[static_cast<size_t>(at)]);
  };
  x = real(kXWord);
  y = real(kXWord + 1);
  z = real(kXWord + 2);
  if (CMPTRF.flag > 0) XFMPNT(x, y, z);
}

int32_t PAGW3(std::span<const int32_t> page, int32_t q) { return RECW3(page, q); }

void PAGS3(std::span<int32_t> page, int32_t q, int32_t value) {
  const int64_t at = position(page.size(), q, kStateWord3);
  if (at >= 0) page[static_cast<size_t>(at)] = value;
}

}  // namespace kvr
