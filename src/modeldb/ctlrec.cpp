// Loading, writing back, finding and adding control records; the dataset directory and
// the end of a dataset.
#include "modeldb/ctlrec.h"

#include <algorithm>
#include <cstdlib>

#include "modeldb/codcmp.h"
#include "modeldb/dbmsg.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/idxlay.h"
#include "runtime/iounit.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kIndexErrorMessage = 12;
constexpr int32_t kFatalDigit = 4;
constexpr int32_t kAbort = 1;

// IDXERR codes and parameters.
constexpr int32_t kCodeWarning = 3;
constexpr int32_t kCodeSearch = 13;
constexpr int32_t kCodeFatal = 14;
constexpr int32_t kWrongClass = 1201;
constexpr int32_t kUserLevelExists = 1301;
constexpr int32_t kNoUserLevel = 2701;
constexpr int32_t kNoUserLevelToSearch = 2901;
constexpr int32_t kDirectoryFull = 3301;
constexpr int32_t kNoProjectLevel = 3701;
constexpr int32_t kNoProjectLevelToSearch = 3901;

// IDXLAY words: entries per page and name words of classes 101.., the two list lengths
// of class 104.
constexpr int32_t kEntriesPerPageWord = 53;
constexpr int32_t kNameWordsWord = 63;

// Record words.
constexpr int32_t kStateWord = 1;
constexpr int32_t kNameWord = 2;
constexpr int32_t kChildWord = 8;      // first page of the chain below (101, 102, 103)
constexpr int32_t kDirectoryWord = 9;  // record 103: page of the dataset directory
constexpr int32_t kValuesWord = 9;     // record 102: three values
constexpr int32_t kInUse = 1;
constexpr int32_t kFirstTypeWithoutNames = 5000;  // above: the first model is taken

// Record 103 words filled when a model is added.
constexpr int32_t kTitleWord = 19;
constexpr int32_t kTitleWords = 20;
constexpr int32_t kCreationWord = 44;

// Words of record 104 and 106 that DSCLOS sets, by kind.
constexpr int32_t kResultsValuesWord = 12;
constexpr int32_t kBeamLoadWord = 10;
constexpr int32_t kScanWord = 9;
constexpr int32_t kKindResults = 2;
constexpr int32_t kKindBeamLoad = 3;
constexpr int32_t kKindScan = 4;

// Status of the finders.
constexpr int32_t kFound = 0;
constexpr int32_t kFoundFirst = 2;
constexpr int32_t kNotFound = -1;
constexpr int32_t kAmbiguous = -2;

std::span<int32_t> nameOf(int32_t cls) {
  return CTLREC.record(cls).subspan(kNameWord - 1, kNameCodes);
}

void copyCodes(std::span<const int32_t> from, std::span<int32_t> to, int32_t n) {
  const size_t count = std::min({from.size(), to.size(), static_cast<size_t>(std::max(n, 0))});
  std::copy_n(from.begin(), count, to.begin());
}

// Sets the name words of the record of CLS from NAME (blank codes where NAME is short).
void setName(int32_t cls, std::span<const int32_t> name) {
  std::span<int32_t> words = nameOf(cls);
  for (size_t k = 0; k < words.size(); ++k) words[k] = k < name.size() ? name[k] : kBlankCode;
}

// Compares the name of the record of CLS with codes FIRST..LAST of PATTERN.
int32_t compareName(int32_t cls, std::span<const int32_t> pattern, int32_t first, int32_t last) {
  int32_t result = 0;
  CODCMP(nameOf(cls), 1, nameWords(cls), pattern, first, last, result);
  return result;
}

// The most pages a chain of the index file can have: the pages the file holds. Its
// header's next-page word is read from the file and may be damaged, so it bounds the
// walk only where the file slot holds no real unit.
int64_t chainPageBound() {
  const DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  if (index.unit >= 0) return io::unitRecords(index.unit);
  return std::max(index.nextPage, kUserLevelPage + 1);
}

