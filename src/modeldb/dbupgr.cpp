// The format upgrade steps of a loaded model and the digit-list mask.
#include "modeldb/dbupgr.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/attlst.h"
#include "modeldb/dbhead.h"
#include "modeldb/entrec.h"
#include "modeldb/mdlload.h"
#include "modeldb/mdlstore.h"
#include "modeldb/seqtab.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/geosta.h"
#include "runtime/idpack.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

UpgradeObserver& observer() {
  static UpgradeObserver o;
  return o;
}

void starting(std::string_view step) {
  if (observer()) observer()(step);
}

// ----- The saved model state ----------------------------------------------------------

constexpr int32_t kIntegerWords = 160;  // the INTEGER state record
constexpr int32_t kCountWords = 91;     // its words that are MODCNT words 3-93
constexpr int32_t kRealWords = 80;      // the REAL state record
constexpr int32_t kDisplayWords = 80;   // the display record, VWDFLT words 12-91
constexpr int32_t kDisplayBefore = 11;  // display word d is VWDFLT word d + 11
constexpr int32_t kStateEntity = 1;
constexpr int32_t kIntegerType = -1;
constexpr int32_t kRealType = 1;
constexpr int32_t kDisplayEntity = 2;
// Formats from which the state records have their full length.
constexpr int32_t kFullStateFormat = 9064;
constexpr int32_t kShortIntegerWords = 80;
constexpr int32_t kShortRealWords = 25;
// INTEGER word 74 (MODCNT word 76) is 1 when the display record has 18 slots.
constexpr int32_t kEighteenSlotWord = 74;
// REAL words 17 and 18 hold an eight-character name (GEOSTA's current BINSET).
constexpr int32_t kRealNameWord = kGeoBinset;

// A record numbered from 1, as the layouts number its words.
template <size_t N>
struct Record {
  std::array<int32_t, N> words{};
  int32_t& operator[](int32_t k) { return words[static_cast<size_t>(k - 1)]; }
  int32_t operator[](int32_t k) const { return words[static_cast<size_t>(k - 1)]; }
};

// Moves words FROM..TO of OLD to TO + SHIFT on in REC (simultaneously, from the copy).
template <size_t N>
void moveWords(Record<N>& rec, const Record<N>& old, int32_t from, int32_t to, int32_t target) {
  for (int32_t k = from; k <= to; ++k) rec[target + k - from] = old[k];
}

template <size_t N>
void clearWords(Record<N>& rec, int32_t from, int32_t to, int32_t value = 0) {
  for (int32_t k = from; k <= to; ++k) rec[k] = value;
}

// The display record held in VWDFLT, word D at VWDFLT word D + 11.
int32_t& display(int32_t d) { return VWDFLT.word(kDisplayBefore + d); }

// Name-sequence slots of the 25-slot display record.
constexpr int32_t kNumberBefore = 25;   // numeric part of slot k: word 25 + k
constexpr int32_t kFormWord = 51;       // not 0: the 8-digit form
constexpr int32_t kFurtherBefore = 51;  // further word of slot k: word 51 + k
constexpr int32_t kEightDigit = 1000000;  // the 4-digit code x 10000 in the 8-digit form
// The default codes (4-digit form) of the slots that older formats lacked.
struct SlotDefault {
  int32_t slot;
  int32_t code;
};
constexpr SlotDefault kSlot22 = {22, 3825};
constexpr SlotDefault kSlot23 = {23, 3335};
constexpr SlotDefault kSlot24 = {24, 3839};
constexpr SlotDefault kSlot25 = {25, 2623};
// Formats below these lack valid entries for slot 24, and for slots 22 and 23.
constexpr int32_t kSlot24Format = 9066;
constexpr int32_t kSlot22Format = 9064;

