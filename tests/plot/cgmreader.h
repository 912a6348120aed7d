// A small reader of Computer Graphics Metafiles for the tests, written from the two
// encodings' standards, not from the encoder:
//  - binary (ISO 8632-3): a 16-bit header word of class (4 bits), id (7 bits) and a
//    parameter length (5 bits; 31 announces a long form, whose next word holds a
//    more-follows bit and a 15-bit length); further partitions with the same word; a pad
//    byte after an odd parameter length; integers most significant byte first, signed in
//    two's complement; the precisions as the descriptor elements set them;
//  - character (ISO 8632-2): one-byte opcodes 0x20..0x2F, two-byte opcodes 0x30..0x3F
//    then 0x20..0x3F; basic integers (a first byte with a sign bit and four bits, five
//    bits in each further byte, bit 0x20 set in all but the last); direct colours with
//    the bits of red, green and blue interleaved; point lists after the first point as
//    differences; strings between ESC "X" and ESC "\".
// It also reads what this system's metafiles hold beside the standards: ESC "\" right
// after the character opcode of BEGIN METAFILE, the integer 0 between index and colour of
// a character COLOUR TABLE, and strings whose characters are never escaped.
//
// Both encodings decode into the same form, so a picture written in both can be
// compared: for each element its class and id, its numbers in order (integers, indexes,
// enumerations, VDC, the points of a list as absolute values), its direct colours, its
// reals and its string.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kvr::test {

struct CgmItem {
  int cls = 0;
  int id = 0;
  std::vector<int64_t> numbers;
  std::vector<std::array<int64_t, 3>> colours;
  std::vector<double> reals;
  std::string text;
  bool hasText = false;
  bool strayTerminator = false;  // ESC "\" before BEGIN METAFILE's name
  std::vector<int> partitions;   // binary: parameter bytes of each partition
  bool longForm = false;         // binary: the first partition has the long form
  bool padded = false;           // binary: a pad byte followed the last partition
};

struct CgmFile {
  std::vector<CgmItem> items;
  std::string error;  // empty when every byte was read

  // The (class, id) pairs of the elements, in order.
  std::vector<std::pair<int, int>> sequence() const {
    std::vector<std::pair<int, int>> s;
    for (const CgmItem& i : items) s.emplace_back(i.cls, i.id);
    return s;
  }
  // The elements of class CLS and id ID.
  std::vector<CgmItem> all(int cls, int id) const {
    std::vector<CgmItem> out;
    for (const CgmItem& i : items) {
      if (i.cls == cls && i.id == id) out.push_back(i);
    }
    return out;
  }
  size_t count(int cls, int id) const { return all(cls, id).size(); }
};

// The elements by name, as (class, id).
namespace cgm {
inline constexpr std::pair<int, int> BeginMetafile{0, 1}, EndMetafile{0, 2}, BeginPicture{0, 3},
    BeginPictureBody{0, 4}, EndPicture{0, 5}, MetafileVersion{1, 1}, MetafileDescription{1, 2},
    VdcType{1, 3}, IntegerPrecision{1, 4}, RealPrecision{1, 5}, IndexPrecision{1, 6},
    ColourPrecision{1, 7}, ColourIndexPrecision{1, 8}, MaximumColourIndex{1, 9},
    ColourValueExtent{1, 10}, MetafileElementList{1, 11}, ScalingMode{2, 1},
    ColourSelectionMode{2, 2}, LineWidthMode{2, 3}, MarkerSizeMode{2, 4}, VdcExtent{2, 6},
    BackgroundColour{2, 7}, VdcRealPrecision{3, 2}, Transparency{3, 4}, ClipIndicator{3, 6},
    Polyline{4, 1}, Text{4, 4}, Polygon{4, 7}, LineType{5, 2}, LineColour{5, 4},
    TextPrecision{5, 11}, TextColour{5, 14}, CharacterHeight{5, 15}, InteriorStyle{5, 22},
    FillColour{5, 23}, ColourTable{5, 34};
}  // namespace cgm

