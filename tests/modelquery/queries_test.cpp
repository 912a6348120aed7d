// The query routines are declared for the wrappers of the exported model queries, which
// forward the host's arguments in order and add the fixed text lengths. These checks hold
// every declaration to the export table at compile time: the number of arguments, which
// of them are texts, and each text's fixed length. Nothing is called, so nothing needs a
// definition to link.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <type_traits>

#include "modelquery/queries.h"
#include "runtime/geosta.h"

namespace {

using kvr::FText;
using kvr::FTextArray;

template <typename T>
inline constexpr bool kIsText =
    std::is_same_v<std::remove_cvref_t<T>, FText> || std::is_same_v<std::remove_cvref_t<T>, FTextArray>;

template <typename F>
struct Signature;
template <typename R, typename... A>
struct Signature<R(A...)> {
  static constexpr int count = sizeof...(A);
  static constexpr std::array<bool, sizeof...(A)> texts{kIsText<A>...};
};

// One text argument of the table: its position, the length the header declares for it
// (kAny when the host gives the length) and the length the export table fixes.
constexpr int kAny = -1;
struct Text {
  int position;
  int declared;
  int expected;
};

template <typename F>
constexpr bool matches(int count, std::initializer_list<Text> texts) {
  using S = Signature<F>;
  if (S::count != count) return false;
  for (int p = 1; p <= S::count; ++p) {
    bool listed = false;
    for (const Text& t : texts) listed = listed || t.position == p;
    if (S::texts[static_cast<size_t>(p - 1)] != listed) return false;
  }
  for (const Text& t : texts) {
    if (t.declared != t.expected) return false;
  }
  return true;
}

using namespace kvr;

// The 43 model queries, in the order of the export table.
static_assert(matches<decltype(USTRT2)>(4, {{1, kUSTRT2NameLength, 80}}));
static_assert(matches<decltype(USIZE)>(1, {}));
static_assert(matches<decltype(USIZ2)>(1, {}));
static_assert(matches<decltype(UPNT2)>(4, {{2, kUPNT2NameLength, 8}}));
static_assert(matches<decltype(ULINE2)>(5, {{2, kULINE2NameLength, 8}}));
static_assert(matches<decltype(ULINE3)>(5, {{2, kULINE3NameLength, 8}}));
static_assert(matches<decltype(USURF2)>(4, {{2, kUSURF2NameLength, 8}}));
static_assert(matches<decltype(UBODY2)>(4, {{2, kUBODY2NameLength, 8}}));
static_assert(matches<decltype(UNODE)>(3, {}));
static_assert(matches<decltype(UELEM)>(4, {}));
static_assert(matches<decltype(UELEMG)>(10, {}));
static_assert(matches<decltype(UGELEM)>(9, {}));
static_assert(matches<decltype(UNODEG)>(6, {}));
static_assert(matches<decltype(UCONE3)>(4, {}));
static_assert(matches<decltype(UCONS3)>(5, {}));
static_assert(matches<decltype(UMAT3)>(8, {{2, kUMAT3NameLength, 8}, {3, kUMAT3Name2Length, 8}}));
static_assert(matches<decltype(UMATE)>(7, {{6, kUMATELineLength, 80}}));
static_assert(matches<decltype(UPHYS4)>(10, {{2, kUPHYS4NameLength, 8}, {3, kUPHYS4Name2Length, 8}}));
static_assert(matches<decltype(UPHYSE)>(7, {{6, kUPHYSELineLength, 80}}));
static_assert(matches<decltype(UCSYS2)>(10, {}));
static_assert(matches<decltype(UCOCYL)>(5, {}));
static_assert(matches<decltype(USET2)>(7, {{3, kUSET2NameLength, 8}}));
static_assert(matches<decltype(UCONCT)>(5, {}));
static_assert(matches<decltype(URBEAM)>(5, {}));
static_assert(matches<decltype(UEQUA)>(11, {}));
static_assert(matches<decltype(UPRESC)>(8, {{2, kUPRESCNameLength, 8}}));
static_assert(matches<decltype(UBDRY3)>(9, {{2, kUBDRY3NameLength, 8}}));
static_assert(matches<decltype(ULOAD4)>(17, {{2, kULOAD4NameLength, 8}, {3, kULOAD4DescriptionLength, 8}}));
static_assert(matches<decltype(ULOADP)>(4, {}));
static_assert(matches<decltype(ULOADE)>(5, {}));
static_assert(matches<decltype(ULODE2)>(7, {}));
static_assert(matches<decltype(ULEVAL)>(13, {}));
static_assert(matches<decltype(UCURVT)>(12, {{3, kUCURVTNameLength, 15}}));
static_assert(matches<decltype(UEFAC2)>(15, {}));
static_assert(matches<decltype(UEFACE)>(11, {}));
static_assert(matches<decltype(UFACG2)>(14, {}));
static_assert(matches<decltype(UADJGE)>(10, {}));
static_assert(matches<decltype(UNAMG2)>(4, {{3, kUNAMG2NameLength, 8}}));
static_assert(matches<decltype(UPFN)>(7, {}));
static_assert(matches<decltype(UA1CHA)>(3, {{3, kUA1CHATextLength, 80}}));
// The wrapper takes the text's length from its second argument and does not pass it on.
static_assert(matches<decltype(USLCHA)>(4, {{1, kAny, kAny}}));
static_assert(matches<decltype(UCCONV)>(3, {}));
static_assert(matches<decltype(UDECOD)>(9, {}));

// The node collectors, the descriptor dispatchers and the mesh collection.
static_assert(matches<decltype(NDPNT)>(5, {}));
static_assert(matches<decltype(NDLIN)>(5, {}));
static_assert(matches<decltype(NDSRF)>(5, {}));
static_assert(matches<decltype(NDBOD)>(5, {}));
static_assert(matches<decltype(MATDSC)>(7, {{4, kMATDSCRecordLength, 255}}));
static_assert(matches<decltype(PHYDSC)>(7, {{4, kPHYDSCRecordLength, 255}}));
static_assert(matches<decltype(CONMSH)>(12, {}));

// The checker itself tells a wrong count, a text in the wrong place and a wrong length.
static_assert(!matches<decltype(UMAT3)>(7, {{2, kUMAT3NameLength, 8}, {3, kUMAT3Name2Length, 8}}));
static_assert(!matches<decltype(UMAT3)>(8, {{2, kUMAT3NameLength, 8}}));
static_assert(!matches<decltype(UCURVT)>(12, {{3, kUCURVTNameLength, 8}}));

TEST(FTextArray, AddressesEachTextOfTheArray) {
  char store[] = "AAAABBBBCCCC";
  FTextArray lines(store, 4, 3);
  EXPECT_EQ(lines.count(), 3);
  EXPECT_EQ(lines.at(2).view(), "BBBB");
  lines.at(3).assign("x");
  EXPECT_EQ(std::string_view(store, 12), "AAAABBBBx   ");
}

TEST(Geosta, ZeroAtLoadWithTheToleranceAsRealWord8) {
  for (int32_t k = 1; k <= kvr::GeoSta::kWords; ++k) EXPECT_EQ(kvr::GEOSTA.word(k), 0);
  EXPECT_EQ(kvr::GEOSTA.real(kvr::kGeoModelTolerance), 0.0f);
  kvr::GeoSta state;
  state.setReal(kvr::kGeoModelTolerance, 0.5f);
  EXPECT_EQ(state.word(8), 0x3F000000);
  EXPECT_EQ(state.real(8), 0.5f);
}

}  // namespace
