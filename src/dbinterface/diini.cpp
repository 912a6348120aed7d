#include "dbinterface/diini.h"

#include <array>
#include <string_view>

#include "dbinterface/diblocks.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/dbdump.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/descriptors.h"
#include "modeldb/elttab.h"
#include "modeldb/entrec.h"
#include "runtime/chrset.h"
#include "runtime/codtxt.h"
#include "runtime/filtyp.h"
#include "runtime/fouvre.h"
#include "runtime/iounit.h"
#include "runtime/pltdev.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"

namespace kvr {
namespace {

constexpr int32_t kAlreadyStarted = 11;
constexpr int32_t kBadOption = 12;
constexpr int32_t kBadUnitCount = 13;
constexpr int32_t kBadPageSize = 25;

// NFORM values that choose the five-digit and the ten-digit E12.5 formats.
constexpr int32_t kNformI5 = 5;
constexpr int32_t kNformI10 = 10;

// File types of the database files and of the host's terminal units.
constexpr int32_t kIndexFileType = 7;
constexpr int32_t kDataFileType = 8;
constexpr int32_t kTerminalInputType = 1;
constexpr int32_t kTerminalOutputType = 2;
constexpr int32_t kFormFormatted = 1;
constexpr int32_t kModeReadOnly = 4;
constexpr int32_t kModeAppend = 3;

constexpr std::string_view kVersionLine = "DATABASE INTERFACE ROUTINES VERSION 1.402B";
constexpr std::array<std::string_view, 3> kFormatLines = {
    "I5, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN",
    "I10, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN",
    "I10, E14.7 FORMAT NEUTRAL FILE OPTION CHOSEN",
};

bool validOption(int32_t luopt) { return luopt >= kOutputDatabase && luopt <= kOutputBoth; }
bool validUnitCount(int32_t itfnum) { return itfnum >= 1 && itfnum <= kMaxTempUnits; }

int32_t numberFormatOf(int32_t nform) {
  if (nform == kNformI5) return kFormatI5E12;
  if (nform == kNformI10) return kFormatI10E12;
  return kFormatI10E14;
}

void report(int32_t& ierr, int32_t code, int32_t kind, int32_t number) {
  ierr = code;
  FixedText routnm(6, "DIINI");
  FText noName;
  DIMSG(ierr, routnm, kind, noName, number);
}

void inform(std::string_view routine, std::string_view text) {
  FixedText routnm(6, routine);
  FixedText line(kDiTextLength, text);
  FText noName;
  DIINF(routnm, line, kDiNoValue, noName, 0);
}

// The code of a blank, through the conversion every text takes.
int32_t blankCode() {
  FixedText blank(3, " *.");
  std::array<int32_t, 1> code{kBlankCode};
  int32_t last = 0;
  TXTCOD(blank, 1, code, last);
  return code[0];
}

// Makes UNIT the unit of file TYPE.
void setTypeUnit(int32_t type, int32_t unit) {
  const FileTypeRow* row = fileTypeRow(type);
  if (row != nullptr && row->openSlot > 0) IOUNIT.slot(row->openSlot) = unit;
}

// The database side: page size, database units, constants, display defaults, the host's
// terminal types marked open and the console output.
void prepareDatabaseSide(int32_t ludb8, int32_t ludb7, int32_t ipgsiz) {
  DBLEVL.hostPageSize = ipgsiz;
  setTypeUnit(kDataFileType, ludb8);
  setTypeUnit(kIndexFileType, ludb7);
  INICON();
  GFXDEF();
  int32_t status = 0;  // the terminal types are only marked open; nothing can fail
  FOUVRE(kTerminalInputType, {}, 0, kFormFormatted, kModeReadOnly, status);
  FOUVRE(kTerminalOutputType, {}, 0, kFormFormatted, kModeAppend, status);
  PLTDEV.recordCount = 0;
  LOGOPN(1, 1);
  SETDEF();
  VIEWID();
}

}  // namespace

void DIINI(int32_t luopt, int32_t ludb8, int32_t ludb7, int32_t luneu,
           std::span<const int32_t> iunits, int32_t itfnum, int32_t ikeep, int32_t nform,
           int32_t lumsg1, int32_t lumsg2, int32_t ipgsiz, int32_t& ierr) {
  DIBLNK = blankCode();
  CHRSET();

  DICTL.luneu = luneu;
  DICTL.ludb8 = ludb8;
  DICTL.ludb7 = ludb7;
  DICTL.ikeep = ikeep;
  DICTL.lumsg1 = lumsg1;
  DICTL.lumsg2 = lumsg2;
  // An invalid option or unit count is never stored: a count above 10 would send every
  // unit loop past the per-unit tables, an option outside 1..3 would write nothing at all.
  if (validOption(luopt)) DICTL.luopt = luopt;
  if (validUnitCount(itfnum)) DICTL.itfnum = itfnum;
  DICTL.numberFormat = numberFormatOf(nform);
  DISTAT.currentUnit = 1;
  DISTAT.messageCount.fill(0);

  if (DISTAT.initialised == 1) return report(ierr, kAlreadyStarted, kDiNoValue, 0);

  ierr = 0;
  inform("DIINI", kVersionLine);
  inform("", kFormatLines[static_cast<std::size_t>(numberFormatOf(nform))]);

  if (!validOption(luopt)) return report(ierr, kBadOption, kDiNumber, luopt);
  if (!validUnitCount(itfnum)) return report(ierr, kBadUnitCount, kDiNumber, itfnum);
  if (PAGSIZ(ipgsiz) == 0) return report(ierr, kBadPageSize, kDiNumber, ipgsiz);

  for (int32_t k = 1; k <= itfnum && static_cast<std::size_t>(k) <= iunits.size(); ++k) {
    DICTL.tempUnit(k) = iunits[static_cast<std::size_t>(k - 1)];
  }

  DISTAT.initialised = 1;
  clearWritingState();
  answerWrittenHighestFromDicnt();
  ELTBLD(DBLEVL.recordLayout);
  DBLEVL.userLevelOpen = 1;
  DBLEVL.projectLevelOpen = 1;

  // A stream left part written by an earlier session would otherwise be read back in
  // front of the next dataset: every temporary unit starts again at its beginning.
  restartStreams();

  SYSINI();
  installEntityLabels();
  installDescriptorDispatch();
  installDatabaseDump();
  if (luopt == kOutputNeutral) return;
  prepareDatabaseSide(ludb8, ludb7, ipgsiz);
}

void DIDBI(int32_t& opened, int32_t& ierr) {
  DISTAT.modelActive = 0;
  DISTAT.databaseReady = 1;
  opened = 1;
  ierr = 0;
}

}  // namespace kvr
