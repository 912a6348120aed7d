// The command file and the routines that read it. The words of its reader (line counter,
// name-map flag, state word) lie with the switch of the command input that sets them
// (modeldb/inpsrc.h). The input unit and the input mode themselves live in IOMODE; the
// silent-read switch is word 1 of VWDFLT, which only the display-switch save turns on.
//
// A command file is a text file of records of up to 255 characters (a longer line is cut),
// one command per line. Blank lines are skipped; a line that begins, after leading blanks,
// with "*", "#", "!" or "@" is a comment; a line "/" alone cancels the prompt that reads it.
#pragma once

#include <cstdint>

#include "modeldb/inpsrc.h"
#include "runtime/ftext.h"

namespace kvr {

// CMFRD statuses.
inline constexpr int32_t kLineRead = 1;
inline constexpr int32_t kFileEnded = 2;

// CMTLIN classes.
inline constexpr int32_t kLineCommand = 0;
inline constexpr int32_t kLineComment = 1;
inline constexpr int32_t kLineCancel = 2;

// Reads the next line of the command file into LINE (blank-padded, cut at its length).
// STATUS 1 a line was delivered; 2 input from the file has ended: an interrupt (INTCHK), a
// read error or the end of the file, the file then being closed and the input returned to
// the keyboard. Blank lines are skipped unless OPTIONAL is 1. In silent read the reader
// reports its start and every 1000th line, and turns the end of the file into the command
// "FILE CLOSE; YES;From archive file" (status 1) after "*** Input complete ***".
void CMFRD(int32_t optional, FText line, int32_t& status);

// Removes the leading and trailing blanks, tabs and NULs of LINE in place (STRIPB) and
// classifies it: CLASS 1 a comment, 2 the line "/" alone, 0 a command (a line beginning
// with "/" and holding more among them).
void CMTLIN(FText line, int32_t& cls);

// Returns the input from the command file to the keyboard; with CLOSE 1 the command file
// is closed too.
void CMFEND(int32_t close);

// INTERRUPTED 1 when the interrupt flag was set: the flag is cleared, the word that records
// an interrupt ending input set, and input from a command file returned to the keyboard.
// Otherwise 0.
void INTCHK(int32_t ignored, int32_t& interrupted);

}  // namespace kvr
