// The readers of a results attribute's definitions.

#include "dbinterface/dipres.h"

#include <algorithm>
#include <array>
#include <string>

#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kResultsKey = 100;
constexpr int32_t kResultsCopyKey = 300;
constexpr int32_t kMostResultsType = 5;
constexpr int32_t kAttributeWords = 12;  // tag, 8 name codes, NCOMPS, IRTYPE, NUMVAR
constexpr int32_t kComponentWords = 30;  // tag, name, 5 words, NCALC, second name
constexpr int32_t kVariantWords = 3;     // tag, id, n
constexpr int32_t kIllegalCalculation = 248;

void copyName(std::span<const int32_t> from, std::span<int32_t> to) {
  std::array<int32_t, kResultsNameCodes> codes{};
  std::copy_n(from.begin(), kResultsNameCodes, codes.begin());
  UPCCOD(codes, 1, kResultsNameCodes);
  std::copy_n(codes.begin(), std::min<std::size_t>(to.size(), codes.size()), to.begin());
}

}  // namespace

void DIPAT(int32_t key, std::span<int32_t> name, int32_t& ncomps, int32_t& irtype,
           int32_t& numvar, int32_t& ierr) {
  ierr = 0;
  std::array<int32_t, kAttributeWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if ((key != kResultsKey && key != kResultsCopyKey) || r[0] != kTagAttribute) {
    return reportNotDetected(ierr, "DIPAT ", 9250);
  }
  copyName(std::span<const int32_t>(r).subspan(1), name);
  ncomps = r[9];
  irtype = r[10];
  numvar = r[11];
  if (ncomps < 1 || ncomps > kMostComponents) return reportNotDetected(ierr, "DIPAT ", 9300);
  if (irtype < 1 || irtype > kMostResultsType) return reportNotDetected(ierr, "DIPAT ", 9400);
  if (numvar < 0 || numvar > kMostVariants) return reportNotDetected(ierr, "DIPAT ", 9500);
}

void DIPCO(int32_t /*key*/, int32_t c, std::span<int32_t> name, int32_t& inmenu,
           int32_t& ctype, int32_t& index1, int32_t& index2, int32_t& iexist,
           std::span<int32_t> ncalc, std::span<int32_t> name2, int32_t& ierr) {
  ierr = 0;
  if (c > kMostComponents) return reportNotDetected(ierr, "DIPCO ", 9200);
  std::array<int32_t, kComponentWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if (r[0] != kTagComponent) return reportNotDetected(ierr, "DIPCO ", 9300);
  const std::span<const int32_t> w(r);
  copyName(w.subspan(1), name);
  inmenu = r[9];
  ctype = r[10];
  index1 = r[11];
  index2 = r[12];
  iexist = r[13];
  copyName(w.subspan(14), ncalc);
  copyName(w.subspan(22), name2);
  const int32_t kind = ctype % 10;
  if (inmenu != 0 && inmenu != 1) return reportNotDetected(ierr, "DIPCO ", 9400);
  if (kind < 0 || kind > 6) return reportNotDetected(ierr, "DIPCO ", 9500);
  if (kind >= 2 && index1 < 0) return reportNotDetected(ierr, "DIPCO ", 9600);
  if (kind >= 4 && index2 < 0) return reportNotDetected(ierr, "DIPCO ", 9700);
  if (iexist == 1 && (r[14] == kBlankCode || r[14] == 0)) {
    std::string text(kResultsNameCodes, ' ');
    for (int32_t i = 0; i < kResultsNameCodes; ++i) text[i] = charOf(r[14 + i]);
    reportLoaderError(ierr, kIllegalCalculation, "DILIM ", kDiName, 0, text);
  }
}

void DIPAV(int32_t /*key*/, int32_t /*i*/, int32_t ncomps, int32_t& id, int32_t& n,
           std::span<int32_t> list, int32_t& ierr) {
  ierr = 0;
  std::array<int32_t, kVariantWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if (r[0] != kTagVariant) return reportNotDetected(ierr, "DIPAV ", 9200);
  id = r[1];
  n = r[2];
  if (id < 0) return reportNotDetected(ierr, "DIPAV ", 9300);
  if (n < 0 || n > kMostComponents) return reportNotDetected(ierr, "DIPAV ", 9400);
  std::array<int32_t, kMostComponents> numbers{};
  if (!readLoaderRecord(std::span<int32_t>(numbers).first(static_cast<std::size_t>(n)), ierr)) {
    return;
  }
  for (int32_t j = 0; j < n; ++j) {
    if (numbers[j] < 1 || numbers[j] > ncomps) return reportNotDetected(ierr, "DIPAV ", 9400);
  }
  std::copy_n(numbers.begin(), std::min<std::size_t>(list.size(), static_cast<std::size_t>(n)),
              list.begin());
}

}  // namespace kvr
