// File and path utilities shared by the library: joining a directory and a file name,
// the text of an I/O status, the current directory, listing a directory into a scratch
// file, and the abnormal end.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// PATH receives DIR (leading and trailing blanks dropped), "/" and FILE (trailing blanks
// dropped), with every directory name that a ".." step follows removed together with
// that step, cut at PATH's length and blank-padded. The "/" is added even after a DIR
// that ends with one ("/a/b/" and "x.dat" give "/a/b//x.dat"); a blank DIR gives "/" and
// the file name. A NUL in the joined text ends it.
void TLMKNM(FText dir, FText file, FText path);

// TEXT receives the message for the I/O status CODE, blank-padded: the known codes have
// their own texts, any other gives "Unspecified error#IOSTAT    :" and the code as I8.
void IOSMSG(int32_t code, FText text);

// TEXT receives the current directory, blank-padded; all blank when it cannot be read.
void CURDIR(FText text);

// Makes the trimmed TEXT the current directory. RESULT (also the answer) is 0, or -1
// when the directory cannot be changed (it then stays as it was).
int32_t CHGDIR(FText text, int32_t& result);

// Lists the names matching PATTERN (up to its first blank or NUL; see DirList) into a
// scratch file opened on the first free unit: one unformatted record per name, holding
// the name's length as a word followed by its characters, four to a word in storage
// order, the last word blank-padded. UNIT receives the unit, rewound for reading, and
// COUNT the number of names. When no scratch file can be opened COUNT is -1 and nothing
// else changes. The scratch file lies in the temporary directory and is removed when
// the unit is closed.
void LSTDIR(FText pattern, int32_t& unit, int32_t& count);

// Writes "That's it- I'm outta here" on standard error and ends the process by the
// abort of the process stop, every unit flushed and closed first.
[[noreturn]] void ABTRUN();

// Sets N to 16.
void IVAL16(int32_t& n);

}  // namespace kvr
