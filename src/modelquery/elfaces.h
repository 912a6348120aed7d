// Element faces on an entity: which edges or faces of one element lie on a point, line or
// surface. UEFAC2 (queries.h) is the host's query; FACEXT decides from the element's
// nodes that lie on the entity's node list, FACTYP numbers an edge or face by the sum and
// the smallest of its corner positions, and EDGFND and FACFND keep the neighbour lists
// that tell a boundary edge or face (one element has it) from an inner one.
//
// The work array of UEFAC2 holds, from word START + 1, the entity's node list (internal
// node numbers); a neighbour list follows it directly: one word with the entry count,
// then the entries. An edge entry is three words (first node, second node, the number of
// elements of the neighbouring entity that have the edge), a face entry five (four nodes,
// the fourth 0 for a three-node face, and the element count).
//
// The saved list flag says whether that neighbour list belongs to the entity of the
// current calls: a call in mode 0 builds the list and sets it, the later calls of the same
// entity read it. It is session data, cleared by resetFaceListFlag when a session starts.
//
// The entity's node list is looked up through a set built once for the entity and kept
// while the calls name the same entity and list (a call in mode 0, or one that collects
// the list itself, builds it again), so that a call costs its element, not the entity.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kFaceListWords = 6;
using FaceList = std::array<int32_t, kFaceListWords>;

// Target kinds: what the faces are sought on.
inline constexpr int32_t kTargetPlaneEdges = 2;  // edges of plane and shell elements on a line
inline constexpr int32_t kTargetSolidFaces = 4;  // faces of solids on a surface
inline constexpr int32_t kTargetBeamEnd = 7;     // the end of a line element at a point
inline constexpr int32_t kTargetSolidEdges = 8;  // edges of solids on a line

// The edge or face FACE of an element of SHAPE whose corners at the positions of sum SUM
// and smallest position M lie on the entity. STATUS 0 found; 1 a side of an interface
// element, no face; 2 a shape without a table; 3 no face with that sum. FACE 0 unless
// found.
void FACTYP(int32_t shape, int32_t sum, int32_t m, int32_t& face, int32_t& status);

// Neighbour list operations.
inline constexpr int32_t kListBuild = 1;
inline constexpr int32_t kListLookUp = 2;

// The edge-neighbour list behind the NODECOUNT nodes of LIST (LIST(1) the first node).
// MODE 1 builds it over the elements FIRST..SECOND (internal numbers): every edge of a
// TR3, QU4, IL22, PE6, TE4 or HE8 element whose two end nodes are both in the node list,
// with the number of elements that have it; RESULT 0, or 1 when SPACE (the words from the
// node list on, less the node count) cannot hold the next entry. MODE 2 answers in RESULT
// the element count of the edge with end nodes FIRST and SECOND, -1 when not listed.
void EDGFND(int32_t mode, std::span<int32_t> list, int32_t space, int32_t nodeCount,
            int32_t first, int32_t second, int32_t& result);

// The face-neighbour list, as EDGFND: MODE 1 over the elements P1..P2 of four, six or
// eight nodes (any other node count gives RESULT 1 at once), SPACE the words from the node
// list on; MODE 2 the element count of the face with nodes P1..P4 (P4 0 for a triangle).
void FACFND(int32_t mode, std::span<int32_t> list, int32_t space, int32_t nodeCount, int32_t p1,
            int32_t p2, int32_t p3, int32_t p4, int32_t& result);

// RESULT 0 when each of the four NODES occurs among the four node words of ENTRY, else 1.
void FAC4EQ(std::span<const int32_t, 4> nodes, std::span<const int32_t> entry, int32_t& result);

// The faces (target 4) or edges (targets 2 and 8) of element ELEMENT (internal number)
// that lie on the entity whose NODECOUNT nodes are in WORK from word START + 1. LISTFLAG 1
// when the neighbour list after them is valid. SURFACE names the surface that the faces
// of a solid are measured against. STATUS 0; 1 element unreadable; 2 too few or too many
// corners on the entity; 3 no face found. At most six faces are kept.
void FACEXT(int32_t element, int32_t surface, int32_t target, int32_t nodeCount, int32_t listFlag,
            std::span<int32_t> work, int32_t start, int32_t size, FaceList& faces,
            int32_t& count, int32_t& status);

// Clears the saved list flag (a session start).
void resetFaceListFlag();

// Constant data (elfaces_data.cpp).

// Mid nodes per edge of a plane shape.
int32_t midNodesPerEdge(int32_t shape);

// The order class O and corner count Q of a solid or interface shape.
struct SolidClass {
  int32_t order;
  int32_t corners;
};
SolidClass solidClassOf(int32_t shape);

// True for the interface shapes 43 to 51, 60 and 61.
bool interfaceShape(int32_t shape);

// The corner positions of the faces (EDGES false) or edges of SHAPE, in face order; a
// face's unused fourth corner is 0.
using CornerRow = std::array<int32_t, 4>;
std::span<const CornerRow> cornerTable(int32_t shape, bool edges);

// The face number in the renumbered order of TE16, PE24 and HE32 (FACE for other shapes).
int32_t renumberedFace(int32_t shape, int32_t face);

}  // namespace kvr
