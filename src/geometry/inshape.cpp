#include "geometry/inshape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "geometry/elshap.h"
#include "geometry/vector3.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

// The orientation mode of FACNRM that returns the normal as computed.
constexpr int32_t kNormalAsComputed = 3;
// Length of the vertical ray of the prism test.
constexpr float kRayLength = 1000.0f;

// N cut to what the three arrays hold.
std::size_t usable(int32_t n, std::span<const float> x, std::span<const float> y,
                   std::span<const float> z) {
  if (n <= 0) return 0;
  return std::min({static_cast<std::size_t>(n), x.size(), y.size(), z.size()});
}

}  // namespace

void PONSEG(float px, float py, float pz, float ax, float ay, float az, float bx, float by,
            float bz, float dist, int32_t& result) {
  result = 0;
  const std::array<float, 3> ab{bx - ax, by - ay, bz - az};
  const std::array<float, 3> ap{px - ax, py - ay, pz - az};
  float length = 0.0f, s = 0.0f;
  VLEN3(ab, length);
  // A segment of no length would hold every point: it holds those within DIST of A.
  if (length == 0.0f) {
    if (RVLEN(ap) <= dist) result = 1;
    return;
  }
  VDOT3(ab, ap, s);
  // The square of the rounded length falls below AB . AB for about a quarter of all
  // segments, and P exactly at B would be taken as beyond it.
  float squared = 0.0f;
  VDOT3(ab, ab, squared);
  if (s < 0.0f || s > squared) return;
  std::array<float, 3> w{};
  VCRS3(ab, ap, w);
  if (dist * length >= RVLEN(w)) result = 1;
}

void PINBOX(float px, float py, float pz, float x1, float y1, float z1, float x2, float y2,
            float z2, int32_t& result) {
  auto within = [](float p, float a, float b) { return std::min(a, b) <= p && p <= std::max(a, b); };
  result = within(px, x1, x2) && within(py, y1, y2) && within(pz, z1, z2) ? 1 : 0;
}

void PINP2D(float px, float py, int32_t n, std::span<const float> u, std::span<const float> v,
            int32_t& result) {
  const std::size_t count =
      n <= 0 ? 0 : std::min({static_cast<std::size_t>(n), u.size(), v.size()});
  result = -1;
  if (count == 0) return;
  int32_t r = -1;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t next = i + 1 == count ? 0 : i + 1;
    const float a = u[i] - px, b = v[i] - py;
    const float c = u[next] - px, d = v[next] - py;
    const float f = (b * c - a * d) * (c - a);
    if (f > 0.0f) {
      if ((a > 0.0f || c > 0.0f) && (a <= 0.0f || c <= 0.0f) && (b > 0.0f || d > 0.0f)) r = -r;
    } else if (f == 0.0f) {
      if ((a >= 0.0f || c >= 0.0f) && (a <= 0.0f || c <= 0.0f) && (b >= 0.0f || d >= 0.0f) &&
          (b <= 0.0f || d <= 0.0f)) {
        result = 0;
        return;
      }
    }
  }
  result = r;
}

void PTMEAN(std::span<const float> x, std::span<const float> y, std::span<const float> z,
            int32_t n, float& cx, float& cy, float& cz) {
  const std::size_t count = usable(n, x, y, z);
  if (count == 0) return;
  float sx = 0.0f, sy = 0.0f, sz = 0.0f;
  for (std::size_t i = 0; i < count; ++i) {
    sx += x[i];
    sy += y[i];
    sz += z[i];
  }
  const float m = static_cast<float>(count);
  cx = sx / m;
  cy = sy / m;
  cz = sz / m;
}

void LPLINT(std::span<const float, 2> lx, std::span<const float, 2> ly,
            std::span<const float, 2> lz, std::span<const float, 3> x,
            std::span<const float, 3> y, std::span<const float, 3> z, float& ix, float& iy,
            float& iz, float& t) {
  float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
  PLNCOF(x, y, z, a, b, c, d);
  const float x0 = lx[0], y0 = ly[0], z0 = lz[0];
  const float dx = lx[1] - x0, dy = ly[1] - y0, dz = lz[1] - z0;
  const float den = a * dx + b * dy + c * dz;
  float s = 0.0f;
  if (std::fabs(den) < MACHCN.real(kMachTolerance)) {
    s = 1.0f;
  } else if (std::fabs(den) > MACHCN.real(kMachLargestReal)) {
    s = 0.0f;
  } else {
    s = -(a * x0 + b * y0 + c * z0 + d) / den;
  }
  ix = x0 + s * dx;
  iy = y0 + s * dy;
  iz = z0 + s * dz;
  t = s;
}

