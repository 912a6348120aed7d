// The database dump: DBDUMP, the state records DMPVST, the count table and the file image
// DMPCNT.
#include "modeldb/dbdump.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/attlst.h"
#include "modeldb/dbmsg.h"
#include "modeldb/dbpage.h"
#include "modeldb/entrec.h"
#include "modeldb/inpsrc.h"
#include "modeldb/mdlload.h"
#include "modeldb/mdlstore.h"
#include "modeldb/parser.h"
#include "modeldb/seqtab.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/dattim.h"
#include "runtime/dspsta.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/geosta.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/journal.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/msglin.h"
#include "runtime/nxttkn.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

constexpr int32_t kDumpType = 22;
constexpr int32_t kDirectForm = 3;
constexpr int32_t kOpenUnknown = 6;
constexpr int32_t kDeleteUnknown = -6;
constexpr int32_t kFullModel = 2;  // the registry set-up mode of the full model
constexpr int32_t kCancelled = -1;
constexpr int32_t kWrite = -1;

// Catalogue numbers, as MSGE1 and MSGM take them.
constexpr int32_t kE2000CannotOpen = 1000;
constexpr int32_t kE2100Allocation = 1100;
constexpr int32_t kE2110NotRegistered = 1110;
constexpr int32_t kE2150NotAllocated = 1150;
constexpr int32_t kE2200SaveAborted = 1200;
constexpr int32_t kM811Reading = 811;

// The model-name line: the first positions of the display title.
constexpr int32_t kModelNameCodes = 20;
constexpr int32_t kAnswerCodes = 80;
constexpr std::string_view kExtension = ".DMP";
constexpr std::string_view kPrompt = "Enter new name for DMP file =>";
constexpr std::string_view kNoInput = "Input required";

// Attribute entries of the three state records: (type, entity).
constexpr int32_t kStateEntity = 1;
constexpr int32_t kDisplayEntity = 2;
constexpr int32_t kIntegerType = -1;
constexpr int32_t kRealType = 1;
constexpr int32_t kDisplayBefore = 11;  // display word d is VWDFLT word d + 11

// A dump is running: the hook does nothing meanwhile.
bool gDumping = false;

