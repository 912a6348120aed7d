// The condition table as the constraint and connection queries read it: one reader of a
// condition record, the decoder of its packed flag words, the split of its entity codes,
// and the node list of a target kept apart from the host's arrays.
//
// CNDREC: the attribute entry of type 5 of a condition number (1 to MODCNT's condition
// count), named, its values REALs read as integers by truncation: 1 the type word (the
// type in its last two digits, for a connection the matching mode in the hundreds), 2 a
// flag word, 3 the first target's entity code, 4 a value or a second flag word, 5 the
// second target's code or an equation's form, 6 a value or the head of an equation term.
//
// A flag word carries flags 1 to 31 in the bits of its magnitude, flag i of weight
// 2^(i-1); its sign is no flag. Decoded unsigned each flag is 0 or 1, signed it is the bit
// times the sign of the word. Flags 1 to 16 form the lower half, flags 17 to 31 the upper
// half, which fills positions 1 to 15 of a 16-word array and clears position 16.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kvr {

inline constexpr int32_t kConditionEntryType = 5;
inline constexpr int32_t kConditionRecordValues = 6;
inline constexpr int32_t kFlagPositions = 16;

// The condition types.
inline constexpr int32_t kRigidBeamType = 5;
inline constexpr int32_t kConnectionType = 7;
inline constexpr int32_t kEquationType = 8;
inline constexpr int32_t kPrescribedType = 9;

// One condition record: its name words and values 1..6 (values the entry does not hold
// read as 0).
struct ConditionRecord {
  std::array<int32_t, 2> name{};
  std::array<float, kConditionRecordValues> values{};

  float value(int32_t k) const { return values[static_cast<size_t>(k - 1)]; }
  // Value K truncated toward zero.
  int32_t word(int32_t k) const;
};

// Statuses of the reader.
inline constexpr int32_t kConditionRead = 0;
inline constexpr int32_t kConditionOutOfRange = 1;
inline constexpr int32_t kConditionMissing = 2;

// Reads condition NUMBER into R: 0 done; 1 NUMBER outside 1..the condition count; 2 no
// entry for it (R untouched on 1 and 2).
int32_t readCondition(int32_t number, ConditionRecord& r);

// An entity code split into kind (code mod 10) and number (code div 10), a set's code
// first lowered by 10: the store numbers sets one higher than the queries.
struct EntityTarget {
  int32_t kind = 0;
  int32_t number = 0;
};
int32_t setCorrected(int32_t code);
EntityTarget splitTarget(int32_t code);

enum class FlagSign { kUnsigned, kSigned };
enum class FlagHalf { kLower, kUpper };

// Flags 1..31 of WORD (position i - 1 for flag i).
std::array<int32_t, 31> decodeFlags(int32_t word, FlagSign sign);

// One half of WORD's flags into OUT: flags 1..16, or flags 17..31 and a cleared 16th.
void flagHalf(int32_t word, FlagSign sign, FlagHalf half, std::span<int32_t, kFlagPositions> out);

// The node list (external numbers) of entity NUMBER of KIND, as UNODEG gives it, into a
// list of the library's own with room for every node of the model. Answers UNODEG's
// status (NODES empty unless 0 or 2).
int32_t entityNodes(int32_t kind, int32_t number, std::vector<int32_t>& nodes);

}  // namespace kvr
