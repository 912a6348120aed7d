#include "runtime/setnum.h"

namespace kvr {
namespace {

using enum SettingSource;
using enum SettingConversion;

constexpr int32_t kShort = 9;    // value text of rows 2 to 10
constexpr int32_t kLong = 255;   // value text of the other rows

// Integer 1 when the value begins with the two letters ON, else 0.
constexpr SettingRow onOff(std::string_view section, std::string_view key) {
  return {Resource, {}, section, key, false, kLong, Prefixes, 0, {{{"ON", 1}}}};
}

constexpr std::array<SettingRow, kSettingCount> kRows{{
    {Resource, {}, "GRAPHICS-W", "TL-LABEL-FORMAT", false, kLong, Prefixes, 0, {{{"NAME", 1}}}},
    {Lookup, "Telvora", "Neutral_file", "Format", false, kShort, LowWritten, 2, {}},
    {Resource, {}, "MESH", "STRUCTURED", false, kLong, Prefixes, 2, {{{"ON", 1}, {"OFF", 0}}}},
    {Lookup, "Telvora", "RESULTS_RANGE", "SURFACE_TOP", false, kShort, Prefixes, 1,
     {{{"LAST", 0}}}},
    {Lookup, "Zorlak", "Neutral_file", "Format", false, kShort, LowModel, 2, {}},
    {Lookup, "Telvora", "P-TRACK", "ALGORITHM", false, kShort, Prefixes, 1, {{{"BUFFERED", 2}}}},
    {Lookup, "Zorlak", "Start", "Dialogue", false, kShort, Prefixes, 2, {{{"Yes", 1}, {"No", 0}}}},
    {Lookup, "Telvora", "pre_KAVRO63", "page_size", false, kShort, Prefixes, 2040,
     {{{"SIZE4080", 4080}}}},
    {Lookup, "Telvora", "database", "page_size", false, kShort, Prefixes, 2040,
     {{{"SIZE32640", 32640}, {"SIZE16320", 16320}, {"SIZE8160", 8160}, {"SIZE4080", 4080}}}},
    {Lookup, "Zorlak", "Neutral_file", "Solid_Elements_Volume", false, kShort, Prefixes, 0,
     {{{"CHECK", 1}}}},
    // 11
    {Resource, {}, "MESH", "TETMESHER-MEMORY", false, kLong, TokenInteger, 20, {}},
    {Lookup, "*", "IGES", "IGES_Gtol", false, kLong, ReadReal, 0, {}},
    {Resource, {}, "MESH", "2DSPLINE-ANGLETOLERANCE", false, kLong, TokenReal, 0, {}},
    {Resource, {}, "MESH", "2DSPLINE-WARPTOLERANCE", false, kLong, TokenReal, 0, {}},
    {Resource, {}, "MESH", "REGION-ALGORITHM", false, kLong, Prefixes, 1, {{{"PAVING", 2}}}},
    {Resource, {}, "ANALYSIS", "DEF-ANALYSISPROG", false, kLong, Text, 0, {}},
    {Resource, {}, "ANALYSIS", "DEF-ANALYSISTYPE", false, kLong, Text, 0, {}},
    {Lookup, "*", "PLOTS", "StripBorder", true, kLong, StatusAndText, 0, {}},
    {Lookup, "*", "PLOTS", "DefaultPlotter", false, kLong, StatusAndText, 0, {}},
    onOff("GEOMETRY", "GBODY-CHECK"),
    // 21
    onOff("MESH", "CHECK-INTERFACE-ELEMS"),
    onOff("MESH", "CHECK-SPLINE-ELEMS"),
    onOff("GEOMETRY", "GBODY-REPAIR"),
    onOff("GEOMETRY", "GBODY-TRIM"),
    onOff("GEOMETRY", "GBODY-MERGE"),
    onOff("GEOMETRY", "GBODY-VERBOSE"),
    onOff("GEOMETRY", "GBODY-FILL"),
    onOff("GEOMETRY", "GBODY-RESOLVE"),
    onOff("MESH", "USE-BINSET"),
    {Resource, {}, "MESH", "BINSET", false, kLong, Text, 0, {}},
    // 31
    {Lookup, "*", "MESH", "Keep_Properties", false, kLong, Prefixes, 0, {{{"T", 1}, {"t", 1}}}},
    onOff("MESH", "MESH-NURBS-EVEN"),
    {Lookup, "*", "HCI", "ExpertMenus", false, kLong, Prefixes, 0, {{{"T", 1}, {"t", 1}}}},
    {Resource, {}, "GEOMETRY", "MERGE-CURVES-BY", false, kLong, Prefixes, 0,
     {{{"IPOINTS", 1}}}},
    {Resource, {}, "GEOMETRY", "MERGE-CURVES-IPOINTS", false, kLong, TokenAnyKind, 0, {}},
    {Lookup, "Zorlak", "Neutral_file", "Max_per_line", false, kLong, ReadInteger, 10, {}},
    {Lookup, "Telvora", "Neutral_file", "Format", false, kLong, LowModel, 2, {}},
    onOff("IGES", "PROCESS-TYPE128"),
    onOff("IGES", "ENTITY-USE-FLAG"),
    onOff("IGES", "CALCULATE-TYPE112"),
    // 41
    onOff("IGES", "CLOSE-GAPS"),
    onOff("IGES", "SUMMARY"),
    {Resource, {}, "FILTERS", "FILTER-", false, kLong, Filter, 0, {}},
    {Resource, {}, "ANALYSIS", "SOLVER-COMMAND", false, kLong, Text, 0, {}},
}};

}  // namespace

const SettingRow& settingRow(int32_t n) { return kRows[static_cast<size_t>(n - 1)]; }

}  // namespace kvr
