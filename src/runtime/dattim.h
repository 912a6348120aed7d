// The date and time of the run, and the version query built on it.
//
// DATTIM reads the local date and time from the system clock (the year with four
// digits). Tests replace the clock with a fixed moment.
#pragma once

#include <cstdint>
#include <optional>

namespace kvr {

// A local date and time: the year with four digits, month 1..12, day 1..31, hour 0..23.
struct LocalTime {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
};

// The current local date and time.
void DATTIM(int32_t& day, int32_t& month, int32_t& year, int32_t& hour, int32_t& minute,
            int32_t& second);

// DATTIM into the first six; VERSION = (release number + 10 x version number) / 10000;
// LETTER the code-line word of the k-th capital letter for a release-letter index k in
// 1..26, else the blank code.
void VRPRE(int32_t& day, int32_t& month, int32_t& year, int32_t& hour, int32_t& minute,
           int32_t& second, float& version, int32_t& letter);

// Test seam: while set, DATTIM answers MOMENT instead of reading the clock.
void setClockOverride(std::optional<LocalTime> moment);

}  // namespace kvr
