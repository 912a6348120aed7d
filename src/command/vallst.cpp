#include "command/vallst.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command/ansrec.h"
#include "command/cmdlin.h"
#include "command/fltlst.h"
#include "command/objlst.h"
#include "command/prplst.h"
#include "command/spclst.h"
#include "messages/catalog.h"
#include "modeldb/codcmp.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/genopen.h"
#include "runtime/iomode.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

// The kind ranges.
constexpr int32_t kLastSpecialKind = 100;
constexpr int32_t kLastObjectKind = 200;
constexpr int32_t kLastNameKind = 300;
constexpr int32_t kLastPropertyKind = 400;
constexpr int32_t kTranslatorOptionKind = 403;
constexpr int32_t kObjectKindBase = 100;
constexpr int32_t kNameSlotBase = 199;   // kind k reads slot k - 199
constexpr int32_t kNameListBase = 198;   // a name answer's list value: kind - 198
constexpr int32_t kListAllMode = 3;      // OBJLST: list every object

// VALCHK answers for the name and column kinds.
constexpr int32_t kNameValueCode = 1;
constexpr int32_t kTextValueCode = 0;
constexpr int32_t kPlainOperator = 1;

// The graph file.
constexpr int32_t kFileAnswer = 4;       // the answer that names it
constexpr int32_t kFileNameCodes = 255;
constexpr int32_t kRecordLength = 255;
constexpr int32_t kColumnNameLength = 12;
constexpr std::string_view kHeader = "KAVRO GRAPH FORMAT #2";
constexpr std::string_view kColumnTag = "COL";
constexpr std::string_view kFilePlaceholder = "'file'";
constexpr std::string_view kHeaderPlaceholder = "'header'";
constexpr int32_t kQuietBit = 1;
constexpr int32_t kFormatted = 1;  // TLFOPN form: formatted sequential
constexpr int32_t kReadOld = 4;    // TLFOPN mode: READ, the file must exist

// E-block numbers (less 3000).
constexpr int32_t kE3100 = 100;  // Cannot find specified file
constexpr int32_t kE3110 = 110;  // Incompatible file format
constexpr int32_t kE3140 = 140;  // No header lines found in file
constexpr int32_t kE3380 = 380;  // Failed to open input file

int32_t codeCount(std::span<const int32_t> line) { return static_cast<int32_t>(line.size()); }
int32_t codeAt(std::span<const int32_t> line, int32_t k) {
  return line[static_cast<std::size_t>(k - 1)];
}

// Whether positions FIRST.. of LINE (up to LAST) begin with the characters of WORD.
bool beginsWith(std::span<const int32_t> line, int32_t first, int32_t last, std::string_view word) {
  const auto n = static_cast<int32_t>(word.size());
  if (first < 1 || last - first + 1 < n || first + n - 1 > codeCount(line)) return false;
  for (int32_t k = 0; k < n; ++k) {
    if (codeAt(line, first + k) != codeOf(word[static_cast<std::size_t>(k)])) return false;
  }
  return true;
}

// Name slot K of IOMODE as its codes in use; a slot beyond the table is empty.
std::span<const int32_t> nameSlot(int32_t k) {
  if (k < 1 || k > IoMode::kNameSlots) return {};
  const auto& slot = IOMODE.nameSlot(k);
  const int32_t n = std::clamp(slot.count, 0, IoMode::kNameSlotCodes);
  return std::span<const int32_t>(slot.codes).first(static_cast<std::size_t>(n));
}

// VALLST for a name kind: one entry holding the slot's name.
void listName(int32_t kind, ValueList& list, int32_t& status) {
  if (list.full()) {
    status = kListFull;
    return;
  }
  const int32_t k = kind - kNameSlotBase;
  const std::span<const int32_t> name = nameSlot(k);
  std::string text(name.size(), ' ');
  for (std::size_t j = 0; j < name.size(); ++j) text[j] = charOf(name[j]);
  const int32_t lengthWord = k >= 1 && k <= IoMode::kNameSlots ? IOMODE.nameSlot(k).count : 0;
  list.append(-kind, lengthWord, text);
  status = kListDone;
}

// VALLST for the column kind: the columns of the graph file that answer 4 names.
void listColumns(ValueList& list, int32_t& status) {
  FixedText name(kFileNameCodes);
  std::array<int32_t, kFileNameCodes> codes{};
  int32_t missing = 0;
  ANSFIL(kFileAnswer, kFileNameCodes, name, codes, missing);
  if (missing == 1 && name.trimmed() != kFilePlaceholder) {
    MSGE3(kE3100);
    status = kListFailed;
    return;
  }
  int32_t columns = 0;
  GRFRD2(name, list, 0, columns, status);
}

// The reading of one graph file: the state that lasts from line to line.
class GraphReader {
 public:
  GraphReader(ValueList& list, bool quiet) : list_(list), quiet_(quiet), firstNew_(list.count + 1) {}

