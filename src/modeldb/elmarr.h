// The element geometry work arrays: TOPARR (dbinterface/toparr.h) copies the element
// topology out of the database into writing-road named arrays; the face test and the
// object lists read them here, so that they reach any element by its key without a page
// walk.
//
// Named arrays used (ARRHND words), each of one INTEGER word a record:
//   9  the element work records, one after the other: element type, element id,
//      IEATT1, IEATT2, then for nodes 1 to n of the type the node id and the node's
//      sequence number (2n + 4 words);
//  10  the element start positions: record c = the first record of element c's work
//      record; one record more than elements marks the end of the last;
//  11  the face-neighbour keys: per element of dimension 2 or 3 one key per face (the
//      element across that face, 0 for none), one key 0 for any other element;
//  12  the face-key start positions, with an end marker as in 10.
// The element key is the record number in 10 and 12: elements in the order of their
// dataset, the components of an assembly in the order of the walk.
// Also read: the node coordinates (handle word 1, three REALs a node sequence number) and
// the displacements (handle word 2, three REALs a record).
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/roadarr.h"

namespace kvr {

// Handle words of the named arrays.
inline constexpr int32_t kNodeCoordinateHandle = 1;
inline constexpr int32_t kDisplacementHandle = 2;
inline constexpr int32_t kElementRecordHandle = 9;
inline constexpr int32_t kElementStartHandle = 10;
inline constexpr int32_t kFaceKeyHandle = 11;
inline constexpr int32_t kFaceKeyStartHandle = 12;

// Words of an element work record before its nodes.
inline constexpr int32_t kWorkRecordHead = 4;

// The element of key K from the work arrays: its work record is read into WORK, then its
// id, type, IEATT1, IEATT2 and, for the nodes of its type (cut at the capacity of the
// outputs), the node ids, the sequence numbers and the coordinates (record s of the
// node coordinate array), moved by their scaled displacements (DSPADD) when the
// displacement switch is on. STATUS 0; 1 when K, the record's positions, its length
// or a node's sequence number lead outside the arrays or WORK, as a key of a damaged
// edge record would (the outputs are then not all set).
void ELMXYZ(std::span<int32_t> work, int32_t k, int32_t& id, int32_t& type, int32_t& ieatt1,
            int32_t& ieatt2, std::span<float> x, std::span<float> y, std::span<float> z,
            std::span<int32_t> nodeIds, std::span<int32_t> sequences, int32_t& status);

// The work arrays, the node coordinates and the displacements, reached directly
// (RoadArray): a caller that reads many elements, as the face test does, resolves them
// once. Made after TOPARR, as RoadArray asks.
struct ElementArrays {
  ElementArrays();
  RoadArray records;
  RoadArray starts;
  RoadArray faceKeys;
  RoadArray faceKeyStarts;
  RoadArray coordinates;
  RoadArray displacements;
};

// The two halves of ELMXYZ, for a caller that may not need the coordinates: the work
// record of element K (id, type, IEATT1, IEATT2, and for the NODES nodes of its type, cut
// at the capacity of the outputs, the node ids and sequence numbers); then the
// coordinates of the nodes of sequence numbers SEQUENCES, moved as ELMXYZ moves them.
// Each answers false where ELMXYZ answers status 1.
bool readElementRecord(const ElementArrays& arrays, std::span<int32_t> work, int32_t k,
                       int32_t& id, int32_t& type, int32_t& ieatt1, int32_t& ieatt2,
                       std::span<int32_t> nodeIds, std::span<int32_t> sequences, int32_t& nodes);
bool readElementCoordinates(const ElementArrays& arrays, std::span<const int32_t> sequences,
                            std::span<float> x, std::span<float> y, std::span<float> z);

// FACLST on the arrays of ARRAYS; false where FACLST answers status 1.
bool readFaceKeys(const ElementArrays& arrays, std::span<int32_t> work, int32_t k,
                  std::span<int32_t> keys, int32_t& count);

// Adds the scale factor times the displacement of the node of sequence number S (record
// S - first + 1 of the displacement array) to X, Y, Z when S lies in the stored range
// first to last; outside the range, or when that record does not exist, nothing is added.
void DSPADD(int32_t s, float& x, float& y, float& z);

// The face-neighbour keys of the element of key K, read through WORK into KEYS (cut at
// its capacity). COUNT receives the number of keys the element has. STATUS 0; 1 when K
// or the positions lead outside the arrays or WORK.
void FACLST(std::span<int32_t> work, int32_t k, std::span<int32_t> keys, int32_t& count,
            int32_t& status);

}  // namespace kvr
