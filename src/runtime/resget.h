// Settings lookup. A setting is named by four words: the application word ("Quorin"), the
// program word ("Telvora", "Zorlak" or "*"), the section and the key. RESGET looks on the
// command line first and then in the settings files, in this order:
//   1. the file named by QUORIN_INIT, when set (a file that cannot be opened ends the
//      search with -4);
//   2. "quorin.ini" in the current directory;
//   3. "quorin.ini" in the home directory (HOME of at least two characters);
//   4. the global file: the one QUORIN_GLOBAL_INIT names (-5 when it cannot be opened),
//      else "quorin.ini" in the directory KVRKEY names, else in the executable's
//      directory followed by "../Custom/" (plain "quorin.ini" when that is unknown).
// Every file is opened, scanned and closed within one lookup; nothing is cached.
//
// A settings file holds one setting a line: "App.Program.Section.Key: value ! comment".
// "#" in column 1 makes a comment. The application word must begin the line exactly as
// asked (case matters); program, section and key are compared ignoring case; "*" as
// program or section, in the file or in the request, matches anything. The key ends at
// ":" or at a blank; the value runs from the ":" to the first "!" or the end of the line,
// stripped of blanks, tabs and NULs. Lines are read as 128 characters; tabs read as
// blanks. The first matching line of the first file that has one wins.
//
// Statuses: n > 0 found, n the value's length (from a file the whole trimmed length,
// which may exceed the caller's text; the copy is cut); 4 with "TRUE" for a switch given
// on the command line; 0 not found; -1 an option on the command line without a value; -2
// a read error in a local file; -3 a read error in the global file; -4 QUORIN_INIT names a
// file that cannot be opened; -5 QUORIN_GLOBAL_INIT does. Callers take every status below
// 1 as not found.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// Looks up the setting APP.PROG.SECTION.KEY. VALUE is blanked first. With ISSWITCH set an
// option "-KEY" on the command line is enough (value "TRUE", status 4); otherwise the
// argument after it is the value.
void RESGET(FText app, FText prog, FText section, FText key, bool isSwitch, FText value,
            int32_t& status);

// Scans the settings file open on UNIT from its first line. STATUS: n > 0 found (VALUE
// set), 0 at end of file without a hit, or when the matching line's value is empty ("!"
// right after ":"), -2 on a read error.
void RESSCN(int32_t unit, FText app, FText prog, FText section, FText key, FText value,
            int32_t& status);

// Looks the setting up in the one file named by the first NAMELENGTH characters of NAME.
// OPENSTATUS 1 when it cannot be opened (STATUS 0, VALUE blank), else 0. ISSWITCH is not
// used.
void RESONE(FText name, int32_t nameLength, FText app, FText prog, FText section, FText key,
            bool isSwitch, FText value, int32_t& status, int32_t& openStatus);

// The home directory: HOME without trailing blanks, into TEXT; LENGTH 0 when HOME is
// unset or only one character long.
void HOMDIR(FText text, int32_t& length);

// Command-line argument N of the library (argument 0 the program; see the probe below)
// into TEXT, with its LENGTH: the characters before the first terminator in the first
// 128 of the argument. LENGTH 0 when N is beyond the arguments.
//
// The probe, at the first use of an argument: the terminator is NUL when argument 0 holds
// one, else the blank; when argument 0 reads as empty, the arguments are counted from
// runtime argument 2 on (argument N is runtime argument N + 1).
void ARGSTR(int32_t n, FText text, int32_t& length);

// Writes the search order of the settings files as message lines: each file that opens
// with its label, warnings for QUORIN_INIT and QUORIN_GLOBAL_INIT naming files that cannot
// be opened, or "No Resource Files will be searched".
void RESORD();

// MODE -1 closes and deletes the merged file and answers 0. Any other MODE copies the
// local settings files that exist (QUORIN_INIT's, the current directory's, the home
// directory's; with MODE 1 also the global file) line by line into a scratch file on a
// free unit and answers that unit, rewound, with COUNT the number of lines; -1 when the
// scratch file cannot be opened.
int32_t RESMRG(int32_t mode, int32_t& count);

// Appends every line (its first 128 characters) of the file named by the first NAMELENGTH
// characters of NAME to UNIT, adding one to COUNT per line. Answers the unit the file was
// read on, or OPNFRE's -1 or -2 when it cannot be opened (nothing copied).
int32_t RESCPY(FText name, int32_t nameLength, int32_t unit, int32_t& count);

// Test seam: the command-line probe runs again at the next use of an argument.
void resetCommandLineProbe();

}  // namespace kvr
