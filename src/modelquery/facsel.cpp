// The face of an element from its marked nodes (FACSEL), the host's query of the face of
// an element on an entity (UEFACE), and the local node list of a face (UPFN).
#include "modelquery/facsel.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "modeldb/entrec.h"
#include "modeldb/loctop.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kDone = 0;
constexpr int32_t kNoEntry = 2;
constexpr int32_t kBadElement = 4;
constexpr int32_t kCountDiffers = 5;
constexpr int32_t kNoMatch = 6;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kEdgeTarget = 2;
constexpr int32_t kFaceTarget = 4;
constexpr int32_t kEdgeCount = 2;

// Shape codes the reordering and the orientation name.
constexpr int32_t kTR6 = 7;
constexpr int32_t kQU8 = 9;
constexpr int32_t kQU9 = 10;
constexpr int32_t kTR9 = 23;
constexpr int32_t kQU12 = 24;
constexpr int32_t kTR15 = 27;
constexpr int32_t kTE16 = 28;
constexpr int32_t kPE24 = 29;
constexpr int32_t kHE32 = 30;
constexpr int32_t kIS84 = 49;
constexpr int32_t kIS66 = 50;
constexpr int32_t kIS88 = 51;

using Marked = std::array<int32_t, kMarkedPositions>;

// ---- FACSEL -------------------------------------------------------------------------

int32_t facePositions(const CountRule& rule, int32_t a, std::span<const int32_t> marked) {
  auto at = [&](size_t k) { return k < marked.size() ? marked[k] : 0; };
  switch (rule.face) {
    case FaceCount::kWedge: return a == 3 || a == 6 || a == 9 ? 3 : 4;
    case FaceCount::kWedgeIS33: return a == 3 ? 3 : 4;
    case FaceCount::kWedgeIS66: {
      const int32_t s = at(0) + at(1);
      return s == 6 || s == 16 ? 3 : 4;
    }
    case FaceCount::kSpring: return a == 4 ? 4 : 2;
    default: return rule.c;
  }
}

// The coordinates of internal node NODE; false for a node the store holds none for.
bool nodePoint(int32_t node, std::array<double, 3>& p) {
  if (node < 1 || node > highestNode() || !recordsHeld(kArrNodeCoordinates, node, node)) return false;
  std::array<float, 3> xyz{};
  ARRREC(kRead, kArrNodeCoordinates, node, xyz);
  p = {xyz[0], xyz[1], xyz[2]};
  return true;
}

// The sign of the element's numbering for the solid and interface shapes: the volume
// spanned from its first node by three more.
int32_t orientationOf(std::span<const int32_t> nodes, int32_t n, int32_t shape, int32_t c) {
  const bool cubic = shape >= kTE16 && shape <= kHE32;
  const bool interface = shape >= kIS84 && shape <= kIS88;
  if (!(shape >= 11 && shape <= 18) && !cubic && !(shape >= 47 && shape <= 51)) return 0;
  int32_t fourth = c + 1;
  if (shape == kTE16 || shape == kPE24) fourth = 16;
  if (shape == kHE32) fourth = 21;
  if (shape == kIS84 || shape == kIS88) fourth = 9;
  if (shape == kIS66) fourth = 7;
  const std::array<int32_t, 4> at = {1, cubic ? 4 : (interface ? 3 : 2), cubic ? 7 : (interface ? 5 : 3),
                                     fourth};
  std::array<std::array<double, 3>, 4> p{};
  for (size_t k = 0; k < at.size(); ++k) {
    const int32_t position = at[k];
    if (position > n || static_cast<size_t>(position) > nodes.size()) return 0;
    if (!nodePoint(nodes[static_cast<size_t>(position - 1)], p[k])) return 0;
  }
  std::array<std::array<double, 3>, 3> v{};
  for (size_t k = 0; k < 3; ++k) {
    for (size_t i = 0; i < 3; ++i) v[k][i] = p[k + 1][i] - p[0][i];
  }
  const std::array<double, 3> x = {v[0][1] * v[1][2] - v[0][2] * v[1][1],
                                   v[0][2] * v[1][0] - v[0][0] * v[1][2],
                                   v[0][0] * v[1][1] - v[0][1] * v[1][0]};
  return x[0] * v[2][0] + x[1] * v[2][1] + x[2] * v[2][2] >= 0.0 ? 1 : -1;
}

// ---- UEFACE's reordering ------------------------------------------------------------

