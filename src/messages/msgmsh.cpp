// The meshing and geometry messages 0000-0349, composed from the posted queue MSGARG.
// The thousands digit of the code gives the severity: 0 M (written only while commands
// are echoed, never journalled), 1 W (to the host's message hook), 2 E and 3 F (to the
// message unit), 4 and above no letter and no unit line.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>

#include "messages/catalog.h"
#include "messages/catline.h"
#include "messages/meshtext.h"
#include "messages/synsta.h"
#include "platform/fmtedit.h"
#include "runtime/ftext.h"
#include "runtime/modcon.h"
#include "runtime/msgarg.h"
#include "runtime/msglin.h"
#include "runtime/txtutil.h"

namespace kvr {
namespace {

// Every line holds 255 positions, so that a continuation line longer than 80 reaches
// the message unit whole.
constexpr int32_t kLineLength = 255;
constexpr int32_t kLastTens = 34;  // numbers 0000-0349
// 0197 and 0199 have no text either.
constexpr int32_t kWithoutMessage[] = {197, 199, 260, 268, 269, 339};
constexpr char kLetters[] = {'M', 'W', 'E', 'F'};

// The selectors of the messages whose pieces depend on their values: each answers the
// variant, counted from the first description of its number.
int32_t selectBodyName(const MeshSlots& s) { return s.real(1) == 0.0f ? 1 : 0; }
int32_t selectByCount1(const MeshSlots& s) {
  int32_t reason = s.count(1);
  return reason >= 1 && reason <= 3 ? reason : 0;
}
int32_t selectByCount1From2(const MeshSlots& s) {
  int32_t reason = s.count(1);
  return reason == 2 || reason == 3 ? reason - 1 : 0;
}
int32_t selectByCount3(const MeshSlots& s) {
  int32_t source = s.count(3);
  return source == 1 || source == 2 ? source : 0;
}
int32_t selectCount1IsOne(const MeshSlots& s) { return s.count(1) == 1 ? 1 : 0; }
int32_t selectCount2IsOne(const MeshSlots& s) { return s.count(2) == 1 ? 1 : 0; }
int32_t selectCount4Above0(const MeshSlots& s) { return s.count(4) > 0 ? 1 : 0; }
// 0057: lines a and surfaces b, each singular or plural; none at all has no text.
int32_t selectLinesSurfaces(const MeshSlots& s) {
  int32_t a = intOf(s.real(1));
  int32_t b = intOf(s.real(2));
  if (a > 0 && b > 0) return 1 + (a != 1 ? 2 : 0) + (b != 1 ? 1 : 0);
  if (a > 0) return 5 + (a != 1 ? 1 : 0);
  if (b > 0) return 7 + (b != 1 ? 1 : 0);
  return 0;
}
// 0094: surfaces, bodies or transforms move the counts to a line of their own; arc lines
// add a second line.
int32_t selectAffected(const MeshSlots& s) {
  bool more = s.count(3) > 0 || s.count(4) > 0 || s.count(6) > 0;
  return (more ? 2 : 0) + (s.count(5) > 0 ? 1 : 0);
}
// 0137 and 0138: one bit for each of the three counts above 0.
int32_t selectThreeCounts(const MeshSlots& s) {
  return (s.count(1) > 0 ? 4 : 0) + (s.count(2) > 0 ? 2 : 0) + (s.count(3) > 0 ? 1 : 0);
}
// The set name in slots K and K+1 is blank when its first word is four blanks.
int32_t selectSetIn1(const MeshSlots& s) { return s.word(1) == kBlankCode ? 0 : 1; }
int32_t selectSetIn3(const MeshSlots& s) { return s.word(3) == kBlankCode ? 0 : 1; }
// 0295: the direction by the size of x, the change by its sign; x of 0 has neither.
int32_t selectLimit(const MeshSlots& s) {
  float x = s.real(1);
  if (x == 0.0f) return 0;
  float size = std::fabs(x);
  int32_t direction = size > 0.5f && size < 1.5f   ? 1
                      : size > 1.5f && size < 2.5f ? 2
                      : size > 2.5f && size < 3.5f ? 3
                                                   : 0;
  return (x > 0.0f ? 1 : 5) + direction;
}
int32_t selectReadSource(const MeshSlots& s) {
  int32_t source = s.count(2);
  if (source >= 1 && source <= 3) return source;
  if (source >= 11 && source <= 13) return source - 7;
  return 0;
}
int32_t selectPickItem(const MeshSlots& s) {
  int32_t item = intOf(s.real(1));
  return item >= 17 && item <= 24 ? item - 16 : 0;
}

constexpr MeshText kTexts[] = {
    // 0000
    {0, R"~("0000:" {I1} {I2} {I3} {I4} ". Please report error.")~"},
    {1, R"~("0001: Time/Frequency curve modifier only valid for existing curves")~"},
    {2, R"~("0002:Incorrect transformation parameters")~"},
    {3, R"~("0003:Only" {I1} "physical properties permitted.  Definition ignored")~"},
    {4, R"~("0004:The type" {C1} "does not apply here")~"},
    {5, R"~("0005:" {C1} "is not defined")~"},
    {6, R"~("0006: String is too long")~"},
    {7, R"~("0007: Invalid input offset")~"},
    {8, R"~("0008:Nothing to process")~"},
    {9, R"~("0009:Arc centre too close to start")~", R"~("      or end point on line " & {N1})~"},
    // 0010
    {10, R"~("0010: Divisions on surface" {N1} "are not compatible with surface" {N3})~"},
    {11, R"~("0011:Deleted-" {N1})~"},
    {12, R"~("0012:" {N1} "not found in set" {N3})~"},
    {13, R"~("0013:Next number for new node must be" {I1})~"},
    {14, R"~("0014:Too many points in spline" {N1})~"},
    {15, R"~("0015:Problem with part" {N1} "in copy")~"},
    {16, R"~("0016:Subdivisions of sides are not compatible in" {N1})~"},
    {17, R"~("0017:Element type" {C1} "not possible on specified part")~"},
    {18, R"~("0018:Copy to existing part is not allowed")~"},
    {19, R"~("0019:Incorrect definition of surface" {N1} "at" {N3})~"},
    // 0020
    {20, R"~("0020:The points can not define a coord system")~"},
    {21, R"~("0021:Next number for new element must be" {I1})~"},
    {22, R"~("0022:Element type not defined on" {N1})~"},
    {23, R"~("0023:Elements must be consecutive on a part")~"},
    {24, R"~("0024:Element number" {I1} "does not exist")~"},
    {25, R"~("0025:Too many nodes on" {N1} ". Max is" {I3})~"},
    {26, R"~("0026:Nothing to output")~"},
    {27, R"~("0027:Integer value must be between" {I1} "and" {I2})~"},
    {28, R"~("0028:Too many elements on" {N1})~"},
    {29, R"~("0029:Prism " {N1} " requires a named transform to mesh it")~"},
    // 0030
    {30, R"~("0030: Incorrect definition of body" {N1} "at surface" {N3})~", {}, {}, selectBodyName},
    {30, R"~("0030: Incorrect definition of body" "at surface" {N3})~", {}, {}},
    {31, R"~("0031:No active part for manual elements")~"},
    {32, R"~("0032:Very short line -" {N1})~"},
    {33, R"~("0033:Part must be point, line, or surface")~"},
    {34, R"~("0034:Lines" {N1} "     and" {N3} "are not connected")~"},
    {35, R"~("0035:Use other command to define straight line" "or arc")~"},
    {36, R"~("0036:Failed to move node" {I1} "to given shape")~"},
    {37, R"~("0037:Cut-point not found.")~", {}, {}, selectByCount1},
    {37, R"~("0037:Cut-point not found." "shapes almost tangent? (singular system)")~", {}, {}},
    {37, R"~("0037:Cut-point not found." "bad start point? (max iterations)")~", {}, {}},
    {37, R"~("0037:Cut-point not found." "shapes do not intersect? (large residual)")~", {}, {}},
    {38, R"~("0038:No intersection curve found for" {N1})~"},
    {39, R"~("0039:Invalid node match for MPC" {N1})~"},
    // 0040
    {40, R"~("0040:Identical parts used in definition")~"},
    {41, R"~("0041:Node" {I1} "does not exist")~"},
    {42, R"~("0042:Divisions on line" {N1} "must be a multiple of" {I3})~"},
    {43, R"~("0043: " & "Inadequate work array for command." "Contact your support centre.")~", R"~("LLCORF is currently set at" {W} "but it needs to be" {W+I2-I1+1})~", {}},
    {44, R"~("0044:Subdivision value not possible" {I1})~"},
    {45, R"~("0045: Only one interface element allowed through thickness on " {N1})~"},
    {46, R"~("0046:Difficult to evenly space nodes on line" {N1})~"},
    {47, R"~("0047:The number of nodes must be" {I1} "for this element")~"},
    {48, R"~("0048:No set specified or in use")~"},
    {49, R"~("0049:Impossible subdivision on line" {N1})~"},
    // 0050
    {50, R"~("0050:Points needed in part for plotting")~"},
    {51, R"~("0051:Incorrect work-box definition")~"},
    {52, R"~("0052: Coordinate outside work-box")~"},
    {53, R"~("0053: Cannot display reinforcement" {N1} ":" {REITXT3,4})~", {}, {}},
    {54, R"~("0054:" {I1} "empty sets were found")~"},
    {55, R"~("0055: Incorrect combination of parameters")~"},
    {56, R"~("0056: Help point must be placed" "closer to middle of curve" {N1})~"},
    {57, R"~()~", {}, {}, selectLinesSurfaces},
    {57, R"~("0057:" "1 LINE and" "1 SURFACE do not have a physical property")~", {}, {}},
    {57, R"~("0057:" "1 LINE and" {T2} "SURFACES do not have a physical property")~", {}, {}},
    {57, R"~("0057:" {T1} "LINES and" "1 SURFACE do not have a physical property")~", {}, {}},
    {57, R"~("0057:" {T1} "LINES and" {T2} "SURFACES do not have a physical property")~", {}, {}},
    {57, R"~("0057:" "1 LINE does not have a physical property")~", {}, {}},
    {57, R"~("0057:" {T1} "LINES do not have a physical property")~", {}, {}},
    {57, R"~("0057:" "1 SURFACE does not have a physical property")~", {}, {}},
    {57, R"~("0057:" {T2} "SURFACES do not have a physical property")~", {}, {}},
    {58, R"~("0058: Divisions on lines" {N1} "and" {N3} "must be equal")~"},
    {59, R"~("0059: BINSET (the set for unmeshable parts)" "is currently switched off")~"},
    // 0060
    {60, R"~("0060:" {I1} {C2} "elements generated on" {N3})~"},
    {61, R"~("0061:" & {I1} "nodes generated on" {N2})~"},
    {62, R"~("0062:Node connection failed at" {N1} & ". Check element types.")~"},
    {63, R"~("0063:Invalid node match for MPC" {N1})~"},
    {64, R"~("0064:The interface element type on " {N1} & "requires the  divisions on ")~", R"~((col 7) {N3} & "to be twice those on " & {N5})~"},
    {65, R"~("0065:The interface element type on " {N1} & "requires the  divisions on ")~", R"~((col 7) {N3} & "to be the same as those on " & {N5})~"},
    {66, R"~("0066:Shape " & {N1} & "is geometrically invalid.")~"},
    {67, R"~("0067:An error has occurred while processing this command.")~", R"~("Issuing UNDO to restore previous state of database.")~", R"~("Please repair or delete any invalid entities and try again.")~"},
    {68, R"~("0068:An error has occurred while processing this command.")~", R"~("UNDO disabled - unable to restore previous state of database.")~", R"~("*** Beware the current database may be corrupted.")~"},
    {69, R"~("0069:2D spline elements require a planar rectangular surface.")~", R"~("Angles or warp on " {N1} " failed using tolerances" {R3,4} " and" {R4,4})~"},
    // 0070
    {70, R"~("0070: Cannot change type of material.")~"},
    {71, R"~("0071: Cannot change type of physical")~"},
    {72, R"~("0072:Line types on surface" {N1} & "must be straight for 2D spline elements.")~"},
    {73, R"~("0073:" {I1} " material parameter(s) found outside allowable range ")~", {}, {}, selectCount2IsOne},
    {73, R"~("0073:" {I1} " physical property parameter(s) found outside allowable range ")~", {}, {}},
    {74, R"~("0074: Cannot validate reinforcement:" {REITXT1,2})~", {}, {}},
    {75, R"~("0075:" {I1} " reinforcements " & "deleted during merge.")~"},
    {76, R"~("0076: Cannot label reinforcement" {N1} ":" {REITXT3,4})~", {}, {}},
    {77, R"~("0077:This command makes temporary use of a new set" "which it will then delete")~"},
    {78, R"~("0078:Too many sets are currently open for this command")~"},
    {79, R"~("0079:No such parts were found.")~"},
    // 0080
    {80, R"~("0080:Incorrect definition of line-combination")~"},
    {81, R"~("0081:Attempt to generate pyramid-shaped body")~"},
    {82, R"~("0082:Division on line" {N1} "is too large. Max is" {I3})~"},
    {83, R"~("0083:Automatic division failed")~"},
    {84, R"~("0084:" {N1} "(the current BINSET)" "has been emptied")~"},
    {85, R"~("0085: Cannot recover nodes on surface" {N1})~"},
    {86, R"~("0086:Points are not spanning plane" {N1})~"},
    {87, R"~("0087:Incorrect definition of shape")~"},
    {88, R"~("0088:Model is too large. Please contact support.")~"},
    {89, R"~("0089:A point defining" {N1} "is on cylinder axis.")~"},
    // 0090
    {90, R"~("0090:This is not a valid database file.")~"},
    {91, R"~("0091: Body " & {N1} & "defined with only 7 points")~"},
    {92, R"~("0092:" {I1} "New merges have been created")~"},
    {93, R"~("0093:Merge" {N1} "between" {N3} "and" {N5})~"},
    {94, R"~("0094:Command will affect up to" {I1} "points," {I2} "lines")~", {}, {}, selectAffected},
    {94, R"~("0094:Command will affect up to" {I1} "points," {I2} "lines")~", R"~((col 7) "Including" {I5} "arc lines which will become straight")~", {}},
    {94, R"~((col 7) {I3} "surfaces," {I4} "bodies and" {I6} "transforms")~", {}, {}, nullptr, R"~("0094:Command will affect up to" {I1} "points," {I2} "lines")~"},
    {94, R"~((col 7) {I3} "surfaces," {I4} "bodies and" {I6} "transforms")~", R"~((col 7) "Including" {I5} "arc lines which will become straight")~", {}, nullptr, R"~("0094:Command will affect up to" {I1} "points," {I2} "lines")~"},
    {95, R"~("0095:" {I1} "nodes of" {I2} "merged between" {N3} "and" {N5})~"},
    {96, R"~("0096:Incorrect cross-section definition")~"},
    {97, R"~("0097:Shape" {N1} "cannot be attached to a surface (due to its type).")~"},
    {98, R"~("0098:" {I1} "dependent points have been made independent due to deletions.")~"},
    {99, R"~("0099: Difficult divisions for auto meshing: high aspect ratio" {R1,4} "on" {N2})~"},
    // 0100
    {100, R"~("0100:Too many nodes in MPC" {N1})~"},
    {101, R"~("0101:Invalid master constraint" {N1})~"},
    {102, R"~("0102: Too many entities in moving load set" {N1})~"},
    {103, R"~("0103:Loading definition" {N1} "can not be applied to this element")~"},
    {104, R"~("0104: No lines in moving load set" {N1})~"},
    {105, R"~("0105: Invalid line(s) for moving load part" {N1})~"},
    {106, R"~("0106: Set includes branches in moving load part" {N1})~"},
    {107, R"~("0107: Set not continuous for moving load part" {N1})~"},
    {108, R"~("0108: Moving load part is a loop in" {N1})~"},
    {109, R"~("0109: Angle greater than 5 degrees in" {N1})~"},
    // 0110
    {110, R"~("0110:Command will affect" {I1} "reinforcement(s)")~"},
    {111, R"~("0111:Surface" {N1} "redefined.")~"},
    {112, R"~("0112:Division on" {N1} "changed from" {I3} "to" {I4})~"},
    {113, R"~("0113:Position of reinforcement validated")~"},
    {114, R"~("0114:Cannot MOVE " {N1} "ONTO shape or plane.")~"},
    {115, R"~("0115:Radius of circle must be greater than TOL")~"},
    {116, R"~("0116:Cannot form circle, collinear points")~"},
    {117, R"~("0117:Angle must be less than 180 degrees.")~"},
    {118, R"~("0118:Transformed points coincide." "TOL is too large.")~"},
    {119, R"~("0119:Copy of" {c1} & {c2} ":" {I3} "existing used," {I4} "new created.")~"},
    // 0120
    {120, R"~("0120:" {I1} "points and" {I2} "lines created.")~"},
    {121, R"~("0121:" {I1} "points," {I2} "lines and" {I3} "surfaces merged")~", {}, {}, selectCount4Above0},
    {121, R"~("0121:" {I1} "points," {I2} "lines and" {I3} "surfaces merged")~", R"~((col 8) {I4} "bodies became degenerate and were deleted.")~", {}},
    {122, R"~("0122:Shape must be a plane")~"},
    {123, R"~("0123:Failed to create line-combination")~"},
    {124, R"~("0124:" {I1} "surfaces created")~"},
    {125, R"~("0125:Cannot cancel the mesh as it is locked.")~"},
    {126, R"~("0126:You must start with a new model.")~"},
    {127, R"~("0127:No intersection with shape.")~"},
    {128, R"~("0128:")~"},
    {129, R"~("0129:Set must be closed first.")~"},
    // 0130
    {130, R"~("0130:Mesh locked, no change on" {N1})~"},
    {131, R"~("0131:Not possible to change FE-environment" "after definition of material, load etc.")~"},
    {132, R"~("0132:Redefinition rejected." "Object would implicitly define itself.")~"},
    {133, R"~("0133:Mesh cancelled above NN=" {I1} "and NE=" {I2})~"},
    {134, R"~("0134:Split not performed: invalid line type or")~", R"~("     or too many lines in a line-combination")~"},
    {135, R"~("0135:" {I1} "new nodes and" {I2} "new elements generated")~"},
    {136, R"~("0136: Cannot renumber because mesh is locked")~"},
    {137, R"~("0137:" "deleted during merge")~", {}, {}, selectThreeCounts},
    {137, R"~("0137:" {I3} "shapes " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I2} "transforms " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I2} "transforms and " {I3} "shapes " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I1} "coordinate systems " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I1} "coordinate systems and " {I3} "shapes " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I1} "coordinate systems and " {I2} "transforms " & "deleted during merge")~", {}, {}},
    {137, R"~("0137:" {I1} "coordinate systems, " {I2} "transforms and " {I3} "shapes " & "deleted during merge")~", {}, {}},
    {138, R"~("0138:" "deleted during merge.")~", {}, {}, selectThreeCounts},
    {138, R"~("0138:" {I3} "loads " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I2} " properties " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I2} " properties and " {I3} "loads " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I1} " constraints " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I1} " constraints " {I3} "loads " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I1} " constraints and " {I2} " properties " & "deleted during merge.")~", {}, {}},
    {138, R"~("0138:" {I1} " constraints and " {I2} " properties and " {I3} "loads " & "deleted during merge.")~", {}, {}},
    {139, R"~("0139: Contact your support centre")~", R"~("LLCORF needs to be increased from " {I2} "to " {I3})~", {}, selectByCount1From2},
    {139, R"~("0139: Contact your support centre" "to get faster merging of line data.")~", R"~("LLCORF needs to be increased from " {I2} "to " {I3})~", {}},
    {139, R"~("0139: Contact your support centre" "to get faster merging of surface data.")~", R"~("LLCORF needs to be increased from " {I2} "to " {I3})~", {}},
    // 0140
    {140, R"~("0140:Invalid line type(s).")~"},
    {141, R"~("0141:Arc(s) not constant radius.")~"},
    {142, R"~("0142:Collinear points.")~"},
    {143, R"~("0143:Guide point on line(s).")~"},
    {144, R"~("0144:Parallel arc distance less than radius.")~"},
    {145, R"~("0145:Very short line(s).")~"},
    {146, R"~("0146:Invalid fillet radius.")~"},
    {147, R"~("0147:Lines are identical.")~"},
    {148, R"~("0148:Lines are skew.")~"},
    {149, R"~("0149:Coincident arc centres.")~"},
    // 0150
    {150, R"~("0150:No line intersection.")~"},
    {151, R"~("0151:Lines are parallel.")~"},
    {152, R"~("0152:Coordinate System must be rectangular.")~"},
    {153, R"~("0153:Coordinate System has been deleted.")~"},
    {154, R"~("0154:Direction is parallel to old-line.")~"},
    {155, R"~("0155:Too many parts in set.")~"},
    {156, R"~("0156:No surfaces in sets.")~"},
    {157, R"~("0157:Sets are not topologically identical.")~"},
    {158, R"~("0158:Incorrect surface match.")~"},
    {159, R"~("0159:Setting BINSET for unmeshable parts to" {N1})~", {}, {}, selectByCount3},
    {159, R"~("0159:Setting BINSET for unmeshable parts to" {N1} "using a resource")~", {}, {}},
    {159, R"~("0159:Setting BINSET for unmeshable parts to" {N1} "from existing database")~", {}, {}},
    // 0160
    {160, R"~("0160:Too many divisions to unsplit line" {N1})~"},
    {161, R"~("0161:Bad number of triangles in initial mesh:" {I1} ". Expected number:" {I2})~"},
    {162, R"~("0162:Trying to read before start of meshing stack" {I1})~"},
    {163, R"~("0163:Trying to write past limit of meshing stack" {I1} {I2})~"},
    {164, R"~("0164:Please increase Surface Meshing Arrays to" {I1})~"},
    {165, R"~("0165:Shape" {N1} "cannot be used for operation")~"},
    {166, R"~("0166:Region has negligible area and cannot be meshed ")~"},
    {167, R"~("0167:Loop is not simply closed on set " {N1} "at " {N3})~"},
    {168, R"~("0168:Cannot find edge in common between triangles" {I1} "and " {I2})~"},
    {169, R"~("0169:Auto mesh failed on" {N1} "due to difficult divisions or geometry.")~"},
    // 0170
    {170, R"~("0170:Unclosed LOOP in SET" {N1})~"},
    {171, R"~("0171:Surface" {N1} "is not on specified shape nor planar")~"},
    {172, R"~("0172:Surface" {N1} " is invalid due to intersecting hole(s)")~"},
    {173, R"~("0173:Surface" {N1} " is invalid due to self-intersection")~"},
    {174, R"~("0174:Slower meshing technique needed on" {N1} " used by surface" {N3})~"},
    {175, R"~("0175:Too many boundary nodes for slower meshing on " {N1})~"},
    {176, R"~("0176:Top and bottom surfaces in" {N1} "need to have the same")~", R"~((col 2) "type, divisions and meshing algorithm")~"},
    {177, R"~("0177:Element type on" {N1} "is incompatible with surface meshing algorithm")~"},
    {178, R"~("0178:Element type on" {N1} "was modified to suit surface meshing algorithm")~"},
    {179, R"~("0179:" {I1} "new nodes and" {I2} "new elements generated so far on" {N3})~"},
    // 0180
    {180, R"~("0180: General Auto Mesh Error GM" {I1})~"},
    {181, R"~("0181: Boundary of" {N1} "contains an odd number of divisions")~"},
    {182, R"~("0182: Boundary of" {N1} "contains a self intersection")~"},
    {183, R"~("0183:Invalid meshing density : " {R1,5})~"},
    {184, R"~("0184:Boundary set" {N1} "contains an inappropriate no. of divisions")~"},
    {185, R"~("0185:The boundary of surface" {N1} "contains inappropriate divisions for QU8s")~"},
    {186, R"~("0186:An unusual density value" "has been used for the meshing of surface" {N1})~"},
    {187, R"~("0187:A different meshing density" "or number of divisions" "should be specified")~"},
    {188, R"~("0188:The definition of" {N1} "is invalid")~"},
    {189, R"~("0189:It is recommended that element type " {C3} " is attached to " {N1})~"},
    // 0190
    {190, R"~("0190:Invalid node match for many to one connection" {N1})~"},
    {191, R"~("0191:No valid nodes exist for many to one MPC" {N1})~"},
    {192, R"~("0192:No valid nodes exist for one to one MPC" {N1})~"},
    {193, R"~("0193:" {N1} "(the current BINSET)" "contains any parts which failed to mesh")~"},
    {194, R"~("0194:Boundary representation in set" {N1} "is invalid.")~", R"~("The line " {N3} "bounds only one surface from " {N1})~"},
    {195, R"~("0195: General Body Pre-check:- " {I1} "surfaces have not been" "amended.")~", R"~("The surfaces have locked meshes attached to them.")~", {}, selectCount1IsOne},
    {195, R"~("0195: General Body Pre-check:- " {I1} "surface has not been" "amended.")~", R"~("The surface has a locked mesh attached to it.")~", {}},
    {196, R"~("0196: General Body Pre-check:- " {I1} "prisms have been implictly redefined.")~", {}, {}, selectCount1IsOne},
    {196, R"~("0196: General Body Pre-check:- " {I1} "prism has been implictly redefined.")~", {}, {}},
    {198, R"~("0198:No further checks will be made on  BREP set" {N1})~", R"~("as the number of errors has exceeded 10.")~"},
    // 0200
    {200, R"~("0200:Boundary representation in set" {N1} "is invalid.")~", R"~("The set contains no surfaces.")~"},
    {201, R"~("0201:Boundary representation in set" {N1} "is invalid.")~", R"~("The surfaces do not form a single, closed shell.")~"},
    {202, R"~("0202:Boundary representation in set" {N1} "is invalid.")~", R"~("The surfaces cannot be oriented consistently.")~"},
    {203, R"~("0203:Boundary representation in set" {N1} "could not be assessed.")~"},
    {204, R"~("0204:Boundary representation in set" {N1} "could not be assessed.")~", R"~("Unexpected data was encountered." "Contact your support centre.")~"},
    {205, R"~("0205:Boundary representation in set" {N1} "is invalid.")~", R"~("The surfaces are over-connected at point " {N3})~"},
    {206, R"~("0206:Boundary representation in set" {N1} "is invalid.")~", R"~("The line " {N3} "bounds more than two surfaces from " {N1})~"},
    {207, R"~("0207:Boundary representation in set" {N1} "is invalid.")~", R"~("The surface " {N3} "is not defined properly.")~"},
    {208, R"~("0208:The set" {N1} "is inappropriate for a general body definition.")~", R"~("Append the required surfaces into a new set.")~"},
    {209, R"~("0209:The set" {N1} "is inappropriate for the definition of a region.")~", R"~("Append the required lines into a new set.")~"},
    // 0210
    {210, R"~("0210: " {I1} "surfaces have been flipped.")~", {}, {}, selectCount1IsOne},
    {210, R"~("0210: " {I1} "surface has been flipped.")~", {}, {}},
    {211, R"~("0211:Consistent flip not possible on" "ALL surfaces")~", R"~("The line" {N3} "has been used to define three or more surfaces" ".")~", {}, selectSetIn1},
    {211, R"~("0211:Consistent flip not possible on" "set" {N1})~", R"~("The line" {N3} "has been used to define three or more surfaces" "in" {N5})~", {}},
    {212, R"~("0212:ALL the surfaces" "cannot be oriented consistently.")~", {}, {}, selectSetIn1},
    {212, R"~("0212:The surfaces in set" {N1} "cannot be oriented consistently.")~", {}, {}},
    {213, R"~("0213:No surfaces will be flipped in set" {N1})~", R"~("The specified base surface is not in the set.")~"},
    {214, R"~("0214:A problem has occurred whilst assessing" "ALL the surfaces.")~", R"~("Unexpected data was encountered." "Contact your support centre.")~", {}, selectSetIn1},
    {214, R"~("0214:A problem has occurred whilst assessing" "set" {N1})~", R"~("Unexpected data was encountered." "Contact your support centre.")~", {}},
    {215, R"~("0215:A problem has occurred whilst assessing" "ALL the surfaces.")~", R"~("The part " {N3} "is badly defined and cannot be used consistently.")~", {}, selectSetIn1},
    {215, R"~("0215:A problem has occurred whilst assessing" "set" {N1})~", R"~("The part " {N3} "is badly defined and cannot be used consistently.")~", {}},
    {216, R"~("0216:A problem has occurred whilst" "assessing surface " {N1})~", R"~("The surface centroid cannot" "be determined." "Contact your support centre.")~"},
    {217, R"~("0217:A problem has occurred whilst" "assessing surface " {N1})~", R"~("The surface normal cannot" "be determined." "Contact your support centre.")~"},
    {218, R"~("0218:The surface " {N1} " is not a valid reference surface.")~", R"~("The surface centroid is too close" " to the focal point")~", {}, selectSetIn3},
    {218, R"~("0218:The surface " {N1} " is not a valid reference surface for set" {N3})~", R"~("The surface centroid is too close" " to the focal point")~", {}},
    {219, R"~("0219:The surface " {N1} " is not a valid reference surface.")~", R"~("The surface is badly aligned with" " respect to the focal point")~", {}, selectSetIn3},
    {219, R"~("0219:The surface " {N1} " is not a valid reference surface for set" {N3})~", R"~("The surface is badly aligned with" " respect to the focal point")~", {}},
    // 0220
    {220, R"~("0220:A problem has occurred whilst assessing" "ALL the surfaces.")~", R"~("The focal point could not be determined. " "Contact your support centre.")~", {}, selectSetIn1},
    {220, R"~("0220:A problem has occurred whilst assessing" "set" {N1})~", R"~("The focal point could not be determined. " "Contact your support centre.")~", {}},
    {221, R"~("0221:A number of surfaces" "that are connected to" {N3})~", R"~("have not been assessed as" "they are not connected to the reference surface.")~", {}, selectSetIn1},
    {221, R"~("0221:A number of surfaces from" {N1} "that are connected to" {N3})~", R"~("have not been assessed as" "they are not connected to the reference surface.")~", {}},
    {222, R"~("0222:A number of surfaces" "were not flipped, due to a locked mesh.")~", {}, {}, selectSetIn1},
    {222, R"~("0222:A number of surfaces from" {N1} "were not flipped, due to a locked mesh.")~", {}, {}},
    {223, R"~("0223: Interface element pre-check: Surface" {N1} "could not be redefined.")~", R"~("This is due to inconsistent division settings.")~"},
    {224, R"~("0224: Interface element pre-check: Surface" {N1} "could not be redefined.")~", R"~("Redefinition of this part would compromise an exisiting mesh.")~"},
    {225, R"~("0225: Interface element pre-check: Prism" {N1} "could not be redefined.")~"},
    {226, R"~("0226: Surface" {N1} "has been redefined.")~"},
    {227, R"~("0227: Body" {N1} "has been redefined.")~"},
    {228, R"~("0228: The prism" {N1} "could not be redefined.")~", R"~("The transform could not be reversed.")~"},
    {229, R"~("0229: Body" {N1} "will not be verified.")~", R"~("The body is badly defined.")~"},
    // 0230
    {230, R"~("0230: Interface element pre-check: Body" {N1} "will not be verified.")~", R"~("The body is badly defined.")~"},
    {231, R"~("0231: Interface element pre-check: Body" {N1} "has been redefined.")~"},
    {232, R"~("0232: Interface element pre-check: Body" {N1} "could not be verified.")~", R"~("This is due to inconsistent division settings.")~"},
    {233, R"~("0233: Interface element pre-check: Body" {N1} "has not been redefined.")~", R"~("The existing mesh is not compatible.")~"},
    {234, R"~("0234: Interface element pre-check: The prism" {N1} "could not be verified.")~", R"~("Please check the prism definition.")~"},
    {235, R"~("0235: No change required on body" {N1})~"},
    {236, R"~("0236: An invalid base surface has been specified" "for body" {N1})~"},
    {237, R"~("0237: An invalid surface index has been specified" "for body" {N1})~"},
    {238, R"~("0238: No redefinition will take place for body" {N1})~", R"~("This is due to a locked mesh.")~"},
    {239, R"~("0239: The body" {N1} "cannot have its base surface redefined.")~", R"~("The body type is not appropriate.")~"},
    // 0240
    {240, R"~("0240: Surface" {N1} "will not be verified.")~", R"~("The surface is badly defined.")~"},
    {241, R"~("0241:No redefinition will take place for surface" {N1})~", R"~("The surface is swept.")~"},
    {242, R"~("0242: Redefintion of surface" {N1} "has failed.")~", R"~("Please contact your support centre.")~"},
    {243, R"~("0243: Interface element pre-check: Surface" {N1} "has been redefined.")~"},
    {244, R"~("0244: No redefinition will take place for surface" {N1})~", R"~("The mesh of a parent body is locked.")~"},
    {245, R"~("0245: No change required on surface" {N1})~"},
    {246, R"~("0246: An invalid base line has been specified" "for surface" {N1})~"},
    {247, R"~("0247: An invalid line index has been specified" "for surface" {N1})~"},
    {248, R"~("0248: No redefinition will take place for surface" {N1})~", R"~("This is due to a locked mesh.")~"},
    {249, R"~("0249: The surface" {N1} "cannot have its base line redefined.")~", R"~("The surface type is not appropriate.")~"},
    // 0250
    {250, R"~("0250: Spline element pre-check: Surface" {N1} "could not be redefined.")~", R"~("This is due to inconsistent division settings.")~"},
    {251, R"~("0251: Spline element pre-check: Surface" {N1} "could not be redefined.")~", R"~("Redefinition of this part would compromise an exisiting mesh.")~"},
    {252, R"~("0252: Spline element pre-check: Surface" {N1} "has been redefined.")~"},
    {253, R"~("0253: Spline element pre-check: Surface" {N1} "could not be redefined.")~", R"~("This is due to an invalid line type.")~"},
    {254, R"~("0254: Spline element pre-check: Surface" {N1} "could not be redefined.")~", R"~("The surface is too warped.")~"},
    {255, R"~("0255: Resource switched off")~"},
    {256, R"~("0256:Invalid number of mid-points" {I1})~"},
    {257, R"~("0257:The intermediate line could" "not be generated.")~", R"~("Projected end points are coincident.")~"},
    {258, R"~("0258:Unrecognized construction rule" {I1})~"},
    {259, R"~("0259:The intermediate line could" "not be generated.")~", R"~("The combined line" {N1} "is incorrectly defined.")~"},
    {261, R"~("0261:The surface" {S1} "appears in sets " {S3} "and " {S5})~"},
    {262, R"~("0262:Body" {S1} "cannot be meshed. It contains" "a self-intersection.")~"},
    {263, R"~("0263:Assessment of the set" {N1} "has failed.")~", R"~("The set contains no surfaces.")~"},
    {264, R"~("0264:Assessment of the set" {N1} "has failed.")~", R"~("An exterior surface could not be found." "Please contact your support centre.")~"},
    {265, R"~("0265:Assessment of the set" {N1} "has failed.")~"},
    {266, R"~("0266:Assessment of the set" {N1} "has been discontinued.")~", R"~("A normal could not be calculated for the surface " {N3})~"},
    {267, R"~("0267:Assessment of the set" {N1} "has been discontinued.")~", R"~("The surface " {N3} "contains difficult geometry.")~"},
    // 0270
    {270, R"~("0270:" {I1} "surfaces added to the set " {N2})~"},
    {271, R"~("0271:" {I1} "surfaces removed from the set " {N2} "and appended to set " {N4})~"},
    {272, R"~("0272:The solid defined by" {N1} "is unusually thin at surface" {N3})~"},
    {273, R"~("0273:User interrupt: Assessment of the set" {N1} "has been discontinued.")~"},
    {274, R"~("0274:Unexpected data: Assessment of the set" {N1} "has been discontinued.")~", R"~("Please contact your support centre.")~"},
    {275, R"~("0275:Assessment of the set" {N1} "has been discontinued due to memory problems.")~", R"~("Please contact your support centre.")~"},
    {276, R"~("0276:Assessment of the set" {N1} "has been discontinued.")~", R"~("The surface " {N3} "is not defined properly.")~"},
    {277, R"~("0277:Assessment of the set" {N1} "has been discontinued.")~", R"~("The line " {N3} "is connected to only one surface." "Use the FILL option.")~"},
    {278, R"~("0278:Assessment of the set" {N1} "has been discontinued.")~", R"~("The line " {N3} "is connected to over 100 surfaces.")~"},
    {279, R"~("0279:Assessment of the set" {N1} "has been discontinued.")~", R"~("The line " {N3} "is too small. Use CONSTRUCT MERGE. ")~"},
    // 0280
    {280, R"~("0280:An error has occurred during" "the translation of STL data.")~"},
    {281, R"~("0281:The STL data has been" "successfully converted.")~"},
    {282, R"~("0282:No intersection point found")~"},
    {283, R"~("0283:Split not performed.")~", R"~("No valid point of intersection could be found")~"},
    {284, R"~("0284:Assesment of set" {S1} "has failed.")~", R"~("Some surfaces need to be merged.")~"},
    {285, R"~("0285:Split not performed.")~", R"~("Extended arc would subtend an angle of 180 degrees")~"},
    {286, R"~("0286:No lines have been created or modified. ")~", R"~("All of the lines of intersection" "have been defined.")~"},
    {287, R"~("0287: Cannot obtain lines from set" {N1})~"},
    {288, R"~("0288: Unable to set divisions on" {N1})~"},
    {289, R"~("0289: Cannot set lines" {N1} "and" {N3} "to have equal numbers of divisions")~"},
    // 0290
    {290, R"~("0290: Improper parameter value(s) in beam" "representation for line" {N1})~"},
    {291, R"~("0291:The line" {S1} "cannot be used twice in a split command")~"},
    {292, R"~("0292: Limits cannot be used with co-ordinate system" {N1})~", R"~("Radius is less than or equal to zero")~"},
    {293, R"~("0293: Limits cannot be used with co-ordinate system" {N1})~", R"~("Theta is not between -180 and 180 degrees")~"},
    {294, R"~("0294: Limits cannot be used with co-ordinate system" {N1})~", R"~("Phi is not between 0 and 180 degrees")~"},
    {295, R"~()~", {}, {}, selectLimit},
    {295, R"~()~", R"~("No parts appended to set.")~", {}},
    {295, R"~("0295: Minimum limit in u-direction exceeds maximum limit.")~", R"~("No parts appended to set.")~", {}},
    {295, R"~("0295: Minimum limit in v-direction exceeds maximum limit.")~", R"~("No parts appended to set.")~", {}},
    {295, R"~("0295: Minimum limit in w-direction exceeds maximum limit.")~", R"~("No parts appended to set.")~", {}},
    {295, R"~()~", R"~("No parts removed from set.")~", {}},
    {295, R"~("0295: Minimum limit in u-direction exceeds maximum limit.")~", R"~("No parts removed from set.")~", {}},
    {295, R"~("0295: Minimum limit in v-direction exceeds maximum limit.")~", R"~("No parts removed from set.")~", {}},
    {295, R"~("0295: Minimum limit in w-direction exceeds maximum limit.")~", R"~("No parts removed from set.")~", {}},
    {296, R"~("0296:Measurement not performed.")~", R"~("The line" {N1} "is not straight.")~"},
    {297, R"~("0297:Line not created.")~", R"~("Intersection point was found.")~"},
    {298, R"~("0298:Split not performed.")~", R"~("The line" {N1} "is not a straight line or a constant radius arc.")~"},
    {299, R"~("0299:Radius of arc too small.")~"},
    // 0300
    {300, R"~("0300: Space curve" {N1} "has no value at current position on part")~"},
    {301, R"~("0301: Work array overflow for space curve" {N1} "(space curve type = list)")~"},
    {302, R"~("0302: Meshing algorithm for surface" {C1} "must be MAPPED")~"},
    {303, R"~("0303: Surface" {C1} "must be four-sided")~"},
    {304, R"~("0304: Element type on surface" {C1} "must be QUAD elements")~"},
    {305, R"~("0305: Error number" {I1})~", {}, {}, selectReadSource},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical material aspects")~", {}, {}},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical material concepts")~", {}, {}},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical material parameters")~", {}, {}},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical physical aspects")~", {}, {}},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical physical concepts")~", {}, {}},
    {305, R"~("0305: Error number" {I1} "found while reading hierarchical physical parameters")~", {}, {}},
    {306, R"~("0306: Surface" {S1} "is invalid")~", R"~("Inner loop" {S3} "is not wholly contained in outer loop" {S5})~"},
    {307, R"~("0307: Surface" {S1} "is invalid")~", R"~("Inner loop" {S3} "is partially contained in loop" {S5})~"},
    {308, R"~("0308:Given orientation not consistent with line for" {I1} "line(s)")~"},
    {309, R"~("0309: Co-ordinate system" {S1} "is not rectangular")~"},
    // 0310
    {310, R"~("0310:Vertex used as edge in loop definition.")~", R"~("This definition is currently not supported ")~"},
    {311, R"~("0311:Multiple loops found in face definition.")~", R"~("Assuming existence of holes. See documentation.")~"},
    {312, R"~("0312:More than 201 loops in face definition.")~", R"~("Region will not be successfully created.")~"},
    {313, R"~("0313:Outer loop not specified in face definition.")~"},
    {314, R"~("0314:Outer boundary loop of region is invalid.")~"},
    {315, R"~("0315:Hole in region is invalid.")~"},
    {316, R"~("0316:Hole shares points with outer boundary.")~"},
    {317, R"~("0317:Shell contains only one face.")~"},
    {318, R"~("0318:Shell references same face more than once.")~"},
    {319, R"~("0319: Surface" {C1} "is not four-sided so space curves have no effect on it")~"},
    // 0320
    {320, R"~("0320: Element type on surface" {N1} "must be TR elements")~"},
    {321, R"~("0321:The definition of body" {N1} "is invalid")~", R"~("Its surfaces do NOT define a closed shell.")~"},
    {322, R"~("0322: Invalid input. Enter the name of a NEW line.")~"},
    {323, R"~("0323: " {N1} "is not an independent part of the display")~", R"~(" so it cannot be removed from it.")~"},
    {324, R"~("0324: MESH TYPE part NONE will not cancel property attachments")~"},
    {325, R"~("0325: Divisions through body thickness must be 1 for HE16s")~"},
    {326, R"~("0326: Cannot locate" "requested item" "in pick list.")~", {}, {}, selectPickItem},
    {326, R"~("0326: Cannot locate" "points" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "lines" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "surfaces" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "bodies" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "geometrical parts" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "nodes" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "elements" "in pick list.")~", {}, {}},
    {326, R"~("0326: Cannot locate" "mesh items" "in pick list.")~", {}, {}},
    {327, R"~("0327: Deleted Aspect " {N1} "from Property " {N3})~"},
    {328, R"~("0328: The Aspect " {N1} "is not active for Property " {N3})~"},
    {329, R"~("0329:The intermediate line can" "not be generated" "for combined lines with" "more than 4 components.")~"},
    // 0330
    {330, R"~("0330: Very short reinforcement -" {N1})~"},
    {331, R"~("0331: Invalid reinforcement type(s).")~"},
    {332, R"~("0332: Guide point on reinforcement(s).")~"},
    {333, R"~("0333: Very short reinforcement(s).")~"},
    {334, R"~("0334: Reinforcements are identical.")~"},
    {335, R"~("0335: Reinforcements are skew.")~"},
    {336, R"~("0336: No reinforcement intersection.")~"},
    {337, R"~("0337: Reinforcements are parallel.")~"},
    {338, R"~()~"},
    // 0340
    {340, R"~("0340: the surface " {N1} " is not 4-sided.")~", R"~("it cannot be meshed as ijk-complex.")~"},
    {341, R"~("0341:No IJK patches for surface " {N1})~"},
    {342, R"~("0342: the surface" {N1} " is inappropriate for IJK smoothing.")~", R"~("It must be 4 sided with a structured mesh.")~"},
    {343, R"~("0343: IJK Smoothing completed on " {N1})~"},
    {344, R"~("0344: ")~"},
    {345, R"~("0345: ")~"},
    {346, R"~("0346: ")~"},
    {347, R"~("0347: ")~"},
    {348, R"~("0348: ")~"},
    {349, R"~("0349: ")~"},
};

