// DIPASM and ASMCMP: the assembly build.
#include "dbinterface/dipasm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>
#include <string>

#include "dbinterface/dbhdrr.h"
#include "dbinterface/diblocks.h"
#include "dbinterface/dipmat.h"
#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ressel.h"
#include "dbinterface/tmpstream.h"
#include "geometry/matrix4.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"
#include "runtime/codtxt.h"
#include "runtime/ftext.h"
#include "runtime/iounit.h"
#include "runtime/modelname.h"

namespace kvr {
namespace {

constexpr std::string_view kProcessingName = "DILIM";

constexpr int32_t kComponentNotFound = 226;
constexpr int32_t kIncompleteComponent = 227;
constexpr int32_t kTransformationNotFound = 228;
constexpr int32_t kTooManyTransformations = 234;
constexpr int32_t kAssemblyLocked = 272;
constexpr int32_t kAssemblyNotWritten = 274;

constexpr int32_t kAddComponent = 1;
constexpr int32_t kFinishAssembly = 2;

// The component record.
constexpr int32_t kComponentNameCodes = 20;
constexpr int32_t kComponentRecordWords = kComponentNameCodes + 2;

// The component list.
constexpr int32_t kListHeadWords = 5;   // entries from word 6
constexpr int32_t kLastListWord = 95;
constexpr int32_t kListChainEnd = 0;
constexpr int32_t kPlainEntryWords = kComponentNameCodes + 3;

constexpr int32_t kLockHeld = 1;  // DBLOCK mode 1: this process holds the lock

using Matrix = std::array<double, kMatrixValues>;

// Area 2 of LDPAGE (after one data page), where a database is opened.
std::span<int32_t> openArea(std::span<int32_t> ldpage) {
  const auto p = static_cast<std::size_t>(std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords));
  return ldpage.subspan(std::min(p, ldpage.size()));
}

// Area 1 of LDPAGE: one data page.
std::span<int32_t> firstArea(std::span<int32_t> ldpage) {
  const auto p = static_cast<std::size_t>(std::clamp(DBLEVL.dataPageSize, 0, kLargestPageWords));
  return ldpage.first(std::min(p, ldpage.size()));
}

// Reopens the assembly (the model the last model header named) and tells whether this
// process may write it: 0 yes; minus the process id that holds its lock; 1 when it cannot
// be opened.
int32_t reopenAssembly(std::span<int32_t> ldpage) {
  int32_t status = 1;
  TLBOPN(openArea(ldpage), DICTL.modelGiven.words, kComponentNameCodes, status);
  if (status != 0) return 1;
  int32_t held = 0;
  DBLOCK(1, held);
  if (held == kLockHeld) return 0;
  return held < 0 ? held : 1;
}

int32_t saturatedSum(int32_t a, int32_t b) {
  const int64_t s = int64_t{a} + b;
  return static_cast<int32_t>(std::clamp<int64_t>(s, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Adds the component whose summary is C to the accumulator (the first one starts it)
// with the extents LOW and HIGH.
void accumulate(AsmAcc& a, int32_t n, const Dicnt& c, const std::array<float, 3>& low,
                const std::array<float, 3>& high) {
  Dicnt& s = a.summary;
  if (n == 1) {
    s = c;
    s.minimum = low;
    s.maximum = high;
    return;
  }
  for (std::size_t k = 0; k < 3; ++k) {
    s.minimum[k] = std::min(s.minimum[k], low[k]);
    s.maximum[k] = std::max(s.maximum[k], high[k]);
  }
  s.nodeCount = saturatedSum(s.nodeCount, c.nodeCount);
  s.elementCount = saturatedSum(s.elementCount, c.elementCount);
  s.nodeCountCopy = saturatedSum(s.nodeCountCopy, c.nodeCountCopy);
  s.elementCountCopy = saturatedSum(s.elementCountCopy, c.elementCountCopy);
  if (c.oneDimensional != 0) s.oneDimensional = c.oneDimensional;
  if (c.twoDimensional != 0) s.twoDimensional = c.twoDimensional;
  if (c.threeDimensional != 0) s.threeDimensional = c.threeDimensional;
  s.firstConnectivityCount = std::max(s.firstConnectivityCount, c.firstConnectivityCount);
  s.secondConnectivityCount = std::max(s.secondConnectivityCount, c.secondConnectivityCount);
  s.largestNodeCount = std::max(s.largestNodeCount, c.largestNodeCount);
  s.lastNodeId = std::max(s.lastNodeId, c.lastNodeId);
  s.highestElementId = std::max(s.highestElementId, c.highestElementId);
}

// The extents of the component in DICNT: the box of its eight corners, each moved by the
// transformation in CMPTRF when it has one. (Its two moved corners alone would not bound
// a rotated box.)
void componentExtents(bool transformed, std::array<float, 3>& low, std::array<float, 3>& high) {
  const Dicnt& c = DICNT;
  for (int32_t corner = 0; corner < 8; ++corner) {
    std::array<float, 3> p{};
    for (std::size_t k = 0; k < 3; ++k) {
      p[k] = (corner >> k & 1) != 0 ? c.maximum[k] : c.minimum[k];
    }
    if (transformed) XFMPNT(p[0], p[1], p[2]);
    for (std::size_t k = 0; k < 3; ++k) {
      low[k] = corner == 0 ? p[k] : std::min(low[k], p[k]);
      high[k] = corner == 0 ? p[k] : std::max(high[k], p[k]);
    }
  }
}

// Stores the entry of a component in the component list: on the current page, or on a
// new one when it would pass word 95.
void storeEntry(std::span<int32_t> ldscr, AsmAcc& a, int32_t n, std::span<const int32_t> name,
                int32_t nt, std::span<const int32_t> ids, int32_t flag,
                std::span<const float, kMatrixValues> matrix, int32_t nodeOffset,
                int32_t elementOffset) {
  std::array<int32_t, kIndexPageSize> list{};
  const auto word = [&list](int32_t k) -> int32_t& { return list[static_cast<std::size_t>(k - 1)]; };
  int32_t page = 0;
  int32_t freeHead = 0;
  int32_t last = kListHeadWords;
  if (n == 1 || a.listPage <= 0) {
    PGNEW(ldscr, kComponentClass, page, freeHead);
    PGINIT(kComponentClass, page, list);
    a.firstListPage = page;
  } else {
    page = a.listPage;
    PAGRD(kComponentClass, page, list);
    freeHead = word(kFreeLinkWord);
    last = std::clamp(word(kUsedLengthWord), kListHeadWords, kLastListWord);
  }
  const int32_t count = std::max(nt, 0);
  const int32_t length = kPlainEntryWords + (count > 0 ? count + 1 + kMatrixValues : 0);
  if (last + length > kLastListWord) {
    int32_t next = 0;
    int32_t nextFree = 0;
    PGNEW(ldscr, kComponentClass, next, nextFree);
    RECPK5(list, 1, page, kComponentClass, last, next, freeHead);
    PAGWR(kComponentClass, page, list);
    PGINIT(kComponentClass, next, list);
    page = next;
    freeHead = nextFree;
    last = kListHeadWords;
  }
  int32_t q = last + 1;
  const auto put = [&](int32_t v) { word(q++) = v; };
  for (int32_t k = 0; k < kComponentNameCodes; ++k) put(name[static_cast<std::size_t>(k)]);
  put(count);
  if (count > 0) {
    for (int32_t k = 0; k < count; ++k) put(ids[static_cast<std::size_t>(k)]);
    put(flag);
    for (float v : matrix) put(std::bit_cast<int32_t>(v));
  }
  put(nodeOffset);
  put(elementOffset);
  RECPK5(list, 1, page, kComponentClass, q - 1, kListChainEnd, freeHead);
  PAGWR(kComponentClass, page, list);
  a.listPage = page;
}

// ---- DIPASM ---------------------------------------------------------------------------

// One component being read: its record, its ids and its composed transformation.
struct Component {
  std::array<int32_t, kComponentRecordWords> record{};
  std::array<int32_t, kMostComponentTransformations> ids{};
  int32_t nt = 0;
  int32_t flag = 0;
  std::span<const int32_t> name() const { return std::span(record).subspan(1, kComponentNameCodes); }
};

// The component's name as the files are named, without "." and extension, 20 codes.
std::array<int32_t, kComponentNameCodes> fileBaseName(std::span<const int32_t> name) {
  FixedText given(kComponentNameCodes);
  CODTXT(name, kComponentNameCodes, given);
  const std::string_view extension = currentModelExtension(ModelFileKind::Index);
  std::string base = modelFileName(given.view(), extension);
  base.resize(base.size() >= extension.size() + 1 ? base.size() - extension.size() - 1 : 0);
  std::array<int32_t, kComponentNameCodes> codes{};
  codes.fill(kBlankCode);
  for (std::size_t k = 0; k < base.size() && k < codes.size(); ++k) codes[k] = codeOf(base[k]);
  return codes;
}

void reportWithName(int32_t& ierr, int32_t code, std::span<const int32_t> name) {
  FixedText text(kComponentNameCodes);
  CODTXT(name, kComponentNameCodes, text);
  reportLoaderError(ierr, code, kProcessingName, kDiName, 0, text.view());
}

// Reads the component's transformation ids when NT is above 0; more than 14 are read
// and refused (234) before any is kept.
bool readIds(Component& c, int32_t& ierr) {
  if (c.nt <= 0) return true;
  if (c.nt <= kMostComponentTransformations) {
    return readLoaderRecord(std::span(c.ids).first(static_cast<std::size_t>(c.nt)), ierr);
  }
  // Read in pieces: a damaged count cannot read more than the stream holds.
  std::array<int32_t, kMostComponentTransformations> skipped{};
  for (int32_t left = c.nt; left > 0;) {
    const int32_t piece = std::min(left, kMostComponentTransformations);
    if (!readLoaderRecord(std::span(skipped).first(static_cast<std::size_t>(piece)), ierr)) {
      return false;
    }
    left -= piece;
  }
  reportLoaderError(ierr, kTooManyTransformations);
  return false;
}

// Word K of PAGE, 0 outside it.
int32_t pageWord(std::span<const int32_t> page, int64_t k) {
  return k >= 1 && k <= static_cast<int64_t>(page.size()) ? page[static_cast<std::size_t>(k - 1)]
                                                           : 0;
}

// The position after the last entry of the transformation page held in PAGE.
int32_t entriesEnd(std::span<const int32_t> page) {
  return std::clamp(pageWord(page, kUsedLengthWord), 0, static_cast<int32_t>(page.size()) + 1);
}

// Finds transformation ID in the dataset from page FIRST (read into PAGE, COUNT entries
// in all): its flag and matrix. False when it is not stored.
bool findTransformation(std::span<int32_t> page, int32_t first, int32_t count, int32_t id,
                        int32_t& flag, Matrix& t) {
  const int32_t pageLimit = DBPARM.fileSlot(kDataFileSlot).nextPage;
  int32_t seen = 0;
  int32_t pagesRead = 0;
  for (int32_t p = first; p > 0 && pagesRead < pageLimit; p = pageWord(page, kLoaderNextWord)) {
    ++pagesRead;
    PAGRD(kTransformationDataset, p, page);
    const int32_t end = entriesEnd(page);
    for (int32_t q = kFirstTransformationWord; q + kTransformationWords <= end; q += kTransformationWords) {
      if (++seen > count) return false;
      if (pageWord(page, q) != id) continue;
      flag = pageWord(page, q + 1);
      for (int32_t k = 0; k < kMatrixValues; ++k) {
        t[static_cast<std::size_t>(k)] = std::bit_cast<float>(pageWord(page, q + 2 + k));
      }
      return true;
    }
  }
  return false;
}

// Composes the component's transformation M = T(NT) x ... x T(1) and makes it CMPTRF.
bool compose(std::span<int32_t> ldpage, Component& c, int32_t& ierr) {
  if (c.nt == 0) return true;
  int32_t first = 0;
  DSDIRF(kTransformationDataset, first);
  if (first <= 0) {
    reportLoaderError(ierr, kTransformationNotFound);
    return false;
  }
  const std::span<int32_t> page = firstArea(ldpage);
  PAGRD(kTransformationDataset, first, page);
  const int32_t count = pageWord(page, kTransformationCountWord);
  if (c.nt < 0) {
    if (count > kMostComponentTransformations) {
      reportLoaderError(ierr, kTooManyTransformations);
      return false;
    }
    // Every stored transformation, in the order of page 1.
    const int32_t end = entriesEnd(page);
    c.nt = 0;
    for (int32_t k = 0; k < count; ++k) {
      const int32_t q = kFirstTransformationWord + k * kTransformationWords;
      if (q + kTransformationWords > end) break;
      c.ids[static_cast<std::size_t>(c.nt++)] = pageWord(page, q);
    }
  }
  Matrix m{};
  IDNT4D(m);
  for (int32_t k = 0; k < c.nt; ++k) {
    Matrix t{};
    if (!findTransformation(page, first, count, c.ids[static_cast<std::size_t>(k)], c.flag, t)) {
      reportLoaderError(ierr, kTransformationNotFound);
      return false;
    }
    MAT44M(t, m, m);
  }
  if (c.nt == 0) return true;
  CMPTRF.flag = c.flag;
  for (std::size_t k = 0; k < m.size(); ++k) CMPTRF.m[k] = static_cast<float>(m[k]);
  return true;
}

// Reports a status of ASMCMP: 272 with the process id, or 274.
bool accepted(int32_t status, int32_t& ierr) {
  if (status == 0) return true;
  if (status < 0) {
    // A holder of -2^31 has no positive form; it is shown as it stands.
    reportLoaderError(ierr, kAssemblyLocked,
                      status == std::numeric_limits<int32_t>::min() ? status : -status);
  } else {
    reportLoaderError(ierr, kAssemblyNotWritten);
  }
  return false;
}

// Opens component N, reads its counts, summary and transformation, and adds it.
bool addComponent(std::span<int32_t> ldpage, std::span<int32_t> ldscr, Component& c, int32_t n,
                  int32_t& ierr) {
  int32_t status = 1;
  TLBOPN(openArea(ldpage), c.name(), kComponentNameCodes, status);
  if (status != 0) {
    reportWithName(ierr, kComponentNotFound, c.name());
    return false;
  }
  DBCTRW(DICNT.nodeCount, DICNT.elementCount, DICNT.loadCaseCount);
  if (DICNT.nodeCount <= 0 || DICNT.elementCount <= 0) {
    reportWithName(ierr, kComponentNotFound, c.name());
    return false;
  }
  DBHDRR(ldpage, status);
  if (status != 0) {
    reportWithName(ierr, kIncompleteComponent, c.name());
    return false;
  }
  if (!compose(ldpage, c, ierr)) return false;
  const std::array<int32_t, kComponentNameCodes> base = fileBaseName(c.name());
  ASMCMP(ldpage, ldscr, kAddComponent, n, base, c.nt,
         std::span(c.ids).first(static_cast<std::size_t>(std::max(c.nt, 0))), c.flag, CMPTRF.m,
         status);
  return accepted(status, ierr);
}

// Reads and adds the components up to the end record, then finishes the assembly. AWAY
// tells whether a component's database was left open by a refusal.
void readComponents(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr,
                    bool& away) {
  Component c;
  for (int32_t n = 0;;) {
    c = {};
    if (!readLoaderRecord(c.record, ierr)) return;
    const int32_t tag = c.record[0];
    if (tag == kTagEnd) {
      if (n == 0) return reportLoaderError(ierr, kComponentNotFound);
      int32_t status = 0;
      ASMCMP(ldpage, ldscr, kFinishAssembly, n, {}, 0, {}, 0, CMPTRF.m, status);
      accepted(status, ierr);
      return;
    }
    if (tag != kTagRecord) return reportStreamFault(ierr);
    c.nt = c.record[kComponentRecordWords - 1];
    if (!readIds(c, ierr)) return;
    away = true;
    if (!addComponent(ldpage, ldscr, c, ++n, ierr)) return;
    away = false;
  }
}

}  // namespace

void DIPASM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  ierr = 0;
  bool away = false;
  readComponents(ldpage, ldscr, ierr, away);
  // A refused component leaves the assembly's database open, as the build found it.
  if (away) reopenAssembly(ldpage);
}

void ASMCMP(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode, int32_t n,
            std::span<const int32_t> name, int32_t nt, std::span<const int32_t> ids,
            int32_t flag, std::span<const float, kMatrixValues> matrix, int32_t& status) {
  AsmAcc& a = ASMACC;
  if (mode == kAddComponent) {
    std::array<float, 3> low{};
    std::array<float, 3> high{};
    componentExtents(nt > 0, low, high);
    AsmAcc next = a;
    if (n == 1) next = {};
    const int32_t nodeOffset = n == 1 ? 0 : a.summary.nodeCountCopy;
    const int32_t elementOffset = n == 1 ? 0 : a.summary.elementCountCopy;
    accumulate(next, n, DICNT, low, high);
    status = reopenAssembly(ldpage);
    if (status != 0) return;
    std::array<int32_t, kMostComponentTransformations> kept{};
    const int32_t count = std::clamp(nt, 0, kMostComponentTransformations);
    std::copy_n(ids.begin(), std::min<std::size_t>(ids.size(), static_cast<std::size_t>(count)),
                kept.begin());
    std::array<int32_t, kComponentNameCodes> codes{};
    codes.fill(kBlankCode);
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), codes.size()), codes.begin());
    storeEntry(ldscr, next, n, codes, count, kept, flag, matrix, nodeOffset, elementOffset);
    a = next;
    return;
  }
  status = reopenAssembly(ldpage);
  if (status != 0) return;
  R3SW54(a.firstListPage);
  S103WB(a.summary.nodeCount, a.summary.elementCount, a.summary.loadCaseCount);
  CRPUT(kModelClass);
  Dicnt summary = a.summary;
  summary.firstNodeId = -1;
  summary.firstElementId = -1;
  writeModelSummary(ldpage, ldscr, summary, status);
}

}  // namespace kvr
