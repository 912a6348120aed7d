#include "runtime/modelname.h"

namespace kvr {

std::string_view currentModelExtension(ModelFileKind kind) {
  switch (kind) {
    case ModelFileKind::Geometry: return "G71";
    case ModelFileKind::Index: return "M71";
    case ModelFileKind::Data: return "V71";
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
