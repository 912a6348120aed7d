// The query model: a small saved model that the tests of the reading road and its host
// programs open. Later additions append entities and never renumber what is here.
//
// Nodes 1-16 (offset 1000), elements 1-7 (offset 5000), at most 20 nodes an element and
// a node limit of 20 per entity (MODCNT word 16):
//  - nodes 1-12 a stack of two unit cubes (z = 0, 1, 2; x, y in {0, 1}, counter-clockwise
//    from the origin), nodes 13-16 a unit square at x = 3..4, z = 0;
//  - element 1 HE8 on nodes 1-8, element 2 HE8 on 5-12 (they share the face 5-8), element
//    3 IL22 stored as 5 6 7 8 (no entity owns it), element 4 QU4 on 13-16, element 5 a
//    point element on node 16, element 6 QU4 on 1-4, element 7 QU4 on 2, 13, 16, 3.
// Points: 1 "P1" at node 1, 2 "P2" deleted, 3 "P3" at node 13, 4 "P4" at node 16 meshed
// by element 5 (element-type code 1), each with the coordinates of its node.
// Lines: 1 "L1" straight from P1 to P3 (element-type code 3, units part 0, packed list
// 1, 13), 2 "L2" from P3 to P4 (code 3, units part 1, list 13, 16), 3 "L3" of type 4 from
// node 10 to node 12 (coordinate system 2), 4 "C1" composite of L1 and L2, 5 "C2" composite
// of L2 and L3.
// Surfaces: 1 "S1" with the list 13, 14, 15, 16; 2 "S2" whose list starts with 0; 3 "S3"
// of type 99, meshed by element 4 (element-type code 5); 4 "S4" of type 99 meshed by
// elements 6 and 7 (element-type code 7, QU4), group word 0 (units part 0), material 2
// and property 2. Line 1 "L1" is not meshed, line 4 "C1" composite.
// Body 1 "BLOCK001": elements 1-2 (element-type word 1), 12 distinct nodes.
// Sets, as the queries number them (stored one higher): 1 "MIXED" (P1, L1, L3, S1), 2
// "SURFS" of type 3 holding S1 and S2, 3 "EMPTY", 4 "NODELINE" (node 5, element 1, L3), 5
// "COMPOS" (C1, C2), 6 "PNTSRF" (P1, P3, P4, S1, S2).
// Conditions (type 5, six values): 1 "FIX" type 1 mask 5 on every node (target 0), 2
// "PNT" type 1 mask 8 on P1, 3 "TIE" type 2 from L3 to P3, 4 "ONCOMP" type 3 on COMPOS.
// Loads (type 9, ten values: value 2 the target, value 3 a word): 1 "LC" on C1 (7), 2
// "LSET" on COMPOS (3), 3 "LEMPTY" on EMPTY (0).
// Materials 1 "STEEL" (210000, 0.3), 2 "ALU"; physical properties 1 "PLATE", 2 "SHELL".
// Element attribute regions (type -10), tested in this order:
//  - 1 "R1" kind 3, mode 1 (centroid): the prism on the unit square at z = 1.2 up to
//    z = 1.8; material 1, property 0. It holds element 2.
//  - 2 "R2" kind 2, mode 3 (every node): the box (1.5, -1, -1)-(5, 2, 1); material 2,
//    property 1. It holds elements 4 and 5; element 7 has node 2 outside it.
//  - 3 "R3" kind 1, mode 1: the polygon (0, 0.5), (1, 0.5), (1, 2), (0, 2) on x and y;
//    material 1, property 1. The centroids of elements 1, 3 and 6 lie on its edge.
//  - 4 "R4" kind 4, mode 2 (one node): within 0.01 of the segment (1, 0, 0)-(1, 1, 0);
//    material 1, property 2. It holds element 7.
#pragma once

#include <cstdint>
#include <string>

namespace kvr::test {

struct QueryModel {
  static constexpr int32_t kNodes = 16;
  static constexpr int32_t kElements = 7;
  static constexpr int32_t kNodeOffset = 1000;
  static constexpr int32_t kElementOffset = 5000;
  static constexpr int32_t kElementNodes = 20;
  static constexpr int32_t kNodeLimit = 20;
  static constexpr int32_t kPoints = 4;
  static constexpr int32_t kLines = 5;
  static constexpr int32_t kSurfaces = 4;
  static constexpr int32_t kBodies = 1;
  static constexpr int32_t kStoredSets = 7;  // stored sets 2-7; stored set 1 heads the free chain
  static constexpr int32_t kConditions = 4;
  static constexpr int32_t kLoads = 3;
  static constexpr int32_t kMaterials = 2;
  static constexpr int32_t kProperties = 2;
  static constexpr int32_t kRegions = 4;

  // Set numbers of the queries.
  static constexpr int32_t kSetMixed = 1;
  static constexpr int32_t kSetSurfaces = 2;
  static constexpr int32_t kSetEmpty = 3;
  static constexpr int32_t kSetNodeLine = 4;
  static constexpr int32_t kSetComposites = 5;
  static constexpr int32_t kSetPointsSurfaces = 6;

  // The coordinates of node N (1..16).
  static void node(int32_t n, float& x, float& y, float& z);
};

// Builds the query model into the full model registry, which it sets up afresh (the
// reading road's constants must be in force: MDLCON).
void buildQueryModel();

// Builds the query model and writes it as a model file through the database dump, named
// after STEM: the file STEM + ".DMP", whose name is answered (empty when the dump failed).
std::string writeQueryModel(const std::string& stem);

}  // namespace kvr::test
