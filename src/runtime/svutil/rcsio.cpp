#include "runtime/svutil/rcsio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/fmtedit.h"
#include "runtime/svutil/svdiag.h"

namespace kvr {
namespace {

constexpr std::size_t kChunk = 10240;        // bytes read at a time
constexpr std::string_view kArchiveSuffix = ",v";
// What precedes an archive's head revision text, as the descriptor reader scans for it.
constexpr std::string_view kTextMarker = "\n@\ntext\n@";

bool endsWithArchive(std::string_view path) {
  return path.size() >= kArchiveSuffix.size() &&
         path.substr(path.size() - kArchiveSuffix.size()) == kArchiveSuffix;
}

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The next undecoded byte of the file, or EOF.
int rawGet(SvRcsFile* r) {
  if (r->stream) return std::fgetc(r->stream);
  if (r->bufferPos == r->bufferEnd) {
    if (r->buffer.size() < kChunk) r->buffer.resize(kChunk);
    ssize_t got;
    do {
      got = ::read(r->fd, r->buffer.data(), r->buffer.size());
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return EOF;
    r->bufferPos = 0;
    r->bufferEnd = static_cast<std::size_t>(got);
  }
  return static_cast<unsigned char>(r->buffer[r->bufferPos++]);
}

// The next character of the text: for an archive "@@" gives "@" and a single "@" ends
// the text. Both bytes of a pair are taken here, so a pair is never split between two
// reads.
int readerGet(SvRcsFile* r) {
  if (r->pushedBack >= 0) {
    int c = r->pushedBack;
    r->pushedBack = -1;
    return c;
  }
  if (!r->archive) return rawGet(r);
  if (r->endOfText) return EOF;
  int c = rawGet(r);
  if (c == '@') {
    int d = rawGet(r);
    if (d == '@') return '@';
    c = EOF;
  }
  if (c == EOF) r->endOfText = true;
  return c;
}

int readerUnget(SvRcsFile* r, int c) {
  if (c == EOF) return EOF;
  if (r->stream && !r->archive) return std::ungetc(c, r->stream);
  if (r->pushedBack >= 0) return EOF;
  r->pushedBack = c;
  return c;
}

// Reads one line of the stream without its newline; false at end of file.
bool readLine(std::FILE* f, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    if (c == '\n') return true;
    line += static_cast<char>(c);
  }
  return !line.empty();
}

// Places an archive stream at the start of its head revision text: after a line "@", a
// line "text" and an "@".
bool findStreamText(SvRcsFile* r) {
  if (std::fseek(r->stream, 0, SEEK_SET) != 0) return false;
  std::string line;
  bool afterAt = false;
  while (readLine(r->stream, line)) {
    if (afterAt && line == "text") {
      int c = std::fgetc(r->stream);
      if (c == '@') {
        r->textStart = std::ftell(r->stream);
        return true;
      }
      if (c != EOF) std::ungetc(c, r->stream);
    }
    afterAt = line == "@";
  }
  return false;
}

// The same for a descriptor reader, scanning for the marker across chunk boundaries.
bool findFdText(SvRcsFile* r) {
  if (::lseek(r->fd, 0, SEEK_SET) < 0) return false;
  r->bufferPos = r->bufferEnd = 0;
  std::string window;
  int c;
  while ((c = rawGet(r)) != EOF) {
    window += static_cast<char>(c);
    if (window.size() > kTextMarker.size()) window.erase(0, 1);
    if (window == kTextMarker) return true;
  }
  return false;
}

void resetText(SvRcsFile* r) {
  r->endOfText = false;
  r->pushedBack = -1;
}

std::string errorText(std::string_view a, std::string_view b = {}, std::string_view c = {},
                      std::string_view d = {}) {
  std::string s(a);
  s.append(b).append(c).append(d);
  return s;
}

// Reads an unsigned or signed decimal field of at most MAXDIGITS digits (0: any) at S[I].
bool readField(std::string_view s, std::size_t& i, std::size_t maxDigits, int32_t& value) {
  std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && (maxDigits == 0 || digits < maxDigits)) {
    ++i;
    ++digits;
  }
  if (digits == 0) return false;
  return fmt::readI(s.substr(start, i - start), value);
}

// The stream operations of fgetls and SvRcsGetls.
class StreamSource : public SvLineSource {
 public:
  explicit StreamSource(std::FILE* f) : f_(f) {}
  char* gets(char* buffer, int32_t size) override { return std::fgets(buffer, size, f_); }
  int getChar() override { return std::fgetc(f_); }
  int ungetChar(int c) override { return std::ungetc(c, f_); }

