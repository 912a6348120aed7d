// The console device as the message output needs it: the plot dispatcher hands it every
// opcode record in the console output mode. It records the object kind of opcode 25,
// which chooses the line writer of a message, and ignores the other opcodes.
#pragma once

#include <cstdint>

namespace kvr {

// Acts on the opcode record OPCODE, its operands in PLTPAR.
void ALPDRV(int32_t opcode);

// Fatal device-driver ends: a record for device 13, or a console record while the
// graphics record count is set. Both end the process with a failure status.
[[noreturn]] void STPN13();
[[noreturn]] void STPN45();

}  // namespace kvr
