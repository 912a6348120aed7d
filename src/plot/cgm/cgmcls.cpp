// The elements of the CGM encoder: their codes with the class and id of the binary
// encoding, and the rule CGBCLS that derives class and id from a code.
#include <array>
#include <cstdint>

#include "plot/cgm/cgmenc.h"

namespace kvr {
namespace {

struct ClassId {
  int32_t cls;
  int32_t id;
};

constexpr ClassId kNoOp{0, 0};
constexpr int32_t kLargestId = 127;  // seven bits of the header

// With q = code div 100 and r = code mod 100: q 0 (one-byte opcodes) are the graphical
// primitives of class 4; q 1 to 4 classes 0 to 3 with id r - 31 (class 1 skips one code
// at r = 44); q 5 class 4 from id 12 on; q 6 and 7 the attributes of class 5; q 8 the
// escape (class 6) and the external elements (class 7).
constexpr ClassId classOf(int32_t code) {
  const int32_t q = code / 100;
  const int32_t r = code % 100;
  ClassId c = kNoOp;
  switch (q) {
    case 0: c = {4, r - 31}; break;
    case 1: c = {0, r - 31}; break;
    case 2: c = {1, r <= 43 ? r - 31 : r - 32}; break;
    case 3: c = {2, r - 31}; break;
    case 4: c = {3, r - 31}; break;
    case 5: c = {4, r - 20}; break;
    case 6: c = {5, r < 48 ? r - 31 : r - 39}; break;
    case 7: c = {5, r < 48 ? r - 11 : r - 14}; break;
    case 8: c = r == 32 ? ClassId{6, 1} : ClassId{7, r - 32}; break;
    default: break;
  }
  // A code beyond the rule would spill into the class bits of the header.
  if (code < 0 || c.id < 0 || c.id > kLargestId) return kNoOp;
  return c;
}

}  // namespace

constexpr std::array<CgmElement, 36> kCgmElements{{
    {kCgmBeginMetafile, 0, 1},
    {kCgmEndMetafile, 0, 2},
    {kCgmBeginPicture, 0, 3},
    {kCgmBeginPictureBody, 0, 4},
    {kCgmEndPicture, 0, 5},
    {kCgmMetafileVersion, 1, 1},
    {kCgmMetafileDescription, 1, 2},
    {kCgmVdcType, 1, 3},
    {kCgmIntegerPrecision, 1, 4},
    {kCgmRealPrecision, 1, 5},
    // 10
    {kCgmIndexPrecision, 1, 6},
    {kCgmColourPrecision, 1, 7},
    {kCgmColourIndexPrecision, 1, 8},
    {kCgmMaximumColourIndex, 1, 9},
    {kCgmColourValueExtent, 1, 10},
    {kCgmMetafileElementList, 1, 11},
    {kCgmScalingMode, 2, 1},
    {kCgmColourSelectionMode, 2, 2},
    {kCgmLineWidthMode, 2, 3},
    {kCgmMarkerSizeMode, 2, 4},
    // 20
    {kCgmVdcExtent, 2, 6},
    {kCgmBackgroundColour, 2, 7},
    {kCgmVdcRealPrecision, 3, 2},
    {kCgmTransparency, 3, 4},
    {kCgmClipIndicator, 3, 6},
    {kCgmPolyline, 4, 1},
    {kCgmText, 4, 4},
    {kCgmPolygon, 4, 7},
    {kCgmLineType, 5, 2},
    {kCgmLineColour, 5, 4},
    // 30
    {kCgmTextPrecision, 5, 11},
    {kCgmTextColour, 5, 14},
    {kCgmCharacterHeight, 5, 15},
    {kCgmInteriorStyle, 5, 22},
    {kCgmFillColour, 5, 23},
    {kCgmColourTable, 5, 34},
}};

namespace {

constexpr bool ruleMatchesTable() {
  for (const CgmElement& e : kCgmElements) {
    const ClassId c = classOf(e.code);
    if (c.cls != e.cls || c.id != e.id) return false;
  }
  return true;
}

}  // namespace

void CGBCLS(int32_t code, int32_t& cls, int32_t& id) {
  static_assert(ruleMatchesTable(), "the class rule must give every element its class and id");
  const ClassId c = classOf(code);
  cls = c.cls;
  id = c.id;
}

}  // namespace kvr
