// The database files of whole blocks of elements, byte for byte. A block of k x k x k
// nodes with its HE8 elements and a nodal results dataset goes through a whole session
// (LUOPT 1, the display build at the stop), and the checksums and sizes of BLOCK.M71 and
// BLOCK.V71 must be those of the files the writing road has always made for it. The
// blocks are large enough that the node table, the node-to-element lists and the element
// work arrays run over more than one page of the store, and the second block has node
// ids with gaps (the node index is searched), a skin of QU4 shells on its face z = 0 and
// BE2 beams along one edge, so the face test meets shells, lines and solids together.
// Both have more elements than the face test has slots to remember them in.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "sessionfixture.h"

namespace kvr {
namespace {

constexpr int32_t kHE8 = 1;
constexpr int32_t kBE2 = 11;

struct Block {
  const char* name;
  int32_t k;            // nodes along each side
  int32_t idStep;       // node n has id idStep x n
  bool skinAndBeams;    // QU4 shells on the face z = 0, BE2 beams along the x axis
  uint64_t m71Sum;      // FNV-1a of BLOCK.M71
  uint64_t v71Sum;      // FNV-1a of BLOCK.V71
  size_t v71Bytes;
};

void PrintTo(const Block& b, std::ostream* os) { *os << b.name; }

uint64_t fnv1a(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

class BlockFiles : public test::SessionFixture, public ::testing::WithParamInterface<Block> {
 protected:
  static int32_t nodeId(const Block& b, int32_t i, int32_t j, int32_t l) {
    return b.idStep * (1 + i + b.k * (j + b.k * l));
  }

  // The nodes on unit A, the elements on unit B, the displacements on unit A, each
  // dataset processed; then the stop, which builds the display data.
  static void writeBlock(const Block& b) {
    const int32_t k = b.k;
    ASSERT_EQ(header(1, 1, "BLOCK", kA), 0);
    ASSERT_EQ(header(2, 1, "", kA), 0);
    int32_t ierr = -1;
    for (int32_t l = 0; l < k; ++l) {
      for (int32_t j = 0; j < k; ++j) {
        for (int32_t i = 0; i < k; ++i) {
          DICOR(nodeId(b, i, j, l), static_cast<float>(i), 0.5f * static_cast<float>(j),
                static_cast<float>(l) + 0.01f * static_cast<float>(i * j), 0, ierr, su(kA));
          ASSERT_EQ(ierr, 0);
        }
      }
    }
    ASSERT_EQ(dilim(kA), 0);

    ASSERT_EQ(header(3, 1, "", kB), 0);
    int32_t element = 0;
    for (int32_t l = 0; l + 1 < k; ++l) {
      for (int32_t j = 0; j + 1 < k; ++j) {
        for (int32_t i = 0; i + 1 < k; ++i) {
          const std::vector<int32_t> nodes = {
              nodeId(b, i, j, l),         nodeId(b, i + 1, j, l),
              nodeId(b, i + 1, j + 1, l), nodeId(b, i, j + 1, l),
              nodeId(b, i, j, l + 1),     nodeId(b, i + 1, j, l + 1),
              nodeId(b, i + 1, j + 1, l + 1), nodeId(b, i, j + 1, l + 1)};
          DITOP(++element, kHE8, 1 + l % 3, 1, nodes, 0, ierr, su(kB));
          ASSERT_EQ(ierr, 0);
        }
      }
    }
    if (b.skinAndBeams) {
      for (int32_t j = 0; j + 1 < k; ++j) {
        for (int32_t i = 0; i + 1 < k; ++i) {
          const std::vector<int32_t> nodes = {nodeId(b, i, j, 0), nodeId(b, i + 1, j, 0),
                                              nodeId(b, i + 1, j + 1, 0), nodeId(b, i, j + 1, 0)};
          DITOP(++element, kQU4, 4, 2, nodes, 0, ierr, su(kB));
          ASSERT_EQ(ierr, 0);
        }
      }
      for (int32_t i = 0; i + 1 < k; ++i) {
        const std::vector<int32_t> nodes = {nodeId(b, i, 0, 0), nodeId(b, i + 1, 0, 0)};
        DITOP(++element, kBE2, 5, 3, nodes, 0, ierr, su(kB));
        ASSERT_EQ(ierr, 0);
      }
    }
    ASSERT_EQ(dilim(kB), 0);

    ASSERT_EQ(header(100, 1, "LOAD1", kA), 0);
    DIRHA(FixedText(8, "DISPL"), 3, 1, 0, ierr, su(kA));
    ASSERT_EQ(ierr, 0);
    const std::array<const char*, 3> names = {"DX", "DY", "DZ"};
    for (int32_t c = 1; c <= 3; ++c) {
      DIRHB(FixedText(8, names[static_cast<std::size_t>(c - 1)]), 1, 2, c, 0, 0,
            FixedText(8, ""), FixedText(8, ""), ierr, su(kA));
      ASSERT_EQ(ierr, 0);
    }
    for (int32_t n = 1; n <= k * k * k; ++n) {
      const std::array<float, 3> values = {0.001f * static_cast<float>(n % k), 0.0f, -0.002f};
      DINIA(b.idStep * n, values, 3, ierr, su(kA));
      ASSERT_EQ(ierr, 0);
    }
    ASSERT_EQ(dilim(kA), 0);
    ASSERT_EQ(distp(), 0);
  }
};

TEST_P(BlockFiles, SameBytesAsEver) {
  const Block& b = GetParam();
  ASSERT_EQ(begin(kOutputDatabase), 0);
  ASSERT_NO_FATAL_FAILURE(writeBlock(b));
  EXPECT_EQ(seen, std::vector<Message>{}) << "no database message";
  const std::string m71 = test::readFile(dir.file("BLOCK.M71"));
  const std::string v71 = test::readFile(dir.file("BLOCK.V71"));
  EXPECT_EQ(fnv1a(m71), b.m71Sum) << std::hex << "0x" << fnv1a(m71);
  EXPECT_EQ(fnv1a(v71), b.v71Sum) << std::hex << "0x" << fnv1a(v71);
  EXPECT_EQ(v71.size(), b.v71Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockFiles,
    ::testing::Values(Block{"Solid22", 22, 1, false, 0xd8f93bbab1181eedull,
                            0xd35df36debcf7e8bull, 3745440},
                      Block{"GappedWithSkinAndBeams", 12, 3, true, 0x4b8732fad5c0b13bull,
                            0x1e95f43c73175103ull, 628320}),
    [](const ::testing::TestParamInfo<Block>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvr
