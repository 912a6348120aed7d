// The frame that every dataset loader shares. A loader turns one finished dataset of the
// writing road into a database dataset: it reads the rest of the unit's stream record by
// record (the processing has read the 55-word header), checks each record, packs its
// entries into data-file pages of its dataset type, chains and writes them, and records
// the dataset's first page (DSCLOS).
//
// Every loader is called as LOADER(LDPAGE, LDSCR, [third argument,] IERR). IERR is 0 on
// entry and, on return, 0 or the code the loader has already reported with DIMSG.
//
// The two buffers, owned by the writing road and reused by every loader:
//  - LDPAGE, four areas of a page of the largest size. Area 1 (words 1..P) holds the page
//    being built, area 2 (words P + 1..2P) a page read for lookup (page-buffer slot 2 of
//    DBLEVL), area 3 (2P + 1..3P) and the room after it serve the symbol sets;
//  - LDSCR, two pages: PGNEW and DSCLOS read and rewrite data page 1 in its first page.
//
// A loader page: word 1 the free-page head PGNEW answered when the page was handed out, 2
// its page number, 3 the dataset type, 4 the next page (-1 on the last), 5 the position of
// the last word used; words 6 to H (H = DBLEVL.pageHeaderWords, 38) are 0; entries from
// word H + 1. A new page is all 0 before entries are stored, so unwritten words are 0 and
// the files are deterministic.
//
// A page that is written stays written: a loader that stops with an error leaves its
// pages unreferenced (no DSCLOS), and the clean-up abandons them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "modeldb/dbpage.h"
#include "modeldb/dicnt.h"
#include "runtime/codtxt.h"  // ISLCPY

namespace kvr {

inline constexpr int32_t kLoaderPageAreas = 4;
inline constexpr int32_t kLoaderScratchPages = 2;

// Dataset types of the nodal coordinates, the element topology and the quick-draw edges.
inline constexpr int32_t kNodeDataset = 5;
inline constexpr int32_t kElementDataset = 6;
inline constexpr int32_t kQuickDrawDataset = 9;

// The words of a loader page head (kLoaderNextWord ...) and kRecordInDirectory: with the
// page layout (modeldb/dbpage.h).

// Code of a failed stream read and of an inconsistency the record routines should have
// prevented (shown with the loader's name and a location number).
inline constexpr int32_t kStreamReadFailed = 225;
inline constexpr int32_t kNotDetected = 299;

using LoaderPageBuffer = std::array<int32_t, kLoaderPageAreas * kLargestPageWords>;
using LoaderScratchBuffer = std::array<int32_t, kLoaderScratchPages * kLargestPageWords>;

inline LoaderPageBuffer LDPAGE{};
inline LoaderScratchBuffer LDSCR{};

// DICNT, the model summary counters: modeldb/dicnt.h.

// Makes the highest numbers written (the numbered setting of the number format asks for
// them) DICNT's last node id and highest element id. The start of the road calls it.
void answerWrittenHighestFromDicnt();

// Reads the next WORDS of the current unit's stream. A failed read reports 225 under
// "DILIM " with the unit (IERR = 225) and answers false.
bool readLoaderRecord(std::span<int32_t> words, int32_t& ierr);

// Reports 299 under ROUTINE (6 characters) with LOCATION; IERR = 299.
void reportNotDetected(int32_t& ierr, std::string_view routine, int32_t location);

// Reports CODE under ROUTINE (6 characters) with the value of KIND (DIMSG: 0 none, 1
// NAME, 2 NUMBER); IERR = CODE.
void reportLoaderError(int32_t& ierr, int32_t code, std::string_view routine, int32_t kind,
                       int32_t number = 0, std::string_view name = {});

// Reports CODE under "DILIM ", without a value or with VALUE; IERR = CODE.
void reportLoaderError(int32_t& ierr, int32_t code);
void reportLoaderError(int32_t& ierr, int32_t code, int32_t value);

// Reports 225 under "DILIM " with the current temporary unit; IERR = 225. For a stream
// whose records are out of step, as for one that cannot be read.
void reportStreamFault(int32_t& ierr);

// An information line TEXT under "DILIM " with the id of the record it skips.
void reportSkipped(std::string_view text, int32_t id);

// Builds the pages of one dataset in area 1 of LDPAGE. The constructor takes the first
// page (PGNEW) and clears the area; the position of the last word used starts at H.
class LoaderPages {
 public:
  LoaderPages(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t type);

