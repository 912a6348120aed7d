// A fixture for the results loaders: the loader fixture with a model database created and
// the load case LOAD1 registered, and helpers that load nodes and elements, send a results
// dataset through the record routines (DIRHA, DIRHB, DINIA, the entity headers and their
// repeats) or as raw words, run DIPRES and read records 106 back.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dbinterface/dipnc.h"
#include "dbinterface/dipres.h"
#include "dbinterface/diresult.h"
#include "dbinterface/ressel.h"
#include "loaderfixture.h"
#include "modeldb/ctlwords.h"

namespace kvr::test {

inline int32_t bits(float v) { return std::bit_cast<int32_t>(v); }

// A component definition as DIRHB takes it.
struct Comp {
  Comp(std::string n, int32_t menu = 1, int32_t type = 1, int32_t i1 = 0, int32_t i2 = 0,
       int32_t exist = 0, std::string calc = "")
      : name(std::move(n)), inmenu(menu), ctype(type), index1(i1), index2(i2), iexist(exist),
        ncalc(std::move(calc)) {}
  std::string name;
  int32_t inmenu;
  int32_t ctype;
  int32_t index1;
  int32_t index2;
  int32_t iexist;
  std::string ncalc;
};

// A component calculated by VONMISES: it carries no value.
inline Comp calculated(const std::string& name, int32_t inmenu = 1) {
  return {name, inmenu, 1, 0, 0, 1, "VONMISES"};
}

struct Element {
  int32_t id;
  int32_t type;
  std::vector<int32_t> nodes;
};

class ResultsFixture : public LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    RESSEL = {};
    startAndCreate();
    ASSERT_EQ(loadCase("LOAD1"), 0);
  }
  void TearDown() override {
    RESSEL = {};
    LoaderFixture::TearDown();
  }

  // Nodes IDS (x = the id) through DIPNC.
  static void nodes(const std::vector<int32_t>& ids) {
    beginDataset(2);
    for (int32_t id : ids) node(id, static_cast<float>(id), 0, 0);
    endDataset();
    ASSERT_EQ(load(DIPNC), 0);
  }
  // Elements through DIPET.
  static void elements(const std::vector<Element>& list) {
    beginDataset(3);
    for (const Element& e : list) element(e.id, e.type, e.nodes);
    endDataset();
    ASSERT_EQ(load(DIPET), 0);
  }

  // A results dataset of KEY begins with the attribute NAME of IRTYPE and NUMVAR and
  // COMPS, through DIRHA and DIRHB.
  static void attribute(const std::string& name, int32_t irtype, const std::vector<Comp>& comps,
                        int32_t numvar = 0, int32_t key = 100) {
    beginDataset(key);
    int32_t ierr = -1;
    DIRHA(FixedText(8, name), static_cast<int32_t>(comps.size()), irtype, numvar, ierr, unit(kA));
    ASSERT_EQ(ierr, 0);
    for (const Comp& c : comps) {
      DIRHB(FixedText(8, c.name), c.inmenu, c.ctype, c.index1, c.index2, c.iexist,
            FixedText(8, c.ncalc), FixedText(8, ""), ierr, unit(kA));
      ASSERT_EQ(ierr, 0) << c.name;
    }
  }

  static void nodal(int32_t id, const std::vector<float>& values) {
    int32_t ierr = -1;
    DINIA(id, values, static_cast<int32_t>(values.size()), ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "node " << id;
  }
  // DIENH with NPOINT, NLAYER, IVAR and ILOCAL.
  static void pointsHeader(int32_t id, int32_t type, int32_t npoint, int32_t nlayer,
                           int32_t ivar = 0, int32_t ilocal = 0) {
    int32_t ierr = -1;
    DIENH(id, type, 0, ivar, npoint, nlayer, ilocal, nullptr, ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "element " << id;
  }
  static void layersHeader(int32_t id, int32_t type, int32_t nlayer) {
    int32_t ierr = -1;
    DIECH(id, type, 0, 0, nlayer, 0, nullptr, ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "element " << id;
  }
  static void gaussHeader(int32_t id, int32_t type, int32_t npoint, int32_t nlayer,
                          int32_t igflag) {
    int32_t ierr = -1;
    DIEGH(id, type, 0, 0, npoint, nlayer, 0, igflag, ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "element " << id;
  }
  // A repeat of DIENR, DIECR or (with a point) DIEGR.
  static void repeat(int32_t id, const std::vector<float>& values) {
    int32_t ierr = -1;
    DIENR(id, values, static_cast<int32_t>(values.size()), ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "repeat " << id;
  }
  static void layerRepeat(int32_t id, const std::vector<float>& values) {
    int32_t ierr = -1;
    DIECR(id, values, static_cast<int32_t>(values.size()), ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "repeat " << id;
  }
  static void gaussRepeat(int32_t id, float x, float y, float z,
                          const std::vector<float>& values) {
    int32_t ierr = -1;
    DIEGR(id, x, y, z, values, static_cast<int32_t>(values.size()), ierr, unit(kA));
    ASSERT_EQ(ierr, 0) << "repeat " << id;
  }

  // A value record as raw words: TAG, ID, the count and the values.
  static void rawValues(int32_t tag, int32_t id, const std::vector<float>& values) {
    std::vector<int32_t> r = {tag, id, static_cast<int32_t>(values.size())};
    for (float v : values) r.push_back(bits(v));
    raw(r);
  }

  // Ends the dataset and runs DIPRES with KEY, which receives what DIPRES leaves in it;
  // IERR is answered.
  static int32_t store(int32_t& key) {
    endDataset();
    int32_t ierr = -1;
    DIPRES(LDPAGE, LDSCR, key, ierr);
    return ierr;
  }
  static int32_t store() {
    int32_t key = 100;
    return store(key);
  }

  // Words 1 to 96 of the record 106 on index page P (word k at [k - 1]).
  static std::vector<int32_t> record106(int32_t p) {
    std::vector<int32_t> w(kIndexPageSize);
    PAGRD(kResultsClass, p, w);
    return {w.begin() + 4, w.end()};
  }
  // The page of the load case's first attribute record.
  static int32_t firstRecord() {
    int32_t p = 0;
    G104W8(p);
    return p;
  }
  // The words FROM .. FROM + N - 1 of V (numbered from 1).
  static std::vector<int32_t> slice(const std::vector<int32_t>& v, int32_t from, int32_t n) {
    return {v.begin() + from - 1, v.begin() + from - 1 + n};
  }
  static std::vector<int32_t> join(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
  // The 29 words of a component entry of the header page.
  static std::vector<int32_t> entry(const std::string& name, int32_t inmenu, int32_t ctype,
                                    int32_t index1, int32_t index2, int32_t iexist,
                                    const std::string& ncalc = "") {
    return join({{inmenu, ctype, index1, index2, iexist}, codes(name), codes(ncalc), codes("")});
  }
};

}  // namespace kvr::test