// Gives slot S its default in the form of the form flag: the code, numeric part 1 in the
// 8-digit form and -1 in the 4-digit form, further word 0.
void defaultSlot(SlotDefault s) {
  const bool eight = display(kFormWord) != 0;
  display(s.slot) = eight ? s.code * (kEightDigit / 100) : s.code;
  display(kNumberBefore + s.slot) = eight ? 1 : -1;
  display(kFurtherBefore + s.slot) = 0;
}

void upgradeInteger(Record<kIntegerWords>& in, Record<kRealWords>& re, int32_t f) {
  if (f < 9062) {
    const auto old = in;
    moveWords(in, old, 38, 78, 39);
    in[38] = in[80] = in[81] = 0;
  }
  if (f < 9064) {
    const auto old = in;
    moveWords(in, old, 39, 50, 40);
    moveWords(in, old, 53, 80, 52);
    in[80] = old[80];
    in[39] = 0;
    clearWords(in, 82, 88);
    clearWords(in, 92, kIntegerWords);
    re[kRealNameWord] = re[kRealNameWord + 1] = kBlankCode;
    clearWords(re, kRealNameWord + 2, kRealWords, std::bit_cast<int32_t>(0.0f));
  }
  if (f < 9066) {
    const auto old = in;
    moveWords(in, old, 40, 86, 41);
    in[40] = in[89] = in[90] = 0;
  }
  if (f < kFormatCurrent) {
    const auto old = in;
    moveWords(in, old, 41, 89, 42);
    in[41] = in[91] = 0;
  }
}

// The display record of the 18-slot layout: the table refilled with the defaults, and in
// the 8-digit form its 18 slots put back.
void upgradeEighteenSlots() {
  Record<kDisplayWords> old;
  for (int32_t d = 1; d <= kDisplayWords; ++d) old[d] = display(d);
  display(kFormWord) = old[41];
  for (int32_t d = 77; d <= 79; ++d) display(d) = old[d - 15];
  DEFCOD(old[41] != 0 ? 2 : 1);
  if (old[41] == 0) return;
  for (int32_t k = 1; k <= 18; ++k) {
    display(k) = old[k];
    display(kNumberBefore + k) = old[20 + k];
    display(kFurtherBefore + k) = old[41 + k];
  }
}

// The display record of the 24-slot layout moved to 25 slots, slot 25 its default.
void upgradeTwentyFourSlots() {
  Record<kDisplayWords> old;
  for (int32_t d = 1; d <= kDisplayWords; ++d) old[d] = display(d);
  for (int32_t d = 25; d <= 48; ++d) display(d + 1) = old[d];
  display(kFormWord) = old[49];
  for (int32_t d = 50; d <= 73; ++d) display(d + 2) = old[d];
  for (int32_t d = 73; d <= 75; ++d) display(d + 4) = old[d];
  defaultSlot(kSlot25);
}

// ----- Records of the upgraded arrays -------------------------------------------------

constexpr int32_t kArrNodes = 11;
constexpr int32_t kNodeWords = 2;
constexpr int32_t kArrPackedLists = 23;
constexpr int32_t kBlockWords = 32;
constexpr int32_t kOldEncoding = 1000000;
constexpr int32_t kOldHalfEncoding = 1500000;
constexpr int32_t kOldGroupWords = 42;

// The entity records array K holds of WIDTH words, no more than COUNT.
int32_t recordsHeld(int32_t k, int32_t width, int64_t count) {
  if (!storeArrayHeld(k) || width < 1) return 0;
  return static_cast<int32_t>(std::clamp<int64_t>(count, 0, REGHED.ARRLEN(k) / width));
}

