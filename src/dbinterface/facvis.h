// The face test of the display build: whether a line drawing of the model shows an edge
// that several elements share. It is shown where two of the faces meeting at it fold
// against each other (their normals between 35 and 145 degrees apart, modulo 180), not
// where they continue one surface. The elements come from the work arrays of TOPARR.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dbinterface/elnord.h"
#include "dbinterface/toparr.h"

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
// else may select shape tables while the test lives. Made after TOPARR.
class FaceTest {
 public:
  // DRAWN of FACVIS for the edge record at word Q of EDGES.
  int32_t drawn(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q);

 private:
  using Normal = std::array<float, 3>;

  // The nodes and coordinates of one sharing element.
  struct Element {
    int32_t type = 0;
    int32_t nodes = 0;
    std::array<float, kMaxElementNodes> x{}, y{}, z{};
    std::array<int32_t, kMaxElementNodes> ids{}, sequences{};

    std::span<const float> xs() const { return std::span(x).first(count()); }
    std::span<const float> ys() const { return std::span(y).first(count()); }
    std::span<const float> zs() const { return std::span(z).first(count()); }
    std::size_t count() const { return static_cast<std::size_t>(nodes); }

    // The sequence number of local node L, 0 for a node the element does not have.
    int32_t sequence(int32_t l) const {
      return l >= 1 && l <= nodes ? sequences[static_cast<std::size_t>(l - 1)] : 0;
    }
  };

  bool folds(std::span<const int32_t> edges, std::span<int32_t> work, int32_t q);
  static int32_t edgeBetween(const Element& e, int32_t a, int32_t b);

  ElementArrays arrays_;
  int32_t tablesOf_ = -1;
  Element element_;
  std::vector<Normal> normals_;
};

}  // namespace kvr
