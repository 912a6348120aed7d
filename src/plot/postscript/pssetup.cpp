// Opcode 1 of the PostScript driver: the settings of the section "Postscript", the page
// layout, the integer coordinate scale and the prolog with its procedure sets, then the
// colours.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/cmdlin.h"
#include "modeldb/ctlwords.h"
#include "modeldb/dblevl.h"
#include "platform/fmtedit.h"
#include "platform/unitio.h"
#include "plot/defcol.h"
#include "plot/plrgb.h"
#include "plot/pltdrv.h"
#include "plot/plxfrm.h"
#include "plot/postscript/lasopn.h"
#include "plot/postscript/lasplt.h"
#include "runtime/codtxt.h"
#include "runtime/dattim.h"
#include "runtime/envirn.h"
#include "runtime/filcls.h"
#include "runtime/genopen.h"
#include "runtime/iomode.h"
#include "runtime/pltcap.h"
#include "runtime/pltctb.h"
#include "runtime/pltdev.h"
#include "runtime/pltopt.h"
#include "runtime/pltpar.h"
#include "runtime/resget.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

constexpr int32_t kValueLength = 80;   // setting values, environment values, logo lines
constexpr int32_t kTitleCodes = 71;    // command-line codes in the title comment
constexpr int32_t kTitleLine = 80;
constexpr int32_t kKeyCodes = 6;       // the key of the user level
constexpr int32_t kDefaultColours = 31;
constexpr int32_t kColourWord = 2;     // description word 2: 9 with colour output, else 2
constexpr int32_t kColourDescription = 9;
constexpr int32_t kMonoDescription = 2;

constexpr float kPoints = 72.0f;       // points per inch
constexpr float kMillimetres = 25.4f;  // millimetres per inch
constexpr float kIntegerRange = 31500.0f;
constexpr float kBoxMargin = 0.66f;    // the bounding box lies this far into the margins

constexpr float kDefaultWidth = 8.26772f;  // inches
constexpr float kDefaultHeight = 11.6289f;
constexpr float kDefaultMargin = 0.75f;
constexpr int32_t kPortrait = 0;
constexpr int32_t kLandscape = -1;

// --- Settings -------------------------------------------------------------------------

struct Value {
  bool set = false;
  std::string text;  // the 80 characters of the value, blank-padded
  int32_t length = 0;
};

Value setting(std::string_view key) {
  FixedText value(kValueLength);
  int32_t status = 0;
  PSSET(key, value, status);
  Value v;
  v.set = status >= 1;
  v.text = std::string(value.view());
  v.length = std::min(status, kValueLength);
  return v;
}

// The environment variable NAME, 80 characters (blank when it is not set).
std::string environment(std::string_view variable) {
  FixedText name(static_cast<int32_t>(variable.size()), variable);
  FixedText value(kValueLength);
  ENVIRN(name, value);
  return std::string(value.view());
}

// The setting KEY, or when it is not set the environment variable NAME.
std::string settingOr(std::string_view key, std::string_view variable) {
  Value v = setting(key);
  return v.set ? v.text : environment(variable);
}

bool isOn(std::string_view value) { return !value.empty() && (value[0] == 'T' || value[0] == 't'); }

