// INTERIM: the save and restore of the display switches and the one word of the view
// defaults that the command input reads, until the name sequences and display switches
// replace this file (and dspsav_interim.cpp) whole.
#pragma once

#include <cstdint>

namespace kvr {

// VWDFLT as far as it is read here: word 1, 1 while the display switches are saved.
struct VwDflt {
  int32_t switchesSaved = 0;
};

inline VwDflt VWDFLT;

// Saves (MODE 1) or restores (MODE 0) the display switches: nothing yet.
void DSPSAV(int32_t mode);

}  // namespace kvr
