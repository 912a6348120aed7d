// A fixture for the model file: the reading road's constants (MDLCON) over the database
// fixture's start-up, an empty full model registry, the journals on files, the upgrade
// steps recorded, and helpers that fill the in-memory model, write it as a model file
// (DMPCNT) and change words of that file, or build a file word by word.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dbopenfixture.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/dbdump.h"
#include "modeldb/dbhead.h"
#include "modeldb/dbupgr.h"
#include "modeldb/mdlstore.h"
#include "modeldb/seqtab.h"
#include "runtime/dspsta.h"
#include "runtime/genopen.h"
#include "runtime/geosta.h"
#include "runtime/incftb.h"
#include "runtime/journal.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/reghed.h"
#include "runtime/slttab.h"

namespace kvr::test {

class ModelFileFixture : public DbOpenFixture {
 protected:
  static constexpr int32_t kModelUnit = 21;
  static constexpr int32_t kJournal1Unit = 23;
  static constexpr int32_t kPs = 2000;

  void SetUp() override {
    DbOpenFixture::SetUp();
    resetModel();
    MDLCON();
    freshRegistry();
    openText(kJournal1Unit, "journal1.txt");
    IOUNIT.slot(kSlotJournalFile) = kJournal1Unit;
    JRNFLG.channel1.enable = 1;
    JRNFLG.channel2.enable = 1;
    IOUNIT.journal1Enable = 1;
    setUpgradeObserver([this](std::string_view s) { steps.emplace_back(s); });
  }

  void TearDown() override {
    setUpgradeObserver(nullptr);
    setDatabaseDumper(nullptr);
    resetModel();
    DbOpenFixture::TearDown();
  }

  static void resetModel() {
    CoreFreeFile(-1);
    REGHED = {};
    APPSTA = {};
    SLTTAB = {};
    INCFTB = {};
    MODCNT = {};
    MODSTA = {};
    GEOSTA = {};
    VWDFLT = {};
    DBHEAD = {};
    DSPSTA = {};
    MDLFIL = {};
    JRNFLG = {};
  }

  // The full model registry set up afresh, every array empty.
  static void freshRegistry() {
    int32_t stat = -1;
    ARRNUM(1);
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
  }

  // Named array K grown to N records, record r word j holding BASE + (r - 1) x width + j.
  static void fill(int32_t k, int32_t n, int32_t base) {
    int32_t first = 0;
    int32_t stat = 0;
    ARRALC(k, n - REGHED.ARRLEN(k), first, stat);
    const int32_t w = REGHED.ARRWID(k);
    std::vector<int32_t> words(static_cast<size_t>(n) * static_cast<size_t>(w));
    for (size_t j = 0; j < words.size(); ++j) words[j] = base + static_cast<int32_t>(j) + 1;
    if (n > 0) {
      ASSERT_EQ(storePut(k, 1, n, words), 0);
    }
  }

  // The records in use of named array K, as raw words.
  static std::vector<int32_t> words(int32_t k) {
    const int32_t n = REGHED.ARRLEN(k);
    std::vector<int32_t> out(static_cast<size_t>(n) * static_cast<size_t>(REGHED.ARRWID(k)));
    if (n > 0) {
      EXPECT_EQ(storeGet(k, 1, n, out), 0);
    }
    return out;
  }

  // Word J of entity ID of width W in the one-word records of array K.
  static int32_t entityWord(int32_t k, int32_t w, int32_t id, int32_t j) {
    std::array<int32_t, 1> v{};
    storeGet(k, (id - 1) * w + j, 1, v);
    return v[0];
  }
  static void setEntityWord(int32_t k, int32_t w, int32_t id, int32_t j, int32_t value) {
    const std::array<int32_t, 1> v{value};
    ASSERT_EQ(storePut(k, (id - 1) * w + j, 1, v), 0);
  }

  // Entry (TYPE, ID) created with VALUES (as raw words).
  static void entry(int32_t type, int32_t id, const std::vector<int32_t>& values) {
    std::array<int32_t, 2> label = {kBlankCode, kBlankCode};
    int32_t key = id;
    auto count = static_cast<int32_t>(values.size());
    ATTFND(-1, label, type, key, count);
    const int32_t r = attributeEntry(type, id);
    ASSERT_NE(r, 0);
    std::array<int32_t, kEntryWords> e{};
    storeGet(kArrEntries, r, 1, e);
    ASSERT_EQ(storePut(type > 0 ? kArrRealValues : kArrIntegerValues, e[2], count, values), 0);
  }

  // The values of the first live entry (TYPE, ID), as raw words.
  static std::vector<int32_t> values(int32_t type, int32_t id) {
    const int32_t r = attributeEntry(type, id);
    if (r == 0) return {};
    std::array<int32_t, kEntryWords> e{};
    storeGet(kArrEntries, r, 1, e);
    std::vector<int32_t> v(static_cast<size_t>(e[3]));
    if (e[3] > 0) storeGet(type > 0 ? kArrRealValues : kArrIntegerValues, e[2], e[3], v);
    return v;
  }

  static std::vector<int32_t> blankTitle() {
    return std::vector<int32_t>(DbHead::kTitleCodes, kBlankCode);
  }

