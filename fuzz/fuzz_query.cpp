// The reading road over a fuzzed model file: dll_ustrt2 opens it, and when it opens every
// query export is asked about entity numbers from -1 and 0 to a little beyond the counts
// the size vector reports. A damaged file or an odd argument must end in the routine's
// refusal (a status, a blank name, a count of 0), never a crash, an overrun or a hang.
//
// The input: the model file, then A argument bytes, then one byte holding A (0 to 255).
// The argument bytes are read through FuzzedDataProvider (integers from their end) and
// choose the modes, kinds, sizes and a few further numbers; when they run out each
// further choice is 0. Every array handed to the library has exactly the room its
// comment in kvr7dbio.h asks for, so that ASan sees any word written past it.
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/common_interface_defs.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "kvr7dbio.h"
#include "modeldb/entrec.h"
#include "modelquery/matqry.h"
#include "platform/fmtedit.h"
#include "platform/cmdline.h"
#include "platform/exedir.h"
#include "platform/procid.h"
#include "runtime/resget.h"

using namespace kvr;

namespace {

// The bound on the queries of one input, so that one input costs milliseconds.
constexpr int kMaxCalls = 1500;
// The first numbers of a kind asked one by one; the last ones are asked too.
constexpr int32_t kFirstNumbers = 6;
// The work array lent to dll_ustrt2 bounds the highest node at half of it.
constexpr int32_t kWorkWords = 1 << 15;
// dll_ufacg2's least work array.
constexpr int32_t kFacg2Words = 80000;

int gCalls = 0;
// True while the queries of an opened model run; with KVR_FUZZ_QUERY_STOPS set in the
// environment a stop there aborts with its stack, to hunt the stops that a guard of the
// queries should have refused.
bool gQuerying = false;
bool gAbortQueryStops = false;

// An array of exactly N elements (none for N below 1): the library may use N and no more.
template <class T>
struct Exact {
  explicit Exact(int64_t n) : size(n > 0 ? size_t(n) : 0), data(new T[size > 0 ? size : 1]()) {}
  T* get() { return data.get(); }
  size_t size;
  std::unique_ptr<T[]> data;
};

// The large arrays of one query, made once for the calls of one input that ask for the
// same size (a large array made for every call would cost more than the call).
template <class T>
struct Room {
  T* get(int64_t n) {
    if (!held || held->size != size_t(std::max<int64_t>(n, 0))) held.emplace(n);
    return held->get();
  }
  std::optional<Exact<T>> held;
};

// A blank text of N characters in a buffer of exactly N.
struct Text : Exact<char> {
  explicit Text(int32_t n) : Exact<char>(n) { std::fill(get(), get() + size, ' '); }
};

struct Args {
  explicit Args(const uint8_t* data, size_t size) : in(data, size) {}
  FuzzedDataProvider in;
  int32_t small(int32_t lo, int32_t hi) { return in.ConsumeIntegralInRange(lo, hi); }
  // Mostly near the range LO..HI, now and then any number at all.
  int32_t number(int32_t lo, int32_t hi) {
    return in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : small(lo, hi);
  }
  float real() { return in.ConsumeFloatingPoint<float>(); }
};

// The numbers asked of a kind of COUNT entities: -1, 0, the first few, the last few and
// the first beyond, and one from the arguments.
std::vector<int32_t> numbers(int32_t count, Args& a) {
  std::vector<int32_t> out = {-1, 0};
  const int32_t n = std::max(count, 0);
  for (int32_t k = 1; k <= std::min(n, kFirstNumbers); ++k) out.push_back(k);
  for (int64_t k = std::max<int64_t>(int64_t{n} - 2, kFirstNumbers + 1); k <= int64_t{n} + 2;
       ++k) {
    if (k <= std::numeric_limits<int32_t>::max()) out.push_back(int32_t(k));
  }
  out.push_back(a.number(-2, n + 3));
  return out;
}

template <class Fn>
void each(int32_t count, Args& a, Fn&& fn) {
  for (int32_t number : numbers(count, a)) {
    if (++gCalls > kMaxCalls) return;
    fn(number);
  }
}

// The size vector as dll_usiz2 answers it, with the counts the queries are asked about.
struct Sizes {
  int32_t word[50];
  int32_t at(int k) const { return word[k - 1]; }
  int32_t points() const { return at(1); }
  int32_t lines() const { return at(2); }
  int32_t surfaces() const { return at(3); }
  int32_t bodies() const { return at(4); }
  int32_t highestNode() const { return at(6); }
  int32_t elementNodes() const { return at(7); }
  int32_t highestElement() const { return at(8); }
  int32_t sets() const { return at(9); }
  int32_t materials() const { return at(10); }
  int32_t properties() const { return at(11); }
  int32_t conditions() const { return at(12); }
  int32_t loads() const { return at(13); }
  int32_t curves() const { return at(14); }
  int32_t systems() const { return at(16); }
  int32_t nodeOffset() const { return at(17); }
  int32_t elementOffset() const { return at(18); }
  int32_t countOf(int32_t kind) const {
    switch (kind) {
      case 1: return points();
      case 2: return lines();
      case 3: return surfaces();
      case 4: return bodies();
      case 5: return at(5);
      case 7: return sets();
      case 10: return materials();
      case 11: return properties();
      case 30: return loads();
      case 33: return conditions();
      default: return 4;
    }
  }
};

int32_t shifted(int32_t offset, int32_t number) {
  return int32_t(uint32_t(offset) + uint32_t(number));
}

// ---- The queries, one group each ------------------------------------------------------

void sizeQueries(Sizes& s) {
  Exact<int32_t> narrow(20);
  dll_usize(narrow.get());
  dll_usiz2(s.word);
}

void basicQueries(const Sizes& s, Args& a) {
  each(s.points(), a, [&](int32_t n) {
    Text name(KVR_UPNT2_NAME_LENGTH);
    Exact<float> xyz(3);
    int32_t status = -1;
    dll_upnt2(&n, name.get(), xyz.get(), &status);
  });
  each(s.highestNode(), a, [&](int32_t n) {
    Exact<float> xyz(3);
    int32_t node = shifted(s.nodeOffset(), n), status = -1;
    dll_unode(&node, xyz.get(), &status);
  });
  each(s.highestElement(), a, [&](int32_t n) {
    // Room for position 7 of the size vector, as the host gives; a damaged word past the
    // library's own bound would only make the host allocate more than is ever written.
    Exact<int32_t> nodes(std::min(s.elementNodes(), kElementNodes));
    int32_t element = shifted(s.elementOffset(), n), count = -1, status = -1;
    dll_uelem(&element, nodes.get(), &count, &status);
  });
  for (int32_t kind : {0, 1, 2, 3, 4, 5, 7, 10, 11, 30, 33, a.number(-1, 50)}) {
    each(s.countOf(kind), a, [&](int32_t n) {
      Text name(KVR_UNAMG2_NAME_LENGTH);
      int32_t k = kind, status = -1;
      dll_unamg2(&k, &n, name.get(), &status);
    });
  }
}

void geometryQueries(const Sizes& s, Args& a) {
  each(s.lines(), a, [&](int32_t n) {
    Text name(KVR_ULINE2_NAME_LENGTH);
    Exact<int32_t> desc(16);
    float length = 0;
    int32_t status = -1;
    dll_uline2(&n, name.get(), desc.get(), &length, &status);
  });
  each(s.lines(), a, [&](int32_t n) {
    Text name(KVR_ULINE3_NAME_LENGTH);
    Exact<int32_t> desc(KVR_ULINE3_DESC_WORDS);
    float length = 0;
    int32_t status = -1;
    dll_uline3(&n, name.get(), desc.get(), &length, &status);
  });
  each(s.surfaces(), a, [&](int32_t n) {
    Text name(KVR_USURF2_NAME_LENGTH);
    Exact<int32_t> desc(16);
    int32_t status = -1;
    dll_usurf2(&n, name.get(), desc.get(), &status);
  });
  each(s.bodies(), a, [&](int32_t n) {
    Text name(KVR_UBODY2_NAME_LENGTH);
    Exact<int32_t> desc(16);
    int32_t status = -1;
    dll_ubody2(&n, name.get(), desc.get(), &status);
  });
}

void listQueries(const Sizes& s, Args& a) {
  const int32_t room = std::clamp(s.highestNode(), 0, kWorkWords);
  each(s.sets(), a, [&](int32_t n) {
    int32_t kind = a.small(0, 5), size = a.in.ConsumeBool() ? a.small(-1, 8) : room;
    Text name(KVR_USET2_NAME_LENGTH);
    Exact<int32_t> members(size);
    int32_t count = -1, status = -1;
    dll_uset2(&n, &kind, name.get(), members.get(), &size, &count, &status);
  });
  for (int32_t kind : {0, 1, 2, 3, 4, 7, a.number(-1, 9)}) {
    each(kind == 0 ? 1 : s.countOf(kind), a, [&](int32_t n) {
      int32_t k = kind, size = a.in.ConsumeBool() ? a.small(-1, 8) : room;
      Exact<int32_t> nodes(size);
      int32_t count = -1, status = -1;
      dll_unodeg(&k, &n, &count, nodes.get(), &size, &status);
    });
  }
  for (int32_t kind : {0, 1, 2, 3, 4, a.number(-1, 9)}) {
    each(kind == 0 ? 1 : s.countOf(kind), a, [&](int32_t n) {
      int32_t k = kind, first = -1, last = -1, eltype = -1, units = -1, material = -1,
              property = -1, group = -1, status = -1;
      dll_uelemg(&k, &n, &first, &last, &eltype, &units, &material, &property, &group,
                 &status);
    });
  }
  each(s.highestElement(), a, [&](int32_t n) {
    int32_t element = shifted(s.elementOffset(), n), kind = -1, number = -1, eltype = -1,
            units = -1, material = -1, group = -1, status = -1;
    dll_ugelem(&element, &kind, &number, &eltype, &units, &material, -1, &group, &status);
  });
}

// dll_umate and dll_uphyse over VALUES (COUNT reals) when they hold their text items, and
// over items made from the arguments.
void textItems(const float* values, int32_t count, Args& a, bool material) {
  auto ask = [&](const float* v) {
    int32_t max = a.small(-1, 6), spare = 0, got = -1, status = -1;
    Exact<int32_t> lengths(max);
    Text lines(KVR_UMATE_LINE_LENGTH * std::max(max, 0));
    (material ? dll_umate : dll_uphyse)(const_cast<float*>(v), &spare, &max, &got,
                                        lengths.get(), lines.get(), &status);
  };
  // The host passes values that hold the items they name: walked here within COUNT.
  auto within = [&] {
    if (count < 1) return false;
    size_t n = 1;
    for (int32_t item = 1; item <= intOf(values[0]); ++item) {
      if (n >= size_t(count)) return false;
      n += 1 + size_t(std::clamp(intOf(values[n]), 0, 20));
    }
    return n <= size_t(count);
  };
  if (within()) ask(values);
  std::vector<float> made = {float(a.small(-1, 4))};
  for (int32_t item = 0; item < int32_t(made[0]); ++item) {
    const int32_t words = a.small(-1, 22);
    made.push_back(float(words));
    for (int32_t w = 0; w < std::clamp(words, 0, 20); ++w) {
      uint32_t chars = a.in.ConsumeIntegral<uint32_t>();
      float f;
      std::memcpy(&f, &chars, 4);
      made.push_back(f);
    }
  }
  Exact<float> exact(int64_t(textItemsExtent(made.data())));
  std::copy_n(made.begin(), std::min(made.size(), exact.size), exact.get());
  ask(exact.get());
}

void materialQueries(const Sizes& s, Args& a) {
  each(s.materials(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 16) : 200, word = -1, count = -1,
            status = -1;
    Text name(KVR_UMAT3_NAME_LENGTH), name2(KVR_UMAT3_NAME2_LENGTH);
    Exact<float> values(size);
    dll_umat3(&n, name.get(), name2.get(), &word, &count, values.get(), &size, &status);
    if (status == 0) textItems(values.get(), std::min(count, size), a, true);
  });
  each(s.properties(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 16) : 200, w2 = -1, w3 = -1, w4 = -1,
            count = -1, status = -1;
    Text name(KVR_UPHYS4_NAME_LENGTH), name2(KVR_UPHYS4_NAME2_LENGTH);
    Exact<float> values(size);
    dll_uphys4(&n, name.get(), name2.get(), &w4, &w2, &w3, &count, values.get(), &size,
               &status);
    if (status == 0) textItems(values.get(), std::min(count, size), a, false);
  });
}

