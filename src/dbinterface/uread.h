// UREAD: kept in the exported layer for the programs built against it; it takes no
// arguments, does nothing, and is not exported.
#pragma once

namespace kvr {

void UREAD();

}  // namespace kvr
