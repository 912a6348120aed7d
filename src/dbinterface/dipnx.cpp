// DIPNX, DIPEX, DIPGX and DIPGP: local axes and Gauss points.

#include "dbinterface/dipnx.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/elnord.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/ldsearch.h"
#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"

namespace kvr {
namespace {

constexpr std::string_view kProcessingName = "DILIM";
constexpr std::string_view kNodeAxesLoader = "DIPNX";
constexpr std::string_view kElementAxesLoader = "DIPEX";

constexpr int32_t kNodeAxesDataset = 32;
constexpr int32_t kElementAxesDataset = 33;

constexpr int32_t kNoEntities = 9100;         // location: no node or topology dataset
constexpr int32_t kPointsNotNodes = 9200;     // location: DIPEX NPOINT not the node count
constexpr int32_t kAxesTooLarge = 265;
constexpr int32_t kNoLocalSystems = 257;

constexpr int32_t kSubRecordWords = 2;
constexpr int32_t kElementHeaderWords = 6;
constexpr int32_t kNodeHeaderWords = 4;
constexpr int32_t kEntryHeadWords = 4;

constexpr std::string_view kInvalidAxisNode = "INVALID AXIS ID FOUND, AXIS DATA WILL BE IGNORED";

// The Gauss-point loaders differ only in these.
struct PointLoader {
  std::string_view name;
  int32_t type;
  int32_t reals;     // REALs of a value
  int32_t tooLarge;  // code of an entry larger than a page
  int32_t nothing;   // code of a dataset with nothing stored
};
constexpr PointLoader kGaussAxes{"DIPGX", 34, kAxesReals, kAxesTooLarge, kNoLocalSystems};
constexpr PointLoader kGaussPoints{"DIPGP", 30, 3, 266, 259};

// The words an entry of GROUPS value groups of K REALs reserves.
int64_t reservedWords(int32_t k, int32_t groups) {
  return (int64_t{k} * loaderWordsPerReal() + 1) * groups + kEntryHeadWords;
}

// An entry of E words cannot fit even an empty page: CODE under ROUTINE.
bool refuseLarge(int64_t e, const LoaderPages& pages, int32_t code, std::string_view routine,
                 int32_t& ierr) {
  if (pages.pageSize() >= DBLEVL.pageHeaderWords + e) return false;
  reportLoaderError(ierr, code, routine, kDiNoValue);
  return true;
}

// The next N words of the stream into LDPAGE from word K on.
bool readInto(std::span<int32_t> ldpage, int32_t k, int32_t n, int32_t& ierr) {
  return readLoaderRecord(ldpage.subspan(static_cast<std::size_t>(k - 1), static_cast<std::size_t>(n)), ierr);
}

// The next E words (a new page when they do not fit) begin the entry of the element at
// CURSOR: words 1-4, element id, sequence number, NLAYER and NPOINT. Answers the word of
// its first value group.
int32_t beginElementEntry(LoaderPages& pages, const EntryCursor& cursor, int64_t e,
                          int32_t npoint, int32_t nlayer) {
  if (pages.pageSize() < pages.lastUsed() + e) pages.startNewPage();
  const int32_t q = pages.store(static_cast<int32_t>(e));
  pages.word(q) = cursor.elementId();
  pages.word(q + 1) = cursor.elementSequence();
  pages.word(q + 2) = nlayer;
  pages.word(q + 3) = npoint;
  return q + kEntryHeadWords;
}

void finishOrReport(LoaderPages& pages, int32_t count, int32_t nothing, int32_t& ierr) {
  if (count == 0) return reportLoaderError(ierr, nothing, kProcessingName, kDiNoValue);
  pages.finish();
  pages.record();
}

void loadPoints(const PointLoader& l, std::span<int32_t> ldpage, std::span<int32_t> ldscr,
                int32_t& ierr) {
  ierr = 0;
  // The topology is looked for before a page is taken: a refused dataset takes none.
  EntryCursor cursor(ldpage, kElementDataset);
  if (cursor.missing()) return reportNotDetected(ierr, l.name, kNoEntities);
  LoaderPages pages(ldpage, ldscr, l.type);

  const int32_t valueWords = l.reals * loaderWordsPerReal();
  std::array<int32_t, kElementHeaderWords> h{};
  std::array<int32_t, kSubRecordWords> sub{};
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    if (!findElement(cursor, ldpage, h[1], h[2], h[3])) {
      return reportLoaderError(ierr, kElementNotFound, kProcessingName, kDiNoValue);
    }
    const int32_t npoint = h[4];
    const int32_t nlayer = h[5];
    // As many groups as the record routines require after the header, also when a factor
    // is 0: reading none would take the next group for a header.
    const int32_t groups = repeatCount(npoint, nlayer);
    const int64_t e = reservedWords(l.reals, groups);
    if (refuseLarge(e, pages, l.tooLarge, l.name, ierr)) return;
    int32_t p = beginElementEntry(pages, cursor, e, npoint, nlayer);
    for (int32_t g = 0; g < groups; ++g) {
      if (!readLoaderRecord(sub, ierr)) return;
      pages.word(p) = sub[1];
      if (!readInto(ldpage, p + 1, valueWords, ierr)) return;
      p += valueWords + 1;
      ++count;
    }
    cursor.next();
  }
  finishOrReport(pages, count, l.nothing, ierr);
}

}  // namespace

void DIPGX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  loadPoints(kGaussAxes, ldpage, ldscr, ierr);
}

void DIPGP(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  loadPoints(kGaussPoints, ldpage, ldscr, ierr);
}

