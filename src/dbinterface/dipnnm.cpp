// DIPNNM and DIPENM: the node and element name loaders.

#include "dbinterface/dipnnm.h"

#include <array>
#include <string_view>

#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/recwords.h"

namespace kvr {
namespace {

constexpr int32_t kNameRecordWords = 10;  // tag, id, 8 name codes
constexpr int32_t kNameEntryWords = 10;   // id, sequence number, 8 name codes
constexpr int32_t kNameMarkWord = 6;      // 1 on every page of a names dataset
constexpr int32_t kNamesNotLoadable = 9100;

constexpr int32_t kNodeNotFound = 238;
constexpr int32_t kTopologyRequired = 127;
constexpr int32_t kElementOutOfOrder = 233;
constexpr int32_t kNoNodeName = 252;
constexpr int32_t kNoElementName = 257;
constexpr int32_t kNameEntryTooLarge = 270;

constexpr std::string_view kProcessingName = "DILIM";

// What the two loaders do differently.
struct NameLoader {
  std::string_view name;
  int32_t type;          // the names dataset
  int32_t entityType;    // the dataset walked
  int32_t refusal;       // code of names already loaded or no entities (with 9100)
  int32_t noName;        // code of a dataset that stores no name
};

constexpr NameLoader kNodeNames{"DIPNNM", 54, kNodeDataset, kNotDetected, kNoNodeName};
constexpr NameLoader kElementNames{"DIPENM", 55, kElementDataset, kTopologyRequired,
                                   kNoElementName};

void loadNames(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr,
               const NameLoader& how) {
  ierr = 0;
  const bool nodes = how.entityType == kNodeDataset;
  // Both refusals come before PGNEW: a refused dataset takes no page from the file.
  int32_t loaded = 0;
  DSDIRF(how.type, loaded);
  EntryCursor cursor(ldpage, how.entityType);
  if (loaded > 0 || cursor.missing()) {
    return reportLoaderError(ierr, how.refusal, how.name, kDiNumber, kNamesNotLoadable);
  }
  LoaderPages pages(ldpage, ldscr, how.type);
  pages.word(kNameMarkWord) = 1;

  std::array<int32_t, kNameRecordWords> r{};
  const std::span<const int32_t> nameCodes(r.data() + 2, kNameRecordWords - 2);
  int32_t count = 0;
  bool matched = false;
  for (;;) {
    if (!readLoaderRecord(r, ierr)) return;
    if (r[0] == kTagEnd) break;
    const int32_t id = r[1];
    if (matched) cursor.next();
    matched = false;
    const auto cursorId = [&] { return nodes ? cursor.nodeId() : cursor.elementId(); };
    while (cursor.atEntry() && cursorId() < id) cursor.next();
    if (!cursor.atEntry()) {
      if (nodes) return reportLoaderError(ierr, kNodeNotFound, kProcessingName, kDiNumber, id);
      return reportLoaderError(ierr, kNotDetected, kProcessingName, kDiNoValue);
    }
    if (cursorId() > id) {
      if (!nodes) return reportLoaderError(ierr, kElementOutOfOrder, how.name, kDiNumber, id);
      reportSkipped("INVALID NODE NUMBER FOR NODE NAMES", id);
      continue;
    }

    if (!nodes && pages.pageSize() < DBLEVL.pageHeaderWords + kNameEntryWords) {
      return reportLoaderError(ierr, kNameEntryTooLarge, how.name, kDiNoValue);
    }
    if (pages.pageSize() - pages.lastUsed() < kNameEntryWords) {
      pages.startNewPage();
      pages.word(kNameMarkWord) = 1;
    }
    const int32_t q = pages.store(kNameEntryWords);
    RECTXT(ldpage, q, id, nodes ? cursor.nodeSequence() : cursor.elementSequence(), nameCodes);
    ++count;
    matched = true;
  }

  if (count == 0) return reportLoaderError(ierr, how.noName, kProcessingName, kDiNoValue);
  pages.finish();
  pages.record();
}

}  // namespace

void DIPNNM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  loadNames(ldpage, ldscr, ierr, kNodeNames);
}

void DIPENM(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t& ierr) {
  loadNames(ldpage, ldscr, ierr, kElementNames);
}

}  // namespace kvr
