// The named-array registry: the handle words, the set-up and release of a layout, record
// input and output, growth on demand with the memory-shortage dialogue, and the search by
// name.
#include "modeldb/arrreg.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "messages/catalog.h"
#include "modeldb/arrdef.h"
#include "modeldb/corsto.h"
#include "modeldb/inpsrc.h"
#include "platform/stop.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/dspsta.h"
#include "runtime/iomode.h"
#include "runtime/journal.h"
#include "runtime/msgarg.h"
#include "runtime/msglin.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

// Raised by every set-up and release of the model registry.
uint64_t gGeneration = 0;

// Set-up modes.
constexpr int32_t kWritingRoad = 1;
constexpr int32_t kFullModel = 2;
constexpr int32_t kTwoArrays = 3;
constexpr int32_t kAnswerStore = 4;

constexpr int32_t kWrite = -1;
constexpr int32_t kRetry = 2;
// The status with which ARRALC ends the process.
constexpr int32_t kStopStatus = 1;
constexpr int32_t kAbort = 1;

// Catalogue numbers, as MSGE1, MSGW1 and MSGM take them.
constexpr int32_t kE1150CannotLoad = 150;
constexpr int32_t kE2100Allocation = 1100;
constexpr int32_t kE2110NotRegistered = 1110;
constexpr int32_t kE2130NoMemory = 1130;
constexpr int32_t kE2150NotAllocated = 1150;
constexpr int32_t kE2170CannotRegister = 1170;
constexpr int32_t kE2210CannotRegisterUndo = 1210;
constexpr int32_t kW2190UndoOff = 1190;
constexpr int32_t kM805Writing = 805;
constexpr int32_t kM806Reading = 806;
constexpr int32_t kM807BadArray = 807;
constexpr int32_t kM808BadRecord = 808;
constexpr int32_t kM809PastEnd = 809;
constexpr int32_t kM818NotRegistered = 818;
constexpr int32_t kM819Unallocated = 819;

// CoreCreate's result when memory ran out.
constexpr int32_t kNoMemory = -2;
// CoreExtend's and the copies' status for an array that is not registered.
constexpr int32_t kNotRegistered = 1;
constexpr int32_t kOutOfRange = 2;

// ----- Handle words -----------------------------------------------------------------

using Handle = std::pair<int32_t, int32_t>;  // handle word, named-array number

constexpr Handle kWritingRoadHandles[] = {{8, 1}, {5, 2},  {6, 3},  {1, 4},
                                          {9, 5}, {10, 6}, {11, 7}, {12, 8}};
constexpr Handle kTwoArrayHandles[] = {{7, 1}, {24, 2}};
constexpr Handle kAnswerStoreHandles[] = {{25, 1}, {26, 2}, {27, 3}, {28, 4}, {31, 15}, {32, 41}};

void setHandles(std::span<const Handle> handles) {
  for (const auto& [word, array] : handles) APPSTA.ARRHND(word) = array;
}

// The handle words that ARRDEF gives the full model registry; with MODE3 also those of the
// two-array layout's mode (word 7 then names 47 instead of 31).
void setModelHandles(bool mode3) {
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const ArrayDef& d = arrayDef(k);
    if (d.handleWord != 0 && !d.mode3Only) APPSTA.ARRHND(d.handleWord) = k;
  }
  if (!mode3) return;
  for (int32_t k = 1; k <= kModelArrays; ++k) {
    const ArrayDef& d = arrayDef(k);
    if (d.mode3Only) APPSTA.ARRHND(d.handleWord) = k;
  }
}

// ----- Set-up -----------------------------------------------------------------------

int32_t layoutSize(int32_t mode) {
  switch (mode) {
    case kWritingRoad:
      return static_cast<int32_t>(kWritingRoadLayout.size());
    case kFullModel:
      return kModelArrays;
    case kTwoArrays:
      return static_cast<int32_t>(kTwoArrayLayout.size());
    default:
      return static_cast<int32_t>(kAnswerStoreLayout.size());
  }
}

// Width, sign and records per page of array K of layout MODE.
ArrayShape layoutShape(int32_t mode, int32_t k) {
  const auto at = static_cast<size_t>(k - 1);
  switch (mode) {
    case kWritingRoad:
      return kWritingRoadLayout[at];
    case kFullModel:
      return arrayDef(k).shape;
    case kTwoArrays:
      return kTwoArrayLayout[at];
    default:
      return kAnswerStoreLayout[at];
  }
}

