#include "platform/unitio.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace kvr::io {
namespace {

constexpr std::size_t kRegularFileBuffer = 64 * 1024;

// One connected unit. Sequential connections go through a stdio stream (records are
// small and many); direct-access connections through pread/pwrite at 64-bit offsets.
struct Unit {
  std::string name;
  FILE* stream = nullptr;  // sequential
  int fd = -1;             // direct access
  Access access = Access::Sequential;
  Action action = Action::ReadWrite;
  Form form = Form::Formatted;
  int32_t recl = 0;
  bool scratch = false;   // its name is gone from the directory since the open
  bool regular = false;   // a regular file: one that can seek and be truncated
  bool shared = false;
  bool preconnected = false;
  bool lastWasRead = true;  // a write after a read or rewind first ends the file there
  bool openRecord = false;  // a non-advancing write left the record open
  std::unique_ptr<char[]> buffer;  // the stream's buffer, for a regular file

  Unit() = default;
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;
  // A unit still open at the process end is flushed here, before its buffer goes.
  ~Unit() {
    if (stream != nullptr && !preconnected) std::fclose(stream);
  }
};

struct UnitTable {
  std::unordered_map<int32_t, std::unique_ptr<Unit>> units;
  // The unit found last: a dataset writes or reads record after record on one unit. Any
  // change to the table forgets it.
  int32_t lastNumber = 0;
  Unit* last = nullptr;
  Unit stdinUnit;
  Unit stdoutUnit;
  FILE* redirectedIn = nullptr;
  FILE* redirectedOut = nullptr;

