// NODCPY: the node coordinate array.

#include "dbinterface/nodcpy.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "dbinterface/bldnix.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/reslvl.h"
#include "modeldb/arrreg.h"
#include "modeldb/cmptrf.h"
#include "modeldb/dblevl.h"

namespace kvr {
namespace {

constexpr int32_t kStoredNumbering = 1;

// Puts the nodes of the open database from record K + 1 on; K counts them.
void copyNodes(int32_t mode, std::span<int32_t> buffer, int32_t& k) {
  dropSlotClaim();
  EntryCursor cursor(buffer, kNodeDataset);
  std::array<float, 3> xyz{};
  std::array<int32_t, 3> idWords{};
  std::array<int32_t, 1> noWords{};
  std::array<float, 1> noReals{};
  int32_t stat = 0;
  for (; cursor.atEntry(); cursor.next()) {
    ++k;
    NODXYZ(buffer, cursor.q(), xyz[0], xyz[1], xyz[2]);
    ARRIO(-1, APPSTA.ARRHND(kNodeCoordinateHandle), k, 1, 1, noWords, xyz, stat);
    if (mode == 2) {
      idWords = {cursor.nodeId(), PAGW3(buffer, cursor.q()), 0};
      ARRIO(-1, APPSTA.ARRHND(kNodeTableHandle), k, 1, -1, idWords, noReals, stat);
    }
  }
  dropSlotClaim();
}

}  // namespace

void NODCPY(int32_t mode, std::span<int32_t> buffer, int32_t& status) {
  status = 0;
  int32_t k = 0;
  if (DBLEVL.numberingMode == kStoredNumbering) {
    copyNodes(mode, buffer, k);
    return;
  }
  const std::span<int32_t> page = buffer.first(std::min<std::size_t>(buffer.size(), kLargestPageWords));
  int32_t level = 0;
  int32_t results = 0;
  int32_t second = 0;
  int32_t done = 0;
  int32_t error = 0;
  for (;;) {
    RESLVL(page, page, 0, level, results, second, done, error);
    if (done != 0 || error != 0) break;
    copyNodes(mode, buffer, k);
  }
  level = -1;
  RESLVL(page, page, 0, level, results, second, done, error);
  if (error != 0) status = 1;
}

}  // namespace kvr
