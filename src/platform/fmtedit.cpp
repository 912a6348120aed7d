// Fortran editing. Digits come from std::to_chars with a precision, which rounds the exact
// binary value to nearest with ties to even (as printf does) and, unlike printf, never
// looks at the locale: a host that sets a decimal comma changes nothing here. The rest is
// layout: signs, the optional leading zero, exponents, padding and asterisks.
//
// The format interpreter reads a format text twice: once to check it whole (so that a
// bad format gives "?FORMAT?" however few items there are) and to find its reversion
// point, then again while editing the items. Nothing is kept between calls.
#include "platform/fmtedit.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace kvr::fmt {
namespace {

constexpr std::string_view kBadFormat = "?FORMAT?";
// Widths, repeat counts and nX counts above this make a format unreadable: no record of
// the library comes near it, and it keeps a corrupt format from asking for gigabytes.
constexpr int kMaxFormatNumber = 32767;
// Deeper nesting of groups makes a format unreadable (the interpreter recurses per group).
constexpr int kMaxGroupDepth = 16;
// Repeat counts multiply through nested groups: a format whose one pass would make more
// columns, records and group repetitions together than this is unreadable, so that a
// short format such as "(99(99(99(1X))))" cannot run for millions of steps.
constexpr int64_t kMaxFormatExpansion = 100000;

std::string stars(int w) { return std::string(w > 0 ? size_t(w) : 0, '*'); }

// TEXT right-justified in W columns, or W asterisks when it is longer.
std::string rightJustify(std::string_view text, int w) {
  if (w <= 0) return {};
  if (text.size() > size_t(w)) return stars(w);
  std::string out(size_t(w) - text.size(), ' ');
  out.append(text);
  return out;
}

// NaN and the infinities: "NaN", "Infinity" or "-Infinity", shortened to "Inf" or "-Inf"
// when the long form does not fit.
std::string editSpecial(double value, int w) {
  if (std::isnan(value)) return rightJustify("NaN", w);
  const bool negative = std::signbit(value);
  const std::string_view full = negative ? "-Infinity" : "Infinity";
  if (w > 0 && full.size() <= size_t(w)) return rightJustify(full, w);
  return rightJustify(negative ? "-Inf" : "Inf", w);
}

// "00" to "99", for writing digits two at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Iw.m appended to OUT: at least M digits (leading zeros), right-justified; W = 0 gives
// the minimal width. Iw.0 of zero is all blanks, and I0.0 of zero one blank.
void appendIm(std::string& out, int64_t value, int w, int m) {
  if (w < 0) return;
  uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
  if (w > 0) {
    // The field is laid out first and the digits written into it from the right; a
    // number that turns out too wide gives the asterisks instead.
    const size_t start = out.size();
    out.append(size_t(w), ' ');
    char* const field = out.data() + start;
    char* at = field + w;
    while (magnitude >= 100 && at - field >= 2) {
      const auto pair = static_cast<size_t>(magnitude % 100);
      magnitude /= 100;
      at -= 2;
      std::memcpy(at, kDigitPairs + 2 * pair, 2);
    }
    while (magnitude != 0 && at != field) {
      *--at = char('0' + magnitude % 10);
      magnitude /= 10;
    }
    while (field + w - at < m && at != field) *--at = '0';
    const bool fits = magnitude == 0 && field + w - at >= m && (value >= 0 || at != field);
    if (!fits) {
      std::fill(field, field + w, '*');
    } else if (value < 0) {
      *--at = '-';
    }
    return;
  }
  char digits[20];
  int count = 0;
  while (magnitude != 0) {
    digits[count++] = char('0' + magnitude % 10);
    magnitude /= 10;
  }
  const int shown = count > m ? count : m;
  const int length = shown + (value < 0 ? 1 : 0);
  if (w == 0) w = length > 0 ? length : 1;
  if (length > w) {
    out.append(size_t(w), '*');
    return;
  }
  const size_t start = out.size();
  out.append(size_t(w), ' ');
  char* at = out.data() + start + size_t(w);
  for (int k = 0; k < shown; ++k) *--at = k < count ? digits[k] : '0';
  if (value < 0) *--at = '-';
}

std::string editIm(int64_t value, int w, int m) {
  std::string out;
  appendIm(out, value, w, m);
  return out;
}

// Fw.d of a finite VALUE into exactly W columns; false when it does not fit.
bool editFiniteF(double value, int w, int d, std::string& out) {
  if (w <= 0 || d < 0) return false;
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  char local[128];
  std::string large;
  char* first = local;
  auto result = std::to_chars(local, local + sizeof local, magnitude, std::chars_format::fixed, d);
  if (result.ec != std::errc{}) {
    // Longer than the local buffer: only worth generating when W could hold it.
    if (size_t(w) < sizeof local) return false;
    large.resize(size_t(w) + 2);
    first = large.data();
    result = std::to_chars(first, first + large.size(), magnitude, std::chars_format::fixed, d);
    if (result.ec != std::errc{}) return false;
  }
  const std::string_view digits(first, size_t(result.ptr - first));
  // to_chars writes no point for d = 0; Fortran always shows one ("2.").
  const bool addPoint = d == 0;
  size_t length = digits.size() + (addPoint ? 1 : 0) + (negative ? 1 : 0);
  size_t skip = 0;
  if (length > size_t(w)) {
    // The zero before the point may go when that is the only way to fit; with d = 0 it
    // is the only digit and stays.
    if (d > 0 && digits[0] == '0' && length - 1 == size_t(w)) {
      skip = 1;
      --length;
    } else {
      return false;
    }
  }
  out.assign(size_t(w), ' ');
  char* p = out.data() + (size_t(w) - length);
  if (negative) *p++ = '-';
  std::memcpy(p, digits.data() + skip, digits.size() - skip);
  p += digits.size() - skip;
  if (addPoint) *p = '.';
  return true;
}

// Powers of ten that a double holds exactly.
constexpr int kExactPowers = 22;
constexpr std::array<double, kExactPowers + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Significant digits the quick rounding serves.
constexpr int kQuickDigits = 9;

// The D significant digits of MAGNITUDE (positive, finite) rounded to nearest, as the
// integer N of D digits and the exponent X of 0.N times 10**X, found in double
// arithmetic: MAGNITUDE scaled by an exact power of ten is off by half a unit in the
// last place of the double at most, far less than the distance from a tie that the
// rounding asks for. False, with nothing decided, for a value so close to a tie that
// only its exact digits can decide (to_chars then gives them), and for a scale no exact
// power reaches.
bool quickDigits(double magnitude, int d, uint64_t& n, int& exponent) {
  if (d > kQuickDigits || !(magnitude >= 1e-15 && magnitude < 1e15)) return false;
  // The binary exponent E of MAGNITUDE (a normal number here) places it in
  // [2**E, 2**(E+1)), so its decimal exponent is E log10(2) + 1 or one more.
  const int binary = static_cast<int>(std::bit_cast<uint64_t>(magnitude) >> 52) - 1023;
  // floor(E log10(2)) in integers: 78913 / 2**18 is log10(2) closely enough for every
  // binary exponent of a double, and the shift rounds towards minus infinity.
  int x = ((binary * 78913) >> 18) + 1;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int k = d - x;
    if (k > kExactPowers || k < -kExactPowers) return false;
    const double scaled = k >= 0 ? magnitude * kPowersOfTen[size_t(k)]
                                 : magnitude / kPowersOfTen[size_t(-k)];
    // The estimate may be one short.
    if (scaled < kPowersOfTen[size_t(d - 1)]) {
      --x;
      continue;
    }
    if (scaled >= kPowersOfTen[size_t(d)]) {
      ++x;
      continue;
    }
    // SCALED lies in [10**(d-1), 10**d): its conversion truncates, which is its floor.
    const auto whole = static_cast<uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < 1e-6) return false;
    n = whole + (fraction > 0.5 ? 1 : 0);
    // Rounding up to 10**d carries into the exponent.
    if (n == static_cast<uint64_t>(kPowersOfTen[size_t(d)])) {
      n = static_cast<uint64_t>(kPowersOfTen[size_t(d - 1)]);
      ++x;
    }
    exponent = x;
    return true;
  }
  return false;
}