  UnitTable() {
    stdinUnit.stream = stdin;
    stdinUnit.action = Action::Read;
    stdinUnit.preconnected = true;
    stdoutUnit.stream = stdout;
    stdoutUnit.action = Action::Write;
    stdoutUnit.preconnected = true;
    stdoutUnit.lastWasRead = false;
  }
};

// The most characters a formatted read kept of one record, for the tests of the bound.
std::size_t& largestRecord() {
  static std::size_t n = 0;
  return n;
}

UnitTable& table() {
  static UnitTable t;
  return t;
}

Unit* find(int32_t unit) {
  UnitTable& t = table();
  if (unit == kStdinUnit) return &t.stdinUnit;
  if (unit == kStdoutUnit) return &t.stdoutUnit;
  if (t.last != nullptr && t.lastNumber == unit) return t.last;
  auto it = t.units.find(unit);
  if (it == t.units.end()) return nullptr;
  t.lastNumber = unit;
  t.last = it->second.get();
  return t.last;
}

int32_t openErrno(int e) {
  switch (e) {
    case EACCES:
    case EPERM:
    case EROFS:
      return kIosPermission;
    case ENOENT:
      return kIosFileNotFound;
    case EEXIST:
      return kIosFileExists;
    case ENOSPC:
      return kIosNoSpace;
    default:
      return kIosOpenError;
  }
}

// Records on disk are little-endian words; on such a host they move without conversion.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

int32_t writeErrno(int e) { return e == ENOSPC ? kIosNoSpace : kIosWriteError; }

void putLE32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

uint32_t getLE32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Sequential units: a write after a read or a rewind makes the record written the last
// one of the file, as an end-file would. A pipe, a FIFO or a terminal cannot seek and has
// nothing to truncate: its records simply follow.
int32_t prepareSequentialWrite(Unit& u) {
  if (!u.lastWasRead) return kIosOk;
  u.lastWasRead = false;
  if (u.preconnected || !u.regular) return kIosOk;
  if (std::fseek(u.stream, 0, SEEK_CUR) != 0) return writeErrno(errno);
  struct stat st;
  if (::fstat(fileno(u.stream), &st) != 0) return writeErrno(errno);
  long pos = std::ftell(u.stream);
  if (pos < 0) return writeErrno(errno);
  if (pos < st.st_size && ftruncate(fileno(u.stream), pos) != 0) return writeErrno(errno);
  return kIosOk;
}

int32_t prepareSequentialRead(Unit& u) {
  if (u.lastWasRead) return kIosOk;
  u.lastWasRead = true;
  if (u.preconnected) return kIosOk;
  if (std::fflush(u.stream) != 0) return writeErrno(errno);
  if (u.regular && std::fseek(u.stream, 0, SEEK_CUR) != 0) return kIosReadError;
  return kIosOk;
}

// Every record call names the form and access it needs; a unit connected otherwise
// answers the wrong-form status, whatever stream or descriptor it holds.
int32_t checkWritable(const Unit* u, Form form, Access access) {
  if (u == nullptr) return kIosNotConnected;
  if (u->action == Action::Read) return kIosReadOnly;
  if (u->form != form || u->access != access) return kIosWrongForm;
  return kIosOk;
}

int32_t checkReadable(const Unit* u, Form form, Access access) {
  if (u == nullptr) return kIosNotConnected;
  if (u->action == Action::Write) return kIosReadError;
  if (u->form != form || u->access != access) return kIosWrongForm;
  return kIosOk;
}

std::string directoryPart(const std::string& name) {
  auto slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool pathExists(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0;
}

int closeUnit(Unit& u, bool deleteFile) {
  int rc = 0;
  if (u.stream != nullptr) {
    if (u.openRecord) std::fputc('\n', u.stream);
    if (std::fclose(u.stream) != 0) rc = errno ? errno : EIO;
    u.stream = nullptr;
  }
  if (u.fd >= 0) {
    if (::close(u.fd) != 0) rc = errno;
    u.fd = -1;
  }
  // A scratch file's name went with its open; another file may carry it by now.
  if (deleteFile && !u.scratch && !u.name.empty()) {
    if (::unlink(u.name.c_str()) != 0 && rc == 0) rc = errno;
  }
  return rc;
}

}  // namespace

bool findExistingFile(std::string_view name, std::string& actual) {
  std::string exact(name);
  if (exact.empty() || exact.find('\0') != std::string::npos) return false;
  if (pathExists(exact)) {
    actual = exact;
    return true;
  }
  // Names differing only in case: the files of the original platform were found whatever
  // the case of the name asked; take a match ignoring case when it is the only one.
  std::string dir = directoryPart(exact);
  std::string base = exact.substr(dir.size());
  if (base.empty()) return false;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return false;
  std::string match;
  int matches = 0;
  while (dirent* e = ::readdir(d)) {
    if (strcasecmp(e->d_name, base.c_str()) == 0) {
      match = e->d_name;
      ++matches;
    }
  }
  ::closedir(d);
  if (matches != 1) return false;
  actual = dir + match;
  return true;
}

std::string tempDirectory() {
  const char* t = std::getenv("TMPDIR");
  std::string dir = (t != nullptr && *t != '\0') ? t : "/tmp";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

int32_t unitOpen(int32_t unit, const OpenSpec& want) {
  if (unit == kStdinUnit || unit == kStdoutUnit) return kIosOpenError;
  if (want.access == Access::Direct && want.recl <= 0) return kIosOpenError;
  // Direct-access records are words; text records have no fixed length here.
  if (want.access == Access::Direct && want.form == Form::Formatted) return kIosOpenError;
  unitClose(unit);

  auto u = std::make_unique<Unit>();
  u->access = want.access == Access::Append ? Access::Sequential : want.access;
  u->action = want.action;
  u->form = want.form;
  u->recl = want.access == Access::Direct ? want.recl : 0;
  u->shared = want.shared;

  int fd = -1;
  if (want.status == Status::Scratch) {
    std::string pattern = tempDirectory() + "/kvrscratchXXXXXX";
    fd = ::mkstemp(pattern.data());
    if (fd < 0) return openErrno(errno);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // Removed from its directory at once: the descriptor keeps the file, and nothing is
    // left behind however the process ends. INQUIRE still answers with the name.
    ::unlink(pattern.c_str());
    u->name = pattern;
    u->scratch = true;
    u->regular = true;
    u->action = Action::ReadWrite;
  } else {
    if (want.file.empty() || want.file.find('\0') != std::string::npos) return kIosOpenError;
    std::string name = want.file;
    if (want.status == Status::Old) {
      std::string actual;
      if (!findExistingFile(name, actual)) return kIosFileNotFound;
      name = actual;
    }
    int flags = O_CLOEXEC;
    switch (want.action) {
      case Action::Read: flags |= O_RDONLY; break;
      case Action::Write: flags |= O_WRONLY; break;
      case Action::ReadWrite: flags |= O_RDWR; break;
    }
    if (want.status == Status::New) {
      flags |= O_CREAT | O_EXCL;
    } else if (want.status == Status::Unknown && want.action != Action::Read) {
      flags |= O_CREAT;
    }
    fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0) return openErrno(errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return kIosOpenError;
    }
    u->regular = S_ISREG(st.st_mode);
    u->name = name;
  }

  if (u->access == Access::Direct) {
    u->fd = fd;
  } else {
    const char* mode = u->action == Action::Read ? "rb" : (u->action == Action::Write ? "wb" : "r+b");
    // fdopen with "w" does not truncate; the file keeps its records until a write ends it.
    u->stream = ::fdopen(fd, mode);
    if (u->stream == nullptr) {
      int e = errno;
      ::close(fd);
      return openErrno(e);
    }
    // Records are small and many: a file larger than its buffer would otherwise cost a
    // system call every 4 KiB. Other streams (pipes, terminals) keep stdio's choice.
    if (u->regular) {
      u->buffer = std::make_unique<char[]>(kRegularFileBuffer);
      std::setvbuf(u->stream, u->buffer.get(), _IOFBF, kRegularFileBuffer);
    }
    bool append = want.access == Access::Append || want.position == Position::Append;
    if (append) {
      std::fseek(u->stream, 0, SEEK_END);
      u->lastWasRead = false;
    }
  }
  table().last = nullptr;
  table().units[unit] = std::move(u);
  return kIosOk;
}

int32_t unitClose(int32_t unit, bool deleteFile) {
  if (unit == kStdinUnit || unit == kStdoutUnit) return kIosOk;
  auto& units = table().units;
  auto it = units.find(unit);
  if (it == units.end()) return kIosOk;
  int rc = closeUnit(*it->second, deleteFile);
  table().last = nullptr;
  units.erase(it);
  if (rc == 0) return kIosOk;
  return rc == ENOSPC ? kIosNoSpace : kIosWriteError;
}

void closeAllUnits() {
  auto& units = table().units;
  for (auto& [number, u] : units) closeUnit(*u, false);
  table().last = nullptr;
  units.clear();
  unitFlush(kStdoutUnit);
}

bool unitIsOpen(int32_t unit) { return find(unit) != nullptr; }

std::string unitFileName(int32_t unit) {
  const Unit* u = find(unit);
  return u == nullptr ? std::string() : u->name;
}

bool unitIsShared(int32_t unit) {
  const Unit* u = find(unit);
  return u != nullptr && u->shared;
}

int32_t unitRecl(int32_t unit) {
  const Unit* u = find(unit);
  return u == nullptr ? 0 : u->recl;
}

int64_t unitRecords(int32_t unit) {
  const Unit* u = find(unit);
  if (u == nullptr || u->access != Access::Direct || u->recl <= 0) return 0;
  struct stat st;
  if (::fstat(u->fd, &st) != 0) return 0;
  const int64_t bytes = int64_t{u->recl} * 4;
  return (static_cast<int64_t>(st.st_size) + bytes - 1) / bytes;
}

bool fileExists(std::string_view name) {
  std::string actual;
  return findExistingFile(name, actual);
}

int32_t unitRewind(int32_t unit) {
  Unit* u = find(unit);
  if (u == nullptr) return kIosNotConnected;
  if (u->preconnected || u->stream == nullptr) return kIosOk;
  if (u->openRecord) {
    std::fputc('\n', u->stream);
    u->openRecord = false;
  }
  if (std::fflush(u->stream) != 0) return writeErrno(errno);
  if (std::fseek(u->stream, 0, SEEK_SET) != 0) return kIosReadError;
  u->lastWasRead = true;
  return kIosOk;
}

int32_t unitFlush(int32_t unit) {
  Unit* u = find(unit);
  if (u == nullptr) return kIosNotConnected;
  if (u->stream != nullptr && u->action != Action::Read) {
    if (std::fflush(u->stream) != 0) return writeErrno(errno);
  }
  return kIosOk;
}

namespace {

int32_t writeText(int32_t unit, std::string_view text, bool advance) {
  Unit* u = find(unit);
  if (int32_t rc = checkWritable(u, Form::Formatted, Access::Sequential)) return rc;
  if (int32_t rc = prepareSequentialWrite(*u)) return rc;
  errno = 0;
  if (u->preconnected) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), u->stream) != text.size()) {
      return writeErrno(errno);
    }
    if (advance && std::fputc('\n', u->stream) == EOF) return writeErrno(errno);
  } else {
    // A file unit's stream is the library's own, used from one thread at a time: its lock
    // is not taken per record.
    if (!text.empty() &&
        fwrite_unlocked(text.data(), 1, text.size(), u->stream) != text.size()) {
      return writeErrno(errno);
    }
    if (advance && putc_unlocked('\n', u->stream) == EOF) return writeErrno(errno);
  }
  u->openRecord = !advance;
  // Standard output is shared with the host and the terminal: keep it in order.
  if (u->preconnected || !advance) {
    if (std::fflush(u->stream) != 0) return writeErrno(errno);
  }
  return kIosOk;
}

}  // namespace

