// DIPSL and DIPCL: the load-case scan and combination loaders.
#include "dbinterface/dipsl.h"

#include <array>

#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"

namespace kvr {
namespace {

constexpr std::string_view kScanLoader = "DIPSL";
constexpr std::string_view kCombinationLoader = "DIPCL";
constexpr int32_t kWrongTag = 9200;
constexpr int32_t kResultsDataset = 100;
constexpr int32_t kRecordInLoadCase = 4;  // DSCLOS: word 9 of record 104

constexpr int32_t kScanDefined = 263;
constexpr int32_t kNoScanEntries = 264;
constexpr int32_t kCombinationDefined = 244;
constexpr int32_t kNoCombinationEntries = 245;

constexpr int32_t kScanMark = -2;        // page 1 word 39 of a scan
constexpr int32_t kScanCountWord = 40;   // page 1
constexpr int32_t kCombinationCountWord = 39;
constexpr int32_t kFewestScanEntries = 2;

constexpr int32_t kScanEntryWords = kNameCodes + 2;
constexpr int32_t kCombinationEntryWords = kNameCodes + 3;  // with one REAL word

// The load case has a scan or a combination already.
bool loadCaseTaken() {
  int32_t first = 0;
  G104W9(first);
  return first >= 1;
}

// Stores a name, its integer (-1 for 0 or below) and 0 from word Q on.
void storeNamed(LoaderPages& pages, int32_t q, std::span<const int32_t> record) {
  for (int32_t k = 0; k < kNameCodes; ++k) pages.word(q + k) = record[static_cast<size_t>(1 + k)];
  const int32_t integer = record[1 + kNameCodes];
  pages.word(q + kNameCodes) = integer <= 0 ? -1 : integer;
  pages.word(q + kNameCodes + 1) = 0;
}

// A new page when an entry of N words would pass the page's last word.
void makeRoom(LoaderPages& pages, int32_t n) {
  if (int64_t{pages.lastUsed()} + n > pages.pageSize()) pages.startNewPage();
}

}  // namespace

void DIPSL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr) {
  ierr = 0;
  if (loadCaseTaken()) return reportLoaderError(ierr, kScanDefined);
  LoaderPages pages(ldpage, ldscr, kResultsDataset);

  std::array<int32_t, 2> head{};
  if (!readLoaderRecord(head, ierr)) return;
  lastTag = head[0];
  if (lastTag == kTagEnd) return reportLoaderError(ierr, kNoScanEntries);
  if (lastTag != kTagRecord) return reportNotDetected(ierr, kScanLoader, kWrongTag);
  const int32_t q = pages.store(3);
  pages.word(q) = kScanMark;
  pages.word(q + 2) = head[1];

  std::array<int32_t, kScanEntryWords> r{};
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(r, ierr)) return;
    lastTag = r[0];
    if (lastTag == kTagEnd) break;
    if (lastTag != kTagRepeat) return reportNotDetected(ierr, kScanLoader, kWrongTag);
    makeRoom(pages, kScanEntryWords);
    storeNamed(pages, pages.store(kScanEntryWords), r);
    ++count;
  }
  if (count < kFewestScanEntries) return reportLoaderError(ierr, kNoScanEntries);
  pages.finish();
  pages.setFirstPageWord(kScanCountWord, count);
  pages.record(kRecordInLoadCase);
}

void DIPCL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr) {
  ierr = 0;
  if (loadCaseTaken()) return reportLoaderError(ierr, kCombinationDefined);
  LoaderPages pages(ldpage, ldscr, kResultsDataset);
  pages.store(1);  // word 39 of page 1: the count

  std::array<int32_t, kCombinationEntryWords> r{};
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(r, ierr)) return;
    lastTag = r[0];
    if (lastTag == kTagEnd) break;
    if (lastTag != kTagRecord) return reportNotDetected(ierr, kCombinationLoader, kWrongTag);
    makeRoom(pages, kCombinationEntryWords);
    const int32_t q = pages.store(kCombinationEntryWords);
    storeNamed(pages, q, r);
    pages.word(q + kNameCodes + 2) = r[kCombinationEntryWords - 1];  // the factor, bit for bit
    ++count;
  }
  if (count == 0) return reportLoaderError(ierr, kNoCombinationEntries);
  pages.finish();
  pages.setFirstPageWord(kCombinationCountWord, count);
  pages.record(kRecordInLoadCase);
}

}  // namespace kvr
