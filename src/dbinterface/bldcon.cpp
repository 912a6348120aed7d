// The connectivity steps of the display build: BLDTOP, BLDNX2, BLDNEL, BLDCON and BLDQDR.

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

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

// Node table record S (three words) of NODES; false, and nothing read, when it does not
// exist.
bool nodeRecord(const RoadArray& nodes, int32_t s, std::array<int32_t, kNodeRecordWords>& record) {
  return nodes.get(s, 1, record);
}

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

// The node-to-element lists: the list index and the list store, reached directly once
// BLDNEL has laid them out.
struct ListArrays {
  RoadArray index{kListIndexHandle};
  RoadArray store{kListStoreHandle};
};

// Records S and S + 1 of the list index: FIRST, where list S begins in the list store,
// and LENGTH, up to where the next one begins; false when they are not there, run
// backwards or lead outside the store.
bool listBounds(const ListArrays& lists, int32_t s, int32_t& first, int32_t& length) {
  std::array<int32_t, 2> bounds{};
  if (!lists.index.get(s, 2, bounds)) return false;
  const int64_t n = int64_t{bounds[1]} - bounds[0];
  if (n < kListHeadWords || !lists.store.exist(bounds[0], n)) return false;
  first = bounds[0];
  length = static_cast<int32_t>(n);
  return true;
}

// The number of different values among VALUES (which it sorts).
int32_t differentValues(std::vector<int32_t>& values) {
  std::sort(values.begin(), values.end());
  return static_cast<int32_t>(std::unique(values.begin(), values.end()) - values.begin());
}


// The node-to-element lists of one element's nodes, copied into the work area of BLDQDR.
class ElementLists {
 public:
  explicit ElementLists(std::span<int32_t> work) : work_(work) {}

  // Copies the lists of the nodes of sequence numbers SEQS (N of them); false when they
  // do not fit in the work area. A node without a list has an empty one.
  bool copy(std::span<const int32_t> seqs, int32_t nodes) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < seqs.size(); ++i) {
      at_[i] = 0;
      count_[i] = 0;
      keys_[i].clear();
      int32_t first = 0;
      int32_t length = 0;
      const int32_t s = seqs[i];
      if (s < 1 || s > nodes || !listBounds(arrays_, s, first, length)) continue;
      if (static_cast<std::size_t>(length) > work_.size() - used) return false;
      arrays_.store.get(first, length, work_.subspan(used, static_cast<std::size_t>(length)));
      at_[i] = static_cast<int32_t>(used + 1);
      count_[i] = std::clamp(work_[used], 0, (length - kListHeadWords) / kTripleWords);
      std::vector<int32_t>& keys = keys_[i];
      for (int32_t j = 1; j <= count_[i]; ++j) keys.push_back(TRIPG1(work_, at_[i], j));
      // A list holds its elements in the order of the topology, so its keys mostly come
      // sorted already; only the others are sorted, into a copy.
      sorted_[i].clear();
      if (!std::is_sorted(keys.begin(), keys.end())) {
        sorted_[i] = keys;
        std::sort(sorted_[i].begin(), sorted_[i].end());
      }
      used += static_cast<std::size_t>(length);
    }
    return true;
  }

  // Of the list of local node L (1..n): its number of triples, key J, and whether it holds
  // KEY.
  int32_t count(int32_t l) const { return count_[index(l)]; }
  int32_t key(int32_t l, int32_t j) const {
    return keys_[index(l)][static_cast<std::size_t>(j - 1)];
  }
  // The keys of the list of local node LOCALS[0], in its order, that the lists of all the
  // other nodes of LOCALS hold, into SHARED.
  void common(std::span<const int32_t> locals, std::vector<int32_t>& shared) const {
    shared.clear();
    const std::size_t h = index(locals[0]);
    const std::span<const int32_t> others = locals.subspan(1);
    if (!sorted_[h].empty()) {
      for (const int32_t k : keys_[h]) {
        if (std::all_of(others.begin(), others.end(), [&](int32_t l) {
              const std::vector<int32_t>& keys = sortedKeys(l);
              return std::binary_search(keys.begin(), keys.end(), k);
            })) {
          shared.push_back(k);
        }
      }
      return;
    }
    // The head's keys ascend: each other list is walked once beside them.
    std::array<std::size_t, ElShap::kEdgeNodes> at{};
    for (const int32_t k : keys_[h]) {
      bool all = true;
      for (std::size_t r = 0; r < others.size() && all; ++r) {
        const std::vector<int32_t>& keys = sortedKeys(others[r]);
        std::size_t& p = at[r];
        while (p < keys.size() && keys[p] < k) ++p;
        all = p < keys.size() && keys[p] == k;
      }
      if (all) shared.push_back(k);
    }
  }

 private:
  static std::size_t index(int32_t l) { return static_cast<std::size_t>(l - 1); }
  const std::vector<int32_t>& sortedKeys(int32_t l) const {
    const std::size_t i = index(l);
    return sorted_[i].empty() ? keys_[i] : sorted_[i];
  }

  std::span<int32_t> work_;
  ListArrays arrays_;
  std::array<int32_t, kMaxElementNodes> at_{};     // word of WORK where each list begins
  std::array<int32_t, kMaxElementNodes> count_{};  // triples of each list
  std::array<std::vector<int32_t>, kMaxElementNodes> keys_;    // each list's keys (TRIPG1)
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

  void select(int32_t t) {
    type = t;
    nodes = std::clamp(ELNCNT(t), 0, kMaxElementNodes);
    edges = 0;
    faces = 0;
    base = ELTBLN(t);
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

}  // namespace