// Reads a description line piece by piece and composes it into a catalogue line.
class LineReader {
 public:
  LineReader(std::string_view text, const MeshSlots& slots) : text_(text), slots_(slots) {}

  void composeInto(CatLine& line, int32_t column) {
    skipBlanks();
    if (text_.starts_with("(col ")) {
      text_.remove_prefix(5);
      column = number();
      take(')');
    }
    int32_t last = column - 1;  // the first piece starts at COLUMN
    bool adjacent = true;
    for (skipBlanks(); !text_.empty(); skipBlanks()) {
      if (take('&')) {
        adjacent = true;
        continue;
      }
      int32_t at = last + (adjacent ? 1 : 2);
      if (take('"')) {
        size_t end = text_.find('"');
        last = line.put(text_.substr(0, end), at);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
      } else if (take('{')) {
        last = insert(line, at);
      } else {
        break;  // not of the notation: the rest of the line is left out
      }
      adjacent = false;
    }
  }

 private:
  int32_t insert(CatLine& line, int32_t at) {
    if (take("REITXT")) {
      // The reinforcement text of the code and section counted in the two slots given.
      int32_t code = slots_.count(number());
      take(',');
      int32_t section = slots_.count(number());
      take('}');
      int32_t last = at - 1;
      REITXT(code, section, at, line.codes(), last);
      line.setLength(std::max(line.length(), last));
      return last;
    }
    if (take("W")) {
      // The work-array length, or what it must grow to: plus {I2} minus {I1} plus 1.
      int32_t length = MODWRK;
      if (take("+I2-I1+1")) length += slots_.count(2) - slots_.count(1) + 1;
      take('}');
      return line.putInt(length, at);
    }
    char kind = text_.empty() ? '}' : text_.front();
    text_.remove_prefix(text_.empty() ? 0 : 1);
    int32_t k = number();
    int32_t digits = take(',') ? number() : 0;
    take('}');
    const std::array<int32_t, 2> name{slots_.word(k), slots_.word(k + 1)};
    switch (kind) {
      case 'N':
        return line.putWords(name, 1, 8, at);
      case 'S': {
        std::array<char, 8> chars;
        FText text(chars.data(), static_cast<int32_t>(chars.size()));
        A4TXT(name, 8, text);
        int32_t last = at - 1;
        TXTCOD(FText(chars.data(), text.trimmedLength()), at, line.codes(), last);
        line.setLength(std::max(line.length(), last));
        return last;
      }
      case 'C':
        return line.putWords(name, 1, 4, at);
      case 'c':
        return line.putWords(name, 1, 1, at);
      case 'I':
        return line.putInt(slots_.count(k), at);
      case 'T':
        return line.putInt(intOf(slots_.real(k)), at);
      case 'R':
        return line.putReal(slots_.real(k), digits, at);
      default:
        return at - 1;
    }
  }

