// Record input and output of the writing road's named arrays, addressed by their handle
// words (ARRHND). ARRIO ends the run on a read outside an array, so a record number taken
// from a stored word is tested with roadRecordsExist before it is read.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/corsto.h"

namespace kvr {

// The records allocated to the named array of handle word HANDLE; 0 when the handle
// names no array of the registry in force.
int32_t roadRecords(int32_t handle);

// Records FIRST to FIRST + N - 1 of the named array of handle word HANDLE exist.
bool roadRecordsExist(int32_t handle, int64_t first, int64_t n);

// Reads or writes WORDS.size() INTEGER records from record FIRST on (one word a record);
// a write grows the array as far as it needs.
void getRoadWords(int32_t handle, int32_t first, std::span<int32_t> words);
void putRoadWords(int32_t handle, int32_t first, std::span<int32_t> words);

// The named array of one handle word, reached directly for the length of a loop over many
// records: the handle is resolved once. Each copy is checked first, against the records
// allocated to the array (as roadRecordsExist) and the store's pages, and a refused copy
// answers false and copies nothing, where ARRIO would end the run. A write never grows
// the array (putRoadWords does). Made after the registry is set up, dropped before it is
// set up again or released.
class RoadArray {
 public:
  explicit RoadArray(int32_t handle);

  int32_t records() const { return length_ == nullptr ? 0 : *length_; }
  bool exist(int64_t first, int64_t n) const {
    return first >= 1 && n >= 0 && first + n - 1 <= records();
  }
  // N records from record FIRST on, N x W words of WORDS from its first on.
  bool get(int32_t first, int32_t n, std::span<int32_t> words) const {
    return exist(first, n) && store_.get(first, n, words);
  }
  bool get(int32_t first, int32_t n, std::span<float> words) const {
    return exist(first, n) && store_.get(first, n, words);
  }
  bool put(int32_t first, int32_t n, std::span<const int32_t> words) const {
    return exist(first, n) && store_.put(first, n, words);
  }

 private:
  const int32_t* length_ = nullptr;  // ARRLEN of the named array
  CoreRecords store_;
};

}  // namespace kvr
