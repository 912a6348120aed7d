// The property descriptor tables MATCON and PHYTYP, the record composer DSCREC they share,
// and the dispatchers MATDSC and PHYDSC that pick a table by analysis-program code.
//
// The stores behind the tables are composed once, on first use, and are read-only after
// that: every call of a level hands out the same records.

#include <algorithm>
#include <string>
#include <vector>

#include "modeldb/attlst.h"
#include "modeldb/descriptors.h"
#include "platform/fmtedit.h"

namespace kvr {
namespace {

// The record formats of the four layouts; output stops at the first field without an
// item, so a record carries only the children or values it is given.
constexpr std::string_view kListFormat = "(A30,A8,I4,25I6)";
constexpr std::string_view kSectionFormat = "(A30,A8,I4,I4,25I6)";
constexpr std::string_view kIntegerFormat = "(A30,A8,I4,I4,3I6)";
constexpr std::string_view kRealFormat = "(A30,A8,I4,I4,3G12.5)";
constexpr std::string_view kFileFormat = "(A30,A8,I4,A200)";

constexpr int32_t kShortLength = 150;  // PHYTYP's type and section-type records

constexpr char kZeros[kDescriptorLength] = {};

// SLOTS records of LENGTH characters, zero bytes until a slot is put.
class DescriptorStore {
 public:
  DescriptorStore(int32_t slots, int32_t length)
      : slots_(slots), length_(length), data_(static_cast<size_t>(slots) * length, '\0') {}

  void put(int32_t slot, std::string_view record) {
    std::copy_n(record.begin(), std::min<size_t>(record.size(), length_),
                data_.begin() + static_cast<ptrdiff_t>(slot - 1) * length_);
  }
  // A slot outside the store reads as one the table does not define.
  std::string_view at(int32_t slot) const {
    if (slot < 1 || slot > slots_) return {kZeros, static_cast<size_t>(length_)};
    return {data_.data() + static_cast<size_t>(slot - 1) * length_, static_cast<size_t>(length_)};
  }

