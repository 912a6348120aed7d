#include "runtime/dattim.h"

#include <ctime>

#include "runtime/codtxt.h"
#include "runtime/iomode.h"

namespace kvr {
namespace {

constexpr int32_t kLetters = 26;
constexpr float kVersionScale = 10000.0f;

std::optional<LocalTime>& clockOverride() {
  static std::optional<LocalTime> moment;
  return moment;
}

LocalTime now() {
  if (clockOverride()) return *clockOverride();
  // The precise real-time clock: time() may read a coarse clock that lags a few
  // milliseconds behind, and so name the second before the one the host's own clock is in.
  timespec ts{};
  if (clock_gettime(CLOCK_REALTIME, &ts) != 0) return {};
  const std::time_t t = ts.tv_sec;
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

void DATTIM(int32_t& day, int32_t& month, int32_t& year, int32_t& hour, int32_t& minute,
            int32_t& second) {
  const LocalTime t = now();
  day = t.day;
  month = t.month;
  year = t.year;
  hour = t.hour;
  minute = t.minute;
  second = t.second;
}

void VRPRE(int32_t& day, int32_t& month, int32_t& year, int32_t& hour, int32_t& minute,
           int32_t& second, float& version, int32_t& letter) {
  DATTIM(day, month, year, hour, minute, second);
  const int64_t number = int64_t{IOMODE.release} + 10 * int64_t{IOMODE.version};
  version = static_cast<float>(number) / kVersionScale;
  const int32_t k = IOMODE.releaseLetter;
  // Only the 26 capital letters have codes; any other index is no letter.
  letter = k >= 1 && k <= kLetters ? codeOf(static_cast<char>('A' + k - 1)) : kBlankCode;
}

void setClockOverride(std::optional<LocalTime> moment) { clockOverride() = moment; }

}  // namespace kvr