namespace detail {

enum class P { I, IX, CI, E, CD, R, VDC, Pt, Points, S, RealPrec, ElementList, TableEntry, Name };

// The parameters of each element the system writes.
inline const std::map<std::pair<int, int>, std::vector<P>>& signatures() {
  using namespace cgm;
  static const std::map<std::pair<int, int>, std::vector<P>> s{
      {BeginMetafile, {P::Name}}, {EndMetafile, {}}, {BeginPicture, {P::S}},
      {BeginPictureBody, {}}, {EndPicture, {}}, {MetafileVersion, {P::I}},
      {MetafileDescription, {P::S}}, {VdcType, {P::E}}, {IntegerPrecision, {P::I}},
      {RealPrecision, {P::RealPrec}}, {IndexPrecision, {P::I}}, {ColourPrecision, {P::I}},
      {ColourIndexPrecision, {P::I}}, {MaximumColourIndex, {P::CI}},
      {ColourValueExtent, {P::CD, P::CD}}, {MetafileElementList, {P::ElementList}},
      {ScalingMode, {P::E, P::R}}, {ColourSelectionMode, {P::E}}, {LineWidthMode, {P::E}},
      {MarkerSizeMode, {P::E}}, {VdcExtent, {P::Pt, P::Pt}}, {BackgroundColour, {P::CD}},
      {VdcRealPrecision, {P::RealPrec}}, {Transparency, {P::E}}, {ClipIndicator, {P::E}},
      {Polyline, {P::Points}}, {Text, {P::Pt, P::E, P::S}}, {Polygon, {P::Points}},
      {LineType, {P::IX}}, {LineColour, {P::CI}}, {TextPrecision, {P::E}},
      {TextColour, {P::CI}}, {CharacterHeight, {P::VDC}}, {InteriorStyle, {P::E}},
      {FillColour, {P::CI}}, {ColourTable, {P::TableEntry}}};
  return s;
}

// The class and id of a character opcode: the code (b1 - 47) x 100 + b2 of a two-byte
// opcode, b1 of a one-byte one, looked up in the table of the elements.
inline std::pair<int, int> classOfOpcode(int code) {
  static const std::map<int, std::pair<int, int>> codes{
      {132, cgm::BeginMetafile}, {133, cgm::EndMetafile}, {134, cgm::BeginPicture},
      {135, cgm::BeginPictureBody}, {136, cgm::EndPicture}, {232, cgm::MetafileVersion},
      {233, cgm::MetafileDescription}, {234, cgm::VdcType}, {235, cgm::IntegerPrecision},
      {236, cgm::RealPrecision}, {237, cgm::IndexPrecision}, {238, cgm::ColourPrecision},
      {239, cgm::ColourIndexPrecision}, {240, cgm::MaximumColourIndex},
      {241, cgm::ColourValueExtent}, {242, cgm::MetafileElementList}, {332, cgm::ScalingMode},
      {333, cgm::ColourSelectionMode}, {334, cgm::LineWidthMode}, {335, cgm::MarkerSizeMode},
      {337, cgm::VdcExtent}, {338, cgm::BackgroundColour}, {433, cgm::VdcRealPrecision},
      {435, cgm::Transparency}, {437, cgm::ClipIndicator}, {32, cgm::Polyline},
      {35, cgm::Text}, {38, cgm::Polygon}, {633, cgm::LineType}, {635, cgm::LineColour},
      {650, cgm::TextPrecision}, {653, cgm::TextColour}, {654, cgm::CharacterHeight},
      {733, cgm::InteriorStyle}, {734, cgm::FillColour}, {748, cgm::ColourTable}};
  const auto it = codes.find(code);
  return it == codes.end() ? std::pair<int, int>{-1, -1} : it->second;
}

// Reads the parameters of one binary element.
class BinaryParameters {
 public:
  BinaryParameters(const std::string& bytes, std::map<std::string, int>& precision)
      : b_(bytes), prec_(precision) {}

