// The model summary record: the writer and DBHDRR.
#include "dbinterface/dbhdrr.h"

#include <array>
#include <bit>
#include <cstddef>

#include "modeldb/cmptrf.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"

namespace kvr {
namespace {

constexpr int32_t kExtentsWord = 39;     // 39-41 minimum, 42-44 maximum
constexpr int32_t kCountersWord = 45;    // 45-57
constexpr int32_t kZeroWord = 58;
constexpr int32_t kIdsWord = 59;         // 59-62
constexpr int32_t kLastSummaryWord = 62;

using Counter = int32_t Dicnt::*;

// The counters of words 45-57, in the record's order.
constexpr std::array<Counter, 13> kCounters = {
    &Dicnt::nodeCount,          &Dicnt::elementCount,          &Dicnt::loadCaseCount,
    &Dicnt::oneDimensional,     &Dicnt::twoDimensional,        &Dicnt::threeDimensional,
    &Dicnt::coordinatesLoaded,  &Dicnt::nodeCountCopy,         &Dicnt::topologyLoaded,
    &Dicnt::elementCountCopy,   &Dicnt::firstConnectivityCount, &Dicnt::largestNodeCount,
    &Dicnt::secondConnectivityCount};

// The first three, which the model's record 103 holds.
constexpr std::size_t kRecordCounters = 3;

// The ids of words 59-62.
constexpr std::array<Counter, 4> kIds = {&Dicnt::lastNodeId, &Dicnt::highestElementId,
                                         &Dicnt::firstNodeId, &Dicnt::firstElementId};

}  // namespace

void writeModelSummary(std::span<int32_t> ldpage, std::span<int32_t> ldscr, const Dicnt& summary,
                       int32_t& status) {
  int32_t first = 0;
  DSDIRF(kSummaryDataset, first);
  if (first > 0) {
    status = 1;
    return;
  }
  LoaderPages pages(ldpage, ldscr, kSummaryDataset);
  pages.word(kSummaryVersionWord) = kSummaryVersion;
  for (std::size_t c = 0; c < 3; ++c) {
    pages.word(kExtentsWord + static_cast<int32_t>(c)) = std::bit_cast<int32_t>(summary.minimum[c]);
    pages.word(kExtentsWord + 3 + static_cast<int32_t>(c)) =
        std::bit_cast<int32_t>(summary.maximum[c]);
  }
  for (std::size_t k = 0; k < kCounters.size(); ++k) {
    pages.word(kCountersWord + static_cast<int32_t>(k)) = summary.*kCounters[k];
  }
  pages.word(kZeroWord) = 0;
  for (std::size_t k = 0; k < kIds.size(); ++k) {
    pages.word(kIdsWord + static_cast<int32_t>(k)) = summary.*kIds[k];
  }
  pages.setLastUsed(kLastSummaryWord);
  pages.finish();
  pages.record();
  status = 0;
}

void DBHDRR(std::span<int32_t> buffer, int32_t& status) {
  int32_t page = 0;
  DSDIRF(kSummaryDataset, page);
  if (page <= 0) {
    status = 1;
    return;
  }
  // An unmodified claim of slot 2 may name a page of another database or one read into
  // another buffer (an open reads data page 1 there): the record is always read.
  dropSlotClaim();
  int32_t offset = 0;
  PGSLOT(buffer, page, kSummaryDataset, 2, offset);
  const auto word = [&](int32_t k) { return RECW0(buffer, offset + k - 1); };
  Dicnt& d = DICNT;
  for (std::size_t c = 0; c < 3; ++c) {
    d.minimum[c] = std::bit_cast<float>(word(kExtentsWord + static_cast<int32_t>(c)));
    d.maximum[c] = std::bit_cast<float>(word(kExtentsWord + 3 + static_cast<int32_t>(c)));
  }
  // The node count, the element count and the load-case counter are record 103's
  // (DBCTRW): the summary's copies are those of the display build, and its load-case
  // counter is never brought up to date by an append.
  for (std::size_t k = kRecordCounters; k < kCounters.size(); ++k) {
    d.*kCounters[k] = word(kCountersWord + static_cast<int32_t>(k));
  }
  if (word(kSummaryVersionWord) >= kSummaryVersion) {
    for (std::size_t k = 0; k < kIds.size(); ++k) {
      d.*kIds[k] = word(kIdsWord + static_cast<int32_t>(k));
    }
  } else {
    d.lastNodeId = 0;
    d.highestElementId = 0;
    d.firstNodeId = -1;
    d.firstElementId = -1;
  }
  DBLEVL.nodeOffset = 0;
  DBLEVL.elementOffset = 0;
  CMPTRF.flag = 0;
  status = 0;
}

}  // namespace kvr