 private:
  std::FILE* f_;
};

class ReaderSource : public SvLineSource {
 public:
  explicit ReaderSource(SvRcsFile* r) : r_(r) {}
  char* gets(char* buffer, int32_t size) override { return SvRcsGets(buffer, size, r_); }
  int getChar() override { return readerGet(r_); }
  int ungetChar(int c) override { return readerUnget(r_, c); }

 private:
  SvRcsFile* r_;
};

int32_t readLogicalLine(char* buffer, int32_t size, SvLineSource& source, int32_t mode) {
  if (buffer == nullptr || size < 2) return 0;
  SvLineState state;
  state.buffer = buffer;
  state.size = size;
  buffer[0] = '\0';
  for (;;) {
    if (source.gets(buffer + state.next, size - state.next) == nullptr) return state.parts;
    ++state.parts;
    if (SvLineJoin(state, source, mode) == 0) return state.incomplete ? -state.parts : state.parts;
  }
}

}  // namespace

SvRcsFile* SvRcsOpen(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  std::string p = path;
  if (!exists(p)) {
    p += kArchiveSuffix;
    if (!exists(p)) return nullptr;
  }
  std::FILE* f = std::fopen(p.c_str(), mode);
  if (f == nullptr) {
    sv::errorLine(errorText("Can't open ", p, " (mode ", mode) + ")");
    return nullptr;
  }
  auto* r = new SvRcsFile;
  r->path = p;
  r->stream = f;
  r->archive = endsWithArchive(p);
  if (r->archive && !findStreamText(r)) {
    sv::errorLine(errorText("Can't find string \"^text\\n@\" in ", p));
    SvRcsClose(r);
    return nullptr;
  }
  return r;
}

int32_t SvRcsRewind(SvRcsFile* r) {
  if (r == nullptr) return -1;
  resetText(r);
  if (r->stream) {
    std::clearerr(r->stream);
    if (r->archive) return findStreamText(r) ? 0 : -1;
    return std::fseek(r->stream, r->textStart, SEEK_SET) == 0 ? 0 : -1;
  }
  if (r->archive) return findFdText(r) ? 0 : -1;
  r->bufferPos = r->bufferEnd = 0;
  return ::lseek(r->fd, 0, SEEK_SET) < 0 ? -1 : 0;
}

int32_t SvRcsClose(SvRcsFile* r) {
  if (r == nullptr) return -1;
  int32_t result = 0;
  if (r->stream) result = std::fclose(r->stream);
  else if (r->fd >= 0) result = ::close(r->fd);
  delete r;
  return result;
}

std::size_t SvRcsRead(void* buffer, std::size_t size, std::size_t count, SvRcsFile* r) {
  if (r == nullptr || buffer == nullptr || size == 0 || count == 0) return 0;
  if (r->stream && !r->archive) return std::fread(buffer, size, count, r->stream);
  if (count > std::numeric_limits<std::size_t>::max() / size) count = std::numeric_limits<std::size_t>::max() / size;
  std::size_t want = size * count;
  auto* out = static_cast<char*>(buffer);
  std::size_t n = 0;
  while (n < want) {
    int c = readerGet(r);
    if (c == EOF) break;
    out[n++] = static_cast<char>(c);
  }
  return n / size;
}