  bool done() const { return at_ == b_.size(); }
  bool failed() const { return failed_; }

  int64_t integer(int bits, bool isSigned) {
    const size_t n = static_cast<size_t>(bits / 8);
    if (at_ + n > b_.size()) {
      failed_ = true;
      return 0;
    }
    uint64_t v = 0;
    for (size_t k = 0; k < n; ++k) v = v << 8 | static_cast<unsigned char>(b_[at_ + k]);
    at_ += n;
    if (isSigned && (v >> (bits - 1) & 1u)) return static_cast<int64_t>(v) - (int64_t{1} << bits);
    return static_cast<int64_t>(v);
  }

  void read(P p, CgmItem& item) {
    switch (p) {
      case P::I: item.numbers.push_back(integer(prec_["I"], true)); break;
      case P::IX: item.numbers.push_back(integer(prec_["IX"], true)); break;
      case P::CI: item.numbers.push_back(integer(prec_["CI"], false)); break;
      case P::E: item.numbers.push_back(integer(16, true)); break;
      case P::VDC: item.numbers.push_back(integer(prec_["VDC"], true)); break;
      case P::Pt:
        read(P::VDC, item);
        read(P::VDC, item);
        break;
      case P::Points:
        while (!done() && !failed_) read(P::Pt, item);
        break;
      case P::CD: {
        std::array<int64_t, 3> c{};
        for (auto& v : c) v = integer(prec_["CD"], false);
        item.colours.push_back(c);
        break;
      }
      case P::R: {
        // Fixed point: a signed whole part, then an unsigned fraction.
        const int64_t whole = integer(16, true);
        const int64_t fraction = integer(16, false);
        item.reals.push_back(static_cast<double>(whole) + static_cast<double>(fraction) / 65536.0);
        break;
      }
      case P::S:
      case P::Name: {
        if (at_ >= b_.size()) {
          failed_ = true;
          break;
        }
        const size_t n = static_cast<unsigned char>(b_[at_++]);
        if (n == 255 || at_ + n > b_.size()) {
          failed_ = true;
          break;
        }
        item.text = b_.substr(at_, n);
        item.hasText = true;
        at_ += n;
        break;
      }
      case P::RealPrec:
        read(P::E, item);
        read(P::I, item);
        read(P::I, item);
        break;
      case P::ElementList: {
        read(P::I, item);
        const int64_t n = item.numbers.back();
        for (int64_t k = 0; k < 2 * n && !failed_; ++k) read(P::IX, item);
        break;
      }
      case P::TableEntry:
        read(P::CI, item);
        while (!done() && !failed_) read(P::CD, item);
        break;
    }
  }

 private:
  const std::string& b_;
  std::map<std::string, int>& prec_;
  size_t at_ = 0;
  bool failed_ = false;
};

// Reads the parameters of one character element.
class CharacterParameters {
 public:
  CharacterParameters(const std::string& bytes, int colourPrecision)
      : b_(bytes), colourPrecision_(colourPrecision) {}

  bool done() const { return at_ == b_.size(); }
  bool failed() const { return failed_; }

  int64_t integer() {
    if (at_ >= b_.size()) {
      failed_ = true;
      return 0;
    }
    auto byte = [&] { return static_cast<unsigned char>(b_[at_++]); };
    unsigned char c = byte();
    if (c < 0x40 || c > 0x7F) {
      failed_ = true;
      return 0;
    }
    const bool negative = c & 0x10;
    int64_t m = c & 0x0F;
    while (c & 0x20) {
      if (at_ >= b_.size()) {
        failed_ = true;
        return 0;
      }
      c = byte();
      if (c < 0x40 || c > 0x7F) {
        failed_ = true;
        return 0;
      }
      m = m << 5 | (c & 0x1F);
    }
    return negative ? -m : m;
  }

