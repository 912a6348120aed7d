// DICNT: the model summary counters that the writing road's loaders keep and the
// load-case list of the model database counts in.
#pragma once

#include <array>
#include <cstdint>

namespace kvr {

// DICNT: the model summary counters, in their stored order. Extents are REALs.
struct Dicnt {
  int32_t elementCount = 0;          // elements loaded (topology loader, at its end)
  int32_t nodeCount = 0;             // nodes loaded (coordinate loader, at its end)
  int32_t loadCaseCount = 0;         // load cases added
  int32_t oneDimensional = 0;        // 1 when an element of dimension 1 was loaded
  int32_t twoDimensional = 0;
  int32_t threeDimensional = 0;
  std::array<float, 3> minimum{};    // coordinate extents x, y, z
  std::array<float, 3> maximum{};
  int32_t coordinatesLoaded = 0;     // 1 after a successful coordinate load
  int32_t nodeCountCopy = 0;
  int32_t firstConnectivityCount = 0;
  int32_t topologyLoaded = 0;        // 1 after a successful topology load
  int32_t elementCountCopy = 0;
  int32_t largestNodeCount = 0;      // most nodes of any element loaded
  int32_t secondConnectivityCount = 0;
  int32_t lastNodeId = 0;
  int32_t highestElementId = 0;
  int32_t firstNodeId = 0;           // -1 when the node ids are not consecutive
  int32_t firstElementId = 0;        // -1 when the element ids are not consecutive
};

inline Dicnt DICNT;

}  // namespace kvr
