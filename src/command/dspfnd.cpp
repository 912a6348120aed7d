#include "command/dspfnd.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/dbwords.h"
#include "modeldb/recwords.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kStateWord = 1;
constexpr int32_t kInUse = 1;
constexpr int32_t kDeleted = -1;
constexpr int32_t kEndOfList = 0;
constexpr int32_t kTypeWord = 3;          // of a montage, shape or coordinate-system record
constexpr int32_t kChainedTypeWord = 2;   // of a line-object or symbol-set record
constexpr int32_t kLastChainedType = 2;   // a higher record type ends the list
constexpr int32_t kChainedRecordWords = kChainedNameWord + kObjectNameCodes - 1;
constexpr int32_t kFirstShape = 1;
constexpr int32_t kLastShape = 4;
constexpr int32_t kFirstSystem = 11;
constexpr int32_t kLastSystem = 14;
constexpr int32_t kShapeIndexCorrupt = 320;  // E3320

int32_t pageSize() { return std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords); }
int32_t headerWords() { return std::clamp(DBLEVL.pageHeaderWords, 0, pageSize()); }

// The pages the data file holds: a page number beyond them cannot belong to a dataset.
int32_t dataPages() {
  const DbFileSlot& data = DBPARM.fileSlot(kDataFileSlot);
  const int64_t pages = data.unit >= 0 ? io::unitRecords(data.unit) : data.nextPage - 1;
  return static_cast<int32_t>(std::clamp<int64_t>(pages, 0, 1 << 30));
}

// The page chain of a dataset, read page by page into one page buffer.
class PageChain {
 public:
  PageChain(int32_t key, std::span<int32_t> work) : key_(key), bound_(dataPages()) {
    const auto p = static_cast<std::size_t>(pageSize());
    if (work.size() >= p) {
      page_ = work.first(p);
    } else {
      own_.assign(p, 0);
      page_ = own_;
    }
    DSDIRF(key, next_);
  }

  // Reads the next page; false at the end of the chain or where it is damaged.
  bool next() {
    if (next_ <= 0 || page_.empty()) return false;
    if (next_ > bound_) return damage();
    if (seen_.empty()) seen_.assign(static_cast<std::size_t>(bound_) + 1, false);
    const auto at = static_cast<std::size_t>(next_);
    if (seen_[at]) return damage();
    seen_[at] = true;
    PAGRD(key_, next_, page_);
    next_ = RECW3(page_, 1);
    return true;
  }

  bool damaged() const { return damaged_; }
  std::span<const int32_t> page() const { return page_; }

 private:
  bool damage() {
    damaged_ = true;
    return false;
  }

  int32_t key_;
  int32_t bound_;
  int32_t next_ = 0;
  bool damaged_ = false;
  std::vector<int32_t> own_;
  std::span<int32_t> page_;
  std::vector<bool> seen_;
};

WalkEnd endOf(const PageChain& chain) {
  return chain.damaged() ? WalkEnd::Damaged : WalkEnd::ListEnd;
}

int32_t wordAt(std::span<const int32_t> words, int32_t k) {
  return k >= 1 && k <= static_cast<int32_t>(words.size()) ? words[static_cast<std::size_t>(k - 1)]
                                                             : 0;
}

// The 8 codes of a name: those of NAME, blank-padded or cut.
std::array<int32_t, kObjectNameCodes> nameCodes(std::span<const int32_t> name) {
  std::array<int32_t, kObjectNameCodes> codes;
  codes.fill(kBlankCode);
  std::copy_n(name.begin(), std::min(name.size(), codes.size()), codes.begin());
  return codes;
}

bool sameName(std::span<const int32_t> record, int32_t nameWord,
              const std::array<int32_t, kObjectNameCodes>& name) {
  for (int32_t k = 0; k < kObjectNameCodes; ++k) {
    if (wordAt(record, nameWord + k) != name[static_cast<std::size_t>(k)]) return false;
  }
  return true;
}

// The position of NAME's last non-blank code (its first 8).
int32_t nameLength(std::span<const int32_t> name) {
  int32_t n = std::min<int32_t>(static_cast<int32_t>(name.size()), kObjectNameCodes);
  while (n > 0 && name[static_cast<std::size_t>(n - 1)] == kBlankCode) --n;
  return n;
}

// The search by name or abbreviation of SHPFND and LINFND.
class NameSearch {
 public:
  NameSearch(std::span<const int32_t> name, std::span<int32_t> matched)
      : name_(name), length_(nameLength(name)), matched_(matched) {
    std::fill(matched_.begin(), matched_.end(), kBlankCode);
  }

  // Compares the stored name at NAMEWORD of RECORD; true on an exact match.
  bool compare(std::span<const int32_t> record, int32_t nameWord, int32_t type) {
    int32_t r = -1;
    CODCMP(record, nameWord, nameWord + kObjectNameCodes - 1, name_, 1, length_, r);
    if (r == 0) {
      take(record, nameWord, type);
      result_ = 0;
      return true;
    }
    if (r > 0 && ++abbreviations_ == 1) {
      take(record, nameWord, type);
      result_ = r;
    }
    return false;
  }

  int32_t result() const {
    if (result_ == 0) return 0;
    return abbreviations_ > 1 ? -2 : abbreviations_ == 1 ? result_ : -1;
  }
  int32_t type() const { return type_; }

 private:
  void take(std::span<const int32_t> record, int32_t nameWord, int32_t type) {
    for (int32_t k = 0; k < kObjectNameCodes && k < static_cast<int32_t>(matched_.size()); ++k) {
      matched_[static_cast<std::size_t>(k)] = wordAt(record, nameWord + k);
    }
    type_ = type;
  }

