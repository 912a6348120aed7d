// The line records (entity kind 2): LINREC, its accessors, the whole-record routines and
// the line names.
//
// LINREC: line n is words (n-1) x 16 + 1 .. n x 16 of named array 4, its name the
// two-word record n of named array 3. Word 4 packs s x (100 d + c) (c 1..99, d 0..9, the
// sign that of d); word 7 is type x 100 + subtype; word 10 is 10 x coordinate system +
// flag (0..4 or 7); word 11 material x M + property (M the packing modulus of IDPACK);
// word 12 is 100 a + b. Words 5, 6, 15 and 16 hold by type shapes, nodes, a set, a point
// or REAL values bit for bit. A composite line (type 9) has 2..20 members: with up to
// four in words 8..11, with more members 1..3 in words 8..10 and the rest in named array
// 17 from the position in word 11; word 6 is their count. An empty record is word 1 = -1
// and 15 zeros.
//
// Every accessor first tests that the line exists (LINEXS) and, where its field depends
// on the type, that the line has that type (as LNG07B gives it). Gets answer their value
// or the answer of a missing line or another type; puts answer STAT 0 done, -1 the line
// does not exist, or a refusal, and change nothing on a refusal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "modeldb/namrec.h"
#include "runtime/ftext.h"

namespace kvr {

struct LinRec {
  static constexpr int32_t kWords = 16;
  std::array<int32_t, kWords> words{};
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }
};

inline constexpr int32_t kLnStatus = 1;
inline constexpr int32_t kLnEnd1 = 2;
inline constexpr int32_t kLnEnd2 = 3;
inline constexpr int32_t kLnCode = 4;
inline constexpr int32_t kLnWord5 = 5;
inline constexpr int32_t kLnWord6 = 6;
inline constexpr int32_t kLnType = 7;
inline constexpr int32_t kLnFirst = 8;   // first mesh element; member 1
inline constexpr int32_t kLnLast = 9;    // last mesh element; member 2
inline constexpr int32_t kLnSystem = 10; // member 3
inline constexpr int32_t kLnMatProp = 11;  // member 4, or the position of members 4..
inline constexpr int32_t kLnWord12 = 12;
inline constexpr int32_t kLnNodeList = 13;
inline constexpr int32_t kLnWord14 = 14;
inline constexpr int32_t kLnWord15 = 15;
inline constexpr int32_t kLnWord16 = 16;
inline constexpr int32_t kMaxMembers = 20;

// Single-field gets.
int32_t LNG01(int32_t id);   // word 1; 0 missing
int32_t LNG02(int32_t id);   // first end point; -1 missing
int32_t LNG03(int32_t id);   // second end point
int32_t LNG04(int32_t id);   // c of word 4: types 1..6, 99; 0 type 9; -1 no type
int32_t LNG04B(int32_t id);  // d of word 4, signed; 0 otherwise
int32_t LNG05C(int32_t id);  // type 4: word 5; 0 another type
int32_t LNG06C(int32_t id);  // type 4: word 6
int32_t LNG05D(int32_t id);  // type 5: word 5 (a set)
int32_t LNG06(int32_t id);   // type 2: word 6 (a point)
int32_t LNG06D(int32_t id);  // type 2: word 6; type 3: word 5
int32_t LNG06E(int32_t id);  // type 9: the member count; -2 another type
int32_t LNG07(int32_t id);   // subtype
int32_t LNG07B(int32_t id);  // type (0 when not valid)
int32_t LNG08(int32_t id);   // first mesh element: not type 9 and typed, else -2
int32_t LNG09(int32_t id);   // last mesh element
int32_t LNG10(int32_t id);   // flag (word 10 mod 10)
int32_t LNG10B(int32_t id);  // coordinate system (word 10 div 10)
int32_t LNG11(int32_t id);   // material (word 11 div M)
int32_t LNG11B(int32_t id);  // property (word 11 mod M)
int32_t LNG12(int32_t id);   // word 12 mod 100
int32_t LNG12B(int32_t id);  // word 12 div 100
bool LNG13(int32_t id);      // word 13 is not 0
int32_t LNG13B(int32_t id);  // word 13; 0 missing
bool LNG13C(int32_t id);     // word 13 is negative
int32_t LNG14(int32_t id);   // word 14; 0 missing
int32_t LNG15B(int32_t id);  // word 15; -1 missing

// Type-3 shapes (words 5 and 16): STAT 1 read, 0 another type (V 0), -1 missing.
void LNG05(int32_t id, std::span<int32_t, 2> v, int32_t& stat);
// Type 6: word 5 or 6 as a REAL: STAT 0 read, 1 another type, -1 missing (R 0.0 then).
void LNG05B(int32_t id, float& r, int32_t& stat);
void LNG06B(int32_t id, float& r, int32_t& stat);
// Members of a composite line into LIST (at most 20, and at most LIST's size), N their
// count; N -1 missing, 0 another type.
void LNG08B(int32_t id, std::span<int32_t> list, int32_t& n);
// Type 6: V15 and V16 = words 15 and 16; V15 -1 missing, 0 another type (V16 kept).
void LNG15(int32_t id, int32_t& v15, int32_t& v16);

