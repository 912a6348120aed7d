// The display state of the application, as far as the library keeps it: the blocks that
// start-up puts into their start values and the window-slot save and restore copies.
// Nothing in the library draws; these words are kept so that every block starts in a
// known state on both roads.
//
//  - VIEWMT: the two 4x4 view matrices (identity after start-up).
//  - VIEWDF: the view defaults: the view angle, the table of view-direction components,
//    three scale words and five 16-entry tables.
//  - DSPSTA: the current display state: four display words, the current window and the
//    window default words, the display title line, five work texts with a word each,
//    the three view words of a window (the centre of the page and the eye distance), the
//    path-tracking setting, and one further display word; and three words that only the
//    host's display would set (0 until then): the significant digits of range values in
//    listings, the listing switch (1: listings are printed) and the results display's
//    listing-file switch (1: its listings also go to the listing file). The words the face
//    test of the display build reads and only the host's display would set: the element
//    filter switch and its selection bit map (31 bits a word, the map's first word named
//    by the selection record), the displacement switch, the range of node sequence
//    numbers that have displacements and their scale factor.
//  - DSPSL2: the display-selection tables: their item count and, per item, a count and a
//    list; for a set shown, its number, type word and first member block, which the set
//    rewrite keeps up to date (the count then being its member count).
//  - DSPTAB: a display table of which the library keeps the four words that the switch
//    save around command-file input clears and restores.
//  - VWPTAB: the five viewports 0..4, each with a name, a directory, a status and four
//    words.
//  - DSPOPT: the display options: three tables cleared at start-up, 74 switches and one
//    list set to 1.
//  - WINSTA: per window slot, the display state saved with it; and the UNDO words of the
//    named-array registry: the store array numbers of the UNDO copies of named arrays
//    1..37 (UNDARR; none for 21, 22 and 31) and the UNDO switch (UNDOON, positive: on).
//  - GFXDFS: the state word of each window 0..49. The state word of the current view is
//    that of the current window (DSPSTA's current window word); the named-array registry
//    offers a database dump before it stops when it is -1 or -2.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/ftext.h"

namespace kvr {

template <int32_t N>
constexpr std::array<char, N> blankField() {
  std::array<char, N> a{};
  a.fill(' ');
  return a;
}

using Matrix4 = std::array<std::array<float, 4>, 4>;

struct ViewMt {
  Matrix4 view{};
  Matrix4 view2{};
};

inline ViewMt VIEWMT;

struct ViewDf {
  static constexpr int32_t kTableEntries = 16;
  float angle = 0.0f;
  std::array<float, 4> directionComponents{};  // +-0.70711, +-0.57735
  std::array<float, 3> scales{};
  std::array<std::array<float, kTableEntries>, 3> tables{};       // 0.5, the sixth 1.0
  std::array<std::array<float, kTableEntries>, 2> zeroTables{};   // 0.0
};

inline ViewDf VIEWDF;

// The three view words of a window.
struct ViewWords {
  float centreX = 0.0f;
  float centreY = 0.0f;
  float distance = 0.0f;
};

// The part of the display state that a window slot saves.
struct DisplayCopy {
  static constexpr int32_t kTitleCodes = 50;
  static constexpr int32_t kWorkTexts = 5;
  static constexpr int32_t kTextLength = 255;

  std::array<int32_t, 4> words{};
  std::array<int32_t, 3> windowDefaults{};
  std::array<int32_t, kTitleCodes> title{};  // a code line
  std::array<std::array<char, kTextLength>, kWorkTexts> workTexts{};
  std::array<int32_t, kWorkTexts> workWords{};
  ViewWords view;

  FText workText(int32_t k) {
    return FText(workTexts[static_cast<std::size_t>(k - 1)].data(), kTextLength);
  }
};

struct DspSta {
  int32_t currentWindow = 0;
  DisplayCopy state;
  int32_t pathTracking = 0;  // numbered setting 6: 1 or 2
  int32_t further = 0;
  int32_t rangeDigits = 0;
  int32_t listingSwitch = 0;
  int32_t resultsListingFile = 0;

