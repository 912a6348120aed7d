// The name sequences: making up the next free name of a class of objects, setting a new
// sequence typed at a prompt, keeping the next and highest numbers in step with names the
// user types, giving numbers back, and finding a model object by its name.
//
// SEQBLK, the sequence block, is VWDFLT seen from its word 12 (seqtab.h): block word w is
// VWDFLT word w + 11. Per slot k (1..25): the packed alpha part (block word k), the next
// number (25 + k), the highest number in use (51 + k, 8-character mode only); block word
// 51 is the name mode (1: names of eight characters with up to four letters; anything
// else: the older four-character names of one or two letters). DEFCOD and the model load
// fill it.
//
// Letters are entries of the 47-character table of MODCON (entry e in MODCON word e + 2):
// 1 the blank, 2..11 the digits, 21 "A" .. 46 "Z", 47 the apostrophe. An alpha part is
// i x 1000000 + j x 10000 + k x 100 + l in 8-character mode, i x 100 + j in 4-character
// mode. In 4-character mode the thousands (one letter) or hundreds (two letters) of a
// number carry into the last letter (P1000 is Q000); a letter carried past "Z" starts at
// "A" again. A letter index outside the table reads as a blank.
//
// A name is two words of four characters, the first in the lowest byte, blank-padded. An
// object code (11 point, 12 line, ... 47 fcdef; 9 and 25 any name) selects its slot
// through CODMAP column 1 of its magnitude; a code without a slot gives a blank name and
// changes nothing.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/namrec.h"
#include "modeldb/seqtab.h"

