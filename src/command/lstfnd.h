// Names listed in a text file: the header line of a list file, whose names a value list
// offers and a check looks a name up in. The header line is the first line that holds a
// name: lines of up to 255 characters are split into tokens by the lexer (mode 0); a "*"
// or "!" token ends a line, number tokens and separators are stepped over, and each text
// token is a name, of which the first 12 characters count. A line without a name is
// passed over. The file is read through the unit layer and closed before return.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kHeaderNameCodes = 12;
inline constexpr int32_t kListFileNameChars = 80;

// Receives one name of the header line (at most 12 codes); answers true to stop.
using HeaderNameVisit = std::function<bool(std::span<const int32_t> name)>;

// Hands the names of the header line of FILENAME (its trimmed length) to VISIT, in the
// case of the file, upper-cased with UPPERCASE. Answers false when the file cannot be
// opened.
bool readHeaderNames(FText fileName, bool upperCase, const HeaderNameVisit& visit);

// FILENAME receives the text answer of answer record ANSWER (the text that its first
// word names, at most 80 characters, double quotes dropped). False when ANSWER is no
// answer of the current command.
bool answerFileName(int32_t answer, FText fileName);

// Looks the name of NAMELENGTH codes of NAME (at most 12 count) up on the header line of
// the list file that answer ANSWER names. SEEN counts the names read up to the one
// found. STATUS 0 found (the name equal to one of the line, both upper case and cut at
// 12 codes), 1 not found or the file cannot be read.
void LSTFND(int32_t answer, std::span<const int32_t> name, int32_t nameLength, int32_t& seen,
            int32_t& status);

}  // namespace kvr
