// LCFIND, LCADD and the registration of a dataset's load case.
#include "modeldb/lcfind.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>
#include <string_view>

#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dbopen.h"
#include "modeldb/dicnt.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kStateWord = 1;
constexpr int32_t kNameWord = 2;
constexpr int32_t kNumberWord = 12;
constexpr int32_t kInUse = 1;
constexpr int32_t kFree = 0;

// IDXERR codes and values.
constexpr int32_t kCodeSearch = 13;
constexpr int32_t kCodeWarning = 3;
constexpr int32_t kNoModelToSearch = 4001;
constexpr int32_t kNoModelToAdd = 3801;
constexpr int32_t kLoadCaseExists = 3802;

// A model record of state 2 takes state 3 with its first registered dataset.
constexpr int32_t kStateBeforeLoadCase = 2;
constexpr int32_t kStateWithLoadCase = 3;

constexpr int32_t kTypeTextCodes = 10;
constexpr int32_t kLastNamedType = 3;

using LoadCaseName = std::array<int32_t, kNameCodes>;

// The first 6 codes of NAME, blank-padded.
LoadCaseName sixCodes(std::span<const int32_t> name) {
  LoadCaseName codes;
  codes.fill(kBlankCode);
  std::copy_n(name.begin(), std::min(name.size(), codes.size()), codes.begin());
  return codes;
}

std::span<int32_t> storedName() {
  return CTLREC.record(kLoadCaseClass).subspan(kNameWord - 1, kNameCodes);
}

void giveName(std::span<const int32_t> name, std::span<int32_t> to) {
  std::copy_n(name.begin(), std::min(name.size(), to.size()), to.begin());
}

// The codes a load-case name is found by exactly: those before its first blank, blank
// after. A name "AB" is matched exactly by the token "AB" alone, and so is "AB CD".
LoadCaseName exactKey(std::span<const int32_t> codes) {
  LoadCaseName key;
  key.fill(kBlankCode);
  for (std::size_t j = 0; j < key.size() && j < codes.size() && codes[j] != kBlankCode; ++j) {
    key[j] = codes[j];
  }
  return key;
}

struct LoadCaseKeyHash {
  std::size_t operator()(const LoadCaseName& key) const {
    std::size_t h = 0;
    for (const int32_t c : key) h = h * 131 + static_cast<std::uint32_t>(c);
    return h;
  }
};

struct LoadCasePlace {
  int32_t page = 0;
  int32_t entry = 0;
};

// What the walks of the load-case list find, kept while the database stays open (that
// is, while databaseOpenings() stays): the entries in use by the key that matches them
// exactly, in list order, and the free entry that takes the next load case, or, with
// none free, the list's last page. Finding a load case exactly and adding one then read
// the pages they change, not the whole list. LCADD, the one writer of entries, keeps it
// true; a list walked up to an entry found beyond the free one (a damaged file) is read
// again from there, never further than the walks would go.
class LoadCaseIndex {
 public:
  // Brings the index up to the model record's list: built again after an open or a new
  // head page, continued past the entry added last.
  void refresh() {
    int32_t head = 0;
    G103W8(head);
    if (openings_ != databaseOpenings() || head != head_) rebuild(head);
    if (!settled_) walkOn();
  }

  // The first entry in use that TOKEN names exactly, of NUMBER unless it is -1.
  std::optional<LoadCasePlace> exact(const LoadCaseName& token, int32_t number) const {
    const auto it = byKey_.find(token);
    if (it == byKey_.end()) return std::nullopt;
    for (const Entry& e : it->second) {
      if (number == kAnyLoadCaseNumber || e.number == number) return e.place;
    }
    return std::nullopt;
  }

  const std::optional<LoadCasePlace>& freeEntry() const { return free_; }
  // Forgets everything: the next refresh walks the list again.
  void forget() { openings_ = ~uint64_t{0}; }
  int32_t lastPage() const { return last_; }

