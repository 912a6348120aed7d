#include "geometry/geodsp.h"

namespace kvr {

void noFrameFromPoints(std::span<const float, 3>, int32_t, std::span<const float, 3>, int32_t,
                       std::span<const float, 3>, RowAxes& frame, int32_t& status) {
  frame.setIdentity();
  status = 1;
}

void noLocalCoordinates(int32_t, std::span<const float, 3>, const RowAxes&,
                        std::span<const float, 3>, std::span<float, 3>, int32_t& status) {
  status = 1;
}

void noSystemPoints(int32_t, std::span<float, 3>, std::span<float, 3>, std::span<float, 3>,
                    int32_t& status) {
  status = 1;
}

void noPointCoordinates(const int32_t&, FText, std::span<float, 3>, int32_t& status) {
  status = 1;
}

void noSurfaceDescription(const int32_t&, FText, std::span<int32_t, 16>, int32_t& status) {
  status = 1;
}

void noLineLength(const int32_t&, float& length, int32_t& status) {
  length = 0.0f;
  status = 3;
}

}  // namespace kvr