void adjacencyQueries(const Sizes& s, Args& a) {
  for (int32_t kind : {1, 2, 3, a.number(-1, 8)}) {
    each(s.countOf(kind), a, [&](int32_t n) {
      int32_t k = kind, rkind = a.small(0, 8), rnumber = a.number(-1, 4),
              mode = a.small(-1, 2), nkind = -1, nnumber = -1, spare = 0, status = -1;
      // The members of a restricting set: the host's work array holds them all.
      int32_t members = 0;
      if (rkind == 7 && rnumber >= 1) {
        for (int32_t mkind = 1; mkind <= 4; ++mkind) {
          int32_t set = rnumber, mk = mkind, size = kWorkWords, count = 0, st = -1;
          Text name(KVR_USET2_NAME_LENGTH);
          Exact<int32_t> list(size);
          dll_uset2(&set, &mk, name.get(), list.get(), &size, &count, &st);
          if (st == 0 || st == 9) members += std::max(count, 0);
        }
      }
      Exact<int32_t> work(members);
      dll_uadjge(&k, &n, &rkind, &rnumber, &nkind, &nnumber, work.get(), &spare, &mode,
                 &status);
    });
  }
}

void systemQueries(const Sizes& s, Args& a) {
  each(s.systems(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 4) : std::max(s.highestNode(), 0);
    size = std::min(size, kWorkWords);
    int32_t type = -1, node1 = -1, node2 = -1, node3 = -1, count = -1, status = -1;
    Exact<float> axes(6);
    Exact<int32_t> nodes(size);
    dll_ucsys2(&n, &type, axes.get(), &node1, &node2, &node3, &count, nodes.get(), &size,
               &status);
  });
  for (int k = 0; k < 3; ++k) {
    int32_t type = a.small(-1, 5);
    Exact<float> axes(6), origin(3), point(3), directions(6);
    for (Exact<float>* v : {&axes, &origin, &point}) {
      for (size_t j = 0; j < v->size; ++j) v->get()[j] = a.real();
    }
    dll_ucocyl(&type, axes.get(), origin.get(), point.get(), directions.get());
  }
}

