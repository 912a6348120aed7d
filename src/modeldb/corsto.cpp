// The in-memory store: array creation and growth, record copies, searches, release, and
// the two window-slot lookups that decide which in-memory file a registry may use.
//
// Every size the store derives from its arguments (the last record FIRST + N - 1, the
// page size W x R, page-table sizes, buffer lengths) is computed in 64 bits, so no
// argument can wrap a size round into a small one.
#include "modeldb/corsto.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

#include "platform/memory.h"
#include "runtime/incftb.h"
#include "runtime/slttab.h"

namespace kvr {

CoreStore CORSTO;
std::array<int32_t, kCoreFiles> CORFRE{};

namespace {

// The heap routines of the store, in one place.
void* zeroedBlock(size_t count, size_t size) { return mem::allocateZeroed(count, size); }
void* plainBlock(size_t size) { return mem::allocate(size); }
void* resizedBlock(void* block, size_t size) { return mem::reallocate(block, size); }
void releaseBlock(void* block) { mem::release(block); }

// Entries of the page table that CoreCreate allocates; the recorded capacity stays 0, so
// the first extension sizes the table.
constexpr size_t kInitialTable = 500;
// The least number of entries by which a page table grows.
constexpr int64_t kTableGrowth = 100;
constexpr int64_t kMaxRecord = std::numeric_limits<int32_t>::max();

bool fileInRange(int32_t f) { return f >= 1 && f <= kCoreFiles; }
bool arrayInRange(int32_t a) { return a >= 1 && a <= kCoreArrays; }

// The header of array (F, A) when it exists, else nullptr.
CoreHeader* registeredArray(int32_t f, int32_t a) {
  if (!fileInRange(f) || !arrayInRange(a) || CORSTO.registered(f, a) != 1) return nullptr;
  return &CORSTO.header(f, a);
}

// Words of one page, or 0 when W or R is below 1 (such an array can hold no page).
int64_t pageWords(const CoreHeader& h) {
  if (h.width < 1 || h.perPage < 1) return 0;
  return int64_t{h.width} * h.perPage;
}

// Records that may be read and written: those of pages 0..last page index.
int64_t addressable(const CoreHeader& h) {
  if (h.perPage < 1) return 0;
  return (int64_t{h.lastPage} + 1) * h.perPage;
}

// Frees the pages and the page table of an array.
void releaseArray(CoreHeader& h) {
  if (h.pageTable != nullptr) {
    for (int32_t p = 0; p <= h.lastPage; ++p) releaseBlock(h.pageTable[p]);
    releaseBlock(h.pageTable);
  }
  h.pageTable = nullptr;
  h.lastPage = -1;
  h.capacity = 0;
}

// Grows the page table of H, when it must, to hold entry NEEDED (0-based); false when it
// could not be grown (H unchanged).
bool tableHolds(CoreHeader& h, int64_t needed) {
  if (needed < h.capacity) return true;
  const int64_t grow = std::max(needed - h.capacity + 1, kTableGrowth);
  const int64_t entries = int64_t{h.capacity} + grow;
  if (entries > std::numeric_limits<int32_t>::max()) return false;
  auto table = static_cast<int32_t**>(
      resizedBlock(h.pageTable, static_cast<size_t>(entries) * sizeof(int32_t*)));
  if (table == nullptr) return false;
  std::fill(table + h.capacity, table + entries, nullptr);
  h.pageTable = table;
  h.capacity = static_cast<int32_t>(entries);
  return true;
}

// Releases arrays FROM..91 of file F (both in range).
void releaseArrays(int32_t f, int32_t from) {
  for (int32_t a = from; a <= kCoreArrays; ++a) {
    if (CORSTO.registered(f, a) == 1) releaseArray(CORSTO.header(f, a));
    CORSTO.registered(f, a) = 0;
  }
}

// Copies N records (N >= 1, all addressable, FIRST >= 1) between the pages of H and BUF,
// page by page in whole runs of words: into the pages when BUF is const, out of them
// otherwise.
template <class Byte>
void copyRecords(const CoreHeader& h, int32_t first, int64_t n, Byte* buf) {
  const int64_t r = h.perPage;
  const int64_t w = h.width;
  // Record numbers and records a page are 32-bit words: dividing in 32 bits costs far
  // less than in 64, on every record moved.
  const auto index = static_cast<uint32_t>(first - 1);
  int64_t page = index / static_cast<uint32_t>(r);
  int64_t slot = index % static_cast<uint32_t>(r);
  while (n > 0) {
    const int64_t k = std::min(r - slot, n);
    const size_t bytes = static_cast<size_t>(k * w) * sizeof(int32_t);
    int32_t* words = h.pageTable[page] + slot * w;
    if constexpr (std::is_const_v<Byte>) {
      std::memcpy(words, buf, bytes);
    } else {
      std::memcpy(buf, words, bytes);
    }
    buf += bytes;
    n -= k;
    ++page;
    slot = 0;
  }
}

// The checks CorePut and CoreGet share; 0 when the copy may go ahead.
int32_t copyStatus(const CoreHeader* h, int32_t first, int32_t n, size_t bufferWords) {
  if (h == nullptr) return 1;
  // A record number below 1 would address words before the page.
  if (first < 1) return 2;
  if (int64_t{first} + n - 1 > addressable(*h)) return 2;
  // The caller's buffer must hold every word the copy moves.
  if (n > 0 && int64_t{n} * h->width > static_cast<int64_t>(bufferWords)) return 2;
  return 0;
}

// The checks the searches share: -1 not registered, -2 FIRST below 1 or the pages of
// FIRST..LAST not all allocated, else 0 with H set.
int32_t searchStatus(int32_t f, int32_t a, int32_t first, int32_t last, const CoreHeader*& h) {
  h = registeredArray(f, a);
  if (h == nullptr) return -1;
  // A record number below 1 would address words before the page.
  if (first < 1 || h->perPage < 1) return -2;
  const int64_t lastPage = (int64_t{last} - 1) / h->perPage;
  if (lastPage > h->lastPage) return -2;
  return 0;
}

// Visits records FIRST..LAST (FIRST >= 1, all allocated) in order, page by page, and
// answers the number of the first whose words MATCH accepts, else 0.
template <class Match>
int32_t scanRecords(const CoreHeader& h, int32_t first, int32_t last, Match match) {
  const int64_t r = h.perPage;
  const int64_t w = h.width;
  int64_t record = first;
  while (record <= last) {
    const int64_t page = (record - 1) / r;
    const int64_t slot = (record - 1) % r;
    const int64_t run = std::min(r - slot, int64_t{last} - record + 1);
    const int32_t* words = h.pageTable[page] + slot * w;
    for (int64_t k = 0; k < run; ++k, words += w) {
      if (match(words)) return static_cast<int32_t>(record + k);
    }
    record += run;
  }
  return 0;
}

// The sign of KEY minus the first word of RECORD, which lies in page PAGE of array
// (FILE + 1, ARRAY + 1). Compared, not subtracted, so that no difference overflows.
int32_t CoreCompare(int32_t file, int32_t array, int32_t page, int32_t record, int32_t key) {
  const CoreHeader& h = CORSTO.headers[static_cast<size_t>(file)][static_cast<size_t>(array)];
  const int64_t slot = (int64_t{record} - 1) % h.perPage;
  const int32_t word = h.pageTable[page][slot * h.width];
  return key < word ? -1 : (key > word ? 1 : 0);
}

// The first word of record REC of H (allocated).
int32_t firstWord(const CoreHeader& h, int64_t rec) {
  return h.pageTable[(rec - 1) / h.perPage][((rec - 1) % h.perPage) * h.width];
}

}  // namespace

void CoreCreate(int32_t f, int32_t w, int32_t r, int32_t& a, int32_t& stat) {
  stat = 0;
  if (!fileInRange(f)) {
    a = -3;
    stat = 50;
    return;
  }
  const int32_t next = CORSTO.count(f) + 1;
  if (next > kCoreArrays) {
    a = -1;
    stat = 91;
    return;
  }
  auto table = static_cast<int32_t**>(zeroedBlock(kInitialTable, sizeof(int32_t*)));
  if (table == nullptr) {
    a = -2;
    stat = 2;
    return;
  }
  CoreHeader& h = CORSTO.header(f, next);
  releaseArray(h);
  h.width = w;
  h.perPage = r;
  h.lastPage = -1;
  h.pageTable = table;
  h.capacity = 0;
  CORSTO.count(f) = next;
  CORSTO.registered(f, next) = 1;
  a = next;
}

void CoreExtend(int32_t f, int32_t a, int32_t first, int32_t n, int32_t& stat) {
  stat = 0;
  CoreHeader* h = registeredArray(f, a);
  if (h == nullptr) {
    stat = 1;
    return;
  }
  const int64_t last = int64_t{first} + n - 1;
  if (last <= addressable(*h)) return;
  // A record number beyond the word range can never be addressed.
  if (last > kMaxRecord) {
    stat = 2;
    return;
  }
  const int64_t words = pageWords(*h);
  if (words == 0) {
    stat = 3;
    return;
  }
  const int64_t needed = (last - 1) / h->perPage;
  if (!tableHolds(*h, needed)) {
    stat = 2;
    return;
  }
  for (int64_t p = int64_t{h->lastPage} + 1; p <= needed; ++p) {
    if (h->pageTable[p] == nullptr) {
      h->pageTable[p] =
          static_cast<int32_t*>(zeroedBlock(static_cast<size_t>(words), sizeof(int32_t)));
      if (h->pageTable[p] == nullptr) {
        stat = 3;
        return;
      }
    }
    h->lastPage = static_cast<int32_t>(p);
  }
}

void CoreLoad(int32_t f, int32_t a, int32_t n, const std::function<bool(std::span<int32_t>)>& fill,
              int32_t& stat) {
  stat = 0;
  CoreHeader* h = registeredArray(f, a);
  if (h == nullptr) {
    stat = 1;
    return;
  }
  if (n <= 0) return;
  const int64_t words = pageWords(*h);
  if (words == 0) {
    stat = 3;
    return;
  }
  const int64_t last = (int64_t{n} - 1) / h->perPage;
  if (!tableHolds(*h, last)) {
    stat = 2;
    return;
  }
  for (int64_t p = 0; p <= last; ++p) {
    const int64_t records = std::min<int64_t>(h->perPage, n - p * h->perPage);
    const auto used = static_cast<size_t>(records * h->width);
    int32_t*& page = h->pageTable[p];
    const bool fresh = p > h->lastPage;
    if (fresh) {
      // The words the source writes are not cleared first: only those past record N.
      if (page == nullptr) page = static_cast<int32_t*>(plainBlock(static_cast<size_t>(words) * sizeof(int32_t)));
      if (page == nullptr) {
        stat = 3;
        return;
      }
      std::fill(page + used, page + words, 0);
      h->lastPage = static_cast<int32_t>(p);
    }
    if (!fill(std::span<int32_t>(page, used))) {
      if (fresh) std::fill(page, page + used, 0);
      stat = 4;
      return;
    }
  }
}

void CorePut(int32_t f, int32_t a, int32_t first, int32_t n, int32_t mode,
             std::span<const int32_t> ibuf, std::span<const float> rbuf, int32_t& stat) {
  const CoreHeader* h = registeredArray(f, a);
  const bool integers = mode < 0;
  stat = copyStatus(h, first, n, integers ? ibuf.size() : rbuf.size());
  if (stat != 0 || n <= 0) return;
  const void* words = integers ? static_cast<const void*>(ibuf.data()) : rbuf.data();
  copyRecords(*h, first, n, static_cast<const std::byte*>(words));
}

void CoreGet(int32_t f, int32_t a, int32_t first, int32_t n, int32_t mode, std::span<int32_t> ibuf,
             std::span<float> rbuf, int32_t& stat) {
  const CoreHeader* h = registeredArray(f, a);
  const bool integers = mode < 0;
  stat = copyStatus(h, first, n, integers ? ibuf.size() : rbuf.size());
  if (stat != 0 || n <= 0) return;
  void* words = integers ? static_cast<void*>(ibuf.data()) : rbuf.data();
  copyRecords(*h, first, n, static_cast<std::byte*>(words));
}

CoreRecords::CoreRecords(int32_t f, int32_t a) : header_(registeredArray(f, a)) {}

void CoreRecords::getAcross(int32_t first, int32_t n, void* words) const {
  copyRecords(*header_, first, n, static_cast<std::byte*>(words));
}

void CoreRecords::putAcross(int32_t first, int32_t n, const void* words) const {
  copyRecords(*header_, first, n, static_cast<const std::byte*>(words));
}

void CoreCopy(int32_t f, int32_t src, int32_t dst, int32_t n, int32_t& stat) {
  stat = 0;
  const CoreHeader* from = registeredArray(f, src);
  const CoreHeader* to = registeredArray(f, dst);
  if (from == nullptr || to == nullptr) {
    stat = 1;
    return;
  }
  // Copying without these checks would write past the pages of DST.
  if (from->width != to->width || from->perPage != to->perPage || n > addressable(*from) ||
      n > addressable(*to)) {
    stat = 2;
    return;
  }
  if (n <= 0 || src == dst) return;
  const int64_t r = from->perPage;
  const size_t pageBytes = static_cast<size_t>(pageWords(*from)) * sizeof(int32_t);
  const int64_t whole = n / r;
  for (int64_t p = 0; p < whole; ++p) std::memcpy(to->pageTable[p], from->pageTable[p], pageBytes);
  const int64_t rest = n - whole * r;
  if (rest > 0) {
    std::memcpy(to->pageTable[whole], from->pageTable[whole],
                static_cast<size_t>(rest * from->width) * sizeof(int32_t));
  }
}

int32_t CoreFindPair(int32_t f, int32_t a, std::span<const int32_t, 2> key, int32_t first,
                     int32_t last) {
  const CoreHeader* h = nullptr;
  if (int32_t status = searchStatus(f, a, first, last, h); status != 0) return status;
  if (last < first) return 0;
  // A record of one word has no second word to compare: reading on would run past it.
  if (h->width < 2) return 0;
  const int32_t k1 = key[0];
  const int32_t k2 = key[1];
  return scanRecords(*h, first, last,
                     [k1, k2](const int32_t* words) { return words[0] == k1 && words[1] == k2; });
}

int32_t CoreFindValue(int32_t f, int32_t a, int32_t value, int32_t first, int32_t last, int32_t c1,
                      int32_t c2) {
  const CoreHeader* h = nullptr;
  if (int32_t status = searchStatus(f, a, first, last, h); status != 0) return status;
  // Columns outside the record would compare words of other records or past the page.
  if (c1 < 1 || c1 > c2 || c2 > h->width) return -2;
  if (last < first) return 0;
  return scanRecords(*h, first, last, [value, c1, c2](const int32_t* words) {
    return std::find(words + c1 - 1, words + c2, value) != words + c2;
  });
}

int32_t CoreBisect(int32_t f, int32_t a, int32_t key, int32_t first, int32_t last) {
  const CoreHeader* h = nullptr;
  if (int32_t status = searchStatus(f, a, first, last, h); status != 0) return status;
  // With LAST below FIRST record LAST may lie before record 1.
  if (last < first) return 0;
  if (firstWord(*h, first) == key) return first;
  if (firstWord(*h, last) == key) return last;
  int64_t lo = first;
  int64_t hi = last;
  int64_t prev = -99;
  for (;;) {
    const int64_t mid = (lo + hi) / 2 + (lo + hi) % 2;
    if (mid == prev) return 0;
    const int32_t sign = CoreCompare(f - 1, a - 1, static_cast<int32_t>((mid - 1) / h->perPage),
                                     static_cast<int32_t>(mid), key);
    if (sign == 0) return static_cast<int32_t>(mid);
    if (sign < 0) {
      hi = mid;
    } else {
      lo = mid;
    }
    prev = mid;
  }
}

void CoreFreeFile(int32_t f) {
  if (f < 0) {
    for (int32_t g = 1; g <= kCoreFiles; ++g) CoreFreeFile(g);
    return;
  }
  if (!fileInRange(f)) return;
  releaseArrays(f, 1);
  CORSTO.count(f) = 0;
}

void CoreFreeFrom(int32_t f, int32_t a) {
  if (!fileInRange(f) || !arrayInRange(a)) return;
  releaseArrays(f, a);
  CORSTO.count(f) = a - 1;
}

void MEMFNO(int32_t& f) {
  CORFRE.fill(0);
  for (int32_t s = 1; s <= SlotTable::kSlots; ++s) {
    const int32_t kept = INCFTB.storeFile(s);
    if (SLTTAB.key(s) != 0 && fileInRange(kept)) CORFRE[static_cast<size_t>(kept - 1)] = 1;
  }
  for (f = 2; f <= kCoreFiles; ++f) {
    if (CORFRE[static_cast<size_t>(f - 1)] == 0) return;
  }
  f = kCoreFiles + 1;
}

}  // namespace kvr
