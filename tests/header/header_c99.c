/* The public header compiles on its own as C99. */
#include "kvr7dbio.h"

int kvr_header_c99_text_length(void) { return KVR_DIHED2_NAME_LENGTH; }
