#include "platform/registry.h"

#include <fstream>

#include "platform/environment.h"

namespace kvr::registry {
namespace {

constexpr const char* kKeyPath = "/quellix/selvo/9.3/registry";
constexpr const char* kMachineFile = "/etc/quellix/selvo/9.3/registry";

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A non-empty environment value, or nothing.
std::string plainEnv(const std::string& name) {
  const char* v = env::get(name);
  return v ? std::string(v) : std::string();
}

// Parses one line; false when it holds no value.
bool parseLine(std::string_view line, Value& value) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view head = line.substr(0, eq);
  std::size_t colon = head.find(':');
  value.name = std::string(head.substr(0, colon));
  value.type = kTypeString;
  if (colon != std::string_view::npos) {
    value.type = equalIgnoringCase(head.substr(colon + 1), "expand") ? kTypeExpandable : kTypeUnexpected;
  }
  value.data = std::string(line.substr(eq + 1));
  return true;
}

}  // namespace

bool Hive::open(const std::string& path) {
  close();
  if (path.empty()) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    Value value;
    if (parseLine(line, value)) values_.push_back(std::move(value));
  }
  open_ = true;
  return true;
}

void Hive::close() {
  open_ = false;
  values_.clear();
}

const Value* Hive::find(std::string_view name) const {
  for (const Value& v : values_) {
    if (equalIgnoringCase(v.name, name)) return &v;
  }
  return nullptr;
}

std::string userFile() {
  std::string file = plainEnv("KVR_REGISTRY_USER");
  if (!file.empty()) return file;
  std::string config = plainEnv("XDG_CONFIG_HOME");
  if (config.empty()) {
    std::string home = plainEnv("HOME");
    if (home.empty()) return {};
    config = home + "/.config";
  }
  return config + kKeyPath;
}

std::string machineFile() {
  std::string file = plainEnv("KVR_REGISTRY_MACHINE");
  return file.empty() ? std::string(kMachineFile) : file;
}

std::string expandEnvironment(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : env::get(name);
    if (value) {
      out.append(value);
    } else {
      out.append(text.substr(open, close - open + 1));
    }
    i = close + 1;
  }
  out.append(text.substr(i));
  return out;
}

}  // namespace kvr::registry
