// INTERIM: the few database-session routines that start-up and the console need before
// the database open, create, lock and close routines exist. Those replace this file
// (and dbopen_interim.cpp) whole.
//
//  - DBLOCK remembers the process that holds the database write lock, or forgets it;
//  - GFXCLS and GFXRQ2 send the plot close request;
//  - DBENDS ends the database session by closing every open file.
#pragma once

#include <cstdint>

namespace kvr {

// MODE 1: RESULT = 1 when the remembered lock holder is this process, else minus the
// holder's process id (0 when nobody holds the lock). Any other MODE forgets the holder;
// RESULT is not touched.
void DBLOCK(int32_t mode, int32_t& result);

// Remembers PID as the lock holder (the database open does this when it takes or finds
// the lock).
void rememberLockHolder(int32_t pid);

// GFXCLS(X) is GFXRQ2(X): the plot close request (opcode 2) to the dispatcher, except when
// the output mode is the console and X is 2.
void GFXCLS(int32_t x);
void GFXRQ2(int32_t x);

// Ends the database session: every file that is open by type is closed.
void DBENDS();

}  // namespace kvr
