// The database files of two models sent through the exported routines, byte for byte: the
// block of 10 x 10 x 10 nodes that the writer benchmark sends (HE8 elements, a nodal
// results dataset, page size 2040), and a mixed model whose display build meets every
// kind of neighbour: solids sharing faces (HE8 with HE8, HE8 with the quadrilateral face
// of a wedge, tetrahedra with each other, an HE20 with a QU8 on its face), shells on
// solid faces and shells folding against each other at 0, 20, 40, 90 and 180 degrees,
// three shells on one edge, triangles splitting a flat quadrilateral, beams on a solid's
// edge, a chain of three-node beams, and a point element. Node and element ids have gaps
// (the node index is searched). The checksums and sizes of BLOCK.M71 and BLOCK.V71 are
// those of the files the writing road has always made for them.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "kvr7dbio.h"
#include "sessionfixture.h"

namespace kvr {
namespace {

constexpr int32_t kHE8 = 1, kPE6 = 2, kTE4 = 3, kHE20 = 4, kTR3 = 7, kQU4 = 9, kQU8 = 10;
constexpr int32_t kBE2 = 11, kBE3 = 12, kPoint = 20;

uint64_t fnv1a(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

template <size_t N>
void pad(char (&text)[N], const std::string& s) {
  std::string padded(s);
  padded.resize(N, ' ');
  padded.copy(text, N);
}

struct Element {
  int32_t id;
  int32_t type;
  int32_t ieatt1;
  int32_t ieatt2;
  std::vector<int32_t> nodes;
};

struct Model {
  std::vector<std::pair<int32_t, std::array<float, 3>>> nodes;  // ascending ids
  std::vector<Element> elements;                                 // ascending ids
};

// The benchmark's block: node (i, j, l) at (i, j, l) with id 1 + i + k(j + kl), HE8
// elements numbered from 1, attributes 1.
Model block(int32_t k) {
  Model m;
  const auto id = [k](int32_t i, int32_t j, int32_t l) { return 1 + i + k * (j + k * l); };
  for (int32_t l = 0; l < k; ++l) {
    for (int32_t j = 0; j < k; ++j) {
      for (int32_t i = 0; i < k; ++i) {
        m.nodes.push_back({id(i, j, l), {float(i), float(j), float(l)}});
      }
    }
  }
  int32_t element = 0;
  for (int32_t l = 0; l + 1 < k; ++l) {
    for (int32_t j = 0; j + 1 < k; ++j) {
      for (int32_t i = 0; i + 1 < k; ++i) {
        m.elements.push_back({++element, kHE8, 1, 1,
                              {id(i, j, l), id(i + 1, j, l), id(i + 1, j + 1, l), id(i, j + 1, l),
                               id(i, j, l + 1), id(i + 1, j, l + 1), id(i + 1, j + 1, l + 1),
                               id(i, j + 1, l + 1)}});
      }
    }
  }
  return m;
}

// Builds the mixed model: points are named by their coordinates, each distinct point
// becomes one node; ids are given in the order of the coordinates, with gaps.
class MixedModel {
 public:
  Model build() {
    solids();
    shells();
    lines();
    Model m;
    std::map<Point, int32_t> ids;
    int32_t n = 0;
    for (const Point& p : points_) {
      ids[p] = 4 + 3 * n++;
      m.nodes.push_back({ids[p], {std::get<0>(p), std::get<1>(p), std::get<2>(p)}});
    }
    int32_t id = 0;
    for (const Pending& e : pending_) {
      id += 1 + (id % 5 == 0 ? 2 : 0);
      std::vector<int32_t> nodes;
      for (const Point& p : e.points) nodes.push_back(ids[p]);
      m.elements.push_back({id, e.type, e.ieatt1, e.ieatt2, nodes});
    }
    return m;
  }

 private:
  using Point = std::tuple<float, float, float>;
  struct Pending {
    int32_t type;
    int32_t ieatt1;
    int32_t ieatt2;
    std::vector<Point> points;
  };

  void add(int32_t type, int32_t ieatt1, int32_t ieatt2, std::vector<Point> points) {
    points_.insert(points.begin(), points.end());
    pending_.push_back({type, ieatt1, ieatt2, std::move(points)});
  }

  static Point mid(const Point& a, const Point& b) {
    return {(std::get<0>(a) + std::get<0>(b)) / 2, (std::get<1>(a) + std::get<1>(b)) / 2,
            (std::get<2>(a) + std::get<2>(b)) / 2};
  }

  void solids() {
    // HE8 block of 3 x 2 x 2 cells, a roof of wedges on its top face z = 2.
    for (int l = 0; l < 2; ++l) {
      for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 3; ++i) {
          const float x = float(i), y = float(j), z = float(l);
          add(kHE8, 1 + i % 2, 1 + l,
              {{x, y, z}, {x + 1, y, z}, {x + 1, y + 1, z}, {x, y + 1, z},
               {x, y, z + 1}, {x + 1, y, z + 1}, {x + 1, y + 1, z + 1}, {x, y + 1, z + 1}});
        }
      }
    }
    for (int j = 0; j < 2; ++j) {
      for (int i = 0; i < 3; ++i) {
        const float x = float(i), y = float(j);
        add(kPE6, 3, 1,
            {{x, y + 1, 2}, {x + 1, y + 1, 2}, {x + 0.5f, y + 1, 2.5f},
             {x, y, 2}, {x + 1, y, 2}, {x + 0.5f, y, 2.5f}});
      }
    }
    // A unit cube at x = 6 cut into six tetrahedra round its diagonal.
    const std::array<Point, 8> c = {Point{6, 0, 0}, Point{7, 0, 0}, Point{7, 1, 0},
                                    Point{6, 1, 0}, Point{6, 0, 1}, Point{7, 0, 1},
                                    Point{7, 1, 1}, Point{6, 1, 1}};
    const std::array<std::array<int, 4>, 6> tets = {{{0, 1, 2, 6}, {0, 2, 3, 6}, {0, 3, 7, 6},
                                                     {0, 7, 4, 6}, {0, 4, 5, 6}, {0, 5, 1, 6}}};
    for (const auto& t : tets) add(kTE4, 4, 2, {c[t[0]], c[t[1]], c[t[2]], c[t[3]]});
    // An HE20 at x = 8 and a QU8 on its bottom face.
    const std::array<Point, 8> h = {Point{8, 0, 0}, Point{9, 0, 0}, Point{9, 1, 0},
                                    Point{8, 1, 0}, Point{8, 0, 1}, Point{9, 0, 1},
                                    Point{9, 1, 1}, Point{8, 1, 1}};
    std::vector<Point> he20(h.begin(), h.end());
    for (const auto& [a, b] : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {3, 0},
                                                               {0, 4}, {1, 5}, {2, 6}, {3, 7},
                                                               {4, 5}, {5, 6}, {6, 7}, {7, 4}}) {
      he20.push_back(mid(h[a], h[b]));
    }
    add(kHE20, 5, 2, he20);
    add(kQU8, 6, 3,
        {h[0], h[1], h[2], h[3], mid(h[0], h[1]), mid(h[1], h[2]), mid(h[2], h[3]),
         mid(h[3], h[0])});
  }

