// The text lengths of the query entries that the model database calls through its tables
// (attlst.h) and that the model queries declare (modelquery/queries.h).
#pragma once

#include <cstdint>

namespace kvr {

// The length of one descriptor record of MATDSC and PHYDSC.
inline constexpr int32_t kMATDSCRecordLength = 255;

// The length of the set name that the set-member entry (USET2) writes.
inline constexpr int32_t kUSET2NameLength = 8;

}  // namespace kvr
