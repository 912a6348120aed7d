// The material and physical-property queries: UMAT3, UPHYS4, and the text lines of
// their text items, UMATE and UPHYSE.
//
// A material is the attribute entry of type 4, a physical property the entry of type 3,
// each with a name and c REAL values: values 1 to 10 a header, values 11..c the data the
// host receives. Header value 1 names a second entry, of type -3 for a material and -2
// for a property, whose name and INTEGER values come back alongside. A property's header
// value 3 (above 0: data value 1 is a point number) and value 4 (bit 1 and bit 2: two
// further point numbers) mark the data values that are replaced by their points'
// coordinates.
#include "modelquery/matqry.h"

#include <algorithm>
#include <array>
#include <bit>
#include <type_traits>

#include "modeldb/attlst.h"
#include "modeldb/entrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/modcnt.h"
#include "runtime/nxttkn.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kDescriptorsOpen = 3;
constexpr int32_t kTooSmall = 9;
constexpr int32_t kNoItem = 1;
constexpr int32_t kSessionArrays = 2;  // ITMNAM, ITMNA2: the first word of the session array
constexpr int32_t kMaterialType = 4;
constexpr int32_t kPropertyType = 3;
constexpr int32_t kMaterialEntryType = -3;
constexpr int32_t kPropertyEntryType = -2;
constexpr int32_t kHeaderValues = 10;
constexpr int32_t kPointKind = 1;
constexpr int32_t kArrPointCoordinates = 2;
constexpr int32_t kLineCodes = 80;
constexpr int32_t kWordMode = 7;  // NXTTKN: a token runs to the next blank

// The entry (TYPE, ID) with ID at least 1 (an ID of 0 would search by label): its name
// words and value count, 0 when there is none.
int32_t findEntry(int32_t type, int32_t id, std::array<int32_t, 2>& name) {
  if (id < 1) return 0;
  int32_t key = id;
  int32_t count = 0;
  ATTFND(kRead, name, type, key, count);
  return count;
}

// Values 1..N of entry (TYPE, ID) holding C values, those beyond C left as they are.
template <typename Value>
void readHead(int32_t type, int32_t id, int32_t c, std::span<Value> head) {
  int32_t n = std::min(c, static_cast<int32_t>(head.size()));
  if (n <= 0) return;
  if constexpr (std::is_same_v<Value, float>) {
    ATTVLR(kRead, type, id, 1, n, head.first(static_cast<size_t>(n)));
  } else {
    ATTVLI(kRead, type, id, 1, n, head.first(static_cast<size_t>(n)));
  }
}

// Data values 11..C of entry (TYPE, ID) into VALUES (which holds C - 10 of them).
void readData(int32_t type, int32_t id, int32_t c, std::span<float> values) {
  int32_t n = c - kHeaderValues;
  if (n <= 0) return;
  ATTVLR(kRead, type, id, kHeaderValues + 1, n, values.first(static_cast<size_t>(n)));
}

// The room of the caller's array: SIZE, held to what VALUES holds.
int32_t roomOf(int32_t size, std::span<float> values) {
  return static_cast<int32_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(values.size())));
}

// Replaces the point number in VALUES(AT) by the point's x, y, z in VALUES(AT..AT+2), when
// those three lie within the first LIMIT values and the point exists; else the value
// stays as read.
void replacePoint(std::span<float> values, int32_t limit, int32_t at) {
  if (at < 1 || int64_t{at} + 2 > limit) return;
  const int32_t p = intOf(values[static_cast<size_t>(at - 1)]);
  if (ENTEXS(p, kPointKind) == 0 || !recordsHeld(kArrPointCoordinates, p, p)) return;
  std::array<float, 3> xyz{};
  ARRREC(kRead, kArrPointCoordinates, p, xyz);
  std::copy(xyz.begin(), xyz.end(), values.begin() + (at - 1));
}

// The one routine behind UMATE and UPHYSE.
void textLines(std::span<const float> values, const int32_t& max, int32_t& count,
               std::span<int32_t> lengths, FTextArray lines, int32_t& status) {
  status = 0;
  count = 0;
  // Without room for a line nothing is written at all.
  if (max <= 0) return;
  const int32_t room = std::min({max, static_cast<int32_t>(lengths.size()), lines.count()});
  for (int32_t k = 1; k <= room; ++k) {
    lines.at(k).fill(' ');
    lengths[static_cast<size_t>(k - 1)] = 0;
  }
  if (values.empty()) return;
  const int32_t m = intOf(values[0]);
  if (m == 0) {
    status = kNoItem;
    return;
  }
  size_t at = 1;  // index of the current item's word count
  std::array<int32_t, kTextItemWords> words{};
  std::array<int32_t, kLineCodes> codes{};
  for (int32_t item = 1; item <= m && at < values.size(); ++item) {
    const int32_t w = std::clamp(intOf(values[at]), 0, kTextItemWords);
    const size_t have = std::min<size_t>(static_cast<size_t>(w), values.size() - at - 1);
    for (size_t k = 0; k < have; ++k) words[k] = std::bit_cast<int32_t>(values[at + 1 + k]);
    codes.fill(kBlankCode);
    int32_t last = 0;
    if (have > 0) {
      REALCD(std::span<const int32_t>(words).first(have), 1, 4 * static_cast<int32_t>(have), 1,
             codes, last);
    }
    int32_t start = 1;
    while (true) {
      int32_t kind = 0, first = 0, end = 0, ivalue = 0;
      float rvalue = 0.0f;
      NXTTKN(codes, start, kLineCodes, kWordMode, kind, first, end, ivalue, rvalue);
      if (kind <= 0) break;
      // The caller's arrays end here.
      if (count >= room) return;
      ++count;
      lengths[static_cast<size_t>(count - 1)] = end - first + 1;
      CODTXT(std::span<const int32_t>(codes).subspan(static_cast<size_t>(first - 1)),
             end - first + 1, lines.at(count));
      if (count == max) return;
      start = end + 2;
    }
    at += 1 + static_cast<size_t>(w);
  }
}

