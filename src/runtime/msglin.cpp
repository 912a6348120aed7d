#include "runtime/msglin.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/iomode.h"
#include "runtime/journal.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

constexpr int32_t kLogCopyLength = 128;

// Object kinds of the console device that choose a line writer.
constexpr int32_t kObjectKindLn1 = 1;
constexpr int32_t kObjectKindLn8 = 8;

void appendLiteral(std::string_view piece, int32_t first, std::span<int32_t> codes, int32_t& last) {
  std::string s(piece);
  TXTCOD(FText(s.data(), static_cast<int32_t>(s.size())), first, codes, last);
}

}  // namespace

void MSGWRT(FText text, int32_t n) {
  std::string_view line;
  std::string_view all = text.view();
  if (n < 0) {
    size_t stop = all.find("*.");
    size_t count = stop != std::string_view::npos ? stop : all.size();
    line = all.substr(0, std::min<size_t>(count, MsgLin::kLength));
  } else if (n > 0) {
    // Never more than the text holds, nor more than the line takes.
    line = all.substr(0, static_cast<size_t>(std::min({n, text.length(), MsgLin::kLength})));
  }
  if (line.empty()) line = " ";
  // The line ends at its last non-blank character: no NUL is placed after it, so the
  // message unit stays a text file.
  MSGLIN.text().assign(line);

  int32_t flag = IOMODE.inputMode == 1 ? 0 : 1;
  switch (PLTDEV.objectKind) {
    case kObjectKindLn1:
      WRTLN1(1, MSGLIN.text());
      break;
    case kObjectKindLn8:
      WRTLN8(flag, MSGLIN.text());
      break;
    default:
      WRTLIN(flag, MSGLIN.text());
      break;
  }
}

void CODPRT(std::span<const int32_t> codes, int32_t n) {
  FixedText work(MsgLin::kLength);
  CODTXT(codes, n, work);
  // A count beyond the caller's codes would read past them.
  MSGWRT(work, std::min(n, static_cast<int32_t>(codes.size())));
}

void MSGOUT(int32_t s, FText text, int32_t k, FText valtxt, int32_t ival) {
  if (s >= 0 && s <= 2) ++MSGCNT.count(s);

  std::array<int32_t, kMaxTextCodes> line;
  line.fill(kBlankCode);
  int32_t last = 0;
  int32_t first = 1;
  if (s == 2) {
    appendLiteral("ERROR:*.", 1, line, last);
    first = last + 2;
  } else if (s == 1) {
    appendLiteral("WARNING:*.", 1, line, last);
    first = last + 2;
  }
  TXTCOD(text, first, line, last);
  if (k == 1) {
    TXTCOD(valtxt, last + 2, line, last);
  } else if (k == 2) {
    INTCOD(ival, last + 2, line, last);
  }
  // An append that finds the line full adds nothing and answers one past its end.
  last = std::clamp(last, 0, kMaxTextCodes);

  CODPRT(line, last);

  if (MSGCNT.logCopy == 1) {
    std::string copy;
    int32_t prefixLength = std::clamp(MSGCNT.prefixLength, 0, MsgCnt::kPrefixCodes);
    for (int32_t j = 0; j < prefixLength; ++j) copy.push_back(charOf(MSGCNT.prefix[static_cast<size_t>(j)]));
    copy.push_back(' ');
    for (int32_t j = 0; j < last; ++j) copy.push_back(charOf(line[static_cast<size_t>(j)]));
    copy.resize(std::min<size_t>(copy.size(), kLogCopyLength));
    if (io::writeRecord(MSGCNT.logUnit, fmt::format1("(A)", {std::string_view(copy)})) != io::kIosOk) {
      return;
    }
  }

  // Three positions to the right, " ! " in front; a line that would pass 255 is cut.
  std::array<int32_t, kMaxTextCodes> journal;
  journal.fill(kBlankCode);
  int32_t n = 0;
  appendLiteral(" ! *.", 1, journal, n);
  for (int32_t j = 0; j < last && n < kMaxTextCodes; ++j) journal[static_cast<size_t>(n++)] = line[static_cast<size_t>(j)];
  int32_t failed = 0;
  JRNWR1(journal, 1, n, failed);
  JRNWR2(journal, 1, n, failed);
}

}  // namespace kvr
