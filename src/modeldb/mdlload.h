// What the two model loads (DBLOAD, DBLOLD) share: their failure reports and the
// extension of the named arrays to the counts of a file.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Catalogue numbers, as MSGE1 takes them.
inline constexpr int32_t kLoadRefused = 150;     // E1150 "Cannot load database"
inline constexpr int32_t kE2180PageRange = 1180; // E2180 "Page number out of range"
inline constexpr int32_t kE2190ArrayCount = 1190;// E2190 "Array count error"

// The widest record of any named array (ARRDEF), so one record fits the load's buffers.
inline constexpr int32_t kMaxRecordWidth = 63;

// E1150, then the error CAUSE.
void loadFailure(int32_t cause);

// loadFailure, then every named array released (ARRREL).
void releasedFailure(int32_t cause);

// The pages the direct-access file on UNIT holds.
int64_t filePages(int32_t unit);

// Makes records 1..COUNTS[k - 1] of every named array k with a count addressable. A
// failure is reported by ALCMSG and releases every named array. Answers 0 or 2 (no
// memory).
int32_t extendToCounts(std::span<const int32_t> counts);

}  // namespace kvr
