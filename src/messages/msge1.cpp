// Block E1100-E2490: database, memory and general errors.
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

constexpr CatText kTexts[] = {
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

}  // namespace

void MSGE1(int32_t n) {
  int32_t number = blockNumber(n, 1000, 14);
  if (number == 0) return;
  writeBlockMessage('E', number, kTexts, UnitWriter::WRTLN1, true);
}

}  // namespace kvr
