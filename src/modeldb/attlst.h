// The attribute list: everything the model attaches to entities beyond their geometry
// (conditions, equations, element data, labels). Each entry is keyed by an attribute type
// and an entity number and owns a run of values and a two-word label.
//
// ATTREC, entry i: the five-word INTEGER record i of named array 15: type (positive: REAL
// values in array 16; 0 or negative: INTEGER values in array 17), entity number, record of
// its first value, value count, a reserved 0. The number of entries is ARRLEN(15).
// ATTLAB, its label: the two-word record i of named array 14, an eight-character name or a
// value pair. An entry is deleted when its label's first word is the deletion marker of
// MODCON. Values are never moved or freed: a new entry takes fresh space at the end of its
// value array.
//
// Entries are found by key through an index of named array 15 kept beside the store, so a
// search costs the same however long the list is: the first live entry of a key decides.
// The index follows entries that ATTFND appends and notices a new set-up of the registry;
// a routine that rewrites entries of array 15 in place calls attributeListChanged.
//
// The seven-word records: records 1..7 of the arrays of handle words 13 and 14 (arrays 32
// and 33 of the full model), word 1 a count, positive while the record is in use.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "modeldb/qrylen.h"
#include "runtime/ftextarray.h"

namespace kvr {

inline constexpr int32_t kArrLabels = 14;
inline constexpr int32_t kArrEntries = 15;
inline constexpr int32_t kArrRealValues = 16;
inline constexpr int32_t kArrIntegerValues = 17;
inline constexpr int32_t kEntryWords = 5;

// The global copy of the ATTREC record of the entry that ATTFND found last; cleared by
// every ATTFND.
struct AttCur {
  std::array<int32_t, kEntryWords> words{};
};
inline AttCur ATTCUR;

// The routines of the model queries that the model database calls: the descriptor
// dispatchers that ITMNAM and ITMNA2 ask, the node collectors of the entity node
// selection, and the set, mesh, element-range and node queries of the connection chains.
// Until the queries install theirs, a dispatcher only clears ANSWER and every other entry
// answers failure: count 0, status 1, nothing written.
using DescriptorDispatch = void (*)(const int32_t& code, const int32_t& level,
                                    std::span<const int32_t> slots, FTextArray records,
                                    const int32_t& capacity, int32_t& count, int32_t& answer);
using NodeCollector = void (*)(const int32_t& number, int32_t& count, std::span<int32_t> list,
                               const int32_t& size, int32_t& status);
using SetMembers = void (*)(const int32_t& set, const int32_t& kind, FText name,
                            std::span<int32_t> members, const int32_t& size, int32_t& count,
                            int32_t& status);
using MeshCollector = void (*)(const int32_t& kind, const int32_t& id, int32_t& okind,
                               int32_t& onum, int32_t& count, std::span<int32_t, 9> positions,
                               int32_t& face, int32_t& word, int32_t& elements,
                               std::span<int32_t> list, const int32_t& capacity,
                               int32_t& status);
using ElementRange = void (*)(const int32_t& kind, const int32_t& number, int32_t& first,
                              int32_t& last, int32_t& eltype, int32_t& units,
                              int32_t& material, int32_t& property, int32_t& group,
                              int32_t& status);
using EntityNodes = void (*)(const int32_t& kind, const int32_t& number, int32_t& count,
                             std::span<int32_t> nodes, const int32_t& size, int32_t& status);
void noDescriptors(const int32_t& code, const int32_t& level, std::span<const int32_t> slots,
                   FTextArray records, const int32_t& capacity, int32_t& count,
                   int32_t& answer);
void noNodes(const int32_t& number, int32_t& count, std::span<int32_t> list,
             const int32_t& size, int32_t& status);
void noSetMembers(const int32_t& set, const int32_t& kind, FText name,
                  std::span<int32_t> members, const int32_t& size, int32_t& count,
                  int32_t& status);
void noMesh(const int32_t& kind, const int32_t& id, int32_t& okind, int32_t& onum,
            int32_t& count, std::span<int32_t, 9> positions, int32_t& face, int32_t& word,
            int32_t& elements, std::span<int32_t> list, const int32_t& capacity,
            int32_t& status);
void noElementRange(const int32_t& kind, const int32_t& number, int32_t& first, int32_t& last,
                    int32_t& eltype, int32_t& units, int32_t& material, int32_t& property,
                    int32_t& group, int32_t& status);
void noEntityNodes(const int32_t& kind, const int32_t& number, int32_t& count,
                   std::span<int32_t> nodes, const int32_t& size, int32_t& status);
struct DscDsp {
  DescriptorDispatch material = noDescriptors;  // MATDSC
  DescriptorDispatch property = noDescriptors;  // PHYDSC
  NodeCollector pointNodes = noNodes;            // NDPNT
  NodeCollector lineNodes = noNodes;             // NDLIN
  NodeCollector surfaceNodes = noNodes;          // NDSRF
  NodeCollector bodyNodes = noNodes;             // NDBOD
  SetMembers setMembers = noSetMembers;          // USET2
  MeshCollector lineMesh = noMesh;               // CONMSH
  ElementRange elementRange = noElementRange;    // UELEMG
  EntityNodes entityNodes = noEntityNodes;       // UNODEG
};
inline DscDsp DSCDSP;

// The entry number of the first live entry (TYPE, ID); 0 when there is none.
int32_t attributeEntry(int32_t type, int32_t id);

// Forgets the index of named array 15; the next search reads the list afresh.
void attributeListChanged();

// Finds, creates, shrinks or deletes entry (TYPE, ID); RVAL is its label, COUNT its value
// count. MODE 2, or ID 0, finds by label (the first label record equal to RVAL, found only
// when its entry has TYPE; MODE 2 also sets ID); other modes by key. Found: MODE -2
// deletes; MODE -1 lowers the count to COUNT (when positive) and writes RVAL as the label
// unless the label's first word is blank, but a COUNT above the stored one posts the
// internal error 13 (which dumps the database) and changes nothing; other modes answer
// RVAL and COUNT. Not found: MODE -1 with a positive COUNT appends a new entry with fresh
// value space; otherwise COUNT = 0.
void ATTFND(int32_t mode, std::span<int32_t, 2> rval, int32_t type, int32_t& id,
            int32_t& count);

// Moves values of entry (TYPE, ID): MODE -1 writes, MODE 2 answers the stored count in
// COUNT, any other MODE reads. A read moves positions START..START+COUNT-1 clipped into
// 1..c (c the stored count); a write moves only the positions within 1..c. TYPE below 0
// moves through IBUF, any other TYPE through RBUF; never more than the buffer holds. No
// entry, or one whose values lie outside the value store: COUNT = 0. STAT is 0.
void ATTVAL(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<int32_t> ibuf, std::span<float> rbuf, int32_t& stat);
// ATTVAL with the caller's REAL or INTEGER buffer, the other one empty.
void ATTVLR(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<float> rbuf);
void ATTVLI(int32_t mode, int32_t type, int32_t id, int32_t start, int32_t& count,
            std::span<int32_t> ibuf);

// The attributes of element ID (its type -10 entry): V1, V2, the material REF4 and the
// property REF3 (0 when they have no entry of type 4 or 3), and its N REAL values. STAT 0;
// 1 no entry; 2 N below 1, or values outside the value store; 4 N above MAXN or above
// what VALUES holds.
void ATTELM(int32_t id, int32_t maxn, std::span<int32_t, 2> rval, int32_t& v1, int32_t& v2,
            int32_t& ref4, int32_t& ref3, int32_t& n, std::span<float> values,
            int32_t& stat);

// The term records of equation head ID (type 5, values 1 and 5 being 8 and 2): the
// records i in 1..MODCNT word 51 whose values 1 and 5 are 8 and 1 and whose value 6 names
// an entry labelled as ID. STAT 0; 1 no head; 3 no term; 9 more terms than MAXL (or than
// LIST holds), the first ones in LIST.
void EQTERM(int32_t id, std::span<int32_t> list, int32_t maxl, int32_t& nlist, int32_t& stat);

// MODE 1 stores the seven-word record of handle word 13 (REC7A) or 14 (REC7B) as A1, B1,
// A2, B2, A3, B3, A4; any other MODE fetches the arguments back (all 0 while the array
// holds fewer than seven records).
void REC7A(int32_t mode, int32_t& a1, int32_t& a2, int32_t& a3, int32_t& a4, int32_t& b1,
           int32_t& b2, int32_t& b3);
void REC7B(int32_t mode, int32_t& a1, int32_t& a2, int32_t& a3, int32_t& a4, int32_t& b1,
           int32_t& b2, int32_t& b3);

// MODE 1 asks the material (ITMNAM) or property (ITMNA2) descriptor dispatch at level 0
// for analysis program CODE and answers its ANSWER in OUT; any other MODE answers word 1
// of the seven-word record of handle word 13 or 14, or 0 while that array is empty.
void ITMNAM(int32_t mode, int32_t code, int32_t& out);
void ITMNA2(int32_t mode, int32_t code, int32_t& out);

}  // namespace kvr