int32_t writeRecord(int32_t unit, std::string_view text) { return writeText(unit, text, true); }

int32_t writeNonAdvancing(int32_t unit, std::string_view text) {
  return writeText(unit, text, false);
}

int32_t readRecord(int32_t unit, std::string& record) {
  return readRecord(unit, record, std::string::npos);
}

int32_t readRecord(int32_t unit, std::string& record, std::size_t bound) {
  Unit* u = find(unit);
  if (int32_t rc = checkReadable(u, Form::Formatted, Access::Sequential)) return rc;
  if (int32_t rc = prepareSequentialRead(*u)) return rc;
  if (u->preconnected) std::fflush(table().stdoutUnit.stream);
  u->openRecord = false;
  record.clear();
  bool any = false;
  bool cut = false;  // characters past the bound were skipped
  for (;;) {
    int c = std::getc(u->stream);
    if (c == EOF) {
      if (std::ferror(u->stream)) {
        std::clearerr(u->stream);
        return kIosReadError;
      }
      std::clearerr(u->stream);  // a terminal may give more input later
      if (!any) return kIosEnd;
      break;
    }
    any = true;
    if (c == '\n') break;
    if (record.size() < bound) {
      record.push_back(static_cast<char>(c));
    } else {
      cut = true;
    }
  }
  if (!cut && !record.empty() && record.back() == '\r') record.pop_back();
  largestRecord() = std::max(largestRecord(), record.size());
  return kIosOk;
}

