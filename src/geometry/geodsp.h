// GEODSP: the query routines through which the geometry kernel reads the model. The
// kernel sits below the model queries, so it reaches them only through this table, which
// the query session start fills. Until then each entry answers failure.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// UNODE: the coordinates of node NODE (external number); STATUS 0, else no coordinates.
using NodeCoordinates = void (*)(const int32_t& node, std::span<float, 3> xyz,
                                 int32_t& status);

// The entry before a session: status 1, coordinates untouched.
void noNodeCoordinates(const int32_t& node, std::span<float, 3> xyz, int32_t& status);

struct GeoDsp {
  NodeCoordinates nodeCoordinates = noNodeCoordinates;  // UNODE
};

inline GeoDsp GEODSP;

}  // namespace kvr
