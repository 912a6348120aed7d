// Shared reading helpers of the queries.
#include "modelquery/qrydata.h"

#include <algorithm>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modeldb/mdlstore.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kNameWords = 2;
constexpr int32_t kNameChars = 8;

}  // namespace

bool nameWords(int32_t k, int32_t id, std::array<int32_t, 2>& words) {
  if (!recordsHeld(k, id, id) || REGHED.ARRWID(k) != kNameWords) return false;
  RECIO(kRead, k, id, words);
  return true;
}

void writeName(const std::array<int32_t, 2>& words, FText name) { A4TXT(words, kNameChars, name); }

std::vector<int32_t> attributeIds(int32_t type, int32_t count) {
  std::vector<int32_t> ids;
  const int32_t n = storeArrayHeld(kArrEntries) ? REGHED.ARRLEN(kArrEntries) : 0;
  if (n <= 0 || count <= 0) return ids;
  std::vector<int32_t> entries(static_cast<size_t>(n) * kEntryWords);
  if (storeGet(kArrEntries, 1, n, entries) != 0) return ids;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t t = entries[static_cast<size_t>(i) * kEntryWords];
    const int32_t id = entries[static_cast<size_t>(i) * kEntryWords + 1];
    if (t == type && id >= 1 && id <= count) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

}  // namespace kvr