// Room for the digits of D significant digits as significantDigits makes them.
size_t digitRoom(int d) { return size_t(d) + 16; }

// The D significant digits of MAGNITUDE (finite, 0 or more) into DIGITS (digitRoom(D)
// characters), rounded to nearest with exact ties to even, and the exponent of
// 0.d1d2.. times 10**EXPONENT (0 for zero); false when they cannot be had.
bool significantDigits(double magnitude, int d, char* digits, int& exponent) {
  uint64_t n = 0;
  if (magnitude == 0.0 || quickDigits(magnitude, d, n, exponent)) {
    if (magnitude == 0.0) exponent = 0;
    // N has at most kQuickDigits digits: 32 bits hold it.
    auto m = static_cast<uint32_t>(n);
    for (int k = d - 1; k >= 0; --k) {
      digits[k] = char('0' + m % 10);
      m /= 10;
    }
    return true;
  }
  // d significant digits: "m.ddde+XX", the value being m.ddd times 10**XX.
  const auto result = std::to_chars(digits, digits + digitRoom(d), magnitude,
                                    std::chars_format::scientific, d - 1);
  if (result.ec != std::errc{}) return false;
  const char* e = static_cast<const char*>(std::memchr(digits, 'e', size_t(result.ptr - digits)));
  if (e == nullptr) return false;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, exponent);
  // 0.d1d2.. carries one decimal exponent more than d1.d2...
  ++exponent;
  // The digits after the first follow the point: they close up behind it.
  if (d > 1) std::memmove(digits + 1, digits + 2, size_t(d - 1));
  return true;
}

