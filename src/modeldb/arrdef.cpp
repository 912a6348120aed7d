// The constant layouts of the named-array registry.
#include "modeldb/arrdef.h"

namespace kvr {

// {{width, sign, records per page}, handle word, handle mode 3 only, UNDO copy}
constexpr std::array<ArrayDef, kModelArrays> ARRDEF = {{
    // 1
    {{2, 1, 2000}, 0, false, true},
    {{3, 1, 2000}, 0, false, true},
    {{2, 1, 3000}, 0, false, true},
    {{1, -1, 48000}, 0, false, true},
    {{2, 1, 2000}, 0, false, true},
    {{1, -1, 28000}, 0, false, true},
    {{2, 1, 2000}, 0, false, true},
    {{1, -1, 30000}, 0, false, true},
    {{2, 1, 200}, 0, false, true},
    {{1, 1, 40000}, 0, false, true},
    // 11
    {{2, -1, 10000}, 0, false, true},
    {{3, 1, 10000}, 0, false, true},
    {{1, -1, 100000}, 0, false, true},
    {{2, 1, 200}, 0, false, true},
    {{5, -1, 200}, 0, false, true},
    {{1, 1, 10000}, 0, false, true},
    {{1, -1, 4000}, 0, false, true},
    {{2, 1, 200}, 0, false, true},
    {{4, -1, 200}, 0, false, true},
    {{63, -1, 400}, 0, false, true},
    // 21
    {{1, -1, 10000}, 0, false, false},
    {{3, -1, 10000}, 0, false, false},
    {{32, -1, 1000}, 0, false, true},
    {{1, -1, 24000}, 0, false, true},
    {{3, 1, 20000}, 0, false, true},
    {{3, 1, 20000}, 0, false, true},
    {{2, 1, 1000}, 0, false, true},
    {{2, -1, 1000}, 0, false, true},
    {{23, -1, 600}, 0, false, true},
    {{63, -1, 400}, 0, false, true},
    // 31
    {{1, -1, 100000}, 7, false, false},
    {{1, -1, 40000}, 13, false, true},
    {{1, -1, 10000}, 14, false, true},
    {{1, -1, 2000}, 19, false, true},
    {{2, 1, 200}, 21, false, true},
    {{2, -1, 200}, 22, false, true},
    {{63, -1, 400}, 23, false, true},
    {{1, -1, 10000}, 24, false, false},
    {{1, -1, 10000}, 29, false, false},
    {{1, 1, 10000}, 30, false, false},
    // 41
    {{3, 1, 10000}, 1, false, false},
    {{3, 1, 10000}, 2, false, false},
    {{1, -1, 100000}, 3, false, false},
    {{1, -1, 1000}, 4, false, false},
    {{1, -1, 250000}, 5, false, false},
    {{1, -1, 10000}, 6, false, false},
    {{1, -1, 100000}, 7, true, false},
    {{1, -1, 250000}, 9, false, false},
    {{1, -1, 10000}, 10, false, false},
    {{1, -1, 100000}, 11, false, false},
    // 51
    {{1, -1, 10000}, 12, false, false},
    {{2, -1, 10000}, 8, false, false},
    {{3, -1, 10000}, 15, false, false},
    {{3, -1, 10000}, 16, false, false},
    {{1, -1, 100000}, 17, false, false},
    {{1, -1, 100000}, 18, false, false},
    {{1, -1, 10000}, 20, false, false},
}};

constexpr std::array<ArrayShape, 8> kWritingRoadLayout = {{
    {3, -1, 10000},
    {1, -1, 250000},
    {1, -1, 10000},
    {3, 1, 10000},
    {1, -1, 250000},
    {1, -1, 10000},
    {1, -1, 100000},
    {1, -1, 10000},
}};

constexpr std::array<ArrayShape, 2> kTwoArrayLayout = {{
    {1, -1, 100000},
    {1, -1, 10000},
}};

constexpr std::array<ArrayShape, 4> kAnswerStoreLayout = {{
    {1, -1, 800},
    {1, -1, 800},
    {1, -1, 800},
    {1, -1, 800},
}};

}  // namespace kvr
