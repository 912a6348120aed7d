#include "runtime/sysini.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fmtedit.h"
#include "runtime/envirn.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"
#include "runtime/platrtn.h"
#include "runtime/resget.h"

namespace kvr {
namespace {

constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
constexpr int32_t kValueLength = 8;
constexpr int32_t kEnvironmentLength = 80;
constexpr float kLargestReal = 3.4028235e38f;
constexpr float kRootLargestReal = 1.8446743e19f;
constexpr float kTolerance = 1.0e-32f;
constexpr float kEpsilon = 1.1920929e-7f;
constexpr float kSmallestNormal = 1.1754944e-38f;

bool isTrue(FText value) { return value.at(1) == 'T' || value.at(1) == 't'; }

// A setting of the application "Quorin" and program "*".
int32_t lookup(std::string_view section, std::string_view key, bool isSwitch, FText value) {
  FixedText app(6, "Quorin");
  FixedText prog(1, "*");
  FixedText sect(static_cast<int32_t>(section.size()), section);
  FixedText k(static_cast<int32_t>(key.size()), key);
  int32_t status = 0;
  RESGET(app, prog, sect, k, isSwitch, value, status);
  return status;
}

void environment(std::string_view name, FText value) {
  FixedText n(static_cast<int32_t>(name.size()), name);
  ENVIRN(n, value);
}

// The decimal exponent of X: written in E editing ("0.3402823E+39") the exponent is one
// above it, since the digits stand after the point.
int32_t decimalExponent(float x) {
  const std::string text = fmt::editE(x, 15, 7);
  const size_t e = text.find('E');
  int32_t exponent = 0;
  if (e == std::string::npos || !fmt::readI(text.substr(e + 1), exponent)) return 0;
  return exponent - 1;
}

void machineConstants() {
  int32_t intBytes = 0;
  int32_t realBytes = 0;
  WordSizes(intBytes, realBytes);
  const int32_t bits = 8 * intBytes - 1;
  const int64_t power = int64_t{1} << (bits - 1);
  MACHCN.word(kMachBitsLessOne) = bits;
  MACHCN.word(kMachWordsPerReal) = realBytes / intBytes;
  MACHCN.word(kMachIntegerBytes) = intBytes;
  MACHCN.word(kMachRealBytes) = realBytes;
  MACHCN.word(kMachLargestInteger) = static_cast<int32_t>(2 * power - 1);
  MACHCN.word(kMachLargestInteger2) = MACHCN.word(kMachLargestInteger);
  MACHCN.word(kMachPowerThirty) = static_cast<int32_t>(power);
  MACHCN.setReal(kMachLargestReal, kLargestReal);
  MACHCN.setReal(kMachRootLargestReal, kRootLargestReal);
  MACHCN.setReal(kMachTolerance, kTolerance);
  MACHCN.setReal(kMachEpsilon, kEpsilon);
  MACHCN.word(kMachLargestExponent) = decimalExponent(kLargestReal);
  MACHCN.word(kMachSmallestExponent) = decimalExponent(kSmallestNormal);
}

void plotMode() {
  FText mode = IOUNIT.plotModeWord();
  mode.fill(' ');
  FixedText value(kEnvironmentLength);
  environment("TL_PLOT", value);
  switch (value.text().at(1)) {
    case ' ': mode.assign("NONE"); break;
    case 'H':
    case 'h': mode.assign("HARD"); break;
    case 'P':
    case 'p': mode.assign("PLOT"); break;
    case 'B':
    case 'b': mode.assign("BOTH"); break;
    default: break;
  }
  FText command = IOUNIT.plotCommandText();
  command.fill(' ');
  environment("TL_COMM", command);
  if (command.isBlank()) mode.assign("NONE");
}

void switches() {
  FixedText value(kValueLength);
  if (lookup("HCI", "NoBells", true, value) <= 0) environment("TL_NOBELLS", value);
  IOUNIT.noBells = isTrue(value) ? kTrue : kFalse;
  bellsOffSwitch() = IOUNIT.noBells != 0 ? 1 : 0;

  value.text().fill(' ');
  lookup("*", "IODebug", true, value);
  if (isTrue(value)) {
    value.text().fill(' ');
    lookup("*", "Verbose", true, value);
    IOUNIT.ioDebugWord().assign(isTrue(value) ? "TFM" : "ON ");
  } else {
    IOUNIT.ioDebugWord().assign("OFF");
  }

  IOUNIT.flushCommandFile = kFalse;
  IOUNIT.flushOtherInput = kTrue;
  value.text().fill(' ');
  if (lookup("HCI", "ForceFileFlush", false, value) > 0) {
    switch (value.text().at(1)) {
      case 'A':
      case 'a':
        IOUNIT.flushCommandFile = kTrue;
        IOUNIT.flushOtherInput = kTrue;
        break;
      case 'I':
      case 'i':
        IOUNIT.flushCommandFile = kFalse;
        IOUNIT.flushOtherInput = kTrue;
        break;
      case 'B':
      case 'b':
        IOUNIT.flushCommandFile = kTrue;
        IOUNIT.flushOtherInput = kFalse;
        break;
      case 'N':
      case 'n':
        IOUNIT.flushCommandFile = kFalse;
        IOUNIT.flushOtherInput = kFalse;
        break;
      default: break;
    }
  }
  IOUNIT.forceFlush = kFalse;
}

}  // namespace

void SYSINI() {
  setDefaultUnitSlots();
  machineConstants();
  plotMode();
  switches();
}

}  // namespace kvr
