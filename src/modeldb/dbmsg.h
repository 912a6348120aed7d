// The catalogue messages of the database open and the control records go out through
// one routine, so that a test can see the values each message carries.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>

namespace kvr {

// Message M N (MSGM) with the integer values INTS and, when NAME is not empty, the name
// codes of NAME (its length the first length word).
void dbMessage(int32_t n, std::initializer_list<int32_t> ints = {},
               std::span<const int32_t> name = {});

// Test seam: OBSERVER sees every message of dbMessage, number, values and name codes,
// before it is written; an empty function removes it.
using DbMessageObserver = std::function<void(int32_t n, std::span<const int32_t> ints,
                                             std::span<const int32_t> name)>;
void setDbMessageObserver(DbMessageObserver observer);

}  // namespace kvr
