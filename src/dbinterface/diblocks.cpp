#include "dbinterface/diblocks.h"

namespace kvr {

int32_t findTempUnit(int32_t iunt) {
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) {
    if (DICTL.tempUnit(k) == iunt) return k;
  }
  return 0;
}

void clearWritingState() {
  Distat& s = DISTAT;
  s.modelActive = 0;
  s.modelState = 0;
  s.displayBuildPending = 0;
  s.coordinatesState = 0;
  s.topologyState = 0;
  s.databaseReady = 0;
  s.messageCount.fill(0);
  s.lastId.fill(0);
  s.datasetKey.fill(0);
  s.datasetComplete.fill(0);
  s.processing.fill({});
  s.results.fill({});
  for (int32_t k = 1; k <= kMaxTempUnits; ++k) s.clearErrorFlag(k);
  s.valuesPerRecord.fill(0);
  s.entityHeaderEntered.fill(0);
  s.groupStarted.fill(0);
  s.setHeaderWritten.fill(0);
  s.localAxisHeaderEntered.fill(0);
  s.localAxisRepeats.fill(0);
  s.processing2.fill({});

  Dictl& c = DICTL;
  c.nodeCount = 0;
  c.elementCount = 0;
  c.processing = {};
  c.ncomps.fill(0);
  c.numvar.fill(0);
  c.variants.fill({});
  c.modelName.words.fill(DIBLNK);
  c.modelGiven.words.fill(DIBLNK);
  DIUNIT.components.fill({});
}

}  // namespace kvr
