// Entity record queries and attribute texts.
#include "modeldb/entnam.h"

#include <algorithm>
#include <array>
#include <bit>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/gridmd.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kLoadType = 9;
constexpr int32_t kSpecialType = -5;
constexpr int32_t kArrKind42Names = 27;
constexpr int32_t kArrKind42Records = 28;
constexpr int32_t kArrKind46Names = 35;
constexpr int32_t kLabelChars = 8;

// TEXT = the two label words as eight characters, blank beyond.
void labelText(std::span<const int32_t> label, FText text) { A4TXT(label, kLabelChars, text); }

void loadName(int32_t id, FText text, int32_t& stat, bool special) {
  stat = 1;
  text.fill(' ');
  if ((LODSPC(id) == -1) != special) return;
  // A fresh blank label each call: a load without a named entry gets no earlier name.
  std::array<int32_t, 2> label = {kBlankCode, kBlankCode};
  int32_t key = id;
  int32_t count = 0;
  ATTFND(1, label, kLoadType, key, count);
  labelText(label, text);
  if (count != 0) stat = 0;
}

// Record ID of array 27 as a text; STAT the read's status.
void kind42Name(int32_t id, FText text, int32_t& stat) {
  std::array<int32_t, 2> name{};
  ARRIO(1, kArrKind42Names, id, 1, -1, name, {}, stat);
  labelText(name, text);
}

int32_t kind42Class(int32_t id, int32_t c) {
  if (K42EXS(id) == 0) return 0;
  std::array<int32_t, 2> rec{};
  RECIO(1, kArrKind42Records, id, rec);
  return rec[0] == c ? -1 : 0;
}

void kind42ClassName(int32_t id, int32_t c, FText text, int32_t& stat) {
  stat = 1;
  text.fill(' ');
  if (kind42Class(id, c) == -1) kind42Name(id, text, stat);
}

int32_t kind42ClassCount(int32_t c) {
  if (GRIDLG() == -1) return 0;
  int32_t total = 0;
  const int32_t n = MODCNT.word(kCntKind42);
  for (int32_t id = 1; id <= n; ++id) {
    if (kind42Class(id, c) == -1) ++total;
  }
  return total;
}

// TEXT = entry ENTRY's codes, at most LIMIT of them.
template <typename Entry>
void codeText(const Entry& entry, int32_t limit, FText text) {
  const int32_t n = std::clamp(entry.count, 0, limit);
  CODTXT(entry.codes, n, text);
}

}  // namespace

void ENTNAM(std::span<const int32_t, 2> name, int32_t type, int32_t& stat, int32_t& id) {
  stat = -1;
  if (REGHED.top < kArrEntries) return;
  const int32_t labels = REGHED.ARRLEN(kArrLabels);
  const int32_t entries = REGHED.ARRLEN(kArrEntries);
  // Every record that carries the name is looked at in turn, so a material and a property
  // of one name are both found.
  for (int32_t r = ARRFND(name, kArrLabels, 1, labels); r >= 1 && r <= entries;) {
    std::array<int32_t, kEntryWords> e{};
    RECIO(1, kArrEntries, r, e);
    if (e[0] == type) {
      id = e[1];
      stat = 0;
      return;
    }
    if (r >= labels) return;
    r = ARRFND(name, kArrLabels, r + 1, labels);
  }
}

void ATVAL1(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            float& value) {
  std::array<float, 1> work{};
  std::array<int32_t, 1> scratch{};
  if (mode == -1) work[0] = value;
  int32_t stat = 0;
  ATTVAL(mode, type, id, start, count, scratch, work, stat);
  if (mode == 1) value = work[0];
}

int32_t LODSPC(int32_t id) {
  if (LODEXS(id) == 0) return 0;
  std::array<float, 10> load{};
  int32_t want = static_cast<int32_t>(load.size());
  ATTVLR(1, kLoadType, id, 1, want, load);
  const int32_t n = intOf(load[0]);
  std::array<int32_t, 6> special{};
  want = static_cast<int32_t>(special.size());
  ATTVLI(1, kSpecialType, n, 1, want, special);
  // Without an entry the answer would come from the previous load's values.
  if (want == 0) return 0;
  return special[5] == 0 ? -1 : 0;
}

void LODNAM(int32_t id, FText text, int32_t& stat) { loadName(id, text, stat, false); }
void LODNMS(int32_t id, FText text, int32_t& stat) { loadName(id, text, stat, true); }

void K46NAM(int32_t id, FText text, int32_t& stat) {
  stat = 1;
  text.fill(' ');
  if (K46EXS(id) == 0) return;
  std::array<float, 2> name{};
  ARRREA(1, kArrKind46Names, id, name);
  const std::array<int32_t, 2> words = {std::bit_cast<int32_t>(name[0]),
                                        std::bit_cast<int32_t>(name[1])};
  labelText(words, text);
  stat = 0;
}

void K42NAM(int32_t id, FText text, int32_t& stat) {
  stat = 1;
  text.fill(' ');
  if (K42EXS(id) != 0) kind42Name(id, text, stat);
}

int32_t K42CP1(int32_t id) { return kind42Class(id, 1); }
int32_t K42CP2(int32_t id) { return kind42Class(id, 2); }
int32_t K42CP3(int32_t id) { return kind42Class(id, 3); }
int32_t K42CP4(int32_t id) { return kind42Class(id, 4); }

void K42CN1(int32_t id, FText text, int32_t& stat) { kind42ClassName(id, 1, text, stat); }
void K42CN2(int32_t id, FText text, int32_t& stat) { kind42ClassName(id, 2, text, stat); }
void K42CN3(int32_t id, FText text, int32_t& stat) { kind42ClassName(id, 3, text, stat); }
void K42CN4(int32_t id, FText text, int32_t& stat) { kind42ClassName(id, 4, text, stat); }

int32_t K42CL1() { return kind42ClassCount(1); }
int32_t K42CL2() { return kind42ClassCount(2); }
int32_t K42CL3() { return kind42ClassCount(3); }
int32_t K42CL4() { return kind42ClassCount(4); }

int32_t GRIDLG() { return GRIDMD() == 1 ? -1 : 0; }

int32_t VWSCOD() {
  switch (currentViewState()) {
    case 1: return 3;
    case -1: return 2;
    case 4: return 4;
    default: return 1;
  }
}

void CATX10(int32_t i, FText text) {
  text.fill(' ');
  if (i < 1 || i > IoMode::kTenCodeLines) return;
  codeText(IOMODE.tenCodeLine(i), IoMode::kTenCodes, text);
}

void CATX20(int32_t i, FText text) {
  text.fill(' ');
  if (i < 1 || i > IoMode::kNameSlots) return;
  codeText(IOMODE.nameSlot(i), 20, text);
}

void CATX21(FText text) { CATX20(1, text); }

int32_t IOSWON() { return IOUNIT.journal1Enable == 1 ? -1 : 0; }

}  // namespace kvr
