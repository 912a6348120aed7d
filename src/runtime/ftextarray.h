// A character array argument of the exported routines, as the model queries, the model
// database's descriptor dispatch and the answer records pass it on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// A character array argument: COUNT texts of LENGTH characters each, laid end to end,
// as a host passes an array of fixed-length texts. Text K counts from 1.
class FTextArray {
 public:
  constexpr FTextArray() = default;
  constexpr FTextArray(char* data, int32_t length, int32_t count)
      : data_(data), length_(length < 0 ? 0 : length), count_(count < 0 ? 0 : count) {}

  constexpr int32_t length() const { return length_; }
  constexpr int32_t count() const { return count_; }
  FText at(int32_t k) const { return FText(data_ + static_cast<size_t>(k - 1) * length_, length_); }

 private:
  char* data_ = nullptr;
  int32_t length_ = 0;
  int32_t count_ = 0;
};

}  // namespace kvr
