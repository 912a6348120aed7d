// The surface intersection SRFINT with its surface frames and the cases of planes and
// spheres.
#include "geometry/srfint.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "geometry/geodsp.h"
#include "geometry/sixcyl.h"
#include "geometry/srfwork.h"
#include "modeldb/entrec.h"
#include "platform/fmtedit.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/msgarg.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

using srf::V3;

constexpr int32_t kRead = 1;
constexpr int32_t kArrPointCoordinates = 2;
constexpr int32_t kShapeKind = 6;               // entity kind of a shape, for its name
constexpr int32_t kShapeUnusable = 2165;        // "Shape" <name> "cannot be used for operation"
constexpr int32_t kNoCoordSystem = 2020;        // "The points can not define a coord system"

constexpr int32_t kPlane = 1;
constexpr int32_t kSphere = 2;
constexpr int32_t kCylinder = 3;
constexpr int32_t kCone = 4;
constexpr int32_t kNoCaseKind = 5;
constexpr int32_t kSurfaceClass = 0;
constexpr int32_t kSolidClass = 3;
constexpr int32_t kBoxFaces = 6;

constexpr int32_t kStatusFound = 0;
constexpr int32_t kStatusUnusable = 1;
constexpr int32_t kStatusNone = 2;

// Words of a shape record.
constexpr int32_t kWordOffset = 1;       // plane offset; radius at B of a cone
constexpr int32_t kWordType = 2;
constexpr int32_t kWordFirst = 3;        // first point; normal x
constexpr int32_t kWordSecond = 4;       // second point; sphere radius
constexpr int32_t kWordThird = 5;        // third point; radius at A
constexpr int32_t kWordFourth = 6;
constexpr int32_t kWordOriginX = 7;
constexpr int32_t kWordLengthX = 10;
constexpr int32_t kWordSystem = 16;      // coordinate system; first end face of a solid
constexpr int32_t kWordFaceDistance = 20;

float word(ShapeRecord s, int32_t k) { return s[static_cast<std::size_t>(k - 1)]; }
int32_t integer(ShapeRecord s, int32_t k) { return intOf(word(s, k)); }

// True when named array K holds records FIRST..LAST.
bool held(int32_t k, int64_t first, int64_t last) {
  return k >= 1 && k <= REGHED.top && first >= 1 && first <= last && last <= REGHED.ARRLEN(k);
}

// The record of shape N; false when array 10 does not hold it (a number from stored data
// would otherwise reach the store, whose refusal ends the run).
bool readShape(int32_t n, std::array<float, kShapeRecordWords>& s) {
  if (n < 1 || !held(kArrShapes, int64_t{n - 1} * kShapeWords + 1, int64_t{n} * kShapeWords)) {
    return false;
  }
  ARRREC(kRead, kArrShapes, n, s);
  return true;
}

// The coordinates of the point whose number is word K of S; false for a number outside
// the model's points.
bool readPoint(ShapeRecord s, int32_t k, V3& xyz) {
  const int32_t p = integer(s, k);
  if (p < 1 || p > MODCNT.word(kCntPoints) || !held(kArrPointCoordinates, p, p)) return false;
  ARRREC(kRead, kArrPointCoordinates, p, xyz);
  return true;
}

// The axes (rows) of coordinate system NUMBER from its three defining nodes: axis 3
// towards the second, axis 2 normal to their plane. A NUMBER below 1 gives the identity.
bool systemAxes(int32_t number, RowAxes& w, V3& origin) {
  w.setIdentity();
  origin = {0.0f, 0.0f, 0.0f};
  if (number < 1) return true;
  V3 onAxis{}, inPlane{};
  int32_t stat = 0;
  GEODSP.systemPoints(number, origin, onAxis, inPlane, stat);
  if (stat != 0) return false;
  GEODSP.frameFromPoints(origin, 3, onAxis, 2, inPlane, w, stat);
  return stat == 0;
}