std::string trimmed(std::string_view s) {
  const size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

// TEXT in upper (MODE 1) or lower case, through the text routine.
std::string cased(std::string_view text, int32_t mode) {
  FixedText t(static_cast<int32_t>(text.size()), text);
  CASCNV(t, mode);
  return std::string(t.view());
}

// TEXT from its first non-blank character up to the next blank.
std::string_view firstWord(std::string_view text) {
  const size_t a = text.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  text.remove_prefix(a);
  return text.substr(0, text.find(' '));
}

float realOf(std::string_view text) {
  FixedText t(static_cast<int32_t>(text.size()), text);
  return TXTREL(t, std::min(static_cast<int32_t>(text.size()), 99));
}

float sizeSetting(std::string_view key, float fallback) {
  const Value v = setting(key);
  return v.set ? realOf(std::string_view(v.text).substr(0, static_cast<size_t>(v.length)))
               : fallback;
}

void debugLine(const std::vector<fmt::Item>& items) {
  io::writeRecord(io::kStdoutUnit, fmt::listDirected(items));
}

// What the settings give besides the page: the switches, fonts and sizes go into LASSTA;
// the three PostScript lines into the arguments.
void readSettings(std::string& translate, std::string& logo, std::string& lineWidth) {
  LasSta& st = LASSTA;
  const Value debug = setting("Debug");
  st.debug = isOn(debug.set ? debug.text : environment("TL_DEBUG"));
  const Value background = setting("Background");
  st.blackBackground = background.set && trimmed(cased(background.text, 1)) == "BLACK";
  st.textGrey = st.blackBackground ? 1 : 0;
  // "Monochrome" is read after "Colour", so it wins.
  const Value colour = setting("Colour");
  if (colour.set) st.colour = isOn(colour.text);
  const Value mono = setting("Monochrome");
  if (mono.set) st.colour = !isOn(mono.text);

  const Value large = setting("LargeFont");
  st.largeFont = large.set ? trimmed(large.text) : "Courier";
  const Value small = setting("SmallFont");
  st.smallFont = small.set ? trimmed(small.text) : st.largeFont;
  const Value title = setting("TitleFont");
  st.titleFont = title.set ? trimmed(title.text) : st.largeFont;
  st.fontSize = sizeSetting("FontSize", 8.0f);
  st.smallFontSize = sizeSetting("SmallFontSize", 6.0f);
  st.titleFontSize = sizeSetting("TitleFontSize", st.fontSize);
  st.symbolScale = sizeSetting("SymbolScale", 1.0f);

  translate = settingOr("Translate", "TL_PSTRANS");
  logo = settingOr("Logo", "TL_PSLOGO");
  lineWidth = settingOr("Linewidth", "TL_PSLWIDTH");

  if (!st.debug) return;
  debugLine({st.colour ? "LASPLT: Colour mode selected" : "LASPLT: Mono mode selected"});
  debugLine({"LASPLT: LargeFont is ", std::string_view(st.largeFont)});
  debugLine({"LASPLT: SmallFont is ", std::string_view(st.smallFont)});
  debugLine({"LASPLT: TitleFont is ", std::string_view(st.titleFont)});
  debugLine({"LASPLT: LargeFontSize is ", st.fontSize});
  debugLine({"LASPLT: SmallFontSize is ", st.smallFontSize});
  debugLine({"LASPLT: TitleFontSize is ", st.titleFontSize});
  debugLine({"LASPLT: SymbolScale is ", st.symbolScale});
  debugLine({st.blackBackground ? "LASPLT: Using BLACK background"
                                : "LASPLT: Using WHITE background"});
}

// --- Layout -----------------------------------------------------------------------------

// The page in points, the rotation, and the page mapping into PLXFRM: the picture window
// with its top raised by two character heights of the device before fits the printable
// part of the page, turned by 90 degrees when the page's long side lies across the
// orientation asked for. Answers the integer scale Q.
void layout(float width, float height, float marginX, float marginY, int32_t orientation) {
  LasSta& st = LASSTA;
  st.pageWidth = width * kPoints;
  st.pageHeight = height * kPoints;
  st.marginX = marginX * kPoints;
  st.marginY = marginY * kPoints;
  const float pw = st.pageWidth - 2.0f * st.marginX;
  const float ph = st.pageHeight - 2.0f * st.marginY;
  float pictureWidth = pw;
  float pictureHeight = ph;
  st.rotation = 0;
  if (orientation == kPortrait ? pw > ph : ph > pw) {
    st.rotation = 90;
    std::swap(pictureWidth, pictureHeight);
  }
  const PlotWindow& w = PLTDEV.window;
  const float raise = 2.0f * PLXFRM.cellHeight;
  mapPage(w, raise, pictureWidth, pictureHeight, st.marginX + pictureWidth / 2.0f,
          st.marginY + pictureHeight / 2.0f);
  // A page without printable room would make every size below infinite.
  if (!(PLXFRM.pageScale > 0.0f) || !std::isfinite(PLXFRM.pageScale)) PLXFRM.pageScale = 1.0f;
  st.s = PLXFRM.pageScale;
  st.q = std::max(windowExtent(w.xMin, w.xMax), windowExtent(w.yMin, w.yMax + raise)) /
         kIntegerRange;
}

// --- Prolog -----------------------------------------------------------------------------

std::string i5(int32_t v) { return psI(v, 5); }
std::string f12(float v) { return psF(v, 12, 5); }
std::string pair(float a, float b, std::string_view op) {
  return f12(a) + " " + f12(b) + std::string(op);
}

void procSet(std::string_view name, std::initializer_list<std::string_view> body) {
  psLine(std::string("%%BeginProcSet ") + std::string(name));
  for (std::string_view line : body) psLine(line);
  psLine("%%EndProcSet");
}

void header(int32_t day, int32_t month, int32_t year) {
  const LasSta& st = LASSTA;
  psLine("%!PS-Adobe-2.0");
  std::array<char, kTitleCodes> title{};
  CODTXT(CMDLIN.lineCodes, kTitleCodes, FText(title.data(), kTitleCodes));
  std::string line = "%%Title: " + std::string(title.data(), title.size());
  line.resize(kTitleLine, ' ');
  psLine(line);
  psLine("%%Creator: " + std::string("  Telvora Software ") + "  Release No: " +
         fmt::editI(IOMODE.release, 0) + "  Postscript Driver Version: " + "54");
  psLine("%%CreationDate: " + fmt::editI(day, 2) + "/" + fmt::editI(month, 2) + "/" +
         fmt::editI(year, 4));
  if (DBLEVL.userLevelOpen == 1) {
    std::array<int32_t, kKeyCodes> codes{};
    G101W2(codes);
    std::array<char, kKeyCodes> key{};
    CODTXT(codes, kKeyCodes, FText(key.data(), kKeyCodes));
    psLine("%%For: User-key \"" + std::string(key.data(), key.size()) + "\"");
  }
  const float boxX = kBoxMargin * st.marginX;
  const float boxY = kBoxMargin * st.marginY;
  psLine("%%BoundingBox: " + i5(intOf(boxX)) + i5(intOf(boxY)) +
         i5(intOf(st.pageWidth - boxX + 0.5f)) + i5(intOf(st.pageHeight - boxY + 0.5f)));
  psLine("%%Pages: (atend)");
  psLine("%%DocumentFonts: " + st.largeFont);
  if (st.smallFont != st.largeFont) psLine("%%+ " + st.smallFont);
  if (st.titleFont != st.largeFont && st.titleFont != st.smallFont) psLine("%%+ " + st.titleFont);
  psLine("%%EndComments");
  psLine("/saveobj save def");
}

void machineOffset(const std::string& translate) {
  psLine("%%BeginProcSet machine_dependant_offset");
  psLine("%");
  psLine("%Machine Dependant Offset Comment:");
  psLine("%");
  psLine("% Translation here is to move the machine origin to the bottom left hand ");
  psLine("% corner of an A4 page. This shift will vary between different machines.");
  psLine("% Note that the environment variable TL_PSTRANS may be used in order to ");
  psLine("% set this translation");
  psLine("%");
  psLine(trimmed(translate).empty() ? std::string("0 0 translate") : translate);
  psLine("%%EndProcSet");
}

// The lines of the logo file, each whole (a short one blank-padded to 80 characters, as
// the site's procedures were always copied); nothing when the file does not open.
void siteLogo(const std::string& logo) {
  const std::string name = trimmed(logo);
  if (name.empty()) return;
  FixedText text(static_cast<int32_t>(name.size()), name);
  constexpr int32_t kFormatted = 1;
  constexpr int32_t kReadOld = 4;
  int32_t status = 0;
  const int32_t unit =
      OPNFRE(text, kFormatted, kReadOld, 0, status, static_cast<int32_t>(name.size()));
  if (unit < 1) return;
  psLine("%%BeginProcSet Site_Logo");
  std::string line;
  while (io::readRecord(unit, line) == io::kIosOk) {
    if (line.size() < static_cast<size_t>(kValueLength)) line.resize(kValueLength, ' ');
    psLine(line);
  }
  UNTCLS(unit);
  psLine("%%EndProcSet");
}

void pageLayout(float width, float height, float marginX, float marginY) {
  const LasSta& st = LASSTA;
  psLine("%%BeginProcSet Page_Layout");
  psLine("%");
  psLine("% Page size: " + f12(width) + " in x" + f12(height) + " in");
  psLine("%            " + f12(width * kMillimetres) + " mm x" + f12(height * kMillimetres) +
         " mm");
  psLine("% Margins  : " + f12(marginX) + " in x" + f12(marginY) + " in");
  psLine("%            " + f12(marginX * kMillimetres) + " mm x" + f12(marginY * kMillimetres) +
         " mm");
  psLine("%");
  const PlXfrm& m = PLXFRM;
  if (st.rotation == 90) {
    psLine(pair(m.pageOffsetY, m.pageOffsetX, " translate"));
  } else {
    psLine(pair(m.pageOffsetX, m.pageOffsetY, " translate"));
  }
  psLine(pair(st.s, st.s, " scale"));
  psLine(psI(st.rotation, 3) + " rotate");
  psLine(pair(-m.pageOriginX, -m.pageOriginY, " translate"));
  psLine("%%EndProcSet");

  const PlotWindow& w = PLTDEV.window;
  psLine("%%BeginProcSet integer_scale");
  psLine("%");
  psLine("% This integer scale is included to enable the picture to be expressed");
  psLine("% in terms of integers in the range 0-31500");
  psLine("%");
  psLine(pair(w.xMin, w.yMin, " translate"));
  psLine(pair(st.q, st.q, " scale"));
  psLine(pair(-w.xMin / st.q, -w.yMin / st.q, " translate"));
  psLine("%%EndProcSet");
}

// A size in points as a whole number of integer units of the file.
int32_t units(float points) { return intOf(points / LASSTA.s / LASSTA.q); }

void fonts() {
  const LasSta& st = LASSTA;
  const auto font = [](const std::string& name) {
    psLine("%%BeginFont: " + name);
    psLine("%%EndFont");
  };
  font(st.largeFont);
  if (st.smallFont != st.largeFont) font(st.smallFont);
  if (st.titleFont != st.largeFont && st.titleFont != st.smallFont) font(st.titleFont);
  const auto define = [](std::string_view proc, const std::string& name, float size) {
    psLine(std::string(proc) + " /" + name + " findfont " + i5(units(size)) + " scalefont def");
  };
  define("/TitleFont", st.titleFont, st.titleFontSize);
  define("/LargeFont", st.largeFont, st.fontSize);
  define("/SmallFont", st.smallFont, st.smallFontSize);
  psLine("SmallFont setfont");
}

void procedures(const std::string& lineWidth) {
  const LasSta& st = LASSTA;
  if (st.blackBackground) {
    psLine("%%BeginProcSet concatprocs");
    psLine("/concatprocs");
    psLine("{ /proc2 exch cvlit def");
    psLine("/proc1 exch cvlit def");
    psLine("/newproc proc1 length proc2 length add");
    psLine("array def");
    psLine("newproc 0 proc1  putinterval");
    psLine("newproc proc1 length proc2 putinterval");
    psLine("newproc cvx");
    psLine("} def");
  }
  const std::string_view width = firstWord(lineWidth);
  const std::string widthLine = width.empty() ? i5(intOf(0.5f / st.q)) + " setlinewidth"
                                              : std::string(width) + " setlinewidth";
  procSet("setlinewidth", {widthLine});
  procSet("C", {"/C {setrgbcolor} bind def"});
  const PlotWindow& w = PLTDEV.window;
  const std::string centre =
      "/centretext {dup stringwidth pop " + i5(intOf(windowExtent(w.xMin, w.xMax) / st.q));
  procSet("centretext", {centre, "exch sub 2 div 0 rmoveto show} def"});
  procSet("gt", {"/gt {moveto show} bind def"});
  procSet("gp", {"/gp {1 1 3 2 roll { 1 eq {newpath moveto}",
                 "{lineto} ifelse } for closepath fill } def"});
  procSet("gpv ", {"/gpv {/count exch def", "newpath moveto count 1 sub {lineto} repeat stroke} def"});
  procSet("gv", {"/gv {newpath moveto lineto stroke} bind def"});
}

// The marker procedures: a first line, one relative move or line per step in multiples
// of a quarter (q) and a half (h) of the marker size, and a last line.
enum Step : int8_t { Z = 0, Q = 1, NQ = -1, H = 2, NH = -2 };
struct MarkerStep {
  Step a;
  Step b;
  bool line;  // rlineto, else rmoveto
};
struct MarkerProc {
  std::string_view name;
  std::string_view first;
  int32_t count;
  std::array<MarkerStep, 8> steps;
  std::string_view last;
};

constexpr std::string_view kStroke = "stroke grestore} bind def";

// In the order of the marker numbers 1 to 8.
constexpr MarkerProc kMarkerProcs[] = {
    {"pl", "/pl   {newpath moveto gsave scale", 4,
     {{{Z, NQ, false}, {Z, H, true}, {NQ, NQ, false}, {H, Z, true}}}, kStroke},
    {"as", "/as   {newpath moveto gsave scale", 8,
     {{{Z, NQ, false}, {Z, H, true}, {NQ, NQ, false}, {H, Z, true}, {NH, NQ, false},
       {H, H, true}, {Z, NH, false}, {NH, H, true}}},
     kStroke},
    {"cr", "/cr    {newpath moveto gsave scale", 4,
     {{{NQ, NQ, false}, {H, H, true}, {Z, NH, false}, {NH, H, true}}}, kStroke},
    {"sq", "/sq     {newpath moveto gsave scale", 5,
     {{{NQ, NQ, false}, {H, Z, true}, {Z, H, true}, {NH, Z, true}, {Z, NH, true}}}, kStroke},
    {"di", "/di      {newpath moveto gsave scale", 5,
     {{{Z, NQ, false}, {Q, Q, true}, {NQ, Q, true}, {NQ, NQ, true}, {Q, NQ, true}}}, kStroke},
    {"xs", "/xs      {newpath moveto gsave scale", 8,
     {{{NQ, NQ, false}, {H, Z, true}, {Z, H, true}, {NH, Z, true}, {Z, NH, true}, {H, H, true},
       {Z, NH, false}, {NH, H, true}}},
     "stroke grestore} def"},
    {"tr", "/tr      {newpath moveto gsave scale", 4,
     {{{Z, Q, false}, {NQ, NH, true}, {H, Z, true}, {NQ, H, true}}}, kStroke},
    {"mi", "/mi      {newpath moveto gsave scale", 2, {{{NQ, Z, false}, {H, Z, true}}}, kStroke},
};

void markers() {
  const LasSta& st = LASSTA;
  const float size = st.symbolScale * st.smallFontSize / st.s;
  const int32_t q = intOf(size / (4.0f * st.q));
  const int32_t h = intOf(size / (2.0f * st.q));
  const auto value = [&](Step k) {
    switch (k) {
      case Q: return q;
      case NQ: return -q;
      case H: return h;
      case NH: return -h;
      default: return 0;
    }
  };
  for (const MarkerProc& p : kMarkerProcs) {
    psLine("%%BeginProcSet " + std::string(p.name));
    psLine(p.first);
    for (int32_t k = 0; k < p.count; ++k) {
      const MarkerStep& step = p.steps[static_cast<size_t>(k)];
      psLine(i5(value(step.a)) + " " + i5(value(step.b)) + (step.line ? " rlineto" : " rmoveto"));
    }
    psLine(p.last);
    psLine("%%EndProcSet");
  }
}

// --- Colours ------------------------------------------------------------------------------

void saveColours() {
  PSCSAV.saved = true;
  PSCSAV.palette = PLRGB;
  PSCSAV.paletteOf = LASSTA.paletteOf;
  PSCSAV.counts = PLTCTB.counts;
  PSCSAV.shades = PLTCTB.shades;
}

void buildColours() {
  LasSta& st = LASSTA;
  DEFCOL();
  const int32_t highest = std::min(PLRGB.highest, PlRgb::kEntries);
  for (int32_t i = 1; i <= highest; ++i) {
    const int32_t n = PLRGB.deviceColour(i);
    PSCTAB(PLRGB.red(i), PLRGB.green(i), PLRGB.blue(i), n);
    if (LasSta::isDeviceColour(n)) st.palette(n) = i;
  }
  PLTDEV.colourCount = PLTCTB.count(kBasicColourTable);
  PLTDEV.colourCount2 = PLTDEV.colourCount;
}

}  // namespace

