// Model-file names: the one rule by which a model name becomes the name of one of the
// model's database files. The existence probe, the create, the open and the deletion all
// name the files through it, so the library always finds the files it wrote.
//
// The rule: trailing blanks are dropped; in the file-name part (after the last "/") the
// letters are upper-cased and each blank before the last non-blank becomes "-"; the
// directory part is kept exactly as given; then "." and the extension are appended,
// always, even when the name already holds a ".". "my model" with "M71" gives
// "MY-MODEL.M71", "out dir/beam 2" with "V71" gives "out dir/BEAM-2.V71", "v1.2" with
// "M71" gives "V1.2.M71".
#pragma once

#include <string>
#include <string_view>

namespace kvr {

// The three kinds of database file of a model.
enum class ModelFileKind { Geometry, Index, Data };

// The extension of the current generation of KIND, without its ".": "G71", "M71", "V71".
std::string_view currentModelExtension(ModelFileKind kind);

// The file name of MODEL with EXTENSION (given without its "."). A blank model name gives
// an empty name: there is no file to name.
std::string modelFileName(std::string_view model, std::string_view extension);

// modelFileName with the current extension of KIND.
std::string modelFileName(std::string_view model, ModelFileKind kind);

}  // namespace kvr
