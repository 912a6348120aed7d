// DIPNR and DIPER: the values of a results attribute.

#include "dbinterface/dipnr.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/elnord.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/ldsearch.h"
#include "dbinterface/reslvl.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"

namespace kvr {
namespace {

constexpr std::string_view kNodalLoader = "DIPNR ";
constexpr std::string_view kElementLoader = "DIPER ";
constexpr std::string_view kInvalidNode = "INVALID NODE FOUND, RESULTS DATA WILL BE IGNORED";

constexpr int32_t kValuesClass = 100;
constexpr int32_t kStoredNumbering = 1;

// Results types.
constexpr int32_t kNodalGroups = 2;
constexpr int32_t kNodeValues = 3;
constexpr int32_t kPointValues = 4;

// Locations of 299 and the codes of the loaders, shown under "DILIM ".
constexpr int32_t kNoEntities = 9100;
constexpr int32_t kRecordsNotNodes = 9200;
constexpr int32_t kNodalHeaderFault = 236;
constexpr int32_t kNodalDataFault = 237;
constexpr int32_t kNoNodalResults = 249;
constexpr int32_t kElementHeaderFault = 241;
constexpr int32_t kPointFault = 242;
constexpr int32_t kElementDataFault = 243;
constexpr int32_t kNoElementResults = 251;
constexpr int32_t kEntryTooLarge = 262;

constexpr int32_t kFullHeadWords = 7;
constexpr int32_t kShortHeadWords = 2;
constexpr int32_t kValueRecordWords = 3;    // tag, id word, NUMRES
constexpr int32_t kPointRecordWords = 5;    // tag, point id, x, y, z
constexpr int32_t kPointWords = 3;          // x, y, z stored after the point id
constexpr int32_t kNodalHeaderWords = 6;
constexpr int32_t kElementHeaderWords = 10;
constexpr int32_t kTableVariants = 5;       // DIPER looks among the first 5 variants
constexpr int32_t kMostValueWords = 2 * kSelectionComponents * kMaxWordsPerReal;

// Reads the next WORDS of the current unit's stream; false when they cannot be read. The
// loaders report their own code for each kind of record.
bool readWords(std::span<int32_t> words) {
  int32_t flag = 0;
  TMPRD(words, DISTAT.currentUnit, flag);
  return flag == 0;
}

// The variant of ID in VARIANTS, or none.
const VariantRow* findVariant(std::span<const VariantRow> variants, int32_t id) {
  for (const VariantRow& v : variants) {
    if (v[0] == id) return &v;
  }
  return nullptr;
}

// The variant id of an entity: 1 where the stream gives 0 or less.
int32_t variantId(int32_t word) { return word <= 0 ? 1 : word; }

// The value words of a group of VARIANT (V x w); -1 for a count no record can carry.
int32_t valueWords(const VariantRow* variant) {
  if (variant == nullptr) return -1;
  const int64_t words = int64_t{(*variant)[1]} * loaderWordsPerReal();
  return words >= 0 && words <= kMostValueWords ? static_cast<int32_t>(words) : -1;
}

// The words of GROUPS groups of GROUPWORDS words, held above a page once they exceed one.
int64_t bodyWords(int64_t groups, int32_t groupWords) {
  return std::min<int64_t>(groups, kLargestPageWords + 1) * groupWords;
}

// The pages of a values dataset. In a plain model they are built in area 1 of LDPAGE and
// written as they fill. In an assembly the walk opens the components' databases in turn
// and reads their pages into LDPAGE at the components' page sizes: the pages are then
// built in buffers of their own at the assembly's page size, held, and written into the
// assembly's database when the walk is back there.
class ValuePages {
 public:
  ValuePages(std::span<int32_t> ldpage, std::span<int32_t> ldscr, bool held, int32_t pageSize)
      : ldscr_(ldscr), held_(held), size_(std::clamp(pageSize, 0, kLargestPageWords)) {
    if (held_) {
      begin();
    } else {
      direct_.emplace(ldpage, ldscr, kValuesClass);
      area_ = ldpage.first(kLargestPageWords);
    }
  }

