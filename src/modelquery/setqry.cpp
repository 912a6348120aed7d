// The set queries: USET2, SETMBR, NDSET and NAWORD.
#include "modelquery/setqry.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/nodcol.h"
#include "modeldb/setrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "runtime/modcnt.h"
#include "runtime/msgarg.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kMissing = 2;
constexpr int32_t kNothing = 3;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kGuardCode = 9;  // the first value of F0000: the set guard
constexpr int32_t kGuardFactor = 5;

// The stored number of set |SET|; 0 (no set) for the one value without a magnitude.
int32_t storedSet(int64_t set) {
  const int64_t s = std::abs(set);
  return s > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(s);
}

// The record of stored set S when the set exists. Stored set 1 heads the free chain and
// is never a set.
bool setRecord(int32_t s, SetRec& r) {
  if (SETEXS(s) == 0 || !recordsHeld(kArrSets, s, s)) return false;
  RECIO(kRead, kArrSets, s, r.words);
  return true;
}

}  // namespace

void USET2(const int32_t& set, const int32_t& kind, FText name, std::span<int32_t> members,
           const int32_t& size, int32_t& count, int32_t& status) {
  count = 0;
  if (MODCNT.word(kCntSets) <= 1) {
    status = kNothing;
    return;
  }
  status = 0;
  const int64_t s = int64_t{set} + 1;
  SetRec r;
  if (s < 1 || !setRecord(storedSet(s), r)) {
    status = kMissing;
    return;
  }
  std::array<int32_t, 2> label{};
  if (nameWords(kArrSetNames, static_cast<int32_t>(s), label)) writeName(label, name);

  const bool pairKinds = SETMXD(r.word(kSetType));
  if (!pairKinds && r.word(kSetKind) != kind) {
    status = kNothing;
    return;
  }
  const auto room = static_cast<int32_t>(
      std::clamp<int64_t>(size, 0, static_cast<int64_t>(members.size())));
  walkSetMembers(r, [&](int32_t k, int32_t number) {
    if (pairKinds && k != kind) return true;
    if (count == room) {
      status = kTooSmall;
      return false;
    }
    members[static_cast<size_t>(count++)] = number;
    return true;
  });
  if (status == 0 && count == 0) status = kNothing;
}

void SETMBR(int32_t set, std::span<int32_t> list, int32_t capacity, int32_t& kind,
            int32_t& first, int32_t& last) {
  for (int32_t w = kSetCntPoints; w <= kSetCntCleared; ++w) SETCNT.word(w) = 0;
  kind = 0;
  first = 0;
  last = 0;
  SetRec r;
  if (!setRecord(storedSet(set), r)) return;

  // The five passes over the members, in one walk: points, plain lines, composite lines,
  // surfaces, bodies, each group in block order.
  constexpr int32_t kPasses = 5;
  constexpr std::array<int32_t, kPasses> kWords = {kSetCntPoints, kSetCntLines,
                                                   kSetCntComposites, kSetCntSurfaces,
                                                   kSetCntBodies};
  std::array<std::vector<int32_t>, kPasses> groups;
  walkSetMembers(r, [&](int32_t k, int32_t number) {
    if (k < 1 || k > 4 || ENTEXS(number, k) == 0) return true;
    int32_t pass = 0;
    switch (k) {
      case 1: pass = 0; break;
      case 2: pass = LNG07B(number) == kCompositeLine ? 2 : 1; break;
      case 3: pass = 3; break;
      default: pass = 4; break;
    }
    groups[static_cast<size_t>(pass)].push_back(number);
    return true;
  });

  const int32_t limit = nodeLimit();
  const int64_t guard = int64_t{kGuardFactor} * limit;
  const auto room = static_cast<int64_t>(
      std::clamp<int64_t>(capacity, 0, static_cast<int64_t>(list.size())));
  bool posted = false;
  int32_t j = 0;
  for (int32_t pass = 0; pass < kPasses; ++pass) {
    const std::vector<int32_t>& group = groups[static_cast<size_t>(pass)];
    for (const int32_t member : group) {
      ++j;
      if (set < 0) {
        int32_t value = member;
        NAWORD(kWrite, kArrSearchWork, j, value);
      } else {
        // One report is enough: each further one would dump the whole model again.
        if (j >= guard && !posted) {
          MSGQV4(kGuardCode, j, limit, member);
          posted = true;
        }
        // Nothing is written past the caller's capacity.
        if (j <= room) list[static_cast<size_t>(j - 1)] = member;
      }
      ++SETCNT.word(kWords[static_cast<size_t>(pass)]);
    }
    if (group.empty()) continue;
    const int32_t points = SETCNT.word(kSetCntPoints);
    const int32_t lines = SETCNT.word(kSetCntLines) + SETCNT.word(kSetCntComposites);
    const int32_t surfaces = SETCNT.word(kSetCntSurfaces);
    switch (pass) {
      case 0:
        kind = 1;
        first = 1;
        last = points;
        break;
      case 1:
      case 2:
        kind = 2;
        first = points + 1;
        last = points + lines;
        break;
      case 3:
        kind = 3;
        first = points + lines + 1;
        last = points + lines + surfaces;
        break;
      default:
        kind = 4;
        first = points + lines + surfaces + 1;
        last = first - 1 + SETCNT.word(kSetCntBodies);
        break;
    }
  }
}

void NDSET(int32_t set, int32_t& count, std::span<int32_t> marks, int32_t size, int32_t& status) {
  status = 0;
  count = 0;
  SetRec r;
  if (!setRecord(storedSet(set), r)) return;
  walkSetMembers(r, [&](int32_t k, int32_t number) {
    // Members of other kinds (nodes, elements) have no nodes to mark.
    if (k < 1 || k > 4 || ENTEXS(number, k) == 0) return true;
    int32_t stat = 0;
    switch (k) {
      case 1: NODPNT(number, count, marks, size, stat); break;
      case 2: NODLIN(number, count, marks, size, stat); break;
      case 3: NODSRF(number, count, marks, size, stat); break;
      default: NODBDY(number, count, marks, size, stat); break;
    }
    status = stat;
    return stat == 0;
  });
}

void NAWORD(int32_t operation, int32_t k, int32_t index, int32_t& value) {
  if (operation != kRead && operation != kWrite) return;
  int32_t stat = 0;
  ARRIO(operation, k, index, 1, kIntegers, std::span<int32_t>(&value, 1), {}, stat);
}

}  // namespace kvr