void loadQueries(const Sizes& s, Args& a) {
  each(s.loads(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 16) : 200;
    Text name(KVR_ULOAD4_NAME_LENGTH), description(KVR_ULOAD4_DESCRIPTION_LENGTH);
    int32_t w3 = -1, type = -1, w7 = -1, w8 = -1, w9 = -1, w10 = -1, kind = -1, entity = -1,
            kind2 = -1, entity2 = -1, count = -1, status = -1;
    Exact<float> values(size);
    dll_uload4(&n, name.get(), description.get(), &w3, &type, &w7, &w8, &w9, &w10, &kind,
               &entity, &kind2, &entity2, &count, values.get(), &size, &status);
  });
  each(s.loads(), a, [&](int32_t n) {
    int32_t kind = -1, entity = -1, status = -1;
    dll_uloadp(&n, &kind, &entity, &status);
  });
  // Target records follow the node records: the first few, and any from the arguments.
  const int32_t n0 = std::max(s.highestNode(), 0);
  each(kFirstNumbers + 2, a, [&](int32_t k) {
    int32_t record = k <= 0 ? a.number(-3, n0 + 10) : shifted(n0, k);
    int32_t kind = a.number(-1, 8), entity = a.number(-1, 6), meshed = -1, status = -1;
    dll_uloade(&record, &kind, &entity, &meshed, &status);
    int32_t kind2 = -1, entity2 = -1, relation = -1, apart = -1;
    dll_ulode2(&record, &kind, &entity, &kind2, &entity2, &relation, &apart);
  });
  each(4, a, [&](int32_t) {
    int32_t mode = a.small(-1, 2), variation = a.number(-1, 4), distribution = a.number(-1, 4),
            system = a.number(-1, 3), kind = a.small(-6, 5), entity = a.number(-1, 6),
            size = a.small(-1, 64), applies = -1, status = -1;
    Exact<float> position(3), axes(9);
    for (size_t j = 0; j < 3; ++j) position.get()[j] = a.real();
    float value = 0;
    Exact<int32_t> record(size);
    dll_uleval(&mode, &variation, &distribution, &system, position.get(), &kind, &entity,
               &applies, &value, axes.get(), record.get(), &size, &status);
    // The flag word returned reuses the records for the next point.
    if (status == 0) {
      for (size_t j = 0; j < 3; ++j) position.get()[j] = a.real();
      dll_uleval(&mode, &variation, &distribution, &system, position.get(), &kind, &entity,
                 &applies, &value, axes.get(), record.get(), &size, &status);
    }
  });
}

