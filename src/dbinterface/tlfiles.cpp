#include "dbinterface/tlfiles.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/dattim.h"

namespace kvr {
namespace {

constexpr int32_t kChoiceAlternative = 2;  // ISTAT, IFORM, IACCES: 2 the second choice
constexpr int32_t kMissingFile = 1;

bool mustExist(int32_t imode) { return imode == 1 || imode == 4; }
bool replaces(int32_t imode) { return imode == 2 || imode == 3; }

bool isRegularFile(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void OPNTLDBF(int32_t iunit, int32_t imode, FText fname, int32_t istat, int32_t iform,
              int32_t iacces, int32_t irecl, int32_t& iostat) {
  iostat = io::kIosOk;
  io::OpenSpec want;
  want.file = fname.trimmed();
  want.status = istat == kChoiceAlternative ? io::Status::Scratch : io::Status::Unknown;
  want.form = iform == kChoiceAlternative ? io::Form::Formatted : io::Form::Unformatted;
  want.access = iacces == kChoiceAlternative ? io::Access::Append : io::Access::Sequential;
  if (irecl >= 1) want.recl = irecl;

  // One name for the check, the deletion and the open, so that they all meet one file.
  std::string actual;
  bool exists = io::findExistingFile(want.file, actual);
  if (exists) want.file = actual;

  if (mustExist(imode) && !exists) {
    iostat = kMissingFile;
    return;
  }
  // A device or other special file is opened as it is, never deleted.
  if (replaces(imode) && exists && isRegularFile(want.file)) {
    io::OpenSpec old;
    old.file = want.file;
    old.status = io::Status::Old;
    old.action = io::Action::Read;  // deleting needs no access to the contents
    if (int32_t rc = io::unitOpen(iunit, old); rc != io::kIosOk) {
      iostat = rc;
      return;
    }
    if (int32_t rc = io::unitClose(iunit, true); rc != io::kIosOk) {
      iostat = rc;
      return;
    }
  }
  iostat = io::unitOpen(iunit, want);
}

void CLSTLDBF(int32_t iunit, int32_t& iostat) {
  iostat = io::kIosOk;
  iostat = io::unitClose(iunit);
}

std::string timeDateLine(int32_t hour, int32_t minute, int32_t day, int32_t month,
                         int32_t year) {
  return fmt::format1("(A,I2.2,A,I2.2,A,I2.2,A,I2.2,A,I4)",
                      {std::string_view(" TIME AND DATE : "), hour, std::string_view(":"),
                       minute, std::string_view(" "), day, std::string_view("-"), month,
                       std::string_view("-"), year});
}

void WRTTLLOG(int32_t iunit, int32_t imode, int32_t istep, int32_t isub, FText typtxt) {
  if (!io::unitIsOpen(iunit)) return;
  std::string line;
  if (imode == 1) {
    int32_t day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    DATTIM(day, month, year, hour, minute, second);
    line = timeDateLine(hour, minute, day, month, year);
  } else if (imode == 2) {
    line = " PROCESSING MESH DATA";
  } else if (imode == 3) {
    // A log line, not a message: the type keeps all its 20 characters.
    line = " PROCESSING LOAD STEP " + fmt::editI(istep, 6) + ", SUB-STEP " +
           fmt::editI(isub, 6) + ", TYPE " + std::string(typtxt.view());
  } else if (imode < 0) {
    line = " ERROR " + fmt::editI(std::abs(static_cast<int64_t>(imode)), 6) + " FOUND";
  } else {
    return;
  }
  io::writeRecord(iunit, line);
}

}  // namespace kvr
