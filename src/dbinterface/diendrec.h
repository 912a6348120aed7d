// The end records that close a dataset's temporary stream before it is read back.
//
// An end record has the length and layout of the dataset's own records: its tag -3, then
// zeros (reals 0.0) or blank codes where the records carry names. Every reader of a
// stream (the loaders, the neutral text file) reads records until the tag -3, so the end
// record must be at least as long as the record it stands in for.
//
// A stream may take more than one end record, in this order: the key's own (keys 1 and
// 111 have none), then, while the model was opened to build, the record that ends its
// list of assembly components, then for keys 53, 54 and 55 their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

// The words of the end records of one stream.
class EndRecords {
 public:
  // The build record (22 words) and the longest key record (65 words, key 53).
  static constexpr int32_t kCapacity = 87;

  int32_t size() const { return size_; }
  std::span<const int32_t> words() const {
    return {words_.data(), static_cast<std::size_t>(size_)};
  }
  // Word K (1..size) of the records.
  int32_t word(int32_t k) const { return words_[static_cast<std::size_t>(k - 1)]; }

  // Appends a record of -3 and COUNT words of VALUE.
  void add(int32_t count, int32_t value = 0);
  // Appends VALUE to the record last added.
  void put(int32_t value);

 private:
  std::array<int32_t, kCapacity> words_{};
  int32_t size_ = 0;
};

// The model open mode (the opcode of the accepted model header) of a model opened to
// build an assembly.
inline constexpr int32_t kModelModeBuild = 3;

// Fills RECORDS with the end records of a stream that holds a dataset of KEY, on a unit
// whose results type is IRTYPE (keys 100 and 300: 3 words for type 1, 6 for type 2, 10
// above it, none below 1), under model open mode MODELMODE. A key that has no end record
// of its own gives only the build record, or nothing.
void endRecords(int32_t key, int32_t irtype, int32_t modelMode, EndRecords& records);

}  // namespace kvr
