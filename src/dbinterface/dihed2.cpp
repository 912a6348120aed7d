#include "dbinterface/dihed2.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "dbinterface/dbside.h"
#include "dbinterface/dibld.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/distp.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/tmpstream.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

// Dataset keys with checks of their own.
constexpr int32_t kModelKey = 1;
constexpr int32_t kModelKeyFull = 111;
constexpr int32_t kCoordinatesKey = 2;
constexpr int32_t kTopologyKey = 3;
constexpr int32_t kNodeSetKey = 18;
constexpr int32_t kElementSetKey = 19;
constexpr int32_t kMaterialsKey = 20;
constexpr int32_t kResultsKey = 100;

// Opcodes of a model header, and the model states they leave.
constexpr int32_t kCreate = 1;
constexpr int32_t kAppend = 2;
constexpr int32_t kBuild = 3;

// Coordinates and topology states.
constexpr int32_t kNotEntered = 0;
constexpr int32_t kBeingEntered = 1;
constexpr int32_t kEntered = 2;

// The code of a display build that failed in one of its steps.
constexpr int32_t kBuildFailed = 223;

// The characters of a load-case name that must not all be blank.
constexpr int32_t kLoadCaseNameChars = 6;

bool isModelKey(int32_t key) { return key == kModelKey || key == kModelKeyFull; }

// One call of DIHED2: its IERR, its unit index once found, and the name as the header
// record holds it (upper-cased, cut at 20), for the lines that show it.
class HeaderCall {
 public:
  HeaderCall(int32_t& ierr, FText name) : ierr_(ierr), shownName_(kHeaderNameCodes) {
    textCodes(name, nameCodes_, true);
    textCodes(name, givenCodes_, false);
    CODTXT(nameCodes_, kHeaderNameCodes, shownName_);
  }

  // Refuses the header with CODE, no value or a number, raising the unit's flag to FLAG
  // (0 none).
  void refuse(int32_t code, int32_t flag) { report(code, flag, kDiNoValue, 0); }
  void refuse(int32_t code, int32_t flag, int32_t number) {
    report(code, flag, kDiNumber, number);
  }
  // Refuses a model header with CODE, showing its name.
  void refuseWithName(int32_t code) {
    ierr_ = code;
    FixedText routnm(6, "DIHED2");
    DIMSG(ierr_, routnm, kDiName, shownName_, 0);
  }

  void inform(std::string_view text, bool withName) {
    FixedText routnm(6, "DIHED2");
    FixedText line(kDiTextLength, text);
    DIINF(routnm, line, withName ? kDiName : kDiNoValue, shownName_, 0);
  }

  // The call answers CODE, whose line was written already.
  void answer(int32_t code) { ierr_ = code; }

  int32_t k = 0;  // the unit index, once found
  const std::array<int32_t, kHeaderNameCodes>& nameCodes() const { return nameCodes_; }
  const std::array<int32_t, kHeaderNameCodes>& givenCodes() const { return givenCodes_; }
  bool nameIsBlank(int32_t chars) const {
    return std::all_of(nameCodes_.begin(), nameCodes_.begin() + chars,
                       [](int32_t c) { return c == kBlankCode; });
  }

 private:
  void report(int32_t code, int32_t flag, int32_t kind, int32_t number) {
    ierr_ = code;
    FixedText routnm(6, "DIHED2");
    FText noName;
    DIMSG(ierr_, routnm, kind, noName, number);
    if (flag != kUnitFlagNone) DISTAT.raiseErrorFlag(k, flag);
  }

  int32_t& ierr_;
  std::array<int32_t, kHeaderNameCodes> nameCodes_{};
  std::array<int32_t, kHeaderNameCodes> givenCodes_{};
  FixedText shownName_;
};

// The checks of a model header that depend on the model; false when it is refused.
bool acceptModelHeader(HeaderCall& call, int32_t iopcod, FText name, int32_t iunt) {
  const int32_t k = call.k;
  if (DISTAT.datasetKey(k) != 0) {
    call.refuse(111, kUnitFlagDataset, iunt);
    return false;
  }
  if (DICTL.luopt == kOutputNeutral) return true;

  if (DISTAT.displayBuildPending == 1) {
    call.inform("DISPLAY DATASETS FOR LAST MODEL NOT BUILT", false);
    int32_t status = 0;
    DIBLD(status);
    if (status == kBuildFailed) {
      // The previous model is lost with its failed build: this call answers the build's
      // code, and the header is not taken, since the clean-up freed every unit.
      int32_t cleanup = 0;
      DIERR(2, cleanup, iunt);
      call.answer(cleanup != 0 ? cleanup : status);
      return false;
    }
    // A build refused before it began (no topology, an error pending) leaves the files
    // as they are: the previous model is abandoned and this header goes on.
    if (status != 0) DIERR(2, status, iunt);
  }
  if (DISTAT.modelState != 0) releaseDatabase();

  // From here the previous model is released: a refused header must not leave it
  // active with its database marked open, or later datasets would go to closed files.
  int32_t code = 0;
  if (call.nameIsBlank(kHeaderNameCodes)) {
    code = 36;
  } else {
    const bool exists = modelFilesExist(name);
    if (!exists && iopcod == kAppend) code = 37;
    if (exists && iopcod == kCreate) code = 38;
    if (exists && iopcod == kBuild) code = 39;
  }
  if (code == 0) return true;
  DISTAT.modelActive = 0;
  DISTAT.databaseOpen = 0;
  if (code == 36) {
    call.refuse(code, kUnitFlagNone);
  } else {
    DICTL.modelName.words = call.nameCodes();
    DICTL.modelGiven.words = call.givenCodes();
    call.refuseWithName(code);
  }
  return false;
}

