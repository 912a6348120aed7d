// The reading road's answers over every entity of two model files, the query model and a
// block of 3 x 3 x 3 HE8 elements, kept as checksums: the model opening, the session data
// and the face queries may be made faster, never different. Each part of the answers has
// its own checksum, so a change shows where it lies:
//  - store: every record of every named array after the opening (the load, the node
//    conditions, the target records, the group words and the loads' values 5 and 6), with
//    the model counts and the session counts;
//  - entities: dll_unode and dll_uelem over every node and element (and one beyond each),
//    dll_unodeg over every point, line, surface, body and set;
//  - faces: dll_uefac2 for every element on every line (edges of plane elements and of
//    solids) and surface (faces of solids), the entity's node list collected by the call
//    or handed in, each entity's elements asked in order (mode 0 for the first, 1 for the
//    rest) so that one entity's data serve its later calls; dll_ufacg2 for every point,
//    line and surface, unrestricted and restricted to every body.
// The checksums were taken from the library before the opening and the face queries were
// reworked for speed.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "blockmodel.h"
#include "kvr7dbio.h"
#include "modelquery/queries.h"
#include "queryfixture.h"
#include "runtime/reghed.h"

namespace kvr::test {
namespace {

// FNV-1a over 32-bit words, with the number of words taken.
struct Digest {
  uint64_t hash = 1469598103934665603ULL;
  int64_t words = 0;
  void add(int32_t w) {
    hash = (hash ^ static_cast<uint32_t>(w)) * 1099511628211ULL;
    ++words;
  }
  void add(std::span<const int32_t> ws) {
    for (const int32_t w : ws) add(w);
  }
  void add(std::initializer_list<int32_t> ws) {
    for (const int32_t w : ws) add(w);
  }
};

struct Answers {
  Digest store;
  Digest entities;
  Digest faces;
};

class ReadingRoadAnswers : public QuerySession {
 protected:
  static constexpr int32_t kWork = 80000;

  static void storeImage(Digest& d) {
    for (int32_t k = 1; k <= REGHED.top; ++k) {
      const int32_t n = REGHED.ARRLEN(k);
      const int32_t w = REGHED.ARRWID(k);
      d.add(k);
      d.add(n);
      std::vector<int32_t> words(static_cast<size_t>(n) * static_cast<size_t>(w));
      int32_t stat = 0;
      if (n > 0) ARRIO(1, k, 1, n, -1, words, {}, stat);
      d.add(words);
    }
    for (int32_t k = 1; k <= ModCnt::kWords; ++k) d.add(MODCNT.word(k));
    d.add(SESCNT.word(1));
    d.add(SESCNT.word(2));
  }

  static void entities(Digest& d, const std::array<int32_t, 50>& sizes) {
    const int32_t nodeOffset = sizes[16], elementOffset = sizes[17];
    for (int32_t n = nodeOffset + 1; n <= nodeOffset + sizes[5] + 1; ++n) {
      std::array<float, 3> xyz{};
      int32_t node = n, status = -1;
      dll_unode(&node, xyz.data(), &status);
      d.add(status);
      for (const float f : xyz) d.add(std::bit_cast<int32_t>(f));
    }
    for (int32_t e = elementOffset + 1; e <= elementOffset + sizes[7] + 1; ++e) {
      std::array<int32_t, 64> nodes{};
      int32_t element = e, count = -1, status = -1;
      dll_uelem(&element, nodes.data(), &count, &status);
      d.add({status, count});
      d.add(nodes);
    }
    const std::array<std::pair<int32_t, int32_t>, 5> kinds = {
        {{1, sizes[0]}, {2, sizes[1]}, {3, sizes[2]}, {4, sizes[3]}, {7, sizes[8]}}};
    std::vector<int32_t> list(kWork);
    for (const auto& [kind, count] : kinds) {
      for (int32_t number = 1; number <= count; ++number) {
        int32_t k = kind, num = number, got = -1, size = kWork, status = -1;
        dll_unodeg(&k, &num, &got, list.data(), &size, &status);
        d.add({kind, number, status, got});
        d.add(std::span<const int32_t>(list).first(static_cast<size_t>(std::max(got, 0))));
      }
    }
  }