// Basic colours 1 and 8 trade places on white paper, so that colour 1 draws dark.
void psSwapWhiteAndBlack() {
  for (int32_t row = 1; row <= 3; ++row) {
    std::swap(PLTCTB.shade(kBasicColourTable, row, 1), PLTCTB.shade(kBasicColourTable, row, 8));
  }
}

void psRestoreColours() {
  if (!PSCSAV.saved) return;  // nothing was saved: a close before any open
  PLRGB = PSCSAV.palette;
  LASSTA.paletteOf = PSCSAV.paletteOf;
  for (int32_t t = 1; t <= PltCtb::kTables; ++t) PLTCTB.count(t) = PSCSAV.counts[static_cast<size_t>(t)];
  PLTCTB.shades = PSCSAV.shades;
}

void PSSET(std::string_view key, FText value, int32_t& status) {
  FixedText app(6, "Quorin");
  FixedText program(1, "*");
  FixedText section(10, "Postscript");
  FixedText k(static_cast<int32_t>(key.size()), key);
  RESGET(app, program, section, k, false, value, status);
}

void PSPAPR(std::string_view text, float& width, float& height, float unit, int32_t& status) {
  status = 0;
  const std::string_view word = firstWord(text);
  static constexpr struct {
    std::string_view name;
    float width;
    float height;
  } kPapers[] = {
      {"A5", 5.846457f, 8.267716f},   {"A4", 8.267716f, 11.692914f},
      {"A3", 11.692914f, 16.535433f}, {"A2", 16.535433f, 23.385828f},
      {"A1", 23.385828f, 33.110237f}, {"A0", 33.110237f, 46.811024f},
      {"QUARTO", 8.5f, 11.0f},
  };
  for (const auto& paper : kPapers) {
    if (word.find(paper.name) != std::string_view::npos) {
      width = paper.width;
      height = paper.height;
      status = 1;
      return;
    }
  }
  if (word.size() < 3 || word.find('X') == std::string_view::npos) return;
  // Every character but "X" and "." counts as a digit, as the size was always read.
  std::array<double, 2> size{};
  size_t part = 0;
  double place = 0.0;  // 0 before the decimal point
  for (char c : word) {
    if (c == 'X') {
      if (++part == size.size()) break;
      place = 0.0;
    } else if (c == '.') {
      place = 0.1;
    } else if (place == 0.0) {
      size[part] = size[part] * 10.0 + (c - '0');
    } else {
      size[part] += (c - '0') * place;
      place /= 10.0;
    }
  }
  const auto take = [unit](double v, float& target) {
    const float inches = static_cast<float>(v) / unit;
    // A size too large for a real keeps the one given, as a size of 0 does.
    if (inches != 0.0f && std::isfinite(inches)) target = inches;
  };
  take(size[0], width);
  take(size[1], height);
  status = 1;
}

