// DIPES, the set loader; the set directory it adds to is the model database's.
#include "dbinterface/dipes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "dbinterface/dimsg.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "modeldb/codcmp.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbpage.h"
#include "modeldb/recwords.h"
#include "platform/fmtedit.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/iounit.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

constexpr std::string_view kSetLoader = "DIPES";
constexpr std::string_view kProcessingName = "DILIM";

// Locations of the 299 reports.
constexpr int32_t kEndInPlaceOfSet = 9800;
constexpr int32_t kNoEntities = 9600;
constexpr int32_t kBadMemberRecord = 9550;

constexpr int32_t kCorruptDirectory = 229;
constexpr int32_t kSetExists = 231;

constexpr int32_t kSetHeaderWords = 1 + kSetNameCodes + kSetTitleCodes;
// The member list of one record: the record routine cuts members into records of 15.
constexpr int32_t kMaxMembers = 15;
constexpr int32_t kMaxBitsPerWord = 31;

// B, the bits a map word holds (the sign bit stays clear).
int32_t bitsPerWord() { return std::clamp(MACHCN.word(kMachBitsLessOne), 1, kMaxBitsPerWord); }

// Words K.. of BUFFER (K from 1), empty when K lies outside it.
std::span<int32_t> from(std::span<int32_t> buffer, int64_t k) {
  if (k < 1 || k > static_cast<int64_t>(buffer.size())) return {};
  return buffer.subspan(static_cast<std::size_t>(k - 1));
}

// The set name as a text of 8 characters.
std::string nameText(std::span<const int32_t> codes) {
  FixedText text(kSetNameCodes);
  CODTXT(codes, kSetNameCodes, text);
  return std::string(text.view());
}

void inform(std::string_view text, int32_t kind, std::string_view name = {}) {
  FixedText routnm(6, kSetLoader);
  FixedText line(kDiTextLength, text);
  FixedText value(static_cast<int32_t>(name.size()), name);
  DIINF(routnm, line, kind, value, 0);
}

// The bit map being built in area 1 of LDPAGE: the bits of the current page are
// FIRSTBIT .. FIRSTBIT + BITS - 1.
class SetMap {
 public:
  SetMap(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t count)
      : pages_(ldpage, ldscr, kSetMapType),
        ldpage_(ldpage),
        b_(bitsPerWord()),
        count_(count) {
    pages_.setLastUsed(0);
    pages_.word(DBLEVL.pageHeaderWords + 1) = count;
    bitWord_ = DBLEVL.pageHeaderWords + 2;
    bits_ = int64_t{b_} * (pages_.pageSize() - bitWord_ + 1);
  }

  // Sets bit K; false when K lies outside the map or before the current page (the
  // entity dataset and its count disagree).
  bool set(int32_t k) {
    if (k < firstBit_ || k > count_) return false;
    while (k >= firstBit_ + bits_) nextPage();
    FLGPUT(from(ldpage_, bitWord_).first(static_cast<std::size_t>(pages_.pageSize() - bitWord_ + 1)),
           static_cast<int32_t>(k - firstBit_ + 1), 1);
    return true;
  }

  // Adds the pages that still miss to cover every entity and writes the last one.
  int32_t finish() {
    while (firstBit_ + bits_ - 1 < count_) nextPage();
    pages_.finish();
    return pages_.firstPage();
  }

 private:
  void nextPage() {
    pages_.startNewPage();
    pages_.setLastUsed(0);
    firstBit_ += bits_;
    bitWord_ = DBLEVL.pageHeaderWords + 1;
    bits_ = int64_t{b_} * (pages_.pageSize() - bitWord_ + 1);
  }

  LoaderPages pages_;
  std::span<int32_t> ldpage_;
  int32_t b_;
  int32_t count_;
  int32_t bitWord_ = 0;
  int64_t firstBit_ = 1;
  int64_t bits_ = 0;
};

}  // namespace

