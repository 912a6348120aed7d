// TOPARR, ELMXYZ, DSPADD, FACLST: the element geometry work arrays.

#include "dbinterface/toparr.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "dbinterface/bldnix.h"
#include "dbinterface/elnord.h"
#include "dbinterface/eltacc.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/reslvl.h"
#include "dbinterface/roadarr.h"
#include "geometry/elshap.h"
#include "modeldb/arrreg.h"
#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"
#include "runtime/dspsta.h"

namespace kvr {
namespace {

constexpr int32_t kStoredNumbering = 1;
constexpr int32_t kWorkRecordWords = kWorkRecordHead + 2 * kMaxElementNodes;

// The counters of the copy: elements copied (c), words of work records (f) and face keys
// (g) written so far.
struct CopyCounts {
  int32_t elements = 0;
  int32_t recordWords = 0;
  int32_t keyWords = 0;
};

// Copies the entries of dataset TYPE of the open database; false when it is missing or
// the arrays would pass the largest record number.
bool copyElements(int32_t type, std::span<int32_t> buffer, CopyCounts& counts) {
  dropSlotClaim();
  EntryCursor cursor(buffer, type);
  if (cursor.missing()) return false;
  std::array<int32_t, kWorkRecordWords> record{};
  std::array<int32_t, kMaxElementNodes> ids{};
  std::array<int32_t, kMaxElementNodes> sequences{};
  std::array<int32_t, ElShap::kMaxFaces> keys{};
  bool fits = true;
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    const int32_t t = cursor.elementType();
    const int32_t n = std::clamp(ELNCNT(t), 0, kMaxElementNodes);
    record[0] = t;
    record[1] = cursor.elementId();
    record[2] = RECW3(buffer, q);
    record[3] = ENTW4(buffer, q);
    ELNODS(buffer, q, n, ids);
    ENNODS(buffer, q, n, sequences);
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
      record[kWorkRecordHead + 2 * k] = ids[k];
      record[kWorkRecordHead + 2 * k + 1] = sequences[k];
    }
    const int32_t words = kWorkRecordHead + 2 * n;

    int32_t keyCount = 1;
    keys[0] = 0;
    const int32_t dim = ELTDIM(t);
    if (dim == 2 || dim == 3) {
      keyCount = std::clamp(ELTFAC(t), 0, static_cast<int32_t>(keys.size()));
      for (int32_t j = 1; j <= keyCount; ++j) {
        keys[static_cast<std::size_t>(j - 1)] = FACNGB(buffer, q + ELTBLN(t), j);
      }
    }

    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    if (int64_t{counts.recordWords} + words + 1 > kLargest ||
        int64_t{counts.keyWords} + keyCount + 1 > kLargest || counts.elements + int64_t{2} > kLargest) {
      fits = false;
      break;
    }
    ++counts.elements;
    putRoadWords(kElementRecordHandle, counts.recordWords + 1,
             std::span<int32_t>(record).first(static_cast<std::size_t>(words)));
    std::array<int32_t, 1> start{counts.recordWords + 1};
    putRoadWords(kElementStartHandle, counts.elements, start);
    if (keyCount > 0) {
      putRoadWords(kFaceKeyHandle, counts.keyWords + 1,
               std::span<int32_t>(keys).first(static_cast<std::size_t>(keyCount)));
    }
    start[0] = counts.keyWords + 1;
    putRoadWords(kFaceKeyStartHandle, counts.elements, start);
    counts.recordWords += words;
    counts.keyWords += keyCount;
  }
  dropSlotClaim();
  return fits;
}

// Record c + 1 of both start-position arrays: the end of the last element's words.
void endMarkers(const CopyCounts& counts) {
  const int32_t c = counts.elements + 1;
  std::array<int32_t, 1> end{counts.recordWords + 1};
  putRoadWords(kElementStartHandle, c, end);
  end[0] = counts.keyWords + 1;
  putRoadWords(kFaceKeyStartHandle, c, end);
}

// The first position and the word count of element K's words in the array VALUES that
// the start positions STARTS index, read through WORK; false when they lead outside the
// arrays, outside WORK or run backwards.
bool locate(std::span<int32_t> work, const RoadArray& starts, const RoadArray& values, int32_t k,
            int32_t& first, int32_t& count) {
  if (work.size() < 2 || !starts.get(k, 2, work.first(2))) return false;
  first = work[0];
  const int64_t n = int64_t{work[1]} - work[0];
  if (n < 0 || n > static_cast<int64_t>(work.size()) || !values.exist(first, n)) return false;
  count = static_cast<int32_t>(n);
  return true;
}

// DSPADD on the displacement array of ARRAYS.
void addDisplacement(const RoadArray& displacements, int32_t s, float& x, float& y, float& z) {
  const DspSta& d = DSPSTA;
  if (s < d.displacementFirst || s > d.displacementLast) return;
  const int64_t r = int64_t{s} - d.displacementFirst + 1;
  std::array<float, 3> v{};
  if (r > std::numeric_limits<int32_t>::max() ||
      !displacements.get(static_cast<int32_t>(r), 1, v)) {
    return;
  }
  x += d.displacementScale * v[0];
  y += d.displacementScale * v[1];
  z += d.displacementScale * v[2];
}

}  // namespace

