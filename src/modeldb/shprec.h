// The shape records (entity kind 6): the type of a shape, the words of each type as
// INTEGER or REAL values, the values given directly or through a parameter entity, the
// entities a shape refers to, the shape's name, and the setters of a type-2 shape.
//
// Shape ID is the SHPDEF record ID of named array 10 (src/geometry/shpdef.h), its name the
// two-word record ID of named array 9. Valid types: 1, 2, 3, 4, 11, 13, 14, 23, 24, 103,
// 105, 205, 301, 311, 321, 331. A positive parameter reference k (word 18 or 19) names the
// kind-34 entity whose first REAL attribute value (type 6) stands for the direct value.
// Every routine with an ID first tests that the shape exists (SHPEXS).
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/namrec.h"
#include "runtime/ftext.h"

namespace kvr {

// The type of shape ID; 0 when the stored type is not valid; -1 when it does not exist.
int32_t SHPTYP(int32_t id);
// True when TYPE is a valid shape type.
bool SHPTOK(int32_t type);

// REFS(1..4) = the entities shape ID refers to (0 first), N how many: 3 for type 1; 1 for
// types 2 and 321; 2 for 3, 4, 13, 14, 23, 24 and 311; 4 for 301; 0 for the others; -1
// when the shape does not exist.
void SHPREF(int32_t id, std::span<int32_t, 4> refs, int32_t& n);

// The value of a type-2 (word 4), type-3/13/23 (word 5) or type-4/14/24 (words 5 and 1)
// shape, taken from the kind-34 entity of its reference (words 18 and 19) when positive.
// VALUE 0.0 and REF -1 when the shape does not exist, REF -2 for another type.
void SHPPR1(int32_t id, float& value, int32_t& ref);
void SHPPR3(int32_t id, float& value, int32_t& ref);
void SHPPR4(int32_t id, std::span<float, 2> value, std::span<int32_t, 2> ref);

// VALUE = the first REAL attribute value of kind-34 entity K; STAT 0, or -1 with VALUE
// 0.0 when K does not exist.
void K34VAL(int32_t k, float& value, int32_t& stat);
// LABEL = the label of kind-34 entity ID's attribute entry; STAT 0, or -1.
void K34LAB(int32_t id, NameWords& label, int32_t& stat);

// Field getters: STAT -1 shape missing, -2 another type, 0 read. SHR01 to SHR06 set VALUE
// to 0.0 first; the others leave it on a refusal. SHR13 gives the two words 19 and 20 of a
// type-103 shape, each truncated and divided by 100.
void SHR01(int32_t id, std::span<float, 3> value, int32_t& stat);  // 11: words 3-5
void SHR02(int32_t id, float& value, int32_t& stat);               // 11: word 1
void SHR03(int32_t id, float& value, int32_t& stat);               // 24: word 16
void SHR04(int32_t id, float& value, int32_t& stat);               // 23: word 16
void SHR05(int32_t id, float& value, int32_t& stat);               // 23: word 20
void SHR06(int32_t id, float& value, int32_t& stat);               // 24: word 20
void SHR07(int32_t id, std::span<float, 3> value, int32_t& stat);  // 331: words 7-9
void SHR08(int32_t id, std::span<float, 3> value, int32_t& stat);  // 321, 331: words 10-12
void SHR09(int32_t id, float& value, int32_t& stat);               // 105, 205: word 6
void SHR10(int32_t id, float& value, int32_t& stat);               // 105, 205: word 7
void SHR11(int32_t id, float& value, int32_t& stat);               // 205: word 9
void SHR12(int32_t id, float& value, int32_t& stat);               // 205: word 8
void SHR13(int32_t id, std::span<int32_t, 2> value, int32_t& stat);

// INTEGER field getters: the word truncated; -1 shape missing; 0 another type.
int32_t SHI01(int32_t id);  // 11, 301, 311, 321, 331: word 16
int32_t SHI02(int32_t id);  // 105, 205: word 3
int32_t SHI03(int32_t id);  // 105, 205: word 4
int32_t SHI04(int32_t id);  // 205: word 18
int32_t SHI05(int32_t id);  // 205: word 19
int32_t SHI06(int32_t id);  // 105, 205: word 1
int32_t SHI07(int32_t id);  // 105, 205: word 5
int32_t SHI08(int32_t id);  // 205: word 20
int32_t SHI09(int32_t id);  // 105, 205: word 16

// The name of shape ID as two words or as text; STAT -1 (nothing written) when it does
// not exist. SHPFNM: the shape named TEXT or LABEL; 0 none; -1 neither given. SHPRNM
// renames (statuses of nameSet).
void SHPLAB(int32_t id, NameWords& label, int32_t& stat);
void SHPNMT(int32_t id, FText text, int32_t& stat);
int32_t SHPFNM(const FText* text, const NameWords* label);
void SHPRNM(int32_t id, int32_t& stat, const FText* text, const NameWords* label,
            const bool* check);

// Setters; STAT 0 done, -1 shape missing, -2 not a type-2 shape. SHPSTY stores any TYPE;
// SHPSPR the reference K (-6 unless kind-34 entity K exists); SHPSVL the value V (-6
// unless positive); SHPSPT the point P (-7 unless it exists); SHPCLR clears all 20 words.
void SHPSTY(int32_t id, int32_t type, int32_t& stat);
void SHPSPR(int32_t id, int32_t k, int32_t& stat);
void SHPSVL(int32_t id, float v, int32_t& stat);
void SHPSPT(int32_t id, int32_t p, int32_t& stat);
void SHPCLR(int32_t id, int32_t& stat);

}  // namespace kvr
