// The synonyms: SYNCMD with its sub-commands, the synonym file reader SYNRD and the
// listing SYNLST, over the table of SYNSTA.
#include "command/syncmd.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/getinp.h"
#include "command/mnuctl.h"
#include "messages/catalog.h"
#include "messages/synsta.h"
#include "modeldb/codcmp.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/filcls.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"
#include "runtime/msglin.h"
#include "runtime/nxttkn.h"
#include "runtime/pltops.h"

namespace kvr {
namespace {

constexpr int32_t kSynonymFileType = 19;
constexpr int32_t kFormatted = 1;        // FOUVRE form: formatted sequential
constexpr int32_t kReadOnly = 4;         // FOUVRE mode: READ, the file must exist
// SAVE writes over a file of the name: the mode that opens an existing file as well as a
// new one (the read-and-write mode that asks for a new file would refuse an existing one).
constexpr int32_t kReadWrite = 6;
constexpr int32_t kRecordLength = 80;    // characters read of a synonym-file line
constexpr int32_t kLineCodes = 255;      // a command line, a typed name, an answer
constexpr int32_t kReportRoom = 10;      // the maximum is shown when this few places remain

constexpr int32_t kNameAnswer = 5;          // the name, list text or file name
constexpr int32_t kSubstitutionAnswer = 7;  // the substitution of ADD
constexpr int32_t kKeywordAnswers = 4;      // LIST without a text

// The parameter prompt of the expansion.
constexpr int32_t kPromptEcho = 2;
constexpr int32_t kPromptJournal = 4;
constexpr int32_t kPromptNoList = 1;
constexpr int32_t kPromptMenu = 55;
constexpr int32_t kPromptAsTyped = 0;
constexpr std::string_view kPromptTitle = "Input required";

// Object kinds and colours of the messages.
constexpr int32_t kObjectMessage = 1;
constexpr int32_t kObjectReport = 4;
constexpr int32_t kColourFound = 1;
constexpr int32_t kColourWarning = 2;
constexpr int32_t kColourNotice = 3;
constexpr int32_t kColourReport = 4;

// MSGW3 numbers.
constexpr int32_t kNoMatch = 140;        // W3140
constexpr int32_t kOverwritten = 150;    // W3150
constexpr int32_t kTableFull = 170;      // W3170
constexpr int32_t kPriorityName = 180;   // W3180

constexpr std::array<std::string_view, 4> kPrefixWords = {"UTILITY", "SETUP", "SYNONYM", "ADD"};
constexpr std::string_view kPlus = "+";
constexpr std::string_view kSavedPrefix = "U S S A";

using CodeLine = std::array<int32_t, kLineCodes>;

CodeLine blankLine() {
  CodeLine line;
  line.fill(kBlankCode);
  return line;
}

// Writes TEXT as one message line.
void message(std::string_view text) {
  std::string line(text);
  MSGWRT(FText(line), static_cast<int32_t>(line.size()));
}

// Appends the characters of TEXT to LINE from position LAST + 1 on, blanks included;
// LAST follows. Stops at the end of LINE.
void append(std::span<int32_t> line, int32_t& last, std::string_view text) {
  for (char c : text) {
    if (last >= static_cast<int32_t>(line.size())) return;
    line[static_cast<size_t>(last)] = codeOf(c);
    ++last;
  }
}

// Appends codes FIRST..LAST of SOURCE to LINE after position AT, which follows.
void appendCodes(std::span<int32_t> line, int32_t& at, std::span<const int32_t> source,
                 int32_t first, int32_t last) {
  for (int32_t k = first; k <= last && at < static_cast<int32_t>(line.size()); ++k) {
    line[static_cast<size_t>(at)] = source[static_cast<size_t>(k - 1)];
    ++at;
  }
}

// The last non-blank position of CODES, 0 when all are blank.
int32_t lastNonBlank(std::span<const int32_t> codes) {
  int32_t n = static_cast<int32_t>(codes.size());
  while (n > 0 && codes[static_cast<size_t>(n - 1)] == kBlankCode) --n;
  return n;
}

// CODCMP of the typed word FIRST..LAST of WORD against the name of entry I: 0 equal, n > 0
// the word is the first n characters of the name, -1 otherwise.
int32_t compare(int32_t i, std::span<const int32_t> word, int32_t first, int32_t last) {
  int32_t result = -1;
  CODCMP(SYNSTA.name(i), 1, SynSta::kNameCodes, word, first, last, result);
  return result;
}

// Whether the word finds entry I: equal to its name, or its abbreviation by at least the
// entry's search number of characters.
bool finds(int32_t i, std::span<const int32_t> word, int32_t first, int32_t last) {
  const int32_t r = compare(i, word, first, last);
  return r == 0 || (r > 0 && r >= SYNSTA.searchNumber(i));
}

bool isPriority(int32_t i) { return SYNSTA.searchNumber(i) == SynSta::kPriority; }

// The text of answer I, cut to MAXIMUM codes and upper-cased, into LINE; answers its count.
int32_t upperAnswer(int32_t i, int32_t maximum, std::span<int32_t> line) {
  int32_t count = 0;
  int32_t length = 0;
  ANSTXT(i, maximum, line, count, length);
  UPCCOD(line, 1, count);
  return count;
}

// "Number of synonyms is now : n", and the maximum when ten or fewer places remain.
void countReport() {
  PLTOBJ(kObjectReport);
  PLTCOL(kColourReport);
  CodeLine line = blankLine();
  int32_t last = 0;
  append(line, last, "Number of synonyms is now : ");
  INTCOD(SYNSTA.count, last + 1, line, last);
  CODPRT(line, last);
  if (SynSta::kMaxSynonyms - SYNSTA.count > kReportRoom) return;
  line = blankLine();
  last = 0;
  append(line, last, "Maximum number of synonyms : ");
  INTCOD(SynSta::kMaxSynonyms, last + 1, line, last);
  CODPRT(line, last);
}

// ---- The synonym file ---------------------------------------------------------------

using FileLine = std::array<int32_t, kRecordLength>;

// One word of a file line, taken from position START on.
struct Word {
  int32_t kind = 0;
  int32_t first = 0;
  int32_t last = 0;
  int32_t value = 0;
  int32_t start = 0;  // where the search began: the position reported when there is no word
};

Word nextWord(const FileLine& line, int32_t start, int32_t mode) {
  Word w;
  w.start = start;
  float real = 0.0f;
  NXTTKN(line, start, kRecordLength, mode, w.kind, w.first, w.last, w.value, real);
  return w;
}

// The position a syntax error reports for W: its first character, or where the search for
// a missing word began.
int32_t positionOf(const Word& w) { return w.kind == kTokenNone ? w.start : w.first; }

// The codes of TEXT as a code line.
template <size_t N>
std::array<int32_t, N> codesOf(std::string_view text) {
  std::array<int32_t, N> codes;
  codes.fill(kBlankCode);
  int32_t last = 0;
  append(codes, last, text);
  return codes;
}

// Whether word W of LINE is KEYWORD or an abbreviation of it (EXACT: only the word itself).
bool isKeyword(const FileLine& line, const Word& w, std::string_view keyword, bool exact) {
  if (w.kind == kTokenNone) return false;
  const auto codes = codesOf<16>(keyword);
  int32_t result = -1;
  CODCMP(codes, 1, static_cast<int32_t>(keyword.size()), line, w.first, w.last, result);
  return exact ? result == 0 : result >= 0;
}

// Reads the synonym of a synonym line into entry I. Answers 0, or the position of the
// syntax error.
int32_t readSynonym(const FileLine& line, const Word& firstWord, int32_t i) {
  Word w = firstWord;
  if (!isKeyword(line, w, kPlus, true)) {
    for (size_t k = 0; k < kPrefixWords.size(); ++k) {
      if (k > 0) w = nextWord(line, w.last + 1, kLexName);
      if (!isKeyword(line, w, kPrefixWords[k], false)) return positionOf(w);
    }
  }

  w = nextWord(line, w.last + 1, kLexName);
  if (w.kind == kTokenNone) return positionOf(w);
  std::span<int32_t> name = SYNSTA.name(i);
  std::fill(name.begin(), name.end(), kBlankCode);
  // A word longer than the name field is cut to it, as ADD cuts a name; copied whole it
  // would run past the entry.
  const int32_t length = std::min(w.last - w.first + 1, SynSta::kNameCodes);
  std::copy_n(line.begin() + (w.first - 1), length, name.begin());

  w = nextWord(line, w.last + 1, kLexInteger);
  if (w.kind != kTokenInteger || w.value < 1 || w.value > SynSta::kPriority) return positionOf(w);
  SYNSTA.searchNumber(i) = w.value;

  std::span<int32_t> substitution = SYNSTA.substitution(i);
  std::fill(substitution.begin(), substitution.end(), kBlankCode);
  w = nextWord(line, w.last + 1, kLexRest);
  if (w.kind != kTokenNone) {
    std::copy(line.begin() + (w.first - 1), line.begin() + w.last, substitution.begin());
  }
  return 0;
}

// A blank line, then "SYNTAX ERROR SYNONYM FILE LINE : n : CHARACTER : p".
void syntaxError(int32_t lineNumber, int32_t position) {
  PLTCOL(kColourWarning);
  MSGWRT(FText(), 0);
  CodeLine line = blankLine();
  int32_t last = 0;
  append(line, last, "SYNTAX ERROR SYNONYM FILE LINE : ");
  INTCOD(lineNumber, last + 1, line, last);
  append(line, last, " : CHARACTER : ");
  INTCOD(position, last + 1, line, last);
  CODPRT(line, last);
}

// ---- ADD, LIST, DELETE, SAVE ------------------------------------------------------------

void add() {
  const int32_t searchNumber = INTS(1);
  if (searchNumber < 1 || searchNumber >= SynSta::kPriority) {
    PLTOBJ(kObjectMessage);
    PLTCOL(kColourWarning);
    message("Illegal search number : Synonym ignored");
    return;
  }
  CodeLine name = blankLine();
  // The name is compared as it will be stored: a longer name that agrees with an entry in
  // its first 12 characters would otherwise become a second entry of the same name.
  const int32_t n = std::min(upperAnswer(kNameAnswer, kLineCodes, name), SynSta::kNameCodes);

  int32_t target = 0;
  for (int32_t i = 1; i <= SYNSTA.count; ++i) {
    const int32_t r = compare(i, name, 1, n);
    if (r == 0) {
      if (isPriority(i)) {
        SYNLST(i);
        MSGW3(kPriorityName);
        return;
      }
      target = i;
      break;
    }
    if (r > 0 && r >= SYNSTA.searchNumber(i)) return;
  }
  const bool replacing = target != 0;

  if (SYNSTA.active == 0) {
    PLTCOL(kColourWarning);
    PLTOBJ(kObjectReport);
    SYNSTA.active = 1;
    message("Synonyms activated");
  }
  if (!replacing) {
    if (SYNSTA.count >= SynSta::kMaxSynonyms) {
      MSGW3(kTableFull);
      return;
    }
    target = ++SYNSTA.count;
  }

  SYNSTA.searchNumber(target) = searchNumber;
  std::span<int32_t> stored = SYNSTA.name(target);
  std::fill(stored.begin(), stored.end(), kBlankCode);
  std::copy_n(name.begin(), SynSta::kNameCodes, stored.begin());
  upperAnswer(kSubstitutionAnswer, SynSta::kSubstitutionCodes, SYNSTA.substitution(target));

  if (SYNSTA.echo != 1) return;
  SYNLST(target);
  if (replacing) {
    MSGW3(kOverwritten);
    PLTCOL(kColourNotice);
    PLTOBJ(kObjectMessage);
    message("Synonym overwritten");
  }
  countReport();
}

void list(int32_t& status) {
  if (MNUCTL.answerCount == kKeywordAnswers) {
    for (int32_t i = 1; i <= SYNSTA.count; ++i) SYNLST(i);
    return;
  }
  if (SYNSTA.count == 0) {
    status = 1;
    return;
  }
  CodeLine text = blankLine();
  const int32_t n = upperAnswer(kNameAnswer, kLineCodes, text);
  bool any = false;
  for (int32_t i = 1; i <= SYNSTA.count; ++i) {
    if (compare(i, text, 1, n) < 0) continue;
    SYNLST(i);
    any = true;
  }
  if (any) return;
  PLTOBJ(kObjectMessage);
  PLTCOL(kColourWarning);
  message("No synonyms match for this character string");
}

void remove(int32_t& status) {
  if (SYNSTA.count == 0) {
    status = 1;
    return;
  }
  CodeLine text = blankLine();
  const int32_t n = upperAnswer(kNameAnswer, kLineCodes, text);
  for (int32_t i = 1; i <= SYNSTA.count; ++i) {
    if (compare(i, text, 1, n) != 0) continue;
    if (isPriority(i)) {
      PLTOBJ(kObjectMessage);
      PLTCOL(kColourNotice);
      message("Warning : Priority synonym cannot be deleted");
      return;
    }
    for (int32_t k = i; k < SYNSTA.count; ++k) {
      std::ranges::copy(SYNSTA.name(k + 1), SYNSTA.name(k).begin());
      SYNSTA.searchNumber(k) = SYNSTA.searchNumber(k + 1);
      std::ranges::copy(SYNSTA.substitution(k + 1), SYNSTA.substitution(k).begin());
    }
    --SYNSTA.count;
    PLTCOL(kColourNotice);
    PLTOBJ(kObjectMessage);
    message("Synonym deleted");
    if (SYNSTA.echo == 1) countReport();
    return;
  }
  MSGW3(kNoMatch);
}

int32_t synonymUnit() { return IOUNIT.slot(fileTypeRow(kSynonymFileType)->openSlot); }

void save() {
  if (SYNSTA.count == 0) return;
  CodeLine name = blankLine();
  int32_t count = 0;
  int32_t length = 0;
  TXTREF(ITEM(kNameAnswer), kLineCodes, name, count, length);
  int32_t status = 0;
  FOUVRE(kSynonymFileType, name, count, kFormatted, kReadWrite, status);
  if (status != 0) {
    FILCLS(kSynonymFileType);
    return;
  }
  const int32_t unit = synonymUnit();
  for (int32_t i = 1; i <= SYNSTA.count; ++i) {
    CodeLine line = blankLine();
    int32_t last = 0;
    append(line, last, kSavedPrefix);
    append(line, last, " ");
    std::span<const int32_t> word = SYNSTA.name(i);
    const auto blank = std::ranges::find(word, kBlankCode);
    appendCodes(line, last, word, 1, static_cast<int32_t>(blank - word.begin()));
    append(line, last, " ");
    INTCOD(SYNSTA.searchNumber(i), last + 1, line, last);
    std::span<const int32_t> substitution = SYNSTA.substitution(i);
    const int32_t end = lastNonBlank(substitution);
    if (end > 0) {
      const auto start = std::ranges::find_if(substitution, [](int32_t c) { return c != kBlankCode; });
      append(line, last, " ");
      appendCodes(line, last, substitution, static_cast<int32_t>(start - substitution.begin()) + 1, end);
    }
    FixedText text(kLineCodes);
    CODTXT(line, last, text);
    io::writeRecord(unit, text.view().substr(0, static_cast<size_t>(last)));
  }
  FILCLS(kSynonymFileType);
}

// ---- Expansion ----------------------------------------------------------------------

// Builds the expansion line: tokens are placed from position NEXT on, and nothing is ever
// placed past position 255; the first token that would reach beyond it ends the expansion.
class Expansion {
 public:
  Expansion() : line_(blankLine()) {}

