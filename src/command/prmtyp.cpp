#include "command/prmtyp.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "command/mnuctl.h"
#include "command/mnutab.h"
#include "command/vallst.h"
#include "messages/catalog.h"
#include "runtime/codtxt.h"
#include "runtime/prmlst.h"

namespace kvr {
namespace {

// Display codes.
constexpr int32_t kShowBlank = 1;
constexpr int32_t kShowKeyword = 2;
constexpr int32_t kShowPick = 4;
constexpr int32_t kShowPlaceholder = 5;

constexpr int32_t kTerminatorKeyword = 26;
constexpr int32_t kFirstPickKeyword = 10;
constexpr int32_t kLastPickKeyword = 25;
constexpr int32_t kCursorKeyword = 244;
constexpr int32_t kLastTokenClass = 9;
constexpr int32_t kMenuCountBase = 64;  // a record's entry count is taken modulo 64
constexpr int32_t kM804 = 804;

struct Placeholder {
  std::string_view text;
  int32_t value;
};
// The words of the token classes 1 to 9, and of free text.
constexpr std::array<Placeholder, kLastTokenClass> kClassWords = {{
    {"'integer'", 11}, {"'real'", 8}, {"'ndc'", 7}, {"'ndc'", 7}, {"'text'", 8},
    {"'file'", 8}, {"'x-coord'", 11}, {"'y-coord'", 11}, {"'z-coord'", 11},
}};
constexpr Placeholder kFreeText = {"'string'", 10};

// An entry to add: its display code (before the optional sign), value and text.
struct Entry {
  int32_t code;
  int32_t value;
  std::string_view text;
};

// M804, then the list gathered so far.
void truncate(ValueList& list) {
  const std::array<int32_t, 1> limit{kPromptEntries};
  MSGM(kM804, limit, {}, {}, {});
  PRMDSP(list);
}

// The keyword entry at word INDEX as a prompt entry; KEYWORDTEXT receives its characters.
Entry keywordEntry(int32_t index, std::array<char, kPromptTextLength>& keywordText) {
  const int32_t header = mnuWord(index);
  const int32_t number = header / kKeywordHeaderBase;
  if (number >= 1 && number <= kLastTokenClass) {
    const Placeholder& p = kClassWords[static_cast<std::size_t>(number - 1)];
    return {kShowPlaceholder, p.value, p.text};
  }
  std::array<int32_t, kPromptTextLength> codes{};
  codes.fill(kBlankCode);
  const int32_t count = std::min(header % kKeywordHeaderBase * MNUCTL.charsPerWord,
                                 kPromptTextLength);
  std::span<const int32_t> source;
  if (index >= 1 && index < MnuTab::kWords) {
    source = std::span<const int32_t>(MNUTAB.words).subspan(static_cast<std::size_t>(index));
  }
  int32_t length = 0;
  CODAPP(source, count, codes, length);
  CODTXT(codes, length, FText(keywordText.data(), kPromptTextLength));
  const bool pick = (number >= kFirstPickKeyword && number <= kLastPickKeyword) ||
                    number == kCursorKeyword;
  return {pick ? kShowPick : kShowKeyword, length,
          std::string_view(keywordText.data(), static_cast<std::size_t>(length))};
}

}  // namespace

void PRMTYP(int32_t record, std::span<int32_t> context, int32_t& stop) {
  stop = 0;
  ValueList list(kPromptEntries, kPromptTextLength);
  if (record == kNoMenuRecord) {
    PRMDSP(list);
    return;
  }
  const int32_t items = mnuWord(record + 1) % kMenuCountBase;
  for (int32_t k = 1; k <= items; ++k) {
    const int32_t item = mnuWord(record + 2 * k);
    const int32_t sign = mnuWord(record + 2 * k + 1) < 0 ? -1 : 1;

    if (item < 0) {
      const int32_t before = list.count;
      int32_t status = kListDone;
      VALLST(context, -item, list, status);
      if (status == kListNoColumns) {
        stop = 1;
        return;
      }
      for (int32_t j = std::max(before, 0) + 1; j <= list.count; ++j) {
        int32_t code = sign * (list.kind(j) < 1 ? kShowKeyword : kShowPlaceholder);
        if (list.value(j) < 0) {
          code = -code;
          list.value(j) = -list.value(j);
        }
        list.kind(j) = code;
      }
      if (status == kListFull) {
        truncate(list);
        return;
      }
      continue;
    }

    std::array<char, kPromptTextLength> keywordText{};
    Entry entry{kShowPlaceholder, kFreeText.value, kFreeText.text};
    if (item > 0) {
      if (mnuWord(item) / kKeywordHeaderBase == kTerminatorKeyword) {
        if (MNUCTL.menuLevel == kMenuLevel) break;
        entry = {kShowBlank, 1, {}};
      } else {
        entry = keywordEntry(item, keywordText);
      }
    }
    if (list.full()) {
      truncate(list);
      return;
    }
    list.append(sign * entry.code, entry.value, entry.text);
  }
  PRMDSP(list);
}

void PRMDSP(ValueList& list) {
  PRMLST.count = std::clamp(list.count, 0, PrmLst::kMaxEntries);
  for (int32_t k = 1; k <= PRMLST.count; ++k) {
    const FText shown = PRMLST.text(k);
    shown.fill(' ');
    const int32_t n = std::clamp(list.value(k), 0, std::min(PrmLst::kEntryLength, list.textLength()));
    shown.assign(list.text(k).view().substr(0, static_cast<std::size_t>(n)));
    PRMLST.code(k) = list.kind(k);
  }
}

void CODAPP(std::span<const int32_t> source, int32_t count, std::span<int32_t> target,
            int32_t& position) {
  if (position < 0 || position > static_cast<int32_t>(target.size())) return;
  const int32_t n = std::clamp(
      count, 0,
      std::min(static_cast<int32_t>(source.size()), static_cast<int32_t>(target.size()) - position));
  std::copy_n(source.begin(), n, target.begin() + position);
  position += n;
}

}  // namespace kvr
