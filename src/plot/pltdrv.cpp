#include "plot/pltdrv.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "platform/fmtedit.h"
#include "plot/cgm/cgmdrv.h"
#include "plot/frame/ilfdrv.h"
#include "plot/hpgl/hg2drv.h"
#include "plot/hpgl/hpgdrv.h"
#include "plot/neutral/plfdrv.h"
#include "plot/pcl/pcldrv.h"
#include "plot/pltdsp.h"
#include "plot/plxfrm.h"
#include "plot/postscript/lasplt.h"
#include "plot/tiff/tifdrv.h"
#include "runtime/pltctb.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

constexpr int32_t kModelWord = 2;  // the word a row may leave to the printer model

// The driver of each device number, 1 first: neutral plot file, PostScript monochrome,
// Interleaf, PostScript colour, PCL Laserjet, PCL Paintjet, HP-GL, HP-GL/2, PCL Deskjet,
// CGM, (hard copy: none), TIFF. A driver not built in has no entry and its records are
// dropped.
std::array<PlotDriver, kLastDevice> gDrivers{
    PLFDRV,   // 1 neutral plot file
    PSMONO,   // 2 PostScript monochrome
    ILFDRV,   // 3 Interleaf
    PSCOLR,   // 4 PostScript colour
    PCLLAS,   // 5 PCL Laserjet
    PCLPNT,   // 6 PCL Paintjet
    HPGDRV,   // 7 HP-GL
    HG2DRV,   // 8 HP-GL/2
    PCLDSK,   // 9 PCL Deskjet
    CGMDRV,   // 10 CGM
    nullptr,  // 11 hard copy
    TIFDRV,   // 12 TIFF
};

bool hasEntry(int32_t device) {
  return device >= 1 && device < kLastDevice && device != kDeviceHardCopy;
}

}  // namespace

float windowExtent(float low, float high) {
  const float d = high - low;
  return d > 0.0f && std::isfinite(d) ? d : 1.0f;
}

PlotDriver driverOf(int32_t device) {
  return hasEntry(device) ? gDrivers[static_cast<size_t>(device - 1)] : nullptr;
}

PlotDriver installDriver(int32_t device, PlotDriver entry) {
  if (!hasEntry(device)) return nullptr;
  PlotDriver& slot = gDrivers[static_cast<size_t>(device - 1)];
  PlotDriver previous = slot;
  slot = entry;
  return previous;
}

void openDriver(const DriverOpen& open) {
  PLTCAP.deviceName().assign(open.name);

  PLXFRM.words = PLTCAP.words;
  PLXFRM.colourCount = PLTDEV.colourCount;
  PLXFRM.colourCount2 = PLTDEV.colourCount2;
  PLXFRM.currentColour = PLTDEV.currentColour;
  PLXFRM.colourTable = PLTDEV.colourTableCount;
  PLXFRM.lineAttribute = PLTDEV.lineAttribute;
  PLXFRM.cellWidth = PLTDEV.cellWidth;
  PLXFRM.cellHeight = PLTDEV.cellHeight;

  const DeviceWords& row = deviceDescription(open.row);
  for (int32_t k = 1; k <= PltCap::kIntegerWords; ++k) {
    const int32_t value = row[static_cast<size_t>(k - 1)];
    switch (value) {
      case kCapKept: break;
      case kCapOptionWord2: PLTCAP.word(k) = PLTOPT.word(kOptSecond); break;
      case kCapByModel: PLTCAP.word(k) = k == kModelWord ? open.modelWord : 0; break;
      default: PLTCAP.word(k) = value; break;
    }
  }

  PLTDEV.colourCount = open.colourCount;
  PLTDEV.currentColour = 0;
  PLTDEV.colourTableCount = 0;
  PLTDEV.lineAttribute = 0;
  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;
  if (open.tableOne) PLTPAR.colourTable = 1;
}

namespace {
JobEnd gOpenJob = nullptr;
}  // namespace

