#include "runtime/modelname.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

TEST(ModelFileName, OneRuleForEveryModelName) {
  struct Case {
    const char* model;
    ModelFileKind kind;
    const char* file;
  } cases[] = {
      {"my model", ModelFileKind::Index, "MY-MODEL.M71"},
      {"out dir/beam 2", ModelFileKind::Data, "out dir/BEAM-2.V71"},
      {"Model1", ModelFileKind::Geometry, "MODEL1.G71"},
      {"v1.2", ModelFileKind::Index, "V1.2.M71"},
      {"v1.2", ModelFileKind::Data, "V1.2.V71"},
      {"out/beam", ModelFileKind::Index, "out/BEAM.M71"},
      {"a b    ", ModelFileKind::Index, "A-B.M71"},
      {"Dir.x/my.model", ModelFileKind::Geometry, "Dir.x/MY.MODEL.G71"},
      {"/abs/Path/x y z", ModelFileKind::Data, "/abs/Path/X-Y-Z.V71"},
      {"   ", ModelFileKind::Index, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(modelFileName(c.model, c.kind), c.file) << c.model;
}

TEST(ModelFileName, CurrentExtensions) {
  EXPECT_EQ(currentModelExtension(ModelFileKind::Geometry), "G71");
  EXPECT_EQ(currentModelExtension(ModelFileKind::Index), "M71");
  EXPECT_EQ(currentModelExtension(ModelFileKind::Data), "V71");
}

}  // namespace
}  // namespace kvr
