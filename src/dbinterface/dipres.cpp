// The results attribute loader DIPRES, the derived attribute record RAMAKE, and the
// readers of a results attribute's definitions.

#include "dbinterface/dipres.h"

#include <algorithm>
#include <array>
#include <string>

#include "dbinterface/dimsg.h"
#include "dbinterface/dipnr.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/ressel.h"
#include "messages/catalog.h"
#include "modeldb/ctlrec.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "runtime/codtxt.h"
#include "runtime/iounit.h"

namespace kvr {
namespace {

constexpr int32_t kResultsKey = 100;
constexpr int32_t kResultsCopyKey = 300;
constexpr int32_t kMostResultsType = 5;
constexpr int32_t kAttributeWords = 12;  // tag, 8 name codes, NCOMPS, IRTYPE, NUMVAR
constexpr int32_t kComponentWords = 30;  // tag, name, 5 words, NCALC, second name
constexpr int32_t kVariantWords = 3;     // tag, id, n
constexpr int32_t kIllegalCalculation = 248;

void copyName(std::span<const int32_t> from, std::span<int32_t> to) {
  std::array<int32_t, kResultsNameCodes> codes{};
  std::copy_n(from.begin(), kResultsNameCodes, codes.begin());
  UPCCOD(codes, 1, kResultsNameCodes);
  std::copy_n(codes.begin(), std::min<std::size_t>(to.size(), codes.size()), to.begin());
}

}  // namespace

void DIPAT(int32_t key, std::span<int32_t> name, int32_t& ncomps, int32_t& irtype,
           int32_t& numvar, int32_t& ierr) {
  ierr = 0;
  std::array<int32_t, kAttributeWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if ((key != kResultsKey && key != kResultsCopyKey) || r[0] != kTagAttribute) {
    return reportNotDetected(ierr, "DIPAT ", 9250);
  }
  copyName(std::span<const int32_t>(r).subspan(1), name);
  ncomps = r[9];
  irtype = r[10];
  numvar = r[11];
  if (ncomps < 1 || ncomps > kMostComponents) return reportNotDetected(ierr, "DIPAT ", 9300);
  if (irtype < 1 || irtype > kMostResultsType) return reportNotDetected(ierr, "DIPAT ", 9400);
  if (numvar < 0 || numvar > kMostVariants) return reportNotDetected(ierr, "DIPAT ", 9500);
}

void DIPCO(int32_t /*key*/, int32_t c, std::span<int32_t> name, int32_t& inmenu,
           int32_t& ctype, int32_t& index1, int32_t& index2, int32_t& iexist,
           std::span<int32_t> ncalc, std::span<int32_t> name2, int32_t& ierr) {
  ierr = 0;
  if (c > kMostComponents) return reportNotDetected(ierr, "DIPCO ", 9200);
  std::array<int32_t, kComponentWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if (r[0] != kTagComponent) return reportNotDetected(ierr, "DIPCO ", 9300);
  const std::span<const int32_t> w(r);
  copyName(w.subspan(1), name);
  inmenu = r[9];
  ctype = r[10];
  index1 = r[11];
  index2 = r[12];
  iexist = r[13];
  copyName(w.subspan(14), ncalc);
  copyName(w.subspan(22), name2);
  const int32_t kind = ctype % 10;
  if (inmenu != 0 && inmenu != 1) return reportNotDetected(ierr, "DIPCO ", 9400);
  if (kind < 0 || kind > 6) return reportNotDetected(ierr, "DIPCO ", 9500);
  if (kind >= 2 && index1 < 0) return reportNotDetected(ierr, "DIPCO ", 9600);
  if (kind >= 4 && index2 < 0) return reportNotDetected(ierr, "DIPCO ", 9700);
  if (iexist == 1 && (r[14] == kBlankCode || r[14] == 0)) {
    std::string text(kResultsNameCodes, ' ');
    for (int32_t i = 0; i < kResultsNameCodes; ++i) text[i] = charOf(r[14 + i]);
    reportLoaderError(ierr, kIllegalCalculation, "DILIM ", kDiName, 0, text);
  }
}

void DIPAV(int32_t /*key*/, int32_t /*i*/, int32_t ncomps, int32_t& id, int32_t& n,
           std::span<int32_t> list, int32_t& ierr) {
  ierr = 0;
  std::array<int32_t, kVariantWords> r{};
  if (!readLoaderRecord(r, ierr)) return;
  if (r[0] != kTagVariant) return reportNotDetected(ierr, "DIPAV ", 9200);
  id = r[1];
  n = r[2];
  if (id < 0) return reportNotDetected(ierr, "DIPAV ", 9300);
  if (n < 0 || n > kMostComponents) return reportNotDetected(ierr, "DIPAV ", 9400);
  std::array<int32_t, kMostComponents> numbers{};
  if (!readLoaderRecord(std::span<int32_t>(numbers).first(static_cast<std::size_t>(n)), ierr)) {
    return;
  }
  for (int32_t j = 0; j < n; ++j) {
    if (numbers[j] < 1 || numbers[j] > ncomps) return reportNotDetected(ierr, "DIPAV ", 9400);
  }
  std::copy_n(numbers.begin(), std::min<std::size_t>(list.size(), static_cast<std::size_t>(n)),
              list.begin());
}

// ---- The attribute record and its header page -----------------------------------------

namespace {

constexpr int32_t kRecordWords = 96;
constexpr int32_t kRowsPerRecord = 10;
constexpr int32_t kEndOfChain = -1;
constexpr int32_t kValuesClass = 100;
constexpr int32_t kRecordInAttribute = 2;  // DSCLOS kind: word 12 of record 106
constexpr int32_t kDerivedType = 4;
constexpr int32_t kNameAlreadyUsed = 235;
constexpr int32_t kNoAttributeRecord = 9100;  // location: the load case has no usable chain
constexpr int32_t kNotForPrincipalStress = 1150;  // E4150
constexpr int32_t kStopAtPrincipalStress = 1;     // the RAMAKE mode that refuses CTYPE 3
constexpr int32_t kPrincipalStress = 3;

// The header page: component entries of 29 words from word 39, then the variants.
constexpr int32_t kFirstEntryWord = 39;
constexpr int32_t kEntryWords = 29;
constexpr int32_t kMenuFlag = 0;  // words of an entry, from 0
constexpr int32_t kTypeCode = 1;
constexpr int32_t kIndex1 = 2;
constexpr int32_t kIndex2 = 3;
constexpr int32_t kIndicator = 4;
constexpr int32_t kName = 5;
constexpr int32_t kCalculationName = 13;
constexpr int32_t kSecondName = 21;
constexpr int32_t kIndex2Group = 4;  // components numbered alike in INDEX2

constexpr std::string_view kProcessingName = "DILIM ";
constexpr std::string_view kAttributeLoader = "DIPRES";

std::string nameText(std::span<const int32_t> codes) {
  std::string text;
  for (int32_t code : codes) text.push_back(charOf(code));
  return text;
}

// The value words of a component: 2 for a type code above 10, else 1.
int32_t componentWords(int32_t ctype) { return ctype > 10 ? 2 : 1; }

// A component of calculation indicator IEXIST carries values.
bool carriesValues(int32_t iexist) { return iexist <= 0; }

// Loads the record 106 of index page PAGE as the current one; false when the page holds
// none.
bool loadAttributeRecord(int32_t page) {
  if (page <= 0) return false;
  PAGRD(kResultsClass, page, PGCUR.page());
  if (PGCUR.word(kPageClassWord) != kResultsClass) return false;
  CTLGET(kResultsClass, 1);
  return true;
}

// Allocates an index page of class 106 (WORK for the allocation), names it through LINK
// in the current record, which is written, and sets the page up, writes it and loads its
// record as the current one. Answers the page.
int32_t appendAttributeRecord(std::span<int32_t> work, void (*link)(int32_t)) {
  int32_t page = 0, freeHead = 0;
  PGNEW(work, kResultsClass, page, freeHead);
  link(page);
  CRPUT(kResultsClass);
  PGINIT(kResultsClass, page, PGCUR.page());
  PAGWR(kResultsClass, page, PGCUR.page());
  CTLGET(kResultsClass, 1);
  return page;
}

// The record of the current load case's chain that receives a new attribute becomes the
// current record 106, PAGE its page: the first record of link 0, or at the record of link
// -1 (the last one used) a new record linked behind it. False when the load case has no
// record, or its chain leads to a page without one or runs in a circle.
bool takeAttributeRecord(std::span<int32_t> work, int32_t& page) {
  G104W8(page);
  const int32_t limit = DBPARM.fileSlot(kIndexFileSlot).nextPage;
  for (int32_t steps = 0; steps < limit; ++steps) {
    if (!loadAttributeRecord(page)) return false;
    int32_t link = 0;
    R6LINK(link);
    if (link == 0) return true;
    if (link <= kEndOfChain) {
      page = appendAttributeRecord(work, R6PW1);
      return true;
    }
    page = link;
  }
  return false;
}

// The current record 106 receives an attribute: all its words cleared, then link 0, the
// TYPE, NAME, header page HEADER, no values yet (-1) and the key-300 FLAG.
void startRecord(std::span<const int32_t> name, int32_t type, int32_t header, int32_t flag) {
  std::span<int32_t> record = CTLREC.record(kResultsClass);
  std::fill_n(record.begin(), kRecordWords, 0);
  R6PW1(0);
  R6PW3N(name);
  R6PW11(header);
  R6PW12(kValuesClass, -1);
  R6PW13(flag);
  R6PW2(type);
  R6PW96(0);
}

// The menu rows of an attribute record: ten in the record, each further ten in a
// continuation record that the one before names in word 96.
class MenuRows {
 public:
  MenuRows(std::span<int32_t> work, int32_t recordPage) : work_(work), recordPage_(recordPage) {}

