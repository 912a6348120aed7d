// The set directory routines SETFND and SETADD with the page and bit helpers FLGPUT,
// BUFCLR and HDRPUT.
#include "modeldb/setdir.h"

#include <algorithm>
#include <cstddef>

#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr int32_t kMaxBitsPerWord = 31;
constexpr int32_t kSetEntryMark = 5002;

// Words of a directory entry.
constexpr int32_t kEntryStatus = 1;
constexpr int32_t kEntryMark = 2;
constexpr int32_t kEntryFirstPage = 3;
constexpr int32_t kEntryKind = 4;
constexpr int32_t kEntryName = 6;
constexpr int32_t kEntryDate = 14;
constexpr int32_t kEntryTitle = 17;

constexpr int32_t kEntryInUse = 1;
constexpr int32_t kEntryFree = 0;
constexpr int32_t kEntryDeleted = -1;

// B, the bits a map word holds (the sign bit stays clear).
int32_t bitsPerWord() { return std::clamp(MACHCN.word(kMachBitsLessOne), 1, kMaxBitsPerWord); }

int32_t pageSize() { return std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords); }

int32_t entriesPerPage() {
  return std::max((pageSize() - DBLEVL.pageHeaderWords) / kSetEntryWords, 0);
}

// A chain of directory pages holds at most the pages of the data file: a chain that runs
// back on itself ends there.
int32_t pageLimit() { return std::max(DBPARM.fileSlot(kDataFileSlot).nextPage - 1, 0); }

// Words K.. of BUFFER (K from 1), empty when K lies outside it.
std::span<int32_t> from(std::span<int32_t> buffer, int64_t k) {
  if (k < 1 || k > static_cast<int64_t>(buffer.size())) return {};
  return buffer.subspan(static_cast<std::size_t>(k - 1));
}

int32_t wordAt(std::span<const int32_t> buffer, int64_t k) {
  if (k < 1 || k > static_cast<int64_t>(buffer.size())) return 0;
  return buffer[static_cast<std::size_t>(k - 1)];
}

// The P words of the page that starts at word FIRST of BUFFER (cut at its end).
std::span<int32_t> pageAt(std::span<int32_t> buffer, int32_t first) {
  const std::span<int32_t> rest = from(buffer, first);
  return rest.first(std::min<std::size_t>(rest.size(), static_cast<std::size_t>(pageSize())));
}

// The first word of directory entry E (from 1) of a page.
int32_t entryWord(int32_t e) { return DBLEVL.pageHeaderWords + 1 + (e - 1) * kSetEntryWords; }

// Fills the directory entry that starts at word Q of PAGE.
void putEntry(std::span<int32_t> page, int32_t q, std::span<const int32_t> name, int32_t kind,
              std::span<const int32_t> title, int32_t firstPage) {
  const std::span<int32_t> entry = from(page, q).first(
      std::min<std::size_t>(from(page, q).size(), static_cast<std::size_t>(kSetEntryWords)));
  if (entry.size() < static_cast<std::size_t>(kSetEntryWords)) return;
  const auto put = [&](int32_t w, int32_t v) { entry[static_cast<std::size_t>(w - 1)] = v; };
  put(kEntryStatus, kEntryInUse);
  put(kEntryMark, kSetEntryMark);
  put(kEntryFirstPage, firstPage);
  put(kEntryKind, kind);
  put(kEntryKind + 1, 0);
  for (int32_t c = 0; c < kSetNameCodes; ++c) put(kEntryName + c, wordAt(name, c + 1));
  int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  DATTIM(day, month, year, hour, minute, second);
  put(kEntryDate, day);
  put(kEntryDate + 1, month);
  put(kEntryDate + 2, year);
  for (int32_t c = 0; c < kSetTitleCodes; ++c) put(kEntryTitle + c, wordAt(title, c + 1));
}

}  // namespace

void SETFND(std::span<int32_t> buffer, std::span<const int32_t> name, int32_t& status,
            std::span<int32_t> nameOut, int32_t& kind, int32_t& word2, int32_t& firstPage,
            int32_t& corrupt) {
  status = -1;
  corrupt = 0;
  kind = 0;
  word2 = 0;
  firstPage = 0;
  std::fill(nameOut.begin(), nameOut.end(), kBlankCode);

  int32_t last = std::min<int32_t>(static_cast<int32_t>(name.size()), kSetNameCodes);
  while (last > 0 && name[static_cast<std::size_t>(last - 1)] == kBlankCode) --last;
  int32_t page = 0;
  DSDIRF(kSetDirectoryType, page);
  if (last == 0 || page <= 0) return;

  int32_t area = 0;
  BUFCLR(buffer, 1, 0, area);
  const std::span<int32_t> words = pageAt(buffer, area);
  const auto describe = [&](int32_t q) {
    for (int32_t c = 0; c < kSetNameCodes && c < static_cast<int32_t>(nameOut.size()); ++c) {
      nameOut[static_cast<std::size_t>(c)] = wordAt(words, q + kEntryName - 1 + c);
    }
    kind = wordAt(words, q + kEntryKind - 1);
    if (kind == 0) kind = kElementSet;
    word2 = wordAt(words, q + kEntryMark - 1);
    firstPage = wordAt(words, q + kEntryFirstPage - 1);
  };

  int32_t abbreviations = 0;
  int32_t matched = 0;
  const int32_t limit = pageLimit();
  for (int32_t read = 0; page > 0 && read < limit; ++read) {
    PAGRD(kSetDirectoryType, page, words);
    for (int32_t e = 1; e <= entriesPerPage(); ++e) {
      const int32_t q = entryWord(e);
      const int32_t entryStatus = wordAt(words, q);
      if (entryStatus == kEntryFree || entryStatus == kEntryDeleted) continue;
      if (entryStatus != kEntryInUse) {
        corrupt = 1;
        status = -1;
        return;
      }
      int32_t result = -1;
      CODCMP(words, q + kEntryName - 1, q + kEntryName + kSetNameCodes - 2, name, 1, last,
             result);
      if (result == 0) {
        describe(q);
        status = 0;
        return;
      }
      if (result > 0 && ++abbreviations == 1) {
        describe(q);
        matched = result;
      }
    }
    page = wordAt(words, kLoaderNextWord);
  }
  if (abbreviations == 1) {
    status = matched;
  } else if (abbreviations > 1) {
    status = -2;
    kind = 0;
    word2 = 0;
    firstPage = 0;
    std::fill(nameOut.begin(), nameOut.end(), kBlankCode);
  }
}

