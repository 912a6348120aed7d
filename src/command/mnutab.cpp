#include "command/mnutab.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

#include "command/mnuctl.h"
#include "command/mnudata.h"
#include "runtime/chrset.h"

namespace kvr {
namespace {

constexpr int32_t kCharsPerWord = 1;
// The characters the keywords are spelled with: values 40 to 90, "(" to "Z", which CHRTAB
// holds in that order.
constexpr int32_t kFirstValue = 40;
constexpr int32_t kLastValue = 90;
constexpr int32_t kChrtabOffset = kFirstValue - 1;
// An entry whose first word is at most this is a token class and holds no characters.
constexpr int32_t kClassWordLimit = 10;

// Lays the description out in MNUTAB with keyword 220 spelled VOCABULARY, and sets the six
// table words of MNUCTL.
void buildTable(std::string_view vocabulary) {
  // Keyword area: each entry's word index, by keyword number, for the menu items.
  std::array<int32_t, mnu::kMaxKeywordNumber + 1> keywordIndex{};
  int32_t w = 1;
  for (const mnu::KeywordEntry& k : mnu::kKeywords) {
    const std::string_view spelling =
        k.number == mnu::kVocabularyKeyword ? vocabulary : k.spelling;
    const auto count = static_cast<int32_t>(std::max<std::size_t>(spelling.size(), 1));
    keywordIndex[static_cast<std::size_t>(k.number)] = w;
    MNUTAB.word(w) = k.number * kKeywordHeaderBase + count;
    if (spelling.empty()) {
      MNUTAB.word(w + 1) = k.number;  // a token class: its code
    } else {
      for (int32_t j = 1; j <= count; ++j) {
        MNUTAB.word(w + j) = static_cast<unsigned char>(spelling[static_cast<std::size_t>(j - 1)]);
      }
    }
    w += 1 + count;
  }
  const int32_t menuStart = w;

  // Menu area: every row (a record's head or one of its items) takes two words, so the
  // records' indices follow from the rows before them.
  std::array<std::pair<int32_t, int32_t>, mnu::kMenuCount> records{};  // id, word index
  std::size_t n = 0;
  for (const mnu::MenuRow& row : mnu::kMenus) {
    if (row.row == mnu::Row::Menu) records[n++] = {row.value, w};
    w += 2;
  }
  const int32_t menuEnd = w;
  auto recordOf = [&records](int32_t id) {
    for (const auto& [recordId, index] : records) {
      if (recordId == id) return index;
    }
    return 0;  // the description names only its own menus (checked where it is defined)
  };

  int32_t head = 0;
  w = menuStart;
  for (const mnu::MenuRow& row : mnu::kMenus) {
    if (row.row == mnu::Row::Menu) {
      head = w;
      MNUTAB.word(head) = row.value;
      MNUTAB.word(head + 1) = 0;
    } else {
      ++MNUTAB.word(head + 1);
      int32_t item = 0;
      if (row.row == mnu::Row::Keyword) item = keywordIndex[static_cast<std::size_t>(row.value)];
      if (row.row == mnu::Row::Typed) item = -row.value;
      int32_t link = 0;
      if (row.next > 0) link = recordOf(row.next);
      if (row.next < 0) link = -recordOf(-row.next);
      MNUTAB.word(w) = item;
      MNUTAB.word(w + 1) = link;
    }
    w += 2;
  }

  MNUCTL.capacity = MnuTab::kWords;
  MNUCTL.charsPerWord = kCharsPerWord;
  MNUCTL.menuStart = menuStart;
  MNUCTL.menuCount = mnu::kMenuCount;
  MNUCTL.menuEnd = menuEnd;
  MNUCTL.trailingCount = 0;
}

// The character count of a keyword entry's header; never negative, so that a walk over
// the entries always moves on.
int32_t countOf(int32_t header) { return std::max(header % kKeywordHeaderBase, 0); }

// Converts the COUNT characters of the entry at word I, unless it is a token class.
// Answers false at a value outside 40..90.
bool convertEntry(int32_t i, int32_t count) {
  if (i + 1 > MnuTab::kWords || MNUTAB.word(i + 1) <= kClassWordLimit) return true;
  const int32_t last = std::min(i + count, MnuTab::kWords);
  for (int32_t k = i + 1; k <= last; ++k) {
    const int32_t value = MNUTAB.word(k);
    if (value < kFirstValue || value > kLastValue) return false;
    MNUTAB.word(k) = CHRTAB.word(value - kChrtabOffset);
  }
  return true;
}

}  // namespace

void MNUTBA() { buildTable(mnu::kOrdinarySpelling); }

void MNUTBB() { buildTable(mnu::kGridSpelling); }

void MNUCNV(int32_t& status) {
  status = 1;
  const int32_t stop = std::clamp(MNUCTL.menuStart, 1, MnuTab::kWords + 1);
  for (int32_t i = 1; i < stop;) {
    const int32_t count = countOf(MNUTAB.word(i));
    if (!convertEntry(i, count)) return;
    i += 1 + count;
  }
  // The trailing list: entry headers h, each entry h div 64 + h mod 64 words long.
  int32_t i = MNUCTL.menuEnd;
  for (int32_t n = 1; n <= MNUCTL.trailingCount; ++n) {
    if (i < 1 || i > MnuTab::kWords) break;
    const int32_t header = MNUTAB.word(i);
    if (!convertEntry(i, countOf(header))) return;
    const int32_t step = header / kKeywordHeaderBase + countOf(header);
    // A step below one word would walk on the spot for ever.
    if (step < 1) break;
    i += step;
  }
  status = 0;
}

}  // namespace kvr
