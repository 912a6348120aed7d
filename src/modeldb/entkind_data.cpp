// The entity-kind table.
#include "modeldb/entkind.h"

#include <array>

#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr KindTest N = KindTest::kNameRecord;
constexpr KindTest A = KindTest::kAttribute;

// {kind, count, deleted, deleted 2, test, source, range tested, guarded, value count,
//  reserved first}
constexpr std::array<EntityKind, 26> kKinds = {{
    {1, kCntPoints, kCntDelPoints, 0, N, 1, true, false, false, false},
    {2, kCntLines, kCntDelLines, kCntDelLines2, N, 3, true, false, false, false},
    {3, kCntSurfaces, kCntDelSurfaces, 0, N, 5, true, false, false, false},
    {4, kCntBodies, kCntDelBodies, 0, N, 7, true, false, false, false},
    {5, kCntKind5, kCntDelKind5, 0, A, 2, true, true, false, false},
    {6, kCntShapes, kCntDelShapes, 0, N, 9, true, false, false, false},
    {7, kCntSets, kCntDelSets, 0, N, 18, true, false, false, true},
    {8, kCntHighestNode, 0, 0, KindTest::kInRange, 0, true, false, false, false},
    {9, kCntHighestElement, 0, 0, KindTest::kElement, 0, true, false, false, false},
    {10, kCntMaterials, kCntDelMaterials, 0, A, 4, true, true, false, false},
    // 11
    {11, kCntProperties, kCntDelProperties, 0, A, 3, true, true, false, false},
    {25, kCntCoordSystems, kCntDelCoordSystems, 0, A, 8, true, true, false, false},
    {30, kCntLoads, kCntDelLoads, 0, A, 9, true, true, false, false},
    {33, kCntConditions, kCntDelConditions, 0, A, 5, true, true, false, false},
    {34, kCntKind34, kCntDelKind34, 0, A, 6, true, true, false, false},
    {35, kCntKind35, kCntDelKind35, 0, A, -6, true, true, false, false},
    {36, kCntKind36, 0, 0, A, -3, false, true, true, false},
    {37, kCntKind37, 0, 0, A, -2, false, true, true, false},
    {38, kCntKind38, 0, 0, A, -5, false, true, true, false},
    {39, kCntCurves, kCntDelCurves, 0, A, -7, true, true, false, false},
    // 40
    {40, kCntKind40, kCntDelKind40, 0, A, -8, true, true, false, false},
    {41, kCntKind41, kCntDelKind41, 0, A, -9, true, true, false, false},
    {42, kCntKind42, kCntDelKind42, 0, N, 27, true, false, false, false},
    {44, kCntKind44, kCntDelKind44, 0, A, -10, true, true, false, false},
    {46, kCntKind46, kCntDelKind46, 0, N, 0, true, false, false, true},
    {47, kCntKind47, kCntDelKind47, 0, A, -11, true, true, false, false},
}};

}  // namespace

const EntityKind* entityKind(int32_t kind) {
  if (kind < 1 || kind > kMaxEntityKind) return &kKinds[0];
  for (const EntityKind& row : kKinds) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

}  // namespace kvr
