#include "command/getinp.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command/cmdfile.h"
#include "command/cmdlin.h"
#include "command/cmdlog.h"
#include "command/mnuctl.h"
#include "command/prmtyp.h"
#include "command/prslin.h"
#include "messages/synsta.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/iomode.h"
#include "runtime/journal.h"
#include "runtime/msglin.h"
#include "runtime/nxttkn.h"
#include "runtime/replyb.h"

namespace kvr {
namespace {

constexpr int32_t kLineLength = 255;
constexpr int32_t kCommentRoom = 252;  // codes of a prompt journalled behind " ! "
constexpr std::string_view kOptional = " (optional)";
constexpr std::string_view kGraphicsTitle = "Graphics input required";
constexpr int32_t kShowNoList = 1;

// Journal modes.
constexpr int32_t kFirstAnswerMode = 1;
constexpr int32_t kLastPlainAnswerMode = 3;
constexpr int32_t kFirstCommentMode = 3;

std::vector<int32_t> codesOf(std::string_view text) {
  std::vector<int32_t> codes;
  for (char c : text) codes.push_back(codeOf(c));
  return codes;
}

// The codes of LINE up to its last non-blank one.
std::span<const int32_t> trimmed(std::span<const int32_t> line) {
  std::size_t n = line.size();
  while (n > 0 && line[n - 1] == kBlankCode) --n;
  return line.first(n);
}

// " ! " and the first 252 codes of LINE.
std::vector<int32_t> commented(std::span<const int32_t> line) {
  std::vector<int32_t> codes = codesOf(" ! ");
  const std::size_t n = std::min(line.size(), static_cast<std::size_t>(kCommentRoom));
  codes.insert(codes.end(), line.begin(), line.begin() + static_cast<std::ptrdiff_t>(n));
  return codes;
}

// One line to journal channel 1 (the journal file) or 2 (the log file).
void journal(int32_t channel, std::span<const int32_t> codes) {
  int32_t failed = 0;
  const auto n = static_cast<int32_t>(codes.size());
  if (channel == 1) {
    JRNWR1(codes, 1, n, failed);
  } else {
    JRNWR2(codes, 1, n, failed);
  }
}

// The journal modes of both channels, channel 1 first.
struct Journals {
  std::array<int32_t, 2> modes;