  int32_t pageSize() const { return held_ ? size_ : direct_->pageSize(); }
  int32_t lastUsed() const { return held_ ? lastUsed_ : direct_->lastUsed(); }
  int32_t& word(int32_t k) { return area()[static_cast<std::size_t>(k - 1)]; }
  // Words K to K + N - 1 of the page being built, which the fit test keeps within it.
  std::span<int32_t> words(int32_t k, int32_t n) {
    return area().subspan(static_cast<std::size_t>(k - 1), static_cast<std::size_t>(n));
  }

  int32_t store(int32_t n) {
    if (!held_) return direct_->store(n);
    const int32_t q = lastUsed_ + 1;
    lastUsed_ += n;
    return q;
  }

  void startNewPage() {
    if (!held_) return direct_->startNewPage();
    lastUsedOf_.push_back(lastUsed_);
    begin();
  }

  // Writes the pages, the last with next page -1, and answers the first. Held pages take
  // their numbers from the database open now.
  int32_t finish() {
    if (!held_) {
      direct_->finish();
      return direct_->firstPage();
    }
    lastUsedOf_.push_back(lastUsed_);
    const std::size_t n = pages_.size();
    std::vector<int32_t> numbers(n), freeHeads(n);
    for (std::size_t i = 0; i < n; ++i) PGNEW(ldscr_, kValuesClass, numbers[i], freeHeads[i]);
    for (std::size_t i = 0; i < n; ++i) {
      const int32_t next = i + 1 < n ? numbers[i + 1] : kLastLoaderPage;
      RECPK5(pages_[i], 1, numbers[i], kValuesClass, lastUsedOf_[i], next, freeHeads[i]);
      PAGWR(kValuesClass, numbers[i], pages_[i]);
    }
    return numbers.front();
  }

 private:
  std::span<int32_t> area() { return held_ ? std::span<int32_t>(pages_.back()) : area_; }
  void begin() {
    pages_.emplace_back(static_cast<std::size_t>(size_), 0);
    lastUsed_ = DBLEVL.pageHeaderWords;
  }

  std::span<int32_t> ldscr_;
  bool held_;
  int32_t size_;
  std::optional<LoaderPages> direct_;
  std::span<int32_t> area_;
  std::vector<std::vector<int32_t>> pages_;
  std::vector<int32_t> lastUsedOf_;
  int32_t lastUsed_ = 0;
};

// The walk over the stored nodes or elements: the open model's dataset, or in an assembly
// that of each component in turn. The records of the attribute the loader serves stay in
// CTLREC across the walk: the components' databases replace them while they are open.
class EntityWalk {
 public:
  EntityWalk(std::span<int32_t> ldpage, std::span<int32_t> work, int32_t type)
      : ldpage_(ldpage),
        work_(work.first(std::min<std::size_t>(work.size(), kLargestPageWords))),
        type_(type),
        assembly_(DBLEVL.numberingMode != kStoredNumbering),
        homePageSize_(DBLEVL.dataPageSize) {}

  bool assembly() const { return assembly_; }
  int32_t homePageSize() const { return homePageSize_; }
  EntryCursor& cursor() { return *cursor_; }

  // Stands on the first entity; false when the model, or the first component of an
  // assembly, has no dataset to walk, or the component cannot be opened.
  bool start() {
    if (assembly_) {
      saved_ = CTLREC;
      walking_ = true;
      if (!step()) return false;
    }
    cursor_.emplace(ldpage_, type_);
    return !cursor_->missing();
  }

  // Moves on to the first entity of the next component that has one; false at the end of
  // the walk, and always in a plain model.
  bool nextComponent() {
    while (step()) {
      cursor_.emplace(ldpage_, type_);
      if (cursor_->atEntry()) return true;
    }
    return false;
  }

  // Ends a walk of an assembly: the assembly opened again and its records back in CTLREC.
  // False when it cannot be opened.
  bool end() {
    if (!walking_) return true;
    walking_ = false;
    int32_t level = -1, results = 0, second = 0, done = 0, error = 0;
    RESLVL(work_, work_, 0, level, results, second, done, error);
    if (error != 0) return false;
    CTLREC = saved_;
    return true;
  }

