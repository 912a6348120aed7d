// The query model, built record by record into the model store and written by the dump.
#include "querymodel.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/dbdump.h"
#include "modeldb/elttab.h"
#include "modeldb/idpack.h"
#include "modeldb/entrec.h"
#include "modeldb/modcnt.h"
#include "modeldb/reghed.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/modcon.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"

namespace kvr::test {
namespace {

using Words = std::vector<int32_t>;
using Set = std::initializer_list<std::pair<int32_t, int32_t>>;

constexpr int32_t kWrite = -1;
constexpr int32_t kArrPointNamesArray = 1;
constexpr int32_t kArrPointCoordinates = 2;
constexpr int32_t kArrLineNames = 3;
constexpr int32_t kArrSurfaceNames = 5;
constexpr int32_t kArrBodyNames = 7;
constexpr int32_t kArrNodeWords = 11;
constexpr int32_t kArrSetNamesArray = 18;
constexpr int32_t kArrSetHeaders = 19;
constexpr int32_t kArrBlocks = 20;
constexpr int32_t kArrPackedListsArray = 23;
constexpr int32_t kArrKind46Names = 35;
constexpr int32_t kArrKind46Records = 36;
constexpr int32_t kBlockWords = 63;
constexpr int32_t kHE8 = 13;
constexpr int32_t kIL22 = 42;
constexpr int32_t kQU4 = 5;
constexpr int32_t kPointElement = 20;
constexpr int32_t kArrRealValueStore = 16;

void put(int32_t k, int32_t first, const Words& words) {
  Words w = words;
  int32_t stat = 0;
  const auto n = static_cast<int32_t>(w.size()) / REGHED.ARRWID(k);
  ARRIO(kWrite, k, first, n, -1, w, {}, stat);
}

void putReals(int32_t k, int32_t first, std::vector<float> reals) {
  int32_t stat = 0;
  const auto n = static_cast<int32_t>(reals.size()) / REGHED.ARRWID(k);
  ARRIO(kWrite, k, first, n, 1, {}, reals, stat);
}

// A record of W words with the given words (word number, value) set, the rest 0.
Words record(int32_t w, Set set) {
  Words r(static_cast<size_t>(w), 0);
  for (auto [k, v] : set) r[static_cast<size_t>(k - 1)] = v;
  return r;
}

// The two name words of an eight-character NAME.
Words nameWords(std::string_view name) {
  return {a4Word(name.substr(0, std::min<size_t>(4, name.size()))),
          a4Word(name.size() > 4 ? name.substr(4) : std::string_view())};
}

void entity(int32_t array, int32_t width, int32_t names, int32_t id, const char* name, Set set) {
  put(array, (id - 1) * width + 1, record(width, set));
  put(names, id, nameWords(name));
}

void element(int32_t e, int32_t shape, Words nodes) {
  nodes.resize(kElementNodes, 0);
  int32_t nnod = static_cast<int32_t>(SHPNOD(shape));
  int32_t stat = 0;
  ELCONN(-e, nodes, nnod, shape, stat);
}

// Attribute entry (TYPE, ID) labelled NAME with REAL values.
void entry(int32_t type, int32_t id, const char* name, std::vector<float> values) {
  Words label = nameWords(name);
  std::array<int32_t, 2> rval = {label[0], label[1]};
  int32_t key = id;
  auto count = static_cast<int32_t>(values.size());
  ATTFND(-1, rval, type, key, count);
  count = static_cast<int32_t>(values.size());
  int32_t stat = 0;
  ATTVAL(-1, type, id, 1, count, {}, values, stat);
}

// Stored set S of TYPE (member KIND for a single-kind set) named NAME, its PAIRS in member
// block B.
void set(int32_t s, int32_t type, int32_t kind, const char* name, Words pairs, int32_t b) {
  put(kArrSetNamesArray, s, nameWords(name));
  put(kArrSetHeaders, s, {b, type, 0, kind});
  pairs.resize(kBlockWords, 0);
  put(kArrBlocks, b, pairs);
}

}  // namespace

void QueryModel::node(int32_t n, float& x, float& y, float& z) {
  if (n >= 13) {
    constexpr float kSquare[4][2] = {{3, 0}, {4, 0}, {4, 1}, {3, 1}};
    x = kSquare[n - 13][0];
    y = kSquare[n - 13][1];
    z = 0;
    return;
  }
  constexpr float kCorner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  x = kCorner[(n - 1) % 4][0];
  y = kCorner[(n - 1) % 4][1];
  z = static_cast<float>((n - 1) / 4);
}

void buildQueryModel() {
  CoreFreeFile(-1);
  REGHED = {};
  int32_t stat = 0;
  ARRNUM(1);
  ARRREG(2, 1, stat);
  MODCNT = {};
  MODSTA = {};

  MODCNT.word(kCntPoints) = QueryModel::kPoints;
  MODCNT.word(kCntLines) = QueryModel::kLines;
  MODCNT.word(kCntSurfaces) = QueryModel::kSurfaces;
  MODCNT.word(kCntBodies) = QueryModel::kBodies;
  MODCNT.word(kCntHighestNode) = QueryModel::kNodes;
  MODCNT.word(kCntHighestElement) = QueryModel::kElements;
  MODCNT.word(kCntElementNodes) = QueryModel::kElementNodes;
  MODCNT.word(kCntNodeListBound) = QueryModel::kNodeLimit;
  MODCNT.word(kCntDelPoints) = 1;
  MODCNT.word(kCntMaterials) = QueryModel::kMaterials;
  MODCNT.word(kCntProperties) = QueryModel::kProperties;
  MODCNT.word(kCntKind44) = QueryModel::kRegions;
  MODCNT.word(kCntConditions) = QueryModel::kConditions;
  MODCNT.word(kCntLoads) = QueryModel::kLoads;
  MODCNT.word(kCntSets) = QueryModel::kStoredSets;
  MODCNT.word(kCntSetBlockTop) = 6;
  MODCNT.word(kCntPackedListEnd) = 15;
  MODCNT.word(kCntKind46) = 1;  // entity 1 of kind 46 is reserved, as set 1 is
  MODCNT.word(kCntNodeOffset) = QueryModel::kNodeOffset;
  MODCNT.word(kCntElementOffset) = QueryModel::kElementOffset;

  // Nodes: coordinates (array 12) and their second node array (array 11), empty here.
  for (int32_t n = 1; n <= QueryModel::kNodes; ++n) {
    float x = 0, y = 0, z = 0;
    QueryModel::node(n, x, y, z);
    putReals(kArrNodeCoordinates, n, {x, y, z});
    put(kArrNodeWords, n, {0, 0});
  }

  // Elements.
  element(1, kHE8, {1, 2, 3, 4, 5, 6, 7, 8});
  element(2, kHE8, {5, 6, 7, 8, 9, 10, 11, 12});
  element(3, kIL22, {5, 6, 7, 8});
  element(4, kQU4, {13, 14, 15, 16});
  element(5, kPointElement, {16});
  element(6, kQU4, {1, 2, 3, 4});
  element(7, kQU4, {2, 13, 16, 3});

  // Points: record words 6 the node; names; coordinates those of the node. P4 carries
  // element 5 (word 5) with element-type code 1 (word 8).
  const int32_t pointNodes[QueryModel::kPoints] = {1, 0, 13, 16};
  const char* pointNames[QueryModel::kPoints] = {"P1", "P2", "P3", "P4"};
  for (int32_t p = 1; p <= QueryModel::kPoints; ++p) {
    const int32_t n = pointNodes[p - 1];
    if (p == 4) {
      entity(kArrPoints, kPointWords, kArrPointNamesArray, p, pointNames[p - 1],
             {{5, 5}, {6, n}, {8, 1}});
    } else {
      entity(kArrPoints, kPointWords, kArrPointNamesArray, p, pointNames[p - 1], {{6, n}});
    }
    float x = 0, y = 0, z = 0;
    if (n != 0) QueryModel::node(n, x, y, z);
    putReals(kArrPointCoordinates, p, {x, y, z});
  }
  // Point 2 is deleted: its name record carries the deletion marker.
  put(kArrPointNamesArray, 2, {MODCON.word(kModDeletedMarker), kBlankCode});

  // Packed node lists (array 23): L1 at 1, L2 at 4, S1 at 7, S2 at 12.
  Words lists = {1, 13, 0, 13, 16, 0, 13, 14, 15, 16, 0, 0, 13, 0};
  lists.resize(32, 0);
  put(kArrPackedListsArray, 1, lists);

  // Lines: word 2, 3 the end points, 4 the divisions, 5 and 6 (type 4) the node range, 6
  // (composite) the member count, 7 type x 100 + element-type code, 8 and 9 the mesh or
  // the members, 10 coordinate system x 10, 11 material and property, 12 group x 100 +
  // units, 13 the packed list.
  entity(kArrLines, kLineWords, kArrLineNames, 1, "L1", {{2, 1}, {3, 3}, {4, 1}, {7, 103}, {13, 1}});
  entity(kArrLines, kLineWords, kArrLineNames, 2, "L2",
         {{2, 3}, {3, 4}, {4, 1}, {7, 103}, {12, 1}, {13, 4}});
  entity(kArrLines, kLineWords, kArrLineNames, 3, "L3", {{4, 2}, {5, 10}, {6, 12}, {7, 400}, {10, 20}});
  entity(kArrLines, kLineWords, kArrLineNames, 4, "C1", {{6, 2}, {7, 900}, {8, 1}, {9, 2}});
  entity(kArrLines, kLineWords, kArrLineNames, 5, "C2", {{6, 2}, {7, 900}, {8, 2}, {9, 3}});

  // Surfaces: word 6 type x 100 + element-type code, 7 and 8 the mesh, 13 the list.
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 1, "S1", {{6, 100}, {13, 7}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 2, "S2", {{6, 100}, {13, 12}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 3, "S3", {{6, 9905}, {7, 4}, {8, 4}});
  // S4: meshed by elements 6 and 7 with element-type code 7 (QU4), group word 0 (units
  // part 0), material 2 and property 2 packed in word 11.
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 4, "S4",
         {{6, 9907}, {7, 6}, {8, 7}, {11, 2 * IDPACK.modulus + 2}});

  // Body: word 8 the element-type word, 9 and 10 the mesh.
  entity(kArrBodies, kBodyWords, kArrBodyNames, 1, "BLOCK001", {{1, 1}, {8, 1}, {9, 1}, {10, 2}});

  // The reserved entity of kind 46: its name and its record.
  put(kArrKind46Names, 1, {kBlankCode, kBlankCode});
  put(kArrKind46Records, 1, {0, 0});

  // Sets: stored set 1 heads the (empty) free chain.
  put(kArrSetNamesArray, 1, {kBlankCode, kBlankCode});
  put(kArrSetHeaders, 1, {0, 0, 0, 0});
  set(2, 1, 0, "MIXED", {1, 1, 2, 1, 2, 3, 3, 1}, 1);
  set(3, 3, 3, "SURFS", {0, 1, 0, 2}, 2);
  set(4, 1, 0, "EMPTY", {}, 3);
  set(5, 1, 0, "NODELINE", {8, 5, 9, 1, 2, 3}, 4);
  set(6, 1, 0, "COMPOS", {2, 4, 2, 5}, 5);
  set(7, 1, 0, "PNTSRF", {1, 1, 1, 3, 1, 4, 3, 1, 3, 2}, 6);

  // Conditions: type, mask, first target, a word, second target, a value.
  entry(5, 1, "FIX", {1, 5, 0, 0, 0, 0});
  entry(5, 2, "PNT", {1, 8, 11, 0, 0, 0});
  entry(5, 3, "TIE", {2, 0, 32, 0, 31, 0});
  entry(5, 4, "ONCOMP", {3, 0, 67, 0, 0, 0});
  // Loads: value 2 the target, value 3 a word.
  entry(9, 1, "LC", {1, 42, 7, 0, 0, 0, 0, 0, 0, 0});
  entry(9, 2, "LSET", {1, 67, 3, 0, 0, 0, 0, 0, 0, 0});
  entry(9, 3, "LEMPTY", {1, 47, 0, 0, 0, 0, 0, 0, 0, 0});
  // Materials and physical properties.
  entry(4, 1, "STEEL", {210000.0f, 0.3f});
  entry(4, 2, "ALU", {70000.0f, 0.33f});
  entry(3, 1, "PLATE", {0.01f});
  entry(3, 2, "SHELL", {0.02f});

  // Element attribute regions (type -10): kind, test mode, the position and count of the
  // REAL values in the value store, material, 0, property.
  const std::vector<float> regionValues[QueryModel::kRegions] = {
      {0, 0, 1.2f, 1, 0, 1.2f, 1, 1, 1.2f, 0, 1, 1.2f, 0, 0, 1.8f},  // prism z 1.2..1.8
      {1.5f, -1, -1, 5, 2, 1},                                       // box
      {0, 0.5f, 1, 0.5f, 1, 2, 0, 2},                                // polygon on x, y
      {1, 0, 0, 1, 1, 0, 0.01f},                                     // segment x = 1, z = 0
  };
  const int32_t regionWords[QueryModel::kRegions][4] = {
      {3, 1, 1, 0}, {2, 3, 2, 1}, {1, 1, 1, 1}, {4, 2, 1, 2}};  // kind, mode, material, property
  const char* regionNames[QueryModel::kRegions] = {"R1", "R2", "R3", "R4"};
  for (int32_t j = 1; j <= QueryModel::kRegions; ++j) {
    const std::vector<float>& v = regionValues[j - 1];
    const int32_t* w = regionWords[j - 1];
    const auto n = static_cast<int32_t>(v.size());
    int32_t first = 0;
    ARRALC(kArrRealValueStore, n, first, stat);
    putReals(kArrRealValueStore, first, v);
    Words label = nameWords(regionNames[j - 1]);
    std::array<int32_t, 2> rval = {label[0], label[1]};
    Words ints = {w[0], w[1], first, n, w[2], 0, w[3]};
    int32_t key = j;
    auto count = static_cast<int32_t>(ints.size());
    ATTFND(-1, rval, -10, key, count);
    count = static_cast<int32_t>(ints.size());
    ATTVAL(-1, -10, j, 1, count, ints, {}, stat);
  }
}

std::string writeQueryModel(const std::string& stem) {
  SYSINI();
  CHRSET();
  MDLCON();
  DSPRST(1, 0);
  buildQueryModel();
  MDLFIL.text().assign(stem);
  if (DBDUMP(0) != 0) return {};
  return stem + ".DMP";
}

}  // namespace kvr::test