// Ew.d of a finite VALUE appended to OUT in exactly W columns, in the form
// [-][0].d1..ddE+xx (or [-][0].d1..dd+xxx for an exponent beyond 99); false, and nothing
// appended, when it does not fit.
bool appendFiniteE(double value, int w, int d, std::string& out) {
  if (d < 1 || w < d + 5) return false;  // ".ddddE+xx" is the shortest form
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  char local[64];
  std::string large;
  char* digits = local;
  if (digitRoom(d) > sizeof local) {
    large.resize(digitRoom(d));
    digits = large.data();
  }
  int exponent = 0;
  if (!significantDigits(magnitude, d, digits, exponent)) return false;

  char expText[5];
  size_t expLength = 0;
  const int expMagnitude = exponent < 0 ? -exponent : exponent;
  if (expMagnitude <= 99) {
    expText[expLength++] = 'E';
  } else if (expMagnitude > 999) {
    return false;
  }
  expText[expLength++] = exponent < 0 ? '-' : '+';
  if (expMagnitude > 99) expText[expLength++] = char('0' + expMagnitude / 100);
  expText[expLength++] = char('0' + expMagnitude / 10 % 10);
  expText[expLength++] = char('0' + expMagnitude % 10);

  size_t length = (negative ? 1 : 0) + 2 + size_t(d) + expLength;
  bool leadingZero = true;
  if (length > size_t(w)) {
    if (length - 1 != size_t(w)) return false;
    leadingZero = false;
    --length;
  }
  const size_t start = out.size();
  out.append(size_t(w), ' ');
  char* p = out.data() + start + (size_t(w) - length);
  if (negative) *p++ = '-';
  if (leadingZero) *p++ = '0';
  *p++ = '.';
  std::memcpy(p, digits, size_t(d));
  p += d;
  std::memcpy(p, expText, expLength);
  return true;
}

}  // namespace

std::string editI(int64_t value, int w) { return editIm(value, w, 1); }

std::string editF(double value, int w, int d) {
  if (w <= 0) return {};
  if (!std::isfinite(value)) return editSpecial(value, w);
  std::string out;
  if (!editFiniteF(value, w, d, out)) return stars(w);
  return out;
}

std::string editE(double value, int w, int d) {
  std::string out;
  appendE(out, value, w, d);
  return out;
}

void appendI(std::string& out, int64_t value, int w) { appendIm(out, value, w, 1); }

void appendE(std::string& out, double value, int w, int d) {
  if (w <= 0) return;
  if (!std::isfinite(value)) {
    out += editSpecial(value, w);
  } else if (!appendFiniteE(value, w, d, out)) {
    out.append(size_t(w), '*');
  }
}

