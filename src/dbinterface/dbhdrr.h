// The model summary record (dataset type 10, one page): the writer and DBHDRR, its reader.
//
// The record's words (its order is not the order of DICNT):
//   10       record version: 5001 (5000 in older databases, which lack words 59-62)
//   39-44    minimum x, y, z and maximum x, y, z (REALs, one word each)
//   45-57    node count, element count, load-case counter, the 1-D, 2-D and 3-D flags,
//            coordinates loaded, node count copy, topology loaded, element count copy,
//            the first connectivity counter, the largest node count of an element, the
//            second connectivity counter
//   58       0
//   59-62    last node id, highest element id, first node id, first element id
// The other words of the page are 0; its head is that of a loader page (next page -1).
#pragma once

#include <cstdint>
#include <span>

#include "dbinterface/ldframe.h"

namespace kvr {

inline constexpr int32_t kSummaryDataset = 10;
inline constexpr int32_t kSummaryVersionWord = 10;
inline constexpr int32_t kSummaryVersion = 5001;
inline constexpr int32_t kOldSummaryVersion = 5000;

// Writes the model summary record of SUMMARY, every word as the caller gives it, on a new
// page built in area 1 of LDPAGE (LDSCR for the page allocation and DSCLOS), and records
// it in the dataset directory. STATUS 0 written; 1 when dataset 10 exists already, and
// nothing is written.
void writeModelSummary(std::span<int32_t> ldpage, std::span<int32_t> ldscr, const Dicnt& summary,
                       int32_t& status);

// Reads the model summary record of the model open into DICNT through page-buffer slot 2
// of BUFFER, all but the node count, the element count and the load-case counter, which
// the caller reads from record 103 (DBCTRW). A record older than version 5001 gives last node id 0, highest element id 0
// and first ids -1. The numbering offsets of DBLEVL and the flag of CMPTRF become 0.
// STATUS 0 read; 1 when dataset 10 does not exist (DICNT and the rest unchanged).
void DBHDRR(std::span<int32_t> buffer, int32_t& status);

}  // namespace kvr
