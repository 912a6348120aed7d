// Chain lines as patch sides: CHNPNT, CHNMEM, CHNGET, CHNORD.
#include "geometry/chnlin.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <utility>

#include "geometry/geodsp.h"
#include "geometry/linevl.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kKindLine = 2;
constexpr int32_t kUnknownLine = 99;
constexpr int32_t kMeasureFailed = 3;  // LINLEN: no length

size_t at(int32_t k) { return static_cast<size_t>(k - 1); }

// |ID| as a line number; 0 for the one value that has no magnitude.
int32_t magnitude(int32_t id) { return id == std::numeric_limits<int32_t>::min() ? 0 : std::abs(id); }

// The point at T of the single line LINE between its own end points, over its divisions.
bool evaluateLine(int32_t line, float t, std::span<float, 3> point) {
  std::array<float, 3> p{};
  int32_t code = LNG04B(line);
  // Word 2 may be stored negative: its sign is no part of the point number.
  const bool written =
      LINEVL(magnitude(LNG02(line)), magnitude(LNG03(line)), t, line, p, LNG04(line), code);
  // LINEVL leaves the point unwritten for a composite member or an unusable definition;
  // the stale buffer would otherwise pass for a point of the line.
  if (!written) return false;
  point[0] = p[0];
  point[1] = p[1];
  point[2] = p[2];
  return true;
}

// The relative position on member K (from 1) of LIST for the chain position T, and K.
bool chainPosition(std::span<const int32_t> list, float t, int32_t& member, float& local) {
  const auto n = static_cast<int32_t>(list.size());
  std::array<float, kMaxChainMembers> lengths{};
  float total = 0.0f;
  for (int32_t k = 1; k <= n; ++k) {
    int32_t stat = kMeasureFailed;
    GEODSP.lineLength(magnitude(list[at(k)]), lengths[at(k)], stat);
    if (stat == kMeasureFailed) return false;
    total += lengths[at(k)];
  }
  if (total < MACHCN.real(kMachTolerance)) {
    member = 1;
    local = 0.0f;
    return true;
  }
  float before = 0.0f;
  for (int32_t k = 1; k <= n; ++k) {
    const float after = k == n ? 1.0f : before + lengths[at(k)] / total;
    if (t <= after || k == n) {
      member = k;
      local = 0.0f;
      if (after - before > 0.0f) {
        local = (t - before) / (after - before);
        if (list[at(k)] < 0) local = 1.0f - local;
        local = std::min(1.0f, std::max(0.0f, local));
      }
      return true;
    }
    before = after;
  }
  return false;
}

// The first unplaced member from position FROM of ORDER with an end point at END; its
// position, or 0. BAD is set when that member is closed on itself.
int32_t attaching(std::span<const ChainMember> members, std::span<const int32_t> order,
                  int32_t from, int32_t n, int32_t end, bool& bad) {
  for (int32_t q = from; q <= n; ++q) {
    const ChainMember& m = members[at(order[at(q)])];
    if (m.first != end && m.second != end) continue;
    bad = m.first == m.second;
    return q;
  }
  return 0;
}

}  // namespace

void CHNGET(int32_t member, int32_t& first, int32_t& second, int32_t& status) {
  const int32_t line = magnitude(member);
  status = 1;
  if (line == 0 || ENTEXS(line, kKindLine) == 0) return;
  // A negative word 2 would break the chain at that member.
  first = magnitude(LNG02(line));
  second = magnitude(LNG03(line));
  status = 0;
}

