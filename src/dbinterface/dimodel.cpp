// DICOR, DITOP, DISET, DICON, DILXC: the records of the model datasets, checked in the
// order the routines have always checked them, so that the code a host sees for a
// record with several faults is the same.

#include "dbinterface/dimodel.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <utility>

#include "dbinterface/diblocks.h"
#include "dbinterface/direcs_checks.h"
#include "modeldb/elttab.h"
#include "runtime/codtxt.h"

namespace kvr {

namespace {

// Dataset keys of the routines.
constexpr int32_t kCoordinatesKeys[] = {2};
constexpr int32_t kTopologyKeys[] = {3};
constexpr int32_t kSetKeys[] = {18, 19};
constexpr int32_t kConstraintKeys[] = {41};
constexpr int32_t kLocalSystemKeys[] = {43};

// The point element: its records carry nothing the model keeps.
constexpr int32_t kPointElement = 20;

std::function<void(int32_t)>& dicorProbe() {
  static std::function<void(int32_t)> probe;
  return probe;
}

// Coordinates and topology states.
constexpr int32_t kStateEntered = 2;

// Members per member record: 15 fill a line of the five-digit text file, 10 one of the
// ten-digit formats.
constexpr int32_t kMembersFiveDigit = 15;
constexpr int32_t kMembersTenDigit = 10;

// Appends the record being assembled in DIUNIT.
bool appendRecord(RecordCall& call) { return call.append(DIUNIT.record.words()); }

// The checks of a system number shared by DICOR and DITOP: below 0, above 999999, and
// above 99999 with neutral output; each shows ISYS and raises every unit's flag to 2.
bool checkModelSystem(RecordCall& call, int32_t isys) {
  int32_t code = 0;
  if (isys < 0) {
    code = 253;
  } else if (isys > kSystemIdMax) {
    code = 254;
  } else if (overNeutralField(isys)) {
    code = 255;
  }
  if (code == 0) return true;
  call.refuse(code, RaiseFlags::AllUnits, isys);
  return false;
}

}  // namespace

void setDicorProbe(std::function<void(int32_t node)> probe) { dicorProbe() = std::move(probe); }

void DICOR(int32_t node, float x, float y, float z, int32_t isys, int32_t& ierr, int32_t iunt) {
  if (dicorProbe()) dicorProbe()(node);
  RecordCall call("DICOR ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kCoordinatesKeys, 131)) return;
  const int32_t k = call.unit();

  // A node number below 1 is caught here too: the last id starts at 0.
  if (node <= DISTAT.lastId(k)) return call.refuse(212, RaiseFlags::AllUnits);
  if (overFiveDigitField(node)) return call.refuse(215, RaiseFlags::AllUnits, node);
  if (!checkModelSystem(call, isys)) return;

  ierr = 0;
  nodeRecord(DIUNIT.record, node, x, y, z, isys);
  if (!appendRecord(call)) return call.refuse(216, RaiseFlags::AllUnits, iunt);

  DISTAT.datasetComplete(k) = 1;
  DISTAT.coordinatesState = kStateEntered;
  ++DICTL.nodeCount;
  DISTAT.lastId(k) = node;
}

void DITOP(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ieatt2,
           std::span<const int32_t> nodes, int32_t isys, int32_t& ierr, int32_t iunt) {
  RecordCall call("DITOP ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kTopologyKeys, 132)) return;
  const int32_t k = call.unit();

  if (ielem < 1) return call.refuse(217, RaiseFlags::AllUnits, ielem);
  ierr = 0;
  if (itype == kPointElement) return call.inform("POINT ELEMENT DISCARDED", ielem);
  if (ELTDIM(itype) == 0) return call.refuse(218, RaiseFlags::AllUnits, itype);

  const int32_t count = ELNCNT(itype);
  assert(nodes.size() >= static_cast<std::size_t>(count));
  const std::span<const int32_t> elementNodes = nodes.first(static_cast<std::size_t>(count));
  for (int32_t n : elementNodes) {
    if (n < 1) return call.refuse(213, RaiseFlags::AllUnits, n);
    // A node number the five-digit text file cannot hold would print as asterisks.
    if (overFiveDigitField(n)) return call.refuse(215, RaiseFlags::AllUnits, n);
  }
  if (overFiveDigitField(ielem)) return call.refuse(221, RaiseFlags::AllUnits, ielem);
  if (!checkModelSystem(call, isys)) return;

  elementRecord(DIUNIT.record, ielem, itype, ieatt1, ieatt2, isys);
  if (!appendRecord(call) || !call.append(elementNodes)) {
    return call.refuse(216, RaiseFlags::AllUnits, iunt);
  }

  DISTAT.datasetComplete(k) = 1;
  DISTAT.topologyState = kStateEntered;
  ++DICTL.elementCount;
}

void DISET(FText setnam, FText stitle, std::span<const int32_t> ids, int32_t nids, int32_t& ierr,
           int32_t iunt) {
  RecordCall call("DISET ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kSetKeys, 133)) return;
  const int32_t k = call.unit();

  std::array<int32_t, kSetNameCodes> nameCodes;
  textCodes(setnam, nameCodes, false);
  ierr = 0;
  if (std::all_of(nameCodes.begin(), nameCodes.end(), [](int32_t c) { return c == kBlankCode; })) {
    return call.refuse(134, RaiseFlags::Unit);
  }

  // A negative count would make no member record at all, and the set no members line.
  const std::size_t count = static_cast<std::size_t>(std::max(nids, 0));
  assert(ids.size() >= count);
  const std::span<const int32_t> members = ids.first(count);
  // Checked before anything is appended: the five-digit text file cannot hold such a
  // member, and a set half written cannot be taken back.
  for (int32_t id : members) {
    if (overFiveDigitField(id)) return call.refuse(143, RaiseFlags::Unit, id);
  }

  if (DISTAT.setHeaderWritten(k) == 0) {
    setHeaderRecord(DIUNIT.record, setnam, stitle);
    if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);
    DISTAT.setHeaderWritten(k) = 1;
  }

  const std::size_t perRecord = static_cast<std::size_t>(
      DICTL.numberFormat == kFormatI5E12 ? kMembersFiveDigit : kMembersTenDigit);
  std::size_t first = 0;
  do {
    const std::size_t n = std::min(perRecord, count - first);
    setMemberRecord(DIUNIT.record, members.subspan(first, n));
    if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);
    first += n;
  } while (first < count);

  DISTAT.datasetComplete(k) = 1;
}

void DICON(int32_t node, int32_t idof, int32_t isys, int32_t iedof, int32_t& ierr, int32_t iunt) {
  RecordCall call("DICON ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kConstraintKeys, 194)) return;
  const int32_t k = call.unit();

  if (node <= DISTAT.lastId(k)) return call.refuse(153, RaiseFlags::Unit);
  if (overFiveDigitField(node)) return call.refuse(143, RaiseFlags::Unit, node);
  if (isys < 0) return call.refuse(141, RaiseFlags::AllUnits, isys);
  if (isys > kSystemIdMax) return call.refuse(142, RaiseFlags::AllUnits, isys);
  if (overNeutralField(isys)) return call.refuse(143, RaiseFlags::AllUnits, isys);
  if (!isConstraintCode(idof)) return call.refuse(196, RaiseFlags::Unit, idof);
  if (!isConstraintCode(iedof)) return call.refuse(197, RaiseFlags::Unit, iedof);
  if (idof == 0 && iedof == 0) return call.refuse(176, RaiseFlags::Unit);

  ierr = 0;
  constraintRecord(DIUNIT.record, node, idof, isys, iedof);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  DISTAT.datasetComplete(k) = 1;
  DISTAT.lastId(k) = node;
}

void DILXC(int32_t isys, int32_t& idum, std::span<const float, kAxesReals> axes, int32_t& ierr,
           int32_t iunt) {
  idum = 0;
  RecordCall call("DILXC ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kLocalSystemKeys, 194)) return;
  const int32_t k = call.unit();

  if (isys <= DISTAT.lastId(k)) return call.refuse(169, RaiseFlags::Unit);
  if (isys > kSystemIdMax) return call.refuse(142, RaiseFlags::Unit, isys);
  if (overNeutralField(isys)) return call.refuse(143, RaiseFlags::Unit, isys);

  ierr = 0;
  localSystemRecord(DIUNIT.record, isys, axes);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  DISTAT.datasetComplete(k) = 1;
  DISTAT.lastId(k) = isys;
}

}  // namespace kvr
