// RESLVL: the walk over the leaf components of an assembly, one leaf per call.
#include "dbinterface/reslvl.h"

#include <algorithm>
#include <bit>

#include "dbinterface/diblocks.h"
#include "dbinterface/ressel.h"
#include "geometry/matrix4.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/lcfind.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kFirstEntry = 2;         // record word of the first entry
constexpr int32_t kRecordToPage = 4;       // page word of record word k: k + 4
constexpr int32_t kShortNameBelow = 5004;  // type codes with 6-code component names
constexpr int32_t kShortName = 6;
constexpr int32_t kLongName = 20;
constexpr int32_t kPlainModel = 1;
constexpr int32_t kSelectSecond = 2;
constexpr int32_t kComponentNotOpened = 7;      // M007
constexpr int32_t kIndexErrorNonFatal = 13;     // IDXERR code that does not end the run

using WalkName = std::array<int32_t, kWalkNameCodes>;

// One entry of a component list.
struct Entry {
  WalkName name{};
  int32_t n = 0;
  int32_t flag = 0;
  std::array<double, kMatrixValues> matrix{};
  int32_t nodeOffset = 0;
  int32_t elementOffset = 0;
  int32_t length = 0;
};

// Word K of the list record held, 0 outside it.
int32_t listWord(int64_t k) {
  return k >= 1 && k <= kComponentListWords ? RESWLK.list[static_cast<size_t>(k - 1)] : 0;
}

// Reads the entry at record word P of the list held; false when it runs past the page's
// last used word.
bool readEntry(int32_t p, Entry& e) {
  ResWlk& w = RESWLK;
  e.name.fill(kBlankCode);
  for (int32_t k = 0; k < w.nameCodes; ++k) e.name[static_cast<size_t>(k)] = listWord(p + k);
  int64_t at = int64_t{p} + w.nameCodes;
  e.n = listWord(at);
  if (e.n >= 1) {
    // An n beyond the page ends the entry past the last used word: refused below.
    at += std::min(e.n, kComponentListWords);
    e.flag = listWord(at + 1);
    for (int32_t k = 0; k < kMatrixValues; ++k) {
      e.matrix[static_cast<size_t>(k)] = std::bit_cast<float>(listWord(at + 2 + k));
    }
    at += 1 + kMatrixValues;
  }
  e.nodeOffset = listWord(at + 1);
  e.elementOffset = listWord(at + 2);
  const int64_t end = at + 2;
  e.length = static_cast<int32_t>(end - p + 1);
  return end + kRecordToPage <= w.lastUsed;
}

// Opens the database of the model NAME (its first LENGTH codes) through PAGE.
bool openModel(std::span<int32_t> page, std::span<const int32_t> name, int32_t length) {
  int32_t status = 1;
  TLBOPN(page, name, length, status);
  return status == 0;
}

// Reads list page PAGE of the database open into the walk's copy: a page of 0 or below
// is an empty list. False (M012) when the page holds no list record.
bool readList(int32_t page) {
  ResWlk& w = RESWLK;
  w.list.fill(0);
  w.lastUsed = kFirstEntry + kRecordToPage - 1;
  w.nextPage = 0;
  w.nameCodes = DBLEVL.openTypeCode < kShortNameBelow ? kShortName : kLongName;
  if (page <= 0) return true;
  PAGRD(kComponentClass, page, PGCUR.page());
  if (PGCUR.word(kPageClassWord) != kComponentClass) {
    IDXERR(kIndexErrorNonFatal, kComponentClass, page);
    return false;
  }
  CTLGET(kComponentClass, 1);
  std::copy_n(CTLREC.record(kComponentClass).begin(), kComponentListWords, w.list.begin());
  w.lastUsed = std::min(w.list[0], kIndexPageSize);
  w.nextPage = PGCUR.word(kClassChainWord);
  return true;
}

// The load case is looked up in the open component; the results are selected when it is
// found exactly. Answers the results word, -1 without results.
int32_t selectResults(std::span<int32_t> resultsPage, int32_t mode) {
  std::array<int32_t, 6> full{};
  int32_t found = -1;
  int32_t position = 0;
  LCFIND(RESWLK.loadCase, kAnyLoadCaseNumber, full, found, position);
  if (found != kLoadCaseExact) return -1;
  int32_t status = 1;
  if (mode == kSelectSecond) {
    RESSL2(resultsPage, status);
  } else {
    RESSL1(resultsPage, status);
  }
  if (status != 0) return -1;
  int32_t word = -1;
  R6GW12(kLastDataClass, word);
  return word;
}

// The end of a walk: the starting model reopened, and its results selected when a mode
// asks for them and the load case is found there.
void finish(std::span<int32_t> page, std::span<int32_t> resultsPage, int32_t mode,
            int32_t& error) {
  RESWLK.depth = 0;
  // Before the first walk there is no model to return to.
  if (RESWLK.returnName[0] == 0 || !openModel(page, RESWLK.returnName, kWalkNameCodes)) {
    error = 1;
    return;
  }
  if (mode == 0) return;
  std::array<int32_t, 6> full{};
  int32_t found = -1;
  int32_t position = 0;
  LCFIND(RESWLK.loadCase, kAnyLoadCaseNumber, full, found, position);
  if (found != kLoadCaseExact) return;
  int32_t status = 0;
  RESSL1(resultsPage, status);
}

// A walk that cannot go on: M007 with the current model's name, then the end.
void stop(std::span<int32_t> page, std::span<int32_t> resultsPage, int32_t mode,
          int32_t& error, bool report) {
  if (report) dbMessage(kComponentNotOpened, {}, DICTL.modelName.words);
  error = 1;
  finish(page, resultsPage, mode, error);
}

