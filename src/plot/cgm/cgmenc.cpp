// The CGM element encoder: element framing and partitions, the parameter writers of both
// encodings, the byte level, and the attribute state.
#include "plot/cgm/cgmenc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/fmtedit.h"
#include "plot/raster/rasfile.h"

namespace kvr {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr std::array<uint8_t, 2> kStringStart{kEsc, 'X'};
constexpr std::array<uint8_t, 2> kStringEnd{kEsc, '\\'};

// Character encoding: a one-byte opcode is below 100; the first byte of a two-byte one
// is code div 100 + 47.
constexpr int32_t kOneByteCodes = 100;
constexpr int32_t kOpcodeBase = 47;

// Binary header: the low five bits of the second byte hold a short length, or 31 for
// the long form; the high bit of a long length says that more partitions follow.
constexpr int32_t kLongForm = 31;
constexpr int32_t kMoreFollows = 0x80;
constexpr int32_t kHeaderBytes = 4;     // first partition, long form
constexpr int32_t kLaterHeader = 2;     // every later partition
constexpr int32_t kLongestString = 254;  // a longer one would need the long string form

// Basic-format integers of the character encoding.
constexpr int32_t kBasicContinue = 0x60;  // bit 5 set: more bytes follow
constexpr int32_t kBasicLast = 0x20;      // taken away from the last byte
constexpr int32_t kBasicNegative = 0x10;
constexpr int32_t kRealScale = 1024;  // default exponent -10
constexpr int32_t kColourBase = 0x40;

constexpr int32_t kE16 = 16;  // enumerated values are 16 bits

// The attributes: element, ISO 8632 default, and the primitive they are written before.
struct AttributeRow {
  int32_t element;
  int32_t initial;
  int32_t primitive;
};
constexpr std::array<AttributeRow, kCgmAttributes> kAttributes{{
    {kCgmLineType, 1, kCgmPolyline},
    {kCgmLineColour, 1, kCgmPolyline},
    {kCgmTextPrecision, 0, kCgmText},
    {kCgmTextColour, 1, kCgmText},
    {kCgmCharacterHeight, 327, kCgmText},
    {kCgmInteriorStyle, 0, kCgmPolygon},
    {kCgmFillColour, 1, kCgmPolygon},
}};

CgmEnc& enc = CGMENC;

bool binary() { return enc.encoding == kCgmBinary; }
bool character() { return enc.encoding == kCgmCharacter; }

void putByte(uint8_t b) {
  const std::array<uint8_t, 1> one{b};
  if (binary()) CGBPUT(one);
  if (character()) CGCPUT(one);
}

void writeAttribute(size_t k) {
  const int32_t v = enc.attribute[k];
  CGMBEG(kAttributes[k].element);
  switch (static_cast<CgmAttribute>(k)) {
    case CgmAttribute::LineType: CGMIXP(v); break;
    case CgmAttribute::TextPrecision:
    case CgmAttribute::InteriorStyle: CGMI16(v); break;
    case CgmAttribute::CharacterHeight: CGMVDC(static_cast<float>(v), v); break;
    default: CGMCLR(v); break;
  }
  CGMEND();
}

}  // namespace

// --- Element framing --------------------------------------------------------------------

void CGMBEG(int32_t code) {
  enc.length = 0;
  enc.headerWritten = false;
  if (binary()) {
    int32_t cls = 0;
    int32_t id = 0;
    CGBCLS(code, cls, id);
    enc.buffer[0] = static_cast<uint8_t>(cls * 16 + id / 8);
    enc.buffer[1] = static_cast<uint8_t>(id % 8 * 32);
    enc.buffer[2] = 0;
    enc.buffer[3] = 0;
    enc.length = kHeaderBytes;
  } else if (character()) {
    if (code >= 0 && code < kOneByteCodes) {
      putByte(static_cast<uint8_t>(code));
    } else {
      putByte(static_cast<uint8_t>(code / 100 + kOpcodeBase));
      putByte(static_cast<uint8_t>(code % 100));
    }
  }
}

void CGMEND() {
  if (binary()) CGBPRT(false);
  if (character()) CGCFLU(enc.buffer, enc.length);
  enc.length = 0;
}

void CGMDEF() {
  const bool bin = binary();
  enc.integerPrecision = bin ? 16 : 10;
  enc.realPrecision = bin ? std::array<int32_t, 4>{1, 16, 16, 32} : std::array<int32_t, 4>{10, -10, -10, 1};
  enc.indexPrecision = bin ? 16 : 10;
  enc.colourPrecision = bin ? 8 : 6;
  enc.colourIndexPrecision = bin ? 8 : 10;
  enc.maximumColourIndex = 63;
  enc.colourMinimum = {0, 0, 0};
  const int32_t top = bin ? 255 : 63;
  enc.colourMaximum = {top, top, top};
  enc.vdcType = 0;
  enc.vdcIntegerPrecision = 16;
  enc.vdcRealPrecision = enc.realPrecision;
  enc.colourSelectionMode = 0;
  for (size_t k = 0; k < kAttributes.size(); ++k) {
    enc.attribute[k] = kAttributes[k].initial;
    enc.changed[k] = false;
  }
}

