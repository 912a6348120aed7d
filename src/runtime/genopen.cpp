#include "runtime/genopen.h"

#include <algorithm>
#include <string>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/iounit.h"
#include "runtime/platrtn.h"

namespace kvr {
namespace {

int32_t defaultAccessCheck(std::string_view name, int32_t want) {
  std::string path(name);
  return FileAccess(path.c_str(), want == 2 ? 1 : 0);
}

AccessCheck gAccessCheck = defaultAccessCheck;

constexpr int32_t kFirstFreeUnit = 40;
constexpr int32_t kLastFreeUnit = 99;
constexpr int32_t kDefaultRecl = 64;

// The keywords of one mode (absolute value), as the description lines print them.
struct ModeKeywords {
  const char* action;
  const char* position;
  const char* status;
  io::Action ioAction;
  io::Position ioPosition;
  io::Status ioStatus;
  bool mustExist;
};

ModeKeywords modeKeywords(int32_t m) {
  using io::Action;
  using io::Position;
  using io::Status;
  switch (m) {
    case 1: return {"READWRITE", "REWIND", "NEW", Action::ReadWrite, Position::Rewind, Status::New, false};
    case 2: return {"READWRITE", "REWIND", "OLD", Action::ReadWrite, Position::Rewind, Status::Old, true};
    case 3: return {"WRITE", "APPEND", "OLD", Action::Write, Position::Append, Status::Old, true};
    case 4: return {"READ", "REWIND", "OLD", Action::Read, Position::Rewind, Status::Old, true};
    case 5: return {"READWRITE", "REWIND", "SCRATCH", Action::ReadWrite, Position::Rewind, Status::Scratch, false};
    default: return {"READWRITE", "REWIND", "UNKNOWN", Action::ReadWrite, Position::Rewind, Status::Unknown, false};
  }
}

bool debugIs(const char* word) {
  return std::equal(IOUNIT.ioDebug.begin(), IOUNIT.ioDebug.end(), word);
}

void say(std::string_view line) { io::writeRecord(io::kStdoutUnit, line); }

}  // namespace

FText ioDebugWord() { return IOUNIT.ioDebugWord(); }

void setAccessCheck(AccessCheck check) {
  gAccessCheck = check != nullptr ? check : defaultAccessCheck;
}

int32_t checkAccess(std::string_view name, int32_t want) { return gAccessCheck(name, want); }

void TLFOPN(FText name, int32_t /*namlen*/, int32_t /*extlen*/, int32_t /*spare*/, int32_t unit,
            int32_t form, int32_t mode, int32_t recl, int32_t& status) {
  status = 0;
  const bool shared = mode < 0;
  const int32_t m = mode < 0 ? -mode : mode;
  const std::string file = name.trimmed();
  if (file.empty() && m != 5) {
    status = -999;
    return;
  }

  const ModeKeywords k = modeKeywords(m);
  const bool direct = form == 3;
  const char* access = direct ? "DIRECT" : "SEQUENTIAL";
  const char* formWord = form == 1 ? "FORMATTED" : "UNFORMATTED";
  if (recl <= 0) {
    if (debugIs("TFM")) say(" Record length 0 detected");
    recl = kDefaultRecl;
  }
  if (debugIs("ON ")) say(fmt::listDirected({"   Trying to open file: ", file}));

  std::string actual = file;
  if (k.mustExist && !io::findExistingFile(file, actual)) {
    status = 1;
    return;
  }

  if (debugIs("TFM")) {
    say(std::string(26, ' '));
    say(form == 1   ? " TLFOPN:TEXT SEQUENTIAL   "
        : form == 2 ? " TLFOPN:BINARY SEQUENTIAL "
                    : " TLFOPN:BINARY RANDOM ACCESS");
    say(" TLFOPN:CHANNEL  - " + fmt::editI(unit, 8));
    say(" TLFOPN:FILENAME - " + file);
    say(std::string(" TLFOPN:ACCESS   - ") + access);
    say(std::string(" TLFOPN:ACTION   - ") + k.action);
    say(std::string(" TLFOPN:FORM     - ") + formWord);
    say(std::string(" TLFOPN:POSITION - ") + k.position);
    say(" TLFOPN:RECL     - " + fmt::editI(recl, 8));
    say(std::string(" TLFOPN:STATUS   - ") + k.status);
    if (shared) say("Shared OPEN requested");
  }

  io::OpenSpec want;
  want.file = actual;
  want.access = direct ? io::Access::Direct : io::Access::Sequential;
  want.action = k.ioAction;
  want.form = form == 1 ? io::Form::Formatted : io::Form::Unformatted;
  want.status = k.ioStatus;
  want.position = k.ioPosition;
  want.recl = direct ? recl : 0;
  want.shared = shared;
  if (int32_t rc = io::unitOpen(unit, want); rc > 0) {
    status = rc;
    return;
  }

  if (m == 5) return;
  // Checked on the file actually opened, which may differ from NAME in case.
  status = checkAccess(io::unitFileName(unit), m == 4 ? 4 : 2);
}

int32_t OPNFRE(FText name, int32_t form, int32_t mode, int32_t recl, int32_t& status, int32_t n) {
  for (int32_t unit = kFirstFreeUnit; unit <= kLastFreeUnit; ++unit) {
    if (io::unitIsOpen(unit)) continue;
    FText head(name.data(), std::clamp(n, 0, name.length()));
    TLFOPN(head, head.length(), 0, 0, unit, form, mode, recl, status);
    return status != 0 ? -2 : unit;
  }
  return -1;
}

void FEXIST(FText name, int32_t length, int32_t /*spare1*/, int32_t /*spare2*/, int32_t& result) {
  FText head(name.data(), std::clamp(length, 0, name.length()));
  result = io::fileExists(head.trimmed()) ? 1 : 0;
}

// The whole name is used: deleting a cut name could remove another, existing file.
void FDELET(FText name, int32_t namlen, int32_t extlen, int32_t spare, int32_t unit, int32_t form,
            int32_t mode, int32_t recl, int32_t& status) {
  int32_t open = 0;
  TLFOPN(name, namlen, extlen, spare, unit, form, mode, recl, open);
  if (open != 0) {
    // An open refused by the access check leaves the unit connected: release it.
    if (open == -1) io::unitClose(unit);
    status = 1;
    return;
  }
  status = io::unitClose(unit, true) == io::kIosOk ? 0 : 1;
}

}  // namespace kvr
