// The message catalogues: each routine composes one numbered message (its tag, such as
// "E1150:", and its text) and writes its lines to the message unit through the block's
// line writer, then copies each line, marked " * ", to both journal channels.
//
// The E and W blocks are called with the number less 1000 or 3000, and ignore its units
// digit (MSGE1(150) and MSGE1(159) both write E1150); a number outside the block writes
// nothing. A number without a text is written as its tag alone.
#pragma once

#include <cstdint>
#include <span>

namespace kvr {

// Error E(1000 + N), E1100-E2490.
void MSGE1(int32_t n);

// Error E(3000 + N), E3100-E5890.
void MSGE3(int32_t n);

// Warning W(1000 + N), W1100-W2590. The lines go to the host's message hook, so here
// they are seen only in the journals.
void MSGW1(int32_t n);

// Warning W(3000 + N), W3100-W5290, written as MSGW1 writes.
void MSGW3(int32_t n);

// Message M N (M001-M060, M401-M440, M801-M830; 441 and 442 write M451 and M452) with
// the values to insert: INTS, the REAL word(s) (M818 and M819: a name packed in two
// words), the name codes NAME and LENGTHS (word 1 the name's length, word 2 a second
// length or a count). A value the arrays do not hold reads as 0, a name is cut to the
// codes NAME holds, and every insert to the room left in its line.
void MSGM(int32_t n, std::span<const int32_t> ints, std::span<const float> real,
          std::span<const int32_t> name, std::span<const int32_t> lengths);

// Composes the pending meshing or geometry message of MSGARG (code 0000-0349, the
// severity in its thousands digit) and empties the queue.
void MSGMSH();

// TXTHOOKS: what the catalogues read from the in-memory model, which stands above them and
// fills the table where it defines it (modeldb/entrec.cpp).
struct ModelTextHooks {
  // ARRREA: record I of named array K through the REAL buffer RBUF (MODE 1 reads). Empty
  // (nullptr), as in a library without a model database: nothing is read, so a
  // reinforcement section's name is two words 0.
  void (*recordIo)(int32_t mode, int32_t k, int32_t i, std::span<float> rbuf) = nullptr;
};

extern ModelTextHooks TXTHOOKS;

// Appends the text of reinforcement or property error CODE (1-6, 11-13, 99) to LINE from
// POSITION on, cut at the line's end; LAST receives the last position filled. Codes 11 to
// 13 name reinforcement section SECTION (below 1: "One reinforcement section"). Any other
// code appends nothing and leaves LAST as it was.
void REITXT(int32_t code, int32_t section, int32_t position, std::span<int32_t> line,
            int32_t& last);

}  // namespace kvr