// The rows of W as the 3 x 3 part of M and column 4 = -(rows . ORIGIN).
void framedAt(const RowAxes& w, const V3& origin, InvFrame4R& m) {
  srf::setIdentity(m);
  for (int32_t k = 1; k <= 3; ++k) {
    const V3 r = {w(k, 1), w(k, 2), w(k, 3)};
    srf::setRow(m, k, r);
    m(k, 4) = -srf::dot(r, origin);
  }
}

// Rows U, V, N and column 4 = -(rows . ORIGIN).
void rowsAt(const V3& u, const V3& v, const V3& n, const V3& origin, InvFrame4R& m) {
  srf::setIdentity(m);
  srf::setRow(m, 1, u);
  srf::setRow(m, 2, v);
  srf::setRow(m, 3, n);
  m(1, 4) = -srf::dot(u, origin);
  m(2, 4) = -srf::dot(v, origin);
  m(3, 4) = -srf::dot(n, origin);
}

// The frame of a plane, sphere, cylinder or cone record of any class, without a message.
bool surfaceFrame(ShapeRecord s, InvFrame4R& m) {
  srf::setIdentity(m);
  const int32_t type = integer(s, kWordType);
  const int32_t kind = (type % 100) % 10;
  const int32_t sub = (type % 100) / 10;
  switch (kind) {
    case kPlane: {
      if (sub == 0) {
        V3 p1{}, p2{}, p3{};
        if (!readPoint(s, kWordFirst, p1) || !readPoint(s, kWordSecond, p2) ||
            !readPoint(s, kWordThird, p3)) {
          return false;
        }
        RowAxes w;
        int32_t stat = 0;
        GEODSP.frameFromPoints(p1, 1, p2, 3, p3, w, stat);
        if (stat != 0) return false;
        framedAt(w, p1, m);
        return true;
      }
      const V3 given = {word(s, kWordFirst), word(s, kWordSecond), word(s, kWordThird)};
      V3 n{}, u{}, v{};
      if (!srf::unit(given, n) ||
          !srf::inPlaneAxes(n, u, v)) {
        return false;
      }
      RowAxes w;
      V3 origin{};
      if (!systemAxes(integer(s, kWordSystem), w, origin)) return false;
      // The rows applied to the system's local coordinates W (x - origin).
      const V3 rows[3] = {u, v, n};
      for (int32_t k = 1; k <= 3; ++k) {
        const V3& r = rows[k - 1];
        V3 composed{};
        for (int32_t j = 1; j <= 3; ++j) {
          composed[static_cast<std::size_t>(j - 1)] = r[0] * w(1, j) + r[1] * w(2, j) + r[2] * w(3, j);
        }
        srf::setRow(m, k, composed);
        m(k, 4) = -srf::dot(composed, origin);
      }
      // n . x = d holds for a normal of any length: with the normal made unit, so is d, or
      // the plane would lie at d from the origin instead of d / |n|.
      m(3, 4) -= word(s, kWordOffset) / srf::length(given);
      return true;
    }
    case kSphere: {
      V3 c{};
      if (!readPoint(s, kWordFirst, c)) return false;
      for (int32_t k = 1; k <= 3; ++k) m(k, 4) = -c[static_cast<std::size_t>(k - 1)];
      return true;
    }
    case kCylinder:
    case kCone: {
      V3 a{}, b{}, n{}, u{}, v{};
      if (!readPoint(s, kWordFirst, a) || !readPoint(s, kWordSecond, b) ||
          !srf::unit(srf::sub(b, a), n) || !srf::inPlaneAxes(n, u, v)) {
        return false;
      }
      rowsAt(u, v, n, a, m);
      return true;
    }
    default:
      return false;
  }
}

// What SRFINT knows of one of its surfaces.
struct Surface {
  int32_t number = 0;
  int32_t solidCode = 0;  // the packed code of a solid's face, for SRFFRX; 0 a surface
  int32_t kind = 0;
  std::array<float, kShapeRecordWords> record{};
  InvFrame4R frame{};
};

