#include "command/dbflst.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "messages/catalog.h"
#include "modeldb/dbprobe.h"
#include "platform/unitio.h"
#include "runtime/fileutil.h"
#include "runtime/ftext.h"

namespace kvr {
namespace {

constexpr int32_t kExtensionChars = 4;
constexpr int32_t kInsufficientArraySpace = 1070;  // E4070
// A listing record: the name's length and its characters four to a word; a name longer
// than this buffer holds cannot be a model file's.
constexpr int32_t kRecordWords = 1 + 16;
// The extension chains end at a blank extension; a chain never has more generations.
constexpr int32_t kMostGenerations = 16;

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string extension(void (*current)(FText)) {
  FixedText ext(kExtensionChars);
  current(ext);
  return std::string(ext.view());
}

// The current extension CURRENT and every older one of its chain (OLDER), upper case.
void addChain(std::string current, void (*older)(FText, FText), std::vector<std::string>& all) {
  for (int32_t g = 0; g < kMostGenerations && current.find_first_not_of(' ') != std::string::npos;
       ++g) {
    all.push_back(upper(current));
    FixedText old(kExtensionChars, current);
    FixedText next(kExtensionChars);
    older(next, old);
    current = std::string(next.view());
  }
}

std::vector<std::string> modelExtensions() {
  std::vector<std::string> all;
  addChain(extension(EXTG71), EXTGPR, all);
  for (int32_t kind : {0, 1}) {
    FixedText ext(kExtensionChars);
    EXTMV(ext, kind);
    addChain(std::string(ext.view()), EXTMVP, all);
  }
  return all;
}

// The listing pattern of SELECTION.
std::string pattern(int32_t selection) {
  switch (selection) {
    case 1: return "*.?" + extension(EXTG71).substr(2, 2);
    case 2: return "*" + extension(EXTG71);
    case 3: {
      FixedText ext(kExtensionChars);
      EXTMV(ext, 0);
      return "*.?" + std::string(ext.view()).substr(2, 2);
    }
    default: return "*.???";
  }
}

bool kept(int32_t selection, const ModelFile& probe) {
  const bool current = probe.geoExists == 1 || probe.modelExists == 1;
  const bool older = probe.geoGens > 0 || probe.modelGens > 0;
  switch (selection) {
    case 1: return current;
    case 2: return probe.geoExists == 1;
    case 3: return probe.modelExists == 1;
    case 4: return current || older;
    case 5: return !current && older;
    default: return false;
  }
}

// The name of the next record of the listing UNIT; false at its end.
bool nextName(int32_t unit, std::string& name, bool& usable) {
  std::vector<int32_t> words(kRecordWords, 0);
  int32_t n = 0;
  if (io::readUnformatted(unit, words, n) != io::kIosOk) return false;
  const int32_t length = words[0];
  usable = length >= 0 && length <= 4 * (std::min(n, kRecordWords) - 1);
  name.assign(static_cast<std::size_t>(usable ? length : 0), ' ');
  if (usable) std::memcpy(name.data(), words.data() + 1, name.size());
  return true;
}

}  // namespace

void DBFLST(int32_t selection, int32_t probeSwitch, int32_t lengthsSwitch, int32_t maximum,
            std::span<ModelFile> files, int32_t& count, int32_t& status) {
  count = 0;
  status = 0;
  const auto capacity = static_cast<int32_t>(
      std::min<std::size_t>(files.size(), static_cast<std::size_t>(std::max(maximum, 0))));
  for (ModelFile& f : files) f = ModelFile{};
  for (ModelFile& f : files) f.name.fill(' ');

  FixedText listing(kExtensionChars + 2, pattern(selection));
  int32_t unit = -1;
  int32_t listed = 0;
  LSTDIR(listing, unit, listed);
  if (listed == -1) {
    status = 1;
    return;
  }

  const std::vector<std::string> extensions = modelExtensions();
  std::unordered_set<std::string> inList;  // the names listed, upper case
  std::string before;                      // the name taken just before, upper case
  std::string file;
  bool usable = false;
  for (int32_t r = 0; r < listed && nextName(unit, file, usable); ++r) {
    const auto length = static_cast<int32_t>(file.size());
    if (!usable || length <= kExtensionChars - 1) continue;
    const std::string ext = upper(file.substr(file.size() - kExtensionChars));
    if (std::find(extensions.begin(), extensions.end(), ext) == extensions.end()) continue;
    const std::string model = file.substr(0, file.size() - kExtensionChars);
    const std::string key = upper(model);
    if (model.empty() || model.size() > static_cast<std::size_t>(kModelNameChars) || key == before) {
      continue;
    }
    before = key;

    ModelFile probe;
    FixedText name(kModelNameChars, model);
    DBPROB(name, static_cast<int32_t>(model.size()), probe.geoGens, probe.geoExists,
           probe.modelGens, probe.modelExists);
    if (!kept(selection, probe) || inList.count(key) != 0) continue;
    if (count >= capacity) {
      MSGE3(kInsufficientArraySpace);
      break;
    }
    ModelFile& f = files[static_cast<std::size_t>(count++)];
    std::copy(model.begin(), model.end(), f.name.begin());
    if (lengthsSwitch == 1) f.length = static_cast<int32_t>(model.size());
    if (probeSwitch == 1) {
      f.geoGens = probe.geoGens;
      f.modelGens = probe.modelGens;
      f.geoExists = probe.geoExists;
      f.modelExists = probe.modelExists;
    }
    inList.insert(key);
  }
  io::unitClose(unit);
}

}  // namespace kvr
