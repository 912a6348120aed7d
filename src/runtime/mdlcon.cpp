// The model constants, the database layout words and the version words.
#include <array>
#include <span>
#include <string_view>

#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/eltnam.h"
#include "runtime/filtyp.h"
#include "runtime/geosta.h"
#include "runtime/idpack.h"
#include "runtime/idxlay.h"
#include "runtime/iomode.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/resget.h"
#include "runtime/setget.h"
#include "runtime/startup.h"

namespace kvr {
namespace {

constexpr int32_t kRelease = 1;
constexpr int32_t kDatabaseConstant = 5000;
constexpr int32_t kIndexPageWords = 100;

// IDXLAY words 39 to 82; words 73-79 are the record lengths of control classes 101-107.
constexpr int32_t kLayoutFirst = 39;
constexpr std::array<int32_t, 44> kLayout = {
    0, 0, 0, 0, 27, 0, 0, 0, 0, 0,     // 39-48
    0, 0, 0, 0, 12, 8, 1, 2, 1, 1,     // 49-58
    1, 0, 0, 0, 6, 6, 6, 6, 8, 20,     // 59-68
    10, 0, 0, 0, 8, 11, 60, 48, 96, 96,  // 69-78
    96, 0, 0, 0,                       // 79-82
};

constexpr std::string_view kModelCharacters =
    " 0123456789-+=*/(),.ABCDEFGHIJKLMNOPQRSTUVWXYZ'";
constexpr int32_t kPi = 0x40490FDC;  // 3.1415930, one unit above the nearest float to pi
constexpr int32_t kBlankWord = 0x20202020;

// The element-type names, one literal list after the other, and the entity-kind codes.
constexpr std::string_view kNameLists[] = {
    "BE2 BE3 ",
    "BE4 BE5 P-EL",
    "TR3 ----QU4 ----TR6 QU7 QU8 QU9 ",
    "PE6 TE4 HE8 PE15HE16TE10HE20HE27",
    "TR9 QU12TR12QU16TR15 ",
    "TE16PE24HE32",
    "IP11IL22IL32IL33IL44IL55",
    "IS33IS44IS84IS66IS88",
    "SP8  SP10",
    "ALL     SUP ",
};
constexpr std::string_view kKindLists[] = {
    "T   G   M   P   L   S   B   SH  E   N   CS  LO  MA  ",
    "CO  PH  SE  ET  FE  D   ME  xxxxEQ  AX  PA  xxxx",
};

// The two words of the model geometry state that hold an eight-character name.
constexpr int32_t kGeoNameWords[] = {kGeoBinset, kGeoBinset + 1};
// The analysis-program code that the model-size word starts with.
constexpr int32_t kDefaultAnalysisProgram = 38;
constexpr int32_t kEltNamCount = 31;
constexpr int32_t kSelectionItems = 31;

constexpr int32_t kFormatCode = 9071;
constexpr int32_t kModelPageFactor1 = 2000;
constexpr int32_t kModelPageFactor2 = 1;
constexpr int32_t kTypeOfUnitWord = 18;
constexpr int32_t kPageHeaderLength = 4;
constexpr int32_t kBufferSize = 4000;

constexpr int32_t kSplineAngleSetting = 13;
constexpr int32_t kSplineWarpSetting = 14;

constexpr int32_t kLineScale = 15000;
constexpr int32_t kLineLimit = 9;
constexpr int32_t kIdLimit = 100000000;
constexpr int32_t kOldModulus = 1000;
constexpr int32_t kModulus = 10000;

// Packs the literal lists one after the other into WORDS, each taking (length + 3) / 4
// words with its blanks.
template <size_t N, size_t M>
void packLists(const std::string_view (&lists)[N], std::array<int32_t, M>& words) {
  words.fill(kBlankWord);
  int32_t at = 1;
  for (std::string_view list : lists) {
    FixedText text(static_cast<int32_t>(list.size()), list);
    int32_t last = 0;
    TXTA4(text, at, words, last);
    at += static_cast<int32_t>((list.size() + 3) / 4);
  }
}

void modelConstants() {
  MODCON.words = {};
  MODCON.word(1) = 4;
  MODCON.word(2) = kModCharacters;
  FixedText characters(kModCharacters, kModelCharacters);
  int32_t last = 0;
  TXTCOD(characters, 1, std::span<int32_t>(MODCON.words).subspan(kModFirstCode - 1, kModCharacters),
         last);
  MODCON.word(50) = 0;
  MODCON.word(kModWordsPerValue) = 1;
  MODCON.setReal(52, 1.0e6f);
  MODCON.setReal(kModLongestLine, 32767.0f);
  MODCON.word(54) = 6;
  MODCON.word(55) = 6;
  MODCON.setReal(56, 9.0f);
  MODCON.word(57) = 3;
}

void geometricConstants() {
  GEOCON.word(1) = kPi;
  GEOCON.setReal(2, 0.01745329f);
  GEOCON.setReal(3, 0.001f);
  GEOCON.setReal(4, 0.001f);
  GEOCON.setReal(5, 1.0e-5f);
  GEOCON.setReal(6, 1.0e-7f);
  GEOCON.word(7) = 10;
  GEOCON.setReal(8, 15.0f);
  GEOCON.setReal(9, 165.0f);
  GEOCON.word(10) = 12;
}

void databaseParameters() {
  DBPARM.formatCode = kFormatCode;
  DBPARM.pageFactor1 = kModelPageFactor1;
  DBPARM.pageFactor2 = kModelPageFactor2;
  DBPARM.type18Unit = IOUNIT.slot(fileTypeRow(kTypeOfUnitWord)->closeSlot);
  DBPARM.pageHeaderLength = kPageHeaderLength;
  DBPARM.bufferSize = kBufferSize;
}

float realSetting(int32_t number) {
  int32_t integer = 0;
  float real = 0.0f;
  FixedText text(255);
  SETGET(number, integer, real, text);
  return real;
}

// The packing modulus: 1000 when the setting Pre7005 begins with "T" or "t".
int32_t packingModulus() {
  FixedText app(6, "Quorin");
  FixedText any(1, "*");
  FixedText key(7, "Pre7005");
  FixedText value(1);
  int32_t status = 0;
  RESGET(app, any, any, key, false, value, status);
  const char c = value.text().at(1);
  return c == 'T' || c == 't' ? kOldModulus : kModulus;
}

}  // namespace

void MDLCON() {
  modelConstants();
  geometricConstants();
  MSGARG = {};
  MSGARG.third() = 3;
  BLKCOD(DSPSTA.state.title, 1, DisplayCopy::kTitleCodes);
  MODCNT.word(kCntAnalysisProgram) = kDefaultAnalysisProgram;
  databaseParameters();
  packLists(kNameLists, ELTNAM.names);
  packLists(kKindLists, ELTNAM.kindCodes);
  ELTNAM.blank = kBlankWord;
  ELTNAM.splineAngleTolerance = realSetting(kSplineAngleSetting);
  ELTNAM.splineWarpTolerance = realSetting(kSplineWarpSetting);
  for (int32_t k : kGeoNameWords) GEOSTA.word(k) = kBlankWord;
  ELTNAM.count = kEltNamCount;
  DSPSEL.itemCount = kSelectionItems;
  DSPSTA.further = 0;
  IDPACK.modulus = packingModulus();
  MACHCN.word(kMachLineScale) = kLineScale;
  MACHCN.word(kMachLineLimit) = kLineLimit;
  IDPACK.idLimit = kIdLimit;
  USEMPT();
}

void INICON() {
  IOMODE.release = kRelease;
  IOMODE.releaseLetter = 0;
  IOMODE.databaseConstant = kDatabaseConstant;
}

void USEMPT() {}

void SETDEF() {
  for (size_t k = 0; k < kLayout.size(); ++k) {
    IDXLAY.word(kLayoutFirst + static_cast<int32_t>(k)) = kLayout[k];
  }
  DBPARM.fileSlot(1).pageSize = kIndexPageWords;
  DBPARM.fileSlot(2) = {};
}

}  // namespace kvr
