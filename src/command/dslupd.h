// The display selection list: the model's record of what the picture shows, up to 68
// entries of four words (display code, entity kind, entity id, display value), with the
// drawing-item flags that tell the drawing side which items are out of date and the
// object mark bits of the entries of codes 2 and 3.
//
// Entry i is the INTEGER values 1..4 of attribute type -4, entity i, in the attribute list
// (labelled "*DSL    "), so the entries are saved with the model. Values beyond the entry
// count stay in the store but are not part of the list. DSLSTA holds the list's state
// words; they are 0 at load and only DSLUPD changes them (a model opened with entries in
// its attribute list starts with a count of 0).
//
// Codes with rules of their own: 2 and 3 (own object mark bits), 8 and 29 (a pair), the
// group codes 12, 13, 15, 32, 41 and 43, 42, 44 and 45 (a pair), -22 (drawn as item 24),
// -99 (deleted, removed by compaction); other negative codes are temporary. Code filters
// compare the remainder modulo 100 with the sign of the code (filter -9 matches -109).
// Kind 19 as a filter means any kind.
//
// Drawing items (DRWFLG, dspsta.h): entry i is item i + 31; item 24 stands for the entries
// of code -22; DSLUPD marks item 2 on every call and clears item 25 on every call but
// compaction. Items 1, 3, 13, 20, 25 and 26 are held in window 0 of their group (item 1
// always in group 0), every other item in the current window.
//
// OBJMRK: named array 34, one packed flag word a record, MACHCN word 1 bits a word
// (REGHED's ARRLEN(34) its record count). Object j owns bits 6(j-1)+1 .. 6j; selectors 1,
// 2, 3, 4 pick the first four (entries of code 2), selectors 8 and 9 the last two (code 3).
#pragma once

#include <cstdint>

namespace kvr {

struct DslSta {
  static constexpr int32_t kMaxEntries = 68;

  int32_t count = 0;      // entries in the list, 0..68
  int32_t current = 0;    // the entry just added or replaced; 1 after a removal
  int32_t changed = 0;    // 1 entries removed, replaced or matched; -1 only a value changed
  int32_t markState = 0;  // 2 after an entry of code 2 or 3 was removed
  int32_t code22 = 0;     // 1 while an entry of code -22 waits for item 24
};

inline DslSta DSLSTA;

inline constexpr int32_t kArrObjectMarks = 34;

// The one maintenance operation of the list, in modes -10..4 (DSLSTA, the drawing items
// and the mark bits as the mode says):
//   -10..-1 remove by rule (45; 44; kind 42, 65, 46 or 20 with code D or, for D 0, a group
//           code; 42; 29; 8; 3 clearing marks 5-6; 2 clearing marks 1-4; any negative code;
//           a positive code other than 2, 3, 8, 29 and 42 of a kind other than 42 and 46);
//   0 a new list of the one entry (D, R, Q, V), or with Q -2 the old entries re-typed to
//     code D and value V;
//   1 add (D, R, Q, V) or change its value; with Q -2 copy the list's entries under code D
//     and value V;
//   2 remove the entries matching code filter D (0 any), kind R and id Q (-1 any);
//   3 mark the matching entries for redraw;
//   4 compact (remove the entries of code -99).
// A 69th entry is refused with W1640. STATUS is 0, or 100 when mode 2 matched nothing and
// entity (Q, R) exists (W0323 for codes 2 and 3 and a positive kind). A mode outside
// -10..4 only voids the picture, clears item 25 and marks item 2.
void DSLUPD(int32_t p, int32_t d, int32_t q, int32_t r, int32_t v, int32_t& status);

// Clears drawing item K of group G (in the window that holds it). When it was not 0 and
// the device lets opcode 7 be sent (PLTCAP word 8 not 0), the status code K + 100 x window
// + 10000 x G goes to PLTPAR word 3 and opcode 7 is sent. An item outside the table is
// ignored.
void DRWCLR(int32_t k, int32_t g);

// Sets drawing item K to 2 (redraw) where it is not 0: with G -1 in every group and
// window, otherwise in the window of group G that holds it.
void DRWMRK(int32_t k, int32_t g);

// M 0 empties array 34 (record count 0); 1 clears bits 1-4 and 2 bits 5-6 of every object
// that has bits; any other M, or an empty array, does nothing.
void MRKCLR(int32_t m);

// Sets the bit of object J that selector I (1, 2, 3, 4, 8 or 9) picks to V (0 or 1),
// first extending array 34 with zero words up to the record that holds the object's last
// bit. STATUS 0; 1 for J below 1 or another selector (nothing written), or a fault of the
// array store.
void MRKPUT(int32_t j, int32_t i, int32_t v, int32_t& status);

}  // namespace kvr
