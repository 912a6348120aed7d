// DIPNC and DIPET: the nodal coordinate and element topology loaders.

#include "dbinterface/dipnc.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

#include "dbinterface/direcs.h"
#include "dbinterface/elnord.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/ldsearch.h"
#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"

namespace kvr {
namespace {

constexpr std::string_view kNodeLoader = "DIPNC";
constexpr std::string_view kElementLoader = "DIPET";

// Locations of the 299 reports.
constexpr int32_t kNodeIdBelowOne = 54;
constexpr int32_t kNodeIdNotAscending = 60;
constexpr int32_t kNoNode = 500;
constexpr int32_t kTypeNotLoadable = 320;
constexpr int32_t kElementNodeBelowOne = 360;
constexpr int32_t kNoElement = 550;

constexpr int32_t kElementHeaderWords = 7;
constexpr int32_t kPointDimension = 4;

float realAt(const std::array<int32_t, 3 + 3 * kMaxWordsPerReal>& r, int32_t k) {
  return std::bit_cast<float>(r[static_cast<std::size_t>(k - 1)]);
}

}  // namespace

void DIPNC(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  const int32_t w = loaderWordsPerReal();
  const int32_t recordWords = 3 + 3 * w;  // tag, id, x, y, z, ISYS
  const int32_t entryWords = DBLEVL.nodeEntryWords;
  std::array<int32_t, 3 + 3 * kMaxWordsPerReal> r{};
  const std::span<int32_t> record(r.data(), static_cast<std::size_t>(recordWords));
  LoaderPages pages(ldpage, ldscr, kNodeDataset);

  int32_t count = 0;
  int32_t previous = 0;
  for (;;) {
    if (!readLoaderRecord(record, ierr)) return;
    if (r[0] == kTagEnd) break;
    const int32_t id = r[1];
    if (id < 1) return reportNotDetected(ierr, kNodeLoader, kNodeIdBelowOne);
    if (count > 0) {
      if (id <= previous) return reportNotDetected(ierr, kNodeLoader, kNodeIdNotAscending);
      if (int64_t{id} != int64_t{previous} + 1) DICNT.firstNodeId = -1;
    }
    for (int32_t c = 0; c < 3; ++c) {
      const float v = realAt(r, 3 + c * w);
      float& low = DICNT.minimum[static_cast<std::size_t>(c)];
      float& high = DICNT.maximum[static_cast<std::size_t>(c)];
      if (count == 0) {
        low = v;
        high = v;
      } else if (v < low) {
        low = v;
      } else if (v > high) {
        high = v;
      }
    }
    if (count == 0) DICNT.firstNodeId = id;

    if (pages.pageSize() - pages.lastUsed() - entryWords < 0) pages.startNewPage();
    ++count;
    const int32_t q = pages.store(entryWords);
    pages.word(q) = 0;
    pages.word(q + 1) = id;
    pages.word(q + 2) = count;
    pages.word(q + 3) = r[static_cast<std::size_t>(recordWords - 1)];  // ISYS
    for (int32_t k = 0; k < 3 * w; ++k) pages.word(q + 4 + k) = r[static_cast<std::size_t>(2 + k)];
    previous = id;
  }

  pages.finish();
  if (count == 0) return reportNotDetected(ierr, kNodeLoader, kNoNode);
  DICNT.coordinatesLoaded = 1;
  DICNT.nodeCount = count;
  DICNT.nodeCountCopy = count;
  DICNT.lastNodeId = previous;
  pages.record();
}

void DIPET(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  DICNT.oneDimensional = 0;
  DICNT.twoDimensional = 0;
  DICNT.threeDimensional = 0;
  DICNT.largestNodeCount = 0;
  DICNT.highestElementId = 0;
  LoaderPages pages(ldpage, ldscr, kElementDataset);

  std::array<int32_t, kElementHeaderWords> h{};
  std::array<int32_t, kMaxElementNodes> nodes{};
  std::array<int32_t, kMaxElementNodes> order{};
  int32_t remembered = -9999;
  int32_t n = 0;
  int32_t length = 0;
  int32_t cornersPlusOne = 0;
  int32_t count = 0;
  int32_t previous = 0;
  for (;;) {
    if (!readLoaderRecord(h, ierr)) return;
    if (h[0] == kTagEnd) break;
    const int32_t id = h[1];
    const int32_t type = h[2];
    const int32_t dimension = ELTDIM(type);
    // A type with more nodes than the node list holds would be read short and cut the
    // stream out of step: it is refused as a type that cannot be loaded.
    if (dimension == 0 || dimension == kPointDimension || ELNCNT(type) > kMaxElementNodes) {
      return reportNotDetected(ierr, kElementLoader, kTypeNotLoadable);
    }
    if (type != remembered) {
      ELNORD(1, type, order);
      n = ELNCNT(type);
      length = RECCLS(type);
      cornersPlusOne = ELTCOR(type) + 1;
      remembered = type;
    }
    const std::span<int32_t> ids(nodes.data(), static_cast<std::size_t>(n));
    if (!readLoaderRecord(ids, ierr)) return;
    for (int32_t node : ids) {
      if (node < 1) return reportNotDetected(ierr, kElementLoader, kElementNodeBelowOne);
    }

    if (count == 0) {
      DICNT.highestElementId = id;
      DICNT.firstElementId = id;
    } else {
      DICNT.highestElementId = std::max(DICNT.highestElementId, id);
      if (int64_t{id} != int64_t{previous} + 1) DICNT.firstElementId = -1;
    }
    if (dimension == 1) DICNT.oneDimensional = 1;
    if (dimension == 2) DICNT.twoDimensional = 1;
    if (dimension == 3) DICNT.threeDimensional = 1;
    DICNT.largestNodeCount = std::max(DICNT.largestNodeCount, n);

    if (pages.pageSize() - length - pages.lastUsed() < 0) pages.startNewPage();
    ++count;
    const int32_t q = pages.store(length);
    pages.word(q) = id;
    pages.word(q + 1) = count;
    pages.word(q + 2) = type;
    pages.word(q + 3) = h[3];  // IEATT1
    pages.word(q + 4) = h[4];  // IEATT2
    pages.word(q + 5) = h[5];  // ISYS
    pages.word(q + 6) = cornersPlusOne;
    for (int32_t k = 1; k <= n; ++k) {
      const int32_t from = order[static_cast<std::size_t>(k - 1)];
      if (from < 1 || from > n) continue;
      pages.word(q + topologyNodeWord(k) - 1) = nodes[static_cast<std::size_t>(from - 1)];
    }
    previous = id;
  }

  pages.finish();
  if (count == 0) return reportNotDetected(ierr, kElementLoader, kNoElement);
  DICNT.topologyLoaded = 1;
  DICNT.elementCount = count;
  DICNT.elementCountCopy = count;
  pages.record();
}

}  // namespace kvr
