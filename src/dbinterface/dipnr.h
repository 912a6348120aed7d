// The results value loaders: after DIPRES has stored a results attribute, the values that
// follow in the stream go into a values dataset of class 100, whose first page DIPRES
// records in word 12 of the attribute's record 106.
//  - DIPNR: nodal values. IRTYPE 1: records of 3 words (tag, node id, NUMRES) each with
//    its NUMRES REALs, of variant 1. IRTYPE 2: a 6-word header (tag, node id, points,
//    layers, variant id, a further word), then layers x points value records of 3 words
//    (tag, id word, NUMRES) and their REALs.
//  - DIPER: element values. A 10-word header (tag, IELEM, ITYPE, IEATT1, IVAR, element-node
//    indicator, NLAYER, NPOINT, minus ILOCAL, IGFLAG), then its value records, counted
//    as the record routines count them: per layer, IRTYPE 3 one record per node (the
//    indicator, or the node count of ITYPE where the indicator is 0 and ITYPE is not),
//    IRTYPE 4 max(NPOINT, 1) records each followed by a point record (tag, point id, x,
//    y, z), IRTYPE 5 one record.
//
// A values entry is a head and its groups. Full head, 7 words: the id, its sequence number
// (RECNOD, RECELM), layers, points, variant id, then for a node the further word (0 for
// IRTYPE 1) and 0, for an element minus ILOCAL and IGFLAG. An entity that follows the
// previous entry of the same page in the stored order (sequence number + 1) with the same
// layers, points, variant and further words takes a short head: id and sequence number.
// Groups, layers x points of them: IRTYPE 1 the values; IRTYPE 2 the id word and the
// values; IRTYPE 3 node k of the stored order and the values the stream gave for record
// node ELNORD(1, type)(k); IRTYPE 4 the point id, x, y, z and the values when IGFLAG is 0,
// else the id word and the values; IRTYPE 5 the id word and the values. A record's
// NUMRES must be the variant's value word count V.
//
// Entities are matched in the stored order from where the last match left off (ldsearch.h).
// In an assembly (numbering mode not 1) the walk goes through the components one after
// the other (RESLVL); their databases are opened in turn, so the pages are built apart,
// held, and written into the assembly's database once the walk is back there.
//
// Codes, under "DILIM " unless named: 299 (the loader's name, 9100) no node or topology
// dataset, or the first component cannot be opened; DIPNR: 236 a header that cannot be
// read or a variant not in the table, 237 a value record that cannot be read or whose
// NUMRES is not V, 238 (the node id) a node past the last, 249 nothing stored; DIPER: 241
// a header that cannot be read or a variant not in the table, 239 no matching element from
// the last one matched on, 299 ("DIPER ", 9200) an IRTYPE 3 header whose records per layer
// are not the matched element's node count, 242 a point record that cannot be read, 243 a
// value record that cannot be read or whose NUMRES is not V, 251 nothing stored; 262 an
// entry larger than an empty page. A nodal record for a node the walk has passed gives the
// line "INVALID NODE FOUND, RESULTS DATA WILL BE IGNORED" and its values are dropped.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dbinterface/ressel.h"

namespace kvr {

// One row of the selection's variant table: id, value word count, position words.
using VariantRow = std::array<int32_t, kVariantTableWords>;

// Loads nodal values of IRTYPE 1 or 2 by the variants of VARIANTS; FIRST receives the
// first page of the values dataset.
void DIPNR(std::span<int32_t> ldpage, std::span<int32_t> ldscr,
           std::span<const VariantRow> variants, int32_t irtype, int32_t& first, int32_t& ierr);

// Loads element values of IRTYPE 3, 4 or 5 by the variants of VARIANTS (the first 5
// count); FIRST receives the first page of the values dataset. DERIVED becomes 1 when an
// IRTYPE 3 header with an element-node indicator and an NPOINT of 1 or more asks for a
// derived attribute record; DERIVEDFIRST then receives the first page of its values
// dataset, one empty page, or -1 in an assembly, where none is allocated.
void DIPER(std::span<int32_t> ldpage, std::span<int32_t> ldscr,
           std::span<const VariantRow> variants, int32_t irtype, int32_t& first,
           int32_t& derived, int32_t& derivedFirst, int32_t& ierr);

}  // namespace kvr
