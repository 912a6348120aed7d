// Message lines: the text that goes to the current message unit, and the complete
// severity-prefixed message line of MSGOUT.
//
// MSGWRT hands one line to the line writer that the console device's last object kind
// selects (1 WRTLN1, 8 WRTLN8, any other WRTLIN); the writers put it on the message unit
// as one list-directed record, which ends at the line's last non-blank character.
// MSGOUT also copies its line to a log unit when asked, and to both journal channels
// behind " ! ".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// MSGLIN: the 255-character line handed to the line writers.
struct MsgLin {
  static constexpr int32_t kLength = 255;
  std::array<char, kLength> chars;
  MsgLin() { chars.fill(' '); }
  FText text() { return FText(chars.data(), kLength); }
};

inline MsgLin MSGLIN;

// MSGCNT: the lines MSGOUT wrote per severity (0 information, 1 warning, 2 error) and
// its log copy: switch (1 on), unit and prefix.
struct MsgCnt {
  static constexpr int32_t kPrefixCodes = 128;
  std::array<int32_t, 3> counts{};
  int32_t logCopy = 0;
  int32_t logUnit = 0;
  std::array<int32_t, kPrefixCodes> prefix{};  // a code line
  int32_t prefixLength = 0;

  int32_t& count(int32_t severity) { return counts[static_cast<std::size_t>(severity)]; }
};

inline MsgCnt MSGCNT;

// Writes one message line: N < 0 takes TEXT up to its terminator "*." (all of it, at
// most 255 characters, without one; one blank if that leaves nothing); N = 0 one blank;
// N > 0 its first N characters (at most the declared length and 255).
void MSGWRT(FText text, int32_t n);

// Writes codes 1..N as one message line.
void CODPRT(std::span<const int32_t> codes, int32_t n);

// Writes "ERROR:" (S = 2) or "WARNING:" (S = 1) and TEXT, with the value VALTXT (K = 1)
// or IVAL (K = 2) after one blank, to the message unit; counts it under severity S;
// copies it to the log unit when the log copy is on; and journals it behind " ! ".
void MSGOUT(int32_t s, FText text, int32_t k, FText valtxt, int32_t ival);

}  // namespace kvr