  // Every element on entity NUMBER of KIND for TARGET, in order; the node list collected
  // by the first call (HANDED false: by every call) or collected before and handed in.
  static void elementFaces(Digest& d, int32_t kind, int32_t number, int32_t target, bool handed,
                           const std::array<int32_t, 50>& sizes) {
    std::vector<int32_t> work(kWork, 0);
    constexpr int32_t kStart = 100;
    int32_t count = 0;
    if (handed) {
      int32_t status = 0;
      const std::span<int32_t> list = std::span<int32_t>(work).subspan(kStart);
      if (kind == 3) {
        NDSRF(number, count, list, kWork - kStart, status);
      } else {
        NDLIN(number, count, list, kWork - kStart, status);
      }
      d.add({status, count});
      if (status != 0) return;
    }
    for (int32_t e = 1; e <= sizes[7]; ++e) {
      std::array<int32_t, 20> nodes{};
      int32_t element = e + sizes[17], n = 0, status = -1;
      dll_uelem(&element, nodes.data(), &n, &status);
      const int32_t shape = status == 0 ? elementShape(e) : 0;
      int32_t mode = e == 1 ? 0 : 1, k = kind, num = number, rkind = 0, rnumber = 0;
      int32_t tgt = target, nodeCount = handed ? count : 0, size = kWork, start = kStart;
      int32_t sh = shape, faceCount = -1;
      std::array<int32_t, 6> faces{};
      dll_uefac2(&mode, &element, &sh, &k, &num, &rkind, &rnumber, &tgt, &nodeCount, work.data(),
                 &size, &start, faces.data(), &faceCount, &status);
      d.add({e, status, faceCount});
      d.add(faces);
    }
  }

  static int32_t elementShape(int32_t e) {
    std::array<int32_t, kElementNodes> nodes{};
    int32_t n = 0, shape = 0, stat = 0;
    ELCONN(e, nodes, n, shape, stat);
    return shape;
  }

  static void faceSearch(Digest& d, int32_t kind, int32_t number, int32_t rkind, int32_t rnumber) {
    std::vector<int32_t> work(kWork, 0);
    std::array<int32_t, 16> faceNodes{};
    int32_t k = kind, num = number, rk = rkind, rn = rnumber, carrierKind = -1, carrier = -1;
    int32_t faceNodeCount = -1, face = -1, orientation = -1, count = -1, size = kWork, status = -1;
    dll_ufacg2(&k, &num, &rk, &rn, &carrierKind, &carrier, &faceNodeCount, faceNodes.data(), &face,
               &orientation, &count, work.data(), &size, &status);
    d.add({kind, number, rkind, rnumber, status, carrierKind, carrier, faceNodeCount, face,
           orientation, count});
    d.add(faceNodes);
    d.add(std::span<const int32_t>(work).first(static_cast<size_t>(std::clamp(count, 0, kWork))));
  }

  static Answers answers() {
    Answers a;
    storeImage(a.store);
    std::array<int32_t, 50> sizes{};
    dll_usiz2(sizes.data());
    a.entities.add(sizes);
    entities(a.entities, sizes);
    for (const bool handed : {false, true}) {
      for (int32_t l = 1; l <= sizes[1]; ++l) {
        elementFaces(a.faces, 2, l, 2, handed, sizes);
        elementFaces(a.faces, 2, l, 8, handed, sizes);
      }
      for (int32_t s = 1; s <= sizes[2]; ++s) elementFaces(a.faces, 3, s, 4, handed, sizes);
    }
    for (int32_t kind = 1; kind <= 3; ++kind) {
      for (int32_t number = 1; number <= sizes[static_cast<size_t>(kind - 1)]; ++number) {
        faceSearch(a.faces, kind, number, 0, 0);
        for (int32_t b = 1; b <= sizes[3]; ++b) faceSearch(a.faces, kind, number, 4, b);
      }
    }
    return a;
  }

  static void expectAnswers(const Answers& a, std::array<uint64_t, 3> hashes,
                            std::array<int64_t, 3> words) {
    EXPECT_EQ(a.store.hash, hashes[0]) << "store, " << a.store.words << " words";
    EXPECT_EQ(a.entities.hash, hashes[1]) << "entities, " << a.entities.words << " words";
    EXPECT_EQ(a.faces.hash, hashes[2]) << "faces, " << a.faces.words << " words";
    EXPECT_EQ(a.store.words, words[0]);
    EXPECT_EQ(a.entities.words, words[1]);
    EXPECT_EQ(a.faces.words, words[2]);
  }
};

TEST_F(ReadingRoadAnswers, OfTheQueryModel) {
  start();
  expectAnswers(answers(), {2731150782972287083ULL, 785936795096357890ULL, 17793616035996477077ULL},
                {27332, 9167, 2907357});
}

TEST_F(ReadingRoadAnswers, OfABlock) {
  const std::string block = writeBlockModel(dir.file("block"), 3);
  ASSERT_FALSE(block.empty());
  reset();
  ASSERT_EQ(open(block, 2 * static_cast<int32_t>(BlockModel::nodes(3))), 0);
  // The block holds no kind-46 entity: its size word answers 0, never -1.
  expectAnswers(answers(), {7445550751260669901ULL, 15780539728433161612ULL, 13932633029073364615ULL},
                {1594, 2318, 5468});
}

}  // namespace
}  // namespace kvr::test
