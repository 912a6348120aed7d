// The connectivity steps of the display build: BLDTOP, BLDNX2, BLDNEL, BLDCON and BLDQDR.

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

#include "dbinterface/bldhold.h"
#include "dbinterface/bldmsg.h"
#include "dbinterface/bldnix.h"
#include "dbinterface/dibld.h"
#include "dbinterface/elnord.h"
#include "dbinterface/eltacc.h"
#include "dbinterface/ldframe.h"
#include "geometry/elshap.h"
#include "modeldb/arrreg.h"
#include "modeldb/ctlrec.h"
#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"
#include "modeldb/roadarr.h"
#include "runtime/ftext.h"
#include "runtime/msglin.h"

namespace kvr {
namespace {

constexpr int32_t kNodeRecordWords = 3;  // node table: count, id, s
constexpr int32_t kListHeadWords = 2;    // a list: its count and its length
constexpr int32_t kTripleWords = 3;

// Writes TEXT as one line on the message unit, where the build puts the lines that are
// no road messages.
void messageUnitLine(std::string_view text) {
  FixedText line(static_cast<int32_t>(text.size()), text);
  MSGWRT(line, static_cast<int32_t>(text.size()));
}

// A missing dataset of TYPE: the blank line and LINE on the message unit.
bool present(int32_t type, std::string_view line) {
  int32_t first = 0;
  DSDIRF(type, first);
  if (first > 0) return true;
  messageUnitLine(" ");
  messageUnitLine(line);
  return false;
}

// The number of different values among VALUES (which it sorts).
int32_t differentValues(std::span<int32_t> values) {
  std::sort(values.begin(), values.end());
  return static_cast<int32_t>(std::unique(values.begin(), values.end()) - values.begin());
}

// The node-to-element lists of one element's nodes, as BLDQDR reads them: the keys of
// each list in its order, and sorted where that order does not ascend.
class ElementLists {
 public:
  // Takes the lists of the nodes of sequence numbers SEQS (HELD's lists holding keys);
  // false when they would not fit in WORDS words (the work area of two page lengths the
  // lists are read into). A node without a list has an empty one.
  bool take(const BuildModel& held, std::span<const int32_t> seqs, int32_t nodes, int64_t words) {
    int64_t used = 0;
    for (std::size_t i = 0; i < seqs.size(); ++i) {
      keys_[i] = {};
      sorted_[i].clear();
      const int32_t s = seqs[i];
      if (s < 1 || s > nodes) continue;
      const int64_t length =
          kTripleWords * int64_t{held.listCapacity[static_cast<std::size_t>(s - 1)]} + kListHeadWords;
      if (length > words - used) return false;
      used += length;
      const std::span<const int32_t> keys = held.listOf(s);
      keys_[i] = keys;
      // A list holds its elements in the order of the topology, so its keys mostly come
      // sorted already; only the others are sorted, into a copy.
      if (!std::is_sorted(keys.begin(), keys.end())) {
        sorted_[i].assign(keys.begin(), keys.end());
        std::sort(sorted_[i].begin(), sorted_[i].end());
      }
    }
    return true;
  }

  // Of the list of local node L (1..n): its keys in order.
  std::span<const int32_t> keys(int32_t l) const { return keys_[index(l)]; }

  // The keys of the list of local node LOCALS[0], in its order, that the lists of all the
  // other nodes of LOCALS hold, into SHARED. With STOP above 0 the search ends at the
  // first key smaller than STOP in absolute value (true; SHARED then holds only part).
  bool common(std::span<const int32_t> locals, std::vector<int32_t>& shared,
              int64_t stop = 0) const {
    shared.clear();
    const auto below = [stop](int32_t k) { return (k < 0 ? -int64_t{k} : int64_t{k}) < stop; };
    const std::size_t h = index(locals[0]);
    const std::span<const int32_t> others = locals.subspan(1);
    if (!sorted_[h].empty()) {
      for (const int32_t k : keys_[h]) {
        if (std::all_of(others.begin(), others.end(), [&](int32_t l) {
              const std::span<const int32_t> keys = sortedKeys(l);
              return std::binary_search(keys.begin(), keys.end(), k);
            })) {
          shared.push_back(k);
          if (below(k)) return true;
        }
      }
      return false;
    }
    // The head's keys ascend: each other list is walked once beside them.
    std::array<std::span<const int32_t>, ElShap::kEdgeNodes> lists{};
    std::array<std::size_t, ElShap::kEdgeNodes> at{};
    for (std::size_t r = 0; r < others.size(); ++r) lists[r] = sortedKeys(others[r]);
    for (const int32_t k : keys_[h]) {
      bool all = true;
      for (std::size_t r = 0; r < others.size() && all; ++r) {
        const std::span<const int32_t> keys = lists[r];
        std::size_t& p = at[r];
        while (p < keys.size() && keys[p] < k) ++p;
        // A list walked to its end holds none of the keys that follow.
        if (p == keys.size()) return false;
        all = keys[p] == k;
      }
      if (!all) continue;
      shared.push_back(k);
      if (below(k)) return true;
    }
    return false;
  }

