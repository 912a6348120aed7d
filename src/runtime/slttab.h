// SLTTAB: the window-slot table of the display state. Each of the 20 window slots keeps
// the display state (WINSTA) and the named-array registry (INCFTB) of one window; a slot
// is in use while its key word is non-zero.
//
// Five parallel arrays of 20 words: the key (0 = free), the age (1 the slot saved last,
// higher the longer ago; 0 for a free slot) and three further per-slot words, which are
// the window's type word and its two flags; then the number of slots in use, the current
// window-slot word and its companion word; and per slot the window's name (20
// characters) and directory (255 characters). The block is zero, the texts blank, at
// load; the display reset (DSPRST mode 1) clears it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

struct SlotTable {
  static constexpr int32_t kSlots = 20;
  static constexpr int32_t kNameChars = 20;
  static constexpr int32_t kDirectoryChars = 255;
  // The further words that hold the type word and the two flags.
  static constexpr int32_t kTypeWord = 1;
  static constexpr int32_t kFirstFlag = 2;
  static constexpr int32_t kSecondFlag = 3;

  template <std::size_t N>
  using Texts = std::array<std::array<char, N>, kSlots>;
  template <std::size_t N>
  static constexpr Texts<N> blankTexts() {
    Texts<N> texts{};
    for (auto& t : texts) t.fill(' ');
    return texts;
  }

  // Key word of slot S (1..20); 0 = free.
  int32_t& key(int32_t s) { return keys[static_cast<std::size_t>(s - 1)]; }
  int32_t key(int32_t s) const { return keys[static_cast<std::size_t>(s - 1)]; }
  int32_t& age(int32_t s) { return ages[static_cast<std::size_t>(s - 1)]; }
  // Further per-slot word W (1..3) of slot S.
  int32_t& further(int32_t w, int32_t s) {
    return furtherWords[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(s - 1)];
  }
  int32_t& typeWord(int32_t s) { return further(kTypeWord, s); }
  // Flag F (1 or 2) of slot S.
  int32_t& flag(int32_t f, int32_t s) { return further(f == 1 ? kFirstFlag : kSecondFlag, s); }
  // The window name and directory of slot S.
  FText name(int32_t s) {
    return FText(names[static_cast<std::size_t>(s - 1)].data(), kNameChars);
  }
  FText directory(int32_t s) {
    return FText(directories[static_cast<std::size_t>(s - 1)].data(), kDirectoryChars);
  }
  // Blanks every name and directory.
  void blankTextsOfAllSlots() {
    names = blankTexts<kNameChars>();
    directories = blankTexts<kDirectoryChars>();
  }

  std::array<int32_t, kSlots> keys{};
  std::array<int32_t, kSlots> ages{};
  std::array<std::array<int32_t, kSlots>, 3> furtherWords{};
  int32_t count = 0;        // slots in use
  int32_t current = 0;      // the current window-slot word
  int32_t companion = 0;
  Texts<kNameChars> names = blankTexts<kNameChars>();
  Texts<kDirectoryChars> directories = blankTexts<kDirectoryChars>();
};

inline SlotTable SLTTAB{};

// SLOT receives the first window slot (1..20) whose key word equals KEY, else 0; KEY 0
// finds the first free slot.
void SLTFND(int32_t key, int32_t& slot);

}  // namespace kvr
