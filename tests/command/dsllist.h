// The fixture of the display selection list and the mesh cancel: the message unit and both
// journals in files, the lines handed to the host's message hook and to the unit writers
// recorded, the full model registry with empty arrays, the model constants that mark
// deleted names, every drawing-item flag pre-set to 1 (so that a mark, 2, and a clear, 0,
// both show), current window 3 and current group 1.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "../runtime/msgfixture.h"
#include "command/dslupd.h"
#include "messages/synsta.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "runtime/dspsta.h"
#include "runtime/machcn.h"
#include "runtime/modcnt.h"
#include "runtime/modcon.h"
#include "runtime/pltcap.h"
#include "runtime/reghed.h"

namespace kvr::test {

inline constexpr int32_t kBlankWord = 0x20202020;
inline constexpr int32_t kMarkerWord = 0x2020202A;  // "*", the deletion marker

struct WriterLine {
  LineWriter writer;
  std::string text;
  bool operator==(const WriterLine&) const = default;
};
inline std::vector<WriterLine> gWriterLines;

// A list entry: display code, entity kind, entity id, display value.
using Entry = std::array<int32_t, 4>;
using Entries = std::vector<Entry>;

class DisplayListFixture : public MessageFixture {
 protected:
  static constexpr int32_t kWindow = 3;
  static constexpr int32_t kGroup = 1;

  void SetUp() override {
    MessageFixture::SetUp();
    enableJournals();
    resetModel();
    MODCON.word(kModFirstCode) = kBlankWord;
    MODCON.word(kModDeletedMarker) = kMarkerWord;
    MODCON.word(kModWordsPerValue) = 1;
    MACHCN.word(kMachBitsLessOne) = 31;
    ARRNUM(1);
    int32_t stat = -1;
    ARRREG(2, 1, stat);
    ASSERT_EQ(stat, 0);
    presetFlags();
    DSPSTA.currentWindow = kWindow;
    DSPSTA.currentGroup = kGroup;
    gWriterLines.clear();
    setLineWriterObserver([](LineWriter w, int32_t, FText text) {
      gWriterLines.push_back({w, text.trimmed()});
    });
  }
  void TearDown() override {
    resetModel();
    MODCON = {};
    MACHCN = {};
    gWriterLines.clear();
    MessageFixture::TearDown();
  }
  static void resetModel() {
    CoreFreeFile(-1);
    REGHED = {};
    APPSTA = {};
    MODCNT = {};
    DSLSTA = {};
    DSPSTA = {};
    DSPOPT = {};
    DSPSL2 = {};
    GFXDFS = {};
    PLTCAP = {};
    attributeListChanged();
  }

  static void presetFlags() {
    for (auto& g : DSPOPT.records) {
      for (auto& w : g) w.fill(1);
    }
  }
  // The flag of item K as the window rule places it in the current group.
  static int32_t item(int32_t k) {
    const bool window0 = k == 1 || k == 3 || k == 13 || k == 20 || k == 25 || k == 26;
    return *DSPOPT.DRWFLG(k == 1 ? 0 : kGroup, window0 ? 0 : kWindow, k);
  }

  // The list: entries 1..count as the attribute store holds them.
  static Entries list() {
    Entries e;
    for (int32_t i = 1; i <= DSLSTA.count; ++i) e.push_back(stored(i));
    return e;
  }
  static Entry stored(int32_t i) {
    Entry v{};
    int32_t count = 4;
    ATTVLI(1, -4, i, 1, count, v);
    return v;
  }
  // Sets the list to ENTRIES, written as the list writes them.
  static void setList(const Entries& entries) {
    for (size_t k = 0; k < entries.size(); ++k) {
      std::array<int32_t, 2> label = {a4Word("*DSL"), kBlankWord};
      int32_t id = static_cast<int32_t>(k + 1);
      int32_t count = 4;
      ATTFND(-1, label, -4, id, count);
      Entry v = entries[k];
      ATTVLI(-1, -4, id, 1, count, v);
    }
    DSLSTA.count = static_cast<int32_t>(entries.size());
  }
  static int32_t call(int32_t p, int32_t d, int32_t q, int32_t r, int32_t v) {
    int32_t status = -9;
    DSLUPD(p, d, q, r, v, status);
    return status;
  }

  static std::vector<std::string> hostLines() {
    std::vector<std::string> lines;
    for (const WriterLine& l : gWriterLines) {
      if (l.writer == LineWriter::HCMSG) lines.push_back(l.text);
    }
    return lines;
  }
};

}  // namespace kvr::test
