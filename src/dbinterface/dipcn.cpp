// DIPCN, DIPLX and DIPMC: nodal constraints, local axis systems and multi-point
// constraints.

#include "dbinterface/dipcn.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>

#include "dbinterface/bldnix.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/ldsearch.h"
#include "dbinterface/nodcpy.h"
#include "modeldb/arrreg.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr std::string_view kProcessingName = "DILIM";
constexpr std::string_view kConstraintLoader = "DIPCN";
constexpr std::string_view kSystemLoader = "DIPLX";
constexpr std::string_view kMpcLoader = "DIPMC";

constexpr int32_t kConstraintDataset = 41;
constexpr int32_t kMpcDataset = 42;
constexpr int32_t kSystemDataset = 43;

constexpr int32_t kConstraintWords = 5;
constexpr int32_t kSystemHeadWords = 3;

// Codes and locations.
constexpr int32_t kNoNodes = 9100;
constexpr int32_t kNoConstraints = 252;
constexpr int32_t kNoSystems = 257;
constexpr int32_t kNoMpcs = 258;
constexpr int32_t kTooManyMpcNodes = 168;
constexpr int32_t kMemoryAllocation = 271;
constexpr int32_t kMpcBeforeNodes = 273;
constexpr int32_t kMpcNoNodesLocation = 930;
constexpr int32_t kMpcMemoryLocation = 940;
constexpr int32_t kMpcRecordOutOfPlace = 910;

// Multi-point constraints of this type or below send their nodes after the first as one
// record of ids.
constexpr int32_t kLastListedType = 11;
// Below this record layout an MPC entry carries each node's coordinates.
constexpr int32_t kLayoutWithoutCoordinates = 5002;

constexpr std::string_view kInvalidConstraintNode = "INVALID NODE NUMBER FOR NODAL CONSTRAINTS";

// Word K of PAGE; words outside it are not written.
void put(std::span<int32_t> page, int64_t k, int32_t value) {
  if (k >= 1 && static_cast<uint64_t>(k) <= page.size()) page[static_cast<std::size_t>(k - 1)] = value;
}

int32_t clampedCount(int64_t n) {
  return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
}

}  // namespace

void CNPUT(std::span<int32_t> page, int32_t q, int32_t node, int32_t sequence, int32_t idof,
           int32_t isys, int32_t iedof) {
  put(page, q, node);
  put(page, int64_t{q} + 1, sequence);
  put(page, int64_t{q} + 2, idof);
  put(page, int64_t{q} + 3, isys);
  put(page, int64_t{q} + 4, iedof);
}

void LXPUT(std::span<int32_t> page, int32_t q, int32_t id, int32_t word,
           std::span<const int32_t> axes) {
  put(page, q, id);
  put(page, int64_t{q} + 1, word);
  for (std::size_t k = 0; k < axes.size(); ++k) put(page, int64_t{q} + 2 + static_cast<int64_t>(k), axes[k]);
}

void MPCPUT(std::span<int32_t> page, int32_t q, int32_t e, std::span<const int32_t, 4> header,
            const MpcNodes& nodes, bool coordinates) {
  const int32_t w = loaderWordsPerReal();
  int64_t k = q;
  put(page, k++, e);
  for (int32_t h : header) put(page, k++, h);
  const int64_t n = std::clamp<int64_t>(int64_t{header[2]} + header[3], 0, kMpcMaxNodes);
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    put(page, k++, nodes.ids[i]);
    put(page, k++, nodes.indexes[i]);
    put(page, k++, nodes.integers[i]);
    for (int32_t j = 0; j < w; ++j) put(page, k++, nodes.coefficients[i][static_cast<std::size_t>(j)]);
    if (!coordinates) continue;
    for (float v : nodes.xyz[i]) {
      put(page, k, std::bit_cast<int32_t>(v));
      k += w;
    }
  }
}

void DIPCN(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  // The node dataset is looked for before a page is taken: a refused dataset takes none.
  EntryCursor cursor(ldpage, kNodeDataset);
  if (cursor.missing()) return reportNotDetected(ierr, kConstraintLoader, kNoNodes);
  LoaderPages pages(ldpage, ldscr, kConstraintDataset);

  std::array<int32_t, kConstraintWords> r{};
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(r, ierr)) return;
    if (r[0] == kTagEnd) break;
    const int32_t id = r[1];
    const NodeMatch match = findNode(cursor, id);
    if (match == NodeMatch::kPastEnd) {
      return reportLoaderError(ierr, kNodeNotFound, kProcessingName, kDiNumber, id);
    }
    if (match == NodeMatch::kPassed) {
      reportSkipped(kInvalidConstraintNode, id);
      continue;
    }
    if (pages.pageSize() - pages.lastUsed() < kConstraintWords) pages.startNewPage();
    const int32_t q = pages.store(kConstraintWords);
    CNPUT(ldpage, q, id, cursor.nodeSequence(), r[2], r[3], r[4]);
    ++count;
    cursor.next();
  }
  if (count == 0) return reportLoaderError(ierr, kNoConstraints, kProcessingName, kDiNoValue);
  pages.finish();
  pages.record();
}

