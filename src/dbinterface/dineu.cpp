#include "dbinterface/dineu.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dbinterface/diblocks.h"
#include "dbinterface/dipmat.h"
#include "dbinterface/direcs.h"
#include "dbinterface/tmpstream.h"
#include "modeldb/elttab.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "runtime/codtxt.h"

namespace kvr {
namespace {

// The value of the file's last line.
constexpr int32_t kLastLineValue = 9999;

// Characters of a model name that key 1 shows, and of a dataset name every other key shows.
constexpr int32_t kShortName = 6;

// Multi-point constraints of this type and above carry a term record per node, those
// below it one term record followed by the node ids.
constexpr int32_t kPerNodeTerms = 12;

// One stream record of N words, numbered from 1.
template <int32_t N>
struct Rec {
  std::array<int32_t, N> words{};

  int32_t word(int32_t k) const { return words[static_cast<std::size_t>(k - 1)]; }
  // Words FIRST .. FIRST + COUNT - 1.
  std::span<const int32_t> codes(int32_t first, int32_t count) const {
    return std::span<const int32_t>(words).subspan(static_cast<std::size_t>(first - 1),
                                                   static_cast<std::size_t>(count));
  }
};

// A line of the file: one blank, then its fields, each of exactly its width.
constexpr std::size_t kLineRoom = 160;

class Line {
 public:
  // Room for the longest line at once: growing field by field would reallocate the text
  // several times on every line. The texts of lines written go back to a few spares for
  // the next lines, so that a file of many lines allocates for its first few only.
  Line() : text_(spareText()) { text_ = " "; }
  // A copy keeps the room too: a line handed on is still built field by field.
  Line(const Line& other) : text_(spareText()) { text_ = other.text_; }
  Line& operator=(const Line&) = default;
  ~Line() {
    std::vector<std::string>& spares = spareTexts();
    if (spares.size() < kSpareTexts) spares.push_back(std::move(text_));
  }

  Line& i(int64_t value, int w) {
    fmt::appendI(text_, value, w);
    return *this;
  }
  // Ew.d of the real whose 32-bit pattern is WORD.
  Line& e(int32_t word, int w, int d) {
    fmt::appendE(text_, std::bit_cast<float>(word), w, d);
    return *this;
  }
  // nA1: one character per code word.
  Line& a(std::span<const int32_t> codes) {
    for (int32_t c : codes) text_ += charOf(c);
    return *this;
  }
  Line& x(int n) {
    text_.append(static_cast<std::size_t>(n), ' ');
    return *this;
  }
  Line& literal(std::string_view s) {
    text_ += s;
    return *this;
  }
  const std::string& text() const { return text_; }

 private:
  static constexpr std::size_t kSpareTexts = 4;

  static std::vector<std::string>& spareTexts() {
    static std::vector<std::string> spares;
    return spares;
  }
  // A spare text, or a new one with the room of a line.
  static std::string spareText() {
    std::vector<std::string>& spares = spareTexts();
    std::string text;
    if (spares.empty()) {
      text.reserve(kLineRoom);
    } else {
      text = std::move(spares.back());
      spares.pop_back();
    }
    return text;
  }

  std::string text_;
};

// A count read from a stream, as a number of reads: never below 0.
int64_t countOf(int64_t n) { return std::max<int64_t>(n, 0); }

enum class Next { Record, End, Failed };

// Reads one dataset from a channel and writes its lines. Every step answers false at
// the first failure, which STATUS then tells.
class Writer {
 public:
  explicit Writer(int32_t k) : k_(k), unit_(DICTL.luneu), format_(DICTL.numberFormat) {}

  int32_t run() {
    if (datasets()) put(Line().i(kTagEnd, 2));
    return status_;
  }

