// The state of the writing road: the control block DICTL, the component table and record
// buffer DIUNIT, the state block DISTAT, the dataset keys DIKEYS and the blank code.
// Every database-interface routine reads and writes them; DIINI fills and clears them.
//
// The host names up to ten temporary units. Unit index k (1..10) is a unit's position in
// the host's list; every per-unit word is reached through an accessor that takes k, as
// the routines number the units. A unit's error flag (0 none, 1 abandon the dataset, 2
// abandon the model) is raised only through raiseErrorFlag, which never lowers it; only
// the clean-up of a unit and the initialisation clear it.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "dbinterface/direcs.h"
#include "runtime/codtxt.h"

namespace kvr {

inline constexpr int32_t kMaxTempUnits = 10;
inline constexpr int32_t kNoMessageUnit = 99;

// Output options (LUOPT).
inline constexpr int32_t kOutputDatabase = 1;
inline constexpr int32_t kOutputNeutral = 2;
inline constexpr int32_t kOutputBoth = 3;

// Number formats of the neutral text file (from NFORM 5, 10, anything else).
inline constexpr int32_t kFormatI5E12 = 0;
inline constexpr int32_t kFormatI10E12 = 1;
inline constexpr int32_t kFormatI10E14 = 2;

// Unit error flags.
inline constexpr int32_t kUnitFlagNone = 0;
inline constexpr int32_t kUnitFlagDataset = 1;
inline constexpr int32_t kUnitFlagModel = 2;

// One value of type T per temporary unit, reached by unit index 1..10.
template <class T>
class PerUnit {
 public:
  T& operator()(int32_t k) {
    assert(k >= 1 && k <= kMaxTempUnits);
    return values_[static_cast<std::size_t>(k - 1)];
  }
  const T& operator()(int32_t k) const {
    assert(k >= 1 && k <= kMaxTempUnits);
    return values_[static_cast<std::size_t>(k - 1)];
  }
  void fill(const T& value) { values_.fill(value); }

 private:
  std::array<T, kMaxTempUnits> values_{};
};

// A row of N integers numbered from 1.
template <int32_t N>
struct WordRow {
  std::array<int32_t, N> words{};
  int32_t& word(int32_t k) {
    assert(k >= 1 && k <= N);
    return words[static_cast<std::size_t>(k - 1)];
  }
  int32_t word(int32_t k) const {
    assert(k >= 1 && k <= N);
    return words[static_cast<std::size_t>(k - 1)];
  }
};

// DICTL: the host's choices and the current model.
struct Dictl {
  static constexpr int32_t kModelNameCodes = 20;
  static constexpr int32_t kVariantWords = 12;

  int32_t luopt = 0;
  PerUnit<int32_t> tempUnit;  // unit number of unit index k
  int32_t itfnum = 0;
  int32_t luneu = 0;
  int32_t ludb8 = 0;
  int32_t ludb7 = 0;
  int32_t ikeep = 0;          // stored, never read
  int32_t numberFormat = kFormatI10E14;
  int32_t lumsg1 = kNoMessageUnit;
  int32_t lumsg2 = kNoMessageUnit;
  WordRow<10> processing;     // words of the dataset processing
  int32_t nodeCount = 0;      // nodes entered for the current model
  int32_t elementCount = 0;   // elements entered for the current model
  WordRow<kModelNameCodes> modelName;  // character codes, upper-cased
  WordRow<kModelNameCodes> modelGiven; // the same name as the host gave it
  // Per unit, the model header its stream holds: the name upper-cased and as the host gave
  // it (blank while none). The processing opens that model, whichever was named last.
  PerUnit<WordRow<kModelNameCodes>> unitModelName;
  PerUnit<WordRow<kModelNameCodes>> unitModelGiven;
  PerUnit<int32_t> ncomps;    // component count of the unit's results attribute
  PerUnit<int32_t> numvar;    // its variant count
  // Words 1-6 the keys of up to six attribute variants, 7-12 the values per data record
  // of each.
  PerUnit<WordRow<kVariantWords>> variants;
};

// DIUNIT: per unit the marks of the components of its results attribute (1 one value
// per data record, 2 two values), and the record being assembled.
struct Diunit {
  static constexpr int32_t kComponents = 20;
  PerUnit<WordRow<kComponents>> components;
  StreamRecord record;
};

// The results state of one unit.
struct ResultsState {
  int32_t attributeHeaderEntered = 0;
  int32_t componentsComplete = 0;
  int32_t irtype = 0;
  int32_t repeatsExpected = 0;
  int32_t variantsComplete = 0;
  int32_t componentsExpected = 0;
  int32_t variantsExpected = 0;
};

// DISTAT: the state of the session, of the current model and of each unit.
class Distat {
 public:
  PerUnit<int32_t> messageCount;     // message lines written while the unit was current
  PerUnit<int32_t> lastId;           // last identification number accepted
  int32_t currentUnit = 1;           // unit index of the routine last to find its unit
  int32_t initialised = 0;
  int32_t modelActive = 0;
  PerUnit<int32_t> datasetKey;       // key of the dataset open on the unit, 0 none
  int32_t coordinatesState = 0;      // 0 not entered, 1 being entered, 2 entered
  int32_t topologyState = 0;
  PerUnit<int32_t> datasetComplete;  // 1: the unit's dataset may be processed
  PerUnit<WordRow<5>> processing;    // words of the dataset processing
  PerUnit<ResultsState> results;

