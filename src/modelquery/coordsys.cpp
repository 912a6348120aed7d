// Coordinate systems: UCSYS2, UCOCYL, LCSFRM, FRMAXN, LCSCRD, LCSAXP and the defining
// points behind the surface frames of the geometry kernel.
#include "modelquery/coordsys.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/geodsp.h"
#include "geometry/matrix4.h"
#include "geometry/vector3.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/session.h"
#include "platform/fmtedit.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kIntegers = -1;
constexpr int32_t kSystemType = 8;     // attribute type of a coordinate system
constexpr int32_t kSystemKind = 25;    // entity kind of a coordinate system
constexpr int32_t kSystemValues = 4;
constexpr float kNodeRounding = 0.1f;  // node numbers held as reals: value + 0.1, truncated

constexpr int32_t kDone = 0;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kNoNode = 3;
constexpr int32_t kTooSmall = 9;

constexpr int32_t kCartesian = 1;
constexpr int32_t kSpherical = 2;
constexpr int32_t kCylindrical = 3;
constexpr int32_t kConical = 4;

constexpr int32_t kGeoDegToRad = 2;
constexpr int32_t kGeoTolerance = 3;  // 0.001: a direction this near B is taken as B
constexpr float kNoAngle = 0.001f;    // degrees; a smaller angle is 0

using F3 = std::array<float, 3>;
using D3 = std::array<double, 3>;

// The type and the three defining nodes of system NUMBER; false when it has no entry or
// a node lies outside 1..the highest node (its coordinates could not be read).
bool readSystem(int32_t number, int32_t& type, std::array<int32_t, 3>& nodes) {
  std::array<float, kSystemValues> v{};
  int32_t count = kSystemValues;
  ATTVLR(kRead, kSystemType, number, 1, count, v);
  if (count == 0) return false;
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    const int32_t n = intOf(double{v[k + 1]} + kNodeRounding);
    if (n < 1 || n > highestNode() || !recordsHeld(kArrNodeCoordinates, n, n)) return false;
    nodes[k] = n;
  }
  type = intOf(v[0]);
  return true;
}

F3 nodeXYZ(int32_t n) {
  F3 xyz{};
  ARRREC(kRead, kArrNodeCoordinates, n, xyz);
  return xyz;
}

// V / |V|, a length below the smallest real taken as 1.
F3 normalised(const F3& v) {
  float length = RVLEN(v);
  if (length < MACHCN.real(kMachTolerance)) length = 1.0f;
  return {v[0] / length, v[1] / length, v[2] / length};
}

D3 toDouble(std::span<const float, 3> v) { return {v[0], v[1], v[2]}; }

double dot(const D3& a, const D3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// An angle in radians in degrees, below the smallest angle 0.
float degrees(float radians) {
  const float deg = radians / GEOCON.real(kGeoDegToRad);
  return std::fabs(deg) < kNoAngle ? 0.0f : deg;
}

}  // namespace

void UCSYS2(const int32_t& number, int32_t& type, std::span<float, 6> axes, int32_t& node1,
            int32_t& node2, int32_t& node3, int32_t& count, std::span<int32_t> nodes,
            const int32_t& size, int32_t& status) {
  const int32_t n = highestNode();
  if (size < n) {
    status = kTooSmall;
    return;
  }
  if (number < 1 || number > MODCNT.word(kCntCoordSystems)) {
    status = kOutOfRange;
    return;
  }
  int32_t t = 0;
  std::array<int32_t, 3> defining{};
  // A defining node outside the model is answered as a missing system: its coordinates
  // would be read from outside the node array.
  if (!readSystem(number, t, defining)) {
    status = kMissing;
    return;
  }
  type = t;
  node1 = defining[0];
  node2 = defining[1];
  node3 = defining[2];
  const F3 p1 = nodeXYZ(node1);
  const F3 p2 = nodeXYZ(node2);
  const F3 p3 = nodeXYZ(node3);
  const F3 u = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
  const F3 w = {p3[0] - p1[0], p3[1] - p1[1], p3[2] - p1[2]};
  F3 nrm{}, x{};
  RVCRS(u, w, nrm);
  RVCRS(nrm, u, x);
  x = normalised(x);
  nrm = normalised(nrm);
  std::copy(x.begin(), x.end(), axes.begin());
  std::copy(nrm.begin(), nrm.end(), axes.begin() + 3);

  // The node records hold each node's system in word 2; they are read in one transfer.
  count = 0;
  if (n >= 1 && recordsHeld(kArrNodeConditions, 1, n)) {
    std::vector<int32_t> records(static_cast<std::size_t>(n) * kNodeConditionWords);
    int32_t stat = 0;
    ARRIO(kRead, kArrNodeConditions, 1, n, kIntegers, records, {}, stat);
    for (int32_t i = 1; i <= n; ++i) {
      if (records[static_cast<std::size_t>(i - 1) * kNodeConditionWords + 1] != number) continue;
      if (static_cast<std::size_t>(count) < nodes.size()) {
        nodes[static_cast<std::size_t>(count)] = clampWord(int64_t{i} + nodeOffset());
      }
      ++count;
    }
  }
  status = count == 0 ? kNoNode : kDone;
}

