// The node-order table of the element entries and the entry readers.

#include "dbinterface/elnord.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

#include "modeldb/dblevl.h"
#include "modeldb/elttab.h"
#include "modeldb/recwords.h"
#include "runtime/machcn.h"

namespace kvr {
namespace {

// One row of the table: the element type, its node count, the order of mode 1 and the
// order of the other modes.
struct OrderRow {
  int32_t type;
  int32_t nodes;
  std::array<int8_t, kMaxElementNodes> stored;
  std::array<int8_t, kMaxElementNodes> sent;
};

constexpr std::array<OrderRow, 18> kOrders = {{
    {21, 4, {1, 4, 2, 3}, {1, 3, 4, 2}},
    {22, 5, {1, 5, 2, 3, 4}, {1, 3, 4, 5, 2}},
    {23, 9, {1, 4, 7, 2, 3, 5, 6, 8, 9}, {1, 4, 5, 2, 6, 7, 3, 8, 9}},
    {24, 12, {1, 4, 7, 10, 2, 3, 5, 6, 8, 9, 11, 12}, {1, 5, 6, 2, 7, 8, 3, 9, 10, 4, 11, 12}},
    {27, 15,
     {1, 5, 9, 2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 15},
     {1, 4, 5, 6, 2, 7, 8, 9, 3, 10, 11, 12, 13, 14, 15}},
    {28, 16,
     {1, 4, 7, 16, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15},
     {1, 5, 6, 2, 7, 8, 3, 9, 10, 11, 12, 13, 14, 15, 16, 4}},
    {29, 24,
     {1, 4, 7, 16, 19, 22, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 20, 21, 23, 24},
     {1, 7, 8, 2, 9, 10, 3, 11, 12, 13, 14, 15, 16, 17, 18, 4, 19, 20, 5, 21, 22, 6, 23, 24}},
    {30, 32,
     {1, 4, 7, 10, 21, 24, 27, 30, 2, 3, 5, 6, 8, 9, 11, 12,
      13, 14, 15, 16, 17, 18, 19, 20, 22, 23, 25, 26, 28, 29, 31, 32},
     {1, 9, 10, 2, 11, 12, 3, 13, 14, 4, 15, 16, 17, 18, 19, 20,
      21, 22, 23, 24, 5, 25, 26, 6, 27, 28, 7, 29, 30, 8, 31, 32}},
    {42, 4, {1, 2, 4, 3}, {1, 2, 4, 3}},
    {43, 5, {1, 3, 5, 4, 2}, {1, 5, 2, 4, 3}},
    {44, 6, {1, 3, 6, 4, 2, 5}, {1, 5, 2, 4, 6, 3}},
    {45, 8, {1, 4, 8, 5, 2, 3, 7, 6}, {1, 5, 6, 2, 4, 8, 7, 3}},
    {60, 8, {1, 4, 8, 5, 2, 3, 7, 6}, {1, 5, 6, 2, 4, 8, 7, 3}},
    {46, 10, {1, 5, 10, 6, 2, 3, 4, 9, 8, 7}, {1, 5, 6, 7, 2, 4, 10, 9, 8, 3}},
    {61, 10, {1, 5, 10, 6, 2, 3, 4, 9, 8, 7}, {1, 5, 6, 7, 2, 4, 10, 9, 8, 3}},
    {49, 12, {1, 3, 5, 7, 9, 10, 11, 12, 2, 4, 6, 8}, {1, 9, 2, 10, 3, 11, 4, 12, 5, 6, 7, 8}},
    {50, 12, {1, 3, 5, 7, 9, 11, 2, 4, 6, 8, 10, 12}, {1, 7, 2, 8, 3, 9, 4, 10, 5, 11, 6, 12}},
    {51, 16,
     {1, 3, 5, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10, 12, 14, 16},
     {1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8, 16}},
}};

constexpr bool identityType(int32_t type) {
  return (type >= 1 && type <= 20) || type == 31 || type == 41 || type == 47 || type == 48;
}

}  // namespace

void ELNORD(int32_t mode, int32_t type, std::span<int32_t> order) {
  if (identityType(type)) {
    const std::size_t n = std::min(order.size(), static_cast<std::size_t>(ELNCNT(type)));
    for (std::size_t k = 0; k < n; ++k) order[k] = static_cast<int32_t>(k + 1);
    return;
  }
  for (const OrderRow& row : kOrders) {
    if (row.type != type) continue;
    const auto& from = mode == 1 ? row.stored : row.sent;
    const std::size_t n = std::min(order.size(), static_cast<std::size_t>(row.nodes));
    for (std::size_t k = 0; k < n; ++k) order[k] = from[k];
    return;
  }
}

int32_t topologyNodeWord(int32_t k) {
  if (DBLEVL.recordLayout == kLongEntryLayout) {
    return 6 + k * (3 * MACHCN.word(kMachWordsPerReal) + 2);
  }
  return 6 + 2 * k;
}

int32_t TOPNOD(std::span<const int32_t> page, int32_t q, int32_t k) {
  return RECW0(page, q + topologyNodeWord(k) - 1);
}

int32_t ENTW3(std::span<const int32_t> page, int32_t q) { return RECW3(page, q); }

}  // namespace kvr
