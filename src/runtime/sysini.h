// System start-up: SYSINI puts the runtime services into their starting state on either
// road, afresh at every call. In order: the default unit of every unit slot, the machine
// constants MACHCN, the plot mode and the plot-file command from the environment (TL_PLOT,
// TL_COMM), and three switches from the settings: NoBells (else TL_NOBELLS), IODebug
// with Verbose, and ForceFileFlush.
#pragma once

namespace kvr {

void SYSINI();

}  // namespace kvr