void UCOCYL(const int32_t& type, std::span<const float, 6> axes, std::span<const float, 3> origin,
            std::span<const float, 3> point, std::span<float, 6> directions) {
  const F3 a = {axes[0], axes[1], axes[2]};
  const F3 b = {axes[3], axes[4], axes[5]};
  const F3 d = {point[0] - origin[0], point[1] - origin[1], point[2] - origin[2]};
  F3 n{};
  RVCRS(a, b, n);
  F3 first{}, second{};
  switch (type) {
    case kCartesian:
      first = a;
      second = b;
      break;
    case kSpherical: {
      const F3 r = normalised(d);
      F3 bb = b;
      if (std::fabs(RVDOT(b, r)) > 1.0f - GEOCON.real(kGeoTolerance)) bb = n;
      const float along = RVDOT(bb, r);
      first = r;
      second = normalised({bb[0] - along * r[0], bb[1] - along * r[1], bb[2] - along * r[2]});
      break;
    }
    case kCylindrical: {
      F3 nd{};
      RVCRS(n, d, nd);
      if (nd[0] == 0.0f && nd[1] == 0.0f && nd[2] == 0.0f) {
        // On the axis the radial direction is undefined: the system's own axes.
        first = a;
        second = b;
        break;
      }
      const float along = RVDOT(n, d);
      first = normalised({d[0] - along * n[0], d[1] - along * n[1], d[2] - along * n[2]});
      RVCRS(n, first, second);
      break;
    }
    default:
      return;
  }
  std::copy(first.begin(), first.end(), directions.begin());
  std::copy(second.begin(), second.end(), directions.begin() + 3);
}

void LCSFRM(int32_t number, int32_t& type, std::span<float, 3> origin, ColumnAxes& frame,
            int32_t& failed) {
  frame.setIdentity();
  failed = 0;
  type = 1;
  if (number <= 0 || ENTEXS(number, kSystemKind) == 0) return;
  std::array<float, kSystemValues> v{};
  int32_t count = kSystemValues;
  ATTVLR(kRead, kSystemType, number, 1, count, v);
  // The existence test passes every number while no system was ever deleted: a system
  // without an entry is one that does not exist.
  if (count == 0) return;
  type = intOf(v[0]);
  int32_t t = 0;
  std::array<int32_t, 3> defining{};
  if (!readSystem(number, t, defining)) {
    failed = 1;
    return;
  }
  const F3 p1 = nodeXYZ(defining[0]);
  const F3 p2 = nodeXYZ(defining[1]);
  const F3 p3 = nodeXYZ(defining[2]);
  std::copy(p1.begin(), p1.end(), origin.begin());
  int32_t stat = 0;
  FRM2AX(p1, 3, p2, 2, p3, 3, frame.values, stat);
  if (stat != 0) {
    frame.setIdentity();
    failed = 1;
  }
}

void FRMAXN(std::span<const float, 3> origin, int32_t i, std::span<const float, 3> point1,
            int32_t j, std::span<const float, 3> point2, RowAxes& frame, int32_t& status) {
  frame.setIdentity();
  status = 1;
  if (i == j || i < 1 || i > 3 || j < 1 || j > 3) return;
  const int32_t k = 6 - i - j;
  const bool cyclic = i - k == -1 || i - k == 2;
  const D3 o = toDouble(origin);
  D3 a = {double{point1[0]} - o[0], double{point1[1]} - o[1], double{point1[2]} - o[2]};
  D3 t = {double{point2[0]} - o[0], double{point2[1]} - o[1], double{point2[2]} - o[2]};
  D3 nrm{}, c{};
  int32_t s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  DVUNIT(a, a, s1);
  DVUNIT(t, t, s2);
  if (s1 != 0 || s2 != 0) return;
  if (cyclic) {
    DVCRS(a, t, nrm);
  } else {
    DVCRS(t, a, nrm);
  }
  DVUNIT(nrm, nrm, s3);
  if (cyclic) {
    DVCRS(nrm, a, c);
  } else {
    DVCRS(a, nrm, c);
  }
  DVUNIT(c, c, s4);
  if (s3 != 0 || s4 != 0) return;
  for (int32_t m = 1; m <= 3; ++m) {
    const auto x = static_cast<std::size_t>(m - 1);
    frame(i, m) = static_cast<float>(a[x]);
    frame(j, m) = static_cast<float>(nrm[x]);
    frame(k, m) = static_cast<float>(c[x]);
  }
  status = 0;
}

