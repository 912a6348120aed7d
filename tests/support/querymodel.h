// The query model: a small saved model that the tests of the reading road and its host
// programs open. Later additions append entities and never renumber what is here.
//
// Nodes 1-16 (offset 1000), elements 1-4 (offset 5000), at most 20 nodes an element and
// a node limit of 20 per entity (MODCNT word 16):
//  - nodes 1-12 a stack of two unit cubes (z = 0, 1, 2; x, y in {0, 1}, counter-clockwise
//    from the origin), nodes 13-16 a unit square at x = 3..4, z = 0;
//  - element 1 HE8 on nodes 1-8, element 2 HE8 on 5-12 (they share the face 5-8), element
//    3 IL22 stored as 5 6 7 8, element 4 QU4 on 13-16.
// Points: 1 "P1" at node 1, 2 "P2" deleted, 3 "P3" at node 13, 4 "P4" at node 16, each
// with the coordinates of its node.
// Lines: 1 "L1" straight from P1 to P3 (element-type code 3, units part 0, packed list
// 1, 13), 2 "L2" from P3 to P4 (code 3, units part 1, list 13, 16), 3 "L3" of type 4 from
// node 10 to node 12 (coordinate system 2), 4 "C1" composite of L1 and L2, 5 "C2" composite
// of L2 and L3.
// Surfaces: 1 "S1" with the list 13, 14, 15, 16; 2 "S2" whose list starts with 0; 3 "S3"
// of type 99, meshed by element 4 (element-type code 5).
// Body 1 "BLOCK001": elements 1-2 (element-type word 1), 12 distinct nodes.
// Sets, as the queries number them (stored one higher): 1 "MIXED" (P1, L1, L3, S1), 2
// "SURFS" of type 3 holding S1 and S2, 3 "EMPTY", 4 "NODELINE" (node 5, element 1, L3), 5
// "COMPOS" (C1, C2), 6 "PNTSRF" (P1, P3, P4, S1, S2).
// Conditions (type 5, six values): 1 "FIX" type 1 mask 5 on every node (target 0), 2
// "PNT" type 1 mask 8 on P1, 3 "TIE" type 2 from L3 to P3, 4 "ONCOMP" type 3 on COMPOS.
// Loads (type 9, ten values: value 2 the target, value 3 a word): 1 "LC" on C1 (7), 2
// "LSET" on COMPOS (3), 3 "LEMPTY" on EMPTY (0).
// Material 1 "STEEL" (210000, 0.3).
//
// Materials, properties, loads and neighbours (appended; the counts above are those of
// the first part, the k...All counts those of the whole model):
// Points 5 "P5" at (1, 2, 3), 6 "P6" at (4, 5, 6), 7 "P7" at (7, 8, 9), none with a node; 8
// "P8" at (5, 5, 5) with element 4.
// Lines: 6 "M1" P5-P6 meshed by element 1 (code 3); without mesh: 7 "U1" P6-P7, 8 "U2"
// P7-P5 (on no surface), 9 "U3" P5-P7, 10 "U4" P6-P5, 11 "UA", 13 "UB", 14 "UC", 15 "UD";
// 12 "CX" composite of UA and UB.
// Surfaces: 4 "SM" type 1 meshed by element 4, boundary U1, U3, U3, CX; 5 "SU" type 1
// without mesh, boundary U4; 6 "SD" type 5 meshed by element 4: line set stored 9, two
// further sets in a chained list of array 17 (word 4): a one-entry block holding -9, then a
// counted block holding 10.
// Body 2 "B2" type 1 on SU, meshed by elements 1-2.
// Sets (queries' numbers): 7 "ADJSET" (P5, M1, SU, SM as stored: SU, SM, M1, P5), 8
// "SDLINES" type 4 of lines (UC, CX, UB with first word -1), 9 "SDMORE" (UD).
// Materials: 2 "CONCRETE" with 14 values, 11 to 14 in values 11-14, referring to type -3
// entry 1 "GRADE" (INTEGER values 7, 2); 3 missing; 4 "BARE" with its 10 header values;
// 5 "TEXTS" whose values 11 on hold two text items, "A B " and "ABCDEFGH".
// Physical properties (header value 1 the type -2 entry, 3 the point flag, 4 the point
// bits; data values): 1 "PBOTH" (entry 1, flag 1, bits 3: 5 0 0 6 0 0 7 0 0), 2 "PSECOND"
// (bits 2), 3 "PNOFLAG" (flag 0), 4 "PSHORT" (data 5 0 0 6 0 0 7 0), 5 "PMISSING" (data 2 0
// 0 2 0 0 999 0 0), 6 "PODD" (entry 2, bits 1: 6 0 0 0 0 0). Type -2 entries 1 "SECT" (0, 1,
// 1, 40) and 2 "SECT0" (0, 0, 1, 0).
// Load descriptions (type -5, value 3 the type, 6 the flag): 1 "DESC1" (1, 1), 2 "DESC2"
// (2, 1), 3 "DESC3" (3, 1), 4 "DESC0" (1, 0). Loads 4-17 (words 7-10 = 1, 2, 3, 4):
// 4 "LK5" target 35 (value 9.5), 5 "LK6" 36, 6 "LK7" 37, 7 "LK0" 30, 8 "LLINE" of type 2
// on L1 with word 3 = 5, second target 37 and values 1.5, 2.5, 9 "LMESH" on M1 with SM
// second, 10 "LAPART" on U2 with SU second, 11 "LSURF" on SU, 12 "LBODY" on body 1,
// 13 "LBIG" with 15 values, 14 "LNODESC" (description 99 missing), 15 "LTYPE3", 16 "LFLAG0",
// 17 "LPOINT" on P5 with P1 second. Their target records follow those of loads 1-3, one
// each but two for LK7 (S1, S2).
//
// Element ownership (appended after the above; MODCNT counts are the k...All ones):
// Elements 5 a point element on node 16, 6 QU4 on nodes 1-4, 7 QU4 on 2, 13, 16, 3.
// Point 9 "P9" at node 16 meshed by element 5 (element-type code 1).
// Surface 7 "S4" of type 99 meshed by elements 6 and 7 (element-type code 7, QU4), group
// word 0 (units part 0), material 6 and property 8.
// Material 6 "ALU"; physical properties 7 "PLATE", 8 "SHELL".
// Element attribute regions (type -10), tested in this order:
//  - 1 "R1" kind 3, mode 1 (centroid): the prism on the unit square at z = 1.2 up to
//    z = 1.8; material 1, property 0. It holds element 2.
//  - 2 "R2" kind 2, mode 3 (every node): the box (1.5, -1, -1)-(5, 2, 1); material 6,
//    property 7. It holds elements 4 and 5; element 7 has node 2 outside it.
//  - 3 "R3" kind 1, mode 1: the polygon (0, 0.5), (1, 0.5), (1, 2), (0, 2) on x and y;
//    material 1, property 7. The centroids of elements 1, 3 and 6 lie on its edge.
//  - 4 "R4" kind 4, mode 2 (one node): within 0.01 of the segment (1, 0, 0)-(1, 1, 0);
//    material 1, property 8. It holds element 7.
// Element 3 has no owner; element 1 is owned first by line M1, element 4 by point P8.
//
// Lines, surfaces and bodies (appended; numbers 61 on, the k...All counts raised to them):
// Points 61 "Q61" at (1, 0, 0), 62 "Q62" at (0, 1, 0), 63 "Q63" at the origin, without nodes.
// Lines: 61 "STRAIGHT" from Q63 to Q61 (2 divisions); 62 "ARC" the quarter circle of
// radius 1 from Q61 to Q62 about Q63 (3 divisions); 63 "COMP" composite of STRAIGHT and
// ARC. None is meshed; all have element-type code 0.
// Surface 61 "SQ" of type 1 bounded by STRAIGHT, ARC and STRAIGHT, without mesh; body 61
// "BQ" of type 1 on SQ, without mesh.
//
// Coordinate systems (appended, addCoordinateSystems; numbers from 41 on):
// System 41 "CYLSYS" (attribute type 8), cylindrical (type 3), on node 1 (the origin),
// node 5 stored as 4.9999 (on the third axis) and node 2 (in the plane of the first and
// third axes): axes (1, 0, 0), (0, 1, 0), (0, 0, 1). Line 41 "CYLLINE" of type 4 over nodes
// 14 to 16 carries it (word 10 = 410), so nodes 14-16 refer to it. Systems 1-40 have no
// entry (L3 refers to system 2, which has none).
//
// Constraints, equations and connections (appended after the above; numbers 21-40):
// Nodes 21-25 (10..14, 0, 0), the fine edge; 26-28 (10, 1, 0), (12, 1, 0), (14, 1, 0), the
// coarse edge; 29-32 (10..13, 2, 0); 33 (20, 0, 0), whose flag word is 65537; 34 (20, 5,
// 0), 35 (19, 5, 0), 36 (21, 5, 0); 40 (20, 10, 0). Nodes 17-20 and 37-39 are unused (at
// the origin, no element).
// Elements 11-19 BE2 (shape 1): 11-14 on 21-22, 22-23, 23-24, 24-25; 15-16 on 26-27,
// 27-28; 17-19 on 29-30, 30-31, 31-32.
// Points 21 "PF1" node 21, 22 "PF2" 25, 23 "PC1" 26, 24 "PC2" 28, 25 "PQ1" 29, 26 "PQ2"
// 32, 27 "PDIAG" 15, 28 "PN11" 11, 29 "PN5" 5, 30 "PN2" 2, 31 "PN3" 3, 32 "PN4" 4, 33
// "PN6" 6.
// Lines (packed lists in record 21 of array 23, positions 641-666), element-type code 3:
// 21 "FINE" PF1-PF2 meshed by 11-14 (nodes 21-25); 22 "COARSE" PC1-PC2 meshed by 15-16
// (26-28); 23 "COARSER" PC2-PC1, the same mesh, its list 28, 27, 26; 24 "FOUR" PQ1-PQ2
// meshed by 17-19 (29-32). Without mesh (code 0): 25 "DIAG" P3-PDIAG (13, 15: nodes 1 and
// 3 of the QU4 element 4, whose nodes 1 and 4 lie on L2); 26 "CENTRED" without end points
// (34, 35, 36: its first node at its centroid).
// Sets (queries' numbers): 21 "TRIO1" (P1, PN2, PN3: nodes 1-3), 22 "TRIO2" (PN4, PN5,
// PN6: nodes 4-6).
// Conditions (type word, flag word, target, word 4, second target or form, word 6):
// 21 "FLAGON" (1, 65537, node 1033) and 22 "FLAGOFF" (1, -4, node 1033), so that node 33
// keeps 65537 beside FIX; on node 1040: 23 "BDRY2" (2, 3, ., 12, node 1040, 1.5), 24 "BDRY3" (3,
// -3, ., 0, 0, 2.5), 25 "BDRY4" (4, 196611 = flags 1, 2, 17, 18, ., 0, 0, 0), 26 "BDRY12"
// (12, 7, ., 5, 0, 3.5), 28 "PRESCUP" (9, 65536, ., -2.5, 0, 1.75); 27 "PRESC" (9, 12, 57:
// NODELINE, 2.5, 0, 7.25); rigid beams 29 "RBEAM" (5, 7, L3, 0, PN11) and 30 "RBSELF" (5,
// -3, PN11, 0, PN11); the equation 31 "EQHEAD" (8, 3, PN11, 1.25, 2, 4.5) with its terms
// 32 "EQT1" (8, 1, L3, 2, 1, 31) and 33 "EQT2" (8, -2, PN5, -0.5, 1, 31); 34 "EQLONE" (8,
// 1, PN11, 0, 2) without terms; connections 35 "CONNECT" FINE-COARSE, 36 "CONNREV"
// FINE-COARSER, 37 "CONN54" FINE-FOUR, 38 "CONNCTR" (mode 1) and 40 "CONNPLN" (mode 0)
// CENTRED-COARSE, 39 "CONNPTS" TRIO1-TRIO2, all with flag word 3.
//
// Load distributions and curves (appended, addLoadsCurves; numbers 141-160):
// Systems (type 8): 141 "CARTSYS" Cartesian on nodes 1, 2 and 4, (0, 0, 0), (1, 0, 0) and
// (0, 1, 0): axes (0, 1, 0), (0, 0, 1), (1, 0, 0); 142 "FARSYS" whose node 2 is 99, above
// the highest node. Systems 42-140 have no entry.
// Distributions (type -8, INTEGER values with REAL words): 141 "DLINE" line kind, function
// 7, the table (0, 0), (1, 10) (word 4 = 4); 142 "DSURF" surface form 1, corners 1, 2, 3,
// 4; 143 "DBODY" body form 1, corners 1 to 8; 144 "DSPACE" spatial form 1, function 5 in
// direction 1 over 0..10 with amplitude 2 (code 50), global; 145 "DSPCART" the same in
// CARTSYS; 146 "DSPFAR" in FARSYS. 44 values each spatial.
// Variations (type -9): 141 "VLIMIT" kind 1, limits 0.2..0.6; 142 "VBOX" kind 4, global,
// x within 0..1 (the other limits 0: unlimited).
// Curves (type -7; offsets 0, scales 1, fillet 0, no repeats): 141 "TABLE" the table (1, 7),
// (2, 8) over 0.5..2; 142 "STEP" (2, 5, 0, 0); 143 "RAMP" (1, 3, 2, 6); 144 "SINE" m 4 with
// (T, A, phase, B, D) = (4, 1, 0, 0, 0); 145 "EXPO" m 4 with (1, 2, 0, 1, 4).
// Element faces and the face search (appended, addFaceSearch; numbers 161 on, elements
// 81-83, no new node):
// Elements 81 HE8 on 5 6 7 8 1 2 3 4 (the lower cube, top and bottom exchanged: it turns
// the wrong way), 82 QU8 on 1 5 2 6 3 7 4 8, 83 BE3 on 21 22 23.
// Points 161 "PNONE" and 162 "PNONE2" without nodes.
// Lines without mesh: 161-164 "FLR1".."FLR4" the sides of the unit square at z = 0 (P1,
// PN2, PN3, PN4 at nodes 1-4); 165 "SHARED" from PN2 to PN3 (nodes 2 and 3 in its packed
// list). Line 166 "BEAM3" from PNONE to PNONE2 meshed by the BE3.
// Surfaces: 161 "FLOOR" of type 1 on FLR1..FLR4 (nodes 1-4), without mesh; 162 "QA" and 163
// "QB" of type 1 bounded by SHARED, meshed by the QU4 elements 6 and 7 (edges 2 and 4 on
// it); 164 "QUAD8" of type 99 meshed by the QU8.
// Bodies on FLOOR: 161 "CUBE" meshed by element 1, word 8 = 103 (the neighbour list is
// built); 162 "TURNED" meshed by element 81, word 8 = 103 as well (one group with CUBE).
// Set 161 "QBONLY" (stored 162) holds QB.
#pragma once

