// DIRHA, DIRHB, DINIA, the entity headers and their repeats, and the local-axis headers
// and records: the results datasets, checked in the order the routines have always
// checked them.

#include "dbinterface/diresult.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "dbinterface/diblocks.h"
#include "dbinterface/direcs_checks.h"
#include "modeldb/elttab.h"

namespace kvr {

namespace {

constexpr int32_t kResultsKeys[] = {100, 300};
constexpr int32_t kElementAxesKeys[] = {33};
constexpr int32_t kGaussAxesKeys[] = {34};

// Results types: nodal records, element points, Gauss points, layers.
constexpr int32_t kNodalResults = 1;
constexpr int32_t kPointResults = 3;
constexpr int32_t kGaussResults = 4;
constexpr int32_t kLayerResults = 5;
constexpr int32_t kMaxResultsType = 5;
constexpr int32_t kMaxVariants = 5;
// Words of a unit's variant row: keys in 1..6, values per record in 7..12.
constexpr int32_t kVariantSlots = 6;
constexpr int32_t kFirstValueCount = 7;

// Component types: 0 an enumerated list, 1..6, and their two-value forms 11..14 and 16.
constexpr int32_t kTwoValueTypes = 11;
constexpr int32_t kMaxListLength = 5;

// The point element: its results carry nothing the model keeps.
constexpr int32_t kPointElement = 20;

constexpr int32_t kMaxGaussId = 999999;

bool isComponentType(int32_t ctype) {
  return (ctype >= 0 && ctype <= 6) || (ctype >= 11 && ctype <= 14) || ctype == 16;
}

// The index rules of a sent component of type CTYPE: 0 when INDEX1 and INDEX2 are valid,
// else the code of the first that is not (187, 188).
int32_t indexFault(int32_t ctype, int32_t index1, int32_t index2) {
  const int32_t base = ctype >= kTwoValueTypes ? ctype - 10 : ctype;
  auto within = [](int32_t v, int32_t hi) { return v >= 1 && v <= hi; };
  switch (base) {
    case 1:
      return index1 == 0 ? 0 : 187;
    case 2:
      return within(index1, 6) ? 0 : 187;
    case 3:
      return within(index1, 4) ? 0 : 187;
    default:  // 4, 5, 6: a matrix entry
      if (!within(index1, 4)) return 187;
      return within(index2, 4) ? 0 : 188;
  }
}

bool headersComplete(int32_t k) {
  const ResultsState& r = DISTAT.results(k);
  return r.attributeHeaderEntered == 1 && r.componentsComplete == 1 && r.variantsComplete == 1;
}

// An entity or local-axis header has been accepted and not all its repeats are in.
bool groupPending(int32_t k) {
  return DISTAT.groupStarted(k) == 1 && DISTAT.datasetComplete(k) == 0;
}

// The values the records of variant IVAR carry: the count of the slot whose key is IVAR,
// or of slot 1 when none is.
int32_t variantValues(int32_t k, int32_t ivar) {
  const WordRow<Dictl::kVariantWords>& row = DICTL.variants(k);
  const int32_t slots = std::clamp(DICTL.numvar(k), 1, kVariantSlots);
  for (int32_t slot = 1; slot <= slots; ++slot) {
    if (row.word(slot) == ivar) return row.word(slot + kVariantSlots);
  }
  return row.word(kFirstValueCount);
}

bool appendRecord(RecordCall& call) { return call.append(DIUNIT.record.words()); }

// Steps 1 to 5 of an entity header of results type IRTYPE.
bool checkEntityHeader(RecordCall& call, int32_t irtype, int32_t ielem, int32_t ilocal) {
  const int32_t k = call.unit();
  if (!headersComplete(k)) {
    call.refuse(165, RaiseFlags::Unit);
  } else if (DISTAT.results(k).irtype != irtype) {
    call.refuse(166, RaiseFlags::Unit, DISTAT.results(k).irtype);
  } else if (groupPending(k)) {
    call.refuse(158, RaiseFlags::Unit);
  } else if (ielem < 1) {
    call.refuse(141, RaiseFlags::Unit, ielem);
  } else if (overFiveDigitField(ielem)) {
    call.refuse(143, RaiseFlags::Unit, ielem);
  } else if (ilocal != 0 && ilocal != 1) {
    call.refuse(177, RaiseFlags::Unit, ilocal);
  } else {
    return true;
  }
  return false;
}

// Opens the group of an accepted entity header with REPEATS repeats of variant IVAR.
void openGroup(int32_t k, int32_t repeats, int32_t ivar) {
  DISTAT.results(k).repeatsExpected = repeats;
  DISTAT.entityHeaderEntered(k) = 1;
  DISTAT.valuesPerRecord(k) = variantValues(k, ivar);
  DISTAT.datasetComplete(k) = 0;
  DISTAT.groupStarted(k) = 1;
}

// Step 1 and 2 of a repeat record; POINTS is set for DIEGR, whose repeats carry a point
// record.
bool checkRepeat(RecordCall& call, int32_t numres, bool points) {
  const int32_t k = call.unit();
  const ResultsState& r = DISTAT.results(k);
  // A header left entered by a dataset abandoned in mid-group belongs to no group of
  // this dataset; repeats written after it would be read as the dataset's own.
  if (DISTAT.entityHeaderEntered(k) == 0 || DISTAT.groupStarted(k) == 0) {
    call.refuse(198, RaiseFlags::Unit);
  } else if (r.repeatsExpected <= 0) {
    call.refuse(159, RaiseFlags::Unit);
  } else if ((r.irtype == kGaussResults) != points) {
    // Point records where the readers expect none, or none where they expect them,
    // would shift every later word of the stream.
    call.refuse(166, RaiseFlags::Unit, r.irtype);
  } else if (numres != DISTAT.valuesPerRecord(k)) {
    call.refuse(167, RaiseFlags::Unit, numres);
  } else {
    return true;
  }
  return false;
}

// One repeat is in; the last one completes the dataset and closes the header.
void closeRepeat(int32_t k) {
  int32_t& repeats = DISTAT.results(k).repeatsExpected;
  if (--repeats == 0) {
    DISTAT.datasetComplete(k) = 1;
    DISTAT.entityHeaderEntered(k) = 0;
  }
}

// Appends the repeat of ID: its record, the point record when given, the values.
void writeRepeat(RecordCall& call, int32_t id, const float* point, std::span<const float> values,
                 int32_t numres, int32_t& ierr, int32_t iunt) {
  ierr = 0;
  repeatRecord(DIUNIT.record, id, numres);
  bool written = appendRecord(call);
  if (written && point != nullptr) {
    pointRecord(DIUNIT.record, id, point[0], point[1], point[2]);
    written = appendRecord(call);
  }
  if (written) written = call.append(values.first(static_cast<std::size_t>(numres)));
  if (!written) return call.refuse(129, RaiseFlags::Unit, iunt);
  closeRepeat(call.unit());
}

// DIENR and DIECR: the same record and the same checks.
void valueRepeat(std::string_view routine, int32_t id, std::span<const float> values,
                 int32_t numres, int32_t& ierr, int32_t iunt) {
  RecordCall call(routine, ierr);
  if (!call.begin(iunt) || !checkRepeat(call, numres, false)) return;
  if (id < 1) return call.refuse(141, RaiseFlags::Unit, id);
  if (overFiveDigitField(id)) return call.refuse(143, RaiseFlags::Unit, id);
  writeRepeat(call, id, nullptr, values, numres, ierr, iunt);
}

// DIEXH and DIGXH: the local-axis header of dataset KEY.
void axisHeader(std::string_view routine, std::span<const int32_t> key, bool gauss, int32_t ielem,
                int32_t itype, int32_t ieatt1, int32_t npoint, int32_t nlayer, int32_t& ierr,
                int32_t iunt) {
  RecordCall call(routine, ierr);
  if (!call.begin(iunt) || !call.requireKey(key, 194)) return;
  const int32_t k = call.unit();

  if (groupPending(k)) return call.refuse(158, RaiseFlags::Unit);
  if (ielem < 1) return call.refuse(141, RaiseFlags::Unit, ielem);
  if (overFiveDigitField(ielem)) return call.refuse(143, RaiseFlags::Unit, ielem);

  ierr = 0;
  if (gauss && itype == kPointElement) {
    return call.inform("POINT ELEMENT GAUSS POINT LOCAL SYSTEM DISCARDED", ielem);
  }
  axisHeaderRecord(DIUNIT.record, ielem, itype, ieatt1, npoint, nlayer);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  DISTAT.localAxisRepeats(k) = repeatCount(npoint, nlayer);
  DISTAT.datasetComplete(k) = 0;
  DISTAT.localAxisHeaderEntered(k) = 1;
  DISTAT.groupStarted(k) = 1;
}

// DIEXD and DIGXD: the local axes of ID in dataset KEY.
void axisRecord(std::string_view routine, std::span<const int32_t> key, bool gauss, int32_t id,
                std::span<const float, kAxesReals> axes, int32_t& ierr, int32_t iunt) {
  RecordCall call(routine, ierr);
  if (!call.begin(iunt)) return;
  const int32_t k = call.unit();

  if (DISTAT.localAxisRepeats(k) <= 0) return call.refuse(159, RaiseFlags::Unit);
  if (!call.requireKey(key, 194)) return;
  if (id < 1) return call.refuse(141, RaiseFlags::Unit, id);
  if (gauss) {
    if (id > kMaxGaussId) return call.refuse(142, RaiseFlags::Unit, id);
    if (overNeutralField(id)) return call.refuse(143, RaiseFlags::Unit, id);
  } else if (overFiveDigitField(id)) {
    return call.refuse(143, RaiseFlags::Unit, id);
  }

  ierr = 0;
  axesRecord(DIUNIT.record, id, axes);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  if (--DISTAT.localAxisRepeats(k) == 0) {
    DISTAT.datasetComplete(k) = 1;
    DISTAT.localAxisHeaderEntered(k) = 0;
  }
}

}  // namespace

void DIRHA(FText attnam, int32_t ncomps, int32_t irtype, int32_t numvar, int32_t& ierr,
           int32_t iunt) {
  RecordCall call("DIRHA ", ierr);
  if (!call.begin(iunt) || !call.requireKey(kResultsKeys, 156)) return;
  const int32_t k = call.unit();
  ResultsState& r = DISTAT.results(k);

  if (r.attributeHeaderEntered != 0) return call.refuse(157, RaiseFlags::Unit);
  if (irtype < 1 || irtype > kMaxResultsType) return call.refuse(182, RaiseFlags::Unit, irtype);
  if (ncomps < 1 || ncomps > Diunit::kComponents) {
    return call.refuse(183, RaiseFlags::Unit, ncomps);
  }
  if (numvar < 0 || numvar > kMaxVariants) return call.refuse(184, RaiseFlags::Unit, numvar);

  ierr = 0;
  attributeRecord(DIUNIT.record, attnam, ncomps, irtype, numvar);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  r.attributeHeaderEntered = 1;
  r.componentsExpected = ncomps;
  DICTL.ncomps(k) = ncomps;
  DICTL.numvar(k) = numvar;
  r.irtype = irtype;
  r.variantsExpected = numvar;
  if (numvar == 0) r.variantsComplete = 1;
  DICTL.variants(k).word(1) = 0;
  DICTL.variants(k).word(kFirstValueCount) = ncomps;
  DISTAT.groupStarted(k) = 0;
  DIUNIT.components(k).words.fill(1);
}

void DIRHB(FText compnm, int32_t inmenu, int32_t ctype, int32_t index1, int32_t index2,
           int32_t iexist, FText ncalc, FText compn2, int32_t& ierr, int32_t iunt) {
  RecordCall call("DIRHB ", ierr);
  if (!call.begin(iunt)) return;
  const int32_t k = call.unit();
  ResultsState& r = DISTAT.results(k);

  if (r.attributeHeaderEntered == 0) return call.refuse(161, RaiseFlags::Unit);
  if (r.componentsComplete != 0) return call.refuse(162, RaiseFlags::Unit);
  if (inmenu != 0 && inmenu != 1) return call.refuse(185, RaiseFlags::Unit, inmenu);
  if (!isComponentType(ctype)) return call.refuse(186, RaiseFlags::Unit, ctype);
  if (ctype == 0) {
    // An enumerated list: IEXIST is minus its length; the index and name rules do not
    // apply.
    if (iexist < -kMaxListLength || iexist > -1) return call.refuse(171, RaiseFlags::Unit, iexist);
  } else {
    if (iexist != 0 && iexist != 1) return call.refuse(189, RaiseFlags::Unit, iexist);
    if (iexist == 1 && !isCalculationName(ncalc)) return call.refuse(191, RaiseFlags::Unit, ncalc);
    if (iexist == 0) {
      if (const int32_t code = indexFault(ctype, index1, index2); code != 0) {
        return call.refuse(code, RaiseFlags::Unit, code == 187 ? index1 : index2);
      }
      if (!ncalc.isBlank()) return call.refuse(191, RaiseFlags::Unit, ncalc);
    }
  }

  ierr = 0;
  componentRecord(DIUNIT.record, compnm, inmenu, ctype, index1, index2, iexist, ncalc, compn2);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  if (--r.componentsExpected == 0) r.componentsComplete = 1;
  int32_t& values = DICTL.variants(k).word(kFirstValueCount);
  if (iexist == 1) {
    --values;  // calculated: no value sent
  } else if (ctype >= kTwoValueTypes) {
    ++values;  // sent in two values
  }
  const int32_t position = DICTL.ncomps(k) - r.componentsExpected;
  DIUNIT.components(k).word(position) = ctype >= kTwoValueTypes ? 2 : 1;
}

void DINIA(int32_t node, std::span<const float> values, int32_t numres, int32_t& ierr,
           int32_t iunt) {
  RecordCall call("DINIA ", ierr);
  if (!call.begin(iunt)) return;
  const int32_t k = call.unit();
  const ResultsState& r = DISTAT.results(k);

  if (!headersComplete(k)) return call.refuse(165, RaiseFlags::Unit);
  if (r.irtype != kNodalResults) return call.refuse(166, RaiseFlags::Unit, r.irtype);
  if (numres != DICTL.variants(k).word(kFirstValueCount)) {
    return call.refuse(167, RaiseFlags::Unit, numres);
  }
  if (node < 1) return call.refuse(141, RaiseFlags::Unit, node);
  if (overFiveDigitField(node)) return call.refuse(143, RaiseFlags::Unit, node);

  ierr = 0;
  nodalValuesRecord(DIUNIT.record, node, numres);
  if (!appendRecord(call) || !call.append(values.first(static_cast<std::size_t>(numres)))) {
    return call.refuse(129, RaiseFlags::Unit, iunt);
  }
  DISTAT.datasetComplete(k) = 1;
}

void DIENH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t npoint,
           int32_t nlayer, int32_t ilocal, const int32_t* /*notRead*/, int32_t& ierr,
           int32_t iunt) {
  RecordCall call("DIENH ", ierr);
  if (!call.begin(iunt) || !checkEntityHeader(call, kPointResults, ielem, ilocal)) return;
  const int32_t k = call.unit();

  ierr = 0;
  if (itype == kPointElement) return call.inform("POINT ELEMENT RESULTS DISCARDED", ielem);
  // A type outside the table has no nodes: its factor then counts as 1.
  const int32_t nodes = ELNCNT(itype);
  // Any other point count announces repeats that the readers would not count alike.
  if (npoint != 0 && npoint != nodes) return call.refuse(171, RaiseFlags::Unit, npoint);

  elementValuesHeader(DIUNIT.record, ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);

  const int32_t points = npoint == 0 && itype != 0 ? nodes : npoint;
  openGroup(k, repeatCount(nlayer, points), ivar);
}

