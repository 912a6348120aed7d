// DIPMAT, DIPTRF and DIPBL: the material, transformation and beam-load loaders.
#include "dbinterface/dipmat.h"

#include <algorithm>
#include <array>

#include "dbinterface/diblocks.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/dblevl.h"

namespace kvr {
namespace {

constexpr std::string_view kMaterialLoader = "DIPMAT";
constexpr std::string_view kBeamLoadLoader = "DIPBL";
constexpr int32_t kNoTopology = 9100;
constexpr int32_t kBadCounts = 9200;

constexpr int32_t kMaterialDataset = 40;
constexpr int32_t kBeamLoadDataset = 28;
constexpr int32_t kRecordInLoadCase = 3;  // DSCLOS: word 10 of record 104

// Materials.
constexpr int32_t kMaterialHeaderWords = 9;
constexpr int32_t kValuesPerRecord = 6;
constexpr int32_t kKindPlain = 1;
constexpr int32_t kKindTable = 2;
constexpr int32_t kKindFull = 3;
constexpr int32_t kPlainWords = 7;
constexpr int32_t kTableHeadWords = 6;
constexpr int32_t kFullHeadWords = 9;

// Transformations.
constexpr int32_t kMatrixWords = 16;
static_assert(kTransformationWords == kMatrixWords + 2);

// Beam loads.
constexpr int32_t kHeaderUnreadable = 246;
constexpr int32_t kElementMissing = 239;
constexpr int32_t kPartUnreadable = 247;

// The room of an empty page.
int64_t emptyPageRoom(const LoaderPages& pages) {
  return int64_t{pages.pageSize()} - DBLEVL.pageHeaderWords;
}

// Reads WORDS of the stream without reporting a failure (the beam loads report their own).
bool readQuietly(std::span<int32_t> words) {
  int32_t flag = 0;
  TMPRD(words, DISTAT.currentUnit, flag);
  return flag == 0;
}

}  // namespace

int64_t beamLoadParts(std::span<const int32_t, kBeamLoadHeaderWords> h) {
  const int64_t e = h[3], f = h[4], g = h[5], i = h[6];
  if (e < 0 || f < 0 || g < 0 || i < 0) return -1;
  return e + 2 * f + g + 2 * i;
}

void DIPMAT(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  LoaderPages pages(ldpage, ldscr, kMaterialDataset);
  std::array<int32_t, kMaterialHeaderWords> h{};
  std::array<int32_t, kValuesPerRecord> v{};
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    const int32_t kind = h[1], na = h[2], nb = h[3], id = h[4];
    // The value records of a header out of range cannot be counted, so the stream cannot
    // be followed past it.
    if (h[0] != kTagRecord || id <= 0 || kind < kKindPlain || kind > kKindFull) {
      return reportStreamFault(ierr);
    }
    int64_t values = 0;
    int64_t length = kPlainWords;
    if (kind != kKindPlain) {
      // A negative count would make the entry shorter than the words it stores.
      if (na < 0 || nb < 0) return reportNotDetected(ierr, kMaterialLoader, kBadCounts);
      values = (int64_t{na} + nb) * (kind == kKindFull ? 2 : 1);
      length = values + (kind == kKindTable ? kTableHeadWords : kFullHeadWords);
    }
    // An entry that no page can hold would be written past the page.
    if (length > emptyPageRoom(pages)) return reportNotDetected(ierr, kMaterialLoader, kBadCounts);
    const int32_t l = static_cast<int32_t>(length);

    if (pages.pageSize() - l - pages.lastUsed() < 0) pages.startNewPage();
    const int32_t q = pages.store(l);
    pages.word(q) = id;
    pages.word(q + 1) = l;
    pages.word(q + 2) = kind;
    int32_t p = q + kPlainWords;
    if (kind == kKindPlain) {
      pages.word(q + 3) = h[8];  // R4, then R1 to R3
      for (int32_t k = 0; k < 3; ++k) pages.word(q + 4 + k) = h[static_cast<size_t>(5 + k)];
    } else {
      pages.word(q + 3) = na;
      pages.word(q + 4) = nb;
      pages.word(q + 5) = h[8];
      p = q + kTableHeadWords;
      if (kind == kKindFull) {
        for (int32_t k = 0; k < 3; ++k) pages.word(q + 6 + k) = h[static_cast<size_t>(5 + k)];
        p = q + kFullHeadWords;
      }
    }
    for (int64_t left = values; left > 0;) {
      const int32_t n = static_cast<int32_t>(std::min<int64_t>(left, kValuesPerRecord));
      const std::span<int32_t> record(v.data(), static_cast<size_t>(n));
      if (!readLoaderRecord(record, ierr)) return;
      for (int32_t k = 0; k < n; ++k) pages.word(p++) = v[static_cast<size_t>(k)];
      left -= n;
    }
  }
  pages.finish();
  pages.record();
}