void curveQueries(const Sizes& s, Args& a) {
  each(s.curves(), a, [&](int32_t n) {
    int32_t mode = a.small(-1, 2), wsize = a.in.ConsumeBool() ? a.small(-1, 40) : 2000,
            vsize = a.in.ConsumeBool() ? a.small(-1, 40) : 2000, type = -1, repeat = -1,
            written = -1, status = -1;
    float fillet = 0;
    Text name(KVR_UCURVT_NAME_LENGTH);
    Exact<int32_t> work(wsize);
    Exact<float> values(vsize);
    dll_ucurvt(&n, &mode, name.get(), &type, &fillet, &repeat, work.get(), &wsize,
               values.get(), &vsize, &written, &status);
  });
}

void conditionQueries(const Sizes& s, Args& a) {
  each(s.highestNode(), a, [&](int32_t n) {
    int32_t node = shifted(s.nodeOffset(), n), system = -1, spare = -1, status = -1;
    Exact<int32_t> flags(16);
    dll_ucone3(&node, flags.get(), &system, &status);
    dll_ucons3(&node, flags.get(), &system, &spare, &status);
  });
  const int32_t n0 = std::max(s.highestNode(), 0);
  each(s.conditions(), a, [&](int32_t n) {
    Text name(KVR_UPRESC_NAME_LENGTH);
    int32_t kind = -1, entity = -1, dof = -1, ivalue = -1, status = -1;
    float value = 0;
    dll_upresc(&n, name.get(), &kind, &entity, &dof, &value, &ivalue, &status);
  });
  Room<int32_t> list, termflags;
  Room<float> factors;
  each(s.conditions(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 12) : 4 * n0 + 1, status = -1;
    Exact<int32_t> flags(16);
    dll_urbeam(&n, list.get(size), &size, flags.get(), &status);
  });
  each(s.conditions(), a, [&](int32_t n) {
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 12) : 4 * n0 + 2, node = -1, terms = -1,
            status = -1;
    float value6 = 0, value4 = 0;
    Exact<int32_t> flags(16);
    dll_uequa(&n, list.get(size), &size, &node, flags.get(), &value6, &terms,
              termflags.get(16 * int64_t{n0}), factors.get(n0), &value4, &status);
  });
  each(s.conditions(), a, [&](int32_t n) {
    Text name(KVR_UBDRY3_NAME_LENGTH);
    int32_t type = -1, code1 = -1, code2 = -1, status = -1;
    float value = 0;
    Exact<int32_t> flags1(16), flags2(16);
    dll_ubdry3(&n, name.get(), &type, &code1, flags1.get(), &code2, flags2.get(), &value,
               &status);
  });
  each(s.conditions(), a, [&](int32_t n) {
    const int64_t paired = int64_t{n0} + 19 * int64_t{std::max(s.lines(), 0)} + 80000;
    int32_t size = a.in.ConsumeBool() ? a.small(-1, 40)
                                      : int32_t(std::min<int64_t>(paired, 4 * kWorkWords)),
            status = -1;
    Exact<int32_t> flags(16);
    dll_uconct(&n, list.get(size), &size, flags.get(), &status);
  });
}

