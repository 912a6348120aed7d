// The database page layer: whole pages between a caller's buffer and the two paged
// direct-access files of a model database.
//
// A page is a fixed number of 32-bit words, numbered from 1, stored as one direct-access
// record whose record number is the page number: little-endian words, record n at byte
// (n - 1) x 4 x (page size). The index file (file slot 1 of DBPARM) holds the control
// records, classes 101 to 107, in pages of 100 words; the data file (file slot 2) holds
// the datasets, classes 1 to 100, in pages of 2040, 4080, 8160, 16320 or 32640 words.
// Page 1 of each file is its header page.
//
// Page head: a page set up by PGINIT carries its number in word 2 and its class in word
// 3. Word 1 of a page on the free-page chain is the next free page (0 at the end). Word 4
// is the file's page size on page 1 and, on the other pages of an index-file class, the
// next page of that class (0 for the last). Words 6 and 7 of page 1 keep the file's
// next-page word and free-page head, which live in DBPARM while the file is open.
//
// Invariants:
//  - a page number of 0 or below is never transferred: PAGRD and PAGWR end the run with
//    the "ERROR 300" block instead;
//  - a transfer that fails never returns with an error: RANDIO asks the operator to retry
//    or to end the run. A read past the end of a file is no failure: it answers -1 with
//    the buffer zero-filled, so nothing stale is ever read;
//  - no routine writes past the buffer it is given: a transfer is cut at its capacity.
//
// Units below 0 are pseudo-units, which keep logical pages on scratch files (PAGDSP).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kvr {

// The words of the largest page.
inline constexpr int32_t kLargestPageWords = 32640;

// Words of a loader page head.
inline constexpr int32_t kLoaderNextWord = 4;
inline constexpr int32_t kLoaderLastUsedWord = 5;
inline constexpr int32_t kLastLoaderPage = -1;  // next-page word of a dataset's last page

// DSCLOS kind of a dataset recorded in the dataset directory.
inline constexpr int32_t kRecordInDirectory = 1;

// File slots of DBPARM.
inline constexpr int32_t kIndexFileSlot = 1;
inline constexpr int32_t kDataFileSlot = 2;
// The highest class held in the data file; classes above it live in the index file.
inline constexpr int32_t kLastDataClass = 100;
inline constexpr int32_t kIndexPageSize = 100;

// Word numbers of a page.
inline constexpr int32_t kFreeLinkWord = 1;    // next page of the free-page chain
inline constexpr int32_t kPageNumberWord = 2;
inline constexpr int32_t kPageClassWord = 3;
inline constexpr int32_t kPageSizeWord = 4;    // on page 1
inline constexpr int32_t kClassChainWord = 4;  // on the other index-file pages
inline constexpr int32_t kUsedLengthWord = 5;  // used length of a stream page
inline constexpr int32_t kNextPageWord = 6;    // on page 1: the next-page word
inline constexpr int32_t kFreeHeadWord = 7;    // on page 1: the free-page head
inline constexpr int32_t kHeaderPage = 1;

// One page of words, numbered from 1. It converts to the buffer span the routines take.
class DbPage {
 public:
  explicit DbPage(int32_t size) : words_(static_cast<size_t>(size < 0 ? 0 : size), 0) {}

  int32_t size() const { return static_cast<int32_t>(words_.size()); }
  int32_t& word(int32_t k) { return words_[static_cast<size_t>(k - 1)]; }
  int32_t word(int32_t k) const { return words_[static_cast<size_t>(k - 1)]; }
  std::span<int32_t> words() { return words_; }
  std::span<const int32_t> words() const { return words_; }
  operator std::span<int32_t>() { return words_; }
  operator std::span<const int32_t>() const { return words_; }

 private:
  std::vector<int32_t> words_;
};

// Pseudo-units with a rule of their own; every other negative unit addresses slots.
inline constexpr int32_t kHalfBuffer = -2;
inline constexpr int32_t kStream4 = -4;
inline constexpr int32_t kStream8 = -8;
// The four pseudo-units that share their slots and have a marker word each.
inline constexpr std::array<int32_t, 4> kSharedSlotUnits = {-5, -6, -9, -10};

constexpr bool isSharedSlotUnit(int32_t unit) {
  for (int32_t u : kSharedSlotUnits) {
    if (u == unit) return true;
  }
  return false;
}

// The words of the pseudo-units beside DBPARM's record length B and scratch-area sizes
// S1 and S2 and the two high-water words of IDXLAY. All 0 at load.
struct PseudoUnits {
  int32_t stream4Start = 0;  // high-water record when stream -4 began
  int32_t stream8Start = 0;  // and stream -8
  int32_t readCursor = 0;    // last record read of the stream being read
  std::array<int32_t, 4> markers{};  // one per shared-slot unit, in kSharedSlotUnits order

  // Marker word K (1..4): that of unit -5, -6, -9, -10.
  int32_t& marker(int32_t k) { return markers[static_cast<size_t>(k - 1)]; }
};

inline PseudoUnits PSEUDO;