// The search of CTLF02 and CTLF03 over the chain of CLS from page FIRST by the first
// token of codes 1-6 of NAME, or for the first entry in use when ANY is set.
int32_t searchChain(int32_t cls, int32_t first, std::span<const int32_t> name, bool any,
                    std::span<int32_t> found) {
  int32_t tokenFirst = 1;
  int32_t tokenLast = 0;
  if (!any) {
    int32_t kind = kTokenNone, ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(name, 1, kNameCodes, kLexName, kind, tokenFirst, tokenLast, ivalue, rvalue);
    if (kind == kTokenNone) tokenLast = tokenFirst - 1;  // no token: matches nothing
  }

  int32_t status = kNotFound;
  int32_t abbreviations = 0;
  int32_t rememberedPage = 0;
  int32_t rememberedEntry = 0;
  int32_t last = 0;
  const bool exact = walkControlChain(cls, first, last, [&](int32_t page, int32_t i) {
    if (CTLREC.word(cls, kStateWord) <= 0) return ChainStep::Next;
    const int32_t result = any ? kFound : compareName(cls, name, tokenFirst, tokenLast);
    if (result == kFound) return ChainStep::Stop;
    if (result > 0 && ++abbreviations == 1) {
      status = result;
      rememberedPage = page;
      rememberedEntry = i;
    }
    return ChainStep::Next;
  });

  if (exact) {
    status = kFound;
  } else if (abbreviations > 1) {
    status = kAmbiguous;
  } else if (abbreviations == 1) {
    PAGRD(cls, rememberedPage, PGCUR.page());
    CTLGET(cls, rememberedEntry);
  }
  if (status >= kFound) {
    copyCodes(nameOf(cls), found, kNameCodes);
  } else {
    // Nothing may be added under, or written into, an entry that was not asked for.
    CTLREC.word(cls, kStateWord) = 0;
  }
  return status;
}

// Allocates a page of class CLS and makes it the head of the chain whose first page the
// record of PARENT keeps in word 8: the parent record is written back, the new page set
// up in PGCUR with the previous head in its word 4, and its entry 1 made current.
void newChainHead(int32_t cls, int32_t parent, std::span<int32_t> work) {
  int32_t page = 0;
  int32_t freeHead = 0;
  PGNEW(work, cls, page, freeHead);
  const int32_t previousHead = CTLREC.word(parent, kChildWord);
  CTLREC.word(parent, kChildWord) = page;
  CRPUT(parent);
  PGINIT(cls, page, PGCUR.page());
  // Linked to the previous head, so the levels or models added before stay reachable.
  PGCUR.word(kClassChainWord) = previousHead;
  SPAIRS(cls, page, 1);
}

// The directory triple of KEY (1..32), 0 when absent.
int32_t directoryTriple(int32_t key) {
  for (int32_t t = 1; t <= kDirectoryTriples; ++t) {
    if (CTLREC.word(kDirectoryClass, 3 * t - 2) == key) return t;
  }
  return 0;
}

}  // namespace

int32_t recordLength(int32_t cls) {
  if (!CtlRec::isClass(cls)) return 0;
  return std::clamp(IDXLAY.recordLength(cls), 0, CtlRec::kRecordWords);
}

int32_t entriesPerPage(int32_t cls) {
  if (!CtlRec::isClass(cls)) return 0;
  const int32_t length = recordLength(cls);
  if (length < 1) return 0;
  // Never more entries than the page has room for.
  return std::clamp(IDXLAY.word(kEntriesPerPageWord + cls - kFirstControlClass), 0,
                    (kIndexPageSize - kEntryBase) / length);
}

int32_t nameWords(int32_t cls) {
  if (cls < kUserLevelClass || cls > kLoadCaseClass) return 0;
  return std::clamp(IDXLAY.word(kNameWordsWord + cls - kFirstControlClass), 0, kNameCodes);
}