// Sets up level D for the list of the model just opened, with the transformation,
// offsets and results word in force.
bool enterLevel(int32_t d, int32_t results) {
  ResWlk& w = RESWLK;
  WalkLevel& l = w.level(d);
  R3GW54(l.listPage);
  l.position = kFirstEntry;
  l.entryLength = 0;
  l.pagesRead = 1;
  l.flag = CMPTRF.flag;
  l.matrix = CMPTRF.m;
  l.nodeOffset = DBLEVL.nodeOffset;
  l.elementOffset = DBLEVL.elementOffset;
  l.resultsWord = results;
  return readList(l.listPage);
}

}  // namespace

void RESLVL(std::span<int32_t> page, std::span<int32_t> resultsPage, int32_t mode,
            int32_t& level, int32_t& results, int32_t& second, int32_t& done, int32_t& error) {
  ResWlk& w = RESWLK;
  error = 0;
  done = 0;
  if (level < 0) {
    done = 1;
    finish(page, resultsPage, mode, error);
    return;
  }
  if (level == 0) {
    IDNT4D(w.accumulated);
    CMPTRF.flag = 0;
    std::transform(w.accumulated.begin(), w.accumulated.end(), CMPTRF.m.begin(),
                   [](double v) { return static_cast<float>(v); });
    results = -1;
    second = 0;
    DBLEVL.nodeOffset = 0;
    DBLEVL.elementOffset = 0;
    G104W2(w.loadCase);
    w.returnName = DICTL.modelGiven.words;
    w.name(1) = w.returnName;
    w.depth = 0;
    if (!openModel(page, w.returnName, kWalkNameCodes)) {
      dbMessage(kComponentNotOpened, {}, DICTL.modelName.words);
      error = 1;
      return;
    }
    w.depth = 1;
    if (!enterLevel(1, results)) return stop(page, resultsPage, mode, error, false);
  } else if (w.depth == 0) {
    done = 1;
    return;
  }

  for (;;) {
    WalkLevel& l = w.level(w.depth);
    const int32_t p = l.position + l.entryLength;
    if (p + kRecordToPage >= w.lastUsed) {
      bool more = false;
      if (w.nextPage > 0) {
        if (!openModel(page, w.name(w.depth), kWalkNameCodes)) {
          return stop(page, resultsPage, mode, error, true);
        }
        // A list whose pages run in a circle ends after as many pages as the file has.
        more = l.pagesRead < DBPARM.fileSlot(kIndexFileSlot).nextPage;
      }
      if (more) {
        l.listPage = w.nextPage;
        ++l.pagesRead;
        if (!readList(l.listPage)) return stop(page, resultsPage, mode, error, false);
        l.position = kFirstEntry;
        l.entryLength = 0;
        continue;
      }
      l.resultsWord = -1;
      if (--w.depth == 0) {
        level = 0;
        done = 1;
        finish(page, resultsPage, mode, error);
        return;
      }
      const WalkLevel& parent = w.level(w.depth);
      if (!openModel(page, w.name(w.depth), kWalkNameCodes)) {
        return stop(page, resultsPage, mode, error, true);
      }
      if (!readList(parent.listPage)) return stop(page, resultsPage, mode, error, false);
      CMPTRF.flag = parent.flag;
      CMPTRF.m = parent.matrix;
      continue;
    }

    Entry e;
    if (!readEntry(p, e)) {
      IDXERR(kIndexErrorNonFatal, kComponentClass, l.listPage);
      return stop(page, resultsPage, mode, error, false);
    }
    l.position = p;
    l.entryLength = e.length;

    // The component inherits the level's transformation and offsets.
    std::copy(l.matrix.begin(), l.matrix.end(), w.accumulated.begin());
    CMPTRF.flag = l.flag;
    CMPTRF.m = l.matrix;
    if (!openModel(page, e.name, w.nameCodes)) return stop(page, resultsPage, mode, error, true);
    if (e.n > 0) {
      if (e.flag < 1 && CMPTRF.flag < 1) CMPTRF.flag = 1;
      if (e.flag >= 1 && CMPTRF.flag < 2) CMPTRF.flag = e.flag;
      std::array<double, kMatrixValues> product{};
      MAT44M(w.accumulated, e.matrix, product);
      std::transform(product.begin(), product.end(), CMPTRF.m.begin(),
                     [](double v) { return static_cast<float>(v); });
    }
    DBLEVL.nodeOffset = l.nodeOffset + e.nodeOffset;
    DBLEVL.elementOffset = l.elementOffset + e.elementOffset;

    int32_t kind = 0;
    DBSTAT(kind);
    if (mode != 0) {
      if (l.resultsWord < 1) {
        results = kind == kPlainModel ? selectResults(resultsPage, mode) : -1;
        second = 0;
      } else {
        l.resultsWord = results;
      }
    }
    if (kind == kPlainModel) {
      level = w.depth;
      return;
    }
    // An assembly: its own list is walked one level deeper. The level tables end at 20
    // levels; a deeper nesting, or a list that names an assembly on its own path, stops
    // the walk here instead of writing past them.
    if (w.depth == kWalkNameLevels) return stop(page, resultsPage, mode, error, true);
    ++w.depth;
    w.name(w.depth) = e.name;
    if (!enterLevel(w.depth, results)) return stop(page, resultsPage, mode, error, false);
  }
}

}  // namespace kvr