void LCSCRD(int32_t type, std::span<const float, 3> origin, const RowAxes& frame,
            std::span<const float, 3> point, std::span<float, 3> local, int32_t& status) {
  status = 1;
  if (type < kCartesian || type > kConical) return;
  const F3 d = {point[0] - origin[0], point[1] - origin[1], point[2] - origin[2]};
  F3 l{};
  for (int32_t k = 1; k <= 3; ++k) {
    l[static_cast<std::size_t>(k - 1)] = frame(k, 1) * d[0] + frame(k, 2) * d[1] + frame(k, 3) * d[2];
  }
  const float x = l[0], y = l[1], z = l[2];
  auto angle = [](float num, float den) {
    return num == 0.0f && den == 0.0f ? 0.0f : degrees(std::atan2(num, den));
  };
  switch (type) {
    case kCartesian:
      break;
    case kSpherical: {
      const float across = std::sqrt(x * x + y * y);
      float polar = angle(across, z);
      if (polar < 0.0f) polar += 360.0f;
      l = {std::sqrt(x * x + y * y + z * z), polar, angle(y, x)};
      break;
    }
    default: {
      float around = angle(y, x);
      if (around < 0.0f) around += 360.0f;
      l = {std::sqrt(x * x + y * y), around, z};
      break;
    }
  }
  std::copy(l.begin(), l.end(), local.begin());
  status = 0;
}

void LCSAXP(int32_t type, std::span<const float, 3> origin, const ColumnAxes& frame, float slope,
            std::span<const float, 3> point, ColumnAxes& axes, int32_t& status) {
  status = 0;
  if (type < kCartesian || type > kConical) return;
  if (type == kCartesian) {
    axes = frame;
    return;
  }
  const D3 o = toDouble(origin);
  D3 d = {double{point[0]} - o[0], double{point[1]} - o[1], double{point[2]} - o[2]};
  int32_t stat = 0;
  DVUNIT(d, d, stat);
  if (stat != 0) {
    axes = frame;
    return;
  }
  auto column = [&](int32_t c) -> D3 { return {frame(1, c), frame(2, c), frame(3, c)}; };
  const D3 l = {dot(column(1), d), dot(column(2), d), dot(column(3), d)};
  const D3 e3 = {0.0, 0.0, 1.0};
  std::array<D3, 3> local{};
  if (type == kSpherical) {
    D3 r{}, t{}, s{};
    DVUNIT(l, r, stat);
    D3 er{};
    DVCRS(e3, r, er);
    DVUNIT(er, t, stat);
    if (stat != 0) t = {0.0, 1.0, 0.0};  // r along the third axis
    D3 rt{};
    DVCRS(r, t, rt);
    DVUNIT(rt, s, stat);
    local = {r, t, s};
  } else {
    D3 r{}, t{}, er{};
    DVUNIT(D3{l[0], l[1], 0.0}, r, stat);
    if (stat != 0) {
      axes = frame;
      return;
    }
    DVCRS(e3, r, er);
    DVUNIT(er, t, stat);
    if (type == kCylindrical) {
      local = {r, t, e3};
    } else {
      D3 a{}, q{}, ta{};
      DVUNIT(D3{slope * r[0] + e3[0], slope * r[1] + e3[1], slope * r[2] + e3[2]}, a, stat);
      DVCRS(t, a, ta);
      DVUNIT(ta, q, stat);
      local = {q, t, a};
    }
  }
  ColumnAxes out;
  for (int32_t c = 1; c <= 3; ++c) {
    const D3& v = local[static_cast<std::size_t>(c - 1)];
    for (int32_t i = 1; i <= 3; ++i) {
      out(i, c) = static_cast<float>(frame(i, 1) * v[0] + frame(i, 2) * v[1] + frame(i, 3) * v[2]);
    }
  }
  axes = out;
}

void systemPoints(int32_t number, std::span<float, 3> origin, std::span<float, 3> onAxis,
                  std::span<float, 3> inPlane, int32_t& status) {
  status = 1;
  int32_t type = 0;
  std::array<int32_t, 3> nodes{};
  if (number < 1 || !readSystem(number, type, nodes)) return;
  const F3 p1 = nodeXYZ(nodes[0]);
  const F3 p2 = nodeXYZ(nodes[1]);
  const F3 p3 = nodeXYZ(nodes[2]);
  std::copy(p1.begin(), p1.end(), origin.begin());
  std::copy(p2.begin(), p2.end(), onAxis.begin());
  std::copy(p3.begin(), p3.end(), inPlane.begin());
  status = 0;
}

void installCoordinateQueries() {
  GEODSP.frameFromPoints = FRMAXN;
  GEODSP.localCoordinates = LCSCRD;
  GEODSP.systemPoints = systemPoints;
}

}  // namespace kvr
