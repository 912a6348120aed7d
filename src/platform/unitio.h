// Unit I/O: the record-oriented file runtime of the library.
//
// One process-wide table maps unit numbers to open files, as the analysis programs that
// load us have always addressed their files. Units 5 (standard input) and 6 (standard
// output) are preconnected and never closed; standard error is not a unit.
//
// Three kinds of connection exist:
//  - formatted sequential: text lines ending in "\n"; a trailing "\r" is dropped on
//    reading, so files written on Windows read the same; one write is one record;
//  - unformatted sequential: each record framed by its byte length as a 4-byte
//    little-endian word before and after;
//  - direct access: records of RECL 4-byte words, record n at byte (n-1)*4*RECL, no
//    markers; writing past the end extends the file (zero-filled gap), reading a record
//    beyond the end answers end of file and zero-fills the buffer.
//    Direct access is unformatted only: an open asking for it FORMATTED is refused with
//    kIosOpenError, and a record call of the wrong form or access answers kIosWrongForm.
//
// Every routine answers an IOSTAT code: 0 success, -1 end of file, a positive code from
// the table below on failure. Nothing here writes a message or stops the process.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::io {

// The IOSTAT table. Each code is named once; the numbers are the ones the message texts
// of the file utilities expect.
inline constexpr int32_t kIosOk = 0;
inline constexpr int32_t kIosEnd = -1;            // end of file
inline constexpr int32_t kIosPermission = 9;      // permission to access file denied
inline constexpr int32_t kIosFileExists = 10;     // STATUS NEW on an existing file
inline constexpr int32_t kIosBadRecord = 25;      // record number 0 or below
inline constexpr int32_t kIosFileNotFound = 29;   // STATUS OLD on a missing file
inline constexpr int32_t kIosNotConnected = 32;   // unit not connected, or not a unit
inline constexpr int32_t kIosWriteError = 38;     // error during write
inline constexpr int32_t kIosReadError = 39;      // error during read, or a bad field
inline constexpr int32_t kIosOpenError = 43;      // file name or open specifiers refused
inline constexpr int32_t kIosReadOnly = 47;       // write to a unit opened for reading
inline constexpr int32_t kIosWrongForm = 48;      // record kind does not match the connection
inline constexpr int32_t kIosNoInput = 145;       // no further input: stop retrying
inline constexpr int32_t kIosNoSpace = 608;       // no space left on device

enum class Access { Sequential, Direct, Append };
enum class Action { Read, Write, ReadWrite };
enum class Form { Formatted, Unformatted };
enum class Status { Old, New, Unknown, Scratch };
enum class Position { Rewind, Append };

// The specifiers of an OPEN. FILE is ignored for SCRATCH, which gets a unique name in
// the temporary directory (TMPDIR, else /tmp) and is removed from that directory as soon
// as it is made: the unit keeps the file until its close, and no process end leaves it
// behind. INQUIRE still answers with the name.
struct OpenSpec {
  std::string file;
  Access access = Access::Sequential;
  Action action = Action::ReadWrite;
  Form form = Form::Formatted;
  Status status = Status::Unknown;
  Position position = Position::Rewind;
  int32_t recl = 0;     // direct access: record length in 4-byte words (must be > 0)
  bool shared = false;  // recorded only; there are no mandatory locks
};

inline constexpr int32_t kStdinUnit = 5;
inline constexpr int32_t kStdoutUnit = 6;

// Connects UNIT. STATUS OLD finds the file as fileExists does. A unit connected to another file is closed first; units 5 and 6 cannot
// be reopened (kIosOpenError).
int32_t unitOpen(int32_t unit, const OpenSpec& want);

// Disconnects UNIT, keeping the file or deleting it. A scratch file ends with its close.
// Closing a unit that is not connected, or unit 5 or 6, does nothing and answers 0.
int32_t unitClose(int32_t unit, bool deleteFile = false);

// Flushes and closes every unit but 5 and 6, and flushes those two.
void closeAllUnits();

// INQUIRE by unit and by name.
bool unitIsOpen(int32_t unit);
std::string unitFileName(int32_t unit);  // empty when not connected
bool unitIsShared(int32_t unit);
int32_t unitRecl(int32_t unit);          // 0 unless connected for direct access
// The records a direct-access unit's file holds, a record only partly present counted:
// the file's size over the record's bytes, rounded up. 0 unless connected for direct access.
int64_t unitRecords(int32_t unit);
// A file looked for by name is found as named, else as the one file of its directory
// whose name matches ignoring case (names written on a platform that ignored case).
bool fileExists(std::string_view name);
bool findExistingFile(std::string_view name, std::string& actual);

// Positions a sequential unit at its first record; the next write truncates the file
// there (an end-file after the written records). A unit on a pipe, a FIFO or a terminal
// cannot be positioned (kIosReadError); its writes never truncate.
int32_t unitRewind(int32_t unit);
int32_t unitFlush(int32_t unit);

// Formatted sequential records. A write of a text is one record ending in "\n"; a
// non-advancing write (prompts) leaves the record open and writes no "\n".
int32_t writeRecord(int32_t unit, std::string_view text);
int32_t writeNonAdvancing(int32_t unit, std::string_view text);
// Reads the next record without its line end (and without a trailing "\r").
int32_t readRecord(int32_t unit, std::string& record);
// As above, keeping at most BOUND characters of the record: the rest of the line is read
// past without being stored, so a line of any length costs BOUND characters.
int32_t readRecord(int32_t unit, std::string& record, std::size_t bound);
// An (A) read into a fixed text of LENGTH characters: the record is cut at LENGTH or
// padded with blanks to it; no more than that is kept of a longer line.
int32_t readRecord(int32_t unit, char* text, int32_t length);
// Test seam: the most characters a formatted read kept of one record since the reset.
std::size_t largestRecordRead();
void resetLargestRecordRead();

// Unformatted sequential records of 32-bit words, framed by length markers.
int32_t writeUnformatted(int32_t unit, std::span<const int32_t> words);
// Reads the next record into WORDS (at most its capacity; the rest of a longer record is
// skipped, a shorter record leaves the tail of WORDS untouched). COUNT receives the
// number of words the record holds.
int32_t readUnformatted(int32_t unit, std::span<int32_t> words, int32_t& count);

// Direct-access records of RECL words, numbered from 1. A write shorter than RECL is
// zero-filled to the record length; a longer one is cut at RECL.
int32_t writeDirect(int32_t unit, int64_t record, std::span<const int32_t> words);
// Reads record RECORD into WORDS (at most RECL words). A record beyond the end of the
// file answers kIosEnd with WORDS zero-filled; a record that is only partly present is
// zero-filled past the end.
int32_t readDirect(int32_t unit, int64_t record, std::span<int32_t> words);
// Reads WORDS.size() words of a direct-access unit's file from word FIRST on (from 1; the
// words of the records in file order, record r beginning at word (r - 1) x RECL + 1), one
// run across as many records as it spans. kIosOk; kIosEnd when the file ends first, the
// words past its end zero; kIosBadRecord for FIRST below 1; on a read error WORDS is
// zero-filled.
int32_t readDirectWords(int32_t unit, int64_t first, std::span<int32_t> words);

// The temporary directory that scratch files are made in.
std::string tempDirectory();

// Lets tests see what units 5 and 6 read and write: FD replaces the descriptor behind the
// unit until restored with -1.
void redirectStandardUnit(int32_t unit, int fd);

}  // namespace kvr::io
