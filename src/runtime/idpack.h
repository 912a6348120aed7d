// IDPACK: the two words by which ids are packed: the id limit (100000000; larger ids are
// refused by the list routines) and the packing modulus (1000 or 10000): a word that
// packs two numbers holds first x modulus + second. Set at start-up.
#pragma once

#include <cstdint>

namespace kvr {

struct IdPack {
  int32_t idLimit = 0;
  int32_t modulus = 0;
};

inline IdPack IDPACK;

}  // namespace kvr