  std::array<int64_t, 3> colour() {
    std::array<int64_t, 3> rgb{};
    int bit = colourPrecision_ - 1;
    auto take = [&](int shift, int b) {
      const unsigned char c = static_cast<unsigned char>(b_[at_]);
      for (int k = 0; k < 3; ++k) rgb[static_cast<size_t>(k)] |= static_cast<int64_t>(c >> (shift + 2 - k) & 1) << b;
    };
    while (bit >= 0) {
      if (at_ >= b_.size() || b_[at_] < 0x40) {
        failed_ = true;
        return rgb;
      }
      take(3, bit);
      if (bit >= 1) take(0, bit - 1);
      ++at_;
      bit -= 2;
    }
    return rgb;
  }

  // ESC "X", the characters up to ESC "\" (nothing in between is escaped).
  std::string string() {
    if (b_.compare(at_, 2, "\x1BX") != 0) {
      failed_ = true;
      return {};
    }
    const size_t end = b_.find("\x1B\\", at_ + 2);
    if (end == std::string::npos) {
      failed_ = true;
      return {};
    }
    std::string s = b_.substr(at_ + 2, end - at_ - 2);
    at_ = end + 2;
    return s;
  }

  void read(P p, CgmItem& item) {
    switch (p) {
      case P::I:
      case P::IX:
      case P::CI:
      case P::E:
      case P::VDC: item.numbers.push_back(integer()); break;
      case P::Pt:
        read(P::I, item);
        read(P::I, item);
        break;
      case P::Points: {
        bool first = true;
        int64_t x = 0;
        int64_t y = 0;
        while (!done() && !failed_) {
          const int64_t dx = integer();
          const int64_t dy = integer();
          x = first ? dx : x + dx;
          y = first ? dy : y + dy;
          first = false;
          item.numbers.push_back(x);
          item.numbers.push_back(y);
        }
        break;
      }
      case P::CD: item.colours.push_back(colour()); break;
      case P::R: item.reals.push_back(static_cast<double>(integer()) / 1024.0); break;
      case P::Name:
        if (b_.compare(at_, 2, "\x1B\\") == 0) {
          item.strayTerminator = true;
          at_ += 2;
        }
        [[fallthrough]];
      case P::S:
        item.text = string();
        item.hasText = true;
        break;
      case P::RealPrec:
        for (int k = 0; k < 4; ++k) read(P::I, item);
        break;
      case P::ElementList: {
        // A string of basic integers: the number of entries and what names them.
        const std::string inner = string();
        CharacterParameters list(inner, colourPrecision_);
        while (!list.done() && !list.failed()) item.numbers.push_back(list.integer());
        if (list.failed()) failed_ = true;
        break;
      }
      case P::TableEntry:
        read(P::CI, item);
        // The integer 0 between the index and the colours.
        if (integer() != 0) failed_ = true;
        while (!done() && !failed_) read(P::CD, item);
        break;
    }
  }

 private:
  const std::string& b_;
  int colourPrecision_;
  size_t at_ = 0;
  bool failed_ = false;
};

inline void decode(CgmItem& item, CgmFile& file, const std::vector<P>& signature, auto& reader) {
  for (P p : signature) reader.read(p, item);
  if (reader.failed() || !reader.done()) {
    file.error = "element (" + std::to_string(item.cls) + ", " + std::to_string(item.id) +
                 ") has parameters that do not read";
  }
}

// The precision set by a descriptor element: its first number.
inline void trackPrecision(const CgmItem& item, std::map<std::string, int>& precision) {
  const std::pair<int, int> e{item.cls, item.id};
  if (item.numbers.empty()) return;
  const int v = static_cast<int>(item.numbers[0]);
  if (e == cgm::IntegerPrecision) precision["I"] = v;
  if (e == cgm::IndexPrecision) precision["IX"] = v;
  if (e == cgm::ColourPrecision) precision["CD"] = v;
  if (e == cgm::ColourIndexPrecision) precision["CI"] = v;
}

}  // namespace detail

