#include "dbinterface/distp.h"

#include <span>
#include <string_view>

#include "dbinterface/dbside.h"
#include "dbinterface/dibld.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/dilim.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/dineu.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/dbopen.h"
#include "runtime/codtxt.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kNotInitialised = 28;
constexpr int32_t kBadLevel = 45;
constexpr int32_t kModelFirst = 46;
constexpr int32_t kUnknownUnit = 211;
constexpr int32_t kNotDetected = 299;

// Clean-up levels.
constexpr int32_t kAbandonDataset = 1;
constexpr int32_t kAbandonModel = 2;

// The model open mode of an append: its files existed before and are never deleted.
constexpr int32_t kAppendMode = 2;

// The database files, and the file-type opener's deletion: form 3, the existing file
// opened (|mode| 2) and closed with delete.
constexpr int32_t kIndexFileType = 7;
constexpr int32_t kDataFileType = 8;
constexpr int32_t kDeleteForm = 3;
constexpr int32_t kDeleteExisting = -2;
constexpr int32_t kLockForget = 2;

void report(int32_t& ierr, int32_t code, std::string_view routine, int32_t kind,
            int32_t number = 0, std::string_view name = {}) {
  ierr = code;
  FixedText routnm(6, routine);
  FixedText text(static_cast<int32_t>(name.size()), name);
  DIMSG(ierr, routnm, kind, text, number);
}

void inform(std::string_view routine, std::string_view text, int32_t kind, int32_t number,
            FText name = {}) {
  FixedText routnm(6, routine);
  FixedText line(kDiTextLength, text);
  DIINF(routnm, line, kind, name, number);
}

// Unit K's dataset abandoned: its words, message count and flag cleared, its stream
// started again.
void abandonDataset(int32_t k) {
  DISTAT.messageCount(k) = 0;
  clearUnitDataset(k);
  DISTAT.clearErrorFlag(k);
  restartStream(k);
}

bool anyUnitInError() {
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) {
    if (DISTAT.errorFlag(k) != kUnitFlagNone) return true;
  }
  return false;
}

// The number of codes of the model's given name the file-type opener takes: up to its
// last non-blank code, all of them when it is blank.
int32_t givenNameCount(std::span<const int32_t> codes) {
  int32_t n = static_cast<int32_t>(codes.size());
  while (n > 0 && codes[static_cast<std::size_t>(n - 1)] == kBlankCode) --n;
  return n == 0 ? static_cast<int32_t>(codes.size()) : n;
}

bool modelFileRemains(int32_t type, std::span<const int32_t> codes, int32_t count) {
  int32_t exists = 0;
  FOUVRE(-type, codes, count, 0, 0, exists);
  return exists == 1;
}

// Deletes the index and data files of the model being created or built. The database is
// closed first (its lock released, its files closed), so that nothing is left open on
// files that are gone: a later release would otherwise read a page of a deleted file.
// Both deletions are tried; false (299 reported) when either file remains.
bool deleteModelFiles(int32_t& ierr) {
  if (IOUNIT.openFlag(kIndexFileType) != 0) DBCNTW();
  releaseDatabase();
  const std::span<const int32_t> codes = givenModelCodes();
  const int32_t count = givenNameCount(codes);
  int32_t status = 0;
  FOUVRE(kIndexFileType, codes, count, kDeleteForm, kDeleteExisting, status);
  FOUVRE(kDataFileType, codes, count, kDeleteForm, kDeleteExisting, status);
  // The first file matters as much as the second: a lone index file would refuse the
  // next create of the model.
  if (modelFileRemains(kIndexFileType, codes, count) ||
      modelFileRemains(kDataFileType, codes, count)) {
    report(ierr, kNotDetected, "DIERR", kDiName, 0, "FOUVRE  ");
    return false;
  }
  int32_t unused = 0;
  DBLOCK(kLockForget, unused);
  DISTAT.databaseOpen = 0;
  return true;
}

void abandonModel(int32_t& ierr) {
  const bool deleteFiles = DICTL.luopt != kOutputNeutral && DISTAT.modelActive == 1 &&
                           DISTAT.openedMode != kAppendMode && DISTAT.databaseOpen == 1 &&
                           anyUnitInError();
  if (deleteFiles && !deleteModelFiles(ierr)) return;

  DISTAT.modelActive = 0;
  DISTAT.modelFailure = 0;
  DISTAT.displayBuildPending = 0;
  DISTAT.coordinatesState = 0;
  DISTAT.topologyState = 0;
  DICTL.nodeCount = 0;
  DICTL.elementCount = 0;
  // Units 1 to 10: the refusals that block every unit raise all ten flags.
  for (int32_t k = 1; k <= kMaxTempUnits; ++k) {
    DISTAT.messageCount(k) = 0;
    clearUnitDataset(k);
    DISTAT.clearErrorFlag(k);
  }
  restartStreams();
  FixedText name(Dictl::kModelNameCodes);
  CODTXT(DICTL.modelName.words, Dictl::kModelNameCodes, name);
  inform("DIERR", "WHOLE MODEL ABANDONED", kDiName, 0, name);
}

