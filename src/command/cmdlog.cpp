#include "command/cmdlog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "command/pckprm.h"
#include "messages/synsta.h"
#include "runtime/journal.h"
#include "runtime/msglin.h"
#include "runtime/nxttkn.h"
#include "runtime/pltops.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kEchoCodes = EchoLine::kCodes;
constexpr int32_t kLogCodes = CommandLog::kCodes;
constexpr int32_t kLineCodes = CommandLog::kLineCodes;

// ANSSET.
constexpr int32_t kNumberRoom = 9;        // room a number needs in the echo line
constexpr int32_t kRealDigits = 7;
constexpr int32_t kUntouchedType = 5;     // a typed argument kept in its own case
constexpr int32_t kEchoObjectKind = 4;    // the plot object kind and colour of an echo
constexpr int32_t kEchoColour = 1;
constexpr int32_t kPlusOperator = 1;
constexpr int32_t kMinusOperator = 2;
// Keywords that ask for a number of picks: four (334, 337) or three (335, 338).
constexpr std::array<int32_t, 2> kFourPicks = {334, 337};
constexpr std::array<int32_t, 2> kThreePicks = {335, 338};

// LOGTKN.
constexpr int32_t kSplitEnd = 78;   // a token of a split line ends at this position or before
constexpr int32_t kSpillArray = 3;  // the spill area: named array 3 of the answer store's file
constexpr int32_t kIntegerMode = -1;
constexpr int32_t kPut = -1;
constexpr int32_t kGet = 1;
constexpr std::string_view kLogtkn = "LOGTKN";

int32_t codeCount(std::span<const int32_t> line) { return static_cast<int32_t>(line.size()); }

// |K| without the overflow of the most negative word.
int32_t magnitude(int32_t k) {
  return static_cast<int32_t>(std::min<int64_t>(k < 0 ? -static_cast<int64_t>(k) : k, INT32_MAX));
}

// Makes room for EXTRA codes more in the echo line: unless LENGTH + EXTRA stays below 255,
// the line is shown while the echo flag is set, appended to the log and blanked. An empty
// line is left alone: flushing it would print a blank line and could never make room.
void makeRoom(int32_t extra, int32_t& length, std::span<int32_t> echo) {
  if (length + extra < kEchoCodes || length == 0) return;
  if (SYNSTA.echo != 0) {
    PLTOBJ(kEchoObjectKind);
    PLTCOL(kEchoColour);
    CODPRT(echo, length);
  }
  int32_t status = 0;
  LOGTKN(kLogAppend, 1, length, echo, status);
  length = 0;
  std::fill(echo.begin(), echo.end(), kBlankCode);
}

// Appends CODES to the echo line, cut at its end.
void appendCodes(std::span<const int32_t> codes, int32_t& length, std::span<int32_t> echo) {
  for (int32_t code : codes) {
    if (length >= codeCount(echo)) return;
    echo[static_cast<std::size_t>(length++)] = code;
  }
}

// The spill area, words FIRST.. through WORDS; answers the status of ANSACC.
int32_t spill(int32_t direction, int32_t first, std::span<int32_t> words) {
  int32_t status = 0;
  ANSACC(direction, ARRDSC.file, ARRDSC.top, ARRDSC.ARRCOR(kSpillArray), first,
         static_cast<int32_t>(words.size()), kIntegerMode, ARRDSC.ARRLEN(kSpillArray), words, {},
         status);
  return status;
}

// Positions F..L of LINE cut to the line; false when that leaves nothing.
bool clampRange(std::span<const int32_t> line, int32_t& f, int32_t& l) {
  f = std::max(f, 1);
  l = std::min(l, codeCount(line));
  return f <= l;
}

// The first and last position of the K-th token of the log (lexer mode 1); false when the
// log has fewer tokens.
bool logToken(int32_t k, int32_t& first, int32_t& last) {
  const std::span<const int32_t> log =
      std::span<const int32_t>(gCommandLog.codes).first(static_cast<std::size_t>(gCommandLog.length));
  int32_t position = 1;
  for (int32_t n = 1; n <= k; ++n) {
    int32_t kind = kTokenNone;
    int32_t ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(log, position, gCommandLog.length, kLexName, kind, first, last, ivalue, rvalue);
    if (kind == kTokenNone) return false;
    position = last + 1;
  }
  return k >= 1;
}

void append(int32_t first, int32_t last, std::span<const int32_t> line, int32_t& status) {
  const int32_t n = clampRange(line, first, last) ? last - first + 1 : 0;
  CommandLog& log = gCommandLog;
  if (log.length + 1 + n > kLogCodes) {
    status = 1;
    return;
  }
  log.codes[static_cast<std::size_t>(log.length)] = kBlankCode;
  std::copy_n(line.begin() + (first - 1), n, log.codes.begin() + log.length + 1);
  log.length += 1 + n;
}

