#include "command/objrec.h"

#include <algorithm>
#include <cstddef>

#include "modeldb/corsto.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dbpage.h"
#include "runtime/codtxt.h"
#include "runtime/slttab.h"

namespace kvr {
namespace {

constexpr int32_t kLoadCaseTypeWord = 11;

int32_t resultsWord(int32_t k) { return CTLREC.word(kResultsClass, k); }

}  // namespace

void CMPCNT(int32_t& count) { count = resultsWord(kComponentCountWord); }

void CMPLNK(int32_t& link) { link = resultsWord(kComponentLinkWord); }

void CMPENT(int32_t slot, std::span<int32_t> name) {
  const int32_t first = kFirstComponentWord + (slot - 1) * kComponentCodes;
  const auto n = std::min(name.size(), static_cast<std::size_t>(kComponentCodes));
  for (std::size_t k = 0; k < n; ++k) {
    name[k] = slot >= 1 && slot <= kComponentSlots ? resultsWord(first + static_cast<int32_t>(k))
                                                     : kBlankCode;
  }
}

void LCKIND(int32_t entry, std::span<int32_t> buffer, int32_t page, int32_t& kind) {
  kind = 0;
  const int64_t word = kEntryBase + int64_t{recordLength(kLoadCaseClass)} * (entry - 1) +
                       kLoadCaseTypeWord;
  if (page <= 0 || entry < 1 || word > std::min<int64_t>(buffer.size(), kIndexPageSize)) return;
  PAGRD(kLoadCaseClass, page, buffer);
  const int32_t w = buffer[static_cast<std::size_t>(word - 1)];
  kind = w >= 1 ? 1 : w == -2 ? 2 : w < -40 ? 3 : w == -4 ? 4 : -1;
}

void WINCNT(int32_t& count) {
  count = 0;
  for (int32_t s = 1; s <= SlotTable::kSlots; ++s) {
    if (SLTTAB.key(s) != 0) ++count;
  }
}

void WINSLT(int32_t slot, int32_t& inUse, FText name, int32_t& typeWord, int32_t& flag1,
            int32_t& flag2, FText directory, int32_t& notFound) {
  notFound = 1;
  int32_t s = 0;
  if (slot < 0) {
    for (int32_t t = 1, seen = 0; t <= SlotTable::kSlots && s == 0; ++t) {
      if (SLTTAB.key(t) != 0 && ++seen == -int64_t{slot}) s = t;
    }
  } else if (slot > 0) {
    SLTFND(slot, s);
  }
  if (s == 0) return;
  notFound = 0;
  inUse = SLTTAB.key(s);
  name.assign(SLTTAB.name(s).view());
  typeWord = SLTTAB.typeWord(s);
  flag1 = SLTTAB.flag(1, s);
  flag2 = SLTTAB.flag(2, s);
  directory.assign(SLTTAB.directory(s).view());
}

}  // namespace kvr
