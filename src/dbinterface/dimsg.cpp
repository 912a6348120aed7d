#include "dbinterface/dimsg.h"

#include <algorithm>
#include <string>

#include "dbinterface/diblocks.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"

namespace kvr {
namespace {

constexpr int32_t kShownCodeLimit = 998;
constexpr int32_t kShownCode = 999;
constexpr int32_t kLinesPerUnit = 50;  // the next line is the suppression line

// Positions of the line.
constexpr int32_t kCodeFirst = 4;
constexpr int32_t kCodeLast = 6;
constexpr int32_t kRoutineFirst = 10;
constexpr int32_t kRoutineLast = 15;
constexpr int32_t kTextFirst = 18;
constexpr int32_t kTextLast = 67;
constexpr int32_t kOpen = 71;
constexpr int32_t kValueFirst = 72;
constexpr int32_t kNameLast = 91;
constexpr int32_t kClose = 92;
constexpr int32_t kInfoNumberLast = 81;
constexpr int32_t kInfoNumberClose = 82;

// The frame both kinds of line share: "DI", the colons, the routine name and the text.
DiLine frame(FText routnm, std::string_view text) {
  DiLine line;
  line.put(2, "DI");
  line.put(8, ":");
  line.put(kRoutineFirst, routnm.view(), kRoutineLast);
  line.put(16, ":");
  line.put(kTextFirst, text, kTextLast);
  line.put(69, ":");
  return line;
}

// Counts the line against the current unit and writes it to both message units. The
// 51st line against a unit becomes the suppression line of ROUTINE with TEXT; later lines
// are dropped (the count stops one past the suppression line).
void countAndWrite(DiLine& line, std::string_view routine, std::string_view text) {
  int32_t& count = DISTAT.currentMessageCount();
  if (count > kLinesPerUnit + 1) return;
  ++count;
  if (count > kLinesPerUnit + 1) return;
  if (count == kLinesPerUnit + 1) {
    // The frame without code or value, also in place of a free line.
    std::string name(routine);
    line = frame(FText(name.data(), static_cast<int32_t>(name.size())), text);
  }
  if (DICTL.lumsg1 != kNoMessageUnit) DIWLIN(line.text(), DICTL.lumsg1);
  if (DICTL.lumsg2 != kNoMessageUnit) DIWLIN(line.text(), DICTL.lumsg2);
}

}  // namespace

void DiLine::put(int32_t first, std::string_view text, int32_t last) {
  last = std::min(last, kLength);
  if (first < 1 || first > last) return;
  auto room = static_cast<std::size_t>(last - first + 1);
  std::string_view s = text.substr(0, std::min(room, text.size()));
  std::copy(s.begin(), s.end(), chars_.begin() + (first - 1));
  std::fill(chars_.begin() + (first - 1) + static_cast<std::ptrdiff_t>(s.size()),
            chars_.begin() + last, ' ');
}

void DiLine::blank(int32_t first, int32_t last) { put(first, {}, last); }

void DITEXT(int32_t icode, FText text) { text.assign(dietabText(icode)); }

void DIMSG(int32_t& icode, FText routnm, int32_t kind, FText name, int32_t number) {
  if (icode > kShownCodeLimit) icode = kShownCode;
  DiLine line = frame(routnm, dietabText(icode));
  line.put(kCodeFirst, fmt::editI(icode, 3), kCodeLast);
  // Always three digits: "007", "011".
  if (line.at(4) == ' ') line.put(4, "0", 4);
  if (line.at(5) == ' ') line.put(5, "0", 5);
  if (kind != kDiNoValue) {
    line.put(kOpen, "(", kOpen);
    line.put(kClose, ")", kClose);
  }
  if (kind == kDiName) {
    // Cut at 20 characters: a longer name would run over the ")" and past the line.
    line.put(kValueFirst, name.view().substr(0, static_cast<std::size_t>(name.trimmedLength())),
             kNameLast);
  } else if (kind == kDiNumber) {
    std::string digits = fmt::editI(number, 8);
    // Any number that does not fit eight positions, negative ones too.
    line.put(kValueFirst, digits.front() == '*' ? ">8 FIGS" : digits, kValueFirst + 7);
  }
  countAndWrite(line, "DIMSG ", "*** FURTHER ERROR MESSAGES WILL BE SUPPRESSED *** ");
}

void DIINF(FText routnm, FText text, int32_t kind, FText name, int32_t number) {
  DiLine line = frame(routnm, text.view());
  if (kind == kDiName) {
    line.put(kOpen, "(", kOpen);
    line.put(kValueFirst, name.view(), kNameLast);
    line.put(kClose, ")", kClose);
  } else if (kind == kDiNumber) {
    std::string digits = fmt::editI(number, 10);
    line.put(kOpen, "(", kOpen);
    line.put(kValueFirst, digits.front() == '*' ? " >10 CHARS" : digits, kInfoNumberLast);
    line.put(kInfoNumberClose, ")", kInfoNumberClose);
  } else if (kind == kDiFreeLine) {
    line = DiLine();
    line.put(2, name.view());
  }
  countAndWrite(line, "DIINF ", "*** FURTHER INFO MESSAGES WILL BE SUPPRESSED ***  ");
}

void DIWLIN(FText line, int32_t unit) {
  std::string_view record = line.view().substr(0, static_cast<std::size_t>(line.trimmedLength()));
  if (io::writeRecord(unit, record) != io::kIosOk) {
    std::string_view notice = " *** DI MESSAGE CHANNEL NOT CONNECTED *** ";
    io::writeRecord(io::kStdoutUnit, fmt::listDirected({notice}));
  }
}

}  // namespace kvr
