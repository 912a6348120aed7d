// The basic queries: the model size vector (USIZE, USIZ2), a point (UPNT2), a node
// (UNODE), an element's nodes (UELEM) and the name of any named entity (UNAMG2).
#include <algorithm>
#include <array>
#include <limits>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/elnord.h"
#include "modeldb/elttab.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/session.h"
#include "runtime/codtxt.h"
#include "runtime/dspsta.h"
#include "runtime/modcnt.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kOutOfRange = 1;
constexpr int32_t kMissing = 2;
constexpr int32_t kArrPointNames = 1;
constexpr int32_t kArrPointCoordinates = 2;
constexpr int32_t kArrShapeNames = 9;
constexpr int32_t kArrSetNames = 18;
constexpr int32_t kArrKind42Names = 27;
constexpr int32_t kNameChars = 8;

// USZVEC positions 1-18: the MODCNT words they copy (9 is the stored set count less one).
constexpr std::array<int32_t, 18> kSizeWords = {
    kCntPoints,       kCntLines,      kCntSurfaces,      kCntBodies,      kCntShapes,
    kCntHighestNode,  kCntElementNodes, kCntHighestElement, kCntSets,      kCntMaterials,
    kCntProperties,   kCntConditions, kCntLoads,         kCntCurves,      kCntNodeListBound,
    kCntCoordSystems, kCntNodeOffset, kCntElementOffset};
constexpr int32_t kPositionSets = 9;

void sizes(std::span<int32_t> out) {
  for (size_t k = 0; k < kSizeWords.size(); ++k) out[k] = MODCNT.word(kSizeWords[k]);
  // Set 1 is reserved: no model, or one without it, has no sets rather than -1.
  out[kPositionSets - 1] = clampWord(std::max<int64_t>(int64_t{MODCNT.word(kCntSets)} - 1, 0));
  out[18] = SESCNT.word(1);
  out[19] = SESCNT.word(2);
}

// The attribute type that holds the name of entities of KIND; 0 for a kind named in a
// name array or not named at all.
int32_t attributeTypeOf(int32_t kind) {
  switch (kind) {
    case 10: return 4;
    case 11: return 3;
    case 25: return 8;
    case 30: return 9;
    case 33: return 5;
    case 39: return -7;
    case 40: return -8;
    case 41: return -9;
    case 47: return -11;
    default: return 0;
  }
}

// The name array of entities of KIND; 0 for a kind without one.
int32_t nameArrayOf(int32_t kind) {
  switch (kind) {
    case 1:
    case 2:
    case 3:
    case 4: return 2 * kind - 1;
    case 6: return kArrShapeNames;
    case 7: return kArrSetNames;
    case 42: return kArrKind42Names;
    case 46: return APPSTA.ARRHND(kHandleKind46Names);
    default: return 0;
  }
}

}  // namespace

void USIZE(std::span<int32_t, 20> out) { sizes(out); }

void USIZ2(std::span<int32_t, 50> out) {
  std::fill(out.begin(), out.end(), 0);
  sizes(out);
  out[20] = MODCNT.word(kCntKind42);
  int32_t first = 0;
  ITMNAM(2, 0, first);
  if (first > 0) {
    int32_t a1 = 0, a2 = 0, a3 = 0, a4 = 0, b1 = 0, b2 = 0, b3 = 0;
    REC7A(2, a1, a2, a3, a4, b1, b2, b3);
    // Words 3, 5, 7 and 1 of the record.
    out[21] = a2;
    out[22] = a3;
    out[23] = a4;
    out[24] = a1;
  }
  ITMNA2(2, 0, first);
  if (first > 0) {
    int32_t a1 = 0, a2 = 0, a3 = 0, a4 = 0, b1 = 0, b2 = 0, b3 = 0;
    REC7B(2, a1, a2, a3, a4, b1, b2, b3);
    out[25] = a2;
    out[26] = a3;
    out[27] = a4;
    out[28] = a1;
  }
  out[29] = MODCNT.word(kCntKind44);
  out[30] = clampWord(std::max<int64_t>(int64_t{MODCNT.word(kCntKind46)} - 1, 0));
  out[31] = MODCNT.word(kCntKind47);
}

