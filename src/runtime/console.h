// The console device and its dialogues.
//
// In the console output mode the plot dispatcher hands every opcode record to ALPDRV,
// which keeps the device words of PLTDEV and PLTCAP, writes text output as console lines,
// reads a line for a prompt (opcode 21) and shows a message box (opcode 49). Replies are
// read from the console input unit (PLTPAR word 2) and everything is written to the
// console output unit (PLTPAR word 1), each line behind one blank.
//
// End of input is a reply of its own: a read that meets it leaves the reply blank and
// sets the end-of-input word of IOMODE, which the next successful read clears. A box
// whose default would repeat an action (Retry of Abort/Retry) answers Abort there, so
// that no dialogue waits for ever.
//
// The driver stops end the process with a failure status through the process stop.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/ftext.h"
#include "runtime/pltcap.h"

namespace kvr {

// The console's page when no setting gives another.
inline constexpr int32_t kConsoleWidth = 679;
inline constexpr int32_t kConsoleHeight = 480;

// Message-box icon styles, button sets and answers.
inline constexpr int32_t kIconError = 1;
inline constexpr int32_t kIconInformation = 2;
inline constexpr int32_t kIconQuestion = 3;
inline constexpr int32_t kIconMessage = 4;
inline constexpr int32_t kIconWorking = 5;
inline constexpr int32_t kIconWarning = 6;
inline constexpr int32_t kButtonsOk = 1;
inline constexpr int32_t kButtonsOkCancel = 2;
inline constexpr int32_t kButtonsYesNo = 3;
inline constexpr int32_t kButtonsAbortRetry = 4;
inline constexpr int32_t kButtonsYesNoCancel = 5;
inline constexpr int32_t kBadIcon = -1;
inline constexpr int32_t kBadButtons = -2;
inline constexpr int32_t kBadDefault = -3;

// CONHOOKS: what the console device takes from the plot output, which stands above it and
// fills the table where it defines it (plot/pltdsp.cpp). A slot left empty (nullptr)
// stands for a library without plot output.
struct ConsoleDeviceHooks {
  // The step every device takes first for the opcodes that change the device words
  // (sharedStep of the drivers); true for a text inquiry. Empty: the device words stay
  // as they are and no inquiry is answered.
  bool (*sharedStep)(int32_t opcode, bool colourDevice) = nullptr;
  // The console's row of the device descriptions, put into PLTCAP at opcode 1. Empty:
  // the description words stay as they are.
  const std::array<int32_t, PltCap::kIntegerWords>& (*description)() = nullptr;
  // DEFCOL: the colour tables and the palette, built at opcode 1. Empty: the tables stay
  // as they are.
  void (*colourSetUp)() = nullptr;
};

extern ConsoleDeviceHooks CONHOOKS;

// Acts on the opcode record OPCODE, its operands in PLTPAR: 1 open, 10 colour, 11 line
// attribute, 12 character size, 18 text inquiry, 21 read a line, 22 and 48 text output,
// 25 object kind, 31 and 33 transformations, 34 clear the operand word, 35 colour table,
// 49 message box. Every other opcode is ignored.
void ALPDRV(int32_t opcode);

// Reads the first LENGTH characters of TEXT as "<width>x<height>" (leading blanks
// skipped, "x" or "X"): digits only, both numbers in 1..32767. FAILED 0 with WIDTH and
// HEIGHT set, or FAILED 1 with both 0.
void ALPGEO(FText text, int32_t& width, int32_t& height, int32_t& failed, int32_t length);

// Reads the setting KEY of section "Alpha" (application "Quorin", program "*") into VALUE
// through the settings lookup, as a switch when DEFAULTFLAG is non-zero; STATUS as the
// lookup answers.
void ALPSET(FText key, FText value, int32_t defaultFlag, int32_t& status);

// The console message box: TITLE and TEXT ("#" separates its lines) framed with "=",
// then a prompt naming the choices of button set BUTTONS and the default button, read
// until the reply names a button. Answers the button (1..3), the default for an empty
// reply, 1 for the OK set whatever the reply, or -3, -2, -1 for a default, button set or
// icon style out of range (then nothing is shown).
int32_t ALPBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton);

// The host's dialogue entry: here the console box.
int32_t HCMBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton);

// Builds the message-box request in PLTPAR (the title cut at 200 codes, the text at 255)
// and sends it as opcode 49; answers the pressed button. A request out of range answers
// -3 (a default button outside 0..3, or above 1 with the OK set), -2 (button set outside
// 1..5) or -1 (icon style outside 1..6), in this order, and nothing is sent.
int32_t MSGBOX(FText title, FText text, int32_t icon, int32_t buttons, int32_t defaultButton);

// Prompts with the first N characters of PROMPT (at most its length and 255) behind one
// blank, without a new line, and reads one line from INUNIT into REPLY, which is blank
// first. A read error is retried, the prompt shown again in the first 10 attempts, up to
// 1000 attempts. End of input, or no input after 1000 attempts, leaves the reply blank
// and sets the end-of-input word.
void PRMRDL(FText prompt, int32_t n, int32_t inUnit, int32_t outUnit, FText reply);

// The menu prompt: unless NOLIST is set, every entry of the value list PRMLST as a line
// (trimmed, at least one character); then PROMPT, trimmed, without a new line; then one
// reply from the console input unit into REPLYB. Answers 1, or 0 at the end of input, on
// a read error, or for a reply that is a "/" or "//" standing alone (followed by a blank
// or nothing); a reply that begins with a path ("/tmp/x") is taken. TITLE is not used.
int32_t MENPRM(int32_t noList, FText title, FText prompt);

// Ends the run: closes the database and every file, then, when ABORTFLAG is non-zero,
// aborts the process with "That's it- I'm outta here"; otherwise returns.
void STOPRN(int32_t abortFlag);

// Called by STOPRN before the end; does nothing.
void STPEMP();

// Writes the device-driver failure line for CODE to the terminal output unit and ends
// the process with status 1.
[[noreturn]] void DRVSTP(int32_t code);

// The driver stops of the plot dispatcher: a record for device 13, and a console record
// while the graphics record count is set.
[[noreturn]] void STPN13();
[[noreturn]] void STPN45();

// Fills TEXT with blanks.
void TXTBLK(FText text);

}  // namespace kvr