void SETADD(std::span<int32_t> ldpage, std::span<int32_t> ldscr, std::span<const int32_t> name,
            int32_t kind, std::span<const int32_t> title, int32_t firstPage, int32_t& status) {
  status = 0;
  int32_t directory = 0;
  DSDIRF(kSetDirectoryType, directory);
  int32_t lastPage = 0;
  const int32_t limit = pageLimit();
  int32_t page = directory;
  for (int32_t read = 0; page > 0 && read < limit; ++read) {
    int32_t offset = 0;
    PGSLOT(ldpage, page, kSetDirectoryType, 2, offset);
    const std::span<int32_t> words = pageAt(ldpage, offset);
    for (int32_t e = 1; e <= entriesPerPage(); ++e) {
      const int32_t q = entryWord(e);
      const int32_t entryStatus = wordAt(words, q);
      if (entryStatus == kEntryFree || entryStatus == kEntryDeleted) {
        putEntry(words, q, name, kind, title, firstPage);
        PAGWR(kSetDirectoryType, page, words);
        return;
      }
    }
    lastPage = page;
    page = wordAt(words, kLoaderNextWord);
  }

  // No free entry: a new directory page, all 0 but its head and its first entry.
  int32_t newPage = 0;
  int32_t freeHead = 0;
  PGNEW(ldscr, kSetDirectoryType, newPage, freeHead);
  int32_t offset = 0;
  BUFCLR(ldpage, 2, 0, offset);
  const std::span<int32_t> words = pageAt(ldpage, offset);
  putEntry(words, entryWord(1), name, kind, title, firstPage);
  RECPK5(words, 1, newPage, kSetDirectoryType, 0, kLastLoaderPage, freeHead);
  PAGWR(kSetDirectoryType, newPage, words);
  if (directory > 0) {
    HDRPUT(ldscr, 1, kSetDirectoryType, lastPage, newPage);
  } else {
    DSCLOS(ldscr, kRecordInDirectory, kSetDirectoryType, newPage);
  }
}

void FLGPUT(std::span<int32_t> words, int32_t k, int32_t v) {
  if (k < 1) return;
  const int32_t b = bitsPerWord();
  const int32_t w = (k - 1) / b + 1;
  if (w > static_cast<int32_t>(words.size())) return;
  int32_t& word = words[static_cast<std::size_t>(w - 1)];
  const uint32_t bit = uint32_t{1} << ((k - 1) % b);
  uint32_t value = word < 0 ? 0u - static_cast<uint32_t>(word) : static_cast<uint32_t>(word);
  value = v != 0 ? (value | bit) : (value & ~bit);
  word = static_cast<int32_t>(value);
}

void BUFCLR(std::span<int32_t> buffer, int32_t slot, int32_t fill, int32_t& first) {
  first = 0;
  if (!DbLevl::isBufferSlot(slot)) return;
  DBLEVL.heldPage(slot) = 0;
  DBLEVL.heldClass(slot) = 0;
  first = DBLEVL.slotOffset(slot);
  const std::span<int32_t> words = pageAt(buffer, first);
  IFILL(static_cast<int32_t>(words.size()), fill, words);
}

void HDRPUT(std::span<int32_t> ldscr, int32_t mode, int32_t cls, int32_t r, int32_t s) {
  const DbFileSlot& file = DBPARM.fileSlot(PAGCLS(cls));
  PAGRD(cls, kHeaderPage, ldscr);
  if (ldscr.size() >= static_cast<std::size_t>(kFreeHeadWord)) {
    ldscr[kNextPageWord - 1] = file.nextPage;
    ldscr[kFreeHeadWord - 1] = file.freeHead;
  }
  PAGWR(cls, kHeaderPage, ldscr);
  if (mode == 2 || r <= 0) return;
  PAGRD(cls, r, ldscr);
  if (ldscr.size() >= static_cast<std::size_t>(kLoaderNextWord)) ldscr[kLoaderNextWord - 1] = s;
  PAGWR(cls, r, ldscr);
}

}  // namespace kvr
