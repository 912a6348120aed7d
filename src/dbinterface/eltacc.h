// Word accessors of element entries, edge records and node-to-element lists, as the
// display build reads them. Q is the word number (from 1) of the first word of the entry
// or record in BUFFER. Two layouts: the short one, and the long one of record-layout word
// 5000 (DBLEVL), where each node also carries its coordinates (w integer words per REAL).
// "Plus the offset" means the node or element numbering offset of DBLEVL, added unless its
// numbering mode is 1. A word outside the buffer reads as 0 and is never written.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Element entry: the word after node K (its sequence number), word Q + 2k + 6, short
// layout only.
void SEQPUT(std::span<int32_t> buffer, int32_t q, int32_t k, int32_t s);
// The word after node K plus the node offset.
int32_t NODSEQ(std::span<const int32_t> buffer, int32_t q, int32_t k);
// NODSEQ for nodes 1 to N into OUT(1..N).
void ENNODS(std::span<const int32_t> buffer, int32_t q, int32_t n, std::span<int32_t> out);
// The node ids of nodes 1 to N into OUT(1..N).
void ELNODS(std::span<const int32_t> buffer, int32_t q, int32_t n, std::span<int32_t> out);
// Word Q + 4 (IEATT2 of an element entry).
int32_t ENTW4(std::span<const int32_t> buffer, int32_t q);

// Edge record: node count n (word Q), record length (word Q + 1, twice), sharing-element
// count (word Q + 2), n nodes, then the sharing elements' keys.
int32_t ENTW2(std::span<const int32_t> buffer, int32_t q);
int32_t EDGNN(std::span<const int32_t> buffer, int32_t q);
int32_t EDGRLN(std::span<const int32_t> buffer, int32_t q);
int32_t EDGW1(std::span<const int32_t> buffer, int32_t q);
// Node J plus the node offset.
int32_t EDGNOD(std::span<const int32_t> buffer, int32_t q, int32_t j);
// Key I of the sharing elements, a positive key plus the element offset.
int32_t NODOFF(std::span<const int32_t> buffer, int32_t q, int32_t i);
// Words of an edge record of N nodes.
int32_t EDGLEN(int32_t n);

// Node-to-element list, triples from word Q + 2: the element key (a positive key plus the
// element offset), then two further words.
int32_t TRIPG1(std::span<const int32_t> list, int32_t q, int32_t j);
int32_t TRIPGT(std::span<const int32_t> list, int32_t q, int32_t j);
int32_t TRIPG3(std::span<const int32_t> list, int32_t q, int32_t j);

// Per-face words from word P: FACPUT stores 2V in word P + F - 1; FACNGB answers half of
// it, a positive result plus the element offset.
void FACPUT(std::span<int32_t> buffer, int32_t p, int32_t f, int32_t v);
int32_t FACNGB(std::span<const int32_t> buffer, int32_t p, int32_t f);

}  // namespace kvr