// The families whose frame failures name the shape: the pairs of spheres, cylinders and
// cones.
bool namesFailedShape(int32_t lo, int32_t hi) {
  return lo >= kSphere && lo <= kCone && hi >= kSphere && hi <= kCone;
}

// The sphere of S: centre and radius.
bool sphereData(const Surface& s, V3& centre, float& radius) {
  radius = word(s.record, kWordSecond);
  return readPoint(s.record, kWordFirst, centre);
}

// The cylinder or cone of S, with the length of its axis.
bool axialData(const Surface& s, AxialSurface& a, float& axisLength) {
  V3 b{};
  if (!readPoint(s.record, kWordFirst, a.base) || !readPoint(s.record, kWordSecond, b)) {
    return false;
  }
  const V3 d = srf::sub(b, a.base);
  axisLength = srf::length(d);
  a.radius = word(s.record, kWordThird);
  a.slope = 0.0f;
  if (s.kind == kCone && axisLength >= MACHCN.real(kMachTolerance)) {
    a.slope = (word(s.record, kWordOffset) - word(s.record, kWordThird)) / axisLength;
  }
  srf::unit(d, a.axis);
  a.frame = s.frame;
  return true;
}

}  // namespace

void SRFFRM(ShapeRecord s, InvFrame4R& frame, int32_t& status) {
  status = 0;
  if (integer(s, kWordType) / 100 != kSurfaceClass || !surfaceFrame(s, frame)) {
    srf::setIdentity(frame);
    MSGQ0(kNoCoordSystem);
    status = 1;
  }
}

void SRFFRR(ShapeRecord s, std::array<float, 3>& origin, RowAxes& axes, float& l1, float& l2,
            float& l3, int32_t& status) {
  status = 1;
  const int32_t type = integer(s, kWordType);
  if (type / 100 != kSolidClass || (type % 100) % 10 != kPlane) return;
  const int32_t sub = (type % 100) / 10;
  V3 o{};
  std::array<float, 3> local{};
  int32_t stat = 0;
  if (sub == 0) {
    V3 p4{}, p5{}, p6{};
    if (!readPoint(s, kWordFirst, o) || !readPoint(s, kWordSecond, p4) ||
        !readPoint(s, kWordThird, p5) || !readPoint(s, kWordFourth, p6)) {
      return;
    }
    GEODSP.frameFromPoints(o, 1, p4, 3, p5, axes, stat);
    if (stat != 0) return;
    GEODSP.localCoordinates(1, o, axes, p4, local, stat);
    l1 = local[0];
    if (stat == 0) GEODSP.localCoordinates(1, o, axes, p5, local, stat);
    l2 = local[1];
    if (stat == 0) GEODSP.localCoordinates(1, o, axes, p6, local, stat);
    l3 = local[2];
    if (stat != 0) return;
  } else if (sub >= 1 && sub <= 3) {
    V3 systemOrigin{};
    if (!systemAxes(integer(s, kWordSystem), axes, systemOrigin)) return;
    if (sub == 3) {
      o = {word(s, kWordOriginX), word(s, kWordOriginX + 1), word(s, kWordOriginX + 2)};
    } else if (!readPoint(s, kWordFirst, o)) {
      return;
    }
    if (sub == 1) {
      V3 corner{};
      if (!readPoint(s, kWordSecond, corner)) return;
      GEODSP.localCoordinates(1, o, axes, corner, local, stat);
      if (stat != 0) return;
      l1 = local[0];
      l2 = local[1];
      l3 = local[2];
    } else {
      l1 = word(s, kWordLengthX);
      l2 = word(s, kWordLengthX + 1);
      l3 = word(s, kWordLengthX + 2);
    }
  } else {
    return;
  }
  origin = o;
  status = 0;
}

