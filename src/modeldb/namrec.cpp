// The names of lines, shapes and sets.
#include "modeldb/namrec.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <span>
#include <string_view>

#include "modeldb/arrreg.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "runtime/codtxt.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kNameChars = 8;

// The name of entity ID; blank while its record lies beyond the name array's records.
NameWords readName(const NameKind& kind, int32_t id) {
  if (id < 1 || kind.array > REGHED.top || id > REGHED.ARRLEN(kind.array)) return {kBlankCode, kBlankCode};
  std::array<float, 2> r{};
  ARRREA(kRead, kind.array, id, r);
  return {std::bit_cast<int32_t>(r[0]), std::bit_cast<int32_t>(r[1])};
}

std::array<char, kNameChars> charsOf(const NameWords& w) {
  std::array<char, kNameChars> c{};
  for (int32_t i = 0; i < kNameChars; ++i) {
    const auto word = static_cast<uint32_t>(w[static_cast<std::size_t>(i / 4)]);
    c[static_cast<std::size_t>(i)] = static_cast<char>((word >> (8 * (i % 4))) & 0xFFu);
  }
  return c;
}

// A and B equal ignoring case, the shorter padded with blanks.
bool sameName(std::string_view a, std::string_view b) {
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
    const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
    if (std::toupper(ca) != std::toupper(cb)) return false;
  }
  return true;
}

// The first entity other than SKIP whose name is TEXT; 0 none.
int32_t findByText(const NameKind& kind, std::string_view text, int32_t skip) {
  const int32_t count = MODCNT.word(kind.countWord);
  for (int32_t n = 1; n <= count; ++n) {
    if (n == skip || kind.exists(n) == 0) continue;
    const std::array<char, kNameChars> c = charsOf(readName(kind, n));
    if (sameName(std::string_view(c.data(), c.size()), text)) return n;
  }
  return 0;
}

bool validName(FText text) { return NAMSYN(text) == -1; }

}  // namespace

void nameLabel(const NameKind& kind, int32_t id, NameWords& label, int32_t& stat) {
  stat = -1;
  if (kind.exists(id) == 0) return;
  label = readName(kind, id);
  stat = 0;
}

void nameText(const NameKind& kind, int32_t id, FText text, int32_t& stat) {
  NameWords label{};
  nameLabel(kind, id, label, stat);
  if (stat != 0) return;
  const std::array<char, kNameChars> c = charsOf(label);
  text.assign(std::string_view(c.data(), c.size()));
}

int32_t nameFind(const NameKind& kind, const FText* text, const NameWords* label) {
  if (text != nullptr) return findByText(kind, text->view(), 0);
  if (label == nullptr) return -1;
  const int32_t found = ARRFND(*label, kind.array, kind.findHint, MODCNT.word(kind.countWord));
  // A deleted entity keeps its number but not its name.
  return found != 0 && kind.exists(found) != 0 ? found : 0;
}

void nameSet(const NameKind& kind, int32_t id, int32_t& stat, const FText* text,
             const NameWords* label, const bool* check) {
  stat = 0;
  // Renaming a deleted entity would wipe its deletion marker while the deleted count
  // still counts it; a number below 1 would end the run in the record access.
  if (kind.exists(id) == 0) {
    stat = -1;
    return;
  }
  NameWords name = {kBlankCode, kBlankCode};
  if (text != nullptr) {
    if (text->length() == 0) return;
    if ((check == nullptr || *check) && !validName(*text)) {
      stat = -5;
      return;
    }
    // The name is the first eight characters: a longer text is compared as it is stored.
    std::array<char, kNameChars> chars{};
    const FText first(chars.data(), kNameChars);
    first.assign(text->view().substr(0, std::min<std::size_t>(kNameChars, text->view().size())));
    if (findByText(kind, first.view(), id) != 0) {
      stat = -3;
      return;
    }
    for (char& c : chars) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    int32_t last = 0;
    TXTA4(first, 1, name, last);
  } else if (label != nullptr) {
    const int32_t r = ARRFND(*label, kind.array, kind.renameHint, MODCNT.word(kind.countWord));
    if (r != 0 && r != id) {
      stat = -3;
      return;
    }
    name = *label;
  } else {
    stat = -2;
    return;
  }
  std::array<float, 2> r = {std::bit_cast<float>(name[0]), std::bit_cast<float>(name[1])};
  ARRREA(kWrite, kind.array, id, r);
}

}  // namespace kvr