 private:
  // ---- reading and writing
  bool read(std::span<int32_t> words) {
    if (words.empty()) return true;
    int32_t flag = 0;
    TMPRD(words, k_, flag);
    if (flag != 0) status_ = kNeutralReadFailed;
    return flag == 0;
  }
  template <int32_t N>
  bool read(Rec<N>& r) {
    return read(std::span<int32_t>(r.words));
  }
  // Reads a record where the end record may stand: its tag first, the rest only when it
  // is not the end record (which may be shorter than the record it stands in for).
  template <int32_t N>
  Next next(Rec<N>& r) {
    std::span<int32_t> all(r.words);
    if (!read(all.first(1))) return Next::Failed;
    if (r.word(1) == kTagEnd) return Next::End;
    return read(all.subspan(1)) ? Next::Record : Next::Failed;
  }
  bool put(const Line& line) {
    if (io::writeRecord(unit_, line.text()) != io::kIosOk) {
      status_ = kNeutralWriteFailed;
      return false;
    }
    return true;
  }

  // ---- field widths of the number format
  int idWidth() const { return format_ == kFormatI5E12 ? 5 : 10; }
  // Integers on a node or member line.
  int perLine() const { return format_ == kFormatI5E12 ? 15 : 10; }
  // Three coordinates of a node or a Gauss point.
  Line& coordinates(Line& line, int32_t x, int32_t y, int32_t z) const {
    const int w = format_ == kFormatI10E14 ? 14 : 12;
    const int d = format_ == kFormatI10E14 ? 7 : 5;
    return line.e(x, w, d).e(y, w, d).e(z, w, d);
  }

  // ---- shared line shapes
  // Reads COUNT integers and writes them after the fields of LINE, PER to a line of width
  // W; those beyond the first PER go on continuation lines " -2". LINE is written even
  // when COUNT is 0.
  bool integers(Line line, int64_t count, int per, int w) {
    std::array<int32_t, 15> chunk{};
    int64_t left = countOf(count);
    for (;;) {
      const auto n = static_cast<std::size_t>(std::min<int64_t>(left, per));
      if (!read(std::span<int32_t>(chunk).first(n))) return false;
      for (std::size_t j = 0; j < n; ++j) line.i(chunk[j], w);
      if (!put(line)) return false;
      left -= static_cast<int64_t>(n);
      if (left == 0) return true;
      line = Line().literal("-2");
    }
  }
  // Reads COUNT reals and writes them on lines " -2" of six E12.5; no line for none.
  bool continuationReals(int64_t count) {
    std::array<int32_t, 6> chunk{};
    for (int64_t left = countOf(count); left > 0;) {
      const auto n = static_cast<std::size_t>(std::min<int64_t>(left, 6));
      if (!read(std::span<int32_t>(chunk).first(n))) return false;
      Line line;
      line.literal("-2");
      for (std::size_t j = 0; j < n; ++j) line.e(chunk[j], 12, 5);
      if (!put(line)) return false;
      left -= static_cast<int64_t>(n);
    }
    return true;
  }
  // A value record: tag, id and count, then the count's reals, written six to a line
  // with the tag and the id (of width W) repeated on every line; one line when there are
  // none.
  bool valueRecord(int w) {
    Rec<3> r;
    if (!read(r)) return false;
    return values(r.word(1), r.word(2), w, r.word(3));
  }
  bool values(int32_t tag, int32_t id, int w, int64_t count) {
    std::array<int32_t, 6> chunk{};
    int64_t left = countOf(count);
    do {
      const auto n = static_cast<std::size_t>(std::min<int64_t>(left, 6));
      if (!read(std::span<int32_t>(chunk).first(n))) return false;
      Line line;
      line.i(tag, 2).i(id, w);
      for (std::size_t j = 0; j < n; ++j) line.e(chunk[j], 12, 5);
      if (!put(line)) return false;
      left -= static_cast<int64_t>(n);
    } while (left > 0);
    return true;
  }
  // Nine reals of local axes as two lines: tag and id (of width W), six reals; tag and
  // id, three reals. R holds -2, ID, the nine reals.
  bool axes(const Rec<11>& r, int w) {
    Line first;
    first.i(r.word(1), 2).i(r.word(2), w);
    for (int32_t j = 3; j <= 8; ++j) first.e(r.word(j), 12, 5);
    Line second;
    second.i(r.word(1), 2).i(r.word(2), w);
    for (int32_t j = 9; j <= 11; ++j) second.e(r.word(j), 12, 5);
    return put(first) && put(second);
  }

