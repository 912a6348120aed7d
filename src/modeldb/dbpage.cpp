// The database page layer: the raw transfer with its operator dialogue, the page checks,
// page allocation, the page-buffer slots of the loaders and the data page size.

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <utility>

#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "platform/fmtedit.h"
#include "platform/stop.h"
#include "platform/unitio.h"
#include "runtime/console.h"
#include "runtime/fileutil.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/ftext.h"
#include "runtime/idxlay.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

// The valid data-file page sizes: 255 x 8, x 16, x 32, x 64, x 128.
constexpr std::array<int32_t, 5> kDataPageSizes = {2040, 4080, 8160, 16320, 32640};

// The transfer dialogue.
constexpr int32_t kTitleLength = 12;
constexpr int32_t kStatusTextLength = 80;
constexpr int32_t kBoxTextLength = 255;
constexpr int32_t kRetry = 2;
constexpr int32_t kCancel = 2;
constexpr int32_t kAbortRun = 1;

// The words of the first N of BUFFER, cut at its capacity (N below 0 counts as 0).
std::span<int32_t> head(std::span<int32_t> buffer, int64_t n) {
  return buffer.first(
      static_cast<size_t>(std::clamp<int64_t>(n, 0, static_cast<int64_t>(buffer.size()))));
}

int32_t transferOnce(std::span<int32_t> words, int64_t record, int32_t write, int32_t unit) {
  return write == 0 ? io::readDirect(unit, record, words) : io::writeDirect(unit, record, words);
}

// The default button of both boxes: Abort and OK on the console, Retry and Cancel on
// any other output.
int32_t defaultButton() { return PLTDEV.outputMode == kOutputConsole ? 1 : 2; }

// The " ERROR 300" block of a page number of 0 or below, then the end of the run.
[[noreturn]] void pageOutOfRange(int32_t page, int32_t unit, bool write) {
  const int32_t out = IOUNIT.slot(kSlotTerminalOutput);
  io::writeRecord(out, " ERROR 300 : DATA BASE ERROR :");
  if (write) {
    io::writeRecord(out, " ATTEMPT TO WRITE A PAGE WHICH IS OUTSIDE");
    io::writeRecord(out, "  THE RANGE ASSIGNED TO THIS FILE");
  } else {
    io::writeRecord(out, " ATTEMPT TO READ A PAGE WHICH IS OUTSIDE");
    io::writeRecord(out, " THE RANGE ASSIGNED TO THIS FILE");
  }
  io::writeRecord(out, fmt::format1("(' PAGE NUMBER =',I10,10X,'UNIT =',I4)", {page, unit}));
  io::writeRecord(out, " *** RUN TERMINATED ***");
  if (!write) {
    if (unit == DBPARM.fileSlot(kIndexFileSlot).unit) {
      io::writeRecord(out, " DATA BASE INDEX FILE");
    } else if (unit == DBPARM.fileSlot(kDataFileSlot).unit) {
      io::writeRecord(out, " DATA BASE DATA FILE");
    }
  }
  STOPRN(kAbortRun);
  // The run ends with a set abort flag; should it come back, nothing may be transferred.
  processStop(1, true);
}

void pageTransfer(int32_t cls, int32_t page, std::span<int32_t> buffer, int32_t write) {
  DbFileSlot& slot = DBPARM.fileSlot(PAGCLS(cls));
  if (page <= 0) pageOutOfRange(page, slot.unit, write != 0);
  PAGDSP(buffer, page, slot.pageSize, write, slot.unit);
}

