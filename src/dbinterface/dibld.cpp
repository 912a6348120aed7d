// DIBLD, the display build, with its last steps: BLDD4 (drawn edges) and BLDSUM (the
// model summary record).

#include "dbinterface/dibld.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "dbinterface/bldnix.h"
#include "dbinterface/dbhdrr.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/eltacc.h"
#include "dbinterface/facvis.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/nodcpy.h"
#include "dbinterface/toparr.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"
#include "modeldb/roadarr.h"
#include "runtime/dspsta.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

constexpr std::string_view kRoutine = "DIBLD";

constexpr int32_t kErrorPending = 32;
constexpr int32_t kNeutralOnly = 42;
constexpr int32_t kNotCompleted = 43;
constexpr int32_t kNoBuildPending = 44;
constexpr int32_t kBuildFailed = 223;
constexpr int32_t kEntered = 2;  // coordinates and topology states

constexpr int32_t kSummaryLoadCaseWord = 47;
constexpr int32_t kStoredNumbering = 1;
// Room for the work record of the largest element and its face keys (ELMXYZ, FACLST).
constexpr std::size_t kFaceTestWork = 256;

void inform(std::string_view text) {
  FixedText routnm(6, kRoutine);
  FixedText line(kDiTextLength, text);
  FText noName;
  DIINF(routnm, line, kDiNoValue, noName, 0);
}

// A temporary unit of the host's list has an error pending. Flags on higher unit indices
// are not looked at: the clean-up clears only the units in use, so a stale flag there
// would refuse every later build.
bool errorPending() {
  const int32_t units = std::clamp(DICTL.itfnum, 0, kMaxTempUnits);
  for (int32_t k = 1; k <= units; ++k) {
    if (DISTAT.errorFlag(k) != kUnitFlagNone) return true;
  }
  return false;
}

// Words 13-15 of record 103: node count, element count and load-case counter.
void putModelCounts(int32_t nodes, int32_t elements, int32_t loadCases) {
  S103WB(nodes, elements, loadCases);
  CRPUT(kModelClass);
}

// The node coordinate array, read whole into HELD.
void holdCoordinates(BuildModel& held) {
  const RoadArray xyz(kNodeCoordinateHandle);
  const int32_t records = std::max(xyz.records(), 0);
  held.coordinates.assign(3 * static_cast<std::size_t>(records), 0.0f);
  if (records > 0 && !xyz.get(1, records, std::span(held.coordinates))) held.coordinates.clear();
}

// Steps 1 to 5; answers the number of the step that failed, 0 when none did.
int32_t buildSteps(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held) {
  int32_t status = 0;
  if (roadRecords(kNodeTableHandle) == 0) {
    BLDNIX(ldpage, status);
    if (status != 0) return 1;
  }
  // A step that fails before BLDQDR leaves dataset 6 with the sequence numbers.
  const auto stopped = [&](int32_t step) {
    storeNodeSequences(ldpage, held);
    return step;
  };
  BLDTOP(ldpage, held, status);
  if (status == 1) return stopped(2);
  if (status != 0) return 2;
  BLDNX2(ldpage, held, status);
  if (status != 0) return stopped(3);
  BLDNEL(held, status);
  if (status != 0) return stopped(4);
  BLDCON(ldpage, ldscr, held);
  inform("BUILDING QUICK DRAW DATA");
  BLDQDR(ldpage, ldscr, held);
  BLDD4(ldpage, ldscr, held, status);
  if (status != 0) return 5;
  return 0;
}

// The edge record at word Q of BUFFER (the records of a page of dataset 9) is drawn:
// exactly one of its keys is positive, or none is and one is negative (an edge of line
// elements only); two or more positive keys leave it to the face test.
bool edgeDrawn(FaceTest& test, std::span<const int32_t> buffer, std::span<int32_t> work,
               int32_t q, int32_t k) {
  int32_t positive = 0;
  bool negative = false;
  for (int32_t i = 1; i <= k; ++i) {
    const int32_t key = NODOFF(buffer, q, i);
    if (key > 0) ++positive;
    if (key < 0) negative = true;
  }
  if (positive == 1 || (positive == 0 && negative)) return true;
  return test.drawn(buffer, work, q) != 0;
}

}  // namespace

