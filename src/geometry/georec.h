// What the kernel reads of the model store: the named arrays of its geometry, and the
// range test every record number taken from stored data passes before it reaches the
// store (a read beyond what the store holds would end the host's run).
//
// GEOREC: the geometry definition record, 20 REAL words (the ShpDef record of shpdef.h)
// per record in named array 10, read whole with ARRREC by record number. Integer fields
// are REALs read truncated toward zero. Word 2 is the definition code: class in the
// hundreds digit, the type below it.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/entrec.h"
#include "modeldb/shpdef.h"
#include "runtime/reghed.h"

namespace kvr {

inline constexpr int32_t kArrGeoPoints = 2;         // point coordinates, x y z a record
inline constexpr int32_t kArrGeoRecords = 10;       // GEOREC, 20 words a record
inline constexpr int32_t kArrGeoNodes = 12;         // node coordinates
inline constexpr int32_t kArrGeoValues = 16;        // REAL values: knots and weights
inline constexpr int32_t kArrGeoLinePoints = 25;    // stored intermediate points of lines
inline constexpr int32_t kArrGeoControlPoints = 26; // control points, x y z a record
inline constexpr int32_t kGeoRecordWords = 20;

// True when named array K of the registry in force holds records FIRST..LAST (FIRST at
// least 1, not above LAST).
inline bool geoRecordsHeld(int32_t k, int64_t first, int64_t last) {
  return k >= 1 && k <= REGHED.top && first >= 1 && first <= last && last <= REGHED.ARRLEN(k);
}

// True when GEOREC record ID lies within array 10.
inline bool geoRecordHeld(int32_t id) {
  return id >= 1 && geoRecordsHeld(kArrGeoRecords, int64_t{id - 1} * kGeoRecordWords + 1,
                                   int64_t{id} * kGeoRecordWords);
}

// Reads GEOREC record ID into REC; false (REC untouched) when array 10 does not hold it.
bool readGeoRecord(int32_t id, ShpDef& rec);

// Reads the record of model surface SURFACE into REC; false (REC untouched) when the surface
// does not exist or the store does not hold its record.
bool readSurfaceRecord(int32_t surface, std::span<int32_t, kSurfaceWords> rec);

}  // namespace kvr
