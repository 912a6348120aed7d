// The element-type table ELTTAB: its build from ELTPRP for the record layout of the
// database in use, and the one-word readers that the topology loaders, the control
// records and the element accessors use.

#include <cstddef>

#include "modeldb/elttab.h"

namespace kvr {

EltTab ELTTAB;

namespace {

// Integer words per REAL (one 32-bit word holds a REAL bit for bit).
constexpr int32_t kWordsPerReal = 1;

// The element types whose entry length has one word more than their faces give.
constexpr bool hasExtraEntryWord(int32_t t) { return t == 13 || t == 15; }

}  // namespace

int32_t EltTab::word(int32_t t, int32_t k) const {
  if (t < 1 || t > kElementTypes || k < 1 || k > kWords) return 0;
  return entries_[static_cast<size_t>(t - 1)][static_cast<size_t>(k - 1)];
}

void EltTab::set(int32_t t, int32_t k, int32_t value) {
  if (t < 1 || t > kElementTypes || k < 1 || k > kWords) return;
  entries_[static_cast<size_t>(t - 1)][static_cast<size_t>(k - 1)] = value;
}

void ELTBLD(int32_t recordLayout) {
  ELTTAB.clear();
  const int32_t a = recordLayout == kLongEntryLayout ? 3 * kWordsPerReal + 7 : 7;
  for (int32_t t = 1; t <= kElementTypes; ++t) {
    const EltProps& p = ELTPRP(t);
    // A row without nodes is no element type; filling it would give it base length a.
    if (p.nodes == 0) continue;
    const int32_t base = a + (a - 5) * p.nodes;
    int32_t entry = p.dimension == 1 ? base : base + p.faces;
    if (hasExtraEntryWord(t)) ++entry;
    ELTTAB.set(t, EltTab::kNodes, p.nodes);
    ELTTAB.set(t, EltTab::kEdges, p.edges);
    ELTTAB.set(t, EltTab::kEntryLength, entry);
    ELTTAB.set(t, EltTab::kFaces, p.faces);
    ELTTAB.set(t, EltTab::kCorners, p.corners);
    ELTTAB.set(t, EltTab::kBaseLength, base);
    ELTTAB.set(t, EltTab::kOrder, p.order);
    ELTTAB.set(t, EltTab::kInterior, p.interior);
    ELTTAB.set(t, EltTab::kDimension, p.dimension);
  }
}

// Each reader goes through EltTab::word, which answers 0 outside 1..61: a type read
// from stored topology data must not index past the table.
int32_t ELNCNT(int32_t t) { return ELTTAB.word(t, EltTab::kNodes); }
int32_t ELTDIM(int32_t t) { return ELTTAB.word(t, EltTab::kDimension); }
int32_t RECCLS(int32_t t) { return ELTTAB.word(t, EltTab::kEntryLength); }
int32_t ELTCOR(int32_t t) { return ELTTAB.word(t, EltTab::kCorners); }
int32_t ELTEDG(int32_t t) { return ELTTAB.word(t, EltTab::kEdges); }
int32_t ELTFAC(int32_t t) { return ELTTAB.word(t, EltTab::kFaces); }
int32_t ELTBLN(int32_t t) { return ELTTAB.word(t, EltTab::kBaseLength); }

}  // namespace kvr
