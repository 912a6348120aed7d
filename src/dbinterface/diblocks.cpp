#include "dbinterface/diblocks.h"

namespace kvr {

int32_t findTempUnit(int32_t iunt) {
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) {
    if (DICTL.tempUnit(k) == iunt) return k;
  }
  return 0;
}

void clearUnitDataset(int32_t k) {
  Distat& s = DISTAT;
  s.datasetKey(k) = 0;
  s.datasetComplete(k) = 0;
  s.lastId(k) = 0;
  s.processing(k) = {};
  s.results(k) = {};
  s.valuesPerRecord(k) = 0;
  s.entityHeaderEntered(k) = 0;
  s.groupStarted(k) = 0;
  s.setHeaderWritten(k) = 0;
  s.localAxisHeaderEntered(k) = 0;
  s.localAxisRepeats(k) = 0;
  s.processing2(k) = {};
  DICTL.ncomps(k) = 0;
  DICTL.numvar(k) = 0;
  DICTL.variants(k) = {};
  DIUNIT.components(k) = {};
  DICTL.unitModelName(k).words.fill(DIBLNK);
  DICTL.unitModelGiven(k).words.fill(DIBLNK);
}

void clearWritingState() {
  Distat& s = DISTAT;
  s.modelActive = 0;
  s.modelState = 0;
  s.displayBuildPending = 0;
  s.coordinatesState = 0;
  s.topologyState = 0;
  s.databaseReady = 0;
  s.modelFailure = 0;
  for (int32_t k = 1; k <= kMaxTempUnits; ++k) {
    s.messageCount(k) = 0;
    s.clearErrorFlag(k);
    clearUnitDataset(k);
  }

  Dictl& c = DICTL;
  c.nodeCount = 0;
  c.elementCount = 0;
  c.processing = {};
  c.modelName.words.fill(DIBLNK);
  c.modelGiven.words.fill(DIBLNK);
}

}  // namespace kvr