// Transfers record RECORD through the dialogue of RANDIO; the pseudo-units come here
// with their record numbers, which may pass the 32-bit range.
int32_t transferRecord(std::span<int32_t> buffer, int64_t record, int32_t size, int32_t write,
                       int32_t unit) {
  const std::span<int32_t> words = head(buffer, size);
  FixedText title(kTitleLength, write == 0 ? "Read Error" : "Write Error");
  for (;;) {
    const int32_t status = transferOnce(words, record, write, unit);
    if (status <= 0) return status;

    FixedText message(kStatusTextLength);
    IOSMSG(status, message);
    io::writeRecord(IOUNIT.slot(kSlotLogFile),
                    fmt::format1("(' !RANDIO Error: LUN =',I5,' Page Number = ',I8,"
                                 "' Page Size = ',I8,' Status Returned = ',I8)",
                                 {unit, record, size, status}));
    FixedText text(kBoxTextLength, "#" + message.trimmed());
    FixedText caution(kTitleLength, "Caution!");
    FixedText terminate(kBoxTextLength, "This will terminate KAVRO");
    bool retry = false;
    while (!retry) {
      if (MSGBOX(title, text, kIconQuestion, kButtonsAbortRetry, defaultButton()) == kRetry) {
        retry = true;
      } else if (MSGBOX(caution, terminate, kIconWarning, kButtonsOkCancel, defaultButton()) !=
                 kCancel) {
        STOPRN(kAbortRun);
        // A failed transfer never returns to its caller.
        processStop(1, true);
      }
    }
  }
}

}  // namespace

int32_t RANDIO(std::span<int32_t> buffer, int32_t page, int32_t size, int32_t write,
               int32_t unit) {
  return transferRecord(buffer, page, size, write, unit);
}

// The pseudo-units: logical pages kept as pieces of B words on three scratch files.
namespace {

// The scratch files, opened at first use without a name as unformatted direct-access
// scratch files of record length B.
constexpr int32_t kSlotScratchType = 12;
constexpr int32_t kStreamScratchType = 13;
constexpr int32_t kHalfBufferScratchType = 23;
constexpr int32_t kDirectForm = 3;
constexpr int32_t kScratchMode = 5;

// The high-water words of IDXLAY: the highest slot written on the slot scratch file and
// the last record written on the stream scratch file. Both start at 0.
constexpr int32_t kSlotHighWaterWord = 1;
constexpr int32_t kStreamHighWaterWord = 2;

int32_t& slotHighWater() { return IDXLAY.word(kSlotHighWaterWord); }
int32_t& streamHighWater() { return IDXLAY.word(kStreamHighWaterWord); }

// The unit of scratch file TYPE, opened now when it is not open yet. A failed open leaves
// the unit unconnected; the transfers then fail through the RANDIO dialogue.
int32_t scratchUnit(int32_t type) {
  if (IOUNIT.openFlag(type) == 0) {
    int32_t status = 0;
    FOUVRE(type, {}, 0, kDirectForm, kScratchMode, status);
  }
  return IOUNIT.slot(fileTypeRow(type)->openSlot);
}

// Piece I (from 1) of BUFFER: words (i - 1) x B + 1 to i x B, cut at the capacity.
std::span<int32_t> piece(std::span<int32_t> buffer, int64_t i, int32_t b) {
  const int64_t first = std::min<int64_t>((i - 1) * b, static_cast<int64_t>(buffer.size()));
  return buffer.subspan(static_cast<size_t>(first));
}

// The used length of the page in BUFFER (its word 5); 0 for a buffer that has none.
int64_t usedLength(std::span<const int32_t> buffer) {
  return buffer.size() >= static_cast<size_t>(kUsedLengthWord) ? buffer[kUsedLengthWord - 1] : 0;
}

int32_t streamTransfer(std::span<int32_t> buffer, int32_t page, int32_t write, int32_t unit,
                       int32_t b) {
  const int32_t file = scratchUnit(kStreamScratchType);
  const int64_t pieces = DBPARM.scratchSize2 / b;
  int32_t& start = unit == kStream4 ? PSEUDO.stream4Start : PSEUDO.stream8Start;
  if (write != 0) {
    int32_t& h = streamHighWater();
    if (page <= 1) start = h;
    const int64_t used = usedLength(buffer);
    for (int64_t i = 1; i <= pieces && (i - 1) * b + 1 <= used; ++i) {
      ++h;
      transferRecord(piece(buffer, i, b), h, b, write, file);
    }
    return h;
  }
  int32_t& cursor = PSEUDO.readCursor;
  if (page <= 1) cursor = start;
  for (int64_t i = 1; i == 1 || (i <= pieces && (i - 1) * b + 1 <= usedLength(buffer)); ++i) {
    ++cursor;
    transferRecord(piece(buffer, i, b), cursor, b, write, file);
  }
  return cursor;
}

// Transfers the N2 pieces of block K (from 1) of records (k - 1) x N2 + 1 to k x N2.
void blockTransfer(std::span<int32_t> buffer, int64_t k, int64_t n2, int32_t write, int32_t file,
                   int32_t b) {
  for (int64_t i = 1; i <= n2; ++i) {
    transferRecord(piece(buffer, i, b), (k - 1) * n2 + i, b, write, file);
  }
}

// The first slot of pseudo-unit UNIT; units -5, -6, -9 and -10 share theirs.
int32_t slotBase(int32_t unit) {
  if (unit == -7) return 1;
  if (isSharedSlotUnit(unit)) return 2;
  return 0;
}

int32_t slotTransfer(std::span<int32_t> buffer, int32_t page, int32_t write, int32_t unit,
                     int32_t b) {
  const int32_t file = scratchUnit(kSlotScratchType);
  const int64_t n2 = (DBPARM.scratchSize1 / 2) / b;
  // Slots count from 1: numbered from 0, page 1 of units -1 and -3 would be slot 0 and
  // address records 0 and below.
  const int64_t s = slotBase(unit) + 3 * (static_cast<int64_t>(page) - 1) + 1;
  int32_t& mark = slotHighWater();
  int32_t result = 0;
  if (write != 0 && s > mark) {
    for (int64_t t = static_cast<int64_t>(mark) + 1; t <= s; ++t) {
      blockTransfer(buffer, t, n2, write, file, b);
    }
    mark = static_cast<int32_t>(s);
    result = mark;
  } else {
    blockTransfer(buffer, s, n2, write, file, b);
    result = static_cast<int32_t>(n2);
  }
  if (write != 0 && isSharedSlotUnit(unit)) {
    for (int32_t k = 1; k <= static_cast<int32_t>(kSharedSlotUnits.size()); ++k) {
      if (kSharedSlotUnits[static_cast<size_t>(k - 1)] != unit) PSEUDO.marker(k) = 0;
    }
    result = 0;
  }
  return result;
}

}  // namespace

