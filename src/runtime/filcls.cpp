#include "runtime/filcls.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fmtedit.h"
#include "platform/oscmd.h"
#include "platform/unitio.h"
#include "runtime/filtyp.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

std::string gLastCommandLine;

std::string trimBoth(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// The plot file's name as stored, without trailing blanks and without a closing NUL.
std::string plotFileName() {
  std::string name = IOUNIT.plotFileName;
  name.erase(name.find_last_not_of(' ') + 1);
  if (!name.empty() && name.back() == '\0') name.pop_back();
  return name;
}

// Hands the closed plot file to the plot-file command when the plot mode asks for it.
void plotFileCommand(int32_t unit) {
  if (unit != IOUNIT.slot(kSlotPlotFile)) return;
  std::string_view mode(IOUNIT.plotMode.data(), IOUNIT.plotMode.size());
  if (mode != "PLOT" && mode != "BOTH") return;
  std::string name = plotFileName();
  // No plot file was ever opened: there is nothing to hand over.
  if (name.find_first_not_of(' ') == std::string::npos) return;
  std::string command = trimBoth(std::string_view(IOUNIT.plotCommand.data(), IOUNIT.plotCommand.size()));
  // Without a command the shell would run the plot file itself.
  if (command.empty()) return;

  const int32_t device = PLTDEV.device;
  gLastCommandLine = plotCommandLine(command, name, device);
  std::string deviceText = trimBoth(fmt::editI(device, 11));
  os::spawnProgram("/bin/sh", {"-c", command + " \"$1\" \"$2\"", "sh", name, deviceText}, true);
}

}  // namespace

std::string plotCommandLine(std::string_view command, std::string_view name, int32_t device) {
  std::string line(command);
  line += ' ';
  if (name.find(' ') != std::string_view::npos) {
    line += '"';
    line += name;
    line += '"';
  } else {
    line += name;
  }
  line += "  ";
  line += fmt::editI(device, 2);
  return line;
}

const std::string& lastPlotCommandLine() { return gLastCommandLine; }

void UNTCLS(int32_t unit) {
  if (unit == io::kStdinUnit || unit == io::kStdoutUnit) return;
  if (unit < 0) {
    if (unit > INT32_MIN) io::unitClose(-unit, true);
    return;
  }
  io::unitClose(unit);
  plotFileCommand(unit);
}

void FILCLS(int32_t type) {
  if (type == -1) {
    for (int32_t t = kFirstFileType; t <= kLastFileType; ++t) {
      if (IOUNIT.openFlag(t) == 0) continue;
      if (const FileTypeRow* row = fileTypeRow(t); row->closeSlot != 0) {
        UNTCLS(IOUNIT.slot(row->closeSlot));
      }
      IOUNIT.openFlag(t) = 0;
    }
    return;
  }
  const FileTypeRow* row = fileTypeRow(type);
  if (row == nullptr || row->closeSlot == 0) return;
  UNTCLS(IOUNIT.slot(row->closeSlot));
  IOUNIT.openFlag(type) = 0;
}

}  // namespace kvr