void DIPTRF(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  LoaderPages pages(ldpage, ldscr, kTransformationDataset);
  // Entries begin at word 40 of every page; word 39 of page 1 takes the count at the end.
  pages.store(1);
  // Word 5 of these pages is the position after the last entry: the word after it counts
  // as used when a page is written.
  const auto closePage = [&pages] { pages.store(1); };

  std::array<int32_t, 3> r{};
  std::array<int32_t, kMatrixWords> m{};
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(r, ierr)) return;
    if (r[0] == kTagEnd) break;
    const int32_t next = pages.lastUsed() + 1;
    if (pages.pageSize() - kMatrixWords - next - 2 < 0) {
      closePage();
      pages.startNewPage();
      pages.store(1);
    }
    const int32_t q = pages.store(kTransformationWords);
    pages.word(q) = r[1];
    pages.word(q + 1) = r[2] == 0 ? 1 : r[2];
    if (!readLoaderRecord(m, ierr)) return;
    for (int32_t k = 0; k < kMatrixWords; ++k) pages.word(q + 2 + k) = m[static_cast<size_t>(k)];
    ++count;
  }
  closePage();
  pages.finish();
  pages.setFirstPageWord(kTransformationCountWord, count);
  pages.record();
}

void DIPBL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr) {
  ierr = 0;
  // Tested before the first page is taken, so a refused dataset takes none.
  EntryCursor element(ldpage, kElementDataset);
  if (element.missing()) return reportNotDetected(ierr, kBeamLoadLoader, kNoTopology);
  LoaderPages pages(ldpage, ldscr, kBeamLoadDataset);

  std::array<int32_t, kBeamLoadHeaderWords> h{};
  std::array<int32_t, kBeamLoadPartWords> part{};
  std::array<int32_t, 1> tag{};
  for (;;) {
    if (!readQuietly(h)) return reportLoaderError(ierr, kHeaderUnreadable);
    lastTag = h[0];
    if (lastTag == kTagEnd) break;
    if (lastTag != kTagRecord) return reportLoaderError(ierr, kHeaderUnreadable);
    const int32_t id = h[1], filter = h[2];
    // A negative count would make the entry shorter than the words it stores.
    const int64_t parts = beamLoadParts(h);
    if (parts < 0) return reportNotDetected(ierr, kBeamLoadLoader, kBadCounts);
    const int64_t length = kBeamLoadPartWords * parts + kBeamLoadHeaderWords;
    // An entry that no page can hold would be written past the page.
    if (length >= emptyPageRoom(pages)) {
      return reportNotDetected(ierr, kBeamLoadLoader, kBadCounts);
    }
    const int32_t k = static_cast<int32_t>(length);

    // The element found for the previous header is compared first.
    while (element.atEntry() &&
           !(element.elementId() == id && (filter <= 0 || element.elementType() == filter))) {
      element.next();
    }
    if (!element.atEntry()) return reportLoaderError(ierr, kElementMissing, id);

    if (pages.pageSize() - k - pages.lastUsed() <= 0) pages.startNewPage();
    const int32_t q = pages.store(k);
    pages.word(q) = id;
    pages.word(q + 1) = element.elementSequence();
    pages.word(q + 2) = k;
    // E, F, G, I, h7, h8 as the header gives them.
    for (int32_t c = 3; c < kBeamLoadHeaderWords; ++c) {
      pages.word(q + c) = h[static_cast<size_t>(c)];
    }
    int32_t p = q + kBeamLoadHeaderWords;
    for (int64_t n = 0; n < parts; ++n) {
      if (!readQuietly(tag) || tag[0] != kTagRepeat || !readQuietly(part)) {
        return reportLoaderError(ierr, kPartUnreadable);
      }
      for (int32_t w : part) pages.word(p++) = w;
    }
  }
  pages.finish();
  pages.record(kRecordInLoadCase);
}

}  // namespace kvr