void SRFFRX(int32_t code, InvFrame4R& frame, std::span<float, 10> q, int32_t mode,
            int32_t& status) {
  status = 1;
  std::array<float, kShapeRecordWords> s{};
  if (!readShape(code / 100, s)) return;
  int32_t t = code % 100;
  const int32_t kind = (integer(s, kWordType) % 100) % 10;
  if (kind == kPlane) {
    std::array<float, 3> o{};
    RowAxes e;
    std::array<float, 3> l{};
    int32_t stat = 0;
    SRFFRR(s, o, e, l[0], l[1], l[2], stat);
    if (stat != 0 || t < 1 || t > kBoxFaces) return;
    float sign = 1.0f;
    bool far = false;
    if (t > 3) {
      t -= 3;
      sign = -1.0f;
      far = true;
    }
    const int32_t axisOf[3] = {t % 3 + 1, (t + 1) % 3 + 1, t};  // rows j, k, i
    srf::setIdentity(frame);
    for (int32_t r = 1; r <= 3; ++r) {
      const int32_t a = axisOf[r - 1];
      const V3 axis = {sign * e(a, 1), sign * e(a, 2), sign * e(a, 3)};
      const float offset = far ? l[static_cast<std::size_t>(a - 1)] : 0.0f;
      srf::setRow(frame, r, axis);
      frame(r, 4) = -(sign * offset + srf::dot(axis, o));
    }
  } else if (kind == kCylinder || kind == kCone) {
    // A solid's record is built like a class-0 surface's: its lateral surface takes that
    // frame, and its end faces are planes across it.
    if (!surfaceFrame(s, frame)) {
      srf::setIdentity(frame);
      MSGQ0(kNoCoordSystem);
      return;
    }
    if (t == 1) {
      frame(3, 4) -= word(s, kWordSystem);
    } else if (t == 2) {
      for (int32_t i = 1; i <= 3; ++i) {
        for (int32_t j = 1; j <= 3; ++j) frame(i, j) = -frame(i, j);
      }
      frame(1, 4) = -frame(1, 4);
      frame(2, 4) = -frame(2, 4);
      frame(3, 4) = word(s, kWordSystem) + word(s, kWordFaceDistance) - frame(3, 4);
    }
  } else {
    return;
  }
  if (mode != 1) {
    std::fill(q.begin(), q.end(), 0.0f);
    q[6] = frame(3, 1);
    q[7] = frame(3, 2);
    q[8] = frame(3, 3);
    q[9] = frame(3, 4);
  }
  status = 0;
}

void SIXCS5(const InvFrame4R& frame1, const InvFrame4R& frame2, IsxTyp& result, int32_t& found) {
  found = 0;
  const V3 n1 = srf::row(frame1, 3);
  const V3 n2 = srf::row(frame2, 3);
  V3 d{};
  if (!srf::unit(srf::cross(n1, n2), d)) return;
  result.x = 11;
  result.form = 1;
  // The second plane in the first plane's local coordinates: a x + b y + c z + e = 0.
  const V3 abc = {srf::dot(srf::row(frame1, 1), n2), srf::dot(srf::row(frame1, 2), n2),
                  srf::dot(srf::row(frame1, 3), n2)};
  const V3 t1 = {frame1(1, 4), frame1(2, 4), frame1(3, 4)};
  const float e = frame2(3, 4) - srf::dot(abc, t1);
  // The first plane's origin: the local origin mapped back, -(axes' t1).
  V3 o1{};
  for (int32_t k = 1; k <= 3; ++k) {
    o1 = srf::sub(o1, srf::scale(srf::row(frame1, k), t1[static_cast<std::size_t>(k - 1)]));
  }
  const float smallest = MACHCN.real(kMachTolerance);
  V3 base{};
  if (std::fabs(abc[0]) > smallest) {
    base = srf::sub(o1, srf::scale(srf::row(frame1, 1), e / abc[0]));
  } else if (std::fabs(abc[1]) > smallest) {
    base = srf::sub(o1, srf::scale(srf::row(frame1, 2), e / abc[1]));
  } else {
    return;
  }
  for (int32_t k = 1; k <= 3; ++k) {
    result.P(k) = base[static_cast<std::size_t>(k - 1)];
    result.P(k + 3) = d[static_cast<std::size_t>(k - 1)];
  }
  found = 1;
}

