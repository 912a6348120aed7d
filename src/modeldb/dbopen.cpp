// Creating, opening, locking and closing a model database.
#include "modeldb/dbopen.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "platform/fmtedit.h"
#include "platform/procid.h"
#include "platform/stop.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/msglin.h"
#include "runtime/pltops.h"
#include "runtime/setget.h"

namespace kvr {
namespace {

// File types and the codes of the opener.
constexpr int32_t kIndexFile = 7;
constexpr int32_t kDataFile = 8;
constexpr int32_t kFormDirect = 3;
constexpr int32_t kModeNew = 1;
constexpr int32_t kModeOld = 2;
constexpr int32_t kExists = 1;

constexpr int32_t kModelNameCodes = 20;
// Numbered settings of the data page size: of databases that do not record it, and of
// new databases.
constexpr int32_t kOldPageSizeSetting = 8;
constexpr int32_t kNewPageSizeSetting = 9;
constexpr int32_t kSettingTextLength = 255;
// The data page size an open starts with, before data page 1 gives the database's own.
constexpr int32_t kSmallestDataPage = 2040;

// Pages of a new database: index pages 1 and 2, data page 1.
constexpr int32_t kNewIndexNextPage = 3;
constexpr int32_t kNewDataNextPage = 2;

// Catalogue messages.
constexpr int32_t kNoIndexFile = 1;
constexpr int32_t kNoDataFile = 2;
constexpr int32_t kIndexNotOpened = 3;
constexpr int32_t kDataNotOpened = 4;
constexpr int32_t kIndexExists = 13;
constexpr int32_t kDataExists = 14;
constexpr int32_t kBadTypeCode = 31;
constexpr int32_t kIncompatible = 32;
constexpr int32_t kBadPageSize = 43;
constexpr int32_t kCannotReconfigure = 1300;   // E4300
constexpr int32_t kCannotReopenLocked = 1340;  // E4340
constexpr int32_t kCannotConfigure = 1350;     // E4350
constexpr int32_t kCannotOpenNewIndex = 1360;  // E4360
constexpr int32_t kCannotOpenNewData = 1370;   // E4370
constexpr int32_t kCannotWriteArchive = 1430;  // E4430

constexpr int32_t kArchiveFile = 9;
constexpr int32_t kArchiveEnd = 9999;

constexpr int32_t kLockQuery = 1;
constexpr int32_t kLockForget = 2;
constexpr int32_t kHeld = 1;
constexpr int32_t kOwnLockOnly = 1;
constexpr int32_t kCloseAll = -1;
constexpr int32_t kCloseGraphics = 1;

// Model record words that DBCTRW reads.
constexpr int32_t kStateWord = 1;
constexpr int32_t kCountersWord = 13;

using IndexPage = std::array<int32_t, kIndexPageSize>;

struct LevelName {
  std::array<int32_t, kNameCodes> codes{};
};

// The codes of a level name, through the terminated literal.
LevelName levelName(const char* literal) {
  LevelName name;
  std::string text(literal);
  int32_t last = 0;
  TXTCOD(FText(text), 1, name.codes, last);
  return name;
}

uint64_t& openings() {
  static uint64_t count = 0;
  return count;
}

int32_t unitOfType(int32_t type) { return IOUNIT.slot(fileTypeRow(type)->openSlot); }

bool indexFileOpen() { return IOUNIT.openFlag(kIndexFile) != 0; }

// The model's name codes, as the file-type opener takes them.
struct ModelName {
  std::span<const int32_t> codes;
  int32_t length() const { return static_cast<int32_t>(codes.size()); }
};

// Opens file TYPE (7 or 8) of MODEL for direct access with MODE; the unit becomes the
// file slot's unit. Answers true when the file is open.
bool openDatabaseFile(int32_t type, const ModelName& model, int32_t mode) {
  int32_t status = 0;
  FOUVRE(type, model.codes, model.length(), kFormDirect, mode, status);
  DBPARM.fileSlot(type == kIndexFile ? kIndexFileSlot : kDataFileSlot).unit = unitOfType(type);
  return status == 0;
}

bool fileExists(int32_t type, const ModelName& model) {
  int32_t status = 0;
  FOUVRE(-type, model.codes, model.length(), 0, 0, status);
  return status == kExists;
}

int32_t numberedSetting(int32_t number) {
  int32_t integer = 0;
  float real = 0.0f;
  FixedText text(kSettingTextLength);
  SETGET(number, integer, real, text);
  return integer;
}

// Words 12 to 17 of a header page: the date and time of creation.
struct Created {
  int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
};

void putHeaderWords(std::span<int32_t> page, const Created& c) {
  const int32_t words[] = {DBLEVL.currentTypeCode,
                           IOMODE.databaseConstant,
                           IOMODE.release,
                           c.day,
                           c.month,
                           c.year,
                           c.hour,
                           c.minute,
                           c.second};
  std::copy(std::begin(words), std::end(words), page.begin() + (kTypeCodeWord - 1));
}

// Releases this process's lock with one attempt, for the ends of the run: nothing when
// the index file is closed or the lock is not this process's, and a failed transfer is
// let go. Afterwards the holder is forgotten: the files are about to close.
void releaseOwnLockOnce() {
  const int32_t unit = DBPARM.fileSlot(kIndexFileSlot).unit;
  if (!indexFileOpen() || !io::unitIsOpen(unit)) return;
  int32_t held = 0;
  DBLOCK(kLockQuery, held);
  if (held != kHeld) return;
  IndexPage page{};
  if (io::readDirect(unit, kHeaderPage, page) == io::kIosOk &&
      page[kLockWord - 1] == os::processId()) {
    page[kLockWord - 1] = 0;
    io::writeDirect(unit, kHeaderPage, page);
  }
  DBLOCK(kLockForget, held);
}

// Registered with the process stop and the normal process end once a database is opened
// or created: a host that ends without closing the database leaves no lock behind.
void releaseLockAtStop() { releaseOwnLockOnce(); }
void releaseLockAtEnds() {
  registerPreStop(releaseLockAtStop);
  registerExitAction(releaseLockAtStop);
}

// Opens the index and the data file of an existing database, the data file with the
// smallest data page until its page 1 tells the database's own.
bool openExistingFiles(const ModelName& model) {
  const bool indexMissing = !fileExists(kIndexFile, model);
  if (indexMissing) dbMessage(kNoIndexFile, {}, model.codes);
  const bool dataMissing = !fileExists(kDataFile, model);
  if (dataMissing) dbMessage(kNoDataFile, {}, model.codes);
  if (indexMissing || dataMissing) return false;

  const bool indexOpen = openDatabaseFile(kIndexFile, model, kModeOld);
  if (!indexOpen) dbMessage(kIndexNotOpened, {}, model.codes);
  PAGSET(kSmallestDataPage);
  const bool dataOpen = openDatabaseFile(kDataFile, model, kModeOld);
  if (!dataOpen) dbMessage(kDataNotOpened, {}, model.codes);
  return indexOpen && dataOpen;
}

// Reads index page 1 into PGCUR and checks its type code (answered in TYPECODE) and
// database kind; the index file's next-page word, free-page head and lock holder come
// from it.
bool readIndexHeader(int32_t& typeCode) {
  PAGRD(kIndexHeaderClass, kHeaderPage, PGCUR.page());
  typeCode = PGCUR.word(kTypeCodeWord);
  DBLEVL.openTypeCode = typeCode;
  if (typeCode < kFirstTypeCode || typeCode > kLastTypeCode) {
    dbMessage(kBadTypeCode, {typeCode});
    return false;
  }
  if (PGCUR.word(kKindWord) != kDatabaseKind) {
    MSGE3(kCannotReconfigure);
    return false;
  }
  DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  index.nextPage = PGCUR.word(kNextPageWord);
  index.freeHead = PGCUR.word(kFreeHeadWord);
  DBLEVL.lockHolder = PGCUR.word(kLockWord);
  return true;
}

// Takes the lock when nobody holds it: this process's id into word 18, and the index
// file closed and opened again so that the word is in the file for every other process.
// A lock held by another live process is left as it is; DBLOCK tells the writers. The
// lock of a process that no longer exists is stale: it is taken over, with one line that
// names its holder.
bool takeFreeLock(const ModelName& model) {
  const int32_t holder = DBLEVL.lockHolder;
  const bool stale = holder > 0 && holder != os::processId() && !os::processExists(holder);
  if (holder != 0 && !stale) return true;
  if (stale) {
    const std::string line = " Write lock of process " + std::to_string(holder) +
                             ", which no longer exists, taken over";
    MSGWRT(FixedText(static_cast<int32_t>(line.size()), line).text(),
           static_cast<int32_t>(line.size()));
  }
  DBLEVL.lockHolder = os::processId();
  PGCUR.word(kLockWord) = DBLEVL.lockHolder;
  PAGWR(kIndexHeaderClass, kHeaderPage, PGCUR.page());
  FILCLS(kIndexFile);
  if (!openDatabaseFile(kIndexFile, model, kModeOld)) {
    dbMessage(kIndexNotOpened, {}, model.codes);
    MSGE3(kCannotReopenLocked);
    return false;
  }
  PAGRD(kIndexHeaderClass, kHeaderPage, PGCUR.page());
  return true;
}

// Finds the user and project levels "NONAME" and the model, by its name in databases of
// type 5000 and as the first model in use in the others; this loads its dataset
// directory.
bool findModel(const ModelName& model, int32_t typeCode) {
  const LevelName noname = levelName("NONAME*.");
  std::array<int32_t, kNameCodes> found{};
  int32_t search = 0;
  CTLF01(noname.codes, found, search);
  if (search >= 0) {
    DBLEVL.userLevelOpen = 1;
    CTLF02(noname.codes, found, search);
  }
  if (search == 0) {
    DBLEVL.projectLevelOpen = 1;
    CTLF03(typeCode == kFirstTypeCode ? model.codes : std::span<const int32_t>(noname.codes),
           typeCode, found, search);
  }
  if (search != 0) MSGE3(kCannotReconfigure);
  return search == 0;
}

// Reads data page 1 into BUFFER, checks that it belongs to the index file of TYPECODE
// and sets the data page size: word 4, or numbered setting 8 where the database does not
// record it. The data file is opened again with records of that size.
bool readDataHeader(std::span<int32_t> buffer, const ModelName& model, int32_t typeCode) {
  // Read past the end of an empty data file, page 1 is all zeros: its type code 0 then
  // tells that the files do not belong together.
  PAGRD(kDataHeaderClass, kHeaderPage, buffer);
  const auto word = [&](int32_t k) {
    return static_cast<size_t>(k) <= buffer.size() ? buffer[static_cast<size_t>(k - 1)] : 0;
  };
  if (word(kTypeCodeWord) != typeCode) {
    dbMessage(kIncompatible, {typeCode, word(kTypeCodeWord)});
    return false;
  }
  DBLEVL.recordLayout = typeCode;
  DbFileSlot& data = DBPARM.fileSlot(kDataFileSlot);
  data.nextPage = word(kNextPageWord);
  data.freeHead = word(kFreeHeadWord);
  data.headerBehind = false;
  int32_t pageSize = word(kPageSizeWord);
  if (pageSize == 0) pageSize = numberedSetting(kOldPageSizeSetting);
  if (PAGSIZ(pageSize) == 0) {
    dbMessage(kBadPageSize, {pageSize});
    return false;
  }
  if (pageSize == kSmallestDataPage) return true;
  PAGSET(pageSize);
  FILCLS(kDataFile);
  if (!openDatabaseFile(kDataFile, model, kModeOld)) {
    dbMessage(kDataNotOpened, {}, model.codes);
    return false;
  }
  return true;
}

// Pages handed out of the data file since its page 1 was last written would be handed
// out again by the next open, which reads the words from the file: they are written
// before the file closes.
void writeDataHeaderWords() {
  DbFileSlot& data = DBPARM.fileSlot(kDataFileSlot);
  if (!data.headerBehind) return;
  data.headerBehind = false;
  if (IOUNIT.openFlag(kDataFile) == 0 || data.pageSize < kFreeHeadWord) return;
  std::vector<int32_t> page(static_cast<size_t>(data.pageSize));
  PAGRD(kDataHeaderClass, kHeaderPage, page);
  page[kNextPageWord - 1] = data.nextPage;
  page[kFreeHeadWord - 1] = data.freeHead;
  PAGWR(kDataHeaderClass, kHeaderPage, page);
}

}  // namespace

void FBCFIG(std::span<int32_t> buffer, std::span<const int32_t> name,
            std::span<const int32_t> model, std::span<const int32_t> title, int32_t& status) {
  status = 0;
  const LevelName superv = levelName("SUPERV*.");
  const LevelName noname = levelName("NONAME*.");
  DBCLOS();
  releaseLockAtEnds();
  ++openings();

  const ModelName modelName{name.first(
      static_cast<size_t>(std::min(kModelNameCodes, static_cast<int32_t>(name.size()))))};
  const bool indexExists = fileExists(kIndexFile, modelName);
  if (indexExists) dbMessage(kIndexExists, {}, modelName.codes);
  const bool dataExists = fileExists(kDataFile, modelName);
  if (dataExists) dbMessage(kDataExists, {}, modelName.codes);
  if (indexExists || dataExists) {
    status = 1;
    return;
  }

  if (!openDatabaseFile(kIndexFile, modelName, kModeNew)) {
    MSGE3(kCannotOpenNewIndex);
    MSGE3(kCannotConfigure);
    status = 1;
    return;
  }

  int32_t pageSize = DBLEVL.hostPageSize;
  if (pageSize <= 0) pageSize = numberedSetting(kNewPageSizeSetting);
  if (PAGSIZ(pageSize) == 0) {
    dbMessage(kBadPageSize, {pageSize});
    status = 1;
    return;
  }
  PAGSET(pageSize);

  if (!openDatabaseFile(kDataFile, modelName, kModeNew)) {
    MSGE3(kCannotOpenNewData);
    MSGE3(kCannotConfigure);
    status = 1;
    return;
  }

  int32_t pageStatus = 0;
  DBPG1I(buffer, modelName.codes, modelName.length(), pageStatus);
  if (pageStatus != 0) {
    dbMessage(kIndexNotOpened, {}, modelName.codes);
    MSGE3(kCannotReopenLocked);
    status = 1;
    return;
  }

  CTLA01(superv.codes, buffer);
  CTLA01(noname.codes, buffer);
  DBLEVL.userLevelOpen = 1;
  CTLA02(noname.codes, buffer, 1, 1, 1);
  DBLEVL.projectLevelOpen = 1;
  Created c;
  DATTIM(c.day, c.month, c.year, c.hour, c.minute, c.second);
  CTLA03(buffer, model, noname.codes, title, c.day, c.month, c.year, c.hour, c.minute);

  DBLEVL.numberingMode = model.empty() ? 0 : model[0];
  ELTBLD(DBLEVL.recordLayout);
  status = 0;
}

void DBPG1I(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t length,
            int32_t& status) {
  status = 0;
  DBLEVL.recordLayout = DBLEVL.currentTypeCode;
  Created c;
  DATTIM(c.day, c.month, c.year, c.hour, c.minute, c.second);

  PGINIT(kIndexHeaderClass, kHeaderPage, PGCUR.page());
  PGCUR.word(kPageSizeWord) = kIndexPageSize;
  PGCUR.word(kNextPageWord) = kNewIndexNextPage;
  PGCUR.word(kFreeHeadWord) = 0;
  PGCUR.word(kKindWord) = kDatabaseKind;
  putHeaderWords(PGCUR.page(), c);
  DBLEVL.lockHolder = os::processId();
  PGCUR.word(kLockWord) = DBLEVL.lockHolder;
  PAGWR(kIndexHeaderClass, kHeaderPage, PGCUR.page());

  FILCLS(kIndexFile);
  length = std::clamp(length, 0, static_cast<int32_t>(name.size()));
  if (!openDatabaseFile(kIndexFile, ModelName{name.first(static_cast<size_t>(length))}, kModeOld)) {
    status = 1;
    return;
  }
  DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  index.nextPage = kNewIndexNextPage;
  index.freeHead = 0;
  PGINIT(kUserLevelClass, kUserLevelPage, PGCUR.page());
  PAGWR(kUserLevelClass, kUserLevelPage, PGCUR.page());

  DbFileSlot& data = DBPARM.fileSlot(kDataFileSlot);
  PGINIT(kDataHeaderClass, kHeaderPage, buffer);
  if (buffer.size() >= static_cast<size_t>(kLockWord)) {
    buffer[kPageSizeWord - 1] = data.pageSize;
    buffer[kNextPageWord - 1] = kNewDataNextPage;
    buffer[kFreeHeadWord - 1] = 0;
    putHeaderWords(buffer, c);
  }
  PAGWR(kDataHeaderClass, kHeaderPage, buffer);
  data.nextPage = kNewDataNextPage;
  data.freeHead = 0;
  data.headerBehind = false;
}

void TLBOPN(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t length,
            int32_t& status) {
  status = 1;
  DBCLOS();
  releaseLockAtEnds();
  ++openings();

  length = std::clamp(length, 0, static_cast<int32_t>(name.size()));
  const ModelName model{name.first(static_cast<size_t>(length))};
  int32_t typeCode = 0;
  if (!openExistingFiles(model) || !readIndexHeader(typeCode) || !takeFreeLock(model) ||
      !findModel(model, typeCode) || !readDataHeader(buffer, model, typeCode)) {
    return;
  }
  ELTBLD(typeCode);
  status = 0;
}

uint64_t databaseOpenings() { return openings(); }

void DBLOCK(int32_t mode, int32_t& result) {
  if (mode == kLockQuery) {
    const int32_t holder = DBLEVL.lockHolder;
    // A holder below 0 is no process id (a damaged or foreign file; -2^31 cannot even be
    // negated): the word as it stands answers, negative, as another process's lock.
    result = holder == os::processId() ? kHeld : holder < 0 ? holder : -holder;
    return;
  }
  DBLEVL.lockHolder = 0;
}

void LOCKCL(int32_t mode) {
  if (mode == kOwnLockOnly) {
    int32_t held = 0;
    DBLOCK(kLockQuery, held);
    if (held != kHeld) return;
  }
  IndexPage page{};
  PAGRD(kIndexHeaderClass, kHeaderPage, page);
  // The word in the file decides: a lock another process took meanwhile is its own.
  if (mode == kOwnLockOnly && page[kLockWord - 1] != os::processId()) return;
  page[kLockWord - 1] = 0;
  PAGWR(kIndexHeaderClass, kHeaderPage, page);
}

void DBCLOS() {
  ++openings();
  writeDataHeaderWords();
  if (indexFileOpen()) {
    LOCKCL(kOwnLockOnly);
    FILCLS(kIndexFile);
    int32_t unused = 0;
    DBLOCK(kLockForget, unused);
  }
  FILCLS(kDataFile);
}

void DBENDS() {
  JRNEND();
  GFXCLS(kCloseGraphics);
  // Released before the files close, so that no end of the run leaves this process's
  // lock behind to refuse every later writer.
  releaseOwnLockOnce();
  FILCLS(kCloseAll);
}

void JRNEND() {
  if (IOUNIT.openFlag(kArchiveFile) == 0) return;
  const std::string record = fmt::format1("(1X, I4)", {kArchiveEnd});
  if (io::writeRecord(unitOfType(kArchiveFile), record) != io::kIosOk) MSGE3(kCannotWriteArchive);
  FILCLS(kArchiveFile);
}

void DBCNTW() {
  const DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  if (index.nextPage == 0) return;
  IndexPage page{};
  PAGRD(kIndexHeaderClass, kHeaderPage, page);
  page[kNextPageWord - 1] = index.nextPage;
  page[kFreeHeadWord - 1] = index.freeHead;
  PAGWR(kIndexHeaderClass, kHeaderPage, page);
}

void DBSTAT(int32_t& value) { value = CTLREC.word(kModelClass, kStateWord); }

void DBCTRW(int32_t& nodes, int32_t& elements, int32_t& loadCases) {
  nodes = CTLREC.word(kModelClass, kCountersWord);
  elements = CTLREC.word(kModelClass, kCountersWord + 1);
  loadCases = CTLREC.word(kModelClass, kCountersWord + 2);
}

}  // namespace kvr
