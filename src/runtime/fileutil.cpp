#include "runtime/fileutil.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/stop.h"
#include "platform/unitio.h"
#include "runtime/genopen.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

// The scratch file of the listing: unformatted sequential, opened scratch.
constexpr int32_t kListForm = 2;
constexpr int32_t kListMode = 5;
constexpr int32_t kListRecl = 20;

// The directory search hands names back in a buffer of this size.
constexpr size_t kNameBuffer = 260;

std::string_view trimBlanks(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

// One listing record: the length of NAME, then its characters packed four to a word.
std::vector<int32_t> listRecord(std::string_view name) {
  std::vector<int32_t> words(1 + (name.size() + 3) / 4, 0x20202020);
  words[0] = static_cast<int32_t>(name.size());
  std::memcpy(words.data() + 1, name.data(), name.size());
  return words;
}

}  // namespace

void TLMKNM(FText dir, FText file, FText path) {
  // The path is built whole and cut only at the end, so a long directory can never push
  // the NUL or the file name past the end of PATH.
  std::string joined(trimBlanks(dir.view()));
  joined += '/';
  joined += file.view().substr(0, static_cast<size_t>(file.trimmedLength()));
  joined.resize(std::min(joined.size(), joined.find('\0')));
  PathCollapse(joined.data());
  path.assign(joined.c_str());
}

void IOSMSG(int32_t code, FText text) {
  switch (code) {
    case io::kIosPermission: text.assign("Permission to access file denied"); break;
    case io::kIosWriteError: text.assign("Error during write"); break;
    case io::kIosReadError: text.assign("Error during read"); break;
    case io::kIosReadOnly: text.assign("Write to READONLY file"); break;
    case io::kIosNoSpace: text.assign("No space left on device"); break;
    default: text.assign("Unspecified error#IOSTAT    :" + fmt::editI(code, 8)); break;
  }
}

void CURDIR(FText text) {
  char dir[kNameBuffer];
  int32_t n = CwdGet(dir);
  if (n < 0) {
    text.fill(' ');
    return;
  }
  text.assign(std::string_view(dir, static_cast<size_t>(n)));
}

int32_t CHGDIR(FText text, int32_t& result) {
  result = CwdSet(text.trimmed().c_str());
  return result;
}

void LSTDIR(FText pattern, int32_t& unit, int32_t& count) {
  std::string_view p = pattern.view();
  p = p.substr(0, std::min(p.find(' '), p.find('\0')));

  // A scratch file: a unique name in the temporary directory, removed at close. A fixed
  // name in the current directory would overwrite a user's file of that name, collide
  // with another process and be left behind, listing itself.
  FixedText noName(1);
  int32_t status = 0;
  int32_t u = OPNFRE(noName, kListForm, kListMode, kListRecl, status, 0);
  if (u < 0) {
    count = -1;
    return;
  }
  unit = u;
  count = 0;

  std::string pat(p);
  char name[kNameBuffer];
  for (int32_t rc = DirList(1, pat.c_str(), name); rc == 0 && name[0] != '\0';
       rc = DirList(2, nullptr, name)) {
    // A record that cannot be written ends the list, so COUNT says what the file holds.
    if (io::writeUnformatted(u, listRecord(name)) != io::kIosOk) break;
    ++count;
  }
  DirList(3, nullptr, name);
  io::unitRewind(u);
}

void ABTRUN() {
  std::fputs("That's it- I'm outta here\n", stderr);
  std::fflush(stderr);
  processStop(1, true);
}

void IVAL16(int32_t& n) { n = 16; }

}  // namespace kvr
