// BLDNIX and the node index.

#include "dbinterface/bldnix.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "dbinterface/ldframe.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "runtime/reghed.h"

namespace kvr {

void BLDNIX(std::span<int32_t> buffer, int32_t& status) {
  EntryCursor cursor(buffer, kNodeDataset);
  status = cursor.missing() ? 1 : 0;
  const bool listIds = DICNT.firstNodeId == -1;
  std::array<int32_t, 3> record{};
  std::array<float, 1> noReals{};
  int32_t stat = 0;
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    for (int32_t k = 0; k < 3; ++k) record[static_cast<std::size_t>(k)] = buffer[static_cast<std::size_t>(q - 1 + k)];
    const int32_t s = record[2];
    // A damaged sequence number would address no record: the node is left out.
    if (s < 1) continue;
    ARRIO(-1, APPSTA.ARRHND(kNodeTableHandle), s, 1, -1, record, noReals, stat);
    if (listIds) {
      std::array<int32_t, 1> id{record[1]};
      ARRIO(-1, APPSTA.ARRHND(kListIndexHandle), s, 1, -1, id, noReals, stat);
    }
  }
}

int32_t nodeIndex(int32_t id) {
  const int32_t count = DICNT.nodeCount;
  if (DICNT.firstNodeId != -1) {
    const int64_t s = int64_t{id} - DICNT.firstNodeId + 1;
    return s >= 1 && s <= count ? static_cast<int32_t>(s) : 0;
  }
  const int32_t k = APPSTA.ARRHND(kListIndexHandle);
  if (k < 1 || k > REGHED.top) return 0;
  // Only the records the list index holds are searched.
  const int32_t last = std::min(count, REGHED.ARRLEN(k));
  const int32_t s = CoreBisect(REGHED.file, REGHED.ARRCOR(k), id, 1, last);
  return s > 0 ? s : 0;
}

}  // namespace kvr
