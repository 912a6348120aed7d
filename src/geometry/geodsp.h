// GEODSP: the query routines through which the geometry kernel reads the model. The
// kernel sits below the model queries, so it reaches them only through this table, which
// the query session start fills. Until then each entry answers failure.
#pragma once

#include <cstdint>
#include <span>

#include "geometry/axes3.h"
#include "runtime/ftext.h"

namespace kvr {

// UNODE: the coordinates of node NODE (external number); STATUS 0, else no coordinates.
using NodeCoordinates = void (*)(const int32_t& node, std::span<float, 3> xyz,
                                 int32_t& status);

// FRMAXN: the frame of ORIGIN and two points with the axes as rows, axis I towards POINT1
// and axis J normal to the plane of the three points; STATUS 0, else 1 with the identity.
using FrameFromPoints = void (*)(std::span<const float, 3> origin, int32_t i,
                                 std::span<const float, 3> point1, int32_t j,
                                 std::span<const float, 3> point2, RowAxes& frame,
                                 int32_t& status);

// LCSCRD: the local coordinates of TYPE of POINT about ORIGIN in FRAME; STATUS 0, else 1
// with LOCAL unwritten.
using LocalCoordinates = void (*)(int32_t type, std::span<const float, 3> origin,
                                  const RowAxes& frame, std::span<const float, 3> point,
                                  std::span<float, 3> local, int32_t& status);

// The coordinates of the three defining nodes of coordinate system NUMBER (its origin, a
// point on its third axis, a point in the plane of its first and third axes); STATUS 0,
// else 1 (no such system, or a defining node outside the model) with nothing written.
using SystemPoints = void (*)(int32_t number, std::span<float, 3> origin,
                              std::span<float, 3> onAxis, std::span<float, 3> inPlane,
                              int32_t& status);

// UPNT2: the coordinates of point NUMBER and its name into NAME; STATUS 0, else 1 (out of
// range) or 2 (missing) with nothing written.
using PointCoordinates = void (*)(const int32_t& number, FText name, std::span<float, 3> xyz,
                                  int32_t& status);

// USURF2: the name and the 16-position description of surface NUMBER (positions 2 to 5 its
// boundary lines, 14 its type); STATUS 0, else 1 or 2 with nothing written.
using SurfaceDescription = void (*)(const int32_t& number, FText name,
                                    std::span<int32_t, 16> desc, int32_t& status);

// LINLEN: the LENGTH of internal line LINE; STATUS 0 to 2 a length (2 the chord of a line
// that could not be evaluated), 3 none (LENGTH 0).
using LineLength = void (*)(const int32_t& line, float& length, int32_t& status);

// The entries before a session: status 1 (LINLEN's 3 with length 0), nothing written but
// FRMAXN's identity.
void noNodeCoordinates(const int32_t& node, std::span<float, 3> xyz, int32_t& status);
void noFrameFromPoints(std::span<const float, 3> origin, int32_t i,
                       std::span<const float, 3> point1, int32_t j,
                       std::span<const float, 3> point2, RowAxes& frame, int32_t& status);
void noLocalCoordinates(int32_t type, std::span<const float, 3> origin, const RowAxes& frame,
                        std::span<const float, 3> point, std::span<float, 3> local,
                        int32_t& status);
void noSystemPoints(int32_t number, std::span<float, 3> origin, std::span<float, 3> onAxis,
                    std::span<float, 3> inPlane, int32_t& status);
void noPointCoordinates(const int32_t& number, FText name, std::span<float, 3> xyz,
                        int32_t& status);
void noSurfaceDescription(const int32_t& number, FText name, std::span<int32_t, 16> desc,
                          int32_t& status);
void noLineLength(const int32_t& line, float& length, int32_t& status);

struct GeoDsp {
  NodeCoordinates nodeCoordinates = noNodeCoordinates;  // UNODE
  FrameFromPoints frameFromPoints = noFrameFromPoints;  // FRMAXN
  LocalCoordinates localCoordinates = noLocalCoordinates;  // LCSCRD
  SystemPoints systemPoints = noSystemPoints;           // the defining nodes of a system
  PointCoordinates pointCoordinates = noPointCoordinates;        // UPNT2
  SurfaceDescription surfaceDescription = noSurfaceDescription;  // USURF2
  LineLength lineLength = noLineLength;                          // LINLEN
};

inline GeoDsp GEODSP;

}  // namespace kvr
