// MODCNT: the model size counts, 93 INTEGER words: per entity kind the number of entities
// and of deleted ones, the highest node and element numbers, the numbering offsets and
// further limits and state words. Zero at load; reset at start-up, filled by the model
// load and the entity setters, and read everywhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct ModCnt {
  static constexpr int32_t kWords = 93;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

// Counts of entities per kind (entity kinds as the existence test numbers them).
inline constexpr int32_t kCntPoints = 3;
inline constexpr int32_t kCntLines = 4;
inline constexpr int32_t kCntSurfaces = 5;
inline constexpr int32_t kCntBodies = 6;
inline constexpr int32_t kCntShapes = 7;            // kind 6
inline constexpr int32_t kCntHighestNode = 10;
inline constexpr int32_t kCntHighestElement = 11;
inline constexpr int32_t kCntElementNodes = 12;     // connectivity record width less one
inline constexpr int32_t kCntOldGroupSize = 14;     // connectivity groups of old formats
inline constexpr int32_t kCntNodeListBound = 16;    // entries of a packed node list
inline constexpr int32_t kCntNodeFloor = 19;        // every node below it exists
inline constexpr int32_t kCntNodeFloorNext = 20;    // kept, not interpreted
inline constexpr int32_t kCntCoordSystems = 21;     // kind 25
inline constexpr int32_t kCntKind5 = 48;
inline constexpr int32_t kCntMaterials = 49;        // kind 10
inline constexpr int32_t kCntProperties = 50;       // kind 11
inline constexpr int32_t kCntConditions = 51;       // kind 33
inline constexpr int32_t kCntLoads = 52;            // kind 30
inline constexpr int32_t kCntSets = 53;             // kind 7, plus one: set 1 is reserved
inline constexpr int32_t kCntSetBlockTop = 54;      // highest set-member block in use
inline constexpr int32_t kCntKind35 = 56;
// The end of the packed id lists of named array 23 plus one: 1 when there is none, which
// also says the model has no mesh to collect nodes from.
inline constexpr int32_t kCntPackedListEnd = 57;
// The mesh words: the mesh-open word (1 while a mesh run can still be cancelled), the
// node and element counts (words 10 and 11) as a run began, the mesh stamp (the stamp of
// the latest run; a line, surface or body division carries the stamp of the run that made
// it) and its value as the run began, and one further mesh-state word.
inline constexpr int32_t kCntMeshOpen = 58;
inline constexpr int32_t kCntSavedNodes = 59;
inline constexpr int32_t kCntSavedElements = 60;
inline constexpr int32_t kCntMeshStamp = 64;
inline constexpr int32_t kCntSavedMeshStamp = 65;
inline constexpr int32_t kCntMeshState = 66;
inline constexpr int32_t kCntNodeOffset = 61;     // external node = internal + offset
inline constexpr int32_t kCntElementOffset = 62;  // external element = internal + offset
inline constexpr int32_t kCntWord63 = 63;         // kept, not interpreted
inline constexpr int32_t kCntKind34 = 68;
inline constexpr int32_t kCntKind36 = 69;
inline constexpr int32_t kCntKind37 = 70;
inline constexpr int32_t kCntKind38 = 71;
inline constexpr int32_t kCntAnalysisProgram = 72;  // a model-state word: the analysis program
inline constexpr int32_t kCntCurves = 78;           // kind 39
inline constexpr int32_t kCntKind40 = 79;
inline constexpr int32_t kCntKind41 = 81;
inline constexpr int32_t kCntKind42 = 82;
inline constexpr int32_t kCntKind44 = 84;
inline constexpr int32_t kCntKind46 = 91;           // entity 1 reserved
inline constexpr int32_t kCntKind47 = 93;

// Counts of deleted entities per kind; deleted lines are counted in two words.
inline constexpr int32_t kCntDelShapes = 22;
inline constexpr int32_t kCntDelKind5 = 23;
inline constexpr int32_t kCntDelCoordSystems = 24;
inline constexpr int32_t kCntDelLines = 25;
inline constexpr int32_t kCntDelLines2 = 26;
inline constexpr int32_t kCntDelSurfaces = 27;
inline constexpr int32_t kCntDelBodies = 28;
inline constexpr int32_t kCntDelPoints = 29;
inline constexpr int32_t kCntDelSets = 30;
inline constexpr int32_t kCntDelKind34 = 31;
inline constexpr int32_t kCntDelKind35 = 32;
inline constexpr int32_t kCntDelConditions = 33;
inline constexpr int32_t kCntDelLoads = 34;
inline constexpr int32_t kCntDelMaterials = 35;
inline constexpr int32_t kCntDelProperties = 36;
inline constexpr int32_t kCntDelCurves = 37;
inline constexpr int32_t kCntDelKind40 = 38;
inline constexpr int32_t kCntDelKind41 = 39;
inline constexpr int32_t kCntDelKind42 = 40;
inline constexpr int32_t kCntDelKind44 = 41;
inline constexpr int32_t kCntDelKind46 = 42;
inline constexpr int32_t kCntDelKind47 = 43;

inline ModCnt MODCNT;

// The 69 model-state words that follow MODCNT: saved and loaded with it as words 92-160
// of the model's INTEGER state record (the dump writes them, the load reads them back).
// Zero at load; nothing else in the library reads them.
struct ModSta {
  static constexpr int32_t kWords = 69;
  std::array<int32_t, kWords> words{};

  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline ModSta MODSTA;

}  // namespace kvr