  // ---- datasets
  bool datasets();
  Line headerLine(const Rec<kHeaderRecordWords>& h) const;
  bool components(int32_t key);
  bool dataset(int32_t key);
  bool nodes();
  bool elements();
  bool set();
  bool materials();
  bool beamLoads();
  bool combination();
  bool gaussPoints();
  bool scan();
  bool nodalAxes();
  bool elementAxes(bool gauss);
  bool constraints();
  bool mpcs();
  bool localSystems();
  bool transformations();
  bool symbolSets();
  bool names();
  bool results();
  bool variant();

  int32_t k_;
  int32_t unit_;
  int32_t format_;
  int32_t status_ = kNeutralOk;
};

// The header loop: a model header (key 1 or 111) is followed in its stream by the dataset
// it opens, or, for a build, by the list of assembly components.
bool Writer::datasets() {
  Rec<kHeaderRecordWords> h;
  for (;;) {
    if (!read(h) || !put(headerLine(h))) return false;
    const int32_t key = h.word(kHeaderKey);
    if (key != 1 && key != 111) return dataset(key);
    if (h.word(kHeaderLetter) == codeOf('B')) return components(key);
  }
}

// Key 1: 1X, I4 key, A1 opcode letter, 6A1 name, 61X, I2 number format (key 111 with the
// name's 20 characters); every other key: 1X, I4 key, A1 letter, 6A1 name, E12.5 value,
// 12X, 20A1 title, I2 flag, I5 number, 10A1 text, I2 number format.
Line Writer::headerLine(const Rec<kHeaderRecordWords>& h) const {
  const int32_t key = h.word(kHeaderKey);
  Line line;
  line.i(key, 4).a(h.codes(kHeaderLetter, 1));
  if (key == 1 || key == 111) {
    line.a(h.codes(kHeaderName, key == 111 ? kHeaderNameCodes : kShortName)).x(61);
  } else {
    line.a(h.codes(kHeaderName, kShortName))
        .e(h.word(kHeaderValue), 12, 5)
        .x(12)
        .a(h.codes(kHeaderTitle, kHeaderTitleCodes))
        .i(h.word(kHeaderFlag), 2)
        .i(h.word(kHeaderNumber), 5)
        .a(h.codes(kHeaderText, kHeaderTextCodes));
  }
  return line.i(format_, 2);
}

// Assembly components: tag, the component name (20 codes), n, then n integers. 1X, I2
// tag, 1X, 20A1 name (6A1 under key 1), 12 integers of id width, the rest on " -2" lines.
bool Writer::components(int32_t key) {
  for (;;) {
    Rec<22> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).x(1).a(r.codes(2, key == 111 ? kHeaderNameCodes : kShortName));
    if (!integers(line, r.word(22), 12, idWidth())) return false;
  }
}

bool Writer::dataset(int32_t key) {
  switch (key) {
    case 2: return nodes();
    case 3: return elements();
    case 18:
    case 19: return set();
    case 20: return materials();
    case 28: return beamLoads();
    case 29: return combination();
    case 30: return gaussPoints();
    case 31: return scan();
    case 32: return nodalAxes();
    case 33: return elementAxes(false);
    case 34: return elementAxes(true);
    case 41: return constraints();
    case 42: return mpcs();
    case 43: return localSystems();
    case 50: return transformations();
    case 53: return symbolSets();
    case 54:
    case 55: return names();
    case 100:
    case 300: return results();
    default: return true;
  }
}

// -1, NODE, X, Y, Z, ISYS: 1X, I2, id, 3E12.5 (format 2: 3E14.7), I5.
bool Writer::nodes() {
  for (;;) {
    Rec<6> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth());
    coordinates(line, r.word(3), r.word(4), r.word(5)).i(r.word(6), 5);
    if (!put(line)) return false;
  }
}