// A new order of the marked positions of a cubic solid's face, by their sum.
struct CubicOrder {
  int32_t shape;
  std::array<int32_t, 3> sums;  // unused places 0
  std::array<int32_t, 12> order;
};
constexpr std::array<CubicOrder, 9> kCubicOrders = {{
    {kTE16, {45}, {1, 4, 7, 2, 3, 5, 6, 8, 9}},
    {kTE16, {74, 90}, {1, 4, 9, 2, 3, 5, 6, 7, 8}},
    {kTE16, {91}, {1, 2, 9, 3, 4, 5, 6, 7, 8}},
    {kPE24, {45, 180}, {1, 4, 7, 2, 3, 5, 6, 8, 9}},
    {kPE24, {128, 156}, {1, 4, 9, 12, 2, 3, 5, 6, 7, 8, 10, 11}},
    {kPE24, {160}, {1, 2, 9, 10, 3, 4, 5, 6, 7, 8, 11, 12}},
    {kHE32, {78, 318}, {1, 4, 7, 10, 2, 3, 5, 6, 8, 9, 11, 12}},
    {kHE32, {162, 190, 218}, {1, 4, 9, 12, 2, 3, 5, 6, 7, 8, 10, 11}},
    {kHE32, {214}, {1, 2, 9, 10, 3, 4, 5, 6, 7, 8, 11, 12}},
}};

// The marked list M of COUNT positions in the order FACSEL reads a face or edge of
// TARGET kind: the corners first. False when a cubic solid's face gives no usable list.
bool reorder(int32_t shape, int32_t target, int32_t count, const Marked& m, Marked& out) {
  auto mk = [&](int32_t k) { return k >= 1 && k <= kMarkedPositions ? m[static_cast<size_t>(k - 1)] : 0; };
  out = m;
  int64_t sum = 0;
  for (int32_t k = 1; k <= count; ++k) sum += mk(k);

  if (target == kEdgeTarget && count == 3) {
    const bool cornersFirst = (shape == kTR6 && mk(1) == 1 && mk(2) == 5) ||
                              ((shape == kQU8 || shape == kQU9) && mk(1) == 1 && mk(2) == 7);
    if (!cornersFirst) std::swap(out[1], out[2]);
    return true;
  }
  if (target == kEdgeTarget && (count == 4 || count == 5)) {
    const bool cornersFirst = (shape == kTR9 && mk(1) == 1 && mk(2) == 7) ||
                              (shape == kQU12 && mk(1) == 1 && mk(2) == 10) ||
                              (shape == kTR15 && mk(1) == 1 && mk(2) == 9);
    if (!cornersFirst) {
      out[1] = mk(count);
      for (int32_t k = 3; k <= count; ++k) out[static_cast<size_t>(k - 1)] = mk(k - 1);
    }
    return true;
  }
  if (target != kFaceTarget) return true;

  if (shape >= kTE16 && shape <= kHE32) {
    for (const CubicOrder& o : kCubicOrders) {
      if (o.shape != shape || std::find(o.sums.begin(), o.sums.end(), sum) == o.sums.end()) continue;
      out.fill(0);
      for (size_t k = 0; k < o.order.size() && o.order[k] != 0; ++k) out[k] = mk(o.order[k]);
      return true;
    }
    return false;
  }
  if (shape < kIS84 || shape > kIS88) return true;

  // The interface solids: the corners of one side, then those of the other.
  const int32_t k = shape == kIS66 && (sum == 21 || sum == 57) ? 3 : 4;
  const int32_t last = mk(count);
  std::vector<int32_t> order;
  if (last == 2 * k) {
    order = {mk(1), mk(2 * k - 1)};
    if (k == 3) {
      order.insert(order.end(), {mk(3), mk(6), mk(4), mk(2)});
    } else {
      order.insert(order.end(), {mk(5), mk(3), mk(8), mk(6), mk(4), mk(2)});
    }
  } else if (shape == kIS84 && sum == 42) {
    order = {mk(1), mk(2), mk(3), mk(4)};
  } else if ((shape == kIS84 && sum == 37) || (shape == kIS66 && sum == 42 && mk(1) == 1) ||
             (shape == kIS88 && sum == 56)) {
    order = {mk(1), mk(4), mk(5), mk(2)};
    if (count == 6) {
      order.insert(order.end(), {mk(6), mk(3)});
    } else {
      order.push_back(mk(3));
    }
  } else if ((shape == kIS66 && sum == 57) || (shape == kIS88 && sum == 100)) {
    order = {mk(1), mk(3), mk(5)};
    if (k == 4) order.push_back(mk(7));
    order.insert(order.end(), {mk(2), mk(4), mk(6)});
    if (k == 4) order.push_back(mk(8));
  } else {
    order = {mk(1), mk(3), last, mk(4), mk(2)};
    if (count == 6) order.push_back(mk(5));
  }
  out.fill(0);
  std::copy(order.begin(), order.end(), out.begin());
  return true;
}

}  // namespace