void DIPEX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  EntryCursor cursor(ldpage, kElementDataset);
  if (cursor.missing()) return reportNotDetected(ierr, kElementAxesLoader, kNoEntities);
  LoaderPages pages(ldpage, ldscr, kElementAxesDataset);

  const int32_t valueWords = kAxesReals * loaderWordsPerReal();
  std::array<int32_t, kElementHeaderWords> h{};
  std::array<int32_t, kSubRecordWords> sub{};
  std::array<int32_t, kMaxElementNodes> order{};
  // The matrices of one layer by record node.
  std::array<std::array<int32_t, kAxesReals * kMaxWordsPerReal>, kMaxElementNodes> matrices{};
  int32_t remembered = -9999;
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    if (!findElement(cursor, ldpage, h[1], h[2], h[3])) {
      return reportLoaderError(ierr, kElementNotFound, kProcessingName, kDiNoValue);
    }
    const int32_t type = cursor.elementType();
    const int32_t n = ELNCNT(type);
    const int32_t npoint = h[4];
    const int32_t nlayer = h[5];
    // One matrix per element node is read and stored, in the room reserved for NPOINT
    // groups: a count that differs would overrun the entry and cut the stream out of step.
    if (std::max(npoint, 1) != n || n > kMaxElementNodes) {
      return reportNotDetected(ierr, kElementAxesLoader, kPointsNotNodes);
    }
    if (type != remembered) {
      order.fill(0);
      ELNORD(1, type, order);
      remembered = type;
    }
    const int32_t layers = std::max(nlayer, 1);
    const int64_t e = reservedWords(kAxesReals, repeatCount(npoint, nlayer));
    if (refuseLarge(e, pages, kAxesTooLarge, kElementAxesLoader, ierr)) return;
    int32_t p = beginElementEntry(pages, cursor, e, npoint, nlayer);
    for (int32_t layer = 0; layer < layers; ++layer) {
      for (int32_t r = 0; r < n; ++r) {
        auto& m = matrices[static_cast<std::size_t>(r)];
        if (!readLoaderRecord(sub, ierr)) return;
        if (!readLoaderRecord(std::span<int32_t>(m.data(), static_cast<std::size_t>(valueWords)), ierr)) return;
        ++count;
      }
      for (int32_t k = 1; k <= n; ++k) {
        const int64_t node = TOPNOD(ldpage, cursor.q(), k);
        pages.word(p) = static_cast<int32_t>(std::min<int64_t>(node < 0 ? -node : node, INT32_MAX));
        const int32_t from = order[static_cast<std::size_t>(k - 1)];
        for (int32_t j = 0; j < valueWords; ++j) {
          pages.word(p + 1 + j) = from >= 1 && from <= n ? matrices[static_cast<std::size_t>(from - 1)][static_cast<std::size_t>(j)] : 0;
        }
        p += valueWords + 1;
      }
    }
    cursor.next();
  }
  finishOrReport(pages, count, kNoLocalSystems, ierr);
}

void DIPNX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  EntryCursor cursor(ldpage, kNodeDataset);
  if (cursor.missing()) return reportNotDetected(ierr, kNodeAxesLoader, kNoEntities);
  LoaderPages pages(ldpage, ldscr, kNodeAxesDataset);

  const int32_t valueWords = kAxesReals * loaderWordsPerReal();
  std::array<int32_t, kNodeHeaderWords> h{};
  std::array<int32_t, kSubRecordWords> sub{};
  std::array<int32_t, kAxesReals * kMaxWordsPerReal> dropped{};
  const std::span<int32_t> droppedValues(dropped.data(), static_cast<std::size_t>(valueWords));
  int32_t count = 0;
  bool ended = false;
  while (!ended) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    const int32_t id = h[1];
    const int32_t r1 = h[2];
    const int32_t r2 = h[3];
    const int32_t groups = repeatCount(r1, r2);
    const int64_t e = reservedWords(kAxesReals, groups);
    int32_t q = 0;  // the entry's first word once it is started
    int32_t p = 0;
    for (int32_t g = 0; g < groups; ++g) {
      if (!readLoaderRecord(sub, ierr)) return;
      if (sub[0] == kTagEnd) {
        ended = true;
        break;
      }
      if (q == 0) {
        const NodeMatch match = findNode(cursor, id);
        if (match == NodeMatch::kPastEnd) {
          return reportLoaderError(ierr, kNodeNotFound, kProcessingName, kDiNumber, id);
        }
        if (match == NodeMatch::kPassed) {
          reportSkipped(kInvalidAxisNode, id);
          if (!readLoaderRecord(droppedValues, ierr)) return;
          continue;
        }
        if (refuseLarge(e, pages, kAxesTooLarge, kNodeAxesLoader, ierr)) return;
        // Unlike the other loaders, an entry that would end exactly at the page's last
        // word starts a new page.
        if (!(pages.lastUsed() + e < pages.pageSize())) pages.startNewPage();
        q = pages.lastUsed() + 1;
        p = q + kEntryHeadWords;
      }
      pages.word(p) = sub[1];
      if (!readInto(ldpage, p + 1, valueWords, ierr)) return;
      p += valueWords + 1;
      ++count;
    }
    if (q == 0) continue;
    if (ended) {
      // The entry cut short by the end of the dataset is dropped: its words are cleared
      // and its groups no longer count as stored.
      for (int32_t k = q; k < p; ++k) pages.word(k) = 0;
      count -= (p - q - kEntryHeadWords) / (valueWords + 1);
      break;
    }
    pages.store(static_cast<int32_t>(e));
    pages.word(q) = id;
    pages.word(q + 1) = cursor.nodeSequence();
    pages.word(q + 2) = r2;
    pages.word(q + 3) = r1;
    cursor.next();
  }
  finishOrReport(pages, count, kNoLocalSystems, ierr);
}

}  // namespace kvr