int32_t clampedWord(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Entity ID of WIDTH words in one-word records of array K.
template <size_t N>
void getEntity(int32_t k, int32_t id, Record<N>& r) {
  storeGet(k, (id - 1) * static_cast<int32_t>(N) + 1, static_cast<int32_t>(N), r.words);
}
template <size_t N>
void putEntity(int32_t k, int32_t id, const Record<N>& r) {
  storePut(k, (id - 1) * static_cast<int32_t>(N) + 1, static_cast<int32_t>(N), r.words);
}

// A reference encoded above 1000000 moved above the id limit.
int32_t movedReference(int32_t w, int32_t limit, bool halves) {
  if (halves && w > kOldHalfEncoding) return clampedWord(int64_t{limit} / 2 * 3 + (w - kOldHalfEncoding));
  if (w > kOldEncoding) return clampedWord(int64_t{limit} + (w - kOldEncoding));
  return w;
}

int64_t magnitude(int32_t v) { return std::llabs(int64_t{v}); }

}  // namespace

void setUpgradeObserver(UpgradeObserver o) { observer() = std::move(o); }

void DBUPAL() {
  starting("DBUPAL");
  const int32_t f = DBFMT;
  const bool full = f >= kFullStateFormat;

  // The records are read over the blocks' current words, so words the record does not
  // hold keep their values, as a read into the blocks themselves would.
  Record<kIntegerWords> in;
  for (int32_t k = 1; k <= kCountWords; ++k) in[k] = MODCNT.word(k + 2);
  for (int32_t k = kCountWords + 1; k <= kIntegerWords; ++k) in[k] = MODSTA.word(k - kCountWords);
  int32_t count = full ? kIntegerWords : kShortIntegerWords;
  ATTVLI(1, kIntegerType, kStateEntity, 1, count, in.words);

  Record<kRealWords> re;
  std::array<float, kRealWords> reals{};
  for (int32_t k = 1; k <= kRealWords; ++k) reals[static_cast<size_t>(k - 1)] = GEOSTA.real(k);
  count = full ? kRealWords : kShortRealWords;
  ATTVLR(1, kRealType, kStateEntity, 1, count, reals);
  for (int32_t k = 1; k <= kRealWords; ++k) re[k] = std::bit_cast<int32_t>(reals[static_cast<size_t>(k - 1)]);

  upgradeInteger(in, re, f);
  for (int32_t k = 1; k <= kCountWords; ++k) MODCNT.word(k + 2) = in[k];
  for (int32_t k = kCountWords + 1; k <= kIntegerWords; ++k) MODSTA.word(k - kCountWords) = in[k];
  for (int32_t k = 1; k <= kRealWords; ++k) GEOSTA.word(k) = re[k];

  count = kDisplayWords;
  ATTVLI(1, kIntegerType, kDisplayEntity, 1, count,
         std::span<int32_t>(VWDFLT.words).subspan(kDisplayBefore, kDisplayWords));
  const bool eighteen = in[kEighteenSlotWord] == 1;
  if (eighteen) upgradeEighteenSlots();
  // A record just rebuilt from the defaults is in the 25-slot layout already; moving it
  // once more would scatter its slots.
  if (f < kFormatCurrent && !eighteen) upgradeTwentyFourSlots();
  if (f < kSlot24Format) defaultSlot(kSlot24);
  if (f < kSlot22Format) {
    defaultSlot(kSlot22);
    defaultSlot(kSlot23);
  }
}

void DBUP36() {
  starting("DBUP36");
  const int32_t limit = IDPACK.idLimit;
  const int32_t nodes = recordsHeld(kArrNodes, 1, MODCNT.word(kCntHighestNode));
  for (int32_t i = 1; i <= nodes; ++i) {
    std::array<int32_t, kNodeWords> r{};
    storeGet(kArrNodes, i, 1, r);
    if (r[0] <= kOldEncoding) continue;
    r[0] = movedReference(r[0], limit, false);
    storePut(kArrNodes, i, 1, r);
  }
  // An end word of 1 or below means no list; (L - 2) / 32 + 1 would count one block.
  const int32_t end = MODCNT.word(kCntPackedListEnd);
  if (end <= 1) return;
  const int32_t blocks = recordsHeld(kArrPackedLists, 1, (end - 2) / kBlockWords + 1);
  for (int32_t b = 1; b <= blocks; ++b) {
    const int64_t rest = int64_t{end} - 1 - int64_t{kBlockWords} * (b - 1);
    const auto length = static_cast<int32_t>(std::clamp<int64_t>(rest, 0, kBlockWords));
    std::array<int32_t, kBlockWords> block{};
    storeGet(kArrPackedLists, b, 1, block);
    bool changed = false;
    for (int32_t j = 0; j < length; ++j) {
      int32_t& w = block[static_cast<size_t>(j)];
      const int32_t moved = movedReference(w, limit, true);
      changed = changed || moved != w;
      w = moved;
    }
    if (changed) storePut(kArrPackedLists, b, 1, block);
  }
}