  enum class Outcome { NextLine, EndOfColumns, Full, NotGraphFile };

  // Takes the tokens of LINE (upper case, codes 1..N).
  Outcome readLine(std::span<const int32_t> line, int32_t n, int32_t& columns, int32_t& status);

  bool headerFound() const { return headerFound_; }
  int32_t added() const { return list_.count - firstNew_ + 1; }

  void report(int32_t number) const {
    if (!quiet_) MSGE3(number);
  }

 private:
  enum class State { Waiting, AfterTag, AfterSeparator };

  Outcome takeColumn(std::span<const int32_t> line, int32_t first, int32_t last,
                     int32_t& columns, int32_t& status);

  ValueList& list_;
  bool quiet_;
  int32_t firstNew_;  // the first entry this call adds
  bool headerFound_ = false;
};

bool isSeparator(int32_t kind) {
  return kind == kTokenSemicolon || kind == kTokenColon || kind == kTokenComma;
}

GraphReader::Outcome GraphReader::readLine(std::span<const int32_t> line, int32_t n,
                                           int32_t& columns, int32_t& status) {
  State state = State::Waiting;
  int32_t p = 1;
  while (p <= n) {
    int32_t kind = 0;
    int32_t first = 0;
    int32_t last = 0;
    int32_t ivalue = 0;
    float rvalue = 0.0f;
    NXTTKN(line, p, n, kLexToken, kind, first, last, ivalue, rvalue);
    if (kind == kTokenNone) break;
    const int32_t c = codeAt(line, first);
    if (kind == kTokenStar || c == codeOf('!') || c == codeOf('*')) break;  // a comment
    if (kind == kTokenText && c == codeOf('#')) {
      p = first + 1;  // the "#" is skipped and the line read on from the character after it
      continue;
    }
    p = last + 1;

    if (!headerFound_) {
      // The header's 21 characters hold blanks: they are compared on the line itself.
      if (!beginsWith(line, first, n, kHeader)) {
        report(kE3110);
        status = kListFailed;
        return Outcome::NotGraphFile;
      }
      headerFound_ = true;
      return Outcome::NextLine;
    }
    switch (state) {
      case State::Waiting:
        if (kind == kTokenInteger || kind == kTokenReal) return Outcome::EndOfColumns;
        if (beginsWith(line, first, last, kColumnTag)) state = State::AfterTag;
        break;
      case State::AfterTag:
        if (isSeparator(kind)) state = State::AfterSeparator;
        break;
      case State::AfterSeparator:
        if (isSeparator(kind)) return Outcome::NextLine;
        if (kind == kTokenText) return takeColumn(line, first, last, columns, status);
        break;
    }
  }
  return Outcome::NextLine;
}

GraphReader::Outcome GraphReader::takeColumn(std::span<const int32_t> line, int32_t first,
                                             int32_t last, int32_t& columns, int32_t& status) {
  ++columns;
  const int32_t length = std::min(last - first + 1, kColumnNameLength);
  std::string name(static_cast<std::size_t>(kColumnNameLength), ' ');
  for (int32_t k = 0; k < length; ++k) name[static_cast<std::size_t>(k)] = charOf(codeAt(line, first + k));

  const auto compared = static_cast<std::size_t>(std::min(kColumnNameLength, list_.textLength()));
  const std::string_view key = std::string_view(name).substr(0, compared);
  for (int32_t k = std::max(firstNew_, 1); k <= list_.count; ++k) {
    if (list_.text(k).view().substr(0, compared) == key) return Outcome::NextLine;
  }
  if (list_.count == list_.maximum() - 1) {
    list_.append(kPlaceholderEntry, static_cast<int32_t>(kHeaderPlaceholder.size()),
                 kHeaderPlaceholder);
    status = kListFull;
    return Outcome::Full;
  }
  if (list_.full()) {
    status = kListFull;
    return Outcome::Full;
  }
  list_.append(-kColumnKind, length, name);
  return Outcome::NextLine;
}

// VALCHK for a name kind: the token against the slot's name, abbreviations allowed.
void checkName(int32_t kind, std::span<const int32_t> work, int32_t first, int32_t last,
               ArgumentCheck& check) {
  const std::span<const int32_t> name = nameSlot(kind - kNameSlotBase);
  int32_t result = kCheckNoMatch;
  CODCMP(name, 1, static_cast<int32_t>(name.size()), work, first, last, result);
  check.status = result;
  check.valueCode = kNameValueCode;
  check.oper = kPlainOperator;
  check.listValue = kind - kNameListBase;
}

