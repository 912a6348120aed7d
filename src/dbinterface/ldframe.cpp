// The loader frame: the stream reads and reports of the loaders, the page building, the
// walk over the stored nodes and elements.

#include "dbinterface/ldframe.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"
#include "runtime/ftext.h"
#include "runtime/iounit.h"
#include "runtime/setget.h"

namespace kvr {
namespace {

constexpr std::string_view kProcessingName = "DILIM";

WrittenHighest dicntHighest() { return {DICNT.lastNodeId, DICNT.highestElementId}; }

// The page size of the data file, within what one area of LDPAGE holds.
int32_t loaderPageSize() {
  return std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords);
}

// Slot S of DBLEVL no longer claims PAGE: the page is being rebuilt in the loader's own
// area, so a copy a slot held would be stale.
void forgetHeldPage(int32_t page) {
  for (int32_t s = 1; s <= DbLevl::kBufferSlots; ++s) {
    const int32_t held = DBLEVL.heldPage(s);
    if (held == page || (held < 0 && int64_t{held} == -int64_t{page})) {
      DBLEVL.heldPage(s) = 0;
      DBLEVL.heldClass(s) = 0;
    }
  }
}

}  // namespace

void answerWrittenHighestFromDicnt() { setWrittenHighestSource(dicntHighest); }

bool readLoaderRecord(std::span<int32_t> words, int32_t& ierr) {
  int32_t flag = 0;
  TMPRD(words, DISTAT.currentUnit, flag);
  if (flag == 0) return true;
  reportStreamFault(ierr);
  return false;
}

void reportLoaderError(int32_t& ierr, int32_t code) {
  reportLoaderError(ierr, code, kProcessingName, kDiNoValue);
}

void reportLoaderError(int32_t& ierr, int32_t code, int32_t value) {
  reportLoaderError(ierr, code, kProcessingName, kDiNumber, value);
}

void reportStreamFault(int32_t& ierr) {
  reportLoaderError(ierr, kStreamReadFailed, kProcessingName, kDiNumber,
                    DICTL.tempUnit(DISTAT.currentUnit));
}

void reportNotDetected(int32_t& ierr, std::string_view routine, int32_t location) {
  reportLoaderError(ierr, kNotDetected, routine, kDiNumber, location);
}

void reportLoaderError(int32_t& ierr, int32_t code, std::string_view routine, int32_t kind,
                       int32_t number, std::string_view name) {
  ierr = code;
  FixedText routnm(6, routine);
  FixedText text(static_cast<int32_t>(name.size()), name);
  DIMSG(ierr, routnm, kind, text, number);
}

void reportSkipped(std::string_view text, int32_t id) {
  FixedText routnm(6, kProcessingName);
  FixedText line(kDiTextLength, text);
  FText noName;
  DIINF(routnm, line, kDiNumber, noName, id);
}

// ---- Page building -------------------------------------------------------------------

LoaderPages::LoaderPages(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t type)
    : ldpage_(ldpage.first(std::min<std::size_t>(ldpage.size(), kLargestPageWords))),
      ldscr_(ldscr),
      type_(type),
      pageSize_(loaderPageSize()) {
  PGNEW(ldscr_, type_, page_, freeHead_);
  first_ = page_;
  begin();
}

void LoaderPages::begin() {
  forgetHeldPage(page_);
  const std::size_t n = std::min<std::size_t>(ldpage_.size(), static_cast<std::size_t>(pageSize_));
  std::fill_n(ldpage_.begin(), n, 0);
  lastUsed_ = DBLEVL.pageHeaderWords;
}

void LoaderPages::write(int32_t next) {
  RECPK5(ldpage_, 1, page_, type_, lastUsed_, next, freeHead_);
  PAGWR(type_, page_, ldpage_);
}

void LoaderPages::startNewPage() {
  int32_t page = 0;
  int32_t freeHead = 0;
  PGNEW(ldscr_, type_, page, freeHead);
  write(page);
  page_ = page;
  freeHead_ = freeHead;
  begin();
}

