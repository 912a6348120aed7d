// Platform routines: the small layer through which the rest of the library reaches the
// operating system, and the routines on NUL-terminated strings that go with it.
//
//  - the running program's directory, the directory search, access checks and the
//    current directory;
//  - path texts: removing "dir/.." pairs, splitting off a directory, a file name or a
//    stem, shortening a path for display;
//  - operating-system commands, through the shell or started directly;
//  - the name map of the command reader: 8-character keys with 8-character values;
//  - bit tests on words and conversions of C strings.
//
// Apart from the name map and the one open directory search, nothing here keeps state.
// Strings are NUL-terminated unless a routine takes an FText; "nothing" is nullptr.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/ftext.h"

namespace kvr {

// ---- The system -------------------------------------------------------------------

// 1 on the one platform family that had a separate answer; 0 here.
int32_t IsWinNT();

// The directory of the running program, up to and including its last "/", NUL-terminated
// in DIR; LENGTH receives its length, 0 (and an empty DIR) when it cannot be had or does
// not fit DIR.
void ModuleDir(std::span<char> dir, int32_t& length);

// The bells-off switch, the NoBells switch of IOUNIT: 1 silences WarnBeep. 0 at load.
int32_t& bellsOffSwitch();

// Sounds the warning bell (BEL on standard error) unless the bells-off switch is 1.
void WarnBeep();

// 4 and 4: the bytes of an integer and of a real word.
void WordSizes(int32_t& intBytes, int32_t& realBytes);

// 0 when PATH may be written (WRITE non-zero) or read, -1 when not or when it is missing.
int32_t FileAccess(const char* path, int32_t write);

// The current directory into DIR, NUL-terminated (at most 255 characters); answers its
// length, or -1 when it cannot be read or does not fit DIR.
int32_t CwdGet(std::span<char> dir);

// Makes PATH the current directory: 0, or -1 on failure.
int32_t CwdSet(const char* path);

// The directory search. MODE 1 starts a search for PATTERN (a path whose last part may
// hold wildcards) and gives the first matching name, mode 2 the next one; both answer 0
// with the name (without its directory, NUL-terminated, cut to NAME's capacity), or 1
// when there is none. Mode 3 ends the search and answers 0; any other mode answers 1.
int32_t DirList(int32_t mode, const char* pattern, std::span<char> name);

// ---- Paths ------------------------------------------------------------------------

// Removes, in place, each directory name that a ".." step follows, together with that
// step: "/a/b/../c" becomes "/a/c". A ".." with no directory name before it stays
// ("../x", "/../x"), and so does one that follows another "..".
void PathCollapse(char* path);

// PathCollapse on a fixed-length text that carries its NUL (a text without one is taken
// whole); the collapsed path is followed by a NUL, the characters after it left as they
// were.
void PathCollapseF(FText path);

// Looks back from the ".." step at offset POS (from 0) of PATH for the "/" that begins
// the directory name before it. When there is one and that name is not itself "..", POS
// becomes the offset of that "/", RESULT grows by 4 and the answer is 1; else 0.
int32_t PathPrevSep(const char* path, int32_t& pos, int32_t& result);

// The path routines below answer nullptr for a missing path or a SIZE of 0 or less. SIZE
// counts characters: a target holds SIZE characters and a NUL. A target that is missing
// is allocated with SvMallocStat (the caller frees it with SvFree); nullptr when no memory
// can be had.

// PATH (at most SIZE characters) cut at its last "/": "/a/b/c.txt" gives "/a/b". A path
// without "/" is copied whole.
char* PathDir(char* target, const char* path, int32_t size);

// The part of PATH after its last "/" (all of it when there is none), at most SIZE
// characters. Without a target the answer points into PATH.
const char* PathFile(char* target, const char* path, int32_t size);

// PathFile cut at its last ".": "/a/b/c.txt" gives "c".
char* PathStem(char* target, const char* path, int32_t size);

// PATH (its first 260 characters) shortened for display into TARGET of SIZE bytes: a path
// shorter than SIZE is copied whole; otherwise the first directory and the longest tail
// that fit are kept around "...", as "/usr/.../lib/x.so". Answers TARGET, or nullptr (and
// TARGET untouched) for a missing path or target, or a longer path and SIZE of 5 or less.
char* PathShort(const char* path, char* target, int32_t size);

// ---- Commands ---------------------------------------------------------------------

// Runs the trimmed COMMAND with RunCommand.
void OSCMD(FText command);

// Runs the first N characters of COMMAND (fewer when a NUL comes first). A command that
// ends with "&" is started without waiting and one that ends with "$" is started and
// waited for, both without the mark through SpawnCommand; any other command goes to the
// shell, which is waited for. Results are not reported.
void RunCommand(const char* command, int32_t n);

// Starts the program that COMMAND names, waiting for it to end when WAIT is non-zero.
// The program is the first word, or the text between double quotes when the command
// starts with one; the rest is split into arguments at blanks, double quotes grouping
// words, never through a shell. A program that cannot be started is reported on
// standard error: "Spawn Error", "Command  : " and the program, "Arguments: " and the
// rest, and the system's error text.
void SpawnCommand(const char* command, int32_t wait);

// ---- The name map -----------------------------------------------------------------
// Keys and values are 8 characters (shorter texts are taken blank-padded). Entries and
// chain nodes live in blocks of 1028; an entry or node number is its block number (from
// 1) times 1028 plus its index in the block (from 0), so no number is 0. Statuses: 0 done;
// 1 all 2000 entry blocks in use, or no map could be made; 2 no memory for an entry block;
// 3 all 2000 node blocks in use; 4 no memory for a node block. A failed insert adds
// nothing.

inline constexpr int32_t kNameMapBlock = 1028;
inline constexpr int32_t kNameMapBlocks = 2000;

// Makes the map empty (releasing one that exists). STATUS 1 when no memory can be had.
void NameMapInit(int32_t& status);
// Adds KEY with VALUE; a key inserted twice has two entries. The map is made first when
// there is none.
void NameMapInsert(FText key, FText value, int32_t& status);
// ENTRY receives the number of the first entry with KEY and VALUE its value (stopping at a
// NUL, blank-padded); a key not found leaves ENTRY 0 and VALUE untouched.
void NameMapLookup(FText key, FText value, int32_t& entry);
// Hands out the next free chain node: its block number and its index in that block.
void NameMapNode(int32_t& status, int32_t& block, int32_t& index);
// Releases every block; the map is then empty and takes inserts again.
void NameMapFree();

// ---- Bits and strings -------------------------------------------------------------
// Bits count from 1 at the lowest; a bit number outside 1..32 names no bit.

// WORD with bit N set (FLAG non-zero) or cleared.
int32_t BITSET(int32_t word, int32_t n, int32_t flag);
// -1 when bit N of WORD is set, else 0.
int32_t BITTST(int32_t word, int32_t n);
// 1 when bit N of WORD is set, else 0.
int32_t BITTS1(int32_t word, int32_t n);
// The bits of an integer word: 32.
int32_t NBITS();

// Upper-cases S in place.
void StrUpper(char* s);

// Reads the number at the start of S (white space before it skipped) into REAL; answers 1
// when only white space follows it, 0 when anything else does or there is no number (REAL
// then 0). A number beyond the double range stores HUGE_VAL with its sign.
int32_t StrToReal(const char* s, double& real);

// StrToReal rounded to the nearest integer (halves away from zero) into VALUE. A value
// beyond the integer range gives 2147483647 or -2147483648 and answers 1; otherwise the
// answer is 0 when the number was not whole and StrToReal's answer when it was.
int32_t StrToInt(const char* s, int32_t& value);

// Turns tabs into blanks and cuts trailing white space, in place; answers the first
// non-blank character.
char* StrTrim(char* s);

}  // namespace kvr