// -1, IELEM, ITYPE, IEATT1, IEATT2, ISYS, 0: 1X, I2, id, 5I5; then the type's node
// numbers on lines 1X, "-2", 15I5 (formats 1, 2: 10I10). A type outside the element
// table has no nodes, so no node record follows it.
bool Writer::elements() {
  for (;;) {
    Rec<7> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth());
    for (int32_t j = 3; j <= 7; ++j) line.i(r.word(j), 5);
    if (!put(line)) return false;
    const int32_t count = ELNCNT(r.word(3));
    if (count > 0 && !integers(Line().literal("-2"), count, perLine(), idWidth())) return false;
  }
}

// The set header -1, name (8 codes), title (30 codes): 1X, I2, 8A1, 2X, 30A1. Then member
// records -2, count, members, each 1X, "-2", 15I5 (formats 1, 2: 10I10). A member record
// is read whole before its tag is tested.
bool Writer::set() {
  Rec<39> h;
  const Next n = next(h);
  if (n != Next::Record) return n == Next::End;
  Line line;
  line.i(h.word(1), 2).a(h.codes(2, kSetNameCodes)).x(2).a(h.codes(10, kSetTitleCodes));
  if (!put(line)) return false;
  for (;;) {
    Rec<2> m;
    if (!read(m)) return false;
    if (m.word(1) == kTagEnd) {
      for (int64_t left = countOf(m.word(2)); left > 0; --left) {
        Rec<1> member;
        if (!read(member)) return false;
      }
      return true;
    }
    if (!integers(Line().literal("-2"), m.word(2), perLine(), idWidth())) return false;
  }
}

// Tag, kind, a, b, material, four reals: 1X, 4I2, I5, 4E12.5. Kind 2 carries a + b
// further reals, kind 3 2(a + b), on " -2" lines of six; any other kind none.
bool Writer::materials() {
  for (;;) {
    Rec<9> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), 2).i(r.word(3), 2).i(r.word(4), 2).i(r.word(5), 5);
    for (int32_t j = 6; j <= 9; ++j) line.e(r.word(j), 12, 5);
    if (!put(line)) return false;
    const int64_t ab = countOf(r.word(3)) + countOf(r.word(4));
    const int64_t more = r.word(2) == 2 ? ab : r.word(2) == 3 ? 2 * ab : 0;
    if (!continuationReals(more)) return false;
  }
}

// The stream the loader reads (dipmat.h): a header of tag, w2 .. w9, written 1X, I2, id,
// 7I5; then its parts, each a tag record and six reals, written 1X, I2 tag, I5, 6E12.5.
// The stream carries no integer for a part: its I5 field holds 0, so that the reals stand
// in the columns where readers of the file look for them. Counts that cannot be followed
// (a negative one) end the dataset as a stream that cannot be read.
bool Writer::beamLoads() {
  for (;;) {
    Rec<kBeamLoadHeaderWords> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth());
    for (int32_t j = 3; j <= kBeamLoadHeaderWords; ++j) line.i(r.word(j), 5);
    if (!put(line)) return false;
    const int64_t parts = beamLoadParts(r.words);
    if (parts < 0) {
      status_ = kNeutralReadFailed;
      return false;
    }
    for (int64_t j = 0; j < parts; ++j) {
      Rec<1> tag;
      Rec<kBeamLoadPartWords> part;
      if (!read(tag) || !read(part)) return false;
      Line l;
      l.i(tag.word(1), 2).i(0, 5);
      for (int32_t w = 1; w <= kBeamLoadPartWords; ++w) l.e(part.word(w), 12, 5);
      if (!put(l)) return false;
    }
  }
}

