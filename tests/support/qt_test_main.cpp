// The main of the test suites that show windows: the programs' start (their application,
// Qt's Japanese texts) once for all their tests, gone before the program exits (one left to the
// exit handlers crashed there, in the teardown of Qt's input devices).
#include <gtest/gtest.h>

#include "platform/qt/program_start.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests at build time runs without a display, too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  meridax::QtProgram program(argc, argv);
  return RUN_ALL_TESTS();
}