void TOPARR(int32_t type, std::span<int32_t> buffer, int32_t& status) {
  status = 0;
  CopyCounts counts;
  if (DBLEVL.numberingMode == kStoredNumbering) {
    if (copyElements(type, buffer, counts)) {
      endMarkers(counts);
    } else {
      status = 1;
    }
    return;
  }
  const std::span<int32_t> page =
      buffer.first(std::min<std::size_t>(buffer.size(), kLargestPageWords));
  int32_t level = 0;
  int32_t results = 0;
  int32_t second = 0;
  int32_t done = 0;
  int32_t error = 0;
  bool failed = false;
  for (;;) {
    RESLVL(page, page, 0, level, results, second, done, error);
    if (error != 0) {
      failed = true;
      break;
    }
    if (done != 0) break;
    if (!copyElements(type, buffer, counts)) {
      failed = true;
      break;
    }
  }
  if (!failed) endMarkers(counts);
  level = -1;
  RESLVL(page, page, 0, level, results, second, done, error);
  if (failed || error != 0) status = 1;
}

ElementArrays::ElementArrays()
    : records(kElementRecordHandle),
      starts(kElementStartHandle),
      faceKeys(kFaceKeyHandle),
      faceKeyStarts(kFaceKeyStartHandle),
      coordinates(kNodeCoordinateHandle),
      displacements(kDisplacementHandle) {}

bool readElementRecord(const ElementArrays& arrays, std::span<int32_t> work, int32_t k,
                       int32_t& id, int32_t& type, int32_t& ieatt1, int32_t& ieatt2,
                       std::span<int32_t> nodeIds, std::span<int32_t> sequences, int32_t& nodes) {
  int32_t first = 0;
  int32_t words = 0;
  if (!locate(work, arrays.starts, arrays.records, k, first, words) || words < kWorkRecordHead) {
    return false;
  }
  arrays.records.get(first, words, work);
  type = work[0];
  id = work[1];
  ieatt1 = work[2];
  ieatt2 = work[3];
  const std::size_t capacity = std::min(nodeIds.size(), sequences.size());
  const int32_t n = static_cast<int32_t>(
      std::min<int64_t>(std::max(ELNCNT(type), 0), static_cast<int64_t>(capacity)));
  if (kWorkRecordHead + 2 * int64_t{n} > words) return false;
  for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
    nodeIds[j] = work[kWorkRecordHead + 2 * j];
    sequences[j] = work[kWorkRecordHead + 2 * j + 1];
  }
  nodes = n;
  return true;
}

bool readElementCoordinates(const ElementArrays& arrays, std::span<const int32_t> sequences,
                            std::span<float> x, std::span<float> y, std::span<float> z) {
  const std::size_t n = std::min({sequences.size(), x.size(), y.size(), z.size()});
  const bool displaced = DSPSTA.displacementSwitch != 0;
  std::array<float, 3> xyz{};
  for (std::size_t j = 0; j < n; ++j) {
    const int32_t s = sequences[j];
    if (!arrays.coordinates.get(s, 1, xyz)) return false;
    if (displaced) addDisplacement(arrays.displacements, s, xyz[0], xyz[1], xyz[2]);
    x[j] = xyz[0];
    y[j] = xyz[1];
    z[j] = xyz[2];
  }
  return true;
}

bool readFaceKeys(const ElementArrays& arrays, std::span<int32_t> work, int32_t k,
                  std::span<int32_t> keys, int32_t& count) {
  int32_t first = 0;
  int32_t n = 0;
  if (!locate(work, arrays.faceKeyStarts, arrays.faceKeys, k, first, n)) return false;
  arrays.faceKeys.get(first, n, work);
  std::copy_n(work.begin(), std::min(static_cast<std::size_t>(n), keys.size()), keys.begin());
  count = n;
  return true;
}

void ELMXYZ(std::span<int32_t> work, int32_t k, int32_t& id, int32_t& type, int32_t& ieatt1,
            int32_t& ieatt2, std::span<float> x, std::span<float> y, std::span<float> z,
            std::span<int32_t> nodeIds, std::span<int32_t> sequences, int32_t& status) {
  const ElementArrays arrays;
  const std::size_t capacity = std::min({x.size(), y.size(), z.size()});
  int32_t n = 0;
  const bool read =
      readElementRecord(arrays, work, k, id, type, ieatt1, ieatt2,
                        nodeIds.first(std::min(nodeIds.size(), capacity)),
                        sequences.first(std::min(sequences.size(), capacity)), n) &&
      readElementCoordinates(arrays, sequences.first(static_cast<std::size_t>(n)), x, y, z);
  status = read ? 0 : 1;
}

void DSPADD(int32_t s, float& x, float& y, float& z) {
  addDisplacement(RoadArray(kDisplacementHandle), s, x, y, z);
}

void FACLST(std::span<int32_t> work, int32_t k, std::span<int32_t> keys, int32_t& count,
            int32_t& status) {
  count = 0;
  status = readFaceKeys(ElementArrays(), work, k, keys, count) ? 0 : 1;
}

}  // namespace kvr
