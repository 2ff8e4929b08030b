// datasetup: the preparation program. It starts with its main window; nothing runs until
// a button is clicked.

#include <iostream>

#include "datasetup/preparation/qt/main_window_widget.h"
#include "platform/io_error.h"
#include "platform/qt/program_start.h"

int main(int argc, char** argv) try {
  meridax::QtProgram program(argc, argv);
  meridax::FinishInterruptedCommitsAtStart();
  meridax::FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();
  return program.app().exec();
} catch (...) {
  // The last resort: every handler reports its own failures.
  std::cerr << "datasetup: " << meridax::CurrentFailureText() << '\n';
  return 1;
}