// Tag, load-case name (6 codes), an integer, a factor: 1X, I2, 1X, 6A1, I5, E12.5.
bool Writer::combination() {
  for (;;) {
    Rec<9> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).x(1).a(r.codes(2, 6)).i(r.word(8), 5).e(r.word(9), 12, 5);
    if (!put(line)) return false;
  }
}

// Tag, IELEM, ITYPE, IEATT1, NPOINT, NLAYER: 1X, I2, id, 5I5 ITYPE IEATT1 0 NLAYER
// NPOINT. Then the point records tag, ID, three reals: 1X, I2, I5, 3E12.5 (format 2:
// 3E14.7).
bool Writer::gaussPoints() {
  for (;;) {
    Rec<6> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth()).i(r.word(3), 5).i(r.word(4), 5).i(0, 5);
    line.i(r.word(6), 5).i(r.word(5), 5);
    if (!put(line)) return false;
    // A factor of 0 counts as 1, as for the Gauss-point local axes: one record per
    // point and layer, never one record in all.
    const int64_t points = repeatCount(r.word(5), r.word(6));
    for (int64_t j = 0; j < points; ++j) {
      Rec<5> p;
      if (!read(p)) return false;
      Line l;
      l.i(p.word(1), 2).i(p.word(2), 5);
      if (!put(coordinates(l, p.word(3), p.word(4), p.word(5)))) return false;
    }
  }
}

// Records of tag and one word, skipped while the tag is -2; the first other one: 1X, I2,
// I5. Then records of tag, load-case name (6 codes), an integer: 1X, I2, 1X, 6A1, I5.
bool Writer::scan() {
  Rec<2> first;
  do {
    if (!read(first)) return false;
  } while (first.word(1) == kTagRepeat);
  // A scan without entries holds only its end record: it ends here, so its end record
  // is not written as a data line and read on beyond.
  if (first.word(1) == kTagEnd) return true;
  if (!put(Line().i(first.word(1), 2).i(first.word(2), 5))) return false;
  for (;;) {
    Rec<8> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    if (!put(Line().i(r.word(1), 2).x(1).a(r.codes(2, 6)).i(r.word(8), 5))) return false;
  }
}

// Tag, NODE, w3, w4: 1X, I2, id, 2I5. Then w4 x w3 axis records (each factor 0 counting
// as 1) of tag, ID, nine reals, each two lines with I5 ids.
bool Writer::nodalAxes() {
  for (;;) {
    Rec<4> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    if (!put(Line().i(r.word(1), 2).i(r.word(2), idWidth()).i(r.word(3), 5).i(r.word(4), 5))) {
      return false;
    }
    const int64_t count = repeatCount(r.word(4), r.word(3));
    for (int64_t j = 0; j < count; ++j) {
      Rec<11> a;
      if (!read(a) || !axes(a, 5)) return false;
    }
  }
}

// -1, IELEM, ITYPE, IEATT1, NPOINT, NLAYER; then NLAYER x NPOINT (each factor 0 counting
// as 1) records -2, ID, nine reals. Per element (key 33): 1X, I2, id, 4I5 ITYPE IEATT1
// NPOINT NLAYER, axis lines with id-width ids. Per Gauss point (key 34): 1X, I2, id, 5I5
// ITYPE IEATT1 0 NLAYER NPOINT, axis lines with I5 ids.
bool Writer::elementAxes(bool gauss) {
  for (;;) {
    Rec<6> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth()).i(r.word(3), 5).i(r.word(4), 5);
    if (gauss) {
      line.i(0, 5).i(r.word(6), 5).i(r.word(5), 5);
    } else {
      line.i(r.word(5), 5).i(r.word(6), 5);
    }
    if (!put(line)) return false;
    const int64_t count = repeatCount(r.word(6), r.word(5));
    for (int64_t j = 0; j < count; ++j) {
      Rec<11> a;
      if (!read(a) || !axes(a, gauss ? 5 : idWidth())) return false;
    }
  }
}

