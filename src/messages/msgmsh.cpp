// The meshing and geometry messages 0000-0349, composed from the posted queue MSGARG.
// The thousands digit of the code gives the severity: 0 M (written only while commands
// are echoed, never journalled), 1 W (to the host's message hook), 2 E and 3 F (to the
// message unit), 4 and above no letter and no unit line.
#include <array>
#include <cmath>

#include "command/synsta.h"
#include "messages/catalog.h"
#include "messages/catline.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/msgarg.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kLine1Length = 160;
constexpr int32_t kLastTens = 34;  // numbers 0000-0349
constexpr int32_t kWithoutMessage[] = {260, 268, 269, 339};

constexpr char kLetters[] = {'M', 'W', 'E', 'F'};

// The value slots K.. of the queue, as words.
std::span<const int32_t> slots(int32_t k, int32_t count) {
  return std::span<const int32_t>(MSGARG.words).subspan(static_cast<size_t>(7 + k - 1),
                                                        static_cast<size_t>(count));
}

// {Nk}: the eight characters of the name in slots K and K+1, trailing blanks included,
// one blank after the line so far.
void putName(CatLine& line, int32_t k) {
  int32_t last = 0;
  REALCD(slots(k, 2), 1, 8, line.length() + 2, line.codes(), last);
  line.setLength(last);
}

// {Ik}: the count held as a real in slot K, rounded with a margin of 0.1 toward the
// whole number below, one blank after the line so far.
void putCount(CatLine& line, int32_t k) {
  float x = WRDREA(MSGARG.value(k));
  int32_t whole = intOf(std::fabs(static_cast<double>(x)) + 0.1);
  if (x < 0.0f) whole = -whole;
  int32_t last = 0;
  INTCOD(whole, line.length() + 2, line.codes(), last);
  line.setLength(last);
}

void compose(int32_t code) {
  int32_t severity = code / 1000;
  if (severity == 0 && SYNSTA.echo == 0) return;
  int32_t number = code % 1000;
  if (number / 10 > kLastTens) return;
  for (int32_t none : kWithoutMessage) {
    if (number == none) return;
  }

  std::array<CatLine, 1> lines{CatLine(kLine1Length)};
  CatLine& line = lines[0];
  if (severity < 4) line.put(std::string_view(&kLetters[severity], 1), 1);
  line.putTag(0, number, 4, 2);
  if (number == 25) {
    line.put("Too many nodes on", line.length() + 1);
    putName(line, 1);
    line.put(". Max is", line.length() + 2);
    putCount(line, 3);
  }

  UnitWriter writer = severity == 0   ? UnitWriter::WRTLIN
                      : severity == 1 ? UnitWriter::HCMSG
                      : severity <= 3 ? UnitWriter::WRTLN1
                                      : UnitWriter::None;
  writeCatalogue(lines, writer, severity != 0);
}

}  // namespace

void MSGMSH() {
  int32_t code = MSGARG.number();
  if (code >= 0) compose(code);
  // The queue is emptied also when nothing was written.
  MSGARG.count() = 0;
}

}  // namespace kvr