std::string editG(double value, int w, int d) {
  if (w <= 0) return {};
  if (!std::isfinite(value)) return editSpecial(value, w);
  if (d < 1) return stars(w);
  // F editing applies when the value rounded to d significant digits lies in
  // [0.1, 10**d): then it has s digits before the point (0 <= s <= d) and is written as
  // F(w-4).(d-s) and four blanks. Rounding first is what puts 999.96 under G10.3 into E
  // editing (it becomes 1000). Rounding to d-s decimals uses the same unit in the last
  // place as rounding to d significant digits, so the F digits are the rounded ones.
  int decimals = d - 1;  // zero: F(w-4).(d-1)
  if (value != 0.0) {
    char digits[64];
    std::string large;
    char* first = digits;
    size_t capacity = sizeof digits;
    if (size_t(d) + 16 > capacity) {
      large.resize(size_t(d) + 16);
      first = large.data();
      capacity = large.size();
    }
    const auto result = std::to_chars(first, first + capacity, std::fabs(value),
                                      std::chars_format::scientific, d - 1);
    const char* e = static_cast<const char*>(std::memchr(first, 'e', size_t(result.ptr - first)));
    int exponent = 0;
    if (result.ec == std::errc{} && e != nullptr) {
      std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, exponent);
    }
    if (exponent < -1 || exponent > d - 1) return editE(value, w, d);
    decimals = d - 1 - exponent;
  }
  std::string out;
  if (w <= 4 || !editFiniteF(value, w - 4, decimals, out)) return stars(w);
  out.append(4, ' ');
  return out;
}

bool readI(std::string_view field, int32_t& value) {
  bool negative = false;
  bool signSeen = false;
  bool digitSeen = false;
  int64_t magnitude = 0;
  for (const char c : field) {
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !signSeen && !digitSeen) {
      signSeen = true;
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      digitSeen = true;
      magnitude = magnitude * 10 + (c - '0');
      if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
    } else {
      return false;
    }
  }
  if (signSeen && !digitSeen) return false;
  if (!negative && magnitude > std::numeric_limits<int32_t>::max()) return false;
  value = int32_t(negative ? -magnitude : magnitude);
  return true;
}

namespace {

// Fw.d input into a float or a double: the digits go to the type in one step, rounded
// once to nearest, so that a float reads exactly as a float field is read.
template <class Real>
bool readReal(std::string_view field, int d, Real& value) {
  // The mantissa's significant digits are gathered without their point; SCALE is the
  // power of ten that the integer they form is multiplied by.
  char local[64];
  std::string large;
  char* digits = local;
  size_t capacity = sizeof local - 24;  // room behind the digits for "e" and the scale
  if (field.size() > capacity) {
    large.resize(field.size() + 24);
    digits = large.data();
    capacity = field.size();
  }
  size_t count = 0;
  bool negative = false;
  bool signSeen = false;
  bool mantissaDigit = false;
  bool pointSeen = false;
  int64_t fraction = 0;  // digits after the point
  enum class Part { Mantissa, ExponentStart, ExponentDigits } part = Part::Mantissa;
  bool exponentNegative = false;
  bool exponentDigit = false;
  int64_t exponent = 0;
  bool anything = false;

  for (const char c : field) {
    if (c == ' ') continue;
    anything = true;
    const bool digit = c >= '0' && c <= '9';
    if (part == Part::Mantissa) {
      if (digit) {
        mantissaDigit = true;
        if (pointSeen) ++fraction;
        if (c != '0' || count > 0) digits[count++] = c;  // leading zeros carry nothing
      } else if (c == '.' && !pointSeen) {
        pointSeen = true;
      } else if ((c == '+' || c == '-') && !signSeen && !mantissaDigit && !pointSeen) {
        signSeen = true;
        negative = c == '-';
      } else if ((c == 'E' || c == 'e' || c == 'D' || c == 'd') && mantissaDigit) {
        part = Part::ExponentStart;
      } else if ((c == '+' || c == '-') && mantissaDigit) {
        exponentNegative = c == '-';
        part = Part::ExponentDigits;
      } else {
        return false;
      }
    } else if (digit) {
      part = Part::ExponentDigits;
      exponentDigit = true;
      // Far beyond any double exponent already; stop growing so nothing overflows.
      if (exponent < 100000000) exponent = exponent * 10 + (c - '0');
    } else if ((c == '+' || c == '-') && part == Part::ExponentStart) {
      exponentNegative = c == '-';
      part = Part::ExponentDigits;
    } else {
      return false;
    }
  }
  if (!anything) {
    value = 0.0;
    return true;
  }
  if (!mantissaDigit) return false;
  if (part != Part::Mantissa && !exponentDigit) return false;
  if (count == 0) {
    value = negative ? Real(-0.0) : Real(0.0);
    return true;
  }
  if (d < 0) d = 0;
  // Without a point the last d digits are decimals. The digits dropped as leading zeros
  // were integer digits or (after the point) counted in FRACTION already.
  int64_t scale = (exponentNegative ? -exponent : exponent) - (pointSeen ? fraction : d);
  char* p = digits + count;
  *p++ = 'e';
  p = std::to_chars(p, p + 22, scale).ptr;
  Real parsed{};
  const auto result = std::from_chars(digits, p, parsed);
  if (result.ec == std::errc::result_out_of_range) {
    // The value is 0.ddd times 10**(count + scale): too large to hold is a bad field,
    // too small to hold reads as zero.
    if (int64_t(count) + scale > 0) return false;
    parsed = 0.0;
  } else if (result.ec != std::errc{} || result.ptr != p) {
    return false;
  }
  value = negative ? -parsed : parsed;
  return true;
}

}  // namespace

