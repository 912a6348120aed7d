// The header check and the load of a model file of formats 9034 to 9071: HDRCHK, DBADIR,
// DBLOAD, the page transfer PAGXFR and the allocation report ALCMSG.
#include "modeldb/dbhead.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/arrreg.h"
#include "modeldb/corsto.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbpage.h"
#include "modeldb/dbupgr.h"
#include "modeldb/entrec.h"
#include "modeldb/mdlload.h"
#include "modeldb/mdlstore.h"
#include "modeldb/setrec.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"
#include "runtime/journal.h"
#include "runtime/modcnt.h"
#include "runtime/msglin.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kIntegers = -1;

// Catalogue numbers, as MSGE1, MSGW1 and MSGM take them.
constexpr int32_t kE1100NewerFormat = 100;
constexpr int32_t kE1110PageSize = 110;
constexpr int32_t kE1120UnknownFormat = 120;
constexpr int32_t kE1130Status = 130;
constexpr int32_t kE1140Buffer = 140;
constexpr int32_t kE1160Empty = 160;
constexpr int32_t kE2100Allocation = 1100;
constexpr int32_t kE2110NotRegistered = 1110;
constexpr int32_t kE2130NoMemory = 1130;
constexpr int32_t kW2100WrongType = 1100;
constexpr int32_t kM431Status = 431;
constexpr int32_t kM432PageSize = 432;
constexpr int32_t kM433Format = 433;

// DBADIR statuses.
constexpr int32_t kDirUsable = 0;
constexpr int32_t kDirIndexed = 1;
constexpr int32_t kDirUnknown = 2;
constexpr int32_t kDirStatus = 3;
constexpr int32_t kDirPageSize = 4;
constexpr int32_t kDirPastEnd = 5;

// The formats DBLOAD reads and upgrades (9071 itself aside).
bool upgradeable(int32_t f) {
  return (f >= 9034 && f <= 9038) || (f >= 9060 && f <= 9066) || f == 9070;
}

// The number of array counts the header of format F holds.
int32_t countsOf(int32_t f) {
  if (f >= 9066) return 37;
  if (f == 9065) return 33;
  if (f == 9064) return 32;
  if (f >= 9062) return 30;
  return 26;
}

// Older formats kept some counts in records of the entity width: the factor that turns
// count K into records of the current width (1 when it needs none).
int64_t countFactor(int32_t f, int32_t k) {
  if (f < 9060 && k == 13) return 42;
  if (f >= 9070) return 1;
  switch (k) {
    case 4: return 16;
    case 6: return 14;
    case 8: return 15;
    case 10: return 20;
    case 24: return 12;
    default: return 1;
  }
}

