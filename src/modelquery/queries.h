// The query routines of the reading road, as the exported model queries and the model
// database call them. Each routine receives, in order, what its exported routine
// received: integers and reals by reference (inputs const), arrays as spans, character
// arguments as fixed-length texts whose declared length is the constant named beside the
// routine (the length the exported routine appends). Statuses come back in the last
// argument where a routine has one: 0 done, 1 number out of range, 2 entity missing,
// 9 the caller's array too small, further codes as each routine lists them.
//
// Node and element numbers cross this interface in the host's numbering, shifted by the
// model's numbering offsets (model-size positions 17 and 18).
//
// Beside the queries: the node collectors that the entity node collection calls, the
// descriptor dispatchers of the item-name services, and the mesh collection of the
// connection chains.
#pragma once

#include <cstdint>
#include <span>

#include "modeldb/descriptors.h"
#include "modeldb/qrylen.h"
#include "runtime/ftext.h"
#include "runtime/ftextarray.h"

namespace kvr {

// ---- Session start and model sizes -------------------------------------------------

// Opens the model file NAME, loads it and derives the session data; WORK (SIZE words) is
// scratch for node lists. STATUS 0 ready; 1 open failed; 2 not a usable model; 3 name
// over 128 characters; 4 command keyword table; 5 store set-up; 9 SIZE below twice the
// highest node number.
inline constexpr int32_t kUSTRT2NameLength = 80;
void USTRT2(FText name, std::span<int32_t> work, const int32_t& size, int32_t& status);

// The model-size vector: 20 positions, or 50 (positions 33-50 zero).
void USIZE(std::span<int32_t, 20> sizes);
void USIZ2(std::span<int32_t, 50> sizes);

// ---- Points, nodes, elements, names and text codes ---------------------------------

inline constexpr int32_t kUPNT2NameLength = 8;
void UPNT2(const int32_t& number, FText name, std::span<float, 3> xyz, int32_t& status);

void UNODE(const int32_t& node, std::span<float, 3> xyz, int32_t& status);

// NODES must hold the largest node count of an element (model-size position 7).
void UELEM(const int32_t& element, std::span<int32_t> nodes, int32_t& count,
           int32_t& status);

// NAME "????????" for an entity without a name.
inline constexpr int32_t kUNAMG2NameLength = 8;
void UNAMG2(const int32_t& kind, const int32_t& number, FText name, int32_t& status);

// TEXT receives the characters of codes 1..N, blank-padded.
inline constexpr int32_t kUA1CHATextLength = 80;
void UA1CHA(std::span<const int32_t> codes, const int32_t& n, FText text);

// The codes of TEXT from START on, as the text-to-codes conversion stores them; the text
// has the length the host gives, so it has no fixed length.
void USLCHA(FText text, const int32_t& start, std::span<int32_t> codes, int32_t& last);

// Upper-cases codes FIRST..LAST in place.
void UCCONV(std::span<int32_t> codes, const int32_t& first, const int32_t& last);

// The next token of CODES between START and LAST, by the command lexer, whose arguments
// these are in the same order.
void UDECOD(std::span<const int32_t> codes, const int32_t& start, const int32_t& last,
            const int32_t& mode, int32_t& kind, int32_t& first, int32_t& end,
            int32_t& ivalue, float& rvalue);

// ---- Lines, surfaces and bodies -----------------------------------------------------

inline constexpr int32_t kULINE2NameLength = 8;
void ULINE2(const int32_t& number, FText name, std::span<int32_t, 16> desc, float& length,
            int32_t& status);

// As ULINE2; a composite line also lists its member lines from DESC position 17 on.
inline constexpr int32_t kULINE3NameLength = 8;
void ULINE3(const int32_t& number, FText name, std::span<int32_t> desc, float& length,
            int32_t& status);

inline constexpr int32_t kUSURF2NameLength = 8;
void USURF2(const int32_t& number, FText name, std::span<int32_t, 16> desc,
            int32_t& status);

inline constexpr int32_t kUBODY2NameLength = 8;
void UBODY2(const int32_t& number, FText name, std::span<int32_t, 16> desc,
            int32_t& status);

// ---- Sets and entity node lists -------------------------------------------------------

// kUSET2NameLength: modeldb/qrylen.h.
void USET2(const int32_t& set, const int32_t& kind, FText name, std::span<int32_t> members,
           const int32_t& size, int32_t& count, int32_t& status);

void UNODEG(const int32_t& kind, const int32_t& number, int32_t& count,
            std::span<int32_t> nodes, const int32_t& size, int32_t& status);

// The nodes of a point, line, surface or body (internal numbers, duplicates removed) into
// LIST(1..COUNT); STATUS 0, or 9 when SIZE cannot hold them (COUNT 0).
void NDPNT(const int32_t& point, int32_t& count, std::span<int32_t> list,
           const int32_t& size, int32_t& status);
void NDLIN(const int32_t& line, int32_t& count, std::span<int32_t> list,
           const int32_t& size, int32_t& status);
void NDSRF(const int32_t& surface, int32_t& count, std::span<int32_t> list,
           const int32_t& size, int32_t& status);
void NDBOD(const int32_t& body, int32_t& count, std::span<int32_t> list,
           const int32_t& size, int32_t& status);

// ---- Element ownership --------------------------------------------------------------

void UELEMG(const int32_t& kind, const int32_t& number, int32_t& first, int32_t& last,
            int32_t& eltype, int32_t& units, int32_t& material, int32_t& property,
            int32_t& group, int32_t& status);

// PROPERTY (argument 7) is the exported routine's own copy of the host's value.
void UGELEM(const int32_t& element, int32_t& kind, int32_t& number, int32_t& eltype,
            int32_t& units, int32_t& material, int32_t& property, int32_t& group,
            int32_t& status);

// ---- Materials, physical properties and their descriptors -----------------------------

inline constexpr int32_t kUMAT3NameLength = 8;
inline constexpr int32_t kUMAT3Name2Length = 8;
void UMAT3(const int32_t& number, FText name, FText name2, int32_t& word, int32_t& count,
           std::span<float> values, const int32_t& size, int32_t& status);

inline constexpr int32_t kUPHYS4NameLength = 8;
inline constexpr int32_t kUPHYS4Name2Length = 8;
void UPHYS4(const int32_t& number, FText name, FText name2, int32_t& w4, int32_t& w2,
            int32_t& w3, int32_t& count, std::span<float> values, const int32_t& size,
            int32_t& status);

// Text items of a value array as lines of 80 characters.
inline constexpr int32_t kUMATELineLength = 80;
void UMATE(std::span<const float> values, const int32_t& spare, const int32_t& max,
           int32_t& count, std::span<int32_t> lengths, FTextArray lines, int32_t& status);
inline constexpr int32_t kUPHYSELineLength = 80;
void UPHYSE(std::span<const float> values, const int32_t& spare, const int32_t& max,
            int32_t& count, std::span<int32_t> lengths, FTextArray lines, int32_t& status);

// MATDSC and PHYDSC, the descriptor records of the analysis programs, which both roads
// read: in modeldb/descriptors.h (kMATDSCRecordLength: modeldb/qrylen.h).

// ---- Constraints, prescribed values, rigid beams, equations, connections ----------------

void UCONE3(const int32_t& node, std::span<int32_t, 16> flags, int32_t& system,
            int32_t& status);
void UCONS3(const int32_t& node, std::span<int32_t, 16> flags, int32_t& system,
            int32_t& spare, int32_t& status);

inline constexpr int32_t kUPRESCNameLength = 8;
void UPRESC(const int32_t& number, FText name, int32_t& kind, int32_t& entity,
            int32_t& dof, float& value, int32_t& ivalue, int32_t& status);

void URBEAM(const int32_t& number, std::span<int32_t> list, const int32_t& size,
            std::span<int32_t, 16> flags, int32_t& status);

void UEQUA(const int32_t& number, std::span<int32_t> list, const int32_t& size,
           int32_t& node, std::span<int32_t, 16> flags, float& value6, int32_t& terms,
           std::span<int32_t> termflags, std::span<float> factors, float& value4,
           int32_t& status);

inline constexpr int32_t kUBDRY3NameLength = 8;
void UBDRY3(const int32_t& number, FText name, int32_t& type, int32_t& code1,
            std::span<int32_t, 16> flags1, int32_t& code2, std::span<int32_t, 16> flags2,
            float& value, int32_t& status);

void UCONCT(const int32_t& number, std::span<int32_t> list, const int32_t& size,
            std::span<int32_t, 16> flags, int32_t& status);

// The mesh along line ID (KIND 2) for the connection chains: the line's own elements, or,
// for a line without, those of the first surface it bounds that have two or more nodes on
// it (OKIND, ONUM the entity whose elements are listed, 2 and the line or 3 and the
// surface). COUNT and POSITIONS: the nodes of the first listed element on the line (their
// local positions, the two ends first); FACE and WORD the face and orientation FACSEL
// gives for them (0 and 1 for the line's own elements); LIST(1..ELEMENTS) the elements in
// the host's numbering. STATUS 0; 1 another KIND or a number that is no line; 3 no element
// found or one unreadable; 9 CAPACITY below 80000 (nothing written) or more than 40000
// elements.
void CONMSH(const int32_t& kind, const int32_t& id, int32_t& okind, int32_t& onum,
            int32_t& count, std::span<int32_t, 9> positions, int32_t& face, int32_t& word,
            int32_t& elements, std::span<int32_t> list, const int32_t& capacity,
            int32_t& status);

// ---- Coordinate systems -------------------------------------------------------------

void UCSYS2(const int32_t& number, int32_t& type, std::span<float, 6> axes, int32_t& node1,
            int32_t& node2, int32_t& node3, int32_t& count, std::span<int32_t> nodes,
            const int32_t& size, int32_t& status);

void UCOCYL(const int32_t& type, std::span<const float, 6> axes,
            std::span<const float, 3> origin, std::span<const float, 3> point,
            std::span<float, 6> directions);

// ---- Loads and their evaluation -----------------------------------------------------

inline constexpr int32_t kULOAD4NameLength = 8;
inline constexpr int32_t kULOAD4DescriptionLength = 8;
void ULOAD4(const int32_t& number, FText name, FText description, int32_t& word3,
            int32_t& type, int32_t& word7, int32_t& word8, int32_t& word9, int32_t& word10,
            int32_t& kind, int32_t& entity, int32_t& kind2, int32_t& entity2,
            int32_t& count, std::span<float> values, const int32_t& size, int32_t& status);

void ULOADP(const int32_t& number, int32_t& kind, int32_t& entity, int32_t& status);

// KIND and ENTITY are inputs for a negative RECORD.
void ULOADE(const int32_t& record, int32_t& kind, int32_t& entity, int32_t& meshed,
            int32_t& status);

void ULODE2(const int32_t& record, int32_t& kind, int32_t& entity, int32_t& kind2,
            int32_t& entity2, int32_t& relation, int32_t& apart);

// MODE and DISTRIBUTION are written back (the cache flag; a missing distribution 0).
void ULEVAL(int32_t& mode, const int32_t& variation, int32_t& distribution,
            const int32_t& system, std::span<const float, 3> position, const int32_t& kind,
            const int32_t& entity, int32_t& applies, float& value, std::span<float, 9> axes,
            std::span<int32_t> record, const int32_t& size, int32_t& status);

// ---- Curves ---------------------------------------------------------------------------

inline constexpr int32_t kUCURVTNameLength = 15;
void UCURVT(const int32_t& number, const int32_t& mode, FText name, int32_t& type,
            float& fillet, int32_t& repeat, std::span<int32_t> work, const int32_t& wsize,
            std::span<float> values, const int32_t& vsize, int32_t& written,
            int32_t& status);

// ---- Element faces and adjacent entities ----------------------------------------------

void UEFAC2(const int32_t& mode, const int32_t& element, const int32_t& shape,
            const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, const int32_t& target, const int32_t& nodeCount,
            std::span<int32_t> work, const int32_t& size, const int32_t& start,
            std::span<int32_t, 6> faces, int32_t& faceCount, int32_t& status);

void UEFACE(const int32_t& element, const int32_t& shape, const int32_t& kind,
            const int32_t& number, const int32_t& target, const int32_t& faceNodes,
            std::span<int32_t> work, const int32_t& size, const int32_t& start,
            int32_t& face, int32_t& status);

void UFACG2(const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, int32_t& carrierKind, int32_t& carrierNumber,
            int32_t& faceNodeCount, std::span<int32_t> faceNodes, int32_t& face,
            int32_t& orientation, int32_t& elementCount, std::span<int32_t> work,
            const int32_t& size, int32_t& status);

void UADJGE(const int32_t& kind, const int32_t& number, const int32_t& rkind,
            const int32_t& rnumber, int32_t& nkind, int32_t& nnumber,
            std::span<int32_t> work, const int32_t& spare, const int32_t& mode, int32_t& status);

void UPFN(const int32_t& shape, const int32_t& face, const int32_t& spare,
          const int32_t& capacity, std::span<int32_t> list, int32_t& count,
          int32_t& status);

}  // namespace kvr