  void shells() {
    // QU4 skin under the block; it goes on past x = 3 as a flange (180 degrees), which
    // folds up at x = 4 (90), then by 20 and by 40 degrees; triangles split the flange's
    // second row.
    const double pi = std::acos(-1.0);
    std::vector<std::pair<float, float>> profile = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}};
    double angle = pi / 2;
    for (const double turn : {20.0, 40.0}) {
      angle -= turn * pi / 180;
      const auto& [x, z] = profile.back();
      profile.push_back({x + float(std::cos(angle)), z + float(std::sin(angle))});
    }
    for (int j = 0; j < 2; ++j) {
      const float y = float(j);
      for (size_t s = 0; s + 1 < profile.size(); ++s) {
        const auto& [x0, z0] = profile[s];
        const auto& [x1, z1] = profile[s + 1];
        const Point a{x0, y, z0}, b{x1, y, z1}, c{x1, y + 1, z1}, d{x0, y + 1, z0};
        if (s == 3 && j == 1) {
          add(kTR3, 7, 4, {a, b, c});
          add(kTR3, 7, 4, {a, c, d});
        } else {
          add(kQU4, 7 + int(s % 2), 4, {a, b, c, d});
        }
      }
    }
    // A third shell on the fold line x = 4, z = 1, standing out horizontally.
    add(kQU4, 9, 5, {{4, 0, 1}, {4, 1, 1}, {5, 1, 1}, {5, 0, 1}});
  }

  void lines() {
    // BE2 beams along the block's edge y = 0, z = 0; a chain of BE3 beams off the model,
    // one BE2 from it to the tetrahedra, and a point element on a corner of the block.
    for (int i = 0; i < 3; ++i) add(kBE2, 10, 6, {{float(i), 0, 0}, {float(i + 1), 0, 0}});
    for (int i = 0; i < 3; ++i) {
      const Point a{float(i), 4, float(i)}, b{float(i + 1), 4, float(i + 1)};
      add(kBE3, 11, 6, {a, b, mid(a, b)});
    }
    add(kBE2, 10, 7, {{3, 4, 3}, {6, 1, 1}});
    add(kPoint, 12, 8, {{3, 2, 2}});
  }

  std::set<Point> points_;
  std::vector<Pending> pending_;
};

