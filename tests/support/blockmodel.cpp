// The block model, built array by array into the model store in runs of records and
// written by the dump.
#include "blockmodel.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/dbdump.h"
#include "modeldb/elttab.h"
#include "modeldb/entrec.h"
#include "modelwords.h"
#include "runtime/chrset.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"

namespace kvr::test {
namespace {

constexpr int32_t kPointNames = 1;
constexpr int32_t kPointCoordinates = 2;
constexpr int32_t kLineNames = 3;
constexpr int32_t kSurfaceNames = 5;
constexpr int32_t kBodyNames = 7;
constexpr int32_t kNodeWords = 11;
constexpr int32_t kPackedLists = 23;
constexpr int32_t kListBlock = 32;
constexpr int32_t kHE8 = 13;
constexpr int32_t kCornerCount = 8;
// Elements and nodes go to the store this many at a time.
constexpr int64_t kRun = 65536;

void nodes(int32_t k, int32_t layers) {
  const int64_t total = BlockModel::nodes(k, layers);
  const int32_t side = k + 1;
  for (int64_t first = 1; first <= total; first += kRun) {
    const int64_t last = std::min(total, first + kRun - 1);
    std::vector<float> xyz;
    xyz.reserve(static_cast<size_t>(3 * (last - first + 1)));
    for (int64_t n = first; n <= last; ++n) {
      const int64_t c = n - 1;
      xyz.insert(xyz.end(), {static_cast<float>(c % side), static_cast<float>(c / side % side),
                             static_cast<float>(c / side / side)});
    }
    putReals(kArrNodeCoordinates, static_cast<int32_t>(first), std::move(xyz));
    put(kNodeWords, static_cast<int32_t>(first), Words(static_cast<size_t>(2 * (last - first + 1)), 0));
  }
}

// The connectivity records, -shape then the eight corners, in runs.
void elements(int32_t k, int32_t layers) {
  const int64_t total = BlockModel::elements(k, layers);
  constexpr int32_t kWidth = kCornerCount + 1;
  for (int64_t first = 1; first <= total; first += kRun) {
    const int64_t last = std::min(total, first + kRun - 1);
    Words records;
    records.reserve(static_cast<size_t>(kWidth * (last - first + 1)));
    for (int64_t e = first; e <= last; ++e) {
      const auto c = static_cast<int32_t>(e - 1);
      const int32_t i = c % k, j = c / k % k, l = c / k / k;
      auto at = [&](int32_t di, int32_t dj, int32_t dl) {
        return BlockModel::node(k, i + di, j + dj, l + dl);
      };
      records.insert(records.end(), {-kHE8, at(0, 0, 0), at(1, 0, 0), at(1, 1, 0), at(0, 1, 0),
                                     at(0, 0, 1), at(1, 0, 1), at(1, 1, 1), at(0, 1, 1)});
    }
    put(kArrConnectivity, static_cast<int32_t>((first - 1) * kWidth + 1), std::move(records));
  }
}

}  // namespace

void buildBlockModel(int32_t k, int32_t layers) {
  freshModelStore();
  const int32_t side = k + 1;

  MODCNT.word(kCntPoints) = BlockModel::kPoints;
  MODCNT.word(kCntLines) = BlockModel::kLines;
  MODCNT.word(kCntSurfaces) = BlockModel::kSurfaces;
  MODCNT.word(kCntBodies) = 1;
  MODCNT.word(kCntHighestNode) = static_cast<int32_t>(BlockModel::nodes(k, layers));
  MODCNT.word(kCntHighestElement) = static_cast<int32_t>(BlockModel::elements(k, layers));
  MODCNT.word(kCntElementNodes) = kCornerCount;
  MODCNT.word(kCntNodeListBound) = static_cast<int32_t>(2 * BlockModel::nodes(k, layers));
  MODCNT.word(kCntConditions) = 1;
  MODCNT.word(kCntLoads) = 1;

  nodes(k, layers);
  elements(k, layers);

  // Points at the bottom corners.
  const std::array<std::array<int32_t, 2>, 4> corners = {{{0, 0}, {k, 0}, {k, k}, {0, k}}};
  const char* pointNames[4] = {"C1", "C2", "C3", "C4"};
  for (int32_t p = 1; p <= BlockModel::kPoints; ++p) {
    const auto [i, j] = corners[static_cast<size_t>(p - 1)];
    entity(kArrPoints, kPointWords, kPointNames, p, pointNames[p - 1],
           {{6, BlockModel::node(k, i, j, 0)}});
    putReals(kPointCoordinates, p, {static_cast<float>(i), static_cast<float>(j), 0.0f});
  }

  // Packed node lists from position 1: the four bottom edges, then the bottom and the
  // top, each ended by 0.
  Words lists;
  std::array<int32_t, 4> edgeList{};
  for (int32_t e = 0; e < 4; ++e) {
    edgeList[static_cast<size_t>(e)] = static_cast<int32_t>(lists.size()) + 1;
    const auto [i0, j0] = corners[static_cast<size_t>(e)];
    const auto [i1, j1] = corners[static_cast<size_t>((e + 1) % 4)];
    for (int32_t s = 0; s <= k; ++s) {
      const int32_t i = i0 + (i1 - i0) / k * s, j = j0 + (j1 - j0) / k * s;
      lists.push_back(BlockModel::node(k, i, j, 0));
    }
    lists.push_back(0);
  }
  std::array<int32_t, 2> faceList{};
  for (int32_t f = 0; f < 2; ++f) {
    faceList[static_cast<size_t>(f)] = static_cast<int32_t>(lists.size()) + 1;
    const int32_t l = f == 0 ? 0 : layers;
    for (int32_t j = 0; j < side; ++j) {
      for (int32_t i = 0; i < side; ++i) lists.push_back(BlockModel::node(k, i, j, l));
    }
    lists.push_back(0);
  }
  MODCNT.word(kCntPackedListEnd) = static_cast<int32_t>(lists.size()) + 1;
  lists.resize((lists.size() + kListBlock - 1) / kListBlock * kListBlock, 0);
  put(kPackedLists, 1, std::move(lists));

  const char* lineNames[4] = {"EDGE1", "EDGE2", "EDGE3", "EDGE4"};
  for (int32_t e = 1; e <= BlockModel::kLines; ++e) {
    entity(kArrLines, kLineWords, kLineNames, e, lineNames[e - 1],
           {{2, e}, {3, e % 4 + 1}, {4, k}, {7, 100}, {13, edgeList[static_cast<size_t>(e - 1)]}});
  }
  entity(kArrSurfaces, kSurfaceWords, kSurfaceNames, BlockModel::kBottom, "BOTTOM",
         {{2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 100}, {13, faceList[0]}});
  entity(kArrSurfaces, kSurfaceWords, kSurfaceNames, BlockModel::kTop, "TOP",
         {{6, 100}, {13, faceList[1]}});
  entity(kArrBodies, kBodyWords, kBodyNames, BlockModel::kBody, "BLOCK",
         {{1, 1},
          {2, BlockModel::kBottom},
          {3, BlockModel::kTop},
          {8, 3},
          {9, 1},
          {10, static_cast<int32_t>(BlockModel::elements(k, layers))}});

  // The condition on the bottom and the load on the top (targets: number x 10 + kind).
  entry(5, 1, "FIX", {1, 7, BlockModel::kBottom * 10 + 3, 0, 0, 0});
  entry(9, 1, "PRESS", {1, BlockModel::kTop * 10 + 3, 0, 0, 0, 0, 0, 0, 0, 0});
}

std::string writeBlockModel(const std::string& stem, int32_t k, int32_t layers) {
  SYSINI();
  CHRSET();
  MDLCON();
  DSPRST(1, 0);
  buildBlockModel(k, layers == 0 ? k : layers);
  MDLFIL.text().assign(stem);
  if (DBDUMP(0) != 0) return {};
  return stem + ".DMP";
}

}  // namespace kvr::test