 private:
  static std::size_t index(int32_t l) { return static_cast<std::size_t>(l - 1); }
  std::span<const int32_t> sortedKeys(int32_t l) const {
    const std::size_t i = index(l);
    return sorted_[i].empty() ? keys_[i] : std::span<const int32_t>(sorted_[i]);
  }

  std::array<std::span<const int32_t>, kMaxElementNodes> keys_;  // each list's keys (TRIPG1)
  std::array<std::vector<int32_t>, kMaxElementNodes> sorted_;  // sorted, unless keys_ is
};

// The shape of the element type in hand: its nodes, its edges and faces as the shape
// tables hold them (none for a type without tables) and its base record length.
struct TypeShape {
  int32_t type = -1;
  int32_t nodes = 0;
  int32_t edges = 0;
  int32_t faces = 0;
  int32_t base = 0;
  int32_t faceKeys = -1;  // per-face words TOPARR reads as face keys; -1: one key 0
  bool solid = false;

  void select(int32_t t) {
    type = t;
    nodes = std::clamp(ELNCNT(t), 0, kMaxElementNodes);
    edges = 0;
    faces = 0;
    base = ELTBLN(t);
    const int32_t dim = ELTDIM(t);
    solid = dim == 3;
    faceKeys = dim == 2 || dim == 3 ? std::clamp(ELTFAC(t), 0, ElShap::kMaxFaces) : -1;
    if (shapeFaceCount(t) == 0) return;
    ELFAM(t);
    edges = std::clamp(ELTEDG(t), 0, elshap().edgeCount);
    if (ELTDIM(t) != 1) faces = std::clamp(ELTFAC(t), 0, ElShap::kMaxFaces);
    for (int32_t j = 1; j <= edges; ++j) edgeNodes(j);
  }

  // The local nodes of edge J (1..edges); empty when one of them is no node of the type.
  std::span<const int32_t> locals(int32_t j) const {
    const auto e = static_cast<std::size_t>(j - 1);
    return std::span(edgeLocals[e]).first(edgeLocalCount[e]);
  }

 private:
  void edgeNodes(int32_t j) {
    const ElShap& tables = elshap();
    const int32_t m = std::clamp(tables.edgeNodeCount(j), 0, ElShap::kEdgeNodes);
    const auto e = static_cast<std::size_t>(j - 1);
    edgeLocalCount[e] = 0;
    for (int32_t r = 1; r <= m; ++r) {
      const int32_t l = tables.edgeNode(j, r);
      if (l < 1 || l > nodes) return;
      edgeLocals[e][static_cast<std::size_t>(r - 1)] = l;
    }
    edgeLocalCount[e] = static_cast<std::size_t>(m);
  }

  std::array<std::array<int32_t, ElShap::kEdgeNodes>, ElShap::kMaxEdges> edgeLocals{};
  std::array<std::size_t, ElShap::kMaxEdges> edgeLocalCount{};
};

// Puts after each node of the element entry at Q, of N nodes, its sequence number, for a
// node with one of the node table's RECORDS.
void putSequences(std::span<int32_t> ldpage, int32_t q, int32_t n, std::size_t records) {
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t s = nodeIndex(TOPNOD(ldpage, q, k));
    if (s >= 1 && static_cast<std::size_t>(s) <= records) SEQPUT(ldpage, q, k, s);
  }
}

}  // namespace

void storeNodeSequences(std::span<int32_t> ldpage, const BuildModel& held) {
  dropSlotClaim();
  EntryCursor cursor(ldpage, kElementDataset);
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t n = std::clamp(ELNCNT(cursor.elementType()), 0, kMaxElementNodes);
    putSequences(ldpage, cursor.q(), n, held.nodeTable.size());
    cursor.markModified();
  }
  cursor.writeBack();
  dropSlotClaim();
}

