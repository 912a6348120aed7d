// The face test of the display build: whether a line drawing of the model shows an edge
// that several elements share. It is shown where two of the faces meeting at it fold
// against each other (their normals between 35 and 145 degrees apart, modulo 180), not
// where they continue one surface. The elements come from the work arrays of TOPARR.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dbinterface/bldhold.h"
#include "dbinterface/elnord.h"
#include "dbinterface/toparr.h"
#include "geometry/elshap.h"

namespace kvr {

// 1 when bit (K - 1) mod M of word (K - 1) div M of the selection bit map is set, M the
// bits per word less one (31). The map's first word is word SELECTION of BUFFER. 0 for
// K below 1 and for a word outside BUFFER.
int32_t ELMSEL(std::span<const int32_t> buffer, int32_t k, int32_t selection);

// The fold test of two face normals ANGLE degrees apart: ANGLE modulo 180 lies strictly
// between 35 and 145.
bool foldShown(float angle);

// The face test for the edge record at word Q of EDGES (its end nodes A and B the
// sequence numbers of its nodes 1 and 2, then its sharing elements' keys). For every
// sharing element of key 0 or more (with the element filter on, only those the selection
// map holds) the faces meeting at its first edge from A to B (either way) are taken; a
// solid's face with a neighbour element across it (with the filter on, a selected one)
// is inside the body and left out. DRAWN is 1 as soon as a face's normal and one taken
// before fold (foldShown), else 0. WORK is the work buffer of ELMXYZ and FACLST. The
// displacement switch is off while the test runs and has its old value on return. A
// repeated key is taken once: its faces would only repeat the normals taken already.
void FACVIS(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q, int32_t& drawn);

// FACVIS over the edge records of a whole build, one after the other: the work arrays are
// resolved once and the buffers kept, and the shape tables of an element type are
// selected (ELFAM) only when it differs from the type the test selected last, so nothing
// else may select shape tables while the test lives. Made after TOPARR; the work arrays
// must not change while it lives.
//
// A test that remembers elements keeps what it read of each sharing element (its work
// record, and a solid's face keys) in a table of up to 16,384 slots (the power of two at
// or below the element count) chosen by the low bits of the key: an element shares
// several edges, whose records come close together in dataset 9, and is then read once
// for them all while its slot holds it. The display build's test of an assembly
// remembers; a single FACVIS does not.
class FaceTest {
 public:
  enum class Memory { None, Elements };
  explicit FaceTest(Memory memory = Memory::None) : remember_(memory == Memory::Elements) {}
  // The display build's test: elements, face keys and coordinates come from HELD, which
  // holds what the work arrays and the node coordinate array would (element key k is
  // element k - 1 of HELD), and must outlive the test.
  explicit FaceTest(const BuildModel& held) : held_(&held), remember_(false) {}

  // DRAWN of FACVIS for the edge record at word Q of EDGES.
  int32_t drawn(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q);

 private:
  using Normal = std::array<float, 3>;
  static constexpr std::size_t kRememberedElements = 16384;

  // What the test reads of one sharing element: its type and the sequence numbers of its
  // nodes (OK false when its work record cannot be read), and, once a face test of a solid
  // needs them, its face-neighbour keys.
  struct Element {
    int32_t key = 0;  // 0: nothing read into this slot
    bool ok = false;
    int32_t type = 0;
    int32_t nodes = 0;
    std::array<int32_t, kMaxElementNodes> sequences{};
    bool facesRead = false;
    std::array<int32_t, 6> neighbours{};

    std::size_t count() const { return static_cast<std::size_t>(nodes); }

    // The sequence number of local node L, 0 for a node the element does not have.
    int32_t sequence(int32_t l) const {
      return l >= 1 && l <= nodes ? sequences[static_cast<std::size_t>(l - 1)] : 0;
    }
  };

  // What the test needs of the element type in hand, taken when the type changes: whether
  // it has shape tables (selected with ELFAM), whether it is a solid, and the end nodes of
  // its edges.
  struct TypeTables {
    int32_t type = -1;
    bool tables = false;
    bool solid = false;
    int32_t edges = 0;
    std::array<std::array<int32_t, 2>, ElShap::kMaxEdges> ends{};
  };

  bool folds(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q);
  const TypeTables& tablesFor(int32_t type);
  Element& element(std::span<int32_t> work, int32_t key);
  Element& heldElement(int32_t key);
  bool coordinates(const Element& e);
  const std::array<int32_t, 6>& neighbours(std::span<int32_t> work, Element& e);
  static int32_t edgeBetween(const TypeTables& t, const Element& e, int32_t a, int32_t b);

  ElementArrays arrays_;
  const BuildModel* held_ = nullptr;
  bool remember_;
  std::vector<Element> remembered_;
  Element scratch_;
  int32_t tablesOf_ = -1;
  TypeTables typeTables_;
  std::array<float, kMaxElementNodes> x_{}, y_{}, z_{};
  std::vector<Normal> normals_;
};

}  // namespace kvr