  // The load case NAME of NUMBER went into PLACE, the list's head then being HEAD.
  void added(LoadCasePlace place, std::span<const int32_t> name, int32_t number, int32_t head) {
    head_ = head;
    byKey_[exactKey(name)].push_back({place, number});
    from_ = place;
    settled_ = false;
  }

 private:
  struct Entry {
    LoadCasePlace place;
    int32_t number = 0;
  };

  void rebuild(int32_t head) {
    openings_ = databaseOpenings();
    head_ = head;
    byKey_.clear();
    free_.reset();
    last_ = 0;
    from_ = {head, 0};
    settled_ = head <= 0;
  }

  // Walks the list from the entry after FROM_ to its first free entry, as LCFIND does.
  void walkOn() {
    const LoadCasePlace from = from_;
    bool skipping = from.entry > 0;
    int32_t last = 0;
    free_.reset();
    const bool found = walkControlChain(kLoadCaseClass, from.page, last, [&](int32_t page,
                                                                             int32_t entry) {
      if (skipping) {
        if (page == from.page && entry <= from.entry) return ChainStep::Next;
        skipping = false;
      }
      const int32_t state = CTLREC.word(kLoadCaseClass, kStateWord);
      if (state == kFree) {
        free_ = LoadCasePlace{page, entry};
        return ChainStep::Stop;
      }
      if (state > 0) {
        byKey_[exactKey(storedName())].push_back(
            {{page, entry}, CTLREC.word(kLoadCaseClass, kNumberWord)});
      }
      return ChainStep::Next;
    });
    if (!found) free_.reset();
    last_ = last;
    settled_ = true;
  }

  uint64_t openings_ = ~uint64_t{0};
  int32_t head_ = 0;
  std::unordered_map<LoadCaseName, std::vector<Entry>, LoadCaseKeyHash> byKey_;
  std::optional<LoadCasePlace> free_;
  int32_t last_ = 0;
  LoadCasePlace from_;
  bool settled_ = true;
};

LoadCaseIndex& loadCaseIndex() {
  static LoadCaseIndex index;
  return index;
}

// The token LCFIND would look NAME up by, when the index can answer for it: a name token
// without blanks. Empty otherwise.
std::optional<LoadCaseName> indexedToken(std::span<const int32_t> name) {
  const LoadCaseName line = sixCodes(name);
  int32_t kind = kTokenNone, first = 1, last = 0, ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(line, 1, kNameCodes, kLexName, kind, first, last, ivalue, rvalue);
  if (kind == kTokenNone || first < 1 || last < first || last > kNameCodes) return std::nullopt;
  LoadCaseName token;
  token.fill(kBlankCode);
  for (int32_t j = first; j <= last; ++j) {
    const int32_t c = line[static_cast<std::size_t>(j - 1)];
    if (c == kBlankCode) return std::nullopt;
    token[static_cast<std::size_t>(j - first)] = c;
  }
  return token;
}

// The load case's first attribute record becomes the current record 106.
void loadFirstAttribute() {
  int32_t page = 0;
  G104W8(page);
  if (page <= 0) {
    // A record without an attribute page: nothing may be written through record 106.
    SPAIRS(kResultsClass, 0, 0);
    CTLREC.word(kResultsClass, kStateWord) = 0;
    return;
  }
  PAGRD(kResultsClass, page, PGCUR.page());
  CTLGET(kResultsClass, 1);
}

// The text that a type of 3 or below puts into words 35-44, as 10 codes.
std::array<int32_t, kTypeTextCodes> typeText(int32_t type) {
  const std::string_view text = type == 1   ? "TIME"
                                : type == 2 ? "FREQUENCY"
                                : type == 3 ? "LOAD"
                                            : "STATIC";
  std::array<int32_t, kTypeTextCodes> codes;
  codes.fill(kBlankCode);
  for (size_t k = 0; k < text.size(); ++k) codes[k] = codeOf(text[k]);
  return codes;
}

// The current record 104 is a load case in use that TOKEN names exactly, of NUMBER unless
// it is -1.
bool holds(const LoadCaseName& token, int32_t number) {
  return CTLREC.word(kLoadCaseClass, kStateWord) > 0 && exactKey(storedName()) == token &&
         (number == kAnyLoadCaseNumber || CTLREC.word(kLoadCaseClass, kNumberWord) == number);
}

