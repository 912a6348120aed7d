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
//    numbers that have displacements and their scale factor. The picture words: the
//    current group (0..4), the picture-validity row, its four selector words (1, 2, 8 and
//    10 after the graphics defaults) and one further picture word.
//  - DSPSEL: the display-selection tables: their item count (31 from start-up) and, per
//    item, a count and a 20-word list; a window slot saves them with the display state.
//  - DSPSL2: the displayed-sets list: the count of sets shown (0..10) and four parallel
//    rows of 10 words: the set number, its member count, its type word and its member
//    block, which the set rewrite keeps up to date and the set deletion removes.
//  - DSPTAB: a display table of which the library keeps the four words that the switch
//    save around command-file input clears and restores.
//  - VWPTAB: the five viewports 0..4, each with a name, a directory, a status and four
//    words.
//  - DSPOPT: the display options: three tables cleared at start-up, 74 switches and one
//    list set to 1. The first table is DRWFLG, the drawing-item flags by group (0..4),
//    window (0..49) and item (1..99): 0 the item is not drawn, 2 it must be redrawn, any
//    other value drawn.
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

  static constexpr int32_t kValidityWords = 10;
  static constexpr int32_t kValiditySelectors = 4;
  int32_t currentGroup = 0;
  std::array<int32_t, kValidityWords> validity{};
  std::array<int32_t, kValiditySelectors> validitySelectors{};
  int32_t picture = 0;

  // Word K (1..10) of the picture-validity row; nullptr outside it.
  int32_t* validityWord(int32_t k) {
    return k >= 1 && k <= kValidityWords ? &validity[static_cast<std::size_t>(k - 1)] : nullptr;
  }
};

inline DspSta DSPSTA;

struct DspSel {
  static constexpr int32_t kItems = 31;
  static constexpr int32_t kListLength = 20;

  int32_t itemCount = 0;
  std::array<int32_t, kItems> counts{};
  std::array<std::array<int32_t, kListLength>, kItems> lists{};
};

inline DspSel DSPSEL;

struct DspSl2 {
  static constexpr int32_t kEntries = 10;

  int32_t count = 0;
  std::array<int32_t, kEntries> setNumbers{};
  std::array<int32_t, kEntries> memberCounts{};
  std::array<int32_t, kEntries> typeWords{};
  std::array<int32_t, kEntries> blockWords{};

  // The entries in use: the count held to 0..10.
  int32_t entries() const { return count < 0 ? 0 : count > kEntries ? kEntries : count; }
  // Entry J (1..10).
  int32_t& setNumber(int32_t j) { return setNumbers[static_cast<std::size_t>(j - 1)]; }
  int32_t& memberCount(int32_t j) { return memberCounts[static_cast<std::size_t>(j - 1)]; }
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

  static constexpr int32_t kGroups = 5;
  static constexpr int32_t kWindows = 50;
  // DRWFLG: the flag of item K (1..99) in window W (0..49) of group G (0..4); nullptr
  // outside the table.
  int32_t* DRWFLG(int32_t g, int32_t w, int32_t k) {
    if (g < 0 || g >= kGroups || w < 0 || w >= kWindows || k < 1 || k > kRecordWords) {
      return nullptr;
    }
    return &records[static_cast<std::size_t>(g)][static_cast<std::size_t>(w)]
                   [static_cast<std::size_t>(k - 1)];
  }
};

inline DspOpt DSPOPT;

// The display state saved with one window slot.
struct SlotDisplay {
  DisplayCopy state;
  std::array<int32_t, DspSel::kItems> counts{};
  std::array<std::array<int32_t, DspSel::kListLength>, DspSel::kItems> lists{};
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
