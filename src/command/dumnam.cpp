#include "command/dumnam.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "command/ansrec.h"
#include "command/mnuctl.h"
#include "runtime/codtxt.h"
#include "runtime/gridmd.h"

namespace kvr {
namespace {

constexpr int32_t kTokenChars = 20;  // the token is looked at as a text of 20 characters
constexpr int32_t kListValueCode = 1;
constexpr int32_t kTextValueCode = 0;
constexpr int32_t kPlainOperator = 1;

// What a placeholder answer is.
enum class Answer : int32_t {
  Refused,      // no placeholder: the token is refused
  Existing,     // the token must equal the keyword: object number 1
  FirstObject,  // object number 1 without a comparison (node or element 1)
  Name,         // the placeholder name
  ByAnswer3,    // refused when answer 3 chose a definition table, else 'POINT-OLD'
};

struct Placeholder {
  Answer answer;
  std::string_view text;  // the keyword or the name
  std::string_view grid;  // the keyword of the grid vocabulary, where it differs
};

constexpr Placeholder kRefused{Answer::Refused, {}, {}};
constexpr Placeholder kPointOld{Answer::Existing, "'POINT-OLD'", {}};
constexpr Placeholder kDummyPoint{Answer::Name, "DUMMYPNT", {}};

constexpr Placeholder existing(std::string_view keyword) { return {Answer::Existing, keyword, {}}; }
constexpr Placeholder existing(std::string_view grid, std::string_view keyword) {
  return {Answer::Existing, keyword, grid};
}
constexpr Placeholder name(std::string_view text) { return {Answer::Name, text, {}}; }

// Special kinds 1 to 100.
constexpr std::array<Placeholder, 100> kSpecialKinds{{
    kPointOld,
    existing("'LINE-OLD'"),
    existing("'SURF-OLD'"),
    existing("'BODY-OLD'"),
    existing("'SET-OLD'"),
    existing("'SHAPE-OLD'"),
    existing("'TRNSF-OLD'"),
    kRefused,
    kRefused,
    existing("'CSYST-OLD'"),  // 10
    existing("'BOUND-OLD'", "'LOAD-OLD'"),
    existing("'CNSTR-OLD'"),
    existing("'PARAM-OLD'"),
    existing("'VERTEX-OLD'", "'NODE-OLD'"),
    existing("'CELL-OLD'", "'ELEM-OLD'"),
    existing("'MERGE-OLD'"),
    kRefused,
    kRefused,
    kRefused,
    existing("'RE-SET-OLD'"),  // 20
    kDummyPoint,
    name("DUMMYLIN"),
    name("DUMMYSRF"),
    name("DUMMYBOD"),
    name("DUMMYSET"),
    name("DUMMYSHP"),
    name("DUMMYTRN"),
    name("DUMMYMAT"),
    name("DUMMYPHY"),
    name("DUMMYCYS"),  // 30
    name("DUMMYLOD"),
    name("DUMMYCNS"),
    name("DUMMYPAR"),
    {Answer::FirstObject, {}, {}},
    {Answer::FirstObject, {}, {}},
    name("DUMMYMER"),
    name("DUMMYMAT"),
    name("DUMMYPHY"),
    name("DUMMYLOD"),
    kDummyPoint,  // 40
    kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint,
    kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint,  // 50
    kRefused,
    name("DUMMYNAM"),
    kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint, kDummyPoint,
    kDummyPoint, kDummyPoint,
    kRefused,  // 60
    kRefused,
    existing("'BCMDEF-OLD'", "'LMDEF-OLD'"),
    existing("'BOUND-OLD'", "'LOAD-OLD'"),
    kRefused,
    existing("'RE-OLD'"),
    existing("'PMOD-OLD'"),
    {Answer::ByAnswer3, "'POINT-OLD'", {}},
    {Answer::ByAnswer3, "'POINT-OLD'", {}},
    {Answer::ByAnswer3, "'POINT-OLD'", {}},
    name("DUMMYTCD"),  // 70
    name("DUMMYSCD"),
    name("DUMMYLMD"),
    name("DUMMYLOD"),
    name("DUMMYLOD"),
    name("DUMMYREI"),
    name("DUMMYMOD"),
    name("DUMMYRES"),
    kPointOld,
    kDummyPoint,
    kPointOld,  // 80
    kPointOld, kPointOld, kPointOld, kPointOld, kPointOld,
    kPointOld, kPointOld, kPointOld, kPointOld, kPointOld,  // 90
    kPointOld, kPointOld, kPointOld, kPointOld, kPointOld,
    kPointOld, kPointOld, kPointOld, kPointOld, kPointOld,  // 100
}};

// Object types with a placeholder answer; every other type is refused.
struct ObjectPlaceholder {
  int32_t type;
  Placeholder placeholder;
};

constexpr std::array<ObjectPlaceholder, 15> kObjectTypes{{
    {12, existing("'SET-OLD'")},
    {22, name("DUMMYSET")},
    {23, name("DUMMYSHP")},
    {24, existing("'SHAPE-OLD'")},
    {26, name("DUMMYLIN")},
    {27, existing("'LINE-OLD'")},
    {28, name("DUMMYSYS")},
    {29, existing("'CSYS-OLD'")},
    {30, name("DUMMYSYM")},
    {31, existing("'SYM-SET-OLD'")},  // 10
    {32, existing("'NAME-OLD'")},
    {34, name("DUMMYMON")},
    {35, existing("'MONTAGE-OLD'")},
    {36, existing("'NODE-OLD'")},
    {37, existing("'ELEM-OLD'")},
}};

// Answer 3 of the command chooses a definition table: the material or property table
// keywords, or an answer of kind 8 or 9.
constexpr std::array<int32_t, 4> kTableAnswers = {432, 434, -8, -9};
constexpr int32_t kTableAnswer = 3;

bool answer3ChoosesTable() {
  if (MNUCTL.answerCount < kTableAnswer) return false;
  const int32_t a3 = ITEM(kTableAnswer);
  return std::find(kTableAnswers.begin(), kTableAnswers.end(), a3) != kTableAnswers.end();
}

// Whether the token, as a text of 20 characters, begins with KEYWORD.
bool tokenShows(std::span<const int32_t> line, int32_t first, int32_t last,
                std::string_view keyword) {
  std::array<int32_t, kTokenChars> text;
  text.fill(kBlankCode);
  const int32_t n = std::min(last - first + 1, kTokenChars);
  for (int32_t k = 0; k < n; ++k) {
    const int32_t p = first + k;
    if (p >= 1 && p <= static_cast<int32_t>(line.size())) {
      text[static_cast<std::size_t>(k)] = line[static_cast<std::size_t>(p - 1)];
    }
  }
  if (static_cast<int32_t>(keyword.size()) > kTokenChars) return false;
  for (std::size_t k = 0; k < keyword.size(); ++k) {
    if (text[k] != codeOf(keyword[k])) return false;
  }
  return true;
}

void answer(const Placeholder& p, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  check.status = kCheckNoMatch;
  check.oper = kPlainOperator;
  check.real = 0.0f;
  Answer a = p.answer;
  if (a == Answer::ByAnswer3) a = answer3ChoosesTable() ? Answer::Refused : Answer::Existing;
  switch (a) {
    case Answer::Refused:
    case Answer::ByAnswer3:
      return;
    case Answer::Existing: {
      const std::string_view keyword = GRIDMD() == 1 && !p.grid.empty() ? p.grid : p.text;
      if (!tokenShows(line, first, last, keyword)) return;
      [[fallthrough]];
    }
    case Answer::FirstObject:
      check.status = kCheckExact;
      check.valueCode = kListValueCode;
      check.listValue = 1;
      return;
    case Answer::Name: {
      // The name is cut to the room left in the answer text store.
      const auto n = std::min(p.text.size(), check.text.size());
      for (std::size_t k = 0; k < n; ++k) check.text[k] = codeOf(p.text[k]);
      check.status = kCheckExact;
      check.valueCode = kTextValueCode;
      check.listValue = static_cast<int32_t>(n);
      return;
    }
  }
}

}  // namespace

void DUMNAM(int32_t kind, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  if (kind < 1 || kind > static_cast<int32_t>(kSpecialKinds.size())) {
    answer(kRefused, line, first, last, check);
    return;
  }
  answer(kSpecialKinds[static_cast<std::size_t>(kind - 1)], line, first, last, check);
}

void DUMOLD(int32_t type, std::span<const int32_t> line, int32_t first, int32_t last,
            ArgumentCheck& check) {
  for (const ObjectPlaceholder& row : kObjectTypes) {
    if (row.type == type) {
      answer(row.placeholder, line, first, last, check);
      return;
    }
  }
  answer(kRefused, line, first, last, check);
}

}  // namespace kvr
