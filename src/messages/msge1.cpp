// Block E1100-E2490: database, history-file, naming, set, view, memory, UNDO and
// reinforcement errors.
#include <iterator>
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

// The numbers of the block that are not listed (E1210 and 55 more) are written as
// their tag alone.
constexpr CatText kTexts[] = {
    {1100,
     "E1100: Database is not useable by this version",
     "       Was created by later incompatible version"},
    {1110, "E1110: Incorrect page size"},
    {1120,
     "E1120: Database is not useable by this version",
     "       Was created by earlier incompatible version"},
    {1130,
     "E1130: Database has wrong status code",
     "       Previous save of the database probably failed"},
    {1140, "E1140: Database buffer is too small"},
    {1150, "E1150: Cannot load database"},
    {1160, "E1160: Database is empty"},
    {1170, "E1170: Cannot write to History file"},
    {1180, "E1180: Failed to open History file"},
    {1190, "E1190: Failed to open existing History file"},
    // 10
    {1200, "E1200: Too many component lines specified"},
    {1260, "E1260: Cannot redefine transform in COPY or SWEEP"},
    {1270, "E1270: Cannot copy to an existing part"},
    {1280, "E1280: Cannot sweep to existing part"},
    {1290, "E1290: Cannot unsplit lines"},
    {1300, "E1300: Insufficient space to MERGE", "       Use MESH MERGE 'part' 'part'"},
    {1310, "E1310: Cannot set divisions for point"},
    {1320, "E1320: Incorrect element type"},
    {1330, "E1330: NEUTRAL environment active"},
    {1400, "E1400: Illegal letter in name"},
    // 20
    {1410, "E1410: Max 2 characters allowed in alpha part"},
    {1420, "E1420: Max 4 characters allowed in alpha part"},
    {1430, "E1430: Too many digits in numeric part"},
    {1440, "E1440: Alpha part of name already in use"},
    {1450, "E1450: MPC command only supported in DEZU environment"},
    {1460, "E1460: STEPS value must be positive"},
    {1470, "E1470: RATIO value must be within range 0. to 1."},
    {1480, "E1480: Start point is not consistent with loadpath"},
    {1490, "E1490: Array overflow for moving load data"},
    {1500, "E1500: Too many sets already open"},
    // 30
    {1510, "E1510: Set not open"},
    {1520, "E1520: Duplicate points"},
    {1530, "E1530: Duplicate lines"},
    {1540, "E1540: Duplicate reinforcement sections"},
    {1610, "E1610: No geometry to view"},
    {1620, "E1620: No mesh to view"},
    {1630, "E1630: Hidden requires mesh"},
    {1640, "E1640: No shapes to view"},
    {1650, "E1650: No reinforcements to view"},
    {1660, "E1660: No property modifiers to view"},
    // 40
    {1710, "E1710: No geometry labels to output"},
    {1720, "E1720: No mesh labels to output"},
    {1730, "E1730: No reinforcement labels to output"},
    {1740, "E1740: No shape labels to output"},
    {1750, "E1750: No property modifier labels to output"},
    {1760, "E1760: No mesh label to output because selected part has no mesh."},
    {2000, "E2000: Unable to open file"},
    {2010, "E2010: Illegal interface name"},
    {2020, "E2020: Require a mesh to write to analysis"},
    {2100, "E2100: Error with dynamic memory allocation"},
    // 50
    {2110, "E2110: Array not registered for memory allocation"},
    {2130, "E2130: Insufficient memory currently available"},
    {2140, "E2140: Bad extent handle"},
    {2150, "E2150: Memory not allocated for I/O operation"},
    {2160, "E2160: Error on I/O to dynamic memory"},
    {2170, "E2170: Cannot register array"},
    {2180, "E2180: Page number out of range"},
    {2190, "E2190: Array count error"},
    {2200, "E2200: Database save aborted"},
    {2210, "E2210: Cannot register array for UNDO"},
    // 60
    {2220, "E2220: Cannot recover from UNDO memory", "       Fatal Error : Execution terminated"},
    {2230, "E2230: Cannot save to UNDO memory"},
    {2240, "E2240: Inadequate array for encoded archive. Will use standard archive."},
    {2250,
     "E2250: Incomplete command",
     "       Please make selection then type @ to continue reading batch file"},
    {2260, "E2260: Only absolute directory paths are permitted"},
    {2300, "E2300: Truck filename must be no more than 20 characters"},
    {2310, "E2310: Identical part cannot be used twice in MPC definition"},
    {2320, "E2320: Second part in load definition must be of next higher geometric order"},
    {2330, "E2330: Second part in load definition is not adjacent to the first"},
    {2340, "E2340: Vector given is not orthogonal to previously defined axis"},
    // 70
    {2350, "E2350: Loads cannot apply to reinforcement sections"},
    {2360,
     "E2360: Reinforcement sections relative to lines or surfaces",
     "       cannot be copied or moved"},
    {2370, "E2370: Too many sections in the reinforcement bar definition"},
    {2380, "E2380: Too many sections in the reinforcement grid definition"},
    {2400, "E2400: Invalid reinforcement grid section: Inconsistent", "       number of points"},
    {2410, "E2410: A reinforcement bar can consist only of", "       reinforcement bar sections"},
    {2420, "E2420: "},
    {2430, "E2430: A reinforcement grid can consist only of", "       reinforcement grid sections"},
    {2440,
     "E2440: A reinforcement grid section cannot be used twice",
     "       in the same reinforcement grid definition"},
    {2450,
     "E2450: A reinforcement bar section cannot be used twice",
     "       in the same reinforcement bar definition"},
    // 80
    {2460, "E2460: Properties cannot be attached to reinforcement sections"},
    {2470, "E2470: Reinforcement sections cannot be assigned", "       geometric parts"},
    {2480, "E2480: Cannot recover reinforcement definition"},
    {2490,
     "E2490: Invalid reinforcement: number of offsets  ",
     "       is inconsistent with surface type"},
};
static_assert(std::size(kTexts) == 84 && inNumberOrder(kTexts));

}  // namespace

void MSGE1(int32_t n) {
  int32_t number = blockNumber(n, 1000, 14);
  if (number == 0) return;
  writeBlockMessage('E', number, kTexts, UnitWriter::WRTLN1, true);
}

}  // namespace kvr
