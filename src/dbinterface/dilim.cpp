#include "dbinterface/dilim.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>
#include <span>
#include <string_view>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/dbside.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/diendrec.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/dineu.h"
#include "dbinterface/dipasm.h"
#include "dbinterface/dipcn.h"
#include "dbinterface/dipes.h"
#include "dbinterface/dipmat.h"
#include "dbinterface/dipnc.h"
#include "dbinterface/dipnnm.h"
#include "dbinterface/dipnx.h"
#include "dbinterface/dipres.h"
#include "dbinterface/dipsl.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/reslvl.h"
#include "dbinterface/symtab.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/arrreg.h"
#include "modeldb/cmptrf.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/lcfind.h"
#include "runtime/codtxt.h"
#include "runtime/filcls.h"
#include "runtime/iounit.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr std::string_view kRoutine = "DILIM";

// Codes of the processing itself.
constexpr int32_t kNotOpened = 29;
constexpr int32_t kErrorPending = 32;
constexpr int32_t kModelIncomplete = 35;
constexpr int32_t kIncompleteDataset = 181;
constexpr int32_t kUnknownUnit = 211;
constexpr int32_t kStreamWriteFailed = 224;
constexpr int32_t kNoMemory = 271;
constexpr int32_t kLocked = 272;

constexpr int32_t kModelKey = 1;
constexpr int32_t kModelKeyFull = 111;

// Model open modes (the opcode of the accepted model header).
constexpr int32_t kCreateMode = 1;
constexpr int32_t kAppendMode = 2;
constexpr int32_t kBuildMode = 3;

// Model-record word 1 of a new database: 1 for a model created, 2 for an assembly built.
constexpr int32_t kCreatedModel = 1;
constexpr int32_t kBuiltModel = 2;
constexpr int32_t kModelKindWord = 1;

// The data file, and the registry layout and handle words of the writing road.
constexpr int32_t kDataFileType = 8;
constexpr int32_t kRoadHandles = 2;
constexpr int32_t kRoadRegistry = 1;
constexpr int32_t kForceSetUp = 1;

// The third argument of DIPES.
constexpr int32_t kElementSetSelector = 1;
constexpr int32_t kNodeSetSelector = 2;

// DBLOCK mode that asks for the lock holder.
constexpr int32_t kLockQuery = 1;

bool isModelKey(int32_t key) { return key == kModelKey || key == kModelKeyFull; }

bool isLoadCaseKey(int32_t key) {
  return key == 28 || key == 29 || key == 31 || key == 100 || key == 300;
}

// The working copies of a dataset header on the database side. Name, opcode letter and
// text are upper-cased, and every blank of the name before its last non-blank character
// becomes "-" (a blank name becomes 20 "-").
struct Header {
  std::array<int32_t, kHeaderRecordWords> words{};
  int32_t key = 0;
  int32_t letter = 0;
  std::array<int32_t, kHeaderNameCodes> name{};
  float value = 0.0f;
  std::array<int32_t, kHeaderTitleCodes> title{};
  int32_t flag = 0;
  int32_t number = 0;
  std::array<int32_t, kHeaderTextCodes> text{};

  int32_t word(int32_t k) const { return words[static_cast<std::size_t>(k - 1)]; }

  void take() {
    key = word(kHeaderKey);
    std::array<int32_t, 1> l = {word(kHeaderLetter)};
    UPCCOD(l, 1, 1);
    letter = l[0];
    copy(kHeaderName, name);
    UPCCOD(name, 1, kHeaderNameCodes);
    int32_t last = kHeaderNameCodes;
    while (last > 0 && name[static_cast<std::size_t>(last - 1)] == kBlankCode) --last;
    if (last == 0) last = kHeaderNameCodes;
    for (int32_t j = 0; j < last; ++j) {
      int32_t& c = name[static_cast<std::size_t>(j)];
      if (c == kBlankCode) c = codeOf('-');
    }
    value = std::bit_cast<float>(word(kHeaderValue));
    copy(kHeaderTitle, title);
    flag = word(kHeaderFlag);
    number = word(kHeaderNumber);
    copy(kHeaderText, text);
    UPCCOD(text, 1, kHeaderTextCodes);
  }

 private:
  template <std::size_t N>
  void copy(int32_t first, std::array<int32_t, N>& to) const {
    for (std::size_t j = 0; j < N; ++j) to[j] = words[static_cast<std::size_t>(first - 1) + j];
  }
};

// What the database side leaves for the rest of the processing.
enum class Next {
  Text,  // on to the text side (LUOPT 3) and the completion
  Stop,  // return now: the unit keeps its dataset
};

// What a model header's opening leaves.
enum class Opening {
  Failed,
  Opened,  // the database is open: the header loop reads on
  Built,   // an assembly was built from the rest of the stream: the dataset is complete
};

// One call of DILIM on unit index K.
class Processing {
 public:
  Processing(int32_t& ierr, int32_t k, int32_t iunt) : ierr_(ierr), k_(k), iunt_(iunt) {}

  void run() {
    if (!closeStream()) return;
    if (DICTL.luopt != kOutputNeutral && databaseSide() == Next::Stop) return;
    if (DICTL.luopt != kOutputDatabase && !textSide()) return;
    complete();
  }

