// The query session start: USTRT2 and the session data it derives (UNDATR, ULDATR,
// UGRPNO).
#include "modelquery/session.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "command/cmdini.h"
#include "command/mnutab.h"
#include "geometry/geodsp.h"
#include "modeldb/arrreg.h"
#include "modeldb/attlst.h"
#include "modeldb/corsto.h"
#include "modeldb/dbdump.h"
#include "modeldb/dbhead.h"
#include "modeldb/dbpage.h"
#include "modeldb/descriptors.h"
#include "modeldb/entqry.h"
#include "modeldb/entrec.h"
#include "modeldb/entrsl.h"
#include "modeldb/linrec.h"
#include "modeldb/setrec.h"
#include "modelquery/coordsys.h"
#include "modelquery/elemown.h"
#include "modelquery/elfaces.h"
#include "modelquery/entpar.h"
#include "modelquery/linlen.h"
#include "modelquery/loadeval.h"
#include "modelquery/qrydata.h"
#include "modelquery/queries.h"
#include "modelquery/setlst.h"
#include "modelquery/setqry.h"
#include "platform/fmtedit.h"
#include "runtime/chrset.h"
#include "runtime/fouvre.h"
#include "runtime/genopen.h"
#include "runtime/gridmd.h"
#include "runtime/iounit.h"
#include "runtime/modcnt.h"
#include "runtime/pltdev.h"
#include "runtime/startup.h"
#include "runtime/sysini.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kRead = 1;
constexpr int32_t kWrite = -1;
constexpr int32_t kIntegers = -1;

// USTRT2 statuses.
constexpr int32_t kReady = 0;
constexpr int32_t kOpenFailed = 1;
constexpr int32_t kNotAModel = 2;
constexpr int32_t kNameTooLong = 3;
constexpr int32_t kKeywordTable = 4;
constexpr int32_t kNoStore = 5;
constexpr int32_t kWorkTooSmall = 9;

constexpr int32_t kNameLength = 128;
constexpr int32_t kTerminalInputType = 1;
constexpr int32_t kTerminalOutputType = 2;
constexpr int32_t kFormFormatted = 1;
constexpr int32_t kFormDirect = 3;
constexpr int32_t kModeReadOnly = 4;
constexpr int32_t kModeAppend = 3;
constexpr int32_t kPageFactor1 = 2000;
constexpr int32_t kPageFactor2 = 1;
constexpr int32_t kUseMode = 1;  // HDRCHK: load format 9071 only

// The session caches of the queries, each emptied when a session starts.
constexpr std::array<void (*)(), 5> kSessionResets = {
    resetListCursor, resetOwnerCache, resetEntityCache, resetLoadEvaluation, resetFaceListFlag};

// Attribute types and kinds of the session data.
constexpr int32_t kConditionType = 5;
constexpr int32_t kLoadType = 9;
constexpr int32_t kEntryType = -6;
constexpr int32_t kConditionValues = 6;
constexpr int32_t kLoadValues = 10;
constexpr int32_t kEntryValues = 3;
constexpr int32_t kNodeKind = 8;
constexpr int32_t kSetTargetKind = 7;
constexpr int32_t kLineKind = 2;
constexpr int32_t kMemberLineKind = 9;  // a load target: the members of a composite line

// The REAL value that reads back as record R: R + 0.1.
float recordValue(int64_t r) { return static_cast<float>(r) + 0.1f; }

// ---- Node condition records -------------------------------------------------------------

// NODCND records 1..N, kept in named array 22 itself: each record a node reaches is read,
// changed and written back in place, so that nothing of the array is copied and only the
// pages of the nodes reached are ever written.
class NodeRecords {
 public:
  explicit NodeRecords(int32_t n) : n_(n) {
    // The records the array holds already (a model saved during a session) are cleared;
    // those it gains come zeroed from the extension.
    const int32_t had = REGHED.ARRLEN(kArrNodeConditions);
    if (n > had) {
      int32_t first = 0;
      int32_t stat = 0;
      ARRALC(kArrNodeConditions, n - had, first, stat);
    }
    records_ = CoreRecords(REGHED.file, REGHED.ARRCOR(kArrNodeConditions));
    constexpr int32_t kClearRun = 4096;
    const std::vector<int32_t> zeros(static_cast<size_t>(kClearRun) * kNodeConditionWords, 0);
    for (int32_t r = 1; r <= std::min(had, n); r += kClearRun) {
      records_.put(r, std::min(kClearRun, std::min(had, n) - r + 1), zeros);
    }
  }
  // True for a node number that has a record; a number from stored data is tested before
  // it becomes a record number.
  bool holds(int64_t node) const { return node >= 1 && node <= n_; }
  // Hands the three words of NODE's record to CHANGE and writes them back.
  template <class Change>
  void change(int32_t node, Change apply) {
    std::array<int32_t, kNodeConditionWords> r{};
    records_.get(node, 1, std::span<int32_t>(r));
    apply(r);
    records_.put(node, 1, r);
  }