  int32_t elementFilter = 0;       // not 0: only elements set in the selection map take part
  std::vector<int32_t> elementSelection;  // the element selection bit map's words
  int32_t selectionRecord = 1;     // the word of elementSelection that holds the map's first
  int32_t displacementSwitch = 0;  // not 0: node coordinates move by their displacements
  int32_t displacementFirst = 0;   // the first and last sequence number with a displacement
  int32_t displacementLast = 0;
  float displacementScale = 0.0f;
};

inline DspSta DSPSTA;

struct DspSl2 {
  static constexpr int32_t kItems = 31;
  static constexpr int32_t kListLength = 20;

  int32_t itemCount = 0;
  std::array<int32_t, kItems> counts{};
  std::array<std::array<int32_t, kListLength>, kItems> lists{};
  std::array<int32_t, kItems> setNumbers{};
  std::array<int32_t, kItems> typeWords{};
  std::array<int32_t, kItems> blockWords{};

  // Entry J (1..31).
  int32_t& count(int32_t j) { return counts[static_cast<std::size_t>(j - 1)]; }
  int32_t& setNumber(int32_t j) { return setNumbers[static_cast<std::size_t>(j - 1)]; }
  int32_t& typeWord(int32_t j) { return typeWords[static_cast<std::size_t>(j - 1)]; }
  int32_t& blockWord(int32_t j) { return blockWords[static_cast<std::size_t>(j - 1)]; }
};

inline DspSl2 DSPSL2;

struct DspTab {
  std::array<int32_t, 4> switches{};
  // Switch word K (1..4).
  int32_t& switchWord(int32_t k) { return switches[static_cast<std::size_t>(k - 1)]; }
};

inline DspTab DSPTAB;

struct Viewport {
  static constexpr int32_t kNameCodes = 20;
  static constexpr int32_t kDirectoryLength = 255;

  std::array<int32_t, kNameCodes> name{};  // a code line
  std::array<char, kDirectoryLength> directory = blankField<kDirectoryLength>();
  int32_t status = 0;
  std::array<int32_t, 4> words{};

  FText directoryText() { return FText(directory.data(), kDirectoryLength); }
};

struct VwpTab {
  static constexpr int32_t kViewports = 5;
  std::array<Viewport, kViewports> viewports{};

  // Viewport V (0..4).
  Viewport& viewport(int32_t v) { return viewports[static_cast<std::size_t>(v)]; }
};

inline VwpTab VWPTAB;

struct DspOpt {
  static constexpr int32_t kRecordWords = 99;
  std::array<std::array<std::array<int32_t, kRecordWords>, 50>, 5> records{};
  std::array<std::array<int32_t, 50>, 5> words{};
  std::array<std::array<int32_t, kRecordWords>, 11> records11{};
  std::array<int32_t, 74> switches{};
  std::array<int32_t, 68> list{};
};

inline DspOpt DSPOPT;

// The display state saved with one window slot.
struct SlotDisplay {
  DisplayCopy state;
  std::array<int32_t, DspSl2::kItems> counts{};
  std::array<std::array<int32_t, DspSl2::kListLength>, DspSl2::kItems> lists{};
};

struct WinSta {
  static constexpr int32_t kSlots = 20;
  static constexpr int32_t kUndoArrays = 37;
  std::array<SlotDisplay, kSlots> slots{};
  std::array<int32_t, kUndoArrays> undoArrays{};  // UNDARR
  int32_t undoOn = 0;                             // UNDOON

  // Slot S (1..20).
  SlotDisplay& slot(int32_t s) { return slots[static_cast<std::size_t>(s - 1)]; }
  // Store array number of the UNDO copy of named array K (1..37).
  int32_t& UNDARR(int32_t k) { return undoArrays[static_cast<std::size_t>(k - 1)]; }
};

inline WinSta WINSTA;

struct GfxDfs {
  static constexpr int32_t kWindows = 50;
  std::array<int32_t, kWindows> windowStates{};

  // State word of window W (0..49).
  int32_t& state(int32_t w) { return windowStates[static_cast<std::size_t>(w)]; }
};

inline GfxDfs GFXDFS;

// The state word of the current view; 0 while the current window word lies outside 0..49.
inline int32_t currentViewState() {
  const int32_t w = DSPSTA.currentWindow;
  return w >= 0 && w < GfxDfs::kWindows ? GFXDFS.state(w) : 0;
}

}  // namespace kvr