void PLYPRJ(std::span<const float> x, std::span<const float> y, std::span<const float> z,
            float qx, float qy, float qz, int32_t n, std::span<float> xo, std::span<float> yo,
            std::span<float> zo, int32_t& status) {
  const std::size_t count = usable(n, x, y, z);
  if (count < 3) {
    status = 1;
    return;
  }
  float nx = 0.0f, ny = 0.0f, nz = 0.0f;
  int32_t stat = 0;
  FACNRM(3, x, y, z, kNormalAsComputed, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, nx, ny, nz,
         stat);
  status = stat;
  if (stat != 0) return;
  const std::array<float, 2> lx{qx, qx + nx}, ly{qy, qy + ny}, lz{qz, qz + nz};
  float ix = 0.0f, iy = 0.0f, iz = 0.0f, t = 0.0f;
  LPLINT(lx, ly, lz, x.first<3>(), y.first<3>(), z.first<3>(), ix, iy, iz, t);
  const float mx = qx - ix, my = qy - iy, mz = qz - iz;
  const std::size_t out = std::min({count, xo.size(), yo.size(), zo.size()});
  for (std::size_t i = 0; i < out; ++i) {
    xo[i] = x[i] + mx;
    yo[i] = y[i] + my;
    zo[i] = z[i] + mz;
  }
}

void PINPOL(float px, float py, float pz, int32_t n, std::span<const float> x,
            std::span<const float> y, std::span<const float> z, float qx, float qy, float qz,
            int32_t& result) {
  result = 0;
  // The translated polygon lives in fixed work arrays: more vertices would not fit.
  if (n < 3 || n > kPrismVertices || usable(n, x, y, z) < static_cast<std::size_t>(n)) return;
  const std::size_t count = static_cast<std::size_t>(n);
  std::array<float, kPrismVertices> xt{}, yt{}, zt{};
  int32_t stat = 0;
  PLYPRJ(x, y, z, qx, qy, qz, n, xt, yt, zt, stat);
  // Without a normal there is no translate: the polygon bounds no prism.
  if (stat != 0) return;

  // The box of both polygons' vertices.
  float lo[3] = {x[0], y[0], z[0]}, hi[3] = {x[0], y[0], z[0]};
  auto widen = [&](float vx, float vy, float vz) {
    const float v[3] = {vx, vy, vz};
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], v[k]);
      hi[k] = std::max(hi[k], v[k]);
    }
  };
  for (std::size_t i = 0; i < count; ++i) {
    widen(x[i], y[i], z[i]);
    widen(xt[i], yt[i], zt[i]);
  }
  int32_t inBox = 0;
  PINBOX(px, py, pz, lo[0], lo[1], lo[2], hi[0], hi[1], hi[2], inBox);
  if (inBox == 0) return;

  const std::array<float, 2> rx{px, px}, ry{py, py}, rz{pz, pz + kRayLength};
  int32_t above = 0, below = 0;
  // Face F: 1 the polygon, 2 its translate, 3 .. n + 2 the side quadrilaterals.
  auto cut = [&](std::span<const float> fx, std::span<const float> fy,
                 std::span<const float> fz) -> bool {
    int32_t where = 0;
    PINP2D(px, py, static_cast<int32_t>(fx.size()), fx, fy, where);
    if (where == 0) return true;
    if (where == 1) {
      float ix = 0.0f, iy = 0.0f, iz = 0.0f, t = 0.0f;
      LPLINT(rx, ry, rz, fx.first<3>(), fy.first<3>(), fz.first<3>(), ix, iy, iz, t);
      ++(iz > pz ? above : below);
    }
    return false;
  };
  if (cut(x.first(count), y.first(count), z.first(count))) {
    result = 1;
    return;
  }
  if (cut(std::span<const float>(xt).first(count), std::span<const float>(yt).first(count),
          std::span<const float>(zt).first(count))) {
    result = 1;
    return;
  }
  for (std::size_t a = 0; a < count; ++a) {
    const std::size_t b = a + 1 == count ? 0 : a + 1;
    // Corners a, b, b', a': a simple quadrilateral; the order a, b, a', b' would cross
    // itself and miss half of every side face that is not upright.
    const std::array<float, 4> fx{x[a], x[b], xt[b], xt[a]};
    const std::array<float, 4> fy{y[a], y[b], yt[b], yt[a]};
    const std::array<float, 4> fz{z[a], z[b], zt[b], zt[a]};
    if (cut(fx, fy, fz)) {
      result = 1;
      return;
    }
  }
  result = above > 0 && below > 0 && below % 2 == 1 ? 1 : 0;
}

}  // namespace kvr
