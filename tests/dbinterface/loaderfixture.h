// A fixture for the dataset loaders, each tested on its own: it hands a loader a stream
// as the dataset processing (DILIM) leaves it, without the processing's model opening
// and dispatch, which sessionfixture.h goes through. In a temporary working directory it
// starts the writing road (DIINI, database output, the page size the test chooses) and
// creates the database of a model (startAndCreate; FBCFIG; "beam" gives BEAM.M71 and
// BEAM.V71; model record word 1 = 1, as a create passes it), with the summary counters
// DICNT cleared as after a create, and the writing road's named arrays set up empty as
// at a model opening; createDatabase makes a further one. A test then, per dataset:
//  - beginDataset(key, k): unit index K gets its dataset words cleared (key, complete,
//    last id, group, set-header, results, entity-header and local-axis words, values per
//    record), its stream starts again and the 55-word header record goes first;
//  - sends records through the record routines (node, element) or, for keys without
//    them and for records they refuse, as raw words (raw);
//  - endDataset(k): the end records of the key (endRecords: the unit's results type, the
//    model open mode), the flush and rewind, the channel reset and the 55 header words
//    read back, as the processing leaves a stream for its loader (cutDataset stops before
//    the end records);
//  - runs the loader (load; a loader whose third argument receives the tag of each record
//    read gives it back) and reads the pages back (page, PAGRD).
// The datasets of a load case (keys 28, 29, 31, 100, 300) need it registered first
// (loadCase), as the processing does.
// The process stop is trapped (a page of 0 read would end the run).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/diendrec.h"
#include "dbinterface/dimodel.h"
#include "dbinterface/direcs.h"
#include "dbinterface/ldframe.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/arrreg.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/dbopen.h"
#include "modeldb/dbpage.h"
#include "modeldb/elttab.h"
#include "modeldb/lcfind.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"
#include "runtime/setget.h"
#include "startfixture.h"
#include "testsupport.h"

namespace kvr::test {

// The N character codes of TEXT, blank-padded or cut.
inline std::vector<int32_t> codes(const std::string& text, std::size_t n = 8) {
  std::vector<int32_t> c(n, kBlankCode);
  for (std::size_t i = 0; i < text.size() && i < n; ++i) c[i] = codeOf(text[i]);
  return c;
}

using Loader = void (*)(std::span<int32_t>, std::span<int32_t>, int32_t&);
using TaggedLoader = void (*)(std::span<int32_t>, std::span<int32_t>, int32_t&, int32_t&);

class LoaderFixture : public StartFixture {
 protected:
  void TearDown() override {
    DBCLOS();
    ARRREL();
    setWrittenHighestSource(nullptr);
    DICNT = {};
    ELTBLD(0);
    StartFixture::TearDown();
  }

  // Starts the road with data pages of PAGESIZE words and creates the database of MODEL.
  void startAndCreate(int32_t pageSize = 2040, const std::string& model = "beam") {
    ASSERT_EQ(start(kOutputDatabase, 6, pageSize), 0);
    int32_t opened = 0;
    int32_t ierr = -1;
    DIDBI(opened, ierr);
    createDatabase(model);
  }

  // Closes the database open and creates that of MODEL, with DICNT cleared and the named
  // arrays set up again (ARRREG empties their store file first).
  static void createDatabase(const std::string& model) {
    DBCLOS();
    std::vector<int32_t> name(20, kBlankCode);
    for (std::size_t i = 0; i < model.size() && i < name.size(); ++i) name[i] = codeOf(model[i]);
    const std::vector<int32_t> record = {1, 0, 0};
    const std::vector<int32_t> title(20, kBlankCode);
    std::vector<int32_t> buffer(kLargestPageWords);
    int32_t status = -1;
    FBCFIG(buffer, name, record, title, status);
    ASSERT_EQ(status, 0) << model;
    DICNT = {};
    ARRNUM(2);
    ARRREG(1, 1, status);
    ASSERT_EQ(status, 0);
  }

  // A dataset of KEY begins on unit index K: its words cleared, its stream empty, the
  // header record written.
  static void beginDataset(int32_t key, int32_t k = kA) {
    clearUnitDataset(k);
    DISTAT.datasetKey(k) = key;
    DISTAT.clearErrorFlag(k);
    io::unitRewind(unit(k));
    TMPRST(k);
    StreamRecord header;
    headerRecord(header, key, 0, FixedText(20, "DATA"), 0.0f, FixedText(20, ""), 0, 0,
                 FixedText(10, ""));
    raw(header.words(), k);
  }

  // Appends WORDS to unit K's stream as they stand.
  static void raw(std::span<const int32_t> words, int32_t k = kA) {
    int32_t flag = -1;
    TMPWRT(words, k, flag);
    ASSERT_EQ(flag, 0);
  }
  static void raw(const std::vector<int32_t>& words, int32_t k = kA) {
    raw(std::span<const int32_t>(words), k);
  }

