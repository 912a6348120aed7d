/* Kvr7dbio: the exported routines that an analysis program calls to hand a model and its
   results to the KAVRO post-processor, and to read a saved pre-processor model back.

   Every argument is passed by address, as a Fortran program passes it, in the order
   given. INTEGER is a 32-bit int (int32_t *), REAL a 32-bit float (float *). A text
   (char *) is exactly the fixed length named beside its routine (the KVR_..._LENGTH
   constants), blank-padded and carrying no NUL: the library never reads beyond that
   length, and a text it returns is blank-padded to exactly that length. No hidden length
   argument follows the texts. Valid C99 and C++. Fortran programs take the same
   interfaces, and the same length constants, from the module kvr7dbio (kvr7dbio.f90). */
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

/* The current local date and time (day, month, four-digit year, hour, minute, second),
   the library's version number and the code of its release letter (the letter in the
   lowest byte, three blanks above it; four blanks when there is none). */
KVR_EXPORT void dll_vrpre(int32_t* day, int32_t* month, int32_t* year, int32_t* hour,
                          int32_t* minute, int32_t* second, float* version, int32_t* letter);

/* The value of environment variable NAME (30 characters) in VALUE (150 characters),
   blank-padded; all blanks when it is not set. The registry files answer for a variable
   that the environment does not hold. */
enum { KVR_ENVIRN_NAME_LENGTH = 30, KVR_ENVIRN_VALUE_LENGTH = 150 };
KVR_EXPORT void dll_envirn(char* name, char* value);

/* Joins a directory (a text of *LENGTH characters; a negative length counts as 0) and a
   file name (10) into PATH (150): the directory, "/", the file name, each directory name
   that a ".." step follows removed with that step, blank-padded. */
enum { KVR_TLMKNM_FILE_LENGTH = 10, KVR_TLMKNM_PATH_LENGTH = 150 };
KVR_EXPORT void dll_tlmknm(char* directory, int32_t* length, char* file, char* path);

/* Opens FNAME (80 characters) on unit IUNIT. ISTAT 2 opens a scratch file, else a named
   file made when missing; IFORM 2 formatted, else unformatted; IACCES 2 appends, else
   sequential from the start. IMODE 1 or 4: the file must exist; 2 or 3: an existing file
   is replaced by an empty one. IRECL is accepted and limits nothing. IOSTAT: 0 success, 1
   a missing file in mode 1 or 4, else the I/O status of the failing open or close. */
enum { KVR_OPNTLDBF_FNAME_LENGTH = 80 };
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
enum { KVR_WRTTLLOG_TYPTXT_LENGTH = 20 };
KVR_EXPORT void dll_wrttllog(int32_t* iunit, int32_t* imode, int32_t* istep, int32_t* isub,
                             char* typtxt);

/* Starts the writing road. LUOPT: 1 database only, 2 neutral text file only, 3 both.
   LUDB8 and LUDB7 are the units of the data and index files, LUNEU the neutral text
   file's, IUNITS the ITFNUM (1 to 10) temporary units, IKEEP is stored and not used, NFORM
   the neutral number format (5: I5 and E12.5, 10: I10 and E12.5, else I10 and E14.7),
   LUMSG1 and LUMSG2 the message units (99 none), IPGSIZ the database page size (2040,
   4080, 8160, 16320 or 32640 words). IERR: 0, 11 already started (the file and message
   units, IKEEP and the number format are taken all the same, LUOPT and ITFNUM when valid,
   the list of temporary units not), 12 LUOPT, 13 ITFNUM, 25 IPGSIZ invalid. */
KVR_EXPORT void dll_diini2(int32_t* luopt, int32_t* ludb8, int32_t* ludb7, int32_t* luneu,
                           int32_t* iunits, int32_t* itfnum, int32_t* ikeep, int32_t* nform,
                           int32_t* lumsg1, int32_t* lumsg2, int32_t* ipgsiz, int32_t* ierr);

/* Marks the database ready for dataset headers (needed with LUOPT 1 and 3). OPENED
   becomes 1 and IERR 0; ARG1, ARG5 and the texts TEXT6 (6 characters) and TEXT79 (79)
   are neither read nor written. */
enum { KVR_DIDBI_TEXT6_LENGTH = 6, KVR_DIDBI_TEXT79_LENGTH = 79 };
KVR_EXPORT void dll_didbi(int32_t* arg1, int32_t* opened, char* text6, char* text79,
                          int32_t* arg5, int32_t* ierr);

/* Opens a dataset of key IKEY on temporary unit IUNT. Keys 1 and 111 open a model NAME
   (20 characters) with IOPCOD 1 create, 2 append, 3 build; every other key takes IOPCOD 1
   and NAME as the dataset's name (for key 100 the load case, first six characters not
   blank). HVALUE, HNUMBR, HTITLE (20 characters), HFLAG and HTEXT (10 characters) are
   carried into the header. IERR 0 when the header is accepted, else the code of the error
   line written to the message units. */