int32_t readRecord(int32_t unit, char* text, int32_t length) {
  std::string record;
  int32_t rc = readRecord(unit, record, static_cast<std::size_t>(std::max(length, 0)));
  if (rc != kIosOk || length <= 0) return rc;
  size_t n = std::min(record.size(), static_cast<size_t>(length));
  std::memcpy(text, record.data(), n);
  std::memset(text + n, ' ', static_cast<size_t>(length) - n);
  return kIosOk;
}

std::size_t largestRecordRead() { return largestRecord(); }
void resetLargestRecordRead() { largestRecord() = 0; }

int32_t writeUnformatted(int32_t unit, std::span<const int32_t> words) {
  Unit* u = find(unit);
  if (int32_t rc = checkWritable(u, Form::Unformatted, Access::Sequential)) return rc;
  if (int32_t rc = prepareSequentialWrite(*u)) return rc;
  uint64_t bytes = static_cast<uint64_t>(words.size()) * 4;
  if (bytes > 0x7fffffffu) return kIosWriteError;
  unsigned char marker[4];
  putLE32(marker, static_cast<uint32_t>(bytes));
  errno = 0;
  if (std::fwrite(marker, 1, 4, u->stream) != 4) return writeErrno(errno);
  if constexpr (kLittleEndian) {
    if (!words.empty() && std::fwrite(words.data(), 4, words.size(), u->stream) != words.size()) {
      return writeErrno(errno);
    }
  } else {
    for (int32_t w : words) {
      unsigned char b[4];
      putLE32(b, static_cast<uint32_t>(w));
      if (std::fwrite(b, 1, 4, u->stream) != 4) return writeErrno(errno);
    }
  }
  if (std::fwrite(marker, 1, 4, u->stream) != 4) return writeErrno(errno);
  return kIosOk;
}