// The load case at PLACE becomes the current record 104, its first attribute record the
// current record 106, as LCFIND leaves a load case it found.
void makeCurrent(LoadCasePlace place) {
  PAGRD(kLoadCaseClass, place.page, PGCUR.page());
  CTLGET(kLoadCaseClass, place.entry);
  loadFirstAttribute();
}

// LCFIND's exact answer for NAME of NUMBER: true when found exactly (then current). The
// index answers where it can; other names are looked up by the walk.
bool findExactly(std::span<const int32_t> name, int32_t number) {
  if (const std::optional<LoadCaseName> token = indexedToken(name);
      token && CTLREC.word(kModelClass, kStateWord) >= 1) {
    LoadCaseIndex& index = loadCaseIndex();
    index.refresh();
    std::optional<LoadCasePlace> place = index.exact(*token, number);
    if (place) {
      makeCurrent(*place);
      // An entry changed behind the index's back is not taken on its word: the list is
      // walked again.
      if (!holds(*token, number)) {
        index.forget();
        index.refresh();
        place = index.exact(*token, number);
        if (place) makeCurrent(*place);
      }
    }
    return place.has_value();
  }
  LoadCaseName full{};
  int32_t found = kLoadCaseMissing, position = 0;
  LCFIND(name, number, full, found, position);
  return found == kLoadCaseExact;
}

// The free entry the index names becomes the current record 104; false when the list
// has none. An entry the index takes for free that is not is answered by a new walk.
bool takeFreeEntry(LoadCaseIndex& index) {
  for (int32_t attempt = 0; attempt < 2; ++attempt) {
    const std::optional<LoadCasePlace> place = index.freeEntry();
    if (!place) return false;
    PAGRD(kLoadCaseClass, place->page, PGCUR.page());
    CTLGET(kLoadCaseClass, place->entry);
    if (CTLREC.word(kLoadCaseClass, kStateWord) == kFree) return true;
    index.forget();
    index.refresh();
  }
  return false;
}

}  // namespace

void LCFIND(std::span<const int32_t> name, int32_t number, std::span<int32_t> fullName,
            int32_t& result, int32_t& position) {
  result = kLoadCaseMissing;
  position = 0;
  const LoadCaseName line = sixCodes(name);
  int32_t kind = kTokenNone, first = 1, last = 0, ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(line, 1, kNameCodes, kLexName, kind, first, last, ivalue, rvalue);
  if (kind == kTokenNone) last = first - 1;  // no token: matches nothing

  const int32_t model = CTLREC.word(kModelClass, kStateWord);
  if (model < 1) {
    IDXERR(kCodeSearch, kNoModelToSearch, model);
    return;
  }
  int32_t head = 0;
  G103W8(head);
  if (head == 0) return;

  bool exact = false;
  int32_t matched = 0;  // codes matched by the first abbreviation; negative: ambiguous
  int32_t matchPage = 0, matchEntry = 0, matchPosition = 0;
  LoadCaseName full{};
  int32_t lastPage = 0;
  walkControlChain(kLoadCaseClass, head, lastPage, [&](int32_t page, int32_t entry) {
    ++position;
    const int32_t state = CTLREC.word(kLoadCaseClass, kStateWord);
    if (state < 0) return ChainStep::Next;
    if (state == kFree) return ChainStep::Stop;
    int32_t r = -1;
    CODCMP(storedName(), 1, kNameCodes, line, first, last, r);
    if (r < 0) return ChainStep::Next;
    if (number != kAnyLoadCaseNumber && CTLREC.word(kLoadCaseClass, kNumberWord) != number) {
      return ChainStep::Next;
    }
    if (r == 0) {
      exact = true;
      return ChainStep::Stop;
    }
    const std::span<int32_t> stored = storedName();
    if (matched == 0) {
      matched = r;
      matchPage = page;
      matchEntry = entry;
      matchPosition = position;
      std::copy(stored.begin(), stored.end(), full.begin());
    } else if (matched > 0 && !std::equal(stored.begin(), stored.end(), full.begin())) {
      matched = -matched;
    }
    return ChainStep::Next;
  });

  if (exact) {
    result = kLoadCaseExact;
    giveName(line, fullName);
    loadFirstAttribute();
    return;
  }
  if (matched == 0) return;
  giveName(full, fullName);
  if (matched < 0) {
    result = kLoadCaseAmbiguous;
    return;
  }
  result = matched;
  position = matchPosition;
  PAGRD(kLoadCaseClass, matchPage, PGCUR.page());
  CTLGET(kLoadCaseClass, matchEntry);
  loadFirstAttribute();
}