// --- Parameter writers --------------------------------------------------------------------

void CGMINP(int32_t value) {
  if (binary()) CGBNUM(true, enc.integerPrecision, value);
  if (character()) CGCINT(value);
}

void CGMIXP(int32_t value) {
  if (binary()) CGBIXP(value);
  if (character()) CGCINT(value);
}

void CGMCOI(int32_t value) {
  if (binary()) CGBCOI(value);
  if (character()) CGCINT(value);
}

void CGMI16(int32_t value) {
  if (binary()) CGBI16(value);
  if (character()) CGCINT(value);
}

void CGMDCL(const std::array<int32_t, 3>& rgb, int32_t precision) {
  if (binary()) CGBCOL(rgb, precision);
  if (character()) CGCCOL(rgb, precision);
}

void CGMCLR(int32_t index) { CGMCOI(index); }

void CGMVDC(float /*real*/, int32_t integer) {
  if (binary()) CGBNUM(true, enc.vdcIntegerPrecision, integer);
  if (character()) CGCINT(integer);
}

void CGMPNT(float x, float y, int32_t ix, int32_t iy) {
  CGMVDC(x, ix);
  CGMVDC(y, iy);
}

void CGMPTS(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const int32_t> ix, std::span<const int32_t> iy) {
  const size_t count = std::min({static_cast<size_t>(std::max(n, 0)), x.size(), y.size(), ix.size(), iy.size()});
  for (size_t k = 0; k < count; ++k) {
    if (character() && k > 0) {
      CGCINT(int64_t{ix[k]} - ix[k - 1]);
      CGCINT(int64_t{iy[k]} - iy[k - 1]);
    } else {
      CGMPNT(x[k], y[k], ix[k], iy[k]);
    }
  }
}

void CGMREA(float value) {
  if (binary()) CGBREA(value);
  if (character()) CGCREA(value);
}

void CGMSTR(std::string_view text) {
  if (binary()) {
    // One length byte holds at most 254: a longer string is cut there.
    const std::string_view s = text.substr(0, kLongestString);
    putByte(static_cast<uint8_t>(s.size()));
    for (char c : s) putByte(static_cast<uint8_t>(c));
  }
  if (character()) {
    CGCPUT(kStringStart);
    for (char c : text) putByte(static_cast<uint8_t>(c));
    CGCPUT(kStringEnd);
  }
}

// --- Byte level ---------------------------------------------------------------------------

void CGBNUM(bool isSigned, int32_t precision, int64_t value) {
  const int32_t bytes = std::clamp(precision / 8, 1, 4);
  const int32_t bits = bytes * 8;
  const int64_t low = isSigned ? -(int64_t{1} << (bits - 1)) : 0;
  const int64_t high = isSigned ? (int64_t{1} << (bits - 1)) - 1 : (int64_t{1} << bits) - 1;
  // Beyond its precision a value would wrap into another value.
  const auto v = static_cast<uint64_t>(std::clamp(value, low, high));
  std::array<uint8_t, 4> out{};
  for (int32_t k = 0; k < bytes; ++k) out[static_cast<size_t>(k)] = static_cast<uint8_t>(v >> (8 * (bytes - 1 - k)));
  CGBPUT(std::span<const uint8_t>(out).first(static_cast<size_t>(bytes)));
}

void CGBPUT(std::span<const uint8_t> bytes) {
  for (uint8_t b : bytes) {
    enc.buffer[static_cast<size_t>(enc.length++)] = b;
    if (enc.length == CgmEnc::kBufferSize) CGBPRT(true);
  }
}

void CGBPRT(bool more) {
  const int32_t n = enc.length;
  const int32_t flag = more ? kMoreFollows : 0;
  std::span<const uint8_t> out(enc.buffer.data(), static_cast<size_t>(n));
  if (!enc.headerWritten) {
    const int32_t parameters = n - kHeaderBytes;
    if (!more && parameters <= CgmEnc::kShortForm) {
      // Short form: the length in the header, the parameters moved up to it.
      enc.buffer[1] = static_cast<uint8_t>(enc.buffer[1] | parameters);
      std::copy(enc.buffer.begin() + kHeaderBytes, enc.buffer.begin() + n, enc.buffer.begin() + kLaterHeader);
      out = out.first(static_cast<size_t>(n - kLaterHeader));
    } else {
      enc.buffer[1] = static_cast<uint8_t>(enc.buffer[1] | kLongForm);
      enc.buffer[2] = static_cast<uint8_t>(parameters >> 8 | flag);
      enc.buffer[3] = static_cast<uint8_t>(parameters & 0xFF);
    }
    enc.headerWritten = true;
  } else {
    const int32_t parameters = n - kLaterHeader;
    enc.buffer[0] = static_cast<uint8_t>(parameters >> 8 | flag);
    enc.buffer[1] = static_cast<uint8_t>(parameters & 0xFF);
  }
  CGMWRT(out, static_cast<int32_t>(out.size()));
  if (n % 2 != 0) CGBPAD();
  enc.length = kLaterHeader;
}