#include <cstdint>
#include <string>

namespace kvr::test {

struct QueryModel {
  static constexpr int32_t kNodes = 16;
  static constexpr int32_t kElements = 4;
  static constexpr int32_t kNodeOffset = 1000;
  static constexpr int32_t kElementOffset = 5000;
  static constexpr int32_t kElementNodes = 20;
  static constexpr int32_t kNodeLimit = 20;
  static constexpr int32_t kPoints = 4;
  static constexpr int32_t kLines = 5;
  static constexpr int32_t kSurfaces = 3;
  static constexpr int32_t kBodies = 1;
  static constexpr int32_t kStoredSets = 7;  // stored sets 2-7; stored set 1 heads the free chain
  static constexpr int32_t kConditions = 4;
  static constexpr int32_t kLoads = 3;
  static constexpr int32_t kMaterials = 1;

  // Set numbers of the queries.
  static constexpr int32_t kSetMixed = 1;
  static constexpr int32_t kSetSurfaces = 2;
  static constexpr int32_t kSetEmpty = 3;
  static constexpr int32_t kSetNodeLine = 4;
  static constexpr int32_t kSetComposites = 5;
  static constexpr int32_t kSetPointsSurfaces = 6;

  // The whole model with the materials, properties, loads and neighbours (and the element
  // ownership below).
  static constexpr int32_t kAllPoints = 162;
  static constexpr int32_t kAllLines = 166;
  static constexpr int32_t kAllSurfaces = 164;
  static constexpr int32_t kAllBodies = 162;
  static constexpr int32_t kAllStoredSets = 162;
  static constexpr int32_t kAllMaterials = 6;
  static constexpr int32_t kProperties = 8;
  static constexpr int32_t kAllLoads = 17;
  static constexpr int32_t kSetAdjacent = 7;
  static constexpr int32_t kSetSurfaceLines = 8;
  static constexpr int32_t kSetMoreLines = 9;