 private:
  // The next leaf of the walk; false when there is none or the walk stopped. The walk is
  // not stepped again after that: a level of 0 would start it anew.
  bool step() {
    if (!assembly_ || over_) return false;
    int32_t results = 0, second = 0, done = 0, error = 0;
    RESLVL(work_, work_, 0, level_, results, second, done, error);
    over_ = done != 0 || error != 0;
    return !over_;
  }

  std::span<int32_t> ldpage_;
  std::span<int32_t> work_;
  int32_t type_;
  bool assembly_;
  int32_t homePageSize_;
  std::optional<EntryCursor> cursor_;
  CtlRec saved_;
  bool walking_ = false;
  bool over_ = false;
  int32_t level_ = 0;
};

// The words of a full head after the id and sequence number; equal layouts let an entry
// that follows its predecessor take a short head.
struct Layout {
  int32_t layers = 1;
  int32_t points = 1;
  int32_t variant = 1;
  int32_t further1 = 0;  // node: the further word; element: minus ILOCAL
  int32_t further2 = 0;  // node: 0; element: IGFLAG
  bool operator==(const Layout&) const = default;
};

// The entries of a values dataset and the run of short heads.
class ValueEntries {
 public:
  explicit ValueEntries(ValuePages& pages) : pages_(pages) {}

  int32_t count() const { return count_; }

  // Places the entry of the entity of SEQUENCE with LAYOUT and BODY words of groups after
  // the last one, or with a full head on a new page when it does not fit there. Answers
  // the word of its first group, or 0 after 262 when it would not fit an empty page.
  int32_t begin(const Layout& layout, int32_t sequence, int64_t body, int32_t& ierr) {
    short_ = previous_.has_value() && layout == *previous_ &&
             int64_t{sequence} == int64_t{previousSequence_} + 1;
    int64_t e = (short_ ? kShortHeadWords : kFullHeadWords) + body;
    if (pages_.lastUsed() + e > pages_.pageSize()) {
      short_ = false;
      e = kFullHeadWords + body;
      if (DBLEVL.pageHeaderWords + e > pages_.pageSize()) {
        reportLoaderError(ierr, kEntryTooLarge);
        return 0;
      }
      pages_.startNewPage();
    }
    q_ = pages_.lastUsed() + 1;
    length_ = static_cast<int32_t>(e);
    layout_ = layout;
    sequence_ = sequence;
    return q_ + (short_ ? kShortHeadWords : kFullHeadWords);
  }

  // Writes the head of the entry begun for ID and counts its words as used.
  void end(int32_t id) {
    pages_.word(q_) = id;
    pages_.word(q_ + 1) = sequence_;
    if (!short_) {
      pages_.word(q_ + 2) = layout_.layers;
      pages_.word(q_ + 3) = layout_.points;
      pages_.word(q_ + 4) = layout_.variant;
      pages_.word(q_ + 5) = layout_.further1;
      pages_.word(q_ + 6) = layout_.further2;
    }
    pages_.store(length_);
    previous_ = layout_;
    previousSequence_ = sequence_;
    ++count_;
  }

  // Clears the words of an entry begun and not ended, so the page stays as if it had
  // never been begun.
  void drop() {
    for (int32_t k = q_; k < q_ + length_; ++k) pages_.word(k) = 0;
  }

