#include "geometry/elshap.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "modeldb/elttab.h"

namespace {

using kvr::ElShap;
using kvr::elshap;

bool tabled(int32_t t) { return kvr::shapeFaceCount(t) > 0; }

// Every tabled type agrees with the element-type table in its edge and face counts and
// node numbers, and for surface and solid types edge f lies on face f and every face edge
// joins two of the face's nodes and names that face among its own faces.
TEST(Elfam, EveryTypeAgreesWithTheElementTable) {
  kvr::ELTBLD(0);
  int32_t tables = 0;
  for (int32_t t = 1; t <= kvr::kElementTypes; ++t) {
    if (!tabled(t)) continue;
    ++tables;
    kvr::ELFAM(t);
    const ElShap& s = elshap();
    const int32_t faces = kvr::shapeFaceCount(t);
    EXPECT_EQ(s.edgeCount, kvr::ELTEDG(t)) << t;
    EXPECT_EQ(faces, kvr::ELTFAC(t)) << t;
    for (int32_t j = 1; j <= s.edgeCount; ++j) {
      EXPECT_GE(s.edgeNodeCount(j), 2) << t << " edge " << j;
      for (int32_t k = 1; k <= s.edgeNodeCount(j); ++k) {
        EXPECT_LE(s.edgeNode(j, k), kvr::ELNCNT(t)) << t << " edge " << j;
      }
    }
    const int32_t dim = kvr::ELTDIM(t);
    if (dim != 2 && dim != 3) continue;
    for (int32_t f = 1; f <= faces; ++f) {
      const auto& fe = s.faceEdges[static_cast<size_t>(f - 1)];
      const int32_t sides = s.faceShape[static_cast<size_t>(f - 1)] == 1 ? 3 : 4;
      if (sides == 3) {
        EXPECT_EQ(fe[3], 0) << t << " face " << f;
      }
      if (f <= s.edgeCount) {
        EXPECT_TRUE(fe[0] == f || fe[1] == f || fe[2] == f || fe[3] == f) << t << " face " << f;
        const int32_t start = s.startNode[static_cast<size_t>(f - 1)];
        EXPECT_NE(start, 0) << t << " face " << f;
        EXPECT_NE(start, s.edgeNode(f, 1)) << t << " face " << f;
        EXPECT_NE(start, s.edgeNode(f, 2)) << t << " face " << f;
      }
      for (int32_t k = 0; k < sides; ++k) {
        const int32_t e = fe[static_cast<size_t>(k)];
        ASSERT_GE(e, 1) << t << " face " << f;
        const auto& ef = s.edgeFaces[static_cast<size_t>(e - 1)];
        EXPECT_TRUE(ef[0] == f || ef[1] == f) << t << " face " << f << " edge " << e;
      }
    }
  }
  EXPECT_EQ(tables, 38);
}

TEST(Elfam, BrickTablesAndUntabledTypes) {
  kvr::ELFAM(1);
  const ElShap& s = elshap();
  EXPECT_EQ(s.startNode[5], 8);  // face 6 is 6 7 8 5, edge 6 is 6-7
  EXPECT_EQ(s.startNode[1], 7);  // face 2 is 2 3 7 6, edge 2 is 2-3
  EXPECT_EQ(s.faceEdges[4], (std::array<int32_t, 4>{5, 9, 1, 10}));
  EXPECT_EQ(s.edgeFaces[0], (std::array<int32_t, 2>{1, 5}));
  EXPECT_EQ(s.faceShape[0], 2);
  EXPECT_EQ(s.faceFlag[0], 1);

  // A three-sided face of the wedge.
  kvr::ELFAM(2);
  EXPECT_EQ(s.faceEdges[0], (std::array<int32_t, 4>{1, 2, 3, 0}));
  EXPECT_EQ(s.faceShape[0], 1);
  EXPECT_EQ(s.startNode[0], 3);

  // A type without tables leaves those of the previous type.
  kvr::ELFAM(12);
  const ElShap before = s;
  kvr::ELFAM(17);
  EXPECT_EQ(s.edges, before.edges);
  EXPECT_EQ(s.faces, before.faces);
  EXPECT_EQ(s.edgeCount, 1);
  EXPECT_EQ(s.faceNodeCount(2), 2);
  EXPECT_EQ(s.faceNode(2, 1), 3);

  // Types outside 1..61 fill the brick tables.
  for (int32_t t : {0, 62, -5}) {
    kvr::ELFAM(12);
    kvr::ELFAM(t);
    EXPECT_EQ(s.edgeCount, 12) << t;
    EXPECT_EQ(s.faceNode(6, 4), 5) << t;
    EXPECT_EQ(s.edgeFaces[0], (std::array<int32_t, 2>{1, 5})) << t;
  }
}

// A type writes only the rows it has: after the brick, the quadrilateral (4 edges, one
// face) leaves the brick's edge 5, face 2 and the derived words of face 2 as they were,
// and clears the faces of the brick's edges; selecting a type again gives it anew.
TEST(Elfam, ASmallerTypeLeavesTheRowsItDoesNotHave) {
  const ElShap& s = elshap();
  kvr::ELFAM(1);
  const ElShap brick = s;
  kvr::ELFAM(9);
  EXPECT_EQ(s.edgeCount, 4);
  EXPECT_EQ(s.edges[4], brick.edges[4]);
  EXPECT_EQ(s.faces[1], brick.faces[1]);
  EXPECT_EQ(s.faceEdges[1], brick.faceEdges[1]);
  EXPECT_EQ(s.startNode[1], brick.startNode[1]);
  EXPECT_EQ(s.faceEdges[0], (std::array<int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(s.edgeFaces[4], (std::array<int32_t, 2>{0, 0}));
  kvr::ELFAM(1);
  EXPECT_EQ(s.edges, brick.edges);
  EXPECT_EQ(s.faces, brick.faces);
  EXPECT_EQ(s.edgeFaces, brick.edgeFaces);
  EXPECT_EQ(s.faceEdges, brick.faceEdges);
}

}  // namespace

namespace {

// The unit cube's corners in the brick's local numbering.
const std::array<float, 8> kCubeX{0, 1, 1, 0, 0, 1, 1, 0};
const std::array<float, 8> kCubeY{0, 0, 1, 1, 0, 0, 1, 1};
const std::array<float, 8> kCubeZ{0, 0, 0, 0, 1, 1, 1, 1};

TEST(Facedg, ThreePointsOfAFaceFromOneOfItsEdges) {
  kvr::ELFAM(1);
  std::array<float, 3> x{}, y{}, z{};
  int32_t stat = 9;
  kvr::FACEDG(1, 1, kCubeX, kCubeY, kCubeZ, x, y, z, stat);
  EXPECT_EQ(stat, 0);
  // Nodes 1, 2 and 3.
  EXPECT_EQ(x, (std::array<float, 3>{0, 1, 1}));
  EXPECT_EQ(y, (std::array<float, 3>{0, 0, 1}));
  // Edge 4 of face 1 is followed by edge 1: nodes 4, 1 and 2.
  kvr::FACEDG(1, 4, kCubeX, kCubeY, kCubeZ, x, y, z, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(x, (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(y, (std::array<float, 3>{1, 0, 0}));
  // Edge 6 is not on face 1; face 7 and edge 13 do not exist.
  for (auto [f, e] : {std::pair{1, 6}, {7, 1}, {1, 13}, {0, 1}}) {
    stat = 0;
    kvr::FACEDG(f, e, kCubeX, kCubeY, kCubeZ, x, y, z, stat);
    EXPECT_EQ(stat, 1) << f << " " << e;
  }
}

TEST(Facnrm, CornersModesAndDegenerateFaces) {
  float nx = 0, ny = 0, nz = 0;
  int32_t stat = 9;
  // Eight nodes: corners 1, 3, 5, 7 make a square in z = 0 taken clockwise from above;
  // the mid-side nodes lie off the plane and would tilt the normal if used.
  const std::array<float, 8> x8{0, 0, 0, 1, 2, 2, 2, 1};
  const std::array<float, 8> y8{0, 1, 2, 2, 2, 1, 0, 0};
  const std::array<float, 8> z8{0, 5, 0, 5, 0, 5, 0, 5};
  kvr::FACNRM(8, x8, y8, z8, 3, 0, 0, 0, 0, 0, 0, 0, nx, ny, nz, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_FLOAT_EQ(nz, 1.0f);
  EXPECT_FLOAT_EQ(nx, 0.0f);
  // The same face the other way round; mode 2 turns its normal to positive z.
  const std::array<float, 8> y8r{2, 1, 0, 0, 0, 1, 2, 2};
  kvr::FACNRM(8, x8, y8r, z8, 3, 0, 0, 0, 0, 0, 0, 0, nx, ny, nz, stat);
  EXPECT_FLOAT_EQ(nz, -1.0f);
  kvr::FACNRM(8, x8, y8r, z8, 2, 0, 0, 0, 0, 0, 1, 0.5f, nx, ny, nz, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_FLOAT_EQ(nz, 1.0f);
  // Seen only along a view direction beyond the threshold.
  kvr::FACNRM(8, x8, y8r, z8, 2, 0, 0, 0, 1, 0, 0, 0.5f, nx, ny, nz, stat);
  EXPECT_EQ(stat, 1);
  // Mode 1 turns it away from the reference point.
  kvr::FACNRM(8, x8, y8, z8, 1, 1, 1, 3, 0, 0, -1, 0.5f, nx, ny, nz, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_FLOAT_EQ(nz, -1.0f);

  // Nine nodes: corners 1, 4 and 7; the others are off the plane.
  const std::array<float, 9> x9{0, 9, 9, 1, 9, 9, 0, 9, 9};
  const std::array<float, 9> y9{0, 9, 9, 0, 9, 9, 1, 9, 9};
  const std::array<float, 9> z9{0, 9, 7, 0, 3, 9, 0, 2, 9};
  kvr::FACNRM(9, x9, y9, z9, 3, 0, 0, 0, 0, 0, 0, 0, nx, ny, nz, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_FLOAT_EQ(nz, -1.0f);

  // All corners at one point.
  const std::array<float, 3> same{2, 2, 2};
  nx = ny = nz = 0;
  kvr::FACNRM(3, same, same, same, 3, 0, 0, 0, 0, 0, 0, 0, nx, ny, nz, stat);
  EXPECT_EQ(stat, 1);
  EXPECT_EQ(nx, 1.0f);
  EXPECT_EQ(ny, 1.0f);
  EXPECT_EQ(nz, 1.0f);
}

}  // namespace
