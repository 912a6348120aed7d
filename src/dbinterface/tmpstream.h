// The temporary dataset streams: one per temporary unit, each with its own 1024-word
// buffer (TMPBUF). The record routines append the words of the records they accept; the
// dataset processing closes the stream with an end record, flushes it, rewinds it and
// reads it back word by word.
//
// A stream is an unformatted sequential file of records of exactly 1024 words. Word 1 of
// each record holds the number of its used words, itself included: 1024 for a full record,
// less for the last one, whose unused tail is zero. A full record carries 1023 words of
// the stream.
//
// Channel k (1..10) belongs to temporary unit index k of DICTL.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr int32_t kStreamRecordWords = 1024;

// TMPBUF: per channel the buffer position (the last word used; 1 means empty), the record
// count word (while reading: the used words of the record last read) and the buffer.
struct TmpChannel {
  int32_t position = 1;
  int32_t recordCount = 1;
  std::array<int32_t, kStreamRecordWords> buffer{};

  int32_t& word(int32_t k) {
    assert(k >= 1 && k <= kStreamRecordWords);
    return buffer[static_cast<std::size_t>(k - 1)];
  }
};

struct TmpBuf {
  std::array<TmpChannel, 10> channels;
  TmpChannel& channel(int32_t k) {
    assert(k >= 1 && k <= 10);
    return channels[static_cast<std::size_t>(k - 1)];
  }
};

inline TmpBuf TMPBUF;

// Appends WORDS to channel K; each full buffer goes out as one record. FLAG 0 success, 1 a
// record could not be written (the channel's position is then the one before the call).
void TMPWRT(std::span<const int32_t> words, int32_t k, int32_t& flag);

// Fills WORDS with the next words of channel K, reading records as they are used up.
// FLAG 0 success, 1 end of file, a read error or a record that is not a stream record
// (the channel's position is then the one before the call).
void TMPRD(std::span<int32_t> words, int32_t k, int32_t& flag);

// Writes the partly filled buffer of channel K as the last record (its tail zero-filled),
// makes sure the unit has taken every record, and rewinds the unit. On a failing write
// two lines go to standard output, FLAG becomes 1 and the unit is not rewound.
void TMPFLS(int32_t k, int32_t& flag);

// Sets the buffer position and the record count word of channel K to 1. The buffer is not
// cleared and the unit is not touched.
void TMPRST(int32_t k);

// Starts the stream of channel K again from its beginning: its unit rewound when it is
// open (a unit that is not is passed over), the channel reset. The next record written
// ends the file there, so nothing of an earlier dataset is read back behind it.
void restartStream(int32_t k);

// Resets channels 1 to 10 and restarts the stream of every temporary unit 1..ITFNUM: the
// start of the road and its stop leave every unit empty for the next session.
void restartStreams();

}  // namespace kvr