 private:
  ValuePages& pages_;
  std::optional<Layout> previous_;
  int32_t previousSequence_ = 0;
  Layout layout_;
  bool short_ = false;
  int32_t q_ = 0;
  int32_t length_ = 0;
  int32_t sequence_ = 0;
  int32_t count_ = 0;
};

// Finds node ID from the cursor on, going on in the next components of an assembly.
NodeMatch matchNode(EntityWalk& walk, int32_t id) {
  for (;;) {
    const NodeMatch m = findNode(walk.cursor(), id);
    if (m != NodeMatch::kPastEnd || !walk.nextComponent()) return m;
  }
}

// Finds the element of ID that the filters match, from the cursor on, going on in the
// next components of an assembly.
bool matchElement(EntityWalk& walk, std::span<const int32_t> page, int32_t id,
                  int32_t typeFilter, int32_t attributeFilter) {
  for (;;) {
    if (findElement(walk.cursor(), page, id, typeFilter, attributeFilter)) return true;
    if (!walk.nextComponent()) return false;
  }
}

// The node of a nodal record is looked up: true when the cursor stands on it. A node the
// walk has passed gives the information line and its WORDS value words are read and
// dropped; a node past the last gives 238.
bool nodeOfRecord(EntityWalk& walk, int32_t id, int32_t words, bool& skipped, int32_t& ierr) {
  skipped = false;
  const NodeMatch m = matchNode(walk, id);
  if (m == NodeMatch::kFound) return true;
  if (m == NodeMatch::kPastEnd) {
    reportLoaderError(ierr, kNodeNotFound, id);
    return false;
  }
  reportSkipped(kInvalidNode, id);
  std::array<int32_t, kMostValueWords> dropped{};
  if (!readWords(std::span<int32_t>(dropped).first(static_cast<std::size_t>(words)))) {
    reportLoaderError(ierr, kNodalDataFault);
    return false;
  }
  skipped = true;
  return false;
}

// IRTYPE 1: one record per node, variant 1, one group of the values.
void loadNodeRecords(EntityWalk& walk, ValuePages& pages, ValueEntries& entries,
                     std::span<const VariantRow> variants, int32_t& ierr) {
  const VariantRow* variant = findVariant(variants, 1);
  const int32_t words = valueWords(variant);
  if (words < 0) return reportLoaderError(ierr, kNodalHeaderFault);
  const Layout layout;
  std::array<int32_t, kValueRecordWords> r{};
  for (;;) {
    if (!readWords(r)) return reportLoaderError(ierr, kNodalDataFault);
    if (r[0] == kTagEnd) return;
    // A count other than V would lay the values out by the wrong variant.
    if (r[2] != (*variant)[1]) return reportLoaderError(ierr, kNodalDataFault);
    const int32_t id = r[1];
    bool skipped = false;
    if (!nodeOfRecord(walk, id, words, skipped, ierr)) {
      if (skipped) continue;
      return;
    }
    const int32_t p = entries.begin(layout, walk.cursor().nodeSequence(), words, ierr);
    if (p == 0) return;
    if (!readWords(pages.words(p, words))) return reportLoaderError(ierr, kNodalDataFault);
    entries.end(id);
    walk.cursor().next();
  }
}

// IRTYPE 2: per node a header, then layers x points records of the id word and values.
void loadNodeGroups(EntityWalk& walk, ValuePages& pages, ValueEntries& entries,
                    std::span<const VariantRow> variants, int32_t& ierr) {
  std::array<int32_t, kNodalHeaderWords> h{};
  std::array<int32_t, kValueRecordWords> r{};
  for (;;) {
    if (!readWords(h)) return reportLoaderError(ierr, kNodalHeaderFault);
    if (h[0] == kTagEnd) return;
    const int32_t id = h[1];
    const Layout layout{std::max(h[3], 1), std::max(h[2], 1), variantId(h[4]), h[5], 0};
    const VariantRow* variant = findVariant(variants, layout.variant);
    const int32_t words = valueWords(variant);
    if (words < 0) return reportLoaderError(ierr, kNodalHeaderFault);
    const int64_t groups = int64_t{layout.layers} * layout.points;
    int32_t p = 0;  // the next group's word once the entry is begun
    for (int64_t g = 0; g < groups; ++g) {
      if (!readWords(r)) return reportLoaderError(ierr, kNodalDataFault);
      if (r[0] == kTagEnd) {
        // The entity cut short by the end of the dataset is not stored.
        if (p != 0) entries.drop();
        return;
      }
      if (r[2] != (*variant)[1]) return reportLoaderError(ierr, kNodalDataFault);
      if (p == 0) {
        bool skipped = false;
        if (!nodeOfRecord(walk, id, words, skipped, ierr)) {
          if (skipped) continue;
          return;
        }
        p = entries.begin(layout, walk.cursor().nodeSequence(), bodyWords(groups, 1 + words),
                          ierr);
        if (p == 0) return;
      }
      pages.word(p) = r[1];
      if (!readWords(pages.words(p + 1, words))) return reportLoaderError(ierr, kNodalDataFault);
      p += 1 + words;
    }
    if (p != 0) {
      entries.end(id);
      walk.cursor().next();
    }
  }
}

// The value record of a group: read and its NUMRES checked against V.
bool readValueRecord(std::span<int32_t, kValueRecordWords> r, const VariantRow& variant,
                     int32_t& ierr) {
  if (readWords(r) && r[2] == variant[1]) return true;
  reportLoaderError(ierr, kElementDataFault);
  return false;
}

// The first page of the values of a derived record: allocated once, at the first header
// that asks for it, in a plain model; written at the end as one empty page.
class DerivedPage {
 public:
  void allocate(std::span<int32_t> ldscr) {
    if (page_ == 0) PGNEW(ldscr, kValuesClass, page_, freeHead_);
  }
  // Writes the page through area 1 of LDPAGE, whose pages are written, and answers it;
  // -1 when none was allocated.
  int32_t write(std::span<int32_t> ldpage) {
    if (page_ == 0) return -1;
    const std::size_t size =
        static_cast<std::size_t>(std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords));
    const std::span<int32_t> area = ldpage.first(std::min(size, ldpage.size()));
    std::fill(area.begin(), area.end(), 0);
    RECPK5(area, 1, page_, kValuesClass, DBLEVL.pageHeaderWords, kLastLoaderPage, freeHead_);
    PAGWR(kValuesClass, page_, area);
    return page_;
  }