// The checks of a coordinates (key 2) or topology (key 3) header.
bool acceptMeshHeader(HeaderCall& call, int32_t ikey, int32_t iopcod) {
  const bool coordinates = ikey == kCoordinatesKey;
  const int32_t state = coordinates ? DISTAT.coordinatesState : DISTAT.topologyState;
  int32_t code = 0;
  if (DISTAT.modelActive != 1) {
    code = coordinates ? 114 : 119;
  } else if (DISTAT.modelState == kAppend) {
    code = coordinates ? 115 : 121;
  } else if (DISTAT.modelState == kBuild) {
    code = coordinates ? 116 : 122;
  } else if (state != kNotEntered) {
    code = coordinates ? 117 : 123;
  } else if (iopcod != 1) {
    code = 118;
  }
  if (code == 0) return true;
  call.refuse(code, kUnitFlagDataset);
  return false;
}

// The checks of every other header.
bool acceptDatasetHeader(HeaderCall& call, int32_t ikey, int32_t iopcod) {
  int32_t code = 0;
  if (DISTAT.modelState == kBuild && (ikey == kNodeSetKey || ikey == kElementSetKey)) {
    code = 124;
  } else if (DISTAT.modelState == kBuild && ikey == kMaterialsKey) {
    code = 125;
  } else if (DISTAT.modelActive == 0) {
    code = 193;
  } else if (DISTAT.coordinatesState != kEntered) {
    code = 126;
  } else if (DISTAT.topologyState != kEntered) {
    code = 127;
  } else if (ikey == kResultsKey && call.nameIsBlank(kLoadCaseNameChars)) {
    code = 128;
  } else if (iopcod != 1) {
    code = 118;
  }
  if (code == 0) return true;
  call.refuse(code, kUnitFlagDataset);
  return false;
}

// The model of an accepted model header becomes the current model.
void openModel(HeaderCall& call, int32_t iopcod) {
  DISTAT.modelActive = 1;
  DICTL.modelName.words = call.nameCodes();
  DICTL.modelGiven.words = call.givenCodes();
  DICTL.unitModelName(call.k).words = call.nameCodes();
  DICTL.unitModelGiven(call.k).words = call.givenCodes();
  DISTAT.databaseOpen = 0;
  const int32_t state = iopcod == kCreate ? kNotEntered : kEntered;
  DISTAT.coordinatesState = state;
  DISTAT.topologyState = state;
  DISTAT.modelState = iopcod;
  DISTAT.displayBuildPending = iopcod == kCreate && DICTL.luopt != kOutputNeutral ? 1 : 0;
  static constexpr std::array<std::string_view, 3> kOpened = {
      "MODEL OPENED TO CREATE", "MODEL OPENED TO APPEND", "MODEL OPENED TO BUILD"};
  call.inform(kOpened[static_cast<std::size_t>(iopcod - 1)], true);
}

}  // namespace

void DIHED2(int32_t ikey, int32_t iopcod, FText name, float hvalue, int32_t hnumbr,
            FText htitle, int32_t hflag, FText htext, int32_t& ierr, int32_t iunt) {
  ierr = 0;
  HeaderCall call(ierr, name);

  call.k = findTempUnit(iunt);
  if (call.k == 0) {
    // The line counts against the unit that was current before.
    call.refuse(211, kUnitFlagNone, iunt);
    DISTAT.blockModel(ierr);
    return;
  }
  const int32_t k = call.k;
  DISTAT.currentUnit = k;

  if (!isDatasetKey(ikey)) return call.refuse(112, kUnitFlagDataset, ikey);
  if (iopcod < kCreate || iopcod > kBuild) return call.refuse(113, kUnitFlagDataset, iopcod);
  if (DICTL.luopt != kOutputNeutral && DISTAT.databaseReady != 1) {
    return call.refuse(29, kUnitFlagNone);
  }
  if (DISTAT.errorFlag(k) != kUnitFlagNone) return call.refuse(32, kUnitFlagNone);

  const bool modelHeader = isModelKey(ikey);
  if (modelHeader) {
    if (!acceptModelHeader(call, iopcod, name, iunt)) return;
  } else {
    // A second dataset behind the first in one stream would be read back as part of it:
    // only a model header may stand in front of a dataset.
    if (DISTAT.datasetKey(k) != 0 && !isModelKey(DISTAT.datasetKey(k))) {
      return call.refuse(111, kUnitFlagDataset, iunt);
    }
    const bool mesh = ikey == kCoordinatesKey || ikey == kTopologyKey;
    if (mesh ? !acceptMeshHeader(call, ikey, iopcod) : !acceptDatasetHeader(call, ikey, iopcod)) {
      return;
    }
  }

  headerRecord(DIUNIT.record, ikey, opcodeLetter(iopcod), name, hvalue, htitle, hflag, hnumbr,
               htext);
  int32_t flag = 0;
  TMPWRT(DIUNIT.record.words(), k, flag);
  if (flag != 0) return call.refuse(129, kUnitFlagDataset, iunt);

  if (modelHeader) openModel(call, iopcod);
  if (ikey == kCoordinatesKey) {
    DISTAT.coordinatesState = kBeingEntered;
    DICTL.nodeCount = 0;
  } else if (ikey == kTopologyKey) {
    DISTAT.topologyState = kBeingEntered;
    DICTL.elementCount = 0;
  }

  DISTAT.datasetComplete(k) = modelHeader ? 1 : 0;
  DISTAT.datasetKey(k) = ikey;
  DISTAT.groupStarted(k) = 0;
  DISTAT.messageCount(k) = 0;
  DISTAT.lastId(k) = 0;
  DISTAT.processing2(k) = {};
}

}  // namespace kvr
