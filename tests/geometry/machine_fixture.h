// What the geometry tests share: the machine constants that start-up sets, installed for
// the lifetime of a fixture and put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include "runtime/machcn.h"

namespace kvr::test {

class MachineConstants : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = MACHCN;
    MACHCN.setReal(kMachLargestReal, 3.4028235e38f);
    MACHCN.setReal(kMachRootLargestReal, 1.8446743e19f);
    MACHCN.setReal(kMachTolerance, 1.0e-32f);
    MACHCN.setReal(kMachEpsilon, 1.1920929e-7f);
  }
  void TearDown() override { MACHCN = saved_; }

 private:
  MachCn saved_;
};

}  // namespace kvr::test
