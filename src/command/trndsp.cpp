#include "command/trndsp.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "command/aprgnm.h"
#include "runtime/codtxt.h"
#include "runtime/journal.h"
#include "runtime/msglin.h"

namespace kvr {
namespace {

// The dispatch table: the translator entry of each program code 1..52 (0 none).
constexpr std::array<int32_t, kProgramCodes> kEntryOfCode{{
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  // 10
    11, 12, 13, 14, 15, 16, 17, 18, 19, 20,  // 20
    21, 22, 23, 24, 25, 26, 21, 27, 28, 29,  // 30
    30, 4,  31, 32, 33, 0,  0,  0,  34, 4,   // 40
    35, 36, 37, 38, 39, 40, 41, 42, 43, 44,  // 50
    45, 46,
}};

// The program that the message of each entry 1..46 names.
constexpr std::array<int32_t, kTranslatorEntries> kMessageProgram{{
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  // 10
    11, 12, 13, 14, 15, 16, 17, 18, 19, 20,  // 20
    27, 22, 23, 24, 25, 26, 28, 29, 30, 31,  // 30
    33, 34, 35, 39, 41, 42, 43, 44, 45, 46,  // 40
    47, 48, 49, 50, 51, 52,
}};

// Codes 36 to 38: rows of the table without a program, which accept everything.
constexpr int32_t kFirstBlankCode = 36;
constexpr int32_t kLastBlankCode = 38;

// The journal line of a translator message: " ! " and at most 80 characters.
constexpr int32_t kJournalMark = 3;
constexpr int32_t kJournalText = 80;

}  // namespace

int32_t translatorEntry(int32_t code) {
  if (code < 1 || code > kProgramCodes) return 0;
  return kEntryOfCode[static_cast<std::size_t>(code - 1)];
}

int32_t translatorMessageProgram(int32_t entry) {
  if (entry < 1 || entry > kTranslatorEntries) return 0;
  return kMessageProgram[static_cast<std::size_t>(entry - 1)];
}

void TRNDSP(int32_t code, int32_t item, int32_t variant, FText name, int32_t& status) {
  if (code < 1 || code > kProgramCodes) {
    status = kTranslatorNoProgram;
    return;
  }
  status = kTranslatorAccepts;
  if (code >= kFirstBlankCode && code <= kLastBlankCode) return;
  TRNSTB(translatorEntry(code), item, variant, name, status);
}

void TRNOPT(int32_t code, int32_t j, FText text, FText option, int32_t& status) {
  status = 0;
  text.fill(' ');
  option.fill(' ');
  const int32_t entry = translatorEntry(code);
  if (j < 1 || entry == 0) {
    status = kOptionNone;
    return;
  }
  TRNNUL(entry, TRNLST);
  const int32_t n = std::clamp(TRNLST.count, 0, TrnLst::kEntries);
  if (j > n) {
    status = kOptionNone;
    return;
  }
  text.assign(TRNLST.text(j).view());
  option.assign(TRNLST.name(j).view());
  if (j == n) status = -n;
}

void TRNSTB(int32_t entry, int32_t, int32_t, FText, int32_t& status) {
  const int32_t program = translatorMessageProgram(entry);
  if (program == 0) {
    status = kTranslatorNoProgram;
    return;
  }
  std::string message = "Error: ";
  message += programName(program);
  message += " Translator not loaded*.";
  TRNMSG(FText(message));
  status = kTranslatorMissing;
}

void TRNNUL(int32_t, TrnLst& options) { options.count = 0; }

void TRNMSG(FText text) {
  std::array<int32_t, kMaxTextCodes> codes;
  codes.fill(kBlankCode);
  int32_t n = 0;
  TXTCOD(text, 1, codes, n);
  CODPRT(codes, n);

  // The journal line holds the mark and 80 characters: a longer message would run past it.
  std::array<int32_t, kJournalMark + kJournalText> line;
  line.fill(kBlankCode);
  line[0] = codeOf(' ');
  line[1] = codeOf('!');
  line[2] = codeOf(' ');
  const int32_t copied = std::min(n, kJournalText);
  std::copy_n(codes.begin(), copied, line.begin() + kJournalMark);
  int32_t failed = 0;
  JRNBTH(line, 1, kJournalMark + copied, failed);
}

}  // namespace kvr