bool readF(std::string_view field, int d, double& value) { return readReal(field, d, value); }
bool readF(std::string_view field, int d, float& value) { return readReal(field, d, value); }

// ---------------------------------------------------------------------------------------
// The format interpreter.

namespace {

enum class Kind { I, F, E, G, A };

struct Descriptor {
  Kind kind;
  int w;       // width; -1 for A without one
  int d;       // decimals, or the minimum digits m of Iw.m (1 when absent)
};

// Edits one item under one data descriptor and appends it to RECORD.
void editItem(const Descriptor& desc, const Item& item, std::string& record) {
  const int32_t* i32 = std::get_if<int32_t>(&item);
  const int64_t* i64 = std::get_if<int64_t>(&item);
  const float* f32 = std::get_if<float>(&item);
  const double* f64 = std::get_if<double>(&item);
  const std::string_view* text = std::get_if<std::string_view>(&item);
  const bool integer = i32 != nullptr || i64 != nullptr;
  const int64_t ivalue = i32 != nullptr ? *i32 : (i64 != nullptr ? *i64 : 0);
  const bool real = f32 != nullptr || f64 != nullptr;
  const double rvalue = f32 != nullptr ? double(*f32) : (f64 != nullptr ? *f64 : 0.0);

  auto editText = [&](int w) {
    if (w < 0) {
      record.append(*text);
    } else if (text->size() >= size_t(w)) {
      record.append(text->substr(0, size_t(w)));  // the leftmost w characters
    } else {
      record.append(size_t(w) - text->size(), ' ');
      record.append(*text);
    }
  };

  switch (desc.kind) {
    case Kind::I:
      if (integer) {
        record.append(editIm(ivalue, desc.w, desc.d));
      } else {
        record.append(stars(desc.w > 0 ? desc.w : 1));
      }
      return;
    case Kind::F:
      record.append(real ? editF(rvalue, desc.w, desc.d) : stars(desc.w));
      return;
    case Kind::E:
      record.append(real ? editE(rvalue, desc.w, desc.d) : stars(desc.w));
      return;
    case Kind::G:
      if (real) {
        record.append(editG(rvalue, desc.w, desc.d));
      } else if (integer) {
        record.append(editIm(ivalue, desc.w, 1));
      } else {
        editText(desc.w);
      }
      return;
    case Kind::A:
      if (text != nullptr) {
        editText(desc.w);
      } else {
        record.append(stars(desc.w > 0 ? desc.w : 1));
      }
      return;
  }
}

// One walk over a format text. Without items it only checks the text and notes where
// reversion goes; with items it edits them into records.
class FormatWalk {
 public:
  FormatWalk(std::string_view text, const std::vector<Item>* items)
      : text_(text), items_(items) {}

  // Walks the list from POS to the ")" that closes it (or the end of the text at depth
  // 0) and answers that position. Sets failed() on a bad format and stopped() when a data
  // descriptor finds no item left.
  size_t list(size_t pos, int depth) {
    for (;;) {
      pos = skipBlanks(pos);
      if (pos >= text_.size()) {
        if (depth > 0) fail();
        return pos;
      }
      const char c = text_[pos];
      if (c == ')') {
        if (depth == 0) fail();
        return pos;
      }
      if (c == ',') {
        ++pos;
        continue;
      }
      if (c == '\'' || c == '"') {
        pos = literal(pos);
      } else {
        pos = item(pos, depth);
      }
      if (failed_ || stopped_) return pos;
    }
  }

  bool failed() const { return failed_; }
  bool stopped() const { return stopped_; }
  size_t itemsUsed() const { return next_; }
  // Where reversion resumes: the last top-level group (with its repeat count), or 0.
  size_t reversionPoint() const { return lastGroup_; }
  // Whether a data descriptor lies at or after position POS.
  bool dataFrom(size_t pos) const { return lastData_ != std::string_view::npos && lastData_ >= pos; }
  bool anyData() const { return lastData_ != std::string_view::npos; }

