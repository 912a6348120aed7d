// The in-memory store: every growable array of the library (the named arrays of the model
// registry, their UNDO copies, the answer store of the command interpreter) lives here.
//
// The store holds up to 50 in-memory files of up to 91 arrays each. An array is a run of
// fixed-width records (W 32-bit words each, numbered from 1) kept in pages of R records,
// W x R words allocated zeroed on demand and never moved: growing an array only grows its
// page table. Records are copied in and out as raw words; nothing here knows whether a
// word holds an INTEGER or a REAL. Callers hold file and array numbers only and copy
// records through CorePut and CoreGet.
//
// The store reports by status and result codes only, never by messages; its callers turn
// the codes into messages. Memory comes from the platform heap routines, so a failure is
// a status and tests can provoke one.
//
// Record r lies in page (r-1) div R (0-based) at record slot (r-1) mod R. Records are
// addressable (may be read and written) up to (last page index + 1) x R. An array is made
// addressable by CoreExtend before it is written; CorePut never extends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>

#include "runtime/slttab.h"

namespace kvr {

inline constexpr int32_t kCoreFiles = 50;
inline constexpr int32_t kCoreArrays = 91;

// The five header words of one array.
struct CoreHeader {
  int32_t width = 0;              // 1: W, words per record
  int32_t perPage = 0;            // 2: R, records per page
  int32_t lastPage = -1;          // 3: 0-based index of the highest page allocated; -1: none
  int32_t** pageTable = nullptr;  // 4: entry p points at page p, or is null
  int32_t capacity = 0;           // 5: entries of the page table counted as present
};

// CORSTO: array headers, array counts and registered flags, indexed by in-memory file F
// (1..50) and array number A (1..91). The store is empty at load.
struct CoreStore {
  CoreHeader& header(int32_t f, int32_t a) { return headers[idx(f)][idx(a)]; }
  // Arrays created in file F so far; the next one created gets number count + 1.
  int32_t& count(int32_t f) { return counts[idx(f)]; }
  // 1 when array (F, A) exists; anything else means not registered.
  int32_t& registered(int32_t f, int32_t a) { return flags[idx(f)][idx(a)]; }

  std::array<std::array<CoreHeader, kCoreArrays>, kCoreFiles> headers{};
  std::array<int32_t, kCoreFiles> counts{};
  std::array<std::array<int32_t, kCoreArrays>, kCoreFiles> flags{};

 private:
  static std::size_t idx(int32_t k) { return static_cast<std::size_t>(k - 1); }
};

extern CoreStore CORSTO;

// CORFRE: file-in-use flags of files 1..50, rebuilt by every MEMFNO.
extern std::array<int32_t, kCoreFiles> CORFRE;

// Creates the next array of file F with W words per record and R records per page; no page
// is allocated. A receives its number (1..91) and STAT 0; or A -3, STAT 50 for F outside
// 1..50; A -1, STAT 91 when the file already has 91 arrays; A -2, STAT 2 when there is no
// memory for its page table (the count unchanged).
void CoreCreate(int32_t f, int32_t w, int32_t r, int32_t& a, int32_t& stat);

// Makes records FIRST..FIRST+N-1 of array (F, A) addressable, allocating zeroed pages up
// to the one that holds the last of them. STAT 0; 1 the array is not registered; 2 the
// range or the page table is beyond what can be held, or the page table could not be
// grown (the array unchanged); 3 a page could not be allocated (the pages allocated
// before the failure are kept and counted).
void CoreExtend(int32_t f, int32_t a, int32_t first, int32_t n, int32_t& stat);

// Copies N records into array (F, A) from record FIRST on. A negative MODE takes the
// words from IBUF, any other MODE from RBUF; the buffer holds N x W words from its first
// on. STAT 0; 1 not registered; 2 FIRST below 1, a range beyond the addressable records,
// or a buffer shorter than N x W words. On a non-zero STAT nothing is copied.
void CorePut(int32_t f, int32_t a, int32_t first, int32_t n, int32_t mode,
             std::span<const int32_t> ibuf, std::span<const float> rbuf, int32_t& stat);

// Copies N records out of array (F, A) from record FIRST on, into IBUF when MODE is
// negative, else into RBUF; the other buffer is left untouched. Statuses as CorePut.
void CoreGet(int32_t f, int32_t a, int32_t first, int32_t n, int32_t mode, std::span<int32_t> ibuf,
             std::span<float> rbuf, int32_t& stat);

// Direct record copies of one array for a loop that moves many short runs of records: the
// array is looked up once, not on every copy. The view holds the array's header, so it
// follows the array as it grows; each copy is checked against the records addressable at
// that moment, and an array released meanwhile has none. Copies are those of CorePut and
// CoreGet; a refused one (false) copies nothing.
class CoreRecords {
 public:
  CoreRecords() = default;
  // Array (F, A); no array (every copy refused) when it is not registered.
  CoreRecords(int32_t f, int32_t a);