void PSMARG(std::string_view text, float& marginX, float& marginY, float unit, int32_t& status) {
  status = 0;
  const std::string_view word = firstWord(text);
  const size_t plus = word.size() < 3 ? std::string_view::npos : word.find('+', 1);
  if (plus == std::string_view::npos) return;
  const float x = realOf(word.substr(0, plus));
  const float y = realOf(word.substr(plus + 1));
  if (x != 0.0f) marginX = x / unit;
  if (y != 0.0f) marginY = y / unit;
  status = 1;
}

void PSPAGE(float& width, float& height, float& marginX, float& marginY, int32_t& orientation) {
  float unit = 1.0f;
  const Value units = setting("PageSizeUnits");
  if (units.set) {
    const std::string u = cased(units.text, 2);
    if (u.find("inch") != std::string::npos) {
      unit = 1.0f;
    } else if (u.find("mm") != std::string::npos) {
      unit = kMillimetres;
    } else if (u.find("point") != std::string::npos) {
      unit = kPoints;
    }
  }
  int32_t status = 0;
  const Value size = setting("PageSize");
  if (size.set) PSPAPR(cased(size.text, 1), width, height, unit, status);
  const Value margins = setting("PageMargins");
  if (margins.set) PSMARG(margins.text, marginX, marginY, unit, status);
  const Value turn = setting("Orientation");
  orientation = turn.set && cased(turn.text, 2).find("portrait") != std::string::npos
                    ? kPortrait
                    : kLandscape;
}

void PSCTAB(int32_t red, int32_t green, int32_t blue, int32_t n) {
  if (!LasSta::isDeviceColour(n)) return;
  LASSTA.red(n) = static_cast<float>(red) / 255.0f;
  LASSTA.green(n) = static_cast<float>(green) / 255.0f;
  LASSTA.blue(n) = static_cast<float>(blue) / 255.0f;
}

void LASOPN() {
  endOpenJob();
  const bool colour = LASSTA.colour;
  LASSTA = {};
  LASSTA.colour = colour;
  LasSta& st = LASSTA;
  saveColours();

  std::string translate;
  std::string logo;
  std::string lineWidth;
  readSettings(translate, logo, lineWidth);
  float width = kDefaultWidth;
  float height = kDefaultHeight;
  float marginX = kDefaultMargin;
  float marginY = kDefaultMargin;
  int32_t orientation = kLandscape;
  PSPAGE(width, height, marginX, marginY, orientation);

  const int32_t option = PLTOPT.word(kOptColourCount);
  openDriver({"Postscript", DeviceRow::PostScript, option >= 1 ? option : kDefaultColours});
  PLTCAP.word(kColourWord) = st.colour ? kColourDescription : kMonoDescription;
  PLTDEV.colourCount2 = 0;
  PLTPAR.markerScale = 1.0f;
  layout(width, height, marginX, marginY, orientation);

  int32_t day = 0;
  int32_t month = 0;
  int32_t year = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  DATTIM(day, month, year, hour, minute, second);
  header(day, month, year);
  machineOffset(translate);
  siteLogo(logo);
  pageLayout(width, height, marginX, marginY);
  fonts();
  procedures(lineWidth);
  markers();
  psLine("%%EndProlog");

  PLTDEV.cellHeight = st.fontSize / st.s;
  PLTDEV.cellWidth = 0.6f * st.fontSize / st.s;
  st.currentSize = 1;
  st.pageCount = 1;
  st.transferPending = true;
  if (st.colour) {
    buildColours();
    if (!st.blackBackground) psSwapWhiteAndBlack();
  }
}

}  // namespace kvr
