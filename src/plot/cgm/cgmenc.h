// The CGM element encoder: turns the elements the CGM driver decides on into the bytes of
// one of the two encodings of a Computer Graphics Metafile, the binary encoding or the
// character encoding. Every element has the same shape: CGMBEG (element code), one
// parameter writer per parameter, CGMEND. The parameter writers pick the form of the
// encoding in force; every byte of the metafile leaves through RasWrite, a binary
// partition or a character buffer at a time.
//
// CGMENC holds the encoder state of the one metafile being written: the encoding, the
// element buffer, the precisions and descriptor values in force, and the attribute state
// (the value of each cached attribute and its change flag).
//
// Element codes come from the character-encoding opcodes: a one-byte opcode is its byte
// value; a two-byte opcode b1 b2 is (b1 - 47) x 100 + b2. CGBCLS gives the class and id
// of the binary encoding.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvr {

// Encodings. Until the first job chooses one the encoder writes nothing.
inline constexpr int32_t kCgmNoEncoding = 0;
inline constexpr int32_t kCgmCharacter = 1;
inline constexpr int32_t kCgmBinary = 2;

// The element codes of the elements the driver writes.
inline constexpr int32_t kCgmBeginMetafile = 132;
inline constexpr int32_t kCgmEndMetafile = 133;
inline constexpr int32_t kCgmBeginPicture = 134;
inline constexpr int32_t kCgmBeginPictureBody = 135;
inline constexpr int32_t kCgmEndPicture = 136;
inline constexpr int32_t kCgmMetafileVersion = 232;
inline constexpr int32_t kCgmMetafileDescription = 233;
inline constexpr int32_t kCgmVdcType = 234;
inline constexpr int32_t kCgmIntegerPrecision = 235;
inline constexpr int32_t kCgmRealPrecision = 236;
inline constexpr int32_t kCgmIndexPrecision = 237;
inline constexpr int32_t kCgmColourPrecision = 238;
inline constexpr int32_t kCgmColourIndexPrecision = 239;
inline constexpr int32_t kCgmMaximumColourIndex = 240;
inline constexpr int32_t kCgmColourValueExtent = 241;
inline constexpr int32_t kCgmMetafileElementList = 242;
inline constexpr int32_t kCgmScalingMode = 332;
inline constexpr int32_t kCgmColourSelectionMode = 333;
inline constexpr int32_t kCgmLineWidthMode = 334;
inline constexpr int32_t kCgmMarkerSizeMode = 335;
inline constexpr int32_t kCgmVdcExtent = 337;
inline constexpr int32_t kCgmBackgroundColour = 338;
inline constexpr int32_t kCgmVdcRealPrecision = 433;
inline constexpr int32_t kCgmTransparency = 435;
inline constexpr int32_t kCgmClipIndicator = 437;
inline constexpr int32_t kCgmPolyline = 32;
inline constexpr int32_t kCgmText = 35;
inline constexpr int32_t kCgmPolygon = 38;
inline constexpr int32_t kCgmLineType = 633;
inline constexpr int32_t kCgmLineColour = 635;
inline constexpr int32_t kCgmTextPrecision = 650;
inline constexpr int32_t kCgmTextColour = 653;
inline constexpr int32_t kCgmCharacterHeight = 654;
inline constexpr int32_t kCgmInteriorStyle = 733;
inline constexpr int32_t kCgmFillColour = 734;
inline constexpr int32_t kCgmColourTable = 748;

// One element the encoder knows: its code and its binary class and id.
struct CgmElement {
  int32_t code;
  int32_t cls;
  int32_t id;
};

// The 36 elements the driver writes, in the order of their classes.
extern const std::array<CgmElement, 36> kCgmElements;

// The cached attributes, in the order they are written before their primitive.
enum class CgmAttribute {
  LineType,         // LINE TYPE (IX), before POLYLINE
  LineColour,       // LINE COLOUR (CO), before POLYLINE
  TextPrecision,    // TEXT PRECISION (E), before TEXT
  TextColour,       // TEXT COLOUR (CO), before TEXT
  CharacterHeight,  // CHARACTER HEIGHT (VDC integer), before TEXT
  InteriorStyle,    // INTERIOR STYLE (E), before POLYGON
  FillColour,       // FILL COLOUR (CO), before POLYGON
};
inline constexpr int32_t kCgmAttributes = 7;

struct CgmEnc {
  static constexpr int32_t kBufferSize = 1024;
  static constexpr int32_t kFirstPartition = 1020;  // parameter bytes of a first partition
  static constexpr int32_t kShortForm = 26;         // parameter bytes a short header holds

  int32_t encoding = kCgmNoEncoding;
  std::array<uint8_t, kBufferSize> buffer{};  // the element, or the partition, being built
  int32_t length = 0;                         // bytes in the buffer
  bool headerWritten = false;  // binary: the element's first partition has been written

  // The precisions and descriptor values in force.
  int32_t integerPrecision = 0;
  std::array<int32_t, 4> realPrecision{};
  int32_t indexPrecision = 0;
  int32_t colourPrecision = 0;
  int32_t colourIndexPrecision = 0;
  int32_t maximumColourIndex = 0;
  std::array<int32_t, 3> colourMinimum{};
  std::array<int32_t, 3> colourMaximum{};
  int32_t vdcType = 0;
  int32_t vdcIntegerPrecision = 0;
  std::array<int32_t, 4> vdcRealPrecision{};
  int32_t colourSelectionMode = 0;