// The whole model abandoned by the stop: IERR becomes the error that blocked every unit,
// unless an error of the stop's own stands in it. A stop that lost a model never answers 0.
void abandonForStop(int32_t& ierr, int32_t iunt) {
  const int32_t cause = DISTAT.modelFailure;
  int32_t cleanup = 0;
  DIERR(kAbandonModel, cleanup, iunt);
  if (ierr == 0) ierr = cleanup != 0 ? cleanup : cause;
}

// DISTP steps 3 and 4: the datasets still open are processed and the units in error
// cleaned. True when the model was abandoned, which ends them.
bool processOpenDatasets(int32_t& ierr) {
  const auto errorFound = [](int32_t iunt) {
    inform("DISTP", "ERROR FOUND IN DATASET ON UNIT (IUNT)", kDiNumber, iunt);
  };
  int32_t cleanup = 0;  // the clean-up's own status does not reach DISTP's
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) {
    if (DISTAT.datasetKey(k) == 0) continue;
    const int32_t iunt = DICTL.tempUnit(k);
    DISTAT.currentUnit = k;
    inform("DISTP", "A DATASET IS STILL ACTIVE ON UNIT (IUNT)", kDiNumber, iunt);
    inform("DISTP", "ATTEMPTING TO PROCESS DATASET ON UNIT (IUNT)", kDiNumber, iunt);
    if (DISTAT.errorFlag(k) == kUnitFlagNone) DILIM(ierr, iunt);
    if (DISTAT.errorFlag(k) == kUnitFlagNone) continue;
    errorFound(iunt);
    if (DISTAT.errorFlag(k) == kUnitFlagDataset) DIERR(kAbandonDataset, cleanup, iunt);
    if (DISTAT.errorFlag(k) == kUnitFlagModel) {
      abandonForStop(ierr, iunt);
      return true;
    }
  }
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) {
    const int32_t flag = DISTAT.errorFlag(k);
    if (flag == kUnitFlagNone) continue;
    const int32_t iunt = DICTL.tempUnit(k);
    errorFound(iunt);
    if (flag == kUnitFlagModel) {
      abandonForStop(ierr, iunt);
      return true;
    }
    DIERR(flag, cleanup, iunt);
  }
  return false;
}

}  // namespace

void DIERR(int32_t ilevel, int32_t& ierr, int32_t iunt) {
  int32_t k = 0;
  if (ilevel != kAbandonModel) {
    k = findTempUnit(iunt);
    if (k == 0) {
      report(ierr, kUnknownUnit, "DIERR", kDiNumber, iunt);
      DISTAT.blockModel(ierr);
      return;
    }
    DISTAT.currentUnit = k;
  }
  ierr = 0;
  if (ilevel != kAbandonDataset && ilevel != kAbandonModel) {
    return report(ierr, kBadLevel, "DIERR", kDiNumber, ilevel);
  }
  if (DISTAT.initialised != 1) return report(ierr, kNotInitialised, "DIERR", kDiNoValue);
  if (ilevel == kAbandonModel) return abandonModel(ierr);

  const int32_t flag = DISTAT.errorFlag(k);
  if (flag == kUnitFlagModel) return report(ierr, kModelFirst, "DIERR", kDiNoValue);
  DICTL.nodeCount = 0;
  DICTL.elementCount = 0;
  abandonDataset(k);
  if (flag == kUnitFlagNone) inform("DIERR", "NO ERROR ON UNIT (IUNT)", kDiNumber, iunt);
  inform("DIERR", "ABANDONED DATASET AND ERROR CLEANUP ON UNIT (IUNT)", kDiNumber, iunt);
}

void DISTP(int32_t& ierr) {
  if (DISTAT.initialised != 1) return report(ierr, kNotInitialised, "DISTP", kDiNoValue);
  ierr = 0;
  const bool database = DICTL.luopt != kOutputNeutral;
  const bool abandoned = processOpenDatasets(ierr);

  if (database) {
    if (!abandoned && DISTAT.displayBuildPending == 1) {
      inform("DISTP", "DISPLAY DATASETS FOR LAST MODEL NOT BUILT", kDiNoValue, 0);
      int32_t status = 0;
      DIBLD(status);
      // The model is lost with the build: the stop answers the build's code.
      if (status != 0) abandonForStop(ierr, 0);
    }
    releaseDatabase();
    DBENDS();
  }
  // With neutral output the datasets above are written before the file's last line.
  if (DICTL.luopt != kOutputDatabase && writeNeutralEnd() != kNeutralOk) {
    report(ierr, kNotDetected, "DISTP", kDiName, 0, "LUNEU");
  }

  clearWritingState();
  DISTAT.initialised = 0;
  DISTAT.databaseOpen = 0;
  // A session started again begins every stream empty, whatever this one left on it.
  restartStreams();
}

}  // namespace kvr