  int32_t pageSize() const { return pageSize_; }
  int32_t lastUsed() const { return lastUsed_; }
  int32_t firstPage() const { return first_; }

  // Ends the current page (its head with the next page, then written) and starts the
  // next one from word H + 1. Each loader calls it by its own fit test.
  void startNewPage();
  // The position of the last word used, which the page head keeps in word 5 (a page of
  // bits keeps 0 there). Each new page starts again from H.
  void setLastUsed(int32_t position) { lastUsed_ = position; }
  // Answers the word of LDPAGE where an entry of N words begins and counts the N words
  // as used.
  int32_t store(int32_t n);
  // Word K of LDPAGE (outside it: a word that is thrown away).
  int32_t& word(int32_t k) {
    if (k >= 1 && static_cast<std::size_t>(k) <= ldpage_.size()) {
      return ldpage_[static_cast<std::size_t>(k - 1)];
    }
    spare_ = 0;
    return spare_;
  }
  // Writes the current page as the dataset's last one.
  void finish();
  // After finish: word K of the dataset's first page becomes VALUE (the page is read
  // into area 1 again and written back), for a count known only at the end.
  void setFirstPageWord(int32_t k, int32_t value);
  // Records the dataset's first page: DSCLOS of KIND for the dataset type.
  void record(int32_t kind = kRecordInDirectory);

 private:
  void begin();
  void write(int32_t next);

  std::span<int32_t> ldpage_;
  std::span<int32_t> ldscr_;
  int32_t type_;
  int32_t pageSize_;
  int32_t page_ = 0;
  int32_t freeHead_ = 0;
  int32_t first_ = 0;
  int32_t lastUsed_ = 0;
  int32_t spare_ = 0;
};

// Drops the claim of page-buffer slot 2 on a page it holds unmodified. The page a slot
// claims was read into whichever buffer read it last; a walk that reads into a buffer of
// its own drops the claim before and after it, else a walk in another buffer would take
// a page that is not there for held.
void dropSlotClaim();

// A walk over the stored nodes (dataset 5), elements (dataset 6) or quick-draw edge
// records (dataset 9, each as long as its word 2) in the order of their dataset, one page
// at a time in page-buffer slot 2 of LDPAGE. It starts at the first entry and only goes
// forward: it never restarts, so records matched against it must come in the dataset's
// order. Running past the last entry (a next page of 0 or below) ends it as "not found";
// page 0 is never read, and a chain of pages that runs back on itself ends after as many
// pages as the data file holds. A walk that changes entries marks the page held
// (markModified): it is written back before the next page is read, and by writeBack at
// the end of the walk.
class EntryCursor {
 public:
  EntryCursor(std::span<int32_t> ldpage, int32_t type);

  // The dataset is not in the directory.
  bool missing() const { return missing_; }
  // The cursor stands on an entry.
  bool atEntry() const { return atEntry_; }
  // The word of LDPAGE where the current entry begins.
  int32_t q() const { return q_; }

  int32_t nodeId() const;           // word 2 of a node entry
  int32_t nodeSequence() const;     // RECNOD: with the node numbering offset
  int32_t elementId() const;        // word 1 of an element entry
  int32_t elementSequence() const;  // RECELM: with the element numbering offset
  int32_t elementType() const;      // word 3 of an element entry

  // Moves to the next entry; false (and no entry) when there is none.
  bool next();

  // The page held has been changed.
  void markModified();
  // Writes the page held back when it has been changed.
  void writeBack();

 private:
  bool seek(int32_t page);
  bool stop();

  std::span<int32_t> ldpage_;
  int32_t type_;
  bool missing_ = false;
  bool atEntry_ = false;
  int32_t offset_ = 0;    // first word of slot 2
  int32_t q_ = 0;
  int32_t lastUsed_ = 0;  // of the page held
  int32_t nextPage_ = 0;  // of the page held
  int32_t pagesRead_ = 0;
};

}  // namespace kvr