std::string trimmed(std::string_view s) {
  const size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

// The first blank-delimited word of codes FIRST..END of LINE; empty when there is none. A
// file name may hold "/", at which the command lexer would end its token.
std::string wordAt(std::span<const int32_t> line, int32_t first, int32_t end) {
  end = std::min(end, static_cast<int32_t>(line.size()));
  auto code = [&line](int32_t k) { return line[static_cast<size_t>(k - 1)]; };
  while (first <= end && code(first) == kBlankCode) ++first;
  std::string word;
  for (int32_t k = first; k <= end && code(k) != kBlankCode; ++k) word.push_back(charOf(code(k)));
  return word;
}

// The dump's name from the model-name line, else from the model file opened, less its
// last extension; empty when both are blank.
std::string dumpName() {
  std::string name = wordAt(DSPSTA.state.title, 1, kModelNameCodes);
  if (name.empty()) {
    name = trimmed(MDLFIL.text().view());
    if (name.empty()) return name;
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
  }
  return name + std::string(kExtension);
}

std::vector<int32_t> codesOf(std::string_view text) {
  std::vector<int32_t> codes;
  codes.reserve(text.size());
  for (char c : text) codes.push_back(codeOf(c));
  return codes;
}

// The name as file type 22 names the file: a bare name in the case of its first letter.
std::string fileNameOf(const std::string& name) {
  std::string copy = name;
  copy.resize(std::max<size_t>(name.size() + kExtension.size(), kMaxTextCodes), ' ');
  int32_t length = static_cast<int32_t>(name.size());
  DEFEXT(FText(copy), length, kDumpType);
  return copy.substr(0, static_cast<size_t>(length));
}

// "<TEXT> <NAME> ****" on the message unit and both journal channels.
void reportLine(std::string_view text, const std::string& name) {
  const std::string line = std::string(text) + " " + name + " ****";
  const std::vector<int32_t> codes = codesOf(line);
  const auto n = static_cast<int32_t>(codes.size());
  CODPRT(codes, n);
  int32_t failed = 0;
  JRNBTH(codes, 1, n, failed);
}

// Asks for a new name until one is given; false when the user cancels.
bool askName(std::string& name) {
  const std::vector<int32_t> prompt = codesOf(kPrompt);
  std::string noInput(kNoInput);
  for (;;) {
    std::array<int32_t, kAnswerCodes> answer{};
    int32_t result = 0;
    // The name is kept as typed: on Linux another case names another file.
    if (PRSHOOKS.answer == nullptr) return false;
    PRSHOOKS.answer(2, 0, 0, -5, 50, FText(noInput), prompt,
                    static_cast<int32_t>(prompt.size()), 0, answer, kAnswerCodes, result);
    // The end of input cancels, so the prompt never waits for ever.
    if (result == kInputCancelled) return false;
    if (result == kInputEmpty) continue;
    int32_t kind = 0;
    int32_t first = 1;
    int32_t last = 0;
    int32_t ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(answer, 1, kAnswerCodes, kLexName, kind, first, last, ivalue, rvalue);
    if (kind != kTokenText) continue;
    name = wordAt(answer, first, kAnswerCodes);
    return true;
  }
}

// Deletes any earlier file of NAME and opens the dump file; true when it is open.
bool openDump(const std::string& name) {
  const std::vector<int32_t> codes = codesOf(name);
  const auto n = static_cast<int32_t>(codes.size());
  int32_t status = 0;
  FOUVRE(kDumpType, codes, n, kDirectForm, kDeleteUnknown, status);
  FOUVRE(kDumpType, codes, n, kDirectForm, kOpenUnknown, status);
  return status == 0;
}

// Writes RECORD as the values of attribute entry (TYPE, ID). An entry missing or shorter
// than the record first gets fresh space at the end of its value array, set in the entry
// directly: writing the record over a shorter entry would overwrite the values that
// follow it, and ATTFND's write of a larger count would post an internal error that dumps
// again. Without room the record is not stored; the dump goes on.
void storeStateRecord(int32_t type, int32_t id, std::span<const int32_t> record) {
  const int32_t k = type > 0 ? kArrRealValues : kArrIntegerValues;
  if (!storeArrayHeld(kArrEntries) || !storeArrayHeld(kArrLabels) || !storeArrayHeld(k)) return;
  const auto n = static_cast<int32_t>(record.size());
  int32_t e = attributeEntry(type, id);
  std::array<int32_t, kEntryWords> entry{};
  if (e != 0) storeGet(kArrEntries, e, 1, entry);
  const bool room = e != 0 && entry[3] >= n && entry[2] >= 1 &&
                    int64_t{entry[2]} + n - 1 <= REGHED.ARRLEN(k);
  if (!room) {
    int32_t first = 0;
    if (storeAppend(k, n, first) != 0) return;
    if (e == 0) {
      int32_t added = 0;
      if (storeAppend(kArrEntries, 1, e) != 0) return;
      if (REGHED.ARRLEN(kArrLabels) < e && storeAppend(kArrLabels, e - REGHED.ARRLEN(kArrLabels), added) != 0) {
        return;
      }
      const std::array<int32_t, 2> blank = {MODCON.word(kModFirstCode), MODCON.word(kModFirstCode)};
      storePut(kArrLabels, e, 1, blank);
    }
    entry = {type, id, first, n, 0};
    storePut(kArrEntries, e, 1, entry);
    attributeListChanged();
  }
  storePut(k, entry[2], n, record);
}

// A count of the table: held within 0 and the largest word.
int32_t countOf(int64_t c) {
  return static_cast<int32_t>(std::clamp<int64_t>(c, 0, std::numeric_limits<int32_t>::max()));
}

int64_t w(int32_t k) { return MODCNT.word(k); }

int32_t inUse(int32_t k) { return storeArrayHeld(k) ? REGHED.ARRLEN(k) : 0; }

void dumpHook() {
  if (gDumping) return;
  DBDUMP(PLTPAR.outUnit);
}

// The dump flag, cleared however the dump ends (a stop in a test throws through it).
struct Dumping {
  Dumping() { gDumping = true; }
  ~Dumping() { gDumping = false; }
  Dumping(const Dumping&) = delete;
  Dumping& operator=(const Dumping&) = delete;
};

}  // namespace

