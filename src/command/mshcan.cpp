// The mesh cancel, set deletion and the blank-name test.
#include "command/mshcan.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "command/dslupd.h"
#include "command/seqnxt.h"
#include "modeldb/arrreg.h"
#include "modeldb/dbhead.h"
#include "modeldb/entrec.h"
#include "modeldb/linrec.h"
#include "modeldb/setrec.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/ftext.h"
#include "runtime/geosta.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/msglin.h"
#include "runtime/pltops.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kBlankWord = 0x20202020;

constexpr int32_t kMeshOpen = 1;
constexpr int32_t kColourCancel = 2;
constexpr int32_t kObjectKind = 1;
constexpr int32_t kW0133Cancelled = 1133;
constexpr int32_t kM0084Emptied = 84;
constexpr int32_t kCancelledLength = 40;

constexpr int32_t kArrLines = 4;
constexpr int32_t kArrSurfaces = 6;
constexpr int32_t kArrBodies = 8;
constexpr int32_t kLineWords = 16;
constexpr int32_t kSurfaceWords = 14;
constexpr int32_t kBodyWords = 15;
constexpr int32_t kLineComposite = 9;  // a line of this type has no division of its own

constexpr int32_t kSetCode = 15;  // the object code of the set naming sequence
constexpr int32_t kOldHeadFormat = 9031;
constexpr int32_t kOldHeadBits = 0xFFF;

// The entities of a kind to visit: its count, held to the records its array has, so that a
// damaged count cannot read beyond the array.
int32_t held(int32_t countWord, int32_t array, int32_t width) {
  return std::clamp(MODCNT.word(countWord), 0, REGHED.ARRLEN(array) / width);
}

// The number of the first block of a chain from its head word, by the format rule.
int32_t chainHead(int32_t word) {
  if (DBFMT > kOldHeadFormat) return word;
  return static_cast<int32_t>(static_cast<uint32_t>(std::abs(int64_t{word})) & kOldHeadBits);
}

// Removes the first entry of set S from the displayed-sets list.
void undisplay(int32_t s) {
  const int32_t n = DSPSL2.entries();
  for (int32_t j = 1; j <= n; ++j) {
    if (DSPSL2.setNumber(j) != s) continue;
    for (int32_t k = j + 1; k <= n; ++k) {
      DSPSL2.setNumber(k - 1) = DSPSL2.setNumber(k);
      DSPSL2.memberCount(k - 1) = DSPSL2.memberCount(k);
      DSPSL2.typeWord(k - 1) = DSPSL2.typeWord(k);
      DSPSL2.blockWord(k - 1) = DSPSL2.blockWord(k);
    }
    DSPSL2.count = n - 1;
    return;
  }
}

// Puts the chain that starts at block H in front of the free chain. A chain that leaves
// the blocks in use, or does not end within that many blocks, is left as it is: splicing
// it would join the free chain to a live set's blocks or close it into a cycle.
void freeChain(int32_t h) {
  const int32_t top = MODCNT.word(kCntSetBlockTop);
  MbrBlk block;
  int32_t b = h;
  for (int32_t seen = 1;; ++seen) {
    if (b < 1 || b > top || seen > top) return;
    RECIO(kRead, kArrMemberBlocks, b, block.words);
    if (block.next() == 0) break;
    b = block.next();
  }
  SetRec free;
  RECIO(kRead, kArrSets, 1, free.words);
  block.next() = chainHead(free.word(kSetFirstBlock));
  RECIO(kWrite, kArrMemberBlocks, b, block.words);
  free.word(kSetFirstBlock) = h;
  RECIO(kWrite, kArrSets, 1, free.words);
}

// Deletes set S; false when it was deleted before, or S is no set record, and nothing
// changed.
bool deleteSet(int32_t s) {
  // Record 1 heads the free chain: deleting it would close the free chain on itself.
  if (s < 2 || s > std::min({MODCNT.word(kCntSets), REGHED.ARRLEN(kArrSetNames),
                             REGHED.ARRLEN(kArrSets)})) {
    return false;
  }
  std::array<int32_t, 2> name{};
  RECIO(kRead, kArrSetNames, s, name);
  const int32_t marker = MODCON.word(kModDeletedMarker);
  // A second deletion would splice the chain into the free chain again.
  if (name[0] == marker) return false;
  undisplay(s);
  SEQRET(name, kSetCode);
  name = {marker, MODCON.word(kModFirstCode)};
  RECIO(kWrite, kArrSetNames, s, name);

  SetRec rec;
  RECIO(kRead, kArrSets, s, rec.words);
  const int32_t h = chainHead(rec.word(kSetFirstBlock));
  // A set without a chain has no block to free; walking from block 0 would not end well.
  if (h > 0) freeChain(h);
  return true;
}

