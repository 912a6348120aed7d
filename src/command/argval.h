// The two forms every typed argument speaks in. A menu item of kind k < 0 is a typed
// argument of kind -k: its answers are not keywords of the table but values that depend on
// the kind. The list builders of each kind fill a value list for the prompt; the checkers
// judge one token of a command line and fill a check result for the parse loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ftext.h"

namespace kvr {

// Entry kind of a free-text placeholder entry ("'header'", "'point-new'"); the values of a
// list have the negated argument kind.
inline constexpr int32_t kPlaceholderEntry = 5;

// A value list: four parallel columns (entry kind, entry value, entry text of a fixed
// length) with a running count of entries filled. Builders append after the count and stop
// at the maximum, which the caller gives (100 for the prompt).
class ValueList {
 public:
  ValueList(int32_t maximum, int32_t textLength)
      : maximum_(maximum < 0 ? 0 : maximum),
        textLength_(textLength < 0 ? 0 : textLength),
        kinds_(static_cast<std::size_t>(maximum_)),
        values_(static_cast<std::size_t>(maximum_)),
        texts_(static_cast<std::size_t>(maximum_) * static_cast<std::size_t>(textLength_), ' ') {}

  int32_t maximum() const { return maximum_; }
  int32_t textLength() const { return textLength_; }
  bool full() const { return count >= maximum_; }

  // Entry K, 1..maximum.
  int32_t& kind(int32_t k) { return kinds_[index(k)]; }
  int32_t& value(int32_t k) { return values_[index(k)]; }
  FText text(int32_t k) {
    return FText(texts_.data() + index(k) * static_cast<std::size_t>(textLength_), textLength_);
  }

  // Fills entry count + 1 with KIND, VALUE and TEXT (cut at the text length, blank-padded)
  // and counts it. A full list (or a count outside 0..maximum) adds nothing: false.
  bool append(int32_t entryKind, int32_t entryValue, std::string_view entryText) {
    if (count < 0 || count >= maximum_) return false;
    ++count;
    kind(count) = entryKind;
    value(count) = entryValue;
    text(count).assign(entryText);
    return true;
  }

  int32_t count = 0;  // entries 1..count are filled

 private:
  static std::size_t index(int32_t k) { return static_cast<std::size_t>(k - 1); }

  int32_t maximum_;
  int32_t textLength_;
  std::vector<int32_t> kinds_;
  std::vector<int32_t> values_;
  std::string texts_;
};

// Check statuses: 0 an exact match, -1 no match, -2 ambiguous, any other value from -1000
// up a partial match (the token abbreviates the value), below -1000 a failure that the parse
// loop reports.
inline constexpr int32_t kCheckExact = 0;
inline constexpr int32_t kCheckNoMatch = -1;
inline constexpr int32_t kCheckAmbiguous = -2;

// The check result of one token. NEXTMENU and SIGN come in as the menu id that the item
// links to (0 when the command is complete) and -1 or 1 for an optional link; a checker may
// change them. TEXT is the answer text store from its next free position on: a checker that
// answers a text copies the token there, cut at its end, and gives the number of codes
// copied as the list value.
struct ArgumentCheck {
  std::span<int32_t> text;
  int32_t nextMenu = 0;
  int32_t sign = 1;
  int32_t status = kCheckNoMatch;
  int32_t valueCode = 0;  // how the parse loop stores the answer
  int32_t oper = 0;       // the operator; stored less one where the value code says so
  int32_t listValue = 0;  // a list answer's value, or the length of the text copied
  float real = 0.0f;      // a real answer, or a count for value codes 6 and 8
};

}  // namespace kvr
