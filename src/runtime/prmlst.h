// PRMLST: the value list shown with a prompt. The prompt builder fills it from the current
// menu; the console prompt prints entries 1..count above the prompt, one per line.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct PrmLst {
  static constexpr int32_t kMaxEntries = 100;
  static constexpr int32_t kEntryLength = 25;

  int32_t count = 0;
  std::array<int32_t, kMaxEntries> codes{};  // display code of each entry
  std::array<std::array<char, kEntryLength>, kMaxEntries> texts = blankTexts();

  int32_t& code(int32_t k) { return codes[static_cast<size_t>(k - 1)]; }
  FText text(int32_t k) { return FText(texts[static_cast<size_t>(k - 1)].data(), kEntryLength); }

 private:
  static constexpr std::array<std::array<char, kEntryLength>, kMaxEntries> blankTexts() {
    std::array<std::array<char, kEntryLength>, kMaxEntries> t{};
    for (auto& e : t) e.fill(' ');
    return t;
  }
};

inline PrmLst PRMLST;

// Beside the list: the pick code and pick text of the last pick keyword answered at the
// keyboard (PCKLBL), as a prompt would label the pick. Nothing in the library reads them.
struct PickLabel {
  static constexpr int32_t kTextLength = 30;
  int32_t code = 0;
  std::array<char, kTextLength> chars = [] {
    std::array<char, kTextLength> t{};
    t.fill(' ');
    return t;
  }();
  FText text() { return FText(chars.data(), kTextLength); }
};

inline PickLabel gPickLabel;

}  // namespace kvr