void installDatabaseDump() { setDatabaseDumper(dumpHook); }

void DMPVST(std::span<int32_t, kStateIntegerWords> integers,
            std::span<int32_t, kStateRealWords> reals) {
  for (int32_t k = 1; k <= ModCnt::kWords - 2; ++k) integers[static_cast<size_t>(k - 1)] = MODCNT.word(k + 2);
  for (int32_t k = 1; k <= ModSta::kWords; ++k) {
    integers[static_cast<size_t>(ModCnt::kWords - 2 + k - 1)] = MODSTA.word(k);
  }
  for (int32_t k = 1; k <= kStateRealWords; ++k) reals[static_cast<size_t>(k - 1)] = GEOSTA.word(k);
}

int32_t dumpCount(int32_t k) {
  switch (k) {
    case 1:
    case 2: return countOf(w(kCntPoints));
    case 3: return countOf(w(kCntLines));
    case 4: return countOf(w(kCntLines) * kLineWords);
    case 5: return countOf(w(kCntSurfaces));
    case 6: return countOf(w(kCntSurfaces) * kSurfaceWords);
    case 7: return countOf(w(kCntBodies));
    case 8: return countOf(w(kCntBodies) * kBodyWords);
    case 9: return countOf(w(kCntShapes));
    case 10: return countOf(w(kCntShapes) * kShapeWords);
    case 11:
    case 12: return countOf(w(kCntHighestNode));
    case 13:
      return w(kCntHighestElement) > 0 ? countOf(w(kCntHighestElement) * (w(kCntElementNodes) + 1)) : 0;
    case 18:
    case 19: return countOf(w(kCntSets));
    case 21:
    case 22:
    case 31:
    case 34: return 0;
    case 23: {
      // No packed list when its end word is 1 (or below).
      const int64_t end = w(kCntPackedListEnd);
      return end <= 1 ? 0 : countOf((end - 2) / 32 + 1);
    }
    case 24: return countOf(w(kCntPoints) * kPointWords);
    case 27:
    case 28: return countOf(w(kCntKind42));
    case 35:
    case 36: return countOf(w(kCntKind46));
    default: return k >= 1 && k <= DbHead::kMaxCounts ? inUse(k) : 0;
  }
}