void endOpenJob() {
  const JobEnd end = gOpenJob;
  gOpenJob = nullptr;
  if (end != nullptr) end();
}

void jobOpened(JobEnd end) { gOpenJob = end; }

void closeDriver(bool giveBackColour) {
  gOpenJob = nullptr;
  PLTCAP.words = PLXFRM.words;
  PLTDEV.colourCount = PLXFRM.colourCount;
  PLTDEV.colourCount2 = PLXFRM.colourCount2;
  PLTDEV.cellWidth = PLXFRM.cellWidth;
  PLTDEV.cellHeight = PLXFRM.cellHeight;
  PLTDEV.currentColour = giveBackColour ? PLXFRM.currentColour : 0;
  PLTDEV.colourTableCount = giveBackColour ? PLXFRM.colourTable : 0;
  PLTDEV.lineAttribute = giveBackColour ? PLXFRM.lineAttribute : 0;
}

bool sharedStep(int32_t opcode, bool colourDevice) {
  switch (opcode) {
    case kOpColour: PLTDEV.currentColour = PLTPAR.colour; break;
    case kOpLineAttribute:
      // Values below 1 are line widths, which each driver treats in its own way.
      if (PLTPAR.lineAttribute >= 1) PLTDEV.lineAttribute = PLTPAR.lineAttribute;
      break;
    case kOpCharacterSize: PLTDEV.characterSizeBase = PLTPAR.characterSize; break;
    case kOpText:
      if (PLTPAR.textCount < 0) {
        PLTCTB.textAnswer = kTextInquiryAnswer;
        return true;
      }
      break;
    case kOpObjectKind: PLTDEV.objectKind = PLTPAR.objectKind; break;
    case kOpSelectTransform: PLTDEV.selectedTransform = PLTPAR.selectTransform; break;
    case kOpDefineTransform:
      PLTDEV.transformNumber = PLTPAR.defineTransform;
      PLTDEV.transformWindow = {PLTPAR.x[0], PLTPAR.x[1], PLTPAR.y[0], PLTPAR.y[1]};
      break;
    case kOpColourTable: {
      const int32_t table = PLTPAR.colourTable;
      PLTDEV.colourTableCount = table;
      // A table outside 0..10 has no count; reading one would run off the counts.
      if (colourDevice && table >= 0 && table <= PltCtb::kTables) {
        PLTDEV.colourCount = PLTCTB.count(table);
        PLTDEV.colourCount2 = PLTDEV.colourCount;
      }
      break;
    }
    default: break;
  }
  return false;
}

void transformPoint(float& x, float& y, bool onlyAboveOne) {
  const int32_t t = PLTDEV.selectedTransform;
  if (onlyAboveOne ? t <= 1 : t == 1) return;
  x = PLTDEV.mapScale * (x - PLTDEV.mapOriginX) + PLTDEV.mapOffsetX;
  y = PLTDEV.mapScale * (y - PLTDEV.mapOriginY) + PLTDEV.mapOffsetY;
}

void mapPage(const PlotWindow& window, float raise, float width, float height,
             float offsetX, float offsetY) {
  const float top = window.yMax + raise;
  const float sx = width / windowExtent(window.xMin, window.xMax);
  const float sy = height / windowExtent(window.yMin, top);
  PLXFRM.pageScale = sx < sy ? sx : sy;
  PLXFRM.pageOriginX = (window.xMin + window.xMax) / 2.0f;
  PLXFRM.pageOriginY = (window.yMin + top) / 2.0f;
  PLXFRM.pageOffsetX = offsetX;
  PLXFRM.pageOffsetY = offsetY;
}

float pageX(float x) { return (x - PLXFRM.pageOriginX) * PLXFRM.pageScale + PLXFRM.pageOffsetX; }
float pageY(float y) { return (y - PLXFRM.pageOriginY) * PLXFRM.pageScale + PLXFRM.pageOffsetY; }
int32_t deviceX(float x) { return intOf(pageX(x)); }
int32_t deviceY(float y) { return intOf(pageY(y)); }

}  // namespace kvr
