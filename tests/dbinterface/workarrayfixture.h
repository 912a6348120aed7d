// A fixture for the element geometry work arrays and the face test. A model is loaded
// with DIPNC and DIPET (node ids 1..N), its topology entries are given what the display
// build writes into them (after each node its sequence number, which is its id here, and
// the per-face words of FACPUT), TOPARR copies them into the work arrays of the
// writing-road registry that the loader fixture sets up (ARRNUM 2, ARRREG 1), and the node
// coordinates are put into their array with ARRIO. The display-state words a test sets
// are given back their values afterwards.
#pragma once

#include <array>
#include <vector>

#include "dbinterface/bldnix.h"
#include "dbinterface/dipnc.h"
#include "dbinterface/eltacc.h"
#include "dbinterface/toparr.h"
#include "loaderfixture.h"
#include "runtime/dspsta.h"

namespace kvr::test {

using Point = std::array<float, 3>;

struct TestElement {
  int32_t id;
  int32_t type;
  std::vector<int32_t> nodes;
  std::vector<int32_t> faceKeys = {};  // FACPUT value of each face (none: 0)
};

class WorkArrayFixture : public LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    startAndCreate();
    saved_ = DSPSTA;
  }
  void TearDown() override {
    DSPSTA = saved_;
    LoaderFixture::TearDown();
  }

  // Loads NODES (node k at NODES[k - 1]) and ELEMENTS into datasets 5 and 6.
  static void load(const std::vector<Point>& nodes, const std::vector<TestElement>& elements) {
    beginDataset(2);
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      node(static_cast<int32_t>(k + 1), nodes[k][0], nodes[k][1], nodes[k][2]);
    }
    endDataset();
    ASSERT_EQ(LoaderFixture::load(DIPNC), 0);
    beginDataset(3);
    for (const TestElement& e : elements) element(e.id, e.type, e.nodes);
    endDataset();
    ASSERT_EQ(LoaderFixture::load(DIPET), 0);
  }

  // Writes the sequence numbers and the per-face words of ELEMENTS into their entries (all
  // on the first page of dataset 6, in the order they were loaded).
  static void link(const std::vector<TestElement>& elements) {
    const int32_t first = recorded(kElementDataset);
    ASSERT_GT(first, 0);
    DbPage p = page(first);
    int32_t q = DBLEVL.pageHeaderWords + 1;
    for (const TestElement& e : elements) {
      const int32_t t = p.word(q + 2);
      ASSERT_EQ(t, e.type);
      const int32_t n = ELNCNT(t);
      std::array<int32_t, 32> ids{};
      ELNODS(p, q, n, ids);
      for (int32_t k = 1; k <= n; ++k) SEQPUT(p, q, k, ids[static_cast<std::size_t>(k - 1)]);
      for (std::size_t j = 0; j < e.faceKeys.size(); ++j) {
        FACPUT(p, q + ELTBLN(t), static_cast<int32_t>(j + 1), e.faceKeys[j]);
      }
      q += RECCLS(t);
    }
    PAGWR(1, first, p);
  }

  // Puts NODES into records 1..N of the node coordinate array.
  static void coordinates(const std::vector<Point>& nodes) {
    for (std::size_t k = 0; k < nodes.size(); ++k) setNode(static_cast<int32_t>(k + 1), nodes[k]);
  }
  static void setNode(int32_t s, Point xyz) {
    int32_t stat = -1;
    ARRIO(-1, APPSTA.ARRHND(kNodeCoordinateHandle), s, 1, 1, {}, xyz, stat);
  }

  // The whole set-up: load, link, TOPARR (status 0) and the coordinates.
  static void build(const std::vector<Point>& nodes, const std::vector<TestElement>& elements) {
    load(nodes, elements);
    link(elements);
    int32_t status = -1;
    TOPARR(kElementDataset, LDPAGE, status);
    ASSERT_EQ(status, 0);
    coordinates(nodes);
  }

  // Records FIRST to FIRST + N - 1 of the work array of handle word HANDLE.
  static std::vector<int32_t> records(int32_t handle, int32_t first, int32_t n) {
    std::vector<int32_t> w(static_cast<std::size_t>(n));
    int32_t stat = -1;
    ARRIO(0, APPSTA.ARRHND(handle), first, n, -1, w, {}, stat);
    return w;
  }

 private:
  DspSta saved_;
};

}  // namespace kvr::test