void SIXPSP(const InvFrame4R& plane, std::span<const float, 3> centre, float radius,
            IsxTyp& result, int32_t& found) {
  found = 0;
  result.x = 12;
  result.form = 3;
  const V3 c = {centre[0], centre[1], centre[2]};
  const float z0 = srf::dot(srf::row(plane, 3), c) + plane(3, 4);
  if (std::fabs(z0) >= radius) return;
  const V3 n = srf::row(plane, 3);
  srf::setResultFrame(result, srf::row(plane, 1), srf::row(plane, 2), n,
                      srf::sub(c, srf::scale(n, z0)));
  result.params = {};
  result.P(9) = 1.0f;
  result.P(11) = std::sqrt(radius * radius - z0 * z0);
  found = 1;
}

void SIXSSP(std::span<const float, 3> centre1, float radius1, std::span<const float, 3> centre2,
            float radius2, IsxTyp& result, int32_t& found) {
  found = 0;
  result.x = 22;
  result.form = 3;
  const V3 c1 = {centre1[0], centre1[1], centre1[2]};
  const V3 c2 = {centre2[0], centre2[1], centre2[2]};
  const V3 between = srf::sub(c2, c1);
  V3 n{};
  if (!srf::unit(between, n)) return;
  const float d = srf::length(between);
  if (!(d < radius1 + radius2 && radius1 < radius2 + d && radius2 < radius1 + d)) return;
  V3 y0{}, y{}, x{};
  if (!srf::unit({n[2], 0.0f, -n[0]}, y0) && !srf::unit({0.0f, n[2], -n[1]}, y0)) {
    found = 99;
    return;
  }
  if (!srf::unit(srf::cross(n, y0), y) || !srf::unit(srf::cross(y, n), x)) {
    found = 99;
    return;
  }
  const float u = d / 2.0f + (radius1 * radius1 - radius2 * radius2) / (2.0f * d);
  srf::setResultFrame(result, x, y, n, srf::add(c1, srf::scale(n, u)));
  result.params = {};
  result.P(9) = 1.0f;
  result.P(11) = std::sqrt(std::max(radius1 * radius1 - u * u, 0.0f));
  found = 1;
}