  // The attribute state: the value of each attribute (the last one set) and whether it
  // is still to be written before its next primitive.
  std::array<int32_t, kCgmAttributes> attribute{};
  std::array<bool, kCgmAttributes> changed{};

  int32_t& value(CgmAttribute a) { return attribute[static_cast<size_t>(a)]; }
  bool& flag(CgmAttribute a) { return changed[static_cast<size_t>(a)]; }
};

inline CgmEnc CGMENC;

// --- Element framing --------------------------------------------------------------------

// The class CLS and id ID of element CODE in the binary encoding; a code outside the
// rule's ranges gives class 0, id 0 (the no-op element).
void CGBCLS(int32_t code, int32_t& cls, int32_t& id);

// Empties the buffer and starts element CODE: in the binary encoding a header of four
// bytes with room for a long-form length, in the character encoding the opcode.
void CGMBEG(int32_t code);

// Finishes the element: the binary encoding closes its last partition, the character
// encoding writes what the buffer still holds.
void CGMEND();

// Sets the precisions, the colour value extent, the VDC words and the colour selection
// mode to their values at the start of a metafile in the encoding in force, the
// attributes to their ISO 8632 defaults, and clears every change flag.
void CGMDEF();

// --- Parameter writers --------------------------------------------------------------------

void CGMINP(int32_t value);  // I: integer
void CGMIXP(int32_t value);  // IX: index
void CGMCOI(int32_t value);  // CI: colour index
void CGMI16(int32_t value);  // E: enumerated
// CD: a direct colour of three components at colour precision PRECISION.
void CGMDCL(const std::array<int32_t, 3>& rgb, int32_t precision);
// CO: a colour attribute; the colour selection mode is indexed, so the index as CI.
void CGMCLR(int32_t index);
// VDC: one value, given as its real and its integer; VDC are integers, and the integer
// is written.
void CGMVDC(float real, int32_t integer);
// P: a point, two VDC.
void CGMPNT(float x, float y, int32_t ix, int32_t iy);
// A point list: the first N integer points (reals beside them). The character encoding
// writes the first point, then each point minus the one before; the binary encoding
// every point as it is.
void CGMPTS(int32_t n, std::span<const float> x, std::span<const float> y,
            std::span<const int32_t> ix, std::span<const int32_t> iy);
void CGMREA(float value);            // R: real
void CGMSTR(std::string_view text);  // S: string, its characters unescaped

// --- Byte level ---------------------------------------------------------------------------

// Binary: appends VALUE as an integer of PRECISION / 8 bytes, most significant first, in
// two's complement when SIGNED. A value beyond the precision's range is written at the
// nearest end of the range.
void CGBNUM(bool isSigned, int32_t precision, int64_t value);
// Binary: appends BYTES; a full buffer closes its partition with the more-follows flag.
void CGBPUT(std::span<const uint8_t> bytes);
// Binary: closes the partition in the buffer, MORE when further partitions follow.
void CGBPRT(bool more);
// Binary: writes the pad byte of an odd partition.
void CGBPAD();
void CGBIXP(int32_t value);  // signed, index precision
void CGBCOI(int32_t value);  // unsigned, colour index precision
void CGBI16(int32_t value);  // signed, 16 bits
void CGBCOL(const std::array<int32_t, 3>& rgb, int32_t precision);  // unsigned components
void CGBREA(float value);    // fixed point: whole part, then the fraction

// Character: appends BYTES; a full buffer is written whole and emptied.
void CGCPUT(std::span<const uint8_t> bytes);
// Character: writes the first N bytes of BYTES.
void CGCFLU(std::span<const uint8_t> bytes, int32_t n);
// Character: a basic-format integer.
void CGCINT(int64_t value);
// Character: a real as the basic integer trunc(VALUE x 1024) (default exponent -10).
void CGCREA(float value);
// Character: a direct colour of precision PRECISION, the bits of red, green and blue
// interleaved two at a time from the top.
void CGCCOL(const std::array<int32_t, 3>& rgb, int32_t precision);

// Writes the first N bytes of BYTES (at most its size) to the metafile through RasWrite.
void CGMWRT(std::span<const uint8_t> bytes, int32_t n);

// --- Attribute state ----------------------------------------------------------------------

// True when VALUE is the value of attribute A (colours compare by index).
bool CGMSAM(CgmAttribute a, int32_t value);

// Attribute A takes VALUE; when it differs from the value it had, its flag goes on.
void cgmSetAttribute(CgmAttribute a, int32_t value);

// Writes each flagged attribute of primitive PRIMITIVE (POLYLINE, TEXT or POLYGON) with
// its value, in order, and turns its flag off.
void cgmWriteAttributes(int32_t primitive);

// At BEGIN PICTURE a reader has every attribute back at its default: each attribute
// whose value differs from its default is flagged, so that it is written again before
// its next primitive; the others are not.
void cgmPictureAttributes();

}  // namespace kvr
