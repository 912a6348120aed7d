// The readers of the element geometry work arrays.
#include "modeldb/elmarr.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "modeldb/elttab.h"
#include "runtime/dspsta.h"

namespace kvr {
namespace {

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