void CGBPAD() {
  const std::array<uint8_t, 1> pad{0};
  CGMWRT(pad, 1);
}

void CGBIXP(int32_t value) { CGBNUM(true, enc.indexPrecision, value); }
void CGBCOI(int32_t value) { CGBNUM(false, enc.colourIndexPrecision, value); }
void CGBI16(int32_t value) { CGBNUM(true, kE16, value); }

void CGBCOL(const std::array<int32_t, 3>& rgb, int32_t precision) {
  for (int32_t c : rgb) CGBNUM(false, precision, c);
}

void CGBREA(float value) {
  // Fixed point: the largest integer not above the value, then the fraction in units of
  // one part in 2^(fraction bits). A value that is not finite has no fraction: 0.0.
  const double v = std::isfinite(value) ? static_cast<double>(value) : 0.0;
  const double whole = std::floor(v);
  const int32_t fractionBits = std::clamp(enc.realPrecision[2], 8, 32);
  const double fraction = (v - whole) * std::ldexp(1.0, fractionBits);
  CGBNUM(true, enc.realPrecision[1], intOf(whole));
  CGBNUM(false, fractionBits, static_cast<int64_t>(fraction));
}

void CGCPUT(std::span<const uint8_t> bytes) {
  for (uint8_t b : bytes) {
    enc.buffer[static_cast<size_t>(enc.length++)] = b;
    if (enc.length == CgmEnc::kBufferSize) {
      CGCFLU(enc.buffer, enc.length);
      enc.length = 0;
    }
  }
}

void CGCFLU(std::span<const uint8_t> bytes, int32_t n) { CGMWRT(bytes, n); }

void CGCINT(int64_t value) {
  uint64_t m = value < 0 ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value);
  // Five-bit groups from the least significant end, until at most four bits are left.
  std::array<uint8_t, 16> groups{};
  size_t k = 0;
  while (m > 0xF) {
    groups[k++] = static_cast<uint8_t>(m & 0x1F);
    m >>= 5;
  }
  std::array<uint8_t, 17> out{};
  size_t n = 0;
  out[n++] = static_cast<uint8_t>(kBasicContinue + m + (value < 0 ? kBasicNegative : 0));
  while (k > 0) out[n++] = static_cast<uint8_t>(kBasicContinue + groups[--k]);
  out[n - 1] = static_cast<uint8_t>(out[n - 1] - kBasicLast);
  CGCPUT(std::span<const uint8_t>(out).first(n));
}

void CGCREA(float value) { CGCINT(intOf(static_cast<double>(value) * kRealScale)); }

void CGCCOL(const std::array<int32_t, 3>& rgb, int32_t precision) {
  const int32_t p = std::clamp(precision, 1, 30);
  const int32_t top = (1 << p) - 1;
  std::array<uint32_t, 3> c{};
  for (size_t k = 0; k < 3; ++k) c[k] = static_cast<uint32_t>(std::clamp(rgb[k], 0, top));
  auto bits = [&](int32_t bit, int32_t shift) {
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k) v |= (c[k] >> bit & 1u) << (shift + 2 - static_cast<int32_t>(k));
    return v;
  };
  // Each byte: the next two bits of red, green and blue, the higher bits in bits 5..3.
  for (int32_t hi = p - 1; hi >= 1; hi -= 2) {
    putByte(static_cast<uint8_t>(kColourBase | bits(hi, 3) | bits(hi - 1, 0)));
  }
  if (p % 2 != 0) putByte(static_cast<uint8_t>(kColourBase | bits(0, 3)));
}

void CGMWRT(std::span<const uint8_t> bytes, int32_t n) { RasWrite(n, bytes); }

// --- Attribute state ----------------------------------------------------------------------

bool CGMSAM(CgmAttribute a, int32_t value) { return enc.value(a) == value; }

void cgmSetAttribute(CgmAttribute a, int32_t value) {
  if (CGMSAM(a, value)) return;
  enc.value(a) = value;
  enc.flag(a) = true;
}

void cgmWriteAttributes(int32_t primitive) {
  for (size_t k = 0; k < kAttributes.size(); ++k) {
    if (kAttributes[k].primitive != primitive || !enc.changed[k]) continue;
    writeAttribute(k);
    enc.changed[k] = false;
  }
}

void cgmPictureAttributes() {
  for (size_t k = 0; k < kAttributes.size(); ++k) enc.changed[k] = enc.attribute[k] != kAttributes[k].initial;
}

}  // namespace kvr
