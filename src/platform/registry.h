// Registry: two read-only text files stand for the two registry hives the library reads
// its settings from, the current user's and then the local machine's.
//
//   user:    $KVR_REGISTRY_USER, else $XDG_CONFIG_HOME/quellix/selvo/9.3/registry,
//            else $HOME/.config/quellix/selvo/9.3/registry
//   machine: $KVR_REGISTRY_MACHINE, else /etc/quellix/selvo/9.3/registry
//
// The files are found with the plain process environment, never through SvGetenv, which
// falls back to this reader and would recurse.
//
// One value a line:
//   NAME=value          a plain string (type 1)
//   NAME:expand=value   an expandable string (type 2): %VAR% references are expanded
//                       by whoever reads it (expandEnvironment)
//   NAME:other=value    any other tag: a value of an unexpected type (type 0)
// The name is everything before the first ":" or "="; a line without "=" is ignored, as
// is a trailing "\r" (files written on Windows). Names match ignoring case; of two lines
// with the same name the first counts. Nothing is ever written or created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::registry {

inline constexpr int32_t kTypeUnexpected = 0;
inline constexpr int32_t kTypeString = 1;
inline constexpr int32_t kTypeExpandable = 2;

struct Value {
  std::string name;
  int32_t type = kTypeString;
  std::string data;
};

// One hive, read whole when opened.
class Hive {
 public:
  // Reads the file at PATH. False, and the hive stays closed, when it cannot be read.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return open_; }
  // The value called NAME (ignoring case), or nullptr.
  const Value* find(std::string_view name) const;

 private:
  bool open_ = false;
  std::vector<Value> values_;
};

// The file standing for each hive; empty when none can be named (HOME unset).
std::string userFile();
std::string machineFile();

// Replaces each %VAR% of TEXT with the process environment's value of VAR; a name that
// is not set, and a "%" without a closing one, stay as they are.
std::string expandEnvironment(std::string_view text);

}  // namespace kvr::registry