void DIECH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t nlayer,
           int32_t ilocal, const int32_t* /*notRead*/, int32_t& ierr, int32_t iunt) {
  RecordCall call("DIECH ", ierr);
  if (!call.begin(iunt) || !checkEntityHeader(call, kLayerResults, ielem, ilocal)) return;
  const int32_t k = call.unit();

  ierr = 0;
  if (itype == kPointElement) return call.inform("POINT ELEMENT RESULTS DISCARDED", ielem);
  centroidValuesHeader(DIUNIT.record, ielem, itype, ieatt1, ivar, nlayer, ilocal);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);
  openGroup(k, repeatCount(nlayer, 1), ivar);
}

void DIEGH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t ivar, int32_t npoint,
           int32_t nlayer, int32_t ilocal, int32_t igflag, int32_t& ierr, int32_t iunt) {
  RecordCall call("DIEGH ", ierr);
  if (!call.begin(iunt) || !checkEntityHeader(call, kGaussResults, ielem, ilocal)) return;
  const int32_t k = call.unit();

  ierr = 0;
  if (itype == kPointElement) return call.inform("POINT ELEMENT RESULTS DISCARDED", ielem);
  gaussValuesHeader(DIUNIT.record, ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal, igflag);
  if (!appendRecord(call)) return call.refuse(129, RaiseFlags::Unit, iunt);
  openGroup(k, repeatCount(nlayer, npoint), ivar);
}

