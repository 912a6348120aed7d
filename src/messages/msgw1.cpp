// Block W1100-W2590: names, model and history files, reinforcement, imported geometry,
// database types and archives. The lines go to the host's message hook.
#include <iterator>
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

// The numbers of the block that are not listed (W1210 and 85 more) are written as their
// tag alone. W1910 writes the two lines tagged W1930; W1930 itself has no text.
constexpr CatText kTexts[] = {
    {1100, "W1100: Next name is the last in this sequence"},
    {1110, "W1110: 4-character names already active"},
    {1120, "W1120: 8-character names already active"},
    {1130, "W1130: Database file already exists", "       Please use another model name"},
    {1140, "W1140: Output file already exists"},
    {1150, "W1150: History file for this model already exists"},
    {1160, "W1160: No History file found for this model", "       New History file started"},
    {1170, "W1170: Unable to delete model History file"},
    {1180, "W1180: Invalid Model Name", "       Please use alphanumerics only"},
    {1190, "W1190: Reverting to 4-character names", "       Not advised for general use"},
    // 10
    {1200, "W1200: Point outside work-box"},
    {1300, "W1300: Node is outside work-box"},
    {1400, "W1400: All analysis specific data will be deleted"},
    {1410, "W1410: All element type assignments will be removed"},
    {1420, "W1420: Previous orientation will be removed"},
    {1430, "W1430: Previous orientation and/or offset will be removed"},
    {1440, "W1440: LOCAL is only applicable to offset vectors"},
    {1510, "W1510: Set not open"},
    {1520, "W1520: Duplicate points"},
    {1530, "W1530: Too many parts in command"},
    // 20
    {1540, "W1540: Duplicate CONST SET POLYGON data in batch file"},
    {1610, "W1610: No geometry to view"},
    {1620, "W1620: No mesh to view"},
    {1630, "W1630: Hidden requires mesh"},
    {1640, "W1640: Display list full"},
    {1710, "W1710: No geometry labels to output"},
    {1720, "W1720: No mesh labels to output"},
    {1730, "W1730: Not applicable to loadcase display"},
    {1800, "W1800: Reinforcement cannot be validated: no physical property"},
    {1810, "W1810: Reinforcement cannot be validated:", "       Incorrect physical property type"},
    // 30
    {1820, "W1820: Reinforcement found outside physical envelope"},
    {1830, "W1830: Point outside surface boundary"},
    {1840,
     "W1840: Reinforcement cannot have more offsets than",
     "       there are points. Some offsets are ignored"},
    {1850, " W1850: Not all points are in or above the surface."},
    {1860,
     "W1860: Parametric load masks and space curves have no effect on",
     "       triangular reinforcement grids"},
    {1870, "W1870: Too many reinforcements in command"},
    {1900, "W1900: Current model being saved to support this multi-viewport operation"},
    {1910,
     "W1930: Changes have been made to the current model.",
     "It should be saved prior to this multi-viewport operation"},
    {1920, "W1920: Command applies to post-processor only"},
    {2000, "W2000: No valid IGES types entered"},
    // 40
    {2010, "W2010: Number of points set to 2"},
    {2020, "W2020: Number of points set to 99", "       Processing may be slow"},
    {2030, "W2030: Invalid number"},
    {2040, "W2040: Invalid string token in Iges file ", "       Trying to continue processing"},
    {2050, "W2050: Model Tolerance not supplied in Iges header"},
    {2060, "W2060: Maximum absolute dimension not supplied in Iges header"},
    {2070, "W2070: Read Error in PATRAN file "},
    {2080, "W2080: No Points (Type 31) in PATRAN file "},
    {2090, "W2090: IGES file corrupted before the following line "},
    {2100,
     "W2100: Database is wrong type for required action",
     "       Possible problem with file extensions"},
    // 50
    {2110, "W2110: Geometry database already exists"},
    {2120, "W2120: No geometry database to update"},
    {2130, "W2130: Unable to interogate directory"},
    {2140, "W2140: No models in directory require updating"},
    {2150, "W2150: UNDO facility will be switched off"},
    {2170, "W2170: UNDO facility is switched off"},
    {2180, "W2180: Nothing to UNDO"},
    {2190, "W2190: UNDO facility is now switched off"},
    {2200, "W2200: Unable to open pick file"},
    {2300,
     "W2300: Cannot process encoded archive entity",
     "       A standard archive entity has already been processed"},
    // 60
    {2310, "W2310: Illegal entity for model append"},
    {2320, "W2320: Manual node not processed as start node >1"},
    {2500, "W2500: Inconsistencies between beam definitions and mapping to Zorlak."},
    {2510, "W2510: Shells have been switched off from hidden views"},
};
static_assert(std::size(kTexts) == 64 && inNumberOrder(kTexts));

}  // namespace

void MSGW1(int32_t n) {
  int32_t number = blockNumber(n, 1000, 15);
  if (number == 0) return;
  writeBlockMessage('W', number, kTexts, UnitWriter::HCMSG, true);
}

}  // namespace kvr
