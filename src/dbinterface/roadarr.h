// Record input and output of the writing road's named arrays, addressed by their handle
// words (ARRHND). ARRIO ends the run on a read outside an array, so a record number taken
// from a stored word is tested with roadRecordsExist before it is read.
#pragma once

#include <cstdint>
#include <span>

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

}  // namespace kvr