// The checks both descriptor queries make before writing anything: no descriptor arrays
// open (OPEN from ITMNAM or ITMNA2), NUMBER within 1..HIGHEST, an entry (TYPE, NUMBER)
// present, and SIZE room for its data values. COUNT answers the data values (-10 when
// there is no entry), LABEL the entry's name words; the entry's value count, 0 with
// STATUS set when a check failed.
int32_t checkedEntry(int32_t open, int32_t type, int32_t highest, int32_t number, int32_t size,
                     std::array<int32_t, 2>& label, int32_t& count, int32_t& status) {
  if (open > 0) {
    status = kDescriptorsOpen;
    return 0;
  }
  if (number < 1 || number > highest) {
    status = kOutOfRange;
    return 0;
  }
  const int32_t c = findEntry(type, number, label);
  count = c - kHeaderValues;
  if (c == 0) {
    status = kMissing;
    return 0;
  }
  if (size < count) {
    status = kTooSmall;
    return 0;
  }
  return c;
}

}  // namespace

std::size_t textItemsExtent(const float* values) {
  const int32_t m = intOf(values[0]);
  std::size_t n = 1;
  for (int32_t item = 1; item <= m; ++item) {
    n += 1 + static_cast<std::size_t>(std::clamp(intOf(values[n]), 0, kTextItemWords));
  }
  return n;
}

void UMAT3(const int32_t& number, FText name, FText name2, int32_t& word, int32_t& count,
           std::span<float> values, const int32_t& size, int32_t& status) {
  status = 0;
  int32_t open = 0;
  ITMNAM(kSessionArrays, 0, open);
  std::array<int32_t, 2> label{};
  const int32_t c = checkedEntry(open, kMaterialType, MODCNT.word(kCntMaterials), number, size,
                                 label, count, status);
  if (status != 0) return;
  writeName(label, name);
  // Values 1 and 2 in scratch of this routine: the caller's array may hold none.
  std::array<float, 2> head{};
  readHead<float>(kMaterialType, number, c, head);
  std::array<int32_t, 2> label2{};
  if (const int32_t c2 = findEntry(kMaterialEntryType, intOf(head[0]), label2); c2 > 0) {
    writeName(label2, name2);
    std::array<int32_t, 2> words{};
    readHead<int32_t>(kMaterialEntryType, intOf(head[0]), c2, words);
    if (c2 >= 2) word = words[1];
  }
  readData(kMaterialType, number, c, values.first(static_cast<size_t>(roomOf(size, values))));
}

void UPHYS4(const int32_t& number, FText name, FText name2, int32_t& w4, int32_t& w2, int32_t& w3,
            int32_t& count, std::span<float> values, const int32_t& size, int32_t& status) {
  name.fill(' ');
  name2.fill(' ');
  status = 0;
  int32_t open = 0;
  ITMNA2(kSessionArrays, 0, open);
  std::array<int32_t, 2> label{};
  const int32_t c = checkedEntry(open, kPropertyType, MODCNT.word(kCntProperties), number, size,
                                 label, count, status);
  if (status != 0) return;
  writeName(label, name);
  std::array<float, 4> head{};
  readHead<float>(kPropertyType, number, c, head);
  const int32_t r = intOf(head[0]);
  const int32_t f = intOf(head[2]);
  const int32_t b = intOf(head[3]);
  std::array<int32_t, 2> label2{};
  if (const int32_t c2 = findEntry(kPropertyEntryType, r, label2); c2 > 0) {
    writeName(label2, name2);
    std::array<int32_t, 4> words{};
    readHead<int32_t>(kPropertyEntryType, r, c2, words);
    if (c2 >= 2) w2 = words[1];
    if (c2 >= 3) w3 = words[2];
    if (c2 >= 4) w4 = words[3];
  }
  const int32_t room = roomOf(size, values);
  readData(kPropertyType, number, c, values.first(static_cast<size_t>(room)));

  // Point references: only within the values read, never past the caller's array.
  const int32_t limit = std::min(count, room);
  int32_t k = 0;
  if (w2 >= 1) {
    if (f > 0) {
      replacePoint(values, limit, 1);
      w2 = 2;
    }
    k = 3;
  }
  if (w3 > 0 && b > 0) {
    if (b % 2 == 1) replacePoint(values, limit, k + 1);
    if (b >= 2) replacePoint(values, limit, k + 4);
    w3 = clampWord(int64_t{b} + 1);
  }
}

void UMATE(std::span<const float> values, const int32_t& /*spare*/, const int32_t& max,
           int32_t& count, std::span<int32_t> lengths, FTextArray lines, int32_t& status) {
  textLines(values, max, count, lengths, lines, status);
}

void UPHYSE(std::span<const float> values, const int32_t& /*spare*/, const int32_t& max,
            int32_t& count, std::span<int32_t> lengths, FTextArray lines, int32_t& status) {
  textLines(values, max, count, lengths, lines, status);
}

}  // namespace kvr
