#include "runtime/chrset.h"

#include <string>

#include "runtime/codtxt.h"

namespace kvr {
namespace {

// The code of a one-character literal given with its terminator.
int32_t codeOfLiteral(const char* literal) {
  std::string s(literal);
  std::array<int32_t, 1> code{};
  int32_t last = 0;
  TXTCOD(FText(s.data(), static_cast<int32_t>(s.size())), 1, code, last);
  return code[0];
}

}  // namespace

void CHRSET() {
  std::string digits = "0123456789*.";
  std::array<int32_t, 10> digitCodes{};
  int32_t last = 0;
  TXTCOD(FText(digits.data(), static_cast<int32_t>(digits.size())), 1, digitCodes, last);
  for (int32_t k = 1; k <= 10; ++k) LEXCOD.word(k) = digitCodes[static_cast<size_t>(k - 1)];

  std::string table = "()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ*.";
  TXTCOD(FText(table.data(), static_cast<int32_t>(table.size())), 1, CHRTAB.words, last);

  LEXCOD.word(11) = codeOfLiteral(" *.");
  LEXCOD.word(12) = codeOfLiteral("-*.");
  LEXCOD.word(13) = codeOfLiteral(".*.");
  LEXCOD.word(14) = codeOfLiteral("E*.");
  LEXCOD.word(15) = codeOfLiteral("e*.");

  // "/", "+", ";", ":", ",", "=", "*" come from CHRTAB.
  constexpr int32_t kFromChrtab[] = {8, 4, 20, 19, 5, 22, 3};
  for (int32_t k = 1; k <= 7; ++k) LEXSPC.word(k) = CHRTAB.word(kFromChrtab[k - 1]);
  LEXSPC.word(8) = codeOfLiteral("!*.");
  LEXSPC.word(9) = codeOfLiteral("$*.");
  LEXSPC.word(10) = CHRTAB.word(24);  // "?"
  LEXSPC.word(11) = CHRTAB.word(25);  // "@"
  LEXSPC.word(12) = codeOfLiteral("#*.");
  LEXSPC.word(13) = codeOfLiteral("\"*.");
  LEXSPC.word(14) = codeOfLiteral("'*.");
}

}  // namespace kvr