// Reads a binary metafile.
inline CgmFile readBinaryCgm(const std::string& b) {
  CgmFile file;
  // The defaults of the binary encoding until the descriptor says otherwise.
  std::map<std::string, int> precision{{"I", 16}, {"IX", 16}, {"CI", 8}, {"CD", 8}, {"VDC", 16}};
  size_t at = 0;
  auto word = [&](size_t k) {
    return static_cast<unsigned>(static_cast<unsigned char>(b[k])) << 8 | static_cast<unsigned char>(b[k + 1]);
  };
  while (at < b.size() && file.error.empty()) {
    if (at + 2 > b.size()) {
      file.error = "a header is cut off";
      break;
    }
    CgmItem item;
    const unsigned header = word(at);
    at += 2;
    item.cls = static_cast<int>(header >> 12);
    item.id = static_cast<int>(header >> 5 & 0x7F);
    unsigned length = header & 0x1F;
    bool more = false;
    std::string parameters;
    item.longForm = length == 31;
    while (true) {
      if (length == 31 || !item.partitions.empty()) {
        if (at + 2 > b.size()) {
          file.error = "a partition header is cut off";
          break;
        }
        const unsigned w = word(at);
        at += 2;
        more = (w & 0x8000) != 0;
        length = w & 0x7FFF;
      }
      if (at + length > b.size()) {
        file.error = "a partition is cut off";
        break;
      }
      parameters.append(b, at, length);
      at += length;
      item.partitions.push_back(static_cast<int>(length));
      item.padded = length % 2 != 0;
      if (item.padded) {
        if (at >= b.size() || b[at] != '\0') {
          file.error = "a pad byte is missing";
          break;
        }
        ++at;
      }
      if (!more) break;
      length = 31;  // a later partition has its own length word
    }
    if (!file.error.empty()) break;
    const auto& signatures = detail::signatures();
    const auto it = signatures.find({item.cls, item.id});
    if (it == signatures.end()) {
      file.error = "unknown element (" + std::to_string(item.cls) + ", " + std::to_string(item.id) + ")";
      break;
    }
    detail::BinaryParameters reader(parameters, precision);
    detail::decode(item, file, it->second, reader);
    detail::trackPrecision(item, precision);
    file.items.push_back(item);
  }
  return file;
}

// Reads a character metafile.
inline CgmFile readCharacterCgm(const std::string& b) {
  CgmFile file;
  int colourPrecision = 6;
  size_t at = 0;
  while (at < b.size() && file.error.empty()) {
    const auto c = static_cast<unsigned char>(b[at]);
    int code = 0;
    if (c >= 0x20 && c <= 0x2F) {
      code = c;
      at += 1;
    } else if (c >= 0x30 && c <= 0x3F && at + 1 < b.size()) {
      code = (c - 47) * 100 + static_cast<unsigned char>(b[at + 1]);
      at += 2;
    } else {
      file.error = "no opcode at byte " + std::to_string(at);
      break;
    }
    // The parameters run to the next opcode byte outside a string.
    size_t end = at;
    while (end < b.size()) {
      const auto d = static_cast<unsigned char>(b[end]);
      if (d >= 0x20 && d <= 0x3F) break;
      if (d == 0x1B && end + 1 < b.size() && b[end + 1] == 'X') {
        const size_t close = b.find("\x1B\\", end + 2);
        end = close == std::string::npos ? b.size() : close + 2;
        continue;
      }
      ++end;
    }
    CgmItem item;
    std::tie(item.cls, item.id) = detail::classOfOpcode(code);
    const auto& signatures = detail::signatures();
    const auto it = signatures.find({item.cls, item.id});
    if (it == signatures.end()) {
      file.error = "unknown opcode " + std::to_string(code);
      break;
    }
    const std::string parameters = b.substr(at, end - at);
    detail::CharacterParameters reader(parameters, colourPrecision);
    detail::decode(item, file, it->second, reader);
    if (std::pair<int, int>{item.cls, item.id} == cgm::ColourPrecision && !item.numbers.empty()) {
      colourPrecision = static_cast<int>(item.numbers[0]);
    }
    file.items.push_back(item);
    at = end;
  }
  return file;
}

}  // namespace kvr::test
