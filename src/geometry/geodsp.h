// GEODSP: the query routines through which the geometry kernel reads the model and fills
// the search work array. The kernel sits below the model queries, so it reaches them only
// through this table, which the query session start fills. Until then each entry answers
// failure.
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

// SETSRF, SETLIN: the surface or line members of stored set |SET| into the search work
// array from POSITION on; POSITION returns as the last position written (the given one
// less 1 when nothing was).
using SetMemberWriter = void (*)(int32_t set, int32_t& position);

// FACSRC: the chained list store (operation 0 starts the list at POSITION, 1 reads the next
// COUNT entries into VALUES, COUNTOUT their number or -1 when the ring ended first); STATUS
// 0, else 1.
using ListStore = void (*)(int32_t operation, int32_t& position, int32_t count,
                           std::span<int32_t> values, int32_t& countOut, int32_t& status);

// NAWORD: one INTEGER word of named array K (OPERATION 1 reads word INDEX into VALUE, -1
// writes VALUE there).
using WorkWord = void (*)(int32_t operation, int32_t k, int32_t index, int32_t& value);

// The entries before a session: status 1, nothing written but FRMAXN's identity; the set
// writers write nothing, the list store fails and the word access does nothing.
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
void noSetMembers(int32_t set, int32_t& position);
void noListStore(int32_t operation, int32_t& position, int32_t count, std::span<int32_t> values,
                 int32_t& countOut, int32_t& status);
void noWorkWord(int32_t operation, int32_t k, int32_t index, int32_t& value);

struct GeoDsp {
  NodeCoordinates nodeCoordinates = noNodeCoordinates;  // UNODE
  FrameFromPoints frameFromPoints = noFrameFromPoints;  // FRMAXN
  LocalCoordinates localCoordinates = noLocalCoordinates;  // LCSCRD
  SystemPoints systemPoints = noSystemPoints;           // the defining nodes of a system
  PointCoordinates pointCoordinates = noPointCoordinates;        // UPNT2
  SurfaceDescription surfaceDescription = noSurfaceDescription;  // USURF2
  SetMemberWriter setSurfaces = noSetMembers;  // SETSRF
  SetMemberWriter setLines = noSetMembers;     // SETLIN
  ListStore listStore = noListStore;           // FACSRC
  WorkWord workWord = noWorkWord;              // NAWORD
};

inline GeoDsp GEODSP;

}  // namespace kvr