void insert(int32_t k, int32_t first, int32_t last, std::span<const int32_t> line,
            int32_t& status) {
  CommandLog& log = gCommandLog;
  status = 1;
  if (log.length + (static_cast<int64_t>(last) - first) + 2 > kLogCodes ||
      !clampRange(line, first, last)) {
    return;
  }
  int32_t kind = kTokenNone;
  int32_t tf = 0;
  int32_t tl = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(line, first, last, kLexName, kind, tf, tl, ivalue, rvalue);
  int32_t at = 0;
  int32_t ignored = 0;
  if (kind == kTokenNone || !logToken(k, at, ignored)) return;
  const int32_t n = tl - tf + 1;
  auto begin = log.codes.begin();
  std::copy_backward(begin + (at - 1), begin + log.length, begin + log.length + n + 1);
  std::copy_n(line.begin() + (tf - 1), n, begin + (at - 1));
  log.codes[static_cast<std::size_t>(at - 1 + n)] = kBlankCode;
  log.length += n + 1;
  status = 0;
}

void spillLine(int32_t first, int32_t last, std::span<const int32_t> line, int32_t& status) {
  const int32_t n = clampRange(line, first, last) ? last - first + 1 : 0;
  const int32_t at = gCommandLog.spillWords + 1;
  std::array<int32_t, 1> lengthWord{n};
  int32_t failure = spill(kPut, at, lengthWord);
  if (failure == kAnswerDone && n > 0) {
    std::vector<int32_t> codes(line.begin() + (first - 1), line.begin() + last);
    failure = spill(kPut, at + 1, codes);
  }
  if (failure != kAnswerDone) {
    reportStoreFailure(failure, at, kLogtkn);
    status = 1;
    return;
  }
  gCommandLog.spillWords += n + 1;
}

// Codes 1..L of LINE as one record of the channels of MODE: the log file (2, 4), then the
// journal file (2, 5).
void writeLine(int32_t mode, std::span<const int32_t> line, int32_t l) {
  int32_t failed = 0;
  if (mode == kLogWriteBoth || mode == kLogWriteLogFile) JRNWR2(line, 1, l, failed);
  if (mode == kLogWriteBoth || mode == kLogWriteJournal) JRNWR1(line, 1, l, failed);
}

// A log longer than one line: its tokens in order, each after the blanks that precede it in
// the log as long as it then ends at position 78 or before; otherwise the line ends in "="
// and the token begins the next. A token too long even for an empty line takes a line of
// its own, cut so that with its "=" it stays within the 255 codes of the output line.
void writeSplit(int32_t mode) {
  CommandLog& log = gCommandLog;
  const std::span<const int32_t> codes =
      std::span<const int32_t>(log.codes).first(static_cast<std::size_t>(log.length));
  std::span<int32_t> out = log.line;
  std::fill(out.begin(), out.end(), kBlankCode);
  int32_t next = 1;  // the line's next position
  int32_t end = 0;   // its last code, 0 while it is empty
  int32_t previous = 0;
  for (int32_t position = 1; position <= log.length;) {
    int32_t kind = kTokenNone;
    int32_t first = 0;
    int32_t last = 0;
    int32_t ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(codes, position, log.length, kLexToken, kind, first, last, ivalue, rvalue);
    if (kind == kTokenNone) break;
    const int32_t blanks = first - previous - 1;
    const int32_t n = last - first + 1;
    position = last + 1;
    previous = last;
    // An empty line takes the token whatever its size: ending it first would write "=" alone.
    if (end > 0 && next + blanks + n - 1 > kSplitEnd) {
      const int32_t at = std::min(end + 1, kLineCodes);
      out[static_cast<std::size_t>(at - 1)] = codeOf('=');
      writeLine(mode, out, at);
      std::fill(out.begin(), out.end(), kBlankCode);
      next = 1;
      end = 0;
    }
    const int32_t copied = std::min(n, kLineCodes - next + 1);
    std::copy_n(codes.begin() + (first - 1), copied, out.begin() + (next - 1));
    end = next + copied - 1;
    next = end + 2;
  }
  if (end > 0) writeLine(mode, out, end);
}