enum {
  KVR_DIHED2_NAME_LENGTH = 20,
  KVR_DIHED2_HTITLE_LENGTH = 20,
  KVR_DIHED2_HTEXT_LENGTH = 10
};
KVR_EXPORT void dll_dihed2(int32_t* ikey, int32_t* iopcod, char* name, float* hvalue,
                           int32_t* hnumbr, char* htitle, int32_t* hflag, char* htext,
                           int32_t* ierr, int32_t* iunt);

/* Records of the writing road's datasets, each sent on the temporary unit IUNT that holds
   the dataset. IERR is 0 when the record is accepted, else the code of the error line
   written to the message units. */

/* Model datasets: a node (coordinates X, Y, Z), an element (NODES holds the element
   type's node count of numbers), set members (SETNAM 8 and STITLE 30 characters; NIDS
   numbers in IDS), a nodal constraint, a local axis system (AXES nine reals; IDUM is set
   to 0). */
KVR_EXPORT void dll_dicor(int32_t* node, float* x, float* y, float* z, int32_t* isys,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_ditop(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* ieatt2,
                          int32_t* nodes, int32_t* isys, int32_t* ierr, int32_t* iunt);
enum { KVR_DISET_SETNAM_LENGTH = 8, KVR_DISET_STITLE_LENGTH = 30 };
KVR_EXPORT void dll_diset(char* setnam, char* stitle, int32_t* ids, int32_t* nids,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_dicon(int32_t* node, int32_t* idof, int32_t* isys, int32_t* iedof,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_dilxc(int32_t* isys, int32_t* idum, float* axes, int32_t* ierr,
                          int32_t* iunt);

/* Results datasets: the attribute header (ATTNAM 8 characters), its component
   definitions (COMPNM, NCALC and COMPN2 8 characters each), nodal values (NUMRES reals
   in VALUES), element entity headers and their repeats, and local axes per element or
   Gauss point (AXES nine reals). NOTREAD of dll_dienh and dll_diech is never read and
   may be a null pointer. */
enum { KVR_DIRHA_ATTNAM_LENGTH = 8 };
KVR_EXPORT void dll_dirha(char* attnam, int32_t* ncomps, int32_t* irtype, int32_t* numvar,
                          int32_t* ierr, int32_t* iunt);
enum {
  KVR_DIRHB_COMPNM_LENGTH = 8,
  KVR_DIRHB_NCALC_LENGTH = 8,
  KVR_DIRHB_COMPN2_LENGTH = 8
};
KVR_EXPORT void dll_dirhb(char* compnm, int32_t* inmenu, int32_t* ctype, int32_t* index1,
                          int32_t* index2, int32_t* iexist, char* ncalc, char* compn2,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_dinia(int32_t* node, float* values, int32_t* numres, int32_t* ierr,
                          int32_t* iunt);
KVR_EXPORT void dll_dienh(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* ivar,
                          int32_t* npoint, int32_t* nlayer, int32_t* ilocal, int32_t* notRead,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_dienr(int32_t* id, float* values, int32_t* numres, int32_t* ierr,
                          int32_t* iunt);
KVR_EXPORT void dll_diech(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* ivar,
                          int32_t* nlayer, int32_t* ilocal, int32_t* notRead, int32_t* ierr,
                          int32_t* iunt);
KVR_EXPORT void dll_diecr(int32_t* id, float* values, int32_t* numres, int32_t* ierr,
                          int32_t* iunt);
KVR_EXPORT void dll_diegh(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* ivar,
                          int32_t* npoint, int32_t* nlayer, int32_t* ilocal, int32_t* igflag,
                          int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_diegr(int32_t* id, float* x, float* y, float* z, float* values,
                          int32_t* numres, int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_digxh(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* npoint,
                          int32_t* nlayer, int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_digxd(int32_t* id, float* axes, int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_diexh(int32_t* ielem, int32_t* itype, int32_t* ieatt1, int32_t* npoint,
                          int32_t* nlayer, int32_t* ierr, int32_t* iunt);
KVR_EXPORT void dll_diexd(int32_t* id, float* axes, int32_t* ierr, int32_t* iunt);

/* Finishes the dataset sent on temporary unit IUNT: with database output it is loaded
   into the model's database (a model header sent before it on the same unit opens,
   creates or builds the database), with neutral output written to the neutral text
   file; the unit is then free for the next dataset. IERR 0, else the code of the error
   line written to the message units: 32 while the unit has an error pending, 181 for an
   incomplete dataset (the unit must be cleaned with dll_dierr level 1); most other codes
   block every unit until dll_dierr level 2 abandons the model. */
KVR_EXPORT void dll_dilim(int32_t* ierr, int32_t* iunt);

/* Ends the writing road: the datasets still open are processed, the display datasets of
   the last model built, the database closed and the neutral text file ended with
   " 9999". Afterwards dll_diini2 may start the road again. IERR 28 when the road was not
   started; else the code of the last dataset processed (0 when none failed); a stop that
   abandons the model answers the error that lost it (223 for a failed display build). */
KVR_EXPORT void dll_distp(int32_t* ierr);

/* Cleans up after an error: ILEVEL 1 abandons the dataset on temporary unit IUNT, which
   may then take a new dataset header; ILEVEL 2 abandons the whole current model (IUNT is
   not read), deleting the database files of a model being created or built. IERR 0, 211
   for an unknown unit, 45 for another level, 46 when the unit needs level 2, 299 when the
   model's files could not be deleted. */
KVR_EXPORT void dll_dierr(int32_t* ilevel, int32_t* ierr, int32_t* iunt);

/* ---- Reading a saved model: the query session --------------------------------------

   dll_ustrt2 opens a saved model and starts a query session; the other routines below
   read the model of the session. Node and element numbers cross these routines shifted
   by the model's numbering offsets (model-size positions 17 and 18). Each query answers
   in its last argument: 0 done, 1 number out of range, 2 entity missing, 3 to 5 as the
   routine says, 9 the caller's array too small. A code line holds one character per
   int32_t, the character in the lowest byte and three blanks above it. */

/* Opens the model file NAME (80 characters; leading and trailing blanks, tabs and NULs
   are ignored) for reading and starts a session. WORK (SIZE words) is lent to the
   library and not written. STATUS: 0 ready; 1 the file could not be opened; 2 not a
   usable model file; 4 the command keyword table failed; 5 the in-memory store could not
   be set up; 9 SIZE is below twice the highest node number (the model is loaded, the
   session data are not built). */
enum { KVR_USTRT2_NAME_LENGTH = 80 };
KVR_EXPORT void dll_ustrt2(char* name, int32_t* work, int32_t* size, int32_t* status);

/* The model-size vector: SIZES[20] (dll_usize) or SIZES[50] (dll_usiz2, positions 33 to
   50 zero): 1 points, 2 lines, 3 surfaces, 4 bodies, 5 shapes, 6 highest node, 7 the most
   nodes of an element, 8 highest element, 9 sets, 10 materials, 11 physical properties,
   12 conditions, 13 loads, 14 curves, 15 the node limit of one entity, 16 coordinate
   systems, 17 and 18 the node and element numbering offsets, 19 element groups, 20 the
   largest load value 3; dll_usiz2 adds further counts and the descriptor record words
   in positions 21 to 32. */
KVR_EXPORT void dll_usize(int32_t* sizes);
KVR_EXPORT void dll_usiz2(int32_t* sizes);

/* Point NUMBER: its NAME (8 characters) and coordinates XYZ[3]. STATUS 0, 1, 2 (a
   deleted point); on 1 and 2 nothing is written. */
enum { KVR_UPNT2_NAME_LENGTH = 8 };
KVR_EXPORT void dll_upnt2(int32_t* number, char* name, float* xyz, int32_t* status);

/* The coordinates XYZ[3] of node NODE. STATUS 0, or 1 (XYZ not written). */
KVR_EXPORT void dll_unode(int32_t* node, float* xyz, int32_t* status);

/* The COUNT nodes of element ELEMENT into NODES, which holds model-size position 7
   numbers. STATUS 0, or 1 (COUNT 0) for an element out of range or without nodes. */
KVR_EXPORT void dll_uelem(int32_t* element, int32_t* nodes, int32_t* count, int32_t* status);

/* The NAME (8 characters) of entity NUMBER of KIND (0 the model, 1 point, 2 line,
   3 surface, 4 body, 7 set, 10 material, 30 load, 33 condition ...). STATUS 0; 1 and
   "????????" for a kind without names; 2 the entity does not exist (NAME not written). */
enum { KVR_UNAMG2_NAME_LENGTH = 8 };
KVR_EXPORT void dll_unamg2(int32_t* kind, int32_t* number, char* name, int32_t* status);

/* TEXT (80 characters) receives the characters of codes 1..N (N above 80 counts as 80),
   blank-padded. */
enum { KVR_UA1CHA_TEXT_LENGTH = 80 };
KVR_EXPORT void dll_ua1cha(int32_t* codes, int32_t* n, char* text);

/* Stores the characters of TEXT (*LENGTH characters; a negative length counts as 0) up
   to "*.", a NUL or its last non-blank character as codes from CODES[START] (counting
   from 1) on; LAST is the position of the last code stored, START - 1 when none was (and
   always for a START below 1, which stores nothing). */
KVR_EXPORT void dll_uslcha(char* text, int32_t* length, int32_t* start, int32_t* codes,
                           int32_t* last);

/* Upper-cases the codes at positions FIRST..LAST (within 1..255) in place. */
KVR_EXPORT void dll_ucconv(int32_t* codes, int32_t* first, int32_t* last);

/* The next token of the code line between positions START and LAST: KIND 0 only
   blanks, 1 a name or text, 2 an integer, 3 a real, 4 to 9 separators, -1 "/", negative
   codes for malformed numbers and texts; FIRST and END its positions; IVALUE and RVALUE
   the value of a number. MODE 0 to 9 chooses how texts are taken. */
KVR_EXPORT void dll_udecod(int32_t* codes, int32_t* start, int32_t* last, int32_t* mode,
                           int32_t* kind, int32_t* first, int32_t* end, int32_t* ivalue,
                           float* rvalue);

/* Line NUMBER: its NAME (8 characters), its LENGTH and its description DESC: 1 0, 2 and
   3 the end points, 4 the element divisions, 5 and 6 by line type (arc: axis point and
   centre; type 3 words 5 and 6; type 4 the first and last node; type 5 word 5; type 6 the
   geometry record), 7 0, 8 and 9 the first and last element (shifted by the element
   offset), 10 the coordinate system, 11 the material, 12 the physical property, 13 the
   element group, 14 the line type, 15 the element-type code, 16 the units part of the
   group word. On a line of type 6 dll_uline2 puts in position 4 the bits of the REAL
   curve parameter at the line's start. A composite line (type 9) answers positions 2 to
   4 and 14 only (4 is 0), without its length; dll_uline3 adds in position 6 its member
   count m, in positions 17 to 16 + m its members (at most 20) and in position 4 the sum
   of their divisions, so its DESC must hold 16 + m numbers. STATUS 0; 1 NUMBER out of
   range; 2 no such line (nothing written); 3 the line is shorter than the model
   tolerance; 4 the length of an arc or curve is its chord; 5 a line type the length
   knows nothing of (LENGTH 0). */
enum { KVR_ULINE2_NAME_LENGTH = 8, KVR_ULINE3_NAME_LENGTH = 8, KVR_ULINE3_DESC_WORDS = 36 };
KVR_EXPORT void dll_uline2(int32_t* number, char* name, int32_t* desc, float* length,
                           int32_t* status);
KVR_EXPORT void dll_uline3(int32_t* number, char* name, int32_t* desc, float* length,
                           int32_t* status);

/* Surface NUMBER: its NAME (8 characters) and description DESC[16]: 1 to 5 surface words
   1 to 5 (2 to 5 the boundary lines; from surface type 6 on position 2 is one step
   nearer 0), 6 word 6 div 10000, 7 word 12, then as for a line: 8 and 9 the element
   range (the offset alone when unmeshed), 10 coordinate system, 11 material, 12 physical
   property, 13 element group, 14 the surface type, 15 the element-type code (plus 2 when
   not 0), 16 the units part. STATUS 0; 1 out of range; 2 no such surface (nothing
   written). */
enum { KVR_USURF2_NAME_LENGTH = 8 };
KVR_EXPORT void dll_usurf2(int32_t* number, char* name, int32_t* desc, int32_t* status);

/* Body NUMBER: its NAME (8 characters) and description DESC[16]: 1 to 7 body words 1 to 7
   (1 the type, 2 and 3 the bottom and top surfaces, 4 the first side face or, for body
   types 4 and 5, the surface set, one step nearer 0), 8 and 9 the element range, 10
   coordinate system, 11 material, 12 physical property, 13 element group, 14 the body
   type, 15 the element-type code (plus 10 when not 0), 16 the units part. STATUS 0; 1 out
   of range; 2 no such body (nothing written). */
enum { KVR_UBODY2_NAME_LENGTH = 8 };
KVR_EXPORT void dll_ubody2(int32_t* number, char* name, int32_t* desc, int32_t* status);

/* The members of KIND (1 point, 2 line, 3 surface, 4 body) of set SET into MEMBERS
   (SIZE numbers), COUNT of them, and the set's NAME (8 characters). STATUS 0; 2 no such
   set; 3 no sets, or no member of KIND; 9 more members than SIZE (COUNT = SIZE). */
enum { KVR_USET2_NAME_LENGTH = 8 };
KVR_EXPORT void dll_uset2(int32_t* set, int32_t* kind, char* name, int32_t* members,
                          int32_t* size, int32_t* count, int32_t* status);

/* The COUNT nodes of entity NUMBER of KIND (0 all nodes, 1 point, 2 line, 3 surface,
   4 body, 7 set) into NODES (SIZE numbers), each once. STATUS 0; 1 another KIND; 2 the
   entity has more nodes than the library collects for one entity (a message names it;
   the nodes collected are returned); 3 no node; 9 NODES is too small (COUNT 0). */
KVR_EXPORT void dll_unodeg(int32_t* kind, int32_t* number, int32_t* count, int32_t* nodes,
                           int32_t* size, int32_t* status);

/* The elements of entity NUMBER of KIND (0 the whole model, 1 point, 2 line, 3 surface,
   4 body): FIRST and LAST, its element type ELTYPE, units part UNITS, MATERIAL, PROPERTY
   and element GROUP. The whole model answers its first and last element and 0 for the
   rest. STATUS 0; 1 NUMBER out of range or another KIND; 2 the entity does not exist;
   3 a composite line; 4 the entity is not meshed (FIRST 0). On status 1 to 4 UNITS and
   GROUP are 0 and, but for status 4's FIRST and LAST, nothing else is written. */
KVR_EXPORT void dll_uelemg(int32_t* kind, int32_t* number, int32_t* first, int32_t* last,
                           int32_t* eltype, int32_t* units, int32_t* material,
                           int32_t* property, int32_t* group, int32_t* status);

/* The owner of element ELEMENT: the KIND (1 point, 2 line, 3 surface, 4 body) and NUMBER
   of the entity whose elements hold it, with ELTYPE, UNITS, MATERIAL and GROUP as
   dll_uelemg answers them for that entity; an element attribute region that holds the
   element gives its own MATERIAL. An element no entity owns is answered with owner 0, 0
   and element data 0. STATUS 0, or 1 for an element out of range or without nodes.
   PROPERTY, the seventh argument, is the one argument taken by value: the library writes
   the element's property into its own copy, so the caller never receives it. */
KVR_EXPORT void dll_ugelem(int32_t* element, int32_t* kind, int32_t* number, int32_t* eltype,
                           int32_t* units, int32_t* material, int32_t property,
                           int32_t* group, int32_t* status);

/* Material NUMBER: its NAME (8 characters), the NAME2 (8) and INTEGER value 2 (WORD) of
   the entry it refers to, and its COUNT data values into VALUES (SIZE reals). STATUS 0;
   1 NUMBER out of range; 2 no such material (COUNT -10); 3 the material descriptors of
   the session are in use (checked first); 9 SIZE below COUNT (COUNT tells the room
   needed). NAME2 and WORD are not written when the referred entry is missing. */
enum { KVR_UMAT3_NAME_LENGTH = 8, KVR_UMAT3_NAME2_LENGTH = 8 };
KVR_EXPORT void dll_umat3(int32_t* number, char* name, char* name2, int32_t* word,
                          int32_t* count, float* values, int32_t* size, int32_t* status);

/* Physical property NUMBER: as dll_umat3 (NAME and NAME2 blank-filled first), with the
   INTEGER values 2, 3 and 4 of the entry it refers to in W2, W3 and W4. Values that hold
   point numbers are replaced by the points' coordinates, each only when its three values
   lie within COUNT and SIZE and the point exists; W2 becomes 2 when value 1 is such a
   reference, W3 one more than the property's reference bits. */
enum { KVR_UPHYS4_NAME_LENGTH = 8, KVR_UPHYS4_NAME2_LENGTH = 8 };
KVR_EXPORT void dll_uphys4(int32_t* number, char* name, char* name2, int32_t* w4, int32_t* w2,
                           int32_t* w3, int32_t* count, float* values, int32_t* size,
                           int32_t* status);

/* The text items of VALUES (value 1 the item count; each item a word count of at most 20
   and that many words of four characters) as COUNT lines of 80 characters in LINES, each
   word of an item (up to the next blank) a line, with its length in LENGTHS. LINES and
   LENGTHS hold MAX entries; they are blank-filled and zeroed first. STATUS 0; 1 the item
   count is 0. MAX 0 or less writes nothing (COUNT 0, STATUS 0). dll_uphyse answers the
   same. */
enum { KVR_UMATE_LINE_LENGTH = 80, KVR_UPHYSE_LINE_LENGTH = 80 };
KVR_EXPORT void dll_umate(float* values, int32_t* spare, int32_t* max, int32_t* count,
                          int32_t* lengths, char* lines, int32_t* status);
KVR_EXPORT void dll_uphyse(float* values, int32_t* spare, int32_t* max, int32_t* count,
                           int32_t* lengths, char* lines, int32_t* status);

/* The neighbour (NKIND, NNUMBER) of entity NUMBER of KIND (1 point, 2 line, 3 surface):
   the entity itself when it has elements (MODE 0), else the first meshed line ending in
   a point, surface holding a line (then, in MODE 0, body holding one of the line's
   surfaces) or body holding a surface. A restriction RKIND 1 to 4 with RNUMBER above 0
   is answered as it is; RKIND 7 searches only the members of set RNUMBER, which are
   written into WORK: WORK must hold every member of that set. MODE 1 searches only the
   surfaces of a line. SPARE is not read. STATUS 0 found; 1 an entity or restriction out
   of range or of a wrong kind; 2 nothing adjacent. */
KVR_EXPORT void dll_uadjge(int32_t* kind, int32_t* number, int32_t* rkind, int32_t* rnumber,
                           int32_t* nkind, int32_t* nnumber, int32_t* work, int32_t* spare,
                           int32_t* mode, int32_t* status);

/* Coordinate system NUMBER: its TYPE (1 Cartesian, 2 spherical, 3 cylindrical, 4 conical),
   its first and second AXES (x in 1-3, y in 4-6), its defining nodes NODE1 (origin), NODE2
   (on the third axis) and NODE3 (internal numbers), and the COUNT nodes that refer to it in
   NODES, ascending, as external numbers. SIZE must be at least the highest node number.
   STATUS 0; 9 SIZE too small (tested first, nothing written); 1 NUMBER out of range; 2 no
   such system, or a defining node outside the model (nothing written); 3 no node refers
   to it (the rest written). */
KVR_EXPORT void dll_ucsys2(int32_t* number, int32_t* type, float* axes, int32_t* node1,
                           int32_t* node2, int32_t* node3, int32_t* count, int32_t* nodes,
                           int32_t* size, int32_t* status);

/* The first and second local DIRECTIONS (three reals each) at POINT of a system of TYPE
   with first and second AXES (three reals each) about ORIGIN: type 1 the axes; 2
   (spherical) radial and meridional; 3 (cylindrical) radial and tangential, the axes on
   the system's axis. Any other TYPE writes nothing. */
KVR_EXPORT void dll_ucocyl(int32_t* type, float* axes, float* origin, float* point,
                           float* directions);

/* Load NUMBER: its NAME and the NAME of its DESCRIPTION (8 characters each; blank without
   a description), the load TYPE of the description, the words 3 and 7 to 10, the first
   target (KIND, ENTITY: kind 42 for a stored 5, kind 46 for a 6, set numbers as the
   queries count them; for a load of type 2 or more on another kind the first and last of
   its target records), the second target (KIND2, ENTITY2) and its COUNT values into
   VALUES (SIZE reals). STATUS 0; 1 out of range; 2 no such load; 3 a load of type 3
   (values not read); 4 the description's flag is 0, or there is no description (every
   output written); 9 SIZE below COUNT (only COUNT written). */
enum { KVR_ULOAD4_NAME_LENGTH = 8, KVR_ULOAD4_DESCRIPTION_LENGTH = 8 };
KVR_EXPORT void dll_uload4(int32_t* number, char* name, char* description, int32_t* word3,
                           int32_t* type, int32_t* word7, int32_t* word8, int32_t* word9,
                           int32_t* word10, int32_t* kind, int32_t* entity, int32_t* kind2,
                           int32_t* entity2, int32_t* count, float* values, int32_t* size,
                           int32_t* status);

/* The first target of load NUMBER as stored (KIND 5 and 6 untranslated; the number less 1
   for kinds 6 and 7). STATUS 0, 1, 2. */
KVR_EXPORT void dll_uloadp(int32_t* number, int32_t* kind, int32_t* entity, int32_t* status);

/* The target entity (KIND, ENTITY) of target record RECORD (0 asks for nothing: zeros; a
   negative RECORD takes KIND and ENTITY as given) and whether it has elements: MESHED 1
   a meshed line, 2 a line without, 3 a meshed surface, 4 a surface without, 0 for kinds
   0, 1 and 4. STATUS 0; 1 RECORD is no target record of the session (zeros). */
KVR_EXPORT void dll_uloade(int32_t* record, int32_t* kind, int32_t* entity, int32_t* meshed,
                           int32_t* status);

/* The target (KIND, ENTITY) of target record RECORD and the second target (KIND2, ENTITY2)
   of its load, with their RELATION: 1 line-line, 2 line-surface, 3 surface-surface, 4
   surface-body, 5 body-body, 6 point-point, 7 point-line, 8 line-body; a set as second
   target gives 7, 2 or 4 by the first kind without a search. APART 1 when the second
   target is not adjacent (KIND2, ENTITY2, RELATION 0). A RECORD that is no target record
   of the session, or whose load is missing, gives zeros. */
KVR_EXPORT void dll_ulode2(int32_t* record, int32_t* kind, int32_t* entity, int32_t* kind2,
                           int32_t* entity2, int32_t* relation, int32_t* apart);

/* The distributed load of DISTRIBUTION (a type -8 entry), within VARIATION (type -9) and
   in coordinate system SYSTEM (0 each for none), at POSITION (3 reals, global; never
   written) in target KIND 2 line, 3 surface, 4 body number ENTITY; KIND -5 takes POSITION
   as ENTITY parametric coordinates. MODE 0 reads the records into RECORD (SIZE integers)
   and caches them; the flag word returned (1) reuses them for the next points of the load,
   RECORD passed back unchanged. APPLIES 1 when the load acts at the point, VALUE its factor
   (1.0 without distribution), AXES the local axes in columns (3 x 3, the identity without
   system). A missing distribution comes back as 0. STATUS 0 (also for a point outside the
   variation: APPLIES 0); 1 a number out of range or negative, a degenerate system, no
   parametric position, an unknown function; 9 the distribution longer than SIZE. */
KVR_EXPORT void dll_uleval(int32_t* mode, int32_t* variation, int32_t* distribution,
                           int32_t* system, float* position, int32_t* kind, int32_t* entity,
                           int32_t* applies, float* value, float* axes, int32_t* record,
                           int32_t* size, int32_t* status);

/* ---- Curves ------------------------------------------------------------------------- */

/* Curve NUMBER (1 to dll_usize 14): its NAME (15 characters), TYPE (1 table, 2 step, 3
   ramp, 4 sine, 5 exponential), FILLET factor and REPEAT count. MODE 0 answers the
   parameters of types 2 to 5 in VALUES, MODE 1 (and a table in either mode) the points
   x1, y1, x2, y2, ...; WRITTEN the count of values. WORK (WSIZE integers) receives the
   curve record and, beside it, the points. STATUS 0; 1 no such curve; 3 a bad mode or
   record, or WORK too small (then WORK is untouched when the record does not fit); 4
   VALUES (VSIZE reals) too small; 9 the fillets need more work space. */
enum { KVR_UCURVT_NAME_LENGTH = 15 };
KVR_EXPORT void dll_ucurvt(int32_t* number, int32_t* mode, char* name, int32_t* type,
                           float* fillet, int32_t* repeat, int32_t* work, int32_t* wsize,
                           float* values, int32_t* vsize, int32_t* written, int32_t* status);

/* ---- Constraints, prescribed values, rigid beams, equations and connections ----------

   FLAGS arrays hold 16 integers. The flags of a node are 0 or 1; those of a condition
   record are the bits of its flag word times the word's sign (0 and -1 for a negative
   word). Entity codes are number x 10 + kind, a set's number as the queries count it. */

/* The flags 17 to 31 of node NODE in FLAGS[0..14] (FLAGS[15] = 0) and the node's
   coordinate system in SYSTEM. STATUS 0, or 1 for a node out of range (nothing written). */
KVR_EXPORT void dll_ucone3(int32_t* node, int32_t* flags, int32_t* system, int32_t* status);

/* As dll_ucone3 with the flags 1 to 16; SPARE is set to 0. */
KVR_EXPORT void dll_ucons3(int32_t* node, int32_t* flags, int32_t* system, int32_t* spare,
                           int32_t* status);

/* Prescribed value NUMBER (a condition of type 9): its NAME (8 characters), the KIND and
   ENTITY of its target, DOF the lowest of its flags 1 to 16 that is set, VALUE its value
   and IVALUE its integer value (the nearest, halves away from zero). KIND, ENTITY, DOF and
   VALUE are cleared first. STATUS 0; 1 NUMBER out of range or no such condition; 2 a
   condition of another type (only NAME written), or none of the flags 1 to 16 set (the
   other outputs written). */
enum { KVR_UPRESC_NAME_LENGTH = 8 };
KVR_EXPORT void dll_upresc(int32_t* number, char* name, int32_t* kind, int32_t* entity,
                           int32_t* dof, float* value, int32_t* ivalue, int32_t* status);

/* Rigid beam NUMBER (type 5): LIST (SIZE words) receives, for each node of its first
   target but the master (the first node of its second target), the triple node, 1,
   master, and a closing 0; FLAGS its flags. STATUS 0; 1 NUMBER out of range; 2 no such
   condition; 3 the model has no nodes; 5 a condition of another type; 9 LIST cannot hold
   the triples and the 0 (it holds those that fit, closed by 0); else the status of a
   target's node list, as dll_unodeg's. */
KVR_EXPORT void dll_urbeam(int32_t* number, int32_t* list, int32_t* size, int32_t* flags,
                           int32_t* status);

/* Equation NUMBER (its head record: type 8, form 2): NODE the dependent node (the first
   of its target's nodes), FLAGS its flags, VALUE6 and VALUE4 its values 6 and 4, TERMS the
   number of its term records. For term j (in ascending condition number):
   TERMFLAGS[16 (j - 1) .. 16 j - 1] its flags, FACTORS[j - 1] its factor, and in LIST
   (SIZE words) the number of its target's nodes other than the dependent node followed by
   those nodes; a 0 closes LIST. TERMFLAGS and FACTORS must hold 16 words and one word for
   every term of the equation (it has at most one term per node of the model). STATUS 0;
   1 NUMBER out of range; 2 no such condition; 3 the dependent target has no node, or the
   equation has no term; 5 no head record; 9 more terms than nodes, or LIST cannot hold
   the counts, the nodes and the 0; else the status of a term's node list. */
KVR_EXPORT void dll_uequa(int32_t* number, int32_t* list, int32_t* size, int32_t* node,
                          int32_t* flags, float* value6, int32_t* terms, int32_t* termflags,
                          float* factors, float* value4, int32_t* status);

/* Condition NUMBER field by field: its NAME (8 characters), TYPE (the type word's last two
   digits), the entity codes CODE1 and CODE2 of its targets and VALUE its value 6. For
   types up to 4 FLAGS1 and FLAGS2 receive the flags of its word 2 and of its word 4 (word
   2 again when word 4 is 0): flags 17 to 31 and a cleared 16th for type 4, flags 1 to 16
   otherwise; for other types only their first six positions are cleared. STATUS 0; 1
   NUMBER out of range; 2 no such condition. */
enum { KVR_UBDRY3_NAME_LENGTH = 8 };
KVR_EXPORT void dll_ubdry3(int32_t* number, char* name, int32_t* type, int32_t* code1,
                           int32_t* flags1, int32_t* code2, int32_t* flags2, float* value,
                           int32_t* status);

/* Connection NUMBER (type 7; the hundreds digit of its type word is the matching mode):
   LIST (SIZE words) receives, for each dependent node, the node, the count n of the nodes
   it follows and those n nodes, and an entry 0 at the end; FLAGS its flags. LIST is work
   space too. Two sides whose lines are meshed finely and coarsely (2c - 1 and c nodes) are
   paired along their meshes, which needs room for the highest node number plus 19 words a
   line of the model plus 80000 words; otherwise each node of one side follows the nearest
   of the other (mode 1: nearest in position about each side's centroid), and a warning is
   written first when both sides hold 500 nodes or more. STATUS 0; 1 NUMBER out of range;
   2 no such condition; 3 not a connection; 4 a side without nodes; 5 sides of different
   node counts, or in mode 1 a side whose first node lies at its centroid; 9 LIST too
   short; else 1, 3 or 4 when neither way applies. */
KVR_EXPORT void dll_uconct(int32_t* number, int32_t* list, int32_t* size, int32_t* flags,
                           int32_t* status);

/* The face of element ELEMENT (SHAPE its shape code) that the FACENODES of its nodes on
   entity NUMBER of KIND (as dll_unodeg takes them) make up: FACE from 1 a face of a solid
   or an edge of a plane element, from -1 an edge of a solid, 0 the whole element or a side
   of an interface element. TARGET 2 (an edge) or 4 (a face) orders the nodes corners
   first. The entity's nodes are put into WORK (SIZE words) behind its first START words.
   STATUS 0; 4 ELEMENT out of range; 5 none of the element's nodes on the entity, or not
   FACENODES of them; 6 no face matches (FACE not written); 9 START outside 0..SIZE; else
   the status of the entity's node list, as dll_unodeg's. */
KVR_EXPORT void dll_ueface(int32_t* element, int32_t* shape, int32_t* kind, int32_t* number,
                           int32_t* target, int32_t* facenodes, int32_t* work, int32_t* size,
                           int32_t* start, int32_t* face, int32_t* status);

/* The faces or edges of element ELEMENT (host numbering, SHAPE its shape code) that lie on
   entity NUMBER of KIND (1 point, 2 line, 3 surface), by TARGET: 1, 3, 5, 6 the element
   itself (one face, 0); 2 edges of plane elements on the line; 4 faces of solids on the
   surface; 7 the end of a line element at the point (1 its first node, 2 its last); 8
   edges of solids on the line. FACES (6 words) receives FACECOUNT of them. WORK (SIZE
   words) holds from word START + 1 the NODECOUNT nodes of the entity (0: they are
   collected there), and a neighbour list after them: MODE 0 for the first element of an
   entity searches the neighbouring entity (RKIND, RNUMBER restrict it as for dll_uadjge)
   and builds the list, any other MODE reuses it, so the host leaves those words alone
   between the calls. STATUS 0; 1 or 2 from the neighbour search (MODE 0); 4 the element
   cannot be read; 5 too few or too many of its corners lie on the entity; 6 no face lies
   on it; 9 START below 0, START + NODECOUNT beyond SIZE, or no room for a list. */
KVR_EXPORT void dll_uefac2(int32_t* mode, int32_t* element, int32_t* shape, int32_t* kind,
                           int32_t* number, int32_t* rkind, int32_t* rnumber, int32_t* target,
                           int32_t* nodecount, int32_t* work, int32_t* size, int32_t* start,
                           int32_t* faces, int32_t* facecount, int32_t* status);

/* The elements that carry entity NUMBER of KIND (1 point, 2 line, 3 surface): the carrier
   (CARRIERKIND, CARRIERNUMBER) is the entity itself when it has elements, else the first
   line ending in the point, surface or body holding the line, or body holding the
   surface; RKIND 1 to 4 with RNUMBER above 0 names the carrier, RKIND 7 searches only the
   members of set RNUMBER. WORK (SIZE words, at least 80000) receives the ELEMENTCOUNT
   elements (host numbering, at most 40000) in its first words; the words from 40001 on
   are scratch. Of the first element: FACE (an edge or face; negative an edge of a solid;
   1 or 2 a beam end), FACENODES (16 words, the first 9 cleared) its FACENODECOUNT local
   positions, ORIENTATION -1 when its nodes had to be turned, 0 for an edge of a plane
   element, else 1. STATUS 0 (a point without a node answers 0 with no elements); 1 an
   entity or restriction out of range or of a wrong kind; 3 no carrier, no element, or
   an element that cannot be read; 9 SIZE below 80000, too many elements or set members. */
KVR_EXPORT void dll_ufacg2(int32_t* kind, int32_t* number, int32_t* rkind, int32_t* rnumber,
                           int32_t* carrierkind, int32_t* carriernumber, int32_t* facenodecount,
                           int32_t* facenodes, int32_t* face, int32_t* orientation,
                           int32_t* elementcount, int32_t* work, int32_t* size, int32_t* status);

/* The local node numbers of face FACE of shape SHAPE (negative an edge of a solid, 0 the
   whole element, 1 and 2 the ends of a beam) into LIST (CAPACITY words, all cleared
   first), COUNT of them; the cubic solids (shapes 28 to 30) in the numbering that walks
   each edge from its first corner. SPARE is not read. STATUS 0; 1 a shape without lists;
   2 the shape has no such face; 9 CAPACITY is too small. */
KVR_EXPORT void dll_upfn(int32_t* shape, int32_t* face, int32_t* spare, int32_t* capacity,
                         int32_t* list, int32_t* count, int32_t* status);

#ifdef __cplusplus
}
#endif

#endif /* KVR7DBIO_H */