void DBUP60(int32_t& status) {
  starting("DBUP60");
  status = 0;
  const int64_t width = int64_t{MODCNT.word(kCntElementNodes)} + 1;
  const int32_t group = MODCNT.word(kCntOldGroupSize);
  const int32_t elements = MODCNT.word(kCntHighestElement);
  const int32_t k = kArrConnectivity;
  const int32_t held = storeArrayHeld(k) ? REGHED.ARRLEN(k) : 0;
  const int64_t total = std::max(0, elements) * width;
  // A group size of 0 would divide by zero; a record of no words, or more elements than
  // the old groups hold, would read outside the array.
  if (group <= 0 || width < 1 || total > held) {
    loadFailure(kE2190ArrayCount);
    status = 1;
    return;
  }
  std::vector<int32_t> old(static_cast<size_t>(held));
  if (held > 0) storeGet(k, 1, held, old);
  std::vector<int32_t> moved(static_cast<size_t>(total), 0);
  for (int32_t i = 0; i < elements; ++i) {
    const int64_t from = int64_t{i / group} * kOldGroupWords + width * (i % group);
    if (from + width > held) {
      loadFailure(kE2190ArrayCount);
      status = 1;
      return;
    }
    std::copy_n(old.begin() + from, width, moved.begin() + int64_t{i} * width);
  }
  if (total > 0) storePut(k, 1, static_cast<int32_t>(total), moved);
  REGHED.ARRLEN(k) = static_cast<int32_t>(total);
}

void DBUP61() {
  starting("DBUP61");
  const int32_t points = recordsHeld(kArrPoints, kPointWords, REGHED.ARRLEN(kArrPoints));
  for (int32_t p = 1; p <= points; ++p) {
    Record<kPointWords> r;
    getEntity(kArrPoints, p, r);
    if (r[4] != 300 && r[4] != 400 && r[4] != 700) continue;
    r[3] = std::bit_cast<int32_t>(static_cast<float>(r[3]) / 32767.0f);
    putEntity(kArrPoints, p, r);
  }
}

void DBUP63() {
  starting("DBUP63");
  const int32_t lines = recordsHeld(kArrLines, kLineWords, REGHED.ARRLEN(kArrLines));
  for (int32_t l = 1; l <= lines; ++l) {
    Record<kLineWords> r;
    getEntity(kArrLines, l, r);
    if (r[7] / 100 != 3) continue;
    const int32_t w5 = r[5];
    r[5] = w5 / 1000;
    r[16] = w5 % 1000;
    putEntity(kArrLines, l, r);
  }
}

