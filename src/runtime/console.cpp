#include "runtime/console.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltops.h"
#include "runtime/pltpar.h"
#include "runtime/replyb.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kOpenState = 2;
constexpr int32_t kCellWidth = 7;
constexpr int32_t kCellHeight = 9;
constexpr float kCoordLimit = 32767.0f;
constexpr int32_t kMaxPage = 32767;
constexpr int32_t kLineCharacters = 80;
constexpr int32_t kTitleCodes = 200;
constexpr int32_t kSettingLength = 80;

constexpr int32_t kOpReadLine = 21;
constexpr int32_t kOpClearStatus = 34;
constexpr int32_t kOpMessageBox = 49;

// The console page: 679 x 480 unless the setting Geometry of section Alpha says
// otherwise (its characters before the first blank, "<width>x<height>").
void consolePage(int32_t& width, int32_t& height) {
  width = kConsoleWidth;
  height = kConsoleHeight;
  FixedText key(8, "Geometry");
  FixedText value(kSettingLength);
  int32_t status = 0;
  ALPSET(key, value, 0, status);
  if (status <= 0) return;
  const size_t blank = value.view().find(' ');
  const int32_t length =
      blank == std::string_view::npos ? kSettingLength : static_cast<int32_t>(blank);
  int32_t w = 0;
  int32_t h = 0;
  int32_t failed = 0;
  ALPGEO(value, w, h, failed, length);
  if (failed != 0) return;
  if (w != 0) width = w;
  if (h != 0) height = h;
}

void open() {
  if (PLTDEV.openState1 == kOpenState) return;
  int32_t width = 0;
  int32_t height = 0;
  consolePage(width, height);
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const PlotWindow page{1.0f, w, 1.0f, h};

  PLTCAP.deviceName().assign("Alpha");
  if (CONHOOKS.description != nullptr) PLTCAP.words = CONHOOKS.description();
  PLTCAP.scale = 1.0f;
  PLTCAP.inverseWidth = 1.0f / w;
  PLTCAP.xMin = 1.0f;
  PLTCAP.xMax = w;
  PLTCAP.yMin = 1.0f;
  PLTCAP.yMax = h;
  PLTCAP.coordMin = -kCoordLimit;
  PLTCAP.coordMax = kCoordLimit;
  PLTCAP.last = 1;

  PLTDEV.colourTableCount = 0;
  PLTDEV.currentColour = 0;
  PLTDEV.further = 0;
  PLTDEV.objectKind = 0;
  PLTDEV.lineAttribute = 0;
  PLTDEV.one = 1;
  PLTDEV.selectedTransform = 1;
  PLTDEV.cellsAcross = (width - 1) / kCellWidth;
  PLTDEV.cellsDown = (height - 1) / kCellHeight;
  PLTDEV.cellHeight = static_cast<float>(kCellHeight);
  PLTDEV.cellWidth = static_cast<float>(kCellWidth);
  PLTDEV.window = page;
  PLTDEV.coordMin = -kCoordLimit;
  PLTDEV.coordMax = kCoordLimit;
  PLTDEV.transformNumber = 0;
  PLTDEV.transformWindow = page;
  PLTDEV.cellHeightWord = kCellHeight;
  PLTDEV.cellWidthWord = kCellWidth;
  PLTDEV.window2 = page;
  PLTDEV.characterSizeBase = 1;
  PLTDEV.sevens.fill(static_cast<float>(kCellWidth));
  PLTDEV.nines.fill(static_cast<float>(kCellHeight));

  PLTPAR.textOffsetX = 0.0f;
  PLTPAR.textOffsetY = 0.0f;

  if (CONHOOKS.colourSetUp != nullptr) CONHOOKS.colourSetUp();
  PLTDEV.colourCount = PLTCTB.count(kBasicColourTable);
  PLTDEV.colourCount2 = PLTDEV.colourCount;
}

// Text output: an empty record for a count below 1 (as "(1X)" writes it), else the codes
// in lines of 80 characters, each behind one blank.
void textOutput() {
  if (PLTCAP.hostDialogue > kHostDialogueThreshold) return;
  const int32_t n = std::min(PLTPAR.textCount, PltPar::kMaxText);
  if (n < 1) {
    io::writeRecord(PLTPAR.outUnit, "");
    return;
  }
  for (int32_t first = 1; first <= n; first += kLineCharacters) {
    std::string line = " ";
    for (int32_t k = first; k <= n && k < first + kLineCharacters; ++k) {
      line.push_back(charOf(PLTPAR.text[static_cast<size_t>(k - 1)]));
    }
    io::writeRecord(PLTPAR.outUnit, line);
  }
}

// The message box of the request in PLTPAR.
void messageBox() {
  FixedText title(PltPar::kMaxText);
  FixedText text(PltPar::kMaxText);
  CODTXT(PLTPAR.text, std::min(PLTPAR.textCount, kTitleCodes), title);
  CODTXT(PLTPAR.text2, PLTPAR.text2Count, text);
  const int32_t icon = PLTPAR.text[kTitleCodes];
  const int32_t buttons = PLTPAR.text[kTitleCodes + 1];
  const int32_t defaultButton = PLTPAR.text[kTitleCodes + 2];
  if (PLTCAP.hostDialogue > kHostDialogueThreshold) {
    TXTNUL(title, 0);
    TXTNUL(text, 0);
    PLTPAR.answer = HCMBOX(title, text, icon, buttons, defaultButton);
  } else {
    PLTPAR.answer = ALPBOX(title, text, icon, buttons, defaultButton);
  }
}

}  // namespace

void ALPDRV(int32_t opcode) {
  // The device words of opcodes 10, 11, 12, 25, 31, 33 and 35 and the answer to a text
  // inquiry, as every device keeps them; the console has no colour counts by table.
  if (CONHOOKS.sharedStep != nullptr) CONHOOKS.sharedStep(opcode, false);
  switch (opcode) {
    case kOpOpen: open(); break;
    case kOpReadLine:
      PRMRDL(REPLYB.promptText(), PLTCAP.promptLength, PLTPAR.inUnit, PLTPAR.outUnit,
             REPLYB.replyText());
      break;
    case kOpTextOutput:
    case kOpTextOutput2: textOutput(); break;
    case kOpClearStatus: PLTPAR.status = 0; break;
    case kOpMessageBox: messageBox(); break;
    default: break;
  }
}

void ALPGEO(FText text, int32_t& width, int32_t& height, int32_t& failed, int32_t length) {
  width = 0;
  height = 0;
  failed = 1;
  const int32_t n = std::clamp(length, 0, text.length());
  if (n <= 2) return;
  std::string_view s = text.view().substr(0, static_cast<size_t>(n));
  s.remove_prefix(std::min(s.size(), s.find_first_not_of(' ')));
  // Only digits and one "x" make a page; a sign, a separator or an overlong number would
  // give a nonsense or negative page size.
  const size_t x = s.find_first_of("xX");
  if (x == std::string_view::npos) return;
  auto number = [](std::string_view digits, int32_t& value) {
    if (digits.empty()) return false;
    value = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
      if (value > kMaxPage) return false;
    }
    return value >= 1;
  };
  int32_t w = 0;
  int32_t h = 0;
  if (!number(s.substr(0, x), w) || !number(s.substr(x + 1), h)) return;
  width = w;
  height = h;
  failed = 0;
}

void ALPSET(FText key, FText value, int32_t defaultFlag, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText section(5, "Alpha");
  RESGET(app, prog, section, key, defaultFlag != 0, value, status);
}

}  // namespace kvr
