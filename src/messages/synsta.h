// SYNSTA: the synonym state of the command interpreter. Beside the synonym table it holds
// the command echo switch (1 = echo the command line; it also lets the M messages of the
// meshing catalogue be printed), which the display-switch save sets to 0 and restores,
// and the synonyms-active flag, which the answer-line reader clears while it works.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

struct SynSta {
  static constexpr int32_t kMaxSynonyms = 300;
  static constexpr int32_t kNameCodes = 12;
  static constexpr int32_t kSubstitutionCodes = 80;
  static constexpr int32_t kPriority = 7;  // the search number of a priority synonym

  int32_t count = 0;   // synonyms 1..count are in use
  int32_t echo = 0;    // 1: report synonym changes; the command echo switch
  int32_t active = 0;  // 1 once the synonym file is found or a synonym defined
  std::array<std::array<int32_t, kNameCodes>, kMaxSynonyms> names{};  // code lines
  std::array<int32_t, kMaxSynonyms> searchNumbers{};  // least abbreviation, 1..6, or 7
  std::array<std::array<int32_t, kSubstitutionCodes>, kMaxSynonyms> substitutions{};

  std::span<int32_t, kNameCodes> name(int32_t k) { return names[static_cast<size_t>(k - 1)]; }
  int32_t& searchNumber(int32_t k) { return searchNumbers[static_cast<size_t>(k - 1)]; }
  std::span<int32_t, kSubstitutionCodes> substitution(int32_t k) {
    return substitutions[static_cast<size_t>(k - 1)];
  }
};

inline SynSta SYNSTA;

}  // namespace kvr
