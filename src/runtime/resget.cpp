#include "runtime/resget.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/unitio.h"
#include "runtime/envpath.h"
#include "runtime/genopen.h"
#include "runtime/hostcb.h"
#include "runtime/msglin.h"
#include "runtime/pltops.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// Lines of a settings file and command-line arguments are read as this many characters.
constexpr int32_t kWorkLength = 128;
constexpr const char* kSettingsFile = "quorin.ini";
constexpr int32_t kFormatted = 1;
constexpr int32_t kReadOnly = 4;
constexpr int32_t kScratch = 5;

// Statuses of the lookup.
constexpr int32_t kSwitchGiven = 4;
constexpr int32_t kNoValue = -1;
constexpr int32_t kReadError = -2;
constexpr int32_t kGlobalReadError = -3;
constexpr int32_t kInitUnopenable = -4;
constexpr int32_t kGlobalInitUnopenable = -5;

// The command-line probe, run once per process at the first use of an argument.
struct Probe {
  bool pending = true;
  int32_t offset = 0;     // library argument n is runtime argument n + offset
  char terminator = ' ';  // ends an argument in its 128-character buffer
};
Probe gProbe;

// The merged settings file of RESMRG.
struct Merged {
  int32_t unit = 0;
  bool open = false;
};
Merged gMerged;

void probeCommandLine() {
  if (!gProbe.pending) return;
  FixedText arg0(kWorkLength);
  ARGGET(0, arg0);
  std::string_view text = arg0.view();
  gProbe.terminator = text.find('\0') != std::string_view::npos ? '\0' : ' ';
  // Only an argument 0 that reads as empty shifts the numbering: a program path of 128
  // characters or more holds no terminator and would otherwise shift every argument.
  gProbe.offset = text.find(gProbe.terminator) == 0 ? 1 : 0;
  gProbe.pending = false;
}

bool isUpperEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
           return up(x) == up(y);
         });
}