void BLDTOP(std::span<int32_t> ldpage, BuildModel& held, int32_t& status) {
  status = 0;
  held = BuildModel{};
  if (!present(kElementDataset, " ERROR : ELEMENT TOPOLOGY DATA SET NOT FOUND") ||
      !present(kNodeDataset, " ERROR : NODAL CO-ORDINATE DATA SET NOT FOUND")) {
    status = 2;
    return;
  }
  const RoadArray table(kNodeTableHandle);
  const auto records = static_cast<std::size_t>(std::max(table.records(), 0));
  // The elements using each node, counted here and added to the node table at the end.
  std::vector<int32_t> uses(records + 1, 0);
  std::array<int32_t, kMaxElementNodes> seqs{};
  // Room for the elements the topology loader counted, so the arrays are not moved as
  // they grow.
  const auto expected = static_cast<std::size_t>(std::max(DICNT.elementCount, 0));
  for (std::vector<int32_t>* v :
       {&held.type, &held.key, &held.listKey, &held.ieatt1, &held.ieatt2}) {
    v->reserve(expected);
  }
  held.firstNode.reserve(expected + 1);
  const int32_t most = std::clamp(DICNT.largestNodeCount, 0, kMaxElementNodes);
  held.seqs.reserve(expected * static_cast<std::size_t>(most));
  dropSlotClaim();
  EntryCursor cursor(ldpage, kElementDataset);
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    const int32_t t = cursor.elementType();
    const int32_t n = std::clamp(ELNCNT(t), 0, kMaxElementNodes);
    for (int32_t k = 1; k <= n; ++k) {
      const int32_t id = TOPNOD(ldpage, q, k);
      const int32_t s = nodeIndex(id);
      if (s < 1 || static_cast<std::size_t>(s) > records) {
        reportMissingNode(cursor.elementId(), id);
        status = 1;
        continue;
      }
      // Only in the page held, for ENNODS: BLDQDR writes the pages with the face words.
      SEQPUT(ldpage, q, k, s);
      ++uses[static_cast<std::size_t>(s)];
    }

    const int32_t key = ELTDIM(t) == 1 ? -cursor.elementSequence() : cursor.elementSequence();
    const std::array<int32_t, kListHeadWords + 1> listed{0, 0, key};
    held.type.push_back(t);
    held.key.push_back(key);
    held.listKey.push_back(TRIPG1(listed, 1, 1));
    held.ieatt1.push_back(ENTW3(ldpage, q));
    held.ieatt2.push_back(ENTW4(ldpage, q));
    ENNODS(ldpage, q, n, seqs);
    held.seqs.insert(held.seqs.end(), seqs.begin(), seqs.begin() + n);
    held.firstNode.push_back(held.seqs.size());
  }
  dropSlotClaim();

  held.nodeTable.resize(records);
  if (records == 0) return;
  const auto words = std::span(held.nodeTable.front().data(), kNodeRecordWords * records);
  table.get(1, static_cast<int32_t>(records), words);
  for (std::size_t s = 1; s <= records; ++s) held.nodeTable[s - 1][0] += uses[s];
  table.put(1, static_cast<int32_t>(records), words);
}

void BLDNX2(std::span<int32_t> ldpage, const BuildModel& held, int32_t& status) {
  dropSlotClaim();
  EntryCursor cursor(ldpage, kNodeDataset);
  status = cursor.missing() ? 1 : 0;
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    // The stored sequence number, as BLDNIX took it.
    const int32_t s = RECW2(ldpage, q);
    if (s < 1 || static_cast<std::size_t>(s) > held.nodeTable.size()) continue;
    const std::array<int32_t, 3>& record = held.nodeTable[static_cast<std::size_t>(s - 1)];
    std::copy(record.begin(), record.end(), ldpage.begin() + (q - 1));
    cursor.markModified();
  }
  cursor.writeBack();
  dropSlotClaim();
}

void BLDNEL(BuildModel& held, int32_t& status) {
  status = 0;
  const int32_t nodes = std::max(DICNT.nodeCount, 0);
  const int64_t room = int64_t{DBLEVL.dataPageSize} - DBLEVL.pageHeaderWords;
  const auto n = static_cast<std::size_t>(nodes);
  held.listFirst.assign(n + 1, 0);
  held.listCapacity.assign(n, 0);
  held.listFilled.assign(n, 0);
  int64_t next = 1;  // the list's position in the list store
  std::size_t entries = 0;
  for (int32_t s = 1; s <= nodes; ++s) {
    // A node the node table lacks is used by no element: its list is empty.
    const auto i = static_cast<std::size_t>(s - 1);
    const std::array<int32_t, 3> record =
        i < held.nodeTable.size() ? held.nodeTable[i] : std::array<int32_t, 3>{0, 0, s};
    const int32_t c = std::max(record[0], 0);
    const int64_t length = kTripleWords * int64_t{c} + kListHeadWords;
    if (length > room) {
      reportLongNodeList(record[1], c, length, DBLEVL.pageHeaderWords);
      status = 1;
      return;
    }
    // The store's positions are record numbers: they cannot pass the largest one.
    if (next + length > std::numeric_limits<int32_t>::max()) {
      status = 1;
      return;
    }
    held.listFirst[i] = entries;
    held.listCapacity[i] = c;
    entries += static_cast<std::size_t>(c);
    next += length;
  }
  held.listFirst[n] = entries;
  held.listEntries.assign(entries, 0);
}

