// Block W1100-W2590: names, model and history files, reinforcement, imported geometry,
// database types and archives.
#include <string_view>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

constexpr CatText kTexts[] = {
    {2100, "Database is wrong type for required action"},
    {2190, "UNDO facility is now switched off"},
};

}  // namespace

void MSGW1(int32_t n) {
  int32_t number = blockNumber(n, 1000, 15);
  if (number == 0) return;
  writeBlockMessage('W', number, kTexts, UnitWriter::HCMSG, true);
}

}  // namespace kvr
