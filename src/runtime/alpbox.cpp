// The console dialogues: the framed message box, the message-box request, and the
// prompt-and-read of one line.
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/console.h"
#include "runtime/iomode.h"
#include "runtime/pltops.h"
#include "runtime/pltpar.h"
#include "runtime/prmlst.h"
#include "runtime/replyb.h"

namespace kvr {
namespace {

constexpr int32_t kOpMessageBox = 49;
constexpr int32_t kTitleCodes = 200;
constexpr int32_t kFrameMargin = 8;
constexpr int32_t kMaxAttempts = 1000;
constexpr int32_t kPromptAttempts = 10;
constexpr int32_t kAbort = 1;
constexpr int32_t kRetry = 2;
// The characters stripped from both ends of a reply.
constexpr std::string_view kStripped(" \t\0", 3);

constexpr std::string_view kHeaders[] = {" ERROR :",   " INFO :",    " QUESTION :",
                                         " MESSAGE :", " WORKING :", " WARNING :"};

struct ButtonSet {
  std::string_view choices;
  std::string_view names[3];
};

constexpr ButtonSet kButtonSets[] = {
    {"> OK", {"OK", "", ""}},
    {"> OK/Cancel", {"OK", "Cancel", ""}},
    {"> Yes/No", {"Yes", "No", ""}},
    {"> Abort/Retry", {"Abort", "Retry", ""}},
    {"> Yes/No/Cancel", {"Yes", "No", "Cancel"}},
};

std::string_view trimmed(std::string_view s) {
  const size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

void writeLine(const std::string& line) { io::writeRecord(PLTPAR.outUnit, " " + line); }

// The box lines: the title line, the text lines framed with "=" at both ends, and the
// bottom line, all T + 8 characters wide.
void showBox(std::string_view header, std::string_view title, std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t from = 0;;) {
    const size_t hash = text.find('#', from);
    lines.push_back(text.substr(from, hash == std::string_view::npos ? hash : hash - from));
    if (hash == std::string_view::npos) break;
    from = hash + 1;
  }
  size_t longest = 0;
  for (std::string_view line : lines) longest = std::max(longest, line.size());
  const size_t width = std::max(header.size() + title.size(), longest) + kFrameMargin;

  const std::string empty(width - 2, ' ');
  std::string top = "===";
  top.append(header).append(" ").append(title).append(" ");
  top.append(width - top.size(), '=');

  writeLine("");
  writeLine(top);
  writeLine("=" + empty + "=");
  for (std::string_view line : lines) {
    std::string framed = "=   ";
    framed.append(line);
    framed.append(width - 1 - framed.size(), ' ');
    writeLine(framed + "=");
  }
  writeLine("=" + empty + "=");
  writeLine(std::string(width, '='));
  writeLine("");
}

}  // namespace

int32_t ALPBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton) {
  if (defaultButton < 0 || defaultButton > 3) return kBadDefault;
  if (buttons < kButtonsOk || buttons > kButtonsYesNoCancel) return kBadButtons;
  if (icon < kIconError || icon > kIconWarning) return kBadIcon;

  std::string_view body = trimmed(text.view());
  if (body.empty()) body = text.view().substr(0, std::min(text.length(), 1));
  showBox(kHeaders[icon - 1], trimmed(title.view()), body);

  const ButtonSet& set = kButtonSets[buttons - 1];
  std::string prompt(set.choices);
  if (defaultButton == 0 || buttons == kButtonsOk) {
    prompt += " ? ";
  } else {
    prompt.append(" ? [").append(set.names[defaultButton - 1]).append("] : ");
  }
  FixedText promptText(static_cast<int32_t>(prompt.size()), prompt);
  FixedText replyText(ReplyB::kLength);
  FText reply = replyText;
  for (;;) {
    PRMRDL(promptText, static_cast<int32_t>(prompt.size()), PLTPAR.inUnit, PLTPAR.outUnit,
           reply);
    if (buttons == kButtonsOk) return 1;
    // A Retry taken by default at the end of input would retry for ever.
    if (IOMODE.endOfInput != 0 && buttons == kButtonsAbortRetry && defaultButton == kRetry) {
      return kAbort;
    }
    std::string_view answer = reply.view();
    const size_t first = answer.find_first_not_of(kStripped);
    if (first == std::string_view::npos) return defaultButton;
    char c = answer[first];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (int32_t b = 1; b <= 3; ++b) {
      std::string_view name = set.names[b - 1];
      if (!name.empty() && name.front() == c) return b;
    }
  }
}

