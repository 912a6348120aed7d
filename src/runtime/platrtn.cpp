#include "runtime/platrtn.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dirlist.h"
#include "platform/exedir.h"
#include "platform/fmtedit.h"
#include "platform/fsys.h"
#include "platform/oscmd.h"
#include "runtime/iounit.h"
#include "runtime/svutil/svmemory.h"

namespace kvr {
namespace {

// Copies S into TARGET as a NUL-terminated string cut to its capacity; false when TARGET
// has no room even for the NUL.
bool copyOut(std::string_view s, std::span<char> target) {
  if (target.empty()) return false;
  size_t n = std::min(s.size(), target.size() - 1);
  std::memcpy(target.data(), s.data(), n);
  target[n] = '\0';
  return true;
}

// True when a ".." step begins at offset I of PATH: it stands between separators (or the
// start and the end of the path).
bool isDotDot(std::string_view path, size_t i) {
  if (i + 2 > path.size() || path[i] != '.' || path[i + 1] != '.') return false;
  if (i > 0 && path[i - 1] != '/') return false;
  return i + 2 == path.size() || path[i + 2] == '/';
}

// The offset of the "/" that begins the directory name before the ".." step at offset I,
// or npos when there is none, or when that name is itself "..". Empty and "." names
// between them are passed over: "/a//.." and "/a/./.." step back over "a" as the file
// system does. The search never looks before the start of the path.
size_t precedingSeparator(std::string_view path, size_t i) {
  if (i == 0) return std::string_view::npos;
  size_t end = i - 1;  // the "/" that ends the name looked at
  while (end > 0) {
    size_t start = path.rfind('/', end - 1);
    if (start == std::string_view::npos) return std::string_view::npos;
    std::string_view name = path.substr(start + 1, end - start - 1);
    if (name == "..") return std::string_view::npos;
    if (!name.empty() && name != ".") return start;
    end = start;
  }
  return std::string_view::npos;
}

// The collapse itself, on a path of known length; each removal starts the scan again on
// the shortened path.
void collapse(std::string& path) {
  bool removed = true;
  while (removed) {
    removed = false;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      if (!isDotDot(path, i)) continue;
      size_t s = precedingSeparator(path, i);
      if (s == std::string_view::npos) continue;
      // "/a/.." is the root itself: keep its "/" rather than leave an empty path.
      if (s == 0 && i + 2 == path.size()) ++s;
      path.erase(s, i + 2 - s);
      removed = true;
      break;
    }
  }
}

// The part of PATH after its last "/".
const char* fileNamePart(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

// A target for SIZE characters, or for NEEDED when that is more, and a NUL; nullptr when
// no memory can be had.
char* allocateTarget(int32_t size, size_t needed) {
  size_t n = std::max(static_cast<size_t>(size), needed) + 1;
  int32_t failed = 0;
  return static_cast<char*>(SvMallocStat(n, SV_TAG("platrtn"), &failed));
}

// Copies at most SIZE characters of S into TARGET and ends it with a NUL.
void copyCut(char* target, const char* s, int32_t size) {
  size_t n = strnlen(s, static_cast<size_t>(size));
  std::memcpy(target, s, n);
  target[n] = '\0';
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The length of the number at the start of S: a sign, digits with at most one decimal
// point (at least one digit), then an exponent when digits follow its letter. 0 when S
// does not start with a number.
size_t numberLength(const char* s) {
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (s[i] == '.') {
    ++i;
    while (std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (s[i] == 'e' || s[i] == 'E') {
    size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (std::isdigit(static_cast<unsigned char>(s[j]))) {
      while (std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

// ---- The system -------------------------------------------------------------------

int32_t IsWinNT() { return 0; }

void ModuleDir(std::span<char> dir, int32_t& length) {
  std::string d = os::executableDirectory();
  length = 0;
  if (d.size() + 1 > dir.size()) {
    copyOut("", dir);
    return;
  }
  copyOut(d, dir);
  length = static_cast<int32_t>(d.size());
}

int32_t& bellsOffSwitch() { return IOUNIT.noBells; }

void WarnBeep() {
  if (bellsOffSwitch() == 1) return;
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

void WordSizes(int32_t& intBytes, int32_t& realBytes) {
  intBytes = static_cast<int32_t>(sizeof(int32_t));
  realBytes = static_cast<int32_t>(sizeof(float));
}

int32_t FileAccess(const char* path, int32_t write) {
  if (path == nullptr) return -1;
  return os::canAccess(path, write != 0 ? os::AccessWant::Write : os::AccessWant::Read) ? 0 : -1;
}

int32_t CwdGet(std::span<char> dir) {
  std::string d;
  if (!os::currentDirectory(d) || d.size() + 1 > dir.size()) return -1;
  copyOut(d, dir);
  return static_cast<int32_t>(d.size());
}

int32_t CwdSet(const char* path) {
  if (path == nullptr) return -1;
  return os::changeDirectory(path) ? 0 : -1;
}

int32_t DirList(int32_t mode, const char* pattern, std::span<char> name) {
  std::string found;
  bool ok = false;
  switch (mode) {
    case 1:
      if (pattern == nullptr) return 1;
      ok = os::searchOpen(pattern, found);
      break;
    case 2:
      ok = os::searchNext(found);
      break;
    case 3:
      os::searchClose();
      return 0;
    default:
      return 1;
  }
  if (!ok) return 1;
  copyOut(found, name);
  return 0;
}

// ---- Paths ------------------------------------------------------------------------

void PathCollapse(char* path) {
  if (path == nullptr) return;
  std::string p(path);
  collapse(p);
  // The collapsed path is never longer than the original.
  std::memcpy(path, p.c_str(), p.size() + 1);
}

void PathCollapseF(FText path) {
  std::string_view v = path.view();
  size_t n = std::min(v.find('\0'), v.size());
  std::string p(v.substr(0, n));
  collapse(p);
  if (p.size() == n) return;
  std::memcpy(path.data(), p.data(), p.size());
  path.data()[p.size()] = '\0';
}

int32_t PathPrevSep(const char* path, int32_t& pos, int32_t& result) {
  if (path == nullptr || pos < 0) return 0;
  std::string_view p(path);
  size_t i = static_cast<size_t>(pos);
  if (!isDotDot(p, i)) return 0;
  size_t s = precedingSeparator(p, i);
  if (s == std::string_view::npos) return 0;
  pos = static_cast<int32_t>(s);
  result += 4;
  return 1;
}

char* PathDir(char* target, const char* path, int32_t size) {
  if (path == nullptr || size <= 0) return nullptr;
  // A target made here must hold the whole copy, however SIZE compares with the path.
  if (target == nullptr) target = allocateTarget(size, std::strlen(path));
  if (target == nullptr) return nullptr;
  copyCut(target, path, size);
  if (char* slash = std::strrchr(target, '/')) *slash = '\0';
  return target;
}

const char* PathFile(char* target, const char* path, int32_t size) {
  if (path == nullptr || size <= 0) return nullptr;
  const char* file = fileNamePart(path);
  if (target == nullptr) return file;
  copyCut(target, file, size);
  return target;
}

char* PathStem(char* target, const char* path, int32_t size) {
  if (path == nullptr || size <= 0) return nullptr;
  if (target == nullptr) target = allocateTarget(size, std::strlen(fileNamePart(path)));
  if (target == nullptr) return nullptr;
  PathFile(target, path, size);
  if (char* dot = std::strrchr(target, '.')) *dot = '\0';
  return target;
}

char* PathShort(const char* path, char* target, int32_t size) {
  if (path == nullptr || target == nullptr) return nullptr;
  std::string p(path, strnlen(path, 260));
  const size_t L = size > 0 ? static_cast<size_t>(size) : 0;
  std::string out;
  if (p.size() < L) {
    out = p;
  } else if (L <= 5) {
    return nullptr;
  } else {
    // Paths have no drive letter here: the first directory follows the leading "/".
    std::string head = "...";
    size_t space = L - 4;
    size_t first = p.find('/');
    if (first != std::string::npos) {
      size_t next = p.find('/', first + 1);
      if (next != std::string::npos && next - first - 1 + 7 < L) {
        head = p.substr(0, next + 1) + "...";
        space = L - (next + 1) - 5;
      }
    }
    // The longest tail that starts at a "/" and fits in the space left.
    std::string tail;
    for (size_t t = p.find('/'); t != std::string::npos; t = p.find('/', t + 1)) {
      if (space >= 4 && p.size() - t <= space - 4) {
        tail = p.substr(t);
        break;
      }
    }
    if (!tail.empty()) {
      out = head + tail;
    } else {
      size_t slash = p.rfind('/');
      std::string last = slash == std::string::npos ? p : p.substr(slash + 1);
      if (slash != std::string::npos && last.size() + 1 + 4 + 1 < L) {
        out = "..." + p.substr(slash);
      } else if (last.size() < L) {
        out = last;
      } else {
        out = p.substr(0, L - 4) + "...";
      }
    }
  }
  std::memcpy(target, out.c_str(), out.size() + 1);
  return target;
}

// ---- Commands ---------------------------------------------------------------------

void OSCMD(FText command) { RunCommand(command.data(), command.trimmedLength()); }

void RunCommand(const char* command, int32_t n) {
  if (command == nullptr || n <= 0) return;
  std::string cmd(command, strnlen(command, static_cast<size_t>(n)));
  if (cmd.empty()) return;
  char mark = cmd.back();
  if (mark == '&' || mark == '$') {
    cmd.pop_back();
    SpawnCommand(cmd.c_str(), mark == '$' ? 1 : 0);
    return;
  }
  os::runShell(cmd);
}

void SpawnCommand(const char* command, int32_t wait) {
  if (command == nullptr) return;
  std::string copy(command);
  std::string_view cmd = StrTrim(copy.data());
  std::string_view program;
  std::string_view rest;
  if (!cmd.empty() && cmd.front() == '"') {
    size_t close = cmd.find('"', 1);
    program = cmd.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    if (close != std::string_view::npos) {
      rest = cmd.substr(close + 1);
      if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
  } else {
    size_t blank = cmd.find(' ');
    program = cmd.substr(0, blank);
    if (blank != std::string_view::npos) rest = cmd.substr(blank + 1);
  }
  int err = os::spawnProgram(std::string(program), os::splitArguments(rest), wait != 0);
  if (err == 0) return;
  std::string report = "Spawn Error\nCommand  : " + std::string(program) + "\nArguments: " +
                       std::string(rest) + "\n" + std::strerror(err) + "\n";
  std::fputs(report.c_str(), stderr);
  std::fflush(stderr);
}

// ---- The name map -----------------------------------------------------------------

namespace {

constexpr size_t kKeyChars = 8;
constexpr size_t kEntryBytes = 2 * kKeyChars;  // key, then value
constexpr size_t kNodeWords = 9;               // eight entry numbers, then link or -count
constexpr size_t kEntriesPerNode = 8;
constexpr int32_t kBuckets = 256;

// The map's tables. Entry and node blocks are reached through two tables of block
// pointers; each bucket keeps the numbers of its first and its last chain node (0: none).
struct NameMap {
  bool made = false;
  char** entryBlocks = nullptr;
  int32_t** nodeBlocks = nullptr;
  int32_t entryCapacity = 0;  // entry blocks the table can hold
  int32_t nodeCapacity = 0;
  int32_t entryBlockCount = 0;
  int32_t entriesInLast = 0;  // entries used in the newest entry block
  int32_t nodeBlockCount = 0;
  int32_t nodesInLast = 0;
  int32_t first[kBuckets] = {};
  int32_t last[kBuckets] = {};
};

NameMap& nameMap() {
  static NameMap map;
  return map;
}

// KEY or VALUE as the 8 bytes the map stores: cut, or padded with blanks.
void eightChars(FText text, char* out) {
  size_t n = std::min(static_cast<size_t>(text.length()), kKeyChars);
  if (n > 0) std::memcpy(out, text.data(), n);
  std::memset(out + n, ' ', kKeyChars - n);
}

// The bucket of a key: the sum of its bytes taken unsigned, so that no byte above 127 can
// give a negative bucket.
int32_t bucketOf(const char* key) {
  uint32_t sum = 0;
  for (size_t k = 0; k < kKeyChars; ++k) sum += static_cast<unsigned char>(key[k]);
  return static_cast<int32_t>(sum % kBuckets);
}

char* entryAt(const NameMap& map, int32_t number) {
  return map.entryBlocks[number / kNameMapBlock - 1] + (number % kNameMapBlock) * kEntryBytes;
}

int32_t* nodeAt(const NameMap& map, int32_t number) {
  return map.nodeBlocks[number / kNameMapBlock - 1] + (number % kNameMapBlock) * kNodeWords;
}

}  // namespace

void NameMapInit(int32_t& status) {
  NameMapFree();
  NameMap& map = nameMap();
  status = 0;
  int32_t failed = 0;
  map.entryBlocks = static_cast<char**>(
      SvMallocStat(kNameMapBlocks * sizeof(char*), SV_TAG("platrtn"), &failed));
  if (failed == 0) {
    map.nodeBlocks = static_cast<int32_t**>(
        SvMallocStat(kNameMapBlocks * sizeof(int32_t*), SV_TAG("platrtn"), &failed));
  }
  if (failed != 0) {
    NameMapFree();
    status = 1;
    return;
  }
  map.entryCapacity = kNameMapBlocks;
  map.nodeCapacity = kNameMapBlocks;
  map.made = true;
}

void NameMapNode(int32_t& status, int32_t& block, int32_t& index) {
  NameMap& map = nameMap();
  status = 0;
  if (!map.made) {
    NameMapInit(status);
    if (status != 0) {
      status = 4;
      return;
    }
  }
  if (map.nodeBlockCount == 0 || map.nodesInLast == kNameMapBlock) {
    if (map.nodeBlockCount >= map.nodeCapacity) {
      status = 3;
      return;
    }
    int32_t failed = 0;
    void* b = SvMallocStat(kNameMapBlock * kNodeWords * sizeof(int32_t), SV_TAG("platrtn"), &failed);
    if (failed != 0 || b == nullptr) {
      status = 4;
      return;
    }
    map.nodeBlocks[map.nodeBlockCount++] = static_cast<int32_t*>(b);
    map.nodesInLast = 0;
  }
  block = map.nodeBlockCount;
  index = map.nodesInLast++;
  std::fill_n(nodeAt(map, block * kNameMapBlock + index), kNodeWords, 0);
}

void NameMapInsert(FText key, FText value, int32_t& status) {
  NameMap& map = nameMap();
  status = 0;
  // A map freed, or never made, is made here rather than used through null tables.
  if (!map.made) {
    NameMapInit(status);
    if (status != 0) return;
  }
  if (map.entryBlockCount == 0 || map.entriesInLast == kNameMapBlock) {
    if (map.entryBlockCount >= map.entryCapacity) {
      status = 1;
      return;
    }
    int32_t failed = 0;
    void* b = SvMallocStat(kNameMapBlock * kEntryBytes, SV_TAG("platrtn"), &failed);
    if (failed != 0 || b == nullptr) {
      status = 2;
      return;
    }
    map.entryBlocks[map.entryBlockCount++] = static_cast<char*>(b);
    map.entriesInLast = 0;
  }

  char k[kKeyChars];
  eightChars(key, k);
  const int32_t bucket = bucketOf(k);
  // A node is needed for an empty bucket or when the last node holds eight entries; it is
  // had before anything is stored, so that a failure leaves the map as it was.
  int32_t* lastNode = map.last[bucket] != 0 ? nodeAt(map, map.last[bucket]) : nullptr;
  int32_t newNode = 0;
  if (lastNode == nullptr || lastNode[kNodeWords - 1] == -static_cast<int32_t>(kEntriesPerNode)) {
    int32_t block = 0;
    int32_t index = 0;
    NameMapNode(status, block, index);
    if (status != 0) return;
    newNode = block * kNameMapBlock + index;
  }

  const int32_t entry = map.entryBlockCount * kNameMapBlock + map.entriesInLast++;
  char* e = entryAt(map, entry);
  std::memcpy(e, k, kKeyChars);
  eightChars(value, e + kKeyChars);

  if (newNode != 0) {
    int32_t* node = nodeAt(map, newNode);
    node[0] = entry;
    node[kNodeWords - 1] = -1;
    if (lastNode != nullptr) {
      lastNode[kNodeWords - 1] = newNode;
    } else {
      map.first[bucket] = newNode;
    }
    map.last[bucket] = newNode;
  } else {
    int32_t held = -lastNode[kNodeWords - 1];
    lastNode[held] = entry;
    lastNode[kNodeWords - 1] = -(held + 1);
  }
}

void NameMapLookup(FText key, FText value, int32_t& entry) {
  entry = 0;
  const NameMap& map = nameMap();
  if (!map.made) return;
  char k[kKeyChars];
  eightChars(key, k);
  for (int32_t n = map.first[bucketOf(k)]; n != 0;) {
    const int32_t* node = nodeAt(map, n);
    const int32_t link = node[kNodeWords - 1];
    const int32_t held = link < 0 ? -link : static_cast<int32_t>(kEntriesPerNode);
    for (int32_t i = 0; i < held; ++i) {
      const char* e = entryAt(map, node[i]);
      if (std::memcmp(e, k, kKeyChars) == 0) {
        entry = node[i];
        value.assign(std::string_view(e + kKeyChars, strnlen(e + kKeyChars, kKeyChars)));
        return;
      }
    }
    n = link > 0 ? link : 0;
  }
}

void NameMapFree() {
  NameMap& map = nameMap();
  for (int32_t b = 0; b < map.entryBlockCount; ++b) SvFree(map.entryBlocks[b], SV_TAG("platrtn"));
  for (int32_t b = 0; b < map.nodeBlockCount; ++b) SvFree(map.nodeBlocks[b], SV_TAG("platrtn"));
  if (map.entryBlocks != nullptr) SvFree(map.entryBlocks, SV_TAG("platrtn"));
  if (map.nodeBlocks != nullptr) SvFree(map.nodeBlocks, SV_TAG("platrtn"));
  map = NameMap{};
}

// ---- Bits and strings -------------------------------------------------------------

int32_t BITSET(int32_t word, int32_t n, int32_t flag) {
  if (n < 1 || n > 32) return word;
  uint32_t bits = std::bit_cast<uint32_t>(word);
  uint32_t mask = uint32_t{1} << (n - 1);
  bits = flag != 0 ? bits | mask : bits & ~mask;
  return std::bit_cast<int32_t>(bits);
}

int32_t BITTST(int32_t word, int32_t n) { return BITTS1(word, n) != 0 ? -1 : 0; }

int32_t BITTS1(int32_t word, int32_t n) {
  if (n < 1 || n > 32) return 0;
  return static_cast<int32_t>((std::bit_cast<uint32_t>(word) >> (n - 1)) & 1u);
}

int32_t NBITS() { return 32; }

void StrUpper(char* s) {
  if (s == nullptr) return;
  for (; *s != '\0'; ++s) *s = static_cast<char>(std::toupper(static_cast<unsigned char>(*s)));
}

int32_t StrToReal(const char* s, double& real) {
  real = 0.0;
  if (s == nullptr) return 0;
  while (isSpace(*s)) ++s;
  size_t n = numberLength(s);
  // Nothing that reads as a number is no number, whatever follows.
  if (n == 0) return 0;
  // A number that reads as none is beyond the double range: stored as the huge value of
  // its sign, as the system's conversion gives it.
  double value = 0.0;
  const bool read = fmt::readF(std::string_view(s, n), 0, value);
  real = read ? value : (*s == '-' ? -HUGE_VAL : HUGE_VAL);
  for (s += n; *s != '\0'; ++s) {
    if (!isSpace(*s)) return 0;
  }
  return 1;
}

int32_t StrToInt(const char* s, int32_t& value) {
  double real = 0.0;
  int32_t answer = StrToReal(s, real);
  // Clamped as soon as the rounded value leaves the range: converting it would overflow.
  if (real >= 2147483647.5) {
    value = 2147483647;
    return 1;
  }
  if (real <= -2147483648.5) {
    value = -2147483647 - 1;
    return 1;
  }
  value = nintOf(real);
  return real == std::trunc(real) ? answer : 0;
}

char* StrTrim(char* s) {
  if (s == nullptr) return nullptr;
  for (char* p = s; *p != '\0'; ++p) {
    if (*p == '\t') *p = ' ';
  }
  while (*s == ' ') ++s;
  size_t n = std::strlen(s);
  while (n > 0 && isSpace(s[n - 1])) --n;
  s[n] = '\0';
  return s;
}

}  // namespace kvr