void UPNT2(const int32_t& number, FText name, std::span<float, 3> xyz, int32_t& status) {
  const int32_t points = MODCNT.word(kCntPoints);
  if (number < 1 || number > points || !recordsHeld(kArrPointCoordinates, number, number)) {
    status = kOutOfRange;
    return;
  }
  if (ENTEXS(number, 1) == 0) {
    status = kMissing;
    return;
  }
  status = 0;
  std::array<int32_t, 2> label{};
  if (nameWords(kArrPointNames, number, label)) writeName(label, name);
  ARRREC(kRead, kArrPointCoordinates, number, xyz);
}

void UNODE(const int32_t& node, std::span<float, 3> xyz, int32_t& status) {
  const int64_t internal = int64_t{node} - nodeOffset();
  if (internal < 1 || internal > highestNode() ||
      !recordsHeld(kArrNodeCoordinates, internal, internal)) {
    status = kOutOfRange;
    return;
  }
  status = 0;
  ARRREC(kRead, kArrNodeCoordinates, static_cast<int32_t>(internal), xyz);
}

void UELEM(const int32_t& element, std::span<int32_t> nodes, int32_t& count, int32_t& status) {
  count = 0;
  status = kOutOfRange;
  const int64_t internal = int64_t{element} - elementOffset();
  if (internal < 1 || internal > highestElement()) return;
  std::array<int32_t, kElementNodes> stored{};
  std::array<int32_t, kElementNodes> ordered{};
  int32_t nnod = 0;
  int32_t shape = 0;
  int32_t stat = 0;
  ELCONN(static_cast<int32_t>(internal), stored, nnod, shape, stat);
  if (stat != 0) return;
  ELRORD(std::span<const int32_t>(stored).first(static_cast<size_t>(nnod)), shape, ordered, stat);
  if (stat != 0) return;
  // Never past the host's array, which must hold the longest element of the model.
  const int32_t n = std::min(nnod, static_cast<int32_t>(nodes.size()));
  for (int32_t i = 0; i < n; ++i) {
    nodes[static_cast<size_t>(i)] = clampWord(int64_t{ordered[static_cast<size_t>(i)]} + nodeOffset());
  }
  count = n;
  status = 0;
}

void UNAMG2(const int32_t& kind, const int32_t& number, FText name, int32_t& status) {
  std::array<int32_t, 2> words = {a4Word("????"), a4Word("????")};
  if (kind < 0) {
    writeName(words, name);
    status = kOutOfRange;
    return;
  }
  if (kind == 0) {
    // The model's name: the first codes of the model-name line.
    CODTXT(DSPSTA.state.title, kNameChars, name);
    status = 0;
    return;
  }
  // Sets and entities of kind 46 are stored one number higher; the first of each is
  // reserved and never named.
  const bool shifted = kind == 7 || kind == 46;
  const int32_t id = clampWord(int64_t{number} + (shifted ? 1 : 0));
  const int32_t exists = kind == 7 ? SETEXS(id) : kind == 46 ? K46EXS(id) : ENTEXS(id, kind);
  if (exists == 0) {
    status = kMissing;
    return;
  }
  status = 0;
  if (const int32_t array = nameArrayOf(kind); array != 0) {
    if (!nameWords(array, id, words)) status = kOutOfRange;
  } else if (const int32_t type = attributeTypeOf(kind); type != 0) {
    int32_t key = id;
    int32_t count = 0;
    ATTFND(1, words, type, key, count);
  } else {
    status = kOutOfRange;
  }
  writeName(words, name);
}

}  // namespace kvr
