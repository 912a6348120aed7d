#include "runtime/gridmd.h"

#include <gtest/gtest.h>

namespace {

TEST(Gridmd, GridVocabularyOnlyWhileTheModeWordIs7) {
  EXPECT_EQ(kvr::gApplicationMode, 0);  // nothing in the library sets it
  EXPECT_EQ(kvr::GRIDMD(), 0);
  kvr::gApplicationMode = 6;
  EXPECT_EQ(kvr::GRIDMD(), 0);
  kvr::gApplicationMode = kvr::kGridVocabularyMode;
  EXPECT_EQ(kvr::GRIDMD(), 1);
  kvr::gApplicationMode = 0;
}

}  // namespace
