// Message posting: the message-argument queue MSGARG and the routines that fill it.
//
// A routine that reports a numbered meshing or geometry message (0000-0349, the
// severity in the thousands digit) posts the values to insert one by one with a
// negative number, then posts the message number itself; the positive posting calls the
// composer MSGMSH, which writes the lines and empties the queue. Posting a number above
// 1000 sets the warning flag, above 2000 also the error flag, even while posting is
// suppressed. A message carries at most 10 values; further values are dropped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct MsgArg {
  static constexpr int32_t kWords = 30;
  static constexpr int32_t kMaxValues = 10;
  static constexpr int32_t kInteger = 1;
  static constexpr int32_t kReal = 2;

  std::array<int32_t, kWords> words{};

  // Word K (1..30), as the start-up state and the tests address the block.
  int32_t& word(int32_t k) { return words[static_cast<std::size_t>(k - 1)]; }

  int32_t& errorFlag() { return word(1); }    // a number above 2000 was posted
  int32_t& count() { return word(2); }        // values queued for the pending message
  int32_t& third() { return word(3); }        // 3 after start-up, read by nothing
  int32_t& suppress() { return word(4); }     // 1: posting does nothing
  int32_t& number() { return word(7); }       // current message number
  int32_t& value(int32_t k) { return word(7 + k); }  // values 1-10: integer or real bits
  int32_t& type(int32_t k) { return word(17 + k); }  // 1 integer, 2 real
  int32_t& warningFlag() { return word(30); }  // a number above 1000 was posted
};

inline MsgArg MSGARG;

// CATHOOKS: the catalogue that composes a posted message. The message catalogues stand
// above the runtime and fill the table where they define it (messages/msgmsh.cpp).
struct CatalogueHooks {
  // MSGMSH: composes the pending meshing or geometry message of MSGARG and empties the
  // queue. Empty (nullptr), as in a library without catalogues: nothing is written and
  // the message stays queued, its number and values as posted.
  void (*compose)() = nullptr;
};

extern CatalogueHooks CATHOOKS;

// Post number M with one integer value (type 1), with one integer value converted to a
// real (type 2), or without a value. A number of 0 or more becomes the current number
// (with a value); a positive number calls the composer.
void MSGQIN(int32_t m, int32_t value);
void MSGQRL(int32_t m, int32_t value);
void MSGQ0(int32_t m);

// Posts message 3000 with the four values as reals; when A lies in 8..16 the in-memory
// database is first dumped.
void MSGQV4(int32_t a, int32_t b, int32_t c, int32_t d);

// Posts M with the two-word label of entity E of kind K (the first word with -|M|, the
// second with M). Kinds 8 and 9 post the entity number itself as one real value.
void MSGENT(int32_t m, int32_t e, int32_t k);

// Seams to the model database, which holds the labels and the dump: each road's start-up
// installs the label reader and the dump (DBDUMP). Without them a label stays blank and
// nothing is dumped; nullptr restores that.
using EntityLabelReader = void (*)(int32_t entity, int32_t kind, int32_t& word1, int32_t& word2);
void setEntityLabelReader(EntityLabelReader reader);
using DatabaseDumper = void (*)();
void setDatabaseDumper(DatabaseDumper dumper);

// Dumps the in-memory database through the dumper set above (nothing without one). Every
// routine that dumps before a fatal end calls this, so the dump has one hook.
void dumpDatabase();

}  // namespace kvr
