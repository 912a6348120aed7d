// Sv option tables and configuration.
//
// A program describes its options in a table of SvOption records ended by one of kind 0
// without a name: single-letter flags that count (kind 1), flags that take an argument
// (kind 2), and named symbols set as NAME=value words (kind 3), whose values may refer
// to each other and to the environment as $X, $(X) or ${X}. SvConfigure fills the table
// from the command line, an rc file, the environment, the registry and the defaults,
// expands the references, resolves file-valued symbols along their search paths, puts
// SVOBIN in front of PATH, and installs the table, so that SvGetenv finds its symbols.
//
// Ownership: symbol values and flag argument variables hold strings from SvMalloc (or
// nullptr); the library frees a value it replaces. A program that fills them itself
// must use SvStrdup. Counters and variables are the program's own.
#pragma once

#include <cstdint>
#include <cstdio>

namespace kvr {

inline constexpr int32_t kSvOptEnd = 0;
inline constexpr int32_t kSvOptCount = 1;    // counting flag
inline constexpr int32_t kSvOptArg = 2;      // flag with an argument
inline constexpr int32_t kSvOptSymbol = 3;   // named symbol

inline constexpr int32_t kSvRcMaxWords = 1024;  // words an rc file may give
inline constexpr int32_t kSvRcLine = 2056;      // bytes of an rc-file line

struct SvOption {
  int32_t kind = kSvOptEnd;
  const char* name = nullptr;          // flags: the letter is its first character
  int32_t* counter = nullptr;          // kind 1
  char** variable = nullptr;           // kind 2: where the argument goes
  char* value = nullptr;               // kind 3: the current value, nullptr while unset
  const char* defaultValue = nullptr;  // kinds 2 and 3
  const char* searchPath = nullptr;    // kind 3: the value names a file found along it
};

// The table SvGetenv and vSvSetenv consult (nullptr: none). SvConfigure installs its
// table; a program that frees its table installs nullptr first.
SvOption* SvInstalledTable();
void SvInstallTable(SvOption* table);

// The whole configuration from COUNT WORDS (WORDS[0] is the program); RCNAME, when given,
// is looked for along RCPATH. *OUT receives a new vector (SvFreeWords) of the words left
// for the program, WORDS[0] first, ended by nullptr. Answers their number, or -1 after
// a scanning error (*OUT is then nullptr and the table is not installed).
int32_t SvConfigure(int32_t count, const char* const* words, SvOption* table, const char* rcName,
                    const char* rcPath, char*** out);

// Scans COUNT WORDS against TABLE, appending the words it passes on (copies) to OUT,
// which holds OUTCOUNT words and has room for CAPACITY entries including a closing
// nullptr. OVERWRITE lets a word replace a value already set. Answers the new output
// count, or -1 after a message on the standard error stream.
int32_t SvScanArgs(int32_t count, const char* const* words, SvOption* table, char** out, int32_t outCount,
                   int32_t capacity, int32_t overwrite);
// Reads the words of the rc file NAME (found along PATH, archive-transparent) and scans
// them without overwrite; answers the new output count (OUTCOUNT when there is no such
// file), or -1.
int32_t SvArgsFromRc(const char* path, const char* name, SvOption* table, char** out, int32_t outCount,
                     int32_t capacity);

SvOption* SvFindSymRec(SvOption* table, const char* name);
const char* SvFindSymbol(SvOption* table, const char* name);
// The first flag record (kind 1 or 2) whose name begins with LETTER.
SvOption* SvFindFlag(SvOption* table, int letter);
// Sets symbol NAME to a copy of VALUE, unless it has a value and OVERWRITE is 0; answers
// 1, or 0 when TABLE has no such symbol.
int32_t SvSetSymbol(SvOption* table, const char* value, const char* name, int32_t overwrite);
// Replaces the references in SYMBOL's value with the values of TABLE's symbols; other
// names become ${NAME}. Answers the number replaced (0 after a missing bracket).
int32_t SvHandleEnvir(SvOption* symbol, SvOption* table);
// Prints the installed table's symbols and set flags.
void SvPrintConfig(std::FILE* out);
// Puts every symbol of TABLE (nullptr: the installed one) that has a value into the
// process environment.
void SvExportSymbols(SvOption* table);

}  // namespace kvr
