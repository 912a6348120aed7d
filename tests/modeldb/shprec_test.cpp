// The shape records, on small fixtures in the full model registry.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "modeldb/entrec.h"
#include "modeldb/shpdef.h"
#include "modeldb/shprec.h"
#include "modelfixture.h"

namespace kvr {
namespace {

class Shapes : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    MODCNT.word(kCntShapes) = 4;
    MODCNT.word(kCntPoints) = 2;
    for (int32_t id = 1; id <= 4; ++id) shape(id, {});
  }
  static void shape(int32_t id, std::initializer_list<std::pair<int32_t, float>> words) {
    Words w(20, 0);
    for (auto [k, v] : words) w[static_cast<size_t>(k - 1)] = std::bit_cast<int32_t>(v);
    put(kArrShapes, (id - 1) * 20 + 1, w);
  }
  static float word(int32_t id, int32_t k) {
    return std::bit_cast<float>(get(kArrShapes, (id - 1) * 20 + k, 1)[0]);
  }
  static FText* text(FixedText& t) {
    held_ = t.text();
    return &held_;
  }
  static inline FText held_;
};

TEST_F(Shapes, TypeAndReferences) {
  shape(1, {{2, 12.001f}});
  EXPECT_EQ(SHPTYP(1), 0);
  shape(1, {{2, 11.001f}});
  EXPECT_EQ(SHPTYP(1), 11);
  EXPECT_EQ(SHPTYP(5), -1);
  int32_t stat = 99;
  SHPSTY(1, 7, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(std::bit_cast<uint32_t>(word(1, 2)), 0x40E00831u);
  EXPECT_EQ(SHPTYP(1), 0);

  std::array<int32_t, 4> refs{};
  int32_t n = 0;
  shape(2, {{2, shapeInteger(205)}, {3, 5.001f}});
  SHPREF(2, refs, n);
  EXPECT_EQ(n, 0);
  shape(2, {{2, shapeInteger(301)}, {3, 5.001f}, {4, 6.001f}, {5, 7.001f}, {6, 8.001f}});
  SHPREF(2, refs, n);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(refs, (std::array<int32_t, 4>{5, 6, 7, 8}));
  SHPREF(9, refs, n);
  EXPECT_EQ(n, -1);
  EXPECT_EQ(refs, (std::array<int32_t, 4>{}));
}

TEST_F(Shapes, ParameterValues) {
  MODCNT.word(kCntKind34) = 3;
  shape(1, {{2, shapeInteger(2)}, {4, 2.5f}});
  float v = -1.0f;
  int32_t ref = 9;
  SHPPR1(1, v, ref);
  EXPECT_EQ(v, 2.5f);
  EXPECT_EQ(ref, 0);
  shape(1, {{2, shapeInteger(2)}, {4, 2.5f}, {18, 3.001f}});
  SHPPR1(1, v, ref);
  EXPECT_EQ(v, 0.0f);  // entity 3 missing
  EXPECT_EQ(ref, 3);
  entry(6, 3, "PAR3", {7});
  SHPPR1(1, v, ref);
  EXPECT_EQ(v, 7.0f);
  EXPECT_EQ(ref, 3);
  SHPPR3(1, v, ref);
  EXPECT_EQ(ref, -2);
  SHPPR1(9, v, ref);
  EXPECT_EQ(ref, -1);

  shape(2, {{2, shapeInteger(14)}, {5, 1.5f}, {1, 4.0f}, {19, 3.001f}});
  std::array<float, 2> vals{};
  std::array<int32_t, 2> refs{};
  SHPPR4(2, vals, refs);
  EXPECT_EQ(vals, (std::array<float, 2>{1.5f, 7.0f}));
  EXPECT_EQ(refs, (std::array<int32_t, 2>{0, 3}));
  NameWords label{};
  int32_t stat = 0;
  K34LAB(3, label, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(label, nameOf("PAR3"));
}

TEST_F(Shapes, FieldGettersAndSetters) {
  shape(1, {{2, shapeInteger(205)}, {6, 1.5f}, {18, 42.001f}, {16, -3.001f}});
  float v = 9.0f;
  int32_t stat = 0;
  SHR09(1, v, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(v, 1.5f);
  SHR02(1, v, stat);  // another type: cleared first
  EXPECT_EQ(stat, -2);
  EXPECT_EQ(v, 0.0f);
  v = 9.0f;
  SHR10(5, v, stat);  // missing: left as it was
  EXPECT_EQ(stat, -1);
  EXPECT_EQ(v, 9.0f);
  EXPECT_EQ(SHI04(1), 42);
  EXPECT_EQ(SHI09(1), -3);
  EXPECT_EQ(SHI01(1), 0);
  EXPECT_EQ(SHI01(5), -1);
  shape(1, {{2, shapeInteger(103)}, {19, 1234.001f}, {20, -250.001f}});
  std::array<int32_t, 2> pair{};
  SHR13(1, pair, stat);
  EXPECT_EQ(pair, (std::array<int32_t, 2>{12, -2}));

  shape(2, {{2, shapeInteger(2)}, {4, 2.5f}});
  SHPSVL(2, 0.0f, stat);
  EXPECT_EQ(stat, -6);
  EXPECT_EQ(word(2, 4), 2.5f);
  SHPSVL(2, 4.0f, stat);
  EXPECT_EQ(word(2, 4), 4.0f);
  SHPSPT(2, 3, stat);
  EXPECT_EQ(stat, -7);
  SHPSPT(2, 2, stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(word(2, 3), shapeInteger(2));
  SHPSPR(2, 1, stat);
  EXPECT_EQ(stat, -6);
  SHPSPT(1, 2, stat);
  EXPECT_EQ(stat, -2);
  SHPCLR(2, stat);
  EXPECT_EQ(get(kArrShapes, 21, 20), Words(20, 0));
}

TEST_F(Shapes, Names) {
  put(9, 1, {a4Word("ABC "), kBlank, a4Word("ABCD"), a4Word("EFGH")});
  FixedText abc(3, "abc");
  EXPECT_EQ(SHPFNM(text(abc), nullptr), 1);
  FixedText nine(9, "ABCDEFGHX");
  EXPECT_EQ(SHPFNM(text(nine), nullptr), 0);
  FixedText eight(8, "abcdefgh");
  EXPECT_EQ(SHPFNM(text(eight), nullptr), 2);
  const NameWords lower = {a4Word("abc "), kBlank};
  EXPECT_EQ(SHPFNM(nullptr, &lower), 0);  // labels compare word for word

  int32_t stat = 0;
  FixedText bad(4, "1ABC");
  SHPRNM(3, stat, text(bad), nullptr, nullptr);
  EXPECT_EQ(stat, -5);
  const bool no = false;
  SHPRNM(3, stat, text(bad), nullptr, &no);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(get(9, 3, 1)[0], a4Word("1ABC"));
  SHPRNM(3, stat, text(abc), nullptr, nullptr);
  EXPECT_EQ(stat, -3);
  SHPRNM(1, stat, text(abc), nullptr, nullptr);  // its own name
  EXPECT_EQ(stat, 0);
  FixedText mixed(5, "xYz");
  SHPRNM(4, stat, text(mixed), nullptr, nullptr);
  std::string out(8, '?');
  SHPNMT(4, FText(out.data(), 8), stat);
  EXPECT_EQ(out, "XYZ     ");
  SHPRNM(0, stat, text(mixed), nullptr, nullptr);
  EXPECT_EQ(stat, -1);
  const NameWords taken = nameOf("ABC");
  SHPRNM(4, stat, nullptr, &taken, nullptr);
  EXPECT_EQ(stat, -3);
}

}  // namespace
}  // namespace kvr