int32_t readUnformatted(int32_t unit, std::span<int32_t> words, int32_t& count) {
  Unit* u = find(unit);
  if (int32_t rc = checkReadable(u, Form::Unformatted, Access::Sequential)) return rc;
  if (int32_t rc = prepareSequentialRead(*u)) return rc;
  unsigned char marker[4];
  size_t got = std::fread(marker, 1, 4, u->stream);
  if (got == 0 && std::feof(u->stream)) {
    std::clearerr(u->stream);
    return kIosEnd;
  }
  if (got != 4) return kIosReadError;
  uint32_t bytes = getLE32(marker);
  uint32_t n = bytes / 4;
  count = static_cast<int32_t>(n);
  uint32_t kept = std::min<uint32_t>(n, static_cast<uint32_t>(words.size()));
  if constexpr (kLittleEndian) {
    if (kept > 0 && std::fread(words.data(), 4, kept, u->stream) != kept) return kIosReadError;
  } else {
    for (uint32_t k = 0; k < kept; ++k) {
      unsigned char b[4];
      if (std::fread(b, 1, 4, u->stream) != 4) return kIosReadError;
      words[k] = static_cast<int32_t>(getLE32(b));
    }
  }
  if (n > kept && std::fseek(u->stream, static_cast<long>(n - kept) * 4, SEEK_CUR) != 0) {
    return kIosReadError;
  }
  if (bytes % 4 != 0 && std::fseek(u->stream, bytes % 4, SEEK_CUR) != 0) return kIosReadError;
  unsigned char tail[4];
  if (std::fread(tail, 1, 4, u->stream) != 4 || getLE32(tail) != bytes) return kIosReadError;
  return kIosOk;
}

int32_t writeDirect(int32_t unit, int64_t record, std::span<const int32_t> words) {
  Unit* u = find(unit);
  if (int32_t rc = checkWritable(u, Form::Unformatted, Access::Direct)) return rc;
  if (record < 1) return kIosBadRecord;
  size_t recl = static_cast<size_t>(u->recl);
  const unsigned char* bytes;
  std::unique_ptr<unsigned char[]> buf;
  if (kLittleEndian && words.size() >= recl) {
    bytes = reinterpret_cast<const unsigned char*>(words.data());
  } else {
    buf.reset(new unsigned char[recl * 4]());
    size_t n = std::min(words.size(), recl);
    for (size_t k = 0; k < n; ++k) putLE32(&buf[k * 4], static_cast<uint32_t>(words[k]));
    bytes = buf.get();
  }
  off_t offset = static_cast<off_t>(record - 1) * static_cast<off_t>(recl) * 4;
  size_t done = 0;
  while (done < recl * 4) {
    ssize_t w = ::pwrite(u->fd, bytes + done, recl * 4 - done, offset + static_cast<off_t>(done));
    if (w < 0) {
      if (errno == EINTR) continue;
      return writeErrno(errno);
    }
    if (w == 0) return kIosWriteError;
    done += static_cast<size_t>(w);
  }
  return kIosOk;
}

