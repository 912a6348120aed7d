// The contents of the menu keyword table: every keyword entry and every menu record, in
// table order. MNUTBA and MNUTBB lay them out word by word (mnutab.cpp); the word index of
// each entry and record follows from the order, so nothing here holds an index.
#include "command/mnudata.h"

namespace kvr::mnu {

// Keyword entries: number and spelling; the token classes 1 to 9 first, each one word
// holding its class code. Keyword 220 is spelled by the variant (MESHING or GRID).
constexpr std::array<KeywordEntry, kKeywordCount> kKeywords = {{
    // 1
    tokenClass(1),
    tokenClass(2),
    tokenClass(3),
    tokenClass(4),
    tokenClass(5),
    tokenClass(6),
    tokenClass(7),
    tokenClass(8),
    tokenClass(9),
    {10, "/CURSOR"},
    // 11
    {11, "/CURSOR"},
    {12, "/CURSOR"},
    {13, "/CURSOR"},
    {14, "/CURSOR"},
    {15, "/CURSOR"},
    {16, "/CURSOR"},
    {17, "/PICK"},
    {26, "/TERMINATOR"},
    {37, "UPDATE"},
    {40, "MODEL"},
    // 21
    {41, "GEOMETRY"},
    {42, "VIEWDATA"},
    {43, "IGES"},
    {44, "DXF"},
    {46, "PATRAN"},
    {47, "STL"},
    {50, "SAVE"},
    {51, "FILE"},
    {52, "CLOSE"},
    {61, "SETUP"},
    // 31
    {62, "READ"},
    {63, "WRITE"},
    {64, "TABULATE"},
    {65, "LOG"},
    {66, "DELETE"},
    {70, "DIRECTORY"},
    {71, "ANIMATE"},
    {72, "COLOURS"},
    {75, "PLOTTER"},
    {77, "ROTATIONS"},
    // 41
    {78, "SYNONYMS"},
    {79, "FEEDBACK"},
    {81, "DURATION"},
    {82, "SPEED"},
    {83, "COLOUR"},
    {84, "MONOCHROM"},
    {85, "OSCILLATE"},
    {86, "LINEAR"},
    {93, "ON"},
    {94, "OFF"},
    // 51
    {95, "BATCH"},
    {97, "OFF"},
    {101, "CONTOUR"},
    {102, "WHITE"},
    {103, "RED"},
    {104, "ORANGE"},
    {105, "YELLOW"},
    {106, "GREEN"},
    {107, "BLUE"},
    {108, "VIOLET"},
    // 61
    {109, "SAVE"},
    {110, "COLOUR"},
    {111, "POLYFILL"},
    {112, "SIZECHAR"},
    {113, "FORMAT"},
    {114, "SCALE"},
    {115, "NEUTRAL"},
    {116, "POSTSCRPT"},
    {117, "INTERLEAF"},
    {119, "MODEL"},
    // 71
    {120, "EYE"},
    {121, "ADD"},
    {122, "LIST"},
    {124, "SAVE"},
    {125, "ON"},
    {126, "TO"},
    {130, "GRAPHICS"},
    {131, "DIALOGUE"},
    {132, "PRIMARY"},
    {133, "INVERT"},
    // 81
    {142, "COPY"},
    {152, "VIEW"},
    {153, "POINTS"},
    {160, "LASERJET"},
    {161, "PAINTJET"},
    {162, "HPGL"},
    {163, "HPGL2"},
    {164, "DESKJET"},
    {165, "CGM"},
    {166, "HARDCOPY"},
    // 91
    {167, "TIFF"},
    {168, "BMP"},
    {169, "PNG"},
    {197, "AUXILIARY"},
    {203, "ALL"},
    {206, "LABELS"},
    {207, "SYMBOLS"},
    {210, "NONE"},
    {211, "UNDO"},
    {212, "GO"},
    // 101
    {213, "OPTIONS"},
    {214, "STEPS"},
    {215, "SHRINK"},
    {216, "POINT"},
    {217, "LINE"},
    {218, "SURFACE"},
    {219, "BODY"},
    {220, {}},  // MESHING, or GRID in the grid vocabulary
    {221, "MERGE"},
    {223, "ASSEMBLE"},
    // 111
    {225, "UTILITY"},
    {228, "STOP"},
    {229, "ANALYSE"},
    {621, "MODIFY"},
    {635, "CONFIRM"},
    {636, "NO"},
    {637, "YES"},
    {682, "UNLOCK"},
    {683, "CONSTRUCT"},
    {684, "HEADERS"},
    // 121
    {1001, "GEOMETRY"},
    {1002, "MESH"},
    {1003, "ANALYSIS"},
    {1004, "GRAPHICS-W"},
    {1005, "IGES"},
    {1006, "FILTERS"},
    {1010, "GBODY-REPAIR"},
    {1011, "GBODY-TRIM"},
    {1012, "GBODY-MERGE"},
    {1013, "GBODY-VERBOSE"},
    // 131
    {1014, "GBODY-FILL"},
    {1015, "GBODY-RESOLVE"},
    {1016, "REGION-ALGORITHM"},
    {1018, "MESH-NURBS-EVEN"},
    {1019, "GBODY-CHECK"},
    {1020, "CHECK-INTERFACE-ELEMS"},
    {1021, "CHECK-SPLINE-ELEMS"},
    {1023, "2DSPLINE-ANGLETOLERANCE"},
    {1024, "2DSPLINE-WARPTOLERANCE"},
    {1025, "TETMESHER-MEMORY"},
    // 141
    {1029, "SOLVER-COMMAND"},
    {1030, "AUTOREDRAW"},
    {1031, "APROG-IN-MONITOR"},
    {1032, "POINT-SYMBOLS"},
    {1033, "LINEWIDTH"},
    {1034, "ROTATIONS"},
    {1037, "MERGE-CURVES-BY"},
    {1038, "MERGE-CURVES-IPOINTS"},
    {1051, "PAVING"},
    {1052, "DELAUNAY"},
    // 151
    {1053, "SHAPES"},
    {1054, "IPOINTS"},
    {1055, "EYE"},
    {1056, "MODEL"},
    {1061, "CLOSE-GAPS"},
    {1063, "SUMMARY"},
    {1064, "PROCESS-TYPE128"},
    {1065, "CALCULATE-TYPE112"},
    {1066, "ENTITY-USE-FLAG"},
}};

// Menu records: the menu id, then its items in prompt order, each with the id of the
// menu that follows it (opt: that menu's input may be left out; kEnd: the command is
// complete).
constexpr std::array<MenuRow, kMenuRowCount> kMenus = {{
    menu(48), cls(kFile, opt(48)),
    // NO YES
    menu(49), kw(636, kEnd), kw(637, kEnd),
    menu(50), anyText(kEnd),
    menu(51), cls(kInteger, kEnd),
    menu(52), cls(kReal, kEnd),
    menu(53), cls(kNdc3, 54),
    menu(54), cls(kNdc4, kEnd),
    menu(55), cls(kText, kEnd),
    // ON OFF
    menu(57), kw(93, kEnd), kw(97, kEnd),
    // OFF
    menu(58), kw(97, kEnd), cls(kFile, kEnd),
    menu(61), anyText(opt(61)),
    menu(62), cls(kInteger, opt(62)),
    // TO
    menu(64), cls(kInteger, opt(62)), kw(126, 65),
    menu(65), cls(kInteger, opt(66)),
    // STEPS
    menu(66), kw(214, 51),
    // ON OFF
    menu(72), kw(93, kEnd), kw(94, kEnd),
    menu(74), cls(kNdc4, 53),
    // OFF
    menu(77), kw(94, kEnd), cls(kReal, kEnd),
    menu(85), cls(kInteger, 86),
    menu(86), cls(kReal, 87),
    menu(87), cls(kReal, 52),
    menu(88), anyText(89),
    menu(89), cls(kInteger, 55),
    menu(96), cls(kFile, kEnd),
    menu(140), cls(kFile, kEnd),
    // OFF
    menu(1401), kw(97, kEnd), cls(kFile, kEnd),
    // AUXILIARY FILE ASSEMBLE ANALYSE UTILITY STOP
    menu(100), typed(201, 210), typed(202, 220), kw(197, 197), kw(51, 222), kw(223, 238),
        kw(229, 215), kw(225, 260), kw(228, kEnd),
    menu(210), typed(113, opt(96)),
    menu(215), typed(113, kEnd),
    menu(220), typed(110, opt(96)),
    // CLOSE
    menu(222), kw(52, 223),
    menu(223), anyText(96),
    menu(225), typed(110, kEnd),
    menu(197), typed(109, opt(96)),
    menu(235), typed(115, kEnd),
    menu(238), typed(116, kEnd),
    // SETUP READ WRITE TABULATE LOG DELETE COPY UPDATE UNLOCK OPTIONS
    menu(260), kw(61, 3010), kw(62, 3020), kw(63, 3030), kw(64, 3040), kw(65, 1401), kw(66, 3060),
        kw(142, 3080), kw(37, 261), kw(682, 262), kw(213, 263),
    // ALL
    menu(261), kw(203, kEnd), typed(114, kEnd),
    menu(262), typed(115, kEnd),
    // ANIMATE COLOURS PLOTTER ROTATIONS SYNONYMS FEEDBACK CONFIRM VIEW UNDO DIRECTORY OPTIONS
    menu(3010), kw(71, 4010), kw(72, opt(4020)), kw(75, 4050), kw(77, 4070), kw(78, 4080),
        kw(79, 4090), kw(635, 4096), kw(152, 4120), kw(211, 72), kw(70, 96), kw(213, 10000),
    // DURATION SPEED OSCILLATE LINEAR
    menu(4010), kw(81, 51), kw(82, 51), kw(85, kEnd), kw(86, kEnd),
    // CONTOUR WHITE RED ORANGE YELLOW GREEN BLUE VIOLET PRIMARY INVERT SAVE
    menu(4020), kw(101, opt(85)), kw(102, opt(85)), kw(103, opt(85)), kw(104, opt(85)),
        kw(105, opt(85)), kw(106, opt(85)), kw(107, opt(85)), kw(108, opt(85)), kw(132, opt(85)),
        kw(133, kEnd), kw(109, 96),
    // COLOUR POLYFILL SIZECHAR FORMAT
    menu(4050), kw(110, 4051), kw(111, 4052), kw(112, 4053), kw(113, 4059),
    menu(4051), cls(kInteger, kEnd),
    // OFF
    menu(4052), kw(97, kEnd),
    // SCALE
    menu(4053), cls(kInteger, 4054), kw(114, 52),
    menu(4054), cls(kInteger, 4055),
    menu(4055), cls(kInteger, 4056),
    menu(4056), cls(kInteger, kEnd),
    // NEUTRAL POSTSCRPT INTERLEAF LASERJET PAINTJET HPGL HPGL2 DESKJET CGM HARDCOPY TIFF
    menu(4059), kw(115, kEnd), kw(116, 5010), kw(117, kEnd), kw(160, kEnd), kw(161, kEnd),
        kw(162, kEnd), kw(163, 5010), kw(164, kEnd), kw(165, kEnd), kw(166, opt(5011)),
        kw(167, kEnd),
    // MONOCHROM COLOUR
    menu(5010), kw(84, kEnd), kw(110, kEnd),
    // BMP PNG
    menu(5011), kw(168, kEnd), kw(169, kEnd),
    // MODEL EYE
    menu(4070), kw(119, kEnd), kw(120, kEnd),
    // ADD LIST DELETE SAVE ON OFF
    menu(4080), kw(121, 88), kw(122, opt(50)), kw(66, 50), kw(124, 96), kw(125, kEnd), kw(97, kEnd),
    // TABULATE GEOMETRY MESHING CONSTRUCT
    menu(4090), kw(64, 4091), kw(41, 4091), kw(220, 4097), kw(683, 4095),
    // DIALOGUE SYMBOLS LABELS GRAPHICS COLOUR
    menu(4091), kw(131, 72), kw(207, 72), kw(206, 72), kw(130, 4092), kw(110, 4093),
    // ON OFF SHRINK
    menu(4092), kw(93, kEnd), kw(94, kEnd), kw(215, opt(77)),
    // POINT LINE SURFACE BODY
    menu(4093), kw(216, 4094), kw(217, 4094), kw(218, 4094), kw(219, 4094),
    // WHITE RED ORANGE YELLOW GREEN BLUE VIOLET
    menu(4094), kw(102, kEnd), kw(103, kEnd), kw(104, kEnd), kw(105, kEnd), kw(106, kEnd),
        kw(107, kEnd), kw(108, kEnd),
    // MODIFY DELETE
    menu(4096), kw(621, opt(72)), kw(66, opt(72)),
    // MERGE
    menu(4097), kw(221, 4098),
    // DIALOGUE SYMBOLS
    menu(4098), kw(131, 72), kw(207, 72),
    // MERGE
    menu(4095), kw(221, 4099),
    // DIALOGUE
    menu(4099), kw(131, 72),
    // POINTS
    menu(4120), kw(153, 72),
    // GEOMETRY VIEWDATA BATCH IGES DXF PATRAN STL
    menu(3020), kw(41, 140), kw(42, 140), kw(95, 140), kw(43, 140), kw(44, 140), kw(46, 140),
        kw(47, 140), typed(402, 140),
    // GEOMETRY VIEWDATA
    menu(3030), kw(41, 3031), kw(42, 3032),
    menu(3031), typed(113, 140),
    menu(3032), typed(115, 96),
    // SETUP
    menu(3040), kw(61, kEnd),
    // MODEL GEOMETRY VIEWDATA
    menu(3060), kw(40, 225), kw(41, 215), kw(42, 235),
    menu(3071), typed(116, kEnd),
    // GEOMETRY
    menu(3080), kw(41, 3081),
    menu(3081), typed(113, 3082),
    // TO
    menu(3082), kw(126, 3071),
    // TABULATE
    menu(263), kw(64, 2631),
    // HEADERS
    menu(2631), kw(684, 72),
    // ALL NONE
    menu(6001), kw(203, kEnd), kw(210, kEnd), cls(kInteger, opt(64)),
    // GO
    menu(6002), kw(212, kEnd), typed(115, kEnd),
    // GEOMETRY MESH ANALYSIS GRAPHICS-W IGES FILTERS
    menu(10000), kw(1001, 10001), kw(1002, 10002), kw(1003, 10003), kw(1004, 10004),
        kw(1005, 10010), kw(1006, 10011),
    // GBODY-CHECK GBODY-REPAIR GBODY-TRIM GBODY-MERGE GBODY-VERBOSE GBODY-FILL GBODY-RESOLVE
    // MERGE-CURVES-BY MERGE-CURVES-IPOINTS
    menu(10001), kw(1019, 72), kw(1010, 72), kw(1011, 72), kw(1012, 72), kw(1013, 72), kw(1014, 72),
        kw(1015, 72), kw(1037, 10009), kw(1038, 51),
    // REGION-ALGORITHM CHECK-INTERFACE-ELEMS CHECK-SPLINE-ELEMS MESH-NURBS-EVEN
    // 2DSPLINE-ANGLETOLERANCE 2DSPLINE-WARPTOLERANCE TETMESHER-MEMORY
    menu(10002), kw(1016, 10005), kw(1020, 72), kw(1021, 72), kw(1018, 72), kw(1023, 52),
        kw(1024, 52), kw(1025, 51),
    // SOLVER-COMMAND
    menu(10003), kw(1029, 140),
    // AUTOREDRAW APROG-IN-MONITOR POINT-SYMBOLS LINEWIDTH ROTATIONS
    menu(10004), kw(1030, 72), kw(1031, 72), kw(1032, 72), kw(1033, 51), kw(1034, 10007),
    // PAVING DELAUNAY
    menu(10005), kw(1051, kEnd), kw(1052, kEnd),
    // EYE MODEL
    menu(10007), kw(1055, kEnd), kw(1056, kEnd),
    // SHAPES IPOINTS
    menu(10009), kw(1053, kEnd), kw(1054, kEnd),
    // CLOSE-GAPS SUMMARY PROCESS-TYPE128 CALCULATE-TYPE112 ENTITY-USE-FLAG
    menu(10010), kw(1061, 72), kw(1063, 72), kw(1064, 72), kw(1065, 72), kw(1066, 72),
    menu(10011), typed(405, 55),
}};

// The description must hold together: keyword numbers rising from 1 to the largest, each
// menu id once, every item's keyword and every link's menu present.
namespace {

constexpr bool keywordsInOrder() {
  int32_t previous = 0;
  for (const KeywordEntry& k : kKeywords) {
    if (k.number <= previous || k.number > kMaxKeywordNumber) return false;
    if ((k.number <= kLastTokenClass) != k.spelling.empty() && k.number != kVocabularyKeyword) {
      return false;
    }
    previous = k.number;
  }
  return true;
}

constexpr bool hasKeyword(int32_t number) {
  for (const KeywordEntry& k : kKeywords) {
    if (k.number == number) return true;
  }
  return false;
}

constexpr int32_t recordsWithId(int32_t id) {
  int32_t n = 0;
  for (const MenuRow& r : kMenus) {
    if (r.row == Row::Menu && r.value == id) ++n;
  }
  return n;
}

constexpr bool menusHoldTogether() {
  int32_t heads = 0;
  int32_t items = 0;
  for (const MenuRow& r : kMenus) {
    if (r.row == Row::Menu) {
      if (recordsWithId(r.value) != 1 || (items == 0 && heads > 0)) return false;
      ++heads;
      items = 0;
      continue;
    }
    ++items;
    if (heads == 0) return false;
    if (r.row == Row::Keyword && !hasKeyword(r.value)) return false;
    if (r.next != kEnd && recordsWithId(r.next < 0 ? -r.next : r.next) != 1) return false;
  }
  return heads == kMenuCount && items > 0;
}

}  // namespace

static_assert(keywordsInOrder());
static_assert(menusHoldTogether());

}  // namespace kvr::mnu