void DMPCNT(int32_t unit, int32_t ps, int32_t mode,
            std::span<const int32_t, DbHead::kTitleCodes> title) {
  DBHEAD.page.assign(static_cast<size_t>(std::max(ps, kHeadWords)), 0);
  if (mode == 1) RANDIO(DBHEAD.page, kHeaderPage, ps, 0, unit);
  DBHEAD.word(kHeadValidity) = 0;
  DBHEAD.word(kHeadPageSize) = ps;
  DBHEAD.word(kHeadFormat) = DBPARM.formatCode;
  for (int32_t k = 1; k <= DbHead::kMaxCounts; ++k) DBHEAD.word(kHeadCountsBefore + k) = dumpCount(k);
  int32_t at = mode == 1 ? kHeadRewritten : kHeadCreated;
  DATTIM(DBHEAD.word(at), DBHEAD.word(at + 1), DBHEAD.word(at + 2), DBHEAD.word(at + 3),
         DBHEAD.word(at + 4), DBHEAD.word(at + 5));
  const int32_t totals[DbHead::kTotals] = {
      countOf(w(kCntPoints) - w(kCntDelPoints)),
      countOf(w(kCntLines) - w(kCntDelLines) - w(kCntDelLines2)),
      countOf(w(kCntSurfaces) - w(kCntDelSurfaces)),
      countOf(w(kCntBodies) - w(kCntDelBodies)),
      MODCNT.word(kCntHighestNode),
      MODCNT.word(kCntHighestElement)};
  for (int32_t j = 0; j < DbHead::kTotals; ++j) DBHEAD.word(kHeadTotals + j) = totals[j];
  if (mode != 1) {
    for (int32_t j = 0; j < DbHead::kTitleCodes; ++j) DBHEAD.word(kHeadTitle + j) = title[static_cast<size_t>(j)];
  }
  DBHEAD.word(kHeadModelState) = MODCNT.word(kCntAnalysisProgram);
  for (int32_t j = 0; j < DbHead::kDisplayWords; ++j) {
    DBHEAD.word(kHeadDisplay + j) = DBHEAD.display[static_cast<size_t>(j)];
  }
  RANDIO(DBHEAD.page, kHeaderPage, ps, 1, unit);

  std::vector<int32_t> page(static_cast<size_t>(ps), 0);
  int32_t pageCounter = 2;
  int32_t position = 1;
  std::array<int32_t, kMaxRecordWidth> iw{};
  std::array<float, kMaxRecordWidth> rw{};
  for (int32_t k = 1; k <= DbHead::kMaxCounts; ++k) {
    const int32_t count = dumpCount(k);
    const int32_t width = REGHED.ARRWID(k);
    const int32_t sign = REGHED.ARRSGN(k);
    for (int32_t j = 1; j <= count; ++j) {
      int32_t stat = 1;
      if (width >= 1 && width <= kMaxRecordWidth) {
        CoreGet(REGHED.file, REGHED.ARRCOR(k), j, 1, sign, iw, rw, stat);
      }
      if (stat != 0) {
        dbMessage(kM811Reading, {count, k, j});
        MSGE1(kE2100Allocation);
        MSGE1(stat == 2 ? kE2150NotAllocated : kE2110NotRegistered);
        MSGE1(kE2200SaveAborted);
        STOPRN(1);
        return;
      }
      int32_t io = 0;
      PAGXFR(unit, ps, page, pageCounter, position, width, kWrite, sign, iw, rw, io);
    }
  }
  RANDIO(page, pageCounter, ps, 1, unit);
  RANDIO(DBHEAD.page, kHeaderPage, ps, 0, unit);
  DBHEAD.word(kHeadValidity) = 1;
  RANDIO(DBHEAD.page, kHeaderPage, ps, 1, unit);
}

int32_t DBDUMP(int32_t /*unit: CODPRT writes to the message unit*/) {
  // Only the full model registry holds the arrays the count table names; any other
  // layout would be written as a model that it is not.
  if (REGHED.mode != kFullModel) return 0;
  Dumping dumping;

  std::array<int32_t, kStateIntegerWords> integers{};
  std::array<int32_t, kStateRealWords> reals{};
  DMPVST(integers, reals);
  storeStateRecord(kIntegerType, kStateEntity, integers);
  storeStateRecord(kRealType, kStateEntity, reals);
  storeStateRecord(kIntegerType, kDisplayEntity,
                   std::span<const int32_t>(VWDFLT.words).subspan(kDisplayBefore, kStateDisplayWords));

  std::string name = dumpName();
  // Without a name there is nothing to try: the prompt comes at once.
  bool ask = name.empty();
  for (;;) {
    if (!ask) {
      if (openDump(name)) break;
      MSGE1(kE2000CannotOpen);
      reportLine(" *** UNABLE TO DUMP TO FILE", fileNameOf(name));
    }
    if (IOMODE.inputMode == kInputCommandFile) INPSRC({}, 0);
    if (!askName(name)) return kCancelled;
    ask = false;
  }

  std::array<int32_t, DbHead::kTitleCodes> title{};
  title.fill(kBlankCode);
  const int32_t unit = IOUNIT.slot(fileTypeRow(kDumpType)->openSlot);
  DMPCNT(unit, DBPARM.modelPageSize(), 0, title);
  FILCLS(kDumpType);
  reportLine(" *** DATA BASE DUMPED TO", fileNameOf(name));
  return 0;
}

}  // namespace kvr