 private:
  int32_t n_;
  CoreRecords records_;
};

// The values of each entry of attribute TYPE among 1..COUNT, in ascending number.
struct Entry {
  int32_t id;
  std::array<float, kLoadValues> values{};
};
std::vector<Entry> realEntries(int32_t type, int32_t count, int32_t n) {
  std::vector<Entry> out;
  for (const int32_t id : attributeIds(type, count)) {
    Entry e{id};
    int32_t got = n;
    ATTVLR(kRead, type, id, 1, got, std::span<float>(e.values).first(static_cast<size_t>(n)));
    if (got != 0) out.push_back(e);
  }
  return out;
}

// The nodes a condition reaches through one of its targets: every node (ALL), or NODES.
struct Target {
  bool all = false;
  std::span<const int32_t> nodes;
};

// The counts of the model and the session, as before any opening: a failed opening leaves
// no session behind, the counts of an earlier model included.
void forgetModel() {
  MODCNT = {};
  MODSTA = {};
  SESCNT = {};
}

}  // namespace

void installNodeQueries() {
  DSCDSP.pointNodes = NDPNT;
  DSCDSP.lineNodes = NDLIN;
  DSCDSP.surfaceNodes = NDSRF;
  DSCDSP.bodyNodes = NDBOD;
  DSCDSP.setMembers = USET2;
  DSCDSP.entityNodes = UNODEG;
  DSCDSP.elementRange = UELEMG;
  DSCDSP.lineMesh = CONMSH;
  GEODSP.nodeCoordinates = UNODE;
  GEODSP.pointCoordinates = UPNT2;
  GEODSP.surfaceDescription = USURF2;
  GEODSP.lineLength = LINLEN;
  GEODSP.setSurfaces = SETSRF;
  GEODSP.setLines = SETLIN;
  GEODSP.listStore = FACSRC;
  GEODSP.workWord = NAWORD;
  installCoordinateQueries();
}

void USTRT2(FText name, std::span<int32_t> /*work*/, const int32_t& size, int32_t& status) {
  // 1. Start-up, and the entries through which the model database reaches the queries.
  forgetModel();
  SYSINI();
  CHRSET();
  MDLCON();
  USEMPT();
  installEntityLabels();
  installDescriptorDispatch();
  installDatabaseDump();
  installNodeQueries();

  // 2. The host's terminal types are only marked open; nothing can fail.
  int32_t stat = 0;
  FOUVRE(kTerminalInputType, {}, 0, kFormFormatted, kModeReadOnly, stat);
  FOUVRE(kTerminalOutputType, {}, 0, kFormFormatted, kModeAppend, stat);

  // 3. Console output, display and window state.
  PLTDEV.recordCount = 0;
  LOGOPN(1, 1);
  DSPRST(1, 0);

  // 4, 5. The answer store and the model store, set up afresh.
  ARRNUM(5);
  ARRREG(4, 1, stat);
  if (stat != 0) {
    status = kNoStore;
    return;
  }
  ARRNUM(1);
  ARRREG(2, 1, stat);
  if (stat != 0) {
    status = kNoStore;
    return;
  }

  // 6. The page size of the road, and the session caches emptied.
  DBPARM.pageFactor1 = kPageFactor1;
  DBPARM.pageFactor2 = kPageFactor2;
  for (void (*reset)() : kSessionResets) reset();
  status = kReady;

  // 7. The name, stripped of blanks, tabs and NULs. The host's text is only read.
  const int32_t length = LENTRM(name);
  FixedText copy(length, name.view().substr(0, static_cast<size_t>(length)));
  int32_t n = length;
  STRIPB(copy, n);
  if (n > kNameLength) {
    status = kNameTooLong;
    return;
  }
  FixedText file(kNameLength, copy.view().substr(0, static_cast<size_t>(n)));
  // The dump of this session is named after the file opened.
  MDLFIL.text().assign(file.view());

  // 8. The model file, read only: this road never writes it.
  const int32_t unit = DBPARM.type18Unit;
  TLFOPN(file, n, 0, 0, unit, kFormDirect, kModeReadOnly, DBPARM.modelPageSize(), stat);
  if (stat != 0) {
    status = kOpenFailed;
    return;
  }

  // 9, 10. The header's status word alone, then the whole header check and the load.
  std::array<int32_t, 1> first{};
  RANDIO(first, 1, 1, 0, unit);
  if (first[0] != 1) {
    status = kNotAModel;
    return;
  }
  HDRCHK(kUseMode, unit, stat);
  if (stat != 0) {
    forgetModel();
    status = kNotAModel;
    return;
  }

  // 11. The command processor and its keyword table.
  CMDINI(stat);
  if (GRIDMD() != 0) {
    MNUTBB();
  } else {
    MNUTBA();
  }
  MNUCNV(stat);
  if (stat != 0) {
    status = kKeywordTable;
    return;
  }

  // 12. The host's work array was promised twice the highest node number.
  if (int64_t{size} < 2 * int64_t{highestNode()}) {
    status = kWorkTooSmall;
    return;
  }

  // 13. The session data, collected into buffers of their own: the host's work array
  // is never written.
  UNDATR();
  ULDATR();
  UGRPNO();
}

