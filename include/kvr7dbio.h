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

/* Joins a directory (a text of *LENGTH characters; a negative length counts as 0) and a
   file name (10) into PATH (150): the directory, "/", the file name, each directory name
   that a ".." step follows removed with that step, blank-padded. */
KVR_EXPORT void dll_tlmknm(char* directory, int32_t* length, char* file, char* path);

/* Opens FNAME (80 characters) on unit IUNIT. ISTAT 2 opens a scratch file, else a named
   file made when missing; IFORM 2 formatted, else unformatted; IACCES 2 appends, else
   sequential from the start. IMODE 1 or 4: the file must exist; 2 or 3: an existing file
   is replaced by an empty one. IRECL is accepted and limits nothing. IOSTAT: 0 success, 1
   a missing file in mode 1 or 4, else the I/O status of the failing open or close. */
KVR_EXPORT void dll_opntldbf(int32_t* iunit, int32_t* imode, char* fname, int32_t* istat,
                             int32_t* iform, int32_t* iacces, int32_t* irecl,
                             int32_t* iostat);

/* Closes unit IUNIT, keeping its file. IOSTAT: 0 success, else the I/O status. */
KVR_EXPORT void dll_clstldbf(int32_t* iunit, int32_t* iostat);

/* Closes unit IUNIT and deletes its file. */
KVR_EXPORT void dll_kvclose(int32_t* iunit);

/* Writes one progress line to unit IUNIT when it is open: IMODE 1 the time and date, 2
   the mesh line, 3 load step ISTEP, sub-step ISUB and type TYPTXT (20 characters), a
   negative mode the error line of -IMODE; 0 and modes above 3 write nothing. */
KVR_EXPORT void dll_wrttllog(int32_t* iunit, int32_t* imode, int32_t* istep, int32_t* isub,
                             char* typtxt);

#ifdef __cplusplus
}
#endif

#endif /* KVR7DBIO_H */
