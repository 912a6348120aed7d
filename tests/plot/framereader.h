// A reader of the frame documents the document-frame driver writes, for the tests: no
// program on the machine reads them. It checks the head and end lines, that every group
// and fill opened is closed and in order, and every record's fields by its form (I5
// object numbers, F9.5 inches, I2 fill patterns, a six-character font, an escaped text
// of at most 39 characters), and answers the records in order, with their values.
#pragma once

#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace kvr::test {

struct FrameRecord {
  enum Kind { Segment, Group, Fill, Text, End, EndFill };
  Kind kind = End;
  std::optional<int32_t> object;   // none when written as asterisks
  std::vector<std::optional<double>> inches;  // x1, y1, x2, y2 or x, y
  bool drawn = false;     // segment: a drawn line (17,1,0), else an edge (17,0,0)
  bool indented = false;  // group: "  (g9," of a polyline or fill
  std::optional<int32_t> pattern;  // fill
  std::string font;       // text
  std::string text;       // text, the escapes removed
};

struct FrameDocument {
  std::vector<FrameRecord> records;  // between the head and the end lines
  std::string error;                 // empty when the document reads
};

inline const std::vector<std::string> kFrameHead = {
    "<!OPS, Version = 4.0>",
    "<fgplot>",
    "<Frame, Placement =    At Anchor,",
    "        Width     =    6.6 inches,",
    "        Height    =    6.6 inches,",
    "        Vertical Alignment  = 0 inches>",
    "V4,",
    "(g9,1,0",
};

namespace framereader {

// An Iw field: right-justified digits with an optional sign, or w asterisks.
inline bool integerField(const std::string& f, std::optional<int32_t>& value) {
  if (f.find_first_not_of('*') == std::string::npos) {
    value.reset();
    return true;
  }
  static const std::regex form(" *-?[0-9]+");
  if (!std::regex_match(f, form)) return false;
  value = std::stoi(f);
  return true;
}

// An F9.5 field: right-justified, five decimals, or nine asterisks.
inline bool inchField(const std::string& f, std::optional<double>& value) {
  if (f == "*********") {
    value.reset();
    return true;
  }
  static const std::regex form(" *-?[0-9]*\\.[0-9]{5}");
  if (f.size() != 9 || !std::regex_match(f, form)) return false;
  value = std::stod(f);
  return true;
}

// An escaped text: every blank, ",", "<", ">", "(", ")" and backslash after a backslash.
inline bool escapedText(const std::string& f, std::string& text) {
  if (f.size() > 39) return false;
  text.clear();
  for (size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    const bool special = std::string(" ,<>()\\").find(c) != std::string::npos;
    if (c == '\\') {
      if (i + 1 == f.size()) return false;
      const char next = f[++i];
      if (std::string(" ,<>()\\").find(next) == std::string::npos) return false;
      text += next;
    } else if (special) {
      return false;
    } else {
      text += c;
    }
  }
  return true;
}

}  // namespace framereader

inline FrameDocument readFrame(const std::vector<std::string>& lines) {
  FrameDocument doc;
  const auto fail = [&](size_t line, const std::string& why) {
    doc.error = "line " + std::to_string(line + 1) + ": " + why +
                (line < lines.size() ? " <" + lines[line] + ">" : "");
    return doc;
  };
  if (lines.size() < kFrameHead.size() + 2) return fail(lines.size(), "too short");
  for (size_t i = 0; i < kFrameHead.size(); ++i) {
    if (lines[i] != kFrameHead[i]) return fail(i, "not the head line <" + kFrameHead[i] + ">");
  }
  if (lines.back() != "<End Frame>") return fail(lines.size() - 1, "not the end line");

  static const std::regex segment(
      "\\(v4,(.{5}),0,(.{9}),(.{9}),(.{9}),(.{9}),17,([01]),0\\)");
  static const std::regex group("(  )?\\(g9,(.{5}),0");
  static const std::regex fill("\\(p6,(.{5}),24,(.{2})");
  static const std::regex text("\\(t8,(.{5}),4,(.{9}),(.{9}),0,17,(.{6}),(.*)\\)");

  // The open groups: 'h' the head's, 'g' a group, 'f' a fill and 'F' the group inside it.
  std::string open = "h";
  const size_t last = lines.size() - 2;  // the closing ")" of the head's group
  for (size_t i = kFrameHead.size(); i <= last; ++i) {
    const std::string& line = lines[i];
    std::smatch m;
    FrameRecord r;
    if (open.empty()) return fail(i, "record after the head's group closed");
    if (line == ")") {
      if (open.back() == 'f' || open.back() == 'F') return fail(i, "a fill closed by one \")\"");
      open.pop_back();
      r.kind = FrameRecord::End;
      if (i == last) {
        if (!open.empty()) return fail(i, "groups left open: " + open);
        break;
      }
      if (open.empty()) return fail(i, "the head's group closed before the end");
    } else if (line == "))") {
      if (open.size() < 2 || open.substr(open.size() - 2) != "fF") return fail(i, "\"))\" outside a fill");
      open.resize(open.size() - 2);
      r.kind = FrameRecord::EndFill;
    } else if (std::regex_match(line, m, segment)) {
      r.kind = FrameRecord::Segment;
      if (!framereader::integerField(m[1], r.object)) return fail(i, "object number");
      for (int k = 2; k <= 5; ++k) {
        std::optional<double> v;
        if (!framereader::inchField(m[k], v)) return fail(i, "coordinate " + std::to_string(k - 1));
        r.inches.push_back(v);
      }
      r.drawn = m[6] == "1";
    } else if (std::regex_match(line, m, group)) {
      r.kind = FrameRecord::Group;
      r.indented = m[1].matched;
      if (!framereader::integerField(m[2], r.object)) return fail(i, "object number");
      const bool inFill = !open.empty() && open.back() == 'f';
      if (inFill && (!r.indented || doc.records.back().object != r.object)) {
        return fail(i, "a fill's group is indented and carries the fill's number");
      }
      open += inFill ? 'F' : 'g';
    } else if (std::regex_match(line, m, fill)) {
      r.kind = FrameRecord::Fill;
      if (!framereader::integerField(m[1], r.object)) return fail(i, "object number");
      if (!framereader::integerField(m[2], r.pattern)) return fail(i, "fill pattern");
      if (i + 1 > last || lines[i + 1].rfind("  (g9,", 0) != 0) return fail(i, "a fill without its group");
      open += 'f';
    } else if (std::regex_match(line, m, text)) {
      r.kind = FrameRecord::Text;
      if (!framereader::integerField(m[1], r.object)) return fail(i, "object number");
      for (int k = 2; k <= 3; ++k) {
        std::optional<double> v;
        if (!framereader::inchField(m[k], v)) return fail(i, "coordinate " + std::to_string(k - 1));
        r.inches.push_back(v);
      }
      r.font = m[4];
      if (!framereader::escapedText(m[5], r.text)) return fail(i, "escaped text");
    } else {
      return fail(i, "no record of the frame has this form");
    }
    if (open.back() == 'f' && r.kind == FrameRecord::Segment) return fail(i, "a segment outside the fill's group");
    doc.records.push_back(r);
  }
  return doc;
}

}  // namespace kvr::test
