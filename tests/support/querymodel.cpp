// The query model, built record by record into the model store and written by the dump.
#include "querymodel.h"

#include <algorithm>
#include <array>
#include <bit>
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
#include "modeldb/entrec.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/idpack.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/reghed.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"
#include "modelwords.h"

namespace kvr::test {
namespace {

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

void element(int32_t e, int32_t shape, Words nodes) {
  nodes.resize(kElementNodes, 0);
  int32_t nnod = static_cast<int32_t>(SHPNOD(shape));
  int32_t stat = 0;
  ELCONN(-e, nodes, nnod, shape, stat);
}

// The words of a REAL array that hold text: four characters each.
float textWord(std::string_view four) { return std::bit_cast<float>(a4Word(four)); }

// Stored set S of TYPE (member KIND for a single-kind set) named NAME, its PAIRS in member
// block B.
void set(int32_t s, int32_t type, int32_t kind, const char* name, Words pairs, int32_t b) {
  put(kArrSetNamesArray, s, nameWords(name));
  put(kArrSetHeaders, s, {b, type, 0, kind});
  pairs.resize(kBlockWords, 0);
  put(kArrBlocks, b, pairs);
}

// The constraints, equations and connections (below buildQueryModel).
void addConstraints();

// The load distributions, variations, curves and their system and line (below).
void addLoadsCurves();

// The entities of the face search (below buildQueryModel).
void addFaceSearch();

// Lines, surfaces and bodies: the points, a straight line, a quarter circle, their
// composite, a surface and a body of type 1 (see querymodel.h), numbered from 61 on.
void addLinesSurfacesBodies() {
  MODCNT.word(kCntPoints) = QueryModel::kAllPoints;
  MODCNT.word(kCntLines) = QueryModel::kAllLines;
  MODCNT.word(kCntSurfaces) = QueryModel::kAllSurfaces;
  MODCNT.word(kCntBodies) = QueryModel::kAllBodies;

  const std::array<std::pair<int32_t, std::array<float, 3>>, 3> points = {
      {{QueryModel::kQ1, {1, 0, 0}}, {QueryModel::kQ2, {0, 1, 0}}, {QueryModel::kQ0, {0, 0, 0}}}};
  const char* pointNames[3] = {"Q61", "Q62", "Q63"};
  for (size_t k = 0; k < points.size(); ++k) {
    const auto& [p, xyz] = points[k];
    entity(kArrPoints, kPointWords, kArrPointNamesArray, p, pointNames[k], {});
    putReals(kArrPointCoordinates, p, {xyz[0], xyz[1], xyz[2]});
  }
  entity(kArrLines, kLineWords, kArrLineNames, QueryModel::kStraight, "STRAIGHT",
         {{2, QueryModel::kQ0}, {3, QueryModel::kQ1}, {4, 2}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, QueryModel::kArc, "ARC",
         {{2, QueryModel::kQ1}, {3, QueryModel::kQ2}, {4, 3}, {6, QueryModel::kQ0}, {7, 200}});
  entity(kArrLines, kLineWords, kArrLineNames, QueryModel::kComposite, "COMP",
         {{6, 2}, {7, 900}, {8, QueryModel::kStraight}, {9, QueryModel::kArc}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, QueryModel::kPlainSurface, "SQ",
         {{2, QueryModel::kStraight}, {3, QueryModel::kArc}, {4, QueryModel::kStraight}, {6, 100}});
  entity(kArrBodies, kBodyWords, kArrBodyNames, QueryModel::kPlainBody, "BQ",
         {{1, 1}, {2, QueryModel::kPlainSurface}});
}

// The coordinate systems and the line that carries one.
void addCoordinateSystems() {
  MODCNT.word(kCntLines) = QueryModel::kAllLines;
  MODCNT.word(kCntCoordSystems) = QueryModel::kCoordSystems;
  // Type, then nodes 1, 2 and 3 as reals; node 2 is read as 4.9999 + 0.1 truncated.
  entry(8, QueryModel::kCylSystem, "CYLSYS", {3.0f, 1.0f, 4.9999f, 2.0f});
  entity(kArrLines, kLineWords, kArrLineNames, QueryModel::kCylSystemLine, "CYLLINE",
         {{4, 2},
          {5, QueryModel::kCylSystemFirstNode},
          {6, QueryModel::kCylSystemLastNode},
          {7, 400},
          {10, QueryModel::kCylSystem * 10}});
}

}  // namespace

void QueryModel::node(int32_t n, float& x, float& y, float& z) {
  if (n > kNodes) {
    x = y = z = 0;
    constexpr int32_t kFirst = 21;
    constexpr float kConstraintNodes[20][3] = {
        {10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}, {14, 0, 0},  // 21-25 the fine edge
        {10, 1, 0}, {12, 1, 0}, {14, 1, 0},                          // 26-28 the coarse edge
        {10, 2, 0}, {11, 2, 0}, {12, 2, 0}, {13, 2, 0},              // 29-32 the 4-node edge
        {20, 0, 0},                                                   // 33 the flag word
        {20, 5, 0}, {19, 5, 0}, {21, 5, 0},                          // 34-36 centred
        {0, 0, 0},  {0, 0, 0},  {0, 0, 0},                           // 37-39 unused
        {20, 10, 0}};                                                 // 40 the boundaries
    if (n < kFirst || n >= kFirst + 20) return;
    x = kConstraintNodes[n - kFirst][0];
    y = kConstraintNodes[n - kFirst][1];
    z = kConstraintNodes[n - kFirst][2];
    return;
  }
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
  freshModelStore();
  int32_t stat = 0;

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

  // Points: record words 6 the node; names; coordinates those of the node.
  const int32_t pointNodes[QueryModel::kPoints] = {1, 0, 13, 16};
  const char* pointNames[QueryModel::kPoints] = {"P1", "P2", "P3", "P4"};
  for (int32_t p = 1; p <= QueryModel::kPoints; ++p) {
    const int32_t n = pointNodes[p - 1];
    entity(kArrPoints, kPointWords, kArrPointNamesArray, p, pointNames[p - 1], {{6, n}});
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
  // Material.
  entry(4, 1, "STEEL", {210000.0f, 0.3f});

  // ---- Materials, properties, loads and neighbours ----------------------------------------
  MODCNT.word(kCntPoints) = QueryModel::kAllPoints;
  MODCNT.word(kCntLines) = QueryModel::kAllLines;
  MODCNT.word(kCntSurfaces) = QueryModel::kAllSurfaces;
  MODCNT.word(kCntBodies) = QueryModel::kAllBodies;
  MODCNT.word(kCntSets) = QueryModel::kAllStoredSets;
  MODCNT.word(kCntSetBlockTop) = 9;
  MODCNT.word(kCntMaterials) = QueryModel::kAllMaterials;
  MODCNT.word(kCntProperties) = QueryModel::kProperties;
  MODCNT.word(kCntLoads) = QueryModel::kAllLoads;

  // Points 5-7 without nodes, each at its own coordinates; point 8 carries element 4.
  const std::array<std::array<float, 3>, 4> spots = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {5, 5, 5}}};
  const char* spotNames[4] = {"P5", "P6", "P7", "P8"};
  for (int32_t p = 5; p <= 8; ++p) {
    entity(kArrPoints, kPointWords, kArrPointNamesArray, p, spotNames[p - 5],
           {{5, p == 8 ? 4 : 0}});
    const std::array<float, 3>& xyz = spots[static_cast<size_t>(p - 5)];
    putReals(kArrPointCoordinates, p, {xyz[0], xyz[1], xyz[2]});
  }

  // Lines: M1 meshed by element 1 (code 3, so it joins the group of L1 and L2); the rest
  // without mesh. CX is composite of UA and UB.
  entity(kArrLines, kLineWords, kArrLineNames, 6, "M1",
         {{2, 5}, {3, 6}, {4, 1}, {7, 103}, {8, 1}, {9, 1}});
  entity(kArrLines, kLineWords, kArrLineNames, 7, "U1", {{2, 6}, {3, 7}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 8, "U2", {{2, 7}, {3, 5}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 9, "U3", {{2, 5}, {3, 7}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 10, "U4", {{2, 6}, {3, 5}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 11, "UA", {{2, 5}, {3, 6}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 12, "CX", {{6, 2}, {7, 900}, {8, 11}, {9, 13}});
  entity(kArrLines, kLineWords, kArrLineNames, 13, "UB", {{2, 6}, {3, 7}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 14, "UC", {{2, 5}, {3, 7}, {4, 1}, {7, 100}});
  entity(kArrLines, kLineWords, kArrLineNames, 15, "UD", {{2, 6}, {3, 7}, {4, 1}, {7, 100}});

  // The list of further line sets of SD in the chained list store (array 17): a one-entry
  // block holding -9 (passed over by the searches) and a counted block holding 10.
  int32_t list = 0;
  ARRALC(kArrIntegerValues, 5, list, stat);
  put(kArrIntegerValues, list, {list + 2, -9, -list, 1, 10});

  // Surfaces: SM meshed by element 4 (code 5, the group of S3) with the boundary U1, U3
  // twice and CX; SU without mesh holding U4; SD of type 5 meshed by element 4, its lines
  // the line set stored as 9 and the sets of its list.
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 4, "SM",
         {{2, 7}, {3, 9}, {4, 9}, {5, 12}, {6, 105}, {7, 4}, {8, 4}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 5, "SU", {{2, 10}, {6, 100}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, 6, "SD",
         {{2, 9}, {3, 2}, {4, list}, {6, 505}, {7, 4}, {8, 4}});

  // Body B2 of type 1, meshed by elements 1-2 (the group of the first body), on SU.
  entity(kArrBodies, kBodyWords, kArrBodyNames, 2, "B2", {{1, 1}, {2, 5}, {8, 1}, {9, 1}, {10, 2}});

  // Sets (stored numbers): 8 "ADJSET" (P5, M1, SU, SM), 9 "SDLINES" of type 4 holding lines
  // (UC, CX, UB reversed), 10 "SDMORE" (UD).
  set(8, 1, 0, "ADJSET", {3, 5, 3, 4, 2, 6, 1, 5}, 7);
  set(9, 4, 2, "SDLINES", {1, 14, 1, 12, -1, 13}, 8);
  set(10, 1, 0, "SDMORE", {2, 15}, 9);

  // Materials: 2 with 14 values referring to the type -3 entry 1, 3 missing, 4 with only
  // its header, 5 holding two text items ("A B" and "ABCDEFGH").
  std::vector<float> concrete(14, 0.0f);
  concrete[0] = 1;
  for (int32_t k = 11; k <= 14; ++k) concrete[static_cast<size_t>(k - 1)] = static_cast<float>(k);
  entry(4, 2, "CONCRETE", concrete);
  entry(4, 4, "BARE", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  entry(4, 5, "TEXTS", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, textWord("A B "), 2,
                        textWord("ABCD"), textWord("EFGH")});
  intEntry(-3, 1, "GRADE", {7, 2});

  // Physical properties: header value 1 the type -2 entry, 3 the point flag, 4 the point
  // reference bits; the data name points 5, 6 and 7 (2 is deleted, 999 no point).
  const std::vector<float> refs = {5, 0, 0, 6, 0, 0, 7, 0, 0};
  auto property = [](int32_t id, const char* name, float r, float f, float b,
                     std::vector<float> data) {
    std::vector<float> v = {r, 0, f, b, 0, 0, 0, 0, 0, 0};
    v.insert(v.end(), data.begin(), data.end());
    entry(3, id, name, v);
  };
  property(1, "PBOTH", 1, 1, 3, refs);
  property(2, "PSECOND", 1, 1, 2, refs);
  property(3, "PNOFLAG", 1, 0, 3, refs);
  property(4, "PSHORT", 1, 1, 3, {5, 0, 0, 6, 0, 0, 7, 0});
  property(5, "PMISSING", 1, 1, 3, {2, 0, 0, 2, 0, 0, 999, 0, 0});
  property(6, "PODD", 2, 1, 1, {6, 0, 0, 0, 0, 0});
  intEntry(-2, 1, "SECT", {0, 1, 1, 40});
  intEntry(-2, 2, "SECT0", {0, 0, 1, 0});

  // Load descriptions (type -5): value 3 the load type, value 6 the flag.
  intEntry(-5, 1, "DESC1", {0, 0, 1, 0, 0, 1});
  intEntry(-5, 2, "DESC2", {0, 0, 2, 0, 0, 1});
  intEntry(-5, 3, "DESC3", {0, 0, 3, 0, 0, 1});
  intEntry(-5, 4, "DESC0", {0, 0, 1, 0, 0, 0});

  // Loads 4-17: description, target, word 3, second target, (5, 6 by the session), words
  // 7-10, values.
  auto load = [](int32_t id, const char* name, float d, float target, float word3,
                 float second, std::vector<float> values) {
    std::vector<float> v = {d, target, word3, second, 0, 0, 1, 2, 3, 4};
    v.insert(v.end(), values.begin(), values.end());
    entry(9, id, name, v);
  };
  load(4, "LK5", 1, 35, 0, 0, {9.5f});
  load(5, "LK6", 1, 36, 0, 0, {});
  load(6, "LK7", 1, 37, 0, 0, {});
  load(7, "LK0", 1, 30, 0, 0, {});
  load(8, "LLINE", 2, 12, 5, 37, {1.5f, 2.5f});
  load(9, "LMESH", 1, 62, 0, 43, {});
  load(10, "LAPART", 1, 82, 0, 53, {});
  load(11, "LSURF", 1, 53, 0, 0, {});
  load(12, "LBODY", 1, 14, 0, 0, {});
  std::vector<float> big(15);
  for (size_t k = 0; k < big.size(); ++k) big[k] = static_cast<float>(k + 1);
  load(13, "LBIG", 1, 12, 0, 0, big);
  load(14, "LNODESC", 99, 12, 0, 0, {});
  load(15, "LTYPE3", 3, 12, 0, 0, {});
  load(16, "LFLAG0", 4, 12, 0, 0, {});
  load(17, "LPOINT", 1, 51, 0, 11, {});

  // ---- Element ownership ------------------------------------------------------------------
  MODCNT.word(kCntPoints) = QueryModel::kAllPoints;
  MODCNT.word(kCntSurfaces) = QueryModel::kAllSurfaces;
  MODCNT.word(kCntHighestElement) = QueryModel::kAllElements;
  MODCNT.word(kCntMaterials) = QueryModel::kAllMaterials;
  MODCNT.word(kCntKind44) = QueryModel::kRegions;

  // Elements 5-7: a point element on node 16 and two QU4 on the first face and beside it.
  element(5, kPointElement, {16});
  element(6, kQU4, {1, 2, 3, 4});
  element(7, kQU4, {2, 13, 16, 3});

  // P9 at node 16 carries element 5 (word 5) with element-type code 1 (word 8).
  entity(kArrPoints, kPointWords, kArrPointNamesArray, QueryModel::kPointElementOwner, "P9",
         {{5, 5}, {6, 16}, {8, 1}});
  {
    float x = 0, y = 0, z = 0;
    QueryModel::node(16, x, y, z);
    putReals(kArrPointCoordinates, QueryModel::kPointElementOwner, {x, y, z});
  }

  // S4: meshed by elements 6 and 7 with element-type code 7 (QU4), group word 0 (units
  // part 0), material ALU and property SHELL packed in word 11.
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, QueryModel::kOwnedSurface, "S4",
         {{6, 9907}, {7, 6}, {8, 7}, {11, QueryModel::kAlu * IDPACK.modulus + QueryModel::kShell}});

  entry(4, QueryModel::kAlu, "ALU", {70000.0f, 0.33f});
  entry(3, QueryModel::kPlate, "PLATE", {0.01f});
  entry(3, QueryModel::kShell, "SHELL", {0.02f});

  // Element attribute regions (type -10): kind, test mode, the position and count of the
  // REAL values in the value store, material, 0, property.
  const std::vector<float> regionValues[QueryModel::kRegions] = {
      {0, 0, 1.2f, 1, 0, 1.2f, 1, 1, 1.2f, 0, 1, 1.2f, 0, 0, 1.8f},  // prism z 1.2..1.8
      {1.5f, -1, -1, 5, 2, 1},                                       // box
      {0, 0.5f, 1, 0.5f, 1, 2, 0, 2},                                // polygon on x, y
      {1, 0, 0, 1, 1, 0, 0.01f},                                     // segment x = 1, z = 0
  };
  // Kind, mode, material, property.
  const int32_t regionWords[QueryModel::kRegions][4] = {{3, 1, 1, 0},
                                                        {2, 3, QueryModel::kAlu, QueryModel::kPlate},
                                                        {1, 1, 1, QueryModel::kPlate},
                                                        {4, 2, 1, QueryModel::kShell}};
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

  addCoordinateSystems();
  addLinesSurfacesBodies();
  addConstraints();
  addLoadsCurves();
  addFaceSearch();
}

namespace {

// ---- Constraints, equations and connections ----------------------------------------------
void addConstraints() {
  MODCNT.word(kCntHighestNode) = QueryModel::kAllNodes;
  MODCNT.word(kCntHighestElement) = QueryModel::kAllElements;
  MODCNT.word(kCntPoints) = QueryModel::kAllPoints;
  MODCNT.word(kCntLines) = QueryModel::kAllLines;
  MODCNT.word(kCntSets) = QueryModel::kAllStoredSets;
  MODCNT.word(kCntSetBlockTop) = std::max(MODCNT.word(kCntSetBlockTop), 22);
  MODCNT.word(kCntConditions) = QueryModel::kAllConditions;

  // Nodes 17-40: coordinates (the unused ones at the origin) and their second words.
  for (int32_t n = QueryModel::kNodes + 1; n <= QueryModel::kAllNodes; ++n) {
    float x = 0, y = 0, z = 0;
    QueryModel::node(n, x, y, z);
    putReals(kArrNodeCoordinates, n, {x, y, z});
    put(kArrNodeWords, n, {0, 0});
  }

  // Two-node line elements: 11-14 along the fine edge, 15-16 the coarse, 17-19 the third.
  constexpr int32_t kBE2 = 1;
  const std::array<std::array<int32_t, 3>, 9> beams = {{{11, 21, 22}, {12, 22, 23}, {13, 23, 24},
                                                        {14, 24, 25}, {15, 26, 27}, {16, 27, 28},
                                                        {17, 29, 30}, {18, 30, 31}, {19, 31, 32}}};
  for (const auto& b : beams) element(b[0], kBE2, {b[1], b[2]});

  // Points, each at its node.
  const std::array<std::pair<int32_t, const char*>, 13> points = {{{21, "PF1"}, {25, "PF2"},
      {26, "PC1"}, {28, "PC2"}, {29, "PQ1"}, {32, "PQ2"}, {15, "PDIAG"}, {11, "PN11"},
      {5, "PN5"}, {2, "PN2"}, {3, "PN3"}, {4, "PN4"}, {6, "PN6"}}};
  for (int32_t p = 21; p < 21 + static_cast<int32_t>(points.size()); ++p) {
    const auto& [n, name] = points[static_cast<size_t>(p - 21)];
    entity(kArrPoints, kPointWords, kArrPointNamesArray, p, name, {{6, n}});
    float x = 0, y = 0, z = 0;
    QueryModel::node(n, x, y, z);
    putReals(kArrPointCoordinates, p, {x, y, z});
  }

  // Packed node lists in a record of their own (array 23 positions 641 on).
  constexpr int32_t kRecord = 21;
  constexpr int32_t kFirst = (kRecord - 1) * 32 + 1;
  const Words lists = {21, 22, 23, 24, 25, 0,  // 641 FINE
                       26, 27, 28, 0,          // 647 COARSE
                       28, 27, 26, 0,          // 651 COARSER
                       29, 30, 31, 32, 0,      // 655 FOUR
                       13, 15, 0,              // 660 DIAG
                       34, 35, 36, 0};         // 663 CENTRED
  Words block = lists;
  block.resize(32, 0);
  put(kArrPackedListsArray, kRecord, block);
  MODCNT.word(kCntPackedListEnd) =
      std::max(MODCNT.word(kCntPackedListEnd), kFirst + static_cast<int32_t>(lists.size()));

  // Lines: FINE, COARSE and COARSER (COARSE run the other way) meshed by the line elements,
  // FOUR, and DIAG and CENTRED without mesh.
  auto line = [](int32_t id, const char* name, Set words) {
    entity(kArrLines, kLineWords, kArrLineNames, id, name, words);
  };
  line(21, "FINE", {{2, 21}, {3, 22}, {4, 4}, {7, 103}, {8, 11}, {9, 14}, {13, kFirst}});
  line(22, "COARSE", {{2, 23}, {3, 24}, {4, 2}, {7, 103}, {8, 15}, {9, 16}, {13, kFirst + 6}});
  line(23, "COARSER", {{2, 24}, {3, 23}, {4, 2}, {7, 103}, {8, 15}, {9, 16}, {13, kFirst + 10}});
  line(24, "FOUR", {{2, 25}, {3, 26}, {4, 3}, {7, 103}, {8, 17}, {9, 19}, {13, kFirst + 14}});
  line(25, "DIAG", {{2, 3}, {3, 27}, {4, 1}, {7, 100}, {13, kFirst + 19}});
  line(26, "CENTRED", {{4, 1}, {7, 100}, {13, kFirst + 22}});

  // Sets of points (stored 22 and 23): TRIO1 on nodes 1-3, TRIO2 on nodes 4-6.
  set(22, 1, 0, "TRIO1", {1, 1, 1, 30, 1, 31}, 21);
  set(23, 1, 0, "TRIO2", {1, 32, 1, 29, 1, 33}, 22);

  // Conditions: type word, flag word, first target, word 4, second target or form, word 6.
  constexpr float kNode33 = 10338;  // node 1033 given directly (kind 8)
  constexpr float kNode40 = 10408;
  entry(5, 21, "FLAGON", {1, 65537, kNode33, 0, 0, 0});
  entry(5, 22, "FLAGOFF", {1, -4, kNode33, 0, 0, 0});  // clears FIX's 4: 65537 stays
  entry(5, 23, "BDRY2", {2, 3, kNode40, 12, kNode40, 1.5f});  // a second target 0 is every node
  entry(5, 24, "BDRY3", {3, -3, kNode40, 0, 0, 2.5f});
  entry(5, 25, "BDRY4", {4, 196611, kNode40, 0, 0, 0});
  entry(5, 26, "BDRY12", {12, 7, kNode40, 5, 0, 3.5f});
  entry(5, 27, "PRESC", {9, 12, 57, 2.5f, 0, 7.25f});
  entry(5, 28, "PRESCUP", {9, 65536, kNode40, -2.5f, 0, 1.75f});
  entry(5, 29, "RBEAM", {5, 7, 32, 0, 281, 0});
  entry(5, 30, "RBSELF", {5, -3, 281, 0, 281, 0});
  entry(5, 31, "EQHEAD", {8, 3, 281, 1.25f, 2, 4.5f});
  entry(5, 32, "EQT1", {8, 1, 32, 2, 1, 31});
  entry(5, 33, "EQT2", {8, -2, 291, -0.5f, 1, 31});
  entry(5, 34, "EQLONE", {8, 1, 281, 0, 2, 0});
  entry(5, 35, "CONNECT", {7, 3, 212, 0, 222, 0});
  entry(5, 36, "CONNREV", {7, 3, 212, 0, 232, 0});
  entry(5, 37, "CONN54", {7, 3, 212, 0, 242, 0});
  entry(5, 38, "CONNCTR", {107, 3, 262, 0, 222, 0});
  entry(5, 39, "CONNPTS", {7, 3, 227, 0, 237, 0});
  entry(5, 40, "CONNPLN", {7, 3, 262, 0, 222, 0});
}

// The bits of a REAL as an INTEGER value.
int32_t bits(float r) { return std::bit_cast<int32_t>(r); }

// Load distributions (type -8), variations (type -9) and curves (type -7), numbered from
// 141 on, with the Cartesian systems they are evaluated in.
void addLoadsCurves() {
  MODCNT.word(kCntCoordSystems) = QueryModel::kAllCoordSystems;
  MODCNT.word(kCntKind40) = QueryModel::kDistributions;
  MODCNT.word(kCntKind41) = QueryModel::kVariations;
  MODCNT.word(kCntCurves) = QueryModel::kCurves;

  entry(8, QueryModel::kCartesianSystem, "CARTSYS", {1, 1, 2, 4});
  entry(8, QueryModel::kFarNodeSystem, "FARSYS", {1, 1, 99, 4});

  // Distributions: a line table (0, 0), (1, 10); a surface form 1 with corners 1 to 4; a
  // body with corners 1 to 8; spatial, function 5 in direction 1 over 0..10 with amplitude
  // 2, globally, in CARTSYS and in FARSYS.
  intEntry(-8, QueryModel::kLineTable, "DLINE",
           {1, 7, 0, 4, 0, 0, 0, 0, 0, 0, bits(0), bits(0), bits(1), bits(10)});
  intEntry(-8, QueryModel::kSurfaceCorners, "DSURF",
           {2, 1, 0, 4, 0, 0, 0, 0, 0, 0, bits(1), bits(2), bits(3), bits(4)});
  std::vector<int32_t> body = {3, 1, 0, 8, 0, 0, 0, 0, 0, 0};
  for (int32_t k = 1; k <= 8; ++k) body.push_back(bits(static_cast<float>(k)));
  intEntry(-8, QueryModel::kBodyCorners, "DBODY", body);
  auto spatial = [](int32_t system) {
    std::vector<int32_t> v = {4, 0, 1, 0, 0, 0, 0, 0, system, 0, 50, bits(0), bits(10), bits(2), 0};
    v.resize(44, 0);
    return v;
  };
  intEntry(-8, QueryModel::kSpatialGlobal, "DSPACE", spatial(0));
  intEntry(-8, QueryModel::kSpatialCartesian, "DSPCART", spatial(QueryModel::kCartesianSystem));
  intEntry(-8, QueryModel::kSpatialFarNode, "DSPFAR", spatial(QueryModel::kFarNodeSystem));

  // Variations: limits 0.2..0.6 on the first parametric coordinate; a global box 0..1 on x.
  intEntry(-9, QueryModel::kLimitVariation, "VLIMIT",
           {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, bits(0.2f), bits(0.6f), 0, 0, 0, 0});
  intEntry(-9, QueryModel::kBoxVariation, "VBOX",
           {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, bits(0), bits(1), 0, 0, 0, 0});

  // Curves: type x 10000 + m, offsets, scales, range, fillet, repeats, value count, data.
  auto curve = [](int32_t id, const char* name, int32_t type, float lower, float upper,
                  std::vector<float> data) {
    std::vector<int32_t> v = {type, bits(0), bits(0), bits(1), bits(1), bits(lower), bits(upper),
                              bits(0), 0, static_cast<int32_t>(data.size())};
    for (float d : data) v.push_back(bits(d));
    intEntry(-7, id, name, v);
  };
  curve(QueryModel::kTableCurve, "TABLE", 10000, 0.5f, 2, {1, 7, 2, 8});
  curve(QueryModel::kStepCurve, "STEP", 20000, 0, 0, {2, 5, 0, 0});
  curve(QueryModel::kRampCurve, "RAMP", 30000, 0, 0, {1, 3, 2, 6});
  curve(QueryModel::kSineCurve, "SINE", 40004, 0, 0, {4, 1, 0, 0, 0});
  curve(QueryModel::kExpCurve, "EXPO", 50004, 0, 0, {1, 2, 0, 1, 4});
}

// ---- Element faces and the face search -----------------------------------------------------
void addFaceSearch() {
  using M = QueryModel;
  MODCNT.word(kCntPoints) = M::kAllPoints;
  MODCNT.word(kCntLines) = M::kAllLines;
  MODCNT.word(kCntSurfaces) = M::kAllSurfaces;
  MODCNT.word(kCntBodies) = M::kAllBodies;
  MODCNT.word(kCntHighestElement) = M::kAllElements;

  // Elements: the lower cube with its top and bottom exchanged, a QU8 and a BE3.
  constexpr int32_t kQU8 = 9;
  constexpr int32_t kBE3 = 2;
  element(M::kTurnedHexa, kHE8, {5, 6, 7, 8, 1, 2, 3, 4});
  element(M::kQuad8, kQU8, {1, 5, 2, 6, 3, 7, 4, 8});
  element(M::kBeam3, kBE3, {21, 22, 23});

  // Points without nodes: the ends of the BE3 line.
  entity(kArrPoints, kPointWords, kArrPointNamesArray, M::kNodelessEnd, "PNONE", {});
  putReals(kArrPointCoordinates, M::kNodelessEnd, {10, 5, 0});
  entity(kArrPoints, kPointWords, kArrPointNamesArray, M::kNodelessEnd + 1, "PNONE2", {});
  putReals(kArrPointCoordinates, M::kNodelessEnd + 1, {12, 5, 0});

  // Packed node lists (array 23, record 28): the shared line and the floor.
  constexpr int32_t kRecord = 28;
  constexpr int32_t kFirst = (kRecord - 1) * 32 + 1;
  Words lists = {2, 3, 0,         // SHARED
                 1, 2, 3, 4, 0};  // FLOOR
  lists.resize(32, 0);
  put(kArrPackedListsArray, kRecord, lists);
  MODCNT.word(kCntPackedListEnd) = std::max(MODCNT.word(kCntPackedListEnd), kFirst + 8);

  // Lines: the four sides of the floor (points P1, PN2, PN3, PN4 at nodes 1-4), the shared
  // line from PN2 to PN3, all without mesh, and the BE3 line between the two nodeless points.
  auto line = [](int32_t id, const char* name, Set words) {
    entity(kArrLines, kLineWords, kArrLineNames, id, name, words);
  };
  line(M::kFloorSides, "FLR1", {{2, 1}, {3, 30}, {4, 1}, {7, 100}});
  line(M::kFloorSides + 1, "FLR2", {{2, 30}, {3, 31}, {4, 1}, {7, 100}});
  line(M::kFloorSides + 2, "FLR3", {{2, 31}, {3, 32}, {4, 1}, {7, 100}});
  line(M::kFloorSides + 3, "FLR4", {{2, 32}, {3, 1}, {4, 1}, {7, 100}});
  line(M::kSharedLine, "SHARED", {{2, 30}, {3, 31}, {4, 1}, {7, 100}, {13, kFirst}});
  line(M::kBeamLine, "BEAM3",
       {{2, M::kNodelessEnd}, {3, M::kNodelessEnd + 1}, {4, 1}, {7, 103}, {8, M::kBeam3}, {9, M::kBeam3}});

  // Surfaces: the floor of type 1 without mesh; QA and QB of type 1 on the shared line,
  // meshed by the QU4 elements 6 and 7; QUAD8 of type 99 meshed by the QU8.
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, M::kFloor, "FLOOR",
         {{2, M::kFloorSides}, {3, M::kFloorSides + 1}, {4, M::kFloorSides + 2},
          {5, M::kFloorSides + 3}, {6, 100}, {13, kFirst + 3}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, M::kSharedSurface, "QA",
         {{2, M::kSharedLine}, {6, 105}, {7, 6}, {8, 6}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, M::kSharedSurface + 1, "QB",
         {{2, M::kSharedLine}, {6, 105}, {7, 7}, {8, 7}});
  entity(kArrSurfaces, kSurfaceWords, kArrSurfaceNames, M::kQuad8Surface, "QUAD8",
         {{6, 9905}, {7, M::kQuad8}, {8, M::kQuad8}});

  // Bodies on the floor: the cube of element 1, whose element-type word asks for the
  // neighbour list (word 8 div 100 is 1), and the one of the turned element.
  entity(kArrBodies, kBodyWords, kArrBodyNames, M::kCube, "CUBE",
         {{1, 1}, {2, M::kFloor}, {8, 103}, {9, 1}, {10, 1}});
  entity(kArrBodies, kBodyWords, kArrBodyNames, M::kTurnedBody, "TURNED",
         {{1, 1}, {2, M::kFloor}, {8, 103}, {9, M::kTurnedHexa}, {10, M::kTurnedHexa}});

  // Set 161 (stored 162) holds only the second surface of the shared line.
  MODCNT.word(kCntSets) = M::kAllStoredSets;
  MODCNT.word(kCntSetBlockTop) = std::max(MODCNT.word(kCntSetBlockTop), 161);
  set(M::kSetOtherSurface + 1, 1, 0, "QBONLY", {3, M::kSharedSurface + 1}, 161);
}

}  // namespace

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
