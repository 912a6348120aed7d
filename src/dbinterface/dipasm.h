// The assembly build: a model made of component models that exist in the database, each
// placed by the product of its own transformations.
//
// DIPASM, the loader of an assembly's component list, reads component records from the
// stream: 22 words (tag -1, or -3 for the end; the component model's name, 20 codes; NT),
// then, when NT is above 0, a record of NT transformation ids. NT below 0 takes every
// transformation the component stores, in their stored order; NT 0 none. For each
// component it opens the component's database, reads its summary (DBHDRR), composes
// M = T(NT) x ... x T(1) from the component's transformation dataset (type 50) in double
// precision, makes M the current component transformation (CMPTRF), and hands the
// component to ASMCMP.
//
// ASMCMP keeps the assembly's summary (ASMACC) and its component list: index pages of
// class 107, chained from word 54 of the assembly's record 103, head as RECPK5 writes it
// (word 4 the next page, 0 on the last; word 5 the last word used), entries from word 6
// up to word 95 (record word k of the walk over the components is page word k + 4):
//   20 codes  the component's name as its files are named (modelFileName, without "."
//             and extension), so that the walk opens the same files
//   1         NT' = max(NT, 0)
//   NT'       the transformation ids
//   17        only when NT' is above 0: the flag of the composed transformation and the
//             16 REALs of M
//   2         the node and the element numbering offset: the nodes and elements of the
//             components before it
// After the last component ASMCMP stores the list's first page and the summed counts in
// record 103 and writes the assembly's summary record (dataset 10).
#pragma once

#include <cstdint>
#include <span>

#include "dbinterface/ldframe.h"
#include "modeldb/cmptrf.h"

namespace kvr {

// The most transformations a component may be placed by: its entry then still fits the
// words 6 to 95 of a list page.
inline constexpr int32_t kMostComponentTransformations = 14;

// ASMACC: the assembly's summary accumulated over the components added, and where its
// component list stands.
struct AsmAcc {
  Dicnt summary;
  int32_t firstListPage = 0;  // the first class-107 page
  int32_t listPage = 0;       // the page the next entry goes to
};

inline AsmAcc ASMACC;

// The loader of an assembly's component list, called after the assembly's database has
// been created (it is the database open). Codes, all under "DILIM ": 225 the stream
// cannot be read or is out of step; 226 no component, or a component whose database
// cannot be opened or holds no nodes or no elements (with its name); 227 its summary
// record missing (with its name); 228 its transformation dataset missing or an id not
// stored there; 234 more than 14 transformations; 272 the assembly's write lock held by
// another process (with its id); 274 the assembly's summary record exists already or
// the assembly cannot be opened again. The assembly's database is the database open on
// return, also after a refusal.
void DIPASM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr);

// MODE 1 adds component N (1 = the first; it starts the accumulation and the list) with
// its NAME (20 codes), NT and the NT ids of IDS, and, when NT is above 0, FLAG and MATRIX
// (the transformation in CMPTRF): its summary is the one in DICNT, its extents the box of
// its eight corners moved by XFMPNT. MODE 2 finishes the assembly. The assembly's
// database is opened again (DICTL.modelGiven) and its write lock taken. STATUS 0 done;
// negative: minus the process id that holds the lock; positive: the summary record
// exists already (mode 2), or the assembly cannot be opened again.
void ASMCMP(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode, int32_t n,
            std::span<const int32_t> name, int32_t nt, std::span<const int32_t> ids,
            int32_t flag, std::span<const float, kMatrixValues> matrix, int32_t& status);

}  // namespace kvr