void faceQueries(const Sizes& s, Args& a) {
  const int32_t n0 = std::clamp(s.highestNode(), 0, kWorkWords);
  Room<int32_t> work;
  each(s.highestElement(), a, [&](int32_t n) {
    int32_t element = shifted(s.elementOffset(), n), shape = a.small(-1, 62),
            kind = a.small(0, 8), number = a.number(-1, 4), target = a.small(0, 5),
            facenodes = a.small(-1, 9), size = a.in.ConsumeBool() ? a.small(-1, 30) : n0 + 8,
            start = a.small(-1, 8), face = -99, status = -1;
    dll_ueface(&element, &shape, &kind, &number, &target, &facenodes, work.get(size), &size,
               &start, &face, &status);
  });
  each(s.highestElement(), a, [&](int32_t n) {
    int32_t mode = 0, element = shifted(s.elementOffset(), n), shape = a.small(-1, 62),
            kind = a.small(0, 4), number = a.number(-1, 4), rkind = a.small(0, 8),
            rnumber = a.number(-1, 4), target = a.small(0, 9), nodecount = 0,
            size = a.in.ConsumeBool() ? a.small(-1, 40) : 2 * n0 + 64, start = a.small(-1, 4),
            facecount = -1, status = -1;
    Exact<int32_t> faces(6);
    int32_t* w = work.get(size);
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &nodecount,
               w, &size, &start, faces.get(), &facecount, &status);
    // A second element of the same entity reuses the list the first built.
    mode = 1;
    element = shifted(element, 1);
    dll_uefac2(&mode, &element, &shape, &kind, &number, &rkind, &rnumber, &target, &nodecount,
               w, &size, &start, faces.get(), &facecount, &status);
  });
  for (int32_t kind : {1, 2, 3, a.number(-1, 8)}) {
    each(std::min(s.countOf(kind), 4), a, [&](int32_t n) {
      int32_t k = kind, rkind = a.small(0, 8), rnumber = a.number(-1, 4), ckind = -1,
              cnumber = -1, fncount = -1, face = -1, orientation = -1, ecount = -1,
              size = a.in.ConsumeBool() ? a.small(-1, 40) : a.small(kFacg2Words, kFacg2Words + 1),
              status = -1;
      Exact<int32_t> facenodes(16);
      dll_ufacg2(&k, &n, &rkind, &rnumber, &ckind, &cnumber, &fncount, facenodes.get(), &face,
                 &orientation, &ecount, work.get(size), &size, &status);
    });
  }
  for (int k = 0; k < 4; ++k) {
    int32_t shape = a.small(-1, 62), face = a.small(-20, 20), spare = 0,
            capacity = a.small(-1, 30), count = -1, status = -1;
    Exact<int32_t> list(capacity);
    dll_upfn(&shape, &face, &spare, &capacity, list.get(), &count, &status);
  }
}

