// Chain lines as patch sides: the point at a relative position of a boundary line that may
// be a composite line (type 9), and the end-to-end order of a composite line's members.
//
// A composite line's members are stored in any order and orientation. Its member list, as
// CHNMEM answers it, is signed: a negative member is run from its second end point to its
// first. The chain's relative position is shared among the members by their lengths
// (LINLEN, reached through GEODSP).
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// One member of a chain being ordered: its line and its two end points.
struct ChainMember {
  int32_t line = 0;
  int32_t first = 0;
  int32_t second = 0;
};

// The most members a composite line has.
inline constexpr int32_t kMaxChainMembers = 20;

// POINT = the point at relative position T (0..1) of LINE: of a composite line through its
// ordered members, each taking the share of T its length has of the whole; of any other
// line by LINEVL over the line's divisions (word 4). STATUS 0; 1 for T outside 0..1, a line
// that does not exist, of type 0 or 99, a composite line whose members do not chain or
// cannot be measured, or a point LINEVL did not write. POINT is written only on status 0.
void CHNPNT(int32_t line, float t, std::span<float, 3> point, int32_t& status);

// LIST(1..COUNT) = the members of composite LINE in chain order, signed by the way each is
// run. STATUS 0; 1 the members do not form one chain (or one cannot be read); 2 LINE is
// not of type 9 or has no members; 3 LINE does not exist. COUNT is 0 unless STATUS is 0.
void CHNMEM(int32_t line, std::span<int32_t, kMaxChainMembers> list, int32_t& count,
            int32_t& status);

// FIRST and SECOND = the end points (line words 2 and 3) of line |MEMBER|. STATUS 0; 1
// when the line does not exist (FIRST and SECOND unwritten).
void CHNGET(int32_t member, int32_t& first, int32_t& second, int32_t& status);

// Orders MEMBERS(1..N) end to end into LIST(1..N), signed member lines. ORDER holds
// 1..N on entry and is permuted. The chain starts at member 1's first end point and grows
// from its open end; members that cannot be attached there are attached before its start.
// When nothing attaches after member 1 the whole chain is reversed, so it never ends with
// member 1. STATUS 0; 1 when a member has equal end points where it attaches, member 1 is
// closed on itself, some member does not attach, or N lies outside 1 .. the size of each
// span.
void CHNORD(std::span<const ChainMember> members, std::span<int32_t> order, int32_t n,
            std::span<int32_t> list, int32_t& status);

}  // namespace kvr
