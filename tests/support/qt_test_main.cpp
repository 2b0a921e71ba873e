// Shared main of the GUI test executables: the runtime on Qt's offscreen
// platform, then every test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/runtime.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  fw::RuntimeInit(argc, argv);
  fw::RunFrameworkInitialization([] {});
  return RUN_ALL_TESTS();
}