  std::span<const int32_t> name_;
  int32_t length_;
  std::span<int32_t> matched_;
  int32_t abbreviations_ = 0;
  int32_t result_ = -1;
  int32_t type_ = 0;
};

}  // namespace

int32_t shapeRecordWords() { return 20 * loaderWordsPerReal() + 16; }

WalkEnd walkFixedRecords(int32_t key, int32_t recordWords, std::span<int32_t> work,
                         const RecordVisit& visit) {
  PageChain chain(key, work);
  const int32_t p = pageSize();
  if (recordWords < 1) return WalkEnd::ListEnd;
  while (chain.next()) {
    const std::span<const int32_t> page = chain.page();
    for (int32_t q = headerWords() + 1; q + recordWords - 1 <= p; q += recordWords) {
      const std::span<const int32_t> record =
          page.subspan(static_cast<std::size_t>(q - 1), static_cast<std::size_t>(recordWords));
      const int32_t state = record[kStateWord - 1];
      if (state == kDeleted) continue;
      if (state == kEndOfList) return WalkEnd::ListEnd;
      if (state != kInUse) return WalkEnd::Damaged;
      if (visit(record)) return WalkEnd::Stopped;
    }
  }
  return endOf(chain);
}

WalkEnd walkChainedRecords(int32_t key, std::span<int32_t> work, const RecordVisit& visit) {
  PageChain chain(key, work);
  const int32_t p = pageSize();
  while (chain.next()) {
    const std::span<const int32_t> page = chain.page();
    // Each step leads further into the page, so a page takes at most P steps.
    for (int32_t q = headerWords() + 1; q >= 1 && q + kChainedRecordWords - 1 <= p;) {
      const std::span<const int32_t> record = page.subspan(
          static_cast<std::size_t>(q - 1), static_cast<std::size_t>(kChainedRecordWords));
      const int32_t link = record[0];
      if (link == 0) return WalkEnd::ListEnd;
      if (link > 0) {
        if (record[kChainedTypeWord - 1] > kLastChainedType) return WalkEnd::ListEnd;
        if (visit(record)) return WalkEnd::Stopped;
      }
      const int32_t next = link == INT32_MIN ? 0 : std::abs(link);
      if (next <= q) break;
      q = next;
    }
  }
  return endOf(chain);
}

void LVLCHK(std::span<int32_t> context, int32_t level, int32_t& failed) {
  std::vector<int32_t> own;
  std::span<int32_t> buffer = context;
  if (buffer.size() < static_cast<std::size_t>(kLargestPageWords)) {
    own.assign(static_cast<std::size_t>(kLargestPageWords), 0);
    buffer = own;
  }
  const auto& name = DBLEVL.levelName(level);
  int32_t status = 1;
  TLBOPN(buffer, name, static_cast<int32_t>(name.size()), status);
  failed = status == 0 ? 0 : 1;
}

void MONFND(std::span<const int32_t> name, std::span<int32_t> work, int32_t& status) {
  status = 0;
  const bool levels = DBLEVL.levelMode == DbLevl::kLevelMode;
  int32_t failed = 0;
  if (levels) {
    LVLCHK(work, 1, failed);
    if (failed != 0) {
      status = 2;
      return;
    }
  }
  const auto wanted = nameCodes(name);
  const WalkEnd end = walkFixedRecords(kMontageDataset, kMontageRecordWords, work,
                                       [&](std::span<const int32_t> record) {
                                         return record[kTypeWord - 1] == kMontageRecordType &&
                                                sameName(record, kMontageNameWord, wanted);
                                       });
  status = end == WalkEnd::Stopped ? 0 : end == WalkEnd::ListEnd ? 1 : 2;
  if (levels && status != 2) LVLCHK(work, 2, failed);
}

void SYMFND(std::span<const int32_t> name, std::span<int32_t> work, int32_t& status) {
  const auto wanted = nameCodes(name);
  const WalkEnd end = walkChainedRecords(kSymbolDataset, work, [&](std::span<const int32_t> record) {
    return sameName(record, kChainedNameWord, wanted);
  });
  status = end == WalkEnd::Stopped ? 0 : 1;
}

void SHPFND(std::span<int32_t> work, int32_t selection, std::span<const int32_t> name,
            int32_t& result, std::span<int32_t> matched, int32_t& type, int32_t& failure) {
  failure = 0;
  const int32_t low = selection == 2 ? kFirstSystem : kFirstShape;
  const int32_t high = selection == 2 ? kLastSystem : kLastShape;
  NameSearch search(name, matched);
  const WalkEnd end =
      walkFixedRecords(kShapeDataset, shapeRecordWords(), work, [&](std::span<const int32_t> record) {
        const int32_t t = record[kTypeWord - 1];
        return t >= low && t <= high && search.compare(record, kShapeNameWord, t);
      });
  result = search.result();
  type = search.type();
  if (end == WalkEnd::Damaged) {
    MSGE3(kShapeIndexCorrupt);
    failure = 1;
    result = -1;
  }
}

void LINFND(std::span<int32_t> work, std::span<const int32_t> name, int32_t& result,
            std::span<int32_t> matched) {
  NameSearch search(name, matched);
  walkChainedRecords(kLineObjectDataset, work, [&](std::span<const int32_t> record) {
    return search.compare(record, kChainedNameWord, 0);
  });
  result = search.result();
}

}  // namespace kvr
