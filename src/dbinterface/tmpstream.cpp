#include "dbinterface/tmpstream.h"

#include <algorithm>

#include "dbinterface/diblocks.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"

namespace kvr {
namespace {

int32_t unitOf(int32_t k) { return DICTL.tempUnit(k); }

}  // namespace

void TMPWRT(std::span<const int32_t> words, int32_t k, int32_t& flag) {
  flag = 0;
  TmpChannel& c = TMPBUF.channel(k);
  int32_t position = c.position;
  for (int32_t w : words) {
    ++position;
    c.word(position) = w;
    if (position == kStreamRecordWords) {
      c.word(1) = kStreamRecordWords;
      if (io::writeUnformatted(unitOf(k), c.buffer) != io::kIosOk) {
        flag = 1;
        return;
      }
      position = 1;
    }
  }
  c.position = position;
}

void TMPRD(std::span<int32_t> words, int32_t k, int32_t& flag) {
  flag = 0;
  TmpChannel& c = TMPBUF.channel(k);
  int32_t position = c.position;
  int32_t recordCount = c.recordCount;
  for (int32_t& w : words) {
    ++position;
    if (position > recordCount) {
      int32_t count = 0;
      if (io::readUnformatted(unitOf(k), c.buffer, count) != io::kIosOk) {
        flag = 1;
        return;
      }
      // A record whose count word claims more than it holds, or nothing at all, would hand
      // out stale buffer words: it is no stream record.
      recordCount = c.word(1);
      if (recordCount < 2 || recordCount > std::min(count, kStreamRecordWords)) {
        flag = 1;
        return;
      }
      position = 2;
    }
    w = c.word(position);
  }
  c.position = position;
  c.recordCount = recordCount;
}

void TMPFLS(int32_t k, int32_t& flag) {
  flag = 0;
  TmpChannel& c = TMPBUF.channel(k);
  int32_t unit = unitOf(k);
  int32_t status = io::kIosOk;
  if (c.position >= 2) {
    c.word(1) = c.position;
    // The tail behind the used words is never read; zeros keep the file reproducible.
    std::fill(c.buffer.begin() + c.position, c.buffer.end(), 0);
    status = io::writeUnformatted(unit, c.buffer);
    // Records the unit layer still buffers would otherwise fail unseen at the rewind.
    if (status == io::kIosOk) status = io::unitFlush(unit);
  } else if (io::unitIsOpen(unit)) {
    status = io::unitFlush(unit);
  }
  if (status != io::kIosOk) {
    io::writeRecord(io::kStdoutUnit,
                    fmt::listDirected({std::string_view("write error: iunt, idbuf, ipos = "), unit,
                                       k, c.position}));
    io::writeRecord(io::kStdoutUnit,
                    fmt::listDirected({std::string_view("write error: iostat = "), status}));
    flag = 1;
    return;
  }
  c.position = 1;
  io::unitRewind(unit);
}

void TMPRST(int32_t k) {
  TmpChannel& c = TMPBUF.channel(k);
  c.position = 1;
  c.recordCount = 1;
}

void restartStream(int32_t k) {
  const int32_t unit = unitOf(k);
  if (io::unitIsOpen(unit)) io::unitRewind(unit);
  TMPRST(k);
}

void restartStreams() {
  for (int32_t k = 1; k <= kMaxTempUnits; ++k) TMPRST(k);
  for (int32_t k = 1; k <= DICTL.itfnum && k <= kMaxTempUnits; ++k) restartStream(k);
}

}  // namespace kvr
