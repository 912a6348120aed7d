#include "dbinterface/eltacc.h"

#include <cstddef>

#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

int32_t wordAt(std::span<const int32_t> buffer, int64_t k) {
  if (k < 1 || k > static_cast<int64_t>(buffer.size())) return 0;
  return buffer[static_cast<std::size_t>(k - 1)];
}

void putWord(std::span<int32_t> buffer, int64_t k, int32_t v) {
  if (k < 1 || k > static_cast<int64_t>(buffer.size())) return;
  buffer[static_cast<std::size_t>(k - 1)] = v;
}

bool longLayout() { return DBLEVL.recordLayout == kLongEntryLayout; }
int64_t realWords() { return MACHCN.word(kMachWordsPerReal); }
bool offsetsApply() { return DBLEVL.numberingMode != 1; }

int32_t plusNodeOffset(int32_t v) { return offsetsApply() ? v + DBLEVL.nodeOffset : v; }
int32_t plusElementOffset(int32_t key) {
  return offsetsApply() && key > 0 ? key + DBLEVL.elementOffset : key;
}

// Word of node K's id in an element entry (its sequence number follows it).
int64_t entryNodeWord(int32_t q, int32_t k) {
  const int64_t per = longLayout() ? 3 * realWords() + 2 : 2;
  return int64_t{q} + int64_t{k} * per + 5;
}

// Words of one edge-record node.
int64_t edgeNodeWords() { return longLayout() ? 3 * realWords() + 1 : 1; }

}  // namespace

void SEQPUT(std::span<int32_t> buffer, int32_t q, int32_t k, int32_t s) {
  putWord(buffer, int64_t{q} + 2 * int64_t{k} + 6, s);
}

int32_t NODSEQ(std::span<const int32_t> buffer, int32_t q, int32_t k) {
  return plusNodeOffset(wordAt(buffer, entryNodeWord(q, k) + 1));
}

void ENNODS(std::span<const int32_t> buffer, int32_t q, int32_t n, std::span<int32_t> out) {
  for (int32_t k = 1; k <= n && static_cast<std::size_t>(k) <= out.size(); ++k) {
    out[static_cast<std::size_t>(k - 1)] = NODSEQ(buffer, q, k);
  }
}

void ELNODS(std::span<const int32_t> buffer, int32_t q, int32_t n, std::span<int32_t> out) {
  for (int32_t k = 1; k <= n && static_cast<std::size_t>(k) <= out.size(); ++k) {
    out[static_cast<std::size_t>(k - 1)] = wordAt(buffer, entryNodeWord(q, k));
  }
}

int32_t ENTW4(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 4); }
int32_t ENTW2(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 2); }
int32_t EDGNN(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, q); }
int32_t EDGRLN(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 1); }
int32_t EDGW1(std::span<const int32_t> buffer, int32_t q) { return wordAt(buffer, int64_t{q} + 1); }

int32_t EDGNOD(std::span<const int32_t> buffer, int32_t q, int32_t j) {
  return plusNodeOffset(wordAt(buffer, int64_t{q} + (int64_t{j} - 1) * edgeNodeWords() + 3));
}

int32_t NODOFF(std::span<const int32_t> buffer, int32_t q, int32_t i) {
  const int64_t n = EDGNN(buffer, q);
  return plusElementOffset(wordAt(buffer, int64_t{q} + n * edgeNodeWords() + 2 + i));
}

int32_t EDGLEN(int32_t n) {
  return static_cast<int32_t>(int64_t{n} * edgeNodeWords() + 3);
}

int32_t TRIPG1(std::span<const int32_t> list, int32_t q, int32_t j) {
  return plusElementOffset(wordAt(list, int64_t{q} + 3 * int64_t{j} - 1));
}
int32_t TRIPGT(std::span<const int32_t> list, int32_t q, int32_t j) {
  return wordAt(list, int64_t{q} + 3 * int64_t{j});
}
int32_t TRIPG3(std::span<const int32_t> list, int32_t q, int32_t j) {
  return wordAt(list, int64_t{q} + 3 * int64_t{j} + 1);
}

void FACPUT(std::span<int32_t> buffer, int32_t p, int32_t f, int32_t v) {
  putWord(buffer, int64_t{p} + f - 1, static_cast<int32_t>(2 * int64_t{v}));
}

int32_t FACNGB(std::span<const int32_t> buffer, int32_t p, int32_t f) {
  return plusElementOffset(wordAt(buffer, int64_t{p} + f - 1) / 2);
}

}  // namespace kvr
