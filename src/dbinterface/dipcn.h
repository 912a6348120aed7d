// The loaders of a model's boundary definitions, matched against the stored nodes:
//  - DIPCN: nodal constraints (key 41) into dataset 41, entries of 5 words: node id, the
//    node's sequence number (RECNOD), IDOF, ISYS, IEDOF;
//  - DIPLX: local axis systems (key 43) into dataset 43, entries of 9w + 2 words: ISYS,
//    the record's third word, the nine REALs;
//  - DIPMC: multi-point constraints (key 42) into dataset 42, entries of e words: e, id,
//    type, node counts a and b, then per node (n = a + b) its id, its index (bldnix.h),
//    its integer and coefficient and, below record layout 5002, its x, y, z from the
//    node coordinate array (NODCPY). e = 3n + 4wn + 5 below layout 5002, else 3n + wn + 5.
//
// A multi-point constraint comes as a header record (-1, id, type, a, b) and node records:
// for type 11 or below one record (-2, node id, integer, k, coefficient) and a record of
// the k ids of nodes 2 to k + 1, whose integers and coefficients are 0; above 11 one
// record (-2, node id, integer, unused, coefficient) per node. At most 30 nodes.
//
// Reports: 225 a failed stream read; DIPCN 299 (9100) without nodes, 238 a node passed
// or beyond the last, 252 nothing stored; DIPLX 257 nothing stored; DIPMC 273 (930)
// without nodes, 271 (940) the index or coordinates could not be set up, 299 (910) a tag
// out of place or a negative or zero node count, 168 more than 30 nodes, 238 a node
// without an index, 258 nothing stored.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dbinterface/direcs.h"

namespace kvr {

inline constexpr int32_t kMpcMaxNodes = 30;

// The node lists of one multi-point constraint: per node its id, index, integer, the
// coefficient's words and its coordinates.
struct MpcNodes {
  std::array<int32_t, kMpcMaxNodes> ids{};
  std::array<int32_t, kMpcMaxNodes> indexes{};
  std::array<int32_t, kMpcMaxNodes> integers{};
  std::array<std::array<int32_t, 2>, kMpcMaxNodes> coefficients{};
  std::array<std::array<float, 3>, kMpcMaxNodes> xyz{};
};

void DIPCN(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPLX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPMC(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);

// Stores a nodal constraint entry from word Q of PAGE.
void CNPUT(std::span<int32_t> page, int32_t q, int32_t node, int32_t sequence, int32_t idof,
           int32_t isys, int32_t iedof);
// Stores a local axis system entry from word Q of PAGE: ID, WORD and the nine REALs as
// AXES holds them (w words each).
void LXPUT(std::span<int32_t> page, int32_t q, int32_t id, int32_t word,
           std::span<const int32_t> axes);
// Stores a multi-point constraint entry of E words from word Q of PAGE: HEADER (id, type,
// a, b), then the groups of the first a + b NODES, with their coordinates when
// COORDINATES is set.
void MPCPUT(std::span<int32_t> page, int32_t q, int32_t e, std::span<const int32_t, 4> header,
            const MpcNodes& nodes, bool coordinates);

}  // namespace kvr