// A damaged chain ends the walk as one that was not stopped: a chain longer than the
// index file, or one that comes back to a page it walked. The return is seen by
// comparing each next page with a remembered one that moves to the current page after
// 1, 2, 4, ... steps, so a loop is found within twice its length plus its lead-in, with
// no memory beyond two words.
bool walkControlChain(int32_t cls, int32_t first, int32_t& last, const ChainVisit& visit) {
  last = 0;
  const int32_t perPage = entriesPerPage(cls);
  int64_t pagesLeft = chainPageBound();
  int32_t remembered = 0;
  int64_t stepsToMove = 1;
  int64_t steps = 0;
  for (int32_t page = first; page > 0 && pagesLeft > 0; --pagesLeft) {
    PAGRD(cls, page, PGCUR.page());
    last = page;
    for (int32_t i = 1; i <= perPage; ++i) {
      CTLGET(cls, i);
      const int32_t state = CTLREC.word(cls, kStateWord);
      if (visit(page, i) == ChainStep::Stop) return true;
      if (state == 0) break;
    }
    if (++steps == stepsToMove) {
      remembered = page;
      stepsToMove *= 2;
      steps = 0;
    }
    page = PGCUR.word(kClassChainWord);
    if (page == remembered) break;
  }
  return false;
}

void CTLGET(int32_t k, int32_t i) {
  const int32_t held = PGCUR.word(kPageClassWord);
  if (held != k || !CtlRec::isClass(k)) {
    IDXERR(kCodeFatal, kWrongClass, held);
    return;
  }
  const int32_t length = recordLength(k);
  std::span<int32_t> record = CTLREC.record(k);
  for (int32_t w = 1; w <= length; ++w) {
    const int64_t at = int64_t{kEntryBase} + int64_t{length} * (i - 1) + w;
    record[static_cast<size_t>(w - 1)] =
        at >= 1 && at <= kIndexPageSize ? PGCUR.word(static_cast<int32_t>(at)) : 0;
  }
  SPAIRS(k, PGCUR.word(kPageNumberWord), i);
}

void CTLCLR(int32_t k) {
  for (int32_t cls = std::max(k + 1, kFirstControlClass); cls <= kLastControlClass; ++cls) {
    SPAIRS(cls, 0, 0);
    CTLREC.word(cls, kStateWord) = 0;
  }
}

void SPAIRS(int32_t cls, int32_t page, int32_t entry) {
  if (!CtlRec::isClass(cls)) return;
  CTLREC.page(cls) = page;
  CTLREC.entry(cls) = entry;
}

void CRPUT(int32_t k) {
  if (!CtlRec::isClass(k)) return;
  const int32_t page = CTLREC.page(k);
  const int32_t entry = CTLREC.entry(k);
  if (PGCUR.word(kPageNumberWord) != page) PAGRD(k, page, PGCUR.page());
  const int32_t length = recordLength(k);
  for (int32_t w = 1; w <= length; ++w) {
    const int64_t at = int64_t{kEntryBase} + int64_t{length} * (entry - 1) + w;
    if (at >= 1 && at <= kIndexPageSize) PGCUR.word(static_cast<int32_t>(at)) = CTLREC.word(k, w);
  }
  PAGWR(k, page, PGCUR.page());
}

void IDXERR(int32_t code, int32_t value1, int32_t value2) {
  dbMessage(kIndexErrorMessage, {value1, value2});
  if (std::abs(code % 10) == kFatalDigit) STOPRN(kAbort);
}

void CTLF01(std::span<const int32_t> name, std::span<int32_t> stored, int32_t& status) {
  bool comparedBefore = false;
  int32_t last = 0;
  const bool found = walkControlChain(kUserLevelClass, kUserLevelPage, last, [&](int32_t, int32_t) {
    if (CTLREC.word(kUserLevelClass, kStateWord) <= 0) return ChainStep::Next;
    copyCodes(nameOf(kUserLevelClass), stored, kNameCodes);
    if (compareName(kUserLevelClass, name, 1, kNameCodes) == kFound) return ChainStep::Stop;
    comparedBefore = true;
    return ChainStep::Next;
  });
  if (found) {
    status = comparedBefore ? kFound : kFoundFirst;
  } else {
    status = kNotFound;
    CTLREC.word(kUserLevelClass, kStateWord) = 0;
  }
  CTLCLR(kUserLevelClass);
}

