// The extensions of a model's database files and their generation chains.

#include <array>
#include <string>
#include <string_view>

#include "runtime/dbnames.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// The generation chains, newest first.
constexpr std::array<std::string_view, 11> kGeometryChain = {
    ".G71", ".G70", ".G64", ".G63", ".G62", ".G61", ".G60", ".G51", ".G50", ".G40", ".G20"};
constexpr std::array<std::string_view, 11> kIndexChain = {
    ".M71", ".M70", ".M64", ".M63", ".M62", ".M61", ".M60", ".M51", ".M50", ".M40", ".M20"};
constexpr std::array<std::string_view, 11> kDataChain = {
    ".V71", ".V70", ".V64", ".V63", ".V62", ".V61", ".V60", ".V51", ".V50", ".V40", ".V20"};

// The entry of CHAIN after OLD (trailing blanks dropped, so that a blank-padded text
// compares as its four characters); empty after the last and for OLD not in CHAIN.
std::string_view olderIn(const std::array<std::string_view, 11>& chain, std::string_view old) {
  for (size_t k = 0; k + 1 < chain.size(); ++k) {
    if (chain[k] == old) return chain[k + 1];
  }
  return {};
}

// OLD as the text compared with the chains: trailing blanks dropped.
std::string compared(FText old) { return old.trimmed(); }

}  // namespace

void EXTG71(FText ext) { ext.assign(kGeometryChain[0]); }

void EXTMV(FText ext, int32_t kind) {
  if (kind == 0) {
    ext.assign(kIndexChain[0]);
  } else if (kind == 1) {
    ext.assign(kDataChain[0]);
  } else {
    ext.fill(' ');
  }
}

void EXTGPR(FText ext, FText old) {
  // OLD is copied first: EXT may be the same text.
  const std::string key = compared(old);
  ext.assign(olderIn(kGeometryChain, key));
}

void EXTMVP(FText ext, FText old) {
  const std::string key = compared(old);
  std::string_view older = olderIn(kIndexChain, key);
  if (older.empty()) older = olderIn(kDataChain, key);
  ext.assign(older);
}

void EXTGNL(FText ext) {
  ext.assign(kGeometryChain[0]);
  TXTNUL(ext, 0);
}

void EXTVNL(FText ext) {
  ext.assign(kDataChain[0]);
  TXTNUL(ext, 0);
}

}  // namespace kvr
