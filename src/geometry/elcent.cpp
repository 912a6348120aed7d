// Element centroids: ELCENT and the order classes of the element shapes.
#include "geometry/elcent.h"

#include <array>
#include <cstddef>
#include <limits>

#include "geometry/geodsp.h"
#include "modeldb/entqry.h"

namespace kvr {
namespace {

using FV = std::array<float, 3>;

// The order class of each shape code 0 to 61.
constexpr std::array<int32_t, 62> kOrderClass = {
    0, 1, 2, 1, 0, 1, 0, 2, 0, 2,  // 0
    3, 1, 1, 1, 2, 2, 1, 2, 3, 0,  // 10
    1, 3, 4, 3, 3, 4, 4, 4, 3, 3,  // 20
    3, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 30
    0, 1, 1, 2, 2, 3, 4, 1, 1, 2,  // 40
    2, 2, 0, 0, 0, 0, 0, 0, 0, 0,  // 50
    1, 1,                          // 60
};

// Shape codes with rules of their own.
constexpr int32_t kQU9 = 10;
constexpr int32_t kHE16 = 15;
constexpr int32_t kHE27 = 18;
constexpr int32_t kTR9 = 23;
constexpr int32_t kQU12 = 24;
constexpr int32_t kQU16 = 26;
constexpr int32_t kTR15 = 27;
constexpr int32_t kTE16 = 28;
constexpr int32_t kPE24 = 29;
constexpr int32_t kHE32 = 30;
constexpr int32_t kIL32 = 43;
constexpr int32_t kIL44 = 45;
constexpr int32_t kIS84 = 49;

constexpr int32_t kEdgeOfTarget2 = 2;
constexpr int32_t kEdgeOfTarget8 = 8;

bool isEdge(int32_t target) { return target == 1 || target == 2 || target == kEdgeOfTarget8; }

// The nodes of one face and the reads of their coordinates: a read stops at the first
// failure, whose status the routine then answers.
class FaceNodes {
 public:
  FaceNodes(std::span<const int32_t> nodes, std::span<const int32_t> face, int32_t n)
      : nodes_(nodes), face_(face), n_(n) {}

  int32_t status() const { return status_; }
  bool failed() const { return status_ != 0; }
  // Local position K of the face: its element position. A K beyond the face's N nodes
  // (or its list) would read past the list: status 1, position 0.
  int32_t position(int32_t k) {
    if (k < 1 || k > n_ || static_cast<size_t>(k) > face_.size()) {
      status_ = 1;
      return 0;
    }
    return face_[static_cast<size_t>(k - 1)];
  }

  // P(K): the node at face position K.
  FV face(int32_t k) {
    if (failed()) return {};
    const int32_t e = position(k);
    return failed() ? FV{} : element(e);
  }
  // The node at element position E.
  FV element(int32_t e) {
    if (failed()) return {};
    if (e < 1 || static_cast<size_t>(e) > nodes_.size()) {
      status_ = 1;
      return {};
    }
    FV xyz{};
    const int64_t external = int64_t{nodes_[static_cast<size_t>(e - 1)]} + NODOFS();
    if (external < std::numeric_limits<int32_t>::min() ||
        external > std::numeric_limits<int32_t>::max()) {
      status_ = 1;
      return {};
    }
    int32_t stat = 1;
    GEODSP.nodeCoordinates(static_cast<int32_t>(external), xyz, stat);
    if (stat != 0) status_ = stat;
    return xyz;
  }
  // The mean of P(FIRST) to P(LAST); status 1 for an empty range.
  FV mean(int32_t first, int32_t last) {
    FV sum{};
    if (last < first) status_ = 1;
    if (failed()) return sum;
    for (int32_t k = first; k <= last; ++k) add(sum, face(k), 1.0f);
    scale(sum, 1.0f / static_cast<float>(last - first + 1));
    return sum;
  }

  static void add(FV& sum, const FV& p, float factor) {
    for (size_t i = 0; i < 3; ++i) sum[i] += factor * p[i];
  }
  static void scale(FV& p, float factor) {
    for (float& c : p) c *= factor;
  }

 private:
  std::span<const int32_t> nodes_;
  std::span<const int32_t> face_;
  int32_t n_;
  int32_t status_ = 0;
};

// Class 2 edges: whether the edge's centre is the mean of its two ends rather than its
// mid-side node P(3).
bool endsOnly(int32_t shape, FaceNodes& f) {
  if (shape == kIL32) return f.position(1) + f.position(2) == 9;
  if (shape == kHE16) return (f.position(1) + f.position(2)) % 2 == 0;
  if (shape == kIS84) return f.position(1) >= 9;
  return false;
}

FV centreOf(int32_t shape, int32_t cls, int32_t n, int32_t target, FaceNodes& f) {
  const bool edge = isEdge(target);
  switch (cls) {
    case 1:
      return f.mean(1, n);
    case 2:
      if (edge) return endsOnly(shape, f) ? f.mean(1, 2) : f.face(3);
      if (n == 6) return f.mean(1, 6);
      if (n == 8) {
        // The centre of the eight-node serendipity face.
        FV c{};
        for (int32_t k = 5; k <= 8; ++k) FaceNodes::add(c, f.face(k), 0.5f);
        for (int32_t k = 1; k <= 4; ++k) FaceNodes::add(c, f.face(k), -0.25f);
        return c;
      }
      return f.mean(1, 4);
    case 3:
      if (shape == kQU9) return f.face(target == kEdgeOfTarget2 ? 3 : 9);
      if (shape == kHE27 && target != kEdgeOfTarget8) return f.face(9);
      if (edge) return f.mean(3, 4);
      if (shape == kTR9 || shape == kTE16) return f.mean(1, n);
      if (shape == kPE24) return n == 9 ? f.mean(1, 9) : f.mean(5, n);
      if (shape == kHE32 || shape == kIL44) return f.mean(5, n);
      if (shape == kQU12) {
        FV c{};
        for (int32_t e : {2, 3, 5, 6, 8, 9, 11, 12}) FaceNodes::add(c, f.element(e), 1.0f);
        FaceNodes::scale(c, 1.0f / 8.0f);
        return c;
      }
      return {};
    case 4:
      if (edge) return f.mean(3, 5);
      if (shape == kQU16) {
        FV c{};
        for (int32_t k : {6, 9, 12, 15}) FaceNodes::add(c, f.face(k), 0.25f);
        return c;
      }
      if (shape == kTR15) return f.mean(1, n - 3);
      return f.mean(1, n);
    default:
      return {};
  }
}

}  // namespace

int32_t elementOrderClass(int32_t shape) {
  if (shape < 0 || static_cast<size_t>(shape) >= kOrderClass.size()) return 0;
  return kOrderClass[static_cast<size_t>(shape)];
}

void ELCENT(int32_t shape, std::span<const int32_t> nodes, std::span<const int32_t> face,
            int32_t n, int32_t target, std::span<float, 3> centre, int32_t& status) {
  centre[0] = centre[1] = centre[2] = 0.0f;
  status = 1;
  if (shape == 0) return;
  status = 0;
  const int32_t cls = elementOrderClass(shape);
  if (cls == 0) return;

  // A rule that reads a position beyond the face's N nodes fails with status 1.
  FaceNodes f(nodes, face, n);
  const FV c = centreOf(shape, cls, n, target, f);
  // A failed read would leave a coordinate the buffer held in the centre.
  if (f.failed()) {
    status = f.status();
    return;
  }
  centre[0] = c[0];
  centre[1] = c[1];
  centre[2] = c[2];
}

}  // namespace kvr