  // The whole model with element ownership.
  static constexpr int32_t kAllElements = 83;
  static constexpr int32_t kRegions = 4;
  static constexpr int32_t kPointElementOwner = 9;  // P9
  static constexpr int32_t kOwnedSurface = 7;       // S4
  static constexpr int32_t kAlu = 6;
  static constexpr int32_t kPlate = 7;
  static constexpr int32_t kShell = 8;

  // Lines, surfaces and bodies.
  static constexpr int32_t kQ1 = 61;          // (1, 0, 0)
  static constexpr int32_t kQ2 = 62;          // (0, 1, 0)
  static constexpr int32_t kQ0 = 63;          // the origin
  static constexpr int32_t kStraight = 61;    // Q0 to Q1
  static constexpr int32_t kArc = 62;         // quarter circle Q1 to Q2 about Q0
  static constexpr int32_t kComposite = 63;   // STRAIGHT and ARC
  static constexpr int32_t kPlainSurface = 61;
  static constexpr int32_t kPlainBody = 61;

  // The coordinate systems.
  static constexpr int32_t kCoordSystems = 41;
  static constexpr int32_t kCylSystem = 41;         // CYLSYS
  static constexpr int32_t kCylSystemLine = 41;     // CYLLINE
  static constexpr int32_t kCylSystemFirstNode = 14;
  static constexpr int32_t kCylSystemLastNode = 16;