  void skipBlanks() {
    while (!text_.empty() && text_.front() == ' ') text_.remove_prefix(1);
  }
  bool take(std::string_view word) {
    if (!text_.starts_with(word)) return false;
    text_.remove_prefix(word.size());
    return true;
  }
  bool take(char c) {
    if (text_.empty() || text_.front() != c) return false;
    text_.remove_prefix(1);
    return true;
  }
  int32_t number() {
    int32_t n = 0;
    auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), n);
    if (error == std::errc()) text_.remove_prefix(static_cast<size_t>(end - text_.data()));
    return n;
  }

  std::string_view text_;
  const MeshSlots& slots_;
};

// The description of NUMBER in TEXTS as the slots choose its variant, or null.
const MeshText* describe(int32_t number, std::span<const MeshText> texts, const MeshSlots& slots) {
  auto first = std::lower_bound(texts.begin(), texts.end(), number,
                                [](const MeshText& t, int32_t n) { return t.number < n; });
  if (first == texts.end() || first->number != number) return nullptr;
  auto end = std::upper_bound(first, texts.end(), number,
                              [](int32_t n, const MeshText& t) { return n < t.number; });
  int32_t v = first->select != nullptr ? first->select(slots) : 0;
  return v >= 0 && v < end - first ? &first[v] : &first[0];
}

}  // namespace