void resetPseudoUnits() {
  slotHighWater() = 0;
  streamHighWater() = 0;
  PSEUDO = {};
}

int32_t PAGDSP(std::span<int32_t> buffer, int32_t page, int32_t size, int32_t write,
               int32_t unit) {
  if (unit >= 0) return RANDIO(buffer, page, size, write, unit);
  const int32_t b = DBPARM.recordLength;
  // Pieces of no words would divide by zero and move nothing.
  if (b < 1) return 0;
  if (unit == kStream4 || unit == kStream8) return streamTransfer(buffer, page, write, unit, b);
  if (unit == kHalfBuffer) {
    const int64_t n2 = (DBPARM.scratchSize1 / 2) / b;
    blockTransfer(buffer, page, n2, write, scratchUnit(kHalfBufferScratchType), b);
    return static_cast<int32_t>(n2);
  }
  return slotTransfer(buffer, page, write, unit, b);
}

int32_t PAGSIZ(int32_t n) {
  return std::find(kDataPageSizes.begin(), kDataPageSizes.end(), n) != kDataPageSizes.end() ? -1
                                                                                            : 0;
}

int32_t PAGCLS(int32_t cls) { return cls <= kLastDataClass ? kDataFileSlot : kIndexFileSlot; }

int32_t CLSPSZ(int32_t cls) { return DBPARM.fileSlot(PAGCLS(cls)).pageSize; }

namespace {
PageReadObserver& pageReadObserver() {
  static PageReadObserver observer;
  return observer;
}
}  // namespace