  // A record ends without the blanks of position editing that nothing followed.
  void newRecord() {
    records_.push_back(std::move(record_));
    record_.clear();
    pending_ = 0;
  }
  std::vector<std::string> finish() {
    newRecord();
    return std::move(records_);
  }

 private:
  void fail() { failed_ = true; }
  bool editing() const { return items_ != nullptr; }

  // The checking walk counts what one pass of the format makes; past the bound the
  // format fails.
  void made(int64_t units) {
    if (editing()) return;
    made_ += units;
    if (made_ > kMaxFormatExpansion) fail();
  }

  // nX moves the position on; its blanks are written when something follows them.
  void transmit() {
    record_.append(pending_, ' ');
    pending_ = 0;
  }

  size_t skipBlanks(size_t pos) const {
    while (pos < text_.size() && text_[pos] == ' ') ++pos;
    return pos;
  }

  // An unsigned number starting at POS (blanks between its digits allowed); -1 when no
  // digit is there. A number beyond kMaxFormatNumber fails the format.
  int number(size_t& pos) {
    pos = skipBlanks(pos);
    int value = -1;
    while (pos < text_.size() && text_[pos] >= '0' && text_[pos] <= '9') {
      value = (value < 0 ? 0 : value) * 10 + (text_[pos] - '0');
      if (value > kMaxFormatNumber) {
        fail();
        return -1;
      }
      pos = skipBlanks(pos + 1);
    }
    return value;
  }

  // A quoted literal at POS; a doubled quote inside stands for one.
  size_t literal(size_t pos) {
    const char quote = text_[pos++];
    if (editing()) transmit();
    for (;;) {
      if (pos >= text_.size()) {
        fail();
        return pos;
      }
      if (text_[pos] == quote) {
        if (pos + 1 < text_.size() && text_[pos + 1] == quote) {
          if (editing()) record_ += quote;
          pos += 2;
          continue;
        }
        return pos + 1;
      }
      if (editing()) record_ += text_[pos];
      made(1);
      ++pos;
    }
  }

  // One item other than a literal: [r]data, [r](group), n X, [r]/.
  size_t item(size_t pos, int depth) {
    const size_t start = pos;
    const int count = number(pos);
    if (failed_) return pos;
    if (count == 0 || pos >= text_.size()) {
      fail();
      return pos;
    }
    const int repeat = count < 0 ? 1 : count;
    const char c = char(text_[pos] & ~0x20);  // upper case for letters
    if (text_[pos] == '(') {
      if (depth + 1 > kMaxGroupDepth) {
        fail();
        return pos;
      }
      if (depth == 0) lastGroup_ = start;
      size_t close = pos;
      const int64_t before = made_;
      for (int k = 0; k < (editing() ? repeat : 1); ++k) {
        close = list(pos + 1, depth + 1);
        if (failed_ || stopped_) return close;
      }
      // Each repetition counts at least one, so that empty groups are bounded too.
      const int64_t inner = made_ - before;
      made_ = before;
      made(repeat * (inner + 1));
      return failed_ ? close : close + 1;
    }
    if (text_[pos] == '/') {
      made(repeat);
      if (editing()) {
        for (int k = 0; k < repeat; ++k) newRecord();
      }
      return pos + 1;
    }
    if (c == 'X') {
      if (count < 0) {
        fail();
        return pos;
      }
      made(count);
      if (editing()) pending_ += size_t(count);
      return pos + 1;
    }
    Descriptor desc{};
    switch (c) {
      case 'I': desc.kind = Kind::I; break;
      case 'F': desc.kind = Kind::F; break;
      case 'E': desc.kind = Kind::E; break;
      case 'G': desc.kind = Kind::G; break;
      case 'A': desc.kind = Kind::A; break;
      default:
        fail();
        return pos;
    }
    const size_t descPos = pos;
    ++pos;
    desc.w = number(pos);
    desc.d = desc.kind == Kind::I ? 1 : -1;
    if (failed_) return pos;
    if (pos < text_.size() && text_[pos] == '.') {
      ++pos;
      desc.d = number(pos);
      if (failed_ || desc.d < 0 || desc.kind == Kind::A) {
        fail();
        return pos;
      }
    }
    bool good = true;
    switch (desc.kind) {
      case Kind::I: good = desc.w >= 0 && desc.d >= 0 && (desc.w == 0 || desc.d <= desc.w); break;
      case Kind::F: good = desc.w > 0 && desc.d >= 0; break;
      case Kind::E:
      case Kind::G: good = desc.w > 0 && desc.d > 0; break;
      case Kind::A: good = desc.w != 0; break;
    }
    if (!good) {
      fail();
      return pos;
    }
    lastData_ = descPos;
    made(int64_t{repeat} * (desc.w > 0 ? desc.w : 1));
    if (failed_) return pos;
    if (editing()) {
      for (int k = 0; k < repeat; ++k) {
        if (next_ >= items_->size()) {
          stopped_ = true;
          return pos;
        }
        transmit();
        editItem(desc, (*items_)[next_++], record_);
      }
    }
    return pos;
  }