 private:
  int32_t slots_;
  int32_t length_;
  std::vector<char> data_;
};

std::vector<int32_t> childrenOf(const ListEntry& e) {
  std::vector<int32_t> slots;
  for (int32_t c : e.children) {
    if (c == 0) break;
    slots.push_back(c);
  }
  return slots;
}

std::string composeList(const ListEntry& e, DescriptorLayout layout) {
  const std::vector<int32_t> children = childrenOf(e);
  return DSCREC({.layout = layout, .title = e.title, .keyword = e.keyword, .kind = e.kind,
                 .word = e.word, .integers = children});
}

std::string composeParameter(std::string_view title, std::string_view keyword,
                             const ParameterValues& p) {
  Descriptor d{.layout = DescriptorLayout::kValue, .title = title, .keyword = keyword,
               .kind = p.type, .word = p.code};
  std::array<int32_t, 3> integers{};
  const auto values = std::span(p.value).first(static_cast<size_t>(std::clamp(p.count, 0, 3)));
  if (p.type == 4) {
    d.layout = DescriptorLayout::kFile;
    d.description = p.description;
  } else if (p.type == 2) {
    d.reals = values;
  } else {
    for (size_t k = 0; k < values.size(); ++k) integers[k] = intOf(values[k]);
    d.integers = std::span(integers).first(values.size());
  }
  return DSCREC(d);
}

// A material parameter's title: "Param for : " and its name, blank-padded to 16
// characters for E1A to E3C (slots 1-9), 20 for HD11A to HD12B (slots 60-63), 17 for the
// other three-letter names and 19 for all others.
std::string parameterTitle(const ParameterName& p) {
  size_t width = p.name.size() == 3 ? 17 : 19;
  if (p.slot <= 9) width = 16;
  if (p.slot >= 60 && p.slot <= 63) width = 20;
  std::string title = "Param for : ";
  title.append(p.name);
  title.resize(std::max(width, title.size()), ' ');
  return title;
}

std::string_view parameterKeyword(const ParameterName& p) {
  if (p.slot == 5) return "ParI1";
  if (p.slot == 6) return "ParI2";
  return p.name;
}

// The three stores of a table: the top records (level 1, the first TOPCOUNT of them), the
// second-level records (level 2) and the parameter records (level 3).
struct TableStores {
  DescriptorStore top;
  DescriptorStore second;
  DescriptorStore parameters;
  int32_t topCount;
};

const TableStores& materialStores() {
  static const TableStores stores = [] {
    TableStores s{{150, kDescriptorLength}, {150, kDescriptorLength}, {150, kDescriptorLength},
                  static_cast<int32_t>(materialGroups().size())};
    for (const ListEntry& e : materialGroups()) {
      s.top.put(e.slot, composeList(e, DescriptorLayout::kList));
    }
    for (const ListEntry& e : materialConcepts()) {
      s.second.put(e.slot, composeList(e, DescriptorLayout::kList));
    }
    for (const ParameterName& p : materialParameterNames()) {
      ParameterValues values{p.slot, 1, 11, 3, {0, 100, static_cast<float>(p.slot)}, {}};
      for (const ParameterValues& x : materialParameterExceptions()) {
        if (x.slot == p.slot) values = x;
      }
      s.parameters.put(p.slot, composeParameter(parameterTitle(p), parameterKeyword(p), values));
    }
    return s;
  }();
  return stores;
}

const TableStores& physicalStores() {
  static const TableStores stores = [] {
    TableStores s{{1, kShortLength}, {200, kShortLength}, {200, kDescriptorLength}, 1};
    s.top.put(1, composeList(physicalTypeEntry(), DescriptorLayout::kList));
    for (const ListEntry& e : physicalSectionTypes()) {
      s.second.put(e.slot, composeList(e, DescriptorLayout::kSection));
    }
    for (const SectionParameter& p : physicalParameters()) {
      s.parameters.put(p.values.slot, composeParameter(p.title, p.keyword, p.values));
    }
    return s;
  }();
  return stores;
}

// The records the caller's array can take: CAPACITY, never more than the array holds.
int32_t roomOf(FTextArray records, int32_t capacity) {
  return std::max(0, std::min(capacity, records.count()));
}

// Record I of RECORDS for i = 1 to COUNT from the slot in entry i of SLOTS. Stops at the
// caller's capacity and at the end of SLOTS: a COUNT beyond either would write past the
// caller's array or read past the list.
void copySlots(const DescriptorStore& store, std::span<const int32_t> slots, FTextArray records,
               int32_t capacity, int32_t count) {
  const int32_t listed = static_cast<int32_t>(std::min<size_t>(slots.size(), INT32_MAX));
  const int32_t n = std::min({count, roomOf(records, capacity), listed});
  for (int32_t i = 1; i <= n; ++i) {
    records.at(i).assign(store.at(slots[static_cast<size_t>(i - 1)]));
  }
}

// One call of a table at LEVEL: 0 the probe, 1 the top records, 2 and 3 by slot.
void readTable(const TableStores& stores, int32_t level, std::span<const int32_t> slots,
               FTextArray records, int32_t capacity, int32_t& count, int32_t& answer) {
  if (level == 0) {
    answer = 100;
    return;
  }
  answer = 0;
  if (level == 1) {
    count = stores.topCount;
    const int32_t n = std::min(count, roomOf(records, capacity));
    for (int32_t i = 1; i <= n; ++i) records.at(i).assign(stores.top.at(i));
  } else if (level == 2) {
    copySlots(stores.second, slots, records, capacity, count);
  } else if (level == 3) {
    copySlots(stores.parameters, slots, records, capacity, count);
  }
}

}  // namespace

std::string DSCREC(const Descriptor& d) {
  std::vector<fmt::Item> items{d.title, d.keyword, d.kind};
  std::string_view format = kListFormat;
  switch (d.layout) {
    case DescriptorLayout::kList:
      break;
    case DescriptorLayout::kSection:
      format = kSectionFormat;
      items.emplace_back(d.word);
      break;
    case DescriptorLayout::kValue:
      format = d.reals.empty() ? kIntegerFormat : kRealFormat;
      items.emplace_back(d.word);
      for (float r : d.reals) items.emplace_back(r);
      break;
    case DescriptorLayout::kFile:
      format = kFileFormat;
      items.emplace_back(d.description);
      break;
  }
  if (d.layout != DescriptorLayout::kFile) {
    for (int32_t v : d.integers) items.emplace_back(v);
  }
  std::string record = fmt::format1(format, items);
  record.resize(kDescriptorLength, ' ');
  return record;
}

void MATCON(const int32_t& level, std::span<const int32_t> slots, FTextArray records,
            const int32_t& capacity, int32_t& count, int32_t& answer) {
  readTable(materialStores(), level, slots, records, capacity, count, answer);
}

void PHYTYP(const int32_t& level, std::span<const int32_t> slots, FTextArray records,
            const int32_t& capacity, int32_t& count, int32_t& answer) {
  readTable(physicalStores(), level, slots, records, capacity, count, answer);
}

// ---- Dispatch by analysis-program code ------------------------------------------------

namespace {

using DescriptorTable = void (*)(const int32_t&, std::span<const int32_t>, FTextArray,
                                 const int32_t&, int32_t&, int32_t&);

constexpr int32_t kFirstProgram = 1;
constexpr int32_t kLastProgram = 52;

// The two analysis programs that have descriptor tables; both read the same tables.
bool hasDescriptorTables(int32_t code) { return code == 21 || code == 27; }

// Every other program of the list: it has no descriptors.
void noDescriptors(int32_t& answer) { answer = 0; }

void dispatch(DescriptorTable table, int32_t code, const int32_t& level,
              std::span<const int32_t> slots, FTextArray records, const int32_t& capacity,
              int32_t& count, int32_t& answer) {
  answer = 0;
  if (level > 3 && !hasDescriptorTables(code)) {
    const int32_t n = roomOf(records, capacity);
    for (int32_t i = 1; i <= n; ++i) records.at(i).fill(' ');
    return;
  }
  if (code < kFirstProgram || code > kLastProgram) return;
  if (hasDescriptorTables(code)) {
    table(level, slots, records, capacity, count, answer);
  } else {
    noDescriptors(answer);
  }
}

}  // namespace

void MATDSC(const int32_t& code, const int32_t& level, std::span<const int32_t> slots,
            FTextArray records, const int32_t& capacity, int32_t& count, int32_t& answer) {
  dispatch(MATCON, code, level, slots, records, capacity, count, answer);
}

void PHYDSC(const int32_t& code, const int32_t& level, std::span<const int32_t> slots,
            FTextArray records, const int32_t& capacity, int32_t& count, int32_t& answer) {
  dispatch(PHYTYP, code, level, slots, records, capacity, count, answer);
}

void installDescriptorDispatch() {
  DSCDSP.material = MATDSC;
  DSCDSP.property = PHYDSC;
}

}  // namespace kvr
