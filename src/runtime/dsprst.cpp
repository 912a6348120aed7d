// The display state: its reset, and its save into and restore from the window slots.
#include <algorithm>

#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/fileutil.h"
#include "runtime/hostcb.h"
#include "runtime/incftb.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kResetAll = 1;
constexpr int32_t kResetCurrent = 2;
constexpr int32_t kSave = 3;
constexpr int32_t kRestore = 4;
constexpr std::array<int32_t, 3> kWindowDefaults = {5, 4, 0};

void clearCopy(DisplayCopy& copy) {
  copy.words = {};
  copy.windowDefaults = {};
  copy.title.fill(kBlankCode);
  for (auto& text : copy.workTexts) text.fill(' ');
  copy.workWords = {};
  copy.view = {};
}

void resetCurrent() {
  DisplayCopy& state = DSPSTA.state;
  BLKCOD(state.title, 1, DisplayCopy::kTitleCodes);
  state.windowDefaults = kWindowDefaults;
  for (auto& text : state.workTexts) text.fill(' ');
  state.workWords = {};
  DSPSEL.counts = {};
  DSPSEL.lists = {};
  DSPSL2 = {};
}

void resetAll() {
  SLTTAB.current = 0;
  SLTTAB.companion = 1;
  SLTTAB.keys = {};
  SLTTAB.ages = {};
  SLTTAB.furtherWords = {};
  SLTTAB.count = 0;
  SLTTAB.blankTextsOfAllSlots();
  for (SlotDisplay& slot : WINSTA.slots) {
    clearCopy(slot.state);
    slot.counts = {};
    slot.lists = {};
  }
  INCFTB = {};
  resetCurrent();
}

int32_t savedTop(int32_t top) { return std::clamp(top, 0, RegHed::kArrays); }

// The slot that saves KEY: its own, else the first free one, else, with every slot
// holding another key, the one saved longest ago.
int32_t slotFor(int32_t key) {
  int32_t s = 0;
  SLTFND(key, s);
  if (s != 0) return s;
  SLTFND(0, s);
  if (s != 0) {
    ++SLTTAB.count;
    return s;
  }
  // The table has no free slot: reuse the oldest rather than write past the table.
  s = 1;
  for (int32_t t = 2; t <= SlotTable::kSlots; ++t) {
    if (SLTTAB.age(t) > SLTTAB.age(s)) s = t;
  }
  return s;
}

void save(int32_t key) {
  const int32_t s = slotFor(key);
  SLTTAB.key(s) = key;
  const int32_t old = SLTTAB.age(s);
  if (old != 1) {
    for (int32_t t = 1; t <= SlotTable::kSlots; ++t) {
      if (t == s || SLTTAB.key(t) == 0) continue;
      if (old == 0 || SLTTAB.age(t) < old) ++SLTTAB.age(t);
    }
    SLTTAB.age(s) = 1;
  }
  SlotDisplay& slot = WINSTA.slot(s);
  slot.state = DSPSTA.state;
  slot.counts = DSPSEL.counts;
  slot.lists = DSPSEL.lists;

  SavedRegistry& saved = INCFTB.registry(s);
  saved.mode = REGHED.mode;
  saved.top = savedTop(REGHED.top);
  INCFTB.storeFile(s) = REGHED.file;
  for (int32_t w = 1; w <= RegHed::kArrayWords; ++w) {
    for (int32_t k = 1; k <= saved.top; ++k) {
      saved.words[static_cast<size_t>(w - 1)][static_cast<size_t>(k - 1)] = REGHED.word(w, k);
    }
  }
}

void restore(int32_t key) {
  int32_t s = 0;
  SLTFND(key, s);
  if (s == 0) return;
  DSPSTA.state.view = WINSTA.slot(s).state.view;
  const SavedRegistry& saved = INCFTB.registry(s);
  REGHED.mode = saved.mode;
  REGHED.top = saved.top;
  REGHED.file = INCFTB.storeFile(s);
  for (int32_t w = 1; w <= RegHed::kArrayWords; ++w) {
    for (int32_t k = 1; k <= savedTop(saved.top); ++k) {
      REGHED.word(w, k) = saved.words[static_cast<size_t>(w - 1)][static_cast<size_t>(k - 1)];
    }
  }
}

void nameFromTitle(Viewport& p) {
  std::copy_n(DSPSTA.state.title.begin(), Viewport::kNameCodes, p.name.begin());
}

int32_t viewportId(int32_t v) { return 100 * SLTTAB.current + v + 1; }

}  // namespace

void VWPSET(int32_t mode, int32_t v, int32_t source) {
  if (v < 0 || v >= VwpTab::kViewports) return;
  Viewport& p = VWPTAB.viewport(v);
  switch (mode) {
    case 1:
      p.name.fill(kBlankCode);
      p.directoryText().fill(' ');
      p.status = 0;
      p.words = {};
      HCDSPF(viewportId(v), p.status);
      break;
    case 2:
    case 3:
      nameFromTitle(p);
      CURDIR(p.directoryText());
      p.status = mode == 2 ? -1 : 1;
      break;
    case 4: {
      if (source < 0 || source >= VwpTab::kViewports) return;
      const int32_t old = p.status;
      p = VWPTAB.viewport(source);
      HCDSPF(viewportId(v), old);
      HCDSPF(viewportId(v), p.status);
      break;
    }
    case 5:
      p.name.fill(kBlankCode);
      CURDIR(p.directoryText());
      p.status = 3;
      break;
    case 6:
      nameFromTitle(p);
      CURDIR(p.directoryText());
      p.status = 4;
      break;
    default: break;
  }
}

void DSPRST(int32_t mode, int32_t key) {
  switch (mode) {
    case kResetAll: resetAll(); break;
    case kResetCurrent: resetCurrent(); break;
    case kSave:
      if (key != 0) save(key);
      break;
    case kRestore:
      if (key != 0) restore(key);
      break;
    default: break;
  }
}

void SLTFND(int32_t key, int32_t& slot) {
  slot = 0;
  for (int32_t s = 1; s <= SlotTable::kSlots; ++s) {
    if (SLTTAB.key(s) == key) {
      slot = s;
      return;
    }
  }
}

}  // namespace kvr
