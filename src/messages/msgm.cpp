// Block M001-M830: information lines and error reports of the model database, of
// database and memory handling, and of the command processor. Each message names its
// own line writer: WRTLN1 for errors, WRTLIN for information lines, HCMSG for the host.
#include <string_view>
#include <vector>

#include "messages/catalog.h"
#include "messages/catline.h"

namespace kvr {
namespace {

// The writer of each message of a group range, one letter per number from the range's
// first: "1" WRTLN1, "L" WRTLIN, "H" HCMSG.
struct Range {
  int32_t first;
  std::string_view writers;
};

constexpr Range kRanges[] = {
    {1,
     "1111111111"    // M001
     "1111111LLL"    // M011
     "11111LLLLL"    // M021
     "111LL11111"    // M031
     "111LHHLHLL"    // M041
     "HL11111111"},  // M051
    {401,
     "1111HHHHHH"    // M401
     "1LL11L11HH"    // M411
     "1LLLLLL1LL"    // M421
     "11111111L1"},  // M431
    {801,
     "111L111111"    // M801
     "1111111111"    // M811
     "1L11111111"},  // M821
};

struct Text {
  int32_t number;
  std::string_view line1;
  std::string_view line2;  // empty when the message has one line
};

constexpr Text kTexts[] = {
    {12, "Database index error", "Database index probably corrupt"},
    {32, "Database index and data files are incompatible", ""},
    {38, "", "Record is too large for database"},
};

constexpr int32_t kLineLength = 255;

// M801 and M803 go to the message unit only.
bool journalled(int32_t number) { return number != 801 && number != 803; }

UnitWriter writerOf(char c) {
  switch (c) {
    case 'L':
      return UnitWriter::WRTLIN;
    case 'H':
      return UnitWriter::HCMSG;
    default:
      return UnitWriter::WRTLN1;
  }
}

}  // namespace

void MSGM(int32_t n, std::span<const int32_t>, std::span<const float>, std::span<const int32_t>,
          std::span<const int32_t>) {
  UnitWriter writer = UnitWriter::None;
  for (const Range& range : kRanges) {
    int32_t k = n - range.first;
    if (k >= 0 && k < static_cast<int32_t>(range.writers.size())) {
      writer = writerOf(range.writers[static_cast<size_t>(k)]);
    }
  }
  if (writer == UnitWriter::None) return;

  std::vector<CatLine> lines{CatLine(kLineLength)};
  lines[0].putTag('M', n, 3, 1);
  for (const Text& t : kTexts) {
    if (t.number != n) continue;
    if (!t.line1.empty()) lines[0].put(t.line1, lines[0].length() + 2);
    if (!t.line2.empty()) {
      lines.emplace_back(kLineLength);
      lines[1].put(t.line2, 1);
    }
  }
  writeCatalogue(lines, writer, journalled(n));
}

}  // namespace kvr