  void add(std::span<const int32_t> name) {
    if (inRecord_ == kRowsPerRecord) {
      appendAttributeRecord(work_, R6PW96);
      inRecord_ = 0;
      continued_ = true;
    }
    R6PROW(++inRecord_, name);
    ++rows_;
  }

  // After the last row: the last continuation record written and the attribute's own
  // record loaded again; its word 15 = the number of rows.
  void close() {
    if (continued_) {
      CRPUT(kResultsClass);
      loadAttributeRecord(recordPage_);
    }
    R6PW15(rows_);
  }

 private:
  std::span<int32_t> work_;
  int32_t recordPage_;
  int32_t inRecord_ = 0;
  int32_t rows_ = 0;
  bool continued_ = false;
};

// Stores a variant of NCOMPS components after the entries of HEADER: its ID, its value
// word count and the position of each component's value, 0 for a component not in it.
// The N components of LIST take their words (CTYPES) in list order; with N of 0 or below
// the count word holds N and no position is written. ROW receives the id and the count.
void storeVariant(LoaderPages& header, int32_t id, int32_t n, std::span<const int32_t> list,
                  std::span<const int32_t> ctypes, int32_t ncomps, VariantRow& row) {
  const int32_t q = header.store(2 + ncomps);
  header.word(q) = id;
  int32_t words = n;
  if (n > 0) {
    int32_t position = 1;
    for (int32_t j = 0; j < n; ++j) {
      const int32_t c = list[static_cast<std::size_t>(j)];
      header.word(q + 1 + c) = position;
      position += componentWords(ctypes[static_cast<std::size_t>(c - 1)]);
    }
    words = position - 1;
  }
  header.word(q + 1) = words;
  row.fill(0);
  row[0] = id;
  row[1] = words;
}

}  // namespace

void DIPRES(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& key, int32_t& ierr) {
  ierr = 0;
  int32_t keyFlag = 0;
  if (key == kResultsCopyKey) {
    key = kResultsKey;
    keyFlag = 1;
  }
  RESSEL.datasetClass = kValuesClass;

  AttributeName name = blankAttributeName();
  int32_t ncomps = 0, irtype = 0, numvar = 0;
  DIPAT(key, name, ncomps, irtype, numvar, ierr);
  if (ierr != 0) return;

  int32_t type = irtype, foundPage = 0, found = 1;
  RAFIND(0, name, type, foundPage, found);
  if (found == 0) {
    return reportLoaderError(ierr, kNameAlreadyUsed, kProcessingName, kDiName, 0, nameText(name));
  }
  int32_t recordPage = 0;
  if (!takeAttributeRecord(ldscr, recordPage)) {
    return reportNotDetected(ierr, kAttributeLoader, kNoAttributeRecord);
  }

  LoaderPages header(ldpage, ldscr, kValuesClass);
  startRecord(name, irtype, header.firstPage(), keyFlag);
  R6PW14(ncomps);
  RESSEL.type = irtype;
  RESSEL.name = name;
  RESSEL.componentPage = header.firstPage();
  RESSEL.recordPage = recordPage;

  MenuRows menu(ldscr, recordPage);
  std::array<int32_t, kMostComponents> ctypes{};
  std::array<int32_t, kMostComponents> valueList{};
  int32_t values = 0;    // value components
  int32_t numbered = 0;  // components given an INDEX2
  for (int32_t c = 1; c <= ncomps; ++c) {
    AttributeName cname{}, ncalc{}, name2{};
    int32_t inmenu = 0, ctype = 0, index1 = 0, index2 = 0, iexist = 0;
    DIPCO(key, c, cname, inmenu, ctype, index1, index2, iexist, ncalc, name2, ierr);
    if (ierr != 0) return;
    if (ctype % 10 == 3 && index2 == 0) index2 = numbered++ / kIndex2Group + 1;
    const int32_t q = header.store(kEntryWords);
    header.word(q + kMenuFlag) = inmenu;
    header.word(q + kTypeCode) = ctype;
    header.word(q + kIndex1) = index1;
    header.word(q + kIndex2) = index2;
    header.word(q + kIndicator) = iexist;
    for (int32_t k = 0; k < kResultsNameCodes; ++k) {
      header.word(q + kName + k) = cname[static_cast<std::size_t>(k)];
      header.word(q + kCalculationName + k) = ncalc[static_cast<std::size_t>(k)];
      header.word(q + kSecondName + k) = name2[static_cast<std::size_t>(k)];
    }
    ctypes[static_cast<std::size_t>(c - 1)] = ctype;
    if (carriesValues(iexist)) valueList[static_cast<std::size_t>(values++)] = c;
    if (inmenu != 0) menu.add(cname);
  }
  menu.close();

  const int32_t variantCount = numvar > 0 ? numvar : 1;
  header.word(header.store(1)) = variantCount;
  for (VariantRow& row : RESSEL.variants) row.fill(0);
  if (numvar == 0) {
    // The implicit variant holds the value components in component order: taking the
    // first of all components would give a calculated one the position of a sent value.
    storeVariant(header, 1, values, valueList, ctypes, ncomps, RESSEL.variants[0]);
  } else {
    for (int32_t i = 1; i <= numvar; ++i) {
      std::array<int32_t, kMostComponents> list{};
      int32_t id = 0, n = 0;
      DIPAV(key, i, ncomps, id, n, list, ierr);
      if (ierr != 0) return;
      storeVariant(header, id, n, list, ctypes, ncomps,
                   RESSEL.variants[static_cast<std::size_t>(i - 1)]);
    }
  }
  RESSEL.variantCount = variantCount;
  RESSEL.componentCount = values;
  header.finish();

  int32_t first = -1, derived = 0, derivedFirst = -1;
  if (values >= 1) {
    const std::span<const VariantRow> table(RESSEL.variants.data(),
                                            static_cast<std::size_t>(variantCount));
    if (irtype <= 2) {
      DIPNR(ldpage, ldscr, table, irtype, first, ierr);
    } else {
      DIPER(ldpage, ldscr, table, irtype, first, derived, derivedFirst, ierr);
    }
    if (ierr != 0) return;
  }
  R6PW2(irtype);
  R6PW1(kEndOfChain);
  DSCLOS(ldscr, kRecordInAttribute, kValuesClass, first);

  if (derived == 0) return;
  int32_t status = 1;
  RAMAKE(ldpage, ldscr, 0, status);
  if (status != 0) return reportNotDetected(ierr, kAttributeLoader, kNoAttributeRecord);
  R6PW2(kDerivedType);
  R6PW1(kEndOfChain);
  DSCLOS(ldscr, kRecordInAttribute, kValuesClass, derivedFirst);
}

void RAMAKE(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t mode,
            int32_t& status) {
  status = 1;
  // The attribute of the selection: its key-300 flag and its component count.
  if (!loadAttributeRecord(RESSEL.recordPage)) return;
  int32_t keyFlag = 0, ncomps = 0;
  R6GW13(keyFlag);
  R6GW14(ncomps);
  ncomps = std::clamp(ncomps, 0, kMostComponents);
  int32_t recordPage = 0;
  if (!takeAttributeRecord(ldscr, recordPage)) return;

  LoaderPages header(ldpage, ldscr, kValuesClass);
  startRecord(RESSEL.name, RESSEL.type, header.firstPage(), keyFlag);
  R6PW1(kEndOfChain);

  // The attribute's header page in page-buffer slot 2; its words outside the page read 0.
  int32_t offset = 0;
  PGSLOT(ldpage, RESSEL.componentPage, kValuesClass, 2, offset);
  const auto source = [&](int64_t k) -> int32_t {
    const int64_t at = int64_t{offset} + k - 1;
    return k >= 1 && k <= DBLEVL.dataPageSize && at >= 1 &&
                   at <= static_cast<int64_t>(ldpage.size())
               ? ldpage[static_cast<std::size_t>(at - 1)]
               : 0;
  };
  const auto entryWord = [&](int32_t c, int32_t w) {
    return source(kFirstEntryWord + int64_t{kEntryWords} * (c - 1) + w);
  };

  std::array<int32_t, kMostComponents> valueList{};
  int32_t values = 0;
  for (int32_t c = 1; c <= ncomps; ++c) {
    if (!carriesValues(entryWord(c, kIndicator))) continue;
    if (mode == kStopAtPrincipalStress && entryWord(c, kTypeCode) == kPrincipalStress) {
      R6PW1(0);
      CRPUT(kResultsClass);
      MSGE3(kNotForPrincipalStress);
      return;
    }
    valueList[static_cast<std::size_t>(values++)] = c;
  }

  MenuRows menu(ldscr, recordPage);
  for (int32_t j = 0; j < values; ++j) {
    const int32_t c = valueList[static_cast<std::size_t>(j)];
    const int32_t q = header.store(kEntryWords);
    for (int32_t w = 0; w < kEntryWords; ++w) header.word(q + w) = entryWord(c, w);
    if (entryWord(c, kMenuFlag) != 0) {
      AttributeName row{};
      for (int32_t k = 0; k < kResultsNameCodes; ++k) {
        row[static_cast<std::size_t>(k)] = entryWord(c, kName + k);
      }
      menu.add(row);
    }
  }
  menu.close();
  R6PW14(values);

  // The variants with the position words of the components copied.
  const int64_t countWord = kFirstEntryWord + int64_t{kEntryWords} * ncomps;
  const int32_t variants = std::clamp(source(countWord), 0, kMostVariants);
  header.word(header.store(1)) = variants;
  for (int32_t v = 0; v < variants; ++v) {
    const int64_t from = countWord + 1 + int64_t{v} * (2 + ncomps);
    const int32_t q = header.store(2 + values);
    header.word(q) = source(from);
    header.word(q + 1) = source(from + 1);
    for (int32_t j = 0; j < values; ++j) {
      header.word(q + 2 + j) = source(from + 1 + valueList[static_cast<std::size_t>(j)]);
    }
  }
  header.finish();
  CRPUT(kResultsClass);

  RESSEL.componentPage = header.firstPage();
  RESSEL.resultsWord = 0;
  RESSEL.recordPage = recordPage;
  status = 0;
}

}  // namespace kvr
