// The public header compiles on its own as C++20.
#include "kvr7dbio.h"

int kvrHeaderCxxTextLength() { return KVR_DIHED2_NAME_LENGTH; }
