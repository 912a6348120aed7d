#include "modeldb/dbmsg.h"

#include <vector>

#include "messages/catalog.h"

namespace kvr {
namespace {

DbMessageObserver& observer() {
  static DbMessageObserver o;
  return o;
}

}  // namespace

void dbMessage(int32_t n, std::initializer_list<int32_t> ints, std::span<const int32_t> name) {
  const std::vector<int32_t> values(ints);
  if (observer()) observer()(n, values, name);
  const int32_t lengths[] = {static_cast<int32_t>(name.size()), 0};
  MSGM(n, values, {}, name,
       name.empty() ? std::span<const int32_t>{} : std::span<const int32_t>(lengths));
}

void setDbMessageObserver(DbMessageObserver o) { observer() = std::move(o); }

}  // namespace kvr
