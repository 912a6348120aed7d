// The loaders of a model's materials (key 20, DIPMAT, dataset type 40), its assembly
// transformations (key 50, DIPTRF, type 50) and a load case's beam loads (key 28, DIPBL,
// type 28, recorded in word 10 of the current load case). A REAL is one word, moved bit
// for bit.
//
// Materials. Header record (9 words): tag -1, kind (1, 2 or 3), NA, NB, material id, REALs
// R1-R4; kind 2 is followed by NA + NB values, kind 3 by 2 (NA + NB), in records of at
// most 6 values without a tag. Entries, L words each (L in word 2):
//   kind 1: id, 7, 1, R4, R1, R2, R3
//   kind 2: id, NA + NB + 6, 2, NA, NB, R4, the values
//   kind 3: id, 2 (NA + NB) + 9, 3, NA, NB, R4, R1, R2, R3, the values
// A dataset without entries is recorded as well.
//
// Transformations. Record: tag, id, flag, then the 16 REALs of a 4 x 4 matrix column by
// column. Entries of 18 words (id, flag with 0 stored as 1, the matrix) from word 40 of
// every page; page 1 word 39 = the number of transformations; word 5 of each page the
// position after its last entry.
//
// Beam loads. Header (9 words): tag -1, element id, element type filter (0 or below: any
// type), E point loads, F distributed loads, G point moments, I distributed moments, h7,
// h8; then E + 2F + G + 2I parts in that order, each a 1-word record (tag -2) and a
// record of 6 REALs. The neutral text file reads the same stream through the definitions
// below. Entry, K = 6 (E + 2F + G + 2I) + 9 words: element id, the element's
// sequence number (RECELM), K, E, F, G, I, h7, h8, the parts. The element is looked up
// forward from the one found for the previous header, so headers come in the order of
// the topology.
//
// Reports under "DILIM ": 225 a failed stream read (also DIPMAT's header that is not tag
// -1, has an id of 0 or below or a kind outside 1..3: its value records could not be
// skipped safely); DIPBL 246 (a header unreadable or of a tag other than -1 and -3), 239
// with the element id (not found), 247 (a part missing, unreadable or not tag -2). 299
// under the loader's name: DIPBL 9100 (no element topology, before any page is taken);
// DIPMAT and DIPBL 9200 for an entry that no page could hold or a negative count, so no
// entry is shorter than the words it stores. After a refusal nothing is recorded.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// The transformation dataset, which the assembly build reads.
inline constexpr int32_t kTransformationDataset = 50;
inline constexpr int32_t kTransformationCountWord = 39;  // of page 1
inline constexpr int32_t kFirstTransformationWord = 40;  // of every page
inline constexpr int32_t kTransformationWords = 18;      // id, flag, 16 REALs

// The beam-load stream (key 28): a header of 9 words, then its parts, each a 1-word tag
// record followed by 6 REALs.
inline constexpr int32_t kBeamLoadHeaderWords = 9;
inline constexpr int32_t kBeamLoadPartWords = 6;

// The parts that follow beam-load header H: E + 2F + G + 2I of its words 4 to 7 (point
// loads and moments one part each, distributed ones two); -1 when a count is negative, as
// the stream cannot then be followed.
int64_t beamLoadParts(std::span<const int32_t, kBeamLoadHeaderWords> h);

void DIPMAT(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
void DIPTRF(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);
// LASTTAG receives the tag of every header read (-3 after a normal end).
void DIPBL(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& lastTag, int32_t& ierr);

}  // namespace kvr
