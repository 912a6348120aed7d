#include "runtime/journal.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/flsunt.h"
#include "runtime/iounit.h"
#include "runtime/vocswp.h"

namespace kvr {
namespace {

// Lines that a display loop repeats: written again only when they change.
bool isRepeatable(std::string_view line) {
  return line.starts_with(" DRAWING DISPLAY") || line.starts_with(" EYE FRAME");
}

void journal(JournalChannel& channel, bool enabled, int32_t unit, std::span<const int32_t> codes,
             int32_t f, int32_t l, int32_t& failed) {
  failed = 0;
  if (!enabled) return;

  // Codes F..L, cut at the end of the caller's line and at 255.
  std::array<int32_t, JournalChannel::kMaxCodes> line;
  line.fill(kBlankCode);
  int32_t n = 0;
  if (f >= 1) {
    int32_t end = std::min(l, static_cast<int32_t>(codes.size()));
    n = std::clamp(end - f + 1, 0, JournalChannel::kMaxCodes);
    if (n > 0) std::copy_n(codes.begin() + (f - 1), n, line.begin());
  }
  VOCSWP(line, n);

  if (channel.used == 0) {
    channel.previous.fill(kBlankCode);
    channel.previousLength = JournalChannel::kMaxCodes;
    channel.used = 1;
  }

  std::string text(static_cast<size_t>(n), ' ');
  for (int32_t k = 0; k < n; ++k) text[static_cast<size_t>(k)] = charOf(line[static_cast<size_t>(k)]);

  if (n == channel.previousLength && isRepeatable(text) &&
      std::equal(line.begin(), line.begin() + n, channel.previous.begin())) {
    return;
  }

  if (io::writeRecord(unit, fmt::format1("(1X,A)", {std::string_view(text)})) != io::kIosOk) {
    failed = 1;
    return;
  }
  std::copy_n(line.begin(), n, channel.previous.begin());
  channel.previousLength = n;
  FLSUNT(unit);
}

}  // namespace

void JRNWR1(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed) {
  bool enabled = JRNFLG.channel1.enable != 0 && IOUNIT.journal1Enable != 0;
  journal(JRNFLG.channel1, enabled, IOUNIT.slot(kSlotJournalFile), codes, f, l, failed);
}

void JRNWR2(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed) {
  journal(JRNFLG.channel2, JRNFLG.channel2.enable != 0, IOUNIT.slot(kSlotLogFile), codes, f, l,
          failed);
}

void JRNBTH(std::span<const int32_t> codes, int32_t f, int32_t l, int32_t& failed) {
  JRNWR2(codes, f, l, failed);
  JRNWR1(codes, f, l, failed);
}

}  // namespace kvr
