/* Kvr7dbio: the exported routines that an analysis program calls to hand a model and its
   results to the KAVRO post-processor, and to read a saved pre-processor model back.

   Every argument is passed by address, as a Fortran program passes it. Character
   arguments are blank-padded texts of the fixed lengths given with each routine; they are
   never NUL-terminated. INTEGER is a 32-bit int, REAL a 32-bit float. */
#ifndef KVR7DBIO_H
#define KVR7DBIO_H

#include <stdint.h>

#if defined(KVR7DBIO_BUILD)
#define KVR_EXPORT __attribute__((visibility("default")))
#else
#define KVR_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The routines arrive here as they are built. */

/* The current local date and time (day, month, four-digit year, hour, minute, second),
   the library's version number and the code of its release letter (the letter in the
   lowest byte, three blanks above it; four blanks when there is none). */
KVR_EXPORT void dll_vrpre(int32_t* day, int32_t* month, int32_t* year, int32_t* hour,
                          int32_t* minute, int32_t* second, float* version, int32_t* letter);

/* The value of environment variable NAME (30 characters) in VALUE (150 characters),
   blank-padded; all blanks when it is not set. The registry files answer for a variable
   that the environment does not hold. */
KVR_EXPORT void dll_envirn(char* name, char* value);

#ifdef __cplusplus
}
#endif

#endif /* KVR7DBIO_H */
