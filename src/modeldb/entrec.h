// Entity records: the fixed-width records of the geometric entities, the element
// connectivity records, and the existence test that every query makes before it reads an
// entity.
//
// ENTREC: entity n of a kind occupies words (n-1) x w + 1 .. n x w of a one-word-record
// named array: lines 16 words (array 4), surfaces 14 (array 6), bodies 15 (array 8), points
// 12 (array 24). Surface word 6 is type x 100 + subtype and words 7, 8 the first and last
// element of its mesh; body word 8 its type word and words 9, 10 its element range; line
// word 7 is type x 100 + subtype and words 8, 9 its element range. Shapes (kind 6) are 20
// REAL words in array 10. Names are two-word records, the first word of a deleted entity's
// name the deletion marker of MODCON.
//
// ELCREC: element e has M + 1 words from (e-1) x (M+1) + 1 of array 13, M = MODCNT word 12:
// the shape code negated, then its node numbers, then zeros. A negative first node marks an
// absent element.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kLineWords = 16;
inline constexpr int32_t kSurfaceWords = 14;
inline constexpr int32_t kBodyWords = 15;
inline constexpr int32_t kPointWords = 12;
inline constexpr int32_t kShapeWords = 20;

// Named arrays of the records.
inline constexpr int32_t kArrLines = 4;
inline constexpr int32_t kArrSurfaces = 6;
inline constexpr int32_t kArrBodies = 8;
inline constexpr int32_t kArrShapes = 10;
inline constexpr int32_t kArrNodeCoordinates = 12;  // three reals a node
inline constexpr int32_t kArrConnectivity = 13;
inline constexpr int32_t kArrPoints = 24;
// The handle word that names the name array of kind 46.
inline constexpr int32_t kHandleKind46Names = 21;

// The node array a caller hands to ELCONN holds this many nodes.
inline constexpr int32_t kElementNodes = 32;

// ENTBUF: the record buffers the query routines share, in this order; a routine that reads
// an entity into one of them leaves it there for the next.
struct EntBuf {
  std::array<int32_t, kPointWords> point{};
  std::array<int32_t, kLineWords> line{};
  std::array<int32_t, kSurfaceWords> surface{};
  std::array<int32_t, kBodyWords> body{};
  std::array<float, kShapeWords> shape{};
};

inline EntBuf ENTBUF;

// Reads (MODE 1) or writes (MODE -1) entity ID of named array K through REC: for K = 4, 6,
// 8 and 24 the whole entity record, for any other K the single record ID. Failures end in
// the stop of ARRIO.
void RECIO(int32_t mode, int32_t k, int32_t id, std::span<int32_t> rec);

// Reads or writes the single record I of named array K through the REAL buffer RBUF.
void ARRREA(int32_t mode, int32_t k, int32_t i, std::span<float> rbuf);

// As ARRREA; for K = 10 the 20 words of shape ID.
void ARRREC(int32_t mode, int32_t k, int32_t id, std::span<float> rbuf);

// ID > 0 reads element ID: SHAPE its shape code, NNOD its node count, NODES its nodes.
// ID < 0 writes element |ID| from SHAPE, NNOD and NODES(1..NNOD). STAT 0 done; 1 refused:
// ID 0 or beyond the highest element, a shape without nodes or with more nodes than the
// record or NODES holds, NNOD outside 0..M, or (read) a negative first node, whose nodes
// are then in NODES. A refused write writes nothing.
void ELCONN(int32_t id, std::span<int32_t> nodes, int32_t& nnod, int32_t& shape, int32_t& stat);

// -1 when entity ID of KIND exists, 0 when it does not (also for ID below 1, or beyond the
// kind's count). Kinds 0 and below or above 47 are tested as points, a kind within 1..47
// that the kind table does not list by an attribute entry of type 0.
int32_t ENTEXS(int32_t id, int32_t kind);

// The element range of body, surface or line ID and its type word or subtype. The body
// and surface are read into ENTBUF; a range whose first element lies above the highest
// element number is 0, 0. A missing line gives SUB = FIRST = LAST = -1 unread; a line
// without a valid type FIRST = LAST = -2; a composite line FIRST = LAST = 0.
void ELRNGB(int32_t id, int32_t& first, int32_t& last, int32_t& typw);
void ELRNGS(int32_t id, int32_t& first, int32_t& last, int32_t& sub);
void ELRNGL(int32_t id, int32_t& first, int32_t& last, int32_t& sub);

// Line word 7: the type (word 7 div 100 when it is a valid line type 1..6, 9 or 99, else 0)
// and the subtype (word 7 mod 100).
inline constexpr int32_t kCompositeLine = 9;
constexpr int32_t lineTypeOf(int32_t word7) {
  const int32_t t = word7 / 100;
  return (t >= 1 && t <= 6) || t == kCompositeLine || t == 99 ? t : 0;
}
constexpr int32_t lineSubtypeOf(int32_t word7) { return word7 % 100; }

// Installs the model database's label reader for the entity messages (MSGENT): the name
// record of kinds 1, 2, 3, 4, 6, 7, 42 and 46, and for the other kinds the label of the
// entity's first live attribute entry of the type CODMAP column 6 gives. Called by the
// start-up of each road.
void installEntityLabels();

}  // namespace kvr