  int32_t width() const { return header_ == nullptr ? 0 : header_->width; }
  // Records 1..addressable() may be copied.
  int64_t addressable() const {
    if (header_ == nullptr || header_->perPage < 1) return 0;
    return (int64_t{header_->lastPage} + 1) * header_->perPage;
  }
  // Copies N records from record FIRST on out of the array into WORDS, or into it from
  // WORDS; the buffer holds N x W words from its first on. False, and nothing copied, for
  // FIRST below 1, a range beyond the addressable records or a buffer too short.
  bool get(int32_t first, int32_t n, std::span<int32_t> words) const {
    return getWords(first, n, words.size(), words.data());
  }
  bool get(int32_t first, int32_t n, std::span<float> words) const {
    return getWords(first, n, words.size(), words.data());
  }
  bool put(int32_t first, int32_t n, std::span<const int32_t> words) const {
    bool ok = false;
    if (int32_t* at = onePage(first, n, words.size(), ok)) {
      std::memcpy(at, words.data(), bytes(n));
    } else if (ok && n > 0) {
      putAcross(first, n, words.data());
    }
    return ok;
  }

 private:
  bool getWords(int32_t first, int32_t n, std::size_t bufferWords, void* words) const {
    bool ok = false;
    if (const int32_t* at = onePage(first, n, bufferWords, ok)) {
      std::memcpy(words, at, bytes(n));
    } else if (ok && n > 0) {
      getAcross(first, n, words);
    }
    return ok;
  }

  // OK tells whether N records from record FIRST on may be copied with a buffer of
  // BUFFERWORDS words. The copies are short runs, mostly inside one page: for such a run
  // (N at least 1) the answer is its first word; for an empty run or one that crosses into
  // the next page, nullptr (those are copied page by page).
  int32_t* onePage(int32_t first, int32_t n, std::size_t bufferWords, bool& ok) const {
    const CoreHeader* h = header_;
    ok = h != nullptr && first >= 1 && n >= 0 && int64_t{first} + n - 1 <= addressable() &&
         int64_t{n} * h->width <= static_cast<int64_t>(bufferWords);
    if (!ok || n == 0) return nullptr;
    // Record numbers and records a page are 32-bit words: dividing in 32 bits costs far
    // less than in 64.
    const auto r = static_cast<uint32_t>(h->perPage);
    const auto index = static_cast<uint32_t>(first - 1);
    const uint32_t slot = index % r;
    if (slot + static_cast<uint32_t>(n) > r) return nullptr;
    return h->pageTable[index / r] + int64_t{slot} * h->width;
  }
  std::size_t bytes(int32_t n) const {
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(header_->width) * sizeof(int32_t);
  }
  void getAcross(int32_t first, int32_t n, void* words) const;
  void putAcross(int32_t first, int32_t n, const void* words) const;

  const CoreHeader* header_ = nullptr;
};

// Fills records 1..N of array (F, A) from a source, page by page, without clearing first
// what the source writes: FILL is handed the words of the records of one page at a time,
// in record order, and answers whether it wrote every one of them. Pages the array lacks
// are allocated as they are filled; in a page allocated here the words past record N are
// cleared, as an extension clears them; a page the array holds keeps them. STAT 0; 1 not
// registered; 2 N beyond the records an array can address, or the page table could not be
// grown; 3 a page could not be allocated; 4 FILL failed. Whatever the status, a page
// allocated here holds the source's words or zeros, and the array addresses exactly the
// pages it holds.
void CoreLoad(int32_t f, int32_t a, int32_t n, const std::function<bool(std::span<int32_t>)>& fill,
              int32_t& stat);

// Copies the first N records of array SRC into array DST of file F. STAT 0; 1 SRC or DST
// is not registered; 2 their widths or page sizes differ, or either lacks pages for N
// records. On a non-zero STAT nothing is copied.
void CoreCopy(int32_t f, int32_t src, int32_t dst, int32_t n, int32_t& stat);

// The first record among FIRST..LAST of array (F, A) whose words 1 and 2 equal KEY; 0
// when none does (also when LAST < FIRST, or when the records are narrower than two
// words); -1 the array is not registered; -2 FIRST below 1 or the range reaches past the
// allocated pages.
int32_t CoreFindPair(int32_t f, int32_t a, std::span<const int32_t, 2> key, int32_t first,
                     int32_t last);

// As CoreFindPair, but a record matches when any of its words C1..C2 equals VALUE (as a
// 32-bit word); columns outside 1 <= C1 <= C2 <= W give -2.
int32_t CoreFindValue(int32_t f, int32_t a, int32_t value, int32_t first, int32_t last, int32_t c1,
                      int32_t c2);

// Bisection over records FIRST..LAST of array (F, A), sorted ascending on their first word
// (signed): the record whose first word equals KEY, 0 when none does (or LAST < FIRST),
// -1 and -2 as CoreFindPair. A key held by record FIRST or LAST is answered at once.
int32_t CoreBisect(int32_t f, int32_t a, int32_t key, int32_t first, int32_t last);

// Releases every array of file F (1..50), or of every file when F is negative; the
// file's numbering restarts at 1. Any other F is ignored.
void CoreFreeFile(int32_t f);

// Releases arrays A..91 of file F; the next array created in F is A again. F outside
// 1..50 or A outside 1..91 is ignored.
void CoreFreeFrom(int32_t f, int32_t a);

// SLTFND: with the window slots (runtime/slttab.h).

// F receives the lowest in-memory file number 2..50 that no window slot in use keeps its
// registry in, or 51 when all are kept. File 1 belongs to the answer store.
void MEMFNO(int32_t& f);

}  // namespace kvr