int32_t LoaderPages::store(int32_t n) {
  const int32_t q = lastUsed_ + 1;
  lastUsed_ += n;
  return q;
}

void LoaderPages::finish() { write(kLastLoaderPage); }

void LoaderPages::setFirstPageWord(int32_t k, int32_t value) {
  PAGRD(type_, first_, ldpage_);
  word(k) = value;
  PAGWR(type_, first_, ldpage_);
}

void LoaderPages::record(int32_t kind) { DSCLOS(ldscr_, kind, type_, first_); }

// ---- The walk over stored entries ----------------------------------------------------

void dropSlotClaim() {
  if (DBLEVL.heldPage(2) > 0) {
    DBLEVL.heldPage(2) = 0;
    DBLEVL.heldClass(2) = 0;
  }
}

EntryCursor::EntryCursor(std::span<int32_t> ldpage, int32_t type)
    : ldpage_(ldpage), type_(type) {
  int32_t first = 0;
  DSDIRF(type_, first);
  missing_ = first <= 0;
  if (!missing_) seek(first);
}

bool EntryCursor::stop() {
  atEntry_ = false;
  return false;
}

// Reads PAGE into slot 2 and stands on its first entry; a page without entries passes
// the walk on to its next page.
bool EntryCursor::seek(int32_t page) {
  // A data file of n pages holds at most n - 1 pages of a dataset.
  const int32_t pageLimit = std::max(DBPARM.fileSlot(kDataFileSlot).nextPage - 1, 0);
  const int32_t size = loaderPageSize();
  for (;;) {
    if (page <= 0 || pagesRead_ >= pageLimit) return stop();
    ++pagesRead_;
    PGSLOT(ldpage_, page, type_, 2, offset_);
    lastUsed_ = std::clamp(RECW4(ldpage_, offset_), 0, size);
    nextPage_ = RECW3(ldpage_, offset_);
    q_ = offset_ + DBLEVL.pageHeaderWords;
    if (DBLEVL.pageHeaderWords + 1 <= lastUsed_) {
      atEntry_ = true;
      return true;
    }
    page = nextPage_;
  }
}

bool EntryCursor::next() {
  if (!atEntry_) return false;
  int32_t length = 0;
  if (type_ == kNodeDataset) {
    length = DBLEVL.nodeEntryWords;
  } else if (type_ == kQuickDrawDataset) {
    length = RECW1(ldpage_, q_);
  } else {
    length = RECCLS(RECW2(ldpage_, q_));
  }
  // An entry of no known length cannot be stepped over: the walk ends there.
  if (length < 1) return stop();
  const int64_t nextPosition = int64_t{q_} + length - offset_ + 1;
  if (nextPosition <= lastUsed_) {
    q_ += length;
    return true;
  }
  return seek(nextPage_);
}

void EntryCursor::markModified() {
  int32_t& held = DBLEVL.heldPage(2);
  if (held > 0) held = -held;
}

void EntryCursor::writeBack() {
  int32_t& held = DBLEVL.heldPage(2);
  if (held >= 0 || offset_ < 1 || static_cast<std::size_t>(offset_) > ldpage_.size()) return;
  held = -held;
  PAGWR(DBLEVL.heldClass(2), held, ldpage_.subspan(static_cast<std::size_t>(offset_ - 1)));
}

int32_t EntryCursor::nodeId() const { return RECW1(ldpage_, q_); }
int32_t EntryCursor::nodeSequence() const { return RECNOD(ldpage_, q_); }
int32_t EntryCursor::elementId() const { return RECW0(ldpage_, q_); }
int32_t EntryCursor::elementSequence() const { return RECELM(ldpage_, q_); }
int32_t EntryCursor::elementType() const { return RECW2(ldpage_, q_); }


}  // namespace kvr
