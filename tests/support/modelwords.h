// Helpers of the models the tests and benchmarks build into the model store: records,
// names and attribute entries written through the named-array registry.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace kvr::test {

using Words = std::vector<int32_t>;
// Words of a record set by number: (word number, value).
using Set = std::initializer_list<std::pair<int32_t, int32_t>>;

// The full model registry set up afresh in an empty store, the model counts cleared.
void freshModelStore();

// Writes WORDS as the records of named array K from record FIRST on, as INTEGER or REAL
// words.
void put(int32_t k, int32_t first, Words words);
void putReals(int32_t k, int32_t first, std::vector<float> reals);

// A record of W words with the words of SET set, the rest 0.
Words record(int32_t w, Set set);

// The two name words of an eight-character NAME.
Words nameWords(std::string_view name);

// Entity ID of the record array ARRAY (WIDTH one-word records an entity) named NAME in the
// name array NAMES, with the words SET.
void entity(int32_t array, int32_t width, int32_t names, int32_t id, std::string_view name, Set set);

// Attribute entry (TYPE, ID) labelled NAME with REAL values; of a type 0 or below with
// INTEGER values.
void entry(int32_t type, int32_t id, std::string_view name, std::vector<float> values);
void intEntry(int32_t type, int32_t id, std::string_view name, std::vector<int32_t> values);

}  // namespace kvr::test
