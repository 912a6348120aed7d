// Block E1100-E2490: database, memory and general errors.
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
    {1100, "Database is not useable by this version"},
    {1110, "Incorrect page size"},
    {1120, "Database is not useable by this version"},
    {1130, "Database has wrong status code"},
    {1140, "Database buffer is too small"},
    {1150, "Cannot load database"},
    {1160, "Database is empty"},
    {2000, "Unable to open file"},
    {2100, "Error with dynamic memory allocation"},
    {2110, "Array not registered for memory allocation"},
    // 10
    {2130, "Insufficient memory currently available"},
    {2150, "Memory not allocated for I/O operation"},
    {2160, "Error on I/O to dynamic memory"},
    {2170, "Cannot register array"},
    {2180, "Page number out of range"},
    {2190, "Array count error"},
    {2200, "Database save aborted"},
    {2210, "Cannot register array for UNDO"},
};

constexpr int32_t kLineLength = 80;

}  // namespace

void MSGE1(int32_t n) {
  int32_t block = n / 100;
  int32_t message = (n % 100) / 10;
  if (block < 1 || block > 14 || message < 0) return;
  int32_t number = 1000 + 100 * block + 10 * message;

  std::array<CatLine, 1> lines{CatLine(kLineLength)};
  lines[0].putTag('E', number, 4, 1);
  for (const Text& t : kTexts) {
    if (t.number == number) lines[0].put(t.text, lines[0].length() + 2);
  }
  writeCatalogue(lines, UnitWriter::WRTLN1, true);
}

}  // namespace kvr
