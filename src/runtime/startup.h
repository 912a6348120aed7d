// Start-up: the routines that put the library's global blocks into their start state on
// both roads, and the small state routines that go with them.
//
// The writing road runs CHRSET, INICON, GFXDEF, LOGOPN(1, 1), SETDEF and VIEWID among its
// initialisation; the reading road's model opening runs CHRSET, MDLCON, USEMPT,
// LOGOPN(1, 1) and DSPRST(1). Every routine sets its words afresh at each call.
#pragma once

#include <cstdint>

namespace kvr {

// RUNHOOKS: the model database's part of the start and the end of a run. The model
// database stands above the runtime and fills the table where it defines it
// (modeldb/dbwords.cpp). A slot left empty (nullptr) stands for a library without a
// model database.
struct RunHooks {
  // The database-side words that GFXDEF puts into their start state (resetDatabaseWords).
  // Empty: there are none to reset.
  void (*resetDatabase)() = nullptr;
  // DBENDS, which STOPRN runs first: the archive ended, the plot output closed, this
  // process's lock released, every file closed. Empty: STOPRN goes straight on (the
  // process stop still flushes and closes every unit).
  void (*endDatabase)() = nullptr;
};

extern RunHooks RUNHOOKS;

// The version words of IOMODE: release number 1, release-letter index 0, and the
// constant 5000 of a new database's index page 1.
void INICON();

// Resets the display, view, plot, input and database words of the writing road, reads
// the path-tracking setting and the plotter format, and installs the interrupt handler.
void GFXDEF();

// END 2 first ends the graphics output (GFXCLS(2)). Then MODE 2 enters the graphics
// output mode, any other mode the console output mode (which opens the console).
void LOGOPN(int32_t mode, int32_t end);

// The index-file layout words 39-82 of IDXLAY; the index file's page size 100 and the
// data file's six slot words 0 in DBPARM.
void SETDEF();

// The view matrices of VIEWMT become the identity.
void VIEWID();

// The reading road's constants: MODCON, GEOCON, the message queue reset, the display
// title blank, the model's analysis-program code 38, the DBPARM start values, ELTNAM with
// the two spline tolerances of numbered settings 13 and 14, the packing modulus of IDPACK
// from the setting Pre7005 (1000 when it begins with "T" or "t", else 10000), the id limit
// and the two line limits of MACHCN.
void MDLCON();

// Does nothing; the model opening and MDLCON call it.
void USEMPT();

// The display state and the window slots. MODE 1 clears every slot (the slot count 0,
// the current window slot 0) and then resets the current display state as MODE 2 does:
// the title blank, the window default words 5, 4, 0, the work texts blank, the selection
// tables 0. MODE 3 saves the current display state and the registry head in force into
// the slot of KEY: its own slot, else the first free one, else (all 20 hold other keys)
// the slot saved longest ago; the slot becomes the youngest. MODE 4 restores the view
// words and the registry head from the slot of KEY. KEY 0 does nothing in modes 3 and 4,
// nor does a key that no slot holds in mode 4.
void DSPRST(int32_t mode, int32_t key);

// The viewport table: MODE 1 clears viewport V (0..4) and tells the host display;
// modes 2 and 3 name it from the current title, give it the current directory and the
// status -1 or 1; mode 4 copies viewport SOURCE into it and tells the host display of the
// old and the new status; mode 5 blanks its name with the current directory and status
// 3; mode 6 names it from the title with the current directory and status 4. The host
// display knows the viewport as 100 x the current window slot + V + 1.
void VWPSET(int32_t mode, int32_t v, int32_t source);

// The display-option tables of DSPOPT: the three tables 0, the switches and the list 1.
void OPTRST();

// Numbered setting NUMBER read as an integer into VALUE.
void SETGT1(int32_t number, int32_t& value);

// DEVICE from the plotter format (numbered setting 19, compared without regard to case):
// "Neutral" 1, "Postscript Mono" 2, "Interleaf" 3, "Postscript Colour" 4, "Laserjet" 5,
// "Paintjet" 6, "HPGL" 7, "HPGL2 Mono" and "HPGL2 Colour" 8, "Deskjet" 9, "CGM" 10,
// "Hardcopy" 11, "TIFF" 12; any other value, or none, 1. The two HP-GL/2 formats also
// set the colour switch of PLTOPT: 0 for Mono, -1 for Colour.
void PLTFMT(int32_t& device);

// The saved plot-format word: cleared (GFXDEF), set and read.
void PFWCLR();
void PFWSET(int32_t value);
int32_t PFWGET();

// Clears the interrupt flag and installs SIGHND for the interrupt signal (SIGINT), anew
// at every call.
void SIGSET();

// The interrupt handler: clears the flag, installs itself again, and gives the flag the
// interrupt value word.
void SIGHND(int signal);

}  // namespace kvr
