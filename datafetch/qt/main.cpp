// datafetch: downloads the setup data of the racing data service into the raw record
// files of C:\MERIDAXPROJECT\.

#include <iostream>

#include "datafetch/qt/main_window_widget.h"
#include "platform/io_error.h"
#include "platform/qt/program_start.h"

int main(int argc, char** argv) try {
  meridax::QtProgram program(argc, argv);
  meridax::FinishInterruptedCommitsAtStart();
  meridax::datafetch::MainWindowWidget window;
  window.show();
  return program.app().exec();
} catch (...) {
  // The last resort: every handler reports its own failures.
  std::cerr << "datafetch: " << meridax::CurrentFailureText() << '\n';
  return 1;
}