struct Case {
  const char* name;
  Model (*model)();
  uint64_t m71Sum;
  uint64_t v71Sum;
  size_t m71Bytes;
  size_t v71Bytes;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class DisplayFiles : public test::SessionFixture, public ::testing::WithParamInterface<Case> {
 protected:
  void check(int32_t ierr, const char* routine) { ASSERT_EQ(ierr, 0) << routine; }

  void header(int32_t key, const std::string& name, int32_t unit) {
    char hname[KVR_DIHED2_NAME_LENGTH], htitle[KVR_DIHED2_HTITLE_LENGTH];
    char htext[KVR_DIHED2_HTEXT_LENGTH];
    pad(hname, name);
    pad(htitle, "Title");
    pad(htext, "");
    int32_t iopcod = 1, hnumbr = 0, hflag = 0, ierr = -1;
    float hvalue = 0.0f;
    dll_dihed2(&key, &iopcod, hname, &hvalue, &hnumbr, htitle, &hflag, htext, &ierr, &unit);
    check(ierr, "dll_dihed2");
  }

  void process(int32_t unit) {
    int32_t ierr = -1;
    dll_dilim(&ierr, &unit);
    check(ierr, "dll_dilim");
  }

  // The session as an analysis program runs it: the start, the nodes on the first unit,
  // the elements on the second, displacements at every node on the first, the stop.
  void write(const Model& m) {
    std::array<int32_t, 4> units = kSessionUnits;
    int32_t luopt = kOutputDatabase, ludb8 = kLudb8, ludb7 = kLudb7, luneu = kLuneu;
    int32_t itfnum = 4, ikeep = 0, nform = 5, lumsg1 = kMessageUnit, lumsg2 = kNoMessageUnit;
    int32_t ipgsiz = 2040, ierr = -1;
    dll_diini2(&luopt, &ludb8, &ludb7, &luneu, units.data(), &itfnum, &ikeep, &nform, &lumsg1,
               &lumsg2, &ipgsiz, &ierr);
    ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_diini2"));
    int32_t arg1 = 0, opened = 0, arg5 = 0;
    char text6[KVR_DIDBI_TEXT6_LENGTH], text79[KVR_DIDBI_TEXT79_LENGTH];
    pad(text6, "");
    pad(text79, "");
    dll_didbi(&arg1, &opened, text6, text79, &arg5, &ierr);
    ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_didbi"));

    int32_t a = su(kA), b = su(kB), isys = 0;
    ASSERT_NO_FATAL_FAILURE(header(1, "BLOCK", a));
    ASSERT_NO_FATAL_FAILURE(header(2, "", a));
    for (auto [id, xyz] : m.nodes) {
      dll_dicor(&id, &xyz[0], &xyz[1], &xyz[2], &isys, &ierr, &a);
      ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_dicor"));
    }
    ASSERT_NO_FATAL_FAILURE(process(a));

    ASSERT_NO_FATAL_FAILURE(header(3, "", b));
    for (Element e : m.elements) {
      dll_ditop(&e.id, &e.type, &e.ieatt1, &e.ieatt2, e.nodes.data(), &isys, &ierr, &b);
      ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_ditop"));
    }
    ASSERT_NO_FATAL_FAILURE(process(b));

    ASSERT_NO_FATAL_FAILURE(header(100, "LOAD1", a));
    char attnam[KVR_DIRHA_ATTNAM_LENGTH];
    pad(attnam, "DISPL");
    int32_t ncomps = 3, irtype = 1, numvar = 0;
    dll_dirha(attnam, &ncomps, &irtype, &numvar, &ierr, &a);
    ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_dirha"));
    const std::array<const char*, 3> names = {"DX", "DY", "DZ"};
    for (int32_t c = 1; c <= 3; ++c) {
      char compnm[KVR_DIRHB_COMPNM_LENGTH], ncalc[KVR_DIRHB_NCALC_LENGTH];
      char compn2[KVR_DIRHB_COMPN2_LENGTH];
      pad(compnm, names[static_cast<size_t>(c - 1)]);
      pad(ncalc, "");
      pad(compn2, "");
      int32_t inmenu = 1, ctype = 2, index1 = c, index2 = 0, iexist = 0;
      dll_dirhb(compnm, &inmenu, &ctype, &index1, &index2, &iexist, ncalc, compn2, &ierr, &a);
      ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_dirhb"));
    }
    for (auto [id, xyz] : m.nodes) {
      std::array<float, 3> values = {0.001f * static_cast<float>(id % 10), xyz[2] * 0.01f,
                                     -0.002f};
      int32_t numres = 3;
      dll_dinia(&id, values.data(), &numres, &ierr, &a);
      ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_dinia"));
    }
    ASSERT_NO_FATAL_FAILURE(process(a));
    dll_distp(&ierr);
    ASSERT_NO_FATAL_FAILURE(check(ierr, "dll_distp"));
  }
};

TEST_P(DisplayFiles, SameBytesAsEver) {
  const Case& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(write(c.model()));
  EXPECT_EQ(seen, std::vector<Message>{}) << "no database message";
  const std::string m71 = test::readFile(dir.file("BLOCK.M71"));
  const std::string v71 = test::readFile(dir.file("BLOCK.V71"));
  EXPECT_EQ(fnv1a(m71), c.m71Sum) << std::hex << "0x" << fnv1a(m71);
  EXPECT_EQ(fnv1a(v71), c.v71Sum) << std::hex << "0x" << fnv1a(v71);
  EXPECT_EQ(m71.size(), c.m71Bytes);
  EXPECT_EQ(v71.size(), c.v71Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Models, DisplayFiles,
    ::testing::Values(Case{"Block10", [] { return block(10); }, 0xdcb1452cbcd1f955ull,
                           0x2140f8b304553c3cull, 2800, 359040},
                      Case{"Mixed", [] { return MixedModel().build(); }, 0xcbb07e08bc609f4aull,
                           0x7b1f5a1ad180ce32ull, 2800, 73440}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvr
