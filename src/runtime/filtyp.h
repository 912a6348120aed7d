// FILTYP: the file types by which the library opens and closes its standard files.
//
// Each type names the unit slot of IOUNIT it is opened on and the slot it is closed by
// (the same but for types 17 and 18, which have a slot for closing only), the suffix of
// its default name after the prefix "kvr", the environment variable naming the standard
// directory of the shared files, its default extension and where its record length for
// direct access comes from. Type 15 does not exist; types 17, 18 and 24 cannot be opened.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvr {

inline constexpr int32_t kFirstFileType = 1;
inline constexpr int32_t kLastFileType = 28;

// How the opener treats a type.
enum class FileKind {
  None,         // no such type, or one that cannot be opened (15, 17, 18, 24)
  Terminal,     // the host's terminal units (1, 2, 10, 11): marked open, never opened
  Default,      // the given name, else "kvr" + suffix; the default extension
  Standard,     // the given name, else the standard directory + "kvr" + suffix
  AlwaysStandard,  // the standard directory + "kvr" + suffix whatever name is given (16)
  ModelFile,    // a model's database file, named by the model-file-name rule; name needed
  NameRequired, // a given name with the default extension; name needed (22)
  CallerName,   // the given name passed on unchanged (page-layer scratch files)
};

// Where the record length of a direct-access open comes from.
enum class RecordLength {
  None,           // 0: the generic open takes its own default
  IndexPage,      // 100 words, the index-file page
  DataPage,       // the data-file page size of DBPARM
  ModelPage,      // the model page size of DBPARM (product of its two factors)
  RecordWord,     // the record-length word of DBPARM
  Fixed1000,      // 1000 words
};

// How the default extension is chosen.
enum class Extension {
  None,
  Fixed,        // the text of the row
  PlotDevice,   // by the plot device (the plot file)
  IndexFile,    // the current index-file extension
  DataFile,     // the current data-file extension
  GeometryFile, // the current geometry-file extension
};

struct FileTypeRow {
  FileKind kind;
  int32_t openSlot;   // 0 when the type cannot be opened
  int32_t closeSlot;  // 0 when the type has no unit to close
  std::string_view suffix;     // default name is "kvr" + suffix; empty for none
  std::string_view directoryVariable;  // names the standard directory; empty for none
  Extension extension;
  std::string_view extensionText;  // for Extension::Fixed
  bool keepExistingName;  // no extension when a file of exactly the given name exists
  RecordLength recordLength;
};

// The row of TYPE (1..28); nullptr outside that range.
const FileTypeRow* fileTypeRow(int32_t type);

// The default unit of unit slot K (1..27); 0 outside.
int32_t defaultSlotUnit(int32_t k);

}  // namespace kvr