void CTLF02(std::span<const int32_t> name, std::span<int32_t> found, int32_t& status) {
  status = kNotFound;
  const int32_t parent = CTLREC.word(kUserLevelClass, kStateWord);
  if (parent <= 0) {
    IDXERR(kCodeSearch, kNoUserLevelToSearch, parent);
  } else if (const int32_t first = CTLREC.word(kUserLevelClass, kChildWord); first != 0) {
    status = searchChain(kProjectLevelClass, first, name, false, found);
  }
  CTLCLR(kProjectLevelClass);
}

void CTLF03(std::span<const int32_t> name, int32_t typeCode, std::span<int32_t> found,
            int32_t& status) {
  status = kNotFound;
  const int32_t parent = CTLREC.word(kProjectLevelClass, kStateWord);
  if (parent <= 0) {
    IDXERR(kCodeSearch, kNoProjectLevelToSearch, parent);
  } else if (const int32_t first = CTLREC.word(kProjectLevelClass, kChildWord); first != 0) {
    status = searchChain(kModelClass, first, name, typeCode > kFirstTypeWithoutNames, found);
  }
  // The records below the model belong to the model loaded last; forget them.
  CTLCLR(kModelClass);
  if (status < kFound) return;
  PAGRD(kDirectoryClass, CTLREC.word(kModelClass, kDirectoryWord), PGCUR.page());
  CTLGET(kDirectoryClass, 1);
}

void CTLA01(std::span<const int32_t> name, std::span<int32_t> work) {
  int32_t status = kNotFound;
  int32_t stored[kNameCodes] = {};
  CTLF01(name, stored, status);
  // Found at the first entry counts as found too, or that level would be added twice.
  if (status == kFound || status == kFoundFirst) {
    IDXERR(kCodeWarning, kUserLevelExists, 0);
    CTLREC.word(kUserLevelClass, kStateWord) = 0;
    return;
  }

  int32_t last = 0;
  const bool free = walkControlChain(kUserLevelClass, kUserLevelPage, last, [](int32_t, int32_t) {
    return CTLREC.word(kUserLevelClass, kStateWord) <= 0 ? ChainStep::Stop : ChainStep::Next;
  });
  if (!free) appendControlPage(kUserLevelClass, last, work);
  std::span<int32_t> record = CTLREC.record(kUserLevelClass);
  std::fill_n(record.begin(), recordLength(kUserLevelClass), 0);
  record[kStateWord - 1] = kInUse;
  setName(kUserLevelClass, name);
  record[kChildWord - 1] = 0;
  CRPUT(kUserLevelClass);
}

void appendControlPage(int32_t cls, int32_t last, std::span<int32_t> work) {
  int32_t page = 0;
  int32_t freeHead = 0;
  PGNEW(work, cls, page, freeHead);
  // PGNEW worked in WORK, so PGCUR still holds the chain's last page.
  PGCUR.word(kClassChainWord) = page;
  PAGWR(cls, last, PGCUR.page());
  PGINIT(cls, page, PGCUR.page());
  SPAIRS(cls, page, 1);
}

void CTLA02(std::span<const int32_t> name, std::span<int32_t> work, int32_t v1, int32_t v2,
            int32_t v3) {
  const int32_t parent = CTLREC.word(kUserLevelClass, kStateWord);
  if (parent <= 0) {
    IDXERR(kCodeSearch, kNoUserLevel, parent);
    CTLREC.word(kProjectLevelClass, kStateWord) = 0;
    return;
  }
  newChainHead(kProjectLevelClass, kUserLevelClass, work);
  std::span<int32_t> record = CTLREC.record(kProjectLevelClass);
  std::fill_n(record.begin(), recordLength(kProjectLevelClass), 0);
  record[kStateWord - 1] = kInUse;
  setName(kProjectLevelClass, name);
  record[kChildWord - 1] = 0;
  record[kValuesWord - 1] = v1;
  record[kValuesWord] = v2;
  record[kValuesWord + 1] = v3;
  CRPUT(kProjectLevelClass);
}