void FACSEL(std::span<const int32_t> nodes, int32_t n, int32_t shape, int32_t a,
            std::span<const int32_t> marked, int32_t& face, int32_t& orientation,
            int32_t& status) {
  // 1. The whole element.
  if (a == n) {
    face = 0;
    orientation = 0;
    status = kDone;
    return;
  }
  // 2. How many leading positions, and whether an edge of a solid is meant.
  const std::optional<CountRule> rule = countRuleOf(shape);
  if (!rule || rule->face == FaceCount::kNone) {
    face = kNoFace;
    orientation = 0;
    status = kNoEntry;
    return;
  }
  const bool edge = rule->edgeBelow > 0 && a < rule->edgeBelow;
  const int32_t c = edge ? kEdgeCount : facePositions(*rule, a, marked);

  // 3. Their sum and smallest.
  int64_t sum = 0;
  int32_t m = 0;
  for (int32_t k = 1; k <= c; ++k) {
    const int32_t p = static_cast<size_t>(k) <= marked.size() ? marked[static_cast<size_t>(k - 1)] : 0;
    sum += p;
    m = k == 1 ? p : std::min(m, p);
  }

  // 4. The face or edge of that sum.
  face = kNoFace;
  if (shape == kPositionIsFace) {
    face = clampWord(sum);
  } else {
    const ShapeSums sums = sumsOf(shape);
    for (const SumRule& r : edge ? sums.edges : sums.faces) {
      if (r.sum != sum) continue;
      face = r.m == 0 || r.m == m ? r.face : r.other;
      break;
    }
  }

  // 5. The element's orientation.
  orientation = orientationOf(nodes, n, shape, c);
  status = face == kNoFace ? kNoEntry : kDone;
}

void UEFACE(const int32_t& element, const int32_t& shape, const int32_t& kind,
            const int32_t& number, const int32_t& target, const int32_t& faceNodes,
            std::span<int32_t> work, const int32_t& size, const int32_t& start, int32_t& face,
            int32_t& status) {
  // 1.
  status = kDone;
  Marked marked{};
  Marked reordered{};

  // 2. The entity's nodes from word START + 1 of the work array on.
  const auto room = static_cast<int32_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(work.size())));
  if (start < 0 || start > room) {
    status = kTooSmall;
    return;
  }
  int32_t count = 0;
  UNODEG(kind, number, count, work.subspan(static_cast<size_t>(start)), room - start, status);
  if (status != kDone) return;
  const std::span<const int32_t> entity =
      work.subspan(static_cast<size_t>(start), static_cast<size_t>(std::clamp(count, 0, room - start)));

  // 3. The element's nodes, in the host's numbering.
  std::array<int32_t, kElementNodes> nodes{};
  int32_t n = 0;
  int32_t s = 0;
  UELEM(element, nodes, n, s);
  if (s != 0) {
    status = kBadElement;
    return;
  }
  if (n < 1) {
    status = kCountDiffers;
    return;
  }

  // 4. The positions of the element's nodes on the entity, once for each time the node
  // stands in the entity's list. The list holds the largest element's node count: more
  // marks than that cannot be a face.
  std::unordered_map<int32_t, int32_t> times;
  for (const int32_t node : entity) ++times[node];
  int64_t marks = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const auto at = times.find(nodes[static_cast<size_t>(i - 1)]);
    if (at == times.end()) continue;
    for (int32_t t = 0; t < at->second; ++t) {
      if (marks < kMarkedPositions) marked[static_cast<size_t>(marks)] = i;
      ++marks;
    }
  }
  if (marks == 0 || marks != faceNodes || marks > kMarkedPositions) {
    status = kCountDiffers;
    return;
  }

  // 5, 6. The corners first, then the face of the sums. FACSEL reads coordinates by the
  // store's node numbers: the node offset comes off the host's numbers first.
  if (!reorder(shape, target, faceNodes, marked, reordered)) {
    status = kNoMatch;
    return;
  }
  std::array<int32_t, kElementNodes> internal{};
  for (int32_t i = 0; i < n; ++i) {
    internal[static_cast<size_t>(i)] = clampWord(int64_t{nodes[static_cast<size_t>(i)]} - nodeOffset());
  }
  int32_t f = 0, orientation = 0;
  FACSEL(std::span<const int32_t>(internal).first(static_cast<size_t>(n)), n, shape, faceNodes,
         reordered, f, orientation, s);
  if (s != kDone) {
    status = kNoMatch;
    return;
  }
  face = f;
}

void UPFN(const int32_t& shape, const int32_t& face, const int32_t& /*spare*/,
          const int32_t& capacity, std::span<int32_t> list, int32_t& count, int32_t& status) {
  const auto room = static_cast<size_t>(std::clamp<int64_t>(capacity, 0, static_cast<int64_t>(list.size())));
  LOCTOP(shape, face, kEdgeWalkMode, list.first(room), count, status);
}

}  // namespace kvr