void DIPLX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  const int32_t w = loaderWordsPerReal();
  const int32_t valueWords = kAxesReals * w;
  const int32_t entryWords = valueWords + 2;
  LoaderPages pages(ldpage, ldscr, kSystemDataset);

  std::array<int32_t, kSystemHeadWords> h{};
  std::array<int32_t, kAxesReals * kMaxWordsPerReal> axes{};
  const std::span<int32_t> values(axes.data(), static_cast<std::size_t>(valueWords));
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    if (!readLoaderRecord(values, ierr)) return;
    if (pages.pageSize() - entryWords - pages.lastUsed() < 0) pages.startNewPage();
    LXPUT(ldpage, pages.store(entryWords), h[1], h[2], values);
    ++count;
  }
  if (count == 0) return reportLoaderError(ierr, kNoSystems, kSystemLoader, kDiNoValue);
  pages.finish();
  pages.record();
}

void DIPMC(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  int32_t firstNodePage = 0;
  DSDIRF(kNodeDataset, firstNodePage);
  if (firstNodePage <= 0) {
    return reportLoaderError(ierr, kMpcBeforeNodes, kMpcLoader, kDiNumber, kMpcNoNodesLocation);
  }
  const bool coordinates = DBLEVL.recordLayout < kLayoutWithoutCoordinates;
  int32_t status = 0;
  if (DICNT.firstNodeId == -1) BLDNIX(ldpage, status);
  if (status == 0 && coordinates) NODCPY(1, ldscr, status);
  if (status != 0) {
    return reportLoaderError(ierr, kMemoryAllocation, kMpcLoader, kDiNumber, kMpcMemoryLocation);
  }
  LoaderPages pages(ldpage, ldscr, kMpcDataset);

  const int32_t w = loaderWordsPerReal();
  const int32_t coordinateArray = APPSTA.ARRHND(kNodeCoordinateHandle);
  std::array<int32_t, 5> h{};
  std::array<int32_t, 4 + kMaxWordsPerReal> s{};
  const std::span<int32_t> nodeRecord(s.data(), static_cast<std::size_t>(4 + w));
  // A node record: its tag checked, its id, integer and coefficient kept as node I.
  MpcNodes nodes;
  auto readNode = [&](std::size_t i) {
    if (!readLoaderRecord(nodeRecord, ierr)) return false;
    if (s[0] != kTagRepeat) {
      reportNotDetected(ierr, kMpcLoader, kMpcRecordOutOfPlace);
      return false;
    }
    nodes.ids[i] = s[1];
    nodes.integers[i] = s[2];
    for (int32_t j = 0; j < w; ++j) nodes.coefficients[i][static_cast<std::size_t>(j)] = s[static_cast<std::size_t>(4 + j)];
    return true;
  };
  std::array<int32_t, 4> head{};
  std::array<int32_t, 1> noWords{};
  int32_t stat = 0;
  int32_t count = 0;
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    if (h[0] != kTagRecord) return reportNotDetected(ierr, kMpcLoader, kMpcRecordOutOfPlace);
    const int32_t type = h[2];
    const int32_t a = h[3];
    const int32_t b = h[4];
    const int64_t total = int64_t{a} + b;
    // The counts are refused before a node is read into the lists of 30 places, and a
    // count of no nodes or fewer would give an entry shorter than its head.
    if (a < 0 || b < 0 || total == 0) {
      return reportNotDetected(ierr, kMpcLoader, kMpcRecordOutOfPlace);
    }
    if (total > kMpcMaxNodes) {
      return reportLoaderError(ierr, kTooManyMpcNodes, kMpcLoader, kDiNumber, clampedCount(total));
    }
    const int32_t n = static_cast<int32_t>(total);
    nodes = MpcNodes{};
    if (type <= kLastListedType) {
      if (!readNode(0)) return;
      const int32_t k = s[3];
      if (k < 0) return reportNotDetected(ierr, kMpcLoader, kMpcRecordOutOfPlace);
      if (int64_t{k} + 1 > kMpcMaxNodes) {
        return reportLoaderError(ierr, kTooManyMpcNodes, kMpcLoader, kDiNumber,
                                 clampedCount(int64_t{k} + 1));
      }
      if (k > 0 && !readLoaderRecord(std::span<int32_t>(nodes.ids).subspan(1, static_cast<std::size_t>(k)), ierr)) return;
    } else {
      for (int32_t i = 0; i < n; ++i) {
        if (!readNode(static_cast<std::size_t>(i))) return;
      }
    }

    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
      const int32_t index = nodeIndex(nodes.ids[i]);
      // The coordinate array is read only where it holds the record: a read past its end
      // would end the run.
      if (index == 0 || (coordinates && (coordinateArray < 1 || coordinateArray > REGHED.top ||
                                         index > REGHED.ARRLEN(coordinateArray)))) {
        return reportLoaderError(ierr, kNodeNotFound, kProcessingName, kDiNumber, nodes.ids[i]);
      }
      nodes.indexes[i] = index;
      if (coordinates) ARRIO(0, coordinateArray, index, 1, 1, noWords, nodes.xyz[i], stat);
    }

    const int32_t e = coordinates ? 3 * n + 4 * w * n + 5 : 3 * n + w * n + 5;
    if (pages.pageSize() - pages.lastUsed() - e < 0) pages.startNewPage();
    head = {h[1], type, a, b};
    MPCPUT(ldpage, pages.store(e), e, head, nodes, coordinates);
    ++count;
  }
  if (count == 0) return reportLoaderError(ierr, kNoMpcs, kProcessingName, kDiNoValue);
  pages.finish();
  pages.record();
}

}  // namespace kvr