// Fills HEAD from layout MODE and creates its store arrays in FILE, in number order;
// CREATED receives the number of arrays created. Answers 0, or the negative result of
// the CoreCreate that failed.
template <class Head>
int32_t createLayout(Head& head, int32_t mode, int32_t file, int32_t& created) {
  created = 0;
  const int32_t n = layoutSize(mode);
  for (int32_t k = 1; k <= n; ++k) {
    const ArrayShape s = layoutShape(mode, k);
    head.ARRSGN(k) = s.sign;
    head.ARRLEN(k) = 0;
    head.ARRWID(k) = s.width;
    head.ARRPPG(k) = s.perPage;
  }
  for (int32_t k = 1; k <= n; ++k) {
    int32_t a = 0;
    int32_t stat = 0;
    CoreCreate(file, head.ARRWID(k), head.ARRPPG(k), a, stat);
    if (a < 0) return a;
    head.ARRCOR(k) = a;
    created = k;
  }
  return 0;
}

// The UNDO copies of the full model registry: one more store array of the same width and
// page size for each array that has one. Answers 0 or the failed CoreCreate's result.
int32_t createUndoCopies() {
  for (int32_t k = 1; k <= WinSta::kUndoArrays; ++k) {
    if (!arrayDef(k).undoCopy) continue;
    int32_t a = 0;
    int32_t stat = 0;
    CoreCreate(REGHED.file, REGHED.ARRWID(k), REGHED.ARRPPG(k), a, stat);
    if (a < 0) return a;
    WINSTA.UNDARR(k) = a;
  }
  return 0;
}

void reportSetupFailure(int32_t result, bool undoPass) {
  MSGE1(kE1150CannotLoad);
  MSGE1(kE2100Allocation);
  MSGE1(undoPass ? kE2210CannotRegisterUndo : kE2170CannotRegister);
  if (result == kNoMemory) MSGE1(kE2130NoMemory);
}

// ----- Failures ---------------------------------------------------------------------

// The highest named-array number of the registry in force, never beyond the head.
int32_t registryTop() { return std::clamp(REGHED.top, 0, RegHed::kArrays); }

int32_t clampedToWord(int64_t v) {
  return static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
}

// The view state asks for the database dump before a fatal end.
bool dumpOffered() {
  const int32_t state = currentViewState();
  return state == -1 || state == -2;
}

void reportArray(int32_t number, std::initializer_list<int32_t> values) {
  const std::span<const int32_t> ints(values.begin(), values.size());
  MSGM(number, ints, {}, {}, {});
}

// The orderly end of ARRIO: the dump when the view state offers it, then the run's end.
void stopRun(bool dump) {
  if (dump) dumpDatabase();
  STOPRN(kAbort);
}

// ARRALC's end: the dump when offered, then the process ends at once, without the
// orderly close of the database.
[[noreturn]] void stopAtOnce(bool dump) {
  if (dump) dumpDatabase();
  processStop(kStopStatus);
}

// Appends TEXT to CODES from position FIRST on; LAST receives the last position written.
void appendText(std::string_view text, int32_t first, std::span<int32_t> codes, int32_t& last) {
  std::string copy(text);
  TXTCOD(FText(copy), first, codes, last);
}

constexpr int32_t kLineCodes = 80;
using CodeLine = std::array<int32_t, kLineCodes>;

// " * Trying to allocate < NMORE > records to array < K >"; N receives its length.
CodeLine allocationLine(int32_t nmore, int32_t k, int32_t& n) {
  CodeLine line{};
  BLKCOD(line, 1, kLineCodes);
  int32_t last = 0;
  appendText(" * Trying to allocate <", 1, line, last);
  INTCOD(nmore, last + 2, line, last);
  appendText("> records to array <", last + 2, line, last);
  INTCOD(k, last + 2, line, last);
  appendText(">", last + 2, line, last);
  n = last;
  return line;
}

void printAndJournal(std::span<const int32_t> line, int32_t n) {
  CODPRT(line, n);
  int32_t failed = 0;
  JRNBTH(line, 1, n, failed);
}

