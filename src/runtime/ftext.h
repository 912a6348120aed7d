// FText: a fixed-length, blank-padded text, as character arguments cross the exported
// interface and as the routines of the library pass them on: a pointer and a declared
// length, never NUL-terminated. Nothing reads or writes past the declared length.
// Positions count from 1.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kvr {

class FText {
 public:
  constexpr FText() = default;
  constexpr FText(char* data, int32_t length) : data_(data), length_(length < 0 ? 0 : length) {}
  // A view of the whole of S (which must outlive the view).
  explicit FText(std::string& s) : data_(s.data()), length_(static_cast<int32_t>(s.size())) {}

  constexpr char* data() const { return data_; }
  constexpr int32_t length() const { return length_; }
  std::string_view view() const { return {data_, static_cast<size_t>(length_)}; }

  // Character at position K (1..length).
  char& at(int32_t k) const { return data_[k - 1]; }

  // Length without trailing blanks (tabs and NULs are characters).
  int32_t trimmedLength() const {
    int32_t n = length_;
    while (n > 0 && data_[n - 1] == ' ') --n;
    return n;
  }
  std::string trimmed() const { return std::string(data_, static_cast<size_t>(trimmedLength())); }
  bool isBlank() const { return trimmedLength() == 0; }

  // Copies S into the text, cut at the declared length and padded with blanks.
  void assign(std::string_view s) const {
    size_t n = std::min(s.size(), static_cast<size_t>(length_));
    if (n > 0) std::memcpy(data_, s.data(), n);
    if (static_cast<size_t>(length_) > n) std::memset(data_ + n, ' ', length_ - n);
  }
  void fill(char c) const {
    if (length_ > 0) std::memset(data_, c, static_cast<size_t>(length_));
  }

 private:
  char* data_ = nullptr;
  int32_t length_ = 0;
};

// A text that owns its storage: LENGTH characters holding S, blank-padded. For callers
// inside the library (and tests) that need an FText of their own.
class FixedText {
 public:
  explicit FixedText(int32_t length, std::string_view s = {})
      : store_(static_cast<size_t>(length < 0 ? 0 : length), ' ') {
    text().assign(s);
  }
  FixedText(std::string_view s, int32_t length) : FixedText(length, s) {}

  FText text() { return FText(store_.data(), static_cast<int32_t>(store_.size())); }
  operator FText() { return text(); }
  std::string_view view() const { return store_; }
  std::string trimmed() { return text().trimmed(); }

 private:
  std::string store_;
};

}  // namespace kvr