// The spill area entry by entry, each as one line of at most 255 codes.
void writeSpill(int32_t mode, int32_t& status) {
  CommandLog& log = gCommandLog;
  std::span<int32_t> out = log.line;
  int64_t w = 1;
  while (w <= log.spillWords) {
    const auto at = static_cast<int32_t>(w);
    std::array<int32_t, 1> lengthWord{};
    int32_t failure = spill(kGet, at, lengthWord);
    if (failure != kAnswerDone) {
      reportStoreFailure(failure, at, kLogtkn);
      status = 1;
      return;
    }
    const int32_t n = lengthWord[0];
    if (n <= 0) return;
    // An entry is read back no further than the output line holds.
    const int32_t shown = std::min(n, kLineCodes);
    std::fill(out.begin(), out.end(), kBlankCode);
    failure = spill(kGet, at + 1, out.first(static_cast<std::size_t>(shown)));
    if (failure != kAnswerDone) {
      reportStoreFailure(failure, at + 1, kLogtkn);
      status = 1;
      return;
    }
    writeLine(mode, out, shown);
    w += static_cast<int64_t>(n) + 1;
  }
}

}  // namespace

void ANSSET(int32_t matchKind, int32_t first, int32_t last, int32_t& length,
            std::span<int32_t> echo) {
  echo = echo.first(std::min(echo.size(), static_cast<std::size_t>(kEchoCodes)));
  length = std::clamp(length, 0, codeCount(echo));
  const int32_t answer = MNUCTL.answerCount;
  switch (matchKind) {
    case kMatchText: {
      // A text is not flushed for: what would run past position 255 is left out.
      std::array<int32_t, kEchoCodes> text{};
      int32_t count = 0;
      int32_t full = 0;
      ANSTXT(answer, codeCount(echo) - length, text, count, full);
      appendCodes(std::span<const int32_t>(text).first(static_cast<std::size_t>(count)), length,
                  echo);
      break;
    }
    case kMatchInteger: {
      makeRoom(kNumberRoom, length, echo);
      int32_t end = length;
      INTCOD(INTS(MNUCTL.integerCount), length + 1, echo, end);
      length = std::max(length, end);
      break;
    }
    case kMatchReal: {
      makeRoom(kNumberRoom, length, echo);
      int32_t end = length;
      REALTX(REALS(MNUCTL.realCount), kRealDigits, length + 1, echo, end);
      length = std::max(length, end);
      break;
    }
    case kMatchKeyword: {
      const int32_t oper = MMOPER(answer);
      const int32_t entry = mnuWord(CMDLIN.currentMenu + 2 * MENOFF(answer));
      const int32_t header = mnuWord(entry);
      const int32_t count = std::max(header % kKeywordHeaderBase, 0);
      makeRoom(count + 2, length, echo);
      if (oper == kPlusOperator) appendCodes(std::array{codeOf('+')}, length, echo);
      if (oper == kMinusOperator) appendCodes(std::array{codeOf('-')}, length, echo);
      for (int32_t k = 1; k <= count; ++k) appendCodes(std::array{mnuWord(entry + k)}, length, echo);
      const int32_t number = header / kKeywordHeaderBase;
      if (std::ranges::find(kFourPicks, number) != kFourPicks.end()) gPickCounters.pickCount = 4;
      if (std::ranges::find(kThreePicks, number) != kThreePicks.end()) gPickCounters.pickCount = 3;
      break;
    }
    case kMatchTyped: {
      const int32_t f = std::max(first, 1);
      const int32_t l = std::min(last, CmdLin::kLineCodes);
      if (MMUTYP(answer) != kUntouchedType) UPCCOD(CMDLIN.lineCodes, f, l);
      makeRoom(l - f + 2, length, echo);
      if (f <= l) {
        appendCodes(std::span<const int32_t>(CMDLIN.lineCodes)
                        .subspan(static_cast<std::size_t>(f - 1), static_cast<std::size_t>(l - f + 1)),
                    length, echo);
      }
      break;
    }
    default:
      break;
  }
}

void LOGTKN(int32_t mode, int32_t first, int32_t last, std::span<const int32_t> line,
            int32_t& status) {
  status = 0;
  CommandLog& log = gCommandLog;
  if (mode < 0) {
    insert(magnitude(mode), first, last, line, status);
    return;
  }
  switch (mode) {
    case kLogReset:
      log.length = 0;
      log.spillWords = 0;
      break;
    case kLogAppend:
      append(first, last, line, status);
      break;
    case kLogSpill:
      spillLine(first, last, line, status);
      break;
    case kLogCut: {
      int32_t tokenFirst = 0;
      int32_t tokenLast = 0;
      if (logToken(magnitude(first), tokenFirst, tokenLast)) log.length = tokenLast;
      break;
    }
    case kLogWriteBoth:
    case kLogWriteLogFile:
    case kLogWriteJournal:
      if (log.length == 0) return;
      if (log.length <= kLineCodes) {
        writeLine(mode, log.codes, log.length);
      } else {
        writeSplit(mode);
      }
      writeSpill(mode, status);
      break;
    default:
      break;
  }
}

}  // namespace kvr