// Gives up the UNDO copies of the full model registry to make room: every store array
// from the first copy on is released and UNDO is switched off.
void releaseUndo() {
  // The copies exist only in the full model registry; elsewhere the numbers in UNDARR
  // name no array of the store file, and releasing from there would only renumber it.
  if (REGHED.mode == kFullModel) CoreFreeFrom(REGHED.file, WINSTA.UNDARR(1));
  WINSTA.undoOn = 0;
  CodeLine line{};
  int32_t last = 0;
  appendText(" UTILITY SETUP UNDO OFF", 1, line, last);
  int32_t failed = 0;
  JRNWR1(line, 1, last, failed);
  MSGW1(kW2190UndoOff);
}

// The memory-shortage dialogue; answers the button pressed.
int32_t askRetry(bool dump) {
  constexpr std::string_view kTitle = "Insufficient Memory Available";
  FixedText title(static_cast<int32_t>(kTitle.size()), kTitle);
  const std::string_view text =
      dump ? "ABORT to dump database and stop.#RETRY to release UNDO memory and retry,#"
             "(can you logoff other processes?)"
           : "ABORT to stop.#RETRY to retry,#(can you logoff other processes?)";
  FixedText box(static_cast<int32_t>(text.size()), text);
  return MSGBOX(title, box, kIconError, kButtonsAbortRetry, kRetry);
}

}  // namespace

// ----- Routines ---------------------------------------------------------------------

void ARRNUM(int32_t mode) {
  switch (mode) {
    case 1:
      setModelHandles(false);
      break;
    case 2:
      setHandles(kWritingRoadHandles);
      break;
    case 3:
      setModelHandles(true);
      break;
    case 4:
      setHandles(kTwoArrayHandles);
      break;
    case 5:
      setHandles(kAnswerStoreHandles);
      break;
    default:
      break;
  }
}

void ARRREG(int32_t mode, int32_t force, int32_t& stat) {
  stat = 0;
  if (mode < kWritingRoad || mode > kAnswerStore) {
    stat = 1;
    return;
  }
  if (mode == kAnswerStore) {
    // A second set-up would otherwise add 4 more arrays to file 1 each time until the
    // file is full; the answer store starts afresh instead.
    CoreFreeFile(ArrDsc::kStoreFile);
    ARRDSC.file = ArrDsc::kStoreFile;
    int32_t created = 0;
    const int32_t result = createLayout(ARRDSC, mode, ArrDsc::kStoreFile, created);
    if (result < 0) {
      reportSetupFailure(result, false);
      ARRREL();
      // The head names only the arrays that file 1 still holds; a later set-up starts
      // afresh from an empty file.
      ARRDSC.top = created;
      for (int32_t k = created + 1; k <= ArrDsc::kArrays; ++k) ARRDSC.ARRCOR(k) = 0;
      stat = 1;
      return;
    }
    ARRDSC.top = layoutSize(mode);
    return;
  }

  if (force == 0 && REGHED.mode == mode) return;
  MEMFNO(REGHED.file);
  // The file may still hold the arrays of an earlier set-up that no window slot keeps;
  // creating on top of them would fill the file and fail the second model opening.
  CoreFreeFile(REGHED.file);
  int32_t created = 0;
  int32_t result = createLayout(REGHED, mode, REGHED.file, created);
  bool undoPass = false;
  if (result == 0 && mode == kFullModel) {
    undoPass = true;
    result = createUndoCopies();
  }
  if (result < 0) {
    reportSetupFailure(result, undoPass);
    ARRREL();
    stat = 1;
    return;
  }
  REGHED.mode = mode;
  REGHED.top = layoutSize(mode);
  ++gGeneration;
}

void ARRREL() {
  if (REGHED.file >= 1 && REGHED.file <= kCoreFiles) CoreFreeFile(REGHED.file);
  REGHED.mode = 0;
  ++gGeneration;
}

uint64_t registryGeneration() { return gGeneration; }

