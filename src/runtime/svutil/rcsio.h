// Archive-transparent reading, and lines continued with a backslash.
//
// A text file may be kept in a revision archive: when a name does not exist but the name
// with ",v" appended does, or when the name itself ends with ",v", the reader delivers
// the text of the archive's head revision (its first revision text) instead of the
// archive. That text follows a line "@", a line "text" and an "@"; inside it "@@" stands
// for one "@", and a single "@" (followed by the newline that closes the string, or by
// the end of the data) ends it. The decoding works character by character, so an "@@"
// or "@" + newline that falls across the end of a caller's buffer reads as a whole.
//
// fgetls reads one logical line: a line ending in a backslash and newline goes on in the
// next line. Its answer is the number of physical parts read, negative when the buffer
// filled up before the line ended, 0 at end of file.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace kvr {

// A reader over a stream (SvRcsOpen) or a file descriptor (SvRcsOpenFd).
struct SvRcsFile {
  std::string path;
  std::FILE* stream = nullptr;
  int fd = -1;
  long textStart = 0;       // offset of the first character of the text
  bool archive = false;
  bool endOfText = false;   // an archive's closing "@" has been read
  int pushedBack = -1;      // one decoded character given back (SvRcsGetls)
  // Descriptor readers read through this buffer.
  std::vector<char> buffer;
  std::size_t bufferPos = 0;
  std::size_t bufferEnd = 0;
};

// Opens PATH for reading text with the fopen MODE (see above for archives). Answers the
// reader, or nullptr: "Can't open %s (mode %s)" when the open fails, "Can't find string
// "^text\n@" in %s" when an archive holds no revision text.
SvRcsFile* SvRcsOpen(const char* path, const char* mode);
// Back to the first character of the text; answers 0, or -1 when an archive's text is
// no longer found.
int32_t SvRcsRewind(SvRcsFile* reader);
// Closes the stream (or descriptor) and frees the reader; answers the close's result,
// -1 for nullptr.
int32_t SvRcsClose(SvRcsFile* reader);
// Reads like fread: up to SIZE x COUNT bytes of the text; answers the number of whole
// items.
std::size_t SvRcsRead(void* buffer, std::size_t size, std::size_t count, SvRcsFile* reader);
// Reads one line like fgets (at most SIZE - 1 characters, up to and including a
// newline); nullptr at the end of the text.
char* SvRcsGets(char* buffer, int32_t size, SvRcsFile* reader);
// A new reader record over STREAM, every other field at its start value.
SvRcsFile* SvRcsNew(std::FILE* stream);

// The number of bytes of the file's text (an archive's head revision text); 0 when it
// cannot be opened.
int64_t SvRcsSize(const char* path);
// The time of the first line of PATH that begins with "date" and a blank or tab, read as
// "year.month.day.hour.minute.second" in universal time; 0 when there is none or it does
// not read. Years below 70 are 20xx, years above 1900 are taken whole.
std::time_t SvRcsDate(const char* path);
// access() with MODE on PATH without a ",v" ending and on PATH with it: 1 when only the
// plain file passes, 2 when only the archive, 3 when both, -1 when neither.
int32_t SvRcsAccess(const char* path, int mode);

// A status function: fills RECORD for PATH, answering -1 on failure.
using SvStatFunc = int (*)(const char* path, struct stat* record);
// The status of a file or its archive: answers SvRcsAccess(PATH, existence), -1 when
// neither exists or STATUS fails. For an archive the record's modification time is
// SvRcsDate and its size SvRcsSize of the archive.
int32_t SvRcsStatF(const char* path, struct stat* record, SvStatFunc status);
int32_t SvRcsStat(const char* path, struct stat* record);

// The same reader over a file descriptor: FLAGS and PERMISSION as for open(). When PATH
// cannot be opened and does not end in ",v", PATH + ",v" is tried.
SvRcsFile* SvRcsOpenFd(const char* path, int flags, int permission);
// Reads up to SIZE bytes of the text; answers their number, 0 at its end, -1 on error.
int64_t SvRcsReadFd(SvRcsFile* reader, void* buffer, std::size_t size);
int32_t SvRcsCloseFd(SvRcsFile* reader);

// Continued lines.

// The three stream operations a logical line is read with.
class SvLineSource {
 public:
  virtual ~SvLineSource() = default;
  virtual char* gets(char* buffer, int32_t size) = 0;
  virtual int getChar() = 0;
  virtual int ungetChar(int c) = 0;
};

// A logical line being read: the caller's buffer, where the next part goes, and the
// parts read so far.
struct SvLineState {
  char* buffer = nullptr;
  int32_t size = 0;
  int32_t next = 0;      // offset at which the part just read starts
  int32_t parts = 0;
  bool incomplete = false;
};

inline constexpr int32_t kSvJoinDrop = 0;   // backslash and newline removed
inline constexpr int32_t kSvJoinNewline = 1;  // only the newline kept
inline constexpr int32_t kSvJoinKeep = 2;   // both kept

// The continuation step after a part has been read at STATE.next: answers 1 when the
// line goes on (STATE.next then says where the next part goes), 0 when it is complete or
// incomplete (STATE.incomplete).
int32_t SvLineJoin(SvLineState& state, SvLineSource& source, int32_t mode);

int32_t fgetls(char* buffer, int32_t size, std::FILE* stream, int32_t mode);
int32_t SvRcsGetls(char* buffer, int32_t size, SvRcsFile* reader, int32_t mode);

// Writes S, putting a backslash before every newline but a final one; 0, or -1 on a
// write error.
int32_t SvPutls(const char* s, std::FILE* stream);
// Copies SOURCE up to and including its first newline, at most N - 1 characters, into
// TARGET and ends it with a NUL; answers the position after the copied part, nullptr for
// an empty source (or N below 1).
const char* SvCopyLine(const char* source, char* target, int32_t n);

}  // namespace kvr
