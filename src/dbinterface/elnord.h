// The node order of element entries and the small readers of a stored element entry.
//
// An element's nodes are stored in the topology dataset in an order of their own: node k
// of the stored order is node ELNORD(1, type)(k) of the record the host sent. For most
// types the two orders agree; for the types of the table in elnord.cpp the corner nodes
// come first. Any other mode gives the inverse order, from stored back to sent.
//
// Node k of an element entry stands at word 6 + 2k, or at word 6 + k x (3w + 2) when the
// database's record-layout word is 5000 (the long entries; w the integer words per REAL).
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The most nodes an element type has.
inline constexpr int32_t kMaxElementNodes = 32;

// Fills ORDER(1..n) with the node order of element TYPE for MODE (1: stored from sent;
// any other: sent from stored); n = ELNCNT(TYPE), at most ORDER's capacity. Types 1 to
// 20, 31, 41, 47 and 48 give the identity. A type above 20 that the table does not list
// fills nothing.
void ELNORD(int32_t mode, int32_t type, std::span<int32_t> order);

// The word of an element entry that holds its node K, for the record-layout word in
// force (DBLEVL).
int32_t topologyNodeWord(int32_t k);

// Node K of the element entry whose first word is word Q of PAGE.
int32_t TOPNOD(std::span<const int32_t> page, int32_t q, int32_t k);

// Word Q + 3 of PAGE: for an element entry beginning at Q, its IEATT1.
int32_t ENTW3(std::span<const int32_t> page, int32_t q);

}  // namespace kvr
