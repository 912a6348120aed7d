#include "runtime/fouvre.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/codtxt.h"
#include "runtime/envpath.h"
#include "runtime/filext.h"
#include "runtime/filtyp.h"
#include "runtime/genopen.h"
#include "runtime/iounit.h"
#include "runtime/modelname.h"
#include "runtime/pltdev.h"

namespace kvr {
namespace {

constexpr std::string_view kNamePrefix = "kvr";
constexpr int32_t kNameLength = 255;
constexpr int32_t kIndexPageWords = 100;
constexpr int32_t kFixedRecordWords = 1000;
constexpr int32_t kRasterBmp = 1;  // raster-format word: write bitmaps, not PNG

FText textOf(std::string& s) { return FText(s); }

bool fileExists(std::string name) {
  int32_t result = 0;
  FEXIST(textOf(name), static_cast<int32_t>(name.size()), 0, 0, result);
  return result == 1;
}

// The plot file's extension: the driver's FileExtension setting (up to its first blank)
// when there is one, else the driver's own.
std::string plotExtension() {
  struct Driver {
    std::string_view word;
    std::string_view extension;
  };
  Driver d{"", "dat"};
  switch (PLTDEV.device) {
    case 0:
    case 11: d = {"Hardcopy", PLTDEV.rasterFormat == kRasterBmp ? "bmp" : "png"}; break;
    case 2:
    case 4: d = {"Postscript", "ps"}; break;
    case 3: d = {"Interleaf", "int"}; break;
    case 5: d = {"Laserjet", "pcl"}; break;
    case 6: d = {"Paintjet", "pcl"}; break;
    case 7: d = {"HPGL", "plt"}; break;
    case 8: d = {"HPGL2", "hgl"}; break;
    case 9: d = {"Deskjet", "pcl"}; break;
    case 10: d = {"CGM", "cgm"}; break;
    case 12: d = {"TIFF", "tif"}; break;
    default: return std::string(d.extension);
  }
  FixedText driver(static_cast<int32_t>(d.word.size()), d.word);
  FixedText setting(80);
  int32_t status = 0;
  FILEXT(driver, setting, false, status);
  if (status <= 0) return std::string(d.extension);
  std::string_view text = setting.view();
  return std::string(text.substr(0, text.find(' ')));
}

std::string defaultExtension(const std::string& name, int32_t type) {
  const FileTypeRow* row = fileTypeRow(type);
  if (row == nullptr) return {};
  switch (row->extension) {
    case Extension::None: return {};
    case Extension::Fixed:
      if (row->keepExistingName && fileExists(name)) return {};
      return std::string(row->extensionText);
    case Extension::PlotDevice: return plotExtension();
    case Extension::IndexFile: return std::string(currentModelExtension(ModelFileKind::Index));
    case Extension::DataFile: return std::string(currentModelExtension(ModelFileKind::Data));
    case Extension::GeometryFile:
      return std::string(currentModelExtension(ModelFileKind::Geometry));
  }
  return {};
}

void namcas(std::string& name) {
  auto letter = std::find_if(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
  if (letter == name.end()) return;
  const bool lower = *letter >= 'a' && *letter <= 'z';
  for (char& c : name) {
    if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!lower && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

// DEFEXT on a name of any length.
void defext(std::string& name, int32_t type) {
  const size_t slash = name.rfind('/');
  const size_t from = slash == std::string::npos ? 0 : slash + 1;
  const bool hasExtension = name.find('.', from) != std::string::npos;
  std::string extension = defaultExtension(name, type);
  if (!hasExtension && !extension.empty()) name += "." + extension;
  if (slash == std::string::npos) namcas(name);
}

// The standard directory of the shared files of a type: the one VARIABLE names, with a
// "/" after it, else the executable's "../Custom/", else nothing.
std::string standardDirectory(std::string_view variable) {
  std::string dir = environmentValue(std::string(variable).c_str());
  if (dir.empty()) return customDirectory();
  if (dir.back() != '/') dir += '/';
  return dir;
}

int32_t recordLength(RecordLength kind) {
  switch (kind) {
    case RecordLength::None: return 0;
    case RecordLength::IndexPage: return kIndexPageWords;
    case RecordLength::DataPage: return DBPARM.dataPageSize();
    case RecordLength::ModelPage: return DBPARM.modelPageSize();
    case RecordLength::RecordWord: return DBPARM.recordLength;
    case RecordLength::Fixed1000: return kFixedRecordWords;
  }
  return 0;
}

ModelFileKind modelKind(int32_t type) {
  switch (type) {
    case 7: return ModelFileKind::Index;
    case 8: return ModelFileKind::Data;
    default: return ModelFileKind::Geometry;
  }
}

std::string trimBoth(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

}  // namespace

void FOUVRE(int32_t type, std::span<const int32_t> name, int32_t count, int32_t form,
            int32_t mode, int32_t& status) {
  status = 0;
  if (type < -kLastFileType || type > kLastFileType) {
    status = 1;
    return;
  }
  const int32_t t = type < 0 ? -type : type;
  const FileTypeRow* row = fileTypeRow(t);
  if (row == nullptr || row->kind == FileKind::None) {
    status = 1;
    return;
  }
  if (row->kind == FileKind::Terminal) {
    IOUNIT.openFlag(t) = 1;
    return;
  }

  FixedText given(kNameLength);
  CODTXT(name, std::clamp(count, 0, static_cast<int32_t>(name.size())), given);
  std::string file = trimBoth(given.view());
  const bool named = !file.empty();
  if ((row->kind == FileKind::ModelFile || row->kind == FileKind::NameRequired) && !named) {
    status = 2;
    return;
  }

  const int32_t unit = IOUNIT.slot(row->openSlot);
  const int32_t recl = recordLength(row->recordLength);

  // The name the open receives, and whether the type is known by that name (the scratch
  // files of the page layer are not: no extension, no existence test, no deletion).
  std::string openName;
  bool byName = true;
  switch (row->kind) {
    case FileKind::CallerName:
      openName = std::string(given.view());
      byName = false;
      break;
    case FileKind::ModelFile:
      openName = modelFileName(given.view(), modelKind(t));
      break;
    default:
      if (!named || row->kind == FileKind::AlwaysStandard) {
        file.clear();
        if (!row->directoryVariable.empty()) file = standardDirectory(row->directoryVariable);
        file += kNamePrefix;
        file += row->suffix;
      }
      defext(file, t);
      openName = file;
      break;
  }

  if (type < 0) {
    status = byName && fileExists(openName) ? 1 : 0;
    return;
  }
  std::string openText = openName;
  if (mode > 0) {
    TLFOPN(textOf(openText), static_cast<int32_t>(openText.size()), 0, 0, unit, form, mode, recl,
           status);
    // A unit refused by the access check is still connected: mark it, so it gets closed.
    if (status == 0 || status == -1) {
      IOUNIT.openFlag(t) = 1;
      if (t == 3) IOUNIT.plotFileName = openName;
    }
    return;
  }
  if (!byName) {
    status = 1;
    return;
  }
  const int32_t deleteMode = mode < -INT32_MAX ? INT32_MAX : -mode;
  FDELET(textOf(openText), static_cast<int32_t>(openText.size()), 0, 0, unit, form, deleteMode,
         recl, status);
}

void DEFEXT(FText name, int32_t& length, int32_t type) {
  std::string text(name.view().substr(0, static_cast<size_t>(std::clamp(length, 0, name.length()))));
  defext(text, type);
  length = std::min(static_cast<int32_t>(text.size()), name.length());
  std::copy_n(text.begin(), length, name.data());
}

void NAMCAS(FText name, int32_t length) {
  std::string text(name.view().substr(0, static_cast<size_t>(std::clamp(length, 0, name.length()))));
  namcas(text);
  std::copy(text.begin(), text.end(), name.data());
}

}  // namespace kvr