// Single-field puts.
void LNP01(int32_t id, int32_t v, int32_t& stat);
void LNP02(int32_t id, int32_t v, int32_t& stat);   // -2 not a point
void LNP03(int32_t id, int32_t v, int32_t& stat);
void LNP04(int32_t id, int32_t v, int32_t& stat);   // c; -3 type 9; -2 outside 1..99
void LNP04B(int32_t id, int32_t v, int32_t& stat);  // d; -3 type 9; -2 |V| above 9
void LNP05D(int32_t id, int32_t v, int32_t& stat);  // type 4 (-2)
void LNP06D(int32_t id, int32_t v, int32_t& stat);
void LNP05C(int32_t id, int32_t v, int32_t& stat);  // type 5 (-2); -3 no set; -4 wrong set
void LNP06C(int32_t id, int32_t v, int32_t& stat);  // type 2 (-3); -2 not a point
void LNP06B(int32_t id, int32_t v, int32_t& stat);  // type 2 or 3 (-3)
void LNP07(int32_t id, int32_t v, int32_t& stat);   // type; V 1 clears words 5, 6, 15
void LNP07B(int32_t id, int32_t v, int32_t& stat);  // subtype; -3 type 9; -2 not valid
void LNP08(int32_t id, int32_t v, int32_t& stat);   // -2 type 9
void LNP09(int32_t id, int32_t v, int32_t& stat);
void LNP10(int32_t id, int32_t v, int32_t& stat);   // system; -2 not 0 or a system
void LNP10B(int32_t id, int32_t v, int32_t& stat);  // flag; -2 not 0..4 or 7
void LNP11(int32_t id, int32_t v, int32_t& stat);   // material
void LNP11B(int32_t id, int32_t v, int32_t& stat);  // property
void LNP12(int32_t id, int32_t v, int32_t& stat);   // word 12 div 100
void LNP12B(int32_t id, int32_t v, int32_t& stat);  // word 12 mod 100
void LNP13(int32_t id, int32_t v, int32_t& stat);
void LNP14(int32_t id, int32_t v, int32_t& stat);
void LNP15B(int32_t id, int32_t v, int32_t& stat);

// Type 3 (-2): words 5 and 16 = two shapes; -3 not both shapes; -4 not both below 100.
void LNP05B(int32_t id, std::span<const int32_t, 2> v, int32_t& stat);
// Type 6 (-2): word 5 or 6 = R bit for bit.
void LNP05(int32_t id, float r, int32_t& stat);
void LNP06(int32_t id, float r, int32_t& stat);
// Type 9 (-2): the members LIST(1..N); -5 N outside 2..20; -3 a member is no line; -4 a
// member is composite. Members 4.. take fresh records at the end of named array 17.
void LNP08B(int32_t id, std::span<const int32_t> list, int32_t n, int32_t& stat);
// Type 6 (-2): words 15, 16 = shape P and Q; -3 no shape; -4 not type 103 or 105; -5 for
// type 103 Q not 1, 2, -1, -2 or 0 (stored as 1).
void LNP15(int32_t id, int32_t p, int32_t q, int32_t& stat);

// The fields LNGALL reads and LNPALL writes, in their order; an absent field is nullptr.
// Words 5 and 6 appear once per use they have by type.
struct LineFields {
  int32_t* type = nullptr;
  int32_t* word1 = nullptr;
  int32_t* end1 = nullptr;
  int32_t* end2 = nullptr;
  int32_t* point = nullptr;       // word 6
  int32_t* shape1 = nullptr;      // word 5
  int32_t* word5 = nullptr;       // word 5
  int32_t* shape2 = nullptr;      // word 16
  int32_t* word6 = nullptr;       // word 6
  int32_t* firstNode = nullptr;   // word 5
  int32_t* lastNode = nullptr;    // word 6
  int32_t* set = nullptr;         // word 5
  int32_t* shape = nullptr;       // word 15
  float* real5 = nullptr;         // word 5 as REAL
  float* real6 = nullptr;         // word 6 as REAL
  int32_t* qualifier = nullptr;   // word 16
  int32_t* memberCount = nullptr; // word 6 of a composite line
  int32_t* members = nullptr;     // room for 20
  int32_t* first = nullptr;       // word 8
  int32_t* last = nullptr;        // word 9
  int32_t* code = nullptr;        // c of word 4
  int32_t* digit = nullptr;       // word 4 div 100
  int32_t* subtype = nullptr;
  int32_t* low12 = nullptr;       // word 12 mod 100
  int32_t* high12 = nullptr;      // word 12 div 100
  int32_t* flag = nullptr;        // word 10 mod 10
  int32_t* material = nullptr;
  int32_t* property = nullptr;
  int32_t* system = nullptr;      // word 10 div 10
  int32_t* word13 = nullptr;
  int32_t* word14 = nullptr;
  int32_t* word15 = nullptr;
};

// Reads or writes any of the fields of line ID in one pass, without the existence and type
// tests. LNPALL sets the given members as LNP08B would, without its checks, and adds 100
// times HIGH12 to word 12.
void LNGALL(int32_t id, const LineFields& f);
void LNPALL(int32_t id, const LineFields& f);

// Copies line P's record over line Q's.
void LNCPY(int32_t p, int32_t q);
// An empty record over line ID: LNCLR when it exists (else STAT -1), LNCLR2 for any ID of
// 1 or more without the existence test (STAT -1 below 1).
void LNCLR(int32_t id, int32_t& stat);
void LNCLR2(int32_t id, int32_t& stat);
// True for the line types 1..6, 9 and 99.
bool LNTYOK(int32_t t);

// The name of line ID as two words or as text (STAT -1 when it does not exist); LNNAMP
// renames it (statuses of nameSet); LNFIND finds a line by TEXT or NAME (0 none, -1
// neither given).
void LNNAMG(int32_t id, NameWords& name, int32_t& stat);
void LNNAMT(int32_t id, FText text, int32_t& stat);
void LNNAMP(int32_t id, int32_t& stat, const FText* text, const NameWords* name, const bool* check);
int32_t LNFIND(const FText* text, const NameWords* name);

}  // namespace kvr