int32_t readDirect(int32_t unit, int64_t record, std::span<int32_t> words) {
  Unit* u = find(unit);
  if (int32_t rc = checkReadable(u, Form::Unformatted, Access::Direct)) return rc;
  if (record < 1) return kIosBadRecord;
  // The words the read does not fill are zero; they are cleared after it, not before.
  unsigned char* all = reinterpret_cast<unsigned char*>(words.data());
  const auto zeroFrom = [&](size_t byte) {
    std::fill(all + byte, all + words.size() * 4, static_cast<unsigned char>(0));
  };
  size_t n = std::min(words.size(), static_cast<size_t>(u->recl));
  off_t offset = static_cast<off_t>(record - 1) * static_cast<off_t>(u->recl) * 4;
  // A record that begins at or past the end of the file is the end of file. The read
  // itself tells: it answers no byte there, and only an empty record needs the size.
  if (n == 0) {
    zeroFrom(0);
    struct stat st;
    if (::fstat(u->fd, &st) != 0) return kIosReadError;
    return offset >= st.st_size ? kIosEnd : kIosOk;
  }
  std::unique_ptr<unsigned char[]> buf;
  unsigned char* bytes = all;
  if (!kLittleEndian) {
    buf.reset(new unsigned char[n * 4]());
    bytes = buf.get();
  }
  size_t done = 0;
  while (done < n * 4) {
    ssize_t r = ::pread(u->fd, bytes + done, n * 4 - done, offset + static_cast<off_t>(done));
    if (r < 0) {
      if (errno == EINTR) continue;
      zeroFrom(0);
      return kIosReadError;
    }
    if (r == 0) {
      if (done == 0) {
        zeroFrom(0);
        return kIosEnd;
      }
      break;  // the record runs past the end: the rest stays zero
    }
    done += static_cast<size_t>(r);
  }
  if (!kLittleEndian) {
    for (size_t k = 0; k < n; ++k) words[k] = static_cast<int32_t>(getLE32(&buf[k * 4]));
    done = n * 4;
  }
  zeroFrom(done);
  return kIosOk;
}

int32_t readDirectWords(int32_t unit, int64_t first, std::span<int32_t> words) {
  Unit* u = find(unit);
  if (int32_t rc = checkReadable(u, Form::Unformatted, Access::Direct)) return rc;
  if (first < 1) return kIosBadRecord;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(words.data());
  const size_t total = words.size() * 4;
  const off_t offset = static_cast<off_t>(first - 1) * 4;
  size_t done = 0;
  while (done < total) {
    const ssize_t r = ::pread(u->fd, bytes + done, total - done, offset + static_cast<off_t>(done));
    if (r < 0) {
      if (errno == EINTR) continue;
      std::fill(bytes, bytes + total, static_cast<unsigned char>(0));
      return kIosReadError;
    }
    if (r == 0) break;
    done += static_cast<size_t>(r);
  }
  std::fill(bytes + done, bytes + total, static_cast<unsigned char>(0));
  if constexpr (!kLittleEndian) {
    for (size_t k = 0; k < words.size(); ++k) words[k] = static_cast<int32_t>(getLE32(&bytes[k * 4]));
  }
  return done == total ? kIosOk : kIosEnd;
}

void redirectStandardUnit(int32_t unit, int fd) {
  UnitTable& t = table();
  if (unit == kStdinUnit) {
    if (t.redirectedIn != nullptr) std::fclose(t.redirectedIn);
    t.redirectedIn = fd >= 0 ? ::fdopen(::dup(fd), "rb") : nullptr;
    t.stdinUnit.stream = t.redirectedIn != nullptr ? t.redirectedIn : stdin;
  } else if (unit == kStdoutUnit) {
    if (t.redirectedOut != nullptr) std::fclose(t.redirectedOut);
    t.redirectedOut = fd >= 0 ? ::fdopen(::dup(fd), "wb") : nullptr;
    t.stdoutUnit.stream = t.redirectedOut != nullptr ? t.redirectedOut : stdout;
  }
}

}  // namespace kvr::io