// Puts the pseudo-units into their start state, as every start-up does: no slot and no
// stream record written (the two high-water words of IDXLAY 0), no stream begun or being
// read, every marker 0.
void resetPseudoUnits();

// Transfers SIZE words (a negative size counts as 0; at most BUFFER's capacity) between
// BUFFER and record PAGE of the direct-access unit UNIT: WRITE 0 reads, any other value
// writes. A failed transfer writes the " !RANDIO Error:" line to the log file and asks
// Abort/Retry: Retry repeats the transfer, Abort asks for confirmation, and a confirmed
// Abort ends the run (a cancelled one asks Abort/Retry again). Answers the status of the
// transfer that ended it: 0, or -1 for a read past the end (the words zero-filled).
int32_t RANDIO(std::span<int32_t> buffer, int32_t page, int32_t size, int32_t write,
               int32_t unit);

// The page transfer dispatcher: a unit of 0 or more goes to RANDIO and its status is
// answered. A negative unit is a pseudo-unit that keeps logical pages on scratch files of
// record length B (the record-length word of DBPARM), opened at first use; SIZE is not
// used there:
//  - -4 and -8: two streams on the stream scratch file. A write of page 1 or below
//    starts the stream at the file's high-water record; each write appends the pieces of
//    B words that the page's used length (word 5) covers, at most S2 / B of them, and
//    answers the new high-water record. A read of page 1 or below goes back to the
//    start of the stream; each read takes the next page's pieces (the first always, the
//    others while word 5 of what was read covers them) and answers the record reached.
//  - -2: page p is records (p - 1) x N2 + 1 to p x N2 of the half-buffer scratch file,
//    N2 = (S1 / 2) / B; answers N2.
//  - any other: page p of unit u is slot s = base + 3 x (p - 1) + 1 of the slot scratch
//    file, base 1 for -7, 2 for -5, -6, -9 and -10 (which share their slots), 0 for the
//    others; slot s is records (s - 1) x N2 + 1 to s x N2. A write beyond the slots
//    written so far fills every slot up to s with the buffer and answers s; otherwise the
//    slot's N2 pieces are transferred and N2 is answered. A write through -5, -6, -9 or
//    -10 clears the marker words of the three others and answers 0.
// A record length B below 1 moves nothing and answers 0.
int32_t PAGDSP(std::span<int32_t> buffer, int32_t page, int32_t size, int32_t write,
               int32_t unit);

// -1 (true) when N is a valid data-file page size (2040, 4080, 8160, 16320, 32640).
int32_t PAGSIZ(int32_t n);

// The file slot of dataset class CLS: 2 (data file) for 100 or below, else 1.
int32_t PAGCLS(int32_t cls);
// The page size of the file that holds class CLS.
int32_t CLSPSZ(int32_t cls);

// Read or write page PAGE of the file that holds class CLS, with that file's unit and
// page size. A page of 0 or below writes the "ERROR 300" block to the terminal output
// and ends the run without a transfer.
void PAGRD(int32_t cls, int32_t page, std::span<int32_t> buffer);
void PAGWR(int32_t cls, int32_t page, std::span<int32_t> buffer);

// Called with (class, page) by every PAGRD before its transfer, so that tests can count
// the pages a walk reads; an empty function removes it.
using PageReadObserver = std::function<void(int32_t cls, int32_t page)>;
void setPageReadObserver(PageReadObserver observer);

// Sets CLSPSZ(CLS) words of BUFFER to 0 (at most its capacity), then word 2 to PAGE and
// word 3 to CLS.
void PGINIT(int32_t cls, int32_t page, std::span<int32_t> buffer);

// Hands out a page for class CLS in PAGE: the head of the file's free-page chain (read
// into BUFFER; its word 1 becomes the new head), else the file's next-page word, which
// then goes up by 1. FREEHEAD receives the file's free-page head afterwards. For the
// index file page 1 is rewritten at once with the two words (BUFFER then holds page 1,
// so the caller sets up the new page with PGINIT); the data file's page 1 receives them
// when the dataset is finished.
void PGNEW(std::span<int32_t> buffer, int32_t cls, int32_t& page, int32_t& freeHead);

// Makes data-file page PAGE of class CLS the page held in page-buffer slot SLOT (1 or 2)
// of the work BUFFER and answers the slot's first word in OFFSET. Nothing moves when the
// slot holds that page and class already; a page held modified (stored negated) is
// written back before another is read. Callers that change a slot's page mark it by
// storing the negated page number. A slot other than 1 or 2 answers OFFSET 0.
void PGSLOT(std::span<int32_t> buffer, int32_t page, int32_t cls, int32_t slot, int32_t& offset);

// Sets the data page size P: the current data page size, the data file's page size in
// DBPARM, slot offsets 1 and P + 1, and both slots empty.
void PAGSET(int32_t pageSize);

// Copies N words of SOURCE to TARGET, word by word from the first (at most the capacity
// of either).
void CPYWRD(int32_t n, std::span<const int32_t> source, std::span<int32_t> target);

}  // namespace kvr