float MeshSlots::real(int32_t k) const { return WRDREA(word(k)); }

int32_t MeshSlots::count(int32_t k) const {
  float x = real(k);
  int32_t whole = intOf(std::fabs(static_cast<double>(x)) + 0.1);
  return x < 0.0f ? -whole : whole;
}

void writeMeshMessage(int32_t code, std::span<const MeshText> texts, const MeshSlots& slots) {
  if (code < 0) return;
  const int32_t severity = code / 1000;
  if (severity == 0 && SYNSTA.echo == 0) return;
  const int32_t number = code % 1000;
  if (number / 10 > kLastTens) return;
  if (std::ranges::find(kWithoutMessage, number) != std::end(kWithoutMessage)) return;

  std::array<CatLine, 3> lines{CatLine(kLineLength), CatLine(kLineLength), CatLine(kLineLength)};
  if (severity < 4) lines[0].put(std::string_view(&kLetters[severity], 1), 1);
  size_t count = 1;
  if (const MeshText* text = describe(number, texts, slots)) {
    if (!text->printed.empty()) {
      // This part is printed at once, to the message unit only; line 1 starts afresh.
      LineReader(text->printed, slots).composeInto(lines[0], 2);
      CODPRT(lines[0].codes(), lines[0].length());
      lines[0] = CatLine(kLineLength);
    }
    LineReader(text->line1, slots).composeInto(lines[0], 2);
    for (std::string_view more : {text->line2, text->line3}) {
      if (more.empty()) break;
      LineReader(more, slots).composeInto(lines[count++], 1);
    }
  } else {
    lines[0].putTag(0, number, 4, 2);
  }

  UnitWriter writer = severity == 0   ? UnitWriter::WRTLIN
                      : severity == 1 ? UnitWriter::HCMSG
                      : severity <= 3 ? UnitWriter::WRTLN1
                                      : UnitWriter::None;
  writeCatalogue(std::span(lines).first(count), writer, severity != 0);
}

void MSGMSH() {
  MeshSlots slots{};
  for (int32_t k = 1; k <= MsgArg::kMaxValues; ++k) slots.words[static_cast<size_t>(k - 1)] = MSGARG.value(k);
  slots.words.back() = kBlankCode;
  writeMeshMessage(MSGARG.number(), kTexts, slots);
  // The queue is emptied also when nothing was written.
  MSGARG.count() = 0;
}

CatalogueHooks CATHOOKS{MSGMSH};

}  // namespace kvr