void CTLA03(std::span<int32_t> work, std::span<const int32_t> model, std::span<const int32_t> name,
            std::span<const int32_t> title, int32_t day, int32_t month, int32_t year, int32_t hour,
            int32_t minute) {
  const int32_t parent = CTLREC.word(kProjectLevelClass, kStateWord);
  if (parent <= 0) {
    IDXERR(kCodeSearch, kNoProjectLevel, parent);
    CTLREC.word(kModelClass, kStateWord) = 0;
    return;
  }
  newChainHead(kModelClass, kProjectLevelClass, work);
  std::span<int32_t> record = CTLREC.record(kModelClass);
  std::fill_n(record.begin(), recordLength(kModelClass), 0);
  record[kStateWord - 1] = model.empty() ? 0 : model[0];
  setName(kModelClass, name);
  copyCodes(title, record.subspan(kTitleWord - 1), kTitleWords);
  const int32_t created[] = {day, month, year, hour, minute};
  std::copy(std::begin(created), std::end(created), record.begin() + (kCreationWord - 1));

  int32_t directory = 0;
  int32_t freeHead = 0;
  PGNEW(work, kDirectoryClass, directory, freeHead);
  record[kDirectoryWord - 1] = directory;
  CRPUT(kModelClass);

  CTLCLR(kModelClass);
  PGINIT(kDirectoryClass, directory, PGCUR.page());
  PAGWR(kDirectoryClass, directory, PGCUR.page());
  CTLGET(kDirectoryClass, 1);
}

void DSDIRF(int32_t key, int32_t& page) {
  const int32_t t = directoryTriple(key);
  page = t == 0 ? 0 : CTLREC.word(kDirectoryClass, 3 * t - 1);
}

void DIRSET(int32_t key, int32_t page) {
  int32_t t = directoryTriple(key);
  if (t == 0) {
    for (int32_t u = 1; u <= kDirectoryTriples && t == 0; ++u) {
      if (CTLREC.word(kDirectoryClass, 3 * u - 2) <= 0) t = u;
    }
    if (t == 0) {
      IDXERR(kCodeFatal, kDirectoryFull, key);
      return;
    }
    CTLREC.word(kDirectoryClass, 3 * t - 2) = key;
  }
  CTLREC.word(kDirectoryClass, 3 * t - 1) = page;
}

void DSCLOS(std::span<int32_t> buffer, int32_t kind, int32_t cls, int32_t first) {
  DbFileSlot& slot = DBPARM.fileSlot(PAGCLS(cls));
  slot.headerBehind = false;
  PAGRD(cls, kHeaderPage, buffer);
  if (buffer.size() >= static_cast<size_t>(kFreeHeadWord)) {
    buffer[kNextPageWord - 1] = slot.nextPage;
    buffer[kFreeHeadWord - 1] = slot.freeHead;
  }
  PAGWR(cls, kHeaderPage, buffer);
  switch (kind) {
    case kKindResults:
      CTLREC.word(kResultsClass, kResultsValuesWord) = first;
      CRPUT(kResultsClass);
      break;
    case kKindBeamLoad:
      CTLREC.word(kLoadCaseClass, kBeamLoadWord) = first;
      CRPUT(kLoadCaseClass);
      break;
    case kKindScan:
      CTLREC.word(kLoadCaseClass, kScanWord) = first;
      CRPUT(kLoadCaseClass);
      break;
    default:
      DIRSET(cls, first);
      CRPUT(kDirectoryClass);
      break;
  }
}

}  // namespace kvr