 private:
  // ---- reports
  // Every unit's flag raised to 2: the whole model must be abandoned.
  void blockEveryUnit() { DISTAT.blockModel(ierr_); }
  void failWithUnit(int32_t code) {
    reportLoaderError(ierr_, code, iunt_);
    blockEveryUnit();
  }
  void failWithName(int32_t code, std::string_view name) {
    reportLoaderError(ierr_, code, kRoutine, kDiName, 0, name);
    blockEveryUnit();
  }
  void fail(int32_t code) {
    reportLoaderError(ierr_, code);
    blockEveryUnit();
  }
  void failWithNumber(int32_t code, int32_t number) {
    reportLoaderError(ierr_, code, number);
    blockEveryUnit();
  }

  // ---- step 2: the end records, the flush
  bool closeStream() {
    EndRecords end;
    endRecords(DISTAT.datasetKey(k_), DISTAT.results(k_).irtype, DISTAT.modelState, end);
    int32_t flag = 0;
    TMPWRT(end.words(), k_, flag);
    if (flag == 0) TMPFLS(k_, flag);
    if (flag == 0) return true;
    failWithUnit(kStreamWriteFailed);
    return false;
  }

  bool readHeader(Header& h) {
    int32_t flag = 0;
    TMPRD(h.words, k_, flag);
    if (flag != 0) {
      failWithUnit(kStreamReadFailed);
      return false;
    }
    h.take();
    return true;
  }

  // ---- steps 4 and 5: the header loop, the model opening, the loader
  Next databaseSide() {
    restartStream(k_);
    Header h;
    for (;;) {
      if (!readHeader(h)) return Next::Stop;
      if (!isModelKey(h.key)) break;
      const Opening opening = openModel(h);
      if (opening == Opening::Failed) return Next::Stop;
      if (opening == Opening::Built) return Next::Text;
    }
    // A loader would write its pages into files that are not open, and the failed
    // transfer would end the run: the dataset's model header has not been processed.
    if (DISTAT.databaseOpen == 0) {
      reportLoaderError(ierr_, kNotOpened);
      DISTAT.raiseErrorFlag(k_, kUnitFlagDataset);
      return Next::Stop;
    }
    const int32_t status = load(h);
    if (status == 0) return Next::Text;
    ierr_ = status;
    blockEveryUnit();
    return DICTL.luopt == kOutputBoth ? Next::Text : Next::Stop;
  }

