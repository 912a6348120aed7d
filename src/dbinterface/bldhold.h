// The model as the display build holds it while it runs. BLDTOP reads the element
// topology once, in its walk over dataset 6, into flat arrays; BLDNEL lays the
// node-to-element lists out over them and BLDCON fills them; BLDQDR and the face test of
// BLDD4 reach any element and any node's list by index, with no page walk and no record
// copied through the store. DIBLD drops it at its end.
//
// Elements are indexed e = 0, 1, ... in the order of dataset 6: the face test's key of
// element e is e + 1, as the element work arrays of TOPARR number them. A list holds
// element indices; the triple it stands for in dataset 7 is (key, IEATT2, IEATT1) of the
// element.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kvr {

struct BuildModel {
  // Per element.
  std::vector<int32_t> type;
  std::vector<int32_t> key;      // its key in a list: sequence number, negated for dimension 1
  std::vector<int32_t> listKey;  // that key as a list answers it (TRIPG1)
  std::vector<int32_t> ieatt1;
  std::vector<int32_t> ieatt2;
  std::vector<std::size_t> firstNode{0};  // where its nodes begin in SEQS; one more: the end
  std::vector<int32_t> seqs;              // the sequence numbers of its nodes (NODSEQ)
  std::vector<std::size_t> firstFace{0};  // where its face keys begin in FACEKEYS
  std::vector<int32_t> faceKeys;  // per face the key of the element across (FACNGB of its
                                  // per-face words, set by BLDQDR); one 0 for a line or point
  // A solid with an element across each of six faces: no face of it shows (set by BLDQDR).
  std::vector<bool> enclosed;

  // Node table records 1..R (count, id, s), as BLDTOP leaves them.
  std::vector<std::array<int32_t, 3>> nodeTable;

  // The list of node s (1..N): capacity c and entries from listFirst[s - 1], of which
  // listFilled[s - 1] are filled: element indices, and once dataset 7 is written the
  // keys as the list answers them (listKey).
  std::vector<std::size_t> listFirst;
  std::vector<int32_t> listCapacity;
  std::vector<int32_t> listFilled;
  std::vector<int32_t> listEntries;

  // The pages of dataset 9 as BLDQDR wrote them, each with its edge records only (from
  // word H + 1 of the page), for BLDD4: they are not read back from the file.
  std::vector<std::vector<int32_t>> edgePages;

  // The node coordinate array, three REALs a record, as the face test reads it.
  std::vector<float> coordinates;

  std::size_t elements() const { return type.size(); }
  std::span<const int32_t> nodesOf(std::size_t e) const {
    return std::span(seqs).subspan(firstNode[e], firstNode[e + 1] - firstNode[e]);
  }
  bool isEnclosed(std::size_t e) const { return e < enclosed.size() && enclosed[e]; }
  // None for an element BLDQDR did not come to.
  std::span<const int32_t> facesOf(std::size_t e) const {
    if (e + 1 >= firstFace.size()) return {};
    return std::span(faceKeys).subspan(firstFace[e], firstFace[e + 1] - firstFace[e]);
  }
  // The filled entries of the list of node S (1..N).
  std::span<const int32_t> listOf(int32_t s) const {
    const auto i = static_cast<std::size_t>(s - 1);
    return std::span(listEntries).subspan(listFirst[i], static_cast<std::size_t>(listFilled[i]));
  }
};

}  // namespace kvr