void CHNORD(std::span<const ChainMember> members, std::span<int32_t> order, int32_t n,
            std::span<int32_t> list, int32_t& status) {
  status = 1;
  if (n < 1 || static_cast<size_t>(n) > members.size() || static_cast<size_t>(n) > order.size() ||
      static_cast<size_t>(n) > list.size()) {
    return;
  }
  for (int32_t k = 1; k <= n; ++k) {
    if (order[at(k)] < 1 || order[at(k)] > n) return;
  }
  std::array<int32_t, kMaxChainMembers> sign{};
  if (static_cast<size_t>(n) > sign.size()) return;

  // 1. Member 1 first, as stored.
  const ChainMember& head = members[at(order[0])];
  const int32_t start = head.first;
  if (start == head.second) return;
  sign[0] = 1;
  int32_t placed = 1;

  // 2. and 3. Forward from the open end, then backward from the start.
  int32_t forward = 0;
  for (int32_t end : {head.second, start}) {
    while (placed < n) {
      bool bad = false;
      const int32_t q = attaching(members, order, placed + 1, n, end, bad);
      if (q == 0) break;
      if (bad) return;
      std::swap(order[at(placed + 1)], order[at(q)]);
      const ChainMember& m = members[at(order[at(placed + 1)])];
      sign[at(placed + 1)] = m.first == end ? 1 : -1;
      end = m.first == end ? m.second : m.first;
      ++placed;
    }
    if (forward == 0) forward = placed;
  }
  if (placed < n) return;

  // 4. The backward members reversed and turned round, then the forward members.
  int32_t out = 0;
  for (int32_t k = n; k > forward; --k) list[at(++out)] = -sign[at(k)] * members[at(order[at(k)])].line;
  for (int32_t k = 1; k <= forward; ++k) list[at(++out)] = sign[at(k)] * members[at(order[at(k)])].line;
  if (n > 1 && forward == 1) {
    std::reverse(list.begin(), list.begin() + n);
    for (int32_t k = 1; k <= n; ++k) list[at(k)] = -list[at(k)];
  }
  status = 0;
}

void CHNMEM(int32_t line, std::span<int32_t, kMaxChainMembers> list, int32_t& count,
            int32_t& status) {
  count = 0;
  status = 3;
  if (line < 1 || ENTEXS(line, kKindLine) == 0) return;
  status = 2;
  if (LNG07B(line) != kCompositeLine) return;
  std::array<int32_t, kMaxChainMembers> stored{};
  int32_t n = 0;
  LNG08B(line, stored, n);
  if (n < 1) return;

  status = 1;
  std::array<ChainMember, kMaxChainMembers> members{};
  std::array<int32_t, kMaxChainMembers> order{};
  for (int32_t k = 1; k <= n; ++k) {
    ChainMember& m = members[at(k)];
    m.line = magnitude(stored[at(k)]);
    int32_t stat = 1;
    CHNGET(m.line, m.first, m.second, stat);
    if (stat != 0) return;
    order[at(k)] = k;
  }
  int32_t stat = 1;
  CHNORD(std::span<const ChainMember>(members).first(at(n + 1)), order, n, list, stat);
  if (stat != 0) return;
  count = n;
  status = 0;
}

void CHNPNT(int32_t line, float t, std::span<float, 3> point, int32_t& status) {
  status = 1;
  // 1. The position, the line and its type (NaN is outside 0..1 too).
  if (!(t >= 0.0f && t <= 1.0f)) return;
  if (line < 1 || ENTEXS(line, kKindLine) == 0) return;
  const int32_t type = LNG07B(line);
  if (type == 0 || type == kUnknownLine) return;

  // 2. A single line directly.
  if (type != kCompositeLine) {
    if (evaluateLine(line, t, point)) status = 0;
    return;
  }

  // 3. and 4. A chain through the member that holds T.
  std::array<int32_t, kMaxChainMembers> list{};
  int32_t n = 0;
  int32_t stat = 1;
  CHNMEM(line, list, n, stat);
  if (stat != 0) return;
  int32_t k = 0;
  float local = 0.0f;
  if (!chainPosition(std::span<const int32_t>(list).first(at(n + 1)), t, k, local)) return;
  if (evaluateLine(magnitude(list[at(k)]), local, point)) status = 0;
}

}  // namespace kvr