  void prompt(std::span<const int32_t> text) const {
    for (int32_t channel = 1; channel <= 2; ++channel) {
      const int32_t mode = modes[static_cast<std::size_t>(channel - 1)];
      if (mode == kJournalPlain) journal(channel, text);
      if (mode >= kFirstCommentMode && mode <= kJournalComment) journal(channel, commented(text));
    }
  }
  void answer(std::span<const int32_t> text) const {
    for (int32_t channel = 1; channel <= 2; ++channel) {
      const int32_t mode = modes[static_cast<std::size_t>(channel - 1)];
      if (mode >= kFirstAnswerMode && mode <= kLastPlainAnswerMode) journal(channel, text);
      if (mode == kJournalComment) journal(channel, commented(text));
    }
  }
  void cancel() const {
    const std::vector<int32_t> slash = codesOf(" /");
    for (int32_t channel = 1; channel <= 2; ++channel) {
      if (modes[static_cast<std::size_t>(channel - 1)] > 0) journal(channel, slash);
    }
  }
};

// The prompt as the menu prompt shows it: trimmed, with " (optional)" after an optional
// answer's prompt where the two fit in 255 characters.
std::string promptText(std::span<const int32_t> prompt, bool optional) {
  FixedText text(kLineLength);
  CODTXT(prompt, static_cast<int32_t>(prompt.size()), text);
  std::string shown = text.trimmed();
  if (optional && static_cast<int32_t>(shown.size() + kOptional.size()) <= kLineLength) {
    shown += kOptional;
  }
  const std::size_t first = shown.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : shown.substr(first);
}

// The last position of TEXT that is not a blank, 0 for a blank text.
int32_t textEnd(const std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string::npos ? 0 : static_cast<int32_t>(last) + 1;
}

// Asks at the keyboard until an answer is taken (true) or the prompt is cancelled.
bool askKeyboard(int32_t echo, int32_t listMode, int32_t menuId, FText title,
                 std::span<const int32_t> prompt, std::span<int32_t> context) {
  std::string line(kLineLength, ' ');  // the answer line: the replies of this prompt
  int32_t offset = 0;
  bool optional = menuId < 0;
  int32_t state = kStateComplete;
  if (listMode == 0) {
    int32_t record = 0;
    MNUFND(menuId, record);
    int32_t stop = 0;
    PRMTYP(record, context, stop);
  }
  FixedText graphicsTitle(kGraphicsTitle, static_cast<int32_t>(kGraphicsTitle.size()));
  for (;;) {
    std::string shown = promptText(prompt, optional);
    if (echo > 0) MSGWRT(FText(shown), static_cast<int32_t>(shown.size()));
    const bool graphics = state == kStateGraphics;
    if (MENPRM(graphics ? kShowNoList : listMode, graphics ? graphicsTitle.text() : title,
               FText(shown)) == 0) {
      return false;
    }
    std::string_view reply = REPLYB.replyText().view();
    reply = reply.substr(0, reply.find('\0'));

    // The reply goes after the replies so far; what does not fit in the line is lost.
    std::fill(line.begin() + offset, line.end(), ' ');
    const std::size_t room = static_cast<std::size_t>(kLineLength - offset);
    std::copy_n(reply.begin(), std::min(reply.size(), room), line.begin() + offset);

    std::string classified = line;
    int32_t cls = kLineCommand;
    CMTLIN(FText(classified), cls);
    if (cls == kLineComment) continue;
    if (cls == kLineCancel) return false;

    int32_t link = 0;
    PRSLIN(context, menuId, FText(line), kParseKeyboard, link);
    state = MNUCTL.inputState;
    if (state == kStateRejected || state == kStateGraphics) continue;
    if (link < 1 && state != kStateEquals) return true;

    // More input: the next reply follows the text so far after one blank. A closing "="
    // or ":" is blanked and the reply follows right after it. Only the sign is blanked: the
    // character before an "=" may be the last of a word ("SY=" must not lose its "Y").
    optional = state == kStateEquals && link < 0;
    const int32_t end = textEnd(line);
    if ((state == kStateEquals || state == kStateColon) && end >= 1) {
      line[static_cast<std::size_t>(end - 1)] = ' ';
    }
    offset = std::clamp(state == kStateEquals ? end : end + 1, 0, kLineLength);
  }
}

// Reads command-file lines until one is parsed (true) or the prompt is cancelled.
bool readCommandFile(int32_t menuId, std::span<int32_t> context) {
  for (;;) {
    std::string line(kLineLength, ' ');
    int32_t status = kFileEnded;
    CMFRD(menuId < 0 ? 1 : 0, FText(line), status);
    if (status != kLineRead) return false;
    int32_t cls = kLineCommand;
    CMTLIN(FText(line), cls);
    if (cls == kLineComment) continue;
    if (cls == kLineCancel) return false;
    int32_t link = 0;
    PRSLIN(context, menuId, FText(line), kParsePending, link);
    return MNUCTL.inputState <= kStateComplete;
  }
}

// Parses the pending rest of the command line: true when it gives an answer.
bool parsePending(int32_t menuId, std::span<int32_t> context) {
  std::string unused(kLineLength, ' ');
  int32_t link = 0;
  PRSLIN(context, menuId, FText(unused), kParsePending, link);
  return MNUCTL.inputState == kStateMorePending || MNUCTL.inputState == kStateComplete;
}

// The answer from the echo line: RESULT 1 and its text, or 0 for an empty line or one that
// begins with ";".
void takeAnswer(int32_t upcase, std::span<int32_t> answer, int32_t room, int32_t& result) {
  const int32_t length = std::clamp(gEchoLine.length, 0, EchoLine::kCodes);
  int32_t kind = kTokenNone;
  int32_t first = 1;
  int32_t last = 0;
  int32_t ivalue = 0;
  float rvalue = 0.0f;
  NXTTKN(std::span<const int32_t>(gEchoLine.codes).first(static_cast<std::size_t>(length)), 1,
         length, kLexRest, kind, first, last, ivalue, rvalue);
  if (kind == kTokenNone || kind == kTokenSemicolon) {
    result = kInputEmpty;
    return;
  }
  // The answer runs to the last non-blank, also when it begins with a separator of its
  // own to the lexer ("," or "$" taken by a text or file argument).
  const std::span<const int32_t> echo(gEchoLine.codes.data(), static_cast<std::size_t>(length));
  last = std::max(last, static_cast<int32_t>(trimmed(echo).size()));
  const int32_t n = std::clamp(last - first + 1, 0, room);
  std::copy_n(gEchoLine.codes.begin() + (first - 1), n, answer.begin());
  if (upcase == 1) UPCCOD(answer, 1, n);
  result = kInputGiven;
}

}  // namespace

void GETINP(int32_t echo, int32_t journal2, int32_t journal1, int32_t listMode,
            int32_t menuId, FText title, std::span<const int32_t> prompt,
            int32_t promptLength, int32_t upcase, std::span<int32_t> answer,
            int32_t answerMax, int32_t& result) {
  const int32_t n = std::clamp(promptLength, 0,
                               std::min(kLineLength, static_cast<int32_t>(prompt.size())));
  const std::span<const int32_t> promptCodes = prompt.first(static_cast<std::size_t>(n));
  const Journals journals{{journal1, journal2}};
  journals.prompt(trimmed(promptCodes));

  const int32_t savedActive = SYNSTA.active;
  SYNSTA.active = 0;
  const ParseSwitches savedSwitches = gParseSwitches;
  gParseSwitches.freeTextAsTyped = upcase == 1 ? 0 : 1;

  const int32_t room = std::clamp(answerMax, 0, static_cast<int32_t>(answer.size()));
  std::fill_n(answer.begin(), room, kBlankCode);

  bool taken = false;
  if (CMDLIN.pending >= 1) {
    taken = parsePending(menuId, answer);
  } else if (IOMODE.inputMode != kInputTerminal) {
    taken = readCommandFile(menuId, answer);
  } else {
    taken = askKeyboard(echo, listMode, menuId, title, promptCodes, answer);
  }

  if (taken) {
    takeAnswer(upcase, answer, room, result);
    journals.answer(trimmed(answer.first(static_cast<std::size_t>(room))));
  } else {
    CMDLIN.pending = 0;
    result = kInputCancelled;
    journals.cancel();
  }
  gParseSwitches = savedSwitches;
  SYNSTA.active = savedActive;
}

ParserHooks PRSHOOKS{GETINP};

}  // namespace kvr
