// The probe of a model's database files, and the model name of a command-style line.

#include <algorithm>
#include <string>
#include <string_view>

#include "modeldb/dbprobe.h"
#include "runtime/codtxt.h"
#include "runtime/genopen.h"
#include "runtime/modelname.h"

namespace kvr {
namespace {

constexpr int32_t kExtensionLength = 4;
constexpr int32_t kIndexKind = 0;
constexpr int32_t kDataKind = 1;
constexpr int32_t kLineCodes = 20;

// 1 when the file NAME exists (FEXIST, which also finds a name differing only in case);
// a name longer than the probes allow is never looked for.
int32_t exists(const std::string& name) {
  if (name.empty() || name.size() > static_cast<size_t>(kMaxProbeName)) return 0;
  std::string text = name;
  int32_t result = 0;
  FEXIST(FText(text), static_cast<int32_t>(text.size()), 0, 0, result);
  return result;
}

// The file of MODEL with EXT (".M63" and the like), named by the model-file-name rule.
std::string fileOf(std::string_view model, FText ext) {
  const std::string text = ext.trimmed();
  return text.empty() ? std::string() : modelFileName(model, std::string_view(text).substr(1));
}

// The shared index file of generation 20: "kvrindex.m20" in the directory of MODEL.
std::string generation20Index(std::string_view model) {
  const size_t slash = model.rfind('/');
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : model.substr(0, slash + 1);
  return std::string(directory) + kGeneration20Index;
}

// The number of generations older than the current one in the chain that STEP walks.
int32_t olderGenerations(FText current, void (*step)(FText, FText)) {
  FixedText ext(kExtensionLength, current.view());
  int32_t count = 0;
  for (step(ext, ext); !ext.text().isBlank(); step(ext, ext)) ++count;
  return count;
}

}  // namespace

void DBPROB(FText name, int32_t n, int32_t& geoGens, int32_t& geoExists, int32_t& modelGens,
            int32_t& modelExists) {
  geoGens = 0;
  geoExists = 0;
  modelGens = 0;
  modelExists = 0;
  // Without a name, with a name that names nothing, or with a file name too long for the
  // probe, every probe would look for some other file.
  if (n < 1) return;
  const std::string model(name.view().substr(0, static_cast<size_t>(std::min(n, name.length()))));
  FixedText geometry(kExtensionLength);
  EXTG71(geometry);
  const std::string current = fileOf(model, geometry);
  if (current.empty() || current.size() > static_cast<size_t>(kMaxProbeName)) return;

  geoExists = exists(current);
  const int32_t geometryOlder = olderGenerations(geometry, EXTGPR);
  FixedText ext(kExtensionLength, geometry.view());
  for (int32_t j = 1; j <= geometryOlder; ++j) {
    EXTGPR(ext, ext);
    if (exists(fileOf(model, ext)) == 1) {
      geoGens = geometryOlder + 1 - j;
      break;
    }
  }

  FixedText data(kExtensionLength);
  FixedText index(kExtensionLength);
  EXTMV(data, kDataKind);
  EXTMV(index, kIndexKind);
  if (exists(fileOf(model, data)) == 1 && exists(fileOf(model, index)) == 1) modelExists = 1;
  const int32_t indexOlder = olderGenerations(index, EXTMVP);
  for (int32_t k = 1; k <= indexOlder; ++k) {
    EXTMVP(data, data);
    EXTMVP(index, index);
    if (exists(fileOf(model, data)) != 1) continue;
    // The oldest generation kept one index file for every model of its directory.
    const std::string indexFile = k == indexOlder ? generation20Index(model) : fileOf(model, index);
    if (exists(indexFile) == 1) {
      modelGens = indexOlder + 1 - k;
      break;
    }
  }
}

void DBLOCN(std::span<const int32_t> line, std::span<int32_t> name, int32_t& status,
            int32_t& geoFound, int32_t& modelFound) {
  geoFound = 0;
  modelFound = 0;
  BLKCOD(name, 1, std::min(kLineCodes, static_cast<int32_t>(name.size())));
  status = -1;

  // The model name is the line's first blank-delimited word: a name with a directory
  // holds "/", which the command lexer would end the token at.
  const int32_t end = std::min(kLineCodes, static_cast<int32_t>(line.size()));
  const auto code = [&](int32_t k) { return line[static_cast<size_t>(k - 1)]; };
  int32_t first = 1;
  while (first <= end && code(first) == kBlankCode) ++first;
  int32_t last = first - 1;
  while (last < end && code(last + 1) != kBlankCode) ++last;
  // A line without a name would probe the bare extensions.
  if (last < first) return;

  FixedText model(kLineCodes);
  CODTXT(line.subspan(static_cast<size_t>(first - 1)), last - first + 1, model);
  int32_t geoGens = 0;
  int32_t modelGens = 0;
  DBPROB(model, last - first + 1, geoGens, geoFound, modelGens, modelFound);
  if (geoFound == 0 && modelFound == 0) return;
  status = 0;
  const size_t copied = std::min({static_cast<size_t>(kLineCodes), line.size(), name.size()});
  std::copy_n(line.begin(), copied, name.begin());
}

}  // namespace kvr
