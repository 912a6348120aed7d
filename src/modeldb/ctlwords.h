// Word accessors of the in-memory control records (CTLREC): each reads or writes whole
// words of one record. Name copies take the name words of IDXLAY for the class, and
// every copy out stops at the capacity of the caller's array.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Record 101, the user level: state, name (words 2-7), first project-level page.
void G101W1(int32_t& value);
void S101W1(int32_t value);
void G101W2(std::span<int32_t> name);
void S101W2(std::span<const int32_t> name);
void G101W8(int32_t& value);
void S101W8(int32_t value);

// Record 102, the project level: the same words, and the three values of words 9-11.
void G102W1(int32_t& value);
void S102W1(int32_t value);
void G102W2(std::span<int32_t> name);
void S102W2(std::span<const int32_t> name);
void G102W8(int32_t& value);
void S102W8(int32_t value);
void S102W9(int32_t v1, int32_t v2, int32_t v3);

// Record 103, the model: its state (word 1), name, first load-case page (word 8),
// dataset-directory page (word 9), the node count, element count and load-case counter
// (words 13-15), word 16, the 20-word title list (words 19-38), the date and time of
// creation (words 44-48) and of the first load case (words 49-53).
void S103W1(int32_t value);
void G103W2(std::span<int32_t> name);
void S103W2(std::span<const int32_t> name);
void G103W8(int32_t& value);
void S103W8(int32_t value);
void G103W9(int32_t& value);
void S103W9(int32_t value);
void S103WG(int32_t value);
void S103LS(std::span<const int32_t> list);
void S103WB(int32_t nodes, int32_t elements, int32_t loadCases);
void S103WS(int32_t day, int32_t month, int32_t year, int32_t hour, int32_t minute);
void S103WC(int32_t day, int32_t month, int32_t year, int32_t hour, int32_t minute);

// Record 104, the load case: state, name, first results-attribute page (word 8), first
// scan or combination page (word 9), first beam-load page (word 10), type and number
// (words 11, 12) with two REAL values from word 13 (held bit for bit), and the 20-word
// and 10-word lists after them.
void G104W1(int32_t& value);
void S104W1(int32_t value);
void G104W2(std::span<int32_t> name);
void S104W2(std::span<const int32_t> name);
void G104W8(int32_t& value);
void S104W8(int32_t value);
void G104W9(int32_t& value);
void S104W9(int32_t value);
void S104WA(int32_t value);
void G104WB(int32_t& type, int32_t& number, float& value1, float& value2);
void S104WB(int32_t type, int32_t number, float value1, float value2);
void S104L1(std::span<const int32_t> list);
void S104L2(std::span<const int32_t> list);

// Record 106, the results attribute: the link to the next record (word 1), its type
// (word 2) and its name (words 3 to N + 2, N = 8); the header page (11), the first values
// page (12), the key-300 flag (13), the component count (14), the menu row count (15), the
// menu rows (8 codes each from word 16) and the continuation record's page (96).
void R6PW1(int32_t value);
void R6LINK(int32_t& value);
void R6PW2(int32_t value);
void R6GW2(int32_t& value);
void R6PW3N(std::span<const int32_t> name);
void R6GW3N(std::span<int32_t> name);
void R6PW11(int32_t value);
// CLS names the class of the page VALUE (100); word 12 = VALUE.
void R6PW12(int32_t cls, int32_t value);
void R6PW13(int32_t value);
void R6PW14(int32_t value);
void R6PW15(int32_t value);
// Menu row J (1..10): words 16 + 8 (J - 1) to 23 + 8 (J - 1); a row outside is not stored.
void R6PROW(int32_t j, std::span<const int32_t> name);
void R6PW96(int32_t value);

}  // namespace kvr