void LCADD(std::span<const int32_t> name, std::span<int32_t> work, float value1, float value2,
           int32_t type, int32_t number, std::span<const int32_t> list20,
           std::span<const int32_t> list10, int32_t& status) {
  status = 1;
  const int32_t model = CTLREC.word(kModelClass, kStateWord);
  if (model < 1) {
    IDXERR(kCodeSearch, kNoModelToAdd, model);
    S104W1(0);
    return;
  }
  if (findExactly(name, number)) {
    IDXERR(kCodeWarning, kLoadCaseExists, 0);
    return;
  }

  LoadCaseIndex& index = loadCaseIndex();
  index.refresh();
  int32_t head = 0;
  G103W8(head);
  int32_t page = 0, freeHead = 0;
  LoadCasePlace place;
  if (head <= 0) {
    PGNEW(work, kLoadCaseClass, page, freeHead);
    S103W8(page);
    CRPUT(kModelClass);
    PGINIT(kLoadCaseClass, page, PGCUR.page());
    SPAIRS(kLoadCaseClass, page, 1);
    head = page;
    place = {page, 1};
  } else if (takeFreeEntry(index)) {
    // Only a free entry is taken: a deleted one may still be named by datasets.
    place = *index.freeEntry();
  } else {
    PAGRD(kLoadCaseClass, index.lastPage(), PGCUR.page());
    appendControlPage(kLoadCaseClass, index.lastPage(), work);
    place = {PGCUR.word(kPageNumberWord), 1};
  }

  // The whole record is written: nothing of the entry loaded before stays in it.
  std::span<int32_t> record = CTLREC.record(kLoadCaseClass);
  std::fill_n(record.begin(), recordLength(kLoadCaseClass), 0);
  S104W1(kInUse);
  S104W2(sixCodes(name));
  S104WB(type, number, value1, value2);
  S104L1(list20);
  if (type <= kLastNamedType) {
    S104L2(typeText(type));
  } else {
    S104L2(list10);
  }

  int32_t attributes = 0;
  PGNEW(work, kResultsClass, attributes, freeHead);
  S104W8(attributes);
  S104W9(0);
  S104WA(0);
  CRPUT(kLoadCaseClass);
  index.added(place, sixCodes(name), number, head);
  PGINIT(kResultsClass, attributes, PGCUR.page());
  PAGWR(kResultsClass, attributes, PGCUR.page());
  CTLGET(kResultsClass, 1);
  R6PW1(0);
  CRPUT(kResultsClass);
  status = 0;
}

void registerLoadCase(std::span<const int32_t> name, std::span<int32_t> work, float value,
                      int32_t type, int32_t number, std::span<const int32_t> title,
                      std::span<const int32_t> text, int32_t& status) {
  status = 0;
  if (!findExactly(name, number)) {
    LCADD(name, work, value, 0.0f, type, number, title, text, status);
    if (status != 0) return;
    if (++DICNT.loadCaseCount == 1) {
      int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
      DATTIM(day, month, year, hour, minute, second);
      S103WC(day, month, year, hour, minute);
      CRPUT(kModelClass);
    }
  }
  int32_t state = 0;
  DBSTAT(state);
  if (state == kStateBeforeLoadCase) {
    S103W1(kStateWithLoadCase);
    CRPUT(kModelClass);
  }
}

}  // namespace kvr
