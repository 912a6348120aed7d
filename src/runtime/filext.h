// The file extension a plot driver's file gets, as the settings give it.
#pragma once

#include <cstdint>

#include "runtime/ftext.h"

namespace kvr {

// Looks up "Quorin.*.FileExtension.<DRIVER>" (a value of 80 characters; ISSWITCH is passed
// to the lookup). EXTENSION receives the text after the first "." of the value when one
// lies within the value's found length, else the value itself; blank when nothing is
// found. STATUS is the lookup's status.
void FILEXT(FText driver, FText extension, bool isSwitch, int32_t& status);

}  // namespace kvr
