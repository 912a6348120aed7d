#include "runtime/hostcb.h"

#include <string_view>

#include "platform/cmdline.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/pltpar.h"

namespace kvr {
namespace {

LineWriterObserver gObserver = nullptr;
HostCommandObserver gCommandObserver = nullptr;

void observe(HostCommand callback, int32_t position, int32_t code, FText first, FText second,
             FText third) {
  if (gCommandObserver != nullptr) gCommandObserver(callback, position, code, first, second, third);
}

void observe(LineWriter writer, int32_t flag, FText text) {
  if (gObserver != nullptr) gObserver(writer, flag, text);
}

// One list-directed record of TEXT up to its last non-blank character. A failed write
// is not reported: the writers have no status.
void writeLine(FText text) {
  std::string_view line = text.view().substr(0, static_cast<size_t>(text.trimmedLength()));
  io::writeRecord(PLTPAR.outUnit, fmt::listDirected({line}));
}

}  // namespace

void WRTLIN(int32_t flag, FText text) {
  observe(LineWriter::WRTLIN, flag, text);
  writeLine(text);
}

void WRTLN1(int32_t flag, FText text) {
  observe(LineWriter::WRTLN1, flag, text);
  writeLine(text);
}

void WRTLN8(int32_t flag, FText text) {
  observe(LineWriter::WRTLN8, flag, text);
  writeLine(text);
}

void HCMSG(int32_t flag, FText text) { observe(LineWriter::HCMSG, flag, text); }

void HCCMD1(FText command) { observe(HostCommand::HCCMD1, 0, 0, command, {}, {}); }
void HCCMD2(FText command) { observe(HostCommand::HCCMD2, 0, 0, command, {}, {}); }
void HCCMD3(FText command, int32_t position, FText second) {
  observe(HostCommand::HCCMD3, position, 0, command, second, {});
}
void HCDLG(int32_t position, int32_t code, FText command, FText rest, FText pick) {
  observe(HostCommand::HCDLG, position, code, command, rest, pick);
}
void HCWIN(int32_t&, int32_t&) {}
void HCDSP(int32_t, int32_t) {}

void HCDSPF(int32_t viewport, int32_t displayCode) { HCDSP(displayCode, viewport); }

void RESHST(int32_t&, int32_t&, FText, FText, FText, int32_t&, int32_t& status) { status = 1; }

int32_t ARGNUM() {
  const auto& args = commandLine();
  return args.empty() ? 0 : static_cast<int32_t>(args.size()) - 1;
}

void ARGGET(int32_t n, FText text) {
  const auto& args = commandLine();
  if (n < 0 || n >= static_cast<int32_t>(args.size())) {
    text.fill(' ');
    return;
  }
  text.assign(args[static_cast<size_t>(n)]);
}

int32_t PRGNAM(FText a, FText b, int32_t& i1, int32_t& i2, int32_t& i3, int32_t& i4,
               int32_t& i5, int32_t&) {
  a.assign("NEUTRAL");
  b.fill(' ');
  i1 = i2 = i3 = i4 = i5 = 0;
  return 1;
}

void setLineWriterObserver(LineWriterObserver observer) { gObserver = observer; }

void setHostCommandObserver(HostCommandObserver observer) { gCommandObserver = observer; }

}  // namespace kvr
