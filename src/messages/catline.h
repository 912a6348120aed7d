// The catalogue line and the hand-over that every catalogue routine shares.
//
// A line is composed as a code line, pieces and inserts at the positions the message
// gives them; its length is the last position filled. Writing a message hands each line
// to the unit writer without its leading and trailing blanks, and then copies each line
// to the journals as " * " and the line's first 77 characters, JRNWR2 before JRNWR1. All
// unit lines come before the first journal line.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kvr {

// A name to insert: its character codes, COUNT of them in use.
struct NameInsert {
  std::span<const int32_t> codes;
  int32_t count = 0;
};

// Program-name text K (1 or 2) as messages insert it: name slot K + 1 of IOMODE with its
// count word. Nothing in the library fills the slots, so by default it inserts nothing.
NameInsert programNameText(int32_t k);

class CatLine {
 public:
  explicit CatLine(int32_t capacity);

  // Places PIECE (without terminator) from position AT on; the length becomes its last
  // position, which it answers (AT - 1 for an empty piece).
  int32_t put(std::string_view piece, int32_t at);
  // Places the message tag: LETTER (none when 0), NUMBER with DIGITS digits and ":".
  void putTag(char letter, int32_t number, int32_t digits, int32_t at);
  // Places the codes of NAME from position AT on, cut to the codes it holds and to the
  // room left in the line; a count of 0 or less places nothing.
  int32_t insert(NameInsert name, int32_t at);
  // VALUE in decimal (INTCOD).
  int32_t putInt(int32_t value, int32_t at);
  // VALUE with at most DIGITS significant digits (REALTX).
  int32_t putReal(float value, int32_t digits, int32_t at);
  // Characters F..L of the text packed four per word in WORDS (REALCD).
  int32_t putWords(std::span<const int32_t> words, int32_t f, int32_t l, int32_t at);
  // The version text of the library in LAYOUT (VERTXT).
  int32_t putVersion(int32_t layout, int32_t at);
  // The inserts above write from position AT on and stop at the end of the line; each
  // answers the last position it filled (AT - 1 when it wrote nothing) and makes it the
  // line's length when it lies beyond it.

  int32_t length() const { return length_; }
  std::span<const int32_t> codes() const { return codes_; }
  std::span<int32_t> codes() { return codes_; }
  void setLength(int32_t length) { length_ = length; }

 private:
  int32_t extendTo(int32_t last);

  std::vector<int32_t> codes_;
  int32_t length_ = 0;
};

enum class UnitWriter { None, WRTLIN, WRTLN1, HCMSG };

void writeCatalogue(std::span<const CatLine> lines, UnitWriter writer, bool journal);

// One message of a four-digit block: its number and its one to three lines as composed,
// tag included; an absent line is empty. Line 1 of a message that inserts a name holds
// kNameInsert where the name goes.
struct CatText {
  int32_t number;
  std::string_view line1;
  std::string_view line2 = {};
  std::string_view line3 = {};
};

inline constexpr char kNameInsert = '^';

// True when the numbers of TEXTS rise strictly, as the block lookup needs.
constexpr bool inNumberOrder(std::span<const CatText> texts) {
  for (size_t k = 1; k < texts.size(); ++k) {
    if (texts[k].number <= texts[k - 1].number) return false;
  }
  return true;
}

// The number a four-digit block routine selects for N: BASE + 100 x the hundreds of N +
// 10 x its tens (the units digit is ignored), or 0 when the hundreds lie outside
// 1..LASTBLOCK.
int32_t blockNumber(int32_t n, int32_t base, int32_t lastBlock);

// Writes message NUMBER of a four-digit block: its lines from TEXTS (in number order),
// NAME inserted where line 1 asks for it, or the tag (LETTER and the number) alone for a
// number without a text.
void writeBlockMessage(char letter, int32_t number, std::span<const CatText> texts,
                       UnitWriter writer, bool journal, NameInsert name = {});

}  // namespace kvr