void UNDATR() {
  const int32_t n = highestNode();
  if (n <= 0) return;
  NodeRecords records(n);
  // Room for the nodes of one entity: what the work array check promised. It is taken
  // when an entity is first collected, and only the words the collections write are
  // ever touched.
  const auto room = static_cast<int32_t>(std::min<int64_t>(2 * int64_t{n}, std::numeric_limits<int32_t>::max()));
  std::unique_ptr<int32_t[]> taken;
  auto buffer = [&]() {
    if (!taken) taken.reset(new int32_t[static_cast<size_t>(room)]);
    return std::span<int32_t>(taken.get(), static_cast<size_t>(room));
  };

  // The nodes of target CODE for the pass of KIND; nullopt when the pass does not take it.
  auto target = [&](int32_t code, int32_t kind, bool anyPass) -> std::optional<Target> {
    if (code < 1) {
      if (kind != kNodeKind) return std::nullopt;
      return Target{true, {}};
    }
    if (!anyPass && code % 10 != kind) return std::nullopt;
    int32_t count = 0;
    int32_t none = 0;
    const std::span<int32_t> nodes = buffer();
    ENTRSL(code % 10, code / 10, nodes, room, count, none);
    if (none != 0) return std::nullopt;
    return Target{false, nodes.first(static_cast<size_t>(std::clamp(count, 0, room)))};
  };
  auto each = [&](const Target& t, auto&& apply) {
    if (t.all) {
      for (int32_t node = 1; node <= n; ++node) apply(node);
      return;
    }
    for (const int32_t node : t.nodes) {
      if (records.holds(node)) apply(node);
    }
  };

  // Condition passes, from nodes down to points: a condition on a smaller entity wins.
  const std::vector<Entry> conditions =
      realEntries(kConditionType, MODCNT.word(kCntConditions), kConditionValues);
  for (const int32_t kind : {8, 7, 4, 3, 2, 1}) {
    for (const Entry& c : conditions) {
      const std::optional<Target> first = target(intOf(c.values[2]), kind, false);
      if (!first) continue;
      const int32_t type = intOf(c.values[0]);
      const int32_t mask = intOf(c.values[1]);
      each(*first, [&](int32_t node) {
        records.change(node, [&](std::array<int32_t, kNodeConditionWords>& r) {
          if (type == 1 || type == 4) FLGMRG(r[0], mask);
          r[2] = c.id;
        });
      });
      if (type != 2) continue;
      const std::optional<Target> second = target(intOf(c.values[4]), kind, true);
      if (second) {
        each(*second, [&](int32_t node) {
          records.change(node, [&](std::array<int32_t, kNodeConditionWords>& r) { r[2] = c.id; });
        });
      }
    }
  }

  // Coordinate systems, from bodies down to points: a later assignment wins.
  auto assignSystem = [&](int32_t node, int32_t c) {
    records.change(node, [c](std::array<int32_t, kNodeConditionWords>& r) { r[1] = c; });
  };
  auto system = [&](NodeCollector collect, int32_t id, int32_t c) {
    if (c == 0) return;
    int32_t count = 0;
    int32_t stat = 0;
    const std::span<int32_t> nodes = buffer();
    collect(id, count, nodes, room, stat);
    if (stat != 0) return;
    for (const int32_t node : nodes.first(static_cast<size_t>(std::clamp(count, 0, room)))) {
      if (records.holds(node)) assignSystem(node, c);
    }
  };
  for (int32_t b = 1; entityHeld(kArrBodies, kBodyWords, b, MODCNT.word(kCntBodies)); ++b) {
    RECIO(kRead, kArrBodies, b, ENTBUF.body);
    system(NDBOD, b, ENTBUF.body[13] / 10);
  }
  for (int32_t s = 1; entityHeld(kArrSurfaces, kSurfaceWords, s, MODCNT.word(kCntSurfaces)); ++s) {
    RECIO(kRead, kArrSurfaces, s, ENTBUF.surface);
    system(NDSRF, s, ENTBUF.surface[8] / 10);
  }
  for (int32_t l = 1; entityHeld(kArrLines, kLineWords, l, MODCNT.word(kCntLines)); ++l) {
    if (LNG07B(l) != kCompositeLine) system(NDLIN, l, LNG10B(l));
  }
  for (int32_t p = 1; entityHeld(kArrPoints, kPointWords, p, MODCNT.word(kCntPoints)); ++p) {
    RECIO(kRead, kArrPoints, p, ENTBUF.point);
    const int32_t c = ENTBUF.point[9] / 10;
    const int32_t node = ENTBUF.point[5];
    if (c != 0 && node != 0 && records.holds(node)) assignSystem(node, c);
  }
}