void PAGRD(int32_t cls, int32_t page, std::span<int32_t> buffer) {
  if (pageReadObserver()) pageReadObserver()(cls, page);
  pageTransfer(cls, page, buffer, 0);
}

void setPageReadObserver(PageReadObserver o) { pageReadObserver() = std::move(o); }

void PAGWR(int32_t cls, int32_t page, std::span<int32_t> buffer) {
  pageTransfer(cls, page, buffer, 1);
}

void PGINIT(int32_t cls, int32_t page, std::span<int32_t> buffer) {
  std::span<int32_t> words = head(buffer, CLSPSZ(cls));
  std::fill(words.begin(), words.end(), 0);
  if (words.size() >= static_cast<size_t>(kPageNumberWord)) words[kPageNumberWord - 1] = page;
  if (words.size() >= static_cast<size_t>(kPageClassWord)) words[kPageClassWord - 1] = cls;
}

void PGNEW(std::span<int32_t> buffer, int32_t cls, int32_t& page, int32_t& freeHead) {
  const int32_t s = PAGCLS(cls);
  DbFileSlot& slot = DBPARM.fileSlot(s);
  if (slot.freeHead != 0) {
    page = slot.freeHead;
    PAGRD(cls, page, buffer);
    slot.freeHead = buffer.empty() ? 0 : buffer[kFreeLinkWord - 1];
  } else {
    page = slot.nextPage;
    ++slot.nextPage;
  }
  freeHead = slot.freeHead;
  // The index file's page 1 is written below; the data file's waits for DSCLOS.
  slot.headerBehind = s != kIndexFileSlot;
  if (s == kIndexFileSlot) {
    PAGRD(cls, kHeaderPage, buffer);
    if (buffer.size() >= static_cast<size_t>(kFreeHeadWord)) {
      buffer[kNextPageWord - 1] = slot.nextPage;
      buffer[kFreeHeadWord - 1] = slot.freeHead;
    }
    PAGWR(cls, kHeaderPage, buffer);
  }
}

void PGSLOT(std::span<int32_t> buffer, int32_t page, int32_t cls, int32_t slot, int32_t& offset) {
  if (!DbLevl::isBufferSlot(slot)) {
    offset = 0;
    return;
  }
  offset = DBLEVL.slotOffset(slot);
  int32_t& held = DBLEVL.heldPage(slot);
  int32_t& heldClass = DBLEVL.heldClass(slot);
  if ((held == page || -static_cast<int64_t>(held) == page) && heldClass == cls) return;
  // An offset outside the buffer gives the slot an empty area rather than a stray one.
  const size_t first = static_cast<size_t>(std::clamp<int64_t>(
      static_cast<int64_t>(offset) - 1, 0, static_cast<int64_t>(buffer.size())));
  std::span<int32_t> area = buffer.subspan(first);
  // A held page that cannot be negated is no page: it ends the run as page 0 does.
  if (held < 0) PAGWR(heldClass, held == INT32_MIN ? 0 : -held, area);
  PAGRD(cls, page, area);
  held = page;
  heldClass = cls;
}

void PAGSET(int32_t pageSize) {
  DBLEVL.dataPageSize = pageSize;
  DBPARM.fileSlot(kDataFileSlot).pageSize = pageSize;
  DBLEVL.slotOffset(1) = 1;
  DBLEVL.slotOffset(2) = pageSize + 1;
  for (int32_t s = 1; s <= DbLevl::kBufferSlots; ++s) {
    DBLEVL.heldPage(s) = 0;
    DBLEVL.heldClass(s) = 0;
  }
}

void CPYWRD(int32_t n, std::span<const int32_t> source, std::span<int32_t> target) {
  const int64_t count = std::min({static_cast<int64_t>(n), static_cast<int64_t>(source.size()),
                                   static_cast<int64_t>(target.size())});
  for (size_t k = 0; static_cast<int64_t>(k) < count; ++k) target[k] = source[k];
}

}  // namespace kvr