 private:
  int32_t page_ = 0;
  int32_t freeHead_ = 0;
};

// The element headers and their groups, by IRTYPE.
void loadElementGroups(std::span<int32_t> ldpage, std::span<int32_t> ldscr, EntityWalk& walk,
                       ValuePages& pages, ValueEntries& entries,
                       std::span<const VariantRow> variants, int32_t irtype, int32_t& derived,
                       DerivedPage& derivedPage, int32_t& ierr) {
  const std::span<const VariantRow> table =
      variants.first(std::min<std::size_t>(variants.size(), kTableVariants));
  std::array<int32_t, kElementHeaderWords> h{};
  std::array<int32_t, kValueRecordWords> r{};
  std::array<int32_t, kPointRecordWords> point{};
  std::array<int32_t, kMaxElementNodes> order{};
  // The values of one layer by record node.
  std::array<std::array<int32_t, kMostValueWords>, kMaxElementNodes> byNode{};
  int32_t orderType = 0;
  bool ordered = false;
  for (;;) {
    if (!readWords(h)) return reportLoaderError(ierr, kElementHeaderFault);
    if (h[0] == kTagEnd) return;
    const int32_t id = h[1];
    const int32_t itype = h[2];
    const int32_t indicator = h[5];
    const int32_t npoint = h[7];
    if (irtype == kNodeValues && indicator >= 1 && npoint >= 1) {
      derived = 1;
      if (!walk.assembly()) derivedPage.allocate(ldscr);
    }
    Layout layout{std::max(h[6], 1), 1, variantId(h[4]), h[8], h[9]};
    const VariantRow* variant = findVariant(table, layout.variant);
    const int32_t words = valueWords(variant);
    if (words < 0) return reportLoaderError(ierr, kElementHeaderFault);
    if (!matchElement(walk, ldpage, id, itype, h[3])) {
      return reportLoaderError(ierr, kElementNotFound);
    }
    const EntryCursor& c = walk.cursor();
    const int32_t type = c.elementType();
    const bool points = irtype == kPointValues && h[9] == 0;
    int32_t groupWords = 1 + words;
    if (irtype == kNodeValues) {
      // The records per layer, counted as the record routine counted them, must be one
      // per node of the element matched: else the groups would pair values with the
      // wrong nodes and the stream would be read out of step.
      const int32_t sent = indicator == 0 && itype != 0 ? ELNCNT(itype) : indicator;
      const int32_t n = ELNCNT(type);
      if (repeatCount(sent, 1) != n || n > kMaxElementNodes) {
        return reportNotDetected(ierr, kElementLoader, kRecordsNotNodes);
      }
      layout.points = n;
      if (!ordered || type != orderType) {
        order.fill(0);
        ELNORD(1, type, order);
        orderType = type;
        ordered = true;
      }
    } else if (irtype == kPointValues) {
      layout.points = repeatCount(npoint, 1);
      if (points) groupWords += kPointWords;
    }
    const int64_t groups = int64_t{layout.layers} * layout.points;
    int32_t p = entries.begin(layout, c.elementSequence(), bodyWords(groups, groupWords), ierr);
    if (p == 0) return;

    for (int32_t layer = 0; layer < layout.layers; ++layer) {
      if (irtype == kNodeValues) {
        const int32_t n = layout.points;
        for (int32_t k = 0; k < n; ++k) {
          auto& values = byNode[static_cast<std::size_t>(k)];
          if (!readValueRecord(r, *variant, ierr)) return;
          if (!readWords(std::span<int32_t>(values).first(static_cast<std::size_t>(words)))) {
            return reportLoaderError(ierr, kElementDataFault);
          }
        }
        for (int32_t k = 1; k <= n; ++k) {
          const int64_t node = TOPNOD(ldpage, c.q(), k);
          pages.word(p) = static_cast<int32_t>(std::min<int64_t>(node < 0 ? -node : node, INT32_MAX));
          const int32_t from = order[static_cast<std::size_t>(k - 1)];
          for (int32_t j = 0; j < words; ++j) {
            pages.word(p + 1 + j) =
                from >= 1 && from <= n
                    ? byNode[static_cast<std::size_t>(from - 1)][static_cast<std::size_t>(j)]
                    : 0;
          }
          p += groupWords;
        }
        continue;
      }
      for (int32_t g = 0; g < layout.points; ++g) {
        if (!readValueRecord(r, *variant, ierr)) return;
        int32_t at = p;
        pages.word(at++) = r[1];
        if (irtype == kPointValues) {
          // Every group carries its point record, whatever IGFLAG says; its id and
          // coordinates are kept only under IGFLAG 0.
          if (!readWords(point)) return reportLoaderError(ierr, kPointFault);
          if (points) {
            pages.word(p) = point[1];
            for (int32_t j = 0; j < kPointWords; ++j) pages.word(at++) = point[2 + j];
          }
        }
        if (!readWords(pages.words(at, words))) return reportLoaderError(ierr, kElementDataFault);
        p += groupWords;
      }
    }
    entries.end(id);
    walk.cursor().next();
  }
}

}  // namespace