void DIPES(std::span<int32_t> ldpage, std::span<int32_t> ldscr, int32_t selector,
           int32_t& ierr) {
  ierr = 0;
  const bool nodes = selector == kNodeSet;
  std::array<int32_t, kSetHeaderWords> header{};
  if (!readLoaderRecord(header, ierr)) return;
  if (header[0] == kTagEnd) return reportNotDetected(ierr, kSetLoader, kEndInPlaceOfSet);
  if (header[0] != kTagRecord) return reportStreamFault(ierr);
  const std::span<const int32_t> name(header.data() + 1, kSetNameCodes);
  const std::span<const int32_t> title(header.data() + 1 + kSetNameCodes, kSetTitleCodes);

  EntryCursor cursor(ldpage, nodes ? kNodeDataset : kElementDataset);
  if (cursor.missing()) return reportNotDetected(ierr, kSetLoader, kNoEntities);
  const int32_t count = nodes ? DICNT.nodeCount : DICNT.elementCount;

  int32_t directory = 0;
  DSDIRF(kSetDirectoryType, directory);
  if (directory > 0) {
    int32_t status = -1, kind = 0, word2 = 0, first = 0, corrupt = 0;
    std::array<int32_t, kSetNameCodes> found{};
    SETFND(ldpage, name, status, found, kind, word2, first, corrupt);
    if (corrupt != 0) return reportLoaderError(ierr, kCorruptDirectory, kProcessingName, kDiNoValue);
    if (status == 0) {
      return reportLoaderError(ierr, kSetExists, kProcessingName, kDiName, 0, nameText(name));
    }
  }

  SetMap map(ldpage, ldscr, count);
  const std::string setName = nameText(name);
  std::array<int32_t, kMaxMembers> members{};
  bool firstRecord = true;
  for (bool walking = true; walking;) {
    std::array<int32_t, 2> head{};  // tag, member count
    if (!readLoaderRecord(head, ierr)) return;
    if (head[0] == kTagEnd) {
      if (firstRecord) return reportNotDetected(ierr, kSetLoader, kEndInPlaceOfSet);
      break;
    }
    firstRecord = false;
    // A count beyond the member list would read past it and put the stream out of step.
    if (head[0] != kTagRepeat || head[1] < 0 || head[1] > kMaxMembers) {
      return reportNotDetected(ierr, kSetLoader, kBadMemberRecord);
    }
    const std::span<int32_t> ids(members.data(), static_cast<std::size_t>(head[1]));
    if (!ids.empty() && !readLoaderRecord(ids, ierr)) return;

    for (int32_t id : ids) {
      int32_t k = 0;
      if (nodes) {
        while (cursor.atEntry() && cursor.nodeId() < id) cursor.next();
        if (cursor.atEntry() && cursor.nodeId() > id) {
          inform("NODE " + fmt::editI(id, 10) + " NOT FOUND AND NOT ADDED TO SET", kDiName,
                 setName);
          continue;
        }
        if (cursor.atEntry()) k = cursor.nodeSequence();
      } else {
        while (cursor.atEntry() && cursor.elementId() != id) cursor.next();
        if (cursor.atEntry()) k = cursor.elementSequence();
      }
      if (!cursor.atEntry()) {
        inform(std::string(nodes ? "NODE " : "ELEMENT ") + fmt::editI(id, 10) +
                   " AND ANY AFTER NOT ADDED TO SET",
               kDiName, setName);
        inform(nodes ? "NODES IN SET MUST BE IN ASCENDING ORDER"
                     : "ELEMENTS IN SET MUST BE IN SAME ORDER AS TOPOLOGY",
               kDiNoValue);
        // The rest of the stream up to its end record.
        std::array<int32_t, 1> word{};
        do {
          if (!readLoaderRecord(word, ierr)) return;
        } while (word[0] != kTagEnd);
        walking = false;
        break;
      }
      // A sequence number outside the map would set a wrong bit, or grow the map far
      // beyond the entities it covers.
      if (!map.set(k)) return reportNotDetected(ierr, kSetLoader, kNoEntities);
    }
  }

  const int32_t first = map.finish();
  HDRPUT(ldscr, 2, kSetMapType, 0, 0);
  int32_t status = 0;
  SETADD(ldpage, ldscr, name, nodes ? kNodeSet : kElementSet, title, first, status);
}

}  // namespace kvr
