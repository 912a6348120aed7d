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

void noSetMembers(int32_t, int32_t& position) {
  if (position >= 1) --position;
}

void noListStore(int32_t, int32_t&, int32_t, std::span<int32_t>, int32_t& countOut,
                 int32_t& status) {
  countOut = 0;
  status = 1;
}

void noWorkWord(int32_t, int32_t, int32_t, int32_t&) {}

}  // namespace kvr