  // The whole model with constraints, equations and connections.
  static constexpr int32_t kAllNodes = 40;
  static constexpr int32_t kAllConditions = 40;
  static constexpr int32_t kFlagNode = 33;
  static constexpr int32_t kSetTrio1 = 21;
  static constexpr int32_t kSetTrio2 = 22;

  // Load distributions and curves.
  static constexpr int32_t kAllCoordSystems = 142;
  static constexpr int32_t kCartesianSystem = 141;  // nodes 1, 2, 4
  static constexpr int32_t kFarNodeSystem = 142;    // node 2 above the highest node
  static constexpr int32_t kDistributions = 146;
  static constexpr int32_t kLineTable = 141;
  static constexpr int32_t kSurfaceCorners = 142;
  static constexpr int32_t kBodyCorners = 143;
  static constexpr int32_t kSpatialGlobal = 144;
  static constexpr int32_t kSpatialCartesian = 145;
  static constexpr int32_t kSpatialFarNode = 146;
  static constexpr int32_t kVariations = 142;
  static constexpr int32_t kLimitVariation = 141;
  static constexpr int32_t kBoxVariation = 142;
  static constexpr int32_t kCurves = 145;
  static constexpr int32_t kTableCurve = 141;
  static constexpr int32_t kStepCurve = 142;
  static constexpr int32_t kRampCurve = 143;
  static constexpr int32_t kSineCurve = 144;
  static constexpr int32_t kExpCurve = 145;
  // Element faces and the face search.
  static constexpr int32_t kTurnedHexa = 81;
  static constexpr int32_t kQuad8 = 82;
  static constexpr int32_t kBeam3 = 83;
  static constexpr int32_t kNodelessEnd = 161;  // and 162
  static constexpr int32_t kFloorSides = 161;   // to 164
  static constexpr int32_t kSharedLine = 165;
  static constexpr int32_t kBeamLine = 166;
  static constexpr int32_t kFloor = 161;
  static constexpr int32_t kSharedSurface = 162;  // and 163
  static constexpr int32_t kQuad8Surface = 164;
  static constexpr int32_t kCube = 161;
  static constexpr int32_t kTurnedBody = 162;
  static constexpr int32_t kSetOtherSurface = 161;

  // The coordinates of node N (1..kAllNodes; (0, 0, 0) for an unused one).
  static void node(int32_t n, float& x, float& y, float& z);
};

// Builds the query model into the full model registry, which it sets up afresh (the
// reading road's constants must be in force: MDLCON).
void buildQueryModel();

// Builds the query model and writes it as a model file through the database dump, named
// after STEM: the file STEM + ".DMP", whose name is answered (empty when the dump failed).
std::string writeQueryModel(const std::string& stem);

}  // namespace kvr::test
