#include "command/objsrc.h"

#include <algorithm>
#include <cstddef>

#include "command/ansrec.h"
#include "command/mnuctl.h"
#include "command/objrec.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/lcfind.h"
#include "platform/unitio.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

// The keywords that choose an attribute kind.
struct KindKeyword {
  int32_t keyword;
  int32_t kind;
};
constexpr std::array<KindKeyword, 4> kKindKeywords{{{182, 2}, {161, 3}, {183, 4}, {184, 5}}};

// The pages of the index file: no chain of it is longer.
int32_t indexPages() {
  const DbFileSlot& index = DBPARM.fileSlot(kIndexFileSlot);
  const int64_t pages = index.unit >= 0 ? io::unitRecords(index.unit) : index.nextPage;
  return static_cast<int32_t>(std::clamp<int64_t>(pages, 0, 1 << 30));
}

// The pages of class 106 a walk has read, so that a chain that comes back ends.
class SeenPages {
 public:
  SeenPages() : seen_(static_cast<std::size_t>(indexPages()) + 1, false) {}

  // Reads PAGE into PGCUR and loads its record 106; false when the page was read before,
  // lies outside the file or holds no record 106.
  bool load(int32_t page) {
    if (page <= 0 || page >= static_cast<int32_t>(seen_.size())) return false;
    if (seen_[static_cast<std::size_t>(page)]) return false;
    seen_[static_cast<std::size_t>(page)] = true;
    PAGRD(kResultsClass, page, PGCUR.page());
    if (PGCUR.word(kPageClassWord) != kResultsClass) return false;
    CTLGET(kResultsClass, 1);
    return true;
  }

 private:
  std::vector<bool> seen_;
};

}  // namespace

bool caseSelected() { return DBLEVL.selectedCases >= 1; }

bool selectSelectedCase() {
  if (!caseSelected()) return false;
  std::array<int32_t, DbLevl::kCaseNameCodes> full{};
  int32_t result = -1;
  int32_t position = 0;
  LCFIND(DBLEVL.selectedCase, kAnyLoadCaseNumber, full, result, position);
  return result == kLoadCaseExact;
}

std::vector<ResultsAttribute> resultsAttributes() {
  std::vector<ResultsAttribute> all;
  if (!selectSelectedCase()) return all;
  SeenPages seen;
  int32_t page = 0;
  G104W8(page);
  while (seen.load(page)) {
    int32_t link = 0;
    R6LINK(link);
    if (link == 0) break;  // an unused record: no attribute in it
    ResultsAttribute a;
    a.page = page;
    R6GW2(a.kind);
    R6GW3N(a.name);
    CMPCNT(a.components);
    all.push_back(a);
    if (link < 0) break;  // the last record used
    page = link;
  }
  return all;
}

int32_t chosenAttributeKind(int32_t answer) {
  if (answer < 1 || answer > MNUCTL.answerCount) return 0;
  const int32_t keyword = ITEM(answer);
  for (const KindKeyword& k : kKindKeywords) {
    if (k.keyword == keyword) return k.kind;
  }
  return 0;
}

bool ofKind(int32_t stored, int32_t kind, bool exact) {
  if (exact) return stored == kind;
  return (stored == 1 ? 2 : stored) == kind;
}

std::vector<ObjectName> componentNames(const ResultsAttribute& attribute) {
  std::vector<ObjectName> names;
  SeenPages seen;
  if (!seen.load(attribute.page)) return names;
  int32_t count = 0;
  CMPCNT(count);
  for (int32_t k = 1; k <= count; ++k) {
    const int32_t slot = (k - 1) % kComponentSlots + 1;
    if (slot == 1 && k > 1) {
      CRPUT(kResultsClass);
      int32_t link = 0;
      CMPLNK(link);
      if (!seen.load(link)) break;  // a damaged link ends the list
    }
    ObjectName name{};
    CMPENT(slot, name);
    names.push_back(name);
  }
  return names;
}

}  // namespace kvr