char* SvRcsGets(char* buffer, int32_t size, SvRcsFile* r) {
  if (r == nullptr || buffer == nullptr || size < 1) return nullptr;
  if (r->stream && !r->archive) return std::fgets(buffer, size, r->stream);
  int32_t n = 0;
  while (n < size - 1) {
    int c = readerGet(r);
    if (c == EOF) break;
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  if (n == 0 && (size > 1 || r->endOfText)) return nullptr;
  return buffer;
}

SvRcsFile* SvRcsNew(std::FILE* stream) {
  auto* r = new SvRcsFile;
  r->stream = stream;
  return r;
}

int64_t SvRcsSize(const char* path) {
  SvRcsFile* r = SvRcsOpen(path, "r");
  if (r == nullptr) return 0;
  std::vector<char> chunk(kChunk);
  int64_t total = 0;
  std::size_t got;
  while ((got = SvRcsRead(chunk.data(), 1, chunk.size(), r)) > 0) total += static_cast<int64_t>(got);
  SvRcsClose(r);
  return total;
}

std::time_t SvRcsDate(const char* path) {
  if (path == nullptr) return 0;
  std::FILE* f = std::fopen(path, "r");
  if (f == nullptr) return 0;
  std::string line;
  bool found = false;
  while (readLine(f, line)) {
    if (line.size() > 4 && line.compare(0, 4, "date") == 0 && (line[4] == ' ' || line[4] == '\t')) {
      found = true;
      break;
    }
  }
  std::fclose(f);
  if (!found) return 0;
  std::size_t i = 4;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  int32_t v[6];
  for (int k = 0; k < 6; ++k) {
    if (k > 0) {
      if (i >= line.size() || line[i] != '.') return 0;
      ++i;
    }
    if (!readField(line, i, k == 0 ? 0 : 2, v[k])) return 0;
  }
  int32_t year = v[0];
  if (year < 70) year += 2000;
  else if (year <= 1900) year += 1900;
  struct tm t = {};
  t.tm_year = year - 1900;
  t.tm_mon = v[1] - 1;
  t.tm_mday = v[2];
  t.tm_hour = v[3];
  t.tm_min = v[4];
  t.tm_sec = v[5];
  // The date is universal time: converting it as local time and correcting by whole
  // hours gave the wrong day east of UTC+5 and the wrong time in half-hour zones.
  std::time_t when = ::timegm(&t);
  return when == static_cast<std::time_t>(-1) ? 0 : when;
}

int32_t SvRcsAccess(const char* path, int mode) {
  if (path == nullptr) return -1;
  std::string plain = path;
  if (endsWithArchive(plain)) plain.resize(plain.size() - kArchiveSuffix.size());
  std::string archive = plain + std::string(kArchiveSuffix);
  bool plainOk = !plain.empty() && ::access(plain.c_str(), mode) == 0;
  bool archiveOk = ::access(archive.c_str(), mode) == 0;
  if (plainOk && archiveOk) return 3;
  if (plainOk) return 1;
  if (archiveOk) return 2;
  return -1;
}

int32_t SvRcsStatF(const char* path, struct stat* record, SvStatFunc status) {
  if (path == nullptr || record == nullptr || status == nullptr) return -1;
  int32_t found = SvRcsAccess(path, F_OK);
  if (found == -1) return -1;
  std::string p = path;
  bool archive = endsWithArchive(p);
  if (!archive && found == 2) {
    p += kArchiveSuffix;
    archive = true;
  }
  if (status(p.c_str(), record) < 0) return -1;
  if (archive) {
    record->st_mtime = SvRcsDate(p.c_str());
    record->st_size = static_cast<off_t>(SvRcsSize(p.c_str()));
  }
  return found;
}

int32_t SvRcsStat(const char* path, struct stat* record) {
  return SvRcsStatF(path, record, [](const char* p, struct stat* s) { return ::stat(p, s); });
}

SvRcsFile* SvRcsOpenFd(const char* path, int flags, int permission) {
  if (path == nullptr) return nullptr;
  std::string p = path;
  int fd = ::open(p.c_str(), flags, permission);
  if (fd < 0 && !endsWithArchive(p)) {
    p += kArchiveSuffix;
    fd = ::open(p.c_str(), flags, permission);
  }
  if (fd < 0) return nullptr;
  auto* r = new SvRcsFile;
  r->path = p;
  r->fd = fd;
  r->archive = endsWithArchive(p);
  if (r->archive && !findFdText(r)) {
    SvRcsCloseFd(r);
    return nullptr;
  }
  return r;
}

int64_t SvRcsReadFd(SvRcsFile* r, void* buffer, std::size_t size) {
  if (r == nullptr || buffer == nullptr || r->fd < 0) return -1;
  if (!r->archive) {
    ssize_t got;
    do {
      got = ::read(r->fd, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
  }
  auto* out = static_cast<char*>(buffer);
  std::size_t n = 0;
  while (n < size) {
    int c = readerGet(r);
    if (c == EOF) break;
    out[n++] = static_cast<char>(c);
  }
  return static_cast<int64_t>(n);
}

int32_t SvRcsCloseFd(SvRcsFile* r) { return SvRcsClose(r); }

int32_t SvLineJoin(SvLineState& st, SvLineSource& source, int32_t mode) {
  char* part = st.buffer + st.next;
  int32_t room = st.size - st.next - 1;  // characters this part could hold
  auto len = static_cast<int32_t>(strnlen(part, static_cast<std::size_t>(room)));
  int32_t end = st.next + len;
  int32_t next = -1;

  if (len > 0 && part[len - 1] == '\n') {
    if (len < 2 || part[len - 2] != '\\') return 0;  // the line is complete
    if (mode == kSvJoinDrop) {
      next = end - 2;
    } else if (mode == kSvJoinNewline) {
      st.buffer[end - 2] = '\n';
      next = end - 1;
    } else {
      next = end;
    }
  } else if (len == 0 || len < room) {
    return 0;  // an empty line, or the last line of the file without a newline
  } else if (part[len - 1] != '\\') {
    st.incomplete = true;  // the buffer is full and the line goes on
    return 0;
  } else {
    // A backslash fills the buffer: a continuation only when a newline follows.
    int c = source.getChar();
    if (c != '\n') {
      if (c != EOF && source.ungetChar(c) == EOF) sv::errorLine("fgetls: ungetc failed");
      st.incomplete = true;
      return 0;
    }
    if (mode == kSvJoinDrop) {
      next = end - 1;
    } else {
      // Keeping the newline needs room the full buffer does not have: give it back.
      source.ungetChar(c);
      st.incomplete = true;
      return 0;
    }
  }
  st.buffer[next] = '\0';
  // A following part needs room for at least one character and the NUL.
  if (st.size - next < 2) {
    st.incomplete = true;
    return 0;
  }
  st.next = next;
  return 1;
}

int32_t fgetls(char* buffer, int32_t size, std::FILE* stream, int32_t mode) {
  if (stream == nullptr) return 0;
  StreamSource source(stream);
  return readLogicalLine(buffer, size, source, mode);
}

int32_t SvRcsGetls(char* buffer, int32_t size, SvRcsFile* reader, int32_t mode) {
  if (reader == nullptr) return 0;
  ReaderSource source(reader);
  return readLogicalLine(buffer, size, source, mode);
}

int32_t SvPutls(const char* s, std::FILE* stream) {
  if (s == nullptr || stream == nullptr) return -1;
  for (const char* p = s; *p != '\0'; ++p) {
    if (*p == '\n' && p[1] != '\0' && std::fputc('\\', stream) == EOF) return -1;
    if (std::fputc(*p, stream) == EOF) return -1;
  }
  return std::ferror(stream) ? -1 : 0;
}

const char* SvCopyLine(const char* source, char* target, int32_t n) {
  if (source == nullptr || *source == '\0' || target == nullptr || n < 1) return nullptr;
  int32_t i = 0;
  while (i < n - 1 && source[i] != '\0') {
    target[i] = source[i];
    ++i;
    if (source[i - 1] == '\n') break;
  }
  target[i] = '\0';
  return source + i;
}

}  // namespace kvr
