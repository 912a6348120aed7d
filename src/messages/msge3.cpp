// Block E3100-E5890: file, model, command, results, calculation and display errors.
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

constexpr CatText kTexts[] = {
    {3370, "Failed to open batch file"},
    {4300, "Cannot re-configure database"},
    {4340, "Cannot re-open database after setting write lock"},
    {4350, "Cannot configure new database"},
    {4360, "Cannot open new database index file"},
    {4370, "Cannot open new database file"},
    {4430, "Cannot write to archive file"},
};

// The command errors E3200-E3220 are not journalled.
bool journalled(int32_t number) { return number < 3200 || number > 3220; }

}  // namespace

void MSGE3(int32_t n) {
  int32_t number = blockNumber(n, 3000, 28);
  if (number == 0) return;
  writeBlockMessage('E', number, kTexts, UnitWriter::WRTLN1, journalled(number));
}

}  // namespace kvr