 private:
  PerUnit<int32_t> errorFlag_;       // per unit: read and changed through the routines below

 public:
  int32_t modelState = 0;            // opcode of the accepted model header, 0 none
  int32_t displayBuildPending = 0;
  PerUnit<int32_t> valuesPerRecord;  // values the data records must carry
  PerUnit<int32_t> entityHeaderEntered;
  PerUnit<int32_t> groupStarted;
  PerUnit<int32_t> setHeaderWritten;
  int32_t databaseReady = 0;         // set by DIDBI
  int32_t databaseOpen = 0;          // the current model's database files are open
  int32_t openedMode = 0;            // opcode of the model header whose database is open
  int32_t modelFailure = 0;          // the error that blocked every unit first, 0 none
  PerUnit<int32_t> localAxisHeaderEntered;
  PerUnit<int32_t> localAxisRepeats;
  PerUnit<WordRow<2>> processing2;   // further words of the dataset processing

  int32_t errorFlag(int32_t k) const { return errorFlag_(k); }
  // Raises the flag of unit K to FLAG. A flag is never lowered: a unit whose whole model
  // must be abandoned is not let off with abandoning one dataset.
  void raiseErrorFlag(int32_t k, int32_t flag) {
    if (flag > errorFlag_(k)) errorFlag_(k) = flag;
  }
  // Raises the flags of units 1..LAST (at most 10).
  void raiseErrorFlags(int32_t last, int32_t flag) {
    for (int32_t k = 1; k <= last && k <= kMaxTempUnits; ++k) raiseErrorFlag(k, flag);
  }
  // Raises the flags of units 1..LAST to 2 for the error CODE, which is kept as the cause
  // of the model's loss when it is the first: the stop that abandons the model answers it.
  void blockModel(int32_t code, int32_t last = kMaxTempUnits) {
    raiseErrorFlags(last, kUnitFlagModel);
    if (modelFailure == 0) modelFailure = code;
  }
  // Clears the flag of unit K: for the clean-up of the unit and the initialisation only.
  void clearErrorFlag(int32_t k) { errorFlag_(k) = kUnitFlagNone; }

  // The message count of the current unit, as the message routines advance it. A current
  // unit outside 1..10 counts against unit 1.
  int32_t& currentMessageCount() {
    return messageCount(currentUnit >= 1 && currentUnit <= kMaxTempUnits ? currentUnit : 1);
  }
};

// DIKEYS: the 23 dataset header keys, in their stored order.
inline constexpr std::array<int32_t, 23> DIKEYS = {1,  2,  3,  19, 20, 28,  29, 50,
                                                   100, 30, 32, 33, 34, 41, 42, 43,
                                                   300, 18, 31, 53, 111, 54, 55};

constexpr bool isDatasetKey(int32_t key) {
  for (int32_t k : DIKEYS) {
    if (k == key) return true;
  }
  return false;
}

inline Dictl DICTL;
inline Diunit DIUNIT;
inline Distat DISTAT;
// The code of a blank, kept by DIINI; model names are filled with it.
inline int32_t DIBLNK = kBlankCode;

// The unit index (1..ITFNUM) of temporary unit IUNT, or 0 when it is not one of them.
int32_t findTempUnit(int32_t iunt);

// Clears every dataset word of unit K (1..10): its key, complete flag, last id, group,
// set-header, results, entity-header and local-axis words, values per record, its
// processing words, its attribute shape and component marks. Its error flag and message
// count stay. The completion of a dataset, the clean-up of a unit and the clearing of
// the whole state share it, so a unit used again starts as a fresh unit (a second set
// dataset writes its own set header).
void clearUnitDataset(int32_t k);

// Clears the state of every unit (1 to 10), of the current model and of the session's
// datasets: the flags, counts and states of DISTAT but the initialised flag, the current
// unit and the database-open flag, the counts, processing words, attribute shapes and
// component marks, and the model name (filled with the blank code). The host's choices
// stay.
void clearWritingState();

}  // namespace kvr
