// Block W1100-W2590: names, model and history files, reinforcement, imported geometry,
// database types and archives.
#include <array>
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

struct Text {
  int32_t number;
  std::string_view text;
};

constexpr Text kTexts[] = {
    {2100, "Database is wrong type for required action"},
    {2190, "UNDO facility is now switched off"},
};

constexpr int32_t kLineLength = 80;

}  // namespace

void MSGW1(int32_t n) {
  int32_t block = n / 100;
  int32_t message = (n % 100) / 10;
  if (block < 1 || block > 15 || message < 0) return;
  int32_t number = 1000 + 100 * block + 10 * message;

  std::array<CatLine, 1> lines{CatLine(kLineLength)};
  lines[0].putTag('W', number, 4, 1);
  for (const Text& t : kTexts) {
    if (t.number == number) lines[0].put(t.text, lines[0].length() + 2);
  }
  writeCatalogue(lines, UnitWriter::HCMSG, true);
}

}  // namespace kvr
