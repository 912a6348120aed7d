#include "command/cmdfile.h"

#include <span>
#include <string>
#include <string_view>

#include "modeldb/inpsrc.h"
#include "modeldb/seqtab.h"
#include "platform/unitio.h"
#include "runtime/filcls.h"
#include "runtime/iomode.h"
#include "runtime/msglin.h"
#include "runtime/pltopt.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kCommandFileType = 14;
constexpr int32_t kRecordLength = 255;
constexpr int32_t kProgressLines = 1000;
constexpr std::string_view kSilentStart = "*** Starting silent read ***";
constexpr std::string_view kSilentEnd = "*** Input complete ***";
constexpr std::string_view kClosingCommand = "FILE CLOSE; YES;From archive file";

void message(std::string line) {
  MSGWRT(FText(line), static_cast<int32_t>(line.size()));
}

bool silentRead() { return VWDFLT.word(kVwSwitchesSaved) == 1; }

}  // namespace

void CMFRD(int32_t optional, FText line, int32_t& status) {
  int32_t interrupted = 0;
  INTCHK(0, interrupted);
  if (interrupted == 1) {
    status = kFileEnded;
    return;
  }
  // Each pass reads one record, so the loop ends with the file.
  for (;;) {
    std::string record;
    const int32_t iostat = io::readRecord(IOMODE.inputUnit, record);
    if (iostat == io::kIosEnd) break;
    if (iostat != io::kIosOk) {
      CMFEND(1);
      status = kFileEnded;
      return;
    }
    const int32_t counter = ++gCommandFile.lineCounter;
    if (silentRead()) {
      if (counter == 1) message(std::string(kSilentStart));
      if (counter % kProgressLines == 0) {
        message("*** < " + std::to_string(counter) + " > lines processed ***");
      }
    }
    // Records are cut at 255 characters, whatever the line holds.
    if (record.size() > static_cast<std::size_t>(kRecordLength)) record.resize(kRecordLength);
    line.assign(record);
    if (optional == 1 || !line.isBlank()) {
      status = kLineRead;
      return;
    }
  }
  if (!silentRead()) {
    CMFEND(1);
    status = kFileEnded;
    return;
  }
  message(std::string(kSilentEnd));
  CMFEND(1);
  line.assign(kClosingCommand);
  status = kLineRead;
}

void CMTLIN(FText line, int32_t& cls) {
  int32_t n = std::min(line.length(), kRecordLength);
  STRIPB(line, n);
  cls = kLineCommand;
  if (n < 1 || line.length() < 1) return;
  const char c = line.at(1);
  if (c == '*' || c == '#' || c == '!' || c == '@') {
    cls = kLineComment;
  } else if (c == '/' && n == 1) {
    cls = kLineCancel;
  }
}

void CMFEND(int32_t close) {
  // Without a name and with a negative count: the input returns to the keyboard even
  // where a zero count would open the default command file.
  INPSRC({}, -1);
  if (close == 1) FILCLS(kCommandFileType);
}

void INTCHK(int32_t /*ignored*/, int32_t& interrupted) {
  interrupted = 0;
  if (PLTOPT.interruptFlag == 0) return;
  PLTOPT.interruptFlag = 0;
  PLTOPT.interruptEndedInput = 1;
  if (IOMODE.inputMode == kInputCommandFile) INPSRC({}, -1);
  interrupted = 1;
}

}  // namespace kvr
