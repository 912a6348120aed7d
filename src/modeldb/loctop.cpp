// LOCTOP: one list of the local topology table, copied into a caller's list of given
// capacity.

#include <algorithm>

#include "modeldb/elttab.h"
#include "modeldb/loctop.h"

namespace kvr {
namespace {

// The room a list of the kind INDEX asks for needs in LISTS of shape SHAPE.
int32_t kindLength(int32_t shape, int32_t index, std::span<const LocalList> lists) {
  if (index == 0) return SHPNOD(shape);
  int32_t positive = 0;
  int32_t negative = 0;
  for (const LocalList& l : lists) {
    if (l.index > 0) positive = std::max(positive, l.count);
    if (l.index < 0) negative = std::max(negative, l.count);
  }
  if (index > 0) return positive;
  // Surface and line shapes keep their edges and ends among the positive lists.
  return negative > 0 ? negative : positive;
}

}  // namespace

void LOCTOP(int32_t shape, int32_t index, int32_t mode, std::span<int32_t> list,
            int32_t& count, int32_t& status) {
  std::fill(list.begin(), list.end(), 0);
  const std::span<const LocalList> lists = localLists(shape, mode == kEdgeWalkMode);
  if (lists.empty()) {
    count = 0;
    status = kShapeWithoutLists;
    return;
  }
  const auto found = std::find_if(lists.begin(), lists.end(),
                                  [index](const LocalList& l) { return l.index == index; });
  // The room is tested before the index: a list too long for the capacity is refused as
  // such even when the shape has no list of that index.
  count = found == lists.end() ? kindLength(shape, index, lists) : found->count;
  if (static_cast<size_t>(count) > list.size()) {
    status = kListTooLong;
    return;
  }
  if (found == lists.end()) {
    status = kIndexWithoutList;
    return;
  }
  std::copy(found->nodes().begin(), found->nodes().end(), list.begin());
  status = kLocalListGiven;
}

}  // namespace kvr
