#include "geometry/elshap.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "geometry/vector3.h"
#include "modeldb/elttab.h"

namespace kvr {
namespace {

// Edges as node chains separated by ", ", faces as node lists separated by "; ".
struct ShapeText {
  int32_t type;
  std::string_view edges;
  std::string_view faces;
};

constexpr ShapeText kShapes[] = {
    {1, "1-2, 2-3, 3-4, 4-1, 5-6, 6-7, 7-8, 8-5, 1-5, 2-6, 3-7, 4-8",
     "1 2 3 4; 2 3 7 6; 4 3 7 8; 4 1 5 8; 6 5 1 2; 6 7 8 5"},
    {2, "1-2, 2-3, 3-1, 4-5, 5-6, 6-4, 1-4, 2-5, 3-6", "1 2 3; 2 3 6 5; 3 1 4 6; 4 5 2 1; 4 5 6"},
    {3, "1-2, 2-3, 3-1, 4-1, 4-2, 4-3", "1 2 3; 2 3 4; 3 1 4; 4 1 2"},
    {4,
     "1-2-9, 2-3-10, 3-4-11, 4-1-12, 5-6-17, 6-7-18, 7-8-19, 8-5-20, 1-5-13, 2-6-14, 3-7-15, "
     "4-8-16",
     "1 9 2 10 3 11 4 12; 2 10 3 15 7 18 6 14; 4 11 3 15 7 19 8 16; 4 12 1 13 5 20 8 16; "
     "6 17 5 13 1 9 2 14; 6 18 7 19 8 20 5 17"},
    {5, "1-2-7, 2-3-8, 3-1-9, 4-5-13, 5-6-14, 6-4-15, 1-4-10, 2-5-11, 3-6-12",
     "1 7 2 8 3 9; 2 8 3 12 6 14 5 11; 3 9 1 10 4 15 6 12; 4 13 5 11 2 7 1 10; 4 13 5 14 6 15"},
    {6, "1-2-5, 2-3-6, 3-1-7, 4-1-8, 4-2-9, 4-3-10",
     "1 5 2 6 3 7; 2 6 3 10 4 9; 3 7 1 8 4 10; 4 8 1 5 2 9"},
    {7, "1-2, 2-3, 3-1", "1 2 3"},
    {8, "1-2-4, 2-3-5, 3-1-6", "1 4 2 5 3 6"},
    {9, "1-2, 2-3, 3-4, 4-1", "1 2 3 4"},
    {10, "1-2-5, 2-3-6, 3-4-7, 4-1-8", "1 5 2 6 3 7 4 8"},
    {11, "1-2", "1 2"},
    {12, "1-2-3", "1 3; 3 2"},
    {13, "1-2, 2-3, 3-4, 4-1, 5-2, 5-4, 5-1", "1 2 5; 2 3 4 5; 3 4 1 2; 4 1 5"},
    {14, "1-2, 2-3, 3-4, 4-1, 5-2, 6-2, 7-6, 5-7, 1-5, 3-6, 4-7",
     "1 2 3 4; 2 3 6; 3 4 7 6; 4 1 5 7; 5 2 1; 6 2 5 7"},
    {15, "1-2-6, 2-3-7, 3-4-8, 4-1-9, 5-2-10, 5-4-11, 5-1-12",
     "1 6 2 10 5 12; 2 7 3 8 4 11 5 10; 3 8 4 9 1 6 2 7; 4 9 1 12 5 11"},
    {16,
     "1-2-8, 2-3-9, 3-4-10, 4-1-11, 5-2-15, 6-2-16, 7-6-17, 5-7-18, 1-5-12, 3-6-13, 4-7-14",
     "1 8 2 9 3 10 4 11; 2 9 3 13 6 16; 3 10 4 14 7 17 6 13; 4 11 1 12 5 18 7 14; "
     "5 15 2 8 1 12; 6 16 2 15 5 18 7 17"},
    {21, "1-2-3-4", "1 3; 3 4; 4 2"},
    {22, "1-2-3-4-5", "1 3; 3 4; 4 5; 5 2"},
    {23, "1-2-4-5, 2-3-6-7, 3-1-8-9", "1 4 5 2 6 7 3 8 9"},
    {24, "1-2-5-6, 2-3-7-8, 3-4-9-10, 4-1-11-12", "1 5 6 2 7 8 3 9 10 4 11 12"},
    {27, "1-2-4-5-6, 2-3-7-8-9, 3-1-10-11-12", "1 4 5 6 2 7 8 9 3 10 11 12"},
    {28, "1-2-5-6, 2-3-7-8, 3-1-9-10, 4-1-14-11, 4-2-15-12, 4-3-16-13",
     "1 5 6 2 7 8 3 9 10; 2 7 8 3 13 16 4 15 12; 3 9 10 1 11 14 4 16 13; "
     "4 14 11 1 5 6 2 12 15"},
    {29,
     "1-2-7-8, 2-3-9-10, 3-1-11-12, 4-5-19-20, 5-6-21-22, 6-4-23-24, 1-4-13-16, 2-5-14-17, "
     "3-6-15-18",
     "1 7 8 2 9 10 3 11 12; 2 9 10 3 15 18 6 22 21 5 17 14; 3 11 12 1 13 16 4 24 23 6 18 15; "
     "4 19 20 5 17 14 2 8 7 1 13 16; 4 19 20 5 21 22 6 23 24"},
    {30,
     "1-2-9-10, 2-3-11-12, 3-4-13-14, 4-1-15-16, 5-6-25-26, 6-7-27-28, 7-8-29-30, 8-5-31-32, "
     "1-5-17-21, 2-6-18-22, 3-7-19-23, 4-8-20-24",
     "1 9 10 2 11 12 3 13 14 4 15 16; 2 11 12 3 19 23 7 28 27 6 22 18; "
     "4 14 13 3 19 23 7 29 30 8 24 20; 4 15 16 1 17 21 5 32 31 8 24 20; "
     "6 26 25 5 21 17 1 9 10 2 18 22; 6 27 28 7 29 30 8 31 32 5 25 26"},
    {31, "1-2-5, 2-3-6, 3-4-7, 4-1-8", "1 5 2 6 3 7 4 8"},
    {41, "1-2", "1 2"},
    {42, "1-2, 2-3, 3-4, 4-1", "1 2 3 4"},
    {43, "1-2-5, 2-3, 3-4, 4-1", "1 5 2 3 4"},
    {44, "1-2-5, 2-3, 3-4-6, 4-1", "1 5 2 3 6 4"},
    {45, "1-2-5-6, 2-3, 3-4-7-8, 4-1", "1 5 6 2 3 7 8 4"},
    {46, "1-2-5-6-7, 2-3, 3-4-8-9-10, 4-1", "1 5 6 7 2 3 8 9 10 4"},
    {47, "1-2, 2-3, 3-1, 4-5, 5-6, 6-4, 1-4, 2-5, 3-6",
     "1 2 3; 2 3 6 5; 3 1 4 6; 4 5 2 1; 4 5 6"},
    {48, "1-2, 2-3, 3-4, 4-1, 5-6, 6-7, 7-8, 8-5, 1-5, 2-6, 3-7, 4-8",
     "1 2 3 4; 2 3 7 6; 4 3 7 8; 4 1 5 8; 6 5 1 2; 6 7 8 5"},
    {49, "1-2-9, 2-3-10, 3-4-11, 4-1-12, 5-6, 6-7, 7-8, 8-5, 1-5, 2-6, 3-7, 4-8",
     "1 9 2 10 3 11 4 12; 2 10 3 7 6; 4 11 3 7 8; 4 12 1 5 8; 1 9 2 6 5; 6 7 8 5"},
    {50, "1-2-7, 2-3-8, 3-1-9, 4-5-10, 5-6-11, 6-4-12, 1-4, 2-5, 3-6",
     "1 7 2 8 3 9; 2 8 3 6 11 5; 3 9 1 4 12 6; 4 10 5 2 7 1; 4 10 5 11 6 12"},
    {51,
     "1-2-9, 2-3-10, 3-4-11, 4-1-12, 5-6-13, 6-7-14, 7-8-15, 8-5-16, 1-5, 2-6, 3-7, 4-8",
     "1 9 2 10 3 11 4 12; 2 10 3 7 14 6; 4 11 3 7 15 8; 4 12 1 5 16 8; 1 9 2 6 13 5; "
     "6 14 7 15 8 16 5 13"},
    {60, "1-2-5-6, 2-3, 3-4-7-8, 4-1", "1 5 6 2 3 7 8 4"},
    {61, "1-2-5-6-7, 2-3, 3-4-8-9-10, 4-1", "1 5 6 7 2 3 8 9 10 4"},
};

const ShapeText* shapeText(int32_t t) {
  if (t < 1 || t > kElementTypes) t = 1;
  for (const ShapeText& s : kShapes) {
    if (s.type == t) return &s;
  }
  return nullptr;
}

// Splits TEXT at SEP into lists of numbers separated by any non-digit; each list goes to
// ROWS[i] as its count followed by its numbers. Answers the number of lists.
template <std::size_t N, std::size_t W>
int32_t parseLists(std::string_view text, char sep, std::array<std::array<int32_t, W>, N>& rows) {
  int32_t count = 0;
  while (!text.empty() && static_cast<std::size_t>(count) < N) {
    const std::size_t end = text.find(sep);
    const std::string_view list = text.substr(0, end);
    std::array<int32_t, W>& row = rows[static_cast<std::size_t>(count++)];
    row.fill(0);
    int32_t value = 0;
    bool inNumber = false;
    for (std::size_t k = 0; k <= list.size(); ++k) {
      const char c = k < list.size() ? list[k] : ' ';
      if (c >= '0' && c <= '9') {
        value = value * 10 + (c - '0');
        inNumber = true;
      } else if (inNumber) {
        if (static_cast<std::size_t>(row[0]) + 1 < W) row[static_cast<std::size_t>(++row[0])] = value;
        value = 0;
        inNumber = false;
      }
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return count;
}

bool endsEdge(const ElShap& s, int32_t node) {
  for (int32_t j = 1; j <= s.edgeCount; ++j) {
    if (s.edgeNode(j, 1) == node || s.edgeNode(j, 2) == node) return true;
  }
  return false;
}

// The edge of the type whose end nodes are A and B (either order), 0 for none.
int32_t edgeJoining(const ElShap& s, int32_t a, int32_t b) {
  for (int32_t j = 1; j <= s.edgeCount; ++j) {
    const int32_t p = s.edgeNode(j, 1), q = s.edgeNode(j, 2);
    if ((p == a && q == b) || (p == b && q == a)) return j;
  }
  return 0;
}

// The start nodes, face edges, flag and shape words and the faces of each edge of a
// surface or solid type, from its edges and faces.
void deriveFaceParts(ElShap& s, int32_t faceCount) {
  for (auto& ef : s.edgeFaces) ef = {0, 0};
  for (int32_t f = 1; f <= faceCount; ++f) {
    const std::size_t fi = static_cast<std::size_t>(f - 1);
    std::array<int32_t, 4> corners{};
    int32_t n = 0;
    for (int32_t k = 1; k <= s.faceNodeCount(f) && n < 4; ++k) {
      if (endsEdge(s, s.faceNode(f, k))) corners[static_cast<std::size_t>(n++)] = s.faceNode(f, k);
    }
    s.faceEdges[fi] = {0, 0, 0, 0};
    for (int32_t k = 0; k < n; ++k) {
      s.faceEdges[fi][static_cast<std::size_t>(k)] =
          edgeJoining(s, corners[static_cast<std::size_t>(k)],
                      corners[static_cast<std::size_t>((k + 1) % n)]);
    }
    s.startNode[fi] = 0;
    if (f <= s.edgeCount) {
      const int32_t a = s.edgeNode(f, 1), b = s.edgeNode(f, 2);
      for (int32_t k = 0; k < n; ++k) {
        const int32_t c = corners[static_cast<std::size_t>(k)];
        if (c != a && c != b) {
          s.startNode[fi] = c;
          break;
        }
      }
    }
    s.faceFlag[fi] = 1;
    s.faceShape[fi] = n == 3 ? 1 : 2;
    for (int32_t e : s.faceEdges[fi]) {
      if (e < 1) continue;
      auto& ef = s.edgeFaces[static_cast<std::size_t>(e - 1)];
      if (ef[0] == 0) {
        ef[0] = f;
      } else if (ef[1] == 0) {
        ef[1] = f;
      }
    }
  }
}

// What ELFAM writes for one element type, parsed once from its text: the edge and face
// rows and, for a surface or solid type, the parts derived from them.
struct ParsedShape {
  bool present = false;
  bool derived = false;
  int32_t faceCount = 0;
  ElShap tables;
};

// The parsed tables of types 1..61, built on first use. The display build selects a type
// for every edge it tests; parsing the text each time cost more than the test itself.
const ParsedShape& parsedShape(int32_t t) {
  static const std::array<ParsedShape, kElementTypes + 1> parsed = [] {
    std::array<ParsedShape, kElementTypes + 1> all{};
    for (int32_t type = 1; type <= kElementTypes; ++type) {
      const ShapeText* text = shapeText(type);
      if (text == nullptr) continue;
      ParsedShape& p = all[static_cast<std::size_t>(type)];
      p.present = true;
      p.tables.edgeCount = parseLists(text->edges, ',', p.tables.edges);
      p.faceCount = parseLists(text->faces, ';', p.tables.faces);
      const int32_t dim = ELTPRP(type).dimension;
      p.derived = dim == 2 || dim == 3;
      if (p.derived) deriveFaceParts(p.tables, p.faceCount);
    }
    return all;
  }();
  if (t < 1 || t > kElementTypes) t = 1;
  return parsed[static_cast<std::size_t>(t)];
}

}  // namespace

ElShap& elshap() {
  static ElShap block;
  return block;
}

int32_t shapeFaceCount(int32_t t) { return parsedShape(t).faceCount; }

void ELFAM(int32_t t) {
  const ParsedShape& p = parsedShape(t);
  if (!p.present) return;
  // Only the rows the type has are written: the others keep what an earlier type left.
  ElShap& s = elshap();
  const ElShap& from = p.tables;
  s.edgeCount = from.edgeCount;
  std::copy_n(from.edges.begin(), from.edgeCount, s.edges.begin());
  std::copy_n(from.faces.begin(), p.faceCount, s.faces.begin());
  if (!p.derived) return;
  std::copy_n(from.startNode.begin(), p.faceCount, s.startNode.begin());
  std::copy_n(from.faceEdges.begin(), p.faceCount, s.faceEdges.begin());
  std::copy_n(from.faceFlag.begin(), p.faceCount, s.faceFlag.begin());
  std::copy_n(from.faceShape.begin(), p.faceCount, s.faceShape.begin());
  s.edgeFaces = from.edgeFaces;
}

}  // namespace kvr

namespace kvr {

void FACEDG(int32_t f, int32_t e, std::span<const float> x, std::span<const float> y,
            std::span<const float> z, std::span<float, 3> xo, std::span<float, 3> yo,
            std::span<float, 3> zo, int32_t& stat) {
  stat = 1;
  const ElShap& s = elshap();
  if (f < 1 || f > ElShap::kMaxFaces || e < 1 || e > ElShap::kMaxEdges) return;
  const auto& fe = s.faceEdges[static_cast<std::size_t>(f - 1)];
  const int32_t sides = fe[3] == 0 ? 3 : 4;
  int32_t at = -1;
  for (int32_t k = 0; k < sides; ++k) {
    if (fe[static_cast<std::size_t>(k)] == e) {
      at = k;
      break;
    }
  }
  if (at < 0) return;
  const int32_t next = fe[static_cast<std::size_t>((at + 1) % sides)];
  if (next < 1 || next > ElShap::kMaxEdges) return;
  const int32_t a = s.edgeNode(e, 1), b = s.edgeNode(e, 2);
  const int32_t p = s.edgeNode(next, 1), q = s.edgeNode(next, 2);
  int32_t third = 0;
  if (p == a || p == b) {
    third = q;
  } else if (q == a || q == b) {
    third = p;
  } else {
    return;
  }
  const int32_t nodes[3] = {a, b, third};
  for (std::size_t k = 0; k < 3; ++k) {
    const std::size_t i = static_cast<std::size_t>(nodes[k] - 1);
    if (nodes[k] < 1 || i >= x.size() || i >= y.size() || i >= z.size()) return;
    xo[k] = x[i];
    yo[k] = y[i];
    zo[k] = z[i];
  }
  stat = 0;
}

void FACNRM(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const float> z, int32_t mode, float rx, float ry, float rz, float vx,
            float vy, float vz, float threshold, float& nx, float& ny, float& nz, int32_t& stat) {
  stat = 1;
  const int32_t step = n <= 5 ? 1 : n <= 8 ? 2 : n == 10 ? 5 : 3;
  std::size_t limit = static_cast<std::size_t>(n > 0 ? n : 0);
  limit = std::min({limit, x.size(), y.size(), z.size()});
  std::array<std::array<double, 3>, ElShap::kFaceNodes> corner{};
  std::size_t count = 0;
  for (std::size_t k = 0; k < limit && count < corner.size(); k += static_cast<std::size_t>(step)) {
    corner[count++] = {x[k], y[k], z[k]};
  }
  if (count == 0) return;
  std::array<double, 3> r{};
  int32_t rstat = 1;
  if (mode == 1) {
    std::array<double, 3> c{};
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t d = 0; d < 3; ++d) c[d] += corner[i][d] / static_cast<double>(count);
    }
    c = {c[0] - rx, c[1] - ry, c[2] - rz};
    DVUNIT(c, r, rstat);
  }
  bool degenerate = false;
  for (std::size_t i = 0; i < count; ++i) {
    const auto& p = corner[i];
    const auto& prev = corner[(i + count - 1) % count];
    const auto& next = corner[(i + 1) % count];
    std::array<double, 3> u{prev[0] - p[0], prev[1] - p[1], prev[2] - p[2]};
    std::array<double, 3> v{next[0] - p[0], next[1] - p[1], next[2] - p[2]};
    std::array<double, 3> w{};
    int32_t s1 = 0, s2 = 0, s3 = 0;
    DVUNIT(u, u, s1);
    DVUNIT(v, v, s2);
    DVCRS(u, v, w);
    DVUNIT(w, w, s3);
    if (s1 != 0 || s2 != 0 || s3 != 0) {
      degenerate = true;
      continue;
    }
    if (mode == 2) {
      if (w[2] < 0.0) w = {-w[0], -w[1], -w[2]};
    } else if (mode == 1) {
      if (rstat == 0 && w[0] * r[0] + w[1] * r[1] + w[2] * r[2] < 0.0) w = {-w[0], -w[1], -w[2]};
    }
    if (mode == 1 || mode == 2) {
      if (w[0] * vx + w[1] * vy + w[2] * vz <= threshold) continue;
    }
    nx = static_cast<float>(w[0]);
    ny = static_cast<float>(w[1]);
    nz = static_cast<float>(w[2]);
    stat = 0;
    return;
  }
  if (degenerate) nx = ny = nz = 1.0f;
}

}  // namespace kvr