void ARRIO(int32_t mode, int32_t k, int32_t i, int32_t n, int32_t type, std::span<int32_t> ibuf,
           std::span<float> rbuf, int32_t& stat) {
  stat = 0;
  const bool dump = dumpOffered();
  if (k < 1 || k > registryTop()) {
    reportArray(kM807BadArray, {k});
    stopRun(dump);
    return;
  }
  if (i < 1) {
    reportArray(kM808BadRecord, {i, k});
    stopRun(dump);
    return;
  }
  const int64_t last = int64_t{i} + n - 1;
  int32_t status = 0;
  if (mode == kWrite) {
    if (last > REGHED.ARRLEN(k)) {
      if (last > std::numeric_limits<int32_t>::max()) {
        // No record number reaches that far: the store could not hold the range.
        status = kOutOfRange;
      } else {
        int32_t first = 0;
        int32_t grown = 0;
        ARRALC(k, static_cast<int32_t>(last - REGHED.ARRLEN(k)), first, grown);
      }
    }
    if (status == 0) {
      CorePut(REGHED.file, REGHED.ARRCOR(k), i, n, type, ibuf, rbuf, status);
    }
  } else {
    if (last > REGHED.ARRLEN(k)) {
      reportArray(kM809PastEnd, {clampedToWord(last), k, REGHED.ARRLEN(k)});
      stopRun(dump);
      return;
    }
    CoreGet(REGHED.file, REGHED.ARRCOR(k), i, n, type, ibuf, rbuf, status);
  }
  if (status == 0) return;
  reportArray(mode == kWrite ? kM805Writing : kM806Reading, {n, k, i});
  MSGE1(kE2100Allocation);
  MSGE1(status == kOutOfRange ? kE2150NotAllocated : kE2110NotRegistered);
  stopRun(dump);
}

void ARRALC(int32_t k, int32_t nmore, int32_t& first, int32_t& stat) {
  stat = 0;
  // A named array outside the registry in force has no store array: not registered.
  const bool known = k >= 1 && k <= registryTop();
  first = known ? REGHED.ARRLEN(k) + 1 : 1;
  // Nothing to add: a negative count would otherwise lower the allocated count and hide
  // records already written.
  if (known && nmore <= 0) return;
  for (;;) {
    int32_t status = kNotRegistered;
    if (known) {
      CoreExtend(REGHED.file, REGHED.ARRCOR(k), first, nmore, status);
      if (status == 0) {
        REGHED.ARRLEN(k) += nmore;
        return;
      }
    }
    const bool dump = dumpOffered();
    if (IOMODE.inputMode == kInputCommandFile) INPSRC({}, 0);
    int32_t n = 0;
    const CodeLine line = allocationLine(nmore, k, n);
    if (status == kNotRegistered) {
      MSGE1(kE2100Allocation);
      MSGE1(kE2110NotRegistered);
      printAndJournal(line, n);
      stopAtOnce(dump);
    }
    MSGE1(kE2100Allocation);
    MSGE1(kE2130NoMemory);
    printAndJournal(line, n);
    const int32_t answer = askRetry(dump);
    // The end of console input is no Retry: the loop would wait for ever.
    if (answer != kRetry || IOMODE.endOfInput != 0) stopAtOnce(dump);
    if (dump && WINSTA.undoOn > 0) releaseUndo();
  }
}

int32_t ARRFND(std::span<const int32_t, 2> key, int32_t k, int32_t hint, int32_t last) {
  if (last < 1) return 0;
  const int64_t h = hint < 0 ? -int64_t{hint} : int64_t{hint};
  // A hint of 0 would start at record 0, before the array.
  const int32_t start = (h == 0 || h > last) ? 1 : static_cast<int32_t>(h);
  // A named array outside the registry in force counts as not registered.
  const bool known = k >= 1 && k <= registryTop();
  const int32_t a = known ? REGHED.ARRCOR(k) : 0;

  int32_t from = start;
  int32_t to = last;
  int32_t result = CoreFindPair(REGHED.file, a, key, from, to);
  if (result == 0 && hint < 0 && start > 1) {
    from = 1;
    to = start - 1;
    result = CoreFindPair(REGHED.file, a, key, from, to);
  }
  if (result >= 0) return result;

  // The message takes the name in its real argument, the two words moved bit for bit.
  const int32_t values[] = {k, from, to};
  const float name[] = {std::bit_cast<float>(key[0]), std::bit_cast<float>(key[1])};
  MSGM(result == -1 ? kM818NotRegistered : kM819Unallocated, values, name, {}, {});
  dumpDatabase();
  STOPRN(kAbort);
  return 0;
}

}  // namespace kvr