int32_t clampedCount(int64_t c) {
  return static_cast<int32_t>(std::clamp<int64_t>(c, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Reads page 1 of UNIT into DBHEAD; false when it lies past the end of the file.
bool readHeader(int32_t unit, int32_t ps) {
  DBHEAD.page.assign(static_cast<size_t>(std::max(ps, kHeadWords)), 0);
  return RANDIO(DBHEAD.page, kHeaderPage, ps, 0, unit) != -1;
}

void refuseFormat(int32_t cause, bool warning, int32_t f) {
  MSGE1(kLoadRefused);
  if (warning) {
    MSGW1(cause);
  } else {
    MSGE1(cause);
  }
  dbMessage(kM433Format, {f, kFormatCurrent});
}

// Loads a file that passed the header check, when the store's buffer holds PAGES pages.
int32_t loadWithin(int32_t unit, int32_t ps, int32_t pages, bool indexed) {
  if (int64_t{ps} * pages > DBPARM.bufferSize) {
    MSGE1(kLoadRefused);
    MSGE1(kE1140Buffer);
    return kLoadFailed;
  }
  int32_t status = kLoadFailed;
  if (indexed) {
    DBLOLD(unit, status);
  } else {
    DBLOAD(unit, status);
  }
  return status == kLoadDone ? kLoadDone : kLoadFailed;
}

constexpr int32_t kLineCodes = 80;

void appendText(std::string_view text, int32_t first, std::span<int32_t> codes, int32_t& last) {
  std::string copy(text);
  TXTCOD(FText(copy), first, codes, last);
}

// CoreLoad's status when the source could not give a run.
constexpr int32_t kRunUnread = 4;

// Reads WORDS from word AT (from 1) of the model file on UNIT, its pages of PS words taken
// as one run. A run the file does not wholly hold, or whose read fails, is read again page
// by page through the page layer, as the pages were always read: the part of a page past
// the end of the file reads as zeros, a page past it is refused (false), and a failed
// transfer asks whether to retry.
bool readRun(int32_t unit, int32_t ps, int64_t at, std::span<int32_t> words) {
  if (io::readDirectWords(unit, at, words) == io::kIosOk) return true;
  std::vector<int32_t> page(static_cast<size_t>(ps), 0);
  int64_t p = (at - 1) / ps + 1;
  auto from = static_cast<size_t>((at - 1) % ps);
  size_t done = 0;
  while (done < words.size()) {
    if (p > std::numeric_limits<int32_t>::max()) return false;
    if (RANDIO(page, static_cast<int32_t>(p), ps, 0, unit) == -1) return false;
    const size_t take = std::min(page.size() - from, words.size() - done);
    std::copy_n(page.begin() + static_cast<std::ptrdiff_t>(from), take, words.begin() + static_cast<std::ptrdiff_t>(done));
    done += take;
    from = 0;
    ++p;
  }
  return true;
}

// The upgrade chain of a file of format F loaded by DBLOAD; answers the load's status.
int32_t upgrade(int32_t f) {
  DBUPAL();
  if (f < 9036) DBUP36();
  if (f < 9060) {
    int32_t status = 0;
    DBUP60(status);
    if (status != 0) {
      ARRREL();
      return status;
    }
  }
  if (f < 9061) {
    if (f != 9037 && f != 9038) DBUP61();
    DBUP63();
  } else if (f == 9061 || f == 9062) {
    DBUP63();
  }
  if (f < 9066) DBUP66();
  if (f < 9070) DBUP70();
  return kLoadDone;
}

// The entity counts of the loaded model state and the named arrays that hold a record of
// each entity: {count word, array, words per entity}. The name arrays hold one two-word
// record an entity.
struct HeldCount {
  int32_t countWord;
  int32_t array;
  int32_t words;
};
constexpr std::array<HeldCount, 14> kHeldCounts = {{
    {kCntPoints, kArrPoints, kPointWords},
    {kCntPoints, 1, 1},
    {kCntLines, kArrLines, kLineWords},
    {kCntLines, 3, 1},
    {kCntSurfaces, kArrSurfaces, kSurfaceWords},
    {kCntSurfaces, 5, 1},
    {kCntBodies, kArrBodies, kBodyWords},
    {kCntBodies, 7, 1},
    {kCntShapes, kArrShapes, kShapeWords},
    {kCntShapes, 9, 1},
    {kCntHighestNode, kArrNodeCoordinates, 1},
    {kCntSets, kArrSets, 1},
    {kCntSets, kArrSetNames, 1},
    {kCntKind42, 27, 1},
}};

int64_t recordsIn(int32_t k) { return storeArrayHeld(k) ? REGHED.ARRLEN(k) : 0; }

// True when every entity the loaded counts name has its records in the store: a count
// beyond them would send a later read past the array, which ends the run.
bool countsHeld() {
  for (const HeldCount& c : kHeldCounts) {
    if (int64_t{MODCNT.word(c.countWord)} * c.words > recordsIn(c.array)) return false;
  }
  const int64_t elementWords = std::max<int64_t>(int64_t{MODCNT.word(kCntElementNodes)} + 1, 1);
  return int64_t{MODCNT.word(kCntHighestElement)} * elementWords <= recordsIn(kArrConnectivity);
}

}  // namespace

// ----- Shared by the loads ------------------------------------------------------------

void loadFailure(int32_t cause) {
  MSGE1(kLoadRefused);
  MSGE1(cause);
}

void releasedFailure(int32_t cause) {
  loadFailure(cause);
  ARRREL();
}

int64_t filePages(int32_t unit) { return io::unitRecords(unit); }

int32_t extendToCounts(std::span<const int32_t> counts) {
  for (size_t i = 0; i < counts.size(); ++i) {
    const auto k = static_cast<int32_t>(i + 1);
    const int32_t count = counts[i];
    if (count <= 0) continue;
    int32_t stat = 0;
    CoreExtend(REGHED.file, REGHED.ARRCOR(k), 1, count, stat);
    if (stat != 0) {
      ALCMSG(stat, count, k);
      ARRREL();
      return kLoadNoMemory;
    }
  }
  return kLoadDone;
}

// ----- Routines -----------------------------------------------------------------------

void HDRCHK(int32_t mode, int32_t unit, int32_t& status) {
  const int32_t ps = DBPARM.modelPageSize();
  DBHEAD.pageSize = ps;
  status = kLoadFailed;
  if (mode <= 0) {
    if (ps > DBPARM.bufferSize) {
      loadFailure(kE1140Buffer);
      return;
    }
    DBHEAD.title.fill(kBlankCode);
    DBFMT = kFormatCurrent;
    status = kLoadDone;
    return;
  }

  // An empty or truncated file would otherwise be judged by a page of zeros.
  if (!readHeader(unit, ps)) {
    loadFailure(kE2180PageRange);
    return;
  }
  const int32_t validity = DBHEAD.word(kHeadValidity);
  const int32_t size = DBHEAD.word(kHeadPageSize);
  const int32_t f = DBHEAD.word(kHeadFormat);
  if (validity != 1) {
    loadFailure(kE1130Status);
    dbMessage(kM431Status, {validity, f, size});
    return;
  }
  if (size != ps) {
    loadFailure(kE1110PageSize);
    dbMessage(kM432PageSize, {size, f, ps});
    return;
  }
  DBFMT = f;
  if (f > kFormatCurrent) return refuseFormat(kE1100NewerFormat, false, f);
  if (f < kFormatOldest) return refuseFormat(kE1120UnknownFormat, false, f);

  if (mode == 1) {
    if (f == kFormatCurrent) {
      status = loadWithin(unit, ps, 1, false);
    } else if (f == kFormatIndexed || upgradeable(f)) {
      refuseFormat(kW2100WrongType, true, f);
    } else {
      refuseFormat(kE1120UnknownFormat, false, f);
    }
    return;
  }

  if (f == kFormatIndexed || upgradeable(f)) {
    status = loadWithin(unit, ps, f == kFormatIndexed ? 2 : 1, f == kFormatIndexed);
    if (status == kLoadDone) DBFMT = kFormatCurrent;
  } else if (f == kFormatCurrent) {
    refuseFormat(kW2100WrongType, true, f);
  } else {
    refuseFormat(kE1120UnknownFormat, false, f);
  }
}

void DBADIR(int32_t mode, int32_t unit, std::span<int32_t, DbHead::kRecordWords> record,
            std::span<int32_t> counts, std::span<int32_t, DbHead::kTitleCodes> title,
            std::span<int32_t, DbHead::kDisplayWords> display, int32_t& status) {
  const int32_t ps = DBPARM.modelPageSize();
  if (!readHeader(unit, ps)) {
    status = kDirPastEnd;
    return;
  }
  const int32_t f = DBHEAD.word(kHeadFormat);
  const int32_t n = countsOf(f);
  std::fill(record.begin(), record.end(), 0);
  record[kRecordFormat - 1] = f;
  record[kRecordCounts - 1] = n;
  for (int32_t j = 0; j < DbHead::kTotals; ++j) {
    record[static_cast<size_t>(kRecordTotals - 1 + j)] = DBHEAD.word(kHeadTotals + j);
  }
  for (int32_t j = 0; j < DbHead::kMoment; ++j) {
    record[static_cast<size_t>(kRecordCreated - 1 + j)] = DBHEAD.word(kHeadCreated + j);
    record[static_cast<size_t>(kRecordRewritten - 1 + j)] = DBHEAD.word(kHeadRewritten + j);
  }
  record[kRecordModelState - 1] = DBHEAD.word(kHeadModelState);

  if (DBHEAD.word(kHeadValidity) != 1) {
    status = kDirStatus;
    return;
  }
  if (DBHEAD.word(kHeadPageSize) != ps) {
    status = kDirPageSize;
    return;
  }
  if (f == kFormatIndexed) {
    status = kDirIndexed;
    return;
  }
  if (f != kFormatCurrent && !upgradeable(f)) {
    status = kDirUnknown;
    return;
  }

  const int32_t held = std::min(n, static_cast<int32_t>(counts.size()));
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t c = clampedCount(DBHEAD.word(kHeadCountsBefore + k) * countFactor(f, k));
    if (k <= held) counts[static_cast<size_t>(k - 1)] = c;
    if (mode == 1 && k <= RegHed::kArrays) REGHED.ARRLEN(k) = c;
  }
  std::fill(title.begin(), title.end(), kBlankCode);
  if (f >= 9062) {
    for (int32_t j = 0; j < DbHead::kTitleCodes; ++j) title[static_cast<size_t>(j)] = DBHEAD.word(kHeadTitle + j);
  } else {
    for (int32_t j = 0; j < DbHead::kOldTitleCodes; ++j) {
      title[static_cast<size_t>(j)] = DBHEAD.word(kHeadOldTitle + j);
    }
  }
  std::fill(display.begin(), display.end(), kBlankCode);
  if (f >= 9066) {
    for (int32_t j = 0; j < DbHead::kDisplayWords; ++j) {
      display[static_cast<size_t>(j)] = DBHEAD.word(kHeadDisplay + j);
    }
  }
  status = kDirUsable;
}

void DBLOAD(int32_t unit, int32_t& status) {
  const int32_t ps = DBPARM.modelPageSize();
  std::array<int32_t, DbHead::kMaxCounts> counts{};
  int32_t dir = 0;
  DBADIR(1, unit, DBHEAD.record, counts, DBHEAD.title, DBHEAD.display, dir);
  status = kLoadFailed;
  if (dir == kDirPastEnd) {
    loadFailure(kE2180PageRange);
    return;
  }
  if (dir != kDirUsable) return;
  const int32_t f = DBHEAD.recordWord(kRecordFormat);
  const int32_t n = std::min(DBHEAD.recordWord(kRecordCounts), DbHead::kMaxCounts);
  DBFMT = f;
  const std::span<const int32_t> used(counts.data(), static_cast<size_t>(n));
  if (std::all_of(used.begin(), used.end(), [](int32_t c) { return c == 0; })) {
    loadFailure(kE1160Empty);
    return;
  }

  // The counts decide what is allocated and read: every record must come from a page
  // that the file holds, in an array of the registry with a record width the transfer
  // buffers hold.
  int64_t words = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t c = used[static_cast<size_t>(k - 1)];
    if (c == 0) continue;
    if (c < 0 || !storeArrayHeld(k) || REGHED.ARRWID(k) < 1 || REGHED.ARRWID(k) > kMaxRecordWidth) {
      return releasedFailure(kE2180PageRange);
    }
    words += int64_t{c} * REGHED.ARRWID(k);
  }
  if (ps < 1 || words > (filePages(unit) - 1) * ps) return releasedFailure(kE2180PageRange);

  // The records of the arrays follow one another from word 1 of page 2 on, running on
  // across the pages: each array is read straight into its pages of the store, one run of
  // the file for each of them.
  int64_t at = int64_t{ps} + 1;
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t count = used[static_cast<size_t>(k - 1)];
    if (count == 0) continue;
    int32_t stat = 0;
    CoreLoad(REGHED.file, REGHED.ARRCOR(k), count, [&](std::span<int32_t> words) {
      const bool read = readRun(unit, ps, at, words);
      at += static_cast<int64_t>(words.size());
      return read;
    }, stat);
    if (stat == kRunUnread) return releasedFailure(kE2180PageRange);
    if (stat != 0) {
      ALCMSG(stat, count, k);
      ARRREL();
      status = kLoadNoMemory;
      return;
    }
  }
  status = upgrade(f);
  // The counts of a file of the current format are checked as stored; an older file's
  // are where its upgrade steps put them.
  if (status == kLoadDone && f == kFormatCurrent && !countsHeld()) {
    releasedFailure(kE2190ArrayCount);
    status = kLoadFailed;
  }
}

