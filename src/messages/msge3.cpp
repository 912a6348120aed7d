// Block E3100-E5890: file, model, command, results, calculation and display errors.
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
    {3370, "Failed to open batch file"},
    {4300, "Cannot re-configure database"},
    {4340, "Cannot re-open database after setting write lock"},
    {4350, "Cannot configure new database"},
    {4360, "Cannot open new database index file"},
    {4370, "Cannot open new database file"},
    {4430, "Cannot write to archive file"},
};

constexpr int32_t kLineLength = 80;

// The command errors E3200-E3220 are not journalled.
bool journalled(int32_t number) { return number < 3200 || number > 3220; }

}  // namespace

void MSGE3(int32_t n) {
  int32_t block = n / 100;
  int32_t message = (n % 100) / 10;
  if (block < 1 || block > 28 || message < 0) return;
  int32_t number = 3000 + 100 * block + 10 * message;

  std::array<CatLine, 1> lines{CatLine(kLineLength)};
  lines[0].putTag('E', number, 4, 1);
  for (const Text& t : kTexts) {
    if (t.number == number) lines[0].put(t.text, lines[0].length() + 2);
  }
  writeCatalogue(lines, UnitWriter::WRTLN1, journalled(number));
}

}  // namespace kvr