  Opening openModel(const Header& h) {
    // The previous model's data file and named arrays go; so does any component
    // transformation and numbering offset an assembly left in force, which the loaders
    // of a plain model would otherwise apply.
    if (IOUNIT.openFlag(kDataFileType) != 0) FILCLS(kDataFileType);
    if (REGHED.mode != 0) ARRREL();
    CMPTRF.flag = 0;
    DBLEVL.nodeOffset = 0;
    DBLEVL.elementOffset = 0;
    takeStreamModel();
    // Until this header's database is open, no database is: a failure below must not be
    // taken for one of the model opened before.
    DISTAT.databaseOpen = 0;

    const bool exists = currentModelFilesExist();
    int32_t status = 0;
    if (h.letter == codeOf('A')) {
      if (!exists) return modelFailed("TLBOPN");
      TLBOPN(LDPAGE, givenModelCodes(), Dictl::kModelNameCodes, status);
      if (status != 0) return modelFailed("TLBOPN");
      // The model's own record says whether it is walked as an assembly, as the create
      // or the build of it said: not whatever model was created or built last.
      DBLEVL.numberingMode = CTLREC.word(kModelClass, kModelKindWord);
      int32_t held = 0;
      DBLOCK(kLockQuery, held);
      if (held < 0) {
        failWithNumber(kLocked, held == std::numeric_limits<int32_t>::min()
                                    ? std::numeric_limits<int32_t>::max()
                                    : -held);
        return Opening::Failed;
      }
      DBCTRW(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
      if (DICNT.nodeCount < 1 || DICNT.elementCount < 1) {
        fail(kModelIncomplete);
        return Opening::Failed;
      }
      DBHDRR(LDPAGE, status);
      if (status != 0) {
        fail(kModelIncomplete);
        return Opening::Failed;
      }
      if (!setUpArrays()) return Opening::Failed;
      DISTAT.databaseOpen = 1;
      DISTAT.openedMode = kAppendMode;
      return Opening::Opened;
    }

    if (exists) return modelFailed("FBCFIG");
    const bool build = h.letter == codeOf('B');
    const std::array<int32_t, 1> record = {build ? kBuiltModel : kCreatedModel};
    FBCFIG(LDPAGE, givenModelCodes(), record, h.title, status);
    if (status != 0) return modelFailed("FBCFIG");
    // A new database's summary starts from nothing; the counters of a model opened before
    // in the session must not reach it.
    DICNT = {};
    if (!setUpArrays()) return Opening::Failed;
    if (build) {
      DIPASM(LDPAGE, LDSCR, status);
      if (status != 0) {
        ierr_ = status;
        blockEveryUnit();
        return Opening::Failed;
      }
    }
    DBCTRW(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
    // Also with LUOPT 3, where the text side follows a build at once: the stop and the
    // clean-up must know the assembly's database was written.
    DISTAT.databaseOpen = 1;
    DISTAT.openedMode = build ? kBuildMode : kCreateMode;
    return build ? Opening::Built : Opening::Opened;
  }

  // The model of the header in this unit's stream becomes the current model: several
  // units may hold model headers at once, and the one named last need not be this one.
  void takeStreamModel() const {
    const auto& given = DICTL.unitModelGiven(k_).words;
    if (std::all_of(given.begin(), given.end(), [](int32_t c) { return c == DIBLNK; })) return;
    DICTL.modelGiven.words = given;
    DICTL.modelName.words = DICTL.unitModelName(k_).words;
  }

  Opening modelFailed(std::string_view routine) {
    failWithName(kNotDetected, routine);
    return Opening::Failed;
  }

  bool setUpArrays() {
    ARRNUM(kRoadHandles);
    int32_t status = 0;
    ARRREG(kRoadRegistry, kForceSetUp, status);
    if (status == 0) return true;
    failWithName(kNoMemory, "ARRREG");
    return false;
  }

  // The loader of the header's key, with the load case registered first where the
  // dataset belongs to one. Answers the loader's status (0 loaded).
  int32_t load(Header& h) {
    int32_t key = h.key;
    int32_t status = 0;
    if (isLoadCaseKey(key)) {
      registerLoadCase(h.name, LDSCR, h.value, h.flag, h.number, h.title, h.text, status);
      // Loading into the record of some other load case would mix the datasets up.
      if (status != 0) {
        reportLoaderError(status, kNotDetected, kRoutine, kDiName, 0, "LCADD");
        return status;
      }
    }
    switch (key) {
      case 2: DIPNC(LDPAGE, LDSCR, status); break;
      case 3: DIPET(LDPAGE, LDSCR, status); break;
      case 18: DIPES(LDPAGE, LDSCR, kNodeSetSelector, status); break;
      case 19: DIPES(LDPAGE, LDSCR, kElementSetSelector, status); break;
      case 20: DIPMAT(LDPAGE, LDSCR, status); break;
      case 28: DIPBL(LDPAGE, LDSCR, key, status); break;
      case 29: DIPCL(LDPAGE, LDSCR, key, status); break;
      case 30: DIPGP(LDPAGE, LDSCR, status); break;
      case 31: DIPSL(LDPAGE, LDSCR, key, status); break;
      case 32: DIPNX(LDPAGE, LDSCR, status); break;
      case 33: DIPEX(LDPAGE, LDSCR, status); break;
      case 34: DIPGX(LDPAGE, LDSCR, status); break;
      case 41: DIPCN(LDPAGE, LDSCR, status); break;
      case 42: DIPMC(LDPAGE, LDSCR, status); break;
      case 43: DIPLX(LDPAGE, LDSCR, status); break;
      case 50: DIPTRF(LDPAGE, LDSCR, status); break;
      case 53: DIPSY(LDPAGE, LDSCR, key, status); break;
      case 54: DIPNNM(LDPAGE, LDSCR, status); break;
      case 55: DIPENM(LDPAGE, LDSCR, status); break;
      case 100:
      case 300:
        DIPRES(LDPAGE, LDSCR, key, status);
        if (status == 0 && DISTAT.openedMode == kAppendMode) {
          S103WB(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
          CRPUT(kModelClass);
        }
        break;
      default:
        // No dataset header carries another key: the stream is not what was written.
        reportStreamFault(status);
        break;
    }
    return status;
  }

  // ---- step 6: the neutral text file
  bool textSide() {
    restartStream(k_);
    const int32_t result = writeNeutralDataset(k_);
    if (result == kNeutralOk) return true;
    // A line the file refused is a dataset lost: no success, no completion.
    if (result == kNeutralWriteFailed) {
      failWithName(kNotDetected, "LUNEU");
    } else {
      failWithUnit(kStreamReadFailed);
    }
    return false;
  }

  // ---- step 7: the unit freed
  void complete() {
    TMPRST(k_);
    clearUnitDataset(k_);
    restartStream(k_);
  }

  int32_t& ierr_;
  int32_t k_;
  int32_t iunt_;
};

}  // namespace

void DILIM(int32_t& ierr, int32_t iunt) {
  const int32_t k = findTempUnit(iunt);
  if (k == 0) {
    // The line counts against the unit that was current before.
    reportLoaderError(ierr, kUnknownUnit, iunt);
    DISTAT.blockModel(ierr);
    return;
  }
  DISTAT.currentUnit = k;
  if (DISTAT.errorFlag(k) != kUnitFlagNone) return reportLoaderError(ierr, kErrorPending);
  if (DISTAT.datasetComplete(k) != 1) {
    reportLoaderError(ierr, kIncompleteDataset, iunt);
    DISTAT.raiseErrorFlag(k, kUnitFlagDataset);
    return;
  }
  ierr = 0;
  Processing(ierr, k, iunt).run();
}

}  // namespace kvr
