#include "messages/catline.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/hostcb.h"
#include "runtime/iomode.h"
#include "runtime/journal.h"
#include "runtime/msglin.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kJournalLine = 80;
constexpr int32_t kJournalText = 77;

}  // namespace

NameInsert programNameText(int32_t k) {
  if (k < 1 || k > IoMode::kNameSlots - 1) return {};
  const auto& slot = IOMODE.nameSlot(k + 1);
  return {slot.codes, slot.count};
}

CatLine::CatLine(int32_t capacity) : codes_(static_cast<size_t>(capacity), kBlankCode) {}

int32_t CatLine::put(std::string_view piece, int32_t at) {
  std::string s(piece);
  s += "*.";
  int32_t last = at - 1;
  TXTCOD(FText(s.data(), static_cast<int32_t>(s.size())), at, codes_, last);
  if (last >= at) length_ = last;
  return last;
}

void CatLine::putTag(char letter, int32_t number, int32_t digits, int32_t at) {
  std::string tag = fmt::editI(number, digits);
  std::replace(tag.begin(), tag.end(), ' ', '0');
  if (letter != 0) tag.insert(tag.begin(), letter);
  put(tag + ":", at);
}

int32_t CatLine::insert(NameInsert name, int32_t at) {
  // A count word above the name's codes or the room left would copy past either array.
  int32_t room = static_cast<int32_t>(codes_.size()) - at + 1;
  int32_t n = std::min({name.count, static_cast<int32_t>(name.codes.size()), room});
  int32_t last = at - 1;
  if (at < 1 || n <= 0) return last;
  ISLCPY(name.codes, 1, n, at, codes_, last);
  return extendTo(last);
}

int32_t CatLine::putInt(int32_t value, int32_t at) {
  int32_t last = at - 1;
  INTCOD(value, at, codes_, last);
  return extendTo(last);
}

int32_t CatLine::putReal(float value, int32_t digits, int32_t at) {
  int32_t last = at - 1;
  REALTX(value, digits, at, codes_, last);
  return extendTo(last);
}

int32_t CatLine::putWords(std::span<const int32_t> words, int32_t f, int32_t l, int32_t at) {
  int32_t last = at - 1;
  REALCD(words, f, l, at, codes_, last);
  return extendTo(last);
}

int32_t CatLine::putVersion(int32_t layout, int32_t at) {
  int32_t last = at - 1;
  VERTXT(codes_, layout, at, last);
  return extendTo(last);
}

int32_t CatLine::extendTo(int32_t last) {
  length_ = std::max(length_, last);
  return last;
}

void writeCatalogue(std::span<const CatLine> lines, UnitWriter writer, bool journal) {
  int32_t flag = IOMODE.inputMode == 1 ? 0 : 1;
  for (const CatLine& line : lines) {
    if (writer == UnitWriter::None) break;
    FText text = MSGLIN.text();
    CODTXT(line.codes(), line.length(), text);
    // Leading and trailing blanks go; the line ends at its last character, without a NUL.
    int32_t n = LENTRM(text);
    STRIPB(text, n);
    switch (writer) {
      case UnitWriter::WRTLN1:
        WRTLN1(1, text);
        break;
      case UnitWriter::WRTLIN:
        WRTLIN(flag, text);
        break;
      case UnitWriter::HCMSG:
        HCMSG(flag, text);
        break;
      case UnitWriter::None:
        break;
    }
  }
  if (!journal) return;
  for (const CatLine& line : lines) {
    std::array<int32_t, kJournalLine> jline;
    jline.fill(kBlankCode);
    int32_t last = 0;
    std::string mark = " * *.";
    TXTCOD(FText(mark.data(), static_cast<int32_t>(mark.size())), 1, jline, last);
    int32_t n = std::clamp(line.length(), 0, kJournalText);
    std::copy_n(line.codes().begin(), n, jline.begin() + 3);
    int32_t failed = 0;
    JRNWR2(jline, 1, n + 3, failed);
    JRNWR1(jline, 1, n + 3, failed);
  }
}

}  // namespace kvr

namespace kvr {

int32_t blockNumber(int32_t n, int32_t base, int32_t lastBlock) {
  int32_t block = n / 100;
  int32_t message = (n % 100) / 10;
  if (block < 1 || block > lastBlock || message < 0) return 0;
  return base + 100 * block + 10 * message;
}

namespace {

// Composes TEXT into LINE from position 1: the pieces before and after the name mark,
// NAME between them.
void composeLine(std::string_view text, NameInsert name, CatLine& line) {
  size_t mark = text.find(kNameInsert);
  line.put(text.substr(0, mark), 1);
  if (mark == std::string_view::npos) return;
  line.insert(name, line.length() + 1);
  line.put(text.substr(mark + 1), line.length() + 1);
}

}  // namespace

void writeBlockMessage(char letter, int32_t number, std::span<const CatText> texts,
                       UnitWriter writer, bool journal, NameInsert name) {
  constexpr int32_t kLineLength = 80;
  std::array<CatLine, 3> lines{CatLine(kLineLength), CatLine(kLineLength),
                               CatLine(kLineLength)};
  auto found = std::lower_bound(texts.begin(), texts.end(), number,
                                [](const CatText& t, int32_t n) { return t.number < n; });
  if (found == texts.end() || found->number != number) {
    lines[0].putTag(letter, number, 4, 1);
    writeCatalogue(std::span(lines).first(1), writer, journal);
    return;
  }
  size_t count = 0;
  for (std::string_view text : {found->line1, found->line2, found->line3}) {
    if (text.empty()) break;
    composeLine(text, name, lines[count++]);
  }
  writeCatalogue(std::span(lines).first(count), writer, journal);
}

}  // namespace kvr