// VALCHK for the column kind: any token of at most 12 characters, taken as text.
void checkColumn(std::span<const int32_t> work, int32_t first, int32_t last,
                 ArgumentCheck& check) {
  const int32_t length = last - first + 1;
  if (length > kColumnNameLength) {
    check.status = kCheckNoMatch;
    return;
  }
  check.status = kCheckExact;
  check.valueCode = kTextValueCode;
  check.oper = kPlainOperator;
  check.real = 0.0f;
  // The copy stops where the answer text store ends; an uncut copy would overrun it.
  const int32_t copied =
      std::clamp(std::min(length, static_cast<int32_t>(check.text.size())), 0, kColumnNameLength);
  for (int32_t k = 0; k < copied; ++k) check.text[static_cast<std::size_t>(k)] = codeAt(work, first + k);
  check.listValue = copied;
}

}  // namespace

void VALLST(std::span<int32_t> context, int32_t kind, ValueList& list, int32_t& status) {
  status = kListDone;
  if (kind > kLastPropertyKind) {
    if (kind == kTranslatorOptionKind) {
      K403LS(kind, list, status);
    } else {
      FLTLST(kind, list, status);
    }
  } else if (kind > kLastNameKind) {
    PRPLST(kind, list, status);
  } else if (kind == kColumnKind) {
    listColumns(list, status);
  } else if (kind > kLastObjectKind) {
    listName(kind, list, status);
  } else if (kind > kLastSpecialKind) {
    OBJLST(context, kind - kObjectKindBase, kListAllMode, 0, 0, list, status);
  } else {
    SPCLST(kind, list, status);
  }
}

void VALCHK(std::span<int32_t> context, int32_t kind, std::span<const int32_t> line,
            int32_t first, int32_t last, int32_t inputMode, ArgumentCheck& check) {
  // The work copy: the token at its own positions, upper case, blanks elsewhere.
  std::vector<int32_t> work(line.size(), kBlankCode);
  const int32_t a = std::max(first, 1);
  const int32_t b = std::min(last, codeCount(line));
  for (int32_t k = a; k <= b; ++k) work[static_cast<std::size_t>(k - 1)] = codeAt(line, k);
  UPCCOD(work, a, b);

  if (kind > kLastPropertyKind) {
    if (kind == kTranslatorOptionKind) {
      K403CK(work, first, last, check);
    } else {
      FLTCHK(kind, work, first, last, check);
    }
  } else if (kind > kLastNameKind) {
    PRPCHK(kind, work, first, last, check);
  } else if (kind == kColumnKind) {
    checkColumn(work, a, b, check);
  } else if (kind > kLastObjectKind) {
    checkName(kind, work, first, last, check);
  } else if (kind > kLastSpecialKind) {
    OBJCHK(context, kind - kObjectKindBase, work, first, last, inputMode, check);
  } else {
    SPCCHK(kind, work, first, last, inputMode, check);
  }
}

void GRFRD2(FText fileName, ValueList& list, int32_t quiet, int32_t& columns, int32_t& status) {
  status = kListDone;
  columns = 0;
  const bool silent = (quiet & kQuietBit) != 0;
  int32_t openStatus = 0;
  const int32_t unit =
      OPNFRE(fileName, kFormatted, kReadOld, 0, openStatus, fileName.trimmedLength());
  if (unit < 0) {
    if (fileName.trimmed() == kFilePlaceholder) {
      list.append(kPlaceholderEntry, static_cast<int32_t>(kHeaderPlaceholder.size()),
                  kHeaderPlaceholder);
    } else {
      if (!silent) MSGE3(kE3380);
      status = kListFailed;
    }
    return;
  }

  GraphReader reader(list, silent);
  std::array<char, kRecordLength> record{};
  std::array<int32_t, kRecordLength> line{};
  GraphReader::Outcome outcome = GraphReader::Outcome::NextLine;
  // A read error ends the file as its end does.
  while (outcome == GraphReader::Outcome::NextLine &&
         io::readRecord(unit, record.data(), kRecordLength) == io::kIosOk) {
    line.fill(kBlankCode);
    int32_t n = 0;
    TXTCOD(FText(record.data(), kRecordLength), 1, line, n);
    UPCCOD(line, 1, n);
    outcome = reader.readLine(line, n, columns, status);
  }
  io::unitClose(unit);

  if (outcome == GraphReader::Outcome::Full || outcome == GraphReader::Outcome::NotGraphFile) return;
  if (!reader.headerFound()) {
    reader.report(kE3110);
    status = kListFailed;
  } else if (reader.added() == 0) {
    reader.report(kE3140);
    status = kListNoColumns;
  }
}

void ANSFIL(int32_t record, int32_t maximum, FText fileName, std::span<int32_t> line,
            int32_t& missing) {
  int32_t count = 0;
  int32_t length = 0;
  TXTREF(ITEM(record), maximum, line, count, length);
  CODTXT(line, count, fileName);
  int32_t exists = 0;
  FEXIST(fileName, std::min(count, fileName.length()), 0, 0, exists);
  missing = exists == 1 ? 0 : 1;
}

}  // namespace kvr