  // Opens NAME as a model file on the model unit (MODE as TLFOPN's: 2 an existing file).
  void openModel(const std::string& name, int32_t mode = 2) {
    FixedText text(static_cast<int32_t>(name.size()), name);
    int32_t status = -5;
    TLFOPN(text, static_cast<int32_t>(name.size()), 0, 0, kModelUnit, 3, mode, kPs, status);
    ASSERT_EQ(status, 0) << name;
  }
  void closeModel() { io::unitClose(kModelUnit); }

  // The values of entry (TYPE, ID) become VALUES: written over its values, or a new entry.
  static void setValues(int32_t type, int32_t id, std::span<const int32_t> v) {
    const int32_t r = attributeEntry(type, id);
    if (r == 0) {
      entry(type, id, std::vector<int32_t>(v.begin(), v.end()));
      return;
    }
    std::array<int32_t, kEntryWords> e{};
    storeGet(kArrEntries, r, 1, e);
    ASSERT_GE(e[3], static_cast<int32_t>(v.size()));
    ASSERT_EQ(storePut(type > 0 ? kArrRealValues : kArrIntegerValues, e[2],
                       static_cast<int32_t>(v.size()), v),
              0);
  }

  // The three state records stored in their entries, as the dump stores them.
  static void storeState() {
    std::array<int32_t, kStateIntegerWords> integers{};
    std::array<int32_t, kStateRealWords> reals{};
    DMPVST(integers, reals);
    setValues(-1, 1, integers);
    setValues(1, 1, reals);
    setValues(-1, 2, std::span<const int32_t>(VWDFLT.words).subspan(11, 80));
  }

  // Writes the in-memory model, its state records first, as the model file NAME (DMPCNT,
  // a new header).
  void save(const std::string& name) {
    storeState();
    std::filesystem::remove(dir.file(name));
    openModel(name, 1);
    const std::vector<int32_t> title = blankTitle();
    DMPCNT(kModelUnit, kPs, 0, std::span<const int32_t, DbHead::kTitleCodes>(title.data(), title.size()));
    closeModel();
  }

  // Header word K of the model file NAME.
  int32_t head(const std::string& name, int32_t k) { return fileWord(name, kPs, 1, k); }
  void setHead(const std::string& name, int32_t k, int32_t value) {
    setFileWord(name, kPs, 1, k, value);
  }

  // The model file NAME made of WORDS (page 1 first), zero-filled to whole pages.
  void writeWords(const std::string& name, std::vector<int32_t> words) {
    words.resize((words.size() + kPs - 1) / kPs * kPs, 0);
    std::string bytes(words.size() * 4, '\0');
    for (size_t k = 0; k < words.size(); ++k) {
      for (int b = 0; b < 4; ++b) {
        bytes[4 * k + static_cast<size_t>(b)] =
            static_cast<char>((static_cast<uint32_t>(words[k]) >> (8 * b)) & 0xFF);
      }
    }
    writeFile(dir.file(name), bytes);
  }

  // Everything the round trip restores, as one comparable value.
  struct Image {
    std::map<int32_t, std::vector<int32_t>> arrays;
    std::vector<int32_t> lengths, modcnt, modsta, geosta, vwdflt;
    bool operator==(const Image&) const = default;
  };
  static Image image() {
    Image i;
    for (int32_t k = 1; k <= DbHead::kMaxCounts; ++k) {
      i.arrays[k] = words(k);
      i.lengths.push_back(REGHED.ARRLEN(k));
    }
    i.modcnt.assign(MODCNT.words.begin() + 2, MODCNT.words.end());
    i.modsta.assign(MODSTA.words.begin(), MODSTA.words.end());
    i.geosta.assign(GEOSTA.words.begin(), GEOSTA.words.begin() + 80);
    i.vwdflt.assign(VWDFLT.words.begin() + 11, VWDFLT.words.end());
    return i;
  }

  // Forgets the in-memory model: an empty registry and the state blocks cleared.
  static void forget() {
    CoreFreeFile(-1);
    REGHED = {};
    freshRegistry();
    MODCNT = {};
    MODSTA = {};
    GEOSTA = {};
    VWDFLT = {};
  }

  // The catalogue numbers of the messages seen by the dbMessage observer.
  std::vector<int32_t> numbers() const {
    std::vector<int32_t> n;
    for (const Message& m : seen) n.push_back(m.number);
    return n;
  }

  // The lines the operator types, each ended by a new line; the input ends after them.
  void replies(const std::string& text) { scriptStandardInput(dir.file("console.in"), text); }

  // The words of the file PATH, read as little-endian 32-bit words.
  static std::vector<int32_t> modelFileWords(const std::string& path) {
    const std::string bytes = readFile(path);
    std::vector<int32_t> words(bytes.size() / 4);
    for (size_t k = 0; k < words.size(); ++k) {
      uint32_t w = 0;
      for (int b = 3; b >= 0; --b) w = (w << 8) | static_cast<unsigned char>(bytes[4 * k + static_cast<size_t>(b)]);
      words[k] = static_cast<int32_t>(w);
    }
    return words;
  }

  std::vector<std::string> journal1() {
    io::unitFlush(kJournal1Unit);
    return readLines(dir.file("journal1.txt"));
  }
  std::vector<std::string> journal2() {
    io::unitFlush(kLogUnit);
    return readLines(dir.file("kvrlog.log"));
  }

  std::vector<std::string> steps;
};

using Lines = std::vector<std::string>;

}  // namespace kvr::test