void PAGXFR(int32_t unit, int32_t ps, std::span<int32_t> page, int32_t& pageCounter,
            int32_t& position, int32_t n, int32_t mode, int32_t type, std::span<int32_t> ibuf,
            std::span<float> rbuf, int32_t& status) {
  status = 0;
  // A page the buffer cannot hold could never be passed: nothing moves.
  if (ps < 1 || ps > static_cast<int64_t>(page.size())) {
    status = -1;
    return;
  }
  const bool integers = type == kIntegers;
  const int64_t room = static_cast<int64_t>(integers ? ibuf.size() : rbuf.size());
  int64_t left = std::clamp<int64_t>(n, 0, room);
  size_t at = 0;
  for (;;) {
    const int64_t take = std::clamp<int64_t>(int64_t{ps} - position + 1, 0, left);
    const auto from = static_cast<size_t>(std::max(position, 1) - 1);
    for (int64_t j = 0; j < take; ++j, ++at) {
      int32_t& word = page[from + static_cast<size_t>(j)];
      if (mode == kRead) {
        if (integers) {
          ibuf[at] = word;
        } else {
          rbuf[at] = WRDREA(word);
        }
      } else {
        word = integers ? ibuf[at] : std::bit_cast<int32_t>(rbuf[at]);
      }
    }
    position = static_cast<int32_t>(std::max(position, 1) + take);
    left -= take;
    if (left == 0) return;
    if (mode == kRead) {
      ++pageCounter;
      position = 1;
      if (RANDIO(page, pageCounter, ps, 0, unit) == -1) {
        status = -1;
        return;
      }
    } else {
      RANDIO(page, pageCounter, ps, 1, unit);
      std::fill(page.begin(), page.begin() + ps, 0);
      ++pageCounter;
      position = 1;
    }
  }
}

void ALCMSG(int32_t status, int32_t count, int32_t array) {
  MSGE1(kLoadRefused);
  MSGE1(kE2100Allocation);
  MSGE1(status == 2 || status == 3 ? kE2130NoMemory : kE2110NotRegistered);
  std::array<int32_t, kLineCodes> line{};
  BLKCOD(line, 1, kLineCodes);
  int32_t last = 0;
  appendText(" * Trying to allocate memory for <", 1, line, last);
  INTCOD(count, last + 2, line, last);
  appendText("> records of array <", last + 2, line, last);
  INTCOD(array, last + 2, line, last);
  appendText(">", last + 2, line, last);
  CODPRT(line, last);
  int32_t failed = 0;
  JRNBTH(line, 1, last, failed);
}

}  // namespace kvr
