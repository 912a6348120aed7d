// The graphics drivers' side of the plot protocol: the table of driver entries the
// dispatcher routes to by device number, the device description that each kind of device
// writes at opcode 1, and what every driver does the same way: the open and close of the
// contract below, the shared step for the opcodes that change the device words, the
// transformation of points and the mapping onto the page.
//
// The contract of a driver:
//  - opcode 1: it names itself, reads its settings and prepares its output, then
//    openDriver saves the previous device's words into PLXFRM and puts its own
//    description; the driver sets its character cell and marker scale and its page
//    mapping (mapPage);
//  - opcode 2: it finishes the page and the file, then closeDriver gives the saved words
//    back;
//  - every other opcode: sharedStep first, then the driver's own action if the opcode is
//    in its list.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/pltcap.h"
#include "runtime/pltdev.h"

namespace kvr {

// Device numbers that are not drivers.
inline constexpr int32_t kDeviceHardCopy = 11;  // records are dropped
inline constexpr int32_t kDeviceStopped = 13;   // the library stops
inline constexpr int32_t kLastDevice = 13;

// A driver entry: acts on one opcode record, its operands in PLTPAR.
using PlotDriver = void (*)(int32_t opcode);

// The entry of DEVICE, or nullptr for a device without one (11, 13, numbers outside 1..13,
// and the drivers not built in).
PlotDriver driverOf(int32_t device);

// Puts ENTRY (nullptr: none) in the table for DEVICE (1..10 or 12) and answers the entry
// it replaces. Any other device number is refused: nothing changes and the answer is
// nullptr.
PlotDriver installDriver(int32_t device, PlotDriver entry);

// The kinds of device description (the rows of the table that the devices write at
// opcode 1). CGM and HP-GL/2 share a row.
enum class DeviceRow { Console, NeutralPlotFile, PostScript, Interleaf, Tiff, Pcl, CgmHpgl2, Hpgl };

using DeviceWords = std::array<int32_t, PltCap::kIntegerWords>;

// Values of the table that are not numbers: the word keeps the value it had, takes the
// second word of the plot options, or is given by the printer model.
inline constexpr int32_t kCapKept = INT32_MIN;
inline constexpr int32_t kCapOptionWord2 = INT32_MIN + 1;
inline constexpr int32_t kCapByModel = INT32_MIN + 2;

// The device description words 1..18 of ROW.
const DeviceWords& deviceDescription(DeviceRow row);

// What a driver states at its opcode 1.
struct DriverOpen {
  std::string_view name;     // into the device name of PLTCAP, blank-padded
  DeviceRow row;             // its description words
  int32_t colourCount = 0;   // its colour count
  int32_t modelWord = 0;     // the value of a word the row leaves to the printer model
  bool tableOne = false;     // PLTPAR's colour table number becomes 1
};

// Opcode 1 of the contract: names the device, saves the previous device's description
// words, colour count, second colour count, current colour, colour table number, current
// line attribute and character cell into PLXFRM, puts the description of the row, sets
// the colour count, the current colour, colour table number and line attribute to 0 and
// the text offsets of PLTPAR to 0.0.
void openDriver(const DriverOpen& open);

// The routine that ends the job a graphics driver has open: its opcode 2, or a routine
// that gives back what the job took over without writing. One graphics device is open at
// a time, so a driver's opcode 1 first calls endOpenJob, before it reads or changes
// anything: a second opcode 1 without a close then saves the words and colour tables of
// the device open before the first, not those of the job. After openDriver the driver
// names its end with jobOpened; closeDriver forgets it.
using JobEnd = void (*)();
void endOpenJob();
void jobOpened(JobEnd end);

// Opcode 2 of the contract: gives back the saved description words, colour count, second
// colour count and character cell; the current colour, colour table number and line
// attribute are given back with GIVEBACKCOLOUR, else set to 0.
void closeDriver(bool giveBackColour);

// What every device does first for the opcodes that change the device words: 10 the
// current colour; 11 the line attribute when 1 or more; 12 the character size number;
// 25 the object kind; 31 the selected transformation; 33 the defined transformation
// (number and window x(1), x(2), y(1), y(2)); 35 the colour table number, and on a
// COLOURDEVICE the colour counts from that table. Answers true for a text inquiry
// (opcode 18 with a negative length): the text answer word is set to -99 and the device
// draws nothing.
bool sharedStep(int32_t opcode, bool colourDevice);

// Maps X, Y through the mapping words of PLTDEV when the selected transformation is not 1
// (with ONLYABOVEONE, only when it is above 1): scale x (value - origin) + offset.
void transformPoint(float& x, float& y, bool onlyAboveOne = false);

// An extent of the picture window, HIGH - LOW; one that is empty, reversed or not finite
// counts as 1.0, so that no page scale divides by zero.
float windowExtent(float low, float high);

// The page mapping of a driver into PLXFRM: WINDOW with its top raised by RAISE fits a
// page of WIDTH x HEIGHT device units (the smaller scale of the two axes) with its centre
// at OFFSETX, OFFSETY.
void mapPage(const PlotWindow& window, float raise, float width, float height,
             float offsetX, float offsetY);

// A picture point on the page, as a real and as a device coordinate (truncated toward
// zero, clamped to the integer range, NaN 0).
float pageX(float x);
float pageY(float y);
int32_t deviceX(float x);
int32_t deviceY(float y);

}  // namespace kvr