// -1, NODE, IDOF, ISYS, IEDOF: 1X, I2, id, 3I5.
bool Writer::constraints() {
  for (;;) {
    Rec<5> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2).i(r.word(2), idWidth()).i(r.word(3), 5).i(r.word(4), 5).i(r.word(5), 5);
    if (!put(line)) return false;
  }
}

// Tag, constraint id, type, a, b: 1X, I2, 4I5. Type 12 and above: a + b term records
// tag, w2, w3, w4, real; below 12: one term record tag, w2, w3, n, real and n integers.
// A term line: format 0 1X, I2, 2I5, E12.5, 10I5; formats 1, 2 1X, I2, I10, I5, E12.5,
// 10I10; integers beyond ten on " -2" lines.
bool Writer::mpcs() {
  for (;;) {
    Rec<5> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    Line line;
    line.i(r.word(1), 2);
    for (int32_t j = 2; j <= 5; ++j) line.i(r.word(j), 5);
    if (!put(line)) return false;
    const bool perNode = r.word(3) >= kPerNodeTerms;
    const int64_t terms = perNode ? countOf(r.word(4)) + countOf(r.word(5)) : 1;
    for (int64_t j = 0; j < terms; ++j) {
      Rec<5> t;
      if (!read(t)) return false;
      Line l;
      l.i(t.word(1), 2).i(t.word(2), idWidth()).i(t.word(3), 5).e(t.word(5), 12, 5);
      if (perNode) {
        if (!put(l)) return false;
      } else if (!integers(l, t.word(4), 10, idWidth())) {
        return false;
      }
    }
  }
}

// -1, ISYS, 0: 1X, I2, 2I5; then the nine reals on two lines 1X, I2 -2, 6E12.5 and 1X,
// I2 -2, 3E12.5.
bool Writer::localSystems() {
  for (;;) {
    Rec<3> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    if (!put(Line().i(r.word(1), 2).i(r.word(2), 5).i(r.word(3), 5))) return false;
    Rec<kAxesReals> a;
    if (!read(a)) return false;
    Line first;
    first.i(kTagRepeat, 2);
    for (int32_t j = 1; j <= 6; ++j) first.e(a.word(j), 12, 5);
    Line second;
    second.i(kTagRepeat, 2);
    for (int32_t j = 7; j <= 9; ++j) second.e(a.word(j), 12, 5);
    if (!put(first) || !put(second)) return false;
  }
}

// Tag, transformation number, flag: 1X, I2, id (the flag is not written); then sixteen
// reals on four lines 1X, I2 -2, 4E12.5.
bool Writer::transformations() {
  for (;;) {
    Rec<3> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    if (!put(Line().i(r.word(1), 2).i(r.word(2), idWidth()))) return false;
    Rec<16> m;
    if (!read(m)) return false;
    for (int32_t row = 0; row < 4; ++row) {
      Line line;
      line.i(kTagRepeat, 2);
      for (int32_t j = 1; j <= 4; ++j) line.e(m.word(4 * row + j), 12, 5);
      if (!put(line)) return false;
    }
  }
}

// A set header (19 words): tag, set name (8 codes), attribute name (8 codes), n, one
// word; then n symbol records of 65 words. A header is written only with tag -1, a
// symbol only with tag -2.
bool Writer::symbolSets() {
  for (;;) {
    Rec<19> h;
    const Next n = next(h);
    if (n != Next::Record) return n == Next::End;
    if (h.word(1) == kTagRecord) {
      Line line;
      line.i(h.word(1), 2).x(1).a(h.codes(2, 8)).x(1).a(h.codes(10, 8));
      line.x(1).i(h.word(18), 2).x(1).i(h.word(19), 2);
      if (!put(line)) return false;
    }
    for (int64_t j = countOf(h.word(18)); j > 0; --j) {
      Rec<65> s;
      if (!read(s)) return false;
      if (s.word(1) != kTagRepeat) continue;
      // Shape, state, first comparison, value 1, conjunction, second comparison, value 2,
      // colour, size mode, description.
      Line line;
      line.i(s.word(1), 2).x(1).a(s.codes(2, 8)).x(1).a(s.codes(10, 3)).x(1).a(s.codes(13, 7));
      line.x(1).e(s.word(20), 12, 5).x(1).a(s.codes(21, 3)).x(1).a(s.codes(24, 7));
      line.x(1).e(s.word(31), 12, 5).x(1).a(s.codes(32, 8)).x(1).a(s.codes(40, 6));
      line.x(1).a(s.codes(46, 20));
      if (!put(line)) return false;
    }
  }
}

