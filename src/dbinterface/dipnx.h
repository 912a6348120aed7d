// The loaders of the local axes and Gauss points that results refer to:
//  - DIPNX: nodal local axes (key 32) into dataset 32;
//  - DIPEX: element local axes at the element nodes (key 33) into dataset 33;
//  - DIPGX: Gauss-point local axes (key 34) into dataset 34;
//  - DIPGP: Gauss-point coordinates (key 30) into dataset 30.
//
// A header (DIPNX: -1, node id, r1, r2; the others: -1, element id, type filter,
// attribute filter, NPOINT, NLAYER; a filter of 0 or below matches anything) is followed
// by max(r1, 1) x max(r2, 1), or max(NPOINT, 1) x max(NLAYER, 1), value sub-records: a
// 2-word record (tag, value word) and the values, a 3 x 3 matrix of nine REALs (three
// REALs, x, y, z, for DIPGP).
//
// Entry: words 1 and 2 the node or element id and its sequence number (RECNOD, RECELM);
// words 3 and 4 r2, r1 or NLAYER, NPOINT as the header gave them; then the value groups,
// each the value word (for DIPEX the id of the element node) and the values. The page's
// last used word advances by the reserved length (kw + 1) x groups + 4 (k the REALs of a
// value), and an entry that does not fit an empty page is refused with 265 (266 for
// DIPGP) under the loader's name.
//
// DIPEX needs NPOINT to be the element's node count (299 location 9200 otherwise); it
// stores, per layer, node k of the stored order with the matrix the stream gave for it.
//
// Other reports: 225 a failed stream read; 299 (9100) without nodes or elements; 238
// (DIPNX) a node beyond the last; 239 no matching element from the last one matched on;
// 257 (259 for DIPGP) nothing stored. A DIPNX sub-record for a node passed over gives an
// information line and is dropped.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

void DIPNX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPEX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPGX(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPGP(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);

}  // namespace kvr
