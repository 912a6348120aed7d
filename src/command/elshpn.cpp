#include "command/elshpn.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "command/trndsp.h"
#include "modeldb/elttab.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

constexpr std::array<ShapeColumn, kShapeColumns> SHPTAB{{
    {8, {{{"TR3", 3}, {"QU4", 5}, {"TR6", 7}, {"QU8", 9}, {"QU9", 10}, {"TR9", 23}, {"QU12", 24},
          {"TR15", 27}}}},
    {7, {{{"IL22", 42}, {"IL32", 43}, {"IL33", 44}, {"IL44", 45}, {"IL55", 46}, {"SP8", 60},
          {"SP10", 61}, {}}}},
    {8, {{{"PE6", 11}, {"HE8", 13}, {"PE15", 14}, {"HE16", 15}, {"HE20", 17}, {"HE27", 18},
          {"PE24", 29}, {"HE32", 30}}}},
    {3, {{{"TE4", 12}, {"TE10", 16}, {"TE16", 28}, {}, {}, {}, {}, {}}}},
    {5, {{{"BE2", 1}, {"BE3", 2}, {"BE4", 21}, {"BE5", 22}, {"IP11", 41}, {}, {}, {}}}},
    {1, {{{"P-EL", 20}, {}, {}, {}, {}, {}, {}, {}}}},
    {5, {{{"IS33", 47}, {"IS44", 48}, {"IS84", 49}, {"IS66", 50}, {"IS88", 51}, {}, {}, {}}}},
}};

// The groups: the selectors that name each, and the columns it takes in their order.
struct ShapeGroup {
  int32_t selectorCount;
  std::array<int32_t, 5> selectors;
  int32_t columnCount;
  std::array<int32_t, kShapeColumns> columns;
};
constexpr ShapeGroup kGroups[] = {
    {2, {-5, 474}, 7, {1, 2, 3, 4, 5, 6, 7}},
    {3, {-1, 17, 423}, 1, {6}},
    {5, {-2, 18, 328, 329, 332}, 1, {5}},
    {3, {-3, 19, 337}, 2, {1, 2}},
    {2, {654, 338}, 1, {1}},
    {3, {-4, 20, 667}, 3, {7, 3, 4}},
    {2, {339, 824}, 1, {4}},
    {2, {342, 343}, 2, {3, 7}},
};

// The families in their order; the first ends only itself when its translator is missing.
constexpr std::array<std::string_view, 11> kFamilies{"P-", "BE", "TR", "QU", "PE", "HE",
                                                     "TE", "IP", "IL", "IS", "SP"};
constexpr std::size_t kOwnEndFamily = 0;

// Programs 36 to 38 have no translator and take every shape.
constexpr int32_t kFirstOpenProgram = 36;
constexpr int32_t kLastOpenProgram = 38;
constexpr int32_t kVariants = 100;
constexpr int32_t kShapeNameLength = 8;

// The node count of a name: the third character's digit, and when the fourth character is
// not below "0", ten times that and the fourth's.
int32_t nodeCount(std::string_view name) {
  const auto at = [&](std::size_t k) { return k < name.size() ? name[k] : ' '; };
  int32_t n = at(2) - '0';
  if (at(3) >= '0') n = 10 * n + (at(3) - '0');
  return n;
}

// The candidates of SELECTOR in table order.
std::vector<ShapeRow> candidates(int32_t selector) {
  std::vector<ShapeRow> all;
  for (const ShapeGroup& g : kGroups) {
    const auto selectors = std::span(g.selectors).first(static_cast<std::size_t>(g.selectorCount));
    if (std::find(selectors.begin(), selectors.end(), selector) == selectors.end()) continue;
    for (int32_t c : std::span(g.columns).first(static_cast<std::size_t>(g.columnCount))) {
      const ShapeColumn& column = shapeColumn(c);
      for (int32_t r = 0; r < column.rows; ++r) all.push_back(column.row[static_cast<std::size_t>(r)]);
    }
    break;
  }
  return all;
}

// How the translator of PROGRAM answers for SHAPE over the variants: kept, dropped, or
// missing (status 99).
enum class Offer { Kept, Dropped, Missing };
Offer offer(int32_t program, const ShapeRow& shape) {
  if (program >= kFirstOpenProgram && program <= kLastOpenProgram) return Offer::Kept;
  FixedText name(kShapeNameLength);
  for (int32_t v = 1; v <= kVariants; ++v) {
    int32_t status = 0;
    TRNDSP(program, shape.code, v, name, status);
    if (status == kTranslatorAccepts) return Offer::Kept;
    if (status == kTranslatorMissing) return Offer::Missing;
  }
  return Offer::Dropped;
}

}  // namespace

const ShapeColumn& shapeColumn(int32_t c) {
  return SHPTAB[static_cast<std::size_t>(std::clamp(c, 1, kShapeColumns) - 1)];
}

void ELSHPN(int32_t selector, int32_t program, std::span<int32_t> codes,
            std::span<int32_t> names, int32_t& count) {
  count = 0;
  const std::vector<ShapeRow> all = candidates(selector);
  // The list ends where the caller's codes end: a count beyond them would be read past.
  const auto room = static_cast<int32_t>(std::min<std::size_t>(kMaxShapeList, codes.size()));
  const auto keep = [&](const ShapeRow& shape) {
    if (count >= room) return;
    ++count;
    const auto k = static_cast<std::size_t>(count);
    codes[k - 1] = shape.code;
    const std::string_view first = shape.name.substr(0, 4);
    const std::string_view second = shape.name.size() > 4 ? shape.name.substr(4) : std::string_view{};
    if (k <= names.size()) names[k - 1] = a4Word(first);
    if (k + kMaxShapeList <= names.size()) names[k + kMaxShapeList - 1] = a4Word(second);
  };

  for (std::size_t f = 0; f < kFamilies.size(); ++f) {
    std::vector<ShapeRow> members;
    for (const ShapeRow& shape : all) {
      if (shape.name.substr(0, 2) == kFamilies[f]) members.push_back(shape);
    }
    std::stable_sort(members.begin(), members.end(), [](const ShapeRow& a, const ShapeRow& b) {
      return nodeCount(a.name) < nodeCount(b.name);
    });
    for (const ShapeRow& shape : members) {
      const Offer o = offer(program, shape);
      if (o == Offer::Kept) keep(shape);
      if (o != Offer::Missing) continue;
      if (f == kOwnEndFamily) break;
      return;
    }
  }
}

}  // namespace kvr
