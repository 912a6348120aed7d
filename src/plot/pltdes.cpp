// The device description words 1..18 that each kind of device writes at opcode 1. Of
// them the library itself reads word 8 (opcode 7 may be sent) and word 10 (the graphics
// mode asks the device for its matrix first).
#include <array>

#include "plot/pltdrv.h"

namespace kvr {
namespace {

constexpr int32_t K = kCapKept;
constexpr int32_t O = kCapOptionWord2;
constexpr int32_t M = kCapByModel;

constexpr std::array<DeviceWords, 8> kDescriptions{{
    //  1   2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18
    {{1, 9, 1, 3, 1, 2, 6, 0, 1, 0, 0, 0, 0, 0, 4, 0, 0, 0}},   // console
    {{2, 9, O, 0, 0, 2, 1, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // neutral plot file
    {{2, 2, 1, 3, 1, 2, 6, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // PostScript
    {{2, -9, O, 1, 0, 2, 0, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},  // Interleaf
    {{2, 9, 1, 0, 1, 2, 6, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // TIFF
    {{2, M, 1, 0, 1, 2, 6, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // PCL
    {{2, 9, 1, 3, 1, 2, 6, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // CGM, HP-GL/2
    {{2, 1, 0, 3, 1, 2, 6, 0, 0, 0, 0, K, 0, 0, 4, 0, 0, 0}},   // HP-GL
}};

}  // namespace

const DeviceWords& deviceDescription(DeviceRow row) {
  return kDescriptions[static_cast<size_t>(row)];
}

}  // namespace kvr
