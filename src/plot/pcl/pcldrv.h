// The PCL raster printer driver, devices 5 (Laserjet, monochrome), 6 (Paintjet, 180 dpi
// dithered or 90 dpi with a palette) and 9 (Deskjet, 150 dpi dithered). The whole page is
// drawn into the page bitmap (RASPAG) with the raster engine; at a new page and at the
// close it is sent as one complete PCL job (pclpag.h) to the raw byte stream that
// replaces the plot file under its name.
//
// Settings of the model's own section ("Laserjet", "Paintjet", "Deskjet"): Debug,
// HighRes, LowRes, Orientation, SymbolScale, Model, PageSizeUnits, PageSize, PageMargins
// (and those the page output reads). Environment: TL_DEBUG (when Debug is not set),
// TL_RAS180, TL_RASLAND, TL_RASRLE, TL_RASFF (a value beginning with "F" or "f" switches
// off) and TL_RASGEOM (which wins over the page settings).
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// The entries of the three models: each sets the model word and the monochrome switch,
// then hands the opcode to PCLDRV.
void PCLLAS(int32_t opcode);
void PCLPNT(int32_t opcode);
void PCLDSK(int32_t opcode);

// The driver: the shared step, then opcodes 1, 2, 8, 10, 11, 12, 14, 15, 16, 18, 19, 25,
// 29, 31, 33 and 35; any other opcode returns at once. Before its opcode 1 (and after
// opcode 2) there is no page: no opcode writes a byte or stores a pixel.
void PCLDRV(int32_t opcode);

// The setting KEY of the current model's section (RESGET with application "Quorin",
// program "*"); LENGTH comes back 0 or less when the key is not set.
void PCLSET(FText key, FText value, bool isSwitch, int32_t& length);

}  // namespace kvr