  // A node through DICOR.
  static void node(int32_t id, float x, float y, float z, int32_t isys = 0, int32_t k = kA) {
    int32_t ierr = -1;
    DICOR(id, x, y, z, isys, ierr, unit(k));
    ASSERT_EQ(ierr, 0) << "node " << id;
  }
  // A node as raw words (for nodes DICOR refuses).
  static void rawNode(int32_t id, float x = 0, float y = 0, float z = 0, int32_t k = kA) {
    StreamRecord r;
    nodeRecord(r, id, x, y, z, 0);
    raw(r.words(), k);
  }

  // An element through DITOP.
  static void element(int32_t id, int32_t type, std::vector<int32_t> nodes, int32_t ieatt1 = 1,
                      int32_t ieatt2 = 2, int32_t isys = 0, int32_t k = kA) {
    int32_t ierr = -1;
    DITOP(id, type, ieatt1, ieatt2, nodes, isys, ierr, unit(k));
    ASSERT_EQ(ierr, 0) << "element " << id;
  }
  // An element as raw words: its header record and its node record.
  static void rawElement(int32_t id, int32_t type, const std::vector<int32_t>& nodes,
                         int32_t k = kA) {
    StreamRecord r;
    elementRecord(r, id, type, 1, 2, 0);
    raw(r.words(), k);
    raw(nodes, k);
  }

  // The stream of unit K ends with the end records of its dataset and is handed over.
  static void endDataset(int32_t k = kA) {
    EndRecords end;
    endRecords(DISTAT.datasetKey(k), DISTAT.results(k).irtype, DISTAT.modelState, end);
    raw(end.words(), k);
    cutDataset(k);
  }
  // The stream of unit K is handed over as it stands: flushed, rewound, the channel reset
  // and its 55 header words read; unit K becomes the current unit.
  static void cutDataset(int32_t k = kA) {
    int32_t flag = -1;
    TMPFLS(k, flag);
    ASSERT_EQ(flag, 0);
    TMPRST(k);
    std::vector<int32_t> header(kHeaderRecordWords);
    TMPRD(header, k, flag);
    ASSERT_EQ(flag, 0);
    DISTAT.currentUnit = k;
  }

  // A dataset of KEY on unit index K made of RECORDS, handed over with its end records
  // or, when CUT, without them.
  static void dataset(int32_t key, const std::vector<std::vector<int32_t>>& records,
                      bool cut = false, int32_t k = kA) {
    beginDataset(key, k);
    for (const auto& r : records) raw(r, k);
    if (cut) {
      cutDataset(k);
    } else {
      endDataset(k);
    }
  }

  // Runs LOADER on the writing road's buffers; its IERR is answered.
  static int32_t load(Loader loader) {
    int32_t ierr = -1;
    loader(LDPAGE, LDSCR, ierr);
    return ierr;
  }

  // As above for a loader with a tag argument; TAG receives its last value.
  static int32_t load(TaggedLoader loader, int32_t& tag) {
    int32_t ierr = -1;
    tag = 0;
    loader(LDPAGE, LDSCR, tag, ierr);
    return ierr;
  }

  // Registers the load case NAME of NUMBER (type 0, value 0.0, blank title and text) and
  // makes it current; its status is answered.
  static int32_t loadCase(const std::string& name, int32_t number = 0) {
    std::vector<int32_t> codes(20, kBlankCode);
    for (std::size_t i = 0; i < name.size() && i < codes.size(); ++i) codes[i] = codeOf(name[i]);
    const std::vector<int32_t> title(20, kBlankCode);
    const std::vector<int32_t> text(10, kBlankCode);
    int32_t status = -1;
    registerLoadCase(codes, LDSCR, 0.0f, 0, number, title, text, status);
    return status;
  }

  // Data page P as it stands in the file.
  static DbPage page(int32_t p) {
    DbPage words(DBLEVL.dataPageSize);
    PAGRD(1, p, words);
    return words;
  }

  // Words FROM to FROM + N - 1 of page P.
  static std::vector<int32_t> words(const DbPage& p, int32_t from, int32_t n) {
    std::vector<int32_t> w;
    for (int32_t k = from; k < from + n; ++k) w.push_back(p.word(k));
    return w;
  }

  // The first page of dataset TYPE in the directory, 0 when it is not recorded.
  static int32_t recorded(int32_t type) {
    int32_t first = -1;
    DSDIRF(type, first);
    return first;
  }

  // N words of the first page of dataset TYPE from its first entry (word 39) on.
  static std::vector<int32_t> entries(int32_t type, int32_t n) {
    const int32_t first = recorded(type);
    EXPECT_GT(first, 0) << "dataset " << type;
    if (first <= 0) return {};
    const DbPage p = page(first);
    return {p.words().begin() + 38, p.words().begin() + 38 + n};
  }

  StopTrap stopTrap;
};

}  // namespace kvr::test