void BLDCON(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held) {
  const int32_t nodes = std::max(DICNT.nodeCount, 0);

  // The elements, one after the other into the lists of their nodes. A list that is full
  // already (its count disagrees with the stored nodes) takes no more.
  for (std::size_t e = 0; e < held.elements(); ++e) {
    for (const int32_t s : held.nodesOf(e)) {
      if (s < 1 || s > nodes) continue;
      const auto i = static_cast<std::size_t>(s - 1);
      int32_t& filled = held.listFilled[i];
      if (filled >= held.listCapacity[i]) continue;
      held.listEntries[held.listFirst[i] + static_cast<std::size_t>(filled)] = static_cast<int32_t>(e);
      ++filled;
    }
  }

  // Dataset 7: the lists of nodes 1..N in order, each whole on one page; the triples a
  // list has room for but no element filled are 0.
  LoaderPages pages(ldpage, ldscr, kConnectivityDataset);
  std::vector<int32_t> second;
  std::vector<int32_t> third;
  int32_t mostSecond = 1;
  int32_t mostThird = 1;
  for (int32_t s = 1; s <= nodes; ++s) {
    const auto i = static_cast<std::size_t>(s - 1);
    const int32_t c = held.listCapacity[i];
    const int32_t length = kTripleWords * c + kListHeadWords;
    if (int64_t{pages.lastUsed()} + length > pages.pageSize()) pages.startNewPage();
    const int32_t at = pages.store(length);
    pages.word(at) = held.listFilled[i];
    pages.word(at + 1) = length;
    second.clear();
    third.clear();
    int32_t w = at + kListHeadWords;
    for (const int32_t e : held.listOf(s)) {
      const auto k = static_cast<std::size_t>(e);
      pages.word(w++) = held.key[k];
      pages.word(w++) = held.ieatt2[k];
      pages.word(w++) = held.ieatt1[k];
      second.push_back(held.ieatt2[k]);
      third.push_back(held.ieatt1[k]);
    }
    mostSecond = std::max(mostSecond, differentValues(second));
    mostThird = std::max(mostThird, differentValues(third));
  }
  pages.finish();
  pages.record();
  for (int32_t& entry : held.listEntries) entry = held.listKey[static_cast<std::size_t>(entry)];
  DICNT.firstConnectivityCount = mostSecond;
  DICNT.secondConnectivityCount = mostThird;
}

