// GEOSTA: the model geometry state, 83 words filled as a whole from the model's saved
// state when a model is loaded, and zero until then. Its REAL words are held as their
// bits in the 32-bit words, so that the block saves and loads word for word.
//
// Word 7 is the model size (the length that normalises lengths), word 8 the model
// tolerance (below which two points, a point and a plane, or two radii count as equal),
// words 81-83 a point (the first defining node of the coordinate system being queried).
// Words 17 and 18 hold the name of the current BINSET, the set that collects the parts a
// mesh run could not mesh: two packed words, blank when there is none.
// The dump saves words 1-80.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace kvr {

struct GeoSta {
  static constexpr int32_t kWords = 83;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<size_t>(k - 1)]; }
  float real(int32_t k) const { return std::bit_cast<float>(words[static_cast<size_t>(k - 1)]); }
  void setReal(int32_t k, float value) { word(k) = std::bit_cast<int32_t>(value); }
};

inline constexpr int32_t kGeoModelSize = 7;
inline constexpr int32_t kGeoModelTolerance = 8;
inline constexpr int32_t kGeoBinset = 17;  // and 18

inline GeoSta GEOSTA;

}  // namespace kvr
