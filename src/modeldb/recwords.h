// Word accessors of the data pages: the dataset loaders address a record inside a page
// (or inside a work buffer that holds pages) by the word index Q of its first word, and
// read and write whole 32-bit words at Q, Q + 1, ... through these routines.
//
// A word outside the buffer reads as 0 and is never written.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Word Q, Q + 1, Q + 2, Q + 3 and Q + 4 of BUFFER.
int32_t RECW0(std::span<const int32_t> buffer, int32_t q);
int32_t RECW1(std::span<const int32_t> buffer, int32_t q);
int32_t RECW2(std::span<const int32_t> buffer, int32_t q);
int32_t RECW3(std::span<const int32_t> buffer, int32_t q);
int32_t RECW4(std::span<const int32_t> buffer, int32_t q);

// At an element entry: the element's sequence number, word Q + 1, plus the element
// numbering offset in force; the stored word alone when the numbering mode is 1 (the
// stored numbers are used as they are).
int32_t RECELM(std::span<const int32_t> buffer, int32_t q);

// At a node entry: the node's sequence number, word Q + 2, plus the node numbering
// offset, as RECELM.
int32_t RECNOD(std::span<const int32_t> buffer, int32_t q);

// Word Q = A, word Q + 1 = B, then character codes 1 to 8 of TEXT into words Q + 2 to
// Q + 9 (blank codes where TEXT holds fewer).
void RECTXT(std::span<int32_t> buffer, int32_t q, int32_t a, int32_t b,
            std::span<const int32_t> text);

// Words Q to Q + 4 = E, A, B, D, C, in that order: a loader page's head is written as
// RECPK5(page, 1, page number, type, last word used, next page, free head).
void RECPK5(std::span<int32_t> buffer, int32_t q, int32_t a, int32_t b, int32_t c, int32_t d,
            int32_t e);

}  // namespace kvr