// The text-code utilities: they read no model, only the arguments.
void textQueries(Args& a) {
  const std::string text = a.in.ConsumeBytesAsString(a.small(0, 90));
  int32_t n = a.small(-1, 90);
  Exact<int32_t> codes(std::min(n, 80));
  for (size_t k = 0; k < codes.size; ++k) codes.get()[k] = 0x20202000 | uint8_t(text[k % std::max<size_t>(text.size(), 1)]);
  Text out(KVR_UA1CHA_TEXT_LENGTH);
  dll_ua1cha(codes.get(), &n, out.get());

  int32_t length = int32_t(text.size()) - a.small(0, 2), start = a.small(-1, 8), last = -1;
  Exact<char> chars(std::max(length, 0));
  std::copy_n(text.begin(), chars.size, chars.get());
  Exact<int32_t> line(start < 1 ? 0 : start - 1 + std::max(length, 0));
  dll_uslcha(chars.get(), &length, &start, line.get(), &last);

  int32_t first = a.small(-1, 260), upto = a.small(-1, 260);
  Exact<int32_t> line2(std::clamp(upto, 0, 255));
  for (size_t k = 0; k < line2.size; ++k) line2.get()[k] = line.size > k ? line.get()[k] : 0x20202061;
  dll_ucconv(line2.get(), &first, &upto);

  int32_t begin = a.small(-1, 20), end = std::min<int32_t>(int32_t(line2.size), 255),
          mode = a.small(-1, 10), kind = -1, tfirst = -1, tend = -1, ivalue = -1;
  float rvalue = 0;
  dll_udecod(line2.get(), &begin, &end, &mode, &kind, &tfirst, &tend, &ivalue, &rvalue);
}

