// The messages of the writing road: error lines for the codes of DIETAB (DIMSG) and
// information lines with a free text (DIINF), 100 characters each, counted against the
// current temporary unit and written to the two message units of DICTL (99: none).
//
// A line, by position: 2-3 "DI"; 4-6 the code in three digits (blank for information);
// 8 ":"; 10-15 the routine name; 16 ":"; 18-67 the text; 69 ":"; then, when a value
// follows, "(" in 71, the value from 72 and ")" in 92 (in 82 after the number of an
// information line).
//
// Error and information lines share one count per unit: the 51st line against a unit is
// replaced by a suppression line, and later ones are dropped until the unit's next
// dataset header, its clean-up or the initialisation resets the count.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/ftext.h"

namespace kvr {

inline constexpr int32_t kDiMaxCode = 299;
inline constexpr int32_t kDiTextLength = 50;

// Kinds of the value shown after a message text.
inline constexpr int32_t kDiNoValue = 0;
inline constexpr int32_t kDiName = 1;
inline constexpr int32_t kDiNumber = 2;
inline constexpr int32_t kDiFreeLine = 3;  // information lines only

// The text of CODE in DIETAB without its padding; empty for a code without a row.
std::string_view dietabText(int32_t code);

// One message line of 100 characters, positions numbered from 1, blank to start with.
class DiLine {
 public:
  static constexpr int32_t kLength = 100;

  DiLine() { chars_.fill(' '); }
  // Places TEXT from position FIRST on, never beyond LAST (nor beyond the line).
  void put(int32_t first, std::string_view text, int32_t last = kLength);
  void blank(int32_t first, int32_t last);
  char at(int32_t k) const { return chars_[static_cast<std::size_t>(k - 1)]; }
  FText text() { return FText(chars_.data(), kLength); }
  std::string_view view() const { return {chars_.data(), chars_.size()}; }

 private:
  std::array<char, kLength> chars_;
};

// TEXT receives row ICODE of DIETAB, blank-padded or cut to its length; a blank text for
// a code outside 1..299 or without a row.
void DITEXT(int32_t icode, FText text);

// Prints the error line of ICODE for routine ROUTNM (6 characters), with the value of
// KIND: 0 none, 1 the trimmed NAME (at most 20 characters), 2 NUMBER (8 positions; ">8
// FIGS" when it does not fit). A code above 998 is shown, and returned, as 999.
void DIMSG(int32_t& icode, FText routnm, int32_t kind, FText name, int32_t number);

// Prints the information line TEXT (50 characters) for routine ROUTNM, with the value of
// KIND: 0 none, 1 NAME (20 characters), 2 NUMBER (10 positions; " >10 CHARS" when it
// does not fit); KIND 3 makes the whole line a blank and NAME (at most 99 characters).
void DIINF(FText routnm, FText text, int32_t kind, FText name, int32_t number);

// Writes LINE as one record to UNIT, up to its last non-blank character. When the unit
// cannot take it, standard output shows " *** DI MESSAGE CHANNEL NOT CONNECTED *** "
// instead; the caller is told nothing.
void DIWLIN(FText line, int32_t unit);

}  // namespace kvr