std::string_view trimTrailing(std::string_view s) {
  size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

// The words of a request, as the scan compares them.
struct Request {
  std::string_view app;
  std::string_view prog;
  std::string_view section;
  std::string_view key;
};

Request requestOf(FText app, FText prog, FText section, FText key) {
  return {trimTrailing(app.view()), trimTrailing(prog.view()), trimTrailing(section.view()),
          trimTrailing(key.view())};
}

// Program and section match when equal ignoring case, or when either is "*".
bool wordMatches(std::string_view word, std::string_view asked) {
  word = trimTrailing(word);
  return word == "*" || asked == "*" || isUpperEqual(word, asked);
}

// Splits the next word off REST at its first "."; false when there is no "." or the word
// is empty.
bool splitWord(std::string_view& rest, std::string_view& word) {
  size_t dot = rest.find('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  word = rest.substr(0, dot);
  rest = rest.substr(dot + 1);
  return true;
}

enum class LineMatch { No, Empty, Value };

// Matches one 128-character line against the request; on a match with a value, VALUE
// receives the stripped value (one blank for an all-blank one).
LineMatch matchLine(std::string line, const Request& r, std::string& value) {
  if (line[0] == '#') return LineMatch::No;
  if (line.compare(0, r.app.size(), r.app) != 0) return LineMatch::No;
  std::replace(line.begin(), line.end(), '\t', ' ');

  std::string_view rest = line;
  std::string_view word;
  if (!splitWord(rest, word)) return LineMatch::No;
  if (r.app != "*" && trimTrailing(word) != r.app) return LineMatch::No;
  if (!splitWord(rest, word) || !wordMatches(word, r.prog)) return LineMatch::No;
  if (!splitWord(rest, word) || !wordMatches(word, r.section)) return LineMatch::No;

  size_t keyEnd = std::min(rest.find(':'), rest.find(' '));
  if (keyEnd == 0 || keyEnd == std::string_view::npos) return LineMatch::No;
  if (!isUpperEqual(rest.substr(0, keyEnd), r.key)) return LineMatch::No;
  size_t colon = rest.find(':', keyEnd);
  if (colon == std::string_view::npos) return LineMatch::No;

  std::string_view span = rest.substr(colon + 1);
  span = span.substr(0, span.find('!'));
  if (span.empty()) return LineMatch::Empty;
  constexpr std::string_view kStrip(" \t\0", 3);
  size_t first = span.find_first_not_of(kStrip);
  if (first == std::string_view::npos) {
    value = " ";
  } else {
    value = span.substr(first, span.find_last_not_of(kStrip) - first + 1);
  }
  return LineMatch::Value;
}

FText textOf(std::string& s) { return FText(s); }

// Opens the settings file PATH read-only on a free unit: the unit, or below 0 when it
// cannot be opened (a path the system refuses included).
int32_t openSettings(std::string path) {
  int32_t status = 0;
  return OPNFRE(textOf(path), kFormatted, kReadOnly, 0, status,
                static_cast<int32_t>(path.size()));
}

// Opens, scans and closes one file. OPENED tells whether it could be opened.
int32_t scanFile(const std::string& path, FText app, FText prog, FText section, FText key,
                 FText value, bool& opened) {
  int32_t unit = openSettings(path);
  opened = unit > 0;
  if (!opened) return 0;
  int32_t status = 0;
  RESSCN(unit, app, prog, section, key, value, status);
  io::unitClose(unit);
  return status;
}

std::string homeDirectory() {
  std::string home = environmentValue("HOME");
  return home.size() <= 1 ? std::string() : home;
}

// DIR, the separator (even after one already there) and the settings file name, with
// each "name/.." pair removed.
std::string settingsPathIn(const std::string& dir) {
  return collapsePath(dir + "/" + kSettingsFile);
}

std::string homeSettingsPath() {
  std::string home = homeDirectory();
  return home.empty() ? std::string() : settingsPathIn(home);
}

// The global file when QUORIN_GLOBAL_INIT is unset: in KVRKEY's directory, else in the
// standard directory of the shared files, else the plain name. The listing names the
// standard directory without its closing "/", so its line shows a single separator.
std::string defaultGlobalPath(bool& fromKey, bool forListing = false) {
  std::string dir = environmentValue("KVRKEY");
  fromKey = !dir.empty();
  if (dir.empty()) {
    dir = customDirectory();
    if (forListing && !dir.empty()) dir.pop_back();
  }
  return dir.empty() ? std::string(kSettingsFile) : settingsPathIn(dir);
}

// Looks the request up on the command line. Answers true when the command line decides
// the lookup (STATUS set).
bool commandLineLookup(FText key, bool isSwitch, FText value, int32_t& status) {
  constexpr int32_t kFoldCase = 1;
  FixedText arg(kWorkLength);
  const int32_t count = ARGNUM();
  for (int32_t i = 1; i <= count; ++i) {
    int32_t length = 0;
    ARGSTR(i, arg, length);
    if (length == 0) return false;
    std::string_view text = arg.view().substr(0, static_cast<size_t>(length));
    if (text[0] != '-') continue;
    std::string option(text.substr(1));
    if (TXTCMP(FText(option), key, kFoldCase) == 0) continue;
    if (isSwitch) {
      value.assign("TRUE");
      status = kSwitchGiven;
      return true;
    }
    // The option names the key: whatever follows, the files are not consulted.
    int32_t valueLength = 0;
    ARGSTR(i + 1, arg, valueLength);
    if (valueLength == 0) {
      status = kNoValue;
      return true;
    }
    value.assign(arg.view().substr(0, static_cast<size_t>(valueLength)));
    status = std::min(valueLength, value.length());
    return true;
  }
  return false;
}

void writeLine(std::string line) { MSGWRT(textOf(line), static_cast<int32_t>(line.size())); }

// Copies the settings file PATH into UNIT when it exists.
void copyIfPresent(std::string path, int32_t unit, int32_t& count) {
  if (path.empty()) return;
  RESCPY(textOf(path), static_cast<int32_t>(path.size()), unit, count);
}

}  // namespace

void ARGSTR(int32_t n, FText text, int32_t& length) {
  probeCommandLine();
  length = 0;
  text.fill(' ');
  const int32_t runtimeArg = n + gProbe.offset;
  if (n < 0 || runtimeArg > ARGNUM()) return;
  FixedText arg(kWorkLength);
  ARGGET(runtimeArg, arg);
  std::string_view view = arg.view();
  size_t end = view.find(gProbe.terminator);
  length = end == std::string_view::npos ? kWorkLength : static_cast<int32_t>(end);
  text.assign(view.substr(0, static_cast<size_t>(length)));
}

void RESSCN(int32_t unit, FText app, FText prog, FText section, FText key, FText value,
            int32_t& status) {
  const Request r = requestOf(app, prog, section, key);
  io::unitRewind(unit);
  status = kReadError;
  std::string record;
  for (;;) {
    int32_t rc = io::readRecord(unit, record);
    if (rc == io::kIosEnd) {
      status = 0;
      return;
    }
    if (rc != io::kIosOk) {
      status = kReadError;
      return;
    }
    record.resize(kWorkLength, ' ');
    std::string found;
    switch (matchLine(record, r, found)) {
      case LineMatch::No: continue;
      case LineMatch::Empty: status = 0; return;
      case LineMatch::Value:
        value.assign(found);
        status = static_cast<int32_t>(found.size());
        return;
    }
  }
}

void RESONE(FText name, int32_t nameLength, FText app, FText prog, FText section, FText key,
            bool /*isSwitch*/, FText value, int32_t& status, int32_t& openStatus) {
  value.fill(' ');
  status = 0;
  int32_t openCode = 0;
  int32_t unit = OPNFRE(name, kFormatted, kReadOnly, 0, openCode, nameLength);
  openStatus = unit > 0 ? 0 : 1;
  if (unit <= 0) return;
  RESSCN(unit, app, prog, section, key, value, status);
  io::unitClose(unit);
}

void HOMDIR(FText text, int32_t& length) {
  std::string home = homeDirectory();
  text.assign(home);
  length = std::min(static_cast<int32_t>(home.size()), text.length());
}

void RESGET(FText app, FText prog, FText section, FText key, bool isSwitch, FText value,
            int32_t& status) {
  value.fill(' ');
  status = 0;
  if (commandLineLookup(key, isSwitch, value, status)) return;

  bool opened = false;
  if (std::string init = environmentValue("QUORIN_INIT"); !init.empty()) {
    status = scanFile(init, app, prog, section, key, value, opened);
    if (!opened) status = kInitUnopenable;
    if (status != 0) return;
  }
  status = scanFile(kSettingsFile, app, prog, section, key, value, opened);
  if (status != 0) return;
  if (std::string home = homeSettingsPath(); !home.empty()) {
    status = scanFile(home, app, prog, section, key, value, opened);
    if (status != 0) return;
  }

  std::string global = environmentValue("QUORIN_GLOBAL_INIT");
  if (!global.empty()) {
    status = scanFile(global, app, prog, section, key, value, opened);
    if (!opened) status = kGlobalInitUnopenable;
  } else {
    bool fromKey = false;
    status = scanFile(defaultGlobalPath(fromKey), app, prog, section, key, value, opened);
  }
  if (status == kReadError) status = kGlobalReadError;
}

void RESORD() {
  PLTOBJ(1);
  PLTCOL(1);
  bool listed = false;
  auto listFile = [&listed](std::string_view label, const std::string& path) {
    int32_t unit = openSettings(path);
    if (unit <= 0) return false;
    io::unitClose(unit);
    if (!listed) writeLine("Resource File search order: ");
    listed = true;
    writeLine(std::string(label) + path);
    return true;
  };

  if (std::string init = environmentValue("QUORIN_INIT"); !init.empty()) {
    if (!listFile("(QUORIN_INIT)       :", init)) {
      writeLine("Warning: unable to open QUORIN_INIT file");
    }
  }
  listFile("(Current Directory) :", kSettingsFile);
  if (std::string home = homeSettingsPath(); !home.empty()) listFile("(Home Directory)    :", home);
  if (std::string global = environmentValue("QUORIN_GLOBAL_INIT"); !global.empty()) {
    if (!listFile("(QUORIN_GLOBAL_INIT):", global)) {
      writeLine("Warning: unable to open QUORIN_GLOBAL_INIT file");
    }
  } else {
    bool fromKey = false;
    std::string path = defaultGlobalPath(fromKey, true);
    listFile(fromKey ? "(KVRKEY Directory)  :" : "(CUSTOM Directory)  :", path);
  }
  if (!listed) writeLine("No Resource Files will be searched");
}

int32_t RESMRG(int32_t mode, int32_t& count) {
  if (gMerged.open) {
    io::unitClose(gMerged.unit, true);
    gMerged = Merged{};
  }
  if (mode == -1) return 0;

  std::string scratchName = "GLOBAL";
  int32_t status = 0;
  int32_t unit = OPNFRE(textOf(scratchName), kFormatted, kScratch, 0, status,
                        static_cast<int32_t>(scratchName.size()));
  if (unit <= 0) return -1;
  gMerged = Merged{unit, true};
  count = 0;
  copyIfPresent(environmentValue("QUORIN_INIT"), unit, count);
  copyIfPresent(kSettingsFile, unit, count);
  copyIfPresent(homeSettingsPath(), unit, count);
  if (mode == 1) {
    std::string global = environmentValue("QUORIN_GLOBAL_INIT");
    bool fromKey = false;
    copyIfPresent(global.empty() ? defaultGlobalPath(fromKey) : global, unit, count);
  }
  io::unitRewind(unit);
  return unit;
}

int32_t RESCPY(FText name, int32_t nameLength, int32_t unit, int32_t& count) {
  int32_t status = 0;
  int32_t in = OPNFRE(name, kFormatted, kReadOnly, 0, status, nameLength);
  if (in <= 0) return in;
  std::string record;
  while (io::readRecord(in, record) == io::kIosOk) {
    record.resize(std::min(record.size(), static_cast<size_t>(kWorkLength)));
    io::writeRecord(unit, trimTrailing(record));
    ++count;
  }
  io::unitClose(in);
  return in;
}

void resetCommandLineProbe() { gProbe = Probe{}; }

}  // namespace kvr