int32_t HCMBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton) {
  return ALPBOX(title, text, icon, buttons, defaultButton);
}

int32_t MSGBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton) {
  if (buttons == kButtonsOk && defaultButton > 1) return kBadDefault;
  if (defaultButton < 0 || defaultButton > 3) return kBadDefault;
  if (buttons < kButtonsOk || buttons > kButtonsYesNoCancel) return kBadButtons;
  if (icon < kIconError || icon > kIconWarning) return kBadIcon;

  // The title has room for 200 codes: the icon style, button set and default button
  // follow it in the same text.
  int32_t last = 0;
  TXTCOD(title, 1, std::span<int32_t>(PLTPAR.text.data(), kTitleCodes), last);
  PLTPAR.textCount = last;
  PLTPAR.text[kTitleCodes] = icon;
  PLTPAR.text[kTitleCodes + 1] = buttons;
  PLTPAR.text[kTitleCodes + 2] = defaultButton;
  TXTCOD(text, 1, PLTPAR.text2, last);
  PLTPAR.text2Count = last;
  // Without a device to answer, no earlier box's answer may be taken for this one's.
  PLTPAR.answer = 0;
  sendPlotRecord(kOpMessageBox);
  return PLTPAR.answer;
}

void PRMRDL(FText prompt, int32_t n, int32_t inUnit, int32_t outUnit, FText reply) {
  reply.fill(' ');
  // Never more of the prompt than it holds.
  const int32_t shown = std::min({n, prompt.length(), PltPar::kMaxText});
  std::string line;
  if (shown > 0) line = " " + std::string(prompt.view().substr(0, static_cast<size_t>(shown)));
  for (int32_t attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    if (attempt <= kPromptAttempts && shown > 0) io::writeNonAdvancing(outUnit, line);
    const int32_t status = io::readRecord(inUnit, reply.data(), reply.length());
    if (status == io::kIosOk) {
      IOMODE.endOfInput = 0;
      return;
    }
    if (status == io::kIosEnd || status == io::kIosNoInput) break;
  }
  reply.fill(' ');
  IOMODE.endOfInput = 1;
}

int32_t MENPRM(int32_t noList, FText, FText prompt) {
  if (noList == 0) {
    const int32_t count = std::clamp(PRMLST.count, 0, PrmLst::kMaxEntries);
    for (int32_t k = 1; k <= count; ++k) {
      FText entry = PRMLST.text(k);
      const int32_t n = std::max(entry.trimmedLength(), 1);
      writeLine(std::string(entry.view().substr(0, static_cast<size_t>(n))));
    }
  }
  io::writeNonAdvancing(PLTPAR.outUnit, trimmed(prompt.view()));
  FText reply = REPLYB.replyText();
  const int32_t status = io::readRecord(PLTPAR.inUnit, reply.data(), reply.length());
  if (status != io::kIosOk) {
    // Nothing of an earlier reply may be taken for this one.
    reply.fill(' ');
    if (status == io::kIosEnd || status == io::kIosNoInput) IOMODE.endOfInput = 1;
    return 0;
  }
  IOMODE.endOfInput = 0;
  // A "/" or "//" standing alone cancels; one that begins a word is a path ("/home/x.dmp").
  const auto ends = [&reply](int32_t k) {
    return k > reply.length() || reply.at(k) == ' ' || reply.at(k) == '\0';
  };
  const bool cancel = reply.at(1) == '/' && (ends(2) || (reply.at(2) == '/' && ends(3)));
  return cancel ? 0 : 1;
}

}  // namespace kvr
