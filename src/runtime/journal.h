// The two journal channels. Every message line is also handed to them as a code line;
// each writes it, after the terminology switch, as one record behind one blank: channel
// 1 to the unit of file type 26, channel 2 to the log file (file type 5). A repeated
// " DRAWING DISPLAY" or " EYE FRAME" line is written once.
//
// A channel writes only while enabled: its own enable word and, for channel 1, the
// second enable word in IOUNIT. Both are 0 at load.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

struct JournalChannel {
  static constexpr int32_t kMaxCodes = 255;
  int32_t enable = 0;
  std::array<int32_t, kMaxCodes> previous{};  // the last line written, a code line
  int32_t previousLength = 0;
  int32_t used = 0;  // 0 until the first line; then the previous line is valid
};

// JRNFLG: the state of both channels.
struct JrnFlg {
  JournalChannel channel1;
  JournalChannel channel2;
};

inline JrnFlg JRNFLG;

// Journal codes F..L as one line (at most 255 codes); FAILED = 1 when the write failed,
// else 0.
void JRNWR1(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed);
void JRNWR2(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed);

// JRNWR2, then JRNWR1, with the same line.
void JRNBTH(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed);

}  // namespace kvr