void ULDATR() {
  int64_t r = std::max(highestNode(), 0);
  std::vector<int32_t> out;
  for (int32_t w = kCntLoadTargets; w <= kCntTargetsSpare; ++w) MODCNT.word(w) = 0;
  std::vector<int32_t> members(64);

  // Appends the records of OWNER's target CODE to run RUN; word 3 is THIRD when given,
  // else the record's code. Composite lines among set members are left out for LOADS.
  auto append = [&](int32_t owner, int64_t code, std::optional<int32_t> third, int32_t run) {
    const int32_t c = clampWord(code);
    out.insert(out.end(), {owner, c, third.value_or(c)});
    ++r;
    ++MODCNT.word(run);
  };
  auto targets = [&](int32_t owner, int32_t code, std::optional<int32_t> third, bool loads,
                     int32_t run) {
    const int32_t kind = code % 10;
    const int32_t number = code / 10;
    if ((kind == kLineKind && LNG07B(number) == kCompositeLine) || kind == kMemberLineKind) {
      std::array<int32_t, kMaxMembers> lines{};
      int32_t nm = 0;
      if (LNG07B(number) == kCompositeLine) LNG08B(number, lines, nm);
      for (int32_t k = 0; k < nm; ++k) {
        append(owner, int64_t{lines[static_cast<size_t>(k)]} * 10 + kLineKind, third, run);
      }
      return;
    }
    if (kind == kSetTargetKind) {
      int32_t mkind = 0, first = 0, last = 0;
      // The member list grows to what the set holds.
      const int32_t held = SETNMB(number);
      if (held > static_cast<int32_t>(members.size())) members.resize(static_cast<size_t>(held));
      SETMBR(number, members, static_cast<int32_t>(members.size()), mkind, first, last);
      if (mkind <= 0) return;
      last = std::min(last, static_cast<int32_t>(members.size()));
      for (int32_t p = first; p <= last; ++p) {
        const int32_t m = members[static_cast<size_t>(p - 1)];
        if (loads && mkind == kLineKind && LNG07B(m) == kCompositeLine) continue;
        append(owner, int64_t{m} * 10 + mkind, third, run);
      }
      return;
    }
    append(owner, code, third, run);
  };

  for (Entry& load : realEntries(kLoadType, MODCNT.word(kCntLoads), kLoadValues)) {
    load.values[4] = recordValue(r + 1);
    targets(load.id, intOf(load.values[1]), std::nullopt, true, kCntLoadTargets);
    // Every load gets its range written, an empty one (value 6 = value 5 - 1) when no
    // record was appended: values kept from the file would name records of another load.
    load.values[5] = recordValue(r);
    int32_t count = kLoadValues;
    ATTVLR(kWrite, kLoadType, load.id, 1, count, load.values);
  }
  for (const Entry& c : realEntries(kConditionType, MODCNT.word(kCntConditions), kConditionValues)) {
    targets(c.id, intOf(c.values[2]), std::nullopt, false, kCntConditionTargets);
  }
  for (const int32_t id : attributeIds(kEntryType, MODCNT.word(kCntKind35))) {
    std::array<int32_t, kEntryValues> v{};
    int32_t got = kEntryValues;
    ATTVLI(kRead, kEntryType, id, 1, got, v);
    if (got == 0) continue;
    targets(id, v[0], v[1], false, kCntEntryTargets);
  }

  if (!out.empty()) {
    int32_t stat = 0;
    const auto count = static_cast<int32_t>(out.size() / kNodeConditionWords);
    ARRIO(kWrite, kArrNodeConditions, std::max(highestNode(), 0) + 1, count, kIntegers, out, {}, stat);
  }
}