void DIPNR(std::span<int32_t> ldpage, std::span<int32_t> ldscr,
           std::span<const VariantRow> variants, int32_t irtype, int32_t& first, int32_t& ierr) {
  ierr = 0;
  first = -1;
  EntityWalk walk(ldpage, ldscr, kNodeDataset);
  if (!walk.start()) {
    walk.end();
    return reportNotDetected(ierr, kNodalLoader, kNoEntities);
  }
  ValuePages pages(ldpage, ldscr, walk.assembly(), walk.homePageSize());
  ValueEntries entries(pages);
  if (irtype == kNodalGroups) {
    loadNodeGroups(walk, pages, entries, variants, ierr);
  } else {
    loadNodeRecords(walk, pages, entries, variants, ierr);
  }
  const bool back = walk.end();
  if (ierr != 0) return;
  if (!back) return reportNotDetected(ierr, kNodalLoader, kNoEntities);
  if (entries.count() == 0) return reportLoaderError(ierr, kNoNodalResults);
  first = pages.finish();
}

void DIPER(std::span<int32_t> ldpage, std::span<int32_t> ldscr,
           std::span<const VariantRow> variants, int32_t irtype, int32_t& first,
           int32_t& derived, int32_t& derivedFirst, int32_t& ierr) {
  ierr = 0;
  first = -1;
  derived = 0;
  derivedFirst = -1;
  EntityWalk walk(ldpage, ldscr, kElementDataset);
  if (!walk.start()) {
    walk.end();
    return reportNotDetected(ierr, kElementLoader, kNoEntities);
  }
  ValuePages pages(ldpage, ldscr, walk.assembly(), walk.homePageSize());
  ValueEntries entries(pages);
  DerivedPage derivedPage;
  loadElementGroups(ldpage, ldscr, walk, pages, entries, variants, irtype, derived, derivedPage,
                    ierr);
  const bool back = walk.end();
  if (ierr != 0) return;
  if (!back) return reportNotDetected(ierr, kElementLoader, kNoEntities);
  if (entries.count() == 0) return reportLoaderError(ierr, kNoElementResults);
  first = pages.finish();
  derivedFirst = derivedPage.write(ldpage);
}

}  // namespace kvr
