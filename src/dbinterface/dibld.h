// The display build: once the nodes and elements of a model are in its database (datasets
// 5 and 6), DIBLD derives what a display of the model needs, in five steps on the road's
// buffers LDPAGE and LDSCR:
//   1  BLDNIX: the node table (unless it holds records already);
//   2  BLDTOP: each element node's sequence number, after the node in its entry, and the
//      count of elements using each node;
//   3  BLDNX2: the node entries of dataset 5 take (count, id, s) from the node table;
//   4  BLDNEL, BLDCON: the node-to-element lists, in the list store and in dataset 7;
//      BLDQDR: the edge records of dataset 9 and the per-face words of the element entries;
//   5  BLDD4: the edges a line drawing shows, dataset 4;
// then BLDSUM writes the model summary record, dataset 10.
//
// Named arrays (handle words): 8 the node table (3 words a node sequence number s: the
// elements using the node, its id, s); 6 the list index, the node ids by s (BLDNIX, for
// ids that are not consecutive). The steps from BLDTOP on hold the topology and the
// node-to-element lists in flat arrays for the length of the build (bldhold.h).
//
// Node-to-element list of a node used by c elements: c, 3c + 2, then c triples (element
// key, IEATT2, IEATT1). The key is the element's sequence number plus the element
// numbering offset, negated for an element of dimension 1. A list is kept whole on one
// page of dataset 7, so 3c + 2 may not pass the entry area of a page.
//
// Edge record of dataset 9 (short layout): n, n + 3 + k, k, the sequence numbers of the n
// nodes in the order of the shape table, the keys of the k elements sharing the edge in
// the order of the first node's list. Each edge is written once, by the sharing element of
// smallest key (absolute value). A record of dataset 4 is that record without its keys:
// n, length - k, k, the n sequence numbers.
//
// Pages written by a step that fails stay in the file, referenced by no directory entry.
#pragma once

#include <cstdint>
#include <span>

#include "dbinterface/bldhold.h"

namespace kvr {

inline constexpr int32_t kDrawnEdgeDataset = 4;
inline constexpr int32_t kConnectivityDataset = 7;

// BLDSUM modes.
inline constexpr int32_t kSummaryWrite = 1;
inline constexpr int32_t kSummaryLoadCases = 2;

// Builds the display datasets of the current model. Refused, in this order: 32 while a
// temporary unit 1..ITFNUM has an error pending, 42 for the neutral file only, 43 while
// the coordinates or the topology are not both entered, 44 with no build pending. Then
// words 13-15 of record 103 receive node count, element count and load-case counter, the
// five steps run, the summary record is written, the pending flag cleared and the
// database closed. A failed step: every unit's flag 2, the pending flag cleared, 223 with
// the step number, words 13-15 of record 103 back to 0. Messages under "DIBLD ".
void DIBLD(int32_t& ierr);

// Step 2. Walks dataset 6 (slot 2 of LDPAGE): for node k of every element its sequence
// number s (the node index of bldnix.h) goes after the node, and record s of the node
// table counts the element. A node id that no node has: M024 with the element id and
// the node id, STATUS 1, and the walk goes on. The pages are not written back: BLDQDR
// writes them once, with the sequence numbers and the face words. A missing
// dataset 6 or 5: two lines on the message unit, STATUS 2. HELD receives the elements
// (type, key, attributes, sequence numbers) and the node table.
void BLDTOP(std::span<int32_t> ldpage, BuildModel& held, int32_t& status);

// Writes the sequence numbers of BLDTOP into the pages of dataset 6, for a build that
// stops before BLDQDR would write them.
void storeNodeSequences(std::span<int32_t> ldpage, const BuildModel& held);

// Step 3. Walks dataset 5: words 1-3 of each node entry take node table record s. STATUS
// 1 when dataset 5 is missing.
void BLDNX2(std::span<int32_t> ldpage, const BuildModel& held, int32_t& status);

// Step 4, first half. Lays out the lists of nodes 1..N in HELD, each with room for the c
// elements the node table counts, as they would lie one after the other in a list store
// (3c + 2 words each). A list longer than the entry area of a page: M038 with the node id
// and c, STATUS 1; a store past the largest record number: STATUS 1.
void BLDNEL(BuildModel& held, int32_t& status);

// Fills the lists from the elements of HELD, then writes them into dataset 7, a list that
// does not fit on the current page starting a new one. DICNT's first and second
// connectivity counters receive the largest numbers of different IEATT2 and IEATT1 values
// in a list (at least 1).
void BLDCON(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held);

// The edge records of dataset 9 and, written with the sequence numbers of BLDTOP, the
// per-face words of the element entries (face j,
// for j up to the type's faces: twice the key of the first element other than this one
// in the list of the face's start node that shares edge j, else 0), from the lists of
// HELD; each element's face keys are kept in HELD for the face test. An element whose
// lists would not fit in a work area of two page lengths is left out, with three lines on
// the message unit the first time in a build.
void BLDQDR(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held);

// Step 5. The element filter and displacement switches are cleared, the node coordinate
// array filled when empty (NODCPY) and, for a model of stored numbering, read into HELD:
// the face test reads the elements from HELD. An assembly builds the element work arrays
// (TOPARR) for it. An edge record of dataset 9 (as BLDQDR kept it in HELD, not read back
// from the file) goes to dataset 4 when exactly one of its
// keys is positive, when none is positive and one is negative, or when the face test
// shows it (FACVIS). Dataset 4 is recorded when it holds a record. STATUS 1 when TOPARR
// or NODCPY fails.
void BLDD4(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held,
           int32_t& status);

// The model summary record: mode 2 sets its word 47 to DICNT's load-case counter (nothing
// without a record); any other mode writes it from DICNT unless it exists already.
void BLDSUM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode);

}  // namespace kvr