namespace kvr {

// The words of SEQBLK by slot (1..25).
inline int32_t& SEQBLK(int32_t w) { return VWDFLT.word(kSeqAlphaBefore + w); }
inline int32_t& seqAlpha(int32_t slot) { return VWDFLT.word(kSeqAlphaBefore + slot); }
inline int32_t& seqNext(int32_t slot) { return VWDFLT.word(kSeqNumberBefore + slot); }
inline int32_t& seqNameMode() { return VWDFLT.word(kSeqForm); }
inline int32_t& seqHighest(int32_t slot) { return VWDFLT.word(kSeqFurtherBefore + slot); }

inline constexpr int32_t kEightCharacterNames = 1;  // the name mode of 8-character names

// SEQPRM's answers.
inline constexpr int32_t kSequenceAccepted = 0;
inline constexpr int32_t kSequenceCancelled = -1;

// NAME = the next free name of CODE's sequence, which moves on past it. 8-character mode:
// names up to the highest number are looked up (ENTARR) and skipped while taken ("ALL"
// counts as taken), names above it are free without a lookup; the highest number then
// covers the name. At the last number of the sequence (9999999, 999999, 99999 or 9999 by
// the count of letters) the user is warned (W1100) and asked for a new sequence (SEQPRM),
// and a next number already beyond it asks before any name is built. When the user
// cancels, NAME is the name built last (the limit's own name when none was) and the
// sequence stays as it was. 4-character mode: SEQNX4.
void SEQNXT(NameWords& name, int32_t code);

// 4-character mode: NAME = the first name from the magnitude m of the next number on that
// no object carries; the next number becomes m + 1 with each name tried.
void SEQNX4(NameWords& name, int32_t code);

// NAME = the 8-character name of NUMBER in CODE's sequence: its letters, then the digits
// of NUMBER without leading zeros (none for 0). LETTERS receives the count of letters. A
// NUMBER below 0 or above the limit of that many letters gets no digits, so nothing is
// written past character 8.
void SEQNM8(NameWords& name, int32_t code, int32_t number, int32_t& letters);

// True when SLOT's next number is below the limit of LETTERS letters (1: 9999999, 2:
// 999999, 3: 99999, 4: 9999); false for any other count.
bool SEQLIM(int32_t slot, int32_t letters);

// Warns W1100 and asks for the alpha and numeric part of a new sequence for SLOT ("AB 100";
// without a number, 1) until SEQCHK accepts one: kSequenceAccepted. A reply without a
// name warns and asks again; an empty reply, a number that is not a whole number of 0 or
// more, or a refusal asks again. A cancelled reply (a lone "/" or the end of input) ends
// the prompt with SLOT unchanged: kSequenceCancelled, as for a SLOT outside 1..25.
int32_t SEQPRM(int32_t slot);

// Checks the alpha part ALPHA (LETTERS character codes) and the numeric part NUMBER of a
// new sequence for SLOT and sets them. STATUS 0 accepted, 1 refused with its message:
// E1410 or E1420 too many letters (2 in 4-character, 4 in 8-character mode), E1400 a
// character that is no capital letter, E1440 (8-character mode) the alpha part of another
// slot, E1430 a number above 999 or 99 (4-character mode, by letters) or the 8-character
// limit, the alpha part then already stored. In 8-character mode a changed alpha part
// raises the highest number from the existing names (SEQSCN).
void SEQCHK(int32_t slot, std::span<const int32_t> alpha, int32_t letters, int32_t number,
            int32_t& status);

// Raises SLOT's highest number from every name of the nine name lists (SEQHIT). STATUS 0.
void SEQSCN(int32_t slot, int32_t& status);

// Raises SLOT's highest number to the number of NAME when NAME is the slot's letters
// followed by a whole number.
void SEQHIT(std::span<const int32_t, 2> name, int32_t slot);

// 4-character mode: stores the magnitude of the next number of CODE's sequence and moves
// it past every name that an object carries. Nothing in 8-character mode.
void SEQUPD(int32_t code);

// Notes the typed new name TYPED (LENGTH character codes) against the sequences.
// 4-character mode: a sequence not yet settled is settled (SEQUPD); when TYPED is the next
// name of CODE's sequence the next number moves on; RESULT is not set. 8-character mode:
// the first slot whose letters begin TYPED followed by a whole number n decides: the next
// number moves to n + 1 when it was n and COMMIT is 1; RESULT 0 when n is above the
// highest number (raised to n when COMMIT is 1): no object can carry the name yet;
// otherwise RESULT n (1 for 0), as for a name of no sequence: the name must be looked up.
void SEQNOT(std::span<const int32_t> typed, int32_t length, int32_t code, int32_t commit,
            int32_t& result);

// 4-character mode: gives the number of the freed name NAME back to CODE's sequence, the
// next number becoming that number when it is lower. The name counts only when it holds
// the sequence's letter (one-letter sequence) or first letter (two letters) and a letter
// not before the sequence's last one, then a whole number.
void SEQRET(std::span<const int32_t, 2> name, int32_t code);

// Translates the typed name at positions START.. START + LENGTH - 1 of LINE (character
// codes) through the name map, keyed by its first eight characters. A mapped name replaces
// the token: its eight characters are written from START (cut at the end of LINE) and
// LENGTH becomes the count written. STATUS 0 done; -1 an existing-object KIND (1-20,
// 60-66, 78) not mapped; 10 for KIND 34, 35, 73 and 74. Any other KIND, not mapped, gets
// the next name of its object code (CODMAP column 2, SEQNXT), which replaces the token and
// is mapped; STATUS is then the status of the insert.
void NAMXLT(std::span<int32_t> line, int32_t start, int32_t& length, int32_t kind,
            int32_t& status);

// Finds the model object named NAME. A first word "ALL ": NUMBER -1, CODE 0. MODE 2: the
// first word is a REAL, NUMBER its value plus 0.1 truncated, CODE 5. Otherwise the name is
// looked up in the nine name lists: CODE the object code of the list (an attribute name:
// the code of its entry's type, 99 for a type of no class) and NUMBER its record (an
// attribute name: its entry's entity); 0 and 0 when none carries it.
void ENTARR(int32_t mode, std::span<const int32_t, 2> name, int32_t& code, int32_t& number);

// Puts the character of the code-line word CHARACTER at POSITION (1..4) of the packed
// word WORD; any other POSITION changes nothing.
void SEQCOD(int32_t position, int32_t& word, int32_t character);

namespace seq {

// Looks NAME up in the nine name lists, named arrays 1 (points), 3 (lines), 5 (surfaces),
// 7 (bodies), 9 (shapes), 14 (attribute names), 18 (sets), 27 and 35, in this order, each
// within its count; the first hit wins. RECORD and ARRAY receive the record and the array,
// 0 and 0 when none holds it; FOURTH receives 0.
void NAMFND(std::span<const int32_t, 2> name, int32_t& record, int32_t& array,
            int32_t& fourth);

}  // namespace seq

}  // namespace kvr