void BLDTOP(std::span<int32_t> ldpage, int32_t& status) {
  status = 0;
  if (!present(kElementDataset, " ERROR : ELEMENT TOPOLOGY DATA SET NOT FOUND") ||
      !present(kNodeDataset, " ERROR : NODAL CO-ORDINATE DATA SET NOT FOUND")) {
    status = 2;
    return;
  }
  dropSlotClaim();
  EntryCursor cursor(ldpage, kElementDataset);
  const RoadArray nodes(kNodeTableHandle);
  std::array<int32_t, kNodeRecordWords> record{};
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    const int32_t n = std::clamp(ELNCNT(cursor.elementType()), 0, kMaxElementNodes);
    for (int32_t k = 1; k <= n; ++k) {
      const int32_t id = TOPNOD(ldpage, q, k);
      const int32_t s = nodeIndex(id);
      if (s < 1 || !nodeRecord(nodes, s, record)) {
        reportMissingNode(cursor.elementId(), id);
        status = 1;
        continue;
      }
      SEQPUT(ldpage, q, k, s);
      ++record[0];
      nodes.put(s, 1, record);
    }
    cursor.markModified();
  }
  cursor.writeBack();
  dropSlotClaim();
}

void BLDNX2(std::span<int32_t> ldpage, int32_t& status) {
  dropSlotClaim();
  EntryCursor cursor(ldpage, kNodeDataset);
  status = cursor.missing() ? 1 : 0;
  const RoadArray nodes(kNodeTableHandle);
  std::array<int32_t, kNodeRecordWords> record{};
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    // The stored sequence number, as BLDNIX took it.
    if (!nodeRecord(nodes, RECW2(ldpage, q), record)) continue;
    std::copy(record.begin(), record.end(), ldpage.begin() + (q - 1));
    cursor.markModified();
  }
  cursor.writeBack();
  dropSlotClaim();
}

void BLDNEL(int32_t& status) {
  status = 0;
  const int32_t nodes = std::max(DICNT.nodeCount, 0);
  const int64_t room = int64_t{DBLEVL.dataPageSize} - DBLEVL.pageHeaderWords;
  const RoadArray table(kNodeTableHandle);
  std::array<int32_t, kNodeRecordWords> record{};
  std::vector<int32_t> list;
  int64_t next = 1;
  for (int32_t s = 1; s <= nodes; ++s) {
    // A node the node table lacks is used by no element: its list is empty.
    if (!nodeRecord(table, s, record)) record = {0, 0, s};
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
    list.assign(static_cast<std::size_t>(length), 0);
    list[1] = static_cast<int32_t>(length);
    putRoadWords(kListStoreHandle, static_cast<int32_t>(next), list);
    std::array<int32_t, 1> position{static_cast<int32_t>(next)};
    putRoadWords(kListIndexHandle, s, position);
    next += length;
  }
  std::array<int32_t, 1> end{static_cast<int32_t>(next)};
  putRoadWords(kListIndexHandle, nodes + 1, end);
}

