#include "runtime/modelname.h"

#include "runtime/dbnames.h"

namespace kvr {
namespace {

// The current extension of KIND as the extension routines give it, without its ".".
std::string currentExtension(ModelFileKind kind) {
  FixedText ext(4);
  if (kind == ModelFileKind::Geometry) {
    EXTG71(ext);
  } else {
    EXTMV(ext, kind == ModelFileKind::Index ? 0 : 1);
  }
  return ext.trimmed().substr(1);
}

}  // namespace

std::string_view currentModelExtension(ModelFileKind kind) {
  static const std::string geometry = currentExtension(ModelFileKind::Geometry);
  static const std::string index = currentExtension(ModelFileKind::Index);
  static const std::string data = currentExtension(ModelFileKind::Data);
  switch (kind) {
    case ModelFileKind::Geometry: return geometry;
    case ModelFileKind::Index: return index;
    case ModelFileKind::Data: return data;
  }
  return "";
}

std::string modelFileName(std::string_view model, std::string_view extension) {
  size_t end = model.find_last_not_of(' ');
  if (end == std::string_view::npos) return {};
  std::string name(model.substr(0, end + 1));
  size_t slash = name.rfind('/');
  size_t first = slash == std::string::npos ? 0 : slash + 1;
  // The name ends at a non-blank, so every blank of the file part lies before it.
  for (size_t k = first; k < name.size(); ++k) {
    char& c = name[k];
    if (c == ' ') {
      c = '-';
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  name += '.';
  name += extension;
  return name;
}

std::string modelFileName(std::string_view model, ModelFileKind kind) {
  return modelFileName(model, currentModelExtension(kind));
}

}  // namespace kvr
