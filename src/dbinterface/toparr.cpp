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
#include "geometry/elshap.h"
#include "modeldb/arrreg.h"
#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"
#include "modeldb/roadarr.h"
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

}  // namespace kvr