// Tag, node or element number, name (8 codes): 1X, I2, id, 1X, 8A1.
bool Writer::names() {
  for (;;) {
    Rec<10> r;
    const Next n = next(r);
    if (n != Next::Record) return n == Next::End;
    if (!put(Line().i(r.word(1), 2).i(r.word(2), idWidth()).x(1).a(r.codes(3, 8)))) return false;
  }
}

// The attribute (-4, name, NCOMPS, IRTYPE, NUMVAR): 1X, I2, 2X, 8A1, 3I5. NCOMPS
// component records (-5, name, INMENU, CTYPE, INDEX1, INDEX2, IEXIST, NCALC, second
// name): 1X, I2, 2X, 8A1, 5I5, 8A1, 8A1. NUMVAR variant records. Then the value records
// by IRTYPE, each loop ending at the end record in a header position (IRTYPE 1 and any
// type without entity headers: in a value-record position).
bool Writer::results() {
  Rec<12> att;
  const Next n = next(att);
  if (n != Next::Record) return n == Next::End;
  Line line;
  line.i(att.word(1), 2).x(2).a(att.codes(2, kAttributeNameCodes));
  line.i(att.word(10), 5).i(att.word(11), 5).i(att.word(12), 5);
  if (!put(line)) return false;
  for (int64_t j = countOf(att.word(10)); j > 0; --j) {
    Rec<30> c;
    if (!read(c)) return false;
    Line l;
    l.i(c.word(1), 2).x(2).a(c.codes(2, 8));
    for (int32_t w = 10; w <= 14; ++w) l.i(c.word(w), 5);
    l.a(c.codes(15, 8)).a(c.codes(23, 8));
    if (!put(l)) return false;
  }
  for (int64_t j = countOf(att.word(12)); j > 0; --j) {
    if (!variant()) return false;
  }

  const int32_t irtype = att.word(11);
  for (;;) {
    switch (irtype) {
      case 2: {
        // Headers tag, w2 .. w6: 1X, I2, id, 3I5 w3 w4 w5, 15X, I5 w6; w4 x w3 value
        // records with I5 ids.
        Rec<6> h;
        const Next m = next(h);
        if (m != Next::Record) return m == Next::End;
        Line l;
        l.i(h.word(1), 2).i(h.word(2), idWidth()).i(h.word(3), 5).i(h.word(4), 5).i(h.word(5), 5);
        if (!put(l.x(15).i(h.word(6), 5))) return false;
        for (int64_t j = repeatCount(h.word(4), h.word(3)); j > 0; --j) {
          if (!valueRecord(5)) return false;
        }
        break;
      }
      case 3: {
        // -1, IELEM, ITYPE, IEATT1, IVAR, NPOINT, NLAYER, 0, -ILOCAL, 0: 1X, I2, id, 5I5,
        // 5X, I5 -ILOCAL; NLAYER x NPOINT value records, NPOINT 0 standing for the node
        // count of ITYPE.
        Rec<10> h;
        const Next m = next(h);
        if (m != Next::Record) return m == Next::End;
        Line l;
        l.i(h.word(1), 2).i(h.word(2), idWidth());
        for (int32_t w = 3; w <= 7; ++w) l.i(h.word(w), 5);
        if (!put(l.x(5).i(h.word(9), 5))) return false;
        const int32_t itype = h.word(3);
        // A type outside the element table has no nodes; its factor then counts as 1.
        const int32_t points = h.word(6) == 0 && itype != 0 ? ELNCNT(itype) : h.word(6);
        for (int64_t j = repeatCount(h.word(7), points); j > 0; --j) {
          if (!valueRecord(idWidth())) return false;
        }
        break;
      }
      case 4: {
        // -1, IELEM, ITYPE, IEATT1, IVAR, 0, NLAYER, NPOINT, -ILOCAL, IGFLAG: 1X, I2, id,
        // 8I5; NLAYER x NPOINT groups of a value record, its point record and its reals.
        Rec<10> h;
        const Next m = next(h);
        if (m != Next::Record) return m == Next::End;
        Line l;
        l.i(h.word(1), 2).i(h.word(2), idWidth());
        for (int32_t w = 3; w <= 10; ++w) l.i(h.word(w), 5);
        if (!put(l)) return false;
        const bool withPoints = h.word(10) == 0;
        for (int64_t j = repeatCount(h.word(7), h.word(8)); j > 0; --j) {
          Rec<3> v;
          Rec<5> p;
          if (!read(v)) return false;
          // Every group carries its point record whatever the header's flag says; reading
          // it only under flag 0 would take its words for the next group's values.
          if (!read(p)) return false;
          if (withPoints) {
            Line c;
            c.i(v.word(1), 2).i(v.word(2), 5).e(p.word(3), 12, 5).e(p.word(4), 12, 5);
            if (!put(c.e(p.word(5), 12, 5))) return false;
          }
          if (!values(v.word(1), v.word(2), 5, v.word(3))) return false;
        }
        break;
      }
      case 5: {
        // -1, IELEM, ITYPE, IEATT1, IVAR, 0, NLAYER, 0, -ILOCAL, 0: 1X, I2, id, 3I5, 5X,
        // I5 NLAYER, 5X, I5 -ILOCAL; NLAYER value records.
        Rec<10> h;
        const Next m = next(h);
        if (m != Next::Record) return m == Next::End;
        Line l;
        l.i(h.word(1), 2).i(h.word(2), idWidth()).i(h.word(3), 5).i(h.word(4), 5).i(h.word(5), 5);
        if (!put(l.x(5).i(h.word(7), 5).x(5).i(h.word(9), 5))) return false;
        for (int64_t j = repeatCount(h.word(7), 1); j > 0; --j) {
          if (!valueRecord(idWidth())) return false;
        }
        break;
      }
      default: {
        // Nodal values: tag, NODE, NUMRES, the reals.
        Rec<3> v;
        const Next m = next(v);
        if (m != Next::Record) return m == Next::End;
        if (!values(v.word(1), v.word(2), idWidth(), v.word(3))) return false;
        break;
      }
    }
  }
}

// An attribute variant: tag, w2, n, then n integers, under the field list 1X, I2, 2I5,
// 20I3; integers beyond it start the field list again on a new line.
bool Writer::variant() {
  Rec<3> v;
  if (!read(v)) return false;
  constexpr int kFields = 23;
  Line line;
  int field = 0;
  const auto add = [&](int32_t item) {
    if (field == kFields) {
      if (!put(line)) return false;
      line = Line();
      field = 0;
    }
    line.i(item, field == 0 ? 2 : field < 3 ? 5 : 3);
    ++field;
    return true;
  };
  add(v.word(1));
  add(v.word(2));
  add(v.word(3));
  for (int64_t j = countOf(v.word(3)); j > 0; --j) {
    Rec<1> item;
    if (!read(item) || !add(item.word(1))) return false;
  }
  return put(line);
}

}  // namespace

int32_t writeNeutralDataset(int32_t k) { return Writer(k).run(); }

int32_t writeNeutralEnd() {
  const std::string line = " " + fmt::editI(kLastLineValue, 4);
  return io::writeRecord(DICTL.luneu, line) == io::kIosOk ? kNeutralOk : kNeutralWriteFailed;
}

}  // namespace kvr
