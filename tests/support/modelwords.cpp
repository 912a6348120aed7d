#include "modelwords.h"

#include <algorithm>
#include <array>

#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/elttab.h"
#include "runtime/modcnt.h"
#include "runtime/reghed.h"

namespace kvr::test {

namespace {

constexpr int32_t kWrite = -1;

// Entry (TYPE, ID) labelled NAME made, or found, with room for COUNT values.
void labelled(int32_t type, int32_t id, std::string_view name, int32_t count) {
  const Words label = nameWords(name);
  std::array<int32_t, 2> rval = {label[0], label[1]};
  int32_t key = id;
  ATTFND(-1, rval, type, key, count);
}

}  // namespace

void freshModelStore() {
  CoreFreeFile(-1);
  REGHED = {};
  int32_t stat = 0;
  ARRNUM(1);
  ARRREG(2, 1, stat);
  MODCNT = {};
  MODSTA = {};
}

void put(int32_t k, int32_t first, Words words) {
  int32_t stat = 0;
  const auto n = static_cast<int32_t>(words.size()) / REGHED.ARRWID(k);
  ARRIO(kWrite, k, first, n, -1, words, {}, stat);
}

void putReals(int32_t k, int32_t first, std::vector<float> reals) {
  int32_t stat = 0;
  const auto n = static_cast<int32_t>(reals.size()) / REGHED.ARRWID(k);
  ARRIO(kWrite, k, first, n, 1, {}, reals, stat);
}

Words record(int32_t w, Set set) {
  Words r(static_cast<size_t>(w), 0);
  for (auto [k, v] : set) r[static_cast<size_t>(k - 1)] = v;
  return r;
}

Words nameWords(std::string_view name) {
  return {a4Word(name.substr(0, std::min<size_t>(4, name.size()))),
          a4Word(name.size() > 4 ? name.substr(4) : std::string_view())};
}

void entity(int32_t array, int32_t width, int32_t names, int32_t id, std::string_view name, Set set) {
  put(array, (id - 1) * width + 1, record(width, set));
  put(names, id, nameWords(name));
}

void entry(int32_t type, int32_t id, std::string_view name, std::vector<float> values) {
  auto count = static_cast<int32_t>(values.size());
  labelled(type, id, name, count);
  int32_t stat = 0;
  ATTVAL(-1, type, id, 1, count, {}, values, stat);
}

void intEntry(int32_t type, int32_t id, std::string_view name, std::vector<int32_t> values) {
  auto count = static_cast<int32_t>(values.size());
  labelled(type, id, name, count);
  int32_t stat = 0;
  ATTVAL(-1, type, id, 1, count, values, {}, stat);
}

}  // namespace kvr::test