void DIBLD(int32_t& ierr) {
  ierr = 0;
  const auto refuse = [&ierr](int32_t code) { reportLoaderError(ierr, code, kRoutine, kDiNoValue); };
  if (errorPending()) return refuse(kErrorPending);
  if (DICTL.luopt == kOutputNeutral) return refuse(kNeutralOnly);
  if (DISTAT.coordinatesState != kEntered || DISTAT.topologyState != kEntered) {
    return refuse(kNotCompleted);
  }
  if (DISTAT.displayBuildPending == 0) return refuse(kNoBuildPending);

  putModelCounts(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
  inform("BUILDING NODAL CONNECTIVITY");
  int32_t failed = 0;
  {
    BuildModel held;
    failed = buildSteps(LDPAGE, LDSCR, held);
  }
  if (failed != 0) {
    DISTAT.displayBuildPending = 0;
    reportLoaderError(ierr, kBuildFailed, kRoutine, kDiNumber, failed);
    DISTAT.blockModel(ierr);
    putModelCounts(0, 0, 0);
    return;
  }
  BLDSUM(LDPAGE, LDSCR, kSummaryWrite);
  inform("VIEW DATA COMPLETE");
  DISTAT.displayBuildPending = 0;
  DBCLOS();
}

void BLDD4(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held,
           int32_t& status) {
  status = 0;
  DSPSTA.elementFilter = 0;
  DSPSTA.displacementSwitch = 0;
  // The held elements are those of dataset 6, as the work arrays of a model of stored
  // numbering would hold them; an assembly's come from its components.
  const bool fromHeld = DBLEVL.numberingMode == kStoredNumbering;
  if (!fromHeld) {
    TOPARR(kElementDataset, ldpage, status);
    if (status != 0) {
      status = 1;
      return;
    }
  }
  if (roadRecords(kNodeCoordinateHandle) == 0) {
    NODCPY(1, ldpage, status);
    if (status != 0) {
      status = 1;
      return;
    }
  }
  if (fromHeld) holdCoordinates(held);

  // Dataset 4 is begun with its first drawn edge.
  std::optional<LoaderPages> pages;
  std::array<int32_t, kFaceTestWork> work{};
  std::optional<FaceTest> heldTest;
  std::optional<FaceTest> arrayTest;
  FaceTest& test = fromHeld ? heldTest.emplace(held) : arrayTest.emplace(FaceTest::Memory::Elements);
  // The records of dataset 9 as BLDQDR kept them, page by page.
  for (const std::vector<int32_t>& page : held.edgePages) {
    const std::span<const int32_t> records(page);
    const auto size = static_cast<int64_t>(records.size());
    for (int64_t q = 1; q <= size;) {
      const int32_t length = EDGRLN(records, static_cast<int32_t>(q));
      if (length < 1) break;
      const auto at = static_cast<int32_t>(q);
      q += length;
      const int32_t k = std::clamp(ENTW2(records, at), 0, length);
      const int32_t drawnLength = length - k;
      if (!edgeDrawn(test, records, work, at, k)) continue;
      if (!pages) pages.emplace(ldpage, ldscr, kDrawnEdgeDataset);
      if (pages->lastUsed() + drawnLength > pages->pageSize()) pages->startNewPage();
      const int32_t into = pages->store(drawnLength);
      for (int32_t w = 0; w < drawnLength; ++w) pages->word(into + w) = RECW0(records, at + w);
      pages->word(into + 1) = drawnLength;
    }
  }
  if (pages) {
    pages->finish();
    pages->record();
  }
}

void BLDSUM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode) {
  if (mode != kSummaryLoadCases) {
    int32_t status = 0;
    writeModelSummary(ldpage, ldscr, DICNT, status);
    return;
  }
  int32_t page = 0;
  DSDIRF(kSummaryDataset, page);
  if (page <= 0) return;
  // A copy of the record that slot 2 holds would no longer be the record.
  dropSlotClaim();
  const std::span<int32_t> area =
      ldpage.first(std::min<std::size_t>(ldpage.size(), kLargestPageWords));
  PAGRD(kSummaryDataset, page, area);
  area[kSummaryLoadCaseWord - 1] = DICNT.loadCaseCount;
  PAGWR(kSummaryDataset, page, area);
}

}  // namespace kvr