  // Places codes FIRST..LAST of SOURCE; answers false when they do not fit.
  bool place(std::span<const int32_t> source, int32_t first, int32_t last, int32_t gap) {
    if (full_ || int64_t{next_} + (last - first) > kLineCodes) {
      full_ = true;
      return false;
    }
    int32_t at = next_ - 1;
    appendCodes(line_, at, source, first, last);
    next_ = at + gap;
    return true;
  }
  bool full() const { return full_; }
  const CodeLine& line() const { return line_; }

 private:
  CodeLine line_;
  int32_t next_ = 1;
  bool full_ = false;
};

// The N-th word (lexer mode 7) of TYPED after position AFTER; false when there are fewer.
bool parameterWord(const CodeLine& typed, int32_t after, int32_t n, int32_t& first,
                   int32_t& last) {
  int32_t start = after + 1;
  for (int32_t k = 1; start <= kLineCodes; ++k) {
    int32_t kind = 0;
    int32_t ivalue = 0;
    float real = 0.0f;
    NXTTKN(typed, start, kLineCodes, kLexWord, kind, first, last, ivalue, real);
    if (kind == kTokenNone) return false;
    if (k == n) return true;
    start = last + 1;
  }
  return false;
}

// Asks for parameter N: " $n" at the prompt of menu 55. Answers the GETINP result, with
// the reply in ANSWER.
int32_t askParameter(int32_t n, CodeLine& answer) {
  CodeLine prompt = blankLine();
  int32_t last = 0;
  append(prompt, last, " $");
  INTCOD(n, last + 1, prompt, last);
  std::string title(kPromptTitle);
  int32_t result = 0;
  // A reply without an answer asks again; the end of input cancels, so this ends.
  do {
    GETINP(kPromptEcho, kPromptJournal, kPromptJournal, kPromptNoList, kPromptMenu,
           FText(title), prompt, last, kPromptAsTyped, answer, kLineCodes, result);
  } while (result == kInputEmpty);
  return result;
}

void expand(FText text, int32_t& status) {
  status = 1;
  if (SYNSTA.count == 0) return;
  CodeLine typed = blankLine();
  int32_t filled = 0;
  TXTCOD(text, 1, typed, filled);

  int32_t kind = 0;
  int32_t first = 0;
  int32_t last = 0;
  int32_t ivalue = 0;
  float real = 0.0f;
  NXTTKN(typed, 1, kLineCodes, kLexName, kind, first, last, ivalue, real);
  if (kind == kTokenNone) return;
  UPCCOD(typed, first, last);
  int32_t entry = 0;
  for (int32_t i = 1; i <= SYNSTA.count && entry == 0; ++i) {
    if (finds(i, typed, first, last)) entry = i;
  }
  if (entry == 0) return;

  // The words after the synonym word that the parameters consumed end here.
  const int32_t synonymEnd = last;
  int32_t consumed = synonymEnd;

  std::span<const int32_t> substitution = SYNSTA.substitution(entry);
  constexpr int32_t kEnd = SynSta::kSubstitutionCodes;
  const int32_t quote = codeOf('"');
  Expansion out;
  bool quoted = false;
  int32_t position = 1;
  while (position <= kEnd && !out.full()) {
    if (quoted && substitution[static_cast<size_t>(position - 1)] == kBlankCode) {
      out.place(substitution, position, position, 1);
      ++position;
      continue;
    }
    NXTTKN(substitution, position, kEnd, kLexClock, kind, first, last, ivalue, real);
    if (kind == kTokenNone) break;
    if (substitution[static_cast<size_t>(first - 1)] == quote) {
      quoted = !quoted;
      out.place(substitution, first, first, quoted ? 1 : 2);
      position = first + 1;
      continue;
    }
    if (kind != kTokenDollar) {
      out.place(substitution, first, last, quoted ? 1 : 2);
      position = last + 1;
      continue;
    }

    // "$n": parameter n. A "$" without an integer, or with 0, names no parameter.
    int32_t n = 0;
    int32_t numberFirst = 0;
    NXTTKN(substitution, first + 1, kEnd, kLexInteger, kind, numberFirst, last, n, real);
    if (kind != kTokenInteger || numberFirst != first + 1 || n == 0) return;
    n = std::abs(n);
    position = last + 1;
    int32_t wordFirst = 0;
    int32_t wordLast = 0;
    if (parameterWord(typed, synonymEnd, n, wordFirst, wordLast)) {
      out.place(typed, wordFirst, wordLast, quoted ? 1 : 2);
      consumed = std::max(consumed, wordLast);
      continue;
    }
    CodeLine answer = blankLine();
    if (askParameter(n, answer) != kInputGiven) {
      status = -1;
      return;
    }
    NXTTKN(answer, 1, kLineCodes, kLexWord, kind, wordFirst, wordLast, ivalue, real);
    if (kind != kTokenNone) out.place(answer, wordFirst, wordLast, quoted ? 1 : 2);
  }

  // The words of the typed line that no parameter took follow, one blank after each.
  position = consumed + 1;
  while (position <= kLineCodes && !out.full()) {
    NXTTKN(typed, position, kLineCodes, kLexToken, kind, first, last, ivalue, real);
    if (kind == kTokenNone) break;
    out.place(typed, first, last, 2);
    position = last + 1;
  }

  std::ranges::copy(out.line(), CMDLIN.lineCodes.begin());
  CMDLIN.pending = 1;
  status = 0;
}

}  // namespace

void SYNCMD(int32_t subcommand, FText text, int32_t& status) {
  status = 0;
  switch (subcommand) {
    case kSynonymAdd: add(); return;
    case kSynonymList: list(status); return;
    case kSynonymDelete: remove(status); return;
    case kSynonymExpand: expand(text, status); return;
    case kSynonymSave: save(); return;
    default: SYNRD(status); return;
  }
}

void SYNRD(int32_t& status) {
  status = 0;
  PLTOBJ(kObjectMessage);
  SYNSTA.count = 0;
  int32_t open = 0;
  FOUVRE(kSynonymFileType, {}, 0, kFormatted, kReadOnly, open);
  if (open != 0) {
    FILCLS(kSynonymFileType);
    return;
  }
  PLTCOL(kColourFound);
  message("SYNONYM FILE FOUND");
  PLTCOL(kColourNotice);
  SYNSTA.active = 1;
  message("SYNONYMS ACTIVATED");

  const int32_t unit = synonymUnit();
  int32_t lineNumber = 0;
  // One record a pass: the loop ends with the file.
  for (;;) {
    std::array<char, kRecordLength> record;
    const int32_t iostat = io::readRecord(unit, record.data(), kRecordLength);
    if (iostat == io::kIosEnd) break;
    ++lineNumber;
    if (iostat != io::kIosOk) {
      syntaxError(lineNumber, 1);
      status = 1;
      break;
    }
    FileLine line;
    std::ranges::transform(record, line.begin(), codeOf);

    const Word w = nextWord(line, 1, kLexName);
    if (w.kind == kTokenSemicolon || w.kind == kTokenStar) continue;  // ";", "*", "!"
    if (SYNSTA.count >= SynSta::kMaxSynonyms) {
      MSGW3(kTableFull);
      break;
    }
    const int32_t entry = ++SYNSTA.count;
    const int32_t position = readSynonym(line, w, entry);
    if (position != 0) {
      --SYNSTA.count;
      syntaxError(lineNumber, position);
      status = 1;
      break;
    }
  }
  FILCLS(kSynonymFileType);
}

void SYNLST(int32_t i) {
  if (i < 1 || i > SYNSTA.count) return;
  std::span<const int32_t> name = SYNSTA.name(i);
  std::span<const int32_t> substitution = SYNSTA.substitution(i);
  const auto firstBlank = [&](int32_t from) {
    int32_t k = from;
    while (k <= SynSta::kNameCodes && name[static_cast<size_t>(k - 1)] != kBlankCode) ++k;
    return k;  // kNameCodes + 1 when there is none
  };

  CodeLine line = blankLine();
  int32_t last = 0;
  const int32_t s = SYNSTA.searchNumber(i);
  if (s == SynSta::kPriority) {
    append(line, last, "*** ");
    appendCodes(line, last, name, 1, std::min(firstBlank(1), SynSta::kNameCodes));
    append(line, last, "*** ");
  } else {
    const int32_t shown = std::clamp(s, 0, SynSta::kNameCodes);
    append(line, last, "(");
    appendCodes(line, last, name, 1, shown);
    append(line, last, ")");
    appendCodes(line, last, name, shown + 1, firstBlank(shown + 1) - 1);
    append(line, last, " = ");
  }
  appendCodes(line, last, substitution, 1, SynSta::kSubstitutionCodes);
  CODPRT(line, lastNonBlank(std::span<const int32_t>(line).first(static_cast<size_t>(last))));
}

}  // namespace kvr