void DBUP66() {
  starting("DBUP66");
  const int32_t highNode = MODCNT.word(kCntHighestNode);
  const int32_t highElement = MODCNT.word(kCntHighestElement);
  const int64_t lists = int64_t{MODCNT.word(kCntPackedListEnd)} - 1;

  const int32_t points = recordsHeld(kArrPoints, kPointWords, MODCNT.word(kCntPoints));
  for (int32_t p = 1; p <= points; ++p) {
    if (ENTEXS(p, 1) == 0) continue;
    Record<kPointWords> r;
    getEntity(kArrPoints, p, r);
    if (r[6] <= highNode && r[5] <= highElement) continue;
    r[5] = r[6] = 0;
    putEntity(kArrPoints, p, r);
  }
  const int32_t lines = recordsHeld(kArrLines, kLineWords, MODCNT.word(kCntLines));
  for (int32_t l = 1; l <= lines; ++l) {
    if (ENTEXS(l, 2) == 0) continue;
    Record<kLineWords> r;
    getEntity(kArrLines, l, r);
    if (r[7] / 100 == kCompositeLine) continue;
    if (magnitude(r[13]) <= lists && r[9] <= highElement) continue;
    r[8] = r[9] = r[13] = 0;
    putEntity(kArrLines, l, r);
  }
  const int32_t surfaces = recordsHeld(kArrSurfaces, kSurfaceWords, MODCNT.word(kCntSurfaces));
  for (int32_t s = 1; s <= surfaces; ++s) {
    if (ENTEXS(s, 3) == 0) continue;
    Record<kSurfaceWords> r;
    getEntity(kArrSurfaces, s, r);
    if (magnitude(r[13]) <= lists && r[8] <= highElement) continue;
    r[7] = r[8] = r[13] = 0;
    putEntity(kArrSurfaces, s, r);
  }
  const int32_t bodies = recordsHeld(kArrBodies, kBodyWords, MODCNT.word(kCntBodies));
  for (int32_t b = 1; b <= bodies; ++b) {
    if (ENTEXS(b, 4) == 0) continue;
    Record<kBodyWords> r;
    getEntity(kArrBodies, b, r);
    if (magnitude(r[11]) <= lists && r[10] <= highElement) continue;
    r[9] = r[10] = r[11] = 0;
    putEntity(kArrBodies, b, r);
  }
}

void DBUP70() {
  starting("DBUP70");
  const int32_t limit = IDPACK.idLimit;
  const auto scale = static_cast<float>(MACHCN.word(kMachLineScale));
  const int32_t nodes = recordsHeld(kArrNodes, 1, REGHED.ARRLEN(kArrNodes));
  for (int32_t i = 1; i <= nodes; ++i) {
    std::array<int32_t, kNodeWords> r{};
    storeGet(kArrNodes, i, 1, r);
    const int32_t w1 = r[0];
    if (w1 > 0 && w1 < limit) {
      // Single precision, each step rounded, as the positions were always computed.
      const float thousandths = static_cast<float>(w1) / 1000.0f;
      const float position = thousandths * scale;
      r[1] = intOf(position);
    } else if (w1 < 0 && w1 > -limit) {
      const float s = std::bit_cast<float>(r[1]);
      const float rest = std::fmod(s, 1000000.0f);
      const float whole = (s - rest) / 1000000.0f;
      const float sum = rest + whole;
      const float position = 1000.0f * sum;
      r[1] = intOf(position);
    } else {
      continue;
    }
    storePut(kArrNodes, i, 1, r);
  }
}

int32_t DIGMSK(int32_t d, int32_t mode) {
  const int32_t offset = mode == 1 ? 16 : 0;
  const int32_t sign = d <= 0 ? -1 : 1;
  const int64_t list = magnitude(d);
  uint32_t flags = 0;
  auto set = [&flags, offset](int32_t flag) { flags |= uint32_t{1} << (flag + offset - 1); };
  if (list == 0 || list == 9 || list > 999999999) {
    for (int32_t flag = 1; flag <= 6; ++flag) set(flag);
  } else if (list == 10 || list == 11) {
    set(static_cast<int32_t>(list));
  } else {
    for (int64_t rest = list; rest > 0; rest /= 10) {
      const auto digit = static_cast<int32_t>(rest % 10);
      if (digit != 0 && digit != 9) set(digit);
    }
  }
  return sign * static_cast<int32_t>(flags);
}

}  // namespace kvr