// Empties the current BINSET by deleting it, reporting M0084.
void emptyBinset() {
  const std::array<int32_t, 2> name = {GEOSTA.word(kGeoBinset), GEOSTA.word(kGeoBinset + 1)};
  if (!NONBLK(name)) return;
  const int32_t sets = std::min(MODCNT.word(kCntSets), REGHED.ARRLEN(kArrSetNames));
  const int32_t s = ARRFND(name, kArrSetNames, 1, sets);
  // Counting and reporting a set that was already deleted would count it twice.
  if (s == 0 || !deleteSet(s)) return;
  ++MODCNT.word(kCntDelSets);
  MSGQIN(-kM0084Emptied, name[0]);
  MSGQIN(kM0084Emptied, name[1]);
}

void reportCancel() {
  PLTCOL(kColourCancel);
  PLTOBJ(kObjectKind);
  MSGQRL(-kW0133Cancelled, MODCNT.word(kCntSavedNodes));
  MSGQRL(kW0133Cancelled, MODCNT.word(kCntSavedElements));
  std::array<int32_t, kCancelledLength> line{};
  FixedText text(kCancelledLength, " *** MESH CANCELLED ***");
  int32_t last = 0;
  TXTCOD(text, 1, line, last);
  CODPRT(line, last);
}

void clearDivisions() {
  const int32_t stamp = MODCNT.word(kCntMeshStamp);
  const int32_t lines = held(kCntLines, kArrLines, kLineWords);
  for (int32_t i = 1; i <= lines; ++i) {
    if (LNG07B(i) == kLineComposite || LNG13B(i) <= stamp) continue;
    int32_t stat = 0;
    LNP08(i, 0, stat);
    LNP09(i, 0, stat);
  }
  std::array<int32_t, kSurfaceWords> surface{};
  const int32_t surfaces = held(kCntSurfaces, kArrSurfaces, kSurfaceWords);
  for (int32_t i = 1; i <= surfaces; ++i) {
    RECIO(kRead, kArrSurfaces, i, surface);
    if (surface[13 - 1] <= 0) continue;
    surface[7 - 1] = 0;
    surface[8 - 1] = 0;
    RECIO(kWrite, kArrSurfaces, i, surface);
  }
  std::array<int32_t, kBodyWords> body{};
  const int32_t bodies = held(kCntBodies, kArrBodies, kBodyWords);
  for (int32_t i = 1; i <= bodies; ++i) {
    RECIO(kRead, kArrBodies, i, body);
    if (body[11 - 1] < 0) continue;
    body[9 - 1] = 0;
    body[10 - 1] = 0;
    RECIO(kWrite, kArrBodies, i, body);
  }
}

}  // namespace

void MSHCAN() {
  if (MODCNT.word(kCntMeshOpen) != kMeshOpen) return;
  if (MODCNT.word(kCntSavedElements) < MODCNT.word(kCntHighestElement)) {
    reportCancel();
    int32_t status = 0;
    for (int32_t code : {3, -9, -10}) DSLUPD(3, code, -1, 19, 0, status);
    DSLUPD(-2, 0, -1, 19, 0, status);
    emptyBinset();
  }
  MODCNT.word(kCntHighestElement) = MODCNT.word(kCntSavedElements);
  MODCNT.word(kCntHighestNode) = MODCNT.word(kCntSavedNodes);
  const int32_t w = DSPSTA.currentWindow;
  if (w >= 0 && w < GfxDfs::kWindows) GFXDFS.state(w) = 1;
  MODCNT.word(kCntMeshState) = 0;
  MODCNT.word(kCntMeshStamp) = MODCNT.word(kCntSavedMeshStamp);
  MODCNT.word(kCntMeshOpen) = 0;
  clearDivisions();
}

void SETDEL(int32_t s) { deleteSet(s); }

bool NONBLK(std::span<const int32_t, 2> name) { return name[0] != kBlankWord; }

}  // namespace kvr