  std::string_view text_;
  const std::vector<Item>* items_;
  size_t next_ = 0;
  size_t lastGroup_ = 0;
  size_t lastData_ = std::string_view::npos;
  bool failed_ = false;
  bool stopped_ = false;
  int64_t made_ = 0;      // checking walk: what one pass makes so far
  size_t pending_ = 0;  // blanks of position editing not yet written
  std::string record_;
  std::vector<std::string> records_;
};

// The format without its outer parentheses, when they enclose all of it.
std::string_view innerFormat(std::string_view fmt) {
  size_t first = 0;
  while (first < fmt.size() && fmt[first] == ' ') ++first;
  size_t last = fmt.size();
  while (last > first && fmt[last - 1] == ' ') --last;
  if (first == last || fmt[first] != '(') return fmt;
  int depth = 0;
  char quote = 0;
  for (size_t k = first; k < last; ++k) {
    const char c = fmt[k];
    if (quote != 0) {
      if (c == quote) quote = 0;  // a doubled quote closes and reopens: same effect
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) {
        return k == last - 1 ? fmt.substr(first + 1, k - first - 1) : fmt;
      }
    }
  }
  return fmt;
}

std::string trimmed(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::string> format(std::string_view fmt, const std::vector<Item>& items) {
  const std::string_view text = innerFormat(fmt);
  FormatWalk check(text, nullptr);
  check.list(0, 0);
  if (check.failed() || (!items.empty() && !check.anyData())) {
    return {std::string(kBadFormat)};
  }
  const size_t reversion = check.reversionPoint();

  FormatWalk walk(text, &items);
  size_t pos = 0;
  for (;;) {
    walk.list(pos, 0);
    if (walk.stopped() || walk.itemsUsed() >= items.size()) break;
    // Items remain at the final ")": a new record, and the format again from the last
    // top-level group. Without a data descriptor there it would never end.
    if (!check.dataFrom(reversion)) return {std::string(kBadFormat)};
    walk.newRecord();
    pos = reversion;
  }
  return walk.finish();
}

std::string format1(std::string_view fmt, const std::vector<Item>& items) {
  std::vector<std::string> records = format(fmt, items);
  return records.empty() ? std::string() : std::move(records.front());
}

std::string listDirected(const std::vector<Item>& items) {
  std::string out = " ";
  bool first = true;
  for (const Item& item : items) {
    if (const auto* text = std::get_if<std::string_view>(&item)) {
      out.append(*text);
    } else {
      if (!first) out += ' ';
      if (const auto* v = std::get_if<int32_t>(&item)) {
        out.append(editI(*v, 0));
      } else if (const auto* v64 = std::get_if<int64_t>(&item)) {
        out.append(editI(*v64, 0));
      } else if (const auto* f = std::get_if<float>(&item)) {
        out.append(trimmed(editG(double(*f), 15, 7)));
      } else {
        out.append(trimmed(editG(std::get<double>(item), 23, 15)));
      }
    }
    first = false;
  }
  return out;
}

}  // namespace kvr::fmt

namespace kvr {

namespace {

// VALUE already integral (or NaN); clamped to the int32_t range, whose bounds a double
// holds exactly. Casting an out-of-range double is undefined, so the bounds come first.
int32_t clampToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return int32_t(value);
}

}  // namespace

int32_t intOf(double value) { return clampToInt32(std::trunc(value)); }

int32_t nintOf(double value) { return clampToInt32(std::round(value)); }

}  // namespace kvr
