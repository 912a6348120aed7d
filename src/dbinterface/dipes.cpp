// DIPES, the set loader, and the set directory routines SETFND and SETADD with the page
// and bit helpers FLGPUT, BUFCLR and HDRPUT.

#include "dbinterface/dipes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr std::string_view kSetLoader = "DIPES";
constexpr std::string_view kProcessingName = "DILIM";

// Locations of the 299 reports.
constexpr int32_t kEndInPlaceOfSet = 9800;
constexpr int32_t kNoEntities = 9600;
constexpr int32_t kBadMemberRecord = 9550;

constexpr int32_t kCorruptDirectory = 229;
constexpr int32_t kSetExists = 231;

constexpr int32_t kSetHeaderWords = 1 + kSetNameCodes + kSetTitleCodes;
// The member list of one record: the record routine cuts members into records of 15.
constexpr int32_t kMaxMembers = 15;
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

// The set name as a text of 8 characters.
std::string nameText(std::span<const int32_t> codes) {
  FixedText text(kSetNameCodes);
  CODTXT(codes, kSetNameCodes, text);
  return std::string(text.view());
}

void inform(std::string_view text, int32_t kind, std::string_view name = {}) {
  FixedText routnm(6, kSetLoader);
  FixedText line(kDiTextLength, text);
  FixedText value(static_cast<int32_t>(name.size()), name);
  DIINF(routnm, line, kind, value, 0);
}

// The bit map being built in area 1 of LDPAGE: the bits of the current page are
// FIRSTBIT .. FIRSTBIT + BITS - 1.
class SetMap {
 public:
  SetMap(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t count)
      : pages_(ldpage, ldscr, kSetMapType),
        ldpage_(ldpage),
        b_(bitsPerWord()),
        count_(count) {
    pages_.setLastUsed(0);
    pages_.word(DBLEVL.pageHeaderWords + 1) = count;
    bitWord_ = DBLEVL.pageHeaderWords + 2;
    bits_ = int64_t{b_} * (pages_.pageSize() - bitWord_ + 1);
  }

  // Sets bit K; false when K lies outside the map or before the current page (the
  // entity dataset and its count disagree).
  bool set(int32_t k) {
    if (k < firstBit_ || k > count_) return false;
    while (k >= firstBit_ + bits_) nextPage();
    FLGPUT(from(ldpage_, bitWord_).first(static_cast<std::size_t>(pages_.pageSize() - bitWord_ + 1)),
           static_cast<int32_t>(k - firstBit_ + 1), 1);
    return true;
  }

  // Adds the pages that still miss to cover every entity and writes the last one.
  int32_t finish() {
    while (firstBit_ + bits_ - 1 < count_) nextPage();
    pages_.finish();
    return pages_.firstPage();
  }

 private:
  void nextPage() {
    pages_.startNewPage();
    pages_.setLastUsed(0);
    firstBit_ += bits_;
    bitWord_ = DBLEVL.pageHeaderWords + 1;
    bits_ = int64_t{b_} * (pages_.pageSize() - bitWord_ + 1);
  }

  LoaderPages pages_;
  std::span<int32_t> ldpage_;
  int32_t b_;
  int32_t count_;
  int32_t bitWord_ = 0;
  int64_t firstBit_ = 1;
  int64_t bits_ = 0;
};

}  // namespace

void DIPES(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t selector,
           int32_t& ierr) {
  ierr = 0;
  const bool nodes = selector == kNodeSet;
  std::array<int32_t, kSetHeaderWords> header{};
  if (!readLoaderRecord(header, ierr)) return;
  if (header[0] == kTagEnd) return reportNotDetected(ierr, kSetLoader, kEndInPlaceOfSet);
  if (header[0] != kTagRecord) return reportStreamFault(ierr);
  const std::span<const int32_t> name(header.data() + 1, kSetNameCodes);
  const std::span<const int32_t> title(header.data() + 1 + kSetNameCodes, kSetTitleCodes);

  EntryCursor cursor(ldpage, nodes ? kNodeDataset : kElementDataset);
  if (cursor.missing()) return reportNotDetected(ierr, kSetLoader, kNoEntities);
  const int32_t count = nodes ? DICNT.nodeCount : DICNT.elementCount;

  int32_t directory = 0;
  DSDIRF(kSetDirectoryType, directory);
  if (directory > 0) {
    int32_t status = -1, kind = 0, word2 = 0, first = 0, corrupt = 0;
    std::array<int32_t, kSetNameCodes> found{};
    SETFND(ldpage, name, status, found, kind, word2, first, corrupt);
    if (corrupt != 0) return reportLoaderError(ierr, kCorruptDirectory, kProcessingName, kDiNoValue);
    if (status == 0) {
      return reportLoaderError(ierr, kSetExists, kProcessingName, kDiName, 0, nameText(name));
    }
  }

  SetMap map(ldpage, ldscr, count);
  const std::string setName = nameText(name);
  std::array<int32_t, kMaxMembers> members{};
  bool firstRecord = true;
  for (bool walking = true; walking;) {
    std::array<int32_t, 2> head{};  // tag, member count
    if (!readLoaderRecord(head, ierr)) return;
    if (head[0] == kTagEnd) {
      if (firstRecord) return reportNotDetected(ierr, kSetLoader, kEndInPlaceOfSet);
      break;
    }
    firstRecord = false;
    // A count beyond the member list would read past it and put the stream out of step.
    if (head[0] != kTagRepeat || head[1] < 0 || head[1] > kMaxMembers) {
      return reportNotDetected(ierr, kSetLoader, kBadMemberRecord);
    }
    const std::span<int32_t> ids(members.data(), static_cast<std::size_t>(head[1]));
    if (!ids.empty() && !readLoaderRecord(ids, ierr)) return;

    for (int32_t id : ids) {
      int32_t k = 0;
      if (nodes) {
        while (cursor.atEntry() && cursor.nodeId() < id) cursor.next();
        if (cursor.atEntry() && cursor.nodeId() > id) {
          inform("NODE " + fmt::editI(id, 10) + " NOT FOUND AND NOT ADDED TO SET", kDiName,
                 setName);
          continue;
        }
        if (cursor.atEntry()) k = cursor.nodeSequence();
      } else {
        while (cursor.atEntry() && cursor.elementId() != id) cursor.next();
        if (cursor.atEntry()) k = cursor.elementSequence();
      }
      if (!cursor.atEntry()) {
        inform(std::string(nodes ? "NODE " : "ELEMENT ") + fmt::editI(id, 10) +
                   " AND ANY AFTER NOT ADDED TO SET",
               kDiName, setName);
        inform(nodes ? "NODES IN SET MUST BE IN ASCENDING ORDER"
                     : "ELEMENTS IN SET MUST BE IN SAME ORDER AS TOPOLOGY",
               kDiNoValue);
        // The rest of the stream up to its end record.
        std::array<int32_t, 1> word{};
        do {
          if (!readLoaderRecord(word, ierr)) return;
        } while (word[0] != kTagEnd);
        walking = false;
        break;
      }
      // A sequence number outside the map would set a wrong bit, or grow the map far
      // beyond the entities it covers.
      if (!map.set(k)) return reportNotDetected(ierr, kSetLoader, kNoEntities);
    }
  }

  const int32_t first = map.finish();
  HDRPUT(ldscr, 2, kSetMapType, 0, 0);
  int32_t status = 0;
  SETADD(ldpage, ldscr, name, nodes ? kNodeSet : kElementSet, title, first, status);
}

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