void SRFINT(int32_t code1, int32_t code2, IsxTyp& result) {
  result = IsxTyp{};
  std::array<Surface, 2> s{};
  const int32_t codes[2] = {code1, code2};
  for (int32_t k = 0; k < 2; ++k) {
    Surface& f = s[static_cast<std::size_t>(k)];
    f.number = codes[k] / 100;
    const int32_t t = codes[k] % 100;
    if (!readShape(f.number, f.record)) {
      result.status = kStatusUnusable;
      return;
    }
    const int32_t type = integer(f.record, kWordType);
    int32_t cls = type / 100;
    f.kind = (type % 100) % 10;
    const bool axial = f.kind == kCylinder || f.kind == kCone;
    if (cls == kSurfaceClass && axial && t > 0) cls = kSolidClass;
    // Classes 1 and 2 (and any class but 0 and 3, which no case knows) are refused.
    bool refused = (cls != kSurfaceClass && cls != kSolidClass) ||
                   (cls == kSurfaceClass && f.kind >= kNoCaseKind);
    if (cls == kSolidClass && f.kind == kPlane && (t < 1 || t > kBoxFaces)) refused = true;
    if (refused) {
      MSGENT(kShapeUnusable, f.number, kShapeKind);
      result.status = kStatusUnusable;
      return;
    }
    if (cls == kSolidClass && axial && (t == 1 || t == 2)) f.kind = kPlane;
    f.solidCode = cls == kSolidClass ? codes[k] : 0;
  }

  const int32_t lo = std::min(s[0].kind, s[1].kind);
  const int32_t hi = std::max(s[0].kind, s[1].kind);
  for (Surface& f : s) {
    int32_t stat = 0;
    if (f.solidCode != 0) {
      std::array<float, 10> q{};
      SRFFRX(f.solidCode, f.frame, q, 1, stat);
    } else {
      SRFFRM(f.record, f.frame, stat);
    }
    if (stat != 0) {
      if (namesFailedShape(lo, hi)) MSGENT(kShapeUnusable, f.number, kShapeKind);
      result.status = kStatusUnusable;
      return;
    }
  }

  // Pairs of known kinds are taken with the smaller kind first.
  if (s[0].kind > s[1].kind && s[0].kind >= kPlane && s[0].kind <= kCone && s[1].kind >= kPlane) {
    std::swap(s[0], s[1]);
  }
  const int32_t k1 = s[0].kind;
  const int32_t k2 = s[1].kind;
  int32_t found = 0;
  const float smallest = MACHCN.real(kMachTolerance);

  if (k1 == kPlane && k2 == kPlane) {
    SIXCS5(s[0].frame, s[1].frame, result, found);
  } else if (k1 == kPlane && k2 == kSphere) {
    V3 c{};
    float r = 0.0f;
    if (!sphereData(s[1], c, r)) {
      result.status = kStatusUnusable;
      return;
    }
    SIXPSP(s[0].frame, c, r, result, found);
  } else if (k1 == kPlane && (k2 == kCylinder || k2 == kCone)) {
    AxialSurface a;
    float length = 0.0f;
    if (!axialData(s[1], a, length) || length < smallest) {
      MSGENT(kShapeUnusable, s[1].number, kShapeKind);
      result.status = kStatusUnusable;
      return;
    }
    SIXCS4(s[0].frame, a.base, a.axis, a.radius, a.slope, result, found);
  } else if (k1 == kSphere && k2 == kSphere) {
    V3 c1{}, c2{};
    float r1 = 0.0f, r2 = 0.0f;
    if (!sphereData(s[0], c1, r1) || !sphereData(s[1], c2, r2)) {
      result.status = kStatusUnusable;
      return;
    }
    if (r2 < r1) {
      std::swap(c1, c2);
      std::swap(r1, r2);
    }
    SIXSSP(c1, r1, c2, r2, result, found);
  } else if (k1 == kSphere && (k2 == kCylinder || k2 == kCone)) {
    V3 c{};
    float r = 0.0f;
    AxialSurface a;
    float length = 0.0f;
    if (!sphereData(s[0], c, r) || !axialData(s[1], a, length)) {
      result.status = kStatusUnusable;
      return;
    }
    SIXCS3(c, r, s[0].frame, a.base, a.axis, a.radius, a.slope, s[1].frame, result, found);
  } else if ((k1 == kCylinder || k1 == kCone) && (k2 == kCylinder || k2 == kCone)) {
    AxialSurface a1, a2;
    float l1 = 0.0f, l2 = 0.0f;
    if (!axialData(s[0], a1, l1) || !axialData(s[1], a2, l2)) {
      result.status = kStatusUnusable;
      return;
    }
    if (k1 == kCylinder && k2 == kCylinder && a2.radius < a1.radius) std::swap(a1, a2);
    // The case routines write the radius at their local origin back; a second pass starts
    // again from the radii of the records.
    const AxialSurface first = a1;
    const AxialSurface second = a2;
    if (k1 + k2 == kCylinder + kCone) {
      SIXCS2(a1, a2, result, found);
    } else {
      SIXCS1(a1, a2, result, found);
    }
    if (result.x == 44 && result.form == 6 && found == 0) {
      a1 = second;
      a2 = first;
      SIXCS1(a1, a2, result, found);
    }
  } else if (k1 >= kPlane && k1 <= kNoCaseKind && (k2 == 0 || k2 > kNoCaseKind)) {
    SIXCS5(s[0].frame, s[1].frame, result, found);
  } else {
    result.status = kStatusUnusable;
    return;
  }
  result.status = found == 1 ? kStatusFound : kStatusNone;
}

}  // namespace kvr