void queries(Args& a) {
  Sizes s{};
  sizeQueries(s);
  basicQueries(s, a);
  geometryQueries(s, a);
  listQueries(s, a);
  materialQueries(s, a);
  adjacencyQueries(s, a);
  systemQueries(s, a);
  loadQueries(s, a);
  curveQueries(s, a);
  conditionQueries(s, a);
  faceQueries(s, a);
  textQueries(a);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  fuzz::isolateSettings();
  gAbortQueryStops = std::getenv("KVR_FUZZ_QUERY_STOPS") != nullptr;
  setStopHook([](int32_t status, bool) {
    if (gQuerying && gAbortQueryStops) {
      std::fprintf(stderr, "stop %d inside a query\n", status);
      __sanitizer_print_stack_trace();
      std::abort();
    }
    throw fuzz::Stopped{status};
  });
  setCommandLineOverride({"prog"});
  resetCommandLineProbe();
  os::setExecutableDirectoryOverride("p/bin/");
  os::setProcessIdOverride(31337);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t argBytes = std::min<size_t>(data[size - 1], size - 1);
  const size_t modelBytes = size - 1 - argBytes;
  fuzz::writeFile("MODEL.DMP", fuzz::asText(data, modelBytes));
  Args a(data + modelBytes, argBytes);

  static std::vector<int32_t> work(kWorkWords);
  char name[KVR_USTRT2_NAME_LENGTH];
  std::fill(name, name + sizeof name, ' ');
  std::memcpy(name, "MODEL.DMP", 9);
  int32_t words = kWorkWords, status = -1;
  gCalls = 0;
  gQuerying = false;
  try {
    dll_ustrt2(name, work.data(), &words, &status);
    if (status == 0) {
      gQuerying = true;
      queries(a);
    }
  } catch (const fuzz::Stopped&) {
    // A documented stop ends this input; the next dll_ustrt2 sets up again what it closed.
  }
  return 0;
}