void DIENR(int32_t id, std::span<const float> values, int32_t numres, int32_t& ierr, int32_t iunt) {
  valueRepeat("DIENR ", id, values, numres, ierr, iunt);
}

void DIECR(int32_t id, std::span<const float> values, int32_t numres, int32_t& ierr, int32_t iunt) {
  valueRepeat("DIECR ", id, values, numres, ierr, iunt);
}

void DIEGR(int32_t id, float x, float y, float z, std::span<const float> values, int32_t numres,
           int32_t& ierr, int32_t iunt) {
  RecordCall call("DIEGR ", ierr);
  if (!call.begin(iunt) || !checkRepeat(call, numres, true)) return;
  if (id < 1) return call.refuse(141, RaiseFlags::Unit, id);
  if (id > kMaxGaussId) return call.refuse(142, RaiseFlags::Unit, id);
  if (overNeutralField(id)) return call.refuse(143, RaiseFlags::Unit, id);
  const float point[3] = {x, y, z};
  writeRepeat(call, id, point, values, numres, ierr, iunt);
}

void DIEXH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t npoint, int32_t nlayer,
           int32_t& ierr, int32_t iunt) {
  axisHeader("DIEXH ", kElementAxesKeys, false, ielem, itype, ieatt1, npoint, nlayer, ierr, iunt);
}

void DIGXH(int32_t ielem, int32_t itype, int32_t ieatt1, int32_t npoint, int32_t nlayer,
           int32_t& ierr, int32_t iunt) {
  axisHeader("DIGXH ", kGaussAxesKeys, true, ielem, itype, ieatt1, npoint, nlayer, ierr, iunt);
}

void DIEXD(int32_t id, std::span<const float, kAxesReals> axes, int32_t& ierr, int32_t iunt) {
  axisRecord("DIEXD ", kElementAxesKeys, false, id, axes, ierr, iunt);
}

void DIGXD(int32_t id, std::span<const float, kAxesReals> axes, int32_t& ierr, int32_t iunt) {
  axisRecord("DIGXD ", kGaussAxesKeys, true, id, axes, ierr, iunt);
}

}  // namespace kvr
