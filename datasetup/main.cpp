// datasetup: the preparation program. It starts with its main window; nothing runs until
// a button is clicked.

#include "datasetup/preparation/qt/main_window_widget.h"
#include "platform/qt/program_start.h"

int main(int argc, char** argv) {
  meridax::QtProgram program(argc, argv);
  meridax::FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();
  return program.app().exec();
}
