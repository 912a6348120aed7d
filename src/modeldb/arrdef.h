// The layouts of the named-array registry: for each named array its record width, sign
// word and records per page.
//
// ARRDEF defines the full model registry of 57 arrays; beside width, sign and page size it
// gives the handle word that set-up modes 1 and 3 of the handle block point at the array
// (0: none) and whether the full set-up also creates an UNDO copy of it. The three smaller
// layouts are those of the writing road (8 arrays), the two-array layout and the answer
// store of the command interpreter (4 arrays).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

inline constexpr int32_t kModelArrays = 57;

// Width, sign and records per page of one named array.
struct ArrayShape {
  int32_t width;
  int32_t sign;
  int32_t perPage;

  friend bool operator==(const ArrayShape&, const ArrayShape&) = default;
};

struct ArrayDef {
  ArrayShape shape;
  int32_t handleWord;  // handle word pointing at the array (0: none)
  bool mode3Only;      // the handle word is set in handle mode 3 only
  bool undoCopy;       // the full set-up creates an UNDO copy
};

// Rows 1..57 in the array's number order (row k at index k - 1).
extern const std::array<ArrayDef, kModelArrays> ARRDEF;
extern const std::array<ArrayShape, 8> kWritingRoadLayout;
extern const std::array<ArrayShape, 2> kTwoArrayLayout;
extern const std::array<ArrayShape, 4> kAnswerStoreLayout;

// The definition of named array K (1..57).
inline const ArrayDef& arrayDef(int32_t k) { return ARRDEF[static_cast<std::size_t>(k - 1)]; }

}  // namespace kvr
