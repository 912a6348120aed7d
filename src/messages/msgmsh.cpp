// The meshing and geometry messages 0000-0349, composed from the posted queue MSGARG.
// The thousands digit of the code gives the severity: 0 M (written only while commands
// are echoed, never journalled), 1 W (to the host's message hook), 2 E and 3 F (to the
// message unit), 4 and above no letter and no unit line.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>

#include "command/synsta.h"
#include "messages/catalog.h"
#include "messages/catline.h"
#include "messages/meshtext.h"
#include "platform/fmtedit.h"
#include "runtime/ftext.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// Every line holds 255 positions, so that a continuation line longer than 80 reaches
// the message unit whole.
constexpr int32_t kLineLength = 255;
constexpr int32_t kLastTens = 34;  // numbers 0000-0349
constexpr int32_t kWithoutMessage[] = {260, 268, 269, 339};
constexpr char kLetters[] = {'M', 'W', 'E', 'F'};

constexpr MeshText kTexts[] = {
    {13, R"("0013:Next number for new node must be" {I1})"},
    {25, R"("0025:Too many nodes on" {N1} ". Max is" {I3})"},
};

// Reads a description line piece by piece and composes it into a catalogue line.
class LineReader {
 public:
  LineReader(std::string_view text, const MeshSlots& slots) : text_(text), slots_(slots) {}

  void composeInto(CatLine& line, int32_t column) {
    skipBlanks();
    if (text_.starts_with("(col ")) {
      text_.remove_prefix(5);
      column = number();
      take(')');
    }
    int32_t last = column - 1;  // the first piece starts at COLUMN
    bool adjacent = true;
    for (skipBlanks(); !text_.empty(); skipBlanks()) {
      if (take('&')) {
        adjacent = true;
        continue;
      }
      int32_t at = last + (adjacent ? 1 : 2);
      if (take('"')) {
        size_t end = text_.find('"');
        last = line.put(text_.substr(0, end), at);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
      } else if (take('{')) {
        last = insert(line, at);
      } else {
        break;  // not of the notation: the rest of the line is left out
      }
      adjacent = false;
    }
  }

 private:
  int32_t insert(CatLine& line, int32_t at) {
    char kind = text_.empty() ? '}' : text_.front();
    text_.remove_prefix(text_.empty() ? 0 : 1);
    int32_t k = number();
    int32_t digits = take(',') ? number() : 0;
    take('}');
    const std::array<int32_t, 2> name{slots_.word(k), slots_.word(k + 1)};
    switch (kind) {
      case 'N':
        return line.putWords(name, 1, 8, at);
      case 'S': {
        std::array<char, 8> chars;
        FText text(chars.data(), static_cast<int32_t>(chars.size()));
        A4TXT(name, 8, text);
        int32_t last = at - 1;
        TXTCOD(FText(chars.data(), text.trimmedLength()), at, line.codes(), last);
        line.setLength(std::max(line.length(), last));
        return last;
      }
      case 'C':
        return line.putWords(name, 1, 4, at);
      case 'c':
        return line.putWords(name, 1, 1, at);
      case 'I':
        return line.putInt(slots_.count(k), at);
      case 'T':
        return line.putInt(intOf(slots_.real(k)), at);
      case 'R':
        return line.putReal(slots_.real(k), digits, at);
      default:
        return at - 1;
    }
  }

  void skipBlanks() {
    while (!text_.empty() && text_.front() == ' ') text_.remove_prefix(1);
  }
  bool take(char c) {
    if (text_.empty() || text_.front() != c) return false;
    text_.remove_prefix(1);
    return true;
  }
  int32_t number() {
    int32_t n = 0;
    auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), n);
    if (error == std::errc()) text_.remove_prefix(static_cast<size_t>(end - text_.data()));
    return n;
  }

  std::string_view text_;
  const MeshSlots& slots_;
};

// The description of NUMBER in TEXTS as the slots choose its variant, or null.
const MeshText* describe(int32_t number, std::span<const MeshText> texts, const MeshSlots& slots) {
  auto first = std::lower_bound(texts.begin(), texts.end(), number,
                                [](const MeshText& t, int32_t n) { return t.number < n; });
  if (first == texts.end() || first->number != number) return nullptr;
  auto end = std::upper_bound(first, texts.end(), number,
                              [](int32_t n, const MeshText& t) { return n < t.number; });
  int32_t v = first->select != nullptr ? first->select(slots) : 0;
  return v >= 0 && v < end - first ? &first[v] : &first[0];
}

}  // namespace

float MeshSlots::real(int32_t k) const { return WRDREA(word(k)); }

int32_t MeshSlots::count(int32_t k) const {
  float x = real(k);
  int32_t whole = intOf(std::fabs(static_cast<double>(x)) + 0.1);
  return x < 0.0f ? -whole : whole;
}

void writeMeshMessage(int32_t code, std::span<const MeshText> texts, const MeshSlots& slots) {
  if (code < 0) return;
  const int32_t severity = code / 1000;
  if (severity == 0 && SYNSTA.echo == 0) return;
  const int32_t number = code % 1000;
  if (number / 10 > kLastTens) return;
  if (std::ranges::find(kWithoutMessage, number) != std::end(kWithoutMessage)) return;

  std::array<CatLine, 3> lines{CatLine(kLineLength), CatLine(kLineLength), CatLine(kLineLength)};
  if (severity < 4) lines[0].put(std::string_view(&kLetters[severity], 1), 1);
  size_t count = 1;
  if (const MeshText* text = describe(number, texts, slots)) {
    LineReader(text->line1, slots).composeInto(lines[0], 2);
    for (std::string_view more : {text->line2, text->line3}) {
      if (more.empty()) break;
      LineReader(more, slots).composeInto(lines[count++], 1);
    }
  } else {
    lines[0].putTag(0, number, 4, 2);
  }

  UnitWriter writer = severity == 0   ? UnitWriter::WRTLIN
                      : severity == 1 ? UnitWriter::HCMSG
                      : severity <= 3 ? UnitWriter::WRTLN1
                                      : UnitWriter::None;
  writeCatalogue(std::span(lines).first(count), writer, severity != 0);
}

void MSGMSH() {
  MeshSlots slots{};
  for (int32_t k = 1; k <= MsgArg::kMaxValues; ++k) slots.words[static_cast<size_t>(k - 1)] = MSGARG.value(k);
  slots.words.back() = kBlankCode;
  writeMeshMessage(MSGARG.number(), kTexts, slots);
  // The queue is emptied also when nothing was written.
  MSGARG.count() = 0;
}

}  // namespace kvr