void BLDQDR(std::span<int32_t> ldpage, std::span<int32_t> ldscr, BuildModel& held) {
  const int32_t nodes = std::max(DICNT.nodeCount, 0);
  LoaderPages pages(ldpage, ldscr, kQuickDrawDataset);
  const int32_t p = pages.pageSize();
  // The lists of an element's nodes must fit in a work area of two page lengths.
  const int64_t workWords = std::min<int64_t>(2 * int64_t{p},
                                              static_cast<int64_t>(ldpage.size()) - 2 * int64_t{p});
  ElementLists lists;
  const int64_t perNode = EDGLEN(1) - 3;  // words of one node of an edge record
  TypeShape shape;
  std::vector<int32_t> sharers;
  std::vector<int32_t> sortedSharers;
  bool warned = false;

  // The face keys of the element at Q, of the type in hand, as TOPARR would read them.
  const auto holdFaceKeys = [&](int32_t q) {
    bool enclosed = shape.solid && shape.faceKeys == ElShap::kMaxFaces;
    if (shape.faceKeys < 0) {
      held.faceKeys.push_back(0);
    } else {
      for (int32_t j = 1; j <= shape.faceKeys; ++j) {
        const int32_t across = FACNGB(ldpage, q + shape.base, j);
        held.faceKeys.push_back(across);
        enclosed = enclosed && across > 0;
      }
    }
    held.firstFace.push_back(held.faceKeys.size());
    held.enclosed.push_back(enclosed);
  };

  // The edge records of the page in hand, kept for BLDD4.
  const auto keepPage = [&] {
    const auto first = ldpage.begin() + DBLEVL.pageHeaderWords;
    const auto last = ldpage.begin() + std::max(pages.lastUsed(), DBLEVL.pageHeaderWords);
    if (first < last) held.edgePages.emplace_back(first, last);
  };

  held.edgePages.clear();
  held.faceKeys.clear();
  held.faceKeys.reserve(ElShap::kMaxFaces * held.elements());
  held.enclosed.clear();
  held.enclosed.reserve(held.elements());
  held.firstFace.assign(1, 0);
  held.firstFace.reserve(held.elements() + 1);
  dropSlotClaim();
  EntryCursor cursor(ldpage, kElementDataset);
  for (std::size_t e = 0; cursor.atEntry() && e < held.elements(); cursor.next(), ++e) {
    const int32_t q = cursor.q();
    if (held.type[e] != shape.type) shape.select(held.type[e]);
    const int32_t n = shape.nodes;
    putSequences(ldpage, q, n, held.nodeTable.size());
    cursor.markModified();
    const std::span<const int32_t> seqs = held.nodesOf(e);
    if (!lists.take(held, seqs, nodes, workWords)) {
      if (!warned) {
        messageUnitLine(" ");
        messageUnitLine(" ERROR : INSUFFICIENT SPACE FOR CONNECTIVITY DATA");
        messageUnitLine(" DATABASE WILL BE INCOMPLETELY BUILT");
        warned = true;
      }
      holdFaceKeys(q);
      continue;
    }
    const int32_t self = held.key[e];
    for (int32_t j = 1; j <= shape.edges; ++j) {
      const std::span<const int32_t> locals = shape.locals(j);
      if (locals.empty()) continue;
      // The elements sharing the edge: those of the first node's list that stand in the
      // lists of all its other nodes. The edge belongs to the sharing element of smallest
      // key: past the face edges the search ends as soon as it meets a smaller one.
      const int64_t own = self < 0 ? -int64_t{self} : int64_t{self};
      bool leftToOther = false;
      if (locals.size() == 1) {
        sharers.assign(1, self);
      } else {
        leftToOther = lists.common(locals, sharers, j <= shape.faces ? 0 : own);
      }

      if (j <= shape.faces) {
        // The element across face j: the first other element of the start node's list
        // that shares edge j.
        const std::vector<int32_t>* sorted = &sharers;
        if (!std::is_sorted(sharers.begin(), sharers.end())) {
          sortedSharers = sharers;
          std::sort(sortedSharers.begin(), sortedSharers.end());
          sorted = &sortedSharers;
        }
        const int32_t start = elshap().startNode[static_cast<std::size_t>(j - 1)];
        int32_t across = 0;
        if (start >= 1 && start <= n) {
          for (const int32_t k : lists.keys(start)) {
            if (k != self && std::binary_search(sorted->begin(), sorted->end(), k)) {
              across = k;
              break;
            }
          }
        }
        FACPUT(ldpage, q + shape.base, j, across);
      }

      leftToOther = leftToOther || std::any_of(sharers.begin(), sharers.end(), [own](int32_t k) {
                      return (k < 0 ? -int64_t{k} : int64_t{k}) < own;
                    });
      if (leftToOther) continue;
      const auto m = static_cast<int32_t>(locals.size());
      const int64_t length = int64_t{EDGLEN(m)} + static_cast<int64_t>(sharers.size());
      if (length > int64_t{p} - DBLEVL.pageHeaderWords) continue;  // no page holds it
      if (pages.lastUsed() + length > p) {
        keepPage();
        pages.startNewPage();
      }
      const int32_t at = pages.store(static_cast<int32_t>(length));
      pages.word(at) = m;
      pages.word(at + 1) = static_cast<int32_t>(length);
      pages.word(at + 2) = static_cast<int32_t>(sharers.size());
      for (int32_t r = 0; r < m; ++r) {
        pages.word(static_cast<int32_t>(at + 3 + r * perNode)) =
            seqs[static_cast<std::size_t>(locals[static_cast<std::size_t>(r)] - 1)];
      }
      const int32_t keysAt = at + EDGLEN(m);
      for (std::size_t i = 0; i < sharers.size(); ++i) {
        pages.word(keysAt + static_cast<int32_t>(i)) = sharers[i];
      }
    }
    holdFaceKeys(q);
  }
  cursor.writeBack();
  dropSlotClaim();
  keepPage();
  pages.finish();
  pages.record();
}

}  // namespace kvr