namespace {

// Where an entity kind keeps the words of its element group.
struct GroupWords {
  int32_t array;
  int32_t width;
  int32_t countWord;
  int32_t kind;
  int32_t codeWord;      // the element-type code: the word mod 100 (a body: the whole word)
  int32_t groupWord;     // group x 100 + units part
  int32_t materialWord;  // material and property, compared whole
};

constexpr GroupWords kPointGroups = {kArrPoints, kPointWords, kCntPoints, 1, 8, 8, 7};
constexpr GroupWords kLineGroups = {kArrLines, kLineWords, kCntLines, 2, 7, 12, 11};
constexpr GroupWords kSurfaceGroups = {kArrSurfaces, kSurfaceWords, kCntSurfaces, 3, 6, 10, 11};
constexpr GroupWords kBodyGroups = {kArrBodies, kBodyWords, kCntBodies, 4, 8, 13, 12};

// Numbers the groups of one entity kind from G + 1 on: every entity that carries a mesh
// joins the group of the first with the same combination of element-type code, units
// part and material word.
void numberGroups(const GroupWords& g, int32_t& groups) {
  struct KeyHash {
    size_t operator()(const std::pair<int64_t, int32_t>& k) const {
      return std::hash<int64_t>()(k.first * 1000003 + k.second);
    }
  };
  std::unordered_map<std::pair<int64_t, int32_t>, int32_t, KeyHash> groupOf;
  std::vector<int32_t> rec(static_cast<size_t>(g.width));
  auto word = [&rec](int32_t k) -> int32_t& { return rec[static_cast<size_t>(k - 1)]; };
  const bool point = g.kind == 1;
  const bool body = g.kind == 4;
  for (int32_t id = 1; entityHeld(g.array, g.width, id, MODCNT.word(g.countWord)); ++id) {
    if (ENTEXS(id, g.kind) == 0) continue;
    RECIO(kRead, g.array, id, rec);
    int32_t& gw = word(g.groupWord);
    gw %= 100;  // the group numbers of an earlier session cleared
    const int32_t code = body ? word(g.codeWord) : word(g.codeWord) % 100;
    if (code != 0) {
      const int32_t units = point ? code : (gw == 0 ? 1 : gw);
      const std::pair<int64_t, int32_t> key{point ? int64_t{code} : int64_t{code} * 100 + units,
                                            word(g.materialWord)};
      auto [at, fresh] = groupOf.try_emplace(key, groups + 1);
      if (fresh) ++groups;
      gw = clampWord(int64_t{at->second} * 100 + units);
    }
    RECIO(kWrite, g.array, id, rec);
  }
}

}  // namespace

void UGRPNO() {
  int32_t groups = 0;
  numberGroups(kPointGroups, groups);
  numberGroups(kLineGroups, groups);
  numberGroups(kSurfaceGroups, groups);
  numberGroups(kBodyGroups, groups);
  SESCNT.word(1) = groups;
  SESCNT.word(2) = 0;
  for (const Entry& load : realEntries(kLoadType, MODCNT.word(kCntLoads), 3)) {
    SESCNT.word(2) = std::max(SESCNT.word(2), intOf(load.values[2]));
  }
}

}  // namespace kvr
