// IOMODE: the output state of the message catalogues, with the library's version words
// and the words of the command input.
//
// Version words: the version number (no routine sets it; it stays 0), the release
// number and the release-letter index (1 and 0 after start-up), the program-name text of
// the version texts, and the constant 5000 that a new database's index page 1 carries.
//
// Catalogue texts: a table of ten-code lines and the name slots of the catalogue
// messages (slot 1 the version text, slots 2 and 3 names that messages insert), each entry
// a code line with its own count of codes in use. Nothing in the library fills them: every
// count stays 0.
//
// Command input: the unit commands are read from and the input mode (0 the terminal, 1 a
// command file), the command file's name as up to 80 code-line positions with its
// length, and the end-of-input word: 1 after a console read met the end of its input,
// cleared by the next read that succeeds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

inline constexpr int32_t kInputTerminal = 0;
inline constexpr int32_t kInputCommandFile = 1;

struct IoMode {
  static constexpr int32_t kCommandFileCodes = 80;
  static constexpr int32_t kTenCodeLines = 10;
  static constexpr int32_t kTenCodes = 10;
  static constexpr int32_t kNameSlots = 3;
  static constexpr int32_t kNameSlotCodes = 41;  // room for the longest inserted name

  // A code line of N positions with the count of codes in use.
  template <int32_t N>
  struct CodeEntry {
    std::array<int32_t, N> codes{};
    int32_t count = 0;
  };

  int32_t version = 0;        // version number
  int32_t release = 0;        // release number
  int32_t releaseLetter = 0;  // 0 no letter, k the k-th capital letter
  std::array<int32_t, 20> programName{};  // program-name text, a code line
  int32_t programNameLength = 0;
  int32_t databaseConstant = 0;  // 5000 after start-up

  std::array<CodeEntry<kTenCodes>, kTenCodeLines> tenCodeLines{};
  std::array<CodeEntry<kNameSlotCodes>, kNameSlots> nameSlots{};

  int32_t inputUnit = 0;
  int32_t inputMode = kInputTerminal;
  std::array<int32_t, kCommandFileCodes> commandFile{};  // a code line
  int32_t commandFileLength = 0;
  int32_t endOfInput = 0;

  int32_t& commandFileCode(int32_t k) { return commandFile[static_cast<std::size_t>(k - 1)]; }
  // Entry K (1..kTenCodeLines) of the ten-code lines; name slot K (1..kNameSlots).
  CodeEntry<kTenCodes>& tenCodeLine(int32_t k) { return tenCodeLines[static_cast<std::size_t>(k - 1)]; }
  CodeEntry<kNameSlotCodes>& nameSlot(int32_t k) { return nameSlots[static_cast<std::size_t>(k - 1)]; }
};

inline IoMode IOMODE;

}  // namespace kvr