void BLDCON(std::span<int32_t> ldpage, std::span<int32_t> ldscr) {
  const int32_t nodes = std::max(DICNT.nodeCount, 0);

  // The triples, element by element into the lists of their nodes.
  const ListArrays lists;
  dropSlotClaim();
  {
    EntryCursor cursor(ldpage, kElementDataset);
    std::array<int32_t, kListHeadWords> head{};
    std::array<int32_t, kTripleWords> triple{};
    for (; cursor.atEntry(); cursor.next()) {
      const int32_t q = cursor.q();
      const int32_t t = cursor.elementType();
      const int32_t n = std::clamp(ELNCNT(t), 0, kMaxElementNodes);
      const int32_t key = ELTDIM(t) == 1 ? -cursor.elementSequence() : cursor.elementSequence();
      triple = {key, ENTW4(ldpage, q), ENTW3(ldpage, q)};
      for (int32_t k = 1; k <= n; ++k) {
        const int32_t s = NODSEQ(ldpage, q, k);
        int32_t first = 0;
        int32_t length = 0;
        if (s < 1 || s > nodes || !listBounds(lists, s, first, length)) continue;
        lists.store.get(first, kListHeadWords, head);
        // A list that is full already (its count disagrees with the stored nodes) is not
        // written past its end into the next one.
        if (head[0] < 0 || int64_t{head[0]} >= (length - kListHeadWords) / kTripleWords) continue;
        lists.store.put(first + kListHeadWords + kTripleWords * head[0], kTripleWords, triple);
        ++head[0];
        lists.store.put(first, 1, head);
      }
    }
    dropSlotClaim();
  }

  // Dataset 7: the lists of nodes 1..N in order, each whole on one page.
  LoaderPages pages(ldpage, ldscr, kConnectivityDataset);
  std::vector<int32_t> list;
  std::vector<int32_t> second;
  std::vector<int32_t> third;
  int32_t mostSecond = 1;
  int32_t mostThird = 1;
  for (int32_t s = 1; s <= nodes; ++s) {
    int32_t first = 0;
    int32_t length = 0;
    if (!listBounds(lists, s, first, length)) continue;
    list.resize(static_cast<std::size_t>(length));
    lists.store.get(first, length, list);
    if (int64_t{pages.lastUsed()} + length > pages.pageSize()) pages.startNewPage();
    const int32_t at = pages.store(length);
    for (int32_t w = 0; w < length; ++w) pages.word(at + w) = list[static_cast<std::size_t>(w)];

    const int32_t c = std::clamp(list[0], 0, (length - kListHeadWords) / kTripleWords);
    second.clear();
    third.clear();
    for (int32_t j = 1; j <= c; ++j) {
      second.push_back(TRIPGT(list, 1, j));
      third.push_back(TRIPG3(list, 1, j));
    }
    mostSecond = std::max(mostSecond, differentValues(second));
    mostThird = std::max(mostThird, differentValues(third));
  }
  pages.finish();
  pages.record();
  DICNT.firstConnectivityCount = mostSecond;
  DICNT.secondConnectivityCount = mostThird;
}

void BLDQDR(std::span<int32_t> ldpage, std::span<int32_t> ldscr) {
  const int32_t nodes = std::max(DICNT.nodeCount, 0);
  LoaderPages pages(ldpage, ldscr, kQuickDrawDataset);
  const int32_t p = pages.pageSize();
  const std::size_t workFirst = std::min(ldpage.size(), 2 * static_cast<std::size_t>(p));
  ElementLists lists(ldpage.subspan(workFirst, std::min(ldpage.size() - workFirst,
                                                        2 * static_cast<std::size_t>(p))));
  const int64_t perNode = EDGLEN(1) - 3;  // words of one node of an edge record
  TypeShape shape;
  std::array<int32_t, kMaxElementNodes> seqs{};
  std::vector<int32_t> sharers;
  std::vector<int32_t> sortedSharers;
  bool warned = false;

  dropSlotClaim();
  EntryCursor cursor(ldpage, kElementDataset);
  for (; cursor.atEntry(); cursor.next()) {
    const int32_t q = cursor.q();
    if (cursor.elementType() != shape.type) shape.select(cursor.elementType());
    const int32_t n = shape.nodes;
    ENNODS(ldpage, q, n, seqs);
    if (!lists.copy(std::span<const int32_t>(seqs).first(static_cast<std::size_t>(n)), nodes)) {
      if (!warned) {
        messageUnitLine(" ");
        messageUnitLine(" ERROR : INSUFFICIENT SPACE FOR CONNECTIVITY DATA");
        messageUnitLine(" DATABASE WILL BE INCOMPLETELY BUILT");
        warned = true;
      }
      continue;
    }
    const int32_t self = ELTDIM(shape.type) == 1 ? -cursor.elementSequence()
                                                 : cursor.elementSequence();
    for (int32_t j = 1; j <= shape.edges; ++j) {
      const std::span<const int32_t> locals = shape.locals(j);
      if (locals.empty()) continue;
      // The elements sharing the edge: those of the first node's list that stand in the
      // lists of all its other nodes.
      if (locals.size() == 1) {
        sharers.assign(1, self);
      } else {
        lists.common(locals, sharers);
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
          for (int32_t i = 1; i <= lists.count(start); ++i) {
            const int32_t k = lists.key(start, i);
            if (k != self && std::binary_search(sorted->begin(), sorted->end(), k)) {
              across = k;
              break;
            }
          }
        }
        FACPUT(ldpage, q + shape.base, j, across);
        cursor.markModified();
      }

      // The edge belongs to the sharing element of smallest key.
      const int64_t own = self < 0 ? -int64_t{self} : int64_t{self};
      const bool leftToOther = std::any_of(sharers.begin(), sharers.end(), [own](int32_t k) {
        return (k < 0 ? -int64_t{k} : int64_t{k}) < own;
      });
      if (leftToOther) continue;
      const auto m = static_cast<int32_t>(locals.size());
      const int64_t length = int64_t{EDGLEN(m)} + static_cast<int64_t>(sharers.size());
      if (length > int64_t{p} - DBLEVL.pageHeaderWords) continue;  // no page holds it
      if (pages.lastUsed() + length > p) pages.startNewPage();
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
  }
  cursor.writeBack();
  dropSlotClaim();
  pages.finish();
  pages.record();
}

}  // namespace kvr
