// Straight store access to the named arrays of the registry in force, for the model load,
// upgrade and dump. These go to the store directly (CoreGet, CorePut, CoreExtend) rather
// than through ARRIO, whose failures end the run: a load or a dump reports its own
// failures, and a dump must not start another dump.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/corsto.h"
#include "runtime/reghed.h"

namespace kvr {

// Whether named array K lies in the registry in force.
inline bool storeArrayHeld(int32_t k) {
  return k >= 1 && k <= REGHED.top && k <= RegHed::kArrays;
}

// Copies N records of named array K from record FIRST on, as raw words, into WORDS or out
// of it; answers the store's status (0 done).
inline int32_t storeGet(int32_t k, int32_t first, int32_t n, std::span<int32_t> words) {
  if (!storeArrayHeld(k)) return 1;
  int32_t stat = 0;
  CoreGet(REGHED.file, REGHED.ARRCOR(k), first, n, -1, words, {}, stat);
  return stat;
}

inline int32_t storePut(int32_t k, int32_t first, int32_t n, std::span<const int32_t> words) {
  if (!storeArrayHeld(k)) return 1;
  int32_t stat = 0;
  CorePut(REGHED.file, REGHED.ARRCOR(k), first, n, -1, words, {}, stat);
  return stat;
}

// Adds N records to the end of named array K: FIRST receives the first new record and
// the records-in-use word grows by N. Answers CoreExtend's status; on failure nothing
// changes.
inline int32_t storeAppend(int32_t k, int32_t n, int32_t& first) {
  if (!storeArrayHeld(k)) return 1;
  first = REGHED.ARRLEN(k) + 1;
  if (n <= 0) return 0;
  if (int64_t{first} + n - 1 > INT32_MAX) return 2;
  int32_t stat = 0;
  CoreExtend(REGHED.file, REGHED.ARRCOR(k), first, n, stat);
  if (stat == 0) REGHED.ARRLEN(k) += n;
  return stat;
}

}  // namespace kvr
